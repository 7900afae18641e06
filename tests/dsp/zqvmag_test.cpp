// Magnitude and power spectrum: exact references built in long double, the
// block structure of long vectors, NaNs inside a block, argument checks.
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <vector>

#include "zqv_test_support.h"

namespace {

using Mag = ZqvTest;

// re*re + im*im exactly (long double holds the sum of two products of
// 24-bit floats when the parts are within a factor 2^7 of each other).
long double exactPowerF(float re, float im) {
  const long double a = static_cast<long double>(re) * re, b = static_cast<long double>(im) * im;
  const long double s = a + b;
  EXPECT_EQ(s - a, b) << "test data must keep the sum exact";
  return s;
}

// Float power: the exact sum rounded to double, then to float.
float oraclePowerF(float re, float im) {
  return static_cast<float>(static_cast<double>(exactPowerF(re, im)));
}
// Root of a float or double value rounded to float: a 64-bit root rounded
// once more to 24 bits is still correctly rounded.
float oracleRootF(long double p) { return static_cast<float>(std::sqrt(p)); }

// Float magnitude at index i of an n-element vector: whole blocks of 128
// take the root of the float power, the rest the root of the double power.
float oracleMagF(float re, float im, int i, int n) {
  const bool inBlock = n > 128 && i < n / 128 * 128;
  return inBlock ? oracleRootF(oraclePowerF(re, im))
                 : oracleRootF(static_cast<double>(exactPowerF(re, im)));
}

// Double power: each square rounded to double, the sum rounded once. (A
// square formed in long double and then narrowed would be rounded twice.)
double oraclePowerD(double re, double im) {
  const double a = re * re;
  const double b = im * im;
  const long double s = static_cast<long double>(a) + b;
  EXPECT_EQ(s - a, b) << "test data must keep the sum exact";
  return static_cast<double>(s);
}

// A double that is the correctly rounded root of p (64-bit root, rounded
// again; a root that lands on a midpoint of doubles accepts either side).
::testing::AssertionResult isRootOf(double m, double p) {
  const long double r = std::sqrt(static_cast<long double>(p));
  const double lo = static_cast<double>(r);
  const double up = std::nextafter(lo, INFINITY), dn = std::nextafter(lo, -INFINITY);
  if (m == lo) return ::testing::AssertionSuccess();
  const bool midpoint = (static_cast<long double>(lo) + up) / 2 == r || (static_cast<long double>(lo) + dn) / 2 == r;
  if (midpoint && (m == up || m == dn)) return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << m << " is not the root of " << p;
}

std::vector<ZqvCplxS> randomCplxS(int n, unsigned seed) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<float> mant(1.0f, 2.0f);
  std::uniform_int_distribution<int> ex(-3, 3), sign(0, 1);
  std::vector<ZqvCplxS> v(n);
  for (auto& z : v) {
    // One draw per statement: the same data from every compiler.
    const int e = ex(gen) * 4;
    const auto reMant = mant(gen);
    z.re = std::ldexp(reMant, e) * (sign(gen) ? -1.0f : 1.0f);
    const int imShift = ex(gen);
    const auto imMant = mant(gen);
    z.im = std::ldexp(imMant, e + imShift) * (sign(gen) ? -1.0f : 1.0f);
  }
  return v;
}

std::vector<ZqvCplxD> randomCplxD(int n, unsigned seed) {
  std::mt19937_64 gen(seed);
  std::uniform_real_distribution<double> mant(1.0, 2.0);
  std::uniform_int_distribution<int> ex(-3, 3), sign(0, 1);
  std::vector<ZqvCplxD> v(n);
  for (auto& z : v) {
    // One draw per statement: the same data from every compiler.
    const int e = ex(gen) * 4;
    const auto reMant = mant(gen);
    z.re = std::ldexp(reMant, e) * (sign(gen) ? -1.0 : 1.0);
    const int imShift = ex(gen);
    const auto imMant = mant(gen);
    z.im = std::ldexp(imMant, e + imShift) * (sign(gen) ? -1.0 : 1.0);
  }
  return v;
}

void splitS(const std::vector<ZqvCplxS>& z, std::vector<float>& re, std::vector<float>& im) {
  re.clear();
  im.clear();
  for (auto c : z) re.push_back(c.re), im.push_back(c.im);
}

const int kLengths[] = {1, 5, 127, 128, 129, 200, 256, 512, 515};

TEST_F(Mag, FloatMagnitudeFollowsTheBlockStructure) {
  for (int n : kLengths) {
    const auto z = randomCplxS(n, 100 + n);
    std::vector<float> re, im;
    splitS(z, re, im);
    std::vector<float> a(n + 1, -7.0f), b(n + 1, -7.0f);
    zqvcbMag(z.data(), a.data(), n);
    zqvsbrMag(re.data(), im.data(), b.data(), n);
    for (int i = 0; i < n; ++i) {
      const float want = oracleMagF(z[i].re, z[i].im, i, n);
      ASSERT_EQ(a[i], want) << "zqvcbMag n=" << n << " i=" << i;
      ASSERT_EQ(b[i], want) << "zqvsbrMag n=" << n << " i=" << i;
    }
    EXPECT_EQ(a[n], -7.0f);
    EXPECT_EQ(b[n], -7.0f);
  }
  EXPECT_EQ(zqvGetErrStatus(), 0);
  EXPECT_TRUE(reportsAre({}));
}

// The two ways of rounding differ for some elements of these data, so the
// comparison above does see which way each element took.
TEST_F(Mag, TestDataSeparateTheTwoRoundings) {
  const auto z = randomCplxS(512, 100 + 512);
  int differing = 0;
  for (auto c : z)
    differing += oracleRootF(oraclePowerF(c.re, c.im)) != oracleRootF(static_cast<double>(exactPowerF(c.re, c.im)));
  EXPECT_GT(differing, 0);
}

TEST_F(Mag, FloatPowerSpectrum) {
  for (int n : kLengths) {
    const auto z = randomCplxS(n, 300 + n);
    std::vector<float> re, im;
    splitS(z, re, im);
    std::vector<float> a(n), b(n);
    zqvcbPowerSpectr(z.data(), a.data(), n);
    zqvsbrPowerSpectr(re.data(), im.data(), b.data(), n);
    for (int i = 0; i < n; ++i) {
      ASSERT_EQ(a[i], oraclePowerF(z[i].re, z[i].im)) << n << " " << i;
      ASSERT_EQ(b[i], a[i]) << n << " " << i;
    }
  }
}

TEST_F(Mag, DoubleMagnitudeAndPower) {
  for (int n : kLengths) {
    const auto z = randomCplxD(n, 500 + n);
    std::vector<double> re, im;
    for (auto c : z) re.push_back(c.re), im.push_back(c.im);
    std::vector<double> m1(n), m2(n), p1(n), p2(n);
    zqvzbMag(z.data(), m1.data(), n);
    zqvdbrMag(re.data(), im.data(), m2.data(), n);
    zqvzbPowerSpectr(z.data(), p1.data(), n);
    zqvdbrPowerSpectr(re.data(), im.data(), p2.data(), n);
    for (int i = 0; i < n; ++i) {
      const double p = oraclePowerD(z[i].re, z[i].im);
      ASSERT_EQ(p1[i], p) << n << " " << i;
      ASSERT_EQ(p2[i], p) << n << " " << i;
      ASSERT_TRUE(isRootOf(m1[i], p)) << n << " " << i;
      ASSERT_EQ(m2[i], m1[i]) << n << " " << i;
    }
  }
}

// Worked values and special parts, both inside a block (n = 256) and in the
// directly computed tail.
TEST_F(Mag, SpecialElements) {
  const float inf = std::numeric_limits<float>::infinity(), nan = std::numeric_limits<float>::quiet_NaN();
  struct Case { float re, im, power, mag; };
  const Case cases[] = {{3, 4, 25, 5},    {-3, 4, 25, 5},    {0, 0, 0, 0},       {-0.0f, -0.0f, 0, 0},
                        {inf, 1, inf, inf}, {-inf, 0, inf, inf}, {2, -inf, inf, inf}, {nan, 1, nan, nan},
                        {1, nan, nan, nan}};
  for (int n : {9, 256 + 9}) {
    std::vector<ZqvCplxS> z(n, ZqvCplxS{1, 1});
    for (int k = 0; k < 9; ++k) z[k] = z[n - 9 + k] = {cases[k].re, cases[k].im};
    std::vector<float> mag(n), pw(n);
    zqvcbMag(z.data(), mag.data(), n);
    zqvcbPowerSpectr(z.data(), pw.data(), n);
    std::vector<ZqvCplxD> zd(n);
    for (int i = 0; i < n; ++i) zd[i] = {z[i].re, z[i].im};
    std::vector<double> magd(n);
    zqvzbMag(zd.data(), magd.data(), n);
    for (int k = 0; k < 9; ++k)
      for (int i : {k, n - 9 + k}) {
        const Case& c = cases[k];
        if (std::isnan(c.mag)) {
          EXPECT_TRUE(std::isnan(mag[i]) && std::isnan(pw[i]) && std::isnan(magd[i])) << n << " " << i;
        } else {
          EXPECT_EQ(mag[i], c.mag) << n << " " << i;
          EXPECT_EQ(pw[i], c.power) << n << " " << i;
          EXPECT_EQ(magd[i], c.mag) << n << " " << i;
          EXPECT_FALSE(std::signbit(mag[i]));
        }
      }
  }
  EXPECT_TRUE(reportsAre({}));
}

// A NaN with its sign bit set gives a power with its sign bit set; inside a
// block it must not be taken for a negative power: that element is a NaN,
// every other element (later blocks and tail included) is right, and nothing
// is reported.
TEST_F(Mag, NegativeNaNInsideABlockSpoilsOnlyItsElement) {
  const int n = 515;
  auto z = randomCplxS(n, 7);
  const float negNaN = std::copysign(std::numeric_limits<float>::quiet_NaN(), -1.0f);
  z[200].re = negNaN;
  z[300].im = negNaN;
  std::vector<float> re, im;
  splitS(z, re, im);
  for (int form = 0; form < 2; ++form) {
    std::vector<float> mag(n, -7.0f);
    if (form == 0) zqvcbMag(z.data(), mag.data(), n);
    else zqvsbrMag(re.data(), im.data(), mag.data(), n);
    for (int i = 0; i < n; ++i) {
      if (i == 200 || i == 300) {
        EXPECT_TRUE(std::isnan(mag[i])) << form << " " << i;
      } else {
        ASSERT_EQ(mag[i], oracleMagF(z[i].re, z[i].im, i, n)) << form << " " << i;
      }
    }
  }
  std::vector<ZqvCplxD> zd(n);
  for (int i = 0; i < n; ++i) zd[i] = {z[i].re, z[i].im};
  std::vector<double> magd(n, -7.0);
  zqvzbMag(zd.data(), magd.data(), n);
  EXPECT_TRUE(std::isnan(magd[200]) && std::isnan(magd[300]));
  EXPECT_TRUE(isRootOf(magd[514], oraclePowerD(zd[514].re, zd[514].im)));
  EXPECT_EQ(zqvGetErrStatus(), 0);
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(Mag, ArgumentChecks) {
  ZqvCplxS cs[2] = {{3, 4}, {3, 4}};
  ZqvCplxD cd[2] = {{3, 4}, {3, 4}};
  float fr[2] = {3, 3}, fi[2] = {4, 4}, fo[2] = {-7, -7};
  double dr[2] = {3, 3}, di[2] = {4, 4}, dout[2] = {-7, -7};
  const int32_t bad = ZQV_BAD_ARGUMENT;
  const std::vector<ReportRow> rows = {
      {"cMag n 0", [&] { zqvcbMag(cs, fo, 0); }, {{bad, "zqvcbMag", "length<=0", "zqvcvrts"}}},
      {"cMag n -1, no mag", [&] { zqvcbMag(cs, nullptr, -1); },
       {{bad, "zqvcbMag", "length<=0", "zqvcvrts"}, {bad, "zqvcbMag", "mag==0", "zqvcvrts"}}},
      {"cMag no src", [&] { zqvcbMag(nullptr, fo, 2); }, {{bad, "zqvcbMag", "src==0", "zqvcvrts"}}},
      {"sbrMag all", [&] { zqvsbrMag(nullptr, nullptr, nullptr, 0); },
       {{bad, "zqvsbrMag", "length<=0", "zqvcvrts"}, {bad, "zqvsbrMag", "mag==0", "zqvcvrts"},
        {bad, "zqvsbrMag", "srcReal==0", "zqvcvrts"}, {bad, "zqvsbrMag", "srcImag==0", "zqvcvrts"}}},
      {"sbrMag no imag", [&] { zqvsbrMag(fr, nullptr, fo, 2); }, {{bad, "zqvsbrMag", "srcImag==0", "zqvcvrts"}}},
      {"sbrPower no spectr", [&] { zqvsbrPowerSpectr(fr, fi, nullptr, 2); },
       {{bad, "zqvsbrPowerSpectr", "spectr==0", "zqvcvrts"}}},
      {"cPower all", [&] { zqvcbPowerSpectr(nullptr, nullptr, 0); },
       {{bad, "zqvcbPowerSpectr", "length<=0", "zqvcvrts"}, {bad, "zqvcbPowerSpectr", "spectr==0", "zqvcvrts"},
        {bad, "zqvcbPowerSpectr", "src==0", "zqvcvrts"}}},
      {"sbrPower all", [&] { zqvsbrPowerSpectr(nullptr, nullptr, nullptr, -5); },
       {{bad, "zqvsbrPowerSpectr", "length<=0", "zqvcvrts"}, {bad, "zqvsbrPowerSpectr", "spectr==0", "zqvcvrts"},
        {bad, "zqvsbrPowerSpectr", "srcReal==0", "zqvcvrts"}, {bad, "zqvsbrPowerSpectr", "srcImag==0", "zqvcvrts"}}},
      {"zMag all", [&] { zqvzbMag(nullptr, nullptr, 0); },
       {{bad, "zqvzbMag", "length<=0", "zqvcvrtd"}, {bad, "zqvzbMag", "mag==0", "zqvcvrtd"},
        {bad, "zqvzbMag", "src==0", "zqvcvrtd"}}},
      {"dbrMag no real", [&] { zqvdbrMag(nullptr, di, dout, 2); }, {{bad, "zqvdbrMag", "srcReal==0", "zqvcvrtd"}}},
      {"dbrPower no imag", [&] { zqvdbrPowerSpectr(dr, nullptr, dout, 2); },
       {{bad, "zqvdbrPowerSpectr", "srcImag==0", "zqvcvrtd"}}},
      {"zPower no spectr", [&] { zqvzbPowerSpectr(cd, nullptr, 2); },
       {{bad, "zqvzbPowerSpectr", "spectr==0", "zqvcvrtd"}}},
      {"dbrPower all", [&] { zqvdbrPowerSpectr(nullptr, nullptr, nullptr, 0); },
       {{bad, "zqvdbrPowerSpectr", "length<=0", "zqvcvrtd"}, {bad, "zqvdbrPowerSpectr", "spectr==0", "zqvcvrtd"},
        {bad, "zqvdbrPowerSpectr", "srcReal==0", "zqvcvrtd"}, {bad, "zqvdbrPowerSpectr", "srcImag==0", "zqvcvrtd"}}},
  };
  expectReportRows(rows, bad, [&](const ReportRow&) {
    EXPECT_TRUE(fo[0] == -7 && fo[1] == -7 && dout[0] == -7 && dout[1] == -7);
  });
}

// The status is not cleared on entry: after an earlier failure every routine
// returns at once, writing and reporting nothing.
TEST_F(Mag, NegativeStatusOnEntryDoesNothing) {
  ZqvCplxS cs[1] = {{3, 4}};
  ZqvCplxD cd[1] = {{3, 4}};
  float fr[1] = {3}, fi[1] = {4}, fo[8];
  double dr[1] = {3}, di[1] = {4}, dout[8];
  std::fill(fo, fo + 8, -7.0f);
  std::fill(dout, dout + 8, -7.0);
  zqvSetErrStatus(ZQV_BAD_ARGUMENT);
  zqvcbMag(cs, fo, 1);
  zqvsbrMag(fr, fi, fo + 1, 1);
  zqvcbPowerSpectr(cs, fo + 2, 1);
  zqvsbrPowerSpectr(fr, fi, fo + 3, 1);
  zqvzbMag(cd, dout, 1);
  zqvdbrMag(dr, di, dout + 1, 1);
  zqvzbPowerSpectr(cd, dout + 2, 1);
  zqvdbrPowerSpectr(dr, di, dout + 3, 1);
  for (int i = 0; i < 4; ++i) EXPECT_TRUE(fo[i] == -7.0f && dout[i] == -7.0) << i;
  EXPECT_EQ(zqvGetErrStatus(), ZQV_BAD_ARGUMENT);
  EXPECT_TRUE(reportsAre({}));
}

}  // namespace
