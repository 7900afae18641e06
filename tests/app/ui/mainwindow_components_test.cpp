// The main window's frame built from the real components, as the main window
// will hold them: tiled panels, nine office buttons, the MDI background with
// its tiled picture. Checks the arrangement and saves screenshots.
#include <gtest/gtest.h>

#include <QApplication>
#include <QEnterEvent>
#include <QHBoxLayout>
#include <QLabel>
#include <QMainWindow>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPainter>
#include <QVBoxLayout>

#include <cmath>

#include "Legibility.h"
#include "components/EffectDrawing.h"
#include "components/MdiBackground.h"
#include "components/OfficeButton.h"
#include "components/TileControl.h"
#include "components/ToolButtonPictures.h"

namespace {

// Pictures of our own for the panels and the client area.
QImage PanelPicture() {
  QImage img(32, 32, QImage::Format_RGB32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const int v = 70 + ((x * 7 + y * 13) % 17) + static_cast<int>(10 * std::sin(y * M_PI / 16));
      img.setPixel(x, y, qRgb(v - 20, v - 5, v + 40));
    }
  return img;
}

QImage ClientPicture() {
  QImage img(64, 64, QImage::Format_RGB32);
  for (int y = 0; y < 64; ++y)
    for (int x = 0; x < 64; ++x) {
      const int v = 150 + static_cast<int>(12 * std::sin((x + y) * M_PI / 32) + 8 * std::cos((x - y) * M_PI / 16));
      img.setPixel(x, y, qRgb(v - 30, v - 15, v + 20));
    }
  return img;
}

struct MainFrame {
  MainFrame() {
    auto* central = new QWidget(&window);
    auto* v = new QVBoxLayout(central);
    v->setContentsMargins(0, 0, 0, 0);
    v->setSpacing(0);
    top = Panel(central, 0, 38);
    const struct {
      TToolPicture picture;
      const char* caption;
    } tools[] = {{TToolPicture::Play, "&Play"},          {TToolPicture::SaveSample, "&Save sample"},
                 {TToolPicture::LoadInstrument, "&Load"}, {TToolPicture::SaveInstrument, "Save &instrument"},
                 {TToolPicture::Options, "&Options"},     {TToolPicture::Statistics, "Statis&tics"},
                 {TToolPicture::About, "&About"},         {TToolPicture::Help, "&Help"},
                 {TToolPicture::Exit, "E&xit"}};
    int x = 6;
    for (const auto& t : tools) {
      auto* b = new TOfficeButton(top);
      b->SetBitmap(ToolButtonPicture(t.picture, 20));
      b->SetCaption(t.caption);
      b->SetOptions(b->Options() | TExplorerButtonOption::boIconOnly);
      b->setGeometry(x, 4, 30, 30);
      x += (t.picture == TToolPicture::SaveSample || t.picture == TToolPicture::SaveInstrument) ? 40 : 32;
      buttons.push_back(b);
    }
    v->addWidget(top);
    auto* middle = new QHBoxLayout;
    middle->setSpacing(0);
    left = Panel(central, 104, 0);
    auto* logo = new QLabel("Kalvora", left);
    QFont f = logo->font();
    f.setPointSize(14), f.setBold(true);
    logo->setFont(f);
    QPalette pal = logo->palette();
    pal.setColor(QPalette::WindowText, Qt::white);
    logo->setPalette(pal);
    logo->setGeometry(8, 8, 96, 26);
    middle->addWidget(left);
    area = new QMdiArea(central);
    middle->addWidget(area, 1);
    v->addLayout(middle, 1);
    bottom = Panel(central, 0, 26);
    bottom->SetTileMode(TZRWBackmode::tmGradient);
    bottom->Gradient().SetDirection(TZRWDirection::mdVertical);
    bottom->Gradient().SetColor(QColor(255, 255, 255));
    bottom->Gradient().SetEndColor(QColor(192, 192, 192));
    v->addWidget(bottom);
    window.setCentralWidget(central);
    background = new TMDIBackground(&window);
    background->SetBevelWidth(0);
    background->SetBackgroundColor(QColor(192, 192, 192));
    const QImage client = ClientPicture();
    background->OnPaint = [client](QObject*, QPainter& p, const QRect& r) { TileBitmap(p, client, r); };
    window.resize(640, 420);
  }

  TZRWTile* Panel(QWidget* parent, int width, int height) {
    auto* t = new TZRWTile(parent);
    t->SetBitmap(PanelPicture());
    t->SetTileMode(TZRWBackmode::tmTile);
    if (width) t->setFixedWidth(width);
    if (height) t->setFixedHeight(height);
    return t;
  }

  QMainWindow window;
  TZRWTile *top, *left, *bottom;
  QMdiArea* area;
  TMDIBackground* background;
  std::vector<TOfficeButton*> buttons;
};

TEST(MainWindowComponents, PanelsButtonsAndBackground) {
  MainFrame m;
  m.window.move(300, 300);  // away from the cursor
  auto* child = m.area->addSubWindow(new QLabel("  a child window"));
  child->setGeometry(40, 30, 220, 110);
  m.window.show();
  QApplication::processEvents();
  // The hints come from the captions, as the tool bar shows no text.
  EXPECT_EQ(m.buttons[0]->Hint(), "Play");
  EXPECT_EQ(m.buttons[3]->Hint(), "Save instrument");
  // The mouse over the options button: raised bevel, picture in colour.
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QApplication::sendEvent(m.buttons[4], &enter);
  EXPECT_TRUE(m.buttons[4]->MouseOver());
  QImage shot = m.window.grab().toImage();
  EXPECT_TRUE(shot.save(kalvora::test::ScreenshotFile("kalvora_main_components")));
  // The client area shows its tiled picture from its own top-left corner.
  const QPoint origin = m.area->viewport()->mapTo(&m.window, QPoint(0, 0));
  EXPECT_EQ(shot.pixel(origin + QPoint(2, 300 - 64 * 4)), ClientPicture().pixel(2, 300 - 256));
  EXPECT_EQ(shot.pixel(origin), ClientPicture().pixel(0, 0));
  // The panels show theirs.
  EXPECT_EQ(shot.pixel(m.left->mapTo(&m.window, QPoint(40, 100))), PanelPicture().pixel(40 % 32, 100 % 32));

  // Without a sample to play, the main window disables play and save.
  for (int i : {0, 1}) m.buttons[i]->setEnabled(false);
  QApplication::processEvents();
  shot = m.window.grab().toImage();
  EXPECT_TRUE(shot.save(kalvora::test::ScreenshotFile("kalvora_main_components_disabled")));
  const QImage play = m.buttons[0]->PaintToImage();
  for (int y = 0; y < play.height(); ++y)
    for (int x = 0; x < play.width(); ++x) {
      const QColor c = play.pixelColor(x, y);
      ASSERT_TRUE(c == ButtonFaceColor() || c == ButtonHighlightColor() || c == ButtonShadowColor()) << x << "," << y;
    }
  for (int i : {0, 1}) m.buttons[i]->setEnabled(true);
  EXPECT_NE(m.buttons[0]->PaintToImage(), play);
}

}  // namespace
