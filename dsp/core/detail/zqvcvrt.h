// The number-conversion engine and the magnitude and power spectrum bodies,
// written once over the element type. zqvcvrts.cpp instantiates them for
// float sources, zqvcvrtd.cpp for double ones; a 16-bit family that needs a
// conversion instantiates them itself, e.g.
//   zqvcvrt::convertToInt(src, dst, len, 16, ZQV_CVT_ROUND_NEAR | ZQV_CVT_SATURATE, f)
// (float or double src; returns true when an element did not fit) or
//   zqvcvrt::widenToFloat(src, dst, len, 16, 0).
// Arguments are not checked by the engine: callers check them in their own
// words.
#ifndef ZQV_CVRT_H
#define ZQV_CVRT_H

#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <type_traits>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/detail/zqvfenv.h"
#include "core/zqvframe.h"

namespace zqvcvrt {

// ---- Report lines -------------------------------------------------------------

// The source lines a conversion routine reports at, as the library's table of
// conversion reports gives them: one for all its argument checks, one for
// "Invalid fractBits" and one for "A float exceeds an integer" (0 where the
// routine makes no such report).
struct Lines {
  int32_t checks, fractBits, exceeds;
};
// One row per module: zqvcvrts (float) and zqvcvrtd (double).
struct ModuleLines {
  Lines floatToInt, intToFloat, floatToFix, fixToFloat;
  Lines toS7, toS15, toS31, toS1516, fromS7, fromS15, fromS31, fromS1516;
};
inline constexpr ModuleLines kLinesS{{284, 0, 288},  {407, 0, 0},  {535, 538, 542}, {668, 671, 0},
                                     {800, 0, 804},  {837, 0, 841}, {875, 0, 879},  {913, 0, 917},
                                     {995, 0, 0},    {1016, 0, 0},  {1037, 0, 0},   {1059, 0, 0}};
inline constexpr ModuleLines kLinesD{{279, 0, 284},  {413, 0, 0},  {546, 549, 553}, {686, 689, 0},
                                     {819, 0, 823},  {861, 0, 866}, {904, 0, 908},  {947, 0, 951},
                                     {1034, 0, 0},   {1057, 0, 0},  {1079, 0, 0},   {1100, 0, 0}};

// ---- Float to integer -------------------------------------------------------

enum class Round { Near, Zero, Down, Up };
enum class Kind { Plain, Check, Sat };

// C: the type in which x*2^f is formed exactly (double for 32-bit results,
// whose scale may reach 2^32) and rounded. [lo, hi]: the integral window a
// source is clamped to first, so every later conversion is defined and every
// value that does not fit still lies outside [dmin, dmax].
template <class S, class D>
struct Work {
  using C = std::conditional_t<sizeof(D) == 4, double, S>;
  static constexpr C dmin = C(std::numeric_limits<D>::min());
  static constexpr C dmax = C(std::numeric_limits<D>::max());
  static constexpr C lo = sizeof(D) == 4 ? dmin - C(1) : C(-2147483648.0);
  static constexpr C hi = [] {
    if constexpr (sizeof(D) == 4) return dmax + C(1);
    else if constexpr (std::is_same_v<C, float>) return C(2147483520.0f);  // largest float below 2^31
    else return C(2147483647.0);
  }();
};

// The kernels run under a ZqvFpuGuard (traps masked, flags restored), so the
// compiler may treat their compares as non-trapping and turn them into
// vector selects. (Clang treats compares so by default.)
#if !defined(__clang__)
#pragma GCC push_options
#pragma GCC optimize("no-trapping-math")
#endif

inline float absOf(float x) noexcept { return __builtin_fabsf(x); }
inline double absOf(double x) noexcept { return __builtin_fabs(x); }
inline float signOf(float x, float s) noexcept { return __builtin_copysignf(x, s); }
inline double signOf(double x, double s) noexcept { return __builtin_copysign(x, s); }

// y rounded to an integral value by R; y is not a NaN and lies within
// I's range. Built from truncation and
// selects only, so it needs no rounding mode and the loops vectorise.
template <Round R, class I, class C>
inline C roundIntegral(C y) noexcept {
  const I t = static_cast<I>(y);
  const C ft = static_cast<C>(t);
  if constexpr (R == Round::Zero) {
    return ft;
  } else if constexpr (R == Round::Down) {
    return ft - ((y < ft) ? C(1) : C(0));
  } else if constexpr (R == Round::Up) {
    return ft + ((y > ft) ? C(1) : C(0));
  } else {
    const C d = y - ft;  // the exact fraction, in (-1, 1)
    // Builtins, not <cmath> calls: those would not inline under these options.
    const C ad = absOf(d);
    const C odd = static_cast<C>(t & 1);
    const C step = (ad > C(0.5)) ? C(1) : ((ad == C(0.5)) ? odd : C(0));
    return ft + signOf(step, d);
  }
}

// An integral value of the window stored as D: 8/16 bits wrap modulo 2^bits,
// 32 bits keep the nearest value of the range.
template <class D, class C>
inline D storeAs(C r) noexcept {
  using Wk = Work<C, D>;
  if constexpr (sizeof(D) < 4) {
    return static_cast<D>(static_cast<int32_t>(r));
  } else {
    const C c = r < Wk::dmin ? Wk::dmin : (r > Wk::dmax ? Wk::dmax : r);
    if constexpr (std::is_signed_v<D>) return static_cast<D>(static_cast<int32_t>(c));
    else return static_cast<D>(static_cast<uint32_t>(static_cast<int32_t>(c - C(2147483648.0))) ^ 0x80000000u);
  }
}

template <class S, class D, Round R, Kind K>
int32_t convertKernel(const S* src, D* dst, int64_t len, int32_t f) noexcept {
  using Wk = Work<S, D>;
  using C = typename Wk::C;
  const C scale = std::ldexp(C(1), f);
  int32_t bad = 0;
  for (int64_t i = 0; i < len; ++i) {
    C y = static_cast<C>(src[i]) * scale;  // exact, or an infinity
    if constexpr (K == Kind::Sat) y = (y == y) ? y : signOf(C(INFINITY), y);
    y = (y >= Wk::lo) ? y : Wk::lo;  // a NaN goes to lo
    y = (y <= Wk::hi) ? y : Wk::hi;
    // The window of 8/16-bit results fits int32; 32-bit ones need int64.
    C r = roundIntegral<R, std::conditional_t<sizeof(D) == 4, int64_t, int32_t>>(y);
    if constexpr (K != Kind::Plain) bad |= ((r < Wk::dmin) | (r > Wk::dmax)) ? 1 : 0;
    if constexpr (K == Kind::Sat) r = r < Wk::dmin ? Wk::dmin : (r > Wk::dmax ? Wk::dmax : r);
    dst[i] = storeAs<D>(r);
  }
  return bad;
}

#if !defined(__clang__)
#pragma GCC pop_options
#endif

template <class S, class D, Kind K>
int32_t runRounding(const S* src, D* dst, int64_t len, int32_t flags, int32_t f) noexcept {
  if (flags & ZQV_CVT_ROUND_NEAR) return convertKernel<S, D, Round::Near, K>(src, dst, len, f);
  if (flags & ZQV_CVT_ROUND_ZERO) return convertKernel<S, D, Round::Zero, K>(src, dst, len, f);
  if (flags & ZQV_CVT_ROUND_DOWN) return convertKernel<S, D, Round::Down, K>(src, dst, len, f);
  return convertKernel<S, D, Round::Up, K>(src, dst, len, f);
}

template <class S, class DS, class DU, Kind K>
int32_t runKernel(const S* src, void* dst, int64_t len, int32_t flags, int32_t f) noexcept {
  if (flags & ZQV_CVT_UNSIGNED) return runRounding<S, DU, K>(src, static_cast<DU*>(dst), len, flags, f);
  return runRounding<S, DS, K>(src, static_cast<DS*>(dst), len, flags, f);
}

template <class S, Kind K>
int32_t runSize(const S* src, void* dst, int64_t len, int32_t bitSize, int32_t flags, int32_t f) noexcept {
  switch (bitSize) {
    case 8: return runKernel<S, int8_t, uint8_t, K>(src, dst, len, flags, f);
    case 16: return runKernel<S, int16_t, uint16_t, K>(src, dst, len, flags, f);
    case 32: return runKernel<S, int32_t, uint32_t, K>(src, dst, len, flags, f);
    default: return 0;
  }
}

// The whole conversion of a vector (bitSize 8, 16 or 32): element i becomes
// src[i]*2^f rounded by the one rounding flag in flags (ties to even for
// ZQV_CVT_ROUND_NEAR, never the caller's mode), stored as int8/16/32 or, with
// ZQV_CVT_UNSIGNED, uint8/16/32. With ZQV_CVT_SATURATE values are clamped (a
// NaN by its sign bit); otherwise a value that does not fit wraps modulo
// 2^bits (a NaN stores 0). Runs under a ZqvFpuGuard. Returns true when an
// element did not fit and ZQV_CVT_SATURATE or ZQV_CVT_CHECK was given.
template <class S>
bool convertToInt(const S* src, void* dst, int64_t len, int32_t bitSize, int32_t flags, int32_t f) noexcept {
  ZqvFpuGuard guard;
  if (flags & ZQV_CVT_SATURATE) return runSize<S, Kind::Sat>(src, dst, len, bitSize, flags, f) != 0;
  if (flags & ZQV_CVT_CHECK) return runSize<S, Kind::Check>(src, dst, len, bitSize, flags, f) != 0;
  runSize<S, Kind::Plain>(src, dst, len, bitSize, flags, f);
  return false;
}

template <class S>
void floatToInt(ZqvSite site, const Lines& lines, const S* src, void* dst, int32_t len, int32_t bitSize,
                int32_t flags) noexcept {
  zqvSetErrStatus(ZQV_NO_ERROR);
  const int32_t at = lines.checks;
  if (zqvCheckAll(site, {ZqvCheck{len < 1, "len<=0", at}, ZqvCheck{!src, "src==0", at}, ZqvCheck{!dst, "dst==0", at},
                         ZqvCheck{bitSize != 8 && bitSize != 16 && bitSize != 32, "Invalid size of an integer", at},
                         ZqvCheck{!zqvOneRoundingFlag(flags), "Invalid conversion flag", at}}))
    return;
  // The report comes after the caller's environment is back in place.
  if (convertToInt(src, dst, len, bitSize, flags, 0) && (flags & ZQV_CVT_CHECK))
    zqvError(ZQV_BAD_ARGUMENT, site.func, "A float exceeds an integer", site.module, lines.exceeds);
}

// ---- Integer to float -------------------------------------------------------

template <class I, class F>
void widen(const void* src, F* dst, int64_t len) noexcept {
  const I* s = static_cast<const I*>(src);
  for (int64_t i = 0; i < len; ++i) dst[i] = static_cast<F>(s[i]);
}

// dst[i] = src[i] exactly, except that 32-bit values above 2^24 in magnitude
// are rounded to float in the caller's mode. bitSize 8, 16 or 32 (anything
// else does nothing), signed unless flags hold ZQV_CVT_UNSIGNED.
template <class F>
void widenToFloat(const void* src, F* dst, int64_t len, int32_t bitSize, int32_t flags) noexcept {
  const bool u = (flags & ZQV_CVT_UNSIGNED) != 0;
  switch (bitSize) {
    case 8: return u ? widen<uint8_t>(src, dst, len) : widen<int8_t>(src, dst, len);
    case 16: return u ? widen<uint16_t>(src, dst, len) : widen<int16_t>(src, dst, len);
    case 32: return u ? widen<uint32_t>(src, dst, len) : widen<int32_t>(src, dst, len);
    default: return;
  }
}

template <class F>
void intToFloat(ZqvSite site, const Lines& lines, const void* src, F* dst, int32_t len, int32_t bitSize,
                int32_t flags) noexcept {
  zqvSetErrStatus(ZQV_NO_ERROR);
  const int32_t at = lines.checks;
  if (zqvCheckAll(site, {ZqvCheck{len < 1, "len<=0", at}, ZqvCheck{!src, "src==0", at}, ZqvCheck{!dst, "dst==0", at},
                         ZqvCheck{bitSize != 8 && bitSize != 16 && bitSize != 32, "Invalid size of an integer", at},
                         ZqvCheck{flags != 0 && flags != ZQV_CVT_UNSIGNED, "Invalid conversion flag", at}}))
    return;
  widenToFloat(src, dst, len, bitSize, flags);
}

// ---- Magnitude and power spectrum -------------------------------------------

template <class T>
using Cplx = std::conditional_t<std::is_same_v<T, float>, ZqvCplxS, ZqvCplxD>;

// Complex elements as pairs in one vector, or as two vectors of parts.
template <class T>
struct Interleaved {
  const Cplx<T>* p;
  T re(int64_t i) const noexcept { return p[i].re; }
  T im(int64_t i) const noexcept { return p[i].im; }
  Interleaved from(int64_t k) const noexcept { return {p + k}; }
};
template <class T>
struct Split {
  const T* r;
  const T* m;
  T re(int64_t i) const noexcept { return r[i]; }
  T im(int64_t i) const noexcept { return m[i]; }
  Split from(int64_t k) const noexcept { return {r + k, m + k}; }
};

constexpr int64_t kBlock = 128;

// re*re + im*im formed in double (exact squares for float parts) and rounded
// once to T.
template <class T, class Src>
void powerKernel(Src s, T* out, int64_t n) noexcept {
  for (int64_t i = 0; i < n; ++i) {
    const double re = s.re(i), im = s.im(i);
    out[i] = static_cast<T>(re * re + im * im);
  }
}

// Correctly rounded square roots. The explicit instructions keep the loop
// vectorised without the error-number path of the library call; a NaN of
// either sign gives a NaN, nothing is reported.
inline void sqrtKernel(const float* in, float* out, int64_t n) noexcept {
  int64_t i = 0;
#if defined(__SSE2__)
  for (const int64_t whole = n - n % 4; i < whole; i += 4)
    _mm_storeu_ps(out + i, _mm_sqrt_ps(_mm_loadu_ps(in + i)));
#endif
  for (; i < n; ++i) out[i] = std::sqrt(in[i]);
}
inline void sqrtKernel(const double* in, double* out, int64_t n) noexcept {
  int64_t i = 0;
#if defined(__SSE2__)
  for (const int64_t whole = n - n % 2; i < whole; i += 2)
    _mm_storeu_pd(out + i, _mm_sqrt_pd(_mm_loadu_pd(in + i)));
#endif
  for (; i < n; ++i) out[i] = std::sqrt(in[i]);
}

// Square root of the unrounded (double) power, rounded once to T.
template <class T, class Src>
void magDirect(Src s, T* mag, int64_t n) noexcept {
  double work[kBlock];
  for (int64_t k = 0; k < n; k += kBlock) {
    const int64_t m = n - k < kBlock ? n - k : kBlock;
    powerKernel(s.from(k), work, m);
    sqrtKernel(work, work, m);
    for (int64_t i = 0; i < m; ++i) mag[k + i] = static_cast<T>(work[i]);
  }
}

// Up to 128 elements: directly. Longer vectors: whole blocks of 128 take the
// root of the power already rounded to T; the rest is taken directly.
template <class T, class Src>
void magnitude(Src s, T* mag, int64_t n) noexcept {
  if (n <= kBlock) return magDirect(s, mag, n);
  T work[kBlock];
  const int64_t blocks = n / kBlock;
  for (int64_t b = 0; b < blocks; ++b) {
    powerKernel(s.from(b * kBlock), work, kBlock);
    sqrtKernel(work, mag + b * kBlock, kBlock);
  }
  magDirect(s.from(blocks * kBlock), mag + blocks * kBlock, n - blocks * kBlock);
}

template <class T>
void cplxMag(ZqvSite site, const Cplx<T>* src, T* mag, int32_t n) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(n <= 0, "length<=0"), ZQV_CHECK(!mag, "mag==0"), ZQV_CHECK(!src, "src==0")}))
    return;
  magnitude(Interleaved<T>{src}, mag, n);
}

template <class T>
void splitMag(ZqvSite site, const T* srcReal, const T* srcImag, T* mag, int32_t n) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(n <= 0, "length<=0"), ZQV_CHECK(!mag, "mag==0"),
                         ZQV_CHECK(!srcReal, "srcReal==0"), ZQV_CHECK(!srcImag, "srcImag==0")}))
    return;
  magnitude(Split<T>{srcReal, srcImag}, mag, n);
}

template <class T>
void cplxPower(ZqvSite site, const Cplx<T>* src, T* spectr, int32_t n) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(n <= 0, "length<=0"), ZQV_CHECK(!spectr, "spectr==0"), ZQV_CHECK(!src, "src==0")}))
    return;
  powerKernel(Interleaved<T>{src}, spectr, n);
}

template <class T>
void splitPower(ZqvSite site, const T* srcReal, const T* srcImag, T* spectr, int32_t n) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(n <= 0, "length<=0"), ZQV_CHECK(!spectr, "spectr==0"),
                         ZQV_CHECK(!srcReal, "srcReal==0"), ZQV_CHECK(!srcImag, "srcImag==0")}))
    return;
  powerKernel(Split<T>{srcReal, srcImag}, spectr, n);
}

}  // namespace zqvcvrt

#endif
