// Module zqvcvrts: float-to-integer and integer-to-float conversions of float
// vectors, and magnitude and power spectrum of float complex data.
#include "core/zqvcvrtgen.h"

namespace {
constexpr const char* kModule = "zqvcvrts";
constexpr ZqvSite site(const char* func) { return {func, kModule}; }
using zqvcvrt::Kind;
}  // namespace

// ---- Conversion engine ------------------------------------------------------

void zqvsbFloatToInt8Kernel(const float* src, void* dst, int64_t len, int32_t flags, int32_t f) noexcept {
  zqvcvrt::runKernel<float, int8_t, uint8_t, Kind::Plain>(src, dst, len, flags, f);
}
int32_t zqvsbFloatToInt8CheckKernel(const float* src, void* dst, int64_t len, int32_t flags, int32_t f) noexcept {
  return zqvcvrt::runKernel<float, int8_t, uint8_t, Kind::Check>(src, dst, len, flags, f);
}
int32_t zqvsbFloatToInt8SatKernel(const float* src, void* dst, int64_t len, int32_t flags, int32_t f) noexcept {
  return zqvcvrt::runKernel<float, int8_t, uint8_t, Kind::Sat>(src, dst, len, flags, f);
}
void zqvsbFloatToInt16Kernel(const float* src, void* dst, int64_t len, int32_t flags, int32_t f) noexcept {
  zqvcvrt::runKernel<float, int16_t, uint16_t, Kind::Plain>(src, dst, len, flags, f);
}
int32_t zqvsbFloatToInt16CheckKernel(const float* src, void* dst, int64_t len, int32_t flags, int32_t f) noexcept {
  return zqvcvrt::runKernel<float, int16_t, uint16_t, Kind::Check>(src, dst, len, flags, f);
}
int32_t zqvsbFloatToInt16SatKernel(const float* src, void* dst, int64_t len, int32_t flags, int32_t f) noexcept {
  return zqvcvrt::runKernel<float, int16_t, uint16_t, Kind::Sat>(src, dst, len, flags, f);
}
void zqvsbFloatToInt32Kernel(const float* src, void* dst, int64_t len, int32_t flags, int32_t f) noexcept {
  zqvcvrt::runKernel<float, int32_t, uint32_t, Kind::Plain>(src, dst, len, flags, f);
}
int32_t zqvsbFloatToInt32CheckKernel(const float* src, void* dst, int64_t len, int32_t flags, int32_t f) noexcept {
  return zqvcvrt::runKernel<float, int32_t, uint32_t, Kind::Check>(src, dst, len, flags, f);
}
int32_t zqvsbFloatToInt32SatKernel(const float* src, void* dst, int64_t len, int32_t flags, int32_t f) noexcept {
  return zqvcvrt::runKernel<float, int32_t, uint32_t, Kind::Sat>(src, dst, len, flags, f);
}

bool zqvsbConvertToInt(const float* src, void* dst, int64_t len, int32_t bitSize, int32_t flags,
                       int32_t f) noexcept {
  return zqvcvrt::convertToInt(src, dst, len, bitSize, flags, f);
}

void zqvsbInt8ToFloatKernel(const void* src, float* dst, int64_t len) noexcept { zqvcvrt::widen<int8_t>(src, dst, len); }
void zqvsbUInt8ToFloatKernel(const void* src, float* dst, int64_t len) noexcept { zqvcvrt::widen<uint8_t>(src, dst, len); }
void zqvsbInt16ToFloatKernel(const void* src, float* dst, int64_t len) noexcept { zqvcvrt::widen<int16_t>(src, dst, len); }
void zqvsbUInt16ToFloatKernel(const void* src, float* dst, int64_t len) noexcept { zqvcvrt::widen<uint16_t>(src, dst, len); }
void zqvsbInt32ToFloatKernel(const void* src, float* dst, int64_t len) noexcept { zqvcvrt::widen<int32_t>(src, dst, len); }
void zqvsbUInt32ToFloatKernel(const void* src, float* dst, int64_t len) noexcept { zqvcvrt::widen<uint32_t>(src, dst, len); }

void zqvsbWidenToFloat(const void* src, float* dst, int64_t len, int32_t bitSize, int32_t flags) noexcept {
  zqvcvrt::widenToFloat(src, dst, len, bitSize, flags);
}

// ---- Exported routines ------------------------------------------------------

ZQVAPI void zqvsbFloatToInt(const float* src, void* dst, int32_t len, int32_t bitSize, int32_t flags) noexcept {
  zqvcvrt::floatToInt(site("zqvsbFloatToInt"), src, dst, len, bitSize, flags);
}

ZQVAPI void zqvsbIntToFloat(const void* src, float* dst, int32_t len, int32_t bitSize, int32_t flags) noexcept {
  zqvcvrt::intToFloat(site("zqvsbIntToFloat"), src, dst, len, bitSize, flags);
}

ZQVAPI void zqvcbMag(const ZqvCplxS* src, float* mag, int n) noexcept {
  zqvcvrt::cplxMag<float>(site("zqvcbMag"), src, mag, n);
}

ZQVAPI void zqvsbrMag(const float* srcReal, const float* srcImag, float* mag, int n) noexcept {
  zqvcvrt::splitMag<float>(site("zqvsbrMag"), srcReal, srcImag, mag, n);
}

ZQVAPI void zqvcbPowerSpectr(const ZqvCplxS* src, float* spectr, int n) noexcept {
  zqvcvrt::cplxPower<float>(site("zqvcbPowerSpectr"), src, spectr, n);
}

ZQVAPI void zqvsbrPowerSpectr(const float* srcReal, const float* srcImag, float* spectr, int n) noexcept {
  zqvcvrt::splitPower<float>(site("zqvsbrPowerSpectr"), srcReal, srcImag, spectr, n);
}
