// Method choice and work memory of the two-dimensional convolution. The
// choice is a pure function of the four extents; the allocators are hooks so
// tests can make them fail.
#ifndef ZQV_CNV2DSEL_H
#define ZQV_CNV2DSEL_H

#include <cstddef>
#include <cstdint>

namespace zqvcnv2d {

enum class Method { Direct, OneDim, Tiled, Whole };

// Extents as the caller gives them (each at least 1).
Method chooseMethod(int64_t xCols, int64_t xRows, int64_t hCols, int64_t hRows) noexcept;

// Library blocks (released by zqvFree) for the transform arrays and tables,
// and the general heap (released by std::free) for the row/column exchange.
using BlockAlloc = void* (*)(int32_t bytes);
using ScratchAlloc = void* (*)(std::size_t bytes);
extern BlockAlloc blockAlloc;
extern ScratchAlloc scratchAlloc;

// The smallest power of two at least v (v >= 1).
inline int64_t pow2AtLeast(int64_t v) noexcept {
  int64_t p = 1;
  while (p < v) p <<= 1;
  return p;
}

}  // namespace zqvcnv2d

#endif
