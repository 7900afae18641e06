// Triangle generator, for every element type.
#include "analysis/detail/zqvtrnglgen.h"

using namespace zqvtrngl;

ZQVAPI void zqvsTrnglInit(float rfreq, float phase, float mag, float asym, ZqvTrnglStateS* statePtr) noexcept {
  init({"zqvsTrnglInit", kModule}, rfreq, phase, mag, asym, statePtr);
}
ZQVAPI void zqvcTrnglInit(float rfreq, float phase, float mag, float asym, ZqvTrnglStateC* statePtr) noexcept {
  init({"zqvcTrnglInit", kModule}, rfreq, phase, mag, asym, statePtr);
}
ZQVAPI void zqvdTrnglInit(double rfreq, double phase, double mag, double asym, ZqvTrnglStateD* statePtr) noexcept {
  init({"zqvdTrnglInit", kModule}, rfreq, phase, mag, asym, statePtr);
}
ZQVAPI void zqvzTrnglInit(double rfreq, double phase, double mag, double asym, ZqvTrnglStateZ* statePtr) noexcept {
  init({"zqvzTrnglInit", kModule}, rfreq, phase, mag, asym, statePtr);
}
ZQVAPI void zqvwTrnglInit(float rfreq, float phase, int16_t mag, float asym, ZqvTrnglStateS* statePtr) noexcept {
  init({"zqvwTrnglInit", kModule}, rfreq, phase, mag, asym, statePtr);
}
ZQVAPI void zqvvTrnglInit(float rfreq, float phase, int16_t mag, float asym, ZqvTrnglStateC* statePtr) noexcept {
  init({"zqvvTrnglInit", kModule}, rfreq, phase, mag, asym, statePtr);
}

ZQVAPI float zqvsTrngl(ZqvTrnglStateS* statePtr) noexcept { return one<float>({"zqvsTrngl", kModule}, statePtr); }
ZQVAPI double zqvdTrngl(ZqvTrnglStateD* statePtr) noexcept { return one<double>({"zqvdTrngl", kModule}, statePtr); }
ZQVAPI int16_t zqvwTrngl(ZqvTrnglStateS* statePtr) noexcept { return one<int16_t>({"zqvwTrngl", kModule}, statePtr); }
ZQVAPI ZqvCplxS zqvcTrngl(ZqvTrnglStateC* statePtr) noexcept {
  return one<ZqvCplxS>({"zqvcTrngl", kModule}, statePtr);
}
ZQVAPI ZqvCplxD zqvzTrngl(ZqvTrnglStateZ* statePtr) noexcept {
  return one<ZqvCplxD>({"zqvzTrngl", kModule}, statePtr);
}
ZQVAPI ZqvCplxW zqvvTrngl(ZqvTrnglStateC* statePtr) noexcept {
  return one<ZqvCplxW>({"zqvvTrngl", kModule}, statePtr);
}

ZQVAPI void zqvsbTrngl(ZqvTrnglStateS* statePtr, float* samps, int32_t sampsLen) noexcept {
  vector({"zqvsbTrngl", kModule}, statePtr, samps, sampsLen);
}
ZQVAPI void zqvdbTrngl(ZqvTrnglStateD* statePtr, double* samps, int32_t sampsLen) noexcept {
  vector({"zqvdbTrngl", kModule}, statePtr, samps, sampsLen);
}
ZQVAPI void zqvwbTrngl(ZqvTrnglStateS* statePtr, int16_t* samps, int32_t sampsLen) noexcept {
  vector({"zqvwbTrngl", kModule}, statePtr, samps, sampsLen);
}
ZQVAPI void zqvcbTrngl(ZqvTrnglStateC* statePtr, ZqvCplxS* samps, int32_t sampsLen) noexcept {
  vector({"zqvcbTrngl", kModule}, statePtr, samps, sampsLen);
}
ZQVAPI void zqvzbTrngl(ZqvTrnglStateZ* statePtr, ZqvCplxD* samps, int32_t sampsLen) noexcept {
  vector({"zqvzbTrngl", kModule}, statePtr, samps, sampsLen);
}
ZQVAPI void zqvvbTrngl(ZqvTrnglStateC* statePtr, ZqvCplxW* samps, int32_t sampsLen) noexcept {
  vector({"zqvvbTrngl", kModule}, statePtr, samps, sampsLen);
}
