#include "link/UsbTransport.h"

#include "link/LinkState.h"
#include "link/LinkTestSupport.h"
#include "link/Protocol.h"
#include "link/WireTrace.h"
#include "link/emulator/EmulatedProcessor.h"
#include "link/emulator/VirtualHidBus.h"
#include "model/CmdVersion.h"
#include "model/DeviceMemory.h"
#include "model/Writer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <fstream>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;

namespace {

// The bus whose notification registration fails.
class RefusingBus : public VirtualHidBus
{
public:
    bool RegisterNotification(std::string* error) override
    {
        *error = "no device monitor";
        return false;
    }
};

EmulatorOptions Immediate()
{
    EmulatorOptions o;
    o.latency = std::chrono::milliseconds(0);
    return o;
}

// Every case runs through the transport against emulated processors on a virtual bus, the
// same code path as with the hardware.
class UsbTransportTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetLinkState();
        SetUsbBackend(&bus_);
        SetUsbTimings({200ms, 100ms});
        SetUsbWireObserver([this](char direction, const Report& report) {
            std::lock_guard lock(wireMutex_);
            wire_.emplace_back(direction, report);
        });
    }
    void TearDown() override
    {
        CloseUsbDevice(false);
        SetUsbBackend(nullptr);
        SetUsbTimings({});
        SetUsbWireObserver({});
        ResetLinkState();
        ResetDeviceMemoryToStartup();
    }
    std::shared_ptr<EmulatedProcessor> AddProcessor(const std::string& path = "/dev/hidraw-dsp",
                                                    uint32_t flags = 1)
    {
        std::string error;
        auto processor = EmulatedProcessor::Create(Immediate(), &error);
        EXPECT_TRUE(bus_.AddInterface({path, flags, 0x2010, 0x1031, processor, ""}));
        return processor;
    }
    // Another HID device: it takes writes and never reports.
    void AddOther(const std::string& path)
    {
        EXPECT_TRUE(bus_.AddInterface({path, 1, 0x046D, 0xC52B, nullptr, ""}));
    }
    // Connects and waits until the read thread has parsed a first answer, so that it sits in
    // its blocking read.
    void ConnectWithReadThreadRunning()
    {
        ASSERT_EQ(ConnectUsbDevice(), 1);
        ASSERT_EQ(SendCommand({kCmdCmdVersion, -1}), 61);
        ASSERT_TRUE(WaitUntil([] { return g_nCmdVersion == 0x15; }));
    }

    // Every report the transport sent ('>') or received ('<'), in order.
    std::vector<std::pair<char, Report>> Wire()
    {
        std::lock_guard lock(wireMutex_);
        return wire_;
    }
    std::vector<Report> Sent()
    {
        std::vector<Report> out;
        for (const auto& [direction, report] : Wire()) {
            if (direction == '>') {
                out.push_back(report);
            }
        }
        return out;
    }
    size_t TraceCount(const std::string& text)
    {
        size_t n = 0;
        for (const std::string& t : traces_.Texts()) {
            n += t == text ? 1 : 0;
        }
        return n;
    }

    std::mutex wireMutex_;
    std::vector<std::pair<char, Report>> wire_;
    VirtualHidBus bus_;
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
    auto processor = AddProcessor("/dev/hidraw1");
    ASSERT_EQ(ConnectUsbDevice(), 1);
    EXPECT_EQ(g_bConnected, 1);
    EXPECT_EQ(UsbDevicePath(), "/dev/hidraw1");
    EXPECT_EQ(ConnectUsbDevice(), 0) << "already connected";
    EXPECT_TRUE(traces_.Contains("设备路径:\r\n/dev/hidraw0"));
    EXPECT_TRUE(traces_.Contains("连接目标设备成功!"));

    EXPECT_TRUE(WriteParamFloat(5, 0x0F, 1.0f)) << "setters write through the transport";
    EXPECT_TRUE(WaitUntil([&] { return g_bParamChanged == 1; })) << "answer 0x09 was parsed";
    EXPECT_EQ(processor->RequestCount(0x09), 1u);

    CloseUsbDevice(false);
    EXPECT_EQ(g_bConnected, 0);
    EXPECT_EQ(UsbDevicePath(), "");
    EXPECT_FALSE(WriteParamFloat(5, 0x0F, 1.0f)) << "setters only store while closed";
    EXPECT_EQ(WriteUsbData(MakeReport(0x80)), 0);
    EXPECT_EQ(processor->RequestCount(0x09), 1u);
}

TEST_F(UsbTransportTest, IdentificationAnswersLandInTheLinkState)
{
    AddProcessor();
    ASSERT_EQ(ConnectUsbDevice(), 1);
    SendCommand({kCmdModel, -1});
    SendCommand({kCmdCmdVersion, -1});
    SendCommand({kCmdMcuVersion, -1});
    SendCommand({kCmdReadModeName, 0x0F, 0x40, 0x28, -1});
    EXPECT_TRUE(WaitUntil([] { return g_szMcuVer.Get() == u"2013-05-20"; }));
    EXPECT_EQ(g_szModel.Get(), u"KW4620M");
    EXPECT_EQ(g_nCmdVersion, 0x15);
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
    auto first = AddProcessor("/dev/hidraw-a");
    auto second = AddProcessor("/dev/hidraw-b");
    ASSERT_EQ(ConnectUsbDevice(), 1);
    EXPECT_EQ(UsbDevicePath(), "/dev/hidraw-a");
    SendCommand({kCmdModel, -1});
    EXPECT_TRUE(WaitUntil([] { return g_szModel.Get() == u"KW4620M"; }));
    EXPECT_EQ(first->RequestCount(kCmdModel), 1u);
    EXPECT_EQ(second->RequestCount(kCmdModel), 0u);
}

TEST_F(UsbTransportTest, InterfaceWhoseFlagsAreNotExactlyOneIsSkipped)
{
    AddProcessor("/dev/hidraw-inactive", 0);
    AddProcessor("/dev/hidraw-removed", 3);
    AddProcessor("/dev/hidraw-active", 1);
    ASSERT_EQ(ConnectUsbDevice(), 1);
    EXPECT_EQ(UsbDevicePath(), "/dev/hidraw-active");
    EXPECT_EQ(TraceCount("尝试打开通信端口...."), 1u) << "skipped interfaces are not opened";
    EXPECT_EQ(TraceCount("枚举usb设备成功"), 3u);
}

TEST_F(UsbTransportTest, OnlyTheFirst32InterfacesAreExamined)
{
    for (int i = 0; i < 32; ++i) {
        AddOther("/dev/hidraw" + std::to_string(i));
    }
    AddProcessor("/dev/hidraw32");
    EXPECT_EQ(ConnectUsbDevice(), 0);
    EXPECT_EQ(TraceCount("尝试打开通信端口...."), 32u);
    EXPECT_FALSE(traces_.Contains("枚举usb设备出错,usb设备接口可能枚举完成了"));
    EXPECT_TRUE(traces_.Contains("连接目标设备失败，没有找到目标设备"));
}

TEST_F(UsbTransportTest, ProcessorAtIndex31IsFound)
{
    for (int i = 0; i < 31; ++i) {
        AddOther("/dev/hidraw" + std::to_string(i));
    }
    AddProcessor("/dev/hidraw31");
    EXPECT_EQ(ConnectUsbDevice(), 1);
    EXPECT_EQ(UsbDevicePath(), "/dev/hidraw31");
}

TEST_F(UsbTransportTest, InaccessibleNodeFailsCleanlyWithTrace)
{
    std::string error;
    ASSERT_TRUE(bus_.AddInterface({"/dev/hidraw-locked", 1, 0x2010, 0x1031,
                                   EmulatedProcessor::Create(Immediate(), &error),
                                   "/dev/hidraw-locked: Permission denied"}));
    AddProcessor("/dev/hidraw-ok");
    ASSERT_EQ(ConnectUsbDevice(), 1);
    EXPECT_EQ(UsbDevicePath(), "/dev/hidraw-ok");
    EXPECT_TRUE(traces_.Contains("无法打开通信端口。不能读取设备信息!(设备连接可能不正确?)\n"));
    EXPECT_TRUE(traces_.Contains("/dev/hidraw-locked: Permission denied"));
}

// Nodes the system refuses to open: only one that the system lists with the processor's
// identifiers is reported as the processor lacking permission.
TEST_F(UsbTransportTest, ProcessorNodeWithoutPermissionIsReportedByPath)
{
    struct Case
    {
        const char* name;
        uint16_t vendor;
        uint16_t product;
        bool denied;      // the system refuses access (EACCES)
        std::string text; // any other open failure
        bool reported;
    };
    const Case cases[] = {
        {"processor, no permission", 0x2010, 0x1031, true, "", true},
        {"other device, no permission", 0x046D, 0xC52B, true, "", false},
        {"same vendor, other product", 0x2010, 0x1032, true, "", false},
        {"other vendor, same product", 0x2011, 0x1031, true, "", false},
        {"processor, other failure", 0x2010, 0x1031, false, "/dev/hidraw-x: I/O error", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        VirtualHidBus bus;
        SetUsbBackend(&bus);
        std::string error;
        VirtualInterface iface{
            "/dev/hidraw7", 1, c.vendor, c.product, EmulatedProcessor::Create(Immediate(), &error),
            c.text};
        iface.accessDenied = c.denied;
        ASSERT_TRUE(bus.AddInterface(iface));
        EXPECT_EQ(ConnectUsbDevice(), 0);
        EXPECT_EQ(g_bConnected, 0);
        EXPECT_EQ(UsbAccessDeniedPath(), c.reported ? "/dev/hidraw7" : "");
        SetUsbBackend(&bus_);
    }
}

// A backend that cannot list identifiers without opening: a refused node may be any device.
class BusWithoutListedIds : public VirtualHidBus
{
public:
    std::vector<HidInterfaceInfo> Enumerate() override
    {
        std::vector<HidInterfaceInfo> list = VirtualHidBus::Enumerate();
        for (HidInterfaceInfo& info : list) {
            info.idsKnown = false;
        }
        return list;
    }
};

TEST_F(UsbTransportTest, RefusedNodeOfUnknownIdentityIsNotCalledTheProcessor)
{
    BusWithoutListedIds bus;
    SetUsbBackend(&bus);
    std::string error;
    VirtualInterface iface{
        "/dev/hidraw2", 1, 0x2010, 0x1031, EmulatedProcessor::Create(Immediate(), &error), ""};
    iface.accessDenied = true;
    ASSERT_TRUE(bus.AddInterface(iface));
    EXPECT_EQ(ConnectUsbDevice(), 0);
    EXPECT_EQ(UsbAccessDeniedPath(), "");
    SetUsbBackend(&bus_);
}

TEST_F(UsbTransportTest, AccessProblemIsForgottenAtTheNextAttempt)
{
    std::string error;
    VirtualInterface locked{
        "/dev/hidraw3", 1, 0x2010, 0x1031, EmulatedProcessor::Create(Immediate(), &error), ""};
    locked.accessDenied = true;
    ASSERT_TRUE(bus_.AddInterface(locked));
    EXPECT_EQ(ConnectUsbDevice(), 0);
    EXPECT_EQ(UsbAccessDeniedPath(), "/dev/hidraw3");
    EXPECT_TRUE(traces_.Contains("/dev/hidraw3: Permission denied"));
    // The user fixed it (rule installed, processor replugged).
    ASSERT_TRUE(bus_.Unplug("/dev/hidraw3"));
    EXPECT_EQ(ConnectUsbDevice(), 0);
    EXPECT_EQ(UsbAccessDeniedPath(), "");
    AddProcessor("/dev/hidraw4");
    EXPECT_EQ(ConnectUsbDevice(), 1);
    EXPECT_EQ(UsbDevicePath(), "/dev/hidraw4");
}

TEST_F(UsbTransportTest, FailedNotificationRegistrationShowsTheBox)
{
    RefusingBus refusing;
    std::string error;
    refusing.AddInterface(
        {"/dev/hidraw-dsp", 1, 0x2010, 0x1031, EmulatedProcessor::Create(Immediate(), &error), ""});
    SetUsbBackend(&refusing);
    EXPECT_EQ(ConnectUsbDevice(), 0);
    SetUsbBackend(&bus_);
    const auto boxes = ui_.Boxes();
    ASSERT_EQ(boxes.size(), 1u);
    EXPECT_EQ(boxes[0].text, "Can't register device notification: no device monitor");
    EXPECT_EQ(boxes[0].caption, "Error");
    EXPECT_EQ(boxes[0].icon, LinkBoxIcon::Warning);
    EXPECT_TRUE(traces_.Contains("注册Guid错误，可能不能捕捉设备的连接或移除\n"));
}

TEST_F(UsbTransportTest, FirstWriteGoesOutAtOnce)
{
    SetUsbTimings({3000ms, 100ms});
    AddProcessor()->SetSilent(true);
    ASSERT_EQ(ConnectUsbDevice(), 1);
    const auto start = Clock::now();
    EXPECT_EQ(SendCommand({kCmdModel, -1}), 61);
    EXPECT_LT(Since(start), 1500ms);
}

TEST_F(UsbTransportTest, AnsweredWritesDoNotWait)
{
    SetUsbTimings({3000ms, 100ms});
    AddProcessor();
    ASSERT_EQ(ConnectUsbDevice(), 1);
    const auto start = Clock::now();
    for (int i = 0; i < 5; ++i) {
        EXPECT_EQ(SendCommand({kCmdModel, -1}), 61);
    }
    EXPECT_LT(Since(start), 1500ms);
}

TEST_F(UsbTransportTest, SilentProcessorWriteWaitsForPacingTimeout)
{
    SetUsbTimings({150ms, 100ms});
    auto processor = AddProcessor();
    processor->SetSilent(true);
    ASSERT_EQ(ConnectUsbDevice(), 1);
    EXPECT_EQ(SendCommand({kCmdModel, -1}), 61);
    const auto start = Clock::now();
    EXPECT_EQ(SendCommand({kCmdCmdVersion, -1}), 61);
    EXPECT_GE(Since(start), 140ms);
    EXPECT_TRUE(WaitUntil([&] { return processor->TotalRequests() == 2; }))
        << "the write goes out after the wait";
}

TEST_F(UsbTransportTest, ReadErrorStopsTheReadThreadAndRefusesWrites)
{
    SetUsbTimings({5000ms, 100ms});
    auto processor = AddProcessor("/dev/hidraw-dsp");
    processor->SetSilent(true);
    ASSERT_EQ(ConnectUsbDevice(), 1);
    EXPECT_EQ(SendCommand({kCmdModel, -1}), 61);
    // A writer waiting for the answer is released when the read thread dies.
    std::thread writer([] { SendCommand({kCmdCmdVersion, -1}); });
    std::this_thread::sleep_for(20ms);
    const auto start = Clock::now();
    ASSERT_TRUE(bus_.FailReadsAfter("/dev/hidraw-dsp", 0));
    writer.join();
    EXPECT_LT(Since(start), 2500ms);
    ASSERT_TRUE(WaitUntil([] { return g_bReadThreadEnd == 1; }));
    EXPECT_EQ(g_bConnected, 1) << "the link stays marked open until closed";
    EXPECT_EQ(g_bMeterEnable, 0);
    EXPECT_TRUE(traces_.Contains("Read Usb Error will return !\n"));

    const uint64_t before = processor->TotalRequests();
    const auto refusedStart = Clock::now();
    EXPECT_EQ(SendCommand({kCmdMcuVersion, -1}), 0);
    EXPECT_LT(Since(refusedStart), 2500ms) << "refused at once, not after the pacing wait";
    EXPECT_TRUE(traces_.Contains("g_bReadThreadEnd == TRUE ,WriteUsbData return \n"));
    EXPECT_EQ(processor->TotalRequests(), before);

    CloseUsbDevice(true);
    EXPECT_FALSE(traces_.Contains("wait read thread exited time out !\n"))
        << "the read thread had already gone";
    EXPECT_EQ(g_bConnected, 0);
}

TEST_F(UsbTransportTest, ReconnectAfterAReadErrorWorksAgain)
{
    AddProcessor("/dev/hidraw-dsp");
    ASSERT_EQ(ConnectUsbDevice(), 1);
    ASSERT_TRUE(bus_.FailReadsAfter("/dev/hidraw-dsp", 0));
    ASSERT_TRUE(WaitUntil([] { return g_bReadThreadEnd == 1; }));
    CloseUsbDevice(false);
    ASSERT_EQ(ConnectUsbDevice(), 1);
    EXPECT_EQ(SendCommand({kCmdModel, -1}), 61) << "the new link accepts writes at once";
    EXPECT_TRUE(WaitUntil([] { return g_szModel.Get() == u"KW4620M"; }));
}

TEST_F(UsbTransportTest, CloseWithNoReportArrivingEndsAfterTheWait)
{
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
    auto processor = AddProcessor();
    ConnectWithReadThreadRunning();
    std::thread late([&] {
        std::this_thread::sleep_for(30ms);
        processor->PanelChange(5, 0x0F); // unprompted change report 0x14
    });
    const auto start = Clock::now();
    CloseUsbDevice(false);
    late.join();
    EXPECT_LT(Since(start), 1500ms);
    EXPECT_FALSE(traces_.Contains("wait read thread exited time out !\n"));
    EXPECT_EQ(g_bParamChanged, 1) << "the report that ended the wait was still parsed";
}

TEST_F(UsbTransportTest, FarewellIsTheLastReportSent)
{
    auto processor = AddProcessor();
    ASSERT_EQ(ConnectUsbDevice(), 1);
    SendCommand({kCmdStatus, -1});
    ASSERT_TRUE(WaitUntil([] { return g_StatusBlock.Get(14) != 0 || g_StatusBlock.Get(0) != 0; }));
    CloseUsbDevice(true);
    const auto sent = Sent();
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent.back(), InputReport(kCmdFarewell));
    EXPECT_TRUE(WaitUntil([&] { return processor->RequestCount(kCmdFarewell) == 1; }));
    EXPECT_EQ(g_StatusBlock.Snapshot(), (std::array<uint8_t, 15>{}))
        << "closing clears the status block";
}

TEST_F(UsbTransportTest, WireObserverSeesBothDirections)
{
    AddProcessor();
    ASSERT_EQ(ConnectUsbDevice(), 1);
    SendCommand({kCmdModel, -1});
    ASSERT_TRUE(WaitUntil([&] { return Wire().size() == 2; }));
    const auto wire = Wire();
    EXPECT_EQ(wire[0].first, '>');
    EXPECT_EQ(wire[0].second, InputReport(kCmdModel));
    EXPECT_EQ(wire[1].first, '<');
    EXPECT_EQ(wire[1].second[1], kCmdModel);
}

TEST_F(UsbTransportTest, ConcurrentWritersEachSendWholeReports)
{
    auto processor = AddProcessor();
    ASSERT_EQ(ConnectUsbDevice(), 1);
    std::vector<std::thread> writers;
    for (int w = 0; w < 3; ++w) {
        writers.emplace_back([w] {
            for (int i = 0; i < 40; ++i) {
                // Writes of block 5 parameter 14 with a recognisable value per writer.
                EXPECT_TRUE(WriteParamFloat(5, 14, static_cast<float>(w * 100 + i)));
            }
        });
    }
    for (auto& t : writers) {
        t.join();
    }
    EXPECT_TRUE(WaitUntil([&] { return processor->RequestCount(0x09) == 120; }));
    for (const Report& r : Sent()) {
        EXPECT_EQ(r[1], 0x09);
        EXPECT_EQ(r[3], 5);
        EXPECT_EQ(r[4], 14);
    }
    EXPECT_FALSE(traces_.Contains("usb数据写入出错"));
}

TEST_F(UsbTransportTest, CapturedWireTraceReplaysIntoTheSameLinkState)
{
    const std::string path =
        testing::TempDir() + "link_replay_" + std::to_string(getpid()) + ".trace";
    WireTraceWriter writer;
    ASSERT_TRUE(writer.Open(path, nullptr));
    SetUsbWireObserver(writer.Observer());
    AddProcessor();
    ASSERT_EQ(ConnectUsbDevice(), 1);
    const std::vector<std::vector<int>> identification = {
        {kCmdModel, -1},
        {kCmdCmdVersion, -1},
        {kCmdCurrentMode, -1},
        {kCmdReadModeName, 0x0F, 0x00, 0x28, -1},
        {kCmdReadModeName, 0x0F, 0xC0, 0x28, -1},
        {kCmdDspVersion, -1},
        {kCmdReadMachineSettings, -1},
        {kCmdReadRemoteTable, -1},
        {kCmdReadBlock, 0x03, 0xC5, 0x20, -1}, // Block965
        {kCmdMcuVersion, -1},                  // last, so its effect shows all have arrived
    };
    for (const auto& command : identification) {
        ASSERT_EQ(SendCommand(command), 61);
    }
    ASSERT_TRUE(WaitUntil([] { return g_szMcuVer.Get() == u"2013-05-20"; }));
    CloseUsbDevice(false);
    SetUsbWireObserver({});
    writer.Close();

    const auto model = g_szModel.Get();
    const auto dsp = g_szDspVer.Get();
    const auto name1 = g_szModeName[0].Get();
    const auto name4 = g_szModeName[3].Get();
    const auto settings = g_MachineSettings.Snapshot();
    const auto remote = g_RemoteTable.Snapshot();
    const auto levels = Block965.Snapshot();
    EXPECT_EQ(model, u"KW4620M");

    ResetLinkState();
    Block965.Fill(0);
    std::ifstream in(path);
    std::string line;
    size_t sent = 0;
    size_t received = 0;
    while (std::getline(in, line)) {
        const auto entry = ParseWireTraceLine(line);
        ASSERT_TRUE(entry.has_value()) << line;
        if (entry->direction == '<') {
            ParseInputReport(entry->report);
            ++received;
        } else {
            ++sent;
        }
    }
    std::remove(path.c_str());
    EXPECT_EQ(sent, identification.size());
    EXPECT_EQ(received, identification.size());
    EXPECT_EQ(g_szModel.Get(), model);
    EXPECT_EQ(g_nCmdVersion, 0x15);
    EXPECT_EQ(g_szDspVer.Get(), dsp);
    EXPECT_EQ(g_szMcuVer.Get(), u"2013-05-20");
    EXPECT_EQ(g_szModeName[0].Get(), name1);
    EXPECT_EQ(g_szModeName[3].Get(), name4);
    EXPECT_EQ(g_MachineSettings.Snapshot(), settings);
    EXPECT_EQ(g_RemoteTable.Snapshot(), remote);
    EXPECT_EQ(Block965.Snapshot(), levels);
}
