// Rounding and checks shared by the computation and the effects. The
// arithmetic is long double (x87 extended) throughout; values are stored as
// float exactly where the computation keeps them. Rounding to an integer
// takes halves to even, as the floating-point unit does by default.
#pragma once

#include <cmath>
#include <cstdint>
#include <stdexcept>

namespace kalvora::engine {

// Nearest integer, halves to even; a NaN or a value outside the 64-bit range
// is a run-time error that ends the computation.
inline std::int64_t RoundEven(long double x) {
  if (!(x > -9.2e18L && x < 9.2e18L)) throw std::range_error("Range check error in the sample computation.");
  // rint rounds as nearbyint does in the default mode, without saving and
  // restoring the floating-point environment (only the inexact flag differs).
  return static_cast<std::int64_t>(std::rint(x));
}

// Cut toward zero, with the same checks.
inline std::int64_t Trunc(long double x) {
  if (!(x > -9.2e18L && x < 9.2e18L)) throw std::range_error("Range check error in the sample computation.");
  return static_cast<std::int64_t>(x);
}

inline float F(long double x) { return static_cast<float>(x); }

// Samples per second of a quality index; anything else counts as 11025.
inline int RateOfQuality(int quality) { return quality == 1 ? 22050 : quality == 2 ? 44100 : 11025; }

}  // namespace kalvora::engine
