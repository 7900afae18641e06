// Rounding and checks shared by the computation and the effects. The
// arithmetic is long double (x87 extended) throughout; values are stored as
// float exactly where the computation keeps them. Rounding to an integer
// takes halves to even, as the floating-point unit does by default.
#pragma once

#include <cmath>
#include <cstdint>
#include <stdexcept>

namespace kalvora::engine {

namespace detail {
// The floating-point unit's own store to a 64-bit integer rounds in its
// current mode (halves to even by default), as rint does, without a separate
// rounding instruction; the caller has checked the range.
inline std::int64_t StoreRounded(long double x) {
#if defined(__x86_64__) || defined(__i386__)
  long long r;
  __asm__("fistpll %0" : "=m"(r) : "t"(x) : "st");
  return r;
#else
  return static_cast<std::int64_t>(std::rint(x));
#endif
}
}  // namespace detail

// Nearest integer, halves to even; a NaN or a value outside the 64-bit range
// is a run-time error that ends the computation.
inline std::int64_t RoundEven(long double x) {
  if (!(x > -9.2e18L && x < 9.2e18L)) throw std::range_error("Range check error in the sample computation.");
  return detail::StoreRounded(x);
}

// Cut toward zero, with the same checks: the rounded value stepped back
// toward zero when rounding went past x (a plain conversion would switch the
// unit's rounding mode twice).
inline std::int64_t Trunc(long double x) {
  if (!(x > -9.2e18L && x < 9.2e18L)) throw std::range_error("Range check error in the sample computation.");
  std::int64_t r = detail::StoreRounded(x);
  if (x >= 0) {
    if (static_cast<long double>(r) > x) --r;
  } else if (static_cast<long double>(r) < x) {
    ++r;
  }
  return r;
}

inline float F(long double x) { return static_cast<float>(x); }

// Samples per second of a quality index; anything else counts as 11025.
inline int RateOfQuality(int quality) { return quality == 1 ? 22050 : quality == 2 ? 44100 : 11025; }

}  // namespace kalvora::engine
