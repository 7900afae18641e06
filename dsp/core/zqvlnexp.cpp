// Natural logarithm and exponential of float and double vectors.
//
// Each element is reduced without tables (x = f * 2^e for the logarithm,
// x = k ln2 + r for the exponential) and finished by a short polynomial or
// rational approximation in double. The element kernels are branch-free so
// that the loops run several elements per step; every element is computed by
// the same kernel, so its result does not depend on its position or on its
// neighbours. The kernels run in round-to-nearest with nothing trapping, and
// the caller's floating-point environment (mode and flags) is restored after.
#include <bit>
#include <cfenv>
#include <cstdint>
#include <limits>

#include "core/zqvframe.h"
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

// Float logarithm: ln x = s (C1 + z (C2 + ...)) + e ln2, s = (f-1)/(f+1), z = s^2,
// with 0.7071 <= f < 1.4142. Subnormal inputs are scaled into the normal range first.
inline float lnElem(float x) noexcept {
  constexpr double C1 = 2.000000000046727, C2 = 0.666666635059382, C3 = 0.4000059794795,
                   C4 = 0.28525381498, C5 = 0.2376245609;
  const uint32_t hx = std::bit_cast<uint32_t>(x);
  const bool subnormal = (hx & 0x7F800000u) == 0;
  const float xs = x * pick(subnormal, 0x1p25f, 1.0f);
  const uint32_t hs = std::bit_cast<uint32_t>(xs);
  const int32_t biased = int32_t((hs >> 23) & 0xFFu);
  const uint32_t frac = hs & 0x7FFFFFu;
  const bool upper = frac >= 0x3504F0u;  // fraction at or above sqrt(2)
  const float f = std::bit_cast<float>(frac | (upper ? 0x3F000000u : 0x3F800000u));
  const int32_t e = biased - (upper ? 126 : 127) - (subnormal ? 25 : 0);
  const double fd = f;
  const double s = (fd - 1.0) / (fd + 1.0);
  const double z = s * s;
  const double ln = s * (C1 + z * (C2 + z * (C3 + z * (C4 + z * C5)))) + double(e) * kLn2;
  float r = float(ln);
  r = pick((hx & 0x7FFFFFFFu) == 0, kMinusInfF, r);        // +0 and -0
  r = pick(hx > 0x80000000u, kNaNf, r);                    // negative (and negative NaN)
  const float self = x + x;  // +inf stays, NaN is quieted
  r = pick(hx >= 0x7F800000u && hx < 0x80000000u, self, r);
  return r;
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

// 512-bit, 256-bit and baseline builds of the kernels, chosen at load time;
// every element is computed alone and without contraction, so all give the
// same bits.
#define ZQV_KERNEL_CLONES __attribute__((target_clones("avx512f", "avx2", "default")))

ZQV_KERNEL_CLONES void lnKernel(const float* src, float* dst, int64_t n) noexcept {
  for (int64_t i = 0; i < n; ++i) dst[i] = lnElem(src[i]);
}
ZQV_KERNEL_CLONES void lnKernel(const double* src, double* dst, int64_t n) noexcept {
  for (int64_t i = 0; i < n; ++i) dst[i] = lnElem(src[i]);
}
// The exponential visits the elements from the last to the first.
ZQV_KERNEL_CLONES void expKernel(const float* src, float* dst, int64_t n) noexcept {
  for (int64_t i = n - 1; i >= 0; --i) dst[i] = expElem(src[i]);
}
ZQV_KERNEL_CLONES void expKernel(const double* src, double* dst, int64_t n) noexcept {
  for (int64_t i = n - 1; i >= 0; --i) dst[i] = expElem(src[i]);
}

enum class Fn { Ln, Exp };

template <Fn F, class T>
void inPlace(ZqvSite site, T* vec, int32_t len) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(len <= 0, "len<=0"), ZQV_CHECK(vec == nullptr, "vec==0")}))
    return;
  KernelEnvironment env;
  if constexpr (F == Fn::Ln) lnKernel(vec, vec, len);
  else expKernel(vec, vec, len);
}

template <Fn F, class T>
void toDestination(ZqvSite site, const T* src, T* dst, int32_t len) noexcept {
  if (zqvCheckAll(site, {ZQV_CHECK(len <= 0, "len<=0"), ZQV_CHECK(src == nullptr, "src==0"),
                         ZQV_CHECK(dst == nullptr, "dst==0")}))
    return;
  KernelEnvironment env;
  if constexpr (F == Fn::Ln) lnKernel(src, dst, len);
  else expKernel(src, dst, len);
}

}  // namespace

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
