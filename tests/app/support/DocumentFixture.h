// Library entries and a document with a few of them, shared by the suites
// of the document and of the tool window's services. Qt-free.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "Fakes.h"
#include "core/Document.h"

namespace kalvora::test {

inline TWavePreset Preset(std::string name, std::uint8_t fill = 75) {
  TWavePreset p;
  p.Name = std::move(name);
  p.Data.fill(fill);
  return p;
}

inline TVolumeEnvelope Envelope(std::string name, std::vector<std::pair<int, int>> points = {{0, 255}, {255, 255}}) {
  TVolumeEnvelope e;
  e.Name = std::move(name);
  e.Count = static_cast<std::uint8_t>(points.size());
  for (std::size_t i = 0; i < points.size(); ++i) {
    e.X[i] = static_cast<std::uint8_t>(points[i].first);
    e.Y[i] = static_cast<std::uint8_t>(points[i].second);
  }
  return e;
}

inline std::vector<std::string> Names(const TWavePresetTable& t) {
  std::vector<std::string> names;
  for (int i = 1; i <= t.Count(); ++i) names.push_back(t[i].Name);
  return names;
}

class Document : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* n : {"Sine", "Square", "Sawtooth", "Noise"}) doc.AddWavePreset(Preset(n));
    for (const char* n : {"Full", "Decay", "Swell"}) doc.AddVolumeEnvelope(Envelope(n));
    doc.WavePresetsModified = doc.VolumeEnvelopesModified = false;
    doc.OnChanged = [this] { ++changes; };
  }

  TInstrumentDocument doc;
  FakePrompts prompts;
  int changes = 0;
};


}  // namespace kalvora::test
