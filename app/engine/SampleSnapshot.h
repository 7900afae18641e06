// Everything the computation reads, copied when it starts: an edit made while
// it runs (the loop lets window messages through) goes to the next
// computation and cannot change tables under the running one.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/Instrument.h"
#include "core/Library.h"

class TInstrumentDocument;

namespace kalvora::engine {

struct TEffectParams {
  std::array<float, 10> EqFactors{1, 1, 1, 1, 1, 1, 1, 1, 1, 1};
  TDistortionFactors Distortion{0.001f, 1.0f, 1.0f, 1.0f};
  float Volume = 1.0f;
  TLowpassFactors Lowpass{0.0625f, 11045, 1.0f};
  int FadeIn = 0, FadeOut = 0;  // ms
};

struct TSampleSnapshot {
  std::array<TVoice, TInstrument::kVoices> Voices{};
  std::vector<std::array<std::uint8_t, TWavePreset::kSamples>> Presets;  // table entries 1..count
  std::vector<TVolumeEnvelope> Envelopes;                              // table entries 1..count
  std::array<float, 73> NoteRatio{};
  int Quality = 2;  // 0, 1, 2: 11025, 22050, 44100 samples per second
  int DetuneOctave = 0, DetuneNote = 0;
  std::string EffectOrder;
  TEffectParams Effects;
};

// The document's instrument, tables, pitch table and global settings as they are now.
TSampleSnapshot TakeSnapshot(const TInstrumentDocument& doc);

}  // namespace kalvora::engine
