// SPDX-License-Identifier: BSD-3-Clause
#include "portico/frmDocument.h"

#include <QAction>
#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>
#include <QMenuBar>
#include <QScreen>
#include <QTextBrowser>
#include <algorithm>

#include "portico/Fonts.h"
#include "portico/RtfReader.h"
#include "portico/Twips.h"

namespace {

// Larger than any course document could be; a bigger file is refused rather
// than read into memory.
constexpr qint64 kMaxDocumentBytes = 64 * 1024 * 1024;

// Opening size of a viewer (the outer window), in twips.
constexpr int kViewerWidth = 10800;
constexpr int kViewerHeight = 9000;

}  // namespace

frmDocument::frmDocument(const QString& programFolder, QWidget* parent)
    : QMainWindow(parent), programFolder_(programFolder) {
    setObjectName(QStringLiteral("frmDocument"));
    Fonts::RegisterSubstitutes();
    setAttribute(Qt::WA_DeleteOnClose);

    mnuFile = menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    mnuFile->setObjectName(QStringLiteral("mnuFile"));
    mnuFileClose = mnuFile->addAction(QStringLiteral("閉じる(&C)"));
    mnuFileClose->setObjectName(QStringLiteral("mnuFileClose"));
    connect(mnuFileClose, &QAction::triggered, this, &frmDocument::mnuFileClose_Click);

    // The central widget follows every resize: the text always fills the
    // client area below the menu bar.
    rtfDocument = new QTextBrowser(this);
    rtfDocument->setObjectName(QStringLiteral("rtfDocument"));
    rtfDocument->setOpenLinks(false);
    rtfDocument->document()->setDefaultFont(QFont(Fonts::kGothic, 12));
    setCentralWidget(rtfDocument);

    // The reader keeps the layout of wide words fast for text areas up to a
    // width; the viewer never grows past it (nor is the desktop wider).
    double desktop = 0;
    if (const QScreen* screen = QGuiApplication::primaryScreen())
        desktop = screen->virtualSize().width();
    widestText_ = std::max(RtfReader::kWidestLine, desktop);
    setMaximumWidth(static_cast<int>(widestText_));

    resize(Twips::ToPixels(kViewerWidth), Twips::ToPixels(kViewerHeight));
}

QString frmDocument::DocumentFile(const QString& programFolder, std::int16_t n) {
    QString folder = programFolder;
    if (!folder.endsWith(QLatin1Char('/'))) folder += QLatin1Char('/');
    return folder + QStringLiteral("document") + QString::number(n) + QStringLiteral(".rtf");
}

QString frmDocument::DocumentCaption(std::int16_t n) {
    return n == 1 ? QStringLiteral("分子軌道法") : QStringLiteral("分子軌道法問題");
}

frmDocument::LoadResult frmDocument::ShowDocument(std::int16_t n) {
    const QString path = DocumentFile(programFolder_, n);
    const QFileInfo info(path);
    if (!info.exists()) return LoadResult::Missing;
    QFile file(path);
    if (!info.isFile() || !file.open(QIODevice::ReadOnly) || file.size() > kMaxDocumentBytes)
        return LoadResult::Unreadable;
    const QByteArray data = file.readAll();
    if (file.error() != QFileDevice::NoError) return LoadResult::Unreadable;

    RtfReader::Read(data, *rtfDocument->document(), widestText_);
    rtfDocument->moveCursor(QTextCursor::Start);  // the reader leaves it at the end
    setWindowTitle(DocumentCaption(n));
    // Shown with the scroll bar a long document needs, so that the document
    // is laid out once, not first without the bar and again with it.
    rtfDocument->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    show();
    rtfDocument->setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    return LoadResult::Loaded;
}

void frmDocument::mnuFileClose_Click() {
    rtfDocument->clear();
    close();
}
