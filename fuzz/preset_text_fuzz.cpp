// The preset text importer on any bytes: it either refuses the file with one
// of its messages or gives 150 levels in 0..149 and a name of at most 30 bytes.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "formats/PresetImport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    const TImportedPreset p = ReadPresetText(std::vector<uint8_t>(data, data + size));
    if (p.Name.size() > kImportedNameMax) std::abort();
    for (auto s : p.Data)
      if (s > kWaveTop) std::abort();
  } catch (const EPresetImportError& e) {
    if (std::string(e.what()).empty()) std::abort();
  }
  return 0;
}

std::vector<std::vector<uint8_t>> KalvoraFuzzSeeds() {
  auto text = [](const std::string& name, const char* eol, int first) {
    std::string s = std::string(kPresetTextHeader) + eol + name + eol;
    for (int i = 0; i < 150; ++i) s += std::to_string((first + i) % 150) + eol;
    return std::vector<uint8_t>(s.begin(), s.end());
  };
  return {text("Seed", "\r\n", 0), text(std::string(40, 'x'), "\n", 77), text("", "\r\n", 149)};
}
