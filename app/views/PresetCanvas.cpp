#include "views/PresetCanvas.h"

#include <cmath>

#include <QMouseEvent>
#include <QPainter>
#include <QPolygon>

#include "views/Colors.h"

TPresetCanvas::TPresetCanvas(const char* objectName, int width, int height, QWidget* parent)
    : QWidget(parent), picture_(width, height, QImage::Format_RGB32) {
  setObjectName(objectName);
  setFixedSize(width, height);
  picture_.fill(ColorFromBGR(kPictureBackground));
}

void TPresetCanvas::SetPicture(QImage picture) {
  picture_ = std::move(picture);
  update();
}

void TPresetCanvas::SetPixel(int x, int y, std::uint32_t bgr) {
  if (x < 0 || y < 0 || x >= picture_.width() || y >= picture_.height()) return;
  picture_.setPixelColor(x, y, ColorFromBGR(bgr));
  update(x, y, 1, 1);
}

void TPresetCanvas::paintEvent(QPaintEvent*) {
  QPainter p(this);
  p.drawImage(0, 0, picture_);
}

namespace {
// Pixel coordinates of a mouse position: floor, so -0.5 is column -1.
int Pixel(qreal v) { return static_cast<int>(std::floor(v)); }
}  // namespace

void TPresetCanvas::mousePressEvent(QMouseEvent* e) {
  if (OnMouseDown) OnMouseDown(e->button(), Pixel(e->position().x()), Pixel(e->position().y()));
  e->accept();
}

void TPresetCanvas::mouseMoveEvent(QMouseEvent* e) {
  if (OnMouseMove) OnMouseMove(Pixel(e->position().x()), Pixel(e->position().y()));
  e->accept();
}

void TPresetCanvas::mouseReleaseEvent(QMouseEvent* e) {
  if (OnMouseUp) OnMouseUp(e->button(), Pixel(e->position().x()), Pixel(e->position().y()));
  e->accept();
}

namespace {

void Polyline(QPainter& p, const TWaveCycle& s, int from, int to, std::uint32_t bgr) {
  QPolygon line;
  for (int i = from; i <= to; ++i) line << QPoint(i, kWaveTop - s[i]);
  p.setPen(ColorFromBGR(bgr));
  if (line.size() == 1)
    p.drawPoint(line[0]);
  else
    p.drawPolyline(line);
}

}  // namespace

QImage DrawWavePicture(const TWavePicture& w, int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(ColorFromBGR(kPictureBackground));
  QPainter p(&image);
  if (w.Wave) Polyline(p, *w.Wave, 0, kWaveSamples - 1, kPictureWave);
  if (w.VolumePreview) Polyline(p, *w.VolumePreview, 0, kWaveSamples - 1, kPictureVolume);
  if (w.ShowFunctionWindow) {
    const TFunctionWindow& f = w.Window;
    const QPoint corners[] = {{f.Left - 1, 150 - f.Top},
                              {f.Right - 1, 150 - f.Top},
                              {f.Right - 1, 150 - f.Bottom},
                              {f.Left - 1, 150 - f.Bottom},
                              {f.Left - 1, 150 - f.Top}};
    p.setPen(ColorFromBGR(kPictureWindow));
    p.drawPolyline(corners, 5);
  }
  if (w.Function) Polyline(p, *w.Function, w.Window.Left - 1, w.Window.Right - 1, kPictureFunction);
  if (w.FilterPreview) Polyline(p, *w.FilterPreview, 0, kWaveSamples - 1, kPictureFilter);
  return image;
}

QImage DrawSpectrumPicture(const TSpectrumBars& bars, const TPassBand& band, int width, int height) {
  QImage image(width, height, QImage::Format_RGB32);
  image.fill(ColorFromBGR(kPictureBackground));
  QPainter p(&image);
  if (band.From <= band.To)
    p.fillRect(QRect(QPoint(band.From, 0), QPoint(band.To, height - 1)), ColorFromBGR(kPictureVolume));
  const float scale = SpectrumScale(bars, height);
  QPolygon line;
  for (int j = kSpectrumFirstDrawnBar; j < kSpectrumBars; ++j) line << QPoint(j, SpectrumBarY(bars[j], scale, height));
  p.setPen(ColorFromBGR(kPictureWave));
  p.drawPolyline(line);
  return image;
}
