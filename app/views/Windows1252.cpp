#include "views/Windows1252.h"

#include <array>

namespace {

// Code points of bytes 0x80..0x9F; 0 marks the five unassigned bytes, which
// map to the matching C1 control characters.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

char16_t CodePoint(unsigned char b) {
  if (b >= 0x80 && b < 0xA0 && kHigh[b - 0x80] != 0) return kHigh[b - 0x80];
  return b;
}

}  // namespace

QString FromWindows1252(std::string_view bytes) {
  QString text;
  text.reserve(static_cast<qsizetype>(bytes.size()));
  for (char c : bytes) text.append(QChar(CodePoint(static_cast<unsigned char>(c))));
  return text;
}

std::string ToWindows1252(const QString& text) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(text.size()));
  for (QChar ch : text) {
    const char16_t u = ch.unicode();
    if (u == 0) continue;
    char out = '?';
    if (u < 0x100 && CodePoint(static_cast<unsigned char>(u)) == u) {
      out = static_cast<char>(u);
    } else {
      for (int i = 0; i < 32; ++i)
        if (kHigh[i] == u) out = static_cast<char>(0x80 + i);
    }
    bytes.push_back(out);
  }
  return bytes;
}
