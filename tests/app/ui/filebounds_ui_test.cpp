// What the windows let a person make fits the files that keep it: the
// fields where texts are typed stop at their bounds, a full macro stops the
// recording and says so, the program starts on a large macro library and
// writes it back, and a save that could not be read back is refused with a
// message, the data kept in memory and the old file whole.
#include <gtest/gtest.h>

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>

#include <functional>
#include <string>
#include <vector>

#include "Legibility.h"
#include "MainFixture.h"
#include "core/Macros.h"
#include "formats/InstrumentFile.h"
#include "views/BoundedMemo.h"
#include "windows/InGlob.h"
#include "windows/MacroRec.h"
#include "windows/ManagM.h"
#include "windows/Options.h"

namespace kalvora::test {
namespace {

void Type(QWidget* w, Qt::Key key, const QString& text) {
  QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
  QApplication::sendEvent(w, &press);
}

void Paste(QPlainTextEdit* memo, const QString& text) {
  QApplication::clipboard()->setText(text);
  memo->paste();
}

using FileBoundWindows = MainTest;

// Every memo where a description is typed, with the bound of its file.
TEST_F(FileBoundWindows, DescriptionMemosStopAtTheirBound) {
  TfMain& main = Start();
  main.Document().Macros = {{"Long", std::string(TMacro::kMaxDescription + 5, 'o'), 0, false, {}}};
  TfManagM manager(&main);
  manager.show();
  TfOptions options(&main, &dialogs_, &midi_);
  struct Case {
    const char* window;
    QPlainTextEdit* memo;
    std::size_t bound;
  };
  const std::vector<Case> cases = {
      {"macro recording", main.MacroRec()->memoDescription, TMacro::kMaxDescription},
      {"macro manager", manager.memoDescription, TMacro::kMaxDescription},
      {"global settings", windows_.InGlob->memoDescription, TInGlobSettings::kMaxDescription},
      {"options", options.memoDescription, TInGlobSettings::kMaxDescription},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.window);
    const int bound = static_cast<int>(c.bound);
    QPlainTextEdit* memo = c.memo;
    memo->setPlainText(QString());
    // A pasted million characters is cut to the bound at once.
    Paste(memo, QString(1000000, QLatin1Char('p')));
    EXPECT_EQ(memo->toPlainText(), QString(bound, QLatin1Char('p')));
    // A full memo takes no typed character and no line break; one freed
    // place takes one again.
    Type(memo, Qt::Key_Q, QStringLiteral("q"));
    Type(memo, Qt::Key_Return, QStringLiteral("\r"));
    EXPECT_EQ(memo->toPlainText().size(), bound);
    Type(memo, Qt::Key_Backspace, QString());
    Type(memo, Qt::Key_Q, QStringLiteral("q"));
    EXPECT_EQ(memo->toPlainText(), QString(bound - 1, QLatin1Char('p')) + QLatin1Char('q'));
    // A paste over a selection takes the selection's room.
    QTextCursor cursor = memo->textCursor();
    cursor.setPosition(0);
    cursor.setPosition(3, QTextCursor::KeepAnchor);
    memo->setTextCursor(cursor);
    Paste(memo, QStringLiteral("abcdef"));
    EXPECT_TRUE(memo->toPlainText().startsWith(QStringLiteral("abcp")));
    EXPECT_EQ(memo->toPlainText().size(), bound);
  }
  QApplication::processEvents();
  EXPECT_TRUE(ClippedTexts(&manager).isEmpty()) << ClippedTexts(&manager).join("\n").toStdString();
  EXPECT_TRUE(SaveScreenshot(&manager, "kalvora_macro_manager_full_description"));
  // What the memos hold is what the document and the settings get.
  EXPECT_EQ(main.Document().Macros[0].Description.size(), TMacro::kMaxDescription);
  EXPECT_EQ(main.Document().GlobalSettings().Description,
            std::vector<std::string>{"abc" + std::string(TInGlobSettings::kMaxDescription - 4, 'p') + "q"});

  // A longer description read from an older file is shown whole: it can
  // be shortened, not lengthened.
  main.Document().Macros[0].Description = std::string(TMacro::kMaxDescription + 5, 'o');
  manager.FillMacroList(1);
  manager.ShowMacroSteps();
  EXPECT_EQ(manager.memoDescription->toPlainText().size(), static_cast<int>(TMacro::kMaxDescription + 5));
  manager.memoDescription->moveCursor(QTextCursor::End);
  Type(manager.memoDescription, Qt::Key_Q, QStringLiteral("q"));
  EXPECT_EQ(main.Document().Macros[0].Description.size(), TMacro::kMaxDescription + 5);
  Type(manager.memoDescription, Qt::Key_Backspace, QString());
  EXPECT_EQ(main.Document().Macros[0].Description.size(), TMacro::kMaxDescription + 4);
}

// Macro names are typed in the recording dialog and the rename dialog.
TEST_F(FileBoundWindows, MacroNamesStopAtTheirBound) {
  TfMain& main = Start();
  TfRenMacro rename(main.Document(), "Octave up", &main);
  for (QLineEdit* name : {main.MacroRec()->eName, rename.eNewName}) {
    name->clear();
    QApplication::clipboard()->setText(QString(1000, QLatin1Char('n')));
    QKeyEvent paste(QEvent::KeyPress, Qt::Key_V, Qt::ControlModifier);
    QApplication::sendEvent(name, &paste);
    EXPECT_EQ(name->text().size(), static_cast<int>(TMacro::kMaxName));
  }
}

TEST_F(FileBoundWindows, AFullMacroStopsTheRecordingAndSaysSo) {
  TfMain& main = Start();
  main.MacroRec()->eName->setText("Long");
  main.MacroRec()->StartRecording();
  ASSERT_TRUE(main.Document().Recording);
  IMacroRecorder& recorder = *main.MacroRec();
  for (std::size_t i = 0; i < TMacro::kMaxSteps; ++i) recorder.RecordIntStep(i % 2 ? kStepVolume : kStepNote, 5);
  EXPECT_TRUE(prompts_.shown().empty());
  prompts_.expectMessage(
      "A macro holds at most 1000 steps: the recording has stopped and the macro is stored with the steps "
      "recorded so far.");
  recorder.RecordIntStep(kStepNote, 6);
  EXPECT_TRUE(prompts_.allShown());
  EXPECT_FALSE(main.Document().Recording);
  EXPECT_TRUE(main.MenuStartRecording->isEnabled());
  EXPECT_FALSE(main.MenuStopRecording->isEnabled());
  ASSERT_EQ(main.Document().Macros.size(), 3u);
  EXPECT_EQ(main.Document().Macros[2].Steps.size(), TMacro::kMaxSteps);
  bool inMenu = false;
  for (QAction* a : main.MenuMacro->actions()) inMenu |= a->text() == QStringLiteral("Long");
  EXPECT_TRUE(inMenu);
  // Later edits record nothing.
  recorder.RecordIntStep(kStepVolume, 7);
  EXPECT_EQ(main.Document().Macros[2].Steps.size(), TMacro::kMaxSteps);
}

// 255 macros with 4,000-character descriptions and 200 steps each: the
// library of the review, 1.34 MB.
TEST_F(FileBoundWindows, TheProgramStartsOnALargeMacroLibraryAndWritesItBack) {
  std::vector<TMacro> macros(TInstrumentDocument::kMaxMacros);
  for (std::size_t i = 0; i < macros.size(); ++i) {
    macros[i].Name = "Macro " + std::to_string(i);
    macros[i].Description = std::string(4000, static_cast<char>('a' + i % 26));
    for (int s = 0; s < 200; ++s) macros[i].Steps.push_back(s % 2 ? "012-10" : "00212");
  }
  SaveMacros(dir_ / "kalvora.dam", macros);
  ASSERT_GT(fs::file_size(dir_ / "kalvora.dam"), 1340000u);
  const std::string written = ReadText(dir_ / "kalvora.dam");
  {
    TfMain& main = Start();
    EXPECT_TRUE(prompts_.shown().empty());
    ASSERT_EQ(main.Document().Macros.size(), macros.size());
    EXPECT_EQ(main.Document().Macros[254].Description, macros[254].Description);
    EXPECT_EQ(main.Document().Macros[254].Steps, macros[254].Steps);
    main.Document().MacrosModified = true;
    main.SetInstrumentUpToDate(true);
    EXPECT_TRUE(main.close());
    windows_ = {};
  }
  EXPECT_TRUE(prompts_.shown().empty());
  EXPECT_EQ(ReadText(dir_ / "kalvora.dam"), written);
  TfMain& main = Start();
  EXPECT_EQ(main.Document().Macros.size(), macros.size());
}

// An instrument whose file would pass the bound (a description longer than
// the memo takes, as from code or an older file): the save says why, the
// instrument stays in memory and unsaved, the old file stays whole.
TEST_F(FileBoundWindows, AnInstrumentThatCouldNotBeReadBackIsNotSaved) {
  TfMain& main = Start();
  const fs::path file = dir_ / "song.kvi";
  ASSERT_TRUE(main.SaveInstrument(file));
  const std::string old = ReadText(file);
  main.Document().GlobalSettings().Description = {std::string(kMaxInstrumentFileSize, 'x')};
  main.SetInstrumentUpToDate(false);
  prompts_.expectMessage();
  EXPECT_FALSE(main.SaveInstrument(file));
  ASSERT_EQ(prompts_.shown().size(), 1u);
  EXPECT_EQ(prompts_.shown()[0].text.find("Can not write the file \"" + file.string() + "\": it would be "), 0u)
      << prompts_.shown()[0].text;
  EXPECT_EQ(ReadText(file), old);
  EXPECT_FALSE(main.IsInstrumentUpToDate());
  EXPECT_EQ(main.Document().GlobalSettings().Description[0].size(), kMaxInstrumentFileSize);
}

}  // namespace
}  // namespace kalvora::test
