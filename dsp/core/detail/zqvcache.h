// The table caches and work buffers of the thread's context. The frame
// declares and owns them: it creates them zeroed and calls zqvReleaseCaches
// when the context dies; the transform modules fill and empty the slots.
#ifndef ZQV_CACHE_H
#define ZQV_CACHE_H

#include <cstdint>

#include "zqvp4.h"

enum { ZQV_CACHE_ORDERS = 32, ZQV_DFT_LIST_SIZE = 32, ZQV_WORK_BUF_SLOTS = 4 };

// Fields held between the context's dftListCapacity and statusText.
struct ZqvCacheGroup1 {
  // DFT twiddle lists (complex float, complex double, 16-bit complex).
  int32_t cDftCount;
  int32_t zDftCount;
  int32_t vDftCount;
  int32_t cDftLength[ZQV_DFT_LIST_SIZE];
  int32_t zDftLength[ZQV_DFT_LIST_SIZE];
  int32_t vDftLength[ZQV_DFT_LIST_SIZE];
  ZqvCplxS* cDftTbl[ZQV_DFT_LIST_SIZE];
  ZqvCplxD* zDftTbl[ZQV_DFT_LIST_SIZE];
  ZqvCplxW* vDftTbl[ZQV_DFT_LIST_SIZE];
  // Full FFT twiddle tables by order.
  ZqvCplxS* cFftTwd[ZQV_CACHE_ORDERS];
  ZqvCplxD* zFftTwd[ZQV_CACHE_ORDERS];
  ZqvCplxW* vFftTwd[ZQV_CACHE_ORDERS];
  // Bit-reverse index tables and swap-pair tables by order.
  int32_t* bitRevTbl[ZQV_CACHE_ORDERS];
  int32_t* bitRevPairTbl[ZQV_CACHE_ORDERS];
};

// Fields held after statusText.
struct ZqvCacheGroup2 {
  ZqvCplxS* cHalfTwd[ZQV_CACHE_ORDERS];
  ZqvCplxD* zHalfTwd[ZQV_CACHE_ORDERS];
  ZqvCplxS* cRadix4Twd[ZQV_CACHE_ORDERS];
  ZqvCplxD* zRadix4Twd[ZQV_CACHE_ORDERS];
  // Real-unpack tables: (0.5 cos, 0.5 - 0.5 sin) pairs.
  float* sSplitTwd[ZQV_CACHE_ORDERS];
  double* dSplitTwd[ZQV_CACHE_ORDERS];
  // Per-stage twiddles of the vector kernels, n complex values per order.
  float* sStageTwd[ZQV_CACHE_ORDERS];
  double* dStageTwd[ZQV_CACHE_ORDERS];
  int32_t workBufCapacity[ZQV_WORK_BUF_SLOTS];
  ZqvCplxS* workBuf[ZQV_WORK_BUF_SLOTS];
  // DCT tables, kept per thread so that threads never rebuild or release a
  // table another thread reads: the cosines of the direct method (dctCosCount
  // = 4n entries for the length n last used) and, for the fast method, the
  // odd-part factors of each half-length 2^q.
  int32_t dctCosCount;
  double* dctCos;
  double* dctOddFactors[ZQV_CACHE_ORDERS];
};

struct ZqvContext;
// Frees every table and work buffer the context's caches own and zeroes them.
void zqvReleaseCaches(ZqvContext* ctx) noexcept;

#endif
