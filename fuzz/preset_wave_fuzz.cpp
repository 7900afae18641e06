// The WAV preset importer on any bytes: it either refuses the file with one
// of its messages or gives 150 levels in 0..149 named after the file.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "formats/PresetImport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  try {
    const TImportedPreset p = ReadPresetWave(std::vector<uint8_t>(data, data + size), "/fuzz/seed.wav");
    if (p.Name != "seed.wav") std::abort();
    for (auto s : p.Data)
      if (s > kWaveTop) std::abort();
  } catch (const EPresetImportError& e) {
    if (std::string(e.what()).empty()) std::abort();
  }
  return 0;
}

std::vector<std::vector<uint8_t>> KalvoraFuzzSeeds() {
  auto put = [](std::vector<uint8_t>& b, const std::string& s) { b.insert(b.end(), s.begin(), s.end()); };
  auto wav = [&](int bits, int channels, int frames, bool list) {
    std::vector<uint8_t> b;
    put(b, std::string("RIFF\x24\x00\x00\x00WAVEfmt ", 16));
    const uint8_t fmt[] = {16, 0, 0, 0, 1, 0, static_cast<uint8_t>(channels), 0, 0x44, 0xAC, 0, 0, 0x44, 0xAC, 0, 0,
                           static_cast<uint8_t>(bits / 8), 0, static_cast<uint8_t>(bits), 0};
    b.insert(b.end(), fmt, fmt + sizeof fmt);
    if (list) put(b, std::string("LIST\x04\x00\x00\x00INFO", 12));
    put(b, "data");
    const int bytes = frames * bits / 8;
    const uint8_t len[] = {static_cast<uint8_t>(bytes), static_cast<uint8_t>(bytes >> 8), 0, 0};
    b.insert(b.end(), len, len + 4);
    for (int i = 0; i < bytes; ++i) b.push_back(static_cast<uint8_t>(i * 37));
    return b;
  };
  return {wav(8, 1, 160, false), wav(16, 1, 40, true), wav(8, 1, 3, true), wav(16, 2, 10, false)};
}
