// Power-of-two complex FFT kernels over interleaved or separate arrays.
// Up to 2^11 points: radix-2/4 decimation in frequency (natural order in,
// bit-reversed out) with the compact radix-4 table. From 2^12 points:
// decimation in time (bit-reversed in, natural out) over cache-sized blocks
// with the half table. Butterflies run on SSE2 vectors across independent
// data; a scalar path serves short groups and the separate-array forms.
#ifndef ZQV_FFTKERN_H
#define ZQV_FFTKERN_H

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace zqvfft {

typedef float V4f __attribute__((vector_size(16)));
typedef double V2d __attribute__((vector_size(16)));
typedef int32_t V4i __attribute__((vector_size(16)));
typedef int64_t V2l __attribute__((vector_size(16)));

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

inline V4f shuf(V4f a, V4i m) { return __builtin_shuffle(a, m); }
inline V2d shuf(V2d a, V2l m) { return __builtin_shuffle(a, m); }

// Two interleaved complex floats per vector.
struct IlvVecF {
  using V = V4f;
  static constexpr std::size_t W = 2;
  float* d;
  V ld(std::size_t i) const {
    V v;
    std::memcpy(&v, d + 2 * i, sizeof v);
    return v;
  }
  void st(std::size_t i, V v) const { std::memcpy(d + 2 * i, &v, sizeof v); }
  static V mulI(V a) { return shuf(a, V4i{1, 0, 3, 2}) * V{-1.0f, 1.0f, -1.0f, 1.0f}; }
  static V cmul(V a, V w) {
    const V wr = shuf(w, V4i{0, 0, 2, 2}), wi = shuf(w, V4i{1, 1, 3, 3});
    return a * wr + shuf(a, V4i{1, 0, 3, 2}) * wi * V{-1.0f, 1.0f, -1.0f, 1.0f};
  }
  static V cmulConj(V a, V w) {
    const V wr = shuf(w, V4i{0, 0, 2, 2}), wi = shuf(w, V4i{1, 1, 3, 3});
    return a * wr + shuf(a, V4i{1, 0, 3, 2}) * wi * V{1.0f, -1.0f, 1.0f, -1.0f};
  }
  static V tw(const float* p) {
    V v;
    std::memcpy(&v, p, sizeof v);
    return v;
  }
  static V twR4(const float* tbl, std::size_t k, std::size_t s, int which) {
    float lo[2] = {1.0f, 0.0f};
    if (k != 0) std::memcpy(lo, tbl + 4 * (k * s - 1) + 2 * which, sizeof lo);
    const float* hi = tbl + 4 * ((k + 1) * s - 1) + 2 * which;
    return V{lo[0], lo[1], hi[0], hi[1]};
  }
};

// One complex double per vector.
struct IlvVecD {
  using V = V2d;
  static constexpr std::size_t W = 1;
  double* d;
  V ld(std::size_t i) const {
    V v;
    std::memcpy(&v, d + 2 * i, sizeof v);
    return v;
  }
  void st(std::size_t i, V v) const { std::memcpy(d + 2 * i, &v, sizeof v); }
  static V mulI(V a) { return shuf(a, V2l{1, 0}) * V{-1.0, 1.0}; }
  static V cmul(V a, V w) {
    return a * shuf(w, V2l{0, 0}) + shuf(a, V2l{1, 0}) * shuf(w, V2l{1, 1}) * V{-1.0, 1.0};
  }
  static V cmulConj(V a, V w) {
    return a * shuf(w, V2l{0, 0}) + shuf(a, V2l{1, 0}) * shuf(w, V2l{1, 1}) * V{1.0, -1.0};
  }
  static V tw(const double* p) {
    V v;
    std::memcpy(&v, p, sizeof v);
    return v;
  }
  static V twR4(const double* tbl, std::size_t k, std::size_t s, int which) {
    if (k == 0) return V{1.0, 0.0};
    return tw(tbl + 4 * (k * s - 1) + 2 * which);
  }
};

inline V4f shuf2(V4f a, V4f b, V4i m) { return __builtin_shuffle(a, b, m); }

// Multiplies the upper complex value of v by -i (forward) or +i (inverse).
template <bool Fwd>
inline V4f upperTimesMinusI(V4f v) {
  return shuf(v, V4i{0, 1, 3, 2}) * (Fwd ? V4f{1.0f, 1.0f, 1.0f, -1.0f} : V4f{1.0f, 1.0f, -1.0f, 1.0f});
}

// The 4-point decimation-in-frequency leaf on two vectors, output bit-reversed.
template <bool Fwd>
inline void difLeaf4Vec(float* p) {
  V4f v0, v1;
  std::memcpy(&v0, p, 16);
  std::memcpy(&v1, p + 4, 16);
  const V4f s = v0 + v1, u = v0 - v1;
  const V4f a = shuf2(s, u, V4i{0, 1, 4, 5}), b = upperTimesMinusI<Fwd>(shuf2(s, u, V4i{2, 3, 6, 7}));
  const V4f o0 = a + b, o1 = a - b;  // (X0, X1), (X2, X3)
  const V4f r0 = shuf2(o0, o1, V4i{0, 1, 4, 5}), r1 = shuf2(o0, o1, V4i{2, 3, 6, 7});
  std::memcpy(p, &r0, 16);
  std::memcpy(p + 4, &r1, 16);
}

// Two 2-point butterflies on two vectors.
inline void leaf2x2Vec(float* p) {
  V4f v0, v1;
  std::memcpy(&v0, p, 16);
  std::memcpy(&v1, p + 4, 16);
  const V4f sign{1.0f, 1.0f, -1.0f, -1.0f};
  const V4f r0 = shuf(v0, V4i{0, 1, 0, 1}) + shuf(v0, V4i{2, 3, 2, 3}) * sign;
  const V4f r1 = shuf(v1, V4i{0, 1, 0, 1}) + shuf(v1, V4i{2, 3, 2, 3}) * sign;
  std::memcpy(p, &r0, 16);
  std::memcpy(p + 4, &r1, 16);
}

// The 4-point decimation-in-time leaf on two vectors, input bit-reversed.
template <bool Fwd>
inline void ditLeaf4Vec(float* p) {
  V4f v0, v1;
  std::memcpy(&v0, p, 16);
  std::memcpy(&v1, p + 4, 16);
  const V4f a = shuf2(v0, v1, V4i{0, 1, 4, 5}), b = shuf2(v0, v1, V4i{2, 3, 6, 7});
  const V4f s = a + b, d = a - b;  // (y0, y2), (y1, y3)
  const V4f pp = shuf2(s, d, V4i{0, 1, 4, 5}), q = upperTimesMinusI<Fwd>(shuf2(s, d, V4i{2, 3, 6, 7}));
  const V4f o0 = pp + q, o1 = pp - q;
  std::memcpy(p, &o0, 16);
  std::memcpy(p + 4, &o1, 16);
}

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

template <bool Fwd, class P, class Ps, class T>
void difRec(const P& p, const Ps& ps, std::size_t o, std::size_t len, const T* tbl, std::size_t n) {
  if constexpr (std::is_same_v<P, IlvVecF>) {
    if (len == 8) {
      difStep<Fwd>(p, o, len, tbl, n / len);
      difLeaf4Vec<Fwd>(p.d + 2 * o);
      leaf2x2Vec(p.d + 2 * o + 8);
      return;
    }
    if (len == 4) {
      difLeaf4Vec<Fwd>(p.d + 2 * o);
      return;
    }
  }
  if constexpr (P::W == 1) {
    if (len <= 4) {
      if (len == 4) {
        difLeaf4<Fwd>(p, o);
      } else if (len == 2) {
        const auto a = p.ld(o), b = p.ld(o + 1);
        p.st(o, a + b);
        p.st(o + 1, a - b);
      }
      return;
    }
  }
  if (len <= 4) {
    if (len == 4) {
      difLeaf4<Fwd>(ps, o);
    } else if (len == 2) {
      const auto a = ps.ld(o), b = ps.ld(o + 1);
      ps.st(o, a + b);
      ps.st(o + 1, a - b);
    }
    return;
  }
  if (len / 4 >= P::W) difStep<Fwd>(p, o, len, tbl, n / len);
  else difStep<Fwd>(ps, o, len, tbl, n / len);
  difRec<Fwd>(p, ps, o, len / 2, tbl, n);
  difRec<Fwd>(p, ps, o + len / 2, len / 4, tbl, n);
  difRec<Fwd>(p, ps, o + 3 * len / 4, len / 4, tbl, n);
}

// Natural order in, bit-reversed order out; tbl is the radix-4 table of n.
template <class P, class Ps, class T>
void difKernel(const P& p, const Ps& ps, std::size_t n, bool fwd, const T* tbl) {
  if (fwd) difRec<true>(p, ps, 0, n, tbl, n);
  else difRec<false>(p, ps, 0, n, tbl, n);
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
template <bool Fwd, class P, class Ps, class T>
void ditKernelT(const P& p, const Ps& ps, std::size_t n, const T* half, std::size_t blockLen) {
  if (n < 2) return;
  if (n == 2) {
    const auto a = ps.ld(0), b = ps.ld(1);
    ps.st(0, a + b);
    ps.st(1, a - b);
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
    if constexpr (std::is_same_v<P, IlvVecF>) {
      for (std::size_t g = b0; g < b0 + blk; g += 4) ditLeaf4Vec<Fwd>(p.d + 2 * g);
    } else if constexpr (P::W == 1) {
      for (std::size_t g = b0; g < b0 + blk; g += 4) ditLeaf4<Fwd>(p, g);
    } else {
      for (std::size_t g = b0; g < b0 + blk; g += 4) ditLeaf4<Fwd>(ps, g);
    }
    for (std::size_t h = 4; h < blk; h *= 2)
      for (std::size_t g = b0; g < b0 + blk; g += 2 * h) ditPass<Fwd>(p, g, h, 0, h, twb + 2 * h);
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
      for (std::size_t g = 0; g < n; g += 2 * h) ditPass<Fwd>(p, g, h, k0, cnt, tw);
    }
  }
}

template <class P, class Ps, class T>
void ditKernel(const P& p, const Ps& ps, std::size_t n, bool fwd, const T* half, std::size_t blockLen) {
  if (fwd) ditKernelT<true>(p, ps, n, half, blockLen);
  else ditKernelT<false>(p, ps, n, half, blockLen);
}

}  // namespace zqvfft

#endif
