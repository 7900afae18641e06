// The IIR filter for 16-bit samples: float taps stored as 16-bit fixed point
// with one common shift, a delay line of whole numbers, and the recurrences
// of the float filter run in double over the values read back.
#ifndef ZQV_IIR_W_H
#define ZQV_IIR_W_H

#include <cmath>
#include <cstdint>
#include <cstring>

#include "core/detail/zqvscale.h"
#include "filters/detail/zqviircore.h"

namespace zqviir {

constexpr const char* kLowWModule = "zqviirlw";
constexpr const char* kNoWorkMemory = "No memory for working array";
// Normalised taps that 16 bits cannot hold would wrap into other taps.
constexpr const char* kTapsTooLarge = "normalized taps exceed 32767";

// Nearest integer, halves to even, whatever the caller's rounding mode.
inline double roundHalfEven(double v) noexcept {
  const double f = std::floor(v);
  const double diff = v - f;
  if (diff > 0.5) return f + 1;
  if (diff < 0.5) return f;
  return std::fmod(f, 2.0) == 0 ? f : f + 1;
}

// A delay-line value back to a whole 32-bit number: nearest, saturated at
// the ends of the range; a NaN becomes 0 rather than undefined behaviour.
inline int32_t toDelayWord(double v) noexcept {
  if (std::isnan(v)) return 0;
  const double r = roundHalfEven(v);
  if (r >= 2147483647.0) return INT32_MAX;
  if (r <= -2147483648.0) return INT32_MIN;
  return static_cast<int32_t>(r);
}

// The common shift: the largest s (at most `cap`) with 2^s <= 32767 / m, 0
// when that ratio is below 2. False when the largest value would not fit
// 16 bits at that shift (or is not a number).
inline bool commonShift(const float* v, int64_t n, int32_t cap, int32_t* shift) noexcept {
  double m = 0;
  bool finite = true;
  for (int64_t i = 0; i < n; ++i) {
    const double a = std::fabs(static_cast<double>(v[i]));
    finite &= std::isfinite(a);
    if (a > m) m = a;
  }
  if (!finite || !(roundHalfEven(m) <= 32767.0)) return false;
  const double r = 32767.0 / m;
  int32_t s = 0;
  while (s < cap && std::ldexp(1.0, s + 1) <= r) ++s;
  *shift = s;
  return true;
}

inline int16_t toFixed(float v, int32_t s) noexcept {
  return static_cast<int16_t>(roundHalfEven(std::ldexp(static_cast<double>(v), s)));
}

// The stored values go over the front of the caller's float array; the
// array keeps its type for the caller, so bytes are copied, not aliased.
inline void storeOver(float* taps, const int16_t* stored, int64_t n) noexcept {
  std::memcpy(static_cast<void*>(taps), stored, static_cast<size_t>(n) * sizeof(int16_t));
}

inline void lowInitW(ZqvSite site, int32_t iirType, float* taps, int32_t order, ZqvIirTapState* ts) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(!ts, "tapStPtr==0"), ZQV_CHECK(!taps, "taps==0"),
                         ZQV_CHECK(order < 0, "order<0"), iirTypeCheck(iirType, __LINE__)}))
    return;
  const int64_t n = order, count = 2 * n + 2;
  const float a0 = taps[n + 1];
  if (zqvCheckAll(site, {ZQV_CHECK(a0 == 0, "taps[order+1] equals zero")})) return;
  float* work = allocElements<float>(count);
  int16_t* stored = allocElements<int16_t>(count);
  if (!work || !stored) {
    zqvFree(work);
    zqvFree(stored);
    zqvError(ZQV_OUT_OF_MEMORY, site.func, kNoWorkMemory, site.module, __LINE__);
    return;
  }
  for (int64_t i = 0; i < count; ++i) work[i] = taps[i] / a0;
  int32_t s = 0;
  if (!commonShift(work, count, 14, &s)) {
    zqvError(ZQV_BAD_ARGUMENT, site.func, kTapsTooLarge, site.module, __LINE__);
  } else {
    stored[0] = static_cast<int16_t>(s);
    stored[1] = toFixed(work[0], s);
    for (int64_t k = 1; k <= n; ++k) {
      stored[2 * k] = static_cast<int16_t>(-toFixed(work[n + 1 + k], s));
      stored[2 * k + 1] = toFixed(work[k], s);
    }
    ts->order = order;
    ts->taps = taps;
    ts->iirType = iirType;
    ts->form = kDirectForm;
    storeOver(taps, stored, count);
  }
  zqvFree(work);
  zqvFree(stored);
}

// Sections are rewritten in a work array, so a refused call leaves the
// caller's floats and the tap state as they were.
inline void lowInitBqW(ZqvSite site, int32_t iirType, float* taps, int32_t numQuads, ZqvIirTapState* ts) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(!ts, "tapStPtr==0"), ZQV_CHECK(!taps, "taps==0"),
                         ZQV_CHECK(numQuads < 1, "numQuads<=0"), iirTypeCheck(iirType, __LINE__)}))
    return;
  const int64_t q = numQuads, count = 4 * q + 1;
  float* work = allocElements<float>(6 * q);
  int16_t* stored = allocElements<int16_t>(count + 1);
  if (!work || !stored) {
    zqvFree(work);
    zqvFree(stored);
    zqvError(ZQV_OUT_OF_MEMORY, site.func, kNoWorkMemory, site.module, __LINE__);
    return;
  }
  std::memcpy(work, taps, static_cast<size_t>(6 * q) * sizeof(float));
  bool b0IsZero = false;
  const int64_t bad = firstBadSection(work, q, &b0IsZero);
  int32_t s = 0;
  if (bad >= 0) {
    char text[64];
    std::snprintf(text, sizeof text, b0IsZero ? "taps[%d*6] equals zero" : "taps[%d*6+3] equals zero",
                  static_cast<int>(bad));
    zqvError(ZQV_BAD_ARGUMENT, site.func, text, site.module, __LINE__);
  } else {
    normalizeCascade(work, q);
    // The feedback values are kept negated: the filter only adds.
    for (int64_t i = 0; i < q; ++i) {
      work[1 + 4 * i] = -work[1 + 4 * i];
      work[2 + 4 * i] = -work[2 + 4 * i];
    }
    if (!commonShift(work, count, 15, &s)) {
      zqvError(ZQV_BAD_ARGUMENT, site.func, kTapsTooLarge, site.module, __LINE__);
    } else {
      stored[0] = static_cast<int16_t>(s);
      for (int64_t i = 0; i < count; ++i) stored[1 + i] = toFixed(work[i], s);
      ts->order = 2 * numQuads;
      ts->taps = taps;
      ts->iirType = iirType;
      ts->form = kBiquadForm;
      storeOver(taps, stored, count + 1);
    }
  }
  zqvFree(work);
  zqvFree(stored);
}

// Work copies of the taps (read back from fixed point) and of the delay
// line, for one call.
struct WorkW {
  double* taps = nullptr;  // everything after the shift
  double* dly = nullptr;
  int64_t order = 0;
  int32_t form = kDirectForm;

  bool load(const ZqvIirTapState& ts, const int32_t* dlyl) noexcept {
    order = ts.order;
    form = ts.form;
    const int64_t count = 2 * order + 1;  // b0 and two per order, or g and four per section
    taps = allocElements<double>(count);
    dly = allocElements<double>(order);
    if (!taps || !dly) return false;
    int16_t stored[1];
    std::memcpy(stored, ts.taps, sizeof stored);
    const double scale = std::ldexp(1.0, -stored[0]);
    const auto* fixed = static_cast<const unsigned char*>(ts.taps);
    for (int64_t i = 0; i < count; ++i) {
      int16_t v;
      std::memcpy(&v, fixed + (i + 1) * sizeof(int16_t), sizeof v);
      taps[i] = v * scale;
    }
    for (int64_t i = 0; i < order; ++i) dly[i] = dlyl[i];
    return true;
  }
  void storeDelayLine(int32_t* dlyl) const noexcept {
    for (int64_t i = 0; i < order; ++i) dlyl[i] = toDelayWord(dly[i]);
  }
  ~WorkW() {
    zqvFree(taps);
    zqvFree(dly);
  }

  // One step over the stored layout: b0, then -ak, bk (direct form), or g,
  // then -a1, -a2, b1, b2 per section.
  double step(double x) noexcept {
    if (form == kBiquadForm) {
      double u = taps[0] * x;
      for (int64_t i = 0; i < order / 2; ++i) {
        const double* c = taps + 1 + 4 * i;
        const double w1 = dly[2 * i], w2 = dly[2 * i + 1];
        const double w = u + c[0] * w1 + c[1] * w2;
        u = w + c[2] * w1 + c[3] * w2;
        dly[2 * i + 1] = w1;
        dly[2 * i] = w;
      }
      return u;
    }
    if (order == 0) return taps[0] * x;
    const double y = taps[0] * x + dly[0];
    for (int64_t k = 1; k < order; ++k) dly[k - 1] = taps[2 * k] * x + taps[2 * k - 1] * y + dly[k];
    dly[order - 1] = taps[2 * order] * x + taps[2 * order - 1] * y;
    return y;
  }
};

// Automatic scaling hands its shift back through the factor; without a
// pointer to take it the shift is still applied.
inline void narrowOutputs(const float* y, int16_t* out, int64_t n, int32_t scaleMode, int32_t* scaleFactor) noexcept {
  int32_t unused = 0;
  zqvsbScaleToW(y, out, static_cast<int32_t>(n), scaleMode, scaleFactor ? scaleFactor : &unused);
}

// True when the work arrays were had and the step ran.
inline bool filterW(ZqvSite site, const ZqvIirTapState* ts, ZqvIirDlyState* ds, int16_t sample, int32_t scaleMode,
                    int32_t* scaleFactor, int16_t* result) noexcept {
  WorkW work;
  auto* dlyl = static_cast<int32_t*>(ds->dlyl);
  if (!work.load(*ts, dlyl)) {
    zqvError(ZQV_OUT_OF_MEMORY, site.func, kNoWorkMemory, site.module, __LINE__);
    return false;
  }
  const float y = static_cast<float>(work.step(sample));
  narrowOutputs(&y, result, 1, scaleMode, scaleFactor);
  work.storeDelayLine(dlyl);
  return true;
}

inline bool blockW(ZqvSite site, const ZqvIirTapState* ts, ZqvIirDlyState* ds, const int16_t* in, int16_t* out,
                   int32_t numIters, int32_t scaleMode, int32_t* scaleFactor) noexcept {
  if (numIters == 0) return true;
  WorkW work;
  auto* dlyl = static_cast<int32_t*>(ds->dlyl);
  float* y = allocElements<float>(numIters);
  if (!y || !work.load(*ts, dlyl)) {
    zqvFree(y);
    zqvError(ZQV_OUT_OF_MEMORY, site.func, kNoWorkMemory, site.module, __LINE__);
    return false;
  }
  for (int64_t i = 0; i < numIters; ++i) y[i] = static_cast<float>(work.step(in[i]));
  narrowOutputs(y, out, numIters, scaleMode, scaleFactor);
  work.storeDelayLine(dlyl);
  zqvFree(y);
  return true;
}

}  // namespace zqviir

#endif
