// The instrument reader on any bytes: it refuses the input with its own
// error, or the instrument it read is written and reads back to the same
// bytes; merging never grows a table past its room.
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <vector>

#include "formats/InstrumentFile.h"

namespace {

TInstrumentDocument MakeDocument() {
  TInstrumentDocument doc;
  TWavePreset p;
  p.Name = "Sawtooth";
  for (int i = 0; i < TWavePreset::kSamples; ++i) p.Data[i] = static_cast<std::uint8_t>(i);
  doc.WavePresets.PushBack(p);
  TVolumeEnvelope e;
  e.Name = "Full";
  e.Count = 2;
  e.X[1] = 255;
  e.Y[0] = e.Y[1] = 255;
  doc.VolumeEnvelopes.PushBack(e);
  return doc;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::vector<uint8_t> bytes(data, data + size);
  TStagedInstrument staged;
  try {
    staged = ParseInstrument(bytes);
  } catch (const EInstrumentFileError&) {
    return 0;
  }
  TInstrumentDocument doc = MakeDocument();
  // Clashing names are answered with a name that clashes again once, then none.
  int asked = 0;
  ApplyInstrument(staged, doc, [&](TNameKind, const std::string& name) -> std::optional<std::string> {
    if (++asked % 2) return name;
    return std::nullopt;
  });
  if (doc.WavePresets.Count() > 254 || doc.VolumeEnvelopes.Count() > 254) std::abort();
  std::vector<uint8_t> written;
  try {
    written = InstrumentBytes(doc);
  } catch (const EInstrumentNotSaved&) {
    std::abort();  // everything read from a file fits the file again
  }
  TInstrumentDocument again = MakeDocument();
  ApplyInstrument(ParseInstrument(written), again, {});
  // The second document's tables differ, so compare the voices' stored fields.
  again.WavePresets = doc.WavePresets;
  again.VolumeEnvelopes = doc.VolumeEnvelopes;
  for (int n = 1; n <= 32; ++n)
    if (doc.Voice(n).Active != again.Voice(n).Active) std::abort();
  return 0;
}

std::vector<std::vector<uint8_t>> KalvoraFuzzSeeds() {
  TInstrumentDocument doc = MakeDocument();
  doc.Voice(1).Active = true;
  doc.Voice(5).Active = true;
  doc.Voice(5).Timing.StartDelay = 300;
  doc.Instrument.Globals.Description = {"seed", ""};
  std::vector<uint8_t> v30 = InstrumentBytes(doc);
  std::vector<std::vector<uint8_t>> seeds{v30};
  for (uint8_t version : {20, 23, 25, 28, 200}) {
    std::vector<uint8_t> b = v30;
    b[24] = version;  // older layouts read the same bytes differently
    seeds.push_back(b);
  }
  return seeds;
}
