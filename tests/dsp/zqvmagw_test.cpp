// 16-bit magnitude and power spectrum under every scale mode, against exact
// 64-bit powers, a long-double square root and a brute-force search for the
// automatic shift.
#include <algorithm>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <functional>
#include <random>
#include <vector>

#include "zqv_test_support.h"

namespace {

constexpr int32_t kBad = ZQV_BAD_ARGUMENT;

int16_t low16(int64_t x) { return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(x))); }
int16_t sat16(int64_t x) { return static_cast<int16_t>(x > 32767 ? 32767 : x); }
int64_t powerOf(ZqvCplxW v) { return int64_t{v.re} * v.re + int64_t{v.im} * v.im; }
// Magnitude rounded to the nearest integer, ties to even (default mode).
int64_t magRounded(ZqvCplxW v) { return static_cast<int64_t>(std::nearbyint(std::sqrt(static_cast<long double>(powerOf(v))))); }

std::vector<ZqvCplxW> randomV(size_t n, uint32_t seed) {
  std::mt19937 gen(seed);
  std::vector<ZqvCplxW> v(n);
  for (auto& x : v) {
    const uint32_t r = gen();
    const int range = (r & 3) == 0 ? 65536 : (r & 3) == 1 ? 400 : 40;
    x = {static_cast<int16_t>(static_cast<int>(gen() % range) - range / 2),
         static_cast<int16_t>(static_cast<int>(gen() % range) - range / 2)};
  }
  return v;
}

// Both forms of one family: the complex vector and the two part vectors must
// give the same output and the same factor.
std::vector<int16_t> run(bool mag, const std::vector<ZqvCplxW>& v, int mode, int32_t* factor) {
  const int n = static_cast<int>(v.size());
  std::vector<int16_t> out(n, 0x5555), out2(n, 0x5555), re(n), im(n);
  for (int i = 0; i < n; ++i) {
    re[i] = v[i].re;
    im[i] = v[i].im;
  }
  int32_t f2 = factor ? *factor : 0;
  if (mag) {
    zqvvbMag(v.data(), out.data(), n, mode, factor);
    zqvwbrMag(re.data(), im.data(), out2.data(), n, mode, factor ? &f2 : nullptr);
  } else {
    zqvvbPowerSpectr(v.data(), out.data(), n, mode, factor);
    zqvwbrPowerSpectr(re.data(), im.data(), out2.data(), n, mode, factor ? &f2 : nullptr);
  }
  EXPECT_EQ(out, out2);
  if (factor) { EXPECT_EQ(*factor, f2); }
  return out;
}

class MagW : public ZqvTest {};

TEST_F(MagW, PowerInEveryMode) {
  auto v = randomV(300, 7);
  v[5] = {-32768, -32768};
  v[6] = {181, 181};
  for (int mode = 0; mode <= 4; ++mode) {
    for (int32_t start : {0, 3, 20}) {
      int32_t f = start;
      const auto out = run(false, v, mode, &f);
      // Brute force: the smallest shift from the start at which all fit.
      int32_t s = start;
      if (mode == 4)
        for (bool fits = false; !fits; ++s) {
          fits = true;
          for (const auto& x : v) fits = fits && (powerOf(x) >> s) <= 32767;
          if (fits) break;
        }
      for (size_t i = 0; i < v.size(); ++i) {
        const int64_t p = powerOf(v[i]);
        int16_t want = 0;
        switch (mode) {
          case 0: want = low16(p); break;
          case 1: want = sat16(p); break;
          case 2: want = low16(p >> start); break;
          case 3: want = sat16(p >> start); break;
          case 4: want = static_cast<int16_t>(p >> s); break;
        }
        ASSERT_EQ(out[i], want) << "mode " << mode << " start " << start << " at " << i;
      }
      EXPECT_EQ(f, mode == 4 ? s : start) << mode;
    }
  }
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(MagW, MagnitudeInTheScaledModes) {
  auto v = randomV(300, 8);
  v[9] = {-32768, -32768};
  for (int mode = 2; mode <= 4; ++mode) {
    int32_t f = mode == 4 ? 0 : 1;
    const auto out = run(true, v, mode, &f);
    int64_t largest = 0;
    for (const auto& x : v) largest = std::max(largest, magRounded(x));
    const int32_t s = mode == 4 ? (largest > 32767 ? 1 : 0) : 1;
    for (size_t i = 0; i < v.size(); ++i) {
      const int64_t m = magRounded(v[i]) >> s;
      ASSERT_EQ(out[i], mode == 3 ? sat16(m) : low16(m)) << mode << " " << i;
    }
    EXPECT_EQ(f, s);
  }
}

// Unscaled magnitudes: direct elements truncate (wrap) or go through float
// (saturate); the whole blocks of 128 of a longer vector round the float root
// of the float power to nearest.
TEST_F(MagW, MagnitudeUnscaledDirectAndInBlocks) {
  for (int n : {128, 129, 300}) {
    auto v = randomV(n, 9 + n);
    v[0] = {2, 3};
    v[n - 1] = {2, 3};
    v[n / 2] = {-32768, -32768};
    for (int mode = 0; mode <= 1; ++mode) {
      const auto out = run(true, v, mode, nullptr);
      const int blocked = n > 128 ? n - n % 128 : 0;
      for (int i = 0; i < n; ++i) {
        const long double m = std::sqrt(static_cast<long double>(powerOf(v[i])));
        int64_t want;
        if (i < blocked) {
          const float root = std::sqrt(static_cast<float>(powerOf(v[i])));
          const int64_t r = static_cast<int64_t>(std::nearbyint(root));
          want = mode == 1 ? sat16(r) : low16(r);
        } else if (mode == 1) {
          const float f = static_cast<float>(m);
          want = f > 32767 ? 32767 : static_cast<int64_t>(f);
        } else {
          want = low16(static_cast<int64_t>(m));
        }
        ASSERT_EQ(out[i], want) << n << " mode " << mode << " at " << i;
      }
    }
  }
}

TEST_F(MagW, DocumentedValues) {
  const std::vector<ZqvCplxW> big = {{-32768, -32768}};
  EXPECT_EQ(run(true, big, 0, nullptr)[0], -19196);
  EXPECT_EQ(run(true, big, 1, nullptr)[0], 32767);
  int32_t f = 0;
  EXPECT_EQ(run(true, big, 2, &f)[0], -19195);
  f = 1;
  EXPECT_EQ(run(true, big, 2, &f)[0], 23170);
  f = 0;
  EXPECT_EQ(run(true, big, 4, &f)[0], 23170);
  EXPECT_EQ(f, 1);
  EXPECT_EQ(run(false, big, 0, nullptr)[0], 0);
  EXPECT_EQ(run(false, big, 1, nullptr)[0], 32767);
  f = 0;
  EXPECT_EQ(run(false, big, 4, &f)[0], 16384);
  EXPECT_EQ(f, 17);
  // Inside a block (2, 3) rounds to 4; alone it truncates to 3.
  std::vector<ZqvCplxW> v(129, ZqvCplxW{2, 3});
  const auto out = run(true, v, 0, nullptr);
  EXPECT_EQ(out[0], 4);
  EXPECT_EQ(out[128], 3);
  const std::vector<ZqvCplxW> p = {{181, 181}};
  EXPECT_EQ(run(false, p, 0, nullptr)[0], -14);
  f = 2;
  EXPECT_EQ(run(false, p, 2, &f)[0], 16380);
  // A factor larger than needed is kept.
  f = 5;
  EXPECT_EQ(run(false, p, 4, &f)[0], 65522 >> 5);
  EXPECT_EQ(f, 5);
  EXPECT_TRUE(reportsAre({}));
}

// The scaled magnitude converts in the caller's rounding mode.
TEST_F(MagW, ScaledMagnitudeFollowsTheCallersRounding) {
  const std::vector<ZqvCplxW> v = {{2, 3}};  // 3.606
  int32_t f = 0;
  std::fesetround(FE_TOWARDZERO);
  const auto down = run(true, v, 2, &f);
  std::fesetround(FE_TONEAREST);
  EXPECT_EQ(down[0], 3);
  EXPECT_EQ(run(true, v, 2, &f)[0], 4);
}

// A null factor pointer in the fixed modes means no shift; shift counts
// outside 0..31 are held to that range.
TEST_F(MagW, FixedModesWithoutAFactorOrWithAWildOne) {
  const std::vector<ZqvCplxW> v = {{100, 100}};  // power 20000
  EXPECT_EQ(run(false, v, 2, nullptr)[0], 20000);
  EXPECT_EQ(run(false, v, 3, nullptr)[0], 20000);
  int32_t f = -3;
  EXPECT_EQ(run(false, v, 2, &f)[0], 20000);
  f = 40;
  EXPECT_EQ(run(false, v, 3, &f)[0], 0);
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(MagW, ArgumentAndModeErrors) {
  const char* m = "zqvcvrtw";
  ZqvCplxW v{3, 4};
  int16_t out = 77, re = 3, im = 4;
  int32_t f = 0;
  const std::vector<ReportRow> cases = {
      {[] { zqvvbMag(nullptr, nullptr, 0, 0, nullptr); },
       {{kBad, "zqvvbMag", "length<=0", m}, {kBad, "zqvvbMag", "mag==0", m}, {kBad, "zqvvbMag", "src==0", m}}},
      {[] { zqvwbrMag(nullptr, nullptr, nullptr, -2, 0, nullptr); },
       {{kBad, "zqvwbrMag", "length<=0", m}, {kBad, "zqvwbrMag", "mag==0", m},
        {kBad, "zqvwbrMag", "srcReal==0", m}, {kBad, "zqvwbrMag", "srcImag==0", m}}},
      {[] { zqvvbPowerSpectr(nullptr, nullptr, 0, 0, nullptr); },
       {{kBad, "zqvvbPowerSpectr", "length<=0", m}, {kBad, "zqvvbPowerSpectr", "spectr==0", m},
        {kBad, "zqvvbPowerSpectr", "src==0", m}}},
      {[] { zqvwbrPowerSpectr(nullptr, nullptr, nullptr, 0, 0, nullptr); },
       {{kBad, "zqvwbrPowerSpectr", "length<=0", m}, {kBad, "zqvwbrPowerSpectr", "spectr==0", m},
        {kBad, "zqvwbrPowerSpectr", "srcReal==0", m}, {kBad, "zqvwbrPowerSpectr", "srcImag==0", m}}},
      {[&] { zqvvbMag(&v, &out, 1, 6, &f); }, {{kBad, "zqvvbMag", "ZQV_FIXED_SCALE and ZQV_AUTO_SCALE", m}}},
      {[&] { zqvvbPowerSpectr(&v, &out, 1, 7, nullptr); },
       {{kBad, "zqvvbPowerSpectr", "ZQV_FIXED_SCALE and ZQV_AUTO_SCALE", m}}},
      {[&] { zqvwbrMag(&re, &im, &out, 1, 4, nullptr); }, {{kBad, "zqvwbrMag", "ZQV_AUTO_SCALE and ScaleFactor==NULL", m}}},
      {[&] { zqvwbrPowerSpectr(&re, &im, &out, 1, 5, nullptr); },
       {{kBad, "zqvwbrPowerSpectr", "ZQV_AUTO_SCALE and ScaleFactor==NULL", m}}},
      // Mode 5 with a factor, and 8: nothing written, nothing reported.
      {[&] { zqvvbMag(&v, &out, 1, 5, &f); }, {}},
      {[&] { zqvvbPowerSpectr(&v, &out, 1, 8, &f); }, {}},
  };
  expectReportRows(cases, std::nullopt, [&](const ReportRow&) { EXPECT_EQ(out, 77); });
  // A negative status: valid calls do nothing.
  zqvSetErrStatus(kBad);
  clearReports();
  zqvvbMag(&v, &out, 1, 0, nullptr);
  EXPECT_EQ(out, 77);
  EXPECT_TRUE(reportsAre({}));
}

}  // namespace
