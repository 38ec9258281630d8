// SPDX-License-Identifier: BSD-3-Clause
// CSV output and printing of the eigen table.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QRegularExpression>

#include "orbix/model/modCommon.h"
#include "orbix/model/modOrbix.h"
#include "orbix/platform/TextFile.h"
#include "orbix/result/TablePrint.h"
#include "tests/result/ResultFixture.h"
#include "tests/support/OtherUser.h"

namespace {

using orbix::MsgAnswer;
using orbix::MsgButtons;
using orbix::MsgIcon;

// The bytes of ethylene's table, in UTF-8 or in Shift_JIS.
QByteArray EthyleneCsv(bool shiftJis = false) {
    const std::string text =
        "分子軌道,1,2\r\n軌道energy,          1.,         -1.\r\n"
        "1,       .7071,       .7071\r\n2,       .7071,      -.7071\r\n";
    if (!shiftJis) return QByteArray::fromStdString(text);
    std::string sjis;
    EXPECT_TRUE(modCommon::EncodeAnsi(text, sjis));
    return QByteArray::fromStdString(sjis);
}

class Output : public ResultWindowTest {
  protected:
    void SetUp() override {
        ResultWindowTest::SetUp();
        orbix::testing::LocaleCodeset = "UTF-8";
    }
    void TearDown() override {
        orbix::testing::LocaleCodeset.clear();
        ResultWindowTest::TearDown();
    }
    void ExpectFailure(const char* text, const QString& title) {
        ASSERT_FALSE(design.dialogs.messages.empty());
        const auto& m = design.dialogs.messages.back();
        EXPECT_EQ(m.text, QString::fromUtf8(text));
        EXPECT_EQ(m.title, title);
        EXPECT_EQ(m.icon, MsgIcon::kCritical);
        EXPECT_EQ(m.buttons, MsgButtons::kOk);
    }
};

TEST_F(Output, EthyleneCsvBytes) {
    frmResult& w = Open("1-1,2-1", "1-2");
    const QString path = dir.filePath("eth.csv");
    design.dialogs.files = {path};
    w.mnuOutputFile_Click();
    EXPECT_EQ(ReadAll(path), EthyleneCsv());
    EXPECT_TRUE(design.dialogs.messages.empty());
    ASSERT_EQ(design.dialogs.fileRequests.size(), 1u);
    const auto& req = design.dialogs.fileRequests[0];
    EXPECT_EQ(req.title, QStringLiteral("ファイルへ出力"));
    EXPECT_EQ(req.filter, QStringLiteral("CSVﾌｧｲﾙ (*.csv)|*.csv"));
    EXPECT_EQ(req.initialDir.toStdString(), modOrbix::ProgramFolder);
    // The grid keeps the table while another page is shown.
    w.Menu()->Show(6);
    design.dialogs.files = {dir.filePath("again.csv")};
    w.mnuOutputFile_Click();
    EXPECT_EQ(ReadAll(dir.filePath("again.csv")), EthyleneCsv());
}

// The locale's character set: Shift_JIS only in a Shift-JIS locale, no
// byte-order mark.
TEST_F(Output, CsvInTheLocalesCharacterSet) {
    frmResult& w = Open("1-1,2-1", "1-2");
    const struct {
        const char* codeset;
        bool shiftJis;
    } cases[] = {{"UTF-8", false}, {"ANSI_X3.4-1968", false}, {"SHIFT_JIS", true}, {"CP932", true}};
    for (const auto& c : cases) {
        orbix::testing::LocaleCodeset = c.codeset;
        const QString path = dir.filePath(QStringLiteral("%1.csv").arg(c.codeset));
        design.dialogs.files = {path};
        w.mnuOutputFile_Click();
        EXPECT_EQ(ReadAll(path), EthyleneCsv(c.shiftJis)) << c.codeset;
    }
}

TEST_F(Output, OverwriteQuestionLoopsUntilYes) {
    frmResult& w = Open("1-1,2-1", "1-2");
    const QString path = dir.filePath("old.csv");
    WriteAll(path, "old");
    design.dialogs.files = {path, path};
    design.dialogs.answers = {MsgAnswer::kNo, MsgAnswer::kYes};
    w.mnuOutputFile_Click();
    ASSERT_EQ(design.dialogs.messages.size(), 2u);
    const auto& ask = design.dialogs.messages[0];
    EXPECT_EQ(ask.text, QStringLiteral("old.csvは既に存在します。上書きしますか？"));
    EXPECT_EQ(ask.title, orbix::kApplicationTitle);
    EXPECT_EQ(ask.buttons, MsgButtons::kYesNo);
    EXPECT_EQ(ask.icon, MsgIcon::kNone);
    ASSERT_EQ(design.dialogs.fileRequests.size(), 2u);
    EXPECT_EQ(design.dialogs.fileRequests[1].fileName, QStringLiteral("old.csv"))
        << "title preset after No";
    EXPECT_EQ(ReadAll(path), EthyleneCsv());
}

TEST_F(Output, DecliningThenCancellingKeepsTheFile) {
    frmResult& w = Open("1-1,2-1", "1-2");
    const QString path = dir.filePath("keep.csv");
    WriteAll(path, "keep");
    design.dialogs.files = {path, std::nullopt};
    design.dialogs.answers = {MsgAnswer::kNo};
    w.mnuOutputFile_Click();
    EXPECT_EQ(ReadAll(path), QByteArray("keep"));
    ExpectFailure("ﾌｧｲﾙの出力に失敗しました", QStringLiteral("表ﾃﾞｰﾀのﾌｧｲﾙ出力ｴﾗｰ"));
}

TEST_F(Output, FailedWriteLeavesTheOldFile) {
    frmResult& w = Open("1-1,2-1", "1-2");
    const QString path = dir.filePath("full.csv");
    WriteAll(path, "before");
    design.dialogs.files = {path};
    design.dialogs.answers = {MsgAnswer::kYes};
    orbix::testing::WriteFailsAfterBytes = 20;  // the disk fills up half-way
    w.mnuOutputFile_Click();
    orbix::testing::WriteFailsAfterBytes = -1;
    EXPECT_EQ(ReadAll(path), QByteArray("before"));
    ExpectFailure("ﾌｧｲﾙの出力に失敗しました", QStringLiteral("表ﾃﾞｰﾀのﾌｧｲﾙ出力ｴﾗｰ"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"full.csv"})
        << "temporary file left behind";
}

TEST_F(Output, ProtectedFilesLinksAndPermissions) {
    ORBIX_RUN_AS_OTHER_USER();
    frmResult& w = Open("1-1,2-1", "1-2");
    const QString ro = dir.filePath("ro.csv");
    WriteAll(ro, "before");
    QFile::setPermissions(ro, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    design.dialogs.files = {ro};
    design.dialogs.answers = {MsgAnswer::kYes};
    w.mnuOutputFile_Click();
    EXPECT_EQ(ReadAll(ro), QByteArray("before")) << "the read-only file was replaced";
    ExpectFailure("ﾌｧｲﾙの出力に失敗しました", QStringLiteral("表ﾃﾞｰﾀのﾌｧｲﾙ出力ｴﾗｰ"));

    const QString group = dir.filePath("group.csv"), target = dir.filePath("target.csv");
    const QString link = dir.filePath("link.csv");
    WriteAll(group, "before");
    QFile::setPermissions(group, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    WriteAll(target, "before");
    ASSERT_TRUE(QFile::link(target, link));
    for (const QString& path : {group, link}) {
        const size_t asked = design.dialogs.messages.size();
        design.dialogs.files = {path};
        design.dialogs.answers = {MsgAnswer::kYes};
        w.mnuOutputFile_Click();
        EXPECT_EQ(design.dialogs.messages.size(), asked + 1)  // the overwrite question only
            << path.toStdString() << ": " << design.dialogs.messages.back().text.toStdString();
        EXPECT_EQ(ReadAll(path), EthyleneCsv()) << path.toStdString();
    }
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(group).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u) << "group.csv now " << std::oct << (st.st_mode & 0777);
    EXPECT_TRUE(QFileInfo(link).isSymLink()) << "the link became a plain file";
}

TEST_F(Output, ReadOnlyFolderLeavesTheOldFile) {
    ORBIX_RUN_AS_OTHER_USER();
    frmResult& w = Open("1-1,2-1", "1-2");
    QDir(dir.path()).mkdir("ro");
    const QString path = dir.filePath("ro/table.csv");
    WriteAll(path, "before");
    QFile::setPermissions(dir.filePath("ro"), QFile::ReadOwner | QFile::ExeOwner);
    ASSERT_NE(::access(QFile::encodeName(dir.filePath("ro")).constData(), W_OK), 0)
        << "folder permissions do not bind this user";
    design.dialogs.files = {path};
    design.dialogs.answers = {MsgAnswer::kYes};
    w.mnuOutputFile_Click();
    QFile::setPermissions(dir.filePath("ro"),
                          QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(ReadAll(path), QByteArray("before"));
    ExpectFailure("ﾌｧｲﾙの出力に失敗しました", QStringLiteral("表ﾃﾞｰﾀのﾌｧｲﾙ出力ｴﾗｰ"));
}

TEST_F(Output, CancelledDialogsReportFailure) {
    frmResult& w = Open("1-1,2-1", "1-2");
    design.dialogs.files = {std::nullopt};
    w.mnuOutputFile_Click();
    ExpectFailure("ﾌｧｲﾙの出力に失敗しました", QStringLiteral("表ﾃﾞｰﾀのﾌｧｲﾙ出力ｴﾗｰ"));
    design.dialogs.printers = {std::nullopt};
    w.mnuOutputPrint_Click();
    ExpectFailure("ﾃﾞｰﾀの印刷に失敗しました", QStringLiteral("Orbix分子軌道法－ﾃﾞｰﾀの印刷ｴﾗｰ"));
    EXPECT_EQ(design.dialogs.printerTitles, QStringList{"ﾃﾞｰﾀの印刷"});
}

QString PdfText(const QString& pdf) {
    QProcess p;
    p.start("pdftotext", {"-layout", pdf, "-"});
    if (!p.waitForFinished(30000) || p.exitCode() != 0) return {};
    return QString::fromUtf8(p.readAllStandardOutput());
}

TEST_F(Output, PrintedTableHoldsTheCellTexts) {
    if (QProcess::execute("pdftotext", {"-v"}) < 0) GTEST_SKIP() << "pdftotext is not installed";
    frmResult& w = Open("1-1,2-1", "1-2");
    const QString pdf = dir.filePath("eth.pdf");
    design.dialogs.printers = {pdf};
    w.mnuOutputPrint_Click();
    EXPECT_TRUE(design.dialogs.messages.empty());
    const QString text = PdfText(pdf);
    ASSERT_FALSE(text.isEmpty());
    EXPECT_TRUE(text.contains(QStringLiteral("分子軌道"))) << text.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("軌道energy")));
    EXPECT_TRUE(text.contains(QStringLiteral("-.7071")));
    EXPECT_EQ(text.count(QStringLiteral(".7071")), 4);
    EXPECT_EQ(text.count(QStringLiteral("\f")), 1) << "one page";
}

TEST_F(Output, WideTableIsSplitIntoReadablePages) {
    if (QProcess::execute("pdftotext", {"-v"}) < 0) GTEST_SKIP() << "pdftotext is not installed";
    frmResult& w = Open(LatticeAtoms(36), LatticeBonds(36));
    const QString pdf = dir.filePath("big.pdf");
    design.dialogs.printers = {pdf};
    w.mnuOutputPrint_Click();
    EXPECT_TRUE(design.dialogs.messages.empty());
    const QStringList pages = PdfText(pdf).split(QLatin1Char('\f'), Qt::SkipEmptyParts);
    ASSERT_GT(pages.size(), 1);
    for (const QString& page : pages) {
        EXPECT_TRUE(page.contains(QStringLiteral("分子軌道"))) << "page without its header row";
        EXPECT_TRUE(page.contains(QStringLiteral("軌道energy")));
        EXPECT_TRUE(page.contains(QRegularExpression(QStringLiteral("\\n\\s*36\\s"))))
            << "no atom 36";
    }
    // Every eigenvalue and coefficient is printed once.
    int printed = 0;
    const QRegularExpression number(QStringLiteral("^-?\\d*\\.\\d*$"));
    for (const QString& page : pages)
        for (const QString& word :
             page.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts))
            printed += number.match(word).hasMatch();
    EXPECT_EQ(printed, 36 + 36 * 36);
}

TEST(TablePrintLayout, SplitsRepeatingTheHeaders) {
    auto one = TablePrint::Paginate(4, 3, 50, 9);
    ASSERT_EQ(one.size(), 1u);
    EXPECT_EQ(one[0].cols, (std::vector<int>{0, 1, 2}));
    auto many = TablePrint::Paginate(38, 37, 30, 9);
    // 36 body columns in bands of 8, 37 body rows in bands of 29.
    ASSERT_EQ(many.size(), 5u * 2u);
    EXPECT_EQ(many[0].cols, (std::vector<int>{0, 1, 2, 3, 4, 5, 6, 7, 8}));
    EXPECT_EQ(many[0].rows.size(), 30u);
    EXPECT_EQ(many[1].rows, (std::vector<int>{0, 30, 31, 32, 33, 34, 35, 36, 37}));
    EXPECT_EQ(many[9].cols, (std::vector<int>{0, 33, 34, 35, 36}));
    for (const auto& s : many) {
        EXPECT_EQ(s.rows.front(), 0);
        EXPECT_EQ(s.cols.front(), 0);
    }
}

}  // namespace
