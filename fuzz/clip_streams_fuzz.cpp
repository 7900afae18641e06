// The picture-clip and animation-clip readers on any bytes: they either
// refuse the stream with their own error or read a clip that the writer
// writes back to bytes that read again to the same bytes.
#include <cstdint>
#include <cstdlib>
#include <span>
#include <vector>

#include "core/ComponentError.h"
#include "formats/ClipStreams.h"

namespace {

template <class Content, class Read, class Write>
void roundTrip(std::span<const uint8_t> bytes, Read read, Write write) {
  Content content;
  try {
    if (read(bytes, content) > bytes.size()) std::abort();
  } catch (const EComponentError&) {
    return;
  }
  std::vector<uint8_t> written;
  write(written, content);
  Content again;
  if (read(written, again) != written.size()) std::abort();
  std::vector<uint8_t> twice;
  write(twice, again);
  if (twice != written) std::abort();
}

std::vector<uint8_t> tagged(uint8_t tag, std::vector<uint8_t> b) {
  b.insert(b.begin(), tag);
  return b;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  // The first byte picks the reader, the rest is the stream.
  const std::span<const uint8_t> bytes(data + 1, size - 1);
  if (data[0] % 2 == 0)
    roundTrip<TClipContent>(bytes, ReadClipStream, WriteClipStream);
  else
    roundTrip<TAniClipContent>(bytes, ReadAniClipStream, WriteAniClipStream);
  return 0;
}

std::vector<std::vector<uint8_t>> KalvoraFuzzSeeds() {
  TClipContent clip;
  clip.Rows = 1, clip.Columns = 3;
  clip.Bitmap.Width = 3, clip.Bitmap.Height = 2;
  clip.Bitmap.Pixels = {0xFF0000, 0x00FF00, 0x0000FF, 0x123456, 0xFFFFFF, 0};
  TAniClipContent ani;
  ani.Frames.push_back({"Blink", 1, 0, 2, 0});
  ani.Frames.push_back({"Rest", 2, 1, 1, 0});
  ani.Clip = clip;
  std::vector<uint8_t> p, a, old = {5, 'P', 'C', 'L', '1', '0'};
  WriteClipStream(p, clip);
  WriteAniClipStream(a, ani);
  old.insert(old.end(), 256, 0);
  for (uint8_t v : std::initializer_list<uint8_t>{1, 0, 3, 'E', 'n', 'd', 1, 0, 0, 0, 2, 0, 1, 0, 3, 0})
    old.push_back(v);
  old.insert(old.end(), p.begin() + 10, p.end());
  return {tagged(0, p), tagged(1, a), tagged(1, old)};
}
