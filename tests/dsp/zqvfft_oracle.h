// Independent references for the FFT tests: a naive long-double DFT for
// short lengths and the long-double plans of an outside FFT library above.
#ifndef ZQVFFT_ORACLE_H
#define ZQVFFT_ORACLE_H

#include <fftw3.h>

#include <cmath>
#include <complex>
#include <cstdint>
#include <random>
#include <vector>

using LD = long double;
using CL = std::complex<LD>;

// X[k] = sum x[n] exp(-sign 2 pi i nk/N); sign +1 forward, -1 inverse; unscaled.
inline std::vector<CL> referenceDft(const std::vector<CL>& x, int sign) {
  const std::size_t n = x.size();
  std::vector<CL> out(n);
  if (n <= 4096) {
    const LD pi = 3.141592653589793238462643383279502884L;
    std::vector<CL> w(n);
    for (std::size_t k = 0; k < n; ++k) {
      const LD a = 2 * pi * static_cast<LD>(k) / static_cast<LD>(n);
      w[k] = CL(cosl(a), -sign * sinl(a));
    }
    for (std::size_t k = 0; k < n; ++k) {
      CL acc = 0;
      for (std::size_t j = 0; j < n; ++j) acc += x[j] * w[(j * k) % n];
      out[k] = acc;
    }
    return out;
  }
  auto* in = static_cast<fftwl_complex*>(fftwl_malloc(sizeof(fftwl_complex) * n));
  auto* res = static_cast<fftwl_complex*>(fftwl_malloc(sizeof(fftwl_complex) * n));
  fftwl_plan plan = fftwl_plan_dft_1d(static_cast<int>(n), in, res, sign > 0 ? FFTW_FORWARD : FFTW_BACKWARD,
                                      FFTW_ESTIMATE);
  for (std::size_t k = 0; k < n; ++k) {
    in[k][0] = x[k].real();
    in[k][1] = x[k].imag();
  }
  fftwl_execute(plan);
  for (std::size_t k = 0; k < n; ++k) out[k] = CL(res[k][0], res[k][1]);
  fftwl_destroy_plan(plan);
  fftwl_free(in);
  fftwl_free(res);
  return out;
}

inline std::vector<CL> randomSignal(std::size_t n, uint32_t seed, bool real) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> d(-1.0, 1.0);
  std::vector<CL> x(n);
  for (auto& v : x) {
    const double re = d(gen);
    v = CL(re, real ? 0.0 : d(gen));
  }
  return x;
}

// Relative RMS error of got against ref.
template <class Get>
LD relRms(const std::vector<CL>& ref, Get got) {
  LD num = 0, den = 0;
  for (std::size_t k = 0; k < ref.size(); ++k) {
    num += std::norm(got(k) - ref[k]);
    den += std::norm(ref[k]);
  }
  return den == 0 ? sqrtl(num) : sqrtl(num / den);
}

#endif
