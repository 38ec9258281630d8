// SPDX-License-Identifier: BSD-3-Clause
// orbix-calc run as a process, as a user or a script would run it.

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QProcess>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

#include "OrbixCalc.h"

namespace {

QJsonObject Line(const QByteArray& out, int index) {
    QList<QByteArray> lines = out.split('\n');
    return QJsonDocument::fromJson(lines.value(index)).object();
}

class Files : public ::testing::Test {
  protected:
    QString Write(const QString& name, const QByteArray& bytes) {
        QString path = dir_.filePath(name);
        std::ofstream(path.toStdString(), std::ios::binary) << bytes.toStdString();
        return path;
    }
    QTemporaryDir dir_;
};

TEST(OrbixCalc, JsonOfEthylene) {
    Outcome r = Calc({"--json", Tpl("ethylene")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    QJsonObject o = Line(r.out, 0);
    QStringList keys = o.keys();
    keys.sort();
    QStringList expect{"file",   "code",  "message",    "n",      "E_num",    "Homo_num", "maxOff",
                       "EigVal", "Cvec",  "LevelCount", "LevelE", "LevelDeg", "Occ",      "Energy",
                       "P",      "Hmat0", "AtomPos",    "grid",   "csv"};
    expect.sort();
    EXPECT_EQ(keys, expect);
    EXPECT_EQ(o["code"].toInt(), 0);
    EXPECT_EQ(o["message"].toString(), "");
    EXPECT_EQ(o["n"].toInt(), 2);
    EXPECT_NEAR(o["EigVal"][0].toDouble(), 1, 1e-15);
    EXPECT_NEAR(o["Cvec"][1][1].toDouble(), -M_SQRT1_2, 1e-15) << "row = atom, column = orbital";
    EXPECT_NEAR(o["P"][0][1].toDouble(), 1, 1e-6);
    EXPECT_EQ(o["LevelDeg"].toArray().size(), 2);
    EXPECT_EQ(o["Occ"].toArray().size(), 2);
    EXPECT_EQ(o["grid"][3][2].toString(), "      -.7071");
    EXPECT_EQ(o["grid"][0][0].toString(), "分子軌道");
    EXPECT_TRUE(o["csv"].toString().endsWith("      -.7071\r\n"));
    EXPECT_EQ(o["AtomPos"].toArray().size(), 2);
}

TEST(OrbixCalc, TextReportAndSeveralFiles) {
    Outcome r = Calc({Tpl("benzene"), Tpl("allyl")});
    ASSERT_EQ(r.status, 0);
    QString text = QString::fromUtf8(r.out);
    EXPECT_TRUE(text.contains("全エネルギー = 08.0000"));
    EXPECT_TRUE(text.contains("全エネルギー = 02.8284"));
    EXPECT_TRUE(text.contains("ＳＯＭＯ = 軌道 2"));
    EXPECT_TRUE(text.contains("1-2: 1.667"));
}

TEST_F(Files, RefusalsAreReportedPerFile) {
    QString ok = Tpl("ethylene");
    QString lone = Write("lone.mol", "[Atom]=1-1\r\n\r\n");
    QString apart = Write("apart.mol", "[Atom]=1-1,2-1,5-1\r\n[Bond]=1-2\r\n");
    QString hetero = Write("nn.mol", "[Atom]=1-2,2-2\r\n[Bond]=1-2\r\n");
    static const char kJunk[] = "\x00\xff\x81garbage]]==\n";
    QString junk = Write("junk.mol", QByteArray(kJunk, sizeof kJunk - 1));
    QString missing = dir_.filePath("missing.mol");
    Outcome r = Calc({"--json", ok, lone, apart, hetero, junk, missing});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(Line(r.out, 0)["code"].toInt(), 0);
    EXPECT_EQ(Line(r.out, 1)["code"].toInt(), 4);
    EXPECT_EQ(Line(r.out, 1)["message"].toString(), "分子が形成されていません。");
    EXPECT_EQ(Line(r.out, 2)["code"].toInt(), 1);
    EXPECT_EQ(Line(r.out, 3)["code"].toInt(), 3);
    EXPECT_EQ(Line(r.out, 4)["code"].toInt(), 5);
    EXPECT_EQ(Line(r.out, 5)["code"].toInt(), 5);
    EXPECT_TRUE(Line(r.out, 5)["message"].toString().contains("のオープンに失敗しました。"));
    QString err = QString::fromLocal8Bit(r.err);
    EXPECT_TRUE(err.contains("lone.mol: 分子が形成されていません。")) << err.toStdString();
    EXPECT_TRUE(err.contains("junk.mol"));
}

TEST_F(Files, BondWrittenLargerSiteFirstIsKept) {
    // Without the reordering the structure check would not see the bond.
    QString f = Write("reversed.mol", "[Atom]=2-1,1-1\r\n[Bond]=2-1\r\n");
    Outcome r = Calc({"--json", f});
    EXPECT_EQ(r.status, 0) << r.err.toStdString();
    EXPECT_EQ(Line(r.out, 0)["code"].toInt(), 0);
}

TEST_F(Files, BondToAnEmptySiteFailsTheLoad) {
    QString f = Write("dangling.mol", "[Atom]=1-1,2-1\r\n[Bond]=1-2,2-3\r\n");
    Outcome r = Calc({"--json", f});
    EXPECT_EQ(Line(r.out, 0)["code"].toInt(), 5);
    EXPECT_TRUE(Line(r.out, 0)["message"].toString().endsWith("からの分子の作成に失敗しました。"));
}

TEST_F(Files, ElementTableAndUsageErrors) {
    Outcome r = Calc({"--atoms", dir_.filePath("none.dat"), Tpl("ethylene")});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(QString::fromUtf8(r.err),
              dir_.filePath("none.dat") + ": 原子データファイルの読み込みに失敗しました\n")
        << "the file that failed is named";
    r = Calc({"--atoms", Write("bad.dat", "C,1,0,0,1\r\n"), Tpl("ethylene")});
    EXPECT_EQ(r.status, 2);
    EXPECT_TRUE(
        QString::fromLocal8Bit(r.err).contains("原子データファイルのデータが正しくありません。"));
    EXPECT_EQ(Calc({}).status, 2);
    EXPECT_EQ(Calc({"--no-such-option", Tpl("ethylene")}).status, 2);
    // A table whose only element gives three electrons: more than the orbitals hold.
    r = Calc({"--json", "--atoms", Write("three.dat", "C,3,0,0,1,3\r\n"), Tpl("ethylene")});
    EXPECT_EQ(r.status, 1);
    EXPECT_EQ(Line(r.out, 0)["code"].toInt(), 6);
}

TEST_F(Files, ElementTablesAtTheLimits) {
    const QString ethylene = Write("ethylene.mol", "[Atom]=1-1,2-1\r\n[Bond]=1-2\r\n");
    const QString cn = Write("cn.mol", "[Atom]=1-1,2-2\r\n[Bond]=1-2\r\n");
    struct {
        const char* table;
        QString file;
        int code;
        const char* why;
    } cases[] = {
        {"C,32767,0,0,1,3\r\n", ethylene, 6, "65534 electrons overflow a 16-bit total"},
        {"C,1,-1000,0,0,3\r\n", ethylene, 0, "orbitals at the level search's start value"},
        {"C,2,0,0,1,3\r\nN,3,1,0.1,1,3\r\n", ethylene, 0, "4 electrons on 2 atoms"},
        {"C,2,0,0,1,3\r\nN,3,1,0.1,1,3\r\n", cn, 6, "5 electrons on 2 atoms"},
    };
    int i = 0;
    for (const auto& c : cases) {
        const QString table = Write(QString("table%1.dat").arg(++i), c.table);
        Outcome r = Calc({"--json", "--atoms", table, c.file});
        const QJsonObject o = Line(r.out, 0);
        EXPECT_EQ(o["code"].toInt(-1), c.code)
            << c.why << "; table " << c.table << "stderr: " << r.err.toStdString();
        EXPECT_EQ(r.status, c.code ? 1 : 0) << c.why;
    }
    // The lone level at -1000 holds both orbitals, one electron each.
    Outcome r = Calc({"--atoms", Write("low.dat", "C,1,-1000,0,0,3\r\n"), ethylene});
    EXPECT_TRUE(r.out.contains("準位 1: x = -1000.0000  縮退度 2  電子 1 1"))
        << r.out.toStdString();
}

TEST_F(Files, FifoIsAnOpenFailureAtOnce) {
    const QString fifo = dir_.filePath("f.mol");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    const QString atoms = dir_.filePath("atoms.dat");
    ASSERT_EQ(::mkfifo(QFile::encodeName(atoms).constData(), 0600), 0);
    for (const QStringList& args :
         {QStringList{"--json", fifo}, QStringList{"--atoms", atoms, Tpl("ethylene")}}) {
        QProcess p;
        p.start(QString(ORBIX_PROGRAM_DIR) + "orbix-calc", args);
        const bool ended = p.waitForFinished(10000);
        if (!ended) {
            p.kill();
            p.waitForFinished();
        }
        ASSERT_TRUE(ended) << "orbix-calc " << args.join(' ').toStdString() << " hangs";
        if (args[0] == "--json") {
            EXPECT_EQ(p.exitCode(), 1);
            EXPECT_EQ(Line(p.readAllStandardOutput(), 0)["code"].toInt(), 5);
        } else {
            EXPECT_EQ(p.exitCode(), 2);
            EXPECT_TRUE(QString::fromLocal8Bit(p.readAllStandardError())
                            .contains("原子データファイルの読み込みに失敗しました"));
        }
    }
}

TEST_F(Files, FileNamesThatAreNotUtf8) {
    // A Shift_JIS name ("分子.mol") and bytes no encoding gives, as from a Windows share.
    for (const QByteArray& name :
         {QByteArray("\x95\xaa\x8e\x71.mol"), QByteArray("\xff\xfe.mol")}) {
        const QByteArray path = QFile::encodeName(dir_.path()) + "/" + name;
        std::ofstream(path.toStdString(), std::ios::binary) << "[Atom]=1-1,2-1\r\n[Bond]=1-2\r\n";
        Outcome r;
        ASSERT_NO_FATAL_FAILURE(CalcInShell("--json '" + path + "'", r));
        EXPECT_EQ(r.status, 0) << "name " << name.toHex().toStdString() << ": "
                               << r.out.toStdString();
        EXPECT_EQ(Line(r.out, 0)["code"].toInt(-1), 0) << name.toHex().toStdString();
        EXPECT_EQ(Line(r.out, 0)["E_num"].toInt(), 2) << name.toHex().toStdString();
    }
}

TEST_F(Files, CaptionWithPercentSignsPrintsAsWritten) {
    const QString table = Write("pct.dat", "C%3,1,0,0,1,3\r\nN%1%2,1,0.5,0.05,1,2\r\n");
    Outcome r = Calc({"--atoms", table, Write("cn.mol", "[Atom]=1-1,2-2\r\n[Bond]=1-2\r\n")});
    ASSERT_EQ(r.status, 0) << r.err.toStdString();
    const QString out = QString::fromUtf8(r.out);
    EXPECT_TRUE(out.contains("原子 1 (C%3, サイト 1): ")) << out.toStdString();
    EXPECT_TRUE(out.contains("原子 2 (N%1%2, サイト 2): ")) << out.toStdString();
}

TEST_F(Files, OptionValuesKeepTheirBytes) {
    // Two names that are not UTF-8 and would decode alike, as table and
    // molecule; a picture named by bytes that are not UTF-8 either.
    const QByteArray folder = QFile::encodeName(dir_.path()) + "/";
    std::ofstream(folder.toStdString() + "\xfd.x", std::ios::binary) << "C,1,0,0,1,3\r\n";
    std::ofstream(folder.toStdString() + "\xfc.x", std::ios::binary)
        << "[Atom]=1-1,2-1\r\n[Bond]=1-2\r\n";
    Outcome r;
    ASSERT_NO_FATAL_FAILURE(
        CalcInShell("--json --atoms '" + folder + "\xfd.x' '" + folder + "\xfc.x'", r));
    EXPECT_EQ(r.status, 0) << r.out.toStdString();
    EXPECT_EQ(Line(r.out, 0)["n"].toInt(), 2) << r.out.toStdString();

    Outcome page;
    ASSERT_NO_FATAL_FAILURE(CalcInShell(
        "--page 6 --out '" + folder + "\xff\xfe.svg' '" + folder + "\xfc.x' 2>&1", page));
    EXPECT_EQ(page.status, 0) << page.out.toStdString();
    EXPECT_EQ(::access((folder + "\xff\xfe.svg").constData(), F_OK), 0)
        << "the picture under its very name";
    // Qt cannot name these files: the folder is read and emptied by bytes.
    const std::filesystem::path raw(folder.toStdString());
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(raw), {}), 3)
        << "nothing under another name";
    for (const auto& entry : std::filesystem::directory_iterator(raw))
        std::filesystem::remove(entry.path());
}

TEST(OrbixCalc, OutputThatCannotBeWrittenIsExitTwoAndOneLine) {
    QTemporaryDir dir;
    const QStringList three{"--json", Tpl("naphthalene"), Tpl("anthracene"), Tpl("phenanthrene")};
    const auto toFull = [](QProcess& p) { p.setStandardOutputFile("/dev/full"); };
    struct {
        const char* what;
        QStringList args;
        std::function<void(QProcess&)> setup;
        QString reason;
    } cases[] = {
        {"JSON to a full device", three, toFull, "ディスクに空きがありません"},
        {"report to a full device", {Tpl("benzene")}, toFull, "ディスクに空きがありません"},
        {"closed output", three, [](QProcess& p) { p.setChildProcessModifier([] { ::close(1); }); },
         "出力先が開かれていません"},
        {"disk full after 4 KB of JSON", three,
         [&dir](QProcess& p) {
             p.setStandardOutputFile(dir.filePath("cut.json"));
             SizeLimit(p, 4096);
         },
         "ファイルの大きさが上限を超えます"},
    };
    for (const auto& c : cases) {
        const Outcome r = Calc(c.args, c.setup);
        EXPECT_EQ(r.status, 2) << c.what;
        EXPECT_EQ(QString::fromUtf8(r.err), "出力を書き込めません: " + c.reason + "\n") << c.what;
    }
}

TEST(OrbixCalc, HelpAndErrorsOfBothProgramsInJapanese) {
    for (const char* program : {"orbix-calc", "Orbix"}) {
        QProcess p;
        p.start(QString(ORBIX_PROGRAM_DIR) + program, {"--help"});
        ASSERT_TRUE(p.waitForFinished(30000)) << program;
        EXPECT_EQ(p.exitCode(), 0) << program;
        const QString help = QString::fromUtf8(p.readAllStandardOutput());
        for (const char* part : {"使い方: ", "オプション:", "引数:", "このヘルプを表示します。"})
            EXPECT_TRUE(help.contains(QString::fromUtf8(part))) << program << ": " << part;
        for (const char* english : {"Usage", "Options", "Arguments", "Displays"})
            EXPECT_FALSE(help.contains(english)) << program << ": " << help.toStdString();
    }
    const Outcome r = Calc({"--bogus", Tpl("ethylene")});
    EXPECT_EQ(r.status, 2);
    EXPECT_EQ(QString::fromUtf8(r.err), "'bogus' は未知のオプションです。\n");
}

}  // namespace
