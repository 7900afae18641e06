// Roots of unity for every twiddle table, the cosines and sines of the other
// cached tables, and the release of cached table slots. Roots are computed
// in long double from an exact octant reduction of the angle, so every table
// is accurate to its element type at any length.
#ifndef ZQV_ROOTS_H
#define ZQV_ROOTS_H

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <utility>

#include "zqvp4.h"

namespace zqvroots {

constexpr long double kPi = 3.141592653589793238462643383279502884L;

struct Root {
  long double c, s;
};

// cos and sin of 2 pi k / len, reduced to the first octant so that quarter
// turns come out exact and symmetric entries agree.
inline Root unitRoot(uint64_t k, uint64_t len) noexcept {
  uint64_t a = 8 * (k % len);
  const uint64_t eighth = len;
  bool negS = false, negC = false, swapCs = false;
  if (a > 4 * eighth) { a = 8 * eighth - a; negS = true; }
  if (a > 2 * eighth) { a = 4 * eighth - a; negC = true; }
  if (a > eighth) { a = 2 * eighth - a; swapCs = true; }
  const long double theta = kPi * static_cast<long double>(a) / (4.0L * static_cast<long double>(len));
  Root r{cosl(theta), sinl(theta)};
  if (swapCs) std::swap(r.c, r.s);
  if (negC) r.c = -r.c;
  if (negS) r.s = -r.s;
  return r;
}

// cos and sin of an angle formed in double, evaluated in long double; the
// caller rounds once to its table's type. The C library's double routines
// come in builds per processor (with and without fused multiply-add) that
// round some results differently in the last bit; the long double ones have
// one build, so tables filled from these are the same on every processor.
inline long double cosExt(double angle) noexcept { return cosl(angle); }
inline long double sinExt(double angle) noexcept { return sinl(angle); }

template <class C>
inline C expNeg(uint64_t k, uint64_t len) noexcept {
  using T = decltype(C::re);
  const Root r = unitRoot(k, len);
  return C{static_cast<T>(r.c), static_cast<T>(-r.s)};
}

inline ZqvCplxW expNegW(uint64_t k, uint64_t len) noexcept {
  const Root r = unitRoot(k, len);
  return ZqvCplxW{static_cast<int16_t>(truncl(r.c * 16384.0L)), static_cast<int16_t>(truncl(-r.s * 16384.0L))};
}

// Frees one cached table (zqvFree ignores null) and empties its slot.
template <class E, std::size_t K>
inline void releaseOne(E* (&slots)[K], int32_t index) noexcept {
  if (index < 0 || index >= static_cast<int32_t>(K)) return;
  zqvFree(slots[index]);
  slots[index] = nullptr;
}

template <class E, std::size_t K>
inline void releaseAll(E* (&slots)[K]) noexcept {
  for (std::size_t i = 0; i < K; ++i) releaseOne(slots, static_cast<int32_t>(i));
}

}  // namespace zqvroots

#endif
