// SPDX-License-Identifier: BSD-3-Clause
// orbix-calc --page run as a process: the pictures it writes and the usage
// errors it refuses.

#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <QImageReader>
#include <QProcessEnvironment>
#include <QTemporaryDir>
#include <fstream>

#include "OrbixCalc.h"

namespace {

class PageOption : public ::testing::Test {
  protected:
    QStringList Files() const { return QDir(dir.path()).entryList(QDir::Files, QDir::Name); }
    QTemporaryDir dir;
};

TEST_F(PageOption, AllWritesEveryPageAndOrbitalUnderSortableNames) {
    const QString out = dir.filePath("ethylene pages");  // created, blank and all
    const Outcome r = Calc({"--page", "all", "--out", out, Tpl("ethylene")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QStringList want{"02-eigen-table.svg", "04-densities.svg", "05-bond-orders.svg",
                           "06-levels.svg",      "08-coulomb.svg",   "09-resonance.svg",
                           "11-planar-01.svg",   "11-planar-02.svg", "12-3d-01.svg",
                           "12-3d-02.svg"};
    EXPECT_EQ(QDir(out).entryList(QDir::Files, QDir::Name), want)
        << "ethylene: " << QDir(out).entryList().join(' ').toStdString();

    const Outcome pdf = Calc({"--page=all", "--format", "PDF", "--out", dir.path(), Tpl("allyl")});
    ASSERT_EQ(pdf.status, 0) << pdf.err.toStdString();
    EXPECT_TRUE(Files().contains("12-3d-03.pdf")) << "allyl: " << Files().join(' ').toStdString();
    EXPECT_EQ(Files().size(), 6 + 3 + 3) << "allyl: " << Files().join(' ').toStdString();
}

TEST_F(PageOption, OneSceneByNumberInTheFormatOfItsExtension) {
    const QString png = dir.filePath("planar.PNG");
    const Outcome r = Calc({"--page", "11", "--orbital", "2", "--out", png, Tpl("ethylene")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    QImageReader reader(png);
    EXPECT_EQ(reader.format(), "png");
    EXPECT_EQ(reader.size(), QSize(1280, 800)) << "ethylene planar orbital 2";

    const Outcome svg = Calc({"--page", "6", "--out", dir.filePath("levels.svg"), Tpl("benzene")});
    ASSERT_EQ(svg.status, 0) << svg.err.toStdString();
    QFile f(dir.filePath("levels.svg"));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_TRUE(f.readAll().contains("<svg"));
}

TEST_F(PageOption, UsageErrorsExitWithTwoAMessageAndNoFile) {
    const QString png = dir.filePath("p.png");
    const QString eth = Tpl("ethylene");
    const std::vector<std::pair<const char*, QStringList>> cases = {
        {"heading scene", {"--page", "3", "--out", png, eth}},
        {"scene beyond the tree", {"--page", "13", "--out", png, eth}},
        {"scene not a number", {"--page", "levels", "--out", png, eth}},
        {"orbital beyond n", {"--page", "12", "--orbital", "3", "--out", png, eth}},
        {"orbital zero", {"--page", "11", "--orbital", "0", "--out", png, eth}},
        {"orbital on a scene without orbitals",
         {"--page", "6", "--orbital", "1", "--out", png, eth}},
        {"orbital with all", {"--page", "all", "--orbital", "1", "--out", dir.path(), eth}},
        {"unknown extension", {"--page", "6", "--out", dir.filePath("p.jpg"), eth}},
        {"no extension", {"--page", "6", "--out", dir.filePath("p"), eth}},
        {"unknown format", {"--page", "all", "--format", "gif", "--out", dir.path(), eth}},
        {"format with one scene", {"--page", "6", "--format", "svg", "--out", png, eth}},
        {"no --out", {"--page", "6", eth}},
        {"two molecules", {"--page", "6", "--out", png, eth, Tpl("allyl")}},
        {"with --json", {"--page", "6", "--json", "--out", png, eth}},
        {"--out without --page", {"--out", png, eth}},
    };
    for (const auto& [what, args] : cases) {
        const Outcome r = Calc(args);
        EXPECT_EQ(r.status, 2) << what << ": " << r.err.toStdString();
        EXPECT_FALSE(r.err.trimmed().isEmpty()) << what;
        EXPECT_TRUE(Files().isEmpty()) << what << ": " << Files().join(' ').toStdString();
    }
}

TEST_F(PageOption, RefusedMoleculeWritesNothing) {
    const QString lone = dir.filePath("lone.mol");
    {
        QFile f(lone);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write("[Atom]=1-1\r\n");
    }
    const Outcome r = Calc({"--page", "6", "--out", dir.filePath("p.svg"), lone});
    EXPECT_EQ(r.status, 1) << r.err.toStdString();
    EXPECT_EQ(Files(), QStringList{"lone.mol"});
}

TEST_F(PageOption, MoleculeFileNameThatIsNotUtf8) {
    // A name no encoding gives, as from a Windows share, goes to the program as
    // bytes.
    const QByteArray name("\xff\xfe.mol");
    const QByteArray path = QFile::encodeName(dir.path()) + "/" + name;
    {
        std::ofstream f(path.toStdString(), std::ios::binary);
        f << "[Atom]=1-1,2-1\r\n[Bond]=1-2\r\n";
    }
    const QByteArray out = QFile::encodeName(dir.filePath("levels.svg"));
    Outcome r;
    ASSERT_NO_FATAL_FAILURE(CalcInShell("--page 6 --out '" + out + "' '" + path + "' 2>&1", r));
    EXPECT_EQ(r.status, 0) << r.out.toStdString();
    EXPECT_TRUE(QFile::exists(dir.filePath("levels.svg"))) << r.out.toStdString();
}

TEST_F(PageOption, FullDiskKeepsTheOldPictureAndStopsAll) {
    for (const char* ext : {"png", "svg", "pdf"}) {
        const QString kept = dir.filePath(QStringLiteral("keep.") + ext);
        ASSERT_EQ(Calc({"--page", "6", "--out", kept, Tpl("benzene")}).status, 0) << ext;
        QFile f(kept);
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        const QByteArray before = f.readAll();
        f.close();
        const Outcome r = Calc({"--page", "6", "--out", kept, Tpl("benzene")},
                               [](QProcess& p) { SizeLimit(p, 1024); });
        EXPECT_EQ(r.status, 1) << ext;
        EXPECT_EQ(QString::fromUtf8(r.err),
                  kept + ": 画像を書き込めません: ファイルの大きさが上限を超えます\n")
            << ext;
        ASSERT_TRUE(f.open(QIODevice::ReadOnly));
        EXPECT_EQ(f.readAll(), before) << ext << ": the old picture must stay";
    }
    // Benzene's PDF pages up to the planar ones fit in 12,000 bytes, its 3-D
    // ones do not: the run ends at the first of them, and every picture it
    // leaves is whole.
    const QString all = dir.filePath("all");
    const Outcome r = Calc({"--page", "all", "--format", "pdf", "--out", all, Tpl("benzene")},
                           [](QProcess& p) { SizeLimit(p, 12000); });
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(r.err.count('\n'), 1) << r.err.toStdString();
    const QFileInfoList left =
        QDir(all).entryInfoList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    EXPECT_EQ(left.size(), 6 + 6) << "benzene: every page before the 3-D ones";
    for (const QFileInfo& file : left) {
        EXPECT_FALSE(file.fileName().startsWith(QLatin1Char('.'))) << "a temporary file left";
        EXPECT_GT(file.size(), 1000) << file.fileName().toStdString();
    }
}

TEST_F(PageOption, BatchRunWithoutRuntimeFolderPrintsOnlyJapanese) {
    // No runtime folder and a temporary folder of the test's own: nothing
    // printed, nothing left there.
    const auto batch = [this](QProcess& p) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.remove(QStringLiteral("XDG_RUNTIME_DIR"));
        env.insert(QStringLiteral("TMPDIR"), dir.path());
        p.setProcessEnvironment(env);
    };
    const Outcome r =
        Calc({"--page", "6", "--out", dir.filePath("levels.svg"), Tpl("benzene")}, batch);
    EXPECT_EQ(r.status, 0);
    EXPECT_EQ(r.err, QByteArray());
    EXPECT_EQ(Files(), QStringList{"levels.svg"});
    EXPECT_TRUE(QDir(dir.path()).entryList(QDir::Dirs | QDir::NoDotAndDotDot).isEmpty())
        << QDir(dir.path()).entryList().join(' ').toStdString();

    const QString missing = dir.filePath("no/such/folder/p.svg");
    const Outcome failed = Calc({"--page", "6", "--out", missing, Tpl("benzene")}, batch);
    EXPECT_EQ(failed.status, 1);
    EXPECT_EQ(QString::fromUtf8(failed.err),
              missing + ": 画像を書き込めません: 保存先のフォルダーがありません\n");
}

}  // namespace
