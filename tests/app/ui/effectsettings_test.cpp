// Bevel, gradient and colour-key settings and the family's drawing routines,
// checked pixel by pixel on small offscreen images.
#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>

#include <set>

#include "components/EffectDrawing.h"
#include "components/EffectSettings.h"
#include "core/MulDiv.h"

namespace {

using enum TZRWBevelStyle;
using enum TZRWDirection;

QImage Canvas(int w, int h, QColor fill = QColor(1, 2, 3)) {
  QImage img(w, h, QImage::Format_RGB32);
  img.fill(fill);
  return img;
}

QColor At(const QImage& img, int x, int y) { return img.pixelColor(x, y); }

TEST(MulDiv, RoundsHalvesAwayFromZeroThrough64Bits) {
  struct Case {
    int a, b, c, result;
  } cases[] = {
      {15, -255, 16, -239},  // -239.06
      {1, 3, 2, 2},          {-1, 3, 2, -2},  {1, -3, 2, -2}, {5, 10, 4, 13}, {7, 1, 3, 2},
      {100000, 100000, 100000, 100000},  // the product needs 64 bits
      {1, 1, 0, -1},
      {2147483647, 2, 1, -1},  // beyond 32 bits
  };
  for (const Case& k : cases) EXPECT_EQ(MulDiv(k.a, k.b, k.c), k.result) << k.a << " " << k.b << " " << k.c;
}

TEST(Gradient, DefaultBandsRunFromBlueToBlack) {
  TZRWGradient g;
  EXPECT_EQ(g.ColorCount(), 16);
  EXPECT_EQ(g.BandColor(0), QColor(0, 0, 255));
  EXPECT_EQ(g.BandColor(15).blue(), 255 + MulDiv(15, -255, 16));
  EXPECT_EQ(g.BandColor(15).blue(), 16);
  // Horizontal bands start at the right edge.
  QImage img = Canvas(100, 4);
  QPainter p(&img);
  g.Paint(p, img.rect());
  p.end();
  EXPECT_EQ(At(img, 99, 0), QColor(0, 0, 255));
  EXPECT_EQ(At(img, 0, 3), QColor(0, 0, 16));
}

// Every column (or row) of the rectangle gets one band, and bands step in
// the order of their direction.
TEST(Gradient, BandsCoverEveryColumnWithNoGap) {
  struct Case {
    int bands, width, height;
    TZRWDirection direction;
  } cases[] = {
      {16, 100, 3, mdHorizontal}, {16, 100, 3, mdHorizontalReverse}, {16, 3, 100, mdVertical},
      {16, 3, 100, mdVerticalReverse}, {1, 37, 5, mdHorizontal}, {1, 5, 37, mdVerticalReverse},
      {255, 100, 2, mdHorizontalReverse},  // more bands than columns
      {7, 3, 9, mdVertical}, {3, 200, 1, mdHorizontal},
  };
  for (const Case& c : cases) {
    TZRWGradient g;
    g.SetColorCount(c.bands);
    g.SetDirection(c.direction);
    g.SetColor(QColor(250, 10, 0));
    g.SetEndColor(QColor(0, 10, 250));
    const QColor sentinel(1, 2, 3);
    QImage img = Canvas(c.width + 4, c.height + 4, sentinel);
    const QRect r(2, 2, c.width, c.height);
    QPainter p(&img);
    g.Paint(p, r);
    p.end();
    const bool horizontal = c.direction == mdHorizontal || c.direction == mdHorizontalReverse;
    const bool reverse = c.direction == mdHorizontalReverse || c.direction == mdVerticalReverse;
    const int length = horizontal ? c.width : c.height;
    int lastRed = reverse ? 256 : -1;
    for (int i = 0; i < length; ++i) {
      const QColor px = horizontal ? At(img, 2 + i, 2 + c.height / 2) : At(img, 2 + c.width / 2, 2 + i);
      ASSERT_NE(px, sentinel) << c.bands << " bands, gap at " << i;
      // Start colour at the near edge of the direction, so red falls along it.
      if (reverse) {
        EXPECT_LE(px.red(), lastRed) << i;
      } else {
        EXPECT_GE(px.red(), lastRed) << i;
      }
      lastRed = px.red();
    }
    // Nothing outside the rectangle.
    EXPECT_EQ(At(img, 1, 1), sentinel);
    EXPECT_EQ(At(img, c.width + 2, c.height + 2), sentinel);
    if (c.bands == 1) {
      EXPECT_EQ(At(img, 2, 2), QColor(250, 10, 0));
    }
  }
}

TEST(Gradient, ColorCountStaysWithin1To255AndPaletteSpansBothEnds) {
  TZRWGradient g;
  g.SetColorCount(0);
  EXPECT_EQ(g.ColorCount(), 1);
  g.SetColorCount(1000);
  EXPECT_EQ(g.ColorCount(), 255);
  g.SetColorCount(4);
  const auto pal = g.Palette();
  ASSERT_EQ(pal.size(), 4u);
  EXPECT_EQ(pal.front(), QColor(0, 0, 255));
  EXPECT_EQ(pal.back(), QColor(0, 0, 0));
  EXPECT_EQ(pal[1].blue(), 255 + MulDiv(1, -255, 3));
}

TEST(Bevel, ShadowAndFrameStylesKeepTheirRules) {
  TZRWBevel b;
  int changes = 0;
  b.OnChange = [&](TZRWObject*) { ++changes; };
  b.SetStyleInner(bvShadow);
  EXPECT_EQ(b.StyleOuter(), bvShadow);
  b.SetStyleInner(bvRaised);
  EXPECT_EQ(b.StyleOuter(), bvNone);
  b.SetStyleOuter(bvFrameRaised);
  b.SetWidthOuter(3);
  EXPECT_EQ(b.WidthOuter(), 1);
  b.SetStyleOuter(bvLowered);
  b.SetWidthOuter(3);
  EXPECT_EQ(b.WidthOuter(), 3);
  b.SetStyleOuter(bvFrameLowered);  // cuts the width back to 1
  EXPECT_EQ(b.WidthOuter(), 1);
  const int before = changes;
  b.SetStyleOuter(bvFrameLowered);
  b.SetBorderWidth(0);
  EXPECT_EQ(changes, before);  // unchanged values notify nobody
}

TEST(Bevel, WidthCountsEachSide) {
  struct Case {
    TZRWBevelStyle outer, inner;
    int widthOuter, widthInner, border, borderInner, width;
  } cases[] = {
      {bvNone, bvNone, 3, 3, 0, 0, 0},       {bvRaised, bvNone, 3, 1, 0, 0, 3},
      {bvLowered, bvRaised, 2, 1, 1, 1, 5},  {bvFrameLowered, bvNormal, 1, 2, 0, 0, 4},
      {bvShadow, bvShadow, 5, 2, 9, 1, 6},   // 5 div 2 + 2 + 1 + 1; BorderWidth does not count
  };
  for (const Case& c : cases) {
    TZRWBevel b;
    b.SetStyleOuter(c.outer);
    b.SetStyleInner(c.inner);
    b.SetWidthOuter(c.widthOuter);
    b.SetWidthInner(c.widthInner);
    b.SetBorderWidth(c.border);
    b.SetBorderInnerWidth(c.borderInner);
    EXPECT_EQ(b.BevelWidth(), c.width) << static_cast<int>(c.outer);
  }
}

TEST(Bevel, EdgesTakeTheirColours) {
  TZRWBevel b;
  const QColor light(255, 255, 200), shadow(60, 60, 90), border(0, 200, 0);
  b.SetLightColor(light);
  b.SetShadowColor(shadow);
  b.SetBorderColor(border);
  b.SetStyleOuter(bvRaised);
  b.SetWidthOuter(2);
  b.SetBorderWidth(1);
  b.SetStyleInner(bvLowered);
  QImage img = Canvas(20, 12);
  QPainter p(&img);
  const QRect inner = b.Draw(p, img.rect());
  p.end();
  EXPECT_EQ(inner, QRect(4, 4, 12, 4));
  // Raised outside: light on top and left, shadow on bottom and right.
  for (int i : {0, 1}) {
    EXPECT_EQ(At(img, 10, i), light) << i;
    EXPECT_EQ(At(img, i, 6), light) << i;
    EXPECT_EQ(At(img, 10, 11 - i), shadow) << i;
    EXPECT_EQ(At(img, 19 - i, 6), shadow) << i;
  }
  EXPECT_EQ(At(img, 19, 0), shadow);  // top-right corner belongs to the shadow
  EXPECT_EQ(At(img, 0, 11), light);   // bottom-left corner to the light
  // Then one border frame, then the lowered inner edge the other way round.
  EXPECT_EQ(At(img, 2, 6), border);
  EXPECT_EQ(At(img, 17, 6), border);
  EXPECT_EQ(At(img, 10, 3), shadow);
  EXPECT_EQ(At(img, 10, 8), light);
  EXPECT_EQ(At(img, 10, 6), QColor(1, 2, 3));  // the inside is left alone
}

TEST(Bevel, FrameAndShadowStyles) {
  TZRWBevel b;
  const QColor light(250, 250, 250), shadow(50, 50, 50), border(10, 100, 10);
  b.SetLightColor(light);
  b.SetShadowColor(shadow);
  b.SetBorderColor(border);
  b.SetStyleOuter(bvFrameLowered);
  QImage img = Canvas(10, 10);
  QPainter p(&img);
  EXPECT_EQ(b.Draw(p, img.rect()), QRect(2, 2, 6, 6));
  p.end();
  EXPECT_EQ(At(img, 0, 0), shadow);  // the shadow frame lies on the rectangle
  EXPECT_EQ(At(img, 9, 9), light);   // the light one one pixel to the bottom right
  EXPECT_EQ(At(img, 1, 5), light);
  EXPECT_EQ(At(img, 8, 5), shadow);

  b.SetStyleOuter(bvShadow);
  b.SetWidthOuter(4);
  b.SetWidthInner(1);
  QImage s = Canvas(20, 20);
  QPainter sp(&s);
  const QRect inside = b.Draw(sp, s.rect());
  sp.end();
  EXPECT_EQ(inside, QRect(4, 4, 12, 12));  // 4 div 2 + 1 + 1
  EXPECT_EQ(At(s, 19, 19), shadow);
  EXPECT_EQ(At(s, 19, 0), border);  // left beside the offset shadow
  EXPECT_EQ(At(s, 0, 0), light);
  EXPECT_EQ(At(s, 8, 8), border);

  QImage kept = Canvas(20, 20);
  QPainter kp(&kept);
  b.Draw(kp, kept.rect(), true);  // leave what lies below where nothing is drawn
  kp.end();
  EXPECT_EQ(At(kept, 19, 0), QColor(1, 2, 3));
}

TEST(Drawing, TransparentCopyLeavesKeyColourPixels) {
  QImage src(4, 2, QImage::Format_RGB32);
  const QColor key(255, 0, 255);
  src.fill(key);
  src.setPixelColor(1, 0, Qt::red);
  src.setPixelColor(3, 1, Qt::green);
  QImage img = Canvas(8, 4);
  QPainter p(&img);
  DrawTransparentBitmap(p, 2, 1, src, 0, 0, 4, 2, key);
  DrawTransparentBitmap(p, 0, 0, QImage(), 0, 0, 4, 2, key);  // nothing for an empty source
  p.end();
  for (int y = 0; y < 4; ++y)
    for (int x = 0; x < 8; ++x) {
      QColor want(1, 2, 3);
      if (x == 3 && y == 1) want = Qt::red;
      if (x == 5 && y == 2) want = Qt::green;
      EXPECT_EQ(At(img, x, y), want) << x << "," << y;
    }
}

TEST(Drawing, TilingCoversTheRectangleClippedAtItsEdges) {
  // A 30 x 20 picture whose pixels say where in it they lie.
  QImage tile(30, 20, QImage::Format_RGB32);
  for (int y = 0; y < 20; ++y)
    for (int x = 0; x < 30; ++x) tile.setPixel(x, y, qRgb(x, y, 7));
  QImage img = Canvas(104, 54);
  QPainter p(&img);
  TileBitmap(p, tile, QRect(2, 2, 100, 50));
  TileBitmap(p, QImage(), QRect(0, 0, 104, 54));
  p.end();
  std::set<std::pair<int, int>> origins;
  for (int y = 0; y < 50; ++y)
    for (int x = 0; x < 100; ++x) {
      const QRgb px = img.pixel(2 + x, 2 + y);
      ASSERT_EQ(qRed(px), x % 30) << x << "," << y;
      ASSERT_EQ(qGreen(px), y % 20) << x << "," << y;
      origins.insert({x / 30, y / 20});
    }
  EXPECT_EQ(origins.size(), 4u * 3u);  // 4 columns and 3 rows of copies
  EXPECT_EQ(At(img, 1, 1), QColor(1, 2, 3));
  EXPECT_EQ(At(img, 102, 52), QColor(1, 2, 3));
}

TEST(Drawing, FillGradientPaintsOnlyItsRectangle) {
  TZRWGradient g;
  g.SetDirection(mdVertical);
  g.SetColorCount(2);
  g.SetColor(QColor(200, 0, 0));
  g.SetEndColor(QColor(0, 0, 0));
  QImage img = Canvas(6, 10);
  QPainter p(&img);
  FillGradient(p, g, QRect(1, 2, 4, 6));
  p.end();
  EXPECT_EQ(At(img, 2, 7), QColor(200, 0, 0));  // bottom band first
  EXPECT_EQ(At(img, 2, 2), QColor(100, 0, 0));
  EXPECT_EQ(At(img, 0, 5), QColor(1, 2, 3));
  EXPECT_EQ(At(img, 2, 8), QColor(1, 2, 3));
}

}  // namespace
