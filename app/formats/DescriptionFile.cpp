#include "formats/DescriptionFile.h"

#include <fstream>

#include "formats/ByteStream.h"

std::vector<std::string> ReadDescriptionFile(const std::filesystem::path& file) {
  std::vector<std::string> lines;
  std::ifstream in(file, std::ios::binary);
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
  }
  return lines;
}

void WriteDescriptionFile(const std::filesystem::path& file, const std::vector<std::string>& lines) {
  std::vector<std::uint8_t> bytes;
  for (const std::string& l : lines) {
    bytes.insert(bytes.end(), l.begin(), l.end());
    bytes.push_back('\r');
    bytes.push_back('\n');
  }
  ReplaceFile(file, bytes);
}
