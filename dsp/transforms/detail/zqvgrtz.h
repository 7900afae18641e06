// The Goertzel recurrence written once for float and double states, real and
// complex samples: zqvgrtzl.cpp exports the float and double forms,
// zqvgrtzw.cpp the 16-bit ones over the float state. The recurrence runs in
// long double; the state keeps its field type between calls.
#ifndef ZQV_GRTZ_H
#define ZQV_GRTZ_H

#include <cmath>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "core/zqvframe.h"
#include "transforms/detail/zqvroots.h"

namespace zqvgrtz {

using LD = long double;

template <class St>
using Real = decltype(St::freq);
template <class St>
using Cplx = decltype(St::s1);

enum class Form { Real, Complex };

// 0 < f < 0.5 by the pattern of f: for a float its 32 bits read as a signed
// integer lie in [1, pattern of 0.5), which takes every positive value below
// 0.5, subnormals included, and no zero, negative value or NaN; for a double
// the upper 32 bits must be positive and f below 0.5.
inline bool validFrequency(float f) noexcept {
  int32_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  return bits >= 1 && bits < 0x3F000000;
}
inline bool validFrequency(double f) noexcept {
  int64_t bits;
  std::memcpy(&bits, &f, sizeof bits);
  return static_cast<int32_t>(bits >> 32) > 0 && f < 0.5;
}

template <Form F, class St>
void clearDelays(St* st) noexcept {
  st->s2.re = 0;
  st->s1.re = 0;
  if constexpr (F == Form::Complex) {
    st->s2.im = 0;
    st->s1.im = 0;
  }
}

template <Form F, class St>
void init(ZqvSite site, Real<St> f, St* st) noexcept {
  using T = Real<St>;
  if (zqvCheckFirst(site, {ZQV_CHECK(st == nullptr, "Null state pointer"),
                           ZQV_CHECK(!validFrequency(f), "Invalid frequency value")}))
    return;
  const double omega = 6.283185307179586 * static_cast<double>(f);
  const LD c = zqvroots::cosExt(omega), s = zqvroots::sinExt(omega);
  st->freq = f;
  st->cosW = static_cast<T>(c);
  st->sinW = static_cast<T>(s);
  st->twoCosW = static_cast<T>(2 * c);
  clearDelays<F>(st);
}

template <Form F, class St>
void reset(ZqvSite site, St* st) noexcept {
  if (zqvCheckFirst(site, {ZQV_CHECK(st == nullptr, "Null state pointer")})) return;
  clearDelays<F>(st);
}

// The delays of one accumulation in long double, and the result e^(iw) s_n -
// s_(n-1) formed from them.
template <Form F, class St>
struct Delays {
  LD r1, r2, i1 = 0, i2 = 0;

  explicit Delays(const St* st) noexcept : r1(st->s1.re), r2(st->s2.re) {
    if constexpr (F == Form::Complex) {
      i1 = st->s1.im;
      i2 = st->s2.im;
    }
  }
  void feed(const St* st, LD re, LD im) noexcept {
    const LD twoCos = st->twoCosW;
    const LD sr = twoCos * r1 + (re - r2);
    r2 = r1;
    r1 = sr;
    if constexpr (F == Form::Complex) {
      const LD si = twoCos * i1 + (im - i2);
      i2 = i1;
      i1 = si;
    }
  }
  Cplx<St> result(const St* st) const noexcept {
    using T = Real<St>;
    const LD c = st->cosW, s = st->sinW;
    if constexpr (F == Form::Real) return {static_cast<T>(c * r1 - r2), static_cast<T>(s * r1)};
    else return {static_cast<T>(c * r1 - s * i1 - r2), static_cast<T>(c * i1 + s * r1 - i2)};
  }
  // Real forms never touch the imaginary parts of the state.
  void store(St* st) const noexcept {
    using T = Real<St>;
    st->s1.re = static_cast<T>(r1);
    st->s2.re = static_cast<T>(r2);
    if constexpr (F == Form::Complex) {
      st->s1.im = static_cast<T>(i1);
      st->s2.im = static_cast<T>(i2);
    }
  }
};

// One sample: the state rounds to its field type after every sample.
template <Form F, class St>
Cplx<St> feedOne(St* st, LD re, LD im) noexcept {
  Delays<F, St> d(st);
  d.feed(st, re, im);
  const Cplx<St> r = d.result(st);
  d.store(st);
  return r;
}

template <class S>
LD realPart(const S& x) noexcept {
  if constexpr (std::is_arithmetic_v<S>) return x;
  else return x.re;
}
template <class S>
LD imagPart(const S& x) noexcept {
  if constexpr (std::is_arithmetic_v<S>) return 0;
  else return x.im;
}

// A block: the delays stay in long double for the whole block.
template <Form F, class St, class S>
Cplx<St> feedBlock(St* st, const S* samps, int64_t len) noexcept {
  Delays<F, St> d(st);
  for (int64_t i = 0; i < len; ++i) d.feed(st, realPart(samps[i]), imagPart(samps[i]));
  d.store(st);
  return d.result(st);
}

template <Form F, class St, class S>
Cplx<St> sample(ZqvSite site, St* st, S x) noexcept {
  if (zqvCheckFirst(site, {ZQV_CHECK(st == nullptr, "Null state pointer")})) return {};
  return feedOne<F>(st, realPart(x), imagPart(x));
}

template <Form F, class St, class S>
Cplx<St> block(ZqvSite site, St* st, const S* samps, int32_t len) noexcept {
  if (zqvCheckFirst(site, {ZQV_CHECK(st == nullptr, "Null state pointer"),
                           ZQV_CHECK(samps == nullptr, "Null buffer pointer"),
                           ZQV_CHECK(len < 1, "Invalid array length")}))
    return {};
  return feedBlock<F>(st, samps, len);
}

}  // namespace zqvgrtz

#endif
