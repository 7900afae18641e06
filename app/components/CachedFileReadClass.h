// TCachedFileRead: reads a whole file into memory once, then hands out bytes,
// 16-bit little-endian words and zero-terminated strings from a position.
// Reads past the loaded bytes give what the buffer holds there (zeros in a
// fresh object); nothing is ever read outside the buffer. A component over
// the program's one byte reader.
#pragma once

#include <cstdint>
#include <memory>
#include <stdexcept>
#include <string>

#include <QObject>

#include "formats/ByteStream.h"

// An input/output error while loading a file.
class ECachedFileReadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

class TCachedFileRead : public QObject {
  Q_OBJECT

 public:
  static constexpr std::int32_t BufferSize = 1000000;

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
  std::unique_ptr<std::uint8_t[]> FBuffer;
  TByteReader FReader;  // over the whole buffer; past its end bytes read as zeros
  std::int32_t FSize = 0;
};
