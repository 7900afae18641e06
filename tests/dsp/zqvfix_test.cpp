// Fixed-point conversions against an exact reference: x * 2^fractBits formed
// in long double (ldexp), rounded by the flag, clamped or wrapped; and back
// by ldexp over every 8- and 16-bit value.
#include <cfenv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>
#include <random>
#include <string>
#include <utility>
#include <vector>

#include "zqv_test_support.h"

namespace {

constexpr int32_t kBad = ZQV_BAD_ARGUMENT;
constexpr int32_t kRoundings[4] = {ZQV_CVT_ROUND_NEAR, ZQV_CVT_ROUND_ZERO, ZQV_CVT_ROUND_DOWN, ZQV_CVT_ROUND_UP};

long double roundBy(long double v, int32_t flags) {
  if (flags & ZQV_CVT_ROUND_ZERO) return std::trunc(v);
  if (flags & ZQV_CVT_ROUND_DOWN) return std::floor(v);
  if (flags & ZQV_CVT_ROUND_UP) return std::ceil(v);
  return std::nearbyint(v);  // ties to even under the default mode
}

// The stored integer (as int64) of x with bitSize, fractBits and flags.
int64_t fixRef(long double x, int32_t bitSize, int32_t fractBits, int32_t flags) {
  const bool u = flags & ZQV_CVT_UNSIGNED;
  const long double lo = u ? 0 : -std::ldexp(1.0L, bitSize - 1);
  const long double hi = u ? std::ldexp(1.0L, bitSize) - 1 : std::ldexp(1.0L, bitSize - 1) - 1;
  long double r = roundBy(std::ldexp(x, fractBits), flags);
  if (flags & ZQV_CVT_SATURATE) r = r < lo ? lo : (r > hi ? hi : r);
  const auto v = static_cast<int64_t>(r);
  const uint64_t mask = bitSize == 32 ? 0xFFFFFFFFu : (uint64_t{1} << bitSize) - 1;
  const uint64_t low = static_cast<uint64_t>(v) & mask;
  if (u) return static_cast<int64_t>(low);
  return (low >> (bitSize - 1)) ? static_cast<int64_t>(low) - static_cast<int64_t>(mask) - 1 : static_cast<int64_t>(low);
}

int64_t stored(const void* dst, int i, int32_t bitSize, bool u) {
  switch (bitSize) {
    case 8: return u ? int64_t{static_cast<const uint8_t*>(dst)[i]} : int64_t{static_cast<const int8_t*>(dst)[i]};
    case 16: return u ? int64_t{static_cast<const uint16_t*>(dst)[i]} : int64_t{static_cast<const int16_t*>(dst)[i]};
    default: return u ? int64_t{static_cast<const uint32_t*>(dst)[i]} : int64_t{static_cast<const int32_t*>(dst)[i]};
  }
}

class Fix : public ZqvTest {};

TEST_F(Fix, ToFixedPointInEverySizeRoundingAndFormat) {
  std::mt19937 gen(3);
  std::uniform_real_distribution<double> u(-1.2, 1.2);
  std::vector<double> d(101);
  for (auto& x : d) x = u(gen);
  d[0] = 0.5, d[1] = -0.5, d[2] = 1.0, d[3] = -1.0, d[4] = -0.0;
  std::vector<float> s(d.begin(), d.end());
  std::vector<uint8_t> out(4 * d.size()), out2(4 * d.size());
  for (int32_t bitSize : {8, 16, 32})
    for (bool uns : {false, true})
      for (int32_t fractBits : {0, 3, bitSize - 1, uns ? bitSize : bitSize - 1})
        for (int32_t r : kRoundings)
          for (int32_t extra : {0, int32_t{ZQV_CVT_SATURATE}}) {
            const int32_t flags = r | extra | (uns ? ZQV_CVT_UNSIGNED : 0);
            const int n = static_cast<int>(d.size());
            zqvdbFloatToFix(d.data(), out.data(), n, bitSize, fractBits, flags);
            zqvsbFloatToFix(s.data(), out2.data(), n, bitSize, fractBits, flags);
            for (int i = 0; i < n; ++i) {
              // Without saturation a 32-bit value that does not fit is left open.
              const long double v = roundBy(std::ldexp(static_cast<long double>(d[i]), fractBits), flags);
              const bool fits = uns ? v >= 0 && v <= 4294967295.0L : v >= -2147483648.0L && v <= 2147483647.0L;
              if (bitSize == 32 && !extra && !fits) continue;
              ASSERT_EQ(stored(out.data(), i, bitSize, uns), fixRef(d[i], bitSize, fractBits, flags))
                  << bitSize << " " << uns << " f" << fractBits << " flags " << flags << " x " << d[i];
              ASSERT_EQ(stored(out2.data(), i, bitSize, uns), fixRef(s[i], bitSize, fractBits, flags))
                  << bitSize << " " << uns << " f" << fractBits << " flags " << flags << " x " << s[i];
            }
          }
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(Fix, FormatsAreTheGeneralConversionWithTheirSizes) {
  struct Format {
    void (*s)(const float*, void*, int32_t, int32_t);
    void (*d)(const double*, void*, int32_t, int32_t);
    int32_t bitSize, fractBits;
  };
  const std::vector<Format> formats = {{zqvsbFloatToS7Fix, zqvdbFloatToS7Fix, 8, 7},
                                       {zqvsbFloatToS15Fix, zqvdbFloatToS15Fix, 16, 15},
                                       {zqvsbFloatToS31Fix, zqvdbFloatToS31Fix, 32, 31},
                                       {zqvsbFloatToS1516Fix, zqvdbFloatToS1516Fix, 32, 16}};
  const std::vector<double> d = {0.1, -0.7, 0.99998, 1.0, -1.0, 0.5, 1e-10, -3.25, 7.0};
  const std::vector<float> s(d.begin(), d.end());
  const int n = static_cast<int>(d.size());
  for (const auto& f : formats)
    for (int32_t r : kRoundings)
      for (int32_t extra : {int32_t{ZQV_CVT_SATURATE}, ZQV_CVT_SATURATE | ZQV_CVT_UNSIGNED, ZQV_CVT_CHECK | ZQV_CVT_UNSIGNED}) {
        std::vector<uint8_t> a(4 * n), b(4 * n), c(4 * n), e(4 * n);
        f.s(s.data(), a.data(), n, r | extra);
        zqvsbFloatToFix(s.data(), b.data(), n, f.bitSize, f.fractBits, r | extra);
        f.d(d.data(), c.data(), n, r | extra);
        zqvdbFloatToFix(d.data(), e.data(), n, f.bitSize, f.fractBits, r | extra);
        EXPECT_EQ(a, b) << f.bitSize << "/" << f.fractBits << " " << (r | extra);
        EXPECT_EQ(c, e) << f.bitSize << "/" << f.fractBits << " " << (r | extra);
      }
  zqvSetErrStatus(0);
}

TEST_F(Fix, DocumentedValues) {
  const float q[4] = {0.5f, -1.0f, 0.99998f, 1.0f};
  int16_t w[4];
  zqvsbFloatToS15Fix(q, w, 4, ZQV_CVT_ROUND_NEAR | ZQV_CVT_SATURATE);
  EXPECT_TRUE(w[0] == 16384 && w[1] == -32768 && w[2] == 32767 && w[3] == 32767);
  EXPECT_TRUE(reportsAre({}));
  zqvsbFloatToS15Fix(q, w, 4, ZQV_CVT_ROUND_NEAR | ZQV_CVT_SATURATE | ZQV_CVT_CHECK);
  EXPECT_TRUE(reportsAre({{kBad, "zqvsbFloatToS15Fix", "A float exceeds an integer", "zqvcvrts"}}));
  clearReports();
  const float frac[5] = {0.0f, 0.25f, 0.5f, 0.75f, 0.9999f};
  uint16_t uw[5];
  zqvsbFloatToFix(frac, uw, 5, 16, 16, ZQV_CVT_UNSIGNED | ZQV_CVT_ROUND_NEAR);
  EXPECT_TRUE(uw[0] == 0 && uw[1] == 16384 && uw[2] == 32768 && uw[3] == 49152 && uw[4] == 65529);
  const float half = 0.5f;
  uint32_t u32 = 0;
  zqvsbFloatToFix(&half, &u32, 1, 32, 32, ZQV_CVT_UNSIGNED | ZQV_CVT_ROUND_NEAR);
  EXPECT_EQ(u32, 2147483648u);
  const float tenth = 0.1f, tiny = 1e-10f;
  const int32_t flags = ZQV_CVT_UNSIGNED | ZQV_CVT_CHECK | ZQV_CVT_ROUND_ZERO;
  zqvsbFloatToS1516Fix(&tenth, &u32, 1, flags);
  EXPECT_EQ(u32, 6553u);
  zqvsbFloatToFix(&tenth, &u32, 1, 32, 16, flags);
  EXPECT_EQ(u32, 6553u);
  zqvsbFloatToS31Fix(&tiny, &u32, 1, flags);
  EXPECT_EQ(u32, 0u);
  EXPECT_TRUE(reportsAre({}));

  const uint8_t bytes[3] = {0x40, 0x80, 0x7F}, ff = 0xFF;
  float f3[3], f1 = 0;
  zqvsbFixToFloat(bytes, f3, 3, 8, 7, 0);
  EXPECT_TRUE(f3[0] == 0.5f && f3[1] == -1.0f && f3[2] == 0.9921875f);
  zqvsbFixToFloat(&ff, &f1, 1, 8, 8, ZQV_CVT_UNSIGNED);
  EXPECT_EQ(f1, 0.99609375f);
  const int32_t words[2] = {0x00018000, static_cast<int32_t>(0xFFFF0000u)};
  double d2[2];
  zqvdbS1516FixToFloat(words, d2, 2);
  EXPECT_TRUE(d2[0] == 1.5 && d2[1] == -1.0);
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(Fix, FromFixedPointOverEverySmallValue) {
  std::vector<uint8_t> b8(256);
  for (int i = 0; i < 256; ++i) b8[i] = static_cast<uint8_t>(i);
  std::vector<uint16_t> b16(65536);
  for (int i = 0; i < 65536; ++i) b16[i] = static_cast<uint16_t>(i);
  std::vector<float> fs(65536);
  std::vector<double> fd(65536);
  for (bool uns : {false, true})
    for (int32_t bitSize : {8, 16}) {
      const int n = 1 << bitSize;
      const void* src = bitSize == 8 ? static_cast<const void*>(b8.data()) : b16.data();
      for (int32_t f = 0; f <= (uns ? bitSize : bitSize - 1); ++f) {
        zqvsbFixToFloat(src, fs.data(), n, bitSize, f, uns ? ZQV_CVT_UNSIGNED : 0);
        zqvdbFixToFloat(src, fd.data(), n, bitSize, f, uns ? ZQV_CVT_UNSIGNED : 0);
        for (int i = 0; i < n; ++i) {
          const int64_t v = stored(src, i, bitSize, uns);
          ASSERT_EQ(fs[i], std::ldexp(static_cast<float>(v), -f)) << bitSize << " " << f << " " << i;
          ASSERT_EQ(fd[i], std::ldexp(static_cast<double>(v), -f)) << bitSize << " " << f << " " << i;
        }
      }
    }
  // 32-bit values round into a float in the caller's mode.
  std::mt19937 gen(8);
  std::vector<uint32_t> w(500);
  for (auto& x : w) x = gen();
  std::vector<float> out(500);
  for (int mode : {FE_TONEAREST, FE_UPWARD, FE_DOWNWARD}) {
    std::fesetround(mode);
    zqvsbFixToFloat(w.data(), out.data(), 500, 32, 32, ZQV_CVT_UNSIGNED);
    zqvsbS31FixToFloat(w.data(), fs.data(), 500);
    std::vector<float> want(500), want31(500);
    for (int i = 0; i < 500; ++i) {
      want[i] = static_cast<float>(std::ldexp(static_cast<long double>(w[i]), -32));
      want31[i] = static_cast<float>(std::ldexp(static_cast<long double>(static_cast<int32_t>(w[i])), -31));
    }
    std::fesetround(FE_TONEAREST);
    for (int i = 0; i < 500; ++i) {
      ASSERT_EQ(out[i], want[i]) << mode << " " << w[i];
      ASSERT_EQ(fs[i], want31[i]) << mode << " " << w[i];
    }
  }
}

TEST_F(Fix, ArgumentErrorsNamesAndStatus) {
  const char* s = "zqvcvrts";
  const char* d = "zqvcvrtd";
  float f = 0.5f;
  double x = 0.5;
  int16_t w = 0;
  const std::vector<ReportRow> cases = {
      {[] { zqvsbFloatToFix(nullptr, nullptr, 0, 12, -1, 0); },
       {{kBad, "zqvsbFloatToFix", "len<=0", s}, {kBad, "zqvsbFloatToFix", "src==0", s},
        {kBad, "zqvsbFloatToFix", "dst==0", s}, {kBad, "zqvsbFloatToFix", "Invalid size of a fix-point", s},
        {kBad, "zqvsbFloatToFix", "Invalid conversion flag", s}, {kBad, "zqvsbFloatToFix", "Invalid fractBits", s}}},
      {[&] { zqvsbFloatToFix(&f, &w, 1, 16, 16, ZQV_CVT_ROUND_NEAR); }, {{kBad, "zqvsbFloatToFix", "Invalid fractBits", s}}},
      {[&] { zqvdbFloatToFix(&x, &w, 1, 16, 3, ZQV_CVT_ROUND_NEAR | ZQV_CVT_ROUND_UP); },
       {{kBad, "zqvdbFloatToFix", "Invalid conversion flag", d}}},
      {[&] { zqvdbFixToFloat(&w, &x, 1, 16, 17, ZQV_CVT_UNSIGNED); }, {{kBad, "zqvdbFixToFloat", "Invalid fractBits", d}}},
      {[&] { zqvsbFixToFloat(&w, &f, 1, 16, 3, ZQV_CVT_ROUND_NEAR); }, {{kBad, "zqvsbFixToFloat", "Invalid conversion flag", s}}},
      {[] { zqvdbFixToFloat(nullptr, nullptr, -1, 4, 0, 0); },
       {{kBad, "zqvdbFixToFloat", "len<=0", d}, {kBad, "zqvdbFixToFloat", "src==0", d},
        {kBad, "zqvdbFixToFloat", "dst==0", d}, {kBad, "zqvdbFixToFloat", "Invalid size of a fix-point", d}}},
      {[] { zqvdbFloatToS15Fix(nullptr, nullptr, 0, 0); },
       {{kBad, "zqvdbFloaToS15Fix", "len<=0", d}, {kBad, "zqvdbFloaToS15Fix", "src==0", d},
        {kBad, "zqvdbFloaToS15Fix", "dst==0", d}, {kBad, "zqvdbFloaToS15Fix", "Invalid conversion flag", d}}},
      {[&] { zqvdbFloatToS31Fix(&x, &w, 1, 0); }, {{kBad, "zqvdbFloaToS31Fix", "Invalid conversion flag", d}}},
      {[&] { zqvdbFloatToS7Fix(&x, &w, 1, 0); }, {{kBad, "zqvdbFloatToS7Fix", "Invalid conversion flag", d}}},
      {[&] { zqvsbFloatToS1516Fix(&f, nullptr, 1, ZQV_CVT_ROUND_UP); }, {{kBad, "zqvsbFloatToS1516Fix", "dst==0", s}}},
      {[] { zqvsbS15FixToFloat(nullptr, nullptr, 0); },
       {{kBad, "zqvsbS15FixToFloat", "len<=0", s}, {kBad, "zqvsbS15FixToFloat", "src==0", s},
        {kBad, "zqvsbS15FixToFloat", "dst==0", s}}},
  };
  expectReportRows(cases, std::nullopt);
  // The format conversions back leave an earlier failure in place; the
  // general one clears it and converts.
  clearReports();
  zqvSetErrStatus(kBad);
  const int16_t half = 16384;
  float out = 7;
  zqvsbS15FixToFloat(&half, &out, 1);
  EXPECT_EQ(out, 7.0f);
  EXPECT_EQ(zqvGetErrStatus(), kBad);
  zqvsbFixToFloat(&half, &out, 1, 16, 15, 0);
  EXPECT_EQ(out, 0.5f);
  EXPECT_EQ(zqvGetErrStatus(), 0);
  EXPECT_TRUE(reportsAre({}));
}

// Every report carries the line that the library's table of fixed-point
// reports fixes: the argument checks, "Invalid fractBits" and the value that
// does not fit each have their own.
TEST_F(Fix, ReportLines) {
  const char* s = "zqvcvrts";
  const char* d = "zqvcvrtd";
  const char* exceeds = "A float exceeds an integer";
  const float f = 1e6f;
  const double x = 1e6;
  int32_t out = 0;
  float fo = 0;
  double dout = 0;
  const int32_t CN = ZQV_CVT_ROUND_NEAR | ZQV_CVT_CHECK;
  // A call that fails one argument check with `message`.
  const auto row = [](const char* func, const char* module, const char* message, int32_t line, std::function<void()> call) {
    return ReportRow(std::string(func) + " " + message, std::move(call), {{kBad, func, message, module, line}});
  };
  const std::vector<ReportRow> cases = {
      row("zqvsbFloatToFix", s, "len<=0", 535, [&] { zqvsbFloatToFix(&f, &out, 0, 16, 0, CN); }),
      row("zqvsbFloatToFix", s, "Invalid fractBits", 538, [&] { zqvsbFloatToFix(&f, &out, 1, 16, 16, CN); }),
      row("zqvsbFloatToFix", s, exceeds, 542, [&] { zqvsbFloatToFix(&f, &out, 1, 16, 0, CN); }),
      row("zqvdbFloatToFix", d, "src==0", 546, [&] { zqvdbFloatToFix(nullptr, &out, 1, 16, 0, CN); }),
      row("zqvdbFloatToFix", d, "Invalid fractBits", 549, [&] { zqvdbFloatToFix(&x, &out, 1, 8, -1, CN); }),
      row("zqvdbFloatToFix", d, exceeds, 553, [&] { zqvdbFloatToFix(&x, &out, 1, 32, 12, CN); }),
      row("zqvsbFixToFloat", s, "Invalid size of a fix-point", 668, [&] { zqvsbFixToFloat(&out, &fo, 1, 4, 0, 0); }),
      row("zqvsbFixToFloat", s, "Invalid fractBits", 671, [&] { zqvsbFixToFloat(&out, &fo, 1, 8, 8, 0); }),
      row("zqvdbFixToFloat", d, "Invalid conversion flag", 686, [&] { zqvdbFixToFloat(&out, &dout, 1, 8, 0, 1); }),
      row("zqvdbFixToFloat", d, "Invalid fractBits", 689, [&] { zqvdbFixToFloat(&out, &dout, 1, 32, 33, ZQV_CVT_UNSIGNED); }),
      row("zqvsbFloatToS7Fix", s, "len<=0", 800, [&] { zqvsbFloatToS7Fix(&f, &out, 0, CN); }),
      row("zqvsbFloatToS7Fix", s, exceeds, 804, [&] { zqvsbFloatToS7Fix(&f, &out, 1, CN); }),
      row("zqvsbFloatToS15Fix", s, "dst==0", 837, [&] { zqvsbFloatToS15Fix(&f, nullptr, 1, CN); }),
      row("zqvsbFloatToS15Fix", s, exceeds, 841, [&] { zqvsbFloatToS15Fix(&f, &out, 1, CN); }),
      row("zqvsbFloatToS31Fix", s, "Invalid conversion flag", 875, [&] { zqvsbFloatToS31Fix(&f, &out, 1, 0); }),
      row("zqvsbFloatToS31Fix", s, exceeds, 879, [&] { zqvsbFloatToS31Fix(&f, &out, 1, CN); }),
      row("zqvsbFloatToS1516Fix", s, "len<=0", 913, [&] { zqvsbFloatToS1516Fix(&f, &out, -3, CN); }),
      row("zqvsbFloatToS1516Fix", s, exceeds, 917, [&] { zqvsbFloatToS1516Fix(&f, &out, 1, CN); }),
      row("zqvdbFloatToS7Fix", d, "src==0", 819, [&] { zqvdbFloatToS7Fix(nullptr, &out, 1, CN); }),
      row("zqvdbFloatToS7Fix", d, exceeds, 823, [&] { zqvdbFloatToS7Fix(&x, &out, 1, CN | ZQV_CVT_SATURATE); }),
      row("zqvdbFloaToS15Fix", d, "len<=0", 861, [&] { zqvdbFloatToS15Fix(&x, &out, 0, CN); }),
      row("zqvdbFloaToS15Fix", d, exceeds, 866, [&] { zqvdbFloatToS15Fix(&x, &out, 1, CN); }),
      row("zqvdbFloaToS31Fix", d, "Invalid conversion flag", 904, [&] { zqvdbFloatToS31Fix(&x, &out, 1, 0x300); }),
      row("zqvdbFloaToS31Fix", d, exceeds, 908, [&] { zqvdbFloatToS31Fix(&x, &out, 1, CN); }),
      row("zqvdbFloatToS1516Fix", d, "dst==0", 947, [&] { zqvdbFloatToS1516Fix(&x, nullptr, 1, CN); }),
      row("zqvdbFloatToS1516Fix", d, exceeds, 951, [&] { zqvdbFloatToS1516Fix(&x, &out, 1, CN); }),
      row("zqvsbS7FixToFloat", s, "len<=0", 995, [&] { zqvsbS7FixToFloat(&out, &fo, 0); }),
      row("zqvsbS15FixToFloat", s, "src==0", 1016, [&] { zqvsbS15FixToFloat(nullptr, &fo, 1); }),
      row("zqvsbS31FixToFloat", s, "dst==0", 1037, [&] { zqvsbS31FixToFloat(&out, nullptr, 1); }),
      row("zqvsbS1516FixToFloat", s, "len<=0", 1059, [&] { zqvsbS1516FixToFloat(&out, &fo, -1); }),
      row("zqvdbS7FixToFloat", d, "dst==0", 1034, [&] { zqvdbS7FixToFloat(&out, nullptr, 1); }),
      row("zqvdbS15FixToFloat", d, "len<=0", 1057, [&] { zqvdbS15FixToFloat(&out, &dout, 0); }),
      row("zqvdbS31FixToFloat", d, "src==0", 1079, [&] { zqvdbS31FixToFloat(nullptr, &dout, 1); }),
      row("zqvdbS1516FixToFloat", d, "len<=0", 1100, [&] { zqvdbS1516FixToFloat(&out, &dout, 0); }),
  };
  expectReportRows(cases);
}

}  // namespace
