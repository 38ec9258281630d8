// SPDX-License-Identifier: BSD-3-Clause
// The help window: the shipped help text shown whole, the text box filling
// the window, and the help command reusing an open window.

#include <gtest/gtest.h>

#include <QApplication>
#include <QFile>
#include <QPlainTextEdit>
#include <QScrollBar>
#include <QStringDecoder>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <memory>
#include <string>

#include "orbix/model/modCommon.h"
#include "orbix/platform/Twips.h"
#include "orbix/result/frmHelp.h"

namespace {

const std::string kShippedHelp = ORBIX_SOURCE_DIR "docs/Orbix.hlp";

QString Shown(const std::string& fileText) {
    QString s = QString::fromStdString(fileText);
    s.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return s;
}

void ExpectFills(const frmHelp& help) {
    EXPECT_EQ(help.txtDisplay->geometry(), QRect(QPoint(0, 0), help.size()));
}

// Closes every help window a test left open.
class HelpTest : public ::testing::Test {
  protected:
    void TearDown() override {
        while (frmHelp* open = frmHelp::Find()) open->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    std::string WriteHelp(const QByteArray& bytes) {
        const QString path = dir.filePath(QStringLiteral("Orbix.hlp"));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly | QIODevice::Truncate));
        f.write(bytes);
        return path.toStdString();
    }

    QTemporaryDir dir;
};

}  // namespace

TEST_F(HelpTest, ShippedHelpTextIsCp932WithCrLfAndShownWhole) {
    QFile raw(QString::fromStdString(kShippedHelp));
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QByteArray bytes = raw.readAll();
    EXPECT_EQ(bytes.count('\n'), bytes.count("\r\n")) << "a line end without CR";
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString asUtf8 = utf8(bytes);
    EXPECT_TRUE(utf8.hasError()) << "stored as UTF-8, not CP932";

    std::string text;
    ASSERT_EQ(modCommon::ReadTextFile(kShippedHelp, text), 1);
    EXPECT_EQ(QString::fromStdString(text).count(QChar(0xFFFD)), 0) << "not CP932 throughout";
    // The pages the text is meant to explain are all named in it.
    for (const char* topic :
         {"原子パレット", "結合", "原子の削除", "計算実行", "固有値および固有ベクトル", "π電子密度",
          "結合次数", "軌道エネルギー準位", "クローン積分", "共鳴積分", "平面", "立体", "CSV",
          "印刷", ".mol", ".tpl", "ﾃﾝﾌﾟﾚｰﾄ"})
        EXPECT_TRUE(QString::fromStdString(text).contains(QString::fromUtf8(topic))) << topic;

    const std::string before = text;
    auto* help = new frmHelp;
    help->Display(text);
    EXPECT_EQ(text, before);
    EXPECT_TRUE(help->isVisible());
    EXPECT_FALSE(help->isModal());
    EXPECT_EQ(help->windowTitle(), QStringLiteral("使用方法"));
    EXPECT_EQ(help->txtDisplay->toPlainText(), Shown(text));
    EXPECT_EQ(help->txtDisplay->font().pointSize(), 14);
    EXPECT_EQ(help->size(), QSize(orbix::TwipsToPixelsX(9465), orbix::TwipsToPixelsY(6915)));
    ExpectFills(*help);

    // Long enough to scroll; lines wrap instead of scrolling sideways.
    QApplication::processEvents();
    EXPECT_GT(help->txtDisplay->verticalScrollBar()->maximum(), 0);
    EXPECT_EQ(help->txtDisplay->horizontalScrollBar()->maximum(), 0);
    bool wrapped = false;
    for (QTextBlock b = help->txtDisplay->document()->begin(); b.isValid(); b = b.next())
        if (b.layout() && b.layout()->lineCount() > 1) wrapped = true;
    EXPECT_TRUE(wrapped);

    ASSERT_TRUE(help->grab().save(QStringLiteral(ORBIX_BINARY_DIR "help-window.png")));
}

TEST_F(HelpTest, TextBoxFillsTheWindowAfterResizeMinimiseAndRestore) {
    auto* help = new frmHelp;
    help->Display("一行目\r\n二行目\r\n");
    help->resize(300, 200);
    ExpectFills(*help);
    help->resize(900, 700);
    ExpectFills(*help);
    help->showMinimized();
    help->showNormal();
    EXPECT_FALSE(help->isMinimized());
    ExpectFills(*help);
    EXPECT_EQ(help->txtDisplay->toPlainText(), QStringLiteral("一行目\n二行目\n"));
}

TEST_F(HelpTest, HelpCommandReusesTheOpenWindowWithoutReadingAgain) {
    QByteArray many;
    for (int i = 0; i < 200; ++i)
        many += "\x83\x77\x83\x8B\x83\x76 " + QByteArray::number(i) + "\r\n";  // ヘルプ
    const std::string path = WriteHelp(many);

    ASSERT_TRUE(ShowHelp(path));
    frmHelp* first = frmHelp::Find();
    ASSERT_NE(first, nullptr);
    const QString text = first->txtDisplay->toPlainText();
    EXPECT_TRUE(text.startsWith(QStringLiteral("ヘルプ 0\n")));
    QApplication::processEvents();
    QScrollBar* bar = first->txtDisplay->verticalScrollBar();
    bar->setValue(bar->maximum() / 2);
    const int scrolled = bar->value();
    ASSERT_GT(scrolled, 0);

    first->showMinimized();
    ASSERT_TRUE(first->isMinimized());
    WriteHelp("changed\r\n");
    ASSERT_TRUE(ShowHelp(path));
    EXPECT_EQ(frmHelp::Find(), first);
    EXPECT_FALSE(first->isMinimized());
    EXPECT_EQ(first->txtDisplay->toPlainText(), text);
    EXPECT_EQ(bar->value(), scrolled);
    ExpectFills(*first);
    int windows = 0;
    for (QWidget* w : QApplication::topLevelWidgets())
        if (qobject_cast<frmHelp*>(w) && w->isVisible()) ++windows;
    EXPECT_EQ(windows, 1);

    // Once closed, the next help command reads the file again.
    first->close();
    ASSERT_TRUE(ShowHelp(path));
    ASSERT_NE(frmHelp::Find(), nullptr);
    EXPECT_EQ(frmHelp::Find()->txtDisplay->toPlainText(), QStringLiteral("changed\n"));
}

TEST_F(HelpTest, UnreadableHelpFileOpensNoWindow) {
    EXPECT_FALSE(ShowHelp(dir.filePath(QStringLiteral("missing.hlp")).toStdString()));
    EXPECT_EQ(frmHelp::Find(), nullptr);
    EXPECT_FALSE(ShowHelp(dir.path().toStdString()));  // a folder
    EXPECT_EQ(frmHelp::Find(), nullptr);
}
