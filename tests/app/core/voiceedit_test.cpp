// The voice editor's arithmetic: frequency read-out and its inverse, labels,
// the field table's clamps, recording of edits, the copy step's text and
// the drawing points.
#include <gtest/gtest.h>

#include <cmath>
#include <tuple>
#include <vector>

#include "core/VoiceEdit.h"

namespace {

struct FakeRecorder : IMacroRecorder {
  std::vector<std::tuple<char, int, std::string>> steps;
  void RecordIntStep(int code, std::int32_t v) override { steps.emplace_back('i', code, std::to_string(v)); }
  void RecordBoolStep(int code, bool v) override { steps.emplace_back('b', code, v ? "1" : "0"); }
  void RecordTextStep(int code, const std::string& t) override { steps.emplace_back('t', code, t); }
};

TEST(VoiceEdit, FrequencyReadOut) {
  TInstrumentDocument doc;
  EXPECT_EQ(FormatFrequency(VoiceFrequency(doc.NoteFrequency, 0, 0)), "31.73");
  EXPECT_EQ(FormatFrequency(VoiceFrequency(doc.NoteFrequency, 45, 50)), "440.00");
  // Oracle: 55 x 2^(-9/12) x (1 - 50/1682).
  EXPECT_NEAR(VoiceFrequency(doc.NoteFrequency, 0, 0), 55 * std::pow(2.0, -9 / 12.0) * (1 - 50 / 1682.0), 1e-9);
  EXPECT_EQ(NoteName(0), "C-1");
  EXPECT_EQ(NoteName(1), "C#1");
  EXPECT_EQ(NoteName(45), "A-4");
  EXPECT_EQ(NoteName(71), "B-6");
  EXPECT_EQ(NoteName(72), "C-7");
}

TEST(VoiceEdit, NoteForFrequencyTakesTheLowestFittingNote) {
  TInstrumentDocument doc;
  struct Case {
    double f;
    int note, finetune;
  } cases[] = {{440, 45, 50}, {32, 0, 14}, {2155, 72, 100}};
  for (const Case& c : cases) {
    const auto r = NoteForFrequency(doc.NoteFrequency, c.f);
    ASSERT_TRUE(r) << c.f;
    EXPECT_EQ(*r, std::make_pair(c.note, c.finetune)) << c.f;
  }
  // Half-way between A-4 and A#4 both ranges reach it; the lower note wins.
  const double between = std::sqrt(doc.NoteFrequency[45] * doc.NoteFrequency[46]);
  const auto r = NoteForFrequency(doc.NoteFrequency, between);
  ASSERT_TRUE(r);
  EXPECT_EQ(r->first, 45);
  EXPECT_GT(r->second, 50);
  EXPECT_FALSE(NoteForFrequency(doc.NoteFrequency, 5));
  EXPECT_FALSE(NoteForFrequency(doc.NoteFrequency, 100000));
  EXPECT_FALSE(NoteForFrequency(doc.NoteFrequency, std::nan("")));
}

TEST(VoiceEdit, Labels) {
  EXPECT_EQ(PhaseLabel(149), "358 \xC2\xB0");
  EXPECT_EQ(PhaseLabel(0), "0 \xC2\xB0");
  EXPECT_EQ(PhaseLabel(5), "12 \xC2\xB0");
  TVoiceTiming t;
  t.Time = 65535;
  t.Repeats = 65535;
  t.StartDelay = 999999;
  EXPECT_EQ(TotalLengthLabel(t), "4295836224 ms");  // beyond 32 bits
  EXPECT_EQ(RoundHalfEven(2.5L), 2);
  EXPECT_EQ(RoundHalfEven(3.5L), 4);
}

TEST(VoiceEdit, FieldsClampIntoTheirRanges) {
  TVoice v;
  for (const TVoiceIntField& f : VoiceIntFields()) {
    f.set(v, f.max + 1000);
    EXPECT_EQ(f.get(v), f.max) << f.step;
    f.set(v, f.min - 1000);
    EXPECT_EQ(f.get(v), f.kind == TStepKind::Boolean ? 1 : f.min) << f.step;  // booleans: not 0 is on
  }
  // The direction step carries "Up".
  VoiceIntField(stVibDirection).set(v, 1);
  EXPECT_FALSE(v.Vibrato.VibDirection);
}

TEST(VoiceEdit, RecordingFollowsTheDocumentsFlags) {
  TInstrumentDocument doc;
  FakeRecorder rec;
  RecordIntEdit(doc, &rec, stVolume, 20, 25);
  EXPECT_TRUE(rec.steps.empty());
  doc.Recording = true;
  RecordIntEdit(doc, &rec, stVolume, 20, 25);
  RecordIntEdit(doc, &rec, stCurrentVoice, 3, 5);  // always the change
  doc.RecordingRelative = true;
  RecordIntEdit(doc, &rec, stVolume, 25, 20);
  RecordBoolEdit(doc, &rec, stActive, true);
  RecordTextEdit(doc, &rec, stName, "Bass");
  using S = std::tuple<char, int, std::string>;
  EXPECT_EQ(rec.steps, (std::vector<S>{{'i', 12, "25"}, {'i', 900, "2"}, {'i', 12, "-5"}, {'b', 0, "1"}, {'t', 1, "Bass"}}));
}

TEST(VoiceEdit, DrawingPoints) {
  TWavePreset a, b;
  for (int i = 0; i < 150; ++i) {
    a.Data[i] = static_cast<std::uint8_t>(i);
    b.Data[i] = static_cast<std::uint8_t>(149 - i);
  }
  const auto p = PresetPoints(a, false, [] { return 0; });
  ASSERT_EQ(p.size(), 150u);
  EXPECT_EQ(p[0], (TPoint{0, 74}));
  EXPECT_EQ(p[149], (TPoint{74, 0}));
  EXPECT_EQ(PresetPoints(a, true, [] { return 148; })[3], (TPoint{1, 74}));

  TVoiceMorph m;
  m.MorphPreview = 50;
  m.Phase = 10;
  const auto mp = MorphPoints(a, b, m, [] { return 0; });
  // s = 149 - 10 = 139, d = 149 - 139 = 10: halfway is 74.5, to even 74.
  EXPECT_EQ(mp[0], (TPoint{0, 74}));
  m.MorphPreview = 0;
  EXPECT_EQ(MorphPoints(a, b, m, [] { return 0; })[140], (TPoint{140, 149}));  // wraps to sample 0

  TVolumeEnvelope e;
  e.Count = 2;
  e.X[1] = 255;
  e.Y[0] = 255;
  e.Y[1] = 128;
  const auto ep = EnvelopePoints(e, 100, 317, 161);
  // x = 255 x 316 / 256 = 314.77 -> 315; y = 161 - 255 x 160 / 256 - 1 = 0.625 -> 1.
  EXPECT_EQ(ep, (std::vector<TPoint>{{0, 1}, {315, 80}}));
  EXPECT_EQ(EnvelopePoints(e, 0, 317, 161)[0], (TPoint{0, 160}));
}

}  // namespace
