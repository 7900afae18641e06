// The DCT's fast recursion built for 512-bit vectors (called only where the
// processor has them).
#include <cstdint>
#include <cstring>
#include <utility>

#if defined(__clang__)
#pragma clang attribute push(__attribute__((target("avx512f"))), apply_to = function)
#else
#pragma GCC target("avx512f")
#endif

#define ZQV_DCT_ENTRY zqvDctFast512
#include "transforms/detail/zqvdctkern.h"

#if defined(__clang__)
#pragma clang attribute pop
#endif
