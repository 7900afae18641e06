// Instrument files (*.kvi): the global settings, the description and the 32
// voices, each active voice with full copies of its two wave presets and its
// volume envelope. The writer writes version 30; the reader reads every
// version (older files lack fields, which get their defaults; a version above
// 30 reads as 30). Qt-free.
//
// Reading happens in two steps. ParseInstrument turns the bytes into a staging
// record and refuses a damaged file as a whole; only a file read to its last
// field reaches ApplyInstrument, which changes the document and merges the
// inline presets and envelopes into the tables. A cut file therefore never
// adds half-read (zero-filled) presets to the libraries.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/Document.h"
#include "core/FileAccess.h"

inline constexpr char kInstrumentMagic[] = "Kalvora Instrument File";
inline constexpr std::uint8_t kInstrumentVersion = 30;
inline constexpr char kWrongInstrumentFile[] = "Wrong Kalvora Instrument File";
inline constexpr char kDamagedInstrumentFile[] =
    "The instrument file ends too early; it is damaged and was not loaded";
// The longest voice slot: an active voice whose name, preset names and
// envelope name are at their bounds and whose envelope has every point.
inline constexpr std::uintmax_t kMaxVoiceSlotSize =
    1 + (TVoice::kMaxName + 1) + 2 + 2 * (TWavePreset::kMaxName + 1 + TWavePreset::kSamples) + 2 + 2 + 1 + 1 + 2 +
    1 + 1 + 4 + 1 + 2 + 4 + 1 + (TVolumeEnvelope::kMaxName + 1 + 1 + 2 * TVolumeEnvelope::kMaxPoints) + 1 + 2 + 2;
// The largest file the writer makes of what the windows let a person make:
// a description typed to its bound (each line break becomes the zero byte
// that ends a line, and the last line adds one), an effect order of all six
// letters and 32 such voices.
inline constexpr std::uintmax_t kLargestInstrumentFile =
    sizeof kInstrumentMagic + 1 + 2 + (TInGlobSettings::kMaxDescription + 1) + 1 + 2 + (6 + 1) + 10 + 4 + 1 + 1 + 2 +
    1 + 2 + 2 + TInstrument::kVoices * kMaxVoiceSlotSize;
// The size bound of an instrument file, taken by every reader (the load
// commands, the open dialog's preview, the renderer) and checked by the
// writer. 16 MiB, what earlier versions read, is far above the largest file
// the windows make, so every file they wrote still loads.
inline constexpr std::uintmax_t kMaxInstrumentFileSize = FileSizeBound(kLargestInstrumentFile, 16u * 1024u * 1024u);

// The file is not an instrument file (wrong magic) or is damaged; what() is
// the message for the person.
class EInstrumentFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
class EWrongInstrumentFile : public EInstrumentFileError {
 public:
  EWrongInstrumentFile() : EInstrumentFileError(kWrongInstrumentFile) {}
};
// The instrument holds a value the file cannot keep; nothing was written.
// The message names the voice and is Windows-1252 text, as the name is.
class EInstrumentNotSaved : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A preset or envelope as a voice refers to it: a full inline copy (newer
// files) or only a name (presets before version 24, envelopes before 25).
struct TStagedPreset {
  bool ByName = false;
  TWavePreset Preset;
};
struct TStagedEnvelope {
  bool ByName = false;
  TVolumeEnvelope Envelope;
};

struct TStagedVoice {
  bool Active = false;
  TVoice Voice;  // every field but the three references; defaults where the version lacks one
  TStagedPreset Source, Dest;
  TStagedEnvelope Envelope;
};

struct TStagedInstrument {
  int Version = 0;
  std::vector<std::string> Description;
  std::uint8_t Quality = 2;
  int DetuneOctave = 0, DetuneNote = 0;
  std::string EffectOrder;
  std::array<std::uint8_t, 10> Eq{60, 60, 60, 60, 60, 60, 60, 60, 60, 60};
  std::array<std::uint8_t, 4> Distortion{60, 0, 0, 0};
  std::uint8_t Volume = 60;
  TLowpassStored Lowpass{3, 11025, 60};
  std::uint16_t FadeIn = 0, FadeOut = 0;
  std::array<TStagedVoice, TInstrument::kVoices> Voices{};
};

// Throws EWrongInstrumentFile or EInstrumentFileError (kDamagedInstrumentFile).
TStagedInstrument ParseInstrument(const std::vector<std::uint8_t>& bytes);

enum class TNameKind { WavePreset, VolumeEnvelope };
// Asked when an inline entry's name is held by a different entry: the clashing
// name in, a new name out (cut to its length by the caller). Nothing: the
// person gave no name; the reader then picks a free one itself.
using TAskNewName = std::function<std::optional<std::string>(TNameKind, const std::string& clash)>;

struct TApplyResult {
  bool PresetsAdded = false;
  bool EnvelopesAdded = false;
};

// Into the document: the global settings, then for each voice the reset
// values and the voice read from the file, with its presets and envelope
// merged into the tables (an equal entry is reused, a clashing name is asked
// about, a full table gives entry 1). Sets the library modified flags.
TApplyResult ApplyInstrument(const TStagedInstrument& staged, TInstrumentDocument& doc,
                             const TAskNewName& askName);

// Said after ApplyInstrument: which voices use entry 1 because a full table
// dropped the preset or envelope they brought, by the names those had, one
// line for each set of voices that lost the same; empty when every voice kept
// its own. Windows-1252 text, as the names are.
std::string DroppedEntriesMessage(const TStagedInstrument& staged, const TInstrumentDocument& doc);

// The merge of one inline entry; returns the index the voice is to use.
int MergeWavePreset(TInstrumentDocument& doc, TWavePreset p, const TAskNewName& askName,
                    bool* added = nullptr);
int MergeVolumeEnvelope(TInstrumentDocument& doc, TVolumeEnvelope e, const TAskNewName& askName,
                        bool* added = nullptr);

// The file contents of version 30. The file keeps Time and StartDelay in 16
// bits and Repeats in 8; an instrument with a larger value (or with a voice
// whose preset or envelope is not in the tables) is refused with
// EInstrumentNotSaved naming the voice, never written wrapped.
std::vector<std::uint8_t> InstrumentBytes(const TInstrumentDocument& doc);

// Whole files. Load: a missing file gives nothing (found = false); Save
// replaces the file through a temporary file (EByteFileError on failure, also
// for contents beyond kMaxInstrumentFileSize, which are refused before
// anything is written).
std::optional<TStagedInstrument> ReadInstrumentFile(const std::filesystem::path& file);
void WriteInstrumentFile(const std::filesystem::path& file, const TInstrumentDocument& doc);

// The save-sample dialog's initial name: the instrument file's name less its
// last four characters, then ".wav".
std::string WaveFileNameFor(const std::string& instrumentFile);
