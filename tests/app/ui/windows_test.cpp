// The long-lived windows as a person meets them: they stay for the whole run
// whatever is clicked, stored places keep them reachable, and every window
// reads at the default font (a picture of each is saved beside the test).
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QScreen>
#include <QTabWidget>

#include "Legibility.h"
#include "MainFixture.h"
#include "core/IniFile.h"
#include "windows/InGlob.h"
#include "windows/LibraryReports.h"
#include "windows/ViewWave.h"
#include "windows/WaveGen.h"

using namespace kalvora::test;

namespace {

QMdiSubWindow* FrameOf(QWidget* w) { return qobject_cast<QMdiSubWindow*>(w->parentWidget()); }

class Windows : public MainTest {
 protected:
  std::vector<std::pair<const char*, QWidget*>> LongLived() {
    return {{"InGlob", windows_.InGlob}, {"WaveGen", windows_.WaveGen}, {"ViewWave", windows_.ViewWave}};
  }
};

TEST_F(Windows, LongLivedChildrenAreMinimisedWhenClosedAndNeverFreed) {
  TfMain& main = Start();
  for (auto [key, child] : LongLived()) {
    QMdiSubWindow* frame = FrameOf(child);
    ASSERT_NE(frame, nullptr) << key;
    EXPECT_TRUE(frame->windowFlags() & Qt::WindowMinimizeButtonHint) << key;
    EXPECT_TRUE(frame->windowFlags() & Qt::WindowSystemMenuHint) << key;
    EXPECT_EQ(bool(frame->windowFlags() & Qt::WindowMaximizeButtonHint), child == windows_.ViewWave) << key;
    EXPECT_FALSE(frame->close()) << key;
    EXPECT_TRUE(frame->isMinimized()) << key;
    frame->showNormal();
    main.MdiArea()->setActiveSubWindow(frame);
    main.MdiArea()->closeActiveSubWindow();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QApplication::processEvents();
  }
  // Still there: the frames are not freed and the windows are not hidden.
  EXPECT_EQ(main.MdiArea()->subWindowList().count(), 3);
  for (auto [key, child] : LongLived()) {
    EXPECT_FALSE(FrameOf(child)->isHidden()) << key;
    EXPECT_TRUE(FrameOf(child)->isMinimized()) << key;
  }

  main.SetInstrumentUpToDate(true);
  EXPECT_TRUE(main.close());
  TIniFile ini((dir_ / "kalvora.dai").string());
  for (auto [key, child] : LongLived())
    EXPECT_TRUE(ini.ValueExists("Positions", std::string(key) + " x")) << key;
}

TEST_F(Windows, APlacedWindowThatIsGoneIsNotRead) {
  TfMain& main = Start();
  auto* passing = new QWidget(&main, Qt::Window);
  main.RegisterPlacedWindow("Passing", passing, true);
  delete passing;
  main.SetInstrumentUpToDate(true);
  EXPECT_TRUE(main.close());
  TIniFile ini((dir_ / "kalvora.dai").string());
  EXPECT_FALSE(ini.ValueExists("Positions", "Passing x"));
  EXPECT_TRUE(ini.ValueExists("Positions", "Main x"));
}

TEST_F(Windows, StoredPlacesOffTheScreenAreKeptReachable) {
  std::ofstream(dir_ / "kalvora.dai") << "[Positions]\nMain x=-100000\nMain y=-100000\n"
                                         "InGlob x=99999\nInGlob y=99999\nWaveGen x=-5000\nWaveGen y=40\n"
                                         "ViewWave x=20\nViewWave y=30\n";
  TfMain& main = Start();
  QApplication::processEvents();
  const QRect screen = QGuiApplication::primaryScreen()->availableVirtualGeometry();
  EXPECT_TRUE(screen.intersects(main.frameGeometry())) << main.x() << "," << main.y();
  EXPECT_GE(main.y(), screen.top());
  const QRect area = main.MdiArea()->viewport()->rect();
  for (auto [key, child] : LongLived()) {
    const QRect frame = FrameOf(child)->geometry();
    EXPECT_TRUE(area.intersects(frame)) << key;
    EXPECT_GE(frame.top(), area.top()) << key;
    EXPECT_LE(frame.top(), area.bottom()) << key;
  }
  // A place that is reachable already is kept as it is.
  EXPECT_EQ(FrameOf(windows_.ViewWave)->pos(), QPoint(20, 30));
}

TEST_F(Windows, EveryWindowReadsAtTheDefaultFont) {
  TfMain& main = Start();
  main.resize(900, 640);
  QApplication::processEvents();
  EXPECT_TRUE(ClippedTexts(&main).isEmpty()) << ClippedTexts(&main).join("\n").toStdString();
  EXPECT_TRUE(SaveScreenshot(&main, "window_main"));

  TfInGlob& glob = *windows_.InGlob;
  glob.SetEffectOrder("abcdef");  // every effect page shown
  for (int i = 0; i < glob.pcInGlob->count(); ++i) {
    glob.pcInGlob->setCurrentIndex(i);
    QApplication::processEvents();
    const QString page = glob.pcInGlob->tabText(i);
    EXPECT_TRUE(ClippedTexts(FrameOf(&glob)).isEmpty())
        << page.toStdString() << ":\n" << ClippedTexts(FrameOf(&glob)).join("\n").toStdString();
    EXPECT_TRUE(SaveScreenshot(FrameOf(&glob), "window_inglob_" + QString::number(i)));
  }
  for (QWidget* child : {static_cast<QWidget*>(windows_.WaveGen), static_cast<QWidget*>(windows_.ViewWave)}) {
    EXPECT_TRUE(ClippedTexts(FrameOf(child)).isEmpty()) << ClippedTexts(FrameOf(child)).join("\n").toStdString();
    EXPECT_TRUE(SaveScreenshot(FrameOf(child), "window_" + child->objectName()));
  }
  main.SetInstrumentUpToDate(true);
}

}  // namespace
