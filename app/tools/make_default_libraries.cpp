// Writes the starter libraries the program needs beside it on a first start:
// kalvora.dap (wave presets), kalvora.dav (volume envelopes) and kalvora.dam
// (macros, empty). Usage: make_default_libraries <folder>
// A file that exists already is left alone: it may hold the user's own
// presets, envelopes and macros, and the build runs this after every change.
#include <cmath>
#include <cstdio>
#include <exception>
#include <filesystem>
#include <numbers>
#include <string>
#include <vector>

#include "formats/LibraryFiles.h"

namespace {

// Wave values: 75 is the zero line, 1 and 149 the two extremes used here.
std::uint8_t Level(double x) {  // x in -1..1
  long v = std::lround(75.0 + 74.0 * x);
  return static_cast<std::uint8_t>(v < 0 ? 0 : v > 149 ? 149 : v);
}

TWavePreset MakePreset(const char* name, double (*shape)(int)) {
  TWavePreset p;
  p.Name = name;
  for (int i = 0; i < TWavePreset::kSamples; ++i) p.Data[i] = Level(shape(i));
  return p;
}

TVolumeEnvelope MakeEnvelope(const char* name, std::vector<std::pair<int, int>> points) {
  TVolumeEnvelope e;
  e.Name = name;
  e.Count = static_cast<std::uint8_t>(points.size());
  for (size_t i = 0; i < points.size(); ++i) {
    e.X[i] = static_cast<std::uint8_t>(points[i].first);
    e.Y[i] = static_cast<std::uint8_t>(points[i].second);
  }
  return e;
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: %s <folder>\n", argv[0]);
    return 2;
  }
  const std::filesystem::path folder = argv[1];
  constexpr double n = TWavePreset::kSamples;

  TWavePresetTable presets;
  presets.PushBack(MakePreset("Sine", [](int i) { return std::sin(2 * std::numbers::pi * i / n); }));
  presets.PushBack(MakePreset("Sawtooth", [](int i) { return -1.0 + 2.0 * i / (n - 1); }));
  presets.PushBack(MakePreset("Square", [](int i) { return i < n / 2 ? 1.0 : -1.0; }));
  presets.PushBack(MakePreset("Triangle", [](int i) {
    double t = i / n;  // 0 -> 1 at a quarter, -1 at three quarters, back to 0
    return t < 0.25 ? 4 * t : t < 0.75 ? 2 - 4 * t : 4 * t - 4;
  }));
  presets.PushBack(MakePreset("Noise", [](int i) {
    // A fixed pseudo-random cycle, the same in every build.
    std::uint32_t x = 2463534242u + static_cast<std::uint32_t>(i) * 2654435761u;
    x ^= x << 13, x ^= x >> 17, x ^= x << 5;
    return (x % 1001) / 500.0 - 1.0;
  }));

  TVolumeEnvelopeTable envelopes;
  envelopes.PushBack(MakeEnvelope("Full", {{0, 255}, {255, 255}}));
  envelopes.PushBack(MakeEnvelope("Decay", {{0, 255}, {255, 0}}));
  envelopes.PushBack(MakeEnvelope("Attack", {{0, 0}, {255, 255}}));
  envelopes.PushBack(MakeEnvelope("Pluck", {{0, 0}, {6, 255}, {60, 120}, {255, 0}}));
  envelopes.PushBack(MakeEnvelope("Organ", {{0, 0}, {20, 255}, {230, 255}, {255, 0}}));

  try {
    std::filesystem::create_directories(folder);
    auto missing = [&](const char* name) { return !std::filesystem::exists(folder / name); };
    if (missing("kalvora.dap")) SaveWavePresets(folder / "kalvora.dap", presets);
    if (missing("kalvora.dav")) SaveVolumeEnvelopes(folder / "kalvora.dav", envelopes);
    if (missing("kalvora.dam")) SaveMacros(folder / "kalvora.dam", {});
  } catch (const std::exception& e) {
    std::fprintf(stderr, "%s\n", e.what());
    return 1;
  }
  return 0;
}
