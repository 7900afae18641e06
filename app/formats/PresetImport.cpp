#include "PresetImport.h"

#include <algorithm>
#include <array>
#include <cstring>
#include <optional>

#include "core/FileAccess.h"

namespace {

using namespace PresetImportMessage;

// ---- Sources: the readers walk forward through a file's bytes ----

class VectorSource {
 public:
  explicit VectorSource(const std::vector<std::uint8_t>& b) : b_(b) {}
  bool AtEnd() { return pos_ >= b_.size(); }
  std::uint8_t Peek() { return b_[pos_]; }  // only when not AtEnd()
  void Advance() { ++pos_; }

 private:
  const std::vector<std::uint8_t>& b_;
  std::size_t pos_ = 0;
};

// Reads the file in small blocks as the reader walks: only the bytes the
// import needs are read, however large the file.
class FileSource {
 public:
  explicit FileSource(TReadableFile& f) : f_(f) {}
  bool AtEnd() {
    if (pos_ == len_) {
      len_ = f_.Read(buf_.data(), buf_.size());
      pos_ = 0;
    }
    return len_ == 0;
  }
  std::uint8_t Peek() { return buf_[pos_]; }  // only when not AtEnd()
  void Advance() { ++pos_; }

 private:
  TReadableFile& f_;
  std::array<std::uint8_t, 4096> buf_{};
  std::size_t pos_ = 0, len_ = 0;
};

// ---- Text: read like a line-oriented text file of the run-time ----

template <class Source>
class TextReader {
 public:
  explicit TextReader(Source& src) : src_(src) {}

  bool AtEnd() { return src_.AtEnd(); }

  // The rest of the current line without its end (LF or CR LF), then past
  // it. Only the first `keep` bytes are kept: a line may be endless.
  std::string ReadLine(std::size_t keep = 256) {
    std::string s;
    bool cr = false;
    while (!AtEnd() && src_.Peek() != '\n') {
      cr = src_.Peek() == '\r';
      if (s.size() < keep) s += static_cast<char>(src_.Peek());
      src_.Advance();
    }
    if (!AtEnd()) src_.Advance();
    if (cr && !s.empty() && s.back() == '\r') s.pop_back();
    return s;
  }

  // At most n bytes of the current line, leaving the position after them.
  std::string ReadUpTo(std::size_t n) {
    std::string s;
    while (s.size() < n && !AtEnd() && src_.Peek() != '\n' && src_.Peek() != '\r') {
      s += static_cast<char>(src_.Peek());
      src_.Advance();
    }
    return s;
  }

  void SkipLine() { ReadLine(0); }

  // An integer after blanks and line ends: optional sign, decimal digits or
  // "$" and hexadecimal digits; it must end at a blank, a line end or the
  // end of the file. Values beyond 32 bits are no number.
  long long ReadInteger() {
    while (!AtEnd() && IsBlank(src_.Peek())) src_.Advance();
    if (AtEnd()) throw EPresetImportError(kEndOfFile);
    bool negative = false;
    if (src_.Peek() == '+' || src_.Peek() == '-') {
      negative = src_.Peek() == '-';
      src_.Advance();
    }
    int base = 10;
    if (!AtEnd() && src_.Peek() == '$') base = 16, src_.Advance();
    long long v = 0;
    int digits = 0;
    for (; !AtEnd(); src_.Advance(), ++digits) {
      const char c = static_cast<char>(src_.Peek());
      int d;
      if (c >= '0' && c <= '9') d = c - '0';
      else if (base == 16 && c >= 'a' && c <= 'f') d = c - 'a' + 10;
      else if (base == 16 && c >= 'A' && c <= 'F') d = c - 'A' + 10;
      else break;
      v = v * base + d;
      if (v > 0xFFFFFFFFLL) throw EPresetImportError(kBadNumber);
    }
    if (digits == 0) throw EPresetImportError(kBadNumber);
    if (!AtEnd() && !IsBlank(src_.Peek())) throw EPresetImportError(kBadNumber);
    return negative ? -v : v;
  }

 private:
  static bool IsBlank(std::uint8_t c) { return c == ' ' || c == '\t' || c == '\r' || c == '\n'; }
  Source& src_;
};

// ---- WAV: a byte stream searched for its tags ----

template <class Source>
class ByteReader {
 public:
  explicit ByteReader(Source& src) : src_(src) {}
  bool AtEnd() { return src_.AtEnd(); }
  std::uint8_t Read() {
    if (AtEnd()) throw EPresetImportError(kEndOfFile);
    const std::uint8_t b = src_.Peek();
    src_.Advance();
    return b;
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
    for (std::size_t i = 0; i < n; ++i) window[i] = AtEnd() ? 0 : Read();
    while (!AtEnd()) {
      if (std::memcmp(window.data(), tag, n) == 0) return true;
      std::memmove(window.data(), window.data() + 1, n - 1);
      window[n - 1] = Read();
    }
    return false;
  }

 private:
  Source& src_;
};

std::string BaseName(const std::string& path) {
  const std::size_t slash = path.find_last_of('/');
  return slash == std::string::npos ? path : path.substr(slash + 1);
}

template <class Source>
TImportedPreset ReadText(Source& src) {
  TextReader<Source> in(src);
  if (in.ReadLine() != kPresetTextHeader) throw EPresetImportError(kWrongTextFile);
  TImportedPreset p;
  if (in.AtEnd()) throw EPresetImportError(kEndOfFile);
  p.Name = ImportedName(in.ReadUpTo(kImportedNameMax), kImportedNameMax);
  in.SkipLine();
  for (int i = 0; i < kWaveSamples; ++i) {
    const long long v = in.ReadInteger();
    in.SkipLine();
    if (v < 0 || v > kWaveTop) throw EPresetImportError(kLevelOutOfRange);
    p.Data[i] = static_cast<std::uint8_t>(v);
  }
  return p;
}

template <class Source>
TImportedPreset ReadWave(Source& src, const std::string& fileName) {
  ByteReader<Source> in(src);
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

}  // namespace

std::string ImportedName(const std::string& line, std::size_t maxLength) {
  return line.substr(0, std::min(line.find('\0'), maxLength));
}

TImportedPreset ReadPresetText(const std::vector<std::uint8_t>& bytes) {
  VectorSource src(bytes);
  return ReadText(src);
}

TImportedPreset ReadPresetWave(const std::vector<std::uint8_t>& bytes, const std::string& fileName) {
  VectorSource src(bytes);
  return ReadWave(src, fileName);
}

bool IsPresetTextFileName(const std::string& fileName) {
  const std::string base = BaseName(fileName);
  const std::size_t dot = base.find_last_of('.');
  return dot != std::string::npos && base.substr(dot) == ".txt";
}

TImportedPreset ImportPresetFile(const std::string& fileName) {
  std::optional<TReadableFile> file;
  try {
    file = TReadableFile::Open(fileName, kMaxPresetImportFileSize);
  } catch (const EByteFileError& e) {
    throw EPresetImportError(e.what());
  }
  if (!file) throw EPresetImportError(kCannotOpen);
  try {
    FileSource src(*file);
    return IsPresetTextFileName(fileName) ? ReadText(src) : ReadWave(src, fileName);
  } catch (const EByteFileError& e) {
    throw EPresetImportError(e.what());
  }
}
