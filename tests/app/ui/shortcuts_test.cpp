// The main window's shortcuts, pressed as a user presses them (through Qt's
// shortcut machinery, from whichever child window is active): each runs its
// command and none is reported ambiguous.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QLineEdit>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabBar>
#include <QTest>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <string>

#include "Legibility.h"
#include "MainFixture.h"
#include "formats/InstrumentFile.h"
#include "windows/InGlob.h"
#include "windows/MacroRec.h"
#include "windows/Main.h"
#include "windows/ViewWave.h"
#include "windows/WaveGen.h"

namespace fs = std::filesystem;
using namespace kalvora::test;

namespace {

// Collects Qt's reports of a shortcut that matches more than one action
// (Qt then runs none of them).
class AmbiguityWatch {
 public:
  AmbiguityWatch() {
    current_ = this;
    previous_ = qInstallMessageHandler(&Handle);
  }
  ~AmbiguityWatch() {
    qInstallMessageHandler(previous_);
    current_ = nullptr;
  }
  QStringList reports;

 private:
  static void Handle(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (current_ && text.contains(QLatin1String("Ambiguous shortcut"))) current_->reports << text;
    if (previous_) previous_(type, context, text);
  }
  static inline AmbiguityWatch* current_ = nullptr;
  static inline QtMessageHandler previous_ = nullptr;
};

std::string ReadBytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

class ShortcutTest : public MainTest {
 protected:
  struct Child {
    const char* name;
    QWidget* window;  // null: no child window is active
  };

  std::vector<Child> Children() {
    return {{"no child window", nullptr},
            {"voice editor", windows_.WaveGen},
            {"global settings", windows_.InGlob},
            {"waveform view", windows_.ViewWave}};
  }

  // Makes `child` the active child window with the keyboard focus in it (or
  // no child active, the focus on the client area); returns the widget that
  // receives the keys.
  QWidget* Activate(TfMain& main, QWidget* child) {
    main.activateWindow();
    QApplication::setActiveWindow(&main);
    QMdiArea* area = main.MdiArea();
    if (!child) {
      area->setActiveSubWindow(nullptr);
      area->setFocus();
    } else {
      auto* frame = qobject_cast<QMdiSubWindow*>(child->parentWidget());
      if (frame->isMinimized()) frame->showNormal();
      area->setActiveSubWindow(frame);
      if (!child->isAncestorOf(QApplication::focusWidget())) {
        for (QWidget* w : child->findChildren<QWidget*>()) {
          if (w->isVisible() && (w->focusPolicy() & Qt::TabFocus)) {
            w->setFocus();
            break;
          }
        }
      }
    }
    QApplication::processEvents();
    QWidget* target = QApplication::focusWidget() ? QApplication::focusWidget() : &main;
    EXPECT_EQ(area->activeSubWindow(), child ? child->parentWidget() : nullptr);
    if (child) {
      EXPECT_TRUE(child->isAncestorOf(target)) << target->metaObject()->className();
    }
    return target;
  }

  // The class of the modal window the next command opens (closed at once).
  void AnswerModal() {
    modal_.clear();
    QTimer::singleShot(0, [this] {
      if (QWidget* w = QApplication::activeModalWidget()) {
        modal_ = w->metaObject()->className();
        if (auto* d = qobject_cast<QDialog*>(w)) {
          d->reject();
        } else {
          w->close();
        }
      }
    });
  }
  std::string modal_;
};

// Every command of the main window from every child window. Before each
// press the command's effect is undone or set up, so a press that runs
// nothing shows.
TEST_F(ShortcutTest, EveryShortcutRunsItsCommandFromEveryChildWindow) {
  AmbiguityWatch watch;
  TfMain& main = Start();
  main.resize(1000, 700);
  const fs::path current = dir_ / "current.kvi";
  TfViewWave* view = windows_.ViewWave;
  main.CalculateSample();  // the waveform view zooms a sample
  const auto modal = [this](const char* className) {
    return [this, className] { return modal_ == className; };
  };
  size_t dialogs = 0, prompts = 0, topics = 0;
  std::int64_t zoom = 0;
  struct Command {
    const char* name;
    QKeyCombination key;
    std::function<void()> prepare;
    std::function<bool()> ran;
  } commands[] = {
      {"play", Qt::CTRL | Qt::Key_P, [&] { main.SetSampleUpToDate(false); },
       [&] { return main.Document().Status == TDocumentStatus::Playing && main.IsSampleUpToDate(); }},
      {"save sample", Qt::CTRL | Qt::Key_S, [&] { dialogs_.expectSave(std::nullopt); },
       [&] { return dialogs_.shown().size() == dialogs + 1 && dialogs_.shown().back().title == "Save Sample"; }},
      {"options", Qt::CTRL | Qt::Key_Z, [] {}, modal("TfOptions")},
      {"statistics", Qt::CTRL | Qt::Key_T, [] {}, modal("TfStatist")},
      {"load instrument", Qt::CTRL | Qt::Key_R, [] {}, modal("TfLoadInst")},
      // The current file is replaced by the instrument.
      {"save instrument", Qt::CTRL | Qt::Key_W,
       [&] {
         std::ofstream(current, std::ios::binary) << "old";
         main.Document().CurrentInstrumentFile = current;
         main.SetInstrumentUpToDate(false);
       },
       [&] {
         return ReadBytes(current) != "old" && ReadInstrumentFile(current).has_value() &&
                main.IsInstrumentUpToDate();
       }},
      {"save instrument as", Qt::CTRL | Qt::Key_L, [&] { dialogs_.expectSave(std::nullopt); },
       [&] { return dialogs_.shown().size() == dialogs + 1 && dialogs_.shown().back().title == "Save Instrument"; }},
      {"new instrument", Qt::CTRL | Qt::Key_N, [&] { prompts_.expectConfirm("Are you sure?", mrNo); },
       [&] { return prompts_.shown().size() == prompts + 1; }},
      {"free preset editor", Qt::CTRL | Qt::Key_F, [] {}, modal("TfFreeEdit")},
      {"additive synthesis", Qt::CTRL | Qt::Key_A, [] {}, modal("TfAddSynth")},
      {"preset manager", Qt::CTRL | Qt::Key_M, [] {}, modal("TfManagW")},
      {"free envelope editor", Qt::CTRL | Qt::Key_V, [] {}, modal("TfEditVol")},
      {"ADSR editor", Qt::CTRL | Qt::Key_D, [] {}, modal("TfADSR")},
      {"envelope manager", Qt::CTRL | Qt::Key_G, [] {}, modal("TfManagV")},
      {"copy voices", Qt::CTRL | Qt::Key_C, [] {}, modal("TfCpVoice")},
      {"reset voices", Qt::CTRL | Qt::Key_E, [] {}, modal("TfResVoice")},
      {"zoom in", Qt::CTRL | Qt::Key_I, [&] { view->ShowNewSample(); }, [&] { return view->Zoom() < zoom; }},
      {"zoom out", Qt::CTRL | Qt::Key_O, [&] { view->ZoomIn(); }, [&] { return view->Zoom() > zoom; }},
      {"start recording", Qt::CTRL | Qt::Key_H, [] {}, modal("TfMacroRec")},
      {"stop recording", Qt::CTRL | Qt::Key_J,
       [&] {
         windows_.MacroRec->eName->setText("recorded by key");
         windows_.MacroRec->StartRecording();
       },
       [&] { return !main.Document().Recording && main.MenuStartRecording->isEnabled(); }},
      {"macro manager", Qt::CTRL | Qt::Key_K, [] {}, modal("TfManagM")},
      {"about", Qt::CTRL | Qt::Key_B, [] {}, modal("TfAbout")},
      {"help", Qt::Key_F1, [] {}, [&] { return help_.topics.size() == topics + 1 && help_.topics.back().empty(); }},
      {"General page", Qt::Key_F2, [&] { windows_.WaveGen->SelectPage(4); },
       [&] { return windows_.WaveGen->tsWaveGeneration->currentIndex() == 0; }},
      {"Source page", Qt::Key_F3, [] {}, [&] { return windows_.WaveGen->tsWaveGeneration->currentIndex() == 1; }},
      {"Volume page", Qt::Key_F4, [] {}, [&] { return windows_.WaveGen->tsWaveGeneration->currentIndex() == 2; }},
      {"Vibrato page", Qt::Key_F5, [] {}, [&] { return windows_.WaveGen->tsWaveGeneration->currentIndex() == 3; }},
      {"Lowpass page", Qt::Key_F6, [] {}, [&] { return windows_.WaveGen->tsWaveGeneration->currentIndex() == 4; }},
      // Cancel in the closing question: the question shows the command ran.
      {"exit", Qt::ALT | Qt::Key_F4,
       [&] {
         main.SetInstrumentUpToDate(false);
         prompts_.expectQuestion(kSaveChangesQuestion, mrCancel);
       },
       [&] { return prompts_.shown().size() == prompts + 1 && main.isVisible(); }},
      // A macro's hot key (the stored macro "Octave up" has Ctrl+U).
      {"macro hot key", Qt::CTRL | Qt::Key_U, [] {},
       [&] { return main.StatusText() == "executing macro \"Octave up\" ... ready"; }},
  };
  for (const Child& child : Children()) {
    for (const Command& c : commands) {
      QWidget* target = Activate(main, child.window);
      c.prepare();
      dialogs = dialogs_.shown().size();
      prompts = prompts_.shown().size();
      topics = help_.topics.size();
      zoom = view->Zoom();
      AnswerModal();
      QTest::keyClick(target, c.key.key(), c.key.keyboardModifiers());
      QApplication::processEvents();
      EXPECT_TRUE(c.ran()) << c.name << " (" << QKeySequence(c.key).toString().toStdString() << ") from the "
                           << child.name;
      if (main.Document().Status != TDocumentStatus::Ready) main.WaveOutDone();
      if (main.Document().Recording) main.StopRecordingCommand();
      EXPECT_TRUE(prompts_.allShown()) << c.name << " from the " << child.name;
    }
  }
  EXPECT_TRUE(watch.reports.isEmpty()) << watch.reports.join('\n').toStdString();
  EXPECT_TRUE(main.grab().save(ScreenshotFile("kalvora_shortcuts_main")));
}

// Ctrl+F4 minimises the active child window where the platform gives its
// frames that key; a macro given that hot key takes it over, and gives it back.
TEST_F(ShortcutTest, CtrlF4MinimisesTheActiveChildUnlessAMacroHoldsIt) {
  if (!QKeySequence::keyBindings(QKeySequence::Close).contains(QKeySequence(Qt::CTRL | Qt::Key_F4)))
    GTEST_SKIP() << "this platform gives a child window's frame no Ctrl+F4";
  AmbiguityWatch watch;
  TfMain& main = Start();
  auto* frame = qobject_cast<QMdiSubWindow*>(windows_.WaveGen->parentWidget());
  const auto pressCtrlF4 = [&] {
    QTest::keyClick(Activate(main, windows_.WaveGen), Qt::Key_F4, Qt::ControlModifier);
    QApplication::processEvents();
  };
  pressCtrlF4();
  EXPECT_TRUE(frame->isMinimized());

  main.Document().Macros.push_back({"Close key", "", 0x4000 + 0x73, false, {}});
  main.RebuildMacroMenu();
  pressCtrlF4();
  EXPECT_FALSE(frame->isMinimized());
  EXPECT_EQ(main.StatusText(), "executing macro \"Close key\" ... ready");

  main.Document().Macros.pop_back();
  main.RebuildMacroMenu();
  pressCtrlF4();
  EXPECT_TRUE(frame->isMinimized());
  EXPECT_TRUE(watch.reports.isEmpty()) << watch.reports.join('\n').toStdString();
}

}  // namespace
