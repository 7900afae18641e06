// The wave output component on the null sink (copies, order, notifications on
// the user-interface thread, stop, close, failures) and on a real device
// (RtAudio over a private JACK server with its dummy driver).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QProcess>
#include <QThread>

#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <numeric>
#include <unistd.h>

#include "components/EnhWave.h"
#include "platform/null/NullAudioSink.h"
#include "platform/rt/RtAudioSink.h"

using kalvora::platform::AudioFormat;
using kalvora::platform::NullAudioSink;

namespace {

void pump() {
  QCoreApplication::sendPostedEvents();
  QCoreApplication::processEvents();
}

std::vector<std::uint8_t> bytes(std::size_t n, std::uint8_t first) {
  std::vector<std::uint8_t> v(n);
  std::iota(v.begin(), v.end(), first);
  return v;
}

class EnhWaveNull : public ::testing::Test {
 protected:
  void SetUp() override {
    auto sink = std::make_unique<NullAudioSink>();
    sink_ = sink.get();
    record_ = sink->record();
    wave_ = std::make_unique<TEnhWaveOut>(nullptr, std::move(sink));
    wave_->OnOpen = [this](QObject* sender) {
      EXPECT_EQ(sender, wave_.get());
      ++opens_;
    };
    wave_->OnDone = [this](QObject* sender) {
      EXPECT_EQ(sender, wave_.get());
      EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
      doneQueueSizes_.push_back(wave_->QueuedBlocks());
    };
    wave_->OnClose = [this](QObject*) { ++closes_; };
  }

  std::uint64_t playedBlock(std::size_t i) const { return record_->played.at(i).block; }

  NullAudioSink* sink_ = nullptr;
  std::shared_ptr<NullAudioSink::Record> record_;
  std::unique_ptr<TEnhWaveOut> wave_;
  int opens_ = 0;
  int closes_ = 0;
  std::vector<std::size_t> doneQueueSizes_;  // blocks still queued at each OnDone
};

TEST(EnhWaveFormat, BlockAlignAndByteRateFollowTheProperties) {
  struct Case {
    int channels, rate, bits, align, bytesPerSecond;
  };
  const Case cases[] = {
      {1, 8000, 8, 1, 8000},     // the defaults of a new component
      {1, 44100, 8, 1, 44100},   // previews
      {1, 22050, 16, 2, 44100},  // a computed sample
      {2, 11025, 16, 4, 44100},
  };
  for (const Case& c : cases) {
    auto sink = std::make_unique<NullAudioSink>();
    auto record = sink->record();
    TEnhWaveOut wave(nullptr, std::move(sink));
    if (c.rate != 8000) {
      wave.setChannels(c.channels);
      wave.setSamples(c.rate);
      wave.setSampleBits(c.bits);
    }
    ASSERT_TRUE(wave.Open()) << c.rate;
    const AudioFormat& f = record->lastFormat;
    EXPECT_EQ(f.channels, c.channels);
    EXPECT_EQ(f.samplesPerSecond, c.rate);
    EXPECT_EQ(f.bitsPerSample, c.bits);
    EXPECT_EQ(f.blockAlign, c.align) << c.rate << "/" << c.bits;
    EXPECT_EQ(f.avgBytesPerSecond, c.bytesPerSecond) << c.rate << "/" << c.bits;
  }
}

TEST_F(EnhWaveNull, OpenGivesADeviceHandleAndReportsOpenLater) {
  EXPECT_FALSE(wave_->IsOpen());
  EXPECT_EQ(wave_->DeviceID(), 0u);
  ASSERT_TRUE(wave_->Open());
  EXPECT_TRUE(wave_->IsOpen());
  EXPECT_NE(wave_->DeviceID(), 0u);
  EXPECT_EQ(opens_, 0) << "the open report is a message, not a direct call";
  pump();
  EXPECT_EQ(opens_, 1);
}

TEST_F(EnhWaveNull, BlocksAreCopiedPlayedInOrderAndReportedAfterRelease) {
  ASSERT_TRUE(wave_->Open());
  auto a = bytes(300, 1);
  auto b = bytes(500, 7);
  const auto aCopy = a, bCopy = b;
  EXPECT_TRUE(wave_->Write(a.data(), a.size()));
  // The caller may reuse or free its memory at once.
  std::fill(a.begin(), a.end(), 0xEE);
  a.clear();
  a.shrink_to_fit();
  EXPECT_TRUE(wave_->Write(b.data(), b.size()));
  std::fill(b.begin(), b.end(), 0xEE);
  EXPECT_TRUE(wave_->IsPlaying());
  EXPECT_EQ(wave_->QueuedBlocks(), 2u);

  sink_->advance(50);  // 400 bytes at 8000 bytes per second: the first block only
  ASSERT_EQ(record_->played.size(), 1u);
  EXPECT_EQ(record_->played[0].bytes, aCopy);
  EXPECT_TRUE(doneQueueSizes_.empty()) << "done is reported through the message loop";
  pump();
  EXPECT_EQ(doneQueueSizes_, (std::vector<std::size_t>{1}));
  EXPECT_TRUE(wave_->IsPlaying());

  sink_->advance(25);  // 200 more: 300 of the second block's 500
  EXPECT_EQ(record_->played.size(), 1u);
  sink_->advance(25);
  ASSERT_EQ(record_->played.size(), 2u);
  EXPECT_EQ(record_->played[1].bytes, bCopy);
  EXPECT_LT(playedBlock(0), playedBlock(1));
  pump();
  EXPECT_EQ(doneQueueSizes_, (std::vector<std::size_t>{1, 0}));
  EXPECT_FALSE(wave_->IsPlaying());
  EXPECT_TRUE(wave_->IsOpen());
}

TEST_F(EnhWaveNull, EmptyBlockIsPlayedAndReported) {
  ASSERT_TRUE(wave_->Open());
  EXPECT_TRUE(wave_->Write(nullptr, 0));
  sink_->finish();
  pump();
  EXPECT_EQ(doneQueueSizes_.size(), 1u);
  EXPECT_FALSE(wave_->IsPlaying());
}

TEST_F(EnhWaveNull, StopReturnsEveryQueuedBlockAsDone) {
  ASSERT_TRUE(wave_->Open());
  const auto data = bytes(1000, 0);
  for (int i = 0; i < 3; ++i) wave_->Write(data.data(), data.size());
  sink_->advance(10);
  wave_->Stop();
  EXPECT_FALSE(wave_->IsPlaying());
  EXPECT_EQ(record_->resets, 1);
  EXPECT_EQ(record_->dropped.size(), 3u);
  EXPECT_TRUE(std::is_sorted(record_->dropped.begin(), record_->dropped.end()));
  pump();
  EXPECT_EQ(doneQueueSizes_, (std::vector<std::size_t>{2, 1, 0}));
  EXPECT_TRUE(wave_->IsOpen());
  wave_->Stop();  // nothing playing: the device is left alone
  EXPECT_EQ(record_->resets, 1);
}

TEST_F(EnhWaveNull, CloseWithQueuedBlocksReleasesThemAndCloses) {
  ASSERT_TRUE(wave_->Open());
  const auto data = bytes(1000, 0);
  wave_->Write(data.data(), data.size());
  wave_->Write(data.data(), data.size());
  wave_->Close();
  EXPECT_FALSE(wave_->IsOpen());
  EXPECT_FALSE(wave_->IsPlaying());
  EXPECT_EQ(wave_->QueuedBlocks(), 0u);
  EXPECT_EQ(wave_->DeviceID(), 0u);
  EXPECT_EQ(record_->resets, 1);
  EXPECT_EQ(record_->closes, 1);
  pump();
  EXPECT_EQ(closes_, 1);
  // The blocks died with the close; their late reports are not passed on.
  EXPECT_TRUE(doneQueueSizes_.empty());
}

TEST_F(EnhWaveNull, ReportsFromBeforeACloseDoNotEndTheNextPlay) {
  ASSERT_TRUE(wave_->Open());
  const auto data = bytes(800, 0);
  wave_->Write(data.data(), data.size());
  wave_->Stop();   // done reports are on their way ...
  wave_->Close();  // ... when the device is closed and opened again
  ASSERT_TRUE(wave_->Open());
  EXPECT_TRUE(wave_->Write(data.data(), data.size()));
  pump();
  EXPECT_TRUE(doneQueueSizes_.empty());
  EXPECT_TRUE(wave_->IsPlaying());
  EXPECT_EQ(wave_->QueuedBlocks(), 1u);
  sink_->advance(100);
  pump();
  EXPECT_EQ(doneQueueSizes_, (std::vector<std::size_t>{0}));
  EXPECT_FALSE(wave_->IsPlaying());
}

TEST_F(EnhWaveNull, FailedOpenIsReportedAndWritesAreRefused) {
  record_->failOpen = true;
  EXPECT_FALSE(wave_->Open());
  EXPECT_FALSE(wave_->IsOpen());
  EXPECT_EQ(wave_->DeviceID(), 0u);
  EXPECT_FALSE(wave_->LastError().empty());
  const auto data = bytes(10, 0);
  EXPECT_FALSE(wave_->Write(data.data(), data.size()));
  EXPECT_EQ(wave_->QueuedBlocks(), 0u);
  EXPECT_FALSE(wave_->IsPlaying());
  pump();
  EXPECT_EQ(opens_, 0);

  record_->failOpen = false;  // a later open works
  EXPECT_TRUE(wave_->Open());
  EXPECT_TRUE(wave_->LastError().empty());
}

TEST_F(EnhWaveNull, BlockTheDeviceRefusesIsNotKept) {
  ASSERT_TRUE(wave_->Open());
  record_->failWrite = true;
  const auto data = bytes(10, 0);
  EXPECT_FALSE(wave_->Write(data.data(), data.size()));
  EXPECT_EQ(wave_->QueuedBlocks(), 0u);
  EXPECT_FALSE(wave_->IsPlaying());
}

TEST_F(EnhWaveNull, FailedCloseKeepsTheDeviceOpen) {
  ASSERT_TRUE(wave_->Open());
  record_->failClose = true;
  wave_->Close();
  EXPECT_TRUE(wave_->IsOpen());
  EXPECT_NE(wave_->DeviceID(), 0u);
  record_->failClose = false;
  wave_->Close();
  EXPECT_FALSE(wave_->IsOpen());
}

TEST_F(EnhWaveNull, DestroyingWhilePlayingDropsPendingReports) {
  ASSERT_TRUE(wave_->Open());
  const auto data = bytes(100, 0);
  wave_->Write(data.data(), data.size());
  sink_->finish();  // a done report is queued
  wave_.reset();
  pump();
  EXPECT_TRUE(doneQueueSizes_.empty());
  EXPECT_EQ(record_->closes, 1);
}

// ---- Real device: RtAudio over a private JACK server ------------------------

class JackServer {
 public:
  JackServer() : name_("kalvora-test-" + std::to_string(::getpid())) {}
  ~JackServer() { stop(); }

  // Empty when the server runs, else why not.
  std::string start() {
    const QString jackd = QStandardPathsFind();
    if (jackd.isEmpty()) return "jackd is not installed";
    ::setenv("JACK_DEFAULT_SERVER", name_.c_str(), 1);
    ::setenv("JACK_NO_START_SERVER", "1", 1);
    process_.setProgram(jackd);
    // A long client timeout: a loaded machine (sanitizer builds, parallel
    // tests) must not make the device count's client give up.
    process_.setArguments({"-n", QString::fromStdString(name_), "-t", "10000", "-r", "-d", "dummy", "-r", "44100",
                           "-p", "256"});
    process_.setProcessChannelMode(QProcess::MergedChannels);
    process_.start();
    if (!process_.waitForStarted(5000)) return "jackd did not start";
    const std::string uid = std::to_string(::getuid());
    const std::filesystem::path sockets[] = {"/dev/shm/jack-" + uid + "/" + name_ + "/jack_0",
                                             "/tmp/jack-" + uid + "/" + name_ + "/jack_0"};
    QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired()) {
      // The socket comes before the server takes clients: wait until a
      // client sees its device.
      for (const auto& s : sockets)
        if (std::filesystem::exists(s) && seesDevice()) return {};
      if (process_.state() != QProcess::Running)
        return "jackd exited: " + process_.readAll().toStdString();
      QThread::msleep(20);
    }
    return "jackd's socket did not appear or took no client";
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
  static bool seesDevice() {
    try {
      RtAudio probe(RtAudio::UNIX_JACK);
      probe.showWarnings(false);
      return probe.getDeviceCount() > 0;
    } catch (const std::exception&) {
      return false;
    }
  }

  static QString QStandardPathsFind() {
    for (const char* p : {"/usr/bin/jackd", "/usr/local/bin/jackd"})
      if (std::filesystem::exists(p)) return QString::fromLatin1(p);
    return {};
  }

  std::string name_;
  QProcess process_;
};

class EnhWaveJack : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    server_ = new JackServer;
    why_ = server_->start();
  }
  static void TearDownTestSuite() {
    delete server_;
    server_ = nullptr;
  }
  void SetUp() override {
    if (!why_.empty()) GTEST_SKIP() << "no JACK server for the real device: " << why_;
  }

  // Plays `frames` 16-bit mono frames at `rate`; true when done was reported.
  static bool playAndWait(int rate, int frames, std::string& error) {
    TEnhWaveOut wave(nullptr, std::make_unique<kalvora::platform::RtAudioSink>(RtAudio::UNIX_JACK));
    wave.setSamples(rate);
    wave.setSampleBits(16);
    int done = 0;
    wave.OnDone = [&](QObject*) {
      EXPECT_EQ(QThread::currentThread(), QCoreApplication::instance()->thread());
      ++done;
    };
    if (!wave.Open()) {
      error = wave.LastError();
      return false;
    }
    std::vector<std::int16_t> samples(static_cast<std::size_t>(frames));
    for (std::size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<std::int16_t>((i % 100) * 300 - 15000);
    EXPECT_TRUE(wave.Write(samples.data(), samples.size() * 2));
    samples.assign(samples.size(), 0);
    QDeadlineTimer deadline(20000);
    while (done == 0 && !deadline.hasExpired()) {
      QCoreApplication::processEvents(QEventLoop::AllEvents, 50);
      QThread::msleep(5);
    }
    EXPECT_FALSE(wave.IsPlaying());
    EXPECT_EQ(wave.QueuedBlocks(), 0u);
    wave.Close();
    EXPECT_FALSE(wave.IsOpen());
    return done == 1;
  }

  static JackServer* server_;
  static std::string why_;
};

JackServer* EnhWaveJack::server_ = nullptr;
std::string EnhWaveJack::why_;

TEST_F(EnhWaveJack, ShortBlockIsPlayedAndReportedDone) {
  std::string error;
  EXPECT_TRUE(playAndWait(44100, 4410, error)) << error;
}

TEST_F(EnhWaveJack, RateTheDeviceLacksIsConverted) {
  std::string error;
  EXPECT_TRUE(playAndWait(22050, 2205, error)) << error;
}

}  // namespace
