#include "core/InstrumentFileInfo.h"

#include <algorithm>
#include <cstring>

TInstrumentFileInfo ReadInstrumentFileInfo(const std::vector<std::uint8_t>& bytes) {
  TInstrumentFileInfo info;
  std::size_t pos = 0;
  // Reads a zero-terminated text; a missing terminator ends the data.
  auto text = [&](std::string& out) {
    const auto end = std::find(bytes.begin() + static_cast<std::ptrdiff_t>(pos), bytes.end(), std::uint8_t{0});
    if (end == bytes.end()) return false;
    out.assign(bytes.begin() + static_cast<std::ptrdiff_t>(pos), end);
    pos = static_cast<std::size_t>(end - bytes.begin()) + 1;
    return true;
  };
  std::string header;
  if (!text(header) || header != kInstrumentFileHeader) return info;
  info.RightHeader = true;
  if (pos >= bytes.size()) return info;
  const int v = bytes[pos++];
  info.Version = std::to_string(v / 10) + "." + std::to_string(v % 10);
  if (pos + 2 > bytes.size()) return info;
  const int lines = bytes[pos] | (bytes[pos + 1] << 8);
  pos += 2;
  // A cut-off file shows the lines it holds instead of reading past its end.
  for (int i = 0; i < lines; ++i) {
    std::string line;
    if (!text(line)) break;
    info.Description.push_back(std::move(line));
  }
  return info;
}
