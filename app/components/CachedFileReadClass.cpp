#include "components/CachedFileReadClass.h"

#include <algorithm>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <limits>
#include <system_error>

TCachedFileRead::TCachedFileRead(QObject* owner)
    : QObject(owner), FBuffer(std::make_unique<std::uint8_t[]>(BufferSize)) {}  // zero-filled

TCachedFileRead::~TCachedFileRead() = default;

void TCachedFileRead::LoadFromFile(const std::string& fileName) {
  namespace fs = std::filesystem;
  std::error_code ec;
  const fs::path path(fileName);
  if (fileName.empty() || !fs::exists(path, ec) || fs::is_directory(path, ec)) return;
  const std::uintmax_t size = fs::file_size(path, ec);
  if (ec) throw ECachedFileReadError("Can not read the file \"" + fileName + "\": " + ec.message());
  if (size > static_cast<std::uintmax_t>(BufferSize))
    throw ECachedFileReadError("The file \"" + fileName + "\" is too large to be read (more than 1000000 bytes)");
  std::ifstream in(path, std::ios::binary);
  if (!in) throw ECachedFileReadError("Can not open the file \"" + fileName + "\"");
  // Read into a side buffer first, so a failed read leaves the old contents.
  auto bytes = std::make_unique<std::uint8_t[]>(static_cast<std::size_t>(size) + 1);
  in.read(reinterpret_cast<char*>(bytes.get()), static_cast<std::streamsize>(size));
  if (static_cast<std::uintmax_t>(in.gcount()) != size)
    throw ECachedFileReadError("Can not read the file \"" + fileName + "\"");
  std::memcpy(FBuffer.get(), bytes.get(), static_cast<std::size_t>(size));
  FSize = static_cast<std::int32_t>(size);
  FPosition = 0;
}

std::uint8_t TCachedFileRead::ByteAt(std::int64_t index) const {
  return index >= 0 && index < BufferSize ? FBuffer[static_cast<std::size_t>(index)] : 0;
}

void TCachedFileRead::Advance(std::int64_t count) {
  // Saturates instead of overflowing when a caller keeps reading past the end.
  FPosition = static_cast<std::int32_t>(
      std::min<std::int64_t>(std::int64_t{FPosition} + count, std::numeric_limits<std::int32_t>::max()));
}

std::uint8_t TCachedFileRead::ReadByte() {
  const std::uint8_t b = ByteAt(FPosition);
  Advance(1);
  return b;
}

std::uint16_t TCachedFileRead::ReadWord() {
  const auto w = static_cast<std::uint16_t>(ByteAt(FPosition) | (ByteAt(std::int64_t{FPosition} + 1) << 8));
  Advance(2);
  return w;
}

std::string TCachedFileRead::ReadString() {
  std::string s;
  std::int64_t i = FPosition;
  while (i < BufferSize && ByteAt(i) != 0) s.push_back(static_cast<char>(ByteAt(i++)));
  Advance(i - FPosition + 1);
  return s;
}
