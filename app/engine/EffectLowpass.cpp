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
  // Element `length` is the real part of the top frequency (half the rate):
  // it takes whatever element length - 1 takes, so that a cut removes it
  // too. Element length + 1, its imaginary part, is 0 for a real sample.
  auto each = [&](std::int64_t from, std::int64_t to, auto&& change) {
    for (std::int64_t i = from; i <= to; ++i) change(x[i], i);
    if (to == length - 1) change(x[length], to);
  };
  const float a = r != 0 ? F(1.0L / r) : 1.0f;
  if (a != 1.0f)
    LibraryCall("scale the spectrum", [&] { zqvsbMpy1(a, x, static_cast<std::int32_t>(length + 1)); });
  const long double k = quality == 0 ? 1.0L / 5512 : quality == 1 ? 1.0L / 11025 : quality == 2 ? 1.0L / 22050 : 0.0L;
  // A cut-off read from a file may lie past the top; it stays on the spectrum.
  const std::int64_t cut =
      std::clamp<std::int64_t>(RoundEven((length - 1) * static_cast<long double>(F(f.CutOff * k))), 0, length - 1);
  if (sf > 0) {
    const long double power = std::log2(sf);
    const long double reference = static_cast<long double>(std::max<std::int64_t>(cut, 1));
    each(cut, length - 1, [&](float& e, std::int64_t i) {
      // Element 0 (only when the cut-off is 0) takes the factor of element 1.
      const long double idx = static_cast<long double>(std::max<std::int64_t>(i, 1));
      e = F(e * std::exp2(std::log2(idx / reference) * power));
    });
  } else {
    each(cut, length - 1, [](float& e, std::int64_t) { e = 0.0f; });
  }
  if (r != 1) {
    const std::int64_t lo = std::max<std::int64_t>(cut - 100, 0), hi = std::min<std::int64_t>(cut + 100, length - 1);
    each(lo, hi, [&](float& e, std::int64_t i) {
      const long double weight = i <= cut ? (i - (cut - 100)) * 0.01L : ((cut + 100) - i) * 0.01L;
      e = F(e * r);
      e = F(e * weight);
    });
  }
  if (status) status("calculating Lowpass ...");
  InverseTransform(w);
}

}  // namespace kalvora::engine
