// Dot products of float, double and complex vectors, and of the mixed
// real-complex pairs. They neither read nor clear the thread's status: a
// failed check reports and returns a zero, valid arguments always compute.
#include <cstdint>
#include <type_traits>

#include "core/zqvframe.h"

namespace {

constexpr const char* kModule = "zqvdotp";

template <class T>
constexpr bool isComplex = !std::is_floating_point_v<T>;

// Products accumulate in long double from the first element to the last;
// the sum is rounded once to the result type.
template <class A, class B>
inline void accumulate(long double& re, long double& im, A a, B b) noexcept {
  if constexpr (isComplex<A> && isComplex<B>) {
    const long double ar = a.re, ai = a.im, br = b.re, bi = b.im;
    re += ar * br - ai * bi;
    im += ar * bi + ai * br;
  } else if constexpr (isComplex<A>) {
    re += static_cast<long double>(a.re) * b;
    im += static_cast<long double>(a.im) * b;
  } else if constexpr (isComplex<B>) {
    re += static_cast<long double>(a) * b.re;
    im += static_cast<long double>(a) * b.im;
  } else {
    re += static_cast<long double>(a) * b;
  }
}

template <class R, class A, class B>
R dotProd(const char* func, const A* srcA, const B* srcB, int32_t n) noexcept {
  if (zqvCheckFirst({func, kModule}, {ZQV_CHECK(!srcA, "Null buffer pointer"), ZQV_CHECK(!srcB, "Null buffer pointer"),
                                      ZQV_CHECK(n < 0, "Invalid value")}))
    return R{};
  long double re = 0, im = 0;
  for (int64_t i = 0; i < n; ++i) accumulate(re, im, srcA[i], srcB[i]);
  if constexpr (isComplex<R>) {
    using P = decltype(R::re);
    return R{static_cast<P>(re), static_cast<P>(im)};
  } else {
    return static_cast<R>(re);
  }
}

}  // namespace

ZQVAPI float zqvsDotProd(const float* srcA, const float* srcB, int32_t n) noexcept { return dotProd<float>("zqvsDotProd", srcA, srcB, n); }
ZQVAPI double zqvdDotProd(const double* srcA, const double* srcB, int32_t n) noexcept { return dotProd<double>("zqvdDotProd", srcA, srcB, n); }
ZQVAPI ZqvCplxS zqvcDotProd(const ZqvCplxS* srcA, const ZqvCplxS* srcB, int32_t n) noexcept { return dotProd<ZqvCplxS>("zqvcDotProd", srcA, srcB, n); }
ZQVAPI ZqvCplxS zqvscDotProd(const float* srcA, const ZqvCplxS* srcB, int32_t n) noexcept { return dotProd<ZqvCplxS>("zqvscDotProd", srcA, srcB, n); }
ZQVAPI ZqvCplxS zqvcsDotProd(const ZqvCplxS* srcA, const float* srcB, int32_t n) noexcept { return dotProd<ZqvCplxS>("zqvcsDotProd", srcA, srcB, n); }
ZQVAPI ZqvCplxD zqvzDotProd(const ZqvCplxD* srcA, const ZqvCplxD* srcB, int32_t n) noexcept { return dotProd<ZqvCplxD>("zqvzDotProd", srcA, srcB, n); }
ZQVAPI ZqvCplxD zqvdzDotProd(const double* srcA, const ZqvCplxD* srcB, int32_t n) noexcept { return dotProd<ZqvCplxD>("zqvdzDotProd", srcA, srcB, n); }
ZQVAPI ZqvCplxD zqvzdDotProd(const ZqvCplxD* srcA, const double* srcB, int32_t n) noexcept { return dotProd<ZqvCplxD>("zqvzdDotProd", srcA, srcB, n); }
