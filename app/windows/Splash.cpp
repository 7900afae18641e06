#include "windows/Splash.h"

#include <cmath>

#include <QGuiApplication>
#include <QLinearGradient>
#include <QPainter>
#include <QRegion>
#include <QScreen>

#include "views/Colors.h"

namespace {

constexpr int kWidth = 434;
constexpr int kHeight = 144;

// The built-in picture: a dark blue gradient with the name and version.
QImage BuildSplashPicture() {
  QImage img(kWidth, kHeight, QImage::Format_RGB32);
  QPainter p(&img);
  QLinearGradient g(0, 0, kWidth, kHeight);
  g.setColorAt(0, ColorFromBGR(0x602010));
  g.setColorAt(1, ColorFromBGR(0x100400));
  p.fillRect(img.rect(), g);
  p.setPen(ColorFromBGR(0xFFC080));
  for (int x = 0; x < kWidth; x += 3) {  // a stylised waveform across the picture
    int y = kHeight / 2 + static_cast<int>(30 * std::sin(x / 18.0) * std::sin(x / 131.0));
    p.drawPoint(x, y + 30);
  }
  QFont f = p.font();
  f.setPointSize(30);
  f.setBold(true);
  p.setFont(f);
  p.setPen(Qt::white);
  p.drawText(QRect(150, 10, 270, 70), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("Kalvora"));
  f.setPointSize(10);
  f.setBold(false);
  p.setFont(f);
  p.drawText(QRect(150, 78, 270, 24), Qt::AlignRight | Qt::AlignVCenter, QStringLiteral("V 3.0"));
  return img;
}

}  // namespace

TfSplash::TfSplash(QWidget* parent)
    : QWidget(parent, Qt::SplashScreen | Qt::FramelessWindowHint | Qt::WindowStaysOnTopHint) {
  setObjectName(QStringLiteral("fSplash"));
  setWindowTitle(QStringLiteral("Kalvora"));
  setFixedSize(kWidth, kHeight);
  FormCreate();
}

TfSplash::~TfSplash() = default;

QPolygon TfSplash::SplashOutline() {
  return QPolygon({QPoint(0, 42), QPoint(149, 0), QPoint(432, 0), QPoint(433, 1), QPoint(433, 141),
                   QPoint(431, 143), QPoint(2, 143), QPoint(0, 141)});
}

void TfSplash::FormCreate() {
  picture_ = BuildSplashPicture();
  setMask(QRegion(SplashOutline(), Qt::OddEvenFill));
  if (QScreen* s = QGuiApplication::primaryScreen()) move(s->geometry().center() - rect().center());
}

void TfSplash::FormClose() {
  clearMask();
  close();
}

void TfSplash::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, picture_);
}
