#include <QApplication>
#include <QDirIterator>
#include <QIcon>

#include "portico/RunningInstance.h"
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

    // A second launcher ends at once, without a word.
    RunningInstance instance;
    if (!instance.Acquire()) return 0;

    frmMainMenu menu;
    menu.show();
    return app.exec();
}
