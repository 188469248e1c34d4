// A second start hands over to the first and ends.
#include "app/SingleInstance.h"

#include "app/AppSettings.h"
#include "app/CMainFrame.h"

#include <QCoreApplication>
#include <QFile>
#include <QSysInfo>
#include <QTemporaryDir>
#include <QTest>
#include <QUuid>

#include <gtest/gtest.h>

#include <future>

namespace {
QString UniqueKey()
{
    return "dsp4620-test-" + QUuid::createUuid().toString(QUuid::Id128).left(12);
}

// The second start runs on its own thread: it blocks on the socket while the first instance
// answers from the event loop.
SingleInstance::Result SecondStart(const QString& key, const QString& folder, int timeoutMs)
{
    auto result = std::async(std::launch::async, [&] {
        SingleInstance second(key, folder);
        return second.Acquire(timeoutMs);
    });
    while (result.wait_for(std::chrono::milliseconds(0)) != std::future_status::ready) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return result.get();
}
} // namespace

TEST(SingleInstance, SecondStart_ActivatesTheFirstWindowRestoringIt)
{
    QTemporaryDir dir;
    const QString key = UniqueKey();
    SingleInstance first(key, dir.path());
    ASSERT_EQ(first.Acquire(), SingleInstance::Result::First);

    AppSettings settings(dir.filePath("settings.ini"));
    CMainFrame frame(settings);
    frame.showMinimized();
    QObject::connect(&first, &SingleInstance::ActivateRequested, &frame,
                     &CMainFrame::ActivateFromOtherInstance);
    ASSERT_TRUE(first.Listen());

    EXPECT_EQ(SecondStart(key, dir.path(), 3000), SingleInstance::Result::ActivatedOther);
    EXPECT_FALSE(frame.isMinimized());
    EXPECT_TRUE(frame.isVisible());
}

TEST(SingleInstance, FirstWithoutItsWindowYet_LeavesTheSecondWithNoWindow)
{
    QTemporaryDir dir;
    const QString key = UniqueKey();
    SingleInstance first(key, dir.path());
    ASSERT_EQ(first.Acquire(), SingleInstance::Result::First);
    EXPECT_EQ(SecondStart(key, dir.path(), 300), SingleInstance::Result::NoWindow);
}

TEST(SingleInstance, LockReleasedAfterTheFirstEnds_NextStartIsFirstAgain)
{
    QTemporaryDir dir;
    const QString key = UniqueKey();
    {
        SingleInstance first(key, dir.path());
        ASSERT_EQ(first.Acquire(), SingleInstance::Result::First);
    }
    SingleInstance next(key, dir.path());
    EXPECT_EQ(next.Acquire(), SingleInstance::Result::First);
}

TEST(SingleInstance, UnwritableLockFolder_ReportsLockFailed)
{
    SingleInstance instance(UniqueKey(), "/proc/no-such-folder");
    EXPECT_EQ(instance.Acquire(), SingleInstance::Result::LockFailed);
}

TEST(SingleInstance, LockLeftByAProcessThatDied_IsTakenOver)
{
    QTemporaryDir dir;
    const QString key = UniqueKey();
    QString lockPath;
    {
        // Take the lock once to learn its path, then leave a copy that names a dead process.
        SingleInstance probe(key, dir.path());
        ASSERT_EQ(probe.Acquire(), SingleInstance::Result::First);
        lockPath = probe.LockPath();
    }
    QFile stale(lockPath);
    ASSERT_TRUE(stale.open(QIODevice::WriteOnly));
    // PID, application name, host name: the lock of a crashed run on this machine.
    stale.write(QByteArray("2147483000\ndsp4620\n") + QSysInfo::machineHostName().toUtf8() + "\n");
    stale.close();
    SingleInstance next(key, dir.path());
    EXPECT_EQ(next.Acquire(300), SingleInstance::Result::First);
}
