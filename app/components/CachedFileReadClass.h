// TCachedFileRead: reads a whole file into memory once, then hands out bytes,
// 16-bit little-endian words and zero-terminated strings from a position.
// Reads past the loaded bytes give what the buffer holds there (zeros in a
// fresh object); nothing is ever read outside the buffer. A component over
// the program's one byte reader.
#pragma once

#include <algorithm>
#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include <QObject>

#include "formats/ByteStream.h"
#include "formats/InstrumentFile.h"
#include "formats/LibraryFiles.h"

// An input/output error while loading a file.
class ECachedFileReadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TCachedFileRead : public QObject {
  Q_OBJECT

 public:
  // Holds every file the program's readers take: an instrument file or a
  // library file at its bound.
  static constexpr std::int32_t BufferSize = static_cast<std::int32_t>(
      std::max({kMaxInstrumentFileSize, kMaxWavePresetFileSize, kMaxVolumeEnvelopeFileSize, kMaxMacroFileSize}));
  static_assert(std::max({kMaxInstrumentFileSize, kMaxWavePresetFileSize, kMaxVolumeEnvelopeFileSize,
                          kMaxMacroFileSize}) <= 0x7FFFFFFF,
                "a position is 32 bits");

  explicit TCachedFileRead(QObject* owner = nullptr);
  ~TCachedFileRead() override;

  // Loads the file from its start; a missing file changes nothing. A file
  // larger than the buffer, or one that cannot be opened or read, raises
  // ECachedFileReadError and leaves the object as it was.
  void LoadFromFile(const std::string& fileName);

  std::uint8_t ReadByte();
  std::uint16_t ReadWord();
  // Bytes up to the next zero byte (or the buffer's end); the position moves past the zero.
  std::string ReadString();

  std::int32_t Position() const { return static_cast<std::int32_t>(FReader.Position()); }
  std::int32_t Size() const { return FSize; }

 private:
  // Zeroed pages from the system: a buffer no file filled costs no memory.
  std::unique_ptr<std::uint8_t, void (*)(void*)> FBuffer;
  TByteReader FReader;  // over the whole buffer; past its end bytes read as zeros
  std::int32_t FSize = 0;
};
