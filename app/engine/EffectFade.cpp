// Fade: a quadratic rise at the start, a linear fall to 0 at the end.
#include "engine/EngineArith.h"
#include "engine/Effects.h"

namespace kalvora::engine {

void EffectFade(TWorkArray& w, int fadeInMs, int fadeOutMs, int quality, const TStatusText& status) {
  if (status) status("calculating Fade");
  const long double rate = RateOfQuality(quality);
  const std::int64_t n = w.N;
  std::int64_t in = RoundEven(fadeInMs * 0.001L * rate);
  std::int64_t out = RoundEven(fadeOutMs * 0.001L * rate);
  if (in >= n) in = n - 1;
  if (out >= n) out = n - 1;
  float* x = w.Data.data();
  if (in > 0) {
    for (std::int64_t i = 0; i <= in; ++i) {
      const long double f = static_cast<long double>(i) / in;
      x[i] = F(x[i] * f);
      x[i] = F(x[i] * f);
    }
  }
  if (out > 0) {
    for (std::int64_t i = n - out - 1; i <= n - 1; ++i)
      x[i] = F(x[i] * (static_cast<long double>(n - i - 1) / out));
  }
}

}  // namespace kalvora::engine
