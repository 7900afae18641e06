// TZRWTile: a background control that shows a picture (placed, centred,
// stretched or tiled) or a gradient inside its bevel.
#pragma once

#include <QImage>

#include "components/GraphicControl.h"

// Values as the settings file stores them.
enum class TZRWBackmode { tmNone = 0, tmCenter = 1, tmGradient = 2, tmTile = 3, tmStretch = 4 };

class TZRWTile : public TZRWGraphicControl {
  Q_OBJECT

 public:
  explicit TZRWTile(QWidget* parent = nullptr);

  const QImage& Bitmap() const { return bitmap_; }
  void SetBitmap(const QImage& v);
  TZRWGradient& Gradient() { return gradient_; }
  void SetGradient(const TZRWGradient& v) { gradient_.Assign(v); }
  TZRWBackmode TileMode() const { return tileMode_; }
  // Gradient, tile and stretch cover the whole control: it is then opaque.
  void SetTileMode(TZRWBackmode v);

 protected:
  bool IsEmpty() const override;
  void Paint(QPainter& p) override;

 private:
  QImage bitmap_;
  TZRWGradient gradient_;
  TZRWBackmode tileMode_ = TZRWBackmode::tmNone;
};
