// SPDX-License-Identifier: BSD-3-Clause
#include <QFontInfo>
#include <QImage>
#include <QMenu>
#include <QMenuBar>
#include <QPointer>
#include <QPushButton>
#include <QScreen>
#include <QScrollBar>
#include <QTest>
#include <QTextBrowser>
#include <QTextDocument>

#include "PorticoFixture.h"
#include "portico/Twips.h"

namespace {

struct ButtonRow {
    const char* name;
    const char* caption;
    int left, top, width, height;
};

const ButtonRow kButtons[] = {
    {"cmdDocument1", "XMO法とは", 360, 360, 2895, 1095},
    {"cmdPlay", "実践　XMO", 360, 1800, 2895, 1095},
    {"cmdDocument2", "練習問題", 360, 3240, 2895, 1095},
    {"cmdExit", "終 了(&X)", 7320, 5280, 1575, 615},
    {"cmdDocument3", "練習問題・解答", 360, 4680, 2895, 1095},
};

}  // namespace

TEST_F(PorticoTest, MainMenuLayoutIsTheDesignedOne) {
    frmMainMenu menu(Folder());
    menu.show();
    EXPECT_EQ(menu.windowTitle(), QStringLiteral("Orbix分子軌道法－メニュー"));
    ASSERT_DOUBLE_EQ(menu.screen()->logicalDotsPerInch(), 96.0);
    // 15 twips to the pixel at 96 DPI.
    EXPECT_EQ(menu.size(), QSize(607, 444));
    EXPECT_EQ(menu.minimumSize(), menu.maximumSize());

    for (const ButtonRow& row : kButtons) {
        SCOPED_TRACE(row.name);
        auto* button = menu.findChild<QPushButton*>(QString::fromLatin1(row.name));
        ASSERT_NE(button, nullptr);
        EXPECT_EQ(button->text(), QString::fromUtf8(row.caption));
        EXPECT_EQ(button->geometry(),
                  QRect(row.left / 15, row.top / 15, row.width / 15, row.height / 15));
        EXPECT_EQ(button->geometry(), Twips::ToPixels(row.left, row.top, row.width, row.height));
        EXPECT_EQ(button->font().family(), QStringLiteral("ＭＳ Ｐゴシック"));
        EXPECT_EQ(button->font().pointSize(), 18);
        // The substitute that draws Japanese, not a font without the glyphs.
        EXPECT_TRUE(QFontInfo(button->font()).family().startsWith(QStringLiteral("IPA")))
            << QFontInfo(button->font()).family().toStdString();
        EXPECT_TRUE(button->isEnabled());
    }
    EXPECT_EQ(menu.cmdDocument.at(1)->objectName(), QStringLiteral("cmdDocument1"));
    EXPECT_EQ(menu.cmdDocument.size(), 3u);

    const QImage picture = menu.grab().toImage();
    EXPECT_EQ(picture.pixelColor(5, 5), QColor(255, 240, 208));
    EXPECT_EQ(picture.pixelColor(600, 300), QColor(255, 240, 208));
}

TEST_F(PorticoTest, TabOrderFollowsTheDesign) {
    frmMainMenu menu(Folder());
    menu.show();
    std::vector<QString> order;
    QWidget* w = menu.cmdDocument.at(1);
    do {
        if (qobject_cast<QPushButton*>(w)) order.push_back(w->objectName());
        w = w->nextInFocusChain();
    } while (w != menu.cmdDocument.at(1));
    const std::vector<QString> expected = {"cmdDocument1", "cmdPlay", "cmdDocument2", "cmdExit",
                                           "cmdDocument3"};
    EXPECT_EQ(order, expected);

    // And the Tab key walks it.
    menu.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&menu));
    menu.cmdPlay->setFocus();
    QTest::keyClick(menu.cmdPlay, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), menu.cmdDocument.at(2));
}

TEST_F(PorticoTest, MainMenuIsCentredOnTheScreen) {
    frmMainMenu menu(Folder());
    menu.show();
    const QPoint offset =
        menu.frameGeometry().center() - menu.screen()->availableGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 2) << offset.x() << "," << offset.y();
}

TEST_F(PorticoTest, ProgramFolderHasOneSlashAppended) {
    EXPECT_EQ(frmMainMenu::ProgramFolderOf(QStringLiteral("/")), QStringLiteral("/"));
    EXPECT_EQ(frmMainMenu::ProgramFolderOf(QStringLiteral("/opt/orbix")),
              QStringLiteral("/opt/orbix/"));
    EXPECT_EQ(frmMainMenu::ProgramFolderOf(QStringLiteral("/opt/orbix/")),
              QStringLiteral("/opt/orbix/"));
    EXPECT_EQ(frmDocument::DocumentFile(QStringLiteral("/"), 2), QStringLiteral("/document2.rtf"));
    EXPECT_EQ(frmMainMenu(QStringLiteral("/")).OrbixFile(), QStringLiteral("/Orbix"));
    // Without a folder given, the folder of the running program.
    EXPECT_EQ(frmMainMenu().ProgramFolder(),
              QCoreApplication::applicationDirPath() + QLatin1Char('/'));
}

TEST_F(PorticoTest, SecondClickOnADocumentFocusesItsViewer) {
    CopyDocuments();
    frmMainMenu menu(Folder());
    menu.show();
    QTest::mouseClick(menu.cmdDocument.at(3), Qt::LeftButton);
    ASSERT_EQ(Viewers().size(), 1u);
    frmDocument* viewer = Viewers().front();
    EXPECT_EQ(viewer->windowTitle(), QStringLiteral("分子軌道法問題"));
    EXPECT_EQ(viewer->Tag, QStringLiteral("3"));
    EXPECT_TRUE(viewer->rtfDocument->toPlainText().contains(QStringLiteral("練習問題・解答")));
    EXPECT_TRUE(viewer->rtfDocument->isReadOnly());
    EXPECT_EQ(viewer->rtfDocument->textCursor().position(), 0);
    EXPECT_EQ(viewer->rtfDocument->verticalScrollBar()->value(), 0);

    viewer->showMinimized();
    QTest::mouseClick(menu.cmdDocument.at(3), Qt::LeftButton);
    ASSERT_EQ(Viewers().size(), 1u);
    EXPECT_EQ(Viewers().front(), viewer);
    EXPECT_FALSE(viewer->isMinimized());
    EXPECT_TRUE(messages_.empty());
}

TEST_F(PorticoTest, EachDocumentHasItsViewerAndCaption) {
    CopyDocuments();
    frmMainMenu menu(Folder());
    menu.show();
    QTest::mouseClick(menu.cmdDocument.at(1), Qt::LeftButton);
    QTest::mouseClick(menu.cmdDocument.at(2), Qt::LeftButton);
    QTest::mouseClick(menu.cmdDocument.at(3), Qt::LeftButton);
    ASSERT_EQ(Viewers().size(), 3u);
    std::map<QString, QString> captions;
    for (frmDocument* v : Viewers()) captions[v->Tag] = v->windowTitle();
    EXPECT_EQ(captions["1"], QStringLiteral("分子軌道法"));
    EXPECT_EQ(captions["2"], QStringLiteral("分子軌道法問題"));
    EXPECT_EQ(captions["3"], QStringLiteral("分子軌道法問題"));
    for (frmDocument* v : Viewers()) {
        EXPECT_EQ(v->mnuFile->title(), QStringLiteral("ﾌｧｲﾙ(&F)"));
        ASSERT_EQ(v->mnuFile->actions().size(), 1);
        EXPECT_EQ(v->mnuFile->actions().front()->text(), QStringLiteral("閉じる(&C)"));
    }
}

TEST_F(PorticoTest, ButtonIsDisabledWithTheHourglassWhileItsDocumentOpens) {
    CopyDocuments();
    frmMainMenu menu(Folder());
    menu.show();
    int calls = 0;
    frmMainMenu::OpeningProbe = [&](std::int16_t n) {
        ++calls;
        EXPECT_EQ(n, 2);
        EXPECT_FALSE(menu.cmdDocument.at(2)->isEnabled());
        EXPECT_TRUE(menu.cmdDocument.at(1)->isEnabled());
        ASSERT_NE(QGuiApplication::overrideCursor(), nullptr);
        EXPECT_EQ(QGuiApplication::overrideCursor()->shape(), Qt::WaitCursor);
    };
    menu.cmdDocument_Click(2);
    menu.cmdDocument_Click(2);  // the focusing path restores them too
    EXPECT_EQ(calls, 2);
    EXPECT_TRUE(menu.cmdDocument.at(2)->isEnabled());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(PorticoTest, ClosingTheMainMenuClosesTheViewers) {
    CopyDocuments();
    frmMainMenu menu(Folder());
    menu.show();
    menu.cmdDocument_Click(1);
    menu.cmdDocument_Click(3);
    ASSERT_EQ(Viewers().size(), 2u);
    QPointer<frmDocument> first = Viewers()[0];
    QPointer<frmDocument> second = Viewers()[1];
    menu.close();
    Flush();
    EXPECT_TRUE(first.isNull());
    EXPECT_TRUE(second.isNull());
}

TEST_F(PorticoTest, ExitClosesTheMenuAndItsViewers) {
    CopyDocuments();
    frmMainMenu menu(Folder());
    menu.show();
    menu.cmdDocument_Click(2);
    QTest::mouseClick(menu.cmdExit, Qt::LeftButton);
    Flush();
    EXPECT_FALSE(menu.isVisible());
    EXPECT_TRUE(Viewers().empty());
}

TEST_F(PorticoTest, CloseMenuItemDiscardsTheTextAndAReopenShowsItAgain) {
    CopyDocuments();
    frmMainMenu menu(Folder());
    menu.show();
    menu.cmdDocument_Click(1);
    QPointer<frmDocument> viewer = Viewers().front();
    QTextDocument* text = viewer->rtfDocument->document();
    QObject::connect(text, &QTextDocument::contentsChanged, viewer, [&] {
        if (text->isEmpty()) {
            EXPECT_TRUE(viewer->isVisible()) << "emptied before it closes";
        }
    });
    viewer->mnuFileClose->trigger();
    Flush();
    EXPECT_TRUE(viewer.isNull());
    EXPECT_TRUE(Viewers().empty());

    menu.cmdDocument_Click(1);
    ASSERT_EQ(Viewers().size(), 1u);
    EXPECT_FALSE(Viewers().front()->rtfDocument->document()->isEmpty());
}

TEST_F(PorticoTest, TextFillsTheViewerBelowItsMenuBar) {
    CopyDocuments();
    frmMainMenu menu(Folder());
    menu.cmdDocument_Click(1);
    frmDocument* viewer = Viewers().front();
    for (const QSize size : {QSize(800, 600), QSize(420, 300)}) {
        viewer->resize(size);
        QCoreApplication::processEvents();
        const int bar = viewer->menuBar()->height();
        EXPECT_GT(bar, 0);
        EXPECT_EQ(viewer->rtfDocument->geometry(),
                  QRect(0, bar, size.width(), size.height() - bar));
    }
}

TEST_F(PorticoTest, MissingDocumentIsToldAndTheLauncherStaysUsable) {
    frmMainMenu menu(Folder());
    menu.show();
    QTest::mouseClick(menu.cmdDocument.at(2), Qt::LeftButton);
    EXPECT_TRUE(Viewers().empty());
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_EQ(messages_[0].title, QStringLiteral("Orbix分子軌道法－メニュー"));
    EXPECT_TRUE(messages_[0].text.contains(QStringLiteral("見つかりません")));
    EXPECT_TRUE(messages_[0].text.contains(Folder() + QStringLiteral("document2.rtf")));
    EXPECT_TRUE(menu.cmdDocument.at(2)->isEnabled());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    CopyDocument(2);
    QTest::mouseClick(menu.cmdDocument.at(2), Qt::LeftButton);
    EXPECT_EQ(Viewers().size(), 1u);
    EXPECT_EQ(messages_.size(), 1u);
}

TEST_F(PorticoTest, UnreadableDocumentIsTold) {
    ASSERT_TRUE(QDir(Folder()).mkdir(QStringLiteral("document1.rtf")));
    frmMainMenu menu(Folder());
    menu.cmdDocument_Click(1);
    EXPECT_TRUE(Viewers().empty());
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_TRUE(messages_[0].text.contains(QStringLiteral("開けません")));
    EXPECT_TRUE(menu.cmdDocument.at(1)->isEnabled());
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(PorticoTest, DocumentThatIsNoRichTextIsShownAsText) {
    QFile file(Folder() + QStringLiteral("document2.rtf"));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("練習問題は準備中です。");
    file.close();
    frmMainMenu menu(Folder());
    menu.cmdDocument_Click(2);
    ASSERT_EQ(Viewers().size(), 1u);
    EXPECT_EQ(Viewers().front()->rtfDocument->toPlainText(),
              QStringLiteral("練習問題は準備中です。"));
}

TEST_F(PorticoTest, MissingOrbixIsToldAndTheLauncherStaysUsable) {
    frmMainMenu menu(Folder());
    menu.show();
    QTest::mouseClick(menu.cmdPlay, Qt::LeftButton);
    ASSERT_EQ(messages_.size(), 1u);
    EXPECT_TRUE(messages_[0].text.contains(QStringLiteral("見つかりません")));
    EXPECT_TRUE(messages_[0].text.contains(Folder() + QStringLiteral("Orbix")));
    EXPECT_TRUE(menu.cmdPlay->isEnabled());

    // A file that is there but cannot run.
    QFile file(menu.OrbixFile());
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("not a program");
    file.close();
    QTest::mouseClick(menu.cmdPlay, Qt::LeftButton);
    ASSERT_EQ(messages_.size(), 2u);
    EXPECT_TRUE(messages_[1].text.contains(QStringLiteral("起動できません")));
    EXPECT_TRUE(menu.isVisible());
}

TEST_F(PorticoTest, PlayStartsANewOrbixEachClickInItsFolder) {
    frmMainMenu menu(Folder());
    QFile script(menu.OrbixFile());
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\npwd >> started.txt\n");
    script.close();
    script.setPermissions(script.permissions() | QFileDevice::ExeOwner);

    QTest::mouseClick(menu.cmdPlay, Qt::LeftButton);
    QTest::mouseClick(menu.cmdPlay, Qt::LeftButton);
    EXPECT_TRUE(messages_.empty());
    QFile log(Folder() + QStringLiteral("started.txt"));
    QStringList lines;
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            if (!log.open(QIODevice::ReadOnly)) return false;
            lines =
                QString::fromLocal8Bit(log.readAll()).split(QLatin1Char('\n'), Qt::SkipEmptyParts);
            log.close();
            return lines.size() == 2;
        },
        10000));
    for (const QString& line : lines)
        EXPECT_EQ(QDir(line).canonicalPath(), QDir(Folder()).canonicalPath());
}

TEST_F(PorticoTest, PicturesOfTheWindows) {
    CopyDocuments();
    const QString shots = QStringLiteral(ORBIX_BINARY_DIR) + QStringLiteral("portico-shots/");
    ASSERT_TRUE(QDir().mkpath(shots));
    frmMainMenu menu(Folder());
    menu.show();
    EXPECT_TRUE(menu.grab().save(shots + QStringLiteral("frmMainMenu.png")));
    for (std::int16_t n = 1; n <= 3; ++n) {
        menu.cmdDocument_Click(n);
        for (frmDocument* v : Viewers())
            if (v->Tag == QString::number(n)) {
                EXPECT_TRUE(v->grab().save(shots + QStringLiteral("frmDocument%1.png").arg(n)));
            }
    }
}
