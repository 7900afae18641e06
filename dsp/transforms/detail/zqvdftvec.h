// The vector builds of the direct float DFT's sums (zqvdftvec.cpp).
#ifndef ZQV_DFTVEC_H
#define ZQV_DFTVEC_H

#include <cstdint>

#include "zqvp4.h"

// What the sums read and write. pq holds, for k = 1 .. oddTerms, the folded
// c[k] and c[n-k] as doubles (re, im, re, im); outputs m = 1 .. last sum
// evenTerms terms when m is even and oddTerms when m is odd. sr and si
// receive the sums at index m and have room for the whole last block (see
// zqvDftSumsRoom). Paired (last = n/2 then): psr
// and psi receive at index m the sums of output n - m, whose twiddles must
// be the conjugates of those of m (tw[n-j] = conj(tw[j]) bit for bit,
// 0 < j < n, j != n/2); self tells that some index k m mod n may be 0 or
// n/2 (not so for an odd prime n).
struct ZqvDftSums {
  const double* pq;
  const ZqvCplxS* tw;
  int64_t n;
  int64_t evenTerms, oddTerms;
  int64_t last;
  bool fwd, paired, self;
  double* sr;
  double* si;
  double* psr;
  double* psi;
};

// Vectors run side by side per block of outputs.
constexpr int kZqvDftBlocks512 = 2;
constexpr int kZqvDftBlocks256 = 2;

// Entries sr and si need for a length: index n - 1 rounded up to whole blocks.
constexpr int64_t zqvDftSumsRoom(int64_t n) { return n + 8 * kZqvDftBlocks512 + 4 * kZqvDftBlocks256; }

// Call only when zqvHasAvx512() / zqvHasAvx2().
void zqvDftSumsAvx512(const ZqvDftSums& a) noexcept;
void zqvDftSumsAvx2(const ZqvDftSums& a) noexcept;

#endif
