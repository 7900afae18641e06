// The DCT's fast recursion built for 256-bit vectors (called only where the
// processor has them).
#include <cstdint>
#include <cstring>
#include <utility>

#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx2"))), apply_to = function)
#else
#pragma GCC target("avx2")
#endif

#define ZQV_DCT_ENTRY zqvDctFast256
#include "transforms/detail/zqvdctkern.h"

#if defined(__clang__)
#pragma clang attribute pop
#endif
