// Starts kalvora: the splash window, the long-lived windows in their order,
// then the message loop until the main window closes.
#include <QApplication>
#include <QDir>

#include <memory>
#include <string>
#include <vector>

#include "windows/Splash.h"
#include "windows/Startup.h"
#include "platform/LibraryMessageBox.h"
#include "platform/MidiInput.h"
#include "platform/qt/QtPrompts.h"
#include "windows/dialogs/DialogPrompts.h"

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  kalvora::platform::InstallLibraryMessageBox();

  auto splash = std::make_unique<TfSplash>();
  splash->show();
  QApplication::processEvents();

  QApplication::setApplicationName(QStringLiteral("Kalvora"));
  const std::filesystem::path folder = QDir(QCoreApplication::applicationDirPath()).absolutePath().toStdString();

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
  const QStringList args = QCoreApplication::arguments();
  for (int i = 1; i < args.size(); ++i) arguments.push_back(args[i].toStdString());

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
