// A paint box: a control that shows an off-screen picture and hands its
// paint, resize and mouse events to its window's handlers.
#pragma once

#include <functional>

#include <QImage>
#include <QWidget>

class TPaintBox : public QWidget {
  Q_OBJECT

 public:
  explicit TPaintBox(QWidget* parent = nullptr, const char* name = nullptr);

  // The picture copied on every paint (scaled to nothing: drawn at 0, 0).
  QImage Picture;

  std::function<void()> OnPaint;  // runs before the copy
  std::function<void()> OnResize;
  std::function<void(int x, int y, Qt::MouseButton button)> OnMouseDown;
  std::function<void(int x, int y)> OnMouseMove;
  std::function<void(int x, int y)> OnMouseUp;

  // A picture of the box's size filled with the colour (0x00BBGGRR).
  void NewPicture(std::uint32_t bgr);

 protected:
  void paintEvent(QPaintEvent*) override;
  void resizeEvent(QResizeEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;
};
