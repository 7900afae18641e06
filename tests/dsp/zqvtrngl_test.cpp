// Triangle generator against the closed form of the wave, computed in long
// double from the phase of each sample.
#include <cfenv>
#include <cmath>
#include <cstring>
#include <vector>

#include "zqv_test_support.h"

namespace {

using Triangle = ZqvTest;
using LD = long double;
constexpr LD kPi = 3.14159265358979323846264338327950288L;

// The wave at sample n: falls from mag at phase 0 to -mag at H = pi + asym,
// rises back to mag at 2 pi.
LD waveTurns(LD mag, LD rfreq, LD startTurns, LD asym, int64_t n) {
  LD t = startTurns + n * rfreq;
  t -= std::floor(t);
  // Phases in turns: the fall ends at h, exactly 1/2 without asymmetry.
  const LD h = 0.5L + asym / (2 * kPi), l = 1 - h;
  return t < h ? mag * (1 - 2 * t / h) : mag * (2 * (t - h) / l - 1);
}
LD wave(LD mag, LD rfreq, LD phase, LD asym, int64_t n) {
  return waveTurns(mag, rfreq, phase / (2 * kPi), asym, n);
}

TEST_F(Triangle, EighthFrequencyExample) {
  const double expect[] = {1, 0.5, 0, -0.5, -1, -0.5, 0, 0.5};
  ZqvTrnglStateS s{};
  ZqvTrnglStateD d{};
  zqvsTrnglInit(0.125f, 0.0f, 1.0f, 0.0f, &s);
  zqvdTrnglInit(0.125, 0.0, 1.0, 0.0, &d);
  for (int i = 0; i < 80; ++i) {
    ASSERT_EQ(zqvsTrngl(&s), expect[i % 8]) << i;
    ASSERT_EQ(zqvdTrngl(&d), expect[i % 8]) << i;
  }
  EXPECT_TRUE(reportsAre({}));
}

// With a power-of-two frequency and no asymmetry every step is exact.
TEST_F(Triangle, ExactForPowerOfTwoFrequencies) {
  for (double rfreq : {0.25, 0.125, 1.0 / 16, 1.0 / 64, 1.0 / 1024})
    for (double mag : {1.0, 3.0, 1000.0}) {
      SCOPED_TRACE(testing::Message() << rfreq << " " << mag);
      const int32_t n = 5000;
      std::vector<float> s(n);
      std::vector<double> d(n);
      std::vector<ZqvCplxD> z(n);
      ZqvTrnglStateS ss{};
      ZqvTrnglStateD ds{};
      ZqvTrnglStateZ zs{};
      zqvsTrnglInit(static_cast<float>(rfreq), 0.0f, static_cast<float>(mag), 0.0f, &ss);
      zqvdTrnglInit(rfreq, 0.0, mag, 0.0, &ds);
      zqvzTrnglInit(rfreq, 0.0, mag, 0.0, &zs);
      zqvsbTrngl(&ss, s.data(), n);
      zqvdbTrngl(&ds, d.data(), n);
      zqvzbTrngl(&zs, z.data(), n);
      for (int32_t i = 0; i < n; ++i) {
        const LD ref = wave(mag, rfreq, 0, 0, i);
        ASSERT_EQ(s[i], ref) << i;
        ASSERT_EQ(d[i], ref) << i;
        ASSERT_EQ(z[i].re, ref) << i;
        // The imaginary part starts at 1.5 pi: at 0 and rising.
        ASSERT_EQ(z[i].im, waveTurns(mag, rfreq, 0.75L, 0, i)) << i;
      }
    }
}

// Any frequency, phase and asymmetry: each sample adds one rounding, so the
// distance from the closed form grows at most linearly, and a fold onto the
// steeper slope magnifies it by the ratio of the slopes.
TEST_F(Triangle, FollowsTheClosedForm) {
  struct Case { double rfreq, phase, mag, asym; };
  const Case cases[] = {{0.0137, 1.0, 2.0, 0.5 * M_PI}, {0.31, 5.0, 7.5, -2.9}, {0.001, 0.2, 1.0, 0.0},
                        {0.4999, 3.0, 1.0, 3.0},       {0.07, 0.0, 100.0, -1.0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.rfreq << " " << c.phase << " " << c.mag << " " << c.asym);
    const float rf = static_cast<float>(c.rfreq), ph = static_cast<float>(c.phase),
                mg = static_cast<float>(c.mag), as = static_cast<float>(c.asym);
    ZqvTrnglStateS s{};
    ZqvTrnglStateD d{};
    ZqvTrnglStateC cs{};
    zqvsTrnglInit(rf, ph, mg, as, &s);
    zqvdTrnglInit(c.rfreq, c.phase, c.mag, c.asym, &d);
    zqvcTrnglInit(rf, ph, mg, as, &cs);
    const LD hf = kPi + as;
    const double ratio = std::max((kPi + c.asym) / (kPi - c.asym), (kPi - c.asym) / (kPi + c.asym));
    for (int64_t i = 0; i < 3000; ++i) {
      const double tf = mg * ratio * (4e-7 + 2.4e-7 * i), td = c.mag * ratio * (1e-15 + 5e-16 * i);
      ASSERT_NEAR(zqvsTrngl(&s), wave(mg, rf, ph, as, i), tf) << i;
      ASSERT_NEAR(zqvdTrngl(&d), wave(c.mag, c.rfreq, c.phase, c.asym, i), td) << i;
      const ZqvCplxS v = zqvcTrngl(&cs);
      ASSERT_NEAR(v.re, wave(mg, rf, ph, as, i), tf) << i;
      ASSERT_NEAR(v.im, wave(mg, rf, ph + (hf + 2 * kPi) / 2, as, i), tf) << i;
    }
  }
}

TEST_F(Triangle, ShapeOfTheWave) {
  // A quarter-period asymmetry: 12 of 16 steps fall, 4 rise.
  ZqvTrnglStateD d{};
  zqvdTrnglInit(1.0 / 16, 0.0, 1.0, 0.5 * 3.141592653589793, &d);
  double prev = zqvdTrngl(&d);
  EXPECT_EQ(prev, 1.0);
  int falling = 0, rising = 0;
  for (int i = 0; i < 16; ++i) {
    const double v = zqvdTrngl(&d);
    (v < prev ? falling : rising)++;
    prev = v;
  }
  EXPECT_EQ(falling, 12);
  EXPECT_EQ(rising, 4);
  // Phase pi starts at the bottom and rises.
  zqvdTrnglInit(0.1, 3.141592653589793, 2.0, 0.0, &d);
  EXPECT_EQ(zqvdTrngl(&d), -2.0);
  EXPECT_GT(zqvdTrngl(&d), -2.0);
  // rfreq 0: every sample is the starting value.
  ZqvTrnglStateS s{};
  zqvsTrnglInit(0.0f, 1.0f, 4.0f, 0.3f, &s);
  const float first = zqvsTrngl(&s);
  EXPECT_FLOAT_EQ(first, static_cast<float>(wave(4, 0, 1.0f, 0.3f, 0)));
  for (int i = 0; i < 20; ++i) ASSERT_EQ(zqvsTrngl(&s), first);
}

TEST_F(Triangle, VectorsEqualSingleCalls) {
  ZqvTrnglStateS s{}, s2{}, w{}, w2{};
  ZqvTrnglStateC c{}, c2{}, v{}, v2{};
  ZqvTrnglStateZ z{}, z2{};
  zqvsTrnglInit(0.093f, 2.0f, 1.5f, -1.2f, &s);
  zqvwTrnglInit(0.093f, 2.0f, 1234, -1.2f, &w);
  zqvcTrnglInit(0.2f, 4.0f, 2.5f, 0.7f, &c);
  zqvvTrnglInit(0.2f, 4.0f, 20000, 0.7f, &v);
  zqvzTrnglInit(0.2, 4.0, 2.5, 0.7, &z);
  s2 = s, w2 = w, c2 = c, v2 = v, z2 = z;
  const int32_t n = 77;
  std::vector<float> sv(n);
  std::vector<int16_t> wv(n);
  std::vector<ZqvCplxS> cv(n);
  std::vector<ZqvCplxW> vv(n);
  std::vector<ZqvCplxD> zv(n);
  zqvsbTrngl(&s, sv.data(), n);
  zqvwbTrngl(&w, wv.data(), n);
  zqvcbTrngl(&c, cv.data(), n);
  zqvvbTrngl(&v, vv.data(), n);
  zqvzbTrngl(&z, zv.data(), n);
  for (int32_t i = 0; i < n; ++i) {
    ASSERT_EQ(sv[i], zqvsTrngl(&s2));
    ASSERT_EQ(wv[i], zqvwTrngl(&w2));
    const ZqvCplxS a = zqvcTrngl(&c2);
    ASSERT_EQ(cv[i].re, a.re);
    ASSERT_EQ(cv[i].im, a.im);
    const ZqvCplxW b = zqvvTrngl(&v2);
    ASSERT_EQ(vv[i].re, b.re);
    ASSERT_EQ(vv[i].im, b.im);
    const ZqvCplxD e = zqvzTrngl(&z2);
    ASSERT_EQ(zv[i].re, e.re);
    ASSERT_EQ(zv[i].im, e.im);
  }
  EXPECT_EQ(0, std::memcmp(&s, &s2, sizeof s));
  EXPECT_EQ(0, std::memcmp(&c, &c2, sizeof c));
  EXPECT_EQ(0, std::memcmp(&z, &z2, sizeof z));
}

TEST_F(Triangle, SixteenBitFormsRoundTheFloatWave) {
  const float rf = 0.0123f, ph = 0.9f, as = 0.4f;
  const int16_t mag = 30000;
  ZqvTrnglStateS w{}, f{};
  zqvwTrnglInit(rf, ph, mag, as, &w);
  zqvsTrnglInit(rf, ph, 30000.0f, as, &f);
  EXPECT_EQ(0, std::memcmp(&w, &f, sizeof w));
  for (int i = 0; i < 2000; ++i) {
    const float x = zqvsTrngl(&f);
    ASSERT_EQ(zqvwTrngl(&w), static_cast<int16_t>(std::nearbyint(x))) << i;
  }
  // The current rounding mode decides.
  for (int mode : {FE_UPWARD, FE_DOWNWARD}) {
    ZqvTrnglStateC v{};
    zqvvTrnglInit(rf, ph, mag, as, &v);
    ZqvTrnglStateC ref = v;
    ZqvCplxW out[50];
    ZqvCplxS x[50];
    ASSERT_EQ(0, std::fesetround(mode));
    zqvvbTrngl(&v, out, 50);
    zqvcbTrngl(&ref, x, 50);
    std::fesetround(FE_TONEAREST);
    for (int i = 0; i < 50; ++i) {
      ASSERT_EQ(out[i].re, mode == FE_UPWARD ? std::ceil(x[i].re) : std::floor(x[i].re)) << i;
      ASSERT_EQ(out[i].im, mode == FE_UPWARD ? std::ceil(x[i].im) : std::floor(x[i].im)) << i;
    }
  }
}

TEST_F(Triangle, InitRefusesBadArgumentsAndStoresNothing) {
  struct Case { float rfreq, phase, mag, asym; bool nullState; const char* message; };
  const float nan = std::nanf(""), pi = 3.14159265f;
  const Case cases[] = {
      {0.1f, 0.0f, -1.0f, 0.0f, false, "Invalid magnitude value"},
      {0.6f, -1.0f, -1.0f, 4.0f, true, "Invalid magnitude value"},
      {0.5f, 0.0f, 1.0f, 0.0f, false, "Invalid frequence value"},
      {-0.01f, 0.0f, 1.0f, 0.0f, false, "Invalid frequence value"},
      {0.1f, 6.2831855f, 1.0f, 0.0f, false, "Invalid phase value"},
      {0.1f, -1e-6f, 1.0f, 0.0f, false, "Invalid phase value"},
      {0.1f, 0.0f, 1.0f, pi, false, "Invalid asymmetry value"},
      {0.1f, 0.0f, 1.0f, -pi, false, "Invalid asymmetry value"},
      {0.1f, 0.0f, 1.0f, 0.0f, true, "Null pointer to state"},
      {0.1f, 0.0f, nan, 0.0f, false, "Invalid magnitude value"},
      {nan, 0.0f, 1.0f, 0.0f, false, "Invalid frequence value"},
      {0.1f, nan, 1.0f, 0.0f, false, "Invalid phase value"},
      {0.1f, 0.0f, 1.0f, nan, false, "Invalid asymmetry value"},
  };
  ZqvTrnglStateC st{};
  std::vector<ReportRow> rows;
  for (const auto& c : cases)
    rows.push_back({c.message,
                    [&st, c] {
                      st = ZqvTrnglStateC{};
                      zqvcTrnglInit(c.rfreq, c.phase, c.mag, c.asym, c.nullState ? nullptr : &st);
                    },
                    {{ZQV_BAD_ARGUMENT, "zqvcTrnglInit", c.message, "zqvtrngl"}}});
  expectReportRows(rows, std::nullopt, [&](const ReportRow&) {
    const ZqvTrnglStateC zero{};
    EXPECT_EQ(0, std::memcmp(&st, &zero, sizeof st));
  }, RowStatus::Carried);
  // A magnitude of -0 is a zero magnitude.
  clearReports();
  ZqvTrnglStateS s{};
  zqvsTrnglInit(0.1f, 0.0f, -0.0f, 0.0f, &s);
  EXPECT_TRUE(reportsAre({}));
  for (int i = 0; i < 10; ++i) ASSERT_EQ(zqvsTrngl(&s), 0.0f);
}

TEST_F(Triangle, GeneratorsRefuseNulls) {
  ZqvTrnglStateD d{};
  zqvdTrnglInit(0.1, 0.0, 1.0, 0.0, &d);
  double buf[3] = {5, 5, 5};
  EXPECT_EQ(zqvdTrngl(nullptr), 0.0);
  const ZqvCplxW v = zqvvTrngl(nullptr);
  EXPECT_EQ(v.re, 0);
  zqvdbTrngl(nullptr, buf, 3);
  zqvdbTrngl(&d, nullptr, 3);
  zqvdbTrngl(&d, buf, 0);
  zqvdbTrngl(&d, buf, -2);
  EXPECT_EQ(buf[0], 5.0);
  EXPECT_TRUE(reportsAre({
      {ZQV_BAD_ARGUMENT, "zqvdTrngl", "Null pointer to state", "zqvtrngl"},
      {ZQV_BAD_ARGUMENT, "zqvvTrngl", "Null pointer to state", "zqvtrngl"},
      {ZQV_BAD_ARGUMENT, "zqvdbTrngl", "Null pointer to state", "zqvtrngl"},
      {ZQV_BAD_ARGUMENT, "zqvdbTrngl", "Null pointer to buffer", "zqvtrngl"},
      {ZQV_BAD_ARGUMENT, "zqvdbTrngl", "Invalid number of items", "zqvtrngl"},
      {ZQV_BAD_ARGUMENT, "zqvdbTrngl", "Invalid number of items", "zqvtrngl"},
  }));
}

}  // namespace
