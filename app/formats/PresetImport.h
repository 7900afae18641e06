// Wave-preset import: a preset text file (a header line, the name, then 150
// levels one per line) or a mono 8/16-bit PCM WAV file whose first 150
// samples are scaled into 0..149. Qt-free; the readers work on the file's
// bytes so they can be tested and fuzzed without files.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/WaveCycle.h"

// An import that failed; what() is the text to show the user.
class EPresetImportError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

namespace PresetImportMessage {
inline constexpr const char* kWrongTextFile = "Wrong preset text file.";
inline constexpr const char* kNotWave = "This is not a valid .WAV file.";
inline constexpr const char* kNotMono = "Only 1-channel files are supported.";
inline constexpr const char* kBadBits = "Only 8-Bit and 16-Bit files are supported.";
// The input/output errors of a file that ends early or holds no number.
inline constexpr const char* kEndOfFile = "Read beyond end of file";
inline constexpr const char* kBadNumber = "Invalid numeric input";
// A level outside 0..149 would be stored as a wrapped byte; refused instead.
inline constexpr const char* kLevelOutOfRange = "A preset level is outside 0..149.";
inline constexpr const char* kCannotOpen = "The file can not be opened.";
}  // namespace PresetImportMessage

inline constexpr const char* kPresetTextHeader = "Kalvora Preset Text File";
inline constexpr std::size_t kImportedNameMax = 30;
// A preset takes 150 samples, found by a search through the file: a larger
// file is refused before the search, which would keep the window frozen.
// The bound holds about six minutes of 16-bit mono sound at 44100 Hz.
inline constexpr std::uintmax_t kMaxPresetImportFileSize = 32u * 1024u * 1024u;

struct TImportedPreset {
  std::string Name;  // Windows-1252 bytes, at most 30
  TWaveCycle Data{};
};

// The name line of a text import: its first `maxLength` bytes, cut at a
// NUL, where the library and instrument files end a name anyway (so two
// names that differ only after it are one name).
std::string ImportedName(const std::string& line, std::size_t maxLength);

// The text reader. Throws EPresetImportError.
TImportedPreset ReadPresetText(const std::vector<std::uint8_t>& bytes);

// The WAV reader; the preset is named after `fileName` without its folder,
// cut to 30 bytes. Throws EPresetImportError.
TImportedPreset ReadPresetWave(const std::vector<std::uint8_t>& bytes, const std::string& fileName);

// True when the file name ends in exactly ".txt" (case-sensitive): those go
// to the text reader, every other name to the WAV reader.
bool IsPresetTextFileName(const std::string& fileName);

// Reads the file and picks the reader by its name. A file larger than
// kMaxPresetImportFileSize is refused before a byte is read. Throws
// EPresetImportError.
TImportedPreset ImportPresetFile(const std::string& fileName);
