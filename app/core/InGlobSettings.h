// The instrument's global settings as the global-settings window holds them:
// stored forms (slider positions, indexes, the effect order) and the derived
// factors the sample computation reads. Qt-free; the window is a thin view.
//
// A factor is recomputed only when its position actually changes, as a
// slider's change handler runs only then; the "Init" operations and the reset
// write some factors directly (the dry factor 0.001 is not 2^-10).
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

enum class TDistortionSlider { Dry = 0, Distorted = 1, Threshold = 2, Clamp = 3 };
enum class TEqMemory { Lowpass, BandpassNarrow, BandpassWide, Highpass };

struct TLowpassFactors {
  float Slope;
  int CutOff;  // Hz
  float Resonance;
};

struct TDistortionFactors {
  float Dry, Distorted, Threshold, Clamp;
};

struct TLowpassStored {
  std::uint8_t Slope;      // 0..5: 6, 12, 18, 24, 36 dB, infinite
  std::uint16_t CutOff;    // cut-off slider position
  std::uint8_t Resonance;  // resonance slider position 0..60
};

class TInGlobSettings {
 public:
  static constexpr int kBands = 10;
  static constexpr const char* kEffectLetters = "abcdef";

  TInGlobSettings();

  // Observers: the sample is out of date (the main window's
  // SetSampleUpToDate(false)); only the instrument is out of date (its
  // SetInstrumentUpToDate(false)); a text for the main window's status line;
  // any stored value changed (the window refreshes its controls).
  std::function<void()> OnChanged;
  std::function<void()> OnInstrumentChanged;
  std::function<void(const std::string&)> OnStatusText;
  std::function<void()> OnDisplay;

  // The defaults for a new instrument, asked for at each reset: the main
  // window holds them and the options dialog changes them during the run.
  // Unset: no description, 44100 Hz.
  std::function<std::vector<std::string>()> DefaultDescription;  // Windows-1252 lines
  std::function<int()> DefaultQuality;
  int DefaultQualityNow() const { return DefaultQuality ? DefaultQuality() : 2; }

  // --- description (file only: the sample does not depend on it). The memos
  // where it and the default description are typed hold at most this many
  // characters, line breaks included. Setting it directly (a load, a reset)
  // marks nothing.
  static constexpr std::size_t kMaxDescription = 50000;
  std::vector<std::string> Description;
  void ResetDescription();
  // The person's edit: lines that differ mark the instrument changed, not
  // the sample.
  void EditDescription(std::vector<std::string> lines);

  // --- stored forms, as the instrument file keeps them
  int GetQuality() const { return quality_; }
  void SetQuality(int index);  // out-of-range values are clamped to 0..2
  std::pair<int, int> GetGlobalDetune() const { return {octave_, note_}; }
  void SetGlobalDetune(int octave, int note);  // clamped to -5..5, -11..11
  const std::string& GetEffectOrder() const { return order_; }
  void SetEffectOrder(std::string_view order);  // resets every effect first
  std::array<std::uint8_t, kBands> GetEqBands() const;
  void SetEqBands(const std::array<std::uint8_t, kBands>& bytes);
  std::array<std::uint8_t, 4> GetDistortion() const;
  void SetDistortion(const std::array<std::uint8_t, 4>& positions);
  std::uint8_t GetVolume() const { return static_cast<std::uint8_t>(volumePos_ + 60); }
  void SetVolume(std::uint8_t byte);
  TLowpassStored GetLowpass() const;
  void SetLowpass(std::uint8_t slope, std::uint16_t cutOffPosition, std::uint8_t resonance);
  std::pair<std::uint16_t, std::uint16_t> GetFadeTimes() const;
  void SetFade(std::uint16_t fadeIn, std::uint16_t fadeOut);

  // --- derived values, read by the computation
  const std::array<float, kBands>& GetEqFactorTable() const { return eqFactor_; }
  TLowpassFactors GetLowpassFactors() const { return {slopeFactor_, cutOff_, resonanceFactor_}; }
  TDistortionFactors GetDistortionFactors() const;
  float GetVolumeFactor() const { return volumeFactor_; }
  std::pair<int, int> GetFade() const { return {fadeIn_, fadeOut_}; }

  // --- resets
  void ResetQuality();
  void ResetGlobalDetune();
  void ResetEffects();
  void UpdateQualityLimits();

  // --- control changes; each handler runs only when the value changes
  void SetEqPosition(int band, int position);  // band 1..10, -60..60
  void SetDistortionPosition(TDistortionSlider slider, int position);  // 0..60
  void SetVolumePosition(int position);     // -60..60
  void SetResonancePosition(int position);  // 0..60
  void SetCutOffPosition(int position);     // 20..CutOffMax()
  void SetSlope(int index);                 // 0..5
  void SetFadeIn(int ms);                   // 0..65535
  void SetFadeOut(int ms);
  void SetDetuneOctave(int octave);
  void SetDetuneNote(int note);
  void SelectQuality(int index);  // the combo box: marks and updates the limits

  // --- effect order
  bool EffectEnabled(char letter) const;
  void SetEffectEnabled(char letter, bool on);  // a check box click
  // Exchange with the neighbour; returns the moved item's new index.
  int MoveEffectUp(int index);
  int MoveEffectDown(int index);

  // --- buttons, memories and presets
  void EqInit();
  void DistortionInit();
  void VolumeInit();
  bool LinkDown() const { return linkDown_; }
  void SetLink(bool down);  // pressing it down joins threshold and clamp
  void ApplyEqMemory(TEqMemory kind, int band);
  void ApplyDistortionMemory(int dryDb, int distortedDb, int thresholdDb, int clampDb);
  void SetCutOffFrequency(int hz);  // a cut-off preset

  // --- positions and limits, for the window
  int EqPosition(int band) const { return eqPos_.at(static_cast<std::size_t>(band - 1)); }
  bool EqBandEnabled(int band) const;
  int DistortionPosition(TDistortionSlider s) const { return distPos_[static_cast<int>(s)]; }
  int VolumePosition() const { return volumePos_; }
  int ResonancePosition() const { return resonancePos_; }
  int CutOffPosition() const { return cutOffPos_; }
  int CutOffMax() const { return cutOffMax_; }
  int SlopeIndex() const { return slope_; }

  // --- texts shown by the window
  static float LevelFactor(int db);  // 2^(db/6) as a float
  // round(factor x 10000) / 100 in its shortest decimal form.
  static std::string Percentage(float factor, char decimalSeparator = '.');
  static std::string CutOffText(int hz, char decimalSeparator = '.');  // "500 Hz", "11.02 kHz"

 private:
  void Changed();
  void Display();

  int quality_ = 2;
  int octave_ = 0, note_ = 0;
  std::string order_;
  std::array<int, kBands> eqPos_{};
  std::array<float, kBands> eqFactor_{};
  int slope_ = 3;
  float slopeFactor_ = 0.0625f;
  int cutOffMax_ = 22050;
  int cutOffPos_ = 11025;
  int cutOff_ = 11045;
  int resonancePos_ = 60;
  float resonanceFactor_ = 1.0f;
  std::array<int, 4> distPos_{60, 0, 0, 0};
  std::array<float, 4> distFactor_{0.001f, 1.0f, 1.0f, 1.0f};
  bool linkDown_ = true;
  int volumePos_ = 0;
  float volumeFactor_ = 1.0f;
  int fadeIn_ = 0, fadeOut_ = 0;
};

// Height above the bottom of the distortion curve at column i (0..W) of a
// box W x H: a quarter sine through the distortion with the given factors.
long double DistortionCurveSine(int i, int width, int height);
long double DistortionCurveOutput(int i, int width, int height, const TDistortionFactors& f);
