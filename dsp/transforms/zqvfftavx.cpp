// The interleaved complex FFT kernels on 256-bit vectors, for processors
// with AVX2; chosen at run time. The operations are those of the baseline
// build (no fused multiply-add), so the results are the same.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "transforms/zqvfftint.h"

#pragma GCC target("avx2")

#include "transforms/zqvfftvec.h"

namespace {
namespace zqvfv {

typedef float F8 __attribute__((vector_size(32)));
typedef double D4 __attribute__((vector_size(32)));
typedef int32_t I8 __attribute__((vector_size(32)));
typedef int64_t L4 __attribute__((vector_size(32)));

struct AvxF {
  using T = float;
  using V = F8;
  static constexpr std::size_t W = 4;
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
};

struct AvxD {
  using T = double;
  using V = D4;
  static constexpr std::size_t W = 2;
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
};

}  // namespace zqvfv
}  // namespace

void zqvcFftDifAvx(float* x, std::size_t n, bool fwd, const float* stage) noexcept {
  zqvfv::difAll<zqvfv::AvxF, zqvfv::SseF>(x, n, fwd, stage);
}
void zqvzFftDifAvx(double* x, std::size_t n, bool fwd, const double* stage) noexcept {
  zqvfv::difAll<zqvfv::AvxD, zqvfv::SseD>(x, n, fwd, stage);
}
void zqvcFftDitAvx(float* x, std::size_t n, bool fwd, const float* stage, std::size_t blockLen) noexcept {
  zqvfv::ditAll<zqvfv::AvxF, zqvfv::SseF>(x, n, fwd, stage, blockLen);
}
void zqvzFftDitAvx(double* x, std::size_t n, bool fwd, const double* stage, std::size_t blockLen) noexcept {
  zqvfv::ditAll<zqvfv::AvxD, zqvfv::SseD>(x, n, fwd, stage, blockLen);
}
std::size_t zqvsRealUnpackAvx(float* x, std::size_t m, bool fwd, const float* split) noexcept {
  return zqvfv::unpackVec<zqvfv::AvxF>(x, m, fwd, split);
}
std::size_t zqvdRealUnpackAvx(double* x, std::size_t m, bool fwd, const double* split) noexcept {
  return zqvfv::unpackVec<zqvfv::AvxD>(x, m, fwd, split);
}
std::size_t zqvsRealMergeAvx(float* x, std::size_t m, bool fwd, const float* half) noexcept {
  return zqvfv::mergeVec<zqvfv::AvxF>(x, m, fwd, half);
}
std::size_t zqvdRealMergeAvx(double* x, std::size_t m, bool fwd, const double* half) noexcept {
  return zqvfv::mergeVec<zqvfv::AvxD>(x, m, fwd, half);
}
