// The cost model and the support passes of FFT-based convolution: the
// model's figures, and the passes checked by completing real transforms and
// a real convolution with them against long-double sums.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstring>
#include <type_traits>
#include <random>
#include <vector>

#include "transforms/detail/zqvfftconv.h"

namespace {

using LD = long double;
using CL = std::complex<LD>;
constexpr LD kTwoPi = 6.283185307179586476925286766559L;

TEST(FftConvCost, FiguresOfTheModel) {
  struct Case {
    int32_t n, log2, nextPow2, convLen;
  };
  const Case cases[] = {{-7, 0, 1, 2},          {0, 0, 1, 2},         {1, 0, 1, 2},
                        {2, 1, 2, 4},           {3, 1, 4, 8},         {1023, 9, 1024, 2048},
                        {1024, 10, 1024, 2048}, {1025, 10, 2048, 4096}, {1 << 29, 29, 1 << 29, 1 << 30}};
  for (const Case& c : cases) {
    EXPECT_EQ(zqvIntLog2(c.n), c.log2) << c.n;
    EXPECT_EQ(zqvNextPow2(c.n), c.nextPow2) << c.n;
    EXPECT_EQ(zqvFftConvLen(c.n), c.convLen) << c.n;
  }
  struct CostCase {
    double (*cost)(int32_t);
    int32_t n;
    double want;
  };
  const CostCase costs[] = {
      {zqvCostFft, 8, 288.0},        {zqvCostFft, 3, 24.0},         {zqvCostFft, 1, 0.0},
      {zqvCostRealSplit, 1, 8.0},    {zqvCostRealSplit, 2, 8.0},    {zqvCostRealSplit, 8, 128.0},
      {zqvCostRealSplit, 3, 8.0},    {zqvCostCcsMerge, 8, 116.0},   {zqvCostCcsMerge, 1, 8.0},
      {zqvCostLinear, 5, 40.0},      {zqvCostDirect, 1, 3.0},       {zqvCostDirect, 2, 6.0},
      {zqvCostDirect, 10, 62.0},     {zqvCostDirect, -3, 3.0},
  };
  for (const CostCase& c : costs) EXPECT_EQ(c.cost(c.n), c.want) << c.n;
}

// Lengths near the top of the 32-bit range: no endless doubling, no overflow
// of order times length.
TEST(FftConvCost, LargeLengths) {
  EXPECT_EQ(zqvNextPow2(1 << 30), 1 << 30);
  EXPECT_EQ(zqvNextPow2((1 << 30) + 1), 0);
  EXPECT_EQ(zqvNextPow2(INT32_MAX), 0);
  EXPECT_EQ(zqvFftConvLen((1 << 29) + 1), 0);
  EXPECT_EQ(zqvCostFft(INT32_MAX), static_cast<double>(30LL * INT32_MAX / 2 * 24));
  EXPECT_EQ(zqvCostDirect(INT32_MAX), 6.0 + 7.0 * (static_cast<double>(INT32_MAX) - 2));
}

std::vector<float> randomReals(std::size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<float> d(-1, 1);
  std::vector<float> v(n);
  for (float& x : v) x = d(gen);
  return v;
}

int32_t bitRev(int32_t k, int32_t order) { return order == 0 ? 0 : zqvBitRev(k, order); }

// X[k] of the real signal x, k = 0 .. x.size() - 1, summed in long double.
CL realDft(const std::vector<float>& x, std::size_t k) {
  CL sum = 0;
  const std::size_t n = x.size();
  for (std::size_t t = 0; t < n; ++t) sum += static_cast<LD>(x[t]) * std::polar(1.0L, -kTwoPi * ((k * t) % n) / n);
  return sum;
}

// Forward complex FFT of 2M interleaved reals, then the unpack pass: the real
// spectrum in the layout of the passes, natural or bit-reversed.
TEST(FftConvPasses, UnpackGivesTheRealSpectrum) {
  for (int32_t order = 0; order <= 9; ++order)
    for (int32_t flags : {int32_t{ZQV_Forw}, ZQV_Forw | ZQV_OutBitRev}) {
      SCOPED_TRACE(testing::Message() << "order " << order << " flags " << flags);
      const std::size_t m = std::size_t{1} << order;
      const auto x = randomReals(2 * m, 3 + order);
      std::vector<float> buf = x;
      auto* data = reinterpret_cast<ZqvCplxS*>(buf.data());
      zqvcFft(data, order, flags);
      zqvcRealFftSplit(data, order, flags);
      const bool rev = flags & ZQV_OutBitRev;
      const LD tol = 1e-5L * (order + 1);
      EXPECT_NEAR(data[0].re, realDft(x, 0).real(), tol);
      EXPECT_NEAR(data[0].im, realDft(x, m).real(), tol);
      for (std::size_t k = 1; k < m; ++k) {
        const ZqvCplxS got = data[rev ? bitRev(static_cast<int32_t>(k), order) : k];
        const CL want = realDft(x, k);
        ASSERT_NEAR(got.re, want.real(), tol) << k;
        ASSERT_NEAR(got.im, want.imag(), tol) << k;
      }
    }
  EXPECT_EQ(zqvGetErrStatus(), 0);
}

// A circular convolution of 2M reals: forward FFTs and unpacks in double,
// the product of the spectra, merge, inverse FFT without scaling, 1/(2M).
TEST(FftConvPasses, CircularConvolutionThroughThePasses) {
  for (int32_t order = 0; order <= 8; ++order) {
    SCOPED_TRACE(order);
    const std::size_t m = std::size_t{1} << order, n = 2 * m;
    const auto xf = randomReals(n, 10 + order), yf = randomReals(n, 20 + order);
    std::vector<double> x(xf.begin(), xf.end()), y(yf.begin(), yf.end());
    const int32_t fwd = ZQV_Forw | ZQV_OutBitRev, inv = ZQV_Inv | ZQV_NoScale | ZQV_InBitRev;
    for (std::vector<double>* v : {&x, &y}) {
      zqvzFft(reinterpret_cast<ZqvCplxD*>(v->data()), order, fwd);
      zqvzRealFftSplit(reinterpret_cast<ZqvCplxD*>(v->data()), order, fwd);
    }
    zqvdMpyPermSpec(x.data(), y.data(), order + 1);
    zqvzCcsFftMerge(reinterpret_cast<ZqvCplxD*>(y.data()), order, inv);
    zqvzFft(reinterpret_cast<ZqvCplxD*>(y.data()), order, inv);
    for (std::size_t t = 0; t < n; ++t) {
      LD want = 0;
      for (std::size_t s = 0; s < n; ++s) want += static_cast<LD>(xf[s]) * yf[(t + n - s) % n];
      ASSERT_NEAR(y[t] / static_cast<double>(n), static_cast<double>(want), 1e-12 * n) << t;
    }
  }
  EXPECT_EQ(zqvGetErrStatus(), 0);
}

// The same round trip in single precision without the product: merge after
// unpack gives back twice the half-length spectrum's sequence.
TEST(FftConvPasses, MergeUndoesUnpack) {
  for (int32_t order = 0; order <= 10; ++order)
    for (bool rev : {false, true}) {
      SCOPED_TRACE(testing::Message() << "order " << order << " rev " << rev);
      const std::size_t m = std::size_t{1} << order;
      const auto x = randomReals(2 * m, 30 + order);
      std::vector<float> buf = x;
      auto* data = reinterpret_cast<ZqvCplxS*>(buf.data());
      zqvcFft(data, order, ZQV_Forw | (rev ? ZQV_OutBitRev : 0));
      zqvcRealFftSplit(data, order, ZQV_Forw | (rev ? ZQV_OutBitRev : 0));
      const int32_t inv = ZQV_Inv | ZQV_NoScale | (rev ? ZQV_InBitRev : 0);
      zqvcCcsFftMerge(data, order, inv);
      zqvcFft(data, order, inv);
      for (std::size_t t = 0; t < 2 * m; ++t)
        ASSERT_NEAR(buf[t] / static_cast<float>(2 * m), x[t], 2e-6f * (order + 1)) << t;
    }
}

// The passes as written out pair by pair in frequency order, positions from
// the bit-reverse table: the library walks the bit-reversed pairs in another
// order, which must give the same bits.
template <class C, class T, class Pair>
void walkInFrequencyOrder(C* d, int32_t order, bool conj, bool rev, Pair pair, C*& mid) {
  const T re = d[0].re, im = d[0].im;
  d[0] = {re + im, re - im};
  mid = nullptr;
  if (order < 1) return;
  const std::size_t m = std::size_t{1} << order;
  const C* tw = [&] {
    if constexpr (std::is_same_v<T, float>) return zqvcGetFftTwdTbl(order + 1);
    else return zqvzGetFftTwdTbl(order + 1);
  }();
  auto at = [&](std::size_t k) { return rev ? static_cast<std::size_t>(bitRev(static_cast<int32_t>(k), order)) : k; };
  for (std::size_t k = 1; k < m / 2; ++k) pair(d[at(k)], d[at(m - k)], conj ? tw[2 * m - k] : tw[k]);
  mid = &d[at(m / 2)];
}

template <class C, class T>
void splitInFrequencyOrder(C* d, int32_t order, int32_t flags) {
  const bool conj = flags & ZQV_Inv;
  C* mid;
  walkInFrequencyOrder<C, T>(d, order, conj, flags & ZQV_OutBitRev, [](C& a, C& b, C w) {
    const T er = (a.re + b.re) * T(0.5), ei = (a.im - b.im) * T(0.5), o1 = (a.re - b.re) * T(0.5), o2 = (a.im + b.im) * T(0.5);
    const T u = -w.im * o1 - w.re * o2, v = w.re * o1 - w.im * o2;
    a = {er - u, ei - v};
    b = {er + u, -ei - v};
  }, mid);
  if (mid && !conj) mid->im = -mid->im;
}

template <class C, class T>
void mergeInFrequencyOrder(C* d, int32_t order, int32_t flags) {
  const bool conj = flags & ZQV_Inv;
  C* mid;
  walkInFrequencyOrder<C, T>(d, order, conj, flags & ZQV_InBitRev, [](C& a, C& b, C w) {
    const T p = a.re - b.re, q = a.im + b.im, sum = a.re + b.re, diff = a.im - b.im;
    const T w1 = -w.im * p - w.re * q, w2 = w.re * p - w.im * q;
    a = {sum + w1, diff + w2};
    b = {sum - w1, w2 - diff};
  }, mid);
  if (!mid) return;
  *mid = {mid->re * T(2), mid->im * T(2)};
  if (conj) mid->im = -mid->im;
}

template <class C, class T>
void expectPassesBitForBit(void (*split)(C*, int32_t, int32_t), void (*merge)(C*, int32_t, int32_t),
                           bool (*prepare)(C*, int32_t, int32_t), void (*paired)(C*, int32_t, int32_t, const C*)) {
  for (int32_t order = 0; order <= 13; ++order)
    for (int32_t flags : {0, int32_t{ZQV_Inv}, ZQV_OutBitRev | ZQV_InBitRev, ZQV_Inv | ZQV_OutBitRev | ZQV_InBitRev}) {
      SCOPED_TRACE(testing::Message() << "order " << order << " flags " << flags);
      const std::size_t m = std::size_t{1} << order;
      const auto x = randomReals(2 * m, 40 + order);
      std::vector<C> data(m);
      for (std::size_t i = 0; i < m; ++i) data[i] = {static_cast<T>(x[2 * i]) / 3, static_cast<T>(x[2 * i + 1]) / 7};
      for (bool isSplit : {true, false}) {
        std::vector<C> ours = data, want = data;
        if (isSplit) {
          split(ours.data(), order, flags);
          splitInFrequencyOrder<C, T>(want.data(), order, flags);
        } else {
          merge(ours.data(), order, flags);
          mergeInFrequencyOrder<C, T>(want.data(), order, flags);
        }
        ASSERT_EQ(0, std::memcmp(ours.data(), want.data(), m * sizeof(C))) << (isSplit ? "split" : "merge");
      }
      if (flags & ZQV_OutBitRev) {  // the unpack with prepared twiddles
        std::vector<C> pairTw(std::max<std::size_t>(m / 2, 1)), ours = data, want = data;
        ASSERT_TRUE(prepare(pairTw.data(), order, flags));
        paired(ours.data(), order, flags, pairTw.data());
        splitInFrequencyOrder<C, T>(want.data(), order, flags);
        ASSERT_EQ(0, std::memcmp(ours.data(), want.data(), m * sizeof(C))) << "paired";
      }
    }
}

TEST(FftConvPasses, BitReversedPairsGiveTheBitsOfTheFrequencyOrder) {
  expectPassesBitForBit<ZqvCplxS, float>(zqvcRealFftSplit, zqvcCcsFftMerge, zqvcRealFftPairTwiddles,
                                         zqvcRealFftSplitPaired);
  expectPassesBitForBit<ZqvCplxD, double>(zqvzRealFftSplit, zqvzCcsFftMerge, zqvzRealFftPairTwiddles,
                                          zqvzRealFftSplitPaired);
  EXPECT_EQ(zqvGetErrStatus(), 0);
}

// The two-dimensional passes on a block of R rows of M complex values with a
// row stride beyond M: the real spectrum of the R x 2M reals, and back.
void complexFft2d(std::vector<float>& block, int32_t rowOrder, int32_t colOrder, std::size_t stride, int32_t flags) {
  const std::size_t rows = std::size_t{1} << rowOrder, m = std::size_t{1} << colOrder;
  auto* c = reinterpret_cast<ZqvCplxS*>(block.data());
  for (std::size_t r = 0; r < rows; ++r) zqvcFft(c + r * stride, colOrder, flags);
  std::vector<ZqvCplxS> column(rows);
  for (std::size_t k = 0; k < m; ++k) {
    for (std::size_t r = 0; r < rows; ++r) column[r] = c[r * stride + k];
    zqvcFft(column.data(), rowOrder, flags);
    for (std::size_t r = 0; r < rows; ++r) c[r * stride + k] = column[r];
  }
}

TEST(FftConvPasses, TwoDimensionalUnpackAndMerge) {
  struct Case {
    int32_t rowOrder, colOrder;
  };
  for (const Case& cs : {Case{0, 3}, Case{1, 2}, Case{2, 3}, Case{3, 2}, Case{3, 4}})
    for (bool rev : {false, true}) {
      SCOPED_TRACE(testing::Message() << cs.rowOrder << " x " << cs.colOrder << " rev " << rev);
      const std::size_t rows = std::size_t{1} << cs.rowOrder, m = std::size_t{1} << cs.colOrder;
      const std::size_t stride = m + 3;
      const auto x = randomReals(2 * rows * stride, 40 + cs.rowOrder * 8 + cs.colOrder);
      std::vector<float> block = x;
      const int32_t fwd = ZQV_Forw | (rev ? ZQV_OutBitRev : 0);
      complexFft2d(block, cs.rowOrder, cs.colOrder, stride, fwd);
      zqvsRealFft2dSplit(block.data(), cs.rowOrder, cs.colOrder, fwd, static_cast<int32_t>(stride));
      // X[r][k] of the R x 2M reals (the stride's padding excluded).
      auto spectrum = [&](std::size_t r, std::size_t k) {
        CL sum = 0;
        for (std::size_t a = 0; a < rows; ++a)
          for (std::size_t b = 0; b < 2 * m; ++b) {
            const LD turns = static_cast<LD>((r * a) % rows) / rows + static_cast<LD>((k * b) % (2 * m)) / (2 * m);
            sum += static_cast<LD>(x[2 * a * stride + b]) * std::polar(1.0L, -kTwoPi * turns);
          }
        return sum;
      };
      auto at = [&](std::size_t r, std::size_t k) {
        const std::size_t rr = rev ? bitRev(static_cast<int32_t>(r), cs.rowOrder) : r;
        const std::size_t kk = rev ? bitRev(static_cast<int32_t>(k), cs.colOrder) : k;
        const ZqvCplxS v = reinterpret_cast<const ZqvCplxS*>(block.data())[rr * stride + kk];
        return CL(v.re, v.im);
      };
      const LD tol = 1e-4L;
      auto expectNear = [&](CL got, CL want, std::size_t r, std::size_t k) {
        ASSERT_NEAR(got.real(), want.real(), tol) << r << "," << k;
        ASSERT_NEAR(got.imag(), want.imag(), tol) << r << "," << k;
      };
      for (std::size_t r : {std::size_t{0}, rows / 2}) {
        if (r == rows / 2 && rows < 2) continue;
        expectNear(at(r, 0), CL(spectrum(r, 0).real(), spectrum(r, m).real()), r, 0);
        for (std::size_t k = 1; k < m; ++k) expectNear(at(r, k), spectrum(r, k), r, k);
      }
      for (std::size_t r = 1; r < rows / 2; ++r) {
        for (std::size_t k = 0; k < m; ++k) expectNear(at(r, k), spectrum(r, k), r, k);
        expectNear(at(rows - r, 0), spectrum(r, m), rows - r, 0);
        for (std::size_t k = 1; k < m; ++k) expectNear(at(rows - r, k), spectrum(r, 2 * m - k), rows - r, k);
      }
      const int32_t inv = ZQV_Inv | ZQV_NoScale | (rev ? ZQV_InBitRev : 0);
      zqvsCcsFft2dMerge(block.data(), cs.rowOrder, cs.colOrder, inv, static_cast<int32_t>(stride));
      complexFft2d(block, cs.rowOrder, cs.colOrder, stride, inv);
      const float scale = 1.0f / static_cast<float>(2 * rows * m);
      for (std::size_t a = 0; a < rows; ++a)
        for (std::size_t b = 0; b < 2 * m; ++b)
          ASSERT_NEAR(block[2 * a * stride + b] * scale, x[2 * a * stride + b], 1e-5f) << a << "," << b;
    }
  EXPECT_EQ(zqvGetErrStatus(), 0);
}

TEST(FftConvPasses, ProductOfPermutedSpectra) {
  const float src[8] = {2, 3, 1, 2, -1, 0.5f, 4, -2};
  float dst[8] = {5, -1, 3, 4, 2, 2, 0.25f, 1};
  zqvsMpyPermSpec(src, dst, 3);
  const float want[8] = {10, -3, 1 * 3 - 2 * 4, 2 * 3 + 1 * 4, -1 * 2 - 0.5f * 2, 0.5f * 2 + -1 * 2,
                         4 * 0.25f + 2 * 1, -2 * 0.25f + 4 * 1};
  for (int i = 0; i < 8; ++i) EXPECT_EQ(dst[i], want[i]) << i;
}

}  // namespace
