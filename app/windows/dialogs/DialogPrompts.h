// The prompts of the program through its own boxes: the confirmation,
// question and message boxes made at start-up, and the new-name dialogs of
// the instrument reader.
#pragma once

#include <optional>
#include <string>

#include "platform/Prompts.h"

class QWidget;
class TfNewName;

class TDialogPrompts : public kalvora::platform::Prompts {
 public:
  explicit TDialogPrompts(QWidget* parent = nullptr) : parent_(parent) {}
  int confirm(const std::string& text) override;
  int question(const std::string& text) override;
  void message(const std::string& text) override;
  std::optional<std::string> newPresetName(const std::string& clash) override;
  std::optional<std::string> newEnvelopeName(const std::string& clash) override;

 private:
  std::string AskNewName(TfNewName& dialog, const std::string& clash);
  QWidget* parent_;
};
