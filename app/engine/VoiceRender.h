// One voice prepared for the mix: its morph tables, envelope level table,
// timing, pitch step, vibrato ramps and lowpass ring, and the rendering of
// one sample of it.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

#include "core/Instrument.h"
#include "engine/Noise.h"
#include "engine/SampleSnapshot.h"

namespace kalvora::engine {

constexpr int kMorphSteps = 15000;    // 150 preset samples x 100 steps
constexpr int kEnvelopeLevels = 1021; // positions 0..1020 (255 x 4)
constexpr int kRingSize = 256;        // every width a byte can give, plus one

// A preset cycle as 15000 steps of the preset value x 256 (0..38144).
std::array<std::uint16_t, kMorphSteps> MorphTable(const std::array<std::uint8_t, TWavePreset::kSamples>& preset);
// An envelope's points as levels at positions 0..1020; positions no segment
// covers are 0.
std::array<std::uint8_t, kEnvelopeLevels> EnvelopeLevels(const TVolumeEnvelope& e);

struct TVoiceState {
  TVoice V;
  std::array<std::uint16_t, kMorphSteps> Source{}, Dest{};
  std::array<std::uint8_t, kEnvelopeLevels> Envelope{};
  std::int64_t Delay = 0, L = 0, Total = 0, End = 0;
  float Step = 0;
  float SpeedSlope = 0, SpeedBase = 0, DepthSlope = 0, DepthBase = 0;
  float WidthSlope = 0, WidthBase = 0;
  std::array<float, kRingSize> Ring{};
  int RingPos = 0;
};

// Start delay in samples.
std::int64_t StartDelaySamples(std::int32_t ms, int quality);
// Whole cycles x 150 of one repeat.
std::int64_t RepeatLength(std::int32_t timeMs, int quality);
// Morph-table steps per 1/100 output sample.
float PitchStep(const TVoice& v, const std::array<float, 73>& ratio, int octave, int note, int quality);

// Prepares the voices' timing (all voices) and tables (active voices); N is
// the largest end of an active voice.
std::vector<TVoiceState> PrepareVoices(const TSampleSnapshot& s, std::int64_t& n);
// Ramps that run over the whole sample's length N.
void PrepareRamps(TVoiceState& v, std::int64_t n, int quality);

// The voice's value at sample s (it sounds for start delay < s < end), one
// sample at a time in extended precision: the plain form that the span forms
// below (which the mix uses) must equal bit for bit.
float RenderVoice(TVoiceState& v, std::int64_t s, std::int64_t n, TNoiseGenerator& noise);

// The same in steps: the value before the voice lowpass; the value written to the ring
// (returns the lowpass width at sample s, 0 when the value passes unchanged);
// the weighted ring sums S of `count` voices (the voice's value is then
// float(S / (width + 1))).
float RenderVoiceDry(TVoiceState& v, std::int64_t s, std::int64_t n, TNoiseGenerator& noise);
int PushRing(TVoiceState& v, std::int64_t s, float x);
void RingSums(TVoiceState* const* voices, const int* widths, int count, float* sums);
// float(sum + a * b) with the sum in extended precision.
float AddProduct(float sum, float a, float b);

// The vibrato offset float((1 +- cos theta) x depth) with the cosine in
// extended precision (+ when up).
float VibratoOffset(float theta, long double depth, bool up);

// The values before the voice lowpass of samples from..to (all sounding)
// and the lowpass widths there, as RenderVoiceDry and LowpassWidth give them
// one by one; the voice's noise draws (source before destination) are taken
// from `draws` in order.
// `path` picks how: eight samples per vector where the processor can (Best),
// one sample at a time (Plain), or the vectors with every lane then redone
// one by one (VectorRedone, to test that the redone lanes land in place).
enum class TSpanPath { Best, Plain, VectorRedone };
void RenderVoiceSpan(TVoiceState& v, std::int64_t from, std::int64_t to, std::int64_t n, const std::int32_t* draws,
                     float* out, int* widths, TSpanPath path = TSpanPath::Best);

// Cosines of a run of angles: each from the one before by a rotation through
// the difference (when at most 0.5), a fresh library cosine every 64 angles.
class TCosineSteps {
 public:
  double Next(float theta);
  // A bound of the last result's distance from the true cosine.
  double Error() const { return error_; }

 private:
  static constexpr int kSteps = 63;
  double c_ = 1, s_ = 0, last_ = 0, error_ = 0;
  int steps_ = -1;
};

// Cosines of eight angles at once (vectors where the processor has them),
// each with a bound of its distance from the true cosine.
void CosinesOfEight(const float* thetas, double* cosines, double* errors);

// The vibrato offsets float((1 +- cos) x depth) of eight samples by the
// vector span's first check, from double depths and cosines with their
// error bounds: returns the lanes the check leaves undecided (all of them
// without the vector unit); the others' offsets are stored.
unsigned VibratoOffsetsOfEight(bool up, const double* depths, const double* cosines, const double* errors,
                               float* offsets);

// The voice lowpass width at sample s: 0..255, 0 when the value passes
// unchanged (or the voice has no lowpass).
int LowpassWidth(const TVoiceState& v, std::int64_t s);

// How the weighted ring sums of a span are computed: the widest vector unit
// the processor offers, eight or four sums per vector, or one sum after
// another (the reference).
enum class TRingPath { Best, Vector8, Vector4, Plain };
// True when the processor has the vector unit a path needs; a path it lacks
// computes as Plain does.
bool RingPathAvailable(TRingPath path);

// The voice lowpass over `count` consecutive sounding samples of one voice:
// xs holds the values before the lowpass and receives the values after it,
// widths the width at each sample (as LowpassWidth gives it). The ring ends
// as the sample-by-sample steps leave it; the results are the same bits.
void LowpassSpan(TVoiceState& v, float* xs, const int* widths, int count, TRingPath path = TRingPath::Best);

}  // namespace kalvora::engine
