// TfMain's commands: play, save wave, load and save instruments, macros and
// the window commands. Each runs at a command boundary and leaves the work to
// the document, the file formats and the engine.
#include "windows/Main.h"

#include <QApplication>
#include <QCoreApplication>

#include <algorithm>
#include <array>
#include <new>
#include <optional>
#include <utility>

#include "components/EnhWave.h"
#include "components/MRUList.h"
#include "engine/EngineArith.h"
#include "engine/NoteResample.h"
#include "engine/SampleComputation.h"
#include "formats/ByteStream.h"
#include "formats/InstrumentFile.h"
#include "formats/LibraryFiles.h"
#include "formats/WavFile.h"
#include "platform/MidiInput.h"
#include "platform/Prompts.h"
#include "platform/qt/LocalPaths.h"
#include "views/Windows1252.h"
#include "windows/ViewWave.h"
#include "windows/dialogs/LoadInst.h"
#include "windows/dialogs/SmallDialogs.h"

// Run-time errors end the command they happen in: shown, and the program goes on.
void TfMain::AtCommandBoundary(const std::function<void()>& fn) {
  try {
    fn();
  } catch (const std::bad_alloc&) {
    services_.Prompts->message("There is not enough memory to finish the command.");
  } catch (const std::exception& e) {
    services_.Prompts->message(e.what());
  }
}

// ---------------------------------------------------------------------------
// Libraries

void TfMain::LoadWavePresets() { ::LoadWavePresets(doc_.WavePresetPath, doc_.WavePresets); }
void TfMain::LoadVolumeEnvelopes() { ::LoadVolumeEnvelopes(doc_.VolumeEnvelopePath, doc_.VolumeEnvelopes); }
void TfMain::LoadMacros() { ::LoadMacros(doc_.MacroPath, doc_.Macros); }
void TfMain::SaveWavePresets() { ::SaveWavePresets(doc_.WavePresetPath, doc_.WavePresets); }
void TfMain::SaveVolumeEnvelopes() { ::SaveVolumeEnvelopes(doc_.VolumeEnvelopePath, doc_.VolumeEnvelopes); }
void TfMain::SaveMacros() { ::SaveMacros(doc_.MacroPath, doc_.Macros); }


// ---------------------------------------------------------------------------
// Commands

namespace {
// Puts the status back to Ready when a step fails or throws, so a failure
// cannot leave the program busy for good.
class TReadyGuard {
 public:
  explicit TReadyGuard(TfMain& main) : main_(main) {}
  ~TReadyGuard() {
    if (armed_) main_.SetStatus(TDocumentStatus::Ready);
  }
  void Release() { armed_ = false; }

 private:
  TfMain& main_;
  bool armed_ = true;
};
}  // namespace

void TfMain::PlayCommand() {
  if (doc_.Status != TDocumentStatus::Ready) return ShowStatusText(kCanNotPlay);
  AtCommandBoundary([&] {
    if (PrepareSample()) PlaySample();
  });
}

// True when the sample is ready in the result buffer and the wave output is
// open; the status is then Working. Otherwise the status is Ready again.
bool TfMain::PrepareSample() {
  if (doc_.Status != TDocumentStatus::Ready) return false;
  // Busy first: the messages let through below may carry another command.
  SetStatus(TDocumentStatus::Working);
  TReadyGuard guard(*this);
  QCoreApplication::processEvents();
  if (!IsSampleUpToDate()) CalculateSample();
  if (doc_.ResultBuffer.empty()) return false;  // no active voice: nothing to play
  if (!waveOut_->IsOpen() && !waveOut_->Open()) {
    services_.Prompts->message("The sound device could not be opened: " + waveOut_->LastError());
    return false;
  }
  guard.Release();
  return true;
}

void TfMain::CalculateSample() {
  const std::uint64_t changes = doc_.SampleChanges();
  // The computation works on a copy: edits made while it lets messages
  // through go to the next computation.
  const kalvora::engine::TSampleSnapshot snapshot = kalvora::engine::TakeSnapshot(doc_);
  waveOut_->Close();
  waveOut_->setSamples(kalvora::engine::RateOfQuality(snapshot.Quality));
  kalvora::engine::TLcgNoise noise(
      static_cast<std::uint32_t>(services_.Clock->now().time_since_epoch().count()));
  kalvora::engine::TComputeHooks hooks;
  hooks.ShowStatusText = [this](const std::string& t) { ShowStatusText(t); };
  hooks.ProcessMessages = [] { QCoreApplication::processEvents(); };
  kalvora::engine::TSampleResult result = kalvora::engine::CalculateSample(snapshot, noise, hooks);
  doc_.ResultBuffer = std::move(result.Bytes);
  doc_.ResultQuality = snapshot.Quality;
  settings_.CalculatedWaves = CountedOnce(settings_.CalculatedWaves);
  settings_.CalculationTime += result.Seconds / 86400.0;
  if (doc_.SampleChanges() == changes) SetSampleUpToDate(true);
  if (auto* view = findChild<TfViewWave*>()) {
    // The view reports its own progress; the used time stays the last word.
    const std::string usedTime = StatusText().toStdString();
    view->ShowNewSample();
    ShowStatusText(usedTime);
  }
}

void TfMain::PlaySample() {
  if (doc_.Status == TDocumentStatus::Playing) return;
  SetStatus(TDocumentStatus::Playing);
  if (!waveOut_->Write(doc_.ResultBuffer.data(), doc_.ResultBuffer.size())) {
    waveOut_->Close();
    SetStatus(TDocumentStatus::Ready);
    services_.Prompts->message("The sound device refused the sample.");
  }
}

void TfMain::PlayAtPitch(int velocity, float ratio) {
  if (doc_.Status == TDocumentStatus::Playing) return;
  const std::vector<std::uint8_t> block =
      kalvora::engine::ResampleForNote(doc_.ResultBuffer, ratio, settings_.MidiUseVelocity, velocity);
  SetStatus(TDocumentStatus::Playing);
  if (block.empty() || !waveOut_->Write(block.data(), block.size())) {
    waveOut_->Close();
    SetStatus(TDocumentStatus::Ready);
  }
}

void TfMain::MidiInData(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
  switch (status >> 4) {
    case 9:  // note on, any channel
      if (data2 > 0 && data1 >= 36 && data1 <= 96 && doc_.Status == TDocumentStatus::Ready) {
        AtCommandBoundary([&] {
          if (PrepareSample()) PlayAtPitch(data2, kalvora::engine::MidiNoteRatio(data1));
        });
      } else if (data2 == 0) {
        waveOut_->Stop();  // its done notification closes it and sets Ready
      }
      break;
    case 11:  // control change: the sustain pedal pressed down
      if (data1 == 64 && data2 == 127 && settings_.MidiUseSustainPedal) PlayCommand();
      break;
    default:
      break;
  }
}

void TfMain::SaveSampleCommand() {
  if (doc_.Status != TDocumentStatus::Ready) return ShowStatusText(kCanNotSave);
  CalculateAndSaveWave();
}

void TfMain::LoadInstrumentCommand() {
  if (doc_.Status != TDocumentStatus::Ready) return ShowStatusText(kCanNotLoad);
  // The open dialog with its preview; a plain file dialog where it is not made.
  if (auto* dialog = findChild<TfLoadInst*>()) {
    dialog->exec();
    return;
  }
  if (!services_.FileDialogs) return;
  kalvora::platform::FileDialogOptions o;
  o.title = "Load Instrument";
  o.filter = "Kalvora Instruments|*.kvi|All Files|*.*";
  o.defaultExt = "kvi";
  if (!doc_.CurrentInstrumentFile.empty()) o.initialDir = doc_.CurrentInstrumentFile.parent_path().string();
  auto chosen = services_.FileDialogs->openFile(o);
  if (chosen) LoadInstrumentFile(*chosen);
}

// ---------------------------------------------------------------------------
// Instrument files

namespace {
// A path is the system's bytes, not Windows-1252 like the libraries' names.
QString LoadingText(const std::filesystem::path& file) {
  return QStringLiteral("loading ") + kalvora::platform::FromLocalBytes(file.string()) + QStringLiteral(" ...");
}

// A file name that is kept (recent files, the current file) must name the
// same file wherever the program starts next: made absolute against the
// current folder, as bytes; links and ".." stay as typed.
std::filesystem::path FullPath(const std::filesystem::path& file) {
  std::error_code ec;
  const std::filesystem::path absolute = std::filesystem::absolute(file, ec);
  if (ec) return file;
  std::filesystem::path full;
  for (const std::filesystem::path& part : absolute)
    if (part != ".") full /= part;
  return full;
}

}  // namespace

bool TfMain::LoadInstrument(const std::filesystem::path& file) {
  // Also reached from the recent files and the command line, not only the
  // Load command: a calculation in progress must not see the voices change.
  if (doc_.Status != TDocumentStatus::Ready) {
    ShowStatusText(kCanNotLoad);
    return false;
  }
  // A missing file reads as nothing; a folder, FIFO or device is refused.
  // Read and checked whole before anything changes: a foreign or cut file
  // leaves the instrument, the libraries and the current file as they were.
  std::optional<TStagedInstrument> staged;
  try {
    staged = ReadInstrumentFile(file);
  } catch (const EInstrumentFileError& e) {
    services_.Prompts->message(e.what());
    return false;
  }
  if (!staged) return false;
  if (!IsInstrumentUpToDate()) {
    const int answer = services_.Prompts->question(kSaveChangesQuestion);
    if (answer == kalvora::platform::mrCancel) return false;
    // A save that was cancelled or failed ends the load like Cancel.
    if (answer == kalvora::platform::mrYes && !SaveCurrentInstrument()) return false;
  }
  SetStatus(TDocumentStatus::Working);
  ShowStatusLine(LoadingText(file));
  // A full table drops the entry whatever its name: nothing to ask then.
  auto askName = [this](TNameKind kind, const std::string& clash) -> std::optional<std::string> {
    if (kind == TNameKind::WavePreset)
      return doc_.WavePresets.Full() ? std::nullopt : services_.Prompts->newPresetName(clash);
    return doc_.VolumeEnvelopes.Full() ? std::nullopt : services_.Prompts->newEnvelopeName(clash);
  };
  ApplyInstrument(*staged, doc_, askName);
  const std::string dropped = DroppedEntriesMessage(*staged, doc_);
  MakeCurrentFile(file);
  SetSampleUpToDate(false);
  SetInstrumentUpToDate(true);
  SetStatus(TDocumentStatus::Ready);
  ShowStatusLine(LoadingText(file) + QStringLiteral(" ready"));
  ClearWaveView();
  if (OnInstrumentLoaded) OnInstrumentLoaded();
  // Said once the load is done, so the voices it names can be looked at.
  if (!dropped.empty()) services_.Prompts->message(FromWindows1252(dropped).toStdString());
  return true;
}

void TfMain::ClearWaveView() {
  if (auto* view = findChild<TfViewWave*>()) view->ClearView();
}

bool TfMain::SaveInstrument(const std::filesystem::path& file) {
  try {
    WriteInstrumentFile(file, doc_);
  } catch (const EInstrumentNotSaved& e) {
    services_.Prompts->message(FromWindows1252(e.what()).toStdString());
    return false;
  } catch (const EByteFileError& e) {
    services_.Prompts->message(e.what());
    return false;
  }
  MakeCurrentFile(file);
  SetInstrumentUpToDate(true);
  return true;
}

// The file just loaded or saved: current, first of the recent files, named
// in the title bar and giving the sample's file name.
void TfMain::MakeCurrentFile(const std::filesystem::path& name) {
  const std::filesystem::path file = FullPath(name);
  doc_.CurrentInstrumentFile = file;
  if (MRUFileList) MRUFileList->AddItem(file.string());
  if (MRUFileList) MenuLoadAgain = MRUFileList->Submenu();
  WaveFileName = WaveFileNameFor(file.string());
  setWindowTitle(QStringLiteral("Kalvora - ") + kalvora::platform::FromLocalBytes(file.filename().string()));
}

// ---------------------------------------------------------------------------
// Sample files

// Computes the sample when it is out of date (the caller has set Working).
// An edit made meanwhile leaves the flag out of date, but what was computed
// is the instrument as the command found it, and that is saved.
bool TfMain::EnsureSampleUpToDate() {
  if (!IsSampleUpToDate()) CalculateSample();
  return true;
}

void TfMain::CalculateAndSaveWave() {
  if (doc_.Status != TDocumentStatus::Ready || !services_.FileDialogs) return;
  kalvora::platform::FileDialogOptions o;
  o.title = "Save Sample";
  o.filter = "Windows PCM WAV|*.wav|All Files|*.*";
  o.defaultExt = "wav";
  o.askOverwrite = true;
  if (!WaveFileName.empty()) {
    const std::filesystem::path wave = WaveFileName;
    o.initialDir = wave.parent_path().string();
    o.initialFile = wave.filename().string();
  }
  auto chosen = services_.FileDialogs->saveFile(o);
  if (!chosen) return;
  const std::filesystem::path file = *chosen;
  SetStatus(TDocumentStatus::Working);
  // Ready again however the steps end.
  struct ReadyAgain {
    TfMain* m;
    ~ReadyAgain() { m->SetStatus(TDocumentStatus::Ready); }
  } ready{this};
  if (!EnsureSampleUpToDate()) return;
  WriteWaveFile(file);
  if (settings_.AutoConvert && services_.Processes) {
    std::error_code ec;
    if (std::filesystem::is_regular_file(settings_.AutoConvertProgram, ec)) {
      const TConverterCall call = ConverterCall(settings_.AutoConvertProgram, file, settings_.AutoConvertOptions);
      services_.Processes->startDetached(call.Program, call.Arguments, call.Folder);  // not waited for
    }
  }
}

void TfMain::WriteWaveFile(const std::filesystem::path& file) {
  // The rate the buffer was computed at: the quality may have changed since.
  ::WriteWaveFile(file, doc_.ResultBuffer, doc_.ResultQuality);
}

namespace {
kalvora::platform::FileDialogOptions InstrumentSaveDialog(const std::filesystem::path& current) {
  kalvora::platform::FileDialogOptions o;
  o.title = "Save Instrument";
  o.filter = "Kalvora Instruments|*.kvi|All Files|*.*";
  o.defaultExt = "kvi";
  o.askOverwrite = true;
  if (!current.empty()) {
    o.initialDir = current.parent_path().string();
    o.initialFile = current.filename().string();
  }
  return o;
}
}  // namespace

bool TfMain::SaveCurrentInstrument() {
  if (doc_.CurrentInstrumentFile.empty()) return SaveInstrumentAs();
  return SaveInstrumentFile(doc_.CurrentInstrumentFile);
}

bool TfMain::SaveInstrumentAs() {
  if (!services_.FileDialogs) return false;  // no way to ask for a file name
  auto chosen = services_.FileDialogs->saveFile(InstrumentSaveDialog(doc_.CurrentInstrumentFile));
  if (!chosen) return false;
  // The writer makes the file current once it was written.
  return SaveInstrumentFile(*chosen);
}

void TfMain::ShowAbout() {
  TfAbout about(this);
  about.exec();
}
void TfMain::ShowHelpContents() { services_.Help->showContents(); }

void TfMain::LoadCommandLineInstrument(const std::vector<std::string>& arguments) {
  if (arguments.size() != 1) return;
  std::error_code ec;
  const std::filesystem::path typed = arguments[0];
  // Anything else of that name (a folder, a FIFO) is refused by the load.
  if (!std::filesystem::exists(typed, ec)) return;
  // Against the starting folder, whenever the load runs.
  const std::filesystem::path file = FullPath(typed);
  AtCommandBoundary([&] { LoadInstrumentFile(file); });
}

void TfMain::WaveOutDone() {
  waveOut_->Close();
  SetStatus(TDocumentStatus::Ready);
}

void TfMain::OpenMidiIn(int device) {
  if (!services_.Midi) return;
  if (!services_.Midi->open(device, this, [this](std::uint8_t s, std::uint8_t a, std::uint8_t b) { MidiInData(s, a, b); }))
    services_.Prompts->message("The MIDI input device could not be opened.");
}

void TfMain::CloseMidiIn() {
  if (services_.Midi && services_.Midi->isOpen()) services_.Midi->close();
}

