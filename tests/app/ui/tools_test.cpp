// The tool window's services over the document: the library tables
// (uniqueness, capacity, prompts), combo filling, voice-part copy and the
// preview blocks on the null sound device.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <cmath>

#include "DocumentFixture.h"
#include "windows/Tools.h"
#include "components/EnhWave.h"
#include "platform/null/NullAudioSink.h"

using kalvora::platform::NullAudioSink;
using namespace kalvora::test;

namespace {

void Pump() {
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents();
}

}  // namespace

TEST_F(Document, AddKeepsNamesUniqueAndReportsRefusals) {
  TfTools tools(doc, prompts, std::make_unique<NullAudioSink>());
  EXPECT_EQ(tools.AddWavePreset(Preset("sine")), TTableResult::Added);  // differs in case only
  EXPECT_TRUE(doc.WavePresetsModified);

  prompts.expectMessage(kPresetExists);
  EXPECT_EQ(tools.AddWavePreset(Preset("Sine")), TTableResult::NameExists);
  // A long name is cut to 30 characters before it is compared.
  const std::string longName(30, 'x');
  EXPECT_EQ(tools.AddWavePreset(Preset(longName)), TTableResult::Added);
  prompts.expectMessage(kPresetExists);
  EXPECT_EQ(tools.AddWavePreset(Preset(longName + "yz")), TTableResult::NameExists);
  EXPECT_EQ(doc.WavePresets.Count(), 6);

  prompts.expectMessage(kEnvelopeExists);
  EXPECT_EQ(tools.AddVolumeEnvelope(Envelope("Decay")), TTableResult::NameExists);
  EXPECT_EQ(doc.VolumeEnvelopes.Count(), 3);
}

TEST_F(Document, AFullTableRefusesWithAMessage) {
  TfTools tools(doc, prompts, std::make_unique<NullAudioSink>());
  for (int i = doc.WavePresets.Count(); i < 254; ++i)
    ASSERT_EQ(tools.AddWavePreset(Preset("p" + std::to_string(i))), TTableResult::Added);
  for (int i = doc.VolumeEnvelopes.Count(); i < 254; ++i)
    ASSERT_EQ(tools.AddVolumeEnvelope(Envelope("e" + std::to_string(i))), TTableResult::Added);
  EXPECT_EQ(doc.WavePresets.Count(), 254);

  prompts.expectMessage(kPresetTableFull);
  EXPECT_EQ(tools.AddWavePreset(Preset("one more")), TTableResult::Full);
  prompts.expectMessage(kEnvelopeTableFull);
  EXPECT_EQ(tools.AddVolumeEnvelope(Envelope("one more")), TTableResult::Full);
  EXPECT_EQ(doc.WavePresets.Count(), 254);
  EXPECT_EQ(doc.VolumeEnvelopes.Count(), 254);
}

TEST_F(Document, ReplaceAsksAndKeepsNamesUnique) {
  TfTools tools(doc, prompts, std::make_unique<NullAudioSink>());
  prompts.expectConfirm(kAreYouSure, mrNo);
  EXPECT_EQ(tools.ReplaceWavePreset(2, Preset("Square", 10)), mrNo);
  EXPECT_EQ(doc.WavePresets[2].Data[0], 75);
  EXPECT_FALSE(doc.WavePresetsModified);

  prompts.expectConfirm(kAreYouSure, mrYes);
  EXPECT_EQ(tools.ReplaceWavePreset(2, Preset("Square", 10)), mrYes);  // its own name
  EXPECT_EQ(doc.WavePresets[2].Data[0], 10);
  EXPECT_TRUE(doc.WavePresetsModified);
  EXPECT_EQ(changes, 1);

  prompts.expectConfirm(kAreYouSure, mrYes);
  EXPECT_EQ(tools.ReplaceWavePreset(2, Preset("Pulse", 20)), mrYes);  // a new name
  EXPECT_EQ(Names(doc.WavePresets), (std::vector<std::string>{"Sine", "Pulse", "Sawtooth", "Noise"}));

  // Another entry's name would make two entries of one name: refused, nothing asked.
  prompts.expectMessage(kPresetExists);
  EXPECT_EQ(tools.ReplaceWavePreset(2, Preset("Sine", 30)), mrCancel);
  EXPECT_EQ(doc.WavePresets[2].Name, "Pulse");
  prompts.expectMessage(kEnvelopeExists);
  EXPECT_EQ(tools.ReplaceVolumeEnvelope(1, Envelope("Swell")), mrCancel);
}

TEST_F(Document, DeleteMovesLaterEntriesDown) {
  TfTools tools(doc, prompts, std::make_unique<NullAudioSink>());
  prompts.expectConfirm(kAreYouSure, mrNo);
  EXPECT_EQ(tools.DeleteWavePreset(2), mrNo);
  EXPECT_EQ(doc.WavePresets.Count(), 4);

  prompts.expectConfirm(kAreYouSure, mrYes);
  EXPECT_EQ(tools.DeleteWavePreset(2), mrYes);
  EXPECT_EQ(Names(doc.WavePresets), (std::vector<std::string>{"Sine", "Sawtooth", "Noise"}));
  EXPECT_TRUE(doc.WavePresetsModified);

  prompts.expectConfirm(kAreYouSure, mrYes);
  tools.DeleteWavePreset(3);  // the last entry
  EXPECT_EQ(Names(doc.WavePresets), (std::vector<std::string>{"Sine", "Sawtooth"}));
}

TEST_F(Document, FillComboSelectsByMode) {
  TfTools tools(doc, prompts, std::make_unique<NullAudioSink>());
  doc.AddWavePreset(Preset("Pulse"));  // 5 entries
  QComboBox combo;
  struct Row {
    int selection, item;
    const char* name;
  };
  const Row rows[] = {{-1, 4, "Pulse"}, {9, 0, "Sine"}, {2, 2, "Sawtooth"}, {-2, 2, "Sawtooth"}, {5, 0, "Sine"}};
  for (const Row& r : rows) {
    EXPECT_EQ(tools.FillWavePresetCombo(&combo, r.selection), r.name) << r.selection;
    EXPECT_EQ(combo.count(), 5);
    EXPECT_EQ(combo.currentIndex(), r.item) << r.selection;
  }
  TInstrumentDocument empty;
  TfTools emptyTools(empty, prompts, std::make_unique<NullAudioSink>());
  EXPECT_EQ(emptyTools.FillVolumeEnvelopeCombo(&combo, -1), "");
  EXPECT_EQ(combo.count(), 0);
}

TEST_F(Document, CopyVoicePartsCopiesOnlyTheChosenGroups) {
  TfTools tools(doc, prompts, std::make_unique<NullAudioSink>());
  TVoice src;
  src.Active = true, src.Name = "Source", src.Pitch.Note = 40, src.Pitch.Finetune = 60;
  src.Morph.SourcePreset = 2, src.Morph.DestPreset = 3, src.Timing.Time = 500, src.Timing.Repeats = 4, src.Timing.RepeatMode = true;
  src.Morph.MorphPreview = 10, src.Morph.Phase = 75, src.Timing.StartDelay = 300, src.Morph.NoiseSource = true, src.Morph.NoiseDest = true;
  src.Volume.Volume = 40, src.Volume.Envelope = 2;
  src.Vibrato.VibSpeedFrom = 1, src.Vibrato.VibDepthFrom = 2, src.Vibrato.VibSpeedTo = 3, src.Vibrato.VibDepthTo = 4;
  src.Vibrato.VibDirection = true, src.Vibrato.VibCopyUp = true, src.Vibrato.VibCopyDown = false;
  src.Vibrato.VibSpeedFromX100 = src.Vibrato.VibDepthFromX100 = src.Vibrato.VibSpeedToX100 = src.Vibrato.VibDepthToX100 = true;
  src.Lowpass.FilterActive = true, src.Lowpass.FilterFrom = 5, src.Lowpass.FilterTo = 6, src.Lowpass.FilterCopyUp = true, src.Lowpass.FilterCopyDown = false;

  // Each group taken alone; the union of all six must give the source itself.
  for (int group = 0; group < 6; ++group) {
    doc.Voice(1) = src;
    doc.ResetVoice(2);
    const TVoice before = doc.Voice(2);
    bool f[6] = {};
    f[group] = true;
    tools.CopyVoiceParts(1, 2, f[0], f[1], f[2], f[3], f[4], f[5]);
    const TVoice& b = doc.Voice(2);
    EXPECT_EQ(b.Pitch.Note == src.Pitch.Note && b.Active && b.Pitch.Finetune == src.Pitch.Finetune, group == 0) << group;
    EXPECT_EQ(b.Name == src.Name, group == 1) << group;
    EXPECT_EQ(b.Timing.Time == src.Timing.Time && b.Morph.Phase == src.Morph.Phase && b.Morph.NoiseDest, group == 2) << group;
    EXPECT_EQ(b.Volume.Volume == src.Volume.Volume && b.Volume.Envelope == src.Volume.Envelope, group == 3) << group;
    EXPECT_EQ(b.Vibrato.VibDepthTo == src.Vibrato.VibDepthTo && b.Vibrato.VibDepthToX100 && !b.Vibrato.VibCopyDown, group == 4) << group;
    EXPECT_EQ(b.Lowpass.FilterTo == src.Lowpass.FilterTo && b.Lowpass.FilterActive && !b.Lowpass.FilterCopyDown, group == 5) << group;
    EXPECT_NE(b, before) << group;
  }
  tools.CopyVoiceParts(1, 3, true, true, true, true, true, true);
  EXPECT_EQ(doc.Voice(3), src);
  EXPECT_EQ(changes, 0);  // the callers mark the sample
}

TEST_F(Document, PreviewPlaysOnTheToolWaveOutputAndClosesWhenDone) {
  auto sink = std::make_unique<NullAudioSink>();
  NullAudioSink* device = sink.get();
  auto record = sink->record();
  TfTools tools(doc, prompts, std::move(sink));

  tools.PlayWavePreset(doc.WavePresets[1]);
  tools.PlayVolumeEnvelope(doc.VolumeEnvelopes[1]);
  EXPECT_EQ(record->opens, 1);
  EXPECT_EQ(record->lastFormat.bitsPerSample, 8);
  EXPECT_EQ(record->lastFormat.samplesPerSecond, 44100);
  EXPECT_EQ(record->lastFormat.channels, 1);

  device->finish(1);
  Pump();
  EXPECT_TRUE(tools.WaveOut().IsOpen());  // the envelope still plays
  device->finish(1);
  Pump();
  EXPECT_FALSE(tools.WaveOut().IsOpen());
  ASSERT_EQ(record->played.size(), 2u);
  EXPECT_EQ(record->played[0].bytes.size(), 30000u);
  EXPECT_EQ(record->played[1].bytes.size(), 90000u);
}

TEST(ToolsMath, PowerAndLog2) {
  EXPECT_NEAR(static_cast<double>(TfTools::Power(3, 2)), 8.0, 1e-15);
  EXPECT_NEAR(static_cast<double>(TfTools::Power(0.5, 16)), 4.0, 1e-15);
  EXPECT_NEAR(static_cast<double>(TfTools::Log2(1024)), 10.0, 1e-15);
}
