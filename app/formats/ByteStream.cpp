#include "formats/ByteStream.h"

#include <algorithm>
#include <limits>

std::uint8_t TByteReader::At(std::int64_t index) const {
  if (index >= 0 && static_cast<std::uint64_t>(index) < size_) return data_[index];
  if (end_ == TEnd::Strict) throw EByteStreamEnd();
  return 0;
}

void TByteReader::Advance(std::int64_t count) {
  pos_ = std::min<std::int64_t>(pos_ + count, std::numeric_limits<std::int32_t>::max());
}

std::uint8_t TByteReader::ReadByte() {
  const std::uint8_t b = At(pos_);
  Advance(1);
  return b;
}

std::uint16_t TByteReader::ReadWord() {
  const std::uint8_t lo = At(pos_);
  const std::uint8_t hi = At(pos_ + 1);
  Advance(2);
  return static_cast<std::uint16_t>(lo | (hi << 8));
}

std::string TByteReader::ReadString() {
  std::string s;
  std::int64_t i = pos_;
  for (;;) {
    if (end_ == TEnd::Padded && (i < 0 || static_cast<std::uint64_t>(i) >= size_)) break;
    const std::uint8_t c = At(i);
    if (c == 0) break;
    s.push_back(static_cast<char>(c));
    ++i;
  }
  Advance(i - pos_ + 1);
  return s;
}

void TByteWriter::Word(std::uint16_t w) {
  Byte(static_cast<std::uint8_t>(w & 0xFF));
  Byte(static_cast<std::uint8_t>(w >> 8));
}

void TByteWriter::String(const std::string& s) {
  for (char c : s) {
    if (c == 0) break;
    Byte(static_cast<std::uint8_t>(c));
  }
  Byte(0);
}
