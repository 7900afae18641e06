// Correlation: both methods of every floating-point member forced against
// the definitions summed in long double, and the method choice.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
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
