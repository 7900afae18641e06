// The size bound of every file the program writes and reads back: whatever
// the windows let a person make is written and read back equal, and contents
// beyond the bound (which only an older file can bring) are refused before
// anything is written, the old file left whole.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "DocumentFixture.h"
#include "TempFolder.h"
#include "core/FileAccess.h"
#include "core/Macros.h"
#include "formats/DescriptionFile.h"
#include "formats/InstrumentFile.h"
#include "formats/LibraryFiles.h"

using namespace kalvora::test;
namespace fs = std::filesystem;

namespace {

// A full macro table: each text at the given length, each step line as long
// as a recorded line can be.
std::vector<TMacro> MacroTable(std::size_t nameLength, std::size_t descriptionLength, std::size_t steps,
                               std::size_t stepLength) {
  std::vector<TMacro> macros(TInstrumentDocument::kMaxMacros);
  for (std::size_t i = 0; i < macros.size(); ++i) {
    TMacro& m = macros[i];
    m.Name = std::to_string(i) + std::string(nameLength - std::to_string(i).size(), 'n');
    m.Description = std::string(descriptionLength, static_cast<char>('a' + i % 26));
    m.HotKey = static_cast<std::uint16_t>(0xC041 + i % 26);
    m.Relative = i % 2 == 1;
    for (std::size_t s = 0; s < steps; ++s)
      m.Steps.push_back(MacroStepLine(kStepName, std::string(stepLength - 3, static_cast<char>('A' + s % 26))));
  }
  return macros;
}

bool SameMacros(const std::vector<TMacro>& a, const std::vector<TMacro>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i].Name != b[i].Name || a[i].Description != b[i].Description || a[i].HotKey != b[i].HotKey ||
        a[i].Relative != b[i].Relative || a[i].Steps != b[i].Steps)
      return false;
  return true;
}

// An instrument at every bound of the windows: a description of the longest
// length, all voices active with the longest names, the longest preset
// names and an envelope of every point, all six effects.
void FillLargestInstrument(TInstrumentDocument& doc, const std::string& description) {
  doc.WavePresets.Clear();
  doc.WavePresets.PushBack(Preset(std::string(TWavePreset::kMaxName, 's'), 10));
  doc.WavePresets.PushBack(Preset(std::string(TWavePreset::kMaxName, 'd'), 140));
  std::vector<std::pair<int, int>> points;
  for (int p = 0; p < TVolumeEnvelope::kMaxPoints; ++p) points.emplace_back(p, 255 - p);
  doc.VolumeEnvelopes.Clear();
  doc.VolumeEnvelopes.PushBack(Envelope(std::string(TVolumeEnvelope::kMaxName, 'e'), points));
  TInGlobSettings& g = doc.GlobalSettings();
  g.Description.clear();
  std::size_t start = 0;
  for (std::size_t end; (end = description.find('\n', start)) != std::string::npos; start = end + 1)
    g.Description.push_back(description.substr(start, end - start));
  g.Description.push_back(description.substr(start));
  g.SetEffectOrder("abcdef");
  for (int n = 1; n <= TInstrument::kVoices; ++n) {
    TVoice& v = doc.Voice(n);
    v.Active = true;
    v.Name = std::string(TVoice::kMaxName, static_cast<char>('A' + n % 26));
    v.Morph.SourcePreset = 1;
    v.Morph.DestPreset = 2;
    v.Volume.Envelope = 1;
  }
}

bool InstrumentReadsBack(const fs::path& file, const TInstrumentDocument& written) {
  const std::optional<TStagedInstrument> staged = ReadInstrumentFile(file);
  if (!staged) return false;
  TInstrumentDocument read;
  read.WavePresets.PushBack(Preset("Other", 75));
  read.VolumeEnvelopes.PushBack(Envelope("Other"));
  ApplyInstrument(*staged, read, {});
  return read.GlobalSettings().Description == written.Instrument.Globals.Description &&
         InstrumentBytes(read) == InstrumentBytes(written);
}

class FileBounds : public TempFolderTest {};

// Each file kind at its bound and beyond it, through the real writer and
// reader. `size` is the file the writer makes, where a closed form gives it.
TEST_F(FileBounds, WhatFitsReadsBackEqualAndWhatDoesNotIsRefusedBeforeWriting) {
  const std::vector<TMacro> review = MacroTable(30, 4000, 200, 5);
  const std::vector<TMacro> macrosAtBound =
      MacroTable(TMacro::kMaxName, TMacro::kMaxDescription, TMacro::kMaxSteps, kMaxMacroStepLine);
  std::vector<TMacro> macrosBeyond = macrosAtBound;
  macrosBeyond[254].Description += 'x';  // as an older file may hold

  TWavePresetTable presets;
  for (int i = 0; i < TWavePresetTable::kCapacity; ++i)
    presets.PushBack(Preset(std::to_string(i) + std::string(TWavePreset::kMaxName - std::to_string(i).size(), 'p'),
                            static_cast<std::uint8_t>(i % 150)));
  TVolumeEnvelopeTable envelopes;
  std::vector<std::pair<int, int>> points;
  for (int p = 0; p < TVolumeEnvelope::kMaxPoints; ++p) points.emplace_back(p, p);
  for (int i = 0; i < TVolumeEnvelopeTable::kCapacity; ++i)
    envelopes.PushBack(Envelope(std::to_string(i) + std::string(TVolumeEnvelope::kMaxName - std::to_string(i).size(), 'v'), points));

  // The longest description the memo takes, half of it line breaks.
  std::string typed;
  while (typed.size() < TInGlobSettings::kMaxDescription) typed += typed.size() % 2 ? '\n' : 'd';
  TInstrumentDocument largest, pasted;
  FillLargestInstrument(largest, typed);
  FillLargestInstrument(pasted, std::string(17u << 20, 'x'));  // 17 MiB on one line

  // Every character of the typed description a line break: the longest
  // description file; 3 MiB of lines read from an LF file grow by their CRs.
  const std::vector<std::string> breaks(TInGlobSettings::kMaxDescription + 1);
  const std::vector<std::string> lfLines((3u << 20) / 2, "x");

  struct Case {
    std::string what;
    const char* file;
    std::function<void(const fs::path&)> save;
    std::function<bool(const fs::path&)> readsBack;  // nothing: refused
    std::uintmax_t size;                             // 0: not given by a closed form
  };
  const std::vector<Case> cases = {
      {"the review's 1.34 MB macro library", "kalvora.dam", [&](const fs::path& p) { SaveMacros(p, review); },
       [&](const fs::path& p) {
         std::vector<TMacro> m;
         LoadMacros(p, m);
         return SameMacros(m, review);
       },
       19 + 2 + 255 * (31 + 4001 + 5 + 200 * 6)},
      {"macro library at its bound", "kalvora.dam", [&](const fs::path& p) { SaveMacros(p, macrosAtBound); },
       [&](const fs::path& p) {
         std::vector<TMacro> m;
         LoadMacros(p, m);
         return SameMacros(m, macrosAtBound);
       },
       kMaxMacroFileSize},
      {"macro library one byte beyond", "kalvora.dam", [&](const fs::path& p) { SaveMacros(p, macrosBeyond); },
       nullptr, 0},
      {"wave presets, a full table", "kalvora.dap", [&](const fs::path& p) { SaveWavePresets(p, presets); },
       [&](const fs::path& p) {
         TWavePresetTable t;
         LoadWavePresets(p, t);
         return WavePresetBytes(t) == WavePresetBytes(presets) && t.Count() == presets.Count();
       },
       25 + 2 + 254 * (31 + 150)},
      {"volume envelopes, a full table of full envelopes", "kalvora.dav",
       [&](const fs::path& p) { SaveVolumeEnvelopes(p, envelopes); },
       [&](const fs::path& p) {
         TVolumeEnvelopeTable t;
         LoadVolumeEnvelopes(p, t);
         return VolumeEnvelopeBytes(t) == VolumeEnvelopeBytes(envelopes) && t.Count() == envelopes.Count();
       },
       29 + 2 + 254 * (21 + 1 + 510)},
      {"instrument at every bound of the windows", "largest.kvi",
       [&](const fs::path& p) { WriteInstrumentFile(p, largest); },
       [&](const fs::path& p) { return InstrumentReadsBack(p, largest); }, kLargestInstrumentFile},
      {"instrument with a pasted 17 MiB description", "pasted.kvi",
       [&](const fs::path& p) { WriteInstrumentFile(p, pasted); }, nullptr, 0},
      {"default description of line breaks only", "kalvora.dad",
       [&](const fs::path& p) { WriteDescriptionFile(p, breaks); },
       [&](const fs::path& p) { return ReadDescriptionFile(p) == breaks; }, kLargestDescriptionFile},
      {"default description read from an LF file, written with CR LF", "kalvora.dad",
       [&](const fs::path& p) { WriteDescriptionFile(p, lfLines); }, nullptr, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    const fs::path file = dir_ / c.file;
    const std::string old = "the old file";
    std::ofstream(file, std::ios::binary) << old;
    if (c.readsBack) {
      ASSERT_NO_THROW(c.save(file));
      if (c.size != 0) {
        EXPECT_EQ(fs::file_size(file), c.size);
      }
      EXPECT_TRUE(c.readsBack(file));
    } else {
      try {
        c.save(file);
        ADD_FAILURE() << "written";
      } catch (const std::exception& e) {
        const std::string message = e.what();
        EXPECT_EQ(message.find("Can not write the file \"" + file.string() + "\": it would be "), 0u) << message;
        EXPECT_NE(message.find("bytes that Kalvora reads back; the file was left as it was"), std::string::npos)
            << message;
      }
      EXPECT_EQ(ReadText(file), old);
      // Refused before a temporary file was made.
      EXPECT_EQ(std::distance(fs::directory_iterator(dir_), fs::directory_iterator()), 1);
    }
    fs::remove(file);
  }
}

// A recording stops at the step bound with the macro stored, so the
// library never holds a macro longer than its file bound allows.
TEST(MacroStepBound, RecordingStopsWhenTheMacroIsFull) {
  TInstrumentDocument doc;
  TMacroRecorder recorder(doc);
  std::vector<bool> full;
  recorder.OnStepsFull = [&](bool stored) { full.push_back(stored); };
  ASSERT_EQ(recorder.Start({"Long", "", 0, false, {}}), TStartRecording::Started);
  // Alternating fields: every edit is a line of its own.
  for (std::size_t i = 0; i < TMacro::kMaxSteps; ++i) recorder.RecordIntStep(i % 2 ? kStepVolume : kStepNote, 1);
  EXPECT_TRUE(full.empty());
  EXPECT_TRUE(doc.Recording);
  // A step that merges into the last line still fits.
  recorder.RecordIntStep(kStepVolume, 2);
  EXPECT_TRUE(full.empty());
  recorder.RecordIntStep(kStepNote, 1);
  EXPECT_EQ(full, std::vector<bool>{true});
  EXPECT_FALSE(doc.Recording);
  ASSERT_EQ(doc.Macros.size(), 1u);
  EXPECT_EQ(doc.Macros[0].Steps.size(), TMacro::kMaxSteps);
  EXPECT_EQ(doc.Macros[0].Steps.back(), "0122");
  EXPECT_TRUE(doc.MacrosModified);
  // A text longer than any name the windows give is held to a voice name.
  ASSERT_EQ(recorder.Start({"Named", "", 0, false, {}}), TStartRecording::Started);
  recorder.RecordTextStep(kStepName, std::string(300, 'n'));
  recorder.Stop();
  EXPECT_EQ(doc.Macros[1].Steps, std::vector<std::string>{"001" + std::string(TVoice::kMaxName, 'n')});
}

}  // namespace
