// The settings reader on any settings file: every key reads without fault,
// and what SaveMainSettings writes reads back to the same settings.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "IniInput.h"
#include "core/IniFile.h"
#include "core/MainSettings.h"

namespace {

std::filesystem::path scratchFile(const char* tag) {
  return std::filesystem::temp_directory_path() /
         ("kalvora_settings_fuzz_" + std::string(tag) + std::to_string(getpid()) + ".dai");
}

void writeFile(const std::filesystem::path& p, const std::string& text) {
  std::ofstream out(p, std::ios::binary | std::ios::trunc);
  out << text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  static const std::filesystem::path in = scratchFile("in"), out = scratchFile("out");
  writeFile(in, std::string(reinterpret_cast<const char*>(data), size));
  // The only input the reader refuses is a damaged one: with a zero byte.
  if (RefusedAsDamaged(in, data, size)) return 0;
  TMainSettings s;
  LoadMainSettings(TIniFile(in.string()), s);
  for (const char* key : {"Main", "WaveGen", "ADSR"}) (void)ReadFormPlace(TIniFile(in.string()), key);
  std::filesystem::remove(out);
  TIniFile written(out.string());
  SaveMainSettings(written, s);
  writeFile(out, written.Text());  // what UpdateFile writes, without a flush to the disk per input
  TMainSettings back;
  LoadMainSettings(TIniFile(out.string()), back);
  // Starts grows by one at each load; everything else comes back.
  if (back.Starts != s.Starts + 1 && s.Starts != INT32_MAX) std::abort();
  back.Starts = s.Starts;
  TIniFile rewritten(out.string() + ".2");
  SaveMainSettings(rewritten, back);
  if (rewritten.Text() != written.Text()) std::abort();
  std::filesystem::remove(in);
  std::filesystem::remove(out);
  return 0;
}

std::vector<std::vector<uint8_t>> KalvoraFuzzSeeds() {
  const std::string seeds[] = {
      "[General]\nOpen Time=1.5\nCalculation Time=0,25\nStarts=3\nShow Hints=0\n"
      "[MRU File List]\n#1=/a.kvi\n#2=/b.kvi\n#3=?\n[Background Main]\nMode=5\nclFrom=255\n",
      "[general]\nStarts=x\n[Options]\nAutoConvertMode=9\nAutoConvertProgram=conv\n[Unknown]\nkey\n",
      "[Default Voice Names]\n#05=Bass\n[MIDI Input]\nDeviceID=300\n[Positions]\nMain x=-1\n",
  };
  std::vector<std::vector<uint8_t>> out;
  for (const auto& s : seeds) out.emplace_back(s.begin(), s.end());
  return out;
}
