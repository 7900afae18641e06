// TfOptions: the program's settings (hints, the outside converter, the two
// window backgrounds, defaults for new instruments, MIDI input). Works on
// copies; OK writes them back into the main window.
#pragma once

#include <QDialog>

#include "core/MainSettings.h"
#include "views/BoundedMemo.h"

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QFrame;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QTableWidget;
class TfMain;
class TZRWTile;

namespace kalvora::platform {
class FileDialogs;
class MidiInput;
}  // namespace kalvora::platform

class TfOptions : public QDialog {
  Q_OBJECT

 public:
  TfOptions(TfMain* main, kalvora::platform::FileDialogs* dialogs, kalvora::platform::MidiInput* midi);

  void StoreOptions();
  void ShowBackgroundElement();
  void ApplyBorderPreview();
  void FillMidiDevices();
  void ShowHelp();
  // The record the background page edits (the element in the combo).
  TBackgroundSetting& Element();
  const TBackgroundSetting& WorkingMain() const { return main_; }
  const TBackgroundSetting& WorkingBorder() const { return border_; }
  // What the colour buttons do once a colour is chosen.
  void SetElementColor(bool from, const QColor& c);

  QTabWidget* pcOptions;
  QCheckBox *cbShowHints, *cbAutoConvert;
  QLineEdit *eAutoConvertProgram, *eAutoConvertOptions;
  QPushButton* bSelectProgram;
  QRadioButton *rbNormal, *rbMinimized, *rbMaximized;
  QComboBox* cbElement;
  QCheckBox* cbDefaultDesign;
  QRadioButton *rbGradient, *rbImage, *rbTile, *rbStretch, *rbCenter;
  QPushButton *bFrom, *bTo, *bSelectImage;
  QFrame *shFrom, *shTo;
  QLineEdit* eImage;
  TZRWTile *tPreviewMain, *tPreviewTop, *tPreviewLeft, *tPreviewBottom;
  TBoundedMemo* memoDescription;
  QTableWidget* sgVoiceNames;
  QComboBox* cbQuality;
  QCheckBox *cbMidiEnabled, *cbUseVelocity, *cbUseSustainPedal;
  QListWidget* lbMidiDevices;
  QPushButton *bHelp, *bCancel, *bOK;

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  void PageChanged();
  void EnableAutoConvert();
  void EnableMidi();
  static void ShowSwatch(QFrame* f, const QColor& c);

  TfMain* mainWindow_;
  kalvora::platform::FileDialogs* dialogs_;
  kalvora::platform::MidiInput* midi_;
  TBackgroundSetting main_, border_;
  bool showing_ = false;
};
