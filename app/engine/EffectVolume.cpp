#include "zqvp4.h"
#include "engine/Effects.h"

namespace kalvora::engine {

void EffectVolume(TWorkArray& w, float factor, const TStatusText& status) {
  if (status) status("calculating Volume");
  LibraryCall("change the volume", [&] { zqvsbMpy1(factor, w.Data.data(), static_cast<std::int32_t>(w.N)); });
}

}  // namespace kalvora::engine
