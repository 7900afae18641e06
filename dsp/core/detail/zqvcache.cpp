#include "core/detail/zqvcache.h"

#include "core/zqvframe.h"

namespace {

template <class P, std::size_t K>
void freeAll(P* (&slots)[K]) noexcept {
  for (P*& p : slots) {
    zqvFree(p);
    p = nullptr;
  }
}

}  // namespace

void zqvReleaseCaches(ZqvContext* ctx) noexcept {
  ZqvCacheGroup1& g1 = ctx->cache1;
  ZqvCacheGroup2& g2 = ctx->cache2;
  freeAll(g1.cDftTbl);
  freeAll(g1.zDftTbl);
  freeAll(g1.vDftTbl);
  freeAll(g1.cFftTwd);
  freeAll(g1.zFftTwd);
  freeAll(g1.vFftTwd);
  freeAll(g1.bitRevTbl);
  freeAll(g1.bitRevPairTbl);
  freeAll(g2.cHalfTwd);
  freeAll(g2.zHalfTwd);
  freeAll(g2.cRadix4Twd);
  freeAll(g2.zRadix4Twd);
  freeAll(g2.sSplitTwd);
  freeAll(g2.dSplitTwd);
  freeAll(g2.sStageTwd);
  freeAll(g2.dStageTwd);
  freeAll(g2.workBuf);
  freeAll(g2.dctOddFactors);
  zqvFree(g2.dctCos);
  ctx->cache1 = ZqvCacheGroup1{};
  ctx->cache2 = ZqvCacheGroup2{};
}
