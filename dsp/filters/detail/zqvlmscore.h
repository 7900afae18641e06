// The LMS machinery both levels share: the adaptation, the line pushes, the
// output sum, the exchanges of taps and line with the caller, and the
// low-level bodies. The one-state routines run the same pieces on their
// record's two halves.
#ifndef ZQV_LMS_CORE_H
#define ZQV_LMS_CORE_H

#include <immintrin.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "core/zqvframe.h"
#include "filters/detail/zqvwide.h"
#include "zqvp4.h"

namespace zqvlms {

using namespace zqvwide;

constexpr const char* kLowModule = "zqvlmsl";
constexpr const char* kNullBuffer = "Null buffer pointer";
constexpr const char* kBadLength = "Invalid buffer length";
constexpr const char* kBadErrDly = "Invalid error delay value";
constexpr const char* kBadFactor = "Invalid factor value";

template <class T>
constexpr bool isComplex = !std::is_floating_point_v<T> && !std::is_integral_v<T>;

// When a step with the caller's error adapts: the float single-sample step
// on any bit pattern but +0 (a negative step adapts), every other step only
// for a step above 0.
enum class Gate { AnyBits, Positive, Always };

inline bool adapts(Gate gate, float step) noexcept {
  if (gate == Gate::Always) return true;
  if (gate == Gate::Positive) return step > 0;
  uint32_t bits;
  std::memcpy(&bits, &step, sizeof bits);
  return bits != 0;
}

// Reports the first failed check, like zqvCheckFirst, and hands back what
// the report routine answered (the routines that return it).
inline bool reportFirst(ZqvSite site, std::initializer_list<ZqvCheck> checks, int32_t* answer) noexcept {
  for (const ZqvCheck& c : checks)
    if (c.failed) {
      *answer = zqvError(c.status, site.func, c.message, site.module, c.line);
      return true;
    }
  return false;
}

// ---- Kernels over a line x (newest first) and taps h of length n.

// h[i] <- h[i](1 - leak) + step*err*x[off + i]; the regressor is conjugated
// when the samples are complex.
template <class S, class T, class O>
void adapt(T* h, const S* x, int64_t n, int64_t off, float step, float leak, O err) noexcept {
  const auto g = static_cast<double>(step) * widen(err);
  const double f = 1.0 - static_cast<double>(leak);
  for (int64_t i = 0; i < n; ++i) h[i] = narrow<T>(widen(h[i]) * f + g * conjOf(widen(x[off + i])));
}

template <class S, class T, class O>
O dot(const T* h, const S* x, int64_t n) noexcept {
  decltype(widen(O{})) acc{};
  for (int64_t i = 0; i < n; ++i) acc = acc + widen(h[i]) * widen(x[i]);
  return narrow<O>(acc);
}

template <class S>
void pushOne(S* x, int64_t len, S samp) noexcept {
  if (len > 1) std::memmove(static_cast<void*>(x + 1), x, static_cast<size_t>(len - 1) * sizeof(S));
  x[0] = samp;
}

// D inputs, in[0] the oldest, stored newest first after a shift by D.
template <class S>
void pushBlock(S* x, int64_t len, const S* in, int64_t d) noexcept {
  if (len > d) std::memmove(static_cast<void*>(x + d), x, static_cast<size_t>(len - d) * sizeof(S));
  for (int64_t j = 0; j < std::min(d, len); ++j) x[j] = in[d - 1 - j];
}

// ---- What a state pair must hold before a step may touch its arrays.

inline int64_t blockBase(const ZqvLmsTapState* ts) noexcept {
  return int64_t{ts->downFactor} - 1 - ts->downPhase;
}

// An adapting step reads x[base + i + errDly] for i < tapsLen: a line that
// is shorter (a non-adaptive line with an error delay, a caller's own
// record) is refused rather than read past its end.
inline bool lineTooShort(const ZqvLmsTapState* ts, const ZqvLmsDlyState* ds, int64_t base) noexcept {
  return int64_t{ds->dlyLen} < base + ts->tapsLen + ts->errDly || ts->tapsLen < 1 || ts->errDly < 0 || base < 0;
}

// Checks of a step on a state pair (and its input block, where it has one);
// true when it must return.
inline bool refuseStep(ZqvSite site, const ZqvLmsTapState* ts, const ZqvLmsDlyState* ds, bool block,
                       const void* in = reinterpret_cast<const void*>(1)) noexcept {
  const bool both = ts && ds;
  return zqvCheckFirst(site, {ZQV_CHECK(!ds, kNullBuffer), ZQV_CHECK(!ts, kNullBuffer), ZQV_CHECK(!in, kNullBuffer),
                              ZQV_CHECK(both && (!ts->taps || !ds->dlyl), kNullBuffer),
                              ZQV_CHECK(both && lineTooShort(ts, ds, block ? blockBase(ts) : 0), kBadLength)});
}

// One adapting step, single sample.
template <class S, class T, class O>
O stepOne(const ZqvLmsTapState* ts, ZqvLmsDlyState* ds, S samp, O err, Gate gate) noexcept {
  T* h = static_cast<T*>(ts->taps);
  S* x = static_cast<S*>(ds->dlyl);
  const int64_t n = ts->tapsLen;
  if (adapts(gate, ts->step.f)) adapt(h, x, n, ts->errDly, ts->step.f, ts->leak, err);
  pushOne(x, ds->dlyLen, samp);
  return dot<S, T, O>(h, x, n);
}

// Float block step, adaptation and output in one pass over the taps, on the
// line as it was before the block: tap i adapts with x[b + i + E] and then
// meets the value the line will hold at b + i after the push, x[b + i - D]
// or, for the first p + 1 taps, an input of the block. The products go in
// chunks to a small array in vectors and are summed from tap 0 up in one
// double, so the output has the bits of adapt, push and dot; the chunks
// keep the vector work of the next taps beside the running sum. The line
// moves afterwards.
constexpr int64_t kChunk = 16;

// One tap of that pass, in scalar form (head and tail of the vector loop).
inline double tapTerm(float* h, int64_t i, float a, float v, double g, double f, bool adapt) noexcept {
  if (adapt) h[i] = static_cast<float>(static_cast<double>(h[i]) * f + g * static_cast<double>(a));
  return static_cast<double>(h[i]) * static_cast<double>(v);
}

__attribute__((target("avx2"))) inline double floatBlockSum(float* h, int64_t n, const float* x, const float* in,
                                                           int64_t b, int64_t e, int64_t d, double g, double f,
                                                           bool adapt) noexcept {
  const int64_t phase = d - 1 - b;
  const int64_t head = std::min(n, phase + 1);
  // Tap i adapts with xa[i] and meets x[i - shift] (i >= head).
  const float* xa = x + b + e;
  const int64_t shift = phase + 1;
  double acc = 0;
  int64_t i = 0;
  for (; i < head; ++i) acc = acc + tapTerm(h, i, xa[i], in[phase - i], g, f, adapt);
  // A few more taps in scalar form give the sum work while the first
  // vectors are on their way.
  for (const int64_t lead = std::min(n, head + 8); i < lead; ++i)
    acc = acc + tapTerm(h, i, xa[i], x[i - shift], g, f, adapt);
  const __m256d vf = _mm256_set1_pd(f), vg = _mm256_set1_pd(g);
  alignas(32) double t[kChunk];
  for (; i + kChunk <= n; i += kChunk) {
    for (int64_t j = 0; j < kChunk; j += 4) {
      __m128 hv = _mm_loadu_ps(h + i + j);
      if (adapt) {
        const __m256d hf = _mm256_mul_pd(_mm256_cvtps_pd(hv), vf);
        const __m256d gx = _mm256_mul_pd(vg, _mm256_cvtps_pd(_mm_loadu_ps(xa + i + j)));
        hv = _mm256_cvtpd_ps(_mm256_add_pd(hf, gx));
        _mm_storeu_ps(h + i + j, hv);
      }
      const __m256d v = _mm256_cvtps_pd(_mm_loadu_ps(x + (i + j - shift)));
      _mm256_store_pd(t + j, _mm256_mul_pd(_mm256_cvtps_pd(hv), v));
    }
    for (int64_t j = 0; j < kChunk; ++j) acc = acc + t[j];
  }
  for (; i < n; ++i) acc = acc + tapTerm(h, i, xa[i], x[i - shift], g, f, adapt);
  return acc;
}

// Float block steps on that pass: count steps over consecutive blocks of D
// inputs. With desired values, each step's error (desired minus output)
// feeds the next and the last one is left in *err; the error stays in a
// register from one step to the next.
__attribute__((target("avx2"))) inline void floatBlockSteps(const ZqvLmsTapState* ts, ZqvLmsDlyState* ds,
                                                           const float* in, const float* des, float* out,
                                                           int64_t count, float* err, bool adapt) noexcept {
  float* h = static_cast<float*>(ts->taps);
  float* x = static_cast<float*>(ds->dlyl);
  const int64_t n = ts->tapsLen, b = blockBase(ts), d = ts->downFactor, len = ds->dlyLen, e = ts->errDly;
  const double f = 1.0 - static_cast<double>(ts->leak), step = ts->step.f;
  float r = *err;
  for (int64_t k = 0; k < count; ++k) {
    const float* block = in + k * d;
    const double g = step * static_cast<double>(r);
    const float y = static_cast<float>(floatBlockSum(h, n, x, block, b, e, d, g, f, adapt));
    pushBlock(x, len, block, d);
    out[k] = y;
    if (des) r = static_cast<float>(static_cast<double>(des[k]) - static_cast<double>(y));
  }
  *err = r;
}

template <class S, class T, class O>
constexpr bool kFloatMember = std::is_same_v<S, float> && std::is_same_v<T, float> && std::is_same_v<O, float>;

// One adapting step over a block of D inputs; the output belongs to input
// downPhase of the block.
template <class S, class T, class O>
O stepBlock(const ZqvLmsTapState* ts, ZqvLmsDlyState* ds, const S* in, O err, Gate gate) noexcept {
  T* h = static_cast<T*>(ts->taps);
  S* x = static_cast<S*>(ds->dlyl);
  const int64_t n = ts->tapsLen, b = blockBase(ts);
  if constexpr (kFloatMember<S, T, O>) {
    if (hasAvx2()) {
      float y;
      floatBlockSteps(ts, ds, in, nullptr, &y, 1, &err, adapts(gate, ts->step.f));
      return y;
    }
  }
  if (adapts(gate, ts->step.f)) adapt(h, x, n, b + ts->errDly, ts->step.f, ts->leak, err);
  pushBlock(x, ds->dlyLen, in, ts->downFactor);
  return dot<S, T, O>(h, x + b, n);
}

// ---- Exchanges with the caller.

template <class E>
void getTaps(ZqvLmsTapState* ts, E* out) noexcept {
  const E* h = static_cast<const E*>(ts->taps);
  if (out != h) std::copy(h, h + ts->tapsLen, out);
  ts->tapsReady = 0;
}

template <class E>
void setTaps(const E* in, ZqvLmsTapState* ts) noexcept {
  E* h = static_cast<E*>(ts->taps);
  if (!in) std::fill(h, h + ts->tapsLen, E{});
  else if (in != h) std::copy(in, in + ts->tapsLen, h);
  ts->tapsReady = 1;
}

template <class E>
void reverseFront(E* x, int64_t len) noexcept {
  if (len > 1) std::reverse(x, x + len - 1);
}

// The line goes out oldest first, dlyLen - 1 values; in place it is only
// reversed, and a line already out (or already in) is an internal error.
template <class E>
void getDlyl(ZqvLmsDlyState* ds, E* out) noexcept {
  E* x = static_cast<E*>(ds->dlyl);
  const int64_t len = ds->dlyLen;
  if (out == x) {
    if (ds->dlyReady == 0) {
      zqvSetErrStatus(ZQV_INTERNAL_ERROR);
      return;
    }
    reverseFront(x, len);
  } else {
    for (int64_t i = 0; i + 1 < len; ++i) out[i] = x[len - 2 - i];
  }
  ds->dlyReady = 0;
}

// From a separate array the caller gives dlyLen - 1 values; the oldest
// place, which no value reaches, starts at zero rather than left over.
template <class E>
void setDlyl(const E* in, ZqvLmsDlyState* ds) noexcept {
  E* x = static_cast<E*>(ds->dlyl);
  const int64_t len = ds->dlyLen;
  if (!in) {
    std::fill(x, x + len, E{});
  } else if (in == x) {
    if (ds->dlyReady == 1) {
      zqvSetErrStatus(ZQV_INTERNAL_ERROR);
      return;
    }
    reverseFront(x, len);
  } else {
    for (int64_t i = 0; i + 1 < len; ++i) x[i] = in[len - 2 - i];
    if (len > 0) x[len - 1] = E{};
  }
  ds->dlyReady = 1;
}

// ---- Low-level bodies.

inline void fillTapState(ZqvLmsTapState* ts, void* taps, int32_t tapsLen, float step, float leak, int32_t errDly,
                         int32_t downFactor, int32_t downPhase, int32_t lmsType) noexcept {
  ts->taps = taps;
  ts->tapsLen = tapsLen;
  ts->upFactor = 1;
  ts->upPhase = 0;
  ts->downFactor = downFactor;
  ts->downPhase = downPhase;
  ts->isMultiRate = downFactor >= 2 ? 1 : 0;
  ts->tapsReady = 1;
  ts->leak = leak;
  ts->step.f = step;
  ts->errDly = errDly;
  ts->lmsType = lmsType;
}

// True when the tap state was filled.
inline bool lowInit(ZqvSite site, int32_t lmsType, void* taps, int32_t tapsLen, float step, float leak,
                    int32_t errDly, int32_t downFactor, int32_t downPhase, bool multiRate,
                    ZqvLmsTapState* ts) noexcept {
  if (zqvCheckFirst(site, {ZQV_CHECK(!taps, kNullBuffer), ZQV_CHECK(!ts, kNullBuffer),
                           ZQV_CHECK(tapsLen < 1, kBadLength), ZQV_CHECK(errDly < 0, kBadErrDly),
                           ZQV_CHECK(multiRate && downPhase < 0, kBadFactor),
                           ZQV_CHECK(multiRate && downFactor <= downPhase, kBadFactor)}))
    return false;
  fillTapState(ts, taps, tapsLen, step, leak, errDly, downFactor, downPhase, lmsType);
  return true;
}

// The line's length, or -1 when 32 bits cannot hold it.
inline int64_t lineLength(const ZqvLmsTapState* ts, bool countErrDly) noexcept {
  const int64_t len = int64_t{ts->tapsLen} + (countErrDly ? ts->errDly : 0) + (ts->isMultiRate == 1 ? ts->downFactor : 0);
  return len > INT32_MAX ? -1 : len;
}

inline void lowInitDlyl(ZqvSite site, const ZqvLmsTapState* ts, void* dlyl, int32_t isAdaptive,
                        ZqvLmsDlyState* ds) noexcept {
  if (zqvCheckFirst(site, {ZQV_CHECK(!ds, kNullBuffer), ZQV_CHECK(!ts, kNullBuffer), ZQV_CHECK(!dlyl, kNullBuffer)}))
    return;
  const int64_t len = lineLength(ts, isAdaptive != 0);
  if (zqvCheckFirst(site, {ZQV_CHECK(len < 0, kBadLength)})) return;
  ds->dlyl = dlyl;
  ds->dlyLen = static_cast<int32_t>(len);
  ds->dlyReady = 1;
  ds->isAdaptive = isAdaptive;
}

}  // namespace zqvlms

#endif
