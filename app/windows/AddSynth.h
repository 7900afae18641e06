// TfAddSynth ("Wave Synthesis"): builds a wave preset from the first 16
// harmonics of a source preset mixed by 16 sliders, plays it once or in a
// loop on its own wave output, and stores it into the preset table. The six
// slider memories live in the settings file. Computing is in core/WaveSynthesis.
#pragma once

#include <array>
#include <memory>

#include <QDialog>

#include "core/Library.h"
#include "core/WaveSynthesis.h"
#include "windows/PresetWindows.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class TEnhWaveOut;
class TPresetCanvas;

class TfAddSynth : public QDialog {
  Q_OBJECT

 public:
  explicit TfAddSynth(TPresetWindowHost host, QWidget* parent = nullptr);
  ~TfAddSynth() override;

  const TWaveCycle& Result() const { return result_; }
  const THarmonicTables& Harmonics() const { return harmonics_; }
  TSliderPositions Positions() const;
  const TSliderMemories& Memories() const { return memories_; }
  TEnhWaveOut& WaveOut() { return *WaveOut_; }

  void FormActivate();
  void FormClose();
  void FillDestinationList();
  void FillSourceList();
  void BuildHarmonicTables(int sourceIndex);
  void ComputeAdditiveWave();
  void PlayResult();
  void WaveOutDone();

  // Handlers under their names.
  void cbSChange();
  void cbDChange();
  void bAddClick();
  void bUpdateClick();
  void bDeleteClick();
  void bInitClick();
  void cbAutoPlayClick();
  void LoadClick(int memory);  // the buttons bLoad1..bLoad6 use memories 1..6
  void SaveClick(int memory);

  // Controls, under their names.
  QComboBox *cbS, *cbD;
  std::array<QScrollBar*, kHarmonics> sb{};       // sb01..sb16
  std::array<QLabel*, kHarmonics> lPerc{};        // lPerc01..lPerc16
  QCheckBox *cbMaximize, *cbAutoPlay;
  TPresetCanvas* pbR;
  QLineEdit* eName;
  QPushButton *bAdd, *bUpdate, *bDelete, *bPlay, *bInit, *bHelp, *bClose;
  std::array<QPushButton*, kSliderMemories> bLoad{}, bSave{};  // bLoad1..bLoad6, bSave1..bSave6

 public:
  // Closing the window in any way answers Cancel (2).
  void reject() override { done(2); }

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;

 private:
  void BuildControls();
  void SetPositions(const TSliderPositions& p);
  void SliderChange(int k);
  int DestinationEntry() const;
  TWavePreset ResultPreset() const;
  void CloseForm();

  TPresetWindowHost host_;
  std::unique_ptr<TEnhWaveOut> WaveOut_;
  THarmonicTables harmonics_{};
  TWaveCycle result_{};
  TSliderMemories memories_;
  bool recompute_ = false;
  bool activated_ = false;
  bool closed_ = false;
};
