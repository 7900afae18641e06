// TfMain's macro commands and the options and statistics commands.
#include "windows/Main.h"

#include <QAction>

#include "core/Macros.h"
#include "platform/MidiInput.h"
#include "platform/Prompts.h"
#include "windows/MacroRec.h"
#include "windows/ManagM.h"
#include "windows/Options.h"
#include "windows/Statist.h"

void TfMain::ExecuteMacro(int number) {
  if (number < 1 || number > static_cast<int>(doc_.Macros.size())) return;
  const TMacro macro = doc_.Macros[number - 1];
  const std::string title = "executing macro \"" + macro.Name + "\" ...";
  ShowStatusText(title);
  ExecuteMacroSteps(doc_, macro);  // a bad line ends the command here
  if (ShowCurrentVoice) ShowCurrentVoice();
  ShowStatusText(title + " ready");
}

void TfMain::StartRecordingCommand() {
  if (!macroRec_) return;
  if (macroRec_->Recorder().TableFull()) return services_.Prompts->message(kMacroTableFull);
  macroRec_->exec();
}

void TfMain::StopRecordingCommand() {
  if (macroRec_) macroRec_->StopRecording();
}

void TfMain::MacroManagerCommand() {
  {
    TfManagM manager(this);
    manager.exec();
    SaveFormPosition(&manager, "ManageM");
  }
  doc_.MacrosModified = true;
  RebuildMacroMenu();
}

double TfMain::DaysSinceStart() const {
  const std::chrono::duration<double> open = services_.Clock->now() - startTime_;
  return open.count() / 86400.0;
}

void TfMain::ShowStatistics() {
  TfStatist statist(this);
  statist.exec();
  SaveFormPosition(&statist, "Statist");
}

void TfMain::RunOptions() {
  if (services_.Midi && services_.Midi->isOpen()) CloseMidiIn();
  {
    TfOptions options(this, services_.FileDialogs, services_.Midi);
    if (options.exec() == kalvora::platform::mrOk) doc_.DefaultVoiceNames = settings_.DefaultVoiceNames;
    SaveFormPosition(&options, "Options");
  }
  ApplyBackground();
  if (settings_.MidiEnabled) OpenMidiIn(settings_.MidiDeviceID);
  ApplyHints();
}
