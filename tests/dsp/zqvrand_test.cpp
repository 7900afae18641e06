// Random generators: the sequences against a reference written here from
// the recurrences, the forms against one another, and the statistics.
#include <cmath>
#include <cstring>
#include <vector>

#include "zqv_test_support.h"

namespace {

using Random = ZqvTest;
using LD = long double;

// ---- Reference, written from the definition of the sequences.

// The classic run-time rand(): 15 bits per draw.
struct ClassicRand {
  uint32_t state;
  int next() {
    state = state * 214013u + 2531011u;
    return static_cast<int>((state >> 16) & 0x7FFF);
  }
};

struct RefEngine {
  uint32_t lag[3];  // newest first
  uint32_t borrow;
  uint32_t lcg = 1131199209u;
  RefEngine(uint32_t seed, uint32_t borrow0) : borrow(borrow0) {
    ClassicRand r{seed};
    lag[0] = seed;
    lag[1] = static_cast<uint32_t>(r.next());
    lag[2] = static_cast<uint32_t>(r.next());
  }
  int32_t next() {
    uint32_t t = lag[1] - lag[2] - borrow;
    borrow = static_cast<int32_t>(t) <= 0;
    if (borrow) t -= 18;
    lag[2] = lag[1];
    lag[1] = lag[0];
    lag[0] = t;
    lcg = 69069u * lcg + 1013904243u;
    return static_cast<int32_t>(t + lcg);
  }
};

// Uniform: five numbers discarded after seeding.
struct RefUni {
  RefEngine e;
  LD center, scale;
  RefUni(uint32_t seed, LD c, LD s) : e(seed, 0), center(c), scale(s) {
    for (int i = 0; i < 5; ++i) e.next();
  }
  LD next() { return center + scale * e.next(); }
};

// Gaussian: polar method over pairs of engine numbers.
struct RefGaus {
  RefEngine e;
  LD mean, sd, kept = 0;
  bool haveKept = false;
  RefGaus(uint32_t seed, LD m, LD s) : e(seed, 1), mean(m), sd(s) {}
  // The pair as (first returned, second returned), both exact.
  LD next() {
    if (haveKept) {
      haveKept = false;
      return kept;
    }
    LD a, b, s;
    do {
      a = e.next() * LD(4.656612873077e-10);
      b = e.next() * LD(4.656612873077e-10);
      s = a * a + b * b;
    } while (s >= 1 || s == 0);
    const LD f = std::sqrt(-2 * std::log(s) / s);
    kept = mean + sd * a * f;
    haveKept = true;
    return mean + sd * b * f;
  }
};

int16_t low16Trunc(LD v) { return static_cast<int16_t>(static_cast<uint16_t>(static_cast<int64_t>(v))); }

TEST_F(Random, SeedingDrawsAreTheClassicRandSequence) {
  ClassicRand r{1};
  EXPECT_EQ(r.next(), 41);
  EXPECT_EQ(r.next(), 18467);
  EXPECT_EQ(r.next(), 6334);
  EXPECT_EQ(r.next(), 26500);

  ZqvRandGausStateS g{};
  zqvsRandGausInit(1.0f, 0, 1, &g);
  EXPECT_EQ(g.lag1, 1u);
  EXPECT_EQ(g.lag2, 41u);
  EXPECT_EQ(g.lag3, 18467u);
  EXPECT_EQ(g.borrow, 1);
  EXPECT_EQ(g.lcgVal, 1131199209u);
  EXPECT_EQ(g.haveKept, 0);

  ZqvRandUniStateW w{};
  zqvwRandUniInit(1, -100, 100, &w);
  EXPECT_EQ(w.reserved3, 6334u);
  EXPECT_EQ(w.reserved4, 32);
  EXPECT_EQ(w.seedVal, 1u * 214013u * 214013u * 214013u + 2531011u * 214013u * 214013u +
                           2531011u * 214013u + 2531011u);
}

TEST_F(Random, UniformSequencesMatchTheReference) {
  for (double seed : {1.0, 0.0, 12345.0, -77.0, 16777216.0}) {
    SCOPED_TRACE(seed);
    const uint32_t s = static_cast<uint32_t>(static_cast<int32_t>(seed));
    ZqvRandUniStateS fs{};
    ZqvRandUniStateD ds{};
    zqvsRandUniInit(static_cast<float>(seed), -2.5f, 7.0f, &fs);
    zqvdRandUniInit(seed, -2.5, 7.0, &ds);
    RefUni fr(s, LD(-2.5) + 0.5L * 9.5L,
              static_cast<float>(9.5L * LD(2.328306436539e-10)));
    RefUni dr(s, 2.25L, static_cast<double>(9.5L * LD(2.328306436539e-10)));
    for (int i = 0; i < 200; ++i) {
      ASSERT_EQ(zqvsRandUni(&fs), static_cast<float>(fr.next())) << i;
      ASSERT_EQ(zqvdRandUni(&ds), static_cast<double>(dr.next())) << i;
    }
  }
  // 16-bit: truncated toward zero, low 16 bits.
  ZqvRandUniStateW ws{};
  zqvwRandUniInit(-5, -1000, 3000, &ws);
  RefUni wr(static_cast<uint32_t>(-5), 1000.0L, static_cast<float>(4000.0L * LD(2.328306436539e-10)));
  for (int i = 0; i < 200; ++i) ASSERT_EQ(zqvwRandUni(&ws), low16Trunc(wr.next())) << i;
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(Random, FirstUniformNumberIsTheSixthEngineResult) {
  ZqvRandUniStateD st{};
  zqvdRandUniInit(7.0, -1.0, 1.0, &st);
  RefEngine e(7, 0);
  for (int i = 0; i < 5; ++i) e.next();
  const int32_t sixth = e.next();
  EXPECT_EQ(zqvdRandUni(&st), static_cast<double>(0.0L + LD(2.0 * 2.328306436539e-10) * sixth));
}

TEST_F(Random, GaussianSequencesMatchTheReference) {
  for (double seed : {1.0, 99.0, -3.0}) {
    SCOPED_TRACE(seed);
    const uint32_t s = static_cast<uint32_t>(static_cast<int32_t>(seed));
    ZqvRandGausStateS fs{};
    ZqvRandGausStateD ds{};
    zqvsRandGausInit(static_cast<float>(seed), 0.5f, 2.0f, &fs);
    zqvdRandGausInit(seed, 0.5, 2.0, &ds);
    RefGaus fr(s, 0.5L, 2.0L), dr(s, 0.5L, 2.0L);
    for (int i = 0; i < 201; ++i) {
      ASSERT_EQ(zqvsRandGaus(&fs), static_cast<float>(fr.next())) << i;
      ASSERT_EQ(zqvdRandGaus(&ds), static_cast<double>(dr.next())) << i;
    }
    EXPECT_EQ(fs.haveKept, 1);
  }
  ZqvRandGausStateW ws{};
  zqvwRandGausInit(-2, 100, 3000, &ws);
  RefGaus wr(static_cast<uint32_t>(-2), 100.0L, 3000.0L);
  for (int i = 0; i < 200; ++i) ASSERT_EQ(zqvwRandGaus(&ws), low16Trunc(wr.next())) << i;
}

// The seed of a float form is truncated toward zero; one that no int32
// holds seeds as 0x80000000.
TEST_F(Random, FloatSeedsTruncateTowardZero) {
  struct Case { float seed; float same; };
  const Case cases[] = {{3.9f, 3.0f}, {-3.9f, -3.0f}, {0.7f, 0.0f}, {-0.7f, 0.0f}, {1e20f, -2147483648.0f},
                        {-1e20f, -2147483648.0f}, {std::nanf(""), -2147483648.0f}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.seed);
    ZqvRandUniStateS a{}, b{};
    zqvsRandUniInit(c.seed, 0, 1, &a);
    zqvsRandUniInit(c.same, 0, 1, &b);
    for (int i = 0; i < 10; ++i) ASSERT_EQ(zqvsRandUni(&a), zqvsRandUni(&b));
    ZqvRandGausStateD g{}, h{};
    zqvdRandGausInit(c.seed, 0, 1, &g);
    zqvdRandGausInit(c.same, 0, 1, &h);
    EXPECT_EQ(g.lag1, h.lag1);
    EXPECT_EQ(zqvdRandGaus(&g), zqvdRandGaus(&h));
  }
}

// Vector calls give the values of as many single calls and leave the record
// where they would; complex values take the real part first.
TEST_F(Random, VectorsEqualSingleCalls) {
  for (int32_t len : {1, 5, 8, 33}) {
    SCOPED_TRACE(len);
    ZqvRandUniStateS us{}, us2{};
    zqvcRandUniInit(11, -1, 1, &us);
    us2 = us;
    std::vector<ZqvCplxS> cv(len);
    zqvcbRandUni(&us, cv.data(), len);
    for (int32_t i = 0; i < len; ++i) {
      const float re = zqvsRandUni(&us2), im = zqvsRandUni(&us2);
      ASSERT_EQ(cv[i].re, re);
      ASSERT_EQ(cv[i].im, im);
    }
    EXPECT_EQ(0, std::memcmp(&us, &us2, sizeof us));

    ZqvRandUniStateD ud{}, ud2{};
    zqvdRandUniInit(12, 0, 10, &ud);
    ud2 = ud;
    std::vector<double> dv(len);
    zqvdbRandUni(&ud, dv.data(), len);
    for (int32_t i = 0; i < len; ++i) ASSERT_EQ(dv[i], zqvdRandUni(&ud2));
    std::vector<ZqvCplxD> zv(len);
    zqvzbRandUni(&ud, zv.data(), len);
    for (int32_t i = 0; i < len; ++i) {
      const ZqvCplxD one = zqvzRandUni(&ud2);
      ASSERT_EQ(zv[i].re, one.re);
      ASSERT_EQ(zv[i].im, one.im);
    }

    ZqvRandUniStateW uw{}, uw2{};
    zqvvRandUniInit(13, -500, 500, &uw);
    uw2 = uw;
    std::vector<ZqvCplxW> vv(len);
    std::vector<int16_t> wv(len);
    zqvvbRandUni(&uw, vv.data(), len);
    zqvwbRandUni(&uw, wv.data(), len);
    for (int32_t i = 0; i < len; ++i) {
      const ZqvCplxW one = zqvvRandUni(&uw2);
      ASSERT_EQ(vv[i].re, one.re);
      ASSERT_EQ(vv[i].im, one.im);
    }
    for (int32_t i = 0; i < len; ++i) ASSERT_EQ(wv[i], zqvwRandUni(&uw2));

    ZqvRandGausStateS gs{}, gs2{};
    zqvsRandGausInit(14, 1, 3, &gs);
    gs2 = gs;
    std::vector<float> sv(len);
    std::vector<ZqvCplxS> gcv(len);
    zqvsbRandGaus(&gs, sv.data(), len);
    zqvcbRandGaus(&gs, gcv.data(), len);
    for (int32_t i = 0; i < len; ++i) ASSERT_EQ(sv[i], zqvsRandGaus(&gs2));
    for (int32_t i = 0; i < len; ++i) {
      const ZqvCplxS one = zqvcRandGaus(&gs2);
      ASSERT_EQ(gcv[i].re, one.re);
      ASSERT_EQ(gcv[i].im, one.im);
    }
    EXPECT_EQ(gs.haveKept, len % 2 == 1);
    EXPECT_EQ(0, std::memcmp(&gs, &gs2, sizeof gs));

    ZqvRandGausStateD gd{}, gd2{};
    zqvzRandGausInit(15, -1, 0.5, &gd);
    gd2 = gd;
    std::vector<ZqvCplxD> gz(len);
    std::vector<double> gdv(len);
    zqvzbRandGaus(&gd, gz.data(), len);
    zqvdbRandGaus(&gd, gdv.data(), len);
    for (int32_t i = 0; i < len; ++i) {
      const double re = zqvdRandGaus(&gd2), im = zqvdRandGaus(&gd2);
      ASSERT_EQ(gz[i].re, re);
      ASSERT_EQ(gz[i].im, im);
    }
    for (int32_t i = 0; i < len; ++i) ASSERT_EQ(gdv[i], zqvdRandGaus(&gd2));

    ZqvRandGausStateW gw{}, gw2{};
    zqvvRandGausInit(16, 10, 1000, &gw);
    gw2 = gw;
    std::vector<ZqvCplxW> gv(len);
    std::vector<int16_t> gwv(len);
    zqvvbRandGaus(&gw, gv.data(), len);
    zqvwbRandGaus(&gw, gwv.data(), len);
    for (int32_t i = 0; i < len; ++i) {
      const ZqvCplxW one = zqvvRandGaus(&gw2);
      ASSERT_EQ(gv[i].re, one.re);
      ASSERT_EQ(gv[i].im, one.im);
    }
    for (int32_t i = 0; i < len; ++i) ASSERT_EQ(gwv[i], zqvwRandGaus(&gw2));
  }
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(Random, DegenerateRangesAndDeviations) {
  ZqvRandUniStateS u{};
  zqvsRandUniInit(5, 2.5f, 2.5f, &u);
  EXPECT_EQ(u.center, 2.5f);
  EXPECT_EQ(u.scale, 0.0f);
  for (int i = 0; i < 20; ++i) ASSERT_EQ(zqvsRandUni(&u), 2.5f);
  ZqvRandGausStateD g{};
  zqvdRandGausInit(5, -4.25, 0.0, &g);
  for (int i = 0; i < 21; ++i) ASSERT_EQ(zqvdRandGaus(&g), -4.25);
  // high below low: a negative scale over the same range.
  ZqvRandUniStateD a{}, b{};
  zqvdRandUniInit(9, 1.0, -1.0, &a);
  zqvdRandUniInit(9, -1.0, 1.0, &b);
  for (int i = 0; i < 20; ++i) ASSERT_EQ(zqvdRandUni(&a), -zqvdRandUni(&b));
}

// ---- Statistics over 10^6 numbers.

// Chi-square of counts against expected probabilities; with 49 degrees of
// freedom the 0.999 quantile is about 85.4.
double chiSquare(const std::vector<int64_t>& counts, const std::vector<double>& probs, int64_t n) {
  double chi = 0;
  for (size_t i = 0; i < counts.size(); ++i) {
    const double e = probs[i] * n;
    chi += (counts[i] - e) * (counts[i] - e) / e;
  }
  return chi;
}

TEST_F(Random, UniformMomentsAndChiSquare) {
  const int32_t n = 1000000, bins = 50;
  std::vector<double> v(n);
  ZqvRandUniStateD st{};
  zqvdRandUniInit(2024, -3.0, 5.0, &st);
  zqvdbRandUni(&st, v.data(), n);
  LD sum = 0, sq = 0;
  std::vector<int64_t> counts(bins);
  for (double x : v) {
    ASSERT_GE(x, -3.0);
    ASSERT_LE(x, 5.0);
    sum += x;
    sq += (x - 1.0) * (x - 1.0);
    ++counts[std::min<int>(bins - 1, static_cast<int>((x + 3.0) / 8.0 * bins))];
  }
  EXPECT_NEAR(static_cast<double>(sum / n), 1.0, 0.01);               // sd of the mean: 0.0023
  EXPECT_NEAR(static_cast<double>(sq / n), 64.0 / 12.0, 0.02);        // sd: 0.0048
  EXPECT_LT(chiSquare(counts, std::vector<double>(bins, 1.0 / bins), n), 85.4);
}

TEST_F(Random, GaussianMomentsAndChiSquare) {
  const int32_t n = 1000000, bins = 50;
  const double mean = 2.0, sd = 3.0;
  std::vector<double> v(n);
  ZqvRandGausStateD st{};
  zqvdRandGausInit(77, mean, sd, &st);
  zqvdbRandGaus(&st, v.data(), n);
  LD sum = 0, sq = 0, cube = 0, four = 0;
  for (double x : v) {
    const LD z = (x - mean) / sd;
    sum += z;
    sq += z * z;
    cube += z * z * z;
    four += z * z * z * z;
  }
  EXPECT_NEAR(static_cast<double>(sum / n), 0.0, 0.005);
  EXPECT_NEAR(static_cast<double>(sq / n), 1.0, 0.007);
  EXPECT_NEAR(static_cast<double>(cube / n), 0.0, 0.012);
  EXPECT_NEAR(static_cast<double>(four / n), 3.0, 0.05);
  // Bins of equal probability between the quantiles of the normal law, the
  // two outer ones open.
  std::vector<double> edges;
  for (int k = 1; k < bins; ++k) {
    const double p = double(k) / bins;
    double lo = -10, hi = 10;
    for (int it = 0; it < 100; ++it) {
      const double mid = (lo + hi) / 2;
      (0.5 * std::erfc(-mid / std::sqrt(2.0)) < p ? lo : hi) = mid;
    }
    edges.push_back(lo);
  }
  std::vector<int64_t> counts(bins);
  for (double x : v) {
    const double z = (x - mean) / sd;
    ++counts[std::upper_bound(edges.begin(), edges.end(), z) - edges.begin()];
  }
  EXPECT_LT(chiSquare(counts, std::vector<double>(bins, 1.0 / bins), n), 85.4);
}

// ---- Checks

TEST_F(Random, FloatFormsRefuseNullsAndEmptyBuffers) {
  float buf[4];
  ZqvRandUniStateS st{};
  zqvsRandUniInit(1, 0, 1, &st);
  const ZqvRandUniStateS before = st;
  zqvsRandUniInit(1, 0, 1, nullptr);
  EXPECT_EQ(zqvsRandUni(nullptr), 0.0f);
  const ZqvCplxD z = zqvzRandGaus(nullptr);
  EXPECT_EQ(z.re, 0.0);
  EXPECT_EQ(z.im, 0.0);
  zqvsbRandUni(nullptr, nullptr, 0);
  zqvsbRandUni(&st, nullptr, 0);
  zqvsbRandUni(&st, buf, 0);
  zqvsbRandUni(&st, buf, -4);
  zqvwbRandGaus(nullptr, nullptr, 0);
  EXPECT_EQ(0, std::memcmp(&st, &before, sizeof st));
  EXPECT_TRUE(reportsAre({
      {ZQV_BAD_ARGUMENT, "zqvsRandUniInit", "Null pointer to state structure", "zqvrand"},
      {ZQV_BAD_ARGUMENT, "zqvsRandUni", "Null pointer to state structure", "zqvrand"},
      {ZQV_BAD_ARGUMENT, "zqvzRandGaus", "Null pointer to state structure", "zqvrand"},
      {ZQV_BAD_ARGUMENT, "zqvsbRandUni", "Null pointer to state structure", "zqvrand"},
      {ZQV_BAD_ARGUMENT, "zqvsbRandUni", "Null pointer to data buffer", "zqvrand"},
      {ZQV_BAD_ARGUMENT, "zqvsbRandUni", "Null length of buffer", "zqvrand"},
      {ZQV_BAD_ARGUMENT, "zqvsbRandUni", "Null length of buffer", "zqvrand"},
      {ZQV_BAD_ARGUMENT, "zqvwbRandGaus", "Null pointer to state structure", "zqvrand"},
  }));
}

TEST_F(Random, SixteenBitUniformFormsReportInTheirOwnWords) {
  int16_t buf[4] = {7, 7, 7, 7};
  ZqvRandUniStateW st{};
  zqvwRandUniInit(1, 0, 100, &st);
  zqvwRandUniInit(1, 0, 100, nullptr);
  EXPECT_EQ(zqvwRandUni(nullptr), 0);
  zqvvRandUni(nullptr);
  zqvwbRandUni(nullptr, nullptr, 0);
  zqvwbRandUni(&st, nullptr, 0);
  EXPECT_TRUE(reportsAre({
      {ZQV_BAD_ARGUMENT, "zqvwRandUniInit", "statePtr==0", "zqvrandw"},
      {ZQV_BAD_ARGUMENT, "zqvwRandUni", "((void*)(0))==statePtr", "zqvrandw"},
      {ZQV_BAD_ARGUMENT, "zqvvRandUni", "((void*)(0))==statePtr", "zqvrandw"},
      {ZQV_BAD_ARGUMENT, "zqvwbRandUni", "statePtr==0", "zqvrandw"},
      {ZQV_BAD_ARGUMENT, "zqvwbRandUni", "sampsLen<=0", "zqvrandw"},
      {ZQV_BAD_ARGUMENT, "zqvwbRandUni", "samps==0", "zqvrandw"},
  }));
  // The vector form stops while the status is negative; the others go on.
  const ZqvRandUniStateW before = st;
  zqvwbRandUni(&st, buf, 4);
  EXPECT_EQ(buf[0], 7);
  EXPECT_EQ(0, std::memcmp(&st, &before, sizeof st));
  ZqvRandUniStateS fs{};
  zqvsRandUniInit(1, 0, 1, &fs);
  float f[2] = {-1, -1};
  zqvsbRandUni(&fs, f, 2);
  EXPECT_GE(f[1], 0.0f);
}

}  // namespace
