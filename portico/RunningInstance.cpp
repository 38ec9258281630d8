#include "portico/RunningInstance.h"

#include <unistd.h>

#include <QDir>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {

QString SocketPath(const QString& lockPath) { return lockPath + QStringLiteral(".socket"); }

}  // namespace

QString RunningInstance::DefaultLockPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        return QDir::tempPath() + QStringLiteral("/portico-%1.lock").arg(getuid());
    return folder + QStringLiteral("/portico.lock");
}

RunningInstance::RunningInstance(const QString& lockPath)
    : lockPath_(lockPath), lock_(std::make_unique<QLockFile>(lockPath)) {
    // Only a lock whose process has ended counts as stale, never one that is
    // merely old: the first launcher may run for hours.
    lock_->setStaleLockTime(0);
}

RunningInstance::~RunningInstance() { delete server_; }

bool RunningInstance::Acquire() {
    if (lock_->tryLock(0)) return true;
    if (lock_->error() == QLockFile::LockFailedError) {
        qint64 pid = 0;
        QString host, application;
        if (lock_->getLockInfo(&pid, &host, &application)) {
            // A launcher that runs holds it.
            CallRunning();
            return false;
        }
        // Nobody can be told from a holder that cannot be read: the lock is
        // stale. (Removing it fails while a process holds it open locked.)
        if (lock_->removeStaleLockFile() && lock_->tryLock(0)) return true;
    }
    // The lock cannot be written: a running launcher still answers.
    return !CallRunning();
}

bool RunningInstance::Listen(std::function<void()> onCalled) {
    if (server_) return true;
    const QString path = SocketPath(lockPath_);
    // Only a launcher that nobody answered gets here: a socket file left by
    // a launcher that crashed is in the way and can go.
    QLocalServer::removeServer(path);
    server_ = new QLocalServer;
    server_->setSocketOptions(QLocalServer::UserAccessOption);
    if (!server_->listen(path)) {
        delete server_;
        server_ = nullptr;
        return false;
    }
    QObject::connect(server_, &QLocalServer::newConnection, server_, [this, onCalled] {
        while (QLocalSocket* socket = server_->nextPendingConnection()) {
            // The call carries nothing: being called is the whole message.
            QObject::connect(socket, &QLocalSocket::disconnected, socket,
                             &QLocalSocket::deleteLater);
            socket->disconnectFromServer();
            if (onCalled) onCalled();
        }
    });
    return true;
}

bool RunningInstance::CallRunning(int timeoutMs) {
    QLocalSocket socket;
    socket.connectToServer(SocketPath(lockPath_));
    if (!socket.waitForConnected(timeoutMs)) return false;
    socket.disconnectFromServer();
    return true;
}
