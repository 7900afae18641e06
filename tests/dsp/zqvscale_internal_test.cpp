// The 16-bit narrowing helpers, against the cases worked out by hand.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "core/detail/zqvscale.h"

namespace {

struct IntCase {
  int32_t x;
  int32_t mode;
  int32_t factor;  // read in fixed modes
  bool nullFactor;
  int16_t expected;
  int32_t expectedFactor;  // after the call
};

TEST(ScaleToW, IntegerModes) {
  const IntCase cases[] = {
      {5000, 2, -3, false, -25536, -3},   // 40000 wrapped
      {5000, 3, -3, false, 32767, -3},    // saturated instead
      {-5000, 3, -3, false, -32768, -3},
      {1 << 30, 2, 40, false, 0, 40},     // shift capped at 31
      {-1, 2, 40, false, -1, 40},
      {1, 2, -20, false, -32768, -20},    // left shift capped at 15
      {3, 3, -20, false, 32767, -20},
      {70000, 2, 0, true, 4464, 0},       // no pointer: plain wrap
      {70000, 3, 0, true, 32767, 0},
      {-70000, 1, 0, true, -32768, 0},
      {32767, 1, 0, true, 32767, 0},
      {-32768, 1, 0, true, -32768, 0},
      {32768, 0, 0, true, -32768, 0},
      {-40000, 4, 99, false, -20000, 1},
      {32767, 4, 99, false, 32767, 0},
      {-32768, 4, 99, false, -32768, 0},
      {32768, 4, 99, false, 16384, 1},
      {INT32_MIN, 4, 99, false, -16384, 17},
      {INT32_MAX, 4, 99, false, 32767, 16},
      {70000, 7, 0, true, 4464, 0},       // unknown modes wrap
  };
  for (const auto& c : cases) {
    int32_t factor = c.factor;
    const int16_t got = zqviScaleToW(c.x, c.mode, c.nullFactor ? nullptr : &factor);
    EXPECT_EQ(got, c.expected) << "x=" << c.x << " mode=" << c.mode << " factor=" << c.factor;
    if (!c.nullFactor) {
      EXPECT_EQ(factor, c.expectedFactor) << "x=" << c.x << " mode=" << c.mode;
    }
  }
}

TEST(ScaleToW, AutomaticShiftAlwaysFits) {
  // Every value, after its automatic shift, lies in 16 bits and is the exact
  // floor of x / 2^s (an arithmetic shift).
  for (int64_t x = INT32_MIN; x <= INT32_MAX; x += 65537 * 3 + 1) {
    int32_t s = -1;
    const int16_t got = zqviScaleToW(static_cast<int32_t>(x), 4, &s);
    ASSERT_GE(s, 0);
    ASSERT_EQ(got, static_cast<int16_t>(static_cast<int64_t>(std::floor(std::ldexp(double(x), -s)))));
    if (s > 0) {
      ASSERT_GE(std::abs(int32_t{got}), 16384) << x;  // no shift larger than needed
    }
  }
}

TEST(ScaleToW, FloatModes) {
  struct FloatCase {
    float x;
    int32_t mode;
    int16_t expected;
  } cases[] = {
      {40000.0f, 1, 32767},  {-40000.0f, 1, -32768}, {-1.7f, 1, -1},     {1.7f, 1, 1},
      {32767.9f, 1, 32767},  {-32768.9f, 1, -32768}, {-0.5f, 0, 0},      {40000.0f, 0, -25536},
      {std::numeric_limits<float>::quiet_NaN(), 1, 32767},
      {-std::numeric_limits<float>::quiet_NaN(), 1, -32768},
      {std::numeric_limits<float>::infinity(), 1, 32767},
      {3e10f, 0, 0},  // outside 32 bits: the indefinite value, low bits 0
  };
  for (const auto& c : cases) {
    int16_t out = 123;
    zqvsbScaleToW(&c.x, &out, 1, c.mode, nullptr);
    EXPECT_EQ(out, c.expected) << c.x << " mode " << c.mode;
  }
}

TEST(ScaleToW, FloatFixedShift) {
  const std::vector<float> src = {1000.0f, -1000.5f, 70000.0f};
  std::vector<int16_t> out(3);
  int32_t f = -5;  // times 32
  zqvsbScaleToW(src.data(), out.data(), 3, 2, &f);
  EXPECT_EQ(out, (std::vector<int16_t>{32000, -32016, static_cast<int16_t>(2240000 & 0xFFFF)}));
  zqvsbScaleToW(src.data(), out.data(), 3, 3, &f);
  EXPECT_EQ(out, (std::vector<int16_t>{32000, -32016, 32767}));
  f = 2;
  zqvsbScaleToW(src.data(), out.data(), 3, 3, &f);
  EXPECT_EQ(out, (std::vector<int16_t>{250, -250, 17500}));
}

TEST(ScaleToW, FloatAutomatic) {
  struct AutoCase {
    std::vector<float> src;
    std::vector<int16_t> expected;
    int32_t factor;
  } cases[] = {
      {{1.5f, -2.5f, 32767.0f}, {1, -2, 32767}, 0},
      {{32768.0f}, {16384}, 1},
      {{65535.9f}, {32767}, 1},
      {{-65536.0f, 3.0f}, {-16384, 0}, 2},
      // The largest magnitude alone cannot tell these apart: both ends decide.
      {{-32768.0f, 32768.0f}, {-16384, 16384}, 1},
      {{-32768.0f, 12.0f}, {-32768, 12}, 0},
  };
  for (const auto& c : cases) {
    std::vector<int16_t> out(c.src.size());
    int32_t factor = -99;
    zqvsbScaleToW(c.src.data(), out.data(), static_cast<int32_t>(c.src.size()), 4, &factor);
    EXPECT_EQ(out, c.expected);
    EXPECT_EQ(factor, c.factor);
  }
}

TEST(ScaleToW, IntegerVectorAutomaticBothEnds) {
  const int32_t src[] = {-32768, 32768, 7};
  int16_t out[3];
  int32_t factor = -1;
  zqvibScaleToW(src, out, 3, 4, &factor);
  EXPECT_EQ(factor, 1);
  EXPECT_EQ(out[0], -16384);
  EXPECT_EQ(out[1], 16384);
  EXPECT_EQ(out[2], 3);
  const int32_t fits[] = {-32768, 100};
  zqvibScaleToW(fits, out, 2, 4, &factor);
  EXPECT_EQ(factor, 0);
  EXPECT_EQ(out[0], -32768);
}

TEST(ScaleToW, PairSharesTheLargerShift) {
  const float re[] = {100.0f, 70000.0f};
  const float im[] = {300000.0f, -2.0f};
  int16_t a[2], b[2];
  int32_t factor = 0;
  zqvsbrScaleToW(re, im, a, b, 2, 4, &factor);
  EXPECT_EQ(factor, 4);  // 300000 needs 2^4
  EXPECT_EQ(a[0], 6);
  EXPECT_EQ(a[1], 4375);
  EXPECT_EQ(b[0], 18750);
  EXPECT_EQ(b[1], 0);
}

TEST(MaxAbsIndex, TiesAndOrder) {
  const float odd[] = {3, -5, 5};
  EXPECT_EQ(zqvsbMaxAbsIndex(odd, 3), 2);
  const float even[] = {-5, 5, 1, 2};
  EXPECT_EQ(zqvsbMaxAbsIndex(even, 4), 0);
  const float nan[] = {1, std::numeric_limits<float>::infinity(), std::numeric_limits<float>::quiet_NaN(), 2};
  EXPECT_EQ(zqvsbMaxAbsIndex(nan, 4), 2);
  EXPECT_EQ(zqvsbMaxAbsIndex(odd, 0), 0);
  const int32_t ints[] = {7, INT32_MIN, INT32_MAX, -7};
  EXPECT_EQ(zqvibMaxAbsIndex(ints, 4), 1);
}

TEST(AbsLog2, Values) {
  const std::pair<int32_t, int32_t> cases[] = {{0, 0}, {1, 0}, {-1, 0}, {2, 1}, {-3, 1},
                                               {32768, 15}, {65535, 15}, {INT32_MAX, 30}, {INT32_MIN, 31}};
  for (auto [x, expected] : cases) EXPECT_EQ(zqvAbsLog2(x), expected) << x;
}

TEST(NormScaleMode, EffectiveModes) {
  struct Case {
    int32_t mode, factor;
    bool nullFactor;
    int32_t extra, expectedMode, expectedShift;
  } cases[] = {
      {3, 2, false, -5, 6, 3}, {2, 1, false, -1, 0, 0}, {4, 9, false, 7, 4, 7}, {6, 9, false, 2, 4, 2},
      {1, 5, false, 0, 1, 0},  // the factor counts only with the fixed bit
      {2, 3, true, 0, 0, 0},   {0, 0, true, 4, 2, 4},   {1, 0, true, -2, 6, 2},
  };
  for (const auto& c : cases) {
    int32_t m = -1, s = -1;
    zqvNormScaleMode(&m, &s, c.mode, c.nullFactor ? nullptr : &c.factor, c.extra);
    EXPECT_EQ(m, c.expectedMode) << c.mode << "," << c.factor << "," << c.extra;
    EXPECT_EQ(s, c.expectedShift) << c.mode << "," << c.factor << "," << c.extra;
  }
}

}  // namespace
