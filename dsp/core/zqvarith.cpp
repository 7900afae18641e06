// Element-wise arithmetic on float, double and complex vectors, and the
// arithmetic of single complex values.
#include "core/zqvarith.h"

#include <cstdint>
#include <cstring>
#include <type_traits>

#include "core/detail/zqvisa.h"
#include "core/zqvframe.h"

namespace {

constexpr const char* kModule = "zqvarith";

template <class T>
constexpr bool isReal = std::is_floating_point_v<T>;

struct Add {
  template <class T>
  static T apply(T a, T b) noexcept {
    if constexpr (isReal<T>) return a + b;
    else return {a.re + b.re, a.im + b.im};
  }
};

struct Sub {
  template <class T>
  static T apply(T a, T b) noexcept {
    if constexpr (isReal<T>) return a - b;
    else return {a.re - b.re, a.im - b.im};
  }
};

struct Mpy {
  template <class T>
  static T apply(T a, T b) noexcept {
    if constexpr (isReal<T>) return a * b;
    else return zqvCplxMpy(a, b);
  }
};

// True when the n-element ranges at a and b share no byte.
template <class T>
bool disjoint(const T* a, const T* b, int64_t n) noexcept {
  const auto pa = reinterpret_cast<uintptr_t>(a), pb = reinterpret_cast<uintptr_t>(b);
  const auto bytes = static_cast<uintptr_t>(n) * sizeof(T);
  return pa + bytes <= pb || pb + bytes <= pa;
}

// The hot loops also come as 512-bit and 256-bit builds (core/detail/zqvisa.h);
// without contraction the results are the same bits in every build.

// ---- Kernels. Element-wise results do not depend on the visiting order
// unless the ranges overlap partly; only then the loop runs from the last
// element down, element by element.

template <class Op, class T>
ZQV_KERNEL void loop1(T val, T* vec, int64_t n) noexcept {
  for (int64_t i = 0; i < n; ++i) vec[i] = Op::apply(vec[i], val);
}

template <class Op, class T>
ZQV_KERNEL void loop2Apart(const T* __restrict src, T* __restrict dst, int64_t n) noexcept {
  for (int64_t i = 0; i < n; ++i) dst[i] = Op::apply(dst[i], src[i]);
}

template <class Op, class T>
ZQV_KERNEL void loop2Self(T* dst, int64_t n) noexcept {
  for (int64_t i = 0; i < n; ++i) dst[i] = Op::apply(dst[i], dst[i]);
}

template <class Op, class T>
ZQV_KERNEL void loop3Apart(const T* __restrict a, const T* __restrict b, T* __restrict dst, int64_t n) noexcept {
  for (int64_t i = 0; i < n; ++i) dst[i] = Op::apply(a[i], b[i]);
}

// Both operands are read before the element is stored, so a destination
// that is one of the sources works for complex products as well.
template <class Op, class T>
void loop3Down(const T* a, const T* b, T* dst, int64_t n) noexcept {
  for (int64_t i = n - 1; i >= 0; --i) {
    const T x = a[i], y = b[i];
    dst[i] = Op::apply(x, y);
  }
}

template <class T>
void conjInPlace(T* vec, int64_t n) noexcept {
  for (int64_t i = 0; i < n; ++i) vec[i].im = -vec[i].im;
}

// ---- Families: checks in the documented order, then the work.

template <class T>
void zero(ZqvSite site, T* dst, int32_t n) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(n <= 0, "n<=0"), ZQV_CHECK(!dst, "dst==0")}) || n < 1) return;
  std::memset(static_cast<void*>(dst), 0, static_cast<size_t>(n) * sizeof(T));
}

template <class T>
void set(ZqvSite site, T val, T* dst, int32_t n) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(n <= 0, "n<=0"), ZQV_CHECK(!dst, "dst==0")}) || n < 1) return;
  for (int64_t i = 0; i < n; ++i) dst[i] = val;
}

// Overlapping ranges are copied as if through a temporary, in either direction.
template <class T>
void copy(ZqvSite site, const T* src, T* dst, int32_t n) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(n <= 0, "n<=0"), ZQV_CHECK(!src, "src==0"),
                         ZQV_CHECK(!dst, "dst==0")}) ||
      n < 1)
    return;
  std::memmove(static_cast<void*>(dst), src, static_cast<size_t>(n) * sizeof(T));
}

template <class Op, class T>
void form1(ZqvSite site, T val, T* vec, int32_t n) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(n <= 0, "n<=0"), ZQV_CHECK(!vec, "dst==0")}) || n < 1) return;
  ZQV_RUN(loop1<Op, T>)(val, vec, n);
}

template <class Op, class T>
void form2(ZqvSite site, const T* src, T* dst, int32_t n) noexcept {
  // Sub2 names a missing source "val".
  const char* srcMessage = std::is_same_v<Op, Sub> ? "val==0" : "src==0";
  if (zqvCheckAll(site, {ZQV_CHECK(n <= 0, "n<=0"), ZQV_CHECK(!src, srcMessage),
                         ZQV_CHECK(!dst, "dst==0")}) ||
      n < 1)
    return;
  if (src == dst) ZQV_RUN(loop2Self<Op, T>)(dst, n);
  else if (disjoint(src, dst, n)) ZQV_RUN(loop2Apart<Op, T>)(src, dst, n);
  else loop3Down<Op>(dst, src, dst, n);
}

template <class Op, class T>
void form3(ZqvSite site, const T* srcA, const T* srcB, T* dst, int32_t n) noexcept {
  // Sub3 names its sources "src" and "val".
  constexpr bool sub = std::is_same_v<Op, Sub>;
  if (zqvCheckAll(site, {ZQV_CHECK(n <= 0, "n<=0"), ZQV_CHECK(!srcA, sub ? "src==0" : "srcA==0"),
                         ZQV_CHECK(!srcB, sub ? "val==0" : "srcB==0"),
                         ZQV_CHECK(!dst, "dst==0")}) ||
      n < 1)
    return;
  if (disjoint(srcA, dst, n) && disjoint(srcB, dst, n)) ZQV_RUN(loop3Apart<Op, T>)(srcA, srcB, dst, n);
  else loop3Down<Op>(srcA, srcB, dst, n);
}

template <class T>
void conj1(ZqvSite site, T* vec, int32_t n) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(n <= 0, "n<=0"), ZQV_CHECK(!vec, "vec==0")}) || n < 1) return;
  conjInPlace(vec, n);
}

template <class T>
void conj2(ZqvSite site, const T* src, T* dst, int32_t n) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(n <= 0, "n<=0"), ZQV_CHECK(!src, "src==0"),
                         ZQV_CHECK(!dst, "dst==0")}) ||
      n < 1)
    return;
  if (src != dst) std::memmove(static_cast<void*>(dst), src, static_cast<size_t>(n) * sizeof(T));
  conjInPlace(dst, n);
}

// Overlapping ranges (also the same vector) are moved first and then
// reversed in place, so the source is never read after it was overwritten.
template <class T>
void conjFlip2(ZqvSite site, const T* src, T* dst, int32_t n) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(n <= 0, "n<=0"), ZQV_CHECK(!src, "src==0"),
                         ZQV_CHECK(!dst, "dst==0")}) ||
      n < 1)
    return;
  const int64_t len = n;
  if (disjoint(src, dst, len)) {
    for (int64_t i = 0; i < len; ++i) dst[len - 1 - i] = {src[i].re, -src[i].im};
    return;
  }
  if (src != dst) std::memmove(static_cast<void*>(dst), src, static_cast<size_t>(len) * sizeof(T));
  for (int64_t i = 0, j = len - 1; i < j; ++i, --j) {
    const T front = dst[i], back = dst[j];
    dst[i] = {back.re, -back.im};
    dst[j] = {front.re, -front.im};
  }
  if (len % 2) dst[len / 2].im = -dst[len / 2].im;
}

// Appends conj(vec[k-1]) ... conj(vec[0]) behind the n elements, k = n
// rounded down to even; only elements below n are read.
template <class T>
void appendMirror(T* vec, int64_t n) noexcept {
  const int64_t k = n & ~int64_t{1};
  for (int64_t j = 0; j < k; ++j) vec[n + j] = {vec[k - 1 - j].re, -vec[k - 1 - j].im};
}

template <class T>
void conjExtend1(ZqvSite site, T* vec, int32_t n) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(n <= 0, "n<=0"), ZQV_CHECK(!vec, "vec==0")}) || n < 1) return;
  appendMirror(vec, n);
}

template <class T>
void conjExtend2(ZqvSite site, const T* src, T* dst, int32_t n) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(n <= 0, "n<=0"), ZQV_CHECK(!src, "src==0"),
                         ZQV_CHECK(!dst, "dst==0")}) ||
      n < 1)
    return;
  if (src != dst) std::memmove(static_cast<void*>(dst), src, static_cast<size_t>(n) * sizeof(T));
  appendMirror(dst, n);
}

// Division through 1/|b|^2 in long double: squares of float or double parts
// neither overflow nor underflow there, so tiny and huge divisors work. A
// double divisor whose parts both lie below 2^-1042 is refused as zero.
template <class T>
T divide(ZqvSite site, T a, T b) noexcept {
  using P = decltype(T::re);
  if (zqvCountsAsZero(b.re) && zqvCountsAsZero(b.im)) {
    zqvError(ZQV_BAD_ARGUMENT, site.func, "(b.re==0.0)&&(b.im==0.0)", site.module, __LINE__);
    return {0, 0};
  }
  const long double ar = a.re, ai = a.im, br = b.re, bi = b.im;
  const long double inv = 1.0L / (br * br + bi * bi);
  return {static_cast<P>((ar * br + ai * bi) * inv), static_cast<P>((ai * br - ar * bi) * inv)};
}

}  // namespace

// ---- Single complex values

ZQVAPI ZqvCplxS zqvcAdd(ZqvCplxS a, ZqvCplxS b) noexcept { return Add::apply(a, b); }
ZQVAPI ZqvCplxD zqvzAdd(ZqvCplxD a, ZqvCplxD b) noexcept { return Add::apply(a, b); }
ZQVAPI ZqvCplxS zqvcSub(ZqvCplxS a, ZqvCplxS b) noexcept { return Sub::apply(a, b); }
ZQVAPI ZqvCplxD zqvzSub(ZqvCplxD a, ZqvCplxD b) noexcept { return Sub::apply(a, b); }
ZQVAPI ZqvCplxS zqvcMpy(ZqvCplxS a, ZqvCplxS b) noexcept { return zqvCplxMpy(a, b); }
ZQVAPI ZqvCplxD zqvzMpy(ZqvCplxD a, ZqvCplxD b) noexcept { return zqvCplxMpy(a, b); }
ZQVAPI ZqvCplxS zqvcDiv(ZqvCplxS a, ZqvCplxS b) noexcept { return divide({"zqvcDiv", kModule}, a, b); }
ZQVAPI ZqvCplxD zqvzDiv(ZqvCplxD a, ZqvCplxD b) noexcept { return divide({"zqvzDiv", kModule}, a, b); }
ZQVAPI ZqvCplxS zqvcConj(ZqvCplxS a) noexcept { return {a.re, -a.im}; }
ZQVAPI ZqvCplxD zqvzConj(ZqvCplxD a) noexcept { return {a.re, -a.im}; }
ZQVAPI ZqvCplxS zqvcSet(float re, float im) noexcept { return {re, im}; }
ZQVAPI ZqvCplxD zqvzSet(double re, double im) noexcept { return {re, im}; }

// ---- Vectors

ZQVAPI void zqvsbZero(float* dst, int32_t n) noexcept { zero({"zqvsbZero", kModule}, dst, n); }
ZQVAPI void zqvsbSet(float val, float* dst, int32_t n) noexcept { set({"zqvsbSet", kModule}, val, dst, n); }
ZQVAPI void zqvsbCopy(const float* src, float* dst, int32_t n) noexcept { copy({"zqvsbCopy", kModule}, src, dst, n); }
ZQVAPI void zqvsbAdd1(float val, float* vec, int32_t n) noexcept { form1<Add>({"zqvsbAdd1", kModule}, val, vec, n); }
ZQVAPI void zqvsbSub1(float val, float* vec, int32_t n) noexcept { form1<Sub>({"zqvsbSub1", kModule}, val, vec, n); }
ZQVAPI void zqvsbMpy1(float val, float* vec, int32_t n) noexcept { form1<Mpy>({"zqvsbMpy1", kModule}, val, vec, n); }
ZQVAPI void zqvsbAdd2(const float* src, float* dst, int32_t n) noexcept { form2<Add>({"zqvsbAdd2", kModule}, src, dst, n); }
ZQVAPI void zqvsbSub2(const float* src, float* dst, int32_t n) noexcept { form2<Sub>({"zqvsbSub2", kModule}, src, dst, n); }
ZQVAPI void zqvsbMpy2(const float* src, float* dst, int32_t n) noexcept { form2<Mpy>({"zqvsbMpy2", kModule}, src, dst, n); }
ZQVAPI void zqvsbAdd3(const float* srcA, const float* srcB, float* dst, int32_t n) noexcept {
  form3<Add>({"zqvsbAdd3", kModule}, srcA, srcB, dst, n);
}
ZQVAPI void zqvsbSub3(const float* srcA, const float* srcB, float* dst, int32_t n) noexcept {
  form3<Sub>({"zqvsbSub3", kModule}, srcA, srcB, dst, n);
}
ZQVAPI void zqvsbMpy3(const float* srcA, const float* srcB, float* dst, int32_t n) noexcept {
  form3<Mpy>({"zqvsbMpy3", kModule}, srcA, srcB, dst, n);
}

ZQVAPI void zqvdbZero(double* dst, int32_t n) noexcept { zero({"zqvdbZero", kModule}, dst, n); }
ZQVAPI void zqvdbSet(double val, double* dst, int32_t n) noexcept { set({"zqvdbSet", kModule}, val, dst, n); }
ZQVAPI void zqvdbCopy(const double* src, double* dst, int32_t n) noexcept { copy({"zqvdbCopy", kModule}, src, dst, n); }
ZQVAPI void zqvdbAdd1(double val, double* vec, int32_t n) noexcept { form1<Add>({"zqvdbAdd1", kModule}, val, vec, n); }
ZQVAPI void zqvdbSub1(double val, double* vec, int32_t n) noexcept { form1<Sub>({"zqvdbSub1", kModule}, val, vec, n); }
ZQVAPI void zqvdbMpy1(double val, double* vec, int32_t n) noexcept { form1<Mpy>({"zqvdbMpy1", kModule}, val, vec, n); }
ZQVAPI void zqvdbAdd2(const double* src, double* dst, int32_t n) noexcept { form2<Add>({"zqvdbAdd2", kModule}, src, dst, n); }
ZQVAPI void zqvdbSub2(const double* src, double* dst, int32_t n) noexcept { form2<Sub>({"zqvdbSub2", kModule}, src, dst, n); }
ZQVAPI void zqvdbMpy2(const double* src, double* dst, int32_t n) noexcept { form2<Mpy>({"zqvdbMpy2", kModule}, src, dst, n); }
ZQVAPI void zqvdbAdd3(const double* srcA, const double* srcB, double* dst, int32_t n) noexcept {
  form3<Add>({"zqvdbAdd3", kModule}, srcA, srcB, dst, n);
}
ZQVAPI void zqvdbSub3(const double* srcA, const double* srcB, double* dst, int32_t n) noexcept {
  form3<Sub>({"zqvdbSub3", kModule}, srcA, srcB, dst, n);
}
ZQVAPI void zqvdbMpy3(const double* srcA, const double* srcB, double* dst, int32_t n) noexcept {
  form3<Mpy>({"zqvdbMpy3", kModule}, srcA, srcB, dst, n);
}

ZQVAPI void zqvcbZero(ZqvCplxS* dst, int32_t n) noexcept { zero({"zqvcbZero", kModule}, dst, n); }
ZQVAPI void zqvcbSet(ZqvCplxS val, ZqvCplxS* dst, int32_t n) noexcept { set({"zqvcbSet", kModule}, val, dst, n); }
ZQVAPI void zqvcbCopy(const ZqvCplxS* src, ZqvCplxS* dst, int32_t n) noexcept { copy({"zqvcbCopy", kModule}, src, dst, n); }
ZQVAPI void zqvcbAdd1(ZqvCplxS val, ZqvCplxS* vec, int32_t n) noexcept { form1<Add>({"zqvcbAdd1", kModule}, val, vec, n); }
ZQVAPI void zqvcbSub1(ZqvCplxS val, ZqvCplxS* vec, int32_t n) noexcept { form1<Sub>({"zqvcbSub1", kModule}, val, vec, n); }
ZQVAPI void zqvcbMpy1(ZqvCplxS val, ZqvCplxS* vec, int32_t n) noexcept { form1<Mpy>({"zqvcbMpy1", kModule}, val, vec, n); }
ZQVAPI void zqvcbAdd2(const ZqvCplxS* src, ZqvCplxS* dst, int32_t n) noexcept { form2<Add>({"zqvcbAdd2", kModule}, src, dst, n); }
ZQVAPI void zqvcbSub2(const ZqvCplxS* src, ZqvCplxS* dst, int32_t n) noexcept { form2<Sub>({"zqvcbSub2", kModule}, src, dst, n); }
ZQVAPI void zqvcbMpy2(const ZqvCplxS* src, ZqvCplxS* dst, int32_t n) noexcept { form2<Mpy>({"zqvcbMpy2", kModule}, src, dst, n); }
ZQVAPI void zqvcbAdd3(const ZqvCplxS* srcA, const ZqvCplxS* srcB, ZqvCplxS* dst, int32_t n) noexcept {
  form3<Add>({"zqvcbAdd3", kModule}, srcA, srcB, dst, n);
}
ZQVAPI void zqvcbSub3(const ZqvCplxS* srcA, const ZqvCplxS* srcB, ZqvCplxS* dst, int32_t n) noexcept {
  form3<Sub>({"zqvcbSub3", kModule}, srcA, srcB, dst, n);
}
ZQVAPI void zqvcbMpy3(const ZqvCplxS* srcA, const ZqvCplxS* srcB, ZqvCplxS* dst, int32_t n) noexcept {
  form3<Mpy>({"zqvcbMpy3", kModule}, srcA, srcB, dst, n);
}

ZQVAPI void zqvzbZero(ZqvCplxD* dst, int32_t n) noexcept { zero({"zqvzbZero", kModule}, dst, n); }
ZQVAPI void zqvzbSet(ZqvCplxD val, ZqvCplxD* dst, int32_t n) noexcept { set({"zqvzbSet", kModule}, val, dst, n); }
ZQVAPI void zqvzbCopy(const ZqvCplxD* src, ZqvCplxD* dst, int32_t n) noexcept { copy({"zqvzbCopy", kModule}, src, dst, n); }
ZQVAPI void zqvzbAdd1(ZqvCplxD val, ZqvCplxD* vec, int32_t n) noexcept { form1<Add>({"zqvzbAdd1", kModule}, val, vec, n); }
ZQVAPI void zqvzbSub1(ZqvCplxD val, ZqvCplxD* vec, int32_t n) noexcept { form1<Sub>({"zqvzbSub1", kModule}, val, vec, n); }
ZQVAPI void zqvzbMpy1(ZqvCplxD val, ZqvCplxD* vec, int32_t n) noexcept { form1<Mpy>({"zqvzbMpy1", kModule}, val, vec, n); }
ZQVAPI void zqvzbAdd2(const ZqvCplxD* src, ZqvCplxD* dst, int32_t n) noexcept { form2<Add>({"zqvzbAdd2", kModule}, src, dst, n); }
ZQVAPI void zqvzbSub2(const ZqvCplxD* src, ZqvCplxD* dst, int32_t n) noexcept { form2<Sub>({"zqvzbSub2", kModule}, src, dst, n); }
ZQVAPI void zqvzbMpy2(const ZqvCplxD* src, ZqvCplxD* dst, int32_t n) noexcept { form2<Mpy>({"zqvzbMpy2", kModule}, src, dst, n); }
ZQVAPI void zqvzbAdd3(const ZqvCplxD* srcA, const ZqvCplxD* srcB, ZqvCplxD* dst, int32_t n) noexcept {
  form3<Add>({"zqvzbAdd3", kModule}, srcA, srcB, dst, n);
}
ZQVAPI void zqvzbSub3(const ZqvCplxD* srcA, const ZqvCplxD* srcB, ZqvCplxD* dst, int32_t n) noexcept {
  form3<Sub>({"zqvzbSub3", kModule}, srcA, srcB, dst, n);
}
ZQVAPI void zqvzbMpy3(const ZqvCplxD* srcA, const ZqvCplxD* srcB, ZqvCplxD* dst, int32_t n) noexcept {
  form3<Mpy>({"zqvzbMpy3", kModule}, srcA, srcB, dst, n);
}

ZQVAPI void zqvcbConj1(ZqvCplxS* vec, int32_t n) noexcept { conj1({"zqvcbConj1", kModule}, vec, n); }
ZQVAPI void zqvcbConj2(const ZqvCplxS* src, ZqvCplxS* dst, int32_t n) noexcept { conj2({"zqvcbConj2", kModule}, src, dst, n); }
ZQVAPI void zqvcbConjFlip2(const ZqvCplxS* src, ZqvCplxS* dst, int32_t n) noexcept { conjFlip2({"zqvcbConjFlip2", kModule}, src, dst, n); }
ZQVAPI void zqvcbConjExtend1(ZqvCplxS* vec, int32_t n) noexcept { conjExtend1({"zqvcbConjExtend1", kModule}, vec, n); }
ZQVAPI void zqvcbConjExtend2(const ZqvCplxS* src, ZqvCplxS* dst, int32_t n) noexcept { conjExtend2({"zqvcbConjExtend2", kModule}, src, dst, n); }

ZQVAPI void zqvzbConj1(ZqvCplxD* vec, int32_t n) noexcept { conj1({"zqvzbConj1", kModule}, vec, n); }
ZQVAPI void zqvzbConj2(const ZqvCplxD* src, ZqvCplxD* dst, int32_t n) noexcept { conj2({"zqvzbConj2", kModule}, src, dst, n); }
ZQVAPI void zqvzbConjFlip2(const ZqvCplxD* src, ZqvCplxD* dst, int32_t n) noexcept { conjFlip2({"zqvzbConjFlip2", kModule}, src, dst, n); }
ZQVAPI void zqvzbConjExtend1(ZqvCplxD* vec, int32_t n) noexcept { conjExtend1({"zqvzbConjExtend1", kModule}, vec, n); }
ZQVAPI void zqvzbConjExtend2(const ZqvCplxD* src, ZqvCplxD* dst, int32_t n) noexcept { conjExtend2({"zqvzbConjExtend2", kModule}, src, dst, n); }

