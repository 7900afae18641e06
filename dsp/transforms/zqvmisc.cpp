// Transform flags and bit reversal: the flag check, bit-reversed indices,
// the cached index and swap-pair tables and the reordering routines.
#include <cstring>

#include "core/zqvframe.h"
#include "transforms/zqvfftint.h"

namespace {

constexpr const char* kModule = "zqvmisc";

// Reverse-carry counter: advances j as a bit-reversed count over n = 2^bits.
inline std::size_t revCarryNext(std::size_t j, std::size_t n) noexcept {
  std::size_t h = n / 2;
  while (h != 0 && h <= j) {
    j -= h;
    h /= 2;
  }
  return j + h;
}

void calcBitRevTbl(int32_t* tbl, int32_t order) noexcept {
  const std::size_t n = std::size_t{1} << order;
  tbl[0] = 0;
  if (n == 1) return;
  tbl[n - 1] = static_cast<int32_t>(n - 1);
  std::size_t j = 0;
  for (std::size_t i = 1; i + 1 < n; ++i) {
    j = revCarryNext(j, n);
    if (i <= j) {
      tbl[j] = static_cast<int32_t>(i);
      tbl[i] = static_cast<int32_t>(j);
    }
  }
}

bool orderTooLargeForTable(int32_t order) noexcept { return order > 30; }

int32_t* getBitRevTbl(int32_t order, ZqvSite site) noexcept {
  ZqvContext* ctx = zqvFetchContext();
  int32_t*& slot = ctx->cache1.bitRevTbl[order];
  if (slot) return slot;
  int32_t* tbl = orderTooLargeForTable(order) ? nullptr : zqviMalloc(int32_t{1} << order);
  if (!tbl) {
    zqvError(ZQV_OUT_OF_MEMORY, site.func, "NULL Pointer", site.module, __LINE__);
    return nullptr;
  }
  calcBitRevTbl(tbl, order);
  slot = tbl;
  return tbl;
}

template <class E>
void bitRev1(E* vec, int32_t order, ZqvSite site) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(order < 0, "order<0"), ZQV_CHECK(order > 31, "order>31"),
                         ZQV_CHECK(vec == nullptr, "vec==0")}))
    return;
  if (order < 2) return;
  if (order == 2) {
    std::swap(vec[1], vec[2]);
    return;
  }
  const int32_t* tbl = getBitRevTbl(order, {"zqvGetBitRevTbl", kModule});
  if (!tbl) return;
  zqvBitRevWithTbl(vec, std::size_t{1} << order, tbl);
}

template <class E>
void bitRev2(const E* src, E* dst, int32_t order, ZqvSite site) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(order < 0, "order<0"), ZQV_CHECK(order > 31, "order>31"),
                         ZQV_CHECK(src == nullptr, "src==0"), ZQV_CHECK(dst == nullptr, "dst==0")}))
    return;
  // The same buffer as source and destination is reordered in place.
  if (src == dst) {
    bitRev1(dst, order, site);
    return;
  }
  const std::size_t n = std::size_t{1} << order;
  if (order <= 2) {
    dst[0] = src[0];
    dst[n - 1] = src[n - 1];
    if (order == 2) {
      dst[1] = src[2];
      dst[2] = src[1];
    }
    return;
  }
  const int32_t* tbl = getBitRevTbl(order, {"zqvGetBitRevTbl", kModule});
  if (!tbl) return;
  for (std::size_t k = 0; k < n; ++k) dst[k] = src[static_cast<std::size_t>(tbl[k])];
}

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
  for (std::size_t b = 0; b < mids; ++b, rb = revCarryNext(rb, mids)) {
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
    r = revCarryNext(r, m);
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
  const int32_t words = order < 2 ? 1 : (orderTooLargeForTable(order) ? 0 : int32_t{1} << (order - 1));
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

int32_t* zqvFetchBitRevTbl(int32_t order) noexcept {
  return getBitRevTbl(order, {"zqvGetBitRevTbl", kModule});
}

ZQVAPI int32_t zqvBitRev(int32_t index, int32_t order) noexcept {
  if (zqvCheckAll({"zqvBitRev", kModule},
                  {ZQV_CHECK(order < 0, "order<0"), ZQV_CHECK(order > 31, "order>31")}))
    return 0;
  uint32_t result = 0;
  const uint32_t bits = static_cast<uint32_t>(index);
  for (int32_t k = 0; k < order; ++k) result = (result << 1) | ((bits >> k) & 1u);
  return static_cast<int32_t>(result);
}

ZQVAPI void zqvCalcBitRevTbl(int32_t* tbl, int32_t order) noexcept {
  if (zqvCheckAll({"zqvCalcBitRevTbl", kModule},
                  {ZQV_CHECK(order < 0, "order<0"), ZQV_CHECK(order > 31, "order>31"),
                   ZQV_CHECK(tbl == nullptr, "tbl==0")}))
    return;
  calcBitRevTbl(tbl, order);
}

ZQVAPI int32_t* zqvGetBitRevTbl(int32_t order) noexcept {
  const ZqvSite site{"zqvGetBitRevTbl", kModule};
  if (zqvCheckAll(site, {ZQV_CHECK(order < 0, "order<0"), ZQV_CHECK(order > 31, "order>31")}))
    return nullptr;
  return getBitRevTbl(order, site);
}

ZQVAPI void zqvFreeBitRevTbls(void) noexcept {
  ZqvContext* ctx = zqvFetchContext();
  for (int32_t order = 0; order < ZQV_CACHE_ORDERS; ++order) {
    zqvFree(ctx->cache1.bitRevTbl[order]);
    ctx->cache1.bitRevTbl[order] = nullptr;
    zqvFree(ctx->cache1.bitRevPairTbl[order]);
    ctx->cache1.bitRevPairTbl[order] = nullptr;
  }
}

ZQVAPI void zqvwbBitRev1(int16_t* vec, int32_t order) noexcept { bitRev1(vec, order, {"zqvwbBitRev1", kModule}); }
ZQVAPI void zqvsbBitRev1(float* vec, int32_t order) noexcept { bitRev1(vec, order, {"zqvsbBitRev1", kModule}); }
ZQVAPI void zqvvbBitRev1(ZqvCplxW* vec, int32_t order) noexcept { bitRev1(vec, order, {"zqvvbBitRev1", kModule}); }
ZQVAPI void zqvibBitRev1(int32_t* vec, int32_t order) noexcept { bitRev1(vec, order, {"zqvibBitRev1", kModule}); }
ZQVAPI void zqvcbBitRev1(ZqvCplxS* vec, int32_t order) noexcept { bitRev1(vec, order, {"zqvcbBitRev1", kModule}); }
ZQVAPI void zqvdbBitRev1(double* vec, int32_t order) noexcept { bitRev1(vec, order, {"zqvdbBitRev1", kModule}); }
ZQVAPI void zqvjbBitRev1(ZqvCplxI* vec, int32_t order) noexcept { bitRev1(vec, order, {"zqvjbBitRev1", kModule}); }
ZQVAPI void zqvzbBitRev1(ZqvCplxD* vec, int32_t order) noexcept { bitRev1(vec, order, {"zqvzbBitRev1", kModule}); }

ZQVAPI void zqvwbBitRev2(const int16_t* src, int16_t* dst, int32_t order) noexcept { bitRev2(src, dst, order, {"zqvwbBitRev2", kModule}); }
ZQVAPI void zqvsbBitRev2(const float* src, float* dst, int32_t order) noexcept { bitRev2(src, dst, order, {"zqvsbBitRev2", kModule}); }
ZQVAPI void zqvvbBitRev2(const ZqvCplxW* src, ZqvCplxW* dst, int32_t order) noexcept { bitRev2(src, dst, order, {"zqvvbBitRev2", kModule}); }
ZQVAPI void zqvcbBitRev2(const ZqvCplxS* src, ZqvCplxS* dst, int32_t order) noexcept { bitRev2(src, dst, order, {"zqvcbBitRev2", kModule}); }
ZQVAPI void zqvdbBitRev2(const double* src, double* dst, int32_t order) noexcept { bitRev2(src, dst, order, {"zqvdbBitRev2", kModule}); }
ZQVAPI void zqvzbBitRev2(const ZqvCplxD* src, ZqvCplxD* dst, int32_t order) noexcept { bitRev2(src, dst, order, {"zqvzbBitRev2", kModule}); }
