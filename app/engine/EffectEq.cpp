// 10-band graphic EQ on the spectrum: each gain holds at its band's centre
// element and ramps linearly to the next centre.
#include <algorithm>

#include "engine/EngineArith.h"
#include "engine/Effects.h"

namespace kalvora::engine {

void EffectEq(TWorkArray& w, const std::array<float, 10>& gains, int quality, const TStatusText& status) {
  static constexpr long double kCentre[10] = {31, 62, 125, 250, 500, 1000, 2000, 4000, 8000, 16000};
  if (status) status("calculating Graphic EQ .  ");
  ForwardTransform(w);
  if (status) status("calculating Graphic EQ .. ");
  int bands = 8;
  long double top = 5500;
  if (quality == 1) bands = 9, top = 11025;
  if (quality == 2) bands = 10, top = 22100;
  auto G = [&](int band) { return static_cast<long double>(gains[static_cast<std::size_t>(band - 1)]); };
  float* x = w.Data.data();
  const std::int64_t length = w.Length;
  std::int64_t previousEnd = 0;
  for (int j = 0; j <= bands; ++j) {
    const std::int64_t start = j == 0 ? 1 : previousEnd + 1;
    std::int64_t end = j == bands ? length : RoundEven(length * static_cast<long double>(F(kCentre[j] / top))) - 1;
    const long double g0 = j == 0 ? G(1) : G(j);
    const long double g1 = j == bands ? G(bands) : G(j + 1);
    // Short samples put the low centres at element 0 or 1: a segment whose end
    // is not past its start takes its one element at the end gain, and no
    // segment reaches past the spectrum.
    end = std::min(end, length);
    if (end <= start) {
      if (start <= length) x[start] = F(x[start] * g1);
      previousEnd = start;
      continue;
    }
    const long double slope = F((g1 - g0) / static_cast<long double>(end - start));
    for (std::int64_t i = end; i >= start; --i) x[i] = F(x[i] * (g0 + (i - start) * slope));
    previousEnd = end;
  }
  if (status) status("calculating Graphic EQ ...");
  InverseTransform(w);
}

}  // namespace kalvora::engine
