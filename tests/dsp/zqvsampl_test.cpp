// Up- and down-sampling against the index definition, for every element type.
#include <climits>
#include <cstring>
#include <vector>

#include "zqv_test_support.h"

namespace {

using Sampling = ZqvTest;
using Fn = void (*)(const void*, int32_t, void*, int32_t*, int32_t, int32_t*);

// One element type: its size, its two routines and a maker of distinct
// non-zero elements (element i of a source holds i + 1 in every part).
struct TypeApi {
  const char* name;
  size_t size;
  Fn up;
  Fn down;
  const char* upName;
  const char* downName;
};

template <class T>
T element(int64_t i) {
  if constexpr (std::is_arithmetic_v<T>) return static_cast<T>(i + 1);
  else return {static_cast<decltype(T::re)>(i + 1), static_cast<decltype(T::re)>(-(i + 1))};
}

template <class T, auto F>
void typed(const void* src, int32_t srcLen, void* dst, int32_t* dstLen, int32_t factor, int32_t* phase) {
  F(static_cast<const T*>(src), srcLen, static_cast<T*>(dst), dstLen, factor, phase);
}

template <class T, auto Up, auto Down>
TypeApi api(const char* name, const char* upName, const char* downName) {
  return {name, sizeof(T), typed<T, Up>, typed<T, Down>, upName, downName};
}

const std::vector<TypeApi>& types() {
  static const std::vector<TypeApi> all = {
      api<float, zqvsUpSample, zqvsDownSample>("s", "zqvsUpSample", "zqvsDownSample"),
      api<ZqvCplxS, zqvcUpSample, zqvcDownSample>("c", "zqvcUpSample", "zqvcDownSample"),
      api<double, zqvdUpSample, zqvdDownSample>("d", "zqvdUpSample", "zqvdDownSample"),
      api<ZqvCplxD, zqvzUpSample, zqvzDownSample>("z", "zqvzUpSample", "zqvzDownSample"),
      api<int16_t, zqvwUpSample, zqvwDownSample>("w", "zqvwUpSample", "zqvwDownSample"),
      api<ZqvCplxW, zqvvUpSample, zqvvDownSample>("v", "zqvvUpSample", "zqvvDownSample")};
  return all;
}

// Elements as raw bytes, so one test body covers every type.
struct Buffer {
  size_t size;
  std::vector<unsigned char> bytes;
  Buffer(size_t elemSize, int64_t n) : size(elemSize), bytes(elemSize * n, 0xA5) {}
  void* at(int64_t i) { return bytes.data() + i * size; }
  bool isZero(int64_t i) const {
    for (size_t b = 0; b < size; ++b)
      if (bytes[i * size + b]) return false;
    return true;
  }
  bool same(int64_t i, const Buffer& other, int64_t j) const {
    return std::memcmp(bytes.data() + i * size, other.bytes.data() + j * size, size) == 0;
  }
};

Buffer source(const TypeApi& t, int64_t n) {
  Buffer b(t.size, n);
  for (int64_t i = 0; i < n; ++i) {
    switch (t.name[0]) {
      case 's': { const float x = element<float>(i); std::memcpy(b.at(i), &x, t.size); break; }
      case 'c': { const ZqvCplxS x = element<ZqvCplxS>(i); std::memcpy(b.at(i), &x, t.size); break; }
      case 'd': { const double x = element<double>(i); std::memcpy(b.at(i), &x, t.size); break; }
      case 'z': { const ZqvCplxD x = element<ZqvCplxD>(i); std::memcpy(b.at(i), &x, t.size); break; }
      case 'w': { const int16_t x = element<int16_t>(i); std::memcpy(b.at(i), &x, t.size); break; }
      default: { const ZqvCplxW x = element<ZqvCplxW>(i); std::memcpy(b.at(i), &x, t.size); break; }
    }
  }
  return b;
}

TEST_F(Sampling, UpSamplingPlacesEachSampleAtItsPhaseAndZerosTheRest) {
  struct Case { int32_t srcLen, factor, phase; };
  const Case cases[] = {{2, 3, 1}, {2, 3, 0}, {2, 3, 2}, {1, 1, 0}, {7, 1, 0}, {5, 4, 3}, {9, 2, 1}, {1, 5, 4}};
  for (const auto& t : types())
    for (const auto& c : cases) {
      SCOPED_TRACE(testing::Message() << t.name << " len " << c.srcLen << " factor " << c.factor
                                      << " phase " << c.phase);
      const Buffer src = source(t, c.srcLen);
      Buffer dst(t.size, int64_t{c.srcLen} * c.factor);
      int32_t dstLen = -1, phase = c.phase;
      t.up(src.bytes.data(), c.srcLen, dst.bytes.data(), &dstLen, c.factor, &phase);
      EXPECT_EQ(dstLen, c.srcLen * c.factor);
      EXPECT_EQ(phase, c.phase);
      for (int64_t k = 0; k < dstLen; ++k) {
        if (k % c.factor == c.phase) ASSERT_TRUE(dst.same(k, src, k / c.factor)) << k;
        else ASSERT_TRUE(dst.isZero(k)) << k;
      }
    }
  EXPECT_TRUE(reportsAre({}));
}

// The vector holds the samples at its start and room for the result.
TEST_F(Sampling, UpSamplingInPlace) {
  for (const auto& t : types())
    for (int32_t factor : {1, 2, 3, 5})
      for (int32_t phase = 0; phase < factor; ++phase) {
        SCOPED_TRACE(testing::Message() << t.name << " factor " << factor << " phase " << phase);
        const int32_t len = 6;
        const Buffer orig = source(t, len);
        Buffer buf(t.size, int64_t{len} * factor);
        std::memcpy(buf.bytes.data(), orig.bytes.data(), orig.bytes.size());
        int32_t dstLen = 0, ph = phase;
        t.up(buf.bytes.data(), len, buf.bytes.data(), &dstLen, factor, &ph);
        ASSERT_EQ(dstLen, len * factor);
        for (int64_t k = 0; k < dstLen; ++k) {
          if (k % factor == phase) ASSERT_TRUE(buf.same(k, orig, k / factor)) << k;
          else ASSERT_TRUE(buf.isZero(k)) << k;
        }
      }
}

TEST_F(Sampling, DownSamplingKeepsEveryFactorthSampleFromThePhase) {
  struct Case { int32_t srcLen, factor, phase, dstLen, nextPhase; };
  const Case cases[] = {
      {10, 3, 2, 3, 1}, {10, 3, 1, 3, 0}, {10, 3, 0, 4, 2}, {7, 1, 0, 7, 0}, {2, 5, 4, 0, 2},
      {2, 5, 2, 0, 0},  {1, 2, 1, 0, 0},  {5, 5, 0, 1, 0},  {11, 4, 3, 2, 0}};
  for (const auto& t : types())
    for (const auto& c : cases) {
      SCOPED_TRACE(testing::Message() << t.name << " len " << c.srcLen << " factor " << c.factor
                                      << " phase " << c.phase);
      const Buffer src = source(t, c.srcLen);
      Buffer dst(t.size, c.srcLen + 1);
      const Buffer untouched = dst;
      int32_t dstLen = -1, phase = c.phase;
      t.down(src.bytes.data(), c.srcLen, dst.bytes.data(), &dstLen, c.factor, &phase);
      EXPECT_EQ(dstLen, c.dstLen);
      EXPECT_EQ(phase, c.nextPhase);
      for (int64_t n = 0; n < c.dstLen; ++n) ASSERT_TRUE(dst.same(n, src, c.phase + n * c.factor)) << n;
      for (int64_t n = c.dstLen; n <= c.srcLen; ++n) ASSERT_TRUE(dst.same(n, untouched, n)) << n;
    }
  EXPECT_TRUE(reportsAre({}));
}

// Blocks of a long signal, with the phase carried, decimate it as one vector;
// each block is decimated in place.
TEST_F(Sampling, DownSamplingInBlocksEqualsOneCall) {
  for (const auto& t : types()) {
    SCOPED_TRACE(t.name);
    const int32_t total = 100, factor = 7;
    const Buffer whole = source(t, total);
    Buffer once(t.size, total);
    int32_t onceLen = 0, phase = 3;
    t.down(whole.bytes.data(), total, once.bytes.data(), &onceLen, factor, &phase);
    std::vector<unsigned char> joined;
    int32_t blockPhase = 3;
    for (int32_t start = 0, block = 1; start < total; start += block, block = block % 13 + 4) {
      const int32_t len = std::min(block, total - start);
      Buffer part(t.size, len);
      std::memcpy(part.bytes.data(), whole.bytes.data() + start * t.size, len * t.size);
      int32_t got = -1;
      t.down(part.bytes.data(), len, part.bytes.data(), &got, factor, &blockPhase);
      joined.insert(joined.end(), part.bytes.begin(), part.bytes.begin() + got * t.size);
    }
    ASSERT_EQ(joined.size(), onceLen * t.size);
    EXPECT_EQ(0, std::memcmp(joined.data(), once.bytes.data(), joined.size()));
    EXPECT_EQ(blockPhase, phase);
  }
}

TEST_F(Sampling, ChecksStopAtTheFirstFailureAndLeaveTheOutputs) {
  struct Case {
    const char* what;
    int32_t srcLen;
    bool nullSrc, nullDst, nullDstLen, nullPhase;
    int32_t factor, phase;
    const char* message;
  };
  const Case cases[] = {
      {"srcLen 0", 0, false, false, false, false, 2, 0, "Invalid src array length"},
      {"srcLen < 0 before null", -3, true, false, false, false, 2, 0, "Invalid src array length"},
      {"null src", 4, true, false, false, false, 2, 0, "Null buffer pointer"},
      {"null dst", 4, false, true, true, true, 2, 0, "Null buffer pointer"},
      {"null dstLen", 4, false, false, true, true, 0, 0, "Null dstLen pointer"},
      {"null phase", 4, false, false, false, true, 0, 0, "Null phase pointer"},
      {"factor 0", 4, false, false, false, false, 0, -1, "Invalid factor value"},
      {"negative phase", 4, false, false, false, false, 2, -1, "Invalid phase value"},
      {"phase = factor", 4, false, false, false, false, 2, 2, "Invalid factor value"},
  };
  // What the refused call could have written, checked after each row.
  Buffer dst(1, 0), before(1, 0);
  int32_t dstLen = -7, phase = 0, phaseIn = 0;
  std::vector<ReportRow> rows;
  for (const auto& t : types())
    for (const bool up : {true, false})
      for (const auto& c : cases)
        rows.push_back({std::string(t.name) + (up ? " up: " : " down: ") + c.what,
                        [&, t, up, c] {
                          const Buffer src = source(t, 8);
                          dst = Buffer(t.size, 32);
                          before = dst;
                          dstLen = -7;
                          phase = phaseIn = c.phase;
                          (up ? t.up : t.down)(c.nullSrc ? nullptr : src.bytes.data(), c.srcLen,
                                               c.nullDst ? nullptr : dst.bytes.data(),
                                               c.nullDstLen ? nullptr : &dstLen, c.factor,
                                               c.nullPhase ? nullptr : &phase);
                        },
                        {{ZQV_BAD_ARGUMENT, up ? t.upName : t.downName, c.message, "zqvsampl"}}});
  expectReportRows(rows, std::nullopt, [&](const ReportRow&) {
    EXPECT_EQ(dstLen, -7);
    EXPECT_EQ(phase, phaseIn);
    EXPECT_EQ(dst.bytes, before.bytes);
  }, RowStatus::Carried);
}

TEST_F(Sampling, RunsWhileTheStatusIsNegative) {
  zqvSetErrStatus(ZQV_BAD_ARGUMENT);
  const float src[4] = {1, 2, 3, 4};
  float up[8] = {}, down[2] = {};
  int32_t len = 0, phase = 1;
  zqvsUpSample(src, 4, up, &len, 2, &phase);
  EXPECT_EQ(len, 8);
  EXPECT_EQ(up[7], 4.0f);
  zqvsDownSample(src, 4, down, &len, 2, &phase);
  EXPECT_EQ(len, 2);
  EXPECT_EQ(down[1], 4.0f);
  EXPECT_EQ(zqvGetErrStatus(), ZQV_BAD_ARGUMENT);
}

// A result length that an int32 cannot hold is refused before anything is
// written; down-sampling with a factor near 2^31 does not wrap its index.
TEST_F(Sampling, HugeFactors) {
  const float src[3] = {1, 2, 3};
  float dst[3] = {9, 9, 9};
  int32_t len = -7, phase = 0;
  zqvsUpSample(src, 3, dst, &len, INT32_MAX / 2, &phase);
  EXPECT_TRUE(reportsAre({{ZQV_BAD_ARGUMENT, "zqvsUpSample", "Invalid factor value", "zqvsampl"}}));
  EXPECT_EQ(len, -7);
  EXPECT_EQ(dst[0], 9.0f);
  clearReports();

  phase = 1;
  zqvsDownSample(src, 3, dst, &len, INT32_MAX, &phase);
  EXPECT_TRUE(reportsAre({}));
  EXPECT_EQ(len, 1);
  EXPECT_EQ(dst[0], 2.0f);
  EXPECT_EQ(dst[1], 9.0f);
  EXPECT_EQ(phase, INT32_MAX - 2);
  // The carried phase keeps working in the next block.
  zqvsDownSample(src, 3, dst, &len, INT32_MAX, &phase);
  EXPECT_EQ(len, 0);
  EXPECT_EQ(phase, INT32_MAX - 5);
}

}  // namespace
