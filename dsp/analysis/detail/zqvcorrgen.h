// Generic bodies of auto- and cross-correlation: direct sums for every
// element type, and for floating-point data a block-wise transform method
// chosen by cost estimates. r[lag] = sum over m of conj(a[m]) b[m + lag].
#ifndef ZQV_CORRGEN_H
#define ZQV_CORRGEN_H

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <type_traits>

#include "analysis/detail/zqvconvgen.h"
#include "core/zqvframe.h"

namespace zqvcorr {

using zqvconv::IsCplx;

inline constexpr const char* kModule = "zqvcorr";
inline constexpr const char* kModuleW = "zqvcorrw";

// ---- Checks: the first that fails is reported; the status is not read.
template <class T>
bool autoRefused(ZqvSite site, const T* src, int32_t len, const void* dst, int32_t lags) noexcept {
  return zqvCheckFirst(site, {ZQV_CHECK(!src, "Null SRC buffer pointer"), ZQV_CHECK(!dst, "Null DST buffer pointer"),
                              ZQV_CHECK(len < 1, "Invalid SRC buffer length"),
                              ZQV_CHECK(lags < 1 || lags > len, "Invalid LAG value")});
}
template <class A, class B>
bool crossRefused(ZqvSite site, const A* a, int32_t lenA, const B* b, int32_t lenB, const void* dst,
                  int32_t loLag, int32_t hiLag) noexcept {
  return zqvCheckFirst(site, {ZQV_CHECK(!a, "Null SRC buffer pointer"), ZQV_CHECK(!b, "Null SRC buffer pointer"),
                              ZQV_CHECK(!dst, "Null DST buffer pointer"),
                              ZQV_CHECK(lenA < 1, "Invalid SRC buffer length"),
                              ZQV_CHECK(lenB < 1, "Invalid SRC buffer length"),
                              ZQV_CHECK(loLag > hiLag, "Invalid LAG value")});
}

// ---- Cost estimates (operation counts; only comparisons mean anything),
// in 64 bits so that long lag ranges cannot wrap.
inline int64_t floorLog2(int64_t n) noexcept {
  int64_t k = 0;
  while (n > 1) n >>= 1, ++k;
  return k;
}
inline double fftCost(int64_t t) noexcept { return static_cast<double>((floorLog2(t) * t) / 2) * 24.0; }
inline double postCost(int64_t t) noexcept { return t == 1 ? 8.0 : 8.0 + static_cast<double>(t / 2 - 1) * 40.0; }
inline double preCost(int64_t t) noexcept { return t == 1 ? 8.0 : 8.0 + static_cast<double>(t / 2 - 1) * 36.0; }
inline double linCost(int64_t t) noexcept { return 8.0 * static_cast<double>(t); }
inline int64_t pow2AtLeast(int64_t c) noexcept {
  int64_t b = 1;
  while (b < c) b <<= 1;
  return b;
}

enum class Estimate { RealAuto, CplxAuto, RealCross, MixedCross, CplxCross };

// True when the transform method is estimated strictly cheaper.
inline bool transformCheaper(Estimate e, int64_t n, int64_t c) noexcept {
  const int64_t b = pow2AtLeast(c), blocks = (n + b - 1) / b;
  const double nb = static_cast<double>(blocks), bb = static_cast<double>(b);
  double direct = 0, transform = 0;
  auto autoDirect = [&](double perTerm) {
    double s = 0;
    for (int64_t k = 0; k < c && k < n; ++k) s += perTerm * static_cast<double>(n - k);
    return s;
  };
  const double nc = static_cast<double>(n) * static_cast<double>(c);
  switch (e) {
    case Estimate::RealAuto:
      direct = autoDirect(4.0);
      transform = nb * (fftCost(b) + postCost(b) + 20 * bb) + preCost(b) + fftCost(b);
      break;
    case Estimate::CplxAuto:
      direct = autoDirect(11.0);
      transform = 2 * fftCost(2 * b) + 12 * bb + (nb - 1) * (fftCost(2 * b) + 40 * bb);
      break;
    case Estimate::RealCross:
      direct = 4.0 * nc;
      transform = nb * (0.75 * fftCost(2 * b) + 2 * linCost(b) + 14 * bb) + preCost(b) + 0.75 * fftCost(b);
      break;
    case Estimate::MixedCross:
      direct = 8.0 * nc;
      transform = nb * (2 * fftCost(2 * b) + postCost(2 * b) + 28 * bb) + fftCost(2 * b);
      break;
    case Estimate::CplxCross:
      direct = 14.0 * nc;
      transform = nb * (2 * fftCost(2 * b) + 28 * bb) + fftCost(2 * b);
      break;
  }
  return transform < direct;
}

template <class T>
struct RealOf {
  using type = T;
};
template <>
struct RealOf<ZqvCplxS> {
  using type = float;
};
template <>
struct RealOf<ZqvCplxD> {
  using type = double;
};

// ---- Floating-point element helpers: accumulation in double.
struct Acc {
  double re = 0, im = 0;
};
template <class T>
inline void parts(T v, double& re, double& im) noexcept {
  if constexpr (IsCplx<T>::value) re = v.re, im = v.im;
  else re = v, im = 0;
}
// acc += conj(a) * b
template <class A, class B>
inline void addConjProduct(Acc& acc, A a, B b) noexcept {
  double ar, ai, br, bi;
  parts(a, ar, ai);
  parts(b, br, bi);
  acc.re += ar * br + ai * bi;
  acc.im += ar * bi - ai * br;
}
template <class Y>
inline Y fromAcc(double re, double im) noexcept {
  if constexpr (IsCplx<Y>::value) return Y{static_cast<typename RealOf<Y>::type>(re), static_cast<typename RealOf<Y>::type>(im)};
  else return static_cast<Y>(re);
}

// Direct cross-correlation over lags lo..hi, dst[lag - lo].
template <class A, class B, class Y>
void crossDirect(const A* a, int64_t lenA, const B* b, int64_t lenB, Y* dst, int64_t lo, int64_t hi) noexcept {
  for (int64_t lag = lo; lag <= hi; ++lag) {
    const int64_t first = std::max<int64_t>(0, -lag), end = std::min<int64_t>(lenA, lenB - lag);
    Acc acc;
    for (int64_t m = first; m < end; ++m) addConjProduct(acc, a[m], b[m + lag]);
    dst[lag - lo] = fromAcc<Y>(acc.re, acc.im);
  }
}

// The transforms below must run whatever status an earlier call left: the
// status is put aside for them and given back. A transform that fails here
// (its tables could not be had) has reported itself; the caller then sums
// directly instead.
class StatusSetAside {
 public:
  StatusSetAside() noexcept : saved_(zqvStatus()) { zqvSetErrStatus(0); }
  ~StatusSetAside() { zqvSetErrStatus(saved_); }
  bool transformFailed() const noexcept { return zqvStatusNegative(); }

 private:
  int32_t saved_;
};

// Transform method of cross-correlation: blocks of B samples of a against
// windows of M = 2B samples of b, accumulated as conj(A) W in the spectra
// (bit-reversed throughout; a product of spectra needs no natural order).
// False when memory or a transform failed; dst is then untouched.
template <class C, class A, class B, class Y>
bool crossTransform(const A* a, int64_t lenA, const B* b, int64_t lenB, Y* dst, int64_t lo, int64_t hi) noexcept {
  using E = zqvconv::CplxEngine<C>;
  const int64_t c = hi - lo + 1, bl = pow2AtLeast(c), m = 2 * bl;
  const int32_t order = zqvconv::orderOf(m);
  if (order > 30) return false;
  C* acc = static_cast<C*>(zqvconv::workAlloc(static_cast<std::size_t>(m), sizeof(C)));
  C* fa = acc ? static_cast<C*>(zqvconv::workAlloc(static_cast<std::size_t>(m), sizeof(C))) : nullptr;
  C* fw = fa ? static_cast<C*>(zqvconv::workAlloc(static_cast<std::size_t>(m), sizeof(C))) : nullptr;
  bool ok = fw != nullptr;
  if (ok) {
    StatusSetAside aside;
    E::init(order);
    for (int64_t start = 0; ok && start < lenA; start += bl) {
      const int64_t take = std::min(bl, lenA - start);
      for (int64_t i = 0; i < m; ++i) fa[i] = i < take ? zqvconv::widen<C>(a[start + i]) : C{};
      for (int64_t i = 0; i < m; ++i) {
        const int64_t j = lo + start + i;
        fw[i] = (j >= 0 && j < lenB) ? zqvconv::widen<C>(b[j]) : C{};
      }
      E::forward(fa, order);
      E::forward(fw, order);
      for (int64_t i = 0; i < m; ++i) {
        const C x = fa[i], w = fw[i];
        acc[i].re += x.re * w.re + x.im * w.im;
        acc[i].im += x.re * w.im - x.im * w.re;
      }
      ok = !aside.transformFailed();
    }
    if (ok) {
      E::fft(acc, order, ZQV_Inv | ZQV_NoScale | ZQV_InBitRev);
      ok = !aside.transformFailed();
    }
    if (ok) {
      const double scale = 1.0 / static_cast<double>(m);
      for (int64_t i = 0; i < c; ++i) dst[i] = fromAcc<Y>(acc[i].re * scale, acc[i].im * scale);
    }
  }
  std::free(acc);
  std::free(fa);
  std::free(fw);
  return ok;
}

template <class C, class A, class B, class Y>
void crossCorr(ZqvSite site, Estimate e, const A* a, int32_t lenA, const B* b, int32_t lenB, Y* dst,
               int32_t loLag, int32_t hiLag) noexcept {
  if (crossRefused(site, a, lenA, b, lenB, dst, loLag, hiLag)) return;
  const int64_t lo = loLag, hi = hiLag;
  if (transformCheaper(e, lenA, hi - lo + 1) && crossTransform<C>(a, lenA, b, lenB, dst, lo, hi)) return;
  crossDirect(a, lenA, b, lenB, dst, lo, hi);
}

// Normalisation: 1 by len, 2 by the number of terms len - k; any other
// type leaves the sums as they are.
template <class T>
void normalise(T* dst, int64_t len, int64_t lags, int32_t normType) noexcept {
  using R = typename RealOf<T>::type;
  auto scaleBy = [](T& v, R f) {
    if constexpr (IsCplx<T>::value) v.re *= f, v.im *= f;
    else v *= f;
  };
  auto divideBy = [](T& v, R d) {
    if constexpr (IsCplx<T>::value) v.re /= d, v.im /= d;
    else v /= d;
  };
  if (normType == 1) {
    const R f = R(1) / static_cast<R>(len);
    for (int64_t k = 0; k < lags; ++k) scaleBy(dst[k], f);
  } else if (normType == 2) {
    for (int64_t k = 0; k < lags; ++k) divideBy(dst[k], static_cast<R>(len - k));
  }
}

template <class C, class T>
void autoCorr(ZqvSite site, Estimate e, const T* src, int32_t len, T* dst, int32_t lags, int32_t normType) noexcept {
  if (autoRefused(site, src, len, dst, lags)) return;
  if (!(transformCheaper(e, len, lags) && crossTransform<C>(src, len, src, len, dst, 0, int64_t{lags} - 1)))
    crossDirect(src, len, src, len, dst, 0, int64_t{lags} - 1);
  normalise(dst, len, lags, normType);
}

// ---- 16-bit members: 32-bit wrapping sums, a shift and the scale mode.
template <class T>
struct IsCplxW : std::false_type {};
template <>
struct IsCplxW<ZqvCplxW> : std::true_type {};

struct Sum32 {
  int32_t re = 0, im = 0;
};
inline int32_t wrapAdd(int32_t a, int32_t b) noexcept {
  return static_cast<int32_t>(static_cast<uint32_t>(a) + static_cast<uint32_t>(b));
}
template <class T>
inline void partsW(T v, int32_t& re, int32_t& im) noexcept {
  if constexpr (IsCplxW<T>::value) re = v.re, im = v.im;
  else re = v, im = 0;
}
// s += conj(a) * b, each 16-bit product exact in 32 bits; the sums wrap.
template <class A, class B>
inline void addConjProductW(Sum32& s, A a, B b) noexcept {
  int32_t ar, ai, br, bi;
  partsW(a, ar, ai);
  partsW(b, br, bi);
  s.re = wrapAdd(wrapAdd(s.re, ar * br), ai * bi);
  s.im = wrapAdd(s.im, static_cast<int32_t>(static_cast<uint32_t>(ar * bi) - static_cast<uint32_t>(ai * br)));
}

// A shift in any range: right for positive, left (wrapping) for negative.
inline int32_t shiftBy(int32_t v, int64_t shift) noexcept {
  if (shift >= 0) return v >> std::min<int64_t>(shift, 31);
  if (shift <= -32) return 0;
  return static_cast<int32_t>(static_cast<uint32_t>(v) << -shift);
}

class ScaleW {
 public:
  ScaleW(int32_t mode, const int32_t* factor) noexcept
      : auto_(mode == ZQV_AUTO_SCALE), saturate_((mode & 1) != 0),
        shift_((mode & 2) && factor ? *factor : 0) {}
  int64_t shift() const noexcept { return shift_; }
  // Scales one result; in the automatic mode an out-of-range result raises
  // the shift, and written (already scaled) outputs follow through rescale.
  template <class Rescale>
  void scale(int32_t& re, int32_t& im, Rescale rescale) noexcept {
    re = shiftBy(re, shift_);
    im = shiftBy(im, shift_);
    if (auto_ && (outside(re) || outside(im))) {
      const int64_t big = std::max(magnitude(re), magnitude(im));
      const int64_t extra = floorLog2(big) - 14;
      rescale(extra);
      shift_ += extra;
      re = shiftBy(re, extra);
      im = shiftBy(im, extra);
    }
    if (saturate_) re = clamp(re), im = clamp(im);
  }

 private:
  static bool outside(int32_t v) noexcept { return v < -32768 || v > 32767; }
  static int64_t magnitude(int32_t v) noexcept { return v < 0 ? -int64_t{v} : v; }
  static int32_t clamp(int32_t v) noexcept { return std::clamp<int32_t>(v, -32768, 32767); }
  bool auto_, saturate_;
  int64_t shift_;
};

template <class Y>
inline void storeW(Y& d, int32_t re, int32_t im) noexcept {
  if constexpr (IsCplxW<Y>::value) d = Y{static_cast<int16_t>(re), static_cast<int16_t>(im)};
  else d = static_cast<int16_t>(re);
}
template <class Y>
inline void rescaleW(Y* dst, int64_t count, int64_t extra) noexcept {
  for (int64_t i = 0; i < count; ++i) {
    if constexpr (IsCplxW<Y>::value) {
      dst[i].re = static_cast<int16_t>(shiftBy(dst[i].re, extra));
      dst[i].im = static_cast<int16_t>(shiftBy(dst[i].im, extra));
    } else {
      dst[i] = static_cast<int16_t>(shiftBy(dst[i], extra));
    }
  }
}

// Lags in dst order (most negative first): every output ends at the final
// shift, which the automatic mode writes back.
template <class A, class B, class Y>
void crossDirectW(const A* a, int64_t lenA, const B* b, int64_t lenB, Y* dst, int64_t lo, int64_t hi,
                  int64_t normLen, int32_t normType, int32_t mode, int32_t* factor) noexcept {
  ScaleW sc(mode, factor);
  for (int64_t lag = lo; lag <= hi; ++lag) {
    const int64_t first = std::max<int64_t>(0, -lag), end = std::min<int64_t>(lenA, lenB - lag);
    Sum32 s;
    for (int64_t m = first; m < end; ++m) addConjProductW(s, a[m], b[m + lag]);
    if (normType == 1 || normType == 2) {
      const int64_t d = normType == 1 ? normLen : normLen - lag;
      s.re = static_cast<int32_t>(s.re / d);
      s.im = static_cast<int32_t>(s.im / d);
    }
    sc.scale(s.re, s.im, [&](int64_t extra) { rescaleW(dst, lag - lo, extra); });
    storeW(dst[lag - lo], s.re, s.im);
  }
  if (mode == ZQV_AUTO_SCALE) *factor = static_cast<int32_t>(sc.shift());
}

template <class T>
void autoCorrW(ZqvSite site, const T* src, int32_t len, T* dst, int32_t lags, int32_t normType, int32_t mode,
               int32_t* factor) noexcept {
  if (autoRefused(site, src, len, dst, lags)) return;
  if (zqvCheckFirst(site, {ZQV_CHECK(mode == ZQV_AUTO_SCALE && !factor, "Null scale factor pointer")})) return;
  crossDirectW(src, len, src, len, dst, 0, int64_t{lags} - 1, len, normType, mode, factor);
}

template <class A, class B, class Y>
void crossCorrW(ZqvSite site, const A* a, int32_t lenA, const B* b, int32_t lenB, Y* dst, int32_t loLag,
                int32_t hiLag, int32_t mode, int32_t* factor) noexcept {
  if (crossRefused(site, a, lenA, b, lenB, dst, loLag, hiLag)) return;
  if (zqvCheckFirst(site, {ZQV_CHECK(mode == ZQV_AUTO_SCALE && !factor, "Null scale factor pointer")})) return;
  crossDirectW(a, lenA, b, lenB, dst, loLag, hiLag, 0, 0, mode, factor);
}

}  // namespace zqvcorr

#endif
