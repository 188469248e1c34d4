#include "app/QtControllerLoop.h"

#include <QCoreApplication>

QtControllerLoop::QtControllerLoop() : context_(std::make_unique<QObject>())
{
    // Lives on the window thread whoever creates it, so posted tasks run there.
    context_->moveToThread(QCoreApplication::instance()->thread());
}

QtControllerLoop::~QtControllerLoop() = default;

void QtControllerLoop::StartTimer(int id, std::chrono::milliseconds interval, bool repeating,
                                  std::function<void()> tick)
{
    std::unique_ptr<Entry>& slot = timers_[id];
    if (!slot) {
        slot = std::make_unique<Entry>();
        Entry* entry = slot.get();
        QObject::connect(&entry->timer, &QTimer::timeout, [entry] {
            // A copy: the tick may replace itself by restarting the timer.
            const std::function<void()> run = entry->tick;
            if (run) {
                run();
            }
        });
    }
    slot->timer.stop();
    slot->tick = std::move(tick);
    slot->timer.setSingleShot(!repeating);
    slot->timer.setTimerType(Qt::PreciseTimer);
    slot->timer.start(interval);
}

void QtControllerLoop::StopTimer(int id)
{
    const auto it = timers_.find(id);
    if (it != timers_.end()) {
        it->second->timer.stop();
    }
}

bool QtControllerLoop::TimerRunning(int id) const
{
    const auto it = timers_.find(id);
    return it != timers_.end() && it->second->timer.isActive();
}

void QtControllerLoop::Post(std::function<void()> task)
{
    // Queued calls to one receiver run in the order they were posted.
    QMetaObject::invokeMethod(
        context_.get(), [task = std::move(task)] { task(); }, Qt::QueuedConnection);
}
