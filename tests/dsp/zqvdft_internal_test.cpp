// The direct float DFT's sums, run side by side in vectors of each width
// the processor has (and one at a time without them): always the bits of
// the plain one-output loop.
#include <gtest/gtest.h>

#include <bit>
#include <cmath>
#include <random>
#include <vector>

#include "transforms/detail/zqvfftint.h"
#include "zqvp4.h"

namespace {

std::vector<ZqvCplxS> randomCplx(std::size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> d(-1, 1);
  std::vector<ZqvCplxS> v(n);
  for (ZqvCplxS& c : v) c = {static_cast<float>(d(gen)), static_cast<float>(d(gen))};
  return v;
}

// The fold and the sums written plainly, one output after the other, every
// sum in double from 0 in index order: whatever runs the sums side by side
// must give exactly these bits.
std::vector<ZqvCplxS> plainFloatDft(std::vector<ZqvCplxS> c, bool fwd, const ZqvCplxS* tw) {
  const int64_t n = static_cast<int64_t>(c.size());
  std::vector<ZqvCplxS> y(c.size());
  double sr = 0, si = 0;
  for (const ZqvCplxS& v : c) {
    sr += v.re;
    si += v.im;
  }
  y[0] = {static_cast<float>(sr), static_cast<float>(si)};
  const bool even = n % 2 == 0;
  const int64_t half = even ? n / 2 - 1 : (n - 1) / 2;
  for (int64_t k = 1; k <= half; ++k) {
    const ZqvCplxS a = c[k], b = c[n - k];
    c[k] = {(a.re + b.re) * 0.5f, (a.im + b.im) * 0.5f};
    c[n - k] = {(a.re - b.re) * 0.5f, (a.im - b.im) * 0.5f};
  }
  for (int64_t m = 1; m < n; ++m) {
    const int64_t terms = even && m % 2 ? n / 2 : half;
    double re = 0, im = 0;
    for (int64_t k = 1; k <= terms; ++k) {
      const double tr = tw[(k * m) % n].re, ti = tw[(k * m) % n].im;
      const double pr = c[k].re, pi = c[k].im, qr = c[n - k].re, qi = c[n - k].im;
      re += fwd ? pr * tr - qi * ti : pr * tr + qi * ti;
      im += fwd ? pi * tr + qr * ti : pi * tr - qr * ti;
    }
    double outRe = 2 * re + c[0].re, outIm = 2 * im + c[0].im;
    if (even) {
      outRe += c[n / 2].re;
      outIm += c[n / 2].im;
    }
    y[m] = {static_cast<float>(outRe), static_cast<float>(outIm)};
  }
  return y;
}

// Lengths around the vector widths (4, 8 and 16 outputs at once), odd,
// prime and powers of two; both directions, scaled and not.
TEST(DftInternal, FloatSumsKeepTheirBitsAtEveryVectorWidth) {
  const int32_t lengths[] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 12, 15, 16, 17, 18, 23, 31, 32, 33, 34,
                             47, 63, 64, 65, 97, 128, 129, 255, 256, 360, 1009, 1024};
  for (int32_t bits : {512, 256, 128}) {
    for (int32_t n : lengths) {
      zqvFftLimitVectorBits(bits);
      const auto x = randomCplx(static_cast<std::size_t>(n), 7 * n);
      const ZqvCplxS* tw = zqvcGetDftTwdTbl(n);
      ASSERT_NE(tw, nullptr);
      for (int32_t flags : {int32_t{ZQV_Forw}, int32_t{ZQV_Inv}, ZQV_Inv | ZQV_NoScale}) {
        auto want = plainFloatDft(x, flags == ZQV_Forw, tw);
        if (flags == ZQV_Inv) {
          const float scale = 1.0f / static_cast<float>(n);
          for (ZqvCplxS& v : want) v = {v.re * scale, v.im * scale};
        }
        std::vector<ZqvCplxS> y(x.size());
        zqvcDft(x.data(), y.data(), n, flags);
        for (int32_t m = 0; m < n; ++m) {
          ASSERT_EQ(std::bit_cast<uint32_t>(y[m].re), std::bit_cast<uint32_t>(want[m].re)) << bits << " " << n << " " << flags << " " << m;
          ASSERT_EQ(std::bit_cast<uint32_t>(y[m].im), std::bit_cast<uint32_t>(want[m].im)) << bits << " " << n << " " << flags << " " << m;
        }
      }
      zqvcFreeTwdTbls();
    }
  }
  zqvFftLimitVectorBits(512);
  EXPECT_EQ(zqvGetErrStatus(), 0);
}

// Outputs m and n - m share their twiddle loads only while the cached table
// is conjugate-symmetric; a table altered by its holder (the getter hands
// out the cached one) takes the unshared sums, still in the plain order.
TEST(DftInternal, AlteredTableTakesTheUnsharedSums) {
  for (int32_t bits : {512, 256}) {
    for (int32_t n : {17, 64, 97}) {
      zqvFftLimitVectorBits(bits);
      ZqvCplxS* tw = zqvcGetDftTwdTbl(n);
      ASSERT_NE(tw, nullptr);
      tw[3].im = std::nextafter(tw[3].im, 2.0f);
      const auto x = randomCplx(static_cast<std::size_t>(n), 3 * n);
      const auto want = plainFloatDft(x, true, tw);
      std::vector<ZqvCplxS> y(x.size());
      zqvcDft(x.data(), y.data(), n, ZQV_Forw);
      for (int32_t m = 0; m < n; ++m) {
        ASSERT_EQ(std::bit_cast<uint32_t>(y[m].re), std::bit_cast<uint32_t>(want[m].re)) << bits << " " << n << " " << m;
        ASSERT_EQ(std::bit_cast<uint32_t>(y[m].im), std::bit_cast<uint32_t>(want[m].im)) << bits << " " << n << " " << m;
      }
      zqvcFreeTwdTbls();
    }
  }
  zqvFftLimitVectorBits(512);
}

}  // namespace
