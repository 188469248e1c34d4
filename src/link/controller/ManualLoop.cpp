#include "link/controller/ManualLoop.h"

#include <algorithm>
#include <optional>
#include <utility>

void ManualLoop::StartTimer(int id, std::chrono::milliseconds interval, bool repeating,
                            std::function<void()> tick)
{
    std::lock_guard lock(mutex_);
    Timer& t = timers_[id];
    t.due = now_ + interval;
    t.interval = interval;
    t.repeating = repeating;
    t.generation = ++generation_;
    t.tick = std::move(tick);
}

void ManualLoop::StopTimer(int id)
{
    std::lock_guard lock(mutex_);
    timers_.erase(id);
}

bool ManualLoop::TimerRunning(int id) const
{
    std::lock_guard lock(mutex_);
    return timers_.count(id) != 0;
}

void ManualLoop::Post(std::function<void()> task)
{
    {
        std::lock_guard lock(mutex_);
        tasks_.push_back(std::move(task));
    }
    posted_.notify_all();
}

std::chrono::milliseconds ManualLoop::Now() const
{
    std::lock_guard lock(mutex_);
    return now_;
}

void ManualLoop::Advance(std::chrono::milliseconds span)
{
    std::chrono::milliseconds end;
    {
        std::lock_guard lock(mutex_);
        end = now_ + span;
    }
    for (;;) {
        RunPosted();
        std::function<void()> tick;
        {
            std::lock_guard lock(mutex_);
            // The earliest due timer (ties: the one started first).
            std::optional<std::pair<int, Timer*>> next;
            for (auto& [id, t] : timers_) {
                if (t.due <= end &&
                    (!next || t.due < next->second->due ||
                     (t.due == next->second->due && t.generation < next->second->generation))) {
                    next = std::make_pair(id, &t);
                }
            }
            if (!next) {
                now_ = end;
                break;
            }
            Timer& t = *next->second;
            now_ = t.due;
            tick = t.tick;
            if (t.repeating) {
                // A zero interval would fire forever within one Advance.
                t.due += t.interval.count() > 0 ? t.interval : std::chrono::milliseconds(1);
            } else {
                timers_.erase(next->first);
            }
        }
        if (tick) {
            tick();
        }
    }
    RunPosted();
}

int ManualLoop::RunPosted()
{
    int count = 0;
    for (;;) {
        std::function<void()> task;
        {
            std::lock_guard lock(mutex_);
            if (tasks_.empty()) {
                return count;
            }
            task = std::move(tasks_.front());
            tasks_.pop_front();
        }
        task();
        ++count;
    }
}

bool ManualLoop::WaitAndRunPosted(std::chrono::milliseconds limit)
{
    {
        std::unique_lock lock(mutex_);
        if (!posted_.wait_for(lock, limit, [this] { return !tasks_.empty(); })) {
            return false;
        }
    }
    RunPosted();
    return true;
}

bool ManualLoop::RunUntil(const std::function<bool()>& done, std::chrono::milliseconds limit)
{
    const auto end = std::chrono::steady_clock::now() + limit;
    RunPosted();
    while (!done()) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            end - std::chrono::steady_clock::now());
        if (left.count() <= 0) {
            return false;
        }
        // In short slices: the condition may also change without a post (a thread ending).
        WaitAndRunPosted(std::min(left, std::chrono::milliseconds(5)));
    }
    return true;
}
