// The tile, the animated image and the shared clip as widgets: what they
// paint (offscreen, pixel by pixel) and how the image plays its frames.
#include <gtest/gtest.h>

#include <QApplication>
#include <QPainter>
#include <QVBoxLayout>
#include <QWidget>

#include <cmath>
#include <vector>

#include "Legibility.h"
#include "components/AnimatedImage.h"
#include "components/EffectDrawing.h"
#include "components/SharedClip.h"
#include "components/TileControl.h"
#include "core/ComponentError.h"

namespace {

using enum TZRWAnStyle;

// Cells of w x h: each has a border in its own colour (red = cell number)
// and a magenta key colour inside, bottom-left included.
QImage Cells(int count, int w, int h) {
  QImage img(count * w, h, QImage::Format_RGB32);
  img.fill(QColor(255, 0, 255));
  for (int c = 0; c < count; ++c)
    for (int y = 0; y < h; ++y)
      for (int x = 0; x < w; ++x)
        if (y == 0 || x == w - 1 || (x == 0 && y < h - 1)) img.setPixel(c * w + x, y, qRgb(c, 40, 90));
  return img;
}

// A picture of our own for the screenshots: a dot running round a ring.
QImage RunningDot(int cells, int size) {
  QImage img(cells * size, size, QImage::Format_RGB32);
  img.fill(QColor(192, 192, 192));
  QPainter p(&img);
  p.setRenderHint(QPainter::Antialiasing);
  for (int c = 0; c < cells; ++c) {
    const QPointF centre(c * size + size / 2.0, size / 2.0);
    p.setPen(QPen(QColor(40, 60, 140), 2));
    p.setBrush(Qt::NoBrush);
    p.drawEllipse(centre, size * 0.35, size * 0.35);
    const double a = 2 * M_PI * c / cells;
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(230, 120, 20));
    p.drawEllipse(centre + QPointF(std::cos(a), std::sin(a)) * size * 0.35, size * 0.12, size * 0.12);
  }
  return img;
}

QImage Checker(int w, int h) {
  QImage img(w, h, QImage::Format_RGB32);
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) img.setPixel(x, y, ((x / 4 + y / 4) % 2) ? qRgb(70, 90, 150) : qRgb(110, 130, 190));
  return img;
}

int Red(const QImage& img, int x, int y) { return qRed(img.pixel(x, y)); }

TEST(ZRWTile, PaintsByTileMode) {
  QImage pic(30, 20, QImage::Format_RGB32);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 30; ++x) pic.setPixel(x, y, qRgb(x, y, 200));
  TZRWTile tile;
  tile.resize(100, 50);
  tile.SetBitmap(pic);

  tile.SetTileMode(TZRWBackmode::tmTile);
  EXPECT_TRUE(tile.testAttribute(Qt::WA_OpaquePaintEvent));
  QImage img = tile.PaintToImage();
  EXPECT_EQ(qRed(img.pixel(95, 45)), 95 % 30);
  EXPECT_EQ(qGreen(img.pixel(95, 45)), 45 % 20);

  tile.SetTileMode(TZRWBackmode::tmNone);
  EXPECT_FALSE(tile.testAttribute(Qt::WA_OpaquePaintEvent));
  img = tile.PaintToImage();
  EXPECT_EQ(qRed(img.pixel(29, 19)), 29);
  EXPECT_EQ(qAlpha(img.pixel(40, 30)), 0);  // the rest shows what lies below

  tile.SetTileMode(TZRWBackmode::tmCenter);
  img = tile.PaintToImage();
  EXPECT_EQ(qRed(img.pixel(35, 15)), 0);  // the picture starts at ((100-30)/2, (50-20)/2)
  EXPECT_EQ(qGreen(img.pixel(35, 15)), 0);
  EXPECT_EQ(qAlpha(img.pixel(34, 15)), 0);

  tile.SetTileMode(TZRWBackmode::tmStretch);
  img = tile.PaintToImage();
  EXPECT_EQ(qRed(img.pixel(99, 49)), 29);
  EXPECT_EQ(qGreen(img.pixel(99, 49)), 19);

  tile.SetTileMode(TZRWBackmode::tmGradient);
  tile.Gradient().SetDirection(TZRWDirection::mdVertical);
  tile.Gradient().SetColor(QColor(255, 255, 255));
  tile.Gradient().SetEndColor(QColor(192, 192, 192));
  img = tile.PaintToImage();
  EXPECT_EQ(img.pixelColor(50, 49), QColor(255, 255, 255));  // the start colour at the bottom
  for (int y = 0; y < 50; ++y) ASSERT_EQ(qAlpha(img.pixel(0, y)), 255) << y;
}

TEST(ZRWTile, BevelFramesTheInside) {
  TZRWTile tile;
  tile.resize(40, 30);
  tile.Bevel().SetStyleOuter(TZRWBevelStyle::bvLowered);
  tile.Bevel().SetWidthOuter(2);
  tile.Bevel().SetShadowColor(QColor(10, 10, 10));
  tile.Bevel().SetLightColor(QColor(240, 240, 240));
  // No picture: the bevel still shows around an empty inside.
  QImage img = tile.PaintToImage();
  EXPECT_EQ(img.pixelColor(1, 15), QColor(10, 10, 10));
  EXPECT_EQ(img.pixelColor(38, 15), QColor(240, 240, 240));
  EXPECT_EQ(qAlpha(img.pixel(20, 15)), 0);
  tile.SetBitmap(Checker(8, 8));
  tile.SetTileMode(TZRWBackmode::tmTile);
  img = tile.PaintToImage();
  EXPECT_EQ(img.pixel(2, 2), Checker(8, 8).pixel(0, 0));  // tiles start inside the bevel
  EXPECT_EQ(img.pixelColor(0, 0), QColor(10, 10, 10));

  TZRWTile empty;
  empty.resize(10, 10);
  img = empty.PaintToImage();
  EXPECT_EQ(qAlpha(img.pixel(0, 0)), 0);
  empty.SetDesigning(true);
  img = empty.PaintToImage();
  EXPECT_EQ(img.pixelColor(0, 0), QColor(Qt::black));  // the dashed frame at design time
}

class ZRWAniImageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    parent.resize(200, 100);
    image = new TZRWAniImage(&parent);
    image->resize(10, 10);
    image->AniClip().Clip().SetBitmap(Cells(18, 10, 10));
    image->AniClip().Clip().SetColumns(18);
  }
  // Cells shown at the start and after `ticks` timer steps.
  std::vector<int> Play(int ticks) {
    std::vector<int> shown;
    image->Play();
    shown.push_back(Red(image->PaintToImage(), 0, 5));
    for (int i = 0; i < ticks && image->Playing(); ++i) {
      image->TimerStep();
      if (image->Playing()) shown.push_back(Red(image->PaintToImage(), 0, 5));
    }
    return shown;
  }
  QWidget parent;
  TZRWAniImage* image;
};

TEST_F(ZRWAniImageTest, LoopsThroughAllCellsUntilStop) {
  image->Animation().SetStyle(anLoop);
  image->Animation().SetInterval(100);
  image->SetCell(4);
  const std::vector<int> shown = Play(20);
  EXPECT_TRUE(image->Timer().isActive());
  EXPECT_EQ(image->Timer().interval(), 100);
  std::vector<int> expected;
  for (int i = 0; i <= 20; ++i) expected.push_back(i % 18);
  EXPECT_EQ(shown, expected);
  image->Stop();
  EXPECT_FALSE(image->Timer().isActive());
  EXPECT_EQ(image->Cell(), 4);  // anLoop keeps the cell
  EXPECT_EQ(Red(image->PaintToImage(), 0, 5), 4);
}

TEST_F(ZRWAniImageTest, LoopReverseShowsEachEndTwice) {
  image->Animation().SetStyle(anLoop);
  image->Animation().SetLoopReverse(true);
  const std::vector<int> shown = Play(38);
  ASSERT_EQ(shown.size(), 39u);
  EXPECT_EQ(shown[17], 17);
  EXPECT_EQ(shown[18], 17);
  EXPECT_EQ(shown[19], 16);
  EXPECT_EQ(shown[35], 0);
  EXPECT_EQ(shown[36], 0);
  EXPECT_EQ(shown[37], 1);
}

TEST_F(ZRWAniImageTest, ShowLastEndsOnTheLastCell) {
  int ends = 0, endCell = -1;
  image->OnFrameEnd = [&](TZRWAniImage*, const TZRWFrame&, bool&, std::uint16_t cell) { ++ends, endCell = cell; };
  const std::vector<int> shown = Play(40);
  EXPECT_EQ(shown.size(), 18u);
  EXPECT_FALSE(image->Playing());
  EXPECT_EQ(ends, 1);
  EXPECT_EQ(endCell, 65535);
  EXPECT_EQ(image->Cell(), 17);
  EXPECT_EQ(Red(image->PaintToImage(), 0, 5), 17);
}

TEST_F(ZRWAniImageTest, StopStylesAndVisibility) {
  struct Case {
    TZRWAnStyle style;
    int cell;
    bool hidden;
  } cases[] = {{anOPFirst, 0, false}, {anOPOldCell, 3, false}, {anOPInvisible, 3, true}, {anLoopInvisible, 3, true}};
  for (const Case& c : cases) {
    image->show();
    image->Animation().SetStyle(c.style);
    image->SetCell(3);
    image->Play();
    image->TimerStep();
    image->Stop();
    EXPECT_EQ(image->Cell(), c.cell) << static_cast<int>(c.style);
    EXPECT_EQ(image->isHidden(), c.hidden) << static_cast<int>(c.style);
  }
  // Play shows a hidden image when MakeVisible is set, else it stays hidden.
  image->hide();
  image->Play();
  EXPECT_FALSE(image->isHidden());
  image->Stop();
  image->hide();
  image->SetMakeVisible(false);
  image->Play();
  EXPECT_TRUE(image->isHidden());
  EXPECT_FALSE(image->Timer().isActive());
  image->Stop();
}

TEST_F(ZRWAniImageTest, EventsMayRefuseOrEndTheRun) {
  image->Animation().SetStyle(anLoop);
  image->OnFrameStart = [](TZRWAniImage*, const TZRWFrame&, bool& stop, std::uint16_t) { stop = true; };
  image->Play();
  EXPECT_FALSE(image->Playing());
  image->OnFrameStart = nullptr;
  std::vector<int> told;
  image->OnChangeCell = [&](TZRWAniImage*, const TZRWFrame&, bool& stop, std::uint16_t cell) {
    told.push_back(cell);
    stop = cell == 3;
  };
  image->Play();
  for (int i = 0; i < 10; ++i) image->TimerStep();
  EXPECT_EQ(told, (std::vector<int>{1, 2, 3}));
  EXPECT_FALSE(image->Playing());
  // A hidden image stops at the next tick.
  image->Play();
  image->hide();
  image->TimerStep();
  EXPECT_FALSE(image->Playing());
}

TEST_F(ZRWAniImageTest, FramesChooseTheirCells) {
  TZRWFrameList& frames = image->AniClip().Frames();
  frames.Add("Start", 7, 2, 4);
  frames.Add("Far", 8, 10, 300);  // reaches beyond the clip's 18 cells
  image->SetFrameNr(5);           // beyond the two frames
  EXPECT_EQ(image->FrameNr(), 0);
  EXPECT_EQ(image->FrameName(), "Start");
  image->SetCell(2);
  EXPECT_EQ(Red(image->PaintToImage(), 0, 5), 4);
  image->SetCell(3);  // beyond the frame's three cells
  EXPECT_EQ(image->Cell(), 0);

  image->SetFrameName("Far");
  EXPECT_EQ(image->FrameNr(), 1);
  EXPECT_EQ(image->FrameIndex(), 8);
  EXPECT_EQ(image->Range(), (TZRWCellRange{10, 17}));
  image->Animation().SetStyle(anLoop);
  const std::vector<int> shown = Play(9);
  EXPECT_EQ(shown, (std::vector<int>{10, 11, 12, 13, 14, 15, 16, 17, 10, 11}));
  image->Stop();

  image->SetFrameIndex(65535);
  EXPECT_EQ(image->FrameNr(), 65535);
  EXPECT_EQ(image->Range(), (TZRWCellRange{0, 17}));
  try {
    image->SetFrameIndex(9);
    ADD_FAILURE() << "no error";
  } catch (const EComponentError& e) {
    EXPECT_STREQ(e.what(), "Invalid Index");
  }
  frames.Clear();
  image->SetFrameNr(0);
  EXPECT_EQ(image->FrameNr(), 65535);  // no frames: the frame "ALL"
}

TEST_F(ZRWAniImageTest, KeyColourModes) {
  QImage cell = Cells(1, 10, 10);
  image->AniClip().Clip().SetBitmap(cell);
  QImage img = image->PaintToImage();
  EXPECT_EQ(img.pixelColor(5, 5), QColor(255, 0, 255));  // copied as it is

  image->Transparent().SetMode(TZRWTransparentMode::tpTransparentColor);
  image->Transparent().SetColor(QColor(0, 200, 0));
  img = image->PaintToImage();
  EXPECT_EQ(img.pixelColor(5, 5), QColor(0, 200, 0));  // the key colour replaced
  EXPECT_EQ(img.pixelColor(0, 5), QColor(0, 40, 90));

  image->Transparent().SetMode(TZRWTransparentMode::tpRestoreBack);
  img = image->PaintToImage();
  EXPECT_EQ(qAlpha(img.pixel(5, 5)), 0);  // what lies below shows there
  EXPECT_EQ(img.pixelColor(0, 5), QColor(0, 40, 90));

  image->Transparent().SetMode(TZRWTransparentMode::tpRBTranspColor);
  image->Transparent().SetColor(QColor(0, 40, 90));  // now the border is the key
  img = image->PaintToImage();
  EXPECT_EQ(qAlpha(img.pixel(0, 5)), 0);
  EXPECT_EQ(img.pixelColor(5, 5), QColor(255, 0, 255));

  // On its parent, the parent's pixels show through the key colour.
  parent.setAutoFillBackground(true);
  QPalette pal = parent.palette();
  pal.setColor(QPalette::Window, QColor(20, 30, 40));
  parent.setPalette(pal);
  image->Transparent().SetMode(TZRWTransparentMode::tpRestoreBack);
  const QImage shot = parent.grab().toImage();
  EXPECT_EQ(shot.pixelColor(5, 5), QColor(20, 30, 40));
  EXPECT_EQ(shot.pixelColor(0, 5), QColor(0, 40, 90));
}

TEST_F(ZRWAniImageTest, StylesPlaceTheCell) {
  image->resize(30, 24);
  image->SetStyle(TZRWBitmapStyle::sbCenter);
  QImage img = image->PaintToImage();
  EXPECT_EQ(Red(img, 10, 7), 0);  // ((30-10)/2, (24-10)/2)
  EXPECT_EQ(qAlpha(img.pixel(9, 7)), 0);

  image->SetCell(5);
  image->SetStyle(TZRWBitmapStyle::sbTile);
  img = image->PaintToImage();
  EXPECT_EQ(img.pixelColor(20, 12), QColor(5, 40, 90));  // the next copy's left edge
  EXPECT_EQ(img.pixelColor(21, 12), QColor(255, 0, 255));

  image->SetStyle(TZRWBitmapStyle::sbStretch);
  img = image->PaintToImage();
  EXPECT_EQ(img.pixelColor(29, 23), QColor(5, 40, 90));

  image->Bevel().SetStyleOuter(TZRWBevelStyle::bvRaised);
  image->Bevel().SetWidthOuter(3);
  image->SetStyle(TZRWBitmapStyle::sbAutosize);
  EXPECT_EQ(image->size(), QSize(16, 16));  // cell plus twice the bevel
  img = image->PaintToImage();
  EXPECT_EQ(img.pixelColor(3, 8), QColor(5, 40, 90));
}

TEST(ZRWAniPicClip, FeedsEveryImageThatUsesIt) {
  QWidget form;
  TZRWAniPicClip shared(&form);
  int changes = 0;
  shared.OnChange = [&](TZRWAniPicClip*) { ++changes; };
  auto* a = new TZRWAniImage(&form);
  auto* b = new TZRWAniImage(&form);
  auto* own = new TZRWAniImage(&form);
  for (TZRWAniImage* i : {a, b, own}) i->resize(10, 10);
  a->SetAniControl(&shared);
  b->SetAniControl(&shared);
  own->AniClip().Clip().SetBitmap(Cells(2, 10, 10));
  own->AniClip().Clip().SetColumns(2);
  EXPECT_EQ(qAlpha(a->PaintToImage().pixel(0, 5)), 0);  // nothing to show yet

  shared.AniClip().Clip().SetBitmap(Cells(6, 10, 10));
  shared.AniClip().Clip().SetColumns(6);
  EXPECT_GE(changes, 2);
  a->SetCell(5);
  EXPECT_EQ(Red(a->PaintToImage(), 0, 5), 5);
  EXPECT_EQ(b->Range(), (TZRWCellRange{0, 5}));
  EXPECT_EQ(own->Range(), (TZRWCellRange{0, 1}));
  // The shared clip now has fewer cells: the images choose again.
  shared.AniClip().Clip().SetColumns(3);
  EXPECT_EQ(a->Range(), (TZRWCellRange{0, 2}));
  EXPECT_EQ(a->Cell(), 0);
}

TEST(EffectControls, ScreenshotOfTilesAndImages) {
  QWidget form;
  form.setWindowTitle("Tiles and animated images");
  form.resize(420, 200);
  auto* back = new TZRWTile(&form);
  back->setGeometry(0, 0, 420, 200);
  back->SetBitmap(Checker(16, 16));
  back->SetTileMode(TZRWBackmode::tmTile);
  auto* gradient = new TZRWTile(&form);
  gradient->setGeometry(10, 10, 190, 80);
  gradient->SetTileMode(TZRWBackmode::tmGradient);
  gradient->Bevel().SetStyleOuter(TZRWBevelStyle::bvLowered);
  gradient->Bevel().SetWidthOuter(2);
  auto* vertical = new TZRWTile(&form);
  vertical->setGeometry(210, 10, 200, 80);
  vertical->SetTileMode(TZRWBackmode::tmGradient);
  vertical->Gradient().SetDirection(TZRWDirection::mdVertical);
  vertical->Gradient().SetColor(QColor(255, 255, 255));
  vertical->Gradient().SetEndColor(QColor(90, 110, 170));
  vertical->Gradient().SetColorCount(64);
  vertical->Bevel().SetStyleOuter(TZRWBevelStyle::bvShadow);
  vertical->Bevel().SetWidthOuter(6);
  int x = 10;
  for (TZRWAnStyle style : {anLoop, anOPShowLast, anOPFirst}) {
    auto* img = new TZRWAniImage(&form);
    img->move(x, 110);
    img->Bevel().SetStyleOuter(TZRWBevelStyle::bvRaised);
    img->Bevel().SetWidthOuter(2);
    img->SetStyle(TZRWBitmapStyle::sbAutosize);
    img->Transparent().SetMode(TZRWTransparentMode::tpRestoreBack);
    img->AniClip().Clip().SetBitmap(RunningDot(12, 64));
    img->AniClip().Clip().SetColumns(12);
    img->Animation().SetStyle(style);
    img->SetCell(static_cast<std::uint16_t>(x / 40));
    x += 90;
  }
  form.show();
  QApplication::processEvents();
  const QImage shot = form.grab().toImage();
  EXPECT_TRUE(shot.save(kalvora::test::ScreenshotFile("kalvora_effect_controls")));
  // The gradient's start colour is at its right edge, inside the bevel.
  EXPECT_EQ(shot.pixelColor(197, 50), QColor(0, 0, 255));
}

}  // namespace
