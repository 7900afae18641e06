// The library frame as its own routines see it: the per-thread context and the
// argument-check helper every exported routine reports through.
#ifndef ZQV_FRAME_H
#define ZQV_FRAME_H

#include <cstdint>
#include <initializer_list>

#include "core/detail/zqvcache.h"
#include "zqvp4.h"

struct ZqvContext {
  int32_t errStatus;
  int32_t errMode;
  ZqvReportFn reportFn;
  int32_t dftListCapacity;
  ZqvCacheGroup1 cache1;
  char statusText[80];
  ZqvCacheGroup2 cache2;
};

// The calling thread's context, created on its first use. Never null: a
// thread that cannot get one ends the process with the frame's fatal text.
ZqvContext* zqvFetchContext() noexcept;

inline int32_t zqvStatus() noexcept { return zqvFetchContext()->errStatus; }
inline bool zqvStatusNegative() noexcept { return zqvFetchContext()->errStatus < 0; }

// Internal transforms report their failures through the status and must run
// whatever status an earlier call left: the status is put aside for them and
// given back when this goes out of scope.
class ZqvStatusAside {
 public:
  ZqvStatusAside() noexcept : saved_(zqvStatus()) { zqvSetErrStatus(0); }
  ~ZqvStatusAside() { zqvSetErrStatus(saved_); }
  ZqvStatusAside(const ZqvStatusAside&) = delete;
  ZqvStatusAside& operator=(const ZqvStatusAside&) = delete;
  // A transform that failed since (its tables could not be had) has
  // reported itself.
  bool transformFailed() const noexcept { return zqvStatusNegative(); }

 private:
  int32_t saved_;
};

// One argument check: the condition that fails, the message stating it, the
// source line of the check and the status to report.
struct ZqvCheck {
  bool failed;
  const char* message;
  int32_t line;
  int32_t status = ZQV_BAD_ARGUMENT;
};

#define ZQV_CHECK(cond, msg) (ZqvCheck{static_cast<bool>(cond), (msg), __LINE__})
#define ZQV_CHECK_STATUS(cond, msg, status) (ZqvCheck{static_cast<bool>(cond), (msg), __LINE__, (status)})

// Where a report comes from: the exported routine's name and its module.
struct ZqvSite {
  const char* func;
  const char* module;
};

// Reports every failed check in order; true when the thread's status is
// negative afterwards (the caller then returns without work).
bool zqvCheckAll(ZqvSite site, std::initializer_list<ZqvCheck> checks) noexcept;
// Reports the first failed check only; true when one failed. The status is
// not read (families that never look at it).
bool zqvCheckFirst(ZqvSite site, std::initializer_list<ZqvCheck> checks) noexcept;

// A backtrace report naming the inner call that failed.
inline void zqvBacktrace(ZqvSite site, const char* inner, int32_t line) noexcept {
  zqvError(ZQV_BACKTRACE, site.func, inner, site.module, line);
}

#endif
