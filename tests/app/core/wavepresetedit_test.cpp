// The wave-preset editor's operations on 150-sample cycles: each command over
// a ramp, a constant and an alternating cycle; drawing; volume; the function
// generator; the spectrum and the filter's pass band and taps.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "core/WavePresetEdit.h"

namespace {

TWaveCycle Ramp() {  // 0, 1, ..., 149
  TWaveCycle w{};
  for (int i = 0; i < kWaveSamples; ++i) w[i] = static_cast<std::uint8_t>(i);
  return w;
}
TWaveCycle Constant(int v) {
  TWaveCycle w{};
  w.fill(static_cast<std::uint8_t>(v));
  return w;
}
TWaveCycle Alternating(int even, int odd) {
  TWaveCycle w{};
  for (int i = 0; i < kWaveSamples; ++i) w[i] = static_cast<std::uint8_t>(i % 2 ? odd : even);
  return w;
}

TWaveCycle ThreeLevels(int a, int b, int c) {  // a, b, c, a, b, c, ...
  TWaveCycle w{};
  for (int i = 0; i < kWaveSamples; ++i) w[i] = static_cast<std::uint8_t>(i % 3 == 0 ? a : i % 3 == 1 ? b : c);
  return w;
}

// A few samples of a result: index -> expected level.
using Spots = std::vector<std::pair<int, int>>;

struct OpCase {
  const char* name;
  TWaveCycle (*op)(const TWaveCycle&);
  TWaveCycle input;
  Spots expected;
};

TWaveCycle Mix75(const TWaveCycle& w) { return MixWaves(w, Constant(75)); }
TWaveCycle MixRamp(const TWaveCycle& w) { return MixWaves(w, Ramp()); }

TEST(WavePresetEdit, ReshapingCommands) {
  const OpCase cases[] = {
      // Mix: (other + s) div 2, the remainder dropped.
      {"mix ramp+75", Mix75, Ramp(), {{0, 37}, {1, 38}, {2, 38}, {149, 112}}},
      {"mix const+ramp", MixRamp, Constant(10), {{0, 5}, {1, 5}, {3, 6}, {149, 79}}},
      {"mix alternating", Mix75, Alternating(0, 149), {{0, 37}, {1, 112}}},
      // Smooth: circular mean of three, rounded half to even.
      {"smooth ramp", SmoothWave, Ramp(), {{0, 50}, {1, 1}, {75, 75}, {148, 148}, {149, 99}}},
      {"smooth constant", SmoothWave, Constant(33), {{0, 33}, {149, 33}}},
      {"smooth alternating", SmoothWave, Alternating(0, 149), {{0, 99}, {1, 50}, {148, 99}, {149, 50}}},
      {"smooth alternating 1/2", SmoothWave, Alternating(1, 2), {{0, 2}, {1, 1}}},  // 5/3 -> 2, 4/3 -> 1
      // Maximize: centre on (hi + lo) / 2, stretch by 149 / (hi - lo), + 74.5.
      {"maximize ramp", MaximizeWave, Ramp(), {{0, 0}, {1, 1}, {74, 74}, {75, 75}, {149, 149}}},
      {"maximize constant", MaximizeWave, Constant(40), {{0, 74}, {149, 74}}},
      {"maximize constant 0", MaximizeWave, Constant(0), {{0, 74}}},
      {"maximize alternating", MaximizeWave, Alternating(10, 20), {{0, 0}, {1, 149}}},
      // Alternating 70/72: k = 74.5, (70 - 71) x 74.5 + 74.5 = 0, (72 - 71) x 74.5 + 74.5 = 149.
      {"maximize alternating narrow", MaximizeWave, Alternating(70, 72), {{0, 0}, {1, 149}}},
      // 0, 1, 2: k = 74.5, the middle level lands on 74.5 -> 74 (half to even).
      {"maximize three levels", MaximizeWave, ThreeLevels(0, 1, 2), {{0, 0}, {1, 74}, {2, 149}}},
      {"maximize three levels high", MaximizeWave, ThreeLevels(100, 103, 106), {{0, 0}, {1, 74}, {2, 149}}},
      {"mirror h ramp", MirrorWaveH, Ramp(), {{0, 149}, {1, 148}, {149, 0}}},
      {"mirror h alternating", MirrorWaveH, Alternating(0, 149), {{0, 149}, {1, 0}}},
      {"mirror h constant", MirrorWaveH, Constant(5), {{0, 5}, {149, 5}}},
      {"mirror v ramp", MirrorWaveV, Ramp(), {{0, 149}, {149, 0}, {75, 74}}},
      {"mirror v constant", MirrorWaveV, Constant(75), {{0, 74}}},
      {"mirror v alternating", MirrorWaveV, Alternating(0, 149), {{0, 149}, {1, 0}}},
      {"double ramp", DoubleWaveFrequency, Ramp(), {{0, 0}, {1, 2}, {74, 148}, {75, 0}, {149, 148}}},
      {"double alternating", DoubleWaveFrequency, Alternating(0, 149), {{0, 0}, {1, 0}, {149, 0}}},
      {"double constant", DoubleWaveFrequency, Constant(9), {{77, 9}}},
      {"half ramp", HalveWaveFrequency, Ramp(), {{0, 0}, {1, 0}, {2, 1}, {149, 74}}},
      {"half alternating", HalveWaveFrequency, Alternating(0, 149), {{0, 0}, {1, 0}, {2, 149}, {3, 149}}},
      {"half constant", HalveWaveFrequency, Constant(9), {{149, 9}}},
  };
  for (const OpCase& c : cases) {
    SCOPED_TRACE(c.name);
    const TWaveCycle out = c.op(c.input);
    for (const auto& [i, v] : c.expected) EXPECT_EQ(out[i], v) << "sample " << i;
    for (int i = 0; i < kWaveSamples; ++i) EXPECT_LE(out[i], 149) << "sample " << i;
  }
}

TEST(WavePresetEdit, SmoothAndMaximizeEveryInteriorSampleOfTheRamp) {
  const TWaveCycle s = SmoothWave(Ramp()), m = MaximizeWave(Ramp());
  for (int i = 1; i < 149; ++i) EXPECT_EQ(s[i], i);
  for (int i = 0; i < 150; ++i) EXPECT_EQ(m[i], i);
}

TEST(WavePresetEdit, SilenceAndRandom) {
  TWaveCycle w = Ramp();
  SilenceWave(w);
  EXPECT_EQ(w, Constant(75));
  TWaveCycle a{}, b{};
  RandomWave(a, 1);
  RandomWave(b, 1);
  EXPECT_EQ(a, b);
  std::vector<int> seen(150, 0);
  for (std::uint64_t seed = 0; seed < 20; ++seed) {
    RandomWave(a, seed);
    for (auto s : a) {
      ASSERT_LE(s, 149);
      seen[s] = 1;
    }
  }
  EXPECT_EQ(std::count(seen.begin(), seen.end(), 1), 150);  // the whole range is reachable
}

TEST(WavePresetEdit, VolumeTruncatesTheRealQuotient) {
  struct Case {
    const char* name;
    TWaveCycle input;
    int percent;
    Spots expected;
  };
  const Case cases[] = {
      // (0 - 75) x 50 / 100 + 75 = 37.5 -> 37 (integer division would give 38).
      {"ramp 50 %", Ramp(), 50, {{0, 37}, {1, 38}, {74, 74}, {75, 75}, {76, 75}, {149, 112}}},
      {"ramp 100 %", Ramp(), 100, {{0, 0}, {149, 149}, {80, 80}}},
      {"ramp 0 %", Ramp(), 0, {{0, 75}, {149, 75}}},
      {"ramp 500 %", Ramp(), 500, {{0, 0}, {60, 0}, {74, 70}, {76, 80}, {149, 149}}},
      {"ramp 33 %", Ramp(), 33, {{0, 50}, {1, 50}, {149, 99}}},  // 50.25, 50.58, 99.42
      {"constant 250 %", Constant(70), 250, {{0, 62}}},  // 62.5
      {"alternating 200 %", Alternating(0, 149), 200, {{0, 0}, {1, 149}}},
      {"alternating 90 %", Alternating(0, 149), 90, {{0, 7}, {1, 141}}},  // 7.5, 141.6
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TWaveCycle out = ApplyVolume(c.input, c.percent);
    for (const auto& [i, v] : c.expected) EXPECT_EQ(out[i], v) << "sample " << i;
  }
  EXPECT_EQ(VolumePercent(kVolumeBarDefault), 100);
  EXPECT_EQ(VolumePercent(kVolumeBarMin), 500);
  EXPECT_EQ(VolumePercent(kVolumeBarMax), 0);
  EXPECT_EQ(VolumeLabel(100), "100 %");
}

TEST(WavePresetEdit, DrawingAtTheCornersAndAlongALine) {
  TWaveCycle w = Constant(75);
  EXPECT_EQ(MousePositionText(0, 0), "1-1");
  EXPECT_EQ(MousePositionText(149, 149), "150-150");
  EXPECT_TRUE(SetSampleAtPoint(w, 0, 0));
  EXPECT_EQ(w[0], 149);
  EXPECT_TRUE(SetSampleAtPoint(w, 149, 149));
  EXPECT_EQ(w[149], 0);
  EXPECT_FALSE(SetSampleAtPoint(w, 150, 0));
  EXPECT_FALSE(SetSampleAtPoint(w, 0, -1));
  EXPECT_EQ(w[1], 75);

  // Corner to corner in both directions: sample i = 149 - i, every column told.
  for (bool backwards : {false, true}) {
    TWaveCycle d = Constant(75);
    std::vector<int> columns;
    if (backwards) DrawSampleLine(d, 149, 149, 0, 0, [&](int c, std::uint8_t, std::uint8_t) { columns.push_back(c); });
    else DrawSampleLine(d, 0, 0, 149, 149, [&](int c, std::uint8_t, std::uint8_t) { columns.push_back(c); });
    for (int i = 0; i < 150; ++i) EXPECT_EQ(d[i], 149 - i);
    ASSERT_EQ(columns.size(), 150u);
    EXPECT_EQ(columns.front(), backwards ? 149 : 0);
    EXPECT_EQ(columns.back(), backwards ? 0 : 149);
  }
  // From (0, 0) to (2, 1): y = 0, 0.5, 1 -> rows 0, 0 (half to even), 1.
  TWaveCycle d = Constant(75);
  std::vector<std::pair<int, int>> changes;
  DrawSampleLine(d, 0, 0, 2, 1, [&](int, std::uint8_t o, std::uint8_t n) { changes.push_back({o, n}); });
  EXPECT_EQ(d[0], 149);
  EXPECT_EQ(d[1], 149);
  EXPECT_EQ(d[2], 148);
  EXPECT_EQ(d[3], 75);
  EXPECT_EQ(changes, (std::vector<std::pair<int, int>>{{75, 149}, {75, 149}, {75, 148}}));
  // A vertical move within one column changes nothing.
  DrawSampleLine(d, 3, 0, 3, 149);
  EXPECT_EQ(d[3], 75);
  EXPECT_THROW(DrawSampleLine(d, 0, 0, 150, 0), std::invalid_argument);
}

TEST(WavePresetEdit, FunctionGeneratorColumnsAndVariables) {
  const TFunctionWindow full;
  TWaveCycle buffer{};
  // x runs from -1/149 at column 0 to 148/149 at column 149.
  {
    const auto r = EvaluateFunction("x", "0", "1", full, Constant(0), buffer);
    EXPECT_FALSE(r.Failed);
    // v = x x 74.5 + 74.5: column 0 -> 74.5 - 0.5 = 74, column 149 -> 74.5 + 74 = 148.5 -> 148.
    EXPECT_EQ(buffer[0], 74);
    EXPECT_EQ(buffer[149], 148);
  }
  // y alone gives the working wave back on the full window.
  for (const TWaveCycle& w : {Ramp(), Alternating(0, 149), Constant(75)}) {
    TWaveCycle b{};
    EXPECT_FALSE(EvaluateFunction("y", "0", "1", full, w, b).Failed);
    EXPECT_EQ(b, w);
  }
  // A window: only its columns are written; bottom/top scale the value.
  {
    TWaveCycle b = Constant(7);
    const TFunctionWindow win{11, 21, 41, 61};  // columns 10..20, levels 40..60
    EXPECT_FALSE(EvaluateFunction("1", "0", "1", win, Ramp(), b).Failed);
    EXPECT_EQ(b[9], 7);
    EXPECT_EQ(b[10], 60);  // 1 x 10 + 50
    EXPECT_EQ(b[20], 60);
    EXPECT_EQ(b[21], 7);
    EXPECT_FALSE(EvaluateFunction("-1", "0", "1", win, Ramp(), b).Failed);
    EXPECT_EQ(b[15], 40);
    EXPECT_FALSE(EvaluateFunction("5", "0", "1", win, Ramp(), b).Failed);  // 100, held to 149
    EXPECT_EQ(b[15], 100);
    EXPECT_FALSE(EvaluateFunction("-9", "0", "1", win, Ramp(), b).Failed);  // below 0 -> 0
    EXPECT_EQ(b[15], 0);
  }
  // sin(2 pi x) over xmin 0, xmax 149/150... checked at its closed form.
  {
    TWaveCycle b{};
    EXPECT_FALSE(EvaluateFunction("sin(2*pi*x)", "0", "1", full, Ramp(), b).Failed);
    for (int c = 0; c < 150; ++c) {
      const float slope = static_cast<float>(1.0L / 149.0L), offset = static_cast<float>(0.0L - 1.0L * slope);
      const long double x = c * static_cast<long double>(slope) + offset;
      const float v = static_cast<float>(std::sin(2.0L * std::numbers::pi_v<long double> * x) * 74.5L + 74.5L);
      EXPECT_EQ(b[c], static_cast<int>(std::nearbyint(v))) << c;
    }
  }
  // E is e, PI is pi, names in any case.
  {
    TWaveCycle b{};
    EXPECT_FALSE(EvaluateFunction("ln(E)-Pi+PI", "0", "1", full, Ramp(), b).Failed);
    EXPECT_EQ(b[0], 149);  // 1 x 74.5 + 74.5 = 149
  }
}

TEST(WavePresetEdit, FunctionGeneratorFailures) {
  const TFunctionWindow full;
  struct Case {
    const char* formula;
    const char* xMin;
    const char* xMax;
    int parseError;
    bool columnsWritten;
  };
  const Case cases[] = {
      {"x+", "0", "1", 3, false},
      {"z", "0", "1", 3, false},
      {"sin 1", "0", "1", 5, false},
      {"(1", "0", "1", 6, false},
      {"1 2", "0", "1", 4, false},
      {"1/x", "0", "1", 0, true},         // column 1 has x = 0: only it fails
      {"1", "1/0", "1", 0, false},        // a failing bound: no column evaluated
      {"1", "0", "(", 3, false},
      {"1", "1E39", "1", 0, false},       // beyond the float range
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.formula + std::string(" ") + c.xMin + " " + c.xMax);
    TWaveCycle b = Constant(7);
    const TFunctionEvaluation r = EvaluateFunction(c.formula, c.xMin, c.xMax, full, Ramp(), b);
    EXPECT_TRUE(r.Failed);
    EXPECT_EQ(r.ParseError, c.parseError);
    EXPECT_EQ(b[50] != 7, c.columnsWritten);
    if (c.columnsWritten) {
      EXPECT_EQ(b[1], 7);  // the failing column keeps its byte
    }
  }
  TWaveCycle unused{};
  EXPECT_THROW(EvaluateFunction("1", "0", "1", {5, 5, 1, 150}, Ramp(), unused), std::invalid_argument);
  EXPECT_THROW(EvaluateFunction("1", "0", "1", {0, 150, 1, 150}, Ramp(), unused), std::invalid_argument);
  EXPECT_THROW(EvaluateFunction("1", "0", "1", {1, 150, 20, 10}, Ramp(), unused), std::invalid_argument);
  EXPECT_EQ(FunctionErrorText(1), "Parser stack overflow.");
  EXPECT_EQ(FunctionErrorText(2), "Bad cell range.");
  EXPECT_EQ(FunctionErrorText(3), "Expected expression.");
  EXPECT_EQ(FunctionErrorText(4), "Expected operator.");
  EXPECT_EQ(FunctionErrorText(5), "Expected opening parenthesis.");
  EXPECT_EQ(FunctionErrorText(6), "Expected operator or closing parenthesis.");
  EXPECT_EQ(FunctionErrorText(7), "");
}

TEST(WavePresetEdit, InsertTermAtTheCaret) {
  EXPECT_EQ(InsertTerm("x+", 2, kInsertTerms[0].Text), "x+sin ()");
  EXPECT_EQ(InsertTerm("x+1", 0, kInsertTerms[10].Text), "Pix+1");
  EXPECT_EQ(InsertTerm("ab", 99, "e"), "abe");
  EXPECT_STREQ(kInsertTerms[6].Caption, "Sqrt");
  EXPECT_STREQ(kInsertTerms[6].Text, "sqrt ()");
}

TEST(WavePresetEdit, SpectrumPeakBarOfACycle) {
  // k periods of a cosine in 150 samples, repeated to 1024 points: the energy
  // sits at bin 1024 k / 150, i.e. bar 512 k / 150.
  for (int k : {5, 15, 30, 60}) {
    SCOPED_TRACE(k);
    TWaveCycle w{};
    for (int n = 0; n < 150; ++n)
      w[n] = static_cast<std::uint8_t>(std::lround(75 + 70 * std::cos(2 * std::numbers::pi * k * n / 150.0)));
    const TSpectrumBars bars = SpectrumBars(w);
    const int peak = static_cast<int>(std::max_element(bars.begin() + 3, bars.end()) - bars.begin());
    EXPECT_NEAR(peak, 512.0 * k / 150.0, 1.0);
    // DC: 1024 samples whose mean is near 75 give about 1024 x 75 in bin 0.
    EXPECT_NEAR(bars[0], (1024 * 75.0 + 0) / 2, 1024 * 75.0 * 0.05);
    const float scale = SpectrumScale(bars, 65);
    EXPECT_FLOAT_EQ(scale, bars[peak] / 64.0f);
    EXPECT_EQ(SpectrumBarY(bars[peak], scale, 65), 0);  // the peak touches the top
    EXPECT_EQ(SpectrumBarY(0.0f, scale, 65), 64);
  }
  // A flat cycle: no bar from 3 on, so the scale falls back to 1.
  const TSpectrumBars flat = SpectrumBars(Constant(75));
  EXPECT_EQ(SpectrumScale(flat, 65), 1.0f);
  EXPECT_EQ(SpectrumScale(SpectrumBars(Ramp()), 1), 1.0f);
  // bar 0 of a flat cycle: bins 0 and 1 = (1024 x 75 + 0) / 2.
  EXPECT_FLOAT_EQ(flat[0], 1024 * 75 / 2.0f);
}

TEST(WavePresetEdit, FilterPassBandAndBars) {
  // Width 256: position p maps to Round(255 x (100 - p) / 100).
  EXPECT_EQ(FilterPassBand(TFilterKind::kLowpass, 50, 0, 256).From, 0);
  EXPECT_EQ(FilterPassBand(TFilterKind::kLowpass, 50, 0, 256).To, 128);  // 127.5 -> 128
  EXPECT_EQ(FilterPassBand(TFilterKind::kHighpass, 0, 90, 256).From, 26);  // 25.5 -> 26
  EXPECT_EQ(FilterPassBand(TFilterKind::kHighpass, 0, 90, 256).To, 255);
  const TPassBand band = FilterPassBand(TFilterKind::kBandpass, 70, 30, 256);
  EXPECT_EQ(band.From, 178);  // 178.5 -> 178
  EXPECT_EQ(band.To, 76);     // 76.5 -> 76
  const TPassBand none = FilterPassBand(TFilterKind::kNone, 50, 50, 256);
  EXPECT_GT(none.From, none.To);

  struct Case {
    TFilterBars in;
    bool f1Moved, bandpass;
    TFilterBars out;
  };
  const Case cases[] = {
      {{40, 60}, true, true, {40, 39}},
      {{40, 30}, true, true, {40, 30}},
      {{0, 10}, true, true, {1, 0}},
      {{0, 0}, true, false, {1, 0}},
      {{40, 60}, true, false, {40, 60}},
      {{60, 60}, false, true, {61, 60}},
      {{100, 100}, false, true, {100, 99}},
      {{50, 60}, false, false, {50, 60}},
  };
  for (const Case& c : cases) {
    const TFilterBars r = c.f1Moved ? FilterBarsAfterF1Change(c.in, c.bandpass) : FilterBarsAfterF2Change(c.in, c.bandpass);
    EXPECT_EQ(r.F1, c.out.F1) << c.in.F1 << " " << c.in.F2;
    EXPECT_EQ(r.F2, c.out.F2) << c.in.F1 << " " << c.in.F2;
  }
  const TFilterBars swapped = FilterBarsForBandpass({20, 70});
  EXPECT_EQ(swapped.F1, 70);
  EXPECT_EQ(swapped.F2, 20);
}

TEST(WavePresetEdit, FilterTapsAreTheIdealResponse) {
  const long double pi = std::numbers::pi_v<long double>;
  // Lowpass at half the Nyquist rate: centre 0.5, h[64 +- i] = sin(i pi / 2) / (i pi).
  const auto lp = FilterTaps(TFilterKind::kLowpass, 50, 50);
  EXPECT_EQ(lp[64], 0.5f);
  for (int i = 1; i <= 64; ++i) {
    EXPECT_EQ(lp[64 - i], lp[64 + i]);
    EXPECT_FLOAT_EQ(lp[64 + i], static_cast<float>(std::sin(i * pi * 0.5L) / (i * pi)));
  }
  EXPECT_NEAR(lp[66], 0.0f, 1e-18f);  // sin(pi), zero but for rounding
  // The sum of the taps is the response at DC: about 1 for the lowpass, about
  // 0 for the high- and bandpass (truncated sinc, so not exactly).
  auto sum = [](const std::array<float, 129>& h) {
    long double s = 0;
    for (float v : h) s += v;
    return s;
  };
  EXPECT_NEAR(sum(lp), 1.0L, 0.01L);
  EXPECT_NEAR(sum(FilterTaps(TFilterKind::kHighpass, 0, 50)), 0.0L, 0.01L);
  EXPECT_NEAR(sum(FilterTaps(TFilterKind::kBandpass, 70, 30)), 0.0L, 0.01L);
  // Full-band lowpass (F1 = 0): a single unit tap, the identity.
  const auto all = FilterTaps(TFilterKind::kLowpass, 0, 50);
  EXPECT_EQ(all[64], 1.0f);
  for (int i = 1; i <= 64; ++i) EXPECT_NEAR(all[64 + i], 0.0f, 1e-18f);
  // Highpass + lowpass at the same edge: the identity again.
  const auto hp = FilterTaps(TFilterKind::kHighpass, 0, 50);
  for (int i = 0; i < 129; ++i) EXPECT_NEAR(hp[i] + lp[i], i == 64 ? 1.0f : 0.0f, 1e-7f);
}

}  // namespace

namespace {

TWaveCycle Cosine(int periods, int amplitude) {
  TWaveCycle w{};
  for (int n = 0; n < 150; ++n)
    w[n] = static_cast<std::uint8_t>(std::lround(75 + amplitude * std::cos(2 * std::numbers::pi * periods * n / 150.0)));
  return w;
}

TEST(WavePresetEdit, FilterIdentityKeepsTheDelayAndFlatWavesGiveZero) {
  // F1 = 0 is the full band: one unit tap at the centre, so the preview is
  // the wave 64 samples late, already spanning 0..149.
  const auto identity = FilterTaps(TFilterKind::kLowpass, 0, 50);
  for (const TWaveCycle& w : {Ramp(), Alternating(0, 149), ThreeLevels(0, 149, 20)}) {
    const TWaveCycle out = FilteredWave(w, identity);
    for (int i = 0; i < 150; ++i) ASSERT_EQ(out[i], w[(i - 64 + 150) % 150]) << i;
  }
  // A wave not spanning the range is stretched: 10/20 alternating -> 0/149.
  const TWaveCycle narrow = FilteredWave(Alternating(10, 20), identity);
  EXPECT_EQ(narrow[0], 0);
  EXPECT_EQ(narrow[1], 149);
  // A flat wave gives a flat output, which maps to all 0, for every filter.
  for (const auto& taps : {identity, FilterTaps(TFilterKind::kLowpass, 50, 50), FilterTaps(TFilterKind::kHighpass, 0, 30),
                           FilterTaps(TFilterKind::kBandpass, 80, 20)})
    for (int level : {0, 75, 149}) EXPECT_EQ(FilteredWave(Constant(level), taps), Constant(0)) << level;
}

TEST(WavePresetEdit, FilterPassesOrRemovesACosine) {
  // Three periods per cycle are 3/75 of the Nyquist rate: a lowpass at half
  // the rate keeps the cosine (64 samples late), a highpass at half the rate
  // leaves only the ripple of the truncated response.
  const TWaveCycle w = Cosine(3, 70);
  const TWaveCycle low = FilteredWave(w, FilterTaps(TFilterKind::kLowpass, 50, 50));
  for (int i = 0; i < 150; ++i) {
    const double expected = 74.5 + 74.5 * std::cos(2 * std::numbers::pi * 3 * (i - 64) / 150.0);
    EXPECT_NEAR(low[i], expected, 2.0) << i;
  }
  // A bandpass around 40 periods (0.53 of Nyquist) keeps 40 periods and
  // drops 3: the preview follows the fast cosine.
  TWaveCycle mixed{};
  for (int n = 0; n < 150; ++n)
    mixed[n] = static_cast<std::uint8_t>(std::lround(75 + 35 * std::cos(2 * std::numbers::pi * 3 * n / 150.0) +
                                                     35 * std::cos(2 * std::numbers::pi * 40 * n / 150.0)));
  const TWaveCycle band = FilteredWave(mixed, FilterTaps(TFilterKind::kBandpass, 60, 40));
  for (int i = 0; i < 150; ++i) {
    const double expected = 74.5 + 74.5 * std::cos(2 * std::numbers::pi * 40 * (i - 64) / 150.0);
    EXPECT_NEAR(band[i], expected, 12.0) << i;
  }
}

}  // namespace
