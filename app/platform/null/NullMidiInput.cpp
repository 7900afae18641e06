#include "platform/null/NullMidiInput.h"

#include <mutex>

#include "platform/qt/MidiDelivery.h"

namespace kalvora::platform {

struct NullMidiInput::Delivery : MidiDelivery {};

namespace {
std::mutex injectMutex;  // inject() may run on another thread than open/close
}

std::string NullMidiInput::deviceName(int index) {
  if (index < 0 || index >= deviceCount()) return {};
  return devices_[static_cast<std::size_t>(index)];
}

bool NullMidiInput::open(int index, QObject* receiver, MidiHandler handler) {
  if (isOpen() || failOpen || index < 0 || index >= deviceCount() || !receiver) return false;
  auto d = std::make_shared<Delivery>();
  d->receiver = receiver;
  d->handler = std::move(handler);
  std::lock_guard lock(injectMutex);
  delivery_ = std::move(d);
  openedDevice = index;
  return true;
}

void NullMidiInput::close() {
  std::lock_guard lock(injectMutex);
  if (delivery_) delivery_->active = false;
  delivery_.reset();
  openedDevice = -1;
}

void NullMidiInput::inject(std::uint8_t status, std::uint8_t data1, std::uint8_t data2) {
  std::shared_ptr<MidiDelivery> d;
  {
    std::lock_guard lock(injectMutex);
    d = delivery_;
  }
  MidiDelivery::post(d, status, data1, data2);
}

}  // namespace kalvora::platform
