// Two-dimensional linear convolution of float, double and 16-bit images.
#include "analysis/detail/zqvcnv2dgen.h"
#include "core/detail/zqvscale.h"

using namespace zqvcnv2d;

ZQVAPI void zqvsConv2D(const float* x, int32_t xCols, int32_t xRows, const float* h, int32_t hCols, int32_t hRows,
                       float* y) noexcept {
  convolve(x, xCols, xRows, h, hCols, hRows, y);
}
ZQVAPI void zqvdConv2D(const double* x, int32_t xCols, int32_t xRows, const double* h, int32_t hCols, int32_t hRows,
                       double* y) noexcept {
  convolve(x, xCols, xRows, h, hCols, hRows, y);
}

// 16-bit images go through float copies and the float member, then are
// narrowed under the caller's scale mode.
ZQVAPI void zqvwConv2D(const int16_t* x, int32_t xCols, int32_t xRows, const int16_t* h, int32_t hCols,
                       int32_t hRows, int16_t* y, int32_t scaleMode, int32_t* scaleFactor) noexcept {
  const ZqvSite site{"zqvwConv2D", kModule};
  if (refused(site, x, xCols, xRows, h, hCols, hRows, y)) return;
  // The automatic mode writes its shift back: it needs a place for it.
  if (zqvCheckFirst(site, {ZQV_CHECK(scaleMode == ZQV_AUTO_SCALE && !scaleFactor, "\nNull scale factor pointer\n")}))
    return;
  const int64_t nx = int64_t{xCols} * xRows, nh = int64_t{hCols} * hRows;
  const int64_t ny = areaOf(int64_t{xCols} + hCols - 1, int64_t{xRows} + hRows - 1);
  // Every count below fits 32 bits once its float block has been had.
  float* const fx = takeBlock<float>(nx);
  float* const fh = fx ? takeBlock<float>(nh) : nullptr;
  float* const fy = fh ? takeBlock<float>(ny) : nullptr;
  if (!fy) {
    reportNoMemory(site.func, __LINE__);
  } else {
    zqvsbIntToFloat(x, fx, static_cast<int32_t>(nx), 16, 0);
    zqvsbIntToFloat(h, fh, static_cast<int32_t>(nh), 16, 0);
    if (convolveChecked(fx, xCols, xRows, fh, hCols, hRows, fy))
      zqvsbScaleToW(fy, y, static_cast<int32_t>(ny), scaleMode, scaleFactor);
    else
      zqvError(ZQV_BACKTRACE, site.func, nullptr, site.module, __LINE__);
  }
  zqvFree(fx);
  zqvFree(fh);
  zqvFree(fy);
}
