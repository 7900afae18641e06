// Module zqvfftw: the FFTs for 16-bit data, front ends over the float
// transforms. Each converts its input into the thread's work buffers, runs
// the float transform there and narrows the result by the scale mode.
#include <algorithm>
#include <cstdint>
#include <cstring>

#include "core/zqvframe.h"
#include "core/detail/zqvscale.h"
#include "transforms/detail/zqvfftint.h"

namespace {

constexpr const char* kModule = "zqvfftw";

// The float transform behind a front end, on one or two float buffers.
enum class Kind { Complex, Split, RealL, CcsL, Real, Ccs, Real2, Ccs2 };

struct Form {
  Kind kind;
  const char* floatName;    // named in the -1 reports: "out <name> ZQV_Init"
  const char* initReport;
  const char* calcReport;
  int32_t bitOrder, inLayout, outLayout;  // what the flag check examines
};

constexpr Form kComplex{Kind::Complex, "zqvcFft", "out zqvcFft ZQV_Init", "out zqvcFft calc. FFT", 1, 0, 0};
constexpr Form kSplit{Kind::Split, "zqvcrFft", "out zqvcrFft ZQV_Init", "out zqvcrFft calc. FFT", 1, 0, 0};
constexpr Form kRealL{Kind::RealL, "zqvsRealFftl", "out zqvsRealFftl ZQV_Init", "out zqvsRealFftl calc. FFT", 0, 0, 1};
constexpr Form kCcsL{Kind::CcsL, "zqvsCcsFftl", "out zqvsCcsFftl ZQV_Init", "out zqvsCcsFftl calc. FFT", 0, 1, 0};
constexpr Form kReal{Kind::Real, "zqvsRealFft", "out zqvsRealFft ZQV_Init", "out zqvsRealFft calc. FFT", 0, 0, 0};
constexpr Form kCcs{Kind::Ccs, "zqvsCcsFft", "out zqvsCcsFft ZQV_Init", "out zqvsCcsFft calc. FFT", 0, 0, 0};
constexpr Form kReal2{Kind::Real2, "zqvsReal2Fft", "out zqvsReal2Fft ZQV_Init", "out zqvsReal2Fft calc. FFT", 0, 0, 0};
constexpr Form kCcs2{Kind::Ccs2, "zqvsCcs2Fft", "out zqvsCcs2Fft ZQV_Init", "out zqvsCcs2Fft calc. FFT", 0, 0, 0};

bool twoArrays(Kind k) { return k == Kind::Split || k == Kind::Real2 || k == Kind::Ccs2; }
bool realForm(Kind k) { return k != Kind::Complex && k != Kind::Split; }
// The real forms run a complex transform of half the order.
int32_t pairOrder(Kind k, int32_t order) {
  return (k == Kind::RealL || k == Kind::CcsL || k == Kind::Real || k == Kind::Ccs) ? order - 1 : order;
}

// 16-bit values read and written per array at N = 2^order.
int64_t valuesIn(Kind k, int64_t n) {
  switch (k) {
    case Kind::Complex: return 2 * n;
    case Kind::Ccs:
    case Kind::Ccs2: return n + 2;
    default: return n;
  }
}
int64_t valuesOut(Kind k, int64_t n) {
  switch (k) {
    case Kind::Complex: return 2 * n;
    case Kind::Real:
    case Kind::Real2: return n + 2;
    default: return n;
  }
}

void runFloat(Kind k, float* a, float* b, int32_t order, int32_t flags) {
  switch (k) {
    case Kind::Complex: return zqvcFft(reinterpret_cast<ZqvCplxS*>(a), order, flags);
    case Kind::Split: return zqvcrFft(a, b, order, flags);
    case Kind::RealL: return zqvsRealFftl(a, order, flags);
    case Kind::CcsL: return zqvsCcsFftl(a, order, flags);
    case Kind::Real: return zqvsRealFft(a, order, flags);
    case Kind::Ccs: return zqvsCcsFft(a, order, flags);
    case Kind::Real2: return zqvsReal2Fft(a, b, order, flags);
    case Kind::Ccs2: return zqvsCcs2Fft(a, b, order, flags);
  }
}

void releaseAll() noexcept {
  zqvcFreeKernelTbls();
  zqvzFreeKernelTbls();
  zqvFreeWorkBufs();
}

// Buffers of slots 1 (and 2) of count complex floats; after a shortage every
// kernel table and buffer is released and the fetch tried once more.
bool workBuffers(int64_t count, bool two, float*& a, float*& b) noexcept {
  if (count > INT32_MAX) return false;
  for (int attempt = 0; attempt < 2; ++attempt) {
    a = reinterpret_cast<float*>(zqvGetWorkBuf(static_cast<int32_t>(count), 1));
    b = two && a ? reinterpret_cast<float*>(zqvGetWorkBuf(static_cast<int32_t>(count), 2)) : nullptr;
    if (a && (b || !two)) return true;
    releaseAll();
  }
  return false;
}

// Modes 0 and 1 round to nearest and saturate; the others narrow by the
// scale rules, with one shift common to both arrays of a two-array form.
void narrowBack(const float* a, const float* b, int16_t* outA, int16_t* outB, int32_t count, int32_t scaleMode,
                int32_t* scaleFactor) noexcept {
  if (scaleMode == 0 || scaleMode == 1) {
    zqvsbFloatToInt(a, outA, count, 16, ZQV_CVT_ROUND_NEAR | ZQV_CVT_SATURATE);
    if (outB) zqvsbFloatToInt(b, outB, count, 16, ZQV_CVT_ROUND_NEAR | ZQV_CVT_SATURATE);
  } else if (outB) {
    zqvsbrScaleToW(a, b, outA, outB, count, scaleMode, scaleFactor);
  } else {
    zqvsbScaleToW(a, outA, count, scaleMode, scaleFactor);
  }
}

// The real forms at orders 0 and 1 need no float transform: one sum and one
// difference per array, halved (rounding toward minus infinity) for a scaled
// inverse, written through the 32-bit narrowing.
void smallReal(Kind k, const int16_t* in, int16_t* out, bool nip, int32_t order, int32_t flags, int32_t scaleMode,
               int32_t* scaleFactor) noexcept {
  const bool ccsOut = k == Kind::Real || k == Kind::Real2;
  if (order == 0) {
    // In place only the two-signal form clears element 1; the not-in-place
    // forms with a CCS output do.
    if (nip) out[0] = in[0];
    if (ccsOut && (nip || k == Kind::Real2)) out[1] = 0;
    return;
  }
  const int32_t u = in[0], v = (k == Kind::Ccs || k == Kind::Ccs2) ? in[2] : in[1];
  int32_t a = u + v, b = u - v;
  if ((flags & ZQV_Inv) && !(flags & ZQV_NoScale)) {
    a >>= 1;
    b >>= 1;
  }
  const int32_t ccs[4] = {a, 0, b, 0};
  const int32_t packed[2] = {a, b};
  zqvibScaleToW(ccsOut ? ccs : packed, out, ccsOut ? 4 : 2, scaleMode, scaleFactor);
}

// The arrays of one call: inputs and outputs (the same for in-place forms),
// with the names their null checks report.
struct Arrays {
  const int16_t* inA;
  const int16_t* inB;
  int16_t* outA;
  int16_t* outB;
};

// Both scale faults are examined; returns how many were reported.
int32_t zqvFftwCheckScale(int32_t scaleMode, int32_t* scaleFactor, const char* funcName, int32_t line) noexcept {
  int32_t faults = 0;
  if ((scaleMode & ZQV_FIXED_SCALE) && (scaleMode & ZQV_AUTO_SCALE)) {
    zqvError(ZQV_BAD_ARGUMENT, funcName, "ZQV_FIXED_SCALE and ZQV_AUTO_SCALE", kModule, line);
    ++faults;
  }
  if ((scaleMode & ZQV_AUTO_SCALE) && scaleFactor == nullptr) {
    zqvError(ZQV_BAD_ARGUMENT, funcName, "ZQV_AUTO_SCALE and scaleFactor==NULL", kModule, line);
    ++faults;
  }
  return faults;
}

// One front end: checks, the small real orders, buffers, the float transform
// and the conversion back. A failed float transform is reported again and
// leaves the caller's arrays as they were.
void frontEnd(ZqvSite site, const Form& form, const Arrays& arr, bool nip, std::initializer_list<ZqvCheck> nulls,
              int32_t order, int32_t flags, int32_t scaleMode, int32_t* scaleFactor) noexcept {
  const Kind k = form.kind;
  const bool two = twoArrays(k);
  if (flags & ZQV_FreeTbls) {
    runFloat(k, nullptr, nullptr, order, ZQV_FreeTbls);
    const int32_t p = pairOrder(k, order);
    if (p >= 0 && p <= 31) zqvFreeBitRevPairTbl(p);
    zqvFreeWorkBufs();
    return;
  }
  if (zqvCheckAll(site, {ZQV_CHECK(order < 0, "order<0"), ZQV_CHECK(order > 31, "order>31")})) return;
  const bool init = flags & ZQV_Init;
  if (!init) {
    if (zqvCheckAll(site, nulls)) return;
    if (zqvFftCheckFlags(flags, form.bitOrder, form.inLayout, form.outLayout, site.func, site.module, __LINE__)) return;
    if (zqvFftwCheckScale(scaleMode, scaleFactor, site.func, __LINE__)) return;
  }
  if (realForm(k) && order <= 1) {
    if (init) return;
    smallReal(k, arr.inA, arr.outA, nip, order, flags, scaleMode, scaleFactor);
    if (two) smallReal(k, arr.inB, arr.outB, nip, order, flags, scaleMode, scaleFactor);
    return;
  }
  if (order == 0) {
    if (init || !nip) return;
    arr.outA[0] = arr.inA[0];
    if (two) arr.outB[0] = arr.inB[0];
    return;
  }
  const int64_t n = int64_t{1} << order;
  const int64_t in = valuesIn(k, n), out = valuesOut(k, n);
  float* a = nullptr;
  float* b = nullptr;
  if (std::max(in, out) > INT32_MAX || !workBuffers((std::max(in, out) + 1) / 2, two, a, b)) {
    zqvError(ZQV_OUT_OF_MEMORY, site.func, "No working memory", site.module, __LINE__);
    return;
  }
  if (init) {
    runFloat(k, nullptr, nullptr, order, ZQV_Init);
    if (zqvStatusNegative()) zqvBacktrace(site, form.initReport, __LINE__);
    return;
  }
  zqvsbIntToFloat(arr.inA, a, static_cast<int32_t>(in), 16, 0);
  if (two) zqvsbIntToFloat(arr.inB, b, static_cast<int32_t>(in), 16, 0);
  runFloat(k, a, b, order, flags);
  if (zqvStatusNegative()) {
    zqvBacktrace(site, form.calcReport, __LINE__);
    return;
  }
  narrowBack(a, b, arr.outA, two ? arr.outB : nullptr, static_cast<int32_t>(out), scaleMode, scaleFactor);
}

int16_t* words(ZqvCplxW* v) { return reinterpret_cast<int16_t*>(v); }
const int16_t* words(const ZqvCplxW* v) { return reinterpret_cast<const int16_t*>(v); }

}  // namespace

// ---- Complex ----------------------------------------------------------------

ZQVAPI void zqvvFft(ZqvCplxW* samps, int32_t order, int32_t flags, int32_t scaleMode, int32_t* scaleFactor) noexcept {
  frontEnd({"zqvvFft", kModule}, kComplex, {words(samps), nullptr, words(samps), nullptr}, false,
           {ZQV_CHECK(samps == nullptr, "samps==0")}, order, flags, scaleMode, scaleFactor);
}

ZQVAPI void zqvvFftNip(const ZqvCplxW* inSamps, ZqvCplxW* outSamps, int32_t order, int32_t flags, int32_t scaleMode,
                       int32_t* scaleFactor) noexcept {
  const ZqvSite site{"zqvvFftNip", kModule};
  if (flags & (ZQV_FreeTbls | ZQV_Init)) return zqvvFft(outSamps, order, flags, scaleMode, scaleFactor);
  if (zqvCheckAll(site, {ZQV_CHECK(order < 0, "order<0"), ZQV_CHECK(order > 31, "order>31")}) ||
      zqvCheckAll(site, {ZQV_CHECK(inSamps == nullptr, "inSamps==0"), ZQV_CHECK(outSamps == nullptr, "outSamps==0")}) ||
      zqvFftCheckFlags(flags, 1, 0, 0, site.func, site.module, __LINE__) ||
      zqvFftwCheckScale(scaleMode, scaleFactor, site.func, __LINE__))
    return;
  if (order == 0) {
    outSamps[0] = inSamps[0];
    return;
  }
  // The in-place transform's work, read from the input rather than from a
  // copy in the output, so that a failure leaves the output as it was.
  frontEnd({"zqvvFft", kModule}, kComplex, {words(inSamps), nullptr, words(outSamps), nullptr}, true, {}, order, flags,
           scaleMode, scaleFactor);
  if (zqvStatusNegative()) zqvBacktrace(site, "out zqvvFft", __LINE__);
}

ZQVAPI void zqvvrFft(int16_t* reSamps, int16_t* imSamps, int32_t order, int32_t flags, int32_t scaleMode,
                     int32_t* scaleFactor) noexcept {
  frontEnd({"zqvvrFft", kModule}, kSplit, {reSamps, imSamps, reSamps, imSamps}, false,
           {ZQV_CHECK(reSamps == nullptr, "reSamps==0"), ZQV_CHECK(imSamps == nullptr, "imSamps==0")}, order, flags,
           scaleMode, scaleFactor);
}

ZQVAPI void zqvvrFftNip(const int16_t* reInSamps, const int16_t* imInSamps, int16_t* reOutSamps, int16_t* imOutSamps,
                        int32_t order, int32_t flags, int32_t scaleMode, int32_t* scaleFactor) noexcept {
  frontEnd({"zqvvrFftNip", kModule}, kSplit, {reInSamps, imInSamps, reOutSamps, imOutSamps}, true,
           {ZQV_CHECK(reInSamps == nullptr, "reInSamps==0"), ZQV_CHECK(imInSamps == nullptr, "imInSamps==0"),
            ZQV_CHECK(reOutSamps == nullptr, "reOutSamps==0"), ZQV_CHECK(imOutSamps == nullptr, "imOutSamps==0")},
           order, flags, scaleMode, scaleFactor);
}

// ---- Real, one signal -------------------------------------------------------

#define ZQV_FFTW_ONE(name, form)                                                                                \
  ZQVAPI void name(int16_t* samps, int32_t order, int32_t flags, int32_t scaleMode, int32_t* scaleFactor) noexcept { \
    frontEnd({#name, kModule}, form, {samps, nullptr, samps, nullptr}, false,                                  \
             {ZQV_CHECK(samps == nullptr, "samps==0")}, order, flags, scaleMode, scaleFactor);                  \
  }                                                                                                             \
  ZQVAPI void name##Nip(const int16_t* inSamps, int16_t* outSamps, int32_t order, int32_t flags, int32_t scaleMode, \
                        int32_t* scaleFactor) noexcept {                                                        \
    frontEnd({#name "Nip", kModule}, form, {inSamps, nullptr, outSamps, nullptr}, true,                         \
             {ZQV_CHECK(inSamps == nullptr, "inSamps==0"), ZQV_CHECK(outSamps == nullptr, "outSamps==0")}, order, \
             flags, scaleMode, scaleFactor);                                                                    \
  }

ZQV_FFTW_ONE(zqvwRealFftl, kRealL)
ZQV_FFTW_ONE(zqvwCcsFftl, kCcsL)
ZQV_FFTW_ONE(zqvwRealFft, kReal)
ZQV_FFTW_ONE(zqvwCcsFft, kCcs)

// ---- Real, two signals ------------------------------------------------------

#define ZQV_FFTW_TWO(name, form)                                                                                 \
  ZQVAPI void name(int16_t* xSamps, int16_t* ySamps, int32_t order, int32_t flags, int32_t scaleMode,             \
                   int32_t* scaleFactor) noexcept {                                                              \
    frontEnd({#name, kModule}, form, {xSamps, ySamps, xSamps, ySamps}, false,                                   \
             {ZQV_CHECK(xSamps == nullptr, "xSamps==0"), ZQV_CHECK(ySamps == nullptr, "ySamps==0")}, order, flags, \
             scaleMode, scaleFactor);                                                                            \
  }                                                                                                              \
  ZQVAPI void name##Nip(const int16_t* xInSamps, const int16_t* yInSamps, int16_t* xOutSamps, int16_t* yOutSamps, \
                        int32_t order, int32_t flags, int32_t scaleMode, int32_t* scaleFactor) noexcept {        \
    frontEnd({#name "Nip", kModule}, form, {xInSamps, yInSamps, xOutSamps, yOutSamps}, true,                     \
             {ZQV_CHECK(xInSamps == nullptr, "xInSamps==0"), ZQV_CHECK(yInSamps == nullptr, "yInSamps==0"),       \
              ZQV_CHECK(xOutSamps == nullptr, "xOutSamps==0"), ZQV_CHECK(yOutSamps == nullptr, "yOutSamps==0")},  \
             order, flags, scaleMode, scaleFactor);                                                              \
  }

ZQV_FFTW_TWO(zqvwReal2Fft, kReal2)
ZQV_FFTW_TWO(zqvwCcs2Fft, kCcs2)

// ---- Products of packed real spectra ------------------------------------------

namespace {

// The two real values of a packed spectrum and where its complex pairs begin.
struct Packing {
  bool perm;  // RCPerm: Re0, Re(N/2), pairs; RCPack: Re0, pairs, Re(N/2)
  int64_t e1(int64_t n) const noexcept { return perm ? 1 : n - 1; }
  int64_t firstPair() const noexcept { return perm ? 2 : 1; }
};

// One real product stored by a fixed shift (down by f as (r + 1) >> f) or none, then saturated (mode 3, or no fixed shift and mode not 0)
// or cut to its low 16 bits. Shifts are clamped where the result no longer
// changes, so that no shift is undefined.
int16_t storeEnd(int64_t r, int32_t scaleMode, const int32_t* scaleFactor) noexcept {
  bool saturate = scaleMode != 0;
  if (scaleMode & ZQV_FIXED_SCALE) {
    const int32_t f = scaleFactor ? *scaleFactor : 0;
    if (f > 0) r = ((r >> 1) + (r & 1)) >> std::min(f - 1, 40);
    else if (f < 0) r *= int64_t{1} << std::min(-static_cast<int64_t>(f), int64_t{20});
    saturate = scaleMode == 3;
  }
  if (saturate) return static_cast<int16_t>(std::clamp<int64_t>(r, -32768, 32767));
  return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(r)));
}

// The N/2 - 1 complex pairs of N values, by the complex vector product; the
// 2 forms multiply in place, dst being the second operand.
void pairProducts(const int16_t* a, const int16_t* b, int16_t* dst, bool twoForm, int64_t n, int32_t scaleMode,
                  int32_t* scaleFactor) noexcept {
  const auto* pa = reinterpret_cast<const ZqvCplxW*>(a);
  auto* pd = reinterpret_cast<ZqvCplxW*>(dst);
  const auto pairs = static_cast<int32_t>(n / 2 - 1);
  if (twoForm) zqvvbMpy2(pa, pd, pairs, scaleMode, scaleFactor);
  else zqvvbMpy3(pa, reinterpret_cast<const ZqvCplxW*>(b), pd, pairs, scaleMode, scaleFactor);
}

bool fits16(int64_t v) noexcept { return v >= -32768 && v <= 32767; }

// dst = a * b for packed real spectra of N = 2^order values: the two real
// values multiplied here, the complex pairs by the complex vector product.
// In automatic mode both end at one shift, the larger one needed.
void packedProduct(ZqvSite site, Packing pk, const int16_t* a, const int16_t* b, int16_t* dst, bool twoForm,
                   int32_t order, int32_t scaleMode, int32_t* scaleFactor) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(order < 0, "order<0"), ZQV_CHECK(order > 31, "order>31"),
                         ZQV_CHECK(!twoForm && !a, "srcA==0"), ZQV_CHECK(!twoForm && !b, "srcB==0"),
                         ZQV_CHECK(twoForm && !a, "src==0"), ZQV_CHECK(!dst, "dst==0")}))
    return;
  const bool autoScale = scaleMode & ZQV_AUTO_SCALE;
  if (zqvCheckAll(site, {ZQV_CHECK(autoScale && !scaleFactor, "scaleFactor==0")})) return;
  const int64_t n = int64_t{1} << order;
  const int64_t e1 = pk.e1(n), first = pk.firstPair();
  int64_t p = int64_t{a[0]} * b[0];
  int64_t q = order >= 1 ? int64_t{a[e1]} * b[e1] : 0;
  if (!autoScale) {
    dst[0] = storeEnd(p, scaleMode, scaleFactor);
    if (order >= 1) dst[e1] = storeEnd(q, scaleMode, scaleFactor);
    if (order >= 2) pairProducts(a + first, b + first, dst + first, twoForm, n, scaleMode, scaleFactor);
    return;
  }
  // The shift of the end values: the smallest that makes both fit.
  int32_t f = 0;
  while (!fits16(p) || !fits16(q)) {
    ++f;
    p >>= 1;
    q >>= 1;
  }
  if (order >= 2) {
    pairProducts(a + first, b + first, dst + first, twoForm, n, ZQV_AUTO_SCALE, scaleFactor);
    const int32_t g = *scaleFactor;
    if (g > f) {
      p >>= g - f;
      q >>= g - f;
      f = g;
    } else if (g < f) {
      for (int64_t i = first; i < first + n - 2; ++i) dst[i] = static_cast<int16_t>(dst[i] >> (f - g));
    }
  }
  *scaleFactor = f;
  dst[0] = static_cast<int16_t>(p);
  if (order >= 1) dst[e1] = static_cast<int16_t>(q);
}

}  // namespace

ZQVAPI void zqvwMpyRCPack2(const int16_t* src, int16_t* dst, int32_t order, int32_t scaleMode,
                           int32_t* scaleFactor) noexcept {
  packedProduct({"zqvwMpyRCPack2", kModule}, Packing{false}, src, dst, dst, true, order, scaleMode, scaleFactor);
}
ZQVAPI void zqvwMpyRCPack3(const int16_t* srcA, const int16_t* srcB, int16_t* dst, int32_t order, int32_t scaleMode,
                           int32_t* scaleFactor) noexcept {
  packedProduct({"zqvwMpyRCPack3", kModule}, Packing{false}, srcA, srcB, dst, false, order, scaleMode, scaleFactor);
}
ZQVAPI void zqvwMpyRCPerm2(const int16_t* src, int16_t* dst, int32_t order, int32_t scaleMode,
                           int32_t* scaleFactor) noexcept {
  packedProduct({"zqvwMpyRCPerm2", kModule}, Packing{true}, src, dst, dst, true, order, scaleMode, scaleFactor);
}
ZQVAPI void zqvwMpyRCPerm3(const int16_t* srcA, const int16_t* srcB, int16_t* dst, int32_t order, int32_t scaleMode,
                           int32_t* scaleFactor) noexcept {
  packedProduct({"zqvwMpyRCPerm3", kModule}, Packing{true}, srcA, srcB, dst, false, order, scaleMode, scaleFactor);
}
