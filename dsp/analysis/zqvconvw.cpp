// One-dimensional linear convolution of 16-bit vectors through the float
// member, narrowed to 16 bits under the caller's scale mode.
#include <cstdlib>

#include "analysis/detail/zqvconvmembers.h"
#include "core/detail/zqvscale.h"

using namespace zqvconv;

ZQVAPI void zqvwConv(const int16_t* x, int32_t xLen, const int16_t* h, int32_t hLen, int16_t* y,
                     int32_t scaleMode, int32_t* scaleFactor) noexcept {
  const ZqvSite site{"zqvwConv", kModuleW};
  if (refused(site, x, xLen, h, hLen, y)) return;
  const int64_t n = int64_t{xLen} + hLen - 1;
  float* const fx = static_cast<float*>(workAlloc(static_cast<std::size_t>(xLen), sizeof(float)));
  float* const fh = fx ? static_cast<float*>(workAlloc(static_cast<std::size_t>(hLen), sizeof(float))) : nullptr;
  float* const fy = fh ? static_cast<float*>(workAlloc(static_cast<std::size_t>(n), sizeof(float))) : nullptr;
  if (!fy) {
    const char* what = !fx ? "NULL pointer to float copy x" : !fh ? "NULL pointer to float copy h"
                                                                   : "NULL pointer to float copy y";
    zqvError(ZQV_OUT_OF_MEMORY, site.func, what, site.module, __LINE__);
  } else {
    for (int32_t i = 0; i < xLen; ++i) fx[i] = x[i];
    for (int32_t i = 0; i < hLen; ++i) fh[i] = h[i];
    convolveChecked<EngS>(kS, fx, xLen, fh, hLen, fy);
    if (zqvStatusNegative()) {
      zqvError(ZQV_BACKTRACE, site.func, nullptr, site.module, __LINE__);
    } else {
      // Automatic scaling without a place for the shift still scales.
      int32_t ownShift = 0;
      zqvsbScaleToW(fy, y, static_cast<int32_t>(n), scaleMode, scaleFactor ? scaleFactor : &ownShift);
    }
  }
  std::free(fx);
  std::free(fh);
  std::free(fy);
}
