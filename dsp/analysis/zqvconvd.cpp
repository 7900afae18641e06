// One-dimensional linear convolution, double precision.
#include "analysis/detail/zqvconvmembers.h"

using namespace zqvconv;

ZQVAPI void zqvdConv(const double* x, int32_t xLen, const double* h, int32_t hLen, double* y) noexcept {
  convolve<EngD>(kD, x, xLen, h, hLen, y);
}
ZQVAPI void zqvzConv(const ZqvCplxD* x, int32_t xLen, const ZqvCplxD* h, int32_t hLen, ZqvCplxD* y) noexcept {
  convolve<EngZ>(kZ, x, xLen, h, hLen, y);
}
// The mixed members keep their complex operand as the longer one: a shorter
// one hands the call to the twin with the operands exchanged.
ZQVAPI void zqvzdConv(const ZqvCplxD* x, int32_t xLen, const double* h, int32_t hLen, ZqvCplxD* y) noexcept {
  if (refused(kZD.site, x, xLen, h, hLen, y)) return;
  if (xLen < hLen) return zqvdzConv(h, hLen, x, xLen, y);
  convolveChecked<EngZ>(kZD, x, xLen, h, hLen, y);
  if (zqvStatusNegative()) zqvError(ZQV_BACKTRACE, kZD.site.func, nullptr, kZD.site.module, __LINE__);
}
ZQVAPI void zqvdzConv(const double* x, int32_t xLen, const ZqvCplxD* h, int32_t hLen, ZqvCplxD* y) noexcept {
  if (refused(kDZ.site, x, xLen, h, hLen, y)) return;
  if (xLen < hLen) return zqvzdConv(h, hLen, x, xLen, y);
  convolveChecked<EngZ>(kDZ, x, xLen, h, hLen, y);
  if (zqvStatusNegative()) zqvError(ZQV_BACKTRACE, kDZ.site.func, nullptr, kDZ.site.module, __LINE__);
}
