// Oracle of the two-dimensional convolution tests: the naive sum over every
// pair of elements in long double, and the sum of the magnitudes of the
// products (the scale a rounding error is measured against).
#ifndef ZQV_CNV2D_ORACLE_H
#define ZQV_CNV2D_ORACLE_H

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace cnv2d_oracle {

using LD = long double;

struct Image2 {
  int64_t cols, rows;
};

// y(r, c) = sum x(i, j) h(r - i, c - j); a product with a zero factor is
// left out, so infinities meet no zero.
template <class T>
std::vector<LD> naive(const T* x, Image2 xe, const T* h, Image2 he, std::vector<LD>* magnitudes = nullptr) {
  const int64_t yc = xe.cols + he.cols - 1, yr = xe.rows + he.rows - 1;
  std::vector<LD> y(static_cast<size_t>(yc * yr), 0.0L);
  if (magnitudes) magnitudes->assign(y.size(), 0.0L);
  for (int64_t i = 0; i < xe.rows; ++i)
    for (int64_t j = 0; j < xe.cols; ++j)
      for (int64_t k = 0; k < he.rows; ++k)
        for (int64_t l = 0; l < he.cols; ++l) {
          const LD a = x[i * xe.cols + j], b = h[k * he.cols + l];
          if (a == 0 || b == 0) continue;
          const size_t at = static_cast<size_t>((i + k) * yc + j + l);
          y[at] += a * b;
          if (magnitudes) (*magnitudes)[at] += std::fabs(a * b);
        }
  return y;
}

template <class T>
std::vector<T> randomImage(Image2 e, std::mt19937& gen) {
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  std::vector<T> v(static_cast<size_t>(e.cols * e.rows));
  for (T& a : v) a = static_cast<T>(u(gen));
  return v;
}

// Largest error against the oracle relative to the largest product-magnitude
// sum of the output (transform errors spread over the whole output).
template <class T>
LD relativeError(const std::vector<T>& y, const std::vector<LD>& ref, const std::vector<LD>& magnitudes) {
  LD worst = 0, scale = 0;
  for (size_t i = 0; i < ref.size(); ++i) {
    const LD e = std::fabs(static_cast<LD>(y[i]) - ref[i]);
    if (std::isnan(e)) return INFINITY;
    worst = std::max(worst, e);
    scale = std::max(scale, magnitudes[i]);
  }
  return scale > 0 ? worst / scale : worst;
}

}  // namespace cnv2d_oracle

#endif
