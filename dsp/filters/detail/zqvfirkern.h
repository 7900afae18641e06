// Shared by the FIR modules: the type pairs of the members (samples, taps),
// their one-accumulator dot products and the argument-check helper.
#ifndef ZQV_FIR_KERN_H
#define ZQV_FIR_KERN_H

#include <immintrin.h>

#include <cstdint>
#include <initializer_list>
#include <limits>
#include <type_traits>

#include "core/detail/zqvisa.h"
#include "core/zqvframe.h"
#include "filters/detail/zqvwide.h"
#include "zqvp4.h"

namespace zqvfir {

template <class T>
constexpr bool kComplex = !std::is_arithmetic_v<T>;

template <class T>
struct RealOf { using type = T; };
template <>
struct RealOf<ZqvCplxS> { using type = float; };
template <>
struct RealOf<ZqvCplxD> { using type = double; };

struct AccC {
  double re, im;
};

// What a member computes in: the output is the type of the product (complex
// when either operand is, double when either is), the sum runs in double.
template <class X, class H>
struct Member {
  using Real = std::conditional_t<std::is_same_v<typename RealOf<X>::type, double> ||
                                      std::is_same_v<typename RealOf<H>::type, double>,
                                  double, float>;
  static constexpr bool cplx = kComplex<X> || kComplex<H>;
  using Out = std::conditional_t<cplx, std::conditional_t<std::is_same_v<Real, float>, ZqvCplxS, ZqvCplxD>, Real>;
  using Acc = std::conditional_t<cplx, AccC, double>;
};

// acc += h * x as a full complex product (no conjugation). Products of float
// parts are exact in double; the same helper serves every form of a member,
// so block and single-sample results agree bit for bit.
template <class A, class H, class X>
inline void mac(A& acc, const H& h, const X& x) noexcept {
  if constexpr (!kComplex<H> && !kComplex<X>) {
    acc += static_cast<double>(h) * static_cast<double>(x);
  } else if constexpr (kComplex<H> && kComplex<X>) {
    const double hr = h.re, hi = h.im, xr = x.re, xi = x.im;
    acc.re += hr * xr - hi * xi;
    acc.im += hr * xi + hi * xr;
  } else if constexpr (kComplex<H>) {
    const double xv = x;
    acc.re += static_cast<double>(h.re) * xv;
    acc.im += static_cast<double>(h.im) * xv;
  } else {
    const double hv = h;
    acc.re += hv * static_cast<double>(x.re);
    acc.im += hv * static_cast<double>(x.im);
  }
}

template <class Out, class A>
inline Out finish(const A& acc) noexcept {
  if constexpr (std::is_same_v<A, AccC>) {
    using P = decltype(Out::re);
    return Out{static_cast<P>(acc.re), static_cast<P>(acc.im)};
  } else {
    return static_cast<Out>(acc);
  }
}

// sum over i = 0 .. len-1 of h[i] * x[i * step], i ascending, one accumulator.
template <class X, class H>
inline typename Member<X, H>::Out dot(const H* h, int64_t len, const X* x, int64_t step) noexcept {
  typename Member<X, H>::Acc acc{};
  for (int64_t i = 0; i < len; ++i) mac(acc, h[i], x[i * step]);
  return finish<typename Member<X, H>::Out>(acc);
}

// Outputs of neighbouring windows: out[o] = dot(h, len, x + o, step) for
// o < count. Several outputs run side by side, each in its own accumulator
// and in its own order, so the vector units help without changing a bit.
// A 256-bit build besides the baseline (core/detail/zqvisa.h).

template <class X, class H>
constexpr int kLanes = Member<X, H>::cplx ? 4 : (std::is_same_v<typename Member<X, H>::Real, float> ? 32 : 8);

namespace {

// Float samples and taps: the product of two floats is exact in double, so a
// fused multiply-add rounds each step of the sum exactly as a multiply and an
// add do. 32 outputs keep eight accumulators in flight.
__attribute__((target("avx2,fma"))) inline void dotRunFloatFma(const float* h, int64_t len, const float* x, int64_t step,
                                                          float* out, int64_t count) noexcept {
  int64_t o = 0;
  for (; o + 32 <= count; o += 32) {
    __m256d acc[8];
    for (auto& a : acc) a = _mm256_setzero_pd();
    const float* base = x + o;
    for (int64_t i = 0; i < len; ++i) {
      const __m256d hv = _mm256_set1_pd(h[i]);
      const float* xi = base + i * step;
      for (int j = 0; j < 8; ++j) acc[j] = _mm256_fmadd_pd(hv, _mm256_cvtps_pd(_mm_loadu_ps(xi + 4 * j)), acc[j]);
    }
    for (int j = 0; j < 8; ++j) _mm_storeu_ps(out + o + 4 * j, _mm256_cvtpd_ps(acc[j]));
  }
  for (; o < count; ++o) out[o] = dot(h, len, x + o, step);
}

using zqvwide::hasFma;

template <class X, class H>
ZQV_KERNEL void dotRunGeneric(const H* h, int64_t len, const X* x, int64_t step,
                                  typename Member<X, H>::Out* out, int64_t count) noexcept {
  using M = Member<X, H>;
  constexpr int W = kLanes<X, H>;
  int64_t o = 0;
  for (; o + W <= count; o += W) {
    typename M::Acc acc[W] = {};
    const X* base = x + o;
    for (int64_t i = 0; i < len; ++i) {
      const H hv = h[i];
      const X* xi = base + i * step;
      for (int j = 0; j < W; ++j) mac(acc[j], hv, xi[j]);
    }
    for (int j = 0; j < W; ++j) out[o + j] = finish<typename M::Out>(acc[j]);
  }
  for (; o < count; ++o) out[o] = dot(h, len, x + o, step);
}

template <class X, class H>
void dotRun(const H* h, int64_t len, const X* x, int64_t step, typename Member<X, H>::Out* out,
            int64_t count) noexcept {
  if constexpr (std::is_same_v<X, float> && std::is_same_v<H, float>) {
    if (hasFma()) return dotRunFloatFma(h, len, x, step, out, count);
  }
  ZQV_RUN_256(dotRunGeneric<X, H>)(h, len, x, step, out, count);
}
}  // namespace

// Outputs whose windows advance by `advance` samples, written with a stride.
template <class X, class H>
void dotStrided(const H* h, int64_t len, const X* x, int64_t advance, typename Member<X, H>::Out* out,
                int64_t outStride, int64_t count) noexcept {
  for (int64_t t = 0; t < count; ++t) out[t * outStride] = dot(h, len, x + t * advance, 1);
}

// A zqvMalloc block of count elements; sizes the allocator cannot describe fail.
inline void* firAlloc(int64_t count, int64_t elemSize) noexcept {
  if (count < 0 || count > std::numeric_limits<int32_t>::max() / elemSize) return nullptr;
  return zqvMalloc(static_cast<int32_t>(count * elemSize));
}

// A refused call: whether a check failed and what the error routine answered,
// which is what the routine then returns.
struct Refusal {
  bool failed;
  int32_t result;
  explicit operator bool() const noexcept { return failed; }
};

// Reports the first failed check only. The filters never read the thread's
// status, so an earlier failure elsewhere does not stop them.
inline Refusal refuse(ZqvSite site, std::initializer_list<ZqvCheck> checks) noexcept {
  for (const ZqvCheck& c : checks)
    if (c.failed) return {true, zqvError(c.status, site.func, c.message, site.module, c.line)};
  return {false, 0};
}

}  // namespace zqvfir

#endif
