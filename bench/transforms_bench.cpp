// The DFT of lengths that are not powers of two and the DCT, side by side
// with FFTW's plans for the same transforms (FFTW_MEASURE, made before
// timing): zqvcDft against a complex float DFT plan, zqvdDct against REDFT10
// (FFTW's unnormalised DCT-II; the scaling to orthonormal is a linear pass
// it leaves out). Run with --benchmark_enable_random_interleaving=true.
// Besides: the direct DFT beside the same fold and sums as a plain scalar
// loop (same bits), and zqvsDct beside float REDFT10 with the orthonormal
// scaling pass.
#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "bench_summary.h"
#include "fftw_best.h"
#include "zqvp4.h"

namespace {

const std::vector<int> kDftLengths = {60, 100, 360, 1000};
const std::vector<int> kDctLengths = {64, 100, 256, 1000, 1024, 4096};
const std::vector<int> kDirectLengths = {1009, 4099};
const std::vector<int> kFloatDctLengths = {256, 1024, 4096};

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

// The library's DCT of either precision (forward).
template <class T>
void zqvDctOf(benchmark::State& st) {
  const int n = static_cast<int>(st.range(0));
  std::vector<T> x(n), y(n);
  fillRandom(x.data(), x.size());
  auto run = [&] {
    if constexpr (sizeof(T) == 4) zqvsDct(x.data(), y.data(), n, 1);
    else zqvdDct(x.data(), y.data(), n, 1);
  };
  run();
  for (auto _ : st) {
    run();
    benchmark::DoNotOptimize(y.data());
  }
}
void zqvDct(benchmark::State& st) { zqvDctOf<double>(st); }
void zqvDctF(benchmark::State& st) { zqvDctOf<float>(st); }

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

// The fold and the sums of the direct DFT as a plain scalar loop, one
// output after the other, sums in double (the library's results exactly).
void plainDft(const ZqvCplxS* x, ZqvCplxS* y, ZqvCplxS* c, int n, const ZqvCplxS* tw) {
  std::copy(x, x + n, c);
  double sr = 0, si = 0;
  for (int k = 0; k < n; ++k) {
    sr += c[k].re;
    si += c[k].im;
  }
  y[0] = {static_cast<float>(sr), static_cast<float>(si)};
  const bool even = n % 2 == 0;
  const int half = even ? n / 2 - 1 : (n - 1) / 2;
  for (int k = 1; k <= half; ++k) {
    const ZqvCplxS a = c[k], b = c[n - k];
    c[k] = {(a.re + b.re) * 0.5f, (a.im + b.im) * 0.5f};
    c[n - k] = {(a.re - b.re) * 0.5f, (a.im - b.im) * 0.5f};
  }
  for (int m = 1; m < n; ++m) {
    const int terms = even && m % 2 ? n / 2 : half;
    double re = 0, im = 0;
    int j = 0;
    for (int k = 1; k <= terms; ++k) {
      j += m;
      if (j >= n) j -= n;
      const double tr = tw[j].re, ti = tw[j].im;
      re += c[k].re * tr - c[n - k].im * ti;
      im += c[k].im * tr + c[n - k].re * ti;
    }
    double outRe = 2 * re + c[0].re, outIm = 2 * im + c[0].im;
    if (even) {
      outRe += c[n / 2].re;
      outIm += c[n / 2].im;
    }
    y[m] = {static_cast<float>(outRe), static_cast<float>(outIm)};
  }
}

void plainDirect(benchmark::State& st) {
  const int n = static_cast<int>(st.range(0));
  std::vector<ZqvCplxS> x(n), y(n), c(n), ours(n);
  fillRandom(reinterpret_cast<float*>(x.data()), 2 * x.size());
  const ZqvCplxS* tw = zqvcGetDftTwdTbl(n);
  // The same bits as the library, or the comparison means nothing.
  zqvcDft(x.data(), ours.data(), n, ZQV_Forw);
  plainDft(x.data(), y.data(), c.data(), n, tw);
  if (std::memcmp(y.data(), ours.data(), n * sizeof(ZqvCplxS)) != 0) st.SkipWithError("results differ");
  for (auto _ : st) {
    plainDft(x.data(), y.data(), c.data(), n, tw);
    benchmark::DoNotOptimize(y.data());
  }
  zqvcFreeTwdTbls();
}

// REDFT10 gives twice the plain sums: the orthonormal factors halved. The
// fastest of three plannings.
void fftwDctF(benchmark::State& st) {
  const int n = static_cast<int>(st.range(0));
  float* in = fftwf_alloc_real(n);
  float* out = fftwf_alloc_real(n);
  fillRandom(in, static_cast<std::size_t>(n));
  const float s0 = static_cast<float>(0.5 / std::sqrt(n)), s1 = static_cast<float>(std::sqrt(0.5 / n));
  auto run = [&](fftwf_plan plan) {
    fftwf_execute(plan);
    out[0] *= s0;
    for (int k = 1; k < n; ++k) out[k] *= s1;
  };
  fftwf_plan plan = fastestOfThree([&] { return fftwf_plan_r2r_1d(n, in, out, FFTW_REDFT10, FFTW_MEASURE); }, run,
                                   fftwf_destroy_plan, fftwf_forget_wisdom);
  fillRandom(in, static_cast<std::size_t>(n));
  for (auto _ : st) {
    run(plan);
    benchmark::DoNotOptimize(out);
  }
  fftwf_destroy_plan(plan);
  fftwf_free(in);
  fftwf_free(out);
}

void directArgs(benchmark::internal::Benchmark* b) {
  for (int n : kDirectLengths) b->Arg(n);
}
void floatDctArgs(benchmark::internal::Benchmark* b) {
  for (int n : kFloatDctLengths) b->Arg(n);
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
BENCHMARK(zqvDft)->Apply(directArgs);
BENCHMARK(plainDirect)->Apply(directArgs);
BENCHMARK(zqvDctF)->Apply(floatDctArgs);
BENCHMARK(fftwDctF)->Apply(floatDctArgs);

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
  std::printf("%6s | %10s %10s %8s\n", "length", "zqvcDft", "plain loop", "ratio");
  for (int n : kDirectLengths) {
    const double z = get("zqvDft", n), f = get("plainDirect", n);
    std::printf("%6d | %10.3f %10.3f %8.2f\n", n, z / 1e3, f / 1e3, f > 0 ? z / f : 0);
  }
  std::printf("%6s | %10s %10s %8s\n", "length", "zqvsDct", "REDFT10 f", "ratio");
  for (int n : kFloatDctLengths) {
    const double z = get("zqvDctF", n), f = get("fftwDctF", n);
    std::printf("%6d | %10.3f %10.3f %8.2f\n", n, z / 1e3, f / 1e3, f > 0 ? z / f : 0);
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
