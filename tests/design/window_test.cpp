// SPDX-License-Identifier: BSD-3-Clause
// The design window driven as the student drives it: mouse on the sites and
// the canvas, menu commands, dialogs answered from a script.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <QAction>
#include <QDir>
#include <QFileInfo>
#include <QMouseEvent>
#include <QToolBar>
#include <atomic>
#include <chrono>
#include <fstream>
#include <thread>

#include "orbix/calc/modCalculation.h"
#include "orbix/design/AtomPalette.h"
#include "orbix/design/DesignCanvas.h"
#include "orbix/model/modCommon.h"
#include "orbix/model/modConnect.h"
#include "orbix/platform/FlexGrid.h"
#include "orbix/platform/TextFile.h"
#include "orbix/result/frmHelp.h"
#include "tests/design/DesignFixture.h"
#include "tests/support/OtherUser.h"

namespace {

using orbix::MsgAnswer;

QString PngDir() {
    QString dir = QString(ORBIX_BINARY_DIR) + "screenshots/design";
    QDir().mkpath(dir);
    return dir + "/";
}

class Design : public DesignWindowTest {
  protected:
    void ClickTile(int site, Qt::KeyboardModifiers mods = {}) {
        QTest::mouseClick(form->tileAtom(static_cast<std::int16_t>(site))->Widget(), Qt::LeftButton,
                          mods, QPoint(10, 10));
    }
    void Band(QPoint from, QPoint to) {
        QWidget& c = form->picDesign();
        QTest::mousePress(&c, Qt::LeftButton, {}, from);
        QMouseEvent move(QEvent::MouseMove, QPointF(to), c.mapToGlobal(QPointF(to)), Qt::NoButton,
                         Qt::LeftButton, {});
        QApplication::sendEvent(&c, &move);
        QTest::mouseRelease(&c, Qt::LeftButton, {}, to);
    }
    void Trigger(const char* name) {
        QAction* a = form->findChild<QAction*>(name);
        ASSERT_TRUE(a) << name;
        a->trigger();
    }
    void DrawBenzene() {
        for (int s : {2, 3, 4, 13, 12, 11}) Click(s);
    }
    std::vector<std::int16_t> Sites(std::initializer_list<int> l) {
        return std::vector<std::int16_t>(l.begin(), l.end());
    }
    // Replaces the element table after start-up; the palette keeps its buttons.
    void UseElements(const std::vector<std::string>& lines) {
        std::string message;
        ASSERT_TRUE(modOrbix::LoadAtomLines(lines, modOrbix::colAtoms, message)) << message;
    }
    // Opens a molecule file of the given text as the document.
    void OpenDrawing(const QString& name, const QByteArray& text) {
        const QString path = dir.filePath(name);
        ASSERT_NO_FATAL_FAILURE(WriteFile(path, text));
        dlg.files.push_back(path);
        form->mnuFileOpen_Click();
        ASSERT_FALSE(form->Drawing().colSites().empty())
            << name.toStdString() << ": "
            << (dlg.messages.empty() ? "" : dlg.messages.back().text.toStdString());
    }
    // Calc from the toolbar, as the student clicks it.
    void CalcFromToolbar() { form->tbToolBar_ButtonClick(QStringLiteral("計算実行")); }
};

TEST_F(Design, OpensWithPaletteLatticeAndUntitledDocument) {
    EXPECT_EQ(form->windowTitle(), "無題－Orbix分子軌道法");
    EXPECT_EQ(form->CurrentElement(), 1);
    const int count = modOrbix::colAtoms.Count();
    EXPECT_EQ(form->Palette().Count(), count);
    EXPECT_EQ(form->Palette().Pressed(), 1);
    EXPECT_EQ(form->Palette().Caption(1), "C");
    EXPECT_EQ(form->TileSize(), 49);
    EXPECT_EQ(form->TileOffset(), -11);
    EXPECT_EQ(form->picDesign().Lines().size(), 0);
    // Every site marker is on the canvas, none cut off.
    for (int s = 1; s <= 36; ++s)
        EXPECT_TRUE(form->picDesign().rect().contains(
            form->imgAtom(static_cast<std::int16_t>(s))->geometry()))
            << s;
    EXPECT_FALSE(form->DocumentChanged());
    form->grab().save(PngDir() + "design_empty.png");
}

TEST_F(Design, BenzeneDrawnConnectedCalculatedSavedAndReopened) {
    DrawBenzene();
    EXPECT_TRUE(form->DocumentChanged());
    EXPECT_EQ(form->tileAtom(2)->Tag(), "1");
    // A band over the whole ring selects the six tiles in placement order.
    Band(QPoint(100, 20), QPoint(500, 260));
    EXPECT_EQ(form->Drawing().colSelected(), Sites({2, 3, 4, 13, 12, 11}));
    form->grab().save(PngDir() + "design_benzene_selected.png");
    Trigger("mnuEditConnect");
    EXPECT_EQ(form->Drawing().colDesignBonds().Count(), 6);
    EXPECT_EQ(form->picDesign().Lines().size(), 6);
    EXPECT_TRUE(form->Drawing().colSelected().empty());
    form->grab().save(PngDir() + "design_benzene.png");

    Trigger("mnuMoveCalc");
    frmResult* result = frmResult::Current();
    ASSERT_TRUE(result);
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(result->grdMatrix().Text(1, 1), "          2.");
    EXPECT_EQ(result->grdMatrix().Text(2, 1), "       .4082");
    result->Menu()->Show(6);
    result->mnuFileClose_Click();
    QApplication::processEvents();
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->Drawing().colSites().size(), 6u);
    EXPECT_TRUE(form->DocumentChanged()) << "returning keeps the changed flag";

    const QString path = dir.filePath("benzene.mol");
    dlg.files.push_back(path);
    form->mnuFileSave_Click();  // no file yet: Save As
    EXPECT_EQ(Bytes(path),
              "[Atom]=2-1,3-1,4-1,13-1,12-1,11-1\r\n[Bond]=2-3,2-11,3-4,4-13,12-13,11-12\r\n");
    EXPECT_EQ(form->windowTitle(), "benzene.mol－Orbix分子軌道法");
    EXPECT_FALSE(form->DocumentChanged());
    EXPECT_EQ(dlg.fileRequests.back().title, "名前を付けて保存");

    form->mnuFileNew_Click();  // saved: no question
    EXPECT_TRUE(dlg.messages.empty());
    EXPECT_TRUE(form->Drawing().colSites().empty());
    EXPECT_EQ(form->picDesign().Lines().size(), 0);
    dlg.files.push_back(path);
    form->mnuFileOpen_Click();
    EXPECT_EQ(form->Drawing().colSites(), Sites({2, 3, 4, 13, 12, 11}));
    EXPECT_EQ(form->picDesign().Lines().size(), 6);
    EXPECT_EQ(form->windowTitle(), "benzene.mol－Orbix分子軌道法");
    // Save writes back to the same file without asking.
    Click(20);
    form->mnuFileSave_Click();
    EXPECT_TRUE(Bytes(path).startsWith("[Atom]=2-1,3-1,4-1,13-1,12-1,11-1,20-1\r\n"));
    EXPECT_EQ(dlg.unexpected, 0);
}

TEST_F(Design, TwoAtomsAcrossTheLatticeAndDeleting) {
    Click(1);
    Click(36);
    ClickTile(1);
    ClickTile(36, Qt::ControlModifier);
    EXPECT_EQ(form->Drawing().colSelected(), Sites({1, 36}));
    form->ConnectAtom(form->Drawing().colSelected());
    ASSERT_EQ(form->Drawing().colDesignBonds().Count(), 1);
    EXPECT_EQ(form->Drawing().colDesignBonds().Item(1)->Key(), "1,36");
    EXPECT_EQ(form->picDesign().Lines().first().second, "1,36");

    Click(2);
    form->SelAll();
    form->ConnectAtom(form->Drawing().colSelected());  // three: neighbour rule, only 1-2
    EXPECT_EQ(form->Drawing().colDesignBonds().Count(), 2);
    ClickTile(1);
    Trigger("mnuEditDelAtom");
    EXPECT_EQ(form->Drawing().colSites(), Sites({36, 2}));
    EXPECT_EQ(form->Drawing().colDesignBonds().Count(), 0);
    EXPECT_EQ(form->picDesign().Lines().size(), 0);
    EXPECT_EQ(form->tileAtom(1), nullptr);
    // The freed site takes a new atom.
    Click(1);
    EXPECT_NE(form->tileAtom(1), nullptr);
}

TEST_F(Design, SelectionByClickCtrlClickAndBandEdges) {
    for (int s : {5, 6, 7}) Click(s);
    ClickTile(7);
    ClickTile(5, Qt::ControlModifier);
    form->SelAll();
    EXPECT_EQ(form->Drawing().colSelected(), Sites({7, 5, 6}));
    ClickTile(6);
    EXPECT_EQ(form->Drawing().colSelected(), Sites({6}));
    // A right click on a free site only clears the selection.
    QTest::mouseClick(form->imgAtom(20), Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_TRUE(form->Drawing().colSelected().empty());
    EXPECT_EQ(form->tileAtom(20), nullptr);

    // A band whose right edge only touches tile 5's left edge leaves it out.
    const int left = form->tileAtom(5)->Left(), top = form->tileAtom(5)->Top();
    Band(QPoint(left - 30, top + 5), QPoint(left, top + 20));
    EXPECT_TRUE(form->Drawing().colSelected().empty());
    Band(QPoint(left + 1, top + 20), QPoint(left - 30, top + 5));
    EXPECT_EQ(form->Drawing().colSelected(), Sites({5})) << "the drag's direction does not matter";
}

TEST_F(Design, PaletteChoosesTheElementPlaced) {
    form->tbrAtomBox_ButtonClick(2);
    EXPECT_EQ(form->Palette().Pressed(), 2) << "the only button pressed";
    Click(10);
    EXPECT_EQ(form->tileAtom(10)->Tag(), "2");
    EXPECT_EQ(form->tileAtom(10)->Caption(), "N");
}

TEST_F(Design, SavePromptPaths) {
    Click(1);
    dlg.answers.push_back(MsgAnswer::kCancel);
    form->mnuFileNew_Click();
    EXPECT_EQ(form->Drawing().colSites().size(), 1u) << "Cancel changes nothing";
    ASSERT_EQ(dlg.messages.size(), 1u);
    EXPECT_EQ(dlg.messages[0].text,
              "ファイル 無題の内容は変更されています。\r\n変更を保存しますか？");
    EXPECT_EQ(dlg.messages[0].title, "Orbix分子軌道法");

    dlg.answers.push_back(MsgAnswer::kNo);
    form->mnuFileNew_Click();
    EXPECT_TRUE(form->Drawing().colSites().empty());

    Click(1);
    const QString path = dir.filePath("one.mol");
    dlg.answers.push_back(MsgAnswer::kYes);
    dlg.files.push_back(path);
    form->mnuFileNew_Click();
    EXPECT_EQ(Bytes(path), "[Atom]=1-1\r\n\r\n");
    EXPECT_TRUE(form->Drawing().colSites().empty());
    EXPECT_EQ(dlg.unexpected, 0);
}

TEST_F(Design, SaveAsOverwriteNoThenYesAndFailedSaveKeepsTheOldFile) {
    const QString path = dir.filePath("old.mol");
    ASSERT_NO_FATAL_FAILURE(WriteFile(path, "[Atom]=9-1\r\n\r\n"));
    Click(1);
    dlg.files.push_back(path);
    dlg.answers.push_back(MsgAnswer::kNo);
    dlg.files.push_back(path);
    dlg.answers.push_back(MsgAnswer::kYes);
    form->mnuFileSaveAs_Click();
    ASSERT_EQ(dlg.fileRequests.size(), 2u);
    EXPECT_EQ(dlg.fileRequests[1].fileName, "old.mol") << "asked again with the name filled in";
    EXPECT_EQ(dlg.messages[0].text, "old.molは既に存在します。上書きしますか？");
    EXPECT_EQ(Bytes(path), "[Atom]=1-1\r\n\r\n");

    Click(2);
    orbix::testing::WriteFailsAfterBytes = 3;
    form->mnuFileSave_Click();
    orbix::testing::WriteFailsAfterBytes = -1;
    EXPECT_EQ(Bytes(path), "[Atom]=1-1\r\n\r\n");
    EXPECT_TRUE(form->DocumentChanged());
    EXPECT_EQ(dlg.messages.back().text, "ファイル：" + path + "　の保存に失敗しました。");
    EXPECT_EQ(dlg.messages.back().title, "ファイルの上書き保存");
}

TEST_F(Design, BadFilesLeaveTheDrawingAsItWas) {
    Click(1);
    Click(2);
    const QString bad = dir.filePath("bad.mol");
    ASSERT_NO_FATAL_FAILURE(WriteFile(bad, "[Atom]=5-1,5-1\r\n"));
    dlg.answers.push_back(MsgAnswer::kNo);
    dlg.files.push_back(bad);
    form->mnuFileOpen_Click();
    EXPECT_EQ(dlg.messages.back().text, "ファイル：" + bad + "からの分子の作成に失敗しました。");
    EXPECT_EQ(dlg.messages.back().title, "ファイルを開く");
    EXPECT_EQ(form->Drawing().colSites(), Sites({1, 2}));
    EXPECT_NE(form->tileAtom(1), nullptr);
    // A cancelled dialog too.
    dlg.answers.push_back(MsgAnswer::kNo);
    dlg.files.push_back(std::nullopt);
    form->mnuFileTemp_Click();
    EXPECT_EQ(form->Drawing().colSites(), Sites({1, 2}));
    EXPECT_TRUE(dlg.fileRequests.back().initialDir.endsWith("template"));
}

TEST_F(Design, CalcRefusals) {
    frmResult* before = frmResult::Current();
    Click(1);
    form->mnuMoveCalc_Click();
    EXPECT_EQ(dlg.messages.back().text, "分子が形成されていません。");
    EXPECT_EQ(dlg.messages.back().title, "分子構造エラー－\u3000Orbix分子軌道法");
    Click(2);
    Click(3);
    ClickTile(1);
    ClickTile(2, Qt::ControlModifier);
    form->ConnectAtom(form->Drawing().colSelected());
    form->mnuMoveCalc_Click();
    EXPECT_EQ(dlg.messages.back().text, QString::fromStdString(modConnect::StructureMessage(1)));
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(frmResult::Current(), before) << "no result window for a refused drawing";
}

TEST_F(Design, CalcOfUnusualElementTables) {
    // Electrons beyond any 16-bit total: the too-many-electrons refusal, not a crash.
    UseElements({"C,32767,0,0,1,3"});
    OpenDrawing("big.mol", "[Atom]=1-1,2-1\r\n[Bond]=1-2\r\n");
    const auto sites = form->Drawing().colSites();
    frmResult* before = frmResult::Current();
    for (int run = 0; run < 2; ++run) {
        const size_t asked = dlg.messages.size();
        if (run == 0)
            Trigger("mnuMoveCalc");
        else
            CalcFromToolbar();
        ASSERT_EQ(dlg.messages.size(), asked + 1) << "run " << run << ": no message";
        EXPECT_EQ(dlg.messages.back().text, QString::fromUtf8(modConnect::kTooManyElectrons));
        EXPECT_EQ(dlg.messages.back().title, QString::fromUtf8(modConnect::kStructureTitle));
        EXPECT_EQ(dlg.messages.back().icon, orbix::MsgIcon::kInformation);
        EXPECT_TRUE(form->isVisible());
        EXPECT_EQ(form->Drawing().colSites(), sites);
        EXPECT_EQ(frmResult::Current(), before) << "no result window for a refused drawing";
    }

    // Both orbitals at -1000 (the level search's start value): one level of two.
    UseElements({"C,1,-1000,0,0,3"});
    const size_t asked = dlg.messages.size();
    CalcFromToolbar();
    frmResult* result = frmResult::Current();
    ASSERT_TRUE(result);
    EXPECT_EQ(dlg.messages.size(), asked) << dlg.messages.back().text.toStdString();
    EXPECT_TRUE(result->isVisible());
    EXPECT_TRUE(result->isEnabled());
    EXPECT_FALSE(form->isVisible());
    EXPECT_EQ(modCalculation::LevelCount, 1);
    EXPECT_EQ(modCalculation::LevelDeg(1), 2.0f);
    EXPECT_EQ(modCalculation::LevelE(1), -1000.0);
}

TEST_F(Design, AnErrorOfTheCheckReachesTheStudent) {
    // The drawing holds element 2; a table of one element makes looking it up
    // an error rather than a refusal.
    OpenDrawing("cn.mol", "[Atom]=1-1,2-2\r\n[Bond]=1-2\r\n");
    const auto sites = form->Drawing().colSites();
    UseElements({"C,1,0,0,1,3"});
    frmResult* before = frmResult::Current();
    CalcFromToolbar();
    ASSERT_FALSE(dlg.messages.empty());
    EXPECT_EQ(dlg.messages.back().text, "インデックスが有効範囲にありません。");
    EXPECT_EQ(dlg.messages.back().title, orbix::kApplicationTitle);
    EXPECT_EQ(dlg.messages.back().icon, orbix::MsgIcon::kCritical);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->Drawing().colSites(), sites);
    EXPECT_EQ(frmResult::Current(), before);
}

TEST_F(Design, ElectronLimitIsTwiceTheAtoms) {
    // Carbon with two electrons: ethylene holds exactly 4 = 2 x 2, one more is refused.
    UseElements({"C,2,0,0,1,3", "N,3,1,0.1,1,3"});
    OpenDrawing("four.mol", "[Atom]=1-1,2-1\r\n[Bond]=1-2\r\n");
    const size_t asked = dlg.messages.size();
    Trigger("mnuMoveCalc");
    ASSERT_TRUE(frmResult::Current());
    EXPECT_EQ(dlg.messages.size(), asked)
        << "C=C with 4 electrons refused: " << dlg.messages.back().text.toStdString();
    EXPECT_EQ(modOrbix::CurrentMolecule->E_num(), 4);
    frmResult::Current()->mnuFileClose_Click();
    QApplication::processEvents();
    ASSERT_TRUE(form->isVisible());

    frmResult* before = frmResult::Current();
    OpenDrawing("five.mol", "[Atom]=1-1,2-2\r\n[Bond]=1-2\r\n");
    Trigger("mnuMoveCalc");
    ASSERT_EQ(dlg.messages.size(), asked + 1) << "C-N with 5 electrons on 2 atoms accepted";
    EXPECT_EQ(dlg.messages.back().text, QString::fromUtf8(modConnect::kTooManyElectrons));
    EXPECT_EQ(dlg.messages.back().title, QString::fromUtf8(modConnect::kStructureTitle));
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(frmResult::Current(), before);
}

TEST_F(Design, SaveAndSaveAsRespectProtectedFiles) {
    ORBIX_RUN_AS_OTHER_USER();
    const QByteArray ethylene = "[Atom]=1-1,2-1\r\n[Bond]=1-2\r\n";
    OpenDrawing("ro.mol", ethylene);
    const QString ro = dir.filePath("ro.mol");
    QFile::setPermissions(ro, QFile::ReadOwner | QFile::ReadGroup | QFile::ReadOther);
    Click(5);
    form->mnuFileSave_Click();
    EXPECT_EQ(Bytes(ro), ethylene) << "Save replaced the read-only " << ro.toStdString();
    EXPECT_EQ(dlg.messages.back().text, "ファイル：" + ro + "　の保存に失敗しました。");
    EXPECT_TRUE(form->DocumentChanged());

    dlg.files.push_back(ro);
    dlg.answers.push_back(MsgAnswer::kYes);  // overwrite
    form->mnuFileSaveAs_Click();
    EXPECT_EQ(Bytes(ro), ethylene) << "Save As replaced the read-only " << ro.toStdString();
    EXPECT_EQ(dlg.messages.back().text, "ファイル：" + ro + "　の保存に失敗しました。");
    EXPECT_EQ(dlg.messages.back().icon, orbix::MsgIcon::kCritical);

    // A group-private file keeps its permissions; a link is written through.
    const QString group = dir.filePath("group.mol");
    QFile::copy(ro, group);
    QFile::setPermissions(group, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    const QString target = dir.filePath("target.mol"), link = dir.filePath("link.mol");
    QFile::copy(ro, target);
    QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner);
    ASSERT_TRUE(QFile::link(target, link));
    const QByteArray saved = "[Atom]=1-1,2-1,5-1\r\n[Bond]=1-2\r\n";
    for (const QString& path : {group, link}) {
        dlg.files.push_back(path);
        dlg.answers.push_back(MsgAnswer::kYes);
        form->mnuFileSaveAs_Click();
        EXPECT_FALSE(form->DocumentChanged()) << path.toStdString() << " not saved";
        EXPECT_EQ(Bytes(path), saved) << path.toStdString();
    }
    struct stat st {};
    ASSERT_EQ(::stat(QFile::encodeName(group).constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u) << "group.mol now " << std::oct << (st.st_mode & 0777);
    EXPECT_TRUE(QFileInfo(link).isSymLink()) << "the link became a plain file";
    EXPECT_EQ(Bytes(target), saved);
    // Save goes through the link as well.
    Click(6);
    form->mnuFileSave_Click();
    EXPECT_TRUE(QFileInfo(link).isSymLink());
    EXPECT_EQ(Bytes(target), "[Atom]=1-1,2-1,5-1,6-1\r\n[Bond]=1-2\r\n");
}

TEST_F(Design, OpeningAFifoFailsAtOnce) {
    const QString fifo = dir.filePath("f.mol");
    ASSERT_EQ(::mkfifo(QFile::encodeName(fifo).constData(), 0600), 0);
    // Should the open block, a writer releases it after a while and the test fails.
    std::atomic<bool> done{false}, released{false};
    std::thread watchdog([&] {
        for (int i = 0; i < 100 && !done; ++i)
            std::this_thread::sleep_for(std::chrono::milliseconds(100));
        if (!done) {
            released = true;
            std::ofstream(QFile::encodeName(fifo).toStdString());
        }
    });
    dlg.files.push_back(fifo);
    form->mnuFileOpen_Click();
    done = true;
    watchdog.join();
    EXPECT_FALSE(released) << "opening the FIFO " << fifo.toStdString() << " blocked";
    ASSERT_FALSE(dlg.messages.empty());
    EXPECT_EQ(dlg.messages.back().text, "ファイル：" + fifo + "　のオープンに失敗しました。");
    EXPECT_EQ(dlg.messages.back().icon, orbix::MsgIcon::kCritical);
}

TEST_F(Design, HelpWindowIsReused) {
    form->frmInfo_Click();
    frmHelp* help = frmHelp::Find();
    ASSERT_TRUE(help) << (dlg.messages.empty() ? "" : dlg.messages.back().text.toStdString());
    help->showMinimized();
    form->frmInfo_Click();
    EXPECT_EQ(frmHelp::Find(), help);
    EXPECT_FALSE(help->isMinimized());
    help->grab().save(PngDir() + "help.png");
    help->close();
}

TEST(DesignStartUp, ElementTableFaultsEndTheStart) {
    struct {
        const char* name;
        const char* bytes;
        const char* text;
    } cases[] = {
        {"missing", nullptr, "原子データファイルの読み込みに失敗しました"},
        {"empty", "", "原子データファイルの読み込みに失敗しました"},
        {"malformed", "C,1,0,0,1\r\n", "原子データファイルのデータが正しくありません。"},
    };
    for (const auto& c : cases) {
        QTemporaryDir dir;
        QDir().mkpath(dir.filePath("data"));
        if (c.bytes) {
            ASSERT_NO_FATAL_FAILURE(WriteFile(dir.filePath("data/atom.dat"), c.bytes));
        }
        orbix::ScriptedDialogs dlg;
        int code = 0;
        auto form = modDesign::StartUp(dir.path(), dlg, code);
        EXPECT_FALSE(form) << c.name;
        EXPECT_NE(code, 0) << c.name;
        ASSERT_EQ(dlg.messages.size(), 1u) << c.name;
        EXPECT_EQ(dlg.messages[0].text, c.text) << c.name;
        EXPECT_EQ(dlg.messages[0].title, "Orbix.exe－原子データの読み込みエラー");
        EXPECT_EQ(dlg.messages[0].icon, orbix::MsgIcon::kCritical);
    }
}

TEST(DesignStartUp, MissingTilePluginIsAClearError) {
    QTemporaryDir dir;
    QDir().mkpath(dir.filePath("data"));
    QFile::copy(QString(ORBIX_PROGRAM_DIR) + "data/atom.dat", dir.filePath("data/atom.dat"));
    orbix::ScriptedDialogs dlg;
    int code = 0;
    auto form = modDesign::StartUp(dir.path(), dlg, code);
    EXPECT_FALSE(form);
    EXPECT_NE(code, 0);
    ASSERT_EQ(dlg.messages.size(), 1u);
    EXPECT_TRUE(dlg.messages[0].text.contains("libTessera.so"));
}

}  // namespace

// The help page is handed to the desktop. Where nothing opens it (as on the
// offscreen platform of these tests, which opens no page) a box says so,
// with the page's path.
TEST_F(Design, HelpPageThatNothingOpensIsReported) {
    form->html_Click();
    ASSERT_EQ(dlg.messages.size(), 1u);
    EXPECT_EQ(dlg.messages[0].text, "使用法のページを開くことができませんでした。\r\n" +
                                        QString::fromStdString(modOrbix::ProgramFolder) +
                                        "readme.html");
    EXPECT_EQ(dlg.messages[0].title, "Orbix");
    EXPECT_EQ(dlg.messages[0].buttons, orbix::MsgButtons::kOk);
}
