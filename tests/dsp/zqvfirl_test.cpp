// Low-level FIR: every member against direct sums in long double (single rate
// and the up-sample / filter / down-sample definition), block and
// single-sample calls in any split giving the same bits, the state routines'
// orders and modes, the 16-bit forms, and every report with its line.
#include <algorithm>
#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "zqvfir_support.h"

namespace {

using namespace firtest;
using Firl = ZqvTest;

template <class X, class H, class O>
struct Member {
  std::string name;
  int32_t (*init)(H*, int32_t, ZqvFirTapState*);
  int32_t (*initMr)(H*, int32_t, int32_t, int32_t, int32_t, int32_t, ZqvFirTapState*);
  int32_t (*initDlyl)(const ZqvFirTapState*, X*, ZqvFirDlyState*);
  void (*setDlyl)(const ZqvFirTapState*, const X*, ZqvFirDlyState*);
  void (*getDlyl)(const ZqvFirTapState*, ZqvFirDlyState*, X*);
  O (*one)(const ZqvFirTapState*, ZqvFirDlyState*, X);
  int32_t (*block)(const ZqvFirTapState*, ZqvFirDlyState*, const X*, O*, int32_t);
  int32_t oneLine, blockLine;
};

const Member<float, float, float> kS{"s", zqvsFirlInit, zqvsFirlInitMr, zqvsFirlInitDlyl, zqvsFirlSetDlyl,
                                     zqvsFirlGetDlyl, zqvsFirl, zqvsbFirl, 285, 524};
const Member<ZqvCplxS, ZqvCplxS, ZqvCplxS> kC{"c", zqvcFirlInit, zqvcFirlInitMr, zqvcFirlInitDlyl, zqvcFirlSetDlyl,
                                              zqvcFirlGetDlyl, zqvcFirl, zqvcbFirl, 301, 550};
const Member<float, ZqvCplxS, ZqvCplxS> kSC{"sc", zqvcFirlInit, zqvcFirlInitMr, zqvsFirlInitDlyl, zqvsFirlSetDlyl,
                                            zqvsFirlGetDlyl, zqvscFirl, zqvscbFirl, 305, 557};
const Member<ZqvCplxS, float, ZqvCplxS> kCS{"cs", zqvsFirlInit, zqvsFirlInitMr, zqvcFirlInitDlyl, zqvcFirlSetDlyl,
                                            zqvcFirlGetDlyl, zqvcsFirl, zqvcsbFirl, 309, 564};
const Member<double, double, double> kD{"d", zqvdFirlInit, zqvdFirlInitMr, zqvdFirlInitDlyl, zqvdFirlSetDlyl,
                                        zqvdFirlGetDlyl, zqvdFirl, zqvdbFirl, 313, 571};
const Member<ZqvCplxD, ZqvCplxD, ZqvCplxD> kZ{"z", zqvzFirlInit, zqvzFirlInitMr, zqvzFirlInitDlyl, zqvzFirlSetDlyl,
                                              zqvzFirlGetDlyl, zqvzFirl, zqvzbFirl, 317, 578};
const Member<double, ZqvCplxD, ZqvCplxD> kDZ{"dz", zqvzFirlInit, zqvzFirlInitMr, zqvdFirlInitDlyl, zqvdFirlSetDlyl,
                                             zqvdFirlGetDlyl, zqvdzFirl, zqvdzbFirl, 325, 585};
const Member<ZqvCplxD, double, ZqvCplxD> kZD{"zd", zqvdFirlInit, zqvdFirlInitMr, zqvzFirlInitDlyl, zqvzFirlSetDlyl,
                                             zqvzFirlGetDlyl, zqvzdFirl, zqvzdbFirl, 321, 592};

// Runs body once per member.
#define FOR_EACH_MEMBER(body) \
  do {                        \
    body(kS);                 \
    body(kC);                 \
    body(kSC);                \
    body(kCS);                \
    body(kD);                 \
    body(kZ);                 \
    body(kDZ);                \
    body(kZD);                \
  } while (0)

template <class T>
LD epsilonOf() {
  if constexpr (std::is_same_v<T, float> || std::is_same_v<T, ZqvCplxS>) return std::numeric_limits<float>::epsilon();
  else return std::numeric_limits<double>::epsilon();
}

// A filter of one member with its own copies of the taps and delay line.
template <class X, class H, class O>
struct Filter {
  std::vector<H> taps;
  std::vector<X> dly;
  ZqvFirTapState ts{};
  ZqvFirDlyState ds{};
  Filter(const Member<X, H, O>& m, std::vector<H> h, const std::vector<X>& past, int32_t U = 1, int32_t upPhase = 0,
         int32_t D = 1, int32_t downPhase = 0)
      : taps(std::move(h)) {
    EXPECT_EQ(m.initMr(taps.data(), int32_t(taps.size()), U, upPhase, D, downPhase, &ts), 1);
    dly.assign(size_t((taps.size() + U - 1) / U), X{});
    m.initDlyl(&ts, dly.data(), &ds);
    m.setDlyl(&ts, past.data(), &ds);
  }
  std::vector<X> history(const Member<X, H, O>& m) {
    const size_t n = ts.isMultiRate ? dly.size() : dly.size() - 1;
    std::vector<X> out(n + 1);
    m.getDlyl(&ts, &ds, out.data());
    m.setDlyl(&ts, out.data(), &ds);
    out.resize(n);
    return out;
  }
};

template <class X, class H, class O>
void singleRateMatchesSumsInAnySplit(const Member<X, H, O>& m) {
  SCOPED_TRACE(m.name);
  for (int32_t tapsLen : {1, 2, 5, 33, 129}) {
    SCOPED_TRACE(tapsLen);
    const auto h = data<H>(size_t(tapsLen), 1 + tapsLen);
    const auto past = data<X>(size_t(tapsLen - 1), 2 + tapsLen);
    const auto in = data<X>(400, 3 + tapsLen);
    const Stream x = stream(past, in);

    Filter<X, H, O> one(m, h, past);
    std::vector<O> byOne;
    for (const X& v : in) byOne.push_back(m.one(&one.ts, &one.ds, v));
    EXPECT_TRUE(near(byOne, convolve(h, x, int64_t(in.size())), 4 * epsilonOf<O>() * magnitudeScale(h, x)));

    Filter<X, H, O> block(m, h, past);
    std::vector<O> byBlock(in.size());
    EXPECT_EQ(m.block(&block.ts, &block.ds, in.data(), byBlock.data(), int32_t(in.size())), 0);
    EXPECT_TRUE(identical(byBlock, byOne));

    // Blocks shorter and longer than the delay line, single samples between.
    Filter<X, H, O> mixed(m, h, past);
    std::vector<O> byMix(in.size());
    std::mt19937 gen(tapsLen);
    for (size_t at = 0; at < in.size();) {
      const size_t len = std::min<size_t>(in.size() - at, gen() % 3 == 0 ? 1 : 1 + gen() % 150);
      if (len == 1 && gen() % 2) byMix[at] = m.one(&mixed.ts, &mixed.ds, in[at]);
      else m.block(&mixed.ts, &mixed.ds, in.data() + at, byMix.data() + at, int32_t(len));
      at += len;
    }
    EXPECT_TRUE(identical(byMix, byOne));

    const std::vector<X> last(in.end() - (tapsLen - 1), in.end());
    EXPECT_TRUE(identical(block.history(m), last));
    EXPECT_TRUE(identical(mixed.history(m), last));
  }
}

TEST_F(Firl, SingleRateMatchesDirectSumsAndAnySplitGivesTheSameBits) {
  FOR_EACH_MEMBER(singleRateMatchesSumsInAnySplit);
  EXPECT_TRUE(recordedReports().empty());
}

struct RateCase {
  int32_t U, upPhase, D, downPhase, tapsLen;
};
const RateCase kRateCases[] = {{2, 0, 1, 0, 4}, {1, 0, 2, 1, 7}, {3, 1, 2, 1, 10}, {2, 1, 3, 2, 5},
                               {5, 4, 1, 0, 3}, {1, 0, 3, 0, 1}, {4, 2, 3, 1, 17}, {3, 2, 5, 4, 40}};

template <class X, class H, class O>
void multiRateMatchesResampling(const Member<X, H, O>& m) {
  SCOPED_TRACE(m.name);
  for (const RateCase& rc : kRateCases) {
    SCOPED_TRACE(testing::Message() << rc.U << "/" << rc.upPhase << " " << rc.D << "/" << rc.downPhase << " taps "
                                    << rc.tapsLen);
    const auto h = data<H>(size_t(rc.tapsLen), 7 + rc.tapsLen);
    const auto past = data<X>(size_t((rc.tapsLen + rc.U - 1) / rc.U), 8);
    const int32_t n1 = 7, n2 = 13;
    const auto in = data<X>(size_t((n1 + n2) * rc.D), 9);
    const Stream x = stream(past, in);
    const auto want = resample(h, x, rc.U, rc.upPhase, rc.D, rc.downPhase, int64_t(n1 + n2) * rc.U);

    Filter<X, H, O> twice(m, h, past, rc.U, rc.upPhase, rc.D, rc.downPhase);
    std::vector<O> out(size_t((n1 + n2) * rc.U));
    m.block(&twice.ts, &twice.ds, in.data(), out.data(), n1);
    m.block(&twice.ts, &twice.ds, in.data() + n1 * rc.D, out.data() + n1 * rc.U, n2);
    EXPECT_TRUE(near(out, want, 4 * epsilonOf<O>() * magnitudeScale(h, x)));

    Filter<X, H, O> once(m, h, past, rc.U, rc.upPhase, rc.D, rc.downPhase);
    std::vector<O> whole(out.size());
    m.block(&once.ts, &once.ds, in.data(), whole.data(), n1 + n2);
    EXPECT_TRUE(identical(whole, out));
    EXPECT_TRUE(identical(once.history(m), std::vector<X>(in.end() - int64_t(past.size()), in.end())));
  }
}

TEST_F(Firl, MultiRateMatchesUpSampleFilterDownSample) {
  FOR_EACH_MEMBER(multiRateMatchesResampling);
  EXPECT_TRUE(recordedReports().empty());
}

// Up by 2 with four taps: each input gives h0 x[i] + h2 x[i-1], then h1 x[i] + h3 x[i-1].
TEST_F(Firl, UpByTwoInterleavesTheTwoSubFilters) {
  std::vector<float> h{1, 10, 100, 1000};
  float dly[2] = {};
  ZqvFirTapState ts;
  ZqvFirDlyState ds;
  ASSERT_EQ(zqvsFirlInitMr(h.data(), 4, 2, 0, 1, 0, &ts), 1);
  EXPECT_EQ(zqvsFirlInitDlyl(&ts, dly, &ds), 2);
  zqvsFirlSetDlyl(&ts, nullptr, &ds);
  const float in[3] = {1, 2, 3};
  float out[6];
  zqvsbFirl(&ts, &ds, in, out, 3);
  const float want[6] = {1, 10, 2 + 100, 20 + 1000, 3 + 200, 30 + 2000};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(out[i], want[i]) << i;
}

TEST_F(Firl, DownByTwoKeepsTheOutputsAtTheDownPhase) {
  const auto h = data<float>(6, 4, 9);
  const auto in = data<float>(40, 5, 9);
  std::vector<float> hs = h, hd = h, dlyS(6), dlyD(6), full(40), kept(20);
  ZqvFirTapState tsS, tsD;
  ZqvFirDlyState dsS, dsD;
  zqvsFirlInit(hs.data(), 6, &tsS);
  zqvsFirlInitMr(hd.data(), 6, 1, 0, 2, 1, &tsD);
  zqvsFirlInitDlyl(&tsS, dlyS.data(), &dsS);
  zqvsFirlInitDlyl(&tsD, dlyD.data(), &dsD);
  zqvsFirlSetDlyl(&tsS, nullptr, &dsS);
  zqvsFirlSetDlyl(&tsD, nullptr, &dsD);
  zqvsbFirl(&tsS, &dsS, in.data(), full.data(), 40);
  zqvsbFirl(&tsD, &dsD, in.data(), kept.data(), 20);
  for (int i = 0; i < 20; ++i) EXPECT_EQ(kept[i], full[2 * i + 1]) << i;
}

// ---- State routines

TEST_F(Firl, InitResultsAndTapsAreTheCallersArray) {
  float h[5] = {1, 2, 3, 4, 5};
  ZqvFirTapState ts;
  EXPECT_EQ(zqvsFirlInit(h, 5, &ts), 1);
  EXPECT_EQ(ts.taps, h);
  EXPECT_EQ(ts.filterMode, 1);
  EXPECT_EQ(ts.isMultiRate, 0);
  // Success is 1, not the taps pointer cut to 32 bits.
  EXPECT_EQ(zqvsFirlInitMr(h, 5, 3, 2, 2, 1, &ts), 1);
  EXPECT_EQ(ts.isMultiRate, 1);
  EXPECT_EQ(zqvsFirlInitMr(h, 5, 1, 0, 1, 0, &ts), 1);
  EXPECT_EQ(ts.isMultiRate, 0);

  float dly[5];
  ZqvFirDlyState ds;
  zqvsFirlInit(h, 5, &ts);
  EXPECT_EQ(zqvsFirlInitDlyl(&ts, dly, &ds), 0);  // single rate answers 0
  EXPECT_EQ(ds.dlyLen, 5);
  EXPECT_EQ(ds.filterMode, 0);
  zqvsFirlInitMr(h, 5, 3, 0, 1, 0, &ts);
  EXPECT_EQ(zqvsFirlInitDlyl(&ts, dly, &ds), 2);
  EXPECT_EQ(ds.dlyLen, 2);
  EXPECT_TRUE(recordedReports().empty());
}

TEST_F(Firl, SetAndGetTapsCopyInNaturalOrderAndSwitchTheMode) {
  float own[4] = {1, 2, 3, 4};
  ZqvFirTapState ts;
  zqvsFirlInit(own, 4, &ts);
  float out[4] = {};
  zqvsFirlGetTaps(&ts, out);
  EXPECT_EQ(ts.filterMode, 0);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(out[i], own[i]);
  const float fresh[4] = {5, 6, 7, 8};
  EXPECT_EQ(zqvsFirlSetTaps(fresh, &ts), 4);
  EXPECT_EQ(ts.filterMode, 1);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(own[i], fresh[i]);
  EXPECT_EQ(zqvsFirlSetTaps(own, &ts), 4);
  EXPECT_EQ(zqvsFirlSetTaps(nullptr, &ts), 0);
  for (float v : own) EXPECT_EQ(v, 0.0f);

  int16_t w[3] = {1, 2, 3};
  zqvwFirlInit(w, 3, &ts);
  const int16_t w2[3] = {4, 5, 6};
  EXPECT_EQ(zqvwFirlSetTaps(w2, &ts), 6);  // bytes
  EXPECT_EQ(w[2], 6);
  // A byte count beyond the 32-bit result saturates instead of wrapping
  // negative (the state's own array is not copied, so nothing is read).
  zqvwFirlInit(w, std::numeric_limits<int32_t>::max(), &ts);
  EXPECT_EQ(zqvwFirlSetTaps(w, &ts), std::numeric_limits<int32_t>::max());
  EXPECT_TRUE(recordedReports().empty());
}

TEST_F(Firl, DelayLineComesBackInTheCallersOrder) {
  float h[5] = {1, 0, 0, 0, 0};
  ZqvFirTapState ts;
  zqvsFirlInit(h, 5, &ts);
  float dly[5] = {};
  ZqvFirDlyState ds;
  zqvsFirlInitDlyl(&ts, dly, &ds);
  const float past[4] = {1, 2, 3, 4};  // oldest first
  zqvsFirlSetDlyl(&ts, past, &ds);
  EXPECT_EQ(ds.filterMode, 1);
  EXPECT_EQ(dly[0], 4.0f);  // newest first inside
  EXPECT_EQ(dly[3], 1.0f);
  float back[4] = {9, 9, 9, 9};
  zqvsFirlGetDlyl(&ts, &ds, back);
  EXPECT_EQ(ds.filterMode, 0);
  for (int i = 0; i < 4; ++i) EXPECT_EQ(back[i], past[i]);
  // Not in filter mode: nothing is written.
  float untouched[4] = {7, 7, 7, 7};
  zqvsFirlGetDlyl(&ts, &ds, untouched);
  for (float v : untouched) EXPECT_EQ(v, 7.0f);

  // The state's own array: reversed in place on the way out and back in;
  // setting it again while in filter mode changes nothing.
  zqvsFirlSetDlyl(&ts, past, &ds);
  zqvsFirlGetDlyl(&ts, &ds, dly);
  EXPECT_EQ(dly[0], 1.0f);
  EXPECT_EQ(dly[3], 4.0f);
  zqvsFirlSetDlyl(&ts, dly, &ds);
  EXPECT_EQ(dly[0], 4.0f);
  zqvsFirlSetDlyl(&ts, dly, &ds);
  EXPECT_EQ(dly[0], 4.0f);
  EXPECT_EQ(dly[3], 1.0f);

  zqvsFirlSetDlyl(&ts, nullptr, &ds);
  for (float v : dly) EXPECT_EQ(v, 0.0f);
  EXPECT_TRUE(recordedReports().empty());
}

TEST_F(Firl, OneTapMovesNoHistory) {
  float h[1] = {3};
  float dly[1] = {5};
  ZqvFirTapState ts;
  ZqvFirDlyState ds;
  zqvsFirlInit(h, 1, &ts);
  zqvsFirlInitDlyl(&ts, dly, &ds);
  const float past[1] = {42};
  zqvsFirlSetDlyl(&ts, past, &ds);
  EXPECT_EQ(dly[0], 5.0f);
  const float in[3] = {1, 2, 3};
  float out[3];
  zqvsbFirl(&ts, &ds, in, out, 3);
  EXPECT_EQ(out[0], 3.0f);
  EXPECT_EQ(out[2], 9.0f);
  EXPECT_EQ(dly[0], 3.0f);
}

TEST_F(Firl, BlockFormsNeedFilterModeOnBothStates) {
  float h[3] = {1, 2, 3}, dly[3] = {}, out[4];
  const float in[4] = {1, 1, 1, 1};
  ZqvFirTapState ts;
  ZqvFirDlyState ds;
  zqvsFirlInit(h, 3, &ts);
  zqvsFirlInitDlyl(&ts, dly, &ds);
  EXPECT_EQ(zqvsbFirl(&ts, &ds, in, out, 4), ZQV_BAD_ARGUMENT);
  EXPECT_TRUE(reportsAre({{ZQV_BAD_ARGUMENT, "zqvsbFirl", "Not filter mode", "zqvfirl"}}));
  clearReports();
  zqvsFirlSetDlyl(&ts, nullptr, &ds);
  EXPECT_EQ(zqvsbFirl(&ts, &ds, in, out, 4), 0);
  EXPECT_EQ(out[3], 6.0f);
  float got[3];
  zqvsFirlGetTaps(&ts, got);
  EXPECT_EQ(zqvsbFirl(&ts, &ds, in, out, 4), ZQV_BAD_ARGUMENT);
  zqvsFirlSetTaps(got, &ts);
  EXPECT_EQ(zqvsbFirl(&ts, &ds, in, out, 4), 0);
  // The single-sample form does not look at the modes.
  zqvsFirlGetTaps(&ts, got);
  EXPECT_EQ(zqvsFirl(&ts, &ds, 1.0f), 6.0f);
  EXPECT_EQ(recordedReports().size(), 1u);
}

TEST_F(Firl, FiltersNeitherReadNorClearTheStatus) {
  float h[2] = {1, 1}, dly[2] = {};
  ZqvFirTapState ts;
  ZqvFirDlyState ds;
  zqvSetErrStatus(ZQV_BAD_ARGUMENT);
  EXPECT_EQ(zqvsFirlInit(h, 2, &ts), 1);
  zqvsFirlInitDlyl(&ts, dly, &ds);
  zqvsFirlSetDlyl(&ts, nullptr, &ds);
  const float in[3] = {1, 2, 3};
  float out[3] = {};
  zqvsbFirl(&ts, &ds, in, out, 3);
  EXPECT_EQ(out[2], 5.0f);
  EXPECT_EQ(zqvsFirl(&ts, &ds, 4.0f), 7.0f);
  EXPECT_EQ(zqvGetErrStatus(), ZQV_BAD_ARGUMENT);
  zqvSetErrStatus(0);
  zqvsFirl(&ts, &ds, 4.0f);
  EXPECT_EQ(zqvGetErrStatus(), 0);
}

// ---- 16-bit forms

int16_t low16(int64_t v) { return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(v))); }

TEST_F(Firl, SixteenBitSingleSampleWrapsItsSumAndAppliesOnlyAFixedShift) {
  int16_t h[3] = {32767, 32767, -32768};
  int16_t dly[3] = {};
  ZqvFirTapState ts;
  ZqvFirDlyState ds;
  zqvwFirlInit(h, 3, &ts);
  zqvwFirlInitDlyl(&ts, dly, &ds);
  zqvwFirlSetDlyl(&ts, nullptr, &ds);
  const int16_t in[4] = {32767, 32767, -32768, 12345};
  struct Case {
    int32_t mode, factor;
  };
  for (const Case c : {Case{0, 0}, Case{1, 0}, Case{4, 0}, Case{2, 16}, Case{3, 4}, Case{2, -3}}) {
    SCOPED_TRACE(testing::Message() << c.mode << " " << c.factor);
    zqvwFirlSetDlyl(&ts, nullptr, &ds);
    for (int i = 0; i < 4; ++i) {
      int64_t sum = 0;
      for (int j = 0; j < 3 && i - j >= 0; ++j) sum += int64_t{h[j]} * in[i - j];
      const int32_t wrapped = static_cast<int32_t>(static_cast<uint32_t>(sum));
      int16_t want = low16(wrapped);
      if (c.mode == 2) want = c.factor > 0 ? low16(wrapped >> c.factor) : low16(int64_t{wrapped} << -c.factor);
      if (c.mode == 3) want = static_cast<int16_t>(std::clamp<int32_t>(wrapped >> c.factor, -32768, 32767));
      int32_t factor = c.factor;
      EXPECT_EQ(zqvwFirl(&ts, &ds, in[i], c.mode, &factor), want) << i;
    }
  }
  EXPECT_TRUE(recordedReports().empty());
}

TEST_F(Firl, SixteenBitBlockGoesThroughFloatAndScalesTheOutputs) {
  for (const RateCase& rc : {RateCase{1, 0, 1, 0, 9}, RateCase{3, 1, 2, 1, 10}, RateCase{1, 0, 2, 1, 7}}) {
    SCOPED_TRACE(rc.tapsLen);
    const auto h = data<int16_t>(size_t(rc.tapsLen), 11, 100);
    const bool single = rc.U == 1 && rc.D == 1;
    const auto past = data<int16_t>(size_t(single ? rc.tapsLen - 1 : (rc.tapsLen + rc.U - 1) / rc.U), 12, 1000);
    const int32_t n = 50;
    const auto in = data<int16_t>(size_t(n * rc.D), 13, 1000);
    const auto want = resample(h, stream(past, in), rc.U, rc.upPhase, rc.D, rc.downPhase, int64_t(n) * rc.U);
    for (int32_t mode : {0, 1, 4}) {
      std::vector<int16_t> taps = h, dly(past.size() + single);
      ZqvFirTapState ts;
      ZqvFirDlyState ds;
      zqvwFirlInitMr(taps.data(), rc.tapsLen, rc.U, rc.upPhase, rc.D, rc.downPhase, &ts);
      zqvwFirlInitDlyl(&ts, dly.data(), &ds);
      zqvwFirlSetDlyl(&ts, past.data(), &ds);
      std::vector<int16_t> out(size_t(n * rc.U));
      int32_t factor = 99;
      EXPECT_EQ(zqvwbFirl(&ts, &ds, in.data(), out.data(), n, mode, &factor), 0);
      // Every sum is exact in float; the automatic shift brings the largest under 2^15.
      LD largest = 0;
      for (const CL& v : want) largest = std::max(largest, std::fabs(v.real()));
      const int shift = largest < 32768 ? 0 : int(std::floor(std::log2(largest))) - 14;
      for (size_t i = 0; i < out.size(); ++i) {
        const int64_t sum = int64_t(want[i].real());
        int16_t expect = low16(sum);
        if (mode == 1) expect = int16_t(std::clamp<int64_t>(sum, -32768, 32767));
        if (mode == 4) expect = low16(int64_t(std::trunc(LD(sum) / std::ldexp(1.0L, shift))));
        ASSERT_EQ(out[i], expect) << "mode " << mode << " output " << i;
      }
      if (mode == 4) { EXPECT_EQ(factor, shift); }
      // The states still describe the caller's arrays, which hold the newest inputs.
      EXPECT_EQ(ts.taps, taps.data());
      EXPECT_EQ(ds.dlyl, dly.data());
      EXPECT_EQ(taps, h);
      EXPECT_EQ(dly[0], in.back());
    }
  }
  EXPECT_TRUE(recordedReports().empty());
}

// ---- Reports

template <class T>
struct StateFns {
  std::string L;
  int32_t (*init)(T*, int32_t, ZqvFirTapState*);
  int32_t (*initMr)(T*, int32_t, int32_t, int32_t, int32_t, int32_t, ZqvFirTapState*);
  int32_t (*initDlyl)(const ZqvFirTapState*, T*, ZqvFirDlyState*);
  int32_t (*setTaps)(const T*, ZqvFirTapState*);
  void (*getTaps)(ZqvFirTapState*, T*);
  void (*setDlyl)(const ZqvFirTapState*, const T*, ZqvFirDlyState*);
  void (*getDlyl)(const ZqvFirTapState*, ZqvFirDlyState*, T*);
  int32_t lines[7];
};

template <class T>
void addStateRows(std::vector<ReportRow>& rows, const StateFns<T>& f) {
  static T arr[8];
  static ZqvFirTapState ts;
  static ZqvFirDlyState ds;
  static float h[8];
  zqvsFirlInit(h, 8, &ts);
  constexpr int32_t B = ZQV_BAD_ARGUMENT;
  const std::string p = "zqv" + f.L + "Firl";
  const char* nb = "Null buffer pointer";
  const int32_t* ln = f.lines;
  rows.insert(rows.end(), {
      {"init taps", [f] { f.init(nullptr, 3, &ts); }, {{B, p + "Init", nb, "zqvfirl", ln[0]}}},
      {"init state", [f] { f.init(arr, 3, nullptr); }, {{B, p + "Init", nb, "zqvfirl", ln[0]}}},
      {"init length", [f] { f.init(arr, 0, &ts); }, {{B, p + "Init", "Invalid array length", "zqvfirl", ln[0]}}},
      {"initMr taps", [f] { f.initMr(nullptr, 3, 1, 0, 1, 0, &ts); }, {{B, p + "InitMr", nb, "zqvfirl", ln[1]}}},
      {"initMr state", [f] { f.initMr(arr, 3, 1, 0, 1, 0, nullptr); }, {{B, p + "InitMr", nb, "zqvfirl", ln[1]}}},
      {"initMr length", [f] { f.initMr(arr, 0, 1, 0, 1, 0, &ts); },
       {{B, p + "InitMr", "Invalid array length", "zqvfirl", ln[1]}}},
      {"initMr up phase", [f] { f.initMr(arr, 3, 2, -1, 1, 0, &ts); },
       {{B, p + "InitMr", "Invalid phase value", "zqvfirl", ln[1]}}},
      {"initMr down phase", [f] { f.initMr(arr, 3, 1, 0, 2, -1, &ts); },
       {{B, p + "InitMr", "Invalid phase value", "zqvfirl", ln[1]}}},
      {"initMr up factor", [f] { f.initMr(arr, 3, 2, 2, 1, 0, &ts); },
       {{B, p + "InitMr", "Invalid factor value", "zqvfirl", ln[1]}}},
      {"initMr down factor", [f] { f.initMr(arr, 3, 1, 0, 0, 0, &ts); },
       {{B, p + "InitMr", "Invalid factor value", "zqvfirl", ln[1]}}},
      {"initDlyl array", [f] { f.initDlyl(&ts, nullptr, &ds); }, {{B, p + "InitDlyl", nb, "zqvfirl", ln[2]}}},
      {"initDlyl dly state", [f] { f.initDlyl(&ts, arr, nullptr); }, {{B, p + "InitDlyl", nb, "zqvfirl", ln[2]}}},
      {"initDlyl tap state", [f] { f.initDlyl(nullptr, arr, &ds); }, {{B, p + "InitDlyl", nb, "zqvfirl", ln[2]}}},
      {"setTaps state", [f] { f.setTaps(arr, nullptr); }, {{B, p + "SetTaps", nb, "zqvfirl", ln[3]}}},
      {"getTaps state", [f] { f.getTaps(nullptr, arr); }, {{B, p + "GetTaps", nb, "zqvfirl", ln[4]}}},
      {"getTaps taps", [f] { f.getTaps(&ts, nullptr); }, {{B, p + "GetTaps", nb, "zqvfirl", ln[4]}}},
      {"setDlyl dly state", [f] { f.setDlyl(&ts, arr, nullptr); }, {{B, p + "SetDlyl", nb, "zqvfirl", ln[5]}}},
      {"setDlyl tap state", [f] { f.setDlyl(nullptr, arr, &ds); }, {{B, p + "SetDlyl", nb, "zqvfirl", ln[5]}}},
      {"getDlyl tap state", [f] { f.getDlyl(nullptr, &ds, arr); }, {{B, p + "GetDlyl", nb, "zqvfirl", ln[6]}}},
      {"getDlyl dly state", [f] { f.getDlyl(&ts, nullptr, arr); }, {{B, p + "GetDlyl", nb, "zqvfirl", ln[6]}}},
      {"getDlyl values", [f] { f.getDlyl(&ts, &ds, nullptr); }, {{B, p + "GetDlyl", nb, "zqvfirl", ln[6]}}},
  });
}

TEST_F(Firl, StateRoutinesReportEachFailedCheckWithItsLine) {
  std::vector<ReportRow> rows;
  addStateRows<float>(rows, {"s", zqvsFirlInit, zqvsFirlInitMr, zqvsFirlInitDlyl, zqvsFirlSetTaps, zqvsFirlGetTaps,
                             zqvsFirlSetDlyl, zqvsFirlGetDlyl, {85, 109, 133, 157, 181, 207, 233}});
  addStateRows<ZqvCplxS>(rows, {"c", zqvcFirlInit, zqvcFirlInitMr, zqvcFirlInitDlyl, zqvcFirlSetTaps, zqvcFirlGetTaps,
                                zqvcFirlSetDlyl, zqvcFirlGetDlyl, {89, 113, 137, 161, 185, 211, 237}});
  addStateRows<double>(rows, {"d", zqvdFirlInit, zqvdFirlInitMr, zqvdFirlInitDlyl, zqvdFirlSetTaps, zqvdFirlGetTaps,
                              zqvdFirlSetDlyl, zqvdFirlGetDlyl, {93, 121, 145, 169, 189, 215, 241}});
  addStateRows<ZqvCplxD>(rows, {"z", zqvzFirlInit, zqvzFirlInitMr, zqvzFirlInitDlyl, zqvzFirlSetTaps, zqvzFirlGetTaps,
                                zqvzFirlSetDlyl, zqvzFirlGetDlyl, {97, 117, 141, 165, 193, 219, 245}});
  addStateRows<int16_t>(rows, {"w", zqvwFirlInit, zqvwFirlInitMr, zqvwFirlInitDlyl, zqvwFirlSetTaps, zqvwFirlGetTaps,
                               zqvwFirlSetDlyl, zqvwFirlGetDlyl, {101, 125, 149, 173, 197, 223, 249}});
  expectReportRows(rows, std::nullopt, {}, RowStatus::Carried);
}

template <class X, class H, class O>
void addFilterRows(std::vector<ReportRow>& rows, const Member<X, H, O>& m) {
  static H taps[4];
  static X dly[4], src[4];
  static O dst[4];
  static ZqvFirTapState ts, off;
  static ZqvFirDlyState ds, offDly;
  m.init(taps, 4, &ts);
  m.initDlyl(&ts, dly, &ds);
  m.setDlyl(&ts, nullptr, &ds);
  m.init(taps, 4, &off);
  m.initDlyl(&off, dly, &offDly);  // delay line not in filter mode
  off.filterMode = 0;
  constexpr int32_t B = ZQV_BAD_ARGUMENT;
  const std::string one = "zqv" + m.name + "Firl", block = "zqv" + m.name + "bFirl";
  const char* nb = "Null buffer pointer";
  rows.insert(rows.end(), {
      {"one tap state", [m] { m.one(nullptr, &ds, X{}); }, {{B, one, nb, "zqvfirl", m.oneLine}}},
      {"one dly state", [m] { m.one(&ts, nullptr, X{}); }, {{B, one, nb, "zqvfirl", m.oneLine}}},
      {"block tap state", [m] { m.block(nullptr, &ds, src, dst, 4); }, {{B, block, nb, "zqvfirl", m.blockLine}}},
      {"block dly state", [m] { m.block(&ts, nullptr, src, dst, 4); }, {{B, block, nb, "zqvfirl", m.blockLine}}},
      {"block src", [m] { m.block(&ts, &ds, nullptr, dst, 4); }, {{B, block, nb, "zqvfirl", m.blockLine}}},
      {"block dst", [m] { m.block(&ts, &ds, src, nullptr, 4); }, {{B, block, nb, "zqvfirl", m.blockLine}}},
      {"block numIters", [m] { m.block(&ts, &ds, src, dst, 0); },
       {{B, block, "Invalid array length", "zqvfirl", m.blockLine}}},
      {"block dly mode", [m] { m.block(&ts, &offDly, src, dst, 4); },
       {{B, block, "Not filter mode", "zqvfirl", m.blockLine}}},
      {"block tap mode", [m] { m.block(&off, &ds, src, dst, 4); },
       {{B, block, "Not filter mode", "zqvfirl", m.blockLine}}},
  });
}

TEST_F(Firl, FiltersReportEachFailedCheckWithItsLine) {
  std::vector<ReportRow> rows;
#define ADD_ROWS(m) addFilterRows(rows, m)
  FOR_EACH_MEMBER(ADD_ROWS);
#undef ADD_ROWS
  static int16_t taps[4], dly[4], src[4], dst[4];
  static ZqvFirTapState ts, off;
  static ZqvFirDlyState ds, offDly;
  zqvwFirlInit(taps, 4, &ts);
  zqvwFirlInitDlyl(&ts, dly, &ds);
  zqvwFirlSetDlyl(&ts, nullptr, &ds);
  zqvwFirlInit(taps, 4, &off);
  zqvwFirlInitDlyl(&off, dly, &offDly);
  off.filterMode = 0;
  static int32_t factor = 0;
  constexpr int32_t B = ZQV_BAD_ARGUMENT;
  const char* nb = "Null buffer pointer";
  rows.insert(rows.end(), {
      {"w one", [] { zqvwFirl(nullptr, &ds, 0, 0, &factor); }, {{B, "zqvwFirl", nb, "zqvfirl", 385}}},
      {"w block state", [] { zqvwbFirl(&ts, nullptr, src, dst, 4, 0, &factor); },
       {{B, "zqvwbFirl", nb, "zqvfirl", 777}}},
      {"w block buffer", [] { zqvwbFirl(&ts, &ds, src, nullptr, 4, 0, &factor); },
       {{B, "zqvwbFirl", nb, "zqvfirl", 779}}},
      {"w block numIters", [] { zqvwbFirl(&ts, &ds, src, dst, -1, 0, &factor); },
       {{B, "zqvwbFirl", "Invalid array length", "zqvfirl", 781}}},
      {"w block dly mode", [] { zqvwbFirl(&ts, &offDly, src, dst, 4, 0, &factor); },
       {{B, "zqvwbFirl", "Not filter mode", "zqvfirl", 783}}},
      {"w block tap mode", [] { zqvwbFirl(&off, &ds, src, dst, 4, 0, &factor); },
       {{B, "zqvwbFirl", "Not filter mode", "zqvfirl", 785}}},
      // The automatic mode would write its shift through a null pointer.
      {"w block auto without factor", [] { zqvwbFirl(&ts, &ds, src, dst, 4, ZQV_AUTO_SCALE, nullptr); },
       {{B, "zqvwbFirl", "Null scale factor pointer", "zqvfirl", 787}}},
      // Copies too large for the allocator: refused before anything is read.
      {"w block memory", [] { zqvwbFirl(&ts, &ds, src, dst, 1 << 30, 0, &factor); },
       {{ZQV_OUT_OF_MEMORY, "zqvwbFirl", "Memory problem", "zqvfirl", 829}}},
  });
  expectReportRows(rows, std::nullopt, {}, RowStatus::Carried);
}

}  // namespace
