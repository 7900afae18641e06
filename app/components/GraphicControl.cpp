#include "components/GraphicControl.h"

#include <QPainter>

#include "components/EffectDrawing.h"

namespace {

// Black dashes of two pixels round the edge of `r`.
void DashedFrame(QPainter& p, const QRect& r) {
  auto dot = [&](int i, int x, int y) {
    if ((i / 2) % 2 == 0) p.fillRect(QRect(x, y, 1, 1), Qt::black);
  };
  for (int x = r.left(); x <= r.right(); ++x) dot(x - r.left(), x, r.top()), dot(x - r.left(), x, r.bottom());
  for (int y = r.top(); y <= r.bottom(); ++y) dot(y - r.top(), r.left(), y), dot(y - r.top(), r.right(), y);
}

}  // namespace

// --- TZRWGraphicControl

TZRWGraphicControl::TZRWGraphicControl(QWidget* parent) : QWidget(parent) { Watch(bevel_); }

void TZRWGraphicControl::Watch(TZRWObject& settings) {
  settings.OnChange = [this](TZRWObject*) { SettingsChanged(); };
}

void TZRWGraphicControl::SetDesigning(bool v) {
  designing_ = v;
  update();
}

void TZRWGraphicControl::PaintBase(QPainter& p) {
  if (IsEmpty() && !bevel_.HasBevel()) {
    if (designing_) DashedFrame(p, rect());
    return;
  }
  bevel_.Draw(p, rect(), true);
}

void TZRWGraphicControl::Paint(QPainter& p) { PaintBase(p); }

QImage TZRWGraphicControl::PaintToImage() {
  QImage img(size(), QImage::Format_ARGB32_Premultiplied);
  img.fill(Qt::transparent);
  QPainter p(&img);
  Paint(p);
  return img;
}

void TZRWGraphicControl::paintEvent(QPaintEvent*) {
  const QImage img = PaintToImage();
  QPainter p(this);
  p.drawImage(0, 0, img);
}

// --- TZRWCustomImage

TZRWCustomImage::TZRWCustomImage(QWidget* parent) : TZRWGraphicControl(parent) { Watch(transparent_); }

void TZRWCustomImage::SetStyle(TZRWBitmapStyle v) {
  if (style_ == v) return;
  style_ = v;
  SettingsChanged();
}

void TZRWCustomImage::SettingsChanged() {
  const QSize cell = CellSize();
  if (style_ == TZRWBitmapStyle::sbAutosize && !cell.isEmpty()) {
    const int b = 2 * Bevel().BevelWidth();
    resize(cell.width() + b, cell.height() + b);
  }
  update();
}

void TZRWCustomImage::DrawCell(QPainter& p, const QImage& cell, const QRect& inner) {
  if (cell.isNull() || inner.isEmpty()) return;
  // First the cell as it lies on the control, then its key colour.
  QImage placed;
  QPoint at = inner.topLeft();
  switch (style_) {
    case TZRWBitmapStyle::sbNone:
    case TZRWBitmapStyle::sbAutosize: placed = cell; break;
    case TZRWBitmapStyle::sbCenter:
      placed = cell;
      at = QPoint((width() - cell.width()) / 2, (height() - cell.height()) / 2);
      break;
    case TZRWBitmapStyle::sbStretch:
      placed = cell.scaled(inner.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation);
      break;
    case TZRWBitmapStyle::sbTile: {
      placed = QImage(inner.size(), QImage::Format_RGB32);
      QPainter tp(&placed);
      TileBitmap(tp, cell, placed.rect());
      break;
    }
  }
  placed = placed.convertToFormat(QImage::Format_RGB32);
  // The picture's own key colour is the colour of its bottom-left pixel.
  const QColor ownKey = cell.pixelColor(0, cell.height() - 1);
  p.save();
  p.setClipRect(inner);
  switch (transparent_.Mode()) {
    case TZRWTransparentMode::tpNone: p.drawImage(at, placed); break;
    case TZRWTransparentMode::tpTransparentColor: {
      const QRgb from = ownKey.rgb() | 0xFF000000u, to = transparent_.Color().rgb() | 0xFF000000u;
      for (int y = 0; y < placed.height(); ++y) {
        auto* line = reinterpret_cast<QRgb*>(placed.scanLine(y));
        for (int x = 0; x < placed.width(); ++x)
          if (line[x] == from) line[x] = to;
      }
      p.drawImage(at, placed);
      break;
    }
    // The parent's pixels lie below every control that leaves some of its
    // own untouched, so leaving out the key colour restores the background.
    case TZRWTransparentMode::tpRestoreBack:
      DrawTransparentBitmap(p, at.x(), at.y(), placed, 0, 0, placed.width(), placed.height(), ownKey);
      break;
    case TZRWTransparentMode::tpRBTranspColor:
      DrawTransparentBitmap(p, at.x(), at.y(), placed, 0, 0, placed.width(), placed.height(), transparent_.Color());
      break;
  }
  p.restore();
}
