#include "platform/rt/RtMidiInput.h"

#include <algorithm>
#include <vector>

#include <RtMidi.h>

#include "platform/qt/MidiDelivery.h"

namespace kalvora::platform {

namespace {

void midiMessage(double, std::vector<unsigned char>* message, void* userData) {
  if (!message || message->empty() || message->size() > 3 || (*message)[0] < 0x80) return;
  const auto* delivery = static_cast<std::shared_ptr<MidiDelivery>*>(userData);
  MidiDelivery::post(*delivery, (*message)[0], message->size() > 1 ? (*message)[1] : 0,
                     message->size() > 2 ? (*message)[2] : 0);
}

// Errors after opening would otherwise be thrown on the sequencer's thread.
void midiError(RtMidiError::Type, const std::string&, void*) {}

}  // namespace

std::unique_ptr<MidiInput> makeDefaultMidiInput() {
  return std::make_unique<RtMidiInput>();
}

RtMidiInput::RtMidiInput() = default;

RtMidiInput::~RtMidiInput() {
  close();
}

std::unique_ptr<RtMidiIn> RtMidiInput::makeClient() {
  error_.clear();
  // Only the sequencer API: asking for any other could start the JACK client,
  // which fails badly without a server.
  std::vector<RtMidi::Api> apis;
  RtMidi::getCompiledApi(apis);
  if (std::find(apis.begin(), apis.end(), RtMidi::LINUX_ALSA) == apis.end()) {
    error_ = "No MIDI sequencer support.";
    return nullptr;
  }
  try {
    return std::make_unique<RtMidiIn>(RtMidi::LINUX_ALSA, "Kalvora");
  } catch (const RtMidiError& e) {
    error_ = e.getMessage();
  } catch (const std::exception& e) {
    error_ = e.what();
  }
  return nullptr;
}

int RtMidiInput::deviceCount() {
  try {
    if (port_) return static_cast<int>(port_->getPortCount());
    auto client = makeClient();
    return client ? static_cast<int>(client->getPortCount()) : 0;
  } catch (const std::exception& e) {
    error_ = e.what();
    return 0;
  }
}

std::string RtMidiInput::deviceName(int index) {
  if (index < 0) return {};
  try {
    std::unique_ptr<RtMidiIn> client;
    RtMidiIn* in = port_.get();
    if (!in) {
      client = makeClient();
      in = client.get();
    }
    if (!in || static_cast<unsigned>(index) >= in->getPortCount()) return {};
    return in->getPortName(static_cast<unsigned>(index));
  } catch (const std::exception& e) {
    error_ = e.what();
    return {};
  }
}

bool RtMidiInput::open(int index, QObject* receiver, MidiHandler handler) {
  if (port_ || index < 0 || !receiver) return false;
  auto client = makeClient();
  if (!client) return false;
  auto delivery = std::make_shared<MidiDelivery>();
  delivery->receiver = receiver;
  delivery->handler = std::move(handler);
  delivery_ = delivery;
  try {
    if (static_cast<unsigned>(index) >= client->getPortCount()) {
      error_ = "There is no such MIDI input device.";
      delivery_.reset();
      return false;
    }
    client->setErrorCallback(&midiError, nullptr);
    client->ignoreTypes(true, true, true);
    client->setCallback(&midiMessage, &delivery_);
    client->openPort(static_cast<unsigned>(index), "Kalvora MIDI Input");
    if (!client->isPortOpen()) {
      error_ = "The MIDI input device could not be opened.";
      client.reset();
      delivery_.reset();
      return false;
    }
  } catch (const std::exception& e) {
    error_ = e.what();
    client.reset();
    delivery_.reset();
    return false;
  }
  port_ = std::move(client);
  return true;
}

void RtMidiInput::close() {
  if (delivery_) delivery_->active = false;
  if (port_) {
    try {
      port_->cancelCallback();
      port_->closePort();
    } catch (const std::exception&) {
    }
    port_.reset();  // the sequencer thread has ended here
  }
  delivery_.reset();
}

}  // namespace kalvora::platform
