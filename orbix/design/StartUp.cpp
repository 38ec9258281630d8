// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/design/StartUp.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QMessageBox>
#include <algorithm>
#include <cstdio>
#include <cstring>

#include "orbix/design/frmDesign.h"
#include "orbix/model/modOrbix.h"
#include "orbix/platform/Dialogs.h"
#include "orbix/platform/FileNames.h"
#include "orbix/platform/Fonts.h"
#include "orbix/platform/ProgramIcon.h"
#include "orbix/platform/Translation.h"
#include "orbix/result/WindowTitle.h"
#include "orbix/result/frmResult.h"
#include "tessera/TileLoader.h"

namespace modDesign {

std::unique_ptr<frmDesign> StartUp(const QString& programFolder, orbix::Dialogs& dialogs,
                                   int& exitCode, const QString& file) {
    exitCode = 0;
    modOrbix::ProgramFolder = modOrbix::FolderWithSlash(programFolder.toStdString());
    std::string message;
    if (!modOrbix::LoadAtomData(message)) {
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
    if (auto* qt = dynamic_cast<orbix::QtDialogs*>(&dialogs)) qt->Parent(form.get());
    form->show();
    if (!file.isEmpty()) form->OpenDocumentFile(file);
    return form;
}

namespace {

// Reads the command line of the running application: at most one FILE.
// Returns -1 to go on (file set when one was given), else the exit status
// once --help, --version or a usage error has been answered on the terminal
// (only a terminal can pass them).
int ReadCommandLine(int argc, char** argv, QString& file) {
    QCommandLineParser parser;
    parser.setApplicationDescription(
        QStringLiteral("単純ＬＣＡＯ π電子分子軌道法の学習プログラム"));
    parser.addHelpOption();
    parser.addVersionOption();
    parser.addPositionalArgument(QStringLiteral("FILE"),
                                 QStringLiteral("開く分子データファイル (.mol, .tpl)"),
                                 QStringLiteral("[FILE]"));
    // The file's name as the bytes it was given, which Qt's decoding may not keep.
    const bool parsed = parser.parse(orbix::CommandLineArguments(argc, argv));
    if (!parsed || parser.positionalArguments().size() > 1) {
        const QString error =
            parsed ? QStringLiteral("開けるファイルは１つだけです。") : parser.errorText();
        std::fprintf(stderr, "%s\n%s", error.toLocal8Bit().constData(),
                     parser.helpText().toLocal8Bit().constData());
        return 2;
    }
    if (parser.isSet(QStringLiteral("help"))) {
        std::fputs(parser.helpText().toLocal8Bit().constData(), stdout);
        return 0;
    }
    if (parser.isSet(QStringLiteral("version"))) {
        std::printf("Orbix %s\n", ORBIX_VERSION);
        return 0;
    }
    if (!parser.positionalArguments().isEmpty()) file = parser.positionalArguments()[0];
    return -1;
}

// --help and --version, which need no display.
bool AsksOnlyForInformation(int argc, char** argv) {
    for (int i = 1; i < argc; ++i)
        for (const char* option : {"-h", "--help", "--help-all", "-v", "--version"})
            if (std::strcmp(argv[i], option) == 0) return true;
    return false;
}

}  // namespace

int Main(int argc, char** argv) {
    if (AsksOnlyForInformation(argc, argv)) {
        QCoreApplication app(argc, argv);
        orbix::InstallJapaneseTranslation(app);
        QCoreApplication::setApplicationVersion(QStringLiteral(ORBIX_VERSION));
        QString file;
        return std::max(ReadCommandLine(argc, argv, file), 0);
    }
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Orbix"));
    // No application display name: the X11 platform would append it to every
    // window title.
    orbix::InstallJapaneseTranslation(app);
    orbix::RegisterFontSubstitutions();
    app.setFont(orbix::GothicFont(9));
    QApplication::setApplicationVersion(QStringLiteral(ORBIX_VERSION));
    orbix::SetProgramIdentity(QStringLiteral("orbix"));
    QString file;
    if (const int status = ReadCommandLine(argc, argv, file); status >= 0) return status;

    orbix::QtDialogs dialogs;
    int exitCode = 0;
    std::unique_ptr<frmDesign> form =
        StartUp(QApplication::applicationDirPath(), dialogs, exitCode, file);
    if (!form) return exitCode;
    return app.exec();
}

void UnloadAll(int code) {
    frmResult::CloseForExit();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible()) w->close();
    modOrbix::colAtoms.Clear();
    modOrbix::CurrentMolecule.reset();
    QCoreApplication::exit(code);
}

orbix::MsgAnswer AskSaveChanges(orbix::Dialogs& dialogs) {
    const std::string& stored =
        modOrbix::CurrentMolecule ? modOrbix::CurrentMolecule->filename() : std::string();
    const QString name = stored.empty() ? QStringLiteral("無題") : QString::fromStdString(stored);
    return dialogs.Message(
        QStringLiteral("ファイル ") + name + QStringLiteral("の内容は変更されています。") + "\r\n" +
            QStringLiteral("変更を保存しますか？"),
        modResult::kProgramTitle, orbix::MsgButtons::kYesNoCancel, orbix::MsgIcon::kInformation);
}

}  // namespace modDesign
