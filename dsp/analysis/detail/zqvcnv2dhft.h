// The hot loops of the two-dimensional convolution, in vector builds chosen
// on first use: the one-dimensional Hartley transform of many sequences side
// by side, the transform-domain product and the direct sums. Each element
// gets the same operations in the same order as in the one-sequence form,
// so every build gives the same bits.
#ifndef ZQV_CNV2DHFT_H
#define ZQV_CNV2DHFT_H

#include <cstdint>

namespace zqvcnv2d {

// Tables of a power-of-two length n: the bit-reverse permutation and
// sin(2 pi j / n) for j = 0 .. n/4 (cosines read backwards).
struct HartleyView {
  int64_t n;
  const int64_t* bitrev;
  const double* sines;
};

// H(k) = sum over i of a(i) (cos + sin)(2 pi i k / n) of `lanes` sequences
// at once, in place: element i of sequence l at a[i * stride + l].
void hartleyLanes(float* a, int64_t lanes, int64_t stride, const HartleyView& t) noexcept;
void hartleyLanes(double* a, int64_t lanes, int64_t stride, const HartleyView& t) noexcept;

// The product of two separable transforms of rows by cols (both powers of
// two) for the circular convolution; the result replaces x.
void hartleyProduct(float* x, const float* h, int64_t rows, int64_t cols) noexcept;
void hartleyProduct(double* x, const double* h, int64_t rows, int64_t cols) noexcept;

// The exchange of a strip of `lanes` rows of a (row stride cols) with its
// columns: s[c * lanes + l] = a[l * cols + c], and back.
void toStrip(const float* a, int64_t cols, int64_t lanes, float* s) noexcept;
void toStrip(const double* a, int64_t cols, int64_t lanes, double* s) noexcept;
void fromStrip(float* a, int64_t cols, int64_t lanes, const float* s) noexcept;
void fromStrip(double* a, int64_t cols, int64_t lanes, const double* s) noexcept;

// rows of width elements from src (row stride srcStride) to dst.
void copyRows(float* dst, int64_t dstStride, const float* src, int64_t srcStride, int64_t rows, int64_t width) noexcept;
void copyRows(double* dst, int64_t dstStride, const double* src, int64_t srcStride, int64_t rows,
              int64_t width) noexcept;

// y += v * w for one row of n elements, a zero element of w
// adding +0.
void addScaledRow(float* y, const float* w, int64_t n, float v) noexcept;
void addScaledRow(double* y, const double* w, int64_t n, double v) noexcept;

// Lines of the strips and panels the separable passes work on.
inline constexpr int64_t kStripRows = 16;
inline constexpr int64_t kPanelCols = 64;

}  // namespace zqvcnv2d

#endif
