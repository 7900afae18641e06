// Float linear convolution over a grid of kernel (lenS) and operand (lenL)
// lengths: the library's own choice, each of its methods forced, and two
// overlap-save peers (FFTW and kissfft real transforms, sections of the
// same power-of-two size rule). Prints ns per output and the regret of the
// choice: its time over the fastest forced method (goal: at most 1.5).
#include <benchmark/benchmark.h>
#include <fftw3.h>
#include <kissfft/kiss_fftr.h>

#include <algorithm>
#include <cstring>
#include <cstdio>
#include <random>
#include <string>
#include <vector>

#include "analysis/detail/zqvconvmembers.h"
#include "bench_summary.h"
#include "bench_data.h"

namespace {

using namespace zqvconv;

const int kLenS[] = {8, 20, 21, 64, 101, 102, 256, 1024};
const int kLenL[] = {1024, 16384, 262144};

int64_t argIndex(int s, int l) { return s * 100 + l; }

void perOutput(benchmark::State& state, int64_t n) {
  state.counters["ns/out"] = benchmark::Counter(double(n) * double(state.iterations()),
                                                benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// mode: -1 the library's choice, 0 direct, 1 whole, 2..4 sections 1..3.
void ours(benchmark::State& state, int mode) {
  const int s = kLenS[state.range(0) / 100], l = kLenL[state.range(0) % 100];
  const auto x = data(l, 1), h = data(s, 2);
  std::vector<float> y(static_cast<size_t>(l + s - 1));
  const Choice forced = mode == 0 ? Choice{Method::Direct, 0}
                        : mode == 1 ? Choice{Method::Whole, 0}
                                    : Choice{Method::Sectioned, mode - 1};
  for (auto _ : state) {
    if (mode < 0) zqvsConv(x.data(), l, h.data(), s, y.data());
    else convolveForced<EngS>(kS, forced, x.data(), l, h.data(), s, y.data());
    benchmark::ClobberMemory();
  }
  perOutput(state, l + s - 1);
}

// Overlap-save with sections of 4 * nextpow2(lenS) (or the whole output).
struct Plan {
  int64_t p, d;
};
Plan planFor(int64_t s, int64_t n) {
  int64_t q = 1;
  while (q < s) q <<= 1;
  int64_t p = std::max<int64_t>(4 * q, 2);
  int64_t whole = 1;
  while (whole < n) whole <<= 1;
  p = std::min(p, std::max<int64_t>(whole, 2));
  return {p, p - s + 1};
}

void fftwPeer(benchmark::State& state) {
  const int s = kLenS[state.range(0) / 100], l = kLenL[state.range(0) % 100];
  const int64_t n = l + s - 1;
  const auto x = data(l, 1), h = data(s, 2);
  std::vector<float> y(static_cast<size_t>(n));
  const Plan pl = planFor(s, n);
  float* buf = fftwf_alloc_real(static_cast<size_t>(pl.p));
  fftwf_complex* spec = fftwf_alloc_complex(static_cast<size_t>(pl.p / 2 + 1));
  fftwf_complex* kspec = fftwf_alloc_complex(static_cast<size_t>(pl.p / 2 + 1));
  fftwf_plan fwd = fftwf_plan_dft_r2c_1d(int(pl.p), buf, spec, FFTW_MEASURE);
  fftwf_plan inv = fftwf_plan_dft_c2r_1d(int(pl.p), spec, buf, FFTW_MEASURE);
  std::fill(buf, buf + pl.p, 0.0f);
  std::copy(h.begin(), h.end(), buf);
  fftwf_execute(fwd);
  std::memcpy(kspec, spec, sizeof(fftwf_complex) * size_t(pl.p / 2 + 1));
  const float scale = 1.0f / float(pl.p);
  for (auto _ : state) {
    for (int64_t out = 0; out < n; out += pl.d) {
      const int64_t start = out - (s - 1);
      for (int64_t i = 0; i < pl.p; ++i) {
        const int64_t j = start + i;
        buf[i] = (j >= 0 && j < l) ? x[size_t(j)] : 0.0f;
      }
      fftwf_execute(fwd);
      for (int64_t k = 0; k <= pl.p / 2; ++k) {
        const float re = spec[k][0] * kspec[k][0] - spec[k][1] * kspec[k][1];
        const float im = spec[k][0] * kspec[k][1] + spec[k][1] * kspec[k][0];
        spec[k][0] = re;
        spec[k][1] = im;
      }
      fftwf_execute(inv);
      const int64_t count = std::min(pl.d, n - out);
      for (int64_t i = 0; i < count; ++i) y[size_t(out + i)] = buf[s - 1 + i] * scale;
    }
    benchmark::ClobberMemory();
  }
  fftwf_destroy_plan(fwd);
  fftwf_destroy_plan(inv);
  fftwf_free(buf);
  fftwf_free(spec);
  fftwf_free(kspec);
  perOutput(state, n);
}

void kissPeer(benchmark::State& state) {
  const int s = kLenS[state.range(0) / 100], l = kLenL[state.range(0) % 100];
  const int64_t n = l + s - 1;
  const auto x = data(l, 1), h = data(s, 2);
  std::vector<float> y(static_cast<size_t>(n));
  const Plan pl = planFor(s, n);
  kiss_fftr_cfg fwd = kiss_fftr_alloc(int(pl.p), 0, nullptr, nullptr);
  kiss_fftr_cfg inv = kiss_fftr_alloc(int(pl.p), 1, nullptr, nullptr);
  std::vector<float> buf(size_t(pl.p), 0.0f);
  std::vector<kiss_fft_cpx> spec(size_t(pl.p / 2 + 1)), kspec(size_t(pl.p / 2 + 1));
  std::copy(h.begin(), h.end(), buf.begin());
  kiss_fftr(fwd, buf.data(), kspec.data());
  const float scale = 1.0f / float(pl.p);
  for (auto _ : state) {
    for (int64_t out = 0; out < n; out += pl.d) {
      const int64_t start = out - (s - 1);
      for (int64_t i = 0; i < pl.p; ++i) {
        const int64_t j = start + i;
        buf[size_t(i)] = (j >= 0 && j < l) ? x[size_t(j)] : 0.0f;
      }
      kiss_fftr(fwd, buf.data(), spec.data());
      for (size_t k = 0; k < spec.size(); ++k) {
        const float re = spec[k].r * kspec[k].r - spec[k].i * kspec[k].i;
        const float im = spec[k].r * kspec[k].i + spec[k].i * kspec[k].r;
        spec[k] = {re, im};
      }
      kiss_fftri(inv, spec.data(), buf.data());
      const int64_t count = std::min(pl.d, n - out);
      for (int64_t i = 0; i < count; ++i) y[size_t(out + i)] = buf[size_t(s - 1 + i)] * scale;
    }
    benchmark::ClobberMemory();
  }
  kiss_fftr_free(fwd);
  kiss_fftr_free(inv);
  perOutput(state, n);
}

const char* const kNames[] = {"chosen", "direct", "whole", "sections1", "sections2", "sections3", "fftw", "kissfft"};

void registerAll() {
  for (int si = 0; si < int(std::size(kLenS)); ++si)
    for (int li = 0; li < int(std::size(kLenL)); ++li) {
      const int64_t a = argIndex(si, li);
      benchmark::RegisterBenchmark("chosen", ours, -1)->Arg(a);
      for (int m = 0; m < 5; ++m) benchmark::RegisterBenchmark(kNames[m + 1], ours, m)->Arg(a);
      benchmark::RegisterBenchmark("fftw", fftwPeer)->Arg(a);
      benchmark::RegisterBenchmark("kissfft", kissPeer)->Arg(a);
    }
}

}  // namespace

int main(int argc, char** argv) {
  registerAll();
  benchmark::Initialize(&argc, argv);
  SummaryReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\n%6s %7s | ns per output: %9s %9s %9s %9s %9s %9s %9s %9s | regret\n", "lenS", "lenL", "chosen",
              "direct", "whole", "sect1", "sect2", "sect3", "fftw", "kissfft");
  for (int si = 0; si < int(std::size(kLenS)); ++si)
    for (int li = 0; li < int(std::size(kLenL)); ++li) {
      const int a = int(argIndex(si, li));
      const double n = double(kLenL[li] + kLenS[si] - 1);
      double t[8], best = 0;
      for (int k = 0; k < 8; ++k) t[k] = reporter.least(kNames[k], a) / n;
      for (int k = 1; k < 6; ++k)
        if (t[k] > 0 && (best == 0 || t[k] < best)) best = t[k];
      std::printf("%6d %7d |               %9.3f %9.3f %9.3f %9.3f %9.3f %9.3f %9.3f %9.3f | %5.2f\n", kLenS[si],
                  kLenL[li], t[0], t[1], t[2], t[3], t[4], t[5], t[6], t[7], best > 0 ? t[0] / best : 0.0);
    }
  return 0;
}
