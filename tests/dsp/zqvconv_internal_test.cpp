// One-dimensional convolution: the method choice at the edges of its
// crossover tables and cost model, every method of every member forced over
// lengths around powers of two against a naive long-double sum, and the work
// memory made to fail.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <vector>

#include "support/zqv_report_log.h"
#include "analysis/detail/zqvconvmembers.h"

namespace {

using namespace zqvconv;
using LD = long double;
using CL = std::complex<LD>;

CL toL(float v) { return {v, 0}; }
CL toL(double v) { return {v, 0}; }
CL toL(ZqvCplxS v) { return {v.re, v.im}; }
CL toL(ZqvCplxD v) { return {v.re, v.im}; }

template <class T>
std::vector<T> randomVec(int64_t n, std::mt19937& gen) {
  std::uniform_real_distribution<double> u(-1.0, 1.0);
  std::vector<T> v(static_cast<size_t>(n));
  for (T& e : v) {
    if constexpr (IsCplx<T>::value) e = {static_cast<decltype(e.re)>(u(gen)), static_cast<decltype(e.re)>(u(gen))};
    else e = static_cast<T>(u(gen));
  }
  return v;
}

// y[n] = sum over k of x[k] h[n - k], in long double.
template <class A, class B>
std::vector<CL> naiveConv(const std::vector<A>& x, const std::vector<B>& h) {
  std::vector<CL> y(x.size() + h.size() - 1);
  for (size_t k = 0; k < x.size(); ++k)
    for (size_t j = 0; j < h.size(); ++j) y[k + j] += toL(x[k]) * toL(h[j]);
  return y;
}

// Largest error against the oracle, in units of the bound that a transform
// of the output length allows: eps (log2 N + 2) sqrt(lenL lenS).
template <class Y>
LD scaledError(const std::vector<Y>& y, const std::vector<CL>& ref, LD eps, int64_t lenL, int64_t lenS) {
  LD worst = 0;
  for (size_t i = 0; i < ref.size(); ++i) worst = std::max(worst, std::abs(toL(y[i]) - ref[i]));
  const LD bound = eps * (std::log2(static_cast<LD>(ref.size())) + 2) * std::sqrt(static_cast<LD>(lenL * lenS));
  return worst / bound;
}

const char* methodName(Choice c) {
  switch (c.method) {
    case Method::Direct: return "direct";
    case Method::Whole: return "whole";
    default: return c.candidate == 1 ? "sections 1" : c.candidate == 2 ? "sections 2" : "sections 3";
  }
}

class ConvInternal : public ZqvReportLogTest {
 protected:
  void TearDown() override {
    workAlloc = &std::calloc;
    ZqvReportLogTest::TearDown();
  }
};

TEST(ConvMethodChoice, CrossoverTablesAndCostModel) {
  struct Case {
    Kind kind;
    bool dbl;
    int64_t lenL, lenS;
    Method method;
  };
  const Case cases[] = {
      // Real kernels below 21 are always summed directly.
      {Kind::Real, false, 2000000000, 20, Method::Direct},
      {Kind::Real, true, 1, 1, Method::Direct},
      // 21: directly while the longer operand is below 37905.
      {Kind::Real, false, 37904, 21, Method::Direct},
      {Kind::Real, false, 37905, 21, Method::Sectioned},
      {Kind::Real, true, 37904, 21, Method::Direct},
      {Kind::Real, false, 101, 101, Method::Direct},
      {Kind::Real, false, 102, 101, Method::Whole},
      // From 102 on a transform method always.
      {Kind::Real, false, 102, 102, Method::Whole},
      {Kind::Real, true, 102, 102, Method::Whole},
      {Kind::Cplx, false, 1000000, 12, Method::Direct},
      {Kind::Cplx, false, 3661, 13, Method::Direct},
      {Kind::Cplx, false, 3662, 13, Method::Sectioned},
      {Kind::Cplx, false, 47, 46, Method::Direct},
      {Kind::Cplx, false, 48, 46, Method::Whole},
      {Kind::Cplx, true, 47, 47, Method::Whole},
      {Kind::CplxByReal, false, 1000000, 17, Method::Direct},
      {Kind::CplxByReal, false, 20223, 18, Method::Direct},
      {Kind::CplxByReal, false, 20224, 18, Method::Sectioned},
      {Kind::CplxByReal, false, 88, 87, Method::Direct},
      {Kind::CplxByReal, false, 89, 87, Method::Whole},
      {Kind::CplxByReal, true, 88, 88, Method::Whole},
      {Kind::RealByCplx, false, 1000000, 15, Method::Direct},
      {Kind::RealByCplx, false, 34611, 16, Method::Direct},
      {Kind::RealByCplx, false, 34612, 16, Method::Sectioned},
      {Kind::RealByCplx, false, 91, 87, Method::Direct},
      {Kind::RealByCplx, false, 92, 87, Method::Whole},
      {Kind::RealByCplx, true, 88, 88, Method::Whole},
      // Equal lengths fit one transform; a long operand is cut in sections.
      {Kind::Real, false, 128, 128, Method::Whole},
      {Kind::Real, false, 1 << 20, 128, Method::Sectioned},
      {Kind::Cplx, true, 1 << 20, 128, Method::Sectioned},
      {Kind::Real, false, 1 << 30, 1 << 30, Method::Whole},
  };
  for (const Case& c : cases)
    EXPECT_EQ(static_cast<int>(chooseMethod(c.kind, c.dbl, c.lenL, c.lenS).method), static_cast<int>(c.method))
        << "kind " << static_cast<int>(c.kind) << " dbl " << c.dbl << " lenL " << c.lenL << " lenS " << c.lenS;
}

TEST(ConvMethodChoice, SectionCandidates) {
  // A long real operand against a short kernel: the largest section size
  // (two sections per transform), while a kernel near the operand's length
  // never asks for more than one doubling.
  EXPECT_EQ(chooseMethod(Kind::Real, false, 1 << 20, 128).candidate, 3);
  EXPECT_EQ(sectionLength(128, (1 << 20) + 127, 3), 1024);
  EXPECT_EQ(sectionLength(128, (1 << 20) + 127, 2), 1024);
  EXPECT_EQ(sectionLength(128, (1 << 20) + 127, 1), 512);
  EXPECT_EQ(sectionLength(127, 200, 3), 256);  // one section holds the whole output
  EXPECT_EQ(sectionLength(128, 300, 3), 512);  // 2Q < N does not hold: no second doubling
}

const std::vector<int64_t> kLengths = {1, 2, 3, 7, 8, 9, 15, 16, 17, 20, 21, 31, 32, 33, 63, 64, 65, 101, 102, 127, 128, 129};
const Choice kForced[] = {{Method::Direct, 0}, {Method::Whole, 0}, {Method::Sectioned, 1},
                          {Method::Sectioned, 2}, {Method::Sectioned, 3}};

template <class E, class Y, class A, class B>
void expectEveryMethod(const Member& m, LD eps, const std::vector<std::pair<int64_t, int64_t>>& pairs) {
  std::mt19937 gen(7);
  for (auto [lenL, lenS] : pairs) {
    const auto L = randomVec<A>(lenL, gen);
    const auto S = randomVec<B>(lenS, gen);
    const auto ref = naiveConv(L, S);
    for (Choice c : kForced) {
      std::vector<Y> y(ref.size() + 1);
      const Y guard = IsCplx<Y>::value ? Y{} : Y{};
      y.back() = guard;
      zqvSetErrStatus(0);
      convolveForced<E>(m, c, L.data(), lenL, S.data(), lenS, y.data());
      ASSERT_EQ(zqvGetErrStatus(), 0) << m.site.func;
      EXPECT_LE(scaledError(y, ref, eps, lenL, lenS), 1.0L)
          << m.site.func << " " << methodName(c) << " lenL " << lenL << " lenS " << lenS;
      EXPECT_EQ(toL(y.back()), CL(0)) << "wrote past N: " << m.site.func << " " << methodName(c);
    }
  }
}

std::vector<std::pair<int64_t, int64_t>> lengthPairs() {
  std::vector<std::pair<int64_t, int64_t>> p;
  for (int64_t a : kLengths)
    for (int64_t b : kLengths)
      if (a >= b) p.push_back({a, b});
  // Longer operands: many sections, and the lengths at the real crossover edge.
  p.push_back({1000, 3});
  p.push_back({4097, 33});
  p.push_back({37904, 21});
  p.push_back({37905, 21});
  return p;
}

TEST_F(ConvInternal, EveryMethodOfEveryMemberMatchesTheNaiveSum) {
  const auto pairs = lengthPairs();
  const LD epsS = 0x1p-24L, epsD = 0x1p-53L;
  expectEveryMethod<EngS, float, float, float>(kS, epsS, pairs);
  expectEveryMethod<EngC, ZqvCplxS, ZqvCplxS, ZqvCplxS>(kC, epsS, pairs);
  expectEveryMethod<EngC, ZqvCplxS, ZqvCplxS, float>(kCS, epsS, pairs);
  expectEveryMethod<EngC, ZqvCplxS, float, ZqvCplxS>(kSC, epsS, pairs);
  expectEveryMethod<EngD, double, double, double>(kD, epsD, pairs);
  expectEveryMethod<EngZ, ZqvCplxD, ZqvCplxD, ZqvCplxD>(kZ, epsD, pairs);
  expectEveryMethod<EngZ, ZqvCplxD, ZqvCplxD, double>(kZD, epsD, pairs);
  expectEveryMethod<EngZ, ZqvCplxD, double, ZqvCplxD>(kDZ, epsD, pairs);
}

// The three-product scheme written out pair by pair: y cleared, each kernel
// pair against each pair of L (outer loop over the kernel), then the odd
// element of the kernel against all of L, then the odd element of L against
// the even part of the kernel (the corner product is the kernel's).
template <class Y, class A, class B>
std::vector<Y> pairByPair(const std::vector<A>& L, const std::vector<B>& S) {
  const size_t lenL = L.size(), lenS = S.size();
  std::vector<Y> y(lenL + lenS - 1, Y{});
  for (size_t i = 0; i + 1 < lenS; i += 2)
    for (size_t j = 0; j + 1 < lenL; j += 2) {
      y[i + j] += widen<Y>(S[i] * L[j]);
      y[i + j + 2] += widen<Y>(S[i + 1] * L[j + 1]);
      y[i + j + 1] += (widen<Y>((L[j] + L[j + 1]) * (S[i] + S[i + 1])) - widen<Y>(S[i] * L[j])) -
                      widen<Y>(S[i + 1] * L[j + 1]);
    }
  if (lenS % 2)
    for (size_t j = 0; j < lenL; ++j) y[lenS - 1 + j] += widen<Y>(S[lenS - 1] * L[j]);
  if (lenL % 2)
    for (size_t i = 0; i < lenS - lenS % 2; ++i) y[lenL - 1 + i] += widen<Y>(S[i] * L[lenL - 1]);
  return y;
}

// Magnitudes spread over 2^-12..2^12, so that any other order of the
// additions into an output changes its bits.
template <class T>
std::vector<T> spreadVec(size_t n, std::mt19937& gen) {
  std::uniform_real_distribution<double> u(-1, 1);
  std::uniform_int_distribution<int> e(-12, 12);
  // The exponent is drawn first, in its own statement: the same data from
  // every compiler.
  auto draw = [&] {
    const int k = e(gen);
    return std::ldexp(u(gen), k);
  };
  std::vector<T> v(n);
  for (T& x : v) {
    if constexpr (IsCplx<T>::value) {
      using R = decltype(x.re);
      x = {R(draw()), R(draw())};
    } else {
      x = T(draw());
    }
  }
  return v;
}

template <class E, class Y, class X, class H>
void expectDirectIsPairByPair(const Member& m) {
  const int64_t kernels[] = {1, 2, 3, 20, 21, 64, 257};
  const int64_t others[] = {1, 2, 3, 7, 8, 9, 15, 16, 17, 31, 32, 33, 63, 64, 65, 513, 1023, 1024, 1025, 2500};
  std::mt19937 gen(11);
  for (int64_t a : kernels)
    for (int64_t b : others)
      for (bool xShort : {false, true}) {
        const auto x = spreadVec<X>(size_t(xShort ? a : b), gen);
        const auto h = spreadVec<H>(size_t(xShort ? b : a), gen);
        const auto want = pairByPair<Y>(x, h);
        std::vector<Y> y(want.size() + 1);
        std::memset(static_cast<void*>(y.data()), 0x5a, y.size() * sizeof(Y));
        const std::vector<Y> guard(y.begin() + int64_t(want.size()), y.end());
        convolveForced<E>(m, {Method::Direct, 0}, x.data(), int64_t(x.size()), h.data(), int64_t(h.size()), y.data());
        size_t bad = 0;
        while (bad < want.size() && std::memcmp(&y[bad], &want[bad], sizeof(Y)) == 0) ++bad;
        EXPECT_EQ(bad, want.size()) << m.site.func << " lenL " << x.size() << " lenS " << h.size()
                                    << ": first differing output " << bad;
        EXPECT_EQ(std::memcmp(&y.back(), &guard[0], sizeof(Y)), 0)
            << "wrote past N: " << m.site.func << " lenL " << x.size() << " lenS " << h.size();
      }
}

// Both orders of the operands: the forced direct sum also runs with the
// kernel longer than L. Lengths around vector widths and block edges.
TEST(ConvDirect, EveryMemberGivesTheBitsOfThePairByPairSum) {
  expectDirectIsPairByPair<EngS, float, float, float>(kS);
  expectDirectIsPairByPair<EngD, double, double, double>(kD);
  expectDirectIsPairByPair<EngC, ZqvCplxS, ZqvCplxS, ZqvCplxS>(kC);
  expectDirectIsPairByPair<EngC, ZqvCplxS, ZqvCplxS, float>(kCS);
  expectDirectIsPairByPair<EngC, ZqvCplxS, float, ZqvCplxS>(kSC);
  expectDirectIsPairByPair<EngZ, ZqvCplxD, ZqvCplxD, ZqvCplxD>(kZ);
  expectDirectIsPairByPair<EngZ, ZqvCplxD, ZqvCplxD, double>(kZD);
  expectDirectIsPairByPair<EngZ, ZqvCplxD, double, ZqvCplxD>(kDZ);
}

// Allocations still allowed before the next fails.
int allowedAllocs = 0;
void* limitedAlloc(std::size_t count, std::size_t size) {
  if (allowedAllocs == 0) return nullptr;
  --allowedAllocs;
  return std::calloc(count, size);
}

TEST_F(ConvInternal, WorkMemoryFailureIsReportedAndLeavesTheResultAlone) {
  struct Case {
    int64_t xLen, hLen;
    int allowed;
    std::vector<std::string> reports;
  };
  const Case cases[] = {
      {200, 150, 0, {"-4 zqvsConv1 NULL Pointer zqvconvs", "-1 zqvsConv  zqvconvs"}},
      {200, 150, 1, {"-4 zqvsConv1 NULL Pointer zqvconvs", "-1 zqvsConv  zqvconvs"}},
      {1 << 16, 150, 1, {"-4 zqvsConvm NULL Pointer zqvconvs", "-1 zqvsConv  zqvconvs"}},
  };
  for (const Case& c : cases) {
    std::mt19937 gen(3);
    const auto x = randomVec<float>(c.xLen, gen), h = randomVec<float>(c.hLen, gen);
    std::vector<float> y(static_cast<size_t>(c.xLen + c.hLen - 1), 5.0f);
    log().clear();
    allowedAllocs = c.allowed;
    workAlloc = &limitedAlloc;
    zqvsConv(x.data(), static_cast<int32_t>(c.xLen), h.data(), static_cast<int32_t>(c.hLen), y.data());
    workAlloc = &std::calloc;
    EXPECT_EQ(log(), c.reports) << c.xLen << " " << c.allowed;
    EXPECT_EQ(zqvGetErrStatus(), ZQV_OUT_OF_MEMORY);
    for (float v : y) ASSERT_EQ(v, 5.0f);
  }
}

TEST_F(ConvInternal, SixteenBitWorkCopiesFailOneByOne) {
  const char* const messages[] = {"NULL pointer to float copy x", "NULL pointer to float copy h",
                                  "NULL pointer to float copy y"};
  const int16_t x[3] = {1, 2, 3}, h[2] = {4, 5};
  for (int allowed = 0; allowed < 3; ++allowed) {
    int16_t y[4] = {9, 9, 9, 9};
    int32_t factor = 0;
    log().clear();
    allowedAllocs = allowed;
    workAlloc = &limitedAlloc;
    zqvwConv(x, 3, h, 2, y, 0, &factor);
    workAlloc = &std::calloc;
    EXPECT_EQ(log(), std::vector<std::string>{std::string("-4 zqvwConv ") + messages[allowed] + " zqvconvw"});
    for (int16_t v : y) EXPECT_EQ(v, 9);
  }
}

}  // namespace
