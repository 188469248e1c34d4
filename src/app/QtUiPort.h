#pragma once
// The Qt side of the controller's UI port: notification-area balloons (notices in the
// window's corner where there is no notification area), message boxes, the synchronisation dialog
// and the mode-file dialogs.

#include "app/CNoticeStack.h"
#include "link/controller/UiPort.h"

#include <QPointer>
#include <QString>
#include <QTimer>

#include <functional>
#include <memory>

class AppSettings;
class CKW4620v13View;
class CSynDlg;
class QSystemTrayIcon;
class QWidget;

class QtUiPort : public UiPort
{
public:
    QtUiPort(QWidget& frame, AppSettings& settings);
    ~QtUiPort() override;

    // The view is created after the port (it needs the session, which needs the port).
    void SetView(CKW4620v13View* view) { view_ = view; }

    void ShowBalloon(const std::string& title, const std::string& text, int displayMs) override;
    void HideBalloon() override;
    UiAnswer AskUser(const std::string& text, const std::string& caption, UiButtons buttons,
                     UiIcon icon) override;
    void ShowInfo(const std::string& text, int displayMs) override;
    // Shows the dialog window-modally and returns at once; the controller steps and closes it
    // and times it out.
    void ShowSyncDialog(const std::string& title, const std::string& text) override;
    void SetSyncProgress(int percent) override;
    void CloseSyncDialog() override;
    std::string AskOpenModeFile() override;
    std::string AskSaveModeFile(const std::string& defaultName) override;
    void AddRecentFile(const std::string& path) override;
    void RefreshAll() override;
    void CloseToolWindows() override;
    void RefreshMusicSource() override;

    // Tests answer boxes themselves.
    using BoxHook = std::function<UiAnswer(const QString& text, const QString& caption)>;
    void SetBoxHook(BoxHook hook) { boxHook_ = std::move(hook); }
    CSynDlg* SyncDialog() const;
    bool SyncDialogOpen() const;
    bool BalloonShown() const;
    // The corner notices that stand in for balloons without a notification area (null
    // until the first).
    CNoticeStack* Notices() const { return notices_; }
    void ClearNotices();

private:
    QWidget& frame_;
    AppSettings& settings_;
    CKW4620v13View* view_ = nullptr;
    std::unique_ptr<QSystemTrayIcon> tray_;
    QTimer balloonTimer_;
    QPointer<CSynDlg> syn_;
    BoxHook boxHook_;
    QPointer<CNoticeStack> notices_;
};
