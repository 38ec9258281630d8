// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/platform/ProgramIcon.h"

#include <QApplication>
#include <QDirIterator>

namespace orbix {

QIcon ProgramIcon() {
    QIcon icon;
    QDirIterator it(QStringLiteral(":/icons"), {QStringLiteral("orbix.png")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) icon.addFile(it.next());
    return icon;
}

void SetProgramIdentity(const QString& desktopEntry) {
    QApplication::setWindowIcon(ProgramIcon());
    QGuiApplication::setDesktopFileName(desktopEntry);
}

}  // namespace orbix
