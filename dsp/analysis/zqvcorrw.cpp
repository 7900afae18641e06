// Auto- and cross-correlation of 16-bit vectors: direct sums in 32 bits,
// narrowed by the scale mode.
#include "analysis/detail/zqvcorrgen.h"

using namespace zqvcorr;

ZQVAPI void zqvwAutoCorr(const int16_t* src, int32_t len, int16_t* dst, int32_t lags, int32_t normType,
                         int32_t scaleMode, int32_t* scaleFactor) noexcept {
  autoCorrW({"zqvwAutoCorr", kModuleW}, src, len, dst, lags, normType, scaleMode, scaleFactor);
}
ZQVAPI void zqvvAutoCorr(const ZqvCplxW* src, int32_t len, ZqvCplxW* dst, int32_t lags, int32_t normType,
                         int32_t scaleMode, int32_t* scaleFactor) noexcept {
  autoCorrW({"zqvvAutoCorr", kModuleW}, src, len, dst, lags, normType, scaleMode, scaleFactor);
}

#define ZQV_CROSSW(name, A, B, Y)                                                                          \
  ZQVAPI void name(const A* srcA, int32_t lenA, const B* srcB, int32_t lenB, Y* dst, int32_t loLag,        \
                   int32_t hiLag, int32_t scaleMode, int32_t* scaleFactor) noexcept {                      \
    crossCorrW({#name, kModuleW}, srcA, lenA, srcB, lenB, dst, loLag, hiLag, scaleMode, scaleFactor);      \
  }
ZQV_CROSSW(zqvwCrossCorr, int16_t, int16_t, int16_t)
ZQV_CROSSW(zqvvCrossCorr, ZqvCplxW, ZqvCplxW, ZqvCplxW)
ZQV_CROSSW(zqvwvCrossCorr, int16_t, ZqvCplxW, ZqvCplxW)
ZQV_CROSSW(zqvvwCrossCorr, ZqvCplxW, int16_t, ZqvCplxW)
