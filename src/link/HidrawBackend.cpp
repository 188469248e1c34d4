#include "link/HidrawBackend.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <libudev.h>
#include <linux/hidraw.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/ioctl.h>
#include <unistd.h>

bool ParseHidId(const char* text, uint16_t* vendor, uint16_t* product)
{
    if (text == nullptr) {
        return false;
    }
    unsigned long parts[3] = {};
    const char* p = text;
    for (int i = 0; i < 3; ++i) {
        if (!std::isxdigit(static_cast<unsigned char>(*p))) {
            return false;
        }
        char* end = nullptr;
        errno = 0;
        parts[i] = std::strtoul(p, &end, 16);
        if (errno != 0 || end - p > 8 || *end != (i < 2 ? ':' : '\0')) {
            return false;
        }
        p = end + 1;
    }
    if (parts[1] > 0xFFFF || parts[2] > 0xFFFF) {
        return false;
    }
    *vendor = static_cast<uint16_t>(parts[1]);
    *product = static_cast<uint16_t>(parts[2]);
    return true;
}

HidrawDevice::HidrawDevice(int fd, bool attributesKnown, uint16_t vendor, uint16_t product)
    : fd_(fd), wake_(eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK)), attributesKnown_(attributesKnown),
      vendor_(vendor), product_(product)
{
}

HidrawDevice::~HidrawDevice()
{
    // Descriptors are closed only here, when no thread can be inside Read or Write any more,
    // so a number reused by the system is never read by mistake.
    if (fd_ >= 0) {
        ::close(fd_);
    }
    if (wake_ >= 0) {
        ::close(wake_);
    }
}

bool HidrawDevice::GetAttributes(uint16_t* vendor, uint16_t* product)
{
    if (!attributesKnown_) {
        return false;
    }
    *vendor = vendor_;
    *product = product_;
    return true;
}

int HidrawDevice::Write(const Report& report)
{
    if (closed_.load() || fd_ < 0) {
        return 0;
    }
    ssize_t n;
    do {
        n = ::write(fd_, report.data(), report.size());
    } while (n < 0 && errno == EINTR);
    return n < 0 ? 0 : static_cast<int>(n);
}

HidReadResult HidrawDevice::Read(Report& out)
{
    out.fill(0);
    if (fd_ < 0 || wake_ < 0) {
        return HidReadResult::Error;
    }
    for (;;) {
        if (closed_.load()) {
            return HidReadResult::Closed;
        }
        pollfd fds[2] = {{fd_, POLLIN, 0}, {wake_, POLLIN, 0}};
        const int ready = ::poll(fds, 2, -1);
        if (ready < 0) {
            if (errno == EINTR) {
                continue;
            }
            return HidReadResult::Error;
        }
        if (fds[1].revents != 0 || closed_.load()) {
            return HidReadResult::Closed;
        }
        if ((fds[0].revents & POLLIN) != 0) {
            const ssize_t n = ::read(fd_, out.data(), out.size());
            if (n < 0 && (errno == EINTR || errno == EAGAIN)) {
                continue;
            }
            if (n <= 0) {
                return HidReadResult::Error; // unplugged or I/O error
            }
            return HidReadResult::Report; // a shorter report keeps its zero tail
        }
        if ((fds[0].revents & (POLLERR | POLLHUP | POLLNVAL)) != 0) {
            return HidReadResult::Error;
        }
    }
}

void HidrawDevice::Close()
{
    if (closed_.exchange(true)) {
        return;
    }
    if (wake_ >= 0) {
        const uint64_t one = 1;
        [[maybe_unused]] const ssize_t n = ::write(wake_, &one, sizeof one);
    }
}

HidrawBackend::HidrawBackend() : udev_(udev_new()) {}

HidrawBackend::~HidrawBackend()
{
    if (monitor_ != nullptr) {
        udev_monitor_unref(monitor_);
    }
    if (udev_ != nullptr) {
        udev_unref(udev_);
    }
}

std::vector<HidInterfaceInfo> HidrawBackend::Enumerate()
{
    std::vector<HidInterfaceInfo> list;
    if (udev_ == nullptr) {
        return list;
    }
    udev_enumerate* enumerate = udev_enumerate_new(udev_);
    if (enumerate == nullptr) {
        return list;
    }
    udev_enumerate_add_match_subsystem(enumerate, "hidraw");
    udev_enumerate_scan_devices(enumerate);
    udev_list_entry* entry = nullptr;
    udev_list_entry_foreach(entry, udev_enumerate_get_list_entry(enumerate))
    {
        udev_device* device = udev_device_new_from_syspath(udev_, udev_list_entry_get_name(entry));
        if (device == nullptr) {
            continue;
        }
        if (const char* node = udev_device_get_devnode(device)) {
            HidInterfaceInfo info;
            info.index = static_cast<int>(list.size());
            info.flags = 1;
            info.path = node;
            // The HID device above the node names bus, vendor and product, e.g.
            // "0003:00002010:00001031".
            udev_device* hid =
                udev_device_get_parent_with_subsystem_devtype(device, "hid", nullptr);
            if (hid != nullptr) {
                info.idsKnown = ParseHidId(udev_device_get_property_value(hid, "HID_ID"),
                                           &info.vendorId, &info.productId);
            }
            list.push_back(std::move(info));
        }
        udev_device_unref(device);
    }
    udev_enumerate_unref(enumerate);
    return list;
}

std::unique_ptr<HidDevice> HidrawBackend::Open(const std::string& path, std::string* error)
{
    bool accessDenied = false;
    return OpenChecked(path, error, &accessDenied);
}

std::unique_ptr<HidDevice> HidrawBackend::OpenChecked(const std::string& path, std::string* error,
                                                      bool* accessDenied)
{
    *accessDenied = false;
    const int fd = ::open(path.c_str(), O_RDWR | O_CLOEXEC);
    if (fd < 0) {
        const int code = errno;
        *accessDenied = code == EACCES || code == EPERM;
        if (error != nullptr) {
            *error = path + ": " + std::strerror(code);
            if (*accessDenied) {
                *error += " (the user needs read and write access to the node, e.g. a udev "
                          "rule for vendor 2010 product 1031)";
            }
        }
        return nullptr;
    }
    hidraw_devinfo info{};
    const bool known = ::ioctl(fd, HIDIOCGRAWINFO, &info) == 0;
    auto device = std::make_unique<HidrawDevice>(fd, known, static_cast<uint16_t>(info.vendor),
                                                 static_cast<uint16_t>(info.product));
    return device;
}

bool HidrawBackend::RegisterNotification(std::string* error)
{
    if (monitor_ != nullptr) {
        return true;
    }
    if (udev_ != nullptr) {
        monitor_ = CreateMonitor(udev_);
    }
    if (monitor_ == nullptr ||
        udev_monitor_filter_add_match_subsystem_devtype(monitor_, "hidraw", nullptr) < 0 ||
        udev_monitor_enable_receiving(monitor_) < 0) {
        if (error != nullptr && !pollingFallback_.load()) {
            *error = "udev monitor unavailable";
        }
        if (monitor_ != nullptr) {
            udev_monitor_unref(monitor_);
            monitor_ = nullptr;
        }
        return pollingFallback_.load();
    }
    return true;
}

udev_monitor* HidrawBackend::CreateMonitor(udev* context)
{
    return udev_monitor_new_from_netlink(context, "udev");
}

int HidrawBackend::NotificationFd() const
{
    return monitor_ != nullptr ? udev_monitor_get_fd(monitor_) : -1;
}

bool HidrawBackend::ReceiveNotification(std::string* action, std::string* path)
{
    if (monitor_ == nullptr) {
        return false;
    }
    udev_device* device = udev_monitor_receive_device(monitor_);
    if (device == nullptr) {
        return false;
    }
    const char* act = udev_device_get_action(device);
    const char* node = udev_device_get_devnode(device);
    *action = act != nullptr ? act : "";
    *path = node != nullptr ? node : "";
    udev_device_unref(device);
    return true;
}
