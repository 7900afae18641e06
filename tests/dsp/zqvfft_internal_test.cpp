// Hidden helpers of the transforms: swap-pair tables, kernel tables and work buffers.
#include <gtest/gtest.h>

#include <cmath>
#include <numeric>
#include <vector>

#include "core/zqvframe.h"
#include "transforms/zqvfftint.h"

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

}  // namespace
