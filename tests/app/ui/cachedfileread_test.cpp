// The whole-file reader: bytes, little-endian words and zero-terminated
// strings from a position; missing files, reloads, oversized files and reads
// past the end of the buffer.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <QTemporaryDir>

#include <sys/stat.h>

#include "components/CachedFileReadClass.h"

namespace {

class CachedFileRead : public ::testing::Test {
 protected:
  std::string write(const std::string& name, const std::vector<std::uint8_t>& data) {
    const std::string path = dir_.filePath(QString::fromStdString(name)).toStdString();
    std::ofstream out(path, std::ios::binary);
    out.write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
    return path;
  }
  std::string missing() const { return dir_.filePath("missing.kvi").toStdString(); }

  QTemporaryDir dir_;
  TCachedFileRead reader_;
};

TEST_F(CachedFileRead, ReadsBytesWordsAndStringsInOrder) {
  reader_.LoadFromFile(write("a.bin", {'a', 'b', 'c', 0, 0x34, 0x12, 0xFF, 0, 'x', 0, 0x80}));
  EXPECT_EQ(reader_.Size(), 11);
  EXPECT_EQ(reader_.Position(), 0);
  EXPECT_EQ(reader_.ReadString(), "abc");
  EXPECT_EQ(reader_.Position(), 4);
  EXPECT_EQ(reader_.ReadWord(), 0x1234);
  EXPECT_EQ(reader_.ReadWord(), 0x00FF);  // low byte first
  EXPECT_EQ(reader_.ReadString(), "x");
  EXPECT_EQ(reader_.ReadByte(), 0x80);  // unsigned
  EXPECT_EQ(reader_.Position(), 11);
}

TEST_F(CachedFileRead, EmptyStringAtAZeroByteStepsOverIt) {
  reader_.LoadFromFile(write("z.bin", {0, 'q', 0}));
  EXPECT_EQ(reader_.ReadString(), "");
  EXPECT_EQ(reader_.Position(), 1);
  EXPECT_EQ(reader_.ReadString(), "q");
}

TEST_F(CachedFileRead, MissingFileReadsAsZeros) {
  reader_.LoadFromFile(missing());
  EXPECT_EQ(reader_.Size(), 0);
  EXPECT_EQ(reader_.ReadString(), "");
  EXPECT_EQ(reader_.ReadByte(), 0);
  EXPECT_EQ(reader_.ReadWord(), 0);
}

TEST_F(CachedFileRead, MissingFileLeavesTheLoadedOneAlone) {
  reader_.LoadFromFile(write("a.bin", {1, 2, 3}));
  reader_.ReadByte();
  reader_.LoadFromFile(missing());
  EXPECT_EQ(reader_.Size(), 3);
  EXPECT_EQ(reader_.Position(), 1);
  EXPECT_EQ(reader_.ReadByte(), 2);
}

TEST_F(CachedFileRead, SecondLoadReplacesWhatItCoversAndRewinds) {
  reader_.LoadFromFile(write("long.bin", {'l', 'o', 'n', 'g', 'e', 'r', 0}));
  reader_.ReadString();
  reader_.LoadFromFile(write("short.bin", {'a', 'b'}));
  EXPECT_EQ(reader_.Size(), 2);
  EXPECT_EQ(reader_.Position(), 0);
  // Bytes beyond the new size are the old file's.
  EXPECT_EQ(reader_.ReadString(), "abnger");
}

TEST_F(CachedFileRead, ReadsPastTheBufferGiveZerosAndStayInside) {
  std::vector<std::uint8_t> full(TCachedFileRead::BufferSize, 'k');
  full[10] = 0;
  reader_.LoadFromFile(write("full.bin", full));
  EXPECT_EQ(reader_.Size(), TCachedFileRead::BufferSize);
  EXPECT_EQ(reader_.ReadString(), std::string(10, 'k'));
  // No zero byte until the buffer's end: the string stops there.
  const std::string rest = reader_.ReadString();
  EXPECT_EQ(rest.size(), static_cast<std::size_t>(TCachedFileRead::BufferSize - 11));
  EXPECT_EQ(reader_.Position(), TCachedFileRead::BufferSize + 1);
  EXPECT_EQ(reader_.ReadByte(), 0);
  EXPECT_EQ(reader_.ReadWord(), 0);
  EXPECT_EQ(reader_.ReadString(), "");
}

TEST_F(CachedFileRead, WordAcrossTheBufferEndTakesZeroAsHighByte) {
  std::vector<std::uint8_t> full(TCachedFileRead::BufferSize, 0);
  full.back() = 0x7B;
  reader_.LoadFromFile(write("end.bin", full));
  for (int i = 0; i < TCachedFileRead::BufferSize - 1; ++i) reader_.ReadByte();
  EXPECT_EQ(reader_.ReadWord(), 0x007B);
}

TEST_F(CachedFileRead, FileLargerThanTheBufferIsRefused) {
  reader_.LoadFromFile(write("small.bin", {9, 8}));
  const std::string big = write("big.bin", std::vector<std::uint8_t>(TCachedFileRead::BufferSize + 1, 1));
  EXPECT_THROW(reader_.LoadFromFile(big), ECachedFileReadError);
  EXPECT_EQ(reader_.Size(), 2);
  EXPECT_EQ(reader_.ReadByte(), 9);
}

TEST_F(CachedFileRead, FileWithoutASizeRaisesAnInputOutputError) {
  // A named pipe exists but has no size to read; it must not block either.
  const std::string path = dir_.filePath("pipe").toStdString();
  ASSERT_EQ(::mkfifo(path.c_str(), 0600), 0);
  reader_.LoadFromFile(write("a.bin", {5}));
  EXPECT_THROW(reader_.LoadFromFile(path), ECachedFileReadError);
  EXPECT_EQ(reader_.ReadByte(), 5);
}

// A folder, a FIFO or a device is refused without waiting on it.
TEST_F(CachedFileRead, FolderIsNotAFile) {
  EXPECT_THROW(reader_.LoadFromFile(dir_.path().toStdString()), ECachedFileReadError);
  EXPECT_THROW(reader_.LoadFromFile("/dev/zero"), ECachedFileReadError);
  EXPECT_EQ(reader_.Size(), 0);
}

}  // namespace
