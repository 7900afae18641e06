// The IIR filter for 16-bit samples with one state: the record of the float
// filter over a float block of the library's own, converted in place to
// 16-bit taps, and an int32 delay line.
#include <algorithm>

#include "filters/detail/zqviirw.h"

using namespace zqviir;

namespace {

constexpr const char* kModule = "zqviirhw";

inline ZqvSite high(const char* func) noexcept { return {func, kModule}; }
inline ZqvSite lowW(const char* func) noexcept { return {func, kLowWModule}; }

inline ZqvCheck markerCheck(const ZqvIirState* st, int32_t line) noexcept {
  return ZqvCheck{st && st->marker != kMarker, "IIR filter wasn't initialized", line};
}

void init(ZqvSite site, bool cascade, int32_t iirType, const float* tapVals, int32_t n, ZqvIirState* st) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(!st, "statePtr==0"), ZQV_CHECK(!tapVals, "tapVals==0")})) return;
  if (zqvCheckAll(site, {cascade ? ZQV_CHECK(n < 1, "numQuads <= 0") : ZQV_CHECK(n < 0, "order < 0"),
                         iirTypeCheck(iirType, __LINE__),
                         ZQV_CHECK(st->marker == kMarker,
                                   "IIR filter state structure is already initialized! Use zqvIirFree to free it")}))
    return;
  const int64_t count = cascade ? 6 * int64_t{n} : 2 * int64_t{n} + 2;
  const int64_t dlyLen = cascade ? 2 * int64_t{n} : n;
  float* taps = allocElements<float>(count);
  int32_t* dlyl = allocElements<int32_t>(dlyLen);
  if (!taps || !dlyl) {
    zqvFree(taps);
    zqvFree(dlyl);
    zqvError(ZQV_OUT_OF_MEMORY, site.func, "insufficiency of memory for IIR filter state", site.module, __LINE__);
    return;
  }
  st->marker = kMarker;
  std::copy(tapVals, tapVals + count, taps);
  if (cascade) lowInitBqW(lowW("zqvwIirlInitBq"), iirType, taps, n, &st->tapState);
  else lowInitW(lowW("zqvwIirlInit"), iirType, taps, n, &st->tapState);
  if (zqvStatusNegative()) {
    zqvError(ZQV_BACKTRACE, site.func, nullptr, site.module, __LINE__);
    zqvFree(taps);
    zqvFree(dlyl);
    st->marker = 0;
    return;
  }
  st->dlyState.dlyl = dlyl;
  std::fill(dlyl, dlyl + dlyLen, 0);
}

}  // namespace

ZQVAPI void zqvwIirInit(int32_t iirType, const float* tapVals, int32_t order, ZqvIirState* statePtr) noexcept {
  init(high("zqvwIirInit"), false, iirType, tapVals, order, statePtr);
}

ZQVAPI void zqvwIirInitBq(int32_t iirType, const float* tapVals, int32_t numQuads, ZqvIirState* statePtr) noexcept {
  init(high("zqvwIirInitBq"), true, iirType, tapVals, numQuads, statePtr);
}

ZQVAPI int16_t zqvwIir(ZqvIirState* statePtr, int16_t samp, int32_t scaleMode, int32_t* scaleFactor) noexcept {
  const ZqvSite site = high("zqvwIir");
  if (zqvCheckAll(site, {ZQV_CHECK(!statePtr, "statePtr==0"), markerCheck(statePtr, __LINE__)})) return 0;
  int16_t y = 0;
  if (filterW(lowW("zqvwIirl"), &statePtr->tapState, &statePtr->dlyState, samp, scaleMode, scaleFactor, &y)) return y;
  zqvError(ZQV_BACKTRACE, site.func, nullptr, site.module, __LINE__);
  return 0;
}

ZQVAPI void zqvwbIir(ZqvIirState* statePtr, const int16_t* inSamps, int16_t* outSamps, int32_t numIters,
                     int32_t scaleMode, int32_t* scaleFactor) noexcept {
  const ZqvSite site = high("zqvwbIir");
  if (zqvCheckAll(site, {ZQV_CHECK(!statePtr, "statePtr==0"), ZQV_CHECK(!inSamps, "inSamps==0"),
                         ZQV_CHECK(!outSamps, "outSamps==0")}))
    return;
  if (zqvCheckAll(site, {ZQV_CHECK(numIters < 1, "numIters <= 0"), markerCheck(statePtr, __LINE__)})) return;
  if (!blockW(lowW("zqvwbIirl"), &statePtr->tapState, &statePtr->dlyState, inSamps, outSamps, numIters, scaleMode,
              scaleFactor))
    zqvError(ZQV_BACKTRACE, site.func, nullptr, site.module, __LINE__);
}
