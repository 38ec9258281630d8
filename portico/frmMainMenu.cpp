// SPDX-License-Identifier: BSD-3-Clause
#include "portico/frmMainMenu.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QFileInfo>
#include <QMessageBox>
#include <QProcess>
#include <QPushButton>
#include <QScreen>

#include "portico/Fonts.h"
#include "portico/Twips.h"
#include "portico/frmDocument.h"

namespace {

const QString kCaption = QStringLiteral("Orbix分子軌道法－メニュー");
constexpr int kButtonPointSize = 18;
constexpr int kClientWidth = 9105;   // twips
constexpr int kClientHeight = 6660;  // twips

// Restores the pointer, the button and its focus however the opening ends.
// (Disabling the focused button moves the focus on to the next one, where a
// second key press would start something else.)
class OpeningGuard {
  public:
    explicit OpeningGuard(QPushButton* button) : button_(button), hadFocus_(button->hasFocus()) {
        button_->setEnabled(false);
        QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    }
    ~OpeningGuard() {
        QGuiApplication::restoreOverrideCursor();
        button_->setEnabled(true);
        if (hadFocus_) button_->setFocus(Qt::OtherFocusReason);
    }
    OpeningGuard(const OpeningGuard&) = delete;
    OpeningGuard& operator=(const OpeningGuard&) = delete;

  private:
    QPushButton* button_;
    bool hadFocus_;
};

frmDocument* FindViewer(std::int16_t n) {
    const QString tag = QString::number(n);
    for (QWidget* w : QApplication::topLevelWidgets()) {
        auto* viewer = qobject_cast<frmDocument*>(w);
        // A viewer that was closed stays in the list until it is deleted.
        if (viewer && viewer->objectName() == QLatin1String("frmDocument") && viewer->Tag == tag &&
            viewer->isVisible())
            return viewer;
    }
    return nullptr;
}

}  // namespace

frmMainMenu::frmMainMenu(const QString& programFolder, QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("frmMainMenu"));
    Fonts::RegisterSubstitutes();
    programFolder_ = ProgramFolderOf(
        programFolder.isEmpty() ? QCoreApplication::applicationDirPath() : programFolder);
    setWindowTitle(kCaption);

    QPalette pal = palette();
    pal.setColor(QPalette::Window, QColor(255, 240, 208));
    setPalette(pal);
    setAutoFillBackground(true);
    setFixedSize(Twips::ToPixels(kClientWidth), Twips::ToPixels(kClientHeight));

    // Created in tab order.
    cmdDocument[1] = AddButton(QStringLiteral("XMO法とは"), 360, 360, 2895, 1095);
    cmdPlay = AddButton(QStringLiteral("実践　XMO"), 360, 1800, 2895, 1095);
    cmdDocument[2] = AddButton(QStringLiteral("練習問題"), 360, 3240, 2895, 1095);
    cmdExit = AddButton(QStringLiteral("終 了(&X)"), 7320, 5280, 1575, 615);
    cmdDocument[3] = AddButton(QStringLiteral("練習問題・解答"), 360, 4680, 2895, 1095);

    cmdPlay->setObjectName(QStringLiteral("cmdPlay"));
    cmdExit->setObjectName(QStringLiteral("cmdExit"));
    for (auto& [n, button] : cmdDocument) {
        button->setObjectName(QStringLiteral("cmdDocument%1").arg(n));
        connect(button, &QPushButton::clicked, this, [this, n = n] { cmdDocument_Click(n); });
    }
    connect(cmdPlay, &QPushButton::clicked, this, &frmMainMenu::cmdPlay_Click);
    connect(cmdExit, &QPushButton::clicked, this, &frmMainMenu::cmdExit_Click);

    setTabOrder(cmdDocument[1], cmdPlay);
    setTabOrder(cmdPlay, cmdDocument[2]);
    setTabOrder(cmdDocument[2], cmdExit);
    setTabOrder(cmdExit, cmdDocument[3]);
}

QString frmMainMenu::ProgramFolderOf(const QString& directory) {
    QString folder = QDir::fromNativeSeparators(directory);
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    return folder;
}

QPushButton* frmMainMenu::AddButton(const QString& caption, int left, int top, int width,
                                    int height) {
    auto* button = new QPushButton(caption, this);
    QFont font(Fonts::kGothic);
    font.setPointSize(kButtonPointSize);
    button->setFont(font);
    button->setGeometry(Twips::ToPixels(left, top, width, height));
    button->setFocusPolicy(Qt::StrongFocus);
    // Enter presses the focused button, as Space does.
    button->setAutoDefault(true);
    return button;
}

void frmMainMenu::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (centred_) return;
    centred_ = true;
    if (const QScreen* screen = this->screen()) {
        QRect frame = frameGeometry();
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void frmMainMenu::Tell(const QString& text, const QString& file) {
    const QString message = text + QStringLiteral("\n\n") + QDir::toNativeSeparators(file);
    if (ShowMessage)
        ShowMessage(this, kCaption, message);
    else {
        // Plain text: a file name shown as rich text could draw headings or
        // fetch images.
        QMessageBox box(QMessageBox::Critical, kCaption, message, QMessageBox::Ok, this);
        box.setTextFormat(Qt::PlainText);
        box.exec();
    }
}

void frmMainMenu::cmdPlay_Click() {
    const QString program = OrbixFile();
    const QFileInfo info(program);
    if (!info.exists()) {
        Tell(QStringLiteral("分子軌道法のプログラムが見つかりません。"), program);
        return;
    }
    // A new process each click, not waited for; it outlives the launcher.
    if (!info.isFile() || !info.isExecutable() ||
        !QProcess::startDetached(program, {}, programFolder_))
        Tell(QStringLiteral("分子軌道法のプログラムを起動できません。"), program);
}

void frmMainMenu::cmdDocument_Click(std::int16_t n) {
    const auto it = cmdDocument.find(n);
    if (it == cmdDocument.end()) return;
    frmDocument::LoadResult result = frmDocument::LoadResult::Loaded;
    {
        OpeningGuard guard(it->second);
        if (OpeningProbe) OpeningProbe(n);
        if (frmDocument* open = FindViewer(n)) {
            if (open->isMinimized()) open->showNormal();
            open->raise();
            open->activateWindow();
        } else {
            auto* viewer = new frmDocument(programFolder_);
            viewer->Tag = QString::number(n);
            result = viewer->ShowDocument(n);
            if (result != frmDocument::LoadResult::Loaded) delete viewer;
        }
    }
    // Told after the pointer and the button are back.
    const QString file = frmDocument::DocumentFile(programFolder_, n);
    if (result == frmDocument::LoadResult::Missing)
        Tell(QStringLiteral("文書ファイルが見つかりません。"), file);
    else if (result == frmDocument::LoadResult::Unreadable)
        Tell(QStringLiteral("文書ファイルを開けません。"), file);
}

void frmMainMenu::BringToFront() {
    if (isMinimized())
        showNormal();
    else
        show();
    raise();
    activateWindow();
}

void frmMainMenu::cmdExit_Click() {
    close();
    QCoreApplication::quit();
}

void frmMainMenu::closeEvent(QCloseEvent* event) {
    for (QWidget* w : QApplication::topLevelWidgets()) {
        if (w != this && w->isWindow() && qobject_cast<frmDocument*>(w)) w->close();
    }
    event->accept();
}
