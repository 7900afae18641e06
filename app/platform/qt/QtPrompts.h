// The Qt implementations of the file dialogs, help, process start and the
// clock. The prompts use the program's own boxes and live with them
// (windows/dialogs/DialogPrompts.h).
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Prompts.h"

class QWidget;

namespace kalvora::platform {

class QtFileDialogs : public FileDialogs {
 public:
  explicit QtFileDialogs(QWidget* parent = nullptr) : parent_(parent) {}
  std::optional<std::string> openFile(const FileDialogOptions& options) override;
  std::optional<std::string> saveFile(const FileDialogOptions& options) override;

 private:
  QWidget* parent_;
};

// Opens a help file of HTML topics in a browser window; a topic keyword is an
// anchor name in that file.
class QtHelp : public Help {
 public:
  explicit QtHelp(std::string helpFile) : helpFile_(std::move(helpFile)) {}
  ~QtHelp() override;
  void setHelpFile(std::string helpFile) { helpFile_ = std::move(helpFile); }
  const std::string& helpFile() const { return helpFile_; }
  void showTopic(const std::string& keyword) override;
  void showContents() override;

 private:
  void show(const std::string& anchor);
  std::string helpFile_;
  QWidget* window_ = nullptr;
};

class QtProcessStarter : public ProcessStarter {
 public:
  bool startDetached(const std::string& program, const std::vector<std::string>& arguments,
                     const std::string& folder) override;
};

class SystemClock : public Clock {
 public:
  std::chrono::system_clock::time_point now() override { return std::chrono::system_clock::now(); }
};

// Qt keeps settings of its own (the file dialogs' recent folders and view,
// the colour dialog's custom colours); they go to the program's folder with
// its other files, not to the home folder. A folder whose name Qt cannot
// spell (not UTF-8) would be created anew beside it: nothing is kept then.
void KeepQtSettingsIn(const std::string& folder);

// Turns a filter of the form "Name|*.ext|Name|*.*" into Qt's "Name (*.ext);;Name (*.*)".
std::string QtFilterFromPairs(const std::string& filter);

}  // namespace kalvora::platform
