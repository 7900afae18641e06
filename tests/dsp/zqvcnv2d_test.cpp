// Two-dimensional convolution through the exports: the first failed check
// reported, the status neither cleared nor read, every size region of the
// method choice against a naive long-double sum (operands both ways), the
// agreement with the 2-D FIR filter, infinities against zero kernel
// elements, sizes whose element counts overflow 32 bits, and the 16-bit
// member's scale modes.
#include <cmath>
#include <cstdint>
#include <random>
#include <string>
#include <vector>

#include "zqv_test_support.h"
#include "zqvcnv2d_oracle.h"

namespace {

using namespace cnv2d_oracle;
using Conv2DTest = ZqvTest;

const char* const kMod = "zqvcnv2d";
const char* const kNull = "\nNull pointer to data buffer\n";
const char* const kSize = "\nBad value of data buffer size\n";
const char* const kMem = "\nMemory allocation problem\n";

TEST_F(Conv2DTest, TheFirstFailedCheckIsReportedAndNothingIsWritten) {
  float a[4] = {1, 2, 3, 4}, y[9];
  double ad[4] = {1, 2, 3, 4}, yd[9];
  int16_t w[4] = {1, 2, 3, 4}, yw[9];
  int32_t factor = 0;
  for (float& v : y) v = 7;
  for (double& v : yd) v = 7;
  for (int16_t& v : yw) v = 7;
  expectReportRows(
      {{"null x", [&] { zqvsConv2D(nullptr, 2, 2, a, 2, 2, y); }, {{-5, "zqvsConv2D", kNull, kMod}}},
       {"null h before bad sizes", [&] { zqvsConv2D(a, 0, 0, nullptr, 0, 0, y); }, {{-5, "zqvsConv2D", kNull, kMod}}},
       {"null y", [&] { zqvdConv2D(ad, 2, 2, ad, 2, 2, nullptr); }, {{-5, "zqvdConv2D", kNull, kMod}}},
       {"x rows", [&] { zqvsConv2D(a, 2, 0, a, 0, 2, y); }, {{-5, "zqvsConv2D", kSize, kMod}}},
       {"x cols", [&] { zqvdConv2D(ad, -1, 2, ad, 2, 2, yd); }, {{-5, "zqvdConv2D", kSize, kMod}}},
       {"h rows", [&] { zqvsConv2D(a, 2, 2, a, 2, 0, y); }, {{-5, "zqvsConv2D", kSize, kMod}}},
       {"h cols", [&] { zqvdConv2D(ad, 2, 2, ad, INT32_MIN, 2, yd); }, {{-5, "zqvdConv2D", kSize, kMod}}},
       {"16-bit null y", [&] { zqvwConv2D(w, 2, 2, w, 2, 2, nullptr, 0, &factor); }, {{-5, "zqvwConv2D", kNull, kMod}}},
       {"16-bit h cols", [&] { zqvwConv2D(w, 2, 2, w, 0, 2, yw, 0, &factor); }, {{-5, "zqvwConv2D", kSize, kMod}}},
       {"16-bit automatic without a factor",
        [&] { zqvwConv2D(w, 2, 2, w, 2, 2, yw, ZQV_AUTO_SCALE, nullptr); },
        {{-5, "zqvwConv2D", "\nNull scale factor pointer\n", kMod}}}},
      ZQV_BAD_ARGUMENT, [&](const ReportRow&) {
        for (float v : y) EXPECT_EQ(v, 7.0f);
        for (double v : yd) EXPECT_EQ(v, 7.0);
        for (int16_t v : yw) EXPECT_EQ(v, 7);
      });
}

TEST_F(Conv2DTest, AStaleNegativeStatusNeitherStopsNorIsCleared) {
  // Sizes of the direct, whole-image and tiled methods.
  const Image2 sizes[][2] = {{{3, 3}, {2, 2}}, {{17, 17}, {9, 9}}, {{64, 64}, {9, 9}}};
  std::mt19937 gen(5);
  for (const auto& s : sizes) {
    const auto x = randomImage<float>(s[0], gen), h = randomImage<float>(s[1], gen);
    std::vector<LD> mag;
    const auto ref = naive(x.data(), s[0], h.data(), s[1], &mag);
    std::vector<float> y(ref.size(), 9.0f);
    zqvSetErrStatus(-7);
    zqvsConv2D(x.data(), int32_t(s[0].cols), int32_t(s[0].rows), h.data(), int32_t(s[1].cols), int32_t(s[1].rows),
               y.data());
    EXPECT_EQ(zqvGetErrStatus(), -7);
    EXPECT_LT(relativeError(y, ref, mag), 1e-5L) << s[0].cols;
  }
  EXPECT_TRUE(reportsAre({}));
}

// Single rows (or single columns) too long for the direct sum go to the
// one-dimensional convolution, which clears the status on entry.
TEST_F(Conv2DTest, SingleRowsAndColumnsClearAStaleStatus) {
  const Image2 sizes[][2] = {{{40, 1}, {30, 1}}, {{1, 33}, {1, 31}}};
  std::mt19937 gen(9);
  for (const auto& s : sizes) {
    const auto x = randomImage<double>(s[0], gen), h = randomImage<double>(s[1], gen);
    std::vector<LD> mag;
    const auto ref = naive(x.data(), s[0], h.data(), s[1], &mag);
    std::vector<double> y(ref.size(), 9.0);
    std::vector<float> xf(x.begin(), x.end()), hf(h.begin(), h.end()), yf(ref.size(), 9.0f);
    zqvSetErrStatus(-7);
    zqvdConv2D(x.data(), int32_t(s[0].cols), int32_t(s[0].rows), h.data(), int32_t(s[1].cols), int32_t(s[1].rows),
               y.data());
    EXPECT_EQ(zqvGetErrStatus(), 0);
    EXPECT_LT(relativeError(y, ref, mag), 1e-14L) << s[0].cols;
    zqvSetErrStatus(-7);
    zqvsConv2D(xf.data(), int32_t(s[0].cols), int32_t(s[0].rows), hf.data(), int32_t(s[1].cols),
               int32_t(s[1].rows), yf.data());
    EXPECT_EQ(zqvGetErrStatus(), 0);
    EXPECT_LT(relativeError(yf, ref, mag), 1e-5L) << s[0].cols;
  }
  EXPECT_TRUE(reportsAre({}));
}

// Sizes at the edges of the method choice (x, then h; columns first).
struct SizeCase {
  Image2 x, h;
};
const SizeCase kSizes[] = {
    {{1, 1}, {1, 1}},    {{16, 16}, {16, 16}}, {{17, 17}, {9, 9}},  {{64, 64}, {9, 9}},   {{40, 1}, {30, 1}},
    {{1, 33}, {1, 31}},  {{16, 1}, {15, 1}},   {{40, 1}, {1, 40}},  {{7, 7}, {100, 3}},   {{8, 7}, {33, 20}},
    {{18, 9}, {9, 9}},   {{9, 9}, {9, 18}},    {{17, 9}, {9, 9}},   {{32, 32}, {32, 32}}, {{31, 33}, {8, 8}},
    {{65, 63}, {3, 9}},  {{5, 100}, {9, 2}},   {{129, 20}, {17, 16}}, {{20, 129}, {16, 17}}, {{1, 1}, {50, 60}},
};

template <class T>
void conv2D(const T* x, Image2 xe, const T* h, Image2 he, T* y) {
  if constexpr (std::is_same_v<T, float>)
    zqvsConv2D(x, int32_t(xe.cols), int32_t(xe.rows), h, int32_t(he.cols), int32_t(he.rows), y);
  else
    zqvdConv2D(x, int32_t(xe.cols), int32_t(xe.rows), h, int32_t(he.cols), int32_t(he.rows), y);
}

template <class T>
void checkSizes(LD tolerance) {
  std::mt19937 gen(11);
  for (const SizeCase& s : kSizes) {
    SCOPED_TRACE(testing::Message() << s.x.cols << "x" << s.x.rows << " with " << s.h.cols << "x" << s.h.rows);
    const auto x = randomImage<T>(s.x, gen), h = randomImage<T>(s.h, gen);
    std::vector<LD> mag;
    const auto ref = naive(x.data(), s.x, h.data(), s.h, &mag);
    std::vector<T> y(ref.size(), T(9)), swapped(ref.size(), T(9));
    conv2D(x.data(), s.x, h.data(), s.h, y.data());
    conv2D(h.data(), s.h, x.data(), s.x, swapped.data());
    EXPECT_LT(relativeError(y, ref, mag), tolerance);
    EXPECT_LT(relativeError(swapped, ref, mag), tolerance);
  }
  EXPECT_TRUE(reportsAre({}));
  EXPECT_EQ(zqvGetErrStatus(), 0);
}

TEST_F(Conv2DTest, FloatSizesAcrossTheMethodChoiceMatchTheNaiveSum) { checkSizes<float>(4e-6L); }
TEST_F(Conv2DTest, DoubleSizesAcrossTheMethodChoiceMatchTheNaiveSum) { checkSizes<double>(1e-14L); }

TEST_F(Conv2DTest, OneByOneIsTheSingleProduct) {
  const float x = 3.5f, h = -1.25f;
  float y = 0;
  zqvsConv2D(&x, 1, 1, &h, 1, 1, &y);
  EXPECT_EQ(y, -4.375f);
}

TEST_F(Conv2DTest, TheFirFilterIsTheCentredPartOfTheConvolution) {
  // filter(r, c) = conv(r + krows/2, c + kcols/2), odd and even kernels.
  const Image2 cases[][2] = {{{20, 13}, {5, 3}}, {{9, 9}, {4, 6}}, {{40, 40}, {7, 7}}, {{6, 30}, {1, 8}}};
  std::mt19937 gen(13);
  for (const auto& c : cases) {
    const Image2 im = c[0], k = c[1];
    SCOPED_TRACE(testing::Message() << im.cols << "x" << im.rows << " kernel " << k.cols << "x" << k.rows);
    const auto src = randomImage<float>(im, gen), ker = randomImage<float>(k, gen);
    std::vector<float> full(static_cast<size_t>((im.cols + k.cols - 1) * (im.rows + k.rows - 1)));
    std::vector<float> filtered(static_cast<size_t>(im.cols * im.rows));
    zqvsConv2D(src.data(), int32_t(im.cols), int32_t(im.rows), ker.data(), int32_t(k.cols), int32_t(k.rows),
               full.data());
    zqvsFilter2D(src.data(), int32_t(im.cols), int32_t(im.rows), ker.data(), int32_t(k.cols), int32_t(k.rows),
                 filtered.data());
    const int64_t yc = im.cols + k.cols - 1;
    for (int64_t r = 0; r < im.rows; ++r)
      for (int64_t cc = 0; cc < im.cols; ++cc)
        ASSERT_NEAR(filtered[size_t(r * im.cols + cc)], full[size_t((r + k.rows / 2) * yc + cc + k.cols / 2)], 2e-5)
            << r << "," << cc;
  }
}

TEST_F(Conv2DTest, InfinitiesMeetNoZeroFactorInTheDirectSum) {
  // An image with infinities, a kernel with +0 and -0 elements, both small
  // enough for the direct sum; the kernel narrower and wider than the image
  // (the narrow operand is the one walked element by element), in both
  // operand orders. No output becomes NaN.
  const Image2 shapes[][2] = {{{6, 5}, {3, 4}}, {{3, 5}, {6, 4}}, {{4, 4}, {4, 4}}};
  for (const auto& shape : shapes) {
    const Image2 xe = shape[0], he = shape[1];
    SCOPED_TRACE(testing::Message() << xe.cols << "x" << xe.rows << " kernel " << he.cols << "x" << he.rows);
    std::vector<float> x(size_t(xe.cols * xe.rows), 1.0f), h(size_t(he.cols * he.rows), 0.5f);
    x[1] = INFINITY;
    x[x.size() - 2] = -INFINITY;
    for (size_t i = 0; i < h.size(); i += 3) h[i] = 0.0f;
    h[1] = -0.0f;
    const auto ref = naive(x.data(), xe, h.data(), he);
    std::vector<float> y(ref.size()), swapped(ref.size());
    zqvsConv2D(x.data(), int32_t(xe.cols), int32_t(xe.rows), h.data(), int32_t(he.cols), int32_t(he.rows), y.data());
    zqvsConv2D(h.data(), int32_t(he.cols), int32_t(he.rows), x.data(), int32_t(xe.cols), int32_t(xe.rows),
               swapped.data());
    for (size_t i = 0; i < ref.size(); ++i) {
      ASSERT_FALSE(std::isnan(y[i])) << i;
      ASSERT_FALSE(std::isnan(swapped[i])) << i;
      if (std::isinf(ref[i])) {
        EXPECT_EQ(y[i], static_cast<float>(ref[i])) << i;
        EXPECT_EQ(swapped[i], static_cast<float>(ref[i])) << i;
      } else {
        EXPECT_NEAR(y[i], static_cast<float>(ref[i]), 1e-6) << i;
        EXPECT_NEAR(swapped[i], static_cast<float>(ref[i]), 1e-6) << i;
      }
    }
  }
}

TEST_F(Conv2DTest, SizesBeyondThirtyTwoBitsAreRefusedAsMissingMemory) {
  // Element counts whose 32-bit products wrap; nothing is read from the
  // small buffers passed, the failure is reported and y stays untouched.
  float a[4] = {1, 1, 1, 1}, y[4] = {5, 5, 5, 5};
  int16_t w[4] = {1, 1, 1, 1}, yw[4] = {5, 5, 5, 5};
  int32_t factor = 0;
  expectReportRows(
      {{"whole image of 2^34 padded elements", [&] { zqvsConv2D(a, 40000, 40000, a, 30000, 30000, y); },
        {{-4, "zqvsConv2D", kMem, kMod}}},
       {"a column with a row of 2^31 - 1", [&] { zqvsConv2D(a, 1, INT32_MAX, a, INT32_MAX, 1, y); },
        {{-4, "zqvsConv2D", kMem, kMod}}},
       {"16-bit copy of 2^32 elements", [&] { zqvwConv2D(w, 65536, 65536, w, 1, 1, yw, 0, &factor); },
        {{-4, "zqvwConv2D", kMem, kMod}}}},
      ZQV_OUT_OF_MEMORY, [&](const ReportRow&) {
        for (float v : y) EXPECT_EQ(v, 5.0f);
        for (int16_t v : yw) EXPECT_EQ(v, 5);
      });
}

// ---- 16-bit: exact integer sums (small enough to be exact in float),
// then the mode's shift truncated toward zero, wrapped or saturated.
std::vector<int64_t> exactConv(const std::vector<int16_t>& x, Image2 xe, const std::vector<int16_t>& h, Image2 he) {
  const auto ref = naive(x.data(), xe, h.data(), he);
  std::vector<int64_t> out(ref.size());
  for (size_t i = 0; i < ref.size(); ++i) out[i] = static_cast<int64_t>(ref[i]);
  return out;
}

int16_t expected16(int64_t v, int shift, bool saturate) {
  const int64_t t = shift >= 0 ? (v < 0 ? -((-v) >> shift) : v >> shift) : v * (int64_t{1} << -shift);
  if (saturate) return static_cast<int16_t>(std::clamp<int64_t>(t, -32768, 32767));
  return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(t)));
}

TEST_F(Conv2DTest, SixteenBitScaleModes) {
  // 9x7 image with 5x4 kernel: the direct sum, exact in float.
  const Image2 xe{9, 7}, he{5, 4};
  std::mt19937 gen(17);
  std::uniform_int_distribution<int> u(-1500, 1500);
  std::vector<int16_t> x(63), h(20);
  for (int16_t& v : x) v = static_cast<int16_t>(u(gen));
  for (int16_t& v : h) v = static_cast<int16_t>(u(gen));
  const auto ref = exactConv(x, xe, h, he);
  struct Mode {
    int32_t mode, factor;
    int shift;
    bool saturate;
  };
  const Mode modes[] = {{0, 0, 0, false}, {1, 0, 0, true},  {2, 3, 3, false},  {3, 3, 3, true},
                        {2, 0, 0, false}, {3, -2, -2, true}, {ZQV_FIXED_SCALE, 9, 9, false}};
  for (const Mode& m : modes) {
    SCOPED_TRACE(testing::Message() << "mode " << m.mode << " factor " << m.factor);
    std::vector<int16_t> y(ref.size());
    int32_t factor = m.factor;
    zqvwConv2D(x.data(), 9, 7, h.data(), 5, 4, y.data(), m.mode, &factor);
    for (size_t i = 0; i < ref.size(); ++i) ASSERT_EQ(y[i], expected16(ref[i], m.shift, m.saturate)) << i;
    EXPECT_EQ(factor, m.factor);
  }
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(Conv2DTest, SixteenBitAutomaticModeReturnsItsShift) {
  // Largest magnitude of the exact sums decides: floor(log2 max) - 14, or 0
  // when everything fits. The transform sizes allow one unit of rounding.
  struct Case {
    Image2 xe, he;
    int amplitude;
    int tolerance;
  };
  const Case cases[] = {{{9, 7}, {5, 4}, 1500, 0}, {{9, 7}, {5, 4}, 20, 0}, {{17, 17}, {9, 9}, 600, 1}};
  std::mt19937 gen(19);
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.xe.cols << "x" << c.xe.rows << " amplitude " << c.amplitude);
    std::uniform_int_distribution<int> u(-c.amplitude, c.amplitude);
    std::vector<int16_t> x(size_t(c.xe.cols * c.xe.rows)), h(size_t(c.he.cols * c.he.rows));
    for (int16_t& v : x) v = static_cast<int16_t>(u(gen));
    for (int16_t& v : h) v = static_cast<int16_t>(u(gen));
    const auto ref = exactConv(x, c.xe, h, c.he);
    int64_t top = 0;
    for (int64_t v : ref) top = std::max(top, v < 0 ? -v : v);
    int want = 0;
    if (top > 32767) {
      while ((int64_t{2} << want) <= top) ++want;
      want -= 14;
    }
    std::vector<int16_t> y(ref.size());
    int32_t factor = -99;
    zqvwConv2D(x.data(), int32_t(c.xe.cols), int32_t(c.xe.rows), h.data(), int32_t(c.he.cols), int32_t(c.he.rows),
               y.data(), ZQV_AUTO_SCALE, &factor);
    EXPECT_EQ(factor, want);
    for (size_t i = 0; i < ref.size(); ++i)
      ASSERT_NEAR(y[i], expected16(ref[i], want, false), c.tolerance) << i;
  }
  EXPECT_TRUE(reportsAre({}));
}

}  // namespace
