#include "views/PaintBox.h"

#include <QMouseEvent>
#include <QPainter>

#include "views/Colors.h"

TPaintBox::TPaintBox(QWidget* parent, const char* name) : QWidget(parent) {
  if (name) setObjectName(QString::fromLatin1(name));
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void TPaintBox::NewPicture(std::uint32_t bgr) {
  Picture = QImage(std::max(width(), 1), std::max(height(), 1), QImage::Format_RGB32);
  Picture.fill(ColorFromBGR(bgr));
}

void TPaintBox::paintEvent(QPaintEvent*) {
  if (OnPaint) OnPaint();
  QPainter p(this);
  p.fillRect(rect(), palette().window());
  if (!Picture.isNull()) p.drawImage(0, 0, Picture);
}

void TPaintBox::resizeEvent(QResizeEvent*) {
  if (OnResize) OnResize();
}

void TPaintBox::mousePressEvent(QMouseEvent* e) {
  if (OnMouseDown) OnMouseDown(e->position().toPoint().x(), e->position().toPoint().y(), e->button());
}

void TPaintBox::mouseMoveEvent(QMouseEvent* e) {
  if (OnMouseMove) OnMouseMove(e->position().toPoint().x(), e->position().toPoint().y());
}

void TPaintBox::mouseReleaseEvent(QMouseEvent* e) {
  if (OnMouseUp) OnMouseUp(e->position().toPoint().x(), e->position().toPoint().y());
}
