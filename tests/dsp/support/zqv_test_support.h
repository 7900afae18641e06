// Shared fixture of the library tests: a recording report routine, an error
// mode under which nothing exits, and a clean status around every test.
#ifndef ZQV_TEST_SUPPORT_H
#define ZQV_TEST_SUPPORT_H

#include <gtest/gtest.h>

#include <functional>
#include <optional>
#include <string>
#include <utility>
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

// An expected report: status, routine, message, module, and the line when
// one is given (otherwise the line is not compared).
struct ExpectedReport {
  int32_t status;
  std::string func;
  std::string message;
  std::string module;
  std::optional<int32_t> line = std::nullopt;
};

// Compares the recorded reports with the expected ones, in order.
::testing::AssertionResult reportsAre(const std::vector<ExpectedReport>& expected);

// One row of a table of argument faults: a label, the call, and the reports
// it must make (call, status, routine, message, module).
// Without a label a row is named by its index.
struct ReportRow {
  ReportRow(std::function<void()> c, std::vector<ExpectedReport> r) : call(std::move(c)), reports(std::move(r)) {}
  ReportRow(std::string l, std::function<void()> c, std::vector<ExpectedReport> r)
      : label(std::move(l)), call(std::move(c)), reports(std::move(r)) {}
  std::string label;
  std::function<void()> call;
  std::vector<ExpectedReport> reports;
};

// What status a row starts from: zero, or the one the row before left
// (tables showing that routines report whatever an earlier failure left).
enum class RowStatus { Cleared, Carried };

// Runs the rows in order, each with no reports and (by default) a zero
// status: its reports must come in order and, when a status is given, the
// call must leave that status. `after` runs after every call (checks that
// the refused call wrote nothing, and the like). The last row's status and
// reports are left as they are.
void expectReportRows(const std::vector<ReportRow>& rows, std::optional<int32_t> status = ZQV_BAD_ARGUMENT,
                      const std::function<void(const ReportRow&)>& after = {},
                      RowStatus start = RowStatus::Cleared);

class ZqvTest : public ::testing::Test {
 protected:
  void SetUp() override;
  void TearDown() override;
  ZqvReportFn previousReport_ = nullptr;
  int32_t previousMode_ = 0;
};

#endif
