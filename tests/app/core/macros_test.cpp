// Macro step lines, the recorder and the executor.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "DocumentFixture.h"
#include "core/Document.h"
#include "core/Macros.h"

namespace {

using kalvora::test::Envelope;
using kalvora::test::Preset;

TMacro Macro(std::vector<std::string> steps, bool relative) { return {"m", "", 0, relative, std::move(steps)}; }

struct Executed : ::testing::Test {
  TInstrumentDocument doc;
  void SetUp() override {
    doc.WavePresets.Clear();
    doc.WavePresets.PushBack(Preset("Sine"));
    doc.WavePresets.PushBack(Preset("Saw"));
    doc.VolumeEnvelopes.Clear();
    doc.VolumeEnvelopes.PushBack(Envelope("Flat"));
    doc.VolumeEnvelopes.PushBack(Envelope("Decay"));
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
      {"006-5000", true, 3, [](TVoice& v) { v.Timing.Time = 1000; }, [](const TVoice& v) { return v.Timing.Time; }, 1},
      {"007-1", true, 3, [](TVoice& v) { v.Timing.Repeats = 1; }, [](const TVoice& v) { return v.Timing.Repeats; }, 1},
      {"0087000", true, 3, [](TVoice& v) { v.Timing.StartDelay = 60000; }, [](const TVoice& v) { return v.Timing.StartDelay; }, 65535},
      {"004Saw", false, 3, [](TVoice& v) { v.Morph.SourcePreset = 1; }, [](const TVoice& v) { return v.Morph.SourcePreset; }, 2},
      {"005Gone", true, 3, [](TVoice& v) { v.Morph.DestPreset = 2; }, [](const TVoice& v) { return v.Morph.DestPreset; }, 0},
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
