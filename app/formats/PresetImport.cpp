#include "PresetImport.h"

#include <array>
#include <cstring>
#include <fstream>
#include <iterator>

namespace {

using namespace PresetImportMessage;

// ---- Text: read like a line-oriented text file of the run-time ----

class TextReader {
 public:
  explicit TextReader(const std::vector<std::uint8_t>& b) : b_(b) {}

  bool AtEnd() const { return pos_ >= b_.size(); }

  // The rest of the current line without its end (LF or CR LF), then past it.
  std::string ReadLine() {
    std::string s;
    while (!AtEnd() && b_[pos_] != '\n') s += static_cast<char>(b_[pos_++]);
    if (!AtEnd()) ++pos_;
    if (!s.empty() && s.back() == '\r') s.pop_back();
    return s;
  }

  // At most n bytes of the current line, leaving the position after them.
  std::string ReadUpTo(std::size_t n) {
    std::string s;
    while (s.size() < n && !AtEnd() && b_[pos_] != '\n' && b_[pos_] != '\r') s += static_cast<char>(b_[pos_++]);
    return s;
  }

  void SkipLine() { ReadLine(); }

  // An integer after blanks and line ends: optional sign, decimal digits or
  // "$" and hexadecimal digits; it must end at a blank, a line end or the
  // end of the file. Values beyond 32 bits are no number.
  long long ReadInteger() {
    while (!AtEnd() && (b_[pos_] == ' ' || b_[pos_] == '\t' || b_[pos_] == '\r' || b_[pos_] == '\n')) ++pos_;
    if (AtEnd()) throw EPresetImportError(kEndOfFile);
    bool negative = false;
    if (b_[pos_] == '+' || b_[pos_] == '-') negative = b_[pos_++] == '-';
    int base = 10;
    if (!AtEnd() && b_[pos_] == '$') base = 16, ++pos_;
    long long v = 0;
    int digits = 0;
    for (; !AtEnd(); ++pos_, ++digits) {
      const char c = static_cast<char>(b_[pos_]);
      int d;
      if (c >= '0' && c <= '9') d = c - '0';
      else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
      else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
      else break;
      v = v * base + d;
      if (v > 0xFFFFFFFFLL) throw EPresetImportError(kBadNumber);
    }
    if (digits == 0) throw EPresetImportError(kBadNumber);
    if (!AtEnd() && b_[pos_] != ' ' && b_[pos_] != '\t' && b_[pos_] != '\r' && b_[pos_] != '\n')
      throw EPresetImportError(kBadNumber);
    return negative ? -v : v;
  }

 private:
  const std::vector<std::uint8_t>& b_;
  std::size_t pos_ = 0;
};

// ---- WAV: a byte stream searched for its tags ----

class ByteReader {
 public:
  explicit ByteReader(const std::vector<std::uint8_t>& b) : b_(b) {}
  bool AtEnd() const { return pos_ >= b_.size(); }
  std::uint8_t Read() {
    if (AtEnd()) throw EPresetImportError(kEndOfFile);
    return b_[pos_++];
  }
  void Skip(int n) {
    for (int i = 0; i < n; ++i) Read();
  }

  // Slides a window of the tag's length over the file until it equals the
  // tag. The window is checked only while bytes remain after it, so a tag
  // that ends exactly at the end of the file is not found.
  bool ExpectChunkTag(const char* tag) {
    const std::size_t n = std::strlen(tag);
    std::array<std::uint8_t, 8> window{};
    for (std::size_t i = 0; i < n; ++i) window[i] = AtEnd() ? 0 : b_[pos_++];
    while (!AtEnd()) {
      if (std::memcmp(window.data(), tag, n) == 0) return true;
      std::memmove(window.data(), window.data() + 1, n - 1);
      window[n - 1] = b_[pos_++];
    }
    return false;
  }

 private:
  const std::vector<std::uint8_t>& b_;
  std::size_t pos_ = 0;
};

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

}  // namespace

TImportedPreset ReadPresetText(const std::vector<std::uint8_t>& bytes) {
  TextReader in(bytes);
  if (in.ReadLine() != kPresetTextHeader) throw EPresetImportError(kWrongTextFile);
  TImportedPreset p;
  if (in.AtEnd()) throw EPresetImportError(kEndOfFile);
  p.Name = in.ReadUpTo(kImportedNameMax);
  in.SkipLine();
  for (int i = 0; i < kWaveSamples; ++i) {
    const long long v = in.ReadInteger();
    in.SkipLine();
    if (v < 0 || v > kWaveTop) throw EPresetImportError(kLevelOutOfRange);
    p.Data[i] = static_cast<std::uint8_t>(v);
  }
  return p;
}

TImportedPreset ReadPresetWave(const std::vector<std::uint8_t>& bytes, const std::string& fileName) {
  ByteReader in(bytes);
  if (!in.ExpectChunkTag("RIFF")) throw EPresetImportError(kNotWave);
  if (!in.ExpectChunkTag("WAVEfmt ")) throw EPresetImportError(kNotWave);
  in.Skip(4);  // chunk size
  if (in.Read() != 1) throw EPresetImportError(kNotWave);  // PCM; the high byte is not looked at
  in.Skip(1);
  if (in.Read() != 1) throw EPresetImportError(kNotMono);
  in.Skip(1 + 10);  // channels' high byte, rate, byte rate, block align
  const int bits = in.Read();
  if (bits != 8 && bits != 16) throw EPresetImportError(kBadBits);
  in.Skip(1);
  if (!in.ExpectChunkTag("data")) throw EPresetImportError(kNotWave);
  in.Skip(4);  // chunk size
  TImportedPreset p;
  p.Name = BaseName(fileName).substr(0, kImportedNameMax);
  for (int i = 0; i < kWaveSamples; ++i) {
    long double level;
    if (in.AtEnd()) {
      level = kWaveCentre;  // a short file is padded with silence
    } else if (bits == 8) {
      level = in.Read() * 125.0L / 214.0L;
    } else {
      const int lo = in.Read();
      const int hi = in.Read();  // a frame cut in half is an input error
      const int s = static_cast<std::int16_t>(static_cast<std::uint16_t>(lo | (hi << 8)));
      level = (s + 32768) / 440.0L;
    }
    p.Data[i] = static_cast<std::uint8_t>(RoundToLevel(level, 0, kWaveTop));
  }
  return p;
}

bool IsPresetTextFileName(const std::string& fileName) {
  const std::string base = BaseName(fileName);
  const std::size_t dot = base.find_last_of('.');
  return dot != std::string::npos && base.substr(dot) == ".txt";
}

TImportedPreset ImportPresetFile(const std::string& fileName) {
  std::ifstream in(fileName, std::ios::binary);
  if (!in) throw EPresetImportError(kCannotOpen);
  const std::vector<std::uint8_t> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (in.bad()) throw EPresetImportError(kCannotOpen);
  return IsPresetTextFileName(fileName) ? ReadPresetText(bytes) : ReadPresetWave(bytes, fileName);
}
