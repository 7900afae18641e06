// Wavelet transform: records from built-in or caller filters, periodic
// decomposition and reconstruction for float, double and 16-bit samples.
#include "analysis/detail/zqvwltgen.h"
#include "core/detail/zqvcvrt.h"

using namespace zqvwlts;

namespace {

constexpr const char* kNoWorkMemory = "No memory for working arrays";

// 16-bit samples go through the float transform on converted copies and come
// back rounded to nearest with saturation.
template <void (*Body)(const wtState*, float*)>
void transformW(ZqvSite site, wtState* st, const int16_t* src, int16_t* dst) noexcept {
  if (recordRefused(site, st, src, dst, kShort)) return;
  const int64_t n = int64_t{1} << st->dataOrder;
  if (st->level == 0) {
    std::memmove(dst, src, static_cast<size_t>(n) * sizeof(int16_t));
    return;
  }
  float* in = allocValues<float>(n);
  float* out = allocValues<float>(n);
  if (!in || !out) {
    zqvError(ZQV_OUT_OF_MEMORY, site.func, kNoWorkMemory, site.module, __LINE__);
  } else {
    zqvcvrt::widen<int16_t>(src, in, n);
    std::memcpy(out, in, static_cast<size_t>(n) * sizeof(float));
    Body(st, out);
    zqvcvrt::convertToInt(out, dst, n, 16, ZQV_CVT_ROUND_NEAR | ZQV_CVT_SATURATE, 0);
  }
  zqvFree(in);
  zqvFree(out);
}

// The 16-bit Init and SetState: the float ones, a backtrace when they
// failed, and the 16-bit data type in every case.
int32_t finishW(ZqvSite site, const char* inner, wtState* st) noexcept {
  int32_t result = zqvStatus();
  if (result < 0) result = zqvError(ZQV_BACKTRACE, site.func, inner, site.module, __LINE__);
  st->dataType = kShort;
  return result;
}

}  // namespace

ZQVAPI void zqvsWtInit(int32_t par1, int32_t par2, int32_t dataOrder, int32_t level, wtState* st,
                       int32_t wtType) noexcept {
  init<float>({"zqvsWtInit", kModule}, par1, par2, dataOrder, level, st, wtType);
}
ZQVAPI void zqvdWtInit(int32_t par1, int32_t par2, int32_t dataOrder, int32_t level, wtState* st,
                       int32_t wtType) noexcept {
  init<double>({"zqvdWtInit", kModule}, par1, par2, dataOrder, level, st, wtType);
}
ZQVAPI int32_t zqvwWtInit(int32_t par1, int32_t par2, int32_t dataOrder, int32_t level, wtState* st,
                          int32_t wtType) noexcept {
  if (!st) return zqvError(ZQV_BAD_ARGUMENT, "zqvwWtInit", "wtState==0", kModule, __LINE__);
  init<float>({"zqvsWtInit", kModule}, par1, par2, dataOrder, level, st, wtType);
  return finishW({"zqvwWtInit", kModule}, "out zqvsWtInit", st);
}

ZQVAPI void zqvsWtSetState(wtState* st, int32_t wtType, int32_t par1, int32_t par2, int32_t dataOrder,
                           int32_t level, const float* const* Ftaps, const int32_t* Flen,
                           const int32_t* Fofs) noexcept {
  setState<float>({"zqvsWtSetState", kModule}, "zqvsWtInit", st, wtType, par1, par2, dataOrder, level, Ftaps,
                  Flen, Fofs);
}
ZQVAPI void zqvdWtSetState(wtState* st, int32_t wtType, int32_t par1, int32_t par2, int32_t dataOrder,
                           int32_t level, const double* const* Ftaps, const int32_t* Flen,
                           const int32_t* Fofs) noexcept {
  setState<double>({"zqvdWtSetState", kModule}, "zqvdWtInit", st, wtType, par1, par2, dataOrder, level, Ftaps,
                   Flen, Fofs);
}
ZQVAPI int32_t zqvwWtSetState(wtState* st, int32_t wtType, int32_t par1, int32_t par2, int32_t dataOrder,
                              int32_t level, const float* const* Ftaps, const int32_t* Flen,
                              const int32_t* Fofs) noexcept {
  setState<float>({"zqvsWtSetState", kModule}, "zqvsWtInit", st, wtType, par1, par2, dataOrder, level, Ftaps,
                  Flen, Fofs);
  if (!st) return zqvStatus() < 0 ? zqvError(ZQV_BACKTRACE, "zqvwWtSetState", "out zqvsWtSetState", kModule, __LINE__) : 0;
  return finishW({"zqvwWtSetState", kModule}, "out zqvsWtSetState", st);
}

ZQVAPI void zqvsWtGetState(const wtState* st, int32_t* wtType, int32_t* par1, int32_t* par2, int32_t* dataOrder,
                           int32_t* level, float** Ftaps, int32_t* Flen, int32_t* Fofs) noexcept {
  getState({"zqvsWtGetState", kModule}, st, wtType, par1, par2, dataOrder, level, Ftaps, Flen, Fofs);
}
ZQVAPI void zqvdWtGetState(const wtState* st, int32_t* wtType, int32_t* par1, int32_t* par2, int32_t* dataOrder,
                           int32_t* level, double** Ftaps, int32_t* Flen, int32_t* Fofs) noexcept {
  getState({"zqvdWtGetState", kModule}, st, wtType, par1, par2, dataOrder, level, Ftaps, Flen, Fofs);
}
ZQVAPI void zqvwWtGetState(const wtState* st, int32_t* wtType, int32_t* par1, int32_t* par2, int32_t* dataOrder,
                           int32_t* level, float** Ftaps, int32_t* Flen, int32_t* Fofs) noexcept {
  getState({"zqvwWtGetState", kModule}, st, wtType, par1, par2, dataOrder, level, Ftaps, Flen, Fofs);
}

ZQVAPI void zqvsWtDecompose(wtState* st, const float* src, float* dst) noexcept {
  decompose({"zqvsWtDecompose", kModule}, st, src, dst);
}
ZQVAPI void zqvdWtDecompose(wtState* st, const double* src, double* dst) noexcept {
  decompose({"zqvdWtDecompose", kModule}, st, src, dst);
}
ZQVAPI void zqvwWtDecompose(wtState* st, const int16_t* src, int16_t* dst) noexcept {
  transformW<decomposeInPlace<float>>({"zqvwWtDecompose", kModule}, st, src, dst);
}
ZQVAPI void zqvsWtReconstruct(wtState* st, const float* src, float* dst) noexcept {
  reconstruct({"zqvsWtReconstruct", kModule}, st, src, dst);
}
ZQVAPI void zqvdWtReconstruct(wtState* st, const double* src, double* dst) noexcept {
  reconstruct({"zqvdWtReconstruct", kModule}, st, src, dst);
}
ZQVAPI void zqvwWtReconstruct(wtState* st, const int16_t* src, int16_t* dst) noexcept {
  transformW<reconstructInPlace<float>>({"zqvwWtReconstruct", kModule}, st, src, dst);
}

ZQVAPI void zqvWtFree(wtState* st) noexcept {
  if (!st) {
    zqvError(ZQV_BAD_ARGUMENT, "zqvWtFree", "wtState==0", kModule, __LINE__);
    return;
  }
  recordFree(st);
}
