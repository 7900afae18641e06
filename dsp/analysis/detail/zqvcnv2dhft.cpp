#include "analysis/detail/zqvcnv2dhft.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <type_traits>

#include "core/detail/zqvisa.h"

namespace zqvcnv2d {
namespace {

// Vector builds chosen on first use; the bodies are inlined into each build.

#define ZQV_AI __attribute__((always_inline)) inline

// The butterflies on whole rows of `lanes` values; distinct rows never
// overlap, which the restrict-qualified rows tell the compiler.
template <class T>
ZQV_AI void swapRows(T* __restrict p, T* __restrict q, int64_t lanes) noexcept {
  for (int64_t l = 0; l < lanes; ++l) std::swap(p[l], q[l]);
}
template <class T>
ZQV_AI void sumDiff(T* __restrict p, T* __restrict q, int64_t lanes) noexcept {
  for (int64_t l = 0; l < lanes; ++l) {
    const T a0 = p[l], a1 = q[l];
    p[l] = a0 + a1;
    q[l] = a0 - a1;
  }
}
template <class T>
ZQV_AI void groupOf4(T* __restrict p0, T* __restrict p1, T* __restrict p2, T* __restrict p3, int64_t lanes) noexcept {
  for (int64_t l = 0; l < lanes; ++l) {
    const T x0 = p0[l] + p1[l], x1 = p0[l] - p1[l];
    const T x2 = p2[l] + p3[l], x3 = p2[l] - p3[l];
    p0[l] = x0 + x2;
    p2[l] = x0 - x2;
    p1[l] = x1 + x3;
    p3[l] = x1 - x3;
  }
}
// (e1, e2, o1, o2) -> (e1 + t1, e2 + t2, e1 - t1, e2 - t2).
template <class T>
ZQV_AI void crossAdd(T& e1, T& e2, T& o1, T& o2, T t1, T t2) noexcept {
  const T a1 = e1, a2 = e2;
  e1 = a1 + t1;
  o1 = a1 - t1;
  e2 = a2 + t2;
  o2 = a2 - t2;
}
// One butterfly of a later stage on values, twiddle (c, s).
template <class T>
ZQV_AI void rotateValues(T& a1, T& a2, T& ok, T& om, T s, T c) noexcept {
  crossAdd(a1, a2, ok, om, c * ok + s * om, s * ok - c * om);
}
template <class T>
ZQV_AI void groupOf8Odd(T* __restrict e1p, T* __restrict e3p, T* __restrict o1p, T* __restrict o3p, T r,
                        int64_t lanes) noexcept {
  for (int64_t l = 0; l < lanes; ++l) crossAdd(e1p[l], e3p[l], o1p[l], o3p[l], r * (o1p[l] + o3p[l]), r * (o1p[l] - o3p[l]));
}
template <class T>
ZQV_AI void rotate(T* __restrict ek, T* __restrict em, T* __restrict okp, T* __restrict omp, T s, T c,
                   int64_t lanes) noexcept {
  for (int64_t l = 0; l < lanes; ++l) rotateValues(ek[l], em[l], okp[l], omp[l], s, c);
}

// Two later stages (m and 2m) over a block of 4m: the eight rows
// B + {k, m-k, m+k, 2m-k, 2m+k, 3m-k, 3m+k, 4m-k} meet only one another in
// both stages, so they go through both while held: each value gets the
// same operations in the same order as stage by stage.
template <class T>
ZQV_AI void twoStages(T* __restrict p0, T* __restrict p1, T* __restrict p2, T* __restrict p3, T* __restrict q0,
                      T* __restrict q1, T* __restrict q2, T* __restrict q3, T s1, T c1, T sk, T ck, T sj, T cj,
                      int64_t lanes) noexcept {
  for (int64_t l = 0; l < lanes; ++l) {
    T a0 = p0[l], a1 = p1[l], a2 = p2[l], a3 = p3[l], b0 = q0[l], b1 = q1[l], b2 = q2[l], b3 = q3[l];
    rotateValues(a0, a1, a2, a3, s1, c1);
    rotateValues(b0, b1, b2, b3, s1, c1);
    rotateValues(a0, a3, b0, b3, sk, ck);
    rotateValues(a1, a2, b1, b2, sj, cj);
    p0[l] = a0, p1[l] = a1, p2[l] = a2, p3[l] = a3, q0[l] = b0, q1[l] = b1, q2[l] = b2, q3[l] = b3;
  }
}
// The same for the rows B + {0, m, m/2, 3m/2, 2m, 3m, 5m/2, 7m/2}.
template <class T>
ZQV_AI void twoStagesFirst(T* __restrict p0, T* __restrict p1, T* __restrict p2, T* __restrict p3, T* __restrict q0,
                           T* __restrict q1, T* __restrict q2, T* __restrict q3, T sh, T ch, int64_t lanes) noexcept {
  for (int64_t l = 0; l < lanes; ++l) {
    const T a0 = p0[l], a1 = p1[l], a2 = p2[l], a3 = p3[l], b0 = q0[l], b1 = q1[l], b2 = q2[l], b3 = q3[l];
    // Stage m: (B, B+m), (B+m/2, B+3m/2) and the same in the second half.
    const T e0 = a0 + a1, f0 = a0 - a1, e1 = a2 + a3, f1 = a2 - a3;
    const T g0 = b0 + b1, h0 = b0 - b1, g1 = b2 + b3, h1 = b2 - b3;
    // Stage 2m: (B, B+2m), (B+m, B+3m), and bin m/2 with its partners.
    p0[l] = e0 + g0;
    q0[l] = e0 - g0;
    p1[l] = f0 + h0;
    q1[l] = f0 - h0;
    T x1 = e1, x2 = f1, xo = g1, xm = h1;
    rotateValues(x1, x2, xo, xm, sh, ch);
    p2[l] = x1, p3[l] = x2, q2[l] = xo, q3[l] = xm;
  }
}

template <class T>
ZQV_AI void lanesBody(T* a, int64_t lanes, int64_t stride, const HartleyView& t) noexcept {
  const int64_t n = t.n;
  if (n < 2) return;
  auto at = [&](int64_t i) { return a + i * stride; };
  for (int64_t i = 0; i < n; ++i) {
    const int64_t j = t.bitrev[i];
    if (i < j) swapRows(at(i), at(j), lanes);
  }
  if (n == 2) {
    sumDiff(at(0), at(1), lanes);
    return;
  }
  // Groups of four: every twiddle is 0 or +-1.
  for (int64_t i = 0; i < n; i += 4) groupOf4(at(i), at(i + 1), at(i + 2), at(i + 3), lanes);
  if (n == 4) return;
  // Groups of eight: the one odd twiddle is sqrt(2)/2.
  const T r = static_cast<T>(0.70710678118654752440);
  for (int64_t i = 0; i < n; i += 8) {
    sumDiff(at(i), at(i + 4), lanes);
    sumDiff(at(i + 2), at(i + 6), lanes);
    groupOf8Odd(at(i + 1), at(i + 3), at(i + 5), at(i + 7), r, lanes);
  }
  // Later stages join two transforms of m into one of 2m.
  const int64_t quarter = n / 4;
  int64_t m = 8;
  for (; 4 * m <= n; m *= 4) {
    const int64_t step = n / (2 * m), stepM = step / 2, half = m / 2;
    auto sinAt = [&](int64_t i) { return static_cast<T>(t.sines[i]); };
    for (int64_t b = 0; b < n; b += 4 * m) {
      twoStagesFirst(at(b), at(b + m), at(b + half), at(b + m + half), at(b + 2 * m), at(b + 3 * m),
                     at(b + 2 * m + half), at(b + 3 * m + half), sinAt(half * stepM), sinAt(quarter - half * stepM),
                     lanes);
      for (int64_t k = 1; k < half; ++k)
        twoStages(at(b + k), at(b + m - k), at(b + m + k), at(b + 2 * m - k), at(b + 2 * m + k), at(b + 3 * m - k),
                  at(b + 3 * m + k), at(b + 4 * m - k), sinAt(k * step), sinAt(quarter - k * step), sinAt(k * stepM),
                  sinAt(quarter - k * stepM), sinAt((m - k) * stepM), sinAt(quarter - (m - k) * stepM), lanes);
    }
  }
  for (; m < n; m *= 2) {
    const int64_t step = n / (2 * m), half = m / 2;
    for (int64_t base = 0; base < n; base += 2 * m) {
      sumDiff(at(base), at(base + m), lanes);
      sumDiff(at(base + half), at(base + m + half), lanes);
      for (int64_t k = 1; k < half; ++k) {
        const T s = static_cast<T>(t.sines[k * step]), c = static_cast<T>(t.sines[quarter - k * step]);
        rotate(at(base + k), at(base + m - k), at(base + m + k), at(base + 2 * m - k), s, c, lanes);
      }
    }
  }
}

template <class T>
ZQV_AI void productBody(T* x, const T* h, int64_t rows, int64_t cols) noexcept {
  const int64_t hc = cols / 2;
  for (int64_t k1 = 0; k1 <= rows / 2; ++k1) {
    const int64_t m1 = (rows - k1) & (rows - 1);
    T* const xp = x + k1 * cols;
    T* const xm = x + m1 * cols;
    const T* const hp = h + k1 * cols;
    const T* const hm = h + m1 * cols;
    const T half = static_cast<T>(0.5);
    // Bin k2 with its mirrors; its four results for the stores.
    auto bin = [&](int64_t k2, int64_t m2, T& o1, T& o2, T& o3, T& o4) {
      const T a = hp[k2], b = hm[k2], c = hp[m2], d = hm[m2];
      const T p = (a + b) + (c + d), q = (a + b) - (c + d), r = (a - b) + (c - d), s = (a - b) - (c - d);
      const T xpp = xp[k2], xmp = xm[k2], xpm = xp[m2], xmm = xm[m2];
      o1 = half * (p * xpp + q * xpm + r * xmp + s * xmm);
      o2 = half * (p * xmp + q * xmm - r * xpp - s * xpm);
      o3 = half * (p * xpm - q * xpp + r * xmm - s * xmp);
      o4 = half * (p * xmm - q * xmp - r * xpm + s * xpp);
    };
    // Mirror bins that coincide get equal values; the stores keep the order
    // xp[k2], xm[k2], xp[m2], xm[m2] where rows or bins coincide.
    auto one = [&](int64_t k2) {
      const int64_t m2 = (cols - k2) & (cols - 1);
      T o1, o2, o3, o4;
      bin(k2, m2, o1, o2, o3, o4);
      xp[k2] = o1;
      xm[k2] = o2;
      xp[m2] = o3;
      xm[m2] = o4;
    };
    one(0);
    // Bins 1 .. cols/2 - 1 and their mirrors touch distinct places: a run of
    // them is read whole before it is written.
    int64_t k2 = 1;
    auto runs = [&](auto size) {
      constexpr int64_t kRun = decltype(size)::value;
      for (; k2 + kRun <= hc; k2 += kRun) {
        T o1[kRun], o2[kRun], o3[kRun], o4[kRun];
        for (int64_t i = 0; i < kRun; ++i) bin(k2 + i, cols - k2 - i, o1[i], o2[i], o3[i], o4[i]);
        for (int64_t i = 0; i < kRun; ++i) xp[k2 + i] = o1[i];
        for (int64_t i = 0; i < kRun; ++i) xm[k2 + i] = o2[i];
        for (int64_t i = 0; i < kRun; ++i) xp[cols - k2 - i] = o3[i];
        for (int64_t i = 0; i < kRun; ++i) xm[cols - k2 - i] = o4[i];
      }
    };
    runs(std::integral_constant<int64_t, 16>{});
    runs(std::integral_constant<int64_t, 4>{});
    for (; k2 < hc; ++k2) one(k2);
    if (hc > 0) one(hc);
  }
}

// Square W x W pieces, W values to a 64-byte vector, are transposed in
// registers: round r exchanges the halves of each 2^(r+1) block between
// rows i and i + 2^r.
typedef float VecF __attribute__((vector_size(64)));
typedef double VecD __attribute__((vector_size(64)));
template <class T>
struct VecOf;
template <>
struct VecOf<float> {
  using type = VecF;
};
template <>
struct VecOf<double> {
  using type = VecD;
};
constexpr int lowPick(int r, int c, int n) { return (c >> r) & 1 ? n + c - (1 << r) : c; }
constexpr int highPick(int r, int c, int n) { return (c >> r) & 1 ? n + c : c + (1 << r); }
template <int R, class V, std::size_t... I>
ZQV_AI void exchangeHalves(V& a, V& b, std::index_sequence<I...>) noexcept {
  constexpr int n = sizeof...(I);
  const V lo = __builtin_shufflevector(a, b, lowPick(R, I, n)...);
  const V hi = __builtin_shufflevector(a, b, highPick(R, I, n)...);
  a = lo;
  b = hi;
}
template <int R, class V, int W>
ZQV_AI void transposeRound(V* v) noexcept {
  if constexpr ((1 << R) < W) {
    for (int i = 0; i < W; ++i)
      if (!((i >> R) & 1)) exchangeHalves<R>(v[i], v[i + (1 << R)], std::make_index_sequence<W>{});
    transposeRound<R + 1, V, W>(v);
  }
}
template <class T>
ZQV_AI void transposePiece(const T* src, int64_t srcStride, T* dst, int64_t dstStride) noexcept {
  using V = typename VecOf<T>::type;
  constexpr int kW = sizeof(V) / sizeof(T);
  V v[kW];
  for (int i = 0; i < kW; ++i) std::memcpy(&v[i], src + i * srcStride, sizeof(V));
  transposeRound<0, V, kW>(v);
  for (int i = 0; i < kW; ++i) std::memcpy(dst + i * dstStride, &v[i], sizeof(V));
}

// The exchange of a strip of `lanes` rows (row stride cols) with its
// columns: s[c * lanes + l] = a[l * cols + c], or back. Full strips go in
// square pieces held in vectors.
template <class T, bool kBack>
ZQV_AI void stripBody(T* a, int64_t cols, int64_t lanes, T* s) noexcept {
  constexpr int64_t kL = kStripRows, kW = 64 / sizeof(T);
  int64_t c0 = 0;
  if (lanes == kL)
    for (; c0 + kW <= cols; c0 += kW)
      for (int64_t l0 = 0; l0 < kL; l0 += kW) {
        if constexpr (kBack) transposePiece(s + c0 * kL + l0, kL, a + l0 * cols + c0, cols);
        else transposePiece(a + l0 * cols + c0, cols, s + c0 * kL + l0, kL);
      }
  for (int64_t l = 0; l < lanes; ++l)
    for (int64_t c = c0; c < cols; ++c) {
      if constexpr (kBack) a[l * cols + c] = s[c * lanes + l];
      else s[c * lanes + l] = a[l * cols + c];
    }
}

template <class T>
ZQV_AI void copyRowsBody(T* __restrict dst, int64_t dstStride, const T* __restrict src, int64_t srcStride,
                         int64_t rows, int64_t width) noexcept {
  for (int64_t r = 0; r < rows; ++r)
    for (int64_t c = 0; c < width; ++c) dst[r * dstStride + c] = src[r * srcStride + c];
}

template <class T>
ZQV_AI void addScaledBody(T* __restrict y, const T* __restrict w, int64_t n, T v) noexcept {
  // y is never -0 here, so adding +0 for a zero factor equals skipping it.
  for (int64_t c = 0; c < n; ++c) y[c] += w[c] != 0 ? v * w[c] : T{};
}

ZQV_KERNEL void lanesF(float* a, int64_t lanes, int64_t stride, const HartleyView& t) noexcept {
  lanesBody(a, lanes, stride, t);
}
ZQV_KERNEL void lanesD(double* a, int64_t lanes, int64_t stride, const HartleyView& t) noexcept {
  lanesBody(a, lanes, stride, t);
}
ZQV_KERNEL void productF(float* x, const float* h, int64_t rows, int64_t cols) noexcept {
  productBody(x, h, rows, cols);
}
ZQV_KERNEL void productD(double* x, const double* h, int64_t rows, int64_t cols) noexcept {
  productBody(x, h, rows, cols);
}
ZQV_KERNEL void addScaledF(float* y, const float* w, int64_t n, float v) noexcept { addScaledBody(y, w, n, v); }
ZQV_KERNEL void addScaledD(double* y, const double* w, int64_t n, double v) noexcept {
  addScaledBody(y, w, n, v);
}

ZQV_KERNEL void toStripF(float* a, int64_t cols, int64_t lanes, float* s) noexcept {
  stripBody<float, false>(a, cols, lanes, s);
}
ZQV_KERNEL void toStripD(double* a, int64_t cols, int64_t lanes, double* s) noexcept {
  stripBody<double, false>(a, cols, lanes, s);
}
ZQV_KERNEL void fromStripF(float* a, int64_t cols, int64_t lanes, float* s) noexcept {
  stripBody<float, true>(a, cols, lanes, s);
}
ZQV_KERNEL void fromStripD(double* a, int64_t cols, int64_t lanes, double* s) noexcept {
  stripBody<double, true>(a, cols, lanes, s);
}

ZQV_KERNEL void copyRowsF(float* d, int64_t ds, const float* s, int64_t ss, int64_t rows, int64_t w) noexcept {
  copyRowsBody(d, ds, s, ss, rows, w);
}
ZQV_KERNEL void copyRowsD(double* d, int64_t ds, const double* s, int64_t ss, int64_t rows, int64_t w) noexcept {
  copyRowsBody(d, ds, s, ss, rows, w);
}

}  // namespace

void copyRows(float* dst, int64_t dstStride, const float* src, int64_t srcStride, int64_t rows, int64_t width) noexcept {
  ZQV_RUN(copyRowsF)(dst, dstStride, src, srcStride, rows, width);
}
void copyRows(double* dst, int64_t dstStride, const double* src, int64_t srcStride, int64_t rows,
              int64_t width) noexcept {
  ZQV_RUN(copyRowsD)(dst, dstStride, src, srcStride, rows, width);
}
void toStrip(const float* a, int64_t cols, int64_t lanes, float* s) noexcept {
  ZQV_RUN(toStripF)(const_cast<float*>(a), cols, lanes, s);
}
void toStrip(const double* a, int64_t cols, int64_t lanes, double* s) noexcept {
  ZQV_RUN(toStripD)(const_cast<double*>(a), cols, lanes, s);
}
void fromStrip(float* a, int64_t cols, int64_t lanes, const float* s) noexcept {
  ZQV_RUN(fromStripF)(a, cols, lanes, const_cast<float*>(s));
}
void fromStrip(double* a, int64_t cols, int64_t lanes, const double* s) noexcept {
  ZQV_RUN(fromStripD)(a, cols, lanes, const_cast<double*>(s));
}
void hartleyLanes(float* a, int64_t lanes, int64_t stride, const HartleyView& t) noexcept { ZQV_RUN(lanesF)(a, lanes, stride, t); }
void hartleyLanes(double* a, int64_t lanes, int64_t stride, const HartleyView& t) noexcept {
  ZQV_RUN(lanesD)(a, lanes, stride, t);
}
void hartleyProduct(float* x, const float* h, int64_t rows, int64_t cols) noexcept { ZQV_RUN(productF)(x, h, rows, cols); }
void hartleyProduct(double* x, const double* h, int64_t rows, int64_t cols) noexcept { ZQV_RUN(productD)(x, h, rows, cols); }
void addScaledRow(float* y, const float* w, int64_t n, float v) noexcept { ZQV_RUN(addScaledF)(y, w, n, v); }
void addScaledRow(double* y, const double* w, int64_t n, double v) noexcept { ZQV_RUN(addScaledD)(y, w, n, v); }

}  // namespace zqvcnv2d
