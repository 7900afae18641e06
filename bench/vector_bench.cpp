// Element-wise vector routines against a plain loop on the same data, in the
// same run. Prints elements per nanosecond for each, then ours/plain.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "zqvp4.h"

namespace {

volatile float gOne = 1.0f;  // a factor the compiler cannot see through

std::vector<float> data(int64_t n) {
  std::mt19937 gen(42);
  std::uniform_real_distribution<float> dist(0.5f, 2.0f);
  std::vector<float> v(n);
  for (auto& x : v) x = dist(gen);
  return v;
}

void setRate(benchmark::State& state, int64_t n) {
  state.counters["elem/ns"] =
      benchmark::Counter(double(n) * double(state.iterations()) * 1e-9, benchmark::Counter::kIsRate);
}

template <bool ours>
void Mpy1(benchmark::State& state) {
  const int64_t n = state.range(0);
  auto v = data(n);
  const float val = gOne;
  for (auto _ : state) {
    if constexpr (ours) zqvsbMpy1(val, v.data(), int32_t(n));
    else for (int64_t i = 0; i < n; ++i) v[i] = v[i] * val;
    benchmark::ClobberMemory();
  }
  setRate(state, n);
}

template <bool ours>
void Add1(benchmark::State& state) {
  const int64_t n = state.range(0);
  auto v = data(n);
  const float val = gOne - 1.0f;
  for (auto _ : state) {
    if constexpr (ours) zqvsbAdd1(val, v.data(), int32_t(n));
    else for (int64_t i = 0; i < n; ++i) v[i] = v[i] + val;
    benchmark::ClobberMemory();
  }
  setRate(state, n);
}

template <bool ours>
void Mag(benchmark::State& state) {
  const int64_t n = state.range(0);
  const auto re = data(n), im = data(n + 1);
  std::vector<ZqvCplxS> src(n);
  for (int64_t i = 0; i < n; ++i) src[i] = {re[i], im[i + 1]};
  std::vector<float> mag(n);
  for (auto _ : state) {
    if constexpr (ours) zqvcbMag(src.data(), mag.data(), int32_t(n));
    else for (int64_t i = 0; i < n; ++i) mag[i] = std::sqrt(src[i].re * src[i].re + src[i].im * src[i].im);
    benchmark::ClobberMemory();
  }
  setRate(state, n);
}

// Both sides copy fresh input first, since the logarithm changes it in place.
template <bool ours>
void Ln1(benchmark::State& state) {
  const int64_t n = state.range(0);
  const auto src = data(n);
  std::vector<float> v(n);
  for (auto _ : state) {
    std::memcpy(v.data(), src.data(), n * sizeof(float));
    if constexpr (ours) zqvsbLn1(v.data(), int32_t(n));
    else for (int64_t i = 0; i < n; ++i) v[i] = std::log(v[i]);
    benchmark::ClobberMemory();
  }
  setRate(state, n);
}

#define SIZES ->Arg(1 << 10)->Arg(1 << 16)->Arg(1 << 20)
BENCHMARK(Mpy1<true>)->Name("zqvsbMpy1") SIZES;
BENCHMARK(Mpy1<false>)->Name("plain/zqvsbMpy1") SIZES;
BENCHMARK(Add1<true>)->Name("zqvsbAdd1") SIZES;
BENCHMARK(Add1<false>)->Name("plain/zqvsbAdd1") SIZES;
BENCHMARK(Mag<true>)->Name("zqvcbMag") SIZES;
BENCHMARK(Mag<false>)->Name("plain/zqvcbMag") SIZES;
BENCHMARK(Ln1<true>)->Name("zqvsbLn1") SIZES;
BENCHMARK(Ln1<false>)->Name("plain/zqvsbLn1") SIZES;

// Keeps every rate and prints ours/plain per routine and size at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const auto& r : runs) {
      // With repetitions the median stands for the run.
      if (r.run_type == Run::RT_Aggregate && r.aggregate_name != "median") continue;
      if (auto it = r.counters.find("elem/ns"); it != r.counters.end()) rates_[r.run_name.str()] = it->second;
    }
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    std::printf("\n%-22s %10s %10s %8s\n", "routine/size", "ours", "plain", "ratio");
    for (const auto& [name, rate] : rates_) {
      if (name.rfind("plain/", 0) == 0) continue;
      auto plain = rates_.find("plain/" + name);
      if (plain == rates_.end()) continue;
      std::printf("%-22s %10.3f %10.3f %8.2f\n", name.c_str(), rate, plain->second, rate / plain->second);
    }
  }

 private:
  std::map<std::string, double> rates_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
}
