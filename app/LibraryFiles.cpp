#include "LibraryFiles.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <system_error>

#include "components/CachedFileReadClass.h"

namespace {

struct ETruncated {};

// Reads the encodings of the library files and never past the last byte.
class TByteCursor {
 public:
  explicit TByteCursor(const std::vector<std::uint8_t>& bytes) : bytes_(bytes) {}

  std::uint8_t ReadByte() {
    if (pos_ >= bytes_.size()) throw ETruncated{};
    return bytes_[pos_++];
  }
  std::uint16_t ReadWord() {
    std::uint8_t lo = ReadByte();
    std::uint8_t hi = ReadByte();
    return static_cast<std::uint16_t>(lo | (hi << 8));
  }
  std::string ReadString() {
    std::string s;
    for (;;) {
      std::uint8_t c = ReadByte();
      if (c == 0) return s;
      s.push_back(static_cast<char>(c));
    }
  }

 private:
  const std::vector<std::uint8_t>& bytes_;
  std::size_t pos_ = 0;
};

class TByteWriter {
 public:
  void Byte(std::uint8_t b) { out.push_back(b); }
  void Word(std::uint16_t w) {
    Byte(static_cast<std::uint8_t>(w & 0xFF));
    Byte(static_cast<std::uint8_t>(w >> 8));
  }
  // A zero byte inside a text would end it early for the reader, so the
  // text is written up to its first zero byte.
  void String(const std::string& s) {
    for (char c : s) {
      if (c == 0) break;
      Byte(static_cast<std::uint8_t>(c));
    }
    Byte(0);
  }
  void Header(const char* magic, std::size_t count) {
    String(magic);
    Byte(kLibraryVersion);
    Byte(static_cast<std::uint8_t>(count));
  }
  std::vector<std::uint8_t> out;
};

// Magic and version; returns the count.
std::uint8_t ReadHeader(TByteCursor& in, const char* magic) {
  if (in.ReadString() != magic) throw ETruncated{};
  in.ReadByte();  // version: any value reads like 30
  return in.ReadByte();
}

template <class Fn>
void Guarded(const char* message, Fn fn) {
  try {
    fn();
  } catch (const ETruncated&) {
    throw ELibraryFileError(message);
  }
}

// The whole file through the cached reader; a missing file reads as empty.
// A file the reader refuses (too large, unreadable) is a damaged library.
std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& file, const char* message) {
  TCachedFileRead reader;
  try {
    reader.LoadFromFile(file.string());
  } catch (const ECachedFileReadError&) {
    throw ELibraryFileError(message);
  }
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(reader.Size()));
  for (std::uint8_t& b : bytes) b = reader.ReadByte();
  return bytes;
}

void WriteWholeFile(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes) {
  std::filesystem::path tmp = file;
  tmp += ".tmp";
  const std::string message = "Can not write the file \"" + file.string() + "\"";
  {
    std::ofstream out(tmp, std::ios::binary | std::ios::trunc);
    if (!out) throw ELibraryWriteError(message);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    out.flush();
    if (!out) {
      out.close();
      std::error_code ec;
      std::filesystem::remove(tmp, ec);
      throw ELibraryWriteError(message);
    }
  }
  std::error_code ec;
  std::filesystem::rename(tmp, file, ec);
  if (ec) {
    std::filesystem::remove(tmp, ec);
    throw ELibraryWriteError(message);
  }
}

}  // namespace

void ReadWavePresets(const std::vector<std::uint8_t>& bytes, TWavePresetTable& table) {
  TWavePresetTable read;
  Guarded(kWrongWavePresetFile, [&] {
    TByteCursor in(bytes);
    int count = ReadHeader(in, kWavePresetMagic);
    // A count above the table's room is cut: the entries beyond are not read.
    if (count > TWavePresetTable::kCapacity) count = TWavePresetTable::kCapacity;
    for (int i = 0; i < count; ++i) {
      TWavePreset p;
      p.Name = CutName(in.ReadString(), TWavePreset::kMaxName);
      for (auto& d : p.Data) d = in.ReadByte();
      read.PushBack(std::move(p));
    }
  });
  table = std::move(read);
}

void ReadVolumeEnvelopes(const std::vector<std::uint8_t>& bytes, TVolumeEnvelopeTable& table) {
  TVolumeEnvelopeTable read;
  Guarded(kWrongVolumeEnvelopeFile, [&] {
    TByteCursor in(bytes);
    int count = ReadHeader(in, kVolumeEnvelopeMagic);
    if (count > TVolumeEnvelopeTable::kCapacity) count = TVolumeEnvelopeTable::kCapacity;
    for (int i = 0; i < count; ++i) {
      TVolumeEnvelope e;
      e.Name = CutName(in.ReadString(), TVolumeEnvelope::kMaxName);
      e.Count = in.ReadByte();
      for (int p = 0; p < e.Count; ++p) {
        e.X[p] = in.ReadByte();
        e.Y[p] = in.ReadByte();
      }
      read.PushBack(std::move(e));
    }
  });
  table = std::move(read);
}

void ReadMacros(const std::vector<std::uint8_t>& bytes, std::vector<TMacro>& macros) {
  std::vector<TMacro> read;
  Guarded(kWrongMacroFile, [&] {
    TByteCursor in(bytes);
    int count = ReadHeader(in, kMacroMagic);
    for (int i = 0; i < count; ++i) {
      TMacro m;
      m.Name = in.ReadString();
      m.Description = in.ReadString();
      m.HotKey = in.ReadWord();
      m.Relative = in.ReadByte() == 1;
      int steps = in.ReadWord();
      for (int s = 0; s < steps; ++s) m.Steps.push_back(in.ReadString());
      read.push_back(std::move(m));
    }
  });
  macros = std::move(read);
}

std::vector<std::uint8_t> WavePresetBytes(const TWavePresetTable& table) {
  TByteWriter w;
  const int count = std::min(table.Count(), TWavePresetTable::kCapacity);
  w.Header(kWavePresetMagic, static_cast<std::size_t>(count));
  for (int i = 1; i <= count; ++i) {
    w.String(table[i].Name);
    for (std::uint8_t d : table[i].Data) w.Byte(d);
  }
  return std::move(w.out);
}

std::vector<std::uint8_t> VolumeEnvelopeBytes(const TVolumeEnvelopeTable& table) {
  TByteWriter w;
  const int count = std::min(table.Count(), TVolumeEnvelopeTable::kCapacity);
  w.Header(kVolumeEnvelopeMagic, static_cast<std::size_t>(count));
  for (int i = 1; i <= count; ++i) {
    const TVolumeEnvelope& e = table[i];
    w.String(e.Name);
    w.Byte(e.Count);
    for (int p = 0; p < e.Count; ++p) {
      w.Byte(e.X[p]);
      w.Byte(e.Y[p]);
    }
  }
  return std::move(w.out);
}

std::vector<std::uint8_t> MacroBytes(const std::vector<TMacro>& macros) {
  TByteWriter w;
  // The counts are a byte and a word in the file; more would not read back.
  const std::size_t count = std::min<std::size_t>(macros.size(), TInstrumentDocument::kMaxMacros);
  w.Header(kMacroMagic, count);
  for (std::size_t i = 0; i < count; ++i) {
    const TMacro& m = macros[i];
    w.String(m.Name);
    w.String(m.Description);
    w.Word(m.HotKey);
    w.Byte(m.Relative ? 1 : 0);
    const std::size_t steps = std::min<std::size_t>(m.Steps.size(), 0xFFFF);
    w.Word(static_cast<std::uint16_t>(steps));
    for (std::size_t s = 0; s < steps; ++s) w.String(m.Steps[s]);
  }
  return std::move(w.out);
}

void LoadWavePresets(const std::filesystem::path& file, TWavePresetTable& table) {
  ReadWavePresets(ReadWholeFile(file, kWrongWavePresetFile), table);
}
void LoadVolumeEnvelopes(const std::filesystem::path& file, TVolumeEnvelopeTable& table) {
  ReadVolumeEnvelopes(ReadWholeFile(file, kWrongVolumeEnvelopeFile), table);
}
void LoadMacros(const std::filesystem::path& file, std::vector<TMacro>& macros) {
  ReadMacros(ReadWholeFile(file, kWrongMacroFile), macros);
}

void SaveWavePresets(const std::filesystem::path& file, const TWavePresetTable& table) {
  WriteWholeFile(file, WavePresetBytes(table));
}
void SaveVolumeEnvelopes(const std::filesystem::path& file, const TVolumeEnvelopeTable& table) {
  WriteWholeFile(file, VolumeEnvelopeBytes(table));
}
void SaveMacros(const std::filesystem::path& file, const std::vector<TMacro>& macros) {
  WriteWholeFile(file, MacroBytes(macros));
}
