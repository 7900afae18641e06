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

inline constexpr char kWavePresetMagic[] = "Kalvora Wave Preset File";
inline constexpr char kVolumeEnvelopeMagic[] = "Kalvora Volume Envelope File";
inline constexpr char kMacroMagic[] = "Kalvora Macro File";
inline constexpr std::uint8_t kLibraryVersion = 30;
// The largest library file the program reads (the size of its read buffer).
inline constexpr std::uintmax_t kMaxLibraryFileSize = 1000000;

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
// whole when writing fails.
void SaveWavePresets(const std::filesystem::path& file, const TWavePresetTable& table);
void SaveVolumeEnvelopes(const std::filesystem::path& file, const TVolumeEnvelopeTable& table);
void SaveMacros(const std::filesystem::path& file, const std::vector<TMacro>& macros);
