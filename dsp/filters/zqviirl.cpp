// The IIR filter at its low level: the caller's taps, normalised in place,
// the caller's delay lines, and the two small states over them.
#include "filters/detail/zqviircore.h"

using namespace zqviir;

namespace {
inline ZqvSite low(const char* func) noexcept { return {func, kLowModule}; }
}  // namespace

ZQVAPI void zqvsIirlInit(int32_t iirType, float* taps, int32_t order, ZqvIirTapState* tapStPtr) noexcept {
  lowInit(low("zqvsIirlInit"), iirType, taps, order, tapStPtr);
}
ZQVAPI void zqvdIirlInit(int32_t iirType, double* taps, int32_t order, ZqvIirTapState* tapStPtr) noexcept {
  lowInit(low("zqvdIirlInit"), iirType, taps, order, tapStPtr);
}
ZQVAPI void zqvcIirlInit(int32_t iirType, ZqvCplxS* taps, int32_t order, ZqvIirTapState* tapStPtr) noexcept {
  lowInit(low("zqvcIirlInit"), iirType, taps, order, tapStPtr);
}
ZQVAPI void zqvzIirlInit(int32_t iirType, ZqvCplxD* taps, int32_t order, ZqvIirTapState* tapStPtr) noexcept {
  lowInit(low("zqvzIirlInit"), iirType, taps, order, tapStPtr);
}
ZQVAPI void zqvsIirlInitBq(int32_t iirType, float* taps, int32_t numQuads, ZqvIirTapState* tapStPtr) noexcept {
  lowInitBq(low("zqvsIirlInitBq"), iirType, taps, numQuads, tapStPtr);
}
ZQVAPI void zqvdIirlInitBq(int32_t iirType, double* taps, int32_t numQuads, ZqvIirTapState* tapStPtr) noexcept {
  lowInitBq(low("zqvdIirlInitBq"), iirType, taps, numQuads, tapStPtr);
}
ZQVAPI void zqvcIirlInitBq(int32_t iirType, ZqvCplxS* taps, int32_t numQuads, ZqvIirTapState* tapStPtr) noexcept {
  lowInitBq(low("zqvcIirlInitBq"), iirType, taps, numQuads, tapStPtr);
}
ZQVAPI void zqvzIirlInitBq(int32_t iirType, ZqvCplxD* taps, int32_t numQuads, ZqvIirTapState* tapStPtr) noexcept {
  lowInitBq(low("zqvzIirlInitBq"), iirType, taps, numQuads, tapStPtr);
}
ZQVAPI void zqvsIirlInitDlyl(const ZqvIirTapState* tapStPtr, float* dlyl, ZqvIirDlyState* dlyStPtr) noexcept {
  lowInitDlyl(low("zqvsIirlInitDlyl"), tapStPtr, dlyl, dlyStPtr);
}
ZQVAPI void zqvdIirlInitDlyl(const ZqvIirTapState* tapStPtr, double* dlyl, ZqvIirDlyState* dlyStPtr) noexcept {
  lowInitDlyl(low("zqvdIirlInitDlyl"), tapStPtr, dlyl, dlyStPtr);
}
ZQVAPI void zqvcIirlInitDlyl(const ZqvIirTapState* tapStPtr, ZqvCplxS* dlyl, ZqvIirDlyState* dlyStPtr) noexcept {
  lowInitDlyl(low("zqvcIirlInitDlyl"), tapStPtr, dlyl, dlyStPtr);
}
ZQVAPI void zqvzIirlInitDlyl(const ZqvIirTapState* tapStPtr, ZqvCplxD* dlyl, ZqvIirDlyState* dlyStPtr) noexcept {
  lowInitDlyl(low("zqvzIirlInitDlyl"), tapStPtr, dlyl, dlyStPtr);
}

ZQVAPI float zqvsIirl(const ZqvIirTapState* tapStPtr, ZqvIirDlyState* dlyStPtr, float samp) noexcept {
  return lowFilter<float, float>(low("zqvsIirl"), tapStPtr, dlyStPtr, samp);
}
ZQVAPI ZqvCplxS zqvcIirl(const ZqvIirTapState* tapStPtr, ZqvIirDlyState* dlyStPtr, ZqvCplxS samp) noexcept {
  return lowFilter<ZqvCplxS, ZqvCplxS>(low("zqvcIirl"), tapStPtr, dlyStPtr, samp);
}
ZQVAPI double zqvdIirl(const ZqvIirTapState* tapStPtr, ZqvIirDlyState* dlyStPtr, double samp) noexcept {
  return lowFilter<double, double>(low("zqvdIirl"), tapStPtr, dlyStPtr, samp);
}
ZQVAPI ZqvCplxD zqvzIirl(const ZqvIirTapState* tapStPtr, ZqvIirDlyState* dlyStPtr, ZqvCplxD samp) noexcept {
  return lowFilter<ZqvCplxD, ZqvCplxD>(low("zqvzIirl"), tapStPtr, dlyStPtr, samp);
}
ZQVAPI ZqvCplxS zqvscIirl(const ZqvIirTapState* tapStPtr, ZqvIirDlyState* dlyStPtr, float samp) noexcept {
  return lowFilter<ZqvCplxS, ZqvCplxS>(low("zqvscIirl"), tapStPtr, dlyStPtr, samp);
}
ZQVAPI ZqvCplxS zqvcsIirl(const ZqvIirTapState* tapStPtr, ZqvIirDlyState* dlyStPtr, ZqvCplxS samp) noexcept {
  return lowFilter<float, ZqvCplxS>(low("zqvcsIirl"), tapStPtr, dlyStPtr, samp);
}
ZQVAPI ZqvCplxD zqvdzIirl(const ZqvIirTapState* tapStPtr, ZqvIirDlyState* dlyStPtr, double samp) noexcept {
  return lowFilter<ZqvCplxD, ZqvCplxD>(low("zqvdzIirl"), tapStPtr, dlyStPtr, samp);
}
ZQVAPI ZqvCplxD zqvzdIirl(const ZqvIirTapState* tapStPtr, ZqvIirDlyState* dlyStPtr, ZqvCplxD samp) noexcept {
  return lowFilter<double, ZqvCplxD>(low("zqvzdIirl"), tapStPtr, dlyStPtr, samp);
}

ZQVAPI void zqvsbIirl(const ZqvIirTapState* tapStPtr, ZqvIirDlyState* dlyStPtr, const float* inSamps,
                       float* outSamps, int32_t numIters) noexcept {
  lowBlock<float>(low("zqvsbIirl"), tapStPtr, dlyStPtr, inSamps, outSamps, numIters);
}
ZQVAPI void zqvcbIirl(const ZqvIirTapState* tapStPtr, ZqvIirDlyState* dlyStPtr, const ZqvCplxS* inSamps,
                       ZqvCplxS* outSamps, int32_t numIters) noexcept {
  lowBlock<ZqvCplxS>(low("zqvcbIirl"), tapStPtr, dlyStPtr, inSamps, outSamps, numIters);
}
ZQVAPI void zqvdbIirl(const ZqvIirTapState* tapStPtr, ZqvIirDlyState* dlyStPtr, const double* inSamps,
                       double* outSamps, int32_t numIters) noexcept {
  lowBlock<double>(low("zqvdbIirl"), tapStPtr, dlyStPtr, inSamps, outSamps, numIters);
}
ZQVAPI void zqvzbIirl(const ZqvIirTapState* tapStPtr, ZqvIirDlyState* dlyStPtr, const ZqvCplxD* inSamps,
                       ZqvCplxD* outSamps, int32_t numIters) noexcept {
  lowBlock<ZqvCplxD>(low("zqvzbIirl"), tapStPtr, dlyStPtr, inSamps, outSamps, numIters);
}
ZQVAPI void zqvscbIirl(const ZqvIirTapState* tapStPtr, ZqvIirDlyState* dlyStPtr, const float* inSamps,
                       ZqvCplxS* outSamps, int32_t numIters) noexcept {
  lowBlock<ZqvCplxS>(low("zqvscbIirl"), tapStPtr, dlyStPtr, inSamps, outSamps, numIters);
}
ZQVAPI void zqvcsbIirl(const ZqvIirTapState* tapStPtr, ZqvIirDlyState* dlyStPtr, const ZqvCplxS* inSamps,
                       ZqvCplxS* outSamps, int32_t numIters) noexcept {
  lowBlock<float>(low("zqvcsbIirl"), tapStPtr, dlyStPtr, inSamps, outSamps, numIters);
}
ZQVAPI void zqvdzbIirl(const ZqvIirTapState* tapStPtr, ZqvIirDlyState* dlyStPtr, const double* inSamps,
                       ZqvCplxD* outSamps, int32_t numIters) noexcept {
  lowBlock<ZqvCplxD>(low("zqvdzbIirl"), tapStPtr, dlyStPtr, inSamps, outSamps, numIters);
}
ZQVAPI void zqvzdbIirl(const ZqvIirTapState* tapStPtr, ZqvIirDlyState* dlyStPtr, const ZqvCplxD* inSamps,
                       ZqvCplxD* outSamps, int32_t numIters) noexcept {
  lowBlock<double>(low("zqvzdbIirl"), tapStPtr, dlyStPtr, inSamps, outSamps, numIters);
}
