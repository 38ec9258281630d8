// SPDX-License-Identifier: BSD-3-Clause
#include "portico/RunningInstance.h"

#include <unistd.h>

#include <QCryptographicHash>
#include <QDir>
#include <QGuiApplication>
#include <QLocalServer>
#include <QLocalSocket>
#include <QStandardPaths>

namespace {

// A local socket's path is at most 107 bytes: a longer display name is
// replaced by a digest of it.
constexpr qsizetype kLongestDisplayKey = 40;

QString SocketPath(const QString& lockPath) { return lockPath + QStringLiteral(".socket"); }

// "host:0.1" and "host:0" are screens of one display.
QString WithoutScreen(QString display) {
    const qsizetype colon = display.lastIndexOf(QLatin1Char(':'));
    const qsizetype dot = colon < 0 ? -1 : display.indexOf(QLatin1Char('.'), colon);
    if (dot > colon) display.truncate(dot);
    return display;
}

// The display the application's windows go to, as its environment names it.
QString DisplayName() {
    const QString platform = QGuiApplication::platformName();
    const QString x11 = WithoutScreen(qEnvironmentVariable("DISPLAY"));
    const QString wayland = qEnvironmentVariable("WAYLAND_DISPLAY");
    if (platform == QLatin1String("xcb")) return x11;
    if (platform.startsWith(QLatin1String("wayland")))
        return wayland.isEmpty() ? QStringLiteral("wayland-0") : wayland;
    return wayland.isEmpty() ? x11 : wayland;
}

// The display name in letters, digits, '.' and '-' only, every other byte
// written as '_' and two hex digits, so that two names never share a key.
QString DisplayKey(const QString& display) {
    const QByteArray bytes = display.toUtf8();
    QString key;
    for (const char c : bytes) {
        if ((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') ||
            c == '.' || c == '-')
            key += QLatin1Char(c);
        else
            key +=
                QStringLiteral("_%1").arg(static_cast<unsigned char>(c), 2, 16, QLatin1Char('0'));
    }
    if (key.size() > kLongestDisplayKey)
        key = QString::fromLatin1(
            QCryptographicHash::hash(bytes, QCryptographicHash::Sha256).toHex().left(16));
    return key;
}

}  // namespace

QString RunningInstance::DefaultLockPath() {
    const QString display = DisplayName();
    const QString suffix =
        (display.isEmpty() ? QString() : QLatin1Char('-') + DisplayKey(display)) +
        QStringLiteral(".lock");
    const QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        return QDir::tempPath() + QStringLiteral("/portico-%1").arg(getuid()) + suffix;
    return folder + QStringLiteral("/portico") + suffix;
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
