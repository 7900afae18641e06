// Distortion: a clipper at the threshold to the clamp level, mixed with the dry signal.
#include "engine/EngineArith.h"
#include "engine/Effects.h"

namespace kalvora::engine {

void EffectDistortion(TWorkArray& w, const TDistortionFactors& f, const TStatusText& status) {
  if (status) status("calculating Distortion");
  const float t = F(f.Threshold * 32767.0L);
  const float c = F(f.Clamp * 32767.0L);
  const long double dry = f.Dry, distorted = f.Distorted;
  float* x = w.Data.data();
  for (std::int64_t i = 0; i < w.N; ++i) {
    const long double v = x[i];
    const long double y = v > t ? c : (v < -t ? -c : v);
    x[i] = F(distorted * y + dry * v);
  }
}

}  // namespace kalvora::engine
