// Hot loops built three times from one body (512-bit vectors, 256-bit
// vectors, the baseline), the build picked on first use from the processor.
// Picking on first use instead of at load time keeps the choice out of the
// dynamic loader, so a library under ThreadSanitizer loads; and the same code
// serves every compiler. Without contraction every build gives the same bits
// for every number. A NaN's sign can differ between builds: where both
// operands are NaNs the processor passes on the one in a given operand
// position, and the builds may order the operands of an addition or a
// multiplication differently.
//
// Use: mark the body ZQV_KERNEL and run it through ZQV_RUN with every template
// argument spelled out:
//   template <class Op, class T>
//   ZQV_KERNEL void loop1(T val, T* vec, int64_t n) noexcept { ... }
//   ZQV_RUN(loop1<Op, T>)(val, vec, n);
// ZQV_RUN_256 leaves out the 512-bit build.
#ifndef ZQV_ISA_H
#define ZQV_ISA_H

#include <cstdint>

// The widest vectors the processor runs: 512 (AVX-512 F and DQ besides AVX2),
// 256 (AVX2) or 128. Found on the first call.
int32_t zqvCpuVectorBits() noexcept;

namespace zqvisa {

template <auto Kernel, int32_t MaxBits>
struct Builds;

// Each build inlines the body (always_inline) and compiles it for its
// instructions; run() calls the build chosen on its first call.
template <class R, class... A, bool NoThrow, R (*Kernel)(A...) noexcept(NoThrow), int32_t MaxBits>
struct Builds<Kernel, MaxBits> {
  using Fn = R (*)(A...) noexcept(NoThrow);
  [[gnu::target("avx512f")]] static R w512(A... a) noexcept(NoThrow) { return Kernel(a...); }
  [[gnu::target("avx2")]] static R w256(A... a) noexcept(NoThrow) { return Kernel(a...); }
  static R w128(A... a) noexcept(NoThrow) { return Kernel(a...); }
  static Fn pick() noexcept {
    const int32_t bits = zqvCpuVectorBits();
    if constexpr (MaxBits >= 512) {
      if (bits >= 512) return &w512;
    }
    return bits >= 256 ? &w256 : &w128;
  }
  static R run(A... a) noexcept(NoThrow) {
    static const Fn chosen = pick();
    return chosen(a...);
  }
};

}  // namespace zqvisa

#define ZQV_KERNEL [[gnu::always_inline]] inline
#define ZQV_RUN(...) ::zqvisa::Builds<&__VA_ARGS__, 512>::run
#define ZQV_RUN_256(...) ::zqvisa::Builds<&__VA_ARGS__, 256>::run

#endif
