// The float unpack and merge passes' vector lanes (x86-64): the pair
// arithmetic over a kit of 128- or 256-bit operations, and the unpack's
// 256-bit walk built for AVX2 in its own file.
#ifndef ZQV_FFTCONVLANES_H
#define ZQV_FFTCONVLANES_H

#include <immintrin.h>

#include <cstddef>

#include "zqvp4.h"

namespace zqvfftconv {

// The float passes on bit-reversed data, two pairs per 128-bit lane. Of range h, the blocks of slots (h + 2j, h + 2j +
// 1) and (2h - 2 - 2j, 2h - 1 - 2j) hold two whole pairs, (h + 2j, 2h - 1 -
// 2j) and (2h - 2 - 2j, h + 2j + 1). Each lane computes the scalar pass's
// expressions (a sign flip and an addition stand for a subtraction), so the
// bits are those of the scalar pass. V is the 128- or 256-bit vector kit.
template <class V>
struct PairLanes {
  using F = typename V::F;
  // (-(wi o.re) - wr o.im, wr o.re - wi o.im) in each complex lane.
  static F rotated(F w, F o) noexcept {
    const F wr = V::template shuffle<2, 2, 0, 0>(w, w), wi = V::template shuffle<3, 3, 1, 1>(w, w);
    const F t1 = V::mul(wr, o), t2 = V::mul(wi, o);            // (wr o.re, wr o.im), (wi o.re, wi o.im)
    const F t1swap = V::template shuffle<2, 3, 0, 1>(t1, t1);  // (wr o.im, wr o.re)
    return V::add(V::flip(t2, V::signAll()), V::flip(t1swap, V::signRe()));
  }
  // a = (A1, A2), b = (B1, B2), w = (w1, w2) as complex pairs in each lane;
  // gives the new (A1, A2) and (B1, B2) of the unpack.
  static void split(F a, F b, F w, F& na, F& nb) noexcept {
    const F sum = V::add(a, b), diff = V::sub(a, b), reLanes = V::reMask(), half = V::set1(0.5f);
    const F e = V::mul(V::blend(reLanes, sum, diff), half);  // (er, ei)
    const F o = V::mul(V::blend(reLanes, diff, sum), half);  // (or, oi)
    const F uv = rotated(w, o);                              // (u, v)
    na = V::sub(e, uv);                                              // (er - u, ei - v)
    nb = V::add(V::flip(e, V::signIm()), V::flip(uv, V::signIm()));  // (er + u, -ei - v)
  }
  // The same for the merge.
  static void merge(F a, F b, F w, F& na, F& nb) noexcept {
    const F sum = V::add(a, b), diff = V::sub(a, b), reLanes = V::reMask();
    const F e = V::blend(reLanes, sum, diff);                        // (sum, diff)
    const F w12 = rotated(w, V::blend(reLanes, diff, sum));          // (w1, w2) from (p, q)
    na = V::add(e, w12);                                             // (sum + w1, diff + w2)
    nb = V::add(V::flip(e, V::signIm()), V::flip(w12, V::signRe()));  // (sum - w1, w2 - diff)
  }
};

struct Sse {
  using F = __m128;
  static F add(F a, F b) noexcept { return _mm_add_ps(a, b); }
  static F sub(F a, F b) noexcept { return _mm_sub_ps(a, b); }
  static F mul(F a, F b) noexcept { return _mm_mul_ps(a, b); }
  static F set1(float v) noexcept { return _mm_set1_ps(v); }
  static F flip(F a, F sign) noexcept { return _mm_xor_ps(a, sign); }
  static F blend(F mask, F yes, F no) noexcept { return _mm_or_ps(_mm_and_ps(mask, yes), _mm_andnot_ps(mask, no)); }
  static F reMask() noexcept { return _mm_castsi128_ps(_mm_setr_epi32(-1, 0, -1, 0)); }
  static F signAll() noexcept { return _mm_set1_ps(-0.0f); }
  static F signRe() noexcept { return _mm_setr_ps(-0.0f, 0.0f, -0.0f, 0.0f); }
  static F signIm() noexcept { return _mm_setr_ps(0.0f, -0.0f, 0.0f, -0.0f); }
  template <int A, int B, int C, int D>
  static F shuffle(F x, F y) noexcept { return _mm_shuffle_ps(x, y, _MM_SHUFFLE(A, B, C, D)); }
};

// Blocks j = 0, 2, 4, .. of range h (h >= 8) two at a time on 256 bits, where
// the CPU has AVX2; returns the first block left for the 128-bit walk.
std::size_t splitBlocksAvx2(float* f, std::size_t h, const ZqvCplxS* tw) noexcept;

}  // namespace zqvfftconv

#endif
