// Complex products as the element-wise arithmetic forms them: float parts in
// double, double parts in long double, each part rounded once on return.
// Shared with the other families that multiply spectra.
#ifndef ZQV_ARITH_H
#define ZQV_ARITH_H

#include "zqvp4.h"

inline ZqvCplxS zqvCplxMpy(ZqvCplxS a, ZqvCplxS b) noexcept {
  const double ar = a.re, ai = a.im, br = b.re, bi = b.im;
  return {static_cast<float>(ar * br - ai * bi), static_cast<float>(ar * bi + ai * br)};
}

inline ZqvCplxD zqvCplxMpy(ZqvCplxD a, ZqvCplxD b) noexcept {
  const long double ar = a.re, ai = a.im, br = b.re, bi = b.im;
  return {static_cast<double>(ar * br - ai * bi), static_cast<double>(ar * bi + ai * br)};
}

#endif
