// One-state FIR: every member against direct sums in long double (single rate
// and the up-sample / filter / down-sample definition), block and
// single-sample calls in any split giving the same bits, the record's
// lifecycle, the low-level family giving the same outputs, every report with
// its line.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "zqvfir_support.h"

namespace {

using namespace firtest;
using FirOneState = ZqvTest;

template <class X, class H, class O>
struct Member {
  std::string name;
  int32_t (*init)(const H*, int32_t, const X*, ZqvFirState*);
  int32_t (*initMr)(const H*, int32_t, const X*, int32_t, int32_t, int32_t, int32_t, ZqvFirState*);
  O (*one)(ZqvFirState*, X);
  int32_t (*block)(ZqvFirState*, const X*, O*, int32_t);
  int32_t (*getDlyl)(ZqvFirState*, X*);
  int32_t lines[4];  // Init, InitMr, Fir, bFir
};

const Member<float, float, float> kS{"s", zqvsFirInit, zqvsFirInitMr, zqvsFir, zqvsbFir, zqvsFirGetDlyl,
                                     {191, 225, 345, 381}};
const Member<ZqvCplxS, ZqvCplxS, ZqvCplxS> kC{"c", zqvcFirInit, zqvcFirInitMr, zqvcFir, zqvcbFir, zqvcFirGetDlyl,
                                              {194, 228, 348, 391}};
const Member<float, ZqvCplxS, ZqvCplxS> kSC{"sc", zqvscFirInit, zqvscFirInitMr, zqvscFir, zqvscbFir, zqvsFirGetDlyl,
                                            {197, 231, 351, 401}};
const Member<ZqvCplxS, float, ZqvCplxS> kCS{"cs", zqvcsFirInit, zqvcsFirInitMr, zqvcsFir, zqvcsbFir, zqvcFirGetDlyl,
                                            {200, 234, 354, 411}};
const Member<double, double, double> kD{"d", zqvdFirInit, zqvdFirInitMr, zqvdFir, zqvdbFir, zqvdFirGetDlyl,
                                        {204, 238, 358, 423}};
const Member<ZqvCplxD, ZqvCplxD, ZqvCplxD> kZ{"z", zqvzFirInit, zqvzFirInitMr, zqvzFir, zqvzbFir, zqvzFirGetDlyl,
                                              {207, 241, 361, 433}};
const Member<double, ZqvCplxD, ZqvCplxD> kDZ{"dz", zqvdzFirInit, zqvdzFirInitMr, zqvdzFir, zqvdzbFir, zqvdFirGetDlyl,
                                             {210, 244, 364, 444}};
const Member<ZqvCplxD, double, ZqvCplxD> kZD{"zd", zqvzdFirInit, zqvzdFirInitMr, zqvzdFir, zqvzdbFir, zqvzFirGetDlyl,
                                             {213, 247, 367, 454}};

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

// A record released when the test ends.
struct Record {
  ZqvFirState st{};
  Record() = default;
  Record(const Record&) = delete;
  ~Record() {
    if (st.self == &st) zqvFirFree(&st);
  }
};

template <class X, class H, class O>
std::vector<X> history(const Member<X, H, O>& m, ZqvFirState* st) {
  std::vector<X> out(size_t(st->dlyLen) + 1);
  EXPECT_EQ(m.getDlyl(st, out.data()), st->dlyLen);
  out.resize(size_t(st->dlyLen));
  return out;
}

template <class X, class H, class O>
void singleRateMatchesSumsInAnySplit(const Member<X, H, O>& m) {
  SCOPED_TRACE(m.name);
  for (int32_t tapsLen : {1, 2, 5, 64, 129, 200}) {
    SCOPED_TRACE(tapsLen);
    const auto h = data<H>(size_t(tapsLen), 1 + tapsLen);
    const auto past = data<X>(size_t(tapsLen - 1), 2 + tapsLen);
    const auto in = data<X>(1000, 3 + tapsLen);
    const Stream x = stream(past, in);

    Record one;
    ASSERT_EQ(m.init(h.data(), tapsLen, past.data(), &one.st), 1);
    std::vector<O> byOne;
    for (const X& v : in) byOne.push_back(m.one(&one.st, v));
    EXPECT_TRUE(near(byOne, convolve(h, x, int64_t(in.size())), 4 * epsilonOf<O>() * magnitudeScale(h, x)));

    Record block;
    m.init(h.data(), tapsLen, past.data(), &block.st);
    std::vector<O> byBlock(in.size());
    EXPECT_EQ(m.block(&block.st, in.data(), byBlock.data(), int32_t(in.size())), 0);
    EXPECT_TRUE(identical(byBlock, byOne));

    // Blocks shorter and longer than the buffer, single samples between.
    Record mixed;
    m.init(h.data(), tapsLen, past.data(), &mixed.st);
    std::vector<O> byMix(in.size());
    std::mt19937 gen(tapsLen);
    for (size_t at = 0; at < in.size();) {
      const size_t len = std::min<size_t>(in.size() - at, gen() % 3 == 0 ? 1 + gen() % 40 : 1 + gen() % 400);
      if (gen() % 2)
        for (size_t i = 0; i < len; ++i) byMix[at + i] = m.one(&mixed.st, in[at + i]);
      else m.block(&mixed.st, in.data() + at, byMix.data() + at, int32_t(len));
      at += len;
    }
    EXPECT_TRUE(identical(byMix, byOne));

    const std::vector<X> last(in.end() - (tapsLen - 1), in.end());
    EXPECT_TRUE(identical(history(m, &one.st), last));
    EXPECT_TRUE(identical(history(m, &block.st), last));
    EXPECT_TRUE(identical(history(m, &mixed.st), last));
  }
}

TEST_F(FirOneState, SingleRateMatchesDirectSumsAndAnySplitGivesTheSameBits) {
  FOR_EACH_MEMBER(singleRateMatchesSumsInAnySplit);
  EXPECT_TRUE(recordedReports().empty());
}

struct RateCase {
  int32_t U, upPhase, D, downPhase, tapsLen;
};
const RateCase kRateCases[] = {{2, 0, 1, 0, 4},  {1, 0, 2, 1, 7},  {3, 1, 2, 1, 10}, {2, 1, 3, 2, 5},
                               {5, 4, 1, 0, 3},  {1, 0, 3, 0, 1},  {4, 2, 3, 1, 17}, {3, 2, 5, 4, 40},
                               {1, 0, 4, 3, 300}, {7, 0, 2, 0, 29}};

template <class X, class H, class O>
void multiRateMatchesResampling(const Member<X, H, O>& m) {
  SCOPED_TRACE(m.name);
  for (const RateCase& rc : kRateCases) {
    SCOPED_TRACE(testing::Message() << rc.U << "/" << rc.upPhase << " " << rc.D << "/" << rc.downPhase << " taps "
                                    << rc.tapsLen);
    const auto h = data<H>(size_t(rc.tapsLen), 7 + rc.tapsLen);
    const auto past = data<X>(size_t((rc.tapsLen + rc.U - 1) / rc.U), 8);
    // The second call runs past the buffer, so part of it comes straight from the source.
    const int32_t n1 = 7, n2 = 300;
    const auto in = data<X>(size_t((n1 + n2) * rc.D), 9);
    const Stream x = stream(past, in);
    const auto want = resample(h, x, rc.U, rc.upPhase, rc.D, rc.downPhase, int64_t(n1 + n2) * rc.U);

    Record twice;
    ASSERT_EQ(m.initMr(h.data(), rc.tapsLen, past.data(), rc.U, rc.upPhase, rc.D, rc.downPhase, &twice.st), 1);
    std::vector<O> out(size_t((n1 + n2) * rc.U));
    m.block(&twice.st, in.data(), out.data(), n1);
    m.block(&twice.st, in.data() + n1 * rc.D, out.data() + n1 * rc.U, n2);
    EXPECT_TRUE(near(out, want, 4 * epsilonOf<O>() * magnitudeScale(h, x)));

    Record once;
    m.initMr(h.data(), rc.tapsLen, past.data(), rc.U, rc.upPhase, rc.D, rc.downPhase, &once.st);
    std::vector<O> whole(out.size());
    m.block(&once.st, in.data(), whole.data(), n1 + n2);
    EXPECT_TRUE(identical(whole, out));
    EXPECT_TRUE(identical(history(m, &once.st), std::vector<X>(in.end() - int64_t(past.size()), in.end())));
  }
}

TEST_F(FirOneState, MultiRateMatchesUpSampleFilterDownSample) {
  FOR_EACH_MEMBER(multiRateMatchesResampling);
  EXPECT_TRUE(recordedReports().empty());
}

// The wave-preset editor's use: 129 taps, no history, one sample at a time.
TEST_F(FirOneState, WavePresetRoadWrapsTheBufferEvery129Samples) {
  const auto h = data<float>(129, 21);
  const auto in = data<float>(1000, 22);
  Record r;
  ASSERT_EQ(zqvsFirInit(h.data(), 129, nullptr, &r.st), 1);
  EXPECT_EQ(r.st.dlyLen, 128);
  EXPECT_EQ(r.st.blockLen, 129);
  EXPECT_EQ(r.st.tapsLenUnrolled, 128);
  EXPECT_EQ(r.st.blockEnd, static_cast<float*>(r.st.buffer) + 129);
  EXPECT_EQ(r.st.phaseTable, nullptr);
  std::vector<float> out;
  for (size_t i = 0; i < in.size(); ++i) {
    out.push_back(zqvsFir(&r.st, in[i]));
    EXPECT_EQ(r.st.cursor, static_cast<float*>(r.st.buffer) + (i + 1) % 129);
  }
  const Stream x = stream(std::vector<float>{}, in);
  EXPECT_TRUE(near(out, convolve(h, x, 1000), 4 * epsilonOf<float>() * magnitudeScale(h, x)));
  EXPECT_TRUE(recordedReports().empty());
}

struct LayoutCase {
  int32_t U, upPhase, D, downPhase, tapsLen;
  int32_t dlyLen, blockLen;
};

// Buffer sizes of float-taps and other members, single rate and multi-rate.
TEST_F(FirOneState, RecordSizesFollowTheTapsAndRates) {
  const LayoutCase floatTaps[] = {{1, 0, 1, 0, 129, 128, 129}, {1, 0, 1, 0, 3, 2, 128},
                                  {2, 0, 3, 0, 10, 5, 129},    {3, 0, 1, 0, 400, 134, 134}};
  for (const LayoutCase& c : floatTaps) {
    Record r;
    zqvsFirInitMr(nullptr, c.tapsLen, nullptr, c.U, c.upPhase, c.D, c.downPhase, &r.st);
    EXPECT_EQ(r.st.dlyLen, c.dlyLen) << c.tapsLen;
    EXPECT_EQ(r.st.blockLen, c.blockLen) << c.tapsLen;
    EXPECT_EQ(r.st.isMultiRate, c.U > 1 || c.D > 1);
  }
  Record z;
  zqvzFirInitMr(nullptr, 7, nullptr, 2, 1, 5, 0, &z.st);
  EXPECT_EQ(z.st.dlyLen, 4);
  EXPECT_EQ(z.st.blockLen, 65);
  EXPECT_EQ(z.st.tapsLenUnrolled, 6);
  // Down-phase below the up-phase: the first sub-filter is taken modulo U, not negative.
  ASSERT_NE(z.st.phaseTable, nullptr);
  EXPECT_EQ(z.st.phaseTable[0].subFilter, 1);
  EXPECT_EQ(z.st.phaseTable[0].tapsLen, 3);
  EXPECT_EQ(z.st.phaseTable[0].tapPos, 4);
  EXPECT_EQ(z.st.phaseTable[1].subFilter, 0);
  EXPECT_EQ(z.st.phaseTable[1].tapPos, 0);
  EXPECT_TRUE(recordedReports().empty());
}

TEST_F(FirOneState, TapsComeBackInNaturalOrder) {
  const std::vector<double> h{1, 2, 3, 4, 5, 6, 7};
  for (int32_t U : {1, 2, 3, 9}) {
    Record r;
    zqvdFirInitMr(h.data(), 7, nullptr, U, 0, 1, 0, &r.st);
    std::vector<double> got(7, -1);
    EXPECT_EQ(zqvdFirGetTaps(&r.st, got.data()), U == 1 ? 7 : U);
    EXPECT_EQ(got, h);
    const std::vector<double> fresh{7, 6, 5, 4, 3, 2, 1};
    EXPECT_EQ(zqvdFirSetTaps(fresh.data(), &r.st), U == 1 ? 7 : U);
    zqvdFirGetTaps(&r.st, got.data());
    EXPECT_EQ(got, fresh);
    EXPECT_EQ(zqvdFirSetTaps(nullptr, &r.st), 0);
    zqvdFirGetTaps(&r.st, got.data());
    EXPECT_EQ(got, std::vector<double>(7, 0));
  }
  EXPECT_TRUE(recordedReports().empty());
}

TEST_F(FirOneState, NullTapsFilterToZeroAndOneTapHasNoDelayLine) {
  Record zero;
  zqvsFirInit(nullptr, 5, nullptr, &zero.st);
  EXPECT_EQ(zqvsFir(&zero.st, 3.0f), 0.0f);
  const float tap = 2.5f;
  Record one;
  zqvsFirInit(&tap, 1, nullptr, &one.st);
  EXPECT_EQ(one.st.dlyLen, 0);
  EXPECT_EQ(zqvsFir(&one.st, 4.0f), 10.0f);
  float untouched = 9;
  EXPECT_EQ(zqvsFirGetDlyl(&one.st, &untouched), 0);
  zqvsFirSetDlyl(&untouched, &one.st);
  EXPECT_EQ(untouched, 9.0f);
  EXPECT_TRUE(recordedReports().empty());
}

TEST_F(FirOneState, SetDlylReplacesTheHistoryAtTheCursor) {
  const std::vector<float> h{1, 10, 100};
  Record r;
  zqvsFirInit(h.data(), 3, nullptr, &r.st);
  zqvsFir(&r.st, 5.0f);
  const float past[2] = {1, 2};  // oldest first
  zqvsFirSetDlyl(past, &r.st);
  EXPECT_EQ(zqvsFir(&r.st, 3.0f), 3.0f + 20.0f + 100.0f);
  zqvsFirSetDlyl(nullptr, &r.st);
  EXPECT_EQ(zqvsFir(&r.st, 1.0f), 1.0f);
}

TEST_F(FirOneState, FreeReleasesOnceAndReInitReleasesTheOldBuffers) {
  const std::vector<float> h{1, 2, 3};
  ZqvFirState st;
  std::memset(&st, 0x5A, sizeof st);  // an uninitialised record holds anything
  ASSERT_EQ(zqvsFirInit(h.data(), 3, nullptr, &st), 1);
  EXPECT_EQ(st.self, &st);
  // Initialising again frees the first buffers (the leak check of the sanitizer build sees it).
  ASSERT_EQ(zqvsFirInitMr(h.data(), 3, nullptr, 2, 0, 1, 0, &st), 1);
  ASSERT_EQ(zqvcFirInit(nullptr, 200, nullptr, &st), 1);
  zqvFirFree(&st);
  EXPECT_EQ(st.self, nullptr);
  EXPECT_EQ(st.phaseTable, nullptr);
  EXPECT_TRUE(recordedReports().empty());
  zqvFirFree(&st);
  EXPECT_TRUE(reportsAre({{ZQV_BAD_ARGUMENT, "zqvFirzqvFree", "Must have been initialized", "zqvfirh"}}));
}

// A record copied elsewhere, or used through another member's routines,
// reads as uninitialised instead of being read past its buffers.
TEST_F(FirOneState, MovedRecordsAndOtherMembersRecordsAreRefused) {
  const std::vector<float> h{1, 2, 3};
  Record r;
  zqvsFirInit(h.data(), 3, nullptr, &r.st);
  ZqvFirState moved;
  std::memcpy(&moved, &r.st, sizeof moved);
  zqvsFir(&moved, 1.0f);
  ZqvCplxS out[4];
  const ZqvCplxS in[4] = {};
  zqvcbFir(&r.st, in, out, 4);
  zqvcFirSetDlyl(in, &r.st);
  zqvzFirSetTaps(nullptr, &r.st);
  EXPECT_TRUE(reportsAre({{ZQV_BAD_ARGUMENT, "zqvsFir", "Must have been initialized", "zqvfirh"},
                          {ZQV_BAD_ARGUMENT, "zqvcbFir", "Must have been initialized", "zqvfirh"},
                          {ZQV_BAD_ARGUMENT, "zqvcFirSetDlyl", "Must have been initialized", "zqvfirh"},
                          {ZQV_BAD_ARGUMENT, "zqvzFirSetTaps", "Must have been initialized", "zqvfirh"}}));
  clearReports();
  // A mixed member uses the taps routines of its taps type and the delay-line routines of its sample type.
  Record sc;
  zqvscFirInit(nullptr, 4, nullptr, &sc.st);
  const ZqvCplxS taps[4] = {{1, 1}, {0, 0}, {0, 0}, {0, 0}};
  EXPECT_EQ(zqvcFirSetTaps(taps, &sc.st), 4);
  const float past[3] = {0, 0, 0};
  zqvsFirSetDlyl(past, &sc.st);
  const ZqvCplxS y = zqvscFir(&sc.st, 2.0f);
  EXPECT_EQ(y.re, 2.0f);
  EXPECT_EQ(y.im, 2.0f);
  EXPECT_TRUE(recordedReports().empty());
}

TEST_F(FirOneState, BuffersTooLargeForTheAllocatorFailCleanly) {
  ZqvFirState st{};
  EXPECT_EQ(zqvzFirInit(nullptr, 1 << 30, nullptr, &st), ZQV_OUT_OF_MEMORY);
  EXPECT_NE(st.self, &st);
  EXPECT_EQ(zqvsFirInitMr(nullptr, 4, nullptr, std::numeric_limits<int32_t>::max(), 0, 1, 0, &st), ZQV_OUT_OF_MEMORY);
  EXPECT_EQ(zqvsFirInitMr(nullptr, 4, nullptr, 1, 0, std::numeric_limits<int32_t>::max(), 0, &st), ZQV_OUT_OF_MEMORY);
  EXPECT_NE(st.self, &st);
  EXPECT_TRUE(reportsAre({{ZQV_OUT_OF_MEMORY, "zqvzFirInit", "Allocation failure", "zqvfirh"},
                          {ZQV_OUT_OF_MEMORY, "zqvsFirInitMr", "Allocation failure", "zqvfirh"},
                          {ZQV_OUT_OF_MEMORY, "zqvsFirInitMr", "Allocation failure", "zqvfirh"}}));
}

TEST_F(FirOneState, FiltersNeitherReadNorClearTheStatus) {
  const std::vector<float> h{1, 1};
  Record r;
  zqvSetErrStatus(ZQV_BAD_ARGUMENT);
  EXPECT_EQ(zqvsFirInit(h.data(), 2, nullptr, &r.st), 1);
  EXPECT_EQ(zqvsFir(&r.st, 2.0f), 2.0f);
  const float in[2] = {3, 4};
  float out[2];
  zqvsbFir(&r.st, in, out, 2);
  EXPECT_EQ(out[1], 7.0f);
  EXPECT_EQ(zqvGetErrStatus(), ZQV_BAD_ARGUMENT);
}

// The low-level family computes the same filter; whole-number data keeps
// every sum exact, so the outputs agree to the bit.
template <class X, class H, class O>
void sameAsLowLevel(const Member<X, H, O>& m, int32_t (*initMr)(H*, int32_t, int32_t, int32_t, int32_t, int32_t,
                                                                ZqvFirTapState*),
                    int32_t (*initDlyl)(const ZqvFirTapState*, X*, ZqvFirDlyState*),
                    void (*setDlyl)(const ZqvFirTapState*, const X*, ZqvFirDlyState*),
                    int32_t (*blockl)(const ZqvFirTapState*, ZqvFirDlyState*, const X*, O*, int32_t)) {
  SCOPED_TRACE(m.name);
  for (const RateCase& rc : kRateCases) {
    const bool single = rc.U == 1 && rc.D == 1;
    auto h = data<H>(size_t(rc.tapsLen), 31, 20);
    const auto past = data<X>(size_t((rc.tapsLen + rc.U - 1) / rc.U), 32, 20);
    const int32_t n = 200;
    const auto in = data<X>(size_t(n * rc.D), 33, 20);
    Record r;
    m.initMr(h.data(), rc.tapsLen, past.data(), rc.U, rc.upPhase, rc.D, rc.downPhase, &r.st);
    std::vector<O> one(size_t(n * rc.U)), low(one.size());
    m.block(&r.st, in.data(), one.data(), n);
    ZqvFirTapState ts;
    ZqvFirDlyState ds;
    std::vector<X> dly(past.size() + single);
    initMr(h.data(), rc.tapsLen, rc.U, rc.upPhase, rc.D, rc.downPhase, &ts);
    initDlyl(&ts, dly.data(), &ds);
    setDlyl(&ts, past.data(), &ds);
    blockl(&ts, &ds, in.data(), low.data(), n);
    EXPECT_TRUE(identical(low, one)) << rc.U << " " << rc.D << " " << rc.tapsLen;
  }
}

TEST_F(FirOneState, LowLevelFamilyGivesTheSameOutputs) {
  sameAsLowLevel(kS, zqvsFirlInitMr, zqvsFirlInitDlyl, zqvsFirlSetDlyl, zqvsbFirl);
  sameAsLowLevel(kSC, zqvcFirlInitMr, zqvsFirlInitDlyl, zqvsFirlSetDlyl, zqvscbFirl);
  sameAsLowLevel(kZD, zqvdFirlInitMr, zqvzFirlInitDlyl, zqvzFirlSetDlyl, zqvzdbFirl);
  sameAsLowLevel(kC, zqvcFirlInitMr, zqvcFirlInitDlyl, zqvcFirlSetDlyl, zqvcbFirl);
  EXPECT_TRUE(recordedReports().empty());
}

// ---- Reports

template <class X, class H, class O>
void addMemberRows(std::vector<ReportRow>& rows, const Member<X, H, O>& m) {
  static H taps[4];
  static X src[4];
  static O dst[4];
  static ZqvFirState blank, ok, multi;
  blank = ZqvFirState{};
  m.init(taps, 4, nullptr, &ok);
  m.initMr(taps, 4, nullptr, 2, 0, 1, 0, &multi);
  constexpr int32_t B = ZQV_BAD_ARGUMENT;
  const std::string p = "zqv" + m.name;
  const char* iv = "Invalid value";
  const char* mi = "Must have been initialized";
  const int32_t* l = m.lines;
  rows.insert(rows.end(), {
      {"init state", [m] { m.init(taps, 4, nullptr, nullptr); },
       {{B, p + "FirInit", "Null state pointer", "zqvfirh", l[0]}}},
      {"init length", [m] { m.init(taps, 0, nullptr, &blank); }, {{B, p + "FirInit", iv, "zqvfirh", l[0]}}},
      {"initMr state", [m] { m.initMr(taps, 4, nullptr, 1, 0, 1, 0, nullptr); },
       {{B, p + "FirInitMr", "Null state pointer", "zqvfirh", l[1]}}},
      {"initMr up factor", [m] { m.initMr(taps, 4, nullptr, 0, 0, 1, 0, &blank); },
       {{B, p + "FirInitMr", iv, "zqvfirh", l[1]}}},
      {"initMr down factor", [m] { m.initMr(taps, 4, nullptr, 1, 0, 0, 0, &blank); },
       {{B, p + "FirInitMr", iv, "zqvfirh", l[1]}}},
      {"initMr up phase", [m] { m.initMr(taps, 4, nullptr, 2, 2, 1, 0, &blank); },
       {{B, p + "FirInitMr", iv, "zqvfirh", l[1]}}},
      {"initMr down phase", [m] { m.initMr(taps, 4, nullptr, 2, 0, 3, -1, &blank); },
       {{B, p + "FirInitMr", iv, "zqvfirh", l[1]}}},
      {"initMr length", [m] { m.initMr(taps, -2, nullptr, 2, 0, 3, 0, &blank); },
       {{B, p + "FirInitMr", iv, "zqvfirh", l[1]}}},
      {"fir state", [m] { m.one(nullptr, X{}); }, {{B, p + "Fir", "Null state pointer", "zqvfirh", l[2]}}},
      {"fir uninitialised", [m] { m.one(&blank, X{}); }, {{B, p + "Fir", mi, "zqvfirh", l[2]}}},
      {"fir multi-rate", [m] { m.one(&multi, X{}); }, {{B, p + "Fir", iv, "zqvfirh", l[2]}}},
      {"block state", [m] { m.block(nullptr, src, dst, 4); }, {{B, p + "bFir", "Null state pointer", "zqvfirh", l[3]}}},
      {"block uninitialised", [m] { m.block(&blank, src, dst, 4); }, {{B, p + "bFir", mi, "zqvfirh", l[3]}}},
      {"block src", [m] { m.block(&ok, nullptr, dst, 4); }, {{B, p + "bFir", "Null buffer pointer", "zqvfirh", l[3]}}},
      {"block dst", [m] { m.block(&ok, src, nullptr, 4); }, {{B, p + "bFir", "Null buffer pointer", "zqvfirh", l[3]}}},
      {"block numIters", [m] { m.block(&ok, src, dst, 0); }, {{B, p + "bFir", iv, "zqvfirh", l[3]}}},
  });
}

template <class T>
void addStateRows(std::vector<ReportRow>& rows, const std::string& L, int32_t (*setTaps)(const T*, ZqvFirState*),
                  int32_t (*getTaps)(ZqvFirState*, T*), void (*setDlyl)(const T*, ZqvFirState*),
                  int32_t (*getDlyl)(ZqvFirState*, T*), std::vector<int32_t> l,
                  int32_t (*init)(const T*, int32_t, const T*, ZqvFirState*)) {
  static T arr[4];
  static ZqvFirState blank, ok;
  blank = ZqvFirState{};
  init(arr, 4, nullptr, &ok);
  constexpr int32_t B = ZQV_BAD_ARGUMENT;
  const std::string p = "zqv" + L + "Fir";
  const char* mi = "Must have been initialized";
  const char* ns = "Null state pointer";
  rows.insert(rows.end(), {
      {"setTaps state", [=] { setTaps(arr, nullptr); }, {{B, p + "SetTaps", ns, "zqvfirh", l[0]}}},
      {"setTaps uninitialised", [=] { setTaps(arr, &blank); }, {{B, p + "SetTaps", mi, "zqvfirh", l[0]}}},
      {"getTaps state", [=] { getTaps(nullptr, arr); }, {{B, p + "GetTaps", ns, "zqvfirh", l[1]}}},
      {"getTaps uninitialised", [=] { getTaps(&blank, arr); }, {{B, p + "GetTaps", mi, "zqvfirh", l[1]}}},
      {"getTaps buffer", [=] { getTaps(&ok, nullptr); }, {{B, p + "GetTaps", "Null buffer pointer", "zqvfirh", l[1]}}},
      {"setDlyl state", [=] { setDlyl(arr, nullptr); }, {{B, p + "SetDlyl", ns, "zqvfirh", l[2]}}},
      {"setDlyl uninitialised", [=] { setDlyl(arr, &blank); }, {{B, p + "SetDlyl", mi, "zqvfirh", l[2]}}},
      {"getDlyl state", [=] { getDlyl(nullptr, arr); }, {{B, p + "GetDlyl", ns, "zqvfirh", l[3]}}},
      {"getDlyl uninitialised", [=] { getDlyl(&blank, arr); }, {{B, p + "GetDlyl", mi, "zqvfirh", l[3]}}},
      {"getDlyl buffer", [=] { getDlyl(&ok, nullptr); }, {{B, p + "GetDlyl", "Null buffer pointer", "zqvfirh", l[3]}}},
  });
}

TEST_F(FirOneState, EveryFailedCheckIsReportedWithItsLine) {
  std::vector<ReportRow> rows;
#define ADD_ROWS(m) addMemberRows(rows, m)
  FOR_EACH_MEMBER(ADD_ROWS);
#undef ADD_ROWS
  addStateRows<float>(rows, "s", zqvsFirSetTaps, zqvsFirGetTaps, zqvsFirSetDlyl, zqvsFirGetDlyl, {260, 280, 303, 322},
                      zqvsFirInit);
  addStateRows<ZqvCplxS>(rows, "c", zqvcFirSetTaps, zqvcFirGetTaps, zqvcFirSetDlyl, zqvcFirGetDlyl,
                         {263, 283, 306, 325}, zqvcFirInit);
  addStateRows<double>(rows, "d", zqvdFirSetTaps, zqvdFirGetTaps, zqvdFirSetDlyl, zqvdFirGetDlyl,
                       {267, 287, 310, 329}, zqvdFirInit);
  addStateRows<ZqvCplxD>(rows, "z", zqvzFirSetTaps, zqvzFirGetTaps, zqvzFirSetDlyl, zqvzFirGetDlyl,
                         {270, 290, 313, 332}, zqvzFirInit);
  static ZqvFirState blank{};
  rows.insert(rows.end(), {
      {"free state", [] { zqvFirFree(nullptr); },
       {{ZQV_BAD_ARGUMENT, "zqvFirzqvFree", "Null state pointer", "zqvfirh", 479}}},
      {"free uninitialised", [] { zqvFirFree(&blank); },
       {{ZQV_BAD_ARGUMENT, "zqvFirzqvFree", "Must have been initialized", "zqvfirh", 481}}},
  });
  expectReportRows(rows, std::nullopt, {}, RowStatus::Carried);
}

}  // namespace
