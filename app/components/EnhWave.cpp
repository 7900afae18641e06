#include "components/EnhWave.h"

#include <algorithm>
#include <cstring>

using kalvora::platform::AudioEvent;
using kalvora::platform::AudioFormat;
using kalvora::platform::AudioNotification;

TEnhWaveOut::TEnhWaveOut(QObject* owner, std::unique_ptr<kalvora::platform::AudioSink> sink)
    : QObject(owner),
      FSink(sink ? std::move(sink) : kalvora::platform::makeDefaultAudioSink()),
      FNotifyWindow(new QObject(this)) {}

TEnhWaveOut::~TEnhWaveOut() {
  Close();
  // The sink goes before the notification target: no queued call can be
  // posted to a target that no longer exists.
  FSink.reset();
}

AudioFormat TEnhWaveOut::Format() const {
  return AudioFormat::pcm(FChannels, FSamples, FSampleBits);
}

bool TEnhWaveOut::Open() {
  if (FOpen) {
    FLastError = "The wave output is already open.";
    return false;
  }
  FLastError.clear();
  const AudioFormat format = Format();
  if (format.channels < 1 || format.samplesPerSecond < 1 ||
      (format.bitsPerSample != 8 && format.bitsPerSample != 16)) {
    FLastError = "The wave format is not supported.";
    return false;
  }
  const std::uint64_t session = ++FSession;
  FOpen = FSink->open(format, session, FNotifyWindow,
                      [this](const AudioNotification& n) { HandleNotification(n); });
  if (FOpen) {
    FDeviceID = FSink->handle();
  } else {
    FDeviceID = 0;
    FLastError = FSink->errorText();
    if (FLastError.empty()) FLastError = "The sound device could not be opened.";
  }
  return FOpen;
}

bool TEnhWaveOut::Write(const void* data, std::size_t byteCount) {
  // A block written to a closed device would never be reported done.
  if (!FOpen) return false;
  Block& block = FQueue.emplace_back();
  block.id = FNextBlock++;
  if (byteCount > 0) {
    block.data.resize(byteCount);
    std::memcpy(block.data.data(), data, byteCount);
  }
  if (!FSink->write(block.id, block.data.data(), block.data.size())) FQueue.pop_back();
  FPlaying = !FQueue.empty();
  return FPlaying;
}

void TEnhWaveOut::Stop() {
  if (!FPlaying) return;
  FSink->reset();
  FPlaying = false;
}

void TEnhWaveOut::Close() {
  if (FPlaying) {
    FSink->reset();
    FPlaying = false;
  }
  if (!FOpen) return;
  // Reset returned every block; none is read by the device any more.
  while (!FQueue.empty()) ReleaseBlock(FQueue.front().id);
  FOpen = !FSink->close();
  if (FOpen) {
    FLastError = FSink->errorText();
  } else {
    FDeviceID = 0;
  }
}

void TEnhWaveOut::ReleaseBlock(std::uint64_t id) {
  auto it = std::find_if(FQueue.begin(), FQueue.end(), [id](const Block& b) { return b.id == id; });
  if (it != FQueue.end()) FQueue.erase(it);
  FPlaying = !FQueue.empty();
}

void TEnhWaveOut::HandleNotification(const AudioNotification& n) {
  switch (n.event) {
    case AudioEvent::Opened:
      if (OnOpen) OnOpen(this);
      break;
    case AudioEvent::Done:
      // Blocks of an earlier open were released at its close; their late
      // reports must not end the current play.
      if (!FOpen || n.session != FSession) return;
      ReleaseBlock(n.block);
      if (OnDone) OnDone(this);
      break;
    case AudioEvent::Closed:
      if (OnClose) OnClose(this);
      break;
  }
}
