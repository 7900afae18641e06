// Direct three-product sum of every member, in blocks
// of outputs. For one kernel pair (S[i], S[i+1]) every output takes at most
// two additions in a fixed order and the outputs are independent: the even
// output y[i+2m] takes S[i+1]*L[2m-1] and then S[i]*L[2m], the odd output
// y[i+2m+1] takes the middle term of the pair (L[2m], L[2m+1]). So each
// block keeps its even and odd outputs apart, with the even and odd elements
// of L likewise, and each kernel pair becomes one pass of plain contiguous
// arithmetic over the block. Every output receives the same additions in the
// same order as in the pair-by-pair loop, so the results are the same bits
// whichever vector width runs.
#include <algorithm>
#include <cstdint>
#include <type_traits>

#include "analysis/detail/zqvconvgen.h"
#include "core/detail/zqvisa.h"

namespace zqvconv {
namespace {

// Outputs per block are 2 * kHalf; kernel pairs per pass over the block's
// share of L are at most kPairs.
template <class Y>
constexpr int64_t kHalfOf = sizeof(Y) > 8 ? 256 : 512;
constexpr int64_t kPairs = 128;

template <class Y, class A, class B>
ZQV_KERNEL void directBody(const A* L, int64_t lenL, const B* S, int64_t lenS, Y* y) noexcept {
  constexpr int64_t kHalf = kHalfOf<Y>;
  const int64_t n = lenL + lenS - 1;
  const int64_t pairs = lenS / 2, k = lenL / 2, evenS = lenS & ~int64_t{1};
  alignas(64) Y ye[kHalf], yo[kHalf];
  alignas(64) A le[kHalf + kPairs], lo[kHalf + kPairs];
  for (int64_t b0 = 0; b0 < n; b0 += 2 * kHalf) {
    const int64_t hb = b0 / 2;
    const int64_t half = std::min(kHalf, (n - b0 + 1) / 2);
    for (int64_t t = 0; t < half; ++t) ye[t] = yo[t] = Y{};
    for (int64_t pc = 0; k > 0 && pc < pairs; pc += kPairs) {
      const int64_t pe = std::min(pairs, pc + kPairs);
      // Elements of L this group of pairs reads in this block (index m
      // stands for the pair L[2m], L[2m+1]; one more below for L[2m-1]).
      const int64_t mLo = std::max<int64_t>(0, hb - pe);
      const int64_t mHi = std::min(k, hb + half - pc);
      for (int64_t m = mLo; m < mHi; ++m) {
        le[m - mLo] = L[2 * m];
        lo[m - mLo] = L[2 * m + 1];
      }
      for (int64_t p = pc; p < pe; ++p) {
        const B s0 = S[2 * p], s1 = S[2 * p + 1], ss = s0 + s1;
        const int64_t c = hb - p;  // block output t has m = t + c
        int64_t t = std::max<int64_t>(0, -c);
        const int64_t tEnd = std::min(half, k + 1 - c);
        if (t >= tEnd) continue;
        if (t + c == 0) {  // first pair of L: no product from a pair before
          const Y p0 = s0 * L[0], p1 = s1 * L[1];
          ye[t] += p0;
          yo[t] += (widen<Y>((L[0] + L[1]) * ss) - p0) - p1;
          ++t;
        }
        const int64_t tMid = std::min(tEnd, k - c);
        Y* __restrict e = ye;
        Y* __restrict o = yo;
        const A* __restrict ev = le + (c - mLo);
        const A* __restrict od = lo + (c - mLo);
        for (; t < tMid; ++t) {
          const A l0 = ev[t], l1 = od[t];
          const Y p0 = s0 * l0, p1 = s1 * l1;
          e[t] = (e[t] + widen<Y>(s1 * od[t - 1])) + p0;
          o[t] = o[t] + ((widen<Y>((l0 + l1) * ss) - p0) - p1);
        }
        if (t < tEnd) ye[t] += widen<Y>(s1 * L[2 * k - 1]);  // last pair of L: only its S[i+1] product
      }
    }
    Y* out = y + b0;
    const int64_t count = std::min(2 * kHalf, n - b0);
    for (int64_t t = 0; t < count / 2; ++t) {
      out[2 * t] = ye[t];
      out[2 * t + 1] = yo[t];
    }
    if (count & 1) out[count - 1] = ye[count / 2];
    // The odd tails come after every pair, the kernel's before the operand's.
    if (lenS & 1) {
      const B last = S[lenS - 1];
      const int64_t from = std::max(b0, lenS - 1), to = std::min(b0 + count, lenS - 1 + lenL);
      for (int64_t q = from; q < to; ++q) y[q] += widen<Y>(last * L[q - (lenS - 1)]);
    }
    if (lenL & 1) {
      const A last = L[lenL - 1];
      const int64_t from = std::max(b0, lenL - 1), to = std::min(b0 + count, lenL - 1 + evenS);
      for (int64_t q = from; q < to; ++q) y[q] += widen<Y>(S[q - (lenL - 1)] * last);
    }
  }
}

// Vector builds (core/detail/zqvisa.h); no element's sum is reordered or
// contracted, so all give the same bits. The complex members get no 512-bit
// build: there the compiler turns the complex products into fused
// multiply-adds although contraction is off, which changes their bits.
template <class Y>
constexpr bool kRealMember = std::is_same_v<Y, float> || std::is_same_v<Y, double>;

}  // namespace

template <class Y, class A, class B>
void directBlocked(const A* L, int64_t lenL, const B* S, int64_t lenS, Y* y) noexcept {
  if constexpr (kRealMember<Y>) ZQV_RUN(directBody<Y, A, B>)(L, lenL, S, lenS, y);
  else ZQV_RUN_256(directBody<Y, A, B>)(L, lenL, S, lenS, y);
}
template void directBlocked(const float*, int64_t, const float*, int64_t, float*) noexcept;
template void directBlocked(const double*, int64_t, const double*, int64_t, double*) noexcept;
template void directBlocked(const ZqvCplxS*, int64_t, const ZqvCplxS*, int64_t, ZqvCplxS*) noexcept;
template void directBlocked(const ZqvCplxS*, int64_t, const float*, int64_t, ZqvCplxS*) noexcept;
template void directBlocked(const float*, int64_t, const ZqvCplxS*, int64_t, ZqvCplxS*) noexcept;
template void directBlocked(const ZqvCplxD*, int64_t, const ZqvCplxD*, int64_t, ZqvCplxD*) noexcept;
template void directBlocked(const ZqvCplxD*, int64_t, const double*, int64_t, ZqvCplxD*) noexcept;
template void directBlocked(const double*, int64_t, const ZqvCplxD*, int64_t, ZqvCplxD*) noexcept;

}  // namespace zqvconv
