// The library files against hand-built fixtures (read, then written back to
// the same bytes), and the help file's topics.
#include <gtest/gtest.h>

#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include "HexFixture.h"
#include "core/HelpKeywords.h"
#include "formats/LibraryFiles.h"

using namespace kalvora::test;
using Bytes = std::vector<std::uint8_t>;

TEST(LibraryFixtures, EachLibraryFileReadsAndWritesBackTheSameBytes) {
  const Bytes dap = ReadHexFixture("library_presets.hex");
  TWavePresetTable presets;
  ReadWavePresets(dap, presets);
  ASSERT_EQ(presets.Count(), 2);
  EXPECT_EQ(presets[2].Name, "Square 50%");
  EXPECT_EQ(presets[2].Data[74], 0x95);
  EXPECT_EQ(presets[2].Data[75], 0);
  EXPECT_EQ(WavePresetBytes(presets), dap);

  const Bytes dav = ReadHexFixture("library_envelopes.hex");
  TVolumeEnvelopeTable envelopes;
  ReadVolumeEnvelopes(dav, envelopes);
  ASSERT_EQ(envelopes.Count(), 2);
  EXPECT_EQ(envelopes[2].Count, 3);
  EXPECT_EQ(envelopes[2].X[1], 10);
  EXPECT_EQ(envelopes[2].Y[1], 255);
  EXPECT_EQ(VolumeEnvelopeBytes(envelopes), dav);

  const Bytes dam = ReadHexFixture("library_macros.hex");
  std::vector<TMacro> macros;
  ReadMacros(dam, macros);
  ASSERT_EQ(macros.size(), 2u);
  EXPECT_EQ(macros[0].HotKey, 0x4055);
  EXPECT_TRUE(macros[0].Relative);
  EXPECT_EQ(macros[0].Steps, std::vector<std::string>{"00212"});
  EXPECT_EQ(macros[1].Description, "");
  EXPECT_TRUE(macros[1].Steps.empty());
  EXPECT_EQ(MacroBytes(macros), dam);
}

TEST(LibraryFixtures, CutFilesAreRefusedAndLeaveTheTable) {
  const Bytes dap = ReadHexFixture("library_presets.hex");
  for (std::size_t size = 0; size < dap.size(); ++size) {
    TWavePresetTable presets;
    presets.PushBack(TWavePreset{"Kept", {}});
    EXPECT_THROW(ReadWavePresets(Bytes(dap.begin(), dap.begin() + static_cast<std::ptrdiff_t>(size)), presets),
                 ELibraryFileError);
    ASSERT_EQ(presets.Count(), 1);
    EXPECT_EQ(presets[1].Name, "Kept");
  }
}

namespace {
std::string Slurp(const std::filesystem::path& p) {
  std::ifstream in(p);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}
}  // namespace

TEST(HelpFile, HasATopicForEveryKeywordAndIsBuiltBesideTheProgram) {
  const std::filesystem::path source = std::filesystem::path(KALVORA_TEST_DATA) / ".." / ".." / "app" / "help" / "kalvora.hlp";
  const std::string text = Slurp(source);
  ASSERT_FALSE(text.empty());
  for (const char* keyword : kHelpKeywords) {
    const std::string anchor = std::string("<a name=\"") + keyword + "\"></a>";
    const auto at = text.find(anchor);
    ASSERT_NE(at, std::string::npos) << keyword;
    // The topic has a text of its own.
    const auto paragraph = text.find("<p>", at);
    ASSERT_NE(paragraph, std::string::npos) << keyword;
    EXPECT_GT(text.find("</p>", paragraph) - paragraph, 20u) << keyword;
  }
  const std::filesystem::path built = std::filesystem::read_symlink("/proc/self/exe").parent_path() / "kalvora.hlp";
  EXPECT_EQ(Slurp(built), text);
}
