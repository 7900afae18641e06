// The IIR filter for 16-bit samples at its low level: the caller's float
// taps become 16-bit fixed point in place, the delay line holds int32.
#include "filters/detail/zqviirw.h"

using namespace zqviir;

namespace {
inline ZqvSite lowW(const char* func) noexcept { return {func, kLowWModule}; }
}  // namespace

ZQVAPI void zqvwIirlInit(int32_t iirType, float* taps, int32_t order, ZqvIirTapState* tapStPtr) noexcept {
  lowInitW(lowW("zqvwIirlInit"), iirType, taps, order, tapStPtr);
}

ZQVAPI void zqvwIirlInitBq(int32_t iirType, float* taps, int32_t numQuads, ZqvIirTapState* tapStPtr) noexcept {
  lowInitBqW(lowW("zqvwIirlInitBq"), iirType, taps, numQuads, tapStPtr);
}

ZQVAPI void zqvwIirlInitDlyl(const ZqvIirTapState* tapStPtr, int32_t* dlyl, ZqvIirDlyState* dlyStPtr) noexcept {
  lowInitDlyl(lowW("zqvwIirlInitDlyl"), tapStPtr, dlyl, dlyStPtr);
}

ZQVAPI int16_t zqvwIirl(const ZqvIirTapState* tapStPtr, ZqvIirDlyState* dlyStPtr, int16_t samp, int32_t scaleMode,
                        int32_t* scaleFactor) noexcept {
  const ZqvSite site = lowW("zqvwIirl");
  int16_t y = 0;
  if (refuseOne(site, tapStPtr, dlyStPtr)) return 0;
  return filterW(site, tapStPtr, dlyStPtr, samp, scaleMode, scaleFactor, &y) ? y : 0;
}

ZQVAPI void zqvwbIirl(const ZqvIirTapState* tapStPtr, ZqvIirDlyState* dlyStPtr, const int16_t* inSamps,
                      int16_t* outSamps, int32_t numIters, int32_t scaleMode, int32_t* scaleFactor) noexcept {
  const ZqvSite site = lowW("zqvwbIirl");
  if (refuseBlock(site, tapStPtr, dlyStPtr, inSamps, outSamps, numIters)) return;
  blockW(site, tapStPtr, dlyStPtr, inSamps, outSamps, numIters, scaleMode, scaleFactor);
}
