// The voice rendering that the mix runs span by span, against the same
// voice computed one sample at a time (long double throughout): the values
// before the voice lowpass, the lowpass sums side by side in vectors, and the
// vibrato cosine taken in double with its extended fallback.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "core/Document.h"
#include "engine/Noise.h"
#include "engine/VoiceRender.h"

using namespace kalvora::engine;

namespace {

using LD = long double;
float fl(LD x) { return static_cast<float>(x); }

std::uint32_t Bits(float x) {
  std::uint32_t b;
  std::memcpy(&b, &x, sizeof b);
  return b;
}

struct Lcg {
  std::uint32_t s;
  std::uint32_t next() { return s = s * 1664525u + 1013904223u; }
  double unit() { return next() / 4294967296.0; }
};

// ---------------------------------------------------------------------------
// Voice lowpass over a span

const TRingPath kPaths[] = {TRingPath::Best, TRingPath::Vector8, TRingPath::Vector4, TRingPath::Plain};
const char* PathName(TRingPath p) {
  return p == TRingPath::Best ? "best" : p == TRingPath::Vector8 ? "8 lanes" : p == TRingPath::Vector4 ? "4 lanes" : "plain";
}

// The ring step by step: write, advance modulo n + 1, sum oldest first in
// extended precision rounded to float at each entry, divide.
struct RefRing {
  float ring[256] = {};
  int pos = 0;
  float Step(float x, int n) {
    if (n == 0) return x;
    ring[pos] = x;
    pos = (pos + 1) % (n + 1);
    float s = 0;
    for (int j = 0; j <= n; ++j)
      s = fl(s + static_cast<LD>(ring[(pos + j) % (n + 1)]) * fl(0.5L + static_cast<LD>(j) / (2 * n)));
    return fl(s / static_cast<LD>(n + 1));
  }
};

struct SpanCase {
  std::string name;
  std::vector<float> ring;  // initial ring (256 entries) and position
  int pos;
  std::vector<float> xs;
  std::vector<int> widths;
};

std::vector<float> RandomValues(Lcg& g, int count, double scale) {
  std::vector<float> v(static_cast<std::size_t>(count));
  for (float& x : v) x = static_cast<float>((g.unit() * 2 - 1) * scale);
  return v;
}

std::vector<SpanCase> SpanCases() {
  Lcg g{99};
  std::vector<SpanCase> cases;
  auto add = [&](std::string name, std::vector<float> xs, std::vector<int> widths, int pos = 0,
                 double ringScale = 30000) {
    SpanCase c{std::move(name), RandomValues(g, 256, ringScale), pos, std::move(xs), std::move(widths)};
    cases.push_back(std::move(c));
  };
  const int len = 700;
  auto constant = [&](int n) { return std::vector<int>(len, n); };
  add("width 250, voice-like values", RandomValues(g, len, 30000), constant(250), 17);
  add("width 255, whole ring", RandomValues(g, len, 30000), constant(255), 255);
  add("width 1", RandomValues(g, len, 30000), constant(1), 1);
  add("short span of 5", RandomValues(g, 5, 30000), std::vector<int>(5, 120), 3);
  {
    std::vector<int> w(len);
    for (int i = 0; i < len; ++i) w[i] = i / 3 % 256;  // rising, each width for 3 samples, 0 passes
    add("rising widths with 0", RandomValues(g, len, 30000), w, 0);
  }
  {
    std::vector<int> w(len);
    for (int i = 0; i < len; ++i) w[i] = 250 - i / 5 % 250;  // falling: the write position lies beyond the width
    add("falling widths", RandomValues(g, len, 30000), w, 200);
  }
  {
    // Small whole numbers: many sums are exact and halfway between floats.
    std::vector<float> xs(len);
    for (float& x : xs) x = static_cast<float>(static_cast<int>(g.next() % 64) - 32) * 65536.0f;
    add("halfway sums that are exact", xs, constant(200), 0, 0);
  }
  {
    std::vector<float> xs = RandomValues(g, len, 30000);
    for (int i = 0; i < len; i += 37) xs[i] = 1e-30f;  // below the vector path's range
    add("tiny values", xs, constant(100), 5);
  }
  {
    std::vector<float> xs = RandomValues(g, len, 30000);
    xs[300] = 3e36f;
    add("huge value", xs, constant(60), 5);
  }
  {
    // Width 1 sums 0.5 x the older entry and the newer one: 0.5 x 1.25 plus
    // 2^24 - 1 (or the same halved, 2^24 - 1 + 0.5 being an exact tie) rounds
    // up across a power of two, at many scales and both signs.
    std::vector<float> xs;
    for (int k = -60; k <= 70; ++k)
      for (const float frac : {1.25f, 1.0f}) {
        const float sign = k % 2 == 0 ? 1.0f : -1.0f;
        xs.push_back(sign * std::ldexp(frac, k));
        xs.push_back(sign * std::ldexp(16777215.0f, k));
      }
    add("sums that round up across a power of two", xs, std::vector<int>(xs.size(), 1), 0, 0);
  }
  add("silence", std::vector<float>(len, 0.0f), constant(250), 0, 0);
  return cases;
}

TEST(VoiceLowpass, SpanEqualsTheStepByStepRing) {
  for (const TRingPath path : kPaths)
    for (const SpanCase& c : SpanCases()) {
      TVoiceState v;
      RefRing ref;
      for (int i = 0; i < 256; ++i) v.Ring[i] = ref.ring[i] = c.ring[static_cast<std::size_t>(i)];
      v.RingPos = ref.pos = c.pos;
      std::vector<float> xs = c.xs;
      LowpassSpan(v, xs.data(), c.widths.data(), static_cast<int>(xs.size()), path);
      const std::string name = c.name + " (" + PathName(path) + ")";
      for (std::size_t t = 0; t < xs.size(); ++t) {
        const float want = ref.Step(c.xs[t], c.widths[t]);
        ASSERT_EQ(Bits(xs[t]), Bits(want)) << name << " at " << t << ": " << xs[t] << " vs " << want;
      }
      EXPECT_EQ(v.RingPos, ref.pos) << name;
      for (int i = 0; i < 256; ++i) ASSERT_EQ(Bits(v.Ring[i]), Bits(ref.ring[i])) << name << " ring " << i;
    }
}

TEST(VoiceLowpass, VectorSumRedoesAnInexactHalfwaySum) {
  // Find a weight w of some width n and a float r with 2^-39 < 1 - r w < 2^-29.
  // After a first entry that makes the running sum 2^24 + 2, adding r w gives
  // a double sum of exactly 2^24 + 3 (halfway, rounding up to 2^24 + 4),
  // while the extended sum stays below it and keeps 2^24 + 2.
  int n = 0, j = 0;
  float r = 0;
  for (int cn = 2; cn < 256 && n == 0; ++cn)
    for (int cj = 1; cj < cn && n == 0; ++cj) {
      const float w = fl(0.5L + static_cast<LD>(cj) / (2 * cn));
      float c = static_cast<float>(1.0 / w);
      for (int step = 0; step < 3; ++step, c = std::nextafter(c, 10.0f)) {
        const LD gap = 1 - static_cast<LD>(c) * w;
        if (gap > 0x1p-39L && gap < 0x1p-29L) {
          n = cn, j = cj, r = c;
          break;
        }
      }
    }
  ASSERT_NE(n, 0) << "no suitable weight";
  const float w = fl(0.5L + static_cast<LD>(j) / (2 * n));
  const float first = 33554436.0f;  // x 0.5 = 2^24 + 2
  const double naive = static_cast<double>(first * 0.5f) + static_cast<double>(r) * w;
  ASSERT_EQ(static_cast<float>(naive), 16777220.0f);  // the case is a hard one
  ASSERT_EQ(fl(static_cast<LD>(first * 0.5f) + static_cast<LD>(r) * w), 16777218.0f);

  // Ring of width n at position 0: sample 0 sums ring[1..n] and then x[0].
  for (const TRingPath path : kPaths) {
    TVoiceState v;
    RefRing ref;
    v.Ring[1] = ref.ring[1] = first;
    v.Ring[1 + j] = ref.ring[1 + j] = r;
    std::vector<float> xs(64, 0.0f), in = xs;
    std::vector<int> widths(64, n);
    LowpassSpan(v, xs.data(), widths.data(), 64, path);
    for (int t = 0; t < 64; ++t) ASSERT_EQ(Bits(xs[t]), Bits(ref.Step(in[t], n))) << PathName(path) << " " << t;
  }
  for (const TRingPath path : {TRingPath::Vector8, TRingPath::Vector4})
    if (!RingPathAvailable(path)) std::printf("note: no %s unit here, its sums ran as the plain ones\n", PathName(path));
}

// ---------------------------------------------------------------------------
// Vibrato cosine

float OffsetReference(float theta, LD depth, bool up) {
  const LD c = std::cos(static_cast<LD>(theta));
  return fl((up ? 1 + c : 1 - c) * depth);
}

TEST(Vibrato, OffsetEqualsTheExtendedCosineOnARandomSweep) {
  Lcg g{2024};
  for (int i = 0; i < 300000; ++i) {
    const bool up = (i & 1) != 0;
    float theta = static_cast<float>(g.unit() * (i % 3 == 0 ? 7.0 : i % 3 == 1 ? 5e3 : 2e6));
    if (i % 4 == 0) {
      // Near the angles where the factor 1 +- cos theta vanishes.
      const double k = std::floor(g.unit() * 3000);
      theta = static_cast<float>((up ? M_PI * (2 * k + 1) : 2 * M_PI * k) + (g.unit() * 2 - 1) * std::pow(10.0, -1 - 6 * g.unit()));
    }
    const LD depth = i % 5 == 0 ? static_cast<LD>(g.next() % 26000) : static_cast<LD>(g.unit()) * 300;
    ASSERT_EQ(VibratoOffset(theta, depth, up), OffsetReference(theta, depth, up)) << theta << " " << static_cast<double>(depth);
  }
  EXPECT_EQ(VibratoOffset(1.0f, 0.0L, true), 0.0f);
}

TEST(Vibrato, OffsetNearAFloatBoundaryTakesTheExtendedCosine) {
  // Depths chosen so that (1 +- cos theta) x depth lands within a few extended
  // units of a point halfway between two floats: the double value cannot
  // decide the rounding there.
  Lcg g{77};
  int hard = 0;
  for (int i = 0; i < 4000; ++i) {
    const bool up = (i & 1) != 0;
    float theta = static_cast<float>(g.unit() * 1e4);
    if (i % 3 == 0)  // a small factor 1 +- cos theta
      theta = static_cast<float>((up ? M_PI : 2 * M_PI) + (g.unit() * 2 - 1) * std::pow(10.0, -1 - 4 * g.unit()));
    const LD c = std::cos(static_cast<LD>(theta));
    const LD factor = up ? 1 + c : 1 - c;
    if (factor == 0) continue;
    const float f = static_cast<float>(g.unit() * 50 + 1);
    const LD mid = (static_cast<LD>(f) + std::nextafter(f, 100.0f)) / 2;
    for (int k = -2; k <= 2; ++k) {
      const LD depth = mid / factor * (1 + k * 0x1p-63L);
      const double y = (up ? 1 + std::cos(static_cast<double>(theta)) : 1 - std::cos(static_cast<double>(theta))) *
                       static_cast<double>(depth);
      const double margin = std::fabs(static_cast<double>(depth)) * 0x1p-47;
      hard += static_cast<float>(y - margin) != static_cast<float>(y + margin);
      ASSERT_EQ(VibratoOffset(theta, depth, up), OffsetReference(theta, depth, up))
          << theta << " " << static_cast<double>(depth) << " " << up;
    }
  }
  EXPECT_GT(hard, 1000);  // the cases do reach the extended cosine
}

TEST(Vibrato, CosinesOfEightStayWithinTheirBound) {
  // Angles where the reduction by pi/2 is hardest (just beside the multiples
  // of pi/4, where the quarter changes and the remainder is largest, and
  // beside the multiples of pi/2, where the cosine or sine is small), small
  // ones, negative ones, and ones past the reduced range.
  Lcg g{11};
  std::vector<float> thetas;
  for (int i = 0; i < 40000; ++i) {
    const double kind = g.unit();
    const double k = std::floor(g.unit() * (i % 4 == 0 ? 16 : i % 4 == 1 ? 1000 : i % 4 == 2 ? 3e5 : 1e6));
    double t;
    if (kind < 0.3)
      t = k * (M_PI / 4) + (g.unit() * 2 - 1) * 1e-6 * (1 + k);
    else if (kind < 0.5)
      t = k * (M_PI / 2) + (g.unit() * 2 - 1) * std::pow(10.0, -8 * g.unit());
    else if (kind < 0.6)
      t = (g.unit() * 2 - 1) * std::pow(10.0, -10 * g.unit());
    else
      t = (g.unit() * 2 - 1) * k * 2;
    float theta = static_cast<float>(t);
    if (i % 5 == 0) theta = -theta;
    thetas.push_back(theta);
  }
  for (float edge : {0x1p19f, std::nextafter(0x1p19f, 0.0f), -0x1p19f, 0x1p24f, 3.0e9f})
    thetas.push_back(edge);
  while (thetas.size() % 8 != 0) thetas.push_back(0.0f);
  double worst = 0;
  for (std::size_t i = 0; i < thetas.size(); i += 8) {
    double c[8], err[8];
    CosinesOfEight(&thetas[i], c, err);
    for (int l = 0; l < 8; ++l) {
      const float theta = thetas[i + static_cast<std::size_t>(l)];
      const double off = std::fabs(static_cast<double>(c[l] - std::cos(static_cast<LD>(theta))));
      ASSERT_LE(off, err[l]) << "theta " << theta;
      ASSERT_LE(err[l], 0x1p-48) << "theta " << theta;  // what the vibrato's margin is made for
      worst = std::max(worst, off);
    }
  }
  // The bound is not far above what happens (a bound set too small fails
  // above: errors of 2^-54 and more do occur).
  EXPECT_GT(worst, 0x1p-55);
}

TEST(Vibrato, VectorOffsetsBesideAFloatBoundaryAreRightOrLeftUndecided) {
  // Depths chosen so that (1 +- cos theta) x depth lies within a few double
  // units of a point halfway between two floats, with the cosines of eight at
  // once: an offset the vector check decides must be the extended one, so a
  // margin that leaves out the cosine's bound (or the roundings) fails here.
  {
    const double zero[8] = {};
    float offsets[8];
    if (VibratoOffsetsOfEight(false, zero, zero, zero, offsets) != 0)
      GTEST_SKIP() << "no vector unit: every lane takes the one-sample code";
  }
  Lcg g{91};
  int decided = 0, undecided = 0;
  for (int i = 0; i < 3000; ++i) {
    const bool up = (i & 1) != 0;
    float thetas[8];
    double depths[8];
    for (int l = 0; l < 8; ++l) {
      double t = g.unit() * (i % 3 == 0 ? 7.0 : i % 3 == 1 ? 5e3 : 4e5);
      if (l % 4 == 0)  // a small factor 1 +- cos theta
        t = (up ? M_PI : 2 * M_PI) * (1 + 2 * std::floor(g.unit() * 100)) + (g.unit() * 2 - 1) * std::pow(10.0, -1 - 3 * g.unit());
      thetas[l] = static_cast<float>(t);
      const LD c = std::cos(static_cast<LD>(thetas[l]));
      const LD factor = up ? 1 + c : 1 - c;
      const float f = static_cast<float>(g.unit() * 50 + 1);
      const LD mid = (static_cast<LD>(f) + std::nextafter(f, 100.0f)) / 2;
      // From a few double units off up to 2^-40 relatively.
      const int k = static_cast<int>(g.next() % 9) - 4, e = 40 + static_cast<int>(g.next() % 14);
      depths[l] = factor == 0 ? 1.0 : static_cast<double>(mid / factor) * (1 + std::ldexp(k, -e));
    }
    double c[8], err[8];
    float offsets[8];
    CosinesOfEight(thetas, c, err);
    const unsigned redo = VibratoOffsetsOfEight(up, depths, c, err, offsets);
    for (int l = 0; l < 8; ++l) {
      if ((redo >> l) & 1u) {
        ++undecided;
        continue;
      }
      ++decided;
      ASSERT_EQ(Bits(offsets[l]), Bits(OffsetReference(thetas[l], static_cast<LD>(depths[l]), up)))
          << "theta " << thetas[l] << " depth " << depths[l] << " up " << up;
    }
  }
  EXPECT_GT(undecided, 1000);  // the cases do reach the undecided side
  EXPECT_GT(decided, 1000);    // and the decided one near the boundary
}

TEST(Vibrato, SteppedCosinesStayWithinTheirBound) {
  // Runs of angles as the vibrato makes them (growing steps, float angles up
  // to millions, where consecutive floats are 0.125 apart) and rougher ones
  // (backward steps, steps just under and over 0.5, repeats).
  struct Walk {
    const char* name;
    double start, step, growth, jitter;
  };
  const Walk walks[] = {{"slow vibrato", 0, 1e-4, 1e-9, 0},        {"fast vibrato", 10, 0.14, 1e-7, 0},
                        {"large angles", 2e6, 0.13, 0, 0.2},       {"back and forth", 100, 0, 0, 0.49},
                        {"around 0.5", 5, 0.5, 0, 0.02},           {"standing", 3, 0, 0, 0}};
  for (const Walk& w : walks) {
    Lcg g{5};
    TCosineSteps cosines;
    double t = w.start, step = w.step;
    double worst = 0;
    for (int i = 0; i < 20000; ++i) {
      const float theta = static_cast<float>(t);
      const double c = cosines.Next(theta);
      const double off = std::fabs(static_cast<double>(c - std::cos(static_cast<LD>(theta))));
      ASSERT_LE(off, cosines.Error()) << w.name << " at " << i << " theta " << theta;
      worst = std::max(worst, cosines.Error());
      step += w.growth;
      t += step + (g.unit() * 2 - 1) * w.jitter;
    }
    EXPECT_LT(worst, 0x1p-42) << w.name;  // what the vibrato's margin allows for
  }
}

// ---------------------------------------------------------------------------
// A voice's span against its samples one by one

struct VoiceCase {
  const char* name;
  int quality;
  std::function<void(TVoice&)> edit;
};

std::array<std::uint8_t, 150> Wave(int kind) {
  std::array<std::uint8_t, 150> a{};
  for (int i = 0; i < 150; ++i)
    a[i] = static_cast<std::uint8_t>(kind == 0 ? i : kind == 1 ? std::lround(75 + 74 * std::sin(2 * M_PI * i / 150))
                                                                : (i < 75 ? 149 : 0));
  return a;
}

TEST(VoiceSpan, EqualsTheVoiceSampleBySample) {
  const VoiceCase cases[] = {
      {"default", 0, [](TVoice&) {}},
      {"vibrato", 2, [](TVoice& v) { v.Vibrato = {20, 2, 120, 9}; }},
      {"vibrato x100 up", 1,
       [](TVoice& v) {
         v.Vibrato = {2, 1, 250, 2};
         v.Vibrato.VibSpeedFromX100 = v.Vibrato.VibDepthToX100 = v.Vibrato.VibDirection = true;
       }},
      {"vibrato depth 0", 2, [](TVoice& v) { v.Vibrato = {200, 0, 10, 0}; }},
      {"depth falling to 0", 0, [](TVoice& v) { v.Vibrato = {30, 250, 40, 0}; v.Vibrato.VibDepthFromX100 = true; }},
      {"noise both, repeat mode", 0,
       [](TVoice& v) {
         v.Morph.NoiseSource = v.Morph.NoiseDest = true;
         v.Timing.Repeats = 3, v.Timing.Time = 150, v.Timing.RepeatMode = true;
       }},
      {"noise source, vibrato", 1,
       [](TVoice& v) {
         v.Morph.NoiseSource = true;
         v.Vibrato = {20, 2, 120, 9};
       }},
      {"noise destination, morph, lowpass", 2,
       [](TVoice& v) {
         v.Morph.NoiseDest = true, v.Morph.DestPreset = 2;
         v.Lowpass = {true, 10, 200, false, false};
       }},
      {"morph, repeats, phase, note", 1,
       [](TVoice& v) {
         v.Morph.DestPreset = 3, v.Morph.Phase = 75, v.Pitch = {60, 11};
         v.Timing.Repeats = 4, v.Timing.Time = 120, v.Timing.RepeatMode = true;
       }},
      {"lowpass rising, envelope, delay", 2,
       [](TVoice& v) {
         v.Lowpass = {true, 0, 250, false, false};
         v.Volume = {77, 2};
         v.Timing.StartDelay = 40;
       }},
      {"lowpass falling, low note", 0, [](TVoice& v) { v.Lowpass = {true, 255, 3, false, false}; v.Pitch.Note = 0; }},
  };
  TInstrumentDocument doc;
  for (const VoiceCase& c : cases) {
    TSampleSnapshot s;
    s.NoteRatio = doc.NoteRatio;
    s.Presets = {Wave(0), Wave(1), Wave(2)};
    TVolumeEnvelope flat, shaped;
    flat.Count = 2, flat.X[1] = 255, flat.Y[0] = flat.Y[1] = 255;
    shaped.Count = 3, shaped.X[0] = 10, shaped.X[1] = 90, shaped.X[2] = 255, shaped.Y[0] = 40, shaped.Y[1] = 255, shaped.Y[2] = 7;
    s.Envelopes = {flat, shaped};
    s.Quality = c.quality;
    for (TVoice& v : s.Voices) v = TVoice{};
    s.Voices[0].Active = true;
    s.Voices[0].Timing.Time = 400;
    c.edit(s.Voices[0]);
    std::int64_t n = 0;
    std::vector<TVoiceState> step = PrepareVoices(s, n);
    PrepareRamps(step[0], n, s.Quality);
    const TVoiceState& v = step[0];
    ASSERT_GT(v.End - v.Delay, 2) << c.name;
    const std::int64_t from = v.Delay + 1, to = v.End - 1;
    const auto count = static_cast<std::size_t>(to - from + 1);
    TLcgNoise noise(11), draws(11);
    std::vector<std::int32_t> drawn(2 * count);
    for (std::int32_t& d : drawn) d = draws.Next();
    std::vector<float> want(count);
    for (std::int64_t smp = from; smp <= to; ++smp) want[static_cast<std::size_t>(smp - from)] = RenderVoiceDry(step[0], smp, n, noise);
    // Every way of rendering, whole or in pieces whose ends fall inside a
    // vector of eight (the mix renders blocks), and with every vector lane
    // redone one sample at a time.
    const struct {
      const char* name;
      TSpanPath path;
      std::int64_t piece;
    } ways[] = {{"best", TSpanPath::Best, 0},
                {"best in pieces", TSpanPath::Best, 1021},
                {"plain", TSpanPath::Plain, 0},
                {"lanes redone", TSpanPath::VectorRedone, 333}};
    for (const auto& way : ways) {
      std::vector<TVoiceState> fresh = PrepareVoices(s, n);
      PrepareRamps(fresh[0], n, s.Quality);
      std::vector<float> out(count);
      std::vector<int> widths(count);
      const std::int32_t* next = drawn.data();
      const std::int64_t piece = way.piece > 0 ? way.piece : to - from + 1;
      for (std::int64_t a = from; a <= to; a += piece) {
        const std::int64_t b = std::min(to, a + piece - 1);
        const auto at = static_cast<std::size_t>(a - from);
        RenderVoiceSpan(fresh[0], a, b, n, next, &out[at], &widths[at], way.path);
        if (s.Voices[0].Morph.NoiseSource) next += b - a + 1;
        if (s.Voices[0].Morph.NoiseDest) next += b - a + 1;
      }
      for (std::int64_t smp = from; smp <= to; ++smp) {
        const auto t = static_cast<std::size_t>(smp - from);
        ASSERT_EQ(widths[t], LowpassWidth(step[0], smp)) << c.name << " (" << way.name << ") at " << smp;
        ASSERT_EQ(Bits(out[t]), Bits(want[t]))
            << c.name << " (" << way.name << ") at " << smp << ": " << out[t] << " vs " << want[t];
      }
    }
  }
}

}  // namespace
