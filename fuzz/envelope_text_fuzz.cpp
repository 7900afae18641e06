// The envelope text importer on any bytes: it either refuses the file with one
// of its messages or gives 1..255 points and a name of at most 20 bytes.
#include <cstdint>
#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "formats/EnvelopeImport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    const TVolumeEnvelope e = ReadEnvelopeText(std::vector<uint8_t>(data, data + size));
    if (e.Name.size() > TVolumeEnvelope::kMaxName || e.Count < 1) std::abort();
  } catch (const EEnvelopeImportError& e) {
    if (std::string(e.what()).empty()) std::abort();
  }
  return 0;
}

std::vector<std::vector<uint8_t>> KalvoraFuzzSeeds() {
  auto text = [](const std::string& name, const char* eol, int count) {
    std::string s = std::string(kEnvelopeTextHeader) + eol + name + eol + std::to_string(count) + eol;
    for (int i = 0; i < count; ++i) s += std::to_string(i * 255 / std::max(count - 1, 1)) + " " + std::to_string(i % 256) + eol;
    return std::vector<uint8_t>(s.begin(), s.end());
  };
  return {text("Seed", "\r\n", 5), text(std::string(40, 'x'), "\n", 255), text("", "\r\n", 1)};
}
