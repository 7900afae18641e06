// The spectrum loops of the correlation's transform method, in vector
// builds chosen on first use. Each element sees the same operations in every
// build. (No 512-bit build: there the compiler turns the complex
// products into fused multiply-adds although contraction is off.)
#include "analysis/detail/zqvcorrkern.h"

#include <algorithm>
#include <cstring>
#include <limits>

#include "core/detail/zqvisa.h"

#if defined(__x86_64__)
#include <emmintrin.h>
#endif

namespace zqvcorr {

namespace {

template <class C>
ZQV_KERNEL void addConjTimes(C& acc, C y, C z) noexcept {
  acc.re += y.re * z.re + y.im * z.im;
  acc.im += y.re * z.im - y.im * z.re;
}

template <class C>
ZQV_KERNEL void conjProductsBody(C* acc, const C* x, const C* y, int64_t n) noexcept {
  for (int64_t p = 0; p < n; ++p) addConjTimes(acc[p], x[p], y[p]);
}
template <class C>
ZQV_KERNEL void conjSumsBody(C* acc, const C* cur, const C* next, int64_t n, bool minus) noexcept {
  if (minus)
    for (int64_t p = 0; p < n; ++p) addConjTimes(acc[p], cur[p], C{cur[p].re - next[p].re, cur[p].im - next[p].im});
  else
    for (int64_t p = 0; p < n; ++p) addConjTimes(acc[p], cur[p], C{cur[p].re + next[p].re, cur[p].im + next[p].im});
}
template <class C>
ZQV_KERNEL void powersBody(C* acc, const C* x, int64_t n) noexcept {
  for (int64_t p = 0; p < n; ++p) acc[p] = {x[p].re * x[p].re + x[p].im * x[p].im, 0};
}

// Integer maxima of the sign-cleared patterns: exact, and they vectorise
// without the ordering rules of floating-point comparisons (signed, as the
// patterns are non-negative and 64-bit vectors compare only signed).
template <class R, class I>
ZQV_KERNEL I maxMagnitudeBody(const R* x, int64_t n) noexcept {
  constexpr I kMagnitude = std::numeric_limits<I>::max();
  I best = 0;
  for (int64_t i = 0; i < n; ++i) {
    I u;
    std::memcpy(&u, x + i, sizeof u);
    best = std::max(best, static_cast<I>(u & kMagnitude));
  }
  return best;
}

}  // namespace

uint32_t maxMagnitudeBits(const float* x, int64_t n) noexcept {
  return static_cast<uint32_t>(ZQV_RUN_256(maxMagnitudeBody<float, int32_t>)(x, n));
}
uint64_t maxMagnitudeBits(const double* x, int64_t n) noexcept {
  return static_cast<uint64_t>(ZQV_RUN_256(maxMagnitudeBody<double, int64_t>)(x, n));
}
void addConjProducts(ZqvCplxS* acc, const ZqvCplxS* x, const ZqvCplxS* y, int64_t n) noexcept {
  ZQV_RUN_256(conjProductsBody<ZqvCplxS>)(acc, x, y, n);
}
void addConjProducts(ZqvCplxD* acc, const ZqvCplxD* x, const ZqvCplxD* y, int64_t n) noexcept {
  ZQV_RUN_256(conjProductsBody<ZqvCplxD>)(acc, x, y, n);
}
void addConjSums(ZqvCplxS* acc, const ZqvCplxS* cur, const ZqvCplxS* next, int64_t n, bool minus) noexcept {
  ZQV_RUN_256(conjSumsBody<ZqvCplxS>)(acc, cur, next, n, minus);
}
void addConjSums(ZqvCplxD* acc, const ZqvCplxD* cur, const ZqvCplxD* next, int64_t n, bool minus) noexcept {
  ZQV_RUN_256(conjSumsBody<ZqvCplxD>)(acc, cur, next, n, minus);
}
// Of range h, the blocks of slots (h + 2j, h + 2j + 1) and (2h - 2 - 2j, 2h - 1
// - 2j) hold two whole pairs: Z[k] at h + 2j with its mirror at 2h - 1 - 2j,
// and Z[k] at 2h - 2 - 2j with its mirror at h + 2j + 1. Each lane computes
// the scalar expressions (a sign flip and an addition stand for a
// subtraction).
void addSeparatedProducts(ZqvCplxS* acc, const ZqvCplxS* z, int64_t m) noexcept {
#if defined(__x86_64__)
  if (m < 8) {
    addSeparatedProductsScalar(acc, z, m);
    return;
  }
  addSeparatedProductsScalar(acc, z, 4);  // range h = 2: one pair
  const float* const f = reinterpret_cast<const float*>(z);
  float* const out = reinterpret_cast<float*>(acc);
  const __m128 half = _mm_set1_ps(0.5f), signIm = _mm_setr_ps(0.0f, -0.0f, 0.0f, -0.0f);
  const __m128 signHigh = _mm_setr_ps(0.0f, 0.0f, -0.0f, -0.0f);
  const __m128 reLanes = _mm_castsi128_ps(_mm_setr_epi32(-1, 0, -1, 0));
  auto blend = [&](__m128 re, __m128 im) { return _mm_or_ps(_mm_and_ps(reLanes, re), _mm_andnot_ps(reLanes, im)); };
  for (int64_t h = 4; h < m; h *= 2) {
    for (int64_t j = 0; j < h / 4; ++j) {
      const __m128 x = _mm_loadu_ps(f + 2 * (h + 2 * j)), y = _mm_loadu_ps(f + 2 * (2 * h - 2 - 2 * j));
      const __m128 zk = _mm_movelh_ps(x, y), zm = _mm_movehl_ps(x, y);
      const __m128 sum = _mm_add_ps(zk, zm), diff = _mm_sub_ps(zk, zm);
      const __m128 sa = _mm_mul_ps(blend(sum, diff), half);  // ((zk.re + zm.re) h, (zk.im - zm.im) h)
      const __m128 q = blend(diff, sum);
      // ((zk.im + zm.im) h, (zm.re - zk.re) h)
      const __m128 sw = _mm_mul_ps(_mm_xor_ps(_mm_shuffle_ps(q, q, _MM_SHUFFLE(2, 3, 0, 1)), signIm), half);
      const __m128 p1 = _mm_mul_ps(sa, sw);                                                // (sa.re sw.re, sa.im sw.im)
      const __m128 p2 = _mm_mul_ps(sa, _mm_shuffle_ps(sw, sw, _MM_SHUFFLE(2, 3, 0, 1)));  // (sa.re sw.im, sa.im sw.re)
      const __m128 l = _mm_shuffle_ps(p1, p2, _MM_SHUFFLE(2, 0, 2, 0)), r = _mm_shuffle_ps(p1, p2, _MM_SHUFFLE(3, 1, 3, 1));
      const __m128 v = _mm_add_ps(l, _mm_xor_ps(r, signHigh));  // (re A, re B, im A, im B)
      float* const accA = out + 2 * (h / 2 + j);
      float* const accB = out + 2 * (h - 1 - j);
      const __m128 old = _mm_movelh_ps(_mm_castpd_ps(_mm_load_sd(reinterpret_cast<const double*>(accA))),
                                       _mm_castpd_ps(_mm_load_sd(reinterpret_cast<const double*>(accB))));
      const __m128 now = _mm_add_ps(old, _mm_shuffle_ps(v, v, _MM_SHUFFLE(3, 1, 2, 0)));
      _mm_store_sd(reinterpret_cast<double*>(accA), _mm_castps_pd(now));
      _mm_storeh_pd(reinterpret_cast<double*>(accB), _mm_castps_pd(now));
    }
  }
#else
  addSeparatedProductsScalar(acc, z, m);
#endif
}
void addSeparatedProducts(ZqvCplxD* acc, const ZqvCplxD* z, int64_t m) noexcept { addSeparatedProductsScalar(acc, z, m); }

void setPowers(ZqvCplxS* acc, const ZqvCplxS* x, int64_t n) noexcept { ZQV_RUN_256(powersBody<ZqvCplxS>)(acc, x, n); }
void setPowers(ZqvCplxD* acc, const ZqvCplxD* x, int64_t n) noexcept { ZQV_RUN_256(powersBody<ZqvCplxD>)(acc, x, n); }

}  // namespace zqvcorr
