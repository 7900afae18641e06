// Module zqvcvrts: float-to-integer and integer-to-float conversions of float
// vectors, and magnitude and power spectrum of float complex data.
#include "core/detail/zqvcvrt.h"

namespace {
constexpr const char* kModule = "zqvcvrts";
}  // namespace

// ---- Exported routines ------------------------------------------------------

ZQVAPI void zqvsbFloatToInt(const float* src, void* dst, int32_t len, int32_t bitSize, int32_t flags) noexcept {
  zqvcvrt::floatToInt({"zqvsbFloatToInt", kModule}, src, dst, len, bitSize, flags);
}

ZQVAPI void zqvsbIntToFloat(const void* src, float* dst, int32_t len, int32_t bitSize, int32_t flags) noexcept {
  zqvcvrt::intToFloat({"zqvsbIntToFloat", kModule}, src, dst, len, bitSize, flags);
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
