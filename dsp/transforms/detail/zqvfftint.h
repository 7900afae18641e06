// Internal interface of the power-of-two transforms: the flag check, the
// cached index and twiddle tables, and the reordering helpers the FFT
// families and the library's other transforms share.
#ifndef ZQV_FFTINT_H
#define ZQV_FFTINT_H

#include <cstddef>
#include <cstdint>
#include <utility>

#include "zqvp4.h"

// Index tables (int32 words) are built up to this order.
constexpr int32_t kZqvLargestIndexTableOrder = 30;

// Reverse-carry counter: advances j as a bit-reversed count over n = 2^bits.
inline std::size_t zqvRevCarryNext(std::size_t j, std::size_t n) noexcept {
  std::size_t h = n / 2;
  while (h != 0 && h <= j) {
    j -= h;
    h /= 2;
  }
  return j + h;
}

// Number of flag faults found and reported under (func, module, line); 0 when
// the flag word is valid.
int32_t zqvFftCheckFlags(int32_t flags, int32_t checkBitOrder, int32_t checkInLayout,
                         int32_t checkOutLayout, const char* func, const char* module,
                         int32_t line) noexcept;

// Swap-pair tables (shared by the float and double transforms).
void zqvCalcBitRevPairTbl(int32_t* tbl, int32_t order) noexcept;
int32_t* zqvGetBitRevPairTbl(int32_t order) noexcept;
void zqvFreeBitRevPairTbl(int32_t order) noexcept;
void zqvcBitRevByPairs(ZqvCplxS* data, int32_t order, const int32_t* tbl) noexcept;
void zqvzBitRevByPairs(ZqvCplxD* data, int32_t order, const int32_t* tbl) noexcept;
// The same reordering without a table, through cache-sized tiles; order 0..31.
void zqvcBitRevTiled(ZqvCplxS* data, int32_t order) noexcept;
void zqvzBitRevTiled(ZqvCplxD* data, int32_t order) noexcept;
// The same with 256-bit vectors (only when zqvHasAvx2()); order 4..31.
void zqvcBitRevAvx(ZqvCplxS* data, int32_t order) noexcept;
void zqvzBitRevAvx(ZqvCplxD* data, int32_t order) noexcept;
// The same with 512-bit rows (AVX-512 only), from order 6.
void zqvcBitRevAvx512(ZqvCplxS* data, int32_t order) noexcept;
void zqvzBitRevAvx512(ZqvCplxD* data, int32_t order) noexcept;

// Kernel tables; null when the order is outside 0..31 or memory is short.
ZqvCplxS* zqvcGetHalfTwd(int32_t order) noexcept;
ZqvCplxD* zqvzGetHalfTwd(int32_t order) noexcept;
ZqvCplxS* zqvcGetRadix4Twd(int32_t order) noexcept;
ZqvCplxD* zqvzGetRadix4Twd(int32_t order) noexcept;
float* zqvsGetSplitTwd(int32_t order) noexcept;
double* zqvdGetSplitTwd(int32_t order) noexcept;
void zqvcCalcHalfTwd(ZqvCplxS* tbl, int32_t order) noexcept;
void zqvzCalcHalfTwd(ZqvCplxD* tbl, int32_t order) noexcept;
void zqvcCalcRadix4Twd(ZqvCplxS* tbl, int32_t order) noexcept;
void zqvzCalcRadix4Twd(ZqvCplxD* tbl, int32_t order) noexcept;
void zqvsCalcSplitTwd(float* tbl, int32_t order) noexcept;
void zqvdCalcSplitTwd(double* tbl, int32_t order) noexcept;
void zqvcFreeHalfTwd(int32_t order) noexcept;
void zqvzFreeHalfTwd(int32_t order) noexcept;
void zqvcFreeRadix4Twd(int32_t order) noexcept;
void zqvzFreeRadix4Twd(int32_t order) noexcept;
void zqvsFreeSplitTwd(int32_t order) noexcept;
void zqvdFreeSplitTwd(int32_t order) noexcept;
// Block lengths (complex values) of the decimation-in-time kernels.
constexpr std::size_t kFftBlockS = 1024;
constexpr std::size_t kFftBlockD = 256;

// Per-stage tables of the vector kernels (6n elements up to order 11, 2n + 4B
// above; layout in zqvfftvec.h): the DIF layout up to order 11, the DIT layout above.
float* zqvsGetStageTwd(int32_t order) noexcept;
double* zqvdGetStageTwd(int32_t order) noexcept;
void zqvsCalcStageTwd(float* tbl, int32_t order) noexcept;
void zqvdCalcStageTwd(double* tbl, int32_t order) noexcept;
void zqvsFreeStageTwd(int32_t order) noexcept;
void zqvdFreeStageTwd(int32_t order) noexcept;

// The 256-bit builds of the vector kernels; call only when zqvHasAvx2().
bool zqvHasAvx2() noexcept;
// Lets tests run the 128-bit build on a processor with AVX2 (default true).
void zqvFftAllowWideVectors(bool allow) noexcept;
// Widest vectors the kernels may use: 128, 256 or 512 bits (default 512).
void zqvFftLimitVectorBits(int32_t bits) noexcept;
// The 512-bit builds of the long DIF steps and DIT passes; call only when
// zqvHasAvx512() (which implies zqvHasAvx2()).
bool zqvHasAvx512() noexcept;
void zqvFftDifAvx512(float* x, std::size_t n, bool fwd, const float* stage) noexcept;
void zqvFftDifAvx512(double* x, std::size_t n, bool fwd, const double* stage) noexcept;
void zqvFftDitAvx512(float* x, std::size_t n, bool fwd, const float* stage, std::size_t blockLen) noexcept;
void zqvFftDitAvx512(double* x, std::size_t n, bool fwd, const double* stage, std::size_t blockLen) noexcept;
void zqvFftDifAvx(float* x, std::size_t n, bool fwd, const float* stage) noexcept;
void zqvFftDifAvx(double* x, std::size_t n, bool fwd, const double* stage) noexcept;
void zqvFftDitAvx(float* x, std::size_t n, bool fwd, const float* stage, std::size_t blockLen) noexcept;
void zqvFftDitAvx(double* x, std::size_t n, bool fwd, const double* stage, std::size_t blockLen) noexcept;
// Vector parts of the real unpack and merge passes; they return the first
// pair index left to the scalar pass.
std::size_t zqvRealUnpackAvx(float* x, std::size_t m, bool fwd, const float* split) noexcept;
std::size_t zqvRealUnpackAvx(double* x, std::size_t m, bool fwd, const double* split) noexcept;
std::size_t zqvRealMergeAvx(float* x, std::size_t m, bool fwd, const float* half) noexcept;
std::size_t zqvRealMergeAvx(double* x, std::size_t m, bool fwd, const double* half) noexcept;

void zqvcFreeKernelTbls() noexcept;
void zqvzFreeKernelTbls() noexcept;

// Work buffers of at least count complex floats, per thread, four slots.
ZqvCplxS* zqvGetWorkBuf(int32_t count, int32_t slot) noexcept;
void zqvFreeWorkBufs() noexcept;

// The bit-reverse table of an order, reporting as zqvGetBitRevTbl does.
int32_t* zqvFetchBitRevTbl(int32_t order) noexcept;

// Reorders n = 2^order elements in place with a bit-reverse table.
template <class E>
void zqvBitRevWithTbl(E* v, std::size_t n, const int32_t* tbl) noexcept {
  for (std::size_t i = 1; i + 1 < n; ++i) {
    std::size_t j = static_cast<std::size_t>(tbl[i]);
    if (i < j) std::swap(v[i], v[j]);
  }
}

#endif
