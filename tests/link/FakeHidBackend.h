#pragma once
// A minimal scripted HID bus for transport tests: interfaces with chosen identifiers and
// flags, a processor that answers every report (or stays silent), injected input reports and
// read failures.

#include "link/HidBackend.h"

#include <condition_variable>
#include <deque>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

class FakeHidBackend : public HidBackend
{
public:
    struct Interface
    {
        std::string path;
        uint16_t vendor;
        uint16_t product;
        uint32_t flags = 1;
        bool openFails = false;
    };

    void AddInterface(Interface i)
    {
        std::lock_guard lock(s_->mutex);
        interfaces_.push_back(std::move(i));
    }
    void SetAnswering(bool answering)
    {
        std::lock_guard lock(s_->mutex);
        s_->answering = answering;
    }
    void FailReads()
    {
        std::lock_guard lock(s_->mutex);
        s_->failReads = true;
        s_->cv.notify_all();
    }
    void Inject(const Report& r)
    {
        std::lock_guard lock(s_->mutex);
        s_->pending.push_back(r);
        s_->cv.notify_all();
    }
    std::vector<Report> Written() const
    {
        std::lock_guard lock(s_->mutex);
        return s_->written;
    }
    std::vector<std::string> Opened() const
    {
        std::lock_guard lock(s_->mutex);
        return opened_;
    }
    bool registrationFails = false;

    std::vector<HidInterfaceInfo> Enumerate() override
    {
        std::lock_guard lock(s_->mutex);
        std::vector<HidInterfaceInfo> list;
        for (size_t i = 0; i < interfaces_.size(); ++i) {
            list.push_back({static_cast<int>(i), interfaces_[i].flags, interfaces_[i].path});
        }
        return list;
    }
    std::unique_ptr<HidDevice> Open(const std::string& path, std::string* error) override
    {
        std::lock_guard lock(s_->mutex);
        opened_.push_back(path);
        for (const Interface& i : interfaces_) {
            if (i.path == path && !i.openFails) {
                return std::make_unique<Device>(s_, i.vendor, i.product);
            }
        }
        *error = path + ": permission denied";
        return nullptr;
    }
    bool RegisterNotification(std::string* error) override
    {
        if (registrationFails) {
            *error = "no monitor";
        }
        return !registrationFails;
    }

private:
    struct Shared
    {
        mutable std::mutex mutex;
        std::condition_variable cv;
        std::deque<Report> pending;
        std::vector<Report> written;
        bool answering = true;
        bool failReads = false;
    };

    class Device : public HidDevice
    {
    public:
        Device(std::shared_ptr<Shared> s, uint16_t vendor, uint16_t product)
            : s_(std::move(s)), vendor_(vendor), product_(product)
        {
        }
        uint16_t VendorId() const override { return vendor_; }
        uint16_t ProductId() const override { return product_; }
        int Write(const Report& r) override
        {
            std::lock_guard lock(s_->mutex);
            if (closed_) {
                return 0;
            }
            s_->written.push_back(r);
            if (s_->answering) {
                Report answer{};
                answer[0] = 2;
                answer[1] = r[1];
                s_->pending.push_back(answer);
                s_->cv.notify_all();
            }
            return static_cast<int>(r.size());
        }
        HidReadResult Read(Report& out) override
        {
            std::unique_lock lock(s_->mutex);
            s_->cv.wait(lock, [this] { return closed_ || s_->failReads || !s_->pending.empty(); });
            if (closed_) {
                return HidReadResult::Closed;
            }
            if (s_->failReads) {
                return HidReadResult::Error;
            }
            out = s_->pending.front();
            s_->pending.pop_front();
            return HidReadResult::Report;
        }
        void Close() override
        {
            std::lock_guard lock(s_->mutex);
            closed_ = true;
            s_->cv.notify_all();
        }

    private:
        std::shared_ptr<Shared> s_;
        uint16_t vendor_;
        uint16_t product_;
        bool closed_ = false; // guarded by s_->mutex
    };

    std::shared_ptr<Shared> s_ = std::make_shared<Shared>();
    std::vector<Interface> interfaces_;
    std::vector<std::string> opened_;
};
