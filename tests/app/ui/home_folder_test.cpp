// Everything the program writes lives beside it, not in the home folder:
// Qt's own dialogs keep settings too (recent folders, custom colours). HOME
// is read when a program starts, so the test program runs itself again as
// a new start would, with HOME an empty folder, and uses every file dialog
// and the options there.
#include <gtest/gtest.h>

#include <QApplication>
#include <QColorDialog>
#include <QFileDialog>
#include <QPushButton>
#include <QRadioButton>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/wait.h>
#include <unistd.h>

#include "MainFixture.h"
#include "TempFolder.h"
#include "platform/qt/LocalPaths.h"
#include "platform/qt/QtPrompts.h"
#include "windows/EnvelopeEditors.h"
#include "windows/FreeEdit.h"
#include "windows/Options.h"
#include "windows/PresetWindows.h"
#include "windows/dialogs/LoadInst.h"

extern char** environ;

namespace kalvora::test {
namespace {

const char* const kDataVariable = "KALVORA_TEST_HOME_CHILD_DATA";

// The program's folder and the folder the files are saved to, which the
// parent names.
class HomeFolderChild : public MainTest {
 protected:
  void SetUp() override {
    MainTest::SetUp();
    const char* data = std::getenv(kDataVariable);
    if (!data) return;
    for (const char* name : {"kalvora.dap", "kalvora.dav", "kalvora.dam"}) fs::copy_file(dir_ / name, fs::path(data) / name);
    fs::remove_all(dir_);
    dir_ = data;
  }
  // The parent looks at the folders and removes them.
  void TearDown() override { windows_ = {}; }
};

void Reject(QFileDialog& d) { d.reject(); }

TEST_F(HomeFolderChild, UsesEveryFileDialogAndOptions) {
  if (!std::getenv(kDataVariable)) GTEST_SKIP() << "run by HomeFolder.StaysEmptyAfterEveryDialog";
  const fs::path files = dir_.parent_path() / "files";
  kalvora::platform::QtFileDialogs fileDialogs;
  TMainServices services = Services();
  services.FileDialogs = &fileDialogs;
  windows_ = CreateKalvoraWindows(services, {}, {});
  TfMain& main = *windows_.Main;
  main.SetInstrumentUpToDate(true);
  auto saveAs = [](const fs::path& file) {
    WhenShown<QFileDialog>([file](QFileDialog& d) {
      d.selectFile(kalvora::platform::ToQtPath(file.string()));
      static_cast<QDialog&>(d).accept();  // as the Save button does
    });
  };

  WhenShown<TfLoadInst>([](TfLoadInst& d) { d.reject(); });
  main.LoadInstrumentCommand();
  saveAs(files / "song.kvi");
  EXPECT_TRUE(main.SaveInstrumentAs());
  EXPECT_TRUE(fs::exists(files / "song.kvi"));
  saveAs(files / "song.wav");
  main.SaveSampleCommand();
  EXPECT_TRUE(fs::exists(files / "song.wav"));

  WhenShown<TfFreeEdit>([](TfFreeEdit& w) {
    WhenShown<QFileDialog>(Reject);
    w.bImportClick();
    w.reject();
  });
  ShowFreeEdit(main);
  {
    TfEditVol envelope(main, 0);
    WhenShown<QFileDialog>(Reject);
    envelope.bImportClick();
  }

  main.Settings().AutoConvert = true;
  main.Settings().BackgroundMain.Default = false;
  main.Settings().BackgroundMain.TileMode = tmTile;
  WhenShown<TfOptions>([](TfOptions& o) {
    WhenShown<QFileDialog>(Reject);
    o.bSelectProgram->click();
    WhenShown<QFileDialog>(Reject);
    o.bSelectImage->click();
    o.rbGradient->click();
    WhenShown<QColorDialog>([](QColorDialog& c) {
      for (QPushButton* b : c.findChildren<QPushButton*>())
        if (b->text().contains(QStringLiteral("Custom"))) b->click();
      c.accept();
    });
    o.bFrom->click();
    o.bOK->click();
  });
  main.RunOptions();
  EXPECT_TRUE(main.close());
  windows_ = {};
}

using HomeFolder = TempFolderTest;

// Runs the test above in a new start of this program, its output kept in
// `output`; gives the exit code.
int RunChild(const fs::path& home, const fs::path& data, const fs::path& output) {
  std::vector<std::string> env;
  for (char** e = environ; *e; ++e) {
    const std::string entry = *e;
    const std::string name = entry.substr(0, entry.find('='));
    const bool xdgHome = name.rfind("XDG_", 0) == 0 && name.size() > 5 && name.compare(name.size() - 5, 5, "_HOME") == 0;
    if (name != "HOME" && name != kDataVariable && !xdgHome) env.push_back(entry);
  }
  env.push_back("HOME=" + home.string());
  env.push_back(std::string(kDataVariable) + "=" + data.string());
  std::vector<char*> envp;
  for (std::string& e : env) envp.push_back(e.data());
  envp.push_back(nullptr);
  const std::string program = fs::read_symlink("/proc/self/exe").string();
  std::string filter = "--gtest_filter=HomeFolderChild.*";
  char* argv[] = {const_cast<char*>(program.c_str()), filter.data(), nullptr};
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int fd = ::open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(fd, 1);
    ::dup2(fd, 2);
    ::execve(program.c_str(), argv, envp.data());
    ::_exit(127);
  }
  int status = 0;
  ::waitpid(pid, &status, 0);
  return WIFEXITED(status) ? WEXITSTATUS(status) : 200 + WTERMSIG(status);
}

std::vector<std::string> EverythingIn(const fs::path& folder) {
  std::vector<std::string> found;
  for (const fs::directory_entry& e : fs::recursive_directory_iterator(folder)) found.push_back(e.path().string());
  return found;
}

// A program folder whose name is not UTF-8 cannot be named to Qt: its own
// settings are then not kept, neither at home nor in a new folder beside.
TEST_F(HomeFolder, StaysEmptyAfterEveryDialog) {
  struct Row {
    const char* data;
    bool keptBesideTheProgram;
  } rows[] = {{"program", true}, {"progr\xE4m", false}};
  for (const Row& row : rows) {
    SCOPED_TRACE(row.data);
    fs::remove_all(dir_);
    const fs::path home = dir_ / "home", data = dir_ / row.data, files = dir_ / "files";
    for (const fs::path& f : {home, data, files}) fs::create_directories(f);
    const fs::path output = files / "child output.txt";
    EXPECT_EQ(RunChild(home, data, output), 0) << ReadText(output);
    EXPECT_EQ(EverythingIn(home), std::vector<std::string>{});
    std::vector<std::string> top;
    for (const fs::directory_entry& e : fs::directory_iterator(dir_)) top.push_back(e.path().filename().string());
    std::sort(top.begin(), top.end());
    EXPECT_EQ(top, (std::vector<std::string>{"files", "home", row.data}));
    const std::string kept = ReadText(data / "QtProject.conf");
    EXPECT_EQ(kept.find("[FileDialog]") != std::string::npos, row.keptBesideTheProgram) << kept;
    EXPECT_EQ(kept.find("customColors") != std::string::npos, row.keptBesideTheProgram) << kept;
  }
}

}  // namespace
}  // namespace kalvora::test
