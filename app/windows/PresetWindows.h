// What the wave-preset windows (the free editor and the additive synthesis)
// take from the program, and the calls that open them modally. The voice
// editor and the main menu open them through ShowFreeEdit / ShowAddSynth.
#pragma once

#include <functional>
#include <memory>
#include <string>

class QWidget;
class TfMain;
class TfTools;
class TIniFile;
class TInstrumentDocument;

namespace kalvora::platform {
class AudioSink;
class FileDialogs;
class Help;
class Prompts;
}  // namespace kalvora::platform

struct TPresetWindowHost {
  TInstrumentDocument* Document = nullptr;
  TfTools* Tools = nullptr;  // the table operations and the previews
  kalvora::platform::Prompts* Prompts = nullptr;
  kalvora::platform::FileDialogs* FileDialogs = nullptr;  // the import's open dialog
  kalvora::platform::Help* Help = nullptr;
  TIniFile* Ini = nullptr;  // the synthesis' slider memories
  std::function<std::unique_ptr<kalvora::platform::AudioSink>()> MakeAudioSink;  // null: default device
  std::function<void(QWidget*, const std::string&)> RestorePosition;
  std::function<void(QWidget*, const std::string&)> StorePosition;
};

// The main window's services for the preset windows.
TPresetWindowHost PresetWindowHost(TfMain& main);

// Create the window, show it modally, free it. Return the modal result
// (the windows have only Close: 2).
int ShowFreeEdit(TfMain& main, QWidget* parent = nullptr);
int ShowAddSynth(TfMain& main, QWidget* parent = nullptr);

// The import and Add refuse a full table with this message, before anything else.
inline constexpr const char* kTooManyPresets = "Too many presets.";
