// Two-dimensional FIR filter of float and double images.
#include "analysis/detail/zqvfir2gen.h"

using namespace zqvfir2;

ZQVAPI void zqvsFilter2D(const float* src, int32_t cols, int32_t rows, const float* kernel, int32_t kcols,
                         int32_t krows, float* dst) noexcept {
  filter2D({"zqvsFilter2D", kModule}, src, cols, rows, kernel, kcols, krows, dst);
}
ZQVAPI void zqvdFilter2D(const double* src, int32_t cols, int32_t rows, const double* kernel, int32_t kcols,
                         int32_t krows, double* dst) noexcept {
  filter2D({"zqvdFilter2D", kModule}, src, cols, rows, kernel, kcols, krows, dst);
}
