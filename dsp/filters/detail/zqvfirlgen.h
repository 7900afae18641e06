// The low-level FIR, written once over the sample and taps types: two small
// descriptors over the caller's taps and delay-line arrays. While in filter
// mode the delay line is newest first (element 0 is the latest input).
#ifndef ZQV_FIRL_GEN_H
#define ZQV_FIRL_GEN_H

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <limits>

#include "filters/detail/zqvfirkern.h"

namespace zqvfir {

// Report lines of a member's state routines, one per routine.
struct FirlLines {
  int32_t init, initMr, initDlyl, setTaps, getTaps, setDlyl, getDlyl;
};

inline int64_t ceilDiv(int64_t a, int64_t b) noexcept { return (a + b - 1) / b; }
// a mod b taken non-negative, for b >= 1.
inline int64_t modFloor(int64_t a, int64_t b) noexcept {
  const int64_t r = a % b;
  return r < 0 ? r + b : r;
}

// Delay-line length for a tap state: the taps count at a single rate, the
// longest polyphase sub-filter when multi-rate.
inline int32_t firlDlyLen(const ZqvFirTapState& ts) noexcept {
  return ts.isMultiRate ? static_cast<int32_t>(ceilDiv(ts.tapsLen, ts.upFactor)) : ts.tapsLen;
}

// Values that Set/GetDlyl move: at a single rate the last element is
// overwritten by the next input before it is read, so it carries no history.
inline int64_t firlHistory(const ZqvFirTapState& ts, const ZqvFirDlyState& ds) noexcept {
  return std::max<int64_t>(0, ts.isMultiRate ? ds.dlyLen : int64_t{ds.dlyLen} - 1);
}

template <class T>
void copyElems(T* dst, const T* src, int64_t n) noexcept {
  if (n > 0) std::memmove(static_cast<void*>(dst), src, static_cast<size_t>(n) * sizeof(T));
}
template <class T>
void zeroElems(T* dst, int64_t n) noexcept {
  if (n > 0) std::memset(static_cast<void*>(dst), 0, static_cast<size_t>(n) * sizeof(T));
}
template <class T>
void reverseElems(T* v, int64_t n) noexcept {
  for (int64_t i = 0, j = n - 1; i < j; ++i, --j) std::swap(v[i], v[j]);
}

template <class T>
int32_t firlInit(ZqvSite site, int32_t line, T* taps, int32_t tapsLen, ZqvFirTapState* ts) noexcept {
  if (auto r = refuse(site, {ZqvCheck{!taps || !ts, "Null buffer pointer", line},
                             ZqvCheck{tapsLen < 1, "Invalid array length", line}}))
    return r.result;
  *ts = ZqvFirTapState{taps, tapsLen, 1, 0, 1, 0, 0, 1};
  return 1;
}

// Success is 1: the taps pointer does not fit the 32-bit result.
template <class T>
int32_t firlInitMr(ZqvSite site, int32_t line, T* taps, int32_t tapsLen, int32_t upFactor, int32_t upPhase,
                   int32_t downFactor, int32_t downPhase, ZqvFirTapState* ts) noexcept {
  if (auto r = refuse(site, {ZqvCheck{!taps || !ts, "Null buffer pointer", line},
                             ZqvCheck{tapsLen < 1, "Invalid array length", line},
                             ZqvCheck{upPhase < 0 || downPhase < 0, "Invalid phase value", line},
                             ZqvCheck{upFactor <= upPhase, "Invalid factor value", line},
                             ZqvCheck{downFactor <= downPhase, "Invalid factor value", line}}))
    return r.result;
  const int32_t multi = (upFactor >= 2 || downFactor >= 2) ? 1 : 0;
  *ts = ZqvFirTapState{taps, tapsLen, upFactor, upPhase, downFactor, downPhase, multi, 1};
  return 1;
}

template <class T>
int32_t firlInitDlyl(ZqvSite site, int32_t line, const ZqvFirTapState* ts, T* dlyl, ZqvFirDlyState* ds) noexcept {
  if (auto r = refuse(site, {ZqvCheck{!dlyl, "Null buffer pointer", line},
                             ZqvCheck{!ds || !ts, "Null buffer pointer", line}}))
    return r.result;
  *ds = ZqvFirDlyState{dlyl, firlDlyLen(*ts), 0};
  return ts->isMultiRate ? ds->dlyLen : 0;
}

// The 16-bit member answers in bytes.
template <class T>
int32_t firlSetTaps(ZqvSite site, int32_t line, const T* taps, ZqvFirTapState* ts) noexcept {
  if (auto r = refuse(site, {ZqvCheck{!ts, "Null buffer pointer", line}})) return r.result;
  T* own = static_cast<T*>(ts->taps);
  ts->filterMode = 1;
  if (!taps) {
    zeroElems(own, ts->tapsLen);
    return 0;
  }
  if (taps != own) copyElems(own, taps, ts->tapsLen);
  const int64_t result = int64_t{ts->tapsLen} * (std::is_same_v<T, int16_t> ? 2 : 1);
  return static_cast<int32_t>(std::min<int64_t>(result, std::numeric_limits<int32_t>::max()));
}

template <class T>
void firlGetTaps(ZqvSite site, int32_t line, ZqvFirTapState* ts, T* taps) noexcept {
  if (refuse(site, {ZqvCheck{!ts || !taps, "Null buffer pointer", line}})) return;
  if (taps != ts->taps) copyElems(taps, static_cast<const T*>(ts->taps), ts->tapsLen);
  ts->filterMode = 0;
}

// The caller's values are oldest first; the array becomes newest first.
template <class T>
void firlSetDlyl(ZqvSite site, int32_t line, const ZqvFirTapState* ts, const T* dlyVals,
                 ZqvFirDlyState* ds) noexcept {
  if (refuse(site, {ZqvCheck{!ds || !ts, "Null buffer pointer", line}})) return;
  T* array = static_cast<T*>(ds->dlyl);
  const int64_t n = firlHistory(*ts, *ds);
  if (!dlyVals) {
    zeroElems(array, ds->dlyLen);
  } else if (dlyVals == array) {
    if (ds->filterMode != 1) reverseElems(array, n);
  } else {
    for (int64_t i = 0; i < n; ++i) array[i] = dlyVals[n - 1 - i];
  }
  ds->filterMode = 1;
}

template <class T>
void firlGetDlyl(ZqvSite site, int32_t line, const ZqvFirTapState* ts, ZqvFirDlyState* ds, T* dlyVals) noexcept {
  if (refuse(site, {ZqvCheck{!ts || !ds, "Null buffer pointer", line},
                    ZqvCheck{!dlyVals, "Null buffer pointer", line}}))
    return;
  if (ds->filterMode == 0) return;
  T* array = static_cast<T*>(ds->dlyl);
  const int64_t n = firlHistory(*ts, *ds);
  if (dlyVals == array) reverseElems(array, n);
  else
    for (int64_t i = 0; i < n; ++i) dlyVals[i] = array[n - 1 - i];
  ds->filterMode = 0;
}

// The input sequence of a block as one stream: index k >= 0 is the block's
// sample k, index -1 the latest sample before the block, and so on back.
template <class X>
struct Stream {
  const X* src;
  const X* dly;  // newest first
  X operator()(int64_t k) const noexcept { return k >= 0 ? src[k] : dly[-1 - k]; }
};

// The delay line after nIn inputs: the newest min(nIn, len) of them, newest
// first, in front of the older values that still fit.
template <class X>
void pushInputs(X* dly, int64_t len, const X* src, int64_t nIn) noexcept {
  if (nIn < len) copyElems(dly + nIn, dly, len - nIn);
  const int64_t fresh = std::min(nIn, len);
  for (int64_t j = 0; j < fresh; ++j) dly[j] = src[nIn - 1 - j];
}

// One input at a single rate: shift the delay line, store, sum newest first.
template <class X, class H>
typename Member<X, H>::Out firlStep(const ZqvFirTapState& ts, ZqvFirDlyState& ds, X sample) noexcept {
  X* dly = static_cast<X*>(ds.dlyl);
  const int64_t len = std::min<int64_t>(ds.dlyLen, ts.tapsLen);
  if (ds.dlyLen < 1) return typename Member<X, H>::Out{};
  copyElems(dly + 1, dly, int64_t{ds.dlyLen} - 1);
  dly[0] = sample;
  return dot(static_cast<const H*>(ts.taps), len, dly, 1);
}

template <class X, class H>
typename Member<X, H>::Out firlOne(ZqvSite site, int32_t line, const ZqvFirTapState* ts, ZqvFirDlyState* ds,
                                   X sample) noexcept {
  if (refuse(site, {ZqvCheck{!ts || !ds, "Null buffer pointer", line}})) return {};
  return firlStep<X, H>(*ts, *ds, sample);
}

// Single rate: the first outputs reach back into the delay line, the rest
// are taken straight from the source, several at a time.
template <class X, class H>
void firlBlockSingle(const ZqvFirTapState& ts, ZqvFirDlyState& ds, const X* src,
                     typename Member<X, H>::Out* dst, int64_t n) noexcept {
  using M = Member<X, H>;
  const H* taps = static_cast<const H*>(ts.taps);
  X* dly = static_cast<X*>(ds.dlyl);
  const int64_t len = std::min<int64_t>(ds.dlyLen, ts.tapsLen);
  const Stream<X> x{src, dly};
  const int64_t head = std::min(len, n);
  for (int64_t i = 0; i < head; ++i) {
    typename M::Acc acc{};
    for (int64_t j = 0; j < len; ++j) mac(acc, taps[j], x(i - j));
    dst[i] = finish<typename M::Out>(acc);
  }
  if (n > head) dotRun(taps, len, src + head, -1, dst + head, n - head);
  pushInputs(dly, ds.dlyLen, src, n);
}

// Multi-rate: the input up-sampled by U (sample i at instant upPhase + i U),
// filtered, and kept at instants downPhase + m D. Output m of the block sums
// taps[k + i U] times the i-th latest input at its instant, i ascending.
template <class X, class H>
void firlBlockMulti(const ZqvFirTapState& ts, ZqvFirDlyState& ds, const X* src,
                    typename Member<X, H>::Out* dst, int64_t n) noexcept {
  using M = Member<X, H>;
  const H* taps = static_cast<const H*>(ts.taps);
  X* dly = static_cast<X*>(ds.dlyl);
  const int64_t U = ts.upFactor, D = ts.downFactor, tapsLen = ts.tapsLen;
  const Stream<X> x{src, dly};
  for (int64_t t = 0; t < n; ++t) {
    for (int64_t p = 0; p < U; ++p) {
      const int64_t instant = ts.downPhase + p * D;  // within iteration t
      const int64_t seen = instant >= ts.upPhase ? (instant - ts.upPhase) / U + 1 : 0;
      const int64_t k = modFloor(instant - ts.upPhase, U);
      const int64_t len = std::min<int64_t>(k < tapsLen ? ceilDiv(tapsLen - k, U) : 0, ds.dlyLen);
      const int64_t newest = t * D + seen - 1;
      typename M::Acc acc{};
      for (int64_t i = 0; i < len; ++i) mac(acc, taps[k + i * U], x(newest - i));
      dst[t * U + p] = finish<typename M::Out>(acc);
    }
  }
  pushInputs(dly, ds.dlyLen, src, n * D);
}

template <class X, class H>
void firlBlockRun(const ZqvFirTapState& ts, ZqvFirDlyState& ds, const X* src, typename Member<X, H>::Out* dst,
                  int64_t n) noexcept {
  if (ts.isMultiRate) firlBlockMulti<X, H>(ts, ds, src, dst, n);
  else firlBlockSingle<X, H>(ts, ds, src, dst, n);
}

// Lines of the block checks: one for all of a member, or one per check.
struct FirlBlockLines {
  int32_t nullState, nullBuffer, numIters, dlyMode, tapMode;
};

inline Refusal firlBlockRefused(ZqvSite site, const FirlBlockLines& l, const ZqvFirTapState* ts,
                                const ZqvFirDlyState* ds, const void* src, const void* dst,
                                int32_t numIters) noexcept {
  return refuse(site, {ZqvCheck{!ts || !ds, "Null buffer pointer", l.nullState},
                       ZqvCheck{!src || !dst, "Null buffer pointer", l.nullBuffer},
                       ZqvCheck{numIters < 1, "Invalid array length", l.numIters},
                       ZqvCheck{ds && ds->filterMode != 1, "Not filter mode", l.dlyMode},
                       ZqvCheck{ts && ts->filterMode != 1, "Not filter mode", l.tapMode}});
}

template <class X, class H>
int32_t firlBlock(ZqvSite site, int32_t line, const ZqvFirTapState* ts, ZqvFirDlyState* ds, const X* src,
                  typename Member<X, H>::Out* dst, int32_t numIters) noexcept {
  if (auto r = firlBlockRefused(site, {line, line, line, line, line}, ts, ds, src, dst, numIters)) return r.result;
  firlBlockRun<X, H>(*ts, *ds, src, dst, numIters);
  return 0;
}

}  // namespace zqvfir

#endif
