// MIDI input device: lists the devices, opens one and delivers its short
// messages (status, data1, data2) on the receiver's thread by a queued call.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QObject;

namespace kalvora::platform {

using MidiHandler = std::function<void(std::uint8_t status, std::uint8_t data1, std::uint8_t data2)>;

class MidiInput {
 public:
  virtual ~MidiInput() = default;

  // Devices present now; no device system means no devices.
  virtual int deviceCount() = 0;
  // Name of device `index` (0-based), empty when there is no such device.
  virtual std::string deviceName(int index) = 0;

  // Opens and starts device `index`; messages go to `handler`, called in the
  // thread of `receiver`. False when the device cannot be opened.
  virtual bool open(int index, QObject* receiver, MidiHandler handler) = 0;
  // Stops and closes; no message is delivered afterwards.
  virtual void close() = 0;
  virtual bool isOpen() const = 0;
};

// The program's MIDI input: the system's sequencer.
std::unique_ptr<MidiInput> makeDefaultMidiInput();

}  // namespace kalvora::platform
