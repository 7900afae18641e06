// Lowpass on the spectrum: from the cut-off element upward each element falls
// by the chosen dB per doubling of its index, with an optional resonance peak
// of 201 elements around the cut-off.
//
// Slope reference: the cut-off element itself, so the attenuation starts at
// exactly 1 at the cut-off and does not depend on the sample's length.
#include <algorithm>

#include "zqvp4.h"
#include "engine/EngineArith.h"
#include "engine/Effects.h"

namespace kalvora::engine {

void EffectLowpass(TWorkArray& w, const TLowpassFactors& f, int quality, const TStatusText& status) {
  if (status) status("calculating Lowpass .  ");
  const long double sf = f.Slope, r = f.Resonance;
  ForwardTransform(w);
  if (status) status("calculating Lowpass .. ");
  float* x = w.Data.data();
  const std::int64_t length = w.Length;
  const float a = r != 0 ? F(1.0L / r) : 1.0f;
  if (a != 1.0f)
    LibraryCall("scale the spectrum", [&] { zqvsbMpy1(a, x, static_cast<std::int32_t>(length)); });
  const long double k = quality == 0 ? 1.0L / 5512 : quality == 1 ? 1.0L / 11025 : quality == 2 ? 1.0L / 22050 : 0.0L;
  // A cut-off read from a file may lie past the top; it stays on the spectrum.
  const std::int64_t cut =
      std::clamp<std::int64_t>(RoundEven((length - 1) * static_cast<long double>(F(f.CutOff * k))), 0, length - 1);
  if (sf > 0) {
    const long double power = std::log2(sf);
    const long double reference = static_cast<long double>(std::max<std::int64_t>(cut, 1));
    for (std::int64_t i = cut; i < length; ++i) {
      // Element 0 (only when the cut-off is 0) takes the factor of element 1.
      const long double idx = static_cast<long double>(std::max<std::int64_t>(i, 1));
      x[i] = F(x[i] * std::exp2(std::log2(idx / reference) * power));
    }
  } else {
    for (std::int64_t i = cut; i < length; ++i) x[i] = 0.0f;
  }
  if (r != 1) {
    const std::int64_t lo = std::max<std::int64_t>(cut - 100, 0), hi = std::min<std::int64_t>(cut + 100, length - 1);
    for (std::int64_t i = lo; i <= hi; ++i) {
      const long double weight = i <= cut ? (i - (cut - 100)) * 0.01L : ((cut + 100) - i) * 0.01L;
      x[i] = F(x[i] * r);
      x[i] = F(x[i] * weight);
    }
  }
  if (status) status("calculating Lowpass ...");
  InverseTransform(w);
}

}  // namespace kalvora::engine
