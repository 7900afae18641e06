// Auto- and cross-correlation of floating-point vectors.
#include "analysis/detail/zqvcorrgen.h"

using namespace zqvcorr;

ZQVAPI void zqvsAutoCorr(const float* src, int32_t len, float* dst, int32_t lags, int32_t normType) noexcept {
  autoCorr<ZqvCplxS>({"zqvsAutoCorr", kModule}, Estimate::RealAuto, src, len, dst, lags, normType);
}
ZQVAPI void zqvdAutoCorr(const double* src, int32_t len, double* dst, int32_t lags, int32_t normType) noexcept {
  autoCorr<ZqvCplxD>({"zqvdAutoCorr", kModule}, Estimate::RealAuto, src, len, dst, lags, normType);
}
ZQVAPI void zqvcAutoCorr(const ZqvCplxS* src, int32_t len, ZqvCplxS* dst, int32_t lags, int32_t normType) noexcept {
  autoCorr<ZqvCplxS>({"zqvcAutoCorr", kModule}, Estimate::CplxAuto, src, len, dst, lags, normType);
}
ZQVAPI void zqvzAutoCorr(const ZqvCplxD* src, int32_t len, ZqvCplxD* dst, int32_t lags, int32_t normType) noexcept {
  autoCorr<ZqvCplxD>({"zqvzAutoCorr", kModule}, Estimate::CplxAuto, src, len, dst, lags, normType);
}

#define ZQV_CROSS(name, A, B, Y, C, est)                                                                   \
  ZQVAPI void name(const A* srcA, int32_t lenA, const B* srcB, int32_t lenB, Y* dst, int32_t loLag,        \
                   int32_t hiLag) noexcept {                                                               \
    crossCorr<C>({#name, kModule}, Estimate::est, srcA, lenA, srcB, lenB, dst, loLag, hiLag);              \
  }
ZQV_CROSS(zqvsCrossCorr, float, float, float, ZqvCplxS, RealCross)
ZQV_CROSS(zqvdCrossCorr, double, double, double, ZqvCplxD, RealCross)
ZQV_CROSS(zqvscCrossCorr, float, ZqvCplxS, ZqvCplxS, ZqvCplxS, MixedCross)
ZQV_CROSS(zqvdzCrossCorr, double, ZqvCplxD, ZqvCplxD, ZqvCplxD, MixedCross)
ZQV_CROSS(zqvcsCrossCorr, ZqvCplxS, float, ZqvCplxS, ZqvCplxS, MixedCross)
ZQV_CROSS(zqvzdCrossCorr, ZqvCplxD, double, ZqvCplxD, ZqvCplxD, MixedCross)
ZQV_CROSS(zqvcCrossCorr, ZqvCplxS, ZqvCplxS, ZqvCplxS, ZqvCplxS, CplxCross)
ZQV_CROSS(zqvzCrossCorr, ZqvCplxD, ZqvCplxD, ZqvCplxD, ZqvCplxD, CplxCross)
