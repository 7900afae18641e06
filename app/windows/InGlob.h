// TfInGlob ("Global Settings"): the window of the instrument's global
// settings. A thin view over the document's TInGlobSettings, which it does
// not own; the accessors the instrument file and the computation use are
// forwarded to it.
#pragma once

#include <QWidget>
#include <array>
#include <functional>
#include <string>
#include <vector>

#include "core/InGlobSettings.h"
#include "views/BoundedMemo.h"

class TDistortionCurveBox;

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QMenu;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSpinBox;
class QTabWidget;

// What the window takes from the main window and the settings file.
struct TInGlobHost {
  // The defaults for a new instrument as they are at the moment of asking
  // (the options dialog changes them); unset: no description, 44100 Hz.
  std::function<std::vector<std::string>()> DefaultDescription;  // Windows-1252 lines
  std::function<int()> DefaultQuality;
  std::function<void()> SampleChanged;                         // SetSampleUpToDate(false)
  std::function<void()> InstrumentChanged;                     // SetInstrumentUpToDate(false)
  std::function<void(const std::string&)> ShowStatusText;      // main window status line
  std::function<void(QWidget*, const std::string&)> RestorePosition;  // key "InGlob"
  std::function<void(QWidget*, const std::string&)> StorePosition;
};

class TfInGlob : public QWidget {
  Q_OBJECT

 public:
  // `settings` (the document's) must outlive the window.
  TfInGlob(TInGlobSettings& settings, TInGlobHost host, QWidget* parent = nullptr);
  ~TfInGlob() override;

  TInGlobSettings& Settings() { return settings_; }
  const TInGlobSettings& Settings() const { return settings_; }

  // Accessors (forwarded to the settings).
  int GetQuality() const { return settings_.GetQuality(); }
  void SetQuality(int index) { settings_.SetQuality(index); }
  std::pair<int, int> GetGlobalDetune() const { return settings_.GetGlobalDetune(); }
  void SetGlobalDetune(int octave, int note) { settings_.SetGlobalDetune(octave, note); }
  const std::string& GetEffectOrder() const { return settings_.GetEffectOrder(); }
  void SetEffectOrder(std::string_view order);
  const std::array<float, 10>& GetEqFactorTable() const { return settings_.GetEqFactorTable(); }
  TLowpassFactors GetLowpassFactors() const { return settings_.GetLowpassFactors(); }
  TDistortionFactors GetDistortionFactors() const { return settings_.GetDistortionFactors(); }
  float GetVolumeFactor() const { return settings_.GetVolumeFactor(); }
  std::pair<int, int> GetFade() const { return settings_.GetFade(); }
  std::array<std::uint8_t, 10> GetEqBands() const { return settings_.GetEqBands(); }
  void SetEqBands(const std::array<std::uint8_t, 10>& b) { settings_.SetEqBands(b); }
  std::array<std::uint8_t, 4> GetDistortion() const { return settings_.GetDistortion(); }
  void SetDistortion(const std::array<std::uint8_t, 4>& p) { settings_.SetDistortion(p); }
  std::uint8_t GetVolume() const { return settings_.GetVolume(); }
  void SetVolume(std::uint8_t b) { settings_.SetVolume(b); }
  TLowpassStored GetLowpass() const { return settings_.GetLowpass(); }
  void SetLowpass(std::uint8_t s, std::uint16_t c, std::uint8_t r) { settings_.SetLowpass(s, c, r); }
  std::pair<std::uint16_t, std::uint16_t> GetFadeTimes() const { return settings_.GetFadeTimes(); }
  void SetFade(std::uint16_t in, std::uint16_t out) { settings_.SetFade(in, out); }
  const std::vector<std::string>& GetDescription() const { return settings_.Description; }
  void SetDescription(std::vector<std::string> lines);

  void ResetDescription() { settings_.ResetDescription(); }
  void ResetQuality() { settings_.ResetQuality(); }
  void ResetGlobalDetune() { settings_.ResetGlobalDetune(); }
  void ResetEffects();
  void UpdateQualityLimits() { settings_.UpdateQualityLimits(); }
  void DrawDistortionCurve();
  void FillEffectOrderList();

  // Controls, under their names.
  QTabWidget* pcInGlob;
  QWidget *tsGeneral, *tsEffects, *tsEQ, *tsDistortion, *tsVolume, *tsLowpass, *tsMaximize,
      *tsFade;
  TBoundedMemo* memoDescription;
  QComboBox* cbCalcQuality;
  QSpinBox *seGlobalDetuneOctave, *seGlobalDetuneNote;
  QListWidget* lbEffectRouting;
  QCheckBox *cbEQ, *cbDistortion, *cbVolume, *cbLowpass, *cbMaximize, *cbFade;
  QPushButton *bMoveUp, *bMoveDown;
  std::array<QScrollBar*, 10> sbEQ{};  // sbEQ1..sbEQ10
  QPushButton *bEQInit, *bEQMem;
  QMenu* pumEQMem;
  std::array<QRadioButton*, 6> rbLowpass{};  // 6, 12, 18, 24, 36 dB, infinite
  QScrollBar *sbLowpassCF, *sbLowpassResonance;
  QLabel *lLowpassCF, *lLowpassResonance;
  QScrollBar *sbDistortionDry, *sbDistortionDistorted, *sbDistortionThreshold, *sbDistortionClamp;
  QLabel *lDistortionDry, *lDistortionDistorted, *lDistortionThreshold, *lDistortionClamp;
  QPushButton *bDistortionTC, *bDistortionInit, *bDistortionMem;
  QMenu* pumDistortionMem;
  TDistortionCurveBox* pbDistortion;
  QScrollBar* sbVolume;
  QLabel* lVolume;
  QPushButton* bVolumeInit;
  QSpinBox *seFadeIn, *seFadeOut;

 protected:
  void closeEvent(QCloseEvent* event) override;

 private:
  void FormCreate();
  void BuildControls();
  void ShowSettings();  // controls := settings
  void ShowEffectPages();
  void bEQMemClick();
  void bDistortionMemClick();
  char DecimalSeparator() const;

  TInGlobHost host_;
  TInGlobSettings& settings_;
  std::string shownPages_ = "-";
};
