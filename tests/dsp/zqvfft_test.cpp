// Complex and real FFTs against independent references, their packed
// layouts, flags, errors and per-thread tables.
#include <cfloat>
#include <cstdio>
#include <cstring>
#include <thread>

#include "zqv_test_support.h"
#include "zqvfft_oracle.h"

namespace {

template <class T>
struct Prec;
template <>
struct Prec<float> {
  using C = ZqvCplxS;
  static constexpr LD eps = FLT_EPSILON;
  static void fft(C* s, int o, int f) { zqvcFft(s, o, f); }
  static void fftNip(const C* i, C* s, int o, int f) { zqvcFftNip(i, s, o, f); }
  static void crFft(float* r, float* i, int o, int f) { zqvcrFft(r, i, o, f); }
  static void crFftNip(const float* a, const float* b, float* r, float* i, int o, int f) { zqvcrFftNip(a, b, r, i, o, f); }
  static void realFft(float* s, int o, int f) { zqvsRealFft(s, o, f); }
  static void realFftNip(const float* i, float* s, int o, int f) { zqvsRealFftNip(i, s, o, f); }
  static void ccsFft(float* s, int o, int f) { zqvsCcsFft(s, o, f); }
  static void ccsFftNip(const float* i, float* s, int o, int f) { zqvsCcsFftNip(i, s, o, f); }
  static void realFftl(float* s, int o, int f) { zqvsRealFftl(s, o, f); }
  static void realFftlNip(const float* i, float* s, int o, int f) { zqvsRealFftlNip(i, s, o, f); }
  static void ccsFftl(float* s, int o, int f) { zqvsCcsFftl(s, o, f); }
  static void ccsFftlNip(const float* i, float* s, int o, int f) { zqvsCcsFftlNip(i, s, o, f); }
  static void real2(float* x, float* y, int o, int f) { zqvsReal2Fft(x, y, o, f); }
  static void real2Nip(const float* a, float* x, const float* b, float* y, int o, int f) { zqvsReal2FftNip(a, x, b, y, o, f); }
  static void ccs2(float* x, float* y, int o, int f) { zqvsCcs2Fft(x, y, o, f); }
  static void ccs2Nip(const float* a, float* x, const float* b, float* y, int o, int f) { zqvsCcs2FftNip(a, x, b, y, o, f); }
};
template <>
struct Prec<double> {
  using C = ZqvCplxD;
  static constexpr LD eps = DBL_EPSILON;
  static void fft(C* s, int o, int f) { zqvzFft(s, o, f); }
  static void fftNip(const C* i, C* s, int o, int f) { zqvzFftNip(i, s, o, f); }
  static void crFft(double* r, double* i, int o, int f) { zqvzrFft(r, i, o, f); }
  static void crFftNip(const double* a, const double* b, double* r, double* i, int o, int f) { zqvzrFftNip(a, b, r, i, o, f); }
  static void realFft(double* s, int o, int f) { zqvdRealFft(s, o, f); }
  static void realFftNip(const double* i, double* s, int o, int f) { zqvdRealFftNip(i, s, o, f); }
  static void ccsFft(double* s, int o, int f) { zqvdCcsFft(s, o, f); }
  static void ccsFftNip(const double* i, double* s, int o, int f) { zqvdCcsFftNip(i, s, o, f); }
  static void realFftl(double* s, int o, int f) { zqvdRealFftl(s, o, f); }
  static void realFftlNip(const double* i, double* s, int o, int f) { zqvdRealFftlNip(i, s, o, f); }
  static void ccsFftl(double* s, int o, int f) { zqvdCcsFftl(s, o, f); }
  static void ccsFftlNip(const double* i, double* s, int o, int f) { zqvdCcsFftlNip(i, s, o, f); }
  static void real2(double* x, double* y, int o, int f) { zqvdReal2Fft(x, y, o, f); }
  static void real2Nip(const double* a, double* x, const double* b, double* y, int o, int f) { zqvdReal2FftNip(a, x, b, y, o, f); }
  static void ccs2(double* x, double* y, int o, int f) { zqvdCcs2Fft(x, y, o, f); }
  static void ccs2Nip(const double* a, double* x, const double* b, double* y, int o, int f) { zqvdCcs2FftNip(a, x, b, y, o, f); }
};

constexpr int kMaxOrder = 17;

// Error allowed for a transform of 2^order points: a few epsilons per stage.
template <class T>
LD bound(int order) {
  return 3 * Prec<T>::eps * (order < 1 ? 1 : order);
}

// References per order and direction, computed once for the whole program.
struct Refs {
  std::vector<CL> in, fwd, inv;  // complex input; its unscaled forward and scaled inverse
  std::vector<CL> rin, rfwd, rinv;  // the same for a real input
};
const Refs& refs(int order) {
  static std::vector<Refs> cache(kMaxOrder + 1);
  Refs& r = cache[order];
  if (r.in.empty()) {
    const std::size_t n = std::size_t{1} << order;
    r.in = randomSignal(n, 100 + order, false);
    r.fwd = referenceDft(r.in, 1);
    r.inv = referenceDft(r.in, -1);
    for (auto& v : r.inv) v /= static_cast<LD>(n);
    r.rin = randomSignal(n, 200 + order, true);
    r.rfwd = referenceDft(r.rin, 1);
    r.rinv = referenceDft(r.rin, -1);
    for (auto& v : r.rinv) v /= static_cast<LD>(n);
  }
  return r;
}

template <class T>
std::vector<typename Prec<T>::C> toCplx(const std::vector<CL>& x) {
  std::vector<typename Prec<T>::C> out(x.size());
  for (std::size_t i = 0; i < x.size(); ++i) out[i] = {static_cast<T>(x[i].real()), static_cast<T>(x[i].imag())};
  return out;
}

template <class T>
std::vector<T> toReal(const std::vector<CL>& x, std::size_t extra = 0) {
  std::vector<T> out(x.size() + extra, T(0));
  for (std::size_t i = 0; i < x.size(); ++i) out[i] = static_cast<T>(x[i].real());
  return out;
}

// Errors of the four complex forms in one direction; prints them.
template <class T>
void checkComplexForms(int order, int flags) {
  using P = Prec<T>;
  const Refs& r = refs(order);
  const auto& ref = (flags & ZQV_Forw) ? r.fwd : r.inv;
  const std::size_t n = r.in.size();
  auto a = toCplx<T>(r.in);
  P::fft(a.data(), order, flags);
  const LD e1 = relRms(ref, [&](std::size_t k) { return CL(a[k].re, a[k].im); });
  const auto src = toCplx<T>(r.in);
  std::vector<typename P::C> b(n);
  P::fftNip(src.data(), b.data(), order, flags);
  const LD e2 = relRms(ref, [&](std::size_t k) { return CL(b[k].re, b[k].im); });
  std::vector<T> re(n), im(n), ro(n), io(n);
  for (std::size_t k = 0; k < n; ++k) {
    re[k] = static_cast<T>(r.in[k].real());
    im[k] = static_cast<T>(r.in[k].imag());
  }
  P::crFftNip(re.data(), im.data(), ro.data(), io.data(), order, flags);
  const LD e3 = relRms(ref, [&](std::size_t k) { return CL(ro[k], io[k]); });
  P::crFft(re.data(), im.data(), order, flags);
  const LD e4 = relRms(ref, [&](std::size_t k) { return CL(re[k], im[k]); });
  std::printf("  order %2d %s  interleaved %.3Le  nip %.3Le  split %.3Le  split nip %.3Le\n", order,
              (flags & ZQV_Forw) ? "fwd" : "inv", e1, e2, e4, e3);
  EXPECT_LE(e1, bound<T>(order)) << "order " << order;
  EXPECT_LE(e2, bound<T>(order)) << "order " << order;
  EXPECT_LE(e3, bound<T>(order)) << "order " << order;
  EXPECT_LE(e4, bound<T>(order)) << "order " << order;
}

template <class T>
class FftPrecision : public ZqvTest {};
using Precisions = ::testing::Types<float, double>;
TYPED_TEST_SUITE(FftPrecision, Precisions);

TYPED_TEST(FftPrecision, ComplexFormsMatchTheReferenceInBothDirections) {
  std::printf("relative RMS error, %s\n", sizeof(TypeParam) == 4 ? "float" : "double");
  for (int order = 0; order <= kMaxOrder; ++order) {
    checkComplexForms<TypeParam>(order, ZQV_Forw);
    checkComplexForms<TypeParam>(order, ZQV_Inv);
  }
  EXPECT_TRUE(reportsAre({}));
}

TYPED_TEST(FftPrecision, ForwardThenInverseRestoresTheInput) {
  using P = Prec<TypeParam>;
  for (int order = 1; order <= 14; ++order) {
    const auto x = toCplx<TypeParam>(refs(order).in);
    auto y = x;
    P::fft(y.data(), order, ZQV_Forw);
    P::fft(y.data(), order, ZQV_Inv);
    const LD e = relRms(refs(order).in, [&](std::size_t k) { return CL(y[k].re, y[k].im); });
    EXPECT_LE(e, bound<TypeParam>(order)) << "order " << order;
  }
}

TYPED_TEST(FftPrecision, BitReversedOrderInAndOut) {
  using P = Prec<TypeParam>;
  for (int order : {3, 11, 12, 13}) {
    const auto x = toCplx<TypeParam>(refs(order).in);
    auto spec = x;
    P::fft(spec.data(), order, ZQV_Forw);
    auto rev = x;
    P::fft(rev.data(), order, ZQV_Forw | ZQV_OutBitRev);
    for (std::size_t k = 0; k < x.size(); ++k) {
      const auto& a = rev[zqvBitRev(static_cast<int32_t>(k), order)];
      ASSERT_EQ(a.re, spec[k].re) << "order " << order << " k " << k;
      ASSERT_EQ(a.im, spec[k].im);
    }
    // A bit-reversed spectrum goes back to the natural-order signal.
    P::fft(rev.data(), order, ZQV_Inv | ZQV_InBitRev);
    const LD e = relRms(refs(order).in, [&](std::size_t k) { return CL(rev[k].re, rev[k].im); });
    EXPECT_LE(e, bound<TypeParam>(order)) << "order " << order;
    // Split arrays take the same flags.
    std::vector<TypeParam> re(x.size()), im(x.size());
    for (std::size_t k = 0; k < x.size(); ++k) {
      re[k] = x[k].re;
      im[k] = x[k].im;
    }
    P::crFft(re.data(), im.data(), order, ZQV_Forw | ZQV_OutBitRev);
    for (std::size_t k = 0; k < x.size(); ++k) {
      const auto& a = spec[zqvBitRev(static_cast<int32_t>(k), order)];
      ASSERT_NEAR(re[k], a.re, bound<TypeParam>(order) * 64);
      ASSERT_NEAR(im[k], a.im, bound<TypeParam>(order) * 64);
    }
  }
  EXPECT_TRUE(reportsAre({}));
}

TYPED_TEST(FftPrecision, SmallOrdersAndInPlaceEqualsNipFromOrderTwelve) {
  using P = Prec<TypeParam>;
  using C = typename P::C;
  C one[1] = {{3, 4}}, out[1] = {{0, 0}};
  P::fft(one, 0, ZQV_Inv);
  EXPECT_EQ(one[0].re, 3);
  EXPECT_EQ(one[0].im, 4);
  P::fftNip(one, out, 0, ZQV_Inv);
  EXPECT_EQ(out[0].re, 3);
  C two[2] = {{1, 2}, {5, 7}};
  P::fft(two, 1, ZQV_Inv);
  EXPECT_EQ(two[0].re, 3);
  EXPECT_EQ(two[0].im, 4.5);
  EXPECT_EQ(two[1].re, -2);
  EXPECT_EQ(two[1].im, -2.5);
  // The same buffer passed as input and output of the copying form.
  for (int order : {5, 12, 13}) {
    auto x = toCplx<TypeParam>(refs(order).in);
    P::fftNip(x.data(), x.data(), order, ZQV_Forw);
    const LD e = relRms(refs(order).fwd, [&](std::size_t k) { return CL(x[k].re, x[k].im); });
    EXPECT_LE(e, bound<TypeParam>(order)) << "order " << order;
  }
}

// CCS spectrum (N + 2 values) of a reference spectrum.
template <class T>
std::vector<T> toCcs(const std::vector<CL>& spec) {
  const std::size_t n = spec.size();
  std::vector<T> out(n + 2);
  for (std::size_t k = 0; k <= n / 2; ++k) {
    out[2 * k] = static_cast<T>(spec[k % n].real());
    out[2 * k + 1] = static_cast<T>(spec[k % n].imag());
  }
  if (n == 1) out[1] = 0;
  return out;
}

template <class T>
LD ccsError(const std::vector<CL>& spec, const T* ccs) {
  const std::size_t h = spec.size() / 2;
  std::vector<CL> ref(spec.begin(), spec.begin() + h + 1);
  return relRms(ref, [&](std::size_t k) { return CL(ccs[2 * k], ccs[2 * k + 1]); });
}

TYPED_TEST(FftPrecision, RealTransformsMatchTheReference) {
  using P = Prec<TypeParam>;
  using T = TypeParam;
  std::printf("real transforms, relative RMS error, %s\n", sizeof(T) == 4 ? "float" : "double");
  for (int order = 1; order <= kMaxOrder; ++order) {
    const Refs& r = refs(order);
    const std::size_t n = r.rin.size();
    for (int dir : {ZQV_Forw, ZQV_Inv}) {
      const auto& spec = dir == ZQV_Forw ? r.rfwd : r.rinv;
      auto a = toReal<T>(r.rin, 2);
      P::realFft(a.data(), order, dir);
      const LD e1 = ccsError(spec, a.data());
      const auto src = toReal<T>(r.rin);
      std::vector<T> b(n + 2);
      P::realFftNip(src.data(), b.data(), order, dir);
      const LD e2 = ccsError(spec, b.data());
      // Back from the exact spectrum: the unscaled forward sum or the scaled inverse.
      const auto ccs = toCcs<T>(dir == ZQV_Forw ? r.rinv : r.rfwd);
      const std::vector<CL>& back = r.rin;
      auto c = ccs;
      P::ccsFft(c.data(), order, dir);
      const LD e3 = relRms(back, [&](std::size_t k) { return CL(c[k], 0); });
      std::vector<T> d(n);
      P::ccsFftNip(ccs.data(), d.data(), order, dir);
      const LD e4 = relRms(back, [&](std::size_t k) { return CL(d[k], 0); });
      std::printf("  order %2d %s  real %.3Le  real nip %.3Le  ccs %.3Le  ccs nip %.3Le\n", order,
                  dir == ZQV_Forw ? "fwd" : "inv", e1, e2, e3, e4);
      EXPECT_LE(e1, bound<T>(order)) << order;
      EXPECT_LE(e2, bound<T>(order)) << order;
      EXPECT_LE(e3, bound<T>(order)) << order;
      EXPECT_LE(e4, bound<T>(order)) << order;
    }
  }
  EXPECT_TRUE(reportsAre({}));
}

TYPED_TEST(FftPrecision, PackedLayoutsCarryTheCcsNumbers) {
  using P = Prec<TypeParam>;
  using T = TypeParam;
  for (int order = 1; order <= 13; ++order) {
    const auto x = toReal<T>(refs(order).rin);
    const std::size_t n = x.size();
    auto ccs = toReal<T>(refs(order).rin, 2);
    P::realFft(ccs.data(), order, ZQV_Forw);
    auto pack = x, perm = x;
    P::realFftl(pack.data(), order, ZQV_Forw | ZQV_OutRCPack);
    std::vector<T> permNip(n);
    P::realFftlNip(x.data(), permNip.data(), order, ZQV_Forw | ZQV_OutRCPerm);
    P::realFftl(perm.data(), order, ZQV_Forw | ZQV_OutRCPerm);
    EXPECT_EQ(pack[0], ccs[0]);
    EXPECT_EQ(pack[n - 1], ccs[n]);
    EXPECT_EQ(perm[0], ccs[0]);
    EXPECT_EQ(perm[1], ccs[n]);
    for (std::size_t i = 2; i < n; ++i) {
      ASSERT_EQ(pack[i - 1], ccs[i]) << order << " " << i;
      ASSERT_EQ(perm[i], ccs[i]) << order << " " << i;
    }
    EXPECT_EQ(permNip, perm);
    // And both come back to the signal.
    auto packBack = pack;
    P::ccsFftl(packBack.data(), order, ZQV_Inv | ZQV_InRCPack);
    std::vector<T> permBack(n);
    P::ccsFftlNip(perm.data(), permBack.data(), order, ZQV_Inv | ZQV_InRCPerm);
    const LD e1 = relRms(refs(order).rin, [&](std::size_t k) { return CL(packBack[k], 0); });
    const LD e2 = relRms(refs(order).rin, [&](std::size_t k) { return CL(permBack[k], 0); });
    EXPECT_LE(e1, bound<T>(order)) << order;
    EXPECT_LE(e2, bound<T>(order)) << order;
  }
  EXPECT_TRUE(reportsAre({}));
}

TYPED_TEST(FftPrecision, TwoSignalsAtOnceEqualTwoSingleTransforms) {
  using P = Prec<TypeParam>;
  using T = TypeParam;
  for (int order = 1; order <= 13; ++order) {
    const auto x = toReal<T>(refs(order).rin, 2), y = toReal<T>(refs(order).in, 2);
    const std::size_t n = x.size() - 2;
    for (int dir : {ZQV_Forw, ZQV_Inv}) {
      auto sx = x, sy = y;
      P::realFft(sx.data(), order, dir);
      P::realFft(sy.data(), order, dir);
      auto tx = x, ty = y;
      P::real2(tx.data(), ty.data(), order, dir);
      std::vector<T> ux(n + 2), uy(n + 2);
      P::real2Nip(x.data(), ux.data(), y.data(), uy.data(), order, dir);
      const LD scaleRef = dir == ZQV_Forw ? sqrtl(static_cast<LD>(n)) : 1 / sqrtl(static_cast<LD>(n));
      for (std::size_t i = 0; i < n + 2; ++i) {
        ASSERT_NEAR(tx[i], sx[i], 8 * bound<T>(order) * scaleRef) << order << " " << i;
        ASSERT_NEAR(ty[i], sy[i], 8 * bound<T>(order) * scaleRef) << order << " " << i;
        ASSERT_EQ(ux[i], tx[i]);
        ASSERT_EQ(uy[i], ty[i]);
      }
      // The two spectra go back together.
      auto bx = tx, by = ty;
      const int back = dir == ZQV_Forw ? ZQV_Inv : ZQV_Forw | ZQV_NoScale;
      P::ccs2(bx.data(), by.data(), order, back);
      std::vector<T> cx(n), cy(n);
      P::ccs2Nip(tx.data(), cx.data(), ty.data(), cy.data(), order, back);
      const T k = 1;
      for (std::size_t i = 0; i < n; ++i) {
        ASSERT_NEAR(bx[i], x[i] * k, 8 * bound<T>(order) * k) << order << " " << i;
        ASSERT_NEAR(by[i], y[i] * k, 8 * bound<T>(order) * k) << order << " " << i;
        ASSERT_NEAR(cx[i], bx[i], 8 * bound<T>(order) * k);
        ASSERT_NEAR(cy[i], by[i], 8 * bound<T>(order) * k);
      }
    }
  }
  EXPECT_TRUE(reportsAre({}));
}

// Products of packed spectra, transformed back, equal circular convolution.
TYPED_TEST(FftPrecision, PackedProductsAreCircularConvolution) {
  using P = Prec<TypeParam>;
  using T = TypeParam;
  for (int order = 0; order <= 9; ++order) {
    const std::size_t n = std::size_t{1} << order;
    const auto a = toReal<T>(randomSignal(n, 7 + order, true)), b = toReal<T>(randomSignal(n, 9 + order, true));
    std::vector<LD> conv(n, 0);
    for (std::size_t i = 0; i < n; ++i)
      for (std::size_t j = 0; j < n; ++j) conv[(i + j) % n] += static_cast<LD>(a[i]) * b[j];
    LD norm = 0;
    for (LD v : conv) norm += v * v;
    norm = sqrtl(norm / n);
    for (int layout : {ZQV_OutRCPack, ZQV_OutRCPerm}) {
      const int in = layout == ZQV_OutRCPack ? ZQV_InRCPack : ZQV_InRCPerm;
      auto fa = a, fb = b;
      P::realFftl(fa.data(), order, ZQV_Forw | layout);
      P::realFftl(fb.data(), order, ZQV_Forw | layout);
      std::vector<T> three(n), two = fb;
      if constexpr (sizeof(T) == 4) {
        if (layout == ZQV_OutRCPack) {
          zqvsMpyRCPack3(fa.data(), fb.data(), three.data(), order);
          zqvsMpyRCPack2(fa.data(), two.data(), order);
        } else {
          zqvsMpyRCPerm3(fa.data(), fb.data(), three.data(), order);
          zqvsMpyRCPerm2(fa.data(), two.data(), order);
        }
      } else {
        if (layout == ZQV_OutRCPack) {
          zqvdMpyRCPack3(fa.data(), fb.data(), three.data(), order);
          zqvdMpyRCPack2(fa.data(), two.data(), order);
        } else {
          zqvdMpyRCPerm3(fa.data(), fb.data(), three.data(), order);
          zqvdMpyRCPerm2(fa.data(), two.data(), order);
        }
      }
      EXPECT_EQ(two, three);
      P::ccsFftl(three.data(), order, ZQV_Inv | in);
      for (std::size_t i = 0; i < n; ++i)
        ASSERT_NEAR(three[i], conv[i], 8 * bound<T>(order) * norm * (order + 1)) << order << " " << i;
    }
  }
  EXPECT_TRUE(reportsAre({}));
}

class FftTest : public ZqvTest {};

TEST_F(FftTest, RealTransformEdgeCases) {
  // Order 10 writes N + 2 values and nothing past them.
  std::vector<float> buf(1024 + 3, 1.0f);
  buf[1026] = 99.0f;
  zqvsRealFft(buf.data(), 10, ZQV_Forw);
  EXPECT_EQ(buf[0], 1024.0f);
  EXPECT_EQ(buf[1024], 0.0f);
  EXPECT_EQ(buf[1025], 0.0f);
  EXPECT_EQ(buf[1026], 99.0f);
  // A constant over eight points and back.
  std::vector<float> c(10, 1.0f);
  zqvsRealFft(c.data(), 3, ZQV_Forw);
  EXPECT_EQ(c, (std::vector<float>{8, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  zqvsCcsFft(c.data(), 3, ZQV_Inv);
  EXPECT_EQ(std::vector<float>(c.begin(), c.begin() + 8), std::vector<float>(8, 1.0f));
  // Order 0: in place leaves the buffer, the copying form writes (x0, 0).
  float one[2] = {5, 7}, out[2] = {1, 1};
  zqvsRealFft(one, 0, ZQV_Forw);
  EXPECT_EQ(one[1], 7);
  zqvsRealFftNip(one, out, 0, ZQV_Forw);
  EXPECT_EQ(out[0], 5);
  EXPECT_EQ(out[1], 0);
  // Order 1.
  float two[4] = {3, 1, 9, 9};
  zqvsRealFft(two, 1, ZQV_Forw);
  EXPECT_EQ(std::vector<float>(two, two + 4), (std::vector<float>{4, 0, 2, 0}));
  float l[2] = {3, 1};
  zqvsRealFftl(l, 1, ZQV_Forw | ZQV_OutRCPack);
  EXPECT_EQ(l[0], 4);
  EXPECT_EQ(l[1], 2);
  float p[2] = {2, 3}, q[2] = {5, 7};
  zqvsMpyRCPack2(p, q, 1);
  EXPECT_EQ(q[0], 10);
  EXPECT_EQ(q[1], 21);
  EXPECT_TRUE(reportsAre({}));
}

// The synthesizer's equaliser: forward in place, change the spectrum, back in place.
TEST_F(FftTest, EqualiserRoundTripThroughCcs) {
  for (int order : {8, 12, 14}) {
    const std::size_t n = std::size_t{1} << order;
    std::vector<float> buf = toReal<float>(refs(order).rin, 2);
    zqvsRealFft(buf.data(), order, ZQV_Forw);
    // Remove the upper half of the band.
    for (std::size_t k = n / 4; k <= n / 2; ++k) buf[2 * k] = buf[2 * k + 1] = 0;
    zqvsCcsFft(buf.data(), order, ZQV_Inv);
    auto spec = refs(order).rfwd;
    for (std::size_t k = n / 4; k <= n - n / 4; ++k) spec[k] = 0;
    const auto lowpassed = referenceDft(spec, -1);
    const LD e = relRms(lowpassed, [&](std::size_t k) { return CL(buf[k] * static_cast<LD>(n), 0); });
    EXPECT_LE(e, bound<float>(order)) << order;
  }
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(FftTest, FlagFaults) {
  struct Case {
    int flags;
    std::vector<ExpectedReport> reports;
  };
  const Case complexCases[] = {
      {ZQV_Forw | ZQV_Inv, {{-5, "zqvcFft", "ZQV_Forw and ZQV_Inv", "zqvffts"}}},
      {0, {{-5, "zqvcFft", "no ZQV_Forw or ZQV_Inv", "zqvffts"}}},
      {ZQV_Forw | ZQV_NoBitRev | ZQV_InBitRev | ZQV_OutBitRev, {{-5, "zqvcFft", "ZQV_InBitRev and ZQV_OutBitRev", "zqvffts"}}},
      {ZQV_Inv | ZQV_NoBitRev | ZQV_InBitRev, {{-5, "zqvcFft", "ZQV_InBitRev and ZQV_NoBitRev", "zqvffts"}}},
      {ZQV_NoBitRev | ZQV_OutBitRev, {{-5, "zqvcFft", "no ZQV_Forw or ZQV_Inv", "zqvffts"},
                                      {-5, "zqvcFft", "ZQV_OutBitRev and ZQV_NoBitRev", "zqvffts"}}},
  };
  ZqvCplxS data[8] = {{1, 2}};
  std::vector<ReportRow> rows;
  for (const Case& c : complexCases)
    rows.push_back({"flags " + std::to_string(c.flags), [&data, flags = c.flags] { zqvcFft(data, 3, flags); },
                    c.reports});
  expectReportRows(rows, std::nullopt, [&](const ReportRow&) {
    EXPECT_EQ(data[0].re, 1);
    EXPECT_EQ(data[0].im, 2);
  });
  zqvSetErrStatus(0);
  clearReports();
  float x[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  zqvsRealFftl(x, 3, ZQV_Forw | ZQV_OutRCPack | ZQV_OutRCPerm);
  zqvSetErrStatus(0);
  zqvsRealFftl(x, 3, ZQV_Forw);
  zqvSetErrStatus(0);
  zqvsCcsFftl(x, 3, ZQV_Inv | ZQV_InRCPack | ZQV_InRCPerm);
  zqvSetErrStatus(0);
  zqvdCcsFftl(reinterpret_cast<double*>(x), 2, ZQV_Inv | 0x800);
  EXPECT_TRUE(reportsAre({{-5, "zqvsRealFftl", "ZQV_OutRCPack and ZQV_OutRCPerm", "zqvffts"},
                          {-5, "zqvsRealFftl", "no ZQV_OutRCPack or ZQV_OutRCPerm", "zqvffts"},
                          {-5, "zqvsCcsFftl", "ZQV_InRCPack and ZQV_InRCPerm", "zqvffts"},
                          {-5, "zqvdCcsFftl", "no ZQV_InRCPack or ZQV_InRCPerm", "zqvfftd"}}));
  EXPECT_EQ(x[0], 1);
  EXPECT_EQ(x[7], 8);
}

// Every argument failure: call, status, routine, message, module.
TEST_F(FftTest, ArgumentReports) {
  static float f[16];
  static double d[16];
  static ZqvCplxS c[8];
  const std::vector<ReportRow> cases = {
      {"order<0", [] { zqvcFft(c, -1, ZQV_Forw); }, {{-5, "zqvcFft", "order<0", "zqvffts"}}},
      {"order>31", [] { zqvzFft(nullptr, 32, ZQV_Forw); }, {{-5, "zqvzFft", "order>31", "zqvfftd"}}},
      {"no table memory", [] { zqvcFft(c, 31, ZQV_Forw); }, {{-4, "zqvcFft", "No working Twd memory", "zqvffts"}}},
      {"samps", [] { zqvcFft(nullptr, 3, ZQV_Forw); }, {{-5, "zqvcFft", "samps==0", "zqvffts"}}},
      {"nip both", [] { zqvcFftNip(nullptr, nullptr, 3, ZQV_Forw); },
       {{-5, "zqvcFftNip", "inSamps==0", "zqvffts"}, {-5, "zqvcFftNip", "outSamps==0", "zqvffts"}}},
      {"split", [] { zqvzrFft(nullptr, nullptr, 3, ZQV_Forw); },
       {{-5, "zqvzrFft", "reSamps==0", "zqvfftd"}, {-5, "zqvzrFft", "imSamps==0", "zqvfftd"}}},
      {"split nip", [] { zqvcrFftNip(nullptr, nullptr, nullptr, nullptr, 3, ZQV_Forw); },
       {{-5, "zqvcrFftNip", "reInSamps==0", "zqvffts"}, {-5, "zqvcrFftNip", "imInSamps==0", "zqvffts"},
        {-5, "zqvcrFftNip", "reOutSamps==0", "zqvffts"}, {-5, "zqvcrFftNip", "imOutSamps==0", "zqvffts"}}},
      {"real", [] { zqvsRealFft(nullptr, 3, ZQV_Forw); }, {{-5, "zqvsRealFft", "samps==0", "zqvffts"}}},
      {"real nip", [] { zqvdRealFftNip(nullptr, nullptr, 3, ZQV_Forw); },
       {{-5, "zqvdRealFftNip", "inSamps==0", "zqvfftd"}, {-5, "zqvdRealFftNip", "outSamps==0", "zqvfftd"}}},
      {"ccs order", [] { zqvsCcsFft(f, -2, ZQV_Inv); }, {{-5, "zqvsCcsFft", "order<0", "zqvffts"}}},
      // The lowest order: checked before the half order is derived from it
      // (the sanitizer build stops on the overflow otherwise).
      {"real least order", [] { zqvdRealFft(d, INT32_MIN, ZQV_Forw); }, {{-5, "zqvdRealFft", "order<0", "zqvfftd"}}},
      {"ccs nip least order", [] { zqvsCcsFftNip(f, f, INT32_MIN, ZQV_Inv); },
       {{-5, "zqvsCcsFftNip", "order<0", "zqvffts"}}},
      {"rcpack least order", [] { zqvsRealFftl(f, INT32_MIN, ZQV_Forw | ZQV_OutRCPack); },
       {{-5, "zqvsRealFftl", "order<0", "zqvffts"}}},
      {"free least order", [] { zqvdCcsFftl(d, INT32_MIN, ZQV_FreeTbls); }, {}},
      {"ccsl nip", [] { zqvsCcsFftlNip(nullptr, f, 3, ZQV_Inv | ZQV_InRCPack); },
       {{-5, "zqvsCcsFftlNip", "inSamps==0", "zqvffts"}}},
      {"real2", [] { zqvsReal2Fft(nullptr, nullptr, 3, ZQV_Forw); },
       {{-5, "zqvsReal2Fft", "xSamps==0", "zqvffts"}, {-5, "zqvsReal2Fft", "ySamps==0", "zqvffts"}}},
      {"real2 nip", [] { zqvdReal2FftNip(nullptr, d, nullptr, d, 3, ZQV_Forw); },
       {{-5, "zqvdReal2FftNip", "xInSamps==0", "zqvfftd"}, {-5, "zqvdReal2FftNip", "yInSamps==0", "zqvfftd"}}},
      {"real2 nip flags", [] { zqvsReal2FftNip(f, f, f, f, 2, 0); },
       {{-5, "zqvsReal2Fft", "no ZQV_Forw or ZQV_Inv", "zqvffts"}, {-1, "zqvsReal2FftNip", "out zqvsReal2Fft", "zqvffts"}}},
      {"ccs2 nip", [] { zqvsCcs2FftNip(f, nullptr, f, nullptr, 2, ZQV_Inv); },
       {{-5, "zqvsCcs2FftNip", "xOutSamps==0", "zqvffts"}, {-5, "zqvsCcs2FftNip", "yOutSamps==0", "zqvffts"}}},
      {"ccs2", [] { zqvdCcs2Fft(d, nullptr, 2, ZQV_Inv); }, {{-5, "zqvdCcs2Fft", "ySamps==0", "zqvfftd"}}},
      {"mpy2", [] { zqvsMpyRCPack2(nullptr, nullptr, 32); },
       {{-5, "zqvsMpyRCPack2", "order>31", "zqvffts"}, {-5, "zqvsMpyRCPack2", "src==0", "zqvffts"},
        {-5, "zqvsMpyRCPack2", "dst==0", "zqvffts"}}},
      {"mpy3", [] { zqvdMpyRCPerm3(d, nullptr, d, 2); }, {{-5, "zqvdMpyRCPerm3", "srcB==0", "zqvfftd"}}},
      {"bitrev order", [] { zqvBitRev(1, -1); }, {{-5, "zqvBitRev", "order<0", "zqvmisc"}}},
      {"bitrev1", [] { zqvsbBitRev1(nullptr, 40); },
       {{-5, "zqvsbBitRev1", "order>31", "zqvmisc"}, {-5, "zqvsbBitRev1", "vec==0", "zqvmisc"}}},
      {"bitrev2", [] { zqvzbBitRev2(nullptr, nullptr, 3); },
       {{-5, "zqvzbBitRev2", "src==0", "zqvmisc"}, {-5, "zqvzbBitRev2", "dst==0", "zqvmisc"}}},
      {"calc bitrev", [] { zqvCalcBitRevTbl(nullptr, 3); }, {{-5, "zqvCalcBitRevTbl", "tbl==0", "zqvmisc"}}},
      {"get bitrev", [] { zqvGetBitRevTbl(32); }, {{-5, "zqvGetBitRevTbl", "order>31", "zqvmisc"}}},
      {"dft length", [] { zqvcGetDftTwdTbl(0); }, {{-5, "zqvcGetDftTwdTbl", "length<=0", "zqvtwd"}}},
      {"calc dft", [] { zqvvCalcDftTwdTbl(nullptr, -3); },
       {{-5, "zqvvCalcDftTwdTbl", "length<=0", "zqvtwd"}, {-5, "zqvvCalcDftTwdTbl", "tbl==0", "zqvtwd"}}},
      {"get fft tbl", [] { zqvzGetFftTwdTbl(-1); }, {{-5, "zqvzGetFftTwdTbl", "order<0", "zqvtwd"}}},
      {"calc fft tbl", [] { zqvcCalcFftTwdTbl(nullptr, 2); }, {{-5, "zqvcCalcFftTwdTbl", "tbl==0", "zqvtwd"}}},
  };
  // Shortages report -4, argument faults -5: the rows give each its status.
  expectReportRows(cases, std::nullopt);
}

TEST_F(FftTest, InitFreeAndNegativeStatus) {
  // Init builds the tables without a data pointer; FreeTbls ignores everything else.
  zqvcFft(nullptr, 5, ZQV_Forw | ZQV_Init);
  zqvsRealFft(nullptr, 40, ZQV_FreeTbls);
  zqvcFft(nullptr, 40, ZQV_FreeTbls);
  EXPECT_TRUE(reportsAre({}));
  // A negative status makes every call return without work or report.
  zqvSetErrStatus(-5);
  ZqvCplxS data[4] = {{1, 0}, {2, 0}, {3, 0}, {4, 0}};
  zqvcFft(data, 2, ZQV_Forw);
  zqvcFft(nullptr, 2, 0);
  float r[6] = {1, 2, 3, 4, 0, 0};
  zqvsRealFft(r, 2, ZQV_Forw);
  zqvsbBitRev1(r, 2);
  EXPECT_EQ(zqvBitRev(1, 3), 0);
  EXPECT_EQ(data[1].re, 2);
  EXPECT_EQ(r[1], 2);
  EXPECT_TRUE(reportsAre({}));
  zqvSetErrStatus(0);
}

// Two threads transform different lengths at once, each with its own tables;
// the tables of each thread go when the thread ends.
TEST_F(FftTest, ThreadsKeepTheirOwnTables) {
  auto work = [](int order, int rounds, LD* worst) {
    *worst = 0;
    for (int i = 0; i < rounds; ++i) {
      const int o = order + (i % 3);
      auto x = toCplx<float>(refs(o).in);
      zqvcFft(x.data(), o, ZQV_Forw);
      *worst = std::max(*worst, relRms(refs(o).fwd, [&](std::size_t k) { return CL(x[k].re, x[k].im); }));
      std::vector<float> r = toReal<float>(refs(o).rin, 2);
      zqvsRealFft(r.data(), o, ZQV_Forw);
      *worst = std::max(*worst, ccsError(refs(o).rfwd, r.data()));
      if (i % 5 == 4) zqvcFreeTwdTbls();
    }
  };
  for (int o = 6; o <= 14; ++o) refs(o);
  LD e1 = 1, e2 = 1;
  std::thread a(work, 6, 40, &e1), b(work, 12, 20, &e2);
  a.join();
  b.join();
  EXPECT_LE(e1, bound<float>(8));
  EXPECT_LE(e2, bound<float>(14));
}

TEST_F(FftTest, BitReversalValuesAndReordering) {
  EXPECT_EQ(zqvBitRev(1, 3), 4);
  EXPECT_EQ(zqvBitRev(6, 3), 3);
  EXPECT_EQ(zqvBitRev(12345, 0), 0);
  EXPECT_EQ(zqvBitRev(0x1F, 3), 7);
  EXPECT_EQ(zqvBitRev(1, 31), 1 << 30);
  float v1[2] = {1, 2};
  zqvsbBitRev1(v1, 1);
  EXPECT_EQ(v1[1], 2);
  float v2[4] = {1, 2, 3, 4};
  zqvsbBitRev1(v2, 2);
  EXPECT_EQ(std::vector<float>(v2, v2 + 4), (std::vector<float>{1, 3, 2, 4}));
  int32_t v3[8] = {0, 1, 2, 3, 4, 5, 6, 7};
  zqvibBitRev1(v3, 3);
  EXPECT_EQ(std::vector<int32_t>(v3, v3 + 8), (std::vector<int32_t>{0, 4, 2, 6, 1, 5, 3, 7}));
  // Every element type, in place and copying, against the bit-reversed value.
  auto check = [](auto zero, auto rev1, auto rev2) {
    using E = decltype(zero);
    for (int order = 0; order <= 12; ++order) {
      const std::size_t n = std::size_t{1} << order;
      std::vector<E> src(n), a, b(n);
      for (std::size_t i = 0; i < n; ++i) std::memset(&src[i], static_cast<int>(i * 7 + 1), sizeof(E));
      a = src;
      rev1(a.data(), order);
      if (rev2) rev2(src.data(), b.data(), order);
      for (std::size_t k = 0; k < n; ++k) {
        const E& want = src[zqvBitRev(static_cast<int32_t>(k), order)];
        ASSERT_EQ(std::memcmp(&a[k], &want, sizeof(E)), 0) << order << " " << k;
        if (rev2) {
          ASSERT_EQ(std::memcmp(&b[k], &want, sizeof(E)), 0) << order << " " << k;
        }
      }
      // The copying form given one buffer for both reorders it in place.
      if (rev2) {
        std::vector<E> c = src;
        rev2(c.data(), c.data(), order);
        ASSERT_EQ(std::memcmp(c.data(), a.data(), n * sizeof(E)), 0) << order;
      }
    }
  };
  check(int16_t{}, zqvwbBitRev1, zqvwbBitRev2);
  check(float{}, zqvsbBitRev1, zqvsbBitRev2);
  check(ZqvCplxW{}, zqvvbBitRev1, zqvvbBitRev2);
  check(int32_t{}, zqvibBitRev1, static_cast<void (*)(const int32_t*, int32_t*, int32_t)>(nullptr));
  check(ZqvCplxS{}, zqvcbBitRev1, zqvcbBitRev2);
  check(double{}, zqvdbBitRev1, zqvdbBitRev2);
  check(ZqvCplxI{}, zqvjbBitRev1, static_cast<void (*)(const ZqvCplxI*, ZqvCplxI*, int32_t)>(nullptr));
  check(ZqvCplxD{}, zqvzbBitRev1, zqvzbBitRev2);
  // The cached table and a caller's table agree.
  std::vector<int32_t> own(1 << 9);
  zqvCalcBitRevTbl(own.data(), 9);
  const int32_t* cached = zqvGetBitRevTbl(9);
  ASSERT_NE(cached, nullptr);
  EXPECT_EQ(cached, zqvGetBitRevTbl(9));
  for (int i = 0; i < (1 << 9); ++i) ASSERT_EQ(own[i], zqvBitRev(i, 9));
  EXPECT_EQ(std::memcmp(cached, own.data(), own.size() * 4), 0);
  zqvFreeBitRevTbls();
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(FftTest, TwiddleTables) {
  ZqvCplxS* t5 = zqvcGetDftTwdTbl(5);
  ASSERT_NE(t5, nullptr);
  EXPECT_EQ(zqvcGetDftTwdTbl(5), t5);
  for (int len = 6; len < 6 + 31; ++len) ASSERT_NE(zqvcGetDftTwdTbl(len), nullptr);
  EXPECT_EQ(zqvcGetDftTwdTbl(100), nullptr);
  EXPECT_TRUE(reportsAre({{-4, "zqvcGetDftTwdTbl", "Full Table", "zqvtwd"}}));
  zqvSetErrStatus(0);
  clearReports();
  zqvcFreeTwdTbls();
  ZqvCplxS* t100 = zqvcGetDftTwdTbl(100);
  ASSERT_NE(t100, nullptr);
  EXPECT_FLOAT_EQ(t100[25].re, 0.0f);
  EXPECT_FLOAT_EQ(t100[25].im, -1.0f);
  zqvcFreeTwdTbls();

  ZqvCplxS c4[4];
  zqvcCalcDftTwdTbl(c4, 4);
  const float want[4][2] = {{1, 0}, {0, -1}, {-1, 0}, {0, 1}};
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(c4[k].re, want[k][0]);
    EXPECT_EQ(c4[k].im, want[k][1]);
  }
  ZqvCplxW v4[4];
  zqvvCalcDftTwdTbl(v4, 4);
  for (int k = 0; k < 4; ++k) {
    EXPECT_EQ(v4[k].re, want[k][0] * 16384);
    EXPECT_EQ(v4[k].im, want[k][1] * 16384);
  }
  // Full tables of an order equal the length-N DFT table, to the last bit.
  for (int order : {0, 3, 10, 15}) {
    const ZqvCplxD* full = zqvzGetFftTwdTbl(order);
    ASSERT_NE(full, nullptr);
    const int n = 1 << order;
    std::vector<ZqvCplxD> own(n);
    zqvzCalcDftTwdTbl(own.data(), n);
    EXPECT_EQ(std::memcmp(full, own.data(), n * sizeof(ZqvCplxD)), 0);
    for (int k = 0; k < n; k += 1 + n / 64) {
      const LD a = 2 * 3.141592653589793238462643383279502884L * k / n;
      EXPECT_NEAR(full[k].re, cosl(a), 1e-16);
      EXPECT_NEAR(full[k].im, -sinl(a), 1e-16);
    }
  }
  EXPECT_EQ(zqvzGetFftTwdTbl(3), zqvzGetFftTwdTbl(3));
  zqvzFreeTwdTbls();
  zqvvFreeTwdTbls();
  EXPECT_TRUE(reportsAre({}));
}

}  // namespace
