// DCT: against the orthonormal DCT-II written out in long double, round
// trips, constant vectors, table rebuilds on length changes, the 16-bit
// form's saturation, the checks, and threads running different lengths.
#include <cmath>
#include <cstring>
#include <random>
#include <thread>
#include <vector>

#include "zqv_test_support.h"

namespace {

using LD = long double;
constexpr LD kPi = 3.141592653589793238462643383279502884L;

class Dct : public ZqvTest {
 protected:
  void TearDown() override {
    zqvdDct(nullptr, nullptr, 0, 8);
    ZqvTest::TearDown();
  }
};

// X[k] = c(k) sum x[i] cos(pi k (2i + 1) / (2n)), c(0) = 1/sqrt(n), else sqrt(2/n).
std::vector<LD> closedForm(const std::vector<LD>& x) {
  const std::size_t n = x.size();
  std::vector<LD> X(n);
  for (std::size_t k = 0; k < n; ++k) {
    LD s = 0;
    for (std::size_t i = 0; i < n; ++i) s += x[i] * std::cos(kPi * static_cast<LD>((k * (2 * i + 1)) % (4 * n)) / (2 * n));
    X[k] = s * (k == 0 ? 1 / std::sqrt(static_cast<LD>(n)) : std::sqrt(2 / static_cast<LD>(n)));
  }
  return X;
}

// Its inverse written out: x[i] = sum c(k) X[k] cos(pi k (2i + 1) / (2n)).
std::vector<LD> closedInverse(const std::vector<LD>& X) {
  const std::size_t n = X.size();
  std::vector<LD> x(n);
  for (std::size_t i = 0; i < n; ++i) {
    LD s = 0;
    for (std::size_t k = 0; k < n; ++k)
      s += X[k] * (k == 0 ? 1 / std::sqrt(static_cast<LD>(n)) : std::sqrt(2 / static_cast<LD>(n))) *
           std::cos(kPi * static_cast<LD>((k * (2 * i + 1)) % (4 * n)) / (2 * n));
    x[i] = s;
  }
  return x;
}

std::vector<LD> randomValues(std::size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> d(-1, 1);
  std::vector<LD> v(n);
  for (LD& x : v) x = static_cast<LD>(static_cast<float>(d(gen)));
  return v;
}

template <class T>
void runDct(const T* src, T* dst, int32_t n, int32_t flags) {
  if constexpr (sizeof(T) == 4) zqvsDct(src, dst, n, flags);
  else zqvdDct(src, dst, n, flags);
}

template <class T>
void expectBothDirections(int32_t n, LD tolerance) {
  const auto x = randomValues(static_cast<std::size_t>(n), 7 + n);
  std::vector<T> in(x.begin(), x.end()), out(x.size());
  runDct(in.data(), out.data(), n, 1);
  const auto X = closedForm(x);
  for (int32_t k = 0; k < n; ++k) ASSERT_NEAR(out[k], X[k], tolerance) << "forward n " << n << " k " << k;
  runDct(in.data(), out.data(), n, 2);
  const auto back = closedInverse(x);
  for (int32_t i = 0; i < n; ++i) ASSERT_NEAR(out[i], back[i], tolerance) << "inverse n " << n << " i " << i;
  // In place, forward then inverse, gives the input back.
  std::vector<T> v(x.begin(), x.end());
  runDct(v.data(), v.data(), n, 1);
  runDct(v.data(), v.data(), n, 2 | 0x100);
  for (int32_t i = 0; i < n; ++i) ASSERT_NEAR(v[i], x[i], tolerance) << "round trip n " << n << " i " << i;
}

TEST_F(Dct, MatchesTheClosedFormAndRoundTrips) {
  std::vector<int32_t> lengths;
  for (int32_t n = 1; n <= 40; ++n) lengths.push_back(n);
  for (int32_t n : {63, 64, 100, 128, 255, 256, 1024, 1000}) lengths.push_back(n);
  for (int32_t n : lengths) {
    expectBothDirections<float>(n, 2e-6L * std::sqrt(static_cast<LD>(n)) + 1e-6L);
    expectBothDirections<double>(n, 1e-14L * std::sqrt(static_cast<LD>(n)));
  }
  EXPECT_TRUE(reportsAre({}));
}

// The factor 0.5 / cos((2j + 1) pi / (4m)) of the odd half, the angle formed
// in double, the factor in long double and rounded once: the same on every
// processor.
double oddFactor(int32_t j, int32_t m) {
  const double angle = static_cast<double>(2 * j + 1) * 3.141592653589793 / (4.0 * m);
  return static_cast<double>(0.5L / std::cos(static_cast<LD>(angle)));
}

// The fast recursion written plainly (recursive, one value at a time, in
// double): the vectorised passes must give exactly these bits. Even outputs
// are the transform of x[j] + x[n-1-j], odd ones that of the scaled
// differences with neighbours added.
void plainDct2(double* x, double* tmp, int32_t p) {
  if (p == 0) return;
  const int32_t n = 1 << p, m = n / 2;
  for (int32_t j = 0; j < m; ++j) {
    tmp[j] = x[j] + x[n - 1 - j];
    tmp[m + j] = (x[j] - x[n - 1 - j]) * oddFactor(j, m);
  }
  plainDct2(tmp, x, p - 1);
  plainDct2(tmp + m, x + m, p - 1);
  for (int32_t k = 0; k + 1 < m; ++k) tmp[m + k] += tmp[m + k + 1];
  for (int32_t k = 0; k < m; ++k) {
    x[2 * k] = tmp[k];
    x[2 * k + 1] = tmp[m + k];
  }
}

void plainDct3(double* X, double* tmp, int32_t p) {
  if (p == 0) return;
  const int32_t n = 1 << p, m = n / 2;
  for (int32_t k = 0; k < m; ++k) {
    tmp[k] = X[2 * k];
    tmp[m + k] = X[2 * k + 1] * oddFactor(k, m);
  }
  plainDct3(tmp, X, p - 1);
  plainDct2(tmp + m, X + m, p - 1);
  for (int32_t k = 0; k + 1 < m; ++k) tmp[m + k] += tmp[m + k + 1];
  for (int32_t i = 0; i < m; ++i) {
    X[i] = tmp[i] + tmp[m + i];
    X[n - 1 - i] = tmp[i] - tmp[m + i];
  }
}

template <class T>
std::vector<T> plainFastDct(const std::vector<T>& src, bool forward) {
  const int32_t n = static_cast<int32_t>(src.size());
  const double s0 = 1.0 / std::sqrt(static_cast<double>(n)), s1 = 1.4142135623730951 * s0;
  std::vector<double> w(src.begin(), src.end()), tmp(src.size());
  if (!forward)
    for (int32_t k = 0; k < n; ++k) w[k] *= k ? s1 : s0;
  if (forward) plainDct2(w.data(), tmp.data(), std::ilogb(n));
  else plainDct3(w.data(), tmp.data(), std::ilogb(n));
  if (forward)
    for (int32_t k = 0; k < n; ++k) w[k] *= k ? s1 : s0;
  return std::vector<T>(w.begin(), w.end());
}

template <class T>
void expectFastBits(int32_t n) {
  const auto x = randomValues(static_cast<std::size_t>(n), 31 + n);
  const std::vector<T> in(x.begin(), x.end());
  for (int32_t flags : {1, 2}) {
    const auto want = plainFastDct(in, flags == 1);
    std::vector<T> out(in.size());
    runDct(in.data(), out.data(), n, flags);
    for (int32_t k = 0; k < n; ++k)
      ASSERT_EQ(std::memcmp(&out[k], &want[k], sizeof(T)), 0) << "n " << n << " flags " << flags << " k " << k;
  }
}

TEST_F(Dct, FastMethodKeepsItsBits) {
  for (int32_t p = 1; p <= 13; ++p) {
    expectFastBits<float>(1 << p);
    expectFastBits<double>(1 << p);
  }
  EXPECT_TRUE(reportsAre({}));
}

// A unit impulse at i < n/2 picks one cosine of the direct method's table per
// output: X[k] = s1 cos(j pi / (2n)) with j = k(2i + 1) mod 4n, the angle
// formed in double and its cosine taken in long double and rounded once. The
// C library's double cosine rounds some of these angles differently on
// processors with and without FMA; this value is the same on all of them.
TEST_F(Dct, DirectMethodCosinesAreRoundedOnceFromLongDouble) {
  for (int32_t n : {100, 999, 1000, 3000}) {
    const double step = 3.141592653589793 / (2.0 * n);
    const double s1 = 1.4142135623730951 * (1.0 / std::sqrt(static_cast<double>(n)));
    for (int32_t i : {0, 1, 5, n / 3, n / 2 - 1}) {
      std::vector<double> x(static_cast<std::size_t>(n), 0.0), X(x.size());
      x[i] = 1;
      zqvdDct(x.data(), X.data(), n, 1);
      for (int32_t k = 1; k < n; ++k) {
        const int64_t j = int64_t{k} * (2 * i + 1) % (4 * int64_t{n});
        const double c = static_cast<double>(std::cos(static_cast<LD>(static_cast<double>(j) * step)));
        ASSERT_EQ(X[k], c * s1) << "n " << n << " i " << i << " k " << k;
      }
    }
  }
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(Dct, ConstantVectorsAndAlternatingLengths) {
  for (int32_t n : {8, 12, 8, 7, 16, 12, 2, 4}) {
    std::vector<double> v(static_cast<std::size_t>(n), 0.75), X(v.size());
    zqvdDct(v.data(), X.data(), n, 9);  // 8 + forward is a forward transform, not a release
    EXPECT_NEAR(X[0], 0.75 * std::sqrt(static_cast<double>(n)), 1e-14) << n;
    for (int32_t k = 1; k < n; ++k) EXPECT_NEAR(X[k], 0.0, 1e-14) << n << " " << k;
  }
  const float one[1] = {-3.5f};
  float out[1];
  zqvsDct(one, out, 1, 2);
  EXPECT_EQ(out[0], -3.5f);
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(Dct, SixteenBitRoundsAndSaturates) {
  // A constant 20000 over 16 values: X[0] = 80000 saturates, the rest round to 0.
  std::vector<int16_t> v(16, 20000), X(16, 1);
  zqvwDct(v.data(), X.data(), 16, 1);
  EXPECT_EQ(X[0], 32767);
  for (int k = 1; k < 16; ++k) EXPECT_EQ(X[k], 0) << k;
  std::vector<int16_t> neg(9, -30000);
  zqvwDct(neg.data(), neg.data(), 9, 1);
  EXPECT_EQ(neg[0], -32768);
  // Within range: the float transform rounded to nearest.
  const std::vector<int16_t> x = {100, -250, 37, 9, 1200, -7, 0};
  std::vector<float> xf(x.begin(), x.end()), Xf(7);
  std::vector<int16_t> Xw(7);
  zqvsDct(xf.data(), Xf.data(), 7, 1);
  zqvwDct(x.data(), Xw.data(), 7, 1);
  for (int k = 0; k < 7; ++k) EXPECT_EQ(Xw[k], static_cast<int16_t>(std::nearbyint(Xf[k]))) << k;
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(Dct, ChecksStopAtTheFirstFailure) {
  static float f[4] = {1, 2, 3, 4}, out[4];
  static double d[4] = {1, 2, 3, 4};
  static int16_t w[4] = {1, 2, 3, 4}, wout[4];
  const int32_t E = ZQV_BAD_ARGUMENT;
  const char* M = "zqvdct";
  const char* kNull = "\nNull pointer to data buffer\n";
  const char* kSize = "\nBad value of data buffer size\n";
  const char* kFlag = "\nBad value of the transform flag\n";
  const std::vector<ReportRow> rows = {
      {"null src", [] { zqvsDct(nullptr, out, 4, 1); }, {{E, "zqvsDct", kNull, M}}},
      {"null and size", [] { zqvdDct(d, nullptr, 0, 1); }, {{E, "zqvdDct", kNull, M}}},
      {"size", [] { zqvsDct(f, out, 0, 1); }, {{E, "zqvsDct", kSize, M}}},
      {"flags 3", [] { zqvdDct(d, d, 4, 3); }, {{E, "zqvdDct", kFlag, M}}},
      {"flags 0", [] { zqvsDct(f, out, 4, 0); }, {{E, "zqvsDct", kFlag, M}}},
      {"flags 4", [] { zqvwDct(w, wout, 4, 4); }, {{E, "zqvwDct", kFlag, M}}},
      {"w size", [] { zqvwDct(w, wout, -2, 1); }, {{E, "zqvwDct", kSize, M}}},
      {"w null", [] { zqvwDct(nullptr, nullptr, 4, 1); }, {{E, "zqvwDct", kNull, M}}},
  };
  expectReportRows(rows, E, [](const ReportRow&) {
    for (float v : out) EXPECT_EQ(v, 0.0f);
    for (int16_t v : wout) EXPECT_EQ(v, 0);
  });
  // Release with null vectors reports nothing; the status is never read.
  clearReports();
  zqvsDct(nullptr, nullptr, 0, 8);
  zqvwDct(nullptr, nullptr, -1, 8);
  EXPECT_TRUE(reportsAre({}));
  zqvSetErrStatus(ZQV_BAD_ARGUMENT);
  zqvsDct(f, out, 4, 1);
  EXPECT_NEAR(out[0], 5.0f, 1e-6f);
}

// The tables are the calling thread's: threads running different lengths at
// once (each rebuilding its own tables) all get correct results.
TEST_F(Dct, ThreadsRunDifferentLengthsAtOnce) {
  const int32_t lengths[] = {12, 64, 100, 7, 256, 30, 1024, 9};
  std::vector<int> failures(std::size(lengths), 0);
  std::vector<std::thread> threads;
  for (std::size_t t = 0; t < std::size(lengths); ++t)
    threads.emplace_back([&, t] {
      for (int round = 0; round < 16; ++round) {
        const int32_t n = lengths[(t + round) % std::size(lengths)];
        const auto x = randomValues(static_cast<std::size_t>(n), 100 + t);
        std::vector<double> in(x.begin(), x.end()), out(x.size());
        zqvdDct(in.data(), out.data(), n, 1);
        const auto X = closedForm(x);
        for (int32_t k = 0; k < n; ++k)
          if (std::fabs(out[k] - static_cast<double>(X[k])) > 1e-12) ++failures[t];
        if (round % 5 == 4) zqvdDct(nullptr, nullptr, 0, 8);
      }
    });
  for (auto& th : threads) th.join();
  for (std::size_t t = 0; t < failures.size(); ++t) EXPECT_EQ(failures[t], 0) << t;
}

}  // namespace
