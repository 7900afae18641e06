// TLrsBmp: shows one bitmap at its own size or stretched, with one colour
// optionally replaced by the control's background colour.
#pragma once

#include <QColor>
#include <QImage>
#include <QWidget>

class TLrsBmp : public QWidget {
  Q_OBJECT

 public:
  explicit TLrsBmp(QWidget* parent = nullptr);
  const QImage& BitMap() const { return bitmap_; }
  // Copies the picture and takes its size (32 for a side that comes out 0).
  void SetBitMap(const QImage& image);
  bool Stretch() const { return stretch_; }
  void SetStretch(bool v);
  // -1 (an invalid colour) is none.
  QColor TransparentColor() const { return transparent_; }
  void SetTransparentColor(const QColor& c);
  QColor Color() const { return color_; }
  void SetColor(const QColor& c) { color_ = c; update(); }
  QImage PaintToImage();  // what Paint draws, for tests

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;

 signals:
  void clicked();

 private:
  void Paint(QPainter& p);
  QImage bitmap_;
  bool stretch_ = false;
  QColor transparent_;
  QColor color_{0xC0, 0xC0, 0xC0};
};
