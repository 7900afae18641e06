// The library frame: per-thread status, error modes, report texts, status
// texts, memory, and loading and unloading while threads still run.
#include <dlfcn.h>
#include <gtest/gtest.h>
#include <unistd.h>

#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "zqv_test_support.h"

namespace {

struct Box {
  std::string text, caption;
  uint32_t flags;
};
std::vector<Box> boxes;
int32_t boxAnswer = ZQV_IDNO;

int32_t recordingBox(const char* text, const char* caption, uint32_t flags) {
  boxes.push_back({text, caption, flags});
  return boxAnswer;
}

class Frame : public ZqvTest {
 protected:
  void SetUp() override {
    ZqvTest::SetUp();
    boxes.clear();
    boxAnswer = ZQV_IDNO;
    previousHook_ = zqvSetMessageBoxHook(recordingBox);
  }
  void TearDown() override {
    zqvSetMessageBoxHook(previousHook_);
    ZqvTest::TearDown();
  }
  ZqvMessageBoxFn previousHook_ = nullptr;
};

TEST_F(Frame, ErrorStoresStatusAndReports) {
  EXPECT_EQ(zqvError(ZQV_BAD_ARGUMENT, "zqvsbAdd1", "n<=0", "zqvarith", 12), ZQV_BAD_ARGUMENT);
  EXPECT_EQ(zqvGetErrStatus(), ZQV_BAD_ARGUMENT);
  // Trace kinds report but never replace the stored status.
  zqvError(ZQV_BACKTRACE, "outer", "inner", "zqvffts", 3);
  zqvError(ZQV_AUTOTRACE, "outer", nullptr, nullptr, 0);
  EXPECT_EQ(zqvGetErrStatus(), ZQV_BAD_ARGUMENT);
  // Status 0 clears a failure and reports nothing.
  EXPECT_EQ(zqvError(ZQV_NO_ERROR, "x", "y", "z", 1), 0);
  EXPECT_EQ(zqvGetErrStatus(), 0);
  EXPECT_TRUE(reportsAre({{-5, "zqvsbAdd1", "n<=0", "zqvarith"},
                          {-1, "outer", "inner", "zqvffts"},
                          {-8, "outer", "", ""}}));
  EXPECT_EQ(recordedReports()[0].line, 12);
}

TEST_F(Frame, StatusAndModeAreStoredAsGiven) {
  zqvSetErrStatus(42);
  EXPECT_EQ(zqvGetErrStatus(), 42);
  zqvSetErrMode(17);
  EXPECT_EQ(zqvGetErrMode(), 17);
}

TEST_F(Frame, RedirectNullInstallsTheMessageBox) {
  EXPECT_EQ(zqvRedirectError(nullptr), &zqvRecordingReport);
  EXPECT_EQ(zqvRedirectError(zqvRecordingReport), &zqvGuiBoxReport);
}

TEST_F(Frame, MessageBoxTexts) {
  struct Case {
    int32_t mode, stored, status;
    const char *func, *message, *file;
    int32_t line;
    const char *text, *caption;
    uint32_t flags;
  } cases[] = {
      {0, -5, -5, "zqvsbAdd1", "n<=0", "zqvarith", 40,
       "in function [zqvarith:40]:zqvsbAdd1():\n n<=0\n\nErrMode=ZQV_ErrorModeLeaf\n\nTerminate the application?",
       "ZQL Library Error: Bad argument", ZQV_MB_YESNO | ZQV_MB_SYSTEMMODAL},
      {1, -4, -4, nullptr, nullptr, nullptr, -3,
       "in function [:0]:<unknown>():\n \n\nErrMode=ZQV_ErrorModeParent\n\nContinue?",
       "ZQL Library Error: Out of memory", ZQV_MB_OKCANCEL | ZQV_MB_SYSTEMMODAL},
      // A backtrace names the stored status in the caption.
      {1, -5, -1, "zqvsRealFft", "zqvcFft", "zqvffts", 7,
       "called from [zqvffts:7]:zqvsRealFft():\n zqvcFft\n\nErrMode=ZQV_ErrorModeParent\n\nContinue?",
       "ZQL Library Error: Bad argument", ZQV_MB_OKCANCEL | ZQV_MB_SYSTEMMODAL},
      {0, 0, -8, "zqvsbSet", "trace", "zqvarith", 9,
       "called from [zqvarith:9]:\n zqvsbSet(trace)\n\nErrMode=ZQV_ErrorModeLeaf\n\nTerminate the application?",
       "ZQL Library Error: No Error", ZQV_MB_YESNO | ZQV_MB_SYSTEMMODAL},
  };
  for (const auto& c : cases) {
    boxes.clear();
    zqvSetErrMode(c.mode);
    zqvSetErrStatus(c.stored);
    boxAnswer = c.mode == 0 ? ZQV_IDNO : ZQV_IDOK;  // the answers that go on
    EXPECT_EQ(zqvGuiBoxReport(c.status, c.func, c.message, c.file, c.line), c.status);
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, c.text);
    EXPECT_EQ(boxes[0].caption, c.caption);
    EXPECT_EQ(boxes[0].flags, c.flags);
  }
}

TEST_F(Frame, LongTextsAreCut) {
  zqvSetErrMode(1);
  boxAnswer = ZQV_IDOK;
  const std::string longText(1000, 'x');
  zqvGuiBoxReport(-5, longText.c_str(), longText.c_str(), longText.c_str(), 1);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].text.size(), 199u);
}

TEST_F(Frame, SilentAndUnknownModesShowNothing) {
  for (int32_t mode : {2, 3, -1}) {
    zqvSetErrMode(mode);
    EXPECT_EQ(zqvGuiBoxReport(-5, "f", "m", "file", 1), -5);
    EXPECT_EQ(zqvNulDevReport(-5, "f", "m", "file", 1), -5);
  }
  EXPECT_TRUE(boxes.empty());
  zqvSetErrMode(2);
  testing::internal::CaptureStderr();
  EXPECT_EQ(zqvStdErrReport(-5, "f", "m", "file", 1), -5);
  EXPECT_EQ(testing::internal::GetCapturedStderr(), "");
}

TEST_F(Frame, StandardErrorTexts) {
  struct Case {
    int32_t status;
    const char *func, *message, *file;
    int32_t line;
    const char* expected;
  } cases[] = {
      {-5, "zqvsbAdd1", "n<=0", "zqvarith", 40, "\nZQL Library Error: Bad argument \n\tin function [zqvarith:40]:zqvsbAdd1(): n<=0\n"},
      {-5, nullptr, nullptr, nullptr, 0, "\nZQL Library Error: Bad argument \n\tin function:<unknown>\n"},
      {-1, "zqvsRealFft", "zqvcFft", "zqvffts", 3, "\tcalled from [zqvffts:3]:zqvsRealFft(): zqvcFft\n"},
      {-8, "zqvsbSet", "entry", nullptr, 0, "\tcalled from:zqvsbSet(entry)\n"},
      // The stream names the status argument, whatever is stored.
      {-9, "f", nullptr, "m", 0, "\nZQL Library Error: Unknown error code -9 \n\tin function [m:0]:f\n"},
  };
  zqvSetErrMode(1);
  for (const auto& c : cases) {
    testing::internal::CaptureStderr();
    EXPECT_EQ(zqvStdErrReport(c.status, c.func, c.message, c.file, c.line), c.status);
    EXPECT_EQ(testing::internal::GetCapturedStderr(), c.expected);
  }
}

TEST_F(Frame, StatusTexts) {
  const std::pair<int32_t, const char*> cases[] = {
      {0, "No Error"},         {-1, "Backtrace"},
      {-2, "Unknown error"},   {-3, "Internal error (bad state)"},
      {-4, "Out of memory"},   {-5, "Bad argument"},
      {-6, "Unsupported function"}, {-7, "Iteration convergence failed"},
      {-8, "Autotrace call"},  {-9, "Unknown error code -9"},
      {1, "Unknown status code 1"}, {INT32_MIN, "Unknown error code -2147483648"},
  };
  for (auto [status, text] : cases) EXPECT_STREQ(zqvErrorStr(status), text) << status;
}

TEST_F(Frame, VersionRecord) {
  const ZqvLibVersion* v = zqvGetLibVersion();
  EXPECT_EQ(v->major, 3);
  EXPECT_EQ(v->minor, 0);
  EXPECT_EQ(v->build, 13);
  EXPECT_STREQ(v->name, "zqvp4.dll");
  EXPECT_STREQ(v->version, "v4.0 Release Candidate");
  EXPECT_STREQ(v->internalVersion, "[4.00.12, 05/15/97]");
  EXPECT_STREQ(v->buildDate, "May 19 1997");
  EXPECT_STREQ(v->targetKind, "DLL");
  EXPECT_EQ(v, zqvGetLibVersion());
}

TEST_F(Frame, EachThreadHasItsOwnContext) {
  zqvError(ZQV_BAD_ARGUMENT, "f", "m", "file", 1);
  zqvSetErrMode(2);
  int32_t otherStatus = 99, otherMode = 99;
  ZqvReportFn otherReport = nullptr;
  ZqvContext* otherContext = nullptr;
  std::thread([&] {
    otherStatus = zqvGetErrStatus();
    otherMode = zqvGetErrMode();
    otherReport = zqvRedirectError(nullptr);
    otherContext = zqvUndContext();
    zqvSetErrStatus(ZQV_OUT_OF_MEMORY);  // must not reach the first thread
  }).join();
  EXPECT_EQ(otherStatus, 0);
  EXPECT_EQ(otherMode, ZQV_ErrorModeLeaf);
  EXPECT_EQ(otherReport, &zqvGuiBoxReport);
  EXPECT_NE(otherContext, zqvUndContext());
  EXPECT_EQ(zqvGetErrStatus(), ZQV_BAD_ARGUMENT);
  EXPECT_EQ(zqvGetErrMode(), 2);
}

TEST_F(Frame, StatusTextBufferIsPerThread) {
  const char* mine = zqvErrorStr(-20);
  std::thread([] { zqvErrorStr(77); }).join();
  EXPECT_STREQ(mine, "Unknown error code -20");
}

using FrameDeathTest = Frame;

TEST_F(FrameDeathTest, LeafModeEndsTheProcess) {
  GTEST_FLAG_SET(death_test_style, "threadsafe");
  EXPECT_EXIT(
      {
        zqvSetErrMode(0);
        zqvRedirectError(zqvStdErrReport);
        zqvError(ZQV_BAD_ARGUMENT, "zqvsbAdd1", "n<=0", "zqvarith", 5);
      },
      testing::ExitedWithCode(1), "ErrMode=ZQV_ErrModeLeaf\nterminating the application");
  EXPECT_EXIT(
      {
        zqvSetErrMode(0);
        zqvRedirectError(zqvNulDevReport);
        zqvError(ZQV_BAD_ARGUMENT, "f", "m", "x", 5);
      },
      testing::ExitedWithCode(1), "");
  // The box ends the process on Yes in Leaf mode and on Cancel in Parent mode.
  for (int32_t mode : {0, 1}) {
    EXPECT_EXIT(
        {
          zqvSetMessageBoxHook(nullptr);
          zqvSetErrMode(mode);
          zqvSetMessageBoxHook([](const char*, const char* caption, uint32_t flags) -> int32_t {
            if (std::string(caption) == "Fatal Application Exit") return ZQV_IDOK;
            return (flags & 0xF) == ZQV_MB_YESNO ? ZQV_IDYES : ZQV_IDCANCEL;
          });
          zqvRedirectError(zqvGuiBoxReport);
          zqvError(ZQV_BAD_ARGUMENT, "f", "m", "x", 5);
        },
        testing::ExitedWithCode(1), "ZQL Library:\nterminating the application");
  }
}

TEST_F(Frame, WithoutHookTheBoxGoesOnAndWritesToStandardError) {
  zqvSetMessageBoxHook(nullptr);
  zqvSetErrMode(0);
  zqvSetErrStatus(-5);
  testing::internal::CaptureStderr();
  EXPECT_EQ(zqvGuiBoxReport(-5, "f", "m", "file", 2), -5);
  const std::string err = testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("ZQL Library Error: Bad argument"), std::string::npos);
  EXPECT_NE(err.find("in function [file:2]:f():\n m"), std::string::npos);
}

TEST(Memory, BlocksAreAlignedAndHoldTheirElements) {
  struct Alloc {
    void* (*fn)(int32_t);
    size_t elementSize;
  } allocs[] = {
      {[](int32_t n) -> void* { return zqvMalloc(n); }, 1},
      {[](int32_t n) -> void* { return zqvsMalloc(n); }, 4},
      {[](int32_t n) -> void* { return zqvdMalloc(n); }, 8},
      {[](int32_t n) -> void* { return zqvcMalloc(n); }, 8},
      {[](int32_t n) -> void* { return zqvzMalloc(n); }, 16},
      {[](int32_t n) -> void* { return zqvwMalloc(n); }, 2},
      {[](int32_t n) -> void* { return zqvvMalloc(n); }, 4},
      {[](int32_t n) -> void* { return zqviMalloc(n); }, 4},
      {[](int32_t n) -> void* { return zqvjMalloc(n); }, 8},
  };
  for (const auto& a : allocs)
    for (int32_t n : {0, 1, 3, 1000}) {
      void* p = a.fn(n);
      ASSERT_NE(p, nullptr);
      EXPECT_EQ(reinterpret_cast<uintptr_t>(p) % 8, 0u);
      std::memset(p, 0xA5, n * a.elementSize);  // the sanitizer build catches a short block
      zqvFree(p);
    }
}

TEST(Memory, BadSizesGiveNull) {
  EXPECT_EQ(zqvMalloc(-1), nullptr);
  EXPECT_EQ(zqvzMalloc(INT32_MIN), nullptr);
  zqvFree(nullptr);
}

// Loads a private copy of the library, lets threads use it, unloads it while
// they still run, then lets them end: nothing may crash or leak.
TEST(LoadUnload, UnloadWhileThreadsRun) {
  namespace fs = std::filesystem;
  const fs::path copy = fs::temp_directory_path() / ("zqvp4_copy_" + std::to_string(getpid()) + ".so");
  fs::copy_file(ZQV_LIBRARY_FILE, copy, fs::copy_options::overwrite_existing);
  void* lib = dlopen(copy.c_str(), RTLD_NOW | RTLD_LOCAL);
  ASSERT_NE(lib, nullptr) << dlerror();
  auto setStatus = reinterpret_cast<void (*)(int32_t)>(dlsym(lib, "zqvSetErrStatus"));
  auto getStatus = reinterpret_cast<int32_t (*)()>(dlsym(lib, "zqvGetErrStatus"));
  ASSERT_TRUE(setStatus && getStatus);

  std::mutex m;
  std::condition_variable cv;
  int used = 0;
  bool release = false;
  std::vector<int32_t> seen(3, 0);
  std::vector<std::thread> threads;
  for (int i = 0; i < 3; ++i)
    threads.emplace_back([&, i] {
      setStatus(-(i + 1));
      seen[i] = getStatus();
      std::unique_lock<std::mutex> lock(m);
      ++used;
      cv.notify_all();
      cv.wait(lock, [&] { return release; });
    });
  {
    std::unique_lock<std::mutex> lock(m);
    cv.wait(lock, [&] { return used == 3; });
  }
  setStatus(-7);
  EXPECT_EQ(getStatus(), -7);
  EXPECT_EQ(dlclose(lib), 0);
  EXPECT_EQ(dlopen(copy.c_str(), RTLD_NOW | RTLD_NOLOAD), nullptr) << "the copy stayed loaded";
  {
    std::lock_guard<std::mutex> lock(m);
    release = true;
  }
  cv.notify_all();
  for (auto& t : threads) t.join();
  EXPECT_EQ(seen, (std::vector<int32_t>{-1, -2, -3}));
  fs::remove(copy);
}

}  // namespace
