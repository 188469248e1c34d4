#pragma once
// A HID backend made of virtual interfaces, each optionally with an emulated processor behind
// it. It behaves like the platform's HID layer: Enumerate lists the present interfaces in
// order, Open gives a handle whose Read blocks until the processor reports, Close ends a
// waiting Read at once, and an unplugged interface fails its handles' reads. Plugging,
// unplugging and restarts raise arrival and removal events, delivered in order on the bus's
// own event thread (like the platform's device notifications).

#include "link/HidBackend.h"
#include "link/emulator/EmulatedProcessor.h"

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

inline constexpr uint16_t kProcessorVendorId = 0x2010;
inline constexpr uint16_t kProcessorProductId = 0x1031;

struct VirtualInterface
{
    std::string path;
    uint32_t flags = 1; // 1 = active
    uint16_t vendorId = kProcessorVendorId;
    uint16_t productId = kProcessorProductId;
    // nullptr: an interface that accepts writes and never reports (another HID device).
    std::shared_ptr<EmulatedProcessor> processor;
    // When set, Open fails with this text (for example no permission on the device node).
    std::string openError;
    // Open fails as a node the user has no permission for (EACCES); openError, when set, is
    // the text.
    bool accessDenied = false;
};

enum class BusEventKind
{
    Arrival,
    Removal
};

struct BusEvent
{
    BusEventKind kind;
    std::string path;
};

using BusListener = std::function<void(const BusEvent&)>;

class VirtualHidBus : public HidBackend
{
public:
    VirtualHidBus();
    // Stops the event thread; open handles keep working as unplugged ones (reads fail).
    ~VirtualHidBus() override;
    VirtualHidBus(const VirtualHidBus&) = delete;
    VirtualHidBus& operator=(const VirtualHidBus&) = delete;

    // Adds an interface at the end of the enumeration order. It is present at once and no
    // event is raised (it was there before anyone listened). A path already on the bus is
    // refused (false).
    bool AddInterface(VirtualInterface iface);

    // Arrival and removal of an added interface; false when unknown or already in that state.
    // Unplugging fails every open handle of the interface (reads return Error, writes 0).
    bool Plug(const std::string& path);
    bool Unplug(const std::string& path);
    // Removal now, arrival after `away`.
    bool Restart(const std::string& path, std::chrono::milliseconds away);

    // Faults, counted in reports read through any handle of the interface from now on.
    // n = 0 acts at once. Each fires once.
    bool FailReadsAfter(const std::string& path, unsigned n);
    bool UnplugAfter(const std::string& path, unsigned n);

    bool IsPresent(const std::string& path) const;
    std::shared_ptr<EmulatedProcessor> Processor(const std::string& path) const;

    // Listeners are called on the bus's event thread, one event at a time in the order the
    // events happened. After RemoveListener returns the listener is not called again (when
    // called from inside a listener, the current call still finishes).
    int AddListener(BusListener listener);
    void RemoveListener(int id);

    std::vector<HidInterfaceInfo> Enumerate() override;
    std::unique_ptr<HidDevice> Open(const std::string& path, std::string* error) override;
    std::unique_ptr<HidDevice> OpenChecked(const std::string& path, std::string* error,
                                           bool* accessDenied) override;

    struct Core; // shared with the handles and the processors' hosts

private:
    std::shared_ptr<Core> core_;
    std::thread events_;
};

// The bus the program and the CLI use when no hardware is attached: one emulated processor at
// enumeration index 0 under kEmulatedProcessorPath. nullptr with *error set when the state
// file cannot be used.
inline constexpr const char* kEmulatedProcessorPath = "emulated:dsp4620-0";
std::shared_ptr<VirtualHidBus> MakeEmulatedBus(const EmulatorOptions& options, std::string* error);
