// Two-dimensional FIR filter of 16-bit images with a float kernel.
#include "analysis/detail/zqvfir2gen.h"

using namespace zqvfir2;

ZQVAPI void zqvwFilter2D(const int16_t* src, int32_t cols, int32_t rows, const float* kernel, int32_t kcols,
                         int32_t krows, int16_t* dst, int32_t scaleMode, int32_t* scaleFactor) noexcept {
  filter2DW({"zqvwFilter2D", kModuleW}, src, cols, rows, kernel, kcols, krows, dst, scaleMode, scaleFactor);
}
