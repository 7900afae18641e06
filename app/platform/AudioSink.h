// Sound output device as the wave output component sees it: open with a PCM
// format, queue blocks, reset, close. Device events reach the component on its
// own (user-interface) thread through a queued call, never from the audio thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

class QObject;

namespace kalvora::platform {

// PCM format of a stream (format tag 1).
struct AudioFormat {
  int channels = 1;
  int samplesPerSecond = 8000;
  int bitsPerSample = 8;  // 8: unsigned bytes, 16: signed little-endian
  int blockAlign = 1;     // channels * bits / 8
  int avgBytesPerSecond = 8000;

  static AudioFormat pcm(int channels, int samplesPerSecond, int bitsPerSample) {
    AudioFormat f;
    f.channels = channels;
    f.samplesPerSecond = samplesPerSecond;
    f.bitsPerSample = bitsPerSample;
    f.blockAlign = channels * (bitsPerSample / 8);
    f.avgBytesPerSecond = f.blockAlign * samplesPerSecond;
    return f;
  }
};

enum class AudioEvent { Opened, Done, Closed };

// One notification from the device. `session` is the value passed to open();
// `block` is the id given to write() (Done only).
struct AudioNotification {
  AudioEvent event = AudioEvent::Done;
  std::uint64_t session = 0;
  std::uint64_t block = 0;
};

using AudioNotify = std::function<void(const AudioNotification&)>;

class AudioSink {
 public:
  virtual ~AudioSink() = default;

  // Opens the default output device. Notifications are delivered by a queued
  // call in the thread of `receiver` (which must outlive the open stream).
  // Returns false when the device refuses the format or cannot be opened.
  virtual bool open(const AudioFormat& format, std::uint64_t session, QObject* receiver,
                    AudioNotify notify) = 0;

  // Queues a block. The bytes must stay valid until its Done notification is
  // posted or reset()/close() returns; the sink never touches them afterwards.
  // False when the device refused the block (no Done will come for it).
  virtual bool write(std::uint64_t block, const std::uint8_t* data, std::size_t bytes) = 0;

  // Drops every queued block; each is reported as Done (queued, in write order).
  virtual void reset() = 0;

  // Closes the device (queued blocks are dropped without Done); posts Closed.
  // Returns false when the device could not be closed.
  virtual bool close() = 0;

  virtual bool isOpen() const = 0;

  // An identifier of the open device, 0 while closed.
  virtual std::uintptr_t handle() const = 0;

  // Why the last open or close failed (empty when it did not).
  virtual std::string errorText() const = 0;
};

// The sink the program uses: the default device of the system's audio API.
std::unique_ptr<AudioSink> makeDefaultAudioSink();

}  // namespace kalvora::platform
