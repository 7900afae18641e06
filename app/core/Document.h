// The instrument document: the instrument (32 voices, global settings,
// description), the wave-preset and volume-envelope tables (which are also
// the libraries kalvora.dap / kalvora.dav), the macro table, the document
// flags and the one status, the result buffer and the pitch tables. Qt-free;
// texts are Windows-1252 bytes held in std::string and compared byte-wise.
#pragma once

#include <array>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include "core/Instrument.h"
#include "core/Library.h"

enum class TDocumentStatus : std::uint8_t { Working = 0, Playing = 1, Ready = 2 };

class TInstrumentDocument {
 public:
  static constexpr int kVoices = TInstrument::kVoices;
  static constexpr int kMaxMacros = 255;
  static constexpr int kNotes = 73;
  static constexpr int kWorkIdle = 101;

  TInstrumentDocument();

  // --- the instrument; voices numbered 1..32 (out-of-range numbers throw
  // std::out_of_range)
  TInstrument Instrument;
  TInGlobSettings& GlobalSettings() { return Instrument.Globals; }
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
  // Counts the times the sample went out of date: a computation compares it
  // before and after to see whether the instrument was edited meanwhile.
  std::uint64_t SampleChanges() const { return sampleChanges_; }
  // The one record of what the program is doing: Working while a sample is
  // calculated (or the program starts), Playing while it sounds, else Ready.
  TDocumentStatus Status = TDocumentStatus::Ready;
  bool Busy() const { return Status == TDocumentStatus::Working; }

  // Every change of a voice, preset, envelope or global setting ends here:
  // the sample and the instrument are out of date, then the observer (the
  // main window's SetSampleUpToDate(false)) is told.
  void MarkChanged();
  std::function<void()> OnChanged;

  // --- results
  std::vector<std::uint8_t> ResultBuffer;  // 16-bit signed little-endian mono
  int ResultQuality = 2;                   // the quality the buffer was computed at
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

  bool sampleUpToDate_ = false;
  bool instrumentUpToDate_ = false;
  std::uint64_t sampleChanges_ = 0;
};

// The exponent ln(2)/12 as the pitch tables use it: computed in extended
// precision, then kept with a 40-bit significand (a 48-bit real).
long double SemitoneExponent();
