#include "core/StatisticsText.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

std::string DaysTimeText(double days) {
  // A bound that keeps the day count well inside a 64-bit integer.
  constexpr double kMaxDays = 1e12;
  if (!std::isfinite(days) || days < 0) days = 0;
  if (days > kMaxDays) days = kMaxDays;
  // Whole days, then the time of day cut to the second (a clock never shows
  // a second that has not passed yet); the milliseconds are rounded first so
  // that a stored 03:15:07 does not read back as 03:15:06.999.
  const double whole = std::floor(days);
  const long long ms = std::min(std::llround((days - whole) * 86400000.0), 86400000LL - 1);
  const long long rest = ms / 1000;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%lld day(s) %02lld:%02lld:%02lld", static_cast<long long>(whole), rest / 3600, rest / 60 % 60, rest % 60);
  return buf;
}
