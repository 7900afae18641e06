#include "components/LrsBmp.h"

#include <QMouseEvent>
#include <QPainter>

TLrsBmp::TLrsBmp(QWidget* parent) : QWidget(parent) {
  resize(32, 32);
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TLrsBmp::SetBitMap(const QImage& image) {
  bitmap_ = image.convertToFormat(QImage::Format_RGB32);
  resize(bitmap_.width() > 0 ? bitmap_.width() : 32, bitmap_.height() > 0 ? bitmap_.height() : 32);
  update();
}

void TLrsBmp::SetStretch(bool v) {
  if (v == stretch_) return;
  stretch_ = v;
  update();
}

void TLrsBmp::SetTransparentColor(const QColor& c) {
  if (c == transparent_) return;
  transparent_ = c;
  update();
}

void TLrsBmp::Paint(QPainter& p) {
  if (bitmap_.height() == 0) {
    p.fillRect(rect(), Qt::white);
    return;
  }
  QRect target = rect();
  if (!stretch_) {
    if (size() != bitmap_.size()) resize(bitmap_.size());
    target = QRect(QPoint(0, 0), bitmap_.size());
  }
  QImage shown = bitmap_;
  if (transparent_.isValid()) {
    const QRgb from = transparent_.rgb(), to = color_.rgb();
    for (int y = 0; y < shown.height(); ++y) {
      auto* line = reinterpret_cast<QRgb*>(shown.scanLine(y));
      for (int x = 0; x < shown.width(); ++x)
        if ((line[x] & 0xFFFFFF) == (from & 0xFFFFFF)) line[x] = to;
    }
  }
  p.drawImage(target, shown);
}

QImage TLrsBmp::PaintToImage() {
  QImage img(size(), QImage::Format_RGB32);
  img.fill(color_);
  QPainter p(&img);
  Paint(p);
  return img;
}

void TLrsBmp::paintEvent(QPaintEvent*) {
  QPainter p(this);
  Paint(p);
}

void TLrsBmp::mousePressEvent(QMouseEvent* e) {
  if (e->button() == Qt::LeftButton) emit clicked();
  QWidget::mousePressEvent(e);
}
