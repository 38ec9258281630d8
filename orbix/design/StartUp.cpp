#include "orbix/design/StartUp.h"

#include <QApplication>
#include <QMessageBox>

#include "orbix/design/frmDesign.h"
#include "orbix/model/modOrbix.h"
#include "orbix/platform/Dialogs.h"
#include "orbix/platform/Fonts.h"
#include "orbix/platform/WindowTitle.h"
#include "orbix/result/frmResult.h"
#include "tessera/TileLoader.h"

namespace modOrbix {

std::unique_ptr<frmDesign> StartUp(const QString& programFolder, orbix::Dialogs& dialogs,
                                   int& exitCode) {
    exitCode = 0;
    ProgramFolder = FolderWithSlash(programFolder.toStdString());
    std::string message;
    if (!LoadAtomData(message)) {
        dialogs.Message(QString::fromStdString(message), kStartUpErrorTitle, orbix::MsgButtons::kOk,
                        orbix::MsgIcon::kCritical);
        exitCode = 1;
        UnloadAll(exitCode);
        return nullptr;
    }
    tessera::TileLibrary tiles = tessera::LoadTileLibrary(programFolder);
    if (!tiles) {
        dialogs.Message(tiles.error, QStringLiteral("Orbix.exe－起動エラー"),
                        orbix::MsgButtons::kOk, orbix::MsgIcon::kCritical);
        exitCode = 1;
        UnloadAll(exitCode);
        return nullptr;
    }
    auto form = std::make_unique<frmDesign>(*tiles.factory, dialogs);
    form->show();
    return form;
}

int Main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orbix"));
    QApplication::setApplicationDisplayName(QStringLiteral("Orbix分子軌道法"));
    orbix::RegisterFontSubstitutions();
    app.setFont(orbix::GothicFont(9));
    orbix::QtDialogs dialogs;
    int exitCode = 0;
    std::unique_ptr<frmDesign> form =
        StartUp(QApplication::applicationDirPath(), dialogs, exitCode);
    if (!form) return exitCode;
    dialogs.Parent(form.get());
    return app.exec();
}

void UnloadAll(int code) {
    frmResult::CloseForExit();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) w->close();
    colAtoms.Clear();
    CurrentMolecule.reset();
    QCoreApplication::exit(code);
}

orbix::MsgAnswer AskSaveChanges(orbix::Dialogs& dialogs) {
    const std::string& stored = CurrentMolecule ? CurrentMolecule->filename() : std::string();
    const QString name = stored.empty() ? QStringLiteral("無題") : QString::fromStdString(stored);
    return dialogs.Message(
        QStringLiteral("ファイル ") + name + QStringLiteral("の内容は変更されています。") + "\r\n" +
            QStringLiteral("変更を保存しますか？"),
        kProgramTitle, orbix::MsgButtons::kYesNoCancel, orbix::MsgIcon::kInformation);
}

}  // namespace modOrbix
