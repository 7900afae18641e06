#include "formats/LibraryFiles.h"

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <system_error>

#include "formats/ByteStream.h"

namespace {

// The header every library file opens with: magic text, version, count.
void WriteHeader(TByteWriter& w, const char* magic, std::size_t count) {
  w.String(magic);
  w.Byte(kLibraryVersion);
  w.Byte(static_cast<std::uint8_t>(count));
}

// Magic and version; returns the count.
std::uint8_t ReadHeader(TByteReader& in, const char* magic) {
  if (in.ReadString() != magic) throw EByteStreamEnd();
  in.ReadByte();  // version: any value reads like 30
  return in.ReadByte();
}

template <class Fn>
void Guarded(const char* message, Fn fn) {
  try {
    fn();
  } catch (const EByteStreamEnd&) {
    throw ELibraryFileError(message);
  }
}

// A missing file reads as empty (and so as a wrong one); a file that cannot
// be read (too large, no permission, not a regular file) says why.
std::vector<std::uint8_t> ReadWholeFile(const std::filesystem::path& file, std::uintmax_t maxSize) {
  try {
    return ReadFileBytes(file, maxSize);
  } catch (const EByteFileError& e) {
    throw ELibraryFileError(e.what());
  }
}

void WriteWholeFile(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes,
                    std::uintmax_t maxSize) {
  try {
    ReplaceFile(file, bytes, maxSize);
  } catch (const EByteFileError& e) {
    throw ELibraryWriteError(e.what());
  }
}

}  // namespace

void ReadWavePresets(const std::vector<std::uint8_t>& bytes, TWavePresetTable& table) {
  TWavePresetTable read;
  Guarded(kWrongWavePresetFile, [&] {
    TByteReader in(bytes);
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
    TByteReader in(bytes);
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
    TByteReader in(bytes);
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
  WriteHeader(w, kWavePresetMagic, static_cast<std::size_t>(count));
  for (int i = 1; i <= count; ++i) {
    w.String(table[i].Name);
    for (std::uint8_t d : table[i].Data) w.Byte(d);
  }
  return w.Take();
}

std::vector<std::uint8_t> VolumeEnvelopeBytes(const TVolumeEnvelopeTable& table) {
  TByteWriter w;
  const int count = std::min(table.Count(), TVolumeEnvelopeTable::kCapacity);
  WriteHeader(w, kVolumeEnvelopeMagic, static_cast<std::size_t>(count));
  for (int i = 1; i <= count; ++i) {
    const TVolumeEnvelope& e = table[i];
    w.String(e.Name);
    w.Byte(e.Count);
    for (int p = 0; p < e.Count; ++p) {
      w.Byte(e.X[p]);
      w.Byte(e.Y[p]);
    }
  }
  return w.Take();
}

std::vector<std::uint8_t> MacroBytes(const std::vector<TMacro>& macros) {
  TByteWriter w;
  // The counts are a byte and a word in the file; more would not read back.
  const std::size_t count = std::min<std::size_t>(macros.size(), TInstrumentDocument::kMaxMacros);
  WriteHeader(w, kMacroMagic, count);
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
  return w.Take();
}

void LoadWavePresets(const std::filesystem::path& file, TWavePresetTable& table) {
  ReadWavePresets(ReadWholeFile(file, kMaxWavePresetFileSize), table);
}
void LoadVolumeEnvelopes(const std::filesystem::path& file, TVolumeEnvelopeTable& table) {
  ReadVolumeEnvelopes(ReadWholeFile(file, kMaxVolumeEnvelopeFileSize), table);
}
void LoadMacros(const std::filesystem::path& file, std::vector<TMacro>& macros) {
  ReadMacros(ReadWholeFile(file, kMaxMacroFileSize), macros);
}

void SaveWavePresets(const std::filesystem::path& file, const TWavePresetTable& table) {
  WriteWholeFile(file, WavePresetBytes(table), kMaxWavePresetFileSize);
}
void SaveVolumeEnvelopes(const std::filesystem::path& file, const TVolumeEnvelopeTable& table) {
  WriteWholeFile(file, VolumeEnvelopeBytes(table), kMaxVolumeEnvelopeFileSize);
}
void SaveMacros(const std::filesystem::path& file, const std::vector<TMacro>& macros) {
  WriteWholeFile(file, MacroBytes(macros), kMaxMacroFileSize);
}
