#include "link/emulator/VirtualHidBus.h"

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <map>
#include <mutex>
#include <utility>

namespace {
// One open handle's side of the bus: the input reports waiting to be read.
struct HandleState
{
    std::mutex mutex;
    std::condition_variable wake;
    std::deque<Report> inbox;
    bool closed = false; // Close() was called
    bool gone = false;   // the interface was unplugged
    bool failed = false; // an injected read failure
};

struct Entry
{
    VirtualInterface info;
    bool present = true;
    std::vector<std::shared_ptr<HandleState>> handles; // open ones
    long failReadsAfter = -1;                          // -1 = off
    long unplugAfter = -1;
    std::shared_ptr<ProcessorHost> host;
};

using Clock = std::chrono::steady_clock;

void FailHandle(HandleState& h, bool unplugged)
{
    {
        std::lock_guard lock(h.mutex);
        (unplugged ? h.gone : h.failed) = true;
    }
    h.wake.notify_all();
}
} // namespace

struct VirtualHidBus::Core
{
    struct Timed
    {
        bool plug = false; // a delayed Plug (restart) instead of an event to deliver
        BusEvent event;
    };

    mutable std::mutex mutex; // guards entries
    std::vector<std::shared_ptr<Entry>> entries;

    std::mutex eventMutex; // guards the queue, stop and the listeners
    std::condition_variable eventWake;
    std::map<std::pair<Clock::time_point, uint64_t>, Timed> queue;
    uint64_t seq = 0;
    bool stop = false;
    std::map<int, BusListener> listeners;
    int nextListener = 1;
    std::mutex dispatchMutex; // held while a listener runs
    std::thread::id eventThread;

    std::shared_ptr<Entry> Find(const std::string& path) const
    {
        for (const auto& e : entries) {
            if (e->info.path == path) {
                return e;
            }
        }
        return nullptr;
    }

    void Post(Clock::time_point due, Timed item)
    {
        {
            std::lock_guard lock(eventMutex);
            queue.emplace(std::make_pair(due, seq++), std::move(item));
        }
        eventWake.notify_all();
    }

    void Raise(BusEventKind kind, const std::string& path)
    {
        Post(Clock::now(), Timed{false, BusEvent{kind, path}});
    }

    bool SetPresent(const std::string& path, bool present)
    {
        std::vector<std::shared_ptr<HandleState>> failed;
        {
            std::lock_guard lock(mutex);
            const std::shared_ptr<Entry> e = Find(path);
            if (!e || e->present == present) {
                return false;
            }
            e->present = present;
            if (!present) {
                failed.swap(e->handles);
                e->unplugAfter = -1;
                e->failReadsAfter = -1;
            }
            // The event is queued under the lock so that events keep the order of the changes.
            Raise(present ? BusEventKind::Arrival : BusEventKind::Removal, path);
        }
        for (const auto& h : failed) {
            FailHandle(*h, true);
        }
        return true;
    }

    void Deliver(const std::string& path, const Report& report)
    {
        std::vector<std::shared_ptr<HandleState>> targets;
        {
            std::lock_guard lock(mutex);
            if (const std::shared_ptr<Entry> e = Find(path); e && e->present) {
                targets = e->handles;
            }
        }
        for (const auto& h : targets) {
            {
                std::lock_guard lock(h->mutex);
                if (h->closed || h->gone || h->failed) {
                    continue;
                }
                h->inbox.push_back(report);
            }
            h->wake.notify_all();
        }
    }

    // A report was read through a handle of `entry`: count it against armed faults.
    void ReportRead(const std::shared_ptr<Entry>& entry)
    {
        std::vector<std::shared_ptr<HandleState>> failing;
        bool unplug = false;
        {
            std::lock_guard lock(mutex);
            if (entry->failReadsAfter > 0 && --entry->failReadsAfter == 0) {
                entry->failReadsAfter = -1;
                failing = entry->handles;
            }
            if (entry->unplugAfter > 0 && --entry->unplugAfter == 0) {
                entry->unplugAfter = -1;
                unplug = true;
            }
        }
        for (const auto& h : failing) {
            FailHandle(*h, false);
        }
        if (unplug) {
            SetPresent(entry->info.path, false);
        }
    }

    void Forget(const std::shared_ptr<Entry>& entry, const HandleState* handle)
    {
        std::lock_guard lock(mutex);
        std::erase_if(entry->handles, [&](const auto& h) { return h.get() == handle; });
    }

    void RunEvents()
    {
        std::unique_lock lock(eventMutex);
        eventThread = std::this_thread::get_id();
        while (!stop) {
            if (queue.empty()) {
                eventWake.wait(lock);
                continue;
            }
            const auto first = queue.begin();
            if (first->first.first > Clock::now()) {
                eventWake.wait_until(lock, first->first.first);
                continue;
            }
            const Timed item = first->second;
            queue.erase(first);
            lock.unlock();
            if (item.plug) {
                SetPresent(item.event.path, true);
            } else {
                std::lock_guard dispatch(dispatchMutex);
                std::vector<BusListener> calls;
                {
                    std::lock_guard l(eventMutex);
                    for (const auto& [id, listener] : listeners) {
                        calls.push_back(listener);
                    }
                }
                for (const BusListener& call : calls) {
                    call(item.event);
                }
            }
            lock.lock();
        }
    }
};

namespace {
// Where an emulated processor's reports and restarts land on the bus.
class EntryHost final : public ProcessorHost
{
public:
    EntryHost(std::weak_ptr<VirtualHidBus::Core> core, std::string path)
        : core_(std::move(core)), path_(std::move(path))
    {
    }
    void Deliver(const Report& report) override
    {
        if (const auto core = core_.lock()) {
            core->Deliver(path_, report);
        }
    }
    void LeaveBus() override
    {
        if (const auto core = core_.lock()) {
            core->SetPresent(path_, false);
        }
    }
    void ReturnToBus() override
    {
        if (const auto core = core_.lock()) {
            core->SetPresent(path_, true);
        }
    }

private:
    std::weak_ptr<VirtualHidBus::Core> core_;
    std::string path_;
};

class VirtualHidDevice final : public HidDevice
{
public:
    VirtualHidDevice(std::weak_ptr<VirtualHidBus::Core> core, std::shared_ptr<Entry> entry,
                     std::shared_ptr<HandleState> state)
        : core_(std::move(core)), entry_(std::move(entry)), state_(std::move(state))
    {
    }
    ~VirtualHidDevice() override { Close(); }

    uint16_t VendorId() const override { return entry_->info.vendorId; }
    uint16_t ProductId() const override { return entry_->info.productId; }

    int Write(const Report& report) override
    {
        {
            std::lock_guard lock(state_->mutex);
            if (state_->closed || state_->gone) {
                return 0;
            }
        }
        if (entry_->info.processor) {
            entry_->info.processor->Receive(report);
        }
        return static_cast<int>(kReportSize);
    }

    HidReadResult Read(Report& out) override
    {
        {
            std::unique_lock lock(state_->mutex);
            state_->wake.wait(lock, [&] {
                return state_->closed || state_->gone || state_->failed || !state_->inbox.empty();
            });
            if (state_->closed) {
                return HidReadResult::Closed;
            }
            if (state_->gone || state_->failed) {
                return HidReadResult::Error;
            }
            out = state_->inbox.front();
            state_->inbox.pop_front();
        }
        if (const auto core = core_.lock()) {
            core->ReportRead(entry_);
        }
        return HidReadResult::Report;
    }

    void Close() override
    {
        {
            std::lock_guard lock(state_->mutex);
            if (state_->closed) {
                return;
            }
            state_->closed = true;
            state_->inbox.clear();
        }
        state_->wake.notify_all();
        if (const auto core = core_.lock()) {
            core->Forget(entry_, state_.get());
        }
    }

private:
    std::weak_ptr<VirtualHidBus::Core> core_;
    std::shared_ptr<Entry> entry_;
    std::shared_ptr<HandleState> state_;
};
} // namespace

VirtualHidBus::VirtualHidBus() : core_(std::make_shared<Core>())
{
    events_ = std::thread([core = core_] { core->RunEvents(); });
}

VirtualHidBus::~VirtualHidBus()
{
    std::vector<std::shared_ptr<Entry>> entries;
    {
        std::lock_guard lock(core_->mutex);
        entries = core_->entries;
    }
    // No processor reaches into the bus any more once this loop is done.
    for (const auto& e : entries) {
        if (e->info.processor) {
            e->info.processor->AttachHost({});
        }
    }
    {
        std::lock_guard lock(core_->eventMutex);
        core_->stop = true;
    }
    core_->eventWake.notify_all();
    events_.join();
    for (const auto& e : entries) {
        std::vector<std::shared_ptr<HandleState>> handles;
        {
            std::lock_guard lock(core_->mutex);
            handles.swap(e->handles);
        }
        for (const auto& h : handles) {
            FailHandle(*h, true);
        }
    }
}

bool VirtualHidBus::AddInterface(VirtualInterface iface)
{
    auto entry = std::make_shared<Entry>();
    entry->info = std::move(iface);
    {
        std::lock_guard lock(core_->mutex);
        if (core_->Find(entry->info.path)) {
            return false;
        }
        entry->host = std::make_shared<EntryHost>(core_, entry->info.path);
        core_->entries.push_back(entry);
    }
    if (entry->info.processor) {
        entry->info.processor->AttachHost(entry->host);
    }
    return true;
}

bool VirtualHidBus::Plug(const std::string& path)
{
    return core_->SetPresent(path, true);
}

bool VirtualHidBus::Unplug(const std::string& path)
{
    return core_->SetPresent(path, false);
}

bool VirtualHidBus::Restart(const std::string& path, std::chrono::milliseconds away)
{
    if (!core_->SetPresent(path, false)) {
        return false;
    }
    core_->Post(Clock::now() + away, Core::Timed{true, BusEvent{BusEventKind::Arrival, path}});
    return true;
}

bool VirtualHidBus::FailReadsAfter(const std::string& path, unsigned n)
{
    std::vector<std::shared_ptr<HandleState>> failing;
    {
        std::lock_guard lock(core_->mutex);
        const std::shared_ptr<Entry> e = core_->Find(path);
        if (!e) {
            return false;
        }
        if (n == 0) {
            failing = e->handles;
            e->failReadsAfter = -1;
        } else {
            e->failReadsAfter = static_cast<long>(n);
        }
    }
    for (const auto& h : failing) {
        FailHandle(*h, false);
    }
    return true;
}

bool VirtualHidBus::UnplugAfter(const std::string& path, unsigned n)
{
    if (n == 0) {
        return Unplug(path);
    }
    std::lock_guard lock(core_->mutex);
    const std::shared_ptr<Entry> e = core_->Find(path);
    if (!e || !e->present) {
        return false;
    }
    e->unplugAfter = static_cast<long>(n);
    return true;
}

bool VirtualHidBus::IsPresent(const std::string& path) const
{
    std::lock_guard lock(core_->mutex);
    const std::shared_ptr<Entry> e = core_->Find(path);
    return e && e->present;
}

std::shared_ptr<EmulatedProcessor> VirtualHidBus::Processor(const std::string& path) const
{
    std::lock_guard lock(core_->mutex);
    const std::shared_ptr<Entry> e = core_->Find(path);
    return e ? e->info.processor : nullptr;
}

int VirtualHidBus::AddListener(BusListener listener)
{
    std::lock_guard lock(core_->eventMutex);
    const int id = core_->nextListener++;
    core_->listeners.emplace(id, std::move(listener));
    return id;
}

void VirtualHidBus::RemoveListener(int id)
{
    bool onEventThread = false;
    {
        std::lock_guard lock(core_->eventMutex);
        core_->listeners.erase(id);
        onEventThread = core_->eventThread == std::this_thread::get_id();
    }
    if (!onEventThread) {
        // Wait for a dispatch in progress, which may still be calling the listener.
        std::lock_guard dispatch(core_->dispatchMutex);
    }
}

std::vector<HidInterfaceInfo> VirtualHidBus::Enumerate()
{
    std::vector<HidInterfaceInfo> out;
    std::lock_guard lock(core_->mutex);
    for (const auto& e : core_->entries) {
        if (e->present) {
            HidInterfaceInfo info{static_cast<int>(out.size()), e->info.flags, e->info.path};
            info.idsKnown = true;
            info.vendorId = e->info.vendorId;
            info.productId = e->info.productId;
            out.push_back(std::move(info));
        }
    }
    return out;
}

std::unique_ptr<HidDevice> VirtualHidBus::Open(const std::string& path, std::string* error)
{
    bool accessDenied = false;
    return OpenChecked(path, error, &accessDenied);
}

std::unique_ptr<HidDevice> VirtualHidBus::OpenChecked(const std::string& path, std::string* error,
                                                      bool* accessDenied)
{
    *accessDenied = false;
    std::lock_guard lock(core_->mutex);
    const std::shared_ptr<Entry> e = core_->Find(path);
    if (!e || !e->present) {
        if (error != nullptr) {
            *error = "no such device: " + path;
        }
        return nullptr;
    }
    if (e->info.accessDenied) {
        *accessDenied = true;
        if (error != nullptr) {
            *error = e->info.openError.empty() ? path + ": Permission denied" : e->info.openError;
        }
        return nullptr;
    }
    if (!e->info.openError.empty()) {
        if (error != nullptr) {
            *error = e->info.openError;
        }
        return nullptr;
    }
    auto state = std::make_shared<HandleState>();
    e->handles.push_back(state);
    return std::make_unique<VirtualHidDevice>(core_, e, state);
}

std::shared_ptr<VirtualHidBus> MakeEmulatedBus(const EmulatorOptions& options, std::string* error)
{
    std::shared_ptr<EmulatedProcessor> processor = EmulatedProcessor::Create(options, error);
    if (!processor) {
        return nullptr;
    }
    auto bus = std::make_shared<VirtualHidBus>();
    VirtualInterface iface;
    iface.path = kEmulatedProcessorPath;
    iface.processor = std::move(processor);
    bus->AddInterface(std::move(iface));
    return bus;
}
