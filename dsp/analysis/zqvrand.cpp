// Uniform (float, double, complex) and Gaussian (every type) random generators.
#include "analysis/detail/zqvrandgen.h"

using namespace zqvrand;

ZQVAPI void zqvsRandUniInit(float seed, float low, float high, ZqvRandUniStateS* statePtr) noexcept {
  uniInit({"zqvsRandUniInit", kModule}, seed, low, high, statePtr);
}
ZQVAPI void zqvcRandUniInit(float seed, float low, float high, ZqvRandUniStateS* statePtr) noexcept {
  uniInit({"zqvcRandUniInit", kModule}, seed, low, high, statePtr);
}
ZQVAPI void zqvdRandUniInit(double seed, double low, double high, ZqvRandUniStateD* statePtr) noexcept {
  uniInit({"zqvdRandUniInit", kModule}, seed, low, high, statePtr);
}
ZQVAPI void zqvzRandUniInit(double seed, double low, double high, ZqvRandUniStateD* statePtr) noexcept {
  uniInit({"zqvzRandUniInit", kModule}, seed, low, high, statePtr);
}
ZQVAPI float zqvsRandUni(ZqvRandUniStateS* statePtr) noexcept {
  return uniOne<float>({"zqvsRandUni", kModule}, statePtr);
}
ZQVAPI double zqvdRandUni(ZqvRandUniStateD* statePtr) noexcept {
  return uniOne<double>({"zqvdRandUni", kModule}, statePtr);
}
ZQVAPI ZqvCplxS zqvcRandUni(ZqvRandUniStateS* statePtr) noexcept {
  return uniOne<ZqvCplxS>({"zqvcRandUni", kModule}, statePtr);
}
ZQVAPI ZqvCplxD zqvzRandUni(ZqvRandUniStateD* statePtr) noexcept {
  return uniOne<ZqvCplxD>({"zqvzRandUni", kModule}, statePtr);
}
ZQVAPI void zqvsbRandUni(ZqvRandUniStateS* statePtr, float* samps, int32_t sampsLen) noexcept {
  uniVector({"zqvsbRandUni", kModule}, statePtr, samps, sampsLen);
}
ZQVAPI void zqvcbRandUni(ZqvRandUniStateS* statePtr, ZqvCplxS* samps, int32_t sampsLen) noexcept {
  uniVector({"zqvcbRandUni", kModule}, statePtr, samps, sampsLen);
}
ZQVAPI void zqvdbRandUni(ZqvRandUniStateD* statePtr, double* samps, int32_t sampsLen) noexcept {
  uniVector({"zqvdbRandUni", kModule}, statePtr, samps, sampsLen);
}
ZQVAPI void zqvzbRandUni(ZqvRandUniStateD* statePtr, ZqvCplxD* samps, int32_t sampsLen) noexcept {
  uniVector({"zqvzbRandUni", kModule}, statePtr, samps, sampsLen);
}

ZQVAPI void zqvsRandGausInit(float seed, float mean, float stdDev, ZqvRandGausStateS* statePtr) noexcept {
  gausInit({"zqvsRandGausInit", kModule}, seed, mean, stdDev, statePtr);
}
ZQVAPI void zqvcRandGausInit(float seed, float mean, float stdDev, ZqvRandGausStateS* statePtr) noexcept {
  gausInit({"zqvcRandGausInit", kModule}, seed, mean, stdDev, statePtr);
}
ZQVAPI void zqvdRandGausInit(double seed, double mean, double stdDev, ZqvRandGausStateD* statePtr) noexcept {
  gausInit({"zqvdRandGausInit", kModule}, seed, mean, stdDev, statePtr);
}
ZQVAPI void zqvzRandGausInit(double seed, double mean, double stdDev, ZqvRandGausStateD* statePtr) noexcept {
  gausInit({"zqvzRandGausInit", kModule}, seed, mean, stdDev, statePtr);
}
ZQVAPI void zqvwRandGausInit(int16_t seed, int16_t mean, int16_t stdDev, ZqvRandGausStateW* statePtr) noexcept {
  gausInit({"zqvwRandGausInit", kModule}, seed, mean, stdDev, statePtr);
}
ZQVAPI void zqvvRandGausInit(int16_t seed, int16_t mean, int16_t stdDev, ZqvRandGausStateW* statePtr) noexcept {
  gausInit({"zqvvRandGausInit", kModule}, seed, mean, stdDev, statePtr);
}
ZQVAPI float zqvsRandGaus(ZqvRandGausStateS* statePtr) noexcept {
  return gausOne<float>({"zqvsRandGaus", kModule}, statePtr);
}
ZQVAPI double zqvdRandGaus(ZqvRandGausStateD* statePtr) noexcept {
  return gausOne<double>({"zqvdRandGaus", kModule}, statePtr);
}
ZQVAPI int16_t zqvwRandGaus(ZqvRandGausStateW* statePtr) noexcept {
  return gausOne<int16_t>({"zqvwRandGaus", kModule}, statePtr);
}
ZQVAPI ZqvCplxS zqvcRandGaus(ZqvRandGausStateS* statePtr) noexcept {
  return gausOne<ZqvCplxS>({"zqvcRandGaus", kModule}, statePtr);
}
ZQVAPI ZqvCplxD zqvzRandGaus(ZqvRandGausStateD* statePtr) noexcept {
  return gausOne<ZqvCplxD>({"zqvzRandGaus", kModule}, statePtr);
}
ZQVAPI ZqvCplxW zqvvRandGaus(ZqvRandGausStateW* statePtr) noexcept {
  return gausOne<ZqvCplxW>({"zqvvRandGaus", kModule}, statePtr);
}
ZQVAPI void zqvsbRandGaus(ZqvRandGausStateS* statePtr, float* samps, int32_t sampsLen) noexcept {
  gausVector({"zqvsbRandGaus", kModule}, statePtr, samps, sampsLen);
}
ZQVAPI void zqvcbRandGaus(ZqvRandGausStateS* statePtr, ZqvCplxS* samps, int32_t sampsLen) noexcept {
  gausVector({"zqvcbRandGaus", kModule}, statePtr, samps, sampsLen);
}
ZQVAPI void zqvdbRandGaus(ZqvRandGausStateD* statePtr, double* samps, int32_t sampsLen) noexcept {
  gausVector({"zqvdbRandGaus", kModule}, statePtr, samps, sampsLen);
}
ZQVAPI void zqvzbRandGaus(ZqvRandGausStateD* statePtr, ZqvCplxD* samps, int32_t sampsLen) noexcept {
  gausVector({"zqvzbRandGaus", kModule}, statePtr, samps, sampsLen);
}
ZQVAPI void zqvwbRandGaus(ZqvRandGausStateW* statePtr, int16_t* samps, int32_t sampsLen) noexcept {
  gausVector({"zqvwbRandGaus", kModule}, statePtr, samps, sampsLen);
}
ZQVAPI void zqvvbRandGaus(ZqvRandGausStateW* statePtr, ZqvCplxW* samps, int32_t sampsLen) noexcept {
  gausVector({"zqvvbRandGaus", kModule}, statePtr, samps, sampsLen);
}
