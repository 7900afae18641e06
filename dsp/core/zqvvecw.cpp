// Vector statistics and element-wise square, square root and absolute value
// for 16-bit and complex 16-bit vectors (module zqvvec, like zqvvec.cpp).
// Squares are formed exactly in 32 bits and narrowed once by the scale mode.
#include <algorithm>
#include <cstdint>

#include "core/detail/zqvscale.h"
#include "core/zqvvec.h"

namespace {

constexpr const char* kModule = kZqvVecModule;

constexpr int32_t kMax16 = 32767;
constexpr int32_t kMin16 = -32768;
// Elements narrowed per call of the scaling helper.
constexpr int64_t kBlock = 256;

inline int16_t low16(int64_t x) {
  return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(x)));
}

// Automatic mode needs somewhere to put the shift. The check stops the
// routine even when a report routine has cleared the status again.
inline bool autoScaleWithoutFactor(ZqvSite site, int32_t scaleMode, const int32_t* scaleFactor) {
  if (!(scaleMode & ZQV_AUTO_SCALE)) return false;
  return zqvCheckFirst(site, {ZQV_CHECK(scaleFactor == nullptr, "scaleFactor==0")});
}

// The shift of the fixed mode: the caller's factor when the mode has the
// fixed bit and the pointer is set, else 0. Kept well inside int32 so that
// the shifts derived from it cannot overflow.
inline int32_t fixedShift(int32_t scaleMode, const int32_t* scaleFactor) {
  if (!(scaleMode & ZQV_FIXED_SCALE) || !scaleFactor) return 0;
  return std::clamp(*scaleFactor, -64, 64);
}

// ---- Statistics ------------------------------------------------------------

// Sums of 65,536 elements fit a 32-bit integer; the block sums add up in 64
// bits, so the mean stays exact for every length.
int16_t meanW(const int16_t* vec, int32_t n) {
  constexpr int64_t kSpan = 65536;
  int64_t total = 0;
  for (int64_t start = 0; start < n; start += kSpan) {
    const int64_t end = std::min<int64_t>(n, start + kSpan);
    int32_t part = 0;
    for (int64_t i = start; i < end; ++i) part += vec[i];
    total += part;
  }
  return static_cast<int16_t>(total / n);
}

template <bool Largest>
int16_t extremeW(const int16_t* vec, int32_t n) {
  int16_t best = Largest ? INT16_MIN : INT16_MAX;
  for (int64_t i = 0; i < n; ++i) best = Largest ? std::max(best, vec[i]) : std::min(best, vec[i]);
  return best;
}

// Mean square: the sum of the squares is exact in 64 bits (each square is at
// most 2^30), q is the truncated mean; a left shift truncates the exact
// m * 2^k rather than q * 2^k.
int16_t meanSquareW(ZqvSite site, const int16_t* vec, int32_t n, int32_t scaleMode,
                    int32_t* scaleFactor) {
  if (autoScaleWithoutFactor(site, scaleMode, scaleFactor)) return 0;
  uint64_t sum = 0;
  for (int64_t i = 0; i < n; ++i) sum += static_cast<uint32_t>(int32_t{vec[i]} * vec[i]);
  const int64_t total = static_cast<int64_t>(sum);
  const int64_t q = total / n;
  if (scaleMode & ZQV_AUTO_SCALE) {
    int32_t s = 0;
    while ((q >> s) > kMax16) ++s;
    *scaleFactor = s;
    return static_cast<int16_t>(q >> s);
  }
  const bool saturate = scaleMode & ZQV_SATURATE;
  const int32_t f = fixedShift(scaleMode, scaleFactor);
  if (f >= 0) {
    const int64_t r = q >> f;
    return saturate && r > kMax16 ? static_cast<int16_t>(kMax16) : low16(r);
  }
  const int32_t k = -f;
  if (saturate && q > (kMax16 >> std::min(k, 31))) return kMax16;
  const __int128 scaled = (static_cast<__int128>(total) << k) / n;
  return low16(static_cast<int64_t>(static_cast<uint64_t>(scaled)));
}

// ---- Squares ----------------------------------------------------------------

// Narrows 32-bit values by a fixed shift f (right for f > 0, left for f < 0),
// wrapping or saturating. Left shifts of 16 or more leave nothing in the low
// 16 bits when wrapping.
void narrowBlock(const int32_t* wide, int16_t* out, int64_t len, bool saturate, int32_t f) {
  if (!saturate && f <= -16) {
    std::fill(out, out + len, int16_t{0});
    return;
  }
  int32_t factor = f;
  zqvibScaleToW(wide, out, static_cast<int32_t>(len), saturate ? 3 : 2, &factor);
}

// Real squares under a fixed shift; block by block, so in place is safe.
void narrowSquares(const int16_t* src, int16_t* dst, int32_t n, bool saturate, int32_t f) {
  int32_t wide[kBlock];
  for (int64_t start = 0; start < n; start += kBlock) {
    const int64_t len = std::min<int64_t>(kBlock, n - start);
    for (int64_t j = 0; j < len; ++j) wide[j] = int32_t{src[start + j]} * src[start + j];
    narrowBlock(wide, dst + start, len, saturate, f);
  }
}

void squareW(const int16_t* src, int16_t* dst, int32_t n, int32_t scaleMode, int32_t* scaleFactor) {
  if (scaleMode & ZQV_AUTO_SCALE) {
    // The shift is fixed by the largest magnitude: squares of up to 181 fit.
    int32_t m = 0;
    for (int64_t i = 0; i < n; ++i) m = std::max(m, src[i] < 0 ? -int32_t{src[i]} : int32_t{src[i]});
    const int32_t s = m > 181 ? zqvAbsLog2(m * m) - 14 : 0;
    narrowSquares(src, dst, n, false, s);
    *scaleFactor = s;
    return;
  }
  narrowSquares(src, dst, n, scaleMode & ZQV_SATURATE, fixedShift(scaleMode, scaleFactor));
}

// Complex squares: D = re^2 - im^2 (the real part) and P = re*im, both exact
// in 32 bits. The imaginary part 2P may not fit 32 bits, so it is narrowed as
// P with one shift less.
void squareV(const ZqvCplxW* src, ZqvCplxW* dst, int32_t n, int32_t scaleMode, int32_t* scaleFactor) {
  bool saturate = scaleMode & ZQV_SATURATE;
  int32_t f;
  if (scaleMode & ZQV_AUTO_SCALE) {
    int32_t dHigh = 0, dLow = 0, pHigh = 0, pLow = 0;
    for (int64_t i = 0; i < n; ++i) {
      const int32_t re = src[i].re, im = src[i].im;
      const int32_t d = (re - im) * (re + im), p = re * im;
      dHigh = std::max(dHigh, d), dLow = std::min(dLow, d);
      pHigh = std::max(pHigh, p), pLow = std::min(pLow, p);
    }
    auto fits = [&](int32_t s) {
      return (dHigh >> s) <= kMax16 && (dLow >> s) >= kMin16 && ((2 * int64_t{pHigh}) >> s) <= kMax16 &&
             ((2 * int64_t{pLow}) >> s) >= kMin16;
    };
    f = 0;
    while (!fits(f)) ++f;
    saturate = false;
  } else {
    f = fixedShift(scaleMode, scaleFactor);
  }
  int32_t d[kBlock], p[kBlock];
  int16_t re[kBlock], im[kBlock];
  for (int64_t start = 0; start < n; start += kBlock) {
    const int64_t len = std::min<int64_t>(kBlock, n - start);
    for (int64_t j = 0; j < len; ++j) {
      const int32_t a = src[start + j].re, b = src[start + j].im;
      d[j] = (a - b) * (a + b);
      p[j] = a * b;
    }
    narrowBlock(d, re, len, saturate, f);
    narrowBlock(p, im, len, saturate, f - 1);
    for (int64_t j = 0; j < len; ++j) dst[start + j] = ZqvCplxW{re[j], im[j]};
  }
  if (scaleMode & ZQV_AUTO_SCALE) *scaleFactor = f;
}

// ---- Square roots -------------------------------------------------------------

// Blocks without a negative element are done in one straight loop; a block
// with one goes element by element and leaves the negative ones unwritten.
int64_t sqrtW(const int16_t* src, int16_t* dst, int32_t n) {
  constexpr int64_t kGroup = 64;
  int64_t negatives = 0;
  for (int64_t start = 0; start < n; start += kGroup) {
    const int64_t end = std::min<int64_t>(n, start + kGroup);
    int16_t low = 0;
    for (int64_t i = start; i < end; ++i) low = std::min(low, src[i]);
    if (low >= 0) {
      zqvIsqrt16Block(src + start, dst + start, end - start);
      continue;
    }
    for (int64_t i = start; i < end; ++i) {
      if (src[i] < 0) ++negatives;
      else dst[i] = static_cast<int16_t>(zqvIsqrt16(src[i]));
    }
  }
  return negatives;
}

// r = isqrt(re^2 + im^2) (at most 2^31, unsigned); the parts are the integer
// roots of (r + re)/2 and (r - re)/2, the second carrying the sign of im.
void sqrtV(const ZqvCplxW* src, ZqvCplxW* dst, int32_t n) {
  for (int64_t i = 0; i < n; ++i) {
    const int32_t re = src[i].re, im = src[i].im;
    const uint32_t norm = static_cast<uint32_t>(re * re) + static_cast<uint32_t>(im * im);
    const int32_t r = static_cast<int32_t>(zqvIsqrt32(norm));
    const int32_t outRe = zqvIsqrt16((r + re) >> 1);
    const int32_t outIm = zqvIsqrt16((r - re) >> 1);
    dst[i].re = static_cast<int16_t>(outRe);
    dst[i].im = static_cast<int16_t>(im < 0 ? -outIm : outIm);
  }
}

// ---- Absolute values -----------------------------------------------------------

// -32768 has no 16-bit opposite and gives 32767.
void absW(const int16_t* src, int16_t* dst, int32_t n) {
  for (int64_t i = 0; i < n; ++i) {
    const int32_t x = src[i];
    dst[i] = static_cast<int16_t>(std::min(x < 0 ? -x : x, kMax16));
  }
}

// ---- Families: checks, then the kernel ------------------------------------------

template <class T>
bool rejected(ZqvSite site, const T* vec, int32_t n) {
  return zqvVecRejected(site, vec, n);
}

template <class T>
bool rejected(ZqvSite site, const T* src, const T* dst, int32_t n) {
  return zqvVecPairRejected(site, src, dst, n);
}

void squareWChecked(ZqvSite site, const int16_t* src, int16_t* dst, int32_t n, int32_t scaleMode,
                    int32_t* scaleFactor) {
  if (autoScaleWithoutFactor(site, scaleMode, scaleFactor)) return;
  squareW(src, dst, n, scaleMode, scaleFactor);
}

void squareVChecked(ZqvSite site, const ZqvCplxW* src, ZqvCplxW* dst, int32_t n, int32_t scaleMode,
                    int32_t* scaleFactor) {
  if (autoScaleWithoutFactor(site, scaleMode, scaleFactor)) return;
  squareV(src, dst, n, scaleMode, scaleFactor);
}

void sqrtWReported(ZqvSite site, const int16_t* src, int16_t* dst, int32_t n) {
  zqvVecReportNegative(site, sqrtW(src, dst, n), __LINE__);
}

}  // namespace

// Statistics: vec, n (zqvwStdDev also scaleMode, scaleFactor).
ZQVAPI int16_t zqvwMean(const int16_t* vec, int32_t n) noexcept {
  return rejected({"zqvwMean", kModule}, vec, n) ? 0 : meanW(vec, n);
}
ZQVAPI int16_t zqvwMax(const int16_t* vec, int32_t n) noexcept {
  return rejected({"zqvwMax", kModule}, vec, n) ? 0 : extremeW<true>(vec, n);
}
ZQVAPI int16_t zqvwMin(const int16_t* vec, int32_t n) noexcept {
  return rejected({"zqvwMin", kModule}, vec, n) ? 0 : extremeW<false>(vec, n);
}
ZQVAPI int16_t zqvwStdDev(const int16_t* vec, int32_t n, int32_t scaleMode, int32_t* scaleFactor) noexcept {
  return rejected({"zqvwStdDev", kModule}, vec, n) ? 0 : meanSquareW({"zqvwStdDev", kModule}, vec, n, scaleMode, scaleFactor);
}

// Squares: vec or src, dst; n; scaleMode; scaleFactor.
ZQVAPI void zqvwbSqr1(int16_t* vec, int32_t n, int32_t scaleMode, int32_t* scaleFactor) noexcept {
  if (!rejected({"zqvwbSqr1", kModule}, vec, n)) squareWChecked({"zqvwbSqr1", kModule}, vec, vec, n, scaleMode, scaleFactor);
}
ZQVAPI void zqvwbSqr2(const int16_t* src, int16_t* dst, int32_t n, int32_t scaleMode,
                      int32_t* scaleFactor) noexcept {
  if (!rejected({"zqvwbSqr2", kModule}, src, dst, n)) squareWChecked({"zqvwbSqr2", kModule}, src, dst, n, scaleMode, scaleFactor);
}
ZQVAPI void zqvvbSqr1(ZqvCplxW* vec, int32_t n, int32_t scaleMode, int32_t* scaleFactor) noexcept {
  if (!rejected({"zqvvbSqr1", kModule}, vec, n)) squareVChecked({"zqvvbSqr1", kModule}, vec, vec, n, scaleMode, scaleFactor);
}
ZQVAPI void zqvvbSqr2(const ZqvCplxW* src, ZqvCplxW* dst, int32_t n, int32_t scaleMode,
                      int32_t* scaleFactor) noexcept {
  if (!rejected({"zqvvbSqr2", kModule}, src, dst, n)) squareVChecked({"zqvvbSqr2", kModule}, src, dst, n, scaleMode, scaleFactor);
}

// Square roots: vec, n (in place) or src, dst, n.
ZQVAPI void zqvwbSqrt1(int16_t* vec, int32_t n) noexcept {
  if (!rejected({"zqvwbSqrt1", kModule}, vec, n)) sqrtWReported({"zqvwbSqrt1", kModule}, vec, vec, n);
}
ZQVAPI void zqvwbSqrt2(const int16_t* src, int16_t* dst, int32_t n) noexcept {
  if (!rejected({"zqvwbSqrt2", kModule}, src, dst, n)) sqrtWReported({"zqvwbSqrt2", kModule}, src, dst, n);
}
ZQVAPI void zqvvbSqrt1(ZqvCplxW* vec, int32_t n) noexcept {
  if (!rejected({"zqvvbSqrt1", kModule}, vec, n)) sqrtV(vec, vec, n);
}
ZQVAPI void zqvvbSqrt2(const ZqvCplxW* src, ZqvCplxW* dst, int32_t n) noexcept {
  if (!rejected({"zqvvbSqrt2", kModule}, src, dst, n)) sqrtV(src, dst, n);
}

// Absolute values: vec, n (in place) or src, dst, n.
ZQVAPI void zqvwbAbs1(int16_t* vec, int32_t n) noexcept {
  if (!rejected({"zqvwbAbs1", kModule}, vec, n)) absW(vec, vec, n);
}
ZQVAPI void zqvwbAbs2(const int16_t* src, int16_t* dst, int32_t n) noexcept {
  if (!rejected({"zqvwbAbs2", kModule}, src, dst, n)) absW(src, dst, n);
}
