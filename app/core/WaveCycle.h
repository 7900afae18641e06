// One cycle of a wave preset as the editors work on it: 150 levels 0..149,
// 75 the zero line. Kept apart from the preset record so the editing code is
// plain data in, plain data out.
#pragma once

#include <array>
#include <cmath>
#include <cstdint>

constexpr int kWaveSamples = 150;
constexpr int kWaveTop = 149;
constexpr int kWaveCentre = 75;
using TWaveCycle = std::array<std::uint8_t, kWaveSamples>;

// Nearest integer with halves to even, whatever the caller's rounding mode.
inline long double RoundHalfEven(long double v) { return roundevenl(v); }

// A level rounded half to even and held to lo..hi; NaN gives lo.
inline int RoundToLevel(long double v, int lo, int hi) {
  if (!(v >= lo)) return lo;
  if (v > hi) return hi;
  return static_cast<int>(RoundHalfEven(v));
}

// The bytes a preview plays for a cycle: each level x 1.7 (0..253), so a
// full-scale cycle uses nearly the whole 8-bit range.
inline TWaveCycle PreviewCycle(const TWaveCycle& s) {
  TWaveCycle out{};
  for (int i = 0; i < kWaveSamples; ++i) out[i] = static_cast<std::uint8_t>(RoundToLevel(s[i] * 1.7L, 0, 255));
  return out;
}
