// kalvora_render [--seed N] INPUT.kvi OUTPUT.wav
//
// Computes an instrument file's sample with the program's computation and
// effect chain and writes it as the program's WAV file. The instrument's
// presets and envelopes come from its own inline copies into empty tables: no
// library file is read or written, and nothing is asked; what would need a
// person is an error. Noise is drawn from the seeded generator (seed 1 unless
// given), so a render can be repeated exactly.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <exception>
#include <stdexcept>
#include <string>

#include "core/Document.h"
#include "core/FileAccess.h"
#include "engine/SampleComputation.h"
#include "formats/InstrumentFile.h"
#include "formats/WavFile.h"

namespace {

int Fail(const std::string& message) {
  std::fprintf(stderr, "kalvora_render: %s\n", message.c_str());
  return 1;
}

bool ParseSeed(const std::string& text, std::uint32_t& seed) {
  if (text.empty() || text.find_first_not_of("0123456789") != std::string::npos || text.size() > 10) return false;
  const unsigned long long v = std::stoull(text);
  if (v > 0xFFFFFFFFull) return false;
  seed = static_cast<std::uint32_t>(v);
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  IgnoreFileSizeSignal();
  std::uint32_t seed = 1;
  int i = 1;
  if (i < argc && std::string(argv[i]) == "--seed") {
    if (i + 1 >= argc || !ParseSeed(argv[i + 1], seed)) return Fail("--seed needs a number 0..4294967295");
    i += 2;
  }
  if (argc - i != 2) return Fail("usage: kalvora_render [--seed N] INPUT.kvi OUTPUT.wav");
  const std::string input = argv[i], output = argv[i + 1];
  try {
    const auto staged = ReadInstrumentFile(input);
    if (!staged) return Fail("cannot read " + input);
    // Older files name their presets (before version 24) or envelopes
    // (before 25) instead of holding them; there are no tables to look in.
    bool byName = staged->Version < 25;
    for (const TStagedVoice& v : staged->Voices)
      byName = byName || (v.Active && (v.Source.ByName || v.Dest.ByName || v.Envelope.ByName));
    if (byName)
      return Fail(input + " is of version " + std::to_string(staged->Version) +
                  " and names its presets or envelopes; only files of version 25 or later can be rendered");
    TInstrumentDocument doc;
    doc.WavePresets.Clear();
    doc.VolumeEnvelopes.Clear();
    ApplyInstrument(*staged, doc, [](TNameKind kind, const std::string& clash) -> std::optional<std::string> {
      throw std::runtime_error(std::string("the instrument holds two different ") +
                               (kind == TNameKind::WavePreset ? "wave presets" : "volume envelopes") + " named \"" +
                               clash + "\"");
    });
    kalvora::engine::TLcgNoise noise(seed);
    const kalvora::engine::TSampleResult r =
        kalvora::engine::CalculateSample(kalvora::engine::TakeSnapshot(doc), noise);
    WriteWaveFile(output, r.Bytes, doc.GlobalSettings().GetQuality());
  } catch (const std::exception& e) {
    return Fail(e.what());
  }
  return 0;
}
