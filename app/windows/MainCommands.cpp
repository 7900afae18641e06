// TfMain's commands: play, save wave, load and save instruments, macros and
// the window commands. Each runs at a command boundary and leaves the work to
// the document, the file formats and the engine.
#include "windows/Main.h"

#include "components/EnhWave.h"
#include "formats/LibraryFiles.h"
#include "platform/MidiInput.h"
#include "platform/Prompts.h"
#include "windows/dialogs/LoadInst.h"
#include "components/SharedClip.h"
#include "windows/dialogs/SmallDialogs.h"

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

void TfMain::PlayCommand() {
  if (doc_.Status != TDocumentStatus::Ready) return ShowStatusText(kCanNotPlay);
  NotAvailable("Playing the sample");
}

void TfMain::SaveSampleCommand() {
  if (doc_.Status != TDocumentStatus::Ready) return ShowStatusText(kCanNotSave);
  NotAvailable("Saving the sample");
}

void TfMain::LoadInstrumentCommand() {
  if (doc_.Status != TDocumentStatus::Ready) return ShowStatusText(kCanNotLoad);
  if (auto* dialog = findChild<TfLoadInst*>()) {
    dialog->exec();
    return;
  }
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
void TfMain::ShowAbout() {
  TfAbout about(this);
  about.exec();
}
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
  // Notes and the sustain pedal reach the playing commands once they exist;
  // until then the input is opened and its messages are ignored.
  services_.Midi->open(device, this, [](std::uint8_t, std::uint8_t, std::uint8_t) {});
}

void TfMain::CloseMidiIn() {
  if (services_.Midi && services_.Midi->isOpen()) services_.Midi->close();
}

