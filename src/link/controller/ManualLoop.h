#pragma once
// A ControllerLoop driven by its owner: virtual time advances only in Advance(), posted tasks
// run only in RunPosted() and friends, all on the calling thread. Tests use it as the window
// thread with a fake clock; the command-line tool drives the controller with it.

#include "link/controller/ControllerLoop.h"

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <mutex>

class ManualLoop : public ControllerLoop
{
public:
    void StartTimer(int id, std::chrono::milliseconds interval, bool repeating,
                    std::function<void()> tick) override;
    void StopTimer(int id) override;
    bool TimerRunning(int id) const override;
    void Post(std::function<void()> task) override;

    // Virtual milliseconds since the loop was made.
    std::chrono::milliseconds Now() const;
    // Moves the clock forward by `span`, firing every timer that falls due on the way in time
    // order (posted tasks run before each tick and at the end).
    void Advance(std::chrono::milliseconds span);
    // Runs the tasks posted so far (and those they post); returns how many ran.
    int RunPosted();
    // Waits in real time up to `limit` for a task to be posted, then runs the queue. False
    // when nothing came (for hand-overs from worker threads; never a timing in itself).
    bool WaitAndRunPosted(std::chrono::milliseconds limit);
    // Waits (real time, up to `limit`) and runs posted tasks until `done` holds.
    bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit);

private:
    struct Timer
    {
        std::chrono::milliseconds due{0};
        std::chrono::milliseconds interval{0};
        bool repeating = false;
        uint64_t generation = 0;
        std::function<void()> tick;
    };

    mutable std::mutex mutex_;
    std::condition_variable posted_;
    std::deque<std::function<void()>> tasks_;
    std::map<int, Timer> timers_;
    std::chrono::milliseconds now_{0};
    uint64_t generation_ = 0;
};
