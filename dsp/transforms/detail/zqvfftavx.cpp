// The interleaved complex FFT kernels on 256-bit vectors, for processors
// with AVX2; chosen at run time. The operations are those of the baseline
// build (no fused multiply-add), so the results are the same.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "transforms/detail/zqvfftint.h"

// Every function below is built for these instructions (Clang spells the
// file-wide target differently).
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC target("avx2")
#endif

#include "transforms/detail/zqvfftv256.h"

void zqvFftDifAvx(float* x, std::size_t n, bool fwd, const float* stage) noexcept {
  zqvfv::difAll<zqvfv::AvxF, zqvfv::SseF>(x, n, fwd, stage);
}
void zqvFftDifAvx(double* x, std::size_t n, bool fwd, const double* stage) noexcept {
  zqvfv::difAll<zqvfv::AvxD, zqvfv::SseD>(x, n, fwd, stage);
}
void zqvFftDitAvx(float* x, std::size_t n, bool fwd, const float* stage, std::size_t blockLen) noexcept {
  zqvfv::ditAll<zqvfv::AvxF, zqvfv::SseF>(x, n, fwd, stage, blockLen);
}
void zqvFftDitAvx(double* x, std::size_t n, bool fwd, const double* stage, std::size_t blockLen) noexcept {
  zqvfv::ditAll<zqvfv::AvxD, zqvfv::SseD>(x, n, fwd, stage, blockLen);
}
std::size_t zqvRealUnpackAvx(float* x, std::size_t m, bool fwd, const float* split) noexcept {
  return zqvfv::unpackVec<zqvfv::AvxF>(x, m, fwd, split);
}
std::size_t zqvRealUnpackAvx(double* x, std::size_t m, bool fwd, const double* split) noexcept {
  return zqvfv::unpackVec<zqvfv::AvxD>(x, m, fwd, split);
}
std::size_t zqvRealMergeAvx(float* x, std::size_t m, bool fwd, const float* half) noexcept {
  return zqvfv::mergeVec<zqvfv::AvxF>(x, m, fwd, half);
}
std::size_t zqvRealMergeAvx(double* x, std::size_t m, bool fwd, const double* half) noexcept {
  return zqvfv::mergeVec<zqvfv::AvxD>(x, m, fwd, half);
}

namespace {

typedef double D4v __attribute__((vector_size(32)));
typedef int64_t L4v __attribute__((vector_size(32)));

inline D4v ldD(const void* p) {
  D4v v;
  std::memcpy(&v, p, sizeof v);
  return v;
}
inline void stD(void* p, D4v v) { std::memcpy(p, &v, sizeof v); }

inline std::size_t revNext(std::size_t j, std::size_t n) {
  std::size_t h = n / 2;
  while (h != 0 && h <= j) {
    j -= h;
    h /= 2;
  }
  return j + h;
}

// 4 x 4 tiles of the bit-reversal permutation: rows are read in reversed
// row order, transposed in registers and written in reversed row order. The
// values are only moved, never computed on. esz is the element size (8 or 16).
template <std::size_t Esz>
void bitRevTile4(unsigned char* x, int32_t order) {
  const std::size_t mids = std::size_t{1} << (order - 4), stride = Esz << (order - 2);
  constexpr int rev2[4] = {0, 2, 1, 3};
  auto load = [&](std::size_t b, D4v (&r)[4][Esz / 8]) {
    for (int a = 0; a < 4; ++a)
      for (std::size_t h = 0; h < Esz / 8; ++h) r[a][h] = ldD(x + rev2[a] * stride + (b << 2) * Esz + 32 * h);
  };
  auto store = [&](std::size_t b, D4v (&r)[4][Esz / 8]) {
    D4v o[4][Esz / 8];
    if constexpr (Esz == 8) {
      const D4v t0 = __builtin_shufflevector(r[0][0], r[1][0], 0, 4, 2, 6);
      const D4v t1 = __builtin_shufflevector(r[0][0], r[1][0], 1, 5, 3, 7);
      const D4v t2 = __builtin_shufflevector(r[2][0], r[3][0], 0, 4, 2, 6);
      const D4v t3 = __builtin_shufflevector(r[2][0], r[3][0], 1, 5, 3, 7);
      o[0][0] = __builtin_shufflevector(t0, t2, 0, 1, 4, 5);
      o[1][0] = __builtin_shufflevector(t1, t3, 0, 1, 4, 5);
      o[2][0] = __builtin_shufflevector(t0, t2, 2, 3, 6, 7);
      o[3][0] = __builtin_shufflevector(t1, t3, 2, 3, 6, 7);
    } else {
      for (int h = 0; h < 2; ++h) {
        o[2 * h][0] = __builtin_shufflevector(r[0][h], r[1][h], 0, 1, 4, 5);
        o[2 * h][1] = __builtin_shufflevector(r[2][h], r[3][h], 0, 1, 4, 5);
        o[2 * h + 1][0] = __builtin_shufflevector(r[0][h], r[1][h], 2, 3, 6, 7);
        o[2 * h + 1][1] = __builtin_shufflevector(r[2][h], r[3][h], 2, 3, 6, 7);
      }
    }
    for (int a = 0; a < 4; ++a)
      for (std::size_t h = 0; h < Esz / 8; ++h) stD(x + rev2[a] * stride + (b << 2) * Esz + 32 * h, o[a][h]);
  };
  std::size_t rb = 0;
  for (std::size_t b = 0; b < mids; ++b, rb = revNext(rb, mids)) {
    if (rb < b) continue;
    D4v r1[4][Esz / 8], r2[4][Esz / 8];
    load(b, r1);
    if (rb != b) {
      load(rb, r2);
      store(b, r2);
    }
    store(rb, r1);
  }
}

inline void transpose4(const D4v* r, D4v* o) {
  const D4v t0 = __builtin_shufflevector(r[0], r[1], 0, 4, 2, 6);
  const D4v t1 = __builtin_shufflevector(r[0], r[1], 1, 5, 3, 7);
  const D4v t2 = __builtin_shufflevector(r[2], r[3], 0, 4, 2, 6);
  const D4v t3 = __builtin_shufflevector(r[2], r[3], 1, 5, 3, 7);
  o[0] = __builtin_shufflevector(t0, t2, 0, 1, 4, 5);
  o[1] = __builtin_shufflevector(t1, t3, 0, 1, 4, 5);
  o[2] = __builtin_shufflevector(t0, t2, 2, 3, 6, 7);
  o[3] = __builtin_shufflevector(t1, t3, 2, 3, 6, 7);
}

// 8 x 8 tiles of 8-byte elements (rows of one cache line), from order 6:
// both tiles of a pair are copied out first, then each is transposed in
// 4 x 4 blocks of registers and written back.
void bitRevTile8(unsigned char* x, int32_t order) {
  const std::size_t mids = std::size_t{1} << (order - 6), stride = std::size_t{8} << (order - 3);
  constexpr int rev3[8] = {0, 4, 2, 6, 1, 5, 3, 7};
  D4v t1[8][2], t2[8][2];
  auto load = [&](std::size_t b, D4v (&t)[8][2]) {
    for (int a = 0; a < 8; ++a) {
      t[a][0] = ldD(x + rev3[a] * stride + b * 64);
      t[a][1] = ldD(x + rev3[a] * stride + b * 64 + 32);
    }
  };
  auto store = [&](std::size_t b, const D4v (&t)[8][2]) {
    for (int hr = 0; hr < 2; ++hr)
      for (int hc = 0; hc < 2; ++hc) {
        // Rows 4hr.. of the tile, columns 4hc..: rows 4hc.. of the result, columns 4hr...
        const D4v r[4] = {t[4 * hr][hc], t[4 * hr + 1][hc], t[4 * hr + 2][hc], t[4 * hr + 3][hc]};
        D4v o[4];
        transpose4(r, o);
        for (int c = 0; c < 4; ++c) stD(x + rev3[4 * hc + c] * stride + b * 64 + 32 * hr, o[c]);
      }
  };
  std::size_t rb = 0;
  for (std::size_t b = 0; b < mids; ++b, rb = revNext(rb, mids)) {
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

void zqvcBitRevAvx(ZqvCplxS* data, int32_t order) noexcept {
  if (order >= 6) bitRevTile8(reinterpret_cast<unsigned char*>(data), order);
  else bitRevTile4<8>(reinterpret_cast<unsigned char*>(data), order);
}
void zqvzBitRevAvx(ZqvCplxD* data, int32_t order) noexcept {
  bitRevTile4<16>(reinterpret_cast<unsigned char*>(data), order);
}

#if defined(__clang__)
#pragma clang attribute pop
#endif
