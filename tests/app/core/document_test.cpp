// The instrument document: voice reset values, keeping voices on their
// presets and envelopes when entries are deleted, swapped or sorted, the
// change observer, the pitch tables against their closed forms and the
// preview blocks.
#include <gtest/gtest.h>

#include <cmath>

#include "DocumentFixture.h"
#include "core/Previews.h"

using namespace kalvora::test;

TEST_F(Document, ResetVoiceGivesTheResetValues) {
  doc.DefaultVoiceNames = {"Bass", "Lead"};
  TVoice& v = doc.Voice(2);
  v.Active = true;
  v.Timing.Time = 77;
  v.Vibrato.VibCopyDown = false;
  v.Lowpass.FilterTo = 9;
  doc.ResetVoice(2);

  struct Row {
    const char* field;
    long long actual, expected;
  };
  const Row rows[] = {
      {"Active", v.Active, false},           {"Note", v.Pitch.Note, 26},
      {"Finetune", v.Pitch.Finetune, 50},          {"SourcePreset", v.Morph.SourcePreset, 3},
      {"DestPreset", v.Morph.DestPreset, 3},       {"NoiseSource", v.Morph.NoiseSource, false},
      {"NoiseDest", v.Morph.NoiseDest, false},     {"Time", v.Timing.Time, 1000},
      {"Repeats", v.Timing.Repeats, 1},             {"StartDelay", v.Timing.StartDelay, 0},
      {"RepeatMode", v.Timing.RepeatMode, false},   {"Phase", v.Morph.Phase, 0},
      {"MorphPreview", v.Morph.MorphPreview, 50},  {"Volume", v.Volume.Volume, 100},
      {"Envelope", v.Volume.Envelope, 1},           {"VibSpeedFrom", v.Vibrato.VibSpeedFrom, 0},
      {"VibDepthFrom", v.Vibrato.VibDepthFrom, 0},   {"VibSpeedTo", v.Vibrato.VibSpeedTo, 0},
      {"VibDepthTo", v.Vibrato.VibDepthTo, 0},       {"VibDirection", v.Vibrato.VibDirection, false},
      {"VibCopyUp", v.Vibrato.VibCopyUp, false},     {"VibCopyDown", v.Vibrato.VibCopyDown, true},
      {"VibSpeedFromX100", v.Vibrato.VibSpeedFromX100, false},
      {"VibDepthFromX100", v.Vibrato.VibDepthFromX100, false},
      {"VibSpeedToX100", v.Vibrato.VibSpeedToX100, false},
      {"VibDepthToX100", v.Vibrato.VibDepthToX100, false},
      {"FilterActive", v.Lowpass.FilterActive, false}, {"FilterFrom", v.Lowpass.FilterFrom, 0},
      {"FilterTo", v.Lowpass.FilterTo, 0},           {"FilterCopyUp", v.Lowpass.FilterCopyUp, false},
      {"FilterCopyDown", v.Lowpass.FilterCopyDown, true},
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
  EXPECT_EQ(plain.Voice(1).Morph.SourcePreset, 1);
  EXPECT_EQ(plain.Voice(1).Morph.DestPreset, 1);
  EXPECT_THROW(plain.Voice(33), std::out_of_range);
  EXPECT_THROW(plain.Voice(0), std::out_of_range);
}

TEST_F(Document, VoicesKeepTheirPresetsAndEnvelopesWhenEntriesMove) {
  // Voices 1..4 use presets 1..4 and envelopes 1, 2, 3, 3.
  for (int n = 1; n <= 4; ++n) {
    doc.Voice(n).Morph.SourcePreset = static_cast<std::uint8_t>(n);
    doc.Voice(n).Morph.DestPreset = static_cast<std::uint8_t>(5 - n);
    doc.Voice(n).Volume.Envelope = static_cast<std::uint8_t>(std::min(n, 3));
  }
  auto presetOf = [&](int n) { return doc.WavePresets[doc.Voice(n).Morph.SourcePreset].Name; };
  auto destOf = [&](int n) { return doc.WavePresets[doc.Voice(n).Morph.DestPreset].Name; };
  auto envelopeOf = [&](int n) { return doc.VolumeEnvelopes[doc.Voice(n).Volume.Envelope].Name; };

  doc.DeleteWavePreset(2);  // "Square": voice 2 falls back to entry 1, the others follow
  EXPECT_EQ(presetOf(1), "Sine");
  EXPECT_EQ(doc.Voice(2).Morph.SourcePreset, 1);
  EXPECT_EQ(presetOf(3), "Sawtooth");
  EXPECT_EQ(presetOf(4), "Noise");
  EXPECT_EQ(destOf(1), "Noise");
  EXPECT_EQ(destOf(2), "Sawtooth");
  EXPECT_EQ(doc.Voice(3).Morph.DestPreset, 1);  // was "Square"

  doc.DeleteVolumeEnvelope(1);
  EXPECT_EQ(doc.Voice(1).Volume.Envelope, 1);
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
