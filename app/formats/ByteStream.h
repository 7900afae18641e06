// The shared binary encoding of the program's files: single bytes, 16-bit
// little-endian words and texts ended by a zero byte. One reader and one
// writer serve every file format; files are read and replaced through
// core/FileAccess.h. Qt-free.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <stdexcept>
#include <string>
#include <vector>

#include "core/FileAccess.h"

// A read past the last byte of a strict reader.
class EByteStreamEnd : public std::runtime_error {
 public:
  EByteStreamEnd() : std::runtime_error("unexpected end of the data") {}
};

class TByteReader {
 public:
  // Strict: a read past the end throws EByteStreamEnd. Padded: bytes past the
  // end read as zeros and the position still moves (saturating at 2^31 - 1,
  // as a 32-bit position would).
  enum class TEnd { Strict, Padded };

  TByteReader(const std::uint8_t* data, std::size_t size, TEnd end = TEnd::Strict)
      : data_(data), size_(size), end_(end) {}
  explicit TByteReader(const std::vector<std::uint8_t>& bytes, TEnd end = TEnd::Strict)
      : TByteReader(bytes.data(), bytes.size(), end) {}
  // The reader keeps no copy: the bytes must outlive it.
  TByteReader(std::vector<std::uint8_t>&&, TEnd = TEnd::Strict) = delete;

  std::uint8_t ReadByte();
  std::uint16_t ReadWord();
  // Bytes up to the next zero byte; the position moves past the zero. A
  // padded reader also stops at the end of its data.
  std::string ReadString();

  std::int64_t Position() const { return pos_; }
  void Rewind() { pos_ = 0; }

 private:
  std::uint8_t At(std::int64_t index) const;
  void Advance(std::int64_t count);

  const std::uint8_t* data_;
  std::size_t size_;
  TEnd end_;
  std::int64_t pos_ = 0;
};

class TByteWriter {
 public:
  void Byte(std::uint8_t b) { bytes_.push_back(b); }
  void Word(std::uint16_t w);
  // A zero byte inside a text would end it early for the reader, so the text
  // is written up to its first zero byte.
  void String(const std::string& s);

  const std::vector<std::uint8_t>& Bytes() const { return bytes_; }
  std::vector<std::uint8_t> Take() { return std::move(bytes_); }

 private:
  std::vector<std::uint8_t> bytes_;
};
