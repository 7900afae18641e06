// The voice editor offscreen: each control reaches its voice field, marks
// the sample out of date and records its step; refreshing is a pure view
// update; links copy only on a change; read-outs, drawings and legibility.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabBar>
#include <QToolButton>

#include <random>
#include <tuple>

#include "Legibility.h"
#include "MainFixture.h"
#include "views/PaintBox.h"
#include "components/LrsBmp.h"
#include "windows/MacroRec.h"
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

TEST_F(WaveGenTest, ListRefillFallsBackToTheFirstEntryWhenTheNameIsGone) {
  TfWaveGen& w = Editor();
  TInstrumentDocument& doc = main_->Document();
  TWavePreset square;
  square.Name = "Square";
  ASSERT_EQ(doc.AddWavePreset(square), TTableResult::Added);
  w.FillPresetLists();
  ASSERT_EQ(w.cbS->count(), 2);
  w.cbS->setCurrentIndex(1);
  EXPECT_EQ(Voice().Morph.SourcePreset, 2);
  // Renamed behind the editor's back: the list finds no "Square" any more.
  ASSERT_TRUE(doc.RenameWavePreset(2, "Square 2"));
  w.FillPresetLists();
  EXPECT_EQ(w.cbS->currentIndex(), 0);
  EXPECT_EQ(Voice().Morph.SourcePreset, 1);
}

}  // namespace
