// The effect chain over the mixed sample. Each effect works in place on the
// work array: N samples, then silence up to `Length` = 2^Order (> N), then two
// more elements, so a real transform of Length points fits in place.
#pragma once

#include <cstdint>
#include <array>
#include <functional>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

#include "engine/SampleSnapshot.h"

namespace kalvora::engine {

struct TWorkArray {
  std::vector<float>& Data;  // Length + 2 elements
  std::int64_t N;            // samples
  int Order;
  std::int64_t Length;       // 2^Order
};

// A library routine reported a failure (its own report has been shown).
class ELibraryFailure : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

using TStatusText = std::function<void(const std::string&)>;

void EffectEq(TWorkArray& w, const std::array<float, 10>& gains, int quality, const TStatusText& status);
void EffectDistortion(TWorkArray& w, const TDistortionFactors& f, const TStatusText& status);
void EffectVolume(TWorkArray& w, float factor, const TStatusText& status);
void EffectLowpass(TWorkArray& w, const TLowpassFactors& f, int quality, const TStatusText& status);
void EffectMaximize(TWorkArray& w, const TStatusText& status);
void EffectFade(TWorkArray& w, int fadeInMs, int fadeOutMs, int quality, const TStatusText& status);

// Runs the effect of each letter a..f of `order` from left to right; other
// characters are skipped.
void RunEffectChain(TWorkArray& w, std::string_view order, const TEffectParams& p, int quality,
                    const TStatusText& status);

// Library calls of the effects: the thread's error status is cleared first, so
// a failure left by an earlier call does not make this one skip its work, and a
// failure of this call ends the computation instead of passing as success.
void LibraryCall(const char* what, const std::function<void()>& call);

// Forward and inverse real transform of the whole work array.
void ForwardTransform(TWorkArray& w);
void InverseTransform(TWorkArray& w);

// The largest order of the work array that the EQ and the lowpass can
// transform: the signal library must be able to hold every table of the
// inverse transform.
int LargestTransformOrder();

// Whether an effect order runs a transform (the EQ or the lowpass).
bool RunsTransform(std::string_view order);

}  // namespace kalvora::engine
