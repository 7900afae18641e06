// Library reports collected as lines "status routine message module" while a
// test runs in parent mode (no box, no exit), the previous handler, mode and
// status restored afterwards. Header-only, so the internal tests that link
// the static twin can use it too.
#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "zqvp4.h"

class ZqvReportLogTest : public ::testing::Test {
 public:
  static std::vector<std::string>& log() {
    static std::vector<std::string> lines;
    return lines;
  }
  static int32_t record(int32_t status, const char* func, const char* msg, const char* module, int32_t) {
    log().push_back(std::to_string(status) + " " + func + " " + (msg ? msg : "") + " " + (module ? module : ""));
    return status;
  }

 protected:
  void SetUp() override {
    previous_ = zqvRedirectError(&record);
    mode_ = zqvGetErrMode();
    zqvSetErrMode(ZQV_ErrorModeParent);
    zqvSetErrStatus(0);
    log().clear();
  }
  void TearDown() override {
    zqvSetErrStatus(0);
    zqvSetErrMode(mode_);
    zqvRedirectError(previous_);
  }

 private:
  ZqvReportFn previous_ = nullptr;
  int32_t mode_ = 0;
};
