// SPDX-License-Identifier: BSD-3-Clause
#include <QApplication>
#include <QDirIterator>
#include <QIcon>

#include "portico/RunningInstance.h"
#include "portico/Translation.h"
#include "portico/frmMainMenu.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);
    // The program's icon on every window, at every size the build rendered,
    // and the desktop entry that Wayland desktops match the windows to.
    QIcon icon;
    QDirIterator it(QStringLiteral(":/icons"), {QStringLiteral("orbix.png")}, QDir::Files,
                    QDirIterator::Subdirectories);
    while (it.hasNext()) icon.addFile(it.next());
    QApplication::setWindowIcon(icon);
    QGuiApplication::setDesktopFileName(QStringLiteral("portico"));
    InstallJapaneseTranslation(app);

    // A second launcher on the same display ends without a word, once it
    // has brought the running one's menu to the front.
    RunningInstance instance;
    if (!instance.Acquire()) return 0;

    frmMainMenu menu;
    instance.Listen([&menu] { menu.BringToFront(); });
    menu.show();
    return app.exec();
}
