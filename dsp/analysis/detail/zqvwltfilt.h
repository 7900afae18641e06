// How a wavelet type and its two parameters become the four filters of a
// wavelet record: analysis low-pass and high-pass, synthesis low-pass and
// high-pass, with their lengths and offsets. Built in double precision.
#ifndef ZQV_WLTFILT_H
#define ZQV_WLTFILT_H

#include <cmath>
#include <cstdint>
#include <utility>

#include "analysis/detail/zqvwltcoef.h"
#include "core/zqvframe.h"

namespace zqvwlts {

inline constexpr const char* kModule = "zqvwlts";
inline constexpr const char* kNoMemory = "No working wavelet memory";

enum Kind : int32_t { kOrthogonal = 1, kBiorthogonal = 2, kCallerFilters = 3 };

// Four filters owned through zqvFree, with their lengths and offsets.
struct Filters {
  double* taps[4] = {};
  int32_t len[4] = {};
  int32_t ofs[4] = {};
  int32_t kind = 0;

  void release() noexcept {
    for (auto*& t : taps) {
      zqvFree(t);
      t = nullptr;
    }
    for (int i = 0; i < 4; ++i) len[i] = ofs[i] = 0;
    kind = 0;
  }
};

inline bool allocateFilters(Filters& f, int32_t lenLow, int32_t lenHigh) noexcept {
  const int32_t lens[4] = {lenLow, lenHigh, lenHigh, lenLow};
  for (int i = 0; i < 4; ++i) {
    f.len[i] = lens[i];
    f.taps[i] = zqvdMalloc(lens[i]);
    if (!f.taps[i]) return false;
  }
  return true;
}

// ---- Orthogonal types: four filters from one scaling filter h.

inline bool orthogonal(ZqvSite site, const ScalingFilter& h, Filters& f) noexcept {
  const int32_t n = h.len;
  // The first tap of largest magnitude after the first one.
  int32_t peak = 1;
  for (int32_t k = 2; k < n; ++k)
    if (std::fabs(h.taps[k]) > std::fabs(h.taps[peak])) peak = k;
  if (n % 2) {
    zqvError(ZQV_BAD_ARGUMENT, site.func, "Odd ortho. filter length", site.module, __LINE__);
    return false;
  }
  double energy = 0;
  for (int32_t k = 0; k < n; ++k) energy += h.taps[k] * h.taps[k];
  if (energy < 1e-19) {
    zqvError(ZQV_BAD_ARGUMENT, site.func, "Small ortho. filter taps values", site.module, __LINE__);
    return false;
  }
  if (!allocateFilters(f, n, n)) {
    zqvError(ZQV_OUT_OF_MEMORY, site.func, kNoMemory, site.module, __LINE__);
    return false;
  }
  double *f0 = f.taps[0], *f1 = f.taps[1], *f2 = f.taps[2], *f3 = f.taps[3];
  const double root = std::sqrt(energy);
  for (int32_t k = 0; k < n; ++k) f0[k] = h.taps[k] / root;
  for (int32_t k = 0; k < n; ++k) f2[k] = f0[n - 1 - k];
  for (int32_t k = 0; k < n; ++k) f1[k] = k % 2 ? -f2[k] : f2[k];
  for (int32_t k = 0; k < n; ++k) f3[k] = f1[n - 1 - k];

  // The low-pass filter must be orthogonal to its even shifts.
  bool fault = false;
  for (int32_t m = 2; m < n; m += 2) {
    double c = 0;
    for (int32_t k = m; k < n; ++k) c += f0[k] * f0[k - m];
    if (std::fabs(c) > 1e-5) fault = true;
  }
  double sum = 0;
  for (int32_t k = 0; k < n; ++k) sum += f0[k];
  if (fault || std::fabs(sum) < 1e-19) {
    zqvError(ZQV_BAD_ARGUMENT, site.func, "Bad low-pass ortho. filter taps", site.module, __LINE__);
    return false;
  }
  // Analysis low-pass summing to 1, synthesis low-pass to 2.
  for (int32_t k = 0; k < n; ++k) {
    f0[k] /= sum;
    f1[k] /= sum;
    f2[k] *= sum;
    f3[k] *= sum;
  }
  double highSum = 0, highMax = 0;
  for (int32_t k = 0; k < n; ++k) {
    highSum += f1[k];
    highMax = std::fmax(highMax, std::fabs(f1[k]));
  }
  if (std::fabs(highSum) > 0.001 * highMax) {
    zqvError(ZQV_BAD_ARGUMENT, site.func, "Bad high-pass ortho. filter taps", site.module, __LINE__);
    return false;
  }
  f.ofs[0] = f.ofs[1] = peak;
  f.ofs[2] = f.ofs[3] = n - 1 - peak;
  f.kind = kOrthogonal;
  return true;
}

// ---- Binomial pairs: a binomial filter and its dual.

struct Integers {
  int32_t len;
  int32_t values[20];
  int32_t denominator;
};

struct DualRow {
  int32_t par1, par2;
  Integers dual;
};

inline constexpr Integers kPrimal[] = {
    {2, {1, 1}, 2},
    {3, {1, 2, 1}, 4},
    {4, {1, 3, 3, 1}, 8},
};
inline constexpr int32_t kPrimalCentre[] = {1, 2, 2};

inline constexpr DualRow kDuals[] = {
    {1, 1, {2, {1, 1}, 2}},
    {1, 3, {6, {-1, 1, 8, 8, 1, -1}, 16}},
    {1, 5, {10, {3, -3, -22, 22, 128, 128, 22, -22, -3, 3}, 256}},
    {2, 2, {5, {-1, 2, 6, 2, -1}, 8}},
    {2, 4, {9, {3, -6, -16, 38, 90, 38, -16, -6, 3}, 128}},
    {2, 6, {13, {-5, 10, 34, -78, -123, 324, 700, 324, -123, -78, 34, 10, -5}, 1024}},
    {2, 8, {17, {35, -70, -300, 670, 1228, -3126, -3796, 10718, 22050, 10718, -3796, -3126, 1228, 670, -300,
                 -70, 35},
            32768}},
    {3, 1, {4, {-1, 3, 3, -1}, 4}},
    {3, 3, {8, {3, -9, -7, 45, 45, -7, -9, 3}, 64}},
    {3, 5, {12, {-5, 15, 19, -97, -26, 350, 350, -26, -97, 19, 15, -5}, 512}},
    {3, 7, {16, {35, -105, -195, 865, 363, -3489, -307, 11025, 11025, -307, -3489, 363, 865, -195, -105, 35},
            16384}},
    {3, 9, {20, {-63, 189, 469, -1911, -1308, 9188, 1140, -29676, 190, 87318, 87318, 190, -29676, 1140, 9188,
                 -1308, -1911, 469, 189, -63},
            131072}},
};

inline bool binomial(ZqvSite site, int32_t par1, int32_t par2, bool exchanged, Filters& f) noexcept {
  const DualRow* row = nullptr;
  for (const DualRow& r : kDuals)
    if (r.par1 == par1 && r.par2 == par2) row = &r;
  if (!row) {
    zqvError(ZQV_BAD_ARGUMENT, site.func, "error in wavelet parameters", site.module, __LINE__);
    return false;
  }
  const Integers* p = &kPrimal[par1 - 1];
  const Integers* d = &row->dual;
  int32_t cp = kPrimalCentre[par1 - 1], cd = par1 == 3 ? par2 + 1 : par2;
  if (exchanged) {
    std::swap(p, d);
    std::swap(cp, cd);
  }
  if (!allocateFilters(f, p->len, d->len)) {
    zqvError(ZQV_OUT_OF_MEMORY, site.func, kNoMemory, site.module, __LINE__);
    return false;
  }
  const auto pk = [&](int32_t k) { return double(p->values[k]) / p->denominator; };
  const auto dk = [&](int32_t k) { return double(d->values[k]) / d->denominator; };
  for (int32_t k = 0; k < p->len; ++k) {
    f.taps[0][k] = pk(k);
    // Sign alternation keyed to the centre's parity.
    const bool negative = (k % 2 == 0) == (cp % 2 == 0);
    f.taps[3][k] = negative ? -2 * pk(k) : 2 * pk(k);
  }
  for (int32_t k = 0; k < d->len; ++k) {
    const bool negative = (k % 2 == 0) != (cd % 2 == 0);
    f.taps[1][k] = negative ? -dk(k) : dk(k);
    f.taps[2][k] = 2 * dk(k);
  }
  f.ofs[0] = cp - 1;
  f.ofs[1] = cd - 1;
  f.ofs[2] = cd;
  f.ofs[3] = cp;
  f.kind = kBiorthogonal;
  return true;
}

// The filters of a built-in type (1..9); on failure everything built so far
// is released and the failure has been reported under the asking routine.
inline bool buildFilters(ZqvSite site, int32_t wtType, int32_t par1, int32_t par2, Filters& f) noexcept {
  bool ok = false;
  switch (wtType) {
    case 1:
      ok = orthogonal(site, kDaublets[0], f);
      break;
    case 2:
      if (par1 < 1 || par1 > 10) zqvError(ZQV_BAD_ARGUMENT, site.func, "error in parameter Daublet filter", site.module, __LINE__);
      else ok = orthogonal(site, kDaublets[par1 - 1], f);
      break;
    case 3:
      if (par1 < 1 || par1 > 7) zqvError(ZQV_BAD_ARGUMENT, site.func, "error in parameter Symmlet filter", site.module, __LINE__);
      else ok = orthogonal(site, kSymmlets[par1 - 1], f);
      break;
    case 4:
      if (par1 < 1 || par1 > 5) zqvError(ZQV_BAD_ARGUMENT, site.func, "error in parameter Coiflet filter", site.module, __LINE__);
      else ok = orthogonal(site, kCoiflets[par1 - 1], f);
      break;
    case 5:
      ok = orthogonal(site, kFixed, f);
      break;
    case 6:
    case 7:
      ok = par1 >= 1 && par1 <= 3 ? binomial(site, par1, par2, wtType == 7, f)
                                  : (zqvError(ZQV_BAD_ARGUMENT, site.func, "error in wavelet parameters",
                                              site.module, __LINE__),
                                     false);
      break;
    case 8:
      ok = binomial(site, 2, 2, false, f);
      break;
    case 9:
      ok = binomial(site, 3, 3, false, f);
      break;
    default:
      zqvError(ZQV_BAD_ARGUMENT, site.func, "error in the type of wavelet", site.module, __LINE__);
  }
  if (!ok) f.release();
  return ok;
}

}  // namespace zqvwlts

#endif
