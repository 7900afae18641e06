// Vector kernels of the interleaved complex FFTs, written once over a vector
// width. Every includer gets its own copy (unnamed namespace), so the wide
// builds in zqvfftavx.cpp and zqvfftavx512.cpp never replace the baseline
// build at link time. Twiddles come from the per-stage tables (contiguous per
// stage). All widths perform the same operations in the same order, so
// results do not depend on which one runs.
#ifndef ZQV_FFTVEC_H
#define ZQV_FFTVEC_H

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <type_traits>

namespace {
namespace zqvfv {

typedef float F4 __attribute__((vector_size(16)));
typedef double D2 __attribute__((vector_size(16)));
typedef int32_t I4 __attribute__((vector_size(16)));
typedef int64_t L2 __attribute__((vector_size(16)));

template <class O, class = void>
inline constexpr bool kFoldSign = false;
template <class O>
inline constexpr bool kFoldSign<O, std::void_t<decltype(O::kNoAddSub)>> = O::kNoAddSub;

// Widths with their own register kernels for the two adjacent quarter
// problems after a DIF step (difPair) and for the last short problem
// (difSmall); each returns false for lengths it leaves to the narrow build.
template <class O, class = void>
inline constexpr bool kDifPairs = false;
template <class O>
inline constexpr bool kDifPairs<O, std::void_t<decltype(&O::template difPair<true>)>> = true;

// Points one call of a width's dit16 covers (wide builds take two groups).
template <class O, class = void>
inline constexpr std::size_t kDitGroup = 16;
template <class O>
inline constexpr std::size_t kDitGroup<O, std::void_t<decltype(O::kDitPoints)>> = O::kDitPoints;

// Widths whose in-block DIT passes read interleaved twiddles and split them
// in registers: on 512-bit vectors the doubled-up tables cost more in loads
// and L1 room than the shuffles do (the products are the same either way).
template <class O, class = void>
inline constexpr bool kInterleavedTw = false;
template <class O>
inline constexpr bool kInterleavedTw<O, std::void_t<decltype(O::kDitPoints)>> = true;
// The same for the DIF steps, where the width asks for it (measured: complex
// floats on 512-bit vectors gain, complex doubles do not).
template <class O, class = void>
inline constexpr bool kDifInterleavedTw = false;
template <class O>
inline constexpr bool kDifInterleavedTw<O, std::void_t<decltype(O::kDifSplitTw)>> = O::kDifSplitTw;

// Operations on one vector of complex values; O supplies ld, st, swapRI,
// dupRe, dupIm and addSub (a - b in real lanes, a + b in imaginary lanes).
template <class O>
struct Cx : O {
  using V = typename O::V;
  // i a and -i a: a swap and a sign multiply (kept off the adders, which
  // carry most of the butterflies' work).
  static V mulI(V a) { return O::negRe(O::swapRI(a)); }
  static V mulMinusI(V a) { return O::conj(O::swapRI(a)); }
  // a w (Fwd) or a conj(w)
  template <bool Fwd>
  static V cmul(V a, V w) {
    return cmulSplit<Fwd>(a, O::dupRe(w), O::dupIm(w));
  }
  // The same with the twiddles' real and imaginary parts already doubled up.
  template <bool Fwd>
  static V cmulSplit(V a, V wr, V wi) {
    // Without an add-subtract instruction the sign goes onto the twiddle
    // (shared by the products that use it); the sums are the same.
    if constexpr (kFoldSign<O>) return a * wr + O::swapRI(a) * (Fwd ? O::negRe(wi) : O::conj(wi));
    else return O::addSub(a * wr, O::swapRI(a) * (Fwd ? wi : -wi));
  }
};

struct SseF {
  using T = float;
  using V = F4;
  static constexpr std::size_t W = 2;
  static constexpr bool kDif16 = false;
  static constexpr bool kDif32 = false;
  static constexpr bool kDit16 = false;
  static V ld(const float* p) {
    V v;
    std::memcpy(&v, p, sizeof v);
    return v;
  }
  static void st(float* p, V v) { std::memcpy(p, &v, sizeof v); }
  static V zero() { return V{0.0f, 0.0f, 0.0f, 0.0f}; }
  static V swapRI(V a) { return __builtin_shufflevector(a, a, 1, 0, 3, 2); }
  static V dupRe(V a) { return __builtin_shufflevector(a, a, 0, 0, 2, 2); }
  static V dupIm(V a) { return __builtin_shufflevector(a, a, 1, 1, 3, 3); }
  static V addSub(V a, V b) { return a + b * V{-1.0f, 1.0f, -1.0f, 1.0f}; }
  static V rev(V a) { return __builtin_shufflevector(a, a, 2, 3, 0, 1); }
  // Sign flips as bit operations: exact, and the same in every width.
  static V conj(V a) { return (V)((I4)a ^ I4{0, INT32_MIN, 0, INT32_MIN}); }
  static V negRe(V a) { return (V)((I4)a ^ I4{INT32_MIN, 0, INT32_MIN, 0}); }
};

struct SseD {
  using T = double;
  using V = D2;
  static constexpr std::size_t W = 1;
  static constexpr bool kDif16 = false;
  static constexpr bool kDif32 = false;
  static constexpr bool kDit16 = false;
  static V ld(const double* p) {
    V v;
    std::memcpy(&v, p, sizeof v);
    return v;
  }
  static void st(double* p, V v) { std::memcpy(p, &v, sizeof v); }
  static V zero() { return V{0.0, 0.0}; }
  static V swapRI(V a) { return __builtin_shufflevector(a, a, 1, 0); }
  static V dupRe(V a) { return __builtin_shufflevector(a, a, 0, 0); }
  static V dupIm(V a) { return __builtin_shufflevector(a, a, 1, 1); }
  static V addSub(V a, V b) { return a + b * V{-1.0, 1.0}; }
  static V rev(V a) { return a; }
  static V conj(V a) { return (V)((L2)a ^ L2{0, INT64_MIN}); }
  static V negRe(V a) { return (V)((L2)a ^ L2{INT64_MIN, 0}); }
};

// ---- leaves (narrow vectors) ----

// Multiplies the upper complex value of v by -i (Fwd) or +i.
template <bool Fwd>
inline F4 upperTimesMinusI(F4 v) {
  return __builtin_shufflevector(v, v, 0, 1, 3, 2) *
         (Fwd ? F4{1.0f, 1.0f, 1.0f, -1.0f} : F4{1.0f, 1.0f, -1.0f, 1.0f});
}

// 4-point decimation in frequency, output bit-reversed.
template <bool Fwd>
inline void difLeaf4(float* p) {
  const F4 v0 = SseF::ld(p), v1 = SseF::ld(p + 4);
  const F4 s = v0 + v1, u = v0 - v1;
  const F4 a = __builtin_shufflevector(s, u, 0, 1, 4, 5);
  const F4 b = upperTimesMinusI<Fwd>(__builtin_shufflevector(s, u, 2, 3, 6, 7));
  const F4 o0 = a + b, o1 = a - b;
  SseF::st(p, __builtin_shufflevector(o0, o1, 0, 1, 4, 5));
  SseF::st(p + 4, __builtin_shufflevector(o0, o1, 2, 3, 6, 7));
}

template <bool Fwd>
inline void difLeaf4(double* p) {
  using C = Cx<SseD>;
  const D2 a = SseD::ld(p), b = SseD::ld(p + 2), c = SseD::ld(p + 4), d = SseD::ld(p + 6);
  const D2 s0 = a + c, s1 = b + d, u = a - c, v = C::mulI(b - d);
  SseD::st(p, s0 + s1);
  SseD::st(p + 2, s0 - s1);
  SseD::st(p + 4, Fwd ? u - v : u + v);
  SseD::st(p + 6, Fwd ? u + v : u - v);
}

// Two 2-point butterflies.
inline void leaf2x2(float* p) {
  const F4 v0 = SseF::ld(p), v1 = SseF::ld(p + 4);
  const F4 sign{1.0f, 1.0f, -1.0f, -1.0f};
  SseF::st(p, __builtin_shufflevector(v0, v0, 0, 1, 0, 1) + __builtin_shufflevector(v0, v0, 2, 3, 2, 3) * sign);
  SseF::st(p + 4, __builtin_shufflevector(v1, v1, 0, 1, 0, 1) + __builtin_shufflevector(v1, v1, 2, 3, 2, 3) * sign);
}

inline void leaf2x2(double* p) {
  for (int j = 0; j < 2; ++j) {
    const D2 a = SseD::ld(p + 4 * j), b = SseD::ld(p + 4 * j + 2);
    SseD::st(p + 4 * j, a + b);
    SseD::st(p + 4 * j + 2, a - b);
  }
}

inline void leaf2(float* p) {
  const float ar = p[0], ai = p[1], br = p[2], bi = p[3];
  p[0] = ar + br;
  p[1] = ai + bi;
  p[2] = ar - br;
  p[3] = ai - bi;
}

inline void leaf2(double* p) {
  const D2 a = SseD::ld(p), b = SseD::ld(p + 2);
  SseD::st(p, a + b);
  SseD::st(p + 2, a - b);
}

// 4-point decimation in time, input bit-reversed.
template <bool Fwd>
inline void ditLeaf4(float* p) {
  const F4 v0 = SseF::ld(p), v1 = SseF::ld(p + 4);
  const F4 a = __builtin_shufflevector(v0, v1, 0, 1, 4, 5), b = __builtin_shufflevector(v0, v1, 2, 3, 6, 7);
  const F4 s = a + b, d = a - b;
  const F4 pp = __builtin_shufflevector(s, d, 0, 1, 4, 5);
  const F4 q = upperTimesMinusI<Fwd>(__builtin_shufflevector(s, d, 2, 3, 6, 7));
  SseF::st(p, pp + q);
  SseF::st(p + 4, pp - q);
}

template <bool Fwd>
inline void ditLeaf4(double* p) {
  using C = Cx<SseD>;
  const D2 x0 = SseD::ld(p), x1 = SseD::ld(p + 2), x2 = SseD::ld(p + 4), x3 = SseD::ld(p + 6);
  const D2 y0 = x0 + x1, y1 = x0 - x1, y2 = x2 + x3, y3 = C::mulI(x2 - x3);
  SseD::st(p, y0 + y2);
  SseD::st(p + 4, y0 - y2);
  SseD::st(p + 2, Fwd ? y1 - y3 : y1 + y3);
  SseD::st(p + 6, Fwd ? y1 + y3 : y1 - y3);
}

// ---- decimation in frequency (natural in, bit-reversed out) ----

// Stage table of a DIF order: for each length L = 8..n, at element offset
// 3L - 24, four runs of L/2 elements: the real parts of w_L^k (k < L/4) each
// stored twice, their imaginary parts likewise, then the same for w_L^(3k);
// then w_L^k and w_L^(3k) as complex values, L/2 elements each (half the
// room, for the widths that split them in registers).
template <class T>
inline const T* difTw(const T* stage, std::size_t len) {
  return stage + (3 * len - 24);
}

// One L-shaped step on [o, o + len): the first half becomes the half-length
// problem, the last two quarters the two quarter-length problems.
template <bool Fwd, class O>
inline void difStep(typename O::T* x, std::size_t len, const typename O::T* tw) {
  using C = Cx<O>;
  using V = typename O::V;
  const std::size_t qn = len / 4;
  typename O::T* const p0 = x;
  typename O::T* const p1 = x + 2 * qn;
  typename O::T* const p2 = x + 4 * qn;
  typename O::T* const p3 = x + 6 * qn;
  const typename O::T* const ti1 = tw + 2 * qn;
  const typename O::T* const tr3 = tw + 4 * qn;
  const typename O::T* const ti3 = tw + 6 * qn;
  const typename O::T* const w1 = tw + 8 * qn;
  const typename O::T* const w3 = tw + 10 * qn;
  for (std::size_t k = 0; k < 2 * qn; k += 2 * O::W) {
    const V a = O::ld(p0 + k), b = O::ld(p1 + k), c = O::ld(p2 + k), d = O::ld(p3 + k);
    O::st(p0 + k, a + c);
    O::st(p1 + k, b + d);
    const V u = a - c, v = C::mulI(b - d);
    if constexpr (kDifInterleavedTw<O>) {
      O::st(p2 + k, C::template cmul<Fwd>(Fwd ? u - v : u + v, O::ld(w1 + k)));
      O::st(p3 + k, C::template cmul<Fwd>(Fwd ? u + v : u - v, O::ld(w3 + k)));
    } else {
      O::st(p2 + k, C::template cmulSplit<Fwd>(Fwd ? u - v : u + v, O::ld(tw + k), O::ld(ti1 + k)));
      O::st(p3 + k, C::template cmulSplit<Fwd>(Fwd ? u + v : u - v, O::ld(tr3 + k), O::ld(ti3 + k)));
    }
  }
}

// Problems of up to 32 points as straight-line code.
template <bool Fwd, class OW, class ON, std::size_t Len>
__attribute__((always_inline)) inline void difFixed(typename OW::T* x, const typename OW::T* stage) {
  if constexpr (Len == 2) {
    leaf2(x);
  } else if constexpr (Len == 4) {
    difLeaf4<Fwd>(x);
  } else if constexpr (Len == 32 && OW::kDif32) {
    OW::template dif32<Fwd>(x, difTw(stage, 32), difTw(stage, 16), difTw(stage, 8));
  } else if constexpr (Len == 16 && OW::kDif16) {
    OW::template dif16<Fwd>(x, difTw(stage, 16), difTw(stage, 8));
  } else if constexpr (Len == 8) {
    if constexpr (OW::W <= 2) difStep<Fwd, OW>(x, 8, difTw(stage, 8));
    else difStep<Fwd, ON>(x, 8, difTw(stage, 8));
    difLeaf4<Fwd>(x);
    leaf2x2(x + 8);
  } else {
    if constexpr (Len / 4 >= OW::W) difStep<Fwd, OW>(x, Len, difTw(stage, Len));
    else difStep<Fwd, ON>(x, Len, difTw(stage, Len));
    difFixed<Fwd, OW, ON, Len / 2>(x, stage);
    difFixed<Fwd, OW, ON, Len / 4>(x + Len, stage);
    difFixed<Fwd, OW, ON, Len / 4>(x + Len + Len / 2, stage);
  }
}

// Widths with a Narrow member hand problems shorter than kWideFrom to it.
template <class O, class = void>
struct HasNarrow : std::false_type {};
template <class O>
struct HasNarrow<O, std::void_t<typename O::Narrow>> : std::true_type {};

template <bool Fwd, class OW, class ON>
void difRec(typename OW::T* x, std::size_t len, const typename OW::T* stage) {
  if constexpr (HasNarrow<OW>::value) {
    while (len >= OW::kWideFrom) {
      difStep<Fwd, OW>(x, len, difTw(stage, len));
      if constexpr (kDifPairs<OW>) {
        if (OW::template difPair<Fwd>(x + len, len / 4, stage)) {
          len /= 2;
          continue;
        }
      }
      difRec<Fwd, OW, ON>(x + len, len / 4, stage);
      difRec<Fwd, OW, ON>(x + len + len / 2, len / 4, stage);
      len /= 2;
    }
    if constexpr (kDifPairs<OW>) {
      if (OW::template difSmall<Fwd>(x, len, stage)) return;
    }
    difRec<Fwd, typename OW::Narrow, ON>(x, len, stage);
    return;
  }
  while (len >= 64) {
    difStep<Fwd, OW>(x, len, difTw(stage, len));
    difRec<Fwd, OW, ON>(x + len, len / 4, stage);
    difRec<Fwd, OW, ON>(x + len + len / 2, len / 4, stage);
    len /= 2;
  }
  switch (len) {
    case 32: difFixed<Fwd, OW, ON, 32>(x, stage); break;
    case 16: difFixed<Fwd, OW, ON, 16>(x, stage); break;
    case 8: difFixed<Fwd, OW, ON, 8>(x, stage); break;
    case 4: difFixed<Fwd, OW, ON, 4>(x, stage); break;
    case 2: difFixed<Fwd, OW, ON, 2>(x, stage); break;
    default: break;
  }
}

// ---- decimation in time (bit-reversed in, natural out) ----

// Stage table of a DIT order: for each half-span h = 1..n/2, at complex
// offset h, w_(2h)^k for k < h; then, from element 2n, the in-block region
// with the stages h < B doubled up (see ditRadix4Dup).

template <bool Fwd, class O>
inline void ditRadix2(typename O::T* x, std::size_t h, std::size_t k0, std::size_t k1, const typename O::T* tw) {
  using C = Cx<O>;
  using V = typename O::V;
  typename O::T* const p1 = x + 2 * h;
  for (std::size_t k = 2 * k0; k < 2 * k1; k += 2 * O::W) {
    const V a = O::ld(x + k), b = C::template cmul<Fwd>(O::ld(p1 + k), O::ld(tw + k));
    O::st(x + k, a + b);
    O::st(p1 + k, a - b);
  }
}

// Two radix-2 stages at once: spans 2h and 4h, twiddles w_(2h)^k and w_(4h)^k
// (w_(4h)^(k+h) is -i w_(4h)^k).
template <bool Fwd, class O>
inline void ditRadix4(typename O::T* x, std::size_t h, std::size_t k0, std::size_t k1, const typename O::T* tw1,
                      const typename O::T* tw2) {
  using C = Cx<O>;
  using V = typename O::V;
  typename O::T* const p1 = x + 2 * h;
  typename O::T* const p2 = x + 4 * h;
  typename O::T* const p3 = x + 6 * h;
  for (std::size_t k = 2 * k0; k < 2 * k1; k += 2 * O::W) {
    const V w1 = O::ld(tw1 + k), w2 = O::ld(tw2 + k);
    const V x0 = O::ld(x + k), t1 = C::template cmul<Fwd>(O::ld(p1 + k), w1);
    const V x2 = O::ld(p2 + k), t3 = C::template cmul<Fwd>(O::ld(p3 + k), w1);
    const V y0 = x0 + t1, y1 = x0 - t1, y2 = x2 + t3, y3 = x2 - t3;
    const V u2 = C::template cmul<Fwd>(y2, w2), u3 = C::template cmul<Fwd>(y3, w2);
    const V v3 = Fwd ? C::mulMinusI(u3) : C::mulI(u3);
    O::st(x + k, y0 + u2);
    O::st(p2 + k, y0 - u2);
    O::st(p1 + k, y1 + v3);
    O::st(p3 + k, y1 - v3);
  }
}

// Three radix-2 stages at once: spans 2h, 4h and 8h. Twiddles w_(2h)^k,
// w_(4h)^k and w_(8h)^k, w_(8h)^(k+h) from the table (the rest by the -i
// relation), so one pass over the array does the work of three.
template <bool Fwd, class O>
inline void ditRadix8(typename O::T* x, std::size_t h, std::size_t k0, std::size_t k1, const typename O::T* tw1,
                      const typename O::T* tw2, const typename O::T* tw3) {
  using C = Cx<O>;
  using V = typename O::V;
  using T = typename O::T;
  T* const p[8] = {x, x + 2 * h, x + 4 * h, x + 6 * h, x + 8 * h, x + 10 * h, x + 12 * h, x + 14 * h};
  const T* const tw3b = tw3 + 2 * h;
  for (std::size_t k = 2 * k0; k < 2 * k1; k += 2 * O::W) {
    V a[8];
    const V w1 = O::ld(tw1 + k);
    for (int j = 0; j < 8; j += 2) {
      const V u = O::ld(p[j] + k), t = C::template cmul<Fwd>(O::ld(p[j + 1] + k), w1);
      a[j] = u + t;
      a[j + 1] = u - t;
    }
    const V w2 = O::ld(tw2 + k);
    for (int j = 0; j < 8; j += 4) {
      const V t0 = C::template cmul<Fwd>(a[j + 2], w2), t1 = C::template cmul<Fwd>(a[j + 3], w2);
      const V v1 = Fwd ? C::mulMinusI(t1) : C::mulI(t1);
      const V b0 = a[j], b1 = a[j + 1];
      a[j] = b0 + t0;
      a[j + 2] = b0 - t0;
      a[j + 1] = b1 + v1;
      a[j + 3] = b1 - v1;
    }
    const V wa = O::ld(tw3 + k), wb = O::ld(tw3b + k);
    const V t0 = C::template cmul<Fwd>(a[4], wa), t1 = C::template cmul<Fwd>(a[5], wb);
    const V t2 = C::template cmul<Fwd>(a[6], wa), t3 = C::template cmul<Fwd>(a[7], wb);
    const V v2 = Fwd ? C::mulMinusI(t2) : C::mulI(t2), v3 = Fwd ? C::mulMinusI(t3) : C::mulI(t3);
    O::st(p[0] + k, a[0] + t0);
    O::st(p[4] + k, a[0] - t0);
    O::st(p[1] + k, a[1] + t1);
    O::st(p[5] + k, a[1] - t1);
    O::st(p[2] + k, a[2] + v2);
    O::st(p[6] + k, a[2] - v2);
    O::st(p[3] + k, a[3] + v3);
    O::st(p[7] + k, a[3] - v3);
  }
}

// The same over a whole group with the doubled-up in-block twiddles: stage
// h has the real parts of w_(2h)^k (each twice) at element offset 4h and the
// imaginary parts at 6h of the in-block region.
template <bool Fwd, class O>
inline void ditRadix4Dup(typename O::T* x, std::size_t h, const typename O::T* dup) {
  using C = Cx<O>;
  using V = typename O::V;
  using T = typename O::T;
  T* const p1 = x + 2 * h;
  T* const p2 = x + 4 * h;
  T* const p3 = x + 6 * h;
  const T* const r1 = dup + 4 * h;
  const T* const i1 = dup + 6 * h;
  const T* const r2 = dup + 8 * h;
  const T* const i2 = dup + 12 * h;
  for (std::size_t k = 0; k < 2 * h; k += 2 * O::W) {
    const V wr1 = O::ld(r1 + k), wi1 = O::ld(i1 + k), wr2 = O::ld(r2 + k), wi2 = O::ld(i2 + k);
    const V x0 = O::ld(x + k), t1 = C::template cmulSplit<Fwd>(O::ld(p1 + k), wr1, wi1);
    const V x2 = O::ld(p2 + k), t3 = C::template cmulSplit<Fwd>(O::ld(p3 + k), wr1, wi1);
    const V y0 = x0 + t1, y1 = x0 - t1, y2 = x2 + t3, y3 = x2 - t3;
    const V u2 = C::template cmulSplit<Fwd>(y2, wr2, wi2), u3 = C::template cmulSplit<Fwd>(y3, wr2, wi2);
    const V v3 = Fwd ? C::mulMinusI(u3) : C::mulI(u3);
    O::st(x + k, y0 + u2);
    O::st(p2 + k, y0 - u2);
    O::st(p1 + k, y1 + v3);
    O::st(p3 + k, y1 - v3);
  }
}

template <bool Fwd, class OW, class ON>
void ditKernel(typename OW::T* x, std::size_t n, const typename OW::T* stage, std::size_t blockLen) {
  using T = typename OW::T;
  const std::size_t blk = n < blockLen ? n : blockLen;
  std::size_t hEnd = 4;
  for (std::size_t b0 = 0; b0 < n; b0 += blk) {
    T* const xb = x + 2 * b0;
    std::size_t h = 4;
    if constexpr (OW::kDit16) {
      for (std::size_t g = 0; g < blk; g += kDitGroup<OW>) OW::template dit16<Fwd>(xb + 2 * g, stage + 8, stage + 16);
      h = 16;
    } else {
      for (std::size_t g = 0; g < blk; g += 4) ditLeaf4<Fwd>(xb + 2 * g);
    }
    for (; 4 * h <= blk; h *= 4)
      for (std::size_t g = 0; g < blk; g += 4 * h) {
        if constexpr (kInterleavedTw<OW>) ditRadix4<Fwd, OW>(xb + 2 * g, h, 0, h, stage + 2 * h, stage + 4 * h);
        else ditRadix4Dup<Fwd, OW>(xb + 2 * g, h, stage + 2 * n);
      }
    if (h < blk) {
      for (std::size_t g = 0; g < blk; g += 2 * h) ditRadix2<Fwd, OW>(xb + 2 * g, h, 0, h, stage + 2 * h);
      h *= 2;
    }
    hEnd = h;
  }
  constexpr std::size_t kStrip = 256;
  // Outer passes: radix 8 where it leaves no lone radix-2 pass, else radix 4,
  // radix 2 only for a single stage; fewer sweeps through the cache.
  for (std::size_t h = hEnd; h < n;) {
    const std::size_t left = n / h;
    const std::size_t radix = left == 2 ? 2 : (left == 4 || left == 16) ? 4 : 8;
    for (std::size_t k0 = 0; k0 < h; k0 += kStrip) {
      const std::size_t k1 = k0 + kStrip < h ? k0 + kStrip : h;
      if (radix == 8) {
        for (std::size_t g = 0; g < n; g += 8 * h)
          ditRadix8<Fwd, OW>(x + 2 * g, h, k0, k1, stage + 2 * h, stage + 4 * h, stage + 8 * h);
      } else if (radix == 4) {
        for (std::size_t g = 0; g < n; g += 4 * h)
          ditRadix4<Fwd, OW>(x + 2 * g, h, k0, k1, stage + 2 * h, stage + 4 * h);
      } else {
        for (std::size_t g = 0; g < n; g += 2 * h) ditRadix2<Fwd, OW>(x + 2 * g, h, k0, k1, stage + 2 * h);
      }
    }
    h *= radix;
  }
}

// Entry points: natural in, bit-reversed out (n <= 2^11) and bit-reversed in,
// natural out (blocked). n >= 2.
template <class OW, class ON>
void difAll(typename OW::T* x, std::size_t n, bool fwd, const typename OW::T* stage) {
  if (fwd) difRec<true, OW, ON>(x, n, stage);
  else difRec<false, OW, ON>(x, n, stage);
}

template <class OW, class ON>
void ditAll(typename OW::T* x, std::size_t n, bool fwd, const typename OW::T* stage, std::size_t blockLen) {
  if (fwd) ditKernel<true, OW, ON>(x, n, stage, blockLen);
  else ditKernel<false, OW, ON>(x, n, stage, blockLen);
}

// ---- real-transform passes ----

// Vector part of the real unpack pass over pairs (k, m - k) from k = 1 while
// both runs of W values stay apart; returns the first k left to the caller.
// Same operations per value as the scalar pass.
template <class O>
std::size_t unpackVec(typename O::T* x, std::size_t m, bool fwd, const typename O::T* split) {
  using V = typename O::V;
  constexpr std::size_t W = O::W;
  std::size_t k = 1;
  for (; 2 * k + 2 * W <= m + 1; k += W) {
    typename O::T* const pk = x + 2 * k;
    typename O::T* const pj = x + 2 * (m - k - W + 1);
    const V a = O::ld(pk), b = O::rev(O::ld(pj)), t = O::ld(split + 2 * (k - 1));
    const V pq = O::addSub(a, b), sw = O::swapRI(pq), c = O::dupRe(t), s = O::dupIm(t);
    if (fwd) {
      const V ri = O::addSub(s * pq, -(c * sw));
      O::st(pk, O::addSub(ri, -b));
      O::st(pj, O::rev(O::conj(a - ri)));
    } else {
      const V ri = O::addSub(c * sw, s * pq);
      O::st(pk, O::addSub(a, -ri));
      O::st(pj, O::rev(b - ri));
    }
  }
  return k;
}

// Vector part of the merge pass before the inverse real transform (half is
// the half table of the full order); returns the first k left to the caller.
template <class O>
std::size_t mergeVec(typename O::T* x, std::size_t m, bool fwd, const typename O::T* half) {
  using V = typename O::V;
  constexpr std::size_t W = O::W;
  std::size_t k = 1;
  for (; 2 * k + 2 * W <= m + 1; k += W) {
    typename O::T* const pk = x + 2 * k;
    typename O::T* const pj = x + 2 * (m - k - W + 1);
    const V a = O::ld(pk), b = O::rev(O::ld(pj)), h = O::ld(half + 2 * k);
    const V pq = O::addSub(a, b), tr = O::addSub(a, -b), cc = O::dupRe(h), si = O::dupIm(h);
    const V ri = O::addSub((fwd ? -si : si) * pq, cc * O::swapRI(pq));
    O::st(pk, tr + ri);
    O::st(pj, O::rev(O::conj(tr - ri)));
  }
  return k;
}

}  // namespace zqvfv
}  // namespace

#endif
