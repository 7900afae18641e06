// TfViewWave ("Waveform View"): the last calculated sample as a wave with
// zoom and scrolling, as its magnitude spectrum or as a sonogram. The
// arithmetic lives in core/WaveView; this window only paints it.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

#include <QWidget>

#include "core/WaveView.h"

class QComboBox;
class QLabel;
class QPushButton;
class QScrollBar;
class QStackedWidget;
class TPaintBox;
class TfMain;

class TfViewWave : public QWidget {
  Q_OBJECT

 public:
  explicit TfViewWave(TfMain& main, QWidget* parent = nullptr);

  // After a sample was calculated: shows the document's result buffer.
  void ShowNewSample();
  // The entry for the computation: shows these samples (copied) at the
  // quality index 0, 1, 2 (11025, 22050, 44100 per second).
  void SetSample(const std::int16_t* samples, std::size_t count, int quality);
  // New or loaded instrument: nothing shown.
  void ClearView();
  void ZoomIn();
  void ZoomOut();
  void RedrawView();

  std::int64_t Zoom() const { return zoom_; }
  std::int64_t StartPosition() const { return start_; }
  int ViewMode() const { return mode_; }
  bool HasSample() const { return hasSample_; }
  const QImage& Picture() const;

  TPaintBox* pb;
  QComboBox* cbMode;
  QStackedWidget* nbPanel;
  QLabel *lPos, *lZoom;
  QScrollBar* sbStartPos;
  QPushButton *bZoomIn, *bZoomOut;
  QComboBox *cbFFTWindowing, *cbSonogramWindowing, *cbSonogramFFTSize, *cbSonogramColor;
  TPaintBox* pbSonogramColor;

 private:
  void Render();
  void DrawWaveform();
  void DrawFftSpectrum();
  void DrawFrequencyScale();
  void DrawSonogram();
  void DrawPalettePreview();
  void ModeChanged(int index);
  void OptionChanged();

  TfMain& main_;
  std::vector<std::int16_t> samples_;
  int quality_ = 2;
  std::int64_t zoom_ = 1;
  std::int64_t start_ = 0;
  int mode_ = 0;
  bool hasSample_ = false;
  bool pictureValid_ = false;
  std::array<TPalette, 10> palettes_{};
};
