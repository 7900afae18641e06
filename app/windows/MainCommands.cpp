// TfMain's commands: play, save wave, load and save instruments, macros and
// the window commands. Each runs at a command boundary and leaves the work to
// the document, the file formats and the engine.
#include "windows/Main.h"

#include <QCoreApplication>

#include "components/EnhWave.h"
#include "engine/EngineArith.h"
#include "engine/NoteResample.h"
#include "engine/SampleComputation.h"
#include "formats/LibraryFiles.h"
#include "platform/MidiInput.h"
#include "platform/Prompts.h"

// Run-time errors end the command they happen in: shown, and the program goes on.
void TfMain::AtCommandBoundary(const std::function<void()>& fn) {
  try {
    fn();
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
  settings_.CalculatedWaves += 1;
  settings_.CalculationTime += result.Seconds / 86400.0;
  if (doc_.SampleChanges() == changes) SetSampleUpToDate(true);
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
  if (!IsSampleUpToDate()) {
    AtCommandBoundary([&] {
      SetStatus(TDocumentStatus::Working);
      TReadyGuard guard(*this);
      CalculateSample();
    });
    if (!IsSampleUpToDate()) return;
  }
  NotAvailable("Saving the sample");
}

void TfMain::LoadInstrumentCommand() {
  if (doc_.Status != TDocumentStatus::Ready) return ShowStatusText(kCanNotLoad);
  NotAvailable("Loading an instrument");
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
  if (!SaveInstrumentFile || !services_.FileDialogs) {
    NotAvailable("Saving instruments");
    return false;
  }
  if (doc_.CurrentInstrumentFile.empty()) {
    auto chosen = services_.FileDialogs->saveFile(InstrumentSaveDialog({}));
    if (!chosen) return false;
    doc_.CurrentInstrumentFile = *chosen;
  }
  return SaveInstrumentFile(doc_.CurrentInstrumentFile);
}

bool TfMain::SaveInstrumentAs() {
  if (!SaveInstrumentFile || !services_.FileDialogs) {
    NotAvailable("Saving instruments");
    return false;
  }
  auto chosen = services_.FileDialogs->saveFile(InstrumentSaveDialog(doc_.CurrentInstrumentFile));
  if (!chosen) return false;
  doc_.CurrentInstrumentFile = *chosen;
  return SaveInstrumentFile(doc_.CurrentInstrumentFile);
}

void TfMain::ExecuteMacro(int) { NotAvailable("Running macros"); }
void TfMain::RunOptions() { NotAvailable("The options window"); }
void TfMain::ShowStatistics() { NotAvailable("The statistics window"); }
void TfMain::ShowAbout() { NotAvailable("The about window"); }
void TfMain::ShowHelpContents() { services_.Help->showContents(); }

void TfMain::LoadCommandLineInstrument(const std::vector<std::string>& arguments) {
  if (arguments.size() != 1) return;
  std::error_code ec;
  const std::filesystem::path file = arguments[0];
  if (!std::filesystem::is_regular_file(file, ec)) return;
  AtCommandBoundary([&] {
    if (LoadInstrumentFile) LoadInstrumentFile(file);
    else NotAvailable("Loading instrument files");
  });
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

