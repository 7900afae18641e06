// The LMS filter with one state: the record equals the low level on the
// same data, the desired-value steps against the error steps, the record's
// life from Init to Free, and the reports.
#include <climits>
#include <cmath>
#include <functional>
#include <vector>

#include "zqv_test_support.h"
#include "zqvlms_oracle.h"

namespace {

using LmsState = ZqvTest;
constexpr const char* kMod = "zqvlmsh";
constexpr const char* kNull = "Null buffer pointer";

template <class S, class T, class O>
struct Api {
  const char* name;
  void (*init)(int32_t, const T*, int32_t, const S*, float, float, int32_t, ZqvLmsState*);
  void (*initMr)(int32_t, const T*, int32_t, const S*, float, float, int32_t, int32_t, int32_t, ZqvLmsState*);
  O (*lms)(ZqvLmsState*, S, O);
  O (*blms)(ZqvLmsState*, const S*, O);
  O (*des)(ZqvLmsState*, S, O);
  void (*bdes)(ZqvLmsState*, const S*, const O*, O*, int32_t);
  O (*lowLms)(const ZqvLmsTapState*, ZqvLmsDlyState*, S, O);
};

template <class T>
std::vector<T> values(const ZqvLmsState& st) {
  const T* p = static_cast<const T*>(st.tapState.taps);
  return std::vector<T>(p, p + st.tapState.tapsLen);
}

template <class S, class T, class O>
void checkType(const Api<S, T, O>& api) {
  SCOPED_TRACE(api.name);
  const int n = 4, e = 2;
  const auto taps = randomValues<T>(n, 1);
  const auto line = randomValues<S>(n + e - 1, 2);
  const auto x = randomValues<S>(90, 3);
  const auto d = randomValues<O>(90, 4);

  // The record runs the low-level step on its two halves.
  ZqvLmsState st{};
  api.init(5, taps.data(), n, line.data(), 0.1f, 0.01f, e, &st);
  ASSERT_EQ(st.dlyState.dlyLen, n + e);
  EXPECT_EQ(st.dlyState.isAdaptive, 1);
  auto lowTaps = taps;
  std::vector<S> lowLine(n + e);
  for (int i = 0; i < n + e - 1; ++i) lowLine[i] = line[n + e - 2 - i];
  ASSERT_TRUE(sameBits(std::vector<S>(static_cast<S*>(st.dlyState.dlyl), static_cast<S*>(st.dlyState.dlyl) + n + e), lowLine));
  ZqvLmsTapState lts = st.tapState;
  lts.taps = lowTaps.data();
  ZqvLmsDlyState lds = st.dlyState;
  lds.dlyl = lowLine.data();
  O err{};
  for (int i = 0; i < 90; ++i) {
    const O y = api.lms(&st, x[i], err);
    ASSERT_TRUE(sameBits(y, api.lowLms(&lts, &lds, x[i], err))) << i;
    err = fromC<O>(toC(d[i]) - toC(y));
  }
  EXPECT_TRUE(sameBits(values<T>(st), lowTaps));

  // With a step above 0, LmsDes is Lms fed the previous error.
  ZqvLmsState a{}, b{};
  api.init(0, taps.data(), n, nullptr, 0.1f, 0.01f, e, &a);
  api.init(0, taps.data(), n, nullptr, 0.1f, 0.01f, e, &b);
  O prev{};
  for (int i = 0; i < 90; ++i) {
    const O ya = api.des(&a, x[i], d[i]);
    const O yb = api.lms(&b, x[i], prev);
    ASSERT_TRUE(sameBits(ya, yb)) << i;
    prev = fromC<O>(toC(d[i]) - toC(yb));
  }
  EXPECT_TRUE(sameBits(values<T>(a), values<T>(b)));

  // bLmsDes in blocks of three equals bLms fed the previous error; D = 1 bLms equals Lms.
  ZqvLmsState c{}, m{}, one{};
  api.initMr(0, taps.data(), n, nullptr, 0.1f, 0, 1, 3, 1, &c);
  api.initMr(0, taps.data(), n, nullptr, 0.1f, 0, 1, 3, 1, &m);
  api.initMr(0, taps.data(), n, nullptr, 0.1f, 0, 1, 1, 0, &one);
  EXPECT_EQ(one.tapState.isMultiRate, 0);
  EXPECT_EQ(one.dlyState.dlyLen, n + 1 + 1);
  std::vector<O> out(30);
  api.bdes(&c, x.data(), d.data(), out.data(), 30);
  prev = O{};
  for (int k = 0; k < 30; ++k) {
    const O y = api.blms(&m, x.data() + 3 * k, prev);
    ASSERT_TRUE(sameBits(y, out[k])) << k;
    prev = fromC<O>(toC(d[k]) - toC(y));
  }
  ASSERT_TRUE(sameBits(values<T>(c), values<T>(m)));
  // The last error is kept.
  ZqvLmsState single{};
  api.init(0, taps.data(), n, nullptr, 0.1f, 0, 1, &single);
  prev = O{};
  for (int i = 0; i < 20; ++i) {
    const O y1 = api.blms(&one, &x[i], prev), y2 = api.lms(&single, x[i], prev);
    ASSERT_TRUE(sameBits(y1, y2)) << i;
    prev = fromC<O>(toC(d[i]) - toC(y1));
  }
  for (ZqvLmsState* s : {&st, &a, &b, &c, &m, &one, &single}) zqvLmsFree(s);
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(LmsState, EveryTypeEqualsTheLowLevelAndDesEqualsLms) {
  checkType(Api<float, float, float>{"s", zqvsLmsInit, zqvsLmsInitMr, zqvsLms, zqvsbLms, zqvsLmsDes, zqvsbLmsDes, zqvsLmsl});
  checkType(Api<double, double, double>{"d", zqvdLmsInit, zqvdLmsInitMr, zqvdLms, zqvdbLms, zqvdLmsDes, zqvdbLmsDes, zqvdLmsl});
  checkType(Api<ZqvCplxS, ZqvCplxS, ZqvCplxS>{"c", zqvcLmsInit, zqvcLmsInitMr, zqvcLms, zqvcbLms, zqvcLmsDes, zqvcbLmsDes, zqvcLmsl});
  checkType(Api<ZqvCplxD, ZqvCplxD, ZqvCplxD>{"z", zqvzLmsInit, zqvzLmsInitMr, zqvzLms, zqvzbLms, zqvzLmsDes, zqvzbLmsDes, zqvzLmsl});
  checkType(Api<float, ZqvCplxS, ZqvCplxS>{"sc", zqvscLmsInit, zqvscLmsInitMr, zqvscLms, zqvscbLms, zqvscLmsDes, zqvscbLmsDes, zqvscLmsl});
  checkType(Api<double, ZqvCplxD, ZqvCplxD>{"dz", zqvdzLmsInit, zqvdzLmsInitMr, zqvdzLms, zqvdzbLms, zqvdzLmsDes, zqvdzbLmsDes, zqvdzLmsl});
}

TEST_F(LmsState, InitFillsTheRecord) {
  ZqvLmsState st{};
  zqvdLmsInit(3, nullptr, 4, nullptr, 0.5f, 0.25f, 2, &st);
  EXPECT_EQ(st.tapState.tapsLen, 4);
  EXPECT_EQ(st.tapState.upFactor, 1);
  EXPECT_EQ(st.tapState.downFactor, 1);
  EXPECT_EQ(st.tapState.isMultiRate, 0);
  EXPECT_EQ(st.tapState.tapsReady, 1);
  EXPECT_EQ(st.tapState.lmsType, 3);
  EXPECT_EQ(st.dlyState.dlyLen, 6);
  EXPECT_EQ(st.dlyState.dlyReady, 1);
  EXPECT_EQ(zqvdLmsGetErrVal(&st), 0.0);
  EXPECT_EQ(values<double>(st), std::vector<double>(4, 0.0));
  EXPECT_EQ(zqvdLms(&st, 5.0, 1.0), 0.0);
  EXPECT_EQ(zqvsLmsGetStep(&st), 0.5f);
  EXPECT_EQ(zqvsLmsGetLeak(&st), 0.25f);
  zqvsLmsSetStep(0.125f, &st);
  zqvsLmsSetLeak(0, &st);
  EXPECT_EQ(st.tapState.step.f, 0.125f);
  EXPECT_EQ(st.tapState.leak, 0.0f);
  zqvLmsFree(&st);

  // A caller's line gives dlyLen - 1 values, oldest first; the oldest place is zero.
  const double line[5] = {1, 2, 3, 4, 5};
  zqvdLmsInit(0, nullptr, 4, line, 0, 0, 2, &st);
  const double* x = static_cast<const double*>(st.dlyState.dlyl);
  EXPECT_EQ(std::vector<double>(x, x + 6), (std::vector<double>{5, 4, 3, 2, 1, 0}));
  double back[5];
  zqvdLmsGetDlyl(&st, back);
  EXPECT_EQ(std::vector<double>(back, back + 5), std::vector<double>(line, line + 5));
  EXPECT_EQ(st.dlyState.dlyReady, 0);
  zqvdLmsSetDlyl(back, &st);
  EXPECT_EQ(st.dlyState.dlyReady, 1);
  zqvLmsFree(&st);
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(LmsState, StepLeakAndTheKeptError) {
  const float taps[2] = {1, 2};
  ZqvLmsState st{};
  // Lms with a step of 0 leaves the taps unchanged, leak included ...
  zqvsLmsInit(0, taps, 2, nullptr, 0, 0.5f, 0, &st);
  zqvsLms(&st, 1, 1);
  zqvsLms(&st, 1, 1);
  EXPECT_EQ(values<float>(st), (std::vector<float>{1, 2}));
  // ... while LmsDes adapts whatever the step: with error 0 the leak alone.
  zqvsLmsDes(&st, 1, 0);
  EXPECT_EQ(values<float>(st), (std::vector<float>{0.5f, 1}));
  // The kept error is des - y; a desired value equal to the output leaves
  // it at 0, so the next call applies the leak alone.
  const float y = zqvsLmsDes(&st, 2, 0);  // taps 0.25, 0.5 over the line 2, 1
  EXPECT_EQ(y, 1.0f);
  EXPECT_EQ(zqvsLmsGetErrVal(&st), -1.0f);
  zqvsLmsSetErrVal(0, &st);
  EXPECT_EQ(zqvsLmsDes(&st, 3, 0.875f), 0.875f);  // taps 0.125, 0.25 over 3, 2
  EXPECT_EQ(zqvsLmsGetErrVal(&st), 0.0f);
  zqvsLmsDes(&st, 0, 0);
  EXPECT_EQ(values<float>(st), (std::vector<float>{0.0625f, 0.125f}));
  zqvLmsFree(&st);

  ZqvLmsState cz{};
  zqvcLmsInit(0, nullptr, 1, nullptr, 0, 0, 0, &cz);
  zqvcLmsSetErrVal({1, -2}, &cz);
  const ZqvCplxS e = zqvcLmsGetErrVal(&cz);
  EXPECT_TRUE(e.re == 1 && e.im == -2);
  zqvLmsFree(&cz);
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(LmsState, TapsOutMeansNoSteps) {
  const double taps[3] = {1, 2, 3};
  ZqvLmsState st{};
  zqvdLmsInit(0, taps, 3, nullptr, 0.1f, 0, 0, &st);
  double out[3];
  zqvdLmsGetTaps(&st, out);
  EXPECT_EQ(std::vector<double>(out, out + 3), std::vector<double>(taps, taps + 3));
  EXPECT_EQ(zqvdLms(&st, 1, 1), 0.0);
  EXPECT_TRUE(reportsAre({{-5, "zqvdLms", "Taps state structure is not initialized", kMod}}));
  clearReports();
  zqvdLmsSetTaps(out, &st);
  EXPECT_EQ(values<double>(st), std::vector<double>(taps, taps + 3));
  EXPECT_EQ(zqvdLms(&st, 1, 0), 1.0);
  double line[2];
  zqvdLmsGetDlyl(&st, line);
  zqvdLmsDes(&st, 1, 0);
  EXPECT_TRUE(reportsAre({{-5, "zqvdLmsDes", "Delay line state structure is not initialized", kMod}}));
  zqvLmsFree(&st);
}

// After Free no step, exchange or second Free touches the released blocks.
TEST_F(LmsState, FreeLeavesNothingToUse) {
  ZqvLmsState st{};
  zqvzLmsInit(0, nullptr, 2, nullptr, 0.1f, 0, 1, &st);
  zqvLmsFree(&st);
  EXPECT_EQ(st.tapState.taps, nullptr);
  EXPECT_EQ(st.dlyState.dlyl, nullptr);
  EXPECT_EQ(st.tapState.tapsReady, 0);
  EXPECT_EQ(st.dlyState.dlyReady, 0);
  zqvLmsFree(&st);
  EXPECT_TRUE(reportsAre({}));
  const ZqvCplxD y = zqvzLms(&st, {1, 1}, {1, 1});
  EXPECT_TRUE(y.re == 0 && y.im == 0);
  zqvzLmsSetTaps(nullptr, &st);
  zqvzLmsSetDlyl(nullptr, &st);
  EXPECT_TRUE(reportsAre({{-5, "zqvzLms", "Taps state structure is not initialized", kMod},
                          {-5, "zqvzLmsSetTaps", kNull, kMod},
                          {-5, "zqvzLmsSetDlyl", kNull, kMod}}));
}

TEST_F(LmsState, ReportsOfEveryCheck) {
  static ZqvLmsState live{};
  zqvsLmsInit(0, nullptr, 2, nullptr, 0.1f, 0, 0, &live);
  static float buf[8];
  const std::vector<ReportRow> cases = {
      {"Init null", [] { zqvsLmsInit(0, nullptr, 0, nullptr, 0, 0, 0, nullptr); }, {{-5, "zqvsLmsInit", kNull, kMod}}},
      {"Init length", [] { ZqvLmsState s{}; zqvdLmsInit(0, nullptr, 0, nullptr, 0, 0, 0, &s); },
       {{-5, "zqvdLmsInit", "Invalid buffer length", kMod}}},
      {"Init errDly", [] { ZqvLmsState s{}; zqvcLmsInit(0, nullptr, 1, nullptr, 0, 0, -1, &s); EXPECT_EQ(s.tapState.taps, nullptr); },
       {{-5, "zqvcLmsInit", "Invalid error delay value", kMod}}},
      {"InitMr phase", [] { ZqvLmsState s{}; zqvzLmsInitMr(0, nullptr, 1, nullptr, 0, 0, 0, 2, -1, &s); },
       {{-5, "zqvzLmsInitMr", "Invalid phase value", kMod}}},
      {"InitMr factor", [] { ZqvLmsState s{}; zqvscLmsInitMr(0, nullptr, 1, nullptr, 0, 0, 0, 3, 3, &s); },
       {{-5, "zqvscLmsInitMr", "Invalid factor value", kMod}}},
      {"Init memory", [] {
         ZqvLmsState s{};
         zqvdzLmsInit(0, nullptr, 1, nullptr, 0, 0, INT32_MAX, &s);
         EXPECT_EQ(s.tapState.taps, nullptr);
         EXPECT_EQ(s.dlyState.dlyl, nullptr);
         EXPECT_EQ(s.tapState.tapsReady, 0);
       },
       {{-4, "zqvdzLmsInit", "Problem to allocate memory", kMod}}},
      {"Free", [] { zqvLmsFree(nullptr); }, {{-5, "zqvLmsFree", kNull, kMod}}},
      {"Lms", [] { EXPECT_EQ(zqvsLms(nullptr, 1, 1), 0.0f); }, {{-5, "zqvsLms", kNull, kMod}}},
      {"bLms", [] { zqvsbLms(&live, nullptr, 1); }, {{-5, "zqvsbLms", kNull, kMod}}},
      {"LmsDes", [] { zqvdzLmsDes(nullptr, 1, {1, 1}); }, {{-5, "zqvdzLmsDes", kNull, kMod}}},
      {"bLmsDes count", [] { zqvsLmsSetErrVal(3, &live); zqvsbLmsDes(&live, buf, buf, buf, 0); EXPECT_EQ(zqvsLmsGetErrVal(&live), 3.0f); },
       {{-5, "zqvsbLmsDes", "Bad value of number of iterations", kMod}}},
      {"bLmsDes buffers", [] { zqvsbLmsDes(&live, buf, nullptr, buf, 1); }, {{-5, "zqvsbLmsDes", kNull, kMod}}},
      {"GetErrVal", [] { EXPECT_EQ(zqvdLmsGetErrVal(nullptr), 0.0); }, {{-5, "zqvdLmsGetErrVal", kNull, kMod}}},
      {"SetErrVal", [] { zqvzLmsSetErrVal({1, 1}, nullptr); }, {{-5, "zqvzLmsSetErrVal", kNull, kMod}}},
      {"GetTaps", [] { zqvsLmsGetTaps(&live, nullptr); }, {{-5, "zqvsLmsGetTaps", kNull, kMod}}},
      {"SetTaps", [] { zqvcLmsSetTaps(nullptr, nullptr); }, {{-5, "zqvcLmsSetTaps", kNull, kMod}}},
      {"GetDlyl", [] { zqvsLmsGetDlyl(nullptr, buf); }, {{-5, "zqvsLmsGetDlyl", kNull, kMod}}},
      {"SetDlyl", [] { zqvzLmsSetDlyl(nullptr, nullptr); }, {{-5, "zqvzLmsSetDlyl", kNull, kMod}}},
      {"GetStep", [] { EXPECT_EQ(zqvsLmsGetStep(nullptr), 0.0f); }, {{-5, "zqvsLmsGetStep", kNull, kMod}}},
      {"in place twice", [] {
         float* x = static_cast<float*>(live.dlyState.dlyl);
         zqvsLmsGetDlyl(&live, x);
         zqvsLmsGetDlyl(&live, x);
         EXPECT_EQ(zqvGetErrStatus(), -3);
         zqvsLmsSetDlyl(x, &live);
       },
       {}},
  };
  expectReportRows(cases, std::nullopt);
  zqvSetErrStatus(0);
  zqvLmsFree(&live);
}


// The float desired-signal block against a plain loop of its steps written
// here (adapt with the kept error, shift, store, sum in double from tap 0
// up) and, at a factor of 1, against one single-sample call per input: the
// same bits for outputs, taps, line and kept error, over tap counts, error
// delays and lengths on both sides of the vector widths.
struct PlainLmsF {
  std::vector<float> h, x;  // x newest first, dlyLen values
  double step, leak;
  int64_t errDly, down, base;
  float err = 0;

  float step1(const float* in, float des) {
    const double g = step * double(err), f = 1.0 - leak;
    const int64_t n = int64_t(h.size());
    for (int64_t i = 0; i < n; ++i) h[i] = float(double(h[i]) * f + g * double(x[base + i + errDly]));
    for (int64_t k = int64_t(x.size()) - 1; k >= down; --k) x[k] = x[k - down];
    for (int64_t j = 0; j < down && j < int64_t(x.size()); ++j) x[j] = in[down - 1 - j];
    double acc = 0;
    for (int64_t i = 0; i < n; ++i) acc = acc + double(h[i]) * double(x[base + i]);
    const float y = float(acc);
    err = float(double(des) - double(y));
    return y;
  }
};

TEST_F(LmsState, FloatDesiredBlocksKeepTheirBits) {
  // cancel: fixed taps of 1 (step and leak 0) over a signal whose large
  // values cancel in pairs, so that the output shows the order of the sum.
  struct Case {
    int taps, errDly, down, phase, count;
    bool cancel = false;
  };
  std::vector<Case> cases;
  for (int taps : {1, 2, 3, 4, 5, 7, 8, 9, 15, 16, 17, 24, 25, 26, 31, 32, 33, 41, 64, 127, 128, 129})
    for (int errDly : {0, 1, 3}) cases.push_back({taps, errDly, 1, 0, 61});
  for (int count : {1, 2, 7, 8, 9, 16, 17, 97, 256}) cases.push_back({33, 2, 1, 0, count});
  cases.push_back({9, 1, 3, 1, 40});
  cases.push_back({16, 0, 2, 0, 40});
  cases.push_back({17, 2, 4, 3, 40});
  cases.push_back({45, 1, 3, 2, 40});
  for (int taps : {24, 32, 40, 64, 128}) cases.push_back({taps, 0, 1, 0, 50, true});
  cases.push_back({40, 0, 2, 1, 30, true});
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.taps << " taps, errDly " << c.errDly << ", D " << c.down << ", p "
                                    << c.phase << ", " << c.count << " outputs" << (c.cancel ? ", cancelling" : ""));
    const bool mr = c.down > 1;
    const int len = c.taps + c.errDly + (mr ? c.down : 0);
    // Values over twelve binades, so that sums round and their order shows.
    const auto spread = [](std::vector<float> v) {
      for (size_t i = 0; i < v.size(); ++i) v[i] = std::ldexp(v[i], -int((i * 7) % 13));
      return v;
    };
    const auto cancelling = [](std::vector<float> v, size_t shift) {
      for (size_t i = 0; i < v.size(); ++i)
        if ((i + shift) % 4 == 0) v[i] = (i + shift) % 8 == 0 ? 0x1p40f : -0x1p40f;
      return v;
    };
    auto taps = spread(randomValues<float>(c.taps, 11 + c.taps));
    auto line = spread(randomValues<float>(len - 1, 12));
    auto in = spread(randomValues<float>(size_t(c.count) * c.down, 13));
    if (c.cancel) {
      taps.assign(c.taps, 1.0f);
      line = cancelling(line, 0);
      in = cancelling(in, line.size());
    }
    const auto des = randomValues<float>(c.count, 14);
    const float step = c.cancel ? 0.0f : 0.05f, leak = c.cancel ? 0.0f : 0.003f;
    ZqvLmsState blk{}, one{};
    if (mr) {
      zqvsLmsInitMr(0, taps.data(), c.taps, line.data(), step, leak, c.errDly, c.down, c.phase, &blk);
    } else {
      zqvsLmsInit(0, taps.data(), c.taps, line.data(), step, leak, c.errDly, &blk);
      zqvsLmsInit(0, taps.data(), c.taps, line.data(), step, leak, c.errDly, &one);
    }
    zqvsLmsSetErrVal(0.25f, &blk);
    zqvsLmsSetErrVal(0.25f, &one);
    PlainLmsF ref{taps, std::vector<float>(len), step, leak, c.errDly, c.down, c.down - 1 - c.phase, 0.25f};
    for (int i = 0; i + 1 < len; ++i) ref.x[i] = line[len - 2 - i];
    std::vector<float> got(c.count), want(c.count);
    // In two calls, so that a block also starts from a line it filled.
    const int first = c.count / 3;
    if (first > 0) zqvsbLmsDes(&blk, in.data(), des.data(), got.data(), first);
    zqvsbLmsDes(&blk, in.data() + size_t(first) * c.down, des.data() + first, got.data() + first, c.count - first);
    for (int k = 0; k < c.count; ++k) want[k] = ref.step1(in.data() + size_t(k) * c.down, des[k]);
    EXPECT_TRUE(sameBits(got, want));
    EXPECT_TRUE(sameBits(values<float>(blk), ref.h));
    const float* x = static_cast<const float*>(blk.dlyState.dlyl);
    EXPECT_TRUE(sameBits(std::vector<float>(x, x + len), ref.x));
    EXPECT_TRUE(sameBits(zqvsLmsGetErrVal(&blk), ref.err));
    if (!mr) {
      std::vector<float> single(c.count);
      for (int k = 0; k < c.count; ++k) single[k] = zqvsLmsDes(&one, in[k], des[k]);
      EXPECT_TRUE(sameBits(single, got));
      EXPECT_TRUE(sameBits(values<float>(one), values<float>(blk)));
    }
    zqvLmsFree(&blk);
    zqvLmsFree(&one);
  }
  EXPECT_TRUE(reportsAre({}));
}

}  // namespace
