// The default description of new instruments, kalvora.dad beside the
// program: plain text, one line of the description per line (CR LF written,
// LF or CR LF read), bytes kept as they are. Qt-free.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <vector>

// Far beyond any description a person types; a larger file is not read
// (and so not overwritten).
inline constexpr std::uintmax_t kMaxDescriptionFileSize = 4u << 20;

// A missing file gives no lines. A file that cannot be read (no permission,
// not a regular file, too large, holding a NUL byte) throws EByteFileError.
std::vector<std::string> ReadDescriptionFile(const std::filesystem::path& file);
// Through a temporary file and a rename; throws EByteFileError
// ("Can not write the file ...") and leaves the old file whole.
void WriteDescriptionFile(const std::filesystem::path& file, const std::vector<std::string>& lines);
