// Colours of the program are 0x00BBGGRR values (red in the low byte); this
// is the one place where they become Qt colours.
#pragma once

#include <cstdint>

#include <QColor>

inline QColor ColorFromBGR(std::uint32_t c) {
  return QColor(static_cast<int>(c & 0xFF), static_cast<int>((c >> 8) & 0xFF), static_cast<int>((c >> 16) & 0xFF));
}

inline std::uint32_t ColorToBGR(const QColor& c) {
  return static_cast<std::uint32_t>(c.red()) | (static_cast<std::uint32_t>(c.green()) << 8) |
         (static_cast<std::uint32_t>(c.blue()) << 16);
}

inline constexpr std::uint32_t clBlack = 0x000000;
inline constexpr std::uint32_t clBlue = 0xFF0000;
inline constexpr std::uint32_t clSilver = 0xC0C0C0;
inline constexpr std::uint32_t clNavy = 0x800000;
