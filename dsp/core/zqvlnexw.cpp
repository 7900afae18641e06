// Logarithm and exponential of 16-bit vectors, on integers only:
// floor(ln x) by comparison with the table of floor(e^k), and floor(e^x)
// from that table, narrowed to 16 bits by the caller's scale mode.
#include <cstdint>

#include "core/zqvframe.h"
#include "zqvp4.h"

namespace {

constexpr const char* kModule = "zqvlnexw";

// floor(e^k) for k = 0..21.
constexpr int32_t ExpIntTable[22] = {
    1,       2,        7,        20,        54,        148,       403,      1096,
    2980,    8103,     22026,    59874,     162754,    442413,    1202604,  3269017,
    8886110, 24154952, 65659969, 178482300, 485165195, 1318815734};

// The largest exponential result kept without saturation, and the target of
// the automatic shift.
constexpr int32_t kExpLimit = ExpIntTable[10];

// The number of table entries 1..10 below x: floor(ln x) for x >= 1, 0 below.
inline int16_t lnWord(int16_t x) noexcept {
  const int32_t v = x;
  int32_t r = 0;
  for (int k = 1; k <= 10; ++k) r += v > ExpIntTable[k];
  return int16_t(r);
}

void lnWords(const int16_t* src, int16_t* dst, int64_t n) noexcept {
  for (int64_t i = 0; i < n; ++i) dst[i] = lnWord(src[i]);
}

inline int32_t expValue(int16_t x) noexcept {
  return x < 0 ? 0 : ExpIntTable[x > 21 ? 21 : x];
}

inline int16_t lowWord(int32_t v) noexcept { return int16_t(uint16_t(uint32_t(v))); }

// Automatic shift: results up to e^10 are stored as they are until the first
// larger exponent; from there the smallest shift that brings the largest
// remaining result to at most the limit is applied to the whole vector.
void expWordsAuto(const int16_t* src, int16_t* dst, int64_t n, int32_t* scaleFactor) noexcept {
  int64_t p = 0;
  for (; p < n && src[p] <= 10; ++p) dst[p] = int16_t(expValue(src[p]));
  if (p == n) {
    *scaleFactor = 0;
    return;
  }
  int32_t largest = 11;
  for (int64_t i = p; i < n; ++i) {
    const int32_t x = src[i] > 21 ? 21 : src[i];
    largest = x > largest ? x : largest;
  }
  int32_t s = 1;
  while ((ExpIntTable[largest] >> s) > kExpLimit) ++s;
  for (int64_t i = p; i < n; ++i) dst[i] = int16_t(expValue(src[i]) >> s);
  for (int64_t i = 0; i < p; ++i) dst[i] = int16_t(dst[i] >> s);
  *scaleFactor = s;
}

void expWords(const int16_t* src, int16_t* dst, int64_t n, int32_t scaleMode,
              int32_t* scaleFactor) noexcept {
  if (scaleMode & ZQV_AUTO_SCALE) {
    expWordsAuto(src, dst, n, scaleFactor);
    return;
  }
  const int32_t f = ((scaleMode & ZQV_FIXED_SCALE) && scaleFactor) ? *scaleFactor : 0;
  // Shift counts beyond the word width are clamped (no defined meaning).
  const int32_t right = f > 0 ? (f > 31 ? 31 : f) : 0;
  const int32_t left = f < 0 ? (f < -31 ? 31 : -f) : 0;
  const bool saturate = (scaleMode & ZQV_SATURATE) != 0;
  for (int64_t i = 0; i < n; ++i) {
    int32_t v = expValue(src[i]) >> right;
    v = int32_t(uint32_t(v) << left);
    dst[i] = (saturate && v > kExpLimit) ? int16_t(32767) : lowWord(v);
  }
}

bool autoWithoutFactor(int32_t scaleMode, const int32_t* scaleFactor) noexcept {
  return (scaleMode & ZQV_AUTO_SCALE) && scaleFactor == nullptr;
}

}  // namespace

// vec (replaced by floor(ln x)), len elements.
ZQVAPI void zqvwbLn1(int16_t* vec, int32_t len) noexcept {
  if (zqvCheckAll({"zqvwbLn1", kModule},
                  {ZQV_CHECK(len <= 0, "Len<=0"), ZQV_CHECK(vec == nullptr, "Vector==0")}))
    return;
  lnWords(vec, vec, len);
}

// src, dst (may equal src), len elements.
ZQVAPI void zqvwbLn2(const int16_t* src, int16_t* dst, int32_t len) noexcept {
  if (zqvCheckAll({"zqvwbLn2", kModule},
                  {ZQV_CHECK(len <= 0, "Len<=0"), ZQV_CHECK(src == nullptr, "Vector1==0"),
                   ZQV_CHECK(dst == nullptr, "Vector2==0")}))
    return;
  lnWords(src, dst, len);
}

// vec (replaced by floor(e^x)), len elements, scale mode bits, scale factor
// (the shift to apply, or the shift chosen in automatic mode).
ZQVAPI void zqvwbExp1(int16_t* vec, int32_t len, int32_t scaleMode,
                      int32_t* scaleFactor) noexcept {
  if (zqvCheckAll({"zqvwbExp1", kModule},
                  {ZQV_CHECK(len <= 0, "len<=0"), ZQV_CHECK(vec == nullptr, "vec==0"),
                   ZQV_CHECK(autoWithoutFactor(scaleMode, scaleFactor),
                             "ZQV_AUTO_SCALE and scaleFactor==NULL")}))
    return;
  expWords(vec, vec, len, scaleMode, scaleFactor);
}

// src, dst (may equal src), len elements, scale mode bits, scale factor.
ZQVAPI void zqvwbExp2(const int16_t* src, int16_t* dst, int32_t len, int32_t scaleMode,
                      int32_t* scaleFactor) noexcept {
  if (zqvCheckAll({"zqvwbExp2", kModule},
                  {ZQV_CHECK(len <= 0, "len<=0"), ZQV_CHECK(src == nullptr, "src==0"),
                   ZQV_CHECK(dst == nullptr, "dst==0"),
                   ZQV_CHECK(autoWithoutFactor(scaleMode, scaleFactor),
                             "ZQV_AUTO_SCALE and scaleFactor==NULL")}))
    return;
  expWords(src, dst, len, scaleMode, scaleFactor);
}
