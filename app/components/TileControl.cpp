#include "components/TileControl.h"

#include <QPainter>

#include "components/EffectDrawing.h"

TZRWTile::TZRWTile(QWidget* parent) : TZRWGraphicControl(parent) { Watch(gradient_); }

void TZRWTile::SetBitmap(const QImage& v) {
  bitmap_ = v;
  update();
}

void TZRWTile::SetTileMode(TZRWBackmode v) {
  tileMode_ = v;
  setAttribute(Qt::WA_OpaquePaintEvent, v == TZRWBackmode::tmGradient || v == TZRWBackmode::tmTile ||
                                            v == TZRWBackmode::tmStretch);
  update();
}

bool TZRWTile::IsEmpty() const {
  return (bitmap_.isNull() || bitmap_.width() == 0 || bitmap_.height() == 0) && tileMode_ != TZRWBackmode::tmGradient;
}

void TZRWTile::Paint(QPainter& p) {
  if (IsEmpty() && !Bevel().HasBevel()) return PaintBase(p);
  // An opaque tile must cover every pixel, also those beside a shadow.
  const QRect inner = Bevel().Draw(p, rect(), !testAttribute(Qt::WA_OpaquePaintEvent));
  if (inner.isEmpty()) return;
  p.save();
  p.setClipRect(inner);
  switch (tileMode_) {
    case TZRWBackmode::tmNone: p.drawImage(inner.topLeft(), bitmap_); break;
    case TZRWBackmode::tmCenter:
      p.drawImage(QPoint((width() - bitmap_.width()) / 2, (height() - bitmap_.height()) / 2), bitmap_);
      break;
    case TZRWBackmode::tmStretch:
      if (!bitmap_.isNull()) p.drawImage(inner, bitmap_.scaled(inner.size(), Qt::IgnoreAspectRatio, Qt::FastTransformation));
      break;
    case TZRWBackmode::tmGradient: FillGradient(p, gradient_, inner); break;
    case TZRWBackmode::tmTile: TileBitmap(p, bitmap_, inner); break;
  }
  p.restore();
}
