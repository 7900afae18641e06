#include "formats/DescriptionFile.h"

#include "formats/ByteStream.h"

std::vector<std::string> ReadDescriptionFile(const std::filesystem::path& file) {
  return ReadTextFileLines(file, kMaxDescriptionFileSize);
}

void WriteDescriptionFile(const std::filesystem::path& file, const std::vector<std::string>& lines) {
  std::vector<std::uint8_t> bytes;
  for (const std::string& l : lines) {
    bytes.insert(bytes.end(), l.begin(), l.end());
    bytes.push_back('\r');
    bytes.push_back('\n');
  }
  ReplaceFile(file, bytes, kMaxDescriptionFileSize);
}
