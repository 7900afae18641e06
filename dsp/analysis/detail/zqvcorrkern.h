// The spectrum loops of the correlation's transform method (vector builds in
// zqvcorrkern.cpp).
#ifndef ZQV_CORRKERN_H
#define ZQV_CORRKERN_H

#include <cstdint>
#include <type_traits>

#include "zqvp4.h"

namespace zqvcorr {

// In bit-reversed order of any order, slot p of [h, 2h) (h a power of two)
// holds the frequency whose negative sits at slot 3h - 1 - p (slot 1 is its
// own partner, the half-length frequency).
inline int64_t mirrorSlot(int64_t p, int64_t h) noexcept { return 3 * h - 1 - p; }

// z: the transform of M = 2B values (bit-reversed) whose real parts held one
// real sequence and imaginary parts another. For every frequency 0 < k < B
// their spectra A and W are split off by conjugate symmetry, A = (Z[k] +
// conj Z[M-k]) / 2 and W = (Z[k] - conj Z[M-k]) / 2i, and acc receives
// conj(A) W at the real spectrum's slot of k (half the slot of Z[k]).
// (Plain scalars: GCC 12 at -O1 and above dropped the sums of this loop
// when it was written with structure temporaries.)
template <class C>
void addSeparatedProductsScalar(C* acc, const C* z, int64_t m) noexcept {
  using R = std::remove_cvref_t<decltype(z->re)>;
  const R h = R(0.5);
  for (int64_t hh = 2; hh < m; hh *= 2) {
    for (int64_t p = hh; p < 2 * hh; p += 2) {
      const int64_t q = mirrorSlot(p, hh);
      const R ar = (z[p].re + z[q].re) * h, ai = (z[p].im - z[q].im) * h;
      const R wr = (z[p].im + z[q].im) * h, wi = (z[q].re - z[p].re) * h;
      acc[p / 2].re += ar * wr + ai * wi;
      acc[p / 2].im += ar * wi - ai * wr;
    }
  }
}
// The same; floats two pairs per vector (the same bits).
void addSeparatedProducts(ZqvCplxS* acc, const ZqvCplxS* z, int64_t m) noexcept;
void addSeparatedProducts(ZqvCplxD* acc, const ZqvCplxD* z, int64_t m) noexcept;

// The largest |x[i]| of n values as its bit pattern without the sign (0 for
// n = 0): its exponent field tells zero, subnormal and non-finite apart.
uint32_t maxMagnitudeBits(const float* x, int64_t n) noexcept;
uint64_t maxMagnitudeBits(const double* x, int64_t n) noexcept;

// acc[p] += conj(x[p]) y[p]
void addConjProducts(ZqvCplxS* acc, const ZqvCplxS* x, const ZqvCplxS* y, int64_t n) noexcept;
void addConjProducts(ZqvCplxD* acc, const ZqvCplxD* x, const ZqvCplxD* y, int64_t n) noexcept;
// acc[p] += conj(cur[p]) (cur[p] + next[p]), or with cur[p] - next[p]
void addConjSums(ZqvCplxS* acc, const ZqvCplxS* cur, const ZqvCplxS* next, int64_t n, bool minus) noexcept;
void addConjSums(ZqvCplxD* acc, const ZqvCplxD* cur, const ZqvCplxD* next, int64_t n, bool minus) noexcept;
// acc[p] = |x[p]|^2
void setPowers(ZqvCplxS* acc, const ZqvCplxS* x, int64_t n) noexcept;
void setPowers(ZqvCplxD* acc, const ZqvCplxD* x, int64_t n) noexcept;

}  // namespace zqvcorr

#endif
