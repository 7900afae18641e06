#include "formats/WavFile.h"

#include <cstring>
#include <stdexcept>

#include "formats/ByteStream.h"

namespace {

void Put32(std::vector<std::uint8_t>& b, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
void Put16(std::vector<std::uint8_t>& b, std::uint16_t v) {
  b.push_back(static_cast<std::uint8_t>(v));
  b.push_back(static_cast<std::uint8_t>(v >> 8));
}
void PutText(std::vector<std::uint8_t>& b, const char* t) { b.insert(b.end(), t, t + std::strlen(t)); }

std::uint32_t Get32(const std::uint8_t* p) {
  return p[0] | (p[1] << 8) | (p[2] << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
std::uint16_t Get16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | (p[1] << 8)); }

constexpr std::uint32_t kHeaderBytes = 44;

}  // namespace

std::uint32_t SampleRateForQuality(int quality) {
  switch (quality) {
    case 1: return 22050;
    case 2: return 44100;
    default: return 11025;
  }
}

std::vector<std::uint8_t> WavHeader(std::uint32_t sampleRate, std::uint32_t dataBytes) {
  std::vector<std::uint8_t> b;
  b.reserve(kHeaderBytes);
  PutText(b, "RIFF");
  Put32(b, dataBytes + 36);
  PutText(b, "WAVEfmt ");
  Put32(b, 16);
  Put16(b, 1);  // PCM
  Put16(b, 1);  // mono
  Put32(b, sampleRate);
  Put32(b, sampleRate * 2);
  Put16(b, 2);
  Put16(b, 16);
  PutText(b, "data");
  Put32(b, dataBytes);
  return b;
}

std::vector<std::uint8_t> WavBytes(const std::vector<std::uint8_t>& buffer, int quality) {
  const std::uint64_t data = (static_cast<std::uint64_t>(buffer.size()) / 2) * 2;
  // The RIFF size field holds data + 36 in 32 bits.
  if (data > 0xFFFFFFFFull - 36) throw std::length_error("The sample is too long for a WAV file.");
  std::vector<std::uint8_t> b = WavHeader(SampleRateForQuality(quality), static_cast<std::uint32_t>(data));
  b.insert(b.end(), buffer.begin(), buffer.begin() + static_cast<std::ptrdiff_t>(data));
  return b;
}

void WriteWaveFile(const std::filesystem::path& file, const std::vector<std::uint8_t>& buffer, int quality) {
  ReplaceFile(file, WavBytes(buffer, quality));
}

bool ParseWavHeader(const std::uint8_t* d, std::size_t size, TWavHeaderInfo& info) {
  if (d == nullptr || size < kHeaderBytes) return false;
  if (std::memcmp(d, "RIFF", 4) != 0 || std::memcmp(d + 8, "WAVEfmt ", 8) != 0 ||
      std::memcmp(d + 36, "data", 4) != 0)
    return false;
  if (Get32(d + 16) != 16 || Get16(d + 20) != 1) return false;
  info.Channels = Get16(d + 22);
  info.SampleRate = Get32(d + 24);
  info.BitsPerSample = Get16(d + 34);
  info.DataBytes = Get32(d + 40);
  // The RIFF size must agree with the data size, without wrapping.
  if (info.DataBytes > 0xFFFFFFFFu - 36 || Get32(d + 4) != info.DataBytes + 36) return false;
  if (info.Channels == 0 || info.BitsPerSample == 0) return false;
  if (Get32(d + 28) != info.SampleRate * static_cast<std::uint64_t>(Get16(d + 32))) return false;
  return true;
}

std::vector<std::string> SplitCommandLine(const std::string& options) {
  std::vector<std::string> args;
  std::string current;
  bool inWord = false, quoted = false;
  for (char c : options) {
    if (c == '"') {
      quoted = !quoted;
      inWord = true;  // "" is an empty argument
    } else if (!quoted && (c == ' ' || c == '\t')) {
      if (inWord) args.push_back(current);
      current.clear();
      inWord = false;
    } else {
      current += c;
      inWord = true;
    }
  }
  if (inWord) args.push_back(current);
  return args;
}

TConverterCall ConverterCall(const std::string& program, const std::filesystem::path& wavFile,
                             const std::string& options) {
  TConverterCall call;
  call.Program = program;
  call.Arguments.push_back(wavFile.filename().string());
  for (std::string& a : SplitCommandLine(options)) call.Arguments.push_back(std::move(a));
  call.Folder = wavFile.parent_path().string();
  return call;
}
