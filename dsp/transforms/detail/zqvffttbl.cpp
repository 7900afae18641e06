// The tables of the FFT kernels, cached per thread by order: half and
// radix-4 twiddles, real-unpack pairs, the per-stage tables of the vector
// kernels, and the work buffers.
#include <cstring>

#include "core/zqvframe.h"
#include "transforms/detail/zqvfftint.h"
#include "transforms/detail/zqvroots.h"

using namespace zqvroots;

namespace {

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
// 3L - 24, the real parts of w_L^k (k < L/4) each written twice, then their
// imaginary parts, then the same for w_L^(3k), then w_L^k and w_L^(3k) as
// complex values (6n elements); above, 2n + 4B
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
      T* const run = tbl + (3 * len - 24);
      const uint64_t q = len / 4;
      for (uint64_t k = 0; k < q; ++k) {
        const Root r1 = unitRoot(k, len), r3 = unitRoot(3 * k, len);
        run[2 * k] = run[2 * k + 1] = run[8 * q + 2 * k] = static_cast<T>(r1.c);
        run[2 * q + 2 * k] = run[2 * q + 2 * k + 1] = run[8 * q + 2 * k + 1] = static_cast<T>(-r1.s);
        run[4 * q + 2 * k] = run[4 * q + 2 * k + 1] = run[10 * q + 2 * k] = static_cast<T>(r3.c);
        run[6 * q + 2 * k] = run[6 * q + 2 * k + 1] = run[10 * q + 2 * k + 1] = static_cast<T>(-r3.s);
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
  const int64_t elems = order <= 11 ? int64_t{6} << order : (int64_t{2} << order) + 4 * int64_t{stageBlock<T>()};
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
