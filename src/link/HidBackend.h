#pragma once
// What the transport needs from the platform's HID layer. The real backend (hidraw with
// libudev on Linux) and the emulated processor's virtual bus both implement it, so every link
// test runs through the same transport code as the hardware.

#include "model/Report.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One present HID interface, in enumeration order.
struct HidInterfaceInfo
{
    int index = 0;      // enumeration index, 0-based
    uint32_t flags = 1; // 1 = active; any other value is skipped by the transport
    std::string path;   // what Open takes and what arrival/removal notifications carry
    // The USB identifiers as the system lists them, without opening the interface (false
    // where the backend cannot tell; the transport then learns them only after opening).
    bool idsKnown = false;
    uint16_t vendorId = 0;
    uint16_t productId = 0;
};

// The enumerator Report is scoped, but GCC's -Wshadow still reports it against the Report type.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wshadow"
enum class HidReadResult
{
    Report, // one 61-byte input report was read
    Closed, // Close() was called while (or before) the read was waiting
    Error,  // the device failed (unplugged, I/O error)
};
#pragma GCC diagnostic pop

// An open interface. Write and Read may be called from different threads at once;
// Close may be called from any thread and ends a waiting Read at once.
class HidDevice
{
public:
    virtual ~HidDevice() = default;
    virtual uint16_t VendorId() const = 0;
    virtual uint16_t ProductId() const = 0;
    // Both identifiers at once; false when the device could not report them.
    virtual bool GetAttributes(uint16_t* vendor, uint16_t* product)
    {
        *vendor = VendorId();
        *product = ProductId();
        return true;
    }
    // Writes one 61-byte report (byte 0 is the report id). Returns the bytes written.
    virtual int Write(const Report& report) = 0;
    // Blocks until an input report arrives, the device fails, or Close() is called.
    virtual HidReadResult Read(Report& out) = 0;
    virtual void Close() = 0;
};

class HidBackend
{
public:
    virtual ~HidBackend() = default;
    // The present HID interfaces (all of them, matching or not).
    virtual std::vector<HidInterfaceInfo> Enumerate() = 0;
    // Opens an interface for reading and writing; nullptr with *error set on failure
    // (for example no permission on the device node).
    virtual std::unique_ptr<HidDevice> Open(const std::string& path, std::string* error) = 0;
    // Open that also tells whether the system refused access to the node (a permission
    // problem the user can fix), as opposed to any other failure.
    virtual std::unique_ptr<HidDevice> OpenChecked(const std::string& path, std::string* error,
                                                   bool* accessDenied)
    {
        *accessDenied = false;
        return Open(path, error);
    }
    // Starts watching for arrival and removal of HID interfaces; false with *error set when
    // that is impossible. Backends without notifications accept.
    virtual bool RegisterNotification(std::string* error)
    {
        (void)error;
        return true;
    }
};
