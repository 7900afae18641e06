// The IIR filter with one state: a record over a copy of the taps and a
// delay line of the library's own. The work is the low-level machinery on
// the record's two halves, which therefore reports under low-level names.
#include <algorithm>

#include "filters/detail/zqviircore.h"

using namespace zqviir;

namespace {

constexpr const char* kModule = "zqviirh";

inline ZqvSite high(const char* func) noexcept { return {func, kModule}; }
inline ZqvSite low(const char* func) noexcept { return {func, kLowModule}; }

enum class Form { Direct, Cascade };

template <class T, class O>
void init(ZqvSite site, const char* lowInitName, Form form, int32_t iirType, const T* tapVals, int32_t n,
          ZqvIirState* st) noexcept {
  const bool cascade = form == Form::Cascade;
  if (zqvCheckAll(site, {ZQV_CHECK(!st, "statePtr==0"), ZQV_CHECK(!tapVals, "tapVals==0")})) return;
  if (zqvCheckAll(site, {cascade ? ZQV_CHECK(n < 1, "numQuads <= 0") : ZQV_CHECK(n < 0, "order < 0"),
                         iirTypeCheck(iirType, __LINE__),
                         ZQV_CHECK(st->marker == kMarker,
                                   "IIR filter state structure is already initialized! Use zqvIirFree to free it")}))
    return;
  const int64_t count = cascade ? 6 * int64_t{n} : 2 * int64_t{n} + 2;
  const int64_t dlyLen = cascade ? 2 * int64_t{n} : n;
  T* taps = allocElements<T>(count);
  O* dlyl = allocElements<O>(dlyLen);
  if (!taps || !dlyl) {
    zqvFree(taps);
    zqvFree(dlyl);
    zqvError(ZQV_OUT_OF_MEMORY, site.func, "insufficiency of memory for IIR filter state", site.module, __LINE__);
    return;
  }
  st->marker = kMarker;
  std::copy(tapVals, tapVals + count, taps);
  if (cascade) lowInitBq(low(lowInitName), iirType, taps, n, &st->tapState);
  else lowInit(low(lowInitName), iirType, taps, n, &st->tapState);
  if (zqvStatusNegative()) {
    zqvError(ZQV_BACKTRACE, site.func, nullptr, site.module, __LINE__);
    zqvFree(taps);
    zqvFree(dlyl);
    st->marker = 0;
    return;
  }
  st->dlyState.dlyl = dlyl;
  std::fill(dlyl, dlyl + dlyLen, O{});
}

inline ZqvCheck markerCheck(const ZqvIirState* st, int32_t line) noexcept {
  return ZqvCheck{st && st->marker != kMarker, "IIR filter wasn't initialized", line};
}

// Releasing memory does not wait for an unrelated status to be cleared.
void release(ZqvSite site, ZqvIirState* st) noexcept {
  if (zqvCheckFirst(site, {ZQV_CHECK(!st, "statePtr==0"), markerCheck(st, __LINE__)})) return;
  releaseState(st);
}

template <class T, class O, class S>
O filter(ZqvSite site, ZqvIirState* st, S sample) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(!st, "statePtr==0"), markerCheck(st, __LINE__)})) return O{};
  return filterOne<T>(st->tapState, static_cast<O*>(st->dlyState.dlyl), sample);
}

template <class T, class O, class S>
int32_t block(ZqvSite site, const char* lowName, ZqvIirState* st, const S* in, O* out, int32_t numIters) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(!st, "statePtr==0"), markerCheck(st, __LINE__)})) return zqvStatus();
  if (zqvCheckAll(low(lowName), {ZQV_CHECK(!in, "inSamps==0"), ZQV_CHECK(!out, "outSamps==0"),
                                 ZQV_CHECK(numIters < 0, "numIters < 0")}))
    return zqvError(ZQV_BACKTRACE, site.func, nullptr, site.module, __LINE__);
  filterBlock<T>(st->tapState, static_cast<O*>(st->dlyState.dlyl), in, out, numIters);
  return 0;
}

}  // namespace

ZQVAPI void zqvsIirInit(int32_t iirType, const float* tapVals, int32_t order, ZqvIirState* statePtr) noexcept {
  init<float, float>(high("zqvsIirInit"), "zqvsIirlInit", Form::Direct, iirType, tapVals, order, statePtr);
}
ZQVAPI void zqvcIirInit(int32_t iirType, const ZqvCplxS* tapVals, int32_t order, ZqvIirState* statePtr) noexcept {
  init<ZqvCplxS, ZqvCplxS>(high("zqvcIirInit"), "zqvcIirlInit", Form::Direct, iirType, tapVals, order, statePtr);
}
ZQVAPI void zqvdIirInit(int32_t iirType, const double* tapVals, int32_t order, ZqvIirState* statePtr) noexcept {
  init<double, double>(high("zqvdIirInit"), "zqvdIirlInit", Form::Direct, iirType, tapVals, order, statePtr);
}
ZQVAPI void zqvzIirInit(int32_t iirType, const ZqvCplxD* tapVals, int32_t order, ZqvIirState* statePtr) noexcept {
  init<ZqvCplxD, ZqvCplxD>(high("zqvzIirInit"), "zqvzIirlInit", Form::Direct, iirType, tapVals, order, statePtr);
}
ZQVAPI void zqvscIirInit(int32_t iirType, const ZqvCplxS* tapVals, int32_t order, ZqvIirState* statePtr) noexcept {
  init<ZqvCplxS, ZqvCplxS>(high("zqvscIirInit"), "zqvcIirlInit", Form::Direct, iirType, tapVals, order, statePtr);
}
ZQVAPI void zqvcsIirInit(int32_t iirType, const float* tapVals, int32_t order, ZqvIirState* statePtr) noexcept {
  init<float, ZqvCplxS>(high("zqvcsIirInit"), "zqvsIirlInit", Form::Direct, iirType, tapVals, order, statePtr);
}
ZQVAPI void zqvdzIirInit(int32_t iirType, const ZqvCplxD* tapVals, int32_t order, ZqvIirState* statePtr) noexcept {
  init<ZqvCplxD, ZqvCplxD>(high("zqvdzIirInit"), "zqvzIirlInit", Form::Direct, iirType, tapVals, order, statePtr);
}
ZQVAPI void zqvzdIirInit(int32_t iirType, const double* tapVals, int32_t order, ZqvIirState* statePtr) noexcept {
  init<double, ZqvCplxD>(high("zqvzdIirInit"), "zqvdIirlInit", Form::Direct, iirType, tapVals, order, statePtr);
}
ZQVAPI void zqvsIirInitBq(int32_t iirType, const float* tapVals, int32_t numQuads, ZqvIirState* statePtr) noexcept {
  init<float, float>(high("zqvsIirInitBq"), "zqvsIirlInitBq", Form::Cascade, iirType, tapVals, numQuads, statePtr);
}
ZQVAPI void zqvcIirInitBq(int32_t iirType, const ZqvCplxS* tapVals, int32_t numQuads, ZqvIirState* statePtr) noexcept {
  init<ZqvCplxS, ZqvCplxS>(high("zqvcIirInitBq"), "zqvcIirlInitBq", Form::Cascade, iirType, tapVals, numQuads, statePtr);
}
ZQVAPI void zqvdIirInitBq(int32_t iirType, const double* tapVals, int32_t numQuads, ZqvIirState* statePtr) noexcept {
  init<double, double>(high("zqvdIirInitBq"), "zqvdIirlInitBq", Form::Cascade, iirType, tapVals, numQuads, statePtr);
}
ZQVAPI void zqvzIirInitBq(int32_t iirType, const ZqvCplxD* tapVals, int32_t numQuads, ZqvIirState* statePtr) noexcept {
  init<ZqvCplxD, ZqvCplxD>(high("zqvzIirInitBq"), "zqvzIirlInitBq", Form::Cascade, iirType, tapVals, numQuads, statePtr);
}
ZQVAPI void zqvscIirInitBq(int32_t iirType, const ZqvCplxS* tapVals, int32_t numQuads, ZqvIirState* statePtr) noexcept {
  init<ZqvCplxS, ZqvCplxS>(high("zqvscIirInitBq"), "zqvcIirlInitBq", Form::Cascade, iirType, tapVals, numQuads, statePtr);
}
ZQVAPI void zqvcsIirInitBq(int32_t iirType, const float* tapVals, int32_t numQuads, ZqvIirState* statePtr) noexcept {
  init<float, ZqvCplxS>(high("zqvcsIirInitBq"), "zqvsIirlInitBq", Form::Cascade, iirType, tapVals, numQuads, statePtr);
}
ZQVAPI void zqvdzIirInitBq(int32_t iirType, const ZqvCplxD* tapVals, int32_t numQuads, ZqvIirState* statePtr) noexcept {
  init<ZqvCplxD, ZqvCplxD>(high("zqvdzIirInitBq"), "zqvzIirlInitBq", Form::Cascade, iirType, tapVals, numQuads, statePtr);
}
ZQVAPI void zqvzdIirInitBq(int32_t iirType, const double* tapVals, int32_t numQuads, ZqvIirState* statePtr) noexcept {
  init<double, ZqvCplxD>(high("zqvzdIirInitBq"), "zqvdIirlInitBq", Form::Cascade, iirType, tapVals, numQuads, statePtr);
}

ZQVAPI void zqvIirFree(ZqvIirState* statePtr) noexcept { release(high("zqvIirFree"), statePtr); }

ZQVAPI float zqvsIir(ZqvIirState* statePtr, float samp) noexcept {
  return filter<float, float>(high("zqvsIir"), statePtr, samp);
}
ZQVAPI ZqvCplxS zqvcIir(ZqvIirState* statePtr, ZqvCplxS samp) noexcept {
  return filter<ZqvCplxS, ZqvCplxS>(high("zqvcIir"), statePtr, samp);
}
ZQVAPI double zqvdIir(ZqvIirState* statePtr, double samp) noexcept {
  return filter<double, double>(high("zqvdIir"), statePtr, samp);
}
ZQVAPI ZqvCplxD zqvzIir(ZqvIirState* statePtr, ZqvCplxD samp) noexcept {
  return filter<ZqvCplxD, ZqvCplxD>(high("zqvzIir"), statePtr, samp);
}
ZQVAPI ZqvCplxS zqvscIir(ZqvIirState* statePtr, float samp) noexcept {
  return filter<ZqvCplxS, ZqvCplxS>(high("zqvscIir"), statePtr, samp);
}
ZQVAPI ZqvCplxS zqvcsIir(ZqvIirState* statePtr, ZqvCplxS samp) noexcept {
  return filter<float, ZqvCplxS>(high("zqvcsIir"), statePtr, samp);
}
ZQVAPI ZqvCplxD zqvdzIir(ZqvIirState* statePtr, double samp) noexcept {
  return filter<ZqvCplxD, ZqvCplxD>(high("zqvdzIir"), statePtr, samp);
}
ZQVAPI ZqvCplxD zqvzdIir(ZqvIirState* statePtr, ZqvCplxD samp) noexcept {
  return filter<double, ZqvCplxD>(high("zqvzdIir"), statePtr, samp);
}
ZQVAPI int32_t zqvsbIir(ZqvIirState* statePtr, const float* inSamps, float* outSamps, int32_t numIters) noexcept {
  return block<float>(high("zqvsbIir"), "zqvsbIirl", statePtr, inSamps, outSamps, numIters);
}
ZQVAPI int32_t zqvcbIir(ZqvIirState* statePtr, const ZqvCplxS* inSamps, ZqvCplxS* outSamps, int32_t numIters) noexcept {
  return block<ZqvCplxS>(high("zqvcbIir"), "zqvcbIirl", statePtr, inSamps, outSamps, numIters);
}
ZQVAPI int32_t zqvdbIir(ZqvIirState* statePtr, const double* inSamps, double* outSamps, int32_t numIters) noexcept {
  return block<double>(high("zqvdbIir"), "zqvdbIirl", statePtr, inSamps, outSamps, numIters);
}
ZQVAPI int32_t zqvzbIir(ZqvIirState* statePtr, const ZqvCplxD* inSamps, ZqvCplxD* outSamps, int32_t numIters) noexcept {
  return block<ZqvCplxD>(high("zqvzbIir"), "zqvzbIirl", statePtr, inSamps, outSamps, numIters);
}
ZQVAPI int32_t zqvscbIir(ZqvIirState* statePtr, const float* inSamps, ZqvCplxS* outSamps, int32_t numIters) noexcept {
  return block<ZqvCplxS>(high("zqvscbIir"), "zqvscbIirl", statePtr, inSamps, outSamps, numIters);
}
ZQVAPI int32_t zqvcsbIir(ZqvIirState* statePtr, const ZqvCplxS* inSamps, ZqvCplxS* outSamps, int32_t numIters) noexcept {
  return block<float>(high("zqvcsbIir"), "zqvcsbIirl", statePtr, inSamps, outSamps, numIters);
}
ZQVAPI int32_t zqvdzbIir(ZqvIirState* statePtr, const double* inSamps, ZqvCplxD* outSamps, int32_t numIters) noexcept {
  return block<ZqvCplxD>(high("zqvdzbIir"), "zqvdzbIirl", statePtr, inSamps, outSamps, numIters);
}
ZQVAPI int32_t zqvzdbIir(ZqvIirState* statePtr, const ZqvCplxD* inSamps, ZqvCplxD* outSamps, int32_t numIters) noexcept {
  return block<double>(high("zqvzdbIir"), "zqvzdbIirl", statePtr, inSamps, outSamps, numIters);
}
