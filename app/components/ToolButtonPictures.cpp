#include "components/ToolButtonPictures.h"

#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>

QImage ToolButtonPicture(TToolPicture which, int size) {
  QImage img(size, size, QImage::Format_RGB32);
  img.fill(kToolPictureKey);
  QPainter p(&img);
  // Hard edges only: blended edge pixels would not match the key colour and
  // would show as a fringe.
  p.setRenderHint(QPainter::Antialiasing, false);
  p.setRenderHint(QPainter::TextAntialiasing, false);
  const double s = size / 24.0;
  p.scale(s, s);
  const QColor ink(20, 30, 60), blue(40, 90, 200), green(30, 150, 60), red(200, 40, 40), yellow(235, 190, 40),
      paper(250, 250, 245);
  p.setPen(QPen(ink, 1));
  switch (which) {
    case TToolPicture::Play:
      p.setBrush(green);
      p.drawPolygon(QPolygonF({QPointF(6, 3), QPointF(20, 12), QPointF(6, 21)}));
      break;
    case TToolPicture::SaveSample:  // a wave going into a disk
      p.setBrush(blue);
      p.drawRect(3, 3, 18, 18);
      p.setBrush(paper);
      p.drawRect(6, 3, 12, 7);
      p.setPen(QPen(red, 2));
      p.drawLine(6, 16, 9, 13), p.drawLine(9, 13, 12, 18), p.drawLine(12, 18, 15, 13), p.drawLine(15, 13, 18, 16);
      break;
    case TToolPicture::LoadInstrument:  // an open folder
      p.setBrush(yellow);
      p.drawRect(2, 7, 17, 13);
      p.drawRect(2, 5, 7, 2);
      p.setBrush(QColor(250, 215, 90));
      p.drawPolygon(QPolygonF({QPointF(5, 11), QPointF(22, 11), QPointF(19, 20), QPointF(2, 20)}));
      break;
    case TToolPicture::SaveInstrument:  // a disk with a note
      p.setBrush(QColor(90, 90, 110));
      p.drawRect(3, 3, 18, 18);
      p.setBrush(paper);
      p.drawRect(6, 3, 12, 7);
      p.setBrush(ink);
      p.drawEllipse(QPointF(10, 17), 2, 1.6);
      p.drawLine(12, 17, 12, 12), p.drawLine(12, 12, 15, 13);
      break;
    case TToolPicture::Options:  // three sliders
      for (int i = 0; i < 3; ++i) {
        p.setPen(QPen(ink, 1));
        p.drawLine(4, 6 + 6 * i, 20, 6 + 6 * i);
        p.setBrush(i == 1 ? red : blue);
        p.drawRect(QRect(6 + 5 * ((i * 2) % 3), 4 + 6 * i, 4, 4));
      }
      break;
    case TToolPicture::Statistics:  // bars
      p.setBrush(blue);
      p.drawRect(4, 12, 4, 9);
      p.setBrush(green);
      p.drawRect(10, 6, 4, 15);
      p.setBrush(red);
      p.drawRect(16, 9, 4, 12);
      p.drawLine(2, 21, 22, 21);
      break;
    case TToolPicture::About:  // "i" in a circle, dark enough to keep the "i" in grey
      p.setBrush(QColor(20, 40, 120));
      p.drawEllipse(QPointF(12, 12), 9, 9);
      p.fillRect(QRect(11, 10, 3, 8), paper);
      p.fillRect(QRect(11, 6, 3, 2), paper);
      break;
    case TToolPicture::Help: {  // "?" in a circle
      p.setBrush(QColor(20, 100, 40));
      p.drawEllipse(QPointF(12, 12), 9, 9);
      QFont f;
      f.setPixelSize(14);
      f.setBold(true);
      p.setFont(f);
      p.setPen(paper);
      p.drawText(QRect(3, 3, 18, 18), Qt::AlignCenter, QStringLiteral("?"));
      break;
    }
    case TToolPicture::Exit:  // a door and an arrow
      p.setBrush(QColor(150, 100, 60));
      p.drawRect(4, 3, 10, 18);
      p.setPen(QPen(red, 3));
      p.drawLine(11, 12, 21, 12);
      p.drawLine(17, 8, 21, 12), p.drawLine(17, 16, 21, 12);
      break;
  }
  return img;
}
