// Transforms whose tables cannot be had: they report the shortage and leave
// the caller's arrays as they were, rather than half transformed. The
// library's blocks come from posix_memalign; this program puts its own in
// front of it and fails on demand.
#include <dlfcn.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <thread>
#include <vector>

#include "zqv_test_support.h"

namespace {
std::atomic<bool> failAllocations{false};
}

extern "C" int posix_memalign(void** block, size_t alignment, size_t size) {
  if (failAllocations.load()) return ENOMEM;
  using Fn = int (*)(void**, size_t, size_t);
  static const Fn next = reinterpret_cast<Fn>(dlsym(RTLD_NEXT, "posix_memalign"));
  return next(block, alignment, size);
}

namespace {

std::vector<float> ramp(size_t n, float start) {
  std::vector<float> v(n);
  for (size_t i = 0; i < n; ++i) v[i] = start + static_cast<float>(i) * 0.25f;
  return v;
}

struct Call {
  const char* routine;
  void (*run)(std::vector<float>& a, std::vector<float>& b, int32_t order);
};

TEST(FftMemory, ShortageLeavesTheArraysUntouched) {
  const Call calls[] = {
      {"zqvcrFft", [](auto& a, auto& b, int32_t o) { zqvcrFft(a.data(), b.data(), o, ZQV_Forw); }},
      {"zqvcrFft inverse", [](auto& a, auto& b, int32_t o) { zqvcrFft(a.data(), b.data(), o, ZQV_Inv); }},
      {"zqvsReal2Fft", [](auto& a, auto& b, int32_t o) { zqvsReal2Fft(a.data(), b.data(), o, ZQV_Forw); }},
  };
  for (const Call& call : calls)
    for (int32_t order : {3, 6, 12}) {
      // A new thread has no cached tables, so every table must be built.
      std::thread([&] {
        zqvRedirectError(zqvRecordingReport);
        zqvSetErrMode(ZQV_ErrorModeParent);
        clearReports();
        const size_t n = size_t{1} << order;
        auto a = ramp(n + 2, 1.0f), b = ramp(n + 2, -3.0f);
        const auto a0 = a, b0 = b;
        failAllocations = true;
        call.run(a, b, order);
        failAllocations = false;
        EXPECT_EQ(zqvGetErrStatus(), ZQV_OUT_OF_MEMORY) << call.routine << " order " << order;
        EXPECT_FALSE(recordedReports().empty()) << call.routine;
        EXPECT_EQ(a, a0) << call.routine << " order " << order;
        EXPECT_EQ(b, b0) << call.routine << " order " << order;
        // With memory back, the same call works.
        zqvSetErrStatus(0);
        call.run(a, b, order);
        EXPECT_EQ(zqvGetErrStatus(), 0) << call.routine;
        EXPECT_NE(a, a0) << call.routine;
      }).join();
    }
}

// A 16-bit front end whose float transform cannot get its tables reports
// the inner failure again and leaves the caller's array as it was (the work
// buffers are already in the thread's cache, so only the tables are missing).
TEST(FftMemory, SixteenBitFrontEndLeavesItsArrayOnAnInnerFailure) {
  std::thread([] {
    zqvRedirectError(zqvRecordingReport);
    zqvSetErrMode(ZQV_ErrorModeParent);
    std::vector<int16_t> v(66, 100);
    zqvwRealFft(v.data(), 6, ZQV_Forw, 0, nullptr);
    ASSERT_EQ(zqvGetErrStatus(), 0);
    zqvsRealFft(nullptr, 6, ZQV_FreeTbls);
    std::fill(v.begin(), v.end(), int16_t{7});
    clearReports();
    failAllocations = true;
    zqvwRealFft(v.data(), 6, ZQV_Forw, 0, nullptr);
    failAllocations = false;
    EXPECT_TRUE(reportsAre({{ZQV_OUT_OF_MEMORY, "zqvsRealFft", "No working Twd memory", "zqvffts"},
                            {ZQV_BACKTRACE, "zqvwRealFft", "out zqvsRealFft calc. FFT", "zqvfftw"}}));
    for (int16_t x : v) EXPECT_EQ(x, 7);
  }).join();
}

}  // namespace
