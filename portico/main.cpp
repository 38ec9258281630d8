#include <QApplication>

#include "portico/RunningInstance.h"
#include "portico/frmMainMenu.h"

int main(int argc, char* argv[]) {
    QApplication app(argc, argv);

    // A second launcher ends at once, without a word.
    RunningInstance instance;
    if (!instance.Acquire()) return 0;

    frmMainMenu menu;
    menu.show();
    return app.exec();
}
