// Window functions against their closed forms, for every element type.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include "zqv_test_support.h"

namespace {

using Windows = ZqvTest;
using LD = long double;
constexpr LD kPi = 3.14159265358979323846264338327950288L;

// Closed forms of the weights, w(k) for k = 0 .. n-1.
LD bartlett(int64_t k, int64_t n) { return 1 - std::fabs(2.0L * k / (n - 1) - 1); }
LD hann(int64_t k, int64_t n) { return 0.5L - 0.5L * std::cos(2 * kPi * k / (n - 1)); }
LD hamming(int64_t k, int64_t n) { return 0.54L - 0.46L * std::cos(2 * kPi * k / (n - 1)); }
LD blackman(int64_t k, int64_t n, LD alpha) {
  const LD t = 2 * kPi * k / (n - 1);
  return (alpha + 1) / 2 - 0.5L * std::cos(t) - alpha / 2 * std::cos(2 * t);
}
// The usual Kaiser window I0(a sqrt(1 - (2k/(n-1) - 1)^2)) / I0(a) with a = beta (n-1)/2.
LD kaiser(int64_t k, int64_t n, LD beta) {
  const LD a = std::fabs(beta) * (n - 1) / 2;
  const LD r = 2.0L * k / (n - 1) - 1;
  return std::cyl_bessel_i(0.0L, a * std::sqrt(std::max(LD(0), 1 - r * r))) / std::cyl_bessel_i(0.0L, a);
}

struct WindowCase {
  const char* name;
  std::function<LD(int64_t, int64_t)> weight;
  void (*s)(float*, int32_t);
  void (*d)(double*, int32_t);
  void (*c)(ZqvCplxS*, int32_t);
  void (*z)(ZqvCplxD*, int32_t);
  void (*w)(int16_t*, int32_t);
  void (*v)(ZqvCplxW*, int32_t);
  double tolerance;  // relative to 1; the Kaiser weights use polynomial approximations of I0
};

const float kAlphaF = -0.3f;
const double kAlphaD = -0.3;

const std::vector<WindowCase>& windowCases() {
  static const std::vector<WindowCase> cases = {
      {"Bartlett", bartlett, zqvsWinBartlett, zqvdWinBartlett, zqvcWinBartlett, zqvzWinBartlett,
       zqvwWinBartlett, zqvvWinBartlett, 1e-15},
      {"Hann", hann, zqvsWinHann, zqvdWinHann, zqvcWinHann, zqvzWinHann, zqvwWinHann, zqvvWinHann, 1e-14},
      {"Hamming", hamming, zqvsWinHamming, zqvdWinHamming, zqvcWinHamming, zqvzWinHamming, zqvwWinHamming,
       zqvvWinHamming, 1e-14},
      {"BlackmanStd", [](int64_t k, int64_t n) { return blackman(k, n, LD(-0.16f)); }, zqvsWinBlackmanStd,
       [](double* v, int32_t n) { zqvdWinBlackman(v, n, LD(-0.16f)); }, zqvcWinBlackmanStd,
       [](ZqvCplxD* v, int32_t n) { zqvzWinBlackman(v, n, LD(-0.16f)); }, zqvwWinBlackmanStd,
       zqvvWinBlackmanStd, 1e-14},
      {"Blackman", [](int64_t k, int64_t n) { return blackman(k, n, kAlphaF); },
       [](float* v, int32_t n) { zqvsWinBlackman(v, n, kAlphaF); },
       [](double* v, int32_t n) { zqvdWinBlackman(v, n, kAlphaF); },
       [](ZqvCplxS* v, int32_t n) { zqvcWinBlackman(v, n, kAlphaF); },
       [](ZqvCplxD* v, int32_t n) { zqvzWinBlackman(v, n, kAlphaF); },
       [](int16_t* v, int32_t n) { zqvwWinBlackman(v, n, kAlphaF); },
       [](ZqvCplxW* v, int32_t n) { zqvvWinBlackman(v, n, kAlphaF); }, 1e-14},
      {"Kaiser", [](int64_t k, int64_t n) { return kaiser(k, n, 6.0L / (n - 1)); },
       [](float* v, int32_t n) { zqvsWinKaiser(v, n, 6.0f / (n - 1)); },
       [](double* v, int32_t n) { zqvdWinKaiser(v, n, double(6.0f / (n - 1))); },
       [](ZqvCplxS* v, int32_t n) { zqvcWinKaiser(v, n, 6.0f / (n - 1)); },
       [](ZqvCplxD* v, int32_t n) { zqvzWinKaiser(v, n, double(6.0f / (n - 1))); },
       [](int16_t* v, int32_t n) { zqvwWinKaiser(v, n, 6.0f / (n - 1)); },
       [](ZqvCplxW* v, int32_t n) { zqvvWinKaiser(v, n, 6.0f / (n - 1)); }, 1e-6},
  };
  return cases;
}

std::vector<double> randomValues(size_t n, uint32_t seed) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> dist(-1000.0, 1000.0);
  std::vector<double> v(n);
  for (auto& x : v) x = dist(gen);
  return v;
}

// Float and double buffers: every element is x * w(k) within the tolerance
// (plus the element type's own rounding); complex buffers get the same
// weights as real ones, on both parts, bit for bit.
TEST_F(Windows, FloatingFormsFollowTheClosedForms) {
  for (const auto& wc : windowCases()) {
    for (int32_t n : {3, 4, 7, 64, 1001, 65537}) {
      SCOPED_TRACE(std::string(wc.name) + " n=" + std::to_string(n));
      const auto x = randomValues(n, 7), y = randomValues(n, 8);
      std::vector<float> s(x.begin(), x.end()), sy(y.begin(), y.end());
      std::vector<double> d(x), dy(y);
      std::vector<ZqvCplxS> c(n);
      std::vector<ZqvCplxD> z(n);
      for (int32_t i = 0; i < n; ++i) {
        c[i] = {float(x[i]), float(y[i])};
        z[i] = {x[i], y[i]};
      }
      wc.s(s.data(), n);
      wc.s(sy.data(), n);
      wc.d(d.data(), n);
      wc.d(dy.data(), n);
      wc.c(c.data(), n);
      wc.z(z.data(), n);
      for (int32_t k = 0; k < n; ++k) {
        const LD w = wc.weight(k, n);
        const double xs = float(x[k]);
        ASSERT_NEAR(s[k], xs * w, std::fabs(xs) * (wc.tolerance + 0x1p-24)) << k;
        ASSERT_NEAR(d[k], x[k] * w, std::fabs(x[k]) * (wc.tolerance + 0x1p-53)) << k;
        ASSERT_EQ(c[k].re, s[k]) << k;
        ASSERT_EQ(c[k].im, sy[k]) << k;
        ASSERT_EQ(z[k].re, d[k]) << k;
        ASSERT_EQ(z[k].im, dy[k]) << k;
      }
    }
  }
  EXPECT_TRUE(reportsAre({}));
}

// A million points: the weights stay at double accuracy to the middle.
TEST_F(Windows, LongWindowsDoNotDrift) {
  const int32_t n = 1000001;
  std::vector<double> d(n, 1.0);
  zqvdWinHann(d.data(), n);
  for (int32_t k : {1, 1000, 250000, 499999, 500000, 500001, 999999})
    EXPECT_NEAR(d[k], hann(k, n), 1e-14) << k;
  // Kaiser past the length where k(n-1-k) leaves 32 bits.
  const int32_t m = 100001;
  const double beta = 0.004;
  std::vector<double> kw(m, 1.0);
  zqvdWinKaiser(kw.data(), m, beta);
  for (int32_t k : {1, 3000, 50000, 60000, 99999}) EXPECT_NEAR(kw[k], kaiser(k, m, beta), 2e-6 * kaiser(k, m, beta)) << k;
  EXPECT_EQ(kw[m / 2], 1.0);
  EXPECT_TRUE(reportsAre({}));
}

// 16-bit buffers: trunc(x * w) within one unit of the long double reference
// (weights close to an integer product may fall either side), never larger in
// magnitude, and -32768 stays in range.
TEST_F(Windows, SixteenBitFormsTruncateTowardZero) {
  for (const auto& wc : windowCases()) {
    for (int32_t n : {3, 8, 9, 257}) {
      SCOPED_TRACE(std::string(wc.name) + " n=" + std::to_string(n));
      std::mt19937 gen(n);
      std::uniform_int_distribution<int> dist(-32768, 32767);
      std::vector<int16_t> w(n);
      for (auto& e : w) e = int16_t(dist(gen));
      w[0] = -32768;
      w[n / 2] = 32767;
      const auto orig = w;
      std::vector<ZqvCplxW> v(n);
      for (int32_t i = 0; i < n; ++i) v[i] = {orig[i], orig[n - 1 - i]};
      wc.w(w.data(), n);
      wc.v(v.data(), n);
      for (int32_t k = 0; k < n; ++k) {
        const LD exact = orig[k] * wc.weight(k, n);
        // The middle of an odd length is truncated twice (below).
        const int slack = (n % 2 && k == n / 2) ? 2 : 1;
        ASSERT_LE(std::fabs(w[k] - std::trunc(exact)), slack) << k;
        ASSERT_LE(std::abs(w[k]), std::abs(int(orig[k]))) << k;
        ASSERT_EQ(v[k].re, w[k]) << k;
      }
      // The middle of an odd length has weight 1 up to rounding and is
      // multiplied twice: at most one unit lost at each truncation.
      if (n % 2) {
        EXPECT_GE(w[n / 2], 32765);
      }
    }
  }
}

TEST_F(Windows, SmallWindowsAndEdgeValues) {
  float s3[3] = {1, 1, 1};
  zqvsWinHann(s3, 3);
  EXPECT_EQ(s3[0], 0);
  EXPECT_EQ(s3[1], 1);
  EXPECT_EQ(s3[2], 0);
  double h3[3] = {1, 1, 1};
  zqvdWinHamming(h3, 3);
  EXPECT_NEAR(h3[0], 0.08, 1e-16);
  EXPECT_EQ(h3[1], 1);
  double b4[4] = {1, 1, 1, 1};
  zqvdWinBartlett(b4, 4);
  EXPECT_EQ(b4[0], 0);
  EXPECT_EQ(b4[1], 2.0 / 3);
  EXPECT_EQ(b4[2], 2.0 / 3);
  EXPECT_EQ(b4[3], 0);
  // A weight of -1.5 wraps: trunc(30000 * -1.5) = -45000, low 16 bits 20536.
  std::vector<int16_t> w(9, 30000);
  zqvwWinBlackman(w.data(), 9, -2.0f);
  EXPECT_EQ(w[2], 20536);
  EXPECT_EQ(w[6], 20536);
  // Kaiser: beta 0 leaves everything as it is; a negative beta acts as |beta|;
  // the middle of an odd length is left alone.
  std::vector<float> k0 = {3, -4, 5, 6, 7};
  zqvsWinKaiser(k0.data(), 5, 0.0f);
  EXPECT_EQ(k0, (std::vector<float>{3, -4, 5, 6, 7}));
  std::vector<double> kp(9, 1.0), kn(9, 1.0);
  zqvdWinKaiser(kp.data(), 9, 1.5);
  zqvdWinKaiser(kn.data(), 9, -1.5);
  EXPECT_EQ(kp, kn);
  EXPECT_EQ(kp[4], 1.0);
  EXPECT_LT(kp[0], 0.1);
  std::vector<int16_t> kw(9, 32767);
  zqvwWinKaiser(kw.data(), 9, 1.5f);
  EXPECT_EQ(kw[4], 32767);
  EXPECT_TRUE(reportsAre({}));
}

// The middle element of an odd length is the front and the back element of
// the last step: it is multiplied twice, the second time its first product.
// Bartlett with n = 7 gives it 3 * (2.0/6 rounded to double), just below 1,
// so a 16-bit value loses one unit at each of the two truncations.
TEST_F(Windows, OddMiddleIsMultipliedTwice) {
  ASSERT_LT(3 * LD(2.0 / 6), 1);
  std::vector<int16_t> w(7, 32767);
  zqvwWinBartlett(w.data(), 7);
  EXPECT_EQ(w[3], 32765);
  EXPECT_EQ(w[2], static_cast<int16_t>(32767 * (2 * LD(2.0 / 6))));
  std::vector<ZqvCplxW> v(7, ZqvCplxW{32767, -32768});
  zqvvWinBartlett(v.data(), 7);
  EXPECT_EQ(v[3].re, 32765);
  EXPECT_EQ(v[3].im, -32766);
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(Windows, StdAndOptDelegateToBlackman) {
  const int32_t n = 129;
  const auto x = randomValues(n, 9);
  std::vector<float> a(x.begin(), x.end()), b = a, c = a, e = a;
  zqvsWinBlackmanStd(a.data(), n);
  zqvsWinBlackman(b.data(), n, -0.16f);
  EXPECT_EQ(std::memcmp(a.data(), b.data(), n * sizeof(float)), 0);
  const LD q = 0.5L / std::cos(kPi / (n - 1));
  zqvsWinBlackmanOpt(c.data(), n);
  zqvsWinBlackman(e.data(), n, float(-q * q));
  EXPECT_EQ(std::memcmp(c.data(), e.data(), n * sizeof(float)), 0);
  std::vector<double> dd(x), de(x);
  zqvdWinBlackmanOpt(dd.data(), n);
  zqvdWinBlackman(de.data(), n, double(-q * q));
  EXPECT_EQ(dd, de);
}

// Windows neither read nor clear the status, and report at most once.
TEST_F(Windows, ArgumentErrorsStopAtTheFirstFailedCheck) {
  float f[700] = {};
  double d[700] = {};
  ZqvCplxS c[4] = {};
  ZqvCplxD z[4] = {};
  int16_t w[4] = {1, 2, 3, 4};
  ZqvCplxW v[4] = {};
  const int32_t E = ZQV_BAD_ARGUMENT;
  const char* NUL = "Null pointer to buffer";
  const char* LEN = "Bad number of items";
  const char* HUGE_ = "Huge window parameter";
  // One report each: the first failed check.
  const std::vector<ReportRow> rows = {
      {[&] { zqvsWinBartlett(nullptr, 0); }, {{E, "zqvsWinBartlett", NUL, "zqvwin"}}},
      {[&] { zqvcWinBartlett(c, 2); }, {{E, "zqvcWinBartlett", LEN, "zqvwin"}}},
      {[&] { zqvdWinHann(d, -5); }, {{E, "zqvdWinHann", LEN, "zqvwin"}}},
      {[&] { zqvzWinHann(nullptr, 8); }, {{E, "zqvzWinHann", NUL, "zqvwin"}}},
      {[&] { zqvwWinHamming(w, 2); }, {{E, "zqvwWinHamming", LEN, "zqvwinw"}}},
      {[&] { zqvvWinHamming(nullptr, 2); }, {{E, "zqvvWinHamming", NUL, "zqvwinw"}}},
      {[&] { zqvsWinBlackman(f, 1, -0.16f); }, {{E, "zqvsWinBlackman", LEN, "zqvwin"}}},
      {[&] { zqvsWinBlackmanStd(f, 2); }, {{E, "zqvsWinBlackman", LEN, "zqvwin"}}},
      {[&] { zqvzWinBlackmanStd(nullptr, 2); }, {{E, "zqvzWinBlackman", NUL, "zqvwin"}}},
      {[&] { zqvdWinBlackmanOpt(d, 1); }, {{E, "zqvdWinBlackman", LEN, "zqvwin"}}},
      {[&] { zqvvWinBlackmanOpt(v, 0); }, {{E, "zqvvWinBlackman", LEN, "zqvwinw"}}},
      {[&] { zqvwWinBlackmanOpt(nullptr, 9); }, {{E, "zqvwWinBlackman", NUL, "zqvwinw"}}},
      {[&] { zqvsWinKaiser(nullptr, 2, 1e9f); }, {{E, "zqvsWinKaiser", NUL, "zqvwin"}}},
      {[&] { zqvcWinKaiser(c, 2, 1e9f); }, {{E, "zqvcWinKaiser", LEN, "zqvwin"}}},
      {[&] { zqvsWinKaiser(f, 618, 1.0f); }, {{E, "zqvsWinKaiser", HUGE_, "zqvwin"}}},
      {[&] { zqvdWinKaiser(d, 618, 1.0); }, {{E, "zqvdWinKaiser", HUGE_, "zqvwin"}}},
      {[&] { zqvzWinKaiser(z, 3, NAN); }, {{E, "zqvzWinKaiser", HUGE_, "zqvwin"}}},
      {[&] { zqvwWinKaiser(w, 4, INFINITY); }, {{E, "zqvwWinKaiser", HUGE_, "zqvwinw"}}},
      {[&] { zqvvWinKaiser(v, 3, 700.0f); }, {{E, "zqvvWinKaiser", HUGE_, "zqvwinw"}}},
  };
  expectReportRows(rows);
  EXPECT_EQ(w[0], 1);
  EXPECT_EQ(w[3], 4);
  EXPECT_EQ(d[0], 0);

  // n = 617, beta = 1: (n-1) beta / 2 is exactly 308 and passes; and a
  // negative status left behind does not stop a window.
  clearReports();
  std::vector<float> ones(617, 1.0f);
  zqvsWinKaiser(ones.data(), 617, 1.0f);
  EXPECT_TRUE(reportsAre({}));
  EXPECT_LT(ones[0], 1e-30f);
  EXPECT_EQ(ones[308], 1.0f);
  // The size test is on the signed product: a negative beta passes at any
  // size and gives the weights of |beta|.
  std::vector<float> negS(618, 1.0f);
  std::vector<double> negD(618, 1.0);
  std::vector<ZqvCplxW> negV(3, ZqvCplxW{1000, -1000});
  zqvsWinKaiser(negS.data(), 618, -1.0f);
  zqvdWinKaiser(negD.data(), 618, -1.0);
  zqvvWinKaiser(negV.data(), 3, -700.0f);
  EXPECT_TRUE(reportsAre({}));
  for (int32_t k : {0, 1, 100, 308, 309, 500, 617}) {
    const LD ref = kaiser(k, 618, 1.0L);
    EXPECT_NEAR(negD[k], ref, 2e-6 * ref) << k;
    EXPECT_NEAR(negS[k], ref, 2e-6 * ref + 0x1p-126) << k;  // the ends lie below float range
  }
  EXPECT_TRUE(negV[0].re == 0 && negV[0].im == 0 && negV[2].re == 0);
  EXPECT_TRUE(negV[1].re == 1000 && negV[1].im == -1000);
  // Far beyond 308 the weights still follow the closed form, up to where
  // I0(|beta| (n-1)/2) leaves the long double range (about 11356): a beta
  // beyond that would give NaN weights and is refused as huge.
  std::vector<double> far(1001, 1.0);
  zqvdWinKaiser(far.data(), 1001, -20.0);
  EXPECT_TRUE(reportsAre({}));
  for (int32_t k : {0, 250, 480, 499, 500}) {
    const LD ref = kaiser(k, 1001, 20.0L);
    EXPECT_NEAR(far[k], ref, 2e-6 * ref) << k;
  }
  std::vector<float> beyond(1001, 1.0f);
  zqvsWinKaiser(beyond.data(), 1001, -25.0f);
  std::vector<double> beyondD(5, 1.0);
  zqvdWinKaiser(beyondD.data(), 5, -1e300);
  EXPECT_TRUE(reportsAre({{E, "zqvsWinKaiser", HUGE_, "zqvwin"}, {E, "zqvdWinKaiser", HUGE_, "zqvwin"}}));
  EXPECT_TRUE(std::all_of(beyond.begin(), beyond.end(), [](float x) { return x == 1.0f; }));
  EXPECT_TRUE(std::all_of(beyondD.begin(), beyondD.end(), [](double x) { return x == 1.0; }));
  std::vector<float> h(5, 1.0f);
  zqvsWinHann(h.data(), 5);
  EXPECT_EQ(h[0], 0.0f);
  EXPECT_EQ(zqvGetErrStatus(), ZQV_BAD_ARGUMENT);
}

}  // namespace
