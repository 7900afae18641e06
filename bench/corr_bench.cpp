// Correlation against its peers, in one run: the real auto-correlation beside
// the complex one of the same length (n = 2^20, 2048 lags), and the real
// cross-correlation of two 16 K vectors over all 32767 lags beside a
// whole-transform correlation on FFTW (r2c/c2r float, MEASURE plans made
// before timing, both operands transformed in every call). Ratios are of
// thread CPU time, medians over the repetitions. Run with
// --benchmark_enable_random_interleaving=true --benchmark_repetitions=9.
#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <algorithm>
#include <cstdio>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "zqvp4.h"
#include "bench_data.h"

namespace {

constexpr int kAutoLen = 1 << 20, kAutoLags = 2048;
constexpr int kCrossLen = 16384, kCrossLags = 2 * kCrossLen - 1;

void realAuto(benchmark::State& state) {
  const auto x = data(kAutoLen, 1);
  std::vector<float> r(kAutoLags);
  for (auto _ : state) {
    zqvsAutoCorr(x.data(), kAutoLen, r.data(), kAutoLags, 0);
    benchmark::ClobberMemory();
  }
}

void cplxAuto(benchmark::State& state) {
  const auto x = data(2 * int64_t{kAutoLen}, 1);
  std::vector<ZqvCplxS> r(kAutoLags);
  for (auto _ : state) {
    zqvcAutoCorr(reinterpret_cast<const ZqvCplxS*>(x.data()), kAutoLen, r.data(), kAutoLags, 0);
    benchmark::ClobberMemory();
  }
}

void realCross(benchmark::State& state) {
  const auto a = data(kCrossLen, 2), b = data(kCrossLen, 3);
  std::vector<float> r(kCrossLags);
  for (auto _ : state) {
    zqvsCrossCorr(a.data(), kCrossLen, b.data(), kCrossLen, r.data(), 1 - kCrossLen, kCrossLen - 1);
    benchmark::ClobberMemory();
  }
}

// r[lag] = sum a[m] b[m + lag] through one zero-padded transform of 32768:
// conj(A) B, back, and the negative lags from the wrapped end.
void fftwCross(benchmark::State& state) {
  const auto a = data(kCrossLen, 2), b = data(kCrossLen, 3);
  std::vector<float> r(kCrossLags);
  const int n = 2 * kCrossLen;
  float* bufA = fftwf_alloc_real(n);
  float* bufB = fftwf_alloc_real(n);
  fftwf_complex* specA = fftwf_alloc_complex(n / 2 + 1);
  fftwf_complex* specB = fftwf_alloc_complex(n / 2 + 1);
  fftwf_plan fa = fftwf_plan_dft_r2c_1d(n, bufA, specA, FFTW_MEASURE);
  fftwf_plan fb = fftwf_plan_dft_r2c_1d(n, bufB, specB, FFTW_MEASURE);
  fftwf_plan back = fftwf_plan_dft_c2r_1d(n, specB, bufB, FFTW_MEASURE);
  const float scale = 1.0f / static_cast<float>(n);
  for (auto _ : state) {
    std::copy(a.begin(), a.end(), bufA);
    std::fill(bufA + kCrossLen, bufA + n, 0.0f);
    std::copy(b.begin(), b.end(), bufB);
    std::fill(bufB + kCrossLen, bufB + n, 0.0f);
    fftwf_execute(fa);
    fftwf_execute(fb);
    for (int k = 0; k <= n / 2; ++k) {
      const float ar = specA[k][0], ai = specA[k][1], br = specB[k][0], bi = specB[k][1];
      specB[k][0] = ar * br + ai * bi;
      specB[k][1] = ar * bi - ai * br;
    }
    fftwf_execute(back);
    for (int lag = 1 - kCrossLen; lag < kCrossLen; ++lag)
      r[static_cast<size_t>(lag + kCrossLen - 1)] = bufB[(lag + n) % n] * scale;
    benchmark::ClobberMemory();
  }
  fftwf_destroy_plan(fa);
  fftwf_destroy_plan(fb);
  fftwf_destroy_plan(back);
  fftwf_free(bufA);
  fftwf_free(bufB);
  fftwf_free(specA);
  fftwf_free(specB);
}

BENCHMARK(realAuto)->Name("zqvsAutoCorr");
BENCHMARK(cplxAuto)->Name("zqvcAutoCorr");
BENCHMARK(realCross)->Name("zqvsCrossCorr");
BENCHMARK(fftwCross)->Name("fftw/CrossCorr");

// Thread CPU time per iteration, median over the repetitions, and the two
// ratios at the end.
class RatioReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const auto& r : runs)
      if (r.run_type == Run::RT_Iteration) cpu_[r.run_name.str()].push_back(r.GetAdjustedCPUTime());
    ConsoleReporter::ReportRuns(runs);
  }
  void Finalize() override {
    ConsoleReporter::Finalize();
    auto median = [&](const char* name) {
      std::vector<double> v = cpu_[name];
      if (v.empty()) return 0.0;
      std::nth_element(v.begin(), v.begin() + v.size() / 2, v.end());
      return v[v.size() / 2];
    };
    const double sa = median("zqvsAutoCorr"), ca = median("zqvcAutoCorr");
    const double sc = median("zqvsCrossCorr"), fc = median("fftw/CrossCorr");
    std::printf("\n%-34s %12s %12s %7s\n", "cell (median thread CPU)", "ours", "reference", "ratio");
    std::printf("%-34s %12.0f %12.0f %7.2f\n", "zqvsAutoCorr / zqvcAutoCorr", sa, ca, ca > 0 ? sa / ca : 0.0);
    std::printf("%-34s %12.0f %12.0f %7.2f\n", "zqvsCrossCorr / fftw", sc, fc, fc > 0 ? sc / fc : 0.0);
  }

 private:
  std::map<std::string, std::vector<double>> cpu_;
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RatioReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
}
