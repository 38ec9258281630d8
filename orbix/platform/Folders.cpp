// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/platform/Folders.h"

#include <QDir>
#include <QFileInfo>

namespace orbix {

namespace {

QString Canonical(const QString& path) {
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    return canonical.isEmpty() ? QDir::cleanPath(info.absoluteFilePath()) : canonical;
}

}  // namespace

QString WritableFolderOrHome(const QString& folder) {
    if (folder.isEmpty()) return folder;  // none: the dialog's own choice
    const QFileInfo info(folder);
    return info.isDir() && info.isWritable() ? folder : QDir::homePath();
}

QString CurrentFolder(const QString& lastFolder, const QString& programFolder) {
    if (!lastFolder.isEmpty() && QFileInfo(lastFolder).isDir()) return lastFolder;
    const QString started = QDir::currentPath();
    if (Canonical(started) == Canonical(programFolder)) return QDir::homePath();
    return started;
}

bool IsInFolder(const QString& path, const QString& folder) {
    const QString dir = Canonical(QFileInfo(path).absolutePath());
    return QFileInfo(folder).isDir() && dir == Canonical(folder);
}

}  // namespace orbix
