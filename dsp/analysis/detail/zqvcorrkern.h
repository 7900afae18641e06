// The spectrum loops of the correlation's transform method (vector builds in
// zqvcorrkern.cpp).
#ifndef ZQV_CORRKERN_H
#define ZQV_CORRKERN_H

#include <cstdint>

#include "zqvp4.h"

namespace zqvcorr {

// acc[p] += conj(x[p]) y[p]
void addConjProducts(ZqvCplxS* acc, const ZqvCplxS* x, const ZqvCplxS* y, int64_t n) noexcept;
void addConjProducts(ZqvCplxD* acc, const ZqvCplxD* x, const ZqvCplxD* y, int64_t n) noexcept;
// acc[p] += conj(cur[p]) (cur[p] + next[p]), or with cur[p] - next[p]
void addConjSums(ZqvCplxS* acc, const ZqvCplxS* cur, const ZqvCplxS* next, int64_t n, bool minus) noexcept;
void addConjSums(ZqvCplxD* acc, const ZqvCplxD* cur, const ZqvCplxD* next, int64_t n, bool minus) noexcept;
// acc[p] = |x[p]|^2
void setPowers(ZqvCplxS* acc, const ZqvCplxS* x, int64_t n) noexcept;
void setPowers(ZqvCplxD* acc, const ZqvCplxD* x, int64_t n) noexcept;

}  // namespace zqvcorr

#endif
