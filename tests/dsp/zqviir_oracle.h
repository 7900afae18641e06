// Long-double references for the IIR suites: the direct-form-I difference
// equation, a cascade of such sections, and conversions between the
// library's element types and std::complex<long double>.
#ifndef ZQV_IIR_ORACLE_H
#define ZQV_IIR_ORACLE_H

#include <complex>
#include <cstring>
#include <random>
#include <type_traits>
#include <vector>

#include "zqvp4.h"

using Cld = std::complex<long double>;

template <class T>
constexpr bool isCplx = !std::is_floating_point_v<T>;

template <class T>
Cld toC(T v) {
  if constexpr (isCplx<T>) return {static_cast<long double>(v.re), static_cast<long double>(v.im)};
  else return {static_cast<long double>(v), 0.0L};
}

template <class T>
T fromC(Cld c) {
  if constexpr (isCplx<T>) {
    using P = decltype(T::re);
    return {static_cast<P>(c.real()), static_cast<P>(c.imag())};
  } else {
    return static_cast<T>(c.real());
  }
}

template <class T>
bool sameBits(const T& a, const T& b) { return std::memcmp(&a, &b, sizeof(T)) == 0; }

template <class T>
bool sameBits(const std::vector<T>& a, const std::vector<T>& b) {
  return a.size() == b.size() && std::memcmp(a.data(), b.data(), a.size() * sizeof(T)) == 0;
}

// Values of type T (imaginary parts only where T has them), in [-1, 1).
template <class T>
std::vector<T> randomValues(size_t n, uint32_t seed) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> dist(-1.0, 1.0);
  std::vector<T> v(n);
  for (auto& x : v) {
    const double re = dist(gen), im = dist(gen);
    x = fromC<T>({re, isCplx<T> ? im : 0.0});
  }
  return v;
}

// y(n) = (sum bk x(n-k) - sum_{k>=1} ak y(n-k)) / a0 over the raw taps
// b0..bN, a0..aN.
inline std::vector<Cld> directFormI(const std::vector<Cld>& taps, const std::vector<Cld>& x) {
  const size_t order = taps.size() / 2 - 1;
  std::vector<Cld> y(x.size());
  for (size_t n = 0; n < x.size(); ++n) {
    Cld acc = 0;
    for (size_t k = 0; k <= order && k <= n; ++k) acc += taps[k] * x[n - k];
    for (size_t k = 1; k <= order && k <= n; ++k) acc -= taps[order + 1 + k] * y[n - k];
    y[n] = acc / taps[order + 1];
  }
  return y;
}

// Sections of six raw values b0, b1, b2, a0, a1, a2, applied one after the other.
inline std::vector<Cld> cascadeFormI(const std::vector<Cld>& taps, std::vector<Cld> x) {
  for (size_t i = 0; i + 6 <= taps.size(); i += 6) x = directFormI({taps.begin() + i, taps.begin() + i + 6}, x);
  return x;
}

#endif
