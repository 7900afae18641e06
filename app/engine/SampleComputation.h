// The sample computation: every active voice rendered sample by sample and
// averaged, the effect chain, and the 16-bit result.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "engine/Noise.h"
#include "engine/SampleSnapshot.h"

namespace kalvora::engine {

struct TComputeHooks {
  std::function<void(const std::string&)> ShowStatusText;  // the status line
  std::function<void()> ProcessMessages;                    // every 1024 samples
  std::function<double()> Seconds;                          // a clock; null: the steady clock
};

struct TSampleResult {
  std::vector<std::uint8_t> Bytes;  // 16-bit signed little-endian mono
  int Rate = 44100;                 // samples per second
  std::int64_t Samples = 0;         // N; 0 when no voice is active
  double Seconds = 0;               // time the computation took
};

// The samples before the effect chain (the mix), as the work array holds
// them; exposed for tests.
std::vector<float> MixVoices(const TSampleSnapshot& s, TNoiseGenerator& noise, const TComputeHooks& hooks = {},
                             std::int64_t* samples = nullptr);

// Whether a sample of `samples` samples can be calculated with an effect
// order: its work array, and the transforms of the EQ and the lowpass when
// they run, must be within what the computation and the signal library hold.
bool SampleLengthFits(std::int64_t samples, std::string_view effectOrder);

// Throws std::runtime_error with kNotEnoughMemory when the memory for the
// sample cannot be had, and with kSampleTooLong, before anything is mixed,
// when the sample does not fit.
inline constexpr const char* kNotEnoughMemory = "There is not enough memory to calculate the sample.";
inline constexpr const char* kSampleTooLong = "The sample is too long to be calculated.";
TSampleResult CalculateSample(const TSampleSnapshot& s, TNoiseGenerator& noise, const TComputeHooks& hooks = {});

// The float work array to 16 bits: clamped to -32768..32767 (a NaN becomes
// -32768), rounded half to even.
std::int16_t ToSample16(float x);

// "HH:MM:SS" of a duration in seconds (hours may pass 99).
std::string Clock3(double seconds);

}  // namespace kalvora::engine
