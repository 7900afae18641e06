// The instrument document and the tool window's services: voice reset values,
// the library tables (uniqueness, capacity, prompts), keeping voices on their
// presets and envelopes when entries are deleted, swapped or sorted, the pitch
// tables against their closed forms, combo filling, voice-part copy and the
// preview blocks on the null sound device.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <cmath>

#include "Fakes.h"
#include "Instrument.h"
#include "Tools.h"
#include "components/EnhWave.h"
#include "platform/NullAudioSink.h"

using kalvora::platform::NullAudioSink;
using kalvora::test::FakePrompts;
using kalvora::test::mrCancel;
using kalvora::test::mrNo;
using kalvora::test::mrYes;

namespace {

TWavePreset Preset(std::string name, std::uint8_t fill = 75) {
  TWavePreset p;
  p.Name = std::move(name);
  p.Data.fill(fill);
  return p;
}

TVolumeEnvelope Envelope(std::string name, std::vector<std::pair<int, int>> points = {{0, 255}, {255, 255}}) {
  TVolumeEnvelope e;
  e.Name = std::move(name);
  e.Count = static_cast<std::uint8_t>(points.size());
  for (std::size_t i = 0; i < points.size(); ++i) {
    e.X[i] = static_cast<std::uint8_t>(points[i].first);
    e.Y[i] = static_cast<std::uint8_t>(points[i].second);
  }
  return e;
}

std::vector<std::string> Names(const TWavePresetTable& t) {
  std::vector<std::string> names;
  for (int i = 1; i <= t.Count(); ++i) names.push_back(t[i].Name);
  return names;
}

void Pump() {
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents();
}

class Document : public ::testing::Test {
 protected:
  void SetUp() override {
    for (const char* n : {"Sine", "Square", "Sawtooth", "Noise"}) doc.AddWavePreset(Preset(n));
    for (const char* n : {"Full", "Decay", "Swell"}) doc.AddVolumeEnvelope(Envelope(n));
    doc.WavePresetsModified = doc.VolumeEnvelopesModified = false;
    doc.OnChanged = [this] { ++changes; };
  }

  TInstrumentDocument doc;
  FakePrompts prompts;
  int changes = 0;
};

}  // namespace

TEST_F(Document, ResetVoiceGivesTheResetValues) {
  doc.DefaultVoiceNames = {"Bass", "Lead"};
  TVoice& v = doc.Voice(2);
  v.Active = true;
  v.Time = 77;
  v.VibCopyDown = false;
  v.FilterTo = 9;
  doc.ResetVoice(2);

  struct Row {
    const char* field;
    long long actual, expected;
  };
  const Row rows[] = {
      {"Active", v.Active, false},           {"Note", v.Note, 26},
      {"Finetune", v.Finetune, 50},          {"SourcePreset", v.SourcePreset, 3},
      {"DestPreset", v.DestPreset, 3},       {"NoiseSource", v.NoiseSource, false},
      {"NoiseDest", v.NoiseDest, false},     {"Time", v.Time, 1000},
      {"Repeats", v.Repeats, 1},             {"StartDelay", v.StartDelay, 0},
      {"RepeatMode", v.RepeatMode, false},   {"Phase", v.Phase, 0},
      {"MorphPreview", v.MorphPreview, 50},  {"Volume", v.Volume, 100},
      {"Envelope", v.Envelope, 1},           {"VibSpeedFrom", v.VibSpeedFrom, 0},
      {"VibDepthFrom", v.VibDepthFrom, 0},   {"VibSpeedTo", v.VibSpeedTo, 0},
      {"VibDepthTo", v.VibDepthTo, 0},       {"VibDirection", v.VibDirection, false},
      {"VibCopyUp", v.VibCopyUp, false},     {"VibCopyDown", v.VibCopyDown, true},
      {"VibSpeedFromX100", v.VibSpeedFromX100, false},
      {"VibDepthFromX100", v.VibDepthFromX100, false},
      {"VibSpeedToX100", v.VibSpeedToX100, false},
      {"VibDepthToX100", v.VibDepthToX100, false},
      {"FilterActive", v.FilterActive, false}, {"FilterFrom", v.FilterFrom, 0},
      {"FilterTo", v.FilterTo, 0},           {"FilterCopyUp", v.FilterCopyUp, false},
      {"FilterCopyDown", v.FilterCopyDown, true},
  };
  for (const Row& r : rows) EXPECT_EQ(r.actual, r.expected) << r.field;
  EXPECT_EQ(v.Name, "Lead");

  // Beyond the default names list the voice keeps its two-digit number.
  doc.ResetVoice(7);
  EXPECT_EQ(doc.Voice(7).Name, "07");
}

TEST_F(Document, ResetVoiceWithoutSawtoothTakesPresetOne) {
  TInstrumentDocument plain;
  plain.AddWavePreset(Preset("sawtooth"));  // names compare exactly
  plain.AddWavePreset(Preset("Sine"));
  plain.ResetVoice(1);
  EXPECT_EQ(plain.Voice(1).SourcePreset, 1);
  EXPECT_EQ(plain.Voice(1).DestPreset, 1);
  EXPECT_THROW(plain.Voice(33), std::out_of_range);
  EXPECT_THROW(plain.Voice(0), std::out_of_range);
}

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

TEST_F(Document, VoicesKeepTheirPresetsAndEnvelopesWhenEntriesMove) {
  // Voices 1..4 use presets 1..4 and envelopes 1, 2, 3, 3.
  for (int n = 1; n <= 4; ++n) {
    doc.Voice(n).SourcePreset = static_cast<std::uint8_t>(n);
    doc.Voice(n).DestPreset = static_cast<std::uint8_t>(5 - n);
    doc.Voice(n).Envelope = static_cast<std::uint8_t>(std::min(n, 3));
  }
  auto presetOf = [&](int n) { return doc.WavePresets[doc.Voice(n).SourcePreset].Name; };
  auto destOf = [&](int n) { return doc.WavePresets[doc.Voice(n).DestPreset].Name; };
  auto envelopeOf = [&](int n) { return doc.VolumeEnvelopes[doc.Voice(n).Envelope].Name; };

  doc.DeleteWavePreset(2);  // "Square": voice 2 falls back to entry 1, the others follow
  EXPECT_EQ(presetOf(1), "Sine");
  EXPECT_EQ(doc.Voice(2).SourcePreset, 1);
  EXPECT_EQ(presetOf(3), "Sawtooth");
  EXPECT_EQ(presetOf(4), "Noise");
  EXPECT_EQ(destOf(1), "Noise");
  EXPECT_EQ(destOf(2), "Sawtooth");
  EXPECT_EQ(doc.Voice(3).DestPreset, 1);  // was "Square"

  doc.DeleteVolumeEnvelope(1);
  EXPECT_EQ(doc.Voice(1).Envelope, 1);
  EXPECT_EQ(envelopeOf(2), "Decay");
  EXPECT_EQ(envelopeOf(3), "Swell");
  EXPECT_EQ(envelopeOf(4), "Swell");

  doc.SortWavePresets(false);  // Sine, Sawtooth, Noise
  EXPECT_EQ(Names(doc.WavePresets), (std::vector<std::string>{"Sine", "Sawtooth", "Noise"}));
  doc.SortWavePresets(true);
  EXPECT_EQ(Names(doc.WavePresets), (std::vector<std::string>{"Noise", "Sawtooth", "Sine"}));
  EXPECT_EQ(presetOf(1), "Sine");
  EXPECT_EQ(presetOf(3), "Sawtooth");
  EXPECT_EQ(presetOf(4), "Noise");
  EXPECT_EQ(destOf(1), "Noise");

  doc.SwapVolumeEnvelopes(1, 2);
  EXPECT_EQ(envelopeOf(2), "Decay");
  EXPECT_EQ(envelopeOf(3), "Swell");
}

TEST_F(Document, SortAndRenameCompareBytes) {
  TInstrumentDocument d;
  for (const char* n : {"b", "A", "a", "ab"}) d.AddWavePreset(Preset(n));
  d.SortWavePresets(true);
  EXPECT_EQ(Names(d.WavePresets), (std::vector<std::string>{"A", "a", "ab", "b"}));
  EXPECT_FALSE(d.RenameWavePreset(1, "b"));
  EXPECT_TRUE(d.RenameWavePreset(1, "B"));
  // A name that is cut to an existing one is refused too.
  d.AddWavePreset(Preset(std::string(30, 'z')));
  EXPECT_FALSE(d.RenameWavePreset(1, std::string(31, 'z')));
}

TEST_F(Document, MarkChangedClearsBothFlagsAndTellsTheObserver) {
  doc.SetInstrumentUpToDate(true);
  doc.SetSampleUpToDate(true);
  EXPECT_TRUE(doc.InstrumentUpToDate());
  doc.MarkChanged();
  EXPECT_FALSE(doc.SampleUpToDate());
  EXPECT_FALSE(doc.InstrumentUpToDate());
  EXPECT_EQ(changes, 1);
}

TEST(PitchTables, FollowTheirClosedForms) {
  TInstrumentDocument doc;
  for (int i = 0; i < TInstrumentDocument::kNotes; ++i) {
    const float ratio = static_cast<float>(std::exp2((i - 38) / 12.0L));
    // The exponent is kept to 40 bits, so a ratio may sit one float step away.
    EXPECT_LE(std::fabs(doc.NoteRatio[i] - ratio), std::nextafter(ratio, 1e9f) - ratio) << i;
    const double hz = static_cast<double>(55.0L * std::exp2((i - 9) / 12.0L));
    EXPECT_NEAR(doc.NoteFrequency[i], hz, hz * 1e-10) << i;
  }
  for (auto [i, exact] : {std::pair{2, 0.125f}, {14, 0.25f}, {26, 0.5f}, {38, 1.0f}, {50, 2.0f}, {62, 4.0f}})
    EXPECT_EQ(doc.NoteRatio[i], exact) << i;
  EXPECT_NEAR(doc.NoteFrequency[0], 32.70, 0.005);
  EXPECT_NEAR(doc.NoteFrequency[38], 293.66, 0.005);
  EXPECT_NEAR(doc.NoteFrequency[72], 2093.0, 0.005);
  EXPECT_NEAR(static_cast<double>(SemitoneExponent()), std::log(2.0) / 12, 1e-12);
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
  src.Active = true, src.Name = "Source", src.Note = 40, src.Finetune = 60;
  src.SourcePreset = 2, src.DestPreset = 3, src.Time = 500, src.Repeats = 4, src.RepeatMode = true;
  src.MorphPreview = 10, src.Phase = 75, src.StartDelay = 300, src.NoiseSource = true, src.NoiseDest = true;
  src.Volume = 40, src.Envelope = 2;
  src.VibSpeedFrom = 1, src.VibDepthFrom = 2, src.VibSpeedTo = 3, src.VibDepthTo = 4;
  src.VibDirection = true, src.VibCopyUp = true, src.VibCopyDown = false;
  src.VibSpeedFromX100 = src.VibDepthFromX100 = src.VibSpeedToX100 = src.VibDepthToX100 = true;
  src.FilterActive = true, src.FilterFrom = 5, src.FilterTo = 6, src.FilterCopyUp = true, src.FilterCopyDown = false;

  // Each group taken alone; the union of all six must give the source itself.
  for (int group = 0; group < 6; ++group) {
    doc.Voice(1) = src;
    doc.ResetVoice(2);
    const TVoice before = doc.Voice(2);
    bool f[6] = {};
    f[group] = true;
    tools.CopyVoiceParts(1, 2, f[0], f[1], f[2], f[3], f[4], f[5]);
    const TVoice& b = doc.Voice(2);
    EXPECT_EQ(b.Note == src.Note && b.Active && b.Finetune == src.Finetune, group == 0) << group;
    EXPECT_EQ(b.Name == src.Name, group == 1) << group;
    EXPECT_EQ(b.Time == src.Time && b.Phase == src.Phase && b.NoiseDest, group == 2) << group;
    EXPECT_EQ(b.Volume == src.Volume && b.Envelope == src.Envelope, group == 3) << group;
    EXPECT_EQ(b.VibDepthTo == src.VibDepthTo && b.VibDepthToX100 && !b.VibCopyDown, group == 4) << group;
    EXPECT_EQ(b.FilterTo == src.FilterTo && b.FilterActive && !b.FilterCopyDown, group == 5) << group;
    EXPECT_NE(b, before) << group;
  }
  tools.CopyVoiceParts(1, 3, true, true, true, true, true, true);
  EXPECT_EQ(doc.Voice(3), src);
  EXPECT_EQ(changes, 0);  // the callers mark the sample
}

TEST(Previews, EnvelopeLevelTableAndBlocks) {
  // A ramp whose steps are exact in float: level i / 4 up to position 256, then flat.
  auto levels = ExpandVolumeEnvelope(Envelope("ramp", {{0, 0}, {64, 64}, {255, 64}}));
  for (int i = 0; i <= 256; ++i) ASSERT_EQ(levels[i], i / 4) << i;
  for (int i = 257; i <= 1020; ++i) ASSERT_EQ(levels[i], 64) << i;
  // Positions after the last point stay silent.
  levels = ExpandVolumeEnvelope(Envelope("half", {{0, 100}, {128, 100}}));
  EXPECT_EQ(levels[512], 100);
  EXPECT_EQ(levels[513], 0);

  const auto full = VolumeEnvelopePreview(Envelope("full"));
  ASSERT_EQ(full.size(), 90000u);
  for (int i : {0, 19, 20, 39, 40, 89999})
    EXPECT_EQ(full[i], i % 40 < 20 ? 1 : 255) << i;  // 128 -+ 127
  // Level 64 of 255: round(64 / 255 x 127) = 32 around 128.
  const auto quiet = VolumeEnvelopePreview(Envelope("q", {{0, 64}, {255, 64}}));
  EXPECT_EQ(quiet[0], 96);
  EXPECT_EQ(quiet[20], 160);

  TWavePreset p = Preset("ramp");
  for (int i = 0; i < 150; ++i) p.Data[i] = static_cast<std::uint8_t>(i);
  const auto block = WavePresetPreview(p);
  ASSERT_EQ(block.size(), 30000u);
  for (std::size_t i = 0; i < block.size(); i += 997) EXPECT_EQ(block[i], i % 150) << i;
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
