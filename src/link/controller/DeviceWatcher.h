#pragma once
// Arrival and removal of HID interfaces for the connection controller, reported exactly like
// the platform's device notifications: the kind and the interface's path, on the watcher's
// own thread. On Linux a libudev monitor delivers hidraw add/remove events; where no udev
// daemon sends them (containers) the present interfaces are enumerated every second and
// compared. The emulator's virtual bus reports its plug, unplug and restart events the same
// way.

#include "link/HidBackend.h"

#include <atomic>
#include <chrono>
#include <functional>
#include <memory>
#include <string>

enum class DeviceChange
{
    Arrival,
    Removal
};

using DeviceChangeHandler = std::function<void(DeviceChange change, const std::string& path)>;

class DeviceWatcher
{
public:
    virtual ~DeviceWatcher() = default;
    // A short name for traces and the command-line tool: "udev", "polling", "virtual bus".
    virtual const char* Kind() const = 0;
};

// Enumerates `backend` every `interval` and reports paths that appeared or went away, in
// enumeration order. The first enumeration is the baseline and reports nothing.
class PollingDeviceWatcher : public DeviceWatcher
{
public:
    PollingDeviceWatcher(HidBackend& backend, DeviceChangeHandler handler,
                         std::chrono::milliseconds interval = std::chrono::milliseconds(1000));
    ~PollingDeviceWatcher() override;
    PollingDeviceWatcher(const PollingDeviceWatcher&) = delete;
    PollingDeviceWatcher& operator=(const PollingDeviceWatcher&) = delete;
    const char* Kind() const override { return "polling"; }

private:
    struct State;
    std::shared_ptr<State> state_;
};

// A libudev monitor on the hidraw subsystem, read on its own thread. The monitor is enabled
// before anything else looks at the devices, so no event between the caller's first
// enumeration and the watch is missed. nullptr from Create when no monitor can be made.
class UdevDeviceWatcher : public DeviceWatcher
{
public:
    static std::unique_ptr<UdevDeviceWatcher> Create(DeviceChangeHandler handler,
                                                     std::string* error);
    ~UdevDeviceWatcher() override;
    UdevDeviceWatcher(const UdevDeviceWatcher&) = delete;
    UdevDeviceWatcher& operator=(const UdevDeviceWatcher&) = delete;
    const char* Kind() const override { return "udev"; }

private:
    UdevDeviceWatcher() = default;
    struct State;
    std::unique_ptr<State> state_;
};

// True when a udev daemon runs on this machine (it alone sends the monitor's events).
bool UdevDaemonRunning();

// The watcher for real hardware: udev when its daemon runs, polling `backend` otherwise.
std::unique_ptr<DeviceWatcher> StartHardwareWatcher(HidBackend& backend,
                                                    DeviceChangeHandler handler);
