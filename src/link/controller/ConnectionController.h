#pragma once
// The connection controller: when the link to the processor is opened and closed, what
// happens when it is plugged in or pulled out, the read synchronisation after every
// connection with its wait dialog, the identification check that accepts or rejects the
// processor, the 300 ms status poll and the farewell on exit. It also owns the device modes
// (DeviceModes). Everything runs on the loop thread of the main view; device notifications
// and the synchronisation threads hand over to it through the loop.
//
// Toolkit-free: the user sees everything through the UiPort, timers come from the
// ControllerLoop, and the pauses the window thread makes go through an injectable function.
//
// Wiring in a shell: a ControllerLoop on the window thread's event loop, a UiPort, the
// controller, then a device watcher (StartHardwareWatcher for hidraw, VirtualBusWatcher for
// the emulator) whose handler calls NotifyArrival / NotifyRemoval, and only then Start(), so
// that no arrival between the first enumeration and the watch is missed. On closing:
// ConfirmClose(), Shutdown(), then destroy the watcher before the controller.

#include "link/controller/ControllerLoop.h"
#include "link/controller/DeviceModes.h"
#include "link/controller/Identification.h"
#include "link/controller/Synchronizer.h"
#include "link/controller/UiPort.h"

#include <atomic>
#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>

// The user's switch for the status poll ("Peak" in the About box); 1 at start.
extern std::atomic<int> g_bPeakPolling;

// Timer ids on the controller's loop.
inline constexpr int kConnectTimerId = 1;
inline constexpr int kPollTimerId = 3;
inline constexpr int kBalloonTimerId = 990;
inline constexpr int kSyncProgressTimerId = 347001; // the wait dialog's progress step
inline constexpr int kSyncTimeoutTimerId = 347110;  // the wait dialog's time-out

inline constexpr std::chrono::milliseconds kConnectDelay{250};
inline constexpr std::chrono::milliseconds kPollInterval{300};
inline constexpr std::chrono::milliseconds kSyncProgressInterval{150};
inline constexpr std::chrono::milliseconds kSyncTimeout{20000};
inline constexpr int kSyncProgressStep = 10;

inline constexpr int kBalloonStartupMs = 5000;
inline constexpr int kBalloonArrivalMs = 4000;
inline constexpr int kBalloonRemovalMs = 5000;

// Pauses the window thread makes (the shell's defaults; tests inject zero and record them).
struct WindowPauses
{
    std::chrono::milliseconds afterAccept{150};
    std::chrono::milliseconds selectToStore{20};
    std::chrono::milliseconds storeMenu{500};
    std::chrono::milliseconds storeKey{1500};
};

struct ControllerOptions
{
    SyncTimings sync;
    WindowPauses pauses;
    // How a window-thread pause is made; empty sleeps for real.
    std::function<void(std::chrono::milliseconds)> pause;
};

class ConnectionController
{
public:
    ConnectionController(ControllerLoop& loop, UiPort& ui, ControllerOptions options = {});
    // Stops the controller's timers and waits for running synchronisation threads (call
    // Shutdown first so that they find the link closed and end at once).
    ~ConnectionController();
    ConnectionController(const ConnectionController&) = delete;
    ConnectionController& operator=(const ConnectionController&) = delete;

    // The main view exists: one connection attempt after 250 ms, and never a periodic one.
    void Start();

    // Device notifications, from any thread (a device watcher, the emulator's bus): they
    // are handled on the loop thread in the order they came. Watchers that call these must
    // be destroyed before the controller.
    void NotifyArrival(const std::string& path);
    void NotifyRemoval(const std::string& path);
    // The same on the loop thread.
    void OnArrival(const std::string& path);
    void OnRemoval(const std::string& path);
    // MSG_SYNC_DONE: after a read (wParam 0) the setting read back is limited to its valid
    // ranges, then the identification check; an accepted processor with values out of range
    // gets one warning box with their count.
    void OnSyncDone(int wParam);
    // A click on the notification-area icon removes it at once.
    void OnBalloonClicked();

    // Starts a synchronisation thread and shows the wait dialog (when none is shown).
    void StartSynchronisation(SyncDirection direction);

    bool IsConnected() const;
    bool SyncDialogShown() const { return syncDialogOpen_; }
    // F-keys are taken only while the link is open and no wait dialog is shown.
    bool AcceptsModeKeys() const;
    // F1..F4 (mode 0..3): with the left Ctrl key held stores, otherwise recalls.
    void OnModeKey(int mode, bool leftCtrl);

    bool PeakPolling() const { return g_bPeakPolling.load() != 0; }
    void SetPeakPolling(bool on) { g_bPeakPolling = on ? 1 : 0; }

    DeviceModes& Modes() { return modes_; }

    // Closing the main frame: the changed-parameters prompt. False keeps the program open.
    bool ConfirmClose() { return modes_.ConfirmClose(); }
    // Last step of closing: the farewell and the link closed; timers stopped.
    void Shutdown();

    // The path of the last opened processor (what removals are compared with).
    std::string StoredDevicePath() const { return storedPath_; }
    // The outcome of the last synchronisation whose end reached the loop.
    SyncResult LastSyncResult() const { return lastResult_; }
    // Synchronisation ends handled on the loop so far (accepted or rejected).
    int SyncsHandled() const { return syncsHandled_; }
    int SyncThreadsRunning() const { return synchronizer_.Running(); }

    // A window-thread pause (used by the device modes too).
    void Pause(std::chrono::milliseconds span);
    const WindowPauses& Pauses() const { return options_.pauses; }
    UiPort& Ui() { return ui_; }

private:
    void ConnectAndSynchronise(bool arrival);
    void ShowBalloon(const std::string& text, int displayMs);
    void OpenSyncDialog();
    void CloseSyncDialog();
    void OnSyncProgressTick();
    void OnSyncTimeout();
    void AfterSyncDialog();
    void OnPollTick();
    void Reject(IdentifyVerdict verdict);
    void PostToLoop(std::function<void()> task);

    ControllerLoop& loop_;
    UiPort& ui_;
    ControllerOptions options_;
    Synchronizer synchronizer_;
    DeviceModes modes_;
    std::string storedPath_;
    bool syncDialogOpen_ = false;
    int syncProgress_ = 0;
    bool pollAfterDialog_ = false;
    bool mismatchGuard_ = true;
    SyncResult lastResult_;
    int syncsHandled_ = 0;
    // Tasks posted to the loop run only while the controller lives.
    std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};
