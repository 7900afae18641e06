#include "formats/ByteStream.h"

#include <algorithm>
#include <fstream>
#include <limits>
#include <system_error>

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

std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& file, std::uintmax_t maxSize, bool* found) {
  namespace fs = std::filesystem;
  if (found) *found = false;
  std::error_code ec;
  const std::string name = file.string();
  if (name.empty() || !fs::exists(file, ec) || fs::is_directory(file, ec)) return {};
  const std::uintmax_t size = fs::file_size(file, ec);
  if (ec) throw EByteFileError("Can not read the file \"" + name + "\": " + ec.message());
  if (size > maxSize)
    throw EByteFileError("The file \"" + name + "\" is too large to be read (more than " +
                         std::to_string(maxSize) + " bytes)");
  std::ifstream in(file, std::ios::binary);
  if (!in) throw EByteFileError("Can not open the file \"" + name + "\"");
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
  in.read(reinterpret_cast<char*>(bytes.data()), static_cast<std::streamsize>(size));
  if (static_cast<std::uintmax_t>(in.gcount()) != size) throw EByteFileError("Can not read the file \"" + name + "\"");
  if (found) *found = true;
  return bytes;
}

void ReplaceFile(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes) {
  std::filesystem::path tmp = file;
  tmp += ".tmp";
  const std::string message = "Can not write the file \"" + file.string() + "\"";
  std::error_code ec;
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    if (!out) throw EByteFileError(message);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      std::filesystem::remove(tmp, ec);
      throw EByteFileError(message);
    }
  }
  std::filesystem::rename(tmp, file, ec);
  if (ec) {
    std::filesystem::remove(tmp, ec);
    throw EByteFileError(message);
  }
}
