// What the voice editor and its dialogs compute without any window: the
// frequency read-out and its inverse, the labels, the table of edited voice
// fields with their macro step codes, the recording of one edit, the text of
// the copy step and the points of the editor's drawings. Qt-free.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "core/Document.h"
#include "core/MacroRecorder.h"
#include "core/WaveCycle.h"  // RoundHalfEven


// Frequency of a note (0..72) with a fine-tune (0..100, 50 = none).
double VoiceFrequency(const std::array<double, TInstrumentDocument::kNotes>& noteFrequency, int note, int finetune);
// "%.2f", always with a point whatever the locale.
std::string FormatFrequency(double f);
// The lowest note whose fine-tune range (0..100) reaches `f`, with that
// fine-tune; nothing when no note does.
std::optional<std::pair<int, int>> NoteForFrequency(const std::array<double, TInstrumentDocument::kNotes>& noteFrequency,
                                                    double f);
// "C-1", "C#1", ... "B-6", "C-7" for 0..72.
std::string NoteName(int note);
// The phase position 0..149 as degrees followed by " °" (UTF-8).
std::string PhaseLabel(int phase);
// Time x Repeats + StartDelay followed by " ms", in 64 bits (the product
// does not fit 32 bits at the fields' maxima).
std::string TotalLengthLabel(const TVoiceTiming& t);

enum class TStepKind { Boolean, Integer, Text };

// Macro step codes of the voice editor.
enum TVoiceStep : int {
  stActive = 0, stName = 1, stNote = 2, stFinetune = 3, stSourcePreset = 4, stDestPreset = 5, stTime = 6,
  stRepeats = 7, stStartDelay = 8, stRepeatMode = 9, stPhase = 10, stMorphPreview = 11, stVolume = 12,
  stEnvelope = 13, stVibSpeedFrom = 14, stVibDepthFrom = 15, stVibSpeedTo = 16, stVibDepthTo = 17,
  stVibDirection = 18, stVibSpeedFromX100 = 19, stVibDepthFromX100 = 20, stVibSpeedToX100 = 21,
  stVibDepthToX100 = 22, stFilterActive = 23, stFilterFrom = 24, stFilterTo = 25, stNoiseSource = 26,
  stNoiseDest = 27, stCurrentVoice = 900, stCopyVoice = 901
};

// One numeric or boolean field of a voice: its step, its range and access.
struct TVoiceIntField {
  int step;
  TStepKind kind;  // Boolean or Integer
  int min, max;
  std::function<int(const TVoice&)> get;
  std::function<void(TVoice&, int)> set;  // clamps into min..max
};
// Every numeric and boolean field the editor records (not the name, presets
// and envelope, which record texts).
const std::vector<TVoiceIntField>& VoiceIntFields();
const TVoiceIntField& VoiceIntField(int step);

// Sends one edit to the recorder when recording is on. Integer steps carry
// the new value, or new minus old in relative recording; step 900 always
// carries the change.
void RecordIntEdit(const TInstrumentDocument& doc, IMacroRecorder* recorder, int step, long oldValue, long newValue);
void RecordBoolEdit(const TInstrumentDocument& doc, IMacroRecorder* recorder, int step, bool value);
void RecordTextEdit(const TInstrumentDocument& doc, IMacroRecorder* recorder, int step, const std::string& text);

// Drawing points.
struct TPoint {
  int x, y;
  bool operator==(const TPoint&) const = default;
};
// A random integer 0..148 for the noise drawings.
using TNoiseSource = std::function<int()>;
std::vector<TPoint> PresetPoints(const TWavePreset& preset, bool noise, const TNoiseSource& random);
std::vector<TPoint> MorphPoints(const TWavePreset& source, const TWavePreset& dest, const TVoiceMorph& morph,
                                const TNoiseSource& random);
std::vector<TPoint> EnvelopePoints(const TVolumeEnvelope& envelope, int volume, int width, int height);

// The about box's 7:9 figure: 1001 points in a box of w x h.
std::vector<TPoint> AboutFigure(int w, int h);
