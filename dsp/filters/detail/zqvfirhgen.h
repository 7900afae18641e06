// The one-state FIR record, written once over the sample and taps types: the
// library's copy of the taps (reversed, or grouped by polyphase sub-filter),
// a buffer holding the delay line and a block of new samples, and for
// multi-rate filters a table of the output phases.
#ifndef ZQV_FIRH_GEN_H
#define ZQV_FIRH_GEN_H

#include <algorithm>
#include <cstdint>
#include <limits>

#include "filters/detail/zqvfirkern.h"
#include "filters/detail/zqvfirlgen.h"

namespace zqvfir {

// Which types a record's buffers hold, so that a routine of another member
// refuses the record instead of reading past its buffers.
enum Kind : int32_t { kKindS = 1, kKindC, kKindD, kKindZ, kKindW, kKindWTaps };
template <class T>
constexpr int32_t kindOf() {
  if constexpr (std::is_same_v<T, float>) return kKindS;
  else if constexpr (std::is_same_v<T, ZqvCplxS>) return kKindC;
  else if constexpr (std::is_same_v<T, double>) return kKindD;
  else if constexpr (std::is_same_v<T, ZqvCplxD>) return kKindZ;
  else return kKindW;
}
constexpr int32_t memberTag(int32_t sampleKind, int32_t tapsKind) { return sampleKind * 8 + tapsKind; }
inline int32_t sampleKind(const ZqvFirState& st) { return st.memberTag / 8; }
inline int32_t tapsKind(const ZqvFirState& st) { return st.memberTag % 8; }

inline bool initialised(const ZqvFirState* st) noexcept { return st && st->self == st; }

// Frees what the record holds and marks it uninitialised.
inline void releaseRecord(ZqvFirState* st) noexcept {
  zqvFree(st->taps);
  zqvFree(st->buffer);
  zqvFree(st->phaseTable);
  st->taps = st->buffer = st->blockEnd = st->cursor = nullptr;
  st->phaseTable = nullptr;
  st->self = nullptr;
}

// Taps of sub-filter k when tapsLen taps are spread over U sub-filters, and
// where its group starts in the grouped copy.
inline int64_t groupLen(int64_t k, int64_t tapsLen, int64_t U) noexcept {
  return tapsLen / U + (k < tapsLen % U ? 1 : 0);
}
inline int64_t groupPos(int64_t k, int64_t tapsLen, int64_t U) noexcept {
  return k * (tapsLen / U) + std::min(k, tapsLen % U);
}

// One entry per output phase p: its sub-filter, taps, window start for a
// block's first iteration, and taps group.
inline void buildPhaseTable(ZqvFirPhase* table, int64_t tapsLen, int64_t dlyLen, int64_t U, int64_t upPhase,
                            int64_t D, int64_t downPhase) noexcept {
  int64_t k = modFloor(downPhase - upPhase, U);
  for (int64_t p = 0; p < U; ++p) {
    const int64_t x = downPhase + p * D;
    const int64_t seen = x < upPhase ? 0 : (x - upPhase) / U + 1;
    const int64_t len = groupLen(k, tapsLen, U);
    table[p] = ZqvFirPhase{static_cast<int32_t>(k), static_cast<int32_t>(len),
                           static_cast<int32_t>(dlyLen + seen - len), static_cast<int32_t>(groupPos(k, tapsLen, U))};
    k = (k + D % U) % U;
  }
}

// Internal order of the taps: reversed at a single rate, so a window is
// summed from its oldest sample; grouped by sub-filter, each group reversed,
// when multi-rate.
template <class H>
void storeTaps(H* own, const H* taps, int64_t tapsLen, int64_t U, bool multi) noexcept {
  if (!multi) {
    for (int64_t i = 0; i < tapsLen; ++i) own[i] = taps[tapsLen - 1 - i];
    return;
  }
  for (int64_t k = 0; k < std::min(U, tapsLen); ++k) {
    const int64_t len = groupLen(k, tapsLen, U), pos = groupPos(k, tapsLen, U);
    for (int64_t i = 0; i < len; ++i) own[pos + i] = taps[k + (len - 1 - i) * U];
  }
}

template <class H>
void loadTaps(const H* own, H* taps, int64_t tapsLen, int64_t U, bool multi) noexcept {
  if (!multi) {
    for (int64_t i = 0; i < tapsLen; ++i) taps[tapsLen - 1 - i] = own[i];
    return;
  }
  for (int64_t k = 0; k < std::min(U, tapsLen); ++k) {
    const int64_t len = groupLen(k, tapsLen, U), pos = groupPos(k, tapsLen, U);
    for (int64_t i = 0; i < len; ++i) taps[k + (len - 1 - i) * U] = own[pos + i];
  }
}

// Report lines of one member.
struct FirhLines {
  int32_t init, initMr, fir, block;
};

// Members with float taps start with a larger block.
template <class H>
constexpr int64_t kSmallestDelay = std::is_same_v<H, float> ? 127 : 63;
template <class X, class H>
constexpr int32_t kUnroll = std::is_same_v<typename Member<X, H>::Real, float> ? (Member<X, H>::cplx ? 4 : 8)
                                                                                : (Member<X, H>::cplx ? 2 : 4);

template <class T>
void storeDelay(const ZqvFirState& st, const T* dlyVals) noexcept {
  T* window = static_cast<T*>(st.cursor);
  if (dlyVals) copyElems(window, dlyVals, st.dlyLen);
  else zeroElems(window, st.dlyLen);
}

// Init and InitMr: the single-rate Init passes U = D = 1 and phases 0.
template <class X, class H>
int32_t firhInit(ZqvSite site, int32_t line, const H* taps, int32_t tapsLen, const X* dlyVals, int32_t U,
                 int32_t upPhase, int32_t D, int32_t downPhase, ZqvFirState* st) noexcept {
  if (auto r = refuse(site, {ZqvCheck{!st, "Null state pointer", line}, ZqvCheck{U < 1, "Invalid value", line},
                             ZqvCheck{D < 1, "Invalid value", line},
                             ZqvCheck{upPhase < 0 || upPhase >= U, "Invalid value", line},
                             ZqvCheck{downPhase < 0 || downPhase >= D, "Invalid value", line},
                             ZqvCheck{tapsLen < 1, "Invalid value", line}}))
    return r.result;
  if (initialised(st)) releaseRecord(st);
  const bool multi = U > 1 || D > 1;
  const int64_t dlyLen = multi ? ceilDiv(tapsLen, U) : tapsLen - 1;
  const int64_t T = std::max(dlyLen, kSmallestDelay<H>);
  const int64_t blockLen = multi ? D * ceilDiv(T, D) : T + 1;
  *st = ZqvFirState{};
  st->upFactor = U;
  st->upPhase = upPhase;
  st->downFactor = D;
  st->downPhase = downPhase;
  st->isMultiRate = multi ? 1 : 0;
  st->self = st;
  st->tapsLen = tapsLen;
  st->tapsLenUnrolled = tapsLen - tapsLen % kUnroll<X, H>;
  st->memberTag = memberTag(kindOf<X>(), kindOf<H>());
  const int64_t total = dlyLen + blockLen;
  st->taps = firAlloc(tapsLen, sizeof(H));
  st->buffer = firAlloc(total <= std::numeric_limits<int32_t>::max() ? total : -1, sizeof(X));
  if (multi) st->phaseTable = static_cast<ZqvFirPhase*>(firAlloc(U, sizeof(ZqvFirPhase)));
  if (!st->taps || !st->buffer || (multi && !st->phaseTable)) {
    releaseRecord(st);
    return zqvError(ZQV_OUT_OF_MEMORY, site.func, "Allocation failure", site.module, line);
  }
  st->dlyLen = static_cast<int32_t>(dlyLen);
  st->blockLen = static_cast<int32_t>(blockLen);
  st->blockEnd = static_cast<X*>(st->buffer) + blockLen;
  st->cursor = st->buffer;
  if (multi) buildPhaseTable(st->phaseTable, tapsLen, dlyLen, U, upPhase, D, downPhase);
  if (taps) storeTaps(static_cast<H*>(st->taps), taps, tapsLen, U, multi);
  else zeroElems(static_cast<H*>(st->taps), tapsLen);
  storeDelay(*st, dlyVals);
  return 1;
}

inline int32_t tapsResult(const ZqvFirState& st) noexcept { return st.isMultiRate ? st.upFactor : st.tapsLen; }

template <class T>
int32_t firhSetTaps(ZqvSite site, int32_t line, const T* taps, ZqvFirState* st) noexcept {
  if (auto r = refuse(site, {ZqvCheck{!st, "Null state pointer", line},
                             ZqvCheck{!initialised(st) || tapsKind(*st) != kindOf<T>(), "Must have been initialized",
                                      line}}))
    return r.result;
  if (!taps) {
    zeroElems(static_cast<T*>(st->taps), st->tapsLen);
    return 0;
  }
  storeTaps(static_cast<T*>(st->taps), taps, st->tapsLen, st->upFactor, st->isMultiRate);
  return tapsResult(*st);
}

template <class T>
int32_t firhGetTaps(ZqvSite site, int32_t line, ZqvFirState* st, T* taps) noexcept {
  if (auto r = refuse(site, {ZqvCheck{!st, "Null state pointer", line},
                             ZqvCheck{!initialised(st) || tapsKind(*st) != kindOf<T>(), "Must have been initialized",
                                      line},
                             ZqvCheck{!taps, "Null buffer pointer", line}}))
    return r.result;
  loadTaps(static_cast<const T*>(st->taps), taps, st->tapsLen, st->upFactor, st->isMultiRate);
  return tapsResult(*st);
}

template <class T>
void firhSetDlyl(ZqvSite site, int32_t line, const T* dlyVals, ZqvFirState* st) noexcept {
  if (refuse(site, {ZqvCheck{!st, "Null state pointer", line},
                    ZqvCheck{!initialised(st) || sampleKind(*st) != kindOf<T>(), "Must have been initialized", line}}))
    return;
  storeDelay(*st, dlyVals);
}

template <class T>
int32_t firhGetDlyl(ZqvSite site, int32_t line, ZqvFirState* st, T* dlyVals) noexcept {
  if (auto r = refuse(site, {ZqvCheck{!st, "Null state pointer", line},
                             ZqvCheck{!initialised(st) || sampleKind(*st) != kindOf<T>(), "Must have been initialized",
                                      line},
                             ZqvCheck{!dlyVals, "Null buffer pointer", line}}))
    return r.result;
  copyElems(dlyVals, static_cast<const T*>(st->cursor), st->dlyLen);
  return st->dlyLen;
}

template <class X, class H>
bool ownRecord(const ZqvFirState* st) noexcept {
  return initialised(st) && st->memberTag == memberTag(kindOf<X>(), kindOf<H>());
}

// One sample: stored behind the window, summed from the oldest sample; the
// delay line moves to the buffer start once per block length.
template <class X, class H>
typename Member<X, H>::Out firhOne(ZqvSite site, int32_t line, ZqvFirState* st, X sample) noexcept {
  if (refuse(site, {ZqvCheck{!st, "Null state pointer", line},
                    ZqvCheck{!ownRecord<X, H>(st), "Must have been initialized", line},
                    // The single-sample form has no rate conversion.
                    ZqvCheck{st && st->isMultiRate, "Invalid value", line}}))
    return {};
  X* cursor = static_cast<X*>(st->cursor);
  cursor[st->dlyLen] = sample;
  const auto y = dot(static_cast<const H*>(st->taps), st->tapsLen, cursor, 1);
  if (++cursor == st->blockEnd) {
    copyElems(static_cast<X*>(st->buffer), cursor, st->dlyLen);
    cursor = static_cast<X*>(st->buffer);
  }
  st->cursor = cursor;
  return y;
}

template <class X, class H>
void firhBlockSingle(ZqvFirState& st, const X* src, typename Member<X, H>::Out* dst, int64_t n) noexcept {
  const H* taps = static_cast<const H*>(st.taps);
  X* buf = static_cast<X*>(st.buffer);
  const int64_t L = st.dlyLen, B = st.blockLen, m = std::min(n, B);
  copyElems(buf + L, src, m);
  dotRun(taps, st.tapsLen, buf, 1, dst, m);
  if (n > m) dotRun(taps, st.tapsLen, src + m - L, 1, dst + m, n - m);
  if (n < B) copyElems(buf, buf + m, L);
  else copyElems(buf, src + n - L, L);
}

// Phase by phase: the outputs of one phase take windows D samples apart and
// land U apart. Past the buffer the source continues it.
template <class X, class H>
void firhBlockMulti(ZqvFirState& st, const X* src, typename Member<X, H>::Out* dst, int64_t n) noexcept {
  const H* taps = static_cast<const H*>(st.taps);
  X* buf = static_cast<X*>(st.buffer);
  const int64_t L = st.dlyLen, B = st.blockLen, U = st.upFactor, D = st.downFactor;
  const int64_t nIn = n * D, m = std::min(nIn, B), head = m / D;
  copyElems(buf + L, src, m);
  for (int64_t p = 0; p < U; ++p) {
    const ZqvFirPhase& e = st.phaseTable[p];
    dotStrided(taps + e.tapPos, e.tapsLen, buf + e.start, D, dst + p, U, head);
    if (n > head)
      dotStrided(taps + e.tapPos, e.tapsLen, src + (e.start + head * D - L), D, dst + head * U + p, U, n - head);
  }
  if (nIn < B) copyElems(buf, buf + m, L);
  else copyElems(buf, src + nIn - L, L);
}

template <class X, class H>
int32_t firhBlock(ZqvSite site, int32_t line, ZqvFirState* st, const X* src, typename Member<X, H>::Out* dst,
                  int32_t numIters) noexcept {
  if (auto r = refuse(site, {ZqvCheck{!st, "Null state pointer", line},
                             ZqvCheck{!ownRecord<X, H>(st), "Must have been initialized", line},
                             ZqvCheck{!src, "Null buffer pointer", line}, ZqvCheck{!dst, "Null buffer pointer", line},
                             ZqvCheck{numIters < 1, "Invalid value", line}}))
    return r.result;
  // The window starts at the buffer start for a whole block.
  if (st->cursor != st->buffer) {
    copyElems(static_cast<X*>(st->buffer), static_cast<const X*>(st->cursor), st->dlyLen);
    st->cursor = st->buffer;
  }
  if (st->isMultiRate) firhBlockMulti<X, H>(*st, src, dst, numIters);
  else firhBlockSingle<X, H>(*st, src, dst, numIters);
  return 0;
}

}  // namespace zqvfir

#endif
