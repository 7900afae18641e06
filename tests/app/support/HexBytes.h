// The bytes of a fixture kept as readable text (tests/data/*.hex), written by
// hand from the file layouts: two-digit hex bytes, "quoted" Windows-1252
// text (no zero byte added: write 00 after it), hh*n for n copies of a
// byte, and # comments to the end of the line. Free of the test framework,
// so the fuzz targets' seed tool shares it.
#pragma once

#include <cctype>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace kalvora::test {

inline std::vector<std::uint8_t> DecodeHexText(const std::string& text) {
  std::vector<std::uint8_t> bytes;
  for (std::size_t i = 0; i < text.size();) {
    const char c = text[i];
    if (c == '#') {
      while (i < text.size() && text[i] != '\n') ++i;
    } else if (c == '"') {
      std::size_t end = text.find('"', i + 1);
      bytes.insert(bytes.end(), text.begin() + static_cast<std::ptrdiff_t>(i + 1),
                   text.begin() + static_cast<std::ptrdiff_t>(end));
      i = end + 1;
    } else if (std::isxdigit(static_cast<unsigned char>(c))) {
      const auto b = static_cast<std::uint8_t>(std::stoi(text.substr(i, 2), nullptr, 16));
      i += 2;
      int count = 1;
      if (i < text.size() && text[i] == '*') {
        std::size_t used = 0;
        count = std::stoi(text.substr(i + 1), &used);
        i += 1 + used;
      }
      bytes.insert(bytes.end(), static_cast<std::size_t>(count), b);
    } else {
      ++i;
    }
  }
  return bytes;
}

}  // namespace kalvora::test
