// Library memory: aligned blocks released by zqvFree. Blocks are aligned to 32
// bytes (stricter than the 8 callers may rely on) so vector loops can use
// aligned loads on library-owned buffers.
#include <cstdint>
#include <cstdlib>

#include "zqvp4.h"

namespace {

constexpr std::size_t kAlign = 32;

void* allocate(int32_t count, std::size_t elementSize) noexcept {
  if (count < 0) return nullptr;
  // A count of 0 still gives a valid block that must be released.
  std::size_t bytes = static_cast<std::size_t>(count) * elementSize;
  if (bytes == 0) bytes = 1;
  void* block = nullptr;
  if (posix_memalign(&block, kAlign, bytes) != 0) return nullptr;
  return block;
}

}  // namespace

ZQVAPI void* zqvMalloc(int32_t length) noexcept { return allocate(length, 1); }
ZQVAPI float* zqvsMalloc(int32_t length) noexcept { return static_cast<float*>(allocate(length, 4)); }
ZQVAPI double* zqvdMalloc(int32_t length) noexcept { return static_cast<double*>(allocate(length, 8)); }
ZQVAPI ZqvCplxS* zqvcMalloc(int32_t length) noexcept { return static_cast<ZqvCplxS*>(allocate(length, 8)); }
ZQVAPI ZqvCplxD* zqvzMalloc(int32_t length) noexcept { return static_cast<ZqvCplxD*>(allocate(length, 16)); }
ZQVAPI int16_t* zqvwMalloc(int32_t length) noexcept { return static_cast<int16_t*>(allocate(length, 2)); }
ZQVAPI ZqvCplxW* zqvvMalloc(int32_t length) noexcept { return static_cast<ZqvCplxW*>(allocate(length, 4)); }
ZQVAPI int32_t* zqviMalloc(int32_t length) noexcept { return static_cast<int32_t*>(allocate(length, 4)); }
ZQVAPI int64_t* zqvjMalloc(int32_t length) noexcept { return static_cast<int64_t*>(allocate(length, 8)); }

ZQVAPI void zqvFree(void* block) noexcept { std::free(block); }
