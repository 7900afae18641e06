// The direct sums of the two-dimensional filter for runs of outputs whose
// window lies inside the image's columns, side by side in vector builds
// chosen on first use. Every output keeps its own single running sum in
// the same order as one at a time, so every build gives the same bits.
#include "analysis/detail/zqvfir2sum.h"

#include <cstring>
#include <type_traits>

#include "core/detail/zqvisa.h"

namespace zqvfir2 {
namespace {

typedef float VecF __attribute__((vector_size(64)));
typedef double VecD __attribute__((vector_size(64)));
template <class T>
using Vec = std::conditional_t<std::is_same_v<T, float>, VecF, VecD>;

template <class T>
ZQV_KERNEL void sumsBody(const SumRow<T>& w, int64_t cA, int64_t cB, T* dst) noexcept {
  using V = Vec<T>;
  constexpr int64_t kRun = sizeof(V) / sizeof(T);
  const int64_t kc = w.kcols;
  // Column t of the window of output c: image column c + ac - kc + 1 + t.
  auto row = [&](int64_t sr, int64_t c) { return w.src + sr * w.cols + c + w.ac - kc + 1; };
  int64_t c = cA;
  for (; c + kRun <= cB; c += kRun) {
    V acc = {};
    for (int64_t sr = w.r0; sr <= w.r1; ++sr) {
      const T* const krow = w.kernel + (w.kTop - sr) * kc;
      const T* const srow = row(sr, c);
      for (int64_t t = 0; t < kc; ++t) {
        V x;
        std::memcpy(&x, srow + t, sizeof(V));
        acc += krow[kc - 1 - t] * x;
      }
    }
    std::memcpy(dst + c, &acc, sizeof(V));
  }
  for (; c < cB; ++c) {
    T sum = 0;
    for (int64_t sr = w.r0; sr <= w.r1; ++sr) {
      const T* const krow = w.kernel + (w.kTop - sr) * kc;
      const T* const srow = row(sr, c);
      for (int64_t t = 0; t < kc; ++t) sum += krow[kc - 1 - t] * srow[t];
    }
    dst[c] = sum;
  }
}

}  // namespace

void interiorSums(const SumRow<float>& w, int64_t cA, int64_t cB, float* dst) noexcept {
  ZQV_RUN(sumsBody<float>)(w, cA, cB, dst);
}
void interiorSums(const SumRow<double>& w, int64_t cA, int64_t cB, double* dst) noexcept {
  ZQV_RUN(sumsBody<double>)(w, cA, cB, dst);
}

}  // namespace zqvfir2
