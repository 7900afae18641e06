// Wavelet transform: the filters of every built-in type, decomposition
// against a direct long-double filter-and-downsample, perfect
// reconstruction, and the checks.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <random>
#include <vector>

#include "zqv_test_support.h"

namespace {

using Wavelet = ZqvTest;
using LD = long double;

struct TypeCase {
  int32_t wtType, par1, par2;
};

// Every built-in wavelet with every parameter it accepts.
std::vector<TypeCase> allTypes() {
  std::vector<TypeCase> all = {{1, 0, 0}, {5, 0, 0}, {8, 0, 0}, {9, 0, 0}};
  for (int p = 1; p <= 10; ++p) all.push_back({2, p, 0});
  for (int p = 1; p <= 7; ++p) all.push_back({3, p, 0});
  for (int p = 1; p <= 5; ++p) all.push_back({4, p, 0});
  const int duals[3][5] = {{1, 3, 5}, {2, 4, 6, 8}, {1, 3, 5, 7, 9}};
  const int counts[3] = {3, 4, 5};
  for (int t : {6, 7})
    for (int p1 = 1; p1 <= 3; ++p1)
      for (int k = 0; k < counts[p1 - 1]; ++k) all.push_back({t, p1, duals[p1 - 1][k]});
  return all;
}

std::vector<double> signal(int64_t n, uint32_t seed, double scale = 1.0) {
  std::mt19937 gen(seed);
  std::uniform_real_distribution<double> dist(-scale, scale);
  std::vector<double> v(n);
  for (auto& x : v) x = dist(gen);
  return v;
}

struct Filters {
  int32_t len[4], ofs[4];
  std::vector<double> taps[4];
  int32_t kind;
};

Filters filtersOf(int32_t wtType, int32_t par1, int32_t par2) {
  wtState st{};
  zqvdWtInit(par1, par2, 4, 0, &st, wtType);
  Filters f{};
  int32_t type, p1, p2, order, level;
  double* taps[4];
  zqvdWtGetState(&st, &type, &p1, &p2, &order, &level, taps, f.len, f.ofs);
  for (int i = 0; i < 4; ++i) f.taps[i].assign(taps[i], taps[i] + f.len[i]);
  f.kind = st.kind;
  zqvWtFree(&st);
  return f;
}

// One level of analysis written from the definition: periodic filtering with
// the offset, every second output kept.
std::vector<LD> analyse(const Filters& f, const std::vector<LD>& x, int64_t n) {
  std::vector<LD> y(x);
  for (int64_t i = 0; i < n / 2; ++i)
    for (int band = 0; band < 2; ++band) {
      LD s = 0;
      for (int64_t j = 0; j < f.len[band]; ++j) {
        int64_t t = (2 * i + f.ofs[band] - j) % n;
        if (t < 0) t += n;
        s += f.taps[band][j] * x[t];
      }
      y[band * n / 2 + i] = s;
    }
  return y;
}

TEST_F(Wavelet, TwoTapWorkedExample) {
  for (bool dbl : {false, true}) {
    wtState st{};
    const double x[4] = {3, -1, 8, 2.5};
    const double expect[4] = {1, 5.25, -2, -2.75};
    if (dbl) {
      zqvdWtInit(0, 0, 2, 1, &st, 1);
      double y[4], back[4];
      zqvdWtDecompose(&st, x, y);
      zqvdWtReconstruct(&st, y, back);
      for (int i = 0; i < 4; ++i) {
        EXPECT_DOUBLE_EQ(y[i], expect[i]) << i;
        EXPECT_DOUBLE_EQ(back[i], x[i]) << i;
      }
    } else {
      zqvsWtInit(0, 0, 2, 1, &st, 1);
      float xf[4], y[4], back[4];
      for (int i = 0; i < 4; ++i) xf[i] = static_cast<float>(x[i]);
      zqvsWtDecompose(&st, xf, y);
      zqvsWtReconstruct(&st, y, back);
      for (int i = 0; i < 4; ++i) {
        EXPECT_FLOAT_EQ(y[i], static_cast<float>(expect[i])) << i;
        EXPECT_FLOAT_EQ(back[i], xf[i]) << i;
      }
    }
    zqvWtFree(&st);
  }
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(Wavelet, TwoTapFilters) {
  const Filters f = filtersOf(1, 0, 0);
  const std::vector<double> expect[4] = {{0.5, 0.5}, {0.5, -0.5}, {1, 1}, {-1, 1}};
  const int32_t ofs[4] = {1, 1, 0, 0};
  for (int i = 0; i < 4; ++i) {
    ASSERT_EQ(f.len[i], 2);
    EXPECT_EQ(f.ofs[i], ofs[i]);
    for (int k = 0; k < 2; ++k) EXPECT_NEAR(f.taps[i][k], expect[i][k], 1e-15) << i << " " << k;
  }
  EXPECT_EQ(f.kind, 1);
}

// Lengths and offsets of every built-in filter set.
TEST_F(Wavelet, FilterLengthsAndOffsets) {
  struct Expect { TypeCase t; int32_t len[4]; int32_t ofs[4]; int32_t kind; };
  std::vector<Expect> table;
  const int daub[10] = {1, 1, 1, 1, 2, 2, 2, 2, 3, 3}, sym[7] = {3, 4, 5, 8, 8, 9, 9}, coif[5] = {4, 4, 6, 8, 10};
  for (int p = 1; p <= 10; ++p) {
    const int n = 2 * p, o = daub[p - 1];
    table.push_back({{2, p, 0}, {n, n, n, n}, {o, o, n - 1 - o, n - 1 - o}, 1});
  }
  for (int p = 1; p <= 7; ++p) {
    const int n = 2 * (p + 3), o = sym[p - 1];
    table.push_back({{3, p, 0}, {n, n, n, n}, {o, o, n - 1 - o, n - 1 - o}, 1});
  }
  for (int p = 1; p <= 5; ++p) {
    const int n = 6 * p, o = coif[p - 1];
    table.push_back({{4, p, 0}, {n, n, n, n}, {o, o, n - 1 - o, n - 1 - o}, 1});
  }
  table.push_back({{5, 0, 0}, {24, 24, 24, 24}, {20, 20, 3, 3}, 1});
  table.push_back({{8, 0, 0}, {3, 5, 5, 3}, {1, 1, 2, 2}, 2});
  table.push_back({{6, 2, 2}, {3, 5, 5, 3}, {1, 1, 2, 2}, 2});
  table.push_back({{7, 2, 2}, {5, 3, 3, 5}, {1, 1, 2, 2}, 2});
  table.push_back({{9, 0, 0}, {4, 8, 8, 4}, {1, 3, 4, 2}, 2});
  table.push_back({{6, 1, 5}, {2, 10, 10, 2}, {0, 4, 5, 1}, 2});
  table.push_back({{7, 3, 9}, {20, 4, 4, 20}, {9, 1, 2, 10}, 2});
  for (const auto& e : table) {
    SCOPED_TRACE(testing::Message() << e.t.wtType << " " << e.t.par1 << " " << e.t.par2);
    const Filters f = filtersOf(e.t.wtType, e.t.par1, e.t.par2);
    for (int i = 0; i < 4; ++i) {
      EXPECT_EQ(f.len[i], e.len[i]) << i;
      EXPECT_EQ(f.ofs[i], e.ofs[i]) << i;
    }
    EXPECT_EQ(f.kind, e.kind);
  }
  EXPECT_TRUE(reportsAre({}));
}

// Published values of the scaling filters (scaled to sum sqrt 2) to their
// printed digits: the analysis low-pass is the scaling filter divided by
// sqrt 2.
TEST_F(Wavelet, ScalingFilterValues) {
  struct Expect { TypeCase t; std::vector<double> head; double last; double tol; };
  const Expect table[] = {
      {{2, 2, 0}, {0.4829629131445341, 0.8365163037378079, 0.2241438680420134}, -0.1294095225512604, 1e-15},
      {{3, 1, 0}, {-0.0757657148, -0.0296355276}, 0.0322231006, 1e-10},
      {{4, 1, 0}, {0.0385807777, -0.1269691254}, 0.2265842652, 1e-10},
      {{4, 2, 0}, {0.016387336463, -0.041464936782}, -0.000720549445, 1e-11},
      // The fixed filter is normalised to unit energy first.
      {{5, 0, 0}, {-6.290611819074752e-05, 0.0003436319048210292}, 0.04579933411097672, 1e-9},
  };
  for (const auto& e : table) {
    SCOPED_TRACE(testing::Message() << e.t.wtType << " " << e.t.par1);
    const Filters f = filtersOf(e.t.wtType, e.t.par1, e.t.par2);
    const double r2 = std::sqrt(2.0);
    for (size_t k = 0; k < e.head.size(); ++k) EXPECT_NEAR(f.taps[0][k] * r2, e.head[k], e.tol) << k;
    EXPECT_NEAR(f.taps[0][f.len[0] - 1] * r2, e.last, e.tol);
  }
}

// The orthogonal filters satisfy their defining conditions: orthonormal to
// their even shifts, and the wavelet has the promised vanishing moments.
TEST_F(Wavelet, OrthogonalFiltersMeetTheirConditions) {
  struct Family { int32_t wtType, pmax; int (*moments)(int); };
  const Family families[] = {{2, 10, [](int p) { return p; }},
                             {3, 7, [](int p) { return p + 3; }},
                             {4, 5, [](int p) { return 2 * p; }}};
  for (const auto& fam : families)
    for (int p = 1; p <= fam.pmax; ++p) {
      SCOPED_TRACE(testing::Message() << fam.wtType << " " << p);
      const Filters f = filtersOf(fam.wtType, p, 0);
      const int n = f.len[0];
      std::vector<LD> h(n);
      for (int k = 0; k < n; ++k) h[k] = f.taps[0][k] * std::sqrt(2.0L);
      for (int m = 0; m < n; m += 2) {
        LD c = 0;
        for (int k = m; k < n; ++k) c += h[k] * h[k - m];
        ASSERT_NEAR(static_cast<double>(c), m == 0 ? 1.0 : 0.0, 1e-14) << "shift " << m;
      }
      for (int l = 0; l < fam.moments(p); ++l) {
        LD s = 0, scale = 0;
        for (int k = 0; k < n; ++k) {
          const LD term = (k % 2 ? -1 : 1) * std::pow(LD(k), l) * h[k];
          s += term;
          scale += std::fabs(term);
        }
        ASSERT_LE(std::fabs(s), 1e-13L * scale) << "moment " << l;
      }
    }
}

// Every level of a decomposition is the direct periodic filtering of the
// approximation before it, kept at even positions.
TEST_F(Wavelet, DecompositionMatchesDirectFiltering) {
  const int32_t order = 6;
  const int64_t n = int64_t{1} << order;
  const auto x = signal(n, 5);
  for (const auto& t : allTypes()) {
    SCOPED_TRACE(testing::Message() << t.wtType << " " << t.par1 << " " << t.par2);
    const Filters f = filtersOf(t.wtType, t.par1, t.par2);
    std::vector<LD> ref(x.begin(), x.end());
    for (int32_t level = 0; level < order; ++level) {
      if (level > 0) {
        const int64_t len = n >> (level - 1);
        std::vector<LD> head(ref.begin(), ref.begin() + len);
        head = analyse(f, head, len);
        std::copy(head.begin(), head.end(), ref.begin());
      }
      wtState d{}, s{};
      zqvdWtInit(t.par1, t.par2, order, level, &d, t.wtType);
      zqvsWtInit(t.par1, t.par2, order, level, &s, t.wtType);
      std::vector<double> y(n);
      std::vector<float> xf(x.begin(), x.end()), yf(n);
      zqvdWtDecompose(&d, x.data(), y.data());
      zqvsWtDecompose(&s, xf.data(), yf.data());
      for (int64_t i = 0; i < n; ++i) {
        ASSERT_NEAR(y[i], static_cast<double>(ref[i]), 1e-13) << "level " << level << " at " << i;
        ASSERT_NEAR(yf[i], static_cast<double>(ref[i]), 2e-5) << "level " << level << " at " << i;
      }
      zqvWtFree(&d);
      zqvWtFree(&s);
    }
  }
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(Wavelet, ReconstructionReturnsTheSignal) {
  for (int32_t order : {1, 3, 7}) {
    const int64_t n = int64_t{1} << order;
    const auto x = signal(n, 11 + order);
    const auto xw = signal(n, 99, 20000);
    for (const auto& t : allTypes())
      for (int32_t level = 0; level < order; ++level) {
        SCOPED_TRACE(testing::Message() << t.wtType << " " << t.par1 << " " << t.par2 << " order " << order
                                        << " level " << level);
        wtState d{}, s{}, w{};
        zqvdWtInit(t.par1, t.par2, order, level, &d, t.wtType);
        zqvsWtInit(t.par1, t.par2, order, level, &s, t.wtType);
        ASSERT_EQ(zqvwWtInit(t.par1, t.par2, order, level, &w, t.wtType), 0);
        std::vector<double> y(n), back(n);
        zqvdWtDecompose(&d, x.data(), y.data());
        zqvdWtReconstruct(&d, y.data(), back.data());
        std::vector<float> xf(x.begin(), x.end()), yf(n), backf(n);
        zqvsWtDecompose(&s, xf.data(), yf.data());
        zqvsWtReconstruct(&s, yf.data(), backf.data());
        std::vector<int16_t> xs(n), ys(n), backs(n);
        for (int64_t i = 0; i < n; ++i) xs[i] = static_cast<int16_t>(std::lround(xw[i]));
        zqvwWtDecompose(&w, xs.data(), ys.data());
        zqvwWtReconstruct(&w, ys.data(), backs.data());
        // Same filters in a float record: the 16-bit forms are its results
        // rounded to nearest and saturated.
        std::vector<float> fx(xs.begin(), xs.end()), fy(n), fb(n);
        std::vector<float> fys(ys.begin(), ys.end());
        zqvsWtDecompose(&s, fx.data(), fy.data());
        zqvsWtReconstruct(&s, fys.data(), fb.data());
        const auto to16 = [](float v) {
          return static_cast<int16_t>(std::clamp(std::nearbyint(v), -32768.0f, 32767.0f));
        };
        // The fixed 24-tap filter is orthogonal to about 1e-9 only.
        const double tol = t.wtType == 5 ? 1e-8 : 1e-11;
        for (int64_t i = 0; i < n; ++i) {
          ASSERT_NEAR(back[i], x[i], tol) << i;
          ASSERT_NEAR(backf[i], x[i], 2e-5) << i;
          ASSERT_EQ(ys[i], to16(fy[i])) << i;
          ASSERT_EQ(backs[i], to16(fb[i])) << i;
          // Orthogonal filters keep the rounding of the 16-bit details small.
          if (d.kind == 1) { ASSERT_NEAR(backs[i], xs[i], 4) << i; }
        }
        zqvWtFree(&d);
        zqvWtFree(&s);
        zqvWtFree(&w);
      }
  }
  EXPECT_TRUE(reportsAre({}));
}

// Level 0 copies; src and dst may be one vector in both directions.
TEST_F(Wavelet, LevelZeroAndInPlace) {
  const int32_t order = 5;
  const int64_t n = 32;
  const auto x = signal(n, 3);
  wtState st{};
  zqvdWtInit(3, 0, order, 0, &st, 2);
  std::vector<double> y(n);
  zqvdWtDecompose(&st, x.data(), y.data());
  EXPECT_EQ(y, x);
  zqvdWtReconstruct(&st, x.data(), y.data());
  EXPECT_EQ(y, x);
  zqvWtFree(&st);

  for (const auto& t : {TypeCase{4, 3, 0}, TypeCase{7, 3, 9}}) {
    zqvdWtInit(t.par1, t.par2, order, 4, &st, t.wtType);
    std::vector<double> apart(n), back(n), inPlace(x);
    zqvdWtDecompose(&st, x.data(), apart.data());
    zqvdWtDecompose(&st, inPlace.data(), inPlace.data());
    EXPECT_EQ(inPlace, apart);
    zqvdWtReconstruct(&st, apart.data(), back.data());
    zqvdWtReconstruct(&st, inPlace.data(), inPlace.data());
    EXPECT_EQ(inPlace, back);
    for (int64_t i = 0; i < n; ++i) ASSERT_NEAR(back[i], x[i], 1e-12);
    zqvWtFree(&st);
  }
  std::vector<int16_t> w(n), wy(n);
  for (int64_t i = 0; i < n; ++i) w[i] = static_cast<int16_t>(i * 1000 - 16000);
  EXPECT_EQ(zqvwWtInit(0, 0, order, 0, &st, 1), 0);
  zqvwWtDecompose(&st, w.data(), wy.data());
  EXPECT_EQ(wy, w);
  zqvWtFree(&st);
  EXPECT_TRUE(reportsAre({}));
}

// The caller's filters give the same transform as the built-in ones they copy.
TEST_F(Wavelet, CallerFilters) {
  const Filters f = filtersOf(9, 0, 0);
  const double* taps[4] = {f.taps[0].data(), f.taps[1].data(), f.taps[2].data(), f.taps[3].data()};
  wtState own{}, builtIn{};
  zqvdWtSetState(&own, 10, 7, 7, 5, 3, taps, f.len, f.ofs);
  zqvdWtSetState(&builtIn, 9, 0, 0, 5, 3, nullptr, nullptr, nullptr);
  EXPECT_TRUE(reportsAre({}));
  EXPECT_EQ(own.wtType, 10);
  EXPECT_EQ(own.kind, 3);
  EXPECT_EQ(own.par1, 0);
  EXPECT_EQ(own.dataType, 2);
  EXPECT_NE(own.tap_filt[0], taps[0]);
  const auto x = signal(32, 8);
  std::vector<double> a(32), b(32);
  zqvdWtDecompose(&own, x.data(), a.data());
  zqvdWtDecompose(&builtIn, x.data(), b.data());
  EXPECT_EQ(a, b);

  int32_t type = 0, p1 = 0, p2 = 0, order = 0, level = 0, len[4], ofs[4];
  double* got[4];
  zqvdWtGetState(&own, &type, &p1, &p2, &order, &level, got, len, ofs);
  EXPECT_EQ(type, 10);
  EXPECT_EQ(order, 5);
  EXPECT_EQ(level, 3);
  EXPECT_EQ(got[2], own.tap_filt[2]);
  zqvWtFree(&own);
  zqvWtFree(&builtIn);
  const wtState zero{};
  EXPECT_EQ(0, std::memcmp(&own, &zero, sizeof own));

  // Lengths (4, 6, 6, 4) are a pair; (4, 6, 4, 6) are not.
  std::vector<float> t4(4, 0.25f), t6(6, 0.5f);
  const float* ftaps[4] = {t4.data(), t6.data(), t6.data(), t4.data()};
  const int32_t good[4] = {4, 6, 6, 4}, bad[4] = {4, 6, 4, 6}, offsets[4] = {0, 1, 2, 3};
  wtState fs{};
  zqvsWtSetState(&fs, 10, 0, 0, 4, 1, ftaps, good, offsets);
  EXPECT_TRUE(reportsAre({}));
  zqvWtFree(&fs);
  // Each failure leaves the status negative, under which the next call would
  // return at once.
  zqvsWtSetState(&fs, 10, 0, 0, 4, 1, ftaps, bad, offsets);
  zqvSetErrStatus(0);
  const int32_t badOffsets[4] = {0, 6, 0, 0};
  zqvsWtSetState(&fs, 10, 0, 0, 4, 1, ftaps, good, badOffsets);
  zqvSetErrStatus(0);
  const float* nullTap[4] = {t4.data(), nullptr, t6.data(), t4.data()};
  zqvsWtSetState(&fs, 10, 0, 0, 4, 1, nullTap, good, offsets);
  zqvSetErrStatus(0);
  zqvsWtSetState(&fs, 10, 0, 0, 4, 1, nullptr, nullptr, nullptr);
  zqvSetErrStatus(0);
  EXPECT_EQ(zqvwWtSetState(&fs, 10, 0, 0, 4, 1, ftaps, bad, offsets), ZQV_BACKTRACE);
  EXPECT_EQ(fs.dataType, 4);
  EXPECT_TRUE(reportsAre({
      {ZQV_BAD_ARGUMENT, "zqvsWtSetState", "Bad filter lengths", "zqvwlts"},
      {ZQV_BAD_ARGUMENT, "zqvsWtSetState", "Bad filter offsets", "zqvwlts"},
      {ZQV_BAD_ARGUMENT, "zqvsWtSetState", "Bad pointers in Ftaps", "zqvwlts"},
      {ZQV_BAD_ARGUMENT, "zqvsWtSetState", "Ftaps eq. NULL", "zqvwlts"},
      {ZQV_BAD_ARGUMENT, "zqvsWtSetState", "Flen eq. NULL", "zqvwlts"},
      {ZQV_BAD_ARGUMENT, "zqvsWtSetState", "Fofs eq. NULL", "zqvwlts"},
      {ZQV_BAD_ARGUMENT, "zqvsWtSetState", "Bad filter lengths", "zqvwlts"},
      {ZQV_BACKTRACE, "zqvwWtSetState", "out zqvsWtSetState", "zqvwlts"},
  }));
}

TEST_F(Wavelet, InitRefusesBadParameters) {
  struct Case { int32_t wtType, par1, par2, order, level; std::vector<ExpectedReport> reports; };
  const Case cases[] = {
      {2, 11, 0, 4, 1, {{ZQV_BAD_ARGUMENT, "zqvdWtInit", "error in parameter Daublet filter", "zqvwlts"}}},
      {2, 0, 0, 4, 1, {{ZQV_BAD_ARGUMENT, "zqvdWtInit", "error in parameter Daublet filter", "zqvwlts"}}},
      {3, 8, 0, 4, 1, {{ZQV_BAD_ARGUMENT, "zqvdWtInit", "error in parameter Symmlet filter", "zqvwlts"}}},
      {4, 6, 0, 4, 1, {{ZQV_BAD_ARGUMENT, "zqvdWtInit", "error in parameter Coiflet filter", "zqvwlts"}}},
      {4, 0, 0, 4, 1, {{ZQV_BAD_ARGUMENT, "zqvdWtInit", "error in parameter Coiflet filter", "zqvwlts"}}},
      {6, 1, 2, 4, 1, {{ZQV_BAD_ARGUMENT, "zqvdWtInit", "error in wavelet parameters", "zqvwlts"}}},
      {6, 2, 3, 4, 1, {{ZQV_BAD_ARGUMENT, "zqvdWtInit", "error in wavelet parameters", "zqvwlts"}}},
      {7, 3, 4, 4, 1, {{ZQV_BAD_ARGUMENT, "zqvdWtInit", "error in wavelet parameters", "zqvwlts"}}},
      {6, 4, 1, 4, 1, {{ZQV_BAD_ARGUMENT, "zqvdWtInit", "error in wavelet parameters", "zqvwlts"}}},
      {0, 0, 0, 4, 1, {{ZQV_BAD_ARGUMENT, "zqvdWtInit", "error in the type of wavelet", "zqvwlts"}}},
      {10, 0, 0, 4, 1, {{ZQV_BAD_ARGUMENT, "zqvdWtInit", "error in the type of wavelet", "zqvwlts"}}},
      {1, 0, 0, 1, 1, {{ZQV_BAD_ARGUMENT, "zqvdWtInit", "level>(dataOrder-1)", "zqvwlts"}}},
      {1, 0, 0, 0, -1,
       {{ZQV_BAD_ARGUMENT, "zqvdWtInit", "dataOrder<1", "zqvwlts"},
        {ZQV_BAD_ARGUMENT, "zqvdWtInit", "level<0", "zqvwlts"}}},
      {1, 0, 0, 32, 40,
       {{ZQV_BAD_ARGUMENT, "zqvdWtInit", "dataOrder>31", "zqvwlts"},
        {ZQV_BAD_ARGUMENT, "zqvdWtInit", "level>(dataOrder-1)", "zqvwlts"}}},
      // 2^31 samples need more than one block can describe.
      {1, 0, 0, 31, 0, {{ZQV_OUT_OF_MEMORY, "zqvdWtInit", "No working wavelet memory", "zqvwlts"}}},
  };
  const wtState zero{};
  wtState refused{};
  std::vector<ReportRow> rows;
  for (const auto& c : cases)
    rows.push_back({testing::PrintToString(std::vector<int32_t>{c.wtType, c.par1, c.par2, c.order, c.level}),
                    [&refused, c] {
                      refused = wtState{};
                      zqvdWtInit(c.par1, c.par2, c.order, c.level, &refused, c.wtType);
                    },
                    c.reports});
  expectReportRows(rows, std::nullopt,
                   [&](const ReportRow&) { EXPECT_EQ(0, std::memcmp(&refused, &zero, sizeof refused)); });
  // The 16-bit Init passes the failure up and marks the record 16-bit.
  zqvSetErrStatus(0);
  clearReports();
  wtState st{};
  EXPECT_EQ(zqvwWtInit(11, 0, 4, 1, &st, 2), ZQV_BACKTRACE);
  EXPECT_EQ(st.dataType, 4);
  EXPECT_EQ(zqvwWtInit(0, 0, 4, 1, nullptr, 1), ZQV_BAD_ARGUMENT);
  zqvSetErrStatus(0);
  zqvsWtSetState(&st, 3, 9, 0, 4, 1, nullptr, nullptr, nullptr);
  EXPECT_TRUE(reportsAre({
      {ZQV_BAD_ARGUMENT, "zqvsWtInit", "error in parameter Daublet filter", "zqvwlts"},
      {ZQV_BACKTRACE, "zqvwWtInit", "out zqvsWtInit", "zqvwlts"},
      {ZQV_BAD_ARGUMENT, "zqvwWtInit", "wtState==0", "zqvwlts"},
      {ZQV_BAD_ARGUMENT, "zqvsWtInit", "error in parameter Symmlet filter", "zqvwlts"},
      {ZQV_BACKTRACE, "zqvsWtSetState", "out zqvsWtInit", "zqvwlts"},
  }));
}

TEST_F(Wavelet, TransformsCheckTheRecord) {
  float f[16] = {};
  double d[16] = {};
  wtState st{};
  zqvsWtInit(2, 0, 4, 2, &st, 2);
  zqvdWtDecompose(&st, d, d);
  EXPECT_TRUE(reportsAre(
      {{ZQV_BAD_ARGUMENT, "zqvdWtDecompose", "error in the (float, double or short) core", "zqvwlts"}}));
  zqvSetErrStatus(0);
  clearReports();

  zqvsWtReconstruct(nullptr, nullptr, f);
  EXPECT_TRUE(reportsAre({{ZQV_BAD_ARGUMENT, "zqvsWtReconstruct", "wtState==0", "zqvwlts"},
                          {ZQV_BAD_ARGUMENT, "zqvsWtReconstruct", "src==0", "zqvwlts"}}));
  zqvSetErrStatus(0);
  clearReports();

  // A damaged record: every fault is named.
  wtState bad = st;
  bad.level = 4;
  bad.kind = 1;
  bad.Flen[1] = 6;
  bad.Flen[2] = 6;
  bad.Fofs[3] = -1;
  void* keep = bad.tap_filt[2];
  bad.tap_filt[2] = nullptr;
  zqvsWtDecompose(&bad, f, f);
  EXPECT_TRUE(reportsAre({
      {ZQV_BAD_ARGUMENT, "zqvsWtDecompose", "wtState->level>(wtState->dataOrder-1)", "zqvwlts"},
      {ZQV_BAD_ARGUMENT, "zqvsWtDecompose", "wtState->tap_filt[ 2 ]==0", "zqvwlts"},
      {ZQV_BAD_ARGUMENT, "zqvsWtDecompose", "error in the filter lengths ortho. wavelet", "zqvwlts"},
      {ZQV_BAD_ARGUMENT, "zqvsWtDecompose", "error in the filter offsets", "zqvwlts"},
  }));
  bad.tap_filt[2] = keep;
  zqvSetErrStatus(0);
  clearReports();

  // While the status is negative nothing is transformed.
  for (int i = 0; i < 16; ++i) f[i] = static_cast<float>(i);
  zqvSetErrStatus(ZQV_BAD_ARGUMENT);
  zqvsWtDecompose(&st, f, f);
  EXPECT_EQ(f[1], 1.0f);
  EXPECT_TRUE(reportsAre({}));
  zqvSetErrStatus(0);
  zqvWtFree(&st);

  int32_t i1, i2, i3, i4, i5, len[4], ofs[4];
  float* taps[4];
  zqvsWtGetState(nullptr, &i1, nullptr, &i3, &i4, &i5, taps, nullptr, ofs);
  zqvWtFree(nullptr);
  EXPECT_TRUE(reportsAre({
      {ZQV_BAD_ARGUMENT, "zqvsWtGetState", "wtState==0", "zqvwlts"},
      {ZQV_BAD_ARGUMENT, "zqvsWtGetState", "par1==0", "zqvwlts"},
      {ZQV_BAD_ARGUMENT, "zqvsWtGetState", "Flen==0", "zqvwlts"},
      {ZQV_BAD_ARGUMENT, "zqvWtFree", "wtState==0", "zqvwlts"},
  }));
  (void)i2;
  (void)len;
}

// A report routine that clears the status and answers 0 does not let a
// damaged record through.
int32_t forgivingReport(int32_t status, const char* func, const char* message, const char* file, int32_t line) {
  zqvRecordingReport(status, func, message, file, line);
  zqvSetErrStatus(0);
  return 0;
}

TEST_F(Wavelet, AForgivingReportRoutineDoesNotLetABadRecordThrough) {
  wtState st{};
  zqvdWtInit(2, 0, 4, 2, &st, 2);
  wtState bad = st;
  bad.level = 9;
  bad.Fofs[0] = 50;
  const ZqvReportFn previous = zqvRedirectError(forgivingReport);
  std::vector<double> x(16, 1.0), y(16, -3.0);
  zqvdWtDecompose(&bad, x.data(), y.data());
  zqvdWtReconstruct(&bad, x.data(), y.data());
  wtState other{};
  zqvdWtInit(2, 0, 40, 45, &other, 2);
  zqvRedirectError(previous);
  EXPECT_EQ(y, std::vector<double>(16, -3.0));
  EXPECT_EQ(other.src_pad, nullptr);
  EXPECT_EQ(recordedReports().size(), 6u);  // two for each call
  zqvWtFree(&st);
}

}  // namespace
