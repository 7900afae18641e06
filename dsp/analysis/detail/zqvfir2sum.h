// Direct sums of the two-dimensional filter for the outputs of one row
// whose window lies inside the image's columns.
#ifndef ZQV_FIR2SUM_H
#define ZQV_FIR2SUM_H

#include <cstdint>

namespace zqvfir2 {

// One output row r: the image rows r0 .. r1 meet the kernel, image row sr
// against kernel row kTop - sr (kTop = r + krows / 2); ac = kcols / 2.
template <class T>
struct SumRow {
  const T* src;
  int64_t cols;
  const T* kernel;
  int64_t kcols, kTop, r0, r1, ac;
};

// dst[c] for cA <= c < cB, each output's window inside columns 0 .. cols-1:
// one running sum per output over the image rows in ascending order, each
// row from its left end.
void interiorSums(const SumRow<float>& w, int64_t cA, int64_t cB, float* dst) noexcept;
void interiorSums(const SumRow<double>& w, int64_t cA, int64_t cB, double* dst) noexcept;

}  // namespace zqvfir2

#endif
