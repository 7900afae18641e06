// Thresholds and thresholded reciprocals: real forms against the IEEE total
// order (std::strong_order), complex forms against long-double magnitudes and
// phases, complex 16-bit forms against an exact digit-by-digit square root.
#include <cmath>
#include <compare>
#include <complex>
#include <cstdint>
#include <functional>
#include <limits>
#include <random>
#include <vector>

#include "zqv_test_support.h"

namespace {

constexpr int32_t kBad = ZQV_BAD_ARGUMENT;
constexpr const char* kMod = "zqvvec";

class Thresh : public ZqvTest {};

template <class T>
std::vector<T> specials() {
  const T inf = std::numeric_limits<T>::infinity(), nan = std::numeric_limits<T>::quiet_NaN();
  return {T(-2), T(0.5), T(3), T(0), -T(0), inf, -inf, nan, -nan, T(1), T(-1), T(1e-30), T(-1e-30), T(7.5)};
}

template <class T>
void realThreshAgainstTotalOrder(void (*t1)(T*, int32_t, T, int32_t), void (*t2)(const T*, T*, int32_t, T, int32_t)) {
  const auto v = specials<T>();
  const int n = static_cast<int>(v.size());
  for (T level : specials<T>())
    for (int32_t relOp : {0, 1, -7}) {
      std::vector<T> a = v, b(n);
      t1(a.data(), n, level, relOp);
      t2(v.data(), b.data(), n, level, relOp);
      for (int i = 0; i < n; ++i) {
        const auto order = std::strong_order(v[i], level);
        const bool replace = relOp == 0 ? order < 0 : order > 0;
        const T want = replace ? level : v[i];
        ASSERT_EQ(std::strong_order(a[i], want), std::strong_order(want, want)) << v[i] << " " << level << " " << relOp;
        ASSERT_EQ(std::strong_order(b[i], want), std::strong_order(want, want)) << v[i] << " " << level << " " << relOp;
      }
    }
}

TEST_F(Thresh, RealFormsFollowTheTotalOrder) {
  realThreshAgainstTotalOrder<float>(zqvsbThresh1, zqvsbThresh2);
  realThreshAgainstTotalOrder<double>(zqvdbThresh1, zqvdbThresh2);
  std::vector<float> v = {-2, 0.5f, 3};
  zqvsbThresh1(v.data(), 3, 1.0f, 1);
  EXPECT_EQ(v, (std::vector<float>{-2, 0.5f, 1}));
  v = {-2, 0.5f, 3};
  zqvsbThresh1(v.data(), 3, 1.0f, 0);
  EXPECT_EQ(v, (std::vector<float>{1, 1, 3}));
  v = {-3, -0.5f, 2};
  zqvsbThresh1(v.data(), 3, -1.0f, 0);
  EXPECT_EQ(v, (std::vector<float>{-1, -0.5f, 2}));
  const int16_t w[4] = {-32768, -5, 5, 32767};
  int16_t out[4];
  zqvwbThresh2(w, out, 4, -5, 0);
  EXPECT_TRUE(out[0] == -5 && out[1] == -5 && out[3] == 32767);
  zqvwbThresh2(w, out, 4, 4, 1);
  EXPECT_TRUE(out[0] == -32768 && out[2] == 4 && out[3] == 4);
  EXPECT_TRUE(reportsAre({}));
}

template <class C, class P>
void complexThreshKeepsThePhase(void (*t1)(C*, int32_t, P, int32_t), void (*t2)(const C*, C*, int32_t, P, int32_t)) {
  std::mt19937 gen(4);
  std::uniform_real_distribution<double> u(-10, 10);
  const int n = 200;
  std::vector<C> v(n);
  for (auto& z : v) z = {static_cast<P>(u(gen)), static_cast<P>(u(gen))};
  v[0] = {0, 0};
  v[1] = {P(3), P(0)};
  const double eps = std::numeric_limits<P>::epsilon() * 4;
  for (P level : {P(0), P(2), P(5)})
    for (int32_t relOp : {0, 1}) {
      std::vector<C> a = v, b(n);
      t1(a.data(), n, level, relOp);
      t2(v.data(), b.data(), n, level, relOp);
      for (int i = 0; i < n; ++i) {
        const long double m = std::hypot(static_cast<long double>(v[i].re), static_cast<long double>(v[i].im));
        const bool change = relOp == 0 ? m < level : m > level;
        for (const C& r : {a[i], b[i]}) {
          if (!change) {
            ASSERT_TRUE(r.re == v[i].re && r.im == v[i].im) << i;
            continue;
          }
          const long double rm = std::hypot(static_cast<long double>(r.re), static_cast<long double>(r.im));
          ASSERT_NEAR(rm, level, eps * (level + 1)) << i;
          if (m == 0) {
            ASSERT_TRUE(r.re == level && r.im == 0) << i;
          } else if (level > 0) {
            const long double ph = std::atan2(static_cast<long double>(v[i].im), static_cast<long double>(v[i].re));
            ASSERT_NEAR(std::atan2(static_cast<long double>(r.im), static_cast<long double>(r.re)), ph, eps * 4) << i;
          }
        }
      }
    }
}

TEST_F(Thresh, ComplexFormsMoveTheMagnitudeAndKeepThePhase) {
  complexThreshKeepsThePhase<ZqvCplxS, float>(zqvcbThresh1, zqvcbThresh2);
  complexThreshKeepsThePhase<ZqvCplxD, double>(zqvzbThresh1, zqvzbThresh2);
  std::vector<ZqvCplxS> src = {{3, 4}, {1, 1}, {0, 0}, {1, 0}}, dst(4);
  zqvcbThresh2(src.data(), dst.data(), 4, 2, 1);
  EXPECT_TRUE(dst[0].re == 1.2f && dst[0].im == 1.6f && dst[1].re == 1 && dst[1].im == 1);
  zqvcbThresh2(src.data(), dst.data(), 4, 2, 0);
  EXPECT_TRUE(dst[2].re == 2 && dst[2].im == 0 && dst[3].re == 2 && dst[3].im == 0);
  // A raised zero: the copy form writes +0, the in-place form keeps its -0.
  ZqvCplxS z{0, -0.0f};
  zqvcbThresh1(&z, 1, 2, 0);
  EXPECT_TRUE(z.re == 2 && std::signbit(z.im));
  // Powers beyond the double range are still compared and scaled right.
  ZqvCplxD big{1e200, 1e200};
  zqvzbThresh1(&big, 1, 1e199, 1);
  EXPECT_NEAR(big.re / 1e199, std::sqrt(0.5), 1e-15);
  EXPECT_NEAR(big.im / 1e199, std::sqrt(0.5), 1e-15);
  EXPECT_TRUE(reportsAre({}));
}

uint32_t isqrtRef(uint64_t x) {
  uint64_t root = 0, bit = uint64_t{1} << 62;
  while (bit > x) bit >>= 2;
  for (; bit != 0; bit >>= 2) {
    if (x >= root + bit) {
      x -= root + bit;
      root = (root >> 1) + bit;
    } else {
      root >>= 1;
    }
  }
  return static_cast<uint32_t>(root);
}

TEST_F(Thresh, ComplexSixteenBitFormsRescaleExactly) {
  std::mt19937 gen(6);
  const int n = 3000;
  std::vector<ZqvCplxW> v(n);
  for (auto& z : v) z = {static_cast<int16_t>(gen()), static_cast<int16_t>(static_cast<int16_t>(gen()) >> (gen() % 15))};
  v[0] = {0, 0};
  v[1] = {-32768, -32768};
  for (int16_t level : {int16_t{0}, int16_t{100}, int16_t{20000}, int16_t{32767}})
    for (int32_t relOp : {0, 1}) {
      std::vector<ZqvCplxW> a = v, b(n);
      zqvvbThresh1(a.data(), n, level, relOp);
      zqvvbThresh2(v.data(), b.data(), n, level, relOp);
      const uint64_t l2 = static_cast<uint64_t>(level) * level;
      for (int i = 0; i < n; ++i) {
        const uint64_t re2 = static_cast<uint64_t>(int64_t{v[i].re} * v[i].re);
        const uint64_t im2 = static_cast<uint64_t>(int64_t{v[i].im} * v[i].im), p = re2 + im2;
        ZqvCplxW want = v[i];
        if (relOp == 0 ? p < l2 : p > l2) {
          if (p == 0) {
            want.re = level;
          } else {
            const auto r = static_cast<int32_t>(isqrtRef(l2 * re2 / p)), m = static_cast<int32_t>(isqrtRef(l2 * im2 / p));
            want = {static_cast<int16_t>(v[i].re < 0 ? -r : r), static_cast<int16_t>(v[i].im < 0 ? -m : m)};
          }
        }
        ASSERT_TRUE(a[i].re == want.re && a[i].im == want.im && b[i].re == want.re && b[i].im == want.im)
            << level << " " << relOp << " " << v[i].re << "," << v[i].im;
      }
    }
  ZqvCplxW w[2] = {{3, 4}, {0, 0}};
  zqvvbThresh1(w, 2, 100, 0);
  EXPECT_TRUE(w[0].re == 60 && w[0].im == 80 && w[1].re == 100 && w[1].im == 0);
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(Thresh, RealReciprocals) {
  std::vector<float> v = {2, 0, -4};
  zqvsbInvThresh1(v.data(), 3, 0.0f);
  EXPECT_EQ(v, (std::vector<float>{0.5f, 3.4028235e38f, -0.25f}));
  EXPECT_TRUE(reportsAre({{kBad, "zqvsbInvThresh1", "zero element and zero thresh", kMod}}));
  clearReports();
  zqvSetErrStatus(0);
  v = {0.25f, -0.1f, 4};
  zqvsbInvThresh1(v.data(), 3, 0.5f);
  EXPECT_EQ(v, (std::vector<float>{2, -2, 0.25f}));
  std::mt19937 gen(2);
  std::uniform_real_distribution<double> u(-3, 3);
  std::vector<double> d(500), out(500);
  for (auto& x : d) x = std::ldexp(u(gen), static_cast<int>(gen() % 20) - 10);
  zqvdbInvThresh2(d.data(), out.data(), 500, 0.01);
  for (int i = 0; i < 500; ++i) {
    const double raised = std::fabs(d[i]) < 0.01 ? std::copysign(0.01, d[i]) : d[i];
    ASSERT_EQ(out[i], 1.0 / raised) << d[i];
  }
  const double zeros[2] = {0.0, 5.0};
  zqvdbInvThresh2(zeros, out.data(), 2, 0.0);
  EXPECT_TRUE(out[0] == std::numeric_limits<double>::max() && out[1] == 0.2);
  EXPECT_TRUE(reportsAre({{kBad, "zqvdbInvThresh2", "zero element and zero thresh", kMod}}));
}

TEST_F(Thresh, ComplexReciprocals) {
  std::vector<ZqvCplxS> v = {{0, 0}, {0, 2}};
  zqvcbInvThresh1(v.data(), 2, 0.0f);
  EXPECT_TRUE(v[0].re == 3.4028235e38f && v[0].im == 0 && v[1].re == 0 && v[1].im == -0.5f);
  EXPECT_TRUE(reportsAre({{kBad, "zqvcbInvThresh1", "zero element and zero thresh", kMod}}));
  clearReports();
  zqvSetErrStatus(0);
  std::mt19937 gen(9);
  std::uniform_real_distribution<double> u(-2, 2);
  const int n = 300;
  std::vector<ZqvCplxD> z(n), out(n);
  for (auto& x : z) x = {u(gen), u(gen)};
  z[0] = {0, 0};
  z[1] = {1e-300, -1e-300};  // its power underflows a double, not a long double
  const double level = 0.5;
  zqvzbInvThresh2(z.data(), out.data(), n, level);
  for (int i = 0; i < n; ++i) {
    std::complex<long double> c(z[i].re, z[i].im);
    const long double m = std::abs(c);
    if (m == 0) c = level;
    else if (m < level) c *= level / m;
    const std::complex<long double> r = 1.0L / c;
    ASSERT_NEAR(out[i].re, static_cast<double>(r.real()), 4e-16 * std::abs(r)) << i;
    ASSERT_NEAR(out[i].im, static_cast<double>(r.imag()), 4e-16 * std::abs(r)) << i;
  }
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(Thresh, ArgumentErrorsAndNegativeLevels) {
  float f = 1;
  ZqvCplxW w{3, 4};
  double d = 1;
  ZqvCplxS c{1, 1};
  ZqvCplxD z{1, 1};
  const std::vector<ReportRow> cases = {
      {[] { zqvsbThresh2(nullptr, nullptr, 0, 1, 0); },
       {{kBad, "zqvsbThresh2", "len<=0", kMod}, {kBad, "zqvsbThresh2", "src==0", kMod}, {kBad, "zqvsbThresh2", "dst==0", kMod}}},
      {[] { zqvzbThresh1(nullptr, -1, -1, 0); }, {{kBad, "zqvzbThresh1", "len<=0", kMod}, {kBad, "zqvzbThresh1", "vec==0", kMod}}},
      {[] { zqvcbInvThresh2(nullptr, nullptr, 0, 0); },
       {{kBad, "zqvcbInvThresh2", "len<=0", kMod}, {kBad, "zqvcbInvThresh2", "src==0", kMod},
        {kBad, "zqvcbInvThresh2", "dst==0", kMod}}},
      {[&] { zqvvbThresh1(&w, 1, -1, 0); }, {{kBad, "zqvvbThresh1", "thresh<0", kMod}}},
      {[&] { zqvcbThresh1(&c, 1, -1.0f, 0); }, {{kBad, "zqvcbThresh1", "thresh<0.0f", kMod}}},
      {[&] { zqvdbInvThresh2(&d, &d, 1, -1.0); }, {{kBad, "zqvdbInvThresh2", "thresh<0.0", kMod}}},
      {[&] { zqvsbInvThresh1(&f, 1, -1e-30f); }, {{kBad, "zqvsbInvThresh1", "thresh<0.0f", kMod}}},
      // A double level's upper word decides (-2^-1042 is its smallest negative
      // magnitude there); every bit of a float level does.
      {[&] { zqvdbInvThresh1(&d, 1, -0x1p-1042); }, {{kBad, "zqvdbInvThresh1", "thresh<0.0", kMod}}},
      {[&] { zqvzbThresh2(&z, &z, 1, -0x1p-1042, 0); }, {{kBad, "zqvzbThresh2", "thresh<0.0", kMod}}},
      {[&] { zqvcbInvThresh1(&c, 1, -0x1p-149f); }, {{kBad, "zqvcbInvThresh1", "thresh<0.0f", kMod}}},
      // Negative levels are fine for the real thresholds; -0 passes everywhere.
      {[&] { zqvsbThresh1(&f, 1, -1.0f, 0); }, {}},
      {[&] { zqvzbThresh1(&z, 1, -0.0, 0); }, {}},
  };
  expectReportRows(cases, std::nullopt);
  EXPECT_TRUE(w.re == 3 && w.im == 4 && d == 1 && c.re == 1 && z.re == 1);
  // Double levels below 2^-1042 in magnitude pass whatever their sign.
  zqvSetErrStatus(0);
  clearReports();
  double v[2] = {4.0, -0.5};
  ZqvCplxD zv{0, 2};
  zqvdbInvThresh1(v, 2, -4.9e-324);
  zqvzbInvThresh2(&zv, &zv, 1, -0x1p-1043);
  EXPECT_TRUE(reportsAre({}));
  EXPECT_EQ(zqvGetErrStatus(), 0);
  EXPECT_TRUE(v[0] == 0.25 && v[1] == -2.0);
  EXPECT_TRUE(zv.re == 0 && zv.im == -0.5);
  // With the status negative nothing is done and nothing reported.
  zqvSetErrStatus(kBad);
  clearReports();
  zqvsbInvThresh1(&f, 1, 0.5f);
  EXPECT_EQ(f, 1.0f);
  EXPECT_TRUE(reportsAre({}));
}

}  // namespace
