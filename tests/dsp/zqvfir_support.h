// Oracles and helpers shared by the FIR suites: direct sums in long double
// for the single-rate and the up-sample / filter / down-sample definitions,
// and test data.
#ifndef ZQVFIR_SUPPORT_H
#define ZQVFIR_SUPPORT_H

#include <cmath>
#include <complex>
#include <cstdint>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <type_traits>
#include <vector>

#include "zqv_test_support.h"

namespace firtest {

using LD = long double;
using CL = std::complex<LD>;

inline CL toCL(float v) { return {v, 0}; }
inline CL toCL(double v) { return {v, 0}; }
inline CL toCL(int16_t v) { return {LD(v), 0}; }
inline CL toCL(ZqvCplxS v) { return {v.re, v.im}; }
inline CL toCL(ZqvCplxD v) { return {v.re, v.im}; }

template <class T>
T fromParts(double re, double im) {
  if constexpr (std::is_arithmetic_v<T>) return static_cast<T>(re);
  else return T{static_cast<decltype(T::re)>(re), static_cast<decltype(T::re)>(im)};
}

// Values in -range .. range; whole numbers keep every sum exact.
template <class T>
std::vector<T> data(size_t n, uint32_t seed, int range = 0) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> u(-1, 1);
  std::uniform_int_distribution<int> k(-range, range);
  std::vector<T> v(n);
  for (auto& e : v) {
    if (range) e = fromParts<T>(k(gen), k(gen));
    else e = fromParts<T>(u(gen), u(gen));
  }
  return v;
}

template <class T>
bool sameBits(const T& a, const T& b) {
  return std::memcmp(&a, &b, sizeof(T)) == 0;
}

// The whole input stream: `past` (oldest first) followed by the inputs.
struct Stream {
  std::vector<CL> values;
  int64_t first;  // index in values of input 0
  CL at(int64_t i) const {
    const int64_t k = i + first;
    return k >= 0 && k < int64_t(values.size()) ? values[size_t(k)] : CL{};
  }
};

template <class X>
Stream stream(const std::vector<X>& past, const std::vector<X>& in) {
  Stream s{{}, int64_t(past.size())};
  for (const X& v : past) s.values.push_back(toCL(v));
  for (const X& v : in) s.values.push_back(toCL(v));
  return s;
}

// y[n] = sum over j of h[j] x[n - j].
template <class H>
std::vector<CL> convolve(const std::vector<H>& h, const Stream& x, int64_t n) {
  std::vector<CL> y(size_t(n), CL{});
  for (int64_t i = 0; i < n; ++i)
    for (size_t j = 0; j < h.size(); ++j) y[size_t(i)] += toCL(h[j]) * x.at(i - int64_t(j));
  return y;
}

// Input i sits at instant i U + upPhase of the up-sampled stream (zeros
// elsewhere); output m is the convolution at instant m D + downPhase.
template <class H>
std::vector<CL> resample(const std::vector<H>& h, const Stream& x, int64_t U, int64_t upPhase, int64_t D,
                         int64_t downPhase, int64_t nOut) {
  std::vector<CL> y(size_t(nOut), CL{});
  for (int64_t m = 0; m < nOut; ++m) {
    const int64_t at = m * D + downPhase;
    for (size_t j = 0; j < h.size(); ++j) {
      const int64_t s = at - int64_t(j) - upPhase;
      if (s % U != 0) continue;
      // floor division for instants before the first input
      y[size_t(m)] += toCL(h[j]) * x.at(s >= 0 ? s / U : -((-s) / U));
    }
  }
  return y;
}

// Largest |h| |x| sum over the outputs: the scale of a sum's rounding.
template <class H>
LD magnitudeScale(const std::vector<H>& h, const Stream& x) {
  LD hs = 0, xs = 0;
  for (const H& v : h) hs += std::abs(toCL(v));
  for (const CL& v : x.values) xs = std::max(xs, std::abs(v));
  return hs * xs + 1;
}

template <class T>
::testing::AssertionResult near(const std::vector<T>& got, const std::vector<CL>& want, LD tol) {
  if (got.size() != want.size()) return ::testing::AssertionFailure() << "sizes " << got.size() << " " << want.size();
  for (size_t i = 0; i < got.size(); ++i) {
    const LD err = std::abs(toCL(got[i]) - want[i]);
    if (!(err <= tol))
      return ::testing::AssertionFailure() << "output " << i << ": got " << double(toCL(got[i]).real()) << ","
                                           << double(toCL(got[i]).imag()) << " want " << double(want[i].real())
                                           << "," << double(want[i].imag()) << " (error " << double(err) << ")";
  }
  return ::testing::AssertionSuccess();
}

template <class T>
::testing::AssertionResult identical(const std::vector<T>& got, const std::vector<T>& want) {
  if (got.size() != want.size()) return ::testing::AssertionFailure() << "sizes differ";
  for (size_t i = 0; i < got.size(); ++i)
    if (!sameBits(got[i], want[i])) return ::testing::AssertionFailure() << "output " << i << " differs";
  return ::testing::AssertionSuccess();
}

}  // namespace firtest

#endif
