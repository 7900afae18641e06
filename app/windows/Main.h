// TfMain: the multiple-document main window. It owns the instrument document,
// the settings file object, the tool window's services and the sample's wave
// output, and carries the program's commands.
#pragma once

#include <chrono>
#include <filesystem>
#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include <QMainWindow>
#include <QPointer>

#include "core/Document.h"
#include "core/IniFile.h"
#include "core/MainSettings.h"

class QAction;
class QLabel;
class QMdiArea;
class QMenu;
class TBackgroundPainter;
class TEnhWaveOut;
class TfTools;
class TfMacroRec;
class TMDIBackground;
class TMRUFileList;
class TOfficeButton;
class TZRWTile;

namespace kalvora::platform {
class AudioSink;
class Clock;
class FileDialogs;
class Help;
class MidiInput;
class ProcessStarter;
class Prompts;
}  // namespace kalvora::platform

// What the main window talks to outside itself. Tests pass fakes.
struct TMainServices {
  std::filesystem::path DataFolder;  // where the program's data files lie
  kalvora::platform::Prompts* Prompts = nullptr;
  kalvora::platform::FileDialogs* FileDialogs = nullptr;
  kalvora::platform::Help* Help = nullptr;
  kalvora::platform::Clock* Clock = nullptr;
  kalvora::platform::MidiInput* Midi = nullptr;  // null: no MIDI input
  kalvora::platform::ProcessStarter* Processes = nullptr;  // null: the converter is not started
  // Sound devices for the sample and the previews; null: the system's default.
  std::function<std::unique_ptr<kalvora::platform::AudioSink>()> MakeAudioSink;
};

// The program cannot start (a library file is missing or damaged); the
// message has been shown already.
class EStartupAborted : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr const char* kCanNotPlay = "Kalvora can not play the sample at the moment, please wait ...";
inline constexpr const char* kCanNotSave = "Kalvora can not save the sample at the moment, please wait ...";
inline constexpr const char* kCanNotLoad = "Kalvora can not load an instrument at the moment, please wait ...";
inline constexpr const char* kCanNotClose = "Kalvora can not be closed while it calculates, please wait ...";
inline constexpr const char* kSaveChangesQuestion = "Save changes to the current instrument?";
// Follows the reason a settings or description file could not be read.
inline constexpr const char* kFileLeftAlone = ".\nKalvora starts with defaults and leaves this file as it is.";
inline constexpr const char* kNewInstrumentCaption = "Kalvora - new instrument";

class TfMain : public QMainWindow {
  Q_OBJECT

 public:
  // Runs the creation steps; throws EStartupAborted after showing the
  // message when a library file cannot be read.
  explicit TfMain(TMainServices services, QWidget* parent = nullptr);
  ~TfMain() override;

  // --- document services
  TInstrumentDocument& Document() { return doc_; }
  void SetSampleUpToDate(bool flag);
  bool IsSampleUpToDate() const { return doc_.SampleUpToDate(); }
  void SetInstrumentUpToDate(bool flag);
  bool IsInstrumentUpToDate() const { return doc_.InstrumentUpToDate(); }
  void SetStatus(TDocumentStatus status);
  void ResetVoice(int n) { doc_.ResetVoice(n); }

  // --- owned services
  TfTools* Tools() { return tools_.get(); }
  void CreateTools();  // the hidden tool window, created in start-up order
  TEnhWaveOut& WaveOut() { return *waveOut_; }
  TIniFile& Ini() { return *ini_; }
  TMainSettings& Settings() { return settings_; }
  std::vector<std::string>& DefaultDescription() { return defaultDescription_; }
  kalvora::platform::Prompts& Prompts() { return *services_.Prompts; }
  kalvora::platform::Help& Help() { return *services_.Help; }
  const TMainServices& Services() const { return services_; }
  kalvora::platform::FileDialogs& FileDialogs() { return *services_.FileDialogs; }
  QMdiArea* MdiArea() const;

  // --- status line and hints
  void ShowStatusText(const std::string& text);  // Windows-1252, as the libraries' names
  void ShowStatusLine(const QString& text);
  void ShowHint(const QString& longHint);
  QString StatusText() const;

  // --- settings and window places
  void LoadSettings();
  void SaveSettings();
  void RestoreFormPosition(QWidget* window, const std::string& key);
  void RestoreFormSize(QWidget* window, const std::string& key);
  void SaveFormPosition(QWidget* window, const std::string& key);
  void SaveFormSize(QWidget* window, const std::string& key);
  // Windows whose places SaveSettings stores (the long-lived ones).
  void RegisterPlacedWindow(const std::string& key, QWidget* window, bool withSize);

  // --- libraries
  void LoadWavePresets();
  void LoadVolumeEnvelopes();
  void LoadMacros();
  void SaveWavePresets();
  void SaveVolumeEnvelopes();
  void SaveMacros();
  void RebuildMacroMenu();
  // Takes the keys of the commands and macros off the child windows' system
  // menus (called when a child is added and when the macros change).
  void FreeCommandKeysInChildren();

  // --- commands
  void PlayCommand();
  void SaveSampleCommand();
  void LoadInstrumentCommand();
  // False when the instrument was not written (cancelled or not possible).
  bool SaveCurrentInstrument();
  bool SaveInstrumentAs();
  void ExecuteMacro(int number);
  void RunOptions();
  void ShowStatistics();
  void ShowAbout();
  void ShowHelpContents();
  void ApplyBackground();
  // Loads the instrument named by the only argument when that file exists.
  void LoadCommandLineInstrument(const std::vector<std::string>& arguments);
  // The instrument reader and writer behind every command that loads or
  // saves an instrument (tests put recorders in their place).
  std::function<bool(const std::filesystem::path&)> LoadInstrumentFile = [this](const auto& f) {
    return LoadInstrument(f);
  };
  std::function<bool(const std::filesystem::path&)> SaveInstrumentFile = [this](const auto& f) {
    return SaveInstrument(f);
  };

  // --- instrument and sample files
  // Load: true when the file was read into the document. A missing file does
  // nothing; a foreign or damaged one is reported and changes nothing.
  bool LoadInstrument(const std::filesystem::path& file);
  // Save: false (after a message) when the instrument could not be written.
  bool SaveInstrument(const std::filesystem::path& file);
  void CalculateAndSaveWave();
  // The one place where the sample is computed when it is out of date before
  // it is saved; true when the result buffer may be written.
  bool EnsureSampleUpToDate();
  void WriteWaveFile(const std::filesystem::path& file);
  // A new or loaded instrument: the waveform view shows nothing until the
  // next calculation, so an old picture is never taken for the new sound.
  void ClearWaveView();
  // The initial name of the save-sample dialog.
  std::string WaveFileName;
  // After an instrument was loaded: the voice editor refills its lists and
  // redraws, the waveform view clears.
  std::function<void()> OnInstrumentLoaded;
  TMRUFileList* MRUFileList = nullptr;

  void WaveOutDone();
  // Playing: the sample computed when out of date and handed to the wave
  // output; a MIDI note plays it resampled.
  bool PrepareSample();
  void PlaySample();
  void PlayAtPitch(int velocity, float ratio);
  void CalculateSample();
  void MidiInData(std::uint8_t status, std::uint8_t data1, std::uint8_t data2);

  // --- first activation; runs once (also when called again)
  void FormActivate();
  bool Activated() const { return activated_; }
  // Closing: the question, then the closing steps. False: the program goes on.
  bool FormCloseQuery();
  void FormClose();
  bool ClosingDone() const { return closed_; }

  // Elements the code touches (named as the window's controls).
  QLabel *lLogoVersion, *lWorking, *lPlaying, *lReady, *lSampleUpToDate, *lInstrumentUpToDate, *lStatus;
  TZRWTile *PanelTop, *PanelLeft, *PanelBottom;  // tiled panels
  QWidget *panAbout, *panHelp, *panExit;
  TOfficeButton *bPlay, *bSave, *bLoadInstrument, *bSaveInstrument, *bOptions, *bStatistics, *bAbout,
      *bHelp, *bExit;
  QMenu *MenuKalvora, *MenuEdit, *MenuView, *MenuVoice, *MenuInstrument, *MenuMacro, *MenuHelp,
      *MenuLoadAgain;
  QAction *MenuTopPanel, *MenuLeftPanel, *MenuBottomPanel;
  QAction *MenuStartRecording = nullptr, *MenuStopRecording = nullptr;

  // --- macros (MainMacros.cpp)
  // The recorder the voice editor sends its steps to; set by TfMacroRec.
  TfMacroRec* MacroRec() const { return macroRec_; }
  void SetMacroRec(TfMacroRec* recorder) { macroRec_ = recorder; }
  void StartRecordingCommand();
  // Whether a menu command or a macro already answers to `key`.
  bool HotKeyInUse(const QKeySequence& key) const;
  void StopRecordingCommand();
  void MacroManagerCommand();
  // Days since this run started, by the services' clock.
  double DaysSinceStart() const;
  // Shows the current voice in the voice editor after a macro ran.
  std::function<void()> ShowCurrentVoice;

 protected:
  bool event(QEvent* e) override;
  void closeEvent(QCloseEvent* e) override;
  bool eventFilter(QObject* watched, QEvent* e) override;

 private:
  void FormCreate();
  void BuildPanels();
  void BuildMenus();
  void LayoutLeftPanel();
  void LayoutTopPanel();
  void ApplyPanelChecks();
  void ApplyHints();
  void RebuildLoadAgainMenu();
  void MakeCurrentFile(const std::filesystem::path& file);
  void LoadDefaultDescription();
  void SaveDefaultDescription();
  void OpenMidiIn(int device);
  void CloseMidiIn();
  QAction* AddCommand(QMenu* menu, const QString& caption, const QKeySequence& key,
                      std::function<void()> handler);
  // Run-time errors end the command they happen in: shown, and the program goes on.
  void AtCommandBoundary(const std::function<void()>& fn);

  TMainServices services_;
  TInstrumentDocument doc_;
  std::unique_ptr<TIniFile> ini_;
  TMainSettings settings_;
  std::vector<std::string> defaultDescription_;
  std::unique_ptr<TfTools> tools_;
  std::unique_ptr<TEnhWaveOut> waveOut_;
  std::chrono::system_clock::time_point startTime_;
  QMdiArea* ClientArea = nullptr;
  TMDIBackground* MDIBackground = nullptr;  // paints ClientArea
  std::unique_ptr<TBackgroundPainter> clientPainter_;
  std::vector<QAction*> macroActions_;
  struct PlacedWindow {
    std::string key;
    QPointer<QWidget> window;  // null once the window is gone
    bool withSize;
  };
  std::vector<PlacedWindow> placed_;
  std::vector<std::pair<TOfficeButton*, QString>> shortHints_;
  TfMacroRec* macroRec_ = nullptr;
  bool activated_ = false;
  bool closed_ = false;
  bool closing_ = false;
  // False when the file exists but could not be read: writing it at close
  // would put defaults over what it holds.
  bool writeSettings_ = true;
  bool writeDescription_ = true;
};

// The hot key of a macro (key code in the low byte, +$2000 Shift, +$4000
// Ctrl, +$8000 Alt) as a key sequence; empty for keys it cannot name.
QKeySequence HotKeyToKeySequence(std::uint16_t hotKey);
