#include "analysis/detail/zqvcnv2dhft.h"

#include <algorithm>

namespace zqvcnv2d {
namespace {

// Vector builds chosen at load time; the bodies are inlined into each build.
// (Kept local: clones of an outside name
// would be exported whatever its visibility.)
#define ZQV_CNV2D_CLONES __attribute__((target_clones("avx512f", "avx2", "default")))

template <class T>
__attribute__((always_inline)) inline void lanesBody(T* a, int64_t lanes, int64_t stride, const HartleyView& t) noexcept {
  const int64_t n = t.n;
  if (n < 2) return;
  auto at = [&](int64_t i) { return a + i * stride; };
  for (int64_t i = 0; i < n; ++i) {
    const int64_t j = t.bitrev[i];
    if (i < j) {
      T* const p = at(i);
      T* const q = at(j);
      for (int64_t l = 0; l < lanes; ++l) std::swap(p[l], q[l]);
    }
  }
  if (n == 2) {
    T* const p = at(0);
    T* const q = at(1);
    for (int64_t l = 0; l < lanes; ++l) {
      const T a0 = p[l], a1 = q[l];
      p[l] = a0 + a1;
      q[l] = a0 - a1;
    }
    return;
  }
  // Groups of four: every twiddle is 0 or +-1.
  for (int64_t i = 0; i < n; i += 4) {
    T* const p0 = at(i);
    T* const p1 = at(i + 1);
    T* const p2 = at(i + 2);
    T* const p3 = at(i + 3);
    for (int64_t l = 0; l < lanes; ++l) {
      const T x0 = p0[l] + p1[l], x1 = p0[l] - p1[l];
      const T x2 = p2[l] + p3[l], x3 = p2[l] - p3[l];
      p0[l] = x0 + x2;
      p2[l] = x0 - x2;
      p1[l] = x1 + x3;
      p3[l] = x1 - x3;
    }
  }
  if (n == 4) return;
  // Groups of eight: the one odd twiddle is sqrt(2)/2.
  const T r = static_cast<T>(0.70710678118654752440);
  for (int64_t i = 0; i < n; i += 8) {
    T* const e0p = at(i);
    T* const e1p = at(i + 1);
    T* const e2p = at(i + 2);
    T* const e3p = at(i + 3);
    T* const o0p = at(i + 4);
    T* const o1p = at(i + 5);
    T* const o2p = at(i + 6);
    T* const o3p = at(i + 7);
    for (int64_t l = 0; l < lanes; ++l) {
      const T e0 = e0p[l], o0 = o0p[l], e2 = e2p[l], o2 = o2p[l];
      e0p[l] = e0 + o0;
      o0p[l] = e0 - o0;
      e2p[l] = e2 + o2;
      o2p[l] = e2 - o2;
      const T t1 = r * (o1p[l] + o3p[l]), t2 = r * (o1p[l] - o3p[l]);
      const T e1 = e1p[l], e3 = e3p[l];
      e1p[l] = e1 + t1;
      o1p[l] = e1 - t1;
      e3p[l] = e3 + t2;
      o3p[l] = e3 - t2;
    }
  }
  // Later stages join two transforms of m into one of 2m.
  const int64_t quarter = n / 4;
  for (int64_t m = 8; m < n; m *= 2) {
    const int64_t step = n / (2 * m), half = m / 2;
    for (int64_t base = 0; base < n; base += 2 * m) {
      {
        T* const e = at(base);
        T* const o = at(base + m);
        T* const eh = at(base + half);
        T* const oh = at(base + m + half);
        for (int64_t l = 0; l < lanes; ++l) {
          const T e0 = e[l], o0 = o[l], e1 = eh[l], o1 = oh[l];
          e[l] = e0 + o0;
          o[l] = e0 - o0;
          eh[l] = e1 + o1;
          oh[l] = e1 - o1;
        }
      }
      for (int64_t k = 1; k < half; ++k) {
        const T s = static_cast<T>(t.sines[k * step]), c = static_cast<T>(t.sines[quarter - k * step]);
        T* const ek = at(base + k);
        T* const em = at(base + m - k);
        T* const okp = at(base + m + k);
        T* const omp = at(base + 2 * m - k);
        for (int64_t l = 0; l < lanes; ++l) {
          const T ok = okp[l], om = omp[l];
          const T t1 = c * ok + s * om, t2 = s * ok - c * om;
          const T a1 = ek[l], a2 = em[l];
          ek[l] = a1 + t1;
          okp[l] = a1 - t1;
          em[l] = a2 + t2;
          omp[l] = a2 - t2;
        }
      }
    }
  }
}

template <class T>
__attribute__((always_inline)) inline void productBody(T* x, const T* h, int64_t rows, int64_t cols) noexcept {
  for (int64_t k1 = 0; k1 <= rows / 2; ++k1) {
    const int64_t m1 = (rows - k1) & (rows - 1);
    T* const xp = x + k1 * cols;
    T* const xm = x + m1 * cols;
    const T* const hp = h + k1 * cols;
    const T* const hm = h + m1 * cols;
    for (int64_t k2 = 0; k2 <= cols / 2; ++k2) {
      const int64_t m2 = (cols - k2) & (cols - 1);
      const T a = hp[k2], b = hm[k2], c = hp[m2], d = hm[m2];
      const T p = (a + b) + (c + d), q = (a + b) - (c + d), r = (a - b) + (c - d), s = (a - b) - (c - d);
      const T xpp = xp[k2], xmp = xm[k2], xpm = xp[m2], xmm = xm[m2];
      const T half = static_cast<T>(0.5);
      // Mirror bins that coincide get equal values, so the order of the stores is free.
      xp[k2] = half * (p * xpp + q * xpm + r * xmp + s * xmm);
      xm[k2] = half * (p * xmp + q * xmm - r * xpp - s * xpm);
      xp[m2] = half * (p * xpm - q * xpp + r * xmm - s * xmp);
      xm[m2] = half * (p * xmm - q * xmp - r * xpm + s * xpp);
    }
  }
}

// The exchange of a strip of `lanes` rows (row stride cols) with its
// columns: s[c * lanes + l] = a[l * cols + c], or back. Full strips go in
// square pieces of fixed size, which the compiler turns into shuffles.
template <class T, bool kBack>
__attribute__((always_inline)) inline void stripBody(T* a, int64_t cols, int64_t lanes, T* s) noexcept {
  constexpr int64_t kL = kStripRows;
  int64_t c0 = 0;
  if (lanes == kL)
    for (; c0 + kL <= cols; c0 += kL) {
      T* const ap = a + c0;
      T* const sp = s + c0 * kL;
      for (int64_t l = 0; l < kL; ++l)
        for (int64_t c = 0; c < kL; ++c) {
          if constexpr (kBack) ap[l * cols + c] = sp[c * kL + l];
          else sp[c * kL + l] = ap[l * cols + c];
        }
    }
  for (int64_t l = 0; l < lanes; ++l)
    for (int64_t c = c0; c < cols; ++c) {
      if constexpr (kBack) a[l * cols + c] = s[c * lanes + l];
      else s[c * lanes + l] = a[l * cols + c];
    }
}

template <class T>
__attribute__((always_inline)) inline void addScaledBody(T* __restrict y, const T* __restrict w, int64_t n, T v) noexcept {
  // y is never -0 here, so adding +0 for a zero factor equals skipping it.
  for (int64_t c = 0; c < n; ++c) y[c] += w[c] != 0 ? v * w[c] : T{};
}

ZQV_CNV2D_CLONES void lanesF(float* a, int64_t lanes, int64_t stride, const HartleyView& t) noexcept {
  lanesBody(a, lanes, stride, t);
}
ZQV_CNV2D_CLONES void lanesD(double* a, int64_t lanes, int64_t stride, const HartleyView& t) noexcept {
  lanesBody(a, lanes, stride, t);
}
ZQV_CNV2D_CLONES void productF(float* x, const float* h, int64_t rows, int64_t cols) noexcept {
  productBody(x, h, rows, cols);
}
ZQV_CNV2D_CLONES void productD(double* x, const double* h, int64_t rows, int64_t cols) noexcept {
  productBody(x, h, rows, cols);
}
ZQV_CNV2D_CLONES void addScaledF(float* y, const float* w, int64_t n, float v) noexcept { addScaledBody(y, w, n, v); }
ZQV_CNV2D_CLONES void addScaledD(double* y, const double* w, int64_t n, double v) noexcept {
  addScaledBody(y, w, n, v);
}

ZQV_CNV2D_CLONES void toStripF(float* a, int64_t cols, int64_t lanes, float* s) noexcept {
  stripBody<float, false>(a, cols, lanes, s);
}
ZQV_CNV2D_CLONES void toStripD(double* a, int64_t cols, int64_t lanes, double* s) noexcept {
  stripBody<double, false>(a, cols, lanes, s);
}
ZQV_CNV2D_CLONES void fromStripF(float* a, int64_t cols, int64_t lanes, float* s) noexcept {
  stripBody<float, true>(a, cols, lanes, s);
}
ZQV_CNV2D_CLONES void fromStripD(double* a, int64_t cols, int64_t lanes, double* s) noexcept {
  stripBody<double, true>(a, cols, lanes, s);
}

}  // namespace

void toStrip(const float* a, int64_t cols, int64_t lanes, float* s) noexcept {
  toStripF(const_cast<float*>(a), cols, lanes, s);
}
void toStrip(const double* a, int64_t cols, int64_t lanes, double* s) noexcept {
  toStripD(const_cast<double*>(a), cols, lanes, s);
}
void fromStrip(float* a, int64_t cols, int64_t lanes, const float* s) noexcept {
  fromStripF(a, cols, lanes, const_cast<float*>(s));
}
void fromStrip(double* a, int64_t cols, int64_t lanes, const double* s) noexcept {
  fromStripD(a, cols, lanes, const_cast<double*>(s));
}
void hartleyLanes(float* a, int64_t lanes, int64_t stride, const HartleyView& t) noexcept { lanesF(a, lanes, stride, t); }
void hartleyLanes(double* a, int64_t lanes, int64_t stride, const HartleyView& t) noexcept {
  lanesD(a, lanes, stride, t);
}
void hartleyProduct(float* x, const float* h, int64_t rows, int64_t cols) noexcept { productF(x, h, rows, cols); }
void hartleyProduct(double* x, const double* h, int64_t rows, int64_t cols) noexcept { productD(x, h, rows, cols); }
void addScaledRow(float* y, const float* w, int64_t n, float v) noexcept { addScaledF(y, w, n, v); }
void addScaledRow(double* y, const double* w, int64_t n, double v) noexcept { addScaledD(y, w, n, v); }

}  // namespace zqvcnv2d
