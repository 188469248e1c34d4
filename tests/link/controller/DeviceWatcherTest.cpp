// Device watchers report arrivals and removals of paths like the platform notifications.
#include "link/controller/DeviceWatcher.h"

#include "link/LinkTestSupport.h"
#include "link/controller/VirtualBusWatcher.h"
#include "link/emulator/VirtualHidBus.h"

#include <gtest/gtest.h>

#include <mutex>
#include <string>
#include <vector>

namespace {

using namespace std::chrono_literals;

class ChangeLog
{
public:
    DeviceChangeHandler Handler()
    {
        return [this](DeviceChange change, const std::string& path) {
            std::lock_guard lock(mutex_);
            lines_.push_back((change == DeviceChange::Arrival ? "+" : "-") + path);
        };
    }
    std::vector<std::string> Lines() const
    {
        std::lock_guard lock(mutex_);
        return lines_;
    }

private:
    mutable std::mutex mutex_;
    std::vector<std::string> lines_;
};

TEST(DeviceWatcher, PollingReportsChangesAgainstTheFirstEnumeration)
{
    VirtualHidBus bus;
    bus.AddInterface({"/dev/hidraw0", 1, 0x1111, 0x2222, nullptr, ""});
    bus.AddInterface({"/dev/hidraw1", 1, 0x2010, 0x1031, nullptr, ""});
    bus.AddInterface({"/dev/hidraw2", 1, 0x2010, 0x1031, nullptr, ""});
    ASSERT_TRUE(bus.Unplug("/dev/hidraw2")); // absent when the watch starts
    ChangeLog log;
    {
        PollingDeviceWatcher watcher(bus, log.Handler(), 2ms);
        EXPECT_STREQ(watcher.Kind(), "polling");
        ASSERT_TRUE(bus.Unplug("/dev/hidraw1"));
        ASSERT_TRUE(WaitUntil([&] { return log.Lines().size() == 1; }));
        ASSERT_TRUE(bus.Plug("/dev/hidraw2"));
        ASSERT_TRUE(WaitUntil([&] { return log.Lines().size() == 2; }));
        ASSERT_TRUE(bus.Plug("/dev/hidraw1"));
        ASSERT_TRUE(WaitUntil([&] { return log.Lines().size() == 3; }));
    }
    EXPECT_EQ(log.Lines(),
              (std::vector<std::string>{"-/dev/hidraw1", "+/dev/hidraw2", "+/dev/hidraw1"}));
    // Nothing is reported after the watcher is gone.
    bus.Unplug("/dev/hidraw0");
    EXPECT_EQ(log.Lines().size(), 3u);
}

TEST(DeviceWatcher, VirtualBusEventsArriveInOrder)
{
    VirtualHidBus bus;
    bus.AddInterface({"emulated:x", 1, 0x2010, 0x1031, nullptr, ""});
    ChangeLog log;
    {
        VirtualBusWatcher watcher(bus, log.Handler());
        bus.Unplug("emulated:x");
        bus.Plug("emulated:x");
        bus.Restart("emulated:x", 1ms);
        ASSERT_TRUE(WaitUntil([&] { return log.Lines().size() == 4; }));
    }
    EXPECT_EQ(log.Lines(), (std::vector<std::string>{"-emulated:x", "+emulated:x", "-emulated:x",
                                                     "+emulated:x"}));
}

TEST(DeviceWatcher, HardwareWatcherStartsAndStopsOnThisMachine)
{
    // Whatever this machine offers (udev daemon or not), a watcher comes up and goes down
    // without reporting the devices that are already present.
    VirtualHidBus bus;
    bus.AddInterface({"/dev/hidraw-present", 1, 0x2010, 0x1031, nullptr, ""});
    ChangeLog log;
    {
        auto watcher = StartHardwareWatcher(bus, log.Handler());
        ASSERT_TRUE(watcher);
        EXPECT_STREQ(watcher->Kind(), UdevDaemonRunning() ? "udev" : "polling");
    }
    EXPECT_TRUE(log.Lines().empty());
}

} // namespace
