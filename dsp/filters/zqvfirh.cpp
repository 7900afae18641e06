// FIR filters whose whole state lives in one record: the library copies the
// taps and keeps the delay line in a buffer of its own, so a single sample
// costs a store and a cursor step, and a block filters straight from the
// source past its first samples.
#include <cstdint>

#include "filters/detail/zqvfirhgen.h"

using namespace zqvfir;

namespace {

constexpr const char* kModule = "zqvfirh";

// Report lines by member, as this module has always reported them.
constexpr FirhLines kLinesS{191, 225, 345, 381};
constexpr FirhLines kLinesC{194, 228, 348, 391};
constexpr FirhLines kLinesSC{197, 231, 351, 401};
constexpr FirhLines kLinesCS{200, 234, 354, 411};
constexpr FirhLines kLinesD{204, 238, 358, 423};
constexpr FirhLines kLinesZ{207, 241, 361, 433};
constexpr FirhLines kLinesDZ{210, 244, 364, 444};
constexpr FirhLines kLinesZD{213, 247, 367, 454};

// Lines of the taps and delay-line routines of the plain members.
struct StateLines {
  int32_t setTaps, getTaps, setDlyl, getDlyl;
};
constexpr StateLines kStateS{260, 280, 303, 322};
constexpr StateLines kStateC{263, 283, 306, 325};
constexpr StateLines kStateD{267, 287, 310, 329};
constexpr StateLines kStateZ{270, 290, 313, 332};


}  // namespace

// ---- Initialisation and filtering: samples first, taps second

ZQVAPI int32_t zqvsFirInit(const float* taps, int32_t tapsLen, const float* dlyVals, ZqvFirState* state) noexcept {
  return firhInit<float, float>({"zqvsFirInit", kModule}, kLinesS.init, taps, tapsLen, dlyVals, 1, 0, 1, 0, state);
}
ZQVAPI int32_t zqvsFirInitMr(const float* taps, int32_t tapsLen, const float* dlyVals, int32_t upFactor, int32_t upPhase,
                              int32_t downFactor, int32_t downPhase, ZqvFirState* state) noexcept {
  return firhInit<float, float>({"zqvsFirInitMr", kModule}, kLinesS.initMr, taps, tapsLen, dlyVals, upFactor, upPhase, downFactor,
                          downPhase, state);
}
ZQVAPI float zqvsFir(ZqvFirState* state, float sample) noexcept {
  return firhOne<float, float>({"zqvsFir", kModule}, kLinesS.fir, state, sample);
}
ZQVAPI int32_t zqvsbFir(ZqvFirState* state, const float* src, float* dst, int32_t numIters) noexcept {
  return firhBlock<float, float>({"zqvsbFir", kModule}, kLinesS.block, state, src, dst, numIters);
}

ZQVAPI int32_t zqvcFirInit(const ZqvCplxS* taps, int32_t tapsLen, const ZqvCplxS* dlyVals, ZqvFirState* state) noexcept {
  return firhInit<ZqvCplxS, ZqvCplxS>({"zqvcFirInit", kModule}, kLinesC.init, taps, tapsLen, dlyVals, 1, 0, 1, 0, state);
}
ZQVAPI int32_t zqvcFirInitMr(const ZqvCplxS* taps, int32_t tapsLen, const ZqvCplxS* dlyVals, int32_t upFactor, int32_t upPhase,
                              int32_t downFactor, int32_t downPhase, ZqvFirState* state) noexcept {
  return firhInit<ZqvCplxS, ZqvCplxS>({"zqvcFirInitMr", kModule}, kLinesC.initMr, taps, tapsLen, dlyVals, upFactor, upPhase, downFactor,
                          downPhase, state);
}
ZQVAPI ZqvCplxS zqvcFir(ZqvFirState* state, ZqvCplxS sample) noexcept {
  return firhOne<ZqvCplxS, ZqvCplxS>({"zqvcFir", kModule}, kLinesC.fir, state, sample);
}
ZQVAPI int32_t zqvcbFir(ZqvFirState* state, const ZqvCplxS* src, ZqvCplxS* dst, int32_t numIters) noexcept {
  return firhBlock<ZqvCplxS, ZqvCplxS>({"zqvcbFir", kModule}, kLinesC.block, state, src, dst, numIters);
}

ZQVAPI int32_t zqvscFirInit(const ZqvCplxS* taps, int32_t tapsLen, const float* dlyVals, ZqvFirState* state) noexcept {
  return firhInit<float, ZqvCplxS>({"zqvscFirInit", kModule}, kLinesSC.init, taps, tapsLen, dlyVals, 1, 0, 1, 0, state);
}
ZQVAPI int32_t zqvscFirInitMr(const ZqvCplxS* taps, int32_t tapsLen, const float* dlyVals, int32_t upFactor, int32_t upPhase,
                              int32_t downFactor, int32_t downPhase, ZqvFirState* state) noexcept {
  return firhInit<float, ZqvCplxS>({"zqvscFirInitMr", kModule}, kLinesSC.initMr, taps, tapsLen, dlyVals, upFactor, upPhase, downFactor,
                          downPhase, state);
}
ZQVAPI ZqvCplxS zqvscFir(ZqvFirState* state, float sample) noexcept {
  return firhOne<float, ZqvCplxS>({"zqvscFir", kModule}, kLinesSC.fir, state, sample);
}
ZQVAPI int32_t zqvscbFir(ZqvFirState* state, const float* src, ZqvCplxS* dst, int32_t numIters) noexcept {
  return firhBlock<float, ZqvCplxS>({"zqvscbFir", kModule}, kLinesSC.block, state, src, dst, numIters);
}

ZQVAPI int32_t zqvcsFirInit(const float* taps, int32_t tapsLen, const ZqvCplxS* dlyVals, ZqvFirState* state) noexcept {
  return firhInit<ZqvCplxS, float>({"zqvcsFirInit", kModule}, kLinesCS.init, taps, tapsLen, dlyVals, 1, 0, 1, 0, state);
}
ZQVAPI int32_t zqvcsFirInitMr(const float* taps, int32_t tapsLen, const ZqvCplxS* dlyVals, int32_t upFactor, int32_t upPhase,
                              int32_t downFactor, int32_t downPhase, ZqvFirState* state) noexcept {
  return firhInit<ZqvCplxS, float>({"zqvcsFirInitMr", kModule}, kLinesCS.initMr, taps, tapsLen, dlyVals, upFactor, upPhase, downFactor,
                          downPhase, state);
}
ZQVAPI ZqvCplxS zqvcsFir(ZqvFirState* state, ZqvCplxS sample) noexcept {
  return firhOne<ZqvCplxS, float>({"zqvcsFir", kModule}, kLinesCS.fir, state, sample);
}
ZQVAPI int32_t zqvcsbFir(ZqvFirState* state, const ZqvCplxS* src, ZqvCplxS* dst, int32_t numIters) noexcept {
  return firhBlock<ZqvCplxS, float>({"zqvcsbFir", kModule}, kLinesCS.block, state, src, dst, numIters);
}

ZQVAPI int32_t zqvdFirInit(const double* taps, int32_t tapsLen, const double* dlyVals, ZqvFirState* state) noexcept {
  return firhInit<double, double>({"zqvdFirInit", kModule}, kLinesD.init, taps, tapsLen, dlyVals, 1, 0, 1, 0, state);
}
ZQVAPI int32_t zqvdFirInitMr(const double* taps, int32_t tapsLen, const double* dlyVals, int32_t upFactor, int32_t upPhase,
                              int32_t downFactor, int32_t downPhase, ZqvFirState* state) noexcept {
  return firhInit<double, double>({"zqvdFirInitMr", kModule}, kLinesD.initMr, taps, tapsLen, dlyVals, upFactor, upPhase, downFactor,
                          downPhase, state);
}
ZQVAPI double zqvdFir(ZqvFirState* state, double sample) noexcept {
  return firhOne<double, double>({"zqvdFir", kModule}, kLinesD.fir, state, sample);
}
ZQVAPI int32_t zqvdbFir(ZqvFirState* state, const double* src, double* dst, int32_t numIters) noexcept {
  return firhBlock<double, double>({"zqvdbFir", kModule}, kLinesD.block, state, src, dst, numIters);
}

ZQVAPI int32_t zqvzFirInit(const ZqvCplxD* taps, int32_t tapsLen, const ZqvCplxD* dlyVals, ZqvFirState* state) noexcept {
  return firhInit<ZqvCplxD, ZqvCplxD>({"zqvzFirInit", kModule}, kLinesZ.init, taps, tapsLen, dlyVals, 1, 0, 1, 0, state);
}
ZQVAPI int32_t zqvzFirInitMr(const ZqvCplxD* taps, int32_t tapsLen, const ZqvCplxD* dlyVals, int32_t upFactor, int32_t upPhase,
                              int32_t downFactor, int32_t downPhase, ZqvFirState* state) noexcept {
  return firhInit<ZqvCplxD, ZqvCplxD>({"zqvzFirInitMr", kModule}, kLinesZ.initMr, taps, tapsLen, dlyVals, upFactor, upPhase, downFactor,
                          downPhase, state);
}
ZQVAPI ZqvCplxD zqvzFir(ZqvFirState* state, ZqvCplxD sample) noexcept {
  return firhOne<ZqvCplxD, ZqvCplxD>({"zqvzFir", kModule}, kLinesZ.fir, state, sample);
}
ZQVAPI int32_t zqvzbFir(ZqvFirState* state, const ZqvCplxD* src, ZqvCplxD* dst, int32_t numIters) noexcept {
  return firhBlock<ZqvCplxD, ZqvCplxD>({"zqvzbFir", kModule}, kLinesZ.block, state, src, dst, numIters);
}

ZQVAPI int32_t zqvdzFirInit(const ZqvCplxD* taps, int32_t tapsLen, const double* dlyVals, ZqvFirState* state) noexcept {
  return firhInit<double, ZqvCplxD>({"zqvdzFirInit", kModule}, kLinesDZ.init, taps, tapsLen, dlyVals, 1, 0, 1, 0, state);
}
ZQVAPI int32_t zqvdzFirInitMr(const ZqvCplxD* taps, int32_t tapsLen, const double* dlyVals, int32_t upFactor, int32_t upPhase,
                              int32_t downFactor, int32_t downPhase, ZqvFirState* state) noexcept {
  return firhInit<double, ZqvCplxD>({"zqvdzFirInitMr", kModule}, kLinesDZ.initMr, taps, tapsLen, dlyVals, upFactor, upPhase, downFactor,
                          downPhase, state);
}
ZQVAPI ZqvCplxD zqvdzFir(ZqvFirState* state, double sample) noexcept {
  return firhOne<double, ZqvCplxD>({"zqvdzFir", kModule}, kLinesDZ.fir, state, sample);
}
ZQVAPI int32_t zqvdzbFir(ZqvFirState* state, const double* src, ZqvCplxD* dst, int32_t numIters) noexcept {
  return firhBlock<double, ZqvCplxD>({"zqvdzbFir", kModule}, kLinesDZ.block, state, src, dst, numIters);
}

ZQVAPI int32_t zqvzdFirInit(const double* taps, int32_t tapsLen, const ZqvCplxD* dlyVals, ZqvFirState* state) noexcept {
  return firhInit<ZqvCplxD, double>({"zqvzdFirInit", kModule}, kLinesZD.init, taps, tapsLen, dlyVals, 1, 0, 1, 0, state);
}
ZQVAPI int32_t zqvzdFirInitMr(const double* taps, int32_t tapsLen, const ZqvCplxD* dlyVals, int32_t upFactor, int32_t upPhase,
                              int32_t downFactor, int32_t downPhase, ZqvFirState* state) noexcept {
  return firhInit<ZqvCplxD, double>({"zqvzdFirInitMr", kModule}, kLinesZD.initMr, taps, tapsLen, dlyVals, upFactor, upPhase, downFactor,
                          downPhase, state);
}
ZQVAPI ZqvCplxD zqvzdFir(ZqvFirState* state, ZqvCplxD sample) noexcept {
  return firhOne<ZqvCplxD, double>({"zqvzdFir", kModule}, kLinesZD.fir, state, sample);
}
ZQVAPI int32_t zqvzdbFir(ZqvFirState* state, const ZqvCplxD* src, ZqvCplxD* dst, int32_t numIters) noexcept {
  return firhBlock<ZqvCplxD, double>({"zqvzdbFir", kModule}, kLinesZD.block, state, src, dst, numIters);
}

// ---- Taps and delay line of the plain members; a mixed member uses those of
// its taps type and of its sample type

ZQVAPI int32_t zqvsFirSetTaps(const float* taps, ZqvFirState* state) noexcept {
  return firhSetTaps({"zqvsFirSetTaps", kModule}, kStateS.setTaps, taps, state);
}
ZQVAPI int32_t zqvsFirGetTaps(ZqvFirState* state, float* taps) noexcept {
  return firhGetTaps({"zqvsFirGetTaps", kModule}, kStateS.getTaps, state, taps);
}
ZQVAPI void zqvsFirSetDlyl(const float* dlyVals, ZqvFirState* state) noexcept {
  firhSetDlyl({"zqvsFirSetDlyl", kModule}, kStateS.setDlyl, dlyVals, state);
}
ZQVAPI int32_t zqvsFirGetDlyl(ZqvFirState* state, float* dlyVals) noexcept {
  return firhGetDlyl({"zqvsFirGetDlyl", kModule}, kStateS.getDlyl, state, dlyVals);
}

ZQVAPI int32_t zqvcFirSetTaps(const ZqvCplxS* taps, ZqvFirState* state) noexcept {
  return firhSetTaps({"zqvcFirSetTaps", kModule}, kStateC.setTaps, taps, state);
}
ZQVAPI int32_t zqvcFirGetTaps(ZqvFirState* state, ZqvCplxS* taps) noexcept {
  return firhGetTaps({"zqvcFirGetTaps", kModule}, kStateC.getTaps, state, taps);
}
ZQVAPI void zqvcFirSetDlyl(const ZqvCplxS* dlyVals, ZqvFirState* state) noexcept {
  firhSetDlyl({"zqvcFirSetDlyl", kModule}, kStateC.setDlyl, dlyVals, state);
}
ZQVAPI int32_t zqvcFirGetDlyl(ZqvFirState* state, ZqvCplxS* dlyVals) noexcept {
  return firhGetDlyl({"zqvcFirGetDlyl", kModule}, kStateC.getDlyl, state, dlyVals);
}

ZQVAPI int32_t zqvdFirSetTaps(const double* taps, ZqvFirState* state) noexcept {
  return firhSetTaps({"zqvdFirSetTaps", kModule}, kStateD.setTaps, taps, state);
}
ZQVAPI int32_t zqvdFirGetTaps(ZqvFirState* state, double* taps) noexcept {
  return firhGetTaps({"zqvdFirGetTaps", kModule}, kStateD.getTaps, state, taps);
}
ZQVAPI void zqvdFirSetDlyl(const double* dlyVals, ZqvFirState* state) noexcept {
  firhSetDlyl({"zqvdFirSetDlyl", kModule}, kStateD.setDlyl, dlyVals, state);
}
ZQVAPI int32_t zqvdFirGetDlyl(ZqvFirState* state, double* dlyVals) noexcept {
  return firhGetDlyl({"zqvdFirGetDlyl", kModule}, kStateD.getDlyl, state, dlyVals);
}

ZQVAPI int32_t zqvzFirSetTaps(const ZqvCplxD* taps, ZqvFirState* state) noexcept {
  return firhSetTaps({"zqvzFirSetTaps", kModule}, kStateZ.setTaps, taps, state);
}
ZQVAPI int32_t zqvzFirGetTaps(ZqvFirState* state, ZqvCplxD* taps) noexcept {
  return firhGetTaps({"zqvzFirGetTaps", kModule}, kStateZ.getTaps, state, taps);
}
ZQVAPI void zqvzFirSetDlyl(const ZqvCplxD* dlyVals, ZqvFirState* state) noexcept {
  firhSetDlyl({"zqvzFirSetDlyl", kModule}, kStateZ.setDlyl, dlyVals, state);
}
ZQVAPI int32_t zqvzFirGetDlyl(ZqvFirState* state, ZqvCplxD* dlyVals) noexcept {
  return firhGetDlyl({"zqvzFirGetDlyl", kModule}, kStateZ.getDlyl, state, dlyVals);
}

// Serves every member, the 16-bit ones too. Its reports have always named it
// "zqvFirzqvFree"; callers that filter reports may match on that.
ZQVAPI void zqvFirFree(ZqvFirState* state) noexcept {
  const ZqvSite where{"zqvFirzqvFree", kModule};
  if (refuse(where, {ZqvCheck{!state, "Null state pointer", 479},
                     ZqvCheck{!initialised(state), "Must have been initialized", 481}}))
    return;
  releaseRecord(state);
}
