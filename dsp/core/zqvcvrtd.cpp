// Module zqvcvrtd: float-to-integer and integer-to-float conversions of double
// vectors, and magnitude and power spectrum of double complex data.
#include "core/zqvcvrtgen.h"
#include "core/detail/zqvcplxgen.h"
#include "core/detail/zqvfixgen.h"

namespace {
constexpr const char* kModule = "zqvcvrtd";
constexpr ZqvSite site(const char* func) { return {func, kModule}; }
using zqvcvrt::Kind;
}  // namespace

// ---- Conversion engine ------------------------------------------------------

void zqvdbFloatToInt8Kernel(const double* src, void* dst, int64_t len, int32_t flags, int32_t f) noexcept {
  zqvcvrt::runKernel<double, int8_t, uint8_t, Kind::Plain>(src, dst, len, flags, f);
}
int32_t zqvdbFloatToInt8CheckKernel(const double* src, void* dst, int64_t len, int32_t flags, int32_t f) noexcept {
  return zqvcvrt::runKernel<double, int8_t, uint8_t, Kind::Check>(src, dst, len, flags, f);
}
int32_t zqvdbFloatToInt8SatKernel(const double* src, void* dst, int64_t len, int32_t flags, int32_t f) noexcept {
  return zqvcvrt::runKernel<double, int8_t, uint8_t, Kind::Sat>(src, dst, len, flags, f);
}
void zqvdbFloatToInt16Kernel(const double* src, void* dst, int64_t len, int32_t flags, int32_t f) noexcept {
  zqvcvrt::runKernel<double, int16_t, uint16_t, Kind::Plain>(src, dst, len, flags, f);
}
int32_t zqvdbFloatToInt16CheckKernel(const double* src, void* dst, int64_t len, int32_t flags, int32_t f) noexcept {
  return zqvcvrt::runKernel<double, int16_t, uint16_t, Kind::Check>(src, dst, len, flags, f);
}
int32_t zqvdbFloatToInt16SatKernel(const double* src, void* dst, int64_t len, int32_t flags, int32_t f) noexcept {
  return zqvcvrt::runKernel<double, int16_t, uint16_t, Kind::Sat>(src, dst, len, flags, f);
}
void zqvdbFloatToInt32Kernel(const double* src, void* dst, int64_t len, int32_t flags, int32_t f) noexcept {
  zqvcvrt::runKernel<double, int32_t, uint32_t, Kind::Plain>(src, dst, len, flags, f);
}
int32_t zqvdbFloatToInt32CheckKernel(const double* src, void* dst, int64_t len, int32_t flags, int32_t f) noexcept {
  return zqvcvrt::runKernel<double, int32_t, uint32_t, Kind::Check>(src, dst, len, flags, f);
}
int32_t zqvdbFloatToInt32SatKernel(const double* src, void* dst, int64_t len, int32_t flags, int32_t f) noexcept {
  return zqvcvrt::runKernel<double, int32_t, uint32_t, Kind::Sat>(src, dst, len, flags, f);
}

bool zqvdbConvertToInt(const double* src, void* dst, int64_t len, int32_t bitSize, int32_t flags,
                       int32_t f) noexcept {
  return zqvcvrt::convertToInt(src, dst, len, bitSize, flags, f);
}

void zqvdbInt8ToFloatKernel(const void* src, double* dst, int64_t len) noexcept { zqvcvrt::widen<int8_t>(src, dst, len); }
void zqvdbUInt8ToFloatKernel(const void* src, double* dst, int64_t len) noexcept { zqvcvrt::widen<uint8_t>(src, dst, len); }
void zqvdbInt16ToFloatKernel(const void* src, double* dst, int64_t len) noexcept { zqvcvrt::widen<int16_t>(src, dst, len); }
void zqvdbUInt16ToFloatKernel(const void* src, double* dst, int64_t len) noexcept { zqvcvrt::widen<uint16_t>(src, dst, len); }
void zqvdbInt32ToFloatKernel(const void* src, double* dst, int64_t len) noexcept { zqvcvrt::widen<int32_t>(src, dst, len); }
void zqvdbUInt32ToFloatKernel(const void* src, double* dst, int64_t len) noexcept { zqvcvrt::widen<uint32_t>(src, dst, len); }

void zqvdbWidenToFloat(const void* src, double* dst, int64_t len, int32_t bitSize, int32_t flags) noexcept {
  zqvcvrt::widenToFloat(src, dst, len, bitSize, flags);
}

// ---- Exported routines ------------------------------------------------------

ZQVAPI void zqvdbFloatToInt(const double* src, void* dst, int32_t len, int32_t bitSize, int32_t flags) noexcept {
  zqvcvrt::floatToInt(site("zqvdbFloatToInt"), src, dst, len, bitSize, flags);
}

ZQVAPI void zqvdbIntToFloat(const void* src, double* dst, int32_t len, int32_t bitSize, int32_t flags) noexcept {
  zqvcvrt::intToFloat(site("zqvdbIntToFloat"), src, dst, len, bitSize, flags);
}

ZQVAPI void zqvzbMag(const ZqvCplxD* src, double* mag, int n) noexcept {
  zqvcvrt::cplxMag<double>(site("zqvzbMag"), src, mag, n);
}

ZQVAPI void zqvdbrMag(const double* srcReal, const double* srcImag, double* mag, int n) noexcept {
  zqvcvrt::splitMag<double>(site("zqvdbrMag"), srcReal, srcImag, mag, n);
}

ZQVAPI void zqvzbPowerSpectr(const ZqvCplxD* src, double* spectr, int n) noexcept {
  zqvcvrt::cplxPower<double>(site("zqvzbPowerSpectr"), src, spectr, n);
}

ZQVAPI void zqvdbrPowerSpectr(const double* srcReal, const double* srcImag, double* spectr, int n) noexcept {
  zqvcvrt::splitPower<double>(site("zqvdbrPowerSpectr"), srcReal, srcImag, spectr, n);
}

// ---- Complex parts ------------------------------------------------------------

ZQVAPI void zqvzbReal(const ZqvCplxD* src, double* dst, int n) noexcept { zqvcplx::real<double>(site("zqvzbReal"), src, dst, n); }
ZQVAPI void zqvzbImag(const ZqvCplxD* src, double* dst, int n) noexcept { zqvcplx::imag<double>(site("zqvzbImag"), src, dst, n); }
ZQVAPI void zqvzbCplxTo2Real(const ZqvCplxD* src, double* dstReal, double* dstImag, int n) noexcept {
  zqvcplx::cplxTo2Real<double>(site("zqvzbCplxTo2Real"), src, dstReal, dstImag, n);
}
ZQVAPI void zqvzb2RealToCplx(const double* srcReal, const double* srcImag, ZqvCplxD* dst, int n) noexcept {
  zqvcplx::twoRealToCplx<double>(site("zqvzb2RealToCplx"), srcReal, srcImag, dst, n);
}

// ---- Polar form ----------------------------------------------------------------

ZQVAPI void zqvzbCartToPolar(const ZqvCplxD* src, double* mag, double* phase, int n) noexcept {
  zqvcplx::cartToPolar<double>(site("zqvzbCartToPolar"), src, mag, phase, n);
}
ZQVAPI void zqvdbrCartToPolar(const double* srcReal, const double* srcImag, double* mag, double* phase, int n) noexcept {
  zqvcplx::splitCartToPolar<double>(site("zqvdbrCartToPolar"), srcReal, srcImag, mag, phase, n);
}
ZQVAPI void zqvzbPolarToCart(const double* mag, const double* phase, ZqvCplxD* dst, int n) noexcept {
  zqvcplx::polarToCart<double>(site("zqvzbPolarToCart"), mag, phase, dst, n);
}
ZQVAPI void zqvdbrPolarToCart(const double* mag, const double* phase, double* dstReal, double* dstImag, int n) noexcept {
  zqvcplx::splitPolarToCart<double>(site("zqvdbrPolarToCart"), mag, phase, dstReal, dstImag, n);
}
ZQVAPI void zqvzbPhase(const ZqvCplxD* src, double* phase, int n) noexcept { zqvcplx::phase<double>(site("zqvzbPhase"), src, phase, n); }
ZQVAPI void zqvdbrPhase(const double* srcReal, const double* srcImag, double* phase, int n) noexcept {
  zqvcplx::splitPhase<double>(site("zqvdbrPhase"), srcReal, srcImag, phase, n);
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
  zqvfix::floatToFix(site("zqvdbFloatToFix"), src, dst, len, bitSize, fractBits, flags);
}
ZQVAPI void zqvdbFixToFloat(const void* src, double* dst, int32_t len, int32_t bitSize, int32_t fractBits, int32_t flags) noexcept {
  zqvfix::fixToFloat(site("zqvdbFixToFloat"), src, dst, len, bitSize, fractBits, flags);
}
// The S15 and S31 conversions have always reported as "zqvdbFloaTo...".
ZQVAPI void zqvdbFloatToS7Fix(const double* src, void* dst, int32_t len, int32_t flags) noexcept {
  zqvfix::floatToFormat<double, 8, 7>(site("zqvdbFloatToS7Fix"), src, dst, len, flags);
}
ZQVAPI void zqvdbFloatToS15Fix(const double* src, void* dst, int32_t len, int32_t flags) noexcept {
  zqvfix::floatToFormat<double, 16, 15>(site("zqvdbFloaToS15Fix"), src, dst, len, flags);
}
ZQVAPI void zqvdbFloatToS31Fix(const double* src, void* dst, int32_t len, int32_t flags) noexcept {
  zqvfix::floatToFormat<double, 32, 31>(site("zqvdbFloaToS31Fix"), src, dst, len, flags);
}
ZQVAPI void zqvdbFloatToS1516Fix(const double* src, void* dst, int32_t len, int32_t flags) noexcept {
  zqvfix::floatToFormat<double, 32, 16>(site("zqvdbFloatToS1516Fix"), src, dst, len, flags);
}
ZQVAPI void zqvdbS7FixToFloat(const void* src, double* dst, int32_t len) noexcept {
  zqvfix::formatToFloat<double, 8, 7>(site("zqvdbS7FixToFloat"), src, dst, len);
}
ZQVAPI void zqvdbS15FixToFloat(const void* src, double* dst, int32_t len) noexcept {
  zqvfix::formatToFloat<double, 16, 15>(site("zqvdbS15FixToFloat"), src, dst, len);
}
ZQVAPI void zqvdbS31FixToFloat(const void* src, double* dst, int32_t len) noexcept {
  zqvfix::formatToFloat<double, 32, 31>(site("zqvdbS31FixToFloat"), src, dst, len);
}
ZQVAPI void zqvdbS1516FixToFloat(const void* src, double* dst, int32_t len) noexcept {
  zqvfix::formatToFloat<double, 32, 16>(site("zqvdbS1516FixToFloat"), src, dst, len);
}
