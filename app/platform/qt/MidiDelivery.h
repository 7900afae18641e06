// Hands MIDI messages from a device thread to the receiver's thread. A closed
// delivery drops messages that were already on their way.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>

#include <QMetaObject>
#include <QObject>

#include "platform/MidiInput.h"

namespace kalvora::platform {

struct MidiDelivery {
  QObject* receiver = nullptr;
  MidiHandler handler;
  std::atomic<bool> active{true};

  static void post(const std::shared_ptr<MidiDelivery>& d, std::uint8_t status, std::uint8_t data1,
                   std::uint8_t data2) {
    if (!d || !d->active.load() || !d->receiver) return;
    QMetaObject::invokeMethod(
        d->receiver,
        [d, status, data1, data2] {
          if (d->active.load() && d->handler) d->handler(status, data1, data2);
        },
        Qt::QueuedConnection);
  }
};

}  // namespace kalvora::platform
