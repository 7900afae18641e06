// The low-level LMS filter: every adapting type against a naive LMS in long
// double, block steps, the step and leak rules, convergence to a known
// plant, the 16-bit step against int64 arithmetic, the exchanges, the
// filter-only steps and the reports.
#include <cmath>
#include <functional>
#include <random>
#include <vector>

#include "zqv_test_support.h"
#include "zqvlms_oracle.h"

namespace {

using LmsLow = ZqvTest;
constexpr const char* kMod = "zqvlmsl";
constexpr const char* kNull = "Null buffer pointer";

template <class S, class T, class O>
struct Api {
  const char* name;
  void (*init)(int32_t, T*, int32_t, float, float, int32_t, ZqvLmsTapState*);
  void (*initMr)(int32_t, T*, int32_t, float, float, int32_t, int32_t, int32_t, ZqvLmsTapState*);
  void (*initDlyl)(const ZqvLmsTapState*, S*, int32_t, ZqvLmsDlyState*);
  void (*setDlyl)(const ZqvLmsTapState*, const S*, ZqvLmsDlyState*);
  O (*lms)(const ZqvLmsTapState*, ZqvLmsDlyState*, S, O);
  O (*blms)(const ZqvLmsTapState*, ZqvLmsDlyState*, const S*, O);
  double tol;
};

template <class T>
std::vector<Cld> wide(const std::vector<T>& v) {
  std::vector<Cld> w;
  for (const T& x : v) w.push_back(toC(x));
  return w;
}

template <class S, class T, class O>
void expectClose(const char* what, O got, Cld want, double tol) {
  ASSERT_LE(std::abs(toC(got) - want), tol * (1 + std::abs(want))) << what;
}

// Single steps with an error delay, then blocks of three with each phase.
template <class S, class T, class O>
void checkAgainstNaive(const Api<S, T, O>& api) {
  SCOPED_TRACE(api.name);
  const int n = 5;
  for (int errDly : {0, 2}) {
    auto taps = randomValues<T>(n, 3);
    NaiveLms ref{wide(taps), std::vector<Cld>(n + errDly), 0.05f, 0.01f, size_t(errDly), isCplx<S>};
    ZqvLmsTapState ts{};
    api.init(7, taps.data(), n, 0.05f, 0.01f, errDly, &ts);
    EXPECT_EQ(ts.lmsType, 7);
    std::vector<S> line(n + errDly, fromC<S>({9, 9}));
    ZqvLmsDlyState ds{};
    api.initDlyl(&ts, line.data(), 1, &ds);
    ASSERT_EQ(ds.dlyLen, n + errDly);
    api.setDlyl(&ts, nullptr, &ds);
    const auto x = randomValues<S>(200, 5);
    const auto d = randomValues<O>(200, 6);
    O err{};
    for (int i = 0; i < 200; ++i) {
      ref.adapt(toC(err), 0);
      const Cld want = ref.push(toC(x[i]));
      const O y = api.lms(&ts, &ds, x[i], err);
      expectClose<S, T, O>("single", y, want, api.tol);
      err = fromC<O>(toC(d[i]) - toC(y));
    }
    for (int i = 0; i < n; ++i) ASSERT_LE(std::abs(toC(taps[i]) - ref.h[i]), api.tol) << i;
  }
  for (int phase : {0, 2}) {
    const int D = 3, errDly = 1;
    auto taps = randomValues<T>(n, 4);
    ZqvLmsTapState ts{};
    api.initMr(0, taps.data(), n, 0.05f, 0.0f, errDly, D, phase, &ts);
    EXPECT_EQ(ts.isMultiRate, 1);
    std::vector<S> line(n + errDly + D);
    ZqvLmsDlyState ds{};
    api.initDlyl(&ts, line.data(), 1, &ds);
    ASSERT_EQ(ds.dlyLen, n + errDly + D);
    api.setDlyl(&ts, nullptr, &ds);
    NaiveLms ref{wide(taps), std::vector<Cld>(line.size()), 0.05f, 0.0L, size_t(errDly), isCplx<S>};
    const size_t base = D - 1 - phase;
    const auto x = randomValues<S>(3 * 60, 8);
    const auto d = randomValues<O>(60, 9);
    O err{};
    for (int k = 0; k < 60; ++k) {
      ref.adapt(toC(err), base);
      ref.pushBlock(wide(std::vector<S>(x.begin() + 3 * k, x.begin() + 3 * k + 3)));
      const O y = api.blms(&ts, &ds, x.data() + 3 * k, err);
      expectClose<S, T, O>("block", y, ref.output(base), api.tol);
      err = fromC<O>(toC(d[k]) - toC(y));
    }
  }
  // A block of one input is the single-sample step.
  auto t1 = randomValues<T>(n, 10), t2 = t1;
  ZqvLmsTapState ts1{}, ts2{};
  api.init(0, t1.data(), n, 0.1f, 0.02f, 1, &ts1);
  api.initMr(0, t2.data(), n, 0.1f, 0.02f, 1, 1, 0, &ts2);
  EXPECT_EQ(ts2.isMultiRate, 0);
  std::vector<S> l1(n + 1), l2(n + 1);
  ZqvLmsDlyState d1{}, d2{};
  api.initDlyl(&ts1, l1.data(), 1, &d1);
  api.initDlyl(&ts2, l2.data(), 1, &d2);
  const auto x = randomValues<S>(50, 11);
  O e1{}, e2{};
  for (int i = 0; i < 50; ++i) {
    const O y1 = api.lms(&ts1, &d1, x[i], e1), y2 = api.blms(&ts2, &d2, &x[i], e2);
    ASSERT_TRUE(sameBits(y1, y2)) << i;
    e1 = e2 = fromC<O>(Cld(0.5L, 0.25L) - toC(y1));
  }
  EXPECT_TRUE(sameBits(t1, t2));
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(LmsLow, EveryTypeFollowsTheUpdateRule) {
  checkAgainstNaive(Api<float, float, float>{"s", zqvsLmslInit, zqvsLmslInitMr, zqvsLmslInitDlyl, zqvsLmslSetDlyl, zqvsLmsl, zqvsbLmsl, 1e-5});
  checkAgainstNaive(Api<double, double, double>{"d", zqvdLmslInit, zqvdLmslInitMr, zqvdLmslInitDlyl, zqvdLmslSetDlyl, zqvdLmsl, zqvdbLmsl, 1e-13});
  checkAgainstNaive(Api<ZqvCplxS, ZqvCplxS, ZqvCplxS>{"c", zqvcLmslInit, zqvcLmslInitMr, zqvcLmslInitDlyl, zqvcLmslSetDlyl, zqvcLmsl, zqvcbLmsl, 1e-5});
  checkAgainstNaive(Api<ZqvCplxD, ZqvCplxD, ZqvCplxD>{"z", zqvzLmslInit, zqvzLmslInitMr, zqvzLmslInitDlyl, zqvzLmslSetDlyl, zqvzLmsl, zqvzbLmsl, 1e-13});
  checkAgainstNaive(Api<float, ZqvCplxS, ZqvCplxS>{"sc", zqvcLmslInit, zqvcLmslInitMr, zqvsLmslInitDlyl, zqvsLmslSetDlyl, zqvscLmsl, zqvscbLmsl, 1e-5});
  checkAgainstNaive(Api<double, ZqvCplxD, ZqvCplxD>{"dz", zqvzLmslInit, zqvzLmslInitMr, zqvdLmslInitDlyl, zqvdLmslSetDlyl, zqvdzLmsl, zqvdzbLmsl, 1e-13});
}

TEST_F(LmsLow, StepAndLeakRules) {
  // Error 0 with a leak shrinks every tap by (1 - leak) per step.
  double h[3] = {1, -2, 4};
  ZqvLmsTapState ts{};
  zqvdLmslInit(0, h, 3, 0.5f, 0.125f, 0, &ts);
  double line[3];
  ZqvLmsDlyState ds{};
  zqvdLmslInitDlyl(&ts, line, 0, &ds);
  zqvdLmslSetDlyl(&ts, nullptr, &ds);
  EXPECT_EQ(zqvdLmsl(&ts, &ds, 2.0, 0.0), 1.75);  // the leak applies before the output
  for (int i = 1; i < 10; ++i) zqvdLmsl(&ts, &ds, 1.0, 0.0);
  EXPECT_NEAR(h[2], 4 * std::pow(0.875, 10), 1e-14);

  // A step of +0 leaves the taps alone, leak included; a negative step
  // adapts in the float single-sample form only, -0 included.
  struct Case {
    float step;
    bool floatAdapts, doubleAdapts;
  } cases[] = {{0.0f, false, false}, {-0.0f, true, false}, {-0.25f, true, false}, {0.25f, true, true}};
  for (const Case& c : cases) {
    float hs[2] = {1, 1};
    double hd[2] = {1, 1};
    ZqvLmsTapState tss{}, tsd{};
    zqvsLmslInit(0, hs, 2, c.step, 0.5f, 0, &tss);
    zqvdLmslInit(0, hd, 2, c.step, 0.5f, 0, &tsd);
    float ls[2] = {0, 0};
    double ld[2] = {0, 0};
    ZqvLmsDlyState dss{}, dsd{};
    zqvsLmslInitDlyl(&tss, ls, 1, &dss);
    zqvdLmslInitDlyl(&tsd, ld, 1, &dsd);
    zqvsLmsl(&tss, &dss, 1.0f, 1.0f);
    zqvdLmsl(&tsd, &dsd, 1.0, 1.0);
    EXPECT_EQ(hs[0] != 1.0f, c.floatAdapts) << c.step;
    EXPECT_EQ(hd[0] != 1.0, c.doubleAdapts) << c.step;
    EXPECT_EQ(zqvsLmslGetStep(&tss), c.step);
  }
  float hs[1] = {1};
  zqvsLmslInit(0, hs, 1, 1, 0, 0, &ts);
  zqvsLmslSetStep(0.75f, &ts);
  zqvsLmslSetLeak(0.5f, &ts);
  EXPECT_EQ(zqvsLmslGetStep(&ts), 0.75f);
  EXPECT_EQ(zqvsLmslGetLeak(&ts), 0.5f);
  EXPECT_TRUE(reportsAre({}));
}

// A known plant is identified; for complex data only with the conjugated
// regressor.
template <class S, class T>
void checkConvergence(void (*init)(int32_t, T*, int32_t, float, float, int32_t, ZqvLmsTapState*),
                      void (*initDlyl)(const ZqvLmsTapState*, S*, int32_t, ZqvLmsDlyState*),
                      S (*lms)(const ZqvLmsTapState*, ZqvLmsDlyState*, S, S), double tol) {
  const std::vector<Cld> plant = {{0.5L, 0.25L}, {-0.3L, 0.1L}, {0.2L, -0.4L}, {0.1L, 0}};
  std::vector<T> h(4);
  ZqvLmsTapState ts{};
  init(0, h.data(), 4, 0.05f, 0, 0, &ts);
  std::vector<S> line(4);
  ZqvLmsDlyState ds{};
  initDlyl(&ts, line.data(), 1, &ds);
  const auto x = randomValues<S>(4000, 21);
  std::vector<Cld> past(4);
  S err{};
  for (const S& v : x) {
    for (int k = 3; k > 0; --k) past[k] = past[k - 1];
    past[0] = toC(v);
    Cld d = 0;
    for (int k = 0; k < 4; ++k) d += (isCplx<S> ? plant[k] : Cld(plant[k].real(), 0)) * past[k];
    err = fromC<S>(d - toC(lms(&ts, &ds, v, err)));
  }
  for (int k = 0; k < 4; ++k)
    EXPECT_LE(std::abs(toC(h[k]) - (isCplx<S> ? plant[k] : Cld(plant[k].real(), 0))), tol) << k;
}

TEST_F(LmsLow, ConvergesToAKnownPlant) {
  checkConvergence<double, double>(zqvdLmslInit, zqvdLmslInitDlyl, zqvdLmsl, 1e-9);
  checkConvergence<float, float>(zqvsLmslInit, zqvsLmslInitDlyl, zqvsLmsl, 1e-4);
  checkConvergence<ZqvCplxD, ZqvCplxD>(zqvzLmslInit, zqvzLmslInitDlyl, zqvzLmsl, 1e-9);
  checkConvergence<ZqvCplxS, ZqvCplxS>(zqvcLmslInit, zqvcLmslInitDlyl, zqvcLmsl, 1e-4);
}

TEST_F(LmsLow, SixteenBitStepAgainstInt64) {
  std::mt19937 gen(2);
  std::uniform_int_distribution<int> small(-300, 300);
  std::vector<int32_t> h(6);
  for (auto& v : h) v = small(gen) * 10;
  std::vector<int64_t> rh(h.begin(), h.end()), rx(6 + 2);
  ZqvLmsTapState ts{};
  zqvwLmslInit(0, h.data(), 6, 3, 2, &ts);
  EXPECT_EQ(zqvwLmslGetStep(&ts), 3);
  EXPECT_EQ(ts.leak, 0.0f);
  std::vector<int16_t> line(8);
  ZqvLmsDlyState ds{};
  zqvwLmslInitDlyl(&ts, line.data(), &ds);
  EXPECT_EQ(ds.dlyLen, 8);
  EXPECT_EQ(ds.isAdaptive, 1);
  zqvwLmslSetDlyl(&ts, nullptr, &ds);
  int16_t err = 0;
  for (int i = 0; i < 300; ++i) {
    const int16_t x = static_cast<int16_t>(small(gen));
    const int64_t g = int64_t{err} * 3;
    if (g != 0)
      for (int k = 0; k < 6; ++k) rh[k] += rx[k + 2] * g;
    for (int k = 7; k > 0; --k) rx[k] = rx[k - 1];
    rx[0] = x;
    int64_t acc = 0;
    for (int k = 0; k < 6; ++k) acc += rx[k] * rh[k];
    const int16_t want = static_cast<int16_t>((acc + 4096) >> 13);
    const int16_t y = zqvwLmsl(&ts, &ds, x, err);
    ASSERT_EQ(y, want) << i;
    err = static_cast<int16_t>(small(gen) / 10 - y / 64);
  }
  for (int k = 0; k < 6; ++k) EXPECT_EQ(h[k], rh[k]) << k;

  // taps {8192} (1.0): the sample comes back; 4096 rounds up, 4095 down.
  int32_t one[1] = {8192};
  zqvwLmslInit(0, one, 1, 0, 0, &ts);
  int16_t l1[1] = {0};
  zqvwLmslInitDlyl(&ts, l1, &ds);
  EXPECT_EQ(zqvwLmsl(&ts, &ds, 1234, 0), 1234);
  one[0] = 4096;
  EXPECT_EQ(zqvwLmsl(&ts, &ds, 1, 0), 1);
  one[0] = 4095;
  EXPECT_EQ(zqvwLmsl(&ts, &ds, 1, 0), 0);
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(LmsLow, ExchangesOfTapsAndLine) {
  float h[3] = {1, 2, 3};
  ZqvLmsTapState ts{};
  zqvsLmslInit(0, h, 3, 0.1f, 0, 2, &ts);
  float line[5];
  ZqvLmsDlyState ds{};
  zqvsLmslInitDlyl(&ts, line, 1, &ds);
  ASSERT_EQ(ds.dlyLen, 5);
  // In from a separate array, oldest first; the place no value reaches is zero.
  std::fill(line, line + 5, 99.0f);
  const float in[4] = {10, 20, 30, 40};
  zqvsLmslSetDlyl(&ts, in, &ds);
  EXPECT_EQ(std::vector<float>(line, line + 5), (std::vector<float>{40, 30, 20, 10, 0}));
  float out[4] = {};
  zqvsLmslGetDlyl(&ts, &ds, out);
  EXPECT_EQ(std::vector<float>(out, out + 4), std::vector<float>(in, in + 4));
  EXPECT_EQ(ds.dlyReady, 0);
  zqvsLmslSetDlyl(&ts, line, &ds);  // in place: the line goes back in the filter's order
  EXPECT_EQ(std::vector<float>(line, line + 5), (std::vector<float>{10, 20, 30, 40, 0}));
  EXPECT_EQ(ds.dlyReady, 1);
  // In place twice: the second call changes nothing and leaves -3.
  zqvsLmslGetDlyl(&ts, &ds, line);
  const std::vector<float> once(line, line + 5);
  zqvsLmslGetDlyl(&ts, &ds, line);
  EXPECT_EQ(std::vector<float>(line, line + 5), once);
  EXPECT_EQ(zqvGetErrStatus(), -3);
  zqvSetErrStatus(0);
  zqvsLmslSetDlyl(&ts, nullptr, &ds);
  EXPECT_EQ(std::vector<float>(line, line + 5), std::vector<float>(5, 0.0f));

  // GetTaps into the array itself copies nothing and still marks the taps out.
  zqvsLmslGetTaps(&ts, h);
  EXPECT_EQ(ts.tapsReady, 0);
  EXPECT_EQ(h[2], 3.0f);
  zqvsLmslSetTaps(nullptr, &ts);
  EXPECT_EQ(std::vector<float>(h, h + 3), std::vector<float>(3, 0.0f));
  EXPECT_EQ(ts.tapsReady, 1);
  const float fresh[3] = {4, 5, 6};
  zqvsLmslSetTaps(fresh, &ts);
  float got[3];
  zqvsLmslGetTaps(&ts, got);
  EXPECT_EQ(std::vector<float>(got, got + 3), std::vector<float>(fresh, fresh + 3));
  EXPECT_TRUE(reportsAre({}));
}

// The filter-only steps filter as the FIR does and keep the whole line in
// order, so that adapting steps after them see the right history.
TEST_F(LmsLow, FilterOnlyStepsKeepTheWholeLine) {
  const auto taps0 = randomValues<double>(4, 30);
  auto h = taps0;
  ZqvLmsTapState ts{};
  zqvdLmslInit(0, h.data(), 4, 0.1f, 0, 2, &ts);
  std::vector<double> line(6);
  ZqvLmsDlyState ds{};
  zqvdLmslInitDlyl(&ts, line.data(), 1, &ds);
  zqvdLmslSetDlyl(&ts, nullptr, &ds);
  NaiveLms ref{wide(taps0), std::vector<Cld>(6), 0.1f, 0, 2, false};
  const auto x = randomValues<double>(40, 31);
  for (int i = 0; i < 10; ++i) ASSERT_NEAR(zqvdLmslNa(&ts, &ds, x[i]), static_cast<double>(ref.push(x[i]).real()), 1e-14);
  std::vector<double> out(10);
  EXPECT_EQ(zqvdbLmslNa(&ts, &ds, x.data() + 10, out.data(), 10), 0);
  for (int i = 0; i < 10; ++i) ASSERT_NEAR(out[i], static_cast<double>(ref.push(x[10 + i]).real()), 1e-14) << i;
  for (int k = 0; k < 6; ++k) ASSERT_EQ(line[k], static_cast<double>(ref.x[k].real())) << k;
  // An adapting step now reads the history at the error delay.
  ref.adapt(0.5L, 0);
  ASSERT_NEAR(zqvdLmsl(&ts, &ds, x[20], 0.5), static_cast<double>(ref.push(x[20]).real()), 1e-14);

  // Multi-rate: one output per D inputs, at input downPhase of each block.
  auto hm = taps0;
  zqvdLmslInitMr(0, hm.data(), 4, 0, 0, 0, 2, 1, &ts);
  std::vector<double> lm(6);
  zqvdLmslInitDlyl(&ts, lm.data(), 0, &ds);
  zqvdLmslSetDlyl(&ts, nullptr, &ds);
  NaiveLms refM{wide(taps0), std::vector<Cld>(6), 0, 0, 0, false};
  std::vector<double> outM(8);
  EXPECT_EQ(zqvdbLmslNa(&ts, &ds, x.data(), outM.data(), 8), 0);
  for (int i = 0; i < 16; ++i) {
    const Cld y = refM.push(x[i]);
    if (i % 2 == 1) { ASSERT_NEAR(outM[i / 2], static_cast<double>(y.real()), 1e-14) << i; }
  }
  // Mixed letters go to the matching FIR member.
  ZqvCplxS hc[2] = {{1, 1}, {0, 2}};
  zqvcLmslInit(0, hc, 2, 0, 0, 0, &ts);
  float ls[2];
  zqvsLmslInitDlyl(&ts, ls, 0, &ds);
  zqvsLmslSetDlyl(&ts, nullptr, &ds);
  zqvscLmslNa(&ts, &ds, 2.0f);
  const ZqvCplxS y = zqvscLmslNa(&ts, &ds, 3.0f);
  EXPECT_TRUE(sameBits(y, ZqvCplxS{3, 7}));
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(LmsLow, ReportsOfEveryCheck) {
  static float h[2] = {1, 1}, line[4], buf[4];
  static ZqvLmsTapState ts{};
  static ZqvLmsDlyState ds{}, plain{};
  zqvsLmslInit(0, h, 2, 0.1f, 0, 2, &ts);
  zqvsLmslInitDlyl(&ts, line, 1, &ds);
  zqvsLmslInitDlyl(&ts, line, 0, &plain);  // no room for the error delay
  const std::vector<ReportRow> cases = {
      {"Init taps", [] { zqvsLmslInit(0, nullptr, 0, 0, 0, -1, nullptr); }, {{-5, "zqvsLmslInit", kNull, kMod}}},
      {"Init state", [] { zqvdLmslInit(0, reinterpret_cast<double*>(buf), 1, 0, 0, 0, nullptr); },
       {{-5, "zqvdLmslInit", kNull, kMod}}},
      {"Init length", [] { ZqvLmsTapState t{}; zqvcLmslInit(0, reinterpret_cast<ZqvCplxS*>(buf), 0, 0, 0, -1, &t); },
       {{-5, "zqvcLmslInit", "Invalid buffer length", kMod}}},
      {"Init errDly", [] { ZqvLmsTapState t{}; zqvzLmslInit(0, reinterpret_cast<ZqvCplxD*>(buf), 1, 0, 0, -1, &t); },
       {{-5, "zqvzLmslInit", "Invalid error delay value", kMod}}},
      {"InitMr phase", [] { ZqvLmsTapState t{}; zqvsLmslInitMr(0, buf, 1, 0, 0, 0, 2, -1, &t); },
       {{-5, "zqvsLmslInitMr", "Invalid factor value", kMod}}},
      {"InitMr factor", [] { ZqvLmsTapState t{}; zqvsLmslInitMr(0, buf, 1, 0, 0, 0, 2, 2, &t); },
       {{-5, "zqvsLmslInitMr", "Invalid factor value", kMod}}},
      {"wInit", [] { ZqvLmsTapState t{}; zqvwLmslInit(0, reinterpret_cast<int32_t*>(buf), 1, 0, -2, &t); },
       {{-5, "zqvwLmslInit", "Invalid error delay value", kMod}}},
      {"InitDlyl", [] { zqvsLmslInitDlyl(nullptr, nullptr, 1, nullptr); }, {{-5, "zqvsLmslInitDlyl", kNull, kMod}}},
      {"InitDlyl line", [] { ZqvLmsDlyState d{}; zqvwLmslInitDlyl(&ts, nullptr, &d); }, {{-5, "zqvwLmslInitDlyl", kNull, kMod}}},
      {"GetStep", [] { EXPECT_EQ(zqvsLmslGetStep(nullptr), 0.0f); }, {{-5, "zqvsLmslGetStep", kNull, kMod}}},
      {"SetLeak", [] { zqvsLmslSetLeak(1, nullptr); }, {{-5, "zqvsLmslSetLeak", kNull, kMod}}},
      {"wGetStep", [] { EXPECT_EQ(zqvwLmslGetStep(nullptr), 0); }, {{-5, "zqvwLmslGetStep", kNull, kMod}}},
      {"GetTaps", [] { zqvdLmslGetTaps(&ts, nullptr); }, {{-5, "zqvdLmslGetTaps", kNull, kMod}}},
      {"SetTaps", [] { zqvcLmslSetTaps(nullptr, nullptr); }, {{-5, "zqvcLmslSetTaps", kNull, kMod}}},
      {"wSetTaps unbound", [] { ZqvLmsTapState t{}; zqvwLmslSetTaps(nullptr, &t); }, {{-5, "zqvwLmslSetTaps", kNull, kMod}}},
      {"GetDlyl", [] { zqvzLmslGetDlyl(&ts, &ds, nullptr); }, {{-5, "zqvzLmslGetDlyl", kNull, kMod}}},
      {"SetDlyl", [] { zqvsLmslSetDlyl(&ts, buf, nullptr); }, {{-5, "zqvsLmslSetDlyl", kNull, kMod}}},
      {"Lmsl", [] { EXPECT_EQ(zqvsLmsl(nullptr, nullptr, 1, 1), 0.0f); }, {{-5, "zqvsLmsl", kNull, kMod}}},
      {"Lmsl short line", [] { EXPECT_EQ(zqvsLmsl(&ts, &plain, 1, 1), 0.0f); },
       {{-5, "zqvsLmsl", "Invalid buffer length", kMod}}},
      {"bLmsl", [] { zqvsbLmsl(&ts, &ds, nullptr, 1); }, {{-5, "zqvsbLmsl", kNull, kMod}}},
      {"LmslNa", [] { zqvcsLmslNa(&ts, nullptr, {1, 1}); }, {{-5, "zqvcsLmslNa", kNull, kMod}}},
      {"bLmslNa", [] { EXPECT_EQ(zqvsbLmslNa(&ts, &ds, buf, buf, 0), -5); },
       {{-5, "zqvsbLmslNa", "Invalid buffer length", kMod}}},
      {"bLmslNa out", [] { zqvzdbLmslNa(&ts, &ds, nullptr, nullptr, 1); }, {{-5, "zqvzdbLmslNa", kNull, kMod}}},
      {"wLmsl", [] { EXPECT_EQ(zqvwLmsl(&ts, nullptr, 1, 1), 0); }, {{-5, "zqvwLmsl", kNull, kMod}}},
  };
  expectReportRows(cases, std::nullopt);
}

// None of the routines looks at the status: an earlier failure stops nothing.
TEST_F(LmsLow, StatusIsNotRead) {
  float h[1] = {2};
  ZqvLmsTapState ts{};
  zqvSetErrStatus(-5);
  zqvsLmslInit(0, h, 1, 0, 0, 0, &ts);
  float line[1];
  ZqvLmsDlyState ds{};
  zqvsLmslInitDlyl(&ts, line, 1, &ds);
  zqvsLmslSetDlyl(&ts, nullptr, &ds);
  EXPECT_EQ(zqvsLmsl(&ts, &ds, 3, 0), 6.0f);
  EXPECT_EQ(zqvGetErrStatus(), -5);
  EXPECT_TRUE(reportsAre({}));
}

}  // namespace
