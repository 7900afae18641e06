#include "engine/NoteResample.h"

#include <algorithm>
#include <array>
#include <cmath>

#include "engine/EngineArith.h"

namespace kalvora::engine {

float MidiNoteRatio(int note) {
  static constexpr std::array<float, 61> kRatio = {
      0.2500f, 0.2649f, 0.2806f, 0.2973f, 0.3150f, 0.3337f, 0.3536f, 0.3746f, 0.3969f, 0.4204f, 0.4454f, 0.4719f,
      0.5000f, 0.5297f, 0.5612f, 0.5946f, 0.6299f, 0.6674f, 0.7071f, 0.7492f, 0.7937f, 0.8409f, 0.8909f, 0.9439f,
      1.0000f, 1.0595f, 1.1225f, 1.1892f, 1.2599f, 1.3348f, 1.4142f, 1.4983f, 1.5874f, 1.6818f, 1.7818f, 1.8877f,
      2.0000f, 2.1189f, 2.2449f, 2.3784f, 2.5198f, 2.6696f, 2.8284f, 2.9966f, 3.1748f, 3.3636f, 3.5635f, 3.7754f,
      4.0000f, 4.2378f, 4.4898f, 4.7568f, 5.0397f, 5.3396f, 5.6568f, 5.9932f, 6.3496f, 6.7272f, 7.1272f, 7.5510f,
      8.0000f};
  if (note < 36 || note > 96) return 0.0f;
  return kRatio[static_cast<std::size_t>(note - 36)];
}

std::vector<std::uint8_t> ResampleForNote(const std::vector<std::uint8_t>& source, float ratio, bool useVelocity,
                                          int velocity) {
  const std::int64_t sourceSamples = static_cast<std::int64_t>(source.size() / 2);
  if (!(ratio > 0) || sourceSamples == 0) return {};
  velocity = std::clamp(velocity, 0, 127);
  // Whole samples only: an odd byte count would end in half a sample.
  const std::int64_t outSamples = RoundEven(static_cast<long double>(source.size()) / ratio) / 2;
  std::vector<std::uint8_t> out(static_cast<std::size_t>(outSamples * 2));
  for (std::int64_t i = 0; i < outSamples; ++i) {
    // The last output samples of a slowed-down note can round past the end.
    const std::int64_t j = std::min(Trunc(static_cast<long double>(ratio) * i), sourceSamples - 1);
    const auto lo = source[static_cast<std::size_t>(2 * j)], hi = source[static_cast<std::size_t>(2 * j + 1)];
    auto x = static_cast<std::int16_t>(static_cast<std::uint16_t>(lo | (hi << 8)));
    if (useVelocity) x = static_cast<std::int16_t>(RoundEven(x * static_cast<long double>(velocity) * (1.0L / 127)));
    const auto v = static_cast<std::uint16_t>(x);
    out[static_cast<std::size_t>(2 * i)] = static_cast<std::uint8_t>(v & 0xFF);
    out[static_cast<std::size_t>(2 * i + 1)] = static_cast<std::uint8_t>(v >> 8);
  }
  return out;
}

}  // namespace kalvora::engine
