// TfFreeEdit ("Edit The Wave Presets"): the modal editor of the wave presets.
// The working cycle lives in the window; it is drawn with the mouse, built
// from a formula, reshaped, filtered, imported, listened to, and reaches the
// document only through Add and Update. All computing is in
// core/WavePresetEdit and formats/PresetImport. TfMixWavePreset is its small
// "Mix Wave Presets" dialog.
#pragma once

#include <QDialog>

#include "core/WaveCycle.h"
#include "core/WavePresetEdit.h"
#include "windows/PresetWindows.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QSpinBox;
class QTabWidget;
class TPresetCanvas;

class TfMixWavePreset : public QDialog {
  Q_OBJECT

 public:
  TfMixWavePreset(const TInstrumentDocument& document, QWidget* parent = nullptr);
  void FormActivate();  // the names of presets 1..count, entry 0 selected

  QLabel* lMix;
  QComboBox* cbD;
  QPushButton *bOK, *bCancel;

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  const TInstrumentDocument& doc_;
};

class TfFreeEdit : public QDialog {
  Q_OBJECT

 public:
  explicit TfFreeEdit(TPresetWindowHost host, QWidget* parent = nullptr);
  ~TfFreeEdit() override;

  // Working data, as the window holds them.
  const TWaveCycle& Wave() const { return wave_; }
  void SetWave(const TWaveCycle& w) { wave_ = w; }
  const TWaveCycle& FunctionBuffer() const { return function_; }
  const TWaveCycle& VolumePreview() const { return volumePreview_; }
  const TWaveCycle& FilterPreview() const { return filterPreview_; }
  bool VolumePreviewOn() const { return volumePreviewOn_; }
  bool FilterPreviewOn() const { return filterPreviewOn_; }
  // The mix dialog's answer: set by tests to skip the modal run (index, or -1 for Cancel).
  std::function<int(TfMixWavePreset&)> RunMixDialog;

  void FormActivate();
  void RedrawWave();
  void DrawSpectrum();
  void ResetVolumeControls();
  void ResetFilterControls();
  void PlayCurrentWave();
  void InsertTerm(const std::string& term);

  // Handlers under their names.
  void cbDChange();
  void bAddClick();
  void bUpdateClick();
  void bDeleteClick();
  void bPlayClick() { PlayCurrentWave(); }
  void bPlayFunctionClick();
  void bPlayFilterClick();
  void bSilenceClick();
  void bRandomClick();
  void bImportClick();
  void bMixClick();
  void bTakeFunctionClick();
  void bTakeVolumeClick();
  void bCancelVolumeClick();
  void bTakeFilterClick();
  void bCancelFilterClick();
  void rbLowpassClick();
  void rbBandpassClick();
  void rbHighpassClick();
  void pbRMouseDown(Qt::MouseButton button, int x, int y);
  void pbRMouseMove(int x, int y);
  void pbRMouseUp();

  // Controls, under their names.
  QComboBox* cbD;
  QLineEdit* eName;
  QPushButton *bAdd, *bUpdate, *bDelete, *bPlay, *bClose, *bHelp;
  QLabel* lPos;
  TPresetCanvas *pbR, *pbFFT;
  QTabWidget* pcPages;
  QWidget *tsCreate, *tsModify;
  QPushButton *bSilence, *bRandom, *bImport;
  QLineEdit *eFunction, *eFunctionXMin, *eFunctionXMax;
  QSpinBox *eWindowLeft, *eWindowRight, *eWindowBottom, *eWindowTop;
  QCheckBox* cbShowWindow;
  QPushButton *bTakeFunction, *bPlayFunction, *bClearFunction, *bInsertTerm;
  QMenu* pumInsertTerm;
  QLabel* lFunctionErrorMessage;
  QPushButton *bMix, *bSmooth, *bMaximize, *bMirrorH, *bMirrorV, *bDoubleFreq, *bHalfFreq;
  QScrollBar* sbChangeVolume;
  QLabel* lVolume;
  QPushButton *bTakeVolume, *bCancelVolume;
  QRadioButton *rbLowpass, *rbBandpass, *rbHighpass;
  QScrollBar *sbFilterF1, *sbFilterF2;
  QPushButton *bTakeFilter, *bCancelFilter, *bPlayFilter;

 public:
  // Closing the window in any way answers Cancel (2).
  void reject() override { done(2); }

 protected:
  void showEvent(QShowEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void contextMenuEvent(QContextMenuEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;

 private:
  void BuildControls();
  void ApplyWaveOperation(TWaveCycle (*op)(const TWaveCycle&));
  void EvaluateFunction();
  void ComputeFilteredWave();
  TFunctionWindow Window() const;
  TFilterKind FilterKind() const;
  void SetFilterBars(TFilterBars bars);
  void PlayCycle(const TWaveCycle& cycle);
  // The entry selected in cbD (1-based), 0 when the list is empty.
  int SelectedEntry() const;
  void ShowEntry(int entry);
  void AddImported(const std::string& name, const TWaveCycle& data);
  void ShowPosition(int x, int y);
  void CloseForm();

  TPresetWindowHost host_;
  TWaveCycle wave_{}, volumePreview_{}, function_{}, filterPreview_{};
  bool drawing_ = false, volumePreviewOn_ = false, filterPreviewOn_ = false, functionError_ = false;
  int lastX_ = 0, lastY_ = 0;
  bool activated_ = false;
  bool closed_ = false;
};
