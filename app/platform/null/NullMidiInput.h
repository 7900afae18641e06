// A MIDI input without a device, for tests: it lists the devices it is given
// and delivers the messages a test injects, like a device would.
#pragma once

#include <memory>

#include "platform/MidiInput.h"

namespace kalvora::platform {

class NullMidiInput : public MidiInput {
 public:
  explicit NullMidiInput(std::vector<std::string> devices = {"Test MIDI Input"}) : devices_(std::move(devices)) {}
  ~NullMidiInput() override { close(); }

  int deviceCount() override { return static_cast<int>(devices_.size()); }
  std::string deviceName(int index) override;
  bool open(int index, QObject* receiver, MidiHandler handler) override;
  void close() override;
  bool isOpen() const override { return static_cast<bool>(delivery_); }

  // Sends a message as the device would; safe from any thread. Ignored while closed.
  void inject(std::uint8_t status, std::uint8_t data1, std::uint8_t data2);

  bool failOpen = false;
  int openedDevice = -1;

 private:
  struct Delivery;
  std::vector<std::string> devices_;
  std::shared_ptr<Delivery> delivery_;
};

}  // namespace kalvora::platform
