#include "core/StatisticsText.h"

#include <cmath>
#include <cstdio>

std::string DaysTimeText(double days) {
  // Beyond this many days the whole seconds no longer fit a 64-bit count.
  constexpr double kMaxDays = 1e12;
  if (!std::isfinite(days) || days < 0) days = 0;
  if (days > kMaxDays) days = kMaxDays;
  const long long seconds = std::llround(days * 86400.0);
  const long long whole = seconds / 86400, rest = seconds % 86400;
  char buf[64];
  std::snprintf(buf, sizeof buf, "%lld day(s) %02lld:%02lld:%02lld", whole, rest / 3600, rest / 60 % 60, rest % 60);
  return buf;
}
