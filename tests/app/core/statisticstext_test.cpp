// The statistics window's time text.
#include <gtest/gtest.h>

#include <limits>

#include "core/StatisticsText.h"

namespace {

TEST(StatisticsText, DaysThenTimeOfDay) {
  constexpr double kMs = 1.0 / 86400000.0;
  struct Case {
    double days;
    const char* text;
  } cases[] = {
      {0, "0 day(s) 00:00:00"},
      {5000 * kMs, "0 day(s) 00:00:05"},
      {2 + (3 * 3600 + 15 * 60 + 7) * 1000 * kMs, "2 day(s) 03:15:07"},
      {1 - 400 * kMs, "0 day(s) 23:59:59"},  // cut to the second, never rounded up
      {1 - 600 * kMs, "0 day(s) 23:59:59"},
      {0.9999999, "0 day(s) 23:59:59"},
      {3 + 59999 * kMs, "3 day(s) 00:00:59"},
      {-1, "0 day(s) 00:00:00"},
      {std::numeric_limits<double>::infinity(), "0 day(s) 00:00:00"},
      {std::numeric_limits<double>::quiet_NaN(), "0 day(s) 00:00:00"},
      {1e300, "1000000000000 day(s) 00:00:00"},
  };
  for (const Case& c : cases) EXPECT_EQ(DaysTimeText(c.days), c.text) << c.days;
}

}  // namespace
