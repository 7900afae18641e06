// Scripted stand-ins for the platform interfaces. A prompt or dialog that the
// test did not announce with expect...() fails the test; announced ones that
// never came fail it when the fake is destroyed.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <deque>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "platform/Prompts.h"

namespace kalvora::test {

using kalvora::platform::mrCancel;
using kalvora::platform::mrNo;
using kalvora::platform::mrOk;
using kalvora::platform::mrYes;

class FakePrompts : public kalvora::platform::Prompts {
 public:
  enum class Kind { Confirm, Question, Message, PresetName, EnvelopeName };

  struct Shown {
    Kind kind;
    std::string text;
  };

  ~FakePrompts() override {
    for (const auto& e : expected_)
      ADD_FAILURE() << "expected " << name(e.kind) << " was never shown: \"" << e.text << "\"";
  }

  // An empty `text` accepts any text.
  void expectConfirm(std::string text, int answer) { expected_.push_back({Kind::Confirm, std::move(text), answer}); }
  void expectQuestion(std::string text, int answer) { expected_.push_back({Kind::Question, std::move(text), answer}); }
  void expectMessage(std::string text = {}) { expected_.push_back({Kind::Message, std::move(text), mrOk}); }

  // The new-name dialog for the clashing name `clash` (empty: any) and the
  // name typed into it; nothing = the reader is left to pick one.
  void expectPresetName(std::string clash, std::optional<std::string> answer) {
    expectNewName(Kind::PresetName, std::move(clash), std::move(answer));
  }
  void expectEnvelopeName(std::string clash, std::optional<std::string> answer) {
    expectNewName(Kind::EnvelopeName, std::move(clash), std::move(answer));
  }
  std::optional<std::string> newPresetName(const std::string& clash) override {
    return newName(Kind::PresetName, clash);
  }
  std::optional<std::string> newEnvelopeName(const std::string& clash) override {
    return newName(Kind::EnvelopeName, clash);
  }

  int confirm(const std::string& text) override { return take(Kind::Confirm, text, mrNo); }
  int question(const std::string& text) override { return take(Kind::Question, text, mrCancel); }
  void message(const std::string& text) override { take(Kind::Message, text, mrOk); }

  const std::vector<Shown>& shown() const { return shown_; }
  bool allShown() const { return expected_.empty(); }

 private:
  struct Expected {
    Kind kind;
    std::string text;
    int answer;
  };

  static const char* name(Kind k) {
    switch (k) {
      case Kind::Confirm: return "confirmation";
      case Kind::Question: return "question";
      case Kind::Message: return "message";
      case Kind::PresetName: return "new preset name";
      case Kind::EnvelopeName: return "new envelope name";
    }
    return "?";
  }

  void expectNewName(Kind kind, std::string clash, std::optional<std::string> answer) {
    expected_.push_back({kind, std::move(clash), mrOk});
    names_.push_back(std::move(answer));
  }
  std::optional<std::string> newName(Kind kind, const std::string& clash) {
    if (take(kind, clash, mrCancel) != mrOk || names_.empty()) return std::nullopt;
    auto answer = names_.front();
    names_.pop_front();
    return answer;
  }

  int take(Kind kind, const std::string& text, int refusal) {
    shown_.push_back({kind, text});
    if (expected_.empty() || expected_.front().kind != kind ||
        (!expected_.front().text.empty() && expected_.front().text != text)) {
      ADD_FAILURE() << "unexpected " << name(kind) << ": \"" << text << "\"";
      return refusal;
    }
    int answer = expected_.front().answer;
    expected_.pop_front();
    return answer;
  }

  std::deque<Expected> expected_;
  std::deque<std::optional<std::string>> names_;
  std::vector<Shown> shown_;
};

class FakeFileDialogs : public kalvora::platform::FileDialogs {
 public:
  ~FakeFileDialogs() override {
    for (const auto& e : expected_)
      ADD_FAILURE() << (e.save ? "save" : "open") << " dialog was expected but never shown";
  }

  // `answer` nothing = the person cancels.
  void expectOpen(std::optional<std::string> answer) { expected_.push_back({false, std::move(answer)}); }
  void expectSave(std::optional<std::string> answer) { expected_.push_back({true, std::move(answer)}); }

  std::optional<std::string> openFile(const kalvora::platform::FileDialogOptions& o) override { return take(false, o); }
  std::optional<std::string> saveFile(const kalvora::platform::FileDialogOptions& o) override { return take(true, o); }

  // Options of every dialog shown, in order.
  const std::vector<kalvora::platform::FileDialogOptions>& shown() const { return shown_; }

 private:
  struct Expected {
    bool save;
    std::optional<std::string> answer;
  };

  std::optional<std::string> take(bool save, const kalvora::platform::FileDialogOptions& o) {
    shown_.push_back(o);
    if (expected_.empty() || expected_.front().save != save) {
      ADD_FAILURE() << "unexpected " << (save ? "save" : "open") << " dialog \"" << o.title << "\"";
      return std::nullopt;
    }
    auto answer = expected_.front().answer;
    expected_.pop_front();
    return answer;
  }

  std::deque<Expected> expected_;
  std::vector<kalvora::platform::FileDialogOptions> shown_;
};

// Records what help was asked for; "" stands for the contents.
class FakeHelp : public kalvora::platform::Help {
 public:
  void showTopic(const std::string& keyword) override { topics.push_back(keyword); }
  void showContents() override { topics.push_back(""); }
  std::vector<std::string> topics;
};

class FakeProcessStarter : public kalvora::platform::ProcessStarter {
 public:
  struct Start {
    std::string program;
    std::vector<std::string> arguments;
    std::string folder;
  };

  bool startDetached(const std::string& program, const std::vector<std::string>& arguments,
                     const std::string& folder) override {
    starts.push_back({program, arguments, folder});
    return result;
  }

  bool result = true;
  std::vector<Start> starts;
};

class FakeClock : public kalvora::platform::Clock {
 public:
  std::chrono::system_clock::time_point now() override { return current; }
  void advance(std::chrono::system_clock::duration d) { current += d; }
  std::chrono::system_clock::time_point current{std::chrono::hours(24 * 365 * 30)};
};

}  // namespace kalvora::test
