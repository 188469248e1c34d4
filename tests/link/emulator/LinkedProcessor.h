#pragma once
// Test fixture: an emulated processor on a virtual bus, opened through the HidBackend
// interface exactly as the transport does, with a reader thread collecting input reports so
// that a test can wait for the next one with a time limit instead of blocking for ever.

#include "link/emulator/VirtualHidBus.h"

#include <chrono>
#include <condition_variable>
#include <deque>
#include <initializer_list>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>

// Options for tests: no latency, short learning and restart delays.
inline EmulatorOptions FastOptions()
{
    EmulatorOptions o;
    o.latency = std::chrono::milliseconds(0);
    o.learnDelay = std::chrono::milliseconds(5);
    o.restartDelay = std::chrono::milliseconds(10);
    return o;
}

inline Report Command(std::initializer_list<int> bytes)
{
    Report r{};
    r[0] = kReportId;
    size_t i = 1;
    for (int b : bytes) {
        r[i++] = static_cast<uint8_t>(b);
    }
    return r;
}

// Collects everything one handle reads until the read ends (Closed or Error).
class ReportCollector
{
public:
    explicit ReportCollector(std::unique_ptr<HidDevice> device) : device_(std::move(device))
    {
        thread_ = std::thread([this] {
            for (;;) {
                Report r{};
                const HidReadResult res = device_->Read(r);
                std::lock_guard lock(mutex_);
                if (res != HidReadResult::Report) {
                    end_ = res;
                    wake_.notify_all();
                    return;
                }
                reports_.push_back(r);
                wake_.notify_all();
            }
        });
    }
    ~ReportCollector()
    {
        device_->Close();
        thread_.join();
    }
    HidDevice& Device() { return *device_; }

    // The next report, or nothing when none arrives within the limit.
    std::optional<Report> Next(std::chrono::milliseconds limit = std::chrono::seconds(5))
    {
        std::unique_lock lock(mutex_);
        if (!wake_.wait_for(lock, limit, [&] { return !reports_.empty() || end_; }) ||
            reports_.empty()) {
            return std::nullopt;
        }
        Report r = reports_.front();
        reports_.pop_front();
        return r;
    }
    // How the reading ended, once it has (waits up to the limit).
    std::optional<HidReadResult> End(std::chrono::milliseconds limit = std::chrono::seconds(5))
    {
        std::unique_lock lock(mutex_);
        wake_.wait_for(lock, limit, [&] { return end_.has_value(); });
        return end_;
    }
    size_t Pending()
    {
        std::lock_guard lock(mutex_);
        return reports_.size();
    }

private:
    std::unique_ptr<HidDevice> device_;
    std::mutex mutex_;
    std::condition_variable wake_;
    std::deque<Report> reports_;
    std::optional<HidReadResult> end_;
    std::thread thread_;
};

class LinkedProcessor
{
public:
    explicit LinkedProcessor(const EmulatorOptions& options = FastOptions())
    {
        std::string error;
        bus = MakeEmulatedBus(options, &error);
        if (bus) {
            processor = bus->Processor(kEmulatedProcessorPath);
            Reopen();
        }
    }
    void Reopen()
    {
        link.reset();
        std::string error;
        if (auto dev = bus->Open(kEmulatedProcessorPath, &error)) {
            link = std::make_unique<ReportCollector>(std::move(dev));
        }
    }
    int Send(const Report& r) { return link->Device().Write(r); }
    int Send(std::initializer_list<int> bytes) { return Send(Command(bytes)); }
    std::optional<Report> Next() { return link->Next(); }
    // Sends one command and returns its answer (a zero report when none came).
    Report Ask(std::initializer_list<int> bytes)
    {
        Send(bytes);
        return link->Next().value_or(Report{});
    }
    Report Ask(const Report& r)
    {
        Send(r);
        return link->Next().value_or(Report{});
    }
    // Sends a command that is only acknowledged: the status byte of its acknowledgement
    // (0 applied, 1 refused), or -1 when the next report is not that acknowledgement.
    int Acked(const Report& r)
    {
        const Report a = Ask(r);
        return a[0] == kReportId && a[1] == r[1] ? a[2] : -1;
    }
    int Acked(std::initializer_list<int> bytes) { return Acked(Command(bytes)); }

    std::shared_ptr<VirtualHidBus> bus;
    std::shared_ptr<EmulatedProcessor> processor;
    std::unique_ptr<ReportCollector> link;
};
