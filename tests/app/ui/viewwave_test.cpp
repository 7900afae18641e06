// The waveform view in the running program: a rendered sound shown as wave,
// spectrum and sonogram (pictures saved beside the test), the zoom commands,
// a view wider than the old 2001 columns, and every page legible.
#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QMdiSubWindow>
#include <QScrollBar>
#include <QStackedWidget>
#include <cmath>
#include <numbers>

#include "Legibility.h"
#include "MainFixture.h"
#include "views/Colors.h"
#include "views/PaintBox.h"
#include "windows/ViewWave.h"
#include "windows/WaveGen.h"

using namespace kalvora::test;

namespace {

// A test sound of our own: a sawtooth-like tone of eight harmonics gliding
// from 220 Hz to 880 Hz with a vibrato, under an attack-decay-release
// envelope, 1.5 s at 22050 samples per second.
std::vector<std::int16_t> RenderSound() {
  const double rate = 22050, seconds = 1.5;
  const std::size_t n = static_cast<std::size_t>(rate * seconds);
  std::vector<std::int16_t> s(n);
  double phase = 0;
  for (std::size_t i = 0; i < n; ++i) {
    const double t = i / rate;
    const double f = 220 * std::pow(4.0, t / seconds) * (1 + 0.01 * std::sin(2 * std::numbers::pi * 5 * t));
    phase += 2 * std::numbers::pi * f / rate;
    double v = 0;
    for (int h = 1; h <= 8; ++h) v += std::sin(h * phase) / h;
    const double env = t < 0.05 ? t / 0.05 : t < 0.3 ? 1 - 0.4 * (t - 0.05) / 0.25 : t < 1.2 ? 0.6 : 0.6 * (1.5 - t) / 0.3;
    s[i] = static_cast<std::int16_t>(std::lround(14000 * env * v));
  }
  return s;
}

int CountNot(const QImage& img, QColor c, int fromX = 0) {
  int count = 0;
  for (int y = 0; y < img.height(); ++y)
    for (int x = fromX; x < img.width(); ++x) count += img.pixelColor(x, y) != c;
  return count;
}

class ViewWave : public MainTest {
 protected:
  TfViewWave& Start640() {
    Start();
    TfViewWave& v = *windows_.ViewWave;
    qobject_cast<QMdiSubWindow*>(v.parentWidget())->resize(720, 380);
    QApplication::processEvents();
    return v;
  }
  void Settle() {
    QApplication::processEvents();
    windows_.ViewWave->grab();  // paints, so a pending picture is computed
  }
};

TEST_F(ViewWave, RenderedSoundAsWaveSpectrumAndSonogram) {
  TfViewWave& v = Start640();
  EXPECT_FALSE(v.HasSample());
  const auto sound = RenderSound();
  v.SetSample(sound.data(), sound.size(), 1);
  Settle();
  EXPECT_EQ(v.Zoom(), static_cast<std::int64_t>(sound.size()) / v.pb->width() + 1);
  EXPECT_EQ(v.lZoom->text(), QStringLiteral("1:%1").arg(v.Zoom()));
  const QColor silver = ColorFromBGR(clSilver);
  // The wave fills most of the box's columns and reaches far from the middle line.
  const QImage wave = v.Picture();
  int top = wave.height(), bottom = 0;
  for (int y = 0; y < wave.height(); ++y)
    for (int x = 0; x < wave.width(); ++x)
      if (wave.pixelColor(x, y) == Qt::black) top = std::min(top, y), bottom = std::max(bottom, y);
  EXPECT_LT(top, wave.height() / 4);
  EXPECT_GT(bottom, wave.height() * 3 / 4);
  EXPECT_TRUE(SaveScreenshot(&v, "viewwave_wave"));
  EXPECT_TRUE(ClippedTexts(&v).isEmpty()) << ClippedTexts(&v).join("\n").toStdString();
  EXPECT_EQ(windows_.Main->StatusText(), "Ready");

  v.cbMode->setCurrentIndex(1);
  Settle();
  EXPECT_EQ(v.nbPanel->currentIndex(), 1);
  EXPECT_GT(CountNot(v.Picture(), silver), v.pb->width());
  EXPECT_TRUE(SaveScreenshot(&v, "viewwave_fft"));
  EXPECT_TRUE(ClippedTexts(&v).isEmpty()) << ClippedTexts(&v).join("\n").toStdString();

  v.cbMode->setCurrentIndex(2);
  v.cbSonogramColor->setCurrentIndex(4);  // Rainbow 1
  v.cbSonogramWindowing->setCurrentIndex(2);
  Settle();
  // Almost every pixel but row 0 is painted.
  EXPECT_GT(CountNot(v.Picture(), silver), v.pb->width() * (v.pb->height() - 2));
  EXPECT_TRUE(SaveScreenshot(&v, "viewwave_sonogram"));
  EXPECT_TRUE(ClippedTexts(&v).isEmpty()) << ClippedTexts(&v).join("\n").toStdString();
  EXPECT_EQ(windows_.Main->Settings().WaveviewDisplayMode, 2);
  EXPECT_EQ(windows_.Main->Settings().WaveviewSonogramColor, 4);
  EXPECT_EQ(windows_.Main->StatusText(), "Ready");

  // The palette preview shows the chosen palette, column by column.
  const auto palettes = BuildPalettes();
  EXPECT_EQ(v.pbSonogramColor->Picture.pixelColor(100, 0), ColorFromBGR(palettes[4][100]));

  v.ClearView();
  Settle();
  EXPECT_FALSE(v.HasSample());
  EXPECT_EQ(CountNot(v.Picture(), silver), 0);
}

// An old picture must not pass for the sound of a new or loaded instrument.
TEST_F(ViewWave, NewAndLoadedInstrumentsClearTheView) {
  TfViewWave& v = Start640();
  TfMain& main = *windows_.Main;
  const auto sound = RenderSound();
  const std::filesystem::path file = dir_ / "kept.kvi";
  ASSERT_TRUE(main.SaveInstrument(file));

  v.SetSample(sound.data(), sound.size(), 1);
  prompts_.expectConfirm("Are you sure?", kalvora::platform::mrYes);
  windows_.WaveGen->NewInstrument();
  Settle();
  EXPECT_FALSE(v.HasSample());
  EXPECT_EQ(CountNot(v.Picture(), ColorFromBGR(clSilver)), 0);

  main.SetInstrumentUpToDate(true);  // no question about saving the new one
  v.SetSample(sound.data(), sound.size(), 1);
  ASSERT_TRUE(main.LoadInstrument(file));
  Settle();
  EXPECT_FALSE(v.HasSample());
  EXPECT_EQ(CountNot(v.Picture(), ColorFromBGR(clSilver)), 0);
}

TEST_F(ViewWave, ZoomTableAndCommands) {
  TfViewWave& v = Start640();
  v.pb->setFixedWidth(200);
  QApplication::processEvents();
  ASSERT_EQ(v.pb->width(), 200);
  std::vector<std::int16_t> s(20000, 0);
  v.SetSample(s.data(), 10000, 2);
  EXPECT_EQ(v.Zoom(), 51);
  v.SetSample(s.data(), 20000, 2);
  EXPECT_EQ(v.Zoom(), 101);
  EXPECT_EQ(v.StartPosition(), 0);
  v.ZoomIn();
  EXPECT_EQ(v.Zoom(), 64);
  v.ZoomIn();
  EXPECT_EQ(v.Zoom(), 32);
  // Scrolling: the bar's range ends where the last screenful starts.
  EXPECT_EQ(v.sbStartPos->maximum(), 40000 - 2 * 32 * 200);
  v.sbStartPos->setValue(1001);
  EXPECT_EQ(v.StartPosition(), 1000);
  v.ZoomOut();
  EXPECT_EQ(v.Zoom(), 64);
  v.ZoomOut();
  v.ZoomOut();
  EXPECT_EQ(v.Zoom(), 101) << "capped at the fit-all zoom";
  EXPECT_EQ(v.StartPosition(), 0);
  for (int i = 0; i < 10; ++i) v.ZoomIn();
  EXPECT_EQ(v.Zoom(), 1);
  // The main menu's commands reach the view.
  for (QAction* a : windows_.Main->findChildren<QAction*>())
    if (a->text() == "&Out") a->trigger();
  EXPECT_EQ(v.Zoom(), 2);
  v.ClearView();
  v.ZoomOut();
  EXPECT_EQ(v.Zoom(), 2) << "no sample: zoom commands do nothing";
}

TEST_F(ViewWave, ShowsTheDocumentsResultBuffer) {
  TfViewWave& v = Start640();
  auto& buf = windows_.Main->Document().ResultBuffer;
  const auto sound = RenderSound();
  buf.clear();
  for (std::int16_t x : sound) {
    buf.push_back(static_cast<std::uint8_t>(x & 0xFF));
    buf.push_back(static_cast<std::uint8_t>((x >> 8) & 0xFF));
  }
  v.ShowNewSample();
  Settle();
  EXPECT_TRUE(v.HasSample());
  EXPECT_EQ(v.Zoom(), static_cast<std::int64_t>(sound.size()) / v.pb->width() + 1);
}

TEST_F(ViewWave, WiderThan2001PixelsAndShortSamples) {
  TfViewWave& v = Start640();
  windows_.Main->resize(2900, 700);
  qobject_cast<QMdiSubWindow*>(v.parentWidget())->resize(2700, 400);
  QApplication::processEvents();
  ASSERT_GT(v.pb->width(), 2001);
  const auto sound = RenderSound();
  v.cbMode->setCurrentIndex(1);
  v.SetSample(sound.data(), sound.size(), 2);
  Settle();
  EXPECT_GT(CountNot(v.Picture(), ColorFromBGR(clSilver), 2100), 100) << "the spectrum goes on past column 2001";
  v.cbMode->setCurrentIndex(2);
  for (std::size_t n : {std::size_t{1}, std::size_t{100}, std::size_t{256}, std::size_t{300}}) {
    v.SetSample(sound.data(), n, 2);
    Settle();
  }
  v.cbMode->setCurrentIndex(0);
  Settle();
  EXPECT_TRUE(v.HasSample());
}

}  // namespace
