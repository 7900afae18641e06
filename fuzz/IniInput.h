// Shared by the fuzz targets that read a settings file.
#pragma once

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "core/FileAccess.h"
#include "core/IniFile.h"

// True (and the file removed) when the reader refuses the file; the only
// input it may refuse is a damaged one, holding a zero byte.
inline bool RefusedAsDamaged(const std::filesystem::path& p, const uint8_t* data, size_t size) {
  try {
    TIniFile probe(p.string());
  } catch (const EByteFileError&) {
    if (std::memchr(data, 0, size) == nullptr) std::abort();
    std::filesystem::remove(p);
    return true;
  }
  return false;
}
