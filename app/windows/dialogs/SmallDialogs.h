// The small modal windows: the confirmation, question and message boxes
// (created once and reused), the two new-name dialogs and the about box.
#pragma once

#include <QDialog>
#include <QImage>
#include <QPointer>
#include <QTimer>

#include <string>
#include <vector>

#include "core/VoiceEdit.h"

class QLabel;
class QLineEdit;
class QPushButton;
class TZRWAniImage;

// A borderless box with a lowered panel, an animation of `cells` cells and a
// centred text. The animation plays while the box is shown.
class TAnimatedBox : public QDialog {
  Q_OBJECT

 public:
  TAnimatedBox(const char* objectName, const char* caption, int cells, QWidget* parent);
  TZRWAniImage* Animation() const { return image_; }
  QLabel* lText;

 protected:
  QPushButton* AddButton(const char* objectName, const char* text, int result);
  void Finish();  // lays out the panel once all buttons are there
  void showEvent(QShowEvent* e) override;
  void hideEvent(QHideEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void reject() override { done(escapeResult_); }
  int returnResult_ = 1, escapeResult_ = 2;

 private:
  TZRWAniImage* image_;
  std::vector<QPushButton*> buttons_;
};

class TfSure : public TAnimatedBox {
  Q_OBJECT
 public:
  explicit TfSure(QWidget* parent = nullptr);
  ~TfSure() override;
  static TfSure* Instance();  // the box made at start-up, null before
  QPushButton *bYes, *bNo;
};

class TfMessage : public TAnimatedBox {
  Q_OBJECT
 public:
  explicit TfMessage(QWidget* parent = nullptr);
  ~TfMessage() override;
  static TfMessage* Instance();
  void SetMessageText(const QString& text);
  QPushButton* bOK;
};

// Escape answers Cancel: answering No to "Save changes ...?" throws the work
// away, which a key meant to back out must never do.
class TfQuestion : public TAnimatedBox {
  Q_OBJECT
 public:
  explicit TfQuestion(QWidget* parent = nullptr);
  ~TfQuestion() override;
  static TfQuestion* Instance();
  void SetQuestionText(const QString& text);
  QPushButton *bYes, *bNo, *bCancel;
};

// Asks for a new name for a preset or envelope whose name clashes with a
// different one in the library. Checks nothing itself.
class TfNewName : public QDialog {
  Q_OBJECT
 public:
  TfNewName(const char* objectName, const char* what, const char* because, int maxLength, QWidget* parent);
  QLabel* lName;
  QLineEdit* eNewName;
  QPushButton* bOK;
  // Names are the library's Windows-1252 bytes.
  void SetClashingName(const std::string& name);  // shown between double quotes
  std::string NewName() const;                     // cut to the maximum length

 protected:
  void keyPressEvent(QKeyEvent* e) override;

 private:
  int maxLength_;
};

class TfNewPresetName : public TfNewName {
  Q_OBJECT
 public:
  explicit TfNewPresetName(QWidget* parent = nullptr);
  QLabel*& lPresetWaveName = lName;
};

class TfNewEnvelopeName : public TfNewName {
  Q_OBJECT
 public:
  explicit TfNewEnvelopeName(QWidget* parent = nullptr);
  QLabel*& lEnvelopeName = lName;
};

class TfAbout : public QDialog {
  Q_OBJECT
 public:
  explicit TfAbout(QWidget* parent = nullptr);
  QWidget *pbMain, *pbScrollText;
  const QImage& Bitmap() const { return bitmap_; }
  const std::vector<TPoint>& Figure() const { return figure_; }
  int StripX() const { return stripX_; }
  QTimer& Timer() { return timer_; }
  void Tick();

 protected:
  void showEvent(QShowEvent* e) override;
  void hideEvent(QHideEvent* e) override;
  void keyPressEvent(QKeyEvent* e) override;
  void mousePressEvent(QMouseEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  QImage info_, mask_, strip_, bitmap_;
  std::vector<TPoint> figure_;
  int head_ = 0, phase_ = 0, stripX_ = 0;
  QTimer timer_;
};
