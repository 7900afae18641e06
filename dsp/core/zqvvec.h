// Square-root kernels of the vector module, shared with the library's other
// integer routines, and the argument checks common to the module's two files.
#ifndef ZQV_VEC_H
#define ZQV_VEC_H

#include <cmath>
#include <cstdint>

#include "core/zqvframe.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

// Largest r with r*r <= x, for every 32-bit x. The double square root is
// exact here under any rounding direction: x converts exactly, and for a
// non-square x the root lies at least 1/(2*65536) below the next integer,
// far more than one unit in the last place, so truncation never lands on it.
inline uint32_t zqvIsqrt32(uint32_t x) noexcept {
  return static_cast<uint32_t>(std::sqrt(static_cast<double>(x)));
}

// The same for arguments below 2^22, through float: the roots stay below
// 2048, where 1/(2*root) still exceeds a float's unit in the last place.
inline int32_t zqvIsqrt16(int32_t x) noexcept {
  return static_cast<int32_t>(std::sqrt(static_cast<float>(x)));
}

// Integer square roots of n non-negative 16-bit values, eight per step (the
// library's own square root keeps errno out of the way of vectorisation).
// In place is allowed.
inline void zqvIsqrt16Block(const int16_t* src, int16_t* dst, int64_t n) noexcept {
  int64_t i = 0;
#if defined(__SSE2__)
  const __m128i zero = _mm_setzero_si128();
  for (; i + 8 <= n; i += 8) {
    const __m128i x = _mm_loadu_si128(reinterpret_cast<const __m128i*>(src + i));
    const __m128 low = _mm_cvtepi32_ps(_mm_unpacklo_epi16(x, zero));
    const __m128 high = _mm_cvtepi32_ps(_mm_unpackhi_epi16(x, zero));
    const __m128i rootLow = _mm_cvttps_epi32(_mm_sqrt_ps(low));
    const __m128i rootHigh = _mm_cvttps_epi32(_mm_sqrt_ps(high));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(dst + i), _mm_packs_epi32(rootLow, rootHigh));
  }
#endif
  for (; i < n; ++i) dst[i] = static_cast<int16_t>(zqvIsqrt16(src[i]));
}

// The module the vector routines report under (both files of the module).
inline constexpr const char* kZqvVecModule = "zqvvec";

// One vector: "len<=0" then "vec==0", both reported; true when the routine
// must return without work.
inline bool zqvVecRejected(ZqvSite site, const void* vec, int32_t n) noexcept {
  return zqvCheckAll(site,
                     {ZQV_CHECK(n <= 0, "len<=0"), ZQV_CHECK(vec == nullptr, "vec==0")});
}

// Source and destination: "len<=0", "src==0", "dst==0".
inline bool zqvVecPairRejected(ZqvSite site, const void* src, const void* dst,
                               int32_t n) noexcept {
  return zqvCheckAll(site,
                     {ZQV_CHECK(n <= 0, "len<=0"), ZQV_CHECK(src == nullptr, "src==0"),
                      ZQV_CHECK(dst == nullptr, "dst==0")});
}

// The one report after a loop that met negative elements under a square root.
inline void zqvVecReportNegative(ZqvSite site, int64_t negatives, int32_t line) noexcept {
  if (negatives != 0)
    zqvError(ZQV_BAD_ARGUMENT, site.func, "Element of input vector is negative", site.module, line);
}

#endif
