#include "zqv_test_support.h"

#include <sstream>

std::vector<ZqvReport>& recordedReports() {
  thread_local std::vector<ZqvReport> reports;
  return reports;
}

void clearReports() { recordedReports().clear(); }

int32_t zqvRecordingReport(int32_t status, const char* funcName, const char* message,
                           const char* file, int32_t line) {
  recordedReports().push_back({status, funcName ? funcName : "", message ? message : "",
                               file ? file : "", line});
  return status;
}

::testing::AssertionResult reportsAre(const std::vector<ExpectedReport>& expected) {
  const auto& got = recordedReports();
  std::ostringstream out;
  bool same = got.size() == expected.size();
  for (size_t i = 0; same && i < got.size(); ++i)
    same = got[i].status == expected[i].status && got[i].func == expected[i].func &&
           got[i].message == expected[i].message && got[i].module == expected[i].module &&
           (!expected[i].line || got[i].line == *expected[i].line);
  if (same) return ::testing::AssertionSuccess();
  out << "expected:\n";
  for (const auto& e : expected)
    out << "  " << e.status << " " << e.func << " \"" << e.message << "\" " << e.module
        << (e.line ? ":" + std::to_string(*e.line) : std::string()) << "\n";
  out << "got:\n";
  for (const auto& r : got)
    out << "  " << r.status << " " << r.func << " \"" << r.message << "\" " << r.module << ":" << r.line << "\n";
  return ::testing::AssertionFailure() << out.str();
}

void expectReportRows(const std::vector<ReportRow>& rows, std::optional<int32_t> status,
                      const std::function<void(const ReportRow&)>& after, RowStatus start) {
  for (size_t i = 0; i < rows.size(); ++i) {
    const ReportRow& row = rows[i];
    SCOPED_TRACE(row.label.empty() ? "row " + std::to_string(i) : row.label);
    if (start == RowStatus::Cleared) zqvSetErrStatus(0);
    clearReports();
    row.call();
    EXPECT_TRUE(reportsAre(row.reports));
    if (status) {
      EXPECT_EQ(zqvGetErrStatus(), *status);
    }
    if (after) after(row);
  }
}

void ZqvTest::SetUp() {
  previousReport_ = zqvRedirectError(zqvRecordingReport);
  previousMode_ = zqvGetErrMode();
  zqvSetErrMode(ZQV_ErrorModeParent);
  zqvSetErrStatus(0);
  clearReports();
}

void ZqvTest::TearDown() {
  zqvSetErrStatus(0);
  zqvSetErrMode(previousMode_);
  zqvRedirectError(previousReport_);
  clearReports();
}
