// Module zqvcvrts: float-to-integer and integer-to-float conversions of float
// vectors, and magnitude and power spectrum of float complex data.
#include "core/detail/zqvcvrt.h"
#include "core/detail/zqvcplxgen.h"
#include "core/detail/zqvfixgen.h"

namespace {
constexpr const char* kModule = "zqvcvrts";
constexpr const zqvcvrt::ModuleLines& kLines = zqvcvrt::kLinesS;
}  // namespace

// ---- Exported routines ------------------------------------------------------

ZQVAPI void zqvsbFloatToInt(const float* src, void* dst, int32_t len, int32_t bitSize, int32_t flags) noexcept {
  zqvcvrt::floatToInt({"zqvsbFloatToInt", kModule}, kLines.floatToInt, src, dst, len, bitSize, flags);
}

ZQVAPI void zqvsbIntToFloat(const void* src, float* dst, int32_t len, int32_t bitSize, int32_t flags) noexcept {
  zqvcvrt::intToFloat({"zqvsbIntToFloat", kModule}, kLines.intToFloat, src, dst, len, bitSize, flags);
}

ZQVAPI void zqvcbMag(const ZqvCplxS* src, float* mag, int32_t n) noexcept {
  zqvcvrt::cplxMag<float>({"zqvcbMag", kModule}, src, mag, n);
}

ZQVAPI void zqvsbrMag(const float* srcReal, const float* srcImag, float* mag, int32_t n) noexcept {
  zqvcvrt::splitMag<float>({"zqvsbrMag", kModule}, srcReal, srcImag, mag, n);
}

ZQVAPI void zqvcbPowerSpectr(const ZqvCplxS* src, float* spectr, int32_t n) noexcept {
  zqvcvrt::cplxPower<float>({"zqvcbPowerSpectr", kModule}, src, spectr, n);
}

ZQVAPI void zqvsbrPowerSpectr(const float* srcReal, const float* srcImag, float* spectr, int32_t n) noexcept {
  zqvcvrt::splitPower<float>({"zqvsbrPowerSpectr", kModule}, srcReal, srcImag, spectr, n);
}

// ---- Complex parts ------------------------------------------------------------

ZQVAPI void zqvcbReal(const ZqvCplxS* src, float* dst, int n) noexcept { zqvcplx::real<float>({"zqvcbReal", kModule}, src, dst, n); }
ZQVAPI void zqvcbImag(const ZqvCplxS* src, float* dst, int n) noexcept { zqvcplx::imag<float>({"zqvcbImag", kModule}, src, dst, n); }
ZQVAPI void zqvcbCplxTo2Real(const ZqvCplxS* src, float* dstReal, float* dstImag, int n) noexcept {
  zqvcplx::cplxTo2Real<float>({"zqvcbCplxTo2Real", kModule}, src, dstReal, dstImag, n);
}
ZQVAPI void zqvcb2RealToCplx(const float* srcReal, const float* srcImag, ZqvCplxS* dst, int n) noexcept {
  zqvcplx::twoRealToCplx<float>({"zqvcb2RealToCplx", kModule}, srcReal, srcImag, dst, n);
}

// ---- Polar form ----------------------------------------------------------------

ZQVAPI void zqvcbCartToPolar(const ZqvCplxS* src, float* mag, float* phase, int n) noexcept {
  zqvcplx::cartToPolar<float>({"zqvcbCartToPolar", kModule}, src, mag, phase, n);
}
ZQVAPI void zqvsbrCartToPolar(const float* srcReal, const float* srcImag, float* mag, float* phase, int n) noexcept {
  zqvcplx::splitCartToPolar<float>({"zqvsbrCartToPolar", kModule}, srcReal, srcImag, mag, phase, n);
}
ZQVAPI void zqvcbPolarToCart(const float* mag, const float* phase, ZqvCplxS* dst, int n) noexcept {
  zqvcplx::polarToCart<float>({"zqvcbPolarToCart", kModule}, mag, phase, dst, n);
}
ZQVAPI void zqvsbrPolarToCart(const float* mag, const float* phase, float* dstReal, float* dstImag, int n) noexcept {
  zqvcplx::splitPolarToCart<float>({"zqvsbrPolarToCart", kModule}, mag, phase, dstReal, dstImag, n);
}
ZQVAPI void zqvcbPhase(const ZqvCplxS* src, float* phase, int n) noexcept { zqvcplx::phase<float>({"zqvcbPhase", kModule}, src, phase, n); }
ZQVAPI void zqvsbrPhase(const float* srcReal, const float* srcImag, float* phase, int n) noexcept {
  zqvcplx::splitPhase<float>({"zqvsbrPhase", kModule}, srcReal, srcImag, phase, n);
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
  zqvfix::floatToFix({"zqvsbFloatToFix", kModule}, kLines.floatToFix, src, dst, len, bitSize, fractBits, flags);
}
ZQVAPI void zqvsbFixToFloat(const void* src, float* dst, int32_t len, int32_t bitSize, int32_t fractBits, int32_t flags) noexcept {
  zqvfix::fixToFloat({"zqvsbFixToFloat", kModule}, kLines.fixToFloat, src, dst, len, bitSize, fractBits, flags);
}
ZQVAPI void zqvsbFloatToS7Fix(const float* src, void* dst, int32_t len, int32_t flags) noexcept {
  zqvfix::floatToFormat<float, 8, 7>({"zqvsbFloatToS7Fix", kModule}, kLines.toS7, src, dst, len, flags);
}
ZQVAPI void zqvsbFloatToS15Fix(const float* src, void* dst, int32_t len, int32_t flags) noexcept {
  zqvfix::floatToFormat<float, 16, 15>({"zqvsbFloatToS15Fix", kModule}, kLines.toS15, src, dst, len, flags);
}
ZQVAPI void zqvsbFloatToS31Fix(const float* src, void* dst, int32_t len, int32_t flags) noexcept {
  zqvfix::floatToFormat<float, 32, 31>({"zqvsbFloatToS31Fix", kModule}, kLines.toS31, src, dst, len, flags);
}
ZQVAPI void zqvsbFloatToS1516Fix(const float* src, void* dst, int32_t len, int32_t flags) noexcept {
  zqvfix::floatToFormat<float, 32, 16>({"zqvsbFloatToS1516Fix", kModule}, kLines.toS1516, src, dst, len, flags);
}
ZQVAPI void zqvsbS7FixToFloat(const void* src, float* dst, int32_t len) noexcept {
  zqvfix::formatToFloat<float, 8, 7>({"zqvsbS7FixToFloat", kModule}, kLines.fromS7, src, dst, len);
}
ZQVAPI void zqvsbS15FixToFloat(const void* src, float* dst, int32_t len) noexcept {
  zqvfix::formatToFloat<float, 16, 15>({"zqvsbS15FixToFloat", kModule}, kLines.fromS15, src, dst, len);
}
ZQVAPI void zqvsbS31FixToFloat(const void* src, float* dst, int32_t len) noexcept {
  zqvfix::formatToFloat<float, 32, 31>({"zqvsbS31FixToFloat", kModule}, kLines.fromS31, src, dst, len);
}
ZQVAPI void zqvsbS1516FixToFloat(const void* src, float* dst, int32_t len) noexcept {
  zqvfix::formatToFloat<float, 32, 16>({"zqvsbS1516FixToFloat", kModule}, kLines.fromS1516, src, dst, len);
}
