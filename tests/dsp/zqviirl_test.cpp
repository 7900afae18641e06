// The low-level IIR filter: normalised layouts, the recurrences against a
// long-double direct-form-I reference and closed forms, blocks against
// single steps, shared tap states, and the reports of every check.
#include <cmath>
#include <functional>
#include <vector>

#include "zqv_test_support.h"
#include "zqviir_oracle.h"

namespace {

using IirLow = ZqvTest;
constexpr const char* kMod = "zqviirl";

// One type pair: samples S, taps T, output and delay line O.
template <class S, class T, class O>
struct LowApi {
  const char* name;
  void (*init)(int32_t, T*, int32_t, ZqvIirTapState*);
  void (*initBq)(int32_t, T*, int32_t, ZqvIirTapState*);
  void (*initDlyl)(const ZqvIirTapState*, O*, ZqvIirDlyState*);
  O (*one)(const ZqvIirTapState*, ZqvIirDlyState*, S);
  void (*block)(const ZqvIirTapState*, ZqvIirDlyState*, const S*, O*, int32_t);
  double tol;  // relative to the signal's size
};

// Stable by construction: sum |ak| < |a0|.
template <class T>
std::vector<T> directTaps(int order, uint32_t seed) {
  auto taps = randomValues<T>(2 * order + 2, seed);
  taps[order + 1] = fromC<T>(toC(taps[order + 1]) + Cld(2.0L * (order + 1), 0));
  return taps;
}

template <class T>
std::vector<T> cascadeTaps(int numQuads, uint32_t seed) {
  auto taps = randomValues<T>(6 * numQuads, seed);
  for (int i = 0; i < numQuads; ++i) {
    taps[6 * i] = fromC<T>(toC(taps[6 * i]) + Cld(1.5L, 0));
    taps[6 * i + 3] = fromC<T>(toC(taps[6 * i + 3]) + Cld(3.0L, 0));
  }
  return taps;
}

template <class T>
std::vector<Cld> wide(const std::vector<T>& v) {
  std::vector<Cld> w;
  for (const T& x : v) w.push_back(toC(x));
  return w;
}

template <class S, class T, class O>
void expectNear(const LowApi<S, T, O>& api, const std::vector<O>& got, const std::vector<Cld>& ref) {
  for (size_t i = 0; i < got.size(); ++i)
    ASSERT_LE(std::abs(toC(got[i]) - ref[i]), api.tol * (1 + std::abs(ref[i]))) << api.name << " sample " << i;
}

template <class S, class T, class O>
void checkPair(const LowApi<S, T, O>& api) {
  SCOPED_TRACE(api.name);
  const auto x = randomValues<S>(300, 7);
  for (int order : {0, 1, 2, 5}) {
    SCOPED_TRACE(order);
    auto taps = directTaps<T>(order, 11 + order);
    const auto raw = wide(taps);
    ZqvIirTapState ts{};
    api.init(0, taps.data(), order, &ts);
    std::vector<O> line(order + 1), line2(order + 1);
    ZqvIirDlyState ds{}, ds2{};
    api.initDlyl(&ts, line.data(), &ds);
    api.initDlyl(&ts, line2.data(), &ds2);
    std::vector<O> single(x.size()), block(x.size());
    for (size_t i = 0; i < x.size(); ++i) single[i] = api.one(&ts, &ds, x[i]);
    expectNear(api, single, directFormI(raw, wide(x)));
    // The block over an odd split equals the single steps bit for bit.
    api.block(&ts, &ds2, x.data(), block.data(), 3);
    api.block(&ts, &ds2, x.data() + 3, block.data() + 3, static_cast<int32_t>(x.size()) - 3);
    EXPECT_TRUE(sameBits(single, block));
    EXPECT_TRUE(sameBits(line, line2));
  }
  for (int numQuads : {1, 3}) {
    SCOPED_TRACE(numQuads);
    auto taps = cascadeTaps<T>(numQuads, 21 + numQuads);
    const auto raw = wide(taps);
    ZqvIirTapState ts{};
    api.initBq(1, taps.data(), numQuads, &ts);
    EXPECT_EQ(ts.order, 2 * numQuads);
    EXPECT_EQ(ts.form, 1);
    EXPECT_EQ(ts.iirType, 1);
    std::vector<O> line(2 * numQuads), line2(2 * numQuads);
    ZqvIirDlyState ds{}, ds2{};
    api.initDlyl(&ts, line.data(), &ds);
    api.initDlyl(&ts, line2.data(), &ds2);
    std::vector<O> single(x.size());
    for (size_t i = 0; i < x.size(); ++i) single[i] = api.one(&ts, &ds, x[i]);
    expectNear(api, single, cascadeFormI(raw, wide(x)));
    // In place: the block reads each input before it writes its output.
    std::vector<O> inPlace(x.size());
    if constexpr (std::is_same_v<S, O>) {
      inPlace = x;
      api.block(&ts, &ds2, inPlace.data(), inPlace.data(), static_cast<int32_t>(x.size()));
    } else {
      api.block(&ts, &ds2, x.data(), inPlace.data(), static_cast<int32_t>(x.size()));
    }
    EXPECT_TRUE(sameBits(single, inPlace));
    EXPECT_TRUE(sameBits(line, line2));
  }
  EXPECT_EQ(zqvGetErrStatus(), 0);
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(IirLow, EveryTypePairFollowsTheDifferenceEquation) {
  checkPair(LowApi<float, float, float>{"s", zqvsIirlInit, zqvsIirlInitBq, zqvsIirlInitDlyl, zqvsIirl, zqvsbIirl, 1e-5});
  checkPair(LowApi<double, double, double>{"d", zqvdIirlInit, zqvdIirlInitBq, zqvdIirlInitDlyl, zqvdIirl, zqvdbIirl, 1e-13});
  checkPair(LowApi<ZqvCplxS, ZqvCplxS, ZqvCplxS>{"c", zqvcIirlInit, zqvcIirlInitBq, zqvcIirlInitDlyl, zqvcIirl, zqvcbIirl, 1e-5});
  checkPair(LowApi<ZqvCplxD, ZqvCplxD, ZqvCplxD>{"z", zqvzIirlInit, zqvzIirlInitBq, zqvzIirlInitDlyl, zqvzIirl, zqvzbIirl, 1e-13});
  checkPair(LowApi<float, ZqvCplxS, ZqvCplxS>{"sc", zqvcIirlInit, zqvcIirlInitBq, zqvcIirlInitDlyl, zqvscIirl, zqvscbIirl, 1e-5});
  checkPair(LowApi<ZqvCplxS, float, ZqvCplxS>{"cs", zqvsIirlInit, zqvsIirlInitBq, zqvcIirlInitDlyl, zqvcsIirl, zqvcsbIirl, 1e-5});
  checkPair(LowApi<double, ZqvCplxD, ZqvCplxD>{"dz", zqvzIirlInit, zqvzIirlInitBq, zqvzIirlInitDlyl, zqvdzIirl, zqvdzbIirl, 1e-13});
  checkPair(LowApi<ZqvCplxD, double, ZqvCplxD>{"zd", zqvdIirlInit, zqvdIirlInitBq, zqvzIirlInitDlyl, zqvzdIirl, zqvzdbIirl, 1e-13});
}

// One pole at 0.5: the impulse response is 0.5^n, exactly representable.
TEST_F(IirLow, OnePoleGivesExactPowersOfAHalf) {
  float taps[] = {1.0f, 0.0f, 1.0f, -0.5f};
  ZqvIirTapState ts{};
  zqvsIirlInit(0, taps, 1, &ts);
  float line[1] = {99.0f};
  ZqvIirDlyState ds{};
  zqvsIirlInitDlyl(&ts, line, &ds);
  EXPECT_EQ(line[0], 0.0f);
  for (int n = 0; n < 140; ++n) ASSERT_EQ(zqvsIirl(&ts, &ds, n == 0 ? 1.0f : 0.0f), std::ldexp(1.0f, -n)) << n;
}

// 1 / (1 - 2r cos(t) z^-1 + r^2 z^-2) rings as r^n sin((n+1)t) / sin(t),
// both as a second-order direct form and as one biquad section.
TEST_F(IirLow, ResonatorFollowsItsClosedForm) {
  const double r = 0.99, t = 0.3;
  double direct[] = {1, 0, 0, 1, -2 * r * std::cos(t), r * r};
  double biquad[] = {1, 0, 0, 1, -2 * r * std::cos(t), r * r};
  ZqvIirTapState tsD{}, tsB{};
  zqvdIirlInit(0, direct, 2, &tsD);
  zqvdIirlInitBq(0, biquad, 1, &tsB);
  double lineD[2], lineB[2];
  ZqvIirDlyState dsD{}, dsB{};
  zqvdIirlInitDlyl(&tsD, lineD, &dsD);
  zqvdIirlInitDlyl(&tsB, lineB, &dsB);
  for (int n = 0; n < 2000; ++n) {
    const double x = n == 0 ? 1.0 : 0.0;
    const long double ref = std::pow(0.99L, n) * std::sin((n + 1) * 0.3L) / std::sin(0.3L);
    ASSERT_NEAR(zqvdIirl(&tsD, &dsD, x), static_cast<double>(ref), 1e-11) << n;
    ASSERT_NEAR(zqvdIirl(&tsB, &dsB, x), static_cast<double>(ref), 1e-11) << n;
  }
}

TEST_F(IirLow, NormalisedLayouts) {
  // Direct form: b/a0, then a1/a0..aN/a0 one place down, aN itself kept last.
  float taps[] = {2, 4, 6, 2, 1, -3};
  ZqvIirTapState ts{};
  zqvsIirlInit(1, taps, 2, &ts);
  EXPECT_EQ(std::vector<float>(taps, taps + 6), (std::vector<float>{1, 2, 3, 0.5f, -1.5f, -3}));
  EXPECT_EQ(ts.order, 2);
  EXPECT_EQ(ts.taps, static_cast<void*>(taps));
  EXPECT_EQ(ts.iirType, 1);
  EXPECT_EQ(ts.form, 0);

  // Cascade: g = product of b0/a0, then a1/a0, a2/a0, b1/b0, b2/b0 per section.
  double bq[] = {2, 2, 0, 1, 0, 0, 4, 2, 1, 2, 1, 0.5};
  ZqvIirTapState tsB{};
  zqvdIirlInitBq(0, bq, 2, &tsB);
  EXPECT_EQ(std::vector<double>(bq, bq + 9), (std::vector<double>{4, 0, 0, 1, 0, 0.5, 0.25, 0.5, 0.25}));

  // Complex: the reciprocal of a0 = i, so b/a0 = -i b.
  ZqvCplxS ct[] = {{1, 0}, {0, 2}, {0, 1}, {1, 1}};
  ZqvIirTapState tsC{};
  zqvcIirlInit(0, ct, 1, &tsC);
  EXPECT_TRUE(sameBits(ct[0], ZqvCplxS{0, -1}));
  EXPECT_TRUE(sameBits(ct[1], ZqvCplxS{2, 0}));
  EXPECT_TRUE(sameBits(ct[2], ZqvCplxS{1, -1}));
}

// b = (2, 2, 0), a = (1, 0, 0): g = 2, c3 = 1, so y(n) = 2x(n) + 2x(n-1).
TEST_F(IirLow, CascadeOfOneSectionIsItsDifferenceEquation) {
  float taps[] = {2, 2, 0, 1, 0, 0};
  ZqvIirTapState ts{};
  zqvsIirlInitBq(0, taps, 1, &ts);
  float line[2];
  ZqvIirDlyState ds{};
  zqvsIirlInitDlyl(&ts, line, &ds);
  const float x[] = {1, 3, -2, 5};
  const float want[] = {2, 8, 2, 6};
  for (int i = 0; i < 4; ++i) EXPECT_EQ(zqvsIirl(&ts, &ds, x[i]), want[i]);
}

// The float cascade block against the one-sample routine and against the
// recurrence written here in double over the normalised taps (delay line
// stored as float): the same bits for outputs and line, for one to six
// sections and lengths on both sides of the vector widths, with inputs that
// span many binades so that the line's rounding to float matters.
TEST_F(IirLow, FloatCascadeBlocksKeepTheirBits) {
  for (int q = 1; q <= 6; ++q) {
    auto taps = cascadeTaps<float>(q, 20 + q);
    ZqvIirTapState ts{};
    zqvsIirlInitBq(0, taps.data(), q, &ts);
    for (int n : {1, 2, 3, 4, 5, 7, 8, 9, 13, 16, 17, 31, 32, 33, 97, 1024}) {
      SCOPED_TRACE(testing::Message() << q << " sections, " << n << " samples");
      auto x = randomValues<float>(n, 30 + n);
      for (int i = 0; i < n; ++i) x[i] = std::ldexp(x[i], (i * 37) % 61 - 30);
      std::vector<float> l1(2 * q), l2(2 * q), ref(2 * q, 0.0f), block(n), single(n), want(n);
      ZqvIirDlyState d1{}, d2{};
      zqvsIirlInitDlyl(&ts, l1.data(), &d1);
      zqvsIirlInitDlyl(&ts, l2.data(), &d2);
      const int first = n / 2;
      zqvsbIirl(&ts, &d1, x.data(), block.data(), first);
      zqvsbIirl(&ts, &d1, x.data() + first, block.data() + first, n - first);
      for (int i = 0; i < n; ++i) single[i] = zqvsIirl(&ts, &d2, x[i]);
      for (int i = 0; i < n; ++i) {
        double u = double(taps[0]) * double(x[i]);
        for (int s = 0; s < q; ++s) {
          const float* c = &taps[1 + 4 * s];
          const double w1 = ref[2 * s], w2 = ref[2 * s + 1];
          const double w = u - (double(c[0]) * w1 + double(c[1]) * w2);
          u = w + (double(c[2]) * w1 + double(c[3]) * w2);
          ref[2 * s + 1] = ref[2 * s];
          ref[2 * s] = float(w);
        }
        want[i] = float(u);
      }
      EXPECT_TRUE(sameBits(block, want));
      EXPECT_TRUE(sameBits(single, want));
      EXPECT_TRUE(sameBits(l1, ref));
      EXPECT_TRUE(sameBits(l2, ref));
    }
  }
}

TEST_F(IirLow, OrderZeroIsAGainWithoutADelayLine) {
  double taps[] = {3, 2};
  ZqvIirTapState ts{};
  zqvdIirlInit(0, taps, 0, &ts);
  ZqvIirDlyState ds{};
  zqvdIirlInitDlyl(&ts, nullptr, &ds);
  EXPECT_EQ(zqvdIirl(&ts, &ds, 4.0), 6.0);
  double out[3];
  const double in[] = {1, 2, -4};
  zqvdbIirl(&ts, &ds, in, out, 3);
  EXPECT_EQ(std::vector<double>(out, out + 3), (std::vector<double>{1.5, 3, -6}));
  EXPECT_TRUE(reportsAre({}));
}

// One tap state, two delay lines: two interleaved signals are filtered as
// if each were alone.
TEST_F(IirLow, TwoDelayLinesShareOneTapState) {
  auto taps = cascadeTaps<float>(2, 5);
  ZqvIirTapState ts{};
  zqvsIirlInitBq(0, taps.data(), 2, &ts);
  const auto a = randomValues<float>(64, 1), b = randomValues<float>(64, 2);
  float lineA[4], lineB[4], lineAlone[4];
  ZqvIirDlyState dsA{}, dsB{}, dsAlone{};
  zqvsIirlInitDlyl(&ts, lineA, &dsA);
  zqvsIirlInitDlyl(&ts, lineB, &dsB);
  std::vector<float> outA, outB, alone(64), aloneB(64);
  for (int i = 0; i < 64; ++i) {
    outA.push_back(zqvsIirl(&ts, &dsA, a[i]));
    outB.push_back(zqvsIirl(&ts, &dsB, b[i]));
  }
  zqvsIirlInitDlyl(&ts, lineAlone, &dsAlone);
  zqvsbIirl(&ts, &dsAlone, a.data(), alone.data(), 64);
  EXPECT_TRUE(sameBits(outA, alone));
  zqvsIirlInitDlyl(&ts, lineAlone, &dsAlone);  // binding again resets the line
  zqvsbIirl(&ts, &dsAlone, b.data(), aloneB.data(), 64);
  EXPECT_TRUE(sameBits(outB, aloneB));
}

TEST_F(IirLow, BlocksOfOneTwoAndThreeEqualSingleSteps) {
  auto taps = directTaps<ZqvCplxD>(3, 9);
  ZqvIirTapState ts{};
  zqvzIirlInit(0, taps.data(), 3, &ts);
  const auto x = randomValues<double>(3, 4);
  for (int n = 1; n <= 3; ++n) {
    ZqvCplxD l1[3], l2[3];
    ZqvIirDlyState d1{}, d2{};
    zqvzIirlInitDlyl(&ts, l1, &d1);
    zqvzIirlInitDlyl(&ts, l2, &d2);
    std::vector<ZqvCplxD> single, block(n);
    for (int i = 0; i < n; ++i) single.push_back(zqvdzIirl(&ts, &d1, x[i]));
    zqvdzbIirl(&ts, &d2, x.data(), block.data(), n);
    EXPECT_TRUE(sameBits(single, block)) << n;
    EXPECT_EQ(std::memcmp(l1, l2, sizeof l1), 0) << n;
  }
  // numIters 0 does nothing.
  ZqvCplxD out{7, 7};
  ZqvCplxD line[3] = {{1, 1}, {2, 2}, {3, 3}};
  ZqvIirDlyState ds{line};
  zqvdzbIirl(&ts, &ds, x.data(), &out, 0);
  EXPECT_TRUE(sameBits(out, ZqvCplxD{7, 7}));
  EXPECT_TRUE(sameBits(line[2], ZqvCplxD{3, 3}));
}

TEST_F(IirLow, ZeroLeadingCoefficientsAreRefusedUntouched) {
  // -0 counts as zero; the array and the tap state stay as they were.
  float taps[] = {1, 2, -0.0f, 4};
  ZqvIirTapState ts{};
  zqvsIirlInit(0, taps, 1, &ts);
  EXPECT_TRUE(reportsAre({{-5, "zqvsIirlInit", "taps[order+1] equals zero", kMod}}));
  EXPECT_EQ(std::vector<float>(taps, taps + 4), (std::vector<float>{1, 2, -0.0f, 4}));
  EXPECT_EQ(ts.taps, nullptr);

  zqvSetErrStatus(0);
  clearReports();
  ZqvCplxD ct[] = {{1, 0}, {-0.0, 0.0}};
  zqvzIirlInit(0, ct, 0, &ts);
  EXPECT_TRUE(reportsAre({{-5, "zqvzIirlInit", "taps[order+1] equals zero", kMod}}));

  // A bad second section is found before the first one is rewritten.
  for (int which : {0, 3}) {
    zqvSetErrStatus(0);
    clearReports();
    double bq[] = {2, 2, 0, 1, 0, 0, 1, 1, 1, 1, 1, 1};
    bq[6 + which] = -0.0;
    const std::vector<double> before(bq, bq + 12);
    ZqvIirTapState tsB{};
    zqvdIirlInitBq(0, bq, 2, &tsB);
    EXPECT_TRUE(reportsAre({{-5, "zqvdIirlInitBq", which == 0 ? "taps[1*6] equals zero" : "taps[1*6+3] equals zero", kMod}}));
    EXPECT_TRUE(sameBits(std::vector<double>(bq, bq + 12), before));
    EXPECT_EQ(tsB.taps, nullptr);
  }
  // A tiny but non-zero a0 is accepted.
  zqvSetErrStatus(0);
  clearReports();
  ZqvCplxS tiny[] = {{1, 0}, {0, 1e-30f}};
  zqvcIirlInit(0, tiny, 0, &ts);
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(IirLow, ReportsOfEveryCheck) {
  static float taps[4] = {1, 0, 1, 0};
  static ZqvIirTapState good{};
  zqvsIirlInit(0, taps, 1, &good);
  static float line[1];
  static ZqvIirDlyState ds{};
  zqvsIirlInitDlyl(&good, line, &ds);
  static ZqvIirTapState bad{1, nullptr, 0, 5};
  static ZqvIirDlyState unbound{};
  static float x[2], y[2];
  const char* notInit = "structure *tapStPtr wasn't initialized";
  expectReportRows({
      {"Init nulls", [] { zqvsIirlInit(2, nullptr, -1, nullptr); },
       {{-5, "zqvsIirlInit", "tapStPtr==0", kMod}, {-5, "zqvsIirlInit", "taps==0", kMod},
        {-5, "zqvsIirlInit", "order < 0", kMod}, {-5, "zqvsIirlInit", "iirType is out of range", kMod}}},
      {"InitBq nulls", [] { zqvcIirlInitBq(-1, nullptr, 0, nullptr); },
       {{-5, "zqvcIirlInitBq", "tapStPtr==0", kMod}, {-5, "zqvcIirlInitBq", "taps==0", kMod},
        {-5, "zqvcIirlInitBq", "numQuads <= 0", kMod}, {-5, "zqvcIirlInitBq", "iirType is out of range", kMod}}},
      {"InitDlyl nulls", [] { zqvsIirlInitDlyl(nullptr, line, nullptr); },
       {{-5, "zqvsIirlInitDlyl", "tapStPtr==0", kMod}, {-5, "zqvsIirlInitDlyl", "dlyStPtr==0", kMod}}},
      {"InitDlyl uninitialised", [] { ZqvIirDlyState d{}; zqvdIirlInitDlyl(&bad, nullptr, &d); },
       {{-5, "zqvdIirlInitDlyl", notInit, kMod}, {-5, "zqvdIirlInitDlyl", notInit, kMod},
        {-5, "zqvdIirlInitDlyl", "dlyl==0", kMod}}},
      {"InitDlyl null line", [] { ZqvIirDlyState d{}; zqvsIirlInitDlyl(&good, nullptr, &d); },
       {{-5, "zqvsIirlInitDlyl", "dlyl==0", kMod}}},
      {"Iirl nulls", [] { EXPECT_EQ(zqvsIirl(nullptr, nullptr, 1.0f), 0.0f); },
       {{-5, "zqvsIirl", "tapStPtr==0", kMod}, {-5, "zqvsIirl", "dlyStPtr==0", kMod}}},
      {"Iirl unbound", [] {
         const ZqvCplxS r = zqvcsIirl(&good, &unbound, {1, 1});
         EXPECT_TRUE(r.re == 0 && r.im == 0);
       },
       {{-5, "zqvcsIirl", "structure *dlyStPtr wasn't initialized", kMod}}},
      {"Iirl uninitialised taps", [] { zqvzIirl(&bad, &ds, {1, 0}); },
       {{-5, "zqvzIirl", notInit, kMod}, {-5, "zqvzIirl", notInit, kMod}}},
      {"bIirl nulls", [] { zqvsbIirl(nullptr, nullptr, nullptr, nullptr, 1); },
       {{-5, "zqvsbIirl", "tapStPtr==0", kMod}, {-5, "zqvsbIirl", "dlyStPtr==0", kMod},
        {-5, "zqvsbIirl", "inSamps==0", kMod}, {-5, "zqvsbIirl", "outSamps==0", kMod}}},
      {"bIirl count", [] { zqvscbIirl(&good, &unbound, x, nullptr, -1); },
       {{-5, "zqvscbIirl", "outSamps==0", kMod}}},
      {"bIirl state", [] { ZqvCplxS o[2]; zqvscbIirl(&good, &unbound, x, o, -1); },
       {{-5, "zqvscbIirl", "structure *dlyStPtr wasn't initialized", kMod}, {-5, "zqvscbIirl", "numIters < 0", kMod}}},
  }, std::nullopt);
  (void)y;
}

// A status left negative by any earlier call stops every routine silently.
TEST_F(IirLow, NegativeStatusStopsWithoutWork) {
  float taps[] = {1, 0, 1, -0.5f};
  ZqvIirTapState ts{};
  zqvsIirlInit(0, taps, 1, &ts);
  float line[1];
  ZqvIirDlyState ds{};
  zqvsIirlInitDlyl(&ts, line, &ds);
  zqvsIirl(&ts, &ds, 1.0f);
  zqvSetErrStatus(-5);
  EXPECT_EQ(zqvsIirl(&ts, &ds, 1.0f), 0.0f);
  float out[2] = {9, 9};
  const float in[2] = {1, 1};
  zqvsbIirl(&ts, &ds, in, out, 2);
  EXPECT_EQ(out[0], 9.0f);
  EXPECT_EQ(line[0], 0.5f);
  float fresh[] = {2, 0, 2, 1};
  ZqvIirTapState ts2{};
  zqvsIirlInit(0, fresh, 1, &ts2);
  EXPECT_EQ(fresh[0], 2.0f);
  EXPECT_EQ(ts2.taps, nullptr);
  EXPECT_TRUE(reportsAre({}));
}

}  // namespace
