// Module zqvgrtzw: the Goertzel recurrence for 16-bit and complex 16-bit
// samples over a float state; results narrowed to 16 bits by the scale mode.
#include "core/detail/zqvscale.h"
#include "transforms/detail/zqvgrtz.h"

using zqvgrtz::Form;

namespace {

constexpr const char* kModule = "zqvgrtzw";

// The scale checks of the 16-bit forms: the factor in the variable on entry
// is tested for every mode, also the automatic one that overwrites it.
bool badScale(ZqvSite site, int32_t scaleMode, const int32_t* scaleFactor) noexcept {
  return zqvCheckFirst(site, {ZQV_CHECK(scaleFactor == nullptr, "Zero scale factor pointer"),
                              ZQV_CHECK(scaleFactor && (*scaleFactor >= 15 || *scaleFactor <= -15),
                                        "Too large scale factor"),
                              ZQV_CHECK(scaleMode > 4, "Erroneus scale mode")});
}

ZqvCplxW narrow(ZqvCplxS r, int32_t scaleMode, int32_t* scaleFactor) noexcept {
  const float parts[2] = {r.re, r.im};
  int16_t out[2];
  zqvsbScaleToW(parts, out, 2, scaleMode, scaleFactor);
  return {out[0], out[1]};
}

template <Form F, class S>
ZqvCplxW sampleW(ZqvSite site, GoertzelState* st, S x, int32_t scaleMode, int32_t* scaleFactor) noexcept {
  if (zqvCheckFirst(site, {ZQV_CHECK(st == nullptr, "Null state pointer")}) || badScale(site, scaleMode, scaleFactor))
    return {};
  constexpr int32_t count = sizeof(S) / sizeof(int16_t);
  float xf[2] = {0, 0};
  zqvsbIntToFloat(&x, xf, count, 16, 0);
  return narrow(zqvgrtz::feedOne<F>(st, xf[0], xf[1]), scaleMode, scaleFactor);
}

template <Form F, class S>
ZqvCplxW blockW(ZqvSite site, GoertzelState* st, const S* samps, int32_t len, int32_t scaleMode,
                int32_t* scaleFactor) noexcept {
  if (zqvCheckFirst(site, {ZQV_CHECK(st == nullptr, "Null state pointer"),
                           ZQV_CHECK(samps == nullptr, "Null buffer pointer"),
                           ZQV_CHECK(len < 1, "Invalid array length")}) ||
      badScale(site, scaleMode, scaleFactor))
    return {};
  // A complex block holds 2 len values, which 32 bits must count.
  constexpr int64_t perSample = sizeof(S) / sizeof(int16_t);
  const int64_t values = perSample * len;
  float* work = values <= INT32_MAX ? zqvsMalloc(static_cast<int32_t>(values)) : nullptr;
  if (!work) {
    zqvError(ZQV_OUT_OF_MEMORY, site.func, "No memory for working array", site.module, __LINE__);
    return {};
  }
  zqvsbIntToFloat(samps, work, static_cast<int32_t>(values), 16, 0);
  ZqvCplxS r;
  if constexpr (F == Form::Real) r = zqvgrtz::feedBlock<F>(st, work, len);
  else r = zqvgrtz::feedBlock<F>(st, reinterpret_cast<const ZqvCplxS*>(work), len);
  zqvFree(work);
  return narrow(r, scaleMode, scaleFactor);
}

}  // namespace

ZQVAPI void zqvwGoertzInit(float freq, GoertzelState* state) noexcept {
  zqvgrtz::init<Form::Real>({"zqvwGoertzInit", kModule}, freq, state);
}
ZQVAPI void zqvvGoertzInit(float freq, GoertzelState* state) noexcept {
  zqvgrtz::init<Form::Complex>({"zqvvGoertzInit", kModule}, freq, state);
}
ZQVAPI void zqvwGoertzReset(GoertzelState* state) noexcept {
  zqvgrtz::reset<Form::Real>({"zqvwGoertzReset", kModule}, state);
}
ZQVAPI void zqvvGoertzReset(GoertzelState* state) noexcept {
  zqvgrtz::reset<Form::Complex>({"zqvvGoertzReset", kModule}, state);
}

ZQVAPI ZqvCplxW zqvwGoertz(GoertzelState* state, int16_t sample, int32_t scaleMode, int32_t* scaleFactor) noexcept {
  return sampleW<Form::Real>({"zqvwGoertz", kModule}, state, sample, scaleMode, scaleFactor);
}
ZQVAPI ZqvCplxW zqvvGoertz(GoertzelState* state, ZqvCplxW sample, int32_t scaleMode, int32_t* scaleFactor) noexcept {
  return sampleW<Form::Complex>({"zqvvGoertz", kModule}, state, sample, scaleMode, scaleFactor);
}
ZQVAPI ZqvCplxW zqvwbGoertz(GoertzelState* state, const int16_t* samps, int32_t len, int32_t scaleMode,
                            int32_t* scaleFactor) noexcept {
  return blockW<Form::Real>({"zqvwbGoertz", kModule}, state, samps, len, scaleMode, scaleFactor);
}
ZQVAPI ZqvCplxW zqvvbGoertz(GoertzelState* state, const ZqvCplxW* samps, int32_t len, int32_t scaleMode,
                            int32_t* scaleFactor) noexcept {
  return blockW<Form::Complex>({"zqvvbGoertz", kModule}, state, samps, len, scaleMode, scaleFactor);
}
