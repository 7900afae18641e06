// The operations of the wave-preset editor on a 150-sample cycle: drawing,
// the reshaping commands, volume, the function generator and the spectrum.
// Qt-free; the editor window keeps the working data and calls these.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>

#include "WaveCycle.h"

// ---- Drawing (box coordinates: column x shows sample x at y = 149 - s) ----

// "X+1-Y+1", the position shown under the mouse (for example "1-1" at 0, 0).
std::string MousePositionText(int x, int y);

// Sets the sample under a click; false (and nothing changed) outside the box.
bool SetSampleAtPoint(TWaveCycle& wave, int x, int y);

// Sets every column from x0 to x1 (both ends, either direction) to the line
// between the two points; x0 = x1 changes nothing. Both points must lie in
// 0..149. `touched` is told each column with its old and new value, so the
// window can repaint just those pixels.
void DrawSampleLine(TWaveCycle& wave, int x0, int y0, int x1, int y1,
                    const std::function<void(int column, std::uint8_t oldValue, std::uint8_t newValue)>& touched = {});

// ---- Reshaping ----

void SilenceWave(TWaveCycle& wave);                        // every sample 75
void RandomWave(TWaveCycle& wave, std::uint64_t seed);     // every sample 0..149
TWaveCycle MixWaves(const TWaveCycle& wave, const TWaveCycle& other);  // (a + b) div 2
TWaveCycle SmoothWave(const TWaveCycle& wave);             // circular three-point mean
TWaveCycle MaximizeWave(const TWaveCycle& wave);           // stretched to 0..149
TWaveCycle MirrorWaveH(const TWaveCycle& wave);            // time reversed
TWaveCycle MirrorWaveV(const TWaveCycle& wave);            // upside down
TWaveCycle DoubleWaveFrequency(const TWaveCycle& wave);    // two cycles in 150 samples
TWaveCycle HalveWaveFrequency(const TWaveCycle& wave);     // first half stretched

// ---- Volume bar: position 20..520, 420 is 100 % ----

constexpr int kVolumeBarMin = 20, kVolumeBarMax = 520, kVolumeBarDefault = 420;
inline int VolumePercent(int barPosition) { return kVolumeBarMax - barPosition; }
// "100 %" for the label.
std::string VolumeLabel(int percent);
// Each sample moved away from or towards 75 by percent, truncated, held to 0..149.
TWaveCycle ApplyVolume(const TWaveCycle& wave, int percent);

// ---- Function generator ----

// The drawing window of the generator in spin-edit units: Left < Right in
// 1..150, Bottom < Top in 1..150; columns Left-1..Right-1 are evaluated.
struct TFunctionWindow {
  int Left = 1, Right = 150, Bottom = 1, Top = 150;
};

struct TFunctionEvaluation {
  bool Failed = false;    // a bound or a column did not evaluate
  int ParseError = 0;     // last syntax error code reported, 0 for none
};

// Evaluates `formula` for every column of the window into `buffer` (other
// columns keep their bytes). The bounds are parsed first; when one fails
// (0 and 1 are then used for the slope) no column is evaluated. A failing
// column keeps its byte and the loop goes on. Variables: X (the column mapped
// linearly so that column Left-1 gets xmin - slope), Y (the wave's sample in
// -1..1), PI and E; names compare upper-cased. Throws std::invalid_argument
// for a window outside the ranges above.
TFunctionEvaluation EvaluateFunction(const std::string& formula, const std::string& xMinText,
                                     const std::string& xMaxText, const TFunctionWindow& window,
                                     const TWaveCycle& wave, TWaveCycle& buffer);

// The label texts of the parser's error codes 1..6; empty for any other.
std::string FunctionErrorText(int code);

// The terms of the Insert menu: caption and the text put at the caret.
struct TInsertTerm {
  const char* Caption;
  const char* Text;
};
extern const std::array<TInsertTerm, 12> kInsertTerms;
// text with `term` put in at byte `selStart` (held to the text's length).
std::string InsertTerm(const std::string& text, std::size_t selStart, const std::string& term);

// ---- Spectrum ----

constexpr int kSpectrumBars = 256;
constexpr int kSpectrumFirstDrawnBar = 3;  // bars 0..2 (DC and the lowest) are not drawn
using TSpectrumBars = std::array<float, kSpectrumBars>;

// The cycle repeated to 1024 points (no window), its magnitude spectrum,
// bins paired into 256 bars. Uses the library's real FFT and magnitude.
TSpectrumBars SpectrumBars(const TWaveCycle& wave);
// Height units per bar unit for a box `height` pixels high: the peak of
// bars 3..255 (at least 0) over height - 1, or 1 when that is not positive
// or the box is lower than 2 pixels.
float SpectrumScale(const TSpectrumBars& bars, int height);
// The y of a bar's point in the box.
int SpectrumBarY(float bar, float scale, int height);

// ---- Filter ----

enum class TFilterKind { kNone, kLowpass, kBandpass, kHighpass };
constexpr int kFilterBarDefault = 50;  // bar position p is (100 - p) % of the Nyquist rate

// The grey pass band behind the spectrum, columns From..To of a box `width`
// wide; empty (From > To) for kNone.
struct TPassBand {
  int From = 1, To = 0;
};
TPassBand FilterPassBand(TFilterKind kind, int f1Position, int f2Position, int width);

// The rules that keep the two bars apart while Bandpass is checked.
struct TFilterBars {
  int F1 = kFilterBarDefault, F2 = kFilterBarDefault;
};
TFilterBars FilterBarsAfterF1Change(TFilterBars bars, bool bandpass);
TFilterBars FilterBarsAfterF2Change(TFilterBars bars, bool bandpass);
TFilterBars FilterBarsForBandpass(TFilterBars bars);  // F1 >= F2, exchanged when not

// The 129 taps of the ideal (unwindowed) filter, centre tap 64.
constexpr int kFilterTaps = 129;
std::array<float, kFilterTaps> FilterTaps(TFilterKind kind, int f1Position, int f2Position);

// The filter preview: the taps run through the library's one-state FIR over
// ten cycles of the wave (outputs dropped, so the filter has settled), then
// one more cycle whose outputs, stretched to 0..149, are the preview. The
// filter's 64-sample delay stays in the result; a flat output gives all 0.
// The state lives only for this call. Throws std::runtime_error when the
// library cannot set the filter up.
TWaveCycle FilteredWave(const TWaveCycle& wave, const std::array<float, kFilterTaps>& taps);
