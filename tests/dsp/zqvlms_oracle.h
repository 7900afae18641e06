// A naive LMS filter in long double for the LMS suites: the update rule
// written out over a line kept newest first.
#ifndef ZQV_LMS_ORACLE_H
#define ZQV_LMS_ORACLE_H

#include <vector>

#include "zqviir_oracle.h"

struct NaiveLms {
  std::vector<Cld> h, x;  // taps, line (x[0] newest)
  long double step, leak;
  size_t errDly;
  bool conjugate;  // complex samples: the regressor is conjugated

  void adapt(Cld err, size_t base) {
    const Cld g = step * err;
    for (size_t i = 0; i < h.size(); ++i) {
      const Cld r = conjugate ? std::conj(x[base + i + errDly]) : x[base + i + errDly];
      h[i] = h[i] * (1.0L - leak) + g * r;
    }
  }
  // One input, then the output at it.
  Cld push(Cld samp) {
    for (size_t k = x.size() - 1; k > 0; --k) x[k] = x[k - 1];
    x[0] = samp;
    return output(0);
  }
  // D inputs, in[0] the oldest.
  void pushBlock(const std::vector<Cld>& in) {
    const size_t d = in.size();
    for (size_t k = x.size(); k-- > d;) x[k] = x[k - d];
    for (size_t j = 0; j < d; ++j) x[j] = in[d - 1 - j];
  }
  Cld output(size_t base) const {
    Cld y = 0;
    for (size_t i = 0; i < h.size(); ++i) y += h[i] * x[base + i];
    return y;
  }
};

#endif
