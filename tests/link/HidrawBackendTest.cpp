#include "link/HidrawBackend.h"

#include "LinkTestSupport.h"
#include "link/UsbTransport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <sys/socket.h>
#include <thread>
#include <unistd.h>

using namespace std::chrono_literals;

namespace {

// A connected pair of packet sockets stands in for a hidraw node: one end is the device's
// descriptor, the other plays the processor.
class HidrawDeviceTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        int fds[2];
        ASSERT_EQ(socketpair(AF_UNIX, SOCK_SEQPACKET | SOCK_CLOEXEC, 0, fds), 0);
        device_ = std::make_unique<HidrawDevice>(fds[0], true, 0x2010, 0x1031);
        peer_ = fds[1];
    }
    void TearDown() override
    {
        if (peer_ >= 0) {
            close(peer_);
        }
    }
    std::unique_ptr<HidrawDevice> device_;
    int peer_ = -1;
};

} // namespace

TEST_F(HidrawDeviceTest, WritesExactlyOneWholeReport)
{
    Report r = MakeReport(0x80);
    r[60] = 0x5A;
    EXPECT_EQ(device_->Write(r), 61);
    uint8_t buffer[128];
    ASSERT_EQ(read(peer_, buffer, sizeof buffer), 61);
    EXPECT_EQ(buffer[0], 2);
    EXPECT_EQ(buffer[1], 0x80);
    EXPECT_EQ(buffer[60], 0x5A);
}

TEST_F(HidrawDeviceTest, ReadsOneReportAndZeroFillsAShortOne)
{
    const uint8_t shortReport[4] = {2, 0x07, 3, 9};
    ASSERT_EQ(write(peer_, shortReport, sizeof shortReport), 4);
    Report out;
    out.fill(0xEE);
    ASSERT_EQ(device_->Read(out), HidReadResult::Report);
    EXPECT_EQ(out[1], 0x07);
    EXPECT_EQ(out[3], 9);
    EXPECT_EQ(out[4], 0);
    EXPECT_EQ(out[60], 0);
}

TEST_F(HidrawDeviceTest, CloseEndsAWaitingReadAtOnce)
{
    HidReadResult result = HidReadResult::Report;
    std::thread reader([&] {
        Report out;
        result = device_->Read(out);
    });
    std::this_thread::sleep_for(20ms);
    const auto start = std::chrono::steady_clock::now();
    device_->Close();
    reader.join();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1s);
    EXPECT_EQ(result, HidReadResult::Closed);
    EXPECT_EQ(device_->Write(MakeReport(0x80)), 0) << "no write after close";
}

TEST_F(HidrawDeviceTest, UnpluggedDeviceIsAReadError)
{
    close(peer_);
    peer_ = -1;
    Report out;
    EXPECT_EQ(device_->Read(out), HidReadResult::Error);
}

TEST(HidrawBackend, OpeningANodeThatCannotBeOpenedFailsWithTheReason)
{
    HidrawBackend backend;
    std::string error;
    EXPECT_EQ(backend.Open("/dev/hidraw-does-not-exist", &error), nullptr);
    EXPECT_NE(error.find("/dev/hidraw-does-not-exist"), std::string::npos);
    EXPECT_NE(error.find("No such file"), std::string::npos);
}

TEST(HidrawBackend, NodeThatIsNotHidrawHasNoAttributes)
{
    HidrawBackend backend;
    std::string error;
    auto device = backend.Open("/dev/null", &error);
    ASSERT_NE(device, nullptr) << error;
    uint16_t vendor = 0;
    uint16_t product = 0;
    EXPECT_FALSE(device->GetAttributes(&vendor, &product));
}

TEST(HidrawBackend, EnumerationListsOnlyHidrawNodes)
{
    HidrawBackend backend;
    for (const HidInterfaceInfo& info : backend.Enumerate()) {
        EXPECT_EQ(info.path.rfind("/dev/hidraw", 0), 0u) << info.path;
        EXPECT_EQ(info.flags, 1u);
    }
}

namespace {
// A machine where no udev netlink monitor can be made (some containers).
class NoMonitorBackend : public HidrawBackend
{
protected:
    udev_monitor* CreateMonitor(udev*) override { return nullptr; }
};
} // namespace

TEST(HidrawBackend, NoMonitor_RegistrationFailsUnlessPollingWatchesTheDevices)
{
    NoMonitorBackend backend;
    std::string error;
    EXPECT_FALSE(backend.RegisterNotification(&error));
    EXPECT_EQ(error, "udev monitor unavailable");

    // A polling watcher reports arrival and removal instead: registration counts as done.
    backend.SetPollingFallback(true);
    error.clear();
    EXPECT_TRUE(backend.RegisterNotification(&error));
    EXPECT_TRUE(error.empty()) << error;
    EXPECT_EQ(backend.NotificationFd(), -1);
}

TEST(HidrawBackend, NoMonitorWithPolling_ConnectingLooksForTheProcessorWithoutAnError)
{
    for (const bool polling : {false, true}) {
        SCOPED_TRACE(polling);
        ScopedLinkUi ui;
        TraceCapture traces;
        NoMonitorBackend backend;
        backend.SetPollingFallback(polling);
        SetUsbBackend(&backend);
        const int opened = ConnectUsbDevice();
        SetUsbBackend(nullptr);
        if (opened == 1) {
            CloseUsbDevice(false); // a real processor on this machine
        }
        EXPECT_EQ(ui.Boxes().empty(), polling);
        // Only an accepted registration goes on to the enumeration.
        EXPECT_EQ(traces.Contains("开始枚举usb设备"), polling);
    }
}
