// The program with files that cannot be read or written: a settings or
// description file that exists but cannot be read is reported once and
// left as it is; a FIFO or folder where an instrument should be is refused
// without waiting; a save that fails at close does not stop the rest of the
// close; and a program folder or file name that is not UTF-8 works.
#include <gtest/gtest.h>

#include <QApplication>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>
#include <vector>

#include <csignal>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include "Fakes.h"
#include "MainFixture.h"
#include "core/IniFile.h"
#include "formats/ByteStream.h"
#include "platform/qt/LocalPaths.h"
#include "windows/Main.h"

namespace fs = std::filesystem;
using namespace kalvora::test;

namespace {

void WriteText(const fs::path& p, const std::string& text) { std::ofstream(p, std::ios::binary) << text; }

class FileFaults : public MainTest {
 protected:
  // A reader that waits on a FIFO would hang the suite: it ends instead.
  void SetUp() override {
    MainTest::SetUp();
    ::alarm(120);
  }
  void TearDown() override {
    ::alarm(0);
    MainTest::TearDown();
  }
};

// Each way a file can exist and still not be read, for both files at once.
TEST_F(FileFaults, SettingsAndDescriptionThatCannotBeReadAreReportedAndNeverWritten) {
  struct Case {
    const char* what;
    std::function<void(const fs::path&)> make;
    std::string reason;
  };
  const std::vector<Case> cases = {
      {"folder", [](const fs::path& p) { fs::create_directory(p); }, "it is not a regular file"},
      {"NUL bytes",
       [](const fs::path& p) { WriteText(p, std::string("[General]\r\nStarts=41\r\n") + std::string(64, '\0')); },
       "is damaged: it holds a NUL byte (a byte of value zero)"},
      {"too large",
       [](const fs::path& p) {
         WriteText(p, "[General]\r\nStarts=41\r\n");
         fs::resize_file(p, (4u << 20) + 1);
       },
       "is too large to be read (more than 4194304 bytes)"},
      {"no permission",
       [](const fs::path& p) {
         WriteText(p, "[General]\r\nStarts=41\r\n");
         fs::permissions(p, fs::perms::none);
       },
       "Permission denied"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    // Root reads whatever the bits say: the core suite checks this case as
    // another user.
    if (c.what == std::string("no permission") && ::geteuid() == 0) continue;
    const fs::path dai = dir_ / "kalvora.dai", dad = dir_ / "kalvora.dad";
    for (const fs::path& p : {dai, dad}) {
      fs::remove_all(p);
      c.make(p);
    }
    const bool noPermission = c.what == std::string("no permission");
    const auto contents = [&](const fs::path& p) {
      if (fs::is_directory(p)) return std::string("<folder>");
      if (noPermission) return std::string("[General]\r\nStarts=41\r\n");
      return ReadText(p);
    };
    const std::string daiBefore = contents(dai), dadBefore = contents(dad);
    prompts_.expectMessage();
    prompts_.expectMessage();
    TfMain& main = Start();
    ASSERT_EQ(prompts_.shown().size(), 2u);
    const std::string settingsText = prompts_.shown()[0].text, descriptionText = prompts_.shown()[1].text;
    EXPECT_NE(settingsText.find("\"" + dai.string() + "\""), std::string::npos) << settingsText;
    EXPECT_NE(settingsText.find(c.reason), std::string::npos) << settingsText;
    EXPECT_NE(settingsText.find(kFileLeftAlone), std::string::npos) << settingsText;
    EXPECT_NE(descriptionText.find("\"" + dad.string() + "\""), std::string::npos) << descriptionText;
    EXPECT_EQ(main.Settings().Starts, 1);  // defaults
    main.Document().WavePresetsModified = true;
    main.SetInstrumentUpToDate(true);
    EXPECT_TRUE(main.close());
    windows_ = {};
    EXPECT_TRUE(prompts_.allShown());
    for (const auto& [p, old] : {std::pair{dai, daiBefore}, std::pair{dad, dadBefore}}) {
      if (noPermission) {
        EXPECT_EQ(fs::status(p).permissions() & fs::perms::mask, fs::perms::none);
        fs::permissions(p, fs::perms::owner_read);
        EXPECT_EQ(ReadText(p), old) << p;
      } else {
        EXPECT_EQ(contents(p), old) << p;
      }
    }
    // The rest of the close ran: the modified library was written.
    TWavePresetTable presets;
    EXPECT_NO_THROW(LoadWavePresets(dir_ / "kalvora.dap", presets));
    for (const fs::path& p : {dai, dad}) fs::remove_all(p);
    prompts_ = {};
  }
}

TEST_F(FileFaults, AFifoOrFolderInPlaceOfAnInstrumentIsRefusedAtOnce) {
  const fs::path fifo = dir_ / "start.kvi";
  ASSERT_EQ(::mkfifo(fifo.c_str(), 0644), 0);
  // Through the command line ...
  prompts_.expectMessage("Can not read the file \"" + fifo.string() + "\": it is not a regular file");
  TfMain& main = Start({fifo.string()});
  EXPECT_TRUE(prompts_.allShown());
  EXPECT_EQ(main.windowTitle(), QString::fromLatin1(kNewInstrumentCaption));
  // ... and through the load command (the open dialog and Load Again end there).
  const fs::path folder = dir_ / "folder.kvi";
  fs::create_directory(folder);
  prompts_.expectMessage("Can not read the file \"" + folder.string() + "\": it is not a regular file");
  EXPECT_FALSE(main.LoadInstrument(folder));
  EXPECT_TRUE(prompts_.allShown());
  EXPECT_EQ(main.Document().CurrentInstrumentFile, "");
  main.SetInstrumentUpToDate(true);
}

// Each save at close reports its own failure; the others still happen.
TEST_F(FileFaults, AFailedSaveAtCloseLeavesTheRestOfTheClose) {
  TfMain& main = Start();
  const fs::path dav = dir_ / "kalvora.dav";
  fs::remove(dav);
  fs::create_directory(dav);
  main.Document().VolumeEnvelopesModified = true;
  main.Document().MacrosModified = true;
  main.DefaultDescription() = {"kept"};
  main.SetInstrumentUpToDate(true);
  prompts_.expectMessage("Can not write the file \"" + dav.string() + "\": it is not a regular file");
  EXPECT_TRUE(main.close());
  windows_ = {};
  EXPECT_TRUE(fs::is_directory(dav));
  EXPECT_EQ(TIniFile((dir_ / "kalvora.dai").string()).ReadInteger("General", "Starts", 0), 1);
  EXPECT_EQ(ReadText(dir_ / "kalvora.dad"), "kept\r\n");
  for (const auto& e : fs::directory_iterator(dir_))
    EXPECT_NE(e.path().filename().string()[0], '.') << "a temporary file was left: " << e.path();
}

// A file dialog hands back Qt's text of a path; a name that is not UTF-8
// is altered in that text, and the bytes are found again on the disk.
TEST_F(FileFaults, APathThatIsNotUtf8ComesBackFromQtAsItsBytes) {
  using kalvora::platform::FromQtPath;
  using kalvora::platform::ToQtPath;
  const fs::path folder = dir_ / "caf\xE9";
  fs::create_directory(folder);
  const fs::path file = folder / "b\xE9ss.kvi";
  WriteText(file, "x");
  EXPECT_EQ(FromQtPath(ToQtPath(file.string())), file.string());
  // A new file to save in such a folder keeps its typed name.
  EXPECT_EQ(FromQtPath(ToQtPath(folder.string()) + QStringLiteral("/new \u00e9.wav")),
            (folder / "new \xC3\xA9.wav").string());
  // Plain names pass unchanged.
  EXPECT_EQ(FromQtPath(ToQtPath((dir_ / "kalvora.dap").string())), (dir_ / "kalvora.dap").string());
}

// A copy of the program in a folder whose name is not UTF-8, given an
// instrument whose name is not UTF-8 either: it finds its libraries (it
// used to stop with "Wrong Wave Preset File") and runs until it is ended.
TEST_F(FileFaults, AProgramFolderThatIsNotUtf8Works) {
  const fs::path folder = dir_ / "caf\xE9";
  fs::create_directory(folder);
  for (const char* name : {"kalvora.dap", "kalvora.dav", "kalvora.dam"}) fs::copy_file(dir_ / name, folder / name);
  fs::copy_file(KALVORA_PROGRAM, folder / "kalvora");
  const fs::path errors = dir_ / "stderr.txt";
  const pid_t pid = ::fork();
  if (pid == 0) {
    const int fd = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    ::dup2(fd, 2);
    ::setenv("QT_QPA_PLATFORM", "offscreen", 1);
    ::execl((folder / "kalvora").c_str(), "kalvora", (folder / "b\xE9ss.kvi").c_str(), nullptr);
    ::_exit(127);
  }
  ASSERT_GT(pid, 0);
  // The failure shows within the start: its message goes to standard error
  // before the box, which then waits for a person.
  bool exited = false;
  for (int i = 0; i < 40 && !exited; ++i) {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    int status;
    exited = ::waitpid(pid, &status, WNOHANG) == pid;
  }
  if (!exited) {
    ::kill(pid, SIGKILL);
    ::waitpid(pid, nullptr, 0);
  }
  const std::string err = ReadText(errors);
  EXPECT_EQ(err.find("kalvora: "), std::string::npos) << err;
  EXPECT_FALSE(exited) << err;
}

}  // namespace
