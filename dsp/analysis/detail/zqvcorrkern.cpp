// The spectrum loops of the correlation's transform method, in vector
// builds chosen at load time. Each element sees the same operations in every
// build. (Kept local: clones of an outside name would be exported whatever
// its visibility. No 512-bit build: there the compiler turns the complex
// products into fused multiply-adds although contraction is off.)
#include "analysis/detail/zqvcorrkern.h"

namespace zqvcorr {

namespace {

template <class C>
inline void addConjTimes(C& acc, C y, C z) noexcept {
  acc.re += y.re * z.re + y.im * z.im;
  acc.im += y.re * z.im - y.im * z.re;
}

template <class C>
inline void conjProductsBody(C* acc, const C* x, const C* y, int64_t n) noexcept {
  for (int64_t p = 0; p < n; ++p) addConjTimes(acc[p], x[p], y[p]);
}
template <class C>
inline void conjSumsBody(C* acc, const C* cur, const C* next, int64_t n, bool minus) noexcept {
  if (minus)
    for (int64_t p = 0; p < n; ++p) addConjTimes(acc[p], cur[p], C{cur[p].re - next[p].re, cur[p].im - next[p].im});
  else
    for (int64_t p = 0; p < n; ++p) addConjTimes(acc[p], cur[p], C{cur[p].re + next[p].re, cur[p].im + next[p].im});
}
template <class C>
inline void powersBody(C* acc, const C* x, int64_t n) noexcept {
  for (int64_t p = 0; p < n; ++p) acc[p] = {x[p].re * x[p].re + x[p].im * x[p].im, 0};
}

#define ZQV_CORR_CLONES __attribute__((target_clones("avx2", "default")))
#define ZQV_CORR_KERNELS(C)                                                                               \
  ZQV_CORR_CLONES void conjProducts(C* acc, const C* x, const C* y, int64_t n) noexcept {                \
    conjProductsBody(acc, x, y, n);                                                                     \
  }                                                                                                     \
  ZQV_CORR_CLONES void conjSums(C* acc, const C* cur, const C* next, int64_t n, bool minus) noexcept {   \
    conjSumsBody(acc, cur, next, n, minus);                                                             \
  }                                                                                                     \
  ZQV_CORR_CLONES void powers(C* acc, const C* x, int64_t n) noexcept { powersBody(acc, x, n); }
ZQV_CORR_KERNELS(ZqvCplxS)
ZQV_CORR_KERNELS(ZqvCplxD)

}  // namespace

void addConjProducts(ZqvCplxS* acc, const ZqvCplxS* x, const ZqvCplxS* y, int64_t n) noexcept { conjProducts(acc, x, y, n); }
void addConjProducts(ZqvCplxD* acc, const ZqvCplxD* x, const ZqvCplxD* y, int64_t n) noexcept { conjProducts(acc, x, y, n); }
void addConjSums(ZqvCplxS* acc, const ZqvCplxS* cur, const ZqvCplxS* next, int64_t n, bool minus) noexcept {
  conjSums(acc, cur, next, n, minus);
}
void addConjSums(ZqvCplxD* acc, const ZqvCplxD* cur, const ZqvCplxD* next, int64_t n, bool minus) noexcept {
  conjSums(acc, cur, next, n, minus);
}
void setPowers(ZqvCplxS* acc, const ZqvCplxS* x, int64_t n) noexcept { powers(acc, x, n); }
void setPowers(ZqvCplxD* acc, const ZqvCplxD* x, int64_t n) noexcept { powers(acc, x, n); }

}  // namespace zqvcorr
