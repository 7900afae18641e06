// The file commands of the main window: loading, saving and saving as an
// instrument, the recent-files submenu, the sample file and its converter.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMenu>
#include <QPushButton>
#include <QScreen>
#include <QTest>
#include <QTextBrowser>
#include <QTimer>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <deque>
#include <filesystem>
#include <functional>
#include <fstream>
#include <string>
#include <thread>
#include <tuple>
#include <vector>

#include <sys/wait.h>
#include <unistd.h>

#include "Fakes.h"
#include "HexFixture.h"
#include "Legibility.h"
#include "MainFixture.h"
#include "components/MRUList.h"
#include "components/OfficeButton.h"
#include "formats/ByteStream.h"
#include "formats/InstrumentFile.h"
#include "formats/WavFile.h"
#include "platform/qt/QtPrompts.h"
#include "windows/Main.h"
#include "windows/dialogs/DialogPrompts.h"
#include "windows/dialogs/LoadInst.h"
#include "windows/dialogs/SmallDialogs.h"

namespace fs = std::filesystem;
using namespace kalvora::test;
using Bytes = std::vector<std::uint8_t>;

namespace {

void WriteBytes(const fs::path& p, const Bytes& b) {
  std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(b.data()), static_cast<std::streamsize>(b.size()));
}

Bytes FileBytes(const fs::path& p) {
  const std::string t = ReadText(p);
  return Bytes(t.begin(), t.end());
}

QAction* FindAction(QMenu* menu, const QString& text) {
  for (QAction* a : menu->actions())
    if (a->text() == text) return a;
  return nullptr;
}

// Answers the modal dialogs that the code under test opens, one step a
// dialog, in order. A dialog beyond the script fails the test and is closed
// (a new-name dialog with a name no library holds, so its loop ends).
class ModalScript {
 public:
  using Step = std::function<void(QDialog*)>;
  explicit ModalScript(std::vector<Step> steps) : steps_(steps.begin(), steps.end()) {
    QObject::connect(&timer_, &QTimer::timeout, [this] { Next(); });
    timer_.start(1);
  }
  ~ModalScript() { EXPECT_TRUE(steps_.empty()) << steps_.size() << " scripted dialogs never came"; }

 private:
  void Next() {
    auto* d = qobject_cast<QDialog*>(QApplication::activeModalWidget());
    if (!d || !d->isVisible()) return;
    if (steps_.empty()) {
      ADD_FAILURE() << "unscripted dialog " << d->objectName().toStdString();
      if (auto* n = qobject_cast<TfNewName*>(d)) n->eNewName->setText(QStringLiteral("unscripted %1").arg(++unscripted_));
      return d->done(1);
    }
    const Step step = std::move(steps_.front());
    steps_.pop_front();
    step(d);
  }
  std::deque<Step> steps_;
  QTimer timer_;
  int unscripted_ = 0;
};

// A name typed as a person types it: the edit's text replaced key by key
// (keys that carry any character, as a keyboard layout gives them), then Return.
void TypeName(QDialog* d, const QString& name) {
  auto* edit = d->findChild<QLineEdit*>("eNewName");
  ASSERT_NE(edit, nullptr) << d->objectName().toStdString();
  edit->selectAll();
  for (const QChar c : name) {
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(edit, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
    QApplication::sendEvent(edit, &release);
  }
  QTest::keyClick(edit, Qt::Key_Return);
}

// The copies an instrument file gives one voice.
struct TVoiceCopies {
  int Voice;
  TWavePreset Source, Dest;
  TVolumeEnvelope Envelope;
};

// An instrument file whose voices (all others inactive) bring these copies.
// The copies are told apart by their names.
Bytes InstrumentWith(const std::vector<TVoiceCopies>& voices) {
  TInstrumentDocument doc;
  doc.Voice(1).Active = false;
  auto indexOf = [](auto& table, const auto& entry) {
    if (table.Find(entry.Name) == 0) table.PushBack(entry);
    return static_cast<std::uint8_t>(table.Find(entry.Name));
  };
  for (const TVoiceCopies& c : voices) {
    TVoice& v = doc.Voice(c.Voice);
    v.Active = true;
    v.Morph.SourcePreset = indexOf(doc.WavePresets, c.Source);
    v.Morph.DestPreset = indexOf(doc.WavePresets, c.Dest);
    v.Volume.Envelope = indexOf(doc.VolumeEnvelopes, c.Envelope);
  }
  return InstrumentBytes(doc);
}

TWavePreset PresetOf(std::string name, std::uint8_t fill) {
  TWavePreset p;
  p.Name = std::move(name);
  p.Data.fill(fill);
  return p;
}

TVolumeEnvelope EnvelopeOf(std::string name, std::uint8_t startLevel, std::uint8_t points = 2) {
  TVolumeEnvelope e;
  e.Name = std::move(name);
  e.Count = points;
  for (int i = 0; i < points; ++i) {
    e.X[i] = static_cast<std::uint8_t>(i == points - 1 ? 255 : i * 10);
    e.Y[i] = static_cast<std::uint8_t>(i == 0 ? startLevel : 255);
  }
  return e;
}

// Libraries of `presets` and `envelopes` entries, each of its own shape:
// preset 1 "Sägezahn" and "P002".., envelopes "E001"...
void WriteLibraries(const fs::path& dir, int presets, int envelopes) {
  TWavePresetTable p;
  for (int i = 1; i <= presets; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "P%03d", i);
    TWavePreset e = PresetOf(i == 1 ? "S\xE4gezahn" : name, 75);
    e.Data[0] = static_cast<std::uint8_t>(i % 150);
    e.Data[1] = static_cast<std::uint8_t>(i / 150);
    p.PushBack(e);
  }
  TVolumeEnvelopeTable v;
  for (int i = 1; i <= envelopes; ++i) {
    char name[16];
    std::snprintf(name, sizeof name, "E%03d", i);
    v.PushBack(EnvelopeOf(name, static_cast<std::uint8_t>(i)));
  }
  SaveWavePresets(dir / "kalvora.dap", p);
  SaveVolumeEnvelopes(dir / "kalvora.dav", v);
}

class FilesTest : public MainTest {
 protected:
  // The program with its own boxes and new-name dialogs in place of the fake prompts.
  TfMain& StartWithDialogs() {
    TMainServices s = Services();
    s.Prompts = &dialogPrompts_;
    windows_ = CreateKalvoraWindows(s, {}, {});
    return *windows_.Main;
  }
  TDialogPrompts dialogPrompts_;

  // The libraries the hand-built fixtures were written against.
  void UseFixtureLibraries() {
    TWavePresetTable presets;
    TWavePreset p;
    p.Name = "Sine";
    p.Data.fill(0x4b);
    presets.PushBack(p);
    p.Name = "Sawtooth";
    p.Data.fill(0x20);
    presets.PushBack(p);
    SaveWavePresets(dir_ / "kalvora.dap", presets);
  }
  // An instrument saved by the program itself, with voice 3 active.
  fs::path SavedInstrument(TfMain& main, const std::string& name) {
    const fs::path file = dir_ / name;
    main.Document().Voice(3).Active = true;
    main.Document().Voice(3).Name = "Three";
    EXPECT_TRUE(main.SaveInstrument(file));
    return file;
  }
};

TEST_F(FilesTest, LoadSaveAndSaveAsThroughTheMenu) {
  UseFixtureLibraries();
  TfMain& main = Start();
  const fs::path fixture = dir_ / "one voice.kvi";
  WriteBytes(fixture, ReadHexFixture("instrument_v30_one_voice.hex"));
  main.SetInstrumentUpToDate(true);

  // Load opens the instrument open dialog; its Load button reads the file
  // it shows (the dialog's own selection is tested with the small dialogs).
  auto* open = main.findChild<TfLoadInst*>();
  ASSERT_NE(open, nullptr);
  QTimer::singleShot(0, open, [open, fixture] {
    open->Load(fixture);
    open->done(1);
  });
  FindAction(main.MenuInstrument, "&Load")->trigger();
  EXPECT_EQ(main.Document().Voice(2).Name, "Lead");
  EXPECT_TRUE(main.Document().Voice(2).Active);
  EXPECT_FALSE(main.Document().Voice(1).Active);
  EXPECT_EQ(main.windowTitle(), "Kalvora - one voice.kvi");
  EXPECT_EQ(main.StatusText().toStdString(), "loading " + fixture.string() + " ... ready");
  EXPECT_EQ(main.WaveFileName, (dir_ / "one voice.wav").string());
  EXPECT_TRUE(main.IsInstrumentUpToDate());
  EXPECT_FALSE(main.IsSampleUpToDate());
  EXPECT_EQ(main.Document().Status, TDocumentStatus::Ready);
  // The fixture's new presets joined the library; equal data did not.
  EXPECT_EQ(main.Document().WavePresets.Count(), 3);
  EXPECT_EQ(main.Document().WavePresets[3].Name, "Fixture Square");
  EXPECT_TRUE(main.Document().WavePresetsModified);
  ASSERT_NE(main.MenuLoadAgain, nullptr);
  EXPECT_EQ(main.MenuLoadAgain->title(), "Load Again");
  EXPECT_EQ(main.MenuLoadAgain->actions()[0]->text().toStdString(), "&1 " + fixture.string());

  // Save writes the current file: the same bytes as the hand-built fixture
  // (the presets and the envelope it names are the library's now).
  FindAction(main.MenuInstrument, "&Save")->trigger();
  EXPECT_EQ(FileBytes(fixture), ReadHexFixture("instrument_v30_one_voice.hex"));

  const fs::path other = dir_ / "copy.kvi";
  dialogs_.expectSave(other.string());
  FindAction(main.MenuInstrument, "Save &As")->trigger();
  EXPECT_EQ(FileBytes(other), ReadHexFixture("instrument_v30_one_voice.hex"));
  EXPECT_EQ(main.windowTitle(), "Kalvora - copy.kvi");
  EXPECT_EQ(main.Document().CurrentInstrumentFile, other);
  EXPECT_EQ(main.MRUFileList->Items(), (std::vector<std::string>{other.string(), fixture.string()}));
  EXPECT_TRUE(SaveScreenshot(&main, "files_main_after_load"));
  EXPECT_TRUE(ClippedTexts(&main).isEmpty()) << ClippedTexts(&main).join(", ").toStdString();
}

TEST_F(FilesTest, ARecentFileEntryLoadsThatFile) {
  TfMain& main = Start();
  const fs::path a = SavedInstrument(main, "a.kvi");
  main.Document().Voice(3).Name = "Changed";
  const fs::path b = SavedInstrument(main, "b.kvi");
  main.Document().Voice(3).Name = "Third";
  main.SetInstrumentUpToDate(true);
  ASSERT_EQ(main.MenuLoadAgain->actions().size(), 2);
  QAction* second = main.MenuLoadAgain->actions()[1];
  EXPECT_EQ(second->text().toStdString(), "&2 " + a.string());
  second->trigger();
  QApplication::processEvents();
  EXPECT_EQ(main.Document().Voice(3).Name, "Three");
  EXPECT_EQ(main.Document().CurrentInstrumentFile, a);
  // The entry moved to the top; it was not removed.
  EXPECT_EQ(main.MRUFileList->Items(), (std::vector<std::string>{a.string(), b.string()}));
  EXPECT_TRUE(SaveScreenshot(main.MenuLoadAgain, "files_load_again_menu"));
}

// A name that ends in a blank comes back from the settings file as it was:
// in the next run "Load Again" opens that file, not its neighbour without the
// blank.
TEST_F(FilesTest, ARecentNameWithABlankOpensThatFileInTheNextRun) {
  fs::path blank, plain;
  {
    TfMain& main = Start();
    plain = SavedInstrument(main, "song.kvi");
    main.Document().Voice(3).Pitch.Note = 5;
    blank = SavedInstrument(main, "song.kvi ");
    EXPECT_TRUE(main.close());
    windows_ = {};
  }
  TfMain& main = Start();
  ASSERT_EQ(main.MRUFileList->Items(), (std::vector<std::string>{blank.string(), plain.string()}));
  main.SetInstrumentUpToDate(true);
  main.MenuLoadAgain->actions()[0]->trigger();
  QApplication::processEvents();
  EXPECT_EQ(main.Document().CurrentInstrumentFile, blank);
  EXPECT_EQ(main.Document().Voice(3).Pitch.Note, 5);
  EXPECT_EQ(main.windowTitle(), "Kalvora - song.kvi ");
  EXPECT_TRUE(SaveScreenshot(&main, "files_main_blank_name"));
  EXPECT_TRUE(ClippedTexts(&main).isEmpty()) << ClippedTexts(&main).join(", ").toStdString();
}

// Names in other letter case are two files here: Save As "Song.kvi", then
// "song.kvi" lists both, and "Load Again" 1 opens the file saved last.
TEST_F(FilesTest, SaveAsInOtherLetterCaseListsBothFiles) {
  TfMain& main = Start();
  const fs::path upper = dir_ / "Song.kvi", lower = dir_ / "song.kvi";
  main.Document().Voice(3).Active = true;
  main.Document().Voice(3).Name = "Upper";
  dialogs_.expectSave(upper.string());
  FindAction(main.MenuInstrument, "Save &As")->trigger();
  main.Document().Voice(3).Name = "Lower";
  dialogs_.expectSave(lower.string());
  FindAction(main.MenuInstrument, "Save &As")->trigger();
  EXPECT_EQ(main.MRUFileList->Items(), (std::vector<std::string>{lower.string(), upper.string()}));
  ASSERT_EQ(main.MenuLoadAgain->actions().size(), 2);
  EXPECT_EQ(main.MenuLoadAgain->actions()[0]->text().toStdString(), "&1 " + lower.string());

  for (const auto& [number, file, voiceName] : {std::tuple{1, lower, "Lower"}, std::tuple{2, upper, "Upper"}}) {
    main.Document().Voice(3).Name = "Changed";
    main.SetInstrumentUpToDate(true);
    main.MenuLoadAgain->actions()[number - 1]->trigger();
    QApplication::processEvents();
    EXPECT_EQ(main.Document().CurrentInstrumentFile, file);
    EXPECT_EQ(main.Document().Voice(3).Name, voiceName);
  }
  EXPECT_EQ(main.MRUFileList->Items(), (std::vector<std::string>{upper.string(), lower.string()}));
  EXPECT_TRUE(SaveScreenshot(&main, "files_main_names_in_other_case"));
}

// Root deletes any file: the deletion runs in a child process as the user
// "nobody", in a folder no one may write. The file stays, the message names
// it and the reason, and the list is read again with the file in it.
TEST_F(FilesTest, ADeleteThatFailsInTheOpenDialogSaysWhy) {
  Start();
  const fs::path locked = dir_ / "locked";
  fs::create_directory(locked);
  const fs::path file = locked / "kept.kvi";
  WriteBytes(file, ReadHexFixture("instrument_v30_one_voice.hex"));
  TfLoadInst& dialog = *windows_.LoadInst;
  dialog.SetFolder(QString::fromStdString(locked.string()));
  dialog.show();
  ASSERT_EQ(dialog.FileList->count(), 1);
  fs::permissions(locked, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                  fs::perm_options::remove);
  constexpr int kCannotDropRoot = 77;
  const pid_t pid = ::fork();
  if (pid == 0) {
    if (::geteuid() == 0 && (::setgid(65534) != 0 || ::setuid(65534) != 0)) ::_exit(kCannotDropRoot);
    prompts_.expectConfirm("Are you sure?", mrYes);
    prompts_.expectMessage();
    dialog.bDelete->click();
    const auto& shown = prompts_.shown();
    if (shown.size() != 2 || shown[1].text != "Can not delete the file \"" + file.string() + "\": Permission denied")
      ::_exit(1);
    if (!fs::exists(file)) ::_exit(2);
    if (dialog.FileList->count() != 1 || dialog.SelectedPath() != file.string() || dialog.lSize->text().isEmpty())
      ::_exit(3);
    ::_exit(0);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  fs::permissions(locked, fs::perms::owner_write, fs::perm_options::add);
  ASSERT_TRUE(WIFEXITED(status)) << status;
  if (WEXITSTATUS(status) == kCannotDropRoot) GTEST_SKIP() << "root cannot become another user here";
  EXPECT_EQ(WEXITSTATUS(status), 0) << "1: no or another message, 2: the file went, 3: the list or its info";
  EXPECT_TRUE(fs::exists(file));
  dialog.hide();
}

TEST_F(FilesTest, YesThenACancelledSaveDialogCancelsTheLoad) {
  TfMain& main = Start();
  const fs::path file = SavedInstrument(main, "keep.kvi");
  main.Document().CurrentInstrumentFile.clear();
  main.Document().Voice(3).Name = "Unsaved";
  main.Document().MarkChanged();
  prompts_.expectQuestion(kSaveChangesQuestion, mrYes);
  dialogs_.expectSave(std::nullopt);
  EXPECT_FALSE(main.LoadInstrument(file));
  EXPECT_EQ(main.Document().Voice(3).Name, "Unsaved");
  EXPECT_FALSE(main.IsInstrumentUpToDate());
  EXPECT_TRUE(main.Document().CurrentInstrumentFile.empty());

  prompts_.expectQuestion(kSaveChangesQuestion, mrCancel);
  EXPECT_FALSE(main.LoadInstrument(file));
  prompts_.expectQuestion(kSaveChangesQuestion, mrNo);
  EXPECT_TRUE(main.LoadInstrument(file));
  EXPECT_EQ(main.Document().Voice(3).Name, "Three");
}

TEST_F(FilesTest, AForeignOrCutFileChangesNothing) {
  TfMain& main = Start();
  const fs::path good = SavedInstrument(main, "good.kvi");
  const Bytes whole = FileBytes(good);
  const fs::path foreign = dir_ / "foreign.kvi";
  Bytes other = whole;
  other[0] = 'X';
  WriteBytes(foreign, other);
  const fs::path cut = dir_ / "cut.kvi";
  WriteBytes(cut, Bytes(whole.begin(), whole.begin() + static_cast<std::ptrdiff_t>(whole.size() / 2)));
  main.Document().Voice(3).Name = "Mine";
  main.SetInstrumentUpToDate(true);
  const int presets = main.Document().WavePresets.Count();

  prompts_.expectMessage(kWrongInstrumentFile);
  EXPECT_FALSE(main.LoadInstrument(foreign));
  prompts_.expectMessage(kDamagedInstrumentFile);
  EXPECT_FALSE(main.LoadInstrument(cut));
  EXPECT_EQ(main.Document().Voice(3).Name, "Mine");
  EXPECT_EQ(main.Document().CurrentInstrumentFile, good);
  EXPECT_EQ(main.Document().WavePresets.Count(), presets);
  EXPECT_EQ(main.MRUFileList->Items(), std::vector<std::string>{good.string()});
  // Save goes to the old file, never over the foreign one.
  FindAction(main.MenuInstrument, "&Save")->trigger();
  EXPECT_EQ(FileBytes(foreign), other);
}

TEST_F(FilesTest, ANameClashIsAskedThroughTheNewPresetNameDialog) {
  TfMain& main = Start();
  // A file whose source preset is a new shape named like the library's Sawtooth.
  Bytes b = ReadHexFixture("instrument_v30.hex");
  const fs::path file = dir_ / "clash.kvi";
  WriteBytes(file, b);
  main.SetInstrumentUpToDate(true);
  prompts_.expectPresetName("Sawtooth", std::string("Sawtooth"));  // still taken: asked again
  prompts_.expectPresetName("Sawtooth", std::string("Saw two"));
  EXPECT_TRUE(main.LoadInstrument(file));
  const TWavePresetTable& t = main.Document().WavePresets;
  EXPECT_EQ(t[t.Count()].Name, "Sine");  // the destination's name was free
  EXPECT_EQ(t[main.Document().Voice(1).Morph.SourcePreset].Name, "Saw two");
}

// The new-name dialogs offer the clashing name as the library holds it
// (Windows-1252: "Sägezahn – weich", "Hülle “€”") and store what is typed as
// Windows-1252 bytes; a character the library cannot hold is named at once
// and the name asked again, never stored as '?'.
TEST_F(FilesTest, NewNameDialogsOfferAndStoreWindows1252Names) {
  const std::string sawtooth = "S\xE4gezahn \x96 weich", envelope = "H\xFClle \x93\x80\x94";
  TWavePresetTable presets;
  presets.PushBack(PresetOf(sawtooth, 10));
  SaveWavePresets(dir_ / "kalvora.dap", presets);
  TVolumeEnvelopeTable envelopes;
  envelopes.PushBack(EnvelopeOf(envelope, 100));
  SaveVolumeEnvelopes(dir_ / "kalvora.dav", envelopes);
  const fs::path file = dir_ / "clash.kvi";
  WriteBytes(file, InstrumentWith({{1, PresetOf(sawtooth, 20), PresetOf(sawtooth, 20), EnvelopeOf(envelope, 50)}}));
  TfMain& main = StartWithDialogs();
  main.SetInstrumentUpToDate(true);

  QString offeredLabel, offeredText, refusal, keptText, offeredEnvelope;
  {
    ModalScript script({
        [&](QDialog* d) {
          EXPECT_NE(qobject_cast<TfNewPresetName*>(d), nullptr) << d->objectName().toStdString();
          offeredLabel = d->findChild<QLabel*>("lPresetWaveName")->text();
          offeredText = d->findChild<QLineEdit*>("eNewName")->text();
          SaveScreenshot(d, "files_new_preset_name");
          EXPECT_TRUE(ClippedTexts(d).isEmpty()) << ClippedTexts(d).join(", ").toStdString();
          TypeName(d, QString::fromUtf8("Säge “€” Ω"));
        },
        [&](QDialog* d) {
          refusal = d->findChild<QLabel*>("lText")->text();
          d->findChild<QPushButton*>("bOK")->click();
        },
        [&](QDialog* d) {  // asked again with what was typed, to be mended
          auto* edit = d->findChild<QLineEdit*>("eNewName");
          keptText = edit->text();
          QTest::keyClick(edit, Qt::Key_End);
          QTest::keyClick(edit, Qt::Key_Backspace);
          QTest::keyClick(edit, Qt::Key_Backspace);
          QTest::keyClick(edit, Qt::Key_Return);
        },
        [&](QDialog* d) {
          EXPECT_NE(qobject_cast<TfNewEnvelopeName*>(d), nullptr) << d->objectName().toStdString();
          offeredEnvelope = d->findChild<QLabel*>("lEnvelopeName")->text();
          TypeName(d, QString::fromUtf8("Hülle – neu"));
        },
    });
    EXPECT_TRUE(main.LoadInstrument(file));
  }
  EXPECT_EQ(offeredLabel, QString::fromUtf8("\"Sägezahn – weich\""));
  EXPECT_EQ(offeredText, QString::fromUtf8("Sägezahn – weich"));
  EXPECT_EQ(refusal, QString::fromUtf8("A name can not hold these characters: Ω\nPlease enter the name without them."));
  EXPECT_EQ(keptText, QString::fromUtf8("Säge “€” Ω"));
  EXPECT_EQ(offeredEnvelope, QString::fromUtf8("\"Hülle “€”\""));

  const TInstrumentDocument& doc = main.Document();
  ASSERT_EQ(doc.WavePresets.Count(), 2);  // the destination's copy is the new entry
  EXPECT_EQ(doc.WavePresets[2].Name, "S\xE4ge \x93\x80\x94");
  EXPECT_EQ(doc.Voice(1).Morph.SourcePreset, 2);
  EXPECT_EQ(doc.Voice(1).Morph.DestPreset, 2);
  ASSERT_EQ(doc.VolumeEnvelopes.Count(), 2);
  EXPECT_EQ(doc.VolumeEnvelopes[2].Name, "H\xFClle \x96 neu");
  // The library files keep the bytes.
  main.SaveWavePresets();
  main.SaveVolumeEnvelopes();
  TWavePresetTable storedPresets;
  LoadWavePresets(dir_ / "kalvora.dap", storedPresets);
  ASSERT_EQ(storedPresets.Count(), 2);
  EXPECT_EQ(storedPresets[1].Name, sawtooth);
  EXPECT_EQ(storedPresets[2].Name, "S\xE4ge \x93\x80\x94");
  TVolumeEnvelopeTable storedEnvelopes;
  LoadVolumeEnvelopes(dir_ / "kalvora.dav", storedEnvelopes);
  ASSERT_EQ(storedEnvelopes.Count(), 2);
  EXPECT_EQ(storedEnvelopes[2].Name, "H\xFClle \x96 neu");
}

// A full table drops a voice's new copy and the voice uses entry 1; one
// message after the load names the voices and the entries they lost. A name
// clash in a full table is not asked about: the copy is dropped anyway.
TEST_F(FilesTest, LoadingIntoFullTablesNamesTheVoicesThatLostTheirEntries) {
  const TWavePreset fresh = PresetOf("Neu \x96 eins", 3), clash = PresetOf("P002", 4);
  // Equal to library preset 5 and envelope 7 under other names.
  TWavePreset libraryFive = PresetOf("Anders", 75);
  libraryFive.Data[0] = 5;
  libraryFive.Data[1] = 0;
  const TVolumeEnvelope same = EnvelopeOf("Gleich", 7), hull = EnvelopeOf("H\xFClle \x80", 9, 3);
  std::vector<TVoiceCopies> voices;
  for (int v : {1, 2, 3, 4}) voices.push_back({v, fresh, fresh, same});
  voices.push_back({6, fresh, clash, same});
  voices.push_back({9, libraryFive, libraryFive, hull});
  voices.push_back({10, libraryFive, libraryFive, hull});
  voices.push_back({12, libraryFive, libraryFive, same});
  voices.push_back({20, fresh, fresh, hull});
  const fs::path file = dir_ / "full.kvi";
  WriteBytes(file, InstrumentWith(voices));

  struct Case {
    int presets, envelopes;
    bool askedForP002;
    const char* message;  // UTF-8; empty: none
  } cases[] = {
      {254, 254, false,
       "The wave preset and volume envelope libraries are full (254 entries each).\n"
       "These voices use preset 1 \"Sägezahn\" and envelope 1 \"E001\" in place of the entries named:\n"
       "Voices 1-4: source and destination \"Neu – eins\"\n"
       "Voice 6: source \"Neu – eins\", destination \"P002\"\n"
       "Voices 9, 10: envelope \"Hülle €\"\n"
       "Voice 20: source and destination \"Neu – eins\", envelope \"Hülle €\""},
      // The first new envelope fills the table; the others are equal to it.
      {254, 253, false,
       "The wave preset library is full (254 presets).\n"
       "These voices use preset 1 \"Sägezahn\" in place of the entries named:\n"
       "Voices 1-4, 20: source and destination \"Neu – eins\"\n"
       "Voice 6: source \"Neu – eins\", destination \"P002\""},
      {252, 254, true,
       "The volume envelope library is full (254 envelopes).\n"
       "These voices use envelope 1 \"E001\" in place of the entries named:\n"
       "Voices 9, 10, 20: envelope \"Hülle €\""},
      {10, 10, true, ""},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::to_string(c.presets) + " presets, " + std::to_string(c.envelopes) + " envelopes");
    windows_ = {};
    WriteLibraries(dir_, c.presets, c.envelopes);
    TfMain& main = Start();
    main.SetInstrumentUpToDate(true);
    if (c.askedForP002) prompts_.expectPresetName("P002", std::string("P002 neu"));
    if (*c.message) prompts_.expectMessage(c.message);
    EXPECT_TRUE(main.LoadInstrument(file));
    EXPECT_TRUE(prompts_.allShown());
    const TInstrumentDocument& doc = main.Document();
    EXPECT_EQ(doc.WavePresets.Count(), std::min(c.presets + 2, 254));
    const bool presetsFull = c.presets == 254, envelopesFull = c.envelopes == 254;
    EXPECT_EQ(doc.Voice(1).Morph.SourcePreset == 1, presetsFull);
    EXPECT_EQ(doc.Voice(6).Morph.DestPreset == 1, presetsFull);
    EXPECT_EQ(doc.Voice(9).Volume.Envelope == 1, envelopesFull);
    // Voices whose copies equal library entries keep those entries.
    EXPECT_EQ(doc.Voice(12).Morph.SourcePreset, 5);
    EXPECT_EQ(doc.Voice(12).Volume.Envelope, 7);
    EXPECT_EQ(doc.WavePresetsModified, !presetsFull);
  }
}

// Thirty-two voices that each lost three entries of the longest names: one
// line a voice, and the message box shows every line whole on a common
// screen (the build runs this test on a 1366 x 768 screen; the offscreen
// default of 800 x 600 holds no such box).
TEST_F(FilesTest, TheMessageOfAFullTableStaysLegibleForThirtyTwoVoices) {
  if (QApplication::primaryScreen()->availableSize().width() < 1024)
    GTEST_SKIP() << "needs a screen of at least 1024 pixels across";
  WriteLibraries(dir_, 254, 254);
  std::vector<TVoiceCopies> voices;
  for (int v = 1; v <= 32; ++v) {
    const std::string n = std::to_string(100 + v);
    voices.push_back({v, PresetOf("Quelle mit sehr langem Name " + n.substr(1), static_cast<std::uint8_t>(v)),
                      PresetOf("Ziel mit einem recht langen " + n.substr(1), static_cast<std::uint8_t>(v + 40)),
                      EnvelopeOf("H\xFClle sehr lang " + n, static_cast<std::uint8_t>(v), 3)});
  }
  const fs::path file = dir_ / "many.kvi";
  WriteBytes(file, InstrumentWith(voices));
  TfMain& main = Start();
  main.SetInstrumentUpToDate(true);
  prompts_.expectMessage();
  EXPECT_TRUE(main.LoadInstrument(file));
  ASSERT_FALSE(prompts_.shown().empty());
  const std::string text = prompts_.shown().back().text;
  EXPECT_EQ(std::count(text.begin(), text.end(), '\n'), 33);  // two lines of reason, then a line a voice
  EXPECT_NE(text.find("\nVoice 32: source \"Quelle mit sehr langem Name 32\", destination \"Ziel mit einem recht langen 32\", "
                      "envelope \"Hülle sehr lang 132\""),
            std::string::npos)
      << text;
  TfMessage& box = *windows_.Message;
  box.SetMessageText(QString::fromStdString(text));
  box.show();
  QApplication::processEvents();
  SaveScreenshot(&box, "files_full_tables_message");
  EXPECT_TRUE(ClippedTexts(&box).isEmpty()) << ClippedTexts(&box).join(", ").toStdString();
  EXPECT_TRUE(box.screen()->availableGeometry().contains(box.frameGeometry()));
  box.hide();
}

TEST_F(FilesTest, AValueTheFileCannotHoldIsRefusedWithAMessage) {
  TfMain& main = Start();
  main.Document().Voice(1).Timing.Repeats = 1000;
  main.Document().Voice(1).Name = "Bass \x93" "deep\x94 \x80";  // Windows-1252, as names are kept
  const fs::path file = dir_ / "big.kvi";
  prompts_.expectMessage(
      "Voice 1 \"Bass \u201Cdeep\u201D \u20AC\": it has more than 255 repeats, which the file holds; "
      "the instrument was not saved.");
  EXPECT_FALSE(main.SaveInstrument(file));
  EXPECT_FALSE(fs::exists(file));
}

TEST_F(FilesTest, SaveSampleWritesTheBufferAndStartsTheConverter) {
  TfMain& main = Start();
  main.Document().ResultBuffer = {1, 0, 0xfe, 0xff, 7};
  main.Document().ResultQuality = 0;  // the buffer as computed at 11025 Hz
  main.Document().GlobalSettings().SetQuality(0);
  main.SetSampleUpToDate(true);  // saved as it stands, not computed again
  const fs::path program = dir_ / "conv";
  std::ofstream(program) << "#!/bin/sh\n";
  main.Settings().AutoConvert = true;
  main.Settings().AutoConvertProgram = program.string();
  main.Settings().AutoConvertOptions = "-q \"a b\"";
  fs::create_directories(dir_ / "out dir");
  const fs::path wav = dir_ / "out dir" / "bass; x.wav";
  dialogs_.expectSave(wav.string());
  emit main.bSave->clicked();
  EXPECT_EQ(dialogs_.shown().back().filter, "Windows PCM WAV|*.wav|All Files|*.*");
  EXPECT_EQ(dialogs_.shown().back().defaultExt, "wav");
  EXPECT_TRUE(dialogs_.shown().back().askOverwrite);
  EXPECT_EQ(FileBytes(wav), ReadHexFixture("wav_quality0.hex"));
  ASSERT_EQ(processes_.starts.size(), 1u);
  EXPECT_EQ(processes_.starts[0].program, program.string());
  EXPECT_EQ(processes_.starts[0].arguments, (std::vector<std::string>{"bass; x.wav", "-q", "a b"}));
  EXPECT_EQ(processes_.starts[0].folder, (dir_ / "out dir").string());
  EXPECT_EQ(main.Document().Status, TDocumentStatus::Ready);

  // A missing converter is skipped without a word; cancel writes nothing.
  main.Settings().AutoConvertProgram = (dir_ / "missing").string();
  dialogs_.expectSave(wav.string());
  main.SaveSampleCommand();
  EXPECT_EQ(processes_.starts.size(), 1u);
  dialogs_.expectSave(std::nullopt);
  main.SaveSampleCommand();

  main.SetStatus(TDocumentStatus::Playing);
  main.SaveSampleCommand();
  EXPECT_EQ(main.StatusText(), kCanNotSave);
  main.SetStatus(TDocumentStatus::Ready);
}

TEST_F(FilesTest, TheConverterGetsItsArgumentsWithoutAShell) {
  const fs::path script = dir_ / "record.sh";
  const fs::path record = dir_ / "args.txt";
  std::ofstream(script) << "#!/bin/sh\nfor a in \"$@\"; do printf '[%s]\\n' \"$a\"; done > '" << record.string()
                        << ".tmp'\npwd >> '" << record.string() << ".tmp'\nmv '" << record.string() << ".tmp' '"
                        << record.string() << "'\n";
  fs::permissions(script, fs::perms::owner_all);
  fs::create_directories(dir_ / "my folder");
  const TConverterCall call = ConverterCall(script.string(), dir_ / "my folder" / "a b; rm x.wav", "-q \"a b\"");
  kalvora::platform::QtProcessStarter starter;
  ASSERT_TRUE(starter.startDetached(call.Program, call.Arguments, call.Folder));
  for (int i = 0; i < 100 && !fs::exists(record); ++i) std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_EQ(ReadText(record), "[a b; rm x.wav]\n[-q]\n[a b]\n" + (dir_ / "my folder").string() + "\n");
}

// The component on its own.
TEST(MRUFileList, KeepsTheMostRecentEntriesInItsMenu) {
  QMenu menu("Instrument");
  menu.addAction("&Load");
  TMRUFileList list;
  list.SetMaximum(10);
  list.SetUseSubmenu(true);
  list.SetSubmenuName("Load Again");
  list.SetFileMenu(&menu);
  EXPECT_EQ(menu.actions().size(), 1);  // an empty list adds no separator
  for (int i = 1; i <= 11; ++i) list.AddItem("/f" + std::to_string(i) + ".kvi");
  ASSERT_EQ(list.Items().size(), 10u);
  EXPECT_EQ(list.Items().front(), "/f11.kvi");
  EXPECT_EQ(list.Items().back(), "/f2.kvi");
  // Already listed: moved to the top.
  list.AddItem("/f9.kvi");
  EXPECT_EQ(list.Items().front(), "/f9.kvi");
  EXPECT_EQ(list.Items()[1], "/f11.kvi");
  EXPECT_EQ(list.Items().size(), 10u);

  ASSERT_EQ(menu.actions().size(), 3);
  EXPECT_TRUE(menu.actions()[1]->isSeparator());
  QMenu* sub = menu.actions()[2]->menu();
  ASSERT_NE(sub, nullptr);
  EXPECT_EQ(sub->title(), "Load Again");
  ASSERT_EQ(sub->actions().size(), 10);
  EXPECT_EQ(sub->actions()[0]->text(), "&1 /f9.kvi");
  EXPECT_EQ(sub->actions()[1]->text(), "&2 /f11.kvi");
  EXPECT_EQ(MRUItemNumber(sub->actions()[1]), 2);

  std::vector<std::string> clicked;
  list.OnMRUItemClick = [&](QAction*, const std::string& f) { clicked.push_back(f); };
  list.RemoveOnClick = true;
  sub->actions()[1]->trigger();
  EXPECT_EQ(clicked, std::vector<std::string>{"/f11.kvi"});
  EXPECT_EQ(list.Items().size(), 9u);

  list.SetMaximum(2);
  EXPECT_EQ(list.Items(), (std::vector<std::string>{"/f9.kvi", "/f10.kvi"}));
  list.SetUseSubmenu(false);
  ASSERT_EQ(menu.actions().size(), 4);  // Load, separator, two items
  EXPECT_EQ(menu.actions()[3]->text(), "&2 /f10.kvi");
  QApplication::processEvents();
}

class MRUFileListFiles : public TempFolderTest {};

// Names that differ only in letter case are two files on this system: each
// has its own entry. Two names are one entry when their bytes are equal or
// when both are full paths, exist and are the same file on disk (a hard link
// or a symbolic link stands in for a folder that ignores case); the listed
// spelling stays. A name that is not a full path (as earlier builds listed
// names typed on the command line) matches only its own bytes, even where
// the current folder holds that file. Names are taken in the folder
// (which is the current one) unless they begin with "rel:", which marks a
// relative name listed as it stands.
TEST_F(MRUFileListFiles, OneEntryPerFile) {
  enum Kind { File, HardLink, SymLink };
  struct Disk {
    std::string name;
    Kind kind;
    std::string target;  // of a link
  };
  struct Case {
    const char* what;
    std::vector<Disk> disk;
    std::vector<std::string> listed;  // the list before, entry 1 first
    std::vector<std::string> added;   // in this order
    std::vector<std::string> expected;
  } cases[] = {
      {"other case, neither exists", {}, {}, {"Song.kvi", "song.kvi"}, {"song.kvi", "Song.kvi"}},
      {"other case, two files", {{"Song.kvi", File, ""}, {"song.kvi", File, ""}}, {},
       {"Song.kvi", "song.kvi"}, {"song.kvi", "Song.kvi"}},
      {"other case, only the first exists", {{"Song.kvi", File, ""}}, {}, {"Song.kvi", "song.kvi"},
       {"song.kvi", "Song.kvi"}},
      {"same bytes, missing", {}, {}, {"a.kvi", "b.kvi", "a.kvi"}, {"a.kvi", "b.kvi"}},
      {"same bytes, existing", {{"a.kvi", File, ""}}, {}, {"a.kvi", "b.kvi", "a.kvi"}, {"a.kvi", "b.kvi"}},
      {"hard link in other case", {{"song.kvi", File, ""}, {"Song.kvi", HardLink, "song.kvi"}}, {},
       {"song.kvi", "b.kvi", "Song.kvi"}, {"song.kvi", "b.kvi"}},
      {"symbolic link", {{"song.kvi", File, ""}, {"link.kvi", SymLink, "song.kvi"}}, {},
       {"link.kvi", "b.kvi", "song.kvi"}, {"link.kvi", "b.kvi"}},
      {"the same file through another folder", {{"song.kvi", File, ""}}, {}, {"song.kvi", "b.kvi", "sub/../song.kvi"},
       {"song.kvi", "b.kvi"}},
      {"a link to a missing file", {{"link.kvi", SymLink, "gone.kvi"}}, {}, {"gone.kvi", "link.kvi"},
       {"link.kvi", "gone.kvi"}},
      {"the entry with equal bytes moves first", {{"song.kvi", File, ""}, {"Song.kvi", HardLink, "song.kvi"}},
       {"Song.kvi", "b.kvi", "song.kvi"}, {"song.kvi"}, {"song.kvi", "Song.kvi", "b.kvi"}},
      {"a relative entry stays when its file is added by full path", {{"song.kvi", File, ""}},
       {"b.kvi", "rel:song.kvi"}, {"song.kvi"}, {"song.kvi", "b.kvi", "rel:song.kvi"}},
      {"a relative name added beside the full path", {{"song.kvi", File, ""}}, {"song.kvi", "b.kvi"},
       {"rel:song.kvi"}, {"rel:song.kvi", "song.kvi", "b.kvi"}},
      {"two relative spellings of one file", {{"song.kvi", File, ""}}, {"rel:sub/../song.kvi"},
       {"rel:./song.kvi"}, {"rel:./song.kvi", "rel:sub/../song.kvi"}},
      {"a relative link", {{"song.kvi", File, ""}, {"link.kvi", SymLink, "song.kvi"}}, {"rel:link.kvi"},
       {"song.kvi"}, {"song.kvi", "rel:link.kvi"}},
      {"a relative entry moves on equal bytes", {{"song.kvi", File, ""}}, {"b.kvi", "rel:song.kvi"},
       {"rel:song.kvi"}, {"rel:song.kvi", "b.kvi"}},
  };
  auto full = [this](const std::vector<std::string>& names) {
    std::vector<std::string> out;
    for (const std::string& n : names) out.push_back(n.rfind("rel:", 0) == 0 ? n.substr(4) : (dir_ / n).string());
    return out;
  };
  const fs::path started = fs::current_path();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove_all(dir_);
    fs::create_directories(dir_ / "sub");
    for (const Disk& d : c.disk) {
      if (d.kind == File) std::ofstream(dir_ / d.name) << d.name;
      if (d.kind == HardLink) fs::create_hard_link(dir_ / d.target, dir_ / d.name);
      if (d.kind == SymLink) fs::create_symlink(d.target, dir_ / d.name);
    }
    fs::current_path(dir_);
    TMRUFileList list;
    list.SetMaximum(10);
    list.SetItems(full(c.listed));
    for (const std::string& name : full(c.added)) list.AddItem(name);
    EXPECT_EQ(list.Items(), full(c.expected));
    fs::current_path(started);
  }
}

}  // namespace

namespace {

TEST(HelpWindow, OpensTheTopicOfAKeywordFromTheBuiltHelpFile) {
  const std::string file = (QCoreApplication::applicationDirPath() + "/kalvora.hlp").toStdString();
  kalvora::platform::QtHelp help(file);
  help.showTopic("otherwindows_options");
  QTextBrowser* browser = nullptr;
  for (QWidget* w : QApplication::topLevelWidgets())
    if (auto* b = qobject_cast<QTextBrowser*>(w)) browser = b;
  ASSERT_NE(browser, nullptr);
  EXPECT_TRUE(browser->toHtml().contains("otherwindows_options"));
  EXPECT_TRUE(browser->toPlainText().contains("Kalvora builds a sound"));
  EXPECT_TRUE(SaveScreenshot(browser, "files_help_window"));
}

}  // namespace

namespace {

TEST_F(FilesTest, OddSettingsLoadAndSurviveTwoRuns) {
  fs::copy_file(TestDataPath("settings_odd.dai"), dir_ / "kalvora.dai");
  const std::string nonAscii = "/music/b\xc3\xa4ss \xe9.kvi";
  {
    TfMain& main = Start();
    const TMainSettings& s = main.Settings();
    EXPECT_EQ(s.Starts, 1);               // not a number: the default, then one more
    EXPECT_DOUBLE_EQ(s.OpenTime, 0.5);    // a decimal comma
    EXPECT_DOUBLE_EQ(s.CalculationTime, 0.25);
    EXPECT_TRUE(s.ShowHints);             // any non-zero integer
    EXPECT_EQ(s.BackgroundMain.TileMode, tmNone);  // Mode 9 leaves it as it was
    EXPECT_EQ(s.AutoConvertProgram, "/opt/my conv");
    EXPECT_EQ(main.MRUFileList->Items(), (std::vector<std::string>{nonAscii, "/music/two.kvi"}));
    // A window whose x is -1 keeps its designed left; its y is restored.
    QWidget probe;
    probe.resize(100, 80);
    probe.move(50, 60);
    main.RestoreFormPosition(&probe, "WaveGen");
    EXPECT_EQ(probe.x(), 50);
    EXPECT_EQ(probe.y(), 33);
    main.MRUFileList->AddItem("/music/three.kvi");
    main.SetInstrumentUpToDate(true);
    EXPECT_TRUE(main.close());
  }
  windows_ = {};
  for (int run = 0; run < 2; ++run) {
    TfMain& main = Start();
    EXPECT_EQ(main.MRUFileList->Items(), (std::vector<std::string>{"/music/three.kvi", nonAscii, "/music/two.kvi"}));
    EXPECT_EQ(main.Settings().Starts, 2 + run);
    main.SetInstrumentUpToDate(true);
    EXPECT_TRUE(main.close());
    windows_ = {};
  }
  TIniFile ini((dir_ / "kalvora.dai").string());
  EXPECT_EQ(ini.ReadString("Options", "Future Key", ""), "kept value");
  EXPECT_EQ(ini.ReadString("Unknown Section", "some key", ""), "some value");
  EXPECT_EQ(ini.ReadString("General", "Open Time", ""), "0.5");  // always with a point
  EXPECT_EQ(ini.ReadString("MRU File List", "#2", ""), nonAscii);
  // The places of the long-lived windows.
  for (const char* key : {"Main x", "Main w", "ViewWave x", "ViewWave h", "WaveGen y", "InGlob x", "LoadInst y"})
    EXPECT_NE(ini.ReadString("Positions", key, "<absent>"), "<absent>") << key;
}

}  // namespace

namespace {

TEST_F(FilesTest, TheCommandLineInstrumentIsLoadedAtStart) {
  UseFixtureLibraries();
  const fs::path file = dir_ / "start.kvi";
  WriteBytes(file, ReadHexFixture("instrument_v30_one_voice.hex"));
  // A new instrument counts as unsaved from the start, so the load asks.
  prompts_.expectQuestion(kSaveChangesQuestion, mrNo);
  TfMain& main = Start({file.string()});
  EXPECT_EQ(main.Document().Voice(2).Name, "Lead");
  EXPECT_EQ(main.windowTitle(), "Kalvora - start.kvi");
  EXPECT_TRUE(main.IsInstrumentUpToDate());
  // Not while a calculation runs.
  main.SetStatus(TDocumentStatus::Working);
  EXPECT_FALSE(main.LoadInstrument(file));
  EXPECT_EQ(main.StatusText(), kCanNotLoad);
  main.SetStatus(TDocumentStatus::Ready);
}

// A name typed relative to the starting folder is kept absolute, as bytes:
// "Load Again" in a run started from another folder, which holds a file of
// the same name, still loads the first one.
TEST_F(FilesTest, TheCommandLineInstrumentIsRememberedByItsAbsolutePath) {
  UseFixtureLibraries();
  const fs::path folder = dir_ / "songs \xE9";
  fs::create_directory(folder);
  const fs::path file = folder / "b\xE9ss.kvi";
  WriteBytes(file, ReadHexFixture("instrument_v30_one_voice.hex"));
  std::ofstream(dir_ / "b\xE9ss.kvi") << "not an instrument";
  struct BackWhenDone {
    fs::path folder = fs::current_path();
    ~BackWhenDone() { fs::current_path(folder); }
  } back;
  for (const std::string& typed : {std::string("b\xE9ss.kvi"), std::string("./b\xE9ss.kvi"), file.string()}) {
    fs::remove(dir_ / "kalvora.dai");
    fs::current_path(folder);
    prompts_.expectQuestion(kSaveChangesQuestion, mrNo);
    {
      TfMain& main = Start({typed});
      EXPECT_EQ(main.Document().Voice(2).Name, "Lead") << typed;
      EXPECT_EQ(main.Document().CurrentInstrumentFile, file) << typed;
      EXPECT_TRUE(main.close());
      windows_ = {};
    }
    TIniFile ini((dir_ / "kalvora.dai").string());
    EXPECT_EQ(ini.ReadString("MRU File List", "#1", ""), file.string()) << typed;

    fs::current_path(dir_);
    TfMain& main = Start();
    main.Document().Voice(2).Name = "Changed";
    main.SetInstrumentUpToDate(true);
    ASSERT_EQ(main.MenuLoadAgain->actions().size(), 1);
    main.MenuLoadAgain->actions()[0]->trigger();
    QApplication::processEvents();
    EXPECT_EQ(main.Document().Voice(2).Name, "Lead") << typed;
    EXPECT_EQ(main.Document().CurrentInstrumentFile, file) << typed;
    windows_ = {};
  }
}

// Earlier builds listed names as typed on the command line, such as
// "song.kvi". Opening that file by its full path lists the full path first
// and leaves the old entry alone, so "Load Again" started from another
// folder, holding another song.kvi, loads the file opened. The old entry
// then opens the file of the current folder, whose full path takes its place;
// a save under a relative name is listed by its full path too.
TEST_F(FilesTest, AnOldRelativeEntryDoesNotStandForAFullPath) {
  UseFixtureLibraries();
  const fs::path d = dir_ / "d", e = dir_ / "e";
  fs::create_directories(d);
  fs::create_directories(e);
  WriteBytes(d / "song.kvi", ReadHexFixture("instrument_v30_one_voice.hex"));  // voice 2 "Lead"
  Bytes other = ReadHexFixture("instrument_v30_one_voice.hex");
  const std::string lead = "Lead";
  const auto name = std::search(other.begin(), other.end(), lead.begin(), lead.end());
  ASSERT_NE(name, other.end());
  std::copy_n("Solo", 4, name);
  WriteBytes(e / "song.kvi", other);
  {
    TIniFile ini((dir_ / "kalvora.dai").string());
    ini.WriteString("MRU File List", "#1", "/elsewhere/x.kvi");
    ini.WriteString("MRU File List", "#2", "song.kvi");
    ini.UpdateFile();
  }
  struct BackWhenDone {
    fs::path folder = fs::current_path();
    ~BackWhenDone() { fs::current_path(folder); }
  } back;
  const std::string song = (d / "song.kvi").string();
  fs::current_path(d);
  {
    TfMain& main = Start();
    ASSERT_EQ(main.MRUFileList->Items(), (std::vector<std::string>{"/elsewhere/x.kvi", "song.kvi"}));
    main.SetInstrumentUpToDate(true);
    ASSERT_TRUE(main.LoadInstrumentFile(d / "song.kvi"));
    EXPECT_EQ(main.MRUFileList->Items(), (std::vector<std::string>{song, "/elsewhere/x.kvi", "song.kvi"}));
    EXPECT_TRUE(main.close());
    windows_ = {};
  }
  EXPECT_EQ(TIniFile((dir_ / "kalvora.dai").string()).ReadString("MRU File List", "#1", ""), song);

  fs::current_path(e);
  TfMain& main = Start();
  main.SetInstrumentUpToDate(true);
  ASSERT_EQ(main.MenuLoadAgain->actions().size(), 3);
  main.MenuLoadAgain->actions()[0]->trigger();
  QApplication::processEvents();
  EXPECT_EQ(main.Document().Voice(2).Name, "Lead");
  EXPECT_EQ(main.Document().CurrentInstrumentFile, d / "song.kvi");

  ASSERT_EQ(main.MenuLoadAgain->actions().size(), 3);
  EXPECT_EQ(main.MenuLoadAgain->actions()[2]->text(), "&3 song.kvi");
  main.MenuLoadAgain->actions()[2]->trigger();
  QApplication::processEvents();
  EXPECT_EQ(main.Document().Voice(2).Name, "Solo");
  EXPECT_EQ(main.Document().CurrentInstrumentFile, e / "song.kvi");
  EXPECT_EQ(main.MRUFileList->Items(), (std::vector<std::string>{(e / "song.kvi").string(), song, "/elsewhere/x.kvi"}));
  ASSERT_EQ(main.MenuLoadAgain->actions().size(), 3);
  EXPECT_EQ(main.MenuLoadAgain->actions()[0]->text(), QString::fromStdString("&1 " + (e / "song.kvi").string()));

  ASSERT_TRUE(main.SaveInstrumentFile("saved.kvi"));
  EXPECT_EQ(main.Document().CurrentInstrumentFile, e / "saved.kvi");
  EXPECT_EQ(main.MRUFileList->Items().front(), (e / "saved.kvi").string());
  windows_ = {};
}

// A full list of ten written by an earlier build, entry 4 "song.kvi" (not a
// full path): Load Again on it puts the file's full path at the top in its
// place, and the nine others stay in their order, the last one included.
// When the full path is listed as well, the two become one entry at the top
// and nothing else goes. A load that fails or is cancelled leaves the list
// as it was, the old entry included. The settings file keeps what the menu
// shows.
TEST_F(FilesTest, LoadAgainOnAnOldRelativeEntryOfAFullListLosesNoOtherEntry) {
  UseFixtureLibraries();
  enum Disk { Instrument, Missing, Folder, Foreign };
  struct Case {
    const char* what;
    Disk disk;
    bool fullPathListed;  // as entry 7, in place of an unrelated one
    bool cancelled;       // the instrument has changes; the question is cancelled
    bool message;         // the failed load says why
    bool loads;
  } cases[] = {
      {"loads", Instrument, false, false, false, true},
      {"loads, its full path listed too", Instrument, true, false, false, true},
      {"the file is gone", Missing, false, false, false, false},
      {"the file is gone, its full path listed too", Missing, true, false, false, false},
      {"a folder of that name", Folder, false, false, true, false},
      {"not an instrument", Foreign, false, false, true, false},
      {"the question to save is cancelled", Instrument, false, true, false, false},
  };
  struct BackWhenDone {
    fs::path folder = fs::current_path();
    ~BackWhenDone() { fs::current_path(folder); }
  } back;
  int n = 0;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const fs::path folder = dir_ / ("case " + std::to_string(++n));
    fs::create_directories(folder);
    const fs::path song = folder / "song.kvi";
    if (c.disk == Instrument) WriteBytes(song, ReadHexFixture("instrument_v30_one_voice.hex"));
    if (c.disk == Folder) fs::create_directory(song);
    if (c.disk == Foreign) std::ofstream(song) << "not an instrument";
    std::vector<std::string> listed;
    for (int i = 1; i <= 10; ++i) listed.push_back("/elsewhere/" + std::to_string(i) + ".kvi");
    listed[3] = "song.kvi";
    if (c.fullPathListed) listed[6] = song.string();
    fs::remove(dir_ / "kalvora.dai");
    {
      TIniFile ini((dir_ / "kalvora.dai").string());
      for (std::size_t i = 0; i < listed.size(); ++i)
        ini.WriteString("MRU File List", "#" + std::to_string(i + 1), listed[i]);
      ini.UpdateFile();
    }
    std::vector<std::string> expected = listed;
    if (c.loads) {
      expected.erase(std::remove_if(expected.begin(), expected.end(),
                                    [&](const std::string& e) { return e == "song.kvi" || e == song.string(); }),
                     expected.end());
      expected.insert(expected.begin(), song.string());
    }

    fs::current_path(folder);
    TfMain& main = Start();
    ASSERT_EQ(main.MRUFileList->Items(), listed);
    main.SetInstrumentUpToDate(!c.cancelled);
    if (c.cancelled) prompts_.expectQuestion(kSaveChangesQuestion, mrCancel);
    if (c.message) prompts_.expectMessage();
    ASSERT_NE(main.MenuLoadAgain, nullptr);
    QAction* entry = main.MenuLoadAgain->actions().value(3);
    ASSERT_NE(entry, nullptr);
    ASSERT_EQ(entry->text(), "&4 song.kvi");
    entry->trigger();
    QApplication::processEvents();
    EXPECT_TRUE(prompts_.allShown());
    EXPECT_EQ(main.Document().CurrentInstrumentFile, c.loads ? song : fs::path());
    EXPECT_EQ(main.MRUFileList->Items(), expected);
    ASSERT_NE(main.MenuLoadAgain, nullptr);
    std::vector<std::string> shown, numbered;
    for (QAction* a : main.MenuLoadAgain->actions()) shown.push_back(a->text().toStdString());
    for (std::size_t i = 0; i < expected.size(); ++i) numbered.push_back("&" + std::to_string(i + 1) + " " + expected[i]);
    EXPECT_EQ(shown, numbered);

    main.SetInstrumentUpToDate(true);
    EXPECT_TRUE(main.close());
    windows_ = {};
    TIniFile ini((dir_ / "kalvora.dai").string());
    std::vector<std::string> stored;  // "?" ends the list
    for (int i = 1; i <= 11; ++i) {
      const std::string value = ini.ReadString("MRU File List", "#" + std::to_string(i), "?");
      if (value == "?") break;
      stored.push_back(value);
    }
    EXPECT_EQ(stored, expected);
  }
}

}  // namespace
