// Natural logarithm and exponential of float and double vectors.
//
// The float results are the floats nearest the exact values. Each is first
// computed in double by a fast kernel (a 16-entry table and a short
// polynomial; with AVX-512, sixteen floats per step with the tables in
// registers); a result whose double lies too near a midpoint between two
// floats to be rounded safely, and every special input, is computed again
// alone by an exact path. The double kernels reduce without tables (x = f 2^e
// for the logarithm, x = k ln2 + r for the exponential) and finish with a
// polynomial or rational approximation. Every element's result depends only
// on its input, never on its position or its neighbours. The kernels run in
// round-to-nearest with nothing trapping, and the caller's floating-point
// environment (mode and flags) is restored after.
#include <immintrin.h>

#include <atomic>
#include <bit>
#include <cfenv>
#include <cstdint>
#include <limits>
#include <type_traits>

#include "core/detail/zqvisa.h"
#include "core/zqvframe.h"
#include "core/zqvlnexp.h"
#include "zqvp4.h"

namespace {

constexpr const char* kModule = "zqvlnexp";

// Round to nearest, all exceptions masked; the caller's environment,
// including its exception flags, is back in force on destruction.
class KernelEnvironment {
 public:
  KernelEnvironment() noexcept {
    feholdexcept(&saved_);
    fesetround(FE_TONEAREST);
  }
  ~KernelEnvironment() { fesetenv(&saved_); }
  KernelEnvironment(const KernelEnvironment&) = delete;
  KernelEnvironment& operator=(const KernelEnvironment&) = delete;

 private:
  fenv_t saved_;
};

// The vector kernels use only the SSE/AVX unit: its control and status
// register alone is set (round to nearest, everything masked) and restored
// with the caller's flags, which costs far less than the whole environment.
class VectorEnvironment {
 public:
  VectorEnvironment() noexcept : saved_(_mm_getcsr()) { _mm_setcsr((saved_ | 0x1F80u) & ~0x6000u); }
  ~VectorEnvironment() { _mm_setcsr(saved_); }
  VectorEnvironment(const VectorEnvironment&) = delete;
  VectorEnvironment& operator=(const VectorEnvironment&) = delete;

 private:
  unsigned saved_;
};

constexpr double kLn2 = 0x1.62e42fefa39efp-1;
constexpr double kLn2Hi = 0x1.62e42fee00000p-1;
constexpr double kLn2Lo = 0x1.a39ef35793c76p-33;
constexpr double kLog2e = 0x1.71547652b82fep+0;
// Adding and subtracting 1.5 * 2^52 rounds to an integer (ties to even) and
// leaves that integer, two's complement, in the low word of the sum.
constexpr double kRoundToInt = 0x1.8p52;

constexpr float kNaNf = std::bit_cast<float>(0xFFC00000u);
constexpr double kNaNd = std::bit_cast<double>(0xFFF8000000000000ull);
constexpr float kMinusInfF = -std::numeric_limits<float>::infinity();
constexpr double kMinusInfD = -std::numeric_limits<double>::infinity();

// Branch-free choice between two values, made on their bit patterns: the
// compiler keeps floating-point selections as branches, which would stop the
// element loops from running several elements per instruction.
inline float pick(bool c, float a, float b) noexcept {
  const uint32_t m = 0u - uint32_t(c);
  return std::bit_cast<float>((std::bit_cast<uint32_t>(a) & m) | (std::bit_cast<uint32_t>(b) & ~m));
}
inline double pick(bool c, double a, double b) noexcept {
  const uint64_t m = 0ull - uint64_t(c);
  return std::bit_cast<double>((std::bit_cast<uint64_t>(a) & m) | (std::bit_cast<uint64_t>(b) & ~m));
}

// ln y for y near 1 (within [0.7, 1.43]) in long double: 2 atanh(s) with
// s = (y-1)/(y+1), summed until the terms are below 2^-80 of the result.
constexpr long double lnNearOne(long double y) noexcept {
  const long double s = (y - 1) / (y + 1), z = s * s;
  long double sum = 0;
  for (int i = 20; i >= 0; --i) sum = sum * z + 1.0L / (2 * i + 1);
  return 2 * s * sum;
}

// ln2 = kLn2Top + kLn2Rest to 2^-99 (kLn2RestLong: to 2^-110); kLn2Top
// ends in 11 zero bits, so k kLn2Top is exact for |k| < 2^11.
constexpr double kLn2Top = 0x1.62e42fefa3800p-1;
constexpr double kLn2Rest = 0x1.ef35793c7673p-45;
constexpr long double kLn2RestLong = 0xf.79abc9e3b39803fp-48L;

// Float logarithm of zero, negative, infinite and NaN inputs.
inline float lnSpecial(float x) noexcept {
  const uint32_t hx = std::bit_cast<uint32_t>(x);
  if ((hx & 0x7FFFFFFFu) == 0) return kMinusInfF;  // +0 and -0
  if (hx > 0x80000000u) return kNaNf;               // negative (and negative NaN)
  return x + x;                                     // +inf stays, NaN is quieted
}

// Positive finite floats (subnormal ones included) whose fast result may be
// wrongly rounded. In long double (round to nearest, 64-bit precision) the
// result is within 2^-62 of ln x relative, which rounds to the nearest float
// on every input (checked over all of them).
float lnPositiveExact(float x) noexcept {
  const uint32_t hx = std::bit_cast<uint32_t>(x);
  const bool subnormal = hx < 0x00800000u;
  const uint32_t hs = std::bit_cast<uint32_t>(subnormal ? x * 0x1p25f : x);
  const uint32_t frac = hs & 0x7FFFFFu;
  const bool upper = frac >= 0x3504F3u;  // fraction at or above sqrt(2)
  const float f = std::bit_cast<float>(frac | (upper ? 0x3F000000u : 0x3F800000u));
  const int32_t e = int32_t(hs >> 23) - (upper ? 126 : 127) - (subnormal ? 25 : 0);
  const long double de = e;
  return float(lnNearOne(f) + (de * (long double)kLn2Top + de * kLn2RestLong));
}

inline bool lnIsSpecial(uint32_t hx) noexcept { return hx - 1u >= 0x7F7FFFFFu; }  // not in (0, inf)

// The fast float logarithm, for positive normal x: x = 2^k z with z in
// [kLnOff, 2 kLnOff) (0.699 to 1.398), cut into 16 steps of equal float
// fraction. In step j, ln z = -ln(invc_j) + ln(1 + r), r = z invc_j - 1, where
// invc_j is near the inverse of the step's centre and has at most 21
// significant bits: z invc_j and r are exact in double, |r| < 0.031. The
// step holding 1 has invc = 1, so near x = 1 the result keeps its relative
// accuracy. ln(1 + r) is its series to r^9 (truncation below 2^-53.6
// absolute, 2^-52 relative in the step at 1).
constexpr uint32_t kLnOff = 0x3F330000u;

struct LnTable {
  double invc[16];
  double logc[16];  // -ln(invc) rounded to double
};

constexpr LnTable makeLnTable() noexcept {
  LnTable t{};
  for (uint32_t j = 0; j < 16; ++j) {
    const double lo = std::bit_cast<float>(kLnOff + (j << 19));
    const double hi = std::bit_cast<float>(kLnOff + ((j + 1) << 19));
    double invc = 1.0;
    if (!(lo <= 1.0 && 1.0 < hi)) invc = double(int64_t(2.0 / (lo + hi) * 0x1p20 + 0.5)) * 0x1p-20;
    t.invc[j] = invc;
    t.logc[j] = double(-lnNearOne(invc));
  }
  return t;
}
constexpr LnTable kLnTable = makeLnTable();

// Coefficients of q with ln(1 + r) = r + r^2 q(r).
constexpr double kLnQ[8] = {-1.0 / 2, 1.0 / 3, -1.0 / 4, 1.0 / 5, -1.0 / 6, 1.0 / 7, -1.0 / 8, 1.0 / 9};

// ln x as a double within 2^-50 of it, relative, for a positive normal float
// of bits ix: k kLn2Top is exact, each of the remaining sums and products
// loses at most 2^-53 of terms no larger than a few times the result.
inline double lnEstimate(uint32_t ix) noexcept {
  const uint32_t tmp = ix - kLnOff;
  const int32_t k = int32_t(tmp) >> 23;
  const uint32_t j = (tmp >> 19) & 15u;
  const double z = std::bit_cast<float>(ix - (tmp & 0xFF800000u));
  const double r = z * kLnTable.invc[j] - 1.0;
  const double r2 = r * r;
  const double q = (kLnQ[0] + r * kLnQ[1] + r2 * (kLnQ[2] + r * kLnQ[3])) +
                   (r2 * r2) * ((kLnQ[4] + r * kLnQ[5]) + r2 * (kLnQ[6] + r * kLnQ[7]));
  const double dk = k;
  const double hi = dk * kLn2Top + kLnTable.logc[j];
  const double lo = dk * kLn2Rest + r2 * q;
  return hi + (r + lo);
}

// A double y whose error is at most E units in its last place rounds to the
// float nearest the exact value unless its 29 bits below the float's last
// place lie within E of the half. The test allows kSlack units on each side,
// four times the largest E below; about one result in 30000 is sent to the
// exact path. (No float logarithm or exponential of a float other than
// ln 1 and e^0, both exact, is a float or a midpoint.)
constexpr uint64_t kSlack = 8192;
inline bool nearFloatMidpoint(double y) noexcept {
  const uint64_t t = (std::bit_cast<uint64_t>(y) - (0x10000000u - kSlack)) & 0x1FFFFFFFu;
  return t <= 2 * kSlack;
}

inline float lnElem(float x) noexcept {
  const uint32_t ix = std::bit_cast<uint32_t>(x);
  if (ix - 0x00800000u < 0x7F000000u) {  // positive normal
    const double y = lnEstimate(ix);
    if (!nearFloatMidpoint(y)) return float(y);
  }
  return lnIsSpecial(ix) ? lnSpecial(x) : lnPositiveExact(x);
}

// Double logarithm: with h = (f-1)^2/2 and R = z (L1 + ... + z L7),
// ln x = ((f-1) + ((s (h + R) + e ln2lo) - h)) + e ln2hi.
inline double lnElem(double x) noexcept {
  constexpr double L1 = 0x1.5555555555592p-1, L2 = 0x1.999999997ff24p-2,
                   L3 = 0x1.24924941e07b4p-2, L4 = 0x1.c71c52150bea6p-3,
                   L5 = 0x1.74663cc94342fp-3, L6 = 0x1.39a1ec014045bp-3,
                   L7 = 0x1.2f039f0085122p-3;
  const uint64_t hx = std::bit_cast<uint64_t>(x);
  const uint32_t hiWord = uint32_t(hx >> 32);
  const bool subnormal = (hiWord & 0x7FF00000u) == 0;
  const double xs = x * pick(subnormal, 0x1p54, 1.0);
  const uint64_t hs = std::bit_cast<uint64_t>(xs);
  const uint32_t hsHi = uint32_t(hs >> 32);
  const int32_t biased = int32_t((hsHi >> 20) & 0x7FFu);
  const bool upper = (hsHi & 0xFFFFFu) >= 0x6A09Eu;
  const double f = std::bit_cast<double>((hs & 0x000FFFFFFFFFFFFFull) |
                                         (upper ? 0x3FE0000000000000ull : 0x3FF0000000000000ull));
  const int32_t e = biased - (upper ? 1022 : 1023) - (subnormal ? 54 : 0);
  const double fm1 = f - 1.0;
  const double s = fm1 / (f + 1.0);
  const double z = s * s;
  const double h = fm1 * fm1 * 0.5;
  const double R = z * (L1 + z * (L2 + z * (L3 + z * (L4 + z * (L5 + z * (L6 + z * L7))))));
  const double de = e;
  double r = (fm1 + ((s * (h + R) + de * kLn2Lo) - h)) + de * kLn2Hi;
  r = pick((hx & 0x7FFFFFFFFFFFFFFFull) == 0, kMinusInfD, r);
  r = pick(hx > 0x8000000000000000ull, kNaNd, r);
  const double self = x + x;
  r = pick(hx >= 0x7FF0000000000000ull && hx < 0x8000000000000000ull, self, r);
  return r;
}

// e^x = (1 + q) 2^k with k = round(x log2e), r = (x - k ln2hi) - k ln2lo,
// q = 2 r P / (Q - r P), P and Q short polynomials in r^2.
inline double expCore(double x, int64_t& k) noexcept {
  constexpr double P1 = 0.006943600015117929, P2 = 1.6520330026827912e-05;
  constexpr double Q1 = 0.05555386669690012, Q2 = 0.0004958628849054413;
  const double shifted = x * kLog2e + kRoundToInt;
  k = int64_t(std::bit_cast<uint64_t>(shifted) << 32) >> 32;
  const double kd = shifted - kRoundToInt;
  const double r = (x - kd * kLn2Hi) - kd * kLn2Lo;
  const double w = r * r;
  const double P = 0.25 + w * (P1 + w * P2);
  const double Q = 0.5 + w * (Q1 + w * Q2);
  const double rp = r * P;
  const double q = (2.0 * rp) / (Q - rp);
  return 1.0 + q;
}

inline double pow2(int64_t k) noexcept {  // k within the normal exponent range
  return std::bit_cast<double>(uint64_t(k + 1023) << 52);
}

// Inputs are clamped where the float result is already 0 or +inf; results
// between are exact to rounding, subnormal ones included.
inline float expElem(float x) noexcept {
  double xd = x;
  xd = pick(xd < -120.0, -120.0, xd);
  xd = pick(xd > 100.0, 100.0, xd);
  int64_t k;
  const double y = expCore(xd, k);
  const float r = float(y * pow2(k));
  const float self = x + x;
  return pick(x != x, self, r);
}

// The power of two is applied in two halves, so that results near the
// overflow threshold and gradual-underflow results are rounded only once.
inline double expElem(double x) noexcept {
  double xc = pick(x < -760.0, -760.0, x);
  xc = pick(xc > 720.0, 720.0, xc);
  int64_t k;
  const double y = expCore(xc, k);
  const int64_t k1 = k >> 1;
  const double r = (y * pow2(k1)) * pow2(k - k1);
  const double self = x + x;
  return pick(x != x, self, r);
}

// The fast float exponential, for -87.25 < x < 88.8 (normal results and
// overflow): x = (16 m + j) ln2/16 + r with |r| <= ln2/32 + tiny, e^x =
// 2^m 2^(j/16) e^r, e^r by a polynomial of degree 5 (below). ln2/16 is split
// in two; x - k kLn2Top/16, formed in one fused operation, is exact (a
// multiple of 2^-46 below 2^-5 in size).
constexpr double kExpShift = 0x1.8p52;
constexpr double kExpLimitLow = -87.25, kExpLimitHigh = 88.8;

constexpr long double sqrtNewton(long double a) noexcept {
  long double y = 1.0L;
  for (int i = 0; i < 60; ++i) y = (y + a / y) / 2;
  return y;
}
struct ExpTable {
  double pow2[16];  // 2^(j/16), rounded to double
};
constexpr ExpTable makeExpTable() noexcept {
  ExpTable t{};
  const long double step = sqrtNewton(sqrtNewton(sqrtNewton(sqrtNewton(2.0L))));
  long double v = 1.0L;
  for (int j = 0; j < 16; ++j, v *= step) t.pow2[j] = double(v);
  return t;
}
constexpr ExpTable kExpTable = makeExpTable();
// (e^r - 1 - r) / r^2 by a cubic fitted at the Chebyshev nodes of |r| <=
// ln2/32: error below 2^-34.6, so e^r is off by less than 2^-45.6 relative;
// with the roundings the result stays within 2^-45 (2^9 units in its last
// place), inside the check's slack.
constexpr double kExpFitQ[4] = {0x1.ffffffff57d7ap-2, 0x1.555555552549dp-3, 0x1.5556b342d63fcp-5,
                                0x1.1111d90668ed1p-7};

// Vector kernels for processors with AVX-512: sixteen floats per step, each
// half of them in double in one register; the tables sit in registers and
// are read by permutes. A lane whose double result lies near a float midpoint,
// or whose input is special, is computed again alone by the exact path. Every
// result is the float nearest the exact value, as on the portable build.
#define ZQV_AVX512 __attribute__((target("avx512f,avx512dq")))

// The intrinsics leave their unused merge operand undefined on purpose, which
// this compiler reports as possibly uninitialised once they are inlined.
#pragma GCC diagnostic push
#if !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif

// nearFloatMidpoint for the sixteen results of y0 (lanes 0-7) and y1
// (lanes 8-15): the low words of their bit patterns are gathered into one
// register first.
ZQV_AVX512 inline __mmask16 nearFloatMidpoint16(__m512d y0, __m512d y1) noexcept {
  const __m512i low = _mm512_permutex2var_epi32(
      _mm512_castpd_si512(y0), _mm512_setr_epi32(0, 2, 4, 6, 8, 10, 12, 14, 16, 18, 20, 22, 24, 26, 28, 30),
      _mm512_castpd_si512(y1));
  const __m512i t = _mm512_and_si512(_mm512_sub_epi32(low, _mm512_set1_epi32(int32_t(0x10000000u - kSlack))),
                                     _mm512_set1_epi32(0x1FFFFFFF));
  return _mm512_cmple_epu32_mask(t, _mm512_set1_epi32(int32_t(2 * kSlack)));
}

ZQV_AVX512 inline __mmask16 liveLanes(int64_t left) noexcept {
  return left >= 16 ? __mmask16(0xFFFF) : __mmask16((1u << left) - 1);
}

// The lanes of slow get the exact path's result; x holds the inputs (the
// source may already be overwritten when the call works in place).
ZQV_AVX512 __attribute__((noinline, cold)) void redoLanes(__m512 x, __mmask16 slow, float* dst, float (*exact)(float)) noexcept {
  alignas(64) float xs[16];
  _mm512_store_ps(xs, x);
  for (uint32_t m = slow; m != 0; m &= m - 1) {
    const int b = __builtin_ctz(m);
    dst[b] = exact(xs[b]);
  }
}

// The logarithm's exact path computes in long double: the x87 unit is set
// up (and restored after) only when such a lane occurs.
float lnRedo(float x) noexcept {
  if (lnIsSpecial(std::bit_cast<uint32_t>(x))) return lnSpecial(x);
  KernelEnvironment env;
  return lnPositiveExact(x);
}

struct LnRegs {
  __m512d inv0, inv1, log0, log1;
};

// q of degree 5 fitted at the Chebyshev nodes of |r| <= 0.0297: its error is
// below 2^-38.4, so r^2 q is off by less than 2^-48.5 absolute and 2^-43.5
// relative to ln(1 + r), and the result by less than 2^-42.8 relative (no
// more than 2^11 units in its last place), within the check's slack.
constexpr double kLnFitQ[6] = {-0x1.0000000005d1ap-1, 0x1.555555555fadap-2, -0x1.fffff8b7fafb1p-3,
                               0x1.99999320a7db9p-3,  -0x1.55abb4d4164c6p-3, 0x1.24df10287ae51p-3};

// As lnEstimate, on the input converted to double (a subnormal float is a
// normal double, so it needs no scaling), with fused operations and the
// shorter q above: p = ln(1 + r) by Horner's rule, and k ln2 + ln c rounded once, the product with the whole
// double ln2 being exact inside the fused operation (the ln2 rounding adds
// below 2^-53 of k ln2).
ZQV_AVX512 inline __m512d lnHalf(const LnRegs& t, __m256 x8) noexcept {
  constexpr int64_t kOff = int64_t(std::bit_cast<uint64_t>(double(std::bit_cast<float>(kLnOff))));
  const __m512i ix = _mm512_castpd_si512(_mm512_cvtps_pd(x8));
  const __m512i tmp = _mm512_sub_epi64(ix, _mm512_set1_epi64(kOff));
  const __m512d dk = _mm512_cvtepi64_pd(_mm512_srai_epi64(tmp, 52));
  const __m512i j = _mm512_srli_epi64(tmp, 48);  // the permutes read its low 4 bits
  const __m512d z = _mm512_castsi512_pd(
      _mm512_sub_epi64(ix, _mm512_and_si512(tmp, _mm512_set1_epi64(int64_t(0xFFF0000000000000ull)))));
  const __m512d invc = _mm512_permutex2var_pd(t.inv0, j, t.inv1);
  const __m512d logc = _mm512_permutex2var_pd(t.log0, j, t.log1);
  const __m512d r = _mm512_fmsub_pd(z, invc, _mm512_set1_pd(1.0));  // exact
  __m512d q = _mm512_set1_pd(kLnFitQ[5]);
  for (int i = 4; i >= 0; --i) q = _mm512_fmadd_pd(q, r, _mm512_set1_pd(kLnFitQ[i]));
  const __m512d p = _mm512_fmadd_pd(_mm512_mul_pd(r, r), q, r);
  const __m512d hi = _mm512_fmadd_pd(dk, _mm512_set1_pd(kLn2), logc);
  return _mm512_add_pd(hi, p);
}

ZQV_AVX512 inline void lnBlock(const LnRegs& t, const float* src, float* dst, __mmask16 live) noexcept {
  const __m512 x = _mm512_maskz_loadu_ps(live, src);
  // Zero, negative, infinite and NaN inputs take the exact path.
  const __mmask16 special = _mm512_cmpge_epu32_mask(
      _mm512_sub_epi32(_mm512_castps_si512(x), _mm512_set1_epi32(1)), _mm512_set1_epi32(0x7F7FFFFF));
  const __m512d y0 = lnHalf(t, _mm512_castps512_ps256(x));
  const __m512d y1 = lnHalf(t, _mm512_extractf32x8_ps(x, 1));
  const __m512 f = _mm512_insertf32x8(_mm512_castps256_ps512(_mm512_cvtpd_ps(y0)), _mm512_cvtpd_ps(y1), 1);
  _mm512_mask_storeu_ps(dst, live, f);
  const __mmask16 slow =
      (special | nearFloatMidpoint16(y0, y1)) & live;
  if (__builtin_expect(slow != 0, 0)) redoLanes(x, slow, dst, lnRedo);
}

ZQV_AVX512 void lnKernel512(const float* src, float* dst, int64_t n) noexcept {
  const LnRegs t{_mm512_loadu_pd(kLnTable.invc), _mm512_loadu_pd(kLnTable.invc + 8),
                 _mm512_loadu_pd(kLnTable.logc), _mm512_loadu_pd(kLnTable.logc + 8)};
  int64_t i = 0;
  for (; i + 16 <= n; i += 16) lnBlock(t, src + i, dst + i, 0xFFFF);
  if (i < n) lnBlock(t, src + i, dst + i, liveLanes(n - i));
}

struct ExpRegs {
  __m512d pow0, pow1;
};

ZQV_AVX512 inline __m512d expHalf(const ExpRegs& t, __m256 x8) noexcept {
  const __m512d x = _mm512_cvtps_pd(x8);
  const __m512d shift = _mm512_set1_pd(kExpShift);
  const __m512d sh = _mm512_fmadd_pd(x, _mm512_set1_pd(16 * kLog2e), shift);
  const __m512d dk = _mm512_sub_pd(sh, shift);
  // The low 16 bits of sh are those of k (the shift's are zero).
  const __m512i k = _mm512_castpd_si512(sh);
  __m512d r = _mm512_fnmadd_pd(dk, _mm512_set1_pd(kLn2Top / 16), x);  // exact
  r = _mm512_fnmadd_pd(dk, _mm512_set1_pd(kLn2Rest / 16), r);
  // 2^(j/16) with 2^m added into its exponent: (k - j) 2^48 = m 2^52
  // modulo 2^64.
  const __m512d p2 = _mm512_permutex2var_pd(t.pow0, k, t.pow1);
  const __m512d s = _mm512_castsi512_pd(_mm512_add_epi64(
      _mm512_castpd_si512(p2), _mm512_slli_epi64(_mm512_andnot_si512(_mm512_set1_epi64(15), k), 48)));
  __m512d e = _mm512_set1_pd(kExpFitQ[3]);  // (e^r - 1 - r) / r^2
  for (int i = 2; i >= 0; --i) e = _mm512_fmadd_pd(e, r, _mm512_set1_pd(kExpFitQ[i]));
  const __m512d p = _mm512_fmadd_pd(_mm512_mul_pd(r, r), e, r);  // e^r - 1
  return _mm512_fmadd_pd(s, p, s);
}

float expExact(float x) noexcept { return expElem(x); }  // SSE only

ZQV_AVX512 inline void expBlock(const ExpRegs& t, const float* src, float* dst, __mmask16 live) noexcept {
  const __m512 x = _mm512_maskz_loadu_ps(live, src);
  // NaN, infinite and very large or small inputs take the exact path.
  const __mmask16 regular = _mm512_cmp_ps_mask(x, _mm512_set1_ps(float(kExpLimitLow)), _CMP_GT_OQ) &
                            _mm512_cmp_ps_mask(x, _mm512_set1_ps(float(kExpLimitHigh)), _CMP_LT_OQ);
  const __m512d y0 = expHalf(t, _mm512_castps512_ps256(x));
  const __m512d y1 = expHalf(t, _mm512_extractf32x8_ps(x, 1));
  const __m512 f = _mm512_insertf32x8(_mm512_castps256_ps512(_mm512_cvtpd_ps(y0)), _mm512_cvtpd_ps(y1), 1);
  _mm512_mask_storeu_ps(dst, live, f);
  const __mmask16 slow =
      (__mmask16(~regular) | nearFloatMidpoint16(y0, y1)) & live;
  if (__builtin_expect(slow != 0, 0)) redoLanes(x, slow, dst, expExact);
}

// The exponential visits the blocks from the last to the first.
ZQV_AVX512 void expKernel512(const float* src, float* dst, int64_t n) noexcept {
  const ExpRegs t{_mm512_loadu_pd(kExpTable.pow2), _mm512_loadu_pd(kExpTable.pow2 + 8)};
  int64_t i = n - n % 16;
  if (i < n) expBlock(t, src + i, dst + i, liveLanes(n - i));
  for (i -= 16; i >= 0; i -= 16) expBlock(t, src + i, dst + i, 0xFFFF);
}

#pragma GCC diagnostic pop

std::atomic<bool> gWideAllowed{true};

bool wideVectors() noexcept {
  static const bool has = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx512f") != 0 && __builtin_cpu_supports("avx512dq") != 0;
  }();
  return has && gWideAllowed.load(std::memory_order_relaxed);
}

// 512-bit, 256-bit and baseline builds of the kernels (core/detail/zqvisa.h);
// every element is computed alone and without contraction, so all give the
// same bits.
template <class T>
ZQV_KERNEL void lnKernel(const T* src, T* dst, int64_t n) noexcept {
  for (int64_t i = 0; i < n; ++i) dst[i] = lnElem(src[i]);
}
// The exponential visits the elements from the last to the first.
template <class T>
ZQV_KERNEL void expKernel(const T* src, T* dst, int64_t n) noexcept {
  for (int64_t i = n - 1; i >= 0; --i) dst[i] = expElem(src[i]);
}

enum class Fn { Ln, Exp };

template <Fn F, class T>
void runKernel(const T* src, T* dst, int64_t n) noexcept {
  if constexpr (std::is_same_v<T, float>) {
    if (wideVectors()) {
      VectorEnvironment env;
      if constexpr (F == Fn::Ln) lnKernel512(src, dst, n);
      else expKernel512(src, dst, n);
      return;
    }
  }
  KernelEnvironment env;
  if constexpr (F == Fn::Ln) ZQV_RUN(lnKernel<T>)(src, dst, n);
  else ZQV_RUN(expKernel<T>)(src, dst, n);
}

template <Fn F, class T>
void inPlace(ZqvSite site, T* vec, int32_t len) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(len <= 0, "len<=0"), ZQV_CHECK(vec == nullptr, "vec==0")}))
    return;
  runKernel<F>(vec, vec, len);
}

template <Fn F, class T>
void toDestination(ZqvSite site, const T* src, T* dst, int32_t len) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(len <= 0, "len<=0"), ZQV_CHECK(src == nullptr, "src==0"),
                         ZQV_CHECK(dst == nullptr, "dst==0")}))
    return;
  runKernel<F>(src, dst, len);
}

}  // namespace

void zqvLnExpAllowWideVectors(bool allow) noexcept { gWideAllowed.store(allow, std::memory_order_relaxed); }

// vec (replaced by its logarithm), len elements.
ZQVAPI void zqvsbLn1(float* vec, int32_t len) noexcept {
  inPlace<Fn::Ln>({"zqvsbLn1", kModule}, vec, len);
}
ZQVAPI void zqvdbLn1(double* vec, int32_t len) noexcept {
  inPlace<Fn::Ln>({"zqvdbLn1", kModule}, vec, len);
}
// src, dst (may equal src), len elements.
ZQVAPI void zqvsbLn2(const float* src, float* dst, int32_t len) noexcept {
  toDestination<Fn::Ln>({"zqvsbLn2", kModule}, src, dst, len);
}
ZQVAPI void zqvdbLn2(const double* src, double* dst, int32_t len) noexcept {
  toDestination<Fn::Ln>({"zqvdbLn2", kModule}, src, dst, len);
}
// vec (replaced by its exponential), len elements.
ZQVAPI void zqvsbExp1(float* vec, int32_t len) noexcept {
  inPlace<Fn::Exp>({"zqvsbExp1", kModule}, vec, len);
}
ZQVAPI void zqvdbExp1(double* vec, int32_t len) noexcept {
  inPlace<Fn::Exp>({"zqvdbExp1", kModule}, vec, len);
}
// src, dst (may equal src), len elements.
ZQVAPI void zqvsbExp2(const float* src, float* dst, int32_t len) noexcept {
  toDestination<Fn::Exp>({"zqvsbExp2", kModule}, src, dst, len);
}
ZQVAPI void zqvdbExp2(const double* src, double* dst, int32_t len) noexcept {
  toDestination<Fn::Exp>({"zqvdbExp2", kModule}, src, dst, len);
}
