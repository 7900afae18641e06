// The fast recursion of the DCT on n = 2^p values, unscaled: the body that
// zqvdct.cpp and the files beside this one compile once per vector width
// (element by element without contraction, so every build gives the same
// bits). No include guard: the including file defines ZQV_DCT_ENTRY, the
// name of the build's entry point, and sets the target before it.
//
// The including file has included <cstdint>, <cstring> and <utility>.

#include "transforms/detail/zqvdctfast.h"

namespace {

using Factors = ZqvDctFactors;

// Up to this order the recursion runs on fixed-size blocks the compiler
// unrolls, with the values in registers; the operations are the same.
constexpr int32_t kFixedOrder = 4;

// The recursion below for one fixed order, on the n values of v in place.
template <int32_t P>
inline __attribute__((always_inline)) void dct2Fixed(double* v, const Factors& f) noexcept {
  if constexpr (P > 0) {
    constexpr int32_t n = 1 << P, m = n / 2;
    const double* t = f.byOrder[P - 1];
    double even[m], odd[m];
    for (int32_t j = 0; j < m; ++j) {
      even[j] = v[j] + v[n - 1 - j];
      odd[j] = (v[j] - v[n - 1 - j]) * t[j];
    }
    dct2Fixed<P - 1>(even, f);
    dct2Fixed<P - 1>(odd, f);
    for (int32_t k = 0; k + 1 < m; ++k) odd[k] += odd[k + 1];
    for (int32_t k = 0; k < m; ++k) {
      v[2 * k] = even[k];
      v[2 * k + 1] = odd[k];
    }
  }
}

template <int32_t P>
inline __attribute__((always_inline)) void dct3Fixed(double* v, const Factors& f) noexcept {
  if constexpr (P > 0) {
    constexpr int32_t n = 1 << P, m = n / 2;
    const double* t = f.byOrder[P - 1];
    double even[m], odd[m];
    for (int32_t k = 0; k < m; ++k) {
      even[k] = v[2 * k];
      odd[k] = v[2 * k + 1] * t[k];
    }
    dct3Fixed<P - 1>(even, f);
    dct2Fixed<P - 1>(odd, f);
    for (int32_t k = 0; k + 1 < m; ++k) odd[k] += odd[k + 1];
    for (int32_t i = 0; i < m; ++i) {
      v[i] = even[i] + odd[i];
      v[n - 1 - i] = even[i] - odd[i];
    }
  }
}

template <bool kInverse, int32_t... P>
inline __attribute__((always_inline)) void fixedOf(double* v, int32_t p, const Factors& f, std::integer_sequence<int32_t, P...>) noexcept {
  if constexpr (kInverse) ((p == P ? dct3Fixed<P>(v, f) : void()), ...);
  else ((p == P ? dct2Fixed<P>(v, f) : void()), ...);
}

#define ZQV_DCT_INLINE inline __attribute__((always_inline))

// One level of the forward recursion on a block of n values: even outputs
// are the DCT of x[j] + x[n-1-j]; odd ones come from the DCT of
// (x[j] - x[n-1-j]) / (2 cos((2j + 1) pi / (2n))) by adding neighbours, since
// cos((2k + 1) a) = (cos(2k a) + cos((2k + 2) a)) / (2 cos a). Split writes
// both halves to tmp, merge (once both are transformed in tmp) back to x.
ZQV_DCT_INLINE void split2(const double* __restrict x, double* __restrict tmp, int64_t n, const double* t) noexcept {
  const int64_t m = n / 2;
  for (int64_t j = 0; j < m; ++j) {
    tmp[j] = x[j] + x[n - 1 - j];
    tmp[m + j] = (x[j] - x[n - 1 - j]) * t[j];
  }
}

ZQV_DCT_INLINE void merge2(double* __restrict x, double* __restrict tmp, int64_t n) noexcept {
  const int64_t m = n / 2;
  for (int64_t k = 0; k + 1 < m; ++k) tmp[m + k] += tmp[m + k + 1];
  for (int64_t k = 0; k < m; ++k) {
    x[2 * k] = tmp[k];
    x[2 * k + 1] = tmp[m + k];
  }
}

// The inverse: even coefficients to an inverse of half the length, odd ones
// through the odd half of the forward (its matrix
// cos(pi (2i + 1)(2k + 1) / (2n)) is symmetric), then sum and difference.
ZQV_DCT_INLINE void split3(const double* __restrict X, double* __restrict tmp, int64_t n, const double* t) noexcept {
  const int64_t m = n / 2;
  for (int64_t k = 0; k < m; ++k) {
    tmp[k] = X[2 * k];
    tmp[m + k] = X[2 * k + 1] * t[k];
  }
}

ZQV_DCT_INLINE void merge3(double* __restrict X, double* __restrict tmp, int64_t n) noexcept {
  const int64_t m = n / 2;
  for (int64_t k = 0; k + 1 < m; ++k) tmp[m + k] += tmp[m + k + 1];
  for (int64_t i = 0; i < m; ++i) {
    X[i] = tmp[i] + tmp[m + i];
    X[n - 1 - i] = tmp[i] - tmp[m + i];
  }
}

// X[k] = sum x[j] cos(pi k (2j + 1) / (2n)) into x; tmp holds n scratch values.
void dct2(double* __restrict x, double* __restrict tmp, int32_t p, const Factors& f) noexcept {
  if (p <= kFixedOrder) {
    fixedOf<false>(x, p, f, std::make_integer_sequence<int32_t, kFixedOrder + 1>{});
    return;
  }
  const int64_t n = int64_t{1} << p, m = n / 2;
  split2(x, tmp, n, f.byOrder[p - 1]);
  dct2(tmp, x, p - 1, f);
  dct2(tmp + m, x + m, p - 1, f);
  merge2(x, tmp, n);
}

// x[i] = sum X[k] cos(pi k (2i + 1) / (2n)) into X (X[0] at full weight).
void dct3(double* __restrict X, double* __restrict tmp, int32_t p, const Factors& f) noexcept {
  if (p <= kFixedOrder) {
    fixedOf<true>(X, p, f, std::make_integer_sequence<int32_t, kFixedOrder + 1>{});
    return;
  }
  const int64_t n = int64_t{1} << p, m = n / 2;
  split3(X, tmp, n, f.byOrder[p - 1]);
  dct3(tmp, X, p - 1, f);
  dct2(tmp + m, X + m, p - 1, f);
  merge3(X, tmp, n);
}

// ---- The same recursion with its lowest levels batched ----------------------
// Every block of a level goes through the same operations, independently of
// the others, so the order of the blocks does not change a bit: the levels
// above the leaves split all the way down first, then all leaves run at
// once (transposed, so that each operation is a vector over the leaves),
// then the levels merge back up.

// Blocks of the leaves; from this order on the leaves are batched.
constexpr int32_t kLeafOrder = 4;
constexpr int32_t kBatchOrder = 7;

void down2(double* __restrict x, double* __restrict tmp, int32_t p, const Factors& f) noexcept {
  if (p == kLeafOrder) return;
  const int64_t n = int64_t{1} << p, m = n / 2;
  split2(x, tmp, n, f.byOrder[p - 1]);
  down2(tmp, x, p - 1, f);
  down2(tmp + m, x + m, p - 1, f);
}

void up2(double* __restrict x, double* __restrict tmp, int32_t p) noexcept {
  if (p == kLeafOrder) return;
  const int64_t n = int64_t{1} << p, m = n / 2;
  up2(tmp, x, p - 1);
  up2(tmp + m, x + m, p - 1);
  merge2(x, tmp, n);
}

void down3(double* __restrict X, double* __restrict tmp, int32_t p, const Factors& f) noexcept {
  if (p == kLeafOrder) return;
  const int64_t n = int64_t{1} << p, m = n / 2;
  split3(X, tmp, n, f.byOrder[p - 1]);
  down3(tmp, X, p - 1, f);
  down2(tmp + m, X + m, p - 1, f);
}

void up3(double* __restrict X, double* __restrict tmp, int32_t p) noexcept {
  if (p == kLeafOrder) return;
  const int64_t n = int64_t{1} << p, m = n / 2;
  up3(tmp, X, p - 1);
  up2(tmp + m, X + m, p - 1);
  merge3(X, tmp, n);
}

// dct2 on `width` transforms at once, value j of transform b at v[j width + b].
void dct2Rows(double* __restrict v, double* __restrict s, int32_t p, int64_t width, const Factors& f) noexcept {
  if (p == 0) return;
  const int64_t n = int64_t{1} << p, m = n / 2;
  const double* t = f.byOrder[p - 1];
  for (int64_t j = 0; j < m; ++j) {
    const double* a = v + j * width;
    const double* z = v + (n - 1 - j) * width;
    double* e = s + j * width;
    double* o = s + (m + j) * width;
    const double tj = t[j];
    for (int64_t b = 0; b < width; ++b) {
      e[b] = a[b] + z[b];
      o[b] = (a[b] - z[b]) * tj;
    }
  }
  dct2Rows(s, v, p - 1, width, f);
  dct2Rows(s + m * width, v + m * width, p - 1, width, f);
  for (int64_t k = 0; k + 1 < m; ++k) {
    double* o = s + (m + k) * width;
    for (int64_t b = 0; b < width; ++b) o[b] += o[b + width];
  }
  for (int64_t k = 0; k < m; ++k) {
    std::memcpy(v + 2 * k * width, s + k * width, static_cast<std::size_t>(width) * sizeof(double));
    std::memcpy(v + (2 * k + 1) * width, s + (m + k) * width, static_cast<std::size_t>(width) * sizeof(double));
  }
}

// The forward (dct2) or inverse (dct3) of n = 2^p values in x, tmp n values
// of scratch.
void fastDct(double* x, double* tmp, int32_t p, bool inverse, const Factors& f) noexcept {
  if (p < kBatchOrder) {
    if (inverse) dct3(x, tmp, p, f);
    else dct2(x, tmp, p, f);
    return;
  }
  if (inverse) down3(x, tmp, p, f);
  else down2(x, tmp, p, f);
  // The leaves sit side by side in the buffer of their depth; the other
  // buffer is free.
  const bool odd = (p - kLeafOrder) % 2;
  double* leaves = odd ? tmp : x;
  double* spare = odd ? x : tmp;
  const int64_t size = int64_t{1} << kLeafOrder, count = (int64_t{1} << p) / size;
  // The inverse's first leaf is an inverse of its own.
  const int64_t first = inverse ? 1 : 0, width = count - first;
  if (inverse) dct3(leaves, spare, kLeafOrder, f);
  double* rows = spare;
  double* batch = leaves + first * size;
  for (int64_t b = 0; b < width; ++b)
    for (int64_t i = 0; i < size; ++i) rows[i * width + b] = batch[b * size + i];
  dct2Rows(rows, batch, kLeafOrder, width, f);
  for (int64_t b = 0; b < width; ++b)
    for (int64_t i = 0; i < size; ++i) batch[b * size + i] = rows[i * width + b];
  if (inverse) up3(x, tmp, p);
  else up2(x, tmp, p);
}

#undef ZQV_DCT_INLINE

}  // namespace

void ZQV_DCT_ENTRY(double* x, double* tmp, int32_t p, bool inverse, const ZqvDctFactors& f) noexcept {
  fastDct(x, tmp, p, inverse, f);
}
