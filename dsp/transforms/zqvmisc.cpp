// Module zqvmisc: bit-reversed indices, the cached bit-reverse tables and the
// reordering routines for the caller.
#include <cstring>

#include "core/zqvframe.h"
#include "transforms/detail/zqvfftint.h"

namespace {

constexpr const char* kModule = "zqvmisc";

void calcBitRevTbl(int32_t* tbl, int32_t order) noexcept {
  const std::size_t n = std::size_t{1} << order;
  tbl[0] = 0;
  if (n == 1) return;
  tbl[n - 1] = static_cast<int32_t>(n - 1);
  std::size_t j = 0;
  for (std::size_t i = 1; i + 1 < n; ++i) {
    j = zqvRevCarryNext(j, n);
    if (i <= j) {
      tbl[j] = static_cast<int32_t>(i);
      tbl[i] = static_cast<int32_t>(j);
    }
  }
}

int32_t* getBitRevTbl(int32_t order, ZqvSite site) noexcept {
  ZqvContext* ctx = zqvFetchContext();
  int32_t*& slot = ctx->cache1.bitRevTbl[order];
  if (slot) return slot;
  int32_t* tbl = (order > kZqvLargestIndexTableOrder) ? nullptr : zqviMalloc(int32_t{1} << order);
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

}  // namespace

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
