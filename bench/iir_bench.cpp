// zqvsbIir over a 4-section biquad cascade against two plain loops of the
// same cascade in float (the textbook transposed direct form, and the
// library's own recurrence), 64 K samples per call, in the same run. Prints
// samples per nanosecond for each, then ours/reference as a rate ratio and
// as a time ratio.
#include <benchmark/benchmark.h>

#include <random>
#include <vector>

#include "bench_rates.h"
#include "zqvp4.h"

namespace {

constexpr int kSections = 4;
constexpr int64_t kSamples = 65536;

// Four stable low-pass sections: b0, b1, b2, a0, a1, a2 each.
const float kTaps[6 * kSections] = {
    0.02f, 0.04f, 0.02f, 1, -1.56f, 0.64f,  0.03f, 0.06f, 0.03f, 1, -1.47f, 0.59f,
    0.05f, 0.10f, 0.05f, 1, -1.33f, 0.53f,  0.08f, 0.16f, 0.08f, 1, -1.14f, 0.46f};

std::vector<float> input() {
  std::mt19937 gen(42);
  std::uniform_real_distribution<float> dist(-1.0f, 1.0f);
  std::vector<float> v(kSamples);
  for (auto& x : v) x = dist(gen);
  return v;
}

void setRate(benchmark::State& state) { setSampleRate(state, kSamples); }

void Ours(benchmark::State& state) {
  ZqvIirState st{};
  zqvsIirInitBq(0, kTaps, kSections, &st);
  const auto in = input();
  std::vector<float> out(kSamples);
  for (auto _ : state) {
    zqvsbIir(&st, in.data(), out.data(), int32_t(kSamples));
    benchmark::DoNotOptimize(out.data());
  }
  zqvIirFree(&st);
  setRate(state);
}

// The textbook direct form II transposed per section, in float.
void Plain(benchmark::State& state) {
  float c[kSections][5], d[kSections][2] = {};
  for (int s = 0; s < kSections; ++s) {
    const float* t = kTaps + 6 * s;
    c[s][0] = t[0] / t[3], c[s][1] = t[1] / t[3], c[s][2] = t[2] / t[3];
    c[s][3] = t[4] / t[3], c[s][4] = t[5] / t[3];
  }
  const auto in = input();
  std::vector<float> out(kSamples);
  for (auto _ : state) {
    for (int64_t i = 0; i < kSamples; ++i) {
      float x = in[i];
      for (int s = 0; s < kSections; ++s) {
        const float y = c[s][0] * x + d[s][0];
        d[s][0] = c[s][1] * x - c[s][3] * y + d[s][1];
        d[s][1] = c[s][2] * x - c[s][4] * y;
        x = y;
      }
      out[i] = x;
    }
    benchmark::DoNotOptimize(out.data());
  }
  setRate(state);
}

// The library's own cascade recurrence (gain first, then per section the
// feedback and the feed-forward sums over the two delayed values), all in
// float.
void PlainCascade(benchmark::State& state) {
  float g = 1, c[kSections][4], d[kSections][2] = {};
  for (int s = 0; s < kSections; ++s) {
    const float* t = kTaps + 6 * s;
    c[s][0] = t[4] / t[3], c[s][1] = t[5] / t[3], c[s][2] = t[1] / t[0], c[s][3] = t[2] / t[0];
    g = t[0] * g / t[3];
  }
  const auto in = input();
  std::vector<float> out(kSamples);
  for (auto _ : state) {
    for (int64_t i = 0; i < kSamples; ++i) {
      float u = g * in[i];
      for (int s = 0; s < kSections; ++s) {
        const float w1 = d[s][0], w2 = d[s][1];
        const float w = u - (c[s][0] * w1 + c[s][1] * w2);
        u = w + (c[s][2] * w1 + c[s][3] * w2);
        d[s][1] = w1;
        d[s][0] = w;
      }
      out[i] = u;
    }
    benchmark::DoNotOptimize(out.data());
  }
  setRate(state);
}

BENCHMARK(Ours)->Name("zqvsbIir/biquad4");
BENCHMARK(Plain)->Name("plain/zqvsbIir/biquad4");
BENCHMARK(PlainCascade)->Name("cascade/zqvsbIir/biquad4");

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RateRatioReporter reporter({"plain", "cascade"});
  benchmark::RunSpecifiedBenchmarks(&reporter);
  benchmark::Shutdown();
}
