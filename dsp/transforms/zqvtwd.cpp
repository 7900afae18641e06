// Twiddle tables, their per-thread caches and the work buffers. Entries are
// computed in long double from an exact octant reduction of the angle, so
// every table is accurate to its element type at any length.
#include <atomic>
#include <cmath>
#include <cstring>

#include "core/zqvframe.h"
#include "transforms/zqvfftint.h"

namespace {

constexpr const char* kModule = "zqvtwd";
constexpr long double kPi = 3.141592653589793238462643383279502884L;

struct Root {
  long double c, s;
};

// cos and sin of 2 pi k / len, reduced to the first octant so that quarter
// turns come out exact and symmetric entries agree.
Root unitRoot(uint64_t k, uint64_t len) noexcept {
  uint64_t a = 8 * (k % len);
  const uint64_t eighth = len;
  bool negS = false, negC = false, swapCs = false;
  if (a > 4 * eighth) { a = 8 * eighth - a; negS = true; }
  if (a > 2 * eighth) { a = 4 * eighth - a; negC = true; }
  if (a > eighth) { a = 2 * eighth - a; swapCs = true; }
  const long double theta = kPi * static_cast<long double>(a) / (4.0L * static_cast<long double>(len));
  Root r{cosl(theta), sinl(theta)};
  if (swapCs) std::swap(r.c, r.s);
  if (negC) r.c = -r.c;
  if (negS) r.s = -r.s;
  return r;
}

template <class C>
C expNeg(uint64_t k, uint64_t len) noexcept {
  using T = decltype(C::re);
  const Root r = unitRoot(k, len);
  return C{static_cast<T>(r.c), static_cast<T>(-r.s)};
}

ZqvCplxW expNegW(uint64_t k, uint64_t len) noexcept {
  const Root r = unitRoot(k, len);
  return ZqvCplxW{static_cast<int16_t>(truncl(r.c * 16384.0L)), static_cast<int16_t>(truncl(-r.s * 16384.0L))};
}

template <class C>
void fillDft(C* tbl, uint64_t len) noexcept {
  for (uint64_t k = 0; k < len; ++k) tbl[k] = expNeg<C>(k, len);
}
void fillDft(ZqvCplxW* tbl, uint64_t len) noexcept {
  for (uint64_t k = 0; k < len; ++k) tbl[k] = expNegW(k, len);
}

template <class C>
void fillHalf(C* tbl, int32_t order) noexcept {
  if (order == 0) {
    tbl[0] = C{1, 0};
    return;
  }
  const uint64_t n = uint64_t{1} << order;
  for (uint64_t k = 0; k < n / 2; ++k) tbl[k] = expNeg<C>(k, n);
}

template <class C>
void fillRadix4(C* tbl, int32_t order) noexcept {
  if (order == 0) tbl[0] = C{1, 0};
  if (order < 2) return;
  const uint64_t n = uint64_t{1} << order;
  for (uint64_t k = 0; k < n / 4; ++k) {
    tbl[2 * k] = expNeg<C>(k + 1, n);
    tbl[2 * k + 1] = expNeg<C>(3 * (k + 1), n);
  }
}

template <class T>
void fillSplit(T* tbl, int32_t order) noexcept {
  if (order == 0) {
    tbl[0] = T(-0.5);
    tbl[1] = T(0.5);
    return;
  }
  const uint64_t n = uint64_t{1} << order;
  for (uint64_t k = 0; k < n / 2; ++k) {
    const Root r = unitRoot(k + 1, 2 * n);
    tbl[2 * k] = static_cast<T>(0.5L * r.c);
    tbl[2 * k + 1] = static_cast<T>(0.5L - 0.5L * r.s);
  }
}

// Per-stage tables: up to order 11, for each L = 8..n at element offset
// 2L - 16, the real parts of w_L^k (k < L/4) each written twice, then their
// imaginary parts, then the same for w_L^(3k) (4n elements); above, 2n + 4B
// elements (B the block length): for each h = 1..n/2 at complex offset h,
// w_(2h)^k for k < h; then, from element 2n, for each h < B the real parts
// of w_(2h)^k each written twice at 4h + 2k and the imaginary parts at 6h + 2k.
template <class T>
constexpr uint64_t stageBlock() {
  return sizeof(T) == 4 ? kFftBlockS : kFftBlockD;
}

template <class T>
void fillStage(T* tbl, int32_t order) noexcept {
  const uint64_t n = uint64_t{1} << order;
  auto put = [&](uint64_t at, uint64_t k, uint64_t len) {
    const Root r = unitRoot(k, len);
    tbl[2 * at] = static_cast<T>(r.c);
    tbl[2 * at + 1] = static_cast<T>(-r.s);
  };
  if (order <= 11) {
    for (uint64_t len = 8; len <= n; len *= 2) {
      T* const run = tbl + (2 * len - 16);
      const uint64_t q = len / 4;
      for (uint64_t k = 0; k < q; ++k) {
        const Root r1 = unitRoot(k, len), r3 = unitRoot(3 * k, len);
        run[2 * k] = run[2 * k + 1] = static_cast<T>(r1.c);
        run[2 * q + 2 * k] = run[2 * q + 2 * k + 1] = static_cast<T>(-r1.s);
        run[4 * q + 2 * k] = run[4 * q + 2 * k + 1] = static_cast<T>(r3.c);
        run[6 * q + 2 * k] = run[6 * q + 2 * k + 1] = static_cast<T>(-r3.s);
      }
    }
  } else {
    for (uint64_t h = 1; h < n; h *= 2)
      for (uint64_t k = 0; k < h; ++k) put(h + k, k, 2 * h);
    T* const dup = tbl + 2 * n;
    for (uint64_t h = 1; h < stageBlock<T>(); h *= 2)
      for (uint64_t k = 0; k < h; ++k) {
        const Root r = unitRoot(k, 2 * h);
        dup[4 * h + 2 * k] = dup[4 * h + 2 * k + 1] = static_cast<T>(r.c);
        dup[6 * h + 2 * k] = dup[6 * h + 2 * k + 1] = static_cast<T>(-r.s);
      }
  }
}

template <class T>
T* cachedStage(T* (&slots)[ZQV_CACHE_ORDERS], int32_t order) noexcept {
  if (order < 3 || order > 31) return nullptr;
  T*& slot = slots[order];
  if (slot) return slot;
  const int64_t elems = order <= 11 ? int64_t{4} << order : (int64_t{2} << order) + 4 * int64_t{stageBlock<T>()};
  const int64_t bytes = elems * static_cast<int64_t>(sizeof(T));
  if (bytes > INT32_MAX) return nullptr;
  T* tbl = static_cast<T*>(zqvMalloc(static_cast<int32_t>(bytes)));
  if (!tbl) return nullptr;
  fillStage(tbl, order);
  slot = tbl;
  return tbl;
}

// Element count of a half, radix-4 or real-unpack table; 0 when it cannot be held.
int32_t kernelTblCount(int32_t order) noexcept {
  if (order == 0) return 1;
  if (order > 31) return 0;
  const int64_t count = int64_t{1} << (order - 1);
  return count > INT32_MAX ? 0 : static_cast<int32_t>(count);
}

template <class C> C* allocCplx(int32_t count) noexcept;
template <> ZqvCplxS* allocCplx<ZqvCplxS>(int32_t count) noexcept { return zqvcMalloc(count); }
template <> ZqvCplxD* allocCplx<ZqvCplxD>(int32_t count) noexcept { return zqvzMalloc(count); }
template <> ZqvCplxW* allocCplx<ZqvCplxW>(int32_t count) noexcept { return zqvvMalloc(count); }

// Internal order-indexed lookup: no reports.
template <class E, class Fill>
E* cachedKernel(E* (&slots)[ZQV_CACHE_ORDERS], int32_t order, int32_t elems, Fill fill) noexcept {
  if (order < 0 || order > 31) return nullptr;
  E*& slot = slots[order];
  if (slot) return slot;
  const int32_t count = kernelTblCount(order);
  const int64_t bytes = static_cast<int64_t>(count) * elems * static_cast<int64_t>(sizeof(E));
  if (count == 0 || bytes > INT32_MAX) return nullptr;
  E* tbl = static_cast<E*>(zqvMalloc(static_cast<int32_t>(bytes)));
  if (!tbl) return nullptr;
  fill(tbl, order);
  slot = tbl;
  return tbl;
}

template <class E, std::size_t K>
void releaseOne(E* (&slots)[K], int32_t index) noexcept {
  if (index < 0 || index >= static_cast<int32_t>(K)) return;
  zqvFree(slots[index]);
  slots[index] = nullptr;
}

template <class E, std::size_t K>
void releaseAll(E* (&slots)[K]) noexcept {
  for (std::size_t i = 0; i < K; ++i) releaseOne(slots, static_cast<int32_t>(i));
}

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

void zqvcCalcHalfTwd(ZqvCplxS* tbl, int32_t order) noexcept { fillHalf(tbl, order); }
void zqvzCalcHalfTwd(ZqvCplxD* tbl, int32_t order) noexcept { fillHalf(tbl, order); }
void zqvcCalcRadix4Twd(ZqvCplxS* tbl, int32_t order) noexcept { fillRadix4(tbl, order); }
void zqvzCalcRadix4Twd(ZqvCplxD* tbl, int32_t order) noexcept { fillRadix4(tbl, order); }
void zqvsCalcSplitTwd(float* tbl, int32_t order) noexcept { fillSplit(tbl, order); }
void zqvdCalcSplitTwd(double* tbl, int32_t order) noexcept { fillSplit(tbl, order); }

ZqvCplxS* zqvcGetHalfTwd(int32_t order) noexcept {
  return cachedKernel(zqvFetchContext()->cache2.cHalfTwd, order, 1, zqvcCalcHalfTwd);
}
ZqvCplxD* zqvzGetHalfTwd(int32_t order) noexcept {
  return cachedKernel(zqvFetchContext()->cache2.zHalfTwd, order, 1, zqvzCalcHalfTwd);
}
ZqvCplxS* zqvcGetRadix4Twd(int32_t order) noexcept {
  return cachedKernel(zqvFetchContext()->cache2.cRadix4Twd, order, 1, zqvcCalcRadix4Twd);
}
ZqvCplxD* zqvzGetRadix4Twd(int32_t order) noexcept {
  return cachedKernel(zqvFetchContext()->cache2.zRadix4Twd, order, 1, zqvzCalcRadix4Twd);
}
float* zqvsGetSplitTwd(int32_t order) noexcept {
  return cachedKernel(zqvFetchContext()->cache2.sSplitTwd, order, 2, zqvsCalcSplitTwd);
}
double* zqvdGetSplitTwd(int32_t order) noexcept {
  return cachedKernel(zqvFetchContext()->cache2.dSplitTwd, order, 2, zqvdCalcSplitTwd);
}

void zqvsCalcStageTwd(float* tbl, int32_t order) noexcept { fillStage(tbl, order); }
void zqvdCalcStageTwd(double* tbl, int32_t order) noexcept { fillStage(tbl, order); }
float* zqvsGetStageTwd(int32_t order) noexcept { return cachedStage(zqvFetchContext()->cache2.sStageTwd, order); }
double* zqvdGetStageTwd(int32_t order) noexcept { return cachedStage(zqvFetchContext()->cache2.dStageTwd, order); }
void zqvsFreeStageTwd(int32_t order) noexcept { releaseOne(zqvFetchContext()->cache2.sStageTwd, order); }
void zqvdFreeStageTwd(int32_t order) noexcept { releaseOne(zqvFetchContext()->cache2.dStageTwd, order); }

namespace {
std::atomic<int32_t> gVectorBits{512};
}  // namespace

bool zqvHasAvx2() noexcept {
  static const bool has = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
  }();
  return has && gVectorBits.load(std::memory_order_relaxed) >= 256;
}

bool zqvHasAvx512() noexcept {
  static const bool has = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0 && __builtin_cpu_supports("avx512f") != 0 &&
           __builtin_cpu_supports("avx512dq") != 0;
  }();
  return has && gVectorBits.load(std::memory_order_relaxed) >= 512;
}

void zqvFftAllowWideVectors(bool allow) noexcept { zqvFftLimitVectorBits(allow ? 512 : 128); }
void zqvFftLimitVectorBits(int32_t bits) noexcept { gVectorBits.store(bits, std::memory_order_relaxed); }

void zqvcFreeHalfTwd(int32_t order) noexcept { releaseOne(zqvFetchContext()->cache2.cHalfTwd, order); }
void zqvzFreeHalfTwd(int32_t order) noexcept { releaseOne(zqvFetchContext()->cache2.zHalfTwd, order); }
void zqvcFreeRadix4Twd(int32_t order) noexcept { releaseOne(zqvFetchContext()->cache2.cRadix4Twd, order); }
void zqvzFreeRadix4Twd(int32_t order) noexcept { releaseOne(zqvFetchContext()->cache2.zRadix4Twd, order); }
void zqvsFreeSplitTwd(int32_t order) noexcept { releaseOne(zqvFetchContext()->cache2.sSplitTwd, order); }
void zqvdFreeSplitTwd(int32_t order) noexcept { releaseOne(zqvFetchContext()->cache2.dSplitTwd, order); }

void zqvcFreeKernelTbls() noexcept {
  ZqvContext* ctx = zqvFetchContext();
  releaseAll(ctx->cache2.cHalfTwd);
  releaseAll(ctx->cache2.cRadix4Twd);
  releaseAll(ctx->cache2.sSplitTwd);
  releaseAll(ctx->cache2.sStageTwd);
  releaseAll(ctx->cache1.bitRevPairTbl);
}

void zqvzFreeKernelTbls() noexcept {
  ZqvContext* ctx = zqvFetchContext();
  releaseAll(ctx->cache2.zHalfTwd);
  releaseAll(ctx->cache2.zRadix4Twd);
  releaseAll(ctx->cache2.dSplitTwd);
  releaseAll(ctx->cache2.dStageTwd);
}

ZqvCplxS* zqvGetWorkBuf(int32_t count, int32_t slot) noexcept {
  if (count < 1 || slot < 0 || slot >= ZQV_WORK_BUF_SLOTS) return nullptr;
  ZqvCacheGroup2& g = zqvFetchContext()->cache2;
  if (g.workBuf[slot] && g.workBufCapacity[slot] >= count) return g.workBuf[slot];
  zqvFree(g.workBuf[slot]);
  g.workBuf[slot] = nullptr;
  g.workBufCapacity[slot] = 0;
  ZqvCplxS* buf = zqvcMalloc(count);
  if (!buf) return nullptr;
  g.workBuf[slot] = buf;
  g.workBufCapacity[slot] = count;
  return buf;
}

void zqvFreeWorkBufs() noexcept {
  ZqvCacheGroup2& g = zqvFetchContext()->cache2;
  for (int32_t i = 0; i < ZQV_WORK_BUF_SLOTS; ++i) {
    zqvFree(g.workBuf[i]);
    g.workBuf[i] = nullptr;
    g.workBufCapacity[i] = 0;
  }
}

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
