#include "views/Backgrounds.h"

#include <algorithm>
#include <cmath>

#include <QPainter>

#include "components/EffectDrawing.h"
#include "components/TileControl.h"
#include "platform/qt/LocalPaths.h"
#include "views/Colors.h"

QImage BuiltInMainPicture() {
  QImage img(64, 64, QImage::Format_RGB32);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      int v = 150 + static_cast<int>(12 * std::sin((x + y) * 3.14159265 / 32) + 8 * std::cos((x - y) * 3.14159265 / 16));
      img.setPixelColor(x, y, QColor(v - 30, v - 15, v + 20));
    }
  return img;
}

QImage BuiltInBorderPicture() {
  QImage img(32, 32, QImage::Format_RGB32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      int v = 70 + ((x * 7 + y * 13) % 17) + static_cast<int>(10 * std::sin(y * 3.14159265 / 16));
      img.setPixelColor(x, y, QColor(v - 20, v - 5, v + 40));
    }
  return img;
}

void TBackgroundPainter::Paint(QPainter& p, const QRect& r) {
  if (!setting_ || setting_->Default) return Tile(p, r, builtIn_);
  switch (setting_->TileMode) {
    case tmTile: return Tile(p, r, Picture());
    case tmStretch: p.drawImage(r, Picture()); return;
    case tmCenter: {
      p.fillRect(r, ColorFromBGR(clSilver));
      const QImage& img = Picture();
      p.drawImage(r.x() + (r.width() - img.width()) / 2, r.y() + (r.height() - img.height()) / 2, img);
      return;
    }
    case tmGradient: return Gradient(p, r);
    default: p.fillRect(r, ColorFromBGR(clSilver)); return;
  }
}

void TBackgroundPainter::Tile(QPainter& p, const QRect& r, const QImage& img) { TileBitmap(p, img, r); }

void TBackgroundPainter::Gradient(QPainter& p, const QRect& r) {
  const QColor from = ColorFromBGR(setting_->ColorFrom), to = ColorFromBGR(setting_->ColorTo);
  const int h = std::max(1, r.height());
  for (int y = 0; y < r.height(); ++y) {
    auto mix = [&](int a, int b) { return a + (b - a) * y / h; };
    p.setPen(QColor(mix(from.red(), to.red()), mix(from.green(), to.green()), mix(from.blue(), to.blue())));
    p.drawLine(r.x(), r.y() + y, r.right(), r.y() + y);
  }
}

QImage BackgroundPicture(const TBackgroundSetting& setting, const QImage& builtIn) {
  const QString path = kalvora::platform::ToQtPath(setting.Image);
  QImage img = path.isEmpty() ? QImage() : QImage(path);
  return img.isNull() ? builtIn : img;
}

void ApplyTileSetting(TZRWTile& tile, const TBackgroundSetting& setting, const QImage& builtIn) {
  if (setting.Default) {
    tile.SetBitmap(builtIn);
    tile.SetTileMode(TZRWBackmode::tmTile);
    return;
  }
  // Values outside the known modes show nothing rather than reach the control.
  const int mode = setting.TileMode;
  tile.SetTileMode(mode >= tmNone && mode <= tmStretch ? static_cast<TZRWBackmode>(mode) : TZRWBackmode::tmNone);
  tile.SetBitmap(BackgroundPicture(setting, builtIn));
  tile.Gradient().SetColor(ColorFromBGR(setting.ColorFrom));
  tile.Gradient().SetEndColor(ColorFromBGR(setting.ColorTo));
  tile.Gradient().SetDirection(TZRWDirection::mdVertical);
}

// The configured picture when it exists, else the built-in one.
const QImage& TBackgroundPainter::Picture() {
  const QString path = kalvora::platform::ToQtPath(setting_->Image);
  if (path != loadedPath_) {
    loadedPath_ = path;
    loaded_ = path.isEmpty() ? QImage() : QImage(path);
  }
  return loaded_.isNull() ? builtIn_ : loaded_;
}

