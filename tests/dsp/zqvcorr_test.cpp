// Correlation through the exports: the first failed check only, no status
// read, the auto-correlation's normalisations written out, and the 16-bit
// members' sums, shifts and automatic scaling.
#include <cmath>
#include <random>
#include <vector>

#include "zqv_test_support.h"

namespace {

using CorrTest = ZqvTest;

TEST_F(CorrTest, TheFirstFailedCheckIsReportedAndDstIsUntouched) {
  const float a[3] = {1, 2, 3};
  float d[4] = {7, 7, 7, 7};
  int16_t w[3] = {1, 2, 3}, dw[3] = {7, 7, 7};
  const char* m = "zqvcorr";
  expectReportRows(
      {{"src", [&] { zqvsAutoCorr(nullptr, 0, nullptr, 0, 0); }, {{-5, "zqvsAutoCorr", "Null SRC buffer pointer", m}}},
       {"dst", [&] { zqvsAutoCorr(a, 0, nullptr, 0, 0); }, {{-5, "zqvsAutoCorr", "Null DST buffer pointer", m}}},
       {"len", [&] { zqvsAutoCorr(a, 0, d, 1, 0); }, {{-5, "zqvsAutoCorr", "Invalid SRC buffer length", m}}},
       {"lags > len", [&] { zqvsAutoCorr(a, 3, d, 4, 0); }, {{-5, "zqvsAutoCorr", "Invalid LAG value", m}}},
       {"lags 0", [&] { zqvsAutoCorr(a, 3, d, 0, 0); }, {{-5, "zqvsAutoCorr", "Invalid LAG value", m}}},
       {"srcB", [&] { zqvsCrossCorr(a, 3, nullptr, 3, d, 0, 0); }, {{-5, "zqvsCrossCorr", "Null SRC buffer pointer", m}}},
       {"lenB", [&] { zqvsCrossCorr(a, 3, a, 0, d, 0, 0); }, {{-5, "zqvsCrossCorr", "Invalid SRC buffer length", m}}},
       {"lo > hi", [&] { zqvsCrossCorr(a, 3, a, 3, d, 1, 0); }, {{-5, "zqvsCrossCorr", "Invalid LAG value", m}}},
       {"auto null factor", [&] { zqvwAutoCorr(w, 3, dw, 3, 0, ZQV_AUTO_SCALE, nullptr); },
        {{-5, "zqvwAutoCorr", "Null scale factor pointer", "zqvcorrw"}}},
       {"cross null factor", [&] { zqvwvCrossCorr(w, 3, nullptr, 3, nullptr, 0, 0, ZQV_AUTO_SCALE, nullptr); },
        {{-5, "zqvwvCrossCorr", "Null SRC buffer pointer", "zqvcorrw"}}}},
      ZQV_BAD_ARGUMENT, [&](const ReportRow&) {
        for (float v : d) EXPECT_EQ(v, 7.0f);
        for (int16_t v : dw) EXPECT_EQ(v, 7);
      });
}

TEST_F(CorrTest, AStaleNegativeStatusNeitherStopsNorIsCleared) {
  std::mt19937 gen(1);
  std::uniform_real_distribution<float> u(-1, 1);
  std::vector<float> x(4096);
  for (float& v : x) v = u(gen);
  std::vector<float> fresh(1024), stale(1024);
  zqvsAutoCorr(x.data(), 4096, fresh.data(), 1024, 0);  // long enough for the transform method
  zqvSetErrStatus(ZQV_BAD_ARGUMENT);
  zqvsAutoCorr(x.data(), 4096, stale.data(), 1024, 0);
  EXPECT_EQ(zqvGetErrStatus(), ZQV_BAD_ARGUMENT);
  EXPECT_EQ(fresh, stale);
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(CorrTest, AutoCorrelationAndItsNormalisations) {
  // x = 1, 2, 3, 4: r = 30, 20, 11, 4 (sum over m of x[m] x[m+k]).
  const double x[4] = {1, 2, 3, 4};
  const ZqvCplxD cx[2] = {{1, 2}, {3, -1}};  // r[1] = conj(1+2i)(3-i) = 1 - 7i
  struct Case {
    int32_t normType;
    double r[4];
  };
  const Case cases[] = {{0, {30, 20, 11, 4}}, {1, {7.5, 5, 2.75, 1}}, {2, {7.5, 20.0 / 3, 5.5, 4}}, {9, {30, 20, 11, 4}}};
  for (const Case& c : cases) {
    double d[4];
    zqvdAutoCorr(x, 4, d, 4, c.normType);
    for (int k = 0; k < 4; ++k) EXPECT_DOUBLE_EQ(d[k], c.r[k]) << c.normType << " " << k;
  }
  ZqvCplxD cd[2];
  zqvzAutoCorr(cx, 2, cd, 2, 2);
  EXPECT_DOUBLE_EQ(cd[0].re, 7.5);  // (5 + 10) / 2
  EXPECT_DOUBLE_EQ(cd[0].im, 0);
  EXPECT_DOUBLE_EQ(cd[1].re, 1);
  EXPECT_DOUBLE_EQ(cd[1].im, -7);
}

TEST_F(CorrTest, CrossCorrelationLagsAndOverlap) {
  const float a[3] = {1, 2, 3}, b[3] = {4, 5, 6};
  float d[7];
  // Lags -3..3: only -2..2 overlap.
  zqvsCrossCorr(a, 3, b, 3, d, -3, 3);
  const float expect[7] = {0, 3 * 4, 2 * 4 + 3 * 5, 1 * 4 + 2 * 5 + 3 * 6, 1 * 5 + 2 * 6, 1 * 6, 0};
  for (int i = 0; i < 7; ++i) EXPECT_EQ(d[i], expect[i]) << i;
  const ZqvCplxS ca[2] = {{1, 1}, {0, 2}}, cb[2] = {{2, 0}, {1, 1}};
  ZqvCplxS cd;
  zqvcCrossCorr(ca, 2, cb, 2, &cd, 0, 0);  // conj(1+i)*2 + conj(2i)(1+i) = 2-2i + 2-2i
  EXPECT_EQ(cd.re, 4.0f);
  EXPECT_EQ(cd.im, -4.0f);
}

TEST_F(CorrTest, SixteenBitSumsAndShifts) {
  const int16_t x[4] = {1, 2, 3, 4};
  int16_t d[4];
  int32_t factor = 1;
  zqvwAutoCorr(x, 4, d, 4, 0, ZQV_FIXED_SCALE, &factor);
  const int16_t halved[4] = {15, 10, 5, 2};
  for (int k = 0; k < 4; ++k) EXPECT_EQ(d[k], halved[k]) << k;
  zqvwAutoCorr(x, 4, d, 4, 0, ZQV_FIXED_SCALE, nullptr);  // no pointer: no shift
  EXPECT_EQ(d[0], 30);
  zqvwAutoCorr(x, 4, d, 4, 2, 0, nullptr);
  EXPECT_EQ(d[1], 6);  // 20 / 3 toward zero

  // Full scale, automatic: the shift comes back and every output shares it.
  std::vector<int16_t> full(64, 32767);
  std::vector<int16_t> r(64);
  factor = -5;
  zqvwAutoCorr(full.data(), 64, r.data(), 64, 0, ZQV_AUTO_SCALE, &factor);
  ASSERT_GT(factor, 0);
  for (int k = 0; k < 64; ++k) {
    const int64_t sum = int64_t{64 - k} * 32767 * 32767;
    const int32_t wrapped = static_cast<int32_t>(static_cast<uint32_t>(sum));
    EXPECT_EQ(r[k], static_cast<int16_t>(wrapped >> factor)) << k;
  }

  // Saturation without a shift.
  const int16_t big[2] = {300, 300};
  int16_t s[3];
  zqvwCrossCorr(big, 2, big, 2, s, -1, 1, ZQV_SATURATE, nullptr);
  EXPECT_EQ(s[0], 32767);
  EXPECT_EQ(s[1], 32767);
  // Complex with a real partner: conj(a) b.
  const ZqvCplxW cv[1] = {{3, 4}};
  const int16_t rw[1] = {2};
  ZqvCplxW out{};
  zqvvwCrossCorr(cv, 1, rw, 1, &out, 0, 0, 0, nullptr);
  EXPECT_EQ(out.re, 6);
  EXPECT_EQ(out.im, -8);
  EXPECT_EQ(zqvGetErrStatus(), 0);
}

}  // namespace
