// Method choice of the one-dimensional convolutions: fixed crossover tables
// for short kernels, then the per-order transform costs of the longer
// operand, the kernel and the result. Pure functions, no reports.
#ifndef ZQV_CONVSEL_H
#define ZQV_CONVSEL_H

#include <cstddef>
#include <cstdint>

namespace zqvconv {

// Kinds of the member: which operands are real decides the tables.
enum class Kind { Real, Cplx, CplxByReal, RealByCplx };
enum class Method { Direct, Whole, Sectioned };

struct Choice {
  Method method;
  int32_t candidate;  // section-size choice 1..3 of the sectioned method
};

// lenL >= lenS >= 1; dbl selects the double members' cost columns.
Choice chooseMethod(Kind kind, bool dbl, int64_t lenL, int64_t lenS) noexcept;

// Section length of the sectioned method for a candidate.
int64_t sectionLength(int64_t lenS, int64_t n, int32_t candidate) noexcept;

// Work memory of the transform methods comes from the general heap; tests
// put their own allocator here to make it fail.
using WorkAlloc = void* (*)(std::size_t count, std::size_t size);
extern WorkAlloc workAlloc;

}  // namespace zqvconv

#endif
