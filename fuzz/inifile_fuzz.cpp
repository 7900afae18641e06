// The settings-file reader on any bytes: what it writes back reads again to
// the same text, and reading a key never fails.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "IniInput.h"
#include "core/IniFile.h"

namespace {

std::filesystem::path scratchFile() {
  return std::filesystem::temp_directory_path() / ("kalvora_ini_fuzz_" + std::to_string(getpid()) + ".dai");
}

void writeFile(const std::filesystem::path& p, const std::string& text) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::filesystem::path file = scratchFile();
  writeFile(file, std::string(reinterpret_cast<const char*>(data), size));
  // The only input the reader refuses is a damaged one: with a zero byte.
  if (RefusedAsDamaged(file, data, size)) return 0;
  TIniFile ini(file.string());
  (void)ini.ReadInteger("General", "Quality", 7);
  (void)ini.ReadString("Positions", "Main", "");
  (void)ini.ReadBool("Options", "Hints", true);
  const std::string text = ini.Text();
  writeFile(file, text);
  TIniFile again(file.string());
  if (again.Text() != text) std::abort();
  std::filesystem::remove(file);
  return 0;
}

std::vector<std::vector<uint8_t>> KalvoraFuzzSeeds() {
  const std::string seeds[] = {
      "[General]\r\nQuality=2\r\nHints=1\r\n\r\n[Positions]\r\nMain=10,20,640,480\r\n",
      "; comment\n[Options]\nHints = 0\nkey=$1F\n[Default Voice Names]\n#01=Bass\n",
      "[MRU File List]\n#1=/tmp/a.kvi\n#2=?\n[Waveview]\nZoom=0x10\n",
      // Found by libFuzzer: a doubled byte-order mark lost one mark per
      // reading; a mark after a blank became a key that the next reading lost.
      "\xEF\xBB\xBF\xEF\xBB\xBF[General]\r\nQuality=2\r\n",
      "\t\xEF\xBB\xBF=",
      // Quoted values: blanks and quotes inside the outer pair are the value's.
      "[MRU File List]\n#1=\"/tmp/song.kvi \"\n#2= \"\"\" \nq=\"open\nr=\"\"\n",
      // A CR read from between quotes was written back without them and
      // trimmed on the next reading; a value ending in "]" after a key
      // beginning with "[" was written back as a section header.
      "k=\"x\r\"",
      "[k=\"v]\"\n",
  };
  std::vector<std::vector<uint8_t>> out;
  for (const auto& s : seeds) out.emplace_back(s.begin(), s.end());
  return out;
}
