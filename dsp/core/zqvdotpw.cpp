// Dot products of 16-bit and complex 16-bit vectors, narrowed to 16 bits by
// the scale mode (compared as a value: 1 saturate, 2 fixed shift, 3 fixed
// shift saturated, 4 automatic, other values wrap). Like the other dot
// products they neither read nor clear the thread's status.
#include <bit>
#include <cstdint>
#include <type_traits>

#include "core/zqvframe.h"
#include "core/detail/zqvscale.h"

namespace {

constexpr const char* kModule = "zqvdotpw";

inline int16_t wrap16(int64_t x) noexcept { return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(x))); }
inline int16_t sat16(int64_t x) noexcept { return static_cast<int16_t>(x < -32768 ? -32768 : (x > 32767 ? 32767 : x)); }
inline bool fits32(int64_t x) noexcept { return x >= INT32_MIN && x <= INT32_MAX; }

// Sums are exact in 64 bits. Those that fit 32 bits are narrowed by the
// library's helpers; longer ones (a 32-bit sum would have wrapped) by the
// same rules applied to the exact value: the shift of the automatic mode is
// floor(log2 of the largest magnitude) - 14, fixed shifts keep their limits.
int16_t narrowWide(int64_t x, int32_t mode, int32_t f, int32_t autoShift) noexcept {
  switch (mode) {
    case 1: return sat16(x);
    case 2:
      if (f > 0) return wrap16(x >> (f < 63 ? f : 63));
      if (f < 0) return wrap16(static_cast<int64_t>(static_cast<uint64_t>(x) << (-f < 15 ? -f : 15)));
      return wrap16(x);
    case 3:
      if (f > 0) return sat16(x >> (f < 63 ? f : 63));
      return sat16(x);  // beyond 32 bits: any left shift saturates as well
    case 4: return static_cast<int16_t>(x >> autoShift);
    default: return wrap16(x);
  }
}

int32_t wideShift(int64_t largestMagnitude) noexcept {
  const int32_t log2 = 63 - std::countl_zero(static_cast<uint64_t>(largestMagnitude));
  return log2 > 14 ? log2 - 14 : 0;
}
inline int64_t magnitude(int64_t x) noexcept { return x < 0 ? -x : x; }

// Automatic mode without a factor pointer still computes; the shift it
// chose goes nowhere.
inline int32_t* factorOrScratch(int32_t* scaleFactor, int32_t* scratch) noexcept {
  return scaleFactor ? scaleFactor : scratch;
}

inline bool rejected(const char* func, const void* srcA, const void* srcB, int32_t n) noexcept {
  return zqvCheckFirst({func, kModule}, {ZQV_CHECK(!srcA, "Null buffer pointer"),
                                         ZQV_CHECK(!srcB, "Null buffer pointer"), ZQV_CHECK(n < 0, "Invalid value")});
}

int16_t realDot(const char* func, const int16_t* srcA, const int16_t* srcB, int32_t n, int32_t scaleMode,
                int32_t* scaleFactor) noexcept {
  if (rejected(func, srcA, srcB, n)) return 0;
  int64_t sum = 0;
  for (int64_t i = n - 1; i >= 0; --i) sum += int64_t{srcA[i]} * srcB[i];
  int32_t scratch = 0;
  int32_t* factor = factorOrScratch(scaleFactor, &scratch);
  if (fits32(sum)) return zqviScaleToW(static_cast<int32_t>(sum), scaleMode, factor);
  const int32_t shift = wideShift(magnitude(sum));
  if (scaleMode == 4) *factor = shift;
  return narrowWide(sum, scaleMode, (scaleMode == 2 || scaleMode == 3) && scaleFactor ? *scaleFactor : 0, shift);
}

template <class A, class B>
ZqvCplxW complexDot(const char* func, const A* srcA, const B* srcB, int32_t n, int32_t scaleMode,
                    int32_t* scaleFactor) noexcept {
  if (rejected(func, srcA, srcB, n)) return {0, 0};
  // Each product is at most 2^31 in magnitude: 64-bit sums never wrap.
  int64_t re = 0, im = 0;
  for (int64_t i = 0; i < n; ++i) {
    if constexpr (std::is_same_v<A, ZqvCplxW> && std::is_same_v<B, ZqvCplxW>) {
      re += int64_t{srcA[i].re} * srcB[i].re - int64_t{srcA[i].im} * srcB[i].im;
      im += int64_t{srcA[i].re} * srcB[i].im + int64_t{srcA[i].im} * srcB[i].re;
    } else if constexpr (std::is_same_v<A, ZqvCplxW>) {
      re += int64_t{srcA[i].re} * srcB[i];
      im += int64_t{srcA[i].im} * srcB[i];
    } else {
      re += int64_t{srcA[i]} * srcB[i].re;
      im += int64_t{srcA[i]} * srcB[i].im;
    }
  }
  int32_t scratch = 0;
  int32_t* factor = factorOrScratch(scaleFactor, &scratch);
  if (fits32(re) && fits32(im)) {
    const int32_t sums[2] = {static_cast<int32_t>(re), static_cast<int32_t>(im)};
    int16_t out[2];
    zqvibScaleToW(sums, out, 2, scaleMode, factor);
    return {out[0], out[1]};
  }
  const int64_t largest = magnitude(re) > magnitude(im) ? magnitude(re) : magnitude(im);
  const int32_t shift = wideShift(largest);
  if (scaleMode == 4) *factor = shift;
  const int32_t f = (scaleMode == 2 || scaleMode == 3) && scaleFactor ? *scaleFactor : 0;
  return {narrowWide(re, scaleMode, f, shift), narrowWide(im, scaleMode, f, shift)};
}

}  // namespace

ZQVAPI int16_t zqvwDotProd(const int16_t* srcA, const int16_t* srcB, int32_t n, int32_t scaleMode,
                           int32_t* scaleFactor) noexcept {
  return realDot("zqvwDotProd", srcA, srcB, n, scaleMode, scaleFactor);
}
ZQVAPI ZqvCplxW zqvvDotProd(const ZqvCplxW* srcA, const ZqvCplxW* srcB, int32_t n, int32_t scaleMode,
                            int32_t* scaleFactor) noexcept {
  return complexDot("zqvvDotProd", srcA, srcB, n, scaleMode, scaleFactor);
}
ZQVAPI ZqvCplxW zqvwvDotProd(const int16_t* srcA, const ZqvCplxW* srcB, int32_t n, int32_t scaleMode,
                             int32_t* scaleFactor) noexcept {
  return complexDot("zqvwvDotProd", srcA, srcB, n, scaleMode, scaleFactor);
}
ZQVAPI ZqvCplxW zqvvwDotProd(const ZqvCplxW* srcA, const int16_t* srcB, int32_t n, int32_t scaleMode,
                             int32_t* scaleFactor) noexcept {
  return complexDot("zqvvwDotProd", srcA, srcB, n, scaleMode, scaleFactor);
}
