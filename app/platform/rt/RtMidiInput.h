// The real MIDI input: the ALSA sequencer through RtMidi. A system without a
// sequencer has no devices; nothing here throws.
#pragma once

#include <memory>

#include "platform/MidiInput.h"

class RtMidiIn;

namespace kalvora::platform {

struct MidiDelivery;

class RtMidiInput : public MidiInput {
 public:
  RtMidiInput();
  ~RtMidiInput() override;

  int deviceCount() override;
  std::string deviceName(int index) override;
  bool open(int index, QObject* receiver, MidiHandler handler) override;
  void close() override;
  bool isOpen() const override { return static_cast<bool>(port_); }

  // Why the sequencer or the device could not be used (empty when it could).
  const std::string& errorText() const { return error_; }

 private:
  std::unique_ptr<RtMidiIn> makeClient();

  std::unique_ptr<RtMidiIn> port_;      // the open device
  std::shared_ptr<MidiDelivery> delivery_;
  std::string error_;
};

}  // namespace kalvora::platform
