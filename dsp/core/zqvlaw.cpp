// A-law and mu-law companding: linear samples (16-bit, 32-bit, float,
// double) to 8-bit codes and back, and codes of one law to the other.
// Mu-law codes are the standard bytes; A-law codes are the standard bytes
// without the alternate-bit inversion (standard byte XOR 0x55).
#include <array>
#include <cmath>
#include <cstdint>
#include <type_traits>

#include "core/zqvframe.h"

namespace {

constexpr const char* kModule = "zqvlaw";

// Segment s covers magnitudes above entry s-1 up to entry s.
constexpr int32_t kALawSegmentEnds[8] = {255, 511, 1023, 2047, 4095, 8191, 16383, 32767};
constexpr int32_t kALawSegmentShifts[8] = {4, 4, 5, 6, 7, 8, 9, 10};
constexpr int32_t kMuLawSegmentLimits[8] = {124, 380, 892, 1916, 3964, 8060, 16252, 32636};

constexpr std::array<int16_t, 256> kALawDecode = [] {
  std::array<int16_t, 256> t{};
  for (int c = 0; c < 256; ++c) {
    const int step = (c & 15) * 16, seg = (c >> 4) & 7;
    const int mag = seg == 0 ? step + 8 : (step + 264) << (seg - 1);
    t[c] = static_cast<int16_t>((c & 0x80) ? mag : -mag);
  }
  return t;
}();

constexpr std::array<int16_t, 256> kMuLawDecode = [] {
  std::array<int16_t, 256> t{};
  for (int c = 0; c < 256; ++c) {
    const int u = ~c & 0xFF;
    const int v = ((u & 15) * 8 + 132) << ((u >> 4) & 7);
    t[c] = static_cast<int16_t>((u & 0x80) ? 132 - v : v - 132);
  }
  return t;
}();

// The translation tables of the companding standard, in its own numbering:
// mu-law output values 0..127 and A-law output values 1..128 by magnitude.
constexpr uint8_t kMuToANumber[128] = {
    1,   1,   2,   2,   3,   3,   4,   4,   5,   5,   6,   6,   7,   7,   8,   8,
    9,   10,  11,  12,  13,  14,  15,  16,  17,  18,  19,  20,  21,  22,  23,  24,
    25,  27,  29,  31,  33,  34,  35,  36,  37,  38,  39,  40,  41,  42,  43,  44,
    46,  48,  49,  50,  51,  52,  53,  54,  55,  56,  57,  58,  59,  60,  61,  62,
    64,  65,  66,  67,  68,  69,  70,  71,  72,  73,  74,  75,  76,  77,  78,  79,
    80,  82,  83,  84,  85,  86,  87,  88,  89,  90,  91,  92,  93,  94,  95,  96,
    97,  98,  99,  100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111, 112,
    113, 114, 115, 116, 117, 118, 119, 120, 121, 122, 123, 124, 125, 126, 127, 128};
constexpr uint8_t kAToMuNumber[128] = {
    1,   3,   5,   7,   9,   11,  13,  15,  16,  17,  18,  19,  20,  21,  22,  23,
    24,  25,  26,  27,  28,  29,  30,  31,  32,  32,  33,  33,  34,  34,  35,  35,
    36,  37,  38,  39,  40,  41,  42,  43,  44,  45,  46,  47,  48,  48,  49,  49,
    50,  51,  52,  53,  54,  55,  56,  57,  58,  59,  60,  61,  62,  63,  64,  64,
    65,  66,  67,  68,  69,  70,  71,  72,  73,  74,  75,  76,  77,  78,  79,  80,
    80,  81,  82,  83,  84,  85,  86,  87,  88,  89,  90,  91,  92,  93,  94,  95,
    96,  97,  98,  99,  100, 101, 102, 103, 104, 105, 106, 107, 108, 109, 110, 111,
    112, 113, 114, 115, 116, 117, 118, 119, 120, 121, 122, 123, 124, 125, 126, 127};

// A mu-law byte holds its value number inverted (0xFF is +0, 0x80 the largest
// positive value); an A-law code holds number - 1 with the sign in bit 7.
constexpr std::array<uint8_t, 256> kMuLawToALaw = [] {
  std::array<uint8_t, 256> t{};
  for (int c = 0; c < 256; ++c) t[c] = static_cast<uint8_t>((c & 0x80) | (kMuToANumber[~c & 0x7F] - 1));
  return t;
}();

constexpr std::array<uint8_t, 256> kALawToMuLaw = [] {
  std::array<uint8_t, 256> t{};
  for (int c = 0; c < 256; ++c) t[c] = static_cast<uint8_t>((c & 0x80) | (0x7F - kAToMuNumber[c & 0x7F]));
  return t;
}();

// ---- Encoding of a magnitude 0..32767 and a sign.

inline uint8_t aLawCode(int32_t m, bool negative) noexcept {
  int32_t s = 0;
  while (m > kALawSegmentEnds[s]) ++s;
  return static_cast<uint8_t>((negative ? 0 : 0x80) | (s << 4) | ((m >> kALawSegmentShifts[s]) & 15));
}

inline uint8_t muLawCode(int32_t m, bool negative) noexcept {
  int32_t s = 0;
  while (m > kMuLawSegmentLimits[s]) ++s;
  return static_cast<uint8_t>((negative ? 0 : 0x80) | ((7 - s) << 4) |
                              ((kMuLawSegmentLimits[s] - m) >> (s + 3)));
}

// Each law's sample preparation: a code decided at once for values beyond the
// range, else the magnitude and sign. Zero counts as positive.
struct ALaw {
  static uint8_t encode(int16_t x) noexcept {
    if (x <= -32767) return 0x7F;
    return x < 0 ? aLawCode(-x, true) : aLawCode(x, false);
  }
  static uint8_t encode(int32_t x) noexcept {
    if (x >= 2147483647) return 0xFF;
    if (x <= -2147483647) return 0x7F;
    return x < 0 ? aLawCode((-x) >> 16, true) : aLawCode(x >> 16, false);
  }
  template <class F>
  static uint8_t encode(F x) noexcept {
    const double y = static_cast<double>(x) * 32768.0;
    if (std::isnan(y)) return 0x80;  // a NaN has no magnitude: code it as zero
    if (std::fabs(y) >= 32767.0) return y > 0 ? 0xFF : 0x7F;
    const auto v = static_cast<int32_t>(y);  // |y| < 32767: the cast truncates safely
    return v < 0 ? aLawCode(-v, true) : aLawCode(v, false);
  }
  static int16_t decode(uint8_t c) noexcept { return kALawDecode[c]; }
};

struct MuLaw {
  static uint8_t encode(int16_t x) noexcept {
    if (x <= -32636) return 0x00;
    if (x >= 32636) return 0x80;
    return x < 0 ? muLawCode(-x, true) : muLawCode(x, false);
  }
  static uint8_t encode(int32_t x) noexcept {
    if (x >= 2138832896) return 0x80;
    if (x <= -2138832896) return 0x00;
    return x < 0 ? muLawCode((-x) >> 16, true) : muLawCode(x >> 16, false);
  }
  template <class F>
  static uint8_t encode(F x) noexcept {
    const double y = static_cast<double>(x) * 32768.0;
    if (std::isnan(y)) return 0xFF;
    if (std::fabs(y) >= 32635.0) return y > 0 ? 0x80 : 0x00;
    const auto v = static_cast<int32_t>(y);
    return v < 0 ? muLawCode(-v, true) : muLawCode(v, false);
  }
  static int16_t decode(uint8_t c) noexcept { return kMuLawDecode[c]; }
};

bool rejected(const char* func, const void* src, const void* dst, int32_t len) noexcept {
  return zqvCheckAll({func, kModule}, {ZQV_CHECK(len <= 0, "len<=0"), ZQV_CHECK(!src, "src==0"),
                                       ZQV_CHECK(!dst, "dst==0")}) ||
         len < 1;
}

template <class Law, class T>
void linToLaw(const char* func, const T* src, uint8_t* dst, int32_t len) noexcept {
  if (rejected(func, src, dst, len)) return;
  for (int64_t i = 0; i < len; ++i) dst[i] = Law::encode(src[i]);
}

template <class Law, class T>
void lawToLin(const char* func, const uint8_t* src, T* dst, int32_t len) noexcept {
  if (rejected(func, src, dst, len)) return;
  for (int64_t i = 0; i < len; ++i) {
    const int16_t v = Law::decode(src[i]);
    if constexpr (sizeof(T) == 2) dst[i] = v;
    else if constexpr (std::is_integral_v<T>) dst[i] = static_cast<T>(int32_t{v} * 65536);
    else dst[i] = static_cast<T>(static_cast<double>(v) * 3.0517578125e-05);
  }
}

void translate(const char* func, const std::array<uint8_t, 256>& table, const uint8_t* src, uint8_t* dst,
               int32_t len) noexcept {
  if (rejected(func, src, dst, len)) return;
  for (int64_t i = 0; i < len; ++i) dst[i] = table[src[i]];
}

}  // namespace

ZQVAPI void zqvwbLinToALaw(const int16_t* src, uint8_t* dst, int32_t len) noexcept { linToLaw<ALaw>("zqvwbLinToALaw", src, dst, len); }
ZQVAPI void zqvwbLinToMuLaw(const int16_t* src, uint8_t* dst, int32_t len) noexcept { linToLaw<MuLaw>("zqvwbLinToMuLaw", src, dst, len); }
ZQVAPI void zqvibLinToALaw(const int32_t* src, uint8_t* dst, int32_t len) noexcept { linToLaw<ALaw>("zqvibLinToALaw", src, dst, len); }
ZQVAPI void zqvibLinToMuLaw(const int32_t* src, uint8_t* dst, int32_t len) noexcept { linToLaw<MuLaw>("zqvibLinToMuLaw", src, dst, len); }
ZQVAPI void zqvsbLinToALaw(const float* src, uint8_t* dst, int32_t len) noexcept { linToLaw<ALaw>("zqvsbLinToALaw", src, dst, len); }
ZQVAPI void zqvsbLinToMuLaw(const float* src, uint8_t* dst, int32_t len) noexcept { linToLaw<MuLaw>("zqvsbLinToMuLaw", src, dst, len); }
ZQVAPI void zqvdbLinToALaw(const double* src, uint8_t* dst, int32_t len) noexcept { linToLaw<ALaw>("zqvdbLinToALaw", src, dst, len); }
ZQVAPI void zqvdbLinToMuLaw(const double* src, uint8_t* dst, int32_t len) noexcept { linToLaw<MuLaw>("zqvdbLinToMuLaw", src, dst, len); }

ZQVAPI void zqvwbALawToLin(const uint8_t* src, int16_t* dst, int32_t len) noexcept { lawToLin<ALaw>("zqvwbALawToLin", src, dst, len); }
ZQVAPI void zqvwbMuLawToLin(const uint8_t* src, int16_t* dst, int32_t len) noexcept { lawToLin<MuLaw>("zqvwbMuLawToLin", src, dst, len); }
ZQVAPI void zqvibALawToLin(const uint8_t* src, int32_t* dst, int32_t len) noexcept { lawToLin<ALaw>("zqvibALawToLin", src, dst, len); }
ZQVAPI void zqvibMuLawToLin(const uint8_t* src, int32_t* dst, int32_t len) noexcept { lawToLin<MuLaw>("zqvibMuLawToLin", src, dst, len); }
ZQVAPI void zqvsbALawToLin(const uint8_t* src, float* dst, int32_t len) noexcept { lawToLin<ALaw>("zqvsbALawToLin", src, dst, len); }
ZQVAPI void zqvsbMuLawToLin(const uint8_t* src, float* dst, int32_t len) noexcept { lawToLin<MuLaw>("zqvsbMuLawToLin", src, dst, len); }
ZQVAPI void zqvdbALawToLin(const uint8_t* src, double* dst, int32_t len) noexcept { lawToLin<ALaw>("zqvdbALawToLin", src, dst, len); }
ZQVAPI void zqvdbMuLawToLin(const uint8_t* src, double* dst, int32_t len) noexcept { lawToLin<MuLaw>("zqvdbMuLawToLin", src, dst, len); }

ZQVAPI void zqvMuLawToALaw(const uint8_t* src, uint8_t* dst, int32_t len) noexcept { translate("zqvMuLawToALaw", kMuLawToALaw, src, dst, len); }
ZQVAPI void zqvALawToMuLaw(const uint8_t* src, uint8_t* dst, int32_t len) noexcept { translate("zqvALawToMuLaw", kALawToMuLaw, src, dst, len); }
