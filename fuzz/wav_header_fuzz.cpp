// The WAV header check on any bytes, and the writer's header for any size:
// what the writer makes always passes the check with the same numbers.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "formats/WavFile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  TWavHeaderInfo info;
  if (ParseWavHeader(data, size, info) && info.DataBytes > 0xFFFFFFFFu - 36) std::abort();
  if (size >= 5) {
    std::uint32_t dataBytes;
    std::memcpy(&dataBytes, data + 1, 4);
    dataBytes = std::min<std::uint32_t>(dataBytes, 0xFFFFFFFFu - 36);
    const std::vector<uint8_t> h = WavHeader(SampleRateForQuality(data[0] % 4 - 1), dataBytes);
    TWavHeaderInfo back;
    if (h.size() != 44 || !ParseWavHeader(h.data(), h.size(), back) || back.DataBytes != dataBytes ||
        back.Channels != 1 || back.BitsPerSample != 16)
      std::abort();
  }
  return 0;
}

std::vector<std::vector<uint8_t>> KalvoraFuzzSeeds() {
  std::vector<uint8_t> samples{1, 0, 0xfe, 0xff};
  return {WavBytes(samples, 0), WavBytes(samples, 2), WavBytes({}, 1)};
}
