// DFT of any length: against a naive long-double DFT, its edge cases and
// checks, and the 16-bit form against the float DFT and the narrowing of the
// scale modes.
#include <cmath>
#include <complex>
#include <random>
#include <vector>

#include "zqv_test_support.h"

namespace {

using LD = long double;
using CL = std::complex<LD>;
constexpr LD kTwoPi = 6.283185307179586476925286766559L;

class DftTest : public ZqvTest {
 protected:
  void TearDown() override {
    zqvcFreeTwdTbls();
    zqvzFreeTwdTbls();
    ZqvTest::TearDown();
  }
};

template <class C>
std::vector<C> randomCplx(std::size_t n, unsigned seed) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> d(-1, 1);
  std::vector<C> v(n);
  for (C& c : v) c = {static_cast<decltype(c.re)>(d(gen)), static_cast<decltype(c.re)>(d(gen))};
  return v;
}

// y[m] = sum x[k] e^(sign 2 pi i km/n), the angle reduced exactly (km mod n).
template <class C>
std::vector<CL> naiveDft(const std::vector<C>& x, int sign) {
  const std::size_t n = x.size();
  std::vector<CL> root(n);
  for (std::size_t j = 0; j < n; ++j) root[j] = std::polar(1.0L, sign * kTwoPi * static_cast<LD>(j) / n);
  std::vector<CL> y(n);
  for (std::size_t m = 0; m < n; ++m) {
    CL s = 0;
    for (std::size_t k = 0; k < n; ++k) s += CL(x[k].re, x[k].im) * root[(k * m) % n];
    y[m] = s;
  }
  return y;
}

// Largest error relative to the largest magnitude of the reference.
template <class C>
LD relError(const std::vector<C>& got, const std::vector<CL>& want, LD scale) {
  LD top = 0, err = 0;
  for (std::size_t i = 0; i < want.size(); ++i) {
    top = std::max(top, std::abs(want[i] * scale));
    err = std::max(err, std::abs(CL(got[i].re, got[i].im) - want[i] * scale));
  }
  return top == 0 ? err : err / top;
}

struct Api {
  void (*c)(const ZqvCplxS*, ZqvCplxS*, int32_t, int32_t);
  void (*z)(const ZqvCplxD*, ZqvCplxD*, int32_t, int32_t);
};

template <class C>
void runDft(const C* x, C* y, int32_t n, int32_t flags) {
  if constexpr (sizeof(C) == sizeof(ZqvCplxS)) zqvcDft(x, y, n, flags);
  else zqvzDft(x, y, n, flags);
}

template <class C>
void expectMatchesNaive(int32_t n, LD bound) {
  const auto x = randomCplx<C>(static_cast<std::size_t>(n), 100 + n);
  std::vector<C> y(x.size());
  runDft(x.data(), y.data(), n, ZQV_Forw);
  EXPECT_LE(relError(y, naiveDft(x, -1), 1), bound) << "forward n " << n;
  const auto inverse = naiveDft(x, +1);
  runDft(x.data(), y.data(), n, ZQV_Inv);
  EXPECT_LE(relError(y, inverse, 1.0L / n), bound) << "inverse n " << n;
  runDft(x.data(), y.data(), n, ZQV_Inv | ZQV_NoScale);
  EXPECT_LE(relError(y, inverse, 1), bound) << "no scale n " << n;
}

TEST_F(DftTest, MatchesTheNaiveSumAtEveryLength) {
  std::vector<int32_t> lengths;
  for (int32_t n = 1; n <= 64; ++n) lengths.push_back(n);
  for (int32_t n : {97, 360, 1009, 2048, 2310, 4999, 5000}) lengths.push_back(n);
  for (int32_t n : lengths) {
    expectMatchesNaive<ZqvCplxS>(n, 2e-6L * std::log2(static_cast<LD>(n) + 1) + 1e-6L);
    expectMatchesNaive<ZqvCplxD>(n, 1e-14L);
    // Each thread keeps 32 lengths at most.
    zqvcFreeTwdTbls();
    zqvzFreeTwdTbls();
  }
  EXPECT_TRUE(reportsAre({}));
  EXPECT_EQ(zqvGetErrStatus(), 0);
}

TEST_F(DftTest, SmallLengthsInPlaceAndRoundTrips) {
  ZqvCplxD one[1] = {{3, -4}};
  zqvzDft(one, one, 1, ZQV_Inv);
  EXPECT_EQ(one[0].re, 3);
  EXPECT_EQ(one[0].im, -4);
  ZqvCplxS two[2] = {{1, 2}, {5, -1}};
  zqvcDft(two, two, 2, ZQV_Forw);
  EXPECT_EQ(two[0].re, 6);
  EXPECT_EQ(two[0].im, 1);
  EXPECT_EQ(two[1].re, -4);
  EXPECT_EQ(two[1].im, 3);
  zqvcDft(two, two, 2, ZQV_Inv);
  EXPECT_EQ(two[0].re, 1);
  EXPECT_EQ(two[1].im, -1);
  // One array for both gives what two arrays give; forward then inverse
  // returns the input, without scaling n times it.
  const auto x = randomCplx<ZqvCplxD>(45, 7);
  std::vector<ZqvCplxD> apart(45), same = x, back(45);
  zqvzDft(x.data(), apart.data(), 45, ZQV_Forw);
  zqvzDft(same.data(), same.data(), 45, ZQV_Forw);
  for (int i = 0; i < 45; ++i) EXPECT_TRUE(apart[i].re == same[i].re && apart[i].im == same[i].im) << i;
  zqvzDft(apart.data(), back.data(), 45, ZQV_Inv);
  for (int i = 0; i < 45; ++i) EXPECT_NEAR(back[i].re, x[i].re, 1e-14) << i;
  zqvzDft(apart.data(), back.data(), 45, ZQV_Inv | ZQV_NoScale);
  for (int i = 0; i < 45; ++i) EXPECT_NEAR(back[i].im, 45 * x[i].im, 1e-12) << i;
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(DftTest, ArgumentReports) {
  static ZqvCplxS c[4] = {{1, 1}, {2, 2}, {3, 3}, {4, 4}};
  static ZqvCplxS out[4];
  static ZqvCplxD z[4];
  const int32_t E = ZQV_BAD_ARGUMENT;
  const char* M = "zqvdft";
  const std::vector<ReportRow> rows = {
      // The table is fetched before the checks: its getter reports too.
      {"len 0", [] { zqvcDft(c, out, 0, ZQV_Forw); },
       {{E, "zqvcGetDftTwdTbl", "length<=0", "zqvtwd"}, {E, "zqvcDft", "len<=0", M}, {E, "zqvcDft", "tw==0", M}}},
      {"len -3, nulls", [] { zqvzDft(nullptr, nullptr, -3, 0); },
       {{E, "zqvzGetDftTwdTbl", "length<=0", "zqvtwd"}, {E, "zqvzDft", "len<=0", M}, {E, "zqvzDft", "tw==0", M}}},
      {"x", [] { zqvcDft(nullptr, nullptr, 4, ZQV_Forw); }, {{E, "zqvcDft", "x==0", M}}},
      {"y", [] { zqvzDft(z, nullptr, 4, ZQV_Inv); }, {{E, "zqvzDft", "y==0", M}}},
      {"both directions", [] { zqvcDft(c, out, 4, ZQV_Forw | ZQV_Inv); },
       {{E, "zqvcDft", "ZQV_Forw or ZQV_Inv must be as a flag", M}}},
      {"no direction", [] { zqvzDft(z, z, 4, ZQV_NoScale); },
       {{E, "zqvzDft", "ZQV_Forw or ZQV_Inv must be as a flag", M}}},
  };
  expectReportRows(rows, E, [](const ReportRow&) {
    for (const ZqvCplxS& v : out) EXPECT_TRUE(v.re == 0 && v.im == 0);
  });
}

TEST_F(DftTest, InitAndNegativeStatus) {
  zqvcDft(nullptr, nullptr, 12, ZQV_Init);
  zqvzDft(nullptr, nullptr, 12, ZQV_Init | ZQV_Forw);
  EXPECT_TRUE(reportsAre({}));
  EXPECT_EQ(zqvGetErrStatus(), 0);
  // A status left negative: the checks still run in their order (the table
  // getter refuses, so the missing table is reported), then no work. The
  // table of length 3 exists already and is refused all the same.
  zqvcDft(nullptr, nullptr, 3, ZQV_Init);
  const int32_t E = ZQV_BAD_ARGUMENT;
  static ZqvCplxS x[4] = {{1, 0}, {2, 0}, {3, 0}, {4, 0}}, y[4] = {};
  const std::vector<ReportRow> rows = {
      {"len 4", [] { zqvcDft(x, y, 4, ZQV_Forw); }, {{E, "zqvcDft", "tw==0", "zqvdft"}}},
      {"cached len 3", [] { zqvcDft(x, y, 3, ZQV_Forw); }, {{E, "zqvcDft", "tw==0", "zqvdft"}}},
      {"len 0",
       [] { zqvcDft(x, y, 0, ZQV_Forw); },
       {{E, "zqvcGetDftTwdTbl", "length<=0", "zqvtwd"}, {E, "zqvcDft", "len<=0", "zqvdft"}, {E, "zqvcDft", "tw==0", "zqvdft"}}},
      {"double, nulls", [] { zqvzDft(nullptr, nullptr, 5, ZQV_Forw); }, {{E, "zqvzDft", "tw==0", "zqvdft"}}},
  };
  zqvSetErrStatus(ZQV_OUT_OF_MEMORY);
  expectReportRows(rows, E, [](const ReportRow&) {
    for (const ZqvCplxS& v : y) EXPECT_TRUE(v.re == 0 && v.im == 0);
  }, RowStatus::Carried);
  EXPECT_EQ(zqvGetErrStatus(), E);
}

TEST_F(DftTest, ThirtyThirdLengthFindsTheListFull) {
  std::vector<ZqvCplxS> x(40, ZqvCplxS{1, 0}), y(40);
  for (int32_t n = 1; n <= 32; ++n) zqvcDft(x.data(), y.data(), n, ZQV_Forw);
  EXPECT_TRUE(reportsAre({}));
  y[0] = {-9, -9};
  zqvcDft(x.data(), y.data(), 33, ZQV_Forw);
  EXPECT_TRUE(reportsAre({{ZQV_OUT_OF_MEMORY, "zqvcGetDftTwdTbl", "Full Table", "zqvtwd"},
                          {ZQV_BAD_ARGUMENT, "zqvcDft", "tw==0", "zqvdft"}}));
  EXPECT_EQ(y[0].re, -9);
}

// ---- 16-bit

int16_t low16(int64_t v) { return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(v))); }
int16_t sat16(int64_t v) { return static_cast<int16_t>(std::clamp<int64_t>(v, -32768, 32767)); }

// The narrowing of one float by a mode: truncation toward zero, then the low
// 16 bits or saturation, after a shift by 2^-f for the shifting modes.
int16_t narrow(float v, int32_t mode, int32_t f) {
  const double scaled = (mode >= 2) ? std::ldexp(static_cast<double>(v), -f) : v;
  const int64_t t = static_cast<int64_t>(mode == 3 ? static_cast<double>(static_cast<float>(scaled)) : scaled);
  return (mode == 1 || mode == 3) ? sat16(t) : low16(t);
}

std::vector<ZqvCplxW> randomW(std::size_t n, int amplitude, unsigned seed) {
  std::mt19937 gen(seed);
  std::uniform_int_distribution<int> d(-amplitude, amplitude);
  std::vector<ZqvCplxW> v(n);
  for (ZqvCplxW& c : v) c = {static_cast<int16_t>(d(gen)), static_cast<int16_t>(d(gen))};
  return v;
}

TEST_F(DftTest, SixteenBitFollowsTheFloatDftAndTheScaleMode) {
  struct Case {
    int32_t mode, factor, amplitude;
  };
  const Case cases[] = {{0, 0, 9000}, {1, 0, 9000}, {2, 3, 9000}, {2, -2, 300}, {3, 2, 20000},
                        {3, -1, 9000}, {4, 0, 20000}, {4, 0, 100}};
  for (int32_t n : {2, 7, 12, 61}) {
    for (const Case& cs : cases)
      for (int32_t dir : {int32_t{ZQV_Forw}, int32_t{ZQV_Inv}}) {
        SCOPED_TRACE(testing::Message() << "n " << n << " mode " << cs.mode << " factor " << cs.factor << " dir " << dir);
        const auto in = randomW(static_cast<std::size_t>(n), cs.amplitude, n * 10 + cs.mode);
        std::vector<ZqvCplxS> inF(in.size()), outF(in.size());
        for (std::size_t i = 0; i < in.size(); ++i) inF[i] = {static_cast<float>(in[i].re), static_cast<float>(in[i].im)};
        zqvcDft(inF.data(), outF.data(), n, dir);
        std::vector<ZqvCplxW> out(in.size());
        int32_t factor = cs.factor;
        zqvvDft(in.data(), out.data(), n, dir, cs.mode, &factor);
        ASSERT_EQ(zqvGetErrStatus(), 0);
        if (cs.mode == 4) {
          // The shift chosen is the least that makes every value fit.
          float top = 0;
          for (const ZqvCplxS& v : outF) top = std::max({top, std::fabs(v.re), std::fabs(v.im)});
          if (top <= 32767) EXPECT_EQ(factor, 0);
          else EXPECT_TRUE(std::ldexp(top, -factor) < 32768 && std::ldexp(top, 1 - factor) >= 32768) << factor;
        } else {
          EXPECT_EQ(factor, cs.factor);
        }
        for (std::size_t i = 0; i < in.size(); ++i) {
          ASSERT_EQ(out[i].re, narrow(outF[i].re, cs.mode, factor)) << i;
          ASSERT_EQ(out[i].im, narrow(outF[i].im, cs.mode, factor)) << i;
        }
      }
    zqvcFreeTwdTbls();
  }
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(DftTest, SixteenBitEdgesAndChecks) {
  // Length 1 copies whatever the mode and leaves the factor alone.
  const ZqvCplxW one[1] = {{-32768, 32767}};
  ZqvCplxW out1[1] = {};
  int32_t factor = 77;
  zqvvDft(one, out1, 1, ZQV_Inv, ZQV_AUTO_SCALE, &factor);
  EXPECT_EQ(out1[0].re, -32768);
  EXPECT_EQ(out1[0].im, 32767);
  EXPECT_EQ(factor, 77);
  zqvvDft(nullptr, nullptr, 16, ZQV_Init | ZQV_Forw, 0, nullptr);
  zqvvDft(nullptr, nullptr, 16, ZQV_FreeTbls, 0, nullptr);
  EXPECT_TRUE(reportsAre({}));

  static const ZqvCplxW in[4] = {{1, 2}, {3, 4}, {5, 6}, {7, 8}};
  static ZqvCplxW out[4];
  static int32_t f = 0;
  const int32_t E = ZQV_BAD_ARGUMENT;
  const char* M = "zqvdftw";
  const std::vector<ReportRow> rows = {
      {"length", [] { zqvvDft(in, out, 0, ZQV_Forw, 0, nullptr); }, {{E, "zqvvDft", "length<=0", M}}},
      {"int core", [] { zqvvDft(nullptr, nullptr, 4, ZQV_Forw | 0x2000, 0, nullptr); },
       {{E, "zqvvDft", "ZQV_DoIntCore or ZQV_DoFastMMX", M}}},
      {"mmx", [] { zqvvDft(in, out, 4, ZQV_Forw | 0x8000, 0, nullptr); },
       {{E, "zqvvDft", "ZQV_DoIntCore or ZQV_DoFastMMX", M}}},
      {"nulls", [] { zqvvDft(nullptr, nullptr, 4, ZQV_Forw, 0, nullptr); },
       {{E, "zqvvDft", "inSamps==0", M}, {E, "zqvvDft", "outSamps==0", M}}},
      {"both", [] { zqvvDft(in, out, 4, ZQV_Forw | ZQV_Inv, 0, nullptr); }, {{E, "zqvvDft", "ZQV_Forw and ZQV_Inv", M}}},
      {"none", [] { zqvvDft(in, out, 4, 0, 0, nullptr); }, {{E, "zqvvDft", "no ZQV_Forw or ZQV_Inv", M}}},
      {"fixed and auto", [] { zqvvDft(in, out, 4, ZQV_Forw, 6, &f); },
       {{E, "zqvvDft", "ZQV_FIXED_SCALE and ZQV_AUTO_SCALE", M}}},
      {"auto without factor", [] { zqvvDft(in, out, 4, ZQV_Forw, 4, nullptr); },
       {{E, "zqvvDft", "ZQV_AUTO_SCALE and scaleFactor==NULL", M}}},
  };
  expectReportRows(rows, E, [](const ReportRow&) {
    for (const ZqvCplxW& v : out) EXPECT_TRUE(v.re == 0 && v.im == 0);
  });
}

// An inner failure of the float DFT (the thread's list of lengths is full)
// is reported again and leaves the caller's vector as it was.
TEST_F(DftTest, SixteenBitInnerFailureLeavesTheOutputAlone) {
  std::vector<ZqvCplxS> x(40, ZqvCplxS{1, 0}), y(40);
  for (int32_t n = 1; n <= 32; ++n) zqvcDft(x.data(), y.data(), n, ZQV_Forw);
  const std::vector<ZqvCplxW> in(33, ZqvCplxW{100, -50});
  std::vector<ZqvCplxW> out(33, ZqvCplxW{7, 7});
  zqvvDft(in.data(), out.data(), 33, ZQV_Forw, 0, nullptr);
  EXPECT_TRUE(reportsAre({{ZQV_OUT_OF_MEMORY, "zqvcGetDftTwdTbl", "Full Table", "zqvtwd"},
                          {ZQV_BAD_ARGUMENT, "zqvcDft", "tw==0", "zqvdft"},
                          {ZQV_BACKTRACE, "zqvvDft", "out zqvcDft calc. DFT", "zqvdftw"}}));
  for (const ZqvCplxW& v : out) EXPECT_TRUE(v.re == 7 && v.im == 7);
}

}  // namespace
