#include "core/VoiceEdit.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <stdexcept>

double VoiceFrequency(const std::array<double, TInstrumentDocument::kNotes>& noteFrequency, int note, int finetune) {
  note = std::clamp(note, 0, TInstrumentDocument::kNotes - 1);
  return noteFrequency[static_cast<std::size_t>(note)] * ((finetune - 50) * 0.000594530321046373 + 1);
}

std::string FormatFrequency(double f) {
  char buf[64];
  const auto r = std::to_chars(buf, buf + sizeof buf, f, std::chars_format::fixed, 2);
  return std::string(buf, r.ptr);
}

std::optional<std::pair<int, int>> NoteForFrequency(const std::array<double, TInstrumentDocument::kNotes>& noteFrequency,
                                                    double f) {
  if (!std::isfinite(f)) return std::nullopt;
  for (int n = 0; n < TInstrumentDocument::kNotes; ++n) {
    const long double ft = RoundHalfEven((static_cast<long double>(f) / noteFrequency[static_cast<std::size_t>(n)] - 1) * 1682) + 50;
    if (ft >= 0 && ft <= 100) return std::make_pair(n, static_cast<int>(ft));
  }
  return std::nullopt;
}

std::string NoteName(int note) {
  static const char* const names[12] = {"C-", "C#", "D-", "D#", "E-", "F-", "F#", "G-", "G#", "A-", "A#", "B-"};
  return names[note % 12] + std::to_string(note / 12 + 1);
}

std::string PhaseLabel(int phase) {
  return std::to_string(static_cast<long>(RoundHalfEven(phase * 2.4L))) + " \xC2\xB0";
}

std::string TotalLengthLabel(const TVoiceTiming& t) {
  return std::to_string(std::int64_t{t.Time} * t.Repeats + t.StartDelay) + " ms";
}

namespace {

template <class M>
TVoiceIntField U8(int step, int min, int max, M member) {
  return {step, TStepKind::Integer, min, max, [member](const TVoice& v) { return int{member(const_cast<TVoice&>(v))}; },
          [member, min, max](TVoice& v, int x) { member(v) = static_cast<std::uint8_t>(std::clamp(x, min, max)); }};
}
template <class M>
TVoiceIntField I32(int step, int min, int max, M member) {
  return {step, TStepKind::Integer, min, max, [member](const TVoice& v) { return member(const_cast<TVoice&>(v)); },
          [member, min, max](TVoice& v, int x) { member(v) = std::clamp(x, min, max); }};
}
template <class M>
TVoiceIntField B(int step, M member) {
  return {step, TStepKind::Boolean, 0, 1, [member](const TVoice& v) { return member(const_cast<TVoice&>(v)) ? 1 : 0; },
          [member](TVoice& v, int x) { member(v) = x != 0; }};
}

#define F(expr) [](TVoice& v) -> auto& { return v.expr; }

std::vector<TVoiceIntField> MakeFields() {
  return {
      B(stActive, F(Active)),
      U8(stNote, 0, 72, F(Pitch.Note)),
      U8(stFinetune, 0, 100, F(Pitch.Finetune)),
      I32(stTime, 10, 65535, F(Timing.Time)),
      I32(stRepeats, 1, 65535, F(Timing.Repeats)),
      I32(stStartDelay, 0, 999999, F(Timing.StartDelay)),
      B(stRepeatMode, F(Timing.RepeatMode)),
      U8(stPhase, 0, 149, F(Morph.Phase)),
      U8(stMorphPreview, 0, 100, F(Morph.MorphPreview)),
      U8(stVolume, 0, 100, F(Volume.Volume)),
      U8(stVibSpeedFrom, 0, 250, F(Vibrato.VibSpeedFrom)),
      U8(stVibDepthFrom, 0, 250, F(Vibrato.VibDepthFrom)),
      U8(stVibSpeedTo, 0, 250, F(Vibrato.VibSpeedTo)),
      U8(stVibDepthTo, 0, 250, F(Vibrato.VibDepthTo)),
      // The step carries the "Up" button's state; the field stores "down".
      {stVibDirection, TStepKind::Boolean, 0, 1, [](const TVoice& v) { return v.Vibrato.VibDirection ? 0 : 1; },
       [](TVoice& v, int up) { v.Vibrato.VibDirection = up == 0; }},
      B(stVibSpeedFromX100, F(Vibrato.VibSpeedFromX100)),
      B(stVibDepthFromX100, F(Vibrato.VibDepthFromX100)),
      B(stVibSpeedToX100, F(Vibrato.VibSpeedToX100)),
      B(stVibDepthToX100, F(Vibrato.VibDepthToX100)),
      B(stFilterActive, F(Lowpass.FilterActive)),
      U8(stFilterFrom, 0, 250, F(Lowpass.FilterFrom)),
      U8(stFilterTo, 0, 250, F(Lowpass.FilterTo)),
      B(stNoiseSource, F(Morph.NoiseSource)),
      B(stNoiseDest, F(Morph.NoiseDest)),
  };
}
#undef F

}  // namespace

const std::vector<TVoiceIntField>& VoiceIntFields() {
  static const std::vector<TVoiceIntField> fields = MakeFields();
  return fields;
}

const TVoiceIntField& VoiceIntField(int step) {
  for (const auto& f : VoiceIntFields())
    if (f.step == step) return f;
  throw std::out_of_range("no such voice field step");
}

void RecordIntEdit(const TInstrumentDocument& doc, IMacroRecorder* recorder, int step, long oldValue, long newValue) {
  if (!doc.Recording || !recorder) return;
  const bool change = doc.RecordingRelative || step == stCurrentVoice;
  recorder->RecordIntStep(step, static_cast<std::int32_t>(change ? newValue - oldValue : newValue));
}

void RecordBoolEdit(const TInstrumentDocument& doc, IMacroRecorder* recorder, int step, bool value) {
  if (doc.Recording && recorder) recorder->RecordBoolStep(step, value);
}

void RecordTextEdit(const TInstrumentDocument& doc, IMacroRecorder* recorder, int step, const std::string& text) {
  if (doc.Recording && recorder) recorder->RecordTextStep(step, text);
}

std::vector<TPoint> PresetPoints(const TWavePreset& preset, bool noise, const TNoiseSource& random) {
  std::vector<TPoint> points;
  for (int i = 0; i < TWavePreset::kSamples; ++i) {
    const int v = noise ? random() : 149 - preset.Data[static_cast<std::size_t>(i)];
    points.push_back({i / 2, v / 2});
  }
  return points;
}

std::vector<TPoint> MorphPoints(const TWavePreset& source, const TWavePreset& dest, const TVoiceMorph& morph,
                                const TNoiseSource& random) {
  std::vector<TPoint> points;
  const long double u = morph.MorphPreview * 0.01L;
  for (int i = 0; i < 150; ++i) {
    const std::size_t k = static_cast<std::size_t>((morph.Phase + i) % 150);
    const int s = morph.NoiseSource ? random() : 149 - source.Data[k];
    const int d = morph.NoiseDest ? random() : 149 - dest.Data[k];
    points.push_back({i, static_cast<int>(RoundHalfEven((1 - u) * s + u * d))});
  }
  return points;
}

std::vector<TPoint> EnvelopePoints(const TVolumeEnvelope& envelope, int volume, int width, int height) {
  std::vector<TPoint> points;
  for (int k = 0; k < envelope.Count; ++k) {
    const float t = envelope.X[static_cast<std::size_t>(k)], l = envelope.Y[static_cast<std::size_t>(k)];
    const float x = t * static_cast<float>(width - 1) / 256.0f;
    const float y = static_cast<float>(height) - static_cast<float>(volume) * l * 0.01f * static_cast<float>(height - 1) / 256.0f - 1.0f;
    points.push_back({static_cast<int>(std::nearbyint(x)), static_cast<int>(std::nearbyint(y))});
  }
  return points;
}

std::vector<TPoint> AboutFigure(int w, int h) {
  std::vector<TPoint> points;
  const long double pi = 3.141592653589793238462643383279502884L;
  const long double a = 2 * pi * 7 / 1000, b = 2 * pi * 9 / 1000;
  for (int k = 0; k <= 1000; ++k)
    points.push_back({static_cast<int>(RoundHalfEven((w / 2 - 1) * std::sin(k * a) + w / 2)),
                      static_cast<int>(RoundHalfEven((h / 2 - 1) * std::sin(k * b) + h / 2))});
  return points;
}
