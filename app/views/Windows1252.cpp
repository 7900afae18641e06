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

namespace {

// UTF-16 units of the character at `i`: two for a whole surrogate pair.
qsizetype UnitsAt(QStringView text, qsizetype i) {
  return i + 1 < text.size() && text[i].isHighSurrogate() && text[i + 1].isLowSurrogate() ? 2 : 1;
}

char Windows1252Byte(char16_t u) {
  if (u < 0x100 && CodePoint(static_cast<unsigned char>(u)) == u) return static_cast<char>(u);
  for (int i = 0; i < 32; ++i)
    if (kHigh[i] == u) return static_cast<char>(0x80 + i);
  return '?';
}

}  // namespace

std::string ToWindows1252(QStringView text) {
  std::string bytes;
  bytes.reserve(static_cast<std::size_t>(text.size()));
  for (qsizetype i = 0; i < text.size();) {
    const qsizetype units = UnitsAt(text, i);
    const char16_t u = text[i].unicode();
    if (units == 2) bytes.push_back('?');
    else if (u != 0) bytes.push_back(Windows1252Byte(u));
    i += units;
  }
  return bytes;
}

qsizetype CharacterCount(QStringView text) {
  qsizetype count = 0;
  for (qsizetype i = 0; i < text.size(); i += UnitsAt(text, i)) ++count;
  return count;
}

QStringView FirstCharacters(QStringView text, qsizetype count) {
  qsizetype i = 0;
  for (; i < text.size() && count > 0; --count) i += UnitsAt(text, i);
  return text.left(i);
}
