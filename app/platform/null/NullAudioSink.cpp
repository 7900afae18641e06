#include "platform/null/NullAudioSink.h"

#include <QMetaObject>
#include <QObject>

namespace kalvora::platform {

NullAudioSink::~NullAudioSink() {
  if (open_) close();
}

bool NullAudioSink::open(const AudioFormat& format, std::uint64_t session, QObject* receiver,
                         AudioNotify notify) {
  record_->lastFormat = format;
  if (open_ || record_->failOpen) {
    error_ = open_ ? "The device is already open." : "The device refused to open.";
    return false;
  }
  error_.clear();
  open_ = true;
  ++record_->opens;
  session_ = session;
  format_ = format;
  receiver_ = receiver;
  notify_ = std::move(notify);
  post(AudioEvent::Opened, 0);
  return true;
}

bool NullAudioSink::write(std::uint64_t block, const std::uint8_t* data, std::size_t bytes) {
  if (!open_ || record_->failWrite) return false;
  queue_.push_back({block, data, bytes, 0});
  return true;
}

void NullAudioSink::reset() {
  ++record_->resets;
  while (!queue_.empty()) {
    record_->dropped.push_back(queue_.front().block);
    post(AudioEvent::Done, queue_.front().block);
    queue_.pop_front();
  }
}

bool NullAudioSink::close() {
  if (!open_) return true;
  if (record_->failClose) {
    error_ = "The device refused to close.";
    return false;
  }
  ++record_->closes;
  for (const auto& q : queue_) record_->dropped.push_back(q.block);
  queue_.clear();
  post(AudioEvent::Closed, 0);
  open_ = false;
  receiver_ = nullptr;
  notify_ = nullptr;
  return true;
}

void NullAudioSink::advance(int milliseconds) {
  if (!open_ || milliseconds <= 0) return;
  std::size_t budget =
      static_cast<std::size_t>(static_cast<std::int64_t>(format_.avgBytesPerSecond) * milliseconds / 1000);
  while (!queue_.empty()) {
    Queued& q = queue_.front();
    std::size_t take = std::min(budget, q.bytes - q.playedBytes);
    q.playedBytes += take;
    budget -= take;
    if (q.playedBytes < q.bytes) break;
    finishFront();
  }
}

void NullAudioSink::finish(std::size_t count) {
  while (open_ && count-- > 0 && !queue_.empty()) finishFront();
}

void NullAudioSink::finishFront() {
  const Queued& q = queue_.front();
  // The device reads the block only now, as a real one would while playing.
  record_->played.push_back({session_, q.block, std::vector<std::uint8_t>(q.data, q.data + q.bytes)});
  post(AudioEvent::Done, q.block);
  queue_.pop_front();
}

void NullAudioSink::post(AudioEvent event, std::uint64_t block) {
  if (!receiver_ || !notify_) return;
  AudioNotification n{event, session_, block};
  QMetaObject::invokeMethod(receiver_, [notify = notify_, n] { notify(n); }, Qt::QueuedConnection);
}

}  // namespace kalvora::platform
