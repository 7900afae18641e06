#include "engine/Effects.h"

#include "zqvp4.h"

namespace kalvora::engine {

void LibraryCall(const char* what, const std::function<void()>& call) {
  zqvSetErrStatus(0);
  call();
  const int status = zqvGetErrStatus();
  zqvSetErrStatus(0);
  if (status < 0) throw ELibraryFailure(std::string("The signal library could not ") + what + ".");
}

void ForwardTransform(TWorkArray& w) {
  LibraryCall("transform the sample", [&] { zqvsRealFft(w.Data.data(), w.Order, ZQV_Forw); });
}

void InverseTransform(TWorkArray& w) {
  LibraryCall("transform the sample back", [&] { zqvsCcsFft(w.Data.data(), w.Order, ZQV_Inv); });
}

void RunEffectChain(TWorkArray& w, std::string_view order, const TEffectParams& p, int quality,
                    const TStatusText& status) {
  if (w.N <= 0) return;
  for (char letter : order) {
    switch (letter) {
      case 'a': EffectEq(w, p.EqFactors, quality, status); break;
      case 'b': EffectDistortion(w, p.Distortion, status); break;
      case 'c': EffectVolume(w, p.Volume, status); break;
      case 'd': EffectLowpass(w, p.Lowpass, quality, status); break;
      case 'e': EffectMaximize(w, status); break;
      case 'f': EffectFade(w, p.FadeIn, p.FadeOut, quality, status); break;
      default: break;
    }
  }
}

}  // namespace kalvora::engine
