// Module zqvdct: the orthonormal DCT-II of a real vector of any length and
// its inverse (DCT-III), in float, double and 16-bit precision. Powers of two
// from 2 on take a fast recursion; other lengths direct sums over a table of
// cosines. Both kinds of table are kept in the calling thread's context.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <utility>

#include "core/detail/zqvisa.h"
#include "core/zqvframe.h"
#include "transforms/detail/zqvdctfast.h"
#include "transforms/detail/zqvroots.h"

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
// DCT-II of length 2m, each formed in long double and rounded once; null
// when memory is short.
const double* oddFactors(int32_t q) noexcept {
  double*& slot = zqvFetchContext()->cache2.dctOddFactors[q];
  if (slot) return slot;
  const int64_t m = int64_t{1} << q;
  double* t = m <= INT32_MAX ? zqvdMalloc(static_cast<int32_t>(m)) : nullptr;
  if (!t) return nullptr;
  for (int64_t j = 0; j < m; ++j)
    t[j] = static_cast<double>(0.5L / zqvroots::cosExt(static_cast<double>(2 * j + 1) * kPi / static_cast<double>(4 * m)));
  slot = t;
  return t;
}

// cos(j pi / (2n)) for j < 4n, one full period, each rounded once from long
// double; null when memory is short.
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
  for (int64_t j = 0; j < count; ++j) t[j] = static_cast<double>(zqvroots::cosExt(static_cast<double>(j) * step));
  g.dctCos = t;
  g.dctCosCount = static_cast<int32_t>(count);
  return t;
}

// ---- Fast method, n = 2^p, unscaled -------------------------------------
// The odd factors of every half-length below n, fetched before any work.
bool fetchFactors(ZqvDctFactors& f, int32_t p) noexcept {
  for (int32_t q = 0; q < p; ++q)
    if (!(f.byOrder[q] = oddFactors(q))) return false;
  return true;
}

}  // namespace

// The recursion's baseline build; the 256- and 512-bit builds are compiled
// from the same body beside it.
#define ZQV_DCT_ENTRY zqvDctFast128
#include "transforms/detail/zqvdctkern.h"
#undef ZQV_DCT_ENTRY

namespace {

// The build for this processor, picked on the first call.
void runFastDct(double* x, double* tmp, int32_t p, bool inverse, const ZqvDctFactors& f) noexcept {
  using Fn = void (*)(double*, double*, int32_t, bool, const ZqvDctFactors&) noexcept;
  static const Fn chosen = [] {
    const int32_t bits = zqvCpuVectorBits();
    return bits >= 512 ? &zqvDctFast512 : bits >= 256 ? &zqvDctFast256 : &zqvDctFast128;
  }();
  chosen(x, tmp, p, inverse, f);
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
  ZqvDctFactors factors;
  const double* cs = nullptr;
  double* work = n <= INT32_MAX / 2 - kGap ? zqvdMalloc(2 * n + kGap) : nullptr;
  if (!work || (fast ? !fetchFactors(factors, std::ilogb(static_cast<double>(n))) : !(cs = cosines(n)))) {
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
    runFastDct(in, out, p, !forward, factors);
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
