// Hidden helpers of the transforms: swap-pair tables, kernel tables and work buffers.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <numeric>
#include <random>
#include <vector>

#include "core/zqvframe.h"
#include "transforms/detail/zqvfftgen.h"
#include "transforms/detail/zqvfftint.h"

namespace {

TEST(FftInternal, SwapPairTableOfOrderThree) {
  int32_t* tbl = zqvGetBitRevPairTbl(3);
  ASSERT_NE(tbl, nullptr);
  EXPECT_EQ(tbl[0], 0);
  EXPECT_EQ(tbl[1], 4);
  EXPECT_EQ(tbl[2], 0);
  EXPECT_EQ(zqvGetBitRevPairTbl(3), tbl);
  EXPECT_EQ(zqvGetBitRevPairTbl(32), nullptr);
  EXPECT_EQ(zqvGetBitRevPairTbl(-1), nullptr);
  zqvFreeBitRevPairTbl(3);
  zqvFreeBitRevPairTbl(40);
  EXPECT_EQ(zqvFetchContext()->cache1.bitRevPairTbl[3], nullptr);
}

TEST(FftInternal, PairSwapperIsBitReversalAndItsOwnInverse) {
  for (int32_t order = 0; order <= 14; ++order) {
    const std::size_t n = std::size_t{1} << order;
    std::vector<ZqvCplxD> x(n);
    for (std::size_t i = 0; i < n; ++i) x[i] = {double(i), -double(i)};
    const int32_t* tbl = zqvGetBitRevPairTbl(order);
    ASSERT_NE(tbl, nullptr);
    zqvzBitRevByPairs(x.data(), order, tbl);
    for (std::size_t k = 0; k < n; ++k) ASSERT_EQ(x[k].re, zqvBitRev(int32_t(k), order)) << order;
    zqvzBitRevByPairs(x.data(), order, tbl);
    for (std::size_t k = 0; k < n; ++k) ASSERT_EQ(x[k].re, double(k)) << order;
  }
  zqvcFreeKernelTbls();
}

TEST(FftInternal, KernelTablesHoldTheirEntries) {
  const ZqvCplxS* half0 = zqvcGetHalfTwd(0);
  ASSERT_NE(half0, nullptr);
  EXPECT_EQ(half0[0].re, 1.0f);
  EXPECT_EQ(half0[0].im, 0.0f);
  const float* split0 = zqvsGetSplitTwd(0);
  ASSERT_NE(split0, nullptr);
  EXPECT_EQ(split0[0], -0.5f);
  EXPECT_EQ(split0[1], 0.5f);
  const long double pi = 3.141592653589793238462643383279502884L;
  const int32_t order = 16;
  const long double n = 65536;
  const ZqvCplxD* r4 = zqvzGetRadix4Twd(order);
  const double* split = zqvdGetSplitTwd(order);
  const ZqvCplxD* half = zqvzGetHalfTwd(order);
  ASSERT_TRUE(r4 && split && half);
  for (int k = 0; k < 65536 / 4; k += 97) {
    const long double a = 2 * pi * (k + 1) / n;
    EXPECT_NEAR(r4[2 * k].re, cosl(a), 1.2e-16);
    EXPECT_NEAR(r4[2 * k].im, -sinl(a), 1.2e-16);
    EXPECT_NEAR(r4[2 * k + 1].re, cosl(3 * a), 1.2e-16);
    EXPECT_NEAR(r4[2 * k + 1].im, -sinl(3 * a), 1.2e-16);
    const long double b = (k + 1) * pi / n;
    EXPECT_NEAR(split[2 * k], 0.5L * cosl(b), 1e-16);
    EXPECT_NEAR(split[2 * k + 1], 0.5L - 0.5L * sinl(b), 1e-16);
    EXPECT_NEAR(half[k].re, cosl(2 * pi * k / n), 1.2e-16);
  }
  zqvzFreeKernelTbls();
  EXPECT_EQ(zqvFetchContext()->cache2.zRadix4Twd[order], nullptr);
  EXPECT_EQ(zqvFetchContext()->cache2.dSplitTwd[order], nullptr);
}

TEST(FftInternal, WorkBuffersGrowOnly) {
  ZqvCplxS* a = zqvGetWorkBuf(100, 1);
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(zqvGetWorkBuf(50, 1), a);
  ZqvCplxS* b = zqvGetWorkBuf(200, 1);
  ASSERT_NE(b, nullptr);
  EXPECT_EQ(zqvFetchContext()->cache2.workBufCapacity[1], 200);
  EXPECT_EQ(zqvGetWorkBuf(10, 4), nullptr);
  EXPECT_EQ(zqvGetWorkBuf(0, 1), nullptr);
  zqvFreeWorkBufs();
  EXPECT_EQ(zqvFetchContext()->cache2.workBuf[1], nullptr);
  EXPECT_EQ(zqvFetchContext()->cache2.workBufCapacity[1], 0);
}

TEST(FftInternal, TiledReversalIsBitReversal) {
  for (int32_t order = 0; order <= 16; ++order) {
    const std::size_t n = std::size_t{1} << order;
    std::vector<ZqvCplxS> c(n);
    std::vector<ZqvCplxD> z(n);
    for (std::size_t i = 0; i < n; ++i) {
      c[i] = {float(i), -float(i)};
      z[i] = {double(i), 0.5};
    }
    std::vector<ZqvCplxS> c2 = c, c3 = c;
    std::vector<ZqvCplxD> z2 = z, z3 = z;
    zqvcBitRevTiled(c.data(), order);
    zqvzBitRevTiled(z.data(), order);
    const bool wide = order >= 4 && zqvHasAvx2();
    if (wide) {
      zqvcBitRevAvx(c2.data(), order);
      zqvzBitRevAvx(z2.data(), order);
    }
    const bool wide512 = order >= 6 && zqvHasAvx512();
    if (wide512) {
      zqvcBitRevAvx512(c3.data(), order);
      zqvzBitRevAvx512(z3.data(), order);
    }
    for (std::size_t k = 0; k < n; ++k) {
      const int32_t want = zqvBitRev(int32_t(k), order);
      ASSERT_EQ(c[k].re, float(want)) << order << " " << k;
      ASSERT_EQ(c[k].im, -float(want)) << order << " " << k;
      ASSERT_EQ(z[k].re, double(want)) << order << " " << k;
      ASSERT_EQ(z[k].im, 0.5) << order << " " << k;
      if (wide) {
        ASSERT_EQ(c2[k].re, float(want)) << order << " " << k;
        ASSERT_EQ(c2[k].im, -float(want)) << order << " " << k;
        ASSERT_EQ(z2[k].re, double(want)) << order << " " << k;
        ASSERT_EQ(z2[k].im, 0.5) << order << " " << k;
      }
      if (wide512) {
        ASSERT_EQ(c3[k].re, float(want)) << order << " " << k;
        ASSERT_EQ(c3[k].im, -float(want)) << order << " " << k;
        ASSERT_EQ(z3[k].re, double(want)) << order << " " << k;
        ASSERT_EQ(z3[k].im, 0.5) << order << " " << k;
      }
    }
  }
}

TEST(FftInternal, StageTablesHoldTheirRoots) {
  const long double pi = 3.141592653589793238462643383279502884L;
  // Up to order 11: per length L, four runs of L/2: Re w^k twice, Im w^k twice, then w^(3k);
  // then w^k and w^(3k) as complex values.
  for (int32_t order : {3, 7, 11}) {
    const double* t = zqvdGetStageTwd(order);
    ASSERT_NE(t, nullptr);
    for (std::size_t len = 8; len <= (std::size_t{1} << order); len *= 2) {
      const double* run = t + 3 * len - 24;
      const std::size_t q = len / 4;
      for (std::size_t k = 0; k < q; ++k) {
        const long double a = 2 * pi * k / len;
        ASSERT_NEAR(run[2 * k], cosl(a), 2e-16) << order << " " << len << " " << k;
        ASSERT_EQ(run[2 * k + 1], run[2 * k]);
        ASSERT_NEAR(run[2 * q + 2 * k], -sinl(a), 2e-16);
        ASSERT_EQ(run[2 * q + 2 * k + 1], run[2 * q + 2 * k]);
        ASSERT_NEAR(run[4 * q + 2 * k], cosl(3 * a), 2e-16);
        ASSERT_NEAR(run[6 * q + 2 * k + 1], -sinl(3 * a), 2e-16);
        ASSERT_EQ(run[8 * q + 2 * k], run[2 * k]);
        ASSERT_EQ(run[8 * q + 2 * k + 1], run[2 * q + 2 * k]);
        ASSERT_EQ(run[10 * q + 2 * k], run[4 * q + 2 * k]);
        ASSERT_EQ(run[10 * q + 2 * k + 1], run[6 * q + 2 * k]);
      }
    }
  }
  // From order 12: w_(2h)^k at complex offset h + k.
  const float* s = zqvsGetStageTwd(13);
  ASSERT_NE(s, nullptr);
  for (std::size_t h = 1; h < 8192; h *= 2)
    for (std::size_t k = 0; k < h; k += 1 + h / 64) {
      const long double a = pi * k / h;
      ASSERT_NEAR(s[2 * (h + k)], cosl(a), 1e-7) << h << " " << k;
      ASSERT_NEAR(s[2 * (h + k) + 1], -sinl(a), 1e-7) << h << " " << k;
    }
  zqvsFreeStageTwd(13);
  EXPECT_EQ(zqvFetchContext()->cache2.sStageTwd[13], nullptr);
  zqvdFreeStageTwd(7);
  zqvzFreeKernelTbls();
  EXPECT_EQ(zqvFetchContext()->cache2.dStageTwd[11], nullptr);
}

// The 128-bit, 256-bit and 512-bit builds of the kernels do the same
// operations, so their results are equal value for value (a wide build runs
// only where the processor has it; elsewhere the runs take the same path).
template <class T, class Run>
void expectSameBothWidths(std::size_t count, Run run) {
  std::mt19937 gen(7);
  std::uniform_real_distribution<double> d(-1, 1);
  std::vector<T> in(count);
  for (T& v : in) v = static_cast<T>(d(gen));
  std::vector<T> widest = in, mid = in, narrow = in;
  zqvFftAllowWideVectors(true);
  run(widest.data());
  zqvFftLimitVectorBits(256);
  run(mid.data());
  zqvFftAllowWideVectors(false);
  run(narrow.data());
  zqvFftAllowWideVectors(true);
  for (std::size_t i = 0; i < count; ++i) {
    ASSERT_EQ(widest[i], narrow[i]) << i;
    ASSERT_EQ(mid[i], narrow[i]) << i;
  }
}

TEST(FftInternal, NarrowAndWideVectorsGiveEqualResults) {
  const int32_t flagSets[] = {ZQV_Forw, ZQV_Inv, ZQV_Forw | ZQV_OutBitRev, ZQV_Inv | ZQV_InBitRev | ZQV_NoScale};
  for (int32_t order = 1; order <= 16; ++order) {
    const std::size_t n = std::size_t{1} << order;
    for (int32_t flags : flagSets) {
      SCOPED_TRACE(testing::Message() << "order " << order << " flags " << flags);
      expectSameBothWidths<float>(2 * n, [&](float* x) { zqvcFft(reinterpret_cast<ZqvCplxS*>(x), order, flags); });
      expectSameBothWidths<double>(2 * n, [&](double* x) { zqvzFft(reinterpret_cast<ZqvCplxD*>(x), order, flags); });
    }
    for (int32_t dir : {ZQV_Forw, ZQV_Inv}) {
      SCOPED_TRACE(testing::Message() << "real order " << order << " dir " << dir);
      expectSameBothWidths<float>(n + 2, [&](float* x) { zqvsRealFft(x, order, dir); });
      expectSameBothWidths<float>(n + 2, [&](float* x) { zqvsCcsFft(x, order, dir); });
      expectSameBothWidths<double>(n + 2, [&](double* x) { zqvdRealFft(x, order, dir); });
      expectSameBothWidths<double>(n + 2, [&](double* x) { zqvdCcsFft(x, order, dir); });
    }
  }
  EXPECT_GE(zqvGetErrStatus(), 0);
}

// Interleaved data runs the table-driven kernels only when the per-stage
// tables cannot be had; they must give the same transform within rounding.
template <class T>
void expectTableDrivenAgrees(int32_t order, bool fwd, bool outBitRev, double tolerance) {
  const std::size_t n = std::size_t{1} << order;
  std::mt19937 gen(11);
  std::uniform_real_distribution<double> d(-1, 1);
  std::vector<T> vec(2 * n);
  for (T& v : vec) v = static_cast<T>(d(gen));
  std::vector<T> table = vec;
  const T* kernel = zqvfft::kernelTbl<T>(order);
  const int32_t* pairs = zqvGetBitRevPairTbl(order);
  const T* stage = zqvfft::Traits<T>::stage(order);
  ASSERT_TRUE(kernel && pairs && stage);
  zqvfft::complexCore(vec.data(), order, fwd, false, outBitRev, kernel, pairs, stage);
  zqvfft::complexCore(table.data(), order, fwd, false, outBitRev, kernel, pairs, static_cast<const T*>(nullptr));
  for (std::size_t i = 0; i < 2 * n; ++i) ASSERT_NEAR(vec[i], table[i], tolerance * order) << i;
}

TEST(FftInternal, TableDrivenKernelsAgreeWithTheVectorKernels) {
  for (int32_t order = 3; order <= 13; ++order)
    for (bool fwd : {true, false})
      for (bool outBitRev : {false, true}) {
        SCOPED_TRACE(testing::Message() << "order " << order << " fwd " << fwd << " outBitRev " << outBitRev);
        expectTableDrivenAgrees<float>(order, fwd, outBitRev, 2e-5);
        expectTableDrivenAgrees<double>(order, fwd, outBitRev, 4e-14);
      }
}

}  // namespace
