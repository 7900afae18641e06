// The shared byte encoding (strict and padded reading, writing), whole-file
// reading and replacing, and the default description file.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "TempFolder.h"
#include "formats/ByteStream.h"
#include "formats/DescriptionFile.h"

namespace fs = std::filesystem;

using kalvora::test::ReadText;

namespace {

class Files : public kalvora::test::TempFolderTest {
 protected:
  Files() : TempFolderTest("kalvora_formats_") {}
};

TEST(ByteStream, WriterAndStrictReaderAgree) {
  TByteWriter w;
  w.Byte(7);
  w.Word(0xBEEF);
  w.String(std::string("ab\0cd", 5));  // written up to its first zero byte
  w.String("");
  const std::vector<std::uint8_t> bytes = w.Take();
  EXPECT_EQ(bytes, (std::vector<std::uint8_t>{7, 0xEF, 0xBE, 'a', 'b', 0, 0}));

  TByteReader r(bytes);
  EXPECT_EQ(r.ReadByte(), 7);
  EXPECT_EQ(r.ReadWord(), 0xBEEF);
  EXPECT_EQ(r.ReadString(), "ab");
  EXPECT_EQ(r.ReadString(), "");
  EXPECT_EQ(r.Position(), 7);
  EXPECT_THROW(r.ReadByte(), EByteStreamEnd);

  const std::vector<std::uint8_t> open = {'x', 'y'};  // a text without its zero byte
  TByteReader unended(open);
  EXPECT_THROW(unended.ReadString(), EByteStreamEnd);
  const std::vector<std::uint8_t> one = {0x34};
  TByteReader half(one);
  EXPECT_THROW(half.ReadWord(), EByteStreamEnd);
}

TEST(ByteStream, PaddedReaderGivesZerosPastTheEnd) {
  const std::vector<std::uint8_t> bytes = {1, 'h', 'i'};
  TByteReader r(bytes, TByteReader::TEnd::Padded);
  EXPECT_EQ(r.ReadByte(), 1);
  EXPECT_EQ(r.ReadString(), "hi");  // ends at the data's end
  EXPECT_EQ(r.Position(), 4);
  EXPECT_EQ(r.ReadWord(), 0);
  EXPECT_EQ(r.ReadByte(), 0);
  EXPECT_EQ(r.Position(), 7);
  r.Rewind();
  EXPECT_EQ(r.ReadWord(), 'h' << 8 | 1);
}

TEST_F(Files, ReadFileBytesTellsMissingFromEmpty) {
  bool found = true;
  EXPECT_TRUE(ReadFileBytes(dir_ / "none", 10, &found).empty());
  EXPECT_FALSE(found);
  std::ofstream(dir_ / "empty", std::ios::binary);
  EXPECT_TRUE(ReadFileBytes(dir_ / "empty", 10, &found).empty());
  EXPECT_TRUE(found);
  std::ofstream(dir_ / "big", std::ios::binary) << std::string(11, 'x');
  EXPECT_THROW(ReadFileBytes(dir_ / "big", 10), EByteFileError);
  EXPECT_EQ(ReadFileBytes(dir_ / "big", 11).size(), 11u);
  EXPECT_THROW(ReadFileBytes(dir_, 10, &found), EByteFileError);  // a folder is not a file
  EXPECT_FALSE(found);
}

// Whatever holds the name an older writer gave its temporary file is not in
// the way of a save and is left alone (failed writes: fileaccess_test).
TEST_F(Files, AnEntryOfTheOldTemporaryNameIsLeftAlone) {
  const fs::path file = dir_ / "kalvora.dad";
  WriteDescriptionFile(file, {"old", "lines"});
  EXPECT_EQ(ReadText(file), "old\r\nlines\r\n");
  fs::create_directories(dir_ / "kalvora.dad.tmp");
  WriteDescriptionFile(file, {"new"});
  EXPECT_EQ(ReadText(file), "new\r\n");
  EXPECT_TRUE(fs::is_directory(dir_ / "kalvora.dad.tmp"));
}

TEST_F(Files, DescriptionLinesReadBackWhole) {
  const fs::path file = dir_ / "kalvora.dad";
  EXPECT_TRUE(ReadDescriptionFile(file).empty());  // missing
  std::ofstream(file, std::ios::binary) << "crlf\r\nlf\n\r\n\xE9t\xE9";
  EXPECT_EQ(ReadDescriptionFile(file), (std::vector<std::string>{"crlf", "lf", "", "\xE9t\xE9"}));
  const std::vector<std::string> lines = {std::string(1 << 20, 'x'), "", "end"};
  WriteDescriptionFile(file, lines);
  EXPECT_EQ(ReadDescriptionFile(file), lines);
}

}  // namespace
