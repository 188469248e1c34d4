#pragma once
// The emulator's virtual bus as a device watcher: its plug, unplug and restart events reach
// the controller as arrivals and removals, like the hardware's notifications.

#include "link/controller/DeviceWatcher.h"
#include "link/emulator/VirtualHidBus.h"

class VirtualBusWatcher : public DeviceWatcher
{
public:
    VirtualBusWatcher(VirtualHidBus& bus, DeviceChangeHandler handler);
    // After it returns the handler is not called again.
    ~VirtualBusWatcher() override;
    VirtualBusWatcher(const VirtualBusWatcher&) = delete;
    VirtualBusWatcher& operator=(const VirtualBusWatcher&) = delete;
    const char* Kind() const override { return "virtual bus"; }

private:
    VirtualHidBus& bus_;
    int listener_;
};
