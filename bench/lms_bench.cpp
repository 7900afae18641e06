// zqvsbLmsDes (float samples and taps, error taken from the desired signal)
// over 64 K samples with 32 and 128 taps, against two plain loops of the
// same steps in the same order (adapt with the previous error, shift the
// line, store the sample, sum in double from tap 0 up; the second adapts and
// sums in one loop), in the same run. All give the same bits; main() checks
// that before timing. Prints samples per nanosecond for each, then the
// ratios.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <random>
#include <vector>

#include "bench_rates.h"
#include "zqvp4.h"

namespace {

constexpr int64_t kSamples = 65536;
constexpr float kStep = 0.002f, kLeak = 0.0001f;

struct Signals {
  std::vector<float> in, des;
};

// Input: white noise; desired: the input through a short fixed filter plus
// a little noise, so that the filter has something to learn.
const Signals& signals() {
  static const Signals s = [] {
    Signals r;
    std::mt19937 gen(7);
    std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
    r.in.resize(kSamples);
    r.des.resize(kSamples);
    for (auto& v : r.in) v = dist(gen);
    for (int64_t i = 0; i < kSamples; ++i) {
      const float p1 = i > 0 ? r.in[i - 1] : 0.0f, p2 = i > 1 ? r.in[i - 2] : 0.0f;
      r.des[i] = 0.5f * r.in[i] - 0.3f * p1 + 0.2f * p2 + 0.01f * dist(gen);
    }
    return r;
  }();
  return s;
}

void setRate(benchmark::State& state) { setSampleRate(state, kSamples); }

// Each runner filters the whole signal into out; h and x are the plain
// loops' taps and line.
void runOurs(int taps, std::vector<float>& out, std::vector<float>&, std::vector<float>&) {
  ZqvLmsState st{};
  zqvsLmsInit(0, nullptr, taps, nullptr, kStep, kLeak, 0, &st);
  const auto& s = signals();
  zqvsbLmsDes(&st, s.in.data(), s.des.data(), out.data(), int32_t(kSamples));
  zqvLmsFree(&st);
}

// The steps as the filter defines them, written plainly. Plain: adapt, shift,
// store, sum, each a loop of its own. Fused: the adaptation and the sum in
// one loop over the taps, tap i adapting with the line before the push and
// meeting the value the push will put at i (the sample for tap 0); the line
// moves after the sum.
template <bool Fused>
void runLoop(int taps, std::vector<float>& out, std::vector<float>& h, std::vector<float>& x) {
  const auto& s = signals();
  const int64_t n = taps;
  std::fill(h.begin(), h.end(), 0.0f);
  std::fill(x.begin(), x.end(), 0.0f);
  const double f = 1.0 - double(kLeak);
  float e = 0;
  for (int64_t k = 0; k < kSamples; ++k) {
    const double g = double(kStep) * double(e);
    double acc = 0;
    if constexpr (Fused) {
      for (int64_t i = 0; i < n; ++i) {
        h[i] = float(double(h[i]) * f + g * double(x[i]));
        acc = acc + double(h[i]) * double(i == 0 ? s.in[k] : x[i - 1]);
      }
    } else {
      for (int64_t i = 0; i < n; ++i) h[i] = float(double(h[i]) * f + g * double(x[i]));
    }
    for (int64_t i = n - 1; i > 0; --i) x[i] = x[i - 1];
    x[0] = s.in[k];
    if constexpr (!Fused)
      for (int64_t i = 0; i < n; ++i) acc = acc + double(h[i]) * double(x[i]);
    out[k] = float(acc);
    e = float(double(s.des[k]) - double(out[k]));
  }
}

using Runner = void (*)(int, std::vector<float>&, std::vector<float>&, std::vector<float>&);

void timeRunner(benchmark::State& state, Runner run) {
  std::vector<float> out(kSamples), h(state.range(0)), x(state.range(0));
  for (auto _ : state) {
    run(int(state.range(0)), out, h, x);
    benchmark::DoNotOptimize(out.data());
  }
  setRate(state);
}

BENCHMARK_CAPTURE(timeRunner, ours, runOurs)->Name("zqvsbLmsDes")->Arg(32)->Arg(128);
BENCHMARK_CAPTURE(timeRunner, plain, runLoop<false>)->Name("plain/zqvsbLmsDes")->Arg(32)->Arg(128);
BENCHMARK_CAPTURE(timeRunner, fused, runLoop<true>)->Name("fused/zqvsbLmsDes")->Arg(32)->Arg(128);

}  // namespace

int main(int argc, char** argv) {
  for (int taps : {32, 128}) {
    std::vector<float> a(kSamples), b(kSamples), c(kSamples), h(taps), x(taps);
    runOurs(taps, a, h, x);
    runLoop<false>(taps, b, h, x);
    runLoop<true>(taps, c, h, x);
    const size_t bytes = a.size() * sizeof(float);
    if (std::memcmp(a.data(), b.data(), bytes) != 0 || std::memcmp(a.data(), c.data(), bytes) != 0) {
      std::fprintf(stderr, "zqvsbLmsDes and the plain loops differ at %d taps\n", taps);
      return EXIT_FAILURE;
    }
  }
  benchmark::Initialize(&argc, argv);
  RateRatioReporter reporter({"plain", "fused"});
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
}
