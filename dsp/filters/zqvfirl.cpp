// Low-level FIR filters: the caller owns the taps and the delay line, the
// library keeps two descriptors over them and allocates nothing but the
// float copies of the 16-bit block form.
#include <algorithm>
#include <cstdint>

#include "core/detail/zqvscale.h"
#include "filters/detail/zqvfirlgen.h"

using namespace zqvfir;

namespace {

constexpr const char* kModule = "zqvfirl";

// Report lines by member, as this module has always reported them.
constexpr FirlLines kLinesS{85, 109, 133, 157, 181, 207, 233};
constexpr FirlLines kLinesC{89, 113, 137, 161, 185, 211, 237};
constexpr FirlLines kLinesD{93, 121, 145, 169, 189, 215, 241};
constexpr FirlLines kLinesZ{97, 117, 141, 165, 193, 219, 245};
constexpr FirlLines kLinesW{101, 125, 149, 173, 197, 223, 249};

struct FilterLines {
  int32_t one, block;
};
constexpr FilterLines kFilterS{285, 524};
constexpr FilterLines kFilterC{301, 550};
constexpr FilterLines kFilterSC{305, 557};
constexpr FilterLines kFilterCS{309, 564};
constexpr FilterLines kFilterD{313, 571};
constexpr FilterLines kFilterZ{317, 578};
constexpr FilterLines kFilterZD{321, 592};
constexpr FilterLines kFilterDZ{325, 585};
constexpr int32_t kLineW = 385;
constexpr FirlBlockLines kBlockW{777, 779, 781, 783, 785};
constexpr int32_t kLineWScaleFactor = 787;
constexpr int32_t kLineWMemory = 829;


// The 16-bit sum wraps as a 32-bit integer would; unsigned arithmetic keeps
// the wrap defined.
int32_t wrappedSum(const int16_t* taps, const int16_t* dly, int64_t len) noexcept {
  uint32_t sum = 0;
  for (int64_t i = 0; i < len; ++i) sum += static_cast<uint32_t>(int32_t{taps[i]} * int32_t{dly[i]});
  return static_cast<int32_t>(sum);
}

// Only a fixed shift applies to the single-sample form; any other mode keeps
// the low 16 bits of the sum.
int16_t firlOneW(const ZqvFirTapState* ts, ZqvFirDlyState* ds, int16_t sample, int32_t scaleMode,
                 int32_t* scaleFactor) noexcept {
  if (refuse({"zqvwFirl", kModule}, {ZqvCheck{!ts || !ds, "Null buffer pointer", kLineW}})) return 0;
  if (ds->dlyLen < 1) return 0;
  auto* dly = static_cast<int16_t*>(ds->dlyl);
  copyElems(dly + 1, dly, int64_t{ds->dlyLen} - 1);
  dly[0] = sample;
  const int32_t sum = wrappedSum(static_cast<const int16_t*>(ts->taps), dly, std::min(ds->dlyLen, ts->tapsLen));
  if (scaleMode & ZQV_FIXED_SCALE) return zqviScaleToW(sum, scaleMode, scaleFactor);
  return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(sum)));
}

float* floatBlock(int64_t count) noexcept { return static_cast<float*>(firAlloc(count, sizeof(float))); }

// The 16-bit block runs the float filter on float copies and scales its
// outputs. The copies hang on descriptors of our own: the caller's states
// keep pointing at the caller's arrays whatever happens.
int32_t firlBlockW(const ZqvFirTapState* ts, ZqvFirDlyState* ds, const int16_t* src, int16_t* dst,
                   int32_t numIters, int32_t scaleMode, int32_t* scaleFactor) noexcept {
  const ZqvSite where = {"zqvwbFirl", kModule};
  if (auto r = firlBlockRefused(where, kBlockW, ts, ds, src, dst, numIters)) return r.result;
  // The automatic mode writes the shift it chose through the pointer.
  if (auto r = refuse(where, {ZqvCheck{scaleMode == ZQV_AUTO_SCALE && !scaleFactor, "Null scale factor pointer",
                                       kLineWScaleFactor}}))
    return r.result;
  const int64_t nIn = int64_t{numIters} * ts->downFactor, nOut = int64_t{numIters} * ts->upFactor;
  float* in = floatBlock(nIn);
  float* out = floatBlock(nOut);
  float* taps = floatBlock(ts->tapsLen);
  float* dly = floatBlock(ds->dlyLen);
  int32_t result = 0;
  if (!in || !out || !taps || !dly || nOut > std::numeric_limits<int32_t>::max()) {
    result = zqvError(ZQV_OUT_OF_MEMORY, where.func, "Memory problem", kModule, kLineWMemory);
  } else {
    const auto* tapsW = static_cast<const int16_t*>(ts->taps);
    auto* dlyW = static_cast<int16_t*>(ds->dlyl);
    for (int64_t i = 0; i < nIn; ++i) in[i] = src[i];
    for (int64_t i = 0; i < ts->tapsLen; ++i) taps[i] = tapsW[i];
    for (int64_t i = 0; i < ds->dlyLen; ++i) dly[i] = dlyW[i];
    ZqvFirTapState tapsF = *ts;
    ZqvFirDlyState dlyF = *ds;
    tapsF.taps = taps;
    dlyF.dlyl = dly;
    firlBlockRun<float, float>(tapsF, dlyF, in, out, numIters);
    zqvsbScaleToW(out, dst, static_cast<int32_t>(nOut), scaleMode, scaleFactor);
    // The delay line holds input samples only, so the values come back exact.
    for (int64_t i = 0; i < ds->dlyLen; ++i) dlyW[i] = static_cast<int16_t>(dly[i]);
  }
  zqvFree(in);
  zqvFree(out);
  zqvFree(taps);
  zqvFree(dly);
  return result;
}

}  // namespace

// ---- Tap and delay-line states

ZQVAPI int32_t zqvsFirlInit(float* taps, int32_t tapsLen, ZqvFirTapState* tapState) noexcept {
  return firlInit({"zqvsFirlInit", kModule}, kLinesS.init, taps, tapsLen, tapState);
}
ZQVAPI int32_t zqvsFirlInitMr(float* taps, int32_t tapsLen, int32_t upFactor, int32_t upPhase, int32_t downFactor,
                               int32_t downPhase, ZqvFirTapState* tapState) noexcept {
  return firlInitMr({"zqvsFirlInitMr", kModule}, kLinesS.initMr, taps, tapsLen, upFactor, upPhase, downFactor, downPhase, tapState);
}
ZQVAPI int32_t zqvsFirlInitDlyl(const ZqvFirTapState* tapState, float* dlyl, ZqvFirDlyState* dlyState) noexcept {
  return firlInitDlyl({"zqvsFirlInitDlyl", kModule}, kLinesS.initDlyl, tapState, dlyl, dlyState);
}
ZQVAPI int32_t zqvsFirlSetTaps(const float* taps, ZqvFirTapState* tapState) noexcept {
  return firlSetTaps({"zqvsFirlSetTaps", kModule}, kLinesS.setTaps, taps, tapState);
}
ZQVAPI void zqvsFirlGetTaps(ZqvFirTapState* tapState, float* taps) noexcept {
  firlGetTaps({"zqvsFirlGetTaps", kModule}, kLinesS.getTaps, tapState, taps);
}
ZQVAPI void zqvsFirlSetDlyl(const ZqvFirTapState* tapState, const float* dlyVals, ZqvFirDlyState* dlyState) noexcept {
  firlSetDlyl({"zqvsFirlSetDlyl", kModule}, kLinesS.setDlyl, tapState, dlyVals, dlyState);
}
ZQVAPI void zqvsFirlGetDlyl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, float* dlyVals) noexcept {
  firlGetDlyl({"zqvsFirlGetDlyl", kModule}, kLinesS.getDlyl, tapState, dlyState, dlyVals);
}

ZQVAPI int32_t zqvcFirlInit(ZqvCplxS* taps, int32_t tapsLen, ZqvFirTapState* tapState) noexcept {
  return firlInit({"zqvcFirlInit", kModule}, kLinesC.init, taps, tapsLen, tapState);
}
ZQVAPI int32_t zqvcFirlInitMr(ZqvCplxS* taps, int32_t tapsLen, int32_t upFactor, int32_t upPhase, int32_t downFactor,
                               int32_t downPhase, ZqvFirTapState* tapState) noexcept {
  return firlInitMr({"zqvcFirlInitMr", kModule}, kLinesC.initMr, taps, tapsLen, upFactor, upPhase, downFactor, downPhase, tapState);
}
ZQVAPI int32_t zqvcFirlInitDlyl(const ZqvFirTapState* tapState, ZqvCplxS* dlyl, ZqvFirDlyState* dlyState) noexcept {
  return firlInitDlyl({"zqvcFirlInitDlyl", kModule}, kLinesC.initDlyl, tapState, dlyl, dlyState);
}
ZQVAPI int32_t zqvcFirlSetTaps(const ZqvCplxS* taps, ZqvFirTapState* tapState) noexcept {
  return firlSetTaps({"zqvcFirlSetTaps", kModule}, kLinesC.setTaps, taps, tapState);
}
ZQVAPI void zqvcFirlGetTaps(ZqvFirTapState* tapState, ZqvCplxS* taps) noexcept {
  firlGetTaps({"zqvcFirlGetTaps", kModule}, kLinesC.getTaps, tapState, taps);
}
ZQVAPI void zqvcFirlSetDlyl(const ZqvFirTapState* tapState, const ZqvCplxS* dlyVals, ZqvFirDlyState* dlyState) noexcept {
  firlSetDlyl({"zqvcFirlSetDlyl", kModule}, kLinesC.setDlyl, tapState, dlyVals, dlyState);
}
ZQVAPI void zqvcFirlGetDlyl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, ZqvCplxS* dlyVals) noexcept {
  firlGetDlyl({"zqvcFirlGetDlyl", kModule}, kLinesC.getDlyl, tapState, dlyState, dlyVals);
}

ZQVAPI int32_t zqvdFirlInit(double* taps, int32_t tapsLen, ZqvFirTapState* tapState) noexcept {
  return firlInit({"zqvdFirlInit", kModule}, kLinesD.init, taps, tapsLen, tapState);
}
ZQVAPI int32_t zqvdFirlInitMr(double* taps, int32_t tapsLen, int32_t upFactor, int32_t upPhase, int32_t downFactor,
                               int32_t downPhase, ZqvFirTapState* tapState) noexcept {
  return firlInitMr({"zqvdFirlInitMr", kModule}, kLinesD.initMr, taps, tapsLen, upFactor, upPhase, downFactor, downPhase, tapState);
}
ZQVAPI int32_t zqvdFirlInitDlyl(const ZqvFirTapState* tapState, double* dlyl, ZqvFirDlyState* dlyState) noexcept {
  return firlInitDlyl({"zqvdFirlInitDlyl", kModule}, kLinesD.initDlyl, tapState, dlyl, dlyState);
}
ZQVAPI int32_t zqvdFirlSetTaps(const double* taps, ZqvFirTapState* tapState) noexcept {
  return firlSetTaps({"zqvdFirlSetTaps", kModule}, kLinesD.setTaps, taps, tapState);
}
ZQVAPI void zqvdFirlGetTaps(ZqvFirTapState* tapState, double* taps) noexcept {
  firlGetTaps({"zqvdFirlGetTaps", kModule}, kLinesD.getTaps, tapState, taps);
}
ZQVAPI void zqvdFirlSetDlyl(const ZqvFirTapState* tapState, const double* dlyVals, ZqvFirDlyState* dlyState) noexcept {
  firlSetDlyl({"zqvdFirlSetDlyl", kModule}, kLinesD.setDlyl, tapState, dlyVals, dlyState);
}
ZQVAPI void zqvdFirlGetDlyl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, double* dlyVals) noexcept {
  firlGetDlyl({"zqvdFirlGetDlyl", kModule}, kLinesD.getDlyl, tapState, dlyState, dlyVals);
}

ZQVAPI int32_t zqvzFirlInit(ZqvCplxD* taps, int32_t tapsLen, ZqvFirTapState* tapState) noexcept {
  return firlInit({"zqvzFirlInit", kModule}, kLinesZ.init, taps, tapsLen, tapState);
}
ZQVAPI int32_t zqvzFirlInitMr(ZqvCplxD* taps, int32_t tapsLen, int32_t upFactor, int32_t upPhase, int32_t downFactor,
                               int32_t downPhase, ZqvFirTapState* tapState) noexcept {
  return firlInitMr({"zqvzFirlInitMr", kModule}, kLinesZ.initMr, taps, tapsLen, upFactor, upPhase, downFactor, downPhase, tapState);
}
ZQVAPI int32_t zqvzFirlInitDlyl(const ZqvFirTapState* tapState, ZqvCplxD* dlyl, ZqvFirDlyState* dlyState) noexcept {
  return firlInitDlyl({"zqvzFirlInitDlyl", kModule}, kLinesZ.initDlyl, tapState, dlyl, dlyState);
}
ZQVAPI int32_t zqvzFirlSetTaps(const ZqvCplxD* taps, ZqvFirTapState* tapState) noexcept {
  return firlSetTaps({"zqvzFirlSetTaps", kModule}, kLinesZ.setTaps, taps, tapState);
}
ZQVAPI void zqvzFirlGetTaps(ZqvFirTapState* tapState, ZqvCplxD* taps) noexcept {
  firlGetTaps({"zqvzFirlGetTaps", kModule}, kLinesZ.getTaps, tapState, taps);
}
ZQVAPI void zqvzFirlSetDlyl(const ZqvFirTapState* tapState, const ZqvCplxD* dlyVals, ZqvFirDlyState* dlyState) noexcept {
  firlSetDlyl({"zqvzFirlSetDlyl", kModule}, kLinesZ.setDlyl, tapState, dlyVals, dlyState);
}
ZQVAPI void zqvzFirlGetDlyl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, ZqvCplxD* dlyVals) noexcept {
  firlGetDlyl({"zqvzFirlGetDlyl", kModule}, kLinesZ.getDlyl, tapState, dlyState, dlyVals);
}

ZQVAPI int32_t zqvwFirlInit(int16_t* taps, int32_t tapsLen, ZqvFirTapState* tapState) noexcept {
  return firlInit({"zqvwFirlInit", kModule}, kLinesW.init, taps, tapsLen, tapState);
}
ZQVAPI int32_t zqvwFirlInitMr(int16_t* taps, int32_t tapsLen, int32_t upFactor, int32_t upPhase, int32_t downFactor,
                               int32_t downPhase, ZqvFirTapState* tapState) noexcept {
  return firlInitMr({"zqvwFirlInitMr", kModule}, kLinesW.initMr, taps, tapsLen, upFactor, upPhase, downFactor, downPhase, tapState);
}
ZQVAPI int32_t zqvwFirlInitDlyl(const ZqvFirTapState* tapState, int16_t* dlyl, ZqvFirDlyState* dlyState) noexcept {
  return firlInitDlyl({"zqvwFirlInitDlyl", kModule}, kLinesW.initDlyl, tapState, dlyl, dlyState);
}
ZQVAPI int32_t zqvwFirlSetTaps(const int16_t* taps, ZqvFirTapState* tapState) noexcept {
  return firlSetTaps({"zqvwFirlSetTaps", kModule}, kLinesW.setTaps, taps, tapState);
}
ZQVAPI void zqvwFirlGetTaps(ZqvFirTapState* tapState, int16_t* taps) noexcept {
  firlGetTaps({"zqvwFirlGetTaps", kModule}, kLinesW.getTaps, tapState, taps);
}
ZQVAPI void zqvwFirlSetDlyl(const ZqvFirTapState* tapState, const int16_t* dlyVals, ZqvFirDlyState* dlyState) noexcept {
  firlSetDlyl({"zqvwFirlSetDlyl", kModule}, kLinesW.setDlyl, tapState, dlyVals, dlyState);
}
ZQVAPI void zqvwFirlGetDlyl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, int16_t* dlyVals) noexcept {
  firlGetDlyl({"zqvwFirlGetDlyl", kModule}, kLinesW.getDlyl, tapState, dlyState, dlyVals);
}

// ---- Filtering: samples first, taps second

ZQVAPI float zqvsFirl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, float sample) noexcept {
  return firlOne<float, float>({"zqvsFirl", kModule}, kFilterS.one, tapState, dlyState, sample);
}
ZQVAPI int32_t zqvsbFirl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, const float* src, float* dst,
                            int32_t numIters) noexcept {
  return firlBlock<float, float>({"zqvsbFirl", kModule}, kFilterS.block, tapState, dlyState, src, dst, numIters);
}
ZQVAPI ZqvCplxS zqvcFirl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, ZqvCplxS sample) noexcept {
  return firlOne<ZqvCplxS, ZqvCplxS>({"zqvcFirl", kModule}, kFilterC.one, tapState, dlyState, sample);
}
ZQVAPI int32_t zqvcbFirl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, const ZqvCplxS* src, ZqvCplxS* dst,
                            int32_t numIters) noexcept {
  return firlBlock<ZqvCplxS, ZqvCplxS>({"zqvcbFirl", kModule}, kFilterC.block, tapState, dlyState, src, dst, numIters);
}
ZQVAPI ZqvCplxS zqvscFirl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, float sample) noexcept {
  return firlOne<float, ZqvCplxS>({"zqvscFirl", kModule}, kFilterSC.one, tapState, dlyState, sample);
}
ZQVAPI int32_t zqvscbFirl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, const float* src, ZqvCplxS* dst,
                            int32_t numIters) noexcept {
  return firlBlock<float, ZqvCplxS>({"zqvscbFirl", kModule}, kFilterSC.block, tapState, dlyState, src, dst, numIters);
}
ZQVAPI ZqvCplxS zqvcsFirl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, ZqvCplxS sample) noexcept {
  return firlOne<ZqvCplxS, float>({"zqvcsFirl", kModule}, kFilterCS.one, tapState, dlyState, sample);
}
ZQVAPI int32_t zqvcsbFirl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, const ZqvCplxS* src, ZqvCplxS* dst,
                            int32_t numIters) noexcept {
  return firlBlock<ZqvCplxS, float>({"zqvcsbFirl", kModule}, kFilterCS.block, tapState, dlyState, src, dst, numIters);
}
ZQVAPI double zqvdFirl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, double sample) noexcept {
  return firlOne<double, double>({"zqvdFirl", kModule}, kFilterD.one, tapState, dlyState, sample);
}
ZQVAPI int32_t zqvdbFirl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, const double* src, double* dst,
                            int32_t numIters) noexcept {
  return firlBlock<double, double>({"zqvdbFirl", kModule}, kFilterD.block, tapState, dlyState, src, dst, numIters);
}
ZQVAPI ZqvCplxD zqvzFirl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, ZqvCplxD sample) noexcept {
  return firlOne<ZqvCplxD, ZqvCplxD>({"zqvzFirl", kModule}, kFilterZ.one, tapState, dlyState, sample);
}
ZQVAPI int32_t zqvzbFirl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, const ZqvCplxD* src, ZqvCplxD* dst,
                            int32_t numIters) noexcept {
  return firlBlock<ZqvCplxD, ZqvCplxD>({"zqvzbFirl", kModule}, kFilterZ.block, tapState, dlyState, src, dst, numIters);
}
ZQVAPI ZqvCplxD zqvdzFirl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, double sample) noexcept {
  return firlOne<double, ZqvCplxD>({"zqvdzFirl", kModule}, kFilterDZ.one, tapState, dlyState, sample);
}
ZQVAPI int32_t zqvdzbFirl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, const double* src, ZqvCplxD* dst,
                            int32_t numIters) noexcept {
  return firlBlock<double, ZqvCplxD>({"zqvdzbFirl", kModule}, kFilterDZ.block, tapState, dlyState, src, dst, numIters);
}
ZQVAPI ZqvCplxD zqvzdFirl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, ZqvCplxD sample) noexcept {
  return firlOne<ZqvCplxD, double>({"zqvzdFirl", kModule}, kFilterZD.one, tapState, dlyState, sample);
}
ZQVAPI int32_t zqvzdbFirl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, const ZqvCplxD* src, ZqvCplxD* dst,
                            int32_t numIters) noexcept {
  return firlBlock<ZqvCplxD, double>({"zqvzdbFirl", kModule}, kFilterZD.block, tapState, dlyState, src, dst, numIters);
}

ZQVAPI int16_t zqvwFirl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, int16_t sample, int32_t scaleMode,
                        int32_t* scaleFactor) noexcept {
  return firlOneW(tapState, dlyState, sample, scaleMode, scaleFactor);
}
ZQVAPI int32_t zqvwbFirl(const ZqvFirTapState* tapState, ZqvFirDlyState* dlyState, const int16_t* src, int16_t* dst,
                         int32_t numIters, int32_t scaleMode, int32_t* scaleFactor) noexcept {
  return firlBlockW(tapState, dlyState, src, dst, numIters, scaleMode, scaleFactor);
}
