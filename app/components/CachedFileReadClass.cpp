#include "components/CachedFileReadClass.h"

#include <cstdlib>
#include <cstring>
#include <new>

namespace {
std::uint8_t* ZeroedBuffer() {
  void* p = std::calloc(TCachedFileRead::BufferSize, 1);
  if (!p) throw std::bad_alloc();
  return static_cast<std::uint8_t*>(p);
}
}  // namespace

TCachedFileRead::TCachedFileRead(QObject* owner)
    : QObject(owner),
      FBuffer(ZeroedBuffer(), std::free),
      FReader(FBuffer.get(), BufferSize, TByteReader::TEnd::Padded) {}

TCachedFileRead::~TCachedFileRead() = default;

void TCachedFileRead::LoadFromFile(const std::string& fileName) {
  bool found = false;
  std::vector<std::uint8_t> bytes;
  try {
    // Read aside first, so a failed read leaves the old contents.
    bytes = ReadFileBytes(fileName, BufferSize, &found);
  } catch (const EByteFileError& e) {
    throw ECachedFileReadError(e.what());
  }
  if (!found) return;
  if (!bytes.empty()) std::memcpy(FBuffer.get(), bytes.data(), bytes.size());
  FSize = static_cast<std::int32_t>(bytes.size());
  FReader.Rewind();
}

std::uint8_t TCachedFileRead::ReadByte() { return FReader.ReadByte(); }
std::uint16_t TCachedFileRead::ReadWord() { return FReader.ReadWord(); }
std::string TCachedFileRead::ReadString() { return FReader.ReadString(); }
