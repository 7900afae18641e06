// The IIR filter with one state: the same results as the low level over the
// same taps, a record's life from Init to Free and back, and the reports,
// inner ones under the low-level names.
#include <functional>
#include <vector>

#include "zqv_test_support.h"
#include "zqviir_oracle.h"

namespace {

using IirState = ZqvTest;
constexpr const char* kMod = "zqviirh";
constexpr const char* kLow = "zqviirl";

template <class S, class T, class O>
struct Api {
  const char* name;
  void (*init)(int32_t, const T*, int32_t, ZqvIirState*);
  void (*initBq)(int32_t, const T*, int32_t, ZqvIirState*);
  O (*one)(ZqvIirState*, S);
  int32_t (*block)(ZqvIirState*, const S*, O*, int32_t);
  void (*lowInit)(int32_t, T*, int32_t, ZqvIirTapState*);
  void (*lowInitBq)(int32_t, T*, int32_t, ZqvIirTapState*);
  void (*lowDlyl)(const ZqvIirTapState*, O*, ZqvIirDlyState*);
  O (*lowOne)(const ZqvIirTapState*, ZqvIirDlyState*, S);
};

template <class T>
std::vector<T> stableTaps(bool cascade, int n, uint32_t seed) {
  auto taps = randomValues<T>(cascade ? 6 * n : 2 * n + 2, seed);
  const Cld lift(cascade ? 3.0L : 2.0L * (n + 1), 0);
  if (cascade)
    for (int i = 0; i < n; ++i) taps[6 * i + 3] = fromC<T>(toC(taps[6 * i + 3]) + lift);
  else
    taps[n + 1] = fromC<T>(toC(taps[n + 1]) + lift);
  return taps;
}

// The record gives bit for bit what the low level gives over a normalised
// copy of the same taps, single steps and blocks alike; the caller's taps
// stay as they were.
template <class S, class T, class O>
void checkPair(const Api<S, T, O>& api) {
  SCOPED_TRACE(api.name);
  const auto x = randomValues<S>(101, 3);
  for (bool cascade : {false, true})
    // Blocks run cascades of up to four sections with the delay line in
    // locals and longer ones in place: 5 sections take the second path.
    for (int n : {1, 3, 4, 5}) {
      const auto taps = stableTaps<T>(cascade, n, 40 + n);
      const int len = cascade ? 2 * n : n;
      ZqvIirState st{}, st2{};
      (cascade ? api.initBq : api.init)(0, taps.data(), n, &st);
      (cascade ? api.initBq : api.init)(1, taps.data(), n, &st2);
      ASSERT_EQ(st.marker, 31725);
      EXPECT_EQ(st.tapState.order, len);
      EXPECT_EQ(st.tapState.form, cascade ? 1 : 0);
      EXPECT_EQ(st2.tapState.iirType, 1);
      EXPECT_TRUE(sameBits(taps, stableTaps<T>(cascade, n, 40 + n)));

      auto lowTaps = taps;
      ZqvIirTapState ts{};
      (cascade ? api.lowInitBq : api.lowInit)(0, lowTaps.data(), n, &ts);
      std::vector<O> line(len);
      ZqvIirDlyState ds{};
      api.lowDlyl(&ts, line.data(), &ds);

      std::vector<O> want, single, block(x.size());
      for (const S& v : x) want.push_back(api.lowOne(&ts, &ds, v));
      for (const S& v : x) single.push_back(api.one(&st, v));
      EXPECT_EQ(api.block(&st2, x.data(), block.data(), 1), 0);
      EXPECT_EQ(api.block(&st2, x.data() + 1, block.data() + 1, static_cast<int32_t>(x.size()) - 1), 0);
      EXPECT_TRUE(sameBits(want, single));
      EXPECT_TRUE(sameBits(want, block));
      EXPECT_EQ(std::memcmp(st.dlyState.dlyl, line.data(), len * sizeof(O)), 0);
      EXPECT_EQ(std::memcmp(st2.dlyState.dlyl, line.data(), len * sizeof(O)), 0);
      zqvIirFree(&st);
      zqvIirFree(&st2);
    }
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(IirState, EveryTypePairEqualsTheLowLevel) {
  checkPair(Api<float, float, float>{"s", zqvsIirInit, zqvsIirInitBq, zqvsIir, zqvsbIir, zqvsIirlInit, zqvsIirlInitBq, zqvsIirlInitDlyl, zqvsIirl});
  checkPair(Api<double, double, double>{"d", zqvdIirInit, zqvdIirInitBq, zqvdIir, zqvdbIir, zqvdIirlInit, zqvdIirlInitBq, zqvdIirlInitDlyl, zqvdIirl});
  checkPair(Api<ZqvCplxS, ZqvCplxS, ZqvCplxS>{"c", zqvcIirInit, zqvcIirInitBq, zqvcIir, zqvcbIir, zqvcIirlInit, zqvcIirlInitBq, zqvcIirlInitDlyl, zqvcIirl});
  checkPair(Api<ZqvCplxD, ZqvCplxD, ZqvCplxD>{"z", zqvzIirInit, zqvzIirInitBq, zqvzIir, zqvzbIir, zqvzIirlInit, zqvzIirlInitBq, zqvzIirlInitDlyl, zqvzIirl});
  checkPair(Api<float, ZqvCplxS, ZqvCplxS>{"sc", zqvscIirInit, zqvscIirInitBq, zqvscIir, zqvscbIir, zqvcIirlInit, zqvcIirlInitBq, zqvcIirlInitDlyl, zqvscIirl});
  checkPair(Api<ZqvCplxS, float, ZqvCplxS>{"cs", zqvcsIirInit, zqvcsIirInitBq, zqvcsIir, zqvcsbIir, zqvsIirlInit, zqvsIirlInitBq, zqvcIirlInitDlyl, zqvcsIirl});
  checkPair(Api<double, ZqvCplxD, ZqvCplxD>{"dz", zqvdzIirInit, zqvdzIirInitBq, zqvdzIir, zqvdzbIir, zqvzIirlInit, zqvzIirlInitBq, zqvzIirlInitDlyl, zqvdzIirl});
  checkPair(Api<ZqvCplxD, double, ZqvCplxD>{"zd", zqvzdIirInit, zqvzdIirInitBq, zqvzdIir, zqvzdbIir, zqvdIirlInit, zqvdIirlInitBq, zqvzIirlInitDlyl, zqvzdIirl});
}

TEST_F(IirState, OnePoleAndDirectFormOracle) {
  const float half[] = {1, 0, 1, -0.5f};
  ZqvIirState st{};
  zqvsIirInit(0, half, 1, &st);
  for (int n = 0; n < 100; ++n) ASSERT_EQ(zqvsIir(&st, n == 0 ? 1.0f : 0.0f), std::ldexp(1.0f, -n)) << n;
  zqvIirFree(&st);

  const auto taps = stableTaps<double>(false, 4, 8);
  const auto x = randomValues<double>(500, 9);
  std::vector<Cld> rawTaps, rawX;
  for (double t : taps) rawTaps.push_back(t);
  for (double v : x) rawX.push_back(v);
  const auto ref = directFormI(rawTaps, rawX);
  zqvdIirInit(0, taps.data(), 4, &st);
  std::vector<double> y(x.size());
  EXPECT_EQ(zqvdbIir(&st, x.data(), y.data(), static_cast<int32_t>(x.size())), 0);
  for (size_t i = 0; i < y.size(); ++i) ASSERT_NEAR(y[i], static_cast<double>(ref[i].real()), 1e-13) << i;
  zqvIirFree(&st);
}

TEST_F(IirState, LifeFromInitToFreeAndBack) {
  const float taps[] = {2, 2, 0, 1, 0, 0};
  ZqvIirState st{};
  zqvsIirInitBq(0, taps, 1, &st);
  EXPECT_EQ(zqvsIir(&st, 1.0f), 2.0f);
  // A second Init is refused while the record is live.
  zqvsIirInitBq(0, taps, 1, &st);
  EXPECT_TRUE(reportsAre({{-5, "zqvsIirInitBq",
                           "IIR filter state structure is already initialized! Use zqvIirFree to free it", kMod}}));
  zqvSetErrStatus(0);
  clearReports();
  zqvIirFree(&st);
  // Free leaves no pointer behind that either level would accept.
  EXPECT_EQ(st.marker, 0);
  EXPECT_EQ(st.tapState.taps, nullptr);
  EXPECT_EQ(st.dlyState.dlyl, nullptr);
  EXPECT_EQ(zqvsIir(&st, 1.0f), 0.0f);
  zqvSetErrStatus(0);
  EXPECT_EQ(zqvsIirl(&st.tapState, &st.dlyState, 1.0f), 0.0f);
  zqvSetErrStatus(0);
  zqvIirFree(&st);
  EXPECT_TRUE(reportsAre({{-5, "zqvsIir", "IIR filter wasn't initialized", kMod},
                          {-5, "zqvsIirl", "structure *tapStPtr wasn't initialized", kLow},
                          {-5, "zqvsIirl", "structure *dlyStPtr wasn't initialized", kLow},
                          {-5, "zqvIirFree", "IIR filter wasn't initialized", kMod}}));
  zqvSetErrStatus(0);
  clearReports();
  // After Free the record takes a new Init; its delay line starts at zero.
  zqvsIirInitBq(0, taps, 1, &st);
  EXPECT_EQ(zqvsIir(&st, 1.0f), 2.0f);
  EXPECT_EQ(zqvsIir(&st, 0.0f), 2.0f);
  zqvIirFree(&st);
  EXPECT_TRUE(reportsAre({}));

  // A record that merely holds the marker is refused like a live one.
  ZqvIirState junk{};
  junk.marker = 31725;
  zqvsIirInit(0, taps, 0, &junk);
  EXPECT_EQ(zqvGetErrStatus(), -5);
  EXPECT_EQ(junk.tapState.taps, nullptr);
}

TEST_F(IirState, OrderZeroAndEmptyBlocks) {
  const double taps[] = {-3, 2};
  ZqvIirState st{};
  zqvdIirInit(0, taps, 0, &st);
  EXPECT_EQ(zqvdIir(&st, 4.0), -6.0);
  double out = 5;
  EXPECT_EQ(zqvdbIir(&st, &out, &out, 0), 0);
  EXPECT_EQ(out, 5.0);
  EXPECT_EQ(zqvdbIir(&st, &out, &out, 1), 0);
  EXPECT_EQ(out, -7.5);
  zqvIirFree(&st);
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(IirState, RefusedNormalisationFreesTheRecord) {
  const ZqvCplxS taps[] = {{1, 0}, {0, 0}, {0, 0}, {1, 0}, {0, 0}, {0, 0},
                           {1, 0}, {0, 0}, {0, 0}, {-0.0f, 0}, {0, 0}, {0, 0}};
  ZqvIirState st{};
  zqvscIirInitBq(0, taps, 2, &st);
  EXPECT_TRUE(reportsAre({{-5, "zqvcIirlInitBq", "taps[1*6+3] equals zero", kLow},
                          {-1, "zqvscIirInitBq", "", kMod}}));
  EXPECT_EQ(st.marker, 0);
  EXPECT_EQ(st.dlyState.dlyl, nullptr);
  zqvSetErrStatus(0);
  clearReports();
  const double direct[] = {1, 2, 0.0, 1};
  zqvzdIirInit(0, direct, 1, &st);
  EXPECT_TRUE(reportsAre({{-5, "zqvdIirlInit", "taps[order+1] equals zero", kLow},
                          {-1, "zqvzdIirInit", "", kMod}}));
  EXPECT_EQ(st.marker, 0);
}

TEST_F(IirState, ReportsOfEveryCheck) {
  static const float taps[] = {1, 0, 1, 0};
  static ZqvIirState live{}, dead{};
  zqvsIirInit(0, taps, 1, &live);
  static float in[2] = {1, 2}, out[2];
  const std::vector<ReportRow> cases = {
      {"Init nulls", [] { zqvsIirInit(0, nullptr, 1, nullptr); },
       {{-5, "zqvsIirInit", "statePtr==0", kMod}, {-5, "zqvsIirInit", "tapVals==0", kMod}}},
      {"Init arguments", [] { ZqvIirState s{}; zqvdzIirInit(3, reinterpret_cast<const ZqvCplxD*>(taps), -1, &s); },
       {{-5, "zqvdzIirInit", "order < 0", kMod}, {-5, "zqvdzIirInit", "iirType is out of range", kMod}}},
      {"InitBq arguments", [] { ZqvIirState s{}; zqvcsIirInitBq(-1, taps, 0, &s); },
       {{-5, "zqvcsIirInitBq", "numQuads <= 0", kMod}, {-5, "zqvcsIirInitBq", "iirType is out of range", kMod}}},
      {"Init too long for memory", [] { ZqvIirState s{}; zqvzIirInit(0, reinterpret_cast<const ZqvCplxD*>(taps), 1 << 29, &s); EXPECT_EQ(s.marker, 0); },
       {{-4, "zqvzIirInit", "insufficiency of memory for IIR filter state", kMod}}},
      {"Free null", [] { zqvIirFree(nullptr); }, {{-5, "zqvIirFree", "statePtr==0", kMod}}},
      {"Iir null", [] { EXPECT_EQ(zqvsIir(nullptr, 1), 0.0f); }, {{-5, "zqvsIir", "statePtr==0", kMod}}},
      {"Iir dead", [] { const ZqvCplxD r = zqvzdIir(&dead, {1, 1}); EXPECT_TRUE(r.re == 0 && r.im == 0); },
       {{-5, "zqvzdIir", "IIR filter wasn't initialized", kMod}}},
      {"bIir null", [] { EXPECT_EQ(zqvsbIir(nullptr, in, out, 1), -5); }, {{-5, "zqvsbIir", "statePtr==0", kMod}}},
      {"bIir dead", [] { EXPECT_EQ(zqvsbIir(&dead, in, out, 1), -5); },
       {{-5, "zqvsbIir", "IIR filter wasn't initialized", kMod}}},
      {"bIir buffers", [] { EXPECT_EQ(zqvsbIir(&live, nullptr, nullptr, -1), -1); },
       {{-5, "zqvsbIirl", "inSamps==0", kLow}, {-5, "zqvsbIirl", "outSamps==0", kLow},
        {-5, "zqvsbIirl", "numIters < 0", kLow}, {-1, "zqvsbIir", "", kMod}}},
  };
  expectReportRows(cases, std::nullopt);
  zqvSetErrStatus(0);
  zqvIirFree(&live);
}

// An earlier, unrelated failure stops the filter until the status is cleared.
TEST_F(IirState, NegativeStatusStopsWithoutWork) {
  const float taps[] = {1, 0, 1, -0.5f};
  ZqvIirState st{}, other{};
  zqvsIirInit(0, taps, 1, &st);
  zqvSetErrStatus(-4);
  EXPECT_EQ(zqvsIir(&st, 1.0f), 0.0f);
  float io[1] = {1};
  EXPECT_EQ(zqvsbIir(&st, io, io, 1), -4);
  EXPECT_EQ(io[0], 1.0f);
  zqvsIirInit(0, taps, 1, &other);
  EXPECT_EQ(other.marker, 0);
  EXPECT_TRUE(reportsAre({}));
  zqvSetErrStatus(0);
  EXPECT_EQ(zqvsIir(&st, 1.0f), 1.0f);
  zqvIirFree(&st);
}

}  // namespace
