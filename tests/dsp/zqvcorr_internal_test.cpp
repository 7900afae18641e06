// Correlation: both methods of every floating-point member forced against
// the definitions summed in long double, and the method choice.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <random>
#include <vector>

#include "analysis/detail/zqvcorrgen.h"

namespace {

using namespace zqvcorr;
using LD = long double;
using CL = std::complex<LD>;

CL toL(float v) { return {v, 0}; }
CL toL(double v) { return {v, 0}; }
CL toL(ZqvCplxS v) { return {v.re, v.im}; }
CL toL(ZqvCplxD v) { return {v.re, v.im}; }

template <class T>
std::vector<T> randomVec(int64_t n, std::mt19937& gen) {
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  std::vector<T> v(static_cast<size_t>(n));
  for (T& e : v) {
    if constexpr (zqvconv::IsCplx<T>::value) e = {static_cast<decltype(e.re)>(u(gen)), static_cast<decltype(e.re)>(u(gen))};
    else e = static_cast<T>(u(gen));
  }
  return v;
}

// Cross-correlation as defined: r[lag] = sum over 0 <= m < lenA with
// 0 <= m + lag < lenB of conj(a[m]) b[m + lag]; a lag without terms is 0.
template <class A, class B>
std::vector<CL> crossByDefinition(const std::vector<A>& a, const std::vector<B>& b, int64_t lo, int64_t hi) {
  std::vector<CL> r;
  for (int64_t lag = lo; lag <= hi; ++lag) {
    CL s = 0;
    for (int64_t m = 0; m < static_cast<int64_t>(a.size()); ++m)
      if (m + lag >= 0 && m + lag < static_cast<int64_t>(b.size())) s += std::conj(toL(a[m])) * toL(b[m + lag]);
    r.push_back(s);
  }
  return r;
}

struct LagCase {
  int64_t lenA, lenB, lo, hi;
};
const LagCase kLagCases[] = {{1, 1, 0, 0},     {7, 7, 0, 0},      {16, 16, -15, 15}, {17, 9, -20, 20},
                             {63, 64, -3, 60}, {65, 33, 40, 100}, {200, 150, -1, 126}, {1000, 1000, -129, 127},
                             {5, 8, 8, 12},    {31, 32, -40, -32}};

template <class C, class A, class B, class Y>
void expectBothMethods(LD eps, const char* what) {
  std::mt19937 gen(5);
  for (const LagCase& c : kLagCases) {
    const auto a = randomVec<A>(c.lenA, gen);
    const auto b = randomVec<B>(c.lenB, gen);
    const auto ref = crossByDefinition(a, b, c.lo, c.hi);
    const LD bound = eps * 8 * (std::log2(static_cast<LD>(ref.size())) + 2) * std::sqrt(static_cast<LD>(c.lenA));
    std::vector<Y> direct(ref.size()), transform(ref.size());
    crossDirect(a.data(), c.lenA, b.data(), c.lenB, direct.data(), c.lo, c.hi);
    ASSERT_TRUE(crossTransform<C>(a.data(), c.lenA, b.data(), c.lenB, transform.data(), c.lo, c.hi));
    for (size_t i = 0; i < ref.size(); ++i) {
      EXPECT_LE(std::abs(toL(direct[i]) - ref[i]), eps * 4 * c.lenA)
          << what << " direct lag " << c.lo + static_cast<int64_t>(i);
      EXPECT_LE(std::abs(toL(transform[i]) - ref[i]), bound)
          << what << " transform lag " << c.lo + static_cast<int64_t>(i) << " lenA " << c.lenA;
    }
  }
}

TEST(CorrMethods, BothMethodsGiveTheDefinition) {
  const LD s = 0x1p-24L, d = 0x1p-53L;
  expectBothMethods<ZqvCplxS, float, float, float>(s, "s");
  expectBothMethods<ZqvCplxS, float, ZqvCplxS, ZqvCplxS>(s, "sc");
  expectBothMethods<ZqvCplxS, ZqvCplxS, float, ZqvCplxS>(s, "cs");
  expectBothMethods<ZqvCplxS, ZqvCplxS, ZqvCplxS, ZqvCplxS>(s, "c");
  expectBothMethods<ZqvCplxD, double, double, double>(d, "d");
  expectBothMethods<ZqvCplxD, double, ZqvCplxD, ZqvCplxD>(d, "dz");
  expectBothMethods<ZqvCplxD, ZqvCplxD, double, ZqvCplxD>(d, "zd");
  expectBothMethods<ZqvCplxD, ZqvCplxD, ZqvCplxD, ZqvCplxD>(d, "z");
}

// The real members pack both operands into one transform. A quiet operand
// against a loud one, either way round, keeps the accuracy of operands of
// one level: max |error| / max |r| within one bound at every scale, lags on
// both sides of zero or on one. A scale of 2^-20 gives exactly the unscaled
// results times 2^-20.
struct ScaleCase {
  int64_t lenA, lenB, lo, hi;
};
const ScaleCase kScaleCases[] = {
    {1500, 1500, -600, 600}, {300, 4000, -300, 3999}, {1500, 1500, -1200, -200}, {1000, 2500, 100, 1300}};

template <class C, class R>
void expectAccuracyWhateverTheScales(LD eps, const char* what) {
  std::mt19937 gen(23);
  for (const ScaleCase& c : kScaleCases) {
    const auto a0 = randomVec<R>(c.lenA, gen), b0 = randomVec<R>(c.lenB, gen);
    const size_t count = static_cast<size_t>(c.hi - c.lo + 1);
    std::vector<R> plain(count);
    ASSERT_TRUE(crossTransform<C>(a0.data(), c.lenA, b0.data(), c.lenB, plain.data(), c.lo, c.hi));
    const LD bound = eps * 4 * std::log2(static_cast<LD>(2 * count));
    for (bool quietA : {false, true}) {
      for (LD scale : {1.0L, 0x1p-20L, 1e-6L, 1e6L}) {
        SCOPED_TRACE(testing::Message() << what << " " << c.lenA << " x " << c.lenB << " lags " << c.lo << ".." << c.hi
                                        << (quietA ? " srcA" : " srcB") << " times " << static_cast<double>(scale));
        auto a = a0, b = b0;
        for (R& v : quietA ? a : b) v = static_cast<R>(v * scale);
        const auto ref = crossByDefinition(a, b, c.lo, c.hi);
        std::vector<R> got(count);
        ASSERT_TRUE(crossTransform<C>(a.data(), c.lenA, b.data(), c.lenB, got.data(), c.lo, c.hi));
        LD err = 0, top = 0;
        for (size_t i = 0; i < count; ++i) {
          err = std::max(err, std::abs(toL(got[i]) - ref[i]));
          top = std::max(top, std::abs(ref[i]));
        }
        EXPECT_LE(err / top, bound);
        if (scale == 0x1p-20L) {
          size_t differing = 0;
          for (size_t i = 0; i < count; ++i) differing += got[i] != plain[i] * R(0x1p-20);
          EXPECT_EQ(differing, 0u) << "of " << count << " lags differ from the unscaled results times 2^-20";
        }
      }
    }
  }
}

TEST(CorrMethods, RealCrossTransformKeepsItsAccuracyWhateverTheOperandsScales) {
  expectAccuracyWhateverTheScales<ZqvCplxS, float>(0x1p-24L, "s");
  expectAccuracyWhateverTheScales<ZqvCplxD, double>(0x1p-53L, "d");
}

// Which operand is scaled up, and by how much, from the largest magnitudes:
// the smaller one to the larger one's binade; nothing for maxima whose
// exponents are at most 1 apart, nor where either operand is zero,
// subnormal only, infinite or NaN.
TEST(CorrMethods, BalancingShiftOfTheLargestMagnitudes) {
  auto bits = [](float v) {
    uint32_t u;
    std::memcpy(&u, &v, sizeof u);
    return u & 0x7FFFFFFFu;
  };
  const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
  struct Case {
    float a, b;
    int32_t shift;
  } const cases[] = {{1.0f, 1.0f, 0},     {1.9f, 0.51f, 0},      {0.5f, 1.99f, 0},       {1.0f, 0.2f, 3},
                     {0.2f, 1.0f, -3},    {1e6f, 1.0f, 19},      {1.0f, 1e6f, -19},      {-3.0f, 0x1p-20f, 21},
                     {0x1p-20f, -1.0f, -20}, {0.0f, 1e-6f, 0},   {1e-6f, 0.0f, 0},       {1.0f, 1e-40f, 0},
                     {1e-40f, 1.0f, 0},   {inf, 1e-6f, 0},       {1e-6f, -inf, 0},       {nan, 1e-6f, 0},
                     {1e-6f, nan, 0}};
  for (const Case& c : cases)
    EXPECT_EQ((balancingShift<float>(bits(c.a), bits(c.b), 1000, 1024, 11)), c.shift) << c.a << " " << c.b;
}

// Near the ends of the range the balance stops short: of products that
// could overflow (constant operands, whose spectra reach their bounds) and
// of an undoing factor below the normal range (flushed to zero it would
// wipe out every output). The outputs stay finite and not all zero, and
// are no less accurate than unbalanced ones (garbage there, as before).
template <class C, class R>
void expectFiniteAtTheRangeEnds(int32_t eA, int32_t eB, bool constant) {
  SCOPED_TRACE(testing::Message() << "2^" << eA << " against 2^" << eB << (constant ? " constant" : " random"));
  std::mt19937 gen(29);
  auto a = randomVec<R>(1000, gen), b = randomVec<R>(1000, gen);
  if (constant) std::fill(a.begin(), a.end(), R(1)), std::fill(b.begin(), b.end(), R(1));
  for (R& v : a) v = std::ldexp(v, eA);
  for (R& v : b) v = std::ldexp(v, eB);
  std::vector<R> got(201);
  ASSERT_TRUE(crossTransform<C>(a.data(), 1000, b.data(), 1000, got.data(), -100, 100));
  R top = 0;
  for (size_t i = 0; i < got.size(); ++i) {
    ASSERT_TRUE(std::isfinite(got[i])) << "lag " << static_cast<int64_t>(i) - 100;
    top = std::max(top, std::abs(got[i]));
  }
  EXPECT_GT(top, R(0));
}

TEST(CorrMethods, RealCrossTransformStaysFiniteAtTheRangeEnds) {
  expectFiniteAtTheRangeEnds<ZqvCplxS, float>(60, 30, true);
  expectFiniteAtTheRangeEnds<ZqvCplxS, float>(-125, 20, false);
  expectFiniteAtTheRangeEnds<ZqvCplxD, double>(510, 255, true);
  expectFiniteAtTheRangeEnds<ZqvCplxD, double>(-1021, 100, false);
}

// Auto-correlation as defined: r[k] = sum over m of conj(x[m]) x[m + k].
template <class T>
std::vector<CL> autoByDefinition(const std::vector<T>& x, int64_t lags) {
  return crossByDefinition(x, x, 0, lags - 1);
}

// Lengths and lag counts: one block, a partial last block, lags = len, a
// single lag, lag counts just above and at a power of two.
const int64_t kAutoCases[][2] = {{1, 1}, {2, 1}, {2, 2}, {5, 3}, {16, 16}, {17, 8}, {100, 33}, {1000, 64}, {1000, 65}, {4099, 100}};

template <class C, class T>
void expectAutoTransform(LD eps, const char* what) {
  std::mt19937 gen(7);
  for (const auto& c : kAutoCases) {
    const int64_t n = c[0], lags = c[1];
    const auto x = randomVec<T>(n, gen);
    const auto ref = autoByDefinition(x, lags);
    const LD bound = eps * 8 * (std::log2(static_cast<LD>(lags)) + 2) * std::sqrt(static_cast<LD>(n));
    std::vector<T> got(static_cast<size_t>(lags));
    ASSERT_TRUE(autoTransform<C>(x.data(), n, got.data(), lags));
    for (int64_t k = 0; k < lags; ++k)
      EXPECT_LE(std::abs(toL(got[k]) - ref[k]), bound) << what << " n " << n << " lag " << k;
  }
}

TEST(CorrMethods, AutoTransformGivesTheDefinition) {
  expectAutoTransform<ZqvCplxS, float>(0x1p-24L, "s");
  expectAutoTransform<ZqvCplxS, ZqvCplxS>(0x1p-24L, "c");
  expectAutoTransform<ZqvCplxD, double>(0x1p-53L, "d");
  expectAutoTransform<ZqvCplxD, ZqvCplxD>(0x1p-53L, "z");
}

// The estimates written out from their definitions, to find where each
// member's choice turns.
double fftUnits(int64_t t) {
  int64_t lg = 0;
  for (int64_t v = t; v > 1; v >>= 1) ++lg;
  return static_cast<double>(lg * t / 2) * 24.0;
}
double unpackUnits(int64_t t) { return t == 1 ? 8.0 : 8.0 + static_cast<double>(t / 2 - 1) * 40.0; }
double mergeUnits(int64_t t) { return t == 1 ? 8.0 : 8.0 + static_cast<double>(t / 2 - 1) * 36.0; }
bool estimateSaysTransform(Estimate e, int64_t n, int64_t c) {
  int64_t b = 1;
  while (b < c) b *= 2;
  const double blocks = static_cast<double>((n + b - 1) / b), bb = static_cast<double>(b);
  double autoSum = 0;
  for (int64_t k = 0; k < c && k < n; ++k) autoSum += static_cast<double>(n - k);
  const double nc = static_cast<double>(n * c);
  switch (e) {
    case Estimate::RealAuto:
      return blocks * (fftUnits(b) + unpackUnits(b) + 20 * bb) + mergeUnits(b) + fftUnits(b) < 4 * autoSum;
    case Estimate::CplxAuto:
      return 2 * fftUnits(2 * b) + 12 * bb + (blocks - 1) * (fftUnits(2 * b) + 40 * bb) < 11 * autoSum;
    case Estimate::RealCross:
      return blocks * (0.75 * fftUnits(2 * b) + 16 * bb + 14 * bb) + mergeUnits(b) + 0.75 * fftUnits(b) < 4 * nc;
    case Estimate::MixedCross:
      return blocks * (2 * fftUnits(2 * b) + unpackUnits(2 * b) + 28 * bb) + fftUnits(2 * b) < 8 * nc;
    case Estimate::CplxCross: return blocks * (2 * fftUnits(2 * b) + 28 * bb) + fftUnits(2 * b) < 14 * nc;
  }
  return false;
}

// The transform method is the one that takes work memory: counted here, or
// refused to force the direct fallback.
int gAllocations = 0;
bool gRefuse = false;
void* countingCalloc(std::size_t count, std::size_t size) {
  ++gAllocations;
  return gRefuse ? nullptr : std::calloc(count, size);
}

struct AllocatorHook {
  AllocatorHook() { zqvconv::workAlloc = &countingCalloc; }
  ~AllocatorHook() {
    zqvconv::workAlloc = &std::calloc;
    gRefuse = false;
  }
};

// The first input length at which the member turns to the transform, for a
// lag count; 0 when it does so from the shortest input on (no edge to test).
int64_t firstTransformLength(Estimate e, int64_t c, int64_t shortest) {
  for (int64_t n = shortest; n < 20000; ++n)
    if (estimateSaysTransform(e, n, c)) return n > shortest ? n : 0;
  return 0;
}

// Runs one export just below and at its crossover, for two lag counts:
// below it sums directly (no work memory), at it the transform runs; both
// give the definition. With work memory refused at the crossover the direct
// sums come back, bit for bit, and nothing is reported.
template <class A, class B, class Y, class Call>
void expectCrossEdges(Estimate e, LD eps, const char* what, Call call) {
  AllocatorHook hook;
  std::mt19937 gen(11);
  int tested = 0;
  for (int64_t c : {3, 20, 64, 100}) {
    const int64_t lo = -c / 3, hi = lo + c - 1;
    const int64_t n0 = firstTransformLength(e, c, 1);
    if (n0 == 0) continue;
    ++tested;
    for (int64_t n : {n0 - 1, n0}) {
      SCOPED_TRACE(testing::Message() << what << " lags " << c << " lenA " << n << " edge " << n0);
      const auto a = randomVec<A>(n, gen);
      const auto b = randomVec<B>(n + 5, gen);
      const auto ref = crossByDefinition(a, b, lo, hi);
      const LD bound = eps * 8 * (std::log2(static_cast<LD>(c)) + 2) * std::sqrt(static_cast<LD>(n));
      std::vector<Y> got(static_cast<size_t>(c));
      gAllocations = 0;
      call(a.data(), n, b.data(), n + 5, got.data(), lo, hi);
      EXPECT_EQ(gAllocations > 0, n == n0);
      for (int64_t i = 0; i < c; ++i) ASSERT_LE(std::abs(toL(got[i]) - ref[i]), bound) << "lag " << lo + i;
      if (n == n0) {
        std::vector<Y> fallback(static_cast<size_t>(c)), direct(static_cast<size_t>(c));
        gRefuse = true;
        call(a.data(), n, b.data(), n + 5, fallback.data(), lo, hi);
        gRefuse = false;
        crossDirect(a.data(), n, b.data(), n + 5, direct.data(), lo, hi);
        EXPECT_EQ(0, std::memcmp(fallback.data(), direct.data(), direct.size() * sizeof(Y)));
        EXPECT_EQ(zqvGetErrStatus(), 0);
      }
    }
  }
  EXPECT_GE(tested, 2) << what;
}

template <class T, class Call>
void expectAutoEdges(Estimate e, LD eps, const char* what, Call call) {
  AllocatorHook hook;
  std::mt19937 gen(13);
  int tested = 0;
  for (int64_t lags : {16, 20, 32, 33, 64, 100}) {
    const int64_t n0 = firstTransformLength(e, lags, lags);
    if (n0 == 0) continue;
    ++tested;
    for (int64_t n : {n0 - 1, n0}) {
      SCOPED_TRACE(testing::Message() << what << " lags " << lags << " len " << n << " edge " << n0);
      const auto x = randomVec<T>(n, gen);
      const auto ref = autoByDefinition(x, lags);
      const LD bound = eps * 8 * (std::log2(static_cast<LD>(lags)) + 2) * std::sqrt(static_cast<LD>(n));
      std::vector<T> got(static_cast<size_t>(lags));
      gAllocations = 0;
      call(x.data(), n, got.data(), lags, 0);
      EXPECT_EQ(gAllocations > 0, n == n0);
      for (int64_t k = 0; k < lags; ++k) ASSERT_LE(std::abs(toL(got[k]) - ref[k]), bound) << "lag " << k;
    }
  }
  EXPECT_GE(tested, 2) << what;
}

TEST(CorrMethods, EveryMemberOnBothSidesOfItsCrossover) {
  const LD s = 0x1p-24L, d = 0x1p-53L;
  auto cast = [](auto f) {
    return [f](const auto* a, int64_t la, const auto* b, int64_t lb, auto* y, int64_t lo, int64_t hi) {
      f(a, static_cast<int32_t>(la), b, static_cast<int32_t>(lb), y, static_cast<int32_t>(lo), static_cast<int32_t>(hi));
    };
  };
  expectCrossEdges<float, float, float>(Estimate::RealCross, s, "zqvsCrossCorr", cast(zqvsCrossCorr));
  expectCrossEdges<double, double, double>(Estimate::RealCross, d, "zqvdCrossCorr", cast(zqvdCrossCorr));
  expectCrossEdges<float, ZqvCplxS, ZqvCplxS>(Estimate::MixedCross, s, "zqvscCrossCorr", cast(zqvscCrossCorr));
  expectCrossEdges<double, ZqvCplxD, ZqvCplxD>(Estimate::MixedCross, d, "zqvdzCrossCorr", cast(zqvdzCrossCorr));
  expectCrossEdges<ZqvCplxS, float, ZqvCplxS>(Estimate::MixedCross, s, "zqvcsCrossCorr", cast(zqvcsCrossCorr));
  expectCrossEdges<ZqvCplxD, double, ZqvCplxD>(Estimate::MixedCross, d, "zqvzdCrossCorr", cast(zqvzdCrossCorr));
  expectCrossEdges<ZqvCplxS, ZqvCplxS, ZqvCplxS>(Estimate::CplxCross, s, "zqvcCrossCorr", cast(zqvcCrossCorr));
  expectCrossEdges<ZqvCplxD, ZqvCplxD, ZqvCplxD>(Estimate::CplxCross, d, "zqvzCrossCorr", cast(zqvzCrossCorr));
  auto castAuto = [](auto f) {
    return [f](const auto* x, int64_t n, auto* y, int64_t lags, int32_t norm) {
      f(x, static_cast<int32_t>(n), y, static_cast<int32_t>(lags), norm);
    };
  };
  expectAutoEdges<float>(Estimate::RealAuto, s, "zqvsAutoCorr", castAuto(zqvsAutoCorr));
  expectAutoEdges<double>(Estimate::RealAuto, d, "zqvdAutoCorr", castAuto(zqvdAutoCorr));
  expectAutoEdges<ZqvCplxS>(Estimate::CplxAuto, s, "zqvcAutoCorr", castAuto(zqvcAutoCorr));
  expectAutoEdges<ZqvCplxD>(Estimate::CplxAuto, d, "zqvzAutoCorr", castAuto(zqvzAutoCorr));
}

// The float separation of two real spectra runs in vectors: the same bits
// as the scalar walk, at every transform length.
TEST(CorrMethods, SeparatedProductsInVectorsGiveTheScalarBits) {
  std::mt19937 gen(17);
  for (int64_t m = 2; m <= (1 << 13); m *= 2) {
    const auto z = randomVec<ZqvCplxS>(m, gen);
    auto vec = randomVec<ZqvCplxS>(m / 2, gen);
    auto scalar = vec;
    addSeparatedProducts(vec.data(), z.data(), m);
    addSeparatedProductsScalar(scalar.data(), z.data(), m);
    EXPECT_EQ(0, std::memcmp(vec.data(), scalar.data(), scalar.size() * sizeof(ZqvCplxS))) << m;
  }
}

// Normalisation by the length: the direct sums are multiplied by 1/len, the
// transform's results divided by len; by the number of terms, both divide.
TEST(CorrMethods, NormalisationOfEachMethod) {
  std::mt19937 gen(19);
  struct Case {
    int64_t n, lags;
    bool transform;
  };
  for (const Case& c : {Case{3000, 1024, true}, Case{3000, 3, false}}) {
    ASSERT_EQ(transformCheaper(Estimate::RealAuto, c.n, c.lags), c.transform);
    const auto x = randomVec<float>(c.n, gen);
    std::vector<float> raw(static_cast<size_t>(c.lags));
    if (c.transform) ASSERT_TRUE(autoTransform<ZqvCplxS>(x.data(), c.n, raw.data(), c.lags));
    else crossDirect(x.data(), c.n, x.data(), c.n, raw.data(), 0, c.lags - 1);
    for (int32_t type : {1, 2}) {
      std::vector<float> got(static_cast<size_t>(c.lags));
      zqvsAutoCorr(x.data(), static_cast<int32_t>(c.n), got.data(), static_cast<int32_t>(c.lags), type);
      for (int64_t k = 0; k < c.lags; ++k) {
        const float want = type == 2   ? raw[k] / static_cast<float>(c.n - k)
                           : c.transform ? raw[k] / static_cast<float>(c.n)
                                         : raw[k] * (1.0f / static_cast<float>(c.n));
        ASSERT_EQ(got[k], want) << "type " << type << " lag " << k << " transform " << c.transform;
      }
    }
  }
}

TEST(CorrMethods, TransformsRunUnderAStaleNegativeStatusWhichIsGivenBack) {
  std::mt19937 gen(9);
  const auto a = randomVec<float>(300, gen);
  std::vector<float> direct(64), transform(64);
  crossDirect(a.data(), 300, a.data(), 300, direct.data(), 0, 63);
  zqvSetErrStatus(ZQV_BAD_ARGUMENT);
  ASSERT_TRUE(crossTransform<ZqvCplxS>(a.data(), 300, a.data(), 300, transform.data(), 0, 63));
  EXPECT_EQ(zqvGetErrStatus(), ZQV_BAD_ARGUMENT);
  zqvSetErrStatus(0);
  for (int i = 0; i < 64; ++i) EXPECT_NEAR(transform[i], direct[i], 1e-4) << i;
}

TEST(CorrMethods, Choice) {
  // Few lags: direct; many lags over a long input: transform.
  EXPECT_FALSE(transformCheaper(Estimate::RealAuto, 1000, 1));
  EXPECT_FALSE(transformCheaper(Estimate::CplxCross, 1 << 20, 2));
  EXPECT_TRUE(transformCheaper(Estimate::RealAuto, 1 << 16, 1024));
  EXPECT_TRUE(transformCheaper(Estimate::RealCross, 1 << 16, 1024));
  EXPECT_TRUE(transformCheaper(Estimate::MixedCross, 1 << 16, 1024));
  EXPECT_TRUE(transformCheaper(Estimate::CplxAuto, 1 << 16, 1024));
  EXPECT_TRUE(transformCheaper(Estimate::CplxCross, 1 << 16, 1024));
  // A lag range of 2^32 - 1 is estimated without wrapping.
  EXPECT_FALSE(transformCheaper(Estimate::RealCross, 1, int64_t{INT32_MAX} * 2 + 1));
}

}  // namespace
