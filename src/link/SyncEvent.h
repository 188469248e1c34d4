#pragma once
// A Win32-style event: the transport paces writers on one (auto-reset, so each input report
// releases one writer) and waits for the read thread's exit on another.

#include <chrono>
#include <condition_variable>
#include <mutex>

class SyncEvent
{
public:
    SyncEvent(bool autoReset, bool signalled) : autoReset_(autoReset), signalled_(signalled) {}

    void Set();
    void Reset();
    // True when the event was signalled within the timeout; an auto-reset event is then
    // consumed.
    bool Wait(std::chrono::milliseconds timeout);
    bool IsSet() const;

private:
    const bool autoReset_;
    bool signalled_;
    mutable std::mutex mutex_;
    std::condition_variable cv_;
};
