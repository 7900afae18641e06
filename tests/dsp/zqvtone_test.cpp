// Tone generator against mag cos(2 pi rfreq n + phase) computed in long
// double, and the caching of the 16-bit forms.
#include <cfenv>
#include <cmath>
#include <cstring>
#include <vector>

#include "zqv_test_support.h"

namespace {

using Tone = ZqvTest;
using LD = long double;
constexpr LD kTwoPi = 6.283185307179586476925286766559L;

LD closedRe(LD mag, LD rfreq, LD phase, int64_t n) { return mag * std::cos(kTwoPi * rfreq * n + phase); }
LD closedIm(LD mag, LD rfreq, LD phase, int64_t n) { return mag * std::sin(kTwoPi * rfreq * n + phase); }

// The recursion's error grows about linearly with n, the more so at low
// frequencies (1/sin w); outputs are rounded once more to their type.
double tolerance(double mag, double rfreq, int64_t n, double outEps) {
  const double sinW = std::max(std::sin(2 * M_PI * rfreq), 1e-3);
  return mag * (outEps + 4e-16 * (n + 1) / sinW);
}

struct Setting { double rfreq, phase, mag; };
const Setting kSettings[] = {{0.1, 0.3, 1.0},   {0.01, 6.0, 250.0}, {0.49, 0.0, 3.5},
                             {0.25, 1.0, 1e-3}, {0.3333, 2.5, 7.0}, {0.0, 0.7, 2.0}};

TEST_F(Tone, RealFormsFollowTheClosedForm) {
  const int64_t n = 20000;
  for (const auto& s : kSettings) {
    SCOPED_TRACE(testing::Message() << s.rfreq << " " << s.phase << " " << s.mag);
    const float rf = static_cast<float>(s.rfreq), ph = static_cast<float>(s.phase), mg = static_cast<float>(s.mag);
    ZqvToneStateS fs{};
    ZqvToneStateD ds{};
    zqvsToneInit(rf, ph, mg, &fs);
    zqvdToneInit(s.rfreq, s.phase, s.mag, &ds);
    std::vector<float> fv(n);
    zqvsbTone(&fs, fv.data(), static_cast<int32_t>(n));
    for (int64_t i = 0; i < n; ++i) {
      ASSERT_NEAR(fv[i], closedRe(mg, rf, ph, i), tolerance(mg, rf, i, 1.2e-7)) << i;
      ASSERT_NEAR(zqvdTone(&ds), closedRe(s.mag, s.rfreq, s.phase, i), tolerance(s.mag, s.rfreq, i, 2.3e-16)) << i;
    }
  }
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(Tone, ComplexFormsFollowTheClosedForm) {
  const int64_t n = 20000;
  for (const auto& s : kSettings) {
    SCOPED_TRACE(testing::Message() << s.rfreq << " " << s.phase << " " << s.mag);
    const float rf = static_cast<float>(s.rfreq), ph = static_cast<float>(s.phase), mg = static_cast<float>(s.mag);
    ZqvToneStateC cs{};
    ZqvToneStateZ zs{};
    zqvcToneInit(rf, ph, mg, &cs);
    zqvzToneInit(s.rfreq, s.phase, s.mag, &zs);
    std::vector<ZqvCplxD> zv(n);
    zqvzbTone(&zs, zv.data(), static_cast<int32_t>(n));
    for (int64_t i = 0; i < n; ++i) {
      const ZqvCplxS c = zqvcTone(&cs);
      const double tf = tolerance(mg, rf, i, 1.2e-7), td = tolerance(s.mag, s.rfreq, i, 2.3e-16);
      ASSERT_NEAR(c.re, closedRe(mg, rf, ph, i), tf) << i;
      ASSERT_NEAR(c.im, closedIm(mg, rf, ph, i), tf) << i;
      ASSERT_NEAR(zv[i].re, closedRe(s.mag, s.rfreq, s.phase, i), td) << i;
      ASSERT_NEAR(zv[i].im, closedIm(s.mag, s.rfreq, s.phase, i), td) << i;
    }
  }
}

TEST_F(Tone, SimpleSequences) {
  ZqvToneStateD st{};
  zqvdToneInit(0.0, 0.0, 1.0, &st);
  for (int i = 0; i < 50; ++i) ASSERT_EQ(zqvdTone(&st), 1.0);
  zqvdToneInit(0.25, 0.0, 1.0, &st);
  const double quarter[] = {1, 0, -1, 0};
  for (int i = 0; i < 40; ++i) ASSERT_NEAR(zqvdTone(&st), quarter[i % 4], 1e-14) << i;
  ZqvToneStateS fs{};
  zqvsToneInit(0.2f, 1.0f, 0.0f, &fs);
  for (int i = 0; i < 20; ++i) ASSERT_EQ(zqvsTone(&fs), 0.0f);
  // A magnitude of -0 is a zero magnitude.
  zqvsToneInit(0.2f, 1.0f, -0.0f, &fs);
  for (int i = 0; i < 20; ++i) ASSERT_EQ(zqvsTone(&fs), 0.0f);
  EXPECT_TRUE(reportsAre({}));
}

// A vector call equals the same number of single calls and leaves the
// record as they do.
TEST_F(Tone, VectorsEqualSingleCalls) {
  ZqvToneStateC a{}, b{};
  zqvcToneInit(0.123f, 4.0f, 3.0f, &a);
  b = a;
  std::vector<ZqvCplxS> v(37);
  zqvcbTone(&a, v.data(), 37);
  for (int i = 0; i < 37; ++i) {
    const ZqvCplxS one = zqvcTone(&b);
    ASSERT_EQ(v[i].re, one.re);
    ASSERT_EQ(v[i].im, one.im);
  }
  EXPECT_EQ(0, std::memcmp(&a, &b, sizeof a));
}

TEST_F(Tone, SixteenBitFormsRoundTheClosedForm) {
  const int32_t n = 3000;
  for (int16_t mag : {int16_t(1000), int16_t(32000)})
    for (float rf : {0.05f, 0.3f}) {
      SCOPED_TRACE(testing::Message() << mag << " " << rf);
      const float ph = 1.25f;
      ZqvToneStateW ws{}, vs{};
      zqvwToneInit(rf, ph, mag, &ws);
      zqvvToneInit(rf, ph, mag, &vs);
      std::vector<int16_t> w(n);
      std::vector<ZqvCplxW> v(n);
      zqvwbTone(&ws, w.data(), n);
      zqvvbTone(&vs, v.data(), n);
      for (int32_t i = 0; i < n; ++i) {
        ASSERT_LE(std::fabs(w[i] - closedRe(mag, rf, ph, i)), 0.51L) << i;
        ASSERT_LE(std::fabs(v[i].re - closedRe(mag, rf, ph, i)), 0.51L) << i;
        ASSERT_LE(std::fabs(v[i].im - closedIm(mag, rf, ph, i)), 0.51L) << i;
      }
    }
}

// The 16-bit forms round by the caller's rounding mode.
TEST_F(Tone, SixteenBitFormsRoundByTheCurrentMode) {
  const float rf = 0.07f, ph = 0.4f;
  const int16_t mag = 900;
  for (int mode : {FE_UPWARD, FE_DOWNWARD}) {
    ZqvToneStateW st{};
    zqvwToneInit(rf, ph, mag, &st);
    int16_t out[64];
    ASSERT_EQ(0, std::fesetround(mode));
    zqvwbTone(&st, out, 64);
    std::fesetround(FE_TONEAREST);
    for (int i = 0; i < 64; ++i) {
      const LD y = closedRe(mag, rf, ph, i);
      if (std::fabs(y - std::round(y)) < 1e-6) continue;
      ASSERT_EQ(out[i], mode == FE_UPWARD ? std::ceil(y) : std::floor(y)) << i;
    }
  }
}

// A value no int16 holds stores -32768.
TEST_F(Tone, SixteenBitOverflowStoresTheLowestValue) {
  ZqvToneStateW st{};
  zqvwToneInit(0.0f, 0.0f, 100, &st);
  st.yRe = 40000.0;
  st.yPrevRe = 40000.0;
  int16_t out[3];
  zqvwbTone(&st, out, 3);
  EXPECT_EQ(out[0], -32768);
  st.yRe = std::nan("");
  zqvwbTone(&st, out, 1);
  EXPECT_EQ(out[0], -32768);
  st.yRe = -32768.4;
  zqvwbTone(&st, out, 1);
  EXPECT_EQ(out[0], -32768);
}

TEST_F(Tone, SingleSixteenBitSamplesComeFromTheCache) {
  ZqvToneStateW st{}, ref{};
  zqvwToneInit(0.01f, 0.0f, 20000, &st);
  ref = st;
  EXPECT_EQ(st.cacheIdx, 32);
  std::vector<int16_t> expect(100);
  zqvwbTone(&ref, expect.data(), 100);

  EXPECT_EQ(zqvwTone(&st), expect[0]);
  EXPECT_EQ(st.cacheIdx, 1);
  // The recursion state moved past the whole cache; changing it now shows
  // when the next refill happens.
  const ZqvToneStateW afterFill = st;
  st.yRe = st.yPrevRe = 0.0;
  for (int i = 1; i < 32; ++i) ASSERT_EQ(zqvwTone(&st), expect[i]) << i;
  EXPECT_EQ(st.cacheIdx, 32);
  EXPECT_EQ(zqvwTone(&st), 0);
  EXPECT_EQ(st.cacheIdx, 1);

  // 10 singles, then a vector of 40: 22 from the cache, 18 straight.
  st = afterFill;
  for (int i = 1; i < 10; ++i) ASSERT_EQ(zqvwTone(&st), expect[i]);
  int16_t v[40];
  zqvwbTone(&st, v, 40);
  for (int i = 0; i < 40; ++i) ASSERT_EQ(v[i], expect[10 + i]) << i;
  EXPECT_EQ(st.cacheIdx, 32);
  const int16_t next = zqvwTone(&st);
  EXPECT_EQ(st.cacheIdx, 1);
  EXPECT_LE(std::abs(next - expect[50]), 1);

  // Complex: a cache of 16.
  ZqvToneStateW c{};
  zqvvToneInit(0.2f, 0.5f, 1000, &c);
  EXPECT_EQ(c.cacheIdx, 16);
  for (int i = 0; i < 16; ++i) zqvvTone(&c);
  EXPECT_EQ(c.cacheIdx, 16);
  zqvvTone(&c);
  EXPECT_EQ(c.cacheIdx, 1);
}

// A cache index outside the cache (a damaged record) counts as an empty
// cache instead of reading past it.
TEST_F(Tone, DamagedCacheIndexRefills) {
  for (int32_t idx : {-5, 33, 1000000}) {
    ZqvToneStateW st{}, ref{};
    zqvwToneInit(0.1f, 0.0f, 1000, &st);
    ref = st;
    st.cacheIdx = idx;
    int16_t expect[40], got[40];
    zqvwbTone(&ref, expect, 40);
    zqvwbTone(&st, got, 40);
    for (int i = 0; i < 40; ++i) ASSERT_EQ(got[i], expect[i]) << idx << " " << i;
    st = ref;
    st.cacheIdx = idx;
    zqvwTone(&st);
    EXPECT_EQ(st.cacheIdx, 1);
  }
}

TEST_F(Tone, InitRefusesBadArgumentsAndStoresNothing) {
  struct Case { float rfreq, phase, mag; bool nullState; const char* message; };
  const float nan = std::nanf("");
  const Case cases[] = {
      {0.1f, 0.0f, -1.0f, false, "Invalid magnitude value"},
      {0.5f, 7.0f, -1.0f, true, "Invalid magnitude value"},
      {0.5f, 0.0f, 1.0f, false, "Invalid freq value"},
      {-0.1f, 0.0f, 1.0f, false, "Invalid freq value"},
      {0.1f, 6.2831855f, 1.0f, false, "Invalid phase value"},
      {0.1f, -0.01f, 1.0f, false, "Invalid phase value"},
      {0.1f, 0.0f, 1.0f, true, "Null pointer to state"},
      {0.1f, 0.0f, nan, false, "Invalid magnitude value"},
      {nan, 0.0f, 1.0f, false, "Invalid freq value"},
      {0.1f, nan, 1.0f, false, "Invalid phase value"},
  };
  // The 16-bit form cannot take a NaN magnitude: it gets 1, and only the
  // other faults of the row.
  auto wFails = [](const Case& c) { return !std::isnan(c.mag) || c.nullState; };
  ZqvToneStateS s{};
  ZqvToneStateW w{};
  bool wRefused = false;
  std::vector<ReportRow> rows;
  for (const auto& c : cases) {
    std::vector<ExpectedReport> expect = {{ZQV_BAD_ARGUMENT, "zqvsToneInit", c.message, "zqvtone"}};
    if (wFails(c)) expect.push_back({ZQV_BAD_ARGUMENT, "zqvwToneInit", c.message, "zqvtonew"});
    rows.push_back({c.message,
                    [&s, &w, &wRefused, wFails, c] {
                      wRefused = wFails(c);
                      s = ZqvToneStateS{};
                      w = ZqvToneStateW{};
                      zqvsToneInit(c.rfreq, c.phase, c.mag, c.nullState ? nullptr : &s);
                      zqvwToneInit(c.rfreq, c.phase, std::isnan(c.mag) ? int16_t(1) : static_cast<int16_t>(c.mag),
                                   c.nullState ? nullptr : &w);
                    },
                    expect});
  }
  // Each refused Init stores nothing.
  expectReportRows(rows, std::nullopt, [&](const ReportRow&) {
    const ZqvToneStateS zeroS{};
    const ZqvToneStateW zeroW{};
    EXPECT_EQ(0, std::memcmp(&s, &zeroS, sizeof s));
    if (wRefused) { EXPECT_EQ(0, std::memcmp(&w, &zeroW, sizeof w)); }
  }, RowStatus::Carried);
  // The double form takes 2 pi as a double.
  clearReports();
  ZqvToneStateD d{};
  zqvdToneInit(0.1, 6.283185307179586, 1.0, &d);
  zqvdToneInit(0.1, 6.283185307179585, 1.0, &d);
  EXPECT_TRUE(reportsAre({{ZQV_BAD_ARGUMENT, "zqvdToneInit", "Invalid phase value", "zqvtone"}}));
}

TEST_F(Tone, GeneratorsRefuseNullsAndUninitialisedRecords) {
  ZqvToneStateS s{};
  ZqvToneStateW w{};
  float buf[4] = {5, 5, 5, 5};
  int16_t wbuf[4] = {5, 5, 5, 5};
  EXPECT_EQ(zqvsTone(nullptr), 0.0f);
  EXPECT_EQ(zqvsTone(&s), 0.0f);
  zqvsbTone(nullptr, buf, 4);
  zqvsbTone(&s, nullptr, 4);
  zqvsbTone(&s, buf, 0);
  zqvsbTone(&s, buf, 4);
  EXPECT_EQ(zqvwTone(&w), 0);
  zqvsToneInit(0.1f, 0.0f, 1.0f, &s);
  s.tag[1] = 'X';
  zqvsbTone(&s, buf, 4);
  zqvwbTone(&w, wbuf, 4);
  const ZqvCplxW vz = zqvvTone(nullptr);
  EXPECT_EQ(vz.re, 0);
  EXPECT_EQ(buf[0], 5.0f);
  EXPECT_EQ(wbuf[0], 5);
  EXPECT_TRUE(reportsAre({
      {ZQV_BAD_ARGUMENT, "zqvsTone", "Null pointer to state", "zqvtone"},
      {ZQV_BAD_ARGUMENT, "zqvsTone", "Structure initialization need", "zqvtone"},
      {ZQV_BAD_ARGUMENT, "zqvsbTone", "Null pointer to state", "zqvtone"},
      {ZQV_BAD_ARGUMENT, "zqvsbTone", "Null input buffer pointer", "zqvtone"},
      {ZQV_BAD_ARGUMENT, "zqvsbTone", "Bad number of items", "zqvtone"},
      {ZQV_BAD_ARGUMENT, "zqvsbTone", "Structure initialization need", "zqvtone"},
      {ZQV_BAD_ARGUMENT, "zqvwTone", "Structure initialization need", "zqvtonew"},
      {ZQV_BAD_ARGUMENT, "zqvsbTone", "Structure initialization need", "zqvtone"},
      {ZQV_BAD_ARGUMENT, "zqvwbTone", "Structure initialization need", "zqvtonew"},
      {ZQV_BAD_ARGUMENT, "zqvvTone", "Null pointer to state", "zqvtonew"},
  }));
}

}  // namespace
