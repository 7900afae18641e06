#include "core/InGlobSettings.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace {

constexpr std::array<float, 6> kSlopeFactor = {0.5f, 0.25f, 0.125f, 0.0625f, 0.015625f, 0.0f};
constexpr std::array<int, 3> kCutOffMax = {5512, 11025, 22050};

int Clamp(int v, int lo, int hi) { return std::min(std::max(v, lo), hi); }

// A count of hundredths in its shortest decimal form: 10000 "100", 10 "0.1".
std::string Hundredths(long long hundredths, char sep) {
  std::string text = std::to_string(hundredths / 100);
  const int frac = static_cast<int>(hundredths % 100);
  if (frac != 0) {
    text += sep;
    text += static_cast<char>('0' + frac / 10);
    if (frac % 10 != 0) text += static_cast<char>('0' + frac % 10);
  }
  return text;
}

}  // namespace

TInGlobSettings::TInGlobSettings() { eqFactor_.fill(1.0f); }

float TInGlobSettings::LevelFactor(int db) {
  return static_cast<float>(std::exp2(static_cast<long double>(db) / 6.0L));
}

std::string TInGlobSettings::Percentage(float factor, char sep) {
  const long double r = std::nearbyint(static_cast<long double>(factor) * 10000.0L);
  return Hundredths(static_cast<long long>(r), sep);
}

std::string TInGlobSettings::CutOffText(int hz, char sep) {
  if (hz < 1000) return std::to_string(hz) + " Hz";
  const long double x = std::nearbyint(static_cast<long double>(hz) / 10.0L);
  return Hundredths(static_cast<long long>(x), sep) + " kHz";
}

void TInGlobSettings::Changed() {
  if (OnChanged) OnChanged();
}

void TInGlobSettings::Display() {
  if (OnDisplay) OnDisplay();
}

void TInGlobSettings::ResetDescription() {
  Description = DefaultDescription ? DefaultDescription() : std::vector<std::string>{};
  Display();
}

void TInGlobSettings::EditDescription(std::vector<std::string> lines) {
  if (lines == Description) return;
  Description = std::move(lines);
  if (OnInstrumentChanged) OnInstrumentChanged();
}

// --- quality and detune --------------------------------------------------------

void TInGlobSettings::SetQuality(int index) {
  quality_ = Clamp(index, 0, 2);
  UpdateQualityLimits();
}

void TInGlobSettings::SelectQuality(int index) {
  const int q = Clamp(index, 0, 2);
  if (q == quality_) return;
  quality_ = q;
  Changed();
  UpdateQualityLimits();
}

void TInGlobSettings::ResetQuality() { SetQuality(DefaultQualityNow()); }

void TInGlobSettings::UpdateQualityLimits() {
  const int f = cutOffMax_ + 20 - cutOffPos_;
  cutOffMax_ = kCutOffMax[static_cast<std::size_t>(quality_)];
  // A smaller maximum pulls the position in first, as the scroll bar does.
  if (cutOffPos_ > cutOffMax_) SetCutOffPosition(cutOffMax_);
  SetCutOffPosition(20);
  SetCutOffPosition(cutOffMax_);
  SetCutOffPosition(cutOffMax_ + 20 - f);
  Display();
}

bool TInGlobSettings::EqBandEnabled(int band) const {
  if (band == 9) return quality_ >= 1;
  if (band == 10) return quality_ >= 2;
  return band >= 1 && band <= kBands;
}

void TInGlobSettings::SetDetuneOctave(int octave) {
  octave = Clamp(octave, -5, 5);
  if (octave == octave_) return;
  octave_ = octave;
  Changed();
  Display();
}

void TInGlobSettings::SetDetuneNote(int note) {
  note = Clamp(note, -11, 11);
  if (note == note_) return;
  note_ = note;
  Changed();
  Display();
}

void TInGlobSettings::SetGlobalDetune(int octave, int note) {
  SetDetuneOctave(octave);
  SetDetuneNote(note);
}

void TInGlobSettings::ResetGlobalDetune() { SetGlobalDetune(0, 0); }

// --- slider handlers --------------------------------------------------------------

void TInGlobSettings::SetEqPosition(int band, int position) {
  int& pos = eqPos_.at(static_cast<std::size_t>(band - 1));
  position = Clamp(position, -60, 60);
  if (position == pos) return;
  pos = position;
  const float factor = LevelFactor(-position);
  eqFactor_[static_cast<std::size_t>(band - 1)] = factor;
  if (OnStatusText) OnStatusText(std::to_string(-position) + " dB / " + Percentage(factor) + " %");
  Changed();
  Display();
}

void TInGlobSettings::SetDistortionPosition(TDistortionSlider slider, int position) {
  const int k = static_cast<int>(slider);
  position = Clamp(position, 0, 60);
  if (position == distPos_[k]) return;
  distPos_[k] = position;
  distFactor_[k] = LevelFactor(-position);
  if (linkDown_ && slider == TDistortionSlider::Threshold)
    SetDistortionPosition(TDistortionSlider::Clamp, position);
  if (linkDown_ && slider == TDistortionSlider::Clamp)
    SetDistortionPosition(TDistortionSlider::Threshold, position);
  Changed();
  Display();
}

void TInGlobSettings::SetVolumePosition(int position) {
  position = Clamp(position, -60, 60);
  if (position == volumePos_) return;
  volumePos_ = position;
  volumeFactor_ = LevelFactor(-position);
  Changed();
  Display();
}

void TInGlobSettings::SetResonancePosition(int position) {
  position = Clamp(position, 0, 60);
  if (position == resonancePos_) return;
  resonancePos_ = position;
  resonanceFactor_ = LevelFactor(60 - position);
  Changed();
  Display();
}

void TInGlobSettings::SetCutOffPosition(int position) {
  position = Clamp(position, 20, cutOffMax_);
  if (position == cutOffPos_) return;
  cutOffPos_ = position;
  cutOff_ = cutOffMax_ + 20 - position;
  Changed();
  Display();
}

void TInGlobSettings::SetCutOffFrequency(int hz) { SetCutOffPosition(cutOffMax_ + 20 - hz); }

void TInGlobSettings::SetSlope(int index) {
  index = Clamp(index, 0, 5);
  if (index == slope_) return;
  slope_ = index;
  slopeFactor_ = kSlopeFactor[static_cast<std::size_t>(index)];
  Changed();
  Display();
}

void TInGlobSettings::SetFadeIn(int ms) {
  ms = Clamp(ms, 0, 65535);
  if (ms == fadeIn_) return;
  fadeIn_ = ms;
  Changed();
  Display();
}

void TInGlobSettings::SetFadeOut(int ms) {
  ms = Clamp(ms, 0, 65535);
  if (ms == fadeOut_) return;
  fadeOut_ = ms;
  Changed();
  Display();
}

// --- stored forms --------------------------------------------------------------------

std::array<std::uint8_t, TInGlobSettings::kBands> TInGlobSettings::GetEqBands() const {
  std::array<std::uint8_t, kBands> bytes{};
  for (int k = 0; k < kBands; ++k) bytes[k] = static_cast<std::uint8_t>(eqPos_[k] + 60);
  return bytes;
}

void TInGlobSettings::SetEqBands(const std::array<std::uint8_t, kBands>& bytes) {
  for (int k = 0; k < kBands; ++k) SetEqPosition(k + 1, bytes[k] - 60);
}

std::array<std::uint8_t, 4> TInGlobSettings::GetDistortion() const {
  std::array<std::uint8_t, 4> bytes{};
  for (int k = 0; k < 4; ++k) bytes[k] = static_cast<std::uint8_t>(distPos_[k]);
  return bytes;
}

void TInGlobSettings::SetDistortion(const std::array<std::uint8_t, 4>& positions) {
  SetLink(false);
  for (int k = 0; k < 4; ++k) SetDistortionPosition(static_cast<TDistortionSlider>(k), positions[k]);
}

TDistortionFactors TInGlobSettings::GetDistortionFactors() const {
  return {distFactor_[0], distFactor_[1], distFactor_[2], distFactor_[3]};
}

void TInGlobSettings::SetVolume(std::uint8_t byte) { SetVolumePosition(byte - 60); }

TLowpassStored TInGlobSettings::GetLowpass() const {
  return {static_cast<std::uint8_t>(slope_), static_cast<std::uint16_t>(cutOffPos_),
          static_cast<std::uint8_t>(resonancePos_)};
}

void TInGlobSettings::SetLowpass(std::uint8_t slope, std::uint16_t cutOffPosition,
                                 std::uint8_t resonance) {
  SetSlope(slope);
  SetCutOffPosition(cutOffPosition);
  SetResonancePosition(resonance);
}

std::pair<std::uint16_t, std::uint16_t> TInGlobSettings::GetFadeTimes() const {
  return {static_cast<std::uint16_t>(fadeIn_), static_cast<std::uint16_t>(fadeOut_)};
}

void TInGlobSettings::SetFade(std::uint16_t fadeIn, std::uint16_t fadeOut) {
  SetFadeIn(fadeIn);
  SetFadeOut(fadeOut);
}

// --- effect order ----------------------------------------------------------------------

bool TInGlobSettings::EffectEnabled(char letter) const {
  return order_.find(letter) != std::string::npos;
}

void TInGlobSettings::SetEffectEnabled(char letter, bool on) {
  if (std::string_view(kEffectLetters).find(letter) == std::string_view::npos) return;
  if (on == EffectEnabled(letter)) return;
  if (on)
    order_ += letter;
  else
    order_.erase(order_.find(letter), 1);
  Changed();
  Display();
}

void TInGlobSettings::SetEffectOrder(std::string_view order) {
  ResetEffects();
  for (char c : order) SetEffectEnabled(c, true);  // repeats and unknown letters drop out
  Display();
}

int TInGlobSettings::MoveEffectUp(int index) {
  if (index < 1 || index >= static_cast<int>(order_.size())) return index;
  std::swap(order_[index - 1], order_[index]);
  Changed();
  Display();
  return index - 1;
}

int TInGlobSettings::MoveEffectDown(int index) {
  if (index < 0 || index + 1 >= static_cast<int>(order_.size())) return index;
  std::swap(order_[index], order_[index + 1]);
  Changed();
  Display();
  return index + 1;
}

// --- resets, buttons, memories -------------------------------------------------------------

void TInGlobSettings::EqInit() {
  eqFactor_.fill(1.0f);
  for (int k = 1; k <= kBands; ++k) SetEqPosition(k, 0);
  eqFactor_.fill(1.0f);
  Display();
}

void TInGlobSettings::DistortionInit() {
  SetDistortionPosition(TDistortionSlider::Dry, 60);
  SetDistortionPosition(TDistortionSlider::Distorted, 0);
  SetDistortionPosition(TDistortionSlider::Threshold, 0);
  SetDistortionPosition(TDistortionSlider::Clamp, 0);
  distFactor_ = {0.001f, 1.0f, 1.0f, 1.0f};
  Display();
}

void TInGlobSettings::VolumeInit() {
  SetVolumePosition(0);
  volumeFactor_ = 1.0f;
  Display();
}

void TInGlobSettings::ResetEffects() {
  order_.clear();
  EqInit();
  SetSlope(3);
  SetCutOffPosition(11025);
  SetResonancePosition(60);
  slopeFactor_ = 0.0625f;
  resonanceFactor_ = 1.0f;
  DistortionInit();
  VolumeInit();
  SetFade(0, 0);
  UpdateQualityLimits();
  Changed();
  Display();
}

void TInGlobSettings::SetLink(bool down) {
  if (down == linkDown_) return;
  linkDown_ = down;
  if (down) {
    const int joined = (distPos_[2] + distPos_[3]) / 2;
    SetDistortionPosition(TDistortionSlider::Threshold, joined);
    SetDistortionPosition(TDistortionSlider::Clamp, joined);
  }
  Display();
}

void TInGlobSettings::ApplyEqMemory(TEqMemory kind, int k) {
  for (int band = 1; band <= kBands; ++band) {
    if (!EqBandEnabled(band)) continue;
    const int distance = std::abs(band - k);
    int db = -60;
    switch (kind) {
      case TEqMemory::Lowpass: db = band <= k ? 0 : -60; break;
      case TEqMemory::BandpassNarrow: db = distance == 0 ? 0 : -60; break;
      case TEqMemory::BandpassWide:
        db = distance == 0 ? 0 : distance == 1 ? -10 : distance == 2 ? -20 : -60;
        break;
      case TEqMemory::Highpass: db = band < k ? -60 : 0; break;
    }
    SetEqPosition(band, -db);
  }
}

void TInGlobSettings::ApplyDistortionMemory(int dryDb, int distortedDb, int thresholdDb,
                                            int clampDb) {
  SetLink(false);
  SetDistortionPosition(TDistortionSlider::Dry, -dryDb);
  SetDistortionPosition(TDistortionSlider::Distorted, -distortedDb);
  SetDistortionPosition(TDistortionSlider::Threshold, -thresholdDb);
  SetDistortionPosition(TDistortionSlider::Clamp, -clampDb);
}

// --- distortion curve ------------------------------------------------------------------------

long double DistortionCurveSine(int i, int width, int height) {
  return std::sin(i * std::numbers::pi_v<long double> / 2.0L / width) * (height - 1);
}

long double DistortionCurveOutput(int i, int width, int height, const TDistortionFactors& f) {
  const long double s = DistortionCurveSine(i, width, height);
  long double v = s;
  if (v > (height - 1) * static_cast<long double>(f.Threshold))
    v = (height - 1) * static_cast<long double>(f.Clamp);
  const long double out = s * f.Dry + f.Distorted * v;
  return std::min(out, static_cast<long double>(height - 1));
}
