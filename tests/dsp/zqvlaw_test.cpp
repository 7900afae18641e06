// A-law and mu-law coding: exhaustive over every 16-bit sample and every
// code, against decision intervals rebuilt from the reconstruction values.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

#include "zqv_test_support.h"

namespace {

constexpr int32_t kBad = ZQV_BAD_ARGUMENT;

// Reconstruction values from the textbook definitions, on the 16-bit scale.
int32_t aLawValue(uint8_t code) {
  const int a = code;  // already without the alternate-bit inversion
  const int seg = (a >> 4) & 7;
  int t = (a & 15) << 4;
  t = seg == 0 ? t + 8 : (t + 0x108) << (seg - 1);
  return (a & 0x80) ? t : -t;
}
int32_t muLawValue(uint8_t code) {
  const int u = ~code & 0xFF;
  const int seg = (u >> 4) & 7;
  const int t = (((u & 15) << 3) + 0x84) << seg;
  return (u & 0x80) ? 0x84 - t : t - 0x84;
}
// Step width of a code's segment.
int32_t aLawStep(uint8_t code) {
  const int seg = (code >> 4) & 7;
  return seg < 2 ? 16 : 1 << (seg + 3);
}
int32_t muLawStep(uint8_t code) { return 1 << ((((~code) >> 4) & 7) + 3); }

// A-law truncates: a magnitude m belongs to [v - q/2, v + q/2). Mu-law keeps
// a boundary in the lower interval: (v - q/2, v + q/2].
uint8_t aLawOracle(int32_t x) {
  if (x <= -32767) return 0x7F;
  const bool neg = x < 0;
  const int32_t m = neg ? -x : x;
  for (int c = 0; c < 128; ++c) {
    const uint8_t code = static_cast<uint8_t>(c | 0x80);
    const int32_t v = aLawValue(code), q = aLawStep(code);
    if (m >= v - q / 2 && m < v + q / 2) return static_cast<uint8_t>(neg ? c : c | 0x80);
  }
  ADD_FAILURE() << "no A-law interval for " << x;
  return 0;
}
uint8_t muLawOracle(int32_t x) {
  if (x <= -32636) return 0x00;
  if (x >= 32636) return 0x80;
  const bool neg = x < 0;
  const int32_t m = neg ? -x : x;
  for (int c = 0; c < 128; ++c) {
    const uint8_t code = static_cast<uint8_t>(c | 0x80);
    const int32_t v = muLawValue(code), q = muLawStep(code);
    if (m > v - q / 2 && m <= v + q / 2) return static_cast<uint8_t>(neg ? c : c | 0x80);
  }
  ADD_FAILURE() << "no mu-law interval for " << x;
  return 0;
}

std::vector<int16_t> allSamples() {
  std::vector<int16_t> v(65536);
  for (int32_t i = 0; i < 65536; ++i) v[i] = static_cast<int16_t>(i - 32768);
  return v;
}
std::vector<uint8_t> allCodes() {
  std::vector<uint8_t> v(256);
  for (int i = 0; i < 256; ++i) v[i] = static_cast<uint8_t>(i);
  return v;
}

class Law : public ZqvTest {};

TEST_F(Law, ReconstructionValuesOfTheTextbook) {
  // The standard A-law byte 0xD5 is +8; here it is code 0x80.
  EXPECT_EQ(aLawValue(0xD5 ^ 0x55), 8);
  EXPECT_EQ(aLawValue(0xAF), 1008);
  EXPECT_EQ(aLawValue(0xFF), 32256);
  EXPECT_EQ(muLawValue(0xCE), 988);
  EXPECT_EQ(muLawValue(0x80), 32124);
  EXPECT_EQ(muLawValue(0x7F), 0);
}

TEST_F(Law, EveryCodeDecodesToItsValueInEveryType) {
  const auto codes = allCodes();
  std::vector<int16_t> w(256);
  std::vector<int32_t> i32(256);
  std::vector<float> s(256);
  std::vector<double> d(256);
  for (int law = 0; law < 2; ++law) {
    if (law == 0) {
      zqvwbALawToLin(codes.data(), w.data(), 256);
      zqvibALawToLin(codes.data(), i32.data(), 256);
      zqvsbALawToLin(codes.data(), s.data(), 256);
      zqvdbALawToLin(codes.data(), d.data(), 256);
    } else {
      zqvwbMuLawToLin(codes.data(), w.data(), 256);
      zqvibMuLawToLin(codes.data(), i32.data(), 256);
      zqvsbMuLawToLin(codes.data(), s.data(), 256);
      zqvdbMuLawToLin(codes.data(), d.data(), 256);
    }
    for (int c = 0; c < 256; ++c) {
      const int32_t v = law == 0 ? aLawValue(static_cast<uint8_t>(c)) : muLawValue(static_cast<uint8_t>(c));
      ASSERT_EQ(w[c], v) << law << " " << c;
      ASSERT_EQ(i32[c], int64_t{v} * 65536) << law << " " << c;
      ASSERT_EQ(s[c], std::ldexp(static_cast<float>(v), -15)) << law << " " << c;
      ASSERT_EQ(d[c], std::ldexp(static_cast<double>(v), -15)) << law << " " << c;
    }
  }
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(Law, EverySixteenBitSampleEncodesIntoItsDecisionInterval) {
  const auto x = allSamples();
  std::vector<uint8_t> a(x.size()), mu(x.size());
  zqvwbLinToALaw(x.data(), a.data(), static_cast<int32_t>(x.size()));
  zqvwbLinToMuLaw(x.data(), mu.data(), static_cast<int32_t>(x.size()));
  for (size_t i = 0; i < x.size(); ++i) {
    ASSERT_EQ(a[i], aLawOracle(x[i])) << x[i];
    ASSERT_EQ(mu[i], muLawOracle(x[i])) << x[i];
  }
  // Monotonic: the decoded value never falls as the sample rises.
  for (size_t i = 1; i < x.size(); ++i) {
    ASSERT_LE(aLawValue(a[i - 1]), aLawValue(a[i])) << x[i];
    ASSERT_LE(muLawValue(mu[i - 1]), muLawValue(mu[i])) << x[i];
  }
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(Law, EveryCodeSurvivesDecodeAndEncode) {
  const auto codes = allCodes();
  std::vector<int16_t> lin(256);
  std::vector<uint8_t> back(256);
  zqvwbALawToLin(codes.data(), lin.data(), 256);
  zqvwbLinToALaw(lin.data(), back.data(), 256);
  for (int c = 0; c < 256; ++c) EXPECT_EQ(back[c], c) << "A-law " << c;
  zqvwbMuLawToLin(codes.data(), lin.data(), 256);
  zqvwbLinToMuLaw(lin.data(), back.data(), 256);
  // 0x7F is a negative zero: it decodes to 0, which codes as +0 (0xFF).
  for (int c = 0; c < 256; ++c) EXPECT_EQ(back[c], c == 0x7F ? 0xFF : c) << "mu-law " << c;
}

// 32-bit, float and double samples code as the 16-bit sample they carry.
TEST_F(Law, WideSamplesCodeAsTheirSixteenBitPart) {
  const auto x = allSamples();
  const int32_t n = static_cast<int32_t>(x.size());
  std::vector<int32_t> wide(n);
  std::vector<float> s(n);
  std::vector<double> d(n);
  for (int32_t i = 0; i < n; ++i) {
    // Low bits below the 16-bit part never change the code (toward zero).
    const int64_t v = x[i];
    wide[i] = static_cast<int32_t>(v * 65536 + (v >= 0 ? 0xFFFF : -0xFFFF) * (v != 0 && v != -32768));
    s[i] = std::ldexp(static_cast<float>(v), -15);
    d[i] = std::ldexp(static_cast<double>(v) + (v >= 0 ? 0.75 : -0.75), -15);
  }
  std::vector<uint8_t> w(n), i32(n), fs(n), fd(n);
  for (int law = 0; law < 2; ++law) {
    if (law == 0) {
      zqvwbLinToALaw(x.data(), w.data(), n);
      zqvibLinToALaw(wide.data(), i32.data(), n);
      zqvsbLinToALaw(s.data(), fs.data(), n);
      zqvdbLinToALaw(d.data(), fd.data(), n);
    } else {
      zqvwbLinToMuLaw(x.data(), w.data(), n);
      zqvibLinToMuLaw(wide.data(), i32.data(), n);
      zqvsbLinToMuLaw(s.data(), fs.data(), n);
      zqvdbLinToMuLaw(d.data(), fd.data(), n);
    }
    for (int32_t i = 0; i < n; ++i) {
      const int32_t v = x[i];
      // The thresholds of the wide types sit one below the 16-bit ones.
      if (law == 0 && v >= 32767) continue;
      if (law == 1 && (v >= 32635 || v <= -32635)) continue;
      ASSERT_EQ(i32[i], w[i]) << law << " " << v;
      ASSERT_EQ(fs[i], w[i]) << law << " " << v;
      ASSERT_EQ(fd[i], w[i]) << law << " " << v;
    }
  }
}

struct EncodeCase {
  const char* what;
  std::vector<double> in;
  bool aLaw;
  std::vector<uint8_t> codes;
};

TEST_F(Law, DocumentedCodesAndRangeEnds) {
  const std::vector<EncodeCase> cases = {
      {"A 16-bit", {0, 1000, -1000, 32767, -32768, -32767, -32766}, true, {0x80, 0xAF, 0x2F, 0xFF, 0x7F, 0x7F, 0x7F}},
      {"mu 16-bit", {0, 1000, -1000, 32636, -32636, 32635, -32635}, false, {0xFF, 0xCE, 0x4E, 0x80, 0x00, 0x80, 0x00}},
  };
  for (const auto& c : cases) {
    std::vector<int16_t> in(c.in.begin(), c.in.end());
    std::vector<uint8_t> out(in.size());
    if (c.aLaw) zqvwbLinToALaw(in.data(), out.data(), static_cast<int32_t>(in.size()));
    else zqvwbLinToMuLaw(in.data(), out.data(), static_cast<int32_t>(in.size()));
    EXPECT_EQ(out, c.codes) << c.what;
  }
  const std::vector<float> f = {0.0f, 1.0f, -1.0f, -0.00001f, 1e30f, -INFINITY};
  std::vector<uint8_t> out(f.size());
  zqvsbLinToALaw(f.data(), out.data(), 6);
  EXPECT_EQ(out, (std::vector<uint8_t>{0x80, 0xFF, 0x7F, 0x80, 0xFF, 0x7F}));
  zqvsbLinToMuLaw(f.data(), out.data(), 6);
  EXPECT_EQ(out, (std::vector<uint8_t>{0xFF, 0x80, 0x00, 0xFF, 0x80, 0x00}));
  const std::vector<int32_t> wide = {2147483647, -2147483647, -2147483647 - 1, 2138832896, -2138832896, 2138832895};
  out.resize(wide.size());
  zqvibLinToALaw(wide.data(), out.data(), 6);
  EXPECT_EQ(out, (std::vector<uint8_t>{0xFF, 0x7F, 0x7F, 0xFF, 0x7F, 0xFF}));
  zqvibLinToMuLaw(wide.data(), out.data(), 6);
  EXPECT_EQ(out, (std::vector<uint8_t>{0x80, 0x00, 0x00, 0x80, 0x00, 0x80}));
  // A NaN has no magnitude; it codes as zero rather than converting a NaN.
  const std::vector<double> nan = {NAN, -NAN};
  out.resize(2);
  zqvdbLinToALaw(nan.data(), out.data(), 2);
  EXPECT_EQ(out, (std::vector<uint8_t>{0x80, 0x80}));
  zqvdbLinToMuLaw(nan.data(), out.data(), 2);
  EXPECT_EQ(out, (std::vector<uint8_t>{0xFF, 0xFF}));
  EXPECT_TRUE(reportsAre({}));
}

TEST_F(Law, TranslationsBetweenTheLaws) {
  struct Case {
    bool muToA;
    uint8_t in, out;
  };
  const std::vector<Case> cases = {
      {true, 0xFF, 0x80}, {true, 0x7F, 0x00}, {true, 0x80, 0xFF}, {true, 0x00, 0x7F}, {true, 0xCE, 0xAF},
      {false, 0x80, 0xFE}, {false, 0x00, 0x7E}, {false, 0xFF, 0x80}, {false, 0x7F, 0x00}, {false, 0xAF, 0xCE},
  };
  for (const auto& c : cases) {
    uint8_t out = 0x11;
    if (c.muToA) zqvMuLawToALaw(&c.in, &out, 1);
    else zqvALawToMuLaw(&c.in, &out, 1);
    EXPECT_EQ(out, c.out) << c.muToA << " " << int(c.in);
  }
  // Over all codes: the sign is kept, the value moves monotonically and by
  // less than the coarser law's step there.
  const auto codes = allCodes();
  std::vector<uint8_t> a(256), mu(256);
  zqvMuLawToALaw(codes.data(), a.data(), 256);
  zqvALawToMuLaw(codes.data(), mu.data(), 256);
  for (int c = 0; c < 256; ++c) {
    const auto code = static_cast<uint8_t>(c);
    EXPECT_EQ(a[c] & 0x80, c & 0x80);
    EXPECT_EQ(mu[c] & 0x80, c & 0x80);
    EXPECT_LE(std::abs(aLawValue(a[c]) - muLawValue(code)), std::max(aLawStep(a[c]), muLawStep(code))) << c;
    EXPECT_LE(std::abs(muLawValue(mu[c]) - aLawValue(code)), std::max(muLawStep(mu[c]), aLawStep(code))) << c;
  }
  for (int c = 0x81; c < 256; ++c) {
    EXPECT_GE(aLawValue(a[c - 1]), aLawValue(a[c])) << c;  // positive mu codes fall as values rise
  }
}

TEST_F(Law, ArgumentErrorsAndAStatusLeftNegative) {
  struct Case {
    const char* func;
    void (*call)(const void*, void*, int32_t);
  };
  const std::vector<Case> calls = {
      {"zqvwbLinToALaw", [](const void* s, void* d, int32_t n) { zqvwbLinToALaw(static_cast<const int16_t*>(s), static_cast<uint8_t*>(d), n); }},
      {"zqvibLinToMuLaw", [](const void* s, void* d, int32_t n) { zqvibLinToMuLaw(static_cast<const int32_t*>(s), static_cast<uint8_t*>(d), n); }},
      {"zqvdbALawToLin", [](const void* s, void* d, int32_t n) { zqvdbALawToLin(static_cast<const uint8_t*>(s), static_cast<double*>(d), n); }},
      {"zqvMuLawToALaw", [](const void* s, void* d, int32_t n) { zqvMuLawToALaw(static_cast<const uint8_t*>(s), static_cast<uint8_t*>(d), n); }},
  };
  std::vector<ReportRow> rows;
  for (const auto& c : calls)
    rows.push_back({c.func, [c] { c.call(nullptr, nullptr, 0); },
                    {{kBad, c.func, "len<=0", "zqvlaw"}, {kBad, c.func, "src==0", "zqvlaw"},
                     {kBad, c.func, "dst==0", "zqvlaw"}}});
  expectReportRows(rows, std::nullopt);
  // With the status negative a valid call writes nothing and reports nothing.
  clearReports();
  const uint8_t codes[2] = {0x80, 0xAF};
  int16_t out[2] = {7, 7};
  zqvwbALawToLin(codes, out, 2);
  EXPECT_EQ(out[0], 7);
  EXPECT_TRUE(reportsAre({}));
  zqvSetErrStatus(0);
  zqvwbALawToLin(codes, out, 2);
  EXPECT_EQ(out[1], 1008);
}

}  // namespace
