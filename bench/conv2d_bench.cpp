// Float two-dimensional linear convolution (zqvsConv2D) beside its peers in
// one run: linear convolution through FFTW's two-dimensional real transforms
// (MEASURE plans made outside the timing, both operands transformed per
// call, sides padded to FFTW's best 2-3-5-7 lengths) and, for the direct
// cell, a plain direct loop built for the host (-march=native). Run with
// --benchmark_enable_random_interleaving and repetitions; prints the ratio
// of the medians of CPU time (ours / peer's) per cell.
#include <benchmark/benchmark.h>
#include <fftw3.h>

#include <algorithm>
#include <complex>
#include <cstdio>
#include <cstring>
#include <map>
#include <random>
#include <string>
#include <vector>

#include "zqvp4.h"
#include "bench_data.h"

namespace {

struct Cell {
  int x, h;  // square sides
};
const Cell kCells[] = {{256, 15}, {512, 31}, {256, 64}, {512, 512}, {256, 3}};
constexpr int kDirectCell = 4;

void ours(benchmark::State& state) {
  const Cell c = kCells[state.range(0)];
  const auto x = data(int64_t{c.x} * c.x, 1), h = data(int64_t{c.h} * c.h, 2);
  const int n = c.x + c.h - 1;
  std::vector<float> y(static_cast<size_t>(n) * n);
  for (auto _ : state) {
    zqvsConv2D(x.data(), c.x, c.x, h.data(), c.h, c.h, y.data());
    benchmark::ClobberMemory();
  }
}

// The smallest 2^a 3^b 5^c 7^d at least n.
int best2357(int n) {
  for (int m = n;; ++m) {
    int r = m;
    for (int p : {2, 3, 5, 7})
      while (r % p == 0) r /= p;
    if (r == 1) return m;
  }
}

void fftwPeer(benchmark::State& state) {
  const Cell c = kCells[state.range(0)];
  const auto x = data(int64_t{c.x} * c.x, 1), h = data(int64_t{c.h} * c.h, 2);
  const int n = c.x + c.h - 1, p = best2357(n), pc = p / 2 + 1;
  float* a = fftwf_alloc_real(size_t(p) * p);
  float* b = fftwf_alloc_real(size_t(p) * p);
  fftwf_complex* fa = fftwf_alloc_complex(size_t(p) * pc);
  fftwf_complex* fb = fftwf_alloc_complex(size_t(p) * pc);
  fftwf_plan pa = fftwf_plan_dft_r2c_2d(p, p, a, fa, FFTW_MEASURE);
  fftwf_plan pb = fftwf_plan_dft_r2c_2d(p, p, b, fb, FFTW_MEASURE);
  fftwf_plan back = fftwf_plan_dft_c2r_2d(p, p, fa, a, FFTW_MEASURE);
  std::vector<float> y(static_cast<size_t>(n) * n);
  const float scale = 1.0f / (float(p) * float(p));
  for (auto _ : state) {
    std::memset(a, 0, sizeof(float) * size_t(p) * p);
    std::memset(b, 0, sizeof(float) * size_t(p) * p);
    for (int r = 0; r < c.x; ++r) std::memcpy(a + size_t(r) * p, x.data() + size_t(r) * c.x, sizeof(float) * c.x);
    for (int r = 0; r < c.h; ++r) std::memcpy(b + size_t(r) * p, h.data() + size_t(r) * c.h, sizeof(float) * c.h);
    fftwf_execute(pa);
    fftwf_execute(pb);
    for (size_t i = 0; i < size_t(p) * pc; ++i) {
      const float re = fa[i][0] * fb[i][0] - fa[i][1] * fb[i][1];
      const float im = fa[i][0] * fb[i][1] + fa[i][1] * fb[i][0];
      fa[i][0] = re * scale;
      fa[i][1] = im * scale;
    }
    fftwf_execute(back);
    for (int r = 0; r < n; ++r) std::memcpy(y.data() + size_t(r) * n, a + size_t(r) * p, sizeof(float) * n);
    benchmark::ClobberMemory();
  }
  fftwf_destroy_plan(pa);
  fftwf_destroy_plan(pb);
  fftwf_destroy_plan(back);
  fftwf_free(a);
  fftwf_free(b);
  fftwf_free(fa);
  fftwf_free(fb);
}

// Every kernel element times every image row, added into the output.
void plainDirect(const float* x, int xs, const float* h, int hs, float* y) {
  const int n = xs + hs - 1;
  std::fill(y, y + size_t(n) * n, 0.0f);
  for (int i = 0; i < hs; ++i)
    for (int j = 0; j < hs; ++j) {
      const float v = h[i * hs + j];
      for (int r = 0; r < xs; ++r) {
        float* yr = y + size_t(i + r) * n + j;
        const float* xr = x + size_t(r) * xs;
        for (int c = 0; c < xs; ++c) yr[c] += v * xr[c];
      }
    }
}

void directPeer(benchmark::State& state) {
  const Cell c = kCells[state.range(0)];
  const auto x = data(int64_t{c.x} * c.x, 1), h = data(int64_t{c.h} * c.h, 2);
  const int n = c.x + c.h - 1;
  std::vector<float> y(static_cast<size_t>(n) * n);
  for (auto _ : state) {
    plainDirect(x.data(), c.x, h.data(), c.h, y.data());
    benchmark::ClobberMemory();
  }
}

BENCHMARK(ours)->DenseRange(0, 4)->Unit(benchmark::kMicrosecond);
BENCHMARK(fftwPeer)->DenseRange(0, 3)->Unit(benchmark::kMicrosecond);
BENCHMARK(directPeer)->Arg(kDirectCell)->Unit(benchmark::kMicrosecond);

// Medians of CPU time per benchmark, for the ratio table.
class MedianReporter : public benchmark::ConsoleReporter {
 public:
  std::map<std::string, double> cpu;
  void ReportRuns(const std::vector<Run>& runs) override {
    for (const Run& r : runs)
      if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median")
        cpu[r.run_name.str()] = r.GetAdjustedCPUTime();
    ConsoleReporter::ReportRuns(runs);
  }
};

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  MedianReporter rep;
  benchmark::RunSpecifiedBenchmarks(&rep);
  std::printf("\ncell                         ours/peer (medians of CPU time)\n");
  for (int i = 0; i < 5; ++i) {
    const std::string arg = "/" + std::to_string(i);
    const char* peer = i == kDirectCell ? "directPeer" : "fftwPeer";
    const auto o = rep.cpu.find("ours" + arg), p = rep.cpu.find(peer + arg);
    if (o == rep.cpu.end() || p == rep.cpu.end()) continue;
    std::printf("%3d^2 x %3d^2 vs %-10s  %6.2f\n", kCells[i].x, kCells[i].h, peer, o->second / p->second);
  }
  benchmark::Shutdown();
  return 0;
}
