// Tone generator: float, double and complex forms.
#include "analysis/detail/zqvtonegen.h"

using namespace zqvtone;

ZQVAPI void zqvsToneInit(float rfreq, float phase, float mag, ZqvToneStateS* statePtr) noexcept {
  init({"zqvsToneInit", kModule}, rfreq, phase, mag, statePtr);
}
ZQVAPI void zqvcToneInit(float rfreq, float phase, float mag, ZqvToneStateC* statePtr) noexcept {
  init({"zqvcToneInit", kModule}, rfreq, phase, mag, statePtr);
}
ZQVAPI void zqvdToneInit(double rfreq, double phase, double mag, ZqvToneStateD* statePtr) noexcept {
  init({"zqvdToneInit", kModule}, rfreq, phase, mag, statePtr);
}
ZQVAPI void zqvzToneInit(double rfreq, double phase, double mag, ZqvToneStateZ* statePtr) noexcept {
  init({"zqvzToneInit", kModule}, rfreq, phase, mag, statePtr);
}
ZQVAPI float zqvsTone(ZqvToneStateS* statePtr) noexcept { return one<float>({"zqvsTone", kModule}, statePtr); }
ZQVAPI double zqvdTone(ZqvToneStateD* statePtr) noexcept { return one<double>({"zqvdTone", kModule}, statePtr); }
ZQVAPI ZqvCplxS zqvcTone(ZqvToneStateC* statePtr) noexcept {
  return one<ZqvCplxS>({"zqvcTone", kModule}, statePtr);
}
ZQVAPI ZqvCplxD zqvzTone(ZqvToneStateZ* statePtr) noexcept {
  return one<ZqvCplxD>({"zqvzTone", kModule}, statePtr);
}
ZQVAPI void zqvsbTone(ZqvToneStateS* statePtr, float* samps, int32_t sampsLen) noexcept {
  vector({"zqvsbTone", kModule}, statePtr, samps, sampsLen);
}
ZQVAPI void zqvdbTone(ZqvToneStateD* statePtr, double* samps, int32_t sampsLen) noexcept {
  vector({"zqvdbTone", kModule}, statePtr, samps, sampsLen);
}
ZQVAPI void zqvcbTone(ZqvToneStateC* statePtr, ZqvCplxS* samps, int32_t sampsLen) noexcept {
  vector({"zqvcbTone", kModule}, statePtr, samps, sampsLen);
}
ZQVAPI void zqvzbTone(ZqvToneStateZ* statePtr, ZqvCplxD* samps, int32_t sampsLen) noexcept {
  vector({"zqvzbTone", kModule}, statePtr, samps, sampsLen);
}
