// Logarithm and exponential: accuracy against long double references, the
// same result for an element in any position, special values, the caller's
// floating-point environment, the 16-bit forms and the argument reports.
#include <bit>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <iterator>
#include <limits>
#include <random>
#include <vector>

#include "zqv_test_support.h"

namespace {

class LnExpTest : public ZqvTest {};

template <class T> uint64_t bitsOf(T x) {
  uint64_t b = 0;
  std::memcpy(&b, &x, sizeof x);
  return b;
}

// Distance in units of the last place between a result and a long double reference.
template <class T> double ulpError(T got, long double want) {
  if (std::isinf(want) || std::isinf(got)) return (double)got == (double)want ? 0 : 1e9;
  const long double w = std::max(std::fabs(want), (long double)std::numeric_limits<T>::min());
  const long double ulp = std::ldexp(1.0L, std::ilogb(w) - std::numeric_limits<T>::digits + 1);
  return double(std::fabs((long double)got - want) / ulp);
}

// Inputs spread over the whole range of a type, subnormal ones included.
template <class T> std::vector<T> positiveInputs() {
  std::mt19937_64 g(11);
  std::vector<T> v;
  const int minExp = std::numeric_limits<T>::min_exponent - std::numeric_limits<T>::digits;
  for (int e = minExp; e < std::numeric_limits<T>::max_exponent; ++e)
    for (int k = 0; k < 5; ++k)
      v.push_back(std::ldexp(T(1) + std::uniform_real_distribution<T>(0, 1)(g), e - 1));
  for (int k = 0; k < 4000; ++k) v.push_back(std::uniform_real_distribution<T>(0.5, 2)(g));
  return v;
}

template <class T> std::vector<T> expInputs(T lo, T hi) {
  std::mt19937_64 g(5);
  std::vector<T> v;
  for (int k = 0; k < 20000; ++k) v.push_back(std::uniform_real_distribution<T>(lo, hi)(g));
  for (T x : {T(0), T(1e-9), T(-1e-9), T(0.5), T(-0.5)}) v.push_back(x);
  return v;
}

TEST_F(LnExpTest, LogarithmWithinOneUlp) {
  auto fs = positiveInputs<float>();
  std::vector<float> fo(fs.size());
  zqvsbLn2(fs.data(), fo.data(), int32_t(fs.size()));
  for (size_t i = 0; i < fs.size(); ++i)
    ASSERT_LE(ulpError(fo[i], std::log((long double)fs[i])), 1.0) << fs[i];
  auto ds = positiveInputs<double>();
  std::vector<double> dout(ds.size());
  zqvdbLn2(ds.data(), dout.data(), int32_t(ds.size()));
  for (size_t i = 0; i < ds.size(); ++i)
    ASSERT_LE(ulpError(dout[i], std::log((long double)ds[i])), 1.0) << ds[i];
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(LnExpTest, ExponentialWithinOneUlp) {
  // Down into the subnormal results and up to the overflow threshold.
  auto fs = expInputs<float>(-103.0f, 88.72f);
  std::vector<float> fo(fs.size());
  zqvsbExp2(fs.data(), fo.data(), int32_t(fs.size()));
  for (size_t i = 0; i < fs.size(); ++i)
    ASSERT_LE(ulpError(fo[i], std::exp((long double)fs[i])), 1.0) << fs[i];
  auto ds = expInputs<double>(-744.0, 709.78);
  std::vector<double> dout(ds.size());
  zqvdbExp2(ds.data(), dout.data(), int32_t(ds.size()));
  for (size_t i = 0; i < ds.size(); ++i)
    ASSERT_LE(ulpError(dout[i], std::exp((long double)ds[i])), 2.0) << ds[i];  // last bits
  EXPECT_TRUE(reportsAre({}));
}

// Inputs whose exact logarithm or exponential lies within 2e-9 units in the
// last place of a midpoint between two floats (found by a search over every
// float), and one whose logarithm an earlier kernel rounded the wrong way
// (the first row): the result is the nearest float, alone and inside a
// vector.
struct NearestCase {
  float x;
  float want;
};

void expectNearest(void (*fn)(const float*, float*, int32_t), const NearestCase* cases, size_t count) {
  for (size_t c = 0; c < count; ++c) {
    float got = 0;
    fn(&cases[c].x, &got, 1);
    EXPECT_EQ(bitsOf(got), bitsOf(cases[c].want)) << std::hexfloat << cases[c].x;
    std::vector<float> v(37), out(37);
    for (size_t i = 0; i < v.size(); ++i) v[i] = float(i + 1) / 8;
    const size_t pos = (c * 7) % v.size();
    v[pos] = cases[c].x;
    fn(v.data(), out.data(), int32_t(v.size()));
    EXPECT_EQ(bitsOf(out[pos]), bitsOf(cases[c].want)) << std::hexfloat << cases[c].x << " at " << pos;
  }
}

TEST_F(LnExpTest, HardInputsRoundToNearest) {
  const NearestCase lnCases[] = {
      {0x1.55c90ep-123f, -0x1.53df54p+6f}, {0x1.b121a6p+76f, 0x1.a9a3f2p+5f},
      {0x1.bacb4ap+25f, 0x1.1e0696p+4f},   {0x1.c09d7cp+27f, 0x1.346a58p+4f},
      {0x1.2f1fd6p+3f, 0x1.1fcbcep+1f},    {0x1.22d57p-65f, -0x1.676a7cp+5f},
      {0x1.5190cp+78f, 0x1.b2bc8cp+5f},    {0x1.827a74p-7f, -0x1.1c2b1ep+2f},
      {0x1.b97c7p-14f, -0x1.251748p+3f},
  };
  expectNearest(zqvsbLn2, lnCases, std::size(lnCases));
  const NearestCase expCases[] = {
      {-0x1.d2259ap+3f, 0x1.fa6636p-22f}, {-0x1.e1dbe2p-8f, 0x1.fc3fd2p-1f},
      {-0x1.65cf3p+6f, 0x1.edb9cp-130f},  {0x1.fdff02p-17f, 0x1.0001p+0f},
      {-0x1.c1c4b8p-10f, 0x1.ff1f4ep-1f}, {0x1.62b666p+1f, 0x1.ff48fap+3f},
      {0x1.036492p+1f, 0x1.e59a28p+2f},
  };
  expectNearest(zqvsbExp2, expCases, std::size(expCases));
  EXPECT_TRUE(reportsAre({}));
}

// Random inputs over the whole float range (logarithm) and over the range of
// finite, nonzero exponentials: every result is the nearest float.
TEST_F(LnExpTest, ResultsAreNearestFloats) {
  std::mt19937 g(3);
  std::vector<float> lnIn, expIn;
  for (int i = 0; i < 200000; ++i) {
    const uint32_t b = g() & 0x7FFFFFFFu;
    if (b != 0 && b < 0x7F800000u) lnIn.push_back(std::bit_cast<float>(b));
    expIn.push_back(std::uniform_real_distribution<float>(-104.0f, 88.7f)(g));
  }
  std::vector<float> out(lnIn.size());
  zqvsbLn2(lnIn.data(), out.data(), int32_t(lnIn.size()));
  for (size_t i = 0; i < lnIn.size(); ++i)
    ASSERT_EQ(bitsOf(out[i]), bitsOf(float(std::log((long double)lnIn[i])))) << std::hexfloat << lnIn[i];
  out.resize(expIn.size());
  zqvsbExp2(expIn.data(), out.data(), int32_t(expIn.size()));
  for (size_t i = 0; i < expIn.size(); ++i)
    ASSERT_EQ(bitsOf(out[i]), bitsOf(float(std::exp((long double)expIn[i])))) << std::hexfloat << expIn[i];
}

// An element's result is the same alone (len 1), first, last, or between
// other elements, with any neighbours.
template <class T>
void checkPositionIndependence(void (*fn)(T*, int32_t), const std::vector<T>& values) {
  for (T x : values) {
    T alone = x;
    fn(&alone, 1);
    for (int32_t len : {2, 3, 4, 5, 8, 9}) {
      for (int32_t pos = 0; pos < len; ++pos) {
        std::vector<T> v(len, T(0.75));
        for (int32_t i = 0; i < len; ++i) v[i] = T(0.5) + T(i) / 3;
        v[pos] = x;
        fn(v.data(), len);
        EXPECT_EQ(bitsOf(v[pos]), bitsOf(alone)) << "x=" << x << " len=" << len << " pos=" << pos;
      }
    }
  }
}

TEST_F(LnExpTest, ResultDoesNotDependOnPosition) {
  const float inf = std::numeric_limits<float>::infinity();
  const double infD = std::numeric_limits<double>::infinity();
  checkPositionIndependence<float>(zqvsbLn1, {-0.0f, 0.0f, -1.0f, 1.0f, 2.718281828f, 1e-40f,
                                              3e38f, inf, 0.7071f, 1.4142f});
  checkPositionIndependence<double>(zqvdbLn1, {-0.0, 0.0, -1.0, 1.0, 1e-310, 1e300, infD, 0.70710678,
                                               1.41421356});
  checkPositionIndependence<float>(zqvsbExp1, {-100.0f, -87.4f, 88.72f, 88.73f, 100.0f, 1e-9f,
                                               0.0f, -inf, inf, 1.0f});
  checkPositionIndependence<double>(zqvdbExp1, {-708.3935546875, 709.7822265625, -745.0, -740.0,
                                                709.5, 710.0, 1e-20, -infD, infD, 1.0});
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(LnExpTest, SpecialValues) {
  const float inf = std::numeric_limits<float>::infinity();
  float v[] = {1.0f, std::exp(1.0f), 0.0f, -1.0f, -0.0f, inf, -inf};
  zqvsbLn1(v, 7);
  EXPECT_EQ(v[0], 0.0f);
  EXPECT_NEAR(v[1], 1.0f, 1.2e-7f);
  EXPECT_EQ(v[2], -inf);
  EXPECT_EQ(bitsOf(v[3]), 0xFFC00000u);  // the processor's default NaN
  EXPECT_EQ(v[4], -inf);                 // ln(-0) is -inf, as ln(+0)
  EXPECT_EQ(v[5], inf);
  EXPECT_EQ(bitsOf(v[6]), 0xFFC00000u);
  double d[] = {-2.0, 0.0, -0.0};
  zqvdbLn1(d, 3);
  EXPECT_EQ(bitsOf(d[0]), 0xFFF8000000000000u);
  EXPECT_EQ(d[1], -std::numeric_limits<double>::infinity());
  EXPECT_EQ(d[2], -std::numeric_limits<double>::infinity());
  float nan = std::numeric_limits<float>::quiet_NaN();
  zqvsbLn1(&nan, 1);
  EXPECT_TRUE(std::isnan(nan));

  float e[] = {0.0f, 1e-9f, -100.0f, 100.0f, -200.0f, -inf, inf};
  zqvsbExp1(e, 7);
  EXPECT_EQ(e[0], 1.0f);
  EXPECT_EQ(e[1], 1.0f);
  EXPECT_EQ(e[2], float(std::exp(-100.0L)));  // subnormal, not flushed to 0
  EXPECT_GT(e[2], 0.0f);
  EXPECT_EQ(e[3], inf);
  EXPECT_EQ(e[4], 0.0f);
  EXPECT_EQ(e[5], 0.0f);
  EXPECT_EQ(e[6], inf);
  // Just above the smallest normal and just below the largest double.
  double de[] = {-708.3935546875, 709.7822265625, 1.0, 2.0, 710.0, -746.0};
  zqvdbExp1(de, 6);
  EXPECT_LE(ulpError(de[0], std::exp(-708.3935546875L)), 1.0);
  EXPECT_GT(de[0], 2.2e-308);
  EXPECT_LE(ulpError(de[1], std::exp(709.7822265625L)), 1.0);
  EXPECT_TRUE(std::isfinite(de[1]));
  EXPECT_LE(ulpError(de[2], std::exp(1.0L)), 1.0);
  EXPECT_LE(ulpError(de[3], std::exp(2.0L)), 1.0);
  EXPECT_EQ(de[4], std::numeric_limits<double>::infinity());
  EXPECT_EQ(de[5], 0.0);
  EXPECT_TRUE(reportsAre({}));
}

// The kernels compute in round-to-nearest whatever the caller's mode, raise
// nothing into the caller's flags and trap on nothing.
TEST_F(LnExpTest, CallerEnvironmentIsUntouched) {
  const std::vector<float> src = {-1.0f, 0.0f, 0.3f, 1e30f, 7.0f};
  std::vector<float> nearLn(5), nearExp(5);
  zqvsbLn2(src.data(), nearLn.data(), 5);
  zqvsbExp2(src.data(), nearExp.data(), 5);
  for (int mode : {FE_UPWARD, FE_DOWNWARD, FE_TOWARDZERO}) {
    std::vector<float> ln(5), ex(5);
    std::vector<double> dsrc(src.begin(), src.end()), dln(5);
    feclearexcept(FE_ALL_EXCEPT);
    feraiseexcept(FE_INEXACT);
    fesetround(mode);
    zqvsbLn2(src.data(), ln.data(), 5);
    zqvsbExp2(src.data(), ex.data(), 5);
    zqvdbLn2(dsrc.data(), dln.data(), 5);
    zqvdbExp1(dsrc.data(), 5);
    const int roundAfter = fegetround();
    const int flagsAfter = fetestexcept(FE_ALL_EXCEPT);
    fesetround(FE_TONEAREST);
    EXPECT_EQ(roundAfter, mode);
    EXPECT_EQ(flagsAfter, FE_INEXACT);
    for (int i = 0; i < 5; ++i) {
      EXPECT_EQ(bitsOf(ln[i]), bitsOf(nearLn[i])) << mode << " " << i;
      EXPECT_EQ(bitsOf(ex[i]), bitsOf(nearExp[i])) << mode << " " << i;
    }
  }
  feclearexcept(FE_ALL_EXCEPT);
  feenableexcept(FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
  std::vector<float> out(5);
  zqvsbLn2(src.data(), out.data(), 5);  // ln(-1), ln(0): no trap
  zqvsbExp2(src.data(), out.data(), 5);  // e^1e30: no trap
  const int trapsAfter = fegetexcept();
  fedisableexcept(FE_ALL_EXCEPT);
  EXPECT_EQ(trapsAfter, FE_INVALID | FE_DIVBYZERO | FE_OVERFLOW);
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(LnExpTest, InPlaceEqualsSeparate) {
  std::vector<double> v = {0.1, 2.0, 3.0, 50.0, -1.0}, sep(5);
  zqvdbExp2(v.data(), sep.data(), 5);
  zqvdbExp2(v.data(), v.data(), 5);
  EXPECT_EQ(v, sep);
  std::vector<int16_t> w = {-5, 3, 8, 30000}, wsep(4);
  zqvwbLn2(w.data(), wsep.data(), 4);
  zqvwbLn1(w.data(), 4);
  EXPECT_EQ(w, wsep);
}

// floor(ln x) for every 16-bit input, 0 for x <= 2.
TEST_F(LnExpTest, WordLogarithmIsFloorOfLn) {
  std::vector<int16_t> all(65536), out(65536);
  for (int32_t i = 0; i < 65536; ++i) all[i] = int16_t(i - 32768);
  zqvwbLn2(all.data(), out.data(), 65536);
  for (int32_t i = 0; i < 65536; ++i) {
    const int32_t x = all[i];
    const int32_t want = x <= 2 ? 0 : int32_t(std::floor(std::log((long double)x)));
    ASSERT_EQ(out[i], want) << x;
  }
  int16_t odd[] = {-5, 0, 1, 2, 3, 7, 8, 22026, 22027};
  zqvwbLn1(odd, 9);
  EXPECT_EQ(std::vector<int16_t>(odd, odd + 9), (std::vector<int16_t>{0, 0, 0, 0, 1, 1, 2, 9, 10}));
}

TEST_F(LnExpTest, WordExponentialScaleModes) {
  struct Case {
    std::vector<int16_t> in;
    int32_t mode;
    int32_t factor;
    std::vector<int16_t> want;
    int32_t factorAfter;
  };
  const Case cases[] = {
      {{-1, 0, 1, 10, 11}, 0, 0, {0, 1, 2, 22026, -5662}, 0},  // 59874 wrapped
      {{-1, 0, 1, 10, 11}, 1, 0, {0, 1, 2, 22026, 32767}, 0},
      {{3, 11}, 4, 99, {5, 14968}, 2},                          // 20 >> 2, 59874 >> 2
      {{3, 5}, 4, 99, {20, 148}, 0},
      // Exponents above 21 count as 21: e^21 >> 16 = 20123 is the first fit.
      {{2, 30, 12}, 4, 99, {0, 20123, 2}, 16},
      {{11}, 3, 1, {32767}, 1},           // 29937 is above the limit
      {{11}, 2, 1, {29937}, 1},
      {{5}, 2, -2, {592}, -2},
      {{12}, 1, 5, {32767}, 5},  // the factor counts only with the fixed bit
  };
  for (size_t c = 0; c < std::size(cases); ++c) {
    const Case& k = cases[c];
    std::vector<int16_t> out(k.in.size(), 77);
    int32_t factor = k.factor;
    zqvwbExp2(k.in.data(), out.data(), int32_t(k.in.size()), k.mode, &factor);
    EXPECT_EQ(out, k.want) << "case " << c;
    EXPECT_EQ(factor, k.factorAfter) << "case " << c;
  }
  // Exact reference in wrap mode: floor(e^x), low 16 bits.
  for (int16_t x = 0; x <= 25; ++x) {
    int16_t v = x;
    zqvwbExp1(&v, 1, 0, nullptr);
    const int64_t want = int64_t(std::floor(std::exp((long double)std::min<int>(x, 21))));
    EXPECT_EQ(v, int16_t(uint16_t(want))) << x;
  }
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(LnExpTest, ArgumentErrors) {
  float f[2] = {1, 2};
  double d[2] = {1, 2};
  int16_t w[2] = {1, 2};
  const char* P = "zqvlnexp";
  const char* W = "zqvlnexw";
  const std::vector<ReportRow> rows = {
      {[] { zqvsbLn1(nullptr, 0); }, {{-5, "zqvsbLn1", "len<=0", P}, {-5, "zqvsbLn1", "vec==0", P}}},
      {[&] { zqvdbLn1(d, -1); }, {{-5, "zqvdbLn1", "len<=0", P}}},
      {[] { zqvsbLn2(nullptr, nullptr, 0); },
       {{-5, "zqvsbLn2", "len<=0", P}, {-5, "zqvsbLn2", "src==0", P}, {-5, "zqvsbLn2", "dst==0", P}}},
      {[&] { zqvdbLn2(d, nullptr, 2); }, {{-5, "zqvdbLn2", "dst==0", P}}},
      {[] { zqvsbExp1(nullptr, 2); }, {{-5, "zqvsbExp1", "vec==0", P}}},
      {[&] { zqvdbExp1(d, 0); }, {{-5, "zqvdbExp1", "len<=0", P}}},
      {[&] { zqvsbExp2(nullptr, f, 2); }, {{-5, "zqvsbExp2", "src==0", P}}},
      {[] { zqvdbExp2(nullptr, nullptr, 1); },
       {{-5, "zqvdbExp2", "src==0", P}, {-5, "zqvdbExp2", "dst==0", P}}},
      {[] { zqvwbLn1(nullptr, 0); }, {{-5, "zqvwbLn1", "Len<=0", W}, {-5, "zqvwbLn1", "Vector==0", W}}},
      {[] { zqvwbLn2(nullptr, nullptr, 0); },
       {{-5, "zqvwbLn2", "Len<=0", W}, {-5, "zqvwbLn2", "Vector1==0", W},
        {-5, "zqvwbLn2", "Vector2==0", W}}},
      {[] { zqvwbExp1(nullptr, 0, 0, nullptr); },
       {{-5, "zqvwbExp1", "len<=0", W}, {-5, "zqvwbExp1", "vec==0", W}}},
      {[&] { zqvwbExp2(w, nullptr, 0, 0, nullptr); },
       {{-5, "zqvwbExp2", "len<=0", W}, {-5, "zqvwbExp2", "dst==0", W}}},
      // Automatic scaling must be able to return the shift it chose.
      {[&] { zqvwbExp1(w, 2, ZQV_AUTO_SCALE, nullptr); },
       {{-5, "zqvwbExp1", "ZQV_AUTO_SCALE and scaleFactor==NULL", W}}},
      {[&] { zqvwbExp2(w, w, 2, ZQV_AUTO_SCALE | ZQV_SATURATE, nullptr); },
       {{-5, "zqvwbExp2", "ZQV_AUTO_SCALE and scaleFactor==NULL", W}}},
  };
  expectReportRows(rows);
  // Nothing was written by a refused call.
  EXPECT_EQ(f[0], 1.0f);
  EXPECT_EQ(d[0], 1.0);
  EXPECT_EQ(w[0], 1);
  EXPECT_EQ(w[1], 2);
}

TEST_F(LnExpTest, NegativeStatusMeansNoWork) {
  zqvSetErrStatus(ZQV_BAD_ARGUMENT);
  float f[] = {2.0f};
  int16_t w[] = {5};
  int32_t factor = 0;
  zqvsbLn1(f, 1);
  zqvwbExp1(w, 1, 0, &factor);
  EXPECT_EQ(f[0], 2.0f);
  EXPECT_EQ(w[0], 5);
  EXPECT_TRUE(reportsAre({}));
}

}  // namespace
