// The MDI background: where it may be placed, its fill and paint handler,
// the frame it keeps round the client area and repainting on scroll.
#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPaintEvent>
#include <QPainter>
#include <QScrollBar>

#include "Legibility.h"
#include "components/EffectDrawing.h"
#include "components/MdiBackground.h"
#include "core/ComponentError.h"

namespace {

struct Form {
  Form() {
    window.setCentralWidget(area);
    window.resize(300, 200);
  }
  QMainWindow window;
  QMdiArea* area = new QMdiArea;
};

// Records the regions the viewport is asked to paint.
class PaintRecorder : public QObject {
 public:
  bool eventFilter(QObject*, QEvent* e) override {
    if (e->type() == QEvent::Paint) rects.push_back(static_cast<QPaintEvent*>(e)->rect());
    return false;
  }
  std::vector<QRect> rects;
};

TEST(MDIBackground, OnlyOnAFormWithAnMDIClientArea) {
  QWidget plain;
  try {
    TMDIBackground b(&plain);
    ADD_FAILURE() << "no error";
  } catch (const EComponentError& e) {
    EXPECT_STREQ(e.what(), "TMDIBackground can only be used on a form \nwith FormStyle = fsMDIForm");
  }
  Form f;
  TMDIBackground b(&f.window);
  EXPECT_EQ(b.ClientWindow(), f.area);
  EXPECT_EQ(b.BevelWidth(), 2);
  EXPECT_EQ(b.BackgroundColor(), InactiveCaptionColor());
}

TEST(MDIBackground, FillsThenHandsThePaintingOn) {
  Form f;
  auto* b = new TMDIBackground(&f.window);
  b->SetBevelWidth(0);
  b->SetBackgroundColor(QColor(192, 192, 192));
  QRect given;
  b->OnPaint = [&](QObject* sender, QPainter& p, const QRect& r) {
    EXPECT_EQ(sender, b);
    given = r;
    p.fillRect(QRect(0, 0, 10, 10), QColor(200, 0, 0));
  };
  f.window.show();
  QApplication::processEvents();
  // With no bevel the client area fills its place.
  EXPECT_EQ(f.area->viewport()->geometry(), f.area->rect());
  const QImage shot = f.area->grab().toImage();
  EXPECT_EQ(given, f.area->viewport()->rect());
  EXPECT_EQ(shot.pixelColor(5, 5), QColor(200, 0, 0));
  EXPECT_EQ(shot.pixelColor(50, 50), QColor(192, 192, 192));
  EXPECT_EQ(shot.pixelColor(0, f.area->height() - 1), QColor(192, 192, 192));  // no frame
}

TEST(MDIBackground, KeepsABevelRoundTheClientArea) {
  Form f;
  TMDIBackground b(&f.window);
  b.SetBackgroundColor(QColor(0, 0, 128));
  b.SetBevelWidth(3);
  f.window.show();
  QApplication::processEvents();
  EXPECT_EQ(f.area->viewport()->geometry(), f.area->rect().adjusted(3, 3, -3, -3));
  const QImage shot = f.area->grab().toImage();
  const int w = f.area->width(), h = f.area->height();
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(shot.pixelColor(i, h / 2), QColor(Qt::black)) << i;
    EXPECT_EQ(shot.pixelColor(w / 2, i), QColor(Qt::black)) << i;
    EXPECT_EQ(shot.pixelColor(w - 1 - i, h / 2), ButtonHighlightColor()) << i;
    EXPECT_EQ(shot.pixelColor(w / 2, h - 1 - i), ButtonHighlightColor()) << i;
  }
  EXPECT_EQ(shot.pixelColor(3, h / 2), QColor(0, 0, 128));
  EXPECT_TRUE(f.window.grab().save(kalvora::test::ScreenshotFile("kalvora_mdi_background")));
}

TEST(MDIBackground, ScrollingRepaintsTheWholeArea) {
  Form f;
  TMDIBackground b(&f.window);
  b.SetBevelWidth(0);
  f.area->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
  auto* child = f.area->addSubWindow(new QLabel("far away"));
  child->setGeometry(600, 500, 120, 80);  // beyond the visible area: scroll bars appear
  child->show();
  f.window.show();
  QApplication::processEvents();
  QScrollBar* bar = f.area->verticalScrollBar();
  ASSERT_GT(bar->maximum(), 0);
  PaintRecorder rec;
  f.area->viewport()->installEventFilter(&rec);
  bar->setValue(bar->maximum() / 2);
  QApplication::processEvents();
  ASSERT_FALSE(rec.rects.empty());
  EXPECT_EQ(rec.rects.back(), f.area->viewport()->rect());
  f.area->viewport()->removeEventFilter(&rec);
}

TEST(MDIBackground, GoingAwayGivesTheAreaBack) {
  Form f;
  {
    TMDIBackground b(&f.window);
    b.SetBevelWidth(4);
    f.window.show();
    QApplication::processEvents();
    EXPECT_EQ(f.area->viewport()->x(), 4);
  }
  QApplication::processEvents();
  EXPECT_EQ(f.area->viewport()->geometry(), f.area->rect());
}

}  // namespace
