// 16-bit vector arithmetic: every form and mode against exact 64-bit results
// and a brute-force search for the automatic shift.
#include <cstdint>
#include <functional>
#include <random>
#include <regex>
#include <string>
#include <vector>

#include "zqv_test_support.h"

namespace {

constexpr int32_t kBad = ZQV_BAD_ARGUMENT;
constexpr const char* kMod = "zqvaritw";

int16_t low16(__int128 x) { return static_cast<int16_t>(static_cast<uint16_t>(static_cast<uint64_t>(x))); }
int16_t clamp16(__int128 x) { return static_cast<int16_t>(x < -32768 ? -32768 : x > 32767 ? 32767 : x); }

// The stored value of an exact result r under a mode and factor; auto mode
// takes the shift found by the search.
int16_t narrowRef(int64_t r, int32_t mode, int32_t f, int32_t autoShift) {
  switch (mode) {
    case 0: return low16(r);
    case 1: return clamp16(r);
    case 4: return static_cast<int16_t>(r >> autoShift);
    default: {
      const __int128 v = f >= 0 ? __int128{r >> f} : __int128{r} * (__int128{1} << -f);
      return mode == 3 ? clamp16(v) : low16(v);
    }
  }
}

int32_t searchShift(const std::vector<int64_t>& results) {
  for (int32_t s = 0;; ++s) {
    bool fits = true;
    for (int64_t r : results) fits = fits && (r >> s) >= -32768 && (r >> s) <= 32767;
    if (fits) return s;
  }
}

std::vector<int16_t> randomW(size_t n, uint32_t seed) {
  std::mt19937 gen(seed);
  std::vector<int16_t> v(n);
  for (auto& x : v) {
    const uint32_t r = gen();
    x = static_cast<int16_t>((r & 3) == 0 ? r >> 16 : (r & 3) == 1 ? (r >> 16) % 400 - 200 : (r >> 16) % 40 - 20);
  }
  return v;
}

enum class Op { Add, Sub, Mpy };
int64_t exact(Op op, int64_t a, int64_t b) { return op == Op::Add ? a + b : op == Op::Sub ? a - b : a * b; }

struct ModeCase {
  int32_t mode, factor;
};
// Every mode; fixed shifts both ways; 2 and 7 are both "fixed shift, wrap".
const std::vector<ModeCase> kModes = {{0, 0}, {1, 0}, {2, 3}, {2, -3}, {7, 2}, {3, 2}, {3, -2}, {3, 0}, {4, 0}};

class AritW : public ZqvTest {};

// Runs form 1, 2 and 3 of one operation on real vectors for every mode.
TEST_F(AritW, RealFormsInEveryMode) {
  using F1 = void (*)(int16_t, int16_t*, int32_t, int32_t, int32_t*);
  using F2 = void (*)(const int16_t*, int16_t*, int32_t, int32_t, int32_t*);
  using F3 = void (*)(const int16_t*, const int16_t*, int16_t*, int32_t, int32_t, int32_t*);
  struct Fam {
    Op op;
    F1 f1;
    F2 f2;
    F3 f3;
  };
  const std::vector<Fam> fams = {{Op::Add, zqvwbAdd1, zqvwbAdd2, zqvwbAdd3},
                                 {Op::Sub, zqvwbSub1, zqvwbSub2, zqvwbSub3},
                                 {Op::Mpy, zqvwbMpy1, zqvwbMpy2, zqvwbMpy3}};
  const int n = 67;
  const auto a = randomW(n, 1), b = randomW(n, 2);
  const int16_t val = -1234;
  for (const auto& fam : fams)
    for (const auto& m : kModes)
      for (int form = 1; form <= 3; ++form) {
        std::vector<int64_t> r(n);
        for (int i = 0; i < n; ++i) r[i] = exact(fam.op, a[i], form == 1 ? val : b[i]);
        std::vector<int16_t> out = a;
        int32_t f = m.factor;
        if (form == 1) fam.f1(val, out.data(), n, m.mode, &f);
        if (form == 2) fam.f2(b.data(), out.data(), n, m.mode, &f);
        if (form == 3) {
          out.assign(n, 0);
          fam.f3(a.data(), b.data(), out.data(), n, m.mode, &f);
        }
        const int32_t s = searchShift(r);
        for (int i = 0; i < n; ++i)
          ASSERT_EQ(out[i], narrowRef(r[i], m.mode, m.factor, s))
              << int(fam.op) << " form " << form << " mode " << m.mode << " factor " << m.factor << " at " << i;
        EXPECT_EQ(f, m.mode == 4 ? s : m.factor);
      }
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(AritW, ComplexFormsInEveryMode) {
  using F1 = void (*)(ZqvCplxW, ZqvCplxW*, int32_t, int32_t, int32_t*);
  using F2 = void (*)(const ZqvCplxW*, ZqvCplxW*, int32_t, int32_t, int32_t*);
  using F3 = void (*)(const ZqvCplxW*, const ZqvCplxW*, ZqvCplxW*, int32_t, int32_t, int32_t*);
  struct Fam {
    Op op;
    F1 f1;
    F2 f2;
    F3 f3;
  };
  const std::vector<Fam> fams = {{Op::Add, zqvvbAdd1, zqvvbAdd2, zqvvbAdd3},
                                 {Op::Sub, zqvvbSub1, zqvvbSub2, zqvvbSub3},
                                 {Op::Mpy, zqvvbMpy1, zqvvbMpy2, zqvvbMpy3}};
  const int n = 41;
  const auto ar = randomW(n, 3), ai = randomW(n, 4), br = randomW(n, 5), bi = randomW(n, 6);
  std::vector<ZqvCplxW> a(n), b(n);
  for (int i = 0; i < n; ++i) {
    a[i] = {ar[i], ai[i]};
    b[i] = {br[i], bi[i]};
  }
  a[7] = b[7] = {-32768, -32768};
  const ZqvCplxW val{-300, 211};
  for (const auto& fam : fams)
    for (const auto& m : kModes)
      for (int form = 1; form <= 3; ++form) {
        std::vector<int64_t> re(n), im(n), all;
        for (int i = 0; i < n; ++i) {
          const ZqvCplxW y = form == 1 ? val : b[i];
          if (fam.op == Op::Mpy) {
            re[i] = int64_t{a[i].re} * y.re - int64_t{a[i].im} * y.im;
            im[i] = int64_t{a[i].re} * y.im + int64_t{a[i].im} * y.re;
          } else {
            re[i] = exact(fam.op, a[i].re, y.re);
            im[i] = exact(fam.op, a[i].im, y.im);
          }
          all.push_back(re[i]);
          all.push_back(im[i]);
        }
        std::vector<ZqvCplxW> out = a;
        int32_t f = m.factor;
        if (form == 1) fam.f1(val, out.data(), n, m.mode, &f);
        if (form == 2) fam.f2(b.data(), out.data(), n, m.mode, &f);
        if (form == 3) fam.f3(a.data(), b.data(), out.data(), n, m.mode, &f);
        const int32_t s = searchShift(all);
        for (int i = 0; i < n; ++i) {
          ASSERT_EQ(out[i].re, narrowRef(re[i], m.mode, m.factor, s)) << int(fam.op) << " " << form << " " << m.mode << " " << i;
          ASSERT_EQ(out[i].im, narrowRef(im[i], m.mode, m.factor, s)) << int(fam.op) << " " << form << " " << m.mode << " " << i;
        }
        EXPECT_EQ(f, m.mode == 4 ? s : m.factor);
      }
}

TEST_F(AritW, DocumentedValues) {
  int16_t v[2] = {32767, 5};
  int32_t f = 9;
  zqvwbAdd1(1, v, 2, 0, nullptr);
  EXPECT_TRUE(v[0] == -32768 && v[1] == 6);
  v[0] = 32767, v[1] = 5;
  zqvwbAdd1(1, v, 2, 1, nullptr);
  EXPECT_TRUE(v[0] == 32767 && v[1] == 6);
  v[0] = 32767, v[1] = 5;
  zqvwbAdd1(1, v, 2, 4, &f);
  EXPECT_TRUE(v[0] == 16384 && v[1] == 3 && f == 1);
  int16_t src[2] = {2, 300}, dst[2] = {3, 300};
  zqvwbMpy2(src, dst, 2, 4, &f);
  EXPECT_TRUE(dst[0] == 1 && dst[1] == 22500 && f == 2);
  int16_t h = 100, g = 100;
  f = -2;
  zqvwbMpy2(&h, &g, 1, 3, &f);
  EXPECT_EQ(g, 32767);
  g = 100, f = 2;
  zqvwbMpy2(&h, &g, 1, 3, &f);
  EXPECT_EQ(g, 2500);
  ZqvCplxW c{-32768, -32768};
  zqvvbMpy2(&c, &c, 1, 1, nullptr);
  EXPECT_TRUE(c.re == 0 && c.im == 32767);
  c = {-32768, -32768};
  zqvvbMpy2(&c, &c, 1, 4, &f);
  EXPECT_TRUE(c.re == 0 && c.im == 16384 && f == 17);
  // 2^31 never wraps: in wrap mode its low 16 bits are 0.
  c = {-32768, -32768};
  zqvvbMpy2(&c, &c, 1, 0, nullptr);
  EXPECT_TRUE(c.re == 0 && c.im == 0);
  // A null factor in a fixed mode is no shift; factors beyond 31 stay inside.
  int16_t x = 5000;
  zqvwbMpy1(3, &x, 1, 2, nullptr);
  EXPECT_EQ(x, 15000);
  x = -5000, f = 40;
  zqvwbAdd1(0, &x, 1, 2, &f);
  EXPECT_EQ(x, -1);
  x = 5000, f = -40;
  zqvwbAdd1(0, &x, 1, 3, &f);
  EXPECT_EQ(x, 32767);
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(AritW, CopiesAndConjugates) {
  std::vector<ZqvCplxW> v = {{1, 2}, {3, 4}, {5, -32768}, {0, 0}, {0, 0}, {0, 0}};
  zqvvbConjExtend1(v.data(), 3);
  EXPECT_TRUE(v[3].re == 3 && v[3].im == -4 && v[4].re == 1 && v[4].im == -2);
  zqvvbConj1(v.data(), 3);
  EXPECT_TRUE(v[2].re == 5 && v[2].im == -32768 && v[0].im == -2);
  std::vector<ZqvCplxW> flip(3), ext(4), c2(3);
  zqvvbConjFlip2(v.data(), flip.data(), 3);
  EXPECT_TRUE(flip[0].re == 5 && flip[0].im == -32768 && flip[2].re == 1 && flip[2].im == 2);
  zqvvbConj2(v.data(), c2.data(), 3);
  EXPECT_TRUE(c2[0].im == 2 && c2[1].im == 4);
  zqvvbConjExtend2(v.data(), ext.data(), 2);
  EXPECT_TRUE(ext[0].im == -2 && ext[2].re == 3 && ext[2].im == 4 && ext[3].re == 1 && ext[3].im == 2);
  EXPECT_EQ(zqvvConj(ZqvCplxW{7, -32768}).im, -32768);
  int16_t w[3] = {1, 2, 3}, w2[3] = {};
  zqvwbCopy(w, w2, 3);
  EXPECT_EQ(w2[2], 3);
  zqvwbSet(-9, w, 3);
  EXPECT_EQ(w[1], -9);
  zqvwbZero(w, 3);
  EXPECT_EQ(w[2], 0);
  ZqvCplxW cs[2];
  zqvvbSet(ZqvCplxW{4, -4}, cs, 2);
  EXPECT_TRUE(cs[1].re == 4 && cs[1].im == -4);
  zqvvbZero(cs, 2);
  EXPECT_TRUE(cs[1].re == 0 && cs[1].im == 0);
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(AritW, ScalarsAndExactDivision) {
  int32_t f = 0;
  ZqvCplxW r = zqvvMpy({-32768, -32768}, {-32768, -32768}, 4, &f);
  EXPECT_TRUE(r.re == 0 && r.im == 16384 && f == 17);
  r = zqvvAdd({32767, 1}, {1, 1}, 1, nullptr);
  EXPECT_TRUE(r.re == 32767 && r.im == 2);
  r = zqvvSub({-32768, 0}, {1, 0}, 0, nullptr);
  EXPECT_EQ(r.re, 32767);
  // Exact quotients against int64 division toward zero, then saturation.
  std::mt19937 gen(11);
  for (int i = 0; i < 20000; ++i) {
    const ZqvCplxW a{static_cast<int16_t>(gen()), static_cast<int16_t>(gen())};
    const ZqvCplxW b{static_cast<int16_t>(static_cast<int16_t>(gen()) >> (gen() % 16)),
                     static_cast<int16_t>(static_cast<int16_t>(gen()) >> (gen() % 16))};
    if (b.re == 0 && b.im == 0) continue;
    const int64_t den = int64_t{b.re} * b.re + int64_t{b.im} * b.im;
    const int64_t re = (int64_t{a.re} * b.re + int64_t{a.im} * b.im) / den;
    const int64_t im = (int64_t{a.im} * b.re - int64_t{a.re} * b.im) / den;
    const ZqvCplxW q = zqvvDiv(a, b);
    ASSERT_TRUE(q.re == clamp16(re) && q.im == clamp16(im)) << a.re << "," << a.im << " / " << b.re << "," << b.im;
  }
  EXPECT_TRUE(zqvvDiv({7, 0}, {2, 0}).re == 3);
  // 1/|b|^2 in floating point truncates 9/3 to 2; the exact quotient is 3.
  EXPECT_EQ(zqvvDiv({9, 0}, {3, 0}).re, 3);
  EXPECT_EQ(zqvvDiv({-32768, 0}, {-1, 0}).re, 32767);
  EXPECT_TRUE(reportsAre({}));
  r = zqvvDiv({7, 0}, {0, 0});
  EXPECT_TRUE(r.re == 0 && r.im == 0);
  EXPECT_TRUE(reportsAre({{kBad, "zqvvDiv", "(b.re==0)&&(b.im==0)", kMod}}));
  // With the status negative the scalars only add a backtrace.
  clearReports();
  r = zqvvAdd({1, 1}, {1, 1}, 0, nullptr);
  EXPECT_TRUE(r.re == 0 && r.im == 0);
  EXPECT_TRUE(reportsAre({{ZQV_BACKTRACE, "zqvvAdd", "", kMod}}));
}

// The backtrace of a scalar routine names the routine and carries no message,
// so the standard-error reporter prints no empty "(): " after the name.
TEST_F(AritW, ScalarBacktraceCarriesNoMessage) {
  zqvSetErrStatus(kBad);
  zqvRedirectError(zqvStdErrReport);
  ::testing::internal::CaptureStderr();
  zqvvAdd({1, 1}, {1, 1}, 0, nullptr);
  zqvvSub({1, 1}, {1, 1}, 0, nullptr);
  zqvvMpy({1, 1}, {1, 1}, 0, nullptr);
  const std::string out = ::testing::internal::GetCapturedStderr();
  zqvRedirectError(zqvRecordingReport);
  const std::regex line("\\tcalled from \\[zqvaritw:[0-9]+\\]:(zqvv[A-Za-z]+)\\n");
  std::vector<std::string> names;
  for (std::sregex_iterator it(out.begin(), out.end(), line), end; it != end; ++it) names.push_back((*it)[1]);
  EXPECT_EQ(names, (std::vector<std::string>{"zqvvAdd", "zqvvSub", "zqvvMpy"})) << out;
  EXPECT_EQ(out.find("()"), std::string::npos) << out;
}

TEST_F(AritW, ArgumentErrors) {
  int16_t w = 5;
  ZqvCplxW v{5, 5};
  const std::vector<ReportRow> cases = {
      {[] { zqvwbZero(nullptr, 0); }, {{kBad, "zqvwbZero", "n<=0", kMod}, {kBad, "zqvwbZero", "dst==0", kMod}}},
      {[] { zqvvbCopy(nullptr, nullptr, -1); },
       {{kBad, "zqvvbCopy", "n<=0", kMod}, {kBad, "zqvvbCopy", "src==0", kMod}, {kBad, "zqvvbCopy", "dst==0", kMod}}},
      {[] { zqvwbAdd1(1, nullptr, 0, 0, nullptr); }, {{kBad, "zqvwbAdd1", "n<=0", kMod}, {kBad, "zqvwbAdd1", "dst==0", kMod}}},
      {[] { zqvvbSub2(nullptr, nullptr, 0, 0, nullptr); },
       {{kBad, "zqvvbSub2", "n<=0", kMod}, {kBad, "zqvvbSub2", "val==0", kMod}, {kBad, "zqvvbSub2", "dst==0", kMod}}},
      {[] { zqvwbMpy2(nullptr, nullptr, 0, 0, nullptr); },
       {{kBad, "zqvwbMpy2", "n<=0", kMod}, {kBad, "zqvwbMpy2", "src==0", kMod}, {kBad, "zqvwbMpy2", "dst==0", kMod}}},
      {[] { zqvwbSub3(nullptr, nullptr, nullptr, 0, 0, nullptr); },
       {{kBad, "zqvwbSub3", "n<=0", kMod}, {kBad, "zqvwbSub3", "src==0", kMod}, {kBad, "zqvwbSub3", "val==0", kMod},
        {kBad, "zqvwbSub3", "dst==0", kMod}}},
      {[] { zqvvbMpy3(nullptr, nullptr, nullptr, 0, 0, nullptr); },
       {{kBad, "zqvvbMpy3", "n<=0", kMod}, {kBad, "zqvvbMpy3", "srcA==0", kMod}, {kBad, "zqvvbMpy3", "srcB==0", kMod},
        {kBad, "zqvvbMpy3", "dst==0", kMod}}},
      {[] { zqvvbConj1(nullptr, 0); }, {{kBad, "zqvvbConj1", "n<=0", kMod}, {kBad, "zqvvbConj1", "vec==0", kMod}}},
      {[] { zqvvbConjExtend2(nullptr, nullptr, 0); },
       {{kBad, "zqvvbConjExtend2", "n<=0", kMod}, {kBad, "zqvvbConjExtend2", "src==0", kMod},
        {kBad, "zqvvbConjExtend2", "dst==0", kMod}}},
      {[&] { zqvwbAdd1(1, &w, 1, 4, nullptr); }, {{kBad, "zqvwbAdd1", "scalefactor==0", kMod}}},
      {[&] { zqvvbMpy2(&v, &v, 1, 4, nullptr); }, {{kBad, "zqvvbMpy2", "scalefactor==0", kMod}}},
  };
  expectReportRows(cases, std::nullopt);
  EXPECT_TRUE(w == 5 && v.re == 5 && v.im == 5);
  // A status left negative: a valid call changes nothing and reports nothing.
  clearReports();
  zqvwbAdd1(1, &w, 1, 0, nullptr);
  EXPECT_EQ(w, 5);
  EXPECT_TRUE(reportsAre({}));
}

}  // namespace
