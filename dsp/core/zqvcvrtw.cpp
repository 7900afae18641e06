// Module zqvcvrtw: complex 16-bit data: parts moved out and back, phase, and
// magnitude and power spectrum narrowed to 16 bits under a scale mode.
#include <cmath>
#include <cstdint>

#include "core/detail/zqvcplxgen.h"
#include "core/detail/zqvcvrt.h"
#include "core/zqvframe.h"

namespace {

constexpr const char* kModule = "zqvcvrtw";

// Complex elements as pairs in one vector, or as two vectors of parts.
struct Pairs {
  const ZqvCplxW* p;
  int32_t re(int64_t i) const noexcept { return p[i].re; }
  int32_t im(int64_t i) const noexcept { return p[i].im; }
};
struct Parts {
  const int16_t* r;
  const int16_t* m;
  int32_t re(int64_t i) const noexcept { return r[i]; }
  int32_t im(int64_t i) const noexcept { return m[i]; }
};

// re^2 + im^2 is at most 2^31 (both parts -32768): exact in 64 bits.
template <class Src>
inline int64_t powerAt(Src s, int64_t i) noexcept {
  const int64_t re = s.re(i), im = s.im(i);
  return re * re + im * im;
}

inline int16_t wrap16(int64_t x) noexcept { return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(x))); }
inline int16_t sat16(int64_t x) noexcept { return static_cast<int16_t>(x > 32767 ? 32767 : x); }

// Shift counts come from the caller unchecked; outside 0..31 they would
// make the shift undefined, so they are held to that range.
inline int32_t shiftOf(int32_t s) noexcept { return s < 0 ? 0 : (s > 31 ? 31 : s); }

// The value that the scaled modes shift: the magnitude converted to an
// integer in the caller's rounding mode, or the power as it is.
struct Magnitude {
  template <class Src>
  static int64_t at(Src s, int64_t i) noexcept {
    return static_cast<int64_t>(std::nearbyint(std::sqrt(static_cast<long double>(powerAt(s, i)))));
  }
};
struct Power {
  template <class Src>
  static int64_t at(Src s, int64_t i) noexcept { return powerAt(s, i); }
};

// Magnitudes of the unscaled modes, element by element: truncated (wrap), or
// rounded to float, limited to 32767 and truncated (saturate).
template <class Src>
void magDirect(Src s, int16_t* out, int64_t from, int64_t to, bool saturate) noexcept {
  for (int64_t i = from; i < to; ++i) {
    const long double m = std::sqrt(static_cast<long double>(powerAt(s, i)));
    if (saturate) {
      const float f = static_cast<float>(m);
      out[i] = static_cast<int16_t>(f > 32767.0f ? 32767 : static_cast<int32_t>(f));
    } else {
      out[i] = wrap16(static_cast<int64_t>(m));
    }
  }
}

// Unscaled magnitudes of long vectors go in blocks of 128 as the float
// routines would do them: the power rounded to float, its float square root,
// rounded to the nearest integer (ties to even), wrapped or saturated. The
// rest is taken directly.
constexpr int64_t kBlock = 128;

template <class Src>
void magUnscaled(Src s, int16_t* out, int64_t n, bool saturate) noexcept {
  const int64_t blocked = n > kBlock ? n - n % kBlock : 0;
  float work[kBlock];
  for (int64_t b = 0; b < blocked; b += kBlock) {
    for (int64_t i = 0; i < kBlock; ++i) work[i] = std::sqrt(static_cast<float>(static_cast<double>(powerAt(s, b + i))));
    zqvcvrt::convertToInt(work, out + b, kBlock, 16, ZQV_CVT_ROUND_NEAR | (saturate ? ZQV_CVT_SATURATE : 0), 0);
  }
  magDirect(s, out, blocked, n, saturate);
}

template <class Value, class Src>
void scaled(Src s, int16_t* out, int64_t n, int32_t shift, bool saturate) noexcept {
  for (int64_t i = 0; i < n; ++i) {
    const int64_t v = Value::at(s, i) >> shift;
    out[i] = saturate ? sat16(v) : wrap16(v);
  }
}

// Automatic mode: the caller's factor is the smallest shift to use; it grows
// until the largest value fits, and the shift used is written back.
template <class Value, class Src>
void autoScaled(Src s, int16_t* out, int64_t n, int32_t* scaleFactor) noexcept {
  int64_t largest = 0;
  for (int64_t i = 0; i < n; ++i) {
    const int64_t v = Value::at(s, i);
    largest = v > largest ? v : largest;
  }
  int32_t shift = shiftOf(*scaleFactor);
  while ((largest >> shift) > 32767) ++shift;
  scaled<Value>(s, out, n, shift, false);
  *scaleFactor = shift;
}

// Both families: the scale-mode checks after the argument checks, then one
// loop per mode. Modes 2 and 3 read the factor (a null pointer means no
// shift); other values than 0..4 do nothing.
template <class Value, class Src>
void narrowed(ZqvSite site, Src s, int16_t* out, int32_t n, int32_t scaleMode, int32_t* scaleFactor) noexcept {
  if (zqvCheckFirst(site, {ZQV_CHECK((scaleMode & ZQV_FIXED_SCALE) && (scaleMode & ZQV_AUTO_SCALE),
                                     "ZQV_FIXED_SCALE and ZQV_AUTO_SCALE"),
                           ZQV_CHECK((scaleMode & ZQV_AUTO_SCALE) && !scaleFactor,
                                     "ZQV_AUTO_SCALE and ScaleFactor==NULL")}))
    return;
  const int32_t fixedShift = scaleFactor ? shiftOf(*scaleFactor) : 0;
  switch (scaleMode) {
    case 0:
    case 1:
      if constexpr (std::is_same_v<Value, Magnitude>) magUnscaled(s, out, n, scaleMode == 1);
      else scaled<Power>(s, out, n, 0, scaleMode == 1);
      return;
    case 2: return scaled<Value>(s, out, n, fixedShift, false);
    case 3: return scaled<Value>(s, out, n, fixedShift, true);
    case 4: return autoScaled<Value>(s, out, n, scaleFactor);
    default: return;
  }
}

template <class Value>
void pairs(ZqvSite site, const char* outName, const ZqvCplxW* src, int16_t* out, int32_t n, int32_t scaleMode,
           int32_t* scaleFactor) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(n <= 0, "length<=0"), ZQV_CHECK(!out, outName), ZQV_CHECK(!src, "src==0")}) ||
      n < 1)
    return;
  narrowed<Value>(site, Pairs{src}, out, n, scaleMode, scaleFactor);
}

template <class Value>
void parts(ZqvSite site, const char* outName, const int16_t* srcReal, const int16_t* srcImag, int16_t* out,
           int32_t n, int32_t scaleMode, int32_t* scaleFactor) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(n <= 0, "length<=0"), ZQV_CHECK(!out, outName),
                         ZQV_CHECK(!srcReal, "srcReal==0"), ZQV_CHECK(!srcImag, "srcImag==0")}) ||
      n < 1)
    return;
  narrowed<Value>(site, Parts{srcReal, srcImag}, out, n, scaleMode, scaleFactor);
}

}  // namespace

// ---- Complex parts ------------------------------------------------------------

ZQVAPI void zqvvbReal(const ZqvCplxW* src, int16_t* dst, int n) noexcept { zqvcplx::real<int16_t>({"zqvvbReal", kModule}, src, dst, n); }
ZQVAPI void zqvvbImag(const ZqvCplxW* src, int16_t* dst, int n) noexcept { zqvcplx::imag<int16_t>({"zqvvbImag", kModule}, src, dst, n); }
ZQVAPI void zqvvbCplxTo2Real(const ZqvCplxW* src, int16_t* dstReal, int16_t* dstImag, int n) noexcept {
  zqvcplx::cplxTo2Real<int16_t>({"zqvvbCplxTo2Real", kModule}, src, dstReal, dstImag, n);
}
ZQVAPI void zqvvb2RealToCplx(const int16_t* srcReal, const int16_t* srcImag, ZqvCplxW* dst, int n) noexcept {
  zqvcplx::twoRealToCplx<int16_t>({"zqvvb2RealToCplx", kModule}, srcReal, srcImag, dst, n);
}

// ---- Phase ----------------------------------------------------------------------

ZQVAPI void zqvvbPhase(const ZqvCplxW* src, int16_t* phase, int n) noexcept {
  zqvcplx::phase<int16_t>({"zqvvbPhase", kModule}, src, phase, n);
}
ZQVAPI void zqvwbrPhase(const int16_t* srcReal, const int16_t* srcImag, int16_t* phase, int n) noexcept {
  zqvcplx::splitPhase<int16_t>({"zqvwbrPhase", kModule}, srcReal, srcImag, phase, n);
}

// ---- Magnitude and power spectrum -----------------------------------------------

ZQVAPI void zqvvbMag(const ZqvCplxW* src, int16_t* mag, int n, int scaleMode, int32_t* scaleFactor) noexcept {
  pairs<Magnitude>({"zqvvbMag", kModule}, "mag==0", src, mag, n, scaleMode, scaleFactor);
}
ZQVAPI void zqvwbrMag(const int16_t* srcReal, const int16_t* srcImag, int16_t* mag, int n, int scaleMode,
                      int32_t* scaleFactor) noexcept {
  parts<Magnitude>({"zqvwbrMag", kModule}, "mag==0", srcReal, srcImag, mag, n, scaleMode, scaleFactor);
}
ZQVAPI void zqvvbPowerSpectr(const ZqvCplxW* src, int16_t* spectr, int n, int scaleMode, int32_t* scaleFactor) noexcept {
  pairs<Power>({"zqvvbPowerSpectr", kModule}, "spectr==0", src, spectr, n, scaleMode, scaleFactor);
}
ZQVAPI void zqvwbrPowerSpectr(const int16_t* srcReal, const int16_t* srcImag, int16_t* spectr, int n, int scaleMode,
                              int32_t* scaleFactor) noexcept {
  parts<Power>({"zqvwbrPowerSpectr", kModule}, "spectr==0", srcReal, srcImag, spectr, n, scaleMode, scaleFactor);
}
