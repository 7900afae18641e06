// The interleaved complex FFT kernels on 512-bit vectors, for processors
// with AVX-512; chosen at run time. Short DIF problems and the first DIT
// stages run two problems side by side (one per 256-bit half) with the
// operations of the 256-bit kernels. The operations are those of the
// baseline build (no fused multiply-add; the add-subtract is a sign flip and
// an add, exact as in the narrow builds), so the results are the same.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "transforms/detail/zqvfftint.h"

// Every function below is built for these instructions (Clang spells the
// file-wide target differently).
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx512f,avx512dq,avx2"))), apply_to = function)
#else
#pragma GCC target("avx512f,avx512dq,avx2")
#endif

#include "transforms/detail/zqvfftv256.h"

namespace {
namespace zqvfv {

typedef float F16 __attribute__((vector_size(64)));
typedef double D8 __attribute__((vector_size(64)));
typedef int32_t I16 __attribute__((vector_size(64)));
typedef int64_t L8 __attribute__((vector_size(64)));

struct Wide512F {
  using T = float;
  using V = F16;
  using Narrow = AvxF;
  static constexpr std::size_t W = 8;
  // DIF problems from this length take the wide step.
  static constexpr std::size_t kWideFrom = 64;
  static constexpr bool kDif16 = false;
  static constexpr bool kDif32 = false;
  static constexpr bool kDit16 = true;
  static constexpr bool kNoAddSub = true;
  // DIF steps read the interleaved twiddles (half the L1 room).
  static constexpr bool kDifSplitTw = true;
  // Two 16-point groups side by side, one per 256-bit half.
  static constexpr std::size_t kDitPoints = 32;
  // The two quarter problems of 16 or 32 points after a DIF step, side by
  // side in the two halves.
  template <bool Fwd>
  static bool difPair(float* x, std::size_t len, const float* stage);
  template <bool Fwd>
  static bool difSmall(float*, std::size_t, const float*) {
    return false;
  }
  template <bool Fwd>
  static void dit16(float* x, const float* tw1, const float* tw2);
  static V ld(const float* p) {
    V v;
    std::memcpy(&v, p, sizeof v);
    return v;
  }
  static void st(float* p, V v) { std::memcpy(p, &v, sizeof v); }
  static V swapRI(V a) { return __builtin_shufflevector(a, a, 1, 0, 3, 2, 5, 4, 7, 6, 9, 8, 11, 10, 13, 12, 15, 14); }
  static V dupRe(V a) { return __builtin_shufflevector(a, a, 0, 0, 2, 2, 4, 4, 6, 6, 8, 8, 10, 10, 12, 12, 14, 14); }
  static V dupIm(V a) { return __builtin_shufflevector(a, a, 1, 1, 3, 3, 5, 5, 7, 7, 9, 9, 11, 11, 13, 13, 15, 15); }
  static V negRe(V a) { return (V)((I16)a ^ I16{kS, 0, kS, 0, kS, 0, kS, 0, kS, 0, kS, 0, kS, 0, kS, 0}); }
  static V conj(V a) { return (V)((I16)a ^ I16{0, kS, 0, kS, 0, kS, 0, kS, 0, kS, 0, kS, 0, kS, 0, kS}); }
  static constexpr int32_t kS = INT32_MIN;
  static V addSub(V a, V b) { return a + negRe(b); }
};

struct Wide512D {
  using T = double;
  using V = D8;
  using Narrow = AvxD;
  static constexpr std::size_t W = 4;
  static constexpr std::size_t kWideFrom = 64;
  static constexpr bool kDif16 = false;
  static constexpr bool kDif32 = false;
  static constexpr bool kDit16 = true;
  static constexpr bool kNoAddSub = true;
  static constexpr std::size_t kDitPoints = 32;
  template <bool Fwd>
  static void dit16(double* x, const double* tw1, const double* tw2);
  // 16 and 32 points in registers (each vector holds four complex values).
  template <bool Fwd>
  static bool difPair(double* x, std::size_t len, const double* stage);
  template <bool Fwd>
  static bool difSmall(double* x, std::size_t len, const double* stage);
  static V ld(const double* p) {
    V v;
    std::memcpy(&v, p, sizeof v);
    return v;
  }
  static void st(double* p, V v) { std::memcpy(p, &v, sizeof v); }
  static V swapRI(V a) { return __builtin_shufflevector(a, a, 1, 0, 3, 2, 5, 4, 7, 6); }
  static V dupRe(V a) { return __builtin_shufflevector(a, a, 0, 0, 2, 2, 4, 4, 6, 6); }
  static V dupIm(V a) { return __builtin_shufflevector(a, a, 1, 1, 3, 3, 5, 5, 7, 7); }
  static V negRe(V a) { return (V)((L8)a ^ L8{kS, 0, kS, 0, kS, 0, kS, 0}); }
  static V conj(V a) { return (V)((L8)a ^ L8{0, kS, 0, kS, 0, kS, 0, kS}); }
  static constexpr int64_t kS = INT64_MIN;
  static V addSub(V a, V b) { return a + negRe(b); }
};

// The first four DIT stages of two 16-point groups at once: group A in the
// low 256-bit half of each vector, group B in the high half, every half
// doing what the 256-bit kernel does on its group.
inline F16 pairHalves(const float* a, const float* b) {
  return __builtin_shufflevector(AvxF::ld(a), AvxF::ld(b), 0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15);
}
inline D8 pairHalves(const double* a, const double* b) {
  return __builtin_shufflevector(AvxD::ld(a), AvxD::ld(b), 0, 1, 2, 3, 4, 5, 6, 7);
}
inline void storeHalves(float* a, float* b, F16 v) {
  AvxF::st(a, __builtin_shufflevector(v, v, 0, 1, 2, 3, 4, 5, 6, 7));
  AvxF::st(b, __builtin_shufflevector(v, v, 8, 9, 10, 11, 12, 13, 14, 15));
}
inline void storeHalves(double* a, double* b, D8 v) {
  AvxD::st(a, __builtin_shufflevector(v, v, 0, 1, 2, 3));
  AvxD::st(b, __builtin_shufflevector(v, v, 4, 5, 6, 7));
}

// Lane masks of two-vector shuffles (index lists: the builtin takes constants).
#define ZQV_LO_LO2 0, 1, 2, 3, 16, 17, 18, 19, 8, 9, 10, 11, 24, 25, 26, 27
#define ZQV_HI_HI2 4, 5, 6, 7, 20, 21, 22, 23, 12, 13, 14, 15, 28, 29, 30, 31
#define ZQV_UNPACK_LO2 0, 1, 16, 17, 4, 5, 20, 21, 8, 9, 24, 25, 12, 13, 28, 29
#define ZQV_UNPACK_HI2 2, 3, 18, 19, 6, 7, 22, 23, 10, 11, 26, 27, 14, 15, 30, 31

template <bool Fwd>
inline void ditLeaf4x4(F16& z1, F16& z2) {
  const F16 ul = __builtin_shufflevector(z1, z2, ZQV_UNPACK_LO2), uh = __builtin_shufflevector(z1, z2, ZQV_UNPACK_HI2);
  const F16 a = __builtin_shufflevector(ul, ul, 0, 1, 4, 5, 2, 3, 6, 7, 8, 9, 12, 13, 10, 11, 14, 15);
  const F16 b = __builtin_shufflevector(uh, uh, 0, 1, 4, 5, 2, 3, 6, 7, 8, 9, 12, 13, 10, 11, 14, 15);
  const F16 s = a + b, d = a - b;
  const F16 pp = __builtin_shufflevector(s, d, ZQV_UNPACK_LO2);
  const F16 sdHi = __builtin_shufflevector(s, d, ZQV_UNPACK_HI2);
  const F16 q = __builtin_shufflevector(sdHi, sdHi, 0, 1, 3, 2, 4, 5, 7, 6, 8, 9, 11, 10, 12, 13, 15, 14) *
                (Fwd ? F16{1, 1, 1, -1, 1, 1, 1, -1, 1, 1, 1, -1, 1, 1, 1, -1}
                     : F16{1, 1, -1, 1, 1, 1, -1, 1, 1, 1, -1, 1, 1, 1, -1, 1});
  const F16 o0 = pp + q, o1 = pp - q;
  z1 = __builtin_shufflevector(o0, o1, ZQV_LO_LO2);
  z2 = __builtin_shufflevector(o0, o1, ZQV_HI_HI2);
}

// Lanes of the register DIF kernels for two problems of Gap / 2 points at
// x and x + Gap, one per 256-bit half.
template <std::size_t Gap>
struct LanesPair {
  using T = float;
  using V = F16;
  using Ops = Wide512F;
  static V loLo(V a, V b) { return __builtin_shufflevector(a, b, ZQV_LO_LO2); }
  static V hiHi(V a, V b) { return __builtin_shufflevector(a, b, ZQV_HI_HI2); }
  static V unpackLo(V a, V b) { return __builtin_shufflevector(a, b, ZQV_UNPACK_LO2); }
  static V unpackHi(V a, V b) { return __builtin_shufflevector(a, b, ZQV_UNPACK_HI2); }
  static V swapUpper(V a) {
    return __builtin_shufflevector(a, a, 0, 1, 3, 2, 4, 5, 7, 6, 8, 9, 11, 10, 12, 13, 15, 14);
  }
  static V dupLow(V a) { return __builtin_shufflevector(a, a, 0, 1, 0, 1, 4, 5, 4, 5, 8, 9, 8, 9, 12, 13, 12, 13); }
  static V dupHigh(V a) {
    return __builtin_shufflevector(a, a, 2, 3, 2, 3, 6, 7, 6, 7, 10, 11, 10, 11, 14, 15, 14, 15);
  }
  static V rep(F8 c) { return V{c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7], c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7]}; }
  static V tw(const float* p) { return pairHalves(p, p); }
  static V ldX(const float* x, std::size_t off) { return pairHalves(x + off, x + Gap + off); }
  static void stX(float* x, std::size_t off, V v) { storeHalves(x + off, x + Gap + off, v); }
};

template <bool Fwd>
inline bool Wide512F::difPair(float* x, std::size_t len, const float* stage) {
  if (len == 64) {
    // Two 64-point problems: their steps, the quarter pairs of each, then
    // both 32-point halves side by side.
    difStep<Fwd, Wide512F>(x, 64, difTw(stage, 64));
    difStep<Fwd, Wide512F>(x + 128, 64, difTw(stage, 64));
    dif16With<Fwd, LanesPair<32>>(x + 64, difTw(stage, 16), difTw(stage, 8));
    dif16With<Fwd, LanesPair<32>>(x + 192, difTw(stage, 16), difTw(stage, 8));
    dif32With<Fwd, LanesPair<128>>(x, difTw(stage, 32), difTw(stage, 16), difTw(stage, 8));
  } else if (len == 32) {
    dif32With<Fwd, LanesPair<64>>(x, difTw(stage, 32), difTw(stage, 16), difTw(stage, 8));
  } else if (len == 16) {
    dif16With<Fwd, LanesPair<32>>(x, difTw(stage, 16), difTw(stage, 8));
  } else {
    return false;
  }
  return true;
}

// Four complex doubles per vector, as four complex floats in the 256-bit
// kernels: the same register DIF kernels serve 16 and 32 points.
struct LanesD8 {
  using T = double;
  using V = D8;
  using Ops = Wide512D;
  static V loLo(V a, V b) { return __builtin_shufflevector(a, b, 0, 1, 2, 3, 8, 9, 10, 11); }
  static V hiHi(V a, V b) { return __builtin_shufflevector(a, b, 4, 5, 6, 7, 12, 13, 14, 15); }
  static V unpackLo(V a, V b) { return __builtin_shufflevector(a, b, 0, 1, 8, 9, 4, 5, 12, 13); }
  static V unpackHi(V a, V b) { return __builtin_shufflevector(a, b, 2, 3, 10, 11, 6, 7, 14, 15); }
  static V swapUpper(V a) { return __builtin_shufflevector(a, a, 0, 1, 3, 2, 4, 5, 7, 6); }
  static V dupLow(V a) { return __builtin_shufflevector(a, a, 0, 1, 0, 1, 4, 5, 4, 5); }
  static V dupHigh(V a) { return __builtin_shufflevector(a, a, 2, 3, 2, 3, 6, 7, 6, 7); }
  static V rep(F8 c) { return V{c[0], c[1], c[2], c[3], c[4], c[5], c[6], c[7]}; }
  static V tw(const double* p) { return Wide512D::ld(p); }
  static V ldX(const double* x, std::size_t off) { return Wide512D::ld(x + off); }
  static void stX(double* x, std::size_t off, V v) { Wide512D::st(x + off, v); }
};

template <bool Fwd>
inline bool Wide512D::difSmall(double* x, std::size_t len, const double* stage) {
  if (len == 32) dif32With<Fwd, LanesD8>(x, difTw(stage, 32), difTw(stage, 16), difTw(stage, 8));
  else if (len == 16) dif16With<Fwd, LanesD8>(x, difTw(stage, 16), difTw(stage, 8));
  else return false;
  return true;
}

template <bool Fwd>
inline bool Wide512D::difPair(double* x, std::size_t len, const double* stage) {
  if (len != 16 && len != 32) return false;
  difSmall<Fwd>(x, len, stage);
  difSmall<Fwd>(x + 2 * len, len, stage);
  return true;
}

template <bool Fwd>
inline void Wide512F::dit16(float* x, const float* tw1, const float* tw2) {
  using C = Cx<Wide512F>;
  float* const y = x + 32;
  F16 x0 = pairHalves(x, y), x1 = pairHalves(x + 8, y + 8);
  F16 x2 = pairHalves(x + 16, y + 16), x3 = pairHalves(x + 24, y + 24);
  ditLeaf4x4<Fwd>(x0, x1);
  ditLeaf4x4<Fwd>(x2, x3);
  const F16 w1 = pairHalves(tw1, tw1), w2 = pairHalves(tw2, tw2);
  const F16 t1 = C::cmul<Fwd>(x1, w1), t3 = C::cmul<Fwd>(x3, w1);
  const F16 y0 = x0 + t1, y1 = x0 - t1, y2 = x2 + t3, y3 = x2 - t3;
  const F16 u2 = C::cmul<Fwd>(y2, w2), u3 = C::cmul<Fwd>(y3, w2);
  const F16 v3 = Fwd ? C::mulMinusI(u3) : C::mulI(u3);
  storeHalves(x, y, y0 + u2);
  storeHalves(x + 16, y + 16, y0 - u2);
  storeHalves(x + 8, y + 8, y1 + v3);
  storeHalves(x + 24, y + 24, y1 - v3);
}

template <bool Fwd>
inline void Wide512D::dit16(double* x, const double* tw1, const double* tw2) {
  using C = Cx<Wide512D>;
  double* const y = x + 32;
  D8 z[8];
  for (int j = 0; j < 8; ++j) z[j] = pairHalves(x + 4 * j, y + 4 * j);
  for (int g = 0; g < 8; g += 4) {
    const D8 x0 = __builtin_shufflevector(z[g], z[g + 2], 0, 1, 8, 9, 4, 5, 12, 13);
    const D8 x1 = __builtin_shufflevector(z[g], z[g + 2], 2, 3, 10, 11, 6, 7, 14, 15);
    const D8 x2 = __builtin_shufflevector(z[g + 1], z[g + 3], 0, 1, 8, 9, 4, 5, 12, 13);
    const D8 x3 = __builtin_shufflevector(z[g + 1], z[g + 3], 2, 3, 10, 11, 6, 7, 14, 15);
    const D8 y0 = x0 + x1, y1 = x0 - x1, y2 = x2 + x3, y3 = C::mulI(x2 - x3);
    const D8 o0 = y0 + y2, o2 = y0 - y2, o1 = Fwd ? y1 - y3 : y1 + y3, o3 = Fwd ? y1 + y3 : y1 - y3;
    z[g] = __builtin_shufflevector(o0, o1, 0, 1, 8, 9, 4, 5, 12, 13);
    z[g + 1] = __builtin_shufflevector(o2, o3, 0, 1, 8, 9, 4, 5, 12, 13);
    z[g + 2] = __builtin_shufflevector(o0, o1, 2, 3, 10, 11, 6, 7, 14, 15);
    z[g + 3] = __builtin_shufflevector(o2, o3, 2, 3, 10, 11, 6, 7, 14, 15);
  }
  for (int k = 0; k < 2; ++k) {
    const D8 w1 = pairHalves(tw1 + 4 * k, tw1 + 4 * k), w2 = pairHalves(tw2 + 4 * k, tw2 + 4 * k);
    const D8 x0 = z[k], t1 = C::cmul<Fwd>(z[2 + k], w1);
    const D8 x2 = z[4 + k], t3 = C::cmul<Fwd>(z[6 + k], w1);
    const D8 y0 = x0 + t1, y1 = x0 - t1, y2 = x2 + t3, y3 = x2 - t3;
    const D8 u2 = C::cmul<Fwd>(y2, w2), u3 = C::cmul<Fwd>(y3, w2);
    const D8 v3 = Fwd ? C::mulMinusI(u3) : C::mulI(u3);
    storeHalves(x + 4 * k, y + 4 * k, y0 + u2);
    storeHalves(x + 16 + 4 * k, y + 16 + 4 * k, y0 - u2);
    storeHalves(x + 8 + 4 * k, y + 8 + 4 * k, y1 + v3);
    storeHalves(x + 24 + 4 * k, y + 24 + 4 * k, y1 - v3);
  }
}

}  // namespace zqvfv
}  // namespace

void zqvFftDifAvx512(float* x, std::size_t n, bool fwd, const float* stage) noexcept {
  zqvfv::difAll<zqvfv::Wide512F, zqvfv::SseF>(x, n, fwd, stage);
}
void zqvFftDifAvx512(double* x, std::size_t n, bool fwd, const double* stage) noexcept {
  zqvfv::difAll<zqvfv::Wide512D, zqvfv::SseD>(x, n, fwd, stage);
}
void zqvFftDitAvx512(float* x, std::size_t n, bool fwd, const float* stage, std::size_t blockLen) noexcept {
  zqvfv::ditAll<zqvfv::Wide512F, zqvfv::SseF>(x, n, fwd, stage, blockLen);
}
void zqvFftDitAvx512(double* x, std::size_t n, bool fwd, const double* stage, std::size_t blockLen) noexcept {
  zqvfv::ditAll<zqvfv::Wide512D, zqvfv::SseD>(x, n, fwd, stage, blockLen);
}

namespace {

typedef double D8r __attribute__((vector_size(64)));
typedef int64_t L8r __attribute__((vector_size(64)));

inline D8r ldRow(const unsigned char* p) {
  D8r v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
inline void stRow(unsigned char* p, D8r v) { std::memcpy(p, &v, sizeof v); }

inline std::size_t revNext512(std::size_t j, std::size_t n) {
  std::size_t h = n / 2;
  while (h != 0 && h <= j) {
    j -= h;
    h /= 2;
  }
  return j + h;
}

// Bit reversal through 8 x 8 tiles: with the index split into top, middle
// and bottom fields of 3, order - 6 and 3 bits, the tiles of middle b and of
// reversed middle rb are both read before either is written back transposed
// and reversed. Esz is the element size: 8 (a row is one vector) or 16 (two
// vectors, transposed in 4 x 4 blocks). Values are only moved.
template <std::size_t Esz>
void bitRevTile8x512(unsigned char* x, int32_t order) {
  constexpr std::size_t kParts = Esz / 8;
  const std::size_t mids = std::size_t{1} << (order - 6), stride = Esz << (order - 3), row = 8 * Esz;
  constexpr int rev3[8] = {0, 4, 2, 6, 1, 5, 3, 7};
  D8r t1[8][kParts], t2[8][kParts];
  auto load = [&](std::size_t b, D8r (&t)[8][kParts]) {
    for (int a = 0; a < 8; ++a)
      for (std::size_t h = 0; h < kParts; ++h) t[a][h] = ldRow(x + rev3[a] * stride + b * row + 64 * h);
  };
  auto store = [&](std::size_t b, const D8r (&t)[8][kParts]) {
    if constexpr (Esz == 8) {
      D8r a[8], c[8];
      for (int i = 0; i < 8; i += 2) {
        a[i] = __builtin_shufflevector(t[i][0], t[i + 1][0], 0, 8, 2, 10, 4, 12, 6, 14);
        a[i + 1] = __builtin_shufflevector(t[i][0], t[i + 1][0], 1, 9, 3, 11, 5, 13, 7, 15);
      }
      for (int i = 0; i < 8; i += 4)
        for (int j = 0; j < 2; ++j) {
          c[i + j] = __builtin_shufflevector(a[i + j], a[i + j + 2], 0, 1, 8, 9, 4, 5, 12, 13);
          c[i + j + 2] = __builtin_shufflevector(a[i + j], a[i + j + 2], 2, 3, 10, 11, 6, 7, 14, 15);
        }
      for (int j = 0; j < 4; ++j) {
        stRow(x + rev3[j] * stride + b * row, __builtin_shufflevector(c[j], c[j + 4], 0, 1, 2, 3, 8, 9, 10, 11));
        stRow(x + rev3[j + 4] * stride + b * row, __builtin_shufflevector(c[j], c[j + 4], 4, 5, 6, 7, 12, 13, 14, 15));
      }
    } else {
      for (int hr = 0; hr < 2; ++hr)
        for (int hc = 0; hc < 2; ++hc) {
          // Rows 4hr.. of the tile, columns 4hc..: rows 4hc.. of the result, columns 4hr...
          const D8r* r0 = &t[4 * hr][hc];
          const D8r r[4] = {r0[0], r0[kParts], r0[2 * kParts], r0[3 * kParts]};
          const D8r u0 = __builtin_shufflevector(r[0], r[1], 0, 1, 8, 9, 4, 5, 12, 13);
          const D8r u1 = __builtin_shufflevector(r[0], r[1], 2, 3, 10, 11, 6, 7, 14, 15);
          const D8r u2 = __builtin_shufflevector(r[2], r[3], 0, 1, 8, 9, 4, 5, 12, 13);
          const D8r u3 = __builtin_shufflevector(r[2], r[3], 2, 3, 10, 11, 6, 7, 14, 15);
          const D8r o[4] = {__builtin_shufflevector(u0, u2, 0, 1, 2, 3, 8, 9, 10, 11),
                            __builtin_shufflevector(u1, u3, 0, 1, 2, 3, 8, 9, 10, 11),
                            __builtin_shufflevector(u0, u2, 4, 5, 6, 7, 12, 13, 14, 15),
                            __builtin_shufflevector(u1, u3, 4, 5, 6, 7, 12, 13, 14, 15)};
          for (int c = 0; c < 4; ++c) stRow(x + rev3[4 * hc + c] * stride + b * row + 64 * hr, o[c]);
        }
    }
  };
  std::size_t rb = 0;
  for (std::size_t b = 0; b < mids; ++b, rb = revNext512(rb, mids)) {
    if (rb < b) continue;
    load(b, t1);
    if (rb != b) {
      load(rb, t2);
      store(b, t2);
    }
    store(rb, t1);
  }
}

}  // namespace

void zqvcBitRevAvx512(ZqvCplxS* data, int32_t order) noexcept {
  bitRevTile8x512<8>(reinterpret_cast<unsigned char*>(data), order);
}
void zqvzBitRevAvx512(ZqvCplxD* data, int32_t order) noexcept {
  bitRevTile8x512<16>(reinterpret_cast<unsigned char*>(data), order);
}

#if defined(__clang__)
#pragma clang attribute pop
#endif
