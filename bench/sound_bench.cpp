// The sample computation of a busy instrument: 5 s at 44100 Hz, all 32 voices
// active with vibrato, the voice lowpass at its widest, envelopes and noise on
// some, and all six effects. Real time is 5 s; the goal is under 250 ms.
#include <benchmark/benchmark.h>

#include <cmath>

#include "core/Document.h"
#include "engine/SampleComputation.h"

using namespace kalvora::engine;

namespace {

TSampleSnapshot BusyInstrument() {
  TInstrumentDocument doc;
  TSampleSnapshot s;
  s.NoteRatio = doc.NoteRatio;
  std::array<std::uint8_t, 150> saw{}, sine{};
  for (int i = 0; i < 150; ++i) {
    saw[i] = static_cast<std::uint8_t>(i);
    sine[i] = static_cast<std::uint8_t>(std::lround(75 + 74 * std::sin(2 * M_PI * i / 150)));
  }
  s.Presets = {saw, sine};
  TVolumeEnvelope adsr;
  adsr.Count = 4;
  const std::uint8_t xs[] = {0, 20, 180, 255}, ys[] = {0, 255, 160, 0};
  for (int i = 0; i < 4; ++i) adsr.X[i] = xs[i], adsr.Y[i] = ys[i];
  s.Envelopes = {adsr};
  for (int v = 0; v < 32; ++v) {
    TVoice& t = s.Voices[v];
    t = TVoice{};
    t.Active = true;
    t.Pitch.Note = static_cast<std::uint8_t>(20 + v);
    t.Morph.SourcePreset = 1;
    t.Morph.DestPreset = 2;
    t.Morph.NoiseSource = v % 8 == 0;
    t.Timing.Time = 5000;
    t.Vibrato.VibSpeedFrom = 20;
    t.Vibrato.VibSpeedTo = 120;
    t.Vibrato.VibDepthFrom = 2;
    t.Vibrato.VibDepthTo = 9;
    t.Lowpass = {true, 250, 250, false, true};
  }
  s.Quality = 2;
  s.EffectOrder = "abcdef";
  s.Effects.EqFactors = {1.5f, 1.2f, 1, 1, 0.8f, 1, 1, 1.3f, 1, 0.7f};
  s.Effects.Distortion = {0.5f, 0.5f, 0.7f, 0.6f};
  s.Effects.Volume = 0.9f;
  s.Effects.Lowpass = {0.25f, 6000, 2.0f};
  s.Effects.FadeIn = 50;
  s.Effects.FadeOut = 300;
  return s;
}

void BM_BusyInstrument5s(benchmark::State& state) {
  const TSampleSnapshot s = BusyInstrument();
  for (auto _ : state) {
    TLcgNoise noise(1);
    TSampleResult r = CalculateSample(s, noise);
    benchmark::DoNotOptimize(r.Bytes.data());
    if (r.Samples != 220500) state.SkipWithError("unexpected length");
  }
  state.counters["x_realtime"] = benchmark::Counter(5.0 * static_cast<double>(state.iterations()),
                                                    benchmark::Counter::kIsRate);
}
BENCHMARK(BM_BusyInstrument5s)->Unit(benchmark::kMillisecond)->UseRealTime();

}  // namespace

BENCHMARK_MAIN();
