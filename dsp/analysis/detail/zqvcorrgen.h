// Generic bodies of auto- and cross-correlation: direct sums for every
// element type, and for floating-point data a block-wise transform method
// chosen by cost estimates. r[lag] = sum over m of conj(a[m]) b[m + lag].
#ifndef ZQV_CORRGEN_H
#define ZQV_CORRGEN_H

#include <algorithm>
#include <array>
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <limits>
#include <type_traits>

#include "analysis/detail/zqvconvgen.h"
#include "analysis/detail/zqvcorrkern.h"
#include "core/zqvframe.h"
#include "transforms/detail/zqvfftconv.h"

namespace zqvcorr {

using zqvconv::IsCplx;

inline constexpr const char* kModule = "zqvcorr";
inline constexpr const char* kModuleW = "zqvcorrw";

// ---- Checks: the first that fails is reported; the status is not read.
template <class T>
bool autoRefused(ZqvSite site, const T* src, int32_t len, const void* dst, int32_t lags) noexcept {
  return zqvCheckFirst(site, {ZQV_CHECK(!src, "Null SRC buffer pointer"), ZQV_CHECK(!dst, "Null DST buffer pointer"),
                              ZQV_CHECK(len < 1, "Invalid SRC buffer length"),
                              ZQV_CHECK(lags < 1 || lags > len, "Invalid LAG value")});
}
template <class A, class B>
bool crossRefused(ZqvSite site, const A* a, int32_t lenA, const B* b, int32_t lenB, const void* dst,
                  int32_t loLag, int32_t hiLag) noexcept {
  return zqvCheckFirst(site, {ZQV_CHECK(!a, "Null SRC buffer pointer"), ZQV_CHECK(!b, "Null SRC buffer pointer"),
                              ZQV_CHECK(!dst, "Null DST buffer pointer"),
                              ZQV_CHECK(lenA < 1, "Invalid SRC buffer length"),
                              ZQV_CHECK(lenB < 1, "Invalid SRC buffer length"),
                              ZQV_CHECK(loLag > hiLag, "Invalid LAG value")});
}

// floor(log2 n), 0 for n <= 1 (the two-dimensional filters' automatic scale).
inline int64_t floorLog2(int64_t n) noexcept {
  int64_t k = 0;
  while (n > 1) n >>= 1, ++k;
  return k;
}

enum class Estimate { RealAuto, CplxAuto, RealCross, MixedCross, CplxCross };

// Beyond this many lags the transform length would pass 2^30, whose tables
// cannot be had: such ranges are summed directly.
inline constexpr int64_t kMaxTransformLags = int64_t{1} << 29;

// True when the transform method is estimated strictly cheaper (operation
// counts of the transform cost model; only comparisons mean anything).
inline bool transformCheaper(Estimate e, int64_t n, int64_t c) noexcept {
  if (c > kMaxTransformLags) return false;
  const int32_t b = zqvNextPow2(static_cast<int32_t>(c));
  const double nb = static_cast<double>((n + b - 1) / b), bb = b;
  auto autoDirect = [&](double perTerm) {
    double s = 0;
    for (int64_t k = 0; k < c && k < n; ++k) s += perTerm * static_cast<double>(n - k);
    return s;
  };
  const double nc = static_cast<double>(n) * static_cast<double>(c);
  double direct = 0, transform = 0;
  switch (e) {
    case Estimate::RealAuto:
      direct = autoDirect(4.0);
      transform = nb * (zqvCostFft(b) + zqvCostRealSplit(b) + 20 * bb) + zqvCostCcsMerge(b) + zqvCostFft(b);
      break;
    case Estimate::CplxAuto:
      direct = autoDirect(11.0);
      transform = 2 * zqvCostFft(2 * b) + 12 * bb + (nb - 1) * (zqvCostFft(2 * b) + 40 * bb);
      break;
    case Estimate::RealCross:
      direct = 4.0 * nc;
      transform = nb * (0.75 * zqvCostFft(2 * b) + 2 * zqvCostLinear(b) + 14 * bb) + zqvCostCcsMerge(b) +
                  0.75 * zqvCostFft(b);
      break;
    case Estimate::MixedCross:
      direct = 8.0 * nc;
      transform = nb * (2 * zqvCostFft(2 * b) + zqvCostRealSplit(2 * b) + 28 * bb) + zqvCostFft(2 * b);
      break;
    case Estimate::CplxCross:
      direct = 14.0 * nc;
      transform = nb * (2 * zqvCostFft(2 * b) + 28 * bb) + zqvCostFft(2 * b);
      break;
  }
  return transform < direct;
}

template <class T>
struct RealOf {
  using type = T;
};
template <>
struct RealOf<ZqvCplxS> {
  using type = float;
};
template <>
struct RealOf<ZqvCplxD> {
  using type = double;
};

// ---- Floating-point element helpers: accumulation in double.
struct Acc {
  double re = 0, im = 0;
};
template <class T>
inline void parts(T v, double& re, double& im) noexcept {
  if constexpr (IsCplx<T>::value) re = v.re, im = v.im;
  else re = v, im = 0;
}
// acc += conj(a) * b
template <class A, class B>
inline void addConjProduct(Acc& acc, A a, B b) noexcept {
  double ar, ai, br, bi;
  parts(a, ar, ai);
  parts(b, br, bi);
  acc.re += ar * br + ai * bi;
  acc.im += ar * bi - ai * br;
}
template <class Y>
inline Y fromAcc(double re, double im) noexcept {
  if constexpr (IsCplx<Y>::value) return Y{static_cast<typename RealOf<Y>::type>(re), static_cast<typename RealOf<Y>::type>(im)};
  else return static_cast<Y>(re);
}

// Direct cross-correlation over lags lo..hi, dst[lag - lo].
template <class A, class B, class Y>
void crossDirect(const A* a, int64_t lenA, const B* b, int64_t lenB, Y* dst, int64_t lo, int64_t hi) noexcept {
  for (int64_t lag = lo; lag <= hi; ++lag) {
    const int64_t first = std::max<int64_t>(0, -lag), end = std::min<int64_t>(lenA, lenB - lag);
    Acc acc;
    for (int64_t m = first; m < end; ++m) addConjProduct(acc, a[m], b[m + lag]);
    dst[lag - lo] = fromAcc<Y>(acc.re, acc.im);
  }
}

// The transforms below run with the caller's status set aside
// (ZqvStatusAside); one that fails has reported itself, and the caller then
// sums directly instead.

// ---- Transform method. Spectra stay in bit-reversed order throughout: the
// products need no natural order and the inverse transforms read that order.
// Real data of 2B values go through the complex FFT of B values and the
// real-spectrum pass (element 0 holds the spectrum at 0 and at B).
template <class C>
using RealT = typename RealOf<C>::type;

template <class C>
struct Ops {
  static constexpr bool kSingle = std::is_same_v<C, ZqvCplxS>;
  static void fft(C* w, int32_t order, int32_t flags) noexcept { zqvconv::CplxEngine<C>::fft(w, order, flags); }
  static void split(C* w, int32_t order) noexcept {
    if constexpr (kSingle) zqvcRealFftSplit(w, order, kForward);
    else zqvzRealFftSplit(w, order, kForward);
  }
  static bool pairTwiddles(C* out, int32_t order) noexcept {
    if constexpr (kSingle) return zqvcRealFftPairTwiddles(out, order, kForward);
    else return zqvzRealFftPairTwiddles(out, order, kForward);
  }
  static void split(C* w, int32_t order, const C* pairTw) noexcept {
    if constexpr (kSingle) zqvcRealFftSplitPaired(w, order, kForward, pairTw);
    else zqvzRealFftSplitPaired(w, order, kForward, pairTw);
  }
  static void merge(C* w, int32_t order) noexcept {
    if constexpr (kSingle) zqvcCcsFftMerge(w, order, kInverse);
    else zqvzCcsFftMerge(w, order, kInverse);
  }
  static constexpr int32_t kForward = ZQV_Forw | ZQV_OutBitRev;
  static constexpr int32_t kInverse = ZQV_Inv | ZQV_NoScale | ZQV_InBitRev;
};

// Zero-filled work vectors of the transform method, freed on every return.
template <class C, int N>
struct Work {
  C* v[N] = {};
  // counts[i] complex elements for vector i
  bool take(const std::array<int64_t, N>& counts) noexcept {
    for (int i = 0; i < N; ++i)
      if (!(v[i] = static_cast<C*>(zqvconv::workAlloc(static_cast<std::size_t>(counts[i]), sizeof(C))))) return false;
    return true;
  }
  ~Work() {
    for (C* p : v) std::free(p);
  }
};

// acc += conj(y) * z
template <class C>
inline void addConjTimes(C& acc, C y, C z) noexcept {
  acc.re += y.re * z.re + y.im * z.im;
  acc.im += y.re * z.im - y.im * z.re;
}

// src[from .. from + count) into dst[0 .. count) with zeros where the index
// lies outside 0 .. len-1 (and beyond count up to total).
template <class W, class T>
void window(W* dst, int64_t total, const T* src, int64_t len, int64_t from, int64_t count) noexcept {
  const int64_t lo = std::clamp<int64_t>(-from, 0, count), hi = std::clamp<int64_t>(len - from, lo, count);
  std::fill(dst, dst + lo, W{});
  std::copy(src + from + lo, src + from + hi, dst + lo);
  std::fill(dst + hi, dst + total, W{});
}

// The accumulator back through the inverse transform without scaling, its
// first count values times 1/M into dst: M complex values, or (real data)
// the real spectrum of M = 2^(order+1) reals through the merge pass and the
// half-length transform.
template <class C>
bool cplxBackToLags(C* acc, int32_t order, C* dst, int64_t count, const ZqvStatusAside& aside) noexcept {
  using R = RealT<C>;
  Ops<C>::fft(acc, order, Ops<C>::kInverse);
  if (aside.transformFailed()) return false;
  const R scale = R(1) / static_cast<R>(int64_t{1} << order);
  for (int64_t i = 0; i < count; ++i) dst[i] = {acc[i].re * scale, acc[i].im * scale};
  return true;
}
// The values of a real accumulator scaled by 2^undo come back divided by it
// too, in the same multiplication (a power of two kept normal by the caller).
template <class C, class R>
bool realBackToLags(C* acc, int32_t order, R* dst, int64_t count, const ZqvStatusAside& aside,
                    int32_t undo = 0) noexcept {
  Ops<C>::merge(acc, order);
  Ops<C>::fft(acc, order, Ops<C>::kInverse);
  if (aside.transformFailed()) return false;
  const R* r = reinterpret_cast<const R*>(acc);
  const R scale = std::ldexp(R(1), -(order + 1) - undo);
  for (int64_t i = 0; i < count; ++i) dst[i] = r[i] * scale;
  return true;
}

// Auto-correlation of real data. Blocks run from the last to the first so
// that each block's spectrum also serves the block before it: conj(Y) (Y +
// s Y_next) adds the products with the block itself and with the B samples
// after it, s = (-1)^k being the shift by B at frequency k. In bit-reversed
// order the odd frequencies sit in the upper half.
template <class C, class R>
bool autoRealTransform(const R* x, int64_t n, R* dst, int64_t lags) noexcept {
  using O = Ops<C>;
  const int64_t b = zqvNextPow2(static_cast<int32_t>(lags));
  const int32_t order = zqvIntLog2(static_cast<int32_t>(b));
  // The unpack runs once per block at one order: its twiddles are
  // prepared once, in the order it reads them.
  Work<C, 4> w;
  if (!w.take({b, b, b, std::max<int64_t>(b / 2, 1)})) return false;
  C *acc = w.v[0], *cur = w.v[1], *next = w.v[2], *pairTw = w.v[3];
  ZqvStatusAside aside;
  if (!O::pairTwiddles(pairTw, order)) return false;
  const int64_t blocks = (n + b - 1) / b;
  for (int64_t blk = blocks - 1; blk >= 0; --blk) {
    const int64_t start = blk * b;
    window(reinterpret_cast<R*>(cur), 2 * b, x, n, start, std::min(b, n - start));
    O::fft(cur, order, O::kForward);
    O::split(cur, order, pairTw);
    if (aside.transformFailed()) return false;
    if (blk == blocks - 1) {
      setPowers(acc + 1, cur + 1, b - 1);
      acc[0] = {cur[0].re * cur[0].re, cur[0].im * cur[0].im};
    } else {
      const int64_t odd = std::max<int64_t>(b / 2, 1);
      addConjSums(acc + 1, cur + 1, next + 1, odd - 1, false);
      addConjSums(acc + odd, cur + odd, next + odd, b - odd, true);
      // Element 0 holds the real frequencies 0 and B (odd only for B = 1).
      acc[0].re += cur[0].re * (cur[0].re + next[0].re);
      acc[0].im += cur[0].im * (b == 1 ? cur[0].im - next[0].im : cur[0].im + next[0].im);
    }
    std::swap(cur, next);
  }
  return realBackToLags(acc, order, dst, lags, aside);
}

// Auto-correlation of complex data: the same walk with transforms of 2B
// complex values.
template <class C>
bool autoCplxTransform(const C* x, int64_t n, C* dst, int64_t lags) noexcept {
  using O = Ops<C>;
  const int64_t b = zqvNextPow2(static_cast<int32_t>(lags)), m = 2 * b;
  const int32_t order = zqvIntLog2(static_cast<int32_t>(m));
  Work<C, 3> w;
  if (!w.take({m, m, m})) return false;
  C *acc = w.v[0], *cur = w.v[1], *next = w.v[2];
  ZqvStatusAside aside;
  const int64_t blocks = (n + b - 1) / b;
  for (int64_t blk = blocks - 1; blk >= 0; --blk) {
    const int64_t start = blk * b;
    window(cur, m, x, n, start, std::min(b, n - start));
    O::fft(cur, order, O::kForward);
    if (aside.transformFailed()) return false;
    if (blk == blocks - 1) {
      setPowers(acc, cur, m);
    } else {
      addConjSums(acc, cur, next, b, false);
      addConjSums(acc + b, cur + b, next + b, b, true);
    }
    std::swap(cur, next);
  }
  return cplxBackToLags(acc, order, dst, lags, aside);
}

// Splitting the packed spectra errs by about eps times the larger one, which
// swamps a much smaller operand: the smaller one is scaled up by 2^|shift|
// to the larger one's binade (exact) and the result scaled back. Positive:
// b is scaled, negative: a. 0 when the maxima's exponents are at most 1
// apart, and for zero, subnormal-only or non-finite operands. The shift
// stops short of products that could overflow (spectra at their bounds:
// below 9 M^2 (lenA + B) times the scaled maxima) and of an undoing factor
// 2^-shift / M below the normal range.
template <class R, class U>
int32_t balancingShift(U maxA, U maxB, int64_t lenA, int64_t bl, int32_t orderM) noexcept {
  using L = std::numeric_limits<R>;
  constexpr int32_t kMantissa = L::digits - 1, kTop = 2 * L::max_exponent - 1, kBias = L::max_exponent - 1;
  const int32_t fieldA = static_cast<int32_t>(maxA >> kMantissa), fieldB = static_cast<int32_t>(maxB >> kMantissa);
  if (fieldA == 0 || fieldB == 0 || fieldA == kTop || fieldB == kTop) return 0;
  const int32_t d = fieldA - fieldB;
  if (d >= -1 && d <= 1) return 0;
  // The scaled maxima lie below 2^(larger + 1) and 2^(smaller + shift + 1).
  const int32_t larger = std::max(fieldA, fieldB) - kBias, smaller = std::min(fieldA, fieldB) - kBias;
  const int32_t sizeBits = 4 + 2 * orderM + static_cast<int32_t>(std::bit_width(static_cast<uint64_t>(lenA + bl)));
  const int32_t overflowRoom = L::max_exponent - 2 - sizeBits - (larger + smaller);
  const int32_t undoRoom = 1 - L::min_exponent - orderM;
  const int32_t shift = std::min({std::abs(d), overflowRoom, undoRoom});
  if (shift <= 0) return 0;
  return d > 0 ? shift : -shift;
}

// Cross-correlation: blocks of B samples of a (zero-padded to M = 2B)
// against windows of M samples of b starting at lo + block start; the
// accumulator gathers conj(A) W. Real pairs share one complex transform
// (a real, w imaginary) whose spectrum splits by conjugate symmetry; the
// accumulator then is a real spectrum and goes back through the half-length
// transform, with the smaller operand scaled up (balancingShift).
template <class C, class R>
bool crossRealTransform(const R* a, int64_t lenA, const R* b, int64_t lenB, R* dst, int64_t lo, int64_t c) noexcept {
  using O = Ops<C>;
  const int64_t bl = zqvNextPow2(static_cast<int32_t>(c)), m = 2 * bl;
  const int32_t half = zqvIntLog2(static_cast<int32_t>(bl));
  // The windows of b cover lo .. lo + (blocks + 1) B - 1.
  const int64_t blocks = (lenA + bl - 1) / bl;
  const int64_t bLo = std::clamp<int64_t>(lo, 0, lenB), bHi = std::clamp<int64_t>(lo + (blocks + 1) * bl, bLo, lenB);
  const int32_t shift =
      balancingShift<R>(maxMagnitudeBits(a, lenA), maxMagnitudeBits(b + bLo, bHi - bLo), lenA, bl, half + 1);
  const R scaleA = std::ldexp(R(1), std::max(-shift, 0)), scaleB = std::ldexp(R(1), std::max(shift, 0));
  Work<C, 2> w;
  if (!w.take({m, bl})) return false;
  C *z = w.v[0], *acc = w.v[1];
  ZqvStatusAside aside;
  for (int64_t start = 0; start < lenA; start += bl) {
    const int64_t take = std::min(bl, lenA - start), from = lo + start;
    const int64_t wlo = std::clamp<int64_t>(-from, 0, m), whi = std::clamp<int64_t>(lenB - from, wlo, m);
    std::fill(z, z + m, C{});
    for (int64_t t = 0; t < take; ++t) z[t].re = a[start + t] * scaleA;
    for (int64_t t = wlo; t < whi; ++t) z[t].im = b[from + t] * scaleB;
    O::fft(z, half + 1, O::kForward);
    if (aside.transformFailed()) return false;
    // Frequencies 0 and B are real in both spectra.
    acc[0].re += z[0].re * z[0].im;
    acc[0].im += z[1].re * z[1].im;
    addSeparatedProducts(acc, z, m);
  }
  return realBackToLags(acc, half, dst, c, aside, std::abs(shift));
}

// Mixed pairs: the real operand through the half-length transform and the
// real-spectrum pass, read at every frequency by conjugate symmetry; the
// complex one through the transform of M values.
template <class C, class A, class B, class Y>
bool crossMixedTransform(const A* a, int64_t lenA, const B* b, int64_t lenB, Y* dst, int64_t lo, int64_t c) noexcept {
  using O = Ops<C>;
  using R = RealT<C>;
  constexpr bool realA = !IsCplx<A>::value;
  const int64_t bl = zqvNextPow2(static_cast<int32_t>(c)), m = 2 * bl;
  const int32_t half = zqvIntLog2(static_cast<int32_t>(bl));
  Work<C, 3> w;
  if (!w.take({bl, m, m})) return false;
  C *rs = w.v[0], *cs = w.v[1], *acc = w.v[2];
  ZqvStatusAside aside;
  for (int64_t start = 0; start < lenA; start += bl) {
    const int64_t take = std::min(bl, lenA - start), from = lo + start;
    if constexpr (realA) {
      window(reinterpret_cast<R*>(rs), m, a + start, take, 0, take);
      window(cs, m, b, lenB, from, m);
    } else {
      window(cs, m, a + start, take, 0, take);
      window(reinterpret_cast<R*>(rs), m, b, lenB, from, m);
    }
    O::fft(rs, half, O::kForward);
    O::split(rs, half);
    O::fft(cs, half + 1, O::kForward);
    if (aside.transformFailed()) return false;
    // Slot q of the real spectrum holds X[k]; slots 2q and 2q + 1 of the
    // complex one hold the frequencies k and B + k, the latter X[B + k] =
    // conj X[B - k] from the real spectrum's mirror slot.
    auto add = [&](int64_t p, C x) {
      if constexpr (realA) addConjTimes(acc[p], x, cs[p]);
      else addConjTimes(acc[p], cs[p], x);
    };
    add(0, C{rs[0].re, 0});
    add(1, C{rs[0].im, 0});
    for (int64_t hh = 1; hh < bl; hh *= 2) {
      for (int64_t q = hh; q < 2 * hh; ++q) {
        const C mirror = rs[mirrorSlot(q, hh)];
        add(2 * q, rs[q]);
        add(2 * q + 1, C{mirror.re, -mirror.im});
      }
    }
  }
  return cplxBackToLags(acc, half + 1, dst, c, aside);
}

// Complex pairs: both operands through the transform of M values.
template <class C>
bool crossCplxTransform(const C* a, int64_t lenA, const C* b, int64_t lenB, C* dst, int64_t lo, int64_t c) noexcept {
  using O = Ops<C>;
  const int64_t bl = zqvNextPow2(static_cast<int32_t>(c)), m = 2 * bl;
  const int32_t order = zqvIntLog2(static_cast<int32_t>(m));
  Work<C, 3> w;
  if (!w.take({m, m, m})) return false;
  C *fa = w.v[0], *fw = w.v[1], *acc = w.v[2];
  ZqvStatusAside aside;
  for (int64_t start = 0; start < lenA; start += bl) {
    const int64_t take = std::min(bl, lenA - start);
    window(fa, m, a + start, take, 0, take);
    window(fw, m, b, lenB, lo + start, m);
    O::fft(fa, order, O::kForward);
    O::fft(fw, order, O::kForward);
    if (aside.transformFailed()) return false;
    addConjProducts(acc, fa, fw, m);
  }
  return cplxBackToLags(acc, order, dst, c, aside);
}

// The transform method of a member, chosen by its operand types. False when
// work memory or a transform's tables could not be had; dst is then
// untouched and the caller sums directly.
template <class C, class A, class B, class Y>
bool crossTransform(const A* a, int64_t lenA, const B* b, int64_t lenB, Y* dst, int64_t lo, int64_t hi) noexcept {
  const int64_t c = hi - lo + 1;
  if (c > kMaxTransformLags) return false;
  if constexpr (!IsCplx<A>::value && !IsCplx<B>::value) return crossRealTransform<C>(a, lenA, b, lenB, dst, lo, c);
  else if constexpr (IsCplx<A>::value && IsCplx<B>::value) return crossCplxTransform<C>(a, lenA, b, lenB, dst, lo, c);
  else return crossMixedTransform<C>(a, lenA, b, lenB, dst, lo, c);
}

template <class C, class T>
bool autoTransform(const T* x, int64_t n, T* dst, int64_t lags) noexcept {
  if (lags > kMaxTransformLags) return false;
  if constexpr (IsCplx<T>::value) return autoCplxTransform<C>(x, n, dst, lags);
  else return autoRealTransform<C>(x, n, dst, lags);
}

template <class C, class A, class B, class Y>
void crossCorr(ZqvSite site, Estimate e, const A* a, int32_t lenA, const B* b, int32_t lenB, Y* dst,
               int32_t loLag, int32_t hiLag) noexcept {
  if (crossRefused(site, a, lenA, b, lenB, dst, loLag, hiLag)) return;
  const int64_t lo = loLag, hi = hiLag;
  if (transformCheaper(e, lenA, hi - lo + 1) && crossTransform<C>(a, lenA, b, lenB, dst, lo, hi)) return;
  crossDirect(a, lenA, b, lenB, dst, lo, hi);
}

// Normalisation: 1 by len (the direct sums times 1/len, the transform's
// results divided by len), 2 by the number of terms len - k; any other type
// leaves the sums as they are.
template <class T>
void normalise(T* dst, int64_t len, int64_t lags, int32_t normType, bool transformed) noexcept {
  using R = typename RealOf<T>::type;
  auto scaleBy = [](T& v, R f) {
    if constexpr (IsCplx<T>::value) v.re *= f, v.im *= f;
    else v *= f;
  };
  auto divideBy = [](T& v, R d) {
    if constexpr (IsCplx<T>::value) v.re /= d, v.im /= d;
    else v /= d;
  };
  if (normType == 1 && transformed) {
    for (int64_t k = 0; k < lags; ++k) divideBy(dst[k], static_cast<R>(len));
  } else if (normType == 1) {
    const R f = R(1) / static_cast<R>(len);
    for (int64_t k = 0; k < lags; ++k) scaleBy(dst[k], f);
  } else if (normType == 2) {
    for (int64_t k = 0; k < lags; ++k) divideBy(dst[k], static_cast<R>(len - k));
  }
}

template <class C, class T>
void autoCorr(ZqvSite site, Estimate e, const T* src, int32_t len, T* dst, int32_t lags, int32_t normType) noexcept {
  if (autoRefused(site, src, len, dst, lags)) return;
  const bool transformed = transformCheaper(e, len, lags) && autoTransform<C>(src, len, dst, lags);
  if (!transformed) crossDirect(src, len, src, len, dst, 0, int64_t{lags} - 1);
  normalise(dst, len, lags, normType, transformed);
}

// ---- 16-bit members: sums in 64 bits (no realistic length can carry them
// out of range), then a shift and the scale mode.
template <class T>
struct IsCplxW : std::false_type {};
template <>
struct IsCplxW<ZqvCplxW> : std::true_type {};

struct Sum64 {
  int64_t re = 0, im = 0;
};
template <class T>
inline void partsW(T v, int32_t& re, int32_t& im) noexcept {
  if constexpr (IsCplxW<T>::value) re = v.re, im = v.im;
  else re = v, im = 0;
}
// s += conj(a) * b; each 16-bit product is exact in 32 bits.
template <class A, class B>
inline void addConjProductW(Sum64& s, A a, B b) noexcept {
  int32_t ar, ai, br, bi;
  partsW(a, ar, ai);
  partsW(b, br, bi);
  s.re += int64_t{ar * br} + ai * bi;
  s.im += int64_t{ar * bi} - ai * br;
}

// A shift in any range: right for positive, left (wrapping) for negative.
// The 16-bit store keeps the low bits, which a wrapping left shift gives
// whatever the width of the sum.
inline int64_t shiftBy(int64_t v, int64_t shift) noexcept {
  if (shift >= 0) return v >> std::min<int64_t>(shift, 63);
  if (shift <= -64) return 0;
  return static_cast<int64_t>(static_cast<uint64_t>(v) << -shift);
}
// The same on 32-bit values (two-dimensional filters).
inline int32_t shiftBy(int32_t v, int64_t shift) noexcept {
  if (shift >= 0) return v >> std::min<int64_t>(shift, 31);
  if (shift <= -32) return 0;
  return static_cast<int32_t>(static_cast<uint32_t>(v) << -shift);
}

class ScaleW {
 public:
  ScaleW(int32_t mode, const int32_t* factor) noexcept
      : auto_(mode == ZQV_AUTO_SCALE), saturate_((mode & 1) != 0),
        shift_((mode & 2) && factor ? *factor : 0) {}
  int64_t shift() const noexcept { return shift_; }
  // Scales one result; in the automatic mode an out-of-range result raises
  // the shift, and written (already scaled) outputs follow through rescale.
  template <class Rescale>
  void scale(int64_t& re, int64_t& im, Rescale rescale) noexcept {
    re = shiftBy(re, shift_);
    im = shiftBy(im, shift_);
    if (auto_ && (outside(re) || outside(im))) {
      const int64_t extra = std::bit_width(std::max(magnitude(re), magnitude(im))) - 1 - 14;
      rescale(extra);
      shift_ += extra;
      re = shiftBy(re, extra);
      im = shiftBy(im, extra);
    }
    if (saturate_) re = clamp(re), im = clamp(im);
  }

 private:
  static bool outside(int64_t v) noexcept { return v < -32768 || v > 32767; }
  // Unsigned, so that |INT64_MIN| fits.
  static uint64_t magnitude(int64_t v) noexcept { return v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v); }
  static int64_t clamp(int64_t v) noexcept { return std::clamp<int64_t>(v, -32768, 32767); }
  bool auto_, saturate_;
  int64_t shift_;
};

template <class Y>
inline void storeW(Y& d, int64_t re, int64_t im) noexcept {
  if constexpr (IsCplxW<Y>::value) d = Y{static_cast<int16_t>(re), static_cast<int16_t>(im)};
  else d = static_cast<int16_t>(re);
}
template <class Y>
inline void rescaleW(Y* dst, int64_t count, int64_t extra) noexcept {
  for (int64_t i = 0; i < count; ++i) {
    if constexpr (IsCplxW<Y>::value) {
      dst[i].re = static_cast<int16_t>(shiftBy(dst[i].re, extra));
      dst[i].im = static_cast<int16_t>(shiftBy(dst[i].im, extra));
    } else {
      dst[i] = static_cast<int16_t>(shiftBy(dst[i], extra));
    }
  }
}

// Lags in dst order (most negative first): every output ends at the final
// shift, which the automatic mode writes back.
template <class A, class B, class Y>
void crossDirectW(const A* a, int64_t lenA, const B* b, int64_t lenB, Y* dst, int64_t lo, int64_t hi,
                  int64_t normLen, int32_t normType, int32_t mode, int32_t* factor) noexcept {
  ScaleW sc(mode, factor);
  for (int64_t lag = lo; lag <= hi; ++lag) {
    const int64_t first = std::max<int64_t>(0, -lag), end = std::min<int64_t>(lenA, lenB - lag);
    Sum64 s;
    for (int64_t m = first; m < end; ++m) addConjProductW(s, a[m], b[m + lag]);
    if (normType == 1 || normType == 2) {
      const int64_t d = normType == 1 ? normLen : normLen - lag;
      s.re /= d;
      s.im /= d;
    }
    sc.scale(s.re, s.im, [&](int64_t extra) { rescaleW(dst, lag - lo, extra); });
    storeW(dst[lag - lo], s.re, s.im);
  }
  if (mode == ZQV_AUTO_SCALE) *factor = static_cast<int32_t>(sc.shift());
}

template <class T>
void autoCorrW(ZqvSite site, const T* src, int32_t len, T* dst, int32_t lags, int32_t normType, int32_t mode,
               int32_t* factor) noexcept {
  if (autoRefused(site, src, len, dst, lags)) return;
  if (zqvCheckFirst(site, {ZQV_CHECK(mode == ZQV_AUTO_SCALE && !factor, "Null scale factor pointer")})) return;
  crossDirectW(src, len, src, len, dst, 0, int64_t{lags} - 1, len, normType, mode, factor);
}

template <class A, class B, class Y>
void crossCorrW(ZqvSite site, const A* a, int32_t lenA, const B* b, int32_t lenB, Y* dst, int32_t loLag,
                int32_t hiLag, int32_t mode, int32_t* factor) noexcept {
  if (crossRefused(site, a, lenA, b, lenB, dst, loLag, hiLag)) return;
  if (zqvCheckFirst(site, {ZQV_CHECK(mode == ZQV_AUTO_SCALE && !factor, "Null scale factor pointer")})) return;
  crossDirectW(a, lenA, b, lenB, dst, loLag, hiLag, 0, 0, mode, factor);
}

}  // namespace zqvcorr

#endif
