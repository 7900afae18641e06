// Element-wise arithmetic on 16-bit and complex 16-bit vectors, and the
// arithmetic of single complex 16-bit values. Results are formed exactly in
// 64 bits and narrowed once by the caller's scale mode.
#include <bit>
#include <cstdint>
#include <cstring>
#include <type_traits>

#include "core/detail/zqvisa.h"
#include "core/zqvframe.h"

namespace {

constexpr const char* kModule = "zqvaritw";

template <class E>
constexpr bool isComplex = std::is_same_v<E, ZqvCplxW>;

// The exact result of one element: one value, or the two parts.
template <class E>
struct Exact {
  int64_t re, im;  // im unused for real elements
};

struct Add {
  template <class E>
  static Exact<E> apply(E a, E b) noexcept {
    if constexpr (isComplex<E>) return {int64_t{a.re} + b.re, int64_t{a.im} + b.im};
    else return {int64_t{a} + b, 0};
  }
};
struct Sub {
  template <class E>
  static Exact<E> apply(E a, E b) noexcept {
    if constexpr (isComplex<E>) return {int64_t{a.re} - b.re, int64_t{a.im} - b.im};
    else return {int64_t{a} - b, 0};
  }
};
// The imaginary part of (-32768, -32768) squared is 2^31: 64 bits hold it.
struct Mpy {
  template <class E>
  static Exact<E> apply(E a, E b) noexcept {
    if constexpr (isComplex<E>)
      return {int64_t{a.re} * b.re - int64_t{a.im} * b.im, int64_t{a.re} * b.im + int64_t{a.im} * b.re};
    else return {int64_t{a} * b, 0};
  }
};

inline int16_t wrap16(int64_t x) noexcept { return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(x))); }
inline int16_t sat16(int64_t x) noexcept { return static_cast<int16_t>(x < -32768 ? -32768 : (x > 32767 ? 32767 : x)); }

// The stores of the modes, each in its own loop. Fixed factors of 32 or more
// in either direction act as 32: every result is then 0 or -1 shifted down,
// or far out of range shifted up (the low 16 bits are 0 from a shift of 16).
enum class Store { Wrap, Saturate, ShiftWrap, ShiftSaturate, Auto };

struct Narrow {
  int32_t right = 0;  // shift right by this much
  int32_t left = 0;   // or left by this much

  template <Store S>
  int16_t operator()(int64_t r) const noexcept {
    if constexpr (S == Store::Wrap) return wrap16(r);
    else if constexpr (S == Store::Saturate) return sat16(r);
    else if constexpr (S == Store::ShiftWrap) return wrap16(left ? r * (int64_t{1} << (left < 16 ? left : 16)) : r >> right);
    else if constexpr (S == Store::ShiftSaturate) return sat16(left ? r * (int64_t{1} << (left < 20 ? left : 20)) : r >> right);
    else return static_cast<int16_t>(r >> right);  // Auto: the shift makes it fit
  }
};

template <class E, Store S>
inline E narrow(Exact<E> r, const Narrow& nw) noexcept {
  if constexpr (isComplex<E>) return {nw.template operator()<S>(r.re), nw.template operator()<S>(r.im)};
  else return nw.template operator()<S>(r.re);
}

// Operands of the three forms: element i of the first and second operand.
template <class E>
struct Form1 {
  E val;
  E* vec;
  E a(int64_t i) const noexcept { return vec[i]; }
  E b(int64_t) const noexcept { return val; }
};
template <class E>
struct Form2 {
  const E* src;
  E* dst;
  E a(int64_t i) const noexcept { return dst[i]; }
  E b(int64_t i) const noexcept { return src[i]; }
};
template <class E>
struct Form3 {
  const E* srcA;
  const E* srcB;
  E a(int64_t i) const noexcept { return srcA[i]; }
  E b(int64_t i) const noexcept { return srcB[i]; }
};

// Like the float loops: 512-bit and 256-bit builds besides the baseline.
template <class Op, Store S, class E, class Operands>
ZQV_KERNEL void storeAll(Operands x, E* out, int64_t n, const Narrow& nw) noexcept {
  for (int64_t i = 0; i < n; ++i) out[i] = narrow<E, S>(Op::apply(x.a(i), x.b(i)), nw);
}

// Smallest right shift that brings r into -32768..32767.
inline int32_t shiftNeeded(int64_t r) noexcept {
  const auto m = static_cast<uint64_t>(r < 0 ? ~r : r);
  const int32_t bits = 64 - std::countl_zero(m);
  return bits > 15 ? bits - 15 : 0;
}

// Automatic mode: the smallest shift s >= 0 at which every result (both parts
// of complex ones) fits. The results are exact, so one look at each gives s;
// the stores then shift every element by it.
template <class Op, class E, class Operands>
int32_t autoShift(Operands x, int64_t n) noexcept {
  uint64_t all = 0;
  for (int64_t i = 0; i < n; ++i) {
    const Exact<E> r = Op::apply(x.a(i), x.b(i));
    all |= static_cast<uint64_t>(r.re < 0 ? ~r.re : r.re);
    if constexpr (isComplex<E>) all |= static_cast<uint64_t>(r.im < 0 ? ~r.im : r.im);
  }
  return shiftNeeded(static_cast<int64_t>(all));
}

// The family's mode rule: 0 wrap, 1 saturate, 3 fixed shift with saturation,
// 4 automatic, every other value fixed shift with wrap; the factor is read
// in the fixed modes (a null pointer counts as 0).
template <class Op, class E, class Operands>
void compute(Operands x, E* out, int32_t n, int32_t scaleMode, int32_t* scaleFactor) noexcept {
  Narrow nw;
  switch (scaleMode) {
    case 0: return ZQV_RUN(storeAll<Op, Store::Wrap, E, Operands>)(x, out, n, nw);
    case 1: return ZQV_RUN(storeAll<Op, Store::Saturate, E, Operands>)(x, out, n, nw);
    case 4: {
      nw.right = autoShift<Op, E>(x, n);
      ZQV_RUN(storeAll<Op, Store::Auto, E, Operands>)(x, out, n, nw);
      *scaleFactor = nw.right;
      return;
    }
    default: {
      const int32_t f = scaleFactor ? *scaleFactor : 0;
      if (f > 0) nw.right = f < 32 ? f : 32;
      else if (f < 0) nw.left = f > -32 ? -f : 32;
      if (scaleMode == 3) return ZQV_RUN(storeAll<Op, Store::ShiftSaturate, E, Operands>)(x, out, n, nw);
      return ZQV_RUN(storeAll<Op, Store::ShiftWrap, E, Operands>)(x, out, n, nw);
    }
  }
}

// Automatic mode needs somewhere to put the shift.
inline bool autoWithoutFactor(ZqvSite site, int32_t scaleMode, const int32_t* scaleFactor) noexcept {
  return zqvCheckFirst(site, {ZQV_CHECK(scaleMode == ZQV_AUTO_SCALE && !scaleFactor, "scalefactor==0")});
}

// ---- Families ------------------------------------------------------------------

template <class E>
void zero(ZqvSite site, E* dst, int32_t n) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(n <= 0, "n<=0"), ZQV_CHECK(!dst, "dst==0")}) || n < 1) return;
  std::memset(static_cast<void*>(dst), 0, static_cast<size_t>(n) * sizeof(E));
}

template <class E>
void set(ZqvSite site, E val, E* dst, int32_t n) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(n <= 0, "n<=0"), ZQV_CHECK(!dst, "dst==0")}) || n < 1) return;
  for (int64_t i = 0; i < n; ++i) dst[i] = val;
}

template <class E>
void copy(ZqvSite site, const E* src, E* dst, int32_t n) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(n <= 0, "n<=0"), ZQV_CHECK(!src, "src==0"), ZQV_CHECK(!dst, "dst==0")}) || n < 1)
    return;
  std::memmove(static_cast<void*>(dst), src, static_cast<size_t>(n) * sizeof(E));
}

template <class Op, class E>
void form1(ZqvSite site, E val, E* vec, int32_t n, int32_t scaleMode, int32_t* scaleFactor) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(n <= 0, "n<=0"), ZQV_CHECK(!vec, "dst==0")}) || n < 1) return;
  if (autoWithoutFactor(site, scaleMode, scaleFactor)) return;
  compute<Op>(Form1<E>{val, vec}, vec, n, scaleMode, scaleFactor);
}

template <class Op, class E>
void form2(ZqvSite site, const E* src, E* dst, int32_t n, int32_t scaleMode, int32_t* scaleFactor) noexcept {
  // Sub2 names a missing source "val".
  const char* srcMessage = std::is_same_v<Op, Sub> ? "val==0" : "src==0";
  if (zqvCheckAll(site, {ZQV_CHECK(n <= 0, "n<=0"), ZQV_CHECK(!src, srcMessage),
                         ZQV_CHECK(!dst, "dst==0")}) ||
      n < 1)
    return;
  if (autoWithoutFactor(site, scaleMode, scaleFactor)) return;
  compute<Op>(Form2<E>{src, dst}, dst, n, scaleMode, scaleFactor);
}

template <class Op, class E>
void form3(ZqvSite site, const E* srcA, const E* srcB, E* dst, int32_t n, int32_t scaleMode,
           int32_t* scaleFactor) noexcept {
  // Sub3 names its sources "src" and "val".
  constexpr bool sub = std::is_same_v<Op, Sub>;
  if (zqvCheckAll(site, {ZQV_CHECK(n <= 0, "n<=0"), ZQV_CHECK(!srcA, sub ? "src==0" : "srcA==0"),
                         ZQV_CHECK(!srcB, sub ? "val==0" : "srcB==0"), ZQV_CHECK(!dst, "dst==0")}) ||
      n < 1)
    return;
  if (autoWithoutFactor(site, scaleMode, scaleFactor)) return;
  compute<Op>(Form3<E>{srcA, srcB}, dst, n, scaleMode, scaleFactor);
}

// Negation wraps: -(-32768) stays -32768.
inline int16_t negate(int16_t x) noexcept { return wrap16(-int64_t{x}); }

void conj1(ZqvSite site, ZqvCplxW* vec, int32_t n) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(n <= 0, "n<=0"), ZQV_CHECK(!vec, "vec==0")}) || n < 1) return;
  for (int64_t i = 0; i < n; ++i) vec[i].im = negate(vec[i].im);
}

void conj2(ZqvSite site, const ZqvCplxW* src, ZqvCplxW* dst, int32_t n) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(n <= 0, "n<=0"), ZQV_CHECK(!src, "src==0"), ZQV_CHECK(!dst, "dst==0")}) || n < 1)
    return;
  for (int64_t i = 0; i < n; ++i) dst[i] = {src[i].re, negate(src[i].im)};
}

// The destination must not overlap the source: it is written from its last
// element while the source is read from its first.
void conjFlip2(ZqvSite site, const ZqvCplxW* src, ZqvCplxW* dst, int32_t n) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(n <= 0, "n<=0"), ZQV_CHECK(!src, "src==0"), ZQV_CHECK(!dst, "dst==0")}) || n < 1)
    return;
  const int64_t len = n;
  for (int64_t i = 0; i < len; ++i) dst[len - 1 - i] = {src[i].re, negate(src[i].im)};
}

// Appends conj(vec[k-1]) ... conj(vec[0]) behind the n elements, k = n
// rounded down to even.
void appendMirror(ZqvCplxW* vec, int64_t n) noexcept {
  const int64_t k = n & ~int64_t{1};
  for (int64_t j = 0; j < k; ++j) vec[n + j] = {vec[k - 1 - j].re, negate(vec[k - 1 - j].im)};
}

void conjExtend1(ZqvSite site, ZqvCplxW* vec, int32_t n) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(n <= 0, "n<=0"), ZQV_CHECK(!vec, "vec==0")}) || n < 1) return;
  appendMirror(vec, n);
}

void conjExtend2(ZqvSite site, const ZqvCplxW* src, ZqvCplxW* dst, int32_t n) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(n <= 0, "n<=0"), ZQV_CHECK(!src, "src==0"), ZQV_CHECK(!dst, "dst==0")}) || n < 1)
    return;
  if (src != dst) std::memmove(static_cast<void*>(dst), src, static_cast<size_t>(n) * sizeof(ZqvCplxW));
  appendMirror(dst, n);
}

// Single values go through the one-element vector form; a failure there (or
// a status left negative earlier) adds a backtrace and gives (0, 0).
template <class Op>
ZqvCplxW scalar(const char* func, const char* vectorFunc, ZqvCplxW a, ZqvCplxW b, int32_t scaleMode,
                int32_t* scaleFactor, int32_t line) noexcept {
  ZqvCplxW r{0, 0};
  form3<Op>(ZqvSite{vectorFunc, kModule}, &a, &b, &r, 1, scaleMode, scaleFactor);
  if (zqvStatusNegative()) zqvError(ZQV_BACKTRACE, func, nullptr, kModule, line);
  return r;
}

// Exact quotient, truncated toward zero, then saturated: |b|^2 and the
// numerators are exact in 64 bits, unlike a floating-point reciprocal.
ZqvCplxW divide(ZqvCplxW a, ZqvCplxW b) noexcept {
  if (b.re == 0 && b.im == 0) {
    zqvError(ZQV_BAD_ARGUMENT, "zqvvDiv", "(b.re==0)&&(b.im==0)", kModule, __LINE__);
    return {0, 0};
  }
  const int64_t den = int64_t{b.re} * b.re + int64_t{b.im} * b.im;
  const int64_t re = int64_t{a.re} * b.re + int64_t{a.im} * b.im;
  const int64_t im = int64_t{a.im} * b.re - int64_t{a.re} * b.im;
  return {sat16(re / den), sat16(im / den)};
}

}  // namespace

// ---- Single complex values

ZQVAPI ZqvCplxW zqvvAdd(ZqvCplxW a, ZqvCplxW b, int32_t scaleMode, int32_t* scaleFactor) noexcept {
  return scalar<Add>("zqvvAdd", "zqvvbAdd3", a, b, scaleMode, scaleFactor, __LINE__);
}
ZQVAPI ZqvCplxW zqvvSub(ZqvCplxW a, ZqvCplxW b, int32_t scaleMode, int32_t* scaleFactor) noexcept {
  return scalar<Sub>("zqvvSub", "zqvvbSub3", a, b, scaleMode, scaleFactor, __LINE__);
}
ZQVAPI ZqvCplxW zqvvMpy(ZqvCplxW a, ZqvCplxW b, int32_t scaleMode, int32_t* scaleFactor) noexcept {
  return scalar<Mpy>("zqvvMpy", "zqvvbMpy3", a, b, scaleMode, scaleFactor, __LINE__);
}
ZQVAPI ZqvCplxW zqvvDiv(ZqvCplxW a, ZqvCplxW b) noexcept { return divide(a, b); }
ZQVAPI ZqvCplxW zqvvConj(ZqvCplxW a) noexcept { return {a.re, negate(a.im)}; }
ZQVAPI ZqvCplxW zqvvSet(int16_t re, int16_t im) noexcept { return {re, im}; }

// ---- Vectors

ZQVAPI void zqvwbZero(int16_t* dst, int32_t n) noexcept { zero({"zqvwbZero", kModule}, dst, n); }
ZQVAPI void zqvvbZero(ZqvCplxW* dst, int32_t n) noexcept { zero({"zqvvbZero", kModule}, dst, n); }
ZQVAPI void zqvwbSet(int16_t val, int16_t* dst, int32_t n) noexcept { set({"zqvwbSet", kModule}, val, dst, n); }
ZQVAPI void zqvvbSet(ZqvCplxW val, ZqvCplxW* dst, int32_t n) noexcept { set({"zqvvbSet", kModule}, val, dst, n); }
ZQVAPI void zqvwbCopy(const int16_t* src, int16_t* dst, int32_t n) noexcept { copy({"zqvwbCopy", kModule}, src, dst, n); }
ZQVAPI void zqvvbCopy(const ZqvCplxW* src, ZqvCplxW* dst, int32_t n) noexcept { copy({"zqvvbCopy", kModule}, src, dst, n); }

ZQVAPI void zqvwbAdd1(int16_t val, int16_t* vec, int32_t n, int32_t scaleMode, int32_t* scaleFactor) noexcept { form1<Add>({"zqvwbAdd1", kModule}, val, vec, n, scaleMode, scaleFactor); }
ZQVAPI void zqvvbAdd1(ZqvCplxW val, ZqvCplxW* vec, int32_t n, int32_t scaleMode, int32_t* scaleFactor) noexcept { form1<Add>({"zqvvbAdd1", kModule}, val, vec, n, scaleMode, scaleFactor); }
ZQVAPI void zqvwbSub1(int16_t val, int16_t* vec, int32_t n, int32_t scaleMode, int32_t* scaleFactor) noexcept { form1<Sub>({"zqvwbSub1", kModule}, val, vec, n, scaleMode, scaleFactor); }
ZQVAPI void zqvvbSub1(ZqvCplxW val, ZqvCplxW* vec, int32_t n, int32_t scaleMode, int32_t* scaleFactor) noexcept { form1<Sub>({"zqvvbSub1", kModule}, val, vec, n, scaleMode, scaleFactor); }
ZQVAPI void zqvwbMpy1(int16_t val, int16_t* vec, int32_t n, int32_t scaleMode, int32_t* scaleFactor) noexcept { form1<Mpy>({"zqvwbMpy1", kModule}, val, vec, n, scaleMode, scaleFactor); }
ZQVAPI void zqvvbMpy1(ZqvCplxW val, ZqvCplxW* vec, int32_t n, int32_t scaleMode, int32_t* scaleFactor) noexcept { form1<Mpy>({"zqvvbMpy1", kModule}, val, vec, n, scaleMode, scaleFactor); }

ZQVAPI void zqvwbAdd2(const int16_t* src, int16_t* dst, int32_t n, int32_t scaleMode, int32_t* scaleFactor) noexcept { form2<Add>({"zqvwbAdd2", kModule}, src, dst, n, scaleMode, scaleFactor); }
ZQVAPI void zqvvbAdd2(const ZqvCplxW* src, ZqvCplxW* dst, int32_t n, int32_t scaleMode, int32_t* scaleFactor) noexcept { form2<Add>({"zqvvbAdd2", kModule}, src, dst, n, scaleMode, scaleFactor); }
ZQVAPI void zqvwbSub2(const int16_t* src, int16_t* dst, int32_t n, int32_t scaleMode, int32_t* scaleFactor) noexcept { form2<Sub>({"zqvwbSub2", kModule}, src, dst, n, scaleMode, scaleFactor); }
ZQVAPI void zqvvbSub2(const ZqvCplxW* src, ZqvCplxW* dst, int32_t n, int32_t scaleMode, int32_t* scaleFactor) noexcept { form2<Sub>({"zqvvbSub2", kModule}, src, dst, n, scaleMode, scaleFactor); }
ZQVAPI void zqvwbMpy2(const int16_t* src, int16_t* dst, int32_t n, int32_t scaleMode, int32_t* scaleFactor) noexcept { form2<Mpy>({"zqvwbMpy2", kModule}, src, dst, n, scaleMode, scaleFactor); }
ZQVAPI void zqvvbMpy2(const ZqvCplxW* src, ZqvCplxW* dst, int32_t n, int32_t scaleMode, int32_t* scaleFactor) noexcept { form2<Mpy>({"zqvvbMpy2", kModule}, src, dst, n, scaleMode, scaleFactor); }

ZQVAPI void zqvwbAdd3(const int16_t* srcA, const int16_t* srcB, int16_t* dst, int32_t n, int32_t scaleMode, int32_t* scaleFactor) noexcept { form3<Add>({"zqvwbAdd3", kModule}, srcA, srcB, dst, n, scaleMode, scaleFactor); }
ZQVAPI void zqvvbAdd3(const ZqvCplxW* srcA, const ZqvCplxW* srcB, ZqvCplxW* dst, int32_t n, int32_t scaleMode, int32_t* scaleFactor) noexcept { form3<Add>({"zqvvbAdd3", kModule}, srcA, srcB, dst, n, scaleMode, scaleFactor); }
ZQVAPI void zqvwbSub3(const int16_t* srcA, const int16_t* srcB, int16_t* dst, int32_t n, int32_t scaleMode, int32_t* scaleFactor) noexcept { form3<Sub>({"zqvwbSub3", kModule}, srcA, srcB, dst, n, scaleMode, scaleFactor); }
ZQVAPI void zqvvbSub3(const ZqvCplxW* srcA, const ZqvCplxW* srcB, ZqvCplxW* dst, int32_t n, int32_t scaleMode, int32_t* scaleFactor) noexcept { form3<Sub>({"zqvvbSub3", kModule}, srcA, srcB, dst, n, scaleMode, scaleFactor); }
ZQVAPI void zqvwbMpy3(const int16_t* srcA, const int16_t* srcB, int16_t* dst, int32_t n, int32_t scaleMode, int32_t* scaleFactor) noexcept { form3<Mpy>({"zqvwbMpy3", kModule}, srcA, srcB, dst, n, scaleMode, scaleFactor); }
ZQVAPI void zqvvbMpy3(const ZqvCplxW* srcA, const ZqvCplxW* srcB, ZqvCplxW* dst, int32_t n, int32_t scaleMode, int32_t* scaleFactor) noexcept { form3<Mpy>({"zqvvbMpy3", kModule}, srcA, srcB, dst, n, scaleMode, scaleFactor); }

ZQVAPI void zqvvbConj1(ZqvCplxW* vec, int32_t n) noexcept { conj1({"zqvvbConj1", kModule}, vec, n); }
ZQVAPI void zqvvbConj2(const ZqvCplxW* src, ZqvCplxW* dst, int32_t n) noexcept { conj2({"zqvvbConj2", kModule}, src, dst, n); }
ZQVAPI void zqvvbConjFlip2(const ZqvCplxW* src, ZqvCplxW* dst, int32_t n) noexcept { conjFlip2({"zqvvbConjFlip2", kModule}, src, dst, n); }
ZQVAPI void zqvvbConjExtend1(ZqvCplxW* vec, int32_t n) noexcept { conjExtend1({"zqvvbConjExtend1", kModule}, vec, n); }
ZQVAPI void zqvvbConjExtend2(const ZqvCplxW* src, ZqvCplxW* dst, int32_t n) noexcept { conjExtend2({"zqvvbConjExtend2", kModule}, src, dst, n); }
