// The settings file: the reader/writer and the keys start-up and closing use.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include <unistd.h>

#include "TempFolder.h"
#include "core/IniFile.h"
#include "core/MainSettings.h"

namespace fs = std::filesystem;

namespace {

class IniTest : public kalvora::test::TempFolderTest {
 protected:
  IniTest() : TempFolderTest("kalvora_ini_") {}
  void SetUp() override {
    TempFolderTest::SetUp();
    path_ = (dir_ / "kalvora.dai").string();
  }

  void WriteFile(const std::string& text) {
    std::ofstream(path_, std::ios::binary) << text;
  }
  std::string ReadFile() { return kalvora::test::ReadText(path_); }

  std::string path_;
};

TEST_F(IniTest, ReadsValuesWithDefaults) {
  WriteFile("; comment\r\n[General]\r\nStarts = 12\r\nShow Hints=0\r\nName=  some text  \r\n"
            "Bad=12x\r\n[Colours]\r\nclFrom=$FF00\r\nclTo=16777215\r\nNeg=-3\r\n");
  TIniFile ini(path_);
  struct Case {
    const char* section;
    const char* key;
    int def;
    int expected;
  } cases[] = {
      {"General", "Starts", 0, 12},
      {"general", "STARTS", 0, 12},   // names ignore case
      {"General", "Bad", 7, 7},       // not a number: default
      {"General", "Missing", 5, 5},
      {"Missing", "Starts", 9, 9},
      {"Colours", "clFrom", 0, 0xFF00},
      {"Colours", "clTo", 0, 0xFFFFFF},
      {"Colours", "Neg", 0, -3},
  };
  for (const Case& c : cases)
    EXPECT_EQ(ini.ReadInteger(c.section, c.key, c.def), c.expected) << c.section << "/" << c.key;
  EXPECT_FALSE(ini.ReadBool("General", "Show Hints", true));
  EXPECT_TRUE(ini.ReadBool("General", "Starts", false));  // any non-zero integer
  EXPECT_EQ(ini.ReadString("General", "Name", ""), "some text");
  EXPECT_EQ(ini.ReadString("General", "Nothing", "?"), "?");
}

TEST_F(IniTest, WritingKeepsOtherLinesAndOrder) {
  WriteFile("; keep me\r\n[A]\r\nx=1\r\nodd line\r\ny=2\r\n\r\n[B]\r\nz=3\r\n");
  TIniFile ini(path_);
  ini.WriteInteger("a", "Y", 5);  // existing key keeps its spelling and place
  ini.WriteString("A", "new", "v");
  ini.WriteBool("C", "flag", true);
  ini.UpdateFile();
  EXPECT_EQ(ReadFile(), "; keep me\r\n[A]\r\nx=1\r\nodd line\r\ny=5\r\nnew=v\r\n\r\n[B]\r\nz=3\r\n[C]\r\nflag=1\r\n");
}

TEST_F(IniTest, MissingFileAndUnwritableFolder) {
  TIniFile ini(path_);
  EXPECT_FALSE(ini.SectionExists("General"));
  ini.WriteString("S", "k", "line\nbreak");  // a value stays on one line
  ini.UpdateFile();
  EXPECT_EQ(TIniFile(path_).ReadString("S", "k", ""), "linebreak");

  TIniFile bad((dir_ / "no_such_folder" / "kalvora.dai").string());
  bad.WriteInteger("S", "k", 1);
  EXPECT_THROW(bad.UpdateFile(), std::runtime_error);
}

// Values go through the writer and a fresh reader exactly as they were,
// blanks at either end and quotes included; only what no line can hold (a
// line break, a zero byte) is left out.
TEST_F(IniTest, ValuesComeBackExactly) {
  struct Case {
    std::string value;
    std::string line;  // as the file holds it
    std::string back;
  } cases[] = {
      {"song.kvi", "k=song.kvi", "song.kvi"},
      {"song.kvi ", "k=\"song.kvi \"", "song.kvi "},
      {"  two  blanks", "k=\"  two  blanks\"", "  two  blanks"},
      {"\ttab\t", "k=\"\ttab\t\"", "\ttab\t"},
      {" ", "k=\" \"", " "},
      {"", "k=", ""},
      {"\"quoted\"", "k=\"\"quoted\"\"", "\"quoted\""},
      {"\"", "k=\"\"\"", "\""},
      {"\"\"", "k=\"\"\"\"", "\"\""},
      {"say \"hi\" twice", "k=say \"hi\" twice", "say \"hi\" twice"},
      {"\"open", "k=\"\"open\"", "\"open"},
      {"a=b ;c", "k=a=b ;c", "a=b ;c"},
      {"line\nbreak", "k=linebreak", "linebreak"},
      {"crlf\r\n", "k=crlf", "crlf"},
      {std::string("zero\0byte", 9), "k=zerobyte", "zerobyte"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.line);
    EXPECT_EQ(IniValueKeepable(c.value), c.value == c.back);
    {
      TIniFile ini(path_, false);
      ini.WriteString("S", "k", c.value);
      EXPECT_EQ(ini.ReadString("S", "k", "<absent>"), c.back);  // the same before the file is written
      ini.UpdateFile();
    }
    EXPECT_EQ(ReadFile(), "[S]\r\n" + c.line + "\r\n");
    EXPECT_EQ(TIniFile(path_).ReadString("S", "k", "<absent>"), c.back);
  }
  // Blanks outside the quotes of a hand-written line are not part of the value.
  WriteFile("[S]\r\na =  \" padded \"  \r\nb=\"\"\r\nc=\"\r\nd=5\"\r\ne=\"7\"\r\n");
  TIniFile ini(path_);
  EXPECT_EQ(ini.ReadString("S", "a", ""), " padded ");
  EXPECT_EQ(ini.ReadString("S", "b", "<absent>"), "");
  EXPECT_EQ(ini.ReadString("S", "c", ""), "\"");
  EXPECT_EQ(ini.ReadString("S", "d", ""), "5\"");
  EXPECT_EQ(ini.ReadInteger("S", "e", 0), 7);

  // A value read from between quotes may hold what the reader trims (a CR
  // as well as blanks) or end in "]" after a key that begins with "[": the
  // file is written back so that the next reading gives the same value.
  struct ReadCase {
    std::string line;  // as found
    std::string key;
    std::string value;    // as read
    std::string written;  // as written back
  } readCases[] = {
      {"k=\"x\r\"", "k", "x\r", "k=\"x\r\""},
      {"k=\"\rx\"", "k", "\rx", "k=\"\rx\""},
      {"k=\"\r\"", "k", "\r", "k=\"\r\""},
      {"k=\"\r\r\"", "k", "\r\r", "k=\"\r\r\""},
      {"k=\"a\rb\"", "k", "a\rb", "k=a\rb"},  // inside, a CR is kept without quotes
      {"k=a\rb\r", "k", "a\rb", "k=a\rb"},
      {"[k=\"v]\"", "[k", "v]", "[k=\"v]\""},  // "[k=v]" would be a section
      {" [k = \"[v]\" ", "[k", "[v]", "[k=\"[v]\""},
      {"[=\"]\"", "[", "]", "[=\"]\""},
      {"k=\"v]\"", "k", "v]", "k=v]"},
      {"[k]=\"v]\"", "[k]", "v]", "[k]=\"v]\""},
  };
  for (const ReadCase& c : readCases) {
    SCOPED_TRACE(c.line);
    WriteFile("[S]\r\n" + c.line + "\r\n");
    const std::string written = "[S]\r\n" + c.written + "\r\n";
    {
      TIniFile read(path_);
      EXPECT_EQ(read.ReadString("S", c.key, "<absent>"), c.value);
      EXPECT_EQ(read.Text(), written);
      read.UpdateFile();
    }
    TIniFile again(path_);
    EXPECT_EQ(again.ReadString("S", c.key, "<absent>"), c.value);
    EXPECT_EQ(again.Text(), written);
  }
}

// Every byte a line can hold, at either end of a value read from between
// quotes (the form that keeps any value), after a plain key and after one
// that begins with "[": written back and read again, the value and the file
// stay as they were. Quotes are added only where the reader needs them.
TEST_F(IniTest, ReadThenWriteKeepsAnyByteAtEitherEnd) {
  for (const std::string key : {"k", "[k"}) {
    for (int b = 1; b < 256; ++b) {
      if (b == '\n') continue;
      const std::string c(1, static_cast<char>(b));
      for (const std::string& value : {c, c + "x", "x" + c, c + "x" + c}) {
        SCOPED_TRACE("key " + key + ", byte " + std::to_string(b) + ", value of " + std::to_string(value.size()));
        WriteFile("[S]\r\n" + key + "=\"" + value + "\"\r\n");
        std::string text;
        {
          TIniFile read(path_);
          ASSERT_EQ(read.ReadString("S", key, "<absent>"), value);
          text = read.Text();
          read.UpdateFile();
        }
        TIniFile again(path_);
        EXPECT_EQ(again.ReadString("S", key, "<absent>"), value);
        EXPECT_EQ(again.Text(), text);
        const auto trimmedOrQuote = [](char x) { return x == ' ' || x == '\t' || x == '\r' || x == '"'; };
        const bool needsQuotes = trimmedOrQuote(value.front()) || trimmedOrQuote(value.back()) ||
                                 (key[0] == '[' && value.back() == ']');
        EXPECT_EQ(text, "[S]\r\n" + key + "=" + (needsQuotes ? '"' + value + '"' : value) + "\r\n");
      }
    }
  }
}

// The settings keep names with blanks and quotes; a recent file the settings
// file cannot keep is left out of the stored list rather than changed.
TEST_F(IniTest, RecentFilesAndVoiceNamesKeepTheirBlanks) {
  TMainSettings s;
  s.RecentFiles = {"/m/song.kvi ", "/m/two\nlines.kvi", " /m/lead.kvi", "?", "/m/\"q\".kvi", "/m/cr\r.kvi",
                   "/m/plain.kvi"};
  s.DefaultVoiceNames[0] = " Bass ";
  s.DefaultVoiceNames[1] = "";
  s.DefaultVoiceNames[2] = "\"Lead\"";
  s.DefaultVoiceNames[3] = " ";
  s.AutoConvertOptions = "-q 5 ";
  {
    TIniFile ini(path_);
    SaveMainSettings(ini, s);
    ini.UpdateFile();
  }
  TMainSettings back;
  LoadMainSettings(TIniFile(path_), back);
  EXPECT_EQ(back.RecentFiles,
            (std::vector<std::string>{"/m/song.kvi ", " /m/lead.kvi", "/m/\"q\".kvi", "/m/plain.kvi"}));
  EXPECT_EQ(back.DefaultVoiceNames, s.DefaultVoiceNames);
  EXPECT_EQ(back.DefaultVoiceNames[4], "05");
  EXPECT_EQ(back.AutoConvertOptions, "-q 5 ");
  // The list ends right after the names it kept.
  EXPECT_EQ(TIniFile(path_).ReadString("MRU File List", "#5", "<absent>"), "?");
}

TEST_F(IniTest, FreshStartGivesDefaultsAndWritesThem) {
  TMainSettings s;
  {
    TIniFile ini(path_);
    LoadMainSettings(ini, s);
  }
  EXPECT_EQ(s.Starts, 1);
  EXPECT_TRUE(s.ShowHints);
  EXPECT_EQ(s.DefaultCalculationQuality, 2);
  EXPECT_EQ(s.BackgroundMain.TileMode, tmTile);  // stored Mode 0
  EXPECT_EQ(s.BackgroundMain.ColorFrom, 0xFFFFFFu);
  EXPECT_EQ(s.BackgroundMain.ColorTo, 0xC0C0C0u);
  EXPECT_EQ(s.DefaultVoiceNames[0], "01");
  EXPECT_EQ(s.DefaultVoiceNames[31], "32");
  EXPECT_EQ(s.WaveviewSonogramFFTSize, 4);
  EXPECT_EQ(s.AutoConvertMode, 2);
  EXPECT_TRUE(s.RecentFiles.empty());

  TIniFile out(path_);
  SaveMainSettings(out, s);
  out.UpdateFile();
  TIniFile back(path_);
  struct Key {
    const char* section;
    const char* key;
    const char* value;
  } keys[] = {
      {"General", "Open Time", "0"},        {"General", "Calculation Time", "0"},
      {"General", "Calculated Waves", "0"}, {"General", "Starts", "1"},
      {"General", "Show Hints", "1"},       {"General", "Default Calculation Quality", "2"},
      {"General", "Top Panel", "1"},        {"General", "Left Panel", "1"},
      {"General", "Bottom Panel", "1"},     {"Background Main", "Default", "1"},
      {"Background Main", "Mode", "0"},     {"Background Main", "clFrom", "16777215"},
      {"Background Main", "clTo", "12632256"}, {"Background Border", "Mode", "0"},
      {"Options", "AutoConvert", "0"},      {"Options", "AutoConvertMode", "2"},
      {"Default Voice Names", "#05", "05"}, {"MIDI Input", "Enabled", "0"},
      {"MIDI Input", "DeviceID", "0"},      {"Waveview", "Sonogram FFT Size", "4"},
      {"MRU File List", "#1", "?"},
  };
  for (const Key& k : keys) EXPECT_EQ(back.ReadString(k.section, k.key, "<absent>"), k.value) << k.key;
}

TEST_F(IniTest, SettingsRoundTripAndSpecialValues) {
  WriteFile("[General]\r\nStarts=41\r\nOpen Time=1.25\r\nCalculation Time=abc\r\n"
            "[Background Main]\r\nMode=5\r\n[Background Border]\r\nMode=3\r\n"
            "[Default Voice Names]\r\n#05=Bass\r\n"
            "[MRU File List]\r\n#1=/a.kvi\r\n#2=/b.kvi\r\n#3=?\r\n#4=/stale.kvi\r\n");
  TMainSettings s;
  TIniFile ini(path_);
  LoadMainSettings(ini, s);
  EXPECT_EQ(s.Starts, 42);
  EXPECT_DOUBLE_EQ(s.OpenTime, 1.25);
  EXPECT_EQ(s.CalculationTime, 0.0);               // not a number
  EXPECT_EQ(s.BackgroundMain.TileMode, tmNone);    // Mode 5 leaves it as it was
  EXPECT_EQ(s.BackgroundBorder.TileMode, tmGradient);
  EXPECT_EQ(s.DefaultVoiceNames[4], "Bass");
  EXPECT_EQ(s.DefaultVoiceNames[3], "04");
  ASSERT_EQ(s.RecentFiles, (std::vector<std::string>{"/a.kvi", "/b.kvi"}));

  s.OpenTime += 0.1;  // shortest text that reads back exactly
  s.RecentFiles = {"/c.kvi"};
  SaveMainSettings(ini, s);
  ini.UpdateFile();
  TMainSettings again;
  LoadMainSettings(TIniFile(path_), again);
  EXPECT_EQ(again.OpenTime, s.OpenTime);
  EXPECT_EQ(again.Starts, 43);
  EXPECT_EQ(again.RecentFiles, std::vector<std::string>{"/c.kvi"});  // the old #2 is not read back
  EXPECT_EQ(again.BackgroundBorder.TileMode, tmGradient);
}

TEST_F(IniTest, FormPlaces) {
  WriteFile("[Positions]\r\nMain x=-1\r\nMain y=40\r\nMain w=800\r\n");
  TIniFile ini(path_);
  TFormPlace p = ReadFormPlace(ini, "Main");
  EXPECT_EQ(p.x, -1);
  EXPECT_EQ(p.y, 40);
  EXPECT_EQ(p.w, 800);
  EXPECT_EQ(p.h, -1);
  WriteFormPosition(ini, "InGlob", 10, 20);
  WriteFormSize(ini, "InGlob", 30, 40);
  TFormPlace q = ReadFormPlace(ini, "InGlob");
  EXPECT_EQ(q.x, 10);
  EXPECT_EQ(q.h, 40);
  EXPECT_EQ(ini.ReadInteger("Positions", "InGlob y", 0), 20);
}

TEST_F(IniTest, AByteOrderMarkIsNotPartOfTheFirstSection) {
  // A file saved twice by a careless editor carries the mark twice; blanks
  // before the section do not keep it.
  for (const std::string marks : {"\xEF\xBB\xBF", "\xEF\xBB\xBF\xEF\xBB\xBF", "\t\xEF\xBB\xBF"}) {
    WriteFile(marks + "[General]\r\nStarts=7\r\n");
    TIniFile ini(path_);
    EXPECT_EQ(ini.ReadInteger("General", "Starts", 0), 7) << marks.size();
    ini.WriteInteger("General", "Starts", 8);
    ini.UpdateFile();
    // One section still, not a second one added at the end.
    const std::string text = ReadFile();
    EXPECT_EQ(text.find("[General]"), text.rfind("[General]")) << marks.size();
    EXPECT_EQ(TIniFile(path_).ReadInteger("General", "Starts", 0), 8) << marks.size();
  }
}

TEST(WindowPlaces, StayReachableInTheirArea) {
  const TPlaceArea screen{0, 0, 1024, 768};
  struct Case {
    int x, y, w, h;
    int expectedX, expectedY;
  } cases[] = {
      {100, 50, 400, 300, 100, 50},           // inside: kept
      {-100000, -100000, 400, 300, 0 - 360, 0},  // 40 pixels of it stay on the left edge
      {99999, 99999, 400, 300, 1024 - 40, 768 - 40},
      {-200, 10, 400, 300, -200, 10},         // partly off but reachable: kept
      {2147483647, -2147483647 - 1, 400, 300, 984, 0},
      {500, 500, 10, 10, 500, 500},           // a window narrower than the grip
      {5000, 0, 10, 10, 1014, 0},
  };
  for (const Case& c : cases) {
    int x = c.x, y = c.y;
    KeepReachable(x, y, c.w, c.h, screen);
    EXPECT_EQ(x, c.expectedX) << c.x << "," << c.y;
    EXPECT_EQ(y, c.expectedY) << c.x << "," << c.y;
  }
  int x = -5, y = 99999;
  KeepReachable(x, y, 100, 100, TPlaceArea{});  // no area known: as asked
  EXPECT_EQ(x, -5);
  EXPECT_EQ(y, 99999);
}

}  // namespace
