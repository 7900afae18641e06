// Element-wise arithmetic on float, double and complex vectors and single
// complex values, against references computed in wider types.
#include <bit>
#include <cmath>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include "zqv_test_support.h"

namespace {

using Arith = ZqvTest;

template <class T>
std::vector<T> randomVector(size_t n, uint32_t seed) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> dist(-100.0, 100.0);
  std::vector<T> v(n);
  for (auto& x : v) {
    if constexpr (std::is_floating_point_v<T>) x = static_cast<T>(dist(gen));
    else x = {static_cast<decltype(x.re)>(dist(gen)), static_cast<decltype(x.re)>(dist(gen))};
  }
  return v;
}

template <class T>
bool sameBits(const T& a, const T& b) { return std::memcmp(&a, &b, sizeof(T)) == 0; }

// ---- Real forms: every result is the exact operation rounded once; a
// 128-bit operation holds the exact sums and products of these operands.

enum class Op { Add, Sub, Mpy };

__float128 apply(Op op, __float128 a, __float128 b) {
  switch (op) {
    case Op::Add: return a + b;
    case Op::Sub: return a - b;
    default: return a * b;
  }
}

template <class T>
struct RealApi {
  void (*form1)(T, T*, int32_t);
  void (*form2)(const T*, T*, int32_t);
  void (*form3)(const T*, const T*, T*, int32_t);
  Op op;
};

template <class T>
T realRef(Op op, T a, T b) {
  return static_cast<T>(apply(op, a, b));
}

template <class T>
void checkRealForms(const RealApi<T>& api) {
  for (int32_t n : {1, 7, 1003}) {
    SCOPED_TRACE(n);
    const auto a = randomVector<T>(n, 1), b = randomVector<T>(n, 2);
    const T val = static_cast<T>(-3.7);
    auto v = a;
    api.form1(val, v.data(), n);
    for (int32_t i = 0; i < n; ++i) ASSERT_EQ(v[i], realRef(api.op, a[i], val)) << i;

    v = a;
    api.form2(b.data(), v.data(), n);
    for (int32_t i = 0; i < n; ++i) ASSERT_EQ(v[i], realRef(api.op, a[i], b[i])) << i;
    v = a;
    api.form2(v.data(), v.data(), n);
    for (int32_t i = 0; i < n; ++i) ASSERT_EQ(v[i], realRef(api.op, a[i], a[i])) << i;

    std::vector<T> d(n);
    api.form3(a.data(), b.data(), d.data(), n);
    for (int32_t i = 0; i < n; ++i) ASSERT_EQ(d[i], realRef(api.op, a[i], b[i])) << i;
    auto x = a;
    api.form3(x.data(), b.data(), x.data(), n);
    for (int32_t i = 0; i < n; ++i) ASSERT_EQ(x[i], realRef(api.op, a[i], b[i])) << i;
    x = b;
    api.form3(a.data(), x.data(), x.data(), n);
    for (int32_t i = 0; i < n; ++i) ASSERT_EQ(x[i], realRef(api.op, a[i], b[i])) << i;
  }
  // Partly overlapping operands: elements are visited from the last down,
  // so dst[i] op= src[i] reads src[i] = dst[i-1] before it changes.
  const int32_t n = 40;
  auto buf = randomVector<T>(n + 1, 3);
  auto expect = buf;
  for (int32_t i = n - 1; i >= 0; --i) expect[i + 1] = realRef(api.op, expect[i + 1], expect[i]);
  api.form2(buf.data(), buf.data() + 1, n);
  for (int32_t i = 0; i <= n; ++i) ASSERT_EQ(buf[i], expect[i]) << i;
}

TEST_F(Arith, RealFormsMatchOneRoundingOfTheExactResult) {
  const RealApi<float> floats[] = {{zqvsbAdd1, zqvsbAdd2, zqvsbAdd3, Op::Add},
                                   {zqvsbSub1, zqvsbSub2, zqvsbSub3, Op::Sub},
                                   {zqvsbMpy1, zqvsbMpy2, zqvsbMpy3, Op::Mpy}};
  const RealApi<double> doubles[] = {{zqvdbAdd1, zqvdbAdd2, zqvdbAdd3, Op::Add},
                                     {zqvdbSub1, zqvdbSub2, zqvdbSub3, Op::Sub},
                                     {zqvdbMpy1, zqvdbMpy2, zqvdbMpy3, Op::Mpy}};
  for (const auto& api : floats) checkRealForms(api);
  for (const auto& api : doubles) checkRealForms(api);
  EXPECT_TRUE(reportsAre({}));
}

// ---- Complex forms. Float parts: products are exact in long double and the
// difference is rounded there once more before the single rounding to float,
// which agrees with exact rounding. Double parts: a 128-bit reference.

ZqvCplxS cplxRef(Op op, ZqvCplxS a, ZqvCplxS b) {
  const long double ar = a.re, ai = a.im, br = b.re, bi = b.im;
  if (op == Op::Mpy) return {static_cast<float>(ar * br - ai * bi), static_cast<float>(ar * bi + ai * br)};
  return {static_cast<float>(apply(op, a.re, b.re)), static_cast<float>(apply(op, a.im, b.im))};
}

ZqvCplxD cplxRef(Op op, ZqvCplxD a, ZqvCplxD b) {
  using Q = __float128;
  const Q ar = a.re, ai = a.im, br = b.re, bi = b.im;
  if (op == Op::Mpy) return {static_cast<double>(ar * br - ai * bi), static_cast<double>(ar * bi + ai * br)};
  return {static_cast<double>(op == Op::Add ? ar + br : ar - br),
          static_cast<double>(op == Op::Add ? ai + bi : ai - bi)};
}

::testing::AssertionResult near(ZqvCplxS got, ZqvCplxS want, ZqvCplxS, ZqvCplxS) {
  if (sameBits(got, want)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "(" << got.re << "," << got.im << ") vs (" << want.re << ","
                                       << want.im << ")";
}

// Double products go through long double: within one unit in the last place
// of the larger term.
::testing::AssertionResult near(ZqvCplxD got, ZqvCplxD want, ZqvCplxD a, ZqvCplxD b) {
  const double scale = (std::fabs(a.re) + std::fabs(a.im)) * (std::fabs(b.re) + std::fabs(b.im)) + 1;
  const double tol = scale * 0x1p-52;
  if (std::fabs(got.re - want.re) <= tol && std::fabs(got.im - want.im) <= tol)
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "(" << got.re << "," << got.im << ") vs (" << want.re << ","
                                       << want.im << ")";
}

template <class C>
struct CplxApi {
  void (*form1)(C, C*, int32_t);
  void (*form2)(const C*, C*, int32_t);
  void (*form3)(const C*, const C*, C*, int32_t);
  Op op;
};

template <class C>
void checkCplxForms(const CplxApi<C>& api) {
  for (int32_t n : {1, 6, 501}) {
    SCOPED_TRACE(n);
    const auto a = randomVector<C>(n, 4), b = randomVector<C>(n, 5);
    const C val = a[0];
    auto v = a;
    api.form1(val, v.data(), n);
    for (int32_t i = 0; i < n; ++i) ASSERT_TRUE(near(v[i], cplxRef(api.op, a[i], val), a[i], val)) << i;

    v = a;
    api.form2(b.data(), v.data(), n);
    for (int32_t i = 0; i < n; ++i) ASSERT_TRUE(near(v[i], cplxRef(api.op, a[i], b[i]), a[i], b[i])) << i;
    v = a;  // the same vector as source: Mpy2 squares it
    api.form2(v.data(), v.data(), n);
    for (int32_t i = 0; i < n; ++i) ASSERT_TRUE(near(v[i], cplxRef(api.op, a[i], a[i]), a[i], a[i])) << i;

    std::vector<C> d(n);
    api.form3(a.data(), b.data(), d.data(), n);
    for (int32_t i = 0; i < n; ++i) ASSERT_TRUE(near(d[i], cplxRef(api.op, a[i], b[i]), a[i], b[i])) << i;
    // The destination as either source: both parts come from the old values.
    auto x = a;
    api.form3(x.data(), b.data(), x.data(), n);
    for (int32_t i = 0; i < n; ++i) ASSERT_TRUE(near(x[i], cplxRef(api.op, a[i], b[i]), a[i], b[i])) << i;
    x = b;
    api.form3(a.data(), x.data(), x.data(), n);
    for (int32_t i = 0; i < n; ++i) ASSERT_TRUE(near(x[i], cplxRef(api.op, a[i], b[i]), a[i], b[i])) << i;
  }
}

TEST_F(Arith, ComplexFormsMatchWideReferences) {
  const CplxApi<ZqvCplxS> floats[] = {{zqvcbAdd1, zqvcbAdd2, zqvcbAdd3, Op::Add},
                                      {zqvcbSub1, zqvcbSub2, zqvcbSub3, Op::Sub},
                                      {zqvcbMpy1, zqvcbMpy2, zqvcbMpy3, Op::Mpy}};
  const CplxApi<ZqvCplxD> doubles[] = {{zqvzbAdd1, zqvzbAdd2, zqvzbAdd3, Op::Add},
                                       {zqvzbSub1, zqvzbSub2, zqvzbSub3, Op::Sub},
                                       {zqvzbMpy1, zqvzbMpy2, zqvzbMpy3, Op::Mpy}};
  for (const auto& api : floats) checkCplxForms(api);
  for (const auto& api : doubles) checkCplxForms(api);
  EXPECT_TRUE(reportsAre({}));
}

// (1+2^-12)^2 - 1 = 2^-11 + 2^-24: rounding each product to float first (as
// float complex arithmetic does) loses the 2^-24.
TEST_F(Arith, ComplexFloatProductIsRoundedOnce) {
  const float p = 1.0f + 0x1p-12f;
  const ZqvCplxS a{p, 1.0f}, b{p, 1.0f};
  const float exactRe = 0x1p-11f + 0x1p-24f;
  EXPECT_EQ(zqvcMpy(a, b).re, exactRe);
  ZqvCplxS v[1] = {a};
  zqvcbMpy1(b, v, 1);
  EXPECT_EQ(v[0].re, exactRe);
  ZqvCplxS d[1];
  zqvcbMpy3(&a, &b, d, 1);
  EXPECT_EQ(d[0].re, exactRe);
  EXPECT_EQ(d[0].im, 2 * p);
}

TEST_F(Arith, ComplexScalars) {
  const ZqvCplxS s = zqvcAdd({1, 2}, {3, -5});
  EXPECT_TRUE(sameBits(s, ZqvCplxS{4, -3}));
  EXPECT_TRUE(sameBits(zqvzSub({1, 2}, {3, -5}), ZqvCplxD{-2, 7}));
  EXPECT_TRUE(sameBits(zqvzMpy({1, 2}, {3, -5}), ZqvCplxD{13, 1}));
  EXPECT_TRUE(sameBits(zqvcConj({1, 2}), ZqvCplxS{1, -2}));
  EXPECT_TRUE(sameBits(zqvzConj({1, -0.0}), ZqvCplxD{1, 0.0}));
  EXPECT_TRUE(sameBits(zqvcSet(7, -8), ZqvCplxS{7, -8}));
  EXPECT_TRUE(sameBits(zqvzSet(7, -8), ZqvCplxD{7, -8}));
  // Scalars do not look at the status.
  zqvSetErrStatus(ZQV_BAD_ARGUMENT);
  EXPECT_TRUE(sameBits(zqvcMpy({1, 2}, {3, -5}), ZqvCplxS{13, 1}));
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(Arith, ComplexDivision) {
  struct Case {
    ZqvCplxD a, b, q;
  };
  const Case cases[] = {
      {{1, 0}, {0, 2}, {0, -0.5}},
      {{7, -1}, {3, 4}, {0.68, -1.24}},
      // |b|^2 is far outside double's range here; the quotient is not.
      {{1e-300, 0}, {1e-300, 1e-300}, {0.5, -0.5}},
      {{1e300, 0}, {1e300, 1e300}, {0.5, -0.5}},
      // 2^-1042: the smallest double divisor part that does not count as zero.
      {{0x1p-1042, 0x1p-1042}, {0x1p-1042, 0}, {1, 1}},
      {{0x1p-100, 0}, {-0x1p-1070, 0x1p-1042}, {-0x1p914, -0x1p942}},
  };
  for (const auto& c : cases) {
    const ZqvCplxD q = zqvzDiv(c.a, c.b);
    EXPECT_NEAR(q.re, c.q.re, std::fabs(c.q.re) * 1e-15) << c.b.re;
    EXPECT_NEAR(q.im, c.q.im, std::fabs(c.q.im) * 1e-15) << c.b.re;
  }
  const ZqvCplxS qs = zqvcDiv({1, 0}, {0, 2});
  EXPECT_TRUE(sameBits(qs, ZqvCplxS{0, -0.5f}));
  const ZqvCplxS tiny = zqvcDiv({0x1p-149f, 0}, {0x1p-149f, 0x1p-149f});
  EXPECT_TRUE(sameBits(tiny, ZqvCplxS{0.5f, -0.5f}));
  EXPECT_TRUE(reportsAre({}));
  EXPECT_EQ(zqvGetErrStatus(), 0);

  // Double divisors whose parts both lie below 2^-1042 count as zero (the
  // float divisor above does not: only all bits but the sign clear do).
  const ZqvCplxD zeroLike[] = {{1e-320, 0}, {0x1p-1074, 0x1p-1074}, {-0x1.fffp-1043, 0x1p-1060}};
  for (const auto& b : zeroLike) {
    clearReports();
    EXPECT_TRUE(sameBits(zqvzDiv({1, 0}, b), ZqvCplxD{0, 0})) << b.re;
    EXPECT_TRUE(reportsAre({{ZQV_BAD_ARGUMENT, "zqvzDiv", "(b.re==0.0)&&(b.im==0.0)", "zqvarith"}})) << b.re;
  }
}

TEST_F(Arith, CopySetZeroKeepBitPatterns) {
  const float nanBits = std::bit_cast<float>(0x7fa00001u);  // a signalling NaN
  std::vector<float> v(9, 1.0f);
  zqvsbSet(nanBits, v.data(), 9);
  for (float x : v) EXPECT_EQ(std::bit_cast<uint32_t>(x), 0x7fa00001u);
  std::vector<double> d = {1, std::bit_cast<double>(0xfff8000000000123ull), -0.0};
  std::vector<double> e(3);
  zqvdbCopy(d.data(), e.data(), 3);
  for (int i = 0; i < 3; ++i) EXPECT_TRUE(sameBits(d[i], e[i]));
  zqvdbZero(e.data(), 3);
  for (double x : e) EXPECT_EQ(std::bit_cast<uint64_t>(x), 0u);
  ZqvCplxD z[2];
  zqvzbSet({1, -0.0}, z, 2);
  EXPECT_TRUE(sameBits(z[1], ZqvCplxD{1, -0.0}));
}

TEST_F(Arith, OverlappingCopyInEitherDirection) {
  std::vector<float> up = {1, 2, 3, 4, 5, 0};
  zqvsbCopy(up.data(), up.data() + 1, 5);
  EXPECT_EQ(up, (std::vector<float>{1, 1, 2, 3, 4, 5}));
  std::vector<float> down = {0, 1, 2, 3, 4, 5};
  zqvsbCopy(down.data() + 1, down.data(), 5);
  EXPECT_EQ(down, (std::vector<float>{1, 2, 3, 4, 5, 5}));
}

// ---- Conjugate forms

std::vector<ZqvCplxS> cvec(std::initializer_list<ZqvCplxS> l) { return l; }

::testing::AssertionResult sameVector(const std::vector<ZqvCplxS>& got, const std::vector<ZqvCplxS>& want) {
  if (got.size() == want.size() && std::memcmp(got.data(), want.data(), got.size() * sizeof(ZqvCplxS)) == 0)
    return ::testing::AssertionSuccess();
  auto out = ::testing::AssertionFailure();
  for (const auto& c : got) out << "(" << c.re << "," << c.im << ") ";
  return out;
}

TEST_F(Arith, ConjugateExtendMirrorsTheFirstEvenCount) {
  auto odd = cvec({{1, 2}, {3, 4}, {5, 6}, {0, 0}, {0, 0}});
  zqvcbConjExtend1(odd.data(), 3);
  EXPECT_TRUE(sameVector(odd, cvec({{1, 2}, {3, 4}, {5, 6}, {3, -4}, {1, -2}})));
  auto even = cvec({{1, 2}, {3, 4}, {0, 0}, {0, 0}});
  zqvcbConjExtend1(even.data(), 2);
  EXPECT_TRUE(sameVector(even, cvec({{1, 2}, {3, 4}, {3, -4}, {1, -2}})));
  auto one = cvec({{1, 2}, {9, 9}});
  zqvcbConjExtend1(one.data(), 1);
  EXPECT_TRUE(sameVector(one, cvec({{1, 2}, {9, 9}})));

  const auto src = cvec({{1, 2}, {3, 4}, {5, 6}});
  std::vector<ZqvCplxS> dst(5);
  zqvcbConjExtend2(src.data(), dst.data(), 3);
  EXPECT_TRUE(sameVector(dst, cvec({{1, 2}, {3, 4}, {5, 6}, {3, -4}, {1, -2}})));
  // Source inside the destination's room: it is moved before the mirror is read.
  auto shifted = cvec({{0, 0}, {1, 2}, {3, 4}, {0, 0}, {0, 0}});
  zqvcbConjExtend2(shifted.data() + 1, shifted.data(), 2);
  EXPECT_TRUE(sameVector(shifted, cvec({{1, 2}, {3, 4}, {3, -4}, {1, -2}, {0, 0}})));

  ZqvCplxD z[4] = {{1, 2}, {3, 4}};
  zqvzbConjExtend1(z, 2);
  EXPECT_TRUE(sameBits(z[2], ZqvCplxD{3, -4}));
  EXPECT_TRUE(sameBits(z[3], ZqvCplxD{1, -2}));
}

// Conj2 and ConjFlip2 with the destination apart from, equal to, or shifted
// against the source in either direction.
TEST_F(Arith, ConjugateCopiesWithAnyOverlap) {
  const int32_t n = 7;
  const auto base = randomVector<ZqvCplxS>(n, 6);
  std::vector<ZqvCplxS> conj(n), flip(n);
  for (int32_t i = 0; i < n; ++i) {
    conj[i] = {base[i].re, -base[i].im};
    flip[n - 1 - i] = conj[i];
  }
  for (int shift : {-2, -1, 0, 1, 3, 100}) {
    SCOPED_TRACE(shift);
    for (bool flipped : {false, true}) {
      std::vector<ZqvCplxS> buf(3 * n + 200);
      const size_t srcAt = n;
      std::copy(base.begin(), base.end(), buf.begin() + srcAt);
      ZqvCplxS* dst = buf.data() + srcAt + shift;
      (flipped ? zqvcbConjFlip2 : zqvcbConj2)(buf.data() + srcAt, dst, n);
      EXPECT_TRUE(sameVector(std::vector<ZqvCplxS>(dst, dst + n), flipped ? flip : conj));
    }
  }
  auto v = base;
  zqvcbConj1(v.data(), n);
  EXPECT_TRUE(sameVector(v, conj));
  ZqvCplxD z[3] = {{1, 2}, {3, 4}, {5, 6}};
  zqvzbConjFlip2(z, z, 3);
  EXPECT_TRUE(sameBits(z[0], ZqvCplxD{5, -6}));
  EXPECT_TRUE(sameBits(z[1], ZqvCplxD{3, -4}));
  EXPECT_TRUE(sameBits(z[2], ZqvCplxD{1, -2}));
}

// ---- Argument checks and the status

TEST_F(Arith, ArgumentErrorsAreReportedInOrderAndNothingIsWritten) {
  float f[4] = {1, 2, 3, 4};
  double d[4] = {1, 2, 3, 4};
  ZqvCplxS c[4] = {{1, 1}, {2, 2}, {3, 3}, {4, 4}};
  ZqvCplxD z[4] = {{1, 1}, {2, 2}, {3, 3}, {4, 4}};
  const float f0[4] = {1, 2, 3, 4};
  const double d0[4] = {1, 2, 3, 4};
  const ZqvCplxS c0[4] = {{1, 1}, {2, 2}, {3, 3}, {4, 4}};
  const ZqvCplxD z0[4] = {{1, 1}, {2, 2}, {3, 3}, {4, 4}};
  const int32_t E = ZQV_BAD_ARGUMENT;
  const char* M = "zqvarith";
  const std::vector<ReportRow> rows = {
      {[&] { zqvsbZero(nullptr, 0); }, {{E, "zqvsbZero", "n<=0", M}, {E, "zqvsbZero", "dst==0", M}}},
      {[&] { zqvdbZero(d, -3); }, {{E, "zqvdbZero", "n<=0", M}}},
      {[&] { zqvsbSet(5, f, 0); }, {{E, "zqvsbSet", "n<=0", M}}},
      {[&] { zqvzbSet({1, 1}, nullptr, 4); }, {{E, "zqvzbSet", "dst==0", M}}},
      {[&] { zqvcbCopy(nullptr, nullptr, -1); },
       {{E, "zqvcbCopy", "n<=0", M}, {E, "zqvcbCopy", "src==0", M}, {E, "zqvcbCopy", "dst==0", M}}},
      {[&] { zqvsbAdd1(1, nullptr, 4); }, {{E, "zqvsbAdd1", "dst==0", M}}},
      {[&] { zqvsbSub1(1, f, 0); }, {{E, "zqvsbSub1", "n<=0", M}}},
      {[&] { zqvsbMpy1(2, nullptr, 0); }, {{E, "zqvsbMpy1", "n<=0", M}, {E, "zqvsbMpy1", "dst==0", M}}},
      {[&] { zqvzbMpy1({2, 0}, nullptr, 4); }, {{E, "zqvzbMpy1", "dst==0", M}}},
      {[&] { zqvdbAdd2(nullptr, d, 4); }, {{E, "zqvdbAdd2", "src==0", M}}},
      {[&] { zqvsbSub2(nullptr, f, 4); }, {{E, "zqvsbSub2", "val==0", M}}},
      {[&] { zqvcbSub2(c0, nullptr, 0); }, {{E, "zqvcbSub2", "n<=0", M}, {E, "zqvcbSub2", "dst==0", M}}},
      {[&] { zqvsbMpy2(nullptr, f, 4); }, {{E, "zqvsbMpy2", "src==0", M}}},
      {[&] { zqvdbAdd3(nullptr, nullptr, nullptr, 0); },
       {{E, "zqvdbAdd3", "n<=0", M}, {E, "zqvdbAdd3", "srcA==0", M}, {E, "zqvdbAdd3", "srcB==0", M},
        {E, "zqvdbAdd3", "dst==0", M}}},
      {[&] { zqvsbSub3(nullptr, nullptr, f, 4); }, {{E, "zqvsbSub3", "src==0", M}, {E, "zqvsbSub3", "val==0", M}}},
      {[&] { zqvzbSub3(z0, nullptr, z, 4); }, {{E, "zqvzbSub3", "val==0", M}}},
      {[&] { zqvcbMpy3(c0, nullptr, c, 4); }, {{E, "zqvcbMpy3", "srcB==0", M}}},
      {[&] { zqvdbMpy3(nullptr, d0, d, 4); }, {{E, "zqvdbMpy3", "srcA==0", M}}},
      {[&] { zqvcbConj1(nullptr, 0); }, {{E, "zqvcbConj1", "n<=0", M}, {E, "zqvcbConj1", "vec==0", M}}},
      {[&] { zqvzbConj2(nullptr, z, 4); }, {{E, "zqvzbConj2", "src==0", M}}},
      {[&] { zqvcbConjFlip2(c0, nullptr, 4); }, {{E, "zqvcbConjFlip2", "dst==0", M}}},
      {[&] { zqvzbConjExtend1(nullptr, 2); }, {{E, "zqvzbConjExtend1", "vec==0", M}}},
      {[&] { zqvcbConjExtend2(c0, c, 0); }, {{E, "zqvcbConjExtend2", "n<=0", M}}},
      {[&] { EXPECT_TRUE(sameBits(zqvcDiv({1, 2}, {-0.0f, 0}), ZqvCplxS{0, 0})); },
       {{E, "zqvcDiv", "(b.re==0.0)&&(b.im==0.0)", M}}},
      {[&] { EXPECT_TRUE(sameBits(zqvzDiv({1, 2}, {0, -0.0}), ZqvCplxD{0, 0})); },
       {{E, "zqvzDiv", "(b.re==0.0)&&(b.im==0.0)", M}}},
  };
  expectReportRows(rows);
  EXPECT_EQ(std::memcmp(f, f0, sizeof f), 0);
  EXPECT_EQ(std::memcmp(d, d0, sizeof d), 0);
  EXPECT_EQ(std::memcmp(c, c0, sizeof c), 0);
  EXPECT_EQ(std::memcmp(z, z0, sizeof z), 0);
}

TEST_F(Arith, NothingIsDoneWhileTheStatusIsNegative) {
  zqvsbMpy1(2, nullptr, 4);  // leaves the status negative
  clearReports();
  float f[3] = {1, 2, 3};
  ZqvCplxS a[2] = {{1, 2}, {3, 4}}, c[2] = {};
  ZqvCplxD z[4] = {{1, 2}, {3, 4}};
  zqvsbMpy1(2, f, 3);
  zqvsbSet(0, f, 3);
  zqvcbMpy3(a, a, c, 2);
  zqvzbConjExtend1(z, 2);
  EXPECT_EQ(f[0], 1);
  EXPECT_EQ(f[2], 3);
  EXPECT_EQ(c[1].re, 0);
  EXPECT_EQ(z[2].re, 0);
  EXPECT_TRUE(reportsAre({}));
  // A status left by someone else is kept as well.
  zqvSetErrStatus(ZQV_OUT_OF_MEMORY);
  zqvsbAdd1(1, f, 3);
  EXPECT_EQ(f[0], 1);
  EXPECT_EQ(zqvGetErrStatus(), ZQV_OUT_OF_MEMORY);
}

}  // namespace
