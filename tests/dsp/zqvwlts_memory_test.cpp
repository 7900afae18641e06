// Wavelet records and 16-bit transforms when library memory runs out: each
// allocation is made to fail in turn; the failure is reported, the record is
// left cleared and nothing allocated is kept (the sanitizer build checks the
// leaks). The library's blocks come from posix_memalign; this program puts
// its own in front of it.
#include <dlfcn.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "zqv_test_support.h"

namespace {
// Allocations still allowed before the next one fails; negative: no limit.
int allowed = -1;
bool refusedOne = false;
}  // namespace

extern "C" int posix_memalign(void** block, size_t alignment, size_t size) {
  if (allowed == 0) {
    refusedOne = true;
    return ENOMEM;
  }
  if (allowed > 0) --allowed;
  using Fn = int (*)(void**, size_t, size_t);
  static const Fn next = reinterpret_cast<Fn>(dlsym(RTLD_NEXT, "posix_memalign"));
  return next(block, alignment, size);
}

namespace {

using WaveletMemory = ZqvTest;

struct Maker {
  const char* name;
  const char* reportedBy;
  void (*make)(wtState*);
};

const float kTaps4[4] = {0.25f, 0.5f, 0.25f, 0.1f}, kTaps6[6] = {0.1f, 0.2f, 0.3f, 0.3f, 0.2f, 0.1f};
const double kTaps4d[4] = {0.25, 0.5, 0.25, 0.1}, kTaps6d[6] = {0.1, 0.2, 0.3, 0.3, 0.2, 0.1};
const int32_t kLen[4] = {4, 6, 6, 4}, kOfs[4] = {1, 2, 3, 1};

TEST_F(WaveletMemory, EveryFailedAllocationIsReportedAndReleased) {
  const Maker makers[] = {
      {"float Init", "zqvsWtInit", [](wtState* st) { zqvsWtInit(3, 0, 6, 2, st, 3); }},
      {"double Init", "zqvdWtInit", [](wtState* st) { zqvdWtInit(2, 4, 6, 2, st, 6); }},
      {"float caller filters", "zqvsWtSetState",
       [](wtState* st) {
         const float* taps[4] = {kTaps4, kTaps6, kTaps6, kTaps4};
         zqvsWtSetState(st, 10, 0, 0, 6, 2, taps, kLen, kOfs);
       }},
      {"double caller filters", "zqvdWtSetState",
       [](wtState* st) {
         const double* taps[4] = {kTaps4d, kTaps6d, kTaps6d, kTaps4d};
         zqvdWtSetState(st, 10, 0, 0, 6, 2, taps, kLen, kOfs);
       }},
  };
  const wtState zero{};
  for (const Maker& m : makers) {
    int failures = 0;
    for (int k = 0; k < 20; ++k) {
      SCOPED_TRACE(testing::Message() << m.name << ": allocation " << k << " fails");
      zqvSetErrStatus(0);
      clearReports();
      wtState st{};
      allowed = k;
      refusedOne = false;
      m.make(&st);
      const bool exhausted = refusedOne;
      allowed = -1;
      if (!exhausted) {
        // Enough memory this time: the record works and is released.
        EXPECT_TRUE(reportsAre({}));
        EXPECT_NE(st.src_pad, nullptr);
        zqvWtFree(&st);
        break;
      }
      ++failures;
      EXPECT_TRUE(reportsAre({{ZQV_OUT_OF_MEMORY, m.reportedBy, "No working wavelet memory", "zqvwlts"}}));
      EXPECT_EQ(0, std::memcmp(&st, &zero, sizeof st));
    }
    EXPECT_GE(failures, 5) << m.name;
  }
}

TEST_F(WaveletMemory, SixteenBitTransformsWithoutWorkingArrays) {
  wtState st{};
  ASSERT_EQ(zqvwWtInit(2, 0, 5, 3, &st, 2), 0);
  std::vector<int16_t> src(32, 100), dst(32, 7);
  for (int k : {0, 1}) {
    zqvSetErrStatus(0);
    clearReports();
    allowed = k;
    zqvwWtDecompose(&st, src.data(), dst.data());
    allowed = -1;
    EXPECT_TRUE(reportsAre({{ZQV_OUT_OF_MEMORY, "zqvwWtDecompose", "No memory for working arrays", "zqvwlts"}}));
    EXPECT_EQ(dst, std::vector<int16_t>(32, 7));
    zqvSetErrStatus(0);
    clearReports();
    allowed = k;
    zqvwWtReconstruct(&st, src.data(), dst.data());
    allowed = -1;
    EXPECT_TRUE(
        reportsAre({{ZQV_OUT_OF_MEMORY, "zqvwWtReconstruct", "No memory for working arrays", "zqvwlts"}}));
    EXPECT_EQ(dst, std::vector<int16_t>(32, 7));
  }
  zqvWtFree(&st);
}

}  // namespace
