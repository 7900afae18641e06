// Generic bodies of the one-dimensional linear convolution: the direct
// three-product sum, the whole-output transform and the sectioned
// (overlap-save) transform, over real and complex single and double data.
#ifndef ZQV_CONVGEN_H
#define ZQV_CONVGEN_H

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <type_traits>

#include "analysis/detail/zqvconvsel.h"
#include "core/zqvframe.h"

namespace zqvconv {

// ---- Element arithmetic over real and complex values (complex by value,
// no special cases for infinities: the plain formula).
template <class T>
struct IsCplx : std::false_type {};
template <>
struct IsCplx<ZqvCplxS> : std::true_type {};
template <>
struct IsCplx<ZqvCplxD> : std::true_type {};

template <class C, class = std::enable_if_t<IsCplx<C>::value>>
inline C operator+(C a, C b) noexcept { return {a.re + b.re, a.im + b.im}; }
template <class C, class = std::enable_if_t<IsCplx<C>::value>>
inline C operator-(C a, C b) noexcept { return {a.re - b.re, a.im - b.im}; }
template <class C, class = std::enable_if_t<IsCplx<C>::value>>
inline C operator*(C a, C b) noexcept { return {a.re * b.re - a.im * b.im, a.re * b.im + a.im * b.re}; }
template <class C, class = std::enable_if_t<IsCplx<C>::value>>
inline C operator*(C a, decltype(C{}.re) b) noexcept { return {a.re * b, a.im * b}; }
template <class C, class = std::enable_if_t<IsCplx<C>::value>>
inline C operator*(decltype(C{}.re) a, C b) noexcept { return {a * b.re, a * b.im}; }
template <class C, class = std::enable_if_t<IsCplx<C>::value>>
inline C& operator+=(C& a, C b) noexcept { return a = a + b; }

template <class W, class T>
inline W widen(T v) noexcept {
  if constexpr (IsCplx<W>::value && !IsCplx<T>::value) return W{v, 0};
  else return v;
}

// ---- Direct method: three products for each 2-by-2 block of products,
// run in blocks of outputs (zqvconvdirect.cpp; built for every member's
// operand types).
template <class Y, class A, class B>
void directBlocked(const A* L, int64_t lenL, const B* S, int64_t lenS, Y* y) noexcept;

template <class Y, class A, class B>
void direct(const A* L, int64_t lenL, const B* S, int64_t lenS, Y* y) noexcept {
  directBlocked(L, lenL, S, lenS, y);
}

// ---- Transform engines: a work vector of P elements, its forward
// transform, the product of two spectra and the inverse (scaled by 1/P).
// Real data use packed real spectra; complex and mixed data run complex
// transforms with bit-reversed spectra, so no reordering pass runs.
template <class R>
struct RealEngine {
  using W = R;
  static void init(int32_t order) noexcept {
    if constexpr (std::is_same_v<R, float>) zqvsRealFftl(nullptr, order, ZQV_Init);
    else zqvdRealFftl(nullptr, order, ZQV_Init);
  }
  static void forward(W* w, int32_t order) noexcept {
    if constexpr (std::is_same_v<R, float>) zqvsRealFftl(w, order, ZQV_Forw | ZQV_OutRCPack);
    else zqvdRealFftl(w, order, ZQV_Forw | ZQV_OutRCPack);
  }
  static void multiply(const W* src, W* dst, int32_t order) noexcept {
    if constexpr (std::is_same_v<R, float>) zqvsMpyRCPack2(src, dst, order);
    else zqvdMpyRCPack2(src, dst, order);
  }
  static void inverse(W* w, int32_t order) noexcept {
    if constexpr (std::is_same_v<R, float>) zqvsCcsFftl(w, order, ZQV_Inv | ZQV_InRCPack);
    else zqvdCcsFftl(w, order, ZQV_Inv | ZQV_InRCPack);
  }
};

template <class C>
struct CplxEngine {
  using W = C;
  static constexpr bool kSingle = std::is_same_v<C, ZqvCplxS>;
  static void fft(W* w, int32_t order, int32_t flags) noexcept {
    if constexpr (kSingle) zqvcFft(w, order, flags);
    else zqvzFft(w, order, flags);
  }
  static void init(int32_t order) noexcept { fft(nullptr, order, ZQV_Init); }
  static void forward(W* w, int32_t order) noexcept { fft(w, order, ZQV_Forw | ZQV_OutBitRev); }
  static void multiply(const W* src, W* dst, int32_t order) noexcept {
    const int64_t p = int64_t{1} << order;
    for (int64_t i = 0; i < p; ++i) dst[i] = dst[i] * src[i];
  }
  static void inverse(W* w, int32_t order) noexcept { fft(w, order, ZQV_Inv | ZQV_InBitRev); }
};

// Work vectors of the transform methods, zero-filled, from the general heap.
template <class W>
struct WorkPair {
  W* a = nullptr;
  W* b = nullptr;
  bool take(int64_t count) noexcept {
    a = static_cast<W*>(workAlloc(static_cast<std::size_t>(count), sizeof(W)));
    b = a ? static_cast<W*>(workAlloc(static_cast<std::size_t>(count), sizeof(W))) : nullptr;
    return a && b;
  }
  ~WorkPair() {
    std::free(a);
    std::free(b);
  }
};

inline int32_t orderOf(int64_t p) noexcept {
  int32_t k = 0;
  while ((int64_t{1} << k) < p) ++k;
  return k;
}

// A failed transform step leaves the status negative: report where, stop.
inline bool stepFailed(ZqvSite inner, int32_t line) noexcept {
  if (!zqvStatusNegative()) return false;
  zqvError(ZQV_BACKTRACE, inner.func, nullptr, inner.module, line);
  return true;
}

// ---- Whole-output transform: one transform of length >= N.
template <class E, class Y, class A, class B>
void whole(ZqvSite inner, const A* L, int64_t lenL, const B* S, int64_t lenS, Y* y) noexcept {
  using W = typename E::W;
  const int64_t n = lenL + lenS - 1;
  if (n == 1) {
    y[0] = widen<Y>(L[0] * S[0]);
    return;
  }
  const int32_t order = orderOf(n);
  const int64_t m = int64_t{1} << order;
  E::init(order);
  if (stepFailed(inner, __LINE__)) return;
  WorkPair<W> work;
  if (!work.take(m)) {
    zqvError(ZQV_OUT_OF_MEMORY, inner.func, "NULL Pointer", inner.module, __LINE__);
    return;
  }
  for (int64_t i = 0; i < lenL; ++i) work.a[i] = widen<W>(L[i]);
  for (int64_t i = 0; i < lenS; ++i) work.b[i] = widen<W>(S[i]);
  E::forward(work.a, order);
  if (stepFailed(inner, __LINE__)) return;
  E::forward(work.b, order);
  if (stepFailed(inner, __LINE__)) return;
  E::multiply(work.b, work.a, order);
  E::inverse(work.a, order);
  if (stepFailed(inner, __LINE__)) return;
  for (int64_t i = 0; i < n; ++i) y[i] = work.a[i];
}

// ---- Sectioned (overlap-save): the kernel transformed once, sections of
// the longer operand of length P advancing by D = P - lenS + 1.
template <class E, class Y, class A, class B>
void sectioned(ZqvSite inner, const A* L, int64_t lenL, const B* S, int64_t lenS, Y* y,
               int32_t candidate) noexcept {
  using W = typename E::W;
  const int64_t n = lenL + lenS - 1;
  const int64_t p = sectionLength(lenS, n, candidate);
  const int32_t order = orderOf(p);
  E::init(order);
  if (stepFailed(inner, __LINE__)) return;
  WorkPair<W> work;
  if (!work.take(p)) {
    zqvError(ZQV_OUT_OF_MEMORY, inner.func, "NULL Pointer", inner.module, __LINE__);
    return;
  }
  W* const kern = work.b;
  W* const sec = work.a;
  for (int64_t i = 0; i < lenS; ++i) kern[i] = widen<W>(S[i]);
  E::forward(kern, order);
  if (stepFailed(inner, __LINE__)) return;
  const int64_t d = p - lenS + 1;
  for (int64_t b = 0; b * d < n; ++b) {
    const int64_t start = b == 0 ? 0 : b * d - (lenS - 1);
    const int64_t room = b == 0 ? d : p;
    const int64_t take = std::min(room, lenL - start);
    int64_t i = 0;
    for (; i < take; ++i) sec[i] = widen<W>(L[start + i]);
    for (; i < p; ++i) sec[i] = W{};
    E::forward(sec, order);
    if (stepFailed(inner, __LINE__)) return;
    E::multiply(kern, sec, order);
    E::inverse(sec, order);
    if (stepFailed(inner, __LINE__)) return;
    if (b == 0) {
      const int64_t count = n <= p ? n : d;
      for (int64_t k = 0; k < count; ++k) y[k] = sec[k];
      if (n <= p) break;
    } else {
      const int64_t count = std::min(d, n - b * d);
      for (int64_t k = 0; k < count; ++k) y[b * d + k] = sec[lenS - 1 + k];
    }
  }
}

// ---- One member: its module, its names and its kind.
struct Member {
  ZqvSite site;
  const char* directName;  // null: the direct routine reports nothing
  const char* wholeName;
  const char* sectionedName;
  Kind kind;
};

template <class E, class Y, class A, class B>
void runMethod(const Member& m, Choice c, const A* L, int64_t lenL, const B* S, int64_t lenS,
               Y* y) noexcept {
  switch (c.method) {
    case Method::Direct: direct(L, lenL, S, lenS, y); break;
    case Method::Whole: whole<E>({m.wholeName, m.site.module}, L, lenL, S, lenS, y); break;
    case Method::Sectioned:
      sectioned<E>({m.sectionedName, m.site.module}, L, lenL, S, lenS, y, c.candidate);
      break;
  }
}

// The checks of every member: all reported in order, status cleared first.
template <class X, class H, class Y>
bool refused(ZqvSite site, const X* x, int32_t xLen, const H* h, int32_t hLen, const Y* y) noexcept {
  zqvSetErrStatus(0);
  return zqvCheckAll(site, {ZQV_CHECK(!x, "x==0"), ZQV_CHECK(xLen < 1, "xLen<=0"),
                            ZQV_CHECK(!h, "h==0"), ZQV_CHECK(hLen < 1, "hLen<=0"),
                            ZQV_CHECK(!y, "y==0")});
}

// Body of every float and double member after the checks (and after the
// mixed members' hand-over): L is x unless h is strictly longer.
template <class E, class Y, class X, class H>
void convolveChecked(const Member& m, const X* x, int64_t xLen, const H* h, int64_t hLen, Y* y) noexcept {
  constexpr bool dbl = std::is_same_v<Y, double> || std::is_same_v<Y, ZqvCplxD>;
  if constexpr (std::is_same_v<X, H>) {
    if (hLen > xLen) {
      runMethod<E>(m, chooseMethod(m.kind, dbl, hLen, xLen), h, hLen, x, xLen, y);
      return;
    }
  }
  runMethod<E>(m, chooseMethod(m.kind, dbl, xLen, hLen), x, xLen, h, hLen, y);
}

template <class E, class Y, class X, class H>
void convolve(const Member& m, const X* x, int32_t xLen, const H* h, int32_t hLen, Y* y) noexcept {
  if (refused(m.site, x, xLen, h, hLen, y)) return;
  convolveChecked<E>(m, x, xLen, h, hLen, y);
  if (zqvStatusNegative()) zqvError(ZQV_BACKTRACE, m.site.func, nullptr, m.site.module, __LINE__);
}

// The same with one method forced (tests and benchmarks).
template <class E, class Y, class A, class B>
void convolveForced(const Member& m, Choice c, const A* L, int64_t lenL, const B* S, int64_t lenS,
                    Y* y) noexcept {
  runMethod<E>(m, c, L, lenL, S, lenS, y);
}

}  // namespace zqvconv

#endif
