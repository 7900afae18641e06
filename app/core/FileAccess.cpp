#include "core/FileAccess.h"

#include <cerrno>
#include <csignal>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

std::string Quoted(const fs::path& file) { return "\"" + file.string() + "\""; }

[[noreturn]] void ThrowReadError(const fs::path& file, int err) {
  throw EByteFileError("Can not read the file " + Quoted(file) + ": " + std::strerror(err));
}

[[noreturn]] void ThrowNotRegular(const fs::path& file, const char* verb) {
  throw EByteFileError(std::string("Can not ") + verb + " the file " + Quoted(file) + ": it is not a regular file");
}

int OpenNoWait(const fs::path& file, int flags) {
  int fd;
  do fd = ::open(file.c_str(), flags | O_CLOEXEC | O_NOCTTY | O_NONBLOCK);
  while (fd < 0 && errno == EINTR);
  return fd;
}

}  // namespace

std::optional<TReadableFile> TReadableFile::Open(const fs::path& file, std::uintmax_t maxSize) {
  // The type is looked at before the open (opening some devices does
  // something) and again on the open file (the name may have changed
  // between the two); the open itself never waits for a FIFO's writer.
  struct stat st;
  if (file.empty() || ::stat(file.c_str(), &st) != 0) {
    if (file.empty() || errno == ENOENT || errno == ENOTDIR) return std::nullopt;
    ThrowReadError(file, errno);
  }
  if (!S_ISREG(st.st_mode)) ThrowNotRegular(file, "read");
  const int fd = OpenNoWait(file, O_RDONLY);
  if (fd < 0) {
    if (errno == ENOENT) return std::nullopt;
    ThrowReadError(file, errno);
  }
  TReadableFile opened(fd, 0, file.string());
  if (::fstat(fd, &st) != 0) ThrowReadError(file, errno);
  if (!S_ISREG(st.st_mode)) ThrowNotRegular(file, "read");
  opened.size_ = static_cast<std::uintmax_t>(st.st_size);
  if (opened.size_ > maxSize)
    throw EByteFileError("The file " + Quoted(file) + " is too large to be read (more than " +
                         std::to_string(maxSize) + " bytes)");
  return opened;
}

TReadableFile::TReadableFile(TReadableFile&& other) noexcept
    : fd_(other.fd_), size_(other.size_), name_(std::move(other.name_)) {
  other.fd_ = -1;
}

TReadableFile& TReadableFile::operator=(TReadableFile&& other) noexcept {
  std::swap(fd_, other.fd_);
  std::swap(size_, other.size_);
  std::swap(name_, other.name_);
  return *this;
}

TReadableFile::~TReadableFile() {
  if (fd_ >= 0) ::close(fd_);
}

std::size_t TReadableFile::Read(void* buffer, std::size_t count) {
  auto* out = static_cast<char*>(buffer);
  std::size_t done = 0;
  while (done < count) {
    const ssize_t n = ::read(fd_, out + done, count - done);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) ThrowReadError(name_, errno);
    if (n == 0) break;
    done += static_cast<std::size_t>(n);
  }
  return done;
}

std::vector<std::uint8_t> ReadFileBytes(const fs::path& file, std::uintmax_t maxSize, bool* found) {
  if (found) *found = false;
  std::optional<TReadableFile> in = TReadableFile::Open(file, maxSize);
  if (!in) return {};
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(in->Size()));
  bytes.resize(in->Read(bytes.data(), bytes.size()));  // a file cut meanwhile reads as cut
  if (found) *found = true;
  return bytes;
}

std::vector<std::string> ReadTextFileLines(const fs::path& file, std::uintmax_t maxSize, bool* found) {
  const std::vector<std::uint8_t> bytes = ReadFileBytes(file, maxSize, found);
  std::vector<std::string> lines;
  std::string line;
  for (std::size_t i = 0; i < bytes.size(); ++i) {
    const char c = static_cast<char>(bytes[i]);
    if (c == 0) throw EByteFileError("The file " + Quoted(file) + " is damaged: it holds a NUL byte (a byte of value zero)");
    if (c != '\n') {
      line += c;
      if (i + 1 < bytes.size()) continue;
    }
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(std::move(line));
    line.clear();
  }
  return lines;
}

namespace {

// The file a name finally stands for: a symbolic link is followed (also
// one whose file does not exist yet), so saving replaces that file and
// leaves the link in place.
fs::path FollowLinks(fs::path p) {
  for (int hops = 0; hops < 40; ++hops) {
    struct stat st;
    if (::lstat(p.c_str(), &st) != 0 || !S_ISLNK(st.st_mode)) return p;
    std::error_code ec;
    const fs::path target = fs::read_symlink(p, ec);
    if (ec) return p;  // the write reports what is wrong with it
    p = target.is_absolute() ? target : p.parent_path() / target;
  }
  return p;  // a loop: the write fails with ELOOP
}

mode_t CurrentUmask() {
  // Read without changing it: another thread may be creating a file.
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("Umask:", 0) == 0) return static_cast<mode_t>(std::stoul(line.substr(6), nullptr, 8));
  const mode_t mask = ::umask(022);
  ::umask(mask);
  return mask;
}

bool WriteAll(int fd, const char* data, std::size_t size) {
  while (size > 0) {
    const ssize_t n = ::write(fd, data, size);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    data += n;
    size -= static_cast<std::size_t>(n);
  }
  return true;
}

}  // namespace

void ReplaceFile(const fs::path& file, const void* data, std::size_t size, std::uintmax_t maxSize) {
  if (size > maxSize)
    throw EByteFileError("Can not write the file " + Quoted(file) + ": it would be " + std::to_string(size) +
                         " bytes long, more than the " + std::to_string(maxSize) +
                         " bytes that Kalvora reads back; the file was left as it was");
  const fs::path target = FollowLinks(file);
  int err = 0;
  auto fail = [&](int e) {
    throw EByteFileError("Can not write the file " + Quoted(file) + ": " + std::strerror(e));
  };

  struct stat old;
  const bool replacing = ::stat(target.c_str(), &old) == 0;
  if (!replacing && errno != ENOENT) fail(errno);
  if (replacing && !S_ISREG(old.st_mode)) ThrowNotRegular(file, "write");
  // The rename needs only the folder's permission; whether this user may
  // change the file is the file's own, as for a write in place.
  if (replacing && ::faccessat(AT_FDCWD, target.c_str(), W_OK, AT_EACCESS) != 0) fail(errno);
  const mode_t mode = replacing ? (old.st_mode & 07777) : (0666 & ~CurrentUmask());

  // An unpredictable name, created only when no entry of that name exists:
  // never a planted link, never someone's own file.
  const fs::path folder = target.has_parent_path() ? target.parent_path() : fs::path(".");
  std::string base = target.filename().string().substr(0, 200);
  std::string name = (folder / ("." + base + ".XXXXXX")).string();
  const int fd = ::mkostemp(name.data(), O_CLOEXEC);
  if (fd < 0) fail(errno);

  // Keeps the owner where that is allowed (a save by another user); the
  // mode after it, as a change of owner clears the set-id bits. Both are
  // kept where the file system can: on one that cannot (a FAT stick) the
  // save still happens, and mkostemp's 0600 is never looser than wished.
  if (replacing) (void)!::fchown(fd, old.st_uid, old.st_gid);
  (void)!::fchmod(fd, mode);
  bool ok = WriteAll(fd, static_cast<const char*>(data), size);
  ok = ok && ::fsync(fd) == 0;
  if (!ok) err = errno;
  if (::close(fd) != 0 && ok) ok = false, err = errno;
  if (ok && ::rename(name.c_str(), target.c_str()) != 0) ok = false, err = errno;
  if (!ok) {
    ::unlink(name.c_str());
    fail(err);
  }
  // The rename itself reaches the disk with the folder.
  const int dir = OpenNoWait(folder, O_RDONLY | O_DIRECTORY);
  if (dir >= 0) {
    ::fsync(dir);
    ::close(dir);
  }
}

void ReplaceFile(const fs::path& file, const std::vector<std::uint8_t>& bytes, std::uintmax_t maxSize) {
  ReplaceFile(file, bytes.data(), bytes.size(), maxSize);
}

void IgnoreFileSizeSignal() { std::signal(SIGXFSZ, SIG_IGN); }
