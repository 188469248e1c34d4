#pragma once
// The connection controller's loop on the window thread: its timers are QTimers and tasks
// posted from other threads are queued calls to the window thread's event loop, so they also
// run inside the nested loops of modal boxes and the synchronisation dialog.

#include "link/controller/ControllerLoop.h"

#include <QObject>
#include <QTimer>

#include <map>
#include <memory>

class QtControllerLoop : public ControllerLoop
{
public:
    QtControllerLoop();
    ~QtControllerLoop() override;
    QtControllerLoop(const QtControllerLoop&) = delete;
    QtControllerLoop& operator=(const QtControllerLoop&) = delete;

    void StartTimer(int id, std::chrono::milliseconds interval, bool repeating,
                    std::function<void()> tick) override;
    void StopTimer(int id) override;
    bool TimerRunning(int id) const override;
    void Post(std::function<void()> task) override;

private:
    struct Entry
    {
        QTimer timer;
        std::function<void()> tick;
    };
    // Entries are kept once made, so a tick may stop or restart its own timer.
    std::map<int, std::unique_ptr<Entry>> timers_;
    // The receiver of posted tasks; tasks still queued when it goes are dropped.
    std::unique_ptr<QObject> context_;
};
