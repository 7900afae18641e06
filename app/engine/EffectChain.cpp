#include "engine/Effects.h"

#include <cstdint>
#include <limits>

#include "zqvp4.h"

namespace kalvora::engine {

namespace {

template <class R, class A>
A ParameterOf(R (*)(A));

// The largest block the library can allocate: its allocator takes a 32-bit
// count of bytes.
constexpr auto kLargestLibraryBlock =
    static_cast<std::int64_t>(std::numeric_limits<decltype(ParameterOf(&zqvMalloc))>::max());

// The largest table an inverse transform of 2^order points needs at once: the
// twiddle table of the full order, 2^(order - 1) complex floats in one block.
// The forward transform's tables are half that size (a per-stage table
// of the same size is optional: the library runs without it).
constexpr std::int64_t InverseTableBytes(int order) {
  return (std::int64_t{1} << (order - 1)) * static_cast<std::int64_t>(sizeof(ZqvCplxS));
}

constexpr int LargestOrderTheLibraryHolds() {
  int order = 1;
  while (order < 31 && InverseTableBytes(order + 1) <= kLargestLibraryBlock) ++order;
  return order;
}

}  // namespace

int LargestTransformOrder() { return LargestOrderTheLibraryHolds(); }

bool RunsTransform(std::string_view order) { return order.find_first_of("ad") != std::string_view::npos; }

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
