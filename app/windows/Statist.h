// TfStatist: the usage counters of the settings file and how full the two
// libraries are.
#pragma once

#include <QDialog>

class QLabel;
class QProgressBar;
class QPushButton;
class TfMain;

class TfStatist : public QDialog {
  Q_OBJECT

 public:
  explicit TfStatist(TfMain* main);
  // Fills the labels (on activation).
  void ShowValues();

  QLabel *lTotalTime, *lCalculationTime, *lCalculatedWaves, *lNumberOfStarts;
  QProgressBar *gPresets, *gEnvelopes;
  QPushButton *bOK, *bHelp;

 protected:
  void keyPressEvent(QKeyEvent* e) override;
  void showEvent(QShowEvent* e) override;

 private:
  TfMain* main_;
};
