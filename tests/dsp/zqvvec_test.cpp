// Vector statistics and element-wise square, square root and absolute value:
// argument checks, statistics and the float/double/complex element-wise
// routines. The 16-bit element-wise routines are in zqvvecw_test.cpp.
#include <bit>
#include <cmath>
#include <complex>
#include <cstdint>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <tuple>
#include <vector>

#include "zqv_test_support.h"

namespace {

constexpr int32_t kBad = ZQV_BAD_ARGUMENT;

// Every routine of the module with a bad length and null pointers: each
// failed check is reported under the routine's own name, in order.
std::vector<ReportRow> errorCases() {
  auto one = [](const char* f) {
    return std::vector<ExpectedReport>{{kBad, f, "len<=0", "zqvvec"}, {kBad, f, "vec==0", "zqvvec"}};
  };
  auto two = [](const char* f) {
    return std::vector<ExpectedReport>{
        {kBad, f, "len<=0", "zqvvec"}, {kBad, f, "src==0", "zqvvec"}, {kBad, f, "dst==0", "zqvvec"}};
  };
  static float fv[2];
  static int16_t wv[2];
  static int32_t factor = 0;
  return {
      {"sMean", [] { zqvsMean(nullptr, 0); }, one("zqvsMean")},
      {"sStdDev", [] { zqvsStdDev(nullptr, -1); }, one("zqvsStdDev")},
      {"sMax", [] { zqvsMax(nullptr, 0); }, one("zqvsMax")},
      {"sMin", [] { zqvsMin(nullptr, 0); }, one("zqvsMin")},
      {"dMean", [] { zqvdMean(nullptr, 0); }, one("zqvdMean")},
      {"dStdDev", [] { zqvdStdDev(nullptr, 0); }, one("zqvdStdDev")},
      {"dMax", [] { zqvdMax(nullptr, 0); }, one("zqvdMax")},
      {"dMin", [] { zqvdMin(nullptr, 0); }, one("zqvdMin")},
      {"wMean", [] { zqvwMean(nullptr, 0); }, one("zqvwMean")},
      {"wStdDev", [] { zqvwStdDev(nullptr, 0, 0, nullptr); }, one("zqvwStdDev")},
      {"wMax", [] { zqvwMax(nullptr, 0); }, one("zqvwMax")},
      {"wMin", [] { zqvwMin(nullptr, 0); }, one("zqvwMin")},
      {"sMean len only", [] { zqvsMean(fv, 0); }, {{kBad, "zqvsMean", "len<=0", "zqvvec"}}},
      {"sMax vec only", [] { zqvsMax(nullptr, 2); }, {{kBad, "zqvsMax", "vec==0", "zqvvec"}}},
      {"sbSqr1", [] { zqvsbSqr1(nullptr, 0); }, one("zqvsbSqr1")},
      {"dbSqr1", [] { zqvdbSqr1(nullptr, 0); }, one("zqvdbSqr1")},
      {"cbSqr1", [] { zqvcbSqr1(nullptr, 0); }, one("zqvcbSqr1")},
      {"zbSqr1", [] { zqvzbSqr1(nullptr, 0); }, one("zqvzbSqr1")},
      {"sbSqr2", [] { zqvsbSqr2(nullptr, nullptr, 0); }, two("zqvsbSqr2")},
      {"dbSqr2", [] { zqvdbSqr2(nullptr, nullptr, 0); }, two("zqvdbSqr2")},
      {"cbSqr2", [] { zqvcbSqr2(nullptr, nullptr, 0); }, two("zqvcbSqr2")},
      {"zbSqr2", [] { zqvzbSqr2(nullptr, nullptr, 0); }, two("zqvzbSqr2")},
      {"wbSqr1", [] { zqvwbSqr1(nullptr, 0, 0, nullptr); }, one("zqvwbSqr1")},
      {"vbSqr1", [] { zqvvbSqr1(nullptr, 0, 0, nullptr); }, one("zqvvbSqr1")},
      {"wbSqr2", [] { zqvwbSqr2(nullptr, nullptr, 0, 0, nullptr); }, two("zqvwbSqr2")},
      {"vbSqr2", [] { zqvvbSqr2(nullptr, nullptr, 0, 0, nullptr); }, two("zqvvbSqr2")},
      {"sbSqrt1", [] { zqvsbSqrt1(nullptr, 0); }, one("zqvsbSqrt1")},
      {"dbSqrt1", [] { zqvdbSqrt1(nullptr, 0); }, one("zqvdbSqrt1")},
      {"cbSqrt1", [] { zqvcbSqrt1(nullptr, 0); }, one("zqvcbSqrt1")},
      {"zbSqrt1", [] { zqvzbSqrt1(nullptr, 0); }, one("zqvzbSqrt1")},
      {"wbSqrt1", [] { zqvwbSqrt1(nullptr, 0); }, one("zqvwbSqrt1")},
      {"vbSqrt1", [] { zqvvbSqrt1(nullptr, 0); }, one("zqvvbSqrt1")},
      {"sbSqrt2", [] { zqvsbSqrt2(nullptr, nullptr, 0); }, two("zqvsbSqrt2")},
      {"dbSqrt2", [] { zqvdbSqrt2(nullptr, nullptr, 0); }, two("zqvdbSqrt2")},
      {"cbSqrt2", [] { zqvcbSqrt2(nullptr, nullptr, 0); }, two("zqvcbSqrt2")},
      {"zbSqrt2", [] { zqvzbSqrt2(nullptr, nullptr, 0); }, two("zqvzbSqrt2")},
      {"wbSqrt2", [] { zqvwbSqrt2(nullptr, nullptr, 0); }, two("zqvwbSqrt2")},
      {"vbSqrt2", [] { zqvvbSqrt2(nullptr, nullptr, 0); }, two("zqvvbSqrt2")},
      {"sbAbs1", [] { zqvsbAbs1(nullptr, 0); }, one("zqvsbAbs1")},
      {"dbAbs1", [] { zqvdbAbs1(nullptr, 0); }, one("zqvdbAbs1")},
      {"wbAbs1", [] { zqvwbAbs1(nullptr, 0); }, one("zqvwbAbs1")},
      {"sbAbs2", [] { zqvsbAbs2(nullptr, nullptr, 0); }, two("zqvsbAbs2")},
      {"dbAbs2", [] { zqvdbAbs2(nullptr, nullptr, 0); }, two("zqvdbAbs2")},
      {"wbAbs2", [] { zqvwbAbs2(nullptr, nullptr, 0); }, two("zqvwbAbs2")},
      {"sbSqrt2 dst only", [] { zqvsbSqrt2(fv, nullptr, 2); }, {{kBad, "zqvsbSqrt2", "dst==0", "zqvvec"}}},
      // Automatic scaling needs a factor pointer; checked after the others.
      {"wStdDev auto", [] { zqvwStdDev(wv, 2, ZQV_AUTO_SCALE, nullptr); },
       {{kBad, "zqvwStdDev", "scaleFactor==0", "zqvvec"}}},
      {"wbSqr1 auto", [] { zqvwbSqr1(wv, 2, ZQV_AUTO_SCALE | ZQV_SATURATE, nullptr); },
       {{kBad, "zqvwbSqr1", "scaleFactor==0", "zqvvec"}}},
      {"wbSqr2 auto", [] { zqvwbSqr2(wv, wv, 2, ZQV_AUTO_SCALE, nullptr); },
       {{kBad, "zqvwbSqr2", "scaleFactor==0", "zqvvec"}}},
      {"vbSqr1 auto", [] { zqvvbSqr1(reinterpret_cast<ZqvCplxW*>(wv), 1, ZQV_AUTO_SCALE, nullptr); },
       {{kBad, "zqvvbSqr1", "scaleFactor==0", "zqvvec"}}},
      {"vbSqr2 auto", [] { zqvvbSqr2(nullptr, nullptr, 1, ZQV_AUTO_SCALE | ZQV_FIXED_SCALE, &factor); },
       {{kBad, "zqvvbSqr2", "src==0", "zqvvec"}, {kBad, "zqvvbSqr2", "dst==0", "zqvvec"}}},
  };
}

class VecErrors : public ZqvTest {};

TEST_F(VecErrors, EveryFailedCheckIsReportedUnderTheRoutinesName) {
  expectReportRows(errorCases(), kBad);
}

// A negative status left by any earlier call stops every routine before it
// reads or writes anything, without a report.
TEST_F(VecErrors, NegativeStatusOnEntryDoesNoWork) {
  zqvSetErrStatus(ZQV_INTERNAL_ERROR);
  const float f[3] = {1, 2, 3};
  float out[3] = {7, 7, 7};
  int16_t w[2] = {300, -4};
  int32_t factor = 99;
  EXPECT_EQ(zqvsMax(f, 3), 0.0f);
  EXPECT_EQ(zqvsMean(f, 3), 0.0f);
  EXPECT_EQ(zqvwStdDev(w, 2, ZQV_AUTO_SCALE, &factor), 0);
  zqvsbSqrt2(f, out, 3);
  zqvwbSqr1(w, 2, ZQV_AUTO_SCALE, &factor);
  EXPECT_EQ(out[0], 7.0f);
  EXPECT_EQ(w[0], 300);
  EXPECT_EQ(factor, 99);
  EXPECT_TRUE(reportsAre({}));
  EXPECT_EQ(zqvGetErrStatus(), ZQV_INTERNAL_ERROR);
}

// ---- Statistics ---------------------------------------------------------------

class VecStats : public ZqvTest {};

std::vector<float> randomFloats(size_t n, uint32_t seed, float scale = 1000.0f) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<float> dist(-scale, scale);
  std::vector<float> v(n);
  for (auto& x : v) x = dist(gen);
  return v;
}

TEST_F(VecStats, MeanAndMeanSquareAgainstExtendedSums) {
  for (size_t n : {1u, 7u, 8u, 9u, 1001u, 4099u}) {
    SCOPED_TRACE(n);
    const std::vector<float> f = randomFloats(n, static_cast<uint32_t>(n));
    std::vector<double> d(f.begin(), f.end());
    for (auto& x : d) x = x * 1.000000123456789 + 1e-7;
    long double fs = 0, fq = 0, ds = 0, dq = 0;
    for (size_t i = 0; i < n; ++i) {
      fs += f[i], fq += static_cast<long double>(f[i]) * f[i];
      ds += d[i], dq += static_cast<long double>(d[i]) * d[i];
    }
    const int32_t len = static_cast<int32_t>(n);
    EXPECT_NEAR(zqvsMean(f.data(), len), static_cast<float>(fs / n), std::fabs(fs / n) * 1e-6 + 1e-9);
    EXPECT_FLOAT_EQ(zqvsStdDev(f.data(), len), static_cast<float>(fq / n));
    EXPECT_NEAR(zqvdMean(d.data(), len), static_cast<double>(ds / n), std::fabs(ds / n) * 1e-12 + 1e-15);
    EXPECT_DOUBLE_EQ(zqvdStdDev(d.data(), len), static_cast<double>(dq / n));
  }
  EXPECT_TRUE(reportsAre({}));
}

// Float sums are never rounded to float: a large value cancelled at the end
// must not swallow the small ones in between.
TEST_F(VecStats, FloatSumsKeepSmallTermsUnderLargeOnes) {
  std::vector<float> v(1002, 1.0f);
  v.front() = 1e8f;
  v.back() = -1e8f;
  EXPECT_FLOAT_EQ(zqvsMean(v.data(), 1002), 1000.0f / 1002.0f);
  const float q[2] = {3.0f, 4.0f};
  EXPECT_EQ(zqvsStdDev(q, 2), 12.5f);  // mean of the squares, nothing subtracted
}

// Squares beyond the double range still give the mean square when it fits.
TEST_F(VecStats, DoubleMeanSquareSurvivesOverflowingSquares) {
  const double v[2] = {1.5e154, 0.0};
  const long double expect = 1.5e154L * 1.5e154L / 2;
  EXPECT_DOUBLE_EQ(zqvdStdDev(v, 2), static_cast<double>(expect));
}

TEST_F(VecStats, SixteenBitMeanTruncatesAndStaysExactForLongVectors) {
  const int16_t a[2] = {-3, -4}, b[2] = {32767, 32767};
  EXPECT_EQ(zqvwMean(a, 2), -3);
  EXPECT_EQ(zqvwMean(b, 2), 32767);
  // Far past 131,072 elements of extreme values: exact 64-bit reference.
  std::mt19937 gen(5);
  for (int16_t fill : {int16_t{32767}, int16_t{-32768}}) {
    std::vector<int16_t> v(400001, fill);
    for (size_t i = 0; i < v.size(); i += 97) v[i] = static_cast<int16_t>(gen());
    int64_t sum = 0;
    for (int16_t x : v) sum += x;
    EXPECT_EQ(zqvwMean(v.data(), static_cast<int32_t>(v.size())), static_cast<int16_t>(sum / int64_t(v.size())));
  }
}

TEST_F(VecStats, SixteenBitLargestAndSmallest) {
  std::mt19937 gen(9);
  for (int n : {1, 5, 33, 1000}) {
    std::vector<int16_t> v(n);
    for (auto& x : v) x = static_cast<int16_t>(gen());
    EXPECT_EQ(zqvwMax(v.data(), n), *std::max_element(v.begin(), v.end()));
    EXPECT_EQ(zqvwMin(v.data(), n), *std::min_element(v.begin(), v.end()));
  }
  const int16_t lowest[1] = {-32768}, highest[1] = {32767};
  EXPECT_EQ(zqvwMax(lowest, 1), -32768);
  EXPECT_EQ(zqvwMin(highest, 1), 32767);
}

struct MeanSquareCase {
  std::vector<int16_t> vec;
  int32_t mode;
  int32_t factorIn;
  int16_t result;
  int32_t factorOut;
};

TEST_F(VecStats, SixteenBitMeanSquareUnderEveryScaleMode) {
  const MeanSquareCase cases[] = {
      {{-32768}, ZQV_WRAP, 5, 0, 5},  // low 16 bits of 2^30; factor untouched
      {{-32768}, ZQV_SATURATE, 5, 32767, 5},
      {{-32768}, ZQV_AUTO_SCALE, 0, 16384, 16},
      {{-32768}, ZQV_AUTO_SCALE | ZQV_FIXED_SCALE, -3, 16384, 16},
      {{3, 4}, ZQV_AUTO_SCALE, 7, 12, 0},
      {{3, 4}, ZQV_FIXED_SCALE, -1, 25, -1},  // from 12.5, not from 12
      {{3, 4}, ZQV_FIXED_SCALE, 1, 6, 1},
      {{3, 4}, ZQV_FIXED_SCALE | ZQV_SATURATE, -3, 100, -3},
      {{3, 4}, ZQV_FIXED_SCALE | ZQV_SATURATE, -12, 32767, -12},
      {{3, 4}, ZQV_FIXED_SCALE, -15, 16384, -15},  // 12.5 * 2^15 = 409600
      {{3, 4}, ZQV_SATURATE, -15, 12, -15},        // no fixed bit: factor ignored
      {{300, 300}, ZQV_FIXED_SCALE | ZQV_SATURATE, 1, 32767, 1},
      {{300, 300}, ZQV_FIXED_SCALE, 1, static_cast<int16_t>(45000), 1},
      {{300, 300}, ZQV_FIXED_SCALE, 40, 0, 40},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " factor " << c.factorIn << " first " << c.vec[0]);
    int32_t factor = c.factorIn;
    EXPECT_EQ(zqvwStdDev(c.vec.data(), static_cast<int32_t>(c.vec.size()), c.mode, &factor), c.result);
    EXPECT_EQ(factor, c.factorOut);
  }
  EXPECT_TRUE(reportsAre({}));
}

// The mean square of a long vector with the exact 64-bit reference.
TEST_F(VecStats, SixteenBitMeanSquareIsExactForLongVectors) {
  std::vector<int16_t> v(1 << 20);
  std::mt19937 gen(3);
  for (auto& x : v) x = static_cast<int16_t>(gen() | 0x4000);
  int64_t sum = 0;
  for (int16_t x : v) sum += int64_t{x} * x;
  const int64_t q = sum / int64_t(v.size());
  int32_t factor = 0;
  const int16_t got = zqvwStdDev(v.data(), static_cast<int32_t>(v.size()), ZQV_AUTO_SCALE, &factor);
  int32_t s = 0;
  while ((q >> s) > 32767) ++s;
  EXPECT_EQ(factor, s);
  EXPECT_EQ(got, q >> s);
}

// ---- Largest and smallest: total order of the bit patterns -------------------------

// Rank for the oracle: negative NaNs (larger payload lower), then numbers by
// value with -0 below +0, then positive NaNs (larger payload higher).
template <class T>
auto totalRank(T x) {
  using U = std::conditional_t<sizeof(T) == 4, uint32_t, uint64_t>;
  const U payload = std::bit_cast<U>(x) & (~U{0} >> 1);
  const bool neg = std::signbit(x);
  if (std::isnan(x)) return std::make_tuple(neg ? 0 : 2, neg ? -static_cast<long double>(payload) : payload * 1.0L, 0);
  return std::make_tuple(1, static_cast<long double>(x), neg ? 0 : 1);
}

template <class T>
T oracleExtreme(const std::vector<T>& v, bool largest) {
  T best = v[0];
  for (T x : v)
    if (largest ? totalRank(x) > totalRank(best) : totalRank(x) < totalRank(best)) best = x;
  return best;
}

template <class T>
auto bitsOf(T x) {
  return std::bit_cast<std::conditional_t<sizeof(T) == 4, uint32_t, uint64_t>>(x);
}

template <class T>
T nanWith(bool negative, uint64_t payload) {
  using U = std::conditional_t<sizeof(T) == 4, uint32_t, uint64_t>;
  const U exp = sizeof(T) == 4 ? U(0x7F800000u) : U(0x7FF0000000000000ull);
  const U sign = U{1} << (sizeof(T) * 8 - 1);
  return std::bit_cast<T>(static_cast<U>(exp | payload | (negative ? sign : 0)));
}

template <class T>
void checkExtremes(T (*maxFn)(const T*, int32_t), T (*minFn)(const T*, int32_t)) {
  const T inf = std::numeric_limits<T>::infinity();
  const std::vector<std::vector<T>> tables = {
      {T(-0.0), T(0.0)},
      {T(0.0), T(-0.0)},
      {T(-3), T(-1), T(-2)},
      {T(-5), T(-1), T(2), T(-7), T(0.5)},
      {T(1), nanWith<T>(false, 0x12345), T(3), inf},
      {inf, T(-2), nanWith<T>(true, 0x777), T(5), -inf},
      {nanWith<T>(true, 5), nanWith<T>(true, 9), T(-1), -inf},
      {nanWith<T>(false, 5), nanWith<T>(false, 9), T(1), inf, T(8), T(-8), T(0), T(-0.0), T(4)},
      {nanWith<T>(false, 1)},  // signalling pattern, returned untouched
  };
  for (const auto& v : tables) {
    const int32_t n = static_cast<int32_t>(v.size());
    EXPECT_EQ(bitsOf(maxFn(v.data(), n)), bitsOf(oracleExtreme(v, true))) << "max of " << n << " first " << v[0];
    EXPECT_EQ(bitsOf(minFn(v.data(), n)), bitsOf(oracleExtreme(v, false))) << "min of " << n << " first " << v[0];
  }
  // Random mixtures of every class, all group positions and tails.
  std::mt19937_64 gen(11);
  for (int round = 0; round < 200; ++round) {
    std::vector<T> v(1 + gen() % 40);
    for (auto& x : v) {
      switch (gen() % 6) {
        case 0: x = nanWith<T>(gen() & 1, 1 + gen() % 1000); break;
        case 1: x = (gen() & 1) ? inf : -inf; break;
        case 2: x = (gen() & 1) ? T(0.0) : T(-0.0); break;
        default: x = static_cast<T>(static_cast<int64_t>(gen() % 2001) - 1000) / T(8);
      }
    }
    const int32_t n = static_cast<int32_t>(v.size());
    ASSERT_EQ(bitsOf(maxFn(v.data(), n)), bitsOf(oracleExtreme(v, true))) << "round " << round;
    ASSERT_EQ(bitsOf(minFn(v.data(), n)), bitsOf(oracleExtreme(v, false))) << "round " << round;
  }
}

TEST_F(VecStats, FloatLargestAndSmallestFollowTheBitPatternOrder) { checkExtremes<float>(zqvsMax, zqvsMin); }
TEST_F(VecStats, DoubleLargestAndSmallestFollowTheBitPatternOrder) { checkExtremes<double>(zqvdMax, zqvdMin); }

// ---- Float and double element-wise --------------------------------------------------

class VecElements : public ZqvTest {};

// A double r is the correctly rounded root of x when x lies between the
// squares of the midpoints around r (exact in quadruple precision).
bool isRoundedRoot(double x, double r) {
  const double up = std::nextafter(r, INFINITY), down = std::nextafter(r, 0.0);
  const __float128 hi = (static_cast<__float128>(r) + up) / 2, lo = (static_cast<__float128>(r) + down) / 2;
  return lo * lo <= x && x <= hi * hi;
}

TEST_F(VecElements, RealSquaresAndRootsInPlaceAndCopied) {
  const std::vector<float> f = randomFloats(1003, 21, 3e3f);
  std::vector<double> d(f.begin(), f.end());
  for (auto& x : d) x = std::fabs(x) * 1.00000000012345;
  std::vector<float> fs(f.size(), -1.0f), fi = f;
  std::vector<double> ds(d.size(), -1.0), di = d;
  const int32_t n = static_cast<int32_t>(f.size());
  zqvsbSqr2(f.data(), fs.data(), n);
  zqvsbSqr1(fi.data(), n);
  zqvdbSqr2(d.data(), ds.data(), n);
  zqvdbSqr1(di.data(), n);
  for (int32_t i = 0; i < n; ++i) {
    const float want = static_cast<float>(static_cast<double>(f[i]) * f[i]);  // exact, then rounded once
    ASSERT_EQ(fs[i], want) << i;
    ASSERT_EQ(fi[i], want) << i;
    const double err = std::fma(d[i], d[i], -ds[i]);
    ASSERT_LE(std::fabs(err), (std::nextafter(ds[i], INFINITY) - ds[i]) / 2) << i;
    ASSERT_EQ(di[i], ds[i]) << i;
  }
  std::vector<float> fr(f.size());
  std::vector<double> dr(d.size());
  for (auto& x : fi) x = std::fabs(x);
  zqvsbSqrt2(fi.data(), fr.data(), n);
  zqvdbSqrt2(d.data(), dr.data(), n);
  zqvdbSqrt1(di.data(), n);
  for (int32_t i = 0; i < n; ++i) {
    ASSERT_EQ(fr[i], static_cast<float>(std::sqrt(static_cast<long double>(fi[i])))) << i;
    ASSERT_TRUE(isRoundedRoot(d[i], dr[i])) << i;
    ASSERT_EQ(di[i], std::fabs(d[i])) << i;  // root of the exact square
  }
  EXPECT_TRUE(reportsAre({}));
}

// Negative elements (sign bit set, not -0; negative NaNs too) are skipped, the
// rest are done, and one report follows the loop.
TEST_F(VecElements, NegativeRootsAreSkippedAndReportedOnce) {
  float a[4] = {4.0f, -1.0f, -0.0f, 9.0f};
  zqvsbSqrt1(a, 4);
  EXPECT_EQ(a[0], 2.0f);
  EXPECT_EQ(a[1], -1.0f);
  EXPECT_EQ(bitsOf(a[2]), bitsOf(-0.0f));
  EXPECT_EQ(a[3], 3.0f);
  EXPECT_TRUE(reportsAre({{kBad, "zqvsbSqrt1", "Element of input vector is negative", "zqvvec"}}));
  EXPECT_EQ(zqvGetErrStatus(), kBad);

  // Negatives spread over full groups and the tail, copy forms: their
  // destinations keep the sentinel.
  const float negNanF = nanWith<float>(true, 0x55), posNanF = nanWith<float>(false, 0x400055);
  std::vector<float> src(19);
  for (size_t i = 0; i < src.size(); ++i) src[i] = static_cast<float>(i * i);
  src[2] = -4.0f, src[5] = negNanF, src[6] = -INFINITY, src[17] = -1e-40f, src[9] = posNanF;
  std::vector<float> dst(src.size(), 123.0f);
  std::vector<double> dsrc(src.begin(), src.end()), ddst(src.size(), 123.0);
  dsrc[5] = nanWith<double>(true, 0x55);
  for (bool inPlace : {false, true}) {
    zqvSetErrStatus(0);
    clearReports();
    std::vector<float> f = src;
    std::vector<double> d = dsrc;
    const char* fs = inPlace ? "zqvsbSqrt1" : "zqvsbSqrt2";
    const char* dn = inPlace ? "zqvdbSqrt1" : "zqvdbSqrt2";
    if (inPlace) zqvsbSqrt1(f.data(), 19);
    else zqvsbSqrt2(src.data(), (f = dst).data(), 19);
    EXPECT_TRUE(reportsAre({{kBad, fs, "Element of input vector is negative", "zqvvec"}}));
    zqvSetErrStatus(0);
    clearReports();
    if (inPlace) zqvdbSqrt1(d.data(), 19);
    else zqvdbSqrt2(dsrc.data(), (d = ddst).data(), 19);
    EXPECT_TRUE(reportsAre({{kBad, dn, "Element of input vector is negative", "zqvvec"}}));
    for (size_t i = 0; i < src.size(); ++i) {
      const bool negative = i == 2 || i == 5 || i == 6 || i == 17;
      if (negative) {
        EXPECT_EQ(bitsOf(f[i]), bitsOf(inPlace ? src[i] : 123.0f)) << i;
        EXPECT_EQ(bitsOf(d[i]), bitsOf(inPlace ? dsrc[i] : 123.0)) << i;
      } else if (i == 9) {
        EXPECT_TRUE(std::isnan(f[i]) && std::isnan(d[i])) << i;
      } else {
        EXPECT_EQ(f[i], static_cast<float>(i)) << i;
        EXPECT_EQ(d[i], static_cast<double>(i)) << i;
      }
    }
  }
}

TEST_F(VecElements, ComplexSquares) {
  ZqvCplxS c[1] = {{1.0f, 2.0f}};
  zqvcbSqr1(c, 1);
  EXPECT_EQ(c[0].re, -3.0f);
  EXPECT_EQ(c[0].im, 4.0f);
  std::mt19937 gen(4);
  std::uniform_real_distribution<double> dist(-1e3, 1e3);
  std::vector<ZqvCplxD> z(37), zs(37), zi;
  for (auto& e : z) e = {dist(gen), dist(gen)};
  zi = z;
  zqvzbSqr2(z.data(), zs.data(), 37);
  zqvzbSqr1(zi.data(), 37);
  for (size_t i = 0; i < z.size(); ++i) {
    const std::complex<long double> want = std::complex<long double>(z[i].re, z[i].im) * std::complex<long double>(z[i].re, z[i].im);
    EXPECT_NEAR(zs[i].re, static_cast<double>(want.real()), 1e-9) << i;
    EXPECT_NEAR(zs[i].im, static_cast<double>(want.imag()), 1e-9) << i;
    EXPECT_EQ(zi[i].re, zs[i].re);
    EXPECT_EQ(zi[i].im, zs[i].im);
  }
}

template <class C>
void expectRoot(const C& got, std::complex<long double> z, long double tolerance) {
  const std::complex<long double> want = std::sqrt(z);
  const long double scale = std::abs(want) + 1e-300L;
  EXPECT_LE(std::fabs(got.re - want.real()) / scale, tolerance) << z << " -> " << got.re << "," << got.im;
  EXPECT_LE(std::fabs(got.im - want.imag()) / scale, tolerance) << z << " -> " << got.re << "," << got.im;
  EXPECT_GE(got.re, 0) << z;
}

TEST_F(VecElements, ComplexRootsArePrincipal) {
  const ZqvCplxS src[3] = {{-4.0f, 0.0f}, {3.0f, 4.0f}, {0.0f, 0.0f}};
  ZqvCplxS dst[3];
  zqvcbSqrt2(src, dst, 3);
  EXPECT_EQ(dst[0].re, 0.0f);
  EXPECT_EQ(dst[0].im, 2.0f);
  EXPECT_EQ(dst[1].re, 2.0f);
  EXPECT_EQ(dst[1].im, 1.0f);
  EXPECT_EQ(bitsOf(dst[2].re), bitsOf(0.0f));
  EXPECT_EQ(bitsOf(dst[2].im), bitsOf(-0.0f));  // the root of -0

  // Every quadrant, tiny imaginary parts beside a negative real part (where
  // a + |z| cancels), and elements whose a^2 + b^2 leaves the double range.
  std::vector<ZqvCplxD> z = {{-4, -1e-30}, {-4, 1e-30}, {-9, -1e-9}, {1e308, 1e308}, {-1e308, -1e308},
                             {1e-310, -1e-310}, {0, -4}, {-1, 1e-170}};
  std::vector<ZqvCplxS> c = {{-4.0f, -1e-10f}, {-4.0f, 1e-10f}, {-1e30f, -1e-20f}, {3e38f, 3e38f}};
  std::mt19937 gen(8);
  std::uniform_real_distribution<double> dist(-100, 100);
  for (int i = 0; i < 50; ++i) {
    z.push_back({dist(gen), dist(gen)});
    c.push_back({static_cast<float>(dist(gen)), static_cast<float>(dist(gen))});
  }
  std::vector<ZqvCplxD> zr(z.size());
  std::vector<ZqvCplxS> cr = c;
  zqvzbSqrt2(z.data(), zr.data(), static_cast<int32_t>(z.size()));
  zqvcbSqrt1(cr.data(), static_cast<int32_t>(c.size()));
  for (size_t i = 0; i < z.size(); ++i) expectRoot(zr[i], {z[i].re, z[i].im}, 1e-15L);
  for (size_t i = 0; i < c.size(); ++i) expectRoot(cr[i], {c[i].re, c[i].im}, 2e-7L);
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(VecElements, AbsoluteValuesClearOnlyTheSignBit) {
  const float nanF = nanWith<float>(true, 0x1234);
  const float f[6] = {-0.0f, -INFINITY, nanF, -2.5f, 3.0f, -1e-40f};
  float fo[6], fi[6];
  std::memcpy(fi, f, sizeof f);
  zqvsbAbs2(f, fo, 6);
  zqvsbAbs1(fi, 6);
  const double nanD = nanWith<double>(true, 0x1234);
  double d[5] = {-0.0, -INFINITY, nanD, -2.5, 7.0};
  double dout[5];
  zqvdbAbs2(d, dout, 5);
  zqvdbAbs1(d, 5);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(bitsOf(fo[i]), bitsOf(f[i]) & 0x7FFFFFFFu) << i;
    EXPECT_EQ(bitsOf(fi[i]), bitsOf(fo[i])) << i;
  }
  for (int i = 0; i < 5; ++i) EXPECT_EQ(bitsOf(d[i]), bitsOf(dout[i])) << i;
  EXPECT_EQ(bitsOf(dout[2]), bitsOf(nanD) & 0x7FFFFFFFFFFFFFFFull);
  EXPECT_EQ(bitsOf(dout[0]), 0u);
  EXPECT_EQ(dout[3], 2.5);
}

}  // namespace
