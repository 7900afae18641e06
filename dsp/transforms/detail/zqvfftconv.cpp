// The cost model and support passes of FFT-based convolution (see the
// header for the layouts). The passes pair element k with element M - k and
// touch each pair once.
#include "transforms/detail/zqvfftconv.h"

#include <cstddef>
#include <type_traits>

namespace {

// The cost constants are single-precision values; sums are formed in long
// double.
constexpr float kFftUnit = 24.0f;
constexpr float kPassBase = 8.0f;
constexpr float kSplitPair = 40.0f;
constexpr float kMergePair = 36.0f;
constexpr float kLinearUnit = 8.0f;
constexpr float kDirectBase = 3.0f;

template <class T>
using Cplx = std::conditional_t<std::is_same_v<T, float>, ZqvCplxS, ZqvCplxD>;

template <class T>
const Cplx<T>* fftTwiddles(int32_t order) noexcept {
  if constexpr (std::is_same_v<T, float>) return zqvcGetFftTwdTbl(order);
  else return zqvzGetFftTwdTbl(order);
}

// Where X[k] of a row of 2^order elements sits: k, or bitrev(k) for
// bit-reversed rows (rev then holds the bit-reverse table of the order).
struct Positions {
  const int32_t* rev = nullptr;
  std::size_t operator()(std::size_t k) const noexcept { return rev ? static_cast<std::size_t>(rev[k]) : k; }
};

// The tables one pass over rows of 2^order needs; false when one cannot be had
// (the getter has reported it).
template <class T>
bool passTables(int32_t order, bool bitRev, const Cplx<T>*& tw, Positions& at) noexcept {
  tw = fftTwiddles<T>(order + 1);
  if (!tw) return false;
  if (bitRev) at.rev = zqvGetBitRevTbl(order);
  return !bitRev || at.rev;
}

// Twiddle k of the table of order m + 1 (2M entries), or its conjugate.
template <class C>
C twiddle(const C* tw, std::size_t k, std::size_t m, bool conj) noexcept {
  return conj ? tw[2 * m - k] : tw[k];
}

// Calls pair(i(k), j(k), k) for k = 1 .. M/2 - 1 (M = 2^order >= 2), each
// pair once; false when a table cannot be had. In bit-reversed order the
// slots [h, 2h) (h = 2^(n-1), n = 2 .. order) hold the frequencies 2^(order-n)
// times an odd number; slot p pairs with 3h - 1 - p, and of the two the even
// slot holds k < M/2. Walking those ranges keeps both ends of a pair close
// in memory, which the table order does not.
template <class Pair>
bool forEachPair(int32_t order, bool bitRev, Pair pair) noexcept {
  const std::size_t m = std::size_t{1} << order;
  if (!bitRev) {
    for (std::size_t k = 1; k < m / 2; ++k) pair(k, m - k, k);
    return true;
  }
  const int32_t* rev = zqvGetBitRevTbl(order);
  if (!rev) return false;
  for (std::size_t h = 2; h < m; h *= 2)
    for (std::size_t p = h; p < 2 * h; p += 2) pair(p, 3 * h - 1 - p, static_cast<std::size_t>(rev[p]));
  return true;
}

template <class T>
void realSplit(Cplx<T>* d, int32_t order, int32_t flags) noexcept {
  const T re = d[0].re, im = d[0].im;
  d[0] = {re + im, re - im};
  if (order < 1) return;
  const std::size_t m = std::size_t{1} << order;
  const bool conj = flags & ZQV_Inv, bitRev = flags & ZQV_OutBitRev;
  const Cplx<T>* tw = fftTwiddles<T>(order + 1);
  if (!tw) return;
  const T h = T(0.5);
  const bool walked = forEachPair(order, bitRev, [&](std::size_t i, std::size_t j, std::size_t k) {
    Cplx<T>& a = d[i];
    Cplx<T>& b = d[j];
    const T er = (a.re + b.re) * h, ei = (a.im - b.im) * h, orr = (a.re - b.re) * h, oi = (a.im + b.im) * h;
    const Cplx<T> w = twiddle(tw, k, m, conj);
    const T u = -w.im * orr - w.re * oi, v = w.re * orr - w.im * oi;
    a = {er - u, ei - v};
    b = {er + u, -ei - v};
  });
  if (!walked) return;
  Cplx<T>& mid = d[bitRev ? 1 : m / 2];
  if (!conj) mid.im = -mid.im;
}

template <class T>
void ccsMerge(Cplx<T>* d, int32_t order, int32_t flags) noexcept {
  const T re = d[0].re, im = d[0].im;
  d[0] = {re + im, re - im};
  if (order < 1) return;
  const std::size_t m = std::size_t{1} << order;
  const bool conj = flags & ZQV_Inv, bitRev = flags & ZQV_InBitRev;
  const Cplx<T>* tw = fftTwiddles<T>(order + 1);
  if (!tw) return;
  const bool walked = forEachPair(order, bitRev, [&](std::size_t i, std::size_t j, std::size_t k) {
    Cplx<T>& a = d[i];
    Cplx<T>& b = d[j];
    const Cplx<T> w = twiddle(tw, k, m, conj);
    const T p = a.re - b.re, q = a.im + b.im, sum = a.re + b.re, diff = a.im - b.im;
    const T w1 = -w.im * p - w.re * q, w2 = w.re * p - w.im * q;
    a = {sum + w1, diff + w2};
    b = {sum - w1, w2 - diff};
  });
  if (!walked) return;
  Cplx<T>& mid = d[bitRev ? 1 : m / 2];
  mid = {mid.re * T(2), mid.im * T(2)};
  if (conj) mid.im = -mid.im;
}

// The walk both two-dimensional passes share: rows 0 and R/2 (row 1 when
// bit-reversed) by the one-dimensional pass, then each pair of rows (r, R - r)
// with its first elements and each column pair (k, M - k) with twiddle k.
template <class T, class RowPass, class Firsts, class Pair>
void pass2d(T* data, int32_t rowOrder, int32_t colOrder, int32_t flags, int32_t stride, bool bitRev, RowPass rowPass,
            Firsts firsts, Pair pair) noexcept {
  Cplx<T>* const base = reinterpret_cast<Cplx<T>*>(data);
  auto row = [&](std::size_t r) { return base + r * static_cast<std::size_t>(stride); };
  rowPass(row(0), colOrder, flags);
  if (rowOrder < 1) return;
  const std::size_t rows = std::size_t{1} << rowOrder, m = std::size_t{1} << colOrder;
  rowPass(row(bitRev ? 1 : rows / 2), colOrder, flags);
  const bool conj = flags & ZQV_Inv;
  const Cplx<T>* tw;
  Positions col, rowAt;
  if (!passTables<T>(colOrder, bitRev, tw, col)) return;
  if (bitRev && !(rowAt.rev = zqvGetBitRevTbl(rowOrder))) return;
  for (std::size_t r = 1; r < rows / 2; ++r) {
    Cplx<T>* const p = row(rowAt(r));
    Cplx<T>* const q = row(rowAt(rows - r));
    firsts(p[0], q[0]);
    for (std::size_t k = 1; k < m; ++k) pair(p[col(k)], q[col(m - k)], twiddle(tw, k, m, conj));
  }
}

template <class T>
void realSplit2d(T* data, int32_t rowOrder, int32_t colOrder, int32_t flags, int32_t stride) noexcept {
  using C = Cplx<T>;
  const T h = T(0.5);
  pass2d(data, rowOrder, colOrder, flags, stride, flags & ZQV_OutBitRev, realSplit<T>,
         [h](C& p, C& q) {
           const C a = p, b = q;
           p = {(a.re + b.re) * h + (a.im + b.im) * h, (a.im - b.im) * h - (a.re - b.re) * h};
           q = {(a.re + b.re) * h - (a.im + b.im) * h, (a.im - b.im) * h + (a.re - b.re) * h};
         },
         [h](C& x, C& y, C w) {
           const T er = (x.re + y.re) * h, ei = (x.im - y.im) * h, orr = (x.re - y.re) * h, oi = (x.im + y.im) * h;
           const T u = -w.im * orr - w.re * oi, v = w.re * orr - w.im * oi;
           x = {er - u, ei - v};
           y = {er + u, ei + v};
         });
}

template <class T>
void ccsMerge2d(T* data, int32_t rowOrder, int32_t colOrder, int32_t flags, int32_t stride) noexcept {
  using C = Cplx<T>;
  pass2d(data, rowOrder, colOrder, flags, stride, flags & ZQV_InBitRev, ccsMerge<T>,
         [](C& p, C& q) {
           const C a = p, b = q;
           p = {a.re + b.re - (a.im - b.im), a.im + b.im + (a.re - b.re)};
           q = {a.re + b.re + (a.im - b.im), a.re - b.re - (a.im + b.im)};
         },
         [](C& x, C& y, C w) {
           const T pr = x.re - y.re, pi = x.im - y.im, sum = x.re + y.re, sumIm = x.im + y.im;
           const T w1 = -w.im * pr - w.re * pi, w2 = w.re * pr - w.im * pi;
           x = {sum + w1, sumIm + w2};
           y = {sum - w1, w2 - sumIm};
         });
}

template <class T>
void mpyPermSpec(const T* src, T* dst, int32_t order) noexcept {
  const std::size_t n = std::size_t{1} << order;
  dst[0] = dst[0] * src[0];
  dst[1] = dst[1] * src[1];
  for (std::size_t i = 2; i + 1 < n; i += 2) {
    const T dr = dst[i], di = dst[i + 1];
    dst[i] = dr * src[i] - di * src[i + 1];
    dst[i + 1] = src[i + 1] * dr + src[i] * di;
  }
}

double cost(long double value) noexcept { return static_cast<double>(value); }

}  // namespace

int32_t zqvIntLog2(int32_t n) noexcept {
  int32_t log = 0;
  for (; n > 1; n >>= 1) ++log;
  return log;
}

int32_t zqvNextPow2(int32_t n) noexcept {
  if (n > (int32_t{1} << 30)) return 0;
  int32_t p = 1;
  while (p < n) p *= 2;
  return p;
}

int32_t zqvFftConvLen(int32_t n) noexcept {
  return n > (int32_t{1} << 29) ? 0 : 2 * zqvNextPow2(n);
}

// The product of the order and the length needs 64 bits.
double zqvCostFft(int32_t n) noexcept {
  const int64_t units = static_cast<int64_t>(zqvIntLog2(n)) * n / 2;
  return cost(static_cast<long double>(units) * kFftUnit);
}

double zqvCostRealSplit(int32_t n) noexcept {
  return n == 1 ? cost(kPassBase) : cost(kPassBase + static_cast<long double>(n / 2 - 1) * kSplitPair);
}

double zqvCostCcsMerge(int32_t n) noexcept {
  return n == 1 ? cost(kPassBase) : cost(kPassBase + static_cast<long double>(n / 2 - 1) * kMergePair);
}

double zqvCostLinear(int32_t n) noexcept { return cost(static_cast<long double>(n) * kLinearUnit); }

double zqvCostDirect(int32_t n) noexcept {
  if (n <= 1) return cost(kDirectBase);
  return cost(kDirectBase + static_cast<long double>(7 * (static_cast<int64_t>(n) - 2) + 3));
}

void zqvcRealFftSplit(ZqvCplxS* data, int32_t order, int32_t flags) noexcept { realSplit<float>(data, order, flags); }
void zqvzRealFftSplit(ZqvCplxD* data, int32_t order, int32_t flags) noexcept { realSplit<double>(data, order, flags); }
void zqvcCcsFftMerge(ZqvCplxS* data, int32_t order, int32_t flags) noexcept { ccsMerge<float>(data, order, flags); }
void zqvzCcsFftMerge(ZqvCplxD* data, int32_t order, int32_t flags) noexcept { ccsMerge<double>(data, order, flags); }

void zqvsRealFft2dSplit(float* data, int32_t rowOrder, int32_t colOrder, int32_t flags, int32_t stride) noexcept {
  realSplit2d(data, rowOrder, colOrder, flags, stride);
}
void zqvdRealFft2dSplit(double* data, int32_t rowOrder, int32_t colOrder, int32_t flags, int32_t stride) noexcept {
  realSplit2d(data, rowOrder, colOrder, flags, stride);
}
void zqvsCcsFft2dMerge(float* data, int32_t rowOrder, int32_t colOrder, int32_t flags, int32_t stride) noexcept {
  ccsMerge2d(data, rowOrder, colOrder, flags, stride);
}
void zqvdCcsFft2dMerge(double* data, int32_t rowOrder, int32_t colOrder, int32_t flags, int32_t stride) noexcept {
  ccsMerge2d(data, rowOrder, colOrder, flags, stride);
}

void zqvsMpyPermSpec(const float* src, float* dst, int32_t order) noexcept { mpyPermSpec(src, dst, order); }
void zqvdMpyPermSpec(const double* src, double* dst, int32_t order) noexcept { mpyPermSpec(src, dst, order); }
