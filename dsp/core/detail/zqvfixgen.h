// Generic bodies of the fixed-point conversions, instantiated for float in
// zqvcvrts.cpp and for double in zqvcvrtd.cpp. A fixed-point vector holds
// integers of 8, 16 or 32 bits standing for integer * 2^-fractBits: to fixed
// point is the float-to-integer engine with a fraction-bit count, from fixed
// point a widening with one exact scale.
#ifndef ZQV_FIXGEN_H
#define ZQV_FIXGEN_H

#include <cmath>
#include <cstdint>

#include "core/detail/zqvcvrt.h"
#include "core/zqvframe.h"

// Kernels from fixed point: dst[i] = src[i] * 2^-fractBits. The product is
// exact; storing it rounds only 32-bit values with more than 24 significant
// bits into a float, in the caller's rounding mode. dst must not overlap src.
void zqvsbFix8ToFloatKernel(const int8_t* src, float* dst, int32_t len, int32_t fractBits) noexcept;
void zqvsbUFix8ToFloatKernel(const uint8_t* src, float* dst, int32_t len, int32_t fractBits) noexcept;
void zqvsbFix16ToFloatKernel(const int16_t* src, float* dst, int32_t len, int32_t fractBits) noexcept;
void zqvsbUFix16ToFloatKernel(const uint16_t* src, float* dst, int32_t len, int32_t fractBits) noexcept;
void zqvsbFix32ToFloatKernel(const int32_t* src, float* dst, int32_t len, int32_t fractBits) noexcept;
void zqvsbUFix32ToFloatKernel(const uint32_t* src, float* dst, int32_t len, int32_t fractBits) noexcept;
void zqvdbFix8ToFloatKernel(const int8_t* src, double* dst, int32_t len, int32_t fractBits) noexcept;
void zqvdbUFix8ToFloatKernel(const uint8_t* src, double* dst, int32_t len, int32_t fractBits) noexcept;
void zqvdbFix16ToFloatKernel(const int16_t* src, double* dst, int32_t len, int32_t fractBits) noexcept;
void zqvdbUFix16ToFloatKernel(const uint16_t* src, double* dst, int32_t len, int32_t fractBits) noexcept;
void zqvdbFix32ToFloatKernel(const int32_t* src, double* dst, int32_t len, int32_t fractBits) noexcept;
void zqvdbUFix32ToFloatKernel(const uint32_t* src, double* dst, int32_t len, int32_t fractBits) noexcept;

namespace zqvfix {

template <class I, class F>
void fixToFloatKernel(const I* src, F* dst, int32_t len, int32_t fractBits) noexcept {
  // 2^-fractBits (0..32) is a normal float: the scale is exact.
  const long double scale = std::ldexp(1.0L, -fractBits);
  for (int64_t i = 0; i < len; ++i) dst[i] = static_cast<F>(static_cast<long double>(src[i]) * scale);
}

inline bool badSize(int32_t bitSize) noexcept { return bitSize != 8 && bitSize != 16 && bitSize != 32; }

// fractBits may reach bitSize for unsigned formats, bitSize - 1 for signed.
inline bool badFractBits(int32_t fractBits, int32_t bitSize, int32_t flags) noexcept {
  return fractBits < 0 || fractBits > ((flags & ZQV_CVT_UNSIGNED) ? bitSize : bitSize - 1);
}

// The conversion after the checks; an element that did not fit is reported
// once, after the whole destination is written, when the flags ask for it.
template <class S>
void convert(ZqvSite site, const zqvcvrt::Lines& lines, const S* src, void* dst, int32_t len, int32_t bitSize,
             int32_t fractBits, int32_t flags) noexcept {
  if (zqvcvrt::convertToInt(src, dst, len, bitSize, flags, fractBits) && (flags & ZQV_CVT_CHECK))
    zqvError(ZQV_BAD_ARGUMENT, site.func, "A float exceeds an integer", site.module, lines.exceeds);
}

template <class S>
void floatToFix(ZqvSite site, const zqvcvrt::Lines& lines, const S* src, void* dst, int32_t len, int32_t bitSize,
                int32_t fractBits, int32_t flags) noexcept {
  zqvSetErrStatus(ZQV_NO_ERROR);
  const int32_t at = lines.checks;
  if (zqvCheckAll(site, {ZqvCheck{len < 1, "len<=0", at}, ZqvCheck{!src, "src==0", at}, ZqvCheck{!dst, "dst==0", at},
                         ZqvCheck{badSize(bitSize), "Invalid size of a fix-point", at},
                         ZqvCheck{!zqvOneRoundingFlag(flags), "Invalid conversion flag", at},
                         ZqvCheck{badFractBits(fractBits, bitSize, flags), "Invalid fractBits", lines.fractBits}}))
    return;
  convert(site, lines, src, dst, len, bitSize, fractBits, flags);
}

// The fixed formats S7, S15, S31 and S1516; ZQV_CVT_UNSIGNED is admitted and
// gives unsigned integers with the same fraction bits.
template <class S, int32_t BitSize, int32_t FractBits>
void floatToFormat(ZqvSite site, const zqvcvrt::Lines& lines, const S* src, void* dst, int32_t len,
                   int32_t flags) noexcept {
  zqvSetErrStatus(ZQV_NO_ERROR);
  const int32_t at = lines.checks;
  if (zqvCheckAll(site, {ZqvCheck{len < 1, "len<=0", at}, ZqvCheck{!src, "src==0", at}, ZqvCheck{!dst, "dst==0", at},
                         ZqvCheck{!zqvOneRoundingFlag(flags), "Invalid conversion flag", at}}))
    return;
  convert(site, lines, src, dst, len, BitSize, FractBits, flags);
}

template <class F>
void widen(const void* src, F* dst, int32_t len, int32_t bitSize, bool isUnsigned, int32_t fractBits) noexcept;

template <>
inline void widen<float>(const void* src, float* dst, int32_t len, int32_t bitSize, bool u, int32_t fb) noexcept {
  switch (bitSize) {
    case 8: return u ? zqvsbUFix8ToFloatKernel(static_cast<const uint8_t*>(src), dst, len, fb)
                     : zqvsbFix8ToFloatKernel(static_cast<const int8_t*>(src), dst, len, fb);
    case 16: return u ? zqvsbUFix16ToFloatKernel(static_cast<const uint16_t*>(src), dst, len, fb)
                      : zqvsbFix16ToFloatKernel(static_cast<const int16_t*>(src), dst, len, fb);
    default: return u ? zqvsbUFix32ToFloatKernel(static_cast<const uint32_t*>(src), dst, len, fb)
                      : zqvsbFix32ToFloatKernel(static_cast<const int32_t*>(src), dst, len, fb);
  }
}
template <>
inline void widen<double>(const void* src, double* dst, int32_t len, int32_t bitSize, bool u, int32_t fb) noexcept {
  switch (bitSize) {
    case 8: return u ? zqvdbUFix8ToFloatKernel(static_cast<const uint8_t*>(src), dst, len, fb)
                     : zqvdbFix8ToFloatKernel(static_cast<const int8_t*>(src), dst, len, fb);
    case 16: return u ? zqvdbUFix16ToFloatKernel(static_cast<const uint16_t*>(src), dst, len, fb)
                      : zqvdbFix16ToFloatKernel(static_cast<const int16_t*>(src), dst, len, fb);
    default: return u ? zqvdbUFix32ToFloatKernel(static_cast<const uint32_t*>(src), dst, len, fb)
                      : zqvdbFix32ToFloatKernel(static_cast<const int32_t*>(src), dst, len, fb);
  }
}

template <class F>
void fixToFloat(ZqvSite site, const zqvcvrt::Lines& lines, const void* src, F* dst, int32_t len, int32_t bitSize,
                int32_t fractBits, int32_t flags) noexcept {
  zqvSetErrStatus(ZQV_NO_ERROR);
  const int32_t at = lines.checks;
  if (zqvCheckAll(site, {ZqvCheck{len < 1, "len<=0", at}, ZqvCheck{!src, "src==0", at}, ZqvCheck{!dst, "dst==0", at},
                         ZqvCheck{badSize(bitSize), "Invalid size of a fix-point", at},
                         ZqvCheck{flags != 0 && flags != ZQV_CVT_UNSIGNED, "Invalid conversion flag", at},
                         ZqvCheck{badFractBits(fractBits, bitSize, flags), "Invalid fractBits", lines.fractBits}}))
    return;
  widen(src, dst, len, bitSize, flags == ZQV_CVT_UNSIGNED, fractBits);
}

// The fixed formats back to floats leave an earlier failure in place (and
// then do nothing).
template <class F, int32_t BitSize, int32_t FractBits>
void formatToFloat(ZqvSite site, const zqvcvrt::Lines& lines, const void* src, F* dst, int32_t len) noexcept {
  const int32_t at = lines.checks;
  if (zqvCheckAll(site, {ZqvCheck{len < 1, "len<=0", at}, ZqvCheck{!src, "src==0", at}, ZqvCheck{!dst, "dst==0", at}}))
    return;
  widen(src, dst, len, BitSize, false, FractBits);
}

}  // namespace zqvfix

#endif
