// Which vector width the FFT kernels run on: chosen once from the processor,
// and capped by the tests so they can compare the narrower builds.
#include <atomic>

#include "core/detail/zqvisa.h"
#include "transforms/detail/zqvfftint.h"

namespace {
std::atomic<int32_t> gVectorBits{512};
}  // namespace

int32_t zqvCpuVectorBits() noexcept {
  static const int32_t bits = [] {
    __builtin_cpu_init();
    if (__builtin_cpu_supports("avx2") == 0) return 128;
    return __builtin_cpu_supports("avx512f") != 0 && __builtin_cpu_supports("avx512dq") != 0 ? 512 : 256;
  }();
  return bits;
}

bool zqvHasAvx2() noexcept {
  return zqvCpuVectorBits() >= 256 && gVectorBits.load(std::memory_order_relaxed) >= 256;
}

bool zqvHasAvx512() noexcept {
  return zqvCpuVectorBits() >= 512 && gVectorBits.load(std::memory_order_relaxed) >= 512;
}

void zqvFftAllowWideVectors(bool allow) noexcept { zqvFftLimitVectorBits(allow ? 512 : 128); }
void zqvFftLimitVectorBits(int32_t bits) noexcept { gVectorBits.store(bits, std::memory_order_relaxed); }
