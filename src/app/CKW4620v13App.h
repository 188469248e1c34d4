#pragma once
// The application object: command line, single instance, settings, the main frame, the
// mode file named on the command line, and the orderly end.

#include "app/CMainFrame.h"
#include "pageapi/PageRegistry.h"

#include <QObject>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

#include <memory>
#include <optional>

class AppSettings;
class ControllerSession;
class HidrawBackend;
class SingleInstance;
class VirtualHidBus;

struct AppOptions
{
    bool emulate = false;
    QString emulateState; // --emulate=STATE
    QString screenshot;   // --screenshot FILE
    std::optional<PageKind> page;
    int language = -1; // --lang 0|1
    bool listPages = false;
    QString settingsFile; // --settings FILE (an INI file instead of the user's own)
    QStringList files;    // mode files to open
    QString error;        // set when the command line could not be read

    static AppOptions Parse(const QStringList& arguments);
};

class CKW4620v13App : public QObject
{
    Q_OBJECT
public:
    explicit CKW4620v13App(AppOptions options, QObject* parent = nullptr);
    ~CKW4620v13App() override;

    // The start-up routine; false ends the process (second instance, failure). exitCode
    // tells main what to return then.
    bool InitInstance();
    int ExitCode() const { return exitCode_; }
    // Orderly shutdown after the event loop.
    int ExitInstance();

    CMainFrame* Frame() const { return frame_.get(); }
    AppSettings& Settings() const { return *settings_; }

    // The shell, the command line and the recent-file list open mode files through here.
    void OpenDocument(const QString& path);

    // Names the single-instance lock and socket (tests use their own).
    static void SetInstanceKey(const QString& key);
    // The longest wait of --screenshot for the first synchronisation.
    static constexpr int kScreenshotTimeoutMs = 30000;

private:
    bool CheckSingleInstance();
    void AttachBackend();
    CMainFrame::SessionFactory MakeSessionFactory();
    // Waits for the first synchronisation to settle (or the time-out), then saves the shot.
    void AwaitScreenshot();
    void TakeScreenshot();

    AppOptions options_;
    std::unique_ptr<QTemporaryDir> scratch_;
    std::unique_ptr<AppSettings> settings_;
    std::unique_ptr<SingleInstance> instance_;
    std::shared_ptr<VirtualHidBus> bus_;
    std::unique_ptr<HidrawBackend> hidraw_;
    std::unique_ptr<CMainFrame> frame_;
    ControllerSession* session_ = nullptr; // owned by the frame; null without a backend
    int exitCode_ = 0;
};
