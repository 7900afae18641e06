// The window families, written once for every element type. zqvwin.cpp
// exports the float, double and complex forms, zqvwinw.cpp the 16-bit ones.
#ifndef ZQV_WIN_H
#define ZQV_WIN_H

#include <cmath>
#include <cstdint>

#include "core/zqvframe.h"

namespace zqvwin {

constexpr long double kPi = 3.14159265358979323846264338327950288L;

// ---- Multiplying one element by a weight held in long double.

inline void scale(float& x, long double w) noexcept { x = static_cast<float>(x * w); }
inline void scale(double& x, long double w) noexcept { x = static_cast<double>(x * w); }
// Truncated toward zero, low 16 bits kept (weights above 1 in magnitude
// wrap). A product outside the 32-bit range or NaN yields the integer
// indefinite value 0x80000000, whose low half is 0.
inline void scale(int16_t& x, long double w) noexcept {
  const long double p = x * w;
  const int32_t r = (p > -2147483649.0L && p < 2147483648.0L) ? static_cast<int32_t>(p) : INT32_MIN;
  x = static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(r)));
}
template <class C>
inline void scale(C& x, long double w) noexcept {
  scale(x.re, w);
  scale(x.im, w);
}

// Multiplies element k and element n-1-k by w(k) for k = 0 .. n/2-1. The
// middle element of an odd length is both the front and the back element of
// the last step: it is multiplied twice, the second time its first product.
template <class T, class Weights>
void applySymmetric(T* vec, int64_t n, Weights& next) noexcept {
  for (int64_t k = 0, back = n - 1; k < back; ++k, --back) {
    const long double w = next();
    scale(vec[k], w);
    scale(vec[back], w);
  }
  if (n % 2) {
    const long double w = next();
    scale(vec[n / 2], w);
    scale(vec[n / 2], w);
  }
}

// cos(2 pi k/(n-1)) for k = 0, 1, ... by the two-term recurrence
// c(k+1) = 2 cos(t) c(k) - c(k-1), carried as c(k+1) = c(k) + d(k+1),
// d(k+1) = d(k) - 4 sin^2(t/2) c(k): for small t the plain form loses the
// angle in cos(t) ~ 1 and drifts with the length; this one does not.
class Cosines {
 public:
  explicit Cosines(int64_t n) noexcept {
    const long double s = std::sin(kPi / static_cast<long double>(n - 1));
    lambda_ = -4 * s * s;
    d_ = 2 * s * s;  // c(0) - c(-1)
  }
  long double operator()() noexcept {
    const long double c = c_;
    d_ += lambda_ * c_;
    c_ += d_;
    return c;
  }

 private:
  long double c_ = 1, d_, lambda_;
};

// The line each window routine reports its argument faults at, as the
// library's table of window reports gives them: one row per element type.
struct WindowLines {
  int32_t bartlett, hann, hamming, blackman, kaiser;
};
inline constexpr WindowLines kLinesS{136, 156, 176, 196, 217};
inline constexpr WindowLines kLinesC{141, 161, 181, 201, 222};
inline constexpr WindowLines kLinesD{146, 166, 186, 207, 227};
inline constexpr WindowLines kLinesZ{151, 171, 191, 212, 232};
inline constexpr WindowLines kLinesW{158, 168, 178, 188, 199};
inline constexpr WindowLines kLinesV{163, 173, 183, 193, 204};

// Argument checks shared by the windows: one report at most, at the routine's
// own line, never reading the status.
inline bool badBuffer(ZqvSite site, int32_t line, const void* vec, int32_t n) noexcept {
  return zqvCheckFirst(site, {ZqvCheck{!vec, "Null pointer to buffer", line},
                              ZqvCheck{n < 3, "Bad number of items", line}});
}

template <class T>
void bartlett(ZqvSite site, int32_t line, T* vec, int32_t n) noexcept {
  if (badBuffer(site, line, vec, n)) return;
  const double step = 2.0 / (n - 1);
  int64_t k = 0;
  auto next = [&]() noexcept { return static_cast<long double>(k++) * step; };
  applySymmetric(vec, n, next);
}

template <class T>
void hann(ZqvSite site, int32_t line, T* vec, int32_t n) noexcept {
  if (badBuffer(site, line, vec, n)) return;
  Cosines cosk(n);
  auto next = [&]() noexcept { return (1.0L - cosk()) * 0.5; };
  applySymmetric(vec, n, next);
}

template <class T>
void hamming(ZqvSite site, int32_t line, T* vec, int32_t n) noexcept {
  if (badBuffer(site, line, vec, n)) return;
  Cosines cosk(n);
  auto next = [&]() noexcept { return 0.54 - 0.46 * cosk(); };
  applySymmetric(vec, n, next);
}

// (alpha+1)/2 - cos(k t)/2 - (alpha/2) cos(2 k t), the second harmonic by
// the double-angle rule.
template <class T, class P>
void blackman(ZqvSite site, int32_t line, T* vec, int32_t n, P alpha) noexcept {
  const double a2 = alpha * 0.5;
  const double c0 = 0.5 + a2;
  if (badBuffer(site, line, vec, n)) return;
  Cosines cosk(n);
  auto next = [&]() noexcept {
    const long double c = cosk();
    return c0 - 0.5 * c - a2 * (2 * c * c - 1.0);
  };
  applySymmetric(vec, n, next);
}

// -(0.5 / cos(pi/(n-1)))^2; lengths below 3 are refused by the Blackman
// routine, which does not use the value.
inline long double blackmanOptAlpha(int32_t n) noexcept {
  if (n < 3) return 0;
  const long double q = 0.5L / std::cos(kPi / (n - 1));
  return -q * q;
}

// Modified Bessel function I0, polynomial approximations for x below and
// from 3.75 on; both start from x squared so the window needs no square root
// in the common case. NaN takes the first branch.
inline long double besselI0FromSquare(long double z) noexcept {
  if (!(z >= 14.0625)) {
    const long double y = z * 0.07111111111111111;  // (x/3.75)^2
    const long double y2 = y * y;
    return (1.0 + y * (3.5156229 + y * (3.0899424 + y * 1.2067492))) +
           y2 * y2 * (0.2659732 + y * (0.0360768 + y * 0.0045813));
  }
  const long double x = std::sqrt(z);
  const long double u = 3.75 / x;
  const long double p =
      0.39894228 + u * (0.01328592 + u * (0.00225319 + u * (-0.00157565 + u * 0.00916281)));
  const long double q = -0.02057706 + u * (0.02635537 + u * (-0.01647633 + u * 0.00392377));
  const long double u2 = u * u;
  return std::exp(x) / std::sqrt(x) * (p + u2 * u2 * u * q);
}

inline long double besselI0(double x) noexcept {
  const long double lx = x;
  return besselI0FromSquare(lx * lx);
}

// w(k) = I0(beta sqrt(k (n-1-k))) / I0(beta (n-1)/2); the middle element of
// an odd length has weight 1 and is left as it is.
template <class T, class P>
void kaiser(ZqvSite site, int32_t line, T* vec, int32_t n, P beta) noexcept {
  const long double bb = static_cast<double>(static_cast<long double>(beta) * beta);
  // The size test is on the signed product, so a negative beta passes it at
  // any size (the weights only see beta^2); NaN is refused.
  const long double size = static_cast<long double>(n - int64_t{1}) * beta * P(0.5);
  if (zqvCheckFirst(site, {ZqvCheck{!vec, "Null pointer to buffer", line},
                           ZqvCheck{n < 3, "Bad number of items", line},
                           ZqvCheck{!(size <= P(308.0)), "Huge window parameter", line}}))
    return;
  // A negative beta so large that I0 leaves the long double range would turn
  // every weight into NaN: it is refused as huge as well.
  const long double i0 = besselI0(static_cast<double>(size));
  if (zqvCheckFirst(site, {ZqvCheck{!std::isfinite(i0), "Huge window parameter", line}})) return;
  const long double inv = 1.0L / i0;
  const int64_t last = n - 1;
  int64_t m = 0;  // k (n-1-k), 64-bit: it outgrows 32 bits from n = 92683 on
  for (int64_t k = 0, back = last; k < back; ++k, --back) {
    const long double w = besselI0FromSquare(m * bb) * inv;
    scale(vec[k], w);
    scale(vec[back], w);
    m += last - 1 - 2 * k;
  }
}

}  // namespace zqvwin

#endif
