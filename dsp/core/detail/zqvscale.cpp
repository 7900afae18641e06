// Narrowing of wider results to 16 bits. Conversions truncate toward zero; a
// float outside the 32-bit range (or a NaN) gives the integer indefinite
// value, whose low 16 bits are 0, as the processor's own conversion would.
#include "core/detail/zqvscale.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

constexpr int32_t kMin16 = -32768;
constexpr int32_t kMax16 = 32767;

inline int32_t magnitudeBits(float v) {
  uint32_t u;
  std::memcpy(&u, &v, sizeof u);
  return static_cast<int32_t>(u & 0x7FFFFFFFu);
}

inline int64_t absWide(int32_t x) { return x < 0 ? -static_cast<int64_t>(x) : x; }

inline int16_t low16(int64_t x) { return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(x))); }

inline int16_t clamp16(int64_t x) { return static_cast<int16_t>(std::clamp<int64_t>(x, kMin16, kMax16)); }

inline int32_t truncToI32(double v) {
  if (!(v > -2147483649.0 && v < 2147483648.0)) return INT32_MIN;
  return static_cast<int32_t>(v);
}

// Saturating truncation; a NaN goes to the end its sign bit names.
inline int16_t saturate16(double v) {
  if (std::isnan(v)) return std::signbit(v) ? kMin16 : kMax16;
  if (v < -32768.0) return kMin16;
  if (v > 32767.0) return kMax16;
  return static_cast<int16_t>(static_cast<int32_t>(v));
}

inline bool outside16(float v) { return !(v >= -32768.0f && v <= 32767.0f); }

// Shift of the automatic mode for a float vector: 0 when every element fits.
// Every element is tested, not only the one of largest magnitude, so that
// -32768 and +32768 side by side do not pass as fitting.
int32_t autoShift(const float* src, int32_t n) {
  bool fits = true;
  for (int32_t i = 0; i < n; ++i) fits &= !outside16(src[i]);
  if (fits) return 0;
  const int32_t bits = magnitudeBits(src[zqvsbMaxAbsIndex(src, n)]);
  return (bits >> 23) - 141;
}

// One element under a float mode; `scaled` with its power of two p, computed
// once per call by the caller.
inline int16_t floatToW(float v, int32_t mode, bool scaled, double p) {
  switch (mode) {
    case 2:
    case 4:
      return low16(truncToI32(scaled ? static_cast<double>(v) * p : v));
    case 3:
      return saturate16(scaled ? static_cast<float>(v * p) : v);
    case 1:
      return saturate16(v);
    default:
      return low16(truncToI32(v));
  }
}

// Whether the mode scales, and by which power of two.
inline bool modeScale(int32_t mode, const int32_t* factor, int32_t autoS, double* p) {
  int32_t shift = 0;
  if (mode == 4) shift = autoS;
  else if ((mode == 2 || mode == 3) && factor) shift = *factor;
  if (shift == 0) return false;
  *p = std::pow(2.0, -shift);
  return true;
}

}  // namespace

int32_t zqvsbMaxAbsIndex(const float* src, int32_t n) noexcept {
  if (n <= 1) return 0;
  int32_t bestIndex = 0, best = 0;
  if (n & 1) {
    bestIndex = n - 1;
    best = magnitudeBits(src[n - 1]);
  }
  for (int32_t i = 0; i + 1 < n; i += 2) {
    const int32_t a = magnitudeBits(src[i]), b = magnitudeBits(src[i + 1]);
    if (a > best) best = a, bestIndex = i;
    if (b > best) best = b, bestIndex = i + 1;
  }
  return bestIndex;
}

int32_t zqvibMaxAbsIndex(const int32_t* src, int32_t n) noexcept {
  if (n <= 1) return 0;
  int32_t bestIndex = 0;
  int64_t best = 0;
  if (n & 1) {
    bestIndex = n - 1;
    best = absWide(src[n - 1]);
  }
  for (int32_t i = 0; i + 1 < n; i += 2) {
    const int64_t a = absWide(src[i]), b = absWide(src[i + 1]);
    if (a > best) best = a, bestIndex = i;
    if (b > best) best = b, bestIndex = i + 1;
  }
  return bestIndex;
}

int32_t zqvAbsLog2(int32_t x) noexcept {
  int64_t a = absWide(x);
  int32_t log = 0;
  while (a >= 2) a >>= 1, ++log;
  return log;
}

int16_t zqviScaleToW(int32_t x, int32_t scaleMode, int32_t* scaleFactor) noexcept {
  switch (scaleMode) {
    case 4: {
      if (x >= kMin16 && x <= kMax16) {
        *scaleFactor = 0;
        return static_cast<int16_t>(x);
      }
      const int32_t s = zqvAbsLog2(x) - 14;
      *scaleFactor = s;
      return static_cast<int16_t>(x >> s);
    }
    case 2: {
      const int32_t f = scaleFactor ? *scaleFactor : 0;
      if (f > 0) return low16(x >> std::min(f, 31));
      if (f < 0) return low16(static_cast<int64_t>(x) * (int64_t{1} << std::min(-f, 15)));
      return low16(x);
    }
    case 3: {
      const int32_t f = scaleFactor ? *scaleFactor : 0;
      if (f > 0) return clamp16(x >> std::min(f, 31));
      if (f < 0) return clamp16(static_cast<int64_t>(x) * (int64_t{1} << std::min(-f, 15)));
      return clamp16(x);
    }
    case 1:
      return clamp16(x);
    default:
      return low16(x);
  }
}

void zqvibScaleToW(const int32_t* src, int16_t* dst, int32_t n, int32_t scaleMode,
                   int32_t* scaleFactor) noexcept {
  if (scaleMode == 4) {
    const int32_t value = n > 0 ? src[zqvibMaxAbsIndex(src, n)] : 0;
    // The largest magnitude alone cannot tell -32768 from +32768: test both ends.
    int32_t lo = 0, hi = 0;
    for (int32_t i = 0; i < n; ++i) lo = std::min(lo, src[i]), hi = std::max(hi, src[i]);
    if (lo >= kMin16 && hi <= kMax16) {
      for (int32_t i = 0; i < n; ++i) dst[i] = static_cast<int16_t>(src[i]);
      *scaleFactor = 0;
      return;
    }
    const int32_t s = zqvAbsLog2(value) - 14;
    for (int32_t i = 0; i < n; ++i) dst[i] = low16(src[i] >> std::min(s, 31));
    *scaleFactor = s;
    return;
  }
  int32_t factor = scaleFactor ? *scaleFactor : 0;
  int32_t* f = scaleFactor ? &factor : nullptr;
  for (int32_t i = 0; i < n; ++i) dst[i] = zqviScaleToW(src[i], scaleMode, f);
}

void zqvsbScaleToW(const float* src, int16_t* dst, int32_t n, int32_t scaleMode,
                   int32_t* scaleFactor) noexcept {
  int32_t s = 0;
  if (scaleMode == 4) {
    s = autoShift(src, n);
    *scaleFactor = s;
  }
  double p = 1.0;
  const bool scaled = modeScale(scaleMode, scaleFactor, s, &p);
  for (int32_t i = 0; i < n; ++i) dst[i] = floatToW(src[i], scaleMode, scaled, p);
}

void zqvsbrScaleToW(const float* srcA, const float* srcB, int16_t* dstA, int16_t* dstB, int32_t n,
                    int32_t scaleMode, int32_t* scaleFactor) noexcept {
  int32_t s = 0;
  if (scaleMode == 4) {
    s = std::max(autoShift(srcA, n), autoShift(srcB, n));
    *scaleFactor = s;
  }
  double p = 1.0;
  const bool scaled = modeScale(scaleMode, scaleFactor, s, &p);
  // A[i] is written before B[i]: callers may pass overlapping halves.
  for (int32_t i = 0; i < n; ++i) {
    dstA[i] = floatToW(srcA[i], scaleMode, scaled, p);
    dstB[i] = floatToW(srcB[i], scaleMode, scaled, p);
  }
}

void zqvNormScaleMode(int32_t* effectiveMode, int32_t* shift, int32_t scaleMode,
                      const int32_t* scaleFactor, int32_t extraShift) noexcept {
  const int32_t m = scaleMode & 7;
  if (m & 4) {
    *effectiveMode = 4;
    *shift = extraShift;
    return;
  }
  const int64_t s = ((scaleFactor && (m & 2)) ? int64_t{*scaleFactor} : 0) + extraShift;
  if (s == 0) {
    *effectiveMode = m & ~2;
    *shift = 0;
  } else if (s > 0) {
    *effectiveMode = m | 2;
    *shift = static_cast<int32_t>(std::min<int64_t>(s, INT32_MAX));
  } else {
    *effectiveMode = (m | 2) + 3;
    *shift = static_cast<int32_t>(std::min<int64_t>(-s, INT32_MAX));
  }
}
