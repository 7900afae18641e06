// Generic body of the two-dimensional linear convolution of float and double
// images: a direct sum, the one-dimensional routine for single rows or
// columns, and two methods over a separable fast Hartley transform (one
// transform of the whole padded output, or overlap-add tiles).
#ifndef ZQV_CNV2DGEN_H
#define ZQV_CNV2DGEN_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <type_traits>
#include <utility>

#include "analysis/detail/zqvcnv2dhft.h"
#include "analysis/detail/zqvcnv2dsel.h"
#include "core/zqvframe.h"
#include "transforms/detail/zqvroots.h"

namespace zqvcnv2d {

inline constexpr const char* kModule = "zqvcnv2d";
inline constexpr const char* kNullData = "\nNull pointer to data buffer\n";
inline constexpr const char* kBadSize = "\nBad value of data buffer size\n";
inline constexpr const char* kNoMemory = "\nMemory allocation problem\n";

// The names a member reports under.
struct Names {
  const char* conv;
  const char* rotate;
  const char* rotateBack;
  const char* wholeImage;
  const char* overlap;
};
template <class T>
constexpr Names namesOf() noexcept {
  if constexpr (std::is_same_v<T, float>)
    return {"zqvsConv2D", "sRotate_V", "sRotate_V_Back", "ownsHftConv2d", "ownsOverlapConv2d"};
  else
    return {"zqvdConv2D", "dRotate_V", "dRotate_V_Back", "owndHftConv2d", "owndOverlapConv2d"};
}

inline void reportNoMemory(const char* func, int32_t line) noexcept {
  zqvError(ZQV_OUT_OF_MEMORY, func, kNoMemory, kModule, line);
}

// rows * cols, or -1 when the product does not fit 64 bits.
inline int64_t areaOf(int64_t rows, int64_t cols) noexcept {
  int64_t a;
  return __builtin_mul_overflow(rows, cols, &a) ? -1 : a;
}

// A library block of count elements; null when it cannot be had, also when
// its size in bytes does not fit the allocator's 32-bit size.
template <class E>
E* takeBlock(int64_t count) noexcept {
  if (count < 1 || count > INT32_MAX / static_cast<int64_t>(sizeof(E))) return nullptr;
  return static_cast<E*>(blockAlloc(static_cast<int32_t>(count * static_cast<int64_t>(sizeof(E)))));
}

// ---- One-dimensional fast Hartley transform of a power-of-two length, in
// place: H(k) = sum over n of a(n) (cos + sin)(2 pi n k / N). Applied twice
// it gives N times the input.
struct HartleyTables {
  int64_t n = 0;
  int64_t* bitrev = nullptr;  // n entries
  double* sines = nullptr;    // sin(2 pi j / n), j = 0 .. n/4 (cosines read backwards)
  HartleyTables() = default;
  HartleyTables(const HartleyTables&) = delete;
  HartleyTables& operator=(const HartleyTables&) = delete;
  ~HartleyTables() {
    zqvFree(bitrev);
    zqvFree(sines);
  }
  bool build(int64_t length) noexcept {
    n = length;
    bitrev = takeBlock<int64_t>(n);
    sines = bitrev ? takeBlock<double>(n / 4 + 1) : nullptr;
    if (!sines) return false;
    int bits = 0;
    while ((int64_t{1} << bits) < n) ++bits;
    for (int64_t i = 0; i < n; ++i) {
      int64_t r = 0;
      for (int b = 0; b < bits; ++b) r |= ((i >> b) & 1) << (bits - 1 - b);
      bitrev[i] = r;
    }
    const double w = 2.0 * 3.14159265358979323846 / static_cast<double>(n);
    // The upper half of the quarter from the cosine keeps both ends exact;
    // each entry is rounded once from long double.
    for (int64_t j = 0; j <= n / 4; ++j)
      sines[j] = static_cast<double>(8 * j <= n ? zqvroots::sinExt(w * static_cast<double>(j))
                                                : zqvroots::cosExt(w * static_cast<double>(n / 4 - j)));
    return true;
  }
};

inline HartleyView viewOf(const HartleyTables& t) noexcept { return {t.n, t.bitrev, t.sines}; }

template <class T>
void hartley(T* a, const HartleyTables& t) noexcept {
  hartleyLanes(a, 1, 1, viewOf(t));
}

// ---- Separable transform of a rows-by-cols block: every row, then every
// column. The rows go through the row/column exchange piecewise: strips of
// rows are exchanged into one scratch block of the general heap, transformed
// side by side and exchanged back; the columns are taken in panels through
// a second scratch block. Only the first `filled` rows may be non-zero
// before the first pass; only the first `kept` columns are transformed in
// the second (the others are not read afterwards). False (reported under
// the exchange's name) when a scratch block cannot be had.
template <class T>
bool hartley2(const Names& nm, T* a, int64_t rows, int64_t cols, int64_t filled, int64_t kept, const HartleyTables& tr,
              const HartleyTables& tc) noexcept {
  T* const strip = static_cast<T*>(scratchAlloc(static_cast<std::size_t>(kStripRows * cols) * sizeof(T)));
  if (!strip) {
    reportNoMemory(nm.rotate, __LINE__);
    return false;
  }
  for (int64_t r0 = 0; r0 < filled; r0 += kStripRows) {
    const int64_t lanes = std::min(kStripRows, filled - r0);
    T* const first = a + r0 * cols;
    toStrip(first, cols, lanes, strip);
    hartleyLanes(strip, lanes, lanes, viewOf(tc));
    fromStrip(first, cols, lanes, strip);
  }
  std::free(strip);
  // Columns beyond `kept` are free to transform: whole vectors of them are.
  kept = std::min(cols, (kept + kStripRows - 1) / kStripRows * kStripRows);
  const int64_t width = std::min(kPanelCols, kept);
  T* const panel = static_cast<T*>(scratchAlloc(static_cast<std::size_t>(rows * width) * sizeof(T)));
  if (!panel) {
    reportNoMemory(nm.rotateBack, __LINE__);
    return false;
  }
  for (int64_t c0 = 0; c0 < kept; c0 += width) {
    const int64_t lanes = std::min(width, kept - c0);
    copyRows(panel, lanes, a + c0, cols, rows, lanes);
    hartleyLanes(panel, lanes, lanes, viewOf(tr));
    copyRows(a + c0, cols, panel, lanes, rows, lanes);
  }
  std::free(panel);
  return true;
}

// Tables for both dimensions (one shared when they are equal).
struct TablePair {
  HartleyTables rowsT, colsT;
  const HartleyTables* r = nullptr;
  const HartleyTables* c = nullptr;
  bool build(int64_t rows, int64_t cols) noexcept {
    if (!colsT.build(cols)) return false;
    c = &colsT;
    if (rows == cols) {
      r = &colsT;
      return true;
    }
    if (!rowsT.build(rows)) return false;
    r = &rowsT;
    return true;
  }
};

// ---- Whole-image method on the two padded arrays (x, and h already
// scaled): the transform of the product is left in x.
template <class T>
bool hftConv2d(const Names& nm, T* x, T* h, int64_t rows, int64_t cols, int64_t xFilled, int64_t hFilled,
               int64_t keptCols) noexcept {
  TablePair t;
  if (!t.build(rows, cols)) {
    reportNoMemory(nm.wholeImage, __LINE__);
    return false;
  }
  bool ok = hartley2(nm, x, rows, cols, xFilled, cols, *t.r, *t.c) &&
            hartley2(nm, h, rows, cols, hFilled, cols, *t.r, *t.c);
  if (ok) {
    hartleyProduct(x, h, rows, cols);
    ok = hartley2(nm, x, rows, cols, rows, keptCols, *t.r, *t.c);
  }
  if (!ok) zqvError(ZQV_BACKTRACE, nm.wholeImage, nullptr, kModule, __LINE__);
  return ok;
}

struct Extent {
  int64_t cols, rows;
};

template <class T>
void placePadded(T* dst, int64_t stride, const T* src, Extent e, double scale) noexcept {
  for (int64_t r = 0; r < e.rows; ++r)
    for (int64_t c = 0; c < e.cols; ++c) dst[r * stride + c] = static_cast<T>(src[r * e.cols + c] * scale);
}

template <class T>
bool wholeImage(const Names& nm, const T* x, Extent xe, const T* h, Extent he, T* y) noexcept {
  const int64_t pr = pow2AtLeast(2 * std::max(xe.rows, he.rows)), pc = pow2AtLeast(2 * std::max(xe.cols, he.cols));
  const int64_t area = areaOf(pr, pc);
  T* const a = takeBlock<T>(area);
  T* const b = a ? takeBlock<T>(area) : nullptr;
  bool ok = b != nullptr;
  if (!ok) {
    reportNoMemory(nm.conv, __LINE__);
  } else {
    std::memset(a, 0, static_cast<std::size_t>(area) * sizeof(T));
    std::memset(b, 0, static_cast<std::size_t>(area) * sizeof(T));
    placePadded(a, pc, x, xe, 1.0);
    placePadded(b, pc, h, he, 0.5 / static_cast<double>(area));
    ok = hftConv2d(nm, a, b, pr, pc, xe.rows, he.rows, xe.cols + he.cols - 1);
    if (!ok) zqvError(ZQV_BACKTRACE, nm.conv, nullptr, kModule, __LINE__);
    if (ok) {
      const int64_t yr = xe.rows + he.rows - 1, yc = xe.cols + he.cols - 1;
      for (int64_t r = 0; r < yr; ++r) std::memcpy(y + r * yc, a + r * pc, static_cast<std::size_t>(yc) * sizeof(T));
    }
  }
  zqvFree(a);
  zqvFree(b);
  return ok;
}

// ---- Tiled (overlap-add) method: the kernel transformed once, the large
// operand cut into tiles of half the transform size in each dimension.
struct TileSizes {
  int64_t tr, tc;
};
inline TileSizes tileSizes(Extent large, Extent kernel) noexcept {
  int64_t tr = 2 * pow2AtLeast(kernel.rows), tc = 2 * pow2AtLeast(kernel.cols);
  const int64_t lr = 2 * pow2AtLeast(large.rows), lc = 2 * pow2AtLeast(large.cols);
  const int64_t gr = lr / tr, gc = lc / tc;
  if (gr < 2 || gc < 2) {
    if (gc < gr || (gc == gr && tc < tr)) tc = std::max(tc, lc);
    else tr = std::max(tr, lr);
  }
  return {tr, tc};
}

template <class T>
bool overlapConv2d(const Names& nm, const T* large, Extent le, const T* kernel, Extent ke, T* y) noexcept {
  const TileSizes ts = tileSizes(le, ke);
  const int64_t area = areaOf(ts.tr, ts.tc);
  const int64_t stepR = ts.tr / 2, stepC = ts.tc / 2;
  const int64_t yr = le.rows + ke.rows - 1, yc = le.cols + ke.cols - 1;
  T* const kt = takeBlock<T>(area);
  T* const tile = kt ? takeBlock<T>(area) : nullptr;
  TablePair t;
  bool ok = tile && t.build(ts.tr, ts.tc);
  if (!ok) reportNoMemory(nm.overlap, __LINE__);
  const bool ready = ok;
  if (ok) {
    std::memset(kt, 0, static_cast<std::size_t>(area) * sizeof(T));
    placePadded(kt, ts.tc, kernel, ke, 0.5 / static_cast<double>(area));
    ok = hartley2(nm, kt, ts.tr, ts.tc, ke.rows, ts.tc, *t.r, *t.c);
  }
  if (ok)
    for (int64_t r = 0; r < yr; ++r) std::memset(y + r * yc, 0, static_cast<std::size_t>(yc) * sizeof(T));
  for (int64_t r0 = 0; ok && r0 < le.rows; r0 += stepR)
    for (int64_t c0 = 0; ok && c0 < le.cols; c0 += stepC) {
      const int64_t nr = std::min(stepR, le.rows - r0), nc = std::min(stepC, le.cols - c0);
      std::memset(tile, 0, static_cast<std::size_t>(area) * sizeof(T));
      for (int64_t r = 0; r < nr; ++r)
        std::memcpy(tile + r * ts.tc, large + (r0 + r) * le.cols + c0, static_cast<std::size_t>(nc) * sizeof(T));
      const int64_t outR = nr + ke.rows - 1, outC = nc + ke.cols - 1;
      ok = hartley2(nm, tile, ts.tr, ts.tc, nr, ts.tc, *t.r, *t.c);
      if (!ok) break;
      hartleyProduct(tile, kt, ts.tr, ts.tc);
      ok = hartley2(nm, tile, ts.tr, ts.tc, ts.tr, outC, *t.r, *t.c);
      if (!ok) break;
      for (int64_t r = 0; r < outR; ++r) {
        T* const yrow = y + (r0 + r) * yc + c0;
        const T* const trow = tile + r * ts.tc;
        for (int64_t c = 0; c < outC; ++c) yrow[c] += trow[c];
      }
    }
  if (ready && !ok) zqvError(ZQV_BACKTRACE, nm.overlap, nullptr, kModule, __LINE__);
  zqvFree(kt);
  zqvFree(tile);
  return ok;
}

// ---- Direct method: every non-zero element of the narrow operand (fewer
// columns; h at equal counts) times the rows of the wide one. Zeros of
// either operand add nothing, so an infinity never meets a zero factor.
template <class T>
void direct(const T* x, Extent xe, const T* h, Extent he, T* y) noexcept {
  const bool hNarrow = he.cols <= xe.cols;
  const T* const n = hNarrow ? h : x;
  const T* const w = hNarrow ? x : h;
  const Extent ne = hNarrow ? he : xe, we = hNarrow ? xe : he;
  const int64_t yr = xe.rows + he.rows - 1, yc = xe.cols + he.cols - 1;
  for (int64_t r = 0; r < yr; ++r)
    for (int64_t c = 0; c < yc; ++c) y[r * yc + c] = T{};
  for (int64_t i = 0; i < ne.rows; ++i)
    for (int64_t j = 0; j < ne.cols; ++j) {
      const T v = n[i * ne.cols + j];
      if (v == 0) continue;
      for (int64_t r = 0; r < we.rows; ++r) addScaledRow(y + (i + r) * yc + j, w + r * we.cols, we.cols, v);
    }
}

inline void conv1(const float* x, int32_t xLen, const float* h, int32_t hLen, float* y) noexcept {
  zqvsConv(x, xLen, h, hLen, y);
}
inline void conv1(const double* x, int32_t xLen, const double* h, int32_t hLen, double* y) noexcept {
  zqvdConv(x, xLen, h, hLen, y);
}

// One method on checked arguments (tests force any of them; the
// one-dimensional one only for single rows or single columns). False when
// a step failed; the failure is reported, with a backtrace under the
// exported routine when an inner routine failed.
template <class T>
bool runMethod(Method m, const T* x, Extent xe, const T* h, Extent he, T* y) noexcept {
  constexpr Names nm = namesOf<T>();
  bool ok = true;
  switch (m) {
    case Method::Direct: direct(x, xe, h, he, y); return true;
    case Method::Whole: return wholeImage(nm, x, xe, h, he, y);
    case Method::OneDim:
      // The one-dimensional routine clears the status first: negative after it means it failed.
      conv1(x, static_cast<int32_t>(std::max(xe.rows, xe.cols)), h, static_cast<int32_t>(std::max(he.rows, he.cols)),
            y);
      ok = !zqvStatusNegative();
      break;
    case Method::Tiled:
      ok = areaOf(xe.rows, xe.cols) >= areaOf(he.rows, he.cols) ? overlapConv2d(nm, x, xe, h, he, y)
                                                                : overlapConv2d(nm, h, he, x, xe, y);
      break;
  }
  if (!ok) zqvError(ZQV_BACKTRACE, nm.conv, nullptr, kModule, __LINE__);
  return ok;
}

template <class T>
bool refused(ZqvSite site, const T* x, int32_t xCols, int32_t xRows, const T* h, int32_t hCols, int32_t hRows,
             const void* y) noexcept {
  return zqvCheckFirst(site, {ZQV_CHECK(!x || !h || !y, kNullData), ZQV_CHECK(xRows < 1 || xCols < 1, kBadSize),
                              ZQV_CHECK(hRows < 1 || hCols < 1, kBadSize)});
}

// Body after the checks; false when a step failed (and reported).
template <class T>
bool convolveChecked(const T* x, int32_t xCols, int32_t xRows, const T* h, int32_t hCols, int32_t hRows,
                     T* y) noexcept {
  return runMethod(chooseMethod(xCols, xRows, hCols, hRows), x, Extent{xCols, xRows}, h, Extent{hCols, hRows}, y);
}

template <class T>
void convolve(const T* x, int32_t xCols, int32_t xRows, const T* h, int32_t hCols, int32_t hRows, T* y) noexcept {
  constexpr Names nm = namesOf<T>();
  if (refused({nm.conv, kModule}, x, xCols, xRows, h, hCols, hRows, y)) return;
  convolveChecked(x, xCols, xRows, h, hCols, hRows, y);
}

}  // namespace zqvcnv2d

#endif
