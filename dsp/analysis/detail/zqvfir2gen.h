// Generic bodies of the two-dimensional FIR filter: the kernel centred on
// each output, the image zero outside its borders. Float and double choose
// between direct sums and overlap-save blocks of a two-dimensional FFT;
// 16-bit images are summed directly and narrowed by the scale mode.
#ifndef ZQV_FIR2GEN_H
#define ZQV_FIR2GEN_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <type_traits>

#include "analysis/detail/zqvcorrgen.h"
#include "core/detail/zqvscale.h"
#include "core/zqvframe.h"

namespace zqvfir2 {

inline constexpr const char* kModule = "zqvfir2";
inline constexpr const char* kModuleW = "zqvfir2w";

template <class T, class K>
bool refused(ZqvSite site, const T* src, int32_t cols, int32_t rows, const K* kernel, int32_t kcols,
             int32_t krows, const void* dst) noexcept {
  return zqvCheckFirst(site, {ZQV_CHECK(!src, "Null SRC buffer pointer"), ZQV_CHECK(!kernel, "Null SRC buffer pointer"),
                              ZQV_CHECK(!dst, "Null DST buffer pointer"), ZQV_CHECK(cols < 1, "Invalid number of cols"),
                              ZQV_CHECK(rows < 1, "Inlalid number of rows"),
                              ZQV_CHECK(kcols < 1, "Invalid number of cols"),
                              ZQV_CHECK(krows < 1, "Inlalid number of rows")});
}

// The rows (and, per row, the columns) of the kernel that meet the image
// for output (r, c): i with 0 <= r + ar - i < rows.
struct Span {
  int64_t first, end;
};
inline Span overlap(int64_t r, int64_t a, int64_t rows, int64_t k) noexcept {
  return {std::max<int64_t>(0, r + a - rows + 1), std::min<int64_t>(k, r + a + 1)};
}

// The sum of one output; the kernel is read from its end, which turns it
// by 180 degrees without writing to the caller's array.
template <class S, class T, class K>
S sumAt(const T* src, int64_t cols, int64_t rows, const K* kernel, int64_t kcols, int64_t krows, int64_t r,
        int64_t c) noexcept {
  const int64_t ar = krows / 2, ac = kcols / 2;
  const Span si = overlap(r, ar, rows, krows), sj = overlap(c, ac, cols, kcols);
  S sum = 0;
  for (int64_t i = si.first; i < si.end; ++i) {
    const int64_t srow = (r + ar - i) * cols + (c + ac);
    const K* krow = kernel + i * kcols;
    for (int64_t j = sj.first; j < sj.end; ++j) sum += static_cast<S>(krow[j]) * static_cast<S>(src[srow - j]);
  }
  return sum;
}

template <class T>
void direct(const T* src, int64_t cols, int64_t rows, const T* kernel, int64_t kcols, int64_t krows, T* dst) noexcept {
  for (int64_t r = 0; r < rows; ++r)
    for (int64_t c = 0; c < cols; ++c) dst[r * cols + c] = sumAt<T>(src, cols, rows, kernel, kcols, krows, r, c);
}

// ---- Cost estimates of the two methods.
inline double mCost(int64_t t) noexcept { return t <= 1 ? 3.0 : 3.0 + 7.0 * static_cast<double>(t - 2) + 3.0; }
inline double fft2(int64_t a, int64_t b) noexcept {
  return static_cast<double>(a) * zqvCostFft(b) + static_cast<double>(b) * zqvCostFft(a);
}
inline double half2(int64_t a, int64_t b) noexcept {
  if (a <= 1) return zqvCostRealSplit(b);
  return 2 * zqvCostRealSplit(b) + 36.0 * static_cast<double>(b) * static_cast<double>(std::max<int64_t>(a / 2 - 1, 0));
}
inline double real2(int64_t a, int64_t b) noexcept { return fft2(a, b / 2) + half2(a, b); }
inline double merge2(int64_t a, int64_t b) noexcept {
  if (a <= 1) return mCost(b);
  return 2 * mCost(b) + std::trunc(14.0 * static_cast<double>(b) * static_cast<double>(std::max<int64_t>(a - 2, 0)) / 2);
}
inline double product2(int64_t a, int64_t b) noexcept { return 2.0 * static_cast<double>(a) * static_cast<double>(b); }

struct Blocks {
  int64_t br, bc, sr, sc;
};
inline Blocks blocksFor(int64_t kcols, int64_t krows) noexcept {
  const int64_t br = 2 * zqvNextPow2(krows), bc = 2 * zqvNextPow2(kcols);
  return {br, bc, br - krows + 1, bc - kcols + 1};
}

// True when the block FFT is estimated strictly cheaper than direct sums.
inline bool blocksCheaper(int64_t cols, int64_t rows, int64_t kcols, int64_t krows) noexcept {
  const Blocks b = blocksFor(kcols, krows);
  const double nb = static_cast<double>(((rows + b.sr - 1) / b.sr) * ((cols + b.sc - 1) / b.sc));
  const double block = nb * (product2(b.br, b.bc) + 2 * real2(b.br, b.bc) + merge2(b.br, b.bc) + product2(b.sr, b.sc)) +
                       real2(b.br, b.bc);
  const double directCost = 4.0 * static_cast<double>(cols * rows) * static_cast<double>(kcols * krows);
  return block < directCost;
}

// ---- Block FFT method: a complex two-dimensional FFT of Br by Bc (rows,
// then columns through a gathered copy), overlap-save over blocks of Sr by
// Sc outputs. False when memory or a transform failed; dst then untouched
// or to be recomputed directly.
template <class T>
bool blockFft(const T* src, int64_t cols, int64_t rows, const T* kernel, int64_t kcols, int64_t krows, T* dst) noexcept {
  using C = std::conditional_t<std::is_same_v<T, float>, ZqvCplxS, ZqvCplxD>;
  using E = zqvconv::CplxEngine<C>;
  const Blocks b = blocksFor(kcols, krows);
  const int64_t area = b.br * b.bc;
  const int32_t orR = zqvconv::orderOf(b.br), orC = zqvconv::orderOf(b.bc);
  if (area > INT32_MAX || orR > 30 || orC > 30) return false;
  C* spec;
  C* work;
  C* column;
  if constexpr (std::is_same_v<T, float>) {
    spec = zqvcMalloc(static_cast<int32_t>(area));
    work = spec ? zqvcMalloc(static_cast<int32_t>(area)) : nullptr;
    column = work ? zqvcMalloc(static_cast<int32_t>(b.br)) : nullptr;
  } else {
    spec = zqvzMalloc(static_cast<int32_t>(area));
    work = spec ? zqvzMalloc(static_cast<int32_t>(area)) : nullptr;
    column = work ? zqvzMalloc(static_cast<int32_t>(b.br)) : nullptr;
  }
  bool ok = column != nullptr;
  if (ok) {
    zqvcorr::StatusSetAside aside;
    auto transform2 = [&](C* a, int32_t flags) {
      for (int64_t r = 0; r < b.br; ++r) E::fft(a + r * b.bc, orC, flags);
      for (int64_t c = 0; c < b.bc; ++c) {
        for (int64_t r = 0; r < b.br; ++r) column[r] = a[r * b.bc + c];
        E::fft(column, orR, flags);
        for (int64_t r = 0; r < b.br; ++r) a[r * b.bc + c] = column[r];
      }
    };
    for (int64_t i = 0; i < area; ++i) spec[i] = C{};
    for (int64_t i = 0; i < krows; ++i)
      for (int64_t j = 0; j < kcols; ++j) spec[i * b.bc + j] = C{kernel[i * kcols + j], 0};
    transform2(spec, ZQV_Forw);
    const int64_t ar = krows / 2, ac = kcols / 2;
    for (int64_t r0 = 0; ok && r0 < rows; r0 += b.sr)
      for (int64_t c0 = 0; ok && c0 < cols; c0 += b.sc) {
        const int64_t top = r0 - (krows - 1 - ar), left = c0 - (kcols - 1 - ac);
        for (int64_t u = 0; u < b.br; ++u)
          for (int64_t v = 0; v < b.bc; ++v) {
            const int64_t sr = top + u, sc = left + v;
            work[u * b.bc + v] =
                (sr >= 0 && sr < rows && sc >= 0 && sc < cols) ? C{src[sr * cols + sc], 0} : C{};
          }
        transform2(work, ZQV_Forw);
        for (int64_t i = 0; i < area; ++i) {
          const C x = work[i], k = spec[i];
          work[i] = C{x.re * k.re - x.im * k.im, x.re * k.im + x.im * k.re};
        }
        transform2(work, ZQV_Inv);
        ok = !aside.transformFailed();
        const int64_t nr = std::min(b.sr, rows - r0), nc = std::min(b.sc, cols - c0);
        for (int64_t a = 0; ok && a < nr; ++a)
          for (int64_t c = 0; c < nc; ++c) dst[(r0 + a) * cols + c0 + c] = work[(krows - 1 + a) * b.bc + kcols - 1 + c].re;
      }
  }
  zqvFree(spec);
  zqvFree(work);
  zqvFree(column);
  return ok;
}

template <class T>
void filter2D(ZqvSite site, const T* src, int32_t cols, int32_t rows, const T* kernel, int32_t kcols, int32_t krows,
              T* dst) noexcept {
  if (refused(site, src, cols, rows, kernel, kcols, krows, dst)) return;
  if (blocksCheaper(cols, rows, kcols, krows) && blockFft(src, cols, rows, kernel, kcols, krows, dst)) return;
  direct(src, cols, rows, kernel, kcols, krows, dst);
}

// ---- 16-bit: float sums of the 16-bit image, truncated to 32 bits (NaN and
// values out of range give the integer indefinite 0x80000000), narrowed by
// the normalised scale case.
inline int32_t truncToInt32(float v) noexcept {
  if (!(v >= -2147483648.0f && v < 2147483648.0f)) return INT32_MIN;
  return static_cast<int32_t>(v);
}

inline void filter2DW(ZqvSite site, const int16_t* src, int32_t cols, int32_t rows, const float* kernel, int32_t kcols,
                      int32_t krows, int16_t* dst, int32_t scaleMode, int32_t* scaleFactor) noexcept {
  if (refused(site, src, cols, rows, kernel, kcols, krows, dst)) return;
  if (zqvCheckFirst(site, {ZQV_CHECK(scaleMode == ZQV_AUTO_SCALE && !scaleFactor, "Null scale factor pointer")}))
    return;
  int32_t mode = 0, shift0 = 0;
  zqvNormScaleMode(&mode, &shift0, scaleMode, scaleFactor, 0);
  int64_t shift = shift0;
  const int64_t total = int64_t{cols} * rows;
  auto sat = [](int64_t v) { return static_cast<int32_t>(std::clamp<int64_t>(v, -32768, 32767)); };
  for (int64_t r = 0; r < rows; ++r)
    for (int64_t c = 0; c < cols; ++c) {
      int32_t v = truncToInt32(sumAt<float>(src, cols, rows, kernel, kcols, krows, r, c));
      const int64_t at = r * cols + c;
      switch (mode) {
        case 1: v = sat(v); break;
        case 2: v = zqvcorr::shiftBy(v, shift); break;
        case 3: v = sat(zqvcorr::shiftBy(v, shift)); break;
        case 4:
          v = zqvcorr::shiftBy(v, shift);
          if (v < -32768 || v > 32767) {
            const int64_t extra = zqvcorr::floorLog2(v < 0 ? -int64_t{v} : v) - 14;
            for (int64_t i = 0; i < at; ++i) dst[i] = static_cast<int16_t>(dst[i] >> extra);
            shift += extra;
            v = zqvcorr::shiftBy(v, extra);
          }
          break;
        case 5: v = zqvcorr::shiftBy(v, -shift); break;
        case 6: v = sat(shift >= 32 ? (v < 0 ? INT64_MIN : v > 0 ? INT64_MAX : 0) : int64_t{v} * (int64_t{1} << shift)); break;
        default: break;
      }
      dst[at] = static_cast<int16_t>(v);
    }
  (void)total;
  if (mode == 4) *scaleFactor = static_cast<int32_t>(shift);
}

}  // namespace zqvfir2

#endif
