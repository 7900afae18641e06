// The cost model and the support passes of FFT-based convolution, for the
// library's convolution, correlation and two-dimensional filtering families.
// Nothing here is exported, checks its arguments or reports: callers pass
// non-null data, orders whose tables can be had (at most 30) and, for the
// two-dimensional passes, a row stride of at least 2^colOrder complex values.
//
// A real spectrum of 2M reals in these passes is M complex values: element 0
// holds X[0] (real part) and X[M] (imaginary part), element k (0 < k < M)
// holds X[k]. With bit-reversed data X[k] sits at bitrev(k), X[M/2] at 1.
// Flags read: ZQV_Inv (conjugate twiddles), ZQV_OutBitRev (the unpack passes
// work on bit-reversed data), ZQV_InBitRev (the merge passes do).
//
// Typical use: zqvcFft(data, order, ZQV_Forw | ZQV_OutBitRev), then
// zqvcRealFftSplit(data, order, the same flags); back again with
// zqvcCcsFftMerge(data, order, ZQV_Inv | ZQV_NoScale | ZQV_InBitRev) and the
// inverse zqvcFft with those flags. The merge yields twice the sequence; the
// factor 1/(2M) (1/(2RM) in two dimensions) is the caller's to apply.
#ifndef ZQV_FFTCONV_H
#define ZQV_FFTCONV_H

#include <cstdint>

#include "zqvp4.h"

// ---- Cost model: only comparisons between the costs mean anything.

// 0 for n <= 1, else floor(log2 n).
int32_t zqvIntLog2(int32_t n) noexcept;
// 1 for n <= 1, else the smallest power of two >= n; 0 when n > 2^30 (no
// such power fits 32 bits).
int32_t zqvNextPow2(int32_t n) noexcept;
// 2 * zqvNextPow2(n), the FFT length for blocks of n; 0 when n > 2^29.
int32_t zqvFftConvLen(int32_t n) noexcept;
// trunc(zqvIntLog2(n) * n / 2) * 24
double zqvCostFft(int32_t n) noexcept;
// 8 for n = 1, else 8 + (trunc(n/2) - 1) * 40
double zqvCostRealSplit(int32_t n) noexcept;
// 8 for n = 1, else 8 + (trunc(n/2) - 1) * 36
double zqvCostCcsMerge(int32_t n) noexcept;
// n * 8
double zqvCostLinear(int32_t n) noexcept;
// 3 for n <= 1, else 6 + 7 (n - 2)
double zqvCostDirect(int32_t n) noexcept;

// ---- Support passes, in place.

// The FFT of M = 2^order complex values z[t] = x[2t] + i x[2t+1] becomes the
// real spectrum of the 2M reals x (without scaling).
void zqvcRealFftSplit(ZqvCplxS* data, int32_t order, int32_t flags) noexcept;
void zqvzRealFftSplit(ZqvCplxD* data, int32_t order, int32_t flags) noexcept;
// The unpack on bit-reversed data many times at one order: the twiddles it
// reads, prepared once in the order it reads them (room for 2^(order-1)
// values, at least one; false when a table cannot be had; flags as for the
// unpack), then the unpack with them (ZQV_OutBitRev implied), the same
// numbers as zqvcRealFftSplit.
bool zqvcRealFftPairTwiddles(ZqvCplxS* out, int32_t order, int32_t flags) noexcept;
bool zqvzRealFftPairTwiddles(ZqvCplxD* out, int32_t order, int32_t flags) noexcept;
void zqvcRealFftSplitPaired(ZqvCplxS* data, int32_t order, int32_t flags, const ZqvCplxS* pairTw) noexcept;
void zqvzRealFftSplitPaired(ZqvCplxD* data, int32_t order, int32_t flags, const ZqvCplxD* pairTw) noexcept;
// A real spectrum becomes twice the complex sequence whose inverse FFT gives
// the interleaved reals.
void zqvcCcsFftMerge(ZqvCplxS* data, int32_t order, int32_t flags) noexcept;
void zqvzCcsFftMerge(ZqvCplxD* data, int32_t order, int32_t flags) noexcept;
// The same for a block of 2^rowOrder rows of 2^colOrder complex values, row r
// at complex element r * stride. The real two-dimensional spectrum keeps rows
// 0 and R/2 in the one-dimensional layout; for 0 < r < R/2 row r holds X[r][k]
// (k < M) and row R - r holds X[r][M] in element 0 and X[r][2M - k] in element k.
void zqvsRealFft2dSplit(float* data, int32_t rowOrder, int32_t colOrder, int32_t flags, int32_t stride) noexcept;
void zqvdRealFft2dSplit(double* data, int32_t rowOrder, int32_t colOrder, int32_t flags, int32_t stride) noexcept;
void zqvsCcsFft2dMerge(float* data, int32_t rowOrder, int32_t colOrder, int32_t flags, int32_t stride) noexcept;
void zqvdCcsFft2dMerge(double* data, int32_t rowOrder, int32_t colOrder, int32_t flags, int32_t stride) noexcept;
// dst = src * dst for two real spectra of 2^order reals (order >= 1) in the
// layout above, read as floats: two real values, then complex pairs.
void zqvsMpyPermSpec(const float* src, float* dst, int32_t order) noexcept;
void zqvdMpyPermSpec(const double* src, double* dst, int32_t order) noexcept;

#endif
