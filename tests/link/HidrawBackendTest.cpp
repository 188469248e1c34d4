#include "link/HidrawBackend.h"

#include "LinkTestSupport.h"
#include "link/UsbTransport.h"

#include <gtest/gtest.h>

#include <chrono>
#include <fcntl.h>
#include <grp.h>
#include <string>
#include <sys/socket.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>
#include <utility>

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

TEST(HidrawBackend, HidIdPropertyGivesVendorAndProduct)
{
    struct Case
    {
        const char* text;
        bool ok;
        uint16_t vendor;
        uint16_t product;
    };
    const Case cases[] = {
        {"0003:00002010:00001031", true, 0x2010, 0x1031},
        {"0005:0000046D:0000B01A", true, 0x046D, 0xB01A},
        {"3:2010:1031", true, 0x2010, 0x1031},
        {"0003:00012010:00001031", false, 0, 0}, // vendor beyond 16 bits
        {"0003:00002010", false, 0, 0},
        {"0003:00002010:00001031:7", false, 0, 0},
        {"0003::00001031", false, 0, 0},
        {"0003:-2010:00001031", false, 0, 0},
        {"0003:000000002010:1031", false, 0, 0},
        {"", false, 0, 0},
        {nullptr, false, 0, 0},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text != nullptr ? c.text : "(null)");
        uint16_t vendor = 0;
        uint16_t product = 0;
        EXPECT_EQ(ParseHidId(c.text, &vendor, &product), c.ok);
        EXPECT_EQ(vendor, c.vendor);
        EXPECT_EQ(product, c.product);
    }
}

// Opens path as the ordinary user nobody (root opens every node) in a child process. The
// child's exit status: 0 opened, 1 refused for lack of permission, 2 refused otherwise,
// 3 the privileges could not be dropped.
int OpenAsNobody(const std::string& path, std::string* error)
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0) {
        return -1;
    }
    const pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeFds[0]);
        if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0) {
            ::_exit(3);
        }
        HidrawBackend backend;
        std::string text;
        bool denied = false;
        auto device = backend.OpenChecked(path, &text, &denied);
        const ssize_t written = ::write(pipeFds[1], text.data(), text.size());
        (void)written;
        ::_exit(device ? 0 : denied ? 1 : 2);
    }
    ::close(pipeFds[1]);
    char buffer[512];
    ssize_t n = 0;
    while ((n = ::read(pipeFds[0], buffer, sizeof buffer)) > 0) {
        error->append(buffer, static_cast<size_t>(n));
    }
    ::close(pipeFds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

TEST(HidrawBackend, NodeWithoutPermissionIsRefusedAsAnAccessProblem)
{
    char dirTemplate[] = "/tmp/dsp4620-hidraw-XXXXXX";
    ASSERT_NE(::mkdtemp(dirTemplate), nullptr);
    const std::string dir = dirTemplate;
    ASSERT_EQ(::chmod(dir.c_str(), 0755), 0);
    const std::string closed = dir + "/hidraw-closed";
    const std::string open = dir + "/hidraw-open";
    for (const auto& [path, mode] : {std::pair{closed, 0600}, std::pair{open, 0666}}) {
        const int fd = ::open(path.c_str(), O_CREAT | O_WRONLY | O_CLOEXEC, 0600);
        ASSERT_GE(fd, 0);
        ::close(fd);
        ASSERT_EQ(::chmod(path.c_str(), static_cast<mode_t>(mode)), 0);
    }

    std::string error;
    EXPECT_EQ(OpenAsNobody(closed, &error), 1) << error;
    EXPECT_NE(error.find(closed + ": Permission denied"), std::string::npos) << error;
    EXPECT_NE(error.find("udev rule"), std::string::npos) << error;

    error.clear();
    EXPECT_EQ(OpenAsNobody(open, &error), 0) << error;
    error.clear();
    EXPECT_EQ(OpenAsNobody(dir + "/missing", &error), 2) << "a missing node is no access problem";

    ::unlink(closed.c_str());
    ::unlink(open.c_str());
    ::rmdir(dir.c_str());
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
