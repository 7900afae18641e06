// The three library files beside the program: wave presets (kalvora.dap),
// volume envelopes (kalvora.dav) and macros (kalvora.dam). Each is a magic
// text ended by a zero byte, a version byte (30 when written), a count byte
// and the entries in library order. Qt-free.
#pragma once

#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/Document.h"
#include "core/FileAccess.h"
#include "core/Macros.h"

inline constexpr char kWavePresetMagic[] = "Kalvora Wave Preset File";
inline constexpr char kVolumeEnvelopeMagic[] = "Kalvora Volume Envelope File";
inline constexpr char kMacroMagic[] = "Kalvora Macro File";
inline constexpr std::uint8_t kLibraryVersion = 30;

// The size bound of each library file, taken by its reader and checked by
// its writer: the largest file the writer makes of what the windows let a
// person make (every text at its bound and its zero byte, every table
// full), and never below the 1,000,000 bytes that earlier versions read.
constexpr std::uintmax_t LibraryFileBound(std::uintmax_t largestWritten) {
  return FileSizeBound(largestWritten, 1000000);
}
// Magic text with its zero byte, version byte, count byte.
constexpr std::uintmax_t LibraryHeaderSize(std::size_t magicWithZero) { return magicWithZero + 2; }
// A wave preset: its name and the cycle's bytes.
inline constexpr std::uintmax_t kMaxWavePresetFileSize =
    LibraryFileBound(LibraryHeaderSize(sizeof kWavePresetMagic) +
                     TWavePresetTable::kCapacity * (TWavePreset::kMaxName + 1 + TWavePreset::kSamples));
// A volume envelope: its name, the point count and two bytes a point.
inline constexpr std::uintmax_t kMaxVolumeEnvelopeFileSize =
    LibraryFileBound(LibraryHeaderSize(sizeof kVolumeEnvelopeMagic) +
                     TVolumeEnvelopeTable::kCapacity *
                         (TVolumeEnvelope::kMaxName + 1 + 1 + 2 * TVolumeEnvelope::kMaxPoints));
// A macro: name, description, hot key word, relative byte, step count word
// and its step lines.
inline constexpr std::uintmax_t kMaxMacroFileSize = LibraryFileBound(
    LibraryHeaderSize(sizeof kMacroMagic) +
    std::uintmax_t{TInstrumentDocument::kMaxMacros} *
        (TMacro::kMaxName + 1 + TMacro::kMaxDescription + 1 + 2 + 1 + 2 + TMacro::kMaxSteps * (kMaxMacroStepLine + 1)));

inline constexpr char kWrongWavePresetFile[] = "Wrong Wave Preset File \"Kalvora.dap\"";
inline constexpr char kWrongVolumeEnvelopeFile[] = "Wrong Volume Envelope File \"Kalvora.dav\"";
inline constexpr char kWrongMacroFile[] = "Wrong Macro File \"Kalvora.dam\"";

// A library file that is missing, has a wrong header or ends early. what()
// is the message for the person; the program cannot go on without the file.
class ELibraryFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// An input/output error while writing a library file.
class ELibraryWriteError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Readers of the file contents. On any fault they throw ELibraryFileError and
// leave the table as it was.
void ReadWavePresets(const std::vector<std::uint8_t>& bytes, TWavePresetTable& table);
void ReadVolumeEnvelopes(const std::vector<std::uint8_t>& bytes, TVolumeEnvelopeTable& table);
void ReadMacros(const std::vector<std::uint8_t>& bytes, std::vector<TMacro>& macros);

// The file contents the writers produce.
std::vector<std::uint8_t> WavePresetBytes(const TWavePresetTable& table);
std::vector<std::uint8_t> VolumeEnvelopeBytes(const TVolumeEnvelopeTable& table);
std::vector<std::uint8_t> MacroBytes(const std::vector<TMacro>& macros);

// Whole files. A missing file reads as empty, which is a wrong header.
void LoadWavePresets(const std::filesystem::path& file, TWavePresetTable& table);
void LoadVolumeEnvelopes(const std::filesystem::path& file, TVolumeEnvelopeTable& table);
void LoadMacros(const std::filesystem::path& file, std::vector<TMacro>& macros);
// Create or replace the file; throws ELibraryWriteError. The old file stays
// whole when writing fails, and a table whose file would pass its bound
// (entries read from an older file may be longer than the windows make) is
// refused before writing.
void SaveWavePresets(const std::filesystem::path& file, const TWavePresetTable& table);
void SaveVolumeEnvelopes(const std::filesystem::path& file, const TVolumeEnvelopeTable& table);
void SaveMacros(const std::filesystem::path& file, const std::vector<TMacro>& macros);
