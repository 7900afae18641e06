// One-dimensional convolution through the exports: the argument checks
// (all reported, status cleared first), the single product, operands
// exchanged (the mixed members reach their twins) against a naive
// long-double sum, and the 16-bit member's scaling.
#include <algorithm>
#include <cmath>
#include <complex>
#include <random>
#include <vector>

#include "zqv_test_support.h"

namespace {

using LD = long double;
using CL = std::complex<LD>;
using ConvTest = ZqvTest;

CL toL(float v) { return {v, 0}; }
CL toL(double v) { return {v, 0}; }
CL toL(int16_t v) { return {static_cast<LD>(v), 0}; }
CL toL(ZqvCplxS v) { return {v.re, v.im}; }
CL toL(ZqvCplxD v) { return {v.re, v.im}; }

template <class T>
std::vector<T> randomVec(int32_t n, std::mt19937& gen) {
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  std::vector<T> v(static_cast<size_t>(n));
  for (T& e : v) {
    if constexpr (std::is_same_v<T, ZqvCplxS>) e = {static_cast<float>(u(gen)), static_cast<float>(u(gen))};
    else if constexpr (std::is_same_v<T, ZqvCplxD>) e = {u(gen), u(gen)};
    else e = static_cast<T>(u(gen));
  }
  return v;
}

template <class A, class B>
std::vector<CL> naiveConv(const std::vector<A>& x, const std::vector<B>& h) {
  std::vector<CL> y(x.size() + h.size() - 1);
  for (size_t k = 0; k < x.size(); ++k)
    for (size_t j = 0; j < h.size(); ++j) y[k + j] += toL(x[k]) * toL(h[j]);
  return y;
}

TEST_F(ConvTest, EveryFailedCheckIsReportedInOrderAndYIsUntouched) {
  float x[2] = {1, 2}, h[2] = {3, 4}, y[3] = {7, 7, 7};
  ZqvCplxS cx[2] = {}, cy[3] = {{7, 7}, {7, 7}, {7, 7}};
  const char* m = "zqvconvs";
  expectReportRows(
      {{"all", [&] { zqvsConv(nullptr, 0, nullptr, -1, nullptr); },
        {{-5, "zqvsConv", "x==0", m}, {-5, "zqvsConv", "xLen<=0", m}, {-5, "zqvsConv", "h==0", m},
         {-5, "zqvsConv", "hLen<=0", m}, {-5, "zqvsConv", "y==0", m}}},
       {"hLen", [&] { zqvsConv(x, 2, h, 0, y); }, {{-5, "zqvsConv", "hLen<=0", m}}},
       {"mixed h", [&] { zqvcsConv(cx, 2, nullptr, 2, cy); }, {{-5, "zqvcsConv", "h==0", m}}},
       {"mixed y", [&] { zqvscConv(x, 1, cx, 2, nullptr); }, {{-5, "zqvscConv", "y==0", m}}},
       {"double", [&] { zqvdConv(nullptr, 1, nullptr, 1, nullptr); },
        {{-5, "zqvdConv", "x==0", "zqvconvd"}, {-5, "zqvdConv", "h==0", "zqvconvd"},
         {-5, "zqvdConv", "y==0", "zqvconvd"}}},
       {"16-bit", [&] { zqvwConv(nullptr, 1, nullptr, 1, nullptr, 0, nullptr); },
        {{-5, "zqvwConv", "x==0", "zqvconvw"}, {-5, "zqvwConv", "h==0", "zqvconvw"},
         {-5, "zqvwConv", "y==0", "zqvconvw"}}}},
      ZQV_BAD_ARGUMENT, [&](const ReportRow&) {
        for (float v : y) EXPECT_EQ(v, 7.0f);
        for (ZqvCplxS v : cy) EXPECT_EQ(v.re, 7.0f);
      });
}

TEST_F(ConvTest, AStatusLeftByAnEarlierFailureDoesNotStopIt) {
  const float x[2] = {1, 2}, h[2] = {3, 4};
  float y[3] = {};
  zqvSetErrStatus(ZQV_BAD_ARGUMENT);
  zqvsConv(x, 2, h, 2, y);
  EXPECT_EQ(zqvGetErrStatus(), 0);
  EXPECT_TRUE(reportsAre({}));
  EXPECT_EQ(y[0], 3.0f);
  EXPECT_EQ(y[1], 10.0f);
  EXPECT_EQ(y[2], 8.0f);
}

TEST_F(ConvTest, OneByOneIsTheSingleProduct) {
  const float s = 1.5f, s2 = -2.0f;
  const double d = 1.5, d2 = -2.0;
  const ZqvCplxS c{1, 2}, c2{3, -1};
  const ZqvCplxD z{1, 2}, z2{3, -1};
  float ys = 0;
  double yd = 0;
  ZqvCplxS yc{};
  ZqvCplxD yz{};
  zqvsConv(&s, 1, &s2, 1, &ys);
  EXPECT_EQ(ys, -3.0f);
  zqvdConv(&d, 1, &d2, 1, &yd);
  EXPECT_EQ(yd, -3.0);
  zqvcConv(&c, 1, &c2, 1, &yc);
  EXPECT_EQ(toL(yc), CL(5, 5));
  zqvcsConv(&c, 1, &s2, 1, &yc);
  EXPECT_EQ(toL(yc), CL(-2, -4));
  zqvscConv(&s, 1, &c2, 1, &yc);
  EXPECT_EQ(toL(yc), CL(4.5, -1.5));
  zqvzConv(&z, 1, &z2, 1, &yz);
  EXPECT_EQ(toL(yz), CL(5, 5));
  zqvzdConv(&z, 1, &d2, 1, &yz);
  EXPECT_EQ(toL(yz), CL(-2, -4));
  zqvdzConv(&d, 1, &z2, 1, &yz);
  EXPECT_EQ(toL(yz), CL(4.5, -1.5));
  const int16_t w = 300, w2 = -7;
  int16_t yw = 0;
  zqvwConv(&w, 1, &w2, 1, &yw, 0, nullptr);
  EXPECT_EQ(yw, -2100);
  EXPECT_EQ(zqvGetErrStatus(), 0);
}

// Pairs that reach the direct, whole-transform and sectioned methods.
const std::pair<int32_t, int32_t> kPairs[] = {{5, 3},     {64, 20},  {37905, 21}, {200, 150},
                                              {4000, 50}, {129, 127}, {1 << 14, 100}, {3, 3000}};

template <class Y, class X, class H>
void expectBothOrders(void (*xh)(const X*, int32_t, const H*, int32_t, Y*),
                      void (*hx)(const H*, int32_t, const X*, int32_t, Y*), LD eps) {
  std::mt19937 gen(11);
  for (auto [a, b] : kPairs) {
    const auto x = randomVec<X>(a, gen);
    const auto h = randomVec<H>(b, gen);
    const auto ref = naiveConv(x, h);
    std::vector<Y> y1(ref.size()), y2(ref.size());
    xh(x.data(), a, h.data(), b, y1.data());
    hx(h.data(), b, x.data(), a, y2.data());
    ASSERT_EQ(zqvGetErrStatus(), 0);
    const LD bound = eps * (std::log2(static_cast<LD>(ref.size())) + 2) * std::sqrt(static_cast<LD>(a) * b);
    LD worst1 = 0, worst2 = 0;
    for (size_t i = 0; i < ref.size(); ++i) {
      worst1 = std::max(worst1, std::abs(toL(y1[i]) - ref[i]));
      worst2 = std::max(worst2, std::abs(toL(y2[i]) - toL(y1[i])));
    }
    EXPECT_LE(worst1, bound) << a << " x " << b;
    EXPECT_LE(worst2, bound) << "exchanged " << a << " x " << b;
  }
}

TEST_F(ConvTest, ExchangingTheOperandsGivesTheSameResult) {
  const LD s = 0x1p-24L, d = 0x1p-53L;
  expectBothOrders<float, float, float>(zqvsConv, zqvsConv, s);
  expectBothOrders<ZqvCplxS, ZqvCplxS, ZqvCplxS>(zqvcConv, zqvcConv, s);
  expectBothOrders<ZqvCplxS, ZqvCplxS, float>(zqvcsConv, zqvscConv, s);
  expectBothOrders<ZqvCplxS, float, ZqvCplxS>(zqvscConv, zqvcsConv, s);
  expectBothOrders<double, double, double>(zqvdConv, zqvdConv, d);
  expectBothOrders<ZqvCplxD, ZqvCplxD, ZqvCplxD>(zqvzConv, zqvzConv, d);
  expectBothOrders<ZqvCplxD, ZqvCplxD, double>(zqvzdConv, zqvdzConv, d);
  expectBothOrders<ZqvCplxD, double, ZqvCplxD>(zqvdzConv, zqvzdConv, d);
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(ConvTest, SixteenBitScaling) {
  // Sums of products up to 2^28: exact in float at these lengths only when
  // small, so the operands stay small where the result is compared exactly.
  const int16_t x[4] = {100, -200, 300, 400}, h[3] = {50, 60, -70};
  std::vector<CL> ref = naiveConv(std::vector<int16_t>(x, x + 4), std::vector<int16_t>(h, h + 3));
  int16_t y[6];
  int32_t factor = 0;
  zqvwConv(x, 4, h, 3, y, 0, &factor);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(y[i], static_cast<int16_t>(static_cast<int32_t>(ref[i].real()))) << i;

  // Automatic: the shift that brings the largest magnitude within 16 bits
  // comes back through scaleFactor.
  const int16_t big[3] = {30000, 30000, 30000};
  int16_t yb[5];
  factor = -99;
  zqvwConv(big, 3, big, 3, yb, ZQV_AUTO_SCALE, &factor);
  EXPECT_GT(factor, 0);
  const LD top = 3.0L * 30000 * 30000;
  EXPECT_NEAR(static_cast<LD>(yb[2]), top / std::ldexp(1.0L, factor), 1.0L);
  EXPECT_LE(std::abs(static_cast<int32_t>(yb[2])), 32767);

  // Without a place for the shift the result is still scaled, and nothing
  // is written through the missing pointer.
  int16_t yn[5];
  zqvwConv(big, 3, big, 3, yn, ZQV_AUTO_SCALE, nullptr);
  for (int i = 0; i < 5; ++i) EXPECT_EQ(yn[i], yb[i]) << i;
  EXPECT_EQ(zqvGetErrStatus(), 0);
}

}  // namespace
