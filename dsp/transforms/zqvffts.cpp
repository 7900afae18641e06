// Single-precision complex and real FFTs and packed spectrum products.
#include "transforms/detail/zqvfftgen.h"

using namespace zqvfft;

namespace {
constexpr const char* kModule = "zqvffts";
float* flat(ZqvCplxS* p) { return reinterpret_cast<float*>(p); }
const float* flat(const ZqvCplxS* p) { return reinterpret_cast<const float*>(p); }
}  // namespace

ZQVAPI void zqvcFft(ZqvCplxS* samps, int32_t order, int32_t flags) noexcept {
  complexFft<float>(nullptr, flat(samps), order, flags, {"zqvcFft", kModule}, false);
}
ZQVAPI void zqvcFftNip(const ZqvCplxS* inSamps, ZqvCplxS* outSamps, int32_t order, int32_t flags) noexcept {
  complexFft<float>(flat(inSamps), flat(outSamps), order, flags, {"zqvcFftNip", kModule}, true);
}
ZQVAPI void zqvcrFft(float* reSamps, float* imSamps, int32_t order, int32_t flags) noexcept {
  splitFft<float>(nullptr, nullptr, reSamps, imSamps, order, flags, {"zqvcrFft", kModule}, false);
}
ZQVAPI void zqvcrFftNip(const float* reInSamps, const float* imInSamps, float* reOutSamps, float* imOutSamps,
                        int32_t order, int32_t flags) noexcept {
  splitFft<float>(reInSamps, imInSamps, reOutSamps, imOutSamps, order, flags, {"zqvcrFftNip", kModule}, true);
}
ZQVAPI void zqvsRealFft(float* samps, int32_t order, int32_t flags) noexcept {
  realForward<float>(samps, samps, order, flags, {"zqvsRealFft", kModule}, false, RealLayout::Ccs);
}
ZQVAPI void zqvsRealFftNip(const float* inSamps, float* outSamps, int32_t order, int32_t flags) noexcept {
  realForward<float>(inSamps, outSamps, order, flags, {"zqvsRealFftNip", kModule}, true, RealLayout::Ccs);
}
ZQVAPI void zqvsCcsFft(float* samps, int32_t order, int32_t flags) noexcept {
  realInverse<float>(samps, samps, order, flags, {"zqvsCcsFft", kModule}, false, RealLayout::Ccs);
}
ZQVAPI void zqvsCcsFftNip(const float* inSamps, float* outSamps, int32_t order, int32_t flags) noexcept {
  realInverse<float>(inSamps, outSamps, order, flags, {"zqvsCcsFftNip", kModule}, true, RealLayout::Ccs);
}
ZQVAPI void zqvsRealFftl(float* samps, int32_t order, int32_t flags) noexcept {
  realForward<float>(samps, samps, order, flags, {"zqvsRealFftl", kModule}, false, RealLayout::Packed);
}
ZQVAPI void zqvsRealFftlNip(const float* inSamps, float* outSamps, int32_t order, int32_t flags) noexcept {
  realForward<float>(inSamps, outSamps, order, flags, {"zqvsRealFftlNip", kModule}, true, RealLayout::Packed);
}
ZQVAPI void zqvsCcsFftl(float* samps, int32_t order, int32_t flags) noexcept {
  realInverse<float>(samps, samps, order, flags, {"zqvsCcsFftl", kModule}, false, RealLayout::Packed);
}
ZQVAPI void zqvsCcsFftlNip(const float* inSamps, float* outSamps, int32_t order, int32_t flags) noexcept {
  realInverse<float>(inSamps, outSamps, order, flags, {"zqvsCcsFftlNip", kModule}, true, RealLayout::Packed);
}
ZQVAPI void zqvsReal2Fft(float* xSamps, float* ySamps, int32_t order, int32_t flags) noexcept {
  real2Forward<float>(xSamps, ySamps, order, flags, {"zqvsReal2Fft", kModule});
}
ZQVAPI void zqvsReal2FftNip(const float* xInSamps, float* xOutSamps, const float* yInSamps, float* yOutSamps,
                            int32_t order, int32_t flags) noexcept {
  real2ForwardNip<float>(xInSamps, xOutSamps, yInSamps, yOutSamps, order, flags, {"zqvsReal2FftNip", kModule});
}
ZQVAPI void zqvsCcs2Fft(float* xSamps, float* ySamps, int32_t order, int32_t flags) noexcept {
  ccs2Inverse<float>(xSamps, ySamps, order, flags, {"zqvsCcs2Fft", kModule});
}
ZQVAPI void zqvsCcs2FftNip(const float* xInSamps, float* xOutSamps, const float* yInSamps, float* yOutSamps,
                           int32_t order, int32_t flags) noexcept {
  ccs2InverseNip<float>(xInSamps, xOutSamps, yInSamps, yOutSamps, order, flags, {"zqvsCcs2FftNip", kModule});
}
ZQVAPI void zqvsMpyRCPack2(const float* src, float* dst, int32_t order) noexcept {
  mpyPacked<float>(src, dst, dst, order, false, {"zqvsMpyRCPack2", kModule}, false);
}
ZQVAPI void zqvsMpyRCPack3(const float* srcA, const float* srcB, float* dst, int32_t order) noexcept {
  mpyPacked<float>(srcA, srcB, dst, order, false, {"zqvsMpyRCPack3", kModule}, true);
}
ZQVAPI void zqvsMpyRCPerm2(const float* src, float* dst, int32_t order) noexcept {
  mpyPacked<float>(src, dst, dst, order, true, {"zqvsMpyRCPerm2", kModule}, false);
}
ZQVAPI void zqvsMpyRCPerm3(const float* srcA, const float* srcB, float* dst, int32_t order) noexcept {
  mpyPacked<float>(srcA, srcB, dst, order, true, {"zqvsMpyRCPerm3", kModule}, true);
}
