// Sums of the filter families carried in double: a real value as a double,
// a complex one as a pair of doubles, with the mixed real-complex products
// taken part by part.
#ifndef ZQV_WIDE_H
#define ZQV_WIDE_H

#include "zqvp4.h"

namespace zqvwide {

struct Wide2 {
  double re, im;
};

inline double widen(float v) noexcept { return v; }
inline double widen(double v) noexcept { return v; }
inline Wide2 widen(ZqvCplxS v) noexcept { return {v.re, v.im}; }
inline Wide2 widen(ZqvCplxD v) noexcept { return {v.re, v.im}; }

inline Wide2 operator+(Wide2 a, Wide2 b) noexcept { return {a.re + b.re, a.im + b.im}; }
inline Wide2 operator-(Wide2 a, Wide2 b) noexcept { return {a.re - b.re, a.im - b.im}; }
inline Wide2 operator*(double a, Wide2 b) noexcept { return {a * b.re, a * b.im}; }
inline Wide2 operator*(Wide2 a, double b) noexcept { return {a.re * b, a.im * b}; }
inline Wide2 operator*(Wide2 a, Wide2 b) noexcept {
  return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re};
}

template <class O>
inline O narrow(double v) noexcept { return static_cast<O>(v); }
template <class O>
inline O narrow(Wide2 v) noexcept {
  using P = decltype(O::re);
  return {static_cast<P>(v.re), static_cast<P>(v.im)};
}

// Whether the processor has AVX2, and AVX2 with fused multiply-add. A
// product of two floats is exact in double, so a fused multiply-add that
// takes such a product rounds a double sum exactly as a multiply and an add.
inline bool hasAvx2() noexcept {
  static const bool yes = __builtin_cpu_supports("avx2");
  return yes;
}

inline bool hasFma() noexcept {
  static const bool yes = __builtin_cpu_supports("avx2") && __builtin_cpu_supports("fma");
  return yes;
}

inline double conjOf(double v) noexcept { return v; }
inline Wide2 conjOf(Wide2 v) noexcept { return {v.re, -v.im}; }

}  // namespace zqvwide

#endif
