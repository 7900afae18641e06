// How every file of the program is opened and replaced: no reader waits on
// a FIFO or a device or reads an endless file whole, no save writes through
// a planted link, over someone's file or into a cut file, and a save keeps
// the permission bits and the symbolic link it replaces.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include "ChildProcess.h"
#include "TempFolder.h"
#include "core/Document.h"
#include "core/FileAccess.h"
#include "core/IniFile.h"
#include "formats/DescriptionFile.h"
#include "formats/EnvelopeImport.h"
#include "formats/InstrumentFile.h"
#include "formats/LibraryFiles.h"
#include "formats/PresetImport.h"
#include "formats/WavFile.h"

namespace fs = std::filesystem;
using kalvora::test::InChild;
using kalvora::test::kCannotDropRoot;
using kalvora::test::ReadText;

namespace {

void WriteText(const fs::path& p, const std::string& text) {
  std::ofstream(p, std::ios::binary) << text;
}

fs::perms Mode(const fs::path& p) { return fs::status(p).permissions() & fs::perms::mask; }

// The names in the folder: a failed or finished save leaves no temporary file.
std::set<std::string> Entries(const fs::path& dir) {
  std::set<std::string> names;
  for (const auto& e : fs::directory_iterator(dir)) names.insert(e.path().filename().string());
  return names;
}

// 0 when `fn` throws EByteFileError whose text holds `part`.
int RefusedWith(const std::function<void()>& fn, const std::string& part) {
  try {
    fn();
  } catch (const EByteFileError& e) {
    return std::string(e.what()).find(part) != std::string::npos ? 0 : 2;
  }
  return 1;
}

class FileAccess : public kalvora::test::TimedTempFolderTest {};

// ---------------------------------------------------------------------------
// Reading

// Each reader of the program, with the name it reads.
struct Reader {
  const char* what;
  const char* name;
  std::function<void(const fs::path&)> read;
};

// A reader whose own error becomes the common one, so one check serves all.
template <class E>
std::function<void(const fs::path&)> Rethrown(std::function<void(const fs::path&)> read) {
  return [read](const fs::path& p) {
    try {
      read(p);
    } catch (const E& e) {
      throw EByteFileError(e.what());
    }
  };
}

std::vector<Reader> Readers() {
  const auto library = [](const fs::path& p) {
    TWavePresetTable t;
    LoadWavePresets(p, t);
  };
  const auto preset = [](const fs::path& p) { ImportPresetFile(p.string()); };
  return {
      {"settings", "kalvora.dai", [](const fs::path& p) { TIniFile ini(p.string()); }},
      {"description", "kalvora.dad", [](const fs::path& p) { ReadDescriptionFile(p); }},
      {"library", "kalvora.dap", Rethrown<ELibraryFileError>(library)},
      {"instrument", "a.kvi", Rethrown<EInstrumentFileError>([](const fs::path& p) { ReadInstrumentFile(p); })},
      {"preset wav", "a.wav", Rethrown<EPresetImportError>(preset)},
      {"preset text", "a.txt", Rethrown<EPresetImportError>(preset)},
      {"envelope text", "e.txt", [](const fs::path& p) { ReadFileBytes(p, 1 << 20); }},
  };
}

// A FIFO with no writer, an endless device and a folder are refused at
// once, each with a message naming the file.
TEST_F(FileAccess, EveryReaderRefusesWhatIsNotARegularFile) {
  for (const Reader& r : Readers()) {
    for (const char* kind : {"fifo", "device", "folder"}) {
      const fs::path p = dir_ / r.name;
      fs::remove_all(p);
      if (kind == std::string("fifo")) {
        ASSERT_EQ(::mkfifo(p.c_str(), 0644), 0);
      }
      if (kind == std::string("device")) fs::create_symlink("/dev/zero", p);
      if (kind == std::string("folder")) fs::create_directory(p);
      EXPECT_EQ(RefusedWith([&] { r.read(p); }, "\"" + p.string() + "\": it is not a regular file"), 0)
          << r.what << " / " << kind;
    }
  }
}

TEST_F(FileAccess, BoundedReadersRefuseLargerFilesWithoutReadingThem) {
  struct Case {
    const char* name;
    std::uintmax_t bound;
    std::function<void(const fs::path&)> read;
  };
  const std::vector<Case> cases = {
      {"kalvora.dai", kMaxIniFileSize, [](const fs::path& p) { TIniFile ini(p.string()); }},
      {"kalvora.dad", kMaxDescriptionFileSize, [](const fs::path& p) { ReadDescriptionFile(p); }},
  };
  for (const Case& c : cases) {
    const fs::path p = dir_ / c.name;
    WriteText(p, "[General]\r\n");
    fs::resize_file(p, c.bound + 1);  // sparse: no disk is spent
    EXPECT_EQ(RefusedWith([&] { c.read(p); }, "is too large to be read"), 0) << c.name;
    fs::resize_file(p, 0);
    EXPECT_NO_THROW(c.read(p)) << c.name;  // an empty file is a valid one
  }
}

// A zero byte is what a disk that lost the end of a write leaves; settings
// read from such a file would be written back as defaults.
TEST_F(FileAccess, TextWithZeroBytesIsDamaged) {
  const fs::path p = dir_ / "kalvora.dai";
  WriteText(p, std::string("[General]\r\nStarts=4\r\n") + std::string(512, '\0'));
  // Not "zero bytes", which reads as an empty file, and an empty one is fine.
  const std::string message = "The file \"" + p.string() + "\" is damaged: it holds a NUL byte (a byte of value zero)";
  EXPECT_EQ(RefusedWith([&] { TIniFile ini(p.string()); }, message), 0);
  EXPECT_EQ(RefusedWith([&] { ReadDescriptionFile(p); }, message), 0);
}

TEST_F(FileAccess, TextLinesSplitLikeTheOldReader) {
  const fs::path p = dir_ / "t";
  bool found = true;
  EXPECT_TRUE(ReadTextFileLines(dir_ / "none", 10, &found).empty());
  EXPECT_FALSE(found);
  WriteText(p, "a\r\nb\n\r\n\xE9t\xE9");
  EXPECT_EQ(ReadTextFileLines(p, 100, &found), (std::vector<std::string>{"a", "b", "", "\xE9t\xE9"}));
  EXPECT_TRUE(found);
  WriteText(p, "end\n");
  EXPECT_EQ(ReadTextFileLines(p, 100), (std::vector<std::string>{"end"}));
}

// Permission bits bind everyone but root: the check runs as "nobody".
TEST_F(FileAccess, AnUnreadableFileIsReportedNotTakenAsMissing) {
  const fs::path p = dir_ / "kalvora.dai";
  WriteText(p, "[General]\r\nStarts=7\r\n");
  fs::permissions(p, fs::perms::none);
  const int settings = InChild([&] { return RefusedWith([&] { TIniFile ini(p.string()); }, "Permission denied"); }, true);
  if (settings == kCannotDropRoot) GTEST_SKIP() << "root cannot become another user here";
  EXPECT_EQ(settings, 0);
  EXPECT_EQ(InChild([&] { return RefusedWith([&] { ReadDescriptionFile(p); }, "Permission denied"); }, true), 0);
}

// ---------------------------------------------------------------------------
// Preset import

std::vector<std::uint8_t> MonoWavHeader(int bits, std::uint32_t dataBytes) {
  auto u32 = [](std::vector<std::uint8_t>& b, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) b.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
  };
  std::vector<std::uint8_t> b;
  for (char c : std::string("RIFF")) b.push_back(static_cast<std::uint8_t>(c));
  u32(b, dataBytes + 36);
  for (char c : std::string("WAVEfmt ")) b.push_back(static_cast<std::uint8_t>(c));
  u32(b, 16);
  b.insert(b.end(), {1, 0, 1, 0});  // PCM, one channel
  u32(b, 44100);
  u32(b, 44100 * bits / 8);
  b.insert(b.end(), {static_cast<std::uint8_t>(bits / 8), 0, static_cast<std::uint8_t>(bits), 0});
  for (char c : std::string("data")) b.push_back(static_cast<std::uint8_t>(c));
  u32(b, dataBytes);
  return b;
}

// A preset is found by a search through the file, which in a large file
// without the tags keeps the window frozen: a file above the bound is
// refused before a byte is read, with the message of the other readers,
// even when its head holds a valid preset. A file of the bound's size, as
// large a sound file as a person picks, imports from its first bytes.
TEST_F(FileAccess, PresetImportRefusesFilesAboveItsBoundAtOnce) {
  std::vector<std::uint8_t> head = MonoWavHeader(16, 0xC0000000u);
  for (int i = 0; i < 150; ++i) {
    const std::int16_t s = static_cast<std::int16_t>(i < 149 ? -32768 + 440 * i : 32767);
    head.push_back(static_cast<std::uint8_t>(s & 0xFF));
    head.push_back(static_cast<std::uint8_t>((s >> 8) & 0xFF));
  }
  const std::string text = std::string(kPresetTextHeader) + "\nRamp\n" + [] {
    std::string levels;
    for (int i = 0; i < 150; ++i) levels += std::to_string(i) + "\n";
    return levels;
  }();
  struct Case {
    const char* name;
    std::uintmax_t size;  // sparse: no disk is spent
    bool imports;
  } cases[] = {
      {"at the bound.wav", kMaxPresetImportFileSize, true},
      {"one byte more.wav", kMaxPresetImportFileSize + 1, false},
      {"huge.wav", 3ull << 30, false},
      {"at the bound.txt", kMaxPresetImportFileSize, true},
      {"one byte more.txt", kMaxPresetImportFileSize + 1, false},
  };
  for (const Case& c : cases) {
    const fs::path p = dir_ / c.name;
    if (p.extension() == ".txt") {
      WriteText(p, text);
    } else {
      std::ofstream(p, std::ios::binary).write(reinterpret_cast<const char*>(head.data()),
                                                static_cast<std::streamsize>(head.size()));
    }
    fs::resize_file(p, c.size);
    if (c.imports) {
      TImportedPreset preset;
      ASSERT_NO_THROW(preset = ImportPresetFile(p.string())) << c.name;
      for (int i = 0; i < 150; ++i) ASSERT_EQ(preset.Data[i], i) << c.name << " sample " << i;
    } else {
      try {
        ImportPresetFile(p.string());
        ADD_FAILURE() << c.name << " was imported";
      } catch (const EPresetImportError& e) {
        const std::string message = e.what();
        for (const std::string& part : {"\"" + p.string() + "\"", std::string("is too large to be read"),
                                        std::to_string(kMaxPresetImportFileSize) + " bytes"})
          EXPECT_NE(message.find(part), std::string::npos) << c.name << ": " << message;
      }
    }
    fs::remove(p);
  }
}

// ---------------------------------------------------------------------------
// Writing

TEST_F(FileAccess, ASaveNeverWritesThroughAPlantedLinkNorOverAnotherFile) {
  const fs::path victim = dir_ / "victim";
  WriteText(victim, "precious");
  const fs::path out = dir_ / "s.wav";
  // Every name an older writer used beside the file: links to the victim,
  // and a file of the person's own.
  for (const char* name : {"s.wav.tmp", ".s.wav.tmp", "s.wav~"}) fs::create_symlink(victim, dir_ / name);
  WriteText(dir_ / "s.tmp", "mine");
  ReplaceFile(out, std::vector<std::uint8_t>{'n', 'e', 'w'});
  EXPECT_EQ(ReadText(out), "new");
  EXPECT_EQ(ReadText(victim), "precious");
  EXPECT_EQ(ReadText(dir_ / "s.tmp"), "mine");
  EXPECT_TRUE(fs::is_symlink(dir_ / "s.wav.tmp"));
  EXPECT_EQ(Entries(dir_), (std::set<std::string>{"victim", "s.wav", "s.wav.tmp", ".s.wav.tmp", "s.wav~", "s.tmp"}));
}

TEST_F(FileAccess, ASaveKeepsTheModeOfTheFileItReplaces) {
  const fs::path p = dir_ / "private.kvi";
  WriteText(p, "old");
  fs::permissions(p, fs::perms::owner_read | fs::perms::owner_write);
  ReplaceFile(p, std::vector<std::uint8_t>{'n'});
  EXPECT_EQ(ReadText(p), "n");
  EXPECT_EQ(Mode(p), fs::perms::owner_read | fs::perms::owner_write);
  // A new file gets what the umask leaves of 0666.
  const mode_t old = ::umask(027);
  ReplaceFile(dir_ / "new.kvi", std::vector<std::uint8_t>{'n'});
  ::umask(old);
  EXPECT_EQ(Mode(dir_ / "new.kvi"), fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read);
}

TEST_F(FileAccess, ASymbolicLinkStaysALinkAndItsFileIsReplaced) {
  fs::create_directory(dir_ / "real");
  WriteText(dir_ / "real" / "inst.kvi", "old");
  fs::create_symlink("real/inst.kvi", dir_ / "inst.kvi");  // relative to the link's folder
  ReplaceFile(dir_ / "inst.kvi", std::vector<std::uint8_t>{'n', 'e', 'w'});
  EXPECT_TRUE(fs::is_symlink(dir_ / "inst.kvi"));
  EXPECT_EQ(ReadText(dir_ / "real" / "inst.kvi"), "new");
  EXPECT_EQ(Entries(dir_ / "real"), (std::set<std::string>{"inst.kvi"}));
  // A link whose file does not exist yet makes that file.
  fs::create_symlink(dir_ / "real" / "later.wav", dir_ / "later.wav");
  ReplaceFile(dir_ / "later.wav", std::vector<std::uint8_t>{'w'});
  EXPECT_TRUE(fs::is_symlink(dir_ / "later.wav"));
  EXPECT_EQ(ReadText(dir_ / "real" / "later.wav"), "w");
}

// A file-size limit (ulimit -f) with the signal ignored, as the program
// does at start: the write fails with EFBIG and is reported; the old file
// stays whole and no temporary file is left.
TEST_F(FileAccess, AWriteOverTheFileSizeLimitKeepsTheOldFile) {
  const fs::path p = dir_ / "kalvora.dap";
  WriteText(p, "old library");
  const int code = InChild([&] {
    IgnoreFileSizeSignal();
    const rlimit limit{4096, 4096};
    ::setrlimit(RLIMIT_FSIZE, &limit);
    return RefusedWith([&] { ReplaceFile(p, std::vector<std::uint8_t>(10000, 7)); },
                       "Can not write the file \"" + p.string() + "\": File too large");
  });
  EXPECT_EQ(code, 0);
  EXPECT_EQ(ReadText(p), "old library");
  EXPECT_EQ(Entries(dir_), (std::set<std::string>{"kalvora.dap"}));
}

TEST_F(FileAccess, AWriteIntoAReadOnlyFolderKeepsTheOldFile) {
  const fs::path p = dir_ / "kalvora.dai";
  WriteText(p, "[General]\r\n");
  fs::permissions(dir_, fs::perms::owner_all | fs::perms::group_read | fs::perms::group_exec |
                            fs::perms::others_read | fs::perms::others_exec);
  fs::permissions(p, fs::perms::all);  // the file itself may be written, the folder not
  const int code = InChild(
      [&] {
        TIniFile ini(p.string());
        ini.WriteInteger("General", "Starts", 1);
        return RefusedWith([&] { ini.UpdateFile(); }, "Permission denied");
      },
      true);
  if (code == kCannotDropRoot) GTEST_SKIP() << "root cannot become another user here";
  EXPECT_EQ(code, 0);
  EXPECT_EQ(ReadText(p), "[General]\r\n");
  EXPECT_EQ(Entries(dir_), (std::set<std::string>{"kalvora.dai"}));
}

// Each writer of the program, with the name it writes.
struct Writer {
  const char* what;
  const char* name;
  std::function<void(const fs::path&)> write;
};

std::vector<Writer> Writers() {
  return {
      {"instrument", "a.kvi",
       [](const fs::path& p) {
         TInstrumentDocument doc;
         doc.Voice(1).Active = false;  // its presets are in no table here
         WriteInstrumentFile(p, doc);
       }},
      {"wav", "a.wav", [](const fs::path& p) { WriteWaveFile(p, {1, 0, 2, 0}, 0); }},
      {"wave presets", "kalvora.dap",
       Rethrown<ELibraryWriteError>([](const fs::path& p) { SaveWavePresets(p, TWavePresetTable()); })},
      {"volume envelopes", "kalvora.dav",
       Rethrown<ELibraryWriteError>([](const fs::path& p) { SaveVolumeEnvelopes(p, TVolumeEnvelopeTable()); })},
      {"macros", "kalvora.dam", Rethrown<ELibraryWriteError>([](const fs::path& p) { SaveMacros(p, {}); })},
      {"settings", "kalvora.dai",
       [](const fs::path& p) {
         TIniFile ini(p.string(), false);
         ini.WriteInteger("General", "Starts", 2);
         ini.UpdateFile();
       }},
      {"description", "kalvora.dad", [](const fs::path& p) { WriteDescriptionFile(p, {"new"}); }},
  };
}

// In a folder of the user's own the rename alone would be allowed: the
// file's own owner and bits decide, for every writer, as for a write in
// place. Runs as "nobody", since root may write anything.
TEST_F(FileAccess, NoWriterReplacesAFileTheUserMayNotWrite) {
  constexpr uid_t kNobody = 65534;
  const fs::path home = dir_ / "home";
  fs::create_directory(home);
  ASSERT_EQ(::chown(home.c_str(), kNobody, kNobody), 0);
  struct Case {
    const char* what;
    uid_t owner;
    mode_t mode;
    bool viaLink;  // the name is a link to the file beside it
    bool refused;
  };
  const Case cases[] = {
      {"own read-only file", kNobody, 0444, false, true},
      {"root's file", 0, 0644, false, true},
      {"link to an own read-only file", kNobody, 0444, true, true},
      {"own file", kNobody, 0644, false, false},
      {"link to an own file", kNobody, 0600, true, false},
  };
  for (const Writer& w : Writers()) {
    for (const Case& c : cases) {
      SCOPED_TRACE(std::string(w.what) + " / " + c.what);
      const fs::path name = home / w.name;
      const fs::path file = c.viaLink ? home / (std::string("real-") + w.name) : name;
      WriteText(file, "old");
      ASSERT_EQ(::chown(file.c_str(), c.owner, c.owner), 0);
      ASSERT_EQ(::chmod(file.c_str(), c.mode), 0);
      if (c.viaLink) fs::create_symlink(file.filename(), name);
      const int code = InChild(
          [&] {
            return RefusedWith([&] { w.write(name); },
                               "Can not write the file \"" + name.string() + "\": Permission denied");
          },
          true);
      if (code == kCannotDropRoot) GTEST_SKIP() << "root cannot become another user here";
      EXPECT_EQ(code, c.refused ? 0 : 1);  // 1: written without a word
      EXPECT_EQ(ReadText(file) == "old", c.refused);
      struct stat st;
      ASSERT_EQ(::stat(file.c_str(), &st), 0);
      EXPECT_EQ(st.st_uid, c.owner);
      EXPECT_EQ(st.st_mode & 07777, c.mode);
      EXPECT_EQ(fs::is_symlink(name), c.viaLink);
      std::set<std::string> left = {w.name};
      if (c.viaLink) left.insert(file.filename().string());
      EXPECT_EQ(Entries(home), left);
      fs::remove(name);
      fs::remove(file);
    }
  }
  // With no file of that name there is nothing to refuse.
  const fs::path fresh = home / "new.kvi";
  EXPECT_EQ(InChild([&] { return RefusedWith([&] { Writers()[0].write(fresh); }, ""); }, true), 1);
  EXPECT_TRUE(fs::is_regular_file(fresh));
}

TEST_F(FileAccess, ASaveOverSomethingThatIsNotAFileIsRefused) {
  fs::create_directory(dir_ / "kalvora.dav");
  EXPECT_EQ(RefusedWith([&] { ReplaceFile(dir_ / "kalvora.dav", std::vector<std::uint8_t>{1}); },
                        "it is not a regular file"),
            0);
  EXPECT_TRUE(fs::is_directory(dir_ / "kalvora.dav"));
}

}  // namespace
