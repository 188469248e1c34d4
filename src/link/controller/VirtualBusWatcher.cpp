#include "link/controller/VirtualBusWatcher.h"

#include <utility>

VirtualBusWatcher::VirtualBusWatcher(VirtualHidBus& bus, DeviceChangeHandler handler)
    : bus_(bus), listener_(bus.AddListener([handler = std::move(handler)](const BusEvent& e) {
          handler(e.kind == BusEventKind::Arrival ? DeviceChange::Arrival : DeviceChange::Removal,
                  e.path);
      }))
{
}

VirtualBusWatcher::~VirtualBusWatcher()
{
    bus_.RemoveListener(listener_);
}
