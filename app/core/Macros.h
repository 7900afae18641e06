// Macros: the step lines a recording writes, the recorder that writes them
// and the executor that replays them on the current voice. A step line is
// the step code as three digits followed by its value: an integer in
// decimal, a boolean as "1"/"0", or a text as it stands.
#pragma once

#include <cstdint>
#include <functional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/Document.h"
#include "core/MacroRecorder.h"

enum TMacroStepCode : int {
  kStepActive = 0,
  kStepName = 1,
  kStepNote = 2,
  kStepFinetune = 3,
  kStepSourcePreset = 4,
  kStepDestPreset = 5,
  kStepTime = 6,
  kStepRepeats = 7,
  kStepStartDelay = 8,
  kStepRepeatMode = 9,
  kStepPhase = 10,
  kStepMorphPreview = 11,
  kStepVolume = 12,
  kStepEnvelope = 13,
  kStepVibSpeedFrom = 14,
  kStepVibDepthFrom = 15,
  kStepVibSpeedTo = 16,
  kStepVibDepthTo = 17,
  kStepVibDirection = 18,  // the state of the "Up" button: 1 stores VibDirection false
  kStepVibSpeedFromX100 = 19,
  kStepVibDepthFromX100 = 20,
  kStepVibSpeedToX100 = 21,
  kStepVibDepthToX100 = 22,
  kStepFilterActive = 23,
  kStepFilterFrom = 24,
  kStepFilterTo = 25,
  kStepNoiseSource = 26,
  kStepNoiseDest = 27,
  kStepVoice = 900,      // change of the current voice number
  kStepCopyVoice = 901,  // voice copy, see MacroCopyVoiceText
};

// A line that cannot be read (the code or an integer value not a number).
class EMacroStepError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// The text as a 32-bit decimal integer (optional sign, surrounding blanks
// allowed); EMacroStepError "'x' is not a valid integer value" otherwise.
std::int32_t MacroStrToInt(const std::string& text);
// Booleans are true for exactly the number 1.
bool MacroStrToBool(const std::string& text);

struct TMacroStep {
  int Code = 0;
  std::string Value;
};
std::string MacroStepLine(int code, const std::string& value);
// The longest line the recorder writes: the code and a voice name, the
// longest text a step carries (numbers and copy steps are shorter).
inline constexpr std::size_t kMaxMacroStepLine = 3 + TVoice::kMaxName;
// Code from characters 1-3, value from the fourth on.
TMacroStep ParseMacroStep(const std::string& line);

// The value of a copy step: source and destination offsets from the current
// voice, then six flags for general, name, source, volume, vibrato and
// lowpass. Offsets of -9..99 take two characters each (the stored form);
// wider ones, which that form cannot hold, are written "src;dst;" before the
// flags.
std::string MacroCopyVoiceText(int sourceOffset, int destinationOffset, const TVoiceParts& parts);
struct TMacroCopy {
  int SourceOffset = 0, DestinationOffset = 0;
  TVoiceParts Parts;
};
TMacroCopy ParseMacroCopyVoiceText(const std::string& text);

// Runs one macro on the document's current voice. Step 900 moves the
// current voice; later steps act on the new one. Integer steps, absolute or
// relative, keep their field in the voice editor's range (VoiceIntFields);
// a preset or envelope name that is not in its table gives entry 1. The
// sample is marked out of date even when a bad line stops the macro (the
// lines before it are applied); the error is then passed on.
void ExecuteMacroSteps(TInstrumentDocument& doc, const TMacro& macro);

enum class TStartRecording { Started, NameExists, NameEmpty };
inline constexpr const char* kMacroNameExists = "The name exist already.";
inline constexpr const char* kMacroNameEmpty = "Please type in a name first.";
// Said when a step finds the macro full and the recording stops.
std::string MacroStepsFullMessage(bool stored);
// A recording into a full table could not be stored, so it is not started.
inline constexpr const char* kMacroTableFull =
    "The macro table is full (255 macros). Delete a macro before recording a new one.";

// The recorder: holds the pending macro and its lines between a start and a
// stop, and merges runs of edits of one field into one line.
class TMacroRecorder : public IMacroRecorder {
 public:
  explicit TMacroRecorder(TInstrumentDocument& doc) : doc_(doc) {}

  bool MacroNameExists(const std::string& name) const;
  // On success the document records (relative as the pending macro says).
  TStartRecording Start(const TMacro& pending);
  // Stores the pending macro with its lines when any were recorded (true);
  // recording then ends. A full table stores nothing and ends recording.
  bool Stop();
  bool TableFull() const { return static_cast<int>(doc_.Macros.size()) >= TInstrumentDocument::kMaxMacros; }
  // Called when a step finds the macro holding TMacro::kMaxSteps lines: the
  // step is not recorded and the recording has stopped as Stop does
  // (`stored` is Stop's answer).
  std::function<void(bool stored)> OnStepsFull;

  void RecordIntStep(int code, std::int32_t value) override;
  void RecordBoolStep(int code, bool value) override;
  void RecordTextStep(int code, const std::string& text) override;

  const TMacro& Pending() const { return pending_; }
  const std::vector<std::string>& Lines() const { return lines_; }

 private:
  void Record(int code, const std::string& value, bool sum);

  TInstrumentDocument& doc_;
  TMacro pending_;
  std::vector<std::string> lines_;
};

// --- the macro manager's view of a macro

// The "Parameter" and "Value" of one step line as the manager lists it.
// Finetune shows its offset from 50 in absolute macros; a code outside the
// table shows as "Unknown step" with the line's value.
struct TMacroStepRow {
  std::string Parameter, Value;
};
TMacroStepRow MacroStepRow(const std::string& line, bool relative);

// Bubble sort by name, byte-wise (ascending: "B" before "a" before "b");
// equal names keep their order.
void SortMacros(std::vector<TMacro>& macros, bool ascending);
