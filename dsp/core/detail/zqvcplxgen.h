// Generic bodies of the complex-part moves (real and imaginary parts out of
// complex vectors and back) and of the polar conversions, written once and
// instantiated by zqvcvrts.cpp (float), zqvcvrtd.cpp (double) and
// zqvcvrtw.cpp (16-bit parts).
#ifndef ZQV_CPLXGEN_H
#define ZQV_CPLXGEN_H

#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "core/zqvframe.h"

namespace zqvcplx {

template <class P>
struct CplxOf;
template <>
struct CplxOf<float> { using type = ZqvCplxS; };
template <>
struct CplxOf<double> { using type = ZqvCplxD; };
template <>
struct CplxOf<int16_t> { using type = ZqvCplxW; };
template <class P>
using Cplx = typename CplxOf<P>::type;

// ---- Parts -------------------------------------------------------------------
// Parts are copied unchanged: assignments of floats move their bit patterns
// (NaN payloads and -0 survive).

template <class P>
void real(ZqvSite site, const Cplx<P>* src, P* dst, int32_t n) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(n <= 0, "length<=0"), ZQV_CHECK(!src, "src==0"), ZQV_CHECK(!dst, "dst==0")}) ||
      n < 1)
    return;
  for (int64_t i = 0; i < n; ++i) dst[i] = src[i].re;
}

template <class P>
void imag(ZqvSite site, const Cplx<P>* src, P* dst, int32_t n) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(n <= 0, "length<=0"), ZQV_CHECK(!src, "src==0"), ZQV_CHECK(!dst, "dst==0")}) ||
      n < 1)
    return;
  for (int64_t i = 0; i < n; ++i) dst[i] = src[i].im;
}

template <class P>
void cplxTo2Real(ZqvSite site, const Cplx<P>* src, P* dstReal, P* dstImag, int32_t n) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(n <= 0, "length<=0"), ZQV_CHECK(!src, "src==0"),
                         ZQV_CHECK(!dstReal, "dstReal==0"), ZQV_CHECK(!dstImag, "dstImag==0")}) ||
      n < 1)
    return;
  for (int64_t i = 0; i < n; ++i) {
    dstReal[i] = src[i].re;
    dstImag[i] = src[i].im;
  }
}

// Either part vector may be absent; its parts become +0.
template <class P>
void twoRealToCplx(ZqvSite site, const P* srcReal, const P* srcImag, Cplx<P>* dst, int32_t n) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(n <= 0, "length<=0"), ZQV_CHECK(!dst, "dst==0")}) || n < 1) return;
  const int64_t len = n;
  if (srcReal && srcImag) {
    for (int64_t i = 0; i < len; ++i) dst[i] = {srcReal[i], srcImag[i]};
  } else if (srcReal) {
    for (int64_t i = 0; i < len; ++i) dst[i] = {srcReal[i], P(0)};
  } else if (srcImag) {
    for (int64_t i = 0; i < len; ++i) dst[i] = {P(0), srcImag[i]};
  } else {
    std::memset(static_cast<void*>(dst), 0, static_cast<size_t>(len) * sizeof(Cplx<P>));
  }
}

// ---- Polar form --------------------------------------------------------------

template <class P>
using Bits = std::conditional_t<sizeof(P) == 4, uint32_t, uint64_t>;

// Every bit but the sign clear. Doubles are tested on all 64 bits, not on
// the upper word alone: a subnormal part such as 1e-320 is a value with a
// phase of its own (0 + 1e-320i has phase pi/2), not a zero.
template <class P>
inline bool isZero(P x) noexcept {
  return (std::bit_cast<Bits<P>>(x) << 1) == 0;
}
template <class P>
inline bool signSet(P x) noexcept {
  return (std::bit_cast<Bits<P>>(x) >> (8 * sizeof(P) - 1)) != 0;
}

template <class P>
constexpr P kPi = P(3.14159265358979323846264338327950288L);

// Magnitude and phase of one element, formed in long double and rounded once.
// A zero imaginary part settles the phase without the arctangent: 0 for a
// real part with a clear sign (zeros included), pi for one with the sign set,
// so -1 - 0i has phase +pi and -0 + 0i phase 0.
template <class P>
inline void polarOf(P re, P im, P& mag, P& phase) noexcept {
  if (isZero(im)) {
    if (isZero(re)) {
      mag = P(0);
      phase = P(0);
    } else if (signSet(re)) {
      mag = -re;
      phase = kPi<P>;
    } else {
      mag = re;
      phase = P(0);
    }
    return;
  }
  const long double r = re, m = im;
  mag = static_cast<P>(std::sqrt(r * r + m * m));
  phase = static_cast<P>(std::atan2(m, r));
}

template <class P>
inline P phaseOf(P re, P im) noexcept {
  if (isZero(im)) return (!isZero(re) && signSet(re)) ? kPi<P> : P(0);
  return static_cast<P>(std::atan2(static_cast<long double>(im), static_cast<long double>(re)));
}

template <class P>
void cartToPolar(ZqvSite site, const Cplx<P>* src, P* mag, P* phase, int32_t n) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(n <= 0, "length<=0"), ZQV_CHECK(!src, "src==0"), ZQV_CHECK(!mag, "mag==0"),
                         ZQV_CHECK(!phase, "phase==0")}) ||
      n < 1)
    return;
  for (int64_t i = 0; i < n; ++i) polarOf(src[i].re, src[i].im, mag[i], phase[i]);
}

template <class P>
void splitCartToPolar(ZqvSite site, const P* srcReal, const P* srcImag, P* mag, P* phase, int32_t n) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(n <= 0, "length<=0"), ZQV_CHECK(!mag, "mag==0"), ZQV_CHECK(!phase, "phase==0"),
                         ZQV_CHECK(!srcReal, "srcReal==0"), ZQV_CHECK(!srcImag, "srcImag==0")}) ||
      n < 1)
    return;
  for (int64_t i = 0; i < n; ++i) polarOf(srcReal[i], srcImag[i], mag[i], phase[i]);
}

template <class P>
void polarToCart(ZqvSite site, const P* mag, const P* phase, Cplx<P>* dst, int32_t n) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(n <= 0, "length<=0"), ZQV_CHECK(!mag, "mag==0"), ZQV_CHECK(!phase, "phase==0"),
                         ZQV_CHECK(!dst, "dst==0")}) ||
      n < 1)
    return;
  for (int64_t i = 0; i < n; ++i) {
    const long double m = mag[i], p = phase[i];
    const P re = static_cast<P>(std::cos(p) * m), im = static_cast<P>(std::sin(p) * m);
    dst[i] = {re, im};
  }
}

template <class P>
void splitPolarToCart(ZqvSite site, const P* mag, const P* phase, P* dstReal, P* dstImag, int32_t n) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(n <= 0, "length<=0"), ZQV_CHECK(!mag, "mag==0"), ZQV_CHECK(!phase, "phase==0"),
                         ZQV_CHECK(!dstReal, "dstReal==0"), ZQV_CHECK(!dstImag, "dstImag==0")}) ||
      n < 1)
    return;
  for (int64_t i = 0; i < n; ++i) {
    const long double m = mag[i], p = phase[i];
    const P re = static_cast<P>(std::cos(p) * m), im = static_cast<P>(std::sin(p) * m);
    dstReal[i] = re;
    dstImag[i] = im;
  }
}

// The 16-bit phase: 16383 stands for pi, truncated toward zero.
constexpr long double kPhaseToW = 5214.870865349043;

inline int16_t phaseW(int16_t re, int16_t im) noexcept {
  long double phi;
  if (im != 0) phi = std::atan2(static_cast<long double>(im), static_cast<long double>(re));
  else phi = re < 0 ? 3.141592653589793 : 0.0;
  return static_cast<int16_t>(std::trunc(phi * kPhaseToW));
}

template <class P>
void phase(ZqvSite site, const Cplx<P>* src, P* phase, int32_t n) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(n <= 0, "length<=0"), ZQV_CHECK(!phase, "phase==0"), ZQV_CHECK(!src, "src==0")}) ||
      n < 1)
    return;
  if constexpr (std::is_same_v<P, int16_t>)
    for (int64_t i = 0; i < n; ++i) phase[i] = phaseW(src[i].re, src[i].im);
  else
    for (int64_t i = 0; i < n; ++i) phase[i] = phaseOf(src[i].re, src[i].im);
}

template <class P>
void splitPhase(ZqvSite site, const P* srcReal, const P* srcImag, P* phase, int32_t n) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(n <= 0, "length<=0"), ZQV_CHECK(!phase, "phase==0"),
                         ZQV_CHECK(!srcReal, "srcReal==0"), ZQV_CHECK(!srcImag, "srcImag==0")}) ||
      n < 1)
    return;
  if constexpr (std::is_same_v<P, int16_t>)
    for (int64_t i = 0; i < n; ++i) phase[i] = phaseW(srcReal[i], srcImag[i]);
  else
    for (int64_t i = 0; i < n; ++i) phase[i] = phaseOf(srcReal[i], srcImag[i]);
}

}  // namespace zqvcplx

#endif
