// The painted backgrounds of the main window: the client area behind the
// child windows and the three panels, tiled, centred, stretched or as a
// gradient, from the configured picture or a built-in one.
#pragma once

#include <QImage>
#include <QMdiArea>
#include <QString>
#include <QWidget>

#include "core/MainSettings.h"

// Built-in pictures: a soft tile for the client area and a darker one for
// the panels.
QImage BuiltInMainPicture();
QImage BuiltInBorderPicture();

class TBackgroundPainter {
 public:
  TBackgroundPainter(const TBackgroundSetting* setting, QImage builtIn)
      : setting_(setting), builtIn_(std::move(builtIn)) {}
  void Paint(QPainter& p, const QRect& r);

 private:
  static void Tile(QPainter& p, const QRect& r, const QImage& img);
  void Gradient(QPainter& p, const QRect& r);
  const QImage& Picture();

  const TBackgroundSetting* setting_;
  QImage builtIn_;
  QString loadedPath_;
  QImage loaded_;
};

class TTilePanel : public QWidget {
 public:
  TTilePanel(const TBackgroundSetting* setting, QImage builtIn, QWidget* parent)
      : QWidget(parent), painter_(setting, std::move(builtIn)) {}

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  TBackgroundPainter painter_;
};

class TMainClientArea : public QMdiArea {
 public:
  TMainClientArea(const TBackgroundSetting* setting, QWidget* parent)
      : QMdiArea(parent), painter_(setting, BuiltInMainPicture()) {}

 protected:
  void paintEvent(QPaintEvent*) override;

 private:
  TBackgroundPainter painter_;
};
