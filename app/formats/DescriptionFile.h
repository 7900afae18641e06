// The default description of new instruments, kalvora.dad beside the
// program: plain text, one line of the description per line (CR LF written,
// LF or CR LF read), bytes kept as they are. Qt-free.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

#include "core/FileAccess.h"
#include "core/InGlobSettings.h"

// The largest file the writer makes of a description typed to its bound:
// every character a line break, each written as CR LF, and the last line's.
inline constexpr std::uintmax_t kLargestDescriptionFile = 2 * TInGlobSettings::kMaxDescription + 2;
// The size bound, taken by the reader and checked by the writer: 4 MiB,
// what earlier versions read, far beyond the largest typed description. A
// larger file is not read (and so not overwritten).
inline constexpr std::uintmax_t kMaxDescriptionFileSize = FileSizeBound(kLargestDescriptionFile, 4u << 20);

// A missing file gives no lines. A file that cannot be read (no permission,
// not a regular file, too large, holding a NUL byte) throws EByteFileError.
std::vector<std::string> ReadDescriptionFile(const std::filesystem::path& file);
// Through a temporary file and a rename; throws EByteFileError
// ("Can not write the file ...") and leaves the old file whole, also for
// lines whose file would pass the bound (LF-ended lines of an older file
// grow by their CRs).
void WriteDescriptionFile(const std::filesystem::path& file, const std::vector<std::string>& lines);
