// Up- and down-sampling by an integer factor, for every element type.
#include "analysis/detail/zqvsamplgen.h"

using zqvsampl::downSample;
using zqvsampl::kModule;
using zqvsampl::upSample;

ZQVAPI void zqvsUpSample(const float* src, int32_t srcLen, float* dst, int32_t* dstLen, int32_t factor,
                         int32_t* phase) noexcept {
  upSample({"zqvsUpSample", kModule}, src, srcLen, dst, dstLen, factor, phase);
}
ZQVAPI void zqvcUpSample(const ZqvCplxS* src, int32_t srcLen, ZqvCplxS* dst, int32_t* dstLen,
                         int32_t factor, int32_t* phase) noexcept {
  upSample({"zqvcUpSample", kModule}, src, srcLen, dst, dstLen, factor, phase);
}
ZQVAPI void zqvdUpSample(const double* src, int32_t srcLen, double* dst, int32_t* dstLen, int32_t factor,
                         int32_t* phase) noexcept {
  upSample({"zqvdUpSample", kModule}, src, srcLen, dst, dstLen, factor, phase);
}
ZQVAPI void zqvzUpSample(const ZqvCplxD* src, int32_t srcLen, ZqvCplxD* dst, int32_t* dstLen,
                         int32_t factor, int32_t* phase) noexcept {
  upSample({"zqvzUpSample", kModule}, src, srcLen, dst, dstLen, factor, phase);
}
ZQVAPI void zqvwUpSample(const int16_t* src, int32_t srcLen, int16_t* dst, int32_t* dstLen, int32_t factor,
                         int32_t* phase) noexcept {
  upSample({"zqvwUpSample", kModule}, src, srcLen, dst, dstLen, factor, phase);
}
ZQVAPI void zqvvUpSample(const ZqvCplxW* src, int32_t srcLen, ZqvCplxW* dst, int32_t* dstLen,
                         int32_t factor, int32_t* phase) noexcept {
  upSample({"zqvvUpSample", kModule}, src, srcLen, dst, dstLen, factor, phase);
}

ZQVAPI void zqvsDownSample(const float* src, int32_t srcLen, float* dst, int32_t* dstLen, int32_t factor,
                           int32_t* phase) noexcept {
  downSample({"zqvsDownSample", kModule}, src, srcLen, dst, dstLen, factor, phase);
}
ZQVAPI void zqvcDownSample(const ZqvCplxS* src, int32_t srcLen, ZqvCplxS* dst, int32_t* dstLen,
                           int32_t factor, int32_t* phase) noexcept {
  downSample({"zqvcDownSample", kModule}, src, srcLen, dst, dstLen, factor, phase);
}
ZQVAPI void zqvdDownSample(const double* src, int32_t srcLen, double* dst, int32_t* dstLen, int32_t factor,
                           int32_t* phase) noexcept {
  downSample({"zqvdDownSample", kModule}, src, srcLen, dst, dstLen, factor, phase);
}
ZQVAPI void zqvzDownSample(const ZqvCplxD* src, int32_t srcLen, ZqvCplxD* dst, int32_t* dstLen,
                           int32_t factor, int32_t* phase) noexcept {
  downSample({"zqvzDownSample", kModule}, src, srcLen, dst, dstLen, factor, phase);
}
ZQVAPI void zqvwDownSample(const int16_t* src, int32_t srcLen, int16_t* dst, int32_t* dstLen,
                           int32_t factor, int32_t* phase) noexcept {
  downSample({"zqvwDownSample", kModule}, src, srcLen, dst, dstLen, factor, phase);
}
ZQVAPI void zqvvDownSample(const ZqvCplxW* src, int32_t srcLen, ZqvCplxW* dst, int32_t* dstLen,
                           int32_t factor, int32_t* phase) noexcept {
  downSample({"zqvvDownSample", kModule}, src, srcLen, dst, dstLen, factor, phase);
}
