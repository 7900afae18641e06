// The main window: start-up order, first activation, layout, closing.
#include <gtest/gtest.h>

#include <QMdiSubWindow>

#include <QAction>
#include <QApplication>
#include <QLabel>
#include <QMenu>
#include <QMdiArea>
#include <QMenuBar>
#include <QMouseEvent>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>
#include <QAbstractButton>
#include <QClipboard>
#include <QGuiApplication>

#include <functional>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "components/OfficeButton.h"
#include "components/TileControl.h"
#include "views/Backgrounds.h"
#include "views/BoundedMemo.h"
#include "views/Colors.h"
#include "Fakes.h"
#include "Legibility.h"
#include "MainFixture.h"
#include "formats/InstrumentFile.h"
#include "formats/LibraryFiles.h"
#include "windows/InGlob.h"
#include "windows/ViewWave.h"
#include "windows/WaveGen.h"
#include "windows/InGlob.h"
#include "windows/Main.h"
#include "windows/Splash.h"
#include "windows/Startup.h"
#include "windows/Tools.h"
#include "platform/qt/QtPrompts.h"
#include "platform/null/NullAudioSink.h"
#include "platform/null/NullMidiInput.h"

namespace fs = std::filesystem;
using namespace kalvora::test;

namespace {

QColor TextColor(QLabel* l) { return l->palette().color(QPalette::WindowText); }

// A left click released over the button.
void Click(TOfficeButton* b) {
  const QPoint pos(10, 10);
  QMouseEvent press(QEvent::MouseButtonPress, pos, b->mapToGlobal(pos), Qt::LeftButton, Qt::LeftButton, {});
  QApplication::sendEvent(b, &press);
  QMouseEvent release(QEvent::MouseButtonRelease, pos, b->mapToGlobal(pos), Qt::LeftButton, Qt::NoButton, {});
  QApplication::sendEvent(b, &release);
}

TEST_F(MainTest, StartUpCreatesTheWindowsInOrder) {
  std::vector<std::string> order;
  bool mainShownAndActivatedFirst = false;
  Start({}, [&](const std::string& name, QObject* w) {
    order.push_back(name);
    ASSERT_NE(w, nullptr);
    if (order.size() == 2) {
      TfMain* main = windows_.Main ? windows_.Main.get() : nullptr;
      // windows_ is filled after the call returns; reach the main window through the new one's parent.
      if (!main) main = qobject_cast<TfMain*>(w->parent());
      mainShownAndActivatedFirst = main && main->isVisible() && main->Activated();
    }
  });
  EXPECT_EQ(order, (std::vector<std::string>{"TfMain", "TfLoadInst", "TfSure", "TfQuestion", "TfWavePresetReport",
                                             "TfVolumeEnvelopeReport", "TfMessage", "TfTools", "TfMacroRec",
                                             "TfWaveGen", "TfInGlob", "TfViewWave"}));
  EXPECT_TRUE(mainShownAndActivatedFirst);

  TfMain& main = *windows_.Main;
  EXPECT_EQ(main.windowTitle(), "Kalvora - new instrument");
  EXPECT_EQ(main.lLogoVersion->text(), "V 3.0");
  EXPECT_EQ(main.Document().Status, TDocumentStatus::Ready);
  EXPECT_EQ(TextColor(main.lReady), ColorFromBGR(clBlue));
  EXPECT_EQ(TextColor(main.lWorking), ColorFromBGR(clBlack));
  EXPECT_FALSE(main.IsSampleUpToDate());
  EXPECT_FALSE(main.IsInstrumentUpToDate());
  EXPECT_EQ(main.Document().WavePresets.Count(), 1);
  EXPECT_EQ(main.Document().VolumeEnvelopes.Count(), 1);
  EXPECT_TRUE(main.Document().Voice(1).Active);
  EXPECT_TRUE(main.bPlay->isEnabled());
  EXPECT_EQ(main.Settings().Starts, 1);
  EXPECT_NE(main.Tools(), nullptr);
}

// With no stored places the three children start side by side, none covering
// another, and the main window grows to hold them all. A small screen cannot
// hold them: each is then only kept reachable (run also on a desktop-sized
// screen by CTest).
TEST_F(MainTest, FirstStartPlacesTheChildrenSideBySide) {
  TfMain& main = Start();
  QApplication::processEvents();
  const QRect editor = windows_.WaveGen->parentWidget()->geometry();
  const QRect settings = windows_.InGlob->parentWidget()->geometry();
  const QRect view = windows_.ViewWave->parentWidget()->geometry();
  EXPECT_TRUE(SaveScreenshot(&main, "kalvora_first_start"));
  EXPECT_EQ(editor.topLeft(), QPoint(0, 0));
  const QSize used = (editor | settings | view).size();
  const QSize room = main.screen()->availableGeometry().size();
  if (room.width() < used.width() + 200 || room.height() < used.height() + 150)
    GTEST_SKIP() << "a " << room.width() << " x " << room.height() << " screen is too small";
  EXPECT_FALSE(editor.intersects(settings));
  EXPECT_FALSE(editor.intersects(view));
  EXPECT_FALSE(settings.intersects(view));
  const QSize viewport = main.MdiArea()->viewport()->size();
  EXPECT_GE(viewport.width(), used.width());
  EXPECT_GE(viewport.height(), used.height());
}

// The first start fits the screen it opens on (CTest runs it on a 1280 x 1024
// and a 1366 x 768 screen too): the main window lies inside the available
// screen and every child wholly inside the client area, so none needs to be
// looked for; a child moved out of the area brings up the scroll bars.
TEST_F(MainTest, FirstStartFitsTheScreen) {
  TfMain& main = Start();
  QApplication::processEvents();
  const QRect screen = main.screen()->availableGeometry();
  const QString size = QStringLiteral("%1x%2").arg(screen.width()).arg(screen.height());
  EXPECT_TRUE(SaveScreenshot(&main, QStringLiteral("kalvora_first_start_") + size));
  EXPECT_TRUE(screen.contains(main.frameGeometry())) << size.toStdString();
  QMdiArea* area = main.MdiArea();
  const QRect client(QPoint(0, 0), area->viewport()->size());
  // The largest client area the screen allows; a screen too small for a
  // child (the 800-pixel offscreen default) shows the scroll bars instead.
  const QSize room = screen.size() - (main.frameGeometry().size() - area->viewport()->size());
  bool roomForEach = true;
  for (QMdiSubWindow* w : area->subWindowList()) {
    ASSERT_TRUE(w->isVisible());
    roomForEach = roomForEach && w->width() <= room.width() && w->height() <= room.height();
  }
  if (roomForEach) {
    for (QMdiSubWindow* w : area->subWindowList())
      EXPECT_TRUE(client.contains(w->geometry()))
          << w->widget()->objectName().toStdString() << " on " << size.toStdString();
    EXPECT_FALSE(area->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(area->verticalScrollBar()->isVisible());
  } else {
    EXPECT_TRUE(area->horizontalScrollBar()->isVisible() || area->verticalScrollBar()->isVisible());
  }
  QWidget* view = windows_.ViewWave->parentWidget();
  view->move(client.width() - view->width() / 2, client.height() - view->height() / 2);
  QApplication::processEvents();
  EXPECT_TRUE(area->horizontalScrollBar()->isVisible());
  EXPECT_TRUE(area->verticalScrollBar()->isVisible());
}

// Alt and a menu's letter opens that menu whatever child window has the
// focus; no button of a child window answers to those letters.
TEST_F(MainTest, AltLettersOpenTheMenusFromEveryChildWindow) {
  TfMain& main = Start();
  main.activateWindow();
  QApplication::setActiveWindow(&main);
  QApplication::processEvents();
  int clicks = 0;
  for (QWidget* child : {static_cast<QWidget*>(windows_.WaveGen), static_cast<QWidget*>(windows_.InGlob),
                         static_cast<QWidget*>(windows_.ViewWave)})
    for (QAbstractButton* b : child->findChildren<QAbstractButton*>())
      QObject::connect(b, &QAbstractButton::clicked, [&clicks] { ++clicks; });
  windows_.InGlob->SetEffectOrder("a");
  windows_.WaveGen->SelectPage(1);  // the Source page with its preset buttons
  struct Focus {
    const char* name;
    QWidget* widget;
    std::function<void()> show;
  } focuses[] = {
      {"waveform view", windows_.ViewWave->bZoomIn, [] {}},
      {"global settings, EQ page", windows_.InGlob->bEQInit,
       [this] { windows_.InGlob->pcInGlob->setCurrentWidget(windows_.InGlob->tsEQ); }},
      {"voice editor, Source page", windows_.WaveGen->bManageWave, [] {}},
      {"voice editor", windows_.WaveGen->bCopyVoice, [] {}},
  };
  const std::pair<Qt::Key, QMenu*> menus[] = {
      {Qt::Key_K, main.MenuKalvora}, {Qt::Key_E, main.MenuEdit},  {Qt::Key_V, main.MenuView},
      {Qt::Key_O, main.MenuVoice},   {Qt::Key_I, main.MenuInstrument}, {Qt::Key_M, main.MenuMacro},
      {Qt::Key_H, main.MenuHelp}};
  for (const Focus& f : focuses) {
    f.show();
    for (QWidget* w = f.widget; w; w = w->parentWidget())
      if (auto* sub = qobject_cast<QMdiSubWindow*>(w)) main.MdiArea()->setActiveSubWindow(sub);
    f.widget->setFocus();
    QApplication::processEvents();
    ASSERT_TRUE(f.widget->isVisible()) << f.name;
    // Pressed twice: a letter shared with a button would answer every
    // other press with the button instead of the menu.
    for (const auto& [key, menu] : menus)
      for (int press = 1; press <= 2; ++press) {
        QTest::keyClick(f.widget, key, Qt::AltModifier);
        QApplication::processEvents();
        EXPECT_TRUE(menu->isVisible()) << f.name << ": Alt+" << QKeySequence(key).toString().toStdString()
                                       << ", press " << press;
        menu->close();
        QApplication::processEvents();
        f.widget->setFocus();
      }
  }
  EXPECT_EQ(clicks, 0);
}

TEST_F(MainTest, ScreenshotShowsMenusPanelsAndLights) {
  TfMain& main = Start();
  main.resize(900, 600);
  main.ShowStatusText("Ready for work");
  QApplication::processEvents();
  QStringList menus;
  for (QAction* a : main.menuBar()->actions()) menus << a->text();
  EXPECT_EQ(menus, (QStringList{"&Kalvora", "&Edit", "&View", "V&oice", "&Instrument", "&Macro", "&Help"}));
  EXPECT_TRUE(main.PanelTop->isVisible());
  EXPECT_TRUE(main.PanelLeft->isVisible());
  EXPECT_TRUE(main.PanelBottom->isVisible());
  // The lights keep their distances from the bottom of the left panel.
  EXPECT_EQ(main.lReady->y(), main.PanelLeft->height() - 28);
  EXPECT_EQ(main.lWorking->y(), main.PanelLeft->height() - 68);
  EXPECT_EQ(main.panExit->x(), main.PanelTop->width() - 39);
  EXPECT_EQ(main.StatusText(), "Ready for work");
  const QString file = kalvora::test::ScreenshotFile("kalvora_main_window");
  EXPECT_TRUE(main.grab().toImage().save(file));
  // The background is checked with the children set aside: the voice
  // editor alone can cover the whole client area of a small screen.
  for (QMdiSubWindow* w : main.MdiArea()->subWindowList()) w->hide();
  const QImage shot = main.grab().toImage();
  // The built-in pictures, tiled from each area's top-left corner.
  const QPoint area = main.MdiArea()->viewport()->mapTo(&main, QPoint(0, 0));
  // A point of the client area that no child window covers.
  const auto freePoint = [&main] {
    const QSize size = main.MdiArea()->viewport()->size();
    for (int y = size.height() - 5; y > 0; y -= 7)
      for (int x = size.width() - 5; x > 0; x -= 7) {
        bool covered = false;
        for (QMdiSubWindow* w : main.MdiArea()->subWindowList())
          if (w->isVisible() && w->geometry().contains(x, y)) covered = true;
        if (!covered) return QPoint(x, y);
      }
    return QPoint(size.width() - 5, size.height() - 5);
  };
  const QPoint free = freePoint();
  EXPECT_EQ(shot.pixel(area + free), BuiltInMainPicture().pixel(free.x() % 64, free.y() % 64));
  EXPECT_EQ(shot.pixel(main.PanelLeft->mapTo(&main, QPoint(40, 200))), BuiltInBorderPicture().pixel(40 % 32, 200 % 32));
  EXPECT_EQ(main.PanelTop->TileMode(), TZRWBackmode::tmTile);

  // Chosen settings are applied again: a vertical gradient on the panels and
  // the client area.
  TBackgroundSetting gradient{false, tmGradient, 0x0000FF, 0xFF0000, ""};
  main.Settings().BackgroundBorder = gradient;
  main.Settings().BackgroundMain = gradient;
  main.ApplyBackground();
  const QImage after = main.grab().toImage();
  EXPECT_TRUE(after.save(kalvora::test::ScreenshotFile("kalvora_main_window_gradient")));
  for (TZRWTile* t : {main.PanelTop, main.PanelLeft, main.PanelBottom}) {
    EXPECT_EQ(t->TileMode(), TZRWBackmode::tmGradient);
    EXPECT_EQ(t->Gradient().Direction(), TZRWDirection::mdVertical);
    EXPECT_EQ(t->Gradient().Color(), QColor(255, 0, 0));
    EXPECT_EQ(t->Gradient().EndColor(), QColor(0, 0, 255));
  }
  EXPECT_GT(qBlue(after.pixel(area + free)), 240);
  EXPECT_LT(qRed(after.pixel(area + free)), 15);
}

TEST_F(MainTest, CommandsAndHints) {
  TfMain& main = Start();
  struct Case {
    TOfficeButton* button;
    const char* statusTip;
  } buttons[] = {
      {main.bPlay, "shortcut: CTRL+P or Sustain Pedal or MIDI note"},
      {main.bStatistics, "shortcut: CTRL+T"},
      {main.bOptions, "shortcut: CTRL+Z"},  // Ctrl+O zooms out
      {main.bExit, "shortcut: ALT+F4"},
  };
  for (const Case& c : buttons) EXPECT_EQ(c.button->statusTip(), c.statusTip);
  EXPECT_EQ(main.bPlay->toolTip(), "calculate and play the sample");

  // Busy guards refuse in the status line.
  main.SetStatus(TDocumentStatus::Working);
  Click(main.bPlay);
  EXPECT_EQ(main.StatusText().toStdString(), kCanNotPlay);
  main.LoadInstrumentCommand();
  EXPECT_EQ(main.StatusText().toStdString(), kCanNotLoad);
  main.SetStatus(TDocumentStatus::Ready);

  // Help goes to the help window at its topic.
  Click(main.bHelp);
  EXPECT_EQ(help_.topics, std::vector<std::string>{""});

  // The document's change notification marks the sample and instrument out of date.
  main.SetSampleUpToDate(true);
  main.SetInstrumentUpToDate(true);
  EXPECT_EQ(TextColor(main.lSampleUpToDate), ColorFromBGR(clBlue));
  main.Document().MarkChanged();
  EXPECT_FALSE(main.IsSampleUpToDate());
  EXPECT_FALSE(main.IsInstrumentUpToDate());
  EXPECT_EQ(TextColor(main.lSampleUpToDate), ColorFromBGR(clBlack));
  EXPECT_EQ(TextColor(main.lInstrumentUpToDate), ColorFromBGR(clBlack));

  // Without an active voice there is nothing to play or save.
  main.Document().Voice(1).Active = false;
  main.SetSampleUpToDate(false);
  EXPECT_FALSE(main.bPlay->isEnabled());
  EXPECT_FALSE(main.bSave->isEnabled());
  EXPECT_TRUE(main.PanelTop->grab().save(kalvora::test::ScreenshotFile("kalvora_main_play_disabled")));
  main.Document().Voice(1).Active = true;
  main.SetSampleUpToDate(false);
  EXPECT_TRUE(main.bPlay->isEnabled());
  EXPECT_TRUE(main.bSave->isEnabled());
}

// File names in the status line read as the system's bytes decode, as in
// the title bar; the libraries' names (a macro's) stay Windows-1252.
TEST_F(MainTest, TheStatusLineNamesFilesAsTheTitleBarDoes) {
  TfMain& main = Start();
  const fs::path folder = dir_ / "f\xC3\xBCr";  // "für"
  fs::create_directory(folder);
  const QString shownFolder = QString::fromStdString(dir_.string()) + QString::fromUtf8("/für/");
  struct Case {
    std::string name;
    QString shown;
  } cases[] = {
      {"S\xC3\xA4ge.kvi", QString::fromUtf8("Säge.kvi")},
      {"b\xE9ss.kvi", QString::fromUtf8("b\uFFFDss.kvi")},  // not UTF-8
  };
  for (const Case& c : cases) {
    const fs::path file = folder / c.name;
    ASSERT_TRUE(main.SaveInstrument(file)) << c.name;
    EXPECT_EQ(main.windowTitle().toStdString(), ("Kalvora - " + c.shown).toStdString());
    main.SetInstrumentUpToDate(true);
    ASSERT_TRUE(main.LoadInstrument(file)) << c.name;
    EXPECT_EQ(main.StatusText().toStdString(), ("loading " + shownFolder + c.shown + " ... ready").toStdString());
    EXPECT_EQ(main.windowTitle().toStdString(), ("Kalvora - " + c.shown).toStdString());
  }
  EXPECT_TRUE(main.grab().save(kalvora::test::ScreenshotFile("kalvora_status_file_name")));
  main.Document().Macros.push_back({"Oct\xE4ve", "", 0, false, {}});
  main.ExecuteMacro(static_cast<int>(main.Document().Macros.size()));
  EXPECT_EQ(main.StatusText().toStdString(), "executing macro \"Oct\xC3\xA4ve\" ... ready");
}

// The real help window: shown by F1, it does not keep the program running
// once Exit has closed the main window.
TEST_F(MainTest, ExitEndsTheProgramWhileHelpIsShown) {
  std::ofstream(dir_ / "kalvora.hlp") << "<html><body><h1>Kalvora</h1></body></html>";
  kalvora::platform::QtHelp help((dir_ / "kalvora.hlp").string());
  TMainServices services = Services();
  services.Help = &help;
  windows_ = CreateKalvoraWindows(std::move(services), {});
  TfMain& main = *windows_.Main;
  main.SetInstrumentUpToDate(true);  // no question at close
  QTextBrowser* shown = nullptr;
  auto context = std::make_unique<QObject>();
  QTimer::singleShot(0, context.get(), [&] {
    main.activateWindow();
    QApplication::setActiveWindow(&main);
    QTest::keyClick(&main, Qt::Key_F1);
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* b = qobject_cast<QTextBrowser*>(w); b && b->isVisible()) shown = b;
    if (shown) {
      EXPECT_TRUE(shown->grab().save(kalvora::test::ScreenshotFile("kalvora_help_window")));
    }
    Click(main.bExit);
    // Ends the loop in any case, after a quit that the close may have asked for.
    QMetaObject::invokeMethod(context.get(), [] { QCoreApplication::exit(0); }, Qt::QueuedConnection);
  });
  // Qt's signal that the program ends with the main window (sent while
  // the program runs its loop).
  bool ends = false;
  QObject::connect(qApp, &QGuiApplication::lastWindowClosed, context.get(), [&ends] { ends = true; });
  QApplication::exec();
  context.reset();
  ASSERT_NE(shown, nullptr);
  EXPECT_TRUE(shown->toPlainText().contains("Kalvora"));
  EXPECT_TRUE(ends) << "the help window keeps the program running";
  EXPECT_TRUE(main.ClosingDone());
}

TEST_F(MainTest, MacroMenuListsTheStoredMacros) {
  TfMain& main = Start();
  auto items = [&] {
    std::vector<std::pair<QString, QKeySequence>> r;
    const auto actions = main.MenuMacro->actions();
    for (int i = 4; i < actions.size(); ++i) r.push_back({actions[i]->text(), actions[i]->shortcut()});
    return r;
  };
  auto first = items();
  ASSERT_EQ(first.size(), 2u);
  EXPECT_EQ(first[0].first, "Octave up");
  EXPECT_EQ(first[0].second, QKeySequence(Qt::CTRL | Qt::Key_U));
  EXPECT_TRUE(first[1].second.isEmpty());

  main.Document().Macros.pop_back();
  main.Document().Macros.push_back({"Shifted", "", 0x2000 + 0x71, false, {}});
  main.RebuildMacroMenu();
  auto second = items();
  ASSERT_EQ(second.size(), 2u);
  EXPECT_EQ(second[1].first, "Shifted");
  EXPECT_EQ(second[1].second, QKeySequence(Qt::SHIFT | Qt::Key_F2));
}

TEST_F(MainTest, HotKeys) {
  struct Case {
    std::uint16_t hotKey;
    QKeySequence expected;
  } cases[] = {
      {0x4000 + 'A', QKeySequence(Qt::CTRL | Qt::Key_A)},
      {0x8000 + 0x2000 + '7', QKeySequence(Qt::ALT | Qt::SHIFT | Qt::Key_7)},
      {0x70, QKeySequence(Qt::Key_F1)},
      {0x4000 + 0x0D, QKeySequence()},  // not a key the menu can name
      {0, QKeySequence()},
  };
  for (const Case& c : cases) EXPECT_EQ(HotKeyToKeySequence(c.hotKey), c.expected) << c.hotKey;
}

TEST_F(MainTest, CancelInTheClosingQuestionKeepsTheProgram) {
  TfMain& main = Start();
  main.Document().MarkChanged();
  const std::string presetsBefore = ReadText(dir_ / "kalvora.dap");
  prompts_.expectQuestion(kSaveChangesQuestion, mrCancel);
  EXPECT_FALSE(main.close());
  EXPECT_TRUE(main.isVisible());
  EXPECT_FALSE(main.ClosingDone());
  EXPECT_FALSE(fs::exists(dir_ / "kalvora.dai"));  // nothing written
  EXPECT_FALSE(main.IsInstrumentUpToDate());

  // No: the program closes; settings and description are written, the
  // unchanged libraries are not.
  clock_.advance(std::chrono::hours(12));
  prompts_.expectQuestion(kSaveChangesQuestion, mrNo);
  EXPECT_TRUE(main.close());
  EXPECT_TRUE(main.ClosingDone());
  TIniFile ini((dir_ / "kalvora.dai").string());
  EXPECT_EQ(ini.ReadInteger("General", "Starts", 0), 1);
  EXPECT_EQ(ini.ReadString("General", "Open Time", ""), "0.5");
  EXPECT_TRUE(ini.ValueExists("Positions", "Main w"));
  EXPECT_TRUE(ini.ValueExists("Positions", "ViewWave h"));
  EXPECT_TRUE(ini.ValueExists("Positions", "InGlob x"));
  EXPECT_TRUE(fs::exists(dir_ / "kalvora.dad"));
  EXPECT_EQ(ReadText(dir_ / "kalvora.dap"), presetsBefore);
}

TEST_F(MainTest, ClosingWritesModifiedLibrariesAndRefusesDuringACalculation) {
  TfMain& main = Start();
  main.SetInstrumentUpToDate(true);  // no question
  main.SetStatus(TDocumentStatus::Working);
  EXPECT_FALSE(main.close());
  EXPECT_EQ(main.StatusText().toStdString(), kCanNotClose);
  main.SetStatus(TDocumentStatus::Ready);

  TWavePreset sine;
  sine.Name = "Sine";
  sine.Data.fill(75);
  ASSERT_EQ(main.Document().AddWavePreset(sine), TTableResult::Added);
  main.Document().MacrosModified = true;
  main.Document().Macros.clear();
  main.SetInstrumentUpToDate(true);
  EXPECT_TRUE(main.close());
  TWavePresetTable presets;
  LoadWavePresets(dir_ / "kalvora.dap", presets);
  EXPECT_EQ(presets.Count(), 2);
  std::vector<TMacro> macros{TMacro{}};
  LoadMacros(dir_ / "kalvora.dam", macros);
  EXPECT_TRUE(macros.empty());
}

TEST_F(MainTest, YesSavesTheInstrumentOrKeepsTheProgram) {
  TfMain& main = Start();
  main.Document().MarkChanged();
  std::vector<fs::path> saved;
  main.SaveInstrumentFile = [&](const fs::path& p) {
    saved.push_back(p);
    return true;
  };
  prompts_.expectQuestion(kSaveChangesQuestion, mrYes);
  dialogs_.expectSave(std::nullopt);  // cancelled file dialog: still running
  EXPECT_FALSE(main.close());
  prompts_.expectQuestion(kSaveChangesQuestion, mrYes);
  dialogs_.expectSave((dir_ / "song.kvi").string());
  EXPECT_TRUE(main.close());
  EXPECT_EQ(saved, std::vector<fs::path>{dir_ / "song.kvi"});
  EXPECT_EQ(dialogs_.shown().back().defaultExt, "kvi");
  EXPECT_TRUE(dialogs_.shown().back().askOverwrite);
}

TEST_F(MainTest, CommandLineInstrument) {
  std::ofstream(dir_ / "a.kvi") << "x";
  struct Case {
    std::vector<std::string> arguments;
    bool loaded;
  } cases[] = {
      {{(dir_ / "a.kvi").string()}, true},
      {{(dir_ / "missing.kvi").string()}, false},
      {{(dir_ / "a.kvi").string(), (dir_ / "a.kvi").string()}, false},
      {{}, false},
  };
  TfMain& main = Start();
  for (const Case& c : cases) {
    std::vector<fs::path> loaded;
    main.LoadInstrumentFile = [&](const fs::path& p) {
      loaded.push_back(p);
      return true;
    };
    main.LoadCommandLineInstrument(c.arguments);
    EXPECT_EQ(loaded.size(), c.loaded ? 1u : 0u) << c.arguments.size();
  }
  main.SetInstrumentUpToDate(true);
}

// What the person writes into the description belongs to the instrument:
// Exit, Load and the command-line open ask before it is lost, and Yes keeps
// it in the file. The sample does not depend on it. Filling the box (a load,
// New) is not the person's edit and asks nothing by itself.
TEST_F(MainTest, ADescriptionEditIsAskedAboutBeforeItIsLost) {
  enum class Change { Typed, Pasted, TypedThenUndone, LoadOnly, NewOnly };
  enum class Then { Exit, Load, CommandLine, New };
  constexpr int kNotAsked = 0;
  using Lines = std::vector<std::string>;
  const fs::path song = dir_ / "song.kvi", other = dir_ / "other.kvi", fresh = dir_ / "new.kvi";
  struct Row {
    Change change;
    Then then;
    int answer;           // to the save question; kNotAsked: none may come
    bool changedBefore;   // the instrument's state once the text changed
    Lines shownBefore;
    Lines saved;          // song.kvi (new.kvi after New) afterwards
    Lines shownAfter;
  } rows[] = {
      {Change::Typed, Then::Exit, mrYes, true, {"song text typed"}, {"song text typed"}, {}},
      {Change::Typed, Then::Load, mrYes, true, {"song text typed"}, {"song text typed"}, {"other text"}},
      {Change::Typed, Then::CommandLine, mrNo, true, {"song text typed"}, {"song text"}, {"other text"}},
      // New asks only whether the person is sure, whatever was changed.
      {Change::Typed, Then::New, kNotAsked, true, {"song text typed"}, {"song text"}, {"Dflt"}},
      {Change::Pasted, Then::Exit, mrYes, true, {"pasted", "lines"}, {"pasted", "lines"}, {}},
      {Change::Pasted, Then::Load, mrCancel, true, {"pasted", "lines"}, {"song text"}, {"pasted", "lines"}},
      {Change::Pasted, Then::CommandLine, mrYes, true, {"pasted", "lines"}, {"pasted", "lines"}, {"other text"}},
      // Undone back to the loaded text it still counts as changed.
      {Change::TypedThenUndone, Then::Exit, mrYes, true, {"song text"}, {"song text"}, {}},
      {Change::LoadOnly, Then::Exit, kNotAsked, false, {"song text"}, {"song text"}, {}},
      {Change::LoadOnly, Then::Load, kNotAsked, false, {"song text"}, {"song text"}, {"other text"}},
      {Change::LoadOnly, Then::CommandLine, kNotAsked, false, {"song text"}, {"song text"}, {"other text"}},
      {Change::LoadOnly, Then::New, kNotAsked, false, {"song text"}, {"song text"}, {"Dflt"}},
      // New itself puts the sample out of date, and the question follows from that.
      {Change::NewOnly, Then::Exit, mrYes, true, {"Dflt"}, {"Dflt"}, {}},
      {Change::NewOnly, Then::Load, mrNo, true, {"Dflt"}, {"song text"}, {"other text"}},
  };
  for (const Row& r : rows) {
    const char* changes[] = {"typed", "pasted", "typed then undone", "load only", "new only"};
    const char* thens[] = {"Exit", "Load", "command line", "New"};
    SCOPED_TRACE(std::string(changes[static_cast<int>(r.change)]) + ", then " + thens[static_cast<int>(r.then)]);
    windows_ = {};
    fs::remove(fresh);
    TfMain& main = Start();
    main.DefaultDescription() = {"Dflt"};
    TfInGlob& globals = *windows_.InGlob;
    TBoundedMemo* memo = globals.memoDescription;
    globals.SetDescription({"other text"});
    ASSERT_TRUE(main.SaveInstrument(other));
    globals.SetDescription({"song text"});
    ASSERT_TRUE(main.SaveInstrument(song));
    ASSERT_TRUE(main.LoadInstrumentFile(song));
    EXPECT_EQ(memo->Text().toStdString(), "song text");
    main.SetSampleUpToDate(true);  // as after a calculation

    switch (r.change) {
      case Change::Typed:
      case Change::TypedThenUndone:
        memo->moveCursor(QTextCursor::End);
        QTest::keyClicks(memo, " typed");
        if (r.change == Change::TypedThenUndone)
          for (int i = 0; i < 8 && memo->document()->isUndoAvailable(); ++i)
            QTest::keyClick(memo, Qt::Key_Z, Qt::ControlModifier);  // in the box: undo, not Options
        break;
      case Change::Pasted:
        QGuiApplication::clipboard()->setText("pasted\nlines");
        memo->selectAll();
        memo->paste();
        break;
      case Change::LoadOnly:
        break;
      case Change::NewOnly:
        prompts_.expectConfirm("Are you sure?", mrYes);
        windows_.WaveGen->NewInstrument();
        break;
    }
    EXPECT_EQ(globals.GetDescription(), r.shownBefore);
    EXPECT_EQ(main.IsInstrumentUpToDate(), !r.changedBefore);
    EXPECT_EQ(TextColor(main.lInstrumentUpToDate), ColorFromBGR(r.changedBefore ? clBlack : clBlue));
    EXPECT_EQ(main.IsSampleUpToDate(), r.change != Change::NewOnly);

    if (r.answer != kNotAsked) prompts_.expectQuestion(kSaveChangesQuestion, r.answer);
    if (r.answer == mrYes && r.change == Change::NewOnly) dialogs_.expectSave(fresh.string());
    switch (r.then) {
      case Then::Exit:
        EXPECT_EQ(main.close(), r.answer != mrCancel);
        break;
      case Then::Load:
        EXPECT_EQ(main.LoadInstrumentFile(other), r.answer != mrCancel);
        break;
      case Then::CommandLine:
        main.LoadCommandLineInstrument({other.string()});
        break;
      case Then::New:
        prompts_.expectConfirm("Are you sure?", mrYes);
        windows_.WaveGen->NewInstrument();
        break;
    }
    EXPECT_TRUE(prompts_.allShown());
    const fs::path written = r.change == Change::NewOnly && r.answer == mrYes ? fresh : song;
    const std::optional<TStagedInstrument> file = ReadInstrumentFile(written);
    ASSERT_TRUE(file.has_value());
    EXPECT_EQ(file->Description, r.saved);
    if (r.then == Then::Exit) continue;
    EXPECT_EQ(globals.GetDescription(), r.shownAfter);
    std::string joined;
    for (const std::string& line : r.shownAfter) joined += (joined.empty() ? "" : "\n") + line;
    EXPECT_EQ(memo->Text().toStdString(), joined);
    if (r.then == Then::Load || r.then == Then::CommandLine) {
      EXPECT_EQ(main.Document().CurrentInstrumentFile, r.answer == mrCancel ? song : other);
      EXPECT_EQ(main.IsInstrumentUpToDate(), r.answer != mrCancel);
    }
    main.SetInstrumentUpToDate(true);
  }
}

TEST_F(MainTest, SettingsAreAppliedAtTheFirstActivation) {
  std::ofstream(dir_ / "kalvora.dai") << "[General]\nStarts=4\nLeft Panel=0\n[MIDI Input]\nEnabled=1\nDeviceID=0\n"
                                         "[Default Voice Names]\n#05=Bass\n[MRU File List]\n#1=/x/one.kvi\n";
  std::ofstream(dir_ / "kalvora.dad") << "first line\r\nsecond\r\n";
  TfMain& main = Start();
  EXPECT_EQ(main.Settings().Starts, 5);
  EXPECT_FALSE(main.PanelLeft->isVisible());
  EXPECT_FALSE(main.MenuLeftPanel->isChecked());
  EXPECT_TRUE(midi_.isOpen());
  EXPECT_EQ(main.Document().DefaultVoiceNames[4], "Bass");
  EXPECT_EQ(main.DefaultDescription(), (std::vector<std::string>{"first line", "second"}));
  ASSERT_EQ(main.MenuLoadAgain->actions().size(), 1);
  EXPECT_EQ(main.MenuLoadAgain->actions()[0]->text(), "&1 /x/one.kvi");

  main.MenuLeftPanel->setChecked(true);
  main.SetInstrumentUpToDate(true);
  EXPECT_TRUE(main.close());
  EXPECT_FALSE(midi_.isOpen());
  TIniFile ini((dir_ / "kalvora.dai").string());
  EXPECT_EQ(ini.ReadInteger("General", "Starts", 0), 5);
  EXPECT_TRUE(ini.ReadBool("General", "Left Panel", false));
  EXPECT_EQ(ini.ReadString("MRU File List", "#1", ""), "/x/one.kvi");
  EXPECT_EQ(ReadText(dir_ / "kalvora.dad"), "first line\r\nsecond\r\n");
}

// One line of a megabyte in the default description: the start must not
// wait on laying out the description box, and the line stays whole.
TEST_F(MainTest, AVeryLongDescriptionLineStartsAndKeepsTheLine) {
  const std::string line(1 << 20, 'x');
  std::ofstream(dir_ / "kalvora.dad", std::ios::binary) << line << "\r\nend\r\n";
  TfMain& main = Start();
  ASSERT_NE(windows_.InGlob, nullptr);
  QCoreApplication::processEvents();
  windows_.InGlob->repaint();
  EXPECT_EQ(windows_.InGlob->GetDescription(), (std::vector<std::string>{line, "end"}));
  main.SetInstrumentUpToDate(true);
  EXPECT_TRUE(main.close());
  EXPECT_EQ(ReadText(dir_ / "kalvora.dad"), line + "\r\nend\r\n");
}

TEST_F(MainTest, DamagedLibraryEndsTheStartAfterItsMessage) {
  struct Case {
    const char* file;
    std::string contents;  // empty: the file is missing
    const char* message;
  } cases[] = {
      {"kalvora.dap", "", kWrongWavePresetFile},
      {"kalvora.dav", std::string("Kalvora Wave Preset File\0\x1e\0", 27), kWrongVolumeEnvelopeFile},
      {"kalvora.dam", std::string("Kalvora Macro File\0\x1e\x01", 21), kWrongMacroFile},  // ends early
  };
  for (const Case& c : cases) {
    SetUp();
    if (c.contents.empty()) fs::remove(dir_ / c.file);
    else std::ofstream(dir_ / c.file, std::ios::binary) << c.contents;
    FakePrompts prompts;
    prompts.expectMessage(c.message);
    TMainServices s = Services();
    s.Prompts = &prompts;
    std::vector<std::string> created;
    EXPECT_THROW(CreateKalvoraWindows(s, {}, [&](const std::string& n, QObject*) { created.push_back(n); }),
                 EStartupAborted);
    EXPECT_TRUE(created.empty()) << c.file;
    EXPECT_FALSE(fs::exists(dir_ / "kalvora.dai"));
  }
}

TEST_F(MainTest, AFatalStartMessageAlsoGoesToStandardError) {
  fs::remove(dir_ / "kalvora.dap");
  FakePrompts prompts;
  prompts.expectMessage(kWrongWavePresetFile);
  TMainServices s = Services();
  s.Prompts = &prompts;
  ::testing::internal::CaptureStderr();
  EXPECT_THROW(CreateKalvoraWindows(s, {}), EStartupAborted);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find(kWrongWavePresetFile), std::string::npos);
}

TEST(Splash, OutlineCutsTheCorners) {
  TfSplash splash;
  EXPECT_EQ(splash.size(), QSize(434, 144));
  const QRegion shape(TfSplash::SplashOutline(), Qt::OddEvenFill);
  struct Case {
    QPoint point;
    bool inside;
  } cases[] = {
      {{0, 0}, false},     // the diagonal cut of the top left corner
      {{40, 20}, false},   // still above the diagonal from (0, 42) to (149, 0)
      {{100, 30}, true},   // below it
      {{5, 60}, true},     {{300, 2}, true}, {{433, 0}, false}, {{433, 143}, false},
      {{1, 143}, false},   {{216, 72}, true},
  };
  for (const Case& c : cases) EXPECT_EQ(shape.contains(c.point), c.inside) << c.point.x() << "," << c.point.y();
}

}  // namespace
