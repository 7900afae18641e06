// The IIR filter for 16-bit samples: the stored fixed-point layout, a
// reference with quantised taps and a rounded delay line, the scale modes,
// both levels, and the reports.
#include <cmath>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include "zqv_test_support.h"

namespace {

using IirW = ZqvTest;
constexpr const char* kLowW = "zqviirlw";
constexpr const char* kHighW = "zqviirhw";

std::vector<int16_t> storedTaps(const float* taps, size_t n) {
  std::vector<int16_t> v(n);
  std::memcpy(v.data(), taps, n * sizeof(int16_t));
  return v;
}

TEST_F(IirW, StoredLayoutOfTheDirectForm) {
  float taps[] = {1, 0, 1, 0.5f};
  ZqvIirTapState ts{};
  zqvwIirlInit(0, taps, 1, &ts);
  EXPECT_EQ(storedTaps(taps, 4), (std::vector<int16_t>{14, 16384, -8192, 0}));
  EXPECT_EQ(ts.taps, static_cast<void*>(taps));
  EXPECT_EQ(ts.order, 1);
  EXPECT_EQ(ts.form, 0);

  // a0 = 2: values 1.5, -0.25, 0.5 (b) and 1, 0.75, -1 (a); m = 1.5 gives s = 14.
  float t2[] = {3, -0.5f, 1, 2, 1.5f, -2};
  zqvwIirlInit(1, t2, 2, &ts);
  EXPECT_EQ(storedTaps(t2, 6), (std::vector<int16_t>{14, 24576, -12288, -4096, 16384, 8192}));
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(IirW, StoredLayoutOfTheCascade) {
  // g = 0.2, then -a1, -a2, b1/b0, b2/b0 = -0.1, -0.05, 0.1, 0.1: s stops at 15.
  float taps[] = {0.2f, 0.02f, 0.02f, 1, 0.1f, 0.05f};
  ZqvIirTapState ts{};
  zqvwIirlInitBq(0, taps, 1, &ts);
  const auto got = storedTaps(taps, 6);
  EXPECT_EQ(got[0], 15);
  const double want[] = {0.2, -0.1, -0.05, 0.1, 0.1};
  for (int i = 0; i < 5; ++i) EXPECT_NEAR(got[1 + i], want[i] * 32768, 1.0) << i;
  EXPECT_EQ(ts.order, 2);
  EXPECT_EQ(ts.form, 1);

  // A zero a0 in the second section: the caller's floats stay as they were.
  float bad[] = {1, 0, 0, 1, 0, 0, 1, 0, 0, -0.0f, 0, 0};
  const std::vector<float> before(bad, bad + 12);
  ZqvIirTapState ts2{};
  zqvwIirlInitBq(0, bad, 2, &ts2);
  EXPECT_TRUE(reportsAre({{-5, "zqvwIirlInitBq", "taps[1*6+3] equals zero", kLowW}}));
  EXPECT_EQ(std::memcmp(bad, before.data(), sizeof bad), 0);
  EXPECT_EQ(ts2.taps, nullptr);
}

// Taps beyond 32767 after normalisation would wrap into other values.
TEST_F(IirW, TapsTooLargeForSixteenBitsAreRefused) {
  float taps[] = {40000, 0, 1, 0};
  const std::vector<float> before(taps, taps + 4);
  ZqvIirTapState ts{};
  zqvwIirlInit(0, taps, 1, &ts);
  EXPECT_TRUE(reportsAre({{-5, "zqvwIirlInit", "normalized taps exceed 32767", kLowW}}));
  EXPECT_EQ(std::memcmp(taps, before.data(), sizeof taps), 0);
  EXPECT_EQ(ts.taps, nullptr);
  zqvSetErrStatus(0);
  clearReports();
  float nan[] = {std::nanf(""), 1};
  zqvwIirlInit(0, nan, 0, &ts);
  EXPECT_TRUE(reportsAre({{-5, "zqvwIirlInit", "normalized taps exceed 32767", kLowW}}));
  // 32767 itself still fits (s = 0).
  zqvSetErrStatus(0);
  clearReports();
  float edge[] = {32767, 1};
  zqvwIirlInit(0, edge, 0, &ts);
  EXPECT_EQ(storedTaps(edge, 2), (std::vector<int16_t>{0, 32767}));
}

// The reference: taps as the library stores them (quantised to the common
// shift), the direct form in long double, the delay line rounded to whole
// numbers after every sample (single calls) or never (a block).
struct Reference {
  std::vector<long double> b, a;  // a[k] for k >= 1, normalised
  std::vector<long double> d;
  explicit Reference(const std::vector<float>& taps) {
    const size_t n = taps.size() / 2 - 1;
    std::vector<double> norm;
    double m = 0;
    for (float t : taps) norm.push_back(static_cast<double>(t / taps[n + 1])), m = std::max(m, std::fabs(norm.back()));
    int s = 0;
    while (s < 14 && std::ldexp(1.0, s + 1) <= 32767 / m) ++s;
    for (size_t k = 0; k <= n; ++k) b.push_back(std::nearbyint(std::ldexp(norm[k], s)) / std::ldexp(1.0L, s));
    for (size_t k = 0; k <= n; ++k) a.push_back(std::nearbyint(std::ldexp(norm[n + 1 + k], s)) / std::ldexp(1.0L, s));
    d.assign(n, 0);
  }
  long double step(long double x, bool roundLine) {
    const size_t n = d.size();
    if (n == 0) return b[0] * x;
    const long double y = b[0] * x + d[0];
    for (size_t k = 1; k < n; ++k) d[k - 1] = b[k] * x - a[k] * y + d[k];
    d[n - 1] = b[n] * x - a[n] * y;
    if (roundLine)
      for (auto& v : d) v = std::nearbyint(v);
    return y;
  }
};

TEST_F(IirW, WithinOneStepOfAQuantisedReference) {
  const std::vector<float> taps = {0.3f, 0.5f, 0.2f, 1.0f, -0.6f, 0.25f};
  std::mt19937 gen(5);
  std::uniform_int_distribution<int> dist(-8000, 8000);
  std::vector<int16_t> x(2000);
  for (auto& v : x) v = static_cast<int16_t>(dist(gen));

  auto lowTaps = taps;
  ZqvIirTapState ts{};
  zqvwIirlInit(0, lowTaps.data(), 2, &ts);
  int32_t line[2] = {7, 7};
  ZqvIirDlyState ds{};
  zqvwIirlInitDlyl(&ts, line, &ds);
  EXPECT_EQ(line[0], 0);
  Reference single(taps);
  for (size_t i = 0; i < x.size(); ++i) {
    const long double want = std::trunc(single.step(x[i], true));
    ASSERT_LE(std::fabs(zqvwIirl(&ts, &ds, x[i], ZQV_WRAP, nullptr) - want), 1.0L) << i;
    // The state is kept in whole numbers that follow the reference's.
    ASSERT_LE(std::fabs(line[0] - single.d[0]), 1.0L) << i;
  }

  // A block rounds its delay line once, at the end, in both levels.
  ZqvIirState st{};
  zqvwIirInit(0, taps.data(), 2, &st);
  EXPECT_EQ(std::vector<float>(taps), (std::vector<float>{0.3f, 0.5f, 0.2f, 1.0f, -0.6f, 0.25f}));
  std::vector<int16_t> y = x;
  zqvwbIir(&st, y.data(), y.data(), static_cast<int32_t>(y.size()), ZQV_WRAP, nullptr);
  Reference block(taps);
  for (size_t i = 0; i < x.size(); ++i) ASSERT_LE(std::fabs(y[i] - std::trunc(block.step(x[i], false))), 1.0L) << i;
  const auto* dl = static_cast<const int32_t*>(st.dlyState.dlyl);
  EXPECT_LE(std::fabs(dl[1] - block.d[1]), 0.51L);
  zqvIirFree(&st);
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(IirW, CascadeAgreesWithTheDirectForm) {
  // One section as a cascade and as a second-order direct form: the taps
  // are quantised differently, so the outputs agree within a few steps.
  const std::vector<float> bq = {0.5f, 0.25f, 0.125f, 1, -0.5f, 0.25f};
  ZqvIirState c{}, d{};
  zqvwIirInitBq(0, bq.data(), 1, &c);
  zqvwIirInit(0, bq.data(), 2, &d);
  for (int i = 0; i < 300; ++i) {
    const int16_t x = static_cast<int16_t>((i * 7919) % 20001 - 10000);
    ASSERT_LE(std::abs(zqvwIir(&c, x, ZQV_WRAP, nullptr) - zqvwIir(&d, x, ZQV_WRAP, nullptr)), 4) << i;
  }
  zqvIirFree(&c);
  zqvIirFree(&d);
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(IirW, ScaleModesOfTheOutput) {
  const float gain4[] = {4, 1};
  struct Case {
    int32_t mode;
    int32_t factor;
    int16_t in;
    int16_t want;
    int32_t factorAfter;
  } cases[] = {
      {ZQV_WRAP, 0, 1000, 4000, 0},
      {ZQV_SATURATE, 0, 10000, 32767, 0},
      {ZQV_FIXED_SCALE, 1, 10000, 20000, 1},
      {ZQV_FIXED_SCALE | ZQV_SATURATE, 1, 20000, 32767, 1},
      {ZQV_AUTO_SCALE, 99, 20000, 20000, 2},
  };
  for (const Case& c : cases) {
    ZqvIirState st{};
    zqvwIirInit(0, gain4, 0, &st);
    int32_t factor = c.factor;
    EXPECT_EQ(zqvwIir(&st, c.in, c.mode, &factor), c.want) << c.mode;
    EXPECT_EQ(factor, c.factorAfter) << c.mode;
    // Automatic scaling without a place for its shift still scales.
    EXPECT_EQ(zqvwIir(&st, c.in, c.mode, nullptr), c.mode == ZQV_FIXED_SCALE ? int16_t(40000) : c.want);
    zqvIirFree(&st);
  }
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(IirW, OneStateRecordLifeAndEmptyBlocks) {
  const float taps[] = {1, 0, 1, 0.5f};
  ZqvIirState st{};
  zqvwIirInit(0, taps, 1, &st);
  EXPECT_EQ(taps[3], 0.5f);
  EXPECT_EQ(storedTaps(static_cast<const float*>(st.tapState.taps), 4), (std::vector<int16_t>{14, 16384, -8192, 0}));
  int16_t io[1] = {5};
  zqvwbIir(&st, io, io, 0, ZQV_WRAP, nullptr);
  EXPECT_TRUE(reportsAre({{-5, "zqvwbIir", "numIters <= 0", kHighW}}));
  zqvSetErrStatus(0);
  clearReports();
  // The low level does nothing with an empty block.
  zqvwbIirl(&st.tapState, &st.dlyState, io, io, 0, ZQV_WRAP, nullptr);
  EXPECT_EQ(io[0], 5);
  EXPECT_TRUE(reportsAre({}));
  zqvIirFree(&st);
  EXPECT_EQ(st.tapState.taps, nullptr);
}

// An unstable filter drives its state past the 32-bit range: the delay
// line stops at the range's end instead of wrapping (or worse).
TEST_F(IirW, DelayLineSaturatesAtTheIntegerRange) {
  float taps[] = {1, 0, 1, -2};
  ZqvIirTapState ts{};
  zqvwIirlInit(0, taps, 1, &ts);
  int32_t line[1];
  ZqvIirDlyState ds{};
  zqvwIirlInitDlyl(&ts, line, &ds);
  zqvwIirl(&ts, &ds, 30000, ZQV_SATURATE, nullptr);
  int32_t last = 0;
  for (int i = 0; i < 40; ++i) {
    zqvwIirl(&ts, &ds, 0, ZQV_SATURATE, nullptr);
    ASSERT_GE(line[0], last) << i;
    last = line[0];
  }
  EXPECT_EQ(line[0], INT32_MAX);
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(IirW, ReportsOfEveryCheck) {
  static ZqvIirState dead{};
  static int16_t buf[2];
  static int32_t factor;
  const std::vector<ReportRow> cases = {
      {"lInit", [] { zqvwIirlInit(5, nullptr, -1, nullptr); },
       {{-5, "zqvwIirlInit", "tapStPtr==0", kLowW}, {-5, "zqvwIirlInit", "taps==0", kLowW},
        {-5, "zqvwIirlInit", "order<0", kLowW}, {-5, "zqvwIirlInit", "iirType is out of range", kLowW}}},
      {"lInit a0", [] { float t[] = {1, -0.0f}; ZqvIirTapState s{}; zqvwIirlInit(0, t, 0, &s); },
       {{-5, "zqvwIirlInit", "taps[order+1] equals zero", kLowW}}},
      {"lInitBq", [] { zqvwIirlInitBq(5, nullptr, 0, nullptr); },
       {{-5, "zqvwIirlInitBq", "tapStPtr==0", kLowW}, {-5, "zqvwIirlInitBq", "taps==0", kLowW},
        {-5, "zqvwIirlInitBq", "numQuads<=0", kLowW}, {-5, "zqvwIirlInitBq", "iirType is out of range", kLowW}}},
      {"lInitDlyl", [] { zqvwIirlInitDlyl(nullptr, nullptr, nullptr); },
       {{-5, "zqvwIirlInitDlyl", "tapStPtr==0", kLowW}, {-5, "zqvwIirlInitDlyl", "dlyStPtr==0", kLowW}}},
      {"lIirl", [] { EXPECT_EQ(zqvwIirl(nullptr, nullptr, 1, 0, &factor), 0); },
       {{-5, "zqvwIirl", "tapStPtr==0", kLowW}, {-5, "zqvwIirl", "dlyStPtr==0", kLowW}}},
      {"lbIirl", [] { zqvwbIirl(&dead.tapState, &dead.dlyState, buf, buf, -1, 0, &factor); },
       {{-5, "zqvwbIirl", "structure *tapStPtr wasn't initialized", kLowW},
        {-5, "zqvwbIirl", "numIters < 0", kLowW}}},
      {"Init", [] { zqvwIirInit(0, nullptr, 0, nullptr); },
       {{-5, "zqvwIirInit", "statePtr==0", kHighW}, {-5, "zqvwIirInit", "tapVals==0", kHighW}}},
      {"Init a0", [] { const float t[] = {1, 0}; ZqvIirState s{}; zqvwIirInit(0, t, 0, &s); EXPECT_EQ(s.marker, 0); },
       {{-5, "zqvwIirlInit", "taps[order+1] equals zero", kLowW}, {-1, "zqvwIirInit", "", kHighW}}},
      {"InitBq", [] { const float t[] = {1}; ZqvIirState s{}; zqvwIirInitBq(2, t, 0, &s); },
       {{-5, "zqvwIirInitBq", "numQuads <= 0", kHighW}, {-5, "zqvwIirInitBq", "iirType is out of range", kHighW}}},
      {"Iir", [] { EXPECT_EQ(zqvwIir(&dead, 1, 0, &factor), 0); },
       {{-5, "zqvwIir", "IIR filter wasn't initialized", kHighW}}},
      {"bIir nulls", [] { zqvwbIir(nullptr, nullptr, nullptr, 0, 0, &factor); },
       {{-5, "zqvwbIir", "statePtr==0", kHighW}, {-5, "zqvwbIir", "inSamps==0", kHighW},
        {-5, "zqvwbIir", "outSamps==0", kHighW}}},
      {"bIir dead", [] { zqvwbIir(&dead, buf, buf, 0, 0, &factor); },
       {{-5, "zqvwbIir", "numIters <= 0", kHighW}, {-5, "zqvwbIir", "IIR filter wasn't initialized", kHighW}}},
  };
  expectReportRows(cases, std::nullopt);
}

}  // namespace
