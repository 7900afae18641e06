// The floating-point environment around a conversion and the rounding-flag
// test of the conversion flags: a leaf that needs nothing of the library
// but its public header.
#ifndef ZQV_FENV_H
#define ZQV_FENV_H

#include <cfenv>
#include <cstdint>

#include "zqvp4.h"

// Holds the caller's floating-point environment for the length of one
// conversion: pending flags are cleared and traps masked on entry, and the
// caller's rounding, masks and flags come back exactly on exit, so nothing
// the conversion raised (invalid, overflow) stays pending or faults.
class ZqvFpuGuard {
 public:
  ZqvFpuGuard() noexcept { feholdexcept(&saved_); }
  ~ZqvFpuGuard() { fesetenv(&saved_); }
  ZqvFpuGuard(const ZqvFpuGuard&) = delete;
  ZqvFpuGuard& operator=(const ZqvFpuGuard&) = delete;

 private:
  fenv_t saved_;
};

// True when flags hold exactly one of the four rounding flags.
inline bool zqvOneRoundingFlag(int32_t flags) noexcept {
  const int32_t r = flags & (ZQV_CVT_ROUND_NEAR | ZQV_CVT_ROUND_ZERO | ZQV_CVT_ROUND_DOWN |
                             ZQV_CVT_ROUND_UP);
  return r != 0 && (r & (r - 1)) == 0;
}

#endif
