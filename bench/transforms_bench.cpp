// The DFT of lengths that are not powers of two and the DCT, side by side
// with FFTW's plans for the same transforms (FFTW_MEASURE, made before
// timing): zqvcDft against a complex float DFT plan, zqvdDct against REDFT10
// (FFTW's unnormalised DCT-II; the scaling to orthonormal is a linear pass
// it leaves out). Run with --benchmark_enable_random_interleaving=true.
#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "bench_summary.h"
#include "zqvp4.h"

namespace {

const std::vector<int> kDftLengths = {60, 100, 360, 1000};
const std::vector<int> kDctLengths = {64, 100, 256, 1000, 1024, 4096};

template <class T>
void fillRandom(T* p, std::size_t count) {
  std::mt19937 gen(1);
  std::uniform_real_distribution<double> d(-1, 1);
  for (std::size_t i = 0; i < count; ++i) p[i] = static_cast<T>(d(gen));
}

void zqvDft(benchmark::State& st) {
  const int n = static_cast<int>(st.range(0));
  std::vector<ZqvCplxS> x(n), y(n);
  fillRandom(reinterpret_cast<float*>(x.data()), 2 * x.size());
  zqvcDft(x.data(), y.data(), n, ZQV_Forw);
  for (auto _ : st) {
    zqvcDft(x.data(), y.data(), n, ZQV_Forw);
    benchmark::DoNotOptimize(y.data());
  }
  zqvcFreeTwdTbls();
}

void fftwDft(benchmark::State& st) {
  const int n = static_cast<int>(st.range(0));
  fftwf_complex* in = fftwf_alloc_complex(n);
  fftwf_complex* out = fftwf_alloc_complex(n);
  fftwf_plan plan = fftwf_plan_dft_1d(n, in, out, FFTW_FORWARD, FFTW_MEASURE);
  fillRandom(reinterpret_cast<float*>(in), 2 * static_cast<std::size_t>(n));
  for (auto _ : st) {
    fftwf_execute(plan);
    benchmark::DoNotOptimize(out);
  }
  fftwf_destroy_plan(plan);
  fftwf_free(in);
  fftwf_free(out);
}

void zqvDct(benchmark::State& st) {
  const int n = static_cast<int>(st.range(0));
  std::vector<double> x(n), y(n);
  fillRandom(x.data(), x.size());
  zqvdDct(x.data(), y.data(), n, 1);
  for (auto _ : st) {
    zqvdDct(x.data(), y.data(), n, 1);
    benchmark::DoNotOptimize(y.data());
  }
}

void fftwDct(benchmark::State& st) {
  const int n = static_cast<int>(st.range(0));
  double* in = fftw_alloc_real(n);
  double* out = fftw_alloc_real(n);
  fftw_plan plan = fftw_plan_r2r_1d(n, in, out, FFTW_REDFT10, FFTW_MEASURE);
  fillRandom(in, static_cast<std::size_t>(n));
  for (auto _ : st) {
    fftw_execute(plan);
    benchmark::DoNotOptimize(out);
  }
  fftw_destroy_plan(plan);
  fftw_free(in);
  fftw_free(out);
}

void dftArgs(benchmark::internal::Benchmark* b) {
  for (int n : kDftLengths) b->Arg(n);
}
void dctArgs(benchmark::internal::Benchmark* b) {
  for (int n : kDctLengths) b->Arg(n);
}

BENCHMARK(zqvDft)->Apply(dftArgs);
BENCHMARK(fftwDft)->Apply(dftArgs);
BENCHMARK(zqvDct)->Apply(dctArgs);
BENCHMARK(fftwDct)->Apply(dctArgs);

void printSummary(const SummaryReporter& rep) {
  auto get = [&](const char* name, int n) { return rep.least(name, n); };
  std::printf("\nTime per transform in microseconds\n%6s | %10s %10s %8s\n", "length", "zqvcDft", "fftwf dft", "ratio");
  for (int n : kDftLengths) {
    const double z = get("zqvDft", n), f = get("fftwDft", n);
    std::printf("%6d | %10.3f %10.3f %8.1f\n", n, z / 1e3, f / 1e3, f > 0 ? z / f : 0);
  }
  std::printf("%6s | %10s %10s %8s\n", "length", "zqvdDct", "REDFT10", "ratio");
  for (int n : kDctLengths) {
    const double z = get("zqvDct", n), f = get("fftwDct", n);
    std::printf("%6d | %10.3f %10.3f %8.1f\n", n, z / 1e3, f / 1e3, f > 0 ? z / f : 0);
  }
}

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  printSummary(reporter);
  benchmark::Shutdown();
  return 0;
}
