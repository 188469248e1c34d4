#pragma once
// The Linux HID backend: hidraw nodes found with libudev. Each open node is used by the read
// thread and one writer at a time; the kernel allows that on one descriptor, which is why we
// talk to hidraw directly. A waiting read also watches an eventfd, so Close() ends it at once.

#include "link/HidBackend.h"

#include <atomic>
#include <memory>
#include <string>

struct udev;
struct udev_monitor;

// Reads udev's HID_ID property, "BUS:VENDOR:PRODUCT" in hex (e.g. "0003:00002010:00001031").
// False (outputs untouched) for a null, malformed or out-of-range text.
bool ParseHidId(const char* text, uint16_t* vendor, uint16_t* product);

class HidrawDevice : public HidDevice
{
public:
    // Takes ownership of fd. Identifiers unknown (the attribute query failed) when
    // attributesKnown is false.
    HidrawDevice(int fd, bool attributesKnown, uint16_t vendor, uint16_t product);
    ~HidrawDevice() override;
    HidrawDevice(const HidrawDevice&) = delete;
    HidrawDevice& operator=(const HidrawDevice&) = delete;

    uint16_t VendorId() const override { return vendor_; }
    uint16_t ProductId() const override { return product_; }
    bool GetAttributes(uint16_t* vendor, uint16_t* product) override;
    int Write(const Report& report) override;
    HidReadResult Read(Report& out) override;
    void Close() override;

private:
    int fd_;
    int wake_;
    std::atomic<bool> closed_{false};
    bool attributesKnown_;
    uint16_t vendor_;
    uint16_t product_;
};

class HidrawBackend : public HidBackend
{
public:
    HidrawBackend();
    ~HidrawBackend() override;
    HidrawBackend(const HidrawBackend&) = delete;
    HidrawBackend& operator=(const HidrawBackend&) = delete;

    // Every hidraw node, in udev's order; all flagged active, with the identifiers of the HID
    // device above the node where udev knows them.
    std::vector<HidInterfaceInfo> Enumerate() override;
    // O_RDWR; a node we may not open (no udev rule giving the user access) fails with the
    // system's reason in *error.
    std::unique_ptr<HidDevice> Open(const std::string& path, std::string* error) override;
    std::unique_ptr<HidDevice> OpenChecked(const std::string& path, std::string* error,
                                           bool* accessDenied) override;
    // A udev monitor for hidraw add/remove events. Where none can be made (no netlink in a
    // container) and a polling watcher reports arrival and removal instead, registration
    // counts as done.
    bool RegisterNotification(std::string* error) override;
    void SetPollingFallback(bool on) { pollingFallback_ = on; }

    // The monitor's descriptor for the shell's event loop (-1 before registration), and one
    // pending event: "add" or "remove" and the node's path. False when none is pending.
    int NotificationFd() const;
    bool ReceiveNotification(std::string* action, std::string* path);

protected:
    // Makes the monitor (nullptr where netlink is not available); tests replace it.
    virtual struct udev_monitor* CreateMonitor(struct udev* context);

private:
    struct udev* udev_ = nullptr;
    struct udev_monitor* monitor_ = nullptr;
    std::atomic<bool> pollingFallback_{false};
};
