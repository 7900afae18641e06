// The real audio sink: the default output device of an RtAudio API. The device
// thread only reads queued blocks and posts their Done notifications.
#pragma once

#include <deque>
#include <memory>
#include <mutex>
#include <string>

#include <RtAudio.h>

#include "platform/AudioSink.h"

namespace kalvora::platform {

class RtAudioSink : public AudioSink {
 public:
  // UNSPECIFIED lets RtAudio pick the first API that has devices.
  explicit RtAudioSink(RtAudio::Api api = RtAudio::UNSPECIFIED, std::string clientName = "Kalvora");
  ~RtAudioSink() override;

  bool open(const AudioFormat& format, std::uint64_t session, QObject* receiver,
            AudioNotify notify) override;
  bool write(std::uint64_t block, const std::uint8_t* data, std::size_t bytes) override;
  void reset() override;
  bool close() override;
  bool isOpen() const override { return audio_ != nullptr; }
  std::uintptr_t handle() const override { return reinterpret_cast<std::uintptr_t>(audio_.get()); }
  std::string errorText() const override { return error_; }

  // Rate the device runs at (differs from the format's when it converts), 0 when closed.
  unsigned deviceRate() const { return deviceRate_; }

 private:
  struct Queued {
    std::uint64_t block;
    const std::uint8_t* data;
    std::size_t frames;
  };

  static int callback(void* output, void* input, unsigned frames, double time, RtAudioStreamStatus status,
                      void* self);
  void fill(float* out, unsigned frames);
  float sample(const Queued& q, std::size_t frame, int channel) const;
  void post(AudioEvent event, std::uint64_t block);
  bool tryOpen(unsigned device, unsigned rate);
  void shutDown();

  RtAudio::Api api_;
  std::string clientName_;
  std::unique_ptr<RtAudio> audio_;
  std::string error_;
  AudioFormat format_;
  std::uint64_t session_ = 0;
  QObject* receiver_ = nullptr;
  AudioNotify notify_;
  unsigned deviceRate_ = 0;

  std::mutex mutex_;            // guards the queue and the play position
  std::deque<Queued> queue_;
  double position_ = 0;         // frames of the front block already played
};

}  // namespace kalvora::platform
