// Everything that talks to a person or starts something outside: message
// boxes, file dialogs, help, process start and the clock. Qt-free interfaces,
// so core code can use them; the boxes are the program's own
// (windows/dialogs/DialogPrompts.h), the rest lives in qt/QtPrompts.h, and
// tests use the scripted fakes of tests/app/support/Fakes.h.
#pragma once

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace kalvora::platform {

// Modal results of the dialogs.
enum ModalResult : int { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

// Texts are UTF-8, names of library entries excepted.
class Prompts {
 public:
  virtual ~Prompts() = default;
  // "Are you sure?" with Yes and No: mrYes or mrNo (Escape and closing answer No).
  virtual int confirm(const std::string& text) = 0;
  // A question with Yes, No and Cancel: mrYes, mrNo or mrCancel (closing answers Cancel).
  virtual int question(const std::string& text) = 0;
  // A message with OK.
  virtual void message(const std::string& text) = 0;
  // A new name for a wave preset (volume envelope) of an instrument being
  // loaded, whose name `clash` a different entry of the library holds. Names
  // are the library's Windows-1252 bytes both ways. Nothing: no one can be
  // asked, and the reader picks a free name itself.
  virtual std::optional<std::string> newPresetName(const std::string& clash) {
    (void)clash;
    return std::nullopt;
  }
  virtual std::optional<std::string> newEnvelopeName(const std::string& clash) {
    (void)clash;
    return std::nullopt;
  }
};

struct FileDialogOptions {
  std::string title;
  std::string filter;        // "Kalvora Instruments|*.kvi|All Files|*.*"
  std::string defaultExt;    // "kvi": added when the chosen name has no extension
  std::string initialDir;
  std::string initialFile;
  bool askOverwrite = false; // save: ask before replacing an existing file
};

// Paths (initialDir, initialFile, the chosen file) are the file system's
// bytes, not necessarily UTF-8.
class FileDialogs {
 public:
  virtual ~FileDialogs() = default;
  // The chosen file's path, or nothing when the person cancelled.
  virtual std::optional<std::string> openFile(const FileDialogOptions& options) = 0;
  virtual std::optional<std::string> saveFile(const FileDialogOptions& options) = 0;
};

class Help {
 public:
  virtual ~Help() = default;
  virtual void showTopic(const std::string& keyword) = 0;
  virtual void showContents() = 0;
};

class ProcessStarter {
 public:
  virtual ~ProcessStarter() = default;
  // Starts `program` with `arguments` in `folder`, not waited for and never
  // through a shell. False when it could not be started.
  virtual bool startDetached(const std::string& program, const std::vector<std::string>& arguments,
                             const std::string& folder) = 0;
};

class Clock {
 public:
  virtual ~Clock() = default;
  virtual std::chrono::system_clock::time_point now() = 0;
};

}  // namespace kalvora::platform
