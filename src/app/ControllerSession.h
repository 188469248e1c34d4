#pragma once
// The device session of a program with a HID backend: the connection controller on the
// window thread's loop, its device modes, and the device watcher that tells it of arrivals
// and removals. The link state is read as DisconnectedSession reads it; the commands go to the
// controller.

#include "app/DeviceSession.h"
#include "app/QtControllerLoop.h"
#include "link/controller/ConnectionController.h"
#include "link/controller/DeviceWatcher.h"

#include <functional>
#include <memory>

class ControllerSession : public DisconnectedSession
{
public:
    // Makes the watcher for the given handler (the virtual bus's or the hardware's).
    using WatcherFactory = std::function<std::unique_ptr<DeviceWatcher>(DeviceChangeHandler)>;

    ControllerSession(UiPort& ui, WatcherFactory watcherFactory, ControllerOptions options = {});
    // The watcher goes before the controller, so no notification reaches a dead controller.
    ~ControllerSession() override;

    // The watcher first, then the controller's first connection attempt, so no arrival
    // between the first enumeration and the watch is missed.
    void Start() override;

    bool PeakPolling() const override { return controller_->PeakPolling(); }
    void SetPeakPolling(bool on) override { controller_->SetPeakPolling(on); }
    bool SyncDialogShown() const override { return controller_->SyncDialogShown(); }
    bool AcceptsModeKeys() const override { return controller_->AcceptsModeKeys(); }

    void RecallMode(int mode) override;
    void StoreMode(int mode, bool fromKey) override;
    void ResetMode(int mode) override;
    void OnModeKey(int mode, bool leftCtrl) override;
    void LoadModeFile() override;
    void SaveModeFile() override;
    void OpenDocument(const std::string& path) override;
    void RestartProcessor() override;
    bool ConfirmClose() override;
    void Shutdown() override;
    void OnViewMessage(int message, uintptr_t wParam) override;

    // The first synchronisation has ended, its result was handled and its dialog is closed.
    bool Settled() const;

    ConnectionController& Controller() { return *controller_; }
    DeviceWatcher* Watcher() const { return watcher_.get(); }

private:
    WatcherFactory watcherFactory_;
    QtControllerLoop loop_;
    std::unique_ptr<ConnectionController> controller_;
    std::unique_ptr<DeviceWatcher> watcher_;
    bool shutDown_ = false;
};
