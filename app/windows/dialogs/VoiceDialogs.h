// The voice editor's small dialogs: reset voices, copy voice parts and set
// the frequency of the current voice.
#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QPushButton;
class QRadioButton;
class QSpinBox;
class TfMain;
class TfWaveGen;
class IMacroRecorder;

class TfSetFrequency : public QDialog {
  Q_OBJECT
 public:
  TfSetFrequency(TfMain& main, TfWaveGen& editor, QWidget* parent = nullptr);
  QSpinBox* seNewFrequency;
  QPushButton *bOK, *bCancel;
  void bOKClick();
  void done(int r) override;

 private:
  TfMain& main_;
  TfWaveGen& editor_;
};

class TfResVoice : public QDialog {
  Q_OBJECT
 public:
  TfResVoice(TfMain& main, TfWaveGen& editor, QWidget* parent = nullptr);
  QRadioButton *rbOne, *rbAll, *rbSome;
  QComboBox *cobSV, *cobFr, *cobTo;
  QPushButton *bOK, *bCancel, *bHelp;
  void Refill();  // on each activation
  void bOKClick();
  void done(int r) override;

 protected:
  void showEvent(QShowEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  TfMain& main_;
  TfWaveGen& editor_;
};

class TfCpVoice : public QDialog {
  Q_OBJECT
 public:
  TfCpVoice(TfMain& main, TfWaveGen& editor, IMacroRecorder* recorder, QWidget* parent = nullptr);
  QComboBox *cobS, *cobD;
  QCheckBox *cbAutoIncrementSource, *cbAutoDecrementSource, *cbAutoIncrementDestination, *cbAutoDecrementDestination;
  QCheckBox *cbGeneral, *cbName, *cbSource, *cbVolume, *cbVibrato, *cbLowpass;
  QPushButton *bCopy, *bClose, *bHelp, *bAll, *bNone, *bInvert;
  void Refill();
  void bCopyClick();
  void done(int r) override;

 protected:
  void showEvent(QShowEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;

 private:
  TfMain& main_;
  TfWaveGen& editor_;
  IMacroRecorder* recorder_;
};
