// Generic bodies of the two-dimensional FIR filter: the kernel centred on
// each output, the image zero outside its borders. Float and double choose
// between direct sums and overlap-save blocks of a two-dimensional real FFT;
// 16-bit images are summed directly and narrowed by the scale mode.
#ifndef ZQV_FIR2GEN_H
#define ZQV_FIR2GEN_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "analysis/detail/zqvfir2sum.h"
#include "core/detail/zqvscale.h"
#include "core/zqvframe.h"
#include "transforms/detail/zqvfftconv.h"

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

// The sum of one output over the part of the turned kernel that meets the
// image. One running sum, the image read in ascending order (row by row,
// each row from its left end): the kernel is read from its end, which turns
// it by 180 degrees without writing to the caller's array.
template <class S, class T, class K>
S sumAt(const T* src, int64_t cols, int64_t rows, const K* kernel, int64_t kcols, int64_t krows, int64_t r,
        int64_t c) noexcept {
  const int64_t ar = krows / 2, ac = kcols / 2;
  const int64_t r0 = std::max<int64_t>(0, r + ar - krows + 1), r1 = std::min(rows - 1, r + ar);
  const int64_t c0 = std::max<int64_t>(0, c + ac - kcols + 1), c1 = std::min(cols - 1, c + ac);
  S sum = 0;
  for (int64_t sr = r0; sr <= r1; ++sr) {
    const T* const srow = src + sr * cols;
    const int64_t k = (r + ar - sr) * kcols + (c + ac);  // kernel(i, j) at k - column
    for (int64_t sc = c0; sc <= c1; ++sc) sum += static_cast<S>(kernel[k - sc]) * static_cast<S>(srow[sc]);
  }
  return sum;
}

// Outputs whose window lies inside the image's columns are summed side by
// side (the same sums, each in its own order); the others one at a time.
template <class T>
void direct(const T* src, int64_t cols, int64_t rows, const T* kernel, int64_t kcols, int64_t krows, T* dst) noexcept {
  const int64_t ar = krows / 2, ac = kcols / 2;
  // Inside: c + ac - kcols + 1 >= 0 and c + ac <= cols - 1.
  const int64_t cA = std::min(cols, kcols - 1 - ac), cB = std::max(cA, cols - ac);
  for (int64_t r = 0; r < rows; ++r) {
    T* const out = dst + r * cols;
    for (int64_t c = 0; c < cA; ++c) out[c] = sumAt<T>(src, cols, rows, kernel, kcols, krows, r, c);
    const SumRow<T> w{src, cols, kernel, kcols, r + ar, std::max<int64_t>(0, r + ar - krows + 1),
                      std::min(rows - 1, r + ar), ac};
    interiorSums(w, cA, cB, out);
    for (int64_t c = cB; c < cols; ++c) out[c] = sumAt<T>(src, cols, rows, kernel, kcols, krows, r, c);
  }
}

// ---- Cost estimates of the two methods (the shared FFT cost model).
inline double fft2(int32_t a, int32_t b) noexcept { return a * zqvCostFft(b) + b * zqvCostFft(a); }
inline double half2(int32_t a, int32_t b) noexcept {
  if (a <= 1) return zqvCostRealSplit(b);
  return 2 * zqvCostRealSplit(b) + 36.0 * b * std::max(a / 2 - 1, 0);
}
inline double real2(int32_t a, int32_t b) noexcept { return fft2(a, b / 2) + half2(a, b); }
inline double merge2(int32_t a, int32_t b) noexcept {
  if (a <= 1) return zqvCostDirect(b);
  return 2 * zqvCostDirect(b) + std::trunc(14.0 * b * std::max(a - 2, 0) / 2);
}
inline double product2(int32_t a, int32_t b) noexcept { return 2.0 * a * b; }

// Block sizes Br by Bc, output steps Sr by Sc; the kernel's extents are
// below 2^31, so every block extent is at most 2^32 and checked by callers.
struct Blocks {
  int64_t br, bc, sr, sc;
};
inline Blocks blocksFor(int64_t kcols, int64_t krows) noexcept {
  auto twicePow2 = [](int64_t v) {
    int64_t p = 1;
    while (p < v) p <<= 1;
    return 2 * p;
  };
  const int64_t br = twicePow2(krows), bc = twicePow2(kcols);
  return {br, bc, br - krows + 1, bc - kcols + 1};
}

// True when the block FFT is estimated strictly cheaper than direct sums.
inline bool blocksCheaper(int64_t cols, int64_t rows, int64_t kcols, int64_t krows) noexcept {
  const Blocks b = blocksFor(kcols, krows);
  // Beyond 2^30 per extent no block table exists; the direct sums run.
  if (b.br > (int64_t{1} << 30) || b.bc > (int64_t{1} << 30)) return false;
  const int32_t br = static_cast<int32_t>(b.br), bc = static_cast<int32_t>(b.bc);
  const double nb = static_cast<double>(((rows + b.sr - 1) / b.sr) * ((cols + b.sc - 1) / b.sc));
  const double block =
      nb * (product2(br, bc) + 2 * real2(br, bc) + merge2(br, bc) + product2(static_cast<int32_t>(b.sr),
                                                                             static_cast<int32_t>(b.sc))) +
      real2(br, bc);
  const double directCost = 4.0 * static_cast<double>(cols * rows) * static_cast<double>(kcols * krows);
  return block < directCost;
}

// ---- Block FFT method: a two-dimensional real FFT of Br by Bc reals (each
// row as Bc/2 complex values), overlap-save over blocks of Sr by Sc outputs.

template <class T>
using Cplx = std::conditional_t<std::is_same_v<T, float>, ZqvCplxS, ZqvCplxD>;

template <class T>
void rowFft(Cplx<T>* row, int32_t order, int32_t flags) noexcept {
  if constexpr (std::is_same_v<T, float>) zqvcFft(row, order, flags);
  else zqvzFft(row, order, flags);
}
template <class T>
const Cplx<T>* twiddles(int32_t order) noexcept {
  if constexpr (std::is_same_v<T, float>) return zqvcGetFftTwdTbl(order);
  else return zqvzGetFftTwdTbl(order);
}

// (a, b) -> (a + b, (a - b) w) along whole rows of m complex values.
template <class T>
void difRows(Cplx<T>* __restrict a, Cplx<T>* __restrict b, int64_t m, Cplx<T> w) noexcept {
  for (int64_t k = 0; k < m; ++k) {
    const T dr = a[k].re - b[k].re, di = a[k].im - b[k].im;
    a[k] = {a[k].re + b[k].re, a[k].im + b[k].im};
    b[k] = {dr * w.re - di * w.im, dr * w.im + di * w.re};
  }
}
// (a, b) -> (a + b w, a - b w) along whole rows.
template <class T>
void ditRows(Cplx<T>* __restrict a, Cplx<T>* __restrict b, int64_t m, Cplx<T> w) noexcept {
  for (int64_t k = 0; k < m; ++k) {
    const T tr = b[k].re * w.re - b[k].im * w.im, ti = b[k].re * w.im + b[k].im * w.re;
    b[k] = {a[k].re - tr, a[k].im - ti};
    a[k] = {a[k].re + tr, a[k].im + ti};
  }
}

// The column transform of R = 2^rowOrder rows of m complex values: radix-2
// butterflies across whole rows, from natural to bit-reversed row order
// (forward), or back (inverse, conjugate twiddles).
template <class T>
void columns(Cplx<T>* a, int32_t rowOrder, int64_t m, const Cplx<T>* tw, bool forward) noexcept {
  const int64_t rows = int64_t{1} << rowOrder;
  auto at = [&](int64_t r) { return a + r * m; };
  auto w = [&](int64_t k) { return forward ? tw[k] : Cplx<T>{tw[k].re, -tw[k].im}; };
  if (forward) {
    for (int64_t len = rows; len >= 2; len /= 2)
      for (int64_t g = 0; g < rows; g += len)
        for (int64_t j = 0; j < len / 2; ++j) difRows<T>(at(g + j), at(g + j + len / 2), m, w(j * (rows / len)));
  } else {
    for (int64_t len = 2; len <= rows; len *= 2)
      for (int64_t g = 0; g < rows; g += len)
        for (int64_t j = 0; j < len / 2; ++j) ditRows<T>(at(g + j), at(g + j + len / 2), m, w(j * (rows / len)));
  }
}

struct Orders {
  int32_t row, col;  // rows 2^row, 2^col complex values per row
};

// Forward: rows by the complex FFT into bit-reversed order, the columns, and
// the real-spectrum pass (bit-reversed rows and columns).
template <class T>
void forward2(T* a, Orders o, const Cplx<T>* tw) noexcept {
  Cplx<T>* const c = reinterpret_cast<Cplx<T>*>(a);
  const int64_t rows = int64_t{1} << o.row, m = int64_t{1} << o.col;
  for (int64_t r = 0; r < rows; ++r) rowFft<T>(c + r * m, o.col, ZQV_Forw | ZQV_OutBitRev);
  columns<T>(c, o.row, m, tw, true);
  if constexpr (std::is_same_v<T, float>) zqvsRealFft2dSplit(a, o.row, o.col, ZQV_Forw | ZQV_OutBitRev, static_cast<int32_t>(m));
  else zqvdRealFft2dSplit(a, o.row, o.col, ZQV_Forw | ZQV_OutBitRev, static_cast<int32_t>(m));
}

// Inverse without the final 1/(Br Bc): the merge pass, the columns from
// bit-reversed order, the rows by the inverse complex FFT.
template <class T>
void inverse2(T* a, Orders o, const Cplx<T>* tw) noexcept {
  Cplx<T>* const c = reinterpret_cast<Cplx<T>*>(a);
  const int64_t rows = int64_t{1} << o.row, m = int64_t{1} << o.col;
  constexpr int32_t kBack = ZQV_Inv | ZQV_NoScale | ZQV_InBitRev;
  if constexpr (std::is_same_v<T, float>) zqvsCcsFft2dMerge(a, o.row, o.col, kBack, static_cast<int32_t>(m));
  else zqvdCcsFft2dMerge(a, o.row, o.col, kBack, static_cast<int32_t>(m));
  columns<T>(c, o.row, m, tw, false);
  for (int64_t r = 0; r < rows; ++r) rowFft<T>(c + r * m, o.col, kBack);
}

// work = work * spec for two packed real spectra: the rows of X[0][.] and
// X[R/2][.] (rows 0 and 1 in bit-reversed order) hold two reals first, every
// other value is complex.
template <class T>
void product(const T* spec, T* work, Orders o) noexcept {
  const int64_t rows = int64_t{1} << o.row, width = int64_t{2} << o.col;
  for (int64_t r = 0; r < std::min<int64_t>(rows, 2); ++r) {
    if constexpr (std::is_same_v<T, float>) zqvsMpyPermSpec(spec + r * width, work + r * width, o.col + 1);
    else zqvdMpyPermSpec(spec + r * width, work + r * width, o.col + 1);
  }
  for (int64_t i = 2 * width; i < rows * width; i += 2) {
    const T xr = work[i], xi = work[i + 1];
    work[i] = xr * spec[i] - xi * spec[i + 1];
    work[i + 1] = spec[i + 1] * xr + spec[i] * xi;
  }
}


inline int32_t log2Of(int64_t p) noexcept {
  int32_t k = 0;
  while ((int64_t{1} << k) < p) ++k;
  return k;
}

// False when memory or a transform failed; dst then untouched or to be
// recomputed directly.
template <class T>
bool blockFft(const T* src, int64_t cols, int64_t rows, const T* kernel, int64_t kcols, int64_t krows, T* dst) noexcept {
  const Blocks b = blocksFor(kcols, krows);
  const int64_t area = b.br * b.bc;
  if (b.br > (int64_t{1} << 30) || b.bc > (int64_t{1} << 30) || area > INT32_MAX / static_cast<int64_t>(sizeof(T)))
    return false;
  const Orders o{log2Of(b.br), log2Of(b.bc) - 1};
  T* spec;
  T* work;
  if constexpr (std::is_same_v<T, float>) {
    spec = zqvsMalloc(static_cast<int32_t>(area));
    work = spec ? zqvsMalloc(static_cast<int32_t>(area)) : nullptr;
  } else {
    spec = zqvdMalloc(static_cast<int32_t>(area));
    work = spec ? zqvdMalloc(static_cast<int32_t>(area)) : nullptr;
  }
  bool ok = work != nullptr;
  if (ok) {
    ZqvStatusAside aside;
    const Cplx<T>* const tw = twiddles<T>(o.row);
    ok = tw != nullptr;
    const size_t bytes = static_cast<size_t>(area) * sizeof(T);
    if (ok) {
      std::memset(spec, 0, bytes);
      for (int64_t i = 0; i < krows; ++i) std::memcpy(spec + i * b.bc, kernel + i * kcols, kcols * sizeof(T));
      forward2(spec, o, tw);
    }
    const T scale = T(1) / static_cast<T>(area);
    const int64_t ar = krows / 2, ac = kcols / 2;
    const int64_t blockRows = (rows + b.sr - 1) / b.sr, blockCols = (cols + b.sc - 1) / b.sc;
    // From the last row of blocks and the last block of each row backwards.
    for (int64_t br = blockRows - 1; ok && br >= 0; --br)
      for (int64_t bcn = blockCols - 1; ok && bcn >= 0; --bcn) {
        const int64_t r0 = br * b.sr, c0 = bcn * b.sc;
        const int64_t top = r0 - (krows - 1 - ar), left = c0 - (kcols - 1 - ac);
        // The window's part inside the image; zeros elsewhere.
        const int64_t u0 = std::max<int64_t>(0, -top), u1 = std::min(b.br, rows - top);
        const int64_t v0 = std::max<int64_t>(0, -left), v1 = std::min(b.bc, cols - left);
        std::memset(work, 0, bytes);
        for (int64_t u = u0; u < u1; ++u)
          std::memcpy(work + u * b.bc + v0, src + (top + u) * cols + left + v0, (v1 - v0) * sizeof(T));
        forward2(work, o, tw);
        product(spec, work, o);
        inverse2(work, o, tw);
        ok = !zqvStatusNegative();
        const int64_t nr = std::min(b.sr, rows - r0), nc = std::min(b.sc, cols - c0);
        for (int64_t a = 0; ok && a < nr; ++a) {
          const T* const from = work + (krows - 1 + a) * b.bc + kcols - 1;
          T* const to = dst + (r0 + a) * cols + c0;
          for (int64_t c = 0; c < nc; ++c) to[c] = from[c] * scale;
        }
      }
  }
  zqvFree(spec);
  zqvFree(work);
  return ok;
}

template <class T>
void filter2D(ZqvSite site, const T* src, int32_t cols, int32_t rows, const T* kernel, int32_t kcols, int32_t krows,
              T* dst) noexcept {
  if (refused(site, src, cols, rows, kernel, kcols, krows, dst)) return;
  if (blocksCheaper(cols, rows, kcols, krows) && blockFft(src, cols, rows, kernel, kcols, krows, dst)) return;
  direct(src, cols, rows, kernel, kcols, krows, dst);
}

// ---- 16-bit: float sums of the 16-bit image, truncated toward zero to an
// integer that keeps the sum's sign and magnitude (64 bits, saturated beyond
// them), narrowed by the normalised scale case. A NaN sum is the integer
// indefinite 0x80000000 of a 32-bit conversion.
inline int64_t truncWide(float v) noexcept {
  if (v != v) return INT32_MIN;
  if (v >= 0x1p63f) return INT64_MAX;
  if (v < -0x1p63f) return INT64_MIN;
  return static_cast<int64_t>(v);
}

// v >> shift for shift >= 0 (arithmetic), v << -shift (low 64 bits) else.
inline int64_t shiftWide(int64_t v, int64_t shift) noexcept {
  if (shift >= 0) return v >> std::min<int64_t>(shift, 63);
  if (shift <= -64) return 0;
  return static_cast<int64_t>(static_cast<uint64_t>(v) << -shift);
}

inline int64_t floorLog2(uint64_t n) noexcept { return n > 1 ? 63 - __builtin_clzll(n) : 0; }

inline void filter2DW(ZqvSite site, const int16_t* src, int32_t cols, int32_t rows, const float* kernel, int32_t kcols,
                      int32_t krows, int16_t* dst, int32_t scaleMode, int32_t* scaleFactor) noexcept {
  if (refused(site, src, cols, rows, kernel, kcols, krows, dst)) return;
  if (zqvCheckFirst(site, {ZQV_CHECK(scaleMode == ZQV_AUTO_SCALE && !scaleFactor, "Null scale factor pointer")}))
    return;
  int32_t mode = 0, shift0 = 0;
  zqvNormScaleMode(&mode, &shift0, scaleMode, scaleFactor, 0);
  int64_t shift = shift0;
  auto sat = [](int64_t v) { return std::clamp<int64_t>(v, -32768, 32767); };
  auto outside = [](int64_t v) { return v < -32768 || v > 32767; };
  for (int64_t r = 0; r < rows; ++r)
    for (int64_t c = 0; c < cols; ++c) {
      int64_t v = truncWide(sumAt<float>(src, cols, rows, kernel, kcols, krows, r, c));
      const int64_t at = r * cols + c;
      switch (mode) {
        case 1: v = sat(v); break;
        case 2: v = shiftWide(v, shift); break;
        case 3: v = sat(shiftWide(v, shift)); break;
        case 4:
          v = shiftWide(v, shift);
          if (outside(v)) {
            const int64_t extra = floorLog2(v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v)) - 14;
            // A 16-bit value shifted by 15 or more is already its sign.
            for (int64_t i = 0; i < at; ++i) dst[i] = static_cast<int16_t>(dst[i] >> std::min<int64_t>(extra, 15));
            shift += extra;
            v = shiftWide(v, extra);
          }
          break;
        case 5: v = shiftWide(v, -shift); break;
        case 6:
          // Beyond 2^40 every shifted value saturates; below, no shift under 16 overflows.
          if (shift >= 16) v = v < 0 ? -32768 : v > 0 ? 32767 : 0;
          else v = sat(std::clamp<int64_t>(v, -(int64_t{1} << 40), int64_t{1} << 40) * (int64_t{1} << shift));
          break;
        default: break;
      }
      dst[at] = static_cast<int16_t>(v);
    }
  if (mode == 4) *scaleFactor = static_cast<int32_t>(shift);
}

}  // namespace zqvfir2

#endif
