// Norms and normalization: closed-form cases, long double and exact integer
// references, and the argument reports.
#include <cfloat>
#include <cmath>
#include <cstdint>
#include <functional>
#include <random>
#include <vector>

#include "zqv_test_support.h"

namespace {

class NormTest : public ZqvTest {};

constexpr int32_t kFlags[] = {1, 2, 4, 9, 10, 12};

// Long double reference of the norm; components of a - b (b may be empty).
long double referenceNorm(const std::vector<std::vector<long double>>& a,
                          const std::vector<std::vector<long double>>* b, int32_t flag) {
  auto measure = [&](bool useB) {
    long double acc = 0;
    for (size_t i = 0; i < a.size(); ++i) {
      long double sq = 0;
      for (size_t p = 0; p < a[i].size(); ++p) {
        const long double d = a[i][p] - (useB ? (*b)[i][p] : 0.0L);
        sq += d * d;
      }
      if (flag & 1) acc = std::max(acc, std::sqrt(sq));
      else if (flag & 2) acc += std::sqrt(sq);
      else acc += sq;
    }
    return acc;
  };
  const long double m = measure(b != nullptr);
  if (!(flag & 8)) return (flag & 4) ? std::sqrt(m) : m;
  if (b == nullptr) return 1.0L;
  const long double d = measure(false);
  return (flag & 4) ? std::sqrt(m / d) : m / d;
}

template <class T> std::vector<long double> parts(const T& v) { return {(long double)v}; }
template <> std::vector<long double> parts(const ZqvCplxS& v) { return {v.re, v.im}; }
template <> std::vector<long double> parts(const ZqvCplxD& v) { return {v.re, v.im}; }
template <> std::vector<long double> parts(const ZqvCplxW& v) { return {(long double)v.re, (long double)v.im}; }

template <class T> T randomElem(std::mt19937& g);
template <> float randomElem(std::mt19937& g) { return std::uniform_real_distribution<float>(-3, 3)(g); }
template <> double randomElem(std::mt19937& g) { return std::uniform_real_distribution<double>(-3, 3)(g); }
template <> int16_t randomElem(std::mt19937& g) { return int16_t(std::uniform_int_distribution<int>(-32768, 32767)(g)); }
template <> ZqvCplxS randomElem(std::mt19937& g) { return {randomElem<float>(g), randomElem<float>(g)}; }
template <> ZqvCplxD randomElem(std::mt19937& g) { return {randomElem<double>(g), randomElem<double>(g)}; }
template <> ZqvCplxW randomElem(std::mt19937& g) { return {randomElem<int16_t>(g), randomElem<int16_t>(g)}; }

// Every form and flag, with and without srcB, against the long double reference.
template <class T, class R>
void checkAgainstReference(R (*norm)(const T*, const T*, int32_t, int32_t), double relTol) {
  std::mt19937 g(7);
  for (int32_t n : {1, 3, 4, 17, 1000}) {
    std::vector<T> a(n), b(n);
    std::vector<std::vector<long double>> pa, pb;
    for (int32_t i = 0; i < n; ++i) {
      a[i] = randomElem<T>(g);
      b[i] = randomElem<T>(g);
      pa.push_back(parts(a[i]));
      pb.push_back(parts(b[i]));
    }
    for (int32_t flag : kFlags) {
      for (bool withB : {false, true}) {
        const long double want = referenceNorm(pa, withB ? &pb : nullptr, flag);
        const R got = norm(a.data(), withB ? b.data() : nullptr, n, flag);
        EXPECT_NEAR(double(got), double(want), relTol * double(want))
            << "n=" << n << " flag=" << flag << " withB=" << withB;
      }
    }
  }
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(NormTest, EveryFormMatchesLongDoubleReference) {
  checkAgainstReference<float, float>(zqvsNorm, 2e-7);
  checkAgainstReference<ZqvCplxS, float>(zqvcNorm, 2e-7);
  checkAgainstReference<double, double>(zqvdNorm, 1e-14);
  checkAgainstReference<ZqvCplxD, double>(zqvzNorm, 1e-14);
  checkAgainstReference<int16_t, float>(zqvwNorm, 2e-7);
  checkAgainstReference<ZqvCplxW, float>(zqvvNorm, 2e-7);
}

TEST_F(NormTest, ClosedFormCases) {
  const float a[] = {3, -4};
  EXPECT_EQ(zqvsNorm(a, nullptr, 2, ZQV_NormMax), 4.0f);
  EXPECT_EQ(zqvsNorm(a, nullptr, 2, ZQV_NormL1), 7.0f);
  EXPECT_EQ(zqvsNorm(a, nullptr, 2, ZQV_NormL2), 5.0f);
  const ZqvCplxS c[] = {{3, 4}};
  EXPECT_EQ(zqvcNorm(c, nullptr, 1, ZQV_NormMax), 5.0f);
  EXPECT_EQ(zqvcNorm(c, nullptr, 1, ZQV_NormL1), 5.0f);
  const float one[] = {1, 1}, other[] = {0, 2};
  EXPECT_EQ(zqvsNorm(one, other, 2, ZQV_NormMax | ZQV_NormRelative), 1.0f);
  const int16_t w[] = {-32768};
  EXPECT_EQ(zqvwNorm(w, nullptr, 1, ZQV_NormMax), 32768.0f);
  const ZqvCplxW v[] = {{-32768, -32768}}, v0[] = {{32767, 32767}};
  EXPECT_EQ(zqvvNorm(v, v0, 1, ZQV_NormL2), float(65535.0 * std::sqrt(2.0)));
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(NormTest, RelativeNormEdgeValues) {
  const float zeros[] = {0, 0, 0}, some[] = {1, -2, 3};
  const double zerosD[] = {0, 0, 0}, someD[] = {1, -2, 3};
  for (int32_t flag : {9, 10, 12}) {
    EXPECT_EQ(zqvsNorm(zeros, nullptr, 3, flag), 1.0f);  // srcA not even read
    EXPECT_EQ(zqvsNorm(zeros, some, 3, flag), FLT_MAX);
    EXPECT_EQ(zqvdNorm(zerosD, someD, 3, flag), DBL_MAX);
  }
  const float withNaN[] = {NAN, 1, 2};
  EXPECT_EQ(zqvsNorm(withNaN, some, 3, ZQV_NormL2 | ZQV_NormRelative), FLT_MAX);
  EXPECT_TRUE(reportsAre({}));
}

// 16-bit sums are exact: the extreme difference over many elements.
TEST_F(NormTest, WordSumsAreExact) {
  const int32_t n = 200000;
  std::vector<int16_t> a(n, -32768), b(n, 32767);
  const long double l1 = (long double)n * 65535;
  const long double l2 = std::sqrt((long double)n * 65535 * 65535);
  EXPECT_EQ(zqvwNorm(a.data(), b.data(), n, ZQV_NormL1), float(l1));
  EXPECT_EQ(zqvwNorm(a.data(), b.data(), n, ZQV_NormL2), float(l2));
  EXPECT_EQ(zqvwNorm(a.data(), b.data(), n, ZQV_NormMax), 65535.0f);
}

TEST_F(NormTest, NormalizeMatchesReference) {
  std::mt19937 g(3);
  const int32_t n = 1001;
  std::vector<float> s(n), d(n);
  std::vector<double> sd(n), dd(n);
  for (int32_t i = 0; i < n; ++i) {
    s[i] = randomElem<float>(g) * 100;
    sd[i] = randomElem<double>(g) * 100;
  }
  zqvsbNormalize(s.data(), d.data(), n, 1.25f, -3.5f);
  zqvdbNormalize(sd.data(), dd.data(), n, 1.25, 7.0);
  for (int32_t i = 0; i < n; ++i) {
    const long double want = ((long double)s[i] - 1.25L) / -3.5L;
    EXPECT_NEAR(d[i], double(want), 6e-8 * std::fabs(double(want))) << i;
    EXPECT_NEAR(dd[i], double(((long double)sd[i] - 1.25L) / 7.0L), 5e-16 * std::fabs(dd[i]));
  }
  const float simple[] = {3, -1};
  float out[2];
  zqvsbNormalize(simple, out, 2, 1.0f, 2.0f);
  EXPECT_EQ(out[0], 1.0f);
  EXPECT_EQ(out[1], -1.0f);
  const ZqvCplxS cs[] = {{3, 5}, {-1, 1}};
  ZqvCplxS co[2];
  zqvcbNormalize(cs, co, 2, {1, -1}, 2.0f);
  EXPECT_EQ(co[0].re, 1.0f); EXPECT_EQ(co[0].im, 3.0f);
  EXPECT_EQ(co[1].re, -1.0f); EXPECT_EQ(co[1].im, 1.0f);
  const ZqvCplxD zs[] = {{3, 5}};
  ZqvCplxD zo[1];
  zqvzbNormalize(zs, zo, 1, {1, -1}, 4.0);
  EXPECT_EQ(zo[0].re, 0.5); EXPECT_EQ(zo[0].im, 1.5);
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(NormTest, WordNormalizeTruncatesAndWraps) {
  struct Case { int16_t src; int32_t offset; float factor; int16_t want; };
  const Case cases[] = {
      {30000, 0, 0.5f, -5536},  // 60000 wrapped to 16 bits
      {-3, 0, 0.5f, -6},
      {-5, 0, 2.0f, -2},         // truncation toward zero
      {5, 0, 2.0f, 2},
      {10, 0x10004, 4.0f, 1},    // only the low 16 bits of the offset: 4
      {-32768, 32767, 1.0f, 1},  // -65535 wrapped
      {1, 0, 1e-30f, 0},         // product outside 32 bits: no defined value kept
  };
  for (const Case& c : cases) {
    int16_t out = 77;
    zqvwbNormalize(&c.src, &out, 1, c.offset, c.factor);
    EXPECT_EQ(out, c.want) << c.src << " " << c.offset << " " << c.factor;
  }
  const ZqvCplxW vs[] = {{30000, -3}};
  ZqvCplxW vo[1];
  zqvvbNormalize(vs, vo, 1, {0, 1}, 0.5f);
  EXPECT_EQ(vo[0].re, -5536);
  EXPECT_EQ(vo[0].im, -8);
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(NormTest, NormalizeInPlaceEqualsSeparate) {
  std::vector<float> s = {1, 2, 3, 4, 5, 6, 7}, sep(7);
  zqvsbNormalize(s.data(), sep.data(), 7, 0.5f, 3.0f);
  zqvsbNormalize(s.data(), s.data(), 7, 0.5f, 3.0f);
  EXPECT_EQ(s, sep);
  std::vector<int16_t> w = {100, -200, 300}, wsep(3);
  zqvwbNormalize(w.data(), wsep.data(), 3, 7, 0.3f);
  zqvwbNormalize(w.data(), w.data(), 3, 7, 0.3f);
  EXPECT_EQ(w, wsep);
  std::vector<ZqvCplxS> c = {{1, 2}, {3, 4}};
  zqvcbNormalize(c.data(), c.data(), 2, {1, 1}, 2.0f);
  EXPECT_EQ(c[1].re, 1.0f);
  EXPECT_EQ(c[1].im, 1.5f);
}

TEST_F(NormTest, ArgumentErrors) {
  const float f2[] = {1, 2};
  const ZqvCplxS c2[2] = {};
  const double d2[] = {1, 2};
  const ZqvCplxD z2[2] = {};
  const int16_t w2[] = {1, 2};
  const ZqvCplxW v2[2] = {};
  float fo[2] = {9, 9};
  double dout[2] = {9, 9};
  const char* M = "zqvnorm";
  const std::vector<ReportRow> rows = {
      {[] { EXPECT_EQ(zqvsNorm(nullptr, nullptr, 0, 1), 0.0f); },
       {{-5, "zqvsNorm", "srcA==0", M}, {-5, "zqvsNorm", "n<=0", M}}},
      {[&] { EXPECT_EQ(zqvsNorm(f2, nullptr, 2, 8), 0.0f); }, {{-5, "zqvsNorm", "flag is wrong", M}}},
      {[&] { zqvsNorm(f2, nullptr, 2, 3); }, {{-5, "zqvsNorm", "flag is wrong", M}}},
      {[&] { zqvsNorm(f2, nullptr, 2, 5); }, {{-5, "zqvsNorm", "flag is wrong", M}}},
      {[&] { zqvsNorm(f2, nullptr, 2, 6); }, {{-5, "zqvsNorm", "flag is wrong", M}}},
      {[&] { zqvsNorm(f2, nullptr, 2, 7); }, {{-5, "zqvsNorm", "flag is wrong", M}}},
      {[&] { zqvsNorm(f2, nullptr, 2, 16); }, {{-5, "zqvsNorm", "flag is wrong", M}}},
      {[&] { zqvsNorm(f2, nullptr, 2, 0); }, {{-5, "zqvsNorm", "flag is wrong", M}}},
      {[&] { EXPECT_EQ(zqvcNorm(c2, c2, -1, 13), 0.0f); },
       {{-5, "zqvcNorm", "n<=0", M}, {-5, "zqvcNorm", "flag is wrong", M}}},
      {[&] { EXPECT_EQ(zqvdNorm(nullptr, d2, 2, 1), 0.0); }, {{-5, "zqvdNorm", "srcA==0", M}}},
      {[&] { zqvzNorm(z2, nullptr, 0, 4); }, {{-5, "zqvzNorm", "n<=0", M}}},
      {[&] { zqvwNorm(w2, nullptr, 2, 11); }, {{-5, "zqvwNorm", "flag is wrong", M}}},
      {[&] { zqvvNorm(nullptr, v2, 2, 2); }, {{-5, "zqvvNorm", "srcA==0", M}}},
      {[] { zqvsbNormalize(nullptr, nullptr, 0, 0.0f, 0.0f); },
       {{-5, "zqvsbNormalize", "src==0", M}, {-5, "zqvsbNormalize", "dst==0", M},
        {-5, "zqvsbNormalize", "n<=0", M}, {-5, "zqvsbNormalize", "factor == 0", M}}},
      {[&] { zqvsbNormalize(f2, fo, 2, 0.0f, -0.0f); }, {{-5, "zqvsbNormalize", "factor == 0", M}}},
      // Only the upper word of a double factor is tested: 2^-1050 counts as zero.
      {[&] { zqvdbNormalize(d2, dout, 2, 0.0, std::ldexp(1.0, -1050)); },
       {{-5, "zqvdbNormalize", "factor == 0", M}}},
      {[&] { zqvcbNormalize(c2, nullptr, 2, {0, 0}, 1.0f); }, {{-5, "zqvcbNormalize", "dst==0", M}}},
      {[&] { zqvzbNormalize(nullptr, nullptr, 1, {0, 0}, 1.0); },
       {{-5, "zqvzbNormalize", "src==0", M}, {-5, "zqvzbNormalize", "dst==0", M}}},
      {[&] { zqvwbNormalize(w2, nullptr, 0, 0, 0.0f); },
       {{-5, "zqvwbNormalize", "dst==0", M}, {-5, "zqvwbNormalize", "n<=0", M},
        {-5, "zqvwbNormalize", "factor == 0", M}}},
      {[&] { zqvvbNormalize(v2, nullptr, 2, {0, 0}, 1.0f); }, {{-5, "zqvvbNormalize", "dst==0", M}}},
  };
  expectReportRows(rows);
  EXPECT_EQ(fo[0], 9.0f);
  EXPECT_EQ(dout[0], 9.0);
}

// A status left negative by an earlier failure: no work, no report.
TEST_F(NormTest, NegativeStatusMeansNoWork) {
  zqvSetErrStatus(ZQV_BAD_ARGUMENT);
  const float a[] = {3, 4};
  float out[2] = {9, 9};
  EXPECT_EQ(zqvsNorm(a, nullptr, 2, ZQV_NormL2), 0.0f);
  zqvsbNormalize(a, out, 2, 0.0f, 1.0f);
  EXPECT_EQ(out[0], 9.0f);
  EXPECT_TRUE(reportsAre({}));
  zqvSetErrStatus(0);
  // A tiny double factor with a non-zero upper word is accepted.
  const double d[] = {1.0};
  double dout[1];
  zqvdbNormalize(d, dout, 1, 0.0, std::ldexp(1.0, -1000));
  EXPECT_EQ(dout[0], std::ldexp(1.0, 1000));
  EXPECT_TRUE(reportsAre({}));
}

}  // namespace
