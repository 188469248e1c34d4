#pragma once
// The connection controller against an emulated processor on the virtual HID bus, through
// the real transport. The test thread is the window thread: a ManualLoop with a fake clock
// runs the controller's timers, and a recording UI port logs what the user would see and
// answers the questions.

#include "dsp/Dynamics.h"
#include "link/LinkState.h"
#include "link/Protocol.h"
#include "link/UsbTransport.h"
#include "link/controller/ConnectionController.h"
#include "link/controller/ManualLoop.h"
#include "link/controller/VirtualBusWatcher.h"
#include "link/emulator/EmulatedProcessor.h"
#include "link/emulator/VirtualHidBus.h"
#include "model/CmdVersion.h"
#include "model/DeviceMemory.h"
#include "model/ParamStore.h"
#include "model/SoundFieldGeometry.h"

#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

using namespace std::chrono_literals;

// Logs every call as one line and answers from queues (default: Ok for boxes, cancelled
// file dialogs).
class RecordingUiPort : public UiPort
{
public:
    void ShowBalloon(const std::string& title, const std::string& text, int displayMs) override
    {
        Log("balloon " + title + " | " + text + " | " + std::to_string(displayMs));
    }
    void HideBalloon() override { Log("hide balloon"); }
    UiAnswer AskUser(const std::string& text, const std::string& caption, UiButtons buttons,
                     UiIcon icon) override
    {
        (void)buttons;
        (void)icon;
        Log("ask " + text + " | " + caption);
        if (onAsk) {
            onAsk(text);
        }
        if (answers.empty()) {
            return UiAnswer::Ok;
        }
        const UiAnswer a = answers.front();
        answers.pop_front();
        return a;
    }
    void ShowInfo(const std::string& text, int displayMs) override
    {
        Log("info " + text + " | " + std::to_string(displayMs));
    }
    void ShowSyncDialog(const std::string& title, const std::string& text) override
    {
        Log("sync dialog " + title + " | " + text);
    }
    void SetSyncProgress(int percent) override { progress.push_back(percent); }
    void CloseSyncDialog() override { Log("close sync dialog"); }
    std::string AskOpenModeFile() override
    {
        Log("open dialog");
        return TakeFile();
    }
    std::string AskSaveModeFile(const std::string& defaultName) override
    {
        Log("save dialog " + defaultName);
        return TakeFile();
    }
    void AddRecentFile(const std::string& path) override { Log("recent " + path); }
    void RefreshAll() override { Log("refresh all"); }
    void CloseToolWindows() override { Log("close tool windows"); }
    void RefreshMusicSource() override { ++musicSourceRefreshes; }

    void Log(const std::string& line) { log.push_back(line); }
    bool Logged(const std::string& line) const
    {
        for (const std::string& l : log) {
            if (l == line) {
                return true;
            }
        }
        return false;
    }
    int CountStartingWith(const std::string& prefix) const
    {
        int n = 0;
        for (const std::string& l : log) {
            n += l.rfind(prefix, 0) == 0 ? 1 : 0;
        }
        return n;
    }
    std::string TakeFile()
    {
        if (files.empty()) {
            return {};
        }
        std::string f = files.front();
        files.pop_front();
        return f;
    }

    std::vector<std::string> log;
    std::vector<int> progress;
    int musicSourceRefreshes = 0;
    std::deque<UiAnswer> answers;
    std::deque<std::string> files;
    std::function<void(const std::string& text)> onAsk;
};

// Every report written to the processor, and an optional hook run before each write (on
// the writer's thread, with the number of reports written so far).
class WireLog
{
public:
    WireLog()
    {
        SetUsbWireObserver([this](char direction, const Report& report) {
            if (direction != '>') {
                return;
            }
            std::function<void(size_t)> hook;
            size_t count = 0;
            {
                std::lock_guard lock(mutex_);
                count = sent_.size();
                hook = beforeWrite_;
            }
            if (hook) {
                hook(count);
            }
            std::lock_guard lock(mutex_);
            sent_.push_back(report);
        });
    }
    ~WireLog() { SetUsbWireObserver({}); }
    std::vector<Report> Sent() const
    {
        std::lock_guard lock(mutex_);
        return sent_;
    }
    std::vector<Report> SentSince(size_t mark) const
    {
        std::lock_guard lock(mutex_);
        return std::vector<Report>(sent_.begin() + static_cast<std::ptrdiff_t>(mark), sent_.end());
    }
    size_t Mark() const
    {
        std::lock_guard lock(mutex_);
        return sent_.size();
    }
    void SetBeforeWrite(std::function<void(size_t)> hook)
    {
        std::lock_guard lock(mutex_);
        beforeWrite_ = std::move(hook);
    }

private:
    mutable std::mutex mutex_;
    std::vector<Report> sent_;
    std::function<void(size_t)> beforeWrite_;
};

// Holds a writer thread until released (for faults at an exact point of a synchronisation).
class Gate
{
public:
    void Close()
    {
        std::lock_guard lock(mutex_);
        open_ = false;
    }
    void Open()
    {
        {
            std::lock_guard lock(mutex_);
            open_ = true;
        }
        cv_.notify_all();
    }
    void WaitOpen()
    {
        std::unique_lock lock(mutex_);
        reached_ = true;
        cv_.notify_all();
        cv_.wait_for(lock, 20s, [this] { return open_; });
    }
    bool WaitReached()
    {
        std::unique_lock lock(mutex_);
        return cv_.wait_for(lock, 10s, [this] { return reached_; });
    }

private:
    std::mutex mutex_;
    std::condition_variable cv_;
    bool open_ = true;
    bool reached_ = false;
};

inline constexpr const char* kProcessorPath = "/dev/hidraw-dsp4620";

inline Report Command(std::initializer_list<int> values)
{
    std::vector<int> v(values);
    v.push_back(-1);
    return BuildCommandReport(v);
}

class ControllerTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ResetLinkState();
        g_bConnected = 0;
        g_bReadThreadEnd = 0;
        g_bPeakPolling = 1;
        ParamStore.ResetToDefaults();
        ResetDeviceMemoryToStartup();
        previousPause_ = SetPauseFunction([](int) {});
        SetUsbBackend(&bus);
        // The emulated processor answers every command within a millisecond; the pacing is
        // kept short for the tests that make it drop or withhold answers, where the next
        // write waits for the whole pacing time.
        SetUsbTimings({std::chrono::milliseconds(20), std::chrono::milliseconds(200)});
    }

    void TearDown() override
    {
        if (controller) {
            controller->Shutdown();
            controller.reset();
        }
        watcher.reset();
        CloseUsbDevice(false);
        SetUsbBackend(nullptr);
        SetUsbTimings({});
        SetPauseFunction(previousPause_);
    }

    EmulatorOptions ProcessorOptions() const
    {
        EmulatorOptions o;
        o.latency = 0ms;
        o.restartDelay = 5ms;
        return o;
    }

    std::shared_ptr<EmulatedProcessor> AddProcessor(EmulatorOptions options)
    {
        std::string error;
        auto p = EmulatedProcessor::Create(options, &error);
        EXPECT_TRUE(p) << error;
        bus.AddInterface({kProcessorPath, 1, 0x2010, 0x1031, p, ""});
        return p;
    }
    std::shared_ptr<EmulatedProcessor> AddProcessor() { return AddProcessor(ProcessorOptions()); }

    void MakeController()
    {
        ControllerOptions options;
        options.sync = SyncTimings::Zero();
        options.pause = [this](std::chrono::milliseconds span) {
            ui.Log("pause " + std::to_string(span.count()));
        };
        controller = std::make_unique<ConnectionController>(loop, ui, options);
        watcher = std::make_unique<VirtualBusWatcher>(
            bus, [this](DeviceChange change, const std::string& path) {
                if (change == DeviceChange::Arrival) {
                    controller->NotifyArrival(path);
                } else {
                    controller->NotifyRemoval(path);
                }
            });
    }

    // Runs the loop until the running synchronisations have ended and their completion
    // was handled.
    bool FinishSync()
    {
        return loop.RunUntil(
            [this] {
                loop.RunPosted();
                return controller->SyncThreadsRunning() == 0 && loop.RunPosted() == 0;
            },
            15s);
    }

    // Start-up with the processor attached, up to the accepted read synchronisation.
    void ConnectAtStartup()
    {
        MakeController();
        controller->Start();
        loop.Advance(kConnectDelay);
        ASSERT_TRUE(FinishSync());
    }

    VirtualHidBus bus;
    ManualLoop loop;
    RecordingUiPort ui;
    WireLog wire;
    std::unique_ptr<ConnectionController> controller;
    std::unique_ptr<VirtualBusWatcher> watcher;
    PauseFunction previousPause_;
};

// The exact reports of an accepted read synchronisation.
std::vector<Report> ExpectedReadSync();
std::vector<Report> IdentificationReports();
// Command bytes of a list of reports, for readable failures.
std::vector<int> CommandBytes(const std::vector<Report>& reports);
