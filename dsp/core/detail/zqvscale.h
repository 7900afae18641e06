// Narrowing of wider results to 16 bits under the caller's scale mode:
// 0 wrap, 1 saturate, 2 fixed shift then wrap, 3 fixed shift then saturate,
// 4 automatic shift (the shift chosen is written through scaleFactor).
// Internal: exported routines check the mode and the factor pointer first.
#ifndef ZQV_SCALE_H
#define ZQV_SCALE_H

#include <cstdint>

// Index of the element of largest magnitude (bit-pattern order, NaN above
// infinity); ties go to the odd tail for odd n, else to the earliest element.
int32_t zqvsbMaxAbsIndex(const float* src, int32_t n) noexcept;
int32_t zqvibMaxAbsIndex(const int32_t* src, int32_t n) noexcept;
// floor(log2(|x|)), 0 when |x| < 2.
int32_t zqvAbsLog2(int32_t x) noexcept;

int16_t zqviScaleToW(int32_t x, int32_t scaleMode, int32_t* scaleFactor) noexcept;
void zqvibScaleToW(const int32_t* src, int16_t* dst, int32_t n, int32_t scaleMode,
                   int32_t* scaleFactor) noexcept;
// Float values are truncated toward zero.
void zqvsbScaleToW(const float* src, int16_t* dst, int32_t n, int32_t scaleMode,
                   int32_t* scaleFactor) noexcept;
// Two vectors (real and imaginary parts) with one common shift.
void zqvsbrScaleToW(const float* srcA, const float* srcB, int16_t* dstA, int16_t* dstB, int32_t n,
                    int32_t scaleMode, int32_t* scaleFactor) noexcept;
// For the 16-bit filter kernels: effective mode 0..6 and a non-negative shift.
void zqvNormScaleMode(int32_t* effectiveMode, int32_t* shift, int32_t scaleMode,
                      const int32_t* scaleFactor, int32_t extraShift) noexcept;

#endif
