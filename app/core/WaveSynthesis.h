// Additive wave synthesis: the first 16 harmonics of a source cycle (the
// cycle read k times faster), mixed by 16 sliders into a new cycle; the six
// slider memories of the settings file; the looped preview's buffer.
// Qt-free.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "WaveCycle.h"

class TIniFile;

constexpr int kHarmonics = 16;
constexpr int kSliderMax = 100;  // a slider at position p gives the harmonic (100 - p) %
constexpr int kSliderMemories = 6;

// Row k - 1 holds harmonic k: h[k][n] = src[(k x n) mod 150].
using THarmonicTables = std::array<TWaveCycle, kHarmonics>;
// Slider positions 0..100, harmonic 1 first.
using TSliderPositions = std::array<std::uint8_t, kHarmonics>;

THarmonicTables BuildHarmonicTables(const TWaveCycle& source);

// The mix: each term (100 - p) x h x 0.01 and the running sum kept as floats.
// With maximize the sum is stretched to 0..149 (a flat sum gives all 0),
// else it is divided by 16. Rounded half to even.
TWaveCycle ComputeAdditiveWave(const THarmonicTables& tables, const TSliderPositions& positions, bool maximize);

// Harmonic 1 at 100 %, all others at 0 %.
TSliderPositions InitialSliderPositions();

// The source chosen when the window opens: the last entry named "Sine",
// else entry 0.
int DefaultSourceIndex(const std::vector<std::string>& presetNames);

// The preview: the cycle as 8-bit bytes (x 1.7) repeated 60 times while
// Auto Play is on (short buffers, so changes are heard soon), else 200 times.
std::vector<std::uint8_t> SynthesisPlayBuffer(const TWaveCycle& result, bool autoPlay);

// The six memories of the slider positions. The button captioned n
// ("Load n"/"Save n") uses memory 7 - n.
class TSliderMemories {
 public:
  static constexpr const char* kSection = "AddSynthMem";
  // Memory 1..6 behind the button captioned 1..6.
  static int MemoryForButton(int caption) { return kSliderMemories + 1 - caption; }
  // "Nr m/k", the key of memory m, slider k (both 1-based).
  static std::string Key(int memory, int slider);

  // Missing keys read as 0; values are held to 0..100 (the slider's range).
  void Load(const TIniFile& ini);
  void Save(TIniFile& ini) const;

  const TSliderPositions& Memory(int memory) const { return memories_.at(memory - 1); }
  void Store(int memory, const TSliderPositions& positions) { memories_.at(memory - 1) = positions; }

 private:
  std::array<TSliderPositions, kSliderMemories> memories_{};
};
