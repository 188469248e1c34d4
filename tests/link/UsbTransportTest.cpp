#include "link/UsbTransport.h"

#include "link/FakeHidBackend.h"
#include "link/LinkState.h"
#include "link/LinkTestSupport.h"
#include "link/Protocol.h"
#include "model/CmdVersion.h"
#include "model/Writer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <vector>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

constexpr uint16_t kVendor = 0x2010;
constexpr uint16_t kProduct = 0x1031;

class UsbTransportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetLinkState();
        SetUsbBackend(&bus_);
        SetUsbTimings({200ms, 100ms});
    }
    void TearDown() override
    {
        CloseUsbDevice(false);
        SetUsbBackend(nullptr);
        SetUsbTimings({});
        SetUsbWireObserver({});
        ResetLinkState();
    }
    void AddProcessor(const std::string& path = "/dev/hidraw-dsp", uint32_t flags = 1)
    {
        bus_.AddInterface({path, kVendor, kProduct, flags});
    }
    // Connects and waits until the read thread has parsed a first report, so that it sits in
    // its blocking read.
    void ConnectWithReadThreadRunning()
    {
        ASSERT_EQ(ConnectUsbDevice(), 1);
        bus_.Inject(InputReport(kCmdCurrentMode, {1}));
        ASSERT_TRUE(WaitUntil([] { return g_nCurMode == 1; }));
    }
    void AddOther(const std::string& path) { bus_.AddInterface({path, 0x046D, 0xC52B}); }

    FakeHidBackend bus_;
    ScopedLinkUi ui_;
    TraceCapture traces_;
};

std::chrono::milliseconds Since(Clock::time_point start)
{
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start);
}

} // namespace

TEST_F(UsbTransportTest, ConnectOpensTheProcessorAndBecomesTheReportSink)
{
    AddOther("/dev/hidraw0");
    AddProcessor("/dev/hidraw1");
    ASSERT_EQ(ConnectUsbDevice(), 1);
    EXPECT_EQ(g_bConnected, 1);
    EXPECT_EQ(UsbDevicePath(), "/dev/hidraw1");
    EXPECT_EQ(ConnectUsbDevice(), 0) << "already connected";

    EXPECT_TRUE(WriteParamFloat(5, 0x0F, 1.0f));
    const auto written = bus_.Written();
    ASSERT_EQ(written.size(), 1u);
    EXPECT_EQ(written[0][1], 0x09);
    EXPECT_EQ(written[0][3], 5);
    EXPECT_TRUE(traces_.Contains("连接目标设备成功!"));
    EXPECT_TRUE(traces_.Contains("设备路径:\r\n/dev/hidraw0"));

    CloseUsbDevice(false);
    EXPECT_EQ(g_bConnected, 0);
    EXPECT_EQ(UsbDevicePath(), "");
    EXPECT_FALSE(WriteParamFloat(5, 0x0F, 1.0f)) << "setters only store while closed";
    EXPECT_EQ(WriteUsbData(MakeReport(0x80)), 0);
}

TEST_F(UsbTransportTest, NoProcessorMeansNoConnection)
{
    AddOther("/dev/hidraw0");
    EXPECT_EQ(ConnectUsbDevice(), 0);
    EXPECT_EQ(g_bConnected, 0);
    EXPECT_TRUE(traces_.Contains("枚举usb设备出错,usb设备接口可能枚举完成了"));
    EXPECT_TRUE(traces_.Contains("连接目标设备失败，没有找到目标设备"));
}

TEST_F(UsbTransportTest, TwoMatchingInterfacesTheLowerIndexWins)
{
    AddProcessor("/dev/hidraw-a");
    AddProcessor("/dev/hidraw-b");
    ASSERT_EQ(ConnectUsbDevice(), 1);
    EXPECT_EQ(UsbDevicePath(), "/dev/hidraw-a");
}

TEST_F(UsbTransportTest, InterfaceWhoseFlagsAreNotExactlyOneIsSkipped)
{
    AddProcessor("/dev/hidraw-inactive", 0);
    AddProcessor("/dev/hidraw-removed", 3);
    AddProcessor("/dev/hidraw-active", 1);
    ASSERT_EQ(ConnectUsbDevice(), 1);
    EXPECT_EQ(UsbDevicePath(), "/dev/hidraw-active");
    EXPECT_EQ(bus_.Opened(), std::vector<std::string>{"/dev/hidraw-active"});
}

TEST_F(UsbTransportTest, OnlyTheFirst32InterfacesAreExamined)
{
    for (int i = 0; i < 32; ++i) {
        AddOther("/dev/hidraw" + std::to_string(i));
    }
    AddProcessor("/dev/hidraw32");
    EXPECT_EQ(ConnectUsbDevice(), 0);
    EXPECT_EQ(bus_.Opened().size(), 32u);
    EXPECT_FALSE(traces_.Contains("枚举usb设备出错,usb设备接口可能枚举完成了"));
}

TEST_F(UsbTransportTest, ProcessorAtIndex31IsFound)
{
    for (int i = 0; i < 31; ++i) {
        AddOther("/dev/hidraw" + std::to_string(i));
    }
    AddProcessor("/dev/hidraw31");
    EXPECT_EQ(ConnectUsbDevice(), 1);
}

TEST_F(UsbTransportTest, InaccessibleNodeFailsCleanlyWithTrace)
{
    bus_.AddInterface({"/dev/hidraw-locked", kVendor, kProduct, 1, true});
    AddProcessor("/dev/hidraw-ok");
    ASSERT_EQ(ConnectUsbDevice(), 1);
    EXPECT_EQ(UsbDevicePath(), "/dev/hidraw-ok");
    EXPECT_TRUE(traces_.Contains("无法打开通信端口。不能读取设备信息!(设备连接可能不正确?)\n"));
    EXPECT_TRUE(traces_.Contains("/dev/hidraw-locked: permission denied"));
}

TEST_F(UsbTransportTest, FailedNotificationRegistrationShowsTheBox)
{
    AddProcessor();
    bus_.registrationFails = true;
    EXPECT_EQ(ConnectUsbDevice(), 0);
    const auto boxes = ui_.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text.rfind("Can't register device notification: ", 0), 0u);
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(boxes[0].icon, LinkBoxIcon::Warning);
    EXPECT_TRUE(traces_.Contains("注册Guid错误，可能不能捕捉设备的连接或移除\n"));
}

TEST_F(UsbTransportTest, FirstWriteGoesOutAtOnce)
{
    SetUsbTimings({3000ms, 100ms});
    bus_.SetAnswering(false);
    AddProcessor();
    ASSERT_EQ(ConnectUsbDevice(), 1);
    const auto start = Clock::now();
    EXPECT_EQ(SendCommand({0x80, -1}), 61);
    EXPECT_LT(Since(start), 1500ms);
}

TEST_F(UsbTransportTest, AnsweredWriteReleasesTheNext)
{
    SetUsbTimings({3000ms, 100ms});
    AddProcessor();
    ASSERT_EQ(ConnectUsbDevice(), 1);
    const auto start = Clock::now();
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(SendCommand({0x80, -1}), 61);
    }
    EXPECT_LT(Since(start), 1500ms);
}

TEST_F(UsbTransportTest, SilentProcessorWriteWaitsForPacingTimeout)
{
    SetUsbTimings({150ms, 100ms});
    bus_.SetAnswering(false);
    AddProcessor();
    ASSERT_EQ(ConnectUsbDevice(), 1);
    EXPECT_EQ(SendCommand({0x80, -1}), 61);
    const auto start = Clock::now();
    EXPECT_EQ(SendCommand({0x7F, -1}), 61);
    EXPECT_GE(Since(start), 140ms);
    EXPECT_EQ(bus_.Written().size(), 2u) << "the write goes out after the wait";
}

TEST_F(UsbTransportTest, ReadErrorStopsTheReadThreadAndRefusesWrites)
{
    SetUsbTimings({5000ms, 100ms});
    bus_.SetAnswering(false);
    AddProcessor();
    ASSERT_EQ(ConnectUsbDevice(), 1);
    EXPECT_EQ(SendCommand({0x80, -1}), 61);
    // A writer waiting for the answer is released when the read thread dies.
    std::thread writer([] { SendCommand({0x7F, -1}); });
    std::this_thread::sleep_for(20ms);
    const auto start = Clock::now();
    bus_.FailReads();
    writer.join();
    EXPECT_LT(Since(start), 2500ms);
    ASSERT_TRUE(WaitUntil([] { return g_bReadThreadEnd == 1; }));
    EXPECT_EQ(g_bConnected, 1) << "the link stays marked open until closed";
    EXPECT_EQ(g_bMeterEnable, 0);
    EXPECT_TRUE(traces_.Contains("Read Usb Error will return !\n"));

    const size_t before = bus_.Written().size();
    EXPECT_EQ(SendCommand({0x81, -1}), 0);
    EXPECT_TRUE(traces_.Contains("g_bReadThreadEnd == TRUE ,WriteUsbData return \n"));
    EXPECT_EQ(bus_.Written().size(), before);

    const auto closeStart = Clock::now();
    CloseUsbDevice(true);
    EXPECT_LT(Since(closeStart), 90ms) << "the read thread has already gone";
    EXPECT_FALSE(traces_.Contains("wait read thread exited time out !\n"));
}

TEST_F(UsbTransportTest, CloseWithNoReportArrivingEndsAfterTheWait)
{
    bus_.SetAnswering(false);
    AddProcessor();
    ConnectWithReadThreadRunning();
    const auto start = Clock::now();
    CloseUsbDevice(false);
    EXPECT_GE(Since(start), 95ms);
    EXPECT_TRUE(traces_.Contains("wait read thread exited time out !\n"));
    EXPECT_EQ(g_bConnected, 0);
}

TEST_F(UsbTransportTest, ReportArrivingDuringCloseEndsTheWaitEarly)
{
    SetUsbTimings({200ms, 3000ms});
    bus_.SetAnswering(false);
    AddProcessor();
    ConnectWithReadThreadRunning();
    std::thread late([this] {
        std::this_thread::sleep_for(30ms);
        bus_.Inject(InputReport(kCmdCurrentMode, {2}));
    });
    const auto start = Clock::now();
    CloseUsbDevice(false);
    late.join();
    EXPECT_LT(Since(start), 1500ms);
    EXPECT_FALSE(traces_.Contains("wait read thread exited time out !\n"));
    EXPECT_EQ(g_nCurMode, 2) << "the report that ended the wait was still parsed";
}

TEST_F(UsbTransportTest, FarewellIsTheLastReportSent)
{
    AddProcessor();
    ASSERT_EQ(ConnectUsbDevice(), 1);
    g_StatusBlock.Set(3, 9);
    SendCommand({0x0E, -1});
    CloseUsbDevice(true);
    const auto written = bus_.Written();
    ASSERT_EQ(written.size(), 2u);
    EXPECT_EQ(written.back(), InputReport(kCmdFarewell));
    EXPECT_EQ(g_StatusBlock.Get(3), 0) << "closing clears the status block";
}

TEST_F(UsbTransportTest, ReportsAreParsedOnTheReadThread)
{
    AddProcessor();
    ASSERT_EQ(ConnectUsbDevice(), 1);
    bus_.Inject(InputReport(kCmdCmdVersion, {0x15}));
    Report model = MakeReport(kCmdModel);
    model[2] = 'K';
    model[3] = 'W';
    bus_.Inject(model);
    EXPECT_TRUE(WaitUntil([] { return g_szModel.Get() == u"KW"; }));
    EXPECT_EQ(g_nCmdVersion, 0x15);
}

TEST_F(UsbTransportTest, WireObserverSeesBothDirections)
{
    std::mutex mutex;
    std::vector<std::pair<char, Report>> seen;
    SetUsbWireObserver([&](char direction, const Report& r) {
        std::lock_guard lock(mutex);
        seen.emplace_back(direction, r);
    });
    AddProcessor();
    ASSERT_EQ(ConnectUsbDevice(), 1);
    SendCommand({0x80, -1});
    ASSERT_TRUE(WaitUntil([&] {
        std::lock_guard lock(mutex);
        return seen.size() == 2;
    }));
    std::lock_guard lock(mutex);
    EXPECT_EQ(seen[0].first, '>');
    EXPECT_EQ(seen[0].second, InputReport(0x80));
    EXPECT_EQ(seen[1].first, '<');
    EXPECT_EQ(seen[1].second[1], 0x80);
}

TEST_F(UsbTransportTest, ConcurrentWritersEachSendWholeReports)
{
    AddProcessor();
    ASSERT_EQ(ConnectUsbDevice(), 1);
    std::vector<std::thread> writers;
    for (int w = 0; w < 3; ++w) {
        writers.emplace_back([w] {
            for (int i = 0; i < 40; ++i) {
                Report r = MakeReport(0x09);
                std::fill(r.begin() + 2, r.end(), static_cast<uint8_t>(w * 64 + i));
                WriteUsbData(r);
            }
        });
    }
    for (auto& t : writers) {
        t.join();
    }
    const auto written = bus_.Written();
    ASSERT_EQ(written.size(), 120u);
    for (const Report& r : written) {
        for (size_t i = 3; i < r.size(); ++i) {
            ASSERT_EQ(r[i], r[2]) << "a report was mixed with another";
        }
    }
}
