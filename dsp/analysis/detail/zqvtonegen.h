// Generic bodies of the tone generator: a second-order recursive oscillator,
// y(n) = 2cos(w) y(n-1) - y(n-2), started so that y(0) = mag cos(phase)
// (and mag sin(phase) for the imaginary part of the complex forms).
#ifndef ZQV_TONEGEN_H
#define ZQV_TONEGEN_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "core/zqvframe.h"

namespace zqvtone {

inline constexpr const char* kModule = "zqvtone";
inline constexpr const char* kModuleW = "zqvtonew";
inline constexpr long double kTwoPi = 6.283185307179586;
inline constexpr char kTag[4] = {'B', 'D', 'T', '\0'};

template <class St>
bool tagged(const St* st) noexcept {
  return std::memcmp(st->tag, kTag, sizeof kTag) == 0;
}

// Written so that a NaN fails each range (it would otherwise pass the
// comparisons and poison the record); a magnitude of -0 is a zero one.
template <class R, class M>
bool initRefused(ZqvSite site, R rfreq, R phase, M mag, const void* st) noexcept {
  return zqvCheckFirst(site, {ZQV_CHECK(!(mag >= 0), "Invalid magnitude value"),
                              ZQV_CHECK(!(rfreq >= 0 && rfreq < R(0.5)), "Invalid freq value"),
                              ZQV_CHECK(!(phase >= 0 && static_cast<long double>(phase) < kTwoPi),
                                        "Invalid phase value"),
                              ZQV_CHECK(!st, "Null pointer to state")});
}

// ---- Float, double and complex forms

template <class St, class R>
void init(ZqvSite site, R rfreq, R phase, R mag, St* st) noexcept {
  if (initRefused(site, rfreq, phase, mag, st)) return;
  st->mag = mag;
  st->rfreq = rfreq;
  st->phase = phase;
  std::memcpy(st->tag, kTag, sizeof kTag);
  const long double w = static_cast<long double>(rfreq) * kTwoPi;
  const long double m = mag, p = phase;
  st->twoCosW = static_cast<double>(2 * std::cos(w));
  if constexpr (std::is_floating_point_v<decltype(St::y1)>) {
    st->y1 = static_cast<double>(m * std::cos(p - w));
    st->y2 = static_cast<double>(m * std::cos(p - 2 * w));
  } else {
    st->y1 = {static_cast<double>(m * std::cos(p - w)), static_cast<double>(m * std::sin(p - w))};
    st->y2 = {static_cast<double>(m * std::cos(p - 2 * w)), static_cast<double>(m * std::sin(p - 2 * w))};
  }
}

// One step of the recursion on one part.
inline long double advance(long double twoCosW, double& y1, double& y2) noexcept {
  const long double y = twoCosW * y1 - y2;
  y2 = y1;
  y1 = static_cast<double>(y);
  return y;
}

template <class T, class St>
T next(St* st) noexcept {
  const long double c = st->twoCosW;
  if constexpr (std::is_floating_point_v<T>) {
    return static_cast<T>(advance(c, st->y1, st->y2));
  } else {
    using P = decltype(T::re);
    const long double re = advance(c, st->y1.re, st->y2.re);
    const long double im = advance(c, st->y1.im, st->y2.im);
    return {static_cast<P>(re), static_cast<P>(im)};
  }
}

template <class T, class St>
T one(ZqvSite site, St* st) noexcept {
  if (zqvCheckFirst(site, {ZQV_CHECK(!st, "Null pointer to state"),
                           ZQV_CHECK(st && !tagged(st), "Structure initialization need")}))
    return T{};
  return next<T>(st);
}

template <class St, class T>
bool vectorRefused(ZqvSite site, const St* st, const T* samps, int32_t sampsLen) noexcept {
  return zqvCheckFirst(site, {ZQV_CHECK(!st, "Null pointer to state"),
                              ZQV_CHECK(!samps, "Null input buffer pointer"),
                              ZQV_CHECK(sampsLen < 1, "Bad number of items"),
                              ZQV_CHECK(st && !tagged(st), "Structure initialization need")});
}

template <class T, class St>
void vector(ZqvSite site, St* st, T* samps, int32_t sampsLen) noexcept {
  if (vectorRefused(site, st, samps, sampsLen)) return;
  for (int64_t i = 0; i < sampsLen; ++i) samps[i] = next<T>(st);
}

// ---- 16-bit forms: the recursion runs in blocks in extended precision and
// single samples come from a cache refilled 32 (or 16 complex) at a time.

template <class T>
inline constexpr int32_t kCacheSize = std::is_same_v<T, int16_t> ? 32 : 16;

// The current rounding mode decides; a value no int16 holds (NaN included)
// stores -32768, as a direct 16-bit store of the processor does.
inline int16_t toW(long double y) noexcept {
  const long double r = std::nearbyint(y);
  if (!(r >= -32768.0L && r <= 32767.0L)) return INT16_MIN;
  return static_cast<int16_t>(r);
}

template <class T, class St>
void initW(ZqvSite site, float rfreq, float phase, int16_t mag, St* st) noexcept {
  if (initRefused(site, rfreq, phase, mag, st)) return;
  st->mag = mag;
  st->rfreq = rfreq;
  st->phase = phase;
  std::memcpy(st->tag, kTag, sizeof kTag);
  const long double w = static_cast<long double>(rfreq) * kTwoPi;
  const long double m = mag, p = phase;
  st->twoCosW = static_cast<double>(2 * std::cos(w));
  st->yRe = static_cast<double>(m * std::cos(p));
  st->yIm = static_cast<double>(m * std::sin(p));
  st->yPrevRe = static_cast<double>(m * std::cos(p - w));
  st->yPrevIm = static_cast<double>(m * std::sin(p - w));
  st->cacheIdx = kCacheSize<T>;
}

template <class T, class St>
void fillW(St* st, T* out, int64_t k) noexcept {
  const long double c = st->twoCosW;
  long double yr = st->yRe, yi = st->yIm, pr = st->yPrevRe, pi = st->yPrevIm;
  for (int64_t n = 0; n < k; ++n) {
    if constexpr (std::is_same_v<T, int16_t>) {
      out[n] = toW(yr);
    } else {
      out[n] = {toW(yr), toW(yi)};
      const long double ni = c * yi - pi;
      pi = yi;
      yi = ni;
    }
    const long double nr = c * yr - pr;
    pr = yr;
    yr = nr;
  }
  st->yRe = static_cast<double>(yr);
  st->yIm = static_cast<double>(yi);
  st->yPrevRe = static_cast<double>(pr);
  st->yPrevIm = static_cast<double>(pi);
}

template <class T, class St>
T* cacheOf(St* st) noexcept {
  if constexpr (std::is_same_v<T, int16_t>) return st->cache.w;
  else return st->cache.v;
}

// A cache index outside the cache (a damaged record) counts as an empty cache.
template <class T, class St>
int32_t cachedLeft(const St* st) noexcept {
  const int32_t idx = st->cacheIdx;
  return idx >= 0 && idx < kCacheSize<T> ? kCacheSize<T> - idx : 0;
}

template <class T, class St>
T oneW(ZqvSite site, St* st) noexcept {
  if (zqvCheckFirst(site, {ZQV_CHECK(!st, "Null pointer to state"),
                           ZQV_CHECK(st && !tagged(st), "Structure initialization need")}))
    return T{};
  T* cache = cacheOf<T>(st);
  if (cachedLeft<T>(st) == 0) {
    fillW(st, cache, kCacheSize<T>);
    st->cacheIdx = 0;
  }
  return cache[st->cacheIdx++];
}

template <class T, class St>
void vectorW(ZqvSite site, St* st, T* samps, int32_t sampsLen) noexcept {
  if (vectorRefused(site, st, samps, sampsLen)) return;
  const int64_t cached = std::min<int64_t>(cachedLeft<T>(st), sampsLen);
  if (cached > 0) {
    std::memcpy(static_cast<void*>(samps), cacheOf<T>(st) + st->cacheIdx, static_cast<size_t>(cached) * sizeof(T));
    st->cacheIdx += static_cast<int32_t>(cached);
  }
  if (sampsLen > cached) {
    fillW(st, samps + cached, sampsLen - cached);
    st->cacheIdx = kCacheSize<T>;
  }
}

}  // namespace zqvtone

#endif
