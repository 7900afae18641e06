// The wave-preset importers on any bytes: each either refuses the input with
// one of its messages or gives a preset of 150 levels in 0..149 and a name
// of at most 30 bytes.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "formats/PresetImport.h"

namespace {

void Check(const TImportedPreset& p) {
  if (p.Name.size() > kImportedNameMax) std::abort();
  for (auto s : p.Data)
    if (s > kWaveTop) std::abort();
}

void Put(std::vector<uint8_t>& b, const std::string& s) { b.insert(b.end(), s.begin(), s.end()); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte picks the reader, the rest is the file.
  const std::vector<uint8_t> bytes(data + 1, data + size);
  try {
    if (data[0] % 2) Check(ReadPresetText(bytes));
    else Check(ReadPresetWave(bytes, "fuzz.wav"));
  } catch (const EPresetImportError& e) {
    if (std::string(e.what()).empty()) std::abort();
  }
  return 0;
}

std::vector<std::vector<uint8_t>> KalvoraFuzzSeeds() {
  std::vector<uint8_t> text{1};
  Put(text, "Kalvora Preset Text File\r\nSeed\r\n");
  for (int i = 0; i < 150; ++i) Put(text, std::to_string(i) + "\r\n");
  auto wav = [](int bits, int frames) {
    std::vector<uint8_t> b{0};
    Put(b, "RIFF\x24\x00\x00\x00WAVEfmt ");
    const uint8_t fmt[] = {16, 0, 0, 0, 1, 0, 1, 0, 0x44, 0xAC, 0, 0, 0x44, 0xAC, 0, 0,
                           static_cast<uint8_t>(bits / 8), 0, static_cast<uint8_t>(bits), 0};
    b.insert(b.end(), fmt, fmt + sizeof fmt);
    Put(b, "LIST\x04\x00\x00\x00INFOdata");
    const int bytes = frames * bits / 8;
    const uint8_t len[] = {static_cast<uint8_t>(bytes), static_cast<uint8_t>(bytes >> 8), 0, 0};
    b.insert(b.end(), len, len + 4);
    for (int i = 0; i < bytes; ++i) b.push_back(static_cast<uint8_t>(i * 37));
    return b;
  };
  return {text, wav(8, 160), wav(16, 40), wav(8, 3)};
}
