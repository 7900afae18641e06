#include "WaveSynthesis.h"

#include <algorithm>

#include "core/IniFile.h"

THarmonicTables BuildHarmonicTables(const TWaveCycle& source) {
  THarmonicTables h{};
  for (int k = 1; k <= kHarmonics; ++k)
    for (int n = 0; n < kWaveSamples; ++n) h[k - 1][n] = source[(k * n) % kWaveSamples];
  return h;
}

TWaveCycle ComputeAdditiveWave(const THarmonicTables& h, const TSliderPositions& p, bool maximize) {
  std::array<float, kWaveSamples> v{};
  for (int n = 0; n < kWaveSamples; ++n) {
    float sum = 0.0f;
    for (int k = 0; k < kHarmonics; ++k) {
      const float term = static_cast<float>((kSliderMax - p[k]) * h[k][n] * 0.01L);
      sum = static_cast<float>(static_cast<long double>(sum) + term);
    }
    v[n] = sum;
  }
  const float lo = std::min(256.0f, *std::min_element(v.begin(), v.end()));
  const float hi = std::max(0.0f, *std::max_element(v.begin(), v.end()));
  TWaveCycle r{};
  for (int n = 0; n < kWaveSamples; ++n) {
    long double x = 0.0L;
    if (!maximize) x = v[n] * 0.0625L;
    else if (hi - lo != 0.0f) x = (static_cast<long double>(v[n]) - lo) / (static_cast<long double>(hi) - lo) * 149.0L;
    r[n] = static_cast<std::uint8_t>(RoundToLevel(x, 0, 255));
  }
  return r;
}

TSliderPositions InitialSliderPositions() {
  TSliderPositions p{};
  p.fill(kSliderMax);
  p[0] = 0;
  return p;
}

int DefaultSourceIndex(const std::vector<std::string>& names) {
  for (std::size_t i = names.size(); i-- > 0;)
    if (names[i] == "Sine") return static_cast<int>(i);
  return 0;
}

std::vector<std::uint8_t> SynthesisPlayBuffer(const TWaveCycle& result, bool autoPlay) {
  const int repeats = autoPlay ? 60 : 200;
  const TWaveCycle cycle = PreviewCycle(result);
  std::vector<std::uint8_t> buffer;
  buffer.reserve(static_cast<std::size_t>(repeats) * kWaveSamples);
  for (int r = 0; r < repeats; ++r) buffer.insert(buffer.end(), cycle.begin(), cycle.end());
  return buffer;
}

std::string TSliderMemories::Key(int memory, int slider) {
  return "Nr " + std::to_string(memory) + "/" + std::to_string(slider);
}

void TSliderMemories::Load(const TIniFile& ini) {
  for (int m = 1; m <= kSliderMemories; ++m)
    for (int k = 1; k <= kHarmonics; ++k)
      memories_[m - 1][k - 1] = static_cast<std::uint8_t>(std::clamp(ini.ReadInteger(kSection, Key(m, k), 0), 0, kSliderMax));
}

void TSliderMemories::Save(TIniFile& ini) const {
  for (int m = 1; m <= kSliderMemories; ++m)
    for (int k = 1; k <= kHarmonics; ++k) ini.WriteInteger(kSection, Key(m, k), memories_[m - 1][k - 1]);
}
