// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/result/frmHelp.h"

#include <QApplication>
#include <QPlainTextEdit>
#include <QScrollBar>

#include "orbix/model/modCommon.h"
#include "orbix/platform/Fonts.h"
#include "orbix/platform/Twips.h"

namespace {
const QString kHelpName = QStringLiteral("frmHelp");
}

frmHelp::frmHelp(QWidget* parent)
    : QWidget(parent, Qt::Window), txtDisplay(new QPlainTextEdit(this)) {
    setObjectName(kHelpName);
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("使用方法"));
    resize(orbix::TwipsToPixelsX(9465), orbix::TwipsToPixelsY(6915));

    txtDisplay->setObjectName(QStringLiteral("txtDisplay"));
    txtDisplay->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    txtDisplay->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    txtDisplay->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    // Nothing typed in the box would ever be stored, so it is not editable;
    // the text can still be selected and copied.
    txtDisplay->setReadOnly(true);
    txtDisplay->setTextInteractionFlags(Qt::TextSelectableByMouse | Qt::TextSelectableByKeyboard);
    FitTextBox();
}

void frmHelp::Display(const std::string& text) {
    txtDisplay->setFont(orbix::GothicFont(14));
    FitTextBox();
    QString shown = QString::fromStdString(text);
    // The file's CR LF line ends become the box's line breaks.
    shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    shown.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    txtDisplay->setPlainText(shown);
    show();
}

frmHelp* frmHelp::Find() {
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == kHelpName && w->isVisible())
            if (auto* help = qobject_cast<frmHelp*>(w)) return help;
    return nullptr;
}

void frmHelp::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    FitTextBox();
}

void frmHelp::FitTextBox() { txtDisplay->setGeometry(0, 0, width(), height()); }

bool ShowHelp(const std::string& helpFile) {
    if (frmHelp* open = frmHelp::Find()) {
        if (open->isMinimized()) open->showNormal();
        open->raise();
        open->activateWindow();
        open->txtDisplay->setFocus();
        return true;
    }
    std::string text;
    if (modCommon::ReadTextFile(helpFile, text) != 1) return false;
    auto* help = new frmHelp;
    help->Display(text);
    return true;
}
