// SPDX-License-Identifier: BSD-3-Clause
// The grid's pop-up commands: the eigen table to a CSV file or the printer.

#include <QFileInfo>
#include <QPrinter>

#include "orbix/calc/EigenTable.h"
#include "orbix/model/modCommon.h"
#include "orbix/model/modOrbix.h"
#include "orbix/platform/Dialogs.h"
#include "orbix/platform/FlexGrid.h"
#include "orbix/platform/Folders.h"
#include "orbix/platform/TextFile.h"
#include "orbix/result/TablePrint.h"
#include "orbix/result/WindowTitle.h"
#include "orbix/result/frmResult.h"

namespace {

modCalculation::TextGrid GridCells(const modCalculation::EigenGrid& grid) {
    modCalculation::TextGrid cells(grid.Rows(), std::vector<std::string>(grid.Cols()));
    for (int r = 0; r < grid.Rows(); ++r)
        for (int c = 0; c < grid.Cols(); ++c) cells[r][c] = grid.Text(r, c);
    return cells;
}

}  // namespace

void frmResult::mnuOutputFile_Click() {
    orbix::Dialogs& dlg = host_.CommonDialog();
    auto fail = [&dlg] {
        dlg.Message(QStringLiteral("ﾌｧｲﾙの出力に失敗しました"),
                    QStringLiteral("表ﾃﾞｰﾀのﾌｧｲﾙ出力ｴﾗｰ"), orbix::MsgButtons::kOk,
                    orbix::MsgIcon::kCritical);
    };
    try {
        WriteCsv(dlg, fail);
    } catch (...) {
        fail();
    }
}

template <class Fail>
void frmResult::WriteCsv(orbix::Dialogs& dlg, Fail&& fail) {
    orbix::FileRequest request;
    request.title = QStringLiteral("ファイルへ出力");
    request.filter = QStringLiteral("CSVﾌｧｲﾙ (*.csv)|*.csv");
    QString path;
    for (;;) {
        request.initialDir = OutputFolder();
        // A cancelled dialog counts as a failed output.
        if (!dlg.SaveFile(request)) return fail();
        path = request.fileName;
        if (path.isEmpty()) return;
        if (!QFileInfo::exists(path)) break;
        const QString title = QString::fromStdString(modCommon::FileTitle(path.toStdString()));
        if (dlg.Message(title + QStringLiteral("は既に存在します。上書きしますか？"),
                        orbix::kApplicationTitle, orbix::MsgButtons::kYesNo,
                        orbix::MsgIcon::kNone) == orbix::MsgAnswer::kYes)
            break;
        request.fileName = title;
    }
    std::string text = modCalculation::GridCsv(GridCells(*grdMatrix_));
    // The writer ends the text with the last line's CR LF itself.
    if (text.size() >= 2) text.resize(text.size() - 2);
    // In the desktop's own character set, without a byte-order mark: the
    // spreadsheets, editors and tools of a Linux desktop read UTF-8 as it
    // stands, and a mark would be three stray bytes before the first cell
    // to every tool that does not expect one.
    if (!orbix::WriteTextFile(path, text, orbix::DesktopEncoding())) fail();
}

// The program folder, or the home folder when the program folder cannot be
// written (a program installed for all users).
QString frmResult::OutputFolder() const {
    return orbix::WritableFolderOrHome(QString::fromStdString(modOrbix::ProgramFolder));
}

void frmResult::mnuOutputPrint_Click() {
    orbix::Dialogs& dlg = host_.CommonDialog();
    bool ok = false;
    try {
        QPrinter printer;
        ok = dlg.Printer(printer, QStringLiteral("ﾃﾞｰﾀの印刷")) &&
             TablePrint::PrintTable(printer, GridCells(*grdMatrix_));
    } catch (...) {
        ok = false;
    }
    if (!ok)
        dlg.Message(
            QStringLiteral("ﾃﾞｰﾀの印刷に失敗しました"),
            modResult::kProgramTitle + QStringLiteral("－") + QStringLiteral("ﾃﾞｰﾀの印刷ｴﾗｰ"),
            orbix::MsgButtons::kOk, orbix::MsgIcon::kCritical);
}
