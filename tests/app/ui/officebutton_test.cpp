// The office-style tool button: grey pictures, hints, groups, clicks with
// and without a drop-down menu, and what it paints in each state.
#include <gtest/gtest.h>

#include <QApplication>
#include <QMenu>
#include <QContextMenuEvent>
#include <QEnterEvent>
#include <QMouseEvent>
#include <QShortcut>
#include <QTimer>
#include <QWidget>

#include "Legibility.h"
#include "components/EffectDrawing.h"
#include "components/OfficeButton.h"
#include "components/ToolButtonPictures.h"

namespace {

using enum TExplorerButtonShadingType;
using Opt = TExplorerButtonOption;

// System colours that differ from each other and from white and black, so
// each state shows which one it drew.
class DistinctColours : public ::testing::Environment {
 public:
  void SetUp() override {
    QPalette pal = QApplication::palette();
    for (auto group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
      pal.setColor(group, QPalette::Button, QColor(200, 200, 200));
      pal.setColor(group, QPalette::Light, QColor(240, 240, 230));
      pal.setColor(group, QPalette::Dark, QColor(120, 120, 130));
      pal.setColor(group, QPalette::ButtonText, Qt::black);
      pal.setColor(group, QPalette::WindowText, Qt::black);
    }
    QApplication::setPalette(pal);
  }
};
const auto* const kColours = ::testing::AddGlobalTestEnvironment(new DistinctColours);

// Mouse presses and releases as the window system delivers them.
void Press(QWidget* w, QPoint pos) {
  QMouseEvent e(QEvent::MouseButtonPress, pos, w->mapToGlobal(pos), Qt::LeftButton, Qt::LeftButton, {});
  QApplication::sendEvent(w, &e);
}
void Release(QWidget* w, QPoint pos) {
  QMouseEvent e(QEvent::MouseButtonRelease, pos, w->mapToGlobal(pos), Qt::LeftButton, Qt::NoButton, {});
  QApplication::sendEvent(w, &e);
}

// One pixel of the given sum of red, green and blue.
QRgb OfSum(int s) {
  const int r = std::min(s, 255), g = std::min(s - r, 255), b = s - r - g;
  return qRgb(r, g, b);
}

TEST(OfficeButton, GreyPictureThresholdsPerShading) {
  const QColor white(255, 255, 255), light = ButtonHighlightColor(), dark = ButtonShadowColor(), black(0, 0, 0);
  struct Case {
    TExplorerButtonShadingType shading;
    int t1, t2, t3;
  } cases[] = {{stLight, 68, 127, 205}, {stMedium, 57, 231, 553}, {stDark, 175, 274, 335}};
  for (const Case& c : cases) {
    // Key pixel first, then each threshold and the sum just above it.
    const int sums[] = {0, c.t1, c.t1 + 1, c.t2, c.t2 + 1, c.t3, c.t3 + 1, 765};
    const QColor want[] = {black, black, dark, dark, light, light, white, white};
    QImage bmp(1 + 8, 1, QImage::Format_RGB32);
    bmp.setPixel(0, 0, qRgb(255, 0, 255));  // the key colour (sum 510)
    for (int i = 0; i < 8; ++i) bmp.setPixel(1 + i, 0, OfSum(sums[i]));
    const QImage grey = GreyPicture(bmp, c.shading);
    EXPECT_EQ(grey.pixelColor(0, 0), QColor(255, 0, 255)) << "key colour kept";
    for (int i = 0; i < 8; ++i) EXPECT_EQ(grey.pixelColor(1 + i, 0), want[i]) << static_cast<int>(c.shading) << " sum " << sums[i];
  }
}

TEST(OfficeButton, GreyPictureFollowsBitmapAndShading) {
  TOfficeButton b;
  EXPECT_EQ(b.size(), QSize(50, 40));
  QImage bmp(2, 1, QImage::Format_RGB32);
  bmp.setPixel(0, 0, qRgb(255, 0, 255));
  bmp.setPixel(1, 0, OfSum(250));  // medium: highlight, dark: shadow, light: white
  b.SetBitmap(bmp);
  EXPECT_EQ(b.InternalBitmap().pixelColor(1, 0), ButtonHighlightColor());
  b.SetShadingType(stDark);
  EXPECT_EQ(b.InternalBitmap().pixelColor(1, 0), ButtonShadowColor());
  b.SetShadingType(stLight);
  EXPECT_EQ(b.InternalBitmap().pixelColor(1, 0), QColor(255, 255, 255));
  QVariantMap props;
  b.WriteProperties(props);
  ASSERT_TRUE(props.contains("IBitmap"));
  TOfficeButton copy;
  copy.ReadProperties(props);
  EXPECT_EQ(copy.InternalBitmap(), b.InternalBitmap());
  QVariantMap none;
  TOfficeButton empty;
  empty.WriteProperties(none);
  EXPECT_TRUE(none.isEmpty());
}

TEST(OfficeButton, IconOnlyMakesTheCaptionTheHint) {
  struct Case {
    const char* caption;
    const char* hint;
  } cases[] = {{"&Play Wave", "Play Wave"}, {"Save && Load", "Save & Load"}, {"Exit", "Exit"}};
  for (const Case& c : cases) {
    TOfficeButton b;
    b.SetShowHint(false);
    b.SetCaption(c.caption);
    b.SetOptions(b.Options() | Opt::boIconOnly);
    EXPECT_EQ(b.Hint(), c.hint) << c.caption;
    EXPECT_TRUE(b.ShowHint());
    b.SetOptions(b.Options() & ~TExplorerButtonOptions(Opt::boIconOnly));
    EXPECT_EQ(b.Hint(), "") << c.caption;
    EXPECT_FALSE(b.ShowHint());
  }
  // A hint of its own stays.
  TOfficeButton own;
  own.SetCaption("&Play");
  own.SetHint("calculate and play the sample");
  own.SetOptions(own.Options() | Opt::boIconOnly);
  own.SetOptions(own.Options() & ~TExplorerButtonOptions(Opt::boIconOnly));
  EXPECT_EQ(own.Hint(), "calculate and play the sample");
}

class ButtonRow : public ::testing::Test {
 protected:
  void SetUp() override {
    form.resize(240, 60);
    form.move(200, 200);  // away from where the cursor rests
    for (int i = 0; i < 3; ++i) {
      buttons[i] = new TOfficeButton(&form);
      buttons[i]->move(i * 55, 5);
      buttons[i]->SetCaption(QString("B%1").arg(i));
      buttons[i]->OnClick = [this, i](TOfficeButton*) { clicks.push_back(i); };
    }
    form.show();
    QApplication::processEvents();
  }
  void Click(int i) {
    Press(buttons[i], QPoint(10, 10));
    Release(buttons[i], QPoint(10, 10));
  }
  QWidget form;
  TOfficeButton* buttons[3];
  std::vector<int> clicks;
};

TEST_F(ButtonRow, GroupsActLikeRadioButtons) {
  buttons[0]->SetGroupIndex(1);
  buttons[1]->SetGroupIndex(1);
  buttons[0]->SetDown(true);
  Click(1);
  EXPECT_TRUE(buttons[1]->Down());
  EXPECT_FALSE(buttons[0]->Down());
  Click(1);  // stays down
  EXPECT_TRUE(buttons[1]->Down());
  buttons[0]->SetAllowAllUp(true);  // for the whole group
  EXPECT_TRUE(buttons[1]->AllowAllUp());
  EXPECT_FALSE(buttons[2]->AllowAllUp());
  Click(1);
  EXPECT_FALSE(buttons[1]->Down());
  EXPECT_EQ(clicks, (std::vector<int>{1, 1, 1}));

  buttons[2]->SetDown(true);  // no group: nothing
  EXPECT_FALSE(buttons[2]->Down());
  buttons[0]->SetDown(true);
  buttons[0]->SetGroupIndex(0);
  EXPECT_FALSE(buttons[0]->Down());
}

TEST_F(ButtonRow, ClickFiresOnlyWhenReleasedOverTheButton) {
  int signals_ = 0;
  QObject::connect(buttons[0], &TOfficeButton::clicked, [&] { ++signals_; });
  Click(0);
  EXPECT_EQ(clicks, std::vector<int>{0});
  EXPECT_EQ(signals_, 1);
  Press(buttons[0], QPoint(10, 10));
  EXPECT_TRUE(buttons[0]->Pressed());
  Release(buttons[0], QPoint(100, 10));  // moved off
  EXPECT_FALSE(buttons[0]->Pressed());
  EXPECT_EQ(clicks.size(), 1u);
  buttons[0]->setEnabled(false);
  Click(0);
  EXPECT_EQ(clicks.size(), 1u);
}

TEST_F(ButtonRow, DropDownMenuOpensAndNeverClicks) {
  QMenu menu;
  menu.addAction("Load again");
  int shown = 0;
  QPoint where;
  QObject::connect(&menu, &QMenu::aboutToShow, [&] {
    ++shown;
    // The menu is closed by a timer, as a person would close it.
    QTimer::singleShot(30, &menu, [&] {
      where = menu.pos();
      menu.close();
    });
  });
  buttons[1]->SetDropDownMenu(&menu);
  Click(1);
  EXPECT_EQ(shown, 1);
  EXPECT_EQ(where, buttons[1]->mapToGlobal(QPoint(0, buttons[1]->height())));  // at the bottom-left corner
  EXPECT_TRUE(clicks.empty());
  EXPECT_FALSE(buttons[1]->Pressed());
  QApplication::processEvents();
  EXPECT_TRUE(clicks.empty());
}

TEST_F(ButtonRow, ARemovedMenuIsForgotten) {
  auto* menu = new QMenu;
  buttons[0]->SetDropDownMenu(menu);
  delete menu;
  EXPECT_EQ(buttons[0]->DropDownMenu(), nullptr);
  Click(0);
  EXPECT_EQ(clicks, std::vector<int>{0});
}

TEST_F(ButtonRow, PopupMenuOnTheRightButton) {
  QMenu popup;
  popup.addAction("Properties");
  int shown = 0;
  QObject::connect(&popup, &QMenu::aboutToShow, [&] {
    ++shown;
    QTimer::singleShot(30, &popup, &QMenu::close);
  });
  buttons[1]->SetPopupMenu(&popup);
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QApplication::sendEvent(buttons[1], &enter);
  QContextMenuEvent e(QContextMenuEvent::Mouse, QPoint(10, 10), buttons[1]->mapToGlobal(QPoint(10, 10)));
  QApplication::sendEvent(buttons[1], &e);
  EXPECT_EQ(shown, 1);
  EXPECT_FALSE(buttons[1]->MouseOver());  // the cursor rests elsewhere
  EXPECT_TRUE(clicks.empty());
}

TEST_F(ButtonRow, DisablingClearsThePressAndTheMouse) {
  Press(buttons[0], QPoint(10, 10));
  EXPECT_TRUE(buttons[0]->MouseOver());
  buttons[0]->setEnabled(false);
  EXPECT_FALSE(buttons[0]->Pressed());
  EXPECT_FALSE(buttons[0]->MouseOver());
  Release(buttons[0], QPoint(10, 10));
  buttons[0]->setEnabled(true);
  EXPECT_TRUE(clicks.empty());
}

TEST_F(ButtonRow, AcceleratorKeyClicks) {
  buttons[2]->SetCaption("&Exit");
  QShortcut* key = buttons[2]->findChild<QShortcut*>();
  ASSERT_NE(key, nullptr);
  EXPECT_EQ(key->key(), QKeySequence(Qt::ALT | Qt::Key_E));
  emit key->activated();  // as the window's shortcut map does on Alt+E
  EXPECT_EQ(clicks, std::vector<int>{2});
  EXPECT_FALSE(buttons[2]->Pressed());
  buttons[2]->setEnabled(false);
  emit key->activated();
  EXPECT_EQ(clicks, std::vector<int>{2});
  buttons[2]->SetCaption("Exit");  // no accelerator any more
  EXPECT_EQ(buttons[2]->findChild<QShortcut*>(), nullptr);
}

TEST_F(ButtonRow, PaintsItsStates) {
  TOfficeButton& b = *buttons[0];
  b.SetBitmap(ToolButtonPicture(TToolPicture::Play));
  const QColor face = ButtonFaceColor(), light = ButtonHighlightColor(), dark = ButtonShadowColor();
  // Mouse elsewhere: no bevel and the grey picture.
  QImage img = b.PaintToImage();
  EXPECT_EQ(img.pixelColor(0, 0), face);
  EXPECT_EQ(img.pixelColor(49, 39), face);
  const QImage grey = b.InternalBitmap();
  auto pictureAt = [&](const QImage& shot, const QImage& pic, QPoint at) {
    for (int y = 0; y < pic.height(); ++y)
      for (int x = 0; x < pic.width(); ++x)
        if (pic.pixel(x, y) != kToolPictureKey && shot.pixel(at.x() + x, at.y() + y) != pic.pixel(x, y)) return false;
    return true;
  };
  // Where the grey picture lies, found by searching; the other states are
  // checked against that place.
  QPoint at(-1, -1);
  for (int y = 0; y + 24 <= 40 && at.x() < 0; ++y)
    for (int x = 0; x + 24 <= 50 && at.x() < 0; ++x)
      if (pictureAt(img, grey, QPoint(x, y))) at = QPoint(x, y);
  ASSERT_GE(at.x(), 0);
  EXPECT_EQ(at.x(), (50 - 24) / 2);  // centred across
  EXPECT_TRUE(pictureAt(img, grey, at));
  // Mouse over: raised bevel and the coloured picture.
  QEnterEvent enter(QPointF(5, 5), QPointF(5, 5), QPointF(5, 5));
  QApplication::sendEvent(&b, &enter);
  img = b.PaintToImage();
  EXPECT_EQ(img.pixelColor(0, 20), light);
  EXPECT_EQ(img.pixelColor(25, 0), light);
  EXPECT_EQ(img.pixelColor(49, 20), dark);
  EXPECT_EQ(img.pixelColor(25, 39), dark);
  EXPECT_TRUE(pictureAt(img, b.Bitmap(), at));
  // Pressed: sunken, picture one pixel down and right.
  Press(&b, QPoint(10, 10));
  img = b.PaintToImage();
  EXPECT_EQ(img.pixelColor(0, 20), dark);
  EXPECT_EQ(img.pixelColor(49, 20), light);
  EXPECT_TRUE(pictureAt(img, b.Bitmap(), at + QPoint(1, 1)));
  Release(&b, QPoint(10, 10));
  // Down in a group: the pattern fills the face.
  b.SetGroupIndex(3);
  b.SetDown(true);
  img = b.PaintToImage();
  EXPECT_EQ(img.pixelColor(2, 2), light);
  EXPECT_EQ(img.pixelColor(3, 2), face);
  // With bsLowered the raised bevel takes the colours the other way round.
  b.SetDown(false);
  b.SetBevelStyle(TBevelStyle::bsLowered);
  QApplication::sendEvent(&b, &enter);
  img = b.PaintToImage();
  EXPECT_EQ(img.pixelColor(0, 20), dark);
  // No bevel at all without boShowBevel.
  b.SetOptions(b.Options() & ~TExplorerButtonOptions(Opt::boShowBevel));
  EXPECT_EQ(b.PaintToImage().pixelColor(0, 20), face);
  // Disabled: the picture embossed in highlight and shadow.
  b.setEnabled(false);
  img = b.PaintToImage();
  bool sawShadow = false;
  for (int y = 0; y < 24; ++y)
    for (int x = 0; x < 24; ++x) {
      const QColor c = img.pixelColor(at.x() + x, at.y() + y);
      EXPECT_TRUE(c == face || c == light || c == dark) << x << "," << y;
      sawShadow |= c == dark;
    }
  EXPECT_TRUE(sawShadow);
  // A disabled picture of its own replaces the embossing.
  QImage own(24, 24, QImage::Format_RGB32);
  own.fill(kToolPictureKey);
  own.setPixel(5, 5, qRgb(1, 2, 3));
  b.SetDisabledBitmap(own);
  EXPECT_EQ(b.PaintToImage().pixelColor(at.x() + 5, at.y() + 5), QColor(1, 2, 3));
}

TEST_F(ButtonRow, CaptionsAreLegibleInEveryLayout) {
  form.resize(420, 140);
  for (TOfficeButton* b : buttons) b->hide();
  const TExplorerButtonLayout layouts[] = {TExplorerButtonLayout::blBitmapTop, TExplorerButtonLayout::blBitmapBottom,
                                           TExplorerButtonLayout::blBitmapLeft, TExplorerButtonLayout::blBitmapRight};
  QMenu menu;
  std::vector<TOfficeButton*> all;
  for (int i = 0; i < 4; ++i) {
    auto* b = new TOfficeButton(&form);
    b->setGeometry(5 + i * 102, 5, i < 2 ? 60 : 96, i < 2 ? 56 : 34);
    b->SetLayout(layouts[i]);
    b->SetCaption(i < 2 ? "&Play" : "&Options");
    b->SetBitmap(ToolButtonPicture(i < 2 ? TToolPicture::Play : TToolPicture::Options));
    b->show();
    all.push_back(b);
  }
  all[3]->SetDropDownMenu(&menu);
  auto* narrow = new TOfficeButton(&form);
  narrow->setGeometry(5, 70, 60, 30);
  narrow->SetCaption("A caption far too long");
  narrow->SetLayout(TExplorerButtonLayout::blBitmapLeft);
  auto* wrapped = new TOfficeButton(&form);
  wrapped->setGeometry(70, 70, 80, 60);
  wrapped->SetCaption("Wrapped over two lines");
  wrapped->SetWordWrap(true);
  auto* down = new TOfficeButton(&form);
  down->setGeometry(160, 70, 60, 56);
  down->SetBitmap(ToolButtonPicture(TToolPicture::Statistics));
  down->SetCaption("Down");
  down->SetGroupIndex(1);
  down->SetDown(true);
  auto* off = new TOfficeButton(&form);
  off->setGeometry(225, 70, 60, 56);
  off->SetBitmap(ToolButtonPicture(TToolPicture::SaveSample));
  off->SetCaption("Save");
  off->setEnabled(false);
  for (QWidget* w : {static_cast<QWidget*>(narrow), static_cast<QWidget*>(wrapped), static_cast<QWidget*>(down),
                     static_cast<QWidget*>(off)})
    w->show();
  QApplication::processEvents();
  EXPECT_TRUE(form.grab().save(kalvora::test::ScreenshotFile("kalvora_office_buttons")));
  // The caption of the left layout lies right of its picture.
  const QImage img = all[2]->PaintToImage();
  bool text = false;
  for (int x = 3 + 24 + 2; x < 93 && !text; ++x)
    for (int y = 3; y < 31; ++y) text |= img.pixelColor(x, y) != ButtonFaceColor();
  EXPECT_TRUE(text);
}

TEST(OfficeButton, DownPatternIsSharedAndMadeAgain) {
  const QColor light = ButtonHighlightColor(), face = ButtonFaceColor();
  {
    TOfficeButton b;
    const QImage& p = TOfficeButton::DownPattern();
    EXPECT_EQ(p.size(), QSize(8, 8));
    EXPECT_EQ(p.pixelColor(0, 0), light);
    EXPECT_EQ(p.pixelColor(1, 1), light);
    EXPECT_EQ(p.pixelColor(1, 0), face);
    EXPECT_EQ(p.pixelColor(0, 3), face);
  }
  EXPECT_EQ(TOfficeButton::DownPattern().pixelColor(7, 7), light);
}

}  // namespace
