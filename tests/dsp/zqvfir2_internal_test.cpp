// Two-dimensional FIR filter: both methods forced against the definition
// summed in long double (the centred window of the full convolution), the
// argument checks, the kernel left as it was, and the 16-bit scale modes.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "support/zqv_report_log.h"
#include "analysis/detail/zqvfir2gen.h"

namespace {

using namespace zqvfir2;
using LD = long double;

template <class T>
std::vector<T> randomVec(int64_t n, std::mt19937& gen) {
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  std::vector<T> v(static_cast<size_t>(n));
  for (T& e : v) e = static_cast<T>(u(gen));
  return v;
}

// The full two-dimensional convolution, then its window starting at
// (krows/2, kcols/2) of the image's size.
template <class T, class K>
std::vector<LD> byDefinition(const std::vector<T>& src, int64_t cols, int64_t rows, const std::vector<K>& k,
                             int64_t kcols, int64_t krows) {
  const int64_t fr = rows + krows - 1, fc = cols + kcols - 1;
  std::vector<LD> full(static_cast<size_t>(fr * fc));
  for (int64_t r = 0; r < rows; ++r)
    for (int64_t c = 0; c < cols; ++c)
      for (int64_t i = 0; i < krows; ++i)
        for (int64_t j = 0; j < kcols; ++j)
          full[(r + i) * fc + c + j] += static_cast<LD>(src[r * cols + c]) * static_cast<LD>(k[i * kcols + j]);
  std::vector<LD> out(static_cast<size_t>(rows * cols));
  for (int64_t r = 0; r < rows; ++r)
    for (int64_t c = 0; c < cols; ++c) out[r * cols + c] = full[(r + krows / 2) * fc + c + kcols / 2];
  return out;
}

struct Size {
  int64_t cols, rows, kcols, krows;
};
const Size kSizes[] = {{1, 1, 1, 1}, {5, 4, 1, 1},  {7, 6, 3, 3},   {9, 5, 2, 2},    {3, 2, 5, 7},
                       {17, 17, 9, 9}, {64, 64, 9, 9}, {33, 20, 4, 6}, {100, 37, 16, 3}, {8, 40, 1, 17}};

template <class T>
void expectBothMethods(LD eps) {
  std::mt19937 gen(4);
  for (const Size& s : kSizes) {
    const auto src = randomVec<T>(s.cols * s.rows, gen);
    const auto k = randomVec<T>(s.kcols * s.krows, gen);
    const auto ref = byDefinition(src, s.cols, s.rows, k, s.kcols, s.krows);
    std::vector<T> d(ref.size()), f(ref.size());
    direct(src.data(), s.cols, s.rows, k.data(), s.kcols, s.krows, d.data());
    ASSERT_TRUE(blockFft(src.data(), s.cols, s.rows, k.data(), s.kcols, s.krows, f.data()));
    const LD bound = eps * 16 * (s.kcols * s.krows + std::log2(static_cast<LD>(4 * s.kcols * s.krows)) * 8);
    for (size_t i = 0; i < ref.size(); ++i) {
      EXPECT_LE(std::abs(d[i] - ref[i]), bound) << "direct " << s.cols << "x" << s.rows << " at " << i;
      EXPECT_LE(std::abs(f[i] - ref[i]), bound) << "blocks " << s.cols << "x" << s.rows << " k " << s.kcols << "x"
                                                << s.krows << " at " << i;
    }
  }
}

TEST(Filter2D, BothMethodsGiveTheCentredFullConvolution) {
  expectBothMethods<float>(0x1p-24L);
  expectBothMethods<double>(0x1p-53L);
}

TEST(Filter2D, SmallCasesByHand) {
  // The identity kernel reproduces the image; 2 by 2 weighs (r, c) with
  // kernel(1, 1), (r, c+1) with kernel(1, 0), (r+1, c) with kernel(0, 1).
  const float img[6] = {1, 2, 3, 4, 5, 6};  // 3 cols, 2 rows
  const float id[9] = {0, 0, 0, 0, 1, 0, 0, 0, 0};
  float out[6];
  zqvsFilter2D(img, 3, 2, id, 3, 3, out);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(out[i], img[i]);
  const float k2[4] = {1000, 100, 10, 1};
  zqvsFilter2D(img, 3, 2, k2, 2, 2, out);
  EXPECT_EQ(out[0], 1 * 1 + 2 * 10 + 4 * 100 + 5 * 1000);
  EXPECT_EQ(out[2], 3 * 1 + 6 * 100);  // column 3 lies outside
  EXPECT_EQ(out[5], 6 * 1);
}

TEST(Filter2D, MethodChoice) {
  EXPECT_FALSE(blocksCheaper(64, 64, 3, 3));
  EXPECT_TRUE(blocksCheaper(512, 512, 31, 31));
  EXPECT_FALSE(blocksCheaper(1, 1, 1, 1));
}

class Filter2DExports : public ZqvReportLogTest {};

TEST_F(Filter2DExports, FirstFailedCheckOnly) {
  const float a[4] = {1, 2, 3, 4};
  float d[4] = {7, 7, 7, 7};
  int16_t w[4] = {1, 2, 3, 4}, dw[4] = {7, 7, 7, 7};
  struct Row {
    std::function<void()> call;
    std::string report;
  };
  const Row rows[] = {
      {[&] { zqvsFilter2D(nullptr, 0, 0, nullptr, 0, 0, nullptr); }, "-5 zqvsFilter2D Null SRC buffer pointer zqvfir2"},
      {[&] { zqvsFilter2D(a, 2, 2, nullptr, 1, 1, d); }, "-5 zqvsFilter2D Null SRC buffer pointer zqvfir2"},
      {[&] { zqvsFilter2D(a, 2, 2, a, 1, 1, nullptr); }, "-5 zqvsFilter2D Null DST buffer pointer zqvfir2"},
      {[&] { zqvsFilter2D(a, 0, 0, a, 1, 1, d); }, "-5 zqvsFilter2D Invalid number of cols zqvfir2"},
      {[&] { zqvsFilter2D(a, 2, 0, a, 0, 1, d); }, "-5 zqvsFilter2D Inlalid number of rows zqvfir2"},
      {[&] { zqvsFilter2D(a, 2, 2, a, 0, 0, d); }, "-5 zqvsFilter2D Invalid number of cols zqvfir2"},
      {[&] { zqvsFilter2D(a, 2, 2, a, 1, -1, d); }, "-5 zqvsFilter2D Inlalid number of rows zqvfir2"},
      {[&] { zqvwFilter2D(w, 2, 2, a, 1, 1, dw, ZQV_AUTO_SCALE, nullptr); },
       "-5 zqvwFilter2D Null scale factor pointer zqvfir2w"},
  };
  for (const Row& r : rows) {
    log().clear();
    r.call();
    EXPECT_EQ(log(), std::vector<std::string>{r.report});
    for (float v : d) EXPECT_EQ(v, 7.0f);
    for (int16_t v : dw) EXPECT_EQ(v, 7);
  }
}

TEST_F(Filter2DExports, KernelUnchangedAndAStaleStatusNeitherReadNorCleared) {
  std::mt19937 gen(8);
  const auto src = randomVec<double>(512 * 64, gen);
  auto k = randomVec<double>(31 * 31, gen);
  const auto kBefore = k;
  std::vector<double> fresh(src.size()), stale(src.size()), small(src.size());
  zqvdFilter2D(src.data(), 512, 64, k.data(), 31, 31, fresh.data());
  zqvSetErrStatus(ZQV_BAD_ARGUMENT);
  zqvdFilter2D(src.data(), 512, 64, k.data(), 31, 31, stale.data());
  zqvdFilter2D(src.data(), 512, 64, k.data(), 3, 3, small.data());
  EXPECT_EQ(zqvGetErrStatus(), ZQV_BAD_ARGUMENT);
  EXPECT_EQ(fresh, stale);
  EXPECT_EQ(k, kBefore);
  EXPECT_TRUE(log().empty());
}

TEST_F(Filter2DExports, SixteenBitScaleModes) {
  const int16_t img[4] = {1000, 2000, 3000, 4000};
  const float one[1] = {3.0f};
  int16_t out[4];
  int32_t factor = 1;
  zqvwFilter2D(img, 2, 2, one, 1, 1, out, ZQV_FIXED_SCALE, &factor);
  EXPECT_EQ(out[3], 6000);
  zqvwFilter2D(img, 2, 2, one, 1, 1, out, ZQV_SATURATE, nullptr);
  EXPECT_EQ(out[3], 12000);
  const float big[1] = {20.0f};
  zqvwFilter2D(img, 2, 2, big, 1, 1, out, ZQV_SATURATE, nullptr);
  EXPECT_EQ(out[0], 20000);
  EXPECT_EQ(out[1], 32767);
  // Automatic on a full-scale image: one positive shift for every output.
  std::vector<int16_t> full(64, 32767), r(64);
  const float k9[9] = {1, 1, 1, 1, 1, 1, 1, 1, 1};
  factor = -3;
  zqvwFilter2D(full.data(), 8, 8, k9, 3, 3, r.data(), ZQV_AUTO_SCALE, &factor);
  ASSERT_GT(factor, 0);
  EXPECT_EQ(r[9], static_cast<int16_t>((9 * 32767) >> factor));   // inner: nine terms
  EXPECT_EQ(r[0], static_cast<int16_t>((4 * 32767) >> factor));   // corner: four
  // A NaN sum is the integer indefinite, whose low 16 bits are 0.
  const float nan[1] = {std::nanf("")};
  zqvwFilter2D(img, 2, 2, nan, 1, 1, out, 0, nullptr);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(zqvGetErrStatus(), 0);
}

}  // namespace
