// Vector statistics (mean, mean square, largest, smallest) and element-wise
// square, square root and absolute value for float, double and complex
// vectors. The 16-bit forms live in zqvvecw.cpp.
#include "core/zqvvec.h"

#include <algorithm>
#include <bit>
#include <cmath>
#include <cstdint>
#include <limits>
#include <type_traits>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/zqvarith.h"

namespace {

constexpr const char* kModule = kZqvVecModule;

template <class T>
using BitsOf = std::conditional_t<sizeof(T) == 4, uint32_t, uint64_t>;
template <class T>
using SignedBitsOf = std::conditional_t<sizeof(T) == 4, int32_t, int64_t>;

template <class T>
struct ComplexOf;
template <>
struct ComplexOf<float> { using type = ZqvCplxS; };
template <>
struct ComplexOf<double> { using type = ZqvCplxD; };

// ---- Statistics ------------------------------------------------------------

// Partial sums are kept in double whatever the element type, so the float
// forms never round a running sum to float.
template <class T>
T meanOf(ZqvSite site, const T* vec, int32_t n) {
  if (zqvVecRejected(site, vec, n)) return T(0);
  double acc[8] = {};
  int64_t i = 0;
  for (; i + 8 <= n; i += 8)
    for (int j = 0; j < 8; ++j) acc[j] += static_cast<double>(vec[i + j]);
  for (; i < n; ++i) acc[0] += static_cast<double>(vec[i]);
  const double total = ((acc[0] + acc[1]) + (acc[2] + acc[3])) + ((acc[4] + acc[5]) + (acc[6] + acc[7]));
  return static_cast<T>(total / static_cast<double>(n));
}

template <class T>
T meanSquareOf(ZqvSite site, const T* vec, int32_t n) {
  if (zqvVecRejected(site, vec, n)) return T(0);
  double acc[4] = {};
  int64_t i = 0;
  for (; i + 4 <= n; i += 4)
    for (int j = 0; j < 4; ++j) {
      const double x = static_cast<double>(vec[i + j]);
      acc[j] += x * x;
    }
  for (; i < n; ++i) {
    const double x = static_cast<double>(vec[i]);
    acc[0] += x * x;
  }
  const double total = (acc[0] + acc[1]) + (acc[2] + acc[3]);
  if (std::isfinite(total)) return static_cast<T>(total / static_cast<double>(n));
  // Large doubles whose squares leave the double range: the extended format
  // still holds them, and the mean may fit again.
  long double wide = 0.0L;
  for (int64_t k = 0; k < n; ++k) {
    const long double x = vec[k];
    wide += x * x;
  }
  return static_cast<T>(wide / static_cast<long double>(n));
}

// A signed integer whose order is the total order of the float bit patterns:
// negative patterns have their magnitude bits flipped. The map is its own
// inverse, so the winner goes back to the exact pattern it came from.
template <class T>
inline SignedBitsOf<T> orderKey(SignedBitsOf<T> bits) {
  constexpr int kTop = sizeof(T) * 8 - 1;
  constexpr SignedBitsOf<T> kMagnitude = std::numeric_limits<SignedBitsOf<T>>::max();
  return bits ^ ((bits >> kTop) & kMagnitude);
}

template <class T, bool Largest>
T extremeOf(ZqvSite site, const T* vec, int32_t n) {
  using S = SignedBitsOf<T>;
  if (zqvVecRejected(site, vec, n)) return T(0);
  // Patterns are compared as integers only, so NaNs and infinities raise no
  // floating-point exception and the result keeps its exact bits.
  S best = orderKey<T>(std::bit_cast<S>(vec[0]));
  for (int64_t i = 1; i < n; ++i) {
    const S key = orderKey<T>(std::bit_cast<S>(vec[i]));
    best = Largest ? std::max(best, key) : std::min(best, key);
  }
  return std::bit_cast<T>(orderKey<T>(best));
}

// ---- Squares ----------------------------------------------------------------

template <class T>
void squareReal(const T* src, T* dst, int32_t n) {
  for (int64_t i = 0; i < n; ++i) dst[i] = src[i] * src[i];
}

// Both parts are read before either is written, so in place is exact.
template <class C>
void squareComplex(const C* src, C* dst, int32_t n) {
  for (int64_t i = 0; i < n; ++i) {
    const auto re = src[i].re, im = src[i].im;
    dst[i].re = (re - im) * (re + im);
    dst[i].im = re * im + re * im;
  }
}

// ---- Square roots -------------------------------------------------------------

// Sign bit set and not -0.
template <class T>
inline bool isNegative(T x) {
  using U = BitsOf<T>;
  constexpr U kSign = U{1} << (sizeof(T) * 8 - 1);
  const U u = std::bit_cast<U>(x);
  return (u & kSign) != 0 && u != kSign;
}

// One element on the slow path: negative elements are counted and left
// alone (in place they stay, in the copy form the destination is not written).
template <class T>
inline int64_t sqrtElement(const T* src, T* dst, int64_t i) {
  const T x = src[i];
  if (isNegative(x)) return 1;
  dst[i] = std::sqrt(x);
  return 0;
}

// Lanes holding a negative element, as a bit mask; groups without one take the
// vector square root, groups with one go element by element.
#if defined(__SSE2__)
inline int negativeLanes(__m128 x) {
  const __m128i bits = _mm_castps_si128(x);
  const __m128i below = _mm_cmplt_epi32(bits, _mm_setzero_si128());
  const __m128i minusZero = _mm_cmpeq_epi32(bits, _mm_set1_epi32(INT32_MIN));
  return _mm_movemask_ps(_mm_castsi128_ps(_mm_andnot_si128(minusZero, below)));
}

inline int negativeLanes(__m128d x) {
  const int below = _mm_movemask_pd(_mm_cmplt_pd(x, _mm_setzero_pd()));
  const int nan = _mm_movemask_pd(_mm_cmpunord_pd(x, x));
  return below | (nan & _mm_movemask_pd(x));
}

int64_t sqrtGroups(const float* src, float* dst, int64_t n, int64_t* done) {
  int64_t negatives = 0, i = 0;
  for (; i + 4 <= n; i += 4) {
    const __m128 x = _mm_loadu_ps(src + i);
    if (negativeLanes(x) == 0) {
      _mm_storeu_ps(dst + i, _mm_sqrt_ps(x));
    } else {
      for (int64_t k = i; k < i + 4; ++k) negatives += sqrtElement(src, dst, k);
    }
  }
  *done = i;
  return negatives;
}

int64_t sqrtGroups(const double* src, double* dst, int64_t n, int64_t* done) {
  int64_t negatives = 0, i = 0;
  for (; i + 2 <= n; i += 2) {
    const __m128d x = _mm_loadu_pd(src + i);
    if (negativeLanes(x) == 0) {
      _mm_storeu_pd(dst + i, _mm_sqrt_pd(x));
    } else {
      for (int64_t k = i; k < i + 2; ++k) negatives += sqrtElement(src, dst, k);
    }
  }
  *done = i;
  return negatives;
}
#else
template <class T>
int64_t sqrtGroups(const T*, T*, int64_t, int64_t* done) {
  *done = 0;
  return 0;
}
#endif

template <class T>
void sqrtReal(ZqvSite site, const T* src, T* dst, int32_t n) {
  int64_t i = 0;
  int64_t negatives = sqrtGroups(src, dst, n, &i);
  for (; i < n; ++i) negatives += sqrtElement(src, dst, i);
  zqvVecReportNegative(site, negatives, __LINE__);
}

// Principal root in the extended format, with a = re/2, b = im/2:
// w = sqrt(a + |(a, b)|), result w + i*b/w. The extended exponent range keeps
// a^2 + b^2 finite for every finite element.
template <class C>
void sqrtComplex(const C* src, C* dst, int32_t n) {
  using T = decltype(src->re);
  for (int64_t i = 0; i < n; ++i) {
    const long double re = src[i].re, im = src[i].im;
    const long double a = re / 2, b = im / 2;
    const long double h = std::sqrt(a * a + b * b);
    const long double w = std::sqrt(a + h);
    long double outRe, outIm;
    if (re < 0 && b != 0 && std::isfinite(h)) {
      // Left half-plane: a + h cancels and may even reach 0, which would give
      // the conjugate root for a negative imaginary part. h - a does not cancel.
      const long double t = std::sqrt(h - a);
      outRe = std::fabs(b) / t;
      outIm = std::copysign(t, im);
    } else if (w == 0 || std::isnan(w)) {
      outRe = w;
      outIm = std::sqrt(-re);
    } else {
      outRe = w;
      outIm = b / w;
    }
    dst[i].re = static_cast<T>(outRe);
    dst[i].im = static_cast<T>(outIm);
  }
}

// ---- Absolute values -----------------------------------------------------------

// Clears the sign bit on the pattern: -0 becomes +0 and NaNs keep their payload.
template <class T>
void absReal(const T* src, T* dst, int32_t n) {
  using U = BitsOf<T>;
  constexpr U kMagnitude = ~U{0} >> 1;
  for (int64_t i = 0; i < n; ++i) dst[i] = std::bit_cast<T>(std::bit_cast<U>(src[i]) & kMagnitude);
}

// ---- Families: checks, then the kernel ------------------------------------------

template <class T, class K>
void inPlace(ZqvSite site, T* vec, int32_t n, K kernel) {
  if (zqvVecRejected(site, vec, n)) return;
  kernel(vec, vec, n);
}

template <class T, class K>
void copying(ZqvSite site, const T* src, T* dst, int32_t n, K kernel) {
  if (zqvVecPairRejected(site, src, dst, n)) return;
  kernel(src, dst, n);
}

template <class T>
auto sqrtKernel(ZqvSite site) {
  return [site](const T* src, T* dst, int32_t n) { sqrtReal(site, src, dst, n); };
}

}  // namespace

// Statistics: vec, n.
ZQVAPI float zqvsMean(const float* vec, int32_t n) noexcept { return meanOf({"zqvsMean", kModule}, vec, n); }
ZQVAPI double zqvdMean(const double* vec, int32_t n) noexcept { return meanOf({"zqvdMean", kModule}, vec, n); }
ZQVAPI float zqvsStdDev(const float* vec, int32_t n) noexcept { return meanSquareOf({"zqvsStdDev", kModule}, vec, n); }
ZQVAPI double zqvdStdDev(const double* vec, int32_t n) noexcept { return meanSquareOf({"zqvdStdDev", kModule}, vec, n); }
ZQVAPI float zqvsMax(const float* vec, int32_t n) noexcept { return extremeOf<float, true>({"zqvsMax", kModule}, vec, n); }
ZQVAPI float zqvsMin(const float* vec, int32_t n) noexcept { return extremeOf<float, false>({"zqvsMin", kModule}, vec, n); }
ZQVAPI double zqvdMax(const double* vec, int32_t n) noexcept { return extremeOf<double, true>({"zqvdMax", kModule}, vec, n); }
ZQVAPI double zqvdMin(const double* vec, int32_t n) noexcept { return extremeOf<double, false>({"zqvdMin", kModule}, vec, n); }

// Squares: vec, n (in place) or src, dst, n.
ZQVAPI void zqvsbSqr1(float* vec, int32_t n) noexcept { inPlace({"zqvsbSqr1", kModule}, vec, n, squareReal<float>); }
ZQVAPI void zqvdbSqr1(double* vec, int32_t n) noexcept { inPlace({"zqvdbSqr1", kModule}, vec, n, squareReal<double>); }
ZQVAPI void zqvcbSqr1(ZqvCplxS* vec, int32_t n) noexcept { inPlace({"zqvcbSqr1", kModule}, vec, n, squareComplex<ZqvCplxS>); }
ZQVAPI void zqvzbSqr1(ZqvCplxD* vec, int32_t n) noexcept { inPlace({"zqvzbSqr1", kModule}, vec, n, squareComplex<ZqvCplxD>); }
ZQVAPI void zqvsbSqr2(const float* src, float* dst, int32_t n) noexcept {
  copying({"zqvsbSqr2", kModule}, src, dst, n, squareReal<float>);
}
ZQVAPI void zqvdbSqr2(const double* src, double* dst, int32_t n) noexcept {
  copying({"zqvdbSqr2", kModule}, src, dst, n, squareReal<double>);
}
ZQVAPI void zqvcbSqr2(const ZqvCplxS* src, ZqvCplxS* dst, int32_t n) noexcept {
  copying({"zqvcbSqr2", kModule}, src, dst, n, squareComplex<ZqvCplxS>);
}
ZQVAPI void zqvzbSqr2(const ZqvCplxD* src, ZqvCplxD* dst, int32_t n) noexcept {
  copying({"zqvzbSqr2", kModule}, src, dst, n, squareComplex<ZqvCplxD>);
}

// Square roots: vec, n (in place) or src, dst, n.
ZQVAPI void zqvsbSqrt1(float* vec, int32_t n) noexcept { inPlace({"zqvsbSqrt1", kModule}, vec, n, sqrtKernel<float>({"zqvsbSqrt1", kModule})); }
ZQVAPI void zqvdbSqrt1(double* vec, int32_t n) noexcept { inPlace({"zqvdbSqrt1", kModule}, vec, n, sqrtKernel<double>({"zqvdbSqrt1", kModule})); }
ZQVAPI void zqvcbSqrt1(ZqvCplxS* vec, int32_t n) noexcept { inPlace({"zqvcbSqrt1", kModule}, vec, n, sqrtComplex<ZqvCplxS>); }
ZQVAPI void zqvzbSqrt1(ZqvCplxD* vec, int32_t n) noexcept { inPlace({"zqvzbSqrt1", kModule}, vec, n, sqrtComplex<ZqvCplxD>); }
ZQVAPI void zqvsbSqrt2(const float* src, float* dst, int32_t n) noexcept {
  copying({"zqvsbSqrt2", kModule}, src, dst, n, sqrtKernel<float>({"zqvsbSqrt2", kModule}));
}
ZQVAPI void zqvdbSqrt2(const double* src, double* dst, int32_t n) noexcept {
  copying({"zqvdbSqrt2", kModule}, src, dst, n, sqrtKernel<double>({"zqvdbSqrt2", kModule}));
}
ZQVAPI void zqvcbSqrt2(const ZqvCplxS* src, ZqvCplxS* dst, int32_t n) noexcept {
  copying({"zqvcbSqrt2", kModule}, src, dst, n, sqrtComplex<ZqvCplxS>);
}
ZQVAPI void zqvzbSqrt2(const ZqvCplxD* src, ZqvCplxD* dst, int32_t n) noexcept {
  copying({"zqvzbSqrt2", kModule}, src, dst, n, sqrtComplex<ZqvCplxD>);
}

// Absolute values: vec, n (in place) or src, dst, n.
ZQVAPI void zqvsbAbs1(float* vec, int32_t n) noexcept { inPlace({"zqvsbAbs1", kModule}, vec, n, absReal<float>); }
ZQVAPI void zqvdbAbs1(double* vec, int32_t n) noexcept { inPlace({"zqvdbAbs1", kModule}, vec, n, absReal<double>); }
ZQVAPI void zqvsbAbs2(const float* src, float* dst, int32_t n) noexcept {
  copying({"zqvsbAbs2", kModule}, src, dst, n, absReal<float>);
}
ZQVAPI void zqvdbAbs2(const double* src, double* dst, int32_t n) noexcept {
  copying({"zqvdbAbs2", kModule}, src, dst, n, absReal<double>);
}

// ---- Thresholds and thresholded reciprocals -------------------------------------

namespace {

template <class T>
struct PartOf {
  using type = T;
};
template <>
struct PartOf<ZqvCplxS> { using type = float; };
template <>
struct PartOf<ZqvCplxD> { using type = double; };
template <>
struct PartOf<ZqvCplxW> { using type = int16_t; };

// A level is negative when its sign is set and it does not count as a zero:
// -0 passes, and so does a double of magnitude below 2^-1042.
template <class L>
inline bool negativeLevel(L level) noexcept {
  if constexpr (std::is_integral_v<L>) return level < 0;
  else return std::signbit(level) && !zqvCountsAsZero(level);
}

// The total order of the bit patterns: negative NaNs, -inf, negatives, -0,
// +0, positives, +inf, positive NaNs. Negative patterns are flipped so that a
// signed integer comparison gives that order.
template <class T>
inline SignedBitsOf<T> orderKey(T x) noexcept {
  const auto b = std::bit_cast<SignedBitsOf<T>>(x);
  return b ^ ((b >> (8 * sizeof(T) - 1)) & std::numeric_limits<SignedBitsOf<T>>::max());
}

// One element of Thresh; `copy` tells the copy form (which writes +0 as the
// imaginary part of a raised zero) from the in-place form.
template <class T, class L>
inline T threshOne(T z, L level, bool greater, bool copy) noexcept {
  if constexpr (std::is_same_v<T, int16_t>) {
    return greater ? (z > level ? level : z) : (z < level ? level : z);
  } else if constexpr (std::is_floating_point_v<T>) {
    const auto k = orderKey(z), kl = orderKey(level);
    return (greater ? k > kl : k < kl) ? level : z;
  } else if constexpr (std::is_same_v<T, ZqvCplxW>) {
    // Exact integers: each part rescaled by the integer square root of
    // L^2 * part^2 / p, so the new magnitude is L or just below, never above.
    const uint64_t l2 = static_cast<uint64_t>(int64_t{level} * level);
    const uint64_t re2 = static_cast<uint64_t>(int64_t{z.re} * z.re), im2 = static_cast<uint64_t>(int64_t{z.im} * z.im);
    const uint64_t p = re2 + im2;
    if (greater ? !(p > l2) : !(p < l2)) return z;
    if (p == 0) return {level, z.im};
    const auto part = [&](int16_t x, uint64_t x2) {
      const auto m = static_cast<int32_t>(zqvIsqrt32(static_cast<uint32_t>(l2 * x2 / p)));
      return static_cast<int16_t>(x < 0 ? -m : m);
    };
    return {part(z.re, re2), part(z.im, im2)};
  } else {
    // Powers in long double: re^2 + im^2 of any double neither overflows nor
    // underflows there.
    using P = typename PartOf<T>::type;
    const long double re = z.re, im = z.im, l = level;
    const long double p = re * re + im * im, l2 = l * l;
    if (greater ? !(p > l2) : !(p < l2)) return z;
    if (p == 0) return {static_cast<P>(level), copy ? P(0) : z.im};
    const long double f = copy ? std::sqrt(l2 / p) : l / std::sqrt(p);
    return {static_cast<P>(re * f), static_cast<P>(im * f)};
  }
}

template <class T, class L>
bool threshChecksFail(const char* func, const void* vec, const void* src, const void* dst, bool inPlace, int32_t n,
                      L level, const char* levelMessage) noexcept {
  const ZqvSite site{func, kModule};
  const bool failed = inPlace ? zqvVecRejected(site, vec, n) : zqvVecPairRejected(site, src, dst, n);
  if (failed || n < 1) return true;
  return levelMessage && zqvCheckFirst(site, {ZQV_CHECK(negativeLevel(level), levelMessage)});
}

template <class T, class L>
void thresh1(const char* func, T* vec, int32_t n, L level, int32_t relOp, const char* levelMessage) noexcept {
  if (threshChecksFail<T>(func, vec, nullptr, nullptr, true, n, level, levelMessage)) return;
  const bool greater = relOp != 0;
  for (int64_t i = 0; i < n; ++i) vec[i] = threshOne(vec[i], level, greater, false);
}

template <class T, class L>
void thresh2(const char* func, const T* src, T* dst, int32_t n, L level, int32_t relOp,
             const char* levelMessage) noexcept {
  if (threshChecksFail<T>(func, nullptr, src, dst, false, n, level, levelMessage)) return;
  const bool greater = relOp != 0;
  for (int64_t i = 0; i < n; ++i) dst[i] = threshOne(src[i], level, greater, true);
}

// One element of InvThresh; sets `zero` for a zero element under a level of
// zero, which becomes the largest finite value. Every zero counts (also -0
// and complex zeros with signed parts); a zero under a positive level is
// raised to it like any small element.
template <class T, class L>
inline T invOne(T z, L level, bool& zero) noexcept {
  if constexpr (std::is_floating_point_v<T>) {
    if (level == 0) {
      if (z == 0) {
        zero = true;
        return std::copysign(std::numeric_limits<T>::max(), z);
      }
      return T(1) / z;
    }
    if (std::fabs(z) < level) z = std::copysign(level, z);
    return T(1) / z;
  } else {
    using P = typename PartOf<T>::type;
    const long double re = z.re, im = z.im, l = level;
    const long double p = re * re + im * im;
    if (p == 0) {
      if (level == 0) {
        zero = true;
        return {std::numeric_limits<P>::max(), P(0)};
      }
      return {static_cast<P>(1 / l), P(0)};
    }
    // Raised to magnitude L, then inverted: conj(z) / (L * |z|).
    const long double d = (p < l * l) ? l * std::sqrt(p) : p;
    return {static_cast<P>(re / d), static_cast<P>(-im / d)};
  }
}

template <class T, class L>
void invThresh(const char* func, const T* src, T* dst, bool inPlace, int32_t n, L level,
               const char* levelMessage) noexcept {
  if (threshChecksFail<T>(func, dst, src, dst, inPlace, n, level, levelMessage)) return;
  bool zero = false;
  for (int64_t i = 0; i < n; ++i) dst[i] = invOne(src[i], level, zero);
  if (zero) zqvError(ZQV_BAD_ARGUMENT, func, "zero element and zero thresh", kZqvVecModule, __LINE__);
}

}  // namespace

// Thresh: vec, n, level, relOp (0 raises elements below the level, any other
// value lowers elements above it) or src, dst, n, level, relOp.
ZQVAPI void zqvsbThresh1(float* vec, int32_t n, float level, int32_t relOp) noexcept { thresh1("zqvsbThresh1", vec, n, level, relOp, nullptr); }
ZQVAPI void zqvdbThresh1(double* vec, int32_t n, double level, int32_t relOp) noexcept { thresh1("zqvdbThresh1", vec, n, level, relOp, nullptr); }
ZQVAPI void zqvcbThresh1(ZqvCplxS* vec, int32_t n, float level, int32_t relOp) noexcept { thresh1("zqvcbThresh1", vec, n, level, relOp, "thresh<0.0f"); }
ZQVAPI void zqvzbThresh1(ZqvCplxD* vec, int32_t n, double level, int32_t relOp) noexcept { thresh1("zqvzbThresh1", vec, n, level, relOp, "thresh<0.0"); }
ZQVAPI void zqvwbThresh1(int16_t* vec, int32_t n, int16_t level, int32_t relOp) noexcept { thresh1("zqvwbThresh1", vec, n, level, relOp, nullptr); }
ZQVAPI void zqvvbThresh1(ZqvCplxW* vec, int32_t n, int16_t level, int32_t relOp) noexcept { thresh1("zqvvbThresh1", vec, n, level, relOp, "thresh<0"); }
ZQVAPI void zqvsbThresh2(const float* src, float* dst, int32_t n, float level, int32_t relOp) noexcept { thresh2("zqvsbThresh2", src, dst, n, level, relOp, nullptr); }
ZQVAPI void zqvdbThresh2(const double* src, double* dst, int32_t n, double level, int32_t relOp) noexcept { thresh2("zqvdbThresh2", src, dst, n, level, relOp, nullptr); }
ZQVAPI void zqvcbThresh2(const ZqvCplxS* src, ZqvCplxS* dst, int32_t n, float level, int32_t relOp) noexcept { thresh2("zqvcbThresh2", src, dst, n, level, relOp, "thresh<0.0f"); }
ZQVAPI void zqvzbThresh2(const ZqvCplxD* src, ZqvCplxD* dst, int32_t n, double level, int32_t relOp) noexcept { thresh2("zqvzbThresh2", src, dst, n, level, relOp, "thresh<0.0"); }
ZQVAPI void zqvwbThresh2(const int16_t* src, int16_t* dst, int32_t n, int16_t level, int32_t relOp) noexcept { thresh2("zqvwbThresh2", src, dst, n, level, relOp, nullptr); }
ZQVAPI void zqvvbThresh2(const ZqvCplxW* src, ZqvCplxW* dst, int32_t n, int16_t level, int32_t relOp) noexcept { thresh2("zqvvbThresh2", src, dst, n, level, relOp, "thresh<0"); }

// Thresholded reciprocals: vec, n, level or src, dst, n, level.
ZQVAPI void zqvsbInvThresh1(float* vec, int32_t n, float level) noexcept { invThresh("zqvsbInvThresh1", vec, vec, true, n, level, "thresh<0.0f"); }
ZQVAPI void zqvdbInvThresh1(double* vec, int32_t n, double level) noexcept { invThresh("zqvdbInvThresh1", vec, vec, true, n, level, "thresh<0.0"); }
ZQVAPI void zqvcbInvThresh1(ZqvCplxS* vec, int32_t n, float level) noexcept { invThresh("zqvcbInvThresh1", vec, vec, true, n, level, "thresh<0.0f"); }
ZQVAPI void zqvzbInvThresh1(ZqvCplxD* vec, int32_t n, double level) noexcept { invThresh("zqvzbInvThresh1", vec, vec, true, n, level, "thresh<0.0"); }
ZQVAPI void zqvsbInvThresh2(const float* src, float* dst, int32_t n, float level) noexcept { invThresh("zqvsbInvThresh2", src, dst, false, n, level, "thresh<0.0f"); }
ZQVAPI void zqvdbInvThresh2(const double* src, double* dst, int32_t n, double level) noexcept { invThresh("zqvdbInvThresh2", src, dst, false, n, level, "thresh<0.0"); }
ZQVAPI void zqvcbInvThresh2(const ZqvCplxS* src, ZqvCplxS* dst, int32_t n, float level) noexcept { invThresh("zqvcbInvThresh2", src, dst, false, n, level, "thresh<0.0f"); }
ZQVAPI void zqvzbInvThresh2(const ZqvCplxD* src, ZqvCplxD* dst, int32_t n, double level) noexcept { invThresh("zqvzbInvThresh2", src, dst, false, n, level, "thresh<0.0"); }
