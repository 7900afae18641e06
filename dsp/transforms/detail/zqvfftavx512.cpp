// The interleaved complex FFT kernels on 512-bit vectors for the long steps
// and passes, for processors with AVX-512; chosen at run time. Short problems
// go to the 256-bit kernels. The operations are those of the baseline build
// (no fused multiply-add; the add-subtract is a sign product and an add, both
// exact as in the narrow builds), so the results are the same.
#include <cstddef>
#include <cstdint>
#include <cstring>

#include "transforms/detail/zqvfftint.h"

#pragma GCC target("avx512f,avx512dq,avx2")

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
  static constexpr std::size_t kWideFrom = 128;
  static constexpr bool kDif16 = false;
  static constexpr bool kDif32 = false;
  static constexpr bool kDit16 = true;
  template <bool Fwd>
  static void dit16(float* x, const float* tw1, const float* tw2) {
    AvxF::dit16<Fwd>(x, tw1, tw2);
  }
  static V ld(const float* p) {
    V v;
    std::memcpy(&v, p, sizeof v);
    return v;
  }
  static void st(float* p, V v) { std::memcpy(p, &v, sizeof v); }
  static V swapRI(V a) { return __builtin_shuffle(a, I16{1, 0, 3, 2, 5, 4, 7, 6, 9, 8, 11, 10, 13, 12, 15, 14}); }
  static V dupRe(V a) { return __builtin_shuffle(a, I16{0, 0, 2, 2, 4, 4, 6, 6, 8, 8, 10, 10, 12, 12, 14, 14}); }
  static V dupIm(V a) { return __builtin_shuffle(a, I16{1, 1, 3, 3, 5, 5, 7, 7, 9, 9, 11, 11, 13, 13, 15, 15}); }
  static V negRe(V a) { return a * V{-1, 1, -1, 1, -1, 1, -1, 1, -1, 1, -1, 1, -1, 1, -1, 1}; }
  static V conj(V a) { return a * V{1, -1, 1, -1, 1, -1, 1, -1, 1, -1, 1, -1, 1, -1, 1, -1}; }
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
  template <bool Fwd>
  static void dit16(double* x, const double* tw1, const double* tw2) {
    AvxD::dit16<Fwd>(x, tw1, tw2);
  }
  static V ld(const double* p) {
    V v;
    std::memcpy(&v, p, sizeof v);
    return v;
  }
  static void st(double* p, V v) { std::memcpy(p, &v, sizeof v); }
  static V swapRI(V a) { return __builtin_shuffle(a, L8{1, 0, 3, 2, 5, 4, 7, 6}); }
  static V dupRe(V a) { return __builtin_shuffle(a, L8{0, 0, 2, 2, 4, 4, 6, 6}); }
  static V dupIm(V a) { return __builtin_shuffle(a, L8{1, 1, 3, 3, 5, 5, 7, 7}); }
  static V negRe(V a) { return a * V{-1, 1, -1, 1, -1, 1, -1, 1}; }
  static V conj(V a) { return a * V{1, -1, 1, -1, 1, -1, 1, -1}; }
  static V addSub(V a, V b) { return a + negRe(b); }
};

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
