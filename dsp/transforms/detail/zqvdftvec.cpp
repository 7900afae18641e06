// The sums of the direct float DFT, several output indices side by side:
// each vector lane holds one output's running sums and twiddle index, and
// adds its terms in the same order, with the same double operations, as the
// one-output loop, so the results are the same bits. Chosen at run time.
#include <immintrin.h>

#include <cstdint>
#include <cstring>

#include "transforms/detail/zqvdftvec.h"

namespace {

// The twiddle pair at j as one 64-bit word (re in the low half).
inline long long word(const ZqvCplxS* tw, uint32_t j) noexcept {
  long long w;
  std::memcpy(&w, tw + j, sizeof w);
  return w;
}

// Lane l of vector v of a block starting at m0 serves output m0 + 8v + l
// (AVX-512) or m0 + 4v + l (AVX2); lanes past the last output step by 0 and
// are left unused.
// The twiddle index advances by m and drops by n once it reaches n: as
// unsigned 32-bit lanes, min(j, j - n) is j - n exactly when j >= n. The
// twiddles (a float pair read as one 64-bit word per lane) come by single
// loads: a gather instruction took twice the time on the AMD processor the
// library was measured on.

// One vector of outputs m (lanes) and, with kPaired, their partners n - m,
// whose twiddles are the conjugates tw[n - j] = conj(tw[j]) (the caller has
// checked the table), except where j is 0 or n/2 and the partner reads tw[j]
// itself: the partner's products are those of m with the sign of the
// imaginary twiddle flipped, which is exact, so one load serves both.
template <bool kFwd, bool kPaired, bool kSelf>
__attribute__((target("avx512f,avx512dq"))) void sums512(const ZqvDftSums& a) noexcept {
  constexpr int64_t kLanes = 8;
  const __m256i nv = _mm256_set1_epi32(static_cast<int32_t>(a.n));
  const __m256i zero = _mm256_setzero_si256();
  const __m256i lane = _mm256_setr_epi32(0, 1, 2, 3, 4, 5, 6, 7);
  const ZqvCplxS* tw = a.tw;
  // The zero-masked conversions: the plain ones start from an undefined register.
  const __mmask8 all = 0xFF;
  for (int64_t m0 = 1; m0 <= a.last; m0 += kLanes * kZqvDftBlocks512) {
    __m256i j[kZqvDftBlocks512], step[kZqvDftBlocks512];
    __m512d re[kZqvDftBlocks512], im[kZqvDftBlocks512], pre[kZqvDftBlocks512], pim[kZqvDftBlocks512];
    __mmask8 odd[kZqvDftBlocks512];
    for (int b = 0; b < kZqvDftBlocks512; ++b) {
      const __m256i m = _mm256_add_epi32(_mm256_set1_epi32(static_cast<int32_t>(m0 + kLanes * b)), lane);
      // Lanes past the last output keep index 0.
      step[b] = _mm256_and_si256(m, _mm256_cmpgt_epi32(_mm256_set1_epi32(static_cast<int32_t>(a.last + 1)), m));
      odd[b] = static_cast<__mmask8>(_mm256_movemask_ps(_mm256_castsi256_ps(_mm256_slli_epi32(m, 31))));
      j[b] = zero;
      re[b] = im[b] = pre[b] = pim[b] = _mm512_setzero_pd();
    }
    // Odd outputs of an even length take one term more (the middle element).
    for (int64_t k = 1; k <= a.oddTerms; ++k) {
      const bool oddOnly = k > a.evenTerms;
      const double* c = a.pq + 4 * (k - 1);
      const __m512d pr = _mm512_set1_pd(c[0]), pi = _mm512_set1_pd(c[1]);
      const __m512d qr = _mm512_set1_pd(c[2]), qi = _mm512_set1_pd(c[3]);
      for (int b = 0; b < kZqvDftBlocks512; ++b) {
        j[b] = _mm256_add_epi32(j[b], step[b]);
        j[b] = _mm256_min_epu32(j[b], _mm256_sub_epi32(j[b], nv));
        alignas(32) uint32_t at[8];
        _mm256_store_si256(reinterpret_cast<__m256i*>(at), j[b]);
        const __m512i pair = _mm512_setr_epi64(word(tw, at[0]), word(tw, at[1]), word(tw, at[2]), word(tw, at[3]),
                                               word(tw, at[4]), word(tw, at[5]), word(tw, at[6]), word(tw, at[7]));
        const __m512d tr = _mm512_maskz_cvtps_pd(all, _mm256_castsi256_ps(_mm512_maskz_cvtepi64_epi32(all, pair)));
        const __m512d ti = _mm512_maskz_cvtps_pd(
            all, _mm256_castsi256_ps(_mm512_maskz_cvtepi64_epi32(all, _mm512_maskz_srli_epi64(all, pair, 32))));
        const __m512d ptr = _mm512_mul_pd(pr, tr), qti = _mm512_mul_pd(qi, ti);
        const __m512d ptr2 = _mm512_mul_pd(pi, tr), qti2 = _mm512_mul_pd(qr, ti);
        // Forward: (p.re tr - q.im ti, p.im tr + q.re ti); inverse the other signs.
        const __m512d tre = kFwd ? _mm512_sub_pd(ptr, qti) : _mm512_add_pd(ptr, qti);
        const __m512d tim = kFwd ? _mm512_add_pd(ptr2, qti2) : _mm512_sub_pd(ptr2, qti2);
        const __mmask8 use = oddOnly ? odd[b] : all;
        re[b] = _mm512_mask_add_pd(re[b], use, re[b], tre);
        im[b] = _mm512_mask_add_pd(im[b], use, im[b], tim);
        if constexpr (kPaired) {
          __m512d ptre = kFwd ? _mm512_add_pd(ptr, qti) : _mm512_sub_pd(ptr, qti);
          __m512d ptim = kFwd ? _mm512_sub_pd(ptr2, qti2) : _mm512_add_pd(ptr2, qti2);
          if constexpr (kSelf) {
            const __m256i self = _mm256_or_si256(_mm256_cmpeq_epi32(j[b], zero), _mm256_cmpeq_epi32(_mm256_add_epi32(j[b], j[b]), nv));
            const __mmask8 same = static_cast<__mmask8>(_mm256_movemask_ps(_mm256_castsi256_ps(self)));
            ptre = _mm512_mask_mov_pd(ptre, same, tre);
            ptim = _mm512_mask_mov_pd(ptim, same, tim);
          }
          pre[b] = _mm512_mask_add_pd(pre[b], use, pre[b], ptre);
          pim[b] = _mm512_mask_add_pd(pim[b], use, pim[b], ptim);
        }
      }
    }
    for (int b = 0; b < kZqvDftBlocks512; ++b) {
      _mm512_storeu_pd(a.sr + m0 + kLanes * b, re[b]);
      _mm512_storeu_pd(a.si + m0 + kLanes * b, im[b]);
      if constexpr (kPaired) {
        _mm512_storeu_pd(a.psr + m0 + kLanes * b, pre[b]);
        _mm512_storeu_pd(a.psi + m0 + kLanes * b, pim[b]);
      }
    }
  }
}

// The same on 256-bit vectors of four outputs; masks as vectors.
template <bool kFwd, bool kPaired, bool kSelf>
__attribute__((target("avx2"))) void sums256(const ZqvDftSums& a) noexcept {
  constexpr int64_t kLanes = 4;
  constexpr int kBlocks = kZqvDftBlocks256;
  const __m128i nv = _mm_set1_epi32(static_cast<int32_t>(a.n));
  const __m128i zero = _mm_setzero_si128();
  const __m128i lane = _mm_setr_epi32(0, 1, 2, 3);
  // Re parts to the low half, imaginary parts to the high half.
  const __m256i split = _mm256_setr_epi32(0, 2, 4, 6, 1, 3, 5, 7);
  const __m256d all = _mm256_castsi256_pd(_mm256_set1_epi64x(-1));
  const ZqvCplxS* tw = a.tw;
  for (int64_t m0 = 1; m0 <= a.last; m0 += kLanes * kBlocks) {
    __m128i j[kBlocks], step[kBlocks];
    __m256d re[kBlocks], im[kBlocks], pre[kBlocks], pim[kBlocks], odd[kBlocks];
    for (int b = 0; b < kBlocks; ++b) {
      const __m128i m = _mm_add_epi32(_mm_set1_epi32(static_cast<int32_t>(m0 + kLanes * b)), lane);
      step[b] = _mm_and_si128(m, _mm_cmpgt_epi32(_mm_set1_epi32(static_cast<int32_t>(a.last + 1)), m));
      odd[b] = _mm256_castsi256_pd(_mm256_cvtepi32_epi64(_mm_srai_epi32(_mm_slli_epi32(m, 31), 31)));
      j[b] = zero;
      re[b] = im[b] = pre[b] = pim[b] = _mm256_setzero_pd();
    }
    for (int64_t k = 1; k <= a.oddTerms; ++k) {
      const bool oddOnly = k > a.evenTerms;
      const double* c = a.pq + 4 * (k - 1);
      const __m256d pr = _mm256_set1_pd(c[0]), pi = _mm256_set1_pd(c[1]);
      const __m256d qr = _mm256_set1_pd(c[2]), qi = _mm256_set1_pd(c[3]);
      for (int b = 0; b < kBlocks; ++b) {
        j[b] = _mm_add_epi32(j[b], step[b]);
        j[b] = _mm_min_epu32(j[b], _mm_sub_epi32(j[b], nv));
        alignas(16) uint32_t at[4];
        _mm_store_si128(reinterpret_cast<__m128i*>(at), j[b]);
        const __m256i pair = _mm256_setr_epi64x(word(tw, at[0]), word(tw, at[1]), word(tw, at[2]), word(tw, at[3]));
        const __m256 parts = _mm256_castsi256_ps(_mm256_permutevar8x32_epi32(pair, split));
        const __m256d tr = _mm256_cvtps_pd(_mm256_castps256_ps128(parts));
        const __m256d ti = _mm256_cvtps_pd(_mm256_extractf128_ps(parts, 1));
        const __m256d ptr = _mm256_mul_pd(pr, tr), qti = _mm256_mul_pd(qi, ti);
        const __m256d ptr2 = _mm256_mul_pd(pi, tr), qti2 = _mm256_mul_pd(qr, ti);
        const __m256d tre = kFwd ? _mm256_sub_pd(ptr, qti) : _mm256_add_pd(ptr, qti);
        const __m256d tim = kFwd ? _mm256_add_pd(ptr2, qti2) : _mm256_sub_pd(ptr2, qti2);
        const __m256d use = oddOnly ? odd[b] : all;
        re[b] = _mm256_blendv_pd(re[b], _mm256_add_pd(re[b], tre), use);
        im[b] = _mm256_blendv_pd(im[b], _mm256_add_pd(im[b], tim), use);
        if constexpr (kPaired) {
          __m256d ptre = kFwd ? _mm256_add_pd(ptr, qti) : _mm256_sub_pd(ptr, qti);
          __m256d ptim = kFwd ? _mm256_sub_pd(ptr2, qti2) : _mm256_add_pd(ptr2, qti2);
          if constexpr (kSelf) {
            const __m128i self = _mm_or_si128(_mm_cmpeq_epi32(j[b], zero), _mm_cmpeq_epi32(_mm_add_epi32(j[b], j[b]), nv));
            const __m256d same = _mm256_castsi256_pd(_mm256_cvtepi32_epi64(self));
            ptre = _mm256_blendv_pd(ptre, tre, same);
            ptim = _mm256_blendv_pd(ptim, tim, same);
          }
          pre[b] = _mm256_blendv_pd(pre[b], _mm256_add_pd(pre[b], ptre), use);
          pim[b] = _mm256_blendv_pd(pim[b], _mm256_add_pd(pim[b], ptim), use);
        }
      }
    }
    for (int b = 0; b < kBlocks; ++b) {
      _mm256_storeu_pd(a.sr + m0 + kLanes * b, re[b]);
      _mm256_storeu_pd(a.si + m0 + kLanes * b, im[b]);
      if constexpr (kPaired) {
        _mm256_storeu_pd(a.psr + m0 + kLanes * b, pre[b]);
        _mm256_storeu_pd(a.psi + m0 + kLanes * b, pim[b]);
      }
    }
  }
}

template <template <bool, bool, bool> class K>
void dispatch(const ZqvDftSums& a) noexcept {
  if (!a.paired) {
    if (a.fwd) K<true, false, false>::run(a);
    else K<false, false, false>::run(a);
  } else if (a.self) {
    if (a.fwd) K<true, true, true>::run(a);
    else K<false, true, true>::run(a);
  } else {
    if (a.fwd) K<true, true, false>::run(a);
    else K<false, true, false>::run(a);
  }
}

template <bool kFwd, bool kPaired, bool kSelf>
struct Sums512 {
  static void run(const ZqvDftSums& a) noexcept { sums512<kFwd, kPaired, kSelf>(a); }
};
template <bool kFwd, bool kPaired, bool kSelf>
struct Sums256 {
  static void run(const ZqvDftSums& a) noexcept { sums256<kFwd, kPaired, kSelf>(a); }
};

}  // namespace

void zqvDftSumsAvx512(const ZqvDftSums& a) noexcept { dispatch<Sums512>(a); }
void zqvDftSumsAvx2(const ZqvDftSums& a) noexcept { dispatch<Sums256>(a); }
