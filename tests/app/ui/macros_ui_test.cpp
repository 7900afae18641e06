// The macro windows, the macro commands of the main window and the
// statistics window, started with fakes for every outside service.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCheckBox>
#include <QKeySequenceEdit>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTableWidget>
#include <QTimer>

#include <functional>

#include "Legibility.h"
#include "MainFixture.h"
#include "core/Macros.h"
#include "windows/InGlob.h"
#include "windows/MacroRec.h"
#include "windows/WaveGen.h"
#include "windows/ManagM.h"
#include "windows/Statist.h"

namespace kalvora::test {
namespace {

QAction* MacroAction(TfMain& main, const QString& name) {
  for (QAction* a : main.MenuMacro->actions())
    if (a->text() == name) return a;
  return nullptr;
}

TEST(HotKeys, CodesRoundTripToKeySequences) {
  struct Case {
    std::uint16_t code;
    QKeySequence key;
  } cases[] = {
      {0xC041, QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_A)},
      {0x4055, QKeySequence(Qt::CTRL | Qt::Key_U)},
      {0x2071, QKeySequence(Qt::SHIFT | Qt::Key_F2)},
      {0xE039, QKeySequence(Qt::SHIFT | Qt::CTRL | Qt::ALT | Qt::Key_9)},
      {0x0087, QKeySequence(Qt::Key_F24)},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(HotKeyToKeySequence(c.code), c.key) << std::hex << c.code;
    EXPECT_EQ(KeySequenceToHotKey(c.key), c.code) << c.key.toString().toStdString();
  }
  // Keys the code cannot hold give no hot key.
  EXPECT_EQ(KeySequenceToHotKey(QKeySequence(Qt::CTRL | Qt::Key_Space)), 0);
  EXPECT_EQ(KeySequenceToHotKey(QKeySequence()), 0);
  EXPECT_TRUE(HotKeyToKeySequence(0x4020).isEmpty());
}

using MacroWindows = MainTest;

TEST_F(MacroWindows, HotKeysInUseAreLeftOff) {
  TfMain& main = Start();
  main.Document().Macros = {{"Plays", "", 0x4050, false, {}},   // Ctrl+P: play
                            {"First", "", 0xC041, false, {}},   // Ctrl+Alt+A
                            {"Second", "", 0xC041, false, {}}};  // the same again
  main.RebuildMacroMenu();
  EXPECT_TRUE(MacroAction(main, "Plays")->shortcut().isEmpty());
  EXPECT_EQ(MacroAction(main, "First")->shortcut(), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_A));
  EXPECT_TRUE(MacroAction(main, "Second")->shortcut().isEmpty());
}

// The table holds 255 macros: a recording that could not be stored is not
// started, and the user is told why before typing anything.
TEST_F(MacroWindows, AFullTableRefusesToStartRecording) {
  TfMain& main = Start();
  std::vector<TMacro>& macros = main.Document().Macros;
  while (macros.size() < 254) macros.push_back({"M" + std::to_string(macros.size()), "", 0, false, {"01250"}});
  WhenShown<TfMacroRec>([](TfMacroRec& d) {
    d.eName->setText("Last");
    d.bOK->click();
  });
  main.StartRecordingCommand();
  ASSERT_TRUE(main.Document().Recording);
  main.MacroRec()->RecordIntStep(kStepVolume, 40);
  main.StopRecordingCommand();
  ASSERT_EQ(macros.size(), 255u);
  EXPECT_EQ(macros.back().Steps, std::vector<std::string>{"01240"});

  prompts_.expectMessage(kMacroTableFull);
  QTimer closeWrongDialog;  // ends with the test: it may not fire
  closeWrongDialog.setSingleShot(true);
  QObject::connect(&closeWrongDialog, &QTimer::timeout, [] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* d = qobject_cast<TfMacroRec*>(w); d && d->isVisible()) {
        ADD_FAILURE() << "the recording dialog opened on a full table";
        d->reject();
      }
  });
  closeWrongDialog.start(0);
  main.StartRecordingCommand();
  EXPECT_TRUE(prompts_.allShown());
  EXPECT_FALSE(main.Document().Recording);
  EXPECT_TRUE(main.MenuStartRecording->isEnabled());
  EXPECT_FALSE(main.MenuStopRecording->isEnabled());
  main.SetInstrumentUpToDate(true);
}

TEST_F(MacroWindows, RecordingDialogChecksTheNameThenRecords) {
  TfMain& main = Start();
  TfMacroRec* rec = main.MacroRec();
  ASSERT_NE(rec, nullptr);
  EXPECT_EQ(rec->HotKey->keySequence(), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_A));
  EXPECT_FALSE(main.MenuStopRecording->isEnabled());
  prompts_.expectMessage("The name exist already.");
  prompts_.expectMessage("Please type in a name first.");
  WhenShown<TfMacroRec>([this](TfMacroRec& d) {
    EXPECT_TRUE(ClippedTexts(&d).isEmpty()) << ClippedTexts(&d).join("\n").toStdString();
    EXPECT_TRUE(SaveScreenshot(&d, "kalvora_macro_recording"));
    d.eName->setText("Octave up");
    d.bOK->click();
    EXPECT_TRUE(d.isVisible());
    d.eName->clear();
    d.bOK->click();
    EXPECT_TRUE(d.isVisible());
    d.eName->setText("Louder");
    d.memoDescription->setPlainText("a bit louder");
    d.cbRelative->setChecked(true);
    d.bOK->click();
  });
  main.StartRecordingCommand();
  EXPECT_TRUE(prompts_.allShown());
  EXPECT_TRUE(main.Document().Recording);
  EXPECT_TRUE(main.Document().RecordingRelative);
  EXPECT_FALSE(main.MenuStartRecording->isEnabled());
  EXPECT_TRUE(main.MenuStopRecording->isEnabled());

  // The voice editor's calls, through the interface it holds.
  IMacroRecorder& recorder = *main.MacroRec();
  recorder.RecordIntStep(kStepVolume, -10);
  recorder.RecordIntStep(kStepVolume, -5);
  main.StopRecordingCommand();
  EXPECT_FALSE(main.Document().Recording);
  EXPECT_TRUE(main.MenuStartRecording->isEnabled());
  ASSERT_EQ(main.Document().Macros.size(), 3u);
  const TMacro& m = main.Document().Macros[2];
  EXPECT_EQ(m.Steps, std::vector<std::string>{"012-15"});
  EXPECT_EQ(m.HotKey, 0xC041);
  EXPECT_EQ(m.Description, "a bit louder");
  EXPECT_TRUE(main.Document().MacrosModified);

  // Its menu item runs it on the current voice.
  QAction* item = MacroAction(main, "Louder");
  ASSERT_NE(item, nullptr);
  EXPECT_EQ(item->shortcut(), QKeySequence(Qt::CTRL | Qt::ALT | Qt::Key_A));
  int shown = 0;
  main.ShowCurrentVoice = [&] { ++shown; };
  main.Document().CurrentVoice = 4;
  main.Document().Voice(4).Volume.Volume = 50;
  main.SetSampleUpToDate(true);
  item->trigger();
  EXPECT_EQ(main.Document().Voice(4).Volume.Volume, 35);
  EXPECT_EQ(shown, 1);
  EXPECT_FALSE(main.IsSampleUpToDate());
  EXPECT_EQ(main.StatusText(), "executing macro \"Louder\" ... ready");
}

// The description is not part of a voice: typing it while recording adds no
// step, so a replay never touches another instrument's description.
TEST_F(MacroWindows, ADescriptionEditRecordsNothing) {
  TfMain& main = Start();
  WhenShown<TfMacroRec>([](TfMacroRec& d) {
    d.eName->setText("Named");
    d.bOK->click();
  });
  main.StartRecordingCommand();
  ASSERT_TRUE(main.Document().Recording);
  windows_.InGlob->memoDescription->insertPlainText("typed while recording");
  windows_.WaveGen->ePartName->setText("Lead");
  main.StopRecordingCommand();
  ASSERT_FALSE(main.Document().Macros.empty());
  EXPECT_EQ(main.Document().Macros.back().Name, "Named");
  EXPECT_EQ(main.Document().Macros.back().Steps, std::vector<std::string>{"001Lead"});
  EXPECT_EQ(windows_.InGlob->GetDescription(), std::vector<std::string>{"typed while recording"});
  main.SetInstrumentUpToDate(true);
}

TEST_F(MacroWindows, ABadMacroLineIsShownAndTheSampleIsOutOfDate) {
  TfMain& main = Start();
  main.Document().Macros = {{"Bad", "", 0, false, {"01277", "012x"}}};
  main.SetSampleUpToDate(true);
  main.RebuildMacroMenu();
  prompts_.expectMessage("'x' is not a valid integer value");
  MacroAction(main, "Bad")->trigger();
  EXPECT_EQ(main.Document().Voice(1).Volume.Volume, 77);
  EXPECT_FALSE(main.IsSampleUpToDate());
}

TEST_F(MacroWindows, MacrosSurviveARestartAndRunByTheirHotKey) {
  {
    TfMain& main = Start();
    prompts_.expectQuestion("", kalvora::platform::mrNo);  // save the instrument? no
    WhenShown<TfMacroRec>([](TfMacroRec& d) {
      d.eName->setText("Two voices");
      d.HotKey->setKeySequence(QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Y));
      d.bOK->click();
    });
    main.StartRecordingCommand();
    IMacroRecorder& r = *main.MacroRec();
    r.RecordIntStep(kStepNote, 40);
    r.RecordIntStep(kStepVoice, 1);
    r.RecordBoolStep(kStepActive, true);
    r.RecordIntStep(kStepNote, 52);
    main.StopRecordingCommand();
    EXPECT_TRUE(main.close());
    windows_ = {};
  }
  TfMain& main = Start();
  ASSERT_EQ(main.Document().Macros.size(), 3u);
  TVoice v1 = main.Document().Voice(1), v2 = main.Document().Voice(2);
  v1.Pitch.Note = 40;
  v2.Active = true;
  v2.Pitch.Note = 52;
  QAction* byKey = nullptr;
  for (QAction* a : main.MenuMacro->actions())
    if (a->shortcut() == QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Y)) byKey = a;
  ASSERT_NE(byKey, nullptr);
  byKey->trigger();
  EXPECT_EQ(main.Document().Voice(1), v1);
  EXPECT_EQ(main.Document().Voice(2), v2);
  EXPECT_EQ(main.Document().CurrentVoice, 2);
}

TEST_F(MacroWindows, ManagerShowsSortsMovesRenamesAndDeletes) {
  TfMain& main = Start();
  auto& macros = main.Document().Macros;
  macros = {{"b", "first b", 0x4042, false, {"00360", "0091", "9010002100000"}},
            {"B", "", 0, true, {"00360"}},
            {"a", "", 0, false, {}},
            {"b", "second b", 0, false, {}}};
  auto order = [&] {
    std::string r;
    for (const TMacro& m : macros) r += m.Name + (m.Description.empty() ? "" : "'") + " ";
    return r;
  };
  TfManagM m(&main);
  m.show();
  QApplication::processEvents();
  EXPECT_TRUE(ClippedTexts(&m).isEmpty()) << ClippedTexts(&m).join("\n").toStdString();
  EXPECT_TRUE(SaveScreenshot(&m, "kalvora_macro_manager"));
  // The first macro is shown.
  EXPECT_EQ(m.SelectedMacro(), 1);
  EXPECT_EQ(m.memoDescription->toPlainText(), "first b");
  EXPECT_EQ(m.HotKey->keySequence(), QKeySequence(Qt::CTRL | Qt::Key_B));
  ASSERT_EQ(m.sgCommands->rowCount(), 3);
  EXPECT_EQ(m.sgCommands->item(0, 0)->text(), "Finetune");
  EXPECT_EQ(m.sgCommands->item(0, 1)->text(), "10");
  EXPECT_EQ(m.sgCommands->item(2, 1)->text(), "2 Opt: 100000");
  // Relative shows the finetune as it stands.
  m.cbRelative->click();
  EXPECT_TRUE(macros[0].Relative);
  EXPECT_EQ(m.sgCommands->item(0, 1)->text(), "60");
  // Edits go into the table at once, the hot key without leaving the field.
  m.memoDescription->setPlainText("changed");
  EXPECT_EQ(macros[0].Description, "changed");
  m.HotKey->setKeySequence(QKeySequence(Qt::ALT | Qt::Key_5));
  EXPECT_EQ(macros[0].HotKey, 0x8035);

  // Moves at the ends change nothing.
  m.MoveMacroUp();
  EXPECT_EQ(order(), "b' B a b' ");
  m.lbMacros->setCurrentRow(3);
  m.MoveMacroDown();
  EXPECT_EQ(order(), "b' B a b' ");
  m.MoveMacroUp();
  EXPECT_EQ(order(), "b' B b' a ");
  EXPECT_EQ(m.SelectedMacro(), 3);
  m.SortMacrosUp();
  EXPECT_EQ(macros[0].Name + macros[1].Name + macros[2].Name + macros[3].Name, "Babb");
  EXPECT_EQ(macros[2].Description, "changed");  // equal names keep their order
  EXPECT_EQ(m.SelectedMacro(), 1);
  m.SortMacrosDown();
  EXPECT_EQ(macros[0].Name + macros[1].Name + macros[2].Name + macros[3].Name, "bbaB");

  // Rename: its own name is refused, a free one taken.
  m.lbMacros->setCurrentRow(2);
  WhenShown<TfRenMacro>([](TfRenMacro& d) {
    EXPECT_TRUE(d.lStatus->isVisible());
    EXPECT_TRUE(SaveScreenshot(&d, "kalvora_rename_macro"));
    EXPECT_TRUE(ClippedTexts(&d).isEmpty()) << ClippedTexts(&d).join("\n").toStdString();
    d.bOK->click();
    EXPECT_TRUE(d.isVisible());
    d.eNewName->setText("b");  // another macro's
    EXPECT_TRUE(d.lStatus->isVisible());
    d.eNewName->setText("c");
    EXPECT_FALSE(d.lStatus->isVisible());
    d.bOK->click();
  });
  m.RenameMacro();
  EXPECT_EQ(macros[2].Name, "c");
  EXPECT_EQ(m.lbMacros->item(2)->text(), "c");

  // Delete asks first.
  prompts_.expectConfirm("Are you sure?", kalvora::platform::mrNo);
  m.DeleteMacro();
  EXPECT_EQ(macros.size(), 4u);
  prompts_.expectConfirm("Are you sure?", kalvora::platform::mrYes);
  m.DeleteMacro();
  EXPECT_EQ(macros.size(), 3u);
  EXPECT_EQ(m.SelectedMacro(), 2);
}

TEST_F(MacroWindows, DeletingTheOnlyMacroLeavesNoMenuItems) {
  TfMain& main = Start();
  main.Document().Macros.resize(1);
  prompts_.expectConfirm("Are you sure?", kalvora::platform::mrYes);
  WhenShown<TfManagM>([](TfManagM& m) {
    m.DeleteMacro();
    EXPECT_EQ(m.lbMacros->count(), 0);
    EXPECT_EQ(m.SelectedMacro(), 0);
    EXPECT_FALSE(m.bDelete->isEnabled());
    // Nothing selected: the edits change nothing.
    m.memoDescription->setPlainText("x");
    m.bOK->click();
  });
  main.Document().MacrosModified = false;
  main.MacroManagerCommand();
  EXPECT_TRUE(main.Document().Macros.empty());
  EXPECT_TRUE(main.Document().MacrosModified);
  EXPECT_EQ(main.MenuMacro->actions().size(), 4);
}

TEST_F(MacroWindows, StatisticsShowCountersAndTheTimeSinceStart) {
  TfMain& main = Start();
  EXPECT_EQ(main.Settings().Starts, 1);
  main.Settings().OpenTime = 2.0;
  main.Settings().CalculationTime = (3 * 3600 + 15 * 60 + 7) / 86400.0;
  clock_.advance(std::chrono::milliseconds(5400));
  auto show = [&](std::function<void(TfStatist&)> check) {
    WhenShown<TfStatist>([check](TfStatist& s) {
      check(s);
      s.bOK->click();
    });
    main.ShowStatistics();
  };
  show([&](TfStatist& s) {
    EXPECT_EQ(s.lTotalTime->text(), "2 day(s) 00:00:05");
    EXPECT_EQ(s.lCalculationTime->text(), "0 day(s) 03:15:07");
    EXPECT_EQ(s.lCalculatedWaves->text(), "0");
    EXPECT_EQ(s.lNumberOfStarts->text(), "1");
    EXPECT_EQ(s.gPresets->value(), 1);
    EXPECT_EQ(s.gPresets->maximum(), 254);
    EXPECT_EQ(s.gEnvelopes->value(), 1);
    EXPECT_TRUE(ClippedTexts(&s).isEmpty()) << ClippedTexts(&s).join("\n").toStdString();
    EXPECT_TRUE(SaveScreenshot(&s, "kalvora_statistics"));
  });
  clock_.advance(std::chrono::seconds(60));
  show([&](TfStatist& s) { EXPECT_EQ(s.lTotalTime->text(), "2 day(s) 00:01:05"); });
}

}  // namespace
}  // namespace kalvora::test
