// The table-driven power-of-two complex FFT kernels, over separate arrays
// (the split forms) or interleaved data (only when the per-stage tables of
// the vector kernels cannot be had). Up to 2^11 points: radix-2/4
// decimation in frequency (natural order in, bit-reversed out) with the
// compact radix-4 table. From 2^12 points: decimation in time (bit-reversed
// in, natural out) over cache-sized blocks with the half table.
#ifndef ZQV_FFTKERN_H
#define ZQV_FFTKERN_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>

namespace zqvfft {

// A scalar complex value with the arithmetic of the butterflies.
template <class T>
struct Sc {
  T re, im;
  friend Sc operator+(Sc a, Sc b) { return {a.re + b.re, a.im + b.im}; }
  friend Sc operator-(Sc a, Sc b) { return {a.re - b.re, a.im - b.im}; }
};

// Scalar access to interleaved complex data (re at 2i, im at 2i+1).
template <class T>
struct IlvScalar {
  using V = Sc<T>;
  static constexpr std::size_t W = 1;
  T* d;
  V ld(std::size_t i) const { return {d[2 * i], d[2 * i + 1]}; }
  void st(std::size_t i, V v) const {
    d[2 * i] = v.re;
    d[2 * i + 1] = v.im;
  }
  static V mulI(V a) { return {-a.im, a.re}; }
  static V cmul(V a, V w) { return {a.re * w.re - a.im * w.im, a.re * w.im + a.im * w.re}; }
  static V cmulConj(V a, V w) { return {a.re * w.re + a.im * w.im, a.im * w.re - a.re * w.im}; }
  // Twiddles from a table of interleaved complex values: W of them from p.
  static V tw(const T* p) { return {p[0], p[1]}; }
  // w^(k s) (which 0) or w^(3 k s) (which 1) from the radix-4 table.
  static V twR4(const T* tbl, std::size_t k, std::size_t s, int which) {
    if (k == 0) return {T(1), T(0)};
    const T* e = tbl + 4 * (k * s - 1) + 2 * which;
    return {e[0], e[1]};
  }
};

// Scalar access to separate real and imaginary arrays.
template <class T>
struct SplitScalar : IlvScalar<T> {
  using V = Sc<T>;
  T* re;
  T* im;
  V ld(std::size_t i) const { return {re[i], im[i]}; }
  void st(std::size_t i, V v) const {
    re[i] = v.re;
    im[i] = v.im;
  }
};

// One L-shaped radix-2/4 step on the group [o, o + len): first half becomes
// the half-length problem, the quarters the two quarter-length problems.
template <bool Fwd, class Q, class T>
inline void difStep(const Q& q, std::size_t o, std::size_t len, const T* tbl, std::size_t s) {
  const std::size_t qn = len / 4;
  for (std::size_t k = 0; k < qn; k += Q::W) {
    const auto a = q.ld(o + k), b = q.ld(o + k + qn), c = q.ld(o + k + 2 * qn), d = q.ld(o + k + 3 * qn);
    q.st(o + k, a + c);
    q.st(o + k + qn, b + d);
    const auto u = a - c, v = Q::mulI(b - d);
    if (Fwd) {
      q.st(o + k + 2 * qn, Q::cmul(u - v, Q::twR4(tbl, k, s, 0)));
      q.st(o + k + 3 * qn, Q::cmul(u + v, Q::twR4(tbl, k, s, 1)));
    } else {
      q.st(o + k + 2 * qn, Q::cmulConj(u + v, Q::twR4(tbl, k, s, 0)));
      q.st(o + k + 3 * qn, Q::cmulConj(u - v, Q::twR4(tbl, k, s, 1)));
    }
  }
}

template <bool Fwd, class Q>
inline void difLeaf4(const Q& q, std::size_t o) {
  const auto a = q.ld(o), b = q.ld(o + 1), c = q.ld(o + 2), d = q.ld(o + 3);
  const auto s0 = a + c, s1 = b + d, u = a - c, v = Q::mulI(b - d);
  q.st(o, s0 + s1);
  q.st(o + 1, s0 - s1);
  q.st(o + 2, Fwd ? u - v : u + v);
  q.st(o + 3, Fwd ? u + v : u - v);
}

template <bool Fwd, class Q, class T>
void difRec(const Q& q, std::size_t o, std::size_t len, const T* tbl, std::size_t n) {
  if (len <= 4) {
    if (len == 4) {
      difLeaf4<Fwd>(q, o);
    } else if (len == 2) {
      const auto a = q.ld(o), b = q.ld(o + 1);
      q.st(o, a + b);
      q.st(o + 1, a - b);
    }
    return;
  }
  difStep<Fwd>(q, o, len, tbl, n / len);
  difRec<Fwd>(q, o, len / 2, tbl, n);
  difRec<Fwd>(q, o + len / 2, len / 4, tbl, n);
  difRec<Fwd>(q, o + 3 * len / 4, len / 4, tbl, n);
}

// Natural order in, bit-reversed order out; tbl is the radix-4 table of n.
template <class Q, class T>
void difKernel(const Q& q, std::size_t n, bool fwd, const T* tbl) {
  if (fwd) difRec<true>(q, 0, n, tbl, n);
  else difRec<false>(q, 0, n, tbl, n);
}

// Radix-2 butterflies over [g, g + 2h) for k in [k0, k0 + cnt), twiddles tw[k - k0].
template <bool Fwd, class Q, class T>
inline void ditPass(const Q& q, std::size_t g, std::size_t h, std::size_t k0, std::size_t cnt, const T* tw) {
  for (std::size_t j = 0; j < cnt; j += Q::W) {
    const std::size_t i = g + k0 + j;
    const auto a = q.ld(i);
    const auto w = Q::tw(tw + 2 * j);
    const auto b = Fwd ? Q::cmul(q.ld(i + h), w) : Q::cmulConj(q.ld(i + h), w);
    q.st(i, a + b);
    q.st(i + h, a - b);
  }
}

template <bool Fwd, class Q>
inline void ditLeaf4(const Q& q, std::size_t o) {
  const auto x0 = q.ld(o), x1 = q.ld(o + 1), x2 = q.ld(o + 2), x3 = q.ld(o + 3);
  const auto y0 = x0 + x1, y1 = x0 - x1, y2 = x2 + x3, y3 = Q::mulI(x2 - x3);
  q.st(o, y0 + y2);
  q.st(o + 2, y0 - y2);
  q.st(o + 1, Fwd ? y1 - y3 : y1 + y3);
  q.st(o + 3, Fwd ? y1 + y3 : y1 - y3);
}

// Bit-reversed order in, natural order out; half is the half table of n;
// blockLen is the number of points completed while in cache.
template <bool Fwd, class Q, class T>
void ditKernelT(const Q& q, std::size_t n, const T* half, std::size_t blockLen) {
  if (n < 2) return;
  if (n == 2) {
    const auto a = q.ld(0), b = q.ld(1);
    q.st(0, a + b);
    q.st(1, a - b);
    return;
  }
  const std::size_t blk = std::min(n, blockLen);
  constexpr std::size_t kStrip = 256;
  // In-block twiddles, stage h at [h, 2h), copied once per call.
  T twb[2 * 1024];
  for (std::size_t h = 4; h < blk; h *= 2) {
    const std::size_t s = n / (2 * h);
    for (std::size_t k = 0; k < h; ++k) {
      twb[2 * (h + k)] = half[2 * k * s];
      twb[2 * (h + k) + 1] = half[2 * k * s + 1];
    }
  }
  for (std::size_t b0 = 0; b0 < n; b0 += blk) {
    for (std::size_t g = b0; g < b0 + blk; g += 4) ditLeaf4<Fwd>(q, g);
    for (std::size_t h = 4; h < blk; h *= 2)
      for (std::size_t g = b0; g < b0 + blk; g += 2 * h) ditPass<Fwd>(q, g, h, 0, h, twb + 2 * h);
  }
  T tws[2 * kStrip];
  for (std::size_t h = blk; h < n; h *= 2) {
    const std::size_t s = n / (2 * h);
    for (std::size_t k0 = 0; k0 < h; k0 += kStrip) {
      const std::size_t cnt = std::min(kStrip, h - k0);
      const T* tw = half + 2 * k0;
      if (s != 1) {
        for (std::size_t j = 0; j < cnt; ++j) {
          tws[2 * j] = half[2 * (k0 + j) * s];
          tws[2 * j + 1] = half[2 * (k0 + j) * s + 1];
        }
        tw = tws;
      }
      for (std::size_t g = 0; g < n; g += 2 * h) ditPass<Fwd>(q, g, h, k0, cnt, tw);
    }
  }
}

template <class Q, class T>
void ditKernel(const Q& q, std::size_t n, bool fwd, const T* half, std::size_t blockLen) {
  if (fwd) ditKernelT<true>(q, n, half, blockLen);
  else ditKernelT<false>(q, n, half, blockLen);
}

}  // namespace zqvfft

#endif
