// The instrument document: wave-preset and volume-envelope tables (which are
// also the libraries kalvora.dap / kalvora.dav), the macro table, the 32
// voices, the document flags and status, the result buffer and the pitch
// tables. Qt-free; texts are Windows-1252 bytes held in std::string and
// compared byte-wise.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

// One cycle of a wave: 150 values 0..149, 75 is the zero line.
struct TWavePreset {
  static constexpr std::size_t kMaxName = 30;
  static constexpr int kSamples = 150;
  std::string Name;
  std::array<std::uint8_t, kSamples> Data{};
};

// A volume envelope. Points 1..255 of the text live at X[p - 1], Y[p - 1];
// only the first Count points are in use, in ascending X.
struct TVolumeEnvelope {
  static constexpr std::size_t kMaxName = 20;
  static constexpr int kMaxPoints = 255;
  std::array<std::uint8_t, kMaxPoints> X{};
  std::array<std::uint8_t, kMaxPoints> Y{};
  std::uint8_t Count = 0;
  std::string Name;
};

// One voice of the instrument; fields in their declared order.
struct TVoice {
  static constexpr std::size_t kMaxName = 50;
  bool Active = false;
  std::string Name;
  std::uint8_t Note = 26;
  std::uint8_t Finetune = 50;
  std::uint8_t SourcePreset = 1;
  std::uint8_t DestPreset = 1;
  bool NoiseSource = false;
  bool NoiseDest = false;
  std::int32_t Time = 1000;
  std::int32_t Repeats = 1;
  std::int32_t StartDelay = 0;
  bool RepeatMode = false;
  std::uint8_t Phase = 0;
  std::uint8_t MorphPreview = 50;
  std::uint8_t Volume = 100;
  std::uint8_t Envelope = 1;
  std::uint8_t VibSpeedFrom = 0;
  std::uint8_t VibDepthFrom = 0;
  std::uint8_t VibSpeedTo = 0;
  std::uint8_t VibDepthTo = 0;
  bool VibDirection = false;
  bool VibCopyUp = false;
  bool VibCopyDown = true;
  bool VibSpeedFromX100 = false;
  bool VibDepthFromX100 = false;
  bool VibSpeedToX100 = false;
  bool VibDepthToX100 = false;
  bool FilterActive = false;
  std::uint8_t FilterFrom = 0;
  std::uint8_t FilterTo = 0;
  bool FilterCopyUp = false;
  bool FilterCopyDown = true;

  bool operator==(const TVoice&) const = default;
};

// A recorded macro; the step lines are "ccc" + value (see the macro unit).
struct TMacro {
  std::string Name;
  std::string Description;
  std::uint16_t HotKey = 0;
  bool Relative = false;
  std::vector<std::string> Steps;
};

enum class TTableResult { Added, NameExists, Full };

// A library table: entries 1..Count, no holes, at most 254, unique names.
// Plain storage; the operations that also keep the voices consistent are
// members of TInstrumentDocument.
template <class Entry>
class TLibraryTable {
 public:
  static constexpr int kCapacity = 254;

  int Count() const { return static_cast<int>(entries_.size()); }
  bool Full() const { return Count() >= kCapacity; }
  // index 1..Count; throws std::out_of_range otherwise.
  const Entry& operator[](int index) const { return entries_.at(Slot(index)); }
  Entry& At(int index) { return entries_.at(Slot(index)); }

  // Index 1..Count of the entry with exactly that name (last match), 0 if none.
  int Find(std::string_view name) const {
    int found = 0;
    for (int i = 0; i < Count(); ++i)
      if (entries_[i].Name == name) found = i + 1;
    return found;
  }
  bool Exists(std::string_view name) const { return Find(name) != 0; }

  // Storage without the uniqueness rule, for readers of stored files.
  void Clear() { entries_.clear(); }
  void PushBack(Entry e) { entries_.push_back(std::move(e)); }

  std::vector<Entry>& Entries() { return entries_; }
  const std::vector<Entry>& Entries() const { return entries_; }

 private:
  static std::size_t Slot(int index) {
    return index >= 1 ? static_cast<std::size_t>(index - 1) : static_cast<std::size_t>(-1);
  }
  std::vector<Entry> entries_;
};

using TWavePresetTable = TLibraryTable<TWavePreset>;
using TVolumeEnvelopeTable = TLibraryTable<TVolumeEnvelope>;

enum class TDocumentStatus : std::uint8_t { Working = 0, Playing = 1, Ready = 2 };

class TInstrumentDocument {
 public:
  static constexpr int kVoices = 32;
  static constexpr int kMaxMacros = 255;
  static constexpr int kNotes = 73;
  static constexpr int kWorkIdle = 101;

  TInstrumentDocument();

  // --- voices (numbered 1..32; out-of-range numbers throw std::out_of_range)
  TVoice& Voice(int n);
  const TVoice& Voice(int n) const;
  int CurrentVoice = 1;
  // Entries 0..31 name voices 1..32; a missing entry keeps the two-digit number.
  std::vector<std::string> DefaultVoiceNames;
  void ResetVoice(int n);
  bool AnyVoiceActive() const;

  // --- tables
  TWavePresetTable WavePresets;
  TVolumeEnvelopeTable VolumeEnvelopes;
  bool WavePresetsModified = false;
  bool VolumeEnvelopesModified = false;

  // Add: refuses an existing name or a full table; names are cut to their
  // short-string length first. Sets the modified flag when added.
  TTableResult AddWavePreset(TWavePreset p);
  TTableResult AddVolumeEnvelope(TVolumeEnvelope e);
  // Replace: refuses a name held by another entry (the entry's own name is fine).
  bool ReplaceWavePreset(int index, TWavePreset p);
  bool ReplaceVolumeEnvelope(int index, TVolumeEnvelope e);
  // Delete: later entries move down; every voice keeps its preset/envelope,
  // and voices that used the deleted entry fall back to entry 1.
  void DeleteWavePreset(int index);
  void DeleteVolumeEnvelope(int index);
  // Exchange two entries (managers' move up / down); voices follow their entry.
  void SwapWavePresets(int a, int b);
  void SwapVolumeEnvelopes(int a, int b);
  // Bubble sort by byte-wise name; voices follow their entries.
  void SortWavePresets(bool ascending);
  void SortVolumeEnvelopes(bool ascending);
  // Rename: refuses a name held by any entry (as the rename dialog does).
  bool RenameWavePreset(int index, std::string name);
  bool RenameVolumeEnvelope(int index, std::string name);

  // --- macros
  std::vector<TMacro> Macros;  // entries 1..Count as Macros[0..]
  bool MacrosModified = false;
  bool Recording = false;
  bool RecordingRelative = false;

  // --- flags and status
  bool SampleUpToDate() const { return sampleUpToDate_; }
  bool InstrumentUpToDate() const { return instrumentUpToDate_; }
  // false also clears the instrument flag.
  void SetSampleUpToDate(bool flag);
  void SetInstrumentUpToDate(bool flag) { instrumentUpToDate_ = flag; }
  TDocumentStatus Status = TDocumentStatus::Ready;

  // Every change of a voice, preset, envelope or global setting ends here:
  // the sample and the instrument are out of date, then the observer (the
  // main window's SetSampleUpToDate(false)) is told.
  void MarkChanged();
  std::function<void()> OnChanged;

  // --- results
  std::vector<std::uint8_t> ResultBuffer;  // 16-bit signed little-endian mono
  std::vector<float> Work;                 // 101 floats while idle

  // --- pitch tables
  std::array<float, kNotes> NoteRatio{};
  std::array<double, kNotes> NoteFrequency{};
  void BuildPitchTables();

  // --- data paths beside the program
  void SetDataFolder(const std::filesystem::path& folder);
  std::filesystem::path DataFolder, SettingsPath, WavePresetPath, VolumeEnvelopePath,
      MacroPath, DescriptionPath, HelpPath;
  std::filesystem::path CurrentInstrumentFile;

 private:
  void RemapPresets(const std::vector<int>& newIndexOfOld);
  void RemapEnvelopes(const std::vector<int>& newIndexOfOld);

  std::array<TVoice, kVoices> voices_{};
  bool sampleUpToDate_ = false;
  bool instrumentUpToDate_ = false;
};

// Pascal short strings keep at most their declared length.
std::string CutName(std::string name, std::size_t maxLength);
// The exponent ln(2)/12 as the pitch tables use it: computed in extended
// precision, then kept with a 40-bit significand (a 48-bit real).
long double SemitoneExponent();
