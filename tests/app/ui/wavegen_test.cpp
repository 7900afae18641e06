// The voice editor offscreen: each control reaches its voice field, marks
// the sample out of date and records its step; refreshing is a pure view
// update; links copy only on a change; read-outs, drawings and legibility.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabBar>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <optional>
#include <random>
#include <tuple>

#include "Legibility.h"
#include "MainFixture.h"
#include "views/PaintBox.h"
#include "components/LrsBmp.h"
#include "formats/InstrumentFile.h"
#include "views/BoundedMemo.h"
#include "views/Windows1252.h"
#include "windows/EnvelopeEditors.h"
#include "windows/InGlob.h"
#include "windows/FreeEdit.h"
#include "windows/MacroRec.h"
#include "windows/Managers.h"
#include "windows/Tools.h"
#include "windows/WaveGen.h"
#include "windows/dialogs/VoiceDialogs.h"

using namespace kalvora::test;

namespace {

struct FakeRecorder : IMacroRecorder {
  std::vector<std::tuple<int, std::string>> steps;
  void RecordIntStep(int code, std::int32_t v) override { steps.emplace_back(code, std::to_string(v)); }
  void RecordBoolStep(int code, bool v) override { steps.emplace_back(code, v ? "true" : "false"); }
  void RecordTextStep(int code, const std::string& t) override { steps.emplace_back(code, t); }
};

class WaveGenTest : public MainTest {
 protected:
  TfWaveGen& Editor() {
    TfMain& main = Start();
    main_ = &main;
    windows_.WaveGen->SetRecorder(&rec_);
    return *windows_.WaveGen;
  }
  TVoice& Voice() { return main_->Document().Voice(main_->Document().CurrentVoice); }
  TfMain* main_ = nullptr;
  FakeRecorder rec_;
};

TEST_F(WaveGenTest, EveryControlReachesItsFieldAndRecordsItsStep) {
  TfWaveGen& w = Editor();
  TInstrumentDocument& doc = main_->Document();
  doc.Recording = true;
  struct Case {
    const char* control;
    std::function<void()> act;
    std::function<int(const TVoice&)> field;
    int value;
    int step;
    std::string recorded;
  };
  const std::vector<Case> cases = {
      {"cbActive", [&] { w.cbActive->click(); }, [](const TVoice& v) { return v.Active; }, 0, 0, "false"},
      {"cbKey", [&] { w.cbKey->setCurrentIndex(45); }, [](const TVoice& v) { return v.Pitch.Note; }, 45, 2, "45"},
      {"sbFTune", [&] { w.sbFTune->setValue(60); }, [](const TVoice& v) { return v.Pitch.Finetune; }, 60, 3, "60"},
      {"seTime", [&] { w.seTime->setValue(250); }, [](const TVoice& v) { return v.Timing.Time; }, 250, 6, "250"},
      {"seRepeats", [&] { w.seRepeats->setValue(7); }, [](const TVoice& v) { return v.Timing.Repeats; }, 7, 7, "7"},
      {"seStartDel", [&] { w.seStartDel->setValue(30); }, [](const TVoice& v) { return v.Timing.StartDelay; }, 30, 8, "30"},
      {"rbRepP", [&] { w.rbRepP->click(); }, [](const TVoice& v) { return v.Timing.RepeatMode; }, 1, 9, "true"},
      {"sbPhase", [&] { w.sbPhase->setValue(149); }, [](const TVoice& v) { return v.Morph.Phase; }, 149, 10, "149"},
      {"sbVolume", [&] { w.sbVolume->setValue(80); }, [](const TVoice& v) { return v.Volume.Volume; }, 80, 12, "80"},
      {"sbVibratoSpeedT", [&] { w.sbVibratoSpeedT->setValue(9); }, [](const TVoice& v) { return v.Vibrato.VibSpeedTo; }, 9, 16, "9"},
      {"sbVibratoDepthT", [&] { w.sbVibratoDepthT->setValue(8); }, [](const TVoice& v) { return v.Vibrato.VibDepthTo; }, 8, 17, "8"},
      {"rbVibDown", [&] { w.rbVibDown->click(); }, [](const TVoice& v) { return v.Vibrato.VibDirection; }, 1, 18, "false"},
      {"cbVibSpeedTMult", [&] { w.cbVibSpeedTMult->click(); }, [](const TVoice& v) { return v.Vibrato.VibSpeedToX100; }, 1, 21, "true"},
      {"cbVibDepthTMult", [&] { w.cbVibDepthTMult->click(); }, [](const TVoice& v) { return v.Vibrato.VibDepthToX100; }, 1, 22, "true"},
      {"cbFilterActive", [&] { w.cbFilterActive->click(); }, [](const TVoice& v) { return v.Lowpass.FilterActive; }, 1, 23, "true"},
      {"cbNoiseS", [&] { w.cbNoiseS->click(); }, [](const TVoice& v) { return v.Morph.NoiseSource; }, 1, 26, "true"},
      {"cbNoiseD", [&] { w.cbNoiseD->click(); }, [](const TVoice& v) { return v.Morph.NoiseDest; }, 1, 27, "true"},
  };
  for (const Case& c : cases) {
    main_->SetSampleUpToDate(true);
    rec_.steps.clear();
    c.act();
    EXPECT_EQ(c.field(Voice()), c.value) << c.control;
    EXPECT_FALSE(main_->IsSampleUpToDate()) << c.control;
    ASSERT_FALSE(rec_.steps.empty()) << c.control;
    EXPECT_EQ(rec_.steps.back(), std::make_tuple(c.step, c.recorded)) << c.control;
  }
  EXPECT_FALSE(w.cbS->isEnabled());  // noise switches off the list

  // Morph preview records but leaves the sample as it is.
  main_->SetSampleUpToDate(true);
  w.sbU->setValue(20);
  EXPECT_EQ(Voice().Morph.MorphPreview, 20);
  EXPECT_TRUE(main_->IsSampleUpToDate());
  EXPECT_EQ(rec_.steps.back(), std::make_tuple(11, std::string("20")));
  // Names record their text and mark only the instrument.
  w.ePartName->setText("Bass");
  EXPECT_EQ(Voice().Name, "Bass");
  EXPECT_EQ(rec_.steps.back(), std::make_tuple(1, std::string("Bass")));
  EXPECT_EQ(w.tsParts->button(0)->text(), "Bass");
  // Relative recording passes the change.
  doc.RecordingRelative = true;
  w.sbVolume->setValue(70);
  EXPECT_EQ(rec_.steps.back(), std::make_tuple(12, std::string("-10")));
  // Presets and envelopes record their names.
  w.cbNoiseS->click();
  w.cbV->setCurrentIndex(0);
  w.bCopyPresetDS->click();
  EXPECT_EQ(rec_.steps.back(), std::make_tuple(4, std::string("Sawtooth")));
}

TEST_F(WaveGenTest, RefreshingRandomVoicesChangesNothing) {
  TfWaveGen& w = Editor();
  TInstrumentDocument& doc = main_->Document();
  std::mt19937 rng(7);
  auto r = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(rng); };
  for (int n = 1; n <= 32; ++n) {
    TVoice& v = doc.Voice(n);
    for (const TVoiceIntField& f : VoiceIntFields())
      if (f.step != stMorphPreview || true) f.set(v, r(f.min, f.max));
    v.Vibrato.VibCopyDown = r(0, 1);
    v.Vibrato.VibCopyUp = r(0, 1);
    v.Lowpass.FilterCopyDown = r(0, 1);
    v.Lowpass.FilterCopyUp = r(0, 1);
    v.Lowpass.FilterActive = false;  // even off with bars away from 0
    v.Name = "Voice " + std::to_string(n);
  }
  const TInstrument before = doc.Instrument;
  doc.Recording = true;
  main_->SetSampleUpToDate(true);
  main_->SetInstrumentUpToDate(true);
  rec_.steps.clear();
  for (int n = 1; n <= 32; ++n) {
    w.tsParts->button(n - 1)->click();
    EXPECT_EQ(w.sbFilterT->value(), doc.Voice(n).Lowpass.FilterTo);
    EXPECT_EQ(w.sbVibratoSpeedT->value(), doc.Voice(n).Vibrato.VibSpeedTo);
  }
  EXPECT_TRUE(doc.Instrument.Voices == before.Voices);
  EXPECT_TRUE(main_->IsSampleUpToDate());
  EXPECT_TRUE(main_->IsInstrumentUpToDate());
  ASSERT_EQ(rec_.steps.size(), 32u);  // only the voice switches
  for (const auto& [code, value] : rec_.steps) EXPECT_EQ(code, 900);
  EXPECT_EQ(std::get<1>(rec_.steps[5]), "1");
}

TEST_F(WaveGenTest, LinksCopyOnlyOnAChange) {
  TfWaveGen& w = Editor();
  main_->Document().Recording = true;
  ASSERT_TRUE(w.bVibCopyDown->isChecked());  // the default voice links down
  w.sbVibratoSpeedF->setValue(40);
  EXPECT_EQ(Voice().Vibrato.VibSpeedTo, 40);
  using S = std::tuple<int, std::string>;
  EXPECT_EQ(rec_.steps, (std::vector<S>{{14, "40"}, {16, "40"}}));
  rec_.steps.clear();
  w.sbVibratoSpeedF->setValue(40);  // no change: nothing happens
  EXPECT_TRUE(rec_.steps.empty());
  w.cbVibSpeedFMult->click();
  EXPECT_TRUE(Voice().Vibrato.VibSpeedToX100);
  w.cbVibDepthTMult->click();  // "to" boxes do not copy upwards
  w.bVibCopyUp->click();
  EXPECT_TRUE(Voice().Vibrato.VibCopyUp);
  // Lowpass bars switch the filter on and off.
  w.sbFilterF->setValue(25);
  EXPECT_TRUE(Voice().Lowpass.FilterActive);
  EXPECT_EQ(Voice().Lowpass.FilterTo, 25);
  w.sbFilterF->setValue(0);
  EXPECT_FALSE(Voice().Lowpass.FilterActive);
  // A popup item sets the bar.
  QMenu* pum = w.Popup("pumFilterF");
  pum->actions()[6]->trigger();
  EXPECT_EQ(Voice().Lowpass.FilterFrom, 250);
  // "Get from ..." copies the field of another voice.
  main_->Document().Voice(3).Volume.Volume = 33;
  QMenu* sub = w.Popup("pumVolume")->actions().back()->menu();
  ASSERT_NE(sub, nullptr);
  emit w.Popup("pumVolume")->aboutToShow();
  EXPECT_EQ(sub->actions()[2]->text().toStdString(), main_->Document().Voice(3).Name);
  sub->actions()[2]->trigger();
  EXPECT_EQ(Voice().Volume.Volume, 33);
  emit w.Popup("pumPartName")->aboutToShow();
  EXPECT_EQ(w.Popup("pumPartName")->actions()[0]->text(), "Default: 01");
}

TEST_F(WaveGenTest, ReadOutsAndDrawings) {
  TfWaveGen& w = Editor();
  w.cbKey->setCurrentIndex(0);
  w.sbFTune->setValue(0);
  EXPECT_EQ(w.bFrequency->text(), "31.73");
  EXPECT_EQ(w.lFTune->text(), "-50");
  w.cbKey->setCurrentIndex(45);
  w.sbFTune->setValue(50);
  EXPECT_EQ(w.bFrequency->text(), "440.00");
  w.sbPhase->setValue(149);
  EXPECT_EQ(w.lPhase->text(), QString::fromUtf8("358 \xC2\xB0"));
  w.seTime->setValue(100);
  w.seRepeats->setValue(3);
  w.seStartDel->setValue(20);
  EXPECT_EQ(w.lTotalLength->text(), "320 ms");
  // The sawtooth preset (sample i = i): point i at (i div 2, (149 - i) div 2).
  w.sbPhase->setValue(0);
  for (int i : {0, 40, 149}) EXPECT_EQ(w.pbS->Picture.pixelColor(i / 2, (149 - i) / 2), QColor(Qt::black)) << i;
  EXPECT_EQ(w.pbS->Picture.pixelColor(74, 74), QColor(0xC0, 0xC0, 0xC0));
  // Full envelope at volume 100: the line along the top edge at y 0.
  w.sbVolume->setValue(50);
  for (const TPoint& p : EnvelopePoints(main_->Document().VolumeEnvelopes[1], 50, 317, 161))
    EXPECT_EQ(w.pbV->Picture.pixelColor(p.x, p.y), QColor(Qt::black));
  w.rbVibDown->click();
  EXPECT_FALSE(w.iVibUp->isVisibleTo(&w));
}

TEST_F(WaveGenTest, NewInstrumentAsksAndResets) {
  TfWaveGen& w = Editor();
  Voice().Pitch.Note = 3;
  prompts_.expectConfirm("Are you sure?", mrNo);
  w.NewInstrument();
  EXPECT_EQ(Voice().Pitch.Note, 3);
  prompts_.expectConfirm("Are you sure?", mrYes);
  main_->Document().CurrentVoice = 4;
  w.NewInstrument();
  EXPECT_EQ(main_->Document().CurrentVoice, 4);
  EXPECT_EQ(main_->Document().Voice(4).Pitch.Note, 26);
  EXPECT_TRUE(main_->Document().Voice(1).Active);
  EXPECT_EQ(main_->windowTitle(), kNewInstrumentCaption);
}

TEST_F(WaveGenTest, EveryPageReadsAtTheDefaultFont) {
  TfWaveGen& w = Editor();
  for (int page = 0; page < 5; ++page) {
    w.SelectPage(page);
    QApplication::processEvents();
    SaveScreenshot(&w, QStringLiteral("wavegen_page%1").arg(page));
    EXPECT_TRUE(ClippedTexts(&w).isEmpty()) << page << ClippedTexts(&w).join("\n").toStdString();
  }
}

TEST(LrsBmp, TakesThePicturesSizeAndReplacesTheTransparentColour) {
  QWidget parent;
  TLrsBmp b(&parent);
  EXPECT_EQ(b.size(), QSize(32, 32));
  QImage pic(77, 40, QImage::Format_RGB32);
  pic.fill(QColor(0xC0, 0xC0, 0xC0));
  pic.setPixelColor(5, 5, Qt::black);
  b.resize(10, 10);
  b.SetBitMap(pic);
  EXPECT_EQ(b.size(), QSize(77, 40));
  b.SetColor(QColor(0, 128, 0));
  b.SetTransparentColor(QColor(0xC0, 0xC0, 0xC0));
  const QImage shown = b.PaintToImage();
  EXPECT_EQ(shown.pixelColor(0, 0), QColor(0, 128, 0));
  EXPECT_EQ(shown.pixelColor(5, 5), QColor(Qt::black));
  b.SetTransparentColor(QColor());
  EXPECT_EQ(b.PaintToImage().pixelColor(0, 0), QColor(0xC0, 0xC0, 0xC0));
  TLrsBmp empty(&parent);
  EXPECT_EQ(empty.PaintToImage().pixelColor(3, 3), QColor(Qt::white));
  b.SetStretch(true);
  b.resize(154, 80);
  EXPECT_EQ(b.PaintToImage().pixelColor(11, 11), QColor(Qt::black));
}

}  // namespace

namespace {

TEST_F(WaveGenTest, SetFrequencyChoosesTheLowestFittingNote) {
  TfWaveGen& w = Editor();
  main_->Document().Recording = true;
  struct Case {
    int f, note, finetune;
  } cases[] = {{440, 45, 50}, {32, 0, 14}, {2155, 72, 100}};
  for (const Case& c : cases) {
    TfSetFrequency d(*main_, w);
    d.seNewFrequency->setValue(c.f);
    d.bOK->click();
    EXPECT_EQ(Voice().Pitch.Note, c.note) << c.f;
    EXPECT_EQ(Voice().Pitch.Finetune, c.finetune) << c.f;
    EXPECT_EQ(d.result(), 1);
  }
  EXPECT_EQ(std::get<0>(rec_.steps.back()), 3);
  TfSetFrequency start(*main_, w);  // starts from the voice: C-7 + 100 = 2155.3
  EXPECT_EQ(start.seNewFrequency->value(), 2155);
  start.show();
  SaveScreenshot(&start, "voicedialogs_setfrequency");
  EXPECT_TRUE(ClippedTexts(&start).isEmpty()) << ClippedTexts(&start).join("\n").toStdString();
}

TEST_F(WaveGenTest, ResetAndCopyDialogs) {
  TfWaveGen& w = Editor();
  TInstrumentDocument& doc = main_->Document();
  for (int n = 1; n <= 32; ++n) doc.Voice(n).Pitch.Note = 7;
  TfResVoice r(*main_, w);
  r.rbSome->setChecked(true);
  r.cobFr->setCurrentIndex(4);
  r.cobTo->setCurrentIndex(2);
  r.bOK->click();  // 5 to 3: nothing
  for (int n = 1; n <= 32; ++n) EXPECT_EQ(doc.Voice(n).Pitch.Note, 7);
  r.cobFr->setCurrentIndex(2);
  r.cobTo->setCurrentIndex(4);
  r.bOK->click();
  EXPECT_EQ(doc.Voice(2).Pitch.Note, 7);
  EXPECT_EQ(doc.Voice(3).Pitch.Note, 26);
  EXPECT_EQ(doc.Voice(5).Pitch.Note, 26);
  EXPECT_EQ(doc.Voice(6).Pitch.Note, 7);
  r.show();
  SaveScreenshot(&r, "voicedialogs_reset");
  EXPECT_TRUE(ClippedTexts(&r).isEmpty()) << ClippedTexts(&r).join("\n").toStdString();

  doc.Recording = true;
  TfCpVoice c(*main_, w, &rec_);
  EXPECT_EQ(c.cobD->currentIndex(), 1);
  EXPECT_FALSE(c.cbName->isChecked());
  c.bAll->click();
  c.cobS->setCurrentIndex(2);
  c.cobD->setCurrentIndex(11);
  doc.Voice(3).Pitch.Note = 40;
  c.bCopy->click();
  EXPECT_EQ(doc.Voice(12).Pitch.Note, 40);
  EXPECT_EQ(rec_.steps.back(), std::make_tuple(901, std::string("0211111111")));
  c.cbAutoIncrementDestination->setChecked(true);
  c.cbAutoDecrementDestination->setChecked(true);
  EXPECT_FALSE(c.cbAutoIncrementDestination->isChecked());
  c.cbAutoIncrementDestination->setChecked(true);
  c.cobD->setCurrentIndex(31);
  c.bCopy->click();
  EXPECT_EQ(c.cobD->currentIndex(), 31);  // 32 stays 32
  c.bInvert->click();
  EXPECT_FALSE(c.cbGeneral->isChecked());
  c.show();
  SaveScreenshot(&c, "voicedialogs_copy");
  EXPECT_TRUE(ClippedTexts(&c).isEmpty()) << ClippedTexts(&c).join("\n").toStdString();
}

// A copy from further than nine voices below the current one is recorded in
// the wider form the executor reads, and replaying it copies what the user
// copied, relative to the voice current at replay.
TEST_F(WaveGenTest, CopyFarBelowTheCurrentVoiceIsRecordedAndReplays) {
  TfWaveGen& w = Editor();
  TInstrumentDocument& doc = main_->Document();
  TMacroRecorder& recorder = windows_.MacroRec->Recorder();
  TMacro pending;
  pending.Name = "far copy";
  ASSERT_EQ(recorder.Start(pending), TStartRecording::Started);
  doc.CurrentVoice = 20;
  TfCpVoice c(*main_, w, windows_.MacroRec);
  c.cobS->setCurrentIndex(4);  // voice 5: 15 below the current voice
  c.cobD->setCurrentIndex(19);
  doc.Voice(5).Pitch.Note = 33;
  c.bCopy->click();
  EXPECT_EQ(doc.Voice(20).Pitch.Note, 33);
  ASSERT_TRUE(recorder.Stop());
  EXPECT_EQ(doc.Macros.back().Steps, (std::vector<std::string>{"901-15;0;101111"}));

  doc.CurrentVoice = 30;
  doc.Voice(15).Pitch.Note = 44;
  doc.Voice(15).Name = "fifteen";
  main_->ExecuteMacro(static_cast<int>(doc.Macros.size()));
  EXPECT_EQ(doc.Voice(30).Pitch.Note, 44);
  EXPECT_NE(doc.Voice(30).Name, "fifteen");  // the name part was not ticked
  EXPECT_EQ(doc.Voice(20).Pitch.Note, 33);
}

}  // namespace

namespace {

TEST_F(WaveGenTest, MainMenuSelectsPagesAndStartsANewInstrument) {
  TfWaveGen& w = Editor();
  QAction* volume = nullptr;
  QAction* newInstrument = nullptr;
  for (QAction* a : main_->findChildren<QAction*>()) {
    if (a->shortcut() == QKeySequence(Qt::Key_F4)) volume = a;
    if (a->text() == "&New" && a->shortcut() == QKeySequence(Qt::CTRL | Qt::Key_N)) newInstrument = a;
  }
  ASSERT_NE(volume, nullptr);
  volume->trigger();
  EXPECT_EQ(w.tsWaveGeneration->currentIndex(), 2);
  ASSERT_NE(newInstrument, nullptr);
  prompts_.expectConfirm("Are you sure?", mrNo);
  newInstrument->trigger();
}

}  // namespace

namespace {

TEST_F(WaveGenTest, ListRefillKeepsTheVoicesEntryUnlessItIsGone) {
  TfWaveGen& w = Editor();
  TInstrumentDocument& doc = main_->Document();
  TWavePreset square;
  square.Name = "Square";
  ASSERT_EQ(doc.AddWavePreset(square), TTableResult::Added);
  w.FillPresetLists();
  ASSERT_EQ(w.cbS->count(), 2);
  w.cbS->setCurrentIndex(1);
  EXPECT_EQ(Voice().Morph.SourcePreset, 2);
  // Renamed behind the editor's back: the voice keeps the entry, the list its new name.
  ASSERT_TRUE(doc.RenameWavePreset(2, "Square 2"));
  w.FillPresetLists();
  EXPECT_EQ(w.cbS->currentIndex(), 1);
  EXPECT_EQ(w.cbS->currentText(), "Square 2");
  EXPECT_EQ(Voice().Morph.SourcePreset, 2);
  // An entry beyond the table is gone: entry 1.
  Voice().Morph.SourcePreset = 9;
  Voice().Volume.Envelope = 9;
  w.FillPresetLists();
  w.FillEnvelopeLists();
  EXPECT_EQ(w.cbS->currentIndex(), 0);
  EXPECT_EQ(Voice().Morph.SourcePreset, 1);
  EXPECT_EQ(w.cbV->currentIndex(), 0);
  EXPECT_EQ(Voice().Volume.Envelope, 1);
}

}  // namespace

// ---- the lists follow the tables, whichever way a table window is opened -------

namespace {

enum class TTableKind { Presets, Envelopes };
enum class TTableOp { Sort, Delete, Rename, Update };

struct TListCase {
  const char* name;
  bool fromMenu;  // the Edit-menu command, else the voice editor's button
  TTableKind table;
  TTableOp op;
};

// An entry is known by its contents, which none of the operations change.
std::string Contents(const TWavePreset& p) { return std::string(p.Data.begin(), p.Data.end()); }
std::string Contents(const TVolumeEnvelope& e) {
  return std::to_string(e.Count) + std::string(e.X.begin(), e.X.end()) + std::string(e.Y.begin(), e.Y.end());
}

template <class Table>
int EntryWith(const Table& table, const std::string& contents) {
  for (int i = 1; i <= table.Count(); ++i)
    if (Contents(table[i]) == contents) return i;
  return 0;
}

template <class Table>
QStringList TableNames(const Table& table) {
  QStringList names;
  for (int i = 1; i <= table.Count(); ++i) names << QString::fromStdString(table[i].Name);
  return names;
}

QStringList Items(QComboBox* c) {
  QStringList items;
  for (int i = 0; i < c->count(); ++i) items << c->itemText(i);
  return items;
}

QAction* EditCommand(TfMain& main, const char* submenu, const char* caption) {
  for (QAction* sub : main.MenuEdit->actions())
    if (sub->text() == submenu && sub->menu())
      for (QAction* a : sub->menu()->actions())
        if (a->text() == caption) return a;
  return nullptr;
}

class WaveGenListsTest : public WaveGenTest, public ::testing::WithParamInterface<TListCase> {
 protected:
  // After the first entry: "b", "A", "a", each with contents of its own.
  void AddEntries(TInstrumentDocument& doc) {
    int k = 0;
    for (const char* name : {"b", "A", "a"}) {
      ++k;
      TWavePreset p;
      p.Name = name;
      p.Data.fill(static_cast<std::uint8_t>(20 * k));
      ASSERT_EQ(doc.AddWavePreset(p), TTableResult::Added);
      TVolumeEnvelope e;
      e.Name = name;
      e.Count = 3;
      e.X[1] = 100;
      e.X[2] = 255;
      e.Y[1] = static_cast<std::uint8_t>(50 * k);
      ASSERT_EQ(doc.AddVolumeEnvelope(e), TTableResult::Added);
    }
  }

  // What the case does inside the window that its path opened; it works on
  // "A" (entry 3), which voice 1 plays.
  void Operate(QWidget* modal, const TListCase& c) {
    const bool presets = c.table == TTableKind::Presets;
    if (c.op == TTableOp::Update) {
      prompts_.expectConfirm(kAreYouSure, mrYes);
      if (presets) {
        auto* f = qobject_cast<TfFreeEdit*>(modal);
        ASSERT_NE(f, nullptr) << modal->objectName().toStdString();
        f->cbD->setCurrentIndex(2);
        f->cbDChange();
        f->eName->setText("Z");
        f->bUpdateClick();
      } else {
        auto* e = qobject_cast<TfEditVol*>(modal);
        ASSERT_NE(e, nullptr) << modal->objectName().toStdString();
        e->cbV->setCurrentIndex(2);
        e->eName->selectAll();
        e->eName->insert("Z");
        e->bUpdateClick();
      }
      return;
    }
    auto* m = qobject_cast<TLibraryManagerWindow*>(modal);
    ASSERT_NE(m, nullptr) << modal->objectName().toStdString();
    m->list->setCurrentRow(2);
    switch (c.op) {
      case TTableOp::Sort: m->SortUp(); break;
      case TTableOp::Delete:
        prompts_.expectConfirm(kAreYouSure, mrYes);
        m->bDeleteClick();
        break;
      default:
        m->AskNewName = [](const std::string&) -> std::optional<std::string> { return "Z"; };
        m->bRenameClick();
        break;
    }
  }
};

TEST_P(WaveGenListsTest, ListsNameTheEntriesThatPlayAndVoicesKeepTheirEntries) {
  const TListCase& c = GetParam();
  TfWaveGen& w = Editor();
  TfMain& main = *main_;
  TInstrumentDocument& doc = main.Document();
  AddEntries(doc);
  w.FillPresetLists();
  w.FillEnvelopeLists();
  TVoice& v1 = doc.Voice(1);
  v1.Morph.SourcePreset = 3;  // A
  v1.Morph.DestPreset = 4;    // a
  v1.Volume.Envelope = 3;     // A
  TVoice& v2 = doc.Voice(2);
  v2.Active = true;
  v2.Morph.SourcePreset = 2;  // b
  v2.Morph.DestPreset = 4;    // a
  v2.Volume.Envelope = 4;     // a
  w.SelectVoice(1);
  ASSERT_EQ(w.cbS->currentText(), "A");
  ASSERT_EQ(w.cbV->currentText(), "A");

  struct Use {
    std::uint8_t* entry;
    bool preset;
    std::string name, contents;
  };
  std::vector<Use> uses;
  for (TVoice* v : {&v1, &v2}) {
    for (std::uint8_t* p : {&v->Morph.SourcePreset, &v->Morph.DestPreset})
      uses.push_back({p, true, doc.WavePresets[*p].Name, Contents(doc.WavePresets[*p])});
    uses.push_back({&v->Volume.Envelope, false, doc.VolumeEnvelopes[v->Volume.Envelope].Name,
                    Contents(doc.VolumeEnvelopes[v->Volume.Envelope])});
  }

  const bool presets = c.table == TTableKind::Presets;
  QTimer::singleShot(0, [&] {
    QWidget* modal = QApplication::activeModalWidget();
    if (!modal) {
      ADD_FAILURE() << "no window opened";
      return;
    }
    Operate(modal, c);
    modal->close();
  });
  const bool editor = c.op == TTableOp::Update;
  if (c.fromMenu) {
    QAction* command = EditCommand(main, presets ? "&Wave Presets" : "&Volume Envelopes", editor ? "&Free" : "&Manager");
    ASSERT_NE(command, nullptr);
    command->trigger();
  } else {
    (presets ? (editor ? w.bEditWaveFree : w.bManageWave) : (editor ? w.bVolumeEditFree : w.bManageEnvelopes))->click();
  }

  // The operation took place.
  const QString first = presets ? "Sawtooth" : "Full";
  const QStringList expected = c.op == TTableOp::Sort     ? QStringList{"A", first, "a", "b"}
                               : c.op == TTableOp::Delete ? QStringList{first, "b", "a"}
                                                          : QStringList{first, "b", "Z", "a"};
  EXPECT_EQ(presets ? TableNames(doc.WavePresets) : TableNames(doc.VolumeEnvelopes), expected);

  // The lists name the tables' entries and select the ones voice 1 plays.
  EXPECT_EQ(Items(w.cbS), TableNames(doc.WavePresets));
  EXPECT_EQ(Items(w.cbD), TableNames(doc.WavePresets));
  EXPECT_EQ(Items(w.cbV), TableNames(doc.VolumeEnvelopes));
  EXPECT_EQ(w.cbS->currentIndex() + 1, v1.Morph.SourcePreset);
  EXPECT_EQ(w.cbD->currentIndex() + 1, v1.Morph.DestPreset);
  EXPECT_EQ(w.cbV->currentIndex() + 1, v1.Volume.Envelope);

  // Every voice keeps its entry; only the deleted entry's users fall back to entry 1.
  for (std::size_t i = 0; i < uses.size(); ++i) {
    const Use& u = uses[i];
    const int now = u.preset ? EntryWith(doc.WavePresets, u.contents) : EntryWith(doc.VolumeEnvelopes, u.contents);
    EXPECT_EQ(*u.entry, now != 0 ? now : 1) << "use " << i;
    EXPECT_EQ(now == 0, c.op == TTableOp::Delete && u.preset == presets && u.name == "A") << "use " << i;
  }

  // Picking an item gives the voice the entry of that name, and the instrument saves.
  QComboBox* list = presets ? w.cbS : w.cbV;
  list->setCurrentIndex(list->count() - 1);
  const int picked = presets ? v1.Morph.SourcePreset : v1.Volume.Envelope;
  EXPECT_EQ(picked, list->count());
  EXPECT_NO_THROW(WriteInstrumentFile(dir_ / "lists.kvi", doc));
}

const TListCase kListCases[] = {
    {"ButtonSortsPresets", false, TTableKind::Presets, TTableOp::Sort},
    {"MenuSortsPresets", true, TTableKind::Presets, TTableOp::Sort},
    {"ButtonDeletesAPreset", false, TTableKind::Presets, TTableOp::Delete},
    {"MenuDeletesAPreset", true, TTableKind::Presets, TTableOp::Delete},
    {"ButtonRenamesAPreset", false, TTableKind::Presets, TTableOp::Rename},
    {"MenuRenamesAPreset", true, TTableKind::Presets, TTableOp::Rename},
    {"ButtonUpdatesAPresetUnderANewName", false, TTableKind::Presets, TTableOp::Update},
    {"MenuUpdatesAPresetUnderANewName", true, TTableKind::Presets, TTableOp::Update},
    {"ButtonSortsEnvelopes", false, TTableKind::Envelopes, TTableOp::Sort},
    {"MenuSortsEnvelopes", true, TTableKind::Envelopes, TTableOp::Sort},
    {"ButtonDeletesAnEnvelope", false, TTableKind::Envelopes, TTableOp::Delete},
    {"MenuDeletesAnEnvelope", true, TTableKind::Envelopes, TTableOp::Delete},
    {"ButtonRenamesAnEnvelope", false, TTableKind::Envelopes, TTableOp::Rename},
    {"MenuRenamesAnEnvelope", true, TTableKind::Envelopes, TTableOp::Rename},
    {"ButtonUpdatesAnEnvelopeUnderANewName", false, TTableKind::Envelopes, TTableOp::Update},
    {"MenuUpdatesAnEnvelopeUnderANewName", true, TTableKind::Envelopes, TTableOp::Update},
};

INSTANTIATE_TEST_SUITE_P(PathsAndOperations, WaveGenListsTest, ::testing::ValuesIn(kListCases),
                         [](const ::testing::TestParamInfo<TListCase>& i) { return std::string(i.param.name); });

}  // namespace

// ---- names beyond Latin-1 ------------------------------------------------------

namespace {

// Windows-1252 text beyond Latin-1: the curly quotes, the dash and the euro sign.
const QString kBass = QString::fromUtf8("Bass \u201Cdeep\u201D \u2013 5\u20AC");
const std::string kBassBytes = "Bass \x93" "deep\x94 \x96 5\x80";
const QString kSaw = QString::fromUtf8("Saw \u2013 soft \u20AC");
const std::string kSawBytes = "Saw \x96 soft \x80";
const QString kRound = QString::fromUtf8("Env \u201Cround\u201D");
const std::string kRoundBytes = "Env \x93round\x94";

TEST_F(WaveGenTest, NamesBeyondLatin1AreKeptShownAndReadBackUnchanged) {
  TfWaveGen& w = Editor();
  TfMain& main = *main_;
  TInstrumentDocument& doc = main.Document();
  doc.Recording = true;
  TWavePreset saw;
  saw.Name = kSawBytes;
  saw.Data.fill(40);
  ASSERT_EQ(doc.AddWavePreset(saw), TTableResult::Added);
  TVolumeEnvelope round;
  round.Name = kRoundBytes;
  round.Count = 2;
  round.X[1] = 255;
  round.Y[0] = round.Y[1] = 200;
  ASSERT_EQ(doc.AddVolumeEnvelope(round), TTableResult::Added);
  w.FillPresetLists();
  w.FillEnvelopeLists();

  // The lists show the names, and a choice records the name as the table holds it.
  EXPECT_EQ(w.cbS->itemText(1), kSaw);
  EXPECT_EQ(w.cbD->itemText(1), kSaw);
  EXPECT_EQ(w.cbV->itemText(1), kRound);
  w.cbS->setCurrentIndex(1);
  EXPECT_EQ(Voice().Morph.SourcePreset, 2);
  EXPECT_EQ(rec_.steps.back(), std::make_tuple(4, kSawBytes));
  w.cbV->setCurrentIndex(1);
  EXPECT_EQ(Voice().Volume.Envelope, 2);
  EXPECT_EQ(rec_.steps.back(), std::make_tuple(13, kRoundBytes));

  // The voice name as typed: kept as its Windows-1252 bytes, shown as typed.
  w.ePartName->clear();
  w.ePartName->insert(kBass);
  EXPECT_EQ(Voice().Name, kBassBytes);
  EXPECT_EQ(w.ePartName->text(), kBass);
  EXPECT_EQ(rec_.steps.back(), std::make_tuple(1, kBassBytes));
  EXPECT_TRUE(w.tsParts->button(0)->text().startsWith(QString::fromUtf8("Bass \u201C")))
      << w.tsParts->button(0)->text().toStdString();
  QMenu* popup = w.Popup("pumVolume");
  emit popup->aboutToShow();
  QMenu* getFrom = nullptr;
  for (QAction* a : popup->actions())
    if (a->menu() && a->text() == "Get from ...") getFrom = a->menu();
  ASSERT_NE(getFrom, nullptr);
  EXPECT_EQ(getFrom->actions().front()->text(), kBass);

  // A character with no Windows-1252 code is kept as '?', and the field shows it.
  w.ePartName->insert(QString::fromUtf8(" \u2192"));
  EXPECT_EQ(Voice().Name, kBassBytes + " ?");
  EXPECT_EQ(w.ePartName->text(), kBass + " ?");
  EXPECT_EQ(w.ePartName->cursorPosition(), w.ePartName->text().size());
  EXPECT_EQ(rec_.steps.back(), std::make_tuple(1, kBassBytes + " ?"));
  SaveScreenshot(&w, "wavegen_windows1252_name");
  w.SelectPage(1);
  QApplication::processEvents();
  SaveScreenshot(&w, "wavegen_windows1252_presets");

  // Saved and read back, the editor shows the same.
  ASSERT_TRUE(main.SaveInstrument(dir_ / "names.kvi"));
  w.ePartName->setText("other");
  w.cbS->setCurrentIndex(0);
  w.cbV->setCurrentIndex(0);
  prompts_.expectQuestion(kSaveChangesQuestion, mrNo);
  ASSERT_TRUE(main.LoadInstrument(dir_ / "names.kvi"));
  EXPECT_EQ(w.ePartName->text(), kBass + " ?");
  EXPECT_EQ(w.cbS->currentText(), kSaw);
  EXPECT_EQ(w.cbV->currentText(), kRound);
  EXPECT_EQ(doc.WavePresets.Count(), 2) << "the same preset is not added twice";
}

// Ctrl+A, Ctrl+C, Ctrl+V in a field puts back the text it holds, and Qt still
// signals a change. A text whose stored bytes stay as they were (after the
// Windows-1252 conversion and the cut to the field's bound) is no edit: the
// instrument stays up to date and a recording macro gets no step. A real
// change, however small, still marks and records.
TEST_F(WaveGenTest, ATextPastedOverItselfChangesNothing) {
  TfWaveGen& w = Editor();
  TfMain& main = *main_;
  TInstrumentDocument& doc = main.Document();
  TfInGlob& globals = *windows_.InGlob;
  QPlainTextEdit* memo = globals.memoDescription;
  enum Field { Name, Description };
  const std::string longest(TVoice::kMaxName, 'x');
  struct Case {
    const char* what;
    Field field;
    std::string stored;              // as the instrument holds it
    std::optional<QString> pasted;   // nothing: what Ctrl+C copied
    std::string after;               // as the instrument holds it then
    QString shown;
    bool changes;                    // marked, and a name records a step
  } cases[] = {
      {"a name", Name, "Lead", {}, "Lead", "Lead", false},
      {"a name beyond Latin-1", Name, kBassBytes, {}, kBassBytes, kBass, false},
      {"a name at its bound", Name, longest, {}, longest, QString::fromStdString(longest), false},
      {"a name whose new character is kept as its '?'", Name, "Lead ?", QString::fromUtf8("Lead \u2192"),
       "Lead ?", "Lead ?", false},
      {"a name cut to the same bytes", Name, longest, QString::fromStdString(longest + "yz"), longest,
       QString::fromStdString(longest), false},
      {"a name replaced", Name, "Lead", QStringLiteral("Bass"), "Bass", "Bass", true},
      {"a name that gains a blank", Name, "Lead", QStringLiteral("Lead "), "Lead ", "Lead ", true},
      {"a name that changes only its case", Name, "Lead", QStringLiteral("lead"), "lead", "lead", true},
      {"a description", Description, "one line", {}, "one line", "one line", false},
      {"a description of two lines beyond Latin-1", Description, "Bass \x93" "deep\x94\nsecond \x80", {},
       "Bass \x93" "deep\x94\nsecond \x80", QString::fromUtf8("Bass \u201Cdeep\u201D\nsecond \u20AC"), false},
      {"a description replaced", Description, "one line", QStringLiteral("one line."), "one line.", "one line.",
       true},
  };
  QMdiArea* area = main.MdiArea();
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    QWidget* field = c.field == Name ? static_cast<QWidget*>(w.ePartName) : memo;
    QWidget* window = c.field == Name ? static_cast<QWidget*>(&w) : &globals;
    if (c.field == Name) {
      Voice().Name = c.stored;
      w.DrawPart();
    } else {
      std::vector<std::string> lines;
      for (const QString& line : FromWindows1252(c.stored).split('\n')) lines.push_back(ToWindows1252(line));
      globals.SetDescription(lines);
    }
    main.SetInstrumentUpToDate(true);
    doc.Recording = true;
    rec_.steps.clear();
    QGuiApplication::clipboard()->clear();
    // The keys go where a person's go: to the focused field of the active
    // window, past the main menu's Ctrl+A, Ctrl+C and Ctrl+V.
    main.activateWindow();
    QApplication::setActiveWindow(&main);
    area->setActiveSubWindow(qobject_cast<QMdiSubWindow*>(window->parentWidget()));
    field->setFocus();
    QApplication::processEvents();
    ASSERT_EQ(QApplication::focusWidget(), field);

    QTest::keyClick(field, Qt::Key_A, Qt::ControlModifier);
    if (c.pasted) {
      QGuiApplication::clipboard()->setText(*c.pasted);
    } else {
      QTest::keyClick(field, Qt::Key_C, Qt::ControlModifier);
      ASSERT_EQ(QGuiApplication::clipboard()->text(), FromWindows1252(c.stored));
    }
    QTest::keyClick(field, Qt::Key_V, Qt::ControlModifier);
    QApplication::processEvents();
    doc.Recording = false;

    if (c.field == Name) {
      EXPECT_EQ(Voice().Name, c.after);
      EXPECT_EQ(w.ePartName->text(), c.shown);
    } else {
      std::string joined;
      for (const std::string& line : globals.GetDescription()) joined += (joined.empty() ? "" : "\n") + line;
      EXPECT_EQ(joined, c.after);
      EXPECT_EQ(memo->toPlainText(), c.shown);
    }
    EXPECT_EQ(main.IsInstrumentUpToDate(), !c.changes);
    // The description is not part of a voice: it never records a step.
    const std::vector<std::tuple<int, std::string>> steps =
        c.changes && c.field == Name ? std::vector<std::tuple<int, std::string>>{{1, c.after}}
                                     : std::vector<std::tuple<int, std::string>>{};
    EXPECT_EQ(rec_.steps, steps);
    EXPECT_TRUE(prompts_.shown().empty());
  }
  main.SetInstrumentUpToDate(true);
}

}  // namespace
