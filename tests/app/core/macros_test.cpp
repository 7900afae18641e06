// Macro step lines, the recorder and the executor.
#include <gtest/gtest.h>

#include <fstream>
#include <functional>
#include <string>
#include <vector>

#include "DocumentFixture.h"
#include "HexFixture.h"
#include "core/Document.h"
#include "core/Macros.h"
#include "core/VoiceEdit.h"
#include "formats/InstrumentFile.h"

namespace {

using kalvora::test::Envelope;
using kalvora::test::Preset;

TMacro Macro(std::vector<std::string> steps, bool relative) { return {"m", "", 0, relative, std::move(steps)}; }

struct Executed : ::testing::Test {
  TInstrumentDocument doc;
  void SetUp() override {
    doc.WavePresets.Clear();
    doc.WavePresets.PushBack(Preset("Sine"));
    doc.WavePresets.PushBack(Preset("Saw", 20));  // shapes differ: a file keeps them apart
    doc.VolumeEnvelopes.Clear();
    doc.VolumeEnvelopes.PushBack(Envelope("Flat"));
    doc.VolumeEnvelopes.PushBack(Envelope("Decay", {{0, 255}, {255, 0}}));
  }
};

// One line run on a prepared voice; the field it touches read back.
TEST_F(Executed, LinesOfTheStepTable) {
  struct Case {
    const char* line;
    bool relative;
    int voice;
    std::function<void(TVoice&)> prepare;
    std::function<int(const TVoice&)> read;
    int expected;
  } cases[] = {
      {"012-30", true, 3, [](TVoice& v) { v.Volume.Volume = 20; }, [](const TVoice& v) { return v.Volume.Volume; }, 0},
      {"01290", true, 3, [](TVoice& v) { v.Volume.Volume = 20; }, [](const TVoice& v) { return v.Volume.Volume; }, 100},
      {"01290", false, 3, [](TVoice& v) { v.Volume.Volume = 20; }, [](const TVoice& v) { return v.Volume.Volume; }, 90},
      {"0181", false, 3, [](TVoice& v) { v.Vibrato.VibDirection = true; }, [](const TVoice& v) { return v.Vibrato.VibDirection; }, 0},
      {"0180", false, 3, [](TVoice& v) { v.Vibrato.VibDirection = false; }, [](const TVoice& v) { return v.Vibrato.VibDirection; }, 1},
      // Only exactly the number 1 is true.
      {"0002", false, 3, [](TVoice& v) { v.Active = true; }, [](const TVoice& v) { return v.Active; }, 0},
      {"000001", false, 3, [](TVoice& v) { v.Active = false; }, [](const TVoice& v) { return v.Active; }, 1},
      {"000yes", false, 3, [](TVoice& v) { v.Active = true; }, [](const TVoice& v) { return v.Active; }, 0},
      {"00270", true, 3, [](TVoice& v) { v.Pitch.Note = 60; }, [](const TVoice& v) { return v.Pitch.Note; }, 72},
      {"003-7", true, 3, [](TVoice& v) { v.Pitch.Finetune = 50; }, [](const TVoice& v) { return v.Pitch.Finetune; }, 43},
      {"01075", true, 3, [](TVoice& v) { v.Morph.Phase = 100; }, [](const TVoice& v) { return v.Morph.Phase; }, 149},
      {"014300", true, 3, [](TVoice& v) { v.Vibrato.VibSpeedFrom = 10; }, [](const TVoice& v) { return v.Vibrato.VibSpeedFrom; }, 250},
      {"006-5000", true, 3, [](TVoice& v) { v.Timing.Time = 1000; }, [](const TVoice& v) { return v.Timing.Time; }, 10},
      {"007-1", true, 3, [](TVoice& v) { v.Timing.Repeats = 1; }, [](const TVoice& v) { return v.Timing.Repeats; }, 1},
      {"0087000", true, 3, [](TVoice& v) { v.Timing.StartDelay = 60000; }, [](const TVoice& v) { return v.Timing.StartDelay; }, 67000},
      {"004Saw", false, 3, [](TVoice& v) { v.Morph.SourcePreset = 1; }, [](const TVoice& v) { return v.Morph.SourcePreset; }, 2},
      {"005Gone", true, 3, [](TVoice& v) { v.Morph.DestPreset = 2; }, [](const TVoice& v) { return v.Morph.DestPreset; }, 1},
      {"013Decay", false, 3, [](TVoice& v) { v.Volume.Envelope = 1; }, [](const TVoice& v) { return v.Volume.Envelope; }, 2},
      {"025-10", true, 3, [](TVoice& v) { v.Lowpass.FilterTo = 5; }, [](const TVoice& v) { return v.Lowpass.FilterTo; }, 0},
      // A damaged absolute value is kept in the field's range, not wrapped.
      {"012300", false, 3, [](TVoice& v) { v.Volume.Volume = 20; }, [](const TVoice& v) { return v.Volume.Volume; }, 100},
      {"950123", false, 3, [](TVoice& v) { v.Volume.Volume = 20; }, [](const TVoice& v) { return v.Volume.Volume; }, 20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    doc.CurrentVoice = c.voice;
    c.prepare(doc.Voice(c.voice));
    const TVoice before = doc.Voice(c.voice);
    ExecuteMacroSteps(doc, Macro({c.line}, c.relative));
    EXPECT_EQ(c.read(doc.Voice(c.voice)), c.expected);
    if (std::string(c.line).substr(0, 3) == "950") {
      EXPECT_EQ(doc.Voice(c.voice), before);
    }
  }
}

TEST_F(Executed, NameKeepsFiftyCharacters) {
  doc.CurrentVoice = 2;
  ExecuteMacroSteps(doc, Macro({"001" + std::string(60, 'x')}, false));
  EXPECT_EQ(doc.Voice(2).Name, std::string(50, 'x'));
}

TEST_F(Executed, VoiceChangesAreClampedAndMoveLaterSteps) {
  struct Case {
    int from;
    const char* line;
    int to;
  } cases[] = {{3, "900-40", 1}, {30, "90005", 32}, {5, "9000", 5}, {1, "9001", 2}};
  for (const Case& c : cases) {
    doc.CurrentVoice = c.from;
    ExecuteMacroSteps(doc, Macro({c.line}, false));
    EXPECT_EQ(doc.CurrentVoice, c.to) << c.line;
  }
  doc.CurrentVoice = 1;
  doc.Voice(2).Pitch.Note = 40;
  ExecuteMacroSteps(doc, Macro({"9001", "0021"}, false));
  EXPECT_EQ(doc.CurrentVoice, 2);
  EXPECT_EQ(doc.Voice(2).Pitch.Note, 1);
  EXPECT_EQ(doc.Voice(1).Pitch.Note, TVoice{}.Pitch.Note);
}

TEST_F(Executed, CopyStepsCopyTheChosenPartsRelativeToTheCurrentVoice) {
  doc.CurrentVoice = 5;
  doc.Voice(5).Volume.Volume = 33;
  doc.Voice(5).Name = "five";
  doc.Voice(5).Pitch.Note = 12;
  // From the current voice (offset 0) to the next (offset 1): volume only.
  ExecuteMacroSteps(doc, Macro({"901" + MacroCopyVoiceText(0, 1, {false, false, false, true, false, false})}, false));
  EXPECT_EQ(doc.Voice(6).Volume.Volume, 33);
  EXPECT_NE(doc.Voice(6).Name, "five");
  EXPECT_NE(doc.Voice(6).Pitch.Note, 12);
  // Stored form: "00" "01" and six flags.
  EXPECT_EQ(MacroCopyVoiceText(0, 1, {true, false, false, true, false, true}), "0001100101");
  EXPECT_EQ(MacroCopyVoiceText(-3, 2, {}), "-302000000");
  // Offsets beyond two characters keep their value.
  const std::string wide = MacroCopyVoiceText(-20, 0, {false, true, false, false, false, false});
  const TMacroCopy back = ParseMacroCopyVoiceText(wide);
  EXPECT_EQ(back.SourceOffset, -20);
  EXPECT_EQ(back.DestinationOffset, 0);
  EXPECT_TRUE(back.Parts.Name);
  EXPECT_FALSE(back.Parts.General);
  doc.CurrentVoice = 25;
  doc.Voice(5).Name = "from five";
  ExecuteMacroSteps(doc, Macro({"901" + wide}, false));
  EXPECT_EQ(doc.Voice(25).Name, "from five");
}

TEST_F(Executed, ABadLineStopsTheMacroButTheSampleIsOutOfDate) {
  doc.CurrentVoice = 2;
  doc.SetSampleUpToDate(true);
  struct Case {
    const char* bad;
    const char* message;
  } cases[] = {{"0x212", "'0x2' is not a valid integer value"}, {"012abc", "'abc' is not a valid integer value"},
               {"900", "'' is not a valid integer value"}};
  for (const Case& c : cases) {
    doc.Voice(2).Volume.Volume = 10;
    doc.Voice(2).Pitch.Note = 10;
    doc.SetSampleUpToDate(true);
    try {
      ExecuteMacroSteps(doc, Macro({"01277", c.bad, "00250"}, false));
      ADD_FAILURE() << c.bad;
    } catch (const EMacroStepError& e) {
      EXPECT_STREQ(e.what(), c.message);
    }
    EXPECT_EQ(doc.Voice(2).Volume.Volume, 77);  // applied before the bad line
    EXPECT_EQ(doc.Voice(2).Pitch.Note, 10);     // not reached
    EXPECT_FALSE(doc.SampleUpToDate());
  }
}

// What a step leaves in a field: inside the range the voice editor allows,
// the value the editor had made when the step was recorded, and a voice that
// an instrument file keeps as it is (or refuses whole, as it refuses the
// same value made in the editor).
TEST_F(Executed, StepValuesStayInTheEditorsRangeAndSurviveASave) {
  using Field = int (*)(const TVoice&);
  const Field time = [](const TVoice& v) { return int{v.Timing.Time}; };
  const Field repeats = [](const TVoice& v) { return int{v.Timing.Repeats}; };
  const Field delay = [](const TVoice& v) { return int{v.Timing.StartDelay}; };
  const Field from = [](const TVoice& v) { return int{v.Lowpass.FilterFrom}; };
  const Field to = [](const TVoice& v) { return int{v.Lowpass.FilterTo}; };
  const Field speed = [](const TVoice& v) { return int{v.Vibrato.VibSpeedTo}; };
  const Field finetune = [](const TVoice& v) { return int{v.Pitch.Finetune}; };
  const Field envelope = [](const TVoice& v) { return int{v.Volume.Envelope}; };
  struct Case {
    const char* line;
    bool relative;
    int start;  // the field's value before the step
    Field field;
    int expected;
    bool fileHolds;  // the instrument file keeps the value (Time and StartDelay 16 bits, Repeats 8)
  } cases[] = {
      // Time 10..65535 ms: an edit from 1000 to 10 recorded relatively.
      {"006-990", true, 1000, time, 10, true},
      {"006-990", true, 100, time, 10, true},
      {"006-65535", true, 65535, time, 10, true},
      {"00610", false, 1000, time, 10, true},
      {"0060", false, 1000, time, 10, true},  // below the editor's range: a damaged line
      {"00665535", false, 10, time, 65535, true},
      {"006100000", false, 10, time, 65535, true},
      {"0062147483647", true, 65535, time, 65535, true},
      // Repeats 1..65535; the file holds 255.
      {"007-300", true, 200, repeats, 1, true},
      {"007255", false, 1, repeats, 255, true},
      {"00756", true, 200, repeats, 256, false},
      // Start delay 0..999999 ms; the file holds 65535.
      {"00865535", false, 0, delay, 65535, true},
      {"008-2147483648", true, 5, delay, 0, true},
      {"008999999", false, 0, delay, 999999, false},
      {"0081000000", false, 0, delay, 999999, false},
      // Lowpass from/to 0..250, absolute values kept as the editor made them.
      {"024250", false, 0, from, 250, true},
      {"02410", true, 200, from, 210, true},
      {"024100", true, 200, from, 250, true},
      {"025251", false, 0, to, 250, true},
      {"025-300", true, 250, to, 0, true},
      {"016250", false, 0, speed, 250, true},
      {"016251", false, 0, speed, 250, true},
      {"003100", false, 50, finetune, 100, true},
      {"003-51", true, 50, finetune, 0, true},
      // A name that is no longer in the table gives entry 1, which a file keeps.
      {"013Gone", false, 2, envelope, 1, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.line) + (c.relative ? " relative" : " absolute") + " from " + std::to_string(c.start));
    for (int n = 1; n <= TInstrumentDocument::kVoices; ++n) doc.ResetVoice(n);
    doc.CurrentVoice = 3;
    TVoice& v = doc.Voice(3);
    v.Active = true;
    // Put the start value in through the editor's own field.
    const int code = std::stoi(std::string(c.line).substr(0, 3));
    if (code == kStepEnvelope) v.Volume.Envelope = static_cast<std::uint8_t>(c.start);
    else VoiceIntField(code).set(v, c.start);
    ASSERT_EQ(c.field(v), c.start);
    ExecuteMacroSteps(doc, Macro({c.line}, c.relative));
    EXPECT_EQ(c.field(doc.Voice(3)), c.expected);
    if (!c.fileHolds) {
      EXPECT_THROW(InstrumentBytes(doc), EInstrumentNotSaved);
      continue;
    }
    TInstrumentDocument other;
    other.WavePresets = doc.WavePresets;
    other.VolumeEnvelopes = doc.VolumeEnvelopes;
    ApplyInstrument(ParseInstrument(InstrumentBytes(doc)), other, {});
    EXPECT_EQ(other.Voice(3), doc.Voice(3));
  }
  // With no entry at all there is no entry 1 to fall back on.
  doc.VolumeEnvelopes.Clear();
  ExecuteMacroSteps(doc, Macro({"013Decay"}, false));
  EXPECT_EQ(doc.Voice(3).Volume.Envelope, 0);
}

// Every numeric field of the voice editor: an edit recorded relatively or
// absolutely replays on a voice that holds the old value as the value the
// editor set, and on any other voice stays inside the editor's range.
TEST(MacroReplay, EveryRecordedEditReplaysAsTheEditorMadeIt) {
  for (const TVoiceIntField& f : VoiceIntFields()) {
    if (f.kind != TStepKind::Integer) continue;
    const int mid = f.min + (f.max - f.min) / 3;
    for (bool relative : {true, false})
      for (auto [from, to] : {std::pair{f.max, f.min}, {f.min, f.max}, {mid, f.min}, {f.max, mid}}) {
        SCOPED_TRACE("step " + std::to_string(f.step) + (relative ? " relative " : " absolute ") +
                     std::to_string(from) + " -> " + std::to_string(to));
        TInstrumentDocument doc;
        TMacroRecorder rec(doc);
        ASSERT_EQ(rec.Start({"edit", "", 0, relative, {}}), TStartRecording::Started);
        RecordIntEdit(doc, &rec, f.step, from, to);
        ASSERT_TRUE(rec.Stop());
        for (int start : {from, f.min, f.max, mid}) {
          doc.CurrentVoice = 5;
          f.set(doc.Voice(5), start);
          ExecuteMacroSteps(doc, doc.Macros[0]);
          const int value = f.get(doc.Voice(5));
          if (start == from) {
            EXPECT_EQ(value, to) << "from " << start;
          }
          EXPECT_GE(value, f.min) << "from " << start;
          EXPECT_LE(value, f.max) << "from " << start;
        }
      }
  }
}

// The lines of a damaged library that the fuzz target starts from (its first
// byte is the target's flag byte): each is shown by the manager and replayed
// within the editor's ranges.
TEST_F(Executed, DamagedLibraryLinesAreShownAndKeptInRange) {
  std::ifstream in(kalvora::test::TestDataPath("macro_steps_damaged.txt"));
  ASSERT_TRUE(in);
  std::string first;
  ASSERT_TRUE(std::getline(in, first));
  std::vector<std::string> lines = {first.substr(1)};
  for (std::string l; std::getline(in, l);) lines.push_back(l);
  const std::vector<std::string> shown = {"2147483648 Opt: 000000", "4294967295 Opt: 111111", "-990", "250"};
  ASSERT_EQ(lines.size(), shown.size());
  for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(MacroStepRow(lines[i], true).Value, shown[i]) << lines[i];
  doc.CurrentVoice = 7;
  doc.Voice(7).Timing.Time = 100;
  ExecuteMacroSteps(doc, Macro(lines, true));
  EXPECT_EQ(doc.CurrentVoice, 7);
  EXPECT_EQ(doc.Voice(7).Timing.Time, 10);
  EXPECT_EQ(doc.Voice(7).Lowpass.FilterFrom, 250);
}

struct Recording : ::testing::Test {
  TInstrumentDocument doc;
  TMacroRecorder rec{doc};
  void Begin(bool relative, std::string name = "new") {
    ASSERT_EQ(rec.Start({name, "what it does", 0xC041, relative, {}}), TStartRecording::Started);
  }
};

TEST_F(Recording, StartChecksTheName) {
  doc.Macros = {{"Up", "", 0, false, {}}};
  EXPECT_EQ(rec.Start({"Up", "", 0, false, {}}), TStartRecording::NameExists);
  EXPECT_EQ(rec.Start({"", "", 0, false, {}}), TStartRecording::NameEmpty);
  EXPECT_FALSE(doc.Recording);
  EXPECT_TRUE(rec.MacroNameExists("Up"));
  EXPECT_FALSE(rec.MacroNameExists("up"));  // case-sensitive
  Begin(true, "up");
  EXPECT_TRUE(doc.Recording);
  EXPECT_TRUE(doc.RecordingRelative);
}

TEST_F(Recording, RunsOfOneFieldBecomeOneLine) {
  struct Case {
    bool relative;
    std::vector<std::string> expected;
  } cases[] = {
      {true, {"0126", "0021", "01210", "0001", "001b"}},
      {false, {"01226", "00212", "01238", "0001", "001b"}},
  };
  for (const Case& c : cases) {
    Begin(c.relative, c.relative ? "rel" : "abs");
    // Volume 20 -> 25 -> 28 -> 26: relative +5 +3 -2, absolute the values.
    for (auto [rel, abs] : {std::pair{5, 25}, {3, 28}, {-2, 26}}) rec.RecordIntStep(kStepVolume, c.relative ? rel : abs);
    // An edit of another field ends the run.
    rec.RecordIntStep(kStepNote, c.relative ? 1 : 12);
    if (c.relative) {
      rec.RecordIntStep(kStepVolume, 4);
      rec.RecordIntStep(kStepVolume, 6);
    } else {
      rec.RecordIntStep(kStepVolume, 38);
    }
    rec.RecordBoolStep(kStepActive, false);
    rec.RecordBoolStep(kStepActive, true);
    rec.RecordTextStep(kStepName, "a");
    rec.RecordTextStep(kStepName, "b");
    EXPECT_EQ(rec.Lines(), c.expected);
    ASSERT_TRUE(rec.Stop());
  }
  ASSERT_EQ(doc.Macros.size(), 2u);
  EXPECT_TRUE(doc.Macros[0].Relative);
  EXPECT_FALSE(doc.Macros[1].Relative);
  EXPECT_EQ(doc.Macros[1].HotKey, 0xC041);
  EXPECT_EQ(doc.Macros[1].Description, "what it does");
  EXPECT_TRUE(doc.MacrosModified);
}

// Voice changes are changes even in absolute recording: 1 -> 3 -> 5 replays
// to voice 5, and two copies in a row stay two copies.
TEST_F(Recording, VoiceChangesAddUpAndCopiesStaySeparate) {
  Begin(false);
  rec.RecordIntStep(kStepVoice, 2);
  rec.RecordIntStep(kStepVoice, 2);
  rec.RecordTextStep(kStepCopyVoice, MacroCopyVoiceText(0, 1, {true, false, false, false, false, false}));
  rec.RecordTextStep(kStepCopyVoice, MacroCopyVoiceText(0, 2, {true, false, false, false, false, false}));
  EXPECT_EQ(rec.Lines(), (std::vector<std::string>{"9004", "9010001100000", "9010002100000"}));
  ASSERT_TRUE(rec.Stop());
  doc.CurrentVoice = 1;
  doc.Voice(5).Pitch.Note = 9;
  ExecuteMacroSteps(doc, doc.Macros[0]);
  EXPECT_EQ(doc.CurrentVoice, 5);
  EXPECT_EQ(doc.Voice(6).Pitch.Note, 9);
  EXPECT_EQ(doc.Voice(7).Pitch.Note, 9);
}

TEST_F(Recording, StopWithoutLinesOrWithAFullTableStoresNothing) {
  Begin(false);
  EXPECT_FALSE(rec.Stop());
  EXPECT_FALSE(doc.Recording);
  EXPECT_TRUE(doc.Macros.empty());
  EXPECT_FALSE(doc.MacrosModified);

  doc.Macros.resize(TInstrumentDocument::kMaxMacros);
  for (std::size_t i = 0; i < doc.Macros.size(); ++i) doc.Macros[i].Name = "m" + std::to_string(i);
  Begin(false);
  rec.RecordIntStep(kStepVolume, 3);
  EXPECT_FALSE(rec.Stop());
  EXPECT_FALSE(doc.Recording);
  EXPECT_EQ(doc.Macros.size(), static_cast<std::size_t>(TInstrumentDocument::kMaxMacros));
}

TEST_F(Recording, ANewStartDiscardsEarlierLines) {
  Begin(true);
  rec.RecordIntStep(kStepVolume, 3);
  Begin(true, "second");
  EXPECT_TRUE(rec.Lines().empty());
}

}  // namespace

namespace {

TEST(MacroManagerRows, EachStepInWords) {
  struct Case {
    const char* line;
    bool relative;
    const char* parameter;
    const char* value;
  } cases[] = {
      {"0001", false, "Voice active", "yes"},
      {"0002", false, "Voice active", "no"},
      {"001Lead", false, "Voice name", "Lead"},
      {"00360", false, "Finetune", "10"},
      {"00360", true, "Finetune", "60"},
      {"003-4", true, "Finetune", "-4"},
      {"0091", false, "Repeat Mode", "<-->"},
      {"0090", false, "Repeat Mode", "--->"},
      {"01010", false, "Phase", "24"},
      {"010149", false, "Phase", "358"},
      {"0181", false, "Vibrato direction", "first up"},
      {"0180", false, "Vibrato direction", "first down"},
      {"0221", false, "Vibrato depth (to) mult.", "yes"},
      {"0261", false, "Noisemode Source", "On"},
      {"0270", false, "Noisemode Destination", "Off"},
      {"900-2", false, "Change to voice", "-2"},
      {"9010103110000", false, "Copy Voice", "2 Opt: 110000"},
      {"013Decay", true, "Volume Envelope", "Decay"},
      {"950x", false, "Unknown step", "x"},
      // Offsets of a damaged line whose difference leaves 32 bits.
      {"901-1;2147483647;", false, "Copy Voice", "2147483648 Opt: 000000"},
      {"901-2147483648;2147483647;111111", true, "Copy Voice", "4294967295 Opt: 111111"},
      {"ab", false, "Unknown step", "ab"},
  };
  for (const Case& c : cases) {
    const TMacroStepRow row = MacroStepRow(c.line, c.relative);
    EXPECT_EQ(row.Parameter, c.parameter) << c.line;
    EXPECT_EQ(row.Value, c.value) << c.line;
  }
}

TEST(MacroManagerSort, ByteWiseAndStableForEqualNames) {
  auto names = [](const std::vector<TMacro>& ms) {
    std::string r;
    for (const TMacro& m : ms) r += m.Name + m.Description + " ";
    return r;
  };
  std::vector<TMacro> ms = {{"b", "1", 0, false, {}}, {"B", "2", 0, false, {}}, {"a", "3", 0, false, {}}, {"b", "4", 0, false, {}}};
  SortMacros(ms, true);
  EXPECT_EQ(names(ms), "B2 a3 b1 b4 ");
  SortMacros(ms, false);
  EXPECT_EQ(names(ms), "b1 b4 a3 B2 ");
}

}  // namespace
