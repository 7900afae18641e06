// Module zqvcvrts: float-to-integer and integer-to-float conversions of float
// vectors, and magnitude and power spectrum of float complex data.
#include "core/zqvcvrtgen.h"
#include "core/detail/zqvcplxgen.h"
#include "core/detail/zqvfixgen.h"

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

// ---- Complex parts ------------------------------------------------------------

ZQVAPI void zqvcbReal(const ZqvCplxS* src, float* dst, int n) noexcept { zqvcplx::real<float>(site("zqvcbReal"), src, dst, n); }
ZQVAPI void zqvcbImag(const ZqvCplxS* src, float* dst, int n) noexcept { zqvcplx::imag<float>(site("zqvcbImag"), src, dst, n); }
ZQVAPI void zqvcbCplxTo2Real(const ZqvCplxS* src, float* dstReal, float* dstImag, int n) noexcept {
  zqvcplx::cplxTo2Real<float>(site("zqvcbCplxTo2Real"), src, dstReal, dstImag, n);
}
ZQVAPI void zqvcb2RealToCplx(const float* srcReal, const float* srcImag, ZqvCplxS* dst, int n) noexcept {
  zqvcplx::twoRealToCplx<float>(site("zqvcb2RealToCplx"), srcReal, srcImag, dst, n);
}

// ---- Polar form ----------------------------------------------------------------

ZQVAPI void zqvcbCartToPolar(const ZqvCplxS* src, float* mag, float* phase, int n) noexcept {
  zqvcplx::cartToPolar<float>(site("zqvcbCartToPolar"), src, mag, phase, n);
}
ZQVAPI void zqvsbrCartToPolar(const float* srcReal, const float* srcImag, float* mag, float* phase, int n) noexcept {
  zqvcplx::splitCartToPolar<float>(site("zqvsbrCartToPolar"), srcReal, srcImag, mag, phase, n);
}
ZQVAPI void zqvcbPolarToCart(const float* mag, const float* phase, ZqvCplxS* dst, int n) noexcept {
  zqvcplx::polarToCart<float>(site("zqvcbPolarToCart"), mag, phase, dst, n);
}
ZQVAPI void zqvsbrPolarToCart(const float* mag, const float* phase, float* dstReal, float* dstImag, int n) noexcept {
  zqvcplx::splitPolarToCart<float>(site("zqvsbrPolarToCart"), mag, phase, dstReal, dstImag, n);
}
ZQVAPI void zqvcbPhase(const ZqvCplxS* src, float* phase, int n) noexcept { zqvcplx::phase<float>(site("zqvcbPhase"), src, phase, n); }
ZQVAPI void zqvsbrPhase(const float* srcReal, const float* srcImag, float* phase, int n) noexcept {
  zqvcplx::splitPhase<float>(site("zqvsbrPhase"), srcReal, srcImag, phase, n);
}

// ---- Fixed point ----------------------------------------------------------------

void zqvsbFix8ToFloatKernel(const int8_t* src, float* dst, int32_t len, int32_t fractBits) noexcept {
  zqvfix::fixToFloatKernel(src, dst, len, fractBits);
}
void zqvsbUFix8ToFloatKernel(const uint8_t* src, float* dst, int32_t len, int32_t fractBits) noexcept {
  zqvfix::fixToFloatKernel(src, dst, len, fractBits);
}
void zqvsbFix16ToFloatKernel(const int16_t* src, float* dst, int32_t len, int32_t fractBits) noexcept {
  zqvfix::fixToFloatKernel(src, dst, len, fractBits);
}
void zqvsbUFix16ToFloatKernel(const uint16_t* src, float* dst, int32_t len, int32_t fractBits) noexcept {
  zqvfix::fixToFloatKernel(src, dst, len, fractBits);
}
void zqvsbFix32ToFloatKernel(const int32_t* src, float* dst, int32_t len, int32_t fractBits) noexcept {
  zqvfix::fixToFloatKernel(src, dst, len, fractBits);
}
void zqvsbUFix32ToFloatKernel(const uint32_t* src, float* dst, int32_t len, int32_t fractBits) noexcept {
  zqvfix::fixToFloatKernel(src, dst, len, fractBits);
}

ZQVAPI void zqvsbFloatToFix(const float* src, void* dst, int32_t len, int32_t bitSize, int32_t fractBits, int32_t flags) noexcept {
  zqvfix::floatToFix(site("zqvsbFloatToFix"), src, dst, len, bitSize, fractBits, flags);
}
ZQVAPI void zqvsbFixToFloat(const void* src, float* dst, int32_t len, int32_t bitSize, int32_t fractBits, int32_t flags) noexcept {
  zqvfix::fixToFloat(site("zqvsbFixToFloat"), src, dst, len, bitSize, fractBits, flags);
}
ZQVAPI void zqvsbFloatToS7Fix(const float* src, void* dst, int32_t len, int32_t flags) noexcept {
  zqvfix::floatToFormat<float, 8, 7>(site("zqvsbFloatToS7Fix"), src, dst, len, flags);
}
ZQVAPI void zqvsbFloatToS15Fix(const float* src, void* dst, int32_t len, int32_t flags) noexcept {
  zqvfix::floatToFormat<float, 16, 15>(site("zqvsbFloatToS15Fix"), src, dst, len, flags);
}
ZQVAPI void zqvsbFloatToS31Fix(const float* src, void* dst, int32_t len, int32_t flags) noexcept {
  zqvfix::floatToFormat<float, 32, 31>(site("zqvsbFloatToS31Fix"), src, dst, len, flags);
}
ZQVAPI void zqvsbFloatToS1516Fix(const float* src, void* dst, int32_t len, int32_t flags) noexcept {
  zqvfix::floatToFormat<float, 32, 16>(site("zqvsbFloatToS1516Fix"), src, dst, len, flags);
}
ZQVAPI void zqvsbS7FixToFloat(const void* src, float* dst, int32_t len) noexcept {
  zqvfix::formatToFloat<float, 8, 7>(site("zqvsbS7FixToFloat"), src, dst, len);
}
ZQVAPI void zqvsbS15FixToFloat(const void* src, float* dst, int32_t len) noexcept {
  zqvfix::formatToFloat<float, 16, 15>(site("zqvsbS15FixToFloat"), src, dst, len);
}
ZQVAPI void zqvsbS31FixToFloat(const void* src, float* dst, int32_t len) noexcept {
  zqvfix::formatToFloat<float, 32, 31>(site("zqvsbS31FixToFloat"), src, dst, len);
}
ZQVAPI void zqvsbS1516FixToFloat(const void* src, float* dst, int32_t len) noexcept {
  zqvfix::formatToFloat<float, 32, 16>(site("zqvsbS1516FixToFloat"), src, dst, len);
}
