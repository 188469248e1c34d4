#include "link/UsbTransport.h"

#include "link/LinkState.h"
#include "link/LinkTrace.h"
#include "link/LinkUi.h"
#include "link/Protocol.h"
#include "link/SyncEvent.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>

std::atomic<int> g_bConnected{0};
std::atomic<int> g_bReadThreadEnd{0};

namespace {

constexpr size_t kMaxDevicePath = 259;

// While connected, every setter of the model writes through the transport.
class UsbReportSink : public ReportSink
{
public:
    bool Send(const Report& report) override
    {
        return WriteUsbData(report) == static_cast<int>(kReportSize);
    }
};

// Owns the read thread; a thread still running at exit is let go rather than aborting.
class ReadThread
{
public:
    ~ReadThread()
    {
        if (thread_.joinable()) {
            thread_.detach();
        }
    }
    void Start()
    {
        done_.Reset();
        thread_ = std::thread([this] {
            ReadUsbThreadProc();
            done_.Set();
        });
    }
    // Joins when the thread ends within the timeout; otherwise (it is held up by a box or a
    // message handler) lets it finish on its own.
    bool Finish(std::chrono::milliseconds timeout)
    {
        if (!thread_.joinable()) {
            return true;
        }
        if (done_.Wait(timeout)) {
            thread_.join();
            return true;
        }
        thread_.detach();
        return false;
    }

private:
    std::thread thread_;
    SyncEvent done_{false, true};
};

struct Transport
{
    std::atomic<HidBackend*> backend{nullptr};
    std::atomic<int64_t> pacingMs{1800};
    std::atomic<int64_t> closeWaitMs{1000};

    std::mutex lifecycleMutex; // connect and close
    std::mutex deviceMutex;    // the device pointer and path
    std::shared_ptr<HidDevice> device;
    std::string devicePath;
    std::string deniedPath; // under deviceMutex

    SyncEvent replyEvent{true, true};
    SyncEvent readExitEvent{true, false};
    std::mutex writeLock;
    ReadThread readThread;
    UsbReportSink sink;

    std::mutex observerMutex;
    UsbWireObserver observer;

    std::shared_ptr<HidDevice> Device()
    {
        std::lock_guard lock(deviceMutex);
        return device;
    }

    void Observe(char direction, const Report& report)
    {
        std::lock_guard lock(observerMutex);
        if (observer) {
            observer(direction, report);
        }
    }
};

Transport& T()
{
    static Transport transport;
    return transport;
}

// One interface: its path, open, identifiers. The device when it is the processor.
std::unique_ptr<HidDevice> OpenInterface(HidBackend& backend, const HidInterfaceInfo& info,
                                         std::string* path, bool* accessDenied)
{
    *accessDenied = false;
    if (info.path.empty()) {
        LinkTrace("查找设备路径时出错!");
        return nullptr;
    }
    LinkTraceF("设备路径:\r\n%s", info.path.c_str());
    LinkTrace("尝试打开通信端口....");
    std::string error;
    std::unique_ptr<HidDevice> device = backend.OpenChecked(info.path, &error, accessDenied);
    if (!device) {
        LinkTrace("无法打开通信端口。不能读取设备信息!(设备连接可能不正确?)\n");
        if (!error.empty()) {
            LinkTrace(error);
        }
        return nullptr;
    }
    LinkTrace("打开通信端口成功!\n");
    LinkTrace("正在读取设备的标识...\n");
    uint16_t vendor = 0;
    uint16_t product = 0;
    if (!device->GetAttributes(&vendor, &product)) {
        LinkTrace("查询设备信息出错!\n");
        device->Close();
        return nullptr;
    }
    if (vendor != kMatchVendorId || product != kMatchProductId) {
        device->Close();
        return nullptr;
    }
    *path = info.path.substr(0, kMaxDevicePath);
    return device;
}

} // namespace

void SetUsbBackend(HidBackend* backend)
{
    T().backend.store(backend);
}

HidBackend* CurrentUsbBackend()
{
    return T().backend.load();
}

void SetUsbTimings(const UsbTimings& timings)
{
    T().pacingMs.store(timings.pacing.count());
    T().closeWaitMs.store(timings.closeWait.count());
}

UsbTimings CurrentUsbTimings()
{
    return UsbTimings{std::chrono::milliseconds(T().pacingMs.load()),
                      std::chrono::milliseconds(T().closeWaitMs.load())};
}

int ConnectUsbDevice()
{
    Transport& t = T();
    std::lock_guard life(t.lifecycleMutex);
    if (g_bConnected == 1) {
        return 0;
    }
    t.replyEvent.Set();
    t.readExitEvent.Reset();

    {
        std::lock_guard lock(t.deviceMutex);
        t.deniedPath.clear();
    }
    HidBackend* backend = t.backend.load();
    if (backend == nullptr) {
        LinkTrace("获取Hid设备信息失败");
        return 0;
    }
    // Asked at every attempt; a backend keeps one registration for the whole run.
    std::string error;
    if (!backend->RegisterNotification(&error)) {
        LinkMessageBox("Can't register device notification: " + error, "Error",
                       LinkBoxIcon::Warning);
        LinkTrace("注册Guid错误，可能不能捕捉设备的连接或移除\n");
        return 0;
    }
    const std::vector<HidInterfaceInfo> interfaces = backend->Enumerate();

    LinkTrace("开始枚举usb设备");
    std::unique_ptr<HidDevice> found;
    std::string path;
    for (int index = 0; index < kMaxInterfaceIndex; ++index) {
        if (static_cast<size_t>(index) >= interfaces.size()) {
            LinkTrace("枚举usb设备出错,usb设备接口可能枚举完成了");
            break;
        }
        LinkTrace("枚举usb设备成功");
        const HidInterfaceInfo& info = interfaces[static_cast<size_t>(index)];
        if (info.flags != 1) {
            continue;
        }
        bool accessDenied = false;
        found = OpenInterface(*backend, info, &path, &accessDenied);
        if (found) {
            LinkTrace("连接目标设备成功!");
            break;
        }
        // Only a node the system names as the processor counts: other HID devices' nodes are
        // usually closed to ordinary users too.
        if (accessDenied && info.idsKnown && info.vendorId == kMatchVendorId &&
            info.productId == kMatchProductId) {
            std::lock_guard lock(t.deviceMutex);
            if (t.deniedPath.empty()) {
                t.deniedPath = info.path;
            }
        }
    }
    if (!found) {
        LinkTrace("连接目标设备失败，没有找到目标设备");
        return 0;
    }
    {
        std::lock_guard lock(t.deviceMutex);
        t.device = std::move(found);
        t.devicePath = path;
    }
    // Cleared here too, so that a write right after connecting is not refused because of
    // an earlier link's dead read thread.
    g_bReadThreadEnd = 0;
    g_bConnected = 1;
    AttachReportSink(&t.sink);
    t.readThread.Start();
    return 1;
}

void CloseUsbDevice(bool sendFarewell)
{
    Transport& t = T();
    std::lock_guard life(t.lifecycleMutex);
    if (g_bConnected == 0) {
        return;
    }
    g_StatusBlock.Fill(0);
    if (sendFarewell) {
        SendCommand({kCmdFarewell, -1});
    }
    g_bConnected = 0;
    const std::chrono::milliseconds closeWait(t.closeWaitMs.load());
    if (!t.readExitEvent.Wait(closeWait)) {
        LinkTrace("wait read thread exited time out !\n");
    }
    if (AttachedReportSink() == &t.sink) {
        AttachReportSink(nullptr);
    }
    std::shared_ptr<HidDevice> device;
    {
        std::lock_guard lock(t.deviceMutex);
        device = std::move(t.device);
        t.device.reset();
        t.devicePath.clear();
    }
    if (device) {
        device->Close(); // ends a waiting read at once
    }
    t.readThread.Finish(closeWait);
}

int WriteUsbData(const uint8_t* data, size_t length)
{
    Transport& t = T();
    if (g_bConnected == 0) {
        return 0;
    }
    if (g_bReadThreadEnd == 1) {
        LinkTrace("g_bReadThreadEnd == TRUE ,WriteUsbData return \n");
        return 0;
    }
    Report buffer{};
    if (data != nullptr) {
        std::memcpy(buffer.data(), data, std::min(length, kReportSize));
    }
    // Goes on when the previous report was answered or the pacing time ran out.
    t.replyEvent.Wait(std::chrono::milliseconds(t.pacingMs.load()));
    int count = 0;
    {
        std::lock_guard lock(t.writeLock);
        if (std::shared_ptr<HidDevice> device = t.Device()) {
            t.Observe('>', buffer);
            count = device->Write(buffer);
        }
    }
    if (count != static_cast<int>(kReportSize)) {
        LinkTrace("usb数据写入出错");
    }
    return count;
}

int WriteUsbData(const Report& report)
{
    return WriteUsbData(report.data(), report.size());
}

void ReadUsbThreadProc()
{
    Transport& t = T();
    g_bReadThreadEnd = 0;
    LinkTrace("start thread: ReadUsbThreadProc \n");
    t.readExitEvent.Reset();
    const std::shared_ptr<HidDevice> device = t.Device();
    while (g_bConnected == 1) {
        Report buffer{};
        const HidReadResult result = device ? device->Read(buffer) : HidReadResult::Error;
        if (result == HidReadResult::Closed && g_bConnected == 0) {
            break; // closed by CloseUsbDevice
        }
        if (result != HidReadResult::Report) {
            LinkTrace("Read Usb Error will return !\n");
            g_bMeterEnable = 0;
            g_bReadThreadEnd = 1;
            break;
        }
        t.Observe('<', buffer);
        ParseInputReport(buffer);
    }
    t.replyEvent.Set(); // no writer stays blocked on a thread that has gone
    t.readExitEvent.Set();
}

void SignalUsbReply()
{
    T().replyEvent.Set();
}

std::string UsbDevicePath()
{
    Transport& t = T();
    std::lock_guard lock(t.deviceMutex);
    return t.devicePath;
}

std::string UsbAccessDeniedPath()
{
    Transport& t = T();
    std::lock_guard lock(t.deviceMutex);
    return t.deniedPath;
}

void SetUsbWireObserver(UsbWireObserver observer)
{
    Transport& t = T();
    std::lock_guard lock(t.observerMutex);
    t.observer = std::move(observer);
}
