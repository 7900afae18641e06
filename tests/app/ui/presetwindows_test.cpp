// The wave-preset editor, its mix dialog and the wave synthesis window over a
// document: drawing with the mouse, the function generator, import, the table
// commands with their prompts, the looped preview on the null sound device,
// legibility and screenshots.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMouseEvent>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTimer>
#include <cmath>
#include <fstream>

#include "DocumentFixture.h"
#include "Legibility.h"
#include "MainFixture.h"
#include "TempFolder.h"
#include "components/EnhWave.h"
#include "core/IniFile.h"
#include "core/WavePresetEdit.h"
#include "core/WaveSynthesis.h"
#include "formats/PresetImport.h"
#include "platform/null/NullAudioSink.h"
#include "views/Colors.h"
#include "views/PresetCanvas.h"
#include "windows/AddSynth.h"
#include "windows/FreeEdit.h"
#include "windows/Tools.h"

using kalvora::platform::NullAudioSink;
using namespace kalvora::test;

namespace {

void Pump() {
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents();
}

void Mouse(QWidget* w, QEvent::Type type, int x, int y, Qt::MouseButton button = Qt::LeftButton) {
  const QPointF local(x + 0.5, y + 0.5);
  const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::MouseButtons(button);
  QMouseEvent e(type, local, w->mapToGlobal(local), type == QEvent::MouseMove ? Qt::NoButton : button, held,
                Qt::NoModifier);
  QCoreApplication::sendEvent(w, &e);
}

TWaveCycle Ramp() {
  TWaveCycle w{};
  for (int i = 0; i < kWaveSamples; ++i) w[i] = static_cast<std::uint8_t>(i);
  return w;
}

void WriteFile(const std::filesystem::path& p, const std::string& bytes) {
  std::ofstream(p, std::ios::binary) << bytes;
}

// A mono PCM WAV file of 8-bit samples.
std::string Wave8(const std::vector<std::uint8_t>& samples) {
  auto le = [](std::uint32_t v, int n) {
    std::string s;
    for (int i = 0; i < n; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
    return s;
  };
  std::string data(samples.begin(), samples.end());
  return "RIFF" + le(36 + data.size(), 4) + "WAVEfmt " + le(16, 4) + le(1, 2) + le(1, 2) + le(44100, 4) +
         le(44100, 4) + le(1, 2) + le(8, 2) + "data" + le(data.size(), 4) + data;
}

class PresetWindows : public TempFolderTest {
 protected:
  PresetWindows() : TempFolderTest("kalvora_presetwin_") {}

  void SetUp() override {
    TempFolderTest::SetUp();
    TWavePreset saw = Preset("Sawtooth");
    saw.Data = Ramp();
    for (const TWavePreset& p : {Preset("Sine", 100), Preset("Square", 20), saw}) doc.AddWavePreset(p);
    doc.WavePresetsModified = false;
    ini = std::make_unique<TIniFile>((dir_ / "kalvora.dai").string());
    tools = std::make_unique<TfTools>(doc, prompts, std::make_unique<NullAudioSink>(toolSound));
  }

  TPresetWindowHost Host() {
    TPresetWindowHost h;
    h.Document = &doc;
    h.Tools = tools.get();
    h.Prompts = &prompts;
    h.FileDialogs = &dialogs;
    h.Help = &help;
    h.Ini = ini.get();
    h.MakeAudioSink = [this] { return std::make_unique<NullAudioSink>(synthSound); };
    return h;
  }

  void FillTable() {
    for (int i = doc.WavePresets.Count(); i < TWavePresetTable::kCapacity; ++i)
      ASSERT_EQ(doc.AddWavePreset(Preset("p" + std::to_string(i))), TTableResult::Added);
  }

  TInstrumentDocument doc;
  FakePrompts prompts;
  FakeFileDialogs dialogs;
  FakeHelp help;
  std::unique_ptr<TIniFile> ini;
  std::shared_ptr<NullAudioSink::Record> toolSound = std::make_shared<NullAudioSink::Record>();
  std::shared_ptr<NullAudioSink::Record> synthSound = std::make_shared<NullAudioSink::Record>();
  std::unique_ptr<TfTools> tools;
};

QColor PixelAt(const TPresetCanvas* c, int x, int y) { return c->Picture().pixelColor(x, y); }

}  // namespace

// ---- editor ---------------------------------------------------------------------------

TEST_F(PresetWindows, OpensOnTheFirstPresetWithNoPreview) {
  TfFreeEdit w(Host());
  w.FormActivate();
  EXPECT_EQ(w.cbD->count(), 3);
  EXPECT_EQ(w.cbD->currentIndex(), 0);
  EXPECT_EQ(w.eName->text(), "Sine");
  EXPECT_EQ(w.Wave()[0], 100);
  EXPECT_EQ(w.lVolume->text(), "100 %");
  EXPECT_FALSE(w.bTakeVolume->isEnabled());
  EXPECT_FALSE(w.sbFilterF1->isEnabled());
  EXPECT_FALSE(w.bTakeFunction->isEnabled());
  // The cycle is drawn at y = 149 - s on silver.
  EXPECT_EQ(PixelAt(w.pbR, 10, 149 - 100), ColorFromBGR(kPictureWave));
  EXPECT_EQ(PixelAt(w.pbR, 10, 10), ColorFromBGR(kPictureBackground));

  w.cbD->setCurrentIndex(2);
  w.cbDChange();
  EXPECT_EQ(w.eName->text(), "Sawtooth");
  EXPECT_EQ(w.Wave(), Ramp());
}

TEST_F(PresetWindows, DrawingAtTheCanvasCorners) {
  TfFreeEdit w(Host());
  w.FormActivate();  // Sine: all 100
  struct Corner {
    int x, y;
    int sample;
    const char* pos;
  };
  for (const Corner& c : {Corner{0, 0, 149, "1-1"}, Corner{149, 0, 149, "150-1"}, Corner{0, 149, 0, "1-150"},
                          Corner{149, 149, 0, "150-150"}}) {
    w.SetWave(TWaveCycle{});
    Mouse(w.pbR, QEvent::MouseButtonPress, c.x, c.y);
    EXPECT_EQ(w.Wave()[c.x], c.sample) << c.pos;
    EXPECT_EQ(w.lPos->text(), c.pos);
    Mouse(w.pbR, QEvent::MouseButtonRelease, c.x, c.y);
    EXPECT_EQ(PixelAt(w.pbR, c.x, 149 - c.sample), ColorFromBGR(kPictureWave)) << c.pos;
  }

  // A drag from the top left to the bottom right corner draws the falling diagonal,
  // painted while the button is held.
  w.SetWave(TWaveCycle{});
  Mouse(w.pbR, QEvent::MouseButtonPress, 0, 0);
  Mouse(w.pbR, QEvent::MouseMove, 149, 149);
  for (int i = 0; i < kWaveSamples; ++i) ASSERT_EQ(w.Wave()[i], 149 - i) << i;
  EXPECT_EQ(PixelAt(w.pbR, 75, 75), ColorFromBGR(kPictureWave));
  // Leaving the box: the position follows, the wave does not.
  Mouse(w.pbR, QEvent::MouseMove, 160, -3);
  EXPECT_EQ(w.lPos->text(), "161--2");
  EXPECT_EQ(w.Wave()[149], 0);
  Mouse(w.pbR, QEvent::MouseButtonRelease, 160, -3);
  // Moves after the release do not draw.
  Mouse(w.pbR, QEvent::MouseMove, 149, 0);
  EXPECT_EQ(w.Wave()[149], 0);

  // Outside the box, or with the right button, a press changes nothing.
  const TWaveCycle before = w.Wave();
  Mouse(w.pbR, QEvent::MouseButtonPress, 150, 0);
  Mouse(w.pbR, QEvent::MouseButtonPress, 10, 10, Qt::RightButton);
  EXPECT_EQ(w.Wave(), before);
}

TEST_F(PresetWindows, GenerateFromAFormula) {
  TfFreeEdit w(Host());
  w.FormActivate();
  w.cbD->setCurrentIndex(2);  // the ramp
  w.cbDChange();

  // y alone on the full window gives the wave back.
  w.eFunction->setText("y");
  EXPECT_EQ(w.FunctionBuffer(), Ramp());
  EXPECT_TRUE(w.bTakeFunction->isEnabled());
  EXPECT_TRUE(w.bPlayFunction->isEnabled());
  EXPECT_EQ(PixelAt(w.pbR, 40, 149 - 40), ColorFromBGR(kPictureFunction));

  // A syntax error names itself; the curve and its buttons go.
  w.eFunction->setText("sin(x");
  EXPECT_EQ(w.lFunctionErrorMessage->text(), "Expected operator or closing parenthesis.");
  EXPECT_FALSE(w.bTakeFunction->isEnabled());
  EXPECT_TRUE(w.bClearFunction->isEnabled());
  w.eFunction->setText("ln(x)");  // column 0 has x < 0: a math error, no text of its own
  EXPECT_FALSE(w.bTakeFunction->isEnabled());
  w.eFunction->setText("1 2");
  EXPECT_EQ(w.lFunctionErrorMessage->text(), "Expected operator.");

  // A constant on a narrow window: Take replaces only the window's columns.
  w.eWindowLeft->setValue(11);
  w.eWindowRight->setValue(20);
  w.cbShowWindow->setChecked(true);
  w.eFunction->setText("0.5");
  EXPECT_EQ(w.lFunctionErrorMessage->text(), "");
  w.bTakeFunction->click();
  for (int i = 0; i < kWaveSamples; ++i)
    ASSERT_EQ(w.Wave()[i], i >= 10 && i <= 19 ? 112 : i) << i;  // Round(0.5 x 74.5 + 74.5)
  w.RedrawWave();
  EXPECT_EQ(PixelAt(w.pbR, 10, 0), ColorFromBGR(kPictureWindow));  // the window's top left corner

  // The window edits keep Left < Right.
  w.eWindowLeft->setValue(30);
  EXPECT_EQ(w.eWindowLeft->value(), 19);
  w.InsertTerm("Pi");  // at the caret, which is at the end
  EXPECT_EQ(w.eFunction->text(), "0.5Pi");
  w.bClearFunction->click();
  EXPECT_EQ(w.eFunction->text(), "");
  EXPECT_FALSE(w.bClearFunction->isEnabled());
}

TEST_F(PresetWindows, VolumeAndFilterPreviewsAndTake) {
  TfFreeEdit w(Host());
  w.FormActivate();
  w.cbD->setCurrentIndex(2);
  w.cbDChange();
  w.sbChangeVolume->setValue(470);  // 50 %
  EXPECT_TRUE(w.VolumePreviewOn());
  EXPECT_EQ(w.lVolume->text(), "50 %");
  EXPECT_EQ(w.VolumePreview(), ApplyVolume(Ramp(), 50));
  w.bTakeVolume->click();
  EXPECT_EQ(w.Wave(), ApplyVolume(Ramp(), 50));
  EXPECT_FALSE(w.VolumePreviewOn());
  EXPECT_EQ(w.sbChangeVolume->value(), kVolumeBarDefault);

  w.rbLowpass->click();
  EXPECT_TRUE(w.FilterPreviewOn());
  EXPECT_TRUE(w.sbFilterF1->isEnabled());
  EXPECT_FALSE(w.sbFilterF2->isEnabled());
  const TWaveCycle expected = FilteredWave(w.Wave(), FilterTaps(TFilterKind::kLowpass, 50, 50));
  EXPECT_EQ(w.FilterPreview(), expected);
  // Bandpass keeps F1 above F2.
  w.rbBandpass->click();
  w.sbFilterF2->setValue(80);
  EXPECT_EQ(w.sbFilterF1->value(), 81);
  w.bCancelFilter->click();
  EXPECT_FALSE(w.FilterPreviewOn());
  EXPECT_FALSE(w.rbBandpass->isChecked());
  EXPECT_EQ(w.sbFilterF1->value(), 50);

  // A flat wave filters to all 0; Take makes that the wave.
  w.bSilence->click();
  w.rbHighpass->click();
  w.bTakeFilter->click();
  EXPECT_EQ(w.Wave(), TWaveCycle{});
  w.bMaximize->click();  // a flat wave becomes 74
  EXPECT_EQ(w.Wave()[0], 74);
}

TEST_F(PresetWindows, MixAndPlay) {
  TfFreeEdit w(Host());
  w.FormActivate();  // Sine: 100
  w.RunMixDialog = [](TfMixWavePreset& mix) {
    EXPECT_EQ(mix.cbD->count(), 3);
    return 1;  // Square: 20
  };
  w.bMix->click();
  EXPECT_EQ(w.Wave()[0], 60);
  w.RunMixDialog = [](TfMixWavePreset&) { return -1; };  // Cancel
  w.bMix->click();
  EXPECT_EQ(w.Wave()[0], 60);

  // Play hands the cycle x 1.7 to the tool window's preview.
  w.bPlay->click();
  EXPECT_EQ(toolSound->opens, 1);
  EXPECT_EQ(tools->WaveOut().QueuedBlocks(), 1u);
  // A right click anywhere on the form plays too, the wave box included.
  QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
  QCoreApplication::sendEvent(w.pbR, &menu);
  EXPECT_EQ(tools->WaveOut().QueuedBlocks(), 2u);
  tools->WaveOut().Stop();
  Pump();
}

TEST_F(PresetWindows, AddUpdateDeleteThroughTheTable) {
  TfFreeEdit w(Host());
  w.FormActivate();
  w.bSilence->click();
  w.eName->setText("Flat");
  w.bAdd->click();
  ASSERT_EQ(doc.WavePresets.Count(), 4);
  EXPECT_EQ(doc.WavePresets[4].Name, "Flat");
  EXPECT_EQ(doc.WavePresets[4].Data[0], 75);
  EXPECT_EQ(w.cbD->currentIndex(), 3);
  EXPECT_EQ(w.eName->text(), "Flat");
  EXPECT_TRUE(doc.WavePresetsModified);

  prompts.expectMessage(kPresetExists);
  w.eName->setText("Sine");
  w.bAdd->click();
  EXPECT_EQ(doc.WavePresets.Count(), 4);

  // Update the selected entry (Square) after the confirmation.
  w.cbD->setCurrentIndex(1);
  w.cbDChange();
  w.bMirrorV->click();  // 20 -> 129
  prompts.expectConfirm(kAreYouSure, mrYes);
  w.bUpdate->click();
  EXPECT_EQ(doc.WavePresets[2].Data[0], 129);
  EXPECT_EQ(w.cbD->currentIndex(), 1);

  // Delete: the list keeps its place, the wave becomes the entry now there.
  prompts.expectConfirm(kAreYouSure, mrNo);
  w.bDelete->click();
  EXPECT_EQ(doc.WavePresets.Count(), 4);
  prompts.expectConfirm(kAreYouSure, mrYes);
  w.bDelete->click();
  EXPECT_EQ(Names(doc.WavePresets), (std::vector<std::string>{"Sine", "Sawtooth", "Flat"}));
  EXPECT_EQ(w.eName->text(), "Sawtooth");
  EXPECT_EQ(w.Wave(), Ramp());
}

TEST_F(PresetWindows, AFullTableSaysTooManyPresets) {
  FillTable();
  TfFreeEdit w(Host());
  w.FormActivate();
  w.eName->setText("New one");
  prompts.expectMessage(kTooManyPresets);
  w.bAdd->click();
  prompts.expectMessage(kTooManyPresets);  // before any file dialog
  w.bImport->click();
  EXPECT_EQ(doc.WavePresets.Count(), TWavePresetTable::kCapacity);

  TfAddSynth s(Host());
  s.FormActivate();
  prompts.expectMessage(kTooManyPresets);
  s.bAdd->click();
  EXPECT_EQ(doc.WavePresets.Count(), TWavePresetTable::kCapacity);
}

TEST_F(PresetWindows, ImportTextAndWaveFiles) {
  TfFreeEdit w(Host());
  w.FormActivate();
  std::string text = std::string(kPresetTextHeader) + "\r\nImported ramp\r\n";
  for (int i = 0; i < kWaveSamples; ++i) text += std::to_string(149 - i) + "\r\n";
  WriteFile(dir_ / "ramp.txt", text);
  dialogs.expectOpen((dir_ / "ramp.txt").string());
  w.bImport->click();
  EXPECT_EQ(dialogs.shown().back().filter, "Text files (*.txt)|*.txt|Wave files (*.wav)|*.wav|All files (*.*)|*.*");
  ASSERT_EQ(doc.WavePresets.Count(), 4);
  EXPECT_EQ(doc.WavePresets[4].Name, "Imported ramp");
  EXPECT_EQ(w.eName->text(), "Imported ramp");
  EXPECT_EQ(w.cbD->currentIndex(), 3);
  EXPECT_EQ(w.Wave()[0], 149);
  EXPECT_EQ(w.Wave()[149], 0);

  // A WAV file is named after the file; three frames, the rest padded with 75.
  WriteFile(dir_ / "short.wav", Wave8({0, 255, 128}));
  dialogs.expectOpen((dir_ / "short.wav").string());
  w.bImport->click();
  ASSERT_EQ(doc.WavePresets.Count(), 5);
  EXPECT_EQ(doc.WavePresets[5].Name, "short.wav");
  EXPECT_EQ(w.Wave()[0], 0);
  EXPECT_EQ(w.Wave()[1], 149);
  EXPECT_EQ(w.Wave()[2], 75);  // Round(128 x 125 / 214) = Round(74.77)
  EXPECT_EQ(w.Wave()[3], 75);

  // Failures show their message and add nothing; ".TXT" goes to the WAV reader;
  // a file above the bound is refused by its size, though its head is valid.
  WriteFile(dir_ / "wrong.txt", "Some other file\r\n");
  WriteFile(dir_ / "upper.TXT", text);
  WriteFile(dir_ / "long.wav", Wave8({0, 255, 128}));
  std::filesystem::resize_file(dir_ / "long.wav", kMaxPresetImportFileSize + 1);
  struct Row {
    std::string file;
    std::string message;  // empty: any
  };
  for (const Row& r : {Row{"wrong.txt", "Wrong preset text file."}, Row{"upper.TXT", "This is not a valid .WAV file."},
                       Row{"missing.wav", ""},
                       Row{"long.wav", "The file \"" + (dir_ / "long.wav").string() +
                                           "\" is too large to be read (more than 33554432 bytes)"}}) {
    dialogs.expectOpen((dir_ / r.file).string());
    prompts.expectMessage(r.message);
    w.bImport->click();
    EXPECT_EQ(doc.WavePresets.Count(), 5) << r.file;
  }
  dialogs.expectOpen(std::nullopt);  // cancelled
  w.bImport->click();
  EXPECT_EQ(doc.WavePresets.Count(), 5);
}

TEST_F(PresetWindows, KeysCloseAndAskForHelp) {
  TfFreeEdit w(Host());
  w.show();
  Pump();
  QKeyEvent f1(QEvent::KeyPress, Qt::Key_F1, Qt::NoModifier);
  QCoreApplication::sendEvent(&w, &f1);
  EXPECT_EQ(help.topics, std::vector<std::string>{"preseteditwindows_free"});
  QKeyEvent ret(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
  QCoreApplication::sendEvent(w.eFunction, &ret);  // Return in an edit closes the form too
  EXPECT_FALSE(w.isVisible());
  EXPECT_EQ(w.result(), kalvora::platform::mrCancel);

  TfAddSynth s(Host());
  s.show();
  Pump();
  s.close();  // the title bar's close button
  EXPECT_EQ(s.result(), kalvora::platform::mrCancel);
}

// ---- synthesis ------------------------------------------------------------------------

TEST_F(PresetWindows, SynthesisFollowsSlidersSourceAndMaximize) {
  TfAddSynth s(Host());
  s.FormActivate();
  EXPECT_EQ(s.cbS->currentIndex(), 0);  // "Sine"
  EXPECT_EQ(s.eName->text(), "Sine");
  s.cbS->setCurrentIndex(2);  // the ramp
  s.cbSChange();
  EXPECT_EQ(s.Harmonics()[1][1], 2);

  // Only the first harmonic at 100 %: Maximize off gives src / 16, on the source stretched.
  EXPECT_EQ(s.Positions(), InitialSliderPositions());
  EXPECT_EQ(s.lPerc[0]->text(), "100");
  EXPECT_EQ(s.lPerc[1]->text(), "0");
  s.cbMaximize->click();
  EXPECT_FALSE(s.cbMaximize->isChecked());
  for (int n : {0, 8, 40, 149}) EXPECT_EQ(s.Result()[n], static_cast<int>(std::nearbyint(n / 16.0))) << n;
  EXPECT_EQ(s.Result()[8], 0);   // 0.5 to even
  EXPECT_EQ(s.Result()[40], 2);  // 2.5 to even
  s.cbMaximize->click();
  EXPECT_EQ(s.Result(), Ramp());

  s.sb[1]->setValue(50);  // the second harmonic at 50 %
  EXPECT_EQ(s.lPerc[1]->text(), "50");
  TSliderPositions p = InitialSliderPositions();
  p[1] = 50;
  EXPECT_EQ(s.Result(), ComputeAdditiveWave(BuildHarmonicTables(Ramp()), p, true));

  // All at 100 (every bar at the bottom): flat 0.
  for (QScrollBar* bar : s.sb) bar->setValue(kSliderMax);
  EXPECT_EQ(s.Result(), TWaveCycle{});
  s.bInit->click();
  EXPECT_EQ(s.Positions(), InitialSliderPositions());
}

TEST_F(PresetWindows, SynthesisPicksTheLastSineOrTheFirstEntry) {
  doc.RenameWavePreset(1, "First");
  TfAddSynth s(Host());
  s.FormActivate();
  EXPECT_EQ(s.cbS->currentIndex(), 0);
  EXPECT_EQ(s.cbS->currentText(), "First");
}

TEST_F(PresetWindows, SliderMemoriesRoundTripThroughTheSettings) {
  {
    TfAddSynth s(Host());
    s.FormActivate();
    // Nothing stored yet: every memory is all zeros.
    s.bLoad[0]->click();
    EXPECT_EQ(s.Positions(), TSliderPositions{});
    s.sb[0]->setValue(7);
    s.sb[15]->setValue(93);
    // The button captioned "Save 1" is bSave6, memory 6.
    EXPECT_EQ(s.bSave[5]->text(), "Save 1");
    s.bSave[5]->click();
    s.bClose->click();
  }
  EXPECT_EQ(ini->ReadInteger("AddSynthMem", "Nr 6/1", -1), 7);
  EXPECT_EQ(ini->ReadInteger("AddSynthMem", "Nr 6/16", -1), 93);
  EXPECT_EQ(ini->ReadInteger("AddSynthMem", "Nr 1/1", -1), 0);

  TfAddSynth again(Host());
  again.FormActivate();
  again.bLoad[5]->click();
  EXPECT_EQ(again.Positions()[0], 7);
  EXPECT_EQ(again.Positions()[15], 93);
  EXPECT_EQ(again.Result(), ComputeAdditiveWave(again.Harmonics(), again.Positions(), true));
}

TEST_F(PresetWindows, SynthesisTableCommands) {
  TfAddSynth s(Host());
  s.FormActivate();
  s.eName->setText("Synth");
  s.bAdd->click();
  ASSERT_EQ(doc.WavePresets.Count(), 4);
  EXPECT_EQ(doc.WavePresets[4].Name, "Synth");
  EXPECT_EQ(doc.WavePresets[4].Data, s.Result());
  EXPECT_EQ(s.cbD->currentIndex(), 3);
  EXPECT_EQ(s.cbS->count(), 4);

  s.cbD->setCurrentIndex(1);
  s.cbDChange();
  EXPECT_EQ(s.eName->text(), "Square");
  prompts.expectConfirm(kAreYouSure, mrYes);
  s.bUpdate->click();
  EXPECT_EQ(doc.WavePresets[2].Data, s.Result());

  prompts.expectConfirm(kAreYouSure, mrYes);
  s.bDelete->click();
  EXPECT_EQ(Names(doc.WavePresets), (std::vector<std::string>{"Sine", "Sawtooth", "Synth"}));
  EXPECT_EQ(s.cbD->count(), 3);
  EXPECT_EQ(s.cbS->count(), 3);
}

TEST_F(PresetWindows, LoopedPreviewAndStoppingItOnClose) {
  auto s = std::make_unique<TfAddSynth>(Host());
  s->FormActivate();
  QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(5, 5), QPoint(5, 5));
  QCoreApplication::sendEvent(s->bAdd, &menu);  // a right click plays once: 200 cycles
  ASSERT_TRUE(s->WaveOut().IsOpen());
  EXPECT_EQ(s->WaveOut().QueuedBlocks(), 1u);
  EXPECT_EQ(synthSound->lastFormat.bitsPerSample, 8);
  EXPECT_EQ(synthSound->lastFormat.samplesPerSecond, 44100);
  s->WaveOut().Stop();
  Pump();
  ASSERT_EQ(s->WaveOut().QueuedBlocks(), 0u);

  // Auto Play queues two short buffers; each finished one is followed by another.
  s->cbAutoPlay->click();
  EXPECT_EQ(s->WaveOut().QueuedBlocks(), 2u);
  s->WaveOutDone();
  EXPECT_EQ(s->WaveOut().QueuedBlocks(), 3u);

  // Closing while it plays stops at once: the queue is dropped, the device closed,
  // and no more buffers follow.
  s->bClose->click();
  EXPECT_FALSE(s->cbAutoPlay->isChecked());
  EXPECT_FALSE(s->WaveOut().IsOpen());
  EXPECT_EQ(s->WaveOut().QueuedBlocks(), 0u);
  s.reset();
  Pump();
  EXPECT_EQ(synthSound->closes, 1);
}

// ---- legibility and screenshots -------------------------------------------------------

TEST_F(PresetWindows, EveryWindowIsLegible) {
  for (int i = 0; i < kWaveSamples; ++i)  // a real sine, so the pictures show something
    doc.WavePresets.At(1).Data[i] = static_cast<std::uint8_t>(std::lround(74.5 + 74.5 * std::sin(2 * M_PI * i / 150)));
  TfFreeEdit w(Host());
  w.show();
  Pump();
  w.eFunction->setText("sin(2*pi*x)");
  w.cbShowWindow->setChecked(true);
  w.eWindowBottom->setValue(40);
  w.RedrawWave();
  w.lFunctionErrorMessage->setText("Expected operator or closing parenthesis.");
  EXPECT_TRUE(ClippedTexts(&w).isEmpty()) << ClippedTexts(&w).join("\n").toStdString();
  SaveScreenshot(&w, "presetwin_freeedit_create");
  w.pcPages->setCurrentWidget(w.tsModify);
  w.sbChangeVolume->setValue(370);
  w.rbLowpass->click();
  w.sbFilterF1->setValue(70);
  Pump();
  EXPECT_TRUE(ClippedTexts(&w).isEmpty()) << ClippedTexts(&w).join("\n").toStdString();
  SaveScreenshot(&w, "presetwin_freeedit_modify");

  TfMixWavePreset mix(doc);
  mix.show();
  Pump();
  EXPECT_TRUE(ClippedTexts(&mix).isEmpty()) << ClippedTexts(&mix).join("\n").toStdString();
  SaveScreenshot(&mix, "presetwin_mix");

  TfAddSynth s(Host());
  s.show();
  Pump();
  s.sb[1]->setValue(60);
  s.sb[2]->setValue(80);
  EXPECT_TRUE(ClippedTexts(&s).isEmpty()) << ClippedTexts(&s).join("\n").toStdString();
  SaveScreenshot(&s, "presetwin_addsynth");
  s.close();
  w.close();
}

// ---- the main window opens them ---------------------------------------------------------

TEST_F(MainTest, EditMenuOpensThePresetWindowsModally) {
  TfMain& main = Start();
  for (const char* caption : {"&Free", "&Add. Synthesis"}) {
    QString opened;
    QTimer::singleShot(0, [&] {
      QWidget* modal = QApplication::activeModalWidget();
      ASSERT_NE(modal, nullptr);
      opened = modal->objectName();
      modal->close();
    });
    QMenu* presets = nullptr;
    for (QAction* a : main.MenuEdit->actions())
      if (a->text() == "&Wave Presets") presets = a->menu();
    ASSERT_NE(presets, nullptr);
    for (QAction* a : presets->actions())
      if (a->text() == caption) a->trigger();
    EXPECT_EQ(opened, QString(std::string(caption) == "&Free" ? "fFreeEdit" : "fAddSynth"));
  }
}
