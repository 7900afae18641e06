// The volume-envelope editors: TfEditVol ("Edit Volume Envelope"), free-hand
// with points, mirroring, random envelopes and text import, and TfADSR
// ("The ADSR Editor"), five points from four bars. Both are modal and work
// on the document's envelope table through the tool window's services.
#pragma once

#include <functional>
#include <random>
#include <string>

#include <QDialog>

#include "core/EnvelopeEdit.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QScrollBar;
class TPaintBox;
class TfMain;
class TfTools;

// Opens each editor modally over the document's envelopes, with the voice
// editor's envelope item (0-based combo index) selected; returns the dialog's
// result. These are the entries the voice editor calls.
int ShowVolumeEnvelopeEditor(TfMain& main, int envelopeItem);
int ShowAdsrEditor(TfMain& main, int envelopeItem);

class TfEditVol : public QDialog {
  Q_OBJECT

 public:
  TfEditVol(TfMain& main, int envelopeItem, QWidget* parent = nullptr);
  ~TfEditVol() override;

  void FormActivate();
  void DrawEnvelope();
  void bAddClick();
  void bUpdateClick();
  void bDeleteClick();
  void bPlayClick();
  void bRandomClick();
  void bImportClick();
  void bMirrorHorizontalClick();
  void bMirrorVerticalClick();
  void bHelpClick();

  TEnvelopeEditor Editor;
  std::mt19937 Random{std::random_device{}()};
  // The message box of a file that is no envelope text file (error icon,
  // caption "Kalvora in trouble").
  std::function<void(const std::string&)> ShowFormatError;

  TPaintBox* pbV;
  QComboBox* cbV;
  QLineEdit* eName;
  QLabel *lPos, *iInstruction;
  QPushButton *bAdd, *bUpdate, *bDelete, *bPlay, *bRandom, *bImport, *bMirrorHorizontal, *bMirrorVertical,
      *bHelp, *bClose;

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  void cbVChange();
  void LoadSelected();
  TfMain& main_;
  TfTools& tools_;
  int envelopeItem_;
  bool activated_ = false;
};

class TfADSR : public QDialog {
  Q_OBJECT

 public:
  TfADSR(TfMain& main, int envelopeItem, QWidget* parent = nullptr);
  ~TfADSR() override;

  void FormActivate();
  void UpdateControls();  // bars and labels from the model, then draw
  void DrawEnvelope();
  void bAddClick();
  void bUpdateClick();
  void bDeleteClick();
  void bPlayClick();
  void bRandomClick();
  void bInitClick();
  void bHelpClick();

  TAdsrEditor Adsr;
  std::mt19937 Random{std::random_device{}()};

  TPaintBox* pbV;
  QComboBox* cbV;
  QLineEdit* eName;
  QScrollBar *sbA, *sbD, *sbS, *sbR;
  QLabel *lA, *lD, *lS, *lR;
  QPushButton *bAdd, *bUpdate, *bDelete, *bPlay, *bRandom, *bInit, *bHelp, *bClose;

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  void cbVChange();
  void BarMoved(QScrollBar* bar, int value);
  TfMain& main_;
  TfTools& tools_;
  int envelopeItem_;
  bool activated_ = false;
};
