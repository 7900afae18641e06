#include "transforms/zqvcache.h"

#include "core/zqvframe.h"

void zqvReleaseCaches(ZqvContext* ctx) noexcept {
  ctx->cache1 = ZqvCacheGroup1{};
  ctx->cache2 = ZqvCacheGroup2{};
}
