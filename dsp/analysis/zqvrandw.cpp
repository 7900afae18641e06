// The 16-bit uniform random generators (real and complex).
#include "analysis/detail/zqvrandgen.h"

using namespace zqvrand;

ZQVAPI void zqvwRandUniInit(int32_t seed, int16_t low, int16_t high, ZqvRandUniStateW* statePtr) noexcept {
  uniInitW({"zqvwRandUniInit", kModuleW}, seed, low, high, statePtr);
}
ZQVAPI void zqvvRandUniInit(int32_t seed, int16_t low, int16_t high, ZqvRandUniStateW* statePtr) noexcept {
  uniInitW({"zqvvRandUniInit", kModuleW}, seed, low, high, statePtr);
}
ZQVAPI int16_t zqvwRandUni(ZqvRandUniStateW* statePtr) noexcept {
  return uniOneW<int16_t>({"zqvwRandUni", kModuleW}, statePtr);
}
ZQVAPI ZqvCplxW zqvvRandUni(ZqvRandUniStateW* statePtr) noexcept {
  return uniOneW<ZqvCplxW>({"zqvvRandUni", kModuleW}, statePtr);
}
ZQVAPI void zqvwbRandUni(ZqvRandUniStateW* statePtr, int16_t* samps, int32_t sampsLen) noexcept {
  uniVectorW({"zqvwbRandUni", kModuleW}, statePtr, samps, sampsLen);
}
ZQVAPI void zqvvbRandUni(ZqvRandUniStateW* statePtr, ZqvCplxW* samps, int32_t sampsLen) noexcept {
  uniVectorW({"zqvvbRandUni", kModuleW}, statePtr, samps, sampsLen);
}
