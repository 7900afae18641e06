// Module zqvcvrtd: float-to-integer and integer-to-float conversions of double
// vectors, and magnitude and power spectrum of double complex data.
#include "core/detail/zqvcvrt.h"
#include "core/detail/zqvcplxgen.h"
#include "core/detail/zqvfixgen.h"

namespace {
constexpr const char* kModule = "zqvcvrtd";
constexpr const zqvcvrt::ModuleLines& kLines = zqvcvrt::kLinesD;
}  // namespace

// ---- Exported routines ------------------------------------------------------

ZQVAPI void zqvdbFloatToInt(const double* src, void* dst, int32_t len, int32_t bitSize, int32_t flags) noexcept {
  zqvcvrt::floatToInt({"zqvdbFloatToInt", kModule}, kLines.floatToInt, src, dst, len, bitSize, flags);
}

ZQVAPI void zqvdbIntToFloat(const void* src, double* dst, int32_t len, int32_t bitSize, int32_t flags) noexcept {
  zqvcvrt::intToFloat({"zqvdbIntToFloat", kModule}, kLines.intToFloat, src, dst, len, bitSize, flags);
}

ZQVAPI void zqvzbMag(const ZqvCplxD* src, double* mag, int32_t n) noexcept {
  zqvcvrt::cplxMag<double>({"zqvzbMag", kModule}, src, mag, n);
}

ZQVAPI void zqvdbrMag(const double* srcReal, const double* srcImag, double* mag, int32_t n) noexcept {
  zqvcvrt::splitMag<double>({"zqvdbrMag", kModule}, srcReal, srcImag, mag, n);
}

ZQVAPI void zqvzbPowerSpectr(const ZqvCplxD* src, double* spectr, int32_t n) noexcept {
  zqvcvrt::cplxPower<double>({"zqvzbPowerSpectr", kModule}, src, spectr, n);
}

ZQVAPI void zqvdbrPowerSpectr(const double* srcReal, const double* srcImag, double* spectr, int32_t n) noexcept {
  zqvcvrt::splitPower<double>({"zqvdbrPowerSpectr", kModule}, srcReal, srcImag, spectr, n);
}

// ---- Complex parts ------------------------------------------------------------

ZQVAPI void zqvzbReal(const ZqvCplxD* src, double* dst, int n) noexcept { zqvcplx::real<double>({"zqvzbReal", kModule}, src, dst, n); }
ZQVAPI void zqvzbImag(const ZqvCplxD* src, double* dst, int n) noexcept { zqvcplx::imag<double>({"zqvzbImag", kModule}, src, dst, n); }
ZQVAPI void zqvzbCplxTo2Real(const ZqvCplxD* src, double* dstReal, double* dstImag, int n) noexcept {
  zqvcplx::cplxTo2Real<double>({"zqvzbCplxTo2Real", kModule}, src, dstReal, dstImag, n);
}
ZQVAPI void zqvzb2RealToCplx(const double* srcReal, const double* srcImag, ZqvCplxD* dst, int n) noexcept {
  zqvcplx::twoRealToCplx<double>({"zqvzb2RealToCplx", kModule}, srcReal, srcImag, dst, n);
}

// ---- Polar form ----------------------------------------------------------------

ZQVAPI void zqvzbCartToPolar(const ZqvCplxD* src, double* mag, double* phase, int n) noexcept {
  zqvcplx::cartToPolar<double>({"zqvzbCartToPolar", kModule}, src, mag, phase, n);
}
ZQVAPI void zqvdbrCartToPolar(const double* srcReal, const double* srcImag, double* mag, double* phase, int n) noexcept {
  zqvcplx::splitCartToPolar<double>({"zqvdbrCartToPolar", kModule}, srcReal, srcImag, mag, phase, n);
}
ZQVAPI void zqvzbPolarToCart(const double* mag, const double* phase, ZqvCplxD* dst, int n) noexcept {
  zqvcplx::polarToCart<double>({"zqvzbPolarToCart", kModule}, mag, phase, dst, n);
}
ZQVAPI void zqvdbrPolarToCart(const double* mag, const double* phase, double* dstReal, double* dstImag, int n) noexcept {
  zqvcplx::splitPolarToCart<double>({"zqvdbrPolarToCart", kModule}, mag, phase, dstReal, dstImag, n);
}
ZQVAPI void zqvzbPhase(const ZqvCplxD* src, double* phase, int n) noexcept { zqvcplx::phase<double>({"zqvzbPhase", kModule}, src, phase, n); }
ZQVAPI void zqvdbrPhase(const double* srcReal, const double* srcImag, double* phase, int n) noexcept {
  zqvcplx::splitPhase<double>({"zqvdbrPhase", kModule}, srcReal, srcImag, phase, n);
}

// ---- Fixed point ----------------------------------------------------------------

void zqvdbFix8ToFloatKernel(const int8_t* src, double* dst, int32_t len, int32_t fractBits) noexcept {
  zqvfix::fixToFloatKernel(src, dst, len, fractBits);
}
void zqvdbUFix8ToFloatKernel(const uint8_t* src, double* dst, int32_t len, int32_t fractBits) noexcept {
  zqvfix::fixToFloatKernel(src, dst, len, fractBits);
}
void zqvdbFix16ToFloatKernel(const int16_t* src, double* dst, int32_t len, int32_t fractBits) noexcept {
  zqvfix::fixToFloatKernel(src, dst, len, fractBits);
}
void zqvdbUFix16ToFloatKernel(const uint16_t* src, double* dst, int32_t len, int32_t fractBits) noexcept {
  zqvfix::fixToFloatKernel(src, dst, len, fractBits);
}
void zqvdbFix32ToFloatKernel(const int32_t* src, double* dst, int32_t len, int32_t fractBits) noexcept {
  zqvfix::fixToFloatKernel(src, dst, len, fractBits);
}
void zqvdbUFix32ToFloatKernel(const uint32_t* src, double* dst, int32_t len, int32_t fractBits) noexcept {
  zqvfix::fixToFloatKernel(src, dst, len, fractBits);
}

ZQVAPI void zqvdbFloatToFix(const double* src, void* dst, int32_t len, int32_t bitSize, int32_t fractBits, int32_t flags) noexcept {
  zqvfix::floatToFix({"zqvdbFloatToFix", kModule}, kLines.floatToFix, src, dst, len, bitSize, fractBits, flags);
}
ZQVAPI void zqvdbFixToFloat(const void* src, double* dst, int32_t len, int32_t bitSize, int32_t fractBits, int32_t flags) noexcept {
  zqvfix::fixToFloat({"zqvdbFixToFloat", kModule}, kLines.fixToFloat, src, dst, len, bitSize, fractBits, flags);
}
// The S15 and S31 conversions have always reported as "zqvdbFloaTo...".
ZQVAPI void zqvdbFloatToS7Fix(const double* src, void* dst, int32_t len, int32_t flags) noexcept {
  zqvfix::floatToFormat<double, 8, 7>({"zqvdbFloatToS7Fix", kModule}, kLines.toS7, src, dst, len, flags);
}
ZQVAPI void zqvdbFloatToS15Fix(const double* src, void* dst, int32_t len, int32_t flags) noexcept {
  zqvfix::floatToFormat<double, 16, 15>({"zqvdbFloaToS15Fix", kModule}, kLines.toS15, src, dst, len, flags);
}
ZQVAPI void zqvdbFloatToS31Fix(const double* src, void* dst, int32_t len, int32_t flags) noexcept {
  zqvfix::floatToFormat<double, 32, 31>({"zqvdbFloaToS31Fix", kModule}, kLines.toS31, src, dst, len, flags);
}
ZQVAPI void zqvdbFloatToS1516Fix(const double* src, void* dst, int32_t len, int32_t flags) noexcept {
  zqvfix::floatToFormat<double, 32, 16>({"zqvdbFloatToS1516Fix", kModule}, kLines.toS1516, src, dst, len, flags);
}
ZQVAPI void zqvdbS7FixToFloat(const void* src, double* dst, int32_t len) noexcept {
  zqvfix::formatToFloat<double, 8, 7>({"zqvdbS7FixToFloat", kModule}, kLines.fromS7, src, dst, len);
}
ZQVAPI void zqvdbS15FixToFloat(const void* src, double* dst, int32_t len) noexcept {
  zqvfix::formatToFloat<double, 16, 15>({"zqvdbS15FixToFloat", kModule}, kLines.fromS15, src, dst, len);
}
ZQVAPI void zqvdbS31FixToFloat(const void* src, double* dst, int32_t len) noexcept {
  zqvfix::formatToFloat<double, 32, 31>({"zqvdbS31FixToFloat", kModule}, kLines.fromS31, src, dst, len);
}
ZQVAPI void zqvdbS1516FixToFloat(const void* src, double* dst, int32_t len) noexcept {
  zqvfix::formatToFloat<double, 32, 16>({"zqvdbS1516FixToFloat", kModule}, kLines.fromS1516, src, dst, len);
}
