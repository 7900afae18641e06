// The number-conversion engine that the library's 16-bit families reuse:
// float and double vectors to 8/16/32-bit integers with an explicit rounding,
// wrap/saturation/check, and a fraction-bit count; integers back to floats.
// Arguments are not checked here: callers check them in their own words.
#ifndef ZQV_CVRT_H
#define ZQV_CVRT_H

#include <cfenv>
#include <cstdint>

#include "zqvp4.h"

// Holds the caller's floating-point environment for the length of one
// conversion: pending flags are cleared and traps masked on entry, and the
// caller's rounding, masks and flags come back exactly on exit, so nothing
// the conversion raised (invalid, overflow) stays pending or faults.
class ZqvFpuGuard {
 public:
  ZqvFpuGuard() noexcept { feholdexcept(&saved_); }
  ~ZqvFpuGuard() { fesetenv(&saved_); }
  ZqvFpuGuard(const ZqvFpuGuard&) = delete;
  ZqvFpuGuard& operator=(const ZqvFpuGuard&) = delete;

 private:
  fenv_t saved_;
};

// True when flags hold exactly one of the four rounding flags.
inline bool zqvOneRoundingFlag(int32_t flags) noexcept {
  const int32_t r = flags & (ZQV_CVT_ROUND_NEAR | ZQV_CVT_ROUND_ZERO | ZQV_CVT_ROUND_DOWN |
                             ZQV_CVT_ROUND_UP);
  return r != 0 && (r & (r - 1)) == 0;
}

// Kernels: element i becomes src[i]*2^f rounded by the rounding flag in flags
// (ties to even for ZQV_CVT_ROUND_NEAR), stored as int8/16/32 or, with
// ZQV_CVT_UNSIGNED, uint8/16/32. The rounding never depends on the caller's
// mode. Plain kernels wrap a value that does not fit modulo 2^bits (a NaN
// stores 0); checking kernels store the same and return non-zero when some
// value did not fit (NaN and infinities included); saturating kernels clamp
// (a NaN by its sign bit) and return non-zero when some element was clamped.
// They may raise floating-point flags: run them under a ZqvFpuGuard.
// flags must hold exactly one rounding flag; f is 0..bits.
void zqvsbFloatToInt8Kernel(const float* src, void* dst, int64_t len, int32_t flags, int32_t f) noexcept;
int32_t zqvsbFloatToInt8CheckKernel(const float* src, void* dst, int64_t len, int32_t flags, int32_t f) noexcept;
int32_t zqvsbFloatToInt8SatKernel(const float* src, void* dst, int64_t len, int32_t flags, int32_t f) noexcept;
void zqvsbFloatToInt16Kernel(const float* src, void* dst, int64_t len, int32_t flags, int32_t f) noexcept;
int32_t zqvsbFloatToInt16CheckKernel(const float* src, void* dst, int64_t len, int32_t flags, int32_t f) noexcept;
int32_t zqvsbFloatToInt16SatKernel(const float* src, void* dst, int64_t len, int32_t flags, int32_t f) noexcept;
void zqvsbFloatToInt32Kernel(const float* src, void* dst, int64_t len, int32_t flags, int32_t f) noexcept;
int32_t zqvsbFloatToInt32CheckKernel(const float* src, void* dst, int64_t len, int32_t flags, int32_t f) noexcept;
int32_t zqvsbFloatToInt32SatKernel(const float* src, void* dst, int64_t len, int32_t flags, int32_t f) noexcept;
void zqvdbFloatToInt8Kernel(const double* src, void* dst, int64_t len, int32_t flags, int32_t f) noexcept;
int32_t zqvdbFloatToInt8CheckKernel(const double* src, void* dst, int64_t len, int32_t flags, int32_t f) noexcept;
int32_t zqvdbFloatToInt8SatKernel(const double* src, void* dst, int64_t len, int32_t flags, int32_t f) noexcept;
void zqvdbFloatToInt16Kernel(const double* src, void* dst, int64_t len, int32_t flags, int32_t f) noexcept;
int32_t zqvdbFloatToInt16CheckKernel(const double* src, void* dst, int64_t len, int32_t flags, int32_t f) noexcept;
int32_t zqvdbFloatToInt16SatKernel(const double* src, void* dst, int64_t len, int32_t flags, int32_t f) noexcept;
void zqvdbFloatToInt32Kernel(const double* src, void* dst, int64_t len, int32_t flags, int32_t f) noexcept;
int32_t zqvdbFloatToInt32CheckKernel(const double* src, void* dst, int64_t len, int32_t flags, int32_t f) noexcept;
int32_t zqvdbFloatToInt32SatKernel(const double* src, void* dst, int64_t len, int32_t flags, int32_t f) noexcept;

// The whole conversion of a vector (bitSize 8, 16 or 32): chooses the
// saturating kernel with ZQV_CVT_SATURATE, else the checking kernel with
// ZQV_CVT_CHECK, else the plain one, and runs it under a ZqvFpuGuard. Returns
// true when the kernel found an element that did not fit (never for plain).
bool zqvsbConvertToInt(const float* src, void* dst, int64_t len, int32_t bitSize, int32_t flags,
                       int32_t f) noexcept;
bool zqvdbConvertToInt(const double* src, void* dst, int64_t len, int32_t bitSize, int32_t flags,
                       int32_t f) noexcept;

// Shortcuts for the 16- and 32-bit families (signed destinations).
inline bool zqvsbConvertToW(const float* src, int16_t* dst, int64_t len, int32_t flags,
                            int32_t f = 0) noexcept {
  return zqvsbConvertToInt(src, dst, len, 16, flags & ~ZQV_CVT_UNSIGNED, f);
}
inline bool zqvsbConvertToI(const float* src, int32_t* dst, int64_t len, int32_t flags,
                            int32_t f = 0) noexcept {
  return zqvsbConvertToInt(src, dst, len, 32, flags & ~ZQV_CVT_UNSIGNED, f);
}

// Integer-to-float kernels: dst[i] = src[i] exactly, except that 32-bit
// values above 2^24 in magnitude are rounded to float in the caller's mode.
// The floating-point environment is neither read for anything else nor changed.
void zqvsbInt8ToFloatKernel(const void* src, float* dst, int64_t len) noexcept;
void zqvsbUInt8ToFloatKernel(const void* src, float* dst, int64_t len) noexcept;
void zqvsbInt16ToFloatKernel(const void* src, float* dst, int64_t len) noexcept;
void zqvsbUInt16ToFloatKernel(const void* src, float* dst, int64_t len) noexcept;
void zqvsbInt32ToFloatKernel(const void* src, float* dst, int64_t len) noexcept;
void zqvsbUInt32ToFloatKernel(const void* src, float* dst, int64_t len) noexcept;
void zqvdbInt8ToFloatKernel(const void* src, double* dst, int64_t len) noexcept;
void zqvdbUInt8ToFloatKernel(const void* src, double* dst, int64_t len) noexcept;
void zqvdbInt16ToFloatKernel(const void* src, double* dst, int64_t len) noexcept;
void zqvdbUInt16ToFloatKernel(const void* src, double* dst, int64_t len) noexcept;
void zqvdbInt32ToFloatKernel(const void* src, double* dst, int64_t len) noexcept;
void zqvdbUInt32ToFloatKernel(const void* src, double* dst, int64_t len) noexcept;

// Chooses the kernel by bitSize (8, 16, 32; anything else does nothing) and
// ZQV_CVT_UNSIGNED in flags.
void zqvsbWidenToFloat(const void* src, float* dst, int64_t len, int32_t bitSize,
                       int32_t flags) noexcept;
void zqvdbWidenToFloat(const void* src, double* dst, int64_t len, int32_t bitSize,
                       int32_t flags) noexcept;

#endif
