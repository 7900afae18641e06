// The build's default library files: written where missing, never over a
// user's own presets, envelopes and macros.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

#include <unistd.h>

#include "TempFolder.h"
#include "formats/LibraryFiles.h"

namespace fs = std::filesystem;

using kalvora::test::ReadText;

namespace {

TEST(DefaultLibraries, OnlyMissingFilesAreWritten) {
  const fs::path dir = fs::temp_directory_path() / ("kalvora_defaults_" + std::to_string(::getpid()));
  fs::remove_all(dir);
  fs::create_directories(dir);
  const std::string tool = KALVORA_MAKE_DEFAULT_LIBRARIES;
  const std::string run = "\"" + tool + "\" \"" + dir.string() + "\"";

  ASSERT_EQ(std::system(run.c_str()), 0);
  TWavePresetTable presets;
  LoadWavePresets(dir / "kalvora.dap", presets);
  EXPECT_GT(presets.Count(), 0);

  TWavePresetTable mine;
  TWavePreset p;
  p.Name = "Mine";
  mine.PushBack(p);
  SaveWavePresets(dir / "kalvora.dap", mine);
  const std::string before = ReadText(dir / "kalvora.dap");
  fs::remove(dir / "kalvora.dam");
  ASSERT_EQ(std::system(run.c_str()), 0);  // as a rebuild runs it
  EXPECT_EQ(ReadText(dir / "kalvora.dap"), before);
  std::vector<TMacro> macros{{"x", "", 0, false, {}}};
  LoadMacros(dir / "kalvora.dam", macros);  // written again, empty
  EXPECT_TRUE(macros.empty());
  fs::remove_all(dir);
}

}  // namespace
