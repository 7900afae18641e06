// Reordering inside the FFTs and the check of their flag word: swap-pair
// tables and the pair, tile and vector reorderings of interleaved data.
#include <cstring>

#include "core/zqvframe.h"
#include "transforms/detail/zqvfftint.h"

namespace {

template <class C>
void bitRevByPairs(C* x, int32_t order, const int32_t* tbl) noexcept {
  if (order < 2) return;
  const std::size_t h = std::size_t{1} << (order - 1);
  std::size_t w = 0;
  for (; tbl[w] != 0; w += 2) {
    const std::size_t a = static_cast<std::size_t>(tbl[w]) / 2;
    const std::size_t b = static_cast<std::size_t>(tbl[w + 1]) / 2;
    std::swap(x[a], x[b]);
    std::swap(x[h + a + 1], x[h + b + 1]);
    std::swap(x[a + 1], x[h + b]);
    std::swap(x[h + a], x[b + 1]);
  }
  // The zero word ending the pairs stands for the fixed point 0.
  for (;;) {
    const std::size_t a = static_cast<std::size_t>(tbl[w]) / 2;
    std::swap(x[a + 1], x[h + a]);
    ++w;
    if (tbl[w] == 0) break;
  }
}

// Bit reversal through small tiles: with the index split into top, middle
// and bottom fields of q, m - 2q and q bits, the rows (top, middle) and
// (top, reversed middle) are gathered into two tiles, which are written back
// transposed and reversed. Rows are contiguous, so every cache line read is
// used whole.
template <int Q>
struct RevQ {
  uint8_t r[Q];
  constexpr RevQ() : r() {
    for (int i = 0; i < Q; ++i) {
      int v = 0;
      for (int k = 1, j = Q / 2; k < Q; k *= 2, j /= 2)
        if (i & k) v |= j;
      r[i] = static_cast<uint8_t>(v);
    }
  }
};

template <class C, int Q>
inline void tileOut(C* x, std::size_t rowStride, std::size_t at, const C* t) noexcept {
  constexpr RevQ<Q> rq;
#pragma GCC unroll 32
  for (int a = 0; a < Q; ++a) {
    C* const dst = x + a * rowStride + at;
    const C* const col = t + rq.r[a];
#pragma GCC unroll 32
    for (int c = 0; c < Q; ++c) dst[c] = col[rq.r[c] * Q];
  }
}

template <class C, int Q>
void bitRevTiledQ(C* x, int32_t order) noexcept {
  constexpr int32_t q = Q == 4 ? 2 : Q == 8 ? 3 : Q == 16 ? 4 : 5;
  const std::size_t mids = std::size_t{1} << (order - 2 * q), rowStride = std::size_t{1} << (order - q);
  C t1[Q * Q], t2[Q * Q];
  std::size_t rb = 0;
  for (std::size_t b = 0; b < mids; ++b, rb = zqvRevCarryNext(rb, mids)) {
    if (rb < b) continue;
    const std::size_t ob = b << q, orb = rb << q;
#pragma GCC unroll 32
    for (int a = 0; a < Q; ++a) std::memcpy(t1 + a * Q, x + a * rowStride + ob, Q * sizeof(C));
    if (rb != b) {
#pragma GCC unroll 32
      for (int a = 0; a < Q; ++a) std::memcpy(t2 + a * Q, x + a * rowStride + orb, Q * sizeof(C));
      tileOut<C, Q>(x, rowStride, ob, t2);
    }
    tileOut<C, Q>(x, rowStride, orb, t1);
  }
}

template <class C>
void bitRevTiled(C* x, int32_t order) noexcept {
  if (order >= 14) bitRevTiledQ<C, 32>(x, order);
  else if (order >= 8) bitRevTiledQ<C, 16>(x, order);
  else if (order >= 6) bitRevTiledQ<C, 8>(x, order);
  else if (order >= 4) bitRevTiledQ<C, 4>(x, order);
  else if (order >= 2) std::swap(x[1], x[std::size_t{1} << (order - 1)]), order == 3 ? std::swap(x[3], x[6]) : void();
}

}  // namespace

void zqvcBitRevTiled(ZqvCplxS* data, int32_t order) noexcept { bitRevTiled(data, order); }
void zqvzBitRevTiled(ZqvCplxD* data, int32_t order) noexcept { bitRevTiled(data, order); }

int32_t zqvFftCheckFlags(int32_t flags, int32_t checkBitOrder, int32_t checkInLayout,
                         int32_t checkOutLayout, const char* func, const char* module,
                         int32_t line) noexcept {
  int32_t faults = 0;
  auto fault = [&](const char* msg) {
    zqvError(ZQV_BAD_ARGUMENT, func, msg, module, line);
    ++faults;
  };
  const bool forw = flags & ZQV_Forw, inv = flags & ZQV_Inv;
  if (forw && inv) fault("ZQV_Forw and ZQV_Inv");
  else if (!forw && !inv) fault("no ZQV_Forw or ZQV_Inv");
  if (checkBitOrder) {
    const bool no = flags & ZQV_NoBitRev, in = flags & ZQV_InBitRev, out = flags & ZQV_OutBitRev;
    if (in && out) fault("ZQV_InBitRev and ZQV_OutBitRev");
    else if (in && no) fault("ZQV_InBitRev and ZQV_NoBitRev");
    else if (out && no) fault("ZQV_OutBitRev and ZQV_NoBitRev");
  }
  if (checkInLayout) {
    const bool pack = flags & ZQV_InRCPack, perm = flags & ZQV_InRCPerm;
    if (pack && perm) fault("ZQV_InRCPack and ZQV_InRCPerm");
    else if (!pack && !perm) fault("no ZQV_InRCPack or ZQV_InRCPerm");
  }
  if (checkOutLayout) {
    const bool pack = flags & ZQV_OutRCPack, perm = flags & ZQV_OutRCPerm;
    if (pack && perm) fault("ZQV_OutRCPack and ZQV_OutRCPerm");
    else if (!pack && !perm) fault("no ZQV_OutRCPack or ZQV_OutRCPerm");
  }
  return faults;
}

void zqvCalcBitRevPairTbl(int32_t* tbl, int32_t order) noexcept {
  if (order < 2) return;
  const std::size_t m = std::size_t{1} << (order - 2);
  if (m < 2) {
    tbl[0] = 0;
    tbl[m] = 0;
    return;
  }
  std::size_t pair = 0, fixed = m - 1, r = 0;
  for (std::size_t j = 1; j < m; ++j) {
    r = zqvRevCarryNext(r, m);
    if (j < r) {
      tbl[pair++] = static_cast<int32_t>(4 * j);
      tbl[pair++] = static_cast<int32_t>(4 * r);
    } else if (j == r) {
      tbl[fixed--] = static_cast<int32_t>(4 * j);
    }
  }
  tbl[pair] = 0;
  tbl[m] = 0;
}

int32_t* zqvGetBitRevPairTbl(int32_t order) noexcept {
  if (order < 0 || order > 31) return nullptr;
  int32_t*& slot = zqvFetchContext()->cache1.bitRevPairTbl[order];
  if (slot) return slot;
  const int32_t words = order < 2 ? 1 : ((order > kZqvLargestIndexTableOrder) ? 0 : int32_t{1} << (order - 1));
  int32_t* tbl = words ? zqviMalloc(words) : nullptr;
  if (!tbl) return nullptr;
  zqvCalcBitRevPairTbl(tbl, order);
  slot = tbl;
  return tbl;
}

void zqvFreeBitRevPairTbl(int32_t order) noexcept {
  if (order < 0 || order > 31) return;
  int32_t*& slot = zqvFetchContext()->cache1.bitRevPairTbl[order];
  zqvFree(slot);
  slot = nullptr;
}

void zqvcBitRevByPairs(ZqvCplxS* data, int32_t order, const int32_t* tbl) noexcept {
  bitRevByPairs(data, order, tbl);
}

void zqvzBitRevByPairs(ZqvCplxD* data, int32_t order, const int32_t* tbl) noexcept {
  bitRevByPairs(data, order, tbl);
}
