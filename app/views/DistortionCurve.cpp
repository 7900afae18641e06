#include "views/DistortionCurve.h"

#include <algorithm>

#include <QPainter>
#include <QPolygonF>

#include "views/Colors.h"

TDistortionCurveBox::TDistortionCurveBox(QWidget* parent, const TInGlobSettings& settings)
    : QWidget(parent), settings_(settings) {
  setObjectName("pbDistortion");
  setMinimumSize(120, 120);
}

QImage TDistortionCurveBox::Render() const {
  const int w = std::max(width(), 1), h = std::max(height(), 1);
  QImage image(w, h, QImage::Format_RGB32);
  image.fill(ColorFromBGR(0xC0C0C0));
  QPainter p(&image);
  const TDistortionFactors f = settings_.GetDistortionFactors();
  // The curve spans the columns 0..w - 1 the image has, so its right end
  // (the top of the sine) is drawn, not cut off one column outside.
  const int span = std::max(w - 1, 1);
  QPolygonF reference, distorted;
  for (int i = 0; i <= span; ++i) {
    reference << QPointF(i, h - 1 - static_cast<double>(DistortionCurveSine(i, span, h)));
    distorted << QPointF(i, h - 1 - static_cast<double>(DistortionCurveOutput(i, span, h, f)));
  }
  p.setPen(ColorFromBGR(0x000000));
  p.drawPolyline(reference);
  p.setPen(ColorFromBGR(0xFF0000));
  p.drawPolyline(distorted);
  return image;
}

void TDistortionCurveBox::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, Render());
}

