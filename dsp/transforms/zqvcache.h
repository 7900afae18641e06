// Per-thread transform table caches and work buffers, kept in the thread's
// context. The frame creates them zeroed and calls zqvReleaseCaches when the
// context dies.
#ifndef ZQV_CACHE_H
#define ZQV_CACHE_H

#include <cstdint>

// Fields held between the context's dftListCapacity and statusText.
struct ZqvCacheGroup1 {
  int32_t reserved;
};

// Fields held after statusText.
struct ZqvCacheGroup2 {
  int32_t reserved;
};

struct ZqvContext;
// Frees every table and work buffer the context's caches own and zeroes them.
void zqvReleaseCaches(ZqvContext* ctx) noexcept;

#endif
