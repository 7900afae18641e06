// The 16-bit members of the one-state FIR: float taps over 16-bit samples,
// each output a rounded 32-bit sum narrowed to 16 bits by the caller's scale
// mode. They share the record (and its release) with the other members.
#include <cmath>
#include <cstdint>
#include <limits>
#include <optional>

#include "core/detail/zqvscale.h"
#include "filters/detail/zqvfirhgen.h"

using namespace zqvfir;

namespace {

constexpr const char* kModule = "zqvfirhw";

// Report lines, as this module has always reported them.
struct Lines {
  static constexpr int32_t initNullState = 343, initTapsLen = 345, initMemory = 350;
  static constexpr int32_t mrNullState = 364, mrUpFactor = 366, mrDownFactor = 368, mrUpPhase = 370,
                           mrDownPhase = 372, mrTapsLen = 374, mrMemory = 379;
  static constexpr int32_t setTapsNullState = 613, setTapsUninit = 615;
  static constexpr int32_t getTapsNullState = 799, getTapsUninit = 801, getTapsBuffer = 803;
  static constexpr int32_t setDlylNullState = 823, setDlylUninit = 825;
  static constexpr int32_t getDlylNullState = 847, getDlylUninit = 849, getDlylBuffer = 851;
  static constexpr int32_t firNullState = 897, firUninit = 899, firScaleFactor = 902, firMultiRate = 904;
  static constexpr int32_t blockNullState = 1326, blockUninit = 1328, blockSrc = 1330, blockDst = 1332,
                           blockNumIters = 1334, blockScaleFactor = 1337;
};

constexpr int32_t kTag = memberTag(kKindW, kKindWTaps);

bool ownRecord(const ZqvFirState* st) noexcept { return initialised(st) && st->memberTag == kTag; }

int16_t* samples(const ZqvFirState& st) noexcept { return static_cast<int16_t*>(st.buffer); }
float* ownTaps(const ZqvFirState& st) noexcept { return static_cast<float*>(st.taps); }

void storeAllTaps(const ZqvFirState& st, const float* taps) noexcept {
  zeroElems(ownTaps(st), st.tapsLen);
  if (taps) storeTaps(ownTaps(st), taps, st.givenTapsLen, st.upFactor, st.isMultiRate);
}

void storeDelayW(const ZqvFirState& st, const int16_t* dlyVals) noexcept {
  int16_t* window = samples(st) + st.cursorIndex;
  if (dlyVals) copyElems(window, dlyVals, st.dlyLen);
  else zeroElems(window, st.dlyLen);
}

// A sum beyond the 32-bit range saturates and a NaN sum (from NaN or
// infinite taps) gives 0: neither has an integer to convert to.
int32_t roundToInt32(long double sum) noexcept {
  if (std::isnan(sum)) return 0;
  const long double r = std::nearbyint(sum);
  if (r >= 2147483647.0L) return std::numeric_limits<int32_t>::max();
  if (r <= -2147483648.0L) return std::numeric_limits<int32_t>::min();
  return static_cast<int32_t>(r);
}

// The window's taps times samples, from the newest sample to the oldest, in
// extended precision, rounded in the caller's rounding mode.
int32_t windowSum(const float* taps, const int16_t* window, int64_t len) noexcept {
  long double sum = 0;
  for (int64_t i = len - 1; i >= 0; --i) sum += static_cast<long double>(taps[i]) * window[i];
  return roundToInt32(sum);
}

int16_t low16(int64_t v) noexcept { return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(v))); }
int16_t saturate16(int64_t v) noexcept {
  return static_cast<int16_t>(v > 32767 ? 32767 : (v < -32768 ? -32768 : v));
}
bool fits16(int64_t v) noexcept { return v >= -32768 && v <= 32767; }
// Shifts past the width give what an endless shift would: 0 or -1 to the
// right, a value that only saturation can describe to the left.
int64_t shiftRight(int64_t v, int64_t s) noexcept { return v >> std::min<int64_t>(s, 63); }
int64_t shiftLeft(int32_t v, int64_t s) noexcept { return static_cast<int64_t>(v) * (int64_t{1} << std::min<int64_t>(s, 32)); }
int32_t floorLog2(int64_t v) noexcept {
  uint64_t a = v < 0 ? 0 - static_cast<uint64_t>(v) : static_cast<uint64_t>(v);
  int32_t log = 0;
  while (a >= 2) a >>= 1, ++log;
  return log;
}

// One sum under an effective mode other than the automatic one.
int16_t narrow(int32_t r, int32_t mode, int32_t shift) noexcept {
  switch (mode) {
    case 1: return saturate16(r);
    case 2: return low16(shiftRight(r, shift));
    case 3: return saturate16(shiftRight(r, shift));
    case 5: return low16(shiftLeft(r, shift));
    case 6: return saturate16(shiftLeft(r, shift));
    default: return low16(r);
  }
}

// The automatic mode over one part of a block: the outputs of the part share
// one shift, raised whenever an output does not fit. Outputs written before a
// raise are brought to the final shift when the part ends; arithmetic shifts
// compose, so that is the same as shifting them at every raise.
class AutoPart {
 public:
  AutoPart(int16_t* dst, int64_t begin, int64_t startShift, bool byHalving) noexcept
      : dst_(dst), begin_(begin), end_(begin), shift_(startShift), byHalving_(byHalving) {
    runs_[0] = {begin, startShift};
  }

  void put(int64_t index, int32_t r) noexcept {
    int64_t v = shift_ >= 0 ? shiftRight(r, shift_) : shiftLeft(r, -shift_);
    if (!fits16(v)) {
      int64_t k = 0;
      if (byHalving_) {
        while (!fits16(v >> k)) ++k;
      } else {
        k = floorLog2(v) - 14;
      }
      v >>= k;
      shift_ += k;
      if (runCount_ < kMaxRuns) runs_[runCount_++] = {index, shift_};
    }
    dst_[index] = static_cast<int16_t>(v);
    end_ = index + 1;
  }

  // Brings every output of the part to the part's final shift and returns it.
  int64_t finish() noexcept {
    for (int32_t i = 0; i < runCount_; ++i) {
      const int64_t stop = i + 1 < runCount_ ? runs_[i + 1].first : end_;
      shiftOutputs(runs_[i].first, stop, shift_ - runs_[i].shift);
    }
    runCount_ = 1;
    runs_[0] = {begin_, shift_};
    return shift_;
  }

  void shiftOutputs(int64_t from, int64_t to, int64_t k) noexcept {
    if (k <= 0) return;
    for (int64_t i = from; i < to; ++i) dst_[i] = static_cast<int16_t>(shiftRight(dst_[i], k));
  }
  void shiftAll(int64_t k) noexcept { shiftOutputs(begin_, end_, k); }

 private:
  // A shift rises by at least one each time and stops rising once a 32-bit
  // sum fits, so a few dozen runs always suffice.
  static constexpr int32_t kMaxRuns = 66;
  struct Run {
    int64_t first, shift;
  };
  int16_t* dst_;
  int64_t begin_, end_, shift_;
  bool byHalving_;
  Run runs_[kMaxRuns];
  int32_t runCount_ = 1;
};

// Where outputs go: narrowed one by one, or through the automatic mode in
// two parts (from the buffer, then straight from the source).
class Sink {
 public:
  Sink(int16_t* dst, int32_t mode, int32_t shift, bool byHalving) noexcept
      : dst_(dst), mode_(mode), shift_(shift), byHalving_(byHalving) {}
  bool automatic() const noexcept { return mode_ == 4; }
  void startPart(int64_t begin) noexcept {
    if (automatic()) part_[parts_++].emplace(dst_, begin, shift_, byHalving_);
  }
  void put(int64_t index, int32_t r) noexcept {
    if (automatic()) part_[parts_ - 1]->put(index, r);
    else dst_[index] = narrow(r, mode_, shift_);
  }
  // The final shift of the call: the larger of the parts' shifts, the other
  // part brought to it.
  int64_t finish() noexcept {
    if (!automatic() || parts_ == 0) return shift_;
    int64_t final0 = part_[0]->finish();
    if (parts_ == 1) return final0;
    const int64_t final1 = part_[1]->finish();
    if (final0 < final1) part_[0]->shiftAll(final1 - final0);
    else part_[1]->shiftAll(final0 - final1);
    return std::max(final0, final1);
  }

 private:
  int16_t* dst_;
  int32_t mode_, shift_;
  bool byHalving_;
  std::optional<AutoPart> part_[2];
  int32_t parts_ = 0;
};

int32_t initRecord(const char* func, const float* taps, int32_t tapsLen, const int16_t* dlyVals, int32_t U,
                   int32_t upPhase, int32_t D, int32_t downPhase, ZqvFirState* st, bool mr) noexcept {
  zqvSetErrStatus(ZQV_NO_ERROR);
  const ZqvSite site{func, kModule};
  const Refusal refusal =
      mr ? refuse(site, {ZqvCheck{!st, "Null state pointer", Lines::mrNullState},
                                           ZqvCheck{U < 1, "Invalid value", Lines::mrUpFactor},
                                           ZqvCheck{D < 1, "Invalid value", Lines::mrDownFactor},
                                           ZqvCheck{upPhase < 0 || upPhase >= U, "Invalid value", Lines::mrUpPhase},
                                           ZqvCheck{downPhase < 0 || downPhase >= D, "Invalid value",
                                                    Lines::mrDownPhase},
                                           ZqvCheck{tapsLen < 1, "Invalid value", Lines::mrTapsLen}})
         : refuse(site, {ZqvCheck{!st, "Null state pointer", Lines::initNullState},
                         ZqvCheck{tapsLen < 1, "Invalid value", Lines::initTapsLen}});
  if (refusal) return refusal.result;
  // Initialising again releases the earlier buffers rather than losing them.
  if (initialised(st)) releaseRecord(st);
  const bool multi = U > 1 || D > 1;
  const int64_t padded = multi ? U * ceilDiv(tapsLen, U) : tapsLen;
  const int64_t dlyLen = multi ? ceilDiv(tapsLen, U) : tapsLen - 1;
  const int64_t blockLen = multi ? D * ceilDiv(dlyLen, D) : tapsLen;
  *st = ZqvFirState{};
  st->upFactor = U;
  st->upPhase = upPhase;
  st->downFactor = D;
  st->downPhase = downPhase;
  st->isMultiRate = multi ? 1 : 0;
  st->self = st;
  st->givenTapsLen = tapsLen;
  st->memberTag = kTag;
  const int64_t total = dlyLen + blockLen;
  if (multi) st->phaseTable = static_cast<ZqvFirPhase*>(firAlloc(U, sizeof(ZqvFirPhase)));
  st->taps = firAlloc(padded <= std::numeric_limits<int32_t>::max() ? padded : -1, sizeof(float));
  st->buffer = firAlloc(total <= std::numeric_limits<int32_t>::max() ? total : -1, sizeof(int16_t));
  if (!st->taps || !st->buffer || (multi && !st->phaseTable)) {
    releaseRecord(st);
    return zqvError(ZQV_OUT_OF_MEMORY, func, "Allocation failure", kModule,
                    mr ? Lines::mrMemory : Lines::initMemory);
  }
  st->tapsLen = static_cast<int32_t>(padded);
  st->dlyLen = static_cast<int32_t>(dlyLen);
  st->blockLen = static_cast<int32_t>(blockLen);
  if (multi) buildPhaseTable(st->phaseTable, tapsLen, dlyLen, U, upPhase, D, downPhase);
  storeAllTaps(*st, taps);
  storeDelayW(*st, dlyVals);
  return 0;
}

int16_t filterOne(ZqvFirState* st, int16_t sample, int32_t scaleMode, int32_t* scaleFactor) noexcept {
  // Any mode with the automatic bit writes the chosen shift through the pointer.
  if (refuse({"zqvwFir", kModule},
             {ZqvCheck{!st, "Null state pointer", Lines::firNullState},
              ZqvCheck{!ownRecord(st), "Must have been initialized", Lines::firUninit},
              ZqvCheck{(scaleMode & ZQV_AUTO_SCALE) && !scaleFactor, "Null scale factor pointer",
                       Lines::firScaleFactor},
              // The single-sample form has no rate conversion.
              ZqvCheck{st && st->isMultiRate, "Invalid value", Lines::firMultiRate}}))
    return 0;
  int32_t mode = 0, shift = 0;
  zqvNormScaleMode(&mode, &shift, scaleMode, scaleFactor, st->extraShift);
  int16_t* window = samples(*st) + st->cursorIndex;
  window[st->dlyLen] = sample;
  const int32_t r = windowSum(ownTaps(*st), window, st->tapsLen);
  int16_t out;
  if (mode == 4) {
    const int32_t s = fits16(r) ? 0 : floorLog2(r) - 14;
    *scaleFactor = s;
    out = static_cast<int16_t>(r >> s);
  } else {
    out = narrow(r, mode, shift);
  }
  if (++st->cursorIndex == st->blockLen) {
    copyElems(samples(*st), samples(*st) + st->blockLen, st->dlyLen);
    st->cursorIndex = 0;
  }
  return out;
}

// Single rate: outputs from the buffer windows, then straight from the source.
void blockSingle(ZqvFirState& st, const int16_t* src, Sink& sink, int64_t n) noexcept {
  int16_t* buf = samples(st);
  const float* taps = ownTaps(st);
  const int64_t L = st.dlyLen, m = std::min<int64_t>(n, st.blockLen);
  copyElems(buf + L, src, m);
  sink.startPart(0);
  for (int64_t o = 0; o < m; ++o) sink.put(o, windowSum(taps, buf + o, st.tapsLen));
  if (n > m) {
    sink.startPart(m);
    for (int64_t o = m; o < n; ++o) sink.put(o, windowSum(taps, src + (o - L), st.tapsLen));
  }
}

// Multi-rate, in time order: iteration by iteration, phase by phase.
void blockMulti(ZqvFirState& st, const int16_t* src, Sink& sink, int64_t n) noexcept {
  int16_t* buf = samples(st);
  const float* taps = ownTaps(st);
  const int64_t L = st.dlyLen, U = st.upFactor, D = st.downFactor;
  const int64_t m = std::min<int64_t>(n * D, st.blockLen), head = m / D;
  copyElems(buf + L, src, m);
  sink.startPart(0);
  for (int64_t t = 0; t < n; ++t) {
    if (t == head) sink.startPart(t * U);
    for (int64_t p = 0; p < U; ++p) {
      const ZqvFirPhase& e = st.phaseTable[p];
      const int64_t at = e.start + t * D;
      const int16_t* window = t < head ? buf + at : src + (at - L);
      sink.put(t * U + p, windowSum(taps + e.tapPos, window, e.tapsLen));
    }
  }
}

int32_t filterBlock(ZqvFirState* st, const int16_t* src, int16_t* dst, int32_t numIters, int32_t scaleMode,
                    int32_t* scaleFactor) noexcept {
  if (auto r = refuse({"zqvwbFir", kModule},
                      {ZqvCheck{!st, "Null state pointer", Lines::blockNullState},
                       ZqvCheck{!ownRecord(st), "Must have been initialized", Lines::blockUninit},
                       ZqvCheck{!src, "Null buffer pointer", Lines::blockSrc},
                       ZqvCheck{!dst, "Null buffer pointer", Lines::blockDst},
                       ZqvCheck{numIters < 1, "Invalid value", Lines::blockNumIters},
                       ZqvCheck{(scaleMode & ZQV_AUTO_SCALE) && !scaleFactor, "Null scale factor pointer",
                                Lines::blockScaleFactor}}))
    return r.result;
  int32_t mode = 0, shift = 0;
  zqvNormScaleMode(&mode, &shift, scaleMode, scaleFactor, st->extraShift);
  int16_t* buf = samples(*st);
  const int64_t L = st->dlyLen;
  if (st->cursorIndex != 0) {
    copyElems(buf, buf + st->cursorIndex, L);
    st->cursorIndex = 0;
  }
  // The two rules of raising the automatic shift differ only for negative
  // powers of two below -32768.
  Sink sink(dst, mode, shift, !st->isMultiRate);
  const int64_t n = numIters, nIn = n * st->downFactor;
  if (st->isMultiRate) blockMulti(*st, src, sink, n);
  else blockSingle(*st, src, sink, n);
  const int64_t m = std::min<int64_t>(nIn, st->blockLen);
  if (L > m) copyElems(buf, buf + m, L);
  else copyElems(buf, src + nIn - L, L);
  if (mode != 4) return scaleMode;
  const int64_t chosen = sink.finish() - st->extraShift;
  *scaleFactor = static_cast<int32_t>(chosen);
  return static_cast<int32_t>(chosen);
}

}  // namespace

ZQVAPI int32_t zqvwFirInit(const float* taps, int32_t tapsLen, const int16_t* dlyVals, ZqvFirState* state) noexcept {
  return initRecord("zqvwFirInit", taps, tapsLen, dlyVals, 1, 0, 1, 0, state, false);
}

ZQVAPI int32_t zqvwFirInitMr(const float* taps, int32_t tapsLen, const int16_t* dlyVals, int32_t upFactor,
                             int32_t upPhase, int32_t downFactor, int32_t downPhase, ZqvFirState* state) noexcept {
  return initRecord("zqvwFirInitMr", taps, tapsLen, dlyVals, upFactor, upPhase, downFactor, downPhase, state, true);
}

ZQVAPI void zqvwFirSetTaps(const float* taps, ZqvFirState* state) noexcept {
  if (refuse({"zqvwFirSetTaps", kModule},
             {ZqvCheck{!state, "Null state pointer", Lines::setTapsNullState},
              ZqvCheck{!ownRecord(state), "Must have been initialized", Lines::setTapsUninit}}))
    return;
  storeAllTaps(*state, taps);
}

ZQVAPI int32_t zqvwFirGetTaps(ZqvFirState* state, float* taps) noexcept {
  if (auto r = refuse({"zqvwFirGetTaps", kModule},
                      {ZqvCheck{!state, "Null state pointer", Lines::getTapsNullState},
                       ZqvCheck{!ownRecord(state), "Must have been initialized", Lines::getTapsUninit},
                       ZqvCheck{!taps, "Null buffer pointer", Lines::getTapsBuffer}}))
    return r.result;
  loadTaps(ownTaps(*state), taps, state->givenTapsLen, state->upFactor, state->isMultiRate);
  return state->givenTapsLen;
}

ZQVAPI void zqvwFirSetDlyl(const int16_t* dlyVals, ZqvFirState* state) noexcept {
  if (refuse({"zqvwFirSetDlyl", kModule},
             {ZqvCheck{!state, "Null state pointer", Lines::setDlylNullState},
              ZqvCheck{!ownRecord(state), "Must have been initialized", Lines::setDlylUninit}}))
    return;
  storeDelayW(*state, dlyVals);
}

ZQVAPI int32_t zqvwFirGetDlyl(ZqvFirState* state, int16_t* dlyVals) noexcept {
  if (auto r = refuse({"zqvwFirGetDlyl", kModule},
                      {ZqvCheck{!state, "Null state pointer", Lines::getDlylNullState},
                       ZqvCheck{!ownRecord(state), "Must have been initialized", Lines::getDlylUninit},
                       ZqvCheck{!dlyVals, "Null buffer pointer", Lines::getDlylBuffer}}))
    return r.result;
  copyElems(dlyVals, samples(*state) + state->cursorIndex, state->dlyLen);
  return state->dlyLen;
}

ZQVAPI int16_t zqvwFir(ZqvFirState* state, int16_t sample, int32_t scaleMode, int32_t* scaleFactor) noexcept {
  return filterOne(state, sample, scaleMode, scaleFactor);
}

ZQVAPI int32_t zqvwbFir(ZqvFirState* state, const int16_t* src, int16_t* dst, int32_t numIters, int32_t scaleMode,
                        int32_t* scaleFactor) noexcept {
  return filterBlock(state, src, dst, numIters, scaleMode, scaleFactor);
}
