// The prompts of the program through its own boxes: the confirmation,
// question and message boxes made at start-up, and a name entry.
#pragma once

#include <optional>
#include <string>

#include "platform/Prompts.h"

class QWidget;

class TDialogPrompts : public kalvora::platform::Prompts {
 public:
  explicit TDialogPrompts(QWidget* parent = nullptr) : parent_(parent) {}
  int confirm(const std::string& text) override;
  int question(const std::string& text) override;
  void message(const std::string& text) override;
  std::optional<std::string> enterName(const std::string& label, const std::string& current) override;

 private:
  QWidget* parent_;
};
