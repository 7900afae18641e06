// Dot products: floating forms against long-double sums and exact integer
// data, 16-bit forms against exact 64-bit sums narrowed by the scale rules.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <random>
#include <vector>

#include "zqv_test_support.h"

namespace {

constexpr int32_t kBad = ZQV_BAD_ARGUMENT;

class DotProd : public ZqvTest {};

std::vector<double> randomD(size_t n, uint32_t seed, bool integral) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> u(-1000, 1000);
  std::vector<double> v(n);
  for (auto& x : v) x = integral ? std::round(u(gen)) : u(gen);
  return v;
}

TEST_F(DotProd, FloatingFormsSumOnceRounded) {
  const int n = 333;
  for (bool integral : {true, false}) {
    const auto a = randomD(2 * n, 1, integral), b = randomD(2 * n, 2, integral);
    std::vector<float> fa(a.begin(), a.end()), fb(b.begin(), b.end());
    // References: long-double sums; integral data is exact in every form.
    long double rr = 0, ri = 0, sr = 0, si = 0, cr = 0, ci = 0, dd = 0, ff = 0;
    for (int i = 0; i < n; ++i) {
      const long double ar = fa[2 * i], ai = fa[2 * i + 1], br = fb[2 * i], bi = fb[2 * i + 1];
      rr += ar * br - ai * bi;
      ri += ar * bi + ai * br;
      sr += ar * br;  // float a times complex b
      si += ar * bi;
      cr += ar * br;  // complex a times float b (b's real parts)
      ci += ai * br;
      ff += ar * br;
      dd += static_cast<long double>(a[i]) * b[i];
    }
    std::vector<ZqvCplxS> ca(n), cb(n);
    std::vector<float> ra(n), rb(n);
    for (int i = 0; i < n; ++i) {
      ca[i] = {fa[2 * i], fa[2 * i + 1]};
      cb[i] = {fb[2 * i], fb[2 * i + 1]};
      ra[i] = fa[2 * i];
      rb[i] = fb[2 * i];
    }
    const ZqvCplxS c = zqvcDotProd(ca.data(), cb.data(), n);
    EXPECT_TRUE(c.re == static_cast<float>(rr) && c.im == static_cast<float>(ri)) << integral;
    const ZqvCplxS sc = zqvscDotProd(ra.data(), cb.data(), n);
    EXPECT_TRUE(sc.re == static_cast<float>(sr) && sc.im == static_cast<float>(si)) << integral;
    const ZqvCplxS cs = zqvcsDotProd(ca.data(), rb.data(), n);
    EXPECT_TRUE(cs.re == static_cast<float>(cr) && cs.im == static_cast<float>(ci)) << integral;
    EXPECT_EQ(zqvsDotProd(ra.data(), rb.data(), n), static_cast<float>(ff));
    EXPECT_EQ(zqvdDotProd(a.data(), b.data(), n), static_cast<double>(dd));
    if (integral) {
      int64_t exact = 0;
      for (int i = 0; i < n; ++i) exact += static_cast<int64_t>(a[i]) * static_cast<int64_t>(b[i]);
      EXPECT_EQ(zqvdDotProd(a.data(), b.data(), n), static_cast<double>(exact));
    }
  }
  std::vector<ZqvCplxD> za = {{1, 2}}, zb = {{3, 4}};
  const ZqvCplxD z = zqvzDotProd(za.data(), zb.data(), 1);
  EXPECT_TRUE(z.re == -5 && z.im == 10);  // no conjugation
  const double two = 2;
  const ZqvCplxD dz = zqvdzDotProd(&two, zb.data(), 1), zd = zqvzdDotProd(za.data(), &two, 1);
  EXPECT_TRUE(dz.re == 6 && dz.im == 8 && zd.re == 2 && zd.im == 4);
  // A float sum is not rounded to float on the way: 2^24 + 1 - 2^24.
  const float a3[3] = {16777216.0f, 1, -16777216.0f}, ones[3] = {1, 1, 1};
  EXPECT_EQ(zqvsDotProd(a3, ones, 3), 1.0f);
  EXPECT_TRUE(reportsAre({}));
}

int16_t low16(int64_t x) { return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(x))); }
int16_t clamp16(int64_t x) { return static_cast<int16_t>(x < -32768 ? -32768 : x > 32767 ? 32767 : x); }
int32_t floorLog2(int64_t m) {
  int32_t k = 0;
  while (m >= 2) m /= 2, ++k;
  return k;
}

// The narrowing of a sum (both parts with one shift) under the value modes.
std::vector<int16_t> narrowRef(const std::vector<int64_t>& x, int32_t mode, int32_t f, int32_t& shiftOut) {
  std::vector<int16_t> out;
  int64_t largest = 0;
  bool fits = true;
  for (int64_t v : x) {
    largest = std::max(largest, v < 0 ? -v : v);
    fits = fits && v >= -32768 && v <= 32767;
  }
  const int32_t s = fits ? 0 : floorLog2(largest) - 14;
  shiftOut = s;
  for (int64_t v : x) {
    switch (mode) {
      case 1: out.push_back(clamp16(v)); break;
      case 2: out.push_back(low16(f >= 0 ? v >> f : v * (int64_t{1} << -f))); break;
      case 3: out.push_back(clamp16(f >= 0 ? v >> f : v * (int64_t{1} << -f))); break;
      case 4: out.push_back(static_cast<int16_t>(v >> s)); break;
      default: out.push_back(low16(v));
    }
  }
  return out;
}

TEST_F(DotProd, SixteenBitFormsInEveryMode) {
  std::mt19937 gen(5);
  for (int n : {1, 7, 40, 300}) {
    std::vector<int16_t> a(n), b(n), c(n), d(n);
    for (int i = 0; i < n; ++i) {
      const int range = (i % 3 == 0) ? 65536 : 600;
      a[i] = static_cast<int16_t>(static_cast<int>(gen() % range) - range / 2);
      b[i] = static_cast<int16_t>(static_cast<int>(gen() % range) - range / 2);
      c[i] = static_cast<int16_t>(static_cast<int>(gen() % 600) - 300);
      d[i] = static_cast<int16_t>(static_cast<int>(gen() % 600) - 300);
    }
    std::vector<ZqvCplxW> va(n), vb(n);
    for (int i = 0; i < n; ++i) va[i] = {a[i], c[i]}, vb[i] = {b[i], d[i]};
    int64_t w = 0, vr = 0, vi = 0, wvr = 0, wvi = 0, vwr = 0, vwi = 0;
    for (int i = 0; i < n; ++i) {
      w += int64_t{a[i]} * b[i];
      vr += int64_t{a[i]} * b[i] - int64_t{c[i]} * d[i];
      vi += int64_t{a[i]} * d[i] + int64_t{c[i]} * b[i];
      wvr += int64_t{a[i]} * b[i], wvi += int64_t{a[i]} * d[i];
      vwr += int64_t{a[i]} * b[i], vwi += int64_t{c[i]} * b[i];
    }
    for (auto [mode, factor] : std::vector<std::pair<int, int>>{{0, 0}, {1, 0}, {2, 3}, {2, -2}, {3, 4}, {3, -1}, {4, 0}, {9, 5}}) {
      int32_t s = 0, f = factor;
      auto want = narrowRef({w}, mode, factor, s);
      EXPECT_EQ(zqvwDotProd(a.data(), b.data(), n, mode, &f), want[0]) << n << " " << mode;
      EXPECT_EQ(f, mode == 4 ? s : factor);
      const std::vector<std::pair<ZqvCplxW, std::vector<int64_t>>> got = {
          {(f = factor, zqvvDotProd(va.data(), vb.data(), n, mode, &f)), {vr, vi}},
          {(f = factor, zqvwvDotProd(a.data(), vb.data(), n, mode, &f)), {wvr, wvi}},
          {(f = factor, zqvvwDotProd(va.data(), b.data(), n, mode, &f)), {vwr, vwi}}};
      for (const auto& [r, sums] : got) {
        want = narrowRef(sums, mode, factor, s);
        EXPECT_TRUE(r.re == want[0] && r.im == want[1]) << n << " mode " << mode << ": " << r.re << "," << r.im;
      }
    }
  }
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(DotProd, SixteenBitDocumentedValuesAndLongSums) {
  const int16_t x[2] = {300, 300};
  int32_t f = 0;
  EXPECT_EQ(zqvwDotProd(x, x, 2, 4, &f), 22500);
  EXPECT_EQ(f, 3);
  EXPECT_EQ(zqvwDotProd(x, x, 2, 1, &f), 32767);
  EXPECT_EQ(zqvwDotProd(x, x, 2, 0, &f), -16608);
  // Three products of 2^31 in the imaginary part: 3 * 2^31 does not fit 32
  // bits; the exact sum is narrowed, not a wrapped one.
  const std::vector<ZqvCplxW> big(3, ZqvCplxW{-32768, -32768});
  ZqvCplxW r = zqvvDotProd(big.data(), big.data(), 3, 4, &f);
  EXPECT_TRUE(r.re == 0 && r.im == 24576 && f == 18) << r.im << " " << f;
  r = zqvvDotProd(big.data(), big.data(), 3, 1, nullptr);
  EXPECT_TRUE(r.re == 0 && r.im == 32767);
  r = zqvvDotProd(big.data(), big.data(), 3, 0, nullptr);
  EXPECT_TRUE(r.re == 0 && r.im == 0);
  f = 20;
  r = zqvvDotProd(big.data(), big.data(), 3, 2, &f);
  EXPECT_EQ(r.im, static_cast<int16_t>((int64_t{3} << 31) >> 20));
  // Automatic mode without a factor pointer still computes.
  r = zqvvDotProd(big.data(), big.data(), 1, 4, nullptr);
  EXPECT_EQ(r.im, 16384);
  EXPECT_EQ(zqvwDotProd(x, x, 2, 4, nullptr), 22500);
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(DotProd, ChecksStopAtTheFirstAndIgnoreTheStatus) {
  const char* m = "zqvdotp";
  const char* mw = "zqvdotpw";
  const float a = 2;
  const std::vector<ReportRow> cases = {
      {[] { zqvsDotProd(nullptr, nullptr, -1); }, {{kBad, "zqvsDotProd", "Null buffer pointer", m}}},
      {[&] { zqvsDotProd(&a, nullptr, 1); }, {{kBad, "zqvsDotProd", "Null buffer pointer", m}}},
      {[&] { zqvsDotProd(&a, &a, -1); }, {{kBad, "zqvsDotProd", "Invalid value", m}}},
      {[] { zqvzdDotProd(nullptr, nullptr, 1); }, {{kBad, "zqvzdDotProd", "Null buffer pointer", m}}},
      {[] { zqvvwDotProd(nullptr, nullptr, -5, 0, nullptr); }, {{kBad, "zqvvwDotProd", "Null buffer pointer", mw}}},
      {[] { int16_t w = 1; zqvwDotProd(&w, &w, -1, 0, nullptr); }, {{kBad, "zqvwDotProd", "Invalid value", mw}}},
      {[&] { EXPECT_EQ(zqvsDotProd(&a, &a, 0), 0.0f); }, {}},
  };
  // The status stays negative from the row before.
  expectReportRows(cases, std::nullopt, {}, RowStatus::Carried);
  zqvSetErrStatus(kBad);
  EXPECT_EQ(zqvsDotProd(&a, &a, 1), 4.0f);
  EXPECT_EQ(zqvGetErrStatus(), kBad);
  const ZqvCplxD z = zqvzDotProd(nullptr, nullptr, 1);
  EXPECT_TRUE(z.re == 0 && z.im == 0);
}

}  // namespace
