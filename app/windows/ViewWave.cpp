#include "windows/ViewWave.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStackedWidget>
#include <QVBoxLayout>
#include <algorithm>
#include <climits>

#include "views/Colors.h"
#include "views/PaintBox.h"
#include "windows/Main.h"

namespace {

constexpr std::uint32_t clGray = 0x808080;
constexpr std::uint32_t clRed = 0x0000FF;

QComboBox* Combo(QWidget* parent, const char* name, const QStringList& items, int index) {
  auto* c = new QComboBox(parent);
  c->setObjectName(name);
  c->addItems(items);
  c->setCurrentIndex(std::clamp(index, 0, static_cast<int>(items.size()) - 1));
  return c;
}

QLabel* Label(QWidget* parent, const char* name, const QString& text) {
  auto* l = new QLabel(text, parent);
  l->setObjectName(name);
  return l;
}

int ToInt(std::int64_t v) { return static_cast<int>(std::clamp<std::int64_t>(v, 0, INT_MAX)); }

}  // namespace

TfViewWave::TfViewWave(TfMain& main, QWidget* parent) : QWidget(parent), main_(main) {
  setObjectName("fViewWave");
  setWindowTitle("Waveform View");
  const TMainSettings& s = main.Settings();

  pb = new TPaintBox(this, "pb");
  pb->setMinimumSize(100, 40);
  auto* bottom = new QWidget(this);
  bottom->setObjectName("PanelBottom");
  cbMode = Combo(bottom, "cbMode", {"Wave", "FFT", "Sonogram"}, s.WaveviewDisplayMode);
  nbPanel = new QStackedWidget(bottom);
  nbPanel->setObjectName("nbPanel");

  auto* wave = new QWidget(nbPanel);
  wave->setObjectName("Wave");
  lPos = Label(wave, "lPos", "Pos:");
  sbStartPos = new QScrollBar(Qt::Horizontal, wave);
  sbStartPos->setObjectName("sbStartPos");
  sbStartPos->setToolTip("change the start position of the zoomed part");
  sbStartPos->setSingleStep(4);
  sbStartPos->setPageStep(10);
  sbStartPos->setRange(0, 1);
  bZoomIn = new QPushButton("&Zoom In", wave);
  bZoomIn->setObjectName("bZoomIn");
  bZoomIn->setToolTip("decrease the zoom factor (Ctrl+I)");
  bZoomOut = new QPushButton("Zoom Ou&t", wave);
  bZoomOut->setObjectName("bZoomOut");
  bZoomOut->setToolTip("increase the zoom factor (Ctrl+O)");
  lZoom = Label(wave, "lZoom", "1:1");
  lZoom->setMinimumWidth(lZoom->fontMetrics().horizontalAdvance("1:0000000") + 4);
  auto* wl = new QHBoxLayout(wave);
  wl->setContentsMargins(0, 0, 0, 0);
  wl->addWidget(lPos);
  wl->addWidget(sbStartPos, 1);
  wl->addWidget(bZoomIn);
  wl->addWidget(bZoomOut);
  wl->addWidget(lZoom);

  const QStringList windows = {"Rectangle", "Bartlett", "Hann", "Hamming", "Blackman"};
  auto* fft = new QWidget(nbPanel);
  fft->setObjectName("FFT");
  cbFFTWindowing = Combo(fft, "cbFFTWindowing", windows, s.WaveviewFFTWindowing);
  auto* fl = new QHBoxLayout(fft);
  fl->setContentsMargins(0, 0, 0, 0);
  fl->addWidget(Label(fft, "lFFTWindowing", "Windowing:"));
  fl->addWidget(cbFFTWindowing);
  fl->addStretch(1);

  auto* sono = new QWidget(nbPanel);
  sono->setObjectName("Sonogram");
  cbSonogramWindowing = Combo(sono, "cbSonogramWindowing", windows, s.WaveviewSonogramWindowing);
  QStringList sizes;
  for (int k = 0; k < kSonogramSizes; ++k) sizes << QString::number(16 << k);
  cbSonogramFFTSize = Combo(sono, "cbSonogramFFTSize", sizes, s.WaveviewSonogramFFTSize);
  cbSonogramColor = Combo(sono, "cbSonogramColor",
                          {"Gray", "Red 1", "Red 2", "Red 3", "Rainbow 1", "Rainbow 2", "Rainbow 3", "Zebra 1",
                           "Zebra 2", "Zebra 3"},
                          s.WaveviewSonogramColor);
  pbSonogramColor = new TPaintBox(sono, "pbSonogramColor");
  pbSonogramColor->setFixedSize(256, 10);  // one column per palette entry
  // Two rows: the options, then the palette preview under them.
  auto* sl = new QGridLayout(sono);
  sl->setContentsMargins(0, 0, 0, 0);
  sl->setVerticalSpacing(2);
  sl->addWidget(Label(sono, "lSonogramWindowing", "Wind.:"), 0, 0);
  sl->addWidget(cbSonogramWindowing, 0, 1);
  sl->addWidget(Label(sono, "lSonogramFFTSize", "FFT Size:"), 0, 2);
  sl->addWidget(cbSonogramFFTSize, 0, 3);
  sl->addWidget(Label(sono, "lSonogramColor", "Col:"), 0, 4);
  sl->addWidget(cbSonogramColor, 0, 5);
  sl->addWidget(pbSonogramColor, 1, 1, 1, 5, Qt::AlignLeft);
  sl->setColumnStretch(6, 1);
  nbPanel->addWidget(wave);
  nbPanel->addWidget(fft);
  nbPanel->addWidget(sono);
  mode_ = cbMode->currentIndex();
  nbPanel->setCurrentIndex(mode_);

  auto* bl = new QHBoxLayout(bottom);
  bl->setContentsMargins(4, 2, 4, 2);
  bl->addWidget(cbMode);
  bl->addWidget(nbPanel, 1);
  auto* layout = new QVBoxLayout(this);
  layout->setContentsMargins(0, 0, 0, 0);
  layout->setSpacing(0);
  layout->addWidget(pb, 1);
  layout->addWidget(bottom);
  for (QPushButton* b : {bZoomIn, bZoomOut}) b->setMinimumWidth(b->sizeHint().width());
  // Smaller than this the controls would be cut.
  setMinimumSize(layout->minimumSize());

  palettes_ = BuildPalettes();
  DrawPalettePreview();

  pb->OnPaint = [this] {
    if (!hasSample_) {
      if (pb->Picture.size() != pb->size()) pb->NewPicture(clSilver);
    } else if (!pictureValid_ || pb->Picture.size() != pb->size()) {
      pictureValid_ = false;
      Render();
    }
  };
  pb->OnResize = [this] { pictureValid_ = false; };
  connect(sbStartPos, &QScrollBar::valueChanged, this, [this](int v) {
    pictureValid_ = false;
    start_ = v;
    RedrawView();
  });
  connect(bZoomIn, &QPushButton::clicked, this, [this] { ZoomIn(); });
  connect(bZoomOut, &QPushButton::clicked, this, [this] { ZoomOut(); });
  connect(cbMode, &QComboBox::currentIndexChanged, this, [this](int i) { ModeChanged(i); });
  for (QComboBox* c : {cbFFTWindowing, cbSonogramWindowing, cbSonogramFFTSize})
    connect(c, &QComboBox::currentIndexChanged, this, [this] { OptionChanged(); });
  connect(cbSonogramColor, &QComboBox::currentIndexChanged, this, [this] {
    DrawPalettePreview();
    OptionChanged();
  });
  resize(560, 260);
}

const QImage& TfViewWave::Picture() const { return pb->Picture; }

void TfViewWave::ShowNewSample() {
  const auto& bytes = main_.Document().ResultBuffer;
  std::vector<std::int16_t> s(bytes.size() / 2);
  for (std::size_t i = 0; i < s.size(); ++i)
    s[i] = static_cast<std::int16_t>(static_cast<std::uint16_t>(bytes[2 * i] | (bytes[2 * i + 1] << 8)));
  SetSample(s.data(), s.size(), main_.Document().ResultQuality);
}

void TfViewWave::SetSample(const std::int16_t* samples, std::size_t count, int quality) {
  samples_.assign(samples, samples + count);
  quality_ = std::clamp(quality, 0, 2);
  pictureValid_ = false;
  zoom_ = FitAllZoom(count, pb->width());
  RedrawView();
}

void TfViewWave::ClearView() {
  pictureValid_ = false;
  hasSample_ = false;
  samples_.clear();
  pb->NewPicture(clSilver);
  pb->update();
}

void TfViewWave::ZoomIn() {
  if (!hasSample_ || zoom_ <= 1) return;
  zoom_ = ZoomInStep(zoom_);
  pictureValid_ = false;
  RedrawView();
}

void TfViewWave::ZoomOut() {
  if (!hasSample_) return;
  zoom_ = ZoomOutStep(zoom_, samples_.size(), pb->width());
  pictureValid_ = false;
  RedrawView();
}

void TfViewWave::RedrawView() {
  hasSample_ = true;
  if (!pictureValid_) Render();
  pb->update();
  lZoom->setText(QStringLiteral("1:%1").arg(zoom_));
}

void TfViewWave::Render() {
  main_.ShowStatusText("calculating waveform view");
  pb->NewPicture(clSilver);
  const TWaveScroll scroll = ClampWaveStart(start_, samples_.size(), zoom_, pb->width());
  start_ = scroll.Start;
  {
    const QSignalBlocker block(sbStartPos);
    sbStartPos->setRange(0, ToInt(scroll.Max));
    sbStartPos->setPageStep(std::max(1, ToInt(scroll.LargeChange)));
    sbStartPos->setValue(ToInt(start_));
  }
  switch (mode_) {
    case 1: DrawFftSpectrum(); break;
    case 2: DrawSonogram(); break;
    default: DrawWaveform(); break;
  }
  pictureValid_ = true;
  main_.ShowStatusText("Ready");
}

void TfViewWave::DrawWaveform() {
  QImage& pic = pb->Picture;
  const int w = pic.width(), h = pic.height();
  QPainter p(&pic);
  p.setPen(ColorFromBGR(clNavy));
  p.drawLine(0, h / 2, w, h / 2);
  const auto rows = WaveRows(samples_.data(), samples_.size(), start_, zoom_, w, h);
  QPolygon line;
  for (std::size_t x = 0; x < rows.size(); ++x) line << QPoint(static_cast<int>(x), rows[x]);
  p.setPen(ColorFromBGR(clBlack));
  p.drawPolyline(line);
}

void TfViewWave::DrawFftSpectrum() {
  QImage& pic = pb->Picture;
  const int w = pic.width(), h = pic.height();
  const auto rows =
      SpectrumRows(SpectrumColumns(samples_.data(), samples_.size(), cbFFTWindowing->currentIndex(), w), h);
  QPolygon line;
  for (std::size_t i = 0; i < rows.size(); ++i) line << QPoint(static_cast<int>(i) + 3, rows[i]);
  {
    QPainter p(&pic);
    p.setPen(ColorFromBGR(clBlack));
    p.drawPolyline(line);
  }
  DrawFrequencyScale();
}

void TfViewWave::DrawFrequencyScale() {
  QImage& pic = pb->Picture;
  const int w = pic.width();
  QPainter p(&pic);
  QFont f = font();
  f.setPointSizeF(std::max(6.0, f.pointSizeF() * 0.8));
  p.setFont(f);
  const QFontMetrics fm(f);
  auto tick = [&](int x) {
    p.setPen(ColorFromBGR(clRed));
    p.drawLine(x, 5, x, 15);
  };
  auto text = [&](int x, const std::string& s) {
    p.setPen(ColorFromBGR(clGray));
    p.drawText(x, 5 + fm.ascent(), QString::fromStdString(s));
  };
  tick(3);
  text(6, "20 Hz");
  tick(w / 2);
  text(w / 2 + 3, MiddleFrequencyLabel(quality_));
  const std::string nyquist = NyquistLabel(quality_);
  tick(w - 12);
  text(w - 15 - fm.horizontalAdvance(QString::fromStdString(nyquist)), nyquist);
}

void TfViewWave::DrawSonogram() {
  QImage& pic = pb->Picture;
  const int w = pic.width(), h = pic.height();
  std::vector<std::uint32_t> pixels;
  ::DrawSonogram(samples_.data(), samples_.size(), cbSonogramWindowing->currentIndex(),
                 cbSonogramFFTSize->currentIndex(), w, h, palettes_[std::clamp(cbSonogramColor->currentIndex(), 0, 9)],
                 clSilver, pixels, [this](int percent) {
                   main_.ShowStatusText("calculating waveform view - " + std::to_string(percent) + " %");
                 });
  for (int y = 0; y < h; ++y) {
    auto* line = reinterpret_cast<QRgb*>(pic.scanLine(y));
    for (int x = 0; x < w; ++x) line[x] = ColorFromBGR(pixels[static_cast<std::size_t>(y) * w + x]).rgb();
  }
}

void TfViewWave::DrawPalettePreview() {
  pbSonogramColor->NewPicture(clSilver);
  const TPalette& pal = palettes_[std::clamp(cbSonogramColor->currentIndex(), 0, 9)];
  for (int i = 0; i < 256 && i < pbSonogramColor->Picture.width(); ++i)
    for (int y = 0; y < pbSonogramColor->Picture.height(); ++y)
      pbSonogramColor->Picture.setPixelColor(i, y, ColorFromBGR(pal[i]));
  pbSonogramColor->update();
}

void TfViewWave::ModeChanged(int index) {
  nbPanel->setCurrentIndex(index);
  main_.Settings().WaveviewDisplayMode = index;
  if (index != mode_) {
    mode_ = index;
    if (hasSample_) {
      pictureValid_ = false;
      RedrawView();
    }
  }
}

void TfViewWave::OptionChanged() {
  TMainSettings& s = main_.Settings();
  s.WaveviewFFTWindowing = cbFFTWindowing->currentIndex();
  s.WaveviewSonogramWindowing = cbSonogramWindowing->currentIndex();
  s.WaveviewSonogramFFTSize = cbSonogramFFTSize->currentIndex();
  s.WaveviewSonogramColor = cbSonogramColor->currentIndex();
  if (hasSample_) {
    pictureValid_ = false;
    RedrawView();
  }
}
