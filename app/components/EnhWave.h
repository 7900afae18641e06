// TEnhWaveOut: plays blocks of PCM data on the sound output device. Each block
// is copied, queued and released when the device reports it played; events
// arrive on the thread that created the component.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <list>
#include <memory>
#include <string>
#include <vector>

#include <QObject>

#include "platform/AudioSink.h"

class TEnhWaveOut : public QObject {
  Q_OBJECT

 public:
  using TNotifyEvent = std::function<void(QObject* sender)>;

  // With no sink given the component uses the system's default device.
  explicit TEnhWaveOut(QObject* owner = nullptr,
                       std::unique_ptr<kalvora::platform::AudioSink> sink = nullptr);
  ~TEnhWaveOut() override;

  TEnhWaveOut(const TEnhWaveOut&) = delete;
  TEnhWaveOut& operator=(const TEnhWaveOut&) = delete;

  // Format properties: stored only, used at the next Open.
  int channels() const { return FChannels; }
  void setChannels(int value) { FChannels = value; }
  int samples() const { return FSamples; }
  void setSamples(int value) { FSamples = value; }
  int SampleBits() const { return FSampleBits; }
  void setSampleBits(int value) { FSampleBits = value; }
  // Handle of the open device, 0 while closed.
  std::uintptr_t DeviceID() const { return FDeviceID; }

  TNotifyEvent OnOpen;
  TNotifyEvent OnDone;   // a block finished; fired after it was released
  TNotifyEvent OnClose;

  // The format Open asks for, built from the properties.
  kalvora::platform::AudioFormat Format() const;

  // Opens the default output device; false (and the component stays closed)
  // when the device refuses. LastError() then says why.
  bool Open();
  // Copies the bytes and queues them; returns whether blocks are queued. The
  // caller may free `data` at once. Refused (false) while the device is closed.
  bool Write(const void* data, std::size_t byteCount);
  // Ends playing: every queued block is returned as done.
  void Stop();
  // Stops, releases every queued block and closes the device.
  void Close();
  bool IsOpen() const { return FOpen; }
  bool IsPlaying() const { return FPlaying; }

  // Number of blocks waiting for the device.
  std::size_t QueuedBlocks() const { return FQueue.size(); }
  const std::string& LastError() const { return FLastError; }

 private:
  struct Block {
    std::uint64_t id;
    std::vector<std::uint8_t> data;
  };

  void HandleNotification(const kalvora::platform::AudioNotification& n);
  void ReleaseBlock(std::uint64_t id);

  int FChannels = 1;
  int FSamples = 8000;
  int FSampleBits = 8;
  std::uintptr_t FDeviceID = 0;
  bool FOpen = false;
  bool FPlaying = false;
  std::uint64_t FSession = 0;    // number of the current open; notifications of older ones are stale
  std::uint64_t FNextBlock = 1;
  std::list<Block> FQueue;       // write order; list keeps each block's bytes in place
  std::string FLastError;
  std::unique_ptr<kalvora::platform::AudioSink> FSink;
  QObject* FNotifyWindow;        // receives the device's queued notifications
};
