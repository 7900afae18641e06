// GoogleTest main for the program's tests: one QApplication for the whole run,
// on the offscreen platform unless the caller chose another.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>

#include <chrono>
#include <filesystem>

namespace {

// The test programs live in the program's folder, where the program keeps
// the user's libraries and settings: a picture saved there by a test of
// this run is a fault (they go to the test output folder).
class NoPicturesInTheProgramFolder : public ::testing::Environment {
 public:
  void SetUp() override {
    // The file system's clock may lag behind this one by a tick.
    start_ = std::filesystem::file_time_type::clock::now() - std::chrono::seconds(1);
  }
  void TearDown() override {
    const std::filesystem::path folder = QFile::encodeName(QCoreApplication::applicationDirPath()).toStdString();
    std::error_code ec;
    for (const auto& entry : std::filesystem::directory_iterator(folder, ec)) {
      std::error_code timeError;
      if (entry.path().extension() == ".png" && entry.last_write_time(timeError) >= start_ && !timeError)
        ADD_FAILURE() << "a picture was saved in the program's folder: " << entry.path();
    }
  }

 private:
  std::filesystem::file_time_type start_;
};

}  // namespace

int main(int argc, char** argv) {
  qputenv("QT_QPA_PLATFORM", qgetenv("QT_QPA_PLATFORM").isEmpty() ? "offscreen" : qgetenv("QT_QPA_PLATFORM"));
  QApplication app(argc, argv);
  ::testing::InitGoogleTest(&argc, argv);
  ::testing::AddGlobalTestEnvironment(new NoPicturesInTheProgramFolder);
  return RUN_ALL_TESTS();
}
