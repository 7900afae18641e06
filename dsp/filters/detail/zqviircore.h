// The IIR machinery both levels share: tap normalisation, the direct-form and
// biquad-cascade recurrences, and the low-level Init, InitDlyl, one-sample
// and block bodies. The one-state routines run these same bodies on the two
// halves of their record, so their inner reports carry the low-level names.
#ifndef ZQV_IIR_CORE_H
#define ZQV_IIR_CORE_H

#include <immintrin.h>

#include <cstdint>
#include <cstdio>
#include <cstring>
#include <type_traits>

#include "core/zqvarith.h"
#include "core/zqvframe.h"
#include "filters/detail/zqvwide.h"
#include "zqvp4.h"

namespace zqviir {

using namespace zqvwide;

constexpr const char* kLowModule = "zqviirl";
// The one-state record is initialised while its marker word holds this value.
constexpr int32_t kMarker = 31725;
constexpr int32_t kDirectForm = 0;
constexpr int32_t kBiquadForm = 1;

template <class T>
constexpr bool isComplex = !std::is_floating_point_v<T>;

template <class T>
inline T zeroOf() noexcept { return T{}; }

// ±0 in every part counts as zero.
template <class T>
inline bool isZero(T v) noexcept {
  if constexpr (isComplex<T>) return v.re == 0 && v.im == 0;
  else return v == 0;
}

// ---- Tap arithmetic of the normalisation, in the taps' own type.

template <class T>
inline T mul(T a, T b) noexcept {
  if constexpr (isComplex<T>) return zqvCplxMpy(a, b);
  else return a * b;
}

template <class T>
inline T reciprocal(T v) noexcept {
  if constexpr (std::is_same_v<T, ZqvCplxS>) return zqvcDiv({1.0f, 0.0f}, v);
  else if constexpr (std::is_same_v<T, ZqvCplxD>) return zqvzDiv({1.0, 0.0}, v);
  else return T(1) / v;
}

template <class T>
inline T one() noexcept {
  if constexpr (isComplex<T>) return {1, 0};
  else return T(1);
}

// Direct form: b/a0 at 0..order, a1/a0..aN/a0 moved one place down to
// order+1..2*order; the last value stays. a0 is known to be non-zero.
template <class T>
void normalizeDirect(T* taps, int64_t order) noexcept {
  const T r = reciprocal(taps[order + 1]);
  for (int64_t k = 0; k <= order; ++k) taps[k] = mul(taps[k], r);
  for (int64_t k = 1; k <= order; ++k) taps[order + k] = mul(taps[order + 1 + k], r);
}

// The first section whose b0 or a0 is zero, and which of the two; -1 when
// every section can be normalised.
template <class T>
int64_t firstBadSection(const T* taps, int64_t numQuads, bool* b0IsZero) noexcept {
  for (int64_t i = 0; i < numQuads; ++i) {
    *b0IsZero = isZero(taps[6 * i]);
    if (*b0IsZero || isZero(taps[6 * i + 3])) return i;
  }
  return -1;
}

// Cascade: g, then c1..c4 per section, written front to back over the six
// values per section. Every section is known to be valid.
template <class T>
void normalizeCascade(T* taps, int64_t numQuads) noexcept {
  T g = one<T>();
  for (int64_t i = 0; i < numQuads; ++i) {
    const T* s = taps + 6 * i;
    const T b0 = s[0], b1 = s[1], b2 = s[2], a0 = s[3], a1 = s[4], a2 = s[5];
    const T ra = reciprocal(a0), rb = reciprocal(b0);
    T* c = taps + 1 + 4 * i;
    c[0] = mul(a1, ra);
    c[1] = mul(a2, ra);
    c[2] = mul(b1, rb);
    c[3] = mul(b2, rb);
    g = mul(mul(b0, g), ra);
  }
  taps[0] = g;
}

// ---- The recurrences, one sample. The delay line holds output-type values.

template <class T, class O, class S>
inline O directStep(const T* taps, O* d, int64_t order, S sample) noexcept {
  const auto x = widen(sample);
  if (order == 0) return narrow<O>(widen(taps[0]) * x);
  const auto y = widen(taps[0]) * x + widen(d[0]);
  const T* a = taps + order;  // a[k] = ak/a0 for k = 1..order
  for (int64_t k = 1; k < order; ++k) d[k - 1] = narrow<O>(widen(taps[k]) * x - widen(a[k]) * y + widen(d[k]));
  d[order - 1] = narrow<O>(widen(taps[order]) * x - widen(a[order]) * y);
  return narrow<O>(y);
}

template <class T, class O, class S>
inline O cascadeStep(const T* taps, O* d, int64_t numQuads, S sample) noexcept {
  auto u = widen(taps[0]) * widen(sample);
  for (int64_t i = 0; i < numQuads; ++i) {
    const T* c = taps + 1 + 4 * i;
    const auto w1 = widen(d[2 * i]), w2 = widen(d[2 * i + 1]);
    // Feedback and feed-forward sums first: the chain from one section's
    // input to the next is then one subtraction and one addition long.
    const auto w = u - (widen(c[0]) * w1 + widen(c[1]) * w2);
    u = w + (widen(c[2]) * w1 + widen(c[3]) * w2);
    d[2 * i + 1] = d[2 * i];
    d[2 * i] = narrow<O>(w);
  }
  return narrow<O>(u);
}

template <class T, class O, class S>
inline O filterOne(const ZqvIirTapState& ts, O* d, S sample) noexcept {
  const T* taps = static_cast<const T*>(ts.taps);
  if (ts.form == kBiquadForm) return cascadeStep(taps, d, int64_t{ts.order} / 2, sample);
  return directStep(taps, d, ts.order, sample);
}

// A cascade of Q sections over a block, the delay line held in locals: the
// sections' recurrences then carry no store and reload of the delay line
// from one sample to the next. Each sample takes the very steps of
// cascadeStep, so blocks keep the bits of single calls.
template <int64_t Q, class T, class O, class S>
void cascadeBlock(const T* taps, O* d, const S* in, O* out, int64_t n) noexcept {
  O dl[2 * Q];
  for (int64_t k = 0; k < 2 * Q; ++k) dl[k] = d[k];
  for (int64_t i = 0; i < n; ++i) out[i] = cascadeStep(taps, dl, Q, in[i]);
  for (int64_t k = 0; k < 2 * Q; ++k) d[k] = dl[k];
}

// Float taps, samples and line: the cascade with fused multiply-adds. Both
// products of each pair are products of two floats (a tap and a line value),
// exact in double, so fma(c1, w1, c2*w2) rounds exactly as c1*w1 + c2*w2 and
// every sample keeps the bits of cascadeStep; the chain from one sample's
// line value to the next is one multiply-add shorter. The line is carried
// as doubles (float values, so widening them is exact) and the older value
// moves on without a second conversion. Scalar register operations keep the
// compiler from packing the sections' conversions into one vector, which
// would tie their chains to each other.
template <int64_t Q>
__attribute__((target("avx2,fma"))) void cascadeBlockFloatFma(const float* taps, float* d, const float* in,
                                                              float* out, int64_t n) noexcept {
  const __m128d g = _mm_set_sd(taps[0]);
  __m128d c[Q][4], w1[Q], w2[Q];
  for (int64_t s = 0; s < Q; ++s) {
    for (int k = 0; k < 4; ++k) c[s][k] = _mm_set_sd(taps[1 + 4 * s + k]);
    w1[s] = _mm_set_sd(d[2 * s]);
    w2[s] = _mm_set_sd(d[2 * s + 1]);
  }
  for (int64_t i = 0; i < n; ++i) {
    __m128d u = _mm_mul_sd(g, _mm_set_sd(in[i]));
    for (int64_t s = 0; s < Q; ++s) {
      const __m128d w = _mm_sub_sd(u, _mm_fmadd_sd(c[s][0], w1[s], _mm_mul_sd(c[s][1], w2[s])));
      u = _mm_add_sd(w, _mm_fmadd_sd(c[s][2], w1[s], _mm_mul_sd(c[s][3], w2[s])));
      w2[s] = w1[s];
      w1[s] = _mm_cvtss_sd(w, _mm_cvtsd_ss(_mm_setzero_ps(), w));
    }
    out[i] = _mm_cvtss_f32(_mm_cvtsd_ss(_mm_setzero_ps(), u));
  }
  for (int64_t s = 0; s < Q; ++s) {
    d[2 * s] = static_cast<float>(_mm_cvtsd_f64(w1[s]));
    d[2 * s + 1] = static_cast<float>(_mm_cvtsd_f64(w2[s]));
  }
}

// Blocks of up to four sections with the line in locals; float members on
// the fused path where the processor has it.
template <class T, class O, class S>
bool cascadeBlockShort(const T* taps, O* d, const S* in, O* out, int64_t q, int64_t n) noexcept {
  if constexpr (std::is_same_v<T, float> && std::is_same_v<O, float> && std::is_same_v<S, float>) {
    if (hasFma()) {
      switch (q) {
        case 1: cascadeBlockFloatFma<1>(taps, d, in, out, n); return true;
        case 2: cascadeBlockFloatFma<2>(taps, d, in, out, n); return true;
        case 3: cascadeBlockFloatFma<3>(taps, d, in, out, n); return true;
        case 4: cascadeBlockFloatFma<4>(taps, d, in, out, n); return true;
        default: break;
      }
    }
  }
  switch (q) {
    case 1: cascadeBlock<1>(taps, d, in, out, n); return true;
    case 2: cascadeBlock<2>(taps, d, in, out, n); return true;
    case 3: cascadeBlock<3>(taps, d, in, out, n); return true;
    case 4: cascadeBlock<4>(taps, d, in, out, n); return true;
    default: return false;
  }
}

// Each input is read before its output is written: in and out may be one
// vector. The form is decided once per block.
template <class T, class O, class S>
void filterBlock(const ZqvIirTapState& ts, O* d, const S* in, O* out, int64_t n) noexcept {
  const T* taps = static_cast<const T*>(ts.taps);
  if (ts.form == kBiquadForm) {
    const int64_t q = int64_t{ts.order} / 2;
    if (cascadeBlockShort(taps, d, in, out, q, n)) return;
    for (int64_t i = 0; i < n; ++i) out[i] = cascadeStep(taps, d, q, in[i]);
  } else {
    const int64_t order = ts.order;
    for (int64_t i = 0; i < n; ++i) out[i] = directStep(taps, d, order, in[i]);
  }
}

// ---- Low-level bodies. Each reports under the site it is given.

inline ZqvCheck iirTypeCheck(int32_t iirType, int32_t line) noexcept {
  return ZqvCheck{iirType != 0 && iirType != 1, "iirType is out of range", line};
}

template <class T>
void lowInit(ZqvSite site, int32_t iirType, T* taps, int32_t order, ZqvIirTapState* ts) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(!ts, "tapStPtr==0"), ZQV_CHECK(!taps, "taps==0"),
                         ZQV_CHECK(order < 0, "order < 0"), iirTypeCheck(iirType, __LINE__)}))
    return;
  if (zqvCheckAll(site, {ZQV_CHECK(isZero(taps[int64_t{order} + 1]), "taps[order+1] equals zero")})) return;
  ts->order = order;
  ts->taps = taps;
  ts->iirType = iirType;
  ts->form = kDirectForm;
  normalizeDirect(taps, order);
}

// Every section is validated before the first is rewritten, so a refused
// call leaves both the caller's array and the tap state as they were.
template <class T>
void lowInitBq(ZqvSite site, int32_t iirType, T* taps, int32_t numQuads, ZqvIirTapState* ts) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(!ts, "tapStPtr==0"), ZQV_CHECK(!taps, "taps==0"),
                         ZQV_CHECK(numQuads < 1, "numQuads <= 0"), iirTypeCheck(iirType, __LINE__)}))
    return;
  bool b0IsZero = false;
  const int64_t bad = firstBadSection(taps, numQuads, &b0IsZero);
  if (bad >= 0) {
    char text[64];
    std::snprintf(text, sizeof text, b0IsZero ? "taps[%d*6] equals zero" : "taps[%d*6+3] equals zero",
                  static_cast<int>(bad));
    zqvError(ZQV_BAD_ARGUMENT, site.func, text, site.module, __LINE__);
    return;
  }
  ts->order = 2 * numQuads;
  ts->taps = taps;
  ts->iirType = iirType;
  ts->form = kBiquadForm;
  normalizeCascade(taps, numQuads);
}

// The two "wasn't initialized" checks of the tap state, each on its own.
#define ZQV_IIR_TAP_STATE_CHECKS(ts)                                                 \
  ZQV_CHECK(!(ts)->taps, "structure *tapStPtr wasn't initialized"),                 \
      ZQV_CHECK((ts)->form != kDirectForm && (ts)->form != kBiquadForm,             \
                "structure *tapStPtr wasn't initialized")

template <class O>
void lowInitDlyl(ZqvSite site, const ZqvIirTapState* ts, O* dlyl, ZqvIirDlyState* ds) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(!ts, "tapStPtr==0"), ZQV_CHECK(!ds, "dlyStPtr==0")})) return;
  if (zqvCheckAll(site, {ZQV_IIR_TAP_STATE_CHECKS(ts),
                         ZQV_CHECK(ts->order > 0 && !dlyl, "dlyl==0")}))
    return;
  ds->dlyl = dlyl;
  if (ts->order > 0) std::memset(static_cast<void*>(dlyl), 0, static_cast<size_t>(ts->order) * sizeof(O));
}

// Checks of the filter routines that follow the two null-state checks.
#define ZQV_IIR_STATE_CHECKS(ts, ds)                                                           \
  ZQV_IIR_TAP_STATE_CHECKS(ts),                                                                \
      ZQV_CHECK((ts)->order > 0 && !(ds)->dlyl,                           \
                "structure *dlyStPtr wasn't initialized")

// The checks of the one-sample routines; true when the call must return.
inline bool refuseOne(ZqvSite site, const ZqvIirTapState* ts, const ZqvIirDlyState* ds) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(!ts, "tapStPtr==0"), ZQV_CHECK(!ds, "dlyStPtr==0")})) return true;
  return zqvCheckAll(site, {ZQV_IIR_STATE_CHECKS(ts, ds)});
}

// The checks of the block routines; true when the call must return.
inline bool refuseBlock(ZqvSite site, const ZqvIirTapState* ts, const ZqvIirDlyState* ds, const void* in,
                        const void* out, int32_t numIters) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(!ts, "tapStPtr==0"), ZQV_CHECK(!ds, "dlyStPtr==0"),
                         ZQV_CHECK(!in, "inSamps==0"), ZQV_CHECK(!out, "outSamps==0")}))
    return true;
  return zqvCheckAll(site, {ZQV_IIR_STATE_CHECKS(ts, ds), ZQV_CHECK(numIters < 0, "numIters < 0")});
}

template <class T, class O, class S>
O lowFilter(ZqvSite site, const ZqvIirTapState* ts, ZqvIirDlyState* ds, S sample) noexcept {
  if (refuseOne(site, ts, ds)) return zeroOf<O>();
  return filterOne<T>(*ts, static_cast<O*>(ds->dlyl), sample);
}

template <class T, class O, class S>
void lowBlock(ZqvSite site, const ZqvIirTapState* ts, ZqvIirDlyState* ds, const S* in, O* out,
              int32_t numIters) noexcept {
  if (refuseBlock(site, ts, ds, in, out, numIters)) return;
  filterBlock<T>(*ts, static_cast<O*>(ds->dlyl), in, out, numIters);
}

// ---- Library blocks of the one-state records: sizes in 64 bits, and a
// block the 32-bit allocator cannot describe counts as one not obtained.

template <class E>
E* allocElements(int64_t count) noexcept {
  const int64_t bytes = count * static_cast<int64_t>(sizeof(E));
  if (count < 0 || bytes > INT32_MAX) return nullptr;
  return static_cast<E*>(zqvMalloc(static_cast<int32_t>(bytes)));
}

// Frees both blocks and leaves null pointers and a cleared marker, so that
// neither level accepts the record afterwards.
inline void releaseState(ZqvIirState* st) noexcept {
  zqvFree(st->tapState.taps);
  zqvFree(st->dlyState.dlyl);
  st->tapState.taps = nullptr;
  st->dlyState.dlyl = nullptr;
  st->marker = 0;
}

}  // namespace zqviir

#endif
