// 16-bit and complex 16-bit square, square root and absolute value, against
// exact 64-bit references and an integer square root computed digit by digit.
#include <cstdint>
#include <random>
#include <vector>

#include "zqv_test_support.h"

namespace {

constexpr int32_t kBad = ZQV_BAD_ARGUMENT;

int16_t low16(int64_t x) { return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(x))); }
int16_t clamp16(int64_t x) { return static_cast<int16_t>(x < -32768 ? -32768 : x > 32767 ? 32767 : x); }

// Exact value shifted by f (right for f > 0, left for f < 0), then
// saturated or wrapped.
int16_t scaledRef(int64_t v, int32_t f, bool saturate) {
  const int64_t r = f >= 0 ? (v >> f) : v * (int64_t{1} << -f);
  return saturate ? clamp16(r) : low16(r);
}

// Digit-by-digit integer square root (two bits per step).
uint32_t isqrtRef(uint64_t x) {
  uint64_t root = 0, bit = uint64_t{1} << 62;
  while (bit > x) bit >>= 2;
  while (bit != 0) {
    if (x >= root + bit) {
      x -= root + bit;
      root = (root >> 1) + bit;
    } else {
      root >>= 1;
    }
    bit >>= 2;
  }
  return static_cast<uint32_t>(root);
}

std::vector<int16_t> randomW(size_t n, uint32_t seed) {
  std::mt19937 gen(seed);
  std::vector<int16_t> v(n);
  for (auto& x : v) {
    const uint32_t r = gen();
    x = static_cast<int16_t>((r & 3) == 0 ? r >> 16 : (r & 3) == 1 ? (r >> 16) % 400 - 200 : (r >> 16) % 40 - 20);
  }
  v[n / 2] = -32768;
  return v;
}

class VecW : public ZqvTest {};

struct SqrCase {
  std::vector<int16_t> in;
  int32_t mode;
  int32_t factor;
  std::vector<int16_t> out;
  int32_t factorOut;
};

TEST_F(VecW, SquaresOfTheDocumentedCases) {
  const SqrCase cases[] = {
      {{-32768}, ZQV_AUTO_SCALE, 0, {16384}, 16},
      {{10, 200}, ZQV_AUTO_SCALE, 0, {50, 20000}, 1},  // the first square is shifted after the fact
      {{10, -181}, ZQV_AUTO_SCALE, 9, {100, 32761}, 0},
      {{200}, ZQV_WRAP, 0, {-25536}, 0},
      {{200}, ZQV_SATURATE, 0, {32767}, 0},
      {{300}, ZQV_WRAP, 0, {24464}, 0},
      {{300, 5}, ZQV_FIXED_SCALE, 2, {22500, 6}, 2},
      {{300, 5}, ZQV_FIXED_SCALE | ZQV_SATURATE, -3, {32767, 200}, -3},
      {{3}, ZQV_FIXED_SCALE, -16, {0}, -16},  // nothing left in the low 16 bits
      {{1}, ZQV_FIXED_SCALE | ZQV_SATURATE, -15, {32767}, -15},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "mode " << c.mode << " factor " << c.factor << " first " << c.in[0]);
    std::vector<int16_t> v = c.in, out(c.in.size(), 7);
    int32_t f1 = c.factor, f2 = c.factor;
    zqvwbSqr1(v.data(), static_cast<int32_t>(v.size()), c.mode, &f1);
    zqvwbSqr2(c.in.data(), out.data(), static_cast<int32_t>(v.size()), c.mode, &f2);
    EXPECT_EQ(v, c.out);
    EXPECT_EQ(out, c.out);
    EXPECT_EQ(f1, c.factorOut);
    EXPECT_EQ(f2, c.factorOut);
  }
  EXPECT_TRUE(reportsAre({}));
}

// Every mode and factor on long vectors (several narrowing blocks).
TEST_F(VecW, SquaresAgainstExactReference) {
  const std::vector<int16_t> src = randomW(1000, 1);
  for (int32_t mode : {0, 1, 2, 3, 8 | 2}) {
    for (int32_t f = -20; f <= 20; ++f) {
      std::vector<int16_t> dst(src.size());
      int32_t factor = f;
      zqvwbSqr2(src.data(), dst.data(), 1000, mode, &factor);
      const int32_t shift = (mode & ZQV_FIXED_SCALE) ? f : 0;
      for (size_t i = 0; i < src.size(); ++i)
        ASSERT_EQ(dst[i], scaledRef(int64_t{src[i]} * src[i], shift, mode & 1))
            << "mode " << mode << " factor " << f << " element " << src[i];
    }
  }
  // Automatic: the smallest shift at which the largest square fits.
  for (size_t len : {1u, 255u, 256u, 257u, 700u}) {
    std::vector<int16_t> v = randomW(len, static_cast<uint32_t>(len));
    int64_t m = 0;
    for (int16_t x : v) m = std::max<int64_t>(m, x < 0 ? -int64_t{x} : x);
    int32_t s = 0;
    while (((m * m) >> s) > 32767) ++s;
    const std::vector<int16_t> src2 = v;
    int32_t factor = -99;
    zqvwbSqr1(v.data(), static_cast<int32_t>(len), ZQV_AUTO_SCALE, &factor);
    EXPECT_EQ(factor, s);
    for (size_t i = 0; i < len; ++i) ASSERT_EQ(v[i], (int64_t{src2[i]} * src2[i]) >> s) << i;
  }
}

struct CplxRef {
  int16_t re, im;
};

CplxRef complexSquareRef(ZqvCplxW z, int32_t f, bool saturate) {
  const int64_t re = z.re, im = z.im;
  return {scaledRef(re * re - im * im, f, saturate), scaledRef(2 * re * im, f, saturate)};
}

TEST_F(VecW, ComplexSquaresAgainstExactReference) {
  ZqvCplxW one[1] = {{200, 100}};
  int32_t factor = 0;
  zqvvbSqr2(one, one, 1, ZQV_AUTO_SCALE, &factor);
  EXPECT_EQ(one[0].re, 15000);
  EXPECT_EQ(one[0].im, 20000);
  EXPECT_EQ(factor, 1);

  std::vector<ZqvCplxW> src(600);
  const std::vector<int16_t> parts = randomW(1200, 2);
  for (size_t i = 0; i < src.size(); ++i) src[i] = {parts[2 * i], parts[2 * i + 1]};
  src[7] = {-32768, -32768};  // 2*re*im = 2^31
  src[8] = {-32768, 32767};
  for (int32_t mode : {0, 1, 2, 3}) {
    for (int32_t f = -20; f <= 20; ++f) {
      std::vector<ZqvCplxW> dst(src.size());
      factor = f;
      zqvvbSqr2(src.data(), dst.data(), static_cast<int32_t>(src.size()), mode, &factor);
      const int32_t shift = (mode & ZQV_FIXED_SCALE) ? f : 0;
      for (size_t i = 0; i < src.size(); ++i) {
        const CplxRef want = complexSquareRef(src[i], shift, mode & 1);
        ASSERT_EQ(dst[i].re, want.re) << "mode " << mode << " factor " << f << " at " << i;
        ASSERT_EQ(dst[i].im, want.im) << "mode " << mode << " factor " << f << " at " << i;
      }
    }
  }
  // Automatic: the smallest shift at which both parts of every element fit,
  // in place; small vectors need no shift at all.
  for (size_t len : {3u, 600u}) {
    std::vector<ZqvCplxW> v(src.begin(), src.begin() + len);
    if (len == 3) v = {{10, 20}, {-100, 50}, {0, -1}};
    int32_t s = 0;
    auto fits = [&](int32_t sh) {
      for (const auto& z : v) {
        const int64_t d = int64_t{z.re} * z.re - int64_t{z.im} * z.im, p2 = 2 * int64_t{z.re} * z.im;
        if ((d >> sh) > 32767 || (d >> sh) < -32768 || (p2 >> sh) > 32767 || (p2 >> sh) < -32768) return false;
      }
      return true;
    };
    while (!fits(s)) ++s;
    const std::vector<ZqvCplxW> before = v;
    factor = -99;
    zqvvbSqr1(v.data(), static_cast<int32_t>(len), ZQV_AUTO_SCALE | ZQV_SATURATE, &factor);
    EXPECT_EQ(factor, s);
    for (size_t i = 0; i < len; ++i) {
      const CplxRef want = complexSquareRef(before[i], s, false);
      ASSERT_EQ(v[i].re, want.re) << i;
      ASSERT_EQ(v[i].im, want.im) << i;
    }
  }
}

TEST_F(VecW, IntegerRootsOfEveryNonNegativeValue) {
  std::vector<int16_t> all(32768), out(32768, -1);
  for (int32_t i = 0; i < 32768; ++i) all[i] = static_cast<int16_t>(i);
  zqvwbSqrt2(all.data(), out.data(), 32768);
  zqvwbSqrt1(all.data(), 32768);
  for (int32_t i = 0; i < 32768; ++i) {
    ASSERT_EQ(out[i], static_cast<int16_t>(isqrtRef(i))) << i;
    ASSERT_EQ(all[i], out[i]) << i;
  }
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(VecW, NegativeElementsUnderTheRootAreSkippedAndReportedOnce) {
  const int16_t src[3] = {32767, 0, -5};
  int16_t dst[3] = {9, 9, 9};
  zqvwbSqrt2(src, dst, 3);
  EXPECT_EQ(dst[0], 181);
  EXPECT_EQ(dst[1], 0);
  EXPECT_EQ(dst[2], 9);
  EXPECT_TRUE(reportsAre({{kBad, "zqvwbSqrt2", "Element of input vector is negative", "zqvvec"}}));

  // Negatives inside a long vector: every other element is still done.
  zqvSetErrStatus(0);
  clearReports();
  std::vector<int16_t> v(300);
  for (size_t i = 0; i < v.size(); ++i) v[i] = static_cast<int16_t>(i % 7 == 3 ? -int(i) - 1 : i * 100);
  const std::vector<int16_t> before = v;
  zqvwbSqrt1(v.data(), 300);
  for (size_t i = 0; i < v.size(); ++i)
    ASSERT_EQ(v[i], before[i] < 0 ? before[i] : static_cast<int16_t>(isqrtRef(before[i]))) << i;
  EXPECT_TRUE(reportsAre({{kBad, "zqvwbSqrt1", "Element of input vector is negative", "zqvvec"}}));
  EXPECT_EQ(zqvGetErrStatus(), kBad);
}

TEST_F(VecW, ComplexIntegerRoots) {
  std::vector<ZqvCplxW> v = {{3, 4}, {-4, 0}, {0, -4}, {0, 0}, {-32768, -32768}, {32767, -32768}, {-1, 1}};
  const std::vector<int16_t> parts = randomW(400, 6);
  for (size_t i = 0; i < parts.size(); i += 2) v.push_back({parts[i], parts[i + 1]});
  const std::vector<ZqvCplxW> src = v;
  std::vector<ZqvCplxW> out(v.size());
  zqvvbSqrt2(src.data(), out.data(), static_cast<int32_t>(v.size()));
  zqvvbSqrt1(v.data(), static_cast<int32_t>(v.size()));
  const int16_t firstRe[4] = {2, 0, 1, 0}, firstIm[4] = {1, 2, -1, 0};
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(out[i].re, firstRe[i]) << i;
    EXPECT_EQ(out[i].im, firstIm[i]) << i;
  }
  for (size_t i = 0; i < src.size(); ++i) {
    const int64_t re = src[i].re, im = src[i].im;
    const int64_t r = isqrtRef(static_cast<uint64_t>(re * re + im * im));
    const int64_t wantIm = isqrtRef(static_cast<uint64_t>((r - re) / 2));
    ASSERT_EQ(out[i].re, static_cast<int16_t>(isqrtRef(static_cast<uint64_t>((r + re) / 2)))) << i;
    ASSERT_EQ(out[i].im, static_cast<int16_t>(im < 0 ? -wantIm : wantIm)) << i;
    ASSERT_EQ(v[i].re, out[i].re) << i;
    ASSERT_EQ(v[i].im, out[i].im) << i;
  }
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(VecW, AbsoluteValuesOfEveryValue) {
  std::vector<int16_t> all(65536), out(65536);
  for (int32_t i = 0; i < 65536; ++i) all[i] = static_cast<int16_t>(i - 32768);
  zqvwbAbs2(all.data(), out.data(), 65536);
  zqvwbAbs1(all.data(), 65536);
  for (int32_t i = 0; i < 65536; ++i) {
    const int32_t x = i - 32768;
    ASSERT_EQ(out[i], x == -32768 ? 32767 : (x < 0 ? -x : x)) << x;
    ASSERT_EQ(all[i], out[i]) << x;
  }
}

// A report routine that clears the status again must not let automatic
// scaling go on and write through the missing factor pointer.
int32_t clearingReport(int32_t status, const char* func, const char* message, const char* file, int32_t line) {
  zqvRecordingReport(status, func, message, file, line);
  zqvSetErrStatus(0);
  return status;
}

TEST_F(VecW, AutomaticScalingWithoutFactorStopsEvenWhenTheStatusIsCleared) {
  zqvRedirectError(clearingReport);
  int16_t w[2] = {300, 4};
  ZqvCplxW v[1] = {{300, 300}};
  EXPECT_EQ(zqvwStdDev(w, 2, ZQV_AUTO_SCALE, nullptr), 0);
  zqvwbSqr1(w, 2, ZQV_AUTO_SCALE, nullptr);
  zqvvbSqr2(v, v, 1, ZQV_AUTO_SCALE, nullptr);
  EXPECT_EQ(w[0], 300);
  EXPECT_EQ(v[0].re, 300);
  EXPECT_TRUE(reportsAre({{kBad, "zqvwStdDev", "scaleFactor==0", "zqvvec"},
                          {kBad, "zqvwbSqr1", "scaleFactor==0", "zqvvec"},
                          {kBad, "zqvvbSqr2", "scaleFactor==0", "zqvvec"}}));
}

}  // namespace
