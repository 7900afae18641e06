// The library managers' operations: order, selection, modified flag and the
// voices' references after each, for both tables.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "DocumentFixture.h"
#include "core/LibraryManager.h"

using namespace kalvora::test;

namespace {

using Strings = std::vector<std::string>;

class Managers : public Document {
 protected:
  void SetUp() override {
    Document::SetUp();  // presets Sine, Square, Sawtooth, Noise; envelopes Full, Decay, Swell
    doc.Voice(1).Morph.SourcePreset = 2;  // Square
    doc.Voice(1).Morph.DestPreset = 4;    // Noise
    doc.Voice(2).Morph.SourcePreset = 3;  // Sawtooth
    doc.Voice(1).Volume.Envelope = 3;     // Swell
    doc.Voice(2).Volume.Envelope = 2;     // Decay
  }
  std::string Source(int v) { return doc.WavePresets[doc.Voice(v).Morph.SourcePreset].Name; }
  std::string Dest(int v) { return doc.WavePresets[doc.Voice(v).Morph.DestPreset].Name; }
  std::string Env(int v) { return doc.VolumeEnvelopes[doc.Voice(v).Volume.Envelope].Name; }
};

TEST_F(Managers, PresetOperationTable) {
  struct Step {
    const char* op;
    int n;
    Strings order;
    int select;
    bool modified;
  } steps[] = {
      {"up", 1, {"Sine", "Square", "Sawtooth", "Noise"}, 1, false},
      {"down", 4, {"Sine", "Square", "Sawtooth", "Noise"}, 4, false},
      {"down", 0, {"Sine", "Square", "Sawtooth", "Noise"}, 0, false},
      {"up", 5, {"Sine", "Square", "Sawtooth", "Noise"}, 5, false},
      {"up", 2, {"Square", "Sine", "Sawtooth", "Noise"}, 1, true},
      {"down", 3, {"Square", "Sine", "Noise", "Sawtooth"}, 4, true},
      {"sortup", 0, {"Noise", "Sawtooth", "Sine", "Square"}, 1, true},
      {"sortdown", 0, {"Square", "Sine", "Sawtooth", "Noise"}, 1, true},
      {"delete", 1, {"Sine", "Sawtooth", "Noise"}, 1, true},
      {"delete", 3, {"Sine", "Sawtooth"}, 2, true},
  };
  TLibraryManager m(doc, TLibraryKind::WavePresets);
  for (const Step& s : steps) {
    const std::string op = s.op;
    int selected = 0;
    if (op == "up") selected = m.MoveUp(s.n);
    if (op == "down") selected = m.MoveDown(s.n);
    if (op == "sortup") selected = m.Sort(true);
    if (op == "sortdown") selected = m.Sort(false);
    if (op == "delete") selected = m.Delete(s.n);
    EXPECT_EQ(m.Names(), s.order) << op << " " << s.n;
    EXPECT_EQ(selected, s.select) << op << " " << s.n;
    EXPECT_EQ(doc.WavePresetsModified, s.modified) << op << " " << s.n;
    if (op != "delete") {
      // The voices still sound the same presets.
      EXPECT_EQ(Source(1), "Square") << op;
      EXPECT_EQ(Dest(1), "Noise") << op;
      EXPECT_EQ(Source(2), "Sawtooth") << op;
    }
  }
  // Square was deleted (voice 1's source: entry 1 now), then Noise (voice 1's destination).
  EXPECT_EQ(doc.Voice(1).Morph.SourcePreset, 1);
  EXPECT_EQ(doc.Voice(1).Morph.DestPreset, 1);
  EXPECT_EQ(Source(2), "Sawtooth");
  EXPECT_EQ(changes, 2) << "deleting changes the instrument; reordering does not";
}

TEST_F(Managers, EnvelopeMovesKeepTheVoicesEnvelopes) {
  TLibraryManager m(doc, TLibraryKind::VolumeEnvelopes);
  EXPECT_EQ(m.MoveDown(1), 2);
  EXPECT_EQ(m.Names(), (Strings{"Decay", "Full", "Swell"}));
  EXPECT_TRUE(doc.VolumeEnvelopesModified);
  EXPECT_FALSE(doc.WavePresetsModified);
  EXPECT_EQ(Env(1), "Swell");
  EXPECT_EQ(Env(2), "Decay");
  m.Sort(false);
  EXPECT_EQ(m.Names(), (Strings{"Swell", "Full", "Decay"}));
  EXPECT_EQ(Env(1), "Swell");
  EXPECT_EQ(Env(2), "Decay");
  EXPECT_EQ(m.Delete(1), 1);
  EXPECT_EQ(doc.Voice(1).Volume.Envelope, 1);
  EXPECT_EQ(Env(2), "Decay");
}

TEST_F(Managers, SortComparesBytes) {
  TInstrumentDocument d;
  for (const char* n : {"b", "A", "a", "ab", "B"}) d.AddVolumeEnvelope(Envelope(n));
  TLibraryManager m(d, TLibraryKind::VolumeEnvelopes);
  m.Sort(true);
  EXPECT_EQ(m.Names(), (Strings{"A", "B", "a", "ab", "b"}));
  m.Sort(false);
  EXPECT_EQ(m.Names(), (Strings{"b", "ab", "a", "B", "A"}));
}

TEST_F(Managers, DeletingTheOnlyEntryLeavesNothingSelected) {
  TInstrumentDocument d;
  d.AddWavePreset(Preset("Only"));
  TLibraryManager m(d, TLibraryKind::WavePresets);
  EXPECT_EQ(m.Delete(1), 0);
  EXPECT_EQ(m.Count(), 0);
  EXPECT_EQ(m.Delete(1), 1) << "nothing to delete";
  EXPECT_EQ(m.Sort(true), 0);
}

TEST_F(Managers, RenameChecksTheStoredName) {
  TLibraryManager w(doc, TLibraryKind::WavePresets);
  EXPECT_TRUE(w.NameExists("Sine"));
  EXPECT_FALSE(w.NameExists("sine"));
  EXPECT_TRUE(w.Rename(1, "sine"));  // differs only in case: accepted
  EXPECT_EQ(doc.WavePresets[1].Name, "sine");
  EXPECT_FALSE(w.Rename(2, "Noise"));
  // A long name is checked as it would be stored: cut to 30 (presets) or 20.
  const std::string long30 = "A name of exactly thirty chars";
  ASSERT_EQ(long30.size(), 30u);
  EXPECT_TRUE(w.Rename(2, long30));
  EXPECT_TRUE(w.NameExists(long30 + " and more"));
  EXPECT_FALSE(w.Rename(3, long30 + " and more")) << "would duplicate entry 2";
  EXPECT_EQ(doc.WavePresets[3].Name, "Sawtooth");

  TLibraryManager v(doc, TLibraryKind::VolumeEnvelopes);
  EXPECT_TRUE(v.Rename(1, "Twenty characters ok"));
  EXPECT_FALSE(v.Rename(2, "Twenty characters ok, surely"));
  EXPECT_EQ(doc.VolumeEnvelopes[2].Name, "Decay");
  EXPECT_TRUE(doc.VolumeEnvelopesModified);
}

}  // namespace
