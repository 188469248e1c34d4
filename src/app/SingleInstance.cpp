#include "app/SingleInstance.h"

#include <QDir>
#include <QLocalSocket>

namespace {
const char kActivate[] = "activate\n";
const char kShown[] = "shown\n";

// Local socket names are per machine; the user's name keeps two users apart.
QString PerUserName(const QString& key)
{
    QString user = qEnvironmentVariable("USER");
    if (user.isEmpty()) {
        user = qEnvironmentVariable("USERNAME");
    }
    return user.isEmpty() ? key : key + "-" + user;
}
} // namespace

SingleInstance::SingleInstance(const QString& key, const QString& lockFolder, QObject* parent)
    : QObject(parent), serverName_(PerUserName(key)),
      lockPath_(QDir(lockFolder.isEmpty() ? QDir::tempPath() : lockFolder)
                    .filePath(PerUserName(key) + ".lock"))
{
}

SingleInstance::~SingleInstance() = default;

SingleInstance::Result SingleInstance::Acquire(int replyTimeoutMs)
{
    lock_ = std::make_unique<QLockFile>(lockPath_);
    // A lock left behind by a process that no longer runs is taken over by tryLock.
    lock_->setStaleLockTime(0);
    if (lock_->tryLock(0)) {
        return Result::First;
    }
    const QLockFile::LockError error = lock_->error();
    lock_.reset();
    if (error != QLockFile::LockFailedError) {
        return Result::LockFailed;
    }

    QLocalSocket socket;
    socket.connectToServer(serverName_);
    if (!socket.waitForConnected(replyTimeoutMs)) {
        return Result::NoWindow;
    }
    socket.write(kActivate);
    if (!socket.waitForBytesWritten(replyTimeoutMs)) {
        return Result::NoWindow;
    }
    while (!socket.canReadLine()) {
        if (!socket.waitForReadyRead(replyTimeoutMs)) {
            return Result::NoWindow;
        }
    }
    return socket.readLine() == kShown ? Result::ActivatedOther : Result::NoWindow;
}

bool SingleInstance::Listen()
{
    if (!lock_ || server_) {
        return server_ != nullptr;
    }
    server_ = std::make_unique<QLocalServer>();
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    // We hold the lock, so a socket file still there belongs to an instance that died.
    QLocalServer::removeServer(serverName_);
    if (!server_->listen(serverName_)) {
        server_.reset();
        return false;
    }
    connect(server_.get(), &QLocalServer::newConnection, this, &SingleInstance::OnNewConnection);
    return true;
}

void SingleInstance::OnNewConnection()
{
    while (QLocalSocket* socket = server_->nextPendingConnection()) {
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket] {
            while (socket->canReadLine()) {
                if (socket->readLine() == kActivate) {
                    emit ActivateRequested();
                    socket->write(kShown);
                    socket->flush();
                }
            }
        });
    }
}
