// Generic bodies of the uniform and Gaussian random generators. Every form
// draws from one integer engine: a lagged subtract-with-borrow sequence
// added to a linear congruential sequence, seeded by the classic run-time
// rand() recurrence. The records of all forms name their engine words
// alike, so one body serves each.
#ifndef ZQV_RANDGEN_H
#define ZQV_RANDGEN_H

#include <cmath>
#include <cstdint>
#include <type_traits>

#include "core/zqvframe.h"

namespace zqvrand {

inline constexpr const char* kModule = "zqvrand";
inline constexpr const char* kModuleW = "zqvrandw";

inline constexpr uint32_t kLcgStart = 1131199209u;
// Just above 2^-32 and just below 2^-31, as the sequences were defined.
inline constexpr double kUniScale = 2.328306436539e-10;
inline constexpr double kGausScale = 4.656612873077e-10;

// One draw of the seeding generator: 15 bits.
inline uint32_t seedDraw(uint32_t& s) noexcept {
  s = s * 214013u + 2531011u;
  return (s >> 16) & 0x7FFFu;
}

// One engine step: both sequences advance once.
template <class St>
int32_t engineStep(St* st) noexcept {
  uint32_t t = st->lag2 - st->lag3 - static_cast<uint32_t>(st->borrow);
  if (static_cast<int32_t>(t) <= 0) {
    t -= 18u;
    st->borrow = 1;
  } else {
    st->borrow = 0;
  }
  st->lag3 = st->lag2;
  st->lag2 = st->lag1;
  st->lag1 = t;
  st->lcgVal = st->lcgVal * 69069u + 1013904243u;
  return static_cast<int32_t>(st->lcgVal + t);
}

// A float seed truncated toward zero; a seed that no int32 holds (NaN
// included) seeds as 0x80000000, the integer-indefinite value, instead of an
// undefined conversion.
template <class R>
uint32_t seedWord(R seed) noexcept {
  if (!(seed > R(-2147483649.0) && seed < R(2147483648.0))) return 0x80000000u;
  return static_cast<uint32_t>(static_cast<int32_t>(seed));
}

// A value computed in extended precision, as the element type: rounded for
// floats; truncated toward zero with the low 16 bits kept for 16-bit
// elements (the generators' values stay far inside int64 there).
template <class R>
R store(long double v) noexcept {
  if constexpr (std::is_floating_point_v<R>) {
    return static_cast<R>(v);
  } else {
    return static_cast<R>(static_cast<uint16_t>(static_cast<uint64_t>(static_cast<int64_t>(v))));
  }
}

template <class T>
struct Part {
  using type = T;
};
template <class T>
  requires requires(T t) { t.re; }
struct Part<T> {
  using type = decltype(T::re);
};
template <class T>
using PartOf = typename Part<T>::type;
template <class T>
inline constexpr bool isComplex = !std::is_same_v<PartOf<T>, T>;

// ---- Uniform

template <class St, class R>
void uniSetRange(St* st, R low, R high) noexcept {
  using F = decltype(St::center);
  const long double lo = low, hi = high;
  st->center = static_cast<F>(lo + 0.5L * (hi - lo));
  st->scale = static_cast<F>((hi - lo) * static_cast<long double>(kUniScale));
}

template <class P, class St>
P uniPart(St* st) noexcept {
  const long double e = engineStep(st);
  return store<P>(static_cast<long double>(st->center) + static_cast<long double>(st->scale) * e);
}

// Complex values take the real part from the first number.
template <class T, class St>
T uniNext(St* st) noexcept {
  using P = PartOf<T>;
  if constexpr (isComplex<T>) {
    const P re = uniPart<P>(st);
    const P im = uniPart<P>(st);
    return {re, im};
  } else {
    return uniPart<P>(st);
  }
}

template <class St>
void discardFive(St* st) noexcept {
  for (int i = 0; i < 5; ++i) engineStep(st);
}

template <class R, class St>
void uniInit(ZqvSite site, R seed, R low, R high, St* st) noexcept {
  if (zqvCheckFirst(site, {ZQV_CHECK(!st, "Null pointer to state structure")})) return;
  uniSetRange(st, low, high);
  uint32_t s = seedWord(seed);
  st->seedVal = s;
  st->lag1 = s;
  st->borrow = 0;
  st->lag2 = seedDraw(s);
  st->lag3 = seedDraw(s);
  st->seedVal = s;
  st->lcgVal = kLcgStart;
  discardFive(st);
}

// The 16-bit record keeps a third seeding draw and two constants nobody
// reads; they are filled all the same.
template <class St>
void uniInitW(ZqvSite site, int32_t seed, int16_t low, int16_t high, St* st) noexcept {
  if (zqvCheckFirst(site, {ZQV_CHECK(!st, "statePtr==0")})) return;
  uniSetRange(st, low, high);
  uint32_t s = static_cast<uint32_t>(seed);
  st->reserved1 = 0;
  st->reserved2 = 0;
  st->lag1 = s;
  st->lag2 = seedDraw(s);
  st->lag3 = seedDraw(s);
  st->lcgVal = kLcgStart;
  st->reserved3 = seedDraw(s);
  st->borrow = 0;
  st->seedVal = s;
  st->reserved4 = 32;
  discardFive(st);
}

template <class T, class St>
T uniOne(ZqvSite site, St* st) noexcept {
  if (zqvCheckFirst(site, {ZQV_CHECK(!st, "Null pointer to state structure")})) return T{};
  return uniNext<T>(st);
}

template <class T, class St>
T uniOneW(ZqvSite site, St* st) noexcept {
  if (zqvCheckFirst(site, {ZQV_CHECK(!st, "((void*)(0))==statePtr")})) return T{};
  return uniNext<T>(st);
}

// A negative length is refused like a zero one: there is nothing it could
// describe.
template <class T, class St>
bool vectorRefused(ZqvSite site, const St* st, const T* samps, int32_t sampsLen) noexcept {
  return zqvCheckFirst(site, {ZQV_CHECK(!st, "Null pointer to state structure"),
                              ZQV_CHECK(!samps, "Null pointer to data buffer"),
                              ZQV_CHECK(sampsLen <= 0, "Null length of buffer")});
}

template <class T, class St>
void uniVector(ZqvSite site, St* st, T* samps, int32_t sampsLen) noexcept {
  if (vectorRefused(site, st, samps, sampsLen)) return;
  for (int64_t i = 0; i < sampsLen; ++i) samps[i] = uniNext<T>(st);
}

// The 16-bit vector form reports both argument faults and then stops while
// the thread's status is negative.
template <class T, class St>
void uniVectorW(ZqvSite site, St* st, T* samps, int32_t sampsLen) noexcept {
  if (zqvCheckFirst(site, {ZQV_CHECK(!st, "statePtr==0")})) return;
  if (zqvCheckAll(site, {ZQV_CHECK(sampsLen <= 0, "sampsLen<=0"), ZQV_CHECK(!samps, "samps==0")}) ||
      sampsLen <= 0 || !samps)
    return;
  for (int64_t i = 0; i < sampsLen; ++i) samps[i] = uniNext<T>(st);
}

// ---- Gaussian (polar method)

template <class R, class St>
void gausInit(ZqvSite site, R seed, R mean, R stdDev, St* st) noexcept {
  if (zqvCheckFirst(site, {ZQV_CHECK(!st, "Null pointer to state structure")})) return;
  st->haveKept = 0;
  st->mean = mean;
  st->stdDev = stdDev;
  uint32_t s;
  if constexpr (std::is_floating_point_v<R>) s = seedWord(seed);
  else s = static_cast<uint32_t>(static_cast<int32_t>(seed));
  st->borrow = 1;
  st->lag1 = s;
  st->lag2 = seedDraw(s);
  st->lag3 = seedDraw(s);
  st->seedVal = s;
  st->lcgVal = kLcgStart;
}

// Deviates come in pairs: the first returned from u2, the second, kept for
// the next call, from u1.
template <class P, class St>
P gausPart(St* st) noexcept {
  if (st->haveKept == 1) {
    st->haveKept = 0;
    return st->keptVal;
  }
  st->haveKept = 1;
  long double u1, u2, s;
  do {
    const int32_t e1 = engineStep(st);
    const int32_t e2 = engineStep(st);
    u1 = e1 * static_cast<long double>(kGausScale);
    u2 = e2 * static_cast<long double>(kGausScale);
    s = u1 * u1 + u2 * u2;
  } while (!(s > 0 && s < 1));
  const long double f = std::sqrt(-2.0L * std::log(s) / s);
  const long double mean = st->mean, sd = st->stdDev;
  st->keptVal = store<P>(mean + sd * u1 * f);
  return store<P>(mean + sd * u2 * f);
}

template <class T, class St>
T gausNext(St* st) noexcept {
  using P = PartOf<T>;
  if constexpr (isComplex<T>) {
    const P re = gausPart<P>(st);
    const P im = gausPart<P>(st);
    return {re, im};
  } else {
    return gausPart<P>(st);
  }
}

template <class T, class St>
T gausOne(ZqvSite site, St* st) noexcept {
  if (zqvCheckFirst(site, {ZQV_CHECK(!st, "Null pointer to state structure")})) return T{};
  return gausNext<T>(st);
}

template <class T, class St>
void gausVector(ZqvSite site, St* st, T* samps, int32_t sampsLen) noexcept {
  if (vectorRefused(site, st, samps, sampsLen)) return;
  for (int64_t i = 0; i < sampsLen; ++i) samps[i] = gausNext<T>(st);
}

}  // namespace zqvrand

#endif
