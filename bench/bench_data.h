// Test signals of the benchmarks: uniform in [-1, 1), the same for a seed.
#ifndef ZQV_BENCH_DATA_H
#define ZQV_BENCH_DATA_H

#include <cstdint>
#include <random>
#include <vector>

inline std::vector<float> data(int64_t n, uint32_t seed) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
  std::vector<float> v(static_cast<size_t>(n));
  for (auto& x : v) x = dist(gen);
  return v;
}

#endif
