// Element-wise vector routines against a plain loop on the same data, in the
// same run. Prints elements per nanosecond for each, then ours/plain.
#include <benchmark/benchmark.h>
#include <immintrin.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
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

// The vectorised C library (libmvec): its 512-bit logf/expf where the
// processor has them, else its 256-bit ones.
extern "C" __m512 _ZGVeN16v_logf(__m512);
extern "C" __m512 _ZGVeN16v_expf(__m512);
extern "C" __m256 _ZGVdN8v_logf(__m256);
extern "C" __m256 _ZGVdN8v_expf(__m256);

enum class Fn { Log, Exp };

template <Fn F>
__attribute__((target("avx512f"))) void mvec512(const float* src, float* dst, int64_t n) {
  int64_t i = 0;
  for (; i + 16 <= n; i += 16) {
    const __m512 x = _mm512_loadu_ps(src + i);
    _mm512_storeu_ps(dst + i, F == Fn::Log ? _ZGVeN16v_logf(x) : _ZGVeN16v_expf(x));
  }
  for (; i < n; ++i) dst[i] = F == Fn::Log ? std::log(src[i]) : std::exp(src[i]);
}

template <Fn F>
__attribute__((target("avx2"))) void mvec256(const float* src, float* dst, int64_t n) {
  int64_t i = 0;
  for (; i + 8 <= n; i += 8) {
    const __m256 x = _mm256_loadu_ps(src + i);
    _mm256_storeu_ps(dst + i, F == Fn::Log ? _ZGVdN8v_logf(x) : _ZGVdN8v_expf(x));
  }
  for (; i < n; ++i) dst[i] = F == Fn::Log ? std::log(src[i]) : std::exp(src[i]);
}

template <Fn F>
void mvec(const float* src, float* dst, int64_t n) {
  static const bool wide = __builtin_cpu_supports("avx512f");
  if (wide) mvec512<F>(src, dst, n);
  else mvec256<F>(src, dst, n);
}

template <Fn F>
void ours(const float* src, float* dst, int64_t n) {
  if constexpr (F == Fn::Log) zqvsbLn2(src, dst, int32_t(n));
  else zqvsbExp2(src, dst, int32_t(n));
}

// src to dst, both sides on the same data: logarithms of 0.5..2, exponentials
// of -10..10.
template <Fn F, bool isOurs>
void LogExp(benchmark::State& state) {
  const int64_t n = state.range(0);
  auto src = data(n);
  if constexpr (F == Fn::Exp)
    for (auto& x : src) x = (x - 1.25f) * 13.0f;
  std::vector<float> dst(n);
  for (auto _ : state) {
    if constexpr (isOurs) ours<F>(src.data(), dst.data(), n);
    else mvec<F>(src.data(), dst.data(), n);
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
BENCHMARK(LogExp<Fn::Log, true>)->Name("zqvsbLn2") SIZES;
BENCHMARK(LogExp<Fn::Log, false>)->Name("libmvec/zqvsbLn2") SIZES;
BENCHMARK(LogExp<Fn::Exp, true>)->Name("zqvsbExp2") SIZES;
BENCHMARK(LogExp<Fn::Exp, false>)->Name("libmvec/zqvsbExp2") SIZES;

// Largest error in units of the last place over a sweep of inputs, against a
// long-double reference: every float of [0.5, 2) and every 64th float of
// [2^-126, 2^30) for the logarithm; every 16th float of [-103, 88.7] for the
// exponential.
template <Fn F, class Impl>
double maxUlp(Impl impl) {
  std::vector<float> src;
  auto addRange = [&](float lo, float hi, uint32_t step) {
    uint32_t a, b;
    std::memcpy(&a, &lo, 4);
    std::memcpy(&b, &hi, 4);
    if (a > b) std::swap(a, b);
    for (uint32_t u = a; u < b; u += step) {
      float x;
      std::memcpy(&x, &u, 4);
      src.push_back(x);
    }
  };
  if constexpr (F == Fn::Log) {
    addRange(0.5f, 2.0f, 1);
    addRange(0x1p-126f, 0x1p30f, 64);
  } else {
    addRange(-0.0f, -103.0f, 16);
    addRange(0.0f, 88.7f, 16);
  }
  std::vector<float> dst(src.size());
  impl(src.data(), dst.data(), int64_t(src.size()));
  double worst = 0;
  for (size_t i = 0; i < src.size(); ++i) {
    const long double want = F == Fn::Log ? std::log((long double)src[i]) : std::exp((long double)src[i]);
    if (want == 0 || !std::isfinite(want)) continue;
    int e;
    std::frexp((double)want, &e);
    // One unit in the last place of the float nearest want (subnormals: 2^-149).
    const long double ulp = std::ldexp(1.0L, std::max(e - 24, -149));
    worst = std::max(worst, double(std::fabs((long double)dst[i] - want) / ulp));
  }
  return worst;
}

void printErrors() {
  std::printf("\n%-12s %14s %14s\n", "function", "ours max ulp", "libmvec max ulp");
  std::printf("%-12s %14.3f %14.3f\n", "log", maxUlp<Fn::Log>(ours<Fn::Log>), maxUlp<Fn::Log>(mvec<Fn::Log>));
  std::printf("%-12s %14.3f %14.3f\n", "exp", maxUlp<Fn::Exp>(ours<Fn::Exp>), maxUlp<Fn::Exp>(mvec<Fn::Exp>));
}

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
    std::printf("\n%-22s %10s %10s %8s  %s\n", "routine/size", "ours", "peer", "ratio", "peer");
    for (const auto& [name, rate] : rates_) {
      for (const char* peer : {"plain", "libmvec"}) {
        auto other = rates_.find(std::string(peer) + "/" + name);
        if (other == rates_.end()) continue;
        std::printf("%-22s %10.3f %10.3f %8.2f  %s\n", name.c_str(), rate, other->second, rate / other->second, peer);
      }
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
  printErrors();
}
