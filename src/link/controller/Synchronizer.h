#pragma once
// Synchronisation of the whole setting with the processor, in either direction, on a worker
// thread. Read: identification (two passes), current mode, mode names, DSP version, the 157
// parameter reads, the whole device memory, machine settings and remote key table. Write:
// the full push of parameters, device memory and equaliser biquads, then three read-backs.
// Every command goes through the paced transport, so a silent processor makes the thread
// slow but never stops it, and a closed link makes it finish at once.

#include "link/controller/Identification.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <functional>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

enum class SyncDirection
{
    Read = 0, // MSG_SYNC_DONE wParam 0
    Write = 1 // wParam 1
};

struct SyncTimings
{
    std::chrono::milliseconds settle{2800};   // before identification: the processor settles
    std::chrono::milliseconds readTail{200};  // after a complete read
    std::chrono::milliseconds writeLead{100}; // before the push
    std::chrono::milliseconds writeTail{50};  // after the read-backs of a write
    static SyncTimings Zero()
    {
        const std::chrono::milliseconds none(0);
        return {none, none, none, none};
    }
};

struct SyncResult
{
    SyncDirection direction = SyncDirection::Read;
    // Read: the identification verdict after the second pass. Write: not judged (Accepted).
    IdentifyVerdict verdict = IdentifyVerdict::Accepted;
    int sent = 0;    // commands the transport accepted
    int refused = 0; // commands refused (link closed or dead)
    // Every command of the direction went out and the link is still usable.
    bool complete = false;
};

// A pause that ends early when cancelled (program exit), so no thread outlives its owner by
// seconds.
class SyncWaiter
{
public:
    // False when cancelled.
    bool WaitFor(std::chrono::milliseconds span);
    void Cancel();
    void Rearm();

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool cancelled_ = false;
};

// The two identification passes (0x80 0x7F 0x81, twice) and the verdict after them.
IdentifyVerdict SendIdentification(SyncResult* counts);

// One synchronisation on the calling thread: the flag and status-block resets, the pauses,
// the commands, and `done` where the main view is told (MSG_SYNC_DONE with wParam =
// direction), before the final resets.
using SyncDone = std::function<void(int wParam, const SyncResult& result)>;
SyncResult SynchronizeData(SyncDirection direction, const SyncTimings& timings, SyncWaiter& waiter,
                           const SyncDone& done);

// Runs synchronisations on their own threads; nothing stops a running one, the destructor
// only cuts its pauses short and joins it.
class Synchronizer
{
public:
    explicit Synchronizer(SyncTimings timings = {});
    ~Synchronizer();
    Synchronizer(const Synchronizer&) = delete;
    Synchronizer& operator=(const Synchronizer&) = delete;

    void SetTimings(const SyncTimings& timings);
    // Starts a thread; `done` is called on it when the main view is to be told.
    void Start(SyncDirection direction, SyncDone done);
    // Threads that have not yet finished.
    int Running() const;
    // Cuts the pauses of running threads short and waits for all of them.
    void JoinAll();

private:
    struct Worker
    {
        std::thread thread;
        std::shared_ptr<std::atomic<bool>> finished;
    };
    void Reap();

    mutable std::mutex mutex_;
    SyncTimings timings_;
    SyncWaiter waiter_;
    std::vector<Worker> workers_;
};
