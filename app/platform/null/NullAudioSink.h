// An audio sink without a device, for tests: it records what it plays and
// finishes blocks only when the test advances its clock.
#pragma once

#include <cstdint>
#include <deque>
#include <vector>

#include "platform/AudioSink.h"

namespace kalvora::platform {

class NullAudioSink : public AudioSink {
 public:
  struct Played {
    std::uint64_t session;
    std::uint64_t block;
    std::vector<std::uint8_t> bytes;  // read from the writer's memory when the block finished
  };

  // Shared record of what the sink did, so a test can keep looking after the
  // component that owns the sink is gone.
  struct Record {
    bool failOpen = false;
    bool failWrite = false;
    bool failClose = false;
    int opens = 0;
    int resets = 0;
    int closes = 0;
    AudioFormat lastFormat;
    std::vector<Played> played;
    std::vector<std::uint64_t> dropped;  // blocks returned unplayed by reset or close
  };

  explicit NullAudioSink(std::shared_ptr<Record> record = std::make_shared<Record>())
      : record_(std::move(record)) {}
  ~NullAudioSink() override;

  bool open(const AudioFormat& format, std::uint64_t session, QObject* receiver,
            AudioNotify notify) override;
  bool write(std::uint64_t block, const std::uint8_t* data, std::size_t bytes) override;
  void reset() override;
  bool close() override;
  bool isOpen() const override { return open_; }
  std::uintptr_t handle() const override { return open_ ? 0x1000 + session_ : 0; }
  std::string errorText() const override { return error_; }

  // The test's clock: plays `milliseconds` of the open format; blocks whose
  // last byte was played are finished (Done posted) in write order.
  void advance(int milliseconds);
  // Finishes the oldest `count` queued blocks.
  void finish(std::size_t count = 1);
  std::size_t queued() const { return queue_.size(); }
  const std::shared_ptr<Record>& record() const { return record_; }

 private:
  struct Queued {
    std::uint64_t block;
    const std::uint8_t* data;
    std::size_t bytes;
    std::size_t playedBytes;
  };

  void post(AudioEvent event, std::uint64_t block);
  void finishFront();

  std::shared_ptr<Record> record_;
  bool open_ = false;
  std::uint64_t session_ = 0;
  AudioFormat format_;
  QObject* receiver_ = nullptr;
  AudioNotify notify_;
  std::deque<Queued> queue_;
  std::string error_;
};

}  // namespace kalvora::platform
