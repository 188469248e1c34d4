#include "link/controller/DeviceWatcher.h"

#include "link/LinkTrace.h"

#include <algorithm>
#include <condition_variable>
#include <libudev.h>
#include <mutex>
#include <poll.h>
#include <set>
#include <sys/eventfd.h>
#include <thread>
#include <unistd.h>
#include <vector>

// ---- Polling ---------------------------------------------------------------------------------

struct PollingDeviceWatcher::State
{
    std::mutex mutex;
    std::condition_variable cv;
    bool stop = false;
    std::thread thread;
};

PollingDeviceWatcher::PollingDeviceWatcher(HidBackend& backend, DeviceChangeHandler handler,
                                           std::chrono::milliseconds interval)
    : state_(std::make_shared<State>())
{
    std::vector<std::string> baseline;
    for (const HidInterfaceInfo& info : backend.Enumerate()) {
        baseline.push_back(info.path);
    }
    State* s = state_.get();
    s->thread = std::thread([s, &backend, handler = std::move(handler), interval,
                             known = std::move(baseline)]() mutable {
        for (;;) {
            {
                std::unique_lock lock(s->mutex);
                if (s->cv.wait_for(lock, interval, [s] { return s->stop; })) {
                    return;
                }
            }
            std::vector<std::string> now;
            for (const HidInterfaceInfo& info : backend.Enumerate()) {
                now.push_back(info.path);
            }
            const std::set<std::string> before(known.begin(), known.end());
            const std::set<std::string> after(now.begin(), now.end());
            for (const std::string& path : known) {
                if (after.count(path) == 0) {
                    handler(DeviceChange::Removal, path);
                }
            }
            for (const std::string& path : now) {
                if (before.count(path) == 0) {
                    handler(DeviceChange::Arrival, path);
                }
            }
            known = std::move(now);
        }
    });
}

PollingDeviceWatcher::~PollingDeviceWatcher()
{
    {
        std::lock_guard lock(state_->mutex);
        state_->stop = true;
    }
    state_->cv.notify_all();
    if (state_->thread.joinable()) {
        state_->thread.join();
    }
}

// ---- udev ------------------------------------------------------------------------------------

struct UdevDeviceWatcher::State
{
    udev* context = nullptr;
    udev_monitor* monitor = nullptr;
    int wake = -1;
    std::thread thread;

    ~State()
    {
        if (thread.joinable()) {
            const uint64_t one = 1;
            (void)!::write(wake, &one, sizeof one);
            thread.join();
        }
        if (wake >= 0) {
            ::close(wake);
        }
        if (monitor != nullptr) {
            udev_monitor_unref(monitor);
        }
        if (context != nullptr) {
            udev_unref(context);
        }
    }
};

std::unique_ptr<UdevDeviceWatcher> UdevDeviceWatcher::Create(DeviceChangeHandler handler,
                                                             std::string* error)
{
    auto state = std::make_unique<State>();
    state->context = udev_new();
    if (state->context != nullptr) {
        state->monitor = udev_monitor_new_from_netlink(state->context, "udev");
    }
    if (state->monitor == nullptr ||
        udev_monitor_filter_add_match_subsystem_devtype(state->monitor, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(state->monitor) < 0) {
        if (error != nullptr) {
            *error = "udev monitor unavailable";
        }
        return nullptr;
    }
    state->wake = ::eventfd(0, EFD_CLOEXEC);
    if (state->wake < 0) {
        if (error != nullptr) {
            *error = "eventfd unavailable";
        }
        return nullptr;
    }
    const int monitorFd = udev_monitor_get_fd(state->monitor);
    udev_monitor* monitor = state->monitor;
    const int wake = state->wake;
    state->thread = std::thread([monitor, monitorFd, wake, handler = std::move(handler)] {
        for (;;) {
            pollfd fds[2] = {{monitorFd, POLLIN, 0}, {wake, POLLIN, 0}};
            if (::poll(fds, 2, -1) < 0) {
                continue; // interrupted
            }
            if ((fds[1].revents & POLLIN) != 0) {
                return;
            }
            if ((fds[0].revents & POLLIN) == 0) {
                continue;
            }
            udev_device* device = udev_monitor_receive_device(monitor);
            if (device == nullptr) {
                continue;
            }
            const char* action = udev_device_get_action(device);
            const char* node = udev_device_get_devnode(device);
            if (action != nullptr && node != nullptr) {
                const std::string a(action);
                if (a == "add") {
                    handler(DeviceChange::Arrival, node);
                } else if (a == "remove") {
                    handler(DeviceChange::Removal, node);
                }
            }
            udev_device_unref(device);
        }
    });
    std::unique_ptr<UdevDeviceWatcher> watcher(new UdevDeviceWatcher());
    watcher->state_ = std::move(state);
    return watcher;
}

UdevDeviceWatcher::~UdevDeviceWatcher() = default;

bool UdevDaemonRunning()
{
    // systemd-udevd (and eudev) listen on this socket; without a daemon the kernel's raw
    // events are never turned into the monitor's "udev" events.
    return ::access("/run/udev/control", F_OK) == 0;
}

std::unique_ptr<DeviceWatcher> StartHardwareWatcher(HidBackend& backend,
                                                    DeviceChangeHandler handler)
{
    if (UdevDaemonRunning()) {
        std::string error;
        if (auto watcher = UdevDeviceWatcher::Create(handler, &error)) {
            return watcher;
        }
        LinkTrace(error);
    }
    return std::make_unique<PollingDeviceWatcher>(backend, std::move(handler));
}
