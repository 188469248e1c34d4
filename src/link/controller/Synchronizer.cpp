#include "link/controller/Synchronizer.h"

#include "dsp/FullPush.h"
#include "link/LinkState.h"
#include "link/LinkTrace.h"
#include "link/Protocol.h"
#include "link/UsbTransport.h"
#include "model/DeviceMemory.h"
#include "model/ReadBack.h"
#include "model/SoundFieldGeometry.h"

#include <algorithm>
#include <array>
#include <initializer_list>

namespace {

constexpr int kMemoryPieceSize = 56;
constexpr int kDeviceImagePieces = 17;

void Count(SyncResult* counts, bool sent)
{
    if (counts != nullptr) {
        ++(sent ? counts->sent : counts->refused);
    }
}

void Send(SyncResult* counts, std::initializer_list<int> values)
{
    Count(counts, SendCommand(values) == static_cast<int>(kReportSize));
}

void ReadMemoryBlock(SyncResult* counts, int address, int length)
{
    Send(counts, {kCmdReadBlock, address >> 8, address & 0xFF, length, -1});
}

bool LinkUsable()
{
    return g_bConnected.load() == 1 && g_bReadThreadEnd.load() == 0;
}

void ReadAll(SyncResult& r, const SyncTimings& timings, SyncWaiter& waiter)
{
    waiter.WaitFor(timings.settle);
    r.verdict = SendIdentification(&r);
    if (r.verdict != IdentifyVerdict::Accepted) {
        return;
    }
    Send(&r, {kCmdCurrentMode, -1});
    for (int mode = 0; mode < kLinkModeCount; ++mode) {
        Send(&r, {kCmdReadModeName, 0x0F, ModeNameAddress(mode) & 0xFF, 0x28, -1});
    }
    Send(&r, {kCmdDspVersion, -1});

    const int reads = static_cast<int>(ReadRequestList().size());
    const int accepted = RequestAllParams();
    r.sent += accepted;
    r.refused += reads - accepted;

    for (int k = 0; k < kDeviceImagePieces; ++k) {
        const int address = kMemoryPieceSize * k;
        ReadMemoryBlock(&r, address, std::min(kMemoryPieceSize, kDeviceImageSize - address));
    }
    ReadMemoryBlock(&r, Block945.Address(), static_cast<int>(Block945.Size()));
    ReadMemoryBlock(&r, Block965.Address(), static_cast<int>(Block965.Size()));
    ReadMemoryBlock(&r, Block997.Address(), static_cast<int>(Block997.Size()));
    Send(&r, {kCmdReadMachineSettings, -1});
    Send(&r, {kCmdReadRemoteTable, -1});

    r.complete = r.refused == 0 && LinkUsable();
    g_bParamChanged = 0;
    waiter.WaitFor(timings.readTail);
}

void WriteAll(SyncResult& r, const SyncTimings& timings, SyncWaiter& waiter)
{
    waiter.WaitFor(timings.writeLead);
    const int rampSwitch = g_MachineSettings.Get(0) == 1 ? 1 : 0;
    PushWholeSetting(rampSwitch, EncodeGeometryIntoBlock945);
    Send(&r, {0x0A, 0x00, 1, 0x14, 1, -1});
    Send(&r, {0x0A, 0x00, 1, 0x21, 1, -1});
    Send(&r, {0x0A, 0x00, 4, 0x0B, 6, -1});
    // The push's own writes are not counted one by one; a link that was closed or died on
    // the way refused them as it refused the read-backs.
    r.complete = r.refused == 0 && LinkUsable();
    waiter.WaitFor(timings.writeTail);
    g_bParamChanged = 0;
}

} // namespace

bool SyncWaiter::WaitFor(std::chrono::milliseconds span)
{
    std::unique_lock lock(mutex_);
    if (span.count() <= 0) {
        return !cancelled_;
    }
    return !cv_.wait_for(lock, span, [this] { return cancelled_; });
}

void SyncWaiter::Cancel()
{
    {
        std::lock_guard lock(mutex_);
        cancelled_ = true;
    }
    cv_.notify_all();
}

void SyncWaiter::Rearm()
{
    std::lock_guard lock(mutex_);
    cancelled_ = false;
}

IdentifyVerdict SendIdentification(SyncResult* counts)
{
    // The first pass's answers are not judged: the second makes sure late or lost answers
    // of the first have arrived.
    for (int pass = 0; pass < 2; ++pass) {
        Send(counts, {kCmdModel, -1});
        Send(counts, {kCmdCmdVersion, -1});
        Send(counts, {kCmdMcuVersion, -1});
    }
    return CheckIdentification();
}

SyncResult SynchronizeData(SyncDirection direction, const SyncTimings& timings, SyncWaiter& waiter,
                           const SyncDone& done)
{
    LinkTrace("Start thread:SynchronizeData\n");
    SyncResult r;
    r.direction = direction;
    g_StatusBlock.Fill(0);
    g_bMeterEnable = 0;
    if (direction == SyncDirection::Read) {
        ReadAll(r, timings, waiter);
    } else {
        WriteAll(r, timings, waiter);
    }
    if (done) {
        done(static_cast<int>(direction), r);
    }
    g_StatusBlock.Fill(0);
    g_bMeterEnable = 1;
    return r;
}

Synchronizer::Synchronizer(SyncTimings timings) : timings_(timings) {}

Synchronizer::~Synchronizer()
{
    JoinAll();
}

void Synchronizer::SetTimings(const SyncTimings& timings)
{
    std::lock_guard lock(mutex_);
    timings_ = timings;
}

void Synchronizer::Start(SyncDirection direction, SyncDone done)
{
    std::lock_guard lock(mutex_);
    Reap();
    auto finished = std::make_shared<std::atomic<bool>>(false);
    const SyncTimings timings = timings_;
    std::thread thread([this, direction, timings, finished, done = std::move(done)] {
        SynchronizeData(direction, timings, waiter_, done);
        finished->store(true);
    });
    workers_.push_back({std::move(thread), std::move(finished)});
}

int Synchronizer::Running() const
{
    std::lock_guard lock(mutex_);
    return static_cast<int>(std::count_if(workers_.begin(), workers_.end(),
                                          [](const Worker& w) { return !w.finished->load(); }));
}

void Synchronizer::JoinAll()
{
    std::vector<Worker> workers;
    {
        std::lock_guard lock(mutex_);
        workers.swap(workers_);
    }
    waiter_.Cancel();
    for (Worker& w : workers) {
        if (w.thread.joinable()) {
            w.thread.join();
        }
    }
    waiter_.Rearm();
}

void Synchronizer::Reap()
{
    for (auto it = workers_.begin(); it != workers_.end();) {
        if (it->finished->load()) {
            it->thread.join();
            it = workers_.erase(it);
        } else {
            ++it;
        }
    }
}
