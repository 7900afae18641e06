// A fixture with a fresh folder of its own under the system's temporary
// folder, named after the process and the test, removed afterwards.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

namespace kalvora::test {

// The whole file as bytes; a missing file reads as empty.
inline std::string ReadText(const std::filesystem::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::stringstream ss;
  ss << in.rdbuf();
  return ss.str();
}

class TempFolderTest : public ::testing::Test {
 protected:
  explicit TempFolderTest(std::string prefix = "kalvora_") : prefix_(std::move(prefix)) {}
  void SetUp() override {
    dir_ = std::filesystem::temp_directory_path() /
           (prefix_ + std::to_string(::getpid()) + "_" +
            ::testing::UnitTest::GetInstance()->current_test_info()->name());
    std::filesystem::remove_all(dir_);
    std::filesystem::create_directories(dir_);
  }
  void TearDown() override { std::filesystem::remove_all(dir_); }

  std::filesystem::path dir_;

 private:
  std::string prefix_;
};

// The same for tests of files that could block (a FIFO): a test that waits
// ends the suite after a minute instead of hanging it.
class TimedTempFolderTest : public TempFolderTest {
 protected:
  void SetUp() override {
    TempFolderTest::SetUp();
    ::alarm(60);
  }
  void TearDown() override {
    ::alarm(0);
    TempFolderTest::TearDown();
  }
};

}  // namespace kalvora::test
