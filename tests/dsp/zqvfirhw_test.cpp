// 16-bit one-state FIR: every scale mode against an exact int64 sum and an
// independent narrowing, single rate and multi-rate, the automatic block
// shift shared by a whole call, rounding of the extended sum, the status
// rules, the record, every report with its line.
#include <algorithm>
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <limits>
#include <vector>

#include "zqvfir_support.h"

namespace {

using namespace firtest;
using FirW = ZqvTest;

struct Record {
  ZqvFirState st{};
  Record() = default;
  Record(const Record&) = delete;
  ~Record() {
    if (st.self == &st) zqvFirFree(&st);
  }
};

int16_t low16(int64_t v) { return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(v))); }

// The narrowing a caller expects of a non-automatic scale mode: the fixed
// shift (when asked for) right or left, then wrap or saturate.
int16_t narrowed(int64_t r, int32_t scaleMode, int32_t factor) {
  const int32_t shift = (scaleMode & ZQV_FIXED_SCALE) ? factor : 0;
  const __int128 v = shift >= 0 ? (r >> std::min(shift, 63)) : __int128{r} << std::min(-shift, 64);
  if (scaleMode & ZQV_SATURATE) return v > 32767 ? 32767 : (v < -32768 ? -32768 : int16_t(v));
  return low16(int64_t(v & 0xFFFF));
}

// Exact sums: whole-number taps and samples.
std::vector<int64_t> exactSums(const std::vector<CL>& y) {
  std::vector<int64_t> r;
  for (const CL& v : y) r.push_back(int64_t(v.real()));
  return r;
}

struct ModeCase {
  int32_t scaleMode, factor;
};
const ModeCase kModes[] = {{0, 0}, {1, 0}, {ZQV_FIXED_SCALE, 3}, {ZQV_FIXED_SCALE | ZQV_SATURATE, 3},
                           {ZQV_FIXED_SCALE, -2}, {ZQV_FIXED_SCALE | ZQV_SATURATE, -2}, {ZQV_FIXED_SCALE, 0},
                           {ZQV_SATURATE, 5}, {ZQV_FIXED_SCALE, 40}, {ZQV_FIXED_SCALE | ZQV_SATURATE, -40}};

TEST_F(FirW, SingleRateModesMatchTheExactSumInAnySplit) {
  for (int32_t tapsLen : {1, 3, 40}) {
    const auto h = data<float>(size_t(tapsLen), 41 + tapsLen, 300);
    const auto past = data<int16_t>(size_t(tapsLen - 1), 42, 3000);
    const auto in = data<int16_t>(300, 43, 3000);
    const auto sums = exactSums(convolve(h, stream(past, in), 300));
    for (const ModeCase& mc : kModes) {
      SCOPED_TRACE(testing::Message() << "taps " << tapsLen << " mode " << mc.scaleMode << " factor " << mc.factor);
      Record one, mixed;
      ASSERT_EQ(zqvwFirInit(h.data(), tapsLen, past.data(), &one.st), 0);
      zqvwFirInit(h.data(), tapsLen, past.data(), &mixed.st);
      std::vector<int16_t> byOne, byMix(in.size());
      for (int16_t v : in) {
        int32_t f = mc.factor;
        byOne.push_back(zqvwFir(&one.st, v, mc.scaleMode, &f));
      }
      std::mt19937 gen(tapsLen);
      for (size_t at = 0; at < in.size();) {
        const size_t len = std::min<size_t>(in.size() - at, 1 + gen() % 90);
        int32_t f = mc.factor;
        if (gen() % 2)
          for (size_t i = 0; i < len; ++i) byMix[at + i] = zqvwFir(&mixed.st, in[at + i], mc.scaleMode, &f);
        else EXPECT_EQ(zqvwbFir(&mixed.st, in.data() + at, byMix.data() + at, int32_t(len), mc.scaleMode, &f),
                       mc.scaleMode);
        at += len;
      }
      for (size_t i = 0; i < in.size(); ++i) {
        ASSERT_EQ(byOne[i], narrowed(sums[i], mc.scaleMode, mc.factor)) << i;
        ASSERT_EQ(byMix[i], byOne[i]) << i;
      }
    }
  }
  EXPECT_TRUE(recordedReports().empty());
}

struct RateCase {
  int32_t U, upPhase, D, downPhase, tapsLen;
};
const RateCase kRateCases[] = {{2, 0, 1, 0, 4}, {1, 0, 2, 1, 7}, {3, 1, 2, 1, 10}, {2, 1, 3, 2, 5},
                               {4, 2, 3, 1, 17}, {1, 0, 3, 0, 1}};

TEST_F(FirW, MultiRateModesMatchUpSampleFilterDownSample) {
  for (const RateCase& rc : kRateCases) {
    const auto h = data<float>(size_t(rc.tapsLen), 51 + rc.tapsLen, 300);
    const auto past = data<int16_t>(size_t((rc.tapsLen + rc.U - 1) / rc.U), 52, 3000);
    const int32_t n1 = 3, n2 = 40;  // the second call runs past the buffer
    const auto in = data<int16_t>(size_t((n1 + n2) * rc.D), 53, 3000);
    const auto sums =
        exactSums(resample(h, stream(past, in), rc.U, rc.upPhase, rc.D, rc.downPhase, int64_t(n1 + n2) * rc.U));
    for (const ModeCase& mc : kModes) {
      SCOPED_TRACE(testing::Message() << rc.U << "/" << rc.D << " taps " << rc.tapsLen << " mode " << mc.scaleMode);
      Record r;
      ASSERT_EQ(zqvwFirInitMr(h.data(), rc.tapsLen, past.data(), rc.U, rc.upPhase, rc.D, rc.downPhase, &r.st), 0);
      std::vector<int16_t> out(sums.size());
      int32_t f = mc.factor;
      zqvwbFir(&r.st, in.data(), out.data(), n1, mc.scaleMode, &f);
      zqvwbFir(&r.st, in.data() + n1 * rc.D, out.data() + n1 * rc.U, n2, mc.scaleMode, &f);
      for (size_t i = 0; i < out.size(); ++i) ASSERT_EQ(out[i], narrowed(sums[i], mc.scaleMode, mc.factor)) << i;
      std::vector<int16_t> last(past.size());
      EXPECT_EQ(zqvwFirGetDlyl(&r.st, last.data()), int32_t(past.size()));
      EXPECT_TRUE(std::equal(last.begin(), last.end(), in.end() - int64_t(past.size())));
    }
  }
  EXPECT_TRUE(recordedReports().empty());
}

// A block whose sums grow past 32767 halfway, in the buffer part or in the
// source part: every output of the call ends at one common shift.
TEST_F(FirW, AutomaticBlockShiftIsCommonToTheWholeCall) {
  struct Case {
    size_t tapsLen;
    int16_t early, late;  // inputs before and after sample 100
  };
  for (const Case c : {Case{2, 1000, 30000}, Case{120, 30000, 100}, Case{120, 100, -32768}}) {
    SCOPED_TRACE(c.tapsLen);
    const std::vector<float> h(c.tapsLen, 1.0f);
    std::vector<int16_t> in(300);
    for (size_t i = 0; i < in.size(); ++i) in[i] = i < 100 ? c.early : c.late;
    const auto sums = exactSums(convolve(h, stream(std::vector<int16_t>(c.tapsLen - 1), in), 300));
    int32_t need = 0;  // the smallest shift that fits every sum
    for (int64_t r : sums)
      while ((r >> need) > 32767 || (r >> need) < -32768) ++need;
    ASSERT_GT(need, 0);
    Record r;
    zqvwFirInit(h.data(), int32_t(c.tapsLen), nullptr, &r.st);
    std::vector<int16_t> out(300);
    int32_t factor = 77;
    EXPECT_EQ(zqvwbFir(&r.st, in.data(), out.data(), 300, ZQV_AUTO_SCALE, &factor), need);
    EXPECT_EQ(factor, need);
    for (size_t i = 0; i < out.size(); ++i) ASSERT_EQ(out[i], sums[i] >> need) << i;
  }
  // A call whose sums all fit keeps shift 0.
  const float one = 1.0f;
  const int16_t small[3] = {1, -2, 3};
  int16_t out[3];
  int32_t factor = 77;
  Record r;
  zqvwFirInit(&one, 1, nullptr, &r.st);
  EXPECT_EQ(zqvwbFir(&r.st, small, out, 3, ZQV_AUTO_SCALE | ZQV_SATURATE, &factor), 0);
  EXPECT_EQ(factor, 0);
  EXPECT_EQ(out[1], -2);
}

// -65536: halving once fits it (single-rate block); the multi-rate block and
// the single-sample form raise the shift by floor(log2 |r|) - 14 = 2.
TEST_F(FirW, AutomaticShiftRulesDifferOnlyForNegativePowersOfTwo) {
  const float tap = 2.0f;
  const int16_t in[1] = {-32768};
  int16_t out[1];
  int32_t factor = 0;
  Record single, multi, one;
  zqvwFirInit(&tap, 1, nullptr, &single.st);
  EXPECT_EQ(zqvwbFir(&single.st, in, out, 1, ZQV_AUTO_SCALE, &factor), 1);
  EXPECT_EQ(out[0], -32768);
  zqvwFirInitMr(&tap, 1, nullptr, 1, 0, 1, 0, &multi.st);  // factors 1: a single-rate record
  EXPECT_EQ(multi.st.isMultiRate, 0);
  zqvwFirInitMr(&tap, 1, nullptr, 2, 0, 1, 0, &multi.st);
  int16_t two[2];
  EXPECT_EQ(zqvwbFir(&multi.st, in, two, 1, ZQV_AUTO_SCALE, &factor), 2);
  EXPECT_EQ(two[0], -16384);
  EXPECT_EQ(two[1], 0);
  zqvwFirInit(&tap, 1, nullptr, &one.st);
  EXPECT_EQ(zqvwFir(&one.st, -32768, ZQV_AUTO_SCALE, &factor), -16384);
  EXPECT_EQ(factor, 2);
  EXPECT_EQ(zqvwFir(&one.st, 100, ZQV_AUTO_SCALE, &factor), 200);
  EXPECT_EQ(factor, 0);
}

TEST_F(FirW, SumsAreRoundedToNearestEvenAndOutOfRangeSumsSaturate) {
  const float half = 0.5f;
  Record r;
  zqvwFirInit(&half, 1, nullptr, &r.st);
  const int16_t in[4] = {3, 5, -3, -5};
  int16_t out[4];
  zqvwbFir(&r.st, in, out, 4, 0, nullptr);
  EXPECT_EQ(out[0], 2);
  EXPECT_EQ(out[1], 2);
  EXPECT_EQ(out[2], -2);
  EXPECT_EQ(out[3], -2);
  // The caller's rounding mode applies.
  std::fesetround(FE_UPWARD);
  EXPECT_EQ(zqvwFir(&r.st, 5, 0, nullptr), 3);
  std::fesetround(FE_TONEAREST);

  const float huge[2] = {1e30f, NAN};
  Record big;
  zqvwFirInit(huge, 1, nullptr, &big.st);
  EXPECT_EQ(zqvwFir(&big.st, 1, ZQV_SATURATE, nullptr), 32767);
  EXPECT_EQ(zqvwFir(&big.st, -1, ZQV_SATURATE, nullptr), -32768);
  Record nan;
  zqvwFirInit(huge + 1, 1, nullptr, &nan.st);
  EXPECT_EQ(zqvwFir(&nan.st, 1, ZQV_SATURATE, nullptr), 0);
}

TEST_F(FirW, RecordHoldsPaddedTapsAndTheGivenCount) {
  const std::vector<float> h{1, 2, 3, 4, 5};
  Record r;
  ASSERT_EQ(zqvwFirInitMr(h.data(), 5, nullptr, 3, 1, 2, 0, &r.st), 0);
  EXPECT_EQ(r.st.tapsLen, 6);
  EXPECT_EQ(r.st.givenTapsLen, 5);
  EXPECT_EQ(r.st.tapsLenUnrolled, 0);
  EXPECT_EQ(r.st.dlyLen, 2);
  EXPECT_EQ(r.st.blockLen, 2);
  EXPECT_EQ(r.st.cursorIndex, 0);
  EXPECT_EQ(r.st.extraShift, 0);
  EXPECT_EQ(r.st.blockEnd, nullptr);
  // Groups by sub-filter, each reversed, zero past the last group.
  const float* own = static_cast<const float*>(r.st.taps);
  const float grouped[6] = {4, 1, 5, 2, 3, 0};
  for (int i = 0; i < 6; ++i) EXPECT_EQ(own[i], grouped[i]) << i;
  std::vector<float> back(5);
  EXPECT_EQ(zqvwFirGetTaps(&r.st, back.data()), 5);
  EXPECT_EQ(back, h);
  zqvwFirSetTaps(nullptr, &r.st);
  zqvwFirGetTaps(&r.st, back.data());
  EXPECT_EQ(back, std::vector<float>(5, 0));
  EXPECT_TRUE(recordedReports().empty());
}

// Initialising clears the thread's status (only here in the FIR families);
// filtering neither reads nor clears it.
TEST_F(FirW, InitialisationClearsTheStatusAndFilteringIgnoresIt) {
  const float h[2] = {1, 1};
  Record r;
  zqvSetErrStatus(ZQV_BAD_ARGUMENT);
  EXPECT_EQ(zqvwFirInit(h, 2, nullptr, &r.st), 0);
  EXPECT_EQ(zqvGetErrStatus(), 0);
  zqvSetErrStatus(ZQV_BAD_ARGUMENT);
  EXPECT_EQ(zqvwFir(&r.st, 3, 0, nullptr), 3);
  const int16_t in[2] = {4, 5};
  int16_t out[2];
  zqvwbFir(&r.st, in, out, 2, 0, nullptr);
  EXPECT_EQ(out[1], 9);
  EXPECT_EQ(zqvGetErrStatus(), ZQV_BAD_ARGUMENT);
}

TEST_F(FirW, ReInitialisingReleasesTheOldBuffers) {
  const float h[3] = {1, 2, 3};
  ZqvFirState st{};
  ASSERT_EQ(zqvwFirInit(h, 3, nullptr, &st), 0);
  // The earlier buffers are released (the leak check of the sanitizer build sees it).
  ASSERT_EQ(zqvwFirInitMr(h, 3, nullptr, 2, 1, 3, 2, &st), 0);
  ASSERT_EQ(zqvwFirInit(h, 3, nullptr, &st), 0);
  zqvFirFree(&st);
  EXPECT_EQ(st.self, nullptr);
  EXPECT_TRUE(recordedReports().empty());
}

TEST_F(FirW, OtherMembersRecordsAreRefused) {
  const float h[3] = {1, 2, 3};
  Record s, w;
  zqvsFirInit(h, 3, nullptr, &s.st);
  zqvwFirInit(h, 3, nullptr, &w.st);
  zqvwFir(&s.st, 1, 0, nullptr);
  zqvsFir(&w.st, 1.0f);
  zqvsFirSetTaps(h, &w.st);
  EXPECT_TRUE(reportsAre({{ZQV_BAD_ARGUMENT, "zqvwFir", "Must have been initialized", "zqvfirhw"},
                          {ZQV_BAD_ARGUMENT, "zqvsFir", "Must have been initialized", "zqvfirh"},
                          {ZQV_BAD_ARGUMENT, "zqvsFirSetTaps", "Must have been initialized", "zqvfirh"}}));
}

TEST_F(FirW, EveryFailedCheckIsReportedWithItsLine) {
  static float taps[4];
  static int16_t src[4], dst[4];
  static int32_t factor;
  static ZqvFirState blank, ok, multi;
  blank = ZqvFirState{};
  zqvwFirInit(taps, 4, nullptr, &ok);
  zqvwFirInitMr(taps, 4, nullptr, 2, 0, 1, 0, &multi);
  constexpr int32_t B = ZQV_BAD_ARGUMENT;
  const char* iv = "Invalid value";
  const char* mi = "Must have been initialized";
  const char* ns = "Null state pointer";
  const char* nb = "Null buffer pointer";
  const char* nf = "Null scale factor pointer";
  const int32_t big = std::numeric_limits<int32_t>::max();
  const std::vector<ReportRow> rows = {
      {"init state", [] { zqvwFirInit(taps, 4, nullptr, nullptr); }, {{B, "zqvwFirInit", ns, "zqvfirhw", 343}}},
      {"init length", [] { zqvwFirInit(taps, 0, nullptr, &blank); }, {{B, "zqvwFirInit", iv, "zqvfirhw", 345}}},
      {"init memory", [=] { zqvwFirInit(taps, big, nullptr, &blank); },
       {{ZQV_OUT_OF_MEMORY, "zqvwFirInit", "Allocation failure", "zqvfirhw", 350}}},
      {"initMr state", [] { zqvwFirInitMr(taps, 4, nullptr, 1, 0, 1, 0, nullptr); },
       {{B, "zqvwFirInitMr", ns, "zqvfirhw", 364}}},
      {"initMr up factor", [] { zqvwFirInitMr(taps, 4, nullptr, 0, 0, 1, 0, &blank); },
       {{B, "zqvwFirInitMr", iv, "zqvfirhw", 366}}},
      {"initMr down factor", [] { zqvwFirInitMr(taps, 4, nullptr, 1, 0, -1, 0, &blank); },
       {{B, "zqvwFirInitMr", iv, "zqvfirhw", 368}}},
      {"initMr up phase", [] { zqvwFirInitMr(taps, 4, nullptr, 2, -1, 1, 0, &blank); },
       {{B, "zqvwFirInitMr", iv, "zqvfirhw", 370}}},
      {"initMr down phase", [] { zqvwFirInitMr(taps, 4, nullptr, 2, 0, 2, 2, &blank); },
       {{B, "zqvwFirInitMr", iv, "zqvfirhw", 372}}},
      {"initMr length", [] { zqvwFirInitMr(taps, 0, nullptr, 2, 0, 2, 0, &blank); },
       {{B, "zqvwFirInitMr", iv, "zqvfirhw", 374}}},
      {"initMr memory", [=] { zqvwFirInitMr(taps, 4, nullptr, big, 0, 1, 0, &blank); },
       {{ZQV_OUT_OF_MEMORY, "zqvwFirInitMr", "Allocation failure", "zqvfirhw", 379}}},
      {"setTaps state", [] { zqvwFirSetTaps(taps, nullptr); }, {{B, "zqvwFirSetTaps", ns, "zqvfirhw", 613}}},
      {"setTaps uninitialised", [] { zqvwFirSetTaps(taps, &blank); }, {{B, "zqvwFirSetTaps", mi, "zqvfirhw", 615}}},
      {"getTaps state", [] { zqvwFirGetTaps(nullptr, taps); }, {{B, "zqvwFirGetTaps", ns, "zqvfirhw", 799}}},
      {"getTaps uninitialised", [] { zqvwFirGetTaps(&blank, taps); }, {{B, "zqvwFirGetTaps", mi, "zqvfirhw", 801}}},
      {"getTaps buffer", [] { zqvwFirGetTaps(&ok, nullptr); }, {{B, "zqvwFirGetTaps", nb, "zqvfirhw", 803}}},
      {"setDlyl state", [] { zqvwFirSetDlyl(src, nullptr); }, {{B, "zqvwFirSetDlyl", ns, "zqvfirhw", 823}}},
      {"setDlyl uninitialised", [] { zqvwFirSetDlyl(src, &blank); }, {{B, "zqvwFirSetDlyl", mi, "zqvfirhw", 825}}},
      {"getDlyl state", [] { zqvwFirGetDlyl(nullptr, src); }, {{B, "zqvwFirGetDlyl", ns, "zqvfirhw", 847}}},
      {"getDlyl uninitialised", [] { zqvwFirGetDlyl(&blank, src); }, {{B, "zqvwFirGetDlyl", mi, "zqvfirhw", 849}}},
      {"getDlyl buffer", [] { zqvwFirGetDlyl(&ok, nullptr); }, {{B, "zqvwFirGetDlyl", nb, "zqvfirhw", 851}}},
      {"fir state", [] { zqvwFir(nullptr, 1, 0, &factor); }, {{B, "zqvwFir", ns, "zqvfirhw", 897}}},
      {"fir uninitialised", [] { zqvwFir(&blank, 1, 0, &factor); }, {{B, "zqvwFir", mi, "zqvfirhw", 899}}},
      {"fir auto without factor", [] { zqvwFir(&ok, 1, ZQV_AUTO_SCALE, nullptr); },
       {{B, "zqvwFir", nf, "zqvfirhw", 902}}},
      // Any mode with the automatic bit would write through the pointer.
      {"fir auto and saturate without factor", [] { zqvwFir(&ok, 1, ZQV_AUTO_SCALE | ZQV_SATURATE, nullptr); },
       {{B, "zqvwFir", nf, "zqvfirhw", 902}}},
      {"fir multi-rate", [] { zqvwFir(&multi, 1, 0, &factor); }, {{B, "zqvwFir", iv, "zqvfirhw", 904}}},
      {"block state", [] { zqvwbFir(nullptr, src, dst, 4, 0, &factor); }, {{B, "zqvwbFir", ns, "zqvfirhw", 1326}}},
      {"block uninitialised", [] { zqvwbFir(&blank, src, dst, 4, 0, &factor); },
       {{B, "zqvwbFir", mi, "zqvfirhw", 1328}}},
      {"block src", [] { zqvwbFir(&ok, nullptr, dst, 4, 0, &factor); }, {{B, "zqvwbFir", nb, "zqvfirhw", 1330}}},
      {"block dst", [] { zqvwbFir(&ok, src, nullptr, 4, 0, &factor); }, {{B, "zqvwbFir", nb, "zqvfirhw", 1332}}},
      {"block numIters", [] { zqvwbFir(&ok, src, dst, 0, 0, &factor); }, {{B, "zqvwbFir", iv, "zqvfirhw", 1334}}},
      {"block auto without factor", [] { zqvwbFir(&ok, src, dst, 4, ZQV_AUTO_SCALE, nullptr); },
       {{B, "zqvwbFir", nf, "zqvfirhw", 1337}}},
      {"block auto and fixed without factor",
       [] { zqvwbFir(&ok, src, dst, 4, ZQV_AUTO_SCALE | ZQV_FIXED_SCALE, nullptr); },
        {{B, "zqvwbFir", nf, "zqvfirhw", 1337}}},
  };
  expectReportRows(rows, std::nullopt, {}, RowStatus::Carried);
  zqvFirFree(&ok);
  zqvFirFree(&multi);
}

}  // namespace
