// FFT speed of the library side by side with two peer libraries, orders 6 to 20:
// real forward + inverse pairs, complex float and complex double transforms.
// Prints time per transform and the ratio to the first peer per size.
#include <benchmark/benchmark.h>
#include <fftw3.h>
#include <kissfft/kiss_fft.h>
#include <kissfft/kiss_fftr.h>

#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "bench_summary.h"
#include "fftw_best.h"
#include "zqvp4.h"

namespace {

constexpr int kMinOrder = 6;
constexpr int kMaxOrder = 20;

template <class T>
void fillRandom(T* p, std::size_t count) {
  std::mt19937 gen(1);
  std::uniform_real_distribution<double> d(-1, 1);
  for (std::size_t i = 0; i < count; ++i) p[i] = static_cast<T>(d(gen));
}

// ---- real forward + inverse ----

void zqvReal(benchmark::State& st) {
  const int order = static_cast<int>(st.range(0));
  const std::size_t n = std::size_t{1} << order;
  float* buf = zqvsMalloc(static_cast<int32_t>(n + 2));
  fillRandom(buf, n);
  zqvsRealFft(buf, order, ZQV_Forw | ZQV_Init);
  zqvsCcsFft(buf, order, ZQV_Inv | ZQV_Init);
  for (auto _ : st) {
    zqvsRealFft(buf, order, ZQV_Forw);
    zqvsCcsFft(buf, order, ZQV_Inv);
    benchmark::DoNotOptimize(buf);
  }
  zqvFree(buf);
}

void fftwReal(benchmark::State& st) {
  const int order = static_cast<int>(st.range(0));
  const int n = 1 << order;
  float* buf = fftwf_alloc_real(n + 2);
  fftwf_plan fwd = fftwf_plan_dft_r2c_1d(n, buf, reinterpret_cast<fftwf_complex*>(buf), FFTW_MEASURE);
  fftwf_plan inv = fftwf_plan_dft_c2r_1d(n, reinterpret_cast<fftwf_complex*>(buf), buf, FFTW_MEASURE);
  fillRandom(buf, n);
  for (auto _ : st) {
    fftwf_execute(fwd);
    fftwf_execute(inv);
    benchmark::DoNotOptimize(buf);
  }
  fftwf_destroy_plan(fwd);
  fftwf_destroy_plan(inv);
  fftwf_free(buf);
}

void kissReal(benchmark::State& st) {
  const int order = static_cast<int>(st.range(0));
  const int n = 1 << order;
  kiss_fftr_cfg fwd = kiss_fftr_alloc(n, 0, nullptr, nullptr);
  kiss_fftr_cfg inv = kiss_fftr_alloc(n, 1, nullptr, nullptr);
  std::vector<float> x(n);
  std::vector<kiss_fft_cpx> spec(n / 2 + 1);
  fillRandom(x.data(), n);
  for (auto _ : st) {
    kiss_fftr(fwd, x.data(), spec.data());
    kiss_fftri(inv, spec.data(), x.data());
    benchmark::DoNotOptimize(x.data());
  }
  kiss_fftr_free(fwd);
  kiss_fftr_free(inv);
}

// ---- real forward + inverse in double, the inverse scaled by 1/n ----

constexpr int kMinRealDOrder = 6;
constexpr int kMaxRealDOrder = 7;

void zqvRealD(benchmark::State& st) {
  const int order = static_cast<int>(st.range(0));
  const std::size_t n = std::size_t{1} << order;
  double* buf = zqvdMalloc(static_cast<int32_t>(n + 2));
  fillRandom(buf, n);
  zqvdRealFft(buf, order, ZQV_Forw | ZQV_Init);
  zqvdCcsFft(buf, order, ZQV_Inv | ZQV_Init);
  for (auto _ : st) {
    zqvdRealFft(buf, order, ZQV_Forw);
    zqvdCcsFft(buf, order, ZQV_Inv);
    benchmark::DoNotOptimize(buf);
  }
  zqvFree(buf);
}

// FFTW: r2c and c2r in place, then the 1/n scaling; the fastest of three plannings.
void fftwRealD(benchmark::State& st) {
  const int order = static_cast<int>(st.range(0));
  const int n = 1 << order;
  double* buf = fftw_alloc_real(n + 2);
  const double scale = 1.0 / n;
  struct Pair {
    fftw_plan fwd, inv;
  };
  auto run = [&](const Pair& p) {
    fftw_execute(p.fwd);
    fftw_execute(p.inv);
    for (int i = 0; i < n; ++i) buf[i] *= scale;
  };
  fillRandom(buf, n);
  const Pair best = fastestOfThree(
      [&] {
        Pair p{fftw_plan_dft_r2c_1d(n, buf, reinterpret_cast<fftw_complex*>(buf), FFTW_MEASURE),
               fftw_plan_dft_c2r_1d(n, reinterpret_cast<fftw_complex*>(buf), buf, FFTW_MEASURE)};
        fillRandom(buf, n);
        return p;
      },
      run,
      [](const Pair& p) {
        fftw_destroy_plan(p.fwd);
        fftw_destroy_plan(p.inv);
      },
      fftw_forget_wisdom);
  fillRandom(buf, n);
  for (auto _ : st) {
    run(best);
    benchmark::DoNotOptimize(buf);
  }
  fftw_destroy_plan(best.fwd);
  fftw_destroy_plan(best.inv);
  fftw_free(buf);
}

// ---- complex float ----

void zqvComplexF(benchmark::State& st) {
  const int order = static_cast<int>(st.range(0));
  const std::size_t n = std::size_t{1} << order;
  ZqvCplxS* buf = zqvcMalloc(static_cast<int32_t>(n));
  fillRandom(reinterpret_cast<float*>(buf), 2 * n);
  zqvcFft(buf, order, ZQV_Forw | ZQV_Init);
  for (auto _ : st) {
    zqvcFft(buf, order, ZQV_Forw);
    benchmark::DoNotOptimize(buf);
  }
  zqvFree(buf);
}

void fftwComplexF(benchmark::State& st) {
  const int order = static_cast<int>(st.range(0));
  const int n = 1 << order;
  fftwf_complex* buf = fftwf_alloc_complex(n);
  fftwf_plan plan = fftwf_plan_dft_1d(n, buf, buf, FFTW_FORWARD, FFTW_MEASURE);
  fillRandom(reinterpret_cast<float*>(buf), 2 * static_cast<std::size_t>(n));
  for (auto _ : st) {
    fftwf_execute(plan);
    benchmark::DoNotOptimize(buf);
  }
  fftwf_destroy_plan(plan);
  fftwf_free(buf);
}

void kissComplexF(benchmark::State& st) {
  const int order = static_cast<int>(st.range(0));
  const int n = 1 << order;
  kiss_fft_cfg cfg = kiss_fft_alloc(n, 0, nullptr, nullptr);
  std::vector<kiss_fft_cpx> in(n), out(n);
  fillRandom(reinterpret_cast<float*>(in.data()), 2 * static_cast<std::size_t>(n));
  for (auto _ : st) {
    kiss_fft(cfg, in.data(), out.data());
    benchmark::DoNotOptimize(out.data());
  }
  kiss_fft_free(cfg);
}

// ---- complex double ----

void zqvComplexD(benchmark::State& st) {
  const int order = static_cast<int>(st.range(0));
  const std::size_t n = std::size_t{1} << order;
  ZqvCplxD* buf = zqvzMalloc(static_cast<int32_t>(n));
  fillRandom(reinterpret_cast<double*>(buf), 2 * n);
  zqvzFft(buf, order, ZQV_Forw | ZQV_Init);
  for (auto _ : st) {
    zqvzFft(buf, order, ZQV_Forw);
    benchmark::DoNotOptimize(buf);
  }
  zqvFree(buf);
}

void fftwComplexD(benchmark::State& st) {
  const int order = static_cast<int>(st.range(0));
  const int n = 1 << order;
  fftw_complex* buf = fftw_alloc_complex(n);
  fftw_plan plan = fftw_plan_dft_1d(n, buf, buf, FFTW_FORWARD, FFTW_MEASURE);
  fillRandom(reinterpret_cast<double*>(buf), 2 * static_cast<std::size_t>(n));
  for (auto _ : st) {
    fftw_execute(plan);
    benchmark::DoNotOptimize(buf);
  }
  fftw_destroy_plan(plan);
  fftw_free(buf);
}

BENCHMARK(zqvReal)->DenseRange(kMinOrder, kMaxOrder);
BENCHMARK(fftwReal)->DenseRange(kMinOrder, kMaxOrder);
BENCHMARK(kissReal)->DenseRange(kMinOrder, kMaxOrder);
BENCHMARK(zqvRealD)->DenseRange(kMinRealDOrder, kMaxRealDOrder);
BENCHMARK(fftwRealD)->DenseRange(kMinRealDOrder, kMaxRealDOrder);
BENCHMARK(zqvComplexF)->DenseRange(kMinOrder, kMaxOrder);
BENCHMARK(fftwComplexF)->DenseRange(kMinOrder, kMaxOrder);
BENCHMARK(kissComplexF)->DenseRange(kMinOrder, kMaxOrder);
BENCHMARK(zqvComplexD)->DenseRange(kMinOrder, kMaxOrder);
BENCHMARK(fftwComplexD)->DenseRange(kMinOrder, kMaxOrder);

void printSummary(const SummaryReporter& rep) {
  auto get = [&](const char* name, int order) { return rep.least(name, order); };
  std::printf("\nTime per transform in microseconds (real: one forward plus one inverse)\n");
  std::printf("%5s | %9s %9s %9s %6s | %9s %9s %9s %6s | %9s %9s %6s\n", "order", "zqv real", "fftw",
              "kiss", "ratio", "zqv cplx", "fftwf", "kiss", "ratio", "zqv z", "fftw", "ratio");
  for (int o = kMinOrder; o <= kMaxOrder; ++o) {
    const double zr = get("zqvReal", o), fr = get("fftwReal", o), kr = get("kissReal", o);
    const double zc = get("zqvComplexF", o), fc = get("fftwComplexF", o), kc = get("kissComplexF", o);
    const double zd = get("zqvComplexD", o), fd = get("fftwComplexD", o);
    if (zr == 0 && zc == 0 && zd == 0) continue;
    std::printf("%5d | %9.3f %9.3f %9.3f %6.2f | %9.3f %9.3f %9.3f %6.2f | %9.3f %9.3f %6.2f\n", o,
                zr / 1e3, fr / 1e3, kr / 1e3, fr > 0 ? zr / fr : 0, zc / 1e3, fc / 1e3, kc / 1e3,
                fc > 0 ? zc / fc : 0, zd / 1e3, fd / 1e3, fd > 0 ? zd / fd : 0);
  }
  std::printf("\nReal pair in double (inverse scaled by 1/n), FFTW best of three plannings\n");
  std::printf("%5s | %9s %9s %6s\n", "order", "zqv", "fftw", "ratio");
  for (int o = kMinRealDOrder; o <= kMaxRealDOrder; ++o) {
    const double z = get("zqvRealD", o), f = get("fftwRealD", o);
    if (z == 0 && f == 0) continue;
    std::printf("%5d | %9.3f %9.3f %6.2f\n", o, z / 1e3, f / 1e3, f > 0 ? z / f : 0);
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
