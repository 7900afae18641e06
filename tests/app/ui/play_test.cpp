// Playing through the main window on the null sound device (busy guards,
// the sample handed to the wave output, Ready on done, MIDI notes and the
// sustain pedal) and once on a real device (RtAudio over a JACK dummy server).
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>
#include <QTimer>
#include "components/OfficeButton.h"

#include <atomic>
#include <csignal>
#include <cstdlib>
#include <limits>
#include <new>
#include <fstream>
#include <functional>
#include <sys/resource.h>
#include <unistd.h>

#include "HexFixture.h"
#include "Legibility.h"
#include "MainFixture.h"
#include "components/EnhWave.h"
#include "engine/SampleComputation.h"
#include "formats/InstrumentFile.h"
#include "formats/WavFile.h"
#include "windows/InGlob.h"
#include "platform/rt/RtAudioSink.h"

// Allocation failure on demand: while a FailLargeAllocations lives, every
// single allocation through operator new above its size throws
// std::bad_alloc, as it does when the memory is not there. All forms that
// share malloc and free are replaced together, so that every pair matches.
namespace {
std::atomic<std::size_t> gAllocationLimit{std::numeric_limits<std::size_t>::max()};

void* Allocate(std::size_t n) {
  if (n > gAllocationLimit.load(std::memory_order_relaxed)) throw std::bad_alloc();
  if (void* p = std::malloc(n == 0 ? 1 : n)) return p;
  throw std::bad_alloc();
}
}  // namespace

void* operator new(std::size_t n) { return Allocate(n); }
void* operator new[](std::size_t n) { return Allocate(n); }
void* operator new(std::size_t n, const std::nothrow_t&) noexcept {
  try {
    return Allocate(n);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}
void* operator new[](std::size_t n, const std::nothrow_t& t) noexcept { return operator new(n, t); }
void operator delete(void* p) noexcept { std::free(p); }
void operator delete[](void* p) noexcept { std::free(p); }
void operator delete(void* p, std::size_t) noexcept { std::free(p); }
void operator delete[](void* p, std::size_t) noexcept { std::free(p); }
void operator delete(void* p, const std::nothrow_t&) noexcept { std::free(p); }
void operator delete[](void* p, const std::nothrow_t&) noexcept { std::free(p); }

namespace kalvora::test {
namespace {

class FailLargeAllocations {
 public:
  explicit FailLargeAllocations(std::size_t limit) { gAllocationLimit = limit; }
  ~FailLargeAllocations() { gAllocationLimit = std::numeric_limits<std::size_t>::max(); }
  FailLargeAllocations(const FailLargeAllocations&) = delete;
  FailLargeAllocations& operator=(const FailLargeAllocations&) = delete;
};

using kalvora::platform::NullAudioSink;

std::string ReadFileText(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

void Pump() {
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents();
}

class PlayTest : public MainTest {
 protected:
  TfMain& StartPlaying() {
    TMainServices s = Services();
    s.MakeAudioSink = [this] {
      auto sink = std::make_unique<NullAudioSink>();
      if (failOpen_) sink->record()->failOpen = true;
      sinks_.push_back(sink.get());
      return sink;
    };
    windows_ = CreateKalvoraWindows(s, {}, {});
    TfMain& main = *windows_.Main;
    main.FormActivate();
    // A short instrument keeps the computation quick: 0.1 s at 11025 Hz.
    main.Document().Instrument.Globals.SetQuality(0);
    main.Document().Voice(1).Timing.Time = 100;
    main.SetSampleUpToDate(false);
    return main;
  }
  NullAudioSink& Sink() { return *sinks_.at(0); }  // the main window's device is made first
  const std::vector<NullAudioSink::Played>& Played() { return Sink().record()->played; }
  void Finish() {
    Sink().finish(Sink().queued());
    Pump();
  }

  std::vector<NullAudioSink*> sinks_;
  bool failOpen_ = false;
};

TEST_F(PlayTest, PlayComputesWritesTheSampleAndIsReadyWhenDone) {
  TfMain& main = StartPlaying();
  emit main.bPlay->clicked();
  EXPECT_EQ(main.Document().Status, TDocumentStatus::Playing);
  EXPECT_TRUE(main.IsSampleUpToDate());
  ASSERT_EQ(Sink().queued(), 1u);
  EXPECT_EQ(Sink().record()->lastFormat.samplesPerSecond, 11025);
  EXPECT_EQ(Sink().record()->lastFormat.bitsPerSample, 16);
  EXPECT_EQ(main.Document().ResultBuffer.size(), 2u * 7 * 150);  // round(100 x 0.0735) cycles
  EXPECT_EQ(main.Settings().CalculatedWaves, 1);
  EXPECT_EQ(main.StatusText().toStdString().rfind("used time: ", 0), 0u);
  EXPECT_TRUE(SaveScreenshot(&main, "play_main_playing"));
  Finish();
  ASSERT_EQ(Played().size(), 1u);
  EXPECT_EQ(Played()[0].bytes, main.Document().ResultBuffer);
  EXPECT_EQ(main.Document().Status, TDocumentStatus::Ready);
  EXPECT_FALSE(main.WaveOut().IsOpen());

  // Up to date: played again without a new computation.
  main.PlayCommand();
  EXPECT_EQ(main.Settings().CalculatedWaves, 1);
  Finish();
  EXPECT_EQ(Played().size(), 2u);
  EXPECT_EQ(main.Document().Status, TDocumentStatus::Ready);
}

// Both counters stop at the largest value the settings file stores, where
// one more would overflow into a negative count.
TEST_F(PlayTest, StatisticsCountersHoldAtTheirMaximum) {
  struct Case {
    int calculatedWaves, starts;
  } cases[] = {{2147483646, 2147483646}, {2147483647, 2147483647}};
  for (const Case& c : cases) {
    std::ofstream(dir_ / "kalvora.dai") << "[General]\nCalculated Waves=" << c.calculatedWaves
                                        << "\nStarts=" << c.starts << "\n";
    TfMain& main = StartPlaying();
    EXPECT_EQ(main.Settings().Starts, 2147483647) << c.starts;
    main.PlayCommand();
    Finish();
    EXPECT_EQ(main.Settings().CalculatedWaves, 2147483647) << c.calculatedWaves;
    main.SetSampleUpToDate(false);
    main.PlayCommand();  // a second calculation at the maximum
    Finish();
    EXPECT_EQ(main.Settings().CalculatedWaves, 2147483647) << c.calculatedWaves;
    main.SetInstrumentUpToDate(true);
    ASSERT_TRUE(main.close());
    TIniFile ini((dir_ / "kalvora.dai").string());
    EXPECT_EQ(ini.ReadString("General", "Calculated Waves", ""), "2147483647") << c.calculatedWaves;
    EXPECT_EQ(ini.ReadString("General", "Starts", ""), "2147483647") << c.starts;
    windows_ = {};
    sinks_.clear();
  }
}

TEST_F(PlayTest, BusyStatusRefusesEveryCommand) {
  TfMain& main = StartPlaying();
  main.Settings().MidiUseSustainPedal = true;
  struct Command {
    const char* name;
    std::function<void()> run;
    const char* text;  // status-line text, or null: ignored silently
  };
  const Command commands[] = {
      {"play button", [&] { emit main.bPlay->clicked(); }, kCanNotPlay},
      {"play command", [&] { main.PlayCommand(); }, kCanNotPlay},
      {"sustain pedal", [&] { main.MidiInData(0xB0, 64, 127); }, kCanNotPlay},
      {"save sample", [&] { main.SaveSampleCommand(); }, kCanNotSave},
      {"load instrument", [&] { main.LoadInstrumentCommand(); }, kCanNotLoad},
      {"MIDI note", [&] { main.MidiInData(0x90, 60, 100); }, nullptr},
  };
  for (TDocumentStatus busy : {TDocumentStatus::Working, TDocumentStatus::Playing}) {
    for (const Command& c : commands) {
      main.SetStatus(busy);
      main.ShowStatusText("before");
      c.run();
      EXPECT_EQ(main.StatusText().toStdString(), c.text ? c.text : "before") << c.name;
      EXPECT_EQ(main.Document().Status, busy) << c.name;
      EXPECT_EQ(Sink().queued(), 0u) << c.name;
      EXPECT_EQ(main.Settings().CalculatedWaves, 0) << c.name;
    }
  }
}

TEST_F(PlayTest, MidiNotesPlayTheSampleAtTheirPitch) {
  TfMain& main = StartPlaying();
  main.PlayCommand();
  Finish();
  const std::vector<std::uint8_t> sample = main.Document().ResultBuffer;
  ASSERT_FALSE(sample.empty());
  struct Note {
    std::uint8_t status, note, velocity;
    std::size_t bytes;  // 0: ignored
  };
  const Note notes[] = {
      {0x90, 60, 100, sample.size()},     {0x90, 72, 100, sample.size() / 2}, {0x90, 48, 100, sample.size() * 2},
      {0x90, 36, 100, sample.size() * 4}, {0x90, 96, 100, sample.size() / 8}, {0x90, 35, 100, 0},
      {0x90, 97, 100, 0},                 {0x9F, 60, 1, sample.size()},      {0x80, 60, 100, 0},
      {0xA0, 60, 100, 0},
  };
  for (const Note& n : notes) {
    const std::size_t before = Played().size();
    main.MidiInData(n.status, n.note, n.velocity);
    Finish();
    if (n.bytes == 0) {
      EXPECT_EQ(Played().size(), before) << int(n.status) << "/" << int(n.note);
      continue;
    }
    ASSERT_EQ(Played().size(), before + 1) << int(n.note);
    EXPECT_EQ(Played().back().bytes.size(), n.bytes) << int(n.note);
    EXPECT_EQ(main.Document().Status, TDocumentStatus::Ready);
  }
  // Without velocity, note 60 plays the sample unchanged; with it, scaled.
  main.MidiInData(0x90, 60, 100);
  Finish();
  EXPECT_EQ(Played().back().bytes, sample);
  main.Settings().MidiUseVelocity = true;
  main.MidiInData(0x90, 60, 64);
  Finish();
  EXPECT_NE(Played().back().bytes, sample);
  EXPECT_EQ(main.Settings().CalculatedWaves, 1);
}

TEST_F(PlayTest, VelocityZeroStopsAndThePedalPlaysOnlyAt127) {
  TfMain& main = StartPlaying();
  main.MidiInData(0x90, 60, 100);
  EXPECT_EQ(main.Document().Status, TDocumentStatus::Playing);
  main.MidiInData(0x91, 64, 0);  // a note on at velocity 0 stops the sound
  Pump();
  EXPECT_EQ(main.Document().Status, TDocumentStatus::Ready);
  EXPECT_FALSE(main.WaveOut().IsOpen());

  main.Settings().MidiUseSustainPedal = true;
  main.MidiInData(0xB0, 64, 126);
  EXPECT_EQ(Sink().queued(), 0u);
  main.MidiInData(0xB0, 65, 127);
  EXPECT_EQ(Sink().queued(), 0u);
  main.MidiInData(0xB3, 64, 127);
  EXPECT_EQ(Sink().queued(), 1u);
  Finish();
  main.Settings().MidiUseSustainPedal = false;
  main.MidiInData(0xB0, 64, 127);
  EXPECT_EQ(Sink().queued(), 0u);
}

TEST_F(PlayTest, MidiInputDeliversToTheWindow) {
  std::ofstream(dir_ / "kalvora.dai") << "[MIDI Input]\nEnabled=1\nDeviceID=0\n";
  TfMain& main = StartPlaying();
  ASSERT_TRUE(midi_.isOpen());
  midi_.inject(0x90, 72, 90);
  Pump();
  EXPECT_EQ(Sink().queued(), 1u);
  Finish();
  EXPECT_EQ(main.Document().Status, TDocumentStatus::Ready);
}

TEST_F(PlayTest, AMidiDeviceThatCannotOpenIsReported) {
  std::ofstream(dir_ / "kalvora.dai") << "[MIDI Input]\nEnabled=1\nDeviceID=0\n";
  midi_.failOpen = true;
  prompts_.expectMessage("The MIDI input device could not be opened.");
  TfMain& main = StartPlaying();
  EXPECT_FALSE(midi_.isOpen());
  EXPECT_EQ(main.Document().Status, TDocumentStatus::Ready);
}

TEST_F(PlayTest, NoActiveVoicePlaysNothing) {
  TfMain& main = StartPlaying();
  main.Document().Voice(1).Active = false;
  main.SetSampleUpToDate(false);
  main.PlayCommand();
  main.MidiInData(0x90, 60, 100);
  EXPECT_EQ(Sink().queued(), 0u);
  EXPECT_TRUE(main.Document().ResultBuffer.empty());
  EXPECT_EQ(main.Document().Status, TDocumentStatus::Ready);
}

TEST_F(PlayTest, ASoundDeviceThatCannotOpenIsReportedAndReady) {
  failOpen_ = true;
  TfMain& main = StartPlaying();
  prompts_.expectMessage();
  main.PlayCommand();
  EXPECT_EQ(main.Document().Status, TDocumentStatus::Ready);
  EXPECT_TRUE(main.IsSampleUpToDate());
}

TEST_F(PlayTest, AFailedComputationReportsAndReturnsToReady) {
  TfMain& main = StartPlaying();
  // 65535 repeats of 65535 ms cannot be held: the command ends with a message.
  main.Document().Voice(1).Timing = {65535, 65535, 0, false};
  main.SetSampleUpToDate(false);
  prompts_.expectMessage("The sample is too long to be calculated.");
  main.PlayCommand();
  EXPECT_EQ(main.Document().Status, TDocumentStatus::Ready);
  EXPECT_FALSE(main.IsSampleUpToDate());
  EXPECT_EQ(Sink().queued(), 0u);
}

TEST_F(PlayTest, AnEditDuringTheComputationLeavesTheSampleOutOfDate) {
  TfMain& main = StartPlaying();
  main.Document().Voice(1).Timing.Time = 2000;  // long enough for progress reports
  main.SetSampleUpToDate(false);
  const kalvora::engine::TSampleSnapshot before = kalvora::engine::TakeSnapshot(main.Document());
  bool edited = false, closeRefused = false;
  QTimer timer;
  timer.setInterval(0);
  QObject::connect(&timer, &QTimer::timeout, [&] {
    if (edited || main.StatusText().indexOf(QStringLiteral(" %")) < 0) return;
    edited = true;
    closeRefused = !main.close() && main.StatusText().toStdString() == kCanNotClose;
    main.Document().Voice(1).Pitch.Note = 40;
    main.Document().MarkChanged();
  });
  timer.start();
  main.PlayCommand();
  timer.stop();
  ASSERT_TRUE(edited);
  EXPECT_TRUE(closeRefused);
  EXPECT_FALSE(main.IsSampleUpToDate());
  Finish();
  // What played is the instrument as it was when the computation started.
  kalvora::engine::TLcgNoise noise;
  EXPECT_EQ(Played().at(0).bytes, kalvora::engine::CalculateSample(before, noise).Bytes);
  main.PlayCommand();
  EXPECT_EQ(main.Settings().CalculatedWaves, 2);
  EXPECT_TRUE(main.IsSampleUpToDate());
  Finish();
}

TEST_F(PlayTest, SaveSampleComputesFirst) {
  TfMain& main = StartPlaying();
  const fs::path wave = dir_ / "saved.wav";
  dialogs_.expectSave(wave.string());
  main.SaveSampleCommand();
  EXPECT_TRUE(main.IsSampleUpToDate());
  ASSERT_EQ(main.Document().ResultBuffer.size(), 2u * 7 * 150);
  EXPECT_EQ(main.Document().Status, TDocumentStatus::Ready);
  const std::string bytes = ReadFileText(wave);
  ASSERT_EQ(bytes.size(), 44 + main.Document().ResultBuffer.size());
  EXPECT_TRUE(std::equal(bytes.begin() + 44, bytes.end(), main.Document().ResultBuffer.begin(),
                         [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; }));
}

// The quality changed while the sample is computed: the file holds what was
// computed, under the rate it was computed at.
TEST_F(PlayTest, SavedSampleKeepsTheRateItWasComputedAt) {
  TfMain& main = StartPlaying();  // 11025 Hz
  main.Document().Voice(1).Timing.Time = 2000;  // long enough for progress reports
  main.SetSampleUpToDate(false);
  bool changed = false;
  QTimer timer;
  timer.setInterval(0);
  QObject::connect(&timer, &QTimer::timeout, [&] {
    if (changed || main.StatusText().indexOf(QStringLiteral(" %")) < 0) return;
    changed = true;
    windows_.InGlob->cbCalcQuality->setCurrentIndex(2);  // 44100 Hz
  });
  const fs::path wave = dir_ / "rate.wav";
  dialogs_.expectSave(wave.string());
  timer.start();
  main.SaveSampleCommand();
  timer.stop();
  ASSERT_TRUE(changed);
  EXPECT_FALSE(main.IsSampleUpToDate());
  const std::string bytes = ReadFileText(wave);
  TWavHeaderInfo info;
  ASSERT_TRUE(ParseWavHeader(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size(), info));
  EXPECT_EQ(info.SampleRate, 11025u);
  EXPECT_EQ(info.DataBytes, 2u * 147 * 150);  // 2000 ms at 11025 Hz: 147 cycles
}

// A sample whose memory cannot be had ends the command with a message that
// says so; the program is ready for the next command.
TEST_F(PlayTest, ASampleThatCannotBeAllocatedIsReportedAndReady) {
  TfMain& main = StartPlaying();
  main.Document().Voice(1).Timing.Time = 20000;  // 2^18 floats of work array: 1 MB
  main.SetSampleUpToDate(false);
  prompts_.expectMessage(kalvora::engine::kNotEnoughMemory);
  {
    const FailLargeAllocations fail(512 * 1024);
    main.PlayCommand();
  }
  EXPECT_EQ(main.Document().Status, TDocumentStatus::Ready);
  EXPECT_FALSE(main.IsSampleUpToDate());
  EXPECT_EQ(Sink().queued(), 0u);
  main.PlayCommand();  // with the memory back it plays
  EXPECT_TRUE(main.IsSampleUpToDate());
  EXPECT_GT(Sink().queued(), 0u);
  Finish();
}

// ---- The renderer -----------------------------------------------------------

struct RenderRun {
  int exitCode;
  std::string errors;
};

// `inChild` runs in the renderer's process before it starts (limits).
RenderRun Render(const QStringList& arguments, const std::function<void()>& inChild = {}) {
  QProcess p;
  if (inChild) p.setChildProcessModifier(inChild);
  p.start(QStringLiteral(KALVORA_RENDER), arguments);
  if (!p.waitForFinished(60000)) return {-1, "did not finish"};
  return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1, p.readAllStandardError().toStdString()};
}

TEST_F(PlayTest, RendererGivesThePlayedSamples) {
  TfMain& main = StartPlaying();
  TInstrumentDocument& doc = main.Document();
  doc.Instrument.Globals.SetEffectOrder("bcf");
  doc.Instrument.Globals.SetFade(10, 20);
  doc.Voice(1).Morph.NoiseDest = true;
  doc.Voice(2).Active = true;
  doc.Voice(2).Timing = {80, 2, 15, true};
  doc.Voice(2).Pitch.Note = 45;
  doc.Voice(2).Lowpass = {true, 3, 60, false, true};
  doc.Voice(2).Vibrato.VibSpeedFrom = 30;
  doc.Voice(2).Vibrato.VibDepthTo = 5;
  main.SetSampleUpToDate(false);
  main.PlayCommand();
  Finish();
  ASSERT_EQ(Played().size(), 1u);
  const fs::path kvi = dir_ / "two voices.kvi", wav = dir_ / "rendered.wav";
  WriteInstrumentFile(kvi, doc);
  // The program seeds its noise from the clock; the renderer takes the seed.
  const auto seed = static_cast<std::uint32_t>(clock_.current.time_since_epoch().count());
  const RenderRun run = Render({"--seed", QString::number(seed), QString::fromStdString(kvi.string()),
                          QString::fromStdString(wav.string())});
  ASSERT_EQ(run.exitCode, 0) << run.errors;
  const std::string bytes = ReadFileText(wav);
  ASSERT_EQ(bytes.size(), 44 + Played()[0].bytes.size());
  EXPECT_TRUE(std::equal(bytes.begin() + 44, bytes.end(), Played()[0].bytes.begin(),
                         [](char a, std::uint8_t b) { return static_cast<std::uint8_t>(a) == b; }));
  // Another seed gives other noise.
  const fs::path other = dir_ / "other.wav";
  ASSERT_EQ(Render({"--seed", "2", QString::fromStdString(kvi.string()), QString::fromStdString(other.string())}).exitCode, 0);
  EXPECT_NE(ReadFileText(other), bytes);
}

TEST_F(PlayTest, RendererRefusesWithAMessage) {
  const fs::path wav = dir_ / "out.wav";
  const std::string notKvi = (dir_ / "kalvora.dap").string();
  struct Case {
    QStringList arguments;
    const char* says;
  } cases[] = {
      {{}, "usage"},
      {{"--seed", "x", "a.kvi", "b.wav"}, "--seed"},
      {{QString::fromStdString((dir_ / "missing.kvi").string()), QString::fromStdString(wav.string())}, "cannot read"},
      {{QString::fromStdString(notKvi), QString::fromStdString(wav.string())}, kWrongInstrumentFile},
  };
  for (const Case& c : cases) {
    const RenderRun run = Render(c.arguments);
    EXPECT_NE(run.exitCode, 0) << c.says;
    EXPECT_NE(run.errors.find(c.says), std::string::npos) << run.errors;
    EXPECT_EQ(std::count(run.errors.begin(), run.errors.end(), '\n'), 1) << run.errors;
  }
  EXPECT_FALSE(fs::exists(wav));
}

TEST_F(PlayTest, RendererNeedsInlineEnvelopes) {
  // Version 24 names its envelopes (no tables to look them up in); 25 holds them.
  for (int version : {24, 25}) {
    const fs::path kvi = dir_ / ("v" + std::to_string(version) + ".kvi"), wav = dir_ / "v.wav";
    const std::vector<std::uint8_t> bytes = ReadHexFixture("instrument_v" + std::to_string(version) + ".hex");
    std::ofstream(kvi, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                               static_cast<std::streamsize>(bytes.size()));
    fs::remove(wav);
    const RenderRun run = Render({QString::fromStdString(kvi.string()), QString::fromStdString(wav.string())});
    if (version == 24) {
      EXPECT_NE(run.exitCode, 0);
      EXPECT_NE(run.errors.find("version 24"), std::string::npos) << run.errors;
      EXPECT_FALSE(fs::exists(wav));
    } else {
      EXPECT_EQ(run.exitCode, 0) << run.errors;
      EXPECT_GT(fs::file_size(wav), 44u);
    }
  }
}

// Under a file-size limit the renderer is not ended by the signal: the write
// fails with its message, the hidden temporary file goes and it exits with 1.
TEST_F(PlayTest, RendererReportsAFileSizeLimit) {
  const fs::path kvi = dir_ / "v25.kvi", full = dir_ / "full.wav", wav = dir_ / "limited.wav";
  const std::vector<std::uint8_t> bytes = ReadHexFixture("instrument_v25.hex");
  std::ofstream(kvi, std::ios::binary).write(reinterpret_cast<const char*>(bytes.data()),
                                             static_cast<std::streamsize>(bytes.size()));
  constexpr rlim_t kLimit = 4096;
  ASSERT_EQ(Render({QString::fromStdString(kvi.string()), QString::fromStdString(full.string())}).exitCode, 0);
  ASSERT_GT(fs::file_size(full), kLimit);
  const RenderRun run = Render({QString::fromStdString(kvi.string()), QString::fromStdString(wav.string())}, [] {
    std::signal(SIGXFSZ, SIG_DFL);  // not inherited from the test process
    const rlimit limit{kLimit, kLimit};
    ::setrlimit(RLIMIT_FSIZE, &limit);
  });
  EXPECT_EQ(run.exitCode, 1);
  EXPECT_EQ(run.errors, "kalvora_render: Can not write the file \"" + wav.string() + "\": File too large\n");
  EXPECT_FALSE(fs::exists(wav));
  for (const auto& e : fs::directory_iterator(dir_))
    EXPECT_NE(e.path().filename().string()[0], '.') << "a temporary file was left: " << e.path();
}

// ---- A real device --------------------------------------------------------

class JackServer {
 public:
  JackServer() : name_("kalvora-play-" + std::to_string(::getpid())) {}
  ~JackServer() { stop(); }
  std::string start() {
    if (!std::filesystem::exists("/usr/bin/jackd")) return "jackd is not installed";
    ::setenv("JACK_DEFAULT_SERVER", name_.c_str(), 1);
    ::setenv("JACK_NO_START_SERVER", "1", 1);
    process_.setProgram(QStringLiteral("/usr/bin/jackd"));
    process_.setArguments({"-n", QString::fromStdString(name_), "-r", "-d", "dummy", "-r", "44100", "-p", "256"});
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.start();
    if (!process_.waitForStarted(5000)) return "jackd did not start";
    const std::string uid = std::to_string(::getuid());
    const std::filesystem::path sockets[] = {"/dev/shm/jack-" + uid + "/" + name_ + "/jack_0",
                                             "/tmp/jack-" + uid + "/" + name_ + "/jack_0"};
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
      for (const auto& s : sockets)
        if (std::filesystem::exists(s)) return {};
      if (process_.state() != QProcess::Running) return "jackd exited: " + process_.readAll().toStdString();
      QThread::msleep(20);
    }
    return "jackd's socket did not appear";
  }
  void stop() {
    if (process_.state() == QProcess::NotRunning) return;
    ::kill(static_cast<pid_t>(process_.processId()), SIGTERM);
    if (!process_.waitForFinished(5000)) {
      ::kill(static_cast<pid_t>(process_.processId()), SIGKILL);
      process_.waitForFinished(5000);
    }
  }

 private:
  std::string name_;
  QProcess process_;
};

TEST_F(MainTest, PlaysToTheEndOnARealDevice) {
  JackServer server;
  const std::string why = server.start();
  if (!why.empty()) GTEST_SKIP() << "no JACK server for the real device: " << why;
  TMainServices s = Services();
  s.MakeAudioSink = [] { return std::make_unique<kalvora::platform::RtAudioSink>(RtAudio::UNIX_JACK); };
  windows_ = CreateKalvoraWindows(s, {}, {});
  TfMain& main = *windows_.Main;
  main.FormActivate();
  main.Document().Instrument.Globals.SetQuality(1);
  main.Document().Voice(1).Timing.Time = 200;
  main.SetSampleUpToDate(false);
  main.PlayCommand();
  ASSERT_EQ(main.Document().Status, TDocumentStatus::Playing) << main.WaveOut().LastError();
  QDeadlineTimer deadline(20000);
  while (main.Document().Status != TDocumentStatus::Ready && !deadline.hasExpired()) {
    QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
    QThread::msleep(5);
  }
  EXPECT_EQ(main.Document().Status, TDocumentStatus::Ready);
  EXPECT_FALSE(main.WaveOut().IsOpen());
  windows_ = {};
}

}  // namespace
}  // namespace kalvora::test
