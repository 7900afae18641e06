// Generic bodies of up- and down-sampling by an integer factor. The routines
// only move whole elements and write zero elements, so one body serves every
// element type.
#ifndef ZQV_SAMPLGEN_H
#define ZQV_SAMPLGEN_H

#include <cstdint>
#include <cstring>

#include "core/zqvframe.h"

namespace zqvsampl {

inline constexpr const char* kModule = "zqvsampl";

// The family's checks in their order; the first that fails is reported and
// the routine returns. The thread's status is never read. An up-sampled
// length that an int32 cannot hold is refused as an invalid factor.
template <class T>
bool refused(ZqvSite site, const T* src, int32_t srcLen, const T* dst, const int32_t* dstLen,
             int32_t factor, const int32_t* phase, bool up) noexcept {
  const int64_t outLen = int64_t{factor} * srcLen;
  return zqvCheckFirst(
      site, {ZQV_CHECK(srcLen < 1, "Invalid src array length"),
             ZQV_CHECK(!src || !dst, "Null buffer pointer"),
             ZQV_CHECK(!dstLen, "Null dstLen pointer"),
             ZQV_CHECK(!phase, "Null phase pointer"),
             ZQV_CHECK(factor < 1, "Invalid factor value"),
             ZQV_CHECK(phase && *phase < 0, "Invalid phase value"),
             ZQV_CHECK(phase && *phase >= factor, "Invalid factor value"),
             ZQV_CHECK(up && outLen > INT32_MAX, "Invalid factor value")});
}

// dst[i*factor + phase] = src[i], zeros elsewhere. Filled from the end
// towards the start: every source element is read before anything at or
// below its own index is written, so dst may begin at src.
template <class T>
void upSample(ZqvSite site, const T* src, int32_t srcLen, T* dst, int32_t* dstLen, int32_t factor,
              int32_t* phase) noexcept {
  if (refused(site, src, srcLen, dst, dstLen, factor, phase, true)) return;
  const int64_t len = srcLen, f = factor, p = *phase;
  *dstLen = static_cast<int32_t>(f * len);
  if (f == 1) {
    if (src != dst) std::memmove(static_cast<void*>(dst), src, static_cast<size_t>(len) * sizeof(T));
    return;
  }
  const T zero{};
  int64_t k = f * len - 1;
  for (int64_t j = 0; j < f - 1 - p; ++j) dst[k--] = zero;
  for (int64_t i = len - 1; i >= 0; --i) {
    const T x = src[i];
    dst[k--] = x;
    if (i > 0)
      for (int64_t j = 0; j < f - 1; ++j) dst[k--] = zero;
  }
  for (int64_t j = 0; j < p; ++j) dst[j] = zero;
}

// dst gets src[phase], src[phase + factor], ... below srcLen; phase becomes
// the offset of the next block's first kept element. Runs forwards, so dst
// may be src itself.
template <class T>
void downSample(ZqvSite site, const T* src, int32_t srcLen, T* dst, int32_t* dstLen, int32_t factor,
                int32_t* phase) noexcept {
  if (refused(site, src, srcLen, dst, dstLen, factor, phase, false)) return;
  const int64_t len = srcLen, f = factor;
  if (f == 1) {
    *dstLen = srcLen;
    if (src != dst) std::memmove(static_cast<void*>(dst), src, static_cast<size_t>(len) * sizeof(T));
    return;
  }
  // 64-bit index: a factor near 2^31 must not wrap the index past srcLen.
  int64_t j = *phase, n = 0;
  for (; j < len; j += f) dst[n++] = src[j];
  *phase = static_cast<int32_t>(j - len);
  *dstLen = static_cast<int32_t>(n);
}

}  // namespace zqvsampl

#endif
