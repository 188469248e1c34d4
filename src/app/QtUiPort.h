#pragma once
// The Qt side of the controller's UI port: notification-area balloons (the information
// pop-up where there is no notification area), message boxes, the synchronisation dialog and
// the mode-file dialogs.

#include "app/UiPort.h"

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
    void ShowSyncDialog() override;
    void CloseSyncDialog() override;
    bool SyncDialogOpen() const override;
    std::string AskOpenModeFile() override;
    std::string AskSaveModeFile(const std::string& defaultName) override;
    void AddRecentFile(const std::string& path) override;
    void RefreshAll() override;
    void CloseToolWindows() override;
    void RefreshMusicSource() override;
    int Language() const override;

    // Tests answer boxes themselves and shorten the dialog's time-out.
    using BoxHook = std::function<UiAnswer(const QString& text, const QString& caption)>;
    void SetBoxHook(BoxHook hook) { boxHook_ = std::move(hook); }
    void SetSyncTimeoutMs(int ms) { syncTimeoutMs_ = ms; }
    CSynDlg* SyncDialog() const;
    bool BalloonShown() const;

private:
    QWidget& frame_;
    AppSettings& settings_;
    CKW4620v13View* view_ = nullptr;
    std::unique_ptr<QSystemTrayIcon> tray_;
    QTimer balloonTimer_;
    QPointer<CSynDlg> syn_;
    BoxHook boxHook_;
    int syncTimeoutMs_ = 20000;
    bool balloonFallback_ = false;
};
