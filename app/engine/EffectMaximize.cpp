// Maximize: centre the sample between its extremes and scale them to +-32767.
#include "zqvp4.h"
#include "engine/EngineArith.h"
#include "engine/Effects.h"

namespace kalvora::engine {

void EffectMaximize(TWorkArray& w, const TStatusText& status) {
  if (status) status("Maximizing");
  const std::int32_t n = static_cast<std::int32_t>(w.N);
  float mx = 0, mn = 0;
  LibraryCall("find the sample's extremes", [&] {
    mx = zqvsMax(w.Data.data(), n);
    mn = zqvsMin(w.Data.data(), n);
  });
  const float mid = F((static_cast<long double>(mx) + mn) * 0.5L);
  const float factor = F((static_cast<long double>(mx) - mid) / 32767.0L);
  // A silent or constant sample has no range to stretch; it stays as it is
  // rather than dividing by zero.
  if (factor == 0.0f) return;
  LibraryCall("normalize the sample",
              [&] { zqvsbNormalize(w.Data.data(), w.Data.data(), n, mid, factor); });
}

}  // namespace kalvora::engine
