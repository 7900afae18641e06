// Goertzel: results against the direct Fourier sum, blocks against single
// samples, the state's life, the 16-bit forms against the float ones and
// the narrowing of their scale modes, and the checks.
#include <cmath>
#include <complex>
#include <limits>
#include <random>
#include <vector>

#include "zqv_test_support.h"

namespace {

using LD = long double;
using CL = std::complex<LD>;

class Goertzel : public ZqvTest {};

// e^(iw(n+1)) sum_k x[k] e^(-iwk) over the n + 1 samples, w = 2 pi f.
template <class S>
CL expected(const std::vector<S>& x, double f) {
  const LD w = 2 * 3.141592653589793238462643383279502884L * f;
  CL sum = 0;
  for (std::size_t k = 0; k < x.size(); ++k) {
    CL v;
    if constexpr (std::is_arithmetic_v<S>) v = CL(x[k], 0);
    else v = CL(x[k].re, x[k].im);
    sum += v * std::polar(1.0L, -w * static_cast<LD>(k));
  }
  return sum * std::polar(1.0L, w * static_cast<LD>(x.size()));
}

template <class S>
std::vector<S> signal(std::size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> d(-1, 1);
  std::vector<S> v(n);
  for (S& s : v) {
    if constexpr (std::is_arithmetic_v<S>) s = static_cast<S>(d(gen));
    else s = {static_cast<decltype(s.re)>(d(gen)), static_cast<decltype(s.re)>(d(gen))};
  }
  return v;
}

template <class C>
CL asCl(C c) { return CL(c.re, c.im); }

TEST_F(Goertzel, SingleSamplesAndBlocksFollowTheFourierSum) {
  for (double f : {0.01, 0.125, 0.3, 0.49}) {
    SCOPED_TRACE(f);
    const auto xs = signal<float>(203, 1);
    const auto xc = signal<ZqvCplxS>(203, 2);
    const auto xd = signal<double>(203, 3);
    const auto xz = signal<ZqvCplxD>(203, 4);
    GoertzelState s, c, sb, cb;
    GoertzelStateD d, z, db, zb;
    zqvsGoertzInit(static_cast<float>(f), &s);
    zqvcGoertzInit(static_cast<float>(f), &c);
    zqvdGoertzInit(f, &d);
    zqvzGoertzInit(f, &z);
    sb = s, cb = c, db = d, zb = z;
    CL rs, rc, rd, rz;
    for (std::size_t k = 0; k < xs.size(); ++k) {
      rs = asCl(zqvsGoertz(&s, xs[k]));
      rc = asCl(zqvcGoertz(&c, xc[k]));
      rd = asCl(zqvdGoertz(&d, xd[k]));
      rz = asCl(zqvzGoertz(&z, xz[k]));
    }
    const float fs = static_cast<float>(f);
    EXPECT_LT(std::abs(rs - expected(xs, fs)), 2e-3L);
    EXPECT_LT(std::abs(rc - expected(xc, fs)), 2e-3L);
    EXPECT_LT(std::abs(rd - expected(xd, f)), 1e-10L);
    EXPECT_LT(std::abs(rz - expected(xz, f)), 1e-10L);
    // Whole blocks give the same within rounding.
    EXPECT_LT(std::abs(asCl(zqvsbGoertz(&sb, xs.data(), 203)) - rs), 1e-3L);
    EXPECT_LT(std::abs(asCl(zqvcbGoertz(&cb, xc.data(), 203)) - rc), 1e-3L);
    EXPECT_LT(std::abs(asCl(zqvdbGoertz(&db, xd.data(), 203)) - rd), 1e-11L);
    EXPECT_LT(std::abs(asCl(zqvzbGoertz(&zb, xz.data(), 203)) - rz), 1e-11L);
  }
  EXPECT_TRUE(reportsAre({}));
}

// A block of five (not a multiple of four) against five single calls: the
// same result and state within rounding; a block after a block continues.
TEST_F(Goertzel, BlockOfFiveMatchesFiveSamples) {
  const double x[7] = {0.5, -1, 0.25, 2, -0.75, 1.5, 0.125};
  GoertzelStateD one, block;
  zqvdGoertzInit(0.17, &one);
  block = one;
  ZqvCplxD r{};
  for (int k = 0; k < 5; ++k) r = zqvdGoertz(&one, x[k]);
  const ZqvCplxD rb = zqvdbGoertz(&block, x, 5);
  EXPECT_NEAR(rb.re, r.re, 1e-14);
  EXPECT_NEAR(rb.im, r.im, 1e-14);
  EXPECT_NEAR(block.s1.re, one.s1.re, 1e-14);
  EXPECT_NEAR(block.s2.re, one.s2.re, 1e-14);
  for (int k = 5; k < 7; ++k) r = zqvdGoertz(&one, x[k]);
  const ZqvCplxD rb2 = zqvdbGoertz(&block, x + 5, 2);
  EXPECT_NEAR(rb2.re, r.re, 1e-14);
  EXPECT_NEAR(rb2.im, r.im, 1e-14);
}

TEST_F(Goertzel, QuarterFrequencyResetAndUntouchedImaginaryParts) {
  GoertzelState st;
  st.s1.im = 7.0f;
  st.s2.im = -3.0f;
  zqvsGoertzInit(0.25f, &st);
  EXPECT_NEAR(st.cosW, 0.0f, 1e-7f);
  EXPECT_EQ(st.sinW, 1.0f);
  EXPECT_NEAR(st.twoCosW, 0.0f, 1e-7f);
  EXPECT_EQ(st.freq, 0.25f);
  std::vector<ZqvCplxS> first;
  for (float x : {1.0f, 0.0f, 0.0f, 0.0f}) {
    first.push_back(zqvsGoertz(&st, x));
    EXPECT_NEAR(std::abs(asCl(first.back())), 1.0L, 1e-6L);
  }
  zqvsGoertzReset(&st);
  EXPECT_EQ(st.s1.re, 0.0f);
  EXPECT_EQ(st.freq, 0.25f);
  for (std::size_t k = 0; k < 4; ++k) {
    const ZqvCplxS again = zqvsGoertz(&st, k == 0 ? 1.0f : 0.0f);
    EXPECT_EQ(again.re, first[k].re);
    EXPECT_EQ(again.im, first[k].im);
  }
  zqvsbGoertz(&st, std::vector<float>(9, 1.0f).data(), 9);
  zqvsGoertzReset(&st);
  // A real form never touches the imaginary parts of the delays.
  EXPECT_EQ(st.s1.im, 7.0f);
  EXPECT_EQ(st.s2.im, -3.0f);
}

// The Goertzel routines neither read nor clear the thread's status.
TEST_F(Goertzel, StatusIsNeitherReadNorCleared) {
  GoertzelState st;
  zqvcGoertzInit(0.1f, &st);
  zqvSetErrStatus(ZQV_BAD_ARGUMENT);
  const ZqvCplxS r = zqvcGoertz(&st, {1.0f, 0.0f});
  EXPECT_NE(r.re, 0.0f);
  EXPECT_EQ(zqvGetErrStatus(), ZQV_BAD_ARGUMENT);
}

int16_t low16(int64_t v) { return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(v))); }
int16_t sat16(int64_t v) { return static_cast<int16_t>(std::clamp<int64_t>(v, -32768, 32767)); }

// Truncation toward zero, then the low 16 bits or saturation, after 2^-f for
// the shifting modes.
int16_t narrow(float v, int32_t mode, int32_t f) {
  const double scaled = mode >= 2 ? std::ldexp(static_cast<double>(v), -f) : v;
  const int64_t t = static_cast<int64_t>(mode == 3 ? static_cast<double>(static_cast<float>(scaled)) : scaled);
  return (mode == 1 || mode == 3) ? sat16(t) : low16(t);
}

TEST_F(Goertzel, SixteenBitFormsFollowTheFloatFormsAndTheScaleMode) {
  std::mt19937 gen(5);
  std::uniform_int_distribution<int> d(-30000, 30000);
  std::vector<int16_t> w(41);
  std::vector<ZqvCplxW> v(41);
  for (std::size_t k = 0; k < w.size(); ++k) {
    w[k] = static_cast<int16_t>(d(gen));
    v[k] = {static_cast<int16_t>(d(gen)), static_cast<int16_t>(d(gen))};
  }
  struct Case {
    int32_t mode, factor;
  };
  for (const Case& cs : {Case{0, 0}, Case{1, 0}, Case{2, 3}, Case{2, -2}, Case{3, 1}, Case{3, -4}, Case{4, 9}}) {
    SCOPED_TRACE(testing::Message() << "mode " << cs.mode << " factor " << cs.factor);
    GoertzelState ws, vs, fs, cs2, wb, vb;
    zqvwGoertzInit(0.2f, &ws);
    zqvvGoertzInit(0.2f, &vs);
    fs = ws, cs2 = vs, wb = ws, vb = vs;
    for (std::size_t k = 0; k < w.size(); ++k) {
      int32_t fw = cs.factor, fv = cs.factor;
      const ZqvCplxW rw = zqvwGoertz(&ws, w[k], cs.mode, &fw);
      const ZqvCplxW rv = zqvvGoertz(&vs, v[k], cs.mode, &fv);
      const ZqvCplxS ref = zqvsGoertz(&fs, w[k]);
      const ZqvCplxS refc = zqvcGoertz(&cs2, {static_cast<float>(v[k].re), static_cast<float>(v[k].im)});
      if (cs.mode != 4) {
        ASSERT_EQ(fw, cs.factor);
      }
      ASSERT_EQ(rw.re, narrow(ref.re, cs.mode, fw)) << k;
      ASSERT_EQ(rw.im, narrow(ref.im, cs.mode, fw)) << k;
      ASSERT_EQ(rv.re, narrow(refc.re, cs.mode, fv)) << k;
      ASSERT_EQ(rv.im, narrow(refc.im, cs.mode, fv)) << k;
    }
    // The blocks leave the float state the float block leaves.
    int32_t fw = cs.factor, fv = cs.factor;
    GoertzelState fsb = wb, csb = vb;
    const ZqvCplxW bw = zqvwbGoertz(&wb, w.data(), 41, cs.mode, &fw);
    const ZqvCplxW bv = zqvvbGoertz(&vb, v.data(), 41, cs.mode, &fv);
    std::vector<float> wf(w.begin(), w.end());
    std::vector<ZqvCplxS> vf;
    for (const ZqvCplxW& c : v) vf.push_back({static_cast<float>(c.re), static_cast<float>(c.im)});
    const ZqvCplxS refb = zqvsbGoertz(&fsb, wf.data(), 41);
    const ZqvCplxS refcb = zqvcbGoertz(&csb, vf.data(), 41);
    EXPECT_EQ(bw.re, narrow(refb.re, cs.mode, fw));
    EXPECT_EQ(bw.im, narrow(refb.im, cs.mode, fw));
    EXPECT_EQ(bv.re, narrow(refcb.re, cs.mode, fv));
    EXPECT_EQ(bv.im, narrow(refcb.im, cs.mode, fv));
    EXPECT_EQ(wb.s1.re, fsb.s1.re);
    EXPECT_EQ(vb.s1.im, csb.s1.im);
  }
  EXPECT_TRUE(reportsAre({}));
  EXPECT_EQ(zqvGetErrStatus(), 0);
}

TEST_F(Goertzel, ChecksReportOnceAndChangeNothing) {
  static GoertzelState st, kept;
  static GoertzelStateD sd, keptD;
  zqvcGoertzInit(0.1f, &st);
  zqvzGoertzInit(0.1, &sd);
  zqvcGoertz(&st, {1, 2});
  zqvzGoertz(&sd, {1, 2});
  kept = st;
  keptD = sd;
  static int32_t factor;
  static const float fsamps[2] = {1, 2};
  static const int16_t wsamps[2] = {1, 2};
  const float subnormal = std::numeric_limits<float>::denorm_min();
  const int32_t E = ZQV_BAD_ARGUMENT;
  const char* L = "zqvgrtzl";
  const char* W = "zqvgrtzw";
  auto zero = [](ZqvCplxS r) { EXPECT_TRUE(r.re == 0 && r.im == 0); };
  auto zeroW = [](ZqvCplxW r) { EXPECT_TRUE(r.re == 0 && r.im == 0); };
  const std::vector<ReportRow> rows = {
      {"f 0", [] { zqvsGoertzInit(0.0f, &st); }, {{E, "zqvsGoertzInit", "Invalid frequency value", L}}},
      {"f 0.5", [] { zqvcGoertzInit(0.5f, &st); }, {{E, "zqvcGoertzInit", "Invalid frequency value", L}}},
      {"f negative", [] { zqvwGoertzInit(-0.1f, &st); }, {{E, "zqvwGoertzInit", "Invalid frequency value", W}}},
      {"f NaN", [] { zqvvGoertzInit(NAN, &st); }, {{E, "zqvvGoertzInit", "Invalid frequency value", W}}},
      {"f -0", [] { zqvsGoertzInit(-0.0f, &st); }, {{E, "zqvsGoertzInit", "Invalid frequency value", L}}},
      {"double f 0.5", [] { zqvdGoertzInit(0.5, &sd); }, {{E, "zqvdGoertzInit", "Invalid frequency value", L}}},
      {"double f -1e-3", [] { zqvzGoertzInit(-1e-3, &sd); }, {{E, "zqvzGoertzInit", "Invalid frequency value", L}}},
      {"null state init", [] { zqvdGoertzInit(0.1, nullptr); }, {{E, "zqvdGoertzInit", "Null state pointer", L}}},
      {"null state reset", [] { zqvvGoertzReset(nullptr); }, {{E, "zqvvGoertzReset", "Null state pointer", W}}},
      {"null state sample", [zero] { zero(zqvsGoertz(nullptr, 1)); }, {{E, "zqvsGoertz", "Null state pointer", L}}},
      {"null samps", [zero] { zero(zqvsbGoertz(&st, nullptr, 2)); }, {{E, "zqvsbGoertz", "Null buffer pointer", L}}},
      {"len 0", [zero] { zero(zqvsbGoertz(&st, fsamps, 0)); }, {{E, "zqvsbGoertz", "Invalid array length", L}}},
      {"w null factor", [zeroW] { zeroW(zqvwGoertz(&st, 1, 0, nullptr)); },
       {{E, "zqvwGoertz", "Zero scale factor pointer", W}}},
      {"w factor 15", [zeroW] { factor = 15; zeroW(zqvwGoertz(&st, 1, 0, &factor)); },
       {{E, "zqvwGoertz", "Too large scale factor", W}}},
      {"v factor -15 auto", [zeroW] { factor = -15; zeroW(zqvvGoertz(&st, {1, 1}, 4, &factor)); },
       {{E, "zqvvGoertz", "Too large scale factor", W}}},
      {"w mode 5", [zeroW] { factor = 0; zeroW(zqvwGoertz(&st, 1, 5, &factor)); },
       {{E, "zqvwGoertz", "Erroneus scale mode", W}}},
      {"wb len", [zeroW] { zeroW(zqvwbGoertz(&st, wsamps, -1, 0, &factor)); },
       {{E, "zqvwbGoertz", "Invalid array length", W}}},
      {"vb null samps", [zeroW] { zeroW(zqvvbGoertz(&st, nullptr, 2, 0, &factor)); },
       {{E, "zqvvbGoertz", "Null buffer pointer", W}}},
  };
  expectReportRows(rows, E, [](const ReportRow&) {
    EXPECT_EQ(st.freq, kept.freq);
    EXPECT_EQ(st.s1.re, kept.s1.re);
    EXPECT_EQ(st.s1.im, kept.s1.im);
    EXPECT_EQ(sd.freq, keptD.freq);
    EXPECT_EQ(sd.s2.im, keptD.s2.im);
  });
  // The smallest subnormal frequency is a valid one.
  clearReports();
  zqvsGoertzInit(subnormal, &st);
  EXPECT_TRUE(reportsAre({}));
  EXPECT_EQ(st.freq, subnormal);
}

}  // namespace
