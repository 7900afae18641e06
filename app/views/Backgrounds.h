// The painted backgrounds of the main window: the client area behind the
// child windows and the three panels, tiled, centred, stretched or as a
// gradient, from the configured picture or a built-in one.
#pragma once

#include <QImage>
#include <QString>

#include "core/MainSettings.h"

// Built-in pictures: a soft tile for the client area and a darker one for
// the panels.
QImage BuiltInMainPicture();
QImage BuiltInBorderPicture();

// The configured picture of `setting` when it can be read, else `builtIn`.
QImage BackgroundPicture(const TBackgroundSetting& setting, const QImage& builtIn);

class TZRWTile;
// Shows `setting` on a panel tile: the built-in picture tiled for "Default",
// else the configured mode, picture and vertical gradient.
void ApplyTileSetting(TZRWTile& tile, const TBackgroundSetting& setting, const QImage& builtIn);

// Draws the client area's background (the paint handler of the main
// window's MDI background).
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

