// The 256-bit walk of the float unpack pass, built for AVX2 (called only
// where the CPU has it).
#include <immintrin.h>

#include <cstddef>

#include "zqvp4.h"

// The pair arithmetic of the lanes header is instantiated here, under the
// target (Clang spells the file-wide target differently).
#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC target("avx2")
#endif
#include "transforms/detail/zqvfftconvlanes.h"

namespace zqvfftconv {

namespace {

struct Avx {
  using F = __m256;
  static F add(F a, F b) noexcept { return _mm256_add_ps(a, b); }
  static F sub(F a, F b) noexcept { return _mm256_sub_ps(a, b); }
  static F mul(F a, F b) noexcept { return _mm256_mul_ps(a, b); }
  static F set1(float v) noexcept { return _mm256_set1_ps(v); }
  static F flip(F a, F sign) noexcept { return _mm256_xor_ps(a, sign); }
  static F blend(F mask, F yes, F no) noexcept { return _mm256_blendv_ps(no, yes, mask); }
  static F reMask() noexcept { return _mm256_castsi256_ps(_mm256_setr_epi32(-1, 0, -1, 0, -1, 0, -1, 0)); }
  static F signAll() noexcept { return _mm256_set1_ps(-0.0f); }
  static F signRe() noexcept { return _mm256_setr_ps(-0.0f, 0.0f, -0.0f, 0.0f, -0.0f, 0.0f, -0.0f, 0.0f); }
  static F signIm() noexcept { return _mm256_setr_ps(0.0f, -0.0f, 0.0f, -0.0f, 0.0f, -0.0f, 0.0f, -0.0f); }
  template <int A, int B, int C, int D>
  static F shuffle(F x, F y) noexcept { return _mm256_shuffle_ps(x, y, _MM_SHUFFLE(A, B, C, D)); }
};

}  // namespace

// Blocks j and j + 1 per step, the 128-bit lanes as above: the second block
// of y (slots 2h - 4 - 2j ..) comes to the lanes in swapped order.
std::size_t splitBlocksAvx2(float* f, std::size_t h, const ZqvCplxS* tw) noexcept {
  std::size_t j = 0;
  for (; j + 2 <= h / 4; j += 2) {
    float* const x = f + 2 * (h + 2 * j);
    float* const y = f + 2 * (2 * h - 4 - 2 * j);
    const __m256 xv = _mm256_loadu_ps(x), yv = _mm256_permute2f128_ps(_mm256_loadu_ps(y), _mm256_loadu_ps(y), 1);
    const __m128 tLow = _mm_loadu_ps(reinterpret_cast<const float*>(tw + j));            // tw[j], tw[j+1]
    const __m128 tHigh = _mm_loadu_ps(reinterpret_cast<const float*>(tw + h / 2 - 2 - j));  // tw[h/2-2-j], tw[h/2-1-j]
    const __m256 w = _mm256_set_m128(_mm_shuffle_ps(tLow, tHigh, _MM_SHUFFLE(1, 0, 3, 2)),
                                     _mm_shuffle_ps(tLow, tHigh, _MM_SHUFFLE(3, 2, 1, 0)));
    const __m256 a = _mm256_castpd_ps(_mm256_unpacklo_pd(_mm256_castps_pd(xv), _mm256_castps_pd(yv)));
    const __m256 b = _mm256_castpd_ps(_mm256_unpackhi_pd(_mm256_castps_pd(yv), _mm256_castps_pd(xv)));
    __m256 na, nb;
    PairLanes<Avx>::split(a, b, w, na, nb);
    _mm256_storeu_ps(x, _mm256_shuffle_ps(na, nb, _MM_SHUFFLE(3, 2, 1, 0)));
    const __m256 ny = _mm256_shuffle_ps(na, nb, _MM_SHUFFLE(1, 0, 3, 2));
    _mm256_storeu_ps(y, _mm256_permute2f128_ps(ny, ny, 1));
  }
  return j;
}


}  // namespace zqvfftconv

#if defined(__clang__)
#pragma clang attribute pop
#endif
