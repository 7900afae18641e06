// How the program opens and replaces its files. Every reader goes through
// TReadableFile, so no file makes a read wait (a FIFO, a device, a folder is
// refused before the first byte) and no file is read whole beyond a bound;
// every writer goes through ReplaceFile, so a failed save never cuts the old
// file and never writes through a planted link. Paths are bytes. Qt-free.
#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <limits>
#include <optional>
#include <stdexcept>
#include <string>
#include <vector>

// A file that cannot be read or written; what() is the message for the person.
class EByteFileError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

inline constexpr std::uintmax_t kAnyFileSize = std::numeric_limits<std::uintmax_t>::max();

// The size bound of a file format, which its reader takes and its writer
// checks: the largest file the writer makes, and never below the bound of
// earlier versions, so that every file they wrote still loads.
constexpr std::uintmax_t FileSizeBound(std::uintmax_t largestWritten, std::uintmax_t earlierBound) {
  return largestWritten > earlierBound ? largestWritten : earlierBound;
}

// A regular file open for reading; closed when the object goes.
class TReadableFile {
 public:
  // Nothing when no file has that name. Throws EByteFileError when the name
  // is not a regular file (a folder, a FIFO, a device), cannot be opened, or
  // holds more than `maxSize` bytes. Never waits on the file.
  static std::optional<TReadableFile> Open(const std::filesystem::path& file, std::uintmax_t maxSize = kAnyFileSize);

  TReadableFile(TReadableFile&& other) noexcept;
  TReadableFile& operator=(TReadableFile&& other) noexcept;
  ~TReadableFile();

  std::uintmax_t Size() const { return size_; }
  // Up to `count` bytes at the current position; fewer only at the end of
  // the file. Throws EByteFileError on an input error.
  std::size_t Read(void* buffer, std::size_t count);

 private:
  TReadableFile(int fd, std::uintmax_t size, std::string name) : fd_(fd), size_(size), name_(std::move(name)) {}
  int fd_;
  std::uintmax_t size_;
  std::string name_;
};

// The whole file, at most `maxSize` bytes. A missing file reads as nothing
// and sets `found` false; every other fault throws EByteFileError.
std::vector<std::uint8_t> ReadFileBytes(const std::filesystem::path& file, std::uintmax_t maxSize,
                                        bool* found = nullptr);

// The lines of a text file of at most `maxSize` bytes, split at LF with a
// CR before it dropped. A missing file gives no lines and sets `found`
// false; a file holding a NUL byte is no text (a disk that lost the end of
// a write leaves zeros) and throws EByteFileError like any other fault.
std::vector<std::string> ReadTextFileLines(const std::filesystem::path& file, std::uintmax_t maxSize,
                                           bool* found = nullptr);

// Creates or replaces the file: the bytes go to a new temporary file made
// exclusively beside it, are flushed to the disk and renamed over it. The
// file keeps the permission bits of the one it replaces (a new one gets
// the umask's); a symbolic link stays a link and the file it names is
// replaced. A file that the user may not write is refused ("...: Permission
// denied") even where the folder would allow the rename. On failure throws
// EByteFileError ("Can not write the file "<file>": <reason>"), removes the
// temporary file and leaves the old file whole. Contents beyond `maxSize`,
// the bound the file's reader takes, are refused before anything is
// written: a file that could not be read back would lose more than this save.
void ReplaceFile(const std::filesystem::path& file, const void* data, std::size_t size,
                 std::uintmax_t maxSize = kAnyFileSize);
void ReplaceFile(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes,
                 std::uintmax_t maxSize = kAnyFileSize);

// A write beyond the file-size limit (ulimit -f) then fails with an error
// that the writer reports, instead of ending the process on the spot with
// its temporary file left behind. Called once at the start of a program.
void IgnoreFileSizeSignal();
