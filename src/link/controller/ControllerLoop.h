#pragma once
// The event loop the controller runs on: named timers and tasks posted from other threads.
// The shell runs them on its window thread's event loop; tests and the command-line tool use
// ManualLoop, whose clock moves only when told to.

#include <chrono>
#include <functional>

class ControllerLoop
{
public:
    virtual ~ControllerLoop() = default;
    // Starts timer `id`, replacing a running one of the same id: `tick` runs on the loop
    // thread after `interval`, and again after every further interval when repeating.
    virtual void StartTimer(int id, std::chrono::milliseconds interval, bool repeating,
                            std::function<void()> tick) = 0;
    // Stopping a timer that does not run does nothing. Safe to call from inside its tick.
    virtual void StopTimer(int id) = 0;
    virtual bool TimerRunning(int id) const = 0;
    // Any thread: `task` runs on the loop thread soon, tasks in the order they were posted.
    virtual void Post(std::function<void()> task) = 0;
};
