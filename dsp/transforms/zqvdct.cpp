// Module zqvdct: the orthonormal DCT-II of a real vector of any length and
// its inverse (DCT-III), in float, double and 16-bit precision. Powers of two
// from 2 on take a fast recursion; other lengths direct sums over a table of
// cosines. Both kinds of table are kept in the calling thread's context.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>

#include "core/zqvframe.h"

namespace {

constexpr const char* kModule = "zqvdct";
constexpr int32_t kForward = 1, kInverse = 2, kRelease = 8;
constexpr double kSqrt2 = 1.4142135623730951;
constexpr double kPi = 3.141592653589793;
// Doubles between the two halves of the work block: at a power-of-two
// distance the passes between them would store and load at addresses equal
// modulo 4096, which processors take for a conflict and stall on.
constexpr int32_t kGap = 24;

constexpr const char* kNullMessage = "\nNull pointer to data buffer\n";
constexpr const char* kSizeMessage = "\nBad value of data buffer size\n";
constexpr const char* kFlagMessage = "\nBad value of the transform flag\n";
constexpr const char* kMemoryMessage = "\nMemory allocation problem\n";

// The source lines the reports carry, as the library's table of DCT reports
// gives them (the float and double routines share theirs).
struct DctLines {
  int32_t nullPointer, size, flag, memory;
};
constexpr DctLines kFloatLines{117, 117, 120, 120};
constexpr DctLines kWordLines{146, 147, 148, 162};

void releaseTables() noexcept {
  ZqvCacheGroup2& g = zqvFetchContext()->cache2;
  for (double*& t : g.dctOddFactors) {
    zqvFree(t);
    t = nullptr;
  }
  zqvFree(g.dctCos);
  g.dctCos = nullptr;
  g.dctCosCount = 0;
}

// The factors 0.5 / cos((2j + 1) pi / (4m)), j < m, of the odd half of a
// DCT-II of length 2m; null when memory is short.
const double* oddFactors(int32_t q) noexcept {
  double*& slot = zqvFetchContext()->cache2.dctOddFactors[q];
  if (slot) return slot;
  const int64_t m = int64_t{1} << q;
  double* t = m <= INT32_MAX ? zqvdMalloc(static_cast<int32_t>(m)) : nullptr;
  if (!t) return nullptr;
  for (int64_t j = 0; j < m; ++j) t[j] = 0.5 / std::cos(static_cast<double>(2 * j + 1) * kPi / static_cast<double>(4 * m));
  slot = t;
  return t;
}

// cos(j pi / (2n)) for j < 4n, one full period; null when memory is short.
const double* cosines(int64_t n) noexcept {
  ZqvCacheGroup2& g = zqvFetchContext()->cache2;
  const int64_t count = 4 * n;
  if (g.dctCos && g.dctCosCount == count) return g.dctCos;
  zqvFree(g.dctCos);
  g.dctCos = nullptr;
  g.dctCosCount = 0;
  double* t = count <= INT32_MAX ? zqvdMalloc(static_cast<int32_t>(count)) : nullptr;
  if (!t) return nullptr;
  const double step = kPi / static_cast<double>(2 * n);
  for (int64_t j = 0; j < count; ++j) t[j] = std::cos(static_cast<double>(j) * step);
  g.dctCos = t;
  g.dctCosCount = static_cast<int32_t>(count);
  return t;
}

// ---- Fast method, n = 2^p, unscaled -------------------------------------
// The odd factors of every half-length below n, fetched before any work.
struct Factors {
  const double* byOrder[32] = {};
  bool fetch(int32_t p) noexcept {
    for (int32_t q = 0; q < p; ++q)
      if (!(byOrder[q] = oddFactors(q))) return false;
    return true;
  }
};

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

// The passes of the larger orders come as 512-bit and 256-bit builds chosen
// at load time; element by element without contraction, so every build
// gives the same bits.
#define ZQV_DCT_CLONES __attribute__((target_clones("avx512f", "avx2", "default")))
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
ZQV_DCT_CLONES void dct2(double* __restrict x, double* __restrict tmp, int32_t p, const Factors& f) noexcept {
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
ZQV_DCT_CLONES void dct3(double* __restrict X, double* __restrict tmp, int32_t p, const Factors& f) noexcept {
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

ZQV_DCT_CLONES void down2(double* __restrict x, double* __restrict tmp, int32_t p, const Factors& f) noexcept {
  if (p == kLeafOrder) return;
  const int64_t n = int64_t{1} << p, m = n / 2;
  split2(x, tmp, n, f.byOrder[p - 1]);
  down2(tmp, x, p - 1, f);
  down2(tmp + m, x + m, p - 1, f);
}

ZQV_DCT_CLONES void up2(double* __restrict x, double* __restrict tmp, int32_t p) noexcept {
  if (p == kLeafOrder) return;
  const int64_t n = int64_t{1} << p, m = n / 2;
  up2(tmp, x, p - 1);
  up2(tmp + m, x + m, p - 1);
  merge2(x, tmp, n);
}

ZQV_DCT_CLONES void down3(double* __restrict X, double* __restrict tmp, int32_t p, const Factors& f) noexcept {
  if (p == kLeafOrder) return;
  const int64_t n = int64_t{1} << p, m = n / 2;
  split3(X, tmp, n, f.byOrder[p - 1]);
  down3(tmp, X, p - 1, f);
  down2(tmp + m, X + m, p - 1, f);
}

ZQV_DCT_CLONES void up3(double* __restrict X, double* __restrict tmp, int32_t p) noexcept {
  if (p == kLeafOrder) return;
  const int64_t n = int64_t{1} << p, m = n / 2;
  up3(tmp, X, p - 1);
  up2(tmp + m, X + m, p - 1);
  merge3(X, tmp, n);
}

// dct2 on `width` transforms at once, value j of transform b at v[j width + b].
ZQV_DCT_CLONES void dct2Rows(double* __restrict v, double* __restrict s, int32_t p, int64_t width, const Factors& f) noexcept {
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

// ---- Direct method, any n, sums in long double ------------------------------

// X[k] for k >= 1 from the folded input: differences for odd k, sums (and
// the middle sample of an odd length) for even k; the cosine index k(2i+1)
// mod 4n advances by 2k.
void directForward(const double* w, double* X, int64_t n, const double* cs) noexcept {
  const int64_t period = 4 * n, half = n / 2;
  long double sum0 = 0;
  for (int64_t i = 0; i < n; ++i) sum0 += w[i];
  X[0] = static_cast<double>(sum0);
  for (int64_t k = 1; k < n; ++k) {
    const bool odd = k % 2;
    long double s = 0;
    if (!odd && n % 2) s = (k % 4 == 0) ? w[half] : -static_cast<long double>(w[half]);
    int64_t idx = k;
    for (int64_t i = 0; i < half; ++i) {
      const long double v = odd ? static_cast<long double>(w[i]) - w[n - 1 - i] : static_cast<long double>(w[i]) + w[n - 1 - i];
      s += v * cs[idx];
      idx += 2 * k;
      if (idx >= period) idx -= period;
    }
    X[k] = static_cast<double>(s);
  }
}

// x[i] and its mirror x[n-1-i] from the scaled coefficients: the mirror's
// cosines flip the sign of every odd-k term.
void directInverse(const double* w, double* x, int64_t n, const double* cs) noexcept {
  const int64_t period = 4 * n;
  if (n % 2) {
    long double mid = 0;
    for (int64_t k = 0; k < n; k += 2) mid += (k % 4 == 0) ? w[k] : -static_cast<long double>(w[k]);
    x[n / 2] = static_cast<double>(mid);
  }
  for (int64_t i = 0; i < n / 2; ++i) {
    const int64_t step = 2 * i + 1;
    long double lo = w[0], hi = w[0];
    int64_t idx = 0;
    for (int64_t k = 1; k < n; ++k) {
      idx += step;
      if (idx >= period) idx -= period;
      const long double term = w[k] * static_cast<long double>(cs[idx]);
      lo += term;
      hi += (k % 2) ? -term : term;
    }
    x[i] = static_cast<double>(lo);
    x[n - 1 - i] = static_cast<double>(hi);
  }
}

// The transform of n values of T: the work block holds the source as doubles
// and the scratch; the orthonormal factors are applied in one pass.
template <class T>
void dct(ZqvSite site, const DctLines& lines, const T* src, T* dst, int32_t n, int32_t flags) noexcept {
  if (flags == kRelease) {
    releaseTables();
    return;
  }
  if (zqvCheckFirst(site, {ZqvCheck{src == nullptr || dst == nullptr, kNullMessage, lines.nullPointer},
                           ZqvCheck{n < 1, kSizeMessage, lines.size},
                           ZqvCheck{((flags & kForward) != 0) == ((flags & kInverse) != 0), kFlagMessage, lines.flag}}))
    return;
  const bool forward = flags & kForward;
  const bool fast = n >= 2 && (n & (n - 1)) == 0;
  const double s0 = 1.0 / std::sqrt(static_cast<double>(n)), s1 = kSqrt2 * s0;
  Factors factors;
  const double* cs = nullptr;
  double* work = n <= INT32_MAX / 2 - kGap ? zqvdMalloc(2 * n + kGap) : nullptr;
  if (!work || (fast ? !factors.fetch(std::ilogb(static_cast<double>(n))) : !(cs = cosines(n)))) {
    zqvFree(work);
    zqvError(ZQV_OUT_OF_MEMORY, site.func, kMemoryMessage, site.module, lines.memory);
    return;
  }
  double* const in = work;
  double* const out = work + n + kGap;
  // The whole source is read before dst (which may be src) is written; the
  // inverse scales its coefficients as they come in, the forward its
  // outputs as they go out.
  if (forward) {
    for (int32_t i = 0; i < n; ++i) in[i] = src[i];
  } else {
    in[0] = static_cast<double>(src[0]) * s0;
    for (int32_t k = 1; k < n; ++k) in[k] = static_cast<double>(src[k]) * s1;
  }
  const double* result = out;
  if (fast) {
    const int32_t p = std::ilogb(static_cast<double>(n));
    fastDct(in, out, p, !forward, factors);
    result = in;
  } else if (forward) {
    directForward(in, out, n, cs);
  } else {
    directInverse(in, out, n, cs);
  }
  if (forward) {
    dst[0] = static_cast<T>(result[0] * s0);
    for (int32_t k = 1; k < n; ++k) dst[k] = static_cast<T>(result[k] * s1);
  } else {
    for (int32_t i = 0; i < n; ++i) dst[i] = static_cast<T>(result[i]);
  }
  zqvFree(work);
}

}  // namespace

ZQVAPI void zqvsDct(const float* src, float* dst, int32_t n, int32_t flags) noexcept {
  dct({"zqvsDct", kModule}, kFloatLines, src, dst, n, flags);
}

ZQVAPI void zqvdDct(const double* src, double* dst, int32_t n, int32_t flags) noexcept {
  dct({"zqvdDct", kModule}, kFloatLines, src, dst, n, flags);
}

// Through the float transform: converted in, transformed, rounded to nearest
// and saturated back. A failed float transform leaves dst as it was.
ZQVAPI void zqvwDct(const int16_t* src, int16_t* dst, int32_t n, int32_t flags) noexcept {
  const ZqvSite site{"zqvwDct", kModule};
  if (flags == kRelease) {
    releaseTables();
    return;
  }
  if (zqvCheckFirst(site, {ZqvCheck{src == nullptr || dst == nullptr, kNullMessage, kWordLines.nullPointer},
                           ZqvCheck{n < 1, kSizeMessage, kWordLines.size},
                           ZqvCheck{((flags & kForward) != 0) == ((flags & kInverse) != 0), kFlagMessage,
                                    kWordLines.flag}}))
    return;
  float* work = n <= INT32_MAX / 2 ? zqvsMalloc(2 * n) : nullptr;
  if (!work) {
    zqvError(ZQV_OUT_OF_MEMORY, site.func, kMemoryMessage, site.module, kWordLines.memory);
    return;
  }
  zqvsbIntToFloat(src, work, n, 16, 0);
  zqvsDct(work, work + n, n, flags);
  if (zqvGetErrStatus() >= 0) zqvsbFloatToInt(work + n, dst, n, 16, ZQV_CVT_ROUND_NEAR | ZQV_CVT_SATURATE);
  zqvFree(work);
}
