// Complex products as the element-wise arithmetic forms them: float parts in
// double, double parts in long double, each part rounded once on return.
// Shared with the other families that multiply spectra; also the test by
// which divisors and factors count as zero.
#ifndef ZQV_ARITH_H
#define ZQV_ARITH_H

#include <bit>
#include <cstdint>

#include "zqvp4.h"

inline ZqvCplxS zqvCplxMpy(ZqvCplxS a, ZqvCplxS b) noexcept {
  const double ar = a.re, ai = a.im, br = b.re, bi = b.im;
  return {static_cast<float>(ar * br - ai * bi), static_cast<float>(ar * bi + ai * br)};
}

inline ZqvCplxD zqvCplxMpy(ZqvCplxD a, ZqvCplxD b) noexcept {
  const long double ar = a.re, ai = a.im, br = b.re, bi = b.im;
  return {static_cast<double>(ar * br - ai * bi), static_cast<double>(ar * bi + ai * br)};
}

// Whether a value counts as zero where a routine refuses zero divisors or
// factors: a float when its bits other than the sign are 0; a double when
// the upper word of its bits, without the sign, is 0, so magnitudes below
// 2^-1042 count as zero too.
inline bool zqvCountsAsZero(float x) noexcept { return (std::bit_cast<uint32_t>(x) & 0x7FFFFFFFu) == 0; }
inline bool zqvCountsAsZero(double x) noexcept {
  return ((std::bit_cast<uint64_t>(x) >> 32) & 0x7FFFFFFFu) == 0;
}

#endif
