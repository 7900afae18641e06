// Norms of a vector or of the difference of two vectors, and normalization
// (subtract an offset, multiply by the reciprocal of a factor).
#include <cmath>
#include <cstdint>
#include <limits>
#include <type_traits>

#include "core/zqvarith.h"
#include "core/zqvframe.h"
#include "zqvp4.h"

namespace {

constexpr const char* kModule = "zqvnorm";

enum class Measure { Max, L1, L2 };

bool normFlagAccepted(int32_t flag) noexcept {
  switch (flag) {
    case ZQV_NormMax: case ZQV_NormL1: case ZQV_NormL2:
    case ZQV_NormMax | ZQV_NormRelative: case ZQV_NormL1 | ZQV_NormRelative:
    case ZQV_NormL2 | ZQV_NormRelative:
      return true;
    default:
      return false;
  }
}

// The sums run in independent double lanes so that the loops vectorise; the
// lanes are joined once at the end (results are carried in at least double).
constexpr int kLanes = 4;

// Element access: the components of a[i] - b[i] (or of a[i] alone) in double.
inline double part(float x) noexcept { return x; }
inline double part(double x) noexcept { return x; }

template <bool HasB, class T>
inline double realDiff(const T* a, const T* b, int64_t i) noexcept {
  if constexpr (HasB) return part(a[i]) - part(b[i]);
  else return part(a[i]);
}

template <bool HasB, class C>
inline void cplxDiff(const C* a, const C* b, int64_t i, double& re, double& im) noexcept {
  if constexpr (HasB) {
    re = part(a[i].re) - part(b[i].re);
    im = part(a[i].im) - part(b[i].im);
  } else {
    re = part(a[i].re);
    im = part(a[i].im);
  }
}

// Lane step for one value v (a magnitude, or a squared magnitude).
template <Measure M>
inline void accumulate(double& acc, double v) noexcept {
  if constexpr (M == Measure::Max) acc = (v >= acc) ? v : acc;  // NaN never replaces
  else acc += v;
}

inline long double joinLanes(const double (&acc)[kLanes], Measure m) noexcept {
  if (m == Measure::Max) {
    double r = 0.0;
    for (double v : acc) r = (v >= r) ? v : r;
    return r;
  }
  long double s = 0.0L;
  for (double v : acc) s += v;
  return s;
}

// Base measure of real float/double data: largest |d|, sum |d|, or sum d^2.
template <Measure M, bool HasB, class T>
long double realMeasure(const T* a, const T* b, int64_t n) noexcept {
  double acc[kLanes] = {};
  int64_t i = 0;
  for (; i + kLanes <= n; i += kLanes)
    for (int k = 0; k < kLanes; ++k) {
      const double d = realDiff<HasB>(a, b, i + k);
      accumulate<M>(acc[k], M == Measure::L2 ? d * d : std::fabs(d));
    }
  for (int k = 0; i < n; ++i, ++k) {
    const double d = realDiff<HasB>(a, b, i);
    accumulate<M>(acc[k], M == Measure::L2 ? d * d : std::fabs(d));
  }
  return joinLanes(acc, M);
}

// Complex float/double data: the maximum compares squared magnitudes and
// takes one root at the end; L1 takes one root per element.
template <Measure M, bool HasB, class C>
long double cplxMeasure(const C* a, const C* b, int64_t n) noexcept {
  double acc[kLanes] = {};
  auto term = [&](int64_t i) {
    double re, im;
    cplxDiff<HasB>(a, b, i, re, im);
    const double sq = re * re + im * im;
    return M == Measure::L1 ? std::sqrt(sq) : sq;
  };
  int64_t i = 0;
  for (; i + kLanes <= n; i += kLanes)
    for (int k = 0; k < kLanes; ++k) accumulate<M>(acc[k], term(i + k));
  for (int k = 0; i < n; ++i, ++k) accumulate<M>(acc[k], term(i));
  const long double r = joinLanes(acc, M);
  return M == Measure::Max ? std::sqrt(r) : r;
}

// 16-bit data: widened to 32 bits, so |-32768| is 32768; the measures are
// exact integers (|d| <= 65535, d^2 < 2^32, n < 2^31: every sum fits 64 bits).
template <Measure M, bool HasB>
long double wordMeasure(const int16_t* a, const int16_t* b, int64_t n) noexcept {
  if constexpr (M == Measure::Max) {
    int32_t m = 0;
    for (int64_t i = 0; i < n; ++i) {
      const int32_t d = HasB ? int32_t(a[i]) - int32_t(b[i]) : int32_t(a[i]);
      const int32_t v = d < 0 ? -d : d;
      m = v > m ? v : m;
    }
    return m;
  } else {
    uint64_t s = 0;
    for (int64_t i = 0; i < n; ++i) {
      const int32_t d = HasB ? int32_t(a[i]) - int32_t(b[i]) : int32_t(a[i]);
      const uint32_t v = uint32_t(d < 0 ? -d : d);
      s += M == Measure::L2 ? uint64_t(v) * v : v;
    }
    return static_cast<long double>(s);
  }
}

template <Measure M, bool HasB>
long double wordMeasure(const ZqvCplxW* a, const ZqvCplxW* b, int64_t n) noexcept {
  auto squared = [&](int64_t i) {
    const int64_t re = HasB ? int32_t(a[i].re) - int32_t(b[i].re) : int32_t(a[i].re);
    const int64_t im = HasB ? int32_t(a[i].im) - int32_t(b[i].im) : int32_t(a[i].im);
    return uint64_t(re * re + im * im);
  };
  if constexpr (M == Measure::Max) {
    uint64_t m = 0;
    for (int64_t i = 0; i < n; ++i) m = squared(i) >= m ? squared(i) : m;
    return std::sqrt(static_cast<long double>(m));
  } else if constexpr (M == Measure::L2) {
    uint64_t s = 0;
    for (int64_t i = 0; i < n; ++i) s += squared(i);
    return static_cast<long double>(s);
  } else {
    double acc[kLanes] = {};
    int64_t i = 0;
    for (; i + kLanes <= n; i += kLanes)
      for (int k = 0; k < kLanes; ++k) acc[k] += std::sqrt(double(squared(i + k)));
    for (int k = 0; i < n; ++i, ++k) acc[k] += std::sqrt(double(squared(i)));
    return joinLanes(acc, Measure::L1);
  }
}

template <Measure M, bool HasB, class T>
long double measureOf(const T* a, const T* b, int64_t n) noexcept {
  if constexpr (std::is_same_v<T, float> || std::is_same_v<T, double>)
    return realMeasure<M, HasB>(a, b, n);
  else if constexpr (std::is_same_v<T, ZqvCplxS> || std::is_same_v<T, ZqvCplxD>)
    return cplxMeasure<M, HasB>(a, b, n);
  else
    return wordMeasure<M, HasB>(a, b, n);
}

template <bool HasB, class T>
long double measureOf(Measure m, const T* a, const T* b, int64_t n) noexcept {
  switch (m) {
    case Measure::Max: return measureOf<Measure::Max, HasB>(a, b, n);
    case Measure::L1: return measureOf<Measure::L1, HasB>(a, b, n);
    default: return measureOf<Measure::L2, HasB>(a, b, n);
  }
}

template <class R, class T>
R normOf(ZqvSite site, const T* srcA, const T* srcB, int32_t n, int32_t flag) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(srcA == nullptr, "srcA==0"), ZQV_CHECK(n <= 0, "n<=0"),
                         ZQV_CHECK(!normFlagAccepted(flag), "flag is wrong")}))
    return R(0);
  const bool relative = (flag & ZQV_NormRelative) != 0;
  if (relative && srcB == nullptr) return R(1);
  const Measure m = (flag & ZQV_NormMax) ? Measure::Max
                    : (flag & ZQV_NormL1) ? Measure::L1
                                          : Measure::L2;
  const long double value =
      srcB ? measureOf<true>(m, srcA, srcB, n) : measureOf<false>(m, srcA, srcB, n);
  if (!relative) return R(m == Measure::L2 ? std::sqrt(value) : value);
  const long double divisor = measureOf<false>(m, srcA, srcB, n);
  if (divisor == 0.0L || std::isnan(divisor)) return std::numeric_limits<R>::max();
  const long double ratio = value / divisor;
  return R(m == Measure::L2 ? std::sqrt(ratio) : ratio);
}

// Truncation toward zero to 32 bits, then the low 16 bits. A product outside
// the 32-bit range (or NaN) gives the integer-indefinite value 0x80000000,
// as the processor's own conversion does, so its low 16 bits are 0.
inline int16_t truncToWord(double p) noexcept {
  const int32_t t = (p > -2147483649.0 && p < 2147483648.0) ? int32_t(p) : INT32_MIN;
  return int16_t(uint16_t(uint32_t(t)));
}

// Elements are visited from the last to the first.
inline void normalizeElem(const float& s, float& d, double off, double r) noexcept {
  d = float((double(s) - off) * r);
}
inline void normalizeElem(const double& s, double& d, double off, double r) noexcept {
  d = (s - off) * r;
}
inline void normalizeElem(const int16_t& s, int16_t& d, int32_t off, double r) noexcept {
  d = truncToWord(double(int32_t(s) - off) * r);
}

template <class T, class Off, class Fac>
void normalizeOf(ZqvSite site, const T* src, T* dst, int32_t n, Off off, Fac factor) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(src == nullptr, "src==0"), ZQV_CHECK(dst == nullptr, "dst==0"),
                         ZQV_CHECK(n <= 0, "n<=0"),
                         ZQV_CHECK(zqvCountsAsZero(factor), "factor == 0")}))
    return;
  const double r = 1.0 / double(factor);
  for (int64_t i = int64_t(n) - 1; i >= 0; --i) normalizeElem(src[i], dst[i], off, r);
}

template <class C, class Part, class Off, class Fac>
void normalizeCplxOf(ZqvSite site, const C* src, C* dst, int32_t n, Off offRe, Off offIm,
                     Fac factor) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(src == nullptr, "src==0"), ZQV_CHECK(dst == nullptr, "dst==0"),
                         ZQV_CHECK(n <= 0, "n<=0"),
                         ZQV_CHECK(zqvCountsAsZero(factor), "factor == 0")}))
    return;
  const double r = 1.0 / double(factor);
  for (int64_t i = int64_t(n) - 1; i >= 0; --i) {
    const Part re = src[i].re, im = src[i].im;  // read both before an in-place store
    normalizeElem(re, dst[i].re, offRe, r);
    normalizeElem(im, dst[i].im, offIm, r);
  }
}

}  // namespace

// srcA, srcB (may be null), n elements, flag -> the norm.
ZQVAPI float zqvsNorm(const float* srcA, const float* srcB, int32_t n, int32_t flag) noexcept {
  return normOf<float>({"zqvsNorm", kModule}, srcA, srcB, n, flag);
}
ZQVAPI float zqvcNorm(const ZqvCplxS* srcA, const ZqvCplxS* srcB, int32_t n, int32_t flag) noexcept {
  return normOf<float>({"zqvcNorm", kModule}, srcA, srcB, n, flag);
}
ZQVAPI double zqvdNorm(const double* srcA, const double* srcB, int32_t n, int32_t flag) noexcept {
  return normOf<double>({"zqvdNorm", kModule}, srcA, srcB, n, flag);
}
ZQVAPI double zqvzNorm(const ZqvCplxD* srcA, const ZqvCplxD* srcB, int32_t n, int32_t flag) noexcept {
  return normOf<double>({"zqvzNorm", kModule}, srcA, srcB, n, flag);
}
ZQVAPI float zqvwNorm(const int16_t* srcA, const int16_t* srcB, int32_t n, int32_t flag) noexcept {
  return normOf<float>({"zqvwNorm", kModule}, srcA, srcB, n, flag);
}
ZQVAPI float zqvvNorm(const ZqvCplxW* srcA, const ZqvCplxW* srcB, int32_t n, int32_t flag) noexcept {
  return normOf<float>({"zqvvNorm", kModule}, srcA, srcB, n, flag);
}

// src, dst (may equal src), n elements, offset, factor.
ZQVAPI void zqvsbNormalize(const float* src, float* dst, int32_t n, float offset,
                           float factor) noexcept {
  normalizeOf({"zqvsbNormalize", kModule}, src, dst, n, double(offset), factor);
}
ZQVAPI void zqvdbNormalize(const double* src, double* dst, int32_t n, double offset,
                           double factor) noexcept {
  normalizeOf({"zqvdbNormalize", kModule}, src, dst, n, offset, factor);
}
ZQVAPI void zqvwbNormalize(const int16_t* src, int16_t* dst, int32_t n, int32_t offset,
                           float factor) noexcept {
  normalizeOf({"zqvwbNormalize", kModule}, src, dst, n, int32_t(int16_t(offset)), factor);
}
ZQVAPI void zqvcbNormalize(const ZqvCplxS* src, ZqvCplxS* dst, int32_t n, ZqvCplxS offset,
                           float factor) noexcept {
  normalizeCplxOf<ZqvCplxS, float>({"zqvcbNormalize", kModule}, src, dst, n, double(offset.re),
                                   double(offset.im), factor);
}
ZQVAPI void zqvzbNormalize(const ZqvCplxD* src, ZqvCplxD* dst, int32_t n, ZqvCplxD offset,
                           double factor) noexcept {
  normalizeCplxOf<ZqvCplxD, double>({"zqvzbNormalize", kModule}, src, dst, n, offset.re,
                                    offset.im, factor);
}
ZQVAPI void zqvvbNormalize(const ZqvCplxW* src, ZqvCplxW* dst, int32_t n, ZqvCplxW offset,
                           float factor) noexcept {
  normalizeCplxOf<ZqvCplxW, int16_t>({"zqvvbNormalize", kModule}, src, dst, n,
                                     int32_t(offset.re), int32_t(offset.im), factor);
}
