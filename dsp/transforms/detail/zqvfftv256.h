// The 256-bit vector operations and register kernels of the interleaved
// complex FFTs (complex floats and doubles). Include after a target pragma
// that enables AVX2; every includer gets its own copy (unnamed namespace).
#ifndef ZQV_FFTV256_H
#define ZQV_FFTV256_H

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "transforms/detail/zqvfftvec.h"

namespace {
namespace zqvfv {

typedef float F8 __attribute__((vector_size(32)));
typedef double D4 __attribute__((vector_size(32)));
typedef int32_t I8 __attribute__((vector_size(32)));
typedef int64_t L4 __attribute__((vector_size(32)));

inline F8 lanes(F8 a, F8 b, I8 m) { return __builtin_shuffle(a, b, m); }
constexpr I8 kLoLo{0, 1, 2, 3, 8, 9, 10, 11};
constexpr I8 kHiHi{4, 5, 6, 7, 12, 13, 14, 15};
constexpr I8 kUnpackLo{0, 1, 8, 9, 4, 5, 12, 13};
constexpr I8 kUnpackHi{2, 3, 10, 11, 6, 7, 14, 15};

// Two 4-point DIF leaves (one per vector) with the operations of the
// 128-bit leaf.
template <bool Fwd>
inline void difLeaf4x2(F8& z1, F8& z2) {
  const F8 l = lanes(z1, z2, kLoLo), r = lanes(z1, z2, kHiHi);
  const F8 s = l + r, u = l - r;
  const F8 a = lanes(s, u, kUnpackLo);
  const F8 b = __builtin_shuffle(lanes(s, u, kUnpackHi), I8{0, 1, 3, 2, 4, 5, 7, 6}) *
               (Fwd ? F8{1, 1, 1, -1, 1, 1, 1, -1} : F8{1, 1, -1, 1, 1, 1, -1, 1});
  const F8 o0 = a + b, o1 = a - b;
  const F8 ul = lanes(o0, o1, kUnpackLo), uh = lanes(o0, o1, kUnpackHi);
  z1 = lanes(ul, uh, kLoLo);
  z2 = lanes(ul, uh, kHiHi);
}

struct AvxF {
  using T = float;
  using V = F8;
  static constexpr std::size_t W = 4;
  static constexpr bool kDif16 = true;
  // The 16-point DIF problem in registers: the same operations as the
  // L-shaped steps and leaves on memory.
  template <bool Fwd>
  static void dif16(float* x, const float* tw16, const float* tw8);
  static constexpr bool kDif32 = true;
  template <bool Fwd>
  static void dif32(float* x, const float* tw32, const float* tw16, const float* tw8);
  // 4-point DIT leaves and the radix-4 pass over spans 4 to 16 in registers,
  // with the operations of the passes on memory.
  static constexpr bool kDit16 = true;
  template <bool Fwd>
  static void dit16(float* x, const float* tw1, const float* tw2);
  static V ld(const float* p) {
    V v;
    std::memcpy(&v, p, sizeof v);
    return v;
  }
  static void st(float* p, V v) { std::memcpy(p, &v, sizeof v); }
  static V zero() { return V{}; }
  static V swapRI(V a) { return __builtin_shuffle(a, I8{1, 0, 3, 2, 5, 4, 7, 6}); }
  static V dupRe(V a) { return __builtin_shuffle(a, I8{0, 0, 2, 2, 4, 4, 6, 6}); }
  static V dupIm(V a) { return __builtin_shuffle(a, I8{1, 1, 3, 3, 5, 5, 7, 7}); }
  static V addSub(V a, V b) { return __builtin_ia32_addsubps256(a, b); }
  static V rev(V a) { return __builtin_shuffle(a, I8{6, 7, 4, 5, 2, 3, 0, 1}); }
  static V conj(V a) { return a * V{1.0f, -1.0f, 1.0f, -1.0f, 1.0f, -1.0f, 1.0f, -1.0f}; }
  static V negRe(V a) { return a * V{-1.0f, 1.0f, -1.0f, 1.0f, -1.0f, 1.0f, -1.0f, 1.0f}; }
};

// The 16-point DIF problem on four registers (points 4j..4j+3 in r[j]).
template <bool Fwd>
inline void dif16Regs(F8 (&r)[4], const float* tw16, const float* tw8) {
  using C = Cx<AvxF>;
  const F8 a = r[0], b = r[1], c = r[2], d = r[3];
  const F8 s0 = a + c, s1 = b + d, u = a - c, v = C::mulI(b - d);
  F8 c2 = C::cmulSplit<Fwd>(Fwd ? u - v : u + v, AvxF::ld(tw16), AvxF::ld(tw16 + 8));
  F8 c3 = C::cmulSplit<Fwd>(Fwd ? u + v : u - v, AvxF::ld(tw16 + 16), AvxF::ld(tw16 + 24));
  // 8 points in (s0, s1): quarters s0.lo, s0.hi, s1.lo, s1.hi.
  F8 e = s0 + s1;
  const F8 f = s0 - s1, g = C::mulI(f);
  const F8 uu = lanes(f, f, kLoLo), vv = lanes(g, g, kHiHi);
  const F8 pq = Fwd ? uu + vv * F8{-1, -1, -1, -1, 1, 1, 1, 1} : uu + vv * F8{1, 1, 1, 1, -1, -1, -1, -1};
  const F8 y0 = AvxF::ld(tw8), y1 = AvxF::ld(tw8 + 8);
  const F8 h = C::cmulSplit<Fwd>(pq, lanes(y0, y1, kLoLo), lanes(y0, y1, kHiHi));
  // Leaves: 4 points in e, c2, c3; two 2-point butterflies in each lane of h.
  const F8 h2 = __builtin_shuffle(h, I8{0, 1, 0, 1, 4, 5, 4, 5}) +
                __builtin_shuffle(h, I8{2, 3, 2, 3, 6, 7, 6, 7}) * F8{1, 1, -1, -1, 1, 1, -1, -1};
  F8 e2 = e;
  difLeaf4x2<Fwd>(c2, c3);
  difLeaf4x2<Fwd>(e, e2);
  r[0] = e;
  r[1] = h2;
  r[2] = c2;
  r[3] = c3;
}

// Two 8-point DIF problems, (p[0], p[1]) and (p[2], p[3]), side by side in
// the two lanes: the 8-point step, a 4-point leaf and two 2-point ones each.
template <bool Fwd>
inline void dif8x2Regs(F8 (&p)[4], const float* tw8) {
  using C = Cx<AvxF>;
  const F8 e1 = p[0] + p[1], f1 = p[0] - p[1], e2 = p[2] + p[3], f2 = p[2] - p[3];
  const F8 u = lanes(f1, f2, kLoLo), v = C::mulI(lanes(f1, f2, kHiHi));
  const F8 y0 = AvxF::ld(tw8), y1 = AvxF::ld(tw8 + 8);
  const F8 r1 = lanes(y0, y0, kLoLo), i1 = lanes(y0, y0, kHiHi), r3 = lanes(y1, y1, kLoLo), i3 = lanes(y1, y1, kHiHi);
  const F8 c1 = C::cmulSplit<Fwd>(Fwd ? u - v : u + v, r1, i1);
  const F8 c3 = C::cmulSplit<Fwd>(Fwd ? u + v : u - v, r3, i3);
  const F8 sign{1, 1, -1, -1, 1, 1, -1, -1};
  const F8 d1 = __builtin_shuffle(c1, I8{0, 1, 0, 1, 4, 5, 4, 5}) + __builtin_shuffle(c1, I8{2, 3, 2, 3, 6, 7, 6, 7}) * sign;
  const F8 d3 = __builtin_shuffle(c3, I8{0, 1, 0, 1, 4, 5, 4, 5}) + __builtin_shuffle(c3, I8{2, 3, 2, 3, 6, 7, 6, 7}) * sign;
  F8 l1 = e1, l2 = e2;
  difLeaf4x2<Fwd>(l1, l2);
  p[0] = l1;
  p[1] = lanes(d1, d3, kLoLo);
  p[2] = l2;
  p[3] = lanes(d1, d3, kHiHi);
}

template <bool Fwd>
inline void AvxF::dif16(float* x, const float* tw16, const float* tw8) {
  F8 r[4] = {ld(x), ld(x + 8), ld(x + 16), ld(x + 24)};
  dif16Regs<Fwd>(r, tw16, tw8);
  for (int j = 0; j < 4; ++j) st(x + 8 * j, r[j]);
}

template <bool Fwd>
inline void AvxF::dif32(float* x, const float* tw32, const float* tw16, const float* tw8) {
  using C = Cx<AvxF>;
  F8 h[4], q[4];
  for (int i = 0; i < 2; ++i) {
    const F8 a = ld(x + 8 * i), b = ld(x + 16 + 8 * i), c = ld(x + 32 + 8 * i), d = ld(x + 48 + 8 * i);
    h[i] = a + c;
    h[2 + i] = b + d;
    const F8 u = a - c, v = C::mulI(b - d);
    q[i] = C::cmulSplit<Fwd>(Fwd ? u - v : u + v, ld(tw32 + 8 * i), ld(tw32 + 16 + 8 * i));
    q[2 + i] = C::cmulSplit<Fwd>(Fwd ? u + v : u - v, ld(tw32 + 32 + 8 * i), ld(tw32 + 48 + 8 * i));
  }
  dif16Regs<Fwd>(h, tw16, tw8);
  dif8x2Regs<Fwd>(q, tw8);
  for (int j = 0; j < 4; ++j) {
    st(x + 8 * j, h[j]);
    st(x + 32 + 8 * j, q[j]);
  }
}

// Two 4-point DIT leaves (one per vector), as the 128-bit leaf computes them.
template <bool Fwd>
inline void ditLeaf4x2(F8& z1, F8& z2) {
  const F8 ul = lanes(z1, z2, kUnpackLo), uh = lanes(z1, z2, kUnpackHi);
  // (x0, x2) and (x1, x3) of each vector, first vector in the low lane.
  const F8 a = __builtin_shuffle(ul, I8{0, 1, 4, 5, 2, 3, 6, 7});
  const F8 b = __builtin_shuffle(uh, I8{0, 1, 4, 5, 2, 3, 6, 7});
  const F8 s = a + b, d = a - b;
  const F8 pp = lanes(s, d, kUnpackLo);
  const F8 q = __builtin_shuffle(lanes(s, d, kUnpackHi), I8{0, 1, 3, 2, 4, 5, 7, 6}) *
               (Fwd ? F8{1, 1, 1, -1, 1, 1, 1, -1} : F8{1, 1, -1, 1, 1, 1, -1, 1});
  const F8 o0 = pp + q, o1 = pp - q;
  z1 = lanes(o0, o1, kLoLo);
  z2 = lanes(o0, o1, kHiHi);
}

template <bool Fwd>
inline void AvxF::dit16(float* x, const float* tw1, const float* tw2) {
  using C = Cx<AvxF>;
  F8 x0 = ld(x), x1 = ld(x + 8), x2 = ld(x + 16), x3 = ld(x + 24);
  ditLeaf4x2<Fwd>(x0, x1);
  ditLeaf4x2<Fwd>(x2, x3);
  const F8 w1 = ld(tw1), w2 = ld(tw2);
  const F8 t1 = C::cmul<Fwd>(x1, w1), t3 = C::cmul<Fwd>(x3, w1);
  const F8 y0 = x0 + t1, y1 = x0 - t1, y2 = x2 + t3, y3 = x2 - t3;
  const F8 u2 = C::cmul<Fwd>(y2, w2), u3 = C::cmul<Fwd>(y3, w2);
  const F8 v3 = Fwd ? C::mulMinusI(u3) : C::mulI(u3);
  st(x, y0 + u2);
  st(x + 16, y0 - u2);
  st(x + 8, y1 + v3);
  st(x + 24, y1 - v3);
}

struct AvxD {
  using T = double;
  using V = D4;
  static constexpr std::size_t W = 2;
  static constexpr bool kDif16 = false;
  static constexpr bool kDif32 = false;
  static constexpr bool kDit16 = true;
  template <bool Fwd>
  static void dit16(double* x, const double* tw1, const double* tw2);
  static V ld(const double* p) {
    V v;
    std::memcpy(&v, p, sizeof v);
    return v;
  }
  static void st(double* p, V v) { std::memcpy(p, &v, sizeof v); }
  static V zero() { return V{}; }
  static V swapRI(V a) { return __builtin_shuffle(a, L4{1, 0, 3, 2}); }
  static V dupRe(V a) { return __builtin_shuffle(a, L4{0, 0, 2, 2}); }
  static V dupIm(V a) { return __builtin_shuffle(a, L4{1, 1, 3, 3}); }
  static V addSub(V a, V b) { return __builtin_ia32_addsubpd256(a, b); }
  static V rev(V a) { return __builtin_shuffle(a, L4{2, 3, 0, 1}); }
  static V conj(V a) { return a * V{1.0, -1.0, 1.0, -1.0}; }
  static V negRe(V a) { return a * V{-1.0, 1.0, -1.0, 1.0}; }
};

}  // namespace zqvfv
}  // namespace

namespace {
namespace zqvfv {

// 4-point DIT leaves of four groups with the operations of the 128-bit leaf
// (two groups side by side per vector), then the radix-4 pass over spans 4
// to 16 as ditRadix4 computes it.
template <bool Fwd>
inline void AvxD::dit16(double* x, const double* tw1, const double* tw2) {
  using C = Cx<AvxD>;
  constexpr L4 lo{0, 1, 4, 5}, hi{2, 3, 6, 7};
  D4 z[8];
  for (int j = 0; j < 8; ++j) z[j] = ld(x + 4 * j);
  for (int g = 0; g < 8; g += 4) {
    const D4 x0 = __builtin_shuffle(z[g], z[g + 2], lo), x1 = __builtin_shuffle(z[g], z[g + 2], hi);
    const D4 x2 = __builtin_shuffle(z[g + 1], z[g + 3], lo), x3 = __builtin_shuffle(z[g + 1], z[g + 3], hi);
    const D4 y0 = x0 + x1, y1 = x0 - x1, y2 = x2 + x3, y3 = C::mulI(x2 - x3);
    const D4 o0 = y0 + y2, o2 = y0 - y2, o1 = Fwd ? y1 - y3 : y1 + y3, o3 = Fwd ? y1 + y3 : y1 - y3;
    z[g] = __builtin_shuffle(o0, o1, lo);
    z[g + 1] = __builtin_shuffle(o2, o3, lo);
    z[g + 2] = __builtin_shuffle(o0, o1, hi);
    z[g + 3] = __builtin_shuffle(o2, o3, hi);
  }
  for (int k = 0; k < 2; ++k) {
    const D4 w1 = ld(tw1 + 4 * k), w2 = ld(tw2 + 4 * k);
    const D4 x0 = z[k], t1 = C::cmul<Fwd>(z[2 + k], w1);
    const D4 x2 = z[4 + k], t3 = C::cmul<Fwd>(z[6 + k], w1);
    const D4 y0 = x0 + t1, y1 = x0 - t1, y2 = x2 + t3, y3 = x2 - t3;
    const D4 u2 = C::cmul<Fwd>(y2, w2), u3 = C::cmul<Fwd>(y3, w2);
    const D4 v3 = Fwd ? C::mulMinusI(u3) : C::mulI(u3);
    st(x + 4 * k, y0 + u2);
    st(x + 16 + 4 * k, y0 - u2);
    st(x + 8 + 4 * k, y1 + v3);
    st(x + 24 + 4 * k, y1 - v3);
  }
}

}  // namespace zqvfv
}  // namespace

#endif
