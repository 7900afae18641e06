// FFTs of 16-bit data: every front end against its float transform followed
// by the narrowing of the scale mode, the orders 0 and 1 of the real forms,
// and the checks.
#include <cmath>
#include <functional>
#include <random>
#include <vector>

#include "zqv_test_support.h"

namespace {

using W = std::vector<int16_t>;
using F = std::vector<float>;

class Fftw : public ZqvTest {};

int16_t low16(int64_t v) { return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(v))); }
int16_t sat16(int64_t v) { return static_cast<int16_t>(std::clamp<int64_t>(v, -32768, 32767)); }

// Modes 0 and 1: nearest, saturated. Modes 2 to 4: truncation after 2^-f,
// then the low 16 bits (2, 4) or saturation (3).
int16_t narrow(float v, int32_t mode, int32_t f) {
  if (mode == 0 || mode == 1) return sat16(static_cast<int64_t>(std::nearbyint(v)));
  const double scaled = std::ldexp(static_cast<double>(v), -f);
  const int64_t t = static_cast<int64_t>(mode == 3 ? static_cast<double>(static_cast<float>(scaled)) : scaled);
  return mode == 3 ? sat16(t) : low16(t);
}

W randomW(std::size_t n, int amplitude, unsigned seed) {
  std::mt19937 gen(seed);
  std::uniform_int_distribution<int> d(-amplitude, amplitude);
  W v(n);
  for (int16_t& x : v) x = static_cast<int16_t>(d(gen));
  return v;
}

// One front end: values per array in and out at N, whether it takes two
// arrays, the 16-bit call (in place or not) and the float transform it
// stands for, run on float copies of the inputs.
struct Front {
  const char* name;
  std::function<std::size_t(std::size_t)> in, out;
  bool two;
  int32_t flags;
  std::function<void(W& a, W& b, W& oa, W& ob, int32_t order, int32_t flags, int32_t mode, int32_t* f)> run16;
  std::function<void(F& a, F& b, int32_t order, int32_t flags)> runFloat;
};

std::size_t same(std::size_t n) { return n; }
std::size_t twice(std::size_t n) { return 2 * n; }
std::size_t ccs(std::size_t n) { return n + 2; }

std::vector<Front> fronts() {
  auto cp = [](W& a) { return reinterpret_cast<ZqvCplxW*>(a.data()); };
  const int32_t fwd = ZQV_Forw, inv = ZQV_Inv;
  return {
      {"zqvvFft", twice, twice, false, fwd | ZQV_OutBitRev,
       [cp](W& a, W&, W&, W&, int32_t o, int32_t fl, int32_t m, int32_t* f) { zqvvFft(cp(a), o, fl, m, f); },
       [](F& a, F&, int32_t o, int32_t fl) { zqvcFft(reinterpret_cast<ZqvCplxS*>(a.data()), o, fl); }},
      {"zqvvFftNip", twice, twice, false, inv,
       [cp](W& a, W&, W& oa, W&, int32_t o, int32_t fl, int32_t m, int32_t* f) { zqvvFftNip(cp(a), cp(oa), o, fl, m, f); },
       [](F& a, F&, int32_t o, int32_t fl) { zqvcFft(reinterpret_cast<ZqvCplxS*>(a.data()), o, fl); }},
      {"zqvvrFft", same, same, true, fwd,
       [](W& a, W& b, W&, W&, int32_t o, int32_t fl, int32_t m, int32_t* f) { zqvvrFft(a.data(), b.data(), o, fl, m, f); },
       [](F& a, F& b, int32_t o, int32_t fl) { zqvcrFft(a.data(), b.data(), o, fl); }},
      {"zqvvrFftNip", same, same, true, inv | ZQV_NoScale,
       [](W& a, W& b, W& oa, W& ob, int32_t o, int32_t fl, int32_t m, int32_t* f) {
         zqvvrFftNip(a.data(), b.data(), oa.data(), ob.data(), o, fl, m, f);
       },
       [](F& a, F& b, int32_t o, int32_t fl) { zqvcrFft(a.data(), b.data(), o, fl); }},
      {"zqvwRealFftl", same, same, false, fwd | ZQV_OutRCPerm,
       [](W& a, W&, W&, W&, int32_t o, int32_t fl, int32_t m, int32_t* f) { zqvwRealFftl(a.data(), o, fl, m, f); },
       [](F& a, F&, int32_t o, int32_t fl) { zqvsRealFftl(a.data(), o, fl); }},
      {"zqvwCcsFftlNip", same, same, false, inv | ZQV_InRCPack,
       [](W& a, W&, W& oa, W&, int32_t o, int32_t fl, int32_t m, int32_t* f) { zqvwCcsFftlNip(a.data(), oa.data(), o, fl, m, f); },
       [](F& a, F&, int32_t o, int32_t fl) { zqvsCcsFftl(a.data(), o, fl); }},
      {"zqvwRealFft", same, ccs, false, fwd,
       [](W& a, W&, W&, W&, int32_t o, int32_t fl, int32_t m, int32_t* f) { zqvwRealFft(a.data(), o, fl, m, f); },
       [](F& a, F&, int32_t o, int32_t fl) { zqvsRealFft(a.data(), o, fl); }},
      {"zqvwCcsFftNip", ccs, same, false, inv,
       [](W& a, W&, W& oa, W&, int32_t o, int32_t fl, int32_t m, int32_t* f) { zqvwCcsFftNip(a.data(), oa.data(), o, fl, m, f); },
       [](F& a, F&, int32_t o, int32_t fl) { zqvsCcsFft(a.data(), o, fl); }},
      {"zqvwReal2FftNip", same, ccs, true, fwd,
       [](W& a, W& b, W& oa, W& ob, int32_t o, int32_t fl, int32_t m, int32_t* f) {
         zqvwReal2FftNip(a.data(), b.data(), oa.data(), ob.data(), o, fl, m, f);
       },
       [](F& a, F& b, int32_t o, int32_t fl) { zqvsReal2Fft(a.data(), b.data(), o, fl); }},
      {"zqvwCcs2Fft", ccs, same, true, inv | ZQV_NoScale,
       [](W& a, W& b, W&, W&, int32_t o, int32_t fl, int32_t m, int32_t* f) { zqvwCcs2Fft(a.data(), b.data(), o, fl, m, f); },
       [](F& a, F& b, int32_t o, int32_t fl) { zqvsCcs2Fft(a.data(), b.data(), o, fl); }},
  };
}

TEST_F(Fftw, EveryFrontEndIsItsFloatTransformNarrowedByTheScaleMode) {
  struct Mode {
    int32_t mode, factor, amplitude;
  };
  const Mode modes[] = {{0, 0, 300}, {1, 0, 3000}, {2, 4, 3000}, {2, -1, 100}, {3, 2, 5000}, {4, 0, 3000}, {4, 0, 5}};
  for (const Front& fr : fronts())
    for (int32_t order : {2, 5, 9})
      for (const Mode& md : modes) {
        SCOPED_TRACE(testing::Message() << fr.name << " order " << order << " mode " << md.mode << " factor " << md.factor);
        const std::size_t n = std::size_t{1} << order, nIn = fr.in(n), nOut = fr.out(n);
        const std::size_t size = std::max(nIn, nOut);
        W a = randomW(nIn, md.amplitude, order * 31 + md.mode), b = randomW(nIn, md.amplitude, order * 17 + 5);
        a.resize(size);
        b.resize(size);
        // Packed and CCS inputs of the inverse forms hold a real value where
        // the layout has a zero; the float transform reads the same values.
        F fa(a.begin(), a.end()), fb(b.begin(), b.end());
        fr.runFloat(fa, fb, order, fr.flags);
        ASSERT_EQ(zqvGetErrStatus(), 0);
        W oa(size, 0x5A5A), ob(size, 0x5A5A);
        int32_t factor = md.factor;
        fr.run16(a, b, oa, ob, order, fr.flags, md.mode, &factor);
        ASSERT_EQ(zqvGetErrStatus(), 0);
        const bool nip = std::string(fr.name).find("Nip") != std::string::npos;
        const W& ra = nip ? oa : a;
        const W& rb = nip ? ob : b;
        if (md.mode != 4) {
          ASSERT_EQ(factor, md.factor);
        }
        for (std::size_t i = 0; i < nOut; ++i) {
          ASSERT_EQ(ra[i], narrow(fa[i], md.mode, factor)) << "a " << i;
          if (fr.two) {
            ASSERT_EQ(rb[i], narrow(fb[i], md.mode, factor)) << "b " << i;
          }
        }
      }
  EXPECT_TRUE(reportsAre({}));
}

// Orders 0 and 1 of the real forms: sums and differences in 32 bits, halved
// toward minus infinity by a scaled inverse.
TEST_F(Fftw, RealFormsAtOrdersZeroAndOne) {
  int32_t f = 0;
  W v = {3, 1, 9, 9};
  zqvwRealFft(v.data(), 1, ZQV_Forw, 0, &f);
  EXPECT_EQ(v, (W{4, 0, 2, 0}));
  W c = {4, 0, 2, 0};
  zqvwCcsFft(c.data(), 1, ZQV_Inv, 0, &f);
  EXPECT_EQ(c[0], 3);
  EXPECT_EQ(c[1], 1);
  W c2 = {5, 0, 2, 0};
  zqvwCcsFft(c2.data(), 1, ZQV_Inv, 0, &f);
  EXPECT_EQ(c2[0], 3);
  EXPECT_EQ(c2[1], 1);
  W neg = {-1, -2};
  zqvwCcsFftl(neg.data(), 1, ZQV_Inv | ZQV_InRCPack, 0, &f);
  EXPECT_EQ(neg, (W{-2, 0}));  // -3 >> 1 = -2, 1 >> 1 = 0
  W big = {32000, 32000};
  zqvwRealFftl(big.data(), 1, ZQV_Forw | ZQV_OutRCPack, 1, &f);
  EXPECT_EQ(big, (W{32767, 0}));
  // Order 0: in place nothing is written except element 1 of the two-signal
  // form; not in place element 0 is copied and a CCS output gets its zero.
  W one = {7, 8};
  zqvwRealFft(one.data(), 0, ZQV_Forw, 0, &f);
  EXPECT_EQ(one, (W{7, 8}));
  W x = {5, 6}, y = {-5, -6};
  zqvwReal2Fft(x.data(), y.data(), 0, ZQV_Forw, 0, &f);
  EXPECT_EQ(x, (W{5, 0}));
  EXPECT_EQ(y, (W{-5, 0}));
  W out = {1, 1};
  zqvwRealFftNip(one.data(), out.data(), 0, ZQV_Forw, 0, &f);
  EXPECT_EQ(out, (W{7, 0}));
  ZqvCplxW z[1] = {{-3, 4}};
  zqvvFft(z, 0, ZQV_Forw, 0, &f);
  EXPECT_TRUE(z[0].re == -3 && z[0].im == 4);
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(Fftw, ModesZeroAndOneSaturateInTheFrontEnds) {
  W v(64, 30000);
  int32_t f = 0;
  zqvwRealFft(v.data(), 5, ZQV_Forw, 0, &f);
  EXPECT_EQ(v[0], 32767);
  EXPECT_EQ(v[2], 0);
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(Fftw, ChecksAndInit) {
  static W w(18, 1), o(18, 9);
  static int32_t f = 0;
  const int32_t E = ZQV_BAD_ARGUMENT;
  const char* M = "zqvfftw";
  const std::vector<ReportRow> rows = {
      {"order", [] { zqvvFft(nullptr, -1, ZQV_Forw, 0, &f); }, {{E, "zqvvFft", "order<0", M}}},
      {"order big", [] { zqvwRealFft(w.data(), 32, ZQV_Forw, 0, &f); }, {{E, "zqvwRealFft", "order>31", M}}},
      {"samps", [] { zqvwCcsFft(nullptr, 4, ZQV_Inv, 0, &f); }, {{E, "zqvwCcsFft", "samps==0", M}}},
      {"nip nulls", [] { zqvwReal2FftNip(nullptr, w.data(), nullptr, nullptr, 3, ZQV_Forw, 0, &f); },
       {{E, "zqvwReal2FftNip", "xInSamps==0", M}, {E, "zqvwReal2FftNip", "xOutSamps==0", M},
        {E, "zqvwReal2FftNip", "yOutSamps==0", M}}},
      {"split nulls", [] { zqvvrFft(nullptr, nullptr, 3, ZQV_Forw, 0, &f); },
       {{E, "zqvvrFft", "reSamps==0", M}, {E, "zqvvrFft", "imSamps==0", M}}},
      {"directions", [] { zqvwRealFft(w.data(), 3, ZQV_Forw | ZQV_Inv, 0, &f); },
       {{E, "zqvwRealFft", "ZQV_Forw and ZQV_Inv", M}}},
      {"bit order", [] { zqvvFft(reinterpret_cast<ZqvCplxW*>(w.data()), 3, ZQV_Forw | ZQV_InBitRev | ZQV_OutBitRev, 0, &f); },
       {{E, "zqvvFft", "ZQV_InBitRev and ZQV_OutBitRev", M}}},
      {"layout", [] { zqvwRealFftl(w.data(), 3, ZQV_Forw, 0, &f); },
       {{E, "zqvwRealFftl", "no ZQV_OutRCPack or ZQV_OutRCPerm", M}}},
      {"fixed and auto, no factor", [] { zqvwCcs2Fft(w.data(), o.data(), 3, ZQV_Inv, 6, nullptr); },
       {{E, "zqvwCcs2Fft", "ZQV_FIXED_SCALE and ZQV_AUTO_SCALE", M},
        {E, "zqvwCcs2Fft", "ZQV_AUTO_SCALE and scaleFactor==NULL", M}}},
      {"nip order 0 still checks scale", [] { zqvvFftNip(reinterpret_cast<ZqvCplxW*>(w.data()), reinterpret_cast<ZqvCplxW*>(o.data()), 0, ZQV_Forw, 4, nullptr); },
       {{E, "zqvvFftNip", "ZQV_AUTO_SCALE and scaleFactor==NULL", M}}},
  };
  expectReportRows(rows, E, [](const ReportRow&) {
    for (int16_t v : o) EXPECT_EQ(v, 9);
  });
  // Init builds the float tables and the buffers without data; FreeTbls
  // checks nothing.
  zqvSetErrStatus(0);
  clearReports();
  zqvwReal2Fft(nullptr, nullptr, 7, ZQV_Init, 0, nullptr);
  zqvvFftNip(nullptr, nullptr, 6, ZQV_Init, 0, nullptr);
  zqvwCcsFftl(nullptr, 40, ZQV_FreeTbls, 0, nullptr);
  zqvvrFftNip(nullptr, nullptr, nullptr, nullptr, 5, ZQV_FreeTbls, 0, nullptr);
  EXPECT_TRUE(reportsAre({}));
  EXPECT_EQ(zqvGetErrStatus(), 0);
}

// ---- Products of packed real spectra ----------------------------------------

// A packed spectrum read as its N/2 + 1 bins (bins 0 and N/2 real).
struct Bin {
  int64_t re, im;
};
std::vector<Bin> unpack(const W& v, bool perm) {
  const std::size_t n = v.size();
  if (n == 1) return {{v[0], 0}};
  std::vector<Bin> bins(n / 2 + 1, Bin{0, 0});
  bins[0] = {v[0], 0};
  bins[n / 2] = {perm ? v[1] : v[n - 1], 0};
  const std::size_t first = perm ? 2 : 1;
  for (std::size_t k = 1; k < n / 2; ++k) bins[k] = {v[first + 2 * (k - 1)], v[first + 2 * (k - 1) + 1]};
  return bins;
}

// The expected product: exact bin products in 64 bits, each value narrowed
// by the mode (the two real values of a fixed shift down as (r + 1) >> f,
// the complex pairs by plain truncation), laid out again.
W packedReference(const W& a, const W& b, bool perm, int32_t mode, int32_t f, int32_t* autoShift) {
  const std::size_t n = a.size();
  const std::vector<Bin> x = unpack(a, perm), y = unpack(b, perm);
  std::vector<Bin> r(x.size());
  for (std::size_t k = 0; k < x.size(); ++k)
    r[k] = {x[k].re * y[k].re - x[k].im * y[k].im, x[k].re * y[k].im + x[k].im * y[k].re};
  int32_t s = 0;
  if (mode & ZQV_AUTO_SCALE) {
    auto fitsAll = [&](int32_t sh) {
      for (const Bin& v : r)
        if ((v.re >> sh) != sat16(v.re >> sh) || (v.im >> sh) != sat16(v.im >> sh)) return false;
      return true;
    };
    while (!fitsAll(s)) ++s;
    *autoShift = s;
  }
  auto store = [&](int64_t v, bool end) -> int16_t {
    if (mode & ZQV_AUTO_SCALE) return static_cast<int16_t>(v >> s);
    if (!(mode & ZQV_FIXED_SCALE)) return mode == 0 ? low16(v) : sat16(v);
    if (f > 0) v = end ? (v + 1) >> f : v >> f;
    if (f < 0) v *= int64_t{1} << -f;
    return mode == 3 ? sat16(v) : low16(v);
  };
  W out(n);
  out[0] = store(r[0].re, true);
  if (n == 1) return out;
  (perm ? out[1] : out[n - 1]) = store(r[n / 2].re, true);
  const std::size_t first = perm ? 2 : 1;
  for (std::size_t k = 1; k < n / 2; ++k) {
    out[first + 2 * (k - 1)] = store(r[k].re, false);
    out[first + 2 * (k - 1) + 1] = store(r[k].im, false);
  }
  return out;
}

struct PackedForm {
  const char* name;
  bool perm, twoForm;
};
const PackedForm kPackedForms[] = {{"zqvwMpyRCPack2", false, true},
                                   {"zqvwMpyRCPack3", false, false},
                                   {"zqvwMpyRCPerm2", true, true},
                                   {"zqvwMpyRCPerm3", true, false}};

// Runs one form: the 2 forms multiply into a copy of b.
W runPacked(const PackedForm& pf, const W& a, const W& b, int32_t order, int32_t mode, int32_t* sf) {
  W dst = pf.twoForm ? b : W(a.size(), 77);
  if (pf.twoForm) (pf.perm ? zqvwMpyRCPerm2 : zqvwMpyRCPack2)(a.data(), dst.data(), order, mode, sf);
  else (pf.perm ? zqvwMpyRCPerm3 : zqvwMpyRCPack3)(a.data(), b.data(), dst.data(), order, mode, sf);
  return dst;
}

// The two real values and the complex pairs drawn with their own amplitudes,
// so that either can set the automatic shift or overflow alone.
W spectrum(int32_t order, bool perm, int endAmp, int pairAmp, unsigned seed) {
  const std::size_t n = std::size_t{1} << order;
  W v = randomW(n, pairAmp, seed);
  const W ends = randomW(2, endAmp, seed + 1000);
  v[0] = ends[0];
  if (n > 1) (perm ? v[1] : v[n - 1]) = ends[1];
  return v;
}

TEST_F(Fftw, PackedProductsAreTheBinProductsNarrowedByTheMode) {
  struct Mode {
    int32_t mode, factor;
  };
  const Mode modes[] = {{0, 0}, {1, 0}, {2, 3}, {2, -2}, {2, 0}, {3, 4}, {3, -1}, {4, 0}, {6, 9}};
  const int amps[][2] = {{32767, 200}, {200, 32767}, {32767, 32767}, {150, 150}};
  for (const PackedForm& pf : kPackedForms)
    for (int32_t order : {0, 1, 2, 3, 6})
      for (const auto& amp : amps)
        for (const Mode& m : modes) {
          SCOPED_TRACE(testing::Message() << pf.name << " order " << order << " amps " << amp[0] << "/" << amp[1]
                                          << " mode " << m.mode << " factor " << m.factor);
          const unsigned seed = static_cast<unsigned>(order * 31 + amp[0] + amp[1]);
          const W a = spectrum(order, pf.perm, amp[0], amp[1], seed);
          const W b = spectrum(order, pf.perm, amp[0], amp[1], seed + 7);
          int32_t expectShift = -1, sf = m.factor;
          const W want = packedReference(a, b, pf.perm, m.mode, m.factor, &expectShift);
          EXPECT_EQ(runPacked(pf, a, b, order, m.mode, &sf), want);
          EXPECT_EQ(sf, (m.mode & ZQV_AUTO_SCALE) ? expectShift : m.factor);
        }
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(Fftw, PackedProductEdgeValues) {
  // One value at order 0: 300 * 300 = 90000 needs a shift of 2.
  const W a{300};
  W dst{0};
  int32_t sf = -5;
  zqvwMpyRCPack3(a.data(), a.data(), dst.data(), 0, ZQV_AUTO_SCALE, &sf);
  EXPECT_EQ(dst, W{22500});
  EXPECT_EQ(sf, 2);
  // -32768 squared (2^30) everywhere, the largest exact product: automatic
  // mode shifts all by 17 (the imaginary parts 2^31 need it) and the modes
  // without a shift saturate or wrap.
  const W big(8, -32768);
  for (const PackedForm& pf : kPackedForms) {
    SCOPED_TRACE(pf.name);
    for (int32_t mode : {0, 1, 3, 4}) {
      int32_t shift = 0, sf2 = 1;
      EXPECT_EQ(runPacked(pf, big, big, 3, mode, &sf2), packedReference(big, big, pf.perm, mode, 1, &shift));
    }
  }
  // A null factor in a fixed mode counts as 0.
  const W s{3, 4, 5, 6};
  W out(4);
  zqvwMpyRCPerm3(s.data(), s.data(), out.data(), 2, 3, nullptr);
  int32_t none = 0;
  EXPECT_EQ(out, packedReference(s, s, true, 3, 0, &none));
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(Fftw, PackedProductChecks) {
  static W a(8, 1), o(8, 9);
  static int32_t f = 0;
  const int32_t E = ZQV_BAD_ARGUMENT;
  const char* M = "zqvfftw";
  const std::vector<ReportRow> rows = {
      {"orders and nulls", [] { zqvwMpyRCPack3(nullptr, nullptr, nullptr, -1, 0, &f); },
       {{E, "zqvwMpyRCPack3", "order<0", M}, {E, "zqvwMpyRCPack3", "srcA==0", M},
        {E, "zqvwMpyRCPack3", "srcB==0", M}, {E, "zqvwMpyRCPack3", "dst==0", M}}},
      {"order big", [] { zqvwMpyRCPerm3(a.data(), a.data(), o.data(), 32, 0, &f); },
       {{E, "zqvwMpyRCPerm3", "order>31", M}}},
      {"2 form nulls", [] { zqvwMpyRCPack2(nullptr, nullptr, 3, 0, &f); },
       {{E, "zqvwMpyRCPack2", "src==0", M}, {E, "zqvwMpyRCPack2", "dst==0", M}}},
      {"auto without factor", [] { zqvwMpyRCPerm2(a.data(), o.data(), 3, ZQV_AUTO_SCALE, nullptr); },
       {{E, "zqvwMpyRCPerm2", "scaleFactor==0", M}}},
      {"status on entry", [] {
         zqvSetErrStatus(-5);
         zqvwMpyRCPack3(a.data(), a.data(), o.data(), 3, 0, &f);
       },
       {}},
  };
  expectReportRows(rows, std::nullopt, [](const ReportRow&) {
    for (int16_t v : o) EXPECT_EQ(v, 9);
  });
}

}  // namespace
