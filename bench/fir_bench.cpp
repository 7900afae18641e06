// The single-rate float FIR block filter against a plain direct-form loop and
// an overlap-save filter built on FFTW, on the same 64 K samples in the same
// run, for 32, 129 and 512 taps. Prints samples per nanosecond for each, then
// ours/plain and ours/FFT.
#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <random>
#include <vector>

#include "bench_rates.h"
#include "zqvp4.h"
#include "bench_data.h"

namespace {

constexpr int64_t kSamples = 1 << 16;

void setRate(benchmark::State& state) { setSampleRate(state, kSamples); }

void ours(benchmark::State& state) {
  const int32_t taps = int32_t(state.range(0));
  const auto h = data(taps, 1), x = data(kSamples, 2);
  std::vector<float> y(kSamples);
  ZqvFirState st;
  zqvsFirInit(h.data(), taps, nullptr, &st);
  for (auto _ : state) {
    zqvsbFir(&st, x.data(), y.data(), int32_t(kSamples));
    benchmark::ClobberMemory();
  }
  zqvFirFree(&st);
  setRate(state);
}

// The textbook loop: one sum per output over a history kept in front of the input.
void plain(benchmark::State& state) {
  const int64_t taps = state.range(0);
  const auto h = data(taps, 1), input = data(kSamples, 2);
  std::vector<float> x(taps - 1 + kSamples, 0.0f), y(kSamples);
  std::copy(input.begin(), input.end(), x.begin() + (taps - 1));
  for (auto _ : state) {
    const float* newest = x.data() + (taps - 1);
    for (int64_t n = 0; n < kSamples; ++n) {
      float sum = 0;
      for (int64_t k = 0; k < taps; ++k) sum += h[k] * newest[n - k];
      y[n] = sum;
    }
    benchmark::ClobberMemory();
  }
  setRate(state);
}

// Overlap-save: transforms of 4 times the taps rounded up to a power of two,
// each keeping the outputs its wrap-around does not touch.
void overlapSave(benchmark::State& state) {
  const int64_t taps = state.range(0);
  int64_t size = 1;
  while (size < 4 * taps) size *= 2;
  const int64_t step = size - taps + 1, bins = size / 2 + 1;
  const auto h = data(taps, 1), input = data(kSamples, 2);
  std::vector<float> x(taps - 1 + kSamples + size, 0.0f), y(kSamples);
  std::copy(input.begin(), input.end(), x.begin() + (taps - 1));
  float* block = fftwf_alloc_real(size);
  fftwf_complex* spec = fftwf_alloc_complex(bins);
  fftwf_complex* hSpec = fftwf_alloc_complex(bins);
  fftwf_plan forward = fftwf_plan_dft_r2c_1d(int(size), block, spec, FFTW_MEASURE);
  fftwf_plan inverse = fftwf_plan_dft_c2r_1d(int(size), spec, block, FFTW_MEASURE);
  std::fill(block, block + size, 0.0f);
  std::copy(h.begin(), h.end(), block);
  fftwf_execute(forward);
  const float scale = 1.0f / float(size);
  for (int64_t k = 0; k < bins; ++k) {
    hSpec[k][0] = spec[k][0] * scale;
    hSpec[k][1] = spec[k][1] * scale;
  }
  for (auto _ : state) {
    for (int64_t at = 0; at < kSamples; at += step) {
      std::copy(x.begin() + at, x.begin() + at + size, block);
      fftwf_execute(forward);
      for (int64_t k = 0; k < bins; ++k) {
        const float re = spec[k][0] * hSpec[k][0] - spec[k][1] * hSpec[k][1];
        const float im = spec[k][0] * hSpec[k][1] + spec[k][1] * hSpec[k][0];
        spec[k][0] = re;
        spec[k][1] = im;
      }
      fftwf_execute(inverse);
      const int64_t keep = std::min(step, kSamples - at);
      std::copy(block + (taps - 1), block + (taps - 1) + keep, y.begin() + at);
    }
    benchmark::ClobberMemory();
  }
  fftwf_destroy_plan(forward);
  fftwf_destroy_plan(inverse);
  fftwf_free(block);
  fftwf_free(spec);
  fftwf_free(hSpec);
  setRate(state);
}

#define TAPS ->Arg(32)->Arg(129)->Arg(512)
BENCHMARK(ours)->Name("zqvsbFir") TAPS;
BENCHMARK(plain)->Name("plain/zqvsbFir") TAPS;
BENCHMARK(overlapSave)->Name("fft/zqvsbFir") TAPS;

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RateRatioReporter reporter({"plain", "fft"});
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
}
