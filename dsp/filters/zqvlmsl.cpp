// The LMS adaptive filter at its low level: caller-owned taps, line and
// states; adapting steps of every type, the filter-only steps over the
// low-level FIR, and the 16-bit fixed-point step.
#include "filters/detail/zqvlmscore.h"

using namespace zqvlms;

namespace {

inline ZqvSite low(const char* func) noexcept { return {func, kLowModule}; }

template <class E>
void init(ZqvSite site, int32_t lmsType, E* taps, int32_t tapsLen, float step, float leak, int32_t errDly,
          ZqvLmsTapState* ts) noexcept {
  lowInit(site, lmsType, taps, tapsLen, step, leak, errDly, 1, 0, false, ts);
}

template <class E>
void initMr(ZqvSite site, int32_t lmsType, E* taps, int32_t tapsLen, float step, float leak, int32_t errDly,
            int32_t downFactor, int32_t downPhase, ZqvLmsTapState* ts) noexcept {
  lowInit(site, lmsType, taps, tapsLen, step, leak, errDly, downFactor, downPhase, true, ts);
}

float getParam(ZqvSite site, const ZqvLmsTapState* ts, float ZqvLmsTapState::*field) noexcept {
  if (zqvCheckFirst(site, {ZQV_CHECK(!ts, kNullBuffer)})) return 0.0f;
  return ts->*field;
}

void setParam(ZqvSite site, float value, ZqvLmsTapState* ts, float ZqvLmsTapState::*field) noexcept {
  if (zqvCheckFirst(site, {ZQV_CHECK(!ts, kNullBuffer)})) return;
  ts->*field = value;
}

float getStep(ZqvSite site, const ZqvLmsTapState* ts) noexcept {
  if (zqvCheckFirst(site, {ZQV_CHECK(!ts, kNullBuffer)})) return 0.0f;
  return ts->step.f;
}

void setStep(ZqvSite site, float value, ZqvLmsTapState* ts) noexcept {
  if (zqvCheckFirst(site, {ZQV_CHECK(!ts, kNullBuffer)})) return;
  ts->step.f = value;
}

// A state whose array is gone (never bound, or released) is refused like a
// missing state.
template <class E>
void getTapsChecked(ZqvSite site, ZqvLmsTapState* ts, E* out) noexcept {
  if (zqvCheckFirst(site, {ZQV_CHECK(!ts, kNullBuffer), ZQV_CHECK(!out, kNullBuffer),
                           ZQV_CHECK(ts && !ts->taps, kNullBuffer)}))
    return;
  getTaps(ts, out);
}

template <class E>
void setTapsChecked(ZqvSite site, const E* in, ZqvLmsTapState* ts) noexcept {
  if (zqvCheckFirst(site, {ZQV_CHECK(!ts, kNullBuffer), ZQV_CHECK(ts && !ts->taps, kNullBuffer)})) return;
  setTaps(in, ts);
}

template <class E>
void getDlylChecked(ZqvSite site, const ZqvLmsTapState* ts, ZqvLmsDlyState* ds, E* out) noexcept {
  if (zqvCheckFirst(site, {ZQV_CHECK(!ts, kNullBuffer), ZQV_CHECK(!ds, kNullBuffer), ZQV_CHECK(!out, kNullBuffer),
                           ZQV_CHECK(ds && !ds->dlyl, kNullBuffer)}))
    return;
  getDlyl(ds, out);
}

template <class E>
void setDlylChecked(ZqvSite site, const ZqvLmsTapState* ts, const E* in, ZqvLmsDlyState* ds) noexcept {
  if (zqvCheckFirst(site, {ZQV_CHECK(!ts, kNullBuffer), ZQV_CHECK(!ds, kNullBuffer),
                           ZQV_CHECK(ds && !ds->dlyl, kNullBuffer)}))
    return;
  setDlyl(in, ds);
}

template <class S, class T, class O>
O lms(ZqvSite site, Gate gate, const ZqvLmsTapState* ts, ZqvLmsDlyState* ds, S samp, O err) noexcept {
  if (refuseStep(site, ts, ds, false)) return O{};
  return stepOne<S, T>(ts, ds, samp, err, gate);
}

template <class S, class T, class O>
O blockLms(ZqvSite site, const ZqvLmsTapState* ts, ZqvLmsDlyState* ds, const S* in, O err) noexcept {
  if (refuseStep(site, ts, ds, true, in)) return O{};
  return stepBlock<S, T>(ts, ds, in, err, Gate::Positive);
}

// The filter-only steps see the line as the FIR does: as long as the taps.
// Values beyond the taps (an adaptive or multi-rate line) are moved along
// here, so the whole line stays in order for the adapting steps.
inline ZqvFirTapState firTaps(const ZqvLmsTapState* ts) noexcept {
  return {ts->taps, ts->tapsLen, ts->upFactor, ts->upPhase, ts->downFactor, ts->downPhase, ts->isMultiRate,
          ts->tapsReady};
}

inline ZqvFirDlyState firLine(const ZqvLmsTapState* ts, const ZqvLmsDlyState* ds) noexcept {
  return {ds->dlyl, std::min(ds->dlyLen, ts->tapsLen), ds->dlyReady};
}

// Moves the part of the line beyond the taps along by n inputs (in[n - 1]
// the newest), before the FIR overwrites the part it sees.
template <class S>
void advanceTail(S* x, int64_t len, int64_t tapsLen, const S* in, int64_t n) noexcept {
  for (int64_t k = len - 1; k >= tapsLen; --k) x[k] = k - n >= 0 ? x[k - n] : in[n - 1 - k];
}

template <class S, class T, class O>
O filterOnly(ZqvSite site, O (*firl)(const ZqvFirTapState*, ZqvFirDlyState*, S), const ZqvLmsTapState* ts,
             ZqvLmsDlyState* ds, S samp) noexcept {
  if (zqvCheckFirst(site, {ZQV_CHECK(!ds, kNullBuffer), ZQV_CHECK(!ts, kNullBuffer),
                           ZQV_CHECK(ts && ds && (!ts->taps || !ds->dlyl), kNullBuffer)}))
    return O{};
  const ZqvFirTapState fts = firTaps(ts);
  ZqvFirDlyState fds = firLine(ts, ds);
  advanceTail(static_cast<S*>(ds->dlyl), ds->dlyLen, ts->tapsLen, &samp, 1);
  return firl(&fts, &fds, samp);
}

template <class S, class T, class O>
int32_t filterOnlyBlock(ZqvSite site, int32_t (*bfirl)(const ZqvFirTapState*, ZqvFirDlyState*, const S*, O*, int32_t),
                        const ZqvLmsTapState* ts, ZqvLmsDlyState* ds, const S* in, O* out, int32_t numIters) noexcept {
  int32_t answer = 0;
  if (reportFirst(site, {ZQV_CHECK(!ds, kNullBuffer), ZQV_CHECK(!ts, kNullBuffer), ZQV_CHECK(!out, kNullBuffer),
                         ZQV_CHECK(!in, kNullBuffer), ZQV_CHECK(ts && ds && (!ts->taps || !ds->dlyl), kNullBuffer),
                         ZQV_CHECK(numIters < 1, kBadLength)},
                  &answer))
    return answer;
  const ZqvFirTapState fts = firTaps(ts);
  ZqvFirDlyState fds = firLine(ts, ds);
  // Only a call the FIR will run moves the tail.
  if (fts.filterMode == 1 && fds.filterMode == 1)
    advanceTail(static_cast<S*>(ds->dlyl), ds->dlyLen, ts->tapsLen, in, int64_t{numIters} * std::max(ts->downFactor, 1));
  return bfirl(&fts, &fds, in, out, numIters);
}

// ---- 16-bit: wrapping int32 arithmetic, as the fixed-point form defines it.

inline int32_t wrap(int64_t v) noexcept { return static_cast<int32_t>(static_cast<uint32_t>(static_cast<uint64_t>(v))); }

int16_t lmsW(ZqvSite site, const ZqvLmsTapState* ts, ZqvLmsDlyState* ds, int16_t samp, int16_t err) noexcept {
  if (refuseStep(site, ts, ds, false)) return 0;
  auto* h = static_cast<int32_t*>(ts->taps);
  auto* x = static_cast<int16_t*>(ds->dlyl);
  const int64_t n = ts->tapsLen, e = ts->errDly;
  const int32_t g = wrap(int64_t{err} * ts->step.w);
  if (g != 0)
    for (int64_t i = 0; i < n; ++i) h[i] = wrap(int64_t{h[i]} + int64_t{x[i + e]} * g);
  pushOne(x, ds->dlyLen, samp);
  int32_t acc = 0;
  for (int64_t i = 0; i < n; ++i) acc = wrap(int64_t{acc} + int64_t{x[i]} * h[i]);
  const int32_t rounded = wrap(int64_t{acc} + 4096);
  return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(rounded >> 13)));
}

}  // namespace

ZQVAPI void zqvsLmslInit(int32_t lmsType, float* taps, int32_t tapsLen, float step, float leak, int32_t errDly,
                           ZqvLmsTapState* tapStPtr) noexcept {
  init(low("zqvsLmslInit"), lmsType, taps, tapsLen, step, leak, errDly, tapStPtr);
}
ZQVAPI void zqvdLmslInit(int32_t lmsType, double* taps, int32_t tapsLen, float step, float leak, int32_t errDly,
                           ZqvLmsTapState* tapStPtr) noexcept {
  init(low("zqvdLmslInit"), lmsType, taps, tapsLen, step, leak, errDly, tapStPtr);
}
ZQVAPI void zqvcLmslInit(int32_t lmsType, ZqvCplxS* taps, int32_t tapsLen, float step, float leak, int32_t errDly,
                           ZqvLmsTapState* tapStPtr) noexcept {
  init(low("zqvcLmslInit"), lmsType, taps, tapsLen, step, leak, errDly, tapStPtr);
}
ZQVAPI void zqvzLmslInit(int32_t lmsType, ZqvCplxD* taps, int32_t tapsLen, float step, float leak, int32_t errDly,
                           ZqvLmsTapState* tapStPtr) noexcept {
  init(low("zqvzLmslInit"), lmsType, taps, tapsLen, step, leak, errDly, tapStPtr);
}
ZQVAPI void zqvsLmslInitMr(int32_t lmsType, float* taps, int32_t tapsLen, float step, float leak, int32_t errDly,
                             int32_t downFactor, int32_t downPhase, ZqvLmsTapState* tapStPtr) noexcept {
  initMr(low("zqvsLmslInitMr"), lmsType, taps, tapsLen, step, leak, errDly, downFactor, downPhase, tapStPtr);
}
ZQVAPI void zqvdLmslInitMr(int32_t lmsType, double* taps, int32_t tapsLen, float step, float leak, int32_t errDly,
                             int32_t downFactor, int32_t downPhase, ZqvLmsTapState* tapStPtr) noexcept {
  initMr(low("zqvdLmslInitMr"), lmsType, taps, tapsLen, step, leak, errDly, downFactor, downPhase, tapStPtr);
}
ZQVAPI void zqvcLmslInitMr(int32_t lmsType, ZqvCplxS* taps, int32_t tapsLen, float step, float leak, int32_t errDly,
                             int32_t downFactor, int32_t downPhase, ZqvLmsTapState* tapStPtr) noexcept {
  initMr(low("zqvcLmslInitMr"), lmsType, taps, tapsLen, step, leak, errDly, downFactor, downPhase, tapStPtr);
}
ZQVAPI void zqvzLmslInitMr(int32_t lmsType, ZqvCplxD* taps, int32_t tapsLen, float step, float leak, int32_t errDly,
                             int32_t downFactor, int32_t downPhase, ZqvLmsTapState* tapStPtr) noexcept {
  initMr(low("zqvzLmslInitMr"), lmsType, taps, tapsLen, step, leak, errDly, downFactor, downPhase, tapStPtr);
}
ZQVAPI void zqvsLmslInitDlyl(const ZqvLmsTapState* tapStPtr, float* dlyl, int32_t isAdaptive,
                               ZqvLmsDlyState* dlyStPtr) noexcept {
  lowInitDlyl(low("zqvsLmslInitDlyl"), tapStPtr, dlyl, isAdaptive, dlyStPtr);
}
ZQVAPI void zqvdLmslInitDlyl(const ZqvLmsTapState* tapStPtr, double* dlyl, int32_t isAdaptive,
                               ZqvLmsDlyState* dlyStPtr) noexcept {
  lowInitDlyl(low("zqvdLmslInitDlyl"), tapStPtr, dlyl, isAdaptive, dlyStPtr);
}
ZQVAPI void zqvcLmslInitDlyl(const ZqvLmsTapState* tapStPtr, ZqvCplxS* dlyl, int32_t isAdaptive,
                               ZqvLmsDlyState* dlyStPtr) noexcept {
  lowInitDlyl(low("zqvcLmslInitDlyl"), tapStPtr, dlyl, isAdaptive, dlyStPtr);
}
ZQVAPI void zqvzLmslInitDlyl(const ZqvLmsTapState* tapStPtr, ZqvCplxD* dlyl, int32_t isAdaptive,
                               ZqvLmsDlyState* dlyStPtr) noexcept {
  lowInitDlyl(low("zqvzLmslInitDlyl"), tapStPtr, dlyl, isAdaptive, dlyStPtr);
}

ZQVAPI float zqvsLmslGetStep(const ZqvLmsTapState* tapStPtr) noexcept { return getStep(low("zqvsLmslGetStep"), tapStPtr); }
ZQVAPI float zqvsLmslGetLeak(const ZqvLmsTapState* tapStPtr) noexcept {
  return getParam(low("zqvsLmslGetLeak"), tapStPtr, &ZqvLmsTapState::leak);
}
ZQVAPI void zqvsLmslSetStep(float step, ZqvLmsTapState* tapStPtr) noexcept { setStep(low("zqvsLmslSetStep"), step, tapStPtr); }
ZQVAPI void zqvsLmslSetLeak(float leak, ZqvLmsTapState* tapStPtr) noexcept {
  setParam(low("zqvsLmslSetLeak"), leak, tapStPtr, &ZqvLmsTapState::leak);
}

ZQVAPI void zqvsLmslGetTaps(ZqvLmsTapState* tapStPtr, float* outTaps) noexcept {
  getTapsChecked(low("zqvsLmslGetTaps"), tapStPtr, outTaps);
}
ZQVAPI void zqvdLmslGetTaps(ZqvLmsTapState* tapStPtr, double* outTaps) noexcept {
  getTapsChecked(low("zqvdLmslGetTaps"), tapStPtr, outTaps);
}
ZQVAPI void zqvcLmslGetTaps(ZqvLmsTapState* tapStPtr, ZqvCplxS* outTaps) noexcept {
  getTapsChecked(low("zqvcLmslGetTaps"), tapStPtr, outTaps);
}
ZQVAPI void zqvzLmslGetTaps(ZqvLmsTapState* tapStPtr, ZqvCplxD* outTaps) noexcept {
  getTapsChecked(low("zqvzLmslGetTaps"), tapStPtr, outTaps);
}
ZQVAPI void zqvsLmslSetTaps(const float* inTaps, ZqvLmsTapState* tapStPtr) noexcept {
  setTapsChecked(low("zqvsLmslSetTaps"), inTaps, tapStPtr);
}
ZQVAPI void zqvdLmslSetTaps(const double* inTaps, ZqvLmsTapState* tapStPtr) noexcept {
  setTapsChecked(low("zqvdLmslSetTaps"), inTaps, tapStPtr);
}
ZQVAPI void zqvcLmslSetTaps(const ZqvCplxS* inTaps, ZqvLmsTapState* tapStPtr) noexcept {
  setTapsChecked(low("zqvcLmslSetTaps"), inTaps, tapStPtr);
}
ZQVAPI void zqvzLmslSetTaps(const ZqvCplxD* inTaps, ZqvLmsTapState* tapStPtr) noexcept {
  setTapsChecked(low("zqvzLmslSetTaps"), inTaps, tapStPtr);
}
ZQVAPI void zqvsLmslGetDlyl(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, float* outDlyl) noexcept {
  getDlylChecked(low("zqvsLmslGetDlyl"), tapStPtr, dlyStPtr, outDlyl);
}
ZQVAPI void zqvdLmslGetDlyl(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, double* outDlyl) noexcept {
  getDlylChecked(low("zqvdLmslGetDlyl"), tapStPtr, dlyStPtr, outDlyl);
}
ZQVAPI void zqvcLmslGetDlyl(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, ZqvCplxS* outDlyl) noexcept {
  getDlylChecked(low("zqvcLmslGetDlyl"), tapStPtr, dlyStPtr, outDlyl);
}
ZQVAPI void zqvzLmslGetDlyl(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, ZqvCplxD* outDlyl) noexcept {
  getDlylChecked(low("zqvzLmslGetDlyl"), tapStPtr, dlyStPtr, outDlyl);
}
ZQVAPI void zqvsLmslSetDlyl(const ZqvLmsTapState* tapStPtr, const float* inDlyl, ZqvLmsDlyState* dlyStPtr) noexcept {
  setDlylChecked(low("zqvsLmslSetDlyl"), tapStPtr, inDlyl, dlyStPtr);
}
ZQVAPI void zqvdLmslSetDlyl(const ZqvLmsTapState* tapStPtr, const double* inDlyl, ZqvLmsDlyState* dlyStPtr) noexcept {
  setDlylChecked(low("zqvdLmslSetDlyl"), tapStPtr, inDlyl, dlyStPtr);
}
ZQVAPI void zqvcLmslSetDlyl(const ZqvLmsTapState* tapStPtr, const ZqvCplxS* inDlyl, ZqvLmsDlyState* dlyStPtr) noexcept {
  setDlylChecked(low("zqvcLmslSetDlyl"), tapStPtr, inDlyl, dlyStPtr);
}
ZQVAPI void zqvzLmslSetDlyl(const ZqvLmsTapState* tapStPtr, const ZqvCplxD* inDlyl, ZqvLmsDlyState* dlyStPtr) noexcept {
  setDlylChecked(low("zqvzLmslSetDlyl"), tapStPtr, inDlyl, dlyStPtr);
}

ZQVAPI float zqvsLmsl(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, float samp, float err) noexcept {
  return lms<float, float>(low("zqvsLmsl"), Gate::AnyBits, tapStPtr, dlyStPtr, samp, err);
}
ZQVAPI double zqvdLmsl(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, double samp, double err) noexcept {
  return lms<double, double>(low("zqvdLmsl"), Gate::Positive, tapStPtr, dlyStPtr, samp, err);
}
ZQVAPI ZqvCplxS zqvcLmsl(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, ZqvCplxS samp, ZqvCplxS err) noexcept {
  return lms<ZqvCplxS, ZqvCplxS>(low("zqvcLmsl"), Gate::Positive, tapStPtr, dlyStPtr, samp, err);
}
ZQVAPI ZqvCplxD zqvzLmsl(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, ZqvCplxD samp, ZqvCplxD err) noexcept {
  return lms<ZqvCplxD, ZqvCplxD>(low("zqvzLmsl"), Gate::Positive, tapStPtr, dlyStPtr, samp, err);
}
ZQVAPI ZqvCplxS zqvscLmsl(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, float samp, ZqvCplxS err) noexcept {
  return lms<float, ZqvCplxS>(low("zqvscLmsl"), Gate::Positive, tapStPtr, dlyStPtr, samp, err);
}
ZQVAPI ZqvCplxD zqvdzLmsl(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, double samp, ZqvCplxD err) noexcept {
  return lms<double, ZqvCplxD>(low("zqvdzLmsl"), Gate::Positive, tapStPtr, dlyStPtr, samp, err);
}
ZQVAPI float zqvsbLmsl(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, const float* inSamps,
                           float err) noexcept {
  return blockLms<float, float>(low("zqvsbLmsl"), tapStPtr, dlyStPtr, inSamps, err);
}
ZQVAPI double zqvdbLmsl(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, const double* inSamps,
                           double err) noexcept {
  return blockLms<double, double>(low("zqvdbLmsl"), tapStPtr, dlyStPtr, inSamps, err);
}
ZQVAPI ZqvCplxS zqvcbLmsl(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, const ZqvCplxS* inSamps,
                           ZqvCplxS err) noexcept {
  return blockLms<ZqvCplxS, ZqvCplxS>(low("zqvcbLmsl"), tapStPtr, dlyStPtr, inSamps, err);
}
ZQVAPI ZqvCplxD zqvzbLmsl(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, const ZqvCplxD* inSamps,
                           ZqvCplxD err) noexcept {
  return blockLms<ZqvCplxD, ZqvCplxD>(low("zqvzbLmsl"), tapStPtr, dlyStPtr, inSamps, err);
}
ZQVAPI ZqvCplxS zqvscbLmsl(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, const float* inSamps,
                           ZqvCplxS err) noexcept {
  return blockLms<float, ZqvCplxS>(low("zqvscbLmsl"), tapStPtr, dlyStPtr, inSamps, err);
}
ZQVAPI ZqvCplxD zqvdzbLmsl(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, const double* inSamps,
                           ZqvCplxD err) noexcept {
  return blockLms<double, ZqvCplxD>(low("zqvdzbLmsl"), tapStPtr, dlyStPtr, inSamps, err);
}

ZQVAPI float zqvsLmslNa(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, float samp) noexcept {
  return filterOnly<float, float, float>(low("zqvsLmslNa"), zqvsFirl, tapStPtr, dlyStPtr, samp);
}
ZQVAPI double zqvdLmslNa(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, double samp) noexcept {
  return filterOnly<double, double, double>(low("zqvdLmslNa"), zqvdFirl, tapStPtr, dlyStPtr, samp);
}
ZQVAPI ZqvCplxS zqvcLmslNa(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, ZqvCplxS samp) noexcept {
  return filterOnly<ZqvCplxS, ZqvCplxS, ZqvCplxS>(low("zqvcLmslNa"), zqvcFirl, tapStPtr, dlyStPtr, samp);
}
ZQVAPI ZqvCplxD zqvzLmslNa(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, ZqvCplxD samp) noexcept {
  return filterOnly<ZqvCplxD, ZqvCplxD, ZqvCplxD>(low("zqvzLmslNa"), zqvzFirl, tapStPtr, dlyStPtr, samp);
}
ZQVAPI ZqvCplxS zqvscLmslNa(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, float samp) noexcept {
  return filterOnly<float, ZqvCplxS, ZqvCplxS>(low("zqvscLmslNa"), zqvscFirl, tapStPtr, dlyStPtr, samp);
}
ZQVAPI ZqvCplxS zqvcsLmslNa(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, ZqvCplxS samp) noexcept {
  return filterOnly<ZqvCplxS, float, ZqvCplxS>(low("zqvcsLmslNa"), zqvcsFirl, tapStPtr, dlyStPtr, samp);
}
ZQVAPI ZqvCplxD zqvdzLmslNa(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, double samp) noexcept {
  return filterOnly<double, ZqvCplxD, ZqvCplxD>(low("zqvdzLmslNa"), zqvdzFirl, tapStPtr, dlyStPtr, samp);
}
ZQVAPI ZqvCplxD zqvzdLmslNa(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, ZqvCplxD samp) noexcept {
  return filterOnly<ZqvCplxD, double, ZqvCplxD>(low("zqvzdLmslNa"), zqvzdFirl, tapStPtr, dlyStPtr, samp);
}
ZQVAPI int32_t zqvsbLmslNa(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, const float* inSamps,
                              float* outSamps, int32_t numIters) noexcept {
  return filterOnlyBlock<float, float, float>(low("zqvsbLmslNa"), zqvsbFirl, tapStPtr, dlyStPtr, inSamps, outSamps, numIters);
}
ZQVAPI int32_t zqvdbLmslNa(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, const double* inSamps,
                              double* outSamps, int32_t numIters) noexcept {
  return filterOnlyBlock<double, double, double>(low("zqvdbLmslNa"), zqvdbFirl, tapStPtr, dlyStPtr, inSamps, outSamps, numIters);
}
ZQVAPI int32_t zqvcbLmslNa(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, const ZqvCplxS* inSamps,
                              ZqvCplxS* outSamps, int32_t numIters) noexcept {
  return filterOnlyBlock<ZqvCplxS, ZqvCplxS, ZqvCplxS>(low("zqvcbLmslNa"), zqvcbFirl, tapStPtr, dlyStPtr, inSamps, outSamps, numIters);
}
ZQVAPI int32_t zqvzbLmslNa(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, const ZqvCplxD* inSamps,
                              ZqvCplxD* outSamps, int32_t numIters) noexcept {
  return filterOnlyBlock<ZqvCplxD, ZqvCplxD, ZqvCplxD>(low("zqvzbLmslNa"), zqvzbFirl, tapStPtr, dlyStPtr, inSamps, outSamps, numIters);
}
ZQVAPI int32_t zqvscbLmslNa(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, const float* inSamps,
                              ZqvCplxS* outSamps, int32_t numIters) noexcept {
  return filterOnlyBlock<float, ZqvCplxS, ZqvCplxS>(low("zqvscbLmslNa"), zqvscbFirl, tapStPtr, dlyStPtr, inSamps, outSamps, numIters);
}
ZQVAPI int32_t zqvcsbLmslNa(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, const ZqvCplxS* inSamps,
                              ZqvCplxS* outSamps, int32_t numIters) noexcept {
  return filterOnlyBlock<ZqvCplxS, float, ZqvCplxS>(low("zqvcsbLmslNa"), zqvcsbFirl, tapStPtr, dlyStPtr, inSamps, outSamps, numIters);
}
ZQVAPI int32_t zqvdzbLmslNa(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, const double* inSamps,
                              ZqvCplxD* outSamps, int32_t numIters) noexcept {
  return filterOnlyBlock<double, ZqvCplxD, ZqvCplxD>(low("zqvdzbLmslNa"), zqvdzbFirl, tapStPtr, dlyStPtr, inSamps, outSamps, numIters);
}
ZQVAPI int32_t zqvzdbLmslNa(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, const ZqvCplxD* inSamps,
                              ZqvCplxD* outSamps, int32_t numIters) noexcept {
  return filterOnlyBlock<ZqvCplxD, double, ZqvCplxD>(low("zqvzdbLmslNa"), zqvzdbFirl, tapStPtr, dlyStPtr, inSamps, outSamps, numIters);
}

ZQVAPI void zqvwLmslInit(int32_t lmsType, int32_t* taps, int32_t tapsLen, int32_t step, int32_t errDly,
                         ZqvLmsTapState* tapStPtr) noexcept {
  if (lowInit(low("zqvwLmslInit"), lmsType, taps, tapsLen, 0.0f, 0.0f, errDly, 1, 0, false, tapStPtr))
    tapStPtr->step.w = step;
}

// The 16-bit line always makes room for the error delay.
ZQVAPI void zqvwLmslInitDlyl(const ZqvLmsTapState* tapStPtr, int16_t* dlyl, ZqvLmsDlyState* dlyStPtr) noexcept {
  lowInitDlyl(low("zqvwLmslInitDlyl"), tapStPtr, dlyl, 1, dlyStPtr);
}

ZQVAPI int32_t zqvwLmslGetStep(const ZqvLmsTapState* tapStPtr) noexcept {
  if (zqvCheckFirst(low("zqvwLmslGetStep"), {ZQV_CHECK(!tapStPtr, kNullBuffer)})) return 0;
  return tapStPtr->step.w;
}

ZQVAPI void zqvwLmslSetStep(int32_t step, ZqvLmsTapState* tapStPtr) noexcept {
  if (zqvCheckFirst(low("zqvwLmslSetStep"), {ZQV_CHECK(!tapStPtr, kNullBuffer)})) return;
  tapStPtr->step.w = step;
}

ZQVAPI void zqvwLmslGetTaps(ZqvLmsTapState* tapStPtr, int32_t* outTaps) noexcept {
  getTapsChecked(low("zqvwLmslGetTaps"), tapStPtr, outTaps);
}
ZQVAPI void zqvwLmslSetTaps(const int32_t* inTaps, ZqvLmsTapState* tapStPtr) noexcept {
  setTapsChecked(low("zqvwLmslSetTaps"), inTaps, tapStPtr);
}
ZQVAPI void zqvwLmslGetDlyl(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, int16_t* outDlyl) noexcept {
  getDlylChecked(low("zqvwLmslGetDlyl"), tapStPtr, dlyStPtr, outDlyl);
}
ZQVAPI void zqvwLmslSetDlyl(const ZqvLmsTapState* tapStPtr, const int16_t* inDlyl, ZqvLmsDlyState* dlyStPtr) noexcept {
  setDlylChecked(low("zqvwLmslSetDlyl"), tapStPtr, inDlyl, dlyStPtr);
}

ZQVAPI int16_t zqvwLmsl(const ZqvLmsTapState* tapStPtr, ZqvLmsDlyState* dlyStPtr, int16_t samp, int16_t err) noexcept {
  return lmsW(low("zqvwLmsl"), tapStPtr, dlyStPtr, samp, err);
}
