// One-dimensional linear convolution, single precision.
#include "analysis/detail/zqvconvmembers.h"

using namespace zqvconv;

ZQVAPI void zqvsConv(const float* x, int32_t xLen, const float* h, int32_t hLen, float* y) noexcept {
  convolve<EngS>(kS, x, xLen, h, hLen, y);
}
ZQVAPI void zqvcConv(const ZqvCplxS* x, int32_t xLen, const ZqvCplxS* h, int32_t hLen, ZqvCplxS* y) noexcept {
  convolve<EngC>(kC, x, xLen, h, hLen, y);
}
// The mixed members keep their complex operand as the longer one: a shorter
// one hands the call to the twin with the operands exchanged.
ZQVAPI void zqvcsConv(const ZqvCplxS* x, int32_t xLen, const float* h, int32_t hLen, ZqvCplxS* y) noexcept {
  if (refused(kCS.site, x, xLen, h, hLen, y)) return;
  if (xLen < hLen) return zqvscConv(h, hLen, x, xLen, y);
  convolveChecked<EngC>(kCS, x, xLen, h, hLen, y);
  if (zqvStatusNegative()) zqvError(ZQV_BACKTRACE, kCS.site.func, nullptr, kCS.site.module, __LINE__);
}
ZQVAPI void zqvscConv(const float* x, int32_t xLen, const ZqvCplxS* h, int32_t hLen, ZqvCplxS* y) noexcept {
  if (refused(kSC.site, x, xLen, h, hLen, y)) return;
  if (xLen < hLen) return zqvcsConv(h, hLen, x, xLen, y);
  convolveChecked<EngC>(kSC, x, xLen, h, hLen, y);
  if (zqvStatusNegative()) zqvError(ZQV_BACKTRACE, kSC.site.func, nullptr, kSC.site.module, __LINE__);
}
