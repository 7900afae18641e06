// Tone generator: 16-bit real and complex forms.
#include "analysis/detail/zqvtonegen.h"

using namespace zqvtone;

ZQVAPI void zqvwToneInit(float rfreq, float phase, int16_t mag, ZqvToneStateW* statePtr) noexcept {
  initW<int16_t>({"zqvwToneInit", kModuleW}, rfreq, phase, mag, statePtr);
}
ZQVAPI void zqvvToneInit(float rfreq, float phase, int16_t mag, ZqvToneStateW* statePtr) noexcept {
  initW<ZqvCplxW>({"zqvvToneInit", kModuleW}, rfreq, phase, mag, statePtr);
}
ZQVAPI int16_t zqvwTone(ZqvToneStateW* statePtr) noexcept {
  return oneW<int16_t>({"zqvwTone", kModuleW}, statePtr);
}
ZQVAPI ZqvCplxW zqvvTone(ZqvToneStateW* statePtr) noexcept {
  return oneW<ZqvCplxW>({"zqvvTone", kModuleW}, statePtr);
}
ZQVAPI void zqvwbTone(ZqvToneStateW* statePtr, int16_t* samps, int32_t sampsLen) noexcept {
  vectorW({"zqvwbTone", kModuleW}, statePtr, samps, sampsLen);
}
ZQVAPI void zqvvbTone(ZqvToneStateW* statePtr, ZqvCplxW* samps, int32_t sampsLen) noexcept {
  vectorW({"zqvvbTone", kModuleW}, statePtr, samps, sampsLen);
}
