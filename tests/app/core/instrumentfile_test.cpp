// Instrument files: hand-built fixtures of every version gate, the writer's
// exact bytes, the merge of inline presets and envelopes, and damaged files.
#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "DocumentFixture.h"
#include "HexFixture.h"
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include "formats/ByteStream.h"
#include "formats/InstrumentFile.h"

using namespace kalvora::test;
using Bytes = std::vector<std::uint8_t>;

namespace {

TWavePreset Filled(std::string name, std::vector<std::pair<int, int>> runs) {
  TWavePreset p;
  p.Name = std::move(name);
  int i = 0;
  for (auto [value, count] : runs)
    for (int k = 0; k < count; ++k) p.Data[i++] = static_cast<std::uint8_t>(value);
  return p;
}

// The libraries the fixtures were written against: Sine (75s) and Sawtooth
// (0x20s); envelopes Full and Slow.
void FillLibraries(TInstrumentDocument& doc) {
  doc.WavePresets.Clear();
  doc.WavePresets.PushBack(Filled("Sine", {{0x4b, 150}}));
  doc.WavePresets.PushBack(Filled("Sawtooth", {{0x20, 150}}));
  doc.VolumeEnvelopes.Clear();
  doc.VolumeEnvelopes.PushBack(Envelope("Full"));
  doc.VolumeEnvelopes.PushBack(Envelope("Slow", {{0, 255}, {128, 64}, {255, 0}}));
  doc.WavePresetsModified = doc.VolumeEnvelopesModified = false;
  for (int n = 1; n <= 32; ++n) doc.ResetVoice(n);
}

std::string TwoDigitName(int n) { return (n < 10 ? "0" : "") + std::to_string(n); }

TAskNewName NoQuestions() {
  return [](TNameKind, const std::string& name) -> std::optional<std::string> {
    ADD_FAILURE() << "unexpected name question for " << name;
    return std::nullopt;
  };
}

class InstrumentFile : public ::testing::Test {
 protected:
  void SetUp() override { FillLibraries(doc); }
  void Load(const Bytes& bytes, const TAskNewName& ask = NoQuestions()) {
    ApplyInstrument(ParseInstrument(bytes), doc, ask);
  }
  TInstrumentDocument doc;
};

}  // namespace

TEST_F(InstrumentFile, OneVoiceFixtureReadsEveryFieldAndWritesBackTheSameBytes) {
  const Bytes fixture = ReadHexFixture("instrument_v30_one_voice.hex");
  Load(fixture);
  const TInGlobSettings& g = doc.Instrument.Globals;
  EXPECT_EQ(g.Description, (std::vector<std::string>{"Warm pad", "by hand"}));
  EXPECT_EQ(g.GetQuality(), 1);
  EXPECT_EQ(g.GetGlobalDetune(), std::make_pair(-2, 3));
  EXPECT_EQ(g.GetEffectOrder(), "ca");
  EXPECT_EQ(g.GetEqBands(), (std::array<std::uint8_t, 10>{60, 61, 62, 63, 64, 65, 66, 67, 68, 69}));
  EXPECT_EQ(g.GetDistortion(), (std::array<std::uint8_t, 4>{60, 5, 10, 10}));
  EXPECT_EQ(g.GetVolume(), 58);
  EXPECT_EQ(g.GetLowpass().Slope, 2);
  EXPECT_EQ(g.GetLowpass().CutOff, 5000);
  EXPECT_EQ(g.GetLowpass().Resonance, 30);
  EXPECT_EQ(g.GetFadeTimes().first, 100);
  EXPECT_EQ(g.GetFadeTimes().second, 200);

  EXPECT_FALSE(doc.Voice(1).Active);
  for (int n = 3; n <= 32; ++n) EXPECT_FALSE(doc.Voice(n).Active) << n;
  const TVoice& v = doc.Voice(2);
  EXPECT_TRUE(v.Active);
  EXPECT_EQ(v.Name, "Lead");
  EXPECT_EQ(v.Pitch, (TVoicePitch{38, 48}));
  // Sawtooth's data equal the library's entry 2; the square is new.
  EXPECT_EQ(v.Morph.SourcePreset, 2);
  EXPECT_EQ(v.Morph.DestPreset, 3);
  EXPECT_EQ(doc.WavePresets[3].Name, "Fixture Square");
  EXPECT_EQ(doc.WavePresets[3].Data[74], 0x10);
  EXPECT_EQ(doc.WavePresets[3].Data[75], 0x80);
  EXPECT_TRUE(v.Morph.NoiseSource);
  EXPECT_FALSE(v.Morph.NoiseDest);
  EXPECT_EQ(v.Timing, (TVoiceTiming{65535, 255, 65535, true}));
  EXPECT_EQ(v.Morph.MorphPreview, 40);
  EXPECT_EQ(v.Morph.Phase, 149);
  EXPECT_EQ(v.Vibrato, (TVoiceVibrato{10, 20, 30, 250, true, true, false, true, false, true, false}));
  EXPECT_EQ(v.Volume.Volume, 90);
  EXPECT_EQ(v.Volume.Envelope, 3);
  EXPECT_EQ(doc.VolumeEnvelopes[3].Name, "Fixture Env");
  EXPECT_EQ(doc.VolumeEnvelopes[3].Count, 3);
  EXPECT_EQ(v.Lowpass, (TVoiceLowpass{true, 50, 250, true, false}));
  EXPECT_TRUE(doc.WavePresetsModified);
  EXPECT_TRUE(doc.VolumeEnvelopesModified);

  EXPECT_EQ(InstrumentBytes(doc), fixture);
}

TEST_F(InstrumentFile, EachVersionGateReadsItsFieldsAndDefaultsTheRest) {
  for (int version = 20; version <= 31; ++version) {
    SCOPED_TRACE(version);
    FillLibraries(doc);
    Load(ReadHexFixture("instrument_v" + std::to_string(version) + ".hex"));
    const int v = std::min(version, 30);  // above 30 reads as 30
    const TInGlobSettings& g = doc.Instrument.Globals;
    EXPECT_EQ(g.Description, std::vector<std::string>{"gate " + std::to_string(version)});
    EXPECT_EQ(g.GetGlobalDetune(), v >= 29 ? std::make_pair(1, -2) : std::make_pair(0, 0));
    EXPECT_EQ(g.GetEffectOrder(), v >= 28 ? "ba" : "");
    EXPECT_EQ(g.GetEqBands()[0], v >= 28 ? 64 : 60);
    EXPECT_EQ(g.GetDistortion(), v >= 28 ? (std::array<std::uint8_t, 4>{58, 1, 2, 3})
                                         : (std::array<std::uint8_t, 4>{60, 0, 0, 0}));
    EXPECT_EQ(g.GetVolume(), v >= 29 ? 62 : 60);
    const TLowpassStored lp = g.GetLowpass();
    EXPECT_EQ(lp.Slope, v >= 30 ? 1 : 3);
    EXPECT_EQ(lp.Resonance, v >= 30 ? 20 : 60);
    EXPECT_EQ(g.GetFadeTimes().first, v >= 30 ? 10 : 0);
    EXPECT_EQ(g.GetFadeTimes().second, v >= 30 ? 20 : 0);

    const TVoice& voice = doc.Voice(1);
    EXPECT_TRUE(voice.Active);
    EXPECT_EQ(voice.Name, "Gate");
    // By name before 24/25, inline after: the same library entries.
    EXPECT_EQ(voice.Morph.SourcePreset, 2);
    EXPECT_EQ(voice.Morph.DestPreset, 1);
    EXPECT_EQ(voice.Volume.Envelope, 2);
    EXPECT_EQ(doc.WavePresets.Count(), 2);
    EXPECT_EQ(doc.VolumeEnvelopes.Count(), 2);
    EXPECT_EQ(voice.Morph.NoiseSource, v >= 27);
    EXPECT_EQ(voice.Morph.NoiseDest, v >= 27);
    EXPECT_EQ(voice.Timing, (TVoiceTiming{1000, 3, v >= 26 ? 258 : 0, true}));
    EXPECT_EQ(voice.Morph.MorphPreview, 33);
    EXPECT_EQ(voice.Morph.Phase, v >= 23 ? 17 : 0);
    EXPECT_EQ(voice.Vibrato.VibSpeedFrom, 5);
    EXPECT_EQ(voice.Vibrato.VibDepthTo, 8);
    EXPECT_TRUE(voice.Vibrato.VibDirection);
    EXPECT_EQ(voice.Vibrato.VibCopyUp, v >= 22);
    EXPECT_EQ(voice.Vibrato.VibCopyDown, v < 22);
    EXPECT_EQ(voice.Vibrato.VibSpeedFromX100, v >= 23);
    EXPECT_EQ(voice.Vibrato.VibDepthToX100, v >= 23);
    EXPECT_EQ(voice.Volume.Volume, 77);
    EXPECT_EQ(voice.Lowpass, v >= 22   ? (TVoiceLowpass{true, 12, 13, true, false})
                             : v >= 21 ? (TVoiceLowpass{true, 12, 13, false, true})
                                       : (TVoiceLowpass{false, 0, 0, false, true}));
    for (int n = 2; n <= 32; ++n) EXPECT_FALSE(doc.Voice(n).Active);
  }
}

TEST_F(InstrumentFile, PresetsNamedByOldFilesFallBackToEntryOneWhenMissing) {
  doc.WavePresets.Clear();
  doc.WavePresets.PushBack(Filled("Other", {{1, 150}}));
  doc.VolumeEnvelopes.Clear();
  doc.VolumeEnvelopes.PushBack(Envelope("Other"));
  Load(ReadHexFixture("instrument_v20.hex"));
  EXPECT_EQ(doc.Voice(1).Morph.SourcePreset, 1);
  EXPECT_EQ(doc.Voice(1).Volume.Envelope, 1);
  EXPECT_FALSE(doc.WavePresetsModified);
}

TEST_F(InstrumentFile, ACutFileIsRefusedWholeAtEveryOffset) {
  const Bytes fixture = ReadHexFixture("instrument_v30_one_voice.hex");
  const std::size_t magicEnd = std::string(kInstrumentMagic).size() + 1;
  for (std::size_t size = 0; size < fixture.size(); ++size) {
    const Bytes cut(fixture.begin(), fixture.begin() + static_cast<std::ptrdiff_t>(size));
    try {
      ParseInstrument(cut);
      ADD_FAILURE() << "a file cut to " << size << " bytes was read";
    } catch (const EWrongInstrumentFile&) {
      EXPECT_LT(size, magicEnd) << size;
    } catch (const EInstrumentFileError& e) {
      EXPECT_GE(size, magicEnd) << size;
      EXPECT_STREQ(e.what(), kDamagedInstrumentFile);
    }
  }
}

TEST_F(InstrumentFile, DamagedHeadersAreRefused) {
  Bytes fixture = ReadHexFixture("instrument_v30_one_voice.hex");
  Bytes wrong = fixture;
  wrong[0] = 'k';
  EXPECT_THROW(ParseInstrument(wrong), EWrongInstrumentFile);
  // A description count far above the lines present.
  Bytes lines = fixture;
  lines[25] = 0xff;
  lines[26] = 0xff;
  EXPECT_THROW(ParseInstrument(lines), EInstrumentFileError);
  // The last text without its zero byte.
  Bytes noZero = fixture;
  const std::string lead = "Lead";
  noZero.resize(static_cast<std::size_t>(std::search(noZero.begin(), noZero.end(), lead.begin(), lead.end()) -
                                         noZero.begin()) + lead.size());
  EXPECT_THROW(ParseInstrument(noZero), EInstrumentFileError);
}

TEST_F(InstrumentFile, FlagsAreTrueOnlyForOneAndIndexesAreHeldToTheirRanges) {
  Bytes b = ReadHexFixture("instrument_v30.hex");
  // Find voice 1's name and change the bytes after it.
  const std::string marker = "Gate";
  auto at = std::search(b.begin(), b.end(), marker.begin(), marker.end()) - b.begin();
  const auto note = static_cast<std::size_t>(at) + marker.size() + 1;
  b[note] = 200;  // a note beyond the pitch tables
  const std::size_t noise = note + 2 + 9 + 150 + 5 + 150;
  b[noise] = 2;  // not exactly 1
  Load(b);
  EXPECT_EQ(doc.Voice(1).Pitch.Note, 72);
  EXPECT_FALSE(doc.Voice(1).Morph.NoiseSource);
  EXPECT_TRUE(doc.Voice(1).Morph.NoiseDest);
}

TEST_F(InstrumentFile, ValuesTheFileCannotHoldAreRefusedNotWrapped) {
  doc.Voice(3).Active = true;
  doc.Voice(3).Timing.Repeats = 255;
  doc.Voice(3).Timing.StartDelay = 65535;
  doc.Voice(3).Timing.Time = 65535;
  EXPECT_NO_THROW(InstrumentBytes(doc));
  doc.Voice(3).Timing.Repeats = 256;
  EXPECT_THROW(InstrumentBytes(doc), EInstrumentNotSaved);
  doc.Voice(3).Timing.Repeats = 1;
  doc.Voice(3).Timing.StartDelay = 999999;
  try {
    InstrumentBytes(doc);
    ADD_FAILURE() << "a start delay of 999999 was written";
  } catch (const EInstrumentNotSaved& e) {
    EXPECT_NE(std::string(e.what()).find("Voice 3"), std::string::npos) << e.what();
  }
}

TEST_F(InstrumentFile, SaveAndLoadKeepEveryStoredFieldAndTheVoiceOrder) {
  for (int n : {1, 7, 32}) {
    TVoice& v = doc.Voice(n);
    v.Active = true;
    v.Name = "Voice " + std::to_string(n);
    v.Pitch.Note = static_cast<std::uint8_t>(n);
    v.Timing.Time = 100 * n;
    v.Morph.SourcePreset = 2;
    v.Volume.Envelope = 2;
  }
  doc.Voice(1).Active = false;
  doc.Voice(2).Active = true;
  const Bytes written = InstrumentBytes(doc);
  TInstrumentDocument other;
  FillLibraries(other);
  ApplyInstrument(ParseInstrument(written), other, NoQuestions());
  // Inactive voices are not stored: they read back as reset voices.
  for (int n = 1; n <= 32; ++n) {
    if (doc.Voice(n).Active) EXPECT_EQ(other.Voice(n), doc.Voice(n)) << n;
    else EXPECT_EQ(other.Voice(n).Name, TwoDigitName(n)) << n;
    EXPECT_EQ(other.Voice(n).Active, doc.Voice(n).Active) << n;
  }
  EXPECT_EQ(InstrumentBytes(other), written);
}

TEST_F(InstrumentFile, ANameClashIsAskedUntilTheNameIsFree) {
  std::vector<std::string> asked;
  std::vector<std::string> answers{"Sine", "Sine 2"};
  auto ask = [&](TNameKind kind, const std::string& clash) -> std::optional<std::string> {
    EXPECT_EQ(kind, TNameKind::WavePreset);
    asked.push_back(clash);
    std::string a = answers.front();
    answers.erase(answers.begin());
    return a;
  };
  const int index = MergeWavePreset(doc, Filled("Sine", {{3, 150}}), ask);
  EXPECT_EQ(asked, (std::vector<std::string>{"Sine", "Sine"}));
  EXPECT_EQ(index, 3);
  EXPECT_EQ(doc.WavePresets[3].Name, "Sine 2");
  // Equal data are found under any name; nothing is added.
  EXPECT_EQ(MergeWavePreset(doc, Filled("Another name", {{3, 150}}), NoQuestions()), 3);
  EXPECT_EQ(doc.WavePresets.Count(), 3);
  // No answer: a free name is made.
  auto none = [](TNameKind, const std::string&) { return std::optional<std::string>(); };
  EXPECT_EQ(MergeVolumeEnvelope(doc, Envelope("Slow", {{0, 1}}), none), 3);
  EXPECT_EQ(doc.VolumeEnvelopes[3].Name, "Slow 2");
}

TEST_F(InstrumentFile, AFullTableGivesEntryOneAndAddsNothing) {
  for (int i = doc.WavePresets.Count(); i < 254; ++i)
    doc.WavePresets.PushBack(Filled("P" + std::to_string(i), {{i % 150, 150}}));
  doc.WavePresetsModified = false;
  bool added = true;
  EXPECT_EQ(MergeWavePreset(doc, Filled("New", {{149, 1}, {0, 149}}), NoQuestions(), &added), 1);
  EXPECT_FALSE(added);
  EXPECT_EQ(doc.WavePresets.Count(), 254);
  EXPECT_FALSE(doc.WavePresetsModified);
}

TEST_F(InstrumentFile, FilesOnDisk) {
  const auto file = std::filesystem::temp_directory_path() /
                    ("kalvora_instrument_" + std::to_string(::getpid()) + ".kvi");
  EXPECT_FALSE(ReadInstrumentFile(file).has_value());
  WriteInstrumentFile(file, doc);
  auto staged = ReadInstrumentFile(file);
  ASSERT_TRUE(staged.has_value());
  EXPECT_EQ(staged->Version, 30);
  std::filesystem::remove(file);
  EXPECT_EQ(WaveFileNameFor("/x/bass.kvi"), "/x/bass.wav");
  EXPECT_EQ(WaveFileNameFor("ab"), ".wav");
}
