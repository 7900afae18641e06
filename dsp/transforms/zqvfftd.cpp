// Double-precision complex and real FFTs and packed spectrum products.
#include "transforms/detail/zqvfftgen.h"

using namespace zqvfft;

namespace {
constexpr const char* kModule = "zqvfftd";
double* flat(ZqvCplxD* p) { return reinterpret_cast<double*>(p); }
const double* flat(const ZqvCplxD* p) { return reinterpret_cast<const double*>(p); }
}  // namespace

ZQVAPI void zqvzFft(ZqvCplxD* samps, int32_t order, int32_t flags) noexcept {
  complexFft<double>(nullptr, flat(samps), order, flags, {"zqvzFft", kModule}, false);
}
ZQVAPI void zqvzFftNip(const ZqvCplxD* inSamps, ZqvCplxD* outSamps, int32_t order, int32_t flags) noexcept {
  complexFft<double>(flat(inSamps), flat(outSamps), order, flags, {"zqvzFftNip", kModule}, true);
}
ZQVAPI void zqvzrFft(double* reSamps, double* imSamps, int32_t order, int32_t flags) noexcept {
  splitFft<double>(nullptr, nullptr, reSamps, imSamps, order, flags, {"zqvzrFft", kModule}, false);
}
ZQVAPI void zqvzrFftNip(const double* reInSamps, const double* imInSamps, double* reOutSamps, double* imOutSamps,
                        int32_t order, int32_t flags) noexcept {
  splitFft<double>(reInSamps, imInSamps, reOutSamps, imOutSamps, order, flags, {"zqvzrFftNip", kModule}, true);
}
ZQVAPI void zqvdRealFft(double* samps, int32_t order, int32_t flags) noexcept {
  realForward<double>(samps, samps, order, flags, {"zqvdRealFft", kModule}, false, RealLayout::Ccs);
}
ZQVAPI void zqvdRealFftNip(const double* inSamps, double* outSamps, int32_t order, int32_t flags) noexcept {
  realForward<double>(inSamps, outSamps, order, flags, {"zqvdRealFftNip", kModule}, true, RealLayout::Ccs);
}
ZQVAPI void zqvdCcsFft(double* samps, int32_t order, int32_t flags) noexcept {
  realInverse<double>(samps, samps, order, flags, {"zqvdCcsFft", kModule}, false, RealLayout::Ccs);
}
ZQVAPI void zqvdCcsFftNip(const double* inSamps, double* outSamps, int32_t order, int32_t flags) noexcept {
  realInverse<double>(inSamps, outSamps, order, flags, {"zqvdCcsFftNip", kModule}, true, RealLayout::Ccs);
}
ZQVAPI void zqvdRealFftl(double* samps, int32_t order, int32_t flags) noexcept {
  realForward<double>(samps, samps, order, flags, {"zqvdRealFftl", kModule}, false, RealLayout::Packed);
}
ZQVAPI void zqvdRealFftlNip(const double* inSamps, double* outSamps, int32_t order, int32_t flags) noexcept {
  realForward<double>(inSamps, outSamps, order, flags, {"zqvdRealFftlNip", kModule}, true, RealLayout::Packed);
}
ZQVAPI void zqvdCcsFftl(double* samps, int32_t order, int32_t flags) noexcept {
  realInverse<double>(samps, samps, order, flags, {"zqvdCcsFftl", kModule}, false, RealLayout::Packed);
}
ZQVAPI void zqvdCcsFftlNip(const double* inSamps, double* outSamps, int32_t order, int32_t flags) noexcept {
  realInverse<double>(inSamps, outSamps, order, flags, {"zqvdCcsFftlNip", kModule}, true, RealLayout::Packed);
}
ZQVAPI void zqvdReal2Fft(double* xSamps, double* ySamps, int32_t order, int32_t flags) noexcept {
  real2Forward<double>(xSamps, ySamps, order, flags, {"zqvdReal2Fft", kModule});
}
ZQVAPI void zqvdReal2FftNip(const double* xInSamps, double* xOutSamps, const double* yInSamps, double* yOutSamps,
                            int32_t order, int32_t flags) noexcept {
  real2ForwardNip<double>(xInSamps, xOutSamps, yInSamps, yOutSamps, order, flags, {"zqvdReal2FftNip", kModule});
}
ZQVAPI void zqvdCcs2Fft(double* xSamps, double* ySamps, int32_t order, int32_t flags) noexcept {
  ccs2Inverse<double>(xSamps, ySamps, order, flags, {"zqvdCcs2Fft", kModule});
}
ZQVAPI void zqvdCcs2FftNip(const double* xInSamps, double* xOutSamps, const double* yInSamps, double* yOutSamps,
                           int32_t order, int32_t flags) noexcept {
  ccs2InverseNip<double>(xInSamps, xOutSamps, yInSamps, yOutSamps, order, flags, {"zqvdCcs2FftNip", kModule});
}
ZQVAPI void zqvdMpyRCPack2(const double* src, double* dst, int32_t order) noexcept {
  mpyPacked<double>(src, dst, dst, order, false, {"zqvdMpyRCPack2", kModule}, false);
}
ZQVAPI void zqvdMpyRCPack3(const double* srcA, const double* srcB, double* dst, int32_t order) noexcept {
  mpyPacked<double>(srcA, srcB, dst, order, false, {"zqvdMpyRCPack3", kModule}, true);
}
ZQVAPI void zqvdMpyRCPerm2(const double* src, double* dst, int32_t order) noexcept {
  mpyPacked<double>(src, dst, dst, order, true, {"zqvdMpyRCPerm2", kModule}, false);
}
ZQVAPI void zqvdMpyRCPerm3(const double* srcA, const double* srcB, double* dst, int32_t order) noexcept {
  mpyPacked<double>(srcA, srcB, dst, order, true, {"zqvdMpyRCPerm3", kModule}, true);
}
