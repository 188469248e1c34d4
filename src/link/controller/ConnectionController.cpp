#include "link/controller/ConnectionController.h"

#include "files/FileMessages.h"
#include "i18n/Language.h"
#include "link/LinkState.h"
#include "link/LinkTrace.h"
#include "link/Protocol.h"
#include "link/UsbTransport.h"
#include "model/CellRanges.h"

#include <thread>
#include <utility>

std::atomic<int> g_bPeakPolling{1};

namespace {

constexpr TextPair kBalloonTitle = {"信息", "Information"};
constexpr TextPair kConnectedText = {"设备已连接，同步中……", "Device connected!"};
constexpr TextPair kDisconnectedText = {"设备已断开!", "Device Disconnected!"};
constexpr TextPair kSyncTitle = {"同步过程", "Synchronize"};
constexpr TextPair kSyncText = {"当前正在与机器同步数据,请稍后......", "Please wait a moment……"};
constexpr const char* kSyncTimeoutText = "发生错误，与设备数据同步超时……";
constexpr const char* kErrorCaption = "错误";

} // namespace

ConnectionController::ConnectionController(ControllerLoop& loop, UiPort& ui,
                                           ControllerOptions options)
    : loop_(loop), ui_(ui), options_(std::move(options)), synchronizer_(options_.sync),
      modes_(*this)
{
}

ConnectionController::~ConnectionController()
{
    for (int id : {kConnectTimerId, kPollTimerId, kBalloonTimerId, kSyncProgressTimerId,
                   kSyncTimeoutTimerId}) {
        loop_.StopTimer(id);
    }
    alive_.reset();
    synchronizer_.JoinAll();
}

void ConnectionController::PostToLoop(std::function<void()> task)
{
    loop_.Post([weak = std::weak_ptr<int>(alive_), task = std::move(task)] {
        if (weak.lock()) {
            task();
        }
    });
}

void ConnectionController::Start()
{
    loop_.StartTimer(kConnectTimerId, kConnectDelay, false, [this] {
        loop_.StopTimer(kConnectTimerId);
        ConnectAndSynchronise(false);
    });
}

void ConnectionController::NotifyArrival(const std::string& path)
{
    PostToLoop([this, path] { OnArrival(path); });
}

void ConnectionController::NotifyRemoval(const std::string& path)
{
    PostToLoop([this, path] { OnRemoval(path); });
}

bool ConnectionController::IsConnected() const
{
    return g_bConnected.load() == 1;
}

bool ConnectionController::AcceptsModeKeys() const
{
    return IsConnected() && !syncDialogOpen_;
}

void ConnectionController::OnModeKey(int mode, bool leftCtrl)
{
    if (!AcceptsModeKeys()) {
        return;
    }
    if (leftCtrl) {
        modes_.StoreMode(mode, true);
    } else {
        modes_.RecallMode(mode);
    }
}

void ConnectionController::Pause(std::chrono::milliseconds span)
{
    if (options_.pause) {
        options_.pause(span);
    } else if (span.count() > 0) {
        std::this_thread::sleep_for(span);
    }
}

void ConnectionController::OnArrival(const std::string& path)
{
    (void)path; // any HID arrival is a reason to look for the processor
    ConnectAndSynchronise(true);
}

void ConnectionController::ConnectAndSynchronise(bool arrival)
{
    if (IsConnected()) {
        return;
    }
    if (ConnectUsbDevice() != 1) {
        return; // the next arrival tries again; there is no periodic retry
    }
    storedPath_ = UsbDevicePath();
    if (arrival) {
        // Rebuilt from the new data when next opened.
        ui_.CloseToolWindows();
    }
    ShowBalloon(kConnectedText.Text(), arrival ? kBalloonArrivalMs : kBalloonStartupMs);
    // The poll starts once the wait dialog has closed, so no poll is sent during the first
    // synchronisation.
    pollAfterDialog_ = true;
    StartSynchronisation(SyncDirection::Read);
    if (!syncDialogOpen_) {
        AfterSyncDialog();
    }
}

void ConnectionController::OnRemoval(const std::string& path)
{
    LinkTrace("removed!\n");
    // Exact comparison: a path differing only in letter case is another device.
    if (storedPath_.empty() || path != storedPath_) {
        return;
    }
    if (IsConnected()) {
        CloseUsbDevice(false);
    }
    loop_.StopTimer(kPollTimerId);
    ShowBalloon(kDisconnectedText.Text(), kBalloonRemovalMs);
}

void ConnectionController::ShowBalloon(const std::string& text, int displayMs)
{
    ui_.ShowBalloon(kBalloonTitle.Text(), text, displayMs);
    loop_.StartTimer(kBalloonTimerId, std::chrono::milliseconds(displayMs), false, [this] {
        loop_.StopTimer(kBalloonTimerId);
        ui_.HideBalloon();
    });
}

void ConnectionController::OnBalloonClicked()
{
    loop_.StopTimer(kBalloonTimerId);
    ui_.HideBalloon();
}

void ConnectionController::StartSynchronisation(SyncDirection direction)
{
    // The thread touches nothing of the controller but the loop: the token is taken here.
    synchronizer_.Start(
        direction, [this, weak = std::weak_ptr<int>(alive_)](int wParam, const SyncResult& result) {
            loop_.Post([this, weak, wParam, result] {
                if (weak.lock()) {
                    lastResult_ = result;
                    OnSyncDone(wParam);
                }
            });
        });
    OpenSyncDialog();
}

void ConnectionController::OpenSyncDialog()
{
    if (syncDialogOpen_) {
        return;
    }
    syncDialogOpen_ = true;
    syncProgress_ = 0;
    loop_.StartTimer(kSyncProgressTimerId, kSyncProgressInterval, true,
                     [this] { OnSyncProgressTick(); });
    loop_.StartTimer(kSyncTimeoutTimerId, kSyncTimeout, false, [this] { OnSyncTimeout(); });
    // May run a nested loop until CloseSyncDialog.
    ui_.ShowSyncDialog(kSyncTitle.Text(), kSyncText.Text());
}

void ConnectionController::CloseSyncDialog()
{
    loop_.StopTimer(kSyncProgressTimerId);
    loop_.StopTimer(kSyncTimeoutTimerId);
    syncDialogOpen_ = false;
    ui_.CloseSyncDialog();
}

void ConnectionController::OnSyncProgressTick()
{
    // Activity, not progress: steps of 10, back to 0 after 100.
    syncProgress_ += kSyncProgressStep;
    if (syncProgress_ > 100) {
        syncProgress_ = 0;
    }
    ui_.SetSyncProgress(syncProgress_);
}

void ConnectionController::OnSyncTimeout()
{
    // The thread goes on; its completion later finds no dialog to close.
    CloseSyncDialog();
    ui_.AskUser(kSyncTimeoutText, kErrorCaption, UiButtons::Ok, UiIcon::Error);
    AfterSyncDialog();
}

void ConnectionController::AfterSyncDialog()
{
    if (!pollAfterDialog_) {
        return;
    }
    pollAfterDialog_ = false;
    // A rejection during the dialog has closed the link already: nothing to poll.
    if (IsConnected()) {
        loop_.StartTimer(kPollTimerId, kPollInterval, true, [this] { OnPollTick(); });
    }
}

void ConnectionController::OnPollTick()
{
    if (g_bMeterEnable.load() != 0 && IsConnected() && g_bPeakPolling.load() != 0) {
        SendCommand({kCmdStatus, -1});
    }
    ui_.RefreshMusicSource();
}

void ConnectionController::OnSyncDone(int wParam)
{
    ++syncsHandled_;
    if (syncDialogOpen_) {
        CloseSyncDialog();
        AfterSyncDialog();
    }
    // What the processor reported is brought into range before anything shows or sends it.
    const int limited = wParam == static_cast<int>(SyncDirection::Read) ? LimitCurrentSetting() : 0;
    const IdentifyVerdict verdict = CheckIdentification();
    if (verdict == IdentifyVerdict::Accepted) {
        modes_.RunPendingMode();
        ui_.RefreshAll();
        if (limited > 0) {
            ui_.AskUser(OutOfRangeText(limited, {}), OutOfRangeCaption(), UiButtons::Ok,
                        UiIcon::Warning);
        }
        Pause(options_.pauses.afterAccept);
        return;
    }
    Reject(verdict);
}

void ConnectionController::Reject(IdentifyVerdict verdict)
{
    CloseUsbDevice(true);
    loop_.StopTimer(kPollTimerId);
    if (!mismatchGuard_) {
        return; // a mismatch box is open already
    }
    mismatchGuard_ = false;
    ui_.AskUser(RejectionText(verdict), kRejectionCaption, UiButtons::Ok, UiIcon::Error);
    mismatchGuard_ = true;
}

void ConnectionController::Shutdown()
{
    CloseUsbDevice(true);
    for (int id : {kConnectTimerId, kPollTimerId, kSyncProgressTimerId, kSyncTimeoutTimerId}) {
        loop_.StopTimer(id);
    }
    synchronizer_.JoinAll();
}
