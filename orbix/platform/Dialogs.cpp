#include "orbix/platform/Dialogs.h"

#include <QDir>
#include <QFileDialog>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QStringList>
#include <algorithm>

namespace orbix {

QString QtFilter(const QString& platformFilter) {
    const QStringList parts = platformFilter.split(QLatin1Char('|'));
    QStringList filters;
    for (int i = 0; i < parts.size(); i += 2) {
        QString desc = parts[i].trimmed();
        const QString pattern = i + 1 < parts.size() ? parts[i + 1].trimmed() : QString();
        // Qt reads the patterns from the parentheses; add them when missing.
        if (!pattern.isEmpty() && !desc.contains(QLatin1Char('(')))
            desc += QStringLiteral(" (") +
                    QString(pattern).replace(QLatin1Char(';'), QLatin1Char(' ')) + QLatin1Char(')');
        filters << desc;
    }
    return filters.join(QStringLiteral(";;"));
}

MsgAnswer QtDialogs::Message(const QString& text, const QString& title, MsgButtons buttons,
                             MsgIcon icon) {
    QMessageBox box(parent_);
    box.setWindowTitle(title);
    box.setTextFormat(Qt::PlainText);  // file names may hold "<" and "&"
    box.setText(text);
    switch (icon) {
        case MsgIcon::kNone:
            box.setIcon(QMessageBox::NoIcon);
            break;
        case MsgIcon::kInformation:
            box.setIcon(QMessageBox::Information);
            break;
        case MsgIcon::kExclamation:
            box.setIcon(QMessageBox::Warning);
            break;
        case MsgIcon::kCritical:
            box.setIcon(QMessageBox::Critical);
            break;
    }
    switch (buttons) {
        case MsgButtons::kOk:
            box.setStandardButtons(QMessageBox::Ok);
            break;
        case MsgButtons::kYesNo:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No);
            break;
        case MsgButtons::kYesNoCancel:
            box.setStandardButtons(QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel);
            break;
    }
    switch (box.exec()) {
        case QMessageBox::Yes:
            return MsgAnswer::kYes;
        case QMessageBox::No:
            return MsgAnswer::kNo;
        case QMessageBox::Cancel:
            return MsgAnswer::kCancel;
        default:
            return buttons == MsgButtons::kOk ? MsgAnswer::kOk : MsgAnswer::kCancel;
    }
}

namespace {

bool RunFileDialog(QWidget* parent, FileRequest& request, QFileDialog::AcceptMode mode) {
    QFileDialog dialog(parent, request.title, request.initialDir, QtFilter(request.filter));
    dialog.setAcceptMode(mode);
    dialog.setFileMode(mode == QFileDialog::AcceptOpen ? QFileDialog::ExistingFile
                                                       : QFileDialog::AnyFile);
    // The caller asks about overwriting, as the system always has.
    dialog.setOption(QFileDialog::DontConfirmOverwrite, true);
    if (!request.fileName.isEmpty()) dialog.selectFile(request.fileName);
    const QStringList filters = dialog.nameFilters();
    if (request.filterIndex > 0 && request.filterIndex < filters.size())
        dialog.selectNameFilter(filters[request.filterIndex]);
    // A name typed without extension gets the chosen filter's, as desktop
    // save dialogs do.
    if (mode == QFileDialog::AcceptSave) {
        QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog,
                         [&dialog](const QString& f) {
                             const int star = f.indexOf(QStringLiteral("*."));
                             const int close = f.indexOf(')', star);
                             if (star >= 0 && close > star)
                                 dialog.setDefaultSuffix(f.mid(star + 2, close - star - 2));
                         });
        emit dialog.filterSelected(dialog.selectedNameFilter());
    }
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return false;
    request.fileName = dialog.selectedFiles().first();
    request.filterIndex =
        std::max(0, static_cast<int>(filters.indexOf(dialog.selectedNameFilter())));
    return true;
}

}  // namespace

bool QtDialogs::OpenFile(FileRequest& request) {
    return RunFileDialog(parent_, request, QFileDialog::AcceptOpen);
}
bool QtDialogs::SaveFile(FileRequest& request) {
    return RunFileDialog(parent_, request, QFileDialog::AcceptSave);
}

bool QtDialogs::Printer(QPrinter& printer, const QString& title) {
    QPrintDialog dialog(&printer, parent_);
    dialog.setWindowTitle(title);
    // No selection range. Printing to a file is offered as one more printer
    // (a PDF file), so that a machine without a printer can still print.
    dialog.setOption(QAbstractPrintDialog::PrintToFile, true);
    dialog.setOption(QAbstractPrintDialog::PrintSelection, false);
    return dialog.exec() == QDialog::Accepted;
}

}  // namespace orbix
