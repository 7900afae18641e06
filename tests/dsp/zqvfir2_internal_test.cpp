// Two-dimensional FIR filter: both methods forced against the definition
// summed in long double (the centred window of the full convolution), the
// argument checks, the kernel left as it was, and the 16-bit scale modes.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <utility>
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

// The sums run over the image in ascending order, one running sum: the
// centre of the column [16384, 1, -16384] under the kernel [1024, 1, 1024]
// is (16777216 + 1) rounded to float, then minus 16777216: 0 (the descending
// order gives 1).
TEST(Filter2D, SumsRunOverTheImageInAscendingOrder) {
  const float col[3] = {16384, 1, -16384}, k[3] = {1024, 1, 1024};
  float out[3];
  zqvsFilter2D(col, 1, 3, k, 1, 3, out);
  EXPECT_EQ(out[1], 0.0f);
  const double dcol[3] = {0x1p53, 1, -0x1p53}, dk[3] = {1, 1, 1};
  double dout[3];
  zqvdFilter2D(dcol, 1, 3, dk, 1, 3, dout);
  EXPECT_EQ(dout[1], 0.0);
  // Along a row the same, and the 16-bit member sums in the same order.
  const int16_t wrow[3] = {16384, 1, -16384};
  int16_t wout[3];
  zqvwFilter2D(wrow, 3, 1, k, 3, 1, wout, 0, nullptr);
  EXPECT_EQ(wout[1], 0);
}

// The block transform: rows of Bc reals as Bc/2 complex values, the row FFT
// into bit-reversed order, the column butterflies and the two-dimensional
// real-spectrum pass give the real spectrum X[u][v] of the block in the
// shared packed layout (rows and columns bit-reversed); the inverse with
// 1/(Br Bc) gives the block back.
template <class T>
void expectRealSpectrum(int32_t rowOrder, int32_t colOrder, LD eps) {
  const int64_t R = int64_t{1} << rowOrder, M = int64_t{1} << colOrder, C = 2 * M;
  std::mt19937 gen(static_cast<unsigned>(rowOrder * 7 + colOrder));
  const auto x = randomVec<T>(R * C, gen);
  std::vector<T> a = x;
  const Orders o{rowOrder, colOrder};
  forward2(a.data(), o, twiddles<T>(rowOrder));
  const LD pi = 3.141592653589793238462643383279502884L;
  auto dft = [&](int64_t u, int64_t v) {
    LD re = 0, im = 0;
    for (int64_t r = 0; r < R; ++r)
      for (int64_t c = 0; c < C; ++c) {
        const LD ang = -2 * pi * (static_cast<LD>((u * r) % R) / R + static_cast<LD>((v * c) % C) / C);
        re += x[r * C + c] * std::cos(ang);
        im += x[r * C + c] * std::sin(ang);
      }
    return std::pair<LD, LD>{re, im};
  };
  auto rev = [](int64_t i, int32_t bits) {
    int64_t r = 0;
    for (int32_t b = 0; b < bits; ++b) r |= ((i >> b) & 1) << (bits - 1 - b);
    return r;
  };
  const LD bound = eps * static_cast<LD>(R * C) * 4;
  auto expectAt = [&](int64_t row, int64_t k, LD re, LD im) {
    const int64_t at = rev(row, rowOrder) * C + 2 * rev(k, colOrder);
    EXPECT_NEAR(static_cast<LD>(a[at]), re, bound) << R << "x" << C << " row " << row << " element " << k;
    EXPECT_NEAR(static_cast<LD>(a[at + 1]), im, bound) << R << "x" << C << " row " << row << " element " << k;
  };
  for (int64_t row : {int64_t{0}, R / 2}) {
    if (row == R / 2 && R < 2) break;
    expectAt(row, 0, dft(row, 0).first, dft(row, M).first);
    for (int64_t k = 1; k < M; ++k) expectAt(row, k, dft(row, k).first, dft(row, k).second);
  }
  for (int64_t r = 1; r < R / 2; ++r)
    for (int64_t k = 0; k < M; ++k) {
      expectAt(r, k, dft(r, k).first, dft(r, k).second);
      const auto mirror = dft(r, k == 0 ? M : C - k);
      expectAt(R - r, k, mirror.first, mirror.second);
    }
  inverse2(a.data(), o, twiddles<T>(rowOrder));
  for (size_t i = 0; i < x.size(); ++i)
    EXPECT_NEAR(static_cast<LD>(a[i]) / static_cast<LD>(R * C), static_cast<LD>(x[i]), bound) << i;
}

TEST(Filter2D, BlockTransformIsTheTwoDimensionalRealFft) {
  for (auto [r, c] : {std::pair{1, 0}, {1, 1}, {2, 1}, {3, 2}, {4, 3}, {2, 4}}) {
    expectRealSpectrum<float>(r, c, 0x1p-21L);
    expectRealSpectrum<double>(r, c, 0x1p-50L);
  }
}

// Each export on both sides of the estimate's turn, for several kernels:
// the smallest square image whose blocks are estimated cheaper, and the one
// below it.
TEST(Filter2D, ExportsAtTheCrossoverEdgesGiveTheCentredConvolution) {
  std::mt19937 gen(21);
  for (int64_t kk : {9, 12, 16, 17}) {
    int64_t n = 1;
    while (n < 200 && !blocksCheaper(n, n, kk, kk)) ++n;
    ASSERT_LT(n, 200) << kk;
    for (int64_t side : {n - 1, n}) {
      if (side < 1) continue;
      SCOPED_TRACE(std::to_string(side) + " kernel " + std::to_string(kk));
      EXPECT_EQ(blocksCheaper(side, side, kk, kk), side == n);
      const auto src = randomVec<float>(side * side, gen);
      const auto k = randomVec<float>(kk * kk, gen);
      const auto ref = byDefinition(src, side, side, k, kk, kk);
      std::vector<float> out(ref.size());
      zqvsFilter2D(src.data(), int32_t(side), int32_t(side), k.data(), int32_t(kk), int32_t(kk), out.data());
      const std::vector<double> dsrc(src.begin(), src.end()), dk(k.begin(), k.end());
      std::vector<double> dout(ref.size());
      zqvdFilter2D(dsrc.data(), int32_t(side), int32_t(side), dk.data(), int32_t(kk), int32_t(kk), dout.data());
      const LD fb = 0x1p-24L * 16 * (kk * kk + std::log2(static_cast<LD>(4 * kk * kk)) * 8);
      const LD db = 0x1p-53L * 16 * (kk * kk + std::log2(static_cast<LD>(4 * kk * kk)) * 8);
      for (size_t i = 0; i < ref.size(); ++i) {
        EXPECT_LE(std::abs(out[i] - ref[i]), fb) << i;
        EXPECT_LE(std::abs(static_cast<LD>(dout[i]) - ref[i]), db) << i;
      }
    }
  }
}

// Outputs summed side by side give the bits of one output at a time, over
// widths one either side of the vector lengths and kernels wider than the
// image.
template <class T>
void expectSideBySideBits() {
  std::mt19937 gen(17);
  for (int64_t cols : {1, 2, 7, 8, 9, 15, 16, 17, 31, 33, 64, 101})
    for (auto [kcols, krows] : {std::pair<int64_t, int64_t>{1, 1}, {2, 2}, {3, 3}, {5, 2}, {7, 9}, {16, 1}, {40, 3}}) {
      const int64_t rows = 5;
      const auto src = randomVec<T>(cols * rows, gen);
      const auto k = randomVec<T>(kcols * krows, gen);
      std::vector<T> d(static_cast<size_t>(cols * rows));
      direct(src.data(), cols, rows, k.data(), kcols, krows, d.data());
      for (int64_t r = 0; r < rows; ++r)
        for (int64_t c = 0; c < cols; ++c)
          ASSERT_EQ(d[size_t(r * cols + c)], (sumAt<T>(src.data(), cols, rows, k.data(), kcols, krows, r, c)))
              << cols << " kernel " << kcols << "x" << krows << " at " << r << "," << c;
    }
}

TEST(Filter2D, DirectSumsSideBySideKeepEachOutputsBits) {
  expectSideBySideBits<float>();
  expectSideBySideBits<double>();
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
  // Sums beyond 32 bits keep their sign and magnitude: 32767 * 1e6 is
  // 32767000576 in float, floor(log2) = 34, so the automatic shift is 20.
  const std::vector<int16_t> img9(9, 32767);
  std::vector<int16_t> o9(9);
  for (auto [scale, want] : {std::pair{1e6f, int16_t{31249}}, {-1e6f, int16_t{-31250}}}) {
    factor = 0;
    zqvwFilter2D(img9.data(), 3, 3, &scale, 1, 1, o9.data(), ZQV_AUTO_SCALE, &factor);
    EXPECT_EQ(factor, 20);
    for (int16_t v : o9) EXPECT_EQ(v, want);
    zqvwFilter2D(img9.data(), 3, 3, &scale, 1, 1, o9.data(), ZQV_SATURATE, nullptr);
    for (int16_t v : o9) EXPECT_EQ(v, scale > 0 ? 32767 : -32768);
  }
  // Earlier outputs follow a late large sum's shift: the last output alone
  // is huge, the others small.
  std::vector<int16_t> ramp = {1, 2, 3, 4, 5, 6, 7, 8, 32767};
  const float big6[1] = {1e6f};
  std::vector<int16_t> r9(9);
  factor = 0;
  zqvwFilter2D(ramp.data(), 3, 3, big6, 1, 1, r9.data(), ZQV_AUTO_SCALE, &factor);
  EXPECT_EQ(factor, 20);
  EXPECT_EQ(r9[8], 31249);
  EXPECT_EQ(r9[7], (8000000 >> 20));
  // A NaN sum is the integer indefinite, whose low 16 bits are 0.
  const float nan[1] = {std::nanf("")};
  zqvwFilter2D(img, 2, 2, nan, 1, 1, out, 0, nullptr);
  EXPECT_EQ(out[0], 0);
  EXPECT_EQ(zqvGetErrStatus(), 0);
}

}  // namespace
