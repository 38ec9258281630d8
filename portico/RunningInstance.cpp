#include "portico/RunningInstance.h"

#include <unistd.h>

#include <QDir>
#include <QStandardPaths>

QString RunningInstance::DefaultLockPath() {
    QString folder = QStandardPaths::writableLocation(QStandardPaths::RuntimeLocation);
    if (folder.isEmpty())
        return QDir::tempPath() + QStringLiteral("/portico-%1.lock").arg(getuid());
    return folder + QStringLiteral("/portico.lock");
}

RunningInstance::RunningInstance(const QString& lockPath)
    : lock_(std::make_unique<QLockFile>(lockPath)) {
    // Only a lock whose process has ended counts as stale, never one that is
    // merely old: the first launcher may run for hours.
    lock_->setStaleLockTime(0);
}

bool RunningInstance::Acquire() {
    if (lock_->tryLock(0)) return true;
    return lock_->error() != QLockFile::LockFailedError;
}
