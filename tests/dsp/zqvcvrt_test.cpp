// Number conversions: float/double to 8/16/32-bit integers under the four
// rounding flags with wrap, check and saturation, checked against a long
// double reference; integers to float against exact int64 references; the
// caller's floating-point environment; argument checks.
#include <cfenv>
#include <cmath>
#include <cstring>
#include <functional>
#include <limits>
#include <random>
#include <vector>

#include "zqv_test_support.h"

namespace {

using Cvrt = ZqvTest;

const int32_t kRoundFlags[4] = {ZQV_CVT_ROUND_NEAR, ZQV_CVT_ROUND_ZERO, ZQV_CVT_ROUND_DOWN, ZQV_CVT_ROUND_UP};
const int kModes[4] = {FE_TONEAREST, FE_TOWARDZERO, FE_DOWNWARD, FE_UPWARD};

// ---- Reference --------------------------------------------------------------

long double roundRef(long double x, int32_t roundFlag) {
  switch (roundFlag) {
    case ZQV_CVT_ROUND_ZERO: return std::trunc(x);
    case ZQV_CVT_ROUND_DOWN: return std::floor(x);
    case ZQV_CVT_ROUND_UP: return std::ceil(x);
    default: {
      const long double fl = std::floor(x), d = x - fl;
      if (d > 0.5L) return fl + 1;
      if (d < 0.5L) return fl;
      return std::fmod(fl, 2.0L) == 0 ? fl : fl + 1;
    }
  }
}

struct Expect {
  bool outside;     // the rounded value does not fit (NaN and infinities included)
  bool valueKnown;  // the stored value is fixed
  int64_t value;
};

Expect expectFor(long double x, int bits, bool uns, int32_t flags) {
  const long double lo = uns ? 0.0L : -std::ldexp(1.0L, bits - 1);
  const long double hi = uns ? std::ldexp(1.0L, bits) - 1 : std::ldexp(1.0L, bits - 1) - 1;
  const bool sat = flags & ZQV_CVT_SATURATE;
  if (std::isnan(x)) return {true, sat, static_cast<int64_t>(std::signbit(x) ? lo : hi)};
  const long double v = roundRef(x, flags & 0x780);
  const bool outside = v < lo || v > hi;
  if (sat) return {outside, true, static_cast<int64_t>(v < lo ? lo : (v > hi ? hi : v))};
  if (!outside) return {false, true, static_cast<int64_t>(v)};
  if (bits < 32 && std::fabs(v) < std::ldexp(1.0L, 22)) {
    const int64_t m = int64_t{1} << bits;
    int64_t w = static_cast<int64_t>(v) % m;
    if (w < 0) w += m;
    if (!uns && w >= m / 2) w -= m;
    return {true, true, w};
  }
  return {true, false, 0};
}

int64_t stored(const std::vector<uint8_t>& buf, size_t i, int bits, bool uns) {
  switch (bits) {
    case 8: return uns ? int64_t{buf[i]} : int64_t{static_cast<int8_t>(buf[i])};
    case 16: {
      uint16_t u;
      std::memcpy(&u, buf.data() + 2 * i, 2);
      return uns ? int64_t{u} : int64_t{static_cast<int16_t>(u)};
    }
    default: {
      uint32_t u;
      std::memcpy(&u, buf.data() + 4 * i, 4);
      return uns ? int64_t{u} : int64_t{static_cast<int32_t>(u)};
    }
  }
}

void convert(const float* s, void* d, int32_t n, int bits, int32_t flags) { zqvsbFloatToInt(s, d, n, bits, flags); }
void convert(const double* s, void* d, int32_t n, int bits, int32_t flags) { zqvdbFloatToInt(s, d, n, bits, flags); }
const char* nameOf(const float*) { return "zqvsbFloatToInt"; }
const char* nameOf(const double*) { return "zqvdbFloatToInt"; }
const char* moduleOf(const float*) { return "zqvcvrts"; }
const char* moduleOf(const double*) { return "zqvcvrtd"; }

// Sources around every half-integer of the range of 8/16 bits, around the
// saturation thresholds and zero for 32 bits, with their neighbours, and the
// special values.
template <class S>
std::vector<S> sweep(int bits, bool uns) {
  const long double lo = uns ? 0.0L : -std::ldexp(1.0L, bits - 1);
  const long double hi = uns ? std::ldexp(1.0L, bits) - 1 : std::ldexp(1.0L, bits - 1) - 1;
  std::vector<long double> centres;
  if (bits < 32) {
    for (long double k = lo - 3; k <= hi + 3; k += 1) centres.push_back(k);
  } else {
    for (long double c : {lo, hi, 0.0L, std::ldexp(1.0L, 24), -std::ldexp(1.0L, 24), std::ldexp(1.0L, 31)})
      for (long double k = c - 3; k <= c + 3; k += 1) centres.push_back(k);
  }
  std::vector<S> out;
  const S inf = std::numeric_limits<S>::infinity();
  for (long double k : centres)
    for (long double x : {k, k + 0.5L}) {
      const S v = static_cast<S>(x);
      out.push_back(v);
      out.push_back(std::nextafter(v, inf));
      out.push_back(std::nextafter(v, -inf));
    }
  const S nan = std::numeric_limits<S>::quiet_NaN();
  for (S v : {nan, -nan, inf, -inf, S(1e30), S(-1e30), S(-0.0), S(1e-30), S(-1e-30), S(0.25), S(-0.75)})
    out.push_back(v);
  return out;
}

bool nearThreshold(long double x, int bits, bool uns) {
  const long double lo = uns ? 0.0L : -std::ldexp(1.0L, bits - 1);
  const long double hi = uns ? std::ldexp(1.0L, bits) - 1 : std::ldexp(1.0L, bits - 1) - 1;
  return !std::isfinite(x) || std::fabs(x - lo) <= 2 || std::fabs(x - hi) <= 2 || std::fabs(x) <= 1;
}

template <class S>
void sweepAll() {
  const int32_t kinds[4] = {0, ZQV_CVT_CHECK, ZQV_CVT_SATURATE, ZQV_CVT_SATURATE | ZQV_CVT_CHECK};
  for (int bits : {8, 16, 32})
    for (bool uns : {false, true}) {
      const std::vector<S> src = sweep<S>(bits, uns);
      const int32_t n = static_cast<int32_t>(src.size());
      for (int r = 0; r < 4; ++r)
        for (int32_t kind : kinds) {
          const int32_t flags = kRoundFlags[r] | kind | (uns ? ZQV_CVT_UNSIGNED : 0);
          SCOPED_TRACE(::testing::Message() << nameOf(src.data()) << " bits " << bits << " flags 0x" << std::hex
                                            << flags);
          std::vector<uint8_t> dst(n * 4 + 4, 0xA5);
          bool anyOutside = false;
          // The caller's own mode must not matter.
          std::fesetround(kModes[(r + 1) % 4]);
          clearReports();
          convert(src.data(), dst.data(), n, bits, flags);
          std::fesetround(FE_TONEAREST);
          for (int32_t i = 0; i < n; ++i) {
            const Expect e = expectFor(src[i], bits, uns, flags);
            anyOutside |= e.outside;
            if (e.valueKnown) {
              ASSERT_EQ(stored(dst, i, bits, uns), e.value) << "source " << src[i];
            }
          }
          EXPECT_EQ(dst[n * bits / 8], 0xA5);
          const bool reported = (kind & ZQV_CVT_CHECK) && anyOutside;
          if (reported) {
            EXPECT_TRUE(reportsAre({{ZQV_BAD_ARGUMENT, nameOf(src.data()), "A float exceeds an integer",
                                     moduleOf(src.data())}}));
          } else {
            EXPECT_TRUE(reportsAre({}));
          }
          EXPECT_EQ(zqvGetErrStatus(), reported ? ZQV_BAD_ARGUMENT : 0);
          // Each element's own decision, one element per call near the limits.
          if (!(kind & ZQV_CVT_CHECK)) continue;
          for (int32_t i = 0; i < n; ++i) {
            if (!nearThreshold(src[i], bits, uns)) continue;
            clearReports();
            convert(&src[i], dst.data(), 1, bits, flags);
            ASSERT_EQ(recordedReports().size(), expectFor(src[i], bits, uns, flags).outside ? 1u : 0u)
                << "source " << src[i];
          }
        }
    }
}

TEST_F(Cvrt, FloatSweepAgainstReference) { sweepAll<float>(); }
TEST_F(Cvrt, DoubleSweepAgainstReference) { sweepAll<double>(); }

// Random 32-bit-range doubles and floats, all flags.
TEST_F(Cvrt, Random32BitValues) {
  std::mt19937_64 gen(42);
  std::uniform_real_distribution<double> dist(-5e9, 5e9);
  std::vector<double> d(4000);
  for (auto& x : d) x = dist(gen);
  std::vector<float> f(d.begin(), d.end());
  for (bool uns : {false, true})
    for (int r = 0; r < 4; ++r) {
      const int32_t flags = kRoundFlags[r] | ZQV_CVT_SATURATE | (uns ? ZQV_CVT_UNSIGNED : 0);
      std::vector<uint8_t> a(d.size() * 4), b(d.size() * 4);
      zqvdbFloatToInt(d.data(), a.data(), static_cast<int32_t>(d.size()), 32, flags);
      zqvsbFloatToInt(f.data(), b.data(), static_cast<int32_t>(f.size()), 32, flags);
      for (size_t i = 0; i < d.size(); ++i) {
        ASSERT_EQ(stored(a, i, 32, uns), expectFor(d[i], 32, uns, flags).value) << d[i];
        ASSERT_EQ(stored(b, i, 32, uns), expectFor(f[i], 32, uns, flags).value) << f[i];
      }
    }
}

// Named cases: values, size, flags, expected stores, whether one report follows.
TEST_F(Cvrt, NamedCases) {
  const int32_t N = ZQV_CVT_ROUND_NEAR, Z = ZQV_CVT_ROUND_ZERO, D = ZQV_CVT_ROUND_DOWN, U = ZQV_CVT_ROUND_UP;
  const int32_t UNS = ZQV_CVT_UNSIGNED, SAT = ZQV_CVT_SATURATE, CHK = ZQV_CVT_CHECK;
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    std::vector<double> src;
    int bits;
    int32_t flags;
    std::vector<int64_t> want;
    bool report;
    bool floatToo;
  };
  const std::vector<Case> cases = {
      {{2.5, 3.5, -2.5, -0.5}, 16, N, {2, 4, -2, 0}, false, true},
      {{2.7, -2.7}, 16, Z, {2, -2}, false, true},
      {{2.7, -2.7}, 16, D, {2, -3}, false, true},
      {{2.7, -2.7}, 16, U, {3, -2}, false, true},
      {{127.4, 127.5, -128.5, -129.0, 1000.0}, 8, SAT | N, {127, 127, -128, -128, 127}, false, true},
      {{127.4, 127.5, -128.5, -129.0, 1000.0}, 8, SAT | CHK | N, {127, 127, -128, -128, 127}, true, true},
      {{-128.5}, 8, SAT | CHK | N, {-128}, false, true},
      {{127.2}, 8, SAT | CHK | N, {127}, false, true},
      {{300.0}, 8, UNS | CHK | N, {44}, true, true},
      {{40000.0}, 16, CHK | N, {-25536}, true, true},
      {{-0.5, 254.5}, 8, UNS | SAT | CHK | N, {0, 254}, false, true},
      {{-0.6}, 8, UNS | SAT | CHK | N, {0}, true, true},
      {{255.5}, 8, UNS | SAT | CHK | N, {255}, true, true},
      {{-0.5}, 32, UNS | CHK | Z, {0}, false, true},
      {{-1.0}, 32, UNS | CHK | Z, {0}, true, false},
      {{3000000000.5}, 32, UNS | CHK | Z, {3000000000LL}, false, false},
      {{-0.0}, 32, UNS | SAT | CHK | D, {0}, false, true},
      {{-1e-30}, 32, UNS | SAT | CHK | D, {0}, true, true},
      {{3e9, -3e9, nan}, 32, SAT | N, {2147483647, -2147483648LL, 2147483647}, false, true},
      {{-nan}, 32, SAT | N, {-2147483648LL}, false, true},
      {{4294966000.0, -5.0}, 32, UNS | SAT | N, {4294966000LL, 0}, false, false},
      {{4294966000.0}, 32, UNS | SAT | CHK | N, {4294966000LL}, false, false},
      {{-5.0}, 32, UNS | SAT | CHK | N, {0}, true, true},
  };
  for (const Case& c : cases) {
    const int32_t n = static_cast<int32_t>(c.src.size());
    const bool uns = c.flags & UNS;
    for (int form = 0; form < (c.floatToo ? 2 : 1); ++form) {
      SCOPED_TRACE(::testing::Message() << "first " << c.src[0] << " bits " << c.bits << " flags 0x" << std::hex
                                        << c.flags << (form ? " float" : " double"));
      std::vector<uint8_t> dst(n * 4, 0xA5);
      std::vector<float> f(c.src.begin(), c.src.end());
      zqvSetErrStatus(0);
      clearReports();
      if (form) zqvsbFloatToInt(f.data(), dst.data(), n, c.bits, c.flags);
      else zqvdbFloatToInt(c.src.data(), dst.data(), n, c.bits, c.flags);
      for (int32_t i = 0; i < n; ++i) EXPECT_EQ(stored(dst, i, c.bits, uns), c.want[i]) << i;
      const char* func = form ? "zqvsbFloatToInt" : "zqvdbFloatToInt";
      const char* module = form ? "zqvcvrts" : "zqvcvrtd";
      if (c.report) {
        EXPECT_TRUE(reportsAre({{ZQV_BAD_ARGUMENT, func, "A float exceeds an integer", module}}));
      } else {
        EXPECT_TRUE(reportsAre({}));
      }
      EXPECT_EQ(zqvGetErrStatus(), c.report ? ZQV_BAD_ARGUMENT : 0);
    }
  }
}

// The caller's rounding mode and exception flags are as before the call,
// whatever the call raised inside, and unmasked traps do not fire.
TEST_F(Cvrt, CallerEnvironmentIsKept) {
  const float fs[] = {NAN, -NAN, INFINITY, -INFINITY, 1e30f, -1e30f, 2.5f, 1e-30f};
  const double ds[] = {NAN, -NAN, INFINITY, -INFINITY, 1e300, -1e300, 2.5, 1e-300};
  const int pendings[] = {0, FE_INEXACT | FE_UNDERFLOW, FE_ALL_EXCEPT};
  uint8_t dst[64];
  for (int bits : {8, 16, 32})
    for (int32_t kind : {int32_t{0}, int32_t{ZQV_CVT_CHECK}, int32_t{ZQV_CVT_SATURATE}})
      for (int r = 0; r < 4; ++r)
        for (int mode : kModes)
          for (int pending : pendings) {
            const int32_t flags = kRoundFlags[r] | kind | (bits == 32 ? ZQV_CVT_UNSIGNED : 0);
            std::feclearexcept(FE_ALL_EXCEPT);
            std::feraiseexcept(pending);
            std::fesetround(mode);
            zqvsbFloatToInt(fs, dst, 8, bits, flags);
            zqvdbFloatToInt(ds, dst, 8, bits, flags);
            const int gotMode = std::fegetround(), gotFlags = std::fetestexcept(FE_ALL_EXCEPT);
            std::fesetround(FE_TONEAREST);
            std::feclearexcept(FE_ALL_EXCEPT);
            ASSERT_EQ(gotMode, mode) << bits << " " << flags;
            ASSERT_EQ(gotFlags, pending) << bits << " " << flags;
          }
  // Invalid and overflow unmasked, as the synthesizer runs.
  const int traps = FE_INVALID | FE_OVERFLOW | FE_DIVBYZERO;
  feenableexcept(traps);
  for (int bits : {8, 16, 32})
    for (int32_t kind : {int32_t{0}, int32_t{ZQV_CVT_CHECK}, int32_t{ZQV_CVT_SATURATE}}) {
      zqvsbFloatToInt(fs, dst, 8, bits, ZQV_CVT_ROUND_NEAR | kind);
      zqvdbFloatToInt(ds, dst, 8, bits, ZQV_CVT_ROUND_ZERO | ZQV_CVT_UNSIGNED | kind);
    }
  const int stillEnabled = fegetexcept();
  fedisableexcept(FE_ALL_EXCEPT);
  EXPECT_EQ(stillEnabled, traps);
  EXPECT_EQ(std::fetestexcept(FE_ALL_EXCEPT), 0);
}

// ---- Integers to floats -----------------------------------------------------

TEST_F(Cvrt, Every8And16BitValueIsExact) {
  for (int bits : {8, 16})
    for (bool uns : {false, true}) {
      const int count = 1 << bits;
      std::vector<uint8_t> src(count * 2);
      for (int k = 0; k < count; ++k) {
        if (bits == 8) src[k] = static_cast<uint8_t>(k);
        else std::memcpy(&src[2 * k], &k, 2);
      }
      std::vector<float> f(count + 1, -7.0f);
      std::vector<double> d(count + 1, -7.0);
      const int32_t flags = uns ? ZQV_CVT_UNSIGNED : 0;
      zqvsbIntToFloat(src.data(), f.data(), count, bits, flags);
      zqvdbIntToFloat(src.data(), d.data(), count, bits, flags);
      for (int k = 0; k < count; ++k) {
        const int64_t want = uns || k < count / 2 ? k : k - count;
        ASSERT_EQ(f[k], static_cast<float>(want)) << bits << " " << uns << " " << k;
        ASSERT_EQ(d[k], static_cast<double>(want)) << bits << " " << uns << " " << k;
      }
      EXPECT_EQ(f[count], -7.0f);
      EXPECT_EQ(d[count], -7.0);
    }
  EXPECT_TRUE(reportsAre({}));
}

// v rounded to float in the given mode, from integer arithmetic alone.
float floatOf(int64_t v, int mode) {
  const uint64_t a = v < 0 ? static_cast<uint64_t>(-v) : static_cast<uint64_t>(v);
  int len = 0;
  while ((a >> len) != 0) ++len;
  if (len <= 24) return static_cast<float>(v);
  const uint64_t ulp = uint64_t{1} << (len - 24);
  const uint64_t below = a / ulp * ulp, rest = a - below;
  uint64_t mag = below;
  if (rest != 0) {
    const bool neg = v < 0;
    bool up = false;
    if (mode == FE_TONEAREST) up = rest > ulp / 2 || (rest == ulp / 2 && ((below / ulp) & 1));
    else if (mode == FE_UPWARD) up = !neg;
    else if (mode == FE_DOWNWARD) up = neg;
    if (up) mag += ulp;
  }
  const float m = std::ldexp(static_cast<float>(mag >> (len - 24)), len - 24);  // exact
  return v < 0 ? -m : m;
}

TEST_F(Cvrt, ThirtyTwoBitValuesRoundInTheCallersMode) {
  const std::vector<uint32_t> bitsList = {0u,         1u,          0xFFFFFFFFu, 16777216u,  16777217u,  16777219u,
                                          0xFEFFFFFFu, 0x7FFFFFFFu, 0x80000000u, 0x80000001u, 0x800000C0u, 0xFF000001u,
                                          0xFFFFFF7Fu, 0xFFFFFF80u, 0x7FFFFFC0u, 123456789u, 0xC0000040u};
  const int32_t n = static_cast<int32_t>(bitsList.size());
  for (bool uns : {false, true})
    for (int mode : kModes) {
      std::vector<float> f(n);
      std::vector<double> d(n);
      std::fesetround(mode);
      zqvsbIntToFloat(bitsList.data(), f.data(), n, 32, uns ? ZQV_CVT_UNSIGNED : 0);
      zqvdbIntToFloat(bitsList.data(), d.data(), n, 32, uns ? ZQV_CVT_UNSIGNED : 0);
      std::fesetround(FE_TONEAREST);
      for (int32_t i = 0; i < n; ++i) {
        const int64_t v = uns ? int64_t{bitsList[i]} : int64_t{static_cast<int32_t>(bitsList[i])};
        EXPECT_EQ(f[i], floatOf(v, mode)) << std::hex << bitsList[i] << " mode " << mode << " uns " << uns;
        EXPECT_EQ(d[i], static_cast<double>(v)) << std::hex << bitsList[i];
      }
    }
  // Named values: 0xFFFFFFFF unsigned is 2^32 as a float, 16777217 is 16777216.
  float f[2];
  const uint32_t u[2] = {0xFFFFFFFFu, 16777217u};
  zqvsbIntToFloat(u, f, 2, 32, ZQV_CVT_UNSIGNED);
  EXPECT_EQ(f[0], 4294967296.0f);
  EXPECT_EQ(f[1], 16777216.0f);
}

TEST_F(Cvrt, LengthsAroundGroupsOfFour) {
  const int16_t src[6] = {1, -2, 3, -4, 5, 6};
  for (int32_t len : {1, 4, 5}) {
    float f[6];
    std::fill(f, f + 6, -7.0f);
    zqvsbIntToFloat(src, f, len, 16, 0);
    for (int i = 0; i < 6; ++i) EXPECT_EQ(f[i], i < len ? float(src[i]) : -7.0f) << len << " " << i;
    float g[6] = {1.25f, -2.5f, 3.5f, -4.5f, 5.5f, 6.5f};
    int16_t w[6];
    std::fill(w, w + 6, int16_t{-7});
    zqvsbFloatToInt(g, w, len, 16, ZQV_CVT_ROUND_NEAR);
    const int16_t want[6] = {1, -2, 4, -4, 6, 6};
    for (int i = 0; i < 6; ++i) EXPECT_EQ(w[i], i < len ? want[i] : -7) << len << " " << i;
  }
}

// ---- Status and argument checks ---------------------------------------------

TEST_F(Cvrt, StatusIsClearedOnEntry) {
  const float fs[1] = {2.0f};
  const double ds[1] = {2.0};
  const int16_t ws[1] = {3};
  int16_t w[1];
  float f[1];
  double d[1];
  const std::vector<std::function<bool()>> calls = {
      [&] { zqvsbFloatToInt(fs, w, 1, 16, ZQV_CVT_ROUND_NEAR); return w[0] == 2; },
      [&] { zqvdbFloatToInt(ds, w, 1, 16, ZQV_CVT_ROUND_UP); return w[0] == 2; },
      [&] { zqvsbIntToFloat(ws, f, 1, 16, 0); return f[0] == 3.0f; },
      [&] { zqvdbIntToFloat(ws, d, 1, 16, 0); return d[0] == 3.0; },
  };
  for (size_t k = 0; k < calls.size(); ++k) {
    zqvSetErrStatus(ZQV_BAD_ARGUMENT);
    w[0] = 0, f[0] = 0, d[0] = 0;
    EXPECT_TRUE(calls[k]()) << k;
    EXPECT_EQ(zqvGetErrStatus(), 0) << k;
  }
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(Cvrt, ArgumentChecks) {
  const float fs[2] = {1, 2};
  const double ds[2] = {1, 2};
  const uint8_t bs[2] = {1, 2};
  uint8_t out[8];
  float fo[2];
  double dout[2];
  const int32_t bad = ZQV_BAD_ARGUMENT, N = ZQV_CVT_ROUND_NEAR;
  const std::vector<ReportRow> rows = {
      {"sb len 0, size 12", [&] { zqvsbFloatToInt(fs, out, 0, 12, N); },
       {{bad, "zqvsbFloatToInt", "len<=0", "zqvcvrts"}, {bad, "zqvsbFloatToInt", "Invalid size of an integer", "zqvcvrts"}}},
      {"sb no src, no dst, flags 0", [&] { zqvsbFloatToInt(nullptr, nullptr, 2, 8, 0); },
       {{bad, "zqvsbFloatToInt", "src==0", "zqvcvrts"}, {bad, "zqvsbFloatToInt", "dst==0", "zqvcvrts"},
        {bad, "zqvsbFloatToInt", "Invalid conversion flag", "zqvcvrts"}}},
      {"sb two rounding flags", [&] { zqvsbFloatToInt(fs, out, 2, 8, 0x180); },
       {{bad, "zqvsbFloatToInt", "Invalid conversion flag", "zqvcvrts"}}},
      {"db everything", [&] { zqvdbFloatToInt(nullptr, nullptr, -1, 24, 0x600 | ZQV_CVT_SATURATE); },
       {{bad, "zqvdbFloatToInt", "len<=0", "zqvcvrtd"}, {bad, "zqvdbFloatToInt", "src==0", "zqvcvrtd"},
        {bad, "zqvdbFloatToInt", "dst==0", "zqvcvrtd"}, {bad, "zqvdbFloatToInt", "Invalid size of an integer", "zqvcvrtd"},
        {bad, "zqvdbFloatToInt", "Invalid conversion flag", "zqvcvrtd"}}},
      {"db no rounding flag", [&] { zqvdbFloatToInt(ds, out, 2, 16, ZQV_CVT_SATURATE | ZQV_CVT_CHECK); },
       {{bad, "zqvdbFloatToInt", "Invalid conversion flag", "zqvcvrtd"}}},
      {"sb int rounding flag", [&] { zqvsbIntToFloat(bs, fo, 2, 8, 0x80); },
       {{bad, "zqvsbIntToFloat", "Invalid conversion flag", "zqvcvrts"}}},
      {"sb int size 24", [&] { zqvsbIntToFloat(bs, fo, 2, 24, 0); },
       {{bad, "zqvsbIntToFloat", "Invalid size of an integer", "zqvcvrts"}}},
      {"sb int nothing", [&] { zqvsbIntToFloat(nullptr, nullptr, 0, 8, ZQV_CVT_UNSIGNED); },
       {{bad, "zqvsbIntToFloat", "len<=0", "zqvcvrts"}, {bad, "zqvsbIntToFloat", "src==0", "zqvcvrts"},
        {bad, "zqvsbIntToFloat", "dst==0", "zqvcvrts"}}},
      {"db int flags", [&] { zqvdbIntToFloat(bs, dout, 2, 32, 0x801); },
       {{bad, "zqvdbIntToFloat", "Invalid conversion flag", "zqvcvrtd"}}},
      {"db int no dst, size 0", [&] { zqvdbIntToFloat(bs, nullptr, 2, 0, 0); },
       {{bad, "zqvdbIntToFloat", "dst==0", "zqvcvrtd"}, {bad, "zqvdbIntToFloat", "Invalid size of an integer", "zqvcvrtd"}}},
  };
  auto untouched = [&] {
    std::fill(out, out + 8, uint8_t{0xA5});
    fo[0] = fo[1] = -7.0f;
    dout[0] = dout[1] = -7.0;
  };
  untouched();
  expectReportRows(rows, bad, [&](const ReportRow&) {
    for (uint8_t b : out) EXPECT_EQ(b, 0xA5);
    EXPECT_TRUE(fo[0] == -7.0f && fo[1] == -7.0f && dout[0] == -7.0 && dout[1] == -7.0);
    untouched();
  });
}

// Every report carries the line that the library's table of conversion
// reports fixes: one line for the argument checks, one for the value that
// does not fit.
TEST_F(Cvrt, ReportLines) {
  const float f = 1e6f;
  const double d = 1e6;
  const int16_t ws = 1;
  int16_t w = 0;
  float fo = 0;
  double dout = 0;
  const int32_t bad = ZQV_BAD_ARGUMENT, CN = ZQV_CVT_ROUND_NEAR | ZQV_CVT_CHECK;
  const std::vector<ReportRow> rows = {
      {"sb checks", [&] { zqvsbFloatToInt(&f, nullptr, 0, 16, CN); },
       {{bad, "zqvsbFloatToInt", "len<=0", "zqvcvrts", 284}, {bad, "zqvsbFloatToInt", "dst==0", "zqvcvrts", 284}}},
      {"sb exceeds", [&] { zqvsbFloatToInt(&f, &w, 1, 16, CN); },
       {{bad, "zqvsbFloatToInt", "A float exceeds an integer", "zqvcvrts", 288}}},
      {"db checks", [&] { zqvdbFloatToInt(&d, &w, 1, 12, 0); },
       {{bad, "zqvdbFloatToInt", "Invalid size of an integer", "zqvcvrtd", 279},
        {bad, "zqvdbFloatToInt", "Invalid conversion flag", "zqvcvrtd", 279}}},
      {"db exceeds", [&] { zqvdbFloatToInt(&d, &w, 1, 8, CN | ZQV_CVT_SATURATE); },
       {{bad, "zqvdbFloatToInt", "A float exceeds an integer", "zqvcvrtd", 284}}},
      {"sb int checks", [&] { zqvsbIntToFloat(nullptr, &fo, 1, 24, 0); },
       {{bad, "zqvsbIntToFloat", "src==0", "zqvcvrts", 407},
        {bad, "zqvsbIntToFloat", "Invalid size of an integer", "zqvcvrts", 407}}},
      {"db int checks", [&] { zqvdbIntToFloat(&ws, &dout, -1, 16, 0x80); },
       {{bad, "zqvdbIntToFloat", "len<=0", "zqvcvrtd", 413},
        {bad, "zqvdbIntToFloat", "Invalid conversion flag", "zqvcvrtd", 413}}},
  };
  expectReportRows(rows);
}

}  // namespace
