// a * b / c with a 64-bit product, rounded to the nearest integer with halves
// away from zero; -1 for c = 0 and for results outside 32 bits, as the
// window system's routine answers.
#pragma once

#include <cstdint>
#include <limits>

inline std::int32_t MulDiv(std::int32_t a, std::int32_t b, std::int32_t c) {
  if (c == 0) return -1;
  const std::int64_t p = static_cast<std::int64_t>(a) * b;
  const std::int64_t d = c;
  const bool negative = (p < 0) != (d < 0);
  const std::uint64_t up = p < 0 ? 0 - static_cast<std::uint64_t>(p) : static_cast<std::uint64_t>(p);
  const std::uint64_t ud = d < 0 ? 0 - static_cast<std::uint64_t>(d) : static_cast<std::uint64_t>(d);
  const std::uint64_t q = (up + ud / 2) / ud;
  if (q > static_cast<std::uint64_t>(std::numeric_limits<std::int32_t>::max()) + (negative ? 1 : 0)) return -1;
  return negative ? static_cast<std::int32_t>(-static_cast<std::int64_t>(q)) : static_cast<std::int32_t>(q);
}
