// The readers of the preset, envelope and macro libraries on any bytes: they
// either refuse the input with their own error or read a table that the
// writer writes back to bytes that read again to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "formats/LibraryFiles.h"

namespace {

template <class Table, class Read, class Write>
void roundTrip(const std::vector<uint8_t>& bytes, Read read, Write write) {
  Table table;
  try {
    read(bytes, table);
  } catch (const ELibraryFileError&) {
    return;
  }
  const std::vector<uint8_t> written = write(table);
  Table again;
  read(written, again);  // what we wrote must read back
  if (write(again) != written) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte picks the reader, the rest is the file.
  const std::vector<uint8_t> bytes(data + 1, data + size);
  switch (data[0] % 3) {
    case 0: roundTrip<TWavePresetTable>(bytes, ReadWavePresets, WavePresetBytes); break;
    case 1: roundTrip<TVolumeEnvelopeTable>(bytes, ReadVolumeEnvelopes, VolumeEnvelopeBytes); break;
    default: roundTrip<std::vector<TMacro>>(bytes, ReadMacros, MacroBytes); break;
  }
  return 0;
}

std::vector<std::vector<uint8_t>> KalvoraFuzzSeeds() {
  TWavePresetTable presets;
  TWavePreset p;
  p.Name = "Sine";
  for (int i = 0; i < TWavePreset::kSamples; ++i) p.Data[i] = static_cast<uint8_t>(i);
  presets.PushBack(p);
  p.Name = "Saw";
  presets.PushBack(p);
  TVolumeEnvelopeTable envelopes;
  TVolumeEnvelope e;
  e.Name = "Pluck";
  e.Count = 3;
  e.X[1] = 10, e.Y[1] = 255, e.X[2] = 255;
  envelopes.PushBack(e);
  TMacro m;
  m.Name = "Brighter";
  m.Description = "more lowpass";
  m.HotKey = 0x4141;
  m.Relative = true;
  m.Steps = {"0011", "02210"};
  auto tagged = [](uint8_t tag, std::vector<uint8_t> b) {
    b.insert(b.begin(), tag);
    return b;
  };
  return {tagged(0, WavePresetBytes(presets)), tagged(1, VolumeEnvelopeBytes(envelopes)),
          tagged(2, MacroBytes({m})), tagged(2, MacroBytes({}))};
}
