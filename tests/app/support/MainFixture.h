// A program started in a temporary data folder with fakes for every
// outside service, for the suites of the windows.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QTimer>

#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "Fakes.h"
#include "TempFolder.h"
#include "formats/LibraryFiles.h"
#include "platform/null/NullAudioSink.h"
#include "platform/null/NullMidiInput.h"
#include "windows/Main.h"
#include "windows/Startup.h"

namespace kalvora::test {

namespace fs = std::filesystem;

// Runs `fn` on the modal dialog of type T once its exec() has shown it.
template <class T>
void WhenShown(std::function<void(T&)> fn) {
  QTimer::singleShot(0, [fn] {
    for (QWidget* w : QApplication::topLevelWidgets())
      if (auto* d = qobject_cast<T*>(w); d && d->isVisible()) return fn(*d);
    ADD_FAILURE() << T::staticMetaObject.className() << " not shown";
  });
}

class MainTest : public TempFolderTest {
 protected:
  MainTest() : TempFolderTest("kalvora_main_") {}
  void SetUp() override {
    TempFolderTest::SetUp();
    TWavePresetTable presets;
    TWavePreset saw;
    saw.Name = "Sawtooth";
    for (int i = 0; i < 150; ++i) saw.Data[i] = static_cast<std::uint8_t>(i);
    presets.PushBack(saw);
    TVolumeEnvelopeTable envelopes;
    TVolumeEnvelope full;
    full.Name = "Full";
    full.Count = 2;
    full.X[1] = 255;
    full.Y[0] = full.Y[1] = 255;
    envelopes.PushBack(full);
    SaveWavePresets(dir_ / "kalvora.dap", presets);
    SaveVolumeEnvelopes(dir_ / "kalvora.dav", envelopes);
    SaveMacros(dir_ / "kalvora.dam", {{"Octave up", "one octave higher", 0x4000 + 'U', true, {"00212"}},
                                      {"No key", "", 0, false, {}}});
  }
  void TearDown() override {
    windows_ = {};
    TempFolderTest::TearDown();
  }

  TMainServices Services() {
    TMainServices s;
    s.DataFolder = dir_;
    s.Prompts = &prompts_;
    s.FileDialogs = &dialogs_;
    s.Help = &help_;
    s.Clock = &clock_;
    s.Midi = &midi_;
    s.Processes = &processes_;
    s.MakeAudioSink = [] { return std::make_unique<kalvora::platform::NullAudioSink>(); };
    return s;
  }

  TfMain& Start(const std::vector<std::string>& arguments = {}, const TWindowCreated& onCreated = {}) {
    windows_ = CreateKalvoraWindows(Services(), arguments, onCreated);
    return *windows_.Main;
  }

  FakePrompts prompts_;
  FakeFileDialogs dialogs_;
  FakeHelp help_;
  FakeClock clock_;
  FakeProcessStarter processes_;
  kalvora::platform::NullMidiInput midi_;
  TKalvoraWindows windows_;
};

}  // namespace kalvora::test
