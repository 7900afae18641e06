#include "platform/rt/RtAudioSink.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

#include <QMetaObject>
#include <QObject>

namespace kalvora::platform {

namespace {

// Reports of the device thread: never thrown there, never passed to the component.
void reportStreamError(RtAudioError::Type type, const std::string& text) {
  if (type != RtAudioError::WARNING && type != RtAudioError::DEBUG_WARNING)
    std::fprintf(stderr, "audio output: %s\n", text.c_str());
}

}  // namespace

std::unique_ptr<AudioSink> makeDefaultAudioSink() {
  return std::make_unique<RtAudioSink>();
}

RtAudioSink::RtAudioSink(RtAudio::Api api, std::string clientName)
    : api_(api), clientName_(std::move(clientName)) {}

RtAudioSink::~RtAudioSink() {
  shutDown();
}

bool RtAudioSink::open(const AudioFormat& format, std::uint64_t session, QObject* receiver,
                       AudioNotify notify) {
  error_.clear();
  if (audio_) {
    error_ = "The sound device is already open.";
    return false;
  }
  if (format.channels < 1 || format.samplesPerSecond < 1 ||
      (format.bitsPerSample != 8 && format.bitsPerSample != 16)) {
    error_ = "The sound device does not support this format.";
    return false;
  }
  format_ = format;
  session_ = session;
  receiver_ = receiver;
  notify_ = std::move(notify);
  try {
    audio_ = std::make_unique<RtAudio>(api_);
    audio_->showWarnings(false);
    if (audio_->getDeviceCount() == 0) {
      error_ = "There is no sound output device.";
      shutDown();
      return false;
    }
    const unsigned device = audio_->getDefaultOutputDevice();
    const RtAudio::DeviceInfo info = audio_->getDeviceInfo(device);
    // Like the system's wave mapper, play other rates by converting to one the device has.
    std::vector<unsigned> rates{static_cast<unsigned>(format.samplesPerSecond)};
    if (info.probed) {
      if (info.preferredSampleRate) rates.push_back(info.preferredSampleRate);
      for (unsigned r : info.sampleRates)
        if (r >= static_cast<unsigned>(format.samplesPerSecond)) rates.push_back(r);
      rates.insert(rates.end(), info.sampleRates.begin(), info.sampleRates.end());
    }
    std::vector<unsigned> tried;
    for (unsigned rate : rates) {
      if (std::find(tried.begin(), tried.end(), rate) != tried.end()) continue;
      tried.push_back(rate);
      if (tryOpen(device, rate)) {
        post(AudioEvent::Opened, 0);
        return true;
      }
    }
    if (error_.empty()) error_ = "The sound device refused the format.";
  } catch (const std::exception& e) {
    error_ = e.what();
  }
  shutDown();
  return false;
}

bool RtAudioSink::tryOpen(unsigned device, unsigned rate) {
  RtAudio::StreamParameters params;
  params.deviceId = device;
  params.nChannels = static_cast<unsigned>(format_.channels);
  RtAudio::StreamOptions options;
  options.streamName = clientName_;
  unsigned bufferFrames = 512;
  try {
    audio_->openStream(&params, nullptr, RTAUDIO_FLOAT32, rate, &bufferFrames, &RtAudioSink::callback, this,
                       &options, &reportStreamError);
    if (!audio_->isStreamOpen()) return false;
    deviceRate_ = rate;
    position_ = 0;
    audio_->startStream();
    if (!audio_->isStreamRunning()) {
      error_ = "The sound device could not be started.";
      audio_->closeStream();
      return false;
    }
    return true;
  } catch (const RtAudioError& e) {
    error_ = e.getMessage();
  } catch (const std::exception& e) {
    error_ = e.what();
  }
  if (audio_->isStreamOpen()) audio_->closeStream();
  return false;
}

bool RtAudioSink::write(std::uint64_t block, const std::uint8_t* data, std::size_t bytes) {
  if (!audio_) return false;
  std::lock_guard lock(mutex_);
  queue_.push_back({block, data, bytes / static_cast<std::size_t>(format_.blockAlign)});
  return true;
}

void RtAudioSink::reset() {
  std::lock_guard lock(mutex_);
  for (const Queued& q : queue_) post(AudioEvent::Done, q.block);
  queue_.clear();
  position_ = 0;
}

bool RtAudioSink::close() {
  if (!audio_) return true;
  shutDown();
  post(AudioEvent::Closed, 0);
  receiver_ = nullptr;
  notify_ = nullptr;
  return true;
}

void RtAudioSink::shutDown() {
  if (audio_) {
    try {
      if (audio_->isStreamRunning()) audio_->abortStream();
    } catch (const std::exception&) {
    }
    try {
      if (audio_->isStreamOpen()) audio_->closeStream();
    } catch (const std::exception&) {
    }
    audio_.reset();  // the device thread has ended here
  }
  std::lock_guard lock(mutex_);
  queue_.clear();
  position_ = 0;
  deviceRate_ = 0;
}

int RtAudioSink::callback(void* output, void*, unsigned frames, double, RtAudioStreamStatus, void* self) {
  static_cast<RtAudioSink*>(self)->fill(static_cast<float*>(output), frames);
  return 0;
}

float RtAudioSink::sample(const Queued& q, std::size_t frame, int channel) const {
  const std::size_t index = frame * static_cast<std::size_t>(format_.blockAlign) +
                            static_cast<std::size_t>(channel) * static_cast<std::size_t>(format_.bitsPerSample / 8);
  if (format_.bitsPerSample == 8) return (static_cast<int>(q.data[index]) - 128) / 128.0f;
  const auto value = static_cast<std::int16_t>(q.data[index] | (q.data[index + 1] << 8));
  return value / 32768.0f;
}

void RtAudioSink::fill(float* out, unsigned frames) {
  const int channels = format_.channels;
  const double step = static_cast<double>(format_.samplesPerSecond) / deviceRate_;
  std::lock_guard lock(mutex_);
  for (unsigned i = 0; i < frames; ++i) {
    // Finish every block whose frames are all played (empty blocks at once).
    while (!queue_.empty() && position_ >= static_cast<double>(queue_.front().frames)) {
      position_ -= static_cast<double>(queue_.front().frames);
      post(AudioEvent::Done, queue_.front().block);
      queue_.pop_front();
    }
    if (queue_.empty()) {
      position_ = 0;
      std::memset(out, 0, sizeof(float) * channels * (frames - i));
      return;
    }
    const auto frame = static_cast<std::size_t>(position_);
    for (int c = 0; c < channels; ++c) *out++ = sample(queue_.front(), frame, c);
    position_ += step;
  }
  // A block that ends exactly here is reported now, not one buffer later.
  while (!queue_.empty() && position_ >= static_cast<double>(queue_.front().frames)) {
    position_ -= static_cast<double>(queue_.front().frames);
    post(AudioEvent::Done, queue_.front().block);
    queue_.pop_front();
  }
}

void RtAudioSink::post(AudioEvent event, std::uint64_t block) {
  if (!receiver_ || !notify_) return;
  AudioNotification n{event, session_, block};
  QMetaObject::invokeMethod(receiver_, [notify = notify_, n] { notify(n); }, Qt::QueuedConnection);
}

}  // namespace kalvora::platform
