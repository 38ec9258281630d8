// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/platform/Dialogs.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QFontInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QMessageBox>
#include <QPrintDialog>
#include <QPrinter>
#include <QScreen>
#include <QSpacerItem>
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

namespace {

// Full-width characters: CJK ideographs, kana, Hangul, full-width forms and
// the ideographic space. Half-width katakana are not among them.
bool FullWidth(char16_t c) {
    return (c >= 0x1100 && c <= 0x115F) || (c >= 0x2E80 && c <= 0xA4CF) ||
           (c >= 0xAC00 && c <= 0xD7A3) || (c >= 0xF900 && c <= 0xFAFF) ||
           (c >= 0xFE30 && c <= 0xFE4F) || (c >= 0xFF00 && c <= 0xFF60) ||
           (c >= 0xFFE0 && c <= 0xFFE6);
}

// The client width a window needs for the window manager to show the whole
// of its title beside the frame buttons, at most the work area's width.
int TitleBarWidth(const QString& title, const QWidget& window) {
    // Qt cannot ask the window manager for its title font. Window managers
    // draw titles in the desktop's sans-serif font, bold, at 8 to 11 points:
    // measure in that font at 10 points or the application's size if larger,
    // a full-width character at least one em wide, as fixed-width Japanese
    // fonts draw it (the application's own Japanese font may be narrower).
    QFont font(QStringLiteral("Sans Serif"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSizeF(std::max(10.0, QApplication::font().pointSizeF()));
    font.setBold(true);
    const QFontMetrics fm(font);
    const int em = QFontInfo(font).pixelSize();
    int text = 0;
    for (const QChar c : title) {
        const int advance = fm.horizontalAdvance(c);
        text += FullWidth(c.unicode()) ? std::max(advance, em) : advance;
    }
    // The window's icon and three frame buttons, each about a line high, and
    // the room around the text.
    const int buttons = 4 * (fm.height() + 6) + 2 * fm.height();
    int width = text + buttons;
    if (const QScreen* screen = window.screen())
        width = std::min(width, screen->availableGeometry().width());
    return width;
}

// Keeps a message box at least as wide as its whole title needs: the box
// sets its own size from its texts on every show, so the width is held by an
// empty item across the bottom of its grid.
void HoldTitleWidth(QMessageBox& box) {
    auto* grid = qobject_cast<QGridLayout*>(box.layout());
    if (!grid) return;
    const QMargins m = grid->contentsMargins();
    const int width = TitleBarWidth(box.windowTitle(), box) - m.left() - m.right();
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum),
                  grid->rowCount(), 0, 1, grid->columnCount());
}

}  // namespace

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
    HoldTitleWidth(box);
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
