// Module zqvcvrtd: float-to-integer and integer-to-float conversions of double
// vectors, and magnitude and power spectrum of double complex data.
#include "core/detail/zqvcvrt.h"

namespace {
constexpr const char* kModule = "zqvcvrtd";
}  // namespace

// ---- Exported routines ------------------------------------------------------

ZQVAPI void zqvdbFloatToInt(const double* src, void* dst, int32_t len, int32_t bitSize, int32_t flags) noexcept {
  zqvcvrt::floatToInt({"zqvdbFloatToInt", kModule}, src, dst, len, bitSize, flags);
}

ZQVAPI void zqvdbIntToFloat(const void* src, double* dst, int32_t len, int32_t bitSize, int32_t flags) noexcept {
  zqvcvrt::intToFloat({"zqvdbIntToFloat", kModule}, src, dst, len, bitSize, flags);
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
