// The WAV writer: hand-built headers for each quality, the sizes of a long
// sample, an odd byte count, outside readers, and the converter's arguments.
#include <gtest/gtest.h>

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "HexFixture.h"
#include "formats/WavFile.h"

using namespace kalvora::test;
using Bytes = std::vector<std::uint8_t>;
namespace fs = std::filesystem;

namespace {

std::uint32_t Le32(const Bytes& b, std::size_t at) {
  return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<std::uint32_t>(b[at + 3]) << 24);
}

const Bytes kTwoSamples{0x01, 0x00, 0xfe, 0xff};

std::string Shell(const std::string& command) {
  std::string out;
  if (FILE* p = ::popen(command.c_str(), "r")) {
    char buf[256];
    while (std::fgets(buf, sizeof buf, p)) out += buf;
    ::pclose(p);
  }
  while (!out.empty() && (out.back() == '\n' || out.back() == ' ')) out.pop_back();
  return out;
}

}  // namespace

TEST(WavFile, EachQualityWritesTheHandBuiltFile) {
  for (int q = 0; q <= 2; ++q) {
    SCOPED_TRACE(q);
    const Bytes fixture = ReadHexFixture("wav_quality" + std::to_string(q) + ".hex");
    EXPECT_EQ(WavBytes(kTwoSamples, q), fixture);
    TWavHeaderInfo info;
    ASSERT_TRUE(ParseWavHeader(fixture.data(), fixture.size(), info));
    EXPECT_EQ(info.SampleRate, SampleRateForQuality(q));
  }
  // Any other quality index writes 11025 Hz.
  EXPECT_EQ(WavBytes(kTwoSamples, 7), ReadHexFixture("wav_quality0.hex"));
  EXPECT_EQ(WavBytes(kTwoSamples, -1), ReadHexFixture("wav_quality0.hex"));
}

TEST(WavFile, SizesOfALongSampleAndAnOddByteCount) {
  const Bytes b = WavBytes(Bytes(88200, 0x11), 2);
  EXPECT_EQ(b.size(), 88244u);
  EXPECT_EQ(Le32(b, 4), 88236u);
  EXPECT_EQ(Le32(b, 40), 88200u);
  const Bytes odd = WavBytes({1, 2, 3}, 2);
  EXPECT_EQ(odd.size(), 46u);
  EXPECT_EQ(Le32(odd, 40), 2u);
  EXPECT_EQ(Le32(odd, 4), 38u);
  const Bytes empty = WavBytes({}, 1);
  EXPECT_EQ(empty.size(), 44u);
}

TEST(WavFile, OutsideReadersAgreeOnRateWidthChannelsAndLength) {
  const fs::path file = fs::temp_directory_path() / ("kalvora_wav_" + std::to_string(::getpid()) + ".wav");
  Bytes samples;
  for (int i = 0; i < 22050; ++i) {
    samples.push_back(static_cast<std::uint8_t>(i));
    samples.push_back(static_cast<std::uint8_t>(i >> 8));
  }
  samples.push_back(0x7f);  // the odd byte is left out
  WriteWaveFile(file, samples, 1);
  const std::string py = "python3 -c \"import wave,sys; w=wave.open(sys.argv[1]); "
                         "print(w.getframerate(), w.getsampwidth(), w.getnchannels(), w.getnframes())\" '" +
                         file.string() + "' 2>&1";
  EXPECT_EQ(Shell(py), "22050 2 1 22050");
  if (Shell("command -v soxi").empty()) {
    GTEST_LOG_(INFO) << "soxi is not installed; its check is skipped";
  } else {
    EXPECT_EQ(Shell("soxi -r '" + file.string() + "'"), "22050");
    EXPECT_EQ(Shell("soxi -c '" + file.string() + "'"), "1");
    EXPECT_EQ(Shell("soxi -b '" + file.string() + "'"), "16");
    EXPECT_EQ(Shell("soxi -s '" + file.string() + "'"), "22050");
  }
  fs::remove(file);
}

TEST(WavFile, HeaderCheckRefusesForeignBytes) {
  Bytes h = ReadHexFixture("wav_quality1.hex");
  TWavHeaderInfo info;
  for (std::size_t size = 0; size < 44; ++size) EXPECT_FALSE(ParseWavHeader(h.data(), size, info));
  h[4] = 0;  // RIFF size disagrees with the data size
  EXPECT_FALSE(ParseWavHeader(h.data(), h.size(), info));
}

TEST(ConverterCall, FileNameAndOptionsArriveAsSeparateArguments) {
  struct Case {
    std::string options;
    std::vector<std::string> args;
  };
  const Case cases[] = {
      {"", {"bass.wav"}},
      {"-q", {"bass.wav", "-q"}},
      {"-q \"a b\"", {"bass.wav", "-q", "a b"}},
      {"  -x   -y\t-z ", {"bass.wav", "-x", "-y", "-z"}},
      {"-o \"\"", {"bass.wav", "-o", ""}},
      {"a;rm -rf $HOME", {"bass.wav", "a;rm", "-rf", "$HOME"}},
  };
  for (const Case& c : cases) {
    const TConverterCall call = ConverterCall("/opt/conv", "/some dir/bass.wav", c.options);
    EXPECT_EQ(call.Program, "/opt/conv");
    EXPECT_EQ(call.Arguments, c.args) << c.options;
    EXPECT_EQ(call.Folder, "/some dir");
  }
  const TConverterCall odd = ConverterCall("c", "/d/my file; x.wav", "");
  EXPECT_EQ(odd.Arguments, std::vector<std::string>{"my file; x.wav"});
}
