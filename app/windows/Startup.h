// Program start: the twelve long-lived windows, created in their fixed order.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "windows/Main.h"

class QObject;
class TfInGlob;
class TfLoadInst;
class TfMacroRec;
class TfMessage;
class TfQuestion;
class TfSure;
class TfViewWave;
class TfVolumeEnvelopeReport;
class TfWaveGen;
class TfWavePresetReport;

struct TKalvoraWindows {
  std::unique_ptr<TfMain> Main;  // owns the others (children or owned objects)
  TfLoadInst* LoadInst = nullptr;
  TfSure* Sure = nullptr;
  TfQuestion* Question = nullptr;
  TfWavePresetReport* WavePresetReport = nullptr;
  TfVolumeEnvelopeReport* VolumeEnvelopeReport = nullptr;
  TfMessage* Message = nullptr;
  TfTools* Tools = nullptr;
  TfMacroRec* MacroRec = nullptr;
  TfWaveGen* WaveGen = nullptr;
  TfInGlob* InGlob = nullptr;
  TfViewWave* ViewWave = nullptr;
};

// Told of each window right after it was created, with its class name.
using TWindowCreated = std::function<void(const std::string& className, QObject* window)>;

// Creates the windows in start-up order. The main window is shown and
// activated for the first time before the second window exists. `arguments`
// are the command-line arguments after the program's name. Throws
// EStartupAborted when the main window cannot start.
TKalvoraWindows CreateKalvoraWindows(TMainServices services, const std::vector<std::string>& arguments,
                                     const TWindowCreated& onCreated = {});
