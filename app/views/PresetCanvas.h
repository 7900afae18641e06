// The paint boxes of the preset windows: an off-screen picture of the box's
// size copied to the box on every paint, with the mouse reported in box
// coordinates. The pictures themselves (a cycle with its overlays, the
// spectrum) are drawn by the free functions below.
#pragma once

#include <functional>
#include <optional>

#include <QImage>
#include <QWidget>

#include "core/WaveCycle.h"
#include "core/WavePresetEdit.h"

class TPresetCanvas : public QWidget {
  Q_OBJECT

 public:
  TPresetCanvas(const char* objectName, int width, int height, QWidget* parent = nullptr);

  // The picture shown; replaced whole by a redraw.
  const QImage& Picture() const { return picture_; }
  void SetPicture(QImage picture);
  // Sets one pixel of the picture and repaints it (drawing with the mouse).
  void SetPixel(int x, int y, std::uint32_t bgr);

  // Buttons as Qt reports them; x, y in box pixels (outside the box while
  // the button that was pressed inside is held).
  std::function<void(Qt::MouseButton, int x, int y)> OnMouseDown;
  std::function<void(int x, int y)> OnMouseMove;
  std::function<void(Qt::MouseButton, int x, int y)> OnMouseUp;

 protected:
  void paintEvent(QPaintEvent*) override;
  void mousePressEvent(QMouseEvent* e) override;
  void mouseMoveEvent(QMouseEvent* e) override;
  void mouseReleaseEvent(QMouseEvent* e) override;

 private:
  QImage picture_;
};

// The wave box of the editors: silver, the cycle in black at y = 149 - s.
// Optional overlays in the order they are drawn over it.
struct TWavePicture {
  const TWaveCycle* Wave = nullptr;
  const TWaveCycle* VolumePreview = nullptr;  // grey
  bool ShowFunctionWindow = false;            // maroon outline of Window
  TFunctionWindow Window;
  const TWaveCycle* Function = nullptr;       // red, over the window's columns only
  const TWaveCycle* FilterPreview = nullptr;  // blue
};
QImage DrawWavePicture(const TWavePicture& p, int width = kWaveSamples, int height = kWaveSamples);

// The spectrum box: the filter's pass band in grey, bars 3..255 as a black line.
QImage DrawSpectrumPicture(const TSpectrumBars& bars, const TPassBand& band, int width, int height);

// Colours of the pictures (0x00BBGGRR).
inline constexpr std::uint32_t kPictureBackground = 0xC0C0C0;
inline constexpr std::uint32_t kPictureWave = 0x000000;
inline constexpr std::uint32_t kPictureVolume = 0x808080;
inline constexpr std::uint32_t kPictureWindow = 0x000080;
inline constexpr std::uint32_t kPictureFunction = 0x0000FF;
inline constexpr std::uint32_t kPictureFilter = 0xFF0000;
