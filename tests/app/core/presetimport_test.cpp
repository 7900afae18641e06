// Wave-preset import from text and WAV bytes: one table of hand-built
// fixtures covering every message, the scaling of 8- and 16-bit samples with
// their ties, and the choice of reader by the file name.
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <string>
#include <vector>

#include "formats/PresetImport.h"

namespace {

using Bytes = std::vector<std::uint8_t>;
using namespace PresetImportMessage;

Bytes Text(const std::string& s) { return Bytes(s.begin(), s.end()); }

void Put16(Bytes& b, int v) {
  b.push_back(static_cast<std::uint8_t>(v & 0xFF));
  b.push_back(static_cast<std::uint8_t>((v >> 8) & 0xFF));
}
void Put32(Bytes& b, long v) {
  Put16(b, static_cast<int>(v & 0xFFFF));
  Put16(b, static_cast<int>((v >> 16) & 0xFFFF));
}
void PutTag(Bytes& b, const char* t) { b.insert(b.end(), t, t + std::char_traits<char>::length(t)); }

struct WavSpec {
  int format = 1, channels = 1, bits = 8;
  Bytes frames;
  bool listChunk = false;
};

Bytes Wav(const WavSpec& w) {
  Bytes b;
  PutTag(b, "RIFF");
  Put32(b, 0);  // sizes are never read
  PutTag(b, "WAVEfmt ");
  Put32(b, 16);
  Put16(b, w.format);
  Put16(b, w.channels);
  Put32(b, 44100);
  Put32(b, 44100 * w.channels * w.bits / 8);
  Put16(b, w.channels * w.bits / 8);
  Put16(b, w.bits);
  if (w.listChunk) {
    PutTag(b, "LIST");
    Put32(b, 4);
    PutTag(b, "INFO");
  }
  PutTag(b, "data");
  Put32(b, static_cast<long>(w.frames.size()));
  b.insert(b.end(), w.frames.begin(), w.frames.end());
  return b;
}

Bytes Frames16(std::initializer_list<int> samples) {
  Bytes b;
  for (int s : samples) Put16(b, s);
  return b;
}

std::string PresetText(const std::string& name, const std::vector<std::string>& lines, const char* eol = "\r\n") {
  std::string s = std::string(kPresetTextHeader) + eol + name + eol;
  for (const auto& l : lines) s += l + eol;
  return s;
}
std::vector<std::string> Levels(int count, int first = 0) {
  std::vector<std::string> l;
  for (int i = 0; i < count; ++i) l.push_back(std::to_string((first + i) % 150));
  return l;
}

struct ImportCase {
  const char* name;
  bool text;
  Bytes bytes;
  const char* error;  // null: imports
  std::vector<std::pair<int, int>> spots;  // sample -> level
  std::string presetName;
};

TEST(PresetImport, FixturesGiveTheirPresetOrMessage) {
  WavSpec w8;
  w8.frames = {0, 255, 107, 128, 214};
  WavSpec w16;
  w16.bits = 16;
  // -32548 + 32768 = 220: 0.5 -> 0; 660: 1.5 -> 2; 0 -> 74.47 -> 74.
  w16.frames = Frames16({-32768, 32767, -32548, -32108, 0});
  WavSpec list = w8;
  list.listChunk = true;
  WavSpec stereo = w8;
  stereo.channels = 2;
  WavSpec bits24 = w8;
  bits24.bits = 24;
  WavSpec floats = w8;
  floats.format = 3;
  WavSpec pcmHigh = w8;
  pcmHigh.format = 0x0301;  // only the low byte is looked at
  WavSpec longWav;
  for (int i = 0; i < 400; ++i) longWav.frames.push_back(static_cast<std::uint8_t>(i < 150 ? 214 : 0));
  WavSpec cut16 = w16;
  cut16.frames = {0x00, 0x80, 0x12};  // one frame and half of the next
  Bytes dataAtEnd = Wav(w8);
  dataAtEnd.resize(dataAtEnd.size() - w8.frames.size() - 4);  // ends with "data"
  Bytes headerCut = Wav(w8);
  headerCut.resize(12 + 8 + 3);  // inside the format fields
  Bytes junkFirst = Text("junk RIFF");
  const Bytes w8b = Wav(w8);
  junkFirst.insert(junkFirst.end(), w8b.begin() + 4, w8b.end());  // a RIFF found by the search

  std::vector<std::string> bad = Levels(150);
  bad[3] = "abc";
  std::vector<std::string> glued = Levels(150);
  glued[3] = "12x";
  std::vector<std::string> high = Levels(150);
  high[149] = "150";
  std::vector<std::string> negative = Levels(150);
  negative[0] = "-1";
  std::vector<std::string> wrap = Levels(150);
  wrap[7] = "331";  // would wrap to 75 as a byte
  std::vector<std::string> spaced = Levels(150);
  spaced[0] = "  $1F  trailing words";
  spaced[1] = "\t+2";

  const ImportCase cases[] = {
      {"8-bit", false, Wav(w8), nullptr, {{0, 0}, {1, 149}, {2, 62}, {3, 75}, {4, 125}, {5, 75}, {149, 75}}, "a.wav"},
      {"16-bit", false, Wav(w16), nullptr, {{0, 0}, {1, 149}, {2, 0}, {3, 2}, {4, 74}, {5, 75}}, "a.wav"},
      {"LIST chunk before data", false, Wav(list), nullptr, {{1, 149}, {2, 62}}, "a.wav"},
      {"format high byte ignored", false, Wav(pcmHigh), nullptr, {{1, 149}}, "a.wav"},
      {"leading junk", false, junkFirst, nullptr, {{1, 149}}, "a.wav"},
      {"only 150 frames read", false, Wav(longWav), nullptr, {{0, 125}, {149, 125}}, "a.wav"},
      {"stereo", false, Wav(stereo), kNotMono, {}, ""},
      {"24-bit", false, Wav(bits24), kBadBits, {}, ""},
      {"float format", false, Wav(floats), kNotWave, {}, ""},
      {"no RIFF", false, Text("RIFX....WAVEfmt "), kNotWave, {}, ""},
      {"empty", false, {}, kNotWave, {}, ""},
      {"RIFF at the very end", false, Text("xxRIFF"), kNotWave, {}, ""},
      {"no fmt", false, Text("RIFF1234WAVEdata12345678"), kNotWave, {}, ""},
      {"data tag ends the file", false, dataAtEnd, kNotWave, {}, ""},
      {"header cut", false, headerCut, kEndOfFile, {}, ""},
      {"16-bit frame cut", false, Wav(cut16), kEndOfFile, {}, ""},
      {"text", true, Text(PresetText("Soft Saw", Levels(150, 5))), nullptr, {{0, 5}, {144, 149}, {145, 0}, {149, 4}}, "Soft Saw"},
      {"text LF only", true, Text(PresetText("N", Levels(150), "\n")), nullptr, {{0, 0}, {149, 149}}, "N"},
      {"text long name", true, Text(PresetText(std::string(40, 'n') + "END", Levels(150))), nullptr, {{2, 2}}, std::string(30, 'n')},
      {"text blanks and hex", true, Text(PresetText("h", spaced)), nullptr, {{0, 31}, {1, 2}, {2, 2}}, "h"},
      {"text blank lines between", true, Text(PresetText("b", {"1", "", "2"}) + PresetText("", Levels(148)).substr(28)), nullptr, {{0, 1}, {1, 2}}, "b"},
      {"text extra lines ignored", true, Text(PresetText("x", Levels(160))), nullptr, {{149, 149}}, "x"},
      {"text Windows-1252 name", true, Text(PresetText("Caf\xE9", Levels(150))), nullptr, {}, "Caf\xE9"},
      {"text wrong header", true, Text("Kalvora Preset Text File 2\r\nx\r\n1\r\n"), kWrongTextFile, {}, ""},
      {"text header case", true, Text(PresetText("x", Levels(150)).replace(0, 7, "KALVORA")), kWrongTextFile, {}, ""},
      {"text empty", true, {}, kWrongTextFile, {}, ""},
      {"text no number", true, Text(PresetText("x", bad)), kBadNumber, {}, ""},
      {"text number glued to letters", true, Text(PresetText("x", glued)), kBadNumber, {}, ""},
      {"text too short", true, Text(PresetText("x", Levels(149))), kEndOfFile, {}, ""},
      {"text header only", true, Text(std::string(kPresetTextHeader) + "\r\n"), kEndOfFile, {}, ""},
      {"text level 150", true, Text(PresetText("x", high)), kLevelOutOfRange, {}, ""},
      {"text level -1", true, Text(PresetText("x", negative)), kLevelOutOfRange, {}, ""},
      {"text level 331", true, Text(PresetText("x", wrap)), kLevelOutOfRange, {}, ""},
  };
  for (const ImportCase& c : cases) {
    SCOPED_TRACE(c.name);
    std::optional<TImportedPreset> p;
    std::string message;
    try {
      p = c.text ? ReadPresetText(c.bytes) : ReadPresetWave(c.bytes, "/some/folder/a.wav");
    } catch (const EPresetImportError& e) {
      message = e.what();
    }
    if (c.error) {
      EXPECT_FALSE(p.has_value());
      EXPECT_EQ(message, c.error);
      continue;
    }
    ASSERT_TRUE(p.has_value()) << message;
    EXPECT_EQ(p->Name, c.presetName);
    for (const auto& [i, v] : c.spots) EXPECT_EQ(p->Data[i], v) << "sample " << i;
    for (auto s : p->Data) EXPECT_LE(s, 149);
  }
}

TEST(PresetImport, EverySampleValueScalesIntoTheRange) {
  // 8 bit: Round(u x 125 / 214); 16 bit: Round((s + 32768) / 440).
  for (int u = 0; u < 256; ++u) {
    WavSpec w;
    w.frames = {static_cast<std::uint8_t>(u)};
    const int got = ReadPresetWave(Wav(w), "u.wav").Data[0];
    const double exact = u * 125.0 / 214.0;
    EXPECT_EQ(got, u == 107 ? 62 : static_cast<int>(std::lround(exact))) << u;  // 62.5 is the only tie
  }
  for (int s = -32768; s < 32768; s += 37) {
    WavSpec w;
    w.bits = 16;
    w.frames = Frames16({s});
    const int got = ReadPresetWave(Wav(w), "s.wav").Data[0];
    const long r = (s + 32768) / 440, rem = (s + 32768) % 440;
    const long expected = rem < 220 ? r : rem > 220 ? r + 1 : (r % 2 ? r + 1 : r);
    ASSERT_EQ(got, expected) << s;
  }
}

TEST(PresetImport, NameIsTheFileNameCutTo30) {
  WavSpec w;
  w.frames = {1};
  EXPECT_EQ(ReadPresetWave(Wav(w), "/tmp/x/Bell.wav").Name, "Bell.wav");
  EXPECT_EQ(ReadPresetWave(Wav(w), "plain").Name, "plain");
  EXPECT_EQ(ReadPresetWave(Wav(w), "/a/" + std::string(35, 'b') + ".wav").Name, std::string(30, 'b'));
}

// The files end a name at a zero byte: a name line is cut there, so two
// names that differ only after it are one name, as they will be once stored.
TEST(PresetImport, TextNameIsCutAtANul) {
  struct Case {
    std::string line, name;
  } cases[] = {
      {std::string("Bass\0one", 8), "Bass"},
      {std::string("Bass\0two", 8), "Bass"},
      {std::string("\0lead", 5), ""},
      {std::string(29, 'n') + std::string("\0x", 2), std::string(29, 'n')},
      {std::string(30, 'n') + std::string("\0x", 2), std::string(30, 'n')},
      {"Bass one", "Bass one"},
  };
  for (const Case& c : cases) EXPECT_EQ(ReadPresetText(Text(PresetText(c.line, Levels(150)))).Name, c.name) << c.line;
}

TEST(PresetImport, FileNameChoosesTheReader) {
  struct Case {
    const char* name;
    bool text;
  };
  const Case cases[] = {{"a.txt", true}, {"/d.wav/a.txt", true}, {"a.TXT", false}, {"a.Txt", false},
                        {"a.wav", false}, {"a.txt.wav", false}, {"/x.txt/a", false}, {"txt", false}};
  for (const Case& c : cases) EXPECT_EQ(IsPresetTextFileName(c.name), c.text) << c.name;

  const auto dir = std::filesystem::temp_directory_path() / ("presetimport_" + std::to_string(::getpid()));
  std::filesystem::create_directories(dir);
  const std::string text = PresetText("From File", Levels(150));
  for (const char* file : {"p.txt", "p.TXT"}) {
    std::ofstream(dir / file, std::ios::binary) << text;
  }
  EXPECT_EQ(ImportPresetFile((dir / "p.txt").string()).Name, "From File");
  try {
    ImportPresetFile((dir / "p.TXT").string());
    ADD_FAILURE() << "an upper-case .TXT must go through the WAV reader";
  } catch (const EPresetImportError& e) {
    EXPECT_STREQ(e.what(), kNotWave);
  }
  EXPECT_THROW(ImportPresetFile((dir / "missing.wav").string()), EPresetImportError);
  std::filesystem::remove_all(dir);
}

}  // namespace
