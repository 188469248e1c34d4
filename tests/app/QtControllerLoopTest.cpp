// The controller's loop on the Qt event loop: timers that stop or restart themselves from their
// tick, and tasks posted from other threads running on the window thread in order.
#include "app/QtControllerLoop.h"

#include <QCoreApplication>
#include <QTest>
#include <QThread>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>
#include <vector>

using namespace std::chrono_literals;

TEST(QtControllerLoop, RepeatingTimerStoppedFromItsTick_TicksNoMore)
{
    QtControllerLoop loop;
    int ticks = 0;
    loop.StartTimer(3, 5ms, true, [&] {
        if (++ticks == 3) {
            loop.StopTimer(3);
        }
    });
    EXPECT_TRUE(loop.TimerRunning(3));
    EXPECT_TRUE(QTest::qWaitFor([&] { return ticks == 3; }, 2000));
    EXPECT_FALSE(loop.TimerRunning(3));
    QTest::qWait(40);
    EXPECT_EQ(ticks, 3);
}

TEST(QtControllerLoop, TimerRestartedFromItsTick_RunsTheNewTickOnce)
{
    QtControllerLoop loop;
    std::vector<char> seen;
    loop.StartTimer(1, 5ms, false, [&] {
        seen.push_back('a');
        loop.StartTimer(1, 5ms, false, [&] { seen.push_back('b'); });
    });
    EXPECT_TRUE(QTest::qWaitFor([&] { return seen.size() == 2; }, 2000));
    QTest::qWait(30);
    EXPECT_EQ(seen, (std::vector<char>{'a', 'b'}));
    EXPECT_FALSE(loop.TimerRunning(1));
    // Stopping a timer that never ran does nothing.
    loop.StopTimer(42);
    EXPECT_FALSE(loop.TimerRunning(42));
}

TEST(QtControllerLoop, TasksPostedFromAnotherThread_RunOnTheWindowThreadInOrder)
{
    QtControllerLoop loop;
    std::vector<int> order;
    std::atomic<bool> onWindowThread{true};
    std::thread poster([&] {
        for (int i = 0; i < 50; ++i) {
            loop.Post([&, i] {
                onWindowThread = onWindowThread && QThread::currentThread() == qApp->thread();
                order.push_back(i);
            });
        }
    });
    poster.join();
    EXPECT_TRUE(QTest::qWaitFor([&] { return order.size() == 50; }, 2000));
    EXPECT_TRUE(onWindowThread);
    for (int i = 0; i < 50; ++i) {
        EXPECT_EQ(order[static_cast<size_t>(i)], i);
    }
}
