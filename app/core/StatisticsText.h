// The texts of the statistics window.
#pragma once

#include <string>

// A time in days as "N day(s) hh:mm:ss", the time of day cut to the second. Times that
// are negative, infinite or not a number (a damaged settings file) show as 0.
std::string DaysTimeText(double days);
