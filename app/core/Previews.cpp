#include "core/Previews.h"

#include <algorithm>
#include <cmath>

std::array<std::uint8_t, 1021> ExpandVolumeEnvelope(const TVolumeEnvelope& e) {
  std::array<std::uint8_t, 1021> table{};
  const int count = std::min<int>(e.Count, TVolumeEnvelope::kMaxPoints);
  for (int p = 0; p + 1 < count; ++p) {
    const int x0 = e.X[p] * 4, x1 = e.X[p + 1] * 4;
    const int y0 = e.Y[p], y1 = e.Y[p + 1];
    if (x1 < x0) continue;
    const int span = std::max(x1 - x0, 1);
    for (int i = x0; i <= x1; ++i) {
      // Quotient and product are kept as floats, the sum is not.
      const float q = static_cast<float>(static_cast<long double>(i - x0) / span);
      const float step = static_cast<float>(static_cast<long double>(y1 - y0) * q);
      table[static_cast<std::size_t>(i)] =
          static_cast<std::uint8_t>(std::trunc(static_cast<long double>(y0) + step));
    }
  }
  return table;
}

std::vector<std::uint8_t> WavePresetPreview(const TWavePreset& p) {
  // 200 cycles; the values are played as they are (75 is not re-centred).
  std::vector<std::uint8_t> block;
  block.reserve(30000);
  for (int r = 0; r < 200; ++r) block.insert(block.end(), p.Data.begin(), p.Data.end());
  return block;
}

std::vector<std::uint8_t> VolumeEnvelopePreview(const TVolumeEnvelope& e) {
  // A 1102.5 Hz square wave (40 samples a period) shaped by the envelope.
  const auto levels = ExpandVolumeEnvelope(e);
  std::vector<std::uint8_t> block(90000);
  for (int i = 0; i < 90000; ++i) {
    const long double l = levels[static_cast<std::size_t>(
        std::trunc(static_cast<long double>(i) / 89999.0L * 1020.0L))];
    const long double s = i % 40 < 20 ? -1.0L : 1.0L;
    block[static_cast<std::size_t>(i)] =
        static_cast<std::uint8_t>(std::nearbyint(l * s / 255.0L * 127.0L + 128.0L));
  }
  return block;
}
