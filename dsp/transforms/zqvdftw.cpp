// Module zqvdftw: the DFT of any length for complex 16-bit vectors, through
// the float DFT in the thread's work buffers and a narrowing by scale mode.
#include <cstdint>

#include "core/zqvframe.h"
#include "core/detail/zqvscale.h"
#include "transforms/detail/zqvfftint.h"

namespace {

constexpr const char* kModule = "zqvdftw";
constexpr int32_t kDoIntCore = 0x2000;
constexpr int32_t kDoFastMmx = 0x8000;

void releaseKernelTablesAndBuffers() noexcept {
  zqvcFreeKernelTbls();
  zqvzFreeKernelTbls();
  zqvFreeWorkBufs();
}

// Work buffers of slots 1 and 2, count complex floats each; on a shortage the
// kernel tables and buffers are released and the fetch tried once more.
bool workBuffers(int32_t count, ZqvCplxS*& in, ZqvCplxS*& out) noexcept {
  for (int attempt = 0; attempt < 2; ++attempt) {
    in = zqvGetWorkBuf(count, 1);
    out = in ? zqvGetWorkBuf(count, 2) : nullptr;
    if (in && out) return true;
    releaseKernelTablesAndBuffers();
  }
  return false;
}

}  // namespace

ZQVAPI void zqvvDft(const ZqvCplxW* inSamps, ZqvCplxW* outSamps, int32_t length, int32_t flags,
                    int32_t scaleMode, int32_t* scaleFactor) noexcept {
  const ZqvSite site{"zqvvDft", kModule};
  if (flags & ZQV_FreeTbls) {
    releaseKernelTablesAndBuffers();
    return;
  }
  if (zqvCheckFirst(site, {ZQV_CHECK(length <= 0, "length<=0"),
                           ZQV_CHECK(flags & (kDoIntCore | kDoFastMmx), "ZQV_DoIntCore or ZQV_DoFastMMX")}))
    return;
  const bool init = flags & ZQV_Init;
  if (!init) {
    if (zqvCheckAll(site, {ZQV_CHECK(inSamps == nullptr, "inSamps==0"), ZQV_CHECK(outSamps == nullptr, "outSamps==0")}))
      return;
    const bool forw = flags & ZQV_Forw, inv = flags & ZQV_Inv;
    if (zqvCheckFirst(site, {ZQV_CHECK(forw && inv, "ZQV_Forw and ZQV_Inv"),
                             ZQV_CHECK(!forw && !inv, "no ZQV_Forw or ZQV_Inv"),
                             ZQV_CHECK((scaleMode & ZQV_FIXED_SCALE) && (scaleMode & ZQV_AUTO_SCALE),
                                       "ZQV_FIXED_SCALE and ZQV_AUTO_SCALE"),
                             ZQV_CHECK((scaleMode & ZQV_AUTO_SCALE) && scaleFactor == nullptr,
                                       "ZQV_AUTO_SCALE and scaleFactor==NULL")}))
      return;
  } else if (zqvStatusNegative()) {
    return;
  }
  if (length == 1) {
    if (!init) outSamps[0] = inSamps[0];
    return;
  }
  // The float conversions count 2 * length values in 32 bits.
  ZqvCplxS* in = nullptr;
  ZqvCplxS* out = nullptr;
  if (length > INT32_MAX / 2 || !workBuffers(length, in, out)) {
    zqvError(ZQV_OUT_OF_MEMORY, site.func, "No working memory", site.module, __LINE__);
    return;
  }
  if (init) {
    zqvcDft(nullptr, nullptr, length, flags);
    if (zqvStatusNegative()) zqvBacktrace(site, "out zqvcDft ZQV_Init", __LINE__);
    return;
  }
  zqvsbIntToFloat(inSamps, reinterpret_cast<float*>(in), 2 * length, 16, 0);
  zqvcDft(in, out, length, flags);
  // A failed float transform leaves nothing worth narrowing: the caller's
  // vector stays as it was.
  if (zqvStatusNegative()) {
    zqvBacktrace(site, "out zqvcDft calc. DFT", __LINE__);
    return;
  }
  zqvsbScaleToW(reinterpret_cast<const float*>(out), reinterpret_cast<int16_t*>(outSamps), 2 * length, scaleMode,
                scaleFactor);
}
