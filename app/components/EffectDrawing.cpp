#include "components/EffectDrawing.h"

#include <QApplication>
#include <QPainter>
#include <QPalette>

#include "components/EffectSettings.h"

namespace {

// Palette colours may carry more than 8 bits a channel; drawing stores 8.
QColor SystemColor(QPalette::ColorGroup group, QPalette::ColorRole role) {
  return QColor::fromRgb(QApplication::palette().color(group, role).rgb());
}

}  // namespace

QColor ButtonFaceColor() { return SystemColor(QPalette::Active, QPalette::Button); }
QColor ButtonHighlightColor() { return SystemColor(QPalette::Active, QPalette::Light); }
QColor ButtonShadowColor() { return SystemColor(QPalette::Active, QPalette::Dark); }
QColor WindowTextColor() { return SystemColor(QPalette::Active, QPalette::WindowText); }
QColor InactiveCaptionColor() { return SystemColor(QPalette::Inactive, QPalette::Highlight); }

QRect Frame3D(QPainter& p, QRect r, const QColor& topLeft, const QColor& bottomRight, int width) {
  for (int i = 0; i < width && r.width() > 0 && r.height() > 0; ++i) {
    const int l = r.left(), t = r.top(), rt = r.right(), b = r.bottom();  // inclusive edges
    p.fillRect(QRect(l, t, r.width() - 1, 1), topLeft);
    p.fillRect(QRect(l, t, 1, r.height()), topLeft);
    p.fillRect(QRect(rt, t, 1, r.height()), bottomRight);
    if (r.width() > 1) p.fillRect(QRect(l + 1, b, r.width() - 1, 1), bottomRight);
    r.adjust(1, 1, -1, -1);
  }
  return r;
}

void FrameRect(QPainter& p, const QRect& r, const QColor& c) {
  if (r.width() <= 0 || r.height() <= 0) return;
  p.fillRect(QRect(r.left(), r.top(), r.width(), 1), c);
  p.fillRect(QRect(r.left(), r.bottom(), r.width(), 1), c);
  p.fillRect(QRect(r.left(), r.top(), 1, r.height()), c);
  p.fillRect(QRect(r.right(), r.top(), 1, r.height()), c);
}

void DrawTransparentBitmap(QPainter& p, int x, int y, const QImage& source, int sx, int sy, int w, int h,
                           const QColor& transparent) {
  if (source.isNull() || w <= 0 || h <= 0) return;
  // The mask step of the window system becomes an alpha channel: key pixels
  // get alpha 0 and so leave the canvas as it was.
  QImage part = source.copy(sx, sy, w, h).convertToFormat(QImage::Format_ARGB32);
  const QRgb key = transparent.rgb() & 0xFFFFFF;
  for (int row = 0; row < part.height(); ++row) {
    auto* line = reinterpret_cast<QRgb*>(part.scanLine(row));
    for (int col = 0; col < part.width(); ++col)
      if ((line[col] & 0xFFFFFF) == key) line[col] = 0;
  }
  p.drawImage(x, y, part);
}

void TileBitmap(QPainter& p, const QImage& bitmap, const QRect& r) {
  if (bitmap.isNull() || bitmap.width() == 0 || bitmap.height() == 0 || r.width() <= 0 || r.height() <= 0) return;
  QImage tmp(r.size(), QImage::Format_RGB32);
  {
    QPainter tp(&tmp);
    for (int row = 0; row <= r.height() / bitmap.height(); ++row)
      for (int col = 0; col <= r.width() / bitmap.width(); ++col)
        tp.drawImage(col * bitmap.width(), row * bitmap.height(), bitmap);
  }
  p.drawImage(r.topLeft(), tmp);
}

void FillGradient(QPainter& p, const TZRWGradient& gradient, const QRect& r) {
  if (r.width() <= 0 || r.height() <= 0) return;
  QImage tmp(r.size(), QImage::Format_RGB32);
  {
    QPainter tp(&tmp);
    gradient.Paint(tp, QRect(QPoint(0, 0), r.size()));
  }
  p.drawImage(r.topLeft(), tmp);
}
