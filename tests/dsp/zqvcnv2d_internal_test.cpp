// Two-dimensional convolution, hidden parts: the method choice at the edges
// of its rules, the Hartley transform against its definition, every method
// forced over sizes around powers of two against a naive long-double sum,
// and each work allocation made to fail in turn.
#include <gtest/gtest.h>

#include <cmath>
#include <utility>
#include <cstdlib>
#include <random>
#include <string>
#include <vector>

#include "support/zqv_report_log.h"
#include "analysis/detail/zqvcnv2dgen.h"
#include "analysis/detail/zqvconvsel.h"
#include "zqvcnv2d_oracle.h"

namespace {

using namespace zqvcnv2d;
using namespace cnv2d_oracle;

TEST(Conv2DMethodChoice, TheRulesInOrder) {
  struct Case {
    int64_t xCols, xRows, hCols, hRows;
    Method method;
  };
  const Case cases[] = {
      {1, 1, 1, 1, Method::Direct},        {16, 16, 16, 16, Method::Direct},    {17, 16, 16, 16, Method::Whole},
      {16, 17, 16, 16, Method::Whole},     {1000, 1000, 7, 7, Method::Direct},  {7, 7, 1000, 1000, Method::Direct},
      {1000, 1000, 8, 7, Method::Tiled},   {7, 8, 1000, 1000, Method::Tiled},   {17, 17, 9, 9, Method::Whole},
      {64, 64, 9, 9, Method::Tiled},       {17, 1, 17, 1, Method::OneDim},      {16, 1, 16, 1, Method::Direct},
      {1000, 1, 7, 1, Method::Direct},     {1, 17, 1, 17, Method::OneDim},      {1, 40, 40, 1, Method::Whole},
      {40, 1, 1, 40, Method::Whole},       {18, 9, 9, 9, Method::Tiled},        {17, 9, 9, 9, Method::Whole},
      {9, 18, 9, 9, Method::Tiled},        {9, 9, 18, 9, Method::Tiled},        {9, 9, 9, 18, Method::Tiled},
      {9, 9, 9, 17, Method::Whole},        {20, 18, 10, 10, Method::Tiled},     {20, 9, 10, 10, Method::Whole},
      {9, 20, 10, 10, Method::Whole},      {INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, Method::Whole},
      {INT32_MAX, INT32_MAX, 9, 9, Method::Tiled},
  };
  for (const Case& c : cases)
    EXPECT_EQ(chooseMethod(c.xCols, c.xRows, c.hCols, c.hRows), c.method)
        << c.xCols << "x" << c.xRows << " with " << c.hCols << "x" << c.hRows;
}

TEST(Conv2DHartley, MatchesItsDefinitionAndTwiceGivesNTimesTheInput) {
  std::mt19937 gen(7);
  std::uniform_real_distribution<double> u(-1, 1);
  for (int64_t n : {1, 2, 4, 8, 16, 32, 64, 256, 2048}) {
    SCOPED_TRACE(n);
    HartleyTables t;
    ASSERT_TRUE(t.build(n));
    std::vector<double> a(static_cast<size_t>(n));
    for (double& v : a) v = u(gen);
    std::vector<double> b = a;
    hartley(b.data(), t);
    const LD pi = 3.141592653589793238462643383279502884L;
    LD worst = 0;
    for (int64_t k = 0; k < (n <= 256 ? n : 0); ++k) {
      LD sum = 0;
      for (int64_t m = 0; m < n; ++m) {
        const LD angle = 2 * pi * static_cast<LD>((k * m) % n) / static_cast<LD>(n);
        sum += static_cast<LD>(a[size_t(m)]) * (std::cos(angle) + std::sin(angle));
      }
      worst = std::max(worst, std::fabs(sum - static_cast<LD>(b[size_t(k)])));
    }
    EXPECT_LT(worst, 1e-14L * std::sqrt(static_cast<LD>(n)) * (std::log2(static_cast<LD>(n)) + 1));
    hartley(b.data(), t);
    for (int64_t k = 0; k < n; ++k) ASSERT_NEAR(b[size_t(k)], static_cast<double>(n) * a[size_t(k)], 1e-12 * n) << k;
    // Float data with the same double table.
    std::vector<float> f(a.begin(), a.end());
    hartley(f.data(), t);
    hartley(f.data(), t);
    for (int64_t k = 0; k < n; ++k) ASSERT_NEAR(f[size_t(k)], n * a[size_t(k)], 2e-6 * n * (std::log2(n) + 1)) << k;
  }
}

// Each sine of the quarter period is taken at its angle formed in double, in
// long double, and rounded once (the upper half of the quarter from the
// cosine of the complementary angle). The C library's double sine and
// cosine round some of these angles differently on processors with and
// without FMA, from lengths of 8192 on; this value is the same on all.
TEST(Conv2DHartley, SinesAreRoundedOnceFromLongDouble) {
  for (int64_t n : {4, 64, 8192, 16384, 65536}) {
    HartleyTables t;
    ASSERT_TRUE(t.build(n));
    const double w = 2.0 * 3.14159265358979323846 / static_cast<double>(n);
    for (int64_t j = 0; j <= n / 4; ++j) {
      const LD v = 8 * j <= n ? std::sin(static_cast<LD>(w * static_cast<double>(j)))
                              : std::cos(static_cast<LD>(w * static_cast<double>(n / 4 - j)));
      ASSERT_EQ(t.sines[j], static_cast<double>(v)) << "n " << n << " j " << j;
    }
    EXPECT_EQ(t.sines[0], 0.0);
    EXPECT_EQ(t.sines[n / 4], 1.0);
  }
}

// Many sequences side by side give each sequence's one-at-a-time transform
// bit for bit: lane counts one either side of the vector widths, lengths
// with an odd and an even number of later stages, rows further apart than
// their lanes.
template <class T>
void lanesMatchOneAtATime() {
  std::mt19937 gen(11);
  std::uniform_real_distribution<double> u(-1, 1);
  for (int64_t n : {1, 2, 4, 8, 16, 32, 64, 128, 1024}) {
    HartleyTables t;
    ASSERT_TRUE(t.build(n));
    for (int64_t lanes : {1, 3, 7, 8, 9, 15, 16, 17, 33, 64, 65}) {
      SCOPED_TRACE(testing::Message() << "n " << n << " lanes " << lanes);
      const int64_t stride = lanes + 3;
      std::vector<T> a(static_cast<size_t>(n * stride));
      for (T& v : a) v = static_cast<T>(u(gen));
      std::vector<T> each = a;
      hartleyLanes(a.data(), lanes, stride, viewOf(t));
      std::vector<T> seq(static_cast<size_t>(n));
      for (int64_t l = 0; l < lanes; ++l) {
        for (int64_t i = 0; i < n; ++i) seq[size_t(i)] = each[size_t(i * stride + l)];
        hartley(seq.data(), t);
        for (int64_t i = 0; i < n; ++i) ASSERT_EQ(a[size_t(i * stride + l)], seq[size_t(i)]) << l << " " << i;
      }
      // The gaps between the rows are not touched.
      for (int64_t i = 0; i < n; ++i)
        for (int64_t g = lanes; g < stride; ++g) ASSERT_EQ(a[size_t(i * stride + g)], each[size_t(i * stride + g)]);
    }
  }
}

TEST(Conv2DHartley, ManySequencesSideBySideGiveEachOnesBits) {
  lanesMatchOneAtATime<float>();
  lanesMatchOneAtATime<double>();
}

const char* nameOf(Method m) {
  switch (m) {
    case Method::Direct: return "direct";
    case Method::OneDim: return "one-dimensional";
    case Method::Tiled: return "tiled";
    case Method::Whole: return "whole image";
  }
  return "?";
}

// Sizes around powers of two and at the edges of the choice; the
// one-dimensional method only where both are single rows or columns.
template <class T>
void everyMethodForced(LD tolerance) {
  const Image2 sizes[][2] = {
      {{1, 1}, {1, 1}},     {{17, 17}, {9, 9}},   {{64, 64}, {9, 9}},   {{33, 1}, {31, 1}},   {{1, 63}, {1, 65}},
      {{1, 1}, {40, 1}},    {{40, 1}, {1, 40}},   {{7, 9}, {8, 8}},     {{31, 32}, {33, 2}},  {{16, 16}, {16, 16}},
      {{65, 3}, {4, 17}},   {{2, 129}, {5, 5}},   {{100, 7}, {1, 1}},   {{15, 17}, {63, 1}},  {{32, 32}, {1, 33}},
  };
  std::mt19937 gen(23);
  for (const auto& s : sizes) {
    const auto x = randomImage<T>(s[0], gen), h = randomImage<T>(s[1], gen);
    std::vector<LD> mag;
    const auto ref = naive(x.data(), s[0], h.data(), s[1], &mag);
    const bool line = (s[0].rows == 1 && s[1].rows == 1) || (s[0].cols == 1 && s[1].cols == 1);
    for (Method m : {Method::Direct, Method::OneDim, Method::Tiled, Method::Whole}) {
      if (m == Method::OneDim && !line) continue;
      SCOPED_TRACE(testing::Message() << nameOf(m) << " " << s[0].cols << "x" << s[0].rows << " with " << s[1].cols
                                      << "x" << s[1].rows);
      std::vector<T> y(ref.size(), T(9)), swapped(ref.size(), T(9));
      ASSERT_TRUE(runMethod(m, x.data(), Extent{s[0].cols, s[0].rows}, h.data(), Extent{s[1].cols, s[1].rows},
                            y.data()));
      ASSERT_TRUE(runMethod(m, h.data(), Extent{s[1].cols, s[1].rows}, x.data(), Extent{s[0].cols, s[0].rows},
                            swapped.data()));
      EXPECT_LT(relativeError(y, ref, mag), tolerance);
      EXPECT_LT(relativeError(swapped, ref, mag), tolerance);
    }
  }
}

TEST(Conv2DMethods, FloatEveryMethodForced) { everyMethodForced<float>(4e-6L); }
TEST(Conv2DMethods, DoubleEveryMethodForced) { everyMethodForced<double>(1e-14L); }

// The bits of every method's output over a table of sizes (odd, prime,
// powers of two and one either side), pinned as they were before the
// transforms and sums got vector builds: FNV-1a of the output's bytes.
template <class T>
uint64_t bitsOf(Method m, Image2 xe, Image2 he) {
  // Inputs from a fixed integer sequence, independent of library versions.
  uint32_t state = static_cast<uint32_t>(xe.cols * 7919 + xe.rows * 104729 + he.cols * 31 + he.rows);
  auto next = [&] {
    state = state * 1664525u + 1013904223u;
    return static_cast<T>(static_cast<int32_t>(state >> 8) - (1 << 23)) / static_cast<T>(1 << 23);
  };
  std::vector<T> x(static_cast<size_t>(xe.cols * xe.rows)), h(static_cast<size_t>(he.cols * he.rows));
  for (T& v : x) v = next();
  for (T& v : h) v = next();
  std::vector<T> y(static_cast<size_t>((xe.cols + he.cols - 1) * (xe.rows + he.rows - 1)));
  if (!runMethod(m, x.data(), Extent{xe.cols, xe.rows}, h.data(), Extent{he.cols, he.rows}, y.data())) return 0;
  uint64_t hash = 1469598103934665603ull;
  const auto* bytes = reinterpret_cast<const unsigned char*>(y.data());
  for (size_t i = 0; i < y.size() * sizeof(T); ++i) hash = (hash ^ bytes[i]) * 1099511628211ull;
  return hash;
}

TEST(Conv2DMethods, OutputBitsArePinned) {
  struct Case {
    Method m;
    Image2 x, h;
    uint64_t f, d;
  };
  const Case cases[] = {
#include "zqvcnv2d_pinned.inc"
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << nameOf(c.m) << " " << c.x.cols << "x" << c.x.rows << " with " << c.h.cols
                                    << "x" << c.h.rows);
    EXPECT_EQ(bitsOf<float>(c.m, c.x, c.h), c.f);
    EXPECT_EQ(bitsOf<double>(c.m, c.x, c.h), c.d);
  }
}


// ---- Work memory made to fail.
// Allocations of each kind still allowed before the next one fails.
int blocksLeft = -1, scratchLeft = -1;
bool refused = false;
void* limitedBlock(int32_t bytes) {
  if (blocksLeft == 0) return refused = true, nullptr;
  if (blocksLeft > 0) --blocksLeft;
  return zqvMalloc(bytes);
}
void* limitedScratch(std::size_t bytes) {
  if (scratchLeft == 0) return refused = true, nullptr;
  if (scratchLeft > 0) --scratchLeft;
  return std::malloc(bytes);
}
void* failingCalloc(std::size_t, std::size_t) { return nullptr; }

class Conv2DMemory : public ZqvReportLogTest {
 protected:
  void SetUp() override {
    ZqvReportLogTest::SetUp();
    blockAlloc = &limitedBlock;
    scratchAlloc = &limitedScratch;
  }
  void TearDown() override {
    blockAlloc = &zqvMalloc;
    scratchAlloc = &std::malloc;
    zqvconv::workAlloc = &std::calloc;
    ZqvReportLogTest::TearDown();
  }
};

std::string memory(const char* func) { return std::string("-4 ") + func + " \nMemory allocation problem\n zqvcnv2d"; }
std::string back(const char* func) { return std::string("-1 ") + func + "  zqvcnv2d"; }

// Every failing allocation, one at a time, until the call needs no more:
// the failure is reported under the routine that asked, then passed up.
TEST_F(Conv2DMemory, EveryWorkAllocationFailsInTurn) {
  struct Case {
    const char* label;
    Image2 x, h;
    bool sixteen;
    std::vector<std::vector<std::string>> blockReports;  // by failing block
    std::vector<std::string> rotateReports;              // after the exchange's own report
  };
  const Case cases[] = {
      {"whole image",
       {17, 17},
       {9, 9},
       false,
       {{memory("zqvsConv2D")},
        {memory("zqvsConv2D")},
        {memory("ownsHftConv2d"), back("zqvsConv2D")},
        {memory("ownsHftConv2d"), back("zqvsConv2D")}},
       {back("ownsHftConv2d"), back("zqvsConv2D")}},
      {"whole image, unequal sides",
       {40, 17},
       {30, 9},
       false,
       {{memory("zqvsConv2D")},
        {memory("zqvsConv2D")},
        {memory("ownsHftConv2d"), back("zqvsConv2D")},
        {memory("ownsHftConv2d"), back("zqvsConv2D")},
        {memory("ownsHftConv2d"), back("zqvsConv2D")},
        {memory("ownsHftConv2d"), back("zqvsConv2D")}},
       {back("ownsHftConv2d"), back("zqvsConv2D")}},
      {"tiled",
       {64, 64},
       {9, 9},
       false,
       {{memory("ownsOverlapConv2d"), back("zqvsConv2D")},
        {memory("ownsOverlapConv2d"), back("zqvsConv2D")},
        {memory("ownsOverlapConv2d"), back("zqvsConv2D")},
        {memory("ownsOverlapConv2d"), back("zqvsConv2D")}},
       {back("ownsOverlapConv2d"), back("zqvsConv2D")}},
      {"16-bit through the whole image",
       {17, 17},
       {9, 9},
       true,
       {{memory("zqvwConv2D")},
        {memory("zqvwConv2D")},
        {memory("zqvwConv2D")},
        {memory("zqvsConv2D"), back("zqvwConv2D")},
        {memory("zqvsConv2D"), back("zqvwConv2D")},
        {memory("ownsHftConv2d"), back("zqvsConv2D"), back("zqvwConv2D")},
        {memory("ownsHftConv2d"), back("zqvsConv2D"), back("zqvwConv2D")}},
       {back("ownsHftConv2d"), back("zqvsConv2D"), back("zqvwConv2D")}},
  };
  std::mt19937 gen(29);
  for (const Case& c : cases) {
    const auto x = randomImage<float>(c.x, gen), h = randomImage<float>(c.h, gen);
    const std::vector<int16_t> xw(x.size(), 3), hw(h.size(), -2);
    const size_t n = size_t((c.x.cols + c.h.cols - 1) * (c.x.rows + c.h.rows - 1));
    auto run = [&] {
      std::vector<float> y(n);
      std::vector<int16_t> yw(n);
      int32_t factor = 0;
      if (c.sixteen)
        zqvwConv2D(xw.data(), int32_t(c.x.cols), int32_t(c.x.rows), hw.data(), int32_t(c.h.cols), int32_t(c.h.rows),
                   yw.data(), 0, &factor);
      else
        zqvsConv2D(x.data(), int32_t(c.x.cols), int32_t(c.x.rows), h.data(), int32_t(c.h.cols), int32_t(c.h.rows),
                   y.data());
    };
    for (size_t k = 0;; ++k) {
      SCOPED_TRACE(testing::Message() << c.label << ": block " << k << " fails");
      log().clear();
      zqvSetErrStatus(0);
      blocksLeft = int(k);
      refused = false;
      run();
      blocksLeft = -1;
      if (!refused) {
        EXPECT_EQ(k, c.blockReports.size());
        EXPECT_TRUE(log().empty());
        break;
      }
      ASSERT_LT(k, c.blockReports.size());
      EXPECT_EQ(log(), c.blockReports[k]);
      EXPECT_EQ(zqvGetErrStatus(), ZQV_OUT_OF_MEMORY);
    }
    for (int k = 0;; ++k) {
      SCOPED_TRACE(testing::Message() << c.label << ": exchange " << k << " fails");
      log().clear();
      zqvSetErrStatus(0);
      scratchLeft = k;
      refused = false;
      run();
      scratchLeft = -1;
      if (!refused) {
        EXPECT_TRUE(log().empty());
        EXPECT_GE(k, 6);  // three separable transforms at least
        break;
      }
      std::vector<std::string> want{memory(k % 2 == 0 ? "sRotate_V" : "sRotate_V_Back")};
      want.insert(want.end(), c.rotateReports.begin(), c.rotateReports.end());
      EXPECT_EQ(log(), want);
      EXPECT_EQ(zqvGetErrStatus(), ZQV_OUT_OF_MEMORY);
    }
  }
}

TEST_F(Conv2DMemory, DoubleNamesAndTheOneDimensionalRoutine) {
  std::mt19937 gen(31);
  const auto x = randomImage<double>({17, 17}, gen), h = randomImage<double>({9, 9}, gen);
  std::vector<double> y(25 * 25);
  scratchLeft = 0;
  zqvdConv2D(x.data(), 17, 17, h.data(), 9, 9, y.data());
  EXPECT_EQ(log(), (std::vector<std::string>{memory("dRotate_V"), back("owndHftConv2d"), back("zqvdConv2D")}));
  log().clear();
  scratchLeft = 1;
  const auto big = randomImage<double>({64, 64}, gen);
  std::vector<double> yb(72 * 72);
  zqvdConv2D(big.data(), 64, 64, h.data(), 9, 9, yb.data());
  EXPECT_EQ(log(),
            (std::vector<std::string>{memory("dRotate_V_Back"), back("owndOverlapConv2d"), back("zqvdConv2D")}));
  scratchLeft = -1;

  // Two long single rows go to the one-dimensional routine: its failure is
  // passed up under the two-dimensional one.
  log().clear();
  zqvconv::workAlloc = &failingCalloc;
  const auto r1 = randomImage<float>({3000, 1}, gen), r2 = randomImage<float>({2000, 1}, gen);
  std::vector<float> yr(4999);
  zqvsConv2D(r1.data(), 3000, 1, r2.data(), 2000, 1, yr.data());
  zqvconv::workAlloc = &std::calloc;
  ASSERT_FALSE(log().empty());
  EXPECT_EQ(log().front().rfind("-4 zqvsConv", 0), 0u) << log().front();
  EXPECT_EQ(log().back(), back("zqvsConv2D"));
  EXPECT_EQ(zqvGetErrStatus(), ZQV_OUT_OF_MEMORY);
}

}  // namespace
