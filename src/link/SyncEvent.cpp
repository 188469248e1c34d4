#include "link/SyncEvent.h"

void SyncEvent::Set()
{
    {
        std::lock_guard lock(mutex_);
        signalled_ = true;
    }
    if (autoReset_) {
        cv_.notify_one();
    } else {
        cv_.notify_all();
    }
}

void SyncEvent::Reset()
{
    std::lock_guard lock(mutex_);
    signalled_ = false;
}

bool SyncEvent::Wait(std::chrono::milliseconds timeout)
{
    std::unique_lock lock(mutex_);
    if (!cv_.wait_for(lock, timeout, [this] { return signalled_; })) {
        return false;
    }
    if (autoReset_) {
        signalled_ = false;
    }
    return true;
}

bool SyncEvent::IsSet() const
{
    std::lock_guard lock(mutex_);
    return signalled_;
}
