// The Qt implementations of the prompts, file dialogs, help, process start
// and the clock.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "platform/Prompts.h"

class QWidget;

namespace kalvora::platform {

class QtPrompts : public Prompts {
 public:
  explicit QtPrompts(QWidget* parent = nullptr) : parent_(parent) {}
  int confirm(const std::string& text) override;
  int question(const std::string& text) override;
  void message(const std::string& text) override;
  std::optional<std::string> enterName(const std::string& label, const std::string& current) override;

 private:
  QWidget* parent_;
};

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

// Turns a filter of the form "Name|*.ext|Name|*.*" into Qt's "Name (*.ext);;Name (*.*)".
std::string QtFilterFromPairs(const std::string& filter);

}  // namespace kalvora::platform
