// The library files kalvora.dap, kalvora.dav and kalvora.dam.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <unistd.h>

#include "formats/LibraryFiles.h"

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

namespace {

// Builds expected file contents by hand, independent of the writer.
struct ByteBuilder {
  Bytes b;
  ByteBuilder& text(const std::string& s) {
    b.insert(b.end(), s.begin(), s.end());
    b.push_back(0);
    return *this;
  }
  ByteBuilder& byte(int v) {
    b.push_back(static_cast<std::uint8_t>(v));
    return *this;
  }
  ByteBuilder& word(int v) { return byte(v & 0xFF).byte((v >> 8) & 0xFF); }
  ByteBuilder& bytes(int n, int v) {
    b.insert(b.end(), static_cast<std::size_t>(n), static_cast<std::uint8_t>(v));
    return *this;
  }
};

TWavePreset Preset(const std::string& name, int fill) {
  TWavePreset p;
  p.Name = name;
  for (int i = 0; i < 150; ++i) p.Data[i] = static_cast<std::uint8_t>((fill + i) % 150);
  return p;
}

TEST(LibraryFiles, WavePresetLayout) {
  TWavePresetTable t;
  TWavePreset flat;
  flat.Name = "Flat";
  flat.Data.fill(75);
  t.PushBack(flat);
  Bytes expected = ByteBuilder().text("Kalvora Wave Preset File").byte(30).byte(1).text("Flat").bytes(150, 75).b;
  EXPECT_EQ(WavePresetBytes(t), expected);
}

TEST(LibraryFiles, VolumeEnvelopeLayout) {
  TVolumeEnvelopeTable t;
  TVolumeEnvelope e;
  e.Name = "Decay";
  e.Count = 2;
  e.X[0] = 0, e.Y[0] = 255, e.X[1] = 255, e.Y[1] = 0;
  e.X[2] = 9;  // beyond Count: not written
  t.PushBack(e);
  Bytes expected = ByteBuilder()
                       .text("Kalvora Volume Envelope File").byte(30).byte(1)
                       .text("Decay").byte(2).byte(0).byte(255).byte(255).byte(0).b;
  EXPECT_EQ(VolumeEnvelopeBytes(t), expected);
}

TEST(LibraryFiles, MacroLayout) {
  std::vector<TMacro> macros(2);
  macros[0] = {"Up", "one octave up", 0x4000 + 'U', true, {"00212", "0031"}};
  macros[1] = {"Empty", "", 0, false, {}};
  Bytes expected = ByteBuilder()
                       .text("Kalvora Macro File").byte(30).byte(2)
                       .text("Up").text("one octave up").word(0x4055).byte(1).word(2).text("00212").text("0031")
                       .text("Empty").text("").word(0).byte(0).word(0).b;
  EXPECT_EQ(MacroBytes(macros), expected);
}

TEST(LibraryFiles, RoundTripThroughFiles) {
  fs::path dir = fs::temp_directory_path() / ("kalvora_lib_" + std::to_string(::getpid()));
  fs::create_directories(dir);

  TWavePresetTable presets;
  for (int i = 0; i < 5; ++i) presets.PushBack(Preset("Preset \xe9" + std::to_string(i), i * 7));
  TVolumeEnvelopeTable envelopes;
  for (int n : {1, 3, 255}) {
    TVolumeEnvelope e;
    e.Name = "Env" + std::to_string(n);
    e.Count = static_cast<std::uint8_t>(n);
    for (int p = 0; p < n; ++p) e.X[p] = static_cast<std::uint8_t>(p), e.Y[p] = static_cast<std::uint8_t>(255 - p);
    envelopes.PushBack(e);
  }
  std::vector<TMacro> macros = {{"M1", "desc", 0x2041, true, {"0021", "012-5", "001Lead voice"}},
                                {"M2", "", 0, false, {}}};

  SaveWavePresets(dir / "kalvora.dap", presets);
  SaveVolumeEnvelopes(dir / "kalvora.dav", envelopes);
  SaveMacros(dir / "kalvora.dam", macros);

  TWavePresetTable p2;
  TVolumeEnvelopeTable e2;
  std::vector<TMacro> m2;
  LoadWavePresets(dir / "kalvora.dap", p2);
  LoadVolumeEnvelopes(dir / "kalvora.dav", e2);
  LoadMacros(dir / "kalvora.dam", m2);

  ASSERT_EQ(p2.Count(), 5);
  for (int i = 1; i <= 5; ++i) {
    EXPECT_EQ(p2[i].Name, presets[i].Name);
    EXPECT_EQ(p2[i].Data, presets[i].Data);
  }
  ASSERT_EQ(e2.Count(), 3);
  for (int i = 1; i <= 3; ++i) {
    EXPECT_EQ(e2[i].Name, envelopes[i].Name);
    EXPECT_EQ(e2[i].Count, envelopes[i].Count);
    EXPECT_EQ(e2[i].X, envelopes[i].X);
    EXPECT_EQ(e2[i].Y, envelopes[i].Y);
  }
  ASSERT_EQ(m2.size(), 2u);
  for (size_t i = 0; i < 2; ++i) {
    EXPECT_EQ(m2[i].Name, macros[i].Name);
    EXPECT_EQ(m2[i].Description, macros[i].Description);
    EXPECT_EQ(m2[i].HotKey, macros[i].HotKey);
    EXPECT_EQ(m2[i].Relative, macros[i].Relative);
    EXPECT_EQ(m2[i].Steps, macros[i].Steps);
  }

  // Writing into a folder that does not exist is an input/output error.
  EXPECT_THROW(SaveMacros(dir / "missing" / "kalvora.dam", macros), ELibraryWriteError);
  fs::remove_all(dir);
}

TEST(LibraryFiles, ReaderTolerances) {
  // Any version byte; long names cut to 30 (presets) and 20 (envelopes);
  // a relative flag other than exactly 1 is false.
  TWavePresetTable p;
  ReadWavePresets(ByteBuilder().text("Kalvora Wave Preset File").byte(7).byte(1)
                      .text(std::string(35, 'n')).bytes(150, 1).b, p);
  ASSERT_EQ(p.Count(), 1);
  EXPECT_EQ(p[1].Name, std::string(30, 'n'));

  TVolumeEnvelopeTable e;
  ReadVolumeEnvelopes(ByteBuilder().text("Kalvora Volume Envelope File").byte(200).byte(1)
                          .text(std::string(25, 'v')).byte(0).b, e);
  ASSERT_EQ(e.Count(), 1);
  EXPECT_EQ(e[1].Name, std::string(20, 'v'));
  EXPECT_EQ(e[1].Count, 0);

  std::vector<TMacro> m;
  ReadMacros(ByteBuilder().text("Kalvora Macro File").byte(30).byte(1)
                 .text("x").text("").word(0).byte(2).word(0).b, m);
  ASSERT_EQ(m.size(), 1u);
  EXPECT_FALSE(m[0].Relative);

  TWavePresetTable empty;
  empty.PushBack(Preset("old", 0));
  ReadWavePresets(ByteBuilder().text("Kalvora Wave Preset File").byte(30).byte(0).b, empty);
  EXPECT_EQ(empty.Count(), 0);

  // A count of 255 is more than the table holds: the first 254 are read.
  ByteBuilder big;
  big.text("Kalvora Wave Preset File").byte(30).byte(255);
  for (int i = 0; i < 255; ++i) big.text("p" + std::to_string(i)).bytes(150, 75);
  TWavePresetTable cut;
  ReadWavePresets(big.b, cut);
  EXPECT_EQ(cut.Count(), 254);
  EXPECT_EQ(cut[254].Name, "p253");
}

TEST(LibraryFiles, DamagedFilesAreRefusedWithTheirMessage) {
  const Bytes presetFile = ByteBuilder().text("Kalvora Wave Preset File").byte(30).byte(2)
                               .text("A").bytes(150, 75).text("B").bytes(150, 75).b;
  const Bytes envelopeFile = ByteBuilder().text("Kalvora Volume Envelope File").byte(30).byte(1)
                                 .text("E").byte(2).byte(0).byte(255).byte(255).byte(0).b;
  const Bytes macroFile = ByteBuilder().text("Kalvora Macro File").byte(30).byte(1)
                              .text("M").text("d").word(0).byte(1).word(2).text("0021").text("0030").b;

  // Every proper prefix of a good file (the empty file is a missing one) is damaged.
  struct Case {
    const Bytes* file;
    const char* message;
    void (*read)(const Bytes&);
  } cases[] = {
      {&presetFile, kWrongWavePresetFile, [](const Bytes& b) { TWavePresetTable t; ReadWavePresets(b, t); }},
      {&envelopeFile, kWrongVolumeEnvelopeFile,
       [](const Bytes& b) { TVolumeEnvelopeTable t; ReadVolumeEnvelopes(b, t); }},
      {&macroFile, kWrongMacroFile, [](const Bytes& b) { std::vector<TMacro> m; ReadMacros(b, m); }},
  };
  for (const Case& c : cases) {
    EXPECT_NO_THROW(c.read(*c.file));
    for (size_t n = 0; n < c.file->size(); ++n) {
      Bytes part(c.file->begin(), c.file->begin() + static_cast<std::ptrdiff_t>(n));
      try {
        c.read(part);
        ADD_FAILURE() << c.message << ": a file cut to " << n << " bytes was accepted";
      } catch (const ELibraryFileError& e) {
        EXPECT_STREQ(e.what(), c.message);
      }
    }
  }

  // Wrong magic: another library's header, or a different case.
  TWavePresetTable t;
  t.PushBack(Preset("kept", 0));
  EXPECT_THROW(ReadWavePresets(envelopeFile, t), ELibraryFileError);
  EXPECT_THROW(ReadWavePresets(ByteBuilder().text("kalvora wave preset file").byte(30).byte(0).b, t),
               ELibraryFileError);
  ASSERT_EQ(t.Count(), 1);  // a refused file leaves the table alone
  EXPECT_EQ(t[1].Name, "kept");

  // A file larger than the reader holds is refused like a damaged one.
  const fs::path big = fs::temp_directory_path() / ("kalvora_big_" + std::to_string(::getpid()) + ".dap");
  {
    Bytes contents = presetFile;
    contents.resize(1000001, 75);
    std::ofstream(big, std::ios::binary).write(reinterpret_cast<const char*>(contents.data()),
                                               static_cast<std::streamsize>(contents.size()));
  }
  EXPECT_THROW(LoadWavePresets(big, t), ELibraryFileError);
  fs::remove(big);

  // A file that does not exist.
  std::vector<TMacro> m;
  try {
    LoadMacros(fs::temp_directory_path() / "kalvora_no_such_file.dam", m);
    ADD_FAILURE() << "a missing file was accepted";
  } catch (const ELibraryFileError& e) {
    EXPECT_STREQ(e.what(), "Wrong Macro File \"Kalvora.dam\"");
  }
}

}  // namespace
