// Module zqvdft: the discrete Fourier transform of any length for complex
// float and double vectors, as a direct sum over the cached twiddle list of
// the length.
#include <bit>
#include <climits>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "core/zqvframe.h"
#include "transforms/detail/zqvdftvec.h"
#include "transforms/detail/zqvfftint.h"

namespace {

constexpr const char* kModule = "zqvdft";

template <class C>
struct Dft;

// Float transforms sum in double, double ones in long double.
template <>
struct Dft<ZqvCplxS> {
  using T = float;
  using Acc = double;
  static ZqvCplxS* table(int32_t len) noexcept { return zqvcGetDftTwdTbl(len); }
  static ZqvCplxS* copy(int32_t len) noexcept { return zqvcMalloc(len); }
};

template <>
struct Dft<ZqvCplxD> {
  using T = double;
  using Acc = long double;
  static ZqvCplxD* table(int32_t len) noexcept { return zqvzGetDftTwdTbl(len); }
  static ZqvCplxD* copy(int32_t len) noexcept { return zqvzMalloc(len); }
};

// The float outputs 1 .. n-1 from the folded copy c with the sums run side
// by side in vectors (the same bits as the loop of directSum). False, with
// nothing written, when the processor has no such vectors or memory is short.
bool vectorSums(const ZqvCplxS* c, ZqvCplxS* y, int64_t n, bool fwd, const ZqvCplxS* tw, int64_t half) noexcept {
  const bool wide = zqvHasAvx512();
  if (!wide && !zqvHasAvx2()) return false;
  const bool even = n % 2 == 0;
  const int64_t oddTerms = even ? n / 2 : half;
  const int64_t room = zqvDftSumsRoom(n);
  const int64_t count = 4 * oddTerms + 4 * room;
  double* work = count <= INT32_MAX ? zqvdMalloc(static_cast<int32_t>(count)) : nullptr;
  if (!work) return false;
  double* pq = work;
  for (int64_t k = 1; k <= oddTerms; ++k) {
    double* e = pq + 4 * (k - 1);
    e[0] = c[k].re;
    e[1] = c[k].im;
    e[2] = c[n - k].re;
    e[3] = c[n - k].im;
  }
  // Outputs m and n - m share their twiddles up to the sign of the
  // imaginary part where the table is conjugate-symmetric (as built).
  bool paired = true;
  for (int64_t j = 1; paired && 2 * j < n; ++j)
    paired = std::bit_cast<uint32_t>(tw[n - j].re) == std::bit_cast<uint32_t>(tw[j].re) &&
             std::bit_cast<uint32_t>(tw[n - j].im) == std::bit_cast<uint32_t>(-tw[j].im);
  // k m mod n is never 0 or n/2 for an odd prime n.
  bool prime = n % 2 == 1;
  for (int64_t d = 3; prime && d * d <= n; d += 2) prime = n % d != 0;
  double* sums = work + 4 * oddTerms;
  const ZqvDftSums a{pq,           tw,   n,    half, oddTerms, paired ? n / 2 : n - 1, fwd, paired, !prime,
                     sums,         sums + room, sums + 2 * room, sums + 3 * room};
  if (wide) zqvDftSumsAvx512(a);
  else zqvDftSumsAvx2(a);
  for (int64_t m = 1; m < n; ++m) {
    const bool own = !paired || 2 * m <= n;
    const double re = own ? a.sr[m] : a.psr[n - m], im = own ? a.si[m] : a.psi[n - m];
    double outRe = 2 * re + c[0].re, outIm = 2 * im + c[0].im;
    if (even) {
      outRe += c[n / 2].re;
      outIm += c[n / 2].im;
    }
    y[m] = {static_cast<float>(outRe), static_cast<float>(outIm)};
  }
  zqvFree(work);
  return true;
}

// y = DFT of the n values in c (a work copy, folded in place): the pair
// (k, n - k) goes through one twiddle by the symmetry of cos and sin, which
// halves the products. The twiddle index k m mod n advances by addition.
template <class C>
void directSum(C* c, C* y, int64_t n, bool fwd, const C* tw) noexcept {
  using T = typename Dft<C>::T;
  using Acc = typename Dft<C>::Acc;
  Acc sr = 0, si = 0;
  for (int64_t k = 0; k < n; ++k) {
    sr += c[k].re;
    si += c[k].im;
  }
  y[0] = {static_cast<T>(sr), static_cast<T>(si)};
  const int64_t half = n % 2 ? (n - 1) / 2 : n / 2 - 1;
  for (int64_t k = 1; k <= half; ++k) {
    const C a = c[k], b = c[n - k];
    c[k] = {(a.re + b.re) * T(0.5), (a.im + b.im) * T(0.5)};
    c[n - k] = {(a.re - b.re) * T(0.5), (a.im - b.im) * T(0.5)};
  }
  const bool even = n % 2 == 0;
  if constexpr (std::is_same_v<C, ZqvCplxS>)
    if (vectorSums(c, y, n, fwd, tw, half)) return;
  for (int64_t m = 1; m < n; ++m) {
    // Odd m of an even length take the middle element as a last term.
    const int64_t terms = even && (m % 2) ? n / 2 : half;
    Acc re = 0, im = 0;
    int64_t j = 0;
    for (int64_t k = 1; k <= terms; ++k) {
      j += m;
      if (j >= n) j -= n;
      const Acc tr = tw[j].re, ti = tw[j].im;
      const C& p = c[k];
      const C& q = c[n - k];
      if (fwd) {
        re += p.re * tr - q.im * ti;
        im += p.im * tr + q.re * ti;
      } else {
        re += p.re * tr + q.im * ti;
        im += p.im * tr - q.re * ti;
      }
    }
    // c[0] and, for an even length, the middle element once more (the last
    // term of odd m took it twice with the sign of -1).
    Acc outRe = 2 * re + c[0].re, outIm = 2 * im + c[0].im;
    if (even) {
      outRe += c[n / 2].re;
      outIm += c[n / 2].im;
    }
    y[m] = {static_cast<T>(outRe), static_cast<T>(outIm)};
  }
}

template <class C>
void dft(ZqvSite site, const C* x, C* y, int32_t len, int32_t flags) noexcept {
  using T = typename Dft<C>::T;
  // The table comes first, so ZQV_Init or any valid call builds it. Under a
  // status left negative the getter refuses, and the missing table is
  // reported like any other before the call gives up.
  const C* tw = Dft<C>::table(len);
  if (zqvCheckAll(site, {ZQV_CHECK(len <= 0, "len<=0"), ZQV_CHECK(tw == nullptr, "tw==0")}) ||
      zqvStatusNegative() || (flags & ZQV_Init))
    return;
  if (zqvCheckFirst(site, {ZQV_CHECK(x == nullptr, "x==0"), ZQV_CHECK(y == nullptr, "y==0"),
                           ZQV_CHECK(((flags & ZQV_Forw) != 0) == ((flags & ZQV_Inv) != 0),
                                     "ZQV_Forw or ZQV_Inv must be as a flag")}))
    return;
  // All rearranging happens in a copy, so x may be y.
  C* c = Dft<C>::copy(len);
  if (!c) {
    zqvError(ZQV_OUT_OF_MEMORY, site.func, "No working memory", site.module, __LINE__);
    return;
  }
  std::memcpy(c, x, static_cast<std::size_t>(len) * sizeof(C));
  directSum(c, y, len, (flags & ZQV_Forw) != 0, tw);
  zqvFree(c);
  if ((flags & ZQV_Inv) && !(flags & ZQV_NoScale)) {
    const T scale = T(1) / static_cast<T>(len);
    for (int64_t m = 0; m < len; ++m) y[m] = {y[m].re * scale, y[m].im * scale};
  }
}

}  // namespace

ZQVAPI void zqvcDft(const ZqvCplxS* x, ZqvCplxS* y, int32_t len, int32_t flags) noexcept {
  dft({"zqvcDft", kModule}, x, y, len, flags);
}

ZQVAPI void zqvzDft(const ZqvCplxD* x, ZqvCplxD* y, int32_t len, int32_t flags) noexcept {
  dft({"zqvzDft", kModule}, x, y, len, flags);
}
