// Module zqvtwd: DFT and FFT twiddle tables for the caller, computed or
// cached per thread, and the release of every table of a precision.
#include <cstring>

#include "core/zqvframe.h"
#include "transforms/detail/zqvfftint.h"
#include "transforms/detail/zqvroots.h"

using namespace zqvroots;

namespace {

constexpr const char* kModule = "zqvtwd";

template <class C>
void fillDft(C* tbl, uint64_t len) noexcept {
  for (uint64_t k = 0; k < len; ++k) tbl[k] = expNeg<C>(k, len);
}
void fillDft(ZqvCplxW* tbl, uint64_t len) noexcept {
  for (uint64_t k = 0; k < len; ++k) tbl[k] = expNegW(k, len);
}

template <class C> C* allocCplx(int32_t count) noexcept;
template <> ZqvCplxS* allocCplx<ZqvCplxS>(int32_t count) noexcept { return zqvcMalloc(count); }
template <> ZqvCplxD* allocCplx<ZqvCplxD>(int32_t count) noexcept { return zqvzMalloc(count); }
template <> ZqvCplxW* allocCplx<ZqvCplxW>(int32_t count) noexcept { return zqvvMalloc(count); }

// One DFT table list of the context.
template <class C>
struct DftList {
  int32_t& count;
  int32_t* lengths;
  C** tbls;
};

DftList<ZqvCplxS> cList(ZqvContext* ctx) { return {ctx->cache1.cDftCount, ctx->cache1.cDftLength, ctx->cache1.cDftTbl}; }
DftList<ZqvCplxD> zList(ZqvContext* ctx) { return {ctx->cache1.zDftCount, ctx->cache1.zDftLength, ctx->cache1.zDftTbl}; }
DftList<ZqvCplxW> vList(ZqvContext* ctx) { return {ctx->cache1.vDftCount, ctx->cache1.vDftLength, ctx->cache1.vDftTbl}; }

template <class C>
C* getDftTbl(ZqvContext* ctx, DftList<C> list, int32_t length, ZqvSite site) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(length < 1, "length<=0")})) return nullptr;
  for (int32_t i = 0; i < list.count; ++i)
    if (list.tbls[i] && list.lengths[i] == length) return list.tbls[i];
  if (list.count > 0 && (list.count >= ctx->dftListCapacity || list.count >= ZQV_DFT_LIST_SIZE)) {
    zqvError(ZQV_OUT_OF_MEMORY, site.func, "Full Table", site.module, __LINE__);
    return nullptr;
  }
  C* tbl = allocCplx<C>(length);
  if (!tbl) {
    zqvError(ZQV_OUT_OF_MEMORY, site.func, "NULL Pointer", site.module, __LINE__);
    return nullptr;
  }
  list.tbls[list.count] = tbl;
  list.lengths[list.count] = length;
  ++list.count;
  fillDft(tbl, static_cast<uint64_t>(length));
  return tbl;
}

template <class C>
void releaseList(DftList<C> list) noexcept {
  for (int32_t i = 0; i < ZQV_DFT_LIST_SIZE; ++i) {
    zqvFree(list.tbls[i]);
    list.tbls[i] = nullptr;
    list.lengths[i] = 0;
  }
  list.count = 0;
}

template <class C>
void calcDftTbl(C* tbl, int32_t length, ZqvSite site) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(length < 1, "length<=0"), ZQV_CHECK(tbl == nullptr, "tbl==0")})) return;
  fillDft(tbl, static_cast<uint64_t>(length));
}

template <class C>
C* getFftTbl(C* (&slots)[ZQV_CACHE_ORDERS], int32_t order, ZqvSite site) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(order < 0, "order<0"), ZQV_CHECK(order > 31, "order>31")})) return nullptr;
  C*& slot = slots[order];
  if (slot) return slot;
  C* tbl = order < 31 ? allocCplx<C>(int32_t{1} << order) : nullptr;
  if (!tbl) {
    zqvError(ZQV_OUT_OF_MEMORY, site.func, "NULL Pointer", site.module, __LINE__);
    return nullptr;
  }
  fillDft(tbl, uint64_t{1} << order);
  slot = tbl;
  return tbl;
}

template <class C>
void calcFftTbl(C* tbl, int32_t order, ZqvSite site) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(order < 0, "order<0"), ZQV_CHECK(order > 31, "order>31"),
                         ZQV_CHECK(tbl == nullptr, "tbl==0")}))
    return;
  fillDft(tbl, uint64_t{1} << order);
}

}  // namespace


ZQVAPI ZqvCplxS* zqvcGetDftTwdTbl(int32_t length) noexcept {
  ZqvContext* ctx = zqvFetchContext();
  return getDftTbl(ctx, cList(ctx), length, {"zqvcGetDftTwdTbl", kModule});
}
ZQVAPI ZqvCplxD* zqvzGetDftTwdTbl(int32_t length) noexcept {
  ZqvContext* ctx = zqvFetchContext();
  return getDftTbl(ctx, zList(ctx), length, {"zqvzGetDftTwdTbl", kModule});
}
ZQVAPI ZqvCplxW* zqvvGetDftTwdTbl(int32_t length) noexcept {
  ZqvContext* ctx = zqvFetchContext();
  return getDftTbl(ctx, vList(ctx), length, {"zqvvGetDftTwdTbl", kModule});
}

ZQVAPI void zqvcCalcDftTwdTbl(ZqvCplxS* tbl, int32_t length) noexcept { calcDftTbl(tbl, length, {"zqvcCalcDftTwdTbl", kModule}); }
ZQVAPI void zqvzCalcDftTwdTbl(ZqvCplxD* tbl, int32_t length) noexcept { calcDftTbl(tbl, length, {"zqvzCalcDftTwdTbl", kModule}); }
ZQVAPI void zqvvCalcDftTwdTbl(ZqvCplxW* tbl, int32_t length) noexcept { calcDftTbl(tbl, length, {"zqvvCalcDftTwdTbl", kModule}); }

ZQVAPI ZqvCplxS* zqvcGetFftTwdTbl(int32_t order) noexcept {
  return getFftTbl(zqvFetchContext()->cache1.cFftTwd, order, {"zqvcGetFftTwdTbl", kModule});
}
ZQVAPI ZqvCplxD* zqvzGetFftTwdTbl(int32_t order) noexcept {
  return getFftTbl(zqvFetchContext()->cache1.zFftTwd, order, {"zqvzGetFftTwdTbl", kModule});
}
ZQVAPI ZqvCplxW* zqvvGetFftTwdTbl(int32_t order) noexcept {
  return getFftTbl(zqvFetchContext()->cache1.vFftTwd, order, {"zqvvGetFftTwdTbl", kModule});
}

ZQVAPI void zqvcCalcFftTwdTbl(ZqvCplxS* tbl, int32_t order) noexcept { calcFftTbl(tbl, order, {"zqvcCalcFftTwdTbl", kModule}); }
ZQVAPI void zqvzCalcFftTwdTbl(ZqvCplxD* tbl, int32_t order) noexcept { calcFftTbl(tbl, order, {"zqvzCalcFftTwdTbl", kModule}); }
ZQVAPI void zqvvCalcFftTwdTbl(ZqvCplxW* tbl, int32_t order) noexcept { calcFftTbl(tbl, order, {"zqvvCalcFftTwdTbl", kModule}); }

ZQVAPI void zqvcFreeTwdTbls(void) noexcept {
  ZqvContext* ctx = zqvFetchContext();
  releaseList(cList(ctx));
  releaseAll(ctx->cache1.cFftTwd);
  zqvcFreeKernelTbls();
  zqvFreeWorkBufs();
}

ZQVAPI void zqvzFreeTwdTbls(void) noexcept {
  ZqvContext* ctx = zqvFetchContext();
  releaseList(zList(ctx));
  releaseAll(ctx->cache1.zFftTwd);
  zqvzFreeKernelTbls();
}

ZQVAPI void zqvvFreeTwdTbls(void) noexcept {
  ZqvContext* ctx = zqvFetchContext();
  releaseList(vList(ctx));
  releaseAll(ctx->cache1.vFftTwd);
}
