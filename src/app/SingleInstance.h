#pragma once
// One running program per user. The first instance holds a lock file and, once its main
// window exists, listens on a local socket of the same name; a second start finds the lock
// taken, asks the first over the socket to come to the front and ends.

#include <QLocalServer>
#include <QLockFile>
#include <QObject>
#include <QString>

#include <memory>

class SingleInstance : public QObject
{
    Q_OBJECT
public:
    enum class Result
    {
        First,          // this process is the only instance
        ActivatedOther, // another instance runs and was asked to come to the front
        NoWindow,       // another instance runs but has no main window to show yet
        LockFailed,     // the lock could not be created at all
    };

    // key names both the lock file (in lockFolder, the temporary folder when empty) and the
    // local socket.
    explicit SingleInstance(const QString& key, const QString& lockFolder = {},
                            QObject* parent = nullptr);
    ~SingleInstance() override;

    // Takes the lock, or hands over to the instance that holds it. replyTimeoutMs bounds the
    // wait for the first instance's answer.
    Result Acquire(int replyTimeoutMs = 3000);

    // First instance only: starts answering later starts (call once the main window exists).
    bool Listen();

    QString ServerName() const { return serverName_; }
    QString LockPath() const { return lockPath_; }

signals:
    // A later start asked this instance to show its main window.
    void ActivateRequested();

private:
    void OnNewConnection();

    QString serverName_;
    QString lockPath_;
    std::unique_ptr<QLockFile> lock_;
    std::unique_ptr<QLocalServer> server_;
};
