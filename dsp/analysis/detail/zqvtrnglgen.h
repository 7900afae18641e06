// Generic body of the triangle generator. Each sample adds the current
// slope's increment; past a peak the overshoot is folded back onto the
// other slope, so no division or phase arithmetic runs per sample.
#ifndef ZQV_TRNGLGEN_H
#define ZQV_TRNGLGEN_H

#include <cmath>
#include <cstdint>
#include <type_traits>

#include "core/zqvframe.h"

namespace zqvtrngl {

inline constexpr const char* kModule = "zqvtrngl";
inline constexpr long double kPi = 3.141592653589793;
inline constexpr long double kTwoPi = 6.283185307179586;
inline constexpr long double kFourPi = 12.566370614359172;
inline constexpr long double kTwoPiFloat = 6.2831854820251465;

// The shape of one wave: magnitude and the lengths of its falling (H) and
// rising (L) halves in phase.
struct Shape {
  long double m, h, l, rfreq;
};

// The wave's value and slope at phase theta.
inline long double valueAt(const Shape& s, long double theta) noexcept {
  return theta >= s.h ? s.m * ((theta - s.h) * 2 / s.l - 1) : s.m * (1 - 2 * theta / s.h);
}

// Written so that NaNs fail each range; a magnitude of -0 is a zero one.
template <class R, class M>
bool initRefused(ZqvSite site, R rfreq, R phase, M mag, R asym, const void* st) noexcept {
  const long double a = asym, p = phase;
  return zqvCheckFirst(site, {ZQV_CHECK(!(mag >= 0), "Invalid magnitude value"),
                              ZQV_CHECK(!(rfreq >= 0 && rfreq < R(0.5)), "Invalid frequence value"),
                              ZQV_CHECK(!(p >= 0 && p < kTwoPi), "Invalid phase value"),
                              ZQV_CHECK(!(a > -kPi && a < kPi), "Invalid asymmetry value"),
                              ZQV_CHECK(!st, "Null pointer to state")});
}

template <class St>
void fillSlopes(St* st, const Shape& s) noexcept {
  using F = decltype(St::mag);
  const long double foldDown = -s.l / s.h, foldUp = -s.h / s.l;
  st->mag = static_cast<F>(s.m);
  st->incDown = static_cast<F>(-kFourPi * s.m * s.rfreq / s.h);
  st->incUp = static_cast<F>(kFourPi * s.m * s.rfreq / s.l);
  st->foldDown = static_cast<F>(foldDown);
  st->foldUp = static_cast<F>(foldUp);
  st->wrapDown = static_cast<F>(kFourPi * s.m / s.l);
  st->wrapUp = static_cast<F>(kFourPi * s.m / s.h);
  st->offDown = static_cast<F>(s.m - foldDown * s.m);
  st->offUp = static_cast<F>(foldUp * s.m - s.m);
}

template <class St, class R, class M>
void init(ZqvSite site, R rfreq, R phase, M mag, R asym, St* st) noexcept {
  if (initRefused(site, rfreq, phase, mag, asym, st)) return;
  using F = decltype(St::mag);
  const Shape s{static_cast<long double>(mag), kPi + asym, kPi - asym, rfreq};
  fillSlopes(st, s);
  const long double p = phase;
  if constexpr (requires { st->value; }) {
    st->inc = p >= s.h ? st->incUp : st->incDown;
    st->value = static_cast<F>(valueAt(s, p));
  } else {
    // The imaginary part is the same wave a quarter of a period (of its own
    // shape) later.
    long double q = p + (s.h + kTwoPi) * 0.5L;
    if (q > kTwoPi) q -= kTwoPiFloat;
    st->incRe = p >= s.h ? st->incUp : st->incDown;
    st->incIm = q >= s.h ? st->incUp : st->incDown;
    st->valueRe = static_cast<F>(valueAt(s, p));
    st->valueIm = static_cast<F>(valueAt(s, q));
  }
}

// One step of one part: returns the current value and moves to the next.
template <class St, class F>
F step(const St* st, F& value, F& inc) noexcept {
  const F out = value;
  const long double m = st->mag;
  long double v = static_cast<long double>(value) + inc;
  if (v > m) {
    const long double folded = m + (v - m) * st->foldDown;
    if (folded >= -m) {
      inc = st->incDown;
      v = folded;
    } else {
      v -= st->wrapDown;
    }
  } else if (v < -m) {
    const long double folded = -m + (v + m) * st->foldUp;
    if (folded <= m) {
      inc = st->incUp;
      v = folded;
    } else {
      v += st->wrapUp;
    }
  }
  value = static_cast<F>(v);
  return out;
}

// The 16-bit forms keep the wave in floats: the value rounded by the current
// rounding mode (to nearest by default), low 16 bits kept.
inline int16_t toW(float v) noexcept {
  const float r = std::nearbyint(v);
  if (!(r >= -2147483648.0f && r < 2147483648.0f)) return 0;
  return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint32_t>(static_cast<int32_t>(r))));
}

template <class T, class St>
T next(St* st) noexcept {
  if constexpr (requires { st->value; }) {
    const auto v = step(st, st->value, st->inc);
    if constexpr (std::is_same_v<T, int16_t>) return toW(v);
    else return v;
  } else {
    const auto re = step(st, st->valueRe, st->incRe);
    const auto im = step(st, st->valueIm, st->incIm);
    if constexpr (std::is_same_v<T, ZqvCplxW>) return {toW(re), toW(im)};
    else return {re, im};
  }
}

template <class T, class St>
T one(ZqvSite site, St* st) noexcept {
  if (zqvCheckFirst(site, {ZQV_CHECK(!st, "Null pointer to state")})) return T{};
  return next<T>(st);
}

// A vector call is exactly as many single calls.
template <class T, class St>
void vector(ZqvSite site, St* st, T* samps, int32_t sampsLen) noexcept {
  if (zqvCheckFirst(site, {ZQV_CHECK(!st, "Null pointer to state"),
                           ZQV_CHECK(!samps, "Null pointer to buffer"),
                           ZQV_CHECK(sampsLen <= 0, "Invalid number of items")}))
    return;
  for (int64_t i = 0; i < sampsLen; ++i) samps[i] = next<T>(st);
}

}  // namespace zqvtrngl

#endif
