// Complex parts and polar form: copies compared bit for bit, magnitudes and
// phases against long-double references (hypot, atan2), the zero rules of
// the phase, and the 16-bit phase against its definition.
#include <bit>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <random>
#include <vector>

#include "zqv_test_support.h"

namespace {

constexpr int32_t kBad = ZQV_BAD_ARGUMENT;

template <class T>
bool sameBits(T a, T b) {
  return std::memcmp(&a, &b, sizeof(T)) == 0;
}

class Cplx : public ZqvTest {};

TEST_F(Cplx, PartsAreCopiedBitForBit) {
  // Nine elements: one step of eight and one alone; NaN payloads and -0.
  std::vector<ZqvCplxS> c(9);
  for (int i = 0; i < 9; ++i) c[i] = {1.5f * i - 4, -0.25f * i};
  c[2].re = std::bit_cast<float>(0x7FC12345u);
  c[3].im = -0.0f;
  c[8] = {std::bit_cast<float>(0xFFA00001u), -0.0f};
  std::vector<float> re(9, 7), im(9, 7), re2(9, 7), im2(9, 7);
  zqvcbReal(c.data(), re.data(), 9);
  zqvcbImag(c.data(), im.data(), 9);
  zqvcbCplxTo2Real(c.data(), re2.data(), im2.data(), 9);
  for (int i = 0; i < 9; ++i) {
    EXPECT_TRUE(sameBits(re[i], c[i].re) && sameBits(re2[i], c[i].re)) << i;
    EXPECT_TRUE(sameBits(im[i], c[i].im) && sameBits(im2[i], c[i].im)) << i;
  }
  std::vector<ZqvCplxS> back(9);
  zqvcb2RealToCplx(re.data(), im.data(), back.data(), 9);
  for (int i = 0; i < 9; ++i) EXPECT_TRUE(sameBits(back[i].re, c[i].re) && sameBits(back[i].im, c[i].im)) << i;

  std::vector<ZqvCplxW> v = {{-32768, 32767}, {1, -1}, {0, -32768}};
  std::vector<int16_t> wr(3), wi(3);
  zqvvbCplxTo2Real(v.data(), wr.data(), wi.data(), 3);
  EXPECT_EQ(wr, (std::vector<int16_t>{-32768, 1, 0}));
  EXPECT_EQ(wi, (std::vector<int16_t>{32767, -1, -32768}));
  std::vector<ZqvCplxD> z = {{1e300, -1e-320}, {-0.0, 2}};
  std::vector<double> zr(2), zi(2);
  zqvzbReal(z.data(), zr.data(), 2);
  zqvzbImag(z.data(), zi.data(), 2);
  EXPECT_TRUE(sameBits(zr[0], 1e300) && sameBits(zr[1], -0.0) && sameBits(zi[0], -1e-320));
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(Cplx, JoiningWithAbsentParts) {
  const std::vector<double> re = {1, -2}, im = {3, -4};
  std::vector<ZqvCplxD> out(2, ZqvCplxD{9, 9});
  struct Case {
    const double* re;
    const double* im;
    std::vector<double> expect;  // re0 im0 re1 im1
  };
  const std::vector<Case> cases = {{re.data(), im.data(), {1, 3, -2, -4}},
                                   {re.data(), nullptr, {1, 0, -2, 0}},
                                   {nullptr, im.data(), {0, 3, 0, -4}},
                                   {nullptr, nullptr, {0, 0, 0, 0}}};
  for (const auto& c : cases) {
    out.assign(2, ZqvCplxD{9, 9});
    zqvzb2RealToCplx(c.re, c.im, out.data(), 2);
    const std::vector<double> got = {out[0].re, out[0].im, out[1].re, out[1].im};
    EXPECT_EQ(got, c.expect);
    for (double x : got) EXPECT_FALSE(std::signbit(x) && x == 0);  // zeros are +0
  }
  std::vector<ZqvCplxW> w(2, ZqvCplxW{9, 9});
  const int16_t wi[2] = {-5, 6};
  zqvvb2RealToCplx(nullptr, wi, w.data(), 2);
  EXPECT_TRUE(w[0].re == 0 && w[0].im == -5 && w[1].re == 0 && w[1].im == 6);
  EXPECT_TRUE(reportsAre({}));
}

// Reference magnitude and phase in long double, with the zero rules.
template <class T>
void polarRef(T re, T im, T& mag, T& ph) {
  if (im == 0) {
    mag = std::fabs(re);
    ph = (re != 0 && std::signbit(re)) ? T(M_PIl) : T(0);
    return;
  }
  mag = static_cast<T>(std::hypot(static_cast<long double>(re), static_cast<long double>(im)));
  ph = static_cast<T>(std::atan2(static_cast<long double>(im), static_cast<long double>(re)));
}

template <class T>
std::vector<T> randomParts(size_t n, uint32_t seed) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> u(-1, 1);
  std::uniform_int_distribution<int> e(-30, 30);
  std::vector<T> v(n);
  for (auto& x : v) {
    const int k = e(gen);  // drawn first, alone: the same data from every compiler
    x = static_cast<T>(std::ldexp(u(gen), k));
  }
  v[3] = 0;
  v[10] = -T(0);
  return v;
}

template <class T, class C>
void checkPolar(void (*cart)(const C*, T*, T*, int), void (*split)(const T*, const T*, T*, T*, int),
                void (*phase)(const C*, T*, int), void (*splitPhase)(const T*, const T*, T*, int)) {
  const int n = 200;
  const auto re = randomParts<T>(n, 1), im = randomParts<T>(n, 2);
  std::vector<C> c(n);
  for (int i = 0; i < n; ++i) c[i] = {re[i], im[i]};
  std::vector<T> mag(n), ph(n), mag2(n), ph2(n), ph3(n), ph4(n);
  cart(c.data(), mag.data(), ph.data(), n);
  split(re.data(), im.data(), mag2.data(), ph2.data(), n);
  phase(c.data(), ph3.data(), n);
  splitPhase(re.data(), im.data(), ph4.data(), n);
  for (int i = 0; i < n; ++i) {
    T m, p;
    polarRef(re[i], im[i], m, p);
    ASSERT_EQ(mag[i], m) << i;
    ASSERT_EQ(ph[i], p) << i;
    ASSERT_EQ(mag2[i], m) << i;
    ASSERT_TRUE(ph2[i] == p && ph3[i] == p && ph4[i] == p) << i;
  }
}

TEST_F(Cplx, CartesianToPolarMatchesLongDoubleReferences) {
  checkPolar<float, ZqvCplxS>(zqvcbCartToPolar, zqvsbrCartToPolar, zqvcbPhase, zqvsbrPhase);
  checkPolar<double, ZqvCplxD>(zqvzbCartToPolar, zqvdbrCartToPolar, zqvzbPhase, zqvdbrPhase);
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(Cplx, ZeroImaginaryPartsSettleThePhase) {
  struct Case {
    double re, im, mag, phase;
  };
  const double pi = 3.141592653589793;
  const std::vector<Case> cases = {
      {3, 4, 5, std::atan2(4.0, 3.0)}, {-2, 0, 2, pi}, {-2, -0.0, 2, pi}, {0, -0.0, 0, 0},
      {-0.0, 0, 0, 0},                 {-1, -0.0, 1, pi}, {7, -0.0, 7, 0}, {-INFINITY, 0, INFINITY, pi},
  };
  for (const auto& c : cases) {
    ZqvCplxS s{static_cast<float>(c.re), static_cast<float>(c.im)};
    float m = -1, p = -1;
    zqvcbCartToPolar(&s, &m, &p, 1);
    EXPECT_EQ(m, static_cast<float>(c.mag)) << c.re << " " << c.im;
    EXPECT_EQ(p, static_cast<float>(c.phase)) << c.re << " " << c.im;
    EXPECT_FALSE(std::signbit(p));
    ZqvCplxD z{c.re, c.im};
    double dm = -1, dp = -1;
    zqvzbCartToPolar(&z, &dm, &dp, 1);
    EXPECT_EQ(dm, c.mag);
    EXPECT_EQ(dp, c.phase);
  }
  // A tiny double imaginary part is not zero: the phase of 0 + 1e-320i is
  // pi/2, not the phase of a zero.
  ZqvCplxD tiny{0, 1e-320};
  double ph = 0;
  zqvzbPhase(&tiny, &ph, 1);
  EXPECT_EQ(ph, std::atan2(1e-320, 0.0));
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(Cplx, PolarToCartesianRoundsOnce) {
  const int n = 100;
  const auto mag = randomParts<double>(n, 3), ph = randomParts<double>(n, 4);
  std::vector<ZqvCplxD> z(n);
  std::vector<double> re(n), im(n);
  zqvzbPolarToCart(mag.data(), ph.data(), z.data(), n);
  zqvdbrPolarToCart(mag.data(), ph.data(), re.data(), im.data(), n);
  for (int i = 0; i < n; ++i) {
    const long double m = mag[i], p = ph[i];
    const double r = static_cast<double>(std::cos(p) * m), s = static_cast<double>(std::sin(p) * m);
    ASSERT_TRUE(z[i].re == r && z[i].im == s && re[i] == r && im[i] == s) << i;
  }
  const float two = 2, zero = 0;
  ZqvCplxS c{};
  zqvcbPolarToCart(&two, &zero, &c, 1);
  EXPECT_TRUE(c.re == 2 && c.im == 0);
  float fr = 0, fi = 0;
  const float negMag = -1, half = 1.5707963f;
  zqvsbrPolarToCart(&negMag, &half, &fr, &fi, 1);
  EXPECT_EQ(fi, -1.0f);
}

TEST_F(Cplx, SixteenBitPhase) {
  struct Case {
    int16_t re, im, p;
  };
  const std::vector<Case> cases = {{0, 1, 8191},     {1, 1, 4095},  {1, -1, -4095},        {-1, -1, -12287},
                                   {0, -1, -8191},   {-1, 0, 16383}, {0, 0, 0},            {5, 0, 0},
                                   {-32768, 0, 16383}, {-32768, -1, -16382}, {-32768, 1, 16382}};
  for (const auto& c : cases) {
    ZqvCplxW v{c.re, c.im};
    int16_t p = 99, q = 99;
    zqvvbPhase(&v, &p, 1);
    zqvwbrPhase(&c.re, &c.im, &q, 1);
    EXPECT_EQ(p, c.p) << c.re << " " << c.im;
    EXPECT_EQ(q, c.p) << c.re << " " << c.im;
  }
  // Against the definition over a grid of parts.
  std::vector<int16_t> re, im;
  for (int a = -32768; a < 32768; a += 257)
    for (int b = -32768; b < 32768; b += 1031) {
      re.push_back(static_cast<int16_t>(a));
      im.push_back(static_cast<int16_t>(b));
    }
  std::vector<int16_t> p(re.size());
  zqvwbrPhase(re.data(), im.data(), p.data(), static_cast<int>(re.size()));
  for (size_t i = 0; i < re.size(); ++i) {
    const long double phi = im[i] != 0 ? std::atan2(static_cast<long double>(im[i]), static_cast<long double>(re[i]))
                                       : (re[i] < 0 ? 3.141592653589793L : 0.0L);
    ASSERT_EQ(p[i], static_cast<int16_t>(std::trunc(phi * 5214.870865349043L))) << re[i] << " " << im[i];
  }
}

TEST_F(Cplx, ArgumentErrors) {
  const char* s = "zqvcvrts";
  const char* d = "zqvcvrtd";
  const char* w = "zqvcvrtw";
  const std::vector<ReportRow> cases = {
      {[] { zqvcbReal(nullptr, nullptr, 0); },
       {{kBad, "zqvcbReal", "length<=0", s}, {kBad, "zqvcbReal", "src==0", s}, {kBad, "zqvcbReal", "dst==0", s}}},
      {[] { zqvzbImag(nullptr, nullptr, -1); },
       {{kBad, "zqvzbImag", "length<=0", d}, {kBad, "zqvzbImag", "src==0", d}, {kBad, "zqvzbImag", "dst==0", d}}},
      {[] { zqvvbCplxTo2Real(nullptr, nullptr, nullptr, 0); },
       {{kBad, "zqvvbCplxTo2Real", "length<=0", w}, {kBad, "zqvvbCplxTo2Real", "src==0", w},
        {kBad, "zqvvbCplxTo2Real", "dstReal==0", w}, {kBad, "zqvvbCplxTo2Real", "dstImag==0", w}}},
      {[] { zqvcb2RealToCplx(nullptr, nullptr, nullptr, 0); },
       {{kBad, "zqvcb2RealToCplx", "length<=0", s}, {kBad, "zqvcb2RealToCplx", "dst==0", s}}},
      {[] { zqvzbCartToPolar(nullptr, nullptr, nullptr, 0); },
       {{kBad, "zqvzbCartToPolar", "length<=0", d}, {kBad, "zqvzbCartToPolar", "src==0", d},
        {kBad, "zqvzbCartToPolar", "mag==0", d}, {kBad, "zqvzbCartToPolar", "phase==0", d}}},
      {[] { zqvsbrCartToPolar(nullptr, nullptr, nullptr, nullptr, 0); },
       {{kBad, "zqvsbrCartToPolar", "length<=0", s}, {kBad, "zqvsbrCartToPolar", "mag==0", s},
        {kBad, "zqvsbrCartToPolar", "phase==0", s}, {kBad, "zqvsbrCartToPolar", "srcReal==0", s},
        {kBad, "zqvsbrCartToPolar", "srcImag==0", s}}},
      {[] { zqvdbrPolarToCart(nullptr, nullptr, nullptr, nullptr, 0); },
       {{kBad, "zqvdbrPolarToCart", "length<=0", d}, {kBad, "zqvdbrPolarToCart", "mag==0", d},
        {kBad, "zqvdbrPolarToCart", "phase==0", d}, {kBad, "zqvdbrPolarToCart", "dstReal==0", d},
        {kBad, "zqvdbrPolarToCart", "dstImag==0", d}}},
      {[] { zqvcbPolarToCart(nullptr, nullptr, nullptr, 0); },
       {{kBad, "zqvcbPolarToCart", "length<=0", s}, {kBad, "zqvcbPolarToCart", "mag==0", s},
        {kBad, "zqvcbPolarToCart", "phase==0", s}, {kBad, "zqvcbPolarToCart", "dst==0", s}}},
      {[] { zqvvbPhase(nullptr, nullptr, 0); },
       {{kBad, "zqvvbPhase", "length<=0", w}, {kBad, "zqvvbPhase", "phase==0", w}, {kBad, "zqvvbPhase", "src==0", w}}},
      {[] { zqvdbrPhase(nullptr, nullptr, nullptr, 0); },
       {{kBad, "zqvdbrPhase", "length<=0", d}, {kBad, "zqvdbrPhase", "phase==0", d},
        {kBad, "zqvdbrPhase", "srcReal==0", d}, {kBad, "zqvdbrPhase", "srcImag==0", d}}},
  };
  expectReportRows(cases, std::nullopt);
  // The status is left negative: valid calls now write and report nothing.
  clearReports();
  const ZqvCplxS c{3, 4};
  float m = -1, p = -1, r = -1;
  zqvcbCartToPolar(&c, &m, &p, 1);
  zqvcbReal(&c, &r, 1);
  EXPECT_TRUE(m == -1 && p == -1 && r == -1);
  EXPECT_TRUE(reportsAre({}));
}

}  // namespace
