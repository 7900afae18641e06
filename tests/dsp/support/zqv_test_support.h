// Shared fixture of the library tests: a recording report routine, an error
// mode under which nothing exits, and a clean status around every test.
#ifndef ZQV_TEST_SUPPORT_H
#define ZQV_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "zqvp4.h"

struct ZqvReport {
  int32_t status;
  std::string func;
  std::string message;
  std::string module;
  int32_t line;
};

// The reports recorded on the calling thread since the last clearReports().
std::vector<ZqvReport>& recordedReports();
void clearReports();
int32_t zqvRecordingReport(int32_t status, const char* funcName, const char* message,
                           const char* file, int32_t line);

// An expected report: status, routine, message, module (the line is not compared).
struct ExpectedReport {
  int32_t status;
  const char* func;
  const char* message;
  const char* module;
};

// Compares the recorded reports with the expected ones, in order.
::testing::AssertionResult reportsAre(const std::vector<ExpectedReport>& expected);

class ZqvTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  ZqvReportFn previousReport_ = nullptr;
  int32_t previousMode_ = 0;
};

#endif
