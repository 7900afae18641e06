#include "WavePresetEdit.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <numbers>
#include <random>
#include <stdexcept>
#include <vector>

#include "Parser.h"
#include "zqvp4.h"

namespace {

bool InBox(int x, int y) { return x >= 0 && x <= kWaveTop && y >= 0 && y <= kWaveTop; }

std::uint8_t Level(int v) { return static_cast<std::uint8_t>(std::clamp(v, 0, kWaveTop)); }

}  // namespace

std::string MousePositionText(int x, int y) { return std::to_string(x + 1) + "-" + std::to_string(y + 1); }

bool SetSampleAtPoint(TWaveCycle& wave, int x, int y) {
  if (!InBox(x, y)) return false;
  wave[x] = static_cast<std::uint8_t>(kWaveTop - y);
  return true;
}

void DrawSampleLine(TWaveCycle& wave, int x0, int y0, int x1, int y1,
                    const std::function<void(int, std::uint8_t, std::uint8_t)>& touched) {
  if (!InBox(x0, y0) || !InBox(x1, y1)) throw std::invalid_argument("DrawSampleLine: point outside the box");
  if (x0 == x1) return;
  const int step = x1 > x0 ? 1 : -1;
  for (int i = x0;; i += step) {
    const long double y = y0 + static_cast<long double>(y1 - y0) * (i - x0) / (x1 - x0);
    const std::uint8_t old = wave[i];
    wave[i] = static_cast<std::uint8_t>(kWaveTop - RoundToLevel(y, 0, kWaveTop));
    if (touched) touched(i, old, wave[i]);
    if (i == x1) break;
  }
}

void SilenceWave(TWaveCycle& wave) { wave.fill(kWaveCentre); }

void RandomWave(TWaveCycle& wave, std::uint64_t seed) {
  std::mt19937_64 rng(seed);
  std::uniform_int_distribution<int> level(0, kWaveTop);
  for (auto& s : wave) s = static_cast<std::uint8_t>(level(rng));
}

TWaveCycle MixWaves(const TWaveCycle& wave, const TWaveCycle& other) {
  TWaveCycle out{};
  for (int i = 0; i < kWaveSamples; ++i) out[i] = static_cast<std::uint8_t>((other[i] + wave[i]) / 2);
  return out;
}

TWaveCycle SmoothWave(const TWaveCycle& wave) {
  TWaveCycle out{};
  for (int i = 0; i < kWaveSamples; ++i) {
    const int sum = wave[(i + kWaveSamples - 1) % kWaveSamples] + wave[i] + wave[(i + 1) % kWaveSamples];
    out[i] = static_cast<std::uint8_t>(RoundToLevel(sum / 3.0L, 0, kWaveTop));
  }
  return out;
}

TWaveCycle MaximizeWave(const TWaveCycle& wave) {
  const auto [lo, hi] = std::minmax_element(wave.begin(), wave.end());
  const long double k = *hi == *lo ? 1.0L : 149.0L / (*hi - *lo);
  const long double middle = (*hi + *lo) / 2.0L;
  TWaveCycle out{};
  for (int i = 0; i < kWaveSamples; ++i)
    out[i] = static_cast<std::uint8_t>(RoundToLevel((wave[i] - middle) * k + 74.5L, 0, kWaveTop));
  return out;
}

TWaveCycle MirrorWaveH(const TWaveCycle& wave) {
  TWaveCycle out{};
  for (int i = 0; i < kWaveSamples; ++i) out[i] = wave[kWaveTop - i];
  return out;
}

TWaveCycle MirrorWaveV(const TWaveCycle& wave) {
  TWaveCycle out{};
  // Levels above 149 cannot come from the editors; keep them from wrapping.
  for (int i = 0; i < kWaveSamples; ++i) out[i] = Level(kWaveTop - wave[i]);
  return out;
}

TWaveCycle DoubleWaveFrequency(const TWaveCycle& wave) {
  TWaveCycle out{};
  for (int i = 0; i < kWaveSamples; ++i) out[i] = wave[(2 * i) % kWaveSamples];
  return out;
}

TWaveCycle HalveWaveFrequency(const TWaveCycle& wave) {
  TWaveCycle out{};
  for (int i = 0; i < kWaveSamples; ++i) out[i] = wave[i / 2];
  return out;
}

std::string VolumeLabel(int percent) { return std::to_string(percent) + " %"; }

TWaveCycle ApplyVolume(const TWaveCycle& wave, int percent) {
  TWaveCycle out{};
  for (int i = 0; i < kWaveSamples; ++i) {
    // A real quotient, stored as a float, then cut toward zero: integer
    // division would round the negative side the other way.
    float v = static_cast<float>((wave[i] - 75) * static_cast<long double>(percent) / 100.0L + 75.0L);
    if (v > 149.0f) v = 149.0f;
    if (v < 0.0f) v = 0.0f;
    out[i] = static_cast<std::uint8_t>(std::trunc(v));
  }
  return out;
}

// ---- Function generator ----

namespace {

struct ParsedBound {
  bool ok = false;
  float value = 0.0f;
};

}  // namespace

TFunctionEvaluation EvaluateFunction(const std::string& formula, const std::string& xMinText,
                                     const std::string& xMaxText, const TFunctionWindow& w,
                                     const TWaveCycle& wave, TWaveCycle& buffer) {
  if (w.Left < 1 || w.Right > kWaveSamples || w.Left >= w.Right || w.Bottom < 1 || w.Top > kWaveSamples ||
      w.Bottom >= w.Top)
    throw std::invalid_argument("EvaluateFunction: window outside 1..150 or empty");
  TFunctionEvaluation result;
  int column = 0;
  float slope = 0.0f, offset = 0.0f;
  TMathParser parser;
  parser.OnParseError = [&](TMathParser&, int code) { result.ParseError = code; };
  parser.OnGetVar = [&](TMathParser&, const std::string& name, long double& value, bool& found) {
    std::string upper = name;
    for (char& c : upper) c = (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
    found = true;
    if (upper == "X") value = column * static_cast<long double>(slope) + offset;
    else if (upper == "Y") value = wave[column] * 2.0L / 149.0L - 1.0L;
    else if (upper == "PI") value = std::numbers::pi_v<long double>;
    else if (upper == "E") value = std::numbers::e_v<long double>;
    else found = false;
  };
  auto bound = [&](const std::string& text, float fallback) {
    parser.ParseString = text;
    parser.Parse();
    if (!parser.ParseFailed) {
      const long double v = parser.ParseResult;
      // A bound beyond the float range would be infinite; take it as failed.
      if (std::fabs(v) <= std::numeric_limits<float>::max()) return static_cast<float>(v);
    }
    result.Failed = true;
    return fallback;
  };
  const float xMin = bound(xMinText, 0.0f);
  const float xMax = bound(xMaxText, 1.0f);
  slope = static_cast<float>((static_cast<long double>(xMax) - xMin) / (w.Right - w.Left));
  offset = static_cast<float>(xMin - w.Left * static_cast<long double>(slope));
  if (result.Failed) return result;
  const long double half = (w.Top - w.Bottom) * 0.5L;
  const long double mid = w.Bottom + half - 1;
  parser.ParseString = formula;
  for (column = w.Left - 1; column <= w.Right - 1; ++column) {
    parser.Parse();
    if (parser.ParseFailed) {
      result.Failed = true;
      continue;
    }
    const long double scaled = parser.ParseResult * half + mid;
    // Stored as a float; anything that is not a level >= 0 (NaN too) is 0.
    const float v = std::fabs(scaled) <= std::numeric_limits<float>::max() ? static_cast<float>(scaled)
                                                                            : (scaled > 0 ? 150.0f : 0.0f);
    buffer[column] = static_cast<std::uint8_t>(RoundToLevel(v, 0, kWaveTop));
  }
  return result;
}

std::string FunctionErrorText(int code) {
  static const char* const texts[] = {"Parser stack overflow.", "Bad cell range.", "Expected expression.",
                                      "Expected operator.", "Expected opening parenthesis.",
                                      "Expected operator or closing parenthesis."};
  return code >= 1 && code <= 6 ? texts[code - 1] : "";
}

const std::array<TInsertTerm, 12> kInsertTerms = {{{"Sin", "sin ()"},
                                                   {"Cos", "cos ()"},
                                                   {"Atan", "atan ()"},
                                                   {"Exp", "exp ()"},
                                                   {"Ln", "ln ()"},
                                                   {"Sqr", "sqr ()"},
                                                   {"Sqrt", "sqrt ()"},
                                                   {"Abs", "abs ()"},
                                                   {"Round", "round ()"},
                                                   {"Trunc", "trunc ()"},
                                                   {"Pi", "Pi"},
                                                   {"e", "e"}}};

std::string InsertTerm(const std::string& text, std::size_t selStart, const std::string& term) {
  const std::size_t at = std::min(selStart, text.size());
  return text.substr(0, at) + term + text.substr(at);
}

// ---- Spectrum ----

TSpectrumBars SpectrumBars(const TWaveCycle& wave) {
  constexpr int kOrder = 10, kPoints = 1 << kOrder;
  std::vector<float> buffer(kPoints + 2, 0.0f);  // the transform writes N + 2 values
  for (int i = 0; i < kPoints; ++i) buffer[i] = wave[i % kWaveSamples];
  zqvsRealFft(buffer.data(), kOrder, ZQV_Forw);
  std::vector<float> mag(kPoints / 2, 0.0f);
  zqvcbMag(reinterpret_cast<const ZqvCplxS*>(buffer.data()), mag.data(), kPoints / 2);
  TSpectrumBars bars{};
  for (int j = 0; j < kSpectrumBars; ++j)
    bars[j] = static_cast<float>((static_cast<long double>(mag[2 * j]) + mag[2 * j + 1]) * 0.5L);
  return bars;
}

float SpectrumScale(const TSpectrumBars& bars, int height) {
  float peak = 0.0f;
  for (int j = kSpectrumFirstDrawnBar; j < kSpectrumBars; ++j) peak = std::max(peak, bars[j]);
  float scale = static_cast<float>(peak / (height - 1.0L));
  if (height < 2 || !(scale > 0.0f)) scale = 1.0f;
  return scale;
}

int SpectrumBarY(float bar, float scale, int height) {
  // A bar never exceeds the peak, so this stays in the box; held anyway.
  return height - RoundToLevel(static_cast<long double>(bar) / scale, 0, std::max(height - 1, 0)) - 1;
}

// ---- Filter ----

namespace {

int BandEdge(int width, int position) {
  return static_cast<int>(RoundHalfEven((width - 1) * static_cast<long double>(100 - position) * 0.01L));
}

float FilterFrequency(int position) { return static_cast<float>((100 - position) * 0.01L); }

}  // namespace

TPassBand FilterPassBand(TFilterKind kind, int f1, int f2, int width) {
  switch (kind) {
    case TFilterKind::kLowpass: return {0, BandEdge(width, f1)};
    case TFilterKind::kHighpass: return {BandEdge(width, f2), width - 1};
    case TFilterKind::kBandpass: return {BandEdge(width, f2), BandEdge(width, f1)};
    case TFilterKind::kNone: break;
  }
  return {};
}

TFilterBars FilterBarsAfterF1Change(TFilterBars b, bool bandpass) {
  if (bandpass && b.F2 >= b.F1) b.F2 = std::max(b.F1 - 1, 0);
  if (b.F1 == 0 && b.F2 == 0) b.F1 = 1;
  return b;
}

TFilterBars FilterBarsAfterF2Change(TFilterBars b, bool bandpass) {
  if (bandpass && b.F2 >= b.F1) b.F1 = std::min(b.F2 + 1, 100);
  if (b.F1 == 100 && b.F2 == 100) b.F2 = 99;
  return b;
}

TFilterBars FilterBarsForBandpass(TFilterBars b) {
  if (b.F1 < b.F2) std::swap(b.F1, b.F2);
  return b;
}

std::array<float, kFilterTaps> FilterTaps(TFilterKind kind, int f1Position, int f2Position) {
  constexpr int kCentre = kFilterTaps / 2;
  const float f1 = FilterFrequency(f1Position), f2 = FilterFrequency(f2Position);
  const long double pi = std::numbers::pi_v<long double>;
  std::array<float, kFilterTaps> h{};
  switch (kind) {
    case TFilterKind::kLowpass: h[kCentre] = f1; break;
    case TFilterKind::kHighpass: h[kCentre] = static_cast<float>(1.0L - f2); break;
    case TFilterKind::kBandpass: h[kCentre] = static_cast<float>(static_cast<long double>(f2) - f1); break;
    case TFilterKind::kNone: return h;
  }
  for (int i = 1; i <= kCentre; ++i) {
    long double v = 0.0L;
    switch (kind) {
      case TFilterKind::kLowpass: v = std::sin(i * pi * f1) / (i * pi); break;
      case TFilterKind::kHighpass: v = -std::sin(i * pi * f2) / (i * pi); break;
      default: v = (std::sin(i * pi * f2) - std::sin(i * pi * f1)) / (i * pi); break;
    }
    h[kCentre - i] = h[kCentre + i] = static_cast<float>(v);
  }
  return h;
}

TWaveCycle FilteredWave(const TWaveCycle& wave, const std::array<float, kFilterTaps>& taps) {
  constexpr int kWarmUpCycles = 10;
  ZqvFirState state{};
  if (zqvsFirInit(taps.data(), kFilterTaps, nullptr, &state) != 1)
    throw std::runtime_error("The filter could not be set up.");
  std::array<float, kWaveSamples> y{};
  for (int i = 0; i < kWarmUpCycles * kWaveSamples; ++i) zqvsFir(&state, wave[i % kWaveSamples]);
  for (int i = 0; i < kWaveSamples; ++i) y[i] = zqvsFir(&state, wave[i]);
  zqvFirFree(&state);  // set up per computation, so released per computation
  const auto [lo, hi] = std::minmax_element(y.begin(), y.end());
  const long double range = static_cast<long double>(*hi) - *lo;
  const long double k = range > 0.0L ? 149.0L / range : 0.0L;
  TWaveCycle out{};
  for (int i = 0; i < kWaveSamples; ++i)
    out[i] = static_cast<std::uint8_t>(RoundToLevel(y[i] * k - *lo * k, 0, kWaveTop));
  return out;
}
