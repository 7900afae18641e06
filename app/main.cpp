// Starts kalvora: the splash window, the long-lived windows in their order,
// then the message loop until the main window closes.
#include <QApplication>

#include <memory>
#include <string>
#include <vector>

#include "core/FileAccess.h"
#include "windows/Splash.h"
#include "windows/Startup.h"
#include "platform/LibraryMessageBox.h"
#include "platform/MidiInput.h"
#include "platform/qt/QtPrompts.h"
#include "windows/dialogs/DialogPrompts.h"

namespace {

// The folder of the running program as the file system names it (bytes:
// Qt's own answer is empty or altered for a name that is not UTF-8).
std::filesystem::path ProgramFolder(const char* argv0) {
  std::error_code ec;
  std::filesystem::path exe = std::filesystem::read_symlink("/proc/self/exe", ec);
  if (ec) exe = std::filesystem::absolute(argv0, ec);
  return exe.parent_path();
}

}  // namespace

int main(int argc, char** argv) {
  // A file-size limit makes a too-long write fail with an error the save
  // reports, instead of ending the program before the rest is saved.
  IgnoreFileSizeSignal();
  // Qt may take arguments of its own out of argv: the instrument is
  // picked from what is left, as bytes.
  QApplication app(argc, argv);
  kalvora::platform::InstallLibraryMessageBox();

  auto splash = std::make_unique<TfSplash>();
  splash->show();
  QApplication::processEvents();

  QApplication::setApplicationName(QStringLiteral("Kalvora"));
  const std::filesystem::path folder = ProgramFolder(argv[0]);

  TDialogPrompts prompts;
  kalvora::platform::QtFileDialogs fileDialogs;
  kalvora::platform::QtHelp help((folder / "kalvora.hlp").string());
  kalvora::platform::SystemClock clock;
  kalvora::platform::QtProcessStarter processes;
  std::unique_ptr<kalvora::platform::MidiInput> midi = kalvora::platform::makeDefaultMidiInput();

  TMainServices services;
  services.DataFolder = folder;
  services.Prompts = &prompts;
  services.FileDialogs = &fileDialogs;
  services.Help = &help;
  services.Clock = &clock;
  services.Midi = midi.get();
  services.Processes = &processes;

  std::vector<std::string> arguments;
  for (int i = 1; i < argc; ++i) arguments.push_back(argv[i]);

  TKalvoraWindows windows;
  try {
    windows = CreateKalvoraWindows(std::move(services), arguments);
  } catch (const EStartupAborted&) {
    return 1;  // the message has been shown
  }
  splash->FormClose();
  splash.reset();

  const int result = app.exec();
  windows.Main.reset();
  return result;
}
