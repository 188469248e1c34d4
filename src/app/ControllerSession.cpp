#include "app/ControllerSession.h"

#include "app/WindowPause.h"
#include "link/LinkUi.h"

namespace {
// The controller's pauses run on the window thread: they must not freeze the window.
ControllerOptions WithWindowPause(ControllerOptions options)
{
    if (!options.pause) {
        options.pause = PauseRepainting;
    }
    return options;
}
} // namespace

ControllerSession::ControllerSession(UiPort& ui, WatcherFactory watcherFactory,
                                     ControllerOptions options)
    : DisconnectedSession(ui), watcherFactory_(std::move(watcherFactory)),
      controller_(
          std::make_unique<ConnectionController>(loop_, ui, WithWindowPause(std::move(options))))
{
}

ControllerSession::~ControllerSession()
{
    Shutdown();
    watcher_.reset();
    controller_.reset();
}

void ControllerSession::Start()
{
    if (watcherFactory_ && !watcher_) {
        ConnectionController* controller = controller_.get();
        watcher_ = watcherFactory_([controller](DeviceChange change, const std::string& path) {
            if (change == DeviceChange::Arrival) {
                controller->NotifyArrival(path);
            } else {
                controller->NotifyRemoval(path);
            }
        });
    }
    controller_->Start();
}

void ControllerSession::RecallMode(int mode)
{
    controller_->Modes().RecallMode(mode);
}

void ControllerSession::ResetMode(int mode)
{
    controller_->Modes().ResetMode(mode);
}

void ControllerSession::StoreMode(int mode, bool fromKey)
{
    controller_->Modes().StoreMode(mode, fromKey);
}

void ControllerSession::OnModeKey(int mode, bool leftCtrl)
{
    controller_->OnModeKey(mode, leftCtrl);
}

void ControllerSession::LoadModeFile()
{
    controller_->Modes().LoadModeFile();
}

void ControllerSession::SaveModeFile()
{
    controller_->Modes().SaveModeFile();
}

void ControllerSession::OpenDocument(const std::string& path)
{
    controller_->Modes().OpenDocument(path);
}

void ControllerSession::RestartProcessor()
{
    controller_->Modes().RestartProcessor();
}

bool ControllerSession::ConfirmClose()
{
    return shutDown_ || controller_->ConfirmClose();
}

void ControllerSession::Shutdown()
{
    if (shutDown_) {
        return;
    }
    shutDown_ = true;
    controller_->Shutdown();
}

void ControllerSession::OnViewMessage(int message, uintptr_t wParam)
{
    if (message == MSG_SYNC_DONE && !shutDown_) {
        controller_->OnSyncDone(static_cast<int>(wParam));
    }
}

bool ControllerSession::Settled() const
{
    return controller_->SyncsHandled() > 0 && !controller_->SyncDialogShown() &&
           controller_->SyncThreadsRunning() == 0;
}
