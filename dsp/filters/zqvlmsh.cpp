// The LMS adaptive filter with one state: a record over a taps block and a
// line block of the general heap, steps with the caller's error or with a
// desired value (the error kept in the record), and the exchanges.
#include <cstdlib>

#include "filters/detail/zqvlmscore.h"

using namespace zqvlms;

namespace {

constexpr const char* kModule = "zqvlmsh";
constexpr const char* kTapsNotReady = "Taps state structure is not initialized";
constexpr const char* kLineNotReady = "Delay line state structure is not initialized";

inline ZqvSite high(const char* func) noexcept { return {func, kModule}; }

template <class O>
O& errRef(ZqvLmsState* st) noexcept {
  if constexpr (std::is_same_v<O, float>) return st->errVal.s;
  else if constexpr (std::is_same_v<O, double>) return st->errVal.d;
  else if constexpr (std::is_same_v<O, ZqvCplxS>) return st->errVal.c;
  else return st->errVal.z;
}

// Both blocks go back to the heap and their pointers and ready flags are
// cleared, so that no step accepts the record until the next Init.
void release(ZqvLmsState* st) noexcept {
  std::free(st->tapState.taps);
  std::free(st->dlyState.dlyl);
  st->tapState.taps = nullptr;
  st->dlyState.dlyl = nullptr;
  st->tapState.tapsReady = 0;
  st->dlyState.dlyReady = 0;
}

template <class S, class T>
void init(ZqvSite site, int32_t lmsType, const T* taps, int32_t tapsLen, const S* dlyl, float step, float leak,
          int32_t errDly, int32_t downFactor, int32_t downPhase, bool multiRate, ZqvLmsState* st) noexcept {
  // A negative error delay would leave a line shorter than the taps.
  if (zqvCheckFirst(site, {ZQV_CHECK(!st, kNullBuffer), ZQV_CHECK(tapsLen < 1, kBadLength),
                           ZQV_CHECK(errDly < 0, kBadErrDly),
                           ZQV_CHECK(multiRate && downPhase < 0, "Invalid phase value"),
                           ZQV_CHECK(multiRate && downFactor <= downPhase, kBadFactor)}))
    return;
  ZqvLmsTapState* ts = &st->tapState;
  ZqvLmsDlyState* ds = &st->dlyState;
  fillTapState(ts, nullptr, tapsLen, step, leak, errDly, downFactor, downPhase, lmsType);
  std::memset(static_cast<void*>(&st->errVal), 0, sizeof st->errVal);
  const int64_t dlyLen = int64_t{tapsLen} + errDly + (multiRate ? downFactor : 0);
  const bool describable = dlyLen <= INT32_MAX;
  ts->taps = describable ? std::malloc(static_cast<size_t>(tapsLen) * sizeof(T)) : nullptr;
  ds->dlyl = describable ? std::malloc(static_cast<size_t>(dlyLen) * sizeof(S)) : nullptr;
  ds->dlyLen = describable ? static_cast<int32_t>(dlyLen) : 0;
  ts->tapsReady = ts->taps ? 1 : 0;
  ds->dlyReady = ds->dlyl ? 1 : 0;
  if (!ts->taps || !ds->dlyl) {
    release(st);
    zqvError(ZQV_OUT_OF_MEMORY, site.func, "Problem to allocate memory", site.module, __LINE__);
    return;
  }
  ds->isAdaptive = 1;
  setTaps(taps, ts);
  setDlyl(dlyl, ds);
}

inline bool refuseRecord(ZqvSite site, const ZqvLmsState* st, const void* in = reinterpret_cast<const void*>(1)) noexcept {
  return zqvCheckFirst(site, {ZQV_CHECK(!st, kNullBuffer), ZQV_CHECK(!in, kNullBuffer),
                              ZQV_CHECK(st && st->tapState.tapsReady == 0, kTapsNotReady),
                              ZQV_CHECK(st && st->dlyState.dlyReady == 0, kLineNotReady)});
}

template <class S, class T, class O>
O lms(ZqvSite site, Gate gate, ZqvLmsState* st, S samp, O err) noexcept {
  if (refuseRecord(site, st) || refuseStep(site, &st->tapState, &st->dlyState, false)) return O{};
  return stepOne<S, T>(&st->tapState, &st->dlyState, samp, err, gate);
}

template <class S, class T, class O>
O blockLms(ZqvSite site, ZqvLmsState* st, const S* in, O err) noexcept {
  if (refuseRecord(site, st, in) || refuseStep(site, &st->tapState, &st->dlyState, true)) return O{};
  return stepBlock<S, T>(&st->tapState, &st->dlyState, in, err, Gate::Positive);
}

// The error of each output is applied at the next call, whatever the step.
template <class S, class T, class O>
O lmsDes(ZqvSite site, ZqvLmsState* st, S samp, O des) noexcept {
  if (refuseRecord(site, st) || refuseStep(site, &st->tapState, &st->dlyState, false)) return O{};
  O& e = errRef<O>(st);
  const O y = stepOne<S, T>(&st->tapState, &st->dlyState, samp, e, Gate::Always);
  e = narrow<O>(widen(des) - widen(y));
  return y;
}

template <class S, class T, class O>
void blockLmsDes(ZqvSite site, ZqvLmsState* st, const S* in, const O* des, O* out, int32_t numIters) noexcept {
  if (refuseRecord(site, st) ||
      zqvCheckFirst(site, {ZQV_CHECK(!in, kNullBuffer), ZQV_CHECK(!des, kNullBuffer), ZQV_CHECK(!out, kNullBuffer),
                           ZQV_CHECK(numIters < 1, "Bad value of number of iterations")}) ||
      refuseStep(site, &st->tapState, &st->dlyState, true))
    return;
  O& e = errRef<O>(st);
  if constexpr (kFloatMember<S, T, O>) {
    if (hasAvx2()) return floatBlockSteps(&st->tapState, &st->dlyState, in, des, out, numIters, &e, true);
  }
  const int64_t d = st->tapState.downFactor;
  for (int64_t k = 0; k < numIters; ++k) {
    out[k] = stepBlock<S, T>(&st->tapState, &st->dlyState, in + k * d, e, Gate::Always);
    e = narrow<O>(widen(des[k]) - widen(out[k]));
  }
}

template <class O>
O getErrVal(ZqvSite site, const ZqvLmsState* st) noexcept {
  if (zqvCheckFirst(site, {ZQV_CHECK(!st, kNullBuffer)})) return O{};
  return errRef<O>(const_cast<ZqvLmsState*>(st));
}

template <class O>
void setErrVal(ZqvSite site, O value, ZqvLmsState* st) noexcept {
  if (zqvCheckFirst(site, {ZQV_CHECK(!st, kNullBuffer)})) return;
  errRef<O>(st) = value;
}

// A released record has no blocks to exchange with.
template <class E>
void recordGetTaps(ZqvSite site, ZqvLmsState* st, E* out) noexcept {
  if (zqvCheckFirst(site, {ZQV_CHECK(!st || !out, kNullBuffer), ZQV_CHECK(st && !st->tapState.taps, kNullBuffer)})) return;
  getTaps(&st->tapState, out);
}

template <class E>
void recordSetTaps(ZqvSite site, const E* in, ZqvLmsState* st) noexcept {
  if (zqvCheckFirst(site, {ZQV_CHECK(!st, kNullBuffer), ZQV_CHECK(st && !st->tapState.taps, kNullBuffer)})) return;
  setTaps(in, &st->tapState);
}

template <class E>
void recordGetDlyl(ZqvSite site, ZqvLmsState* st, E* out) noexcept {
  if (zqvCheckFirst(site, {ZQV_CHECK(!st, kNullBuffer), ZQV_CHECK(!out, kNullBuffer),
                           ZQV_CHECK(st && !st->dlyState.dlyl, kNullBuffer)}))
    return;
  getDlyl(&st->dlyState, out);
}

template <class E>
void recordSetDlyl(ZqvSite site, const E* in, ZqvLmsState* st) noexcept {
  if (zqvCheckFirst(site, {ZQV_CHECK(!st, kNullBuffer), ZQV_CHECK(st && !st->dlyState.dlyl, kNullBuffer)})) return;
  setDlyl(in, &st->dlyState);
}

float getParam(ZqvSite site, const ZqvLmsState* st, bool leak) noexcept {
  if (zqvCheckFirst(site, {ZQV_CHECK(!st, kNullBuffer)})) return 0.0f;
  return leak ? st->tapState.leak : st->tapState.step.f;
}

void setParam(ZqvSite site, float value, ZqvLmsState* st, bool leak) noexcept {
  if (zqvCheckFirst(site, {ZQV_CHECK(!st, kNullBuffer)})) return;
  (leak ? st->tapState.leak : st->tapState.step.f) = value;
}

}  // namespace

ZQVAPI void zqvsLmsInit(int32_t lmsType, const float* taps, int32_t tapsLen, const float* dlyl, float step,
                          float leak, int32_t errDly, ZqvLmsState* statePtr) noexcept {
  init(high("zqvsLmsInit"), lmsType, taps, tapsLen, dlyl, step, leak, errDly, 1, 0, false, statePtr);
}
ZQVAPI void zqvdLmsInit(int32_t lmsType, const double* taps, int32_t tapsLen, const double* dlyl, float step,
                          float leak, int32_t errDly, ZqvLmsState* statePtr) noexcept {
  init(high("zqvdLmsInit"), lmsType, taps, tapsLen, dlyl, step, leak, errDly, 1, 0, false, statePtr);
}
ZQVAPI void zqvcLmsInit(int32_t lmsType, const ZqvCplxS* taps, int32_t tapsLen, const ZqvCplxS* dlyl, float step,
                          float leak, int32_t errDly, ZqvLmsState* statePtr) noexcept {
  init(high("zqvcLmsInit"), lmsType, taps, tapsLen, dlyl, step, leak, errDly, 1, 0, false, statePtr);
}
ZQVAPI void zqvzLmsInit(int32_t lmsType, const ZqvCplxD* taps, int32_t tapsLen, const ZqvCplxD* dlyl, float step,
                          float leak, int32_t errDly, ZqvLmsState* statePtr) noexcept {
  init(high("zqvzLmsInit"), lmsType, taps, tapsLen, dlyl, step, leak, errDly, 1, 0, false, statePtr);
}
ZQVAPI void zqvscLmsInit(int32_t lmsType, const ZqvCplxS* taps, int32_t tapsLen, const float* dlyl, float step,
                          float leak, int32_t errDly, ZqvLmsState* statePtr) noexcept {
  init(high("zqvscLmsInit"), lmsType, taps, tapsLen, dlyl, step, leak, errDly, 1, 0, false, statePtr);
}
ZQVAPI void zqvdzLmsInit(int32_t lmsType, const ZqvCplxD* taps, int32_t tapsLen, const double* dlyl, float step,
                          float leak, int32_t errDly, ZqvLmsState* statePtr) noexcept {
  init(high("zqvdzLmsInit"), lmsType, taps, tapsLen, dlyl, step, leak, errDly, 1, 0, false, statePtr);
}
ZQVAPI void zqvsLmsInitMr(int32_t lmsType, const float* taps, int32_t tapsLen, const float* dlyl, float step,
                            float leak, int32_t errDly, int32_t downFactor, int32_t downPhase,
                            ZqvLmsState* statePtr) noexcept {
  init(high("zqvsLmsInitMr"), lmsType, taps, tapsLen, dlyl, step, leak, errDly, downFactor, downPhase, true, statePtr);
}
ZQVAPI void zqvdLmsInitMr(int32_t lmsType, const double* taps, int32_t tapsLen, const double* dlyl, float step,
                            float leak, int32_t errDly, int32_t downFactor, int32_t downPhase,
                            ZqvLmsState* statePtr) noexcept {
  init(high("zqvdLmsInitMr"), lmsType, taps, tapsLen, dlyl, step, leak, errDly, downFactor, downPhase, true, statePtr);
}
ZQVAPI void zqvcLmsInitMr(int32_t lmsType, const ZqvCplxS* taps, int32_t tapsLen, const ZqvCplxS* dlyl, float step,
                            float leak, int32_t errDly, int32_t downFactor, int32_t downPhase,
                            ZqvLmsState* statePtr) noexcept {
  init(high("zqvcLmsInitMr"), lmsType, taps, tapsLen, dlyl, step, leak, errDly, downFactor, downPhase, true, statePtr);
}
ZQVAPI void zqvzLmsInitMr(int32_t lmsType, const ZqvCplxD* taps, int32_t tapsLen, const ZqvCplxD* dlyl, float step,
                            float leak, int32_t errDly, int32_t downFactor, int32_t downPhase,
                            ZqvLmsState* statePtr) noexcept {
  init(high("zqvzLmsInitMr"), lmsType, taps, tapsLen, dlyl, step, leak, errDly, downFactor, downPhase, true, statePtr);
}
ZQVAPI void zqvscLmsInitMr(int32_t lmsType, const ZqvCplxS* taps, int32_t tapsLen, const float* dlyl, float step,
                            float leak, int32_t errDly, int32_t downFactor, int32_t downPhase,
                            ZqvLmsState* statePtr) noexcept {
  init(high("zqvscLmsInitMr"), lmsType, taps, tapsLen, dlyl, step, leak, errDly, downFactor, downPhase, true, statePtr);
}
ZQVAPI void zqvdzLmsInitMr(int32_t lmsType, const ZqvCplxD* taps, int32_t tapsLen, const double* dlyl, float step,
                            float leak, int32_t errDly, int32_t downFactor, int32_t downPhase,
                            ZqvLmsState* statePtr) noexcept {
  init(high("zqvdzLmsInitMr"), lmsType, taps, tapsLen, dlyl, step, leak, errDly, downFactor, downPhase, true, statePtr);
}

ZQVAPI void zqvLmsFree(ZqvLmsState* statePtr) noexcept {
  if (zqvCheckFirst(high("zqvLmsFree"), {ZQV_CHECK(!statePtr, kNullBuffer)})) return;
  release(statePtr);
}

ZQVAPI float zqvsLms(ZqvLmsState* statePtr, float samp, float err) noexcept {
  return lms<float, float>(high("zqvsLms"), Gate::AnyBits, statePtr, samp, err);
}
ZQVAPI double zqvdLms(ZqvLmsState* statePtr, double samp, double err) noexcept {
  return lms<double, double>(high("zqvdLms"), Gate::Positive, statePtr, samp, err);
}
ZQVAPI ZqvCplxS zqvcLms(ZqvLmsState* statePtr, ZqvCplxS samp, ZqvCplxS err) noexcept {
  return lms<ZqvCplxS, ZqvCplxS>(high("zqvcLms"), Gate::Positive, statePtr, samp, err);
}
ZQVAPI ZqvCplxD zqvzLms(ZqvLmsState* statePtr, ZqvCplxD samp, ZqvCplxD err) noexcept {
  return lms<ZqvCplxD, ZqvCplxD>(high("zqvzLms"), Gate::Positive, statePtr, samp, err);
}
ZQVAPI ZqvCplxS zqvscLms(ZqvLmsState* statePtr, float samp, ZqvCplxS err) noexcept {
  return lms<float, ZqvCplxS>(high("zqvscLms"), Gate::Positive, statePtr, samp, err);
}
ZQVAPI ZqvCplxD zqvdzLms(ZqvLmsState* statePtr, double samp, ZqvCplxD err) noexcept {
  return lms<double, ZqvCplxD>(high("zqvdzLms"), Gate::Positive, statePtr, samp, err);
}
ZQVAPI float zqvsbLms(ZqvLmsState* statePtr, const float* inSamps, float err) noexcept {
  return blockLms<float, float>(high("zqvsbLms"), statePtr, inSamps, err);
}
ZQVAPI double zqvdbLms(ZqvLmsState* statePtr, const double* inSamps, double err) noexcept {
  return blockLms<double, double>(high("zqvdbLms"), statePtr, inSamps, err);
}
ZQVAPI ZqvCplxS zqvcbLms(ZqvLmsState* statePtr, const ZqvCplxS* inSamps, ZqvCplxS err) noexcept {
  return blockLms<ZqvCplxS, ZqvCplxS>(high("zqvcbLms"), statePtr, inSamps, err);
}
ZQVAPI ZqvCplxD zqvzbLms(ZqvLmsState* statePtr, const ZqvCplxD* inSamps, ZqvCplxD err) noexcept {
  return blockLms<ZqvCplxD, ZqvCplxD>(high("zqvzbLms"), statePtr, inSamps, err);
}
ZQVAPI ZqvCplxS zqvscbLms(ZqvLmsState* statePtr, const float* inSamps, ZqvCplxS err) noexcept {
  return blockLms<float, ZqvCplxS>(high("zqvscbLms"), statePtr, inSamps, err);
}
ZQVAPI ZqvCplxD zqvdzbLms(ZqvLmsState* statePtr, const double* inSamps, ZqvCplxD err) noexcept {
  return blockLms<double, ZqvCplxD>(high("zqvdzbLms"), statePtr, inSamps, err);
}
ZQVAPI float zqvsLmsDes(ZqvLmsState* statePtr, float samp, float des) noexcept {
  return lmsDes<float, float>(high("zqvsLmsDes"), statePtr, samp, des);
}
ZQVAPI double zqvdLmsDes(ZqvLmsState* statePtr, double samp, double des) noexcept {
  return lmsDes<double, double>(high("zqvdLmsDes"), statePtr, samp, des);
}
ZQVAPI ZqvCplxS zqvcLmsDes(ZqvLmsState* statePtr, ZqvCplxS samp, ZqvCplxS des) noexcept {
  return lmsDes<ZqvCplxS, ZqvCplxS>(high("zqvcLmsDes"), statePtr, samp, des);
}
ZQVAPI ZqvCplxD zqvzLmsDes(ZqvLmsState* statePtr, ZqvCplxD samp, ZqvCplxD des) noexcept {
  return lmsDes<ZqvCplxD, ZqvCplxD>(high("zqvzLmsDes"), statePtr, samp, des);
}
ZQVAPI ZqvCplxS zqvscLmsDes(ZqvLmsState* statePtr, float samp, ZqvCplxS des) noexcept {
  return lmsDes<float, ZqvCplxS>(high("zqvscLmsDes"), statePtr, samp, des);
}
ZQVAPI ZqvCplxD zqvdzLmsDes(ZqvLmsState* statePtr, double samp, ZqvCplxD des) noexcept {
  return lmsDes<double, ZqvCplxD>(high("zqvdzLmsDes"), statePtr, samp, des);
}
ZQVAPI void zqvsbLmsDes(ZqvLmsState* statePtr, const float* inSamps, const float* desSamps, float* outSamps,
                            int32_t numIters) noexcept {
  blockLmsDes<float, float>(high("zqvsbLmsDes"), statePtr, inSamps, desSamps, outSamps, numIters);
}
ZQVAPI void zqvdbLmsDes(ZqvLmsState* statePtr, const double* inSamps, const double* desSamps, double* outSamps,
                            int32_t numIters) noexcept {
  blockLmsDes<double, double>(high("zqvdbLmsDes"), statePtr, inSamps, desSamps, outSamps, numIters);
}
ZQVAPI void zqvcbLmsDes(ZqvLmsState* statePtr, const ZqvCplxS* inSamps, const ZqvCplxS* desSamps, ZqvCplxS* outSamps,
                            int32_t numIters) noexcept {
  blockLmsDes<ZqvCplxS, ZqvCplxS>(high("zqvcbLmsDes"), statePtr, inSamps, desSamps, outSamps, numIters);
}
ZQVAPI void zqvzbLmsDes(ZqvLmsState* statePtr, const ZqvCplxD* inSamps, const ZqvCplxD* desSamps, ZqvCplxD* outSamps,
                            int32_t numIters) noexcept {
  blockLmsDes<ZqvCplxD, ZqvCplxD>(high("zqvzbLmsDes"), statePtr, inSamps, desSamps, outSamps, numIters);
}
ZQVAPI void zqvscbLmsDes(ZqvLmsState* statePtr, const float* inSamps, const ZqvCplxS* desSamps, ZqvCplxS* outSamps,
                            int32_t numIters) noexcept {
  blockLmsDes<float, ZqvCplxS>(high("zqvscbLmsDes"), statePtr, inSamps, desSamps, outSamps, numIters);
}
ZQVAPI void zqvdzbLmsDes(ZqvLmsState* statePtr, const double* inSamps, const ZqvCplxD* desSamps, ZqvCplxD* outSamps,
                            int32_t numIters) noexcept {
  blockLmsDes<double, ZqvCplxD>(high("zqvdzbLmsDes"), statePtr, inSamps, desSamps, outSamps, numIters);
}

ZQVAPI float zqvsLmsGetErrVal(const ZqvLmsState* statePtr) noexcept { return getErrVal<float>(high("zqvsLmsGetErrVal"), statePtr); }
ZQVAPI double zqvdLmsGetErrVal(const ZqvLmsState* statePtr) noexcept { return getErrVal<double>(high("zqvdLmsGetErrVal"), statePtr); }
ZQVAPI ZqvCplxS zqvcLmsGetErrVal(const ZqvLmsState* statePtr) noexcept { return getErrVal<ZqvCplxS>(high("zqvcLmsGetErrVal"), statePtr); }
ZQVAPI ZqvCplxD zqvzLmsGetErrVal(const ZqvLmsState* statePtr) noexcept { return getErrVal<ZqvCplxD>(high("zqvzLmsGetErrVal"), statePtr); }
ZQVAPI void zqvsLmsSetErrVal(float value, ZqvLmsState* statePtr) noexcept { setErrVal(high("zqvsLmsSetErrVal"), value, statePtr); }
ZQVAPI void zqvdLmsSetErrVal(double value, ZqvLmsState* statePtr) noexcept { setErrVal(high("zqvdLmsSetErrVal"), value, statePtr); }
ZQVAPI void zqvcLmsSetErrVal(ZqvCplxS value, ZqvLmsState* statePtr) noexcept { setErrVal(high("zqvcLmsSetErrVal"), value, statePtr); }
ZQVAPI void zqvzLmsSetErrVal(ZqvCplxD value, ZqvLmsState* statePtr) noexcept { setErrVal(high("zqvzLmsSetErrVal"), value, statePtr); }
ZQVAPI void zqvsLmsGetTaps(ZqvLmsState* statePtr, float* outTaps) noexcept { recordGetTaps(high("zqvsLmsGetTaps"), statePtr, outTaps); }
ZQVAPI void zqvdLmsGetTaps(ZqvLmsState* statePtr, double* outTaps) noexcept { recordGetTaps(high("zqvdLmsGetTaps"), statePtr, outTaps); }
ZQVAPI void zqvcLmsGetTaps(ZqvLmsState* statePtr, ZqvCplxS* outTaps) noexcept { recordGetTaps(high("zqvcLmsGetTaps"), statePtr, outTaps); }
ZQVAPI void zqvzLmsGetTaps(ZqvLmsState* statePtr, ZqvCplxD* outTaps) noexcept { recordGetTaps(high("zqvzLmsGetTaps"), statePtr, outTaps); }
ZQVAPI void zqvsLmsSetTaps(const float* inTaps, ZqvLmsState* statePtr) noexcept { recordSetTaps(high("zqvsLmsSetTaps"), inTaps, statePtr); }
ZQVAPI void zqvdLmsSetTaps(const double* inTaps, ZqvLmsState* statePtr) noexcept { recordSetTaps(high("zqvdLmsSetTaps"), inTaps, statePtr); }
ZQVAPI void zqvcLmsSetTaps(const ZqvCplxS* inTaps, ZqvLmsState* statePtr) noexcept { recordSetTaps(high("zqvcLmsSetTaps"), inTaps, statePtr); }
ZQVAPI void zqvzLmsSetTaps(const ZqvCplxD* inTaps, ZqvLmsState* statePtr) noexcept { recordSetTaps(high("zqvzLmsSetTaps"), inTaps, statePtr); }
ZQVAPI void zqvsLmsGetDlyl(ZqvLmsState* statePtr, float* outDlyl) noexcept { recordGetDlyl(high("zqvsLmsGetDlyl"), statePtr, outDlyl); }
ZQVAPI void zqvdLmsGetDlyl(ZqvLmsState* statePtr, double* outDlyl) noexcept { recordGetDlyl(high("zqvdLmsGetDlyl"), statePtr, outDlyl); }
ZQVAPI void zqvcLmsGetDlyl(ZqvLmsState* statePtr, ZqvCplxS* outDlyl) noexcept { recordGetDlyl(high("zqvcLmsGetDlyl"), statePtr, outDlyl); }
ZQVAPI void zqvzLmsGetDlyl(ZqvLmsState* statePtr, ZqvCplxD* outDlyl) noexcept { recordGetDlyl(high("zqvzLmsGetDlyl"), statePtr, outDlyl); }
ZQVAPI void zqvsLmsSetDlyl(const float* inDlyl, ZqvLmsState* statePtr) noexcept { recordSetDlyl(high("zqvsLmsSetDlyl"), inDlyl, statePtr); }
ZQVAPI void zqvdLmsSetDlyl(const double* inDlyl, ZqvLmsState* statePtr) noexcept { recordSetDlyl(high("zqvdLmsSetDlyl"), inDlyl, statePtr); }
ZQVAPI void zqvcLmsSetDlyl(const ZqvCplxS* inDlyl, ZqvLmsState* statePtr) noexcept { recordSetDlyl(high("zqvcLmsSetDlyl"), inDlyl, statePtr); }
ZQVAPI void zqvzLmsSetDlyl(const ZqvCplxD* inDlyl, ZqvLmsState* statePtr) noexcept { recordSetDlyl(high("zqvzLmsSetDlyl"), inDlyl, statePtr); }

// The accessors of every type: they check only that there is a record.
ZQVAPI float zqvsLmsGetStep(const ZqvLmsState* statePtr) noexcept { return getParam(high("zqvsLmsGetStep"), statePtr, false); }
ZQVAPI float zqvsLmsGetLeak(const ZqvLmsState* statePtr) noexcept { return getParam(high("zqvsLmsGetLeak"), statePtr, true); }
ZQVAPI void zqvsLmsSetStep(float step, ZqvLmsState* statePtr) noexcept { setParam(high("zqvsLmsSetStep"), step, statePtr, false); }
ZQVAPI void zqvsLmsSetLeak(float leak, ZqvLmsState* statePtr) noexcept { setParam(high("zqvsLmsSetLeak"), leak, statePtr, true); }
