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

// Lane masks of two-vector shuffles (index lists: the builtin takes constants).
#define ZQV_LO_LO 0, 1, 2, 3, 8, 9, 10, 11
#define ZQV_HI_HI 4, 5, 6, 7, 12, 13, 14, 15
#define ZQV_UNPACK_LO 0, 1, 8, 9, 4, 5, 12, 13
#define ZQV_UNPACK_HI 2, 3, 10, 11, 6, 7, 14, 15

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
  static V swapRI(V a) { return __builtin_shufflevector(a, a, 1, 0, 3, 2, 5, 4, 7, 6); }
  static V dupRe(V a) { return __builtin_shufflevector(a, a, 0, 0, 2, 2, 4, 4, 6, 6); }
  static V dupIm(V a) { return __builtin_shufflevector(a, a, 1, 1, 3, 3, 5, 5, 7, 7); }
  static V addSub(V a, V b) { return __builtin_ia32_addsubps256(a, b); }
  static V rev(V a) { return __builtin_shufflevector(a, a, 6, 7, 4, 5, 2, 3, 0, 1); }
  static V conj(V a) { return (V)((I8)a ^ I8{0, INT32_MIN, 0, INT32_MIN, 0, INT32_MIN, 0, INT32_MIN}); }
  static V negRe(V a) { return (V)((I8)a ^ I8{INT32_MIN, 0, INT32_MIN, 0, INT32_MIN, 0, INT32_MIN, 0}); }
};

// How the register DIF kernels reach their lanes: one problem per 256-bit
// vector here; the 512-bit build takes two problems, one per half, with the
// same operations on each.
struct Lanes256 {
  using T = float;
  using V = F8;
  using Ops = AvxF;
  static V loLo(V a, V b) { return __builtin_shufflevector(a, b, ZQV_LO_LO); }
  static V hiHi(V a, V b) { return __builtin_shufflevector(a, b, ZQV_HI_HI); }
  static V unpackLo(V a, V b) { return __builtin_shufflevector(a, b, ZQV_UNPACK_LO); }
  static V unpackHi(V a, V b) { return __builtin_shufflevector(a, b, ZQV_UNPACK_HI); }
  static V swapUpper(V a) { return __builtin_shufflevector(a, a, 0, 1, 3, 2, 4, 5, 7, 6); }
  static V dupLow(V a) { return __builtin_shufflevector(a, a, 0, 1, 0, 1, 4, 5, 4, 5); }
  static V dupHigh(V a) { return __builtin_shufflevector(a, a, 2, 3, 2, 3, 6, 7, 6, 7); }
  static V rep(F8 c) { return c; }
  static V tw(const float* p) { return AvxF::ld(p); }
  // Data of the problem: 8 floats at element offset off.
  static V ldX(const float* x, std::size_t off) { return AvxF::ld(x + off); }
  static void stX(float* x, std::size_t off, V v) { AvxF::st(x + off, v); }
};

// Two 4-point DIF leaves (one per vector) with the operations of the
// 128-bit leaf.
template <bool Fwd, class P>
inline void difLeaf4x2(typename P::V& z1, typename P::V& z2) {
  using V = typename P::V;
  const V l = P::loLo(z1, z2), r = P::hiHi(z1, z2);
  const V s = l + r, u = l - r;
  const V a = P::unpackLo(s, u);
  const V b = P::swapUpper(P::unpackHi(s, u)) * P::rep(Fwd ? F8{1, 1, 1, -1, 1, 1, 1, -1} : F8{1, 1, -1, 1, 1, 1, -1, 1});
  const V o0 = a + b, o1 = a - b;
  const V ul = P::unpackLo(o0, o1), uh = P::unpackHi(o0, o1);
  z1 = P::loLo(ul, uh);
  z2 = P::hiHi(ul, uh);
}

// The 16-point DIF problem on four registers (points 4j..4j+3 in r[j]).
template <bool Fwd, class P>
inline void dif16Regs(typename P::V (&r)[4], const typename P::T* tw16, const typename P::T* tw8) {
  using C = Cx<typename P::Ops>;
  using V = typename P::V;
  const V a = r[0], b = r[1], c = r[2], d = r[3];
  const V s0 = a + c, s1 = b + d, u = a - c, v = C::mulI(b - d);
  V c2 = C::template cmulSplit<Fwd>(Fwd ? u - v : u + v, P::tw(tw16), P::tw(tw16 + 8));
  V c3 = C::template cmulSplit<Fwd>(Fwd ? u + v : u - v, P::tw(tw16 + 16), P::tw(tw16 + 24));
  // 8 points in (s0, s1): quarters s0.lo, s0.hi, s1.lo, s1.hi.
  V e = s0 + s1;
  const V f = s0 - s1, g = C::mulI(f);
  const V uu = P::loLo(f, f), vv = P::hiHi(g, g);
  const V pq = Fwd ? uu + vv * P::rep(F8{-1, -1, -1, -1, 1, 1, 1, 1}) : uu + vv * P::rep(F8{1, 1, 1, 1, -1, -1, -1, -1});
  const V y0 = P::tw(tw8), y1 = P::tw(tw8 + 8);
  const V h = C::template cmulSplit<Fwd>(pq, P::loLo(y0, y1), P::hiHi(y0, y1));
  // Leaves: 4 points in e, c2, c3; two 2-point butterflies in each lane of h.
  const V h2 = P::dupLow(h) + P::dupHigh(h) * P::rep(F8{1, 1, -1, -1, 1, 1, -1, -1});
  V e2 = e;
  difLeaf4x2<Fwd, P>(c2, c3);
  difLeaf4x2<Fwd, P>(e, e2);
  r[0] = e;
  r[1] = h2;
  r[2] = c2;
  r[3] = c3;
}

// Two 8-point DIF problems, (p[0], p[1]) and (p[2], p[3]), side by side in
// the two lanes: the 8-point step, a 4-point leaf and two 2-point ones each.
template <bool Fwd, class P>
inline void dif8x2Regs(typename P::V (&p)[4], const typename P::T* tw8) {
  using C = Cx<typename P::Ops>;
  using V = typename P::V;
  const V e1 = p[0] + p[1], f1 = p[0] - p[1], e2 = p[2] + p[3], f2 = p[2] - p[3];
  const V u = P::loLo(f1, f2), v = C::mulI(P::hiHi(f1, f2));
  const V y0 = P::tw(tw8), y1 = P::tw(tw8 + 8);
  const V r1 = P::loLo(y0, y0), i1 = P::hiHi(y0, y0), r3 = P::loLo(y1, y1), i3 = P::hiHi(y1, y1);
  const V c1 = C::template cmulSplit<Fwd>(Fwd ? u - v : u + v, r1, i1);
  const V c3 = C::template cmulSplit<Fwd>(Fwd ? u + v : u - v, r3, i3);
  const V sign = P::rep(F8{1, 1, -1, -1, 1, 1, -1, -1});
  const V d1 = P::dupLow(c1) + P::dupHigh(c1) * sign;
  const V d3 = P::dupLow(c3) + P::dupHigh(c3) * sign;
  V l1 = e1, l2 = e2;
  difLeaf4x2<Fwd, P>(l1, l2);
  p[0] = l1;
  p[1] = P::loLo(d1, d3);
  p[2] = l2;
  p[3] = P::hiHi(d1, d3);
}

template <bool Fwd, class P>
inline void dif16With(typename P::T* x, const typename P::T* tw16, const typename P::T* tw8) {
  typename P::V r[4] = {P::ldX(x, 0), P::ldX(x, 8), P::ldX(x, 16), P::ldX(x, 24)};
  dif16Regs<Fwd, P>(r, tw16, tw8);
  for (int j = 0; j < 4; ++j) P::stX(x, 8 * j, r[j]);
}

template <bool Fwd, class P>
inline void dif32With(typename P::T* x, const typename P::T* tw32, const typename P::T* tw16, const typename P::T* tw8) {
  using C = Cx<typename P::Ops>;
  using V = typename P::V;
  V h[4], q[4];
  for (int i = 0; i < 2; ++i) {
    const V a = P::ldX(x, 8 * i), b = P::ldX(x, 16 + 8 * i), c = P::ldX(x, 32 + 8 * i), d = P::ldX(x, 48 + 8 * i);
    h[i] = a + c;
    h[2 + i] = b + d;
    const V u = a - c, v = C::mulI(b - d);
    q[i] = C::template cmulSplit<Fwd>(Fwd ? u - v : u + v, P::tw(tw32 + 8 * i), P::tw(tw32 + 16 + 8 * i));
    q[2 + i] = C::template cmulSplit<Fwd>(Fwd ? u + v : u - v, P::tw(tw32 + 32 + 8 * i), P::tw(tw32 + 48 + 8 * i));
  }
  dif16Regs<Fwd, P>(h, tw16, tw8);
  dif8x2Regs<Fwd, P>(q, tw8);
  for (int j = 0; j < 4; ++j) {
    P::stX(x, 8 * j, h[j]);
    P::stX(x, 32 + 8 * j, q[j]);
  }
}

template <bool Fwd>
inline void AvxF::dif16(float* x, const float* tw16, const float* tw8) {
  dif16With<Fwd, Lanes256>(x, tw16, tw8);
}

template <bool Fwd>
inline void AvxF::dif32(float* x, const float* tw32, const float* tw16, const float* tw8) {
  dif32With<Fwd, Lanes256>(x, tw32, tw16, tw8);
}

// Two 4-point DIT leaves (one per vector), as the 128-bit leaf computes them.
template <bool Fwd>
inline void ditLeaf4x2(F8& z1, F8& z2) {
  const F8 ul = __builtin_shufflevector(z1, z2, ZQV_UNPACK_LO), uh = __builtin_shufflevector(z1, z2, ZQV_UNPACK_HI);
  // (x0, x2) and (x1, x3) of each vector, first vector in the low lane.
  const F8 a = __builtin_shufflevector(ul, ul, 0, 1, 4, 5, 2, 3, 6, 7);
  const F8 b = __builtin_shufflevector(uh, uh, 0, 1, 4, 5, 2, 3, 6, 7);
  const F8 s = a + b, d = a - b;
  const F8 pp = __builtin_shufflevector(s, d, ZQV_UNPACK_LO);
  const F8 sdHi = __builtin_shufflevector(s, d, ZQV_UNPACK_HI);
  const F8 q = __builtin_shufflevector(sdHi, sdHi, 0, 1, 3, 2, 4, 5, 7, 6) *
               (Fwd ? F8{1, 1, 1, -1, 1, 1, 1, -1} : F8{1, 1, -1, 1, 1, 1, -1, 1});
  const F8 o0 = pp + q, o1 = pp - q;
  z1 = __builtin_shufflevector(o0, o1, ZQV_LO_LO);
  z2 = __builtin_shufflevector(o0, o1, ZQV_HI_HI);
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
  static V swapRI(V a) { return __builtin_shufflevector(a, a, 1, 0, 3, 2); }
  static V dupRe(V a) { return __builtin_shufflevector(a, a, 0, 0, 2, 2); }
  static V dupIm(V a) { return __builtin_shufflevector(a, a, 1, 1, 3, 3); }
  static V addSub(V a, V b) { return __builtin_ia32_addsubpd256(a, b); }
  static V rev(V a) { return __builtin_shufflevector(a, a, 2, 3, 0, 1); }
  static V conj(V a) { return (V)((L4)a ^ L4{0, INT64_MIN, 0, INT64_MIN}); }
  static V negRe(V a) { return (V)((L4)a ^ L4{INT64_MIN, 0, INT64_MIN, 0}); }
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
  D4 z[8];
  for (int j = 0; j < 8; ++j) z[j] = ld(x + 4 * j);
  for (int g = 0; g < 8; g += 4) {
    const D4 x0 = __builtin_shufflevector(z[g], z[g + 2], 0, 1, 4, 5);
    const D4 x1 = __builtin_shufflevector(z[g], z[g + 2], 2, 3, 6, 7);
    const D4 x2 = __builtin_shufflevector(z[g + 1], z[g + 3], 0, 1, 4, 5);
    const D4 x3 = __builtin_shufflevector(z[g + 1], z[g + 3], 2, 3, 6, 7);
    const D4 y0 = x0 + x1, y1 = x0 - x1, y2 = x2 + x3, y3 = C::mulI(x2 - x3);
    const D4 o0 = y0 + y2, o2 = y0 - y2, o1 = Fwd ? y1 - y3 : y1 + y3, o3 = Fwd ? y1 + y3 : y1 - y3;
    z[g] = __builtin_shufflevector(o0, o1, 0, 1, 4, 5);
    z[g + 1] = __builtin_shufflevector(o2, o3, 0, 1, 4, 5);
    z[g + 2] = __builtin_shufflevector(o0, o1, 2, 3, 6, 7);
    z[g + 3] = __builtin_shufflevector(o2, o3, 2, 3, 6, 7);
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
