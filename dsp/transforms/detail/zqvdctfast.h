// The DCT's fast recursion in its three builds (baseline, 256-bit, 512-bit),
// compiled from one body (zqvdctkern.h); zqvdct.cpp picks one on first use.
#ifndef ZQV_DCTFAST_H
#define ZQV_DCTFAST_H

#include <cstdint>

// The factors 0.5 / cos((2j + 1) pi / (4m)), m = 2^q, for every half-length
// 2^q below the transform's length, fetched before any work.
struct ZqvDctFactors {
  const double* byOrder[32] = {};
};

// The DCT-II (inverse false) or DCT-III (inverse true) of n = 2^p values in
// place in x, unscaled; tmp holds n values of scratch.
void zqvDctFast128(double* x, double* tmp, int32_t p, bool inverse, const ZqvDctFactors& f) noexcept;
void zqvDctFast256(double* x, double* tmp, int32_t p, bool inverse, const ZqvDctFactors& f) noexcept;
void zqvDctFast512(double* x, double* tmp, int32_t p, bool inverse, const ZqvDctFactors& f) noexcept;

#endif
