// The sample computation against a reference written out step by step from
// the description of the computation (long double, floats where a value is
// stored, halves to even), the effects one by one against their own
// expectations, the pitch by an FFT peak, and note resampling.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdint>
#include <string>
#include <vector>

#include "core/Document.h"
#include "engine/Effects.h"
#include "engine/NoteResample.h"
#include "engine/SampleComputation.h"
#include "engine/VoiceRender.h"
#include "zqvp4.h"

using namespace kalvora::engine;

namespace {

using LD = long double;
float fl(LD x) { return static_cast<float>(x); }
long long rnd(LD x) { return static_cast<long long>(std::nearbyint(x)); }

// ---------------------------------------------------------------------------
// Reference: the mix of the computation, one plain loop per step.

struct RefLcg {
  std::uint32_t s;
  int next() {
    s = s * 1664525u + 1013904223u;
    return static_cast<int>((static_cast<std::uint64_t>(s) * 38144u) >> 32);
  }
};

std::vector<float> ReferenceMix(const TSampleSnapshot& in, std::uint32_t seed) {
  const int q = in.Quality;
  const LD R = q == 0 ? 11025 : q == 1 ? 22050 : 44100;
  struct V {
    std::vector<int> src, dst;
    std::vector<int> env;
    long long delay = 0, L = 0, total = 0, end = 0;
    float step = 0, ss = 0, sb = 0, ds = 0, db = 0, ws = 0, wb = 0;
    float ring[256] = {};
    int pos = 0;
  };
  std::vector<V> vs(32);
  long long N = 0;
  int active = 0;
  for (int v = 0; v < 32; ++v) {
    const TVoice& t = in.Voices[v];
    V& r = vs[v];
    r.delay = rnd(t.Timing.StartDelay * (q == 0 ? 11.025L : q == 1 ? 22.05L : 44.1L));
    const float D = fl(std::exp((12 * in.DetuneOctave + in.DetuneNote) * std::log(static_cast<LD>(1.0594631f))));
    r.step = fl(static_cast<LD>(fl((1 + (t.Pitch.Finetune - 50) / 1682.0L) * in.NoteRatio[t.Pitch.Note])) * D);
    if (q == 0) r.step *= 4;
    if (q == 1) r.step *= 2;
    if (!t.Active) continue;
    ++active;
    for (int which = 0; which < 2; ++which) {
      const auto& p = in.Presets[(which == 0 ? t.Morph.SourcePreset : t.Morph.DestPreset) - 1];
      auto& tab = which == 0 ? r.src : r.dst;
      for (int i = 0; i < 15000; ++i) {
        const int k = i / 100, k1 = (k + 1) % 150;
        const float f = fl((i % 100) * 0.01L);
        const LD a = p[k] * 256, b = p[k1] * 256;
        tab.push_back(static_cast<int>(rnd((b - a) * f + a)));
      }
    }
    const float C = q == 0 ? 0.0735f : q == 1 ? 0.147f : 0.294f;
    r.L = rnd(fl(t.Timing.Time * static_cast<LD>(C))) * 150;
    r.total = r.L * t.Timing.Repeats;
    r.end = r.delay + r.total;
    N = std::max(N, r.end);
    const TVolumeEnvelope& e = in.Envelopes[t.Volume.Envelope - 1];
    r.env.assign(1021, 0);
    for (int p = 1; p <= e.Count - 1; ++p) {
      const int x0 = e.X[p - 1] * 4, x1 = e.X[p] * 4, y0 = e.Y[p - 1], y1 = e.Y[p];
      if (x1 >= x0)
        for (int i = x0; i <= x1; ++i) {
          const float quotient = fl(static_cast<LD>(i - x0) / std::max(x1 - x0, 1));
          const float product = fl((y1 - y0) * static_cast<LD>(quotient));
          r.env[i] = static_cast<int>(std::trunc(y0 + static_cast<LD>(product)));
        }
    }
  }
  std::vector<float> out(static_cast<std::size_t>(N));
  for (int v = 0; v < 32; ++v) {
    const TVoice& t = in.Voices[v];
    V& r = vs[v];
    const LD V4 = 4 * R;
    auto val = [](int b, bool x) { return fl(x ? b * 100.0L : b); };
    const LD sf = val(t.Vibrato.VibSpeedFrom, t.Vibrato.VibSpeedFromX100), st = val(t.Vibrato.VibSpeedTo, t.Vibrato.VibSpeedToX100);
    const LD df = val(t.Vibrato.VibDepthFrom, t.Vibrato.VibDepthFromX100), dt = val(t.Vibrato.VibDepthTo, t.Vibrato.VibDepthToX100);
    r.ss = fl((st - sf) / (N - 1) / V4);
    r.sb = fl(sf / V4);
    r.ds = fl((dt - df) / (N - 1));
    r.db = fl(df);
    if (t.Lowpass.FilterActive) {
      r.ws = fl((static_cast<LD>(t.Lowpass.FilterTo) - t.Lowpass.FilterFrom) / (N - 1));
      r.wb = t.Lowpass.FilterFrom;
    }
  }
  RefLcg noise{seed};
  for (long long s = 1; s <= N; ++s) {
    float sum = 0;
    for (int v = 0; v < 32; ++v) {
      const TVoice& t = in.Voices[v];
      V& r = vs[v];
      if (!t.Active || !(r.delay < s && s < r.end)) continue;
      const LD d = s - r.delay;
      const float theta = fl(d * (d * r.ss + r.sb));
      const LD depth = d * r.ds + r.db;
      const float off = t.Vibrato.VibDirection ? fl((1 + std::cos(static_cast<LD>(theta))) * depth)
                                               : fl((1 - std::cos(static_cast<LD>(theta))) * depth);
      long long pos = rnd((d + off) * 100);
      if (pos < 0) pos = 0;
      if (pos > N * 100) pos = N * 100;
      const long long idx = (rnd(pos * static_cast<LD>(r.step)) + 100 * t.Morph.Phase) % 15000;
      const long long k = (pos / 100) % r.L, rep = (pos / 100) / r.L;
      const LD w = static_cast<LD>(k) / (r.L - 1);
      const LD a = (t.Morph.NoiseSource ? noise.next() : r.src[idx]) - 19200;
      const LD b = (t.Morph.NoiseDest ? noise.next() : r.dst[idx]) - 19200;
      float x = (t.Timing.RepeatMode && rep % 2 == 1) ? fl(a * w + b * (1 - w)) : fl(a * (1 - w) + b * w);
      const LD e = r.env[static_cast<int>(std::trunc((d - 1) / (r.total - 1) * 1020))];
      x = fl(e * x * t.Volume.Volume * (1.0L / 14942));
      if (t.Lowpass.FilterActive) {
        const int n = static_cast<int>(rnd(d * r.ws + r.wb));
        if (n != 0) {
          r.ring[r.pos] = x;
          r.pos = (r.pos + 1) % (n + 1);
          float S = 0;
          for (int j = 0; j <= n; ++j)
            S = fl(S + r.ring[(r.pos + j) % (n + 1)] * static_cast<LD>(fl(0.5L + static_cast<LD>(j) / (2 * n))));
          x = fl(S / static_cast<LD>(n + 1));
        }
      }
      sum = fl(static_cast<LD>(sum) + x);
    }
    out[s - 1] = static_cast<float>(rnd(sum / static_cast<LD>(active)));
  }
  return out;
}

// ---------------------------------------------------------------------------
// Instruments

std::array<std::uint8_t, 150> Saw() {
  std::array<std::uint8_t, 150> a{};
  for (int i = 0; i < 150; ++i) a[i] = static_cast<std::uint8_t>(i);
  return a;
}
std::array<std::uint8_t, 150> Sine() {
  std::array<std::uint8_t, 150> a{};
  for (int i = 0; i < 150; ++i) a[i] = static_cast<std::uint8_t>(std::lround(75 + 74 * std::sin(2 * M_PI * i / 150)));
  return a;
}
std::array<std::uint8_t, 150> Square() {
  std::array<std::uint8_t, 150> a{};
  for (int i = 0; i < 150; ++i) a[i] = i < 75 ? 149 : 0;
  return a;
}

TVolumeEnvelope Env(std::vector<std::pair<int, int>> pts) {
  TVolumeEnvelope e;
  e.Count = static_cast<std::uint8_t>(pts.size());
  for (std::size_t i = 0; i < pts.size(); ++i) {
    e.X[i] = static_cast<std::uint8_t>(pts[i].first);
    e.Y[i] = static_cast<std::uint8_t>(pts[i].second);
  }
  return e;
}

TSampleSnapshot Base(int quality = 0) {
  TInstrumentDocument doc;  // pitch tables as the program builds them
  TSampleSnapshot s;
  s.NoteRatio = doc.NoteRatio;
  s.Presets = {Saw(), Sine(), Square()};
  s.Envelopes = {Env({{0, 255}, {255, 255}}), Env({{20, 200}, {100, 40}, {180, 255}}), Env({{0, 0}, {30, 255}, {255, 0}})};
  for (TVoice& v : s.Voices) v = TVoice{};
  s.Voices[0].Active = true;
  s.Quality = quality;
  s.EffectOrder = "";
  return s;
}

struct Case {
  const char* name;
  std::function<void(TSampleSnapshot&)> edit;
};

const std::vector<Case>& Cases() {
  static const std::vector<Case> cases = {
      {"default voice", [](TSampleSnapshot&) {}},
      {"default voice 44100", [](TSampleSnapshot& s) { s.Quality = 2; s.Voices[0].Timing.Time = 300; }},
      {"phase", [](TSampleSnapshot& s) { s.Voices[0].Morph.Phase = 75; }},
      {"morph and repeats", [](TSampleSnapshot& s) {
         auto& v = s.Voices[0];
         v.Morph.DestPreset = 3; v.Timing.Time = 200; v.Timing.Repeats = 3;
       }},
      {"repeat mode", [](TSampleSnapshot& s) {
         auto& v = s.Voices[0];
         v.Morph.SourcePreset = 2; v.Morph.DestPreset = 3; v.Timing.Time = 200; v.Timing.Repeats = 3;
         v.Timing.RepeatMode = true;
       }},
      {"envelope with gaps", [](TSampleSnapshot& s) { s.Voices[0].Volume.Envelope = 2; s.Voices[0].Volume.Volume = 77; }},
      {"voice lowpass", [](TSampleSnapshot& s) {
         auto& v = s.Voices[0];
         v.Lowpass = {true, 0, 250, false, true};
         v.Morph.SourcePreset = 3; v.Morph.DestPreset = 3; v.Timing.Time = 400;
       }},
      {"voice lowpass falling", [](TSampleSnapshot& s) {
         auto& v = s.Voices[0];
         v.Lowpass = {true, 200, 3, false, true};
         v.Morph.SourcePreset = 2; v.Morph.DestPreset = 3; v.Timing.Time = 300; v.Pitch.Note = 50;
       }},
      {"vibrato", [](TSampleSnapshot& s) {
         auto& vib = s.Voices[0].Vibrato;
         vib.VibSpeedFrom = 20; vib.VibSpeedTo = 200; vib.VibDepthFrom = 3; vib.VibDepthTo = 40;
       }},
      {"vibrato x100 and direction", [](TSampleSnapshot& s) {
         auto& vib = s.Voices[0].Vibrato;
         vib.VibSpeedFrom = 2; vib.VibSpeedFromX100 = true; vib.VibSpeedTo = 250;
         vib.VibDepthFrom = 1; vib.VibDepthTo = 2; vib.VibDepthToX100 = true; vib.VibDirection = true;
       }},
      {"detune and fine-tune", [](TSampleSnapshot& s) {
         s.DetuneOctave = -1; s.DetuneNote = 5;
         s.Voices[0].Pitch = {40, 83};
       }},
      {"noise with a seed", [](TSampleSnapshot& s) {
         s.Voices[0].Morph.NoiseSource = true; s.Voices[0].Morph.DestPreset = 2;
         s.Voices[1] = s.Voices[0]; s.Voices[1].Active = true;
         s.Voices[1].Morph.NoiseSource = false; s.Voices[1].Morph.NoiseDest = true; s.Voices[1].Timing.Time = 500;
         s.Voices[2] = s.Voices[0]; s.Voices[2].Active = true; s.Voices[2].Morph.NoiseDest = true;
       }},
      {"two voices, one delayed", [](TSampleSnapshot& s) {
         s.Voices[0].Timing.Time = 300;
         s.Voices[5].Active = true; s.Voices[5].Timing.StartDelay = 120; s.Voices[5].Timing.Time = 250;
         s.Voices[5].Morph.SourcePreset = 2; s.Voices[5].Pitch.Note = 33; s.Voices[5].Volume.Envelope = 3;
       }},
      {"32 voices: lowpass, noise, vibrato", [](TSampleSnapshot& s) {
         for (int i = 0; i < 32; ++i) {
           TVoice& v = s.Voices[i];
           v.Active = true;
           v.Timing.Time = 250 + 10 * (i % 5);
           v.Pitch.Note = static_cast<std::uint8_t>(10 + 2 * i);
           v.Morph.SourcePreset = static_cast<std::uint8_t>(1 + i % 3);
           v.Morph.DestPreset = static_cast<std::uint8_t>(1 + (i + 1) % 3);
           v.Morph.NoiseSource = i % 8 == 0;
           v.Morph.NoiseDest = i % 11 == 3;
           v.Vibrato = {static_cast<std::uint8_t>(20 + i), static_cast<std::uint8_t>(i % 4 == 0 ? 0 : 2 + i % 9),
                        static_cast<std::uint8_t>(120 - i), static_cast<std::uint8_t>(i % 4 == 0 ? 0 : 9)};
           v.Vibrato.VibDirection = i % 2 == 1;
           v.Vibrato.VibDepthToX100 = i % 7 == 2;
           v.Lowpass = {i % 6 != 5, static_cast<std::uint8_t>(250 - 7 * i), static_cast<std::uint8_t>(i * 8), false, true};
           v.Volume = {static_cast<std::uint8_t>(60 + i), static_cast<std::uint8_t>(1 + i % 3)};
         }
       }},
      {"32 voices: delays, repeats, widths across blocks", [](TSampleSnapshot& s) {
         for (int i = 0; i < 32; ++i) {
           TVoice& v = s.Voices[i];
           v.Active = i % 9 != 4;
           v.Timing = {60 + 3 * i, 1 + i % 4, 7 * i, i % 3 == 0};
           v.Morph.Phase = static_cast<std::uint8_t>(4 * i);
           v.Morph.DestPreset = 3;
           v.Morph.NoiseDest = i == 31;
           v.Vibrato = {static_cast<std::uint8_t>(3 * i), static_cast<std::uint8_t>(1 + i), 40, 3};
           v.Vibrato.VibSpeedFromX100 = i % 5 == 1;
           v.Lowpass = {true, static_cast<std::uint8_t>(i % 2 ? 255 : 0), static_cast<std::uint8_t>(i % 2 ? 1 : 254), false, true};
         }
       }},
  };
  return cases;
}

TEST(SampleComputation, MixEqualsTheReferenceExactly) {
  for (const Case& c : Cases()) {
    TSampleSnapshot s = Base();
    c.edit(s);
    TLcgNoise noise(7);
    std::int64_t n = 0;
    const std::vector<float> mix = MixVoices(s, noise, {}, &n);
    const std::vector<float> ref = ReferenceMix(s, 7);
    ASSERT_EQ(n, static_cast<std::int64_t>(ref.size())) << c.name;
    ASSERT_GT(mix.size(), ref.size()) << c.name;
    long long differ = 0, first = -1;
    for (std::size_t i = 0; i < ref.size(); ++i)
      if (mix[i] != ref[i]) {
        if (first < 0) first = static_cast<long long>(i);
        ++differ;
      }
    EXPECT_EQ(differ, 0) << c.name << ": first at " << first << " " << mix[first] << " vs " << ref[first];
    for (std::size_t i = ref.size(); i < mix.size(); ++i) ASSERT_EQ(mix[i], 0.0f) << c.name << " padding";
    // The result is not silence: a wrong table would not pass unnoticed.
    EXPECT_GT(*std::max_element(ref.begin(), ref.end()), 1000.0f) << c.name;
  }
}

TEST(SampleComputation, ResultIsTheMixClampedAndRoundedTo16Bits) {
  TSampleSnapshot s = Base();
  Cases()[3].edit(s);
  TLcgNoise noise;
  const TSampleResult r = CalculateSample(s, noise);
  const std::vector<float> ref = ReferenceMix(s, 1);
  ASSERT_EQ(r.Bytes.size(), 2 * ref.size());
  EXPECT_EQ(r.Rate, 11025);
  for (std::size_t i = 0; i < ref.size(); ++i) {
    const auto v = static_cast<std::int16_t>(r.Bytes[2 * i] | (r.Bytes[2 * i + 1] << 8));
    ASSERT_EQ(v, static_cast<std::int16_t>(ref[i])) << i;
  }
}

TEST(SampleComputation, TimingFollowsTheQuality) {
  struct T {
    int q, time, delay;
    long long L, delaySamples;
  };
  const T table[] = {{0, 1000, 0, 74 * 150, 0}, {0, 3000, 20, 220 * 150, 220}, {0, 10, 0, 150, 0},
                     {2, 1000, 0, 44100, 0}, {1, 1000, 10, 147 * 150, 220}};
  for (const T& t : table) {
    EXPECT_EQ(RepeatLength(t.time, t.q), t.L) << t.q << "/" << t.time;
    EXPECT_EQ(StartDelaySamples(t.delay, t.q), t.delaySamples) << t.q << "/" << t.delay;
  }
}

TEST(SampleComputation, DefaultVoiceAt44100LastSampleIsSilent) {
  TSampleSnapshot s = Base(2);
  TLcgNoise noise;
  std::int64_t n = 0;
  const auto mix = MixVoices(s, noise, {}, &n);
  EXPECT_EQ(n, 44100);
  EXPECT_EQ(mix[44099], 0.0f);
  EXPECT_EQ(mix.size(), 65536u + 2);
}

TEST(SampleComputation, NoActiveVoiceGivesAnEmptySample) {
  TSampleSnapshot s = Base();
  s.Voices[0].Active = false;
  s.EffectOrder = "abcdef";
  TLcgNoise noise;
  const TSampleResult r = CalculateSample(s, noise);
  EXPECT_EQ(r.Samples, 0);
  EXPECT_TRUE(r.Bytes.empty());
}

TEST(SampleComputation, AWaitingVoiceStillCountsInTheAverage) {
  TSampleSnapshot one = Base(), two = Base();
  two.Voices[1].Active = true;
  two.Voices[1].Timing.StartDelay = 2000;
  TLcgNoise a, b;
  const auto m1 = MixVoices(one, a), m2 = MixVoices(two, b);
  for (int i : {10, 500, 3000}) EXPECT_EQ(m2[i], static_cast<float>(std::nearbyint(m1[i] / 2.0L))) << i;
}

TEST(SampleComputation, FileValuesThatWouldIndexPastATableAreClamped) {
  TSampleSnapshot s = Base();
  s.Voices[0].Pitch.Note = 200;
  s.Voices[0].Morph.Phase = 255;
  s.Voices[0].Morph.SourcePreset = 99;
  s.Voices[0].Volume.Envelope = 0;
  s.Voices[0].Lowpass = {true, 255, 255, false, true};
  TLcgNoise noise;
  const TSampleResult r = CalculateSample(s, noise);
  EXPECT_EQ(r.Samples, 74 * 150);
}

TEST(SampleComputation, ProgressEvery1024SamplesAndTheUsedTime) {
  TSampleSnapshot s = Base();
  std::vector<std::string> texts;
  int pumps = 0;
  double t = 100;
  TComputeHooks hooks{[&](const std::string& x) { texts.push_back(x); }, [&] { ++pumps; }, [&] { return t += 0.25; }};
  TLcgNoise noise;
  CalculateSample(s, noise, hooks);
  EXPECT_EQ(pumps, 74 * 150 / 1024);
  ASSERT_GE(texts.size(), 3u);
  EXPECT_EQ(texts[0], "pre-calculations ...");
  EXPECT_EQ(texts[1], "calculating ...");
  // s = 1024 of 11100: f = 1023/11100, elapsed 0.25 s: 2.46 s remain.
  EXPECT_EQ(texts[2], "9 %   00:00:02");
  EXPECT_EQ(texts.back().rfind("used time: 00:00:0", 0), 0u) << texts.back();
}

// The EQ and the lowpass transform the work array of 2^order points; the
// library's allocator, with its 32-bit byte count, holds the tables of the
// inverse transform up to order 28 (samples up to 2^28 - 1); without them the
// work array goes to order 29.
TEST(SampleComputation, LengthLimitDependsOnTheTransforms) {
  constexpr std::int64_t k28 = std::int64_t{1} << 28;
  struct Row {
    std::int64_t samples;
    const char* effects;
    bool fits;
  } rows[] = {
      {k28 - 1, "", true},      {k28 - 1, "a", true},   {k28 - 1, "d", true},     {k28 - 1, "fedcba", true},
      {k28, "", true},          {k28, "bcef", true},    {k28, "xyz", true},       {k28, "a", false},
      {k28, "d", false},        {k28, "cfd", false},    {k28, "aa", false},       {2 * k28 - 1, "bcef", true},
      {2 * k28, "", false},     {1, "ad", true},
  };
  for (const Row& r : rows) EXPECT_EQ(SampleLengthFits(r.samples, r.effects), r.fits) << r.samples << " " << r.effects;
}

// One voice at 44100 Hz whose sample is 2^28 samples long: with the EQ or the
// lowpass it is refused before a sample is mixed (mixing it takes minutes),
// with the words the program shows.
TEST(SampleComputation, ASampleTooLongForTheTransformsIsRefusedBeforeMixing) {
  TSampleSnapshot s = Base(2);
  s.Voices[0].Timing = {65437, 93, 1482, false};
  std::int64_t n = 0;
  PrepareVoices(s, n);
  ASSERT_EQ(n, std::int64_t{1} << 28);
  for (const char* effects : {"a", "d", "bcdef"}) {
    s.EffectOrder = effects;
    std::vector<std::string> texts;
    int pumps = 0;
    TComputeHooks hooks{[&](const std::string& x) { texts.push_back(x); }, [&] { ++pumps; }, {}};
    TLcgNoise noise;
    try {
      CalculateSample(s, noise, hooks);
      ADD_FAILURE() << effects << ": calculated";
    } catch (const std::runtime_error& e) {
      EXPECT_STREQ(e.what(), kSampleTooLong) << effects;
    }
    EXPECT_EQ(texts, std::vector<std::string>{"pre-calculations ..."}) << effects;
    EXPECT_EQ(pumps, 0) << effects;
  }
}

// A 20 Hz cut-off with an infinite slope leaves only the constant part of
// a short sample; maximize leaves a constant alone. Nothing alternates.
TEST(SampleComputation, LowpassAt20HzThenMaximizeLeavesTheMeanOfTheMix) {
  TSampleSnapshot s = Base(0);
  s.Voices[0].Timing.Time = 10;  // 150 samples, order 8
  s.Voices[0].Morph.SourcePreset = s.Voices[0].Morph.DestPreset = 3;
  s.EffectOrder = "de";
  s.Effects.Lowpass = {0.0f, 20, 1.0f};
  TLcgNoise a, b;
  const std::vector<float> mix = MixVoices(s, a);
  const TSampleResult r = CalculateSample(s, b);
  ASSERT_EQ(r.Samples, 150);
  LD sum = 0;
  for (int i = 0; i < 150; ++i) sum += mix[i];
  for (int i = 0; i < 150; ++i) {
    const auto v = static_cast<std::int16_t>(r.Bytes[2 * i] | (r.Bytes[2 * i + 1] << 8));
    ASSERT_NEAR(v, static_cast<double>(sum / 256), 1) << i;
  }
}

TEST(SampleComputation, Conversion) {
  EXPECT_EQ(ToSample16(40000.0f), 32767);
  EXPECT_EQ(ToSample16(-40000.0f), -32768);
  EXPECT_EQ(ToSample16(std::nanf("")), -32768);
  EXPECT_EQ(ToSample16(2.5f), 2);
  EXPECT_EQ(ToSample16(-3.5f), -4);
}

TEST(SampleComputation, VoiceLowpassAtFullWidthUsesTheWholeRing) {
  // Width 255 (a file value beyond the editor's 250) needs 256 entries.
  TSampleSnapshot s = Base();
  s.Voices[0].Lowpass = {true, 255, 255, false, true};
  s.Voices[0].Timing.Time = 100;
  TLcgNoise a;
  const auto mix = MixVoices(s, a);
  const auto ref = ReferenceMix(s, 1);
  for (std::size_t i = 0; i < ref.size(); ++i) ASSERT_EQ(mix[i], ref[i]) << i;
}

TEST(SampleComputation, NoiseIsReproducibleBySeed) {
  TSampleSnapshot s = Base();
  s.Voices[0].Morph.NoiseSource = s.Voices[0].Morph.NoiseDest = true;
  TLcgNoise a(5), b(5), c(6);
  EXPECT_EQ(MixVoices(s, a), MixVoices(s, b));
  EXPECT_NE(MixVoices(s, a), MixVoices(s, c));
  TLcgNoise first(1);
  EXPECT_EQ(first.Next(), static_cast<int>((std::uint64_t{1015568748u} * 38144u) >> 32));
}

// ---------------------------------------------------------------------------
// Pitch

double PeakFrequency(const std::vector<float>& x, int rate) {
  // Plain DFT magnitude around the expected region, with a Hann window.
  const std::size_t n = x.size();
  double best = 0, bestF = 0;
  for (double f = 20; f < 2000; f += 0.25) {
    std::complex<double> acc = 0;
    for (std::size_t i = 0; i < n; ++i) {
      const double h = 0.5 - 0.5 * std::cos(2 * M_PI * i / (n - 1));
      acc += h * x[i] * std::polar(1.0, -2 * M_PI * f * i / rate);
    }
    if (std::abs(acc) > best) best = std::abs(acc), bestF = f;
  }
  return bestF;
}

TEST(SampleComputation, Note26PlaysAtThePitchTableFrequency) {
  TInstrumentDocument doc;
  for (int q : {0, 2}) {
    TSampleSnapshot s = Base(q);
    s.Voices[0].Morph.SourcePreset = s.Voices[0].Morph.DestPreset = 2;  // sine
    s.Voices[0].Timing.Time = 200;
    TLcgNoise noise;
    std::int64_t n = 0;
    auto mix = MixVoices(s, noise, {}, &n);
    mix.resize(static_cast<std::size_t>(n));
    const int rate = q == 0 ? 11025 : 44100;
    // Note 26 is an octave below the 294 Hz of index 38: 147 Hz.
    EXPECT_NEAR(PeakFrequency(mix, rate), 294.0 / 2, 1.0) << q;
    EXPECT_NEAR(doc.NoteFrequency[26], 146.83, 0.01);
  }
}

// ---------------------------------------------------------------------------
// Effects

struct Work {
  std::vector<float> data;
  TWorkArray w;
  explicit Work(std::vector<float> x)
      : data(), w{data, static_cast<std::int64_t>(x.size()), 0, 0} {
    w.Order = 64 - __builtin_clzll(x.size());
    w.Length = std::int64_t{1} << w.Order;
    data = std::move(x);
    data.resize(static_cast<std::size_t>(w.Length + 2), 0.0f);
  }
};

std::vector<float> Tone(int n, int seed = 3) {
  std::vector<float> x(n);
  std::uint32_t st = static_cast<std::uint32_t>(seed);
  for (int i = 0; i < n; ++i) {
    st = st * 1664525u + 1013904223u;
    x[i] = static_cast<float>(std::nearbyint(9000 * std::sin(i * 0.05) + 3000 * std::sin(i * 0.9) + (st >> 20) - 2048.0));
  }
  return x;
}

TEST(Effects, FlatEqIsTheIdentityWithinOneStep) {
  for (int q : {0, 1, 2})
    for (int n : {64, 100, 1000, 5000}) {
      Work a(Tone(n));
      const auto before = a.data;
      EffectEq(a.w, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1}, q, {});
      for (int i = 0; i < n; ++i) ASSERT_NEAR(a.data[i], before[i], 1.0) << q << "/" << n << "/" << i;
    }
}

TEST(Effects, EqOnShortSamplesStaysInsideTheArray) {
  // Below 1024 samples at 44100 Hz the low segments end before they start.
  for (int n : {1, 2, 64, 150, 511}) {
    Work a(Tone(n));
    a.data.push_back(12345.0f);  // guard element past the array
    EffectEq(a.w, {2, 0.5f, 1, 1, 1, 1, 1, 1, 1, 1}, 2, {});
    EXPECT_EQ(a.data.back(), 12345.0f) << n;
    for (int i = 0; i < n; ++i) ASSERT_TRUE(std::isfinite(a.data[i])) << n;
  }
}

TEST(Effects, EqGainScalesAToneInItsBand) {
  // A 1000 Hz tone at 44100 Hz through band 6 at gain 2: amplitude doubles.
  const int n = 8192;
  std::vector<float> x(n);
  for (int i = 0; i < n; ++i) x[i] = static_cast<float>(std::nearbyint(8000 * std::sin(2 * M_PI * 1000 * i / 44100)));
  Work a(x);
  EffectEq(a.w, {1, 1, 1, 1, 1, 2, 1, 1, 1, 1}, 2, {});
  float peak = 0;
  for (int i = 1000; i < 7000; ++i) peak = std::max(peak, std::fabs(a.data[i]));
  EXPECT_NEAR(peak, 16000, 400);
}

TEST(Effects, DistortionAsAClipperIsExact) {
  TDistortionFactors f{0.0f, 1.0f, 0.25f, 0.25f};
  Work a(Tone(3000));
  const auto before = a.data;
  EffectDistortion(a.w, f, {});
  const float t = static_cast<float>(0.25L * 32767);
  for (int i = 0; i < 3000; ++i) ASSERT_EQ(a.data[i], std::clamp(before[i], -t, t)) << i;
  EXPECT_EQ(a.data[3000], 0.0f);
}

TEST(Effects, VolumeSixDecibelsClipsInTheConversion) {
  Work a({20000.0f, -20000.0f, 100.0f});
  EffectVolume(a.w, TInGlobSettings::LevelFactor(6), {});
  EXPECT_EQ(ToSample16(a.data[0]), 32767);
  EXPECT_EQ(ToSample16(a.data[1]), -32768);
  EXPECT_EQ(ToSample16(a.data[2]), 200);
}

TEST(Effects, MaximizeMapsTheExtremesToFullScale) {
  Work a({-1000.0f, 3000.0f, 1000.0f, 0.0f});
  EffectMaximize(a.w, {});
  EXPECT_EQ(ToSample16(a.data[0]), -32767);
  EXPECT_EQ(ToSample16(a.data[1]), 32767);
  EXPECT_EQ(ToSample16(a.data[2]), 0);
}

TEST(Effects, MaximizeOfAConstantSampleRaisesNoLibraryError) {
  for (float c : {0.0f, 500.0f}) {
    Work a(std::vector<float>(300, c));
    EffectMaximize(a.w, {});
    EXPECT_EQ(zqvGetErrStatus(), 0);
    EXPECT_EQ(a.data[7], c);
  }
}

TEST(Effects, AnEarlierLibraryErrorDoesNotDisableAnEffect) {
  zqvSetErrStatus(-5);
  Work a({100.0f, -50.0f});
  EffectVolume(a.w, 2.0f, {});
  EXPECT_EQ(a.data[0], 200.0f);
  EXPECT_EQ(zqvGetErrStatus(), 0);
}

TEST(Effects, FadeIsExact) {
  const int n = 1000;
  Work a(std::vector<float>(n, 1000.0f));
  // 11025 Hz: 10 ms in = 110 samples (110.25), 5 ms out = 55 samples (55.125).
  EffectFade(a.w, 10, 5, 0, {});
  for (int i = 0; i <= 110; ++i) {
    const LD f = static_cast<LD>(i) / 110;
    ASSERT_EQ(a.data[i], fl(fl(1000 * f) * f)) << i;
  }
  for (int i = 111; i < n - 56; ++i) ASSERT_EQ(a.data[i], 1000.0f);
  for (int i = n - 56; i < n; ++i) ASSERT_EQ(a.data[i], fl(1000 * (static_cast<LD>(n - i - 1) / 55))) << i;
  EXPECT_EQ(a.data[n - 1], 0.0f);
}

TEST(Effects, FadeLongerThanTheSampleIsShortened) {
  Work a(std::vector<float>(100, 1000.0f));
  EffectFade(a.w, 0, 60000, 2, {});
  EXPECT_EQ(a.data[0], 1000.0f);  // out = N - 1 = 99: the fall starts at sample 0
  EXPECT_EQ(a.data[99], 0.0f);
  EXPECT_EQ(a.data[50], fl(1000 * (49.0L / 99)));
}

TEST(Effects, LowpassWithInfiniteSlopeRemovesEverythingAboveTheCutOff) {
  const int n = 8192;
  std::vector<float> x(n);
  for (int i = 0; i < n; ++i)
    x[i] = static_cast<float>(std::nearbyint(8000 * std::sin(2 * M_PI * 500 * i / 44100) + 8000 * std::sin(2 * M_PI * 8000 * i / 44100)));
  Work a(x);
  EffectLowpass(a.w, {0.0f, 2000, 1.0f}, 2, {});
  double err = 0;
  for (int i = 500; i < 7500; ++i) err = std::max(err, std::fabs(a.data[i] - 8000 * std::sin(2 * M_PI * 500 * i / 44100)));
  EXPECT_LT(err, 60);  // the 8 kHz part is gone; the 500 Hz part stays
}

// The top frequency (half the rate) is the real part that follows element
// length - 1 of the spectrum; it is attenuated as that element is. A signal of
// one whole period of the transform with a component (-1)^n there: that
// component's amplitude after the lowpass is its sum against (-1)^n.
TEST(Effects, LowpassTreatsTheTopFrequencyAsTheElementBelowIt) {
  const int length = 1024;
  const LD top = 5000;
  auto lowTone = [](int n) { return 1000 + 3000 * std::cos(2 * M_PI * 3 * n / length); };
  // 44100 Hz: cut = round(1023 x float(fc / 22050)).
  auto cutOf = [](int fc) { return static_cast<LD>(rnd(1023 * static_cast<LD>(fl(fc / 22050.0L)))); };
  // 12 dB per doubling, resonance 2 and a peak that reaches element 1023: the
  // whole spectrum at 1/2, the slope's (cut / 1023)^2, then 2 x the triangle.
  const LD cut22000 = cutOf(22000);
  const LD peakAtTop = 0.5L * std::pow(cut22000 / 1023, 2) * 2 * ((cut22000 + 100 - 1023) * 0.01L);
  struct Row {
    float slope;
    int cutOff;
    float resonance;
    LD gain;     // of the top frequency
    LD lowGain;  // of the low tone, below the cut-off: 1 / resonance
  } rows[] = {
      {0.0f, 2000, 1.0f, 0, 1},                        // infinite slope
      {0.0f, 22000, 2.0f, 0, 0.5L},                    // the peak reaches the top, after the cut
      {0.5f, 2000, 1.0f, cutOf(2000) / 1023, 1},       // 6 dB per doubling from the cut-off
      {0.25f, 22000, 2.0f, peakAtTop, 0.5L},
  };
  for (const Row& r : rows) {
    std::vector<float> x(length - 1);
    for (int n = 0; n < length - 1; ++n) x[n] = static_cast<float>(lowTone(n) + top * (n % 2 ? -1 : 1));
    Work a(x);
    ASSERT_EQ(a.w.Length, length);
    a.data[length - 1] = static_cast<float>(lowTone(length - 1) - top);
    EffectLowpass(a.w, {r.slope, r.cutOff, r.resonance}, 2, {});
    double alternating = 0, error = 0;
    for (int n = 0; n < length; ++n) {
      alternating += (n % 2 ? -1.0 : 1.0) * a.data[n];
      const LD expected = (n % 2 ? -1 : 1) * r.gain * top + r.lowGain * lowTone(n);
      error = std::max(error, static_cast<double>(std::fabs(a.data[n] - expected)));
    }
    EXPECT_NEAR(alternating / length, static_cast<double>(r.gain * top), 0.01) << r.slope << " " << r.cutOff;
    EXPECT_LT(error, 0.01) << r.slope << " " << r.cutOff;
  }
}

TEST(Effects, LowpassSlopeFallsPerOctaveFromTheCutOff) {
  // 12 dB per octave, cut-off 1000 Hz: a 4000 Hz tone (two octaves up) keeps 1/16.
  const int n = 16384;
  std::vector<float> x(n);
  for (int i = 0; i < n; ++i) x[i] = static_cast<float>(std::nearbyint(16000 * std::sin(2 * M_PI * 4000 * i / 44100)));
  Work a(x);
  EffectLowpass(a.w, {0.25f, 1000, 1.0f}, 2, {});
  float peak = 0;
  for (int i = 2000; i < 14000; ++i) peak = std::max(peak, std::fabs(a.data[i]));
  EXPECT_NEAR(peak, 1000, 60);
}

// Resonance 4 (+12 dB): the spectrum is scaled by 1/4, then the 201 elements
// around the cut-off by 4 and by a triangle that is 1 at the cut-off. Three
// cosines periodic in the transform length each sit on one spectrum element,
// so each comes out scaled by the gain of its element; the gains are read
// back with a direct DFT sum in double precision.
TEST(Effects, LowpassResonanceRaisesTheRegionAroundTheCutOff) {
  const int length = 16384;
  const LD r = 4;
  // 44100 Hz, 2205 Hz: cut = round(16383 x float(0.1)) = 1638, the real part of bin 819.
  const int cutBin = 819;
  struct Tone {
    int bin;
    LD gain;
  } tones[] = {
      {100, 1 / r},                                      // far below: only the 1/r of the whole spectrum
      {cutBin - 25, 0.5L},                               // element cut - 50: half way up the triangle
      {cutBin, 1},                                       // the cut-off keeps its level
      {cutBin + 25, 0.5L * (1638.0L / 1688.0L)},         // cut + 50: the triangle and 6 dB per doubling
      {cutBin + 400, (1 / r) * (1638.0L / 2438.0L)},     // above the region: 1/r and the slope
  };
  std::vector<float> x(length - 1);
  std::vector<double> full(length);
  for (int n = 0; n < length; ++n) {
    double v = 0;
    for (const Tone& t : tones) v += 3000 * std::cos(2 * M_PI * t.bin * static_cast<double>(n) / length);
    full[n] = v;
  }
  for (int n = 0; n < length - 1; ++n) x[n] = static_cast<float>(full[n]);
  Work a(x);
  ASSERT_EQ(a.w.Length, length);
  a.data[length - 1] = static_cast<float>(full[length - 1]);  // the whole period, no silence after it
  EffectLowpass(a.w, {0.5f, 2205, static_cast<float>(r)}, 2, {});
  for (const Tone& t : tones) {
    double re = 0;
    for (int n = 0; n < length; ++n) re += a.data[n] * std::cos(2 * M_PI * t.bin * static_cast<double>(n) / length);
    EXPECT_NEAR(re * 2 / length / 3000, static_cast<double>(t.gain), 1e-3) << "bin " << t.bin;
  }
}

TEST(Effects, ChainRunsLettersInOrderAndSkipsOthers) {
  TEffectParams p;
  p.Volume = 2.0f;
  p.Distortion = {0.0f, 1.0f, 0.1f, 0.1f};
  const float t = static_cast<float>(0.1L * 32767);
  Work a({5000.0f}), b({5000.0f});
  RunEffectChain(a.w, "cbx", p, 2, {});   // 10000, then clipped
  RunEffectChain(b.w, "bc?", p, 2, {});   // clipped, then doubled
  EXPECT_EQ(a.data[0], t);
  EXPECT_EQ(b.data[0], fl(static_cast<LD>(t) * 2));
}

// ---------------------------------------------------------------------------
// Notes

std::vector<std::uint8_t> Bytes(const std::vector<std::int16_t>& v) {
  std::vector<std::uint8_t> b;
  for (auto x : v) b.push_back(static_cast<std::uint8_t>(x & 0xFF)), b.push_back(static_cast<std::uint8_t>((x >> 8) & 0xFF));
  return b;
}

TEST(NoteResample, LengthsFollowTheNote) {
  std::vector<std::int16_t> v(1000);
  for (int i = 0; i < 1000; ++i) v[i] = static_cast<std::int16_t>(i * 7 - 3000);
  const auto src = Bytes(v);
  EXPECT_EQ(ResampleForNote(src, MidiNoteRatio(60), false, 0), src);
  EXPECT_EQ(ResampleForNote(src, MidiNoteRatio(60), true, 127), src);
  EXPECT_EQ(ResampleForNote(src, MidiNoteRatio(72), false, 0).size(), src.size() / 2);
  EXPECT_EQ(ResampleForNote(src, MidiNoteRatio(48), false, 0).size(), src.size() * 2);
  const auto up = ResampleForNote(src, MidiNoteRatio(72), false, 0);
  EXPECT_EQ(up[2], src[4]);
  EXPECT_EQ(MidiNoteRatio(35), 0.0f);
  EXPECT_EQ(MidiNoteRatio(97), 0.0f);
  EXPECT_EQ(MidiNoteRatio(96), 8.0f);
}

TEST(NoteResample, SlowNotesStayInsideTheSource) {
  std::vector<std::int16_t> v(997, 5);
  for (int note = 36; note < 60; ++note) {
    const auto out = ResampleForNote(Bytes(v), MidiNoteRatio(note), false, 0);
    EXPECT_EQ(out.size() % 2, 0u) << note;
    for (std::size_t i = 0; i < out.size(); i += 2) ASSERT_EQ(out[i], 5) << note;
  }
}

TEST(NoteResample, VelocityScales) {
  const auto out = ResampleForNote(Bytes({-1000, 1000, 32767}), 1.0f, true, 64);
  EXPECT_EQ(static_cast<std::int16_t>(out[0] | (out[1] << 8)), -504);
  EXPECT_EQ(out[1], 0xFE);
  EXPECT_EQ(static_cast<std::int16_t>(out[2] | (out[3] << 8)), 504);
}

}  // namespace

namespace {

TEST(VoiceLowpass, RingStepEqualsTheExtendedSumRoundedToFloat) {
  std::uint32_t st = 12345;
  auto next = [&] {
    st = st * 1664525u + 1013904223u;
    return st;
  };
  for (int i = 0; i < 200000; ++i) {
    const float s = static_cast<float>(static_cast<std::int32_t>(next()) >> (next() % 24));
    const float a = static_cast<float>(static_cast<std::int32_t>(next()) >> (next() % 30)) / 3.0f;
    const float b = static_cast<float>(0.5 + (next() % 1000) / 1998.0);
    ASSERT_EQ(AddProduct(s, a, b), fl(static_cast<LD>(s) + static_cast<LD>(a) * b)) << s << " " << a << " " << b;
  }
  // 2^24 + 2 + (1 - 2^-30): the double sum rounds to 2^24 + 3, halfway between
  // two floats, and would then round up; the extended sum stays below it.
  const float s = 16777218.0f, a = 1.0f + 0x1p-15f, b = 1.0f - 0x1p-15f;
  EXPECT_EQ(static_cast<float>(static_cast<double>(s) + static_cast<double>(a) * b), 16777220.0f);
  EXPECT_EQ(AddProduct(s, a, b), 16777218.0f);
  EXPECT_EQ(AddProduct(s, a, b), fl(static_cast<LD>(s) + static_cast<LD>(a) * b));
}

}  // namespace
