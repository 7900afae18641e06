// Correlation through the exports: the first failed check only, no status
// read, the auto-correlation's normalisations written out, and the 16-bit
// members' sums, shifts and automatic scaling.
#include <algorithm>
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
  // The sums pass 32 bits (64 * 32767^2 is just below 2^36): shift 21.
  std::vector<int16_t> full(64, 32767);
  std::vector<int16_t> r(64);
  factor = -5;
  zqvwAutoCorr(full.data(), 64, r.data(), 64, 0, ZQV_AUTO_SCALE, &factor);
  EXPECT_EQ(factor, 21);
  for (int k = 0; k < 64; ++k) EXPECT_EQ(r[k], static_cast<int16_t>(int64_t{64 - k} * 32767 * 32767 >> 21)) << k;

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

// The 16-bit scaling written out step by step from 64-bit sums, as the
// routines define it: negative lags first from the starting shift, each
// out-of-range result in the automatic mode raising the shift by e - 14 and
// shifting the outputs written so far; the non-negative lags go on from the
// shift reached, and at the end the negative lags follow their further rise.
struct Scaled {
  std::vector<int64_t> re, im;
  int64_t shift;
};
int64_t shifted(int64_t v, int64_t s) { return s >= 0 ? v >> s : v * (int64_t{1} << -s); }
Scaled scaleAutomatically(const std::vector<int64_t>& re, const std::vector<int64_t>& im, std::size_t negatives) {
  Scaled out{re, im, 0};
  std::size_t begin = 0;  // first output of the current run (negative lags, then the rest)
  int64_t shiftAtRunStart = 0;
  for (std::size_t i = 0; i < re.size(); ++i) {
    if (i == negatives) begin = i, shiftAtRunStart = out.shift;
    int64_t a = shifted(re[i], out.shift), b = shifted(im[i], out.shift);
    if (a < -32768 || a > 32767 || b < -32768 || b > 32767) {
      const int64_t big = std::max(a < 0 ? -a : a, b < 0 ? -b : b);
      const int64_t extra = static_cast<int64_t>(std::floor(std::log2(static_cast<long double>(big)))) - 14;
      for (std::size_t j = begin; j < i; ++j) out.re[j] >>= extra, out.im[j] >>= extra;
      out.shift += extra;
      a >>= extra;
      b >>= extra;
    }
    out.re[i] = a;
    out.im[i] = b;
  }
  for (std::size_t j = 0; j < std::min(negatives, re.size()); ++j) {
    out.re[j] >>= out.shift - shiftAtRunStart;
    out.im[j] >>= out.shift - shiftAtRunStart;
  }
  return out;
}

// 100 samples of full scale at lag 0 in the automatic mode: the sum
// 107,367,628,900 is 25598 with shift 22 (32-bit sums wrapped to -25600
// with shift 8).
TEST_F(CorrTest, SixteenBitSumsBeyondThirtyTwoBitsKeepTheirValue) {
  const std::vector<int16_t> x(100, 32767);
  int16_t r = 0;
  int32_t factor = 0;
  zqvwAutoCorr(x.data(), 100, &r, 1, 0, ZQV_AUTO_SCALE, &factor);
  EXPECT_EQ(r, 25598);
  EXPECT_EQ(factor, 22);
  // Saturation clamps the true sum, not its low 32 bits.
  zqvwAutoCorr(x.data(), 100, &r, 1, 0, ZQV_SATURATE, nullptr);
  EXPECT_EQ(r, 32767);
  // Normalised by the length: 1,073,676,289 fits again.
  zqvwAutoCorr(x.data(), 100, &r, 1, 1, ZQV_FIXED_SCALE, &(factor = 16));
  EXPECT_EQ(r, static_cast<int16_t>(int64_t{32767} * 32767 >> 16));
  EXPECT_EQ(zqvGetErrStatus(), 0);
}

// Over all lags of two 40-sample vectors, automatic mode: the shift rises
// lag after lag among the negative lags and again among the others, and
// every output ends at the final shift. Case 1: a constant of 20000 against
// itself (sums up to 40 * 20000^2, beyond 32 bits: shift 19). Case 2: the
// same against 39 samples of 1000 and a last one of 32000, which only the
// non-negative lags reach: the negative lags stop at shift 15, the others
// raise it to 16, and the negative lags follow at the end.
TEST_F(CorrTest, SixteenBitCrossCorrelationRescalesItsNegativeLagsAutomatically) {
  const std::vector<int16_t> a(40, 20000);
  std::vector<int16_t> tail(40, 1000);
  tail[39] = 32000;
  struct Case {
    const std::vector<int16_t>& b;
    int64_t shift;
  };
  for (const Case& c : {Case{a, 19}, Case{tail, 16}}) {
    SCOPED_TRACE(c.shift);
    std::vector<int64_t> re, zero;
    for (int lag = -39; lag <= 39; ++lag) {
      int64_t sum = 0;
      for (int m = std::max(0, -lag); m < std::min(40, 40 - lag); ++m) sum += int64_t{a[m]} * c.b[m + lag];
      re.push_back(sum);
      zero.push_back(0);
    }
    const Scaled want = scaleAutomatically(re, zero, 39);
    ASSERT_EQ(want.shift, c.shift);
    std::vector<int16_t> got(79);
    int32_t factor = 3;  // not read in the automatic mode
    zqvwCrossCorr(a.data(), 40, c.b.data(), 40, got.data(), -39, 39, ZQV_AUTO_SCALE, &factor);
    EXPECT_EQ(factor, want.shift);
    for (int i = 0; i < 79; ++i) EXPECT_EQ(got[i], want.re[i]) << "lag " << i - 39;
  }
}

std::vector<ZqvCplxW> fullScaleCplx(std::size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::uniform_int_distribution<int> d(-32768, 32767);
  std::vector<ZqvCplxW> v(n);
  for (auto& e : v) e = {static_cast<int16_t>(d(gen)), static_cast<int16_t>(d(gen))};
  return v;
}

// conj(a[m]) b[m + lag] summed in 64 bits, lags lo..hi.
std::pair<std::vector<int64_t>, std::vector<int64_t>> cplxSums(const std::vector<ZqvCplxW>& a,
                                                              const std::vector<ZqvCplxW>& b, int lo, int hi) {
  std::vector<int64_t> re, im;
  for (int lag = lo; lag <= hi; ++lag) {
    int64_t sr = 0, si = 0;
    for (int m = 0; m < static_cast<int>(a.size()); ++m) {
      if (m + lag < 0 || m + lag >= static_cast<int>(b.size())) continue;
      const int64_t ar = a[m].re, ai = a[m].im, br = b[m + lag].re, bi = b[m + lag].im;
      sr += ar * br + ai * bi;
      si += ar * bi - ai * br;
    }
    re.push_back(sr);
    im.push_back(si);
  }
  return {re, im};
}

TEST_F(CorrTest, ComplexSixteenBitAutoCorrelationOfFullScaleData) {
  const auto x = fullScaleCplx(300, 4);
  const auto [re, im] = cplxSums(x, x, 0, 9);
  const Scaled want = scaleAutomatically(re, im, 0);
  ASSERT_GT(want.shift, 16);  // lag 0 is about 300 * 2^31 * 2/3
  std::vector<ZqvCplxW> got(10);
  int32_t factor = 0;
  zqvvAutoCorr(x.data(), 300, got.data(), 10, 0, ZQV_AUTO_SCALE, &factor);
  EXPECT_EQ(factor, want.shift);
  for (int k = 0; k < 10; ++k) {
    EXPECT_EQ(got[k].re, want.re[k]) << k;
    EXPECT_EQ(got[k].im, want.im[k]) << k;
  }
  // Normalised by the number of terms and shifted by a fixed amount.
  factor = 4;
  zqvvAutoCorr(x.data(), 300, got.data(), 10, 2, ZQV_FIXED_SCALE, &factor);
  for (int k = 0; k < 10; ++k) {
    EXPECT_EQ(got[k].re, static_cast<int16_t>(re[k] / (300 - k) >> 4)) << k;
    EXPECT_EQ(got[k].im, static_cast<int16_t>(im[k] / (300 - k) >> 4)) << k;
  }
}

TEST_F(CorrTest, ComplexSixteenBitCrossCorrelationOfFullScaleData) {
  const auto a = fullScaleCplx(200, 5), b = fullScaleCplx(150, 6);
  const auto [re, im] = cplxSums(a, b, -30, 20);
  const Scaled want = scaleAutomatically(re, im, 30);
  std::vector<ZqvCplxW> got(51);
  int32_t factor = 0;
  zqvvCrossCorr(a.data(), 200, b.data(), 150, got.data(), -30, 20, ZQV_AUTO_SCALE, &factor);
  EXPECT_EQ(factor, want.shift);
  for (int i = 0; i < 51; ++i) {
    EXPECT_EQ(got[i].re, want.re[i]) << "lag " << i - 30;
    EXPECT_EQ(got[i].im, want.im[i]) << "lag " << i - 30;
  }
  // Saturated without a shift: each part clamps from its true sum.
  zqvvCrossCorr(a.data(), 200, b.data(), 150, got.data(), -30, 20, ZQV_SATURATE, nullptr);
  for (int i = 0; i < 51; ++i) {
    EXPECT_EQ(got[i].re, std::clamp<int64_t>(re[i], -32768, 32767)) << i;
    EXPECT_EQ(got[i].im, std::clamp<int64_t>(im[i], -32768, 32767)) << i;
  }
}

}  // namespace
