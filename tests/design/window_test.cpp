// The design window driven as the student drives it: mouse on the sites and
// the canvas, menu commands, dialogs answered from a script.

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QFile>
#include <QMouseEvent>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>

#include "orbix/design/DesignCanvas.h"
#include "orbix/design/StartUp.h"
#include "orbix/design/frmDesign.h"
#include "orbix/model/modCommon.h"
#include "orbix/model/modConnect.h"
#include "orbix/model/modOrbix.h"
#include "orbix/platform/FlexGrid.h"
#include "orbix/platform/ScriptedDialogs.h"
#include "orbix/platform/WaitSeconds.h"
#include "orbix/result/frmHelp.h"
#include "orbix/result/frmResult.h"

namespace {

using orbix::MsgAnswer;

QByteArray Bytes(const QString& path) {
    QFile f(path);
    f.open(QIODevice::ReadOnly);
    return f.readAll();
}

QString PngDir() {
    QString dir = QString(ORBIX_BINARY_DIR) + "screenshots/design";
    QDir().mkpath(dir);
    return dir + "/";
}

class Design : public ::testing::Test {
  protected:
    void SetUp() override {
        modOrbix::CurrentMolecule.reset();
        modCommon::testing::MillisecondsPerSecond = 1;
        int code = -1;
        form = modOrbix::StartUp(QString(ORBIX_PROGRAM_DIR), dlg, code);
        ASSERT_TRUE(form) << code << " "
                          << (dlg.messages.empty() ? "" : dlg.messages[0].text.toStdString());
        QApplication::processEvents();
    }
    void TearDown() override {
        modCommon::testing::MillisecondsPerSecond = 1000;
        frmResult::CloseForExit();
        form.reset();
        modOrbix::CurrentMolecule.reset();
    }
    void Click(int site, Qt::KeyboardModifiers mods = {}) {
        QWidget* w = form->imgAtom(static_cast<std::int16_t>(site));
        ASSERT_TRUE(w);
        QTest::mouseClick(w, Qt::LeftButton, mods, QPoint(5, 5));
    }
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

    orbix::ScriptedDialogs dlg;
    std::unique_ptr<frmDesign> form;
    QTemporaryDir dir;
};

TEST_F(Design, OpensWithPaletteLatticeAndUntitledDocument) {
    EXPECT_EQ(form->windowTitle(), "無題－Orbix分子軌道法");
    EXPECT_EQ(form->CurrentElement(), 1);
    const int count = modOrbix::colAtoms.Count();
    EXPECT_EQ(form->tbrAtomBox().actions().size(), count);
    EXPECT_TRUE(form->PaletteButton(1)->isChecked());
    EXPECT_EQ(form->PaletteButton(1)->text(), "C");
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
    EXPECT_FALSE(form->PaletteButton(1)->isChecked());
    EXPECT_TRUE(form->PaletteButton(2)->isChecked());
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
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Atom]=9-1\r\n\r\n");
    f.close();
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
    modCommon::testing::WriteFailsAfterBytes = 3;
    form->mnuFileSave_Click();
    modCommon::testing::WriteFailsAfterBytes = -1;
    EXPECT_EQ(Bytes(path), "[Atom]=1-1\r\n\r\n");
    EXPECT_TRUE(form->DocumentChanged());
    EXPECT_EQ(dlg.messages.back().text, "ファイル：" + path + "　の保存に失敗しました。");
    EXPECT_EQ(dlg.messages.back().title, "ファイルの上書き保存");
}

TEST_F(Design, BadFilesLeaveTheDrawingAsItWas) {
    Click(1);
    Click(2);
    const QString bad = dir.filePath("bad.mol");
    QFile f(bad);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[Atom]=5-1,5-1\r\n");
    f.close();
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
            QFile f(dir.filePath("data/atom.dat"));
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(c.bytes);
        }
        orbix::ScriptedDialogs dlg;
        int code = 0;
        auto form = modOrbix::StartUp(dir.path(), dlg, code);
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
    auto form = modOrbix::StartUp(dir.path(), dlg, code);
    EXPECT_FALSE(form);
    EXPECT_NE(code, 0);
    ASSERT_EQ(dlg.messages.size(), 1u);
    EXPECT_TRUE(dlg.messages[0].text.contains("libTessera.so"));
}

}  // namespace
