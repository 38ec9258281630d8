// SPDX-License-Identifier: BSD-3-Clause
// The result window driven as the student drives it.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QCursor>
#include <QLabel>
#include <QMenu>
#include <QMenuBar>
#include <QScrollBar>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QTreeWidget>
#include <QWindow>

#include "orbix/calc/modCalculation.h"
#include "orbix/platform/FlexGrid.h"
#include "orbix/platform/ImageSurface.h"
#include "orbix/platform/WaitSeconds.h"
#include "orbix/result/InputReady.h"
#include "tests/result/ResultFixture.h"
#include "tests/support/TestMolecules.h"

namespace {

QStringList Entries(const QMenu* menu) {
    QStringList out;
    for (const QAction* a : menu->actions())
        out << (a->isSeparator() ? QStringLiteral("-") : a->text());
    return out;
}

// Pixels of exactly this colour inside a rectangle of page units.
int CountColour(const orbix::ImageSurface& s, const QRectF& page, QColor c) {
    const QRect r = s.PageToPixel(page).intersected(s.Image().rect());
    int n = 0;
    for (int y = r.top(); y <= r.bottom(); ++y)
        for (int x = r.left(); x <= r.right(); ++x) n += s.Image().pixelColor(x, y) == c;
    return n;
}

using ResultWindow = ResultWindowTest;

TEST_F(ResultWindow, AfterDisplayTheTableIsShownAndTheTreeFocused) {
    frmResult& w = Open("1-1,2-1", "1-2");
    EXPECT_EQ(w.windowTitle(), QStringLiteral("無題－Orbix分子軌道法"));
    EXPECT_EQ(w.geometry(), design.place.geometry);
    EXPECT_TRUE(w.isEnabled());
    EXPECT_EQ(w.SelectedNode(), 2);
    ASSERT_NE(w.Menu(), nullptr);
    EXPECT_EQ(w.Menu()->SceneNo(), 2);
    EXPECT_EQ(w.Menu()->OrbitalIndex(), 0);
    EXPECT_EQ(CurrentMenu.get(), w.Menu());
    EXPECT_EQ(w.focusWidget(), &w.tvwMenu());
    EXPECT_TRUE(w.tvwMenu().isVisible());
    EXPECT_FALSE(w.lblMessage().isVisible());
    EXPECT_LT(w.MaxOff(), 0.00001);
    EXPECT_FALSE(QGuiApplication::overrideCursor());

    orbix::FlexGrid& g = w.grdMatrix();
    EXPECT_TRUE(g.isVisible());
    EXPECT_EQ(g.Rows(), 4);
    EXPECT_EQ(g.Cols(), 3);
    EXPECT_EQ(g.Text(1, 1), "          1.");
    EXPECT_EQ(g.Text(3, 2), "      -.7071");
    EXPECT_EQ(g.item(2, 1)->text(), QStringLiteral("-.7071"));
    EXPECT_EQ(g.item(0, 0)->foreground().color(), QColor(255, 0, 255));
    EXPECT_EQ(g.horizontalHeaderItem(1)->text(), QStringLiteral("2"));
    EXPECT_EQ(g.verticalHeaderItem(0)->text(), QStringLiteral("軌道energy"));
    // At page (20, 70), 600 × 280.
    EXPECT_EQ(g.geometry(), w.surface().PageToPixel(QRectF(20, 70, 600, 280)));

    // The total energy in red above the grid.
    EXPECT_GT(CountColour(w.surface(), QRectF(100, 10, 200, 15), Qt::red), 20);

    // The tree: twelve nodes, only the root expanded.
    QTreeWidget& t = w.tvwMenu();
    ASSERT_EQ(t.topLevelItemCount(), 1);
    QTreeWidgetItem* root = t.topLevelItem(0);
    EXPECT_EQ(root->text(0), QStringLiteral("波動関数の解析 メニュー"));
    EXPECT_TRUE(root->isExpanded());
    ASSERT_EQ(root->childCount(), 5);
    EXPECT_EQ(root->child(0)->text(0), QStringLiteral("固有値および固有ベクトル"));
    EXPECT_EQ(root->child(1)->child(1)->text(0), QStringLiteral("結合次数"));
    EXPECT_EQ(root->child(3)->child(0)->text(0), QStringLiteral("クローン積分"));
    EXPECT_EQ(root->child(4)->child(1)->text(0), QStringLiteral("立体"));
    EXPECT_FALSE(root->child(4)->isExpanded());
}

TEST(ResultWindowPlace, FitsTheWorkAreaFrameIncluded) {
    const QMargins frame(1, 20, 1, 1);
    const QRect screen(0, 0, 1280, 1024), belowPanel(0, 30, 1280, 994);
    const struct {
        const char* what;
        QRect client, work, fitted;
    } cases[] = {
        {"fits", QRect(100, 100, 800, 600), screen, QRect(100, 100, 800, 600)},
        {"a maximised window's size", QRect(2, 40, 1280, 1005), screen, QRect(1, 20, 1278, 1003)},
        {"past right and bottom", QRect(900, 700, 800, 600), screen, QRect(479, 423, 800, 600)},
        {"past left and top", QRect(-50, -5, 800, 600), screen, QRect(1, 20, 800, 600)},
        {"below a panel", QRect(2, 40, 1280, 1005), belowPanel, QRect(1, 50, 1278, 973)},
        {"work area unknown", QRect(2, 40, 1280, 1005), QRect(), QRect(2, 40, 1280, 1005)},
    };
    for (const auto& c : cases)
        EXPECT_EQ(modResult::FitToWorkArea(c.client, frame, c.work), c.fitted) << c.what;
}

TEST_F(ResultWindow, DisplayShowsProgressWhileDisabled) {
    modCommon::testing::MillisecondsPerSecond = 60;
    auto out = testing_support::Calculate(kBenzeneAtoms, kBenzeneBonds);
    ASSERT_EQ(out.code, 0);
    window = frmResult::Open(design);
    struct Seen {
        bool enabled;
        QString label;
        bool hourglass, gridVisible;
        int red, blue;
    };
    std::vector<Seen> seen;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        frmResult& w = *window;
        const auto* cursor = QGuiApplication::overrideCursor();
        seen.push_back({w.isEnabled(), w.lblMessage().text(),
                        cursor && cursor->shape() == Qt::WaitCursor, w.grdMatrix().isVisible(),
                        CountColour(w.surface(), QRectF(350, 150, 260, 15), Qt::red),
                        CountColour(w.surface(), QRectF(70, 280, 500, 60), Qt::blue)});
    });
    probe.start(10);
    std::int16_t progress = 7;
    window->Display(progress);
    probe.stop();
    EXPECT_EQ(progress, 1);
    ASSERT_GE(seen.size(), 4u);
    bool sawRunning = false, sawDone = false;
    for (const auto& s : seen) {
        EXPECT_FALSE(s.enabled);
        EXPECT_FALSE(s.gridVisible);
        if (s.label == QStringLiteral("計算しています")) {
            sawRunning = true;
            EXPECT_TRUE(s.hourglass);
        }
        if (s.label == QStringLiteral("計算が終了しました")) {
            sawDone = true;
            EXPECT_FALSE(s.hourglass);
            EXPECT_GT(s.red, 20) << "the maxOff line";
            EXPECT_GT(s.blue, 20) << "the explanation";
        }
    }
    EXPECT_TRUE(sawRunning);
    EXPECT_TRUE(sawDone);
    EXPECT_TRUE(window->isEnabled());
}

TEST_F(ResultWindow, AFailedCalculationClosesTheWindowAndShowsTheDesign) {
    // Six electrons on two atoms, past the Calc checks: the total energy reads
    // an orbital that does not exist, and the calculation raises an error.
    std::string message;
    ASSERT_TRUE(modOrbix::LoadAtomLines({"C,3,0,0,1,3"}, modOrbix::colAtoms, message)) << message;
    CalcSession::BuildMolecule(testing_support::MakeDrawing("1-1,2-1", "1-2"));
    ASSERT_EQ(modOrbix::CurrentMolecule->E_num(), 6);
    window = frmResult::Open(design);
    std::int16_t progress = 0;
    EXPECT_THROW(window->Display(progress), std::exception);
    EXPECT_EQ(design.shown, 1) << "the design window is not shown again";
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr) << "the wait cursor stays";
    Settle();
    EXPECT_TRUE(window.isNull()) << "the window is left behind, visible "
                                 << (window ? window->isVisible() : false);
}

TEST_F(ResultWindow, MenusToolbarAndPopup) {
    frmResult& w = Open("1-1,2-1", "1-2");
    const QList<QAction*> bar = w.menuBar()->actions();
    ASSERT_EQ(bar.size(), 2) << "the output menu stays out of the menu bar";
    EXPECT_EQ(bar[0]->text(), QStringLiteral("ﾌｧｲﾙ(&F)"));
    EXPECT_EQ(bar[1]->text(), QStringLiteral("移動(&M)"));
    EXPECT_EQ(Entries(w.mnuFile()), (QStringList{"閉じる(&C)", "-", "上書き保存(&S)",
                                                 "名前を付けて保存(&A)...", "-", "終了(&X)"}));
    EXPECT_EQ(Entries(w.mnuMove()), (QStringList{"デザイン(&D)", "-", "次へ(&N)", "戻る(&B)"}));
    EXPECT_EQ(Entries(&w.mnuOutput()),
              (QStringList{"データの印刷(&P)", "-", "ファイルへ出力(&F)"}));
    for (QMenu* m : {w.mnuFile(), w.mnuMove(), &w.mnuOutput()})
        for (QAction* a : m->actions())
            EXPECT_TRUE(a->shortcut().isEmpty()) << a->text().toStdString();
    const char* keys[] = {"デザイン", "戻る", "次へ"};
    const char* tips[] = {"デザイン画面へ", "戻る", "次へ"};
    ASSERT_EQ(w.tbToolBar().actions().size(), 3);
    for (int i = 0; i < 3; ++i) {
        QAction* a = w.ToolbarButton(QString::fromUtf8(keys[i]));
        ASSERT_NE(a, nullptr) << keys[i];
        EXPECT_EQ(a->text(), QString::fromUtf8(keys[i]));
        EXPECT_EQ(a->toolTip(), QString::fromUtf8(tips[i]));
        EXPECT_FALSE(a->icon().isNull());
    }

    // The document commands are the design window's.
    w.mnuFile()->actions()[2]->trigger();
    w.mnuFile()->actions()[3]->trigger();
    w.mnuFile()->actions()[5]->trigger();
    EXPECT_EQ(design.saves, 1);
    EXPECT_EQ(design.saveAs, 1);
    EXPECT_EQ(design.exits, 1);

    // Right button released over the grid pops up the output menu.
    QTest::mouseClick(w.grdMatrix().viewport(), Qt::RightButton, {}, QPoint(10, 10));
    Settle();
    EXPECT_TRUE(w.mnuOutput().isVisible());
    w.mnuOutput().hide();
}

// The menu key and Shift+F10 open the menu a right click opens on the control
// that has the focus, at that control and not at the mouse.
TEST_F(ResultWindow, MenuKeysOpenTheFocusedControlsMenuAtIt) {
    frmResult& w = Open(LatticeAtoms(36), LatticeBonds(36));
    orbix::FlexGrid& grid = w.grdMatrix();
    orbix::ImageSurface& page = w.surface();
    // The grid's box is the grid's, its scroll bars too.
    ASSERT_TRUE(grid.horizontalScrollBar()->isVisible());
    QTest::mouseClick(grid.horizontalScrollBar(), Qt::RightButton, {}, QPoint(5, 5));
    EXPECT_TRUE(w.mnuOutput().isVisible()) << "right click on the grid's scroll bar";
    w.mnuOutput().hide();
    QCursor::setPos(2, 2);
    // Tab leads from the tree to the grid, and on to the page.
    w.tvwMenu().setFocus();
    QTest::keyClick(&w.tvwMenu(), Qt::Key_Tab);
    ASSERT_EQ(w.focusWidget(), &grid);
    QTest::keyClick(&grid, Qt::Key_Tab);
    ASSERT_EQ(w.focusWidget(), &page);
    const QRect cell(grid.viewport()->mapToGlobal(grid.visualRect(grid.currentIndex()).topLeft()),
                     grid.visualRect(grid.currentIndex()).size());
    ASSERT_FALSE(cell.isEmpty());
    const QPoint corner = page.mapToGlobal(page.PageToPixel(QPointF(0, 0)).toPoint());

    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers mods;
    } keys[] = {{Qt::Key_Menu, Qt::NoModifier}, {Qt::Key_F10, Qt::ShiftModifier}};
    for (const auto& k : keys) {
        const std::string key = k.key == Qt::Key_Menu ? "Menu" : "Shift+F10";
        grid.setFocus();
        QTest::keyClick(&grid, k.key, k.mods);
        EXPECT_TRUE(w.mnuOutput().isVisible()) << key << " on the grid";
        EXPECT_TRUE(cell.contains(w.mnuOutput().pos())) << key << " on the grid";
        w.mnuOutput().hide();
        page.setFocus();
        QTest::keyClick(&page, k.key, k.mods);
        EXPECT_TRUE(w.mnuPage().isVisible()) << key << " on the page";
        EXPECT_EQ(w.mnuPage().pos(), corner) << key << " on the page";
        w.mnuPage().hide();
        w.tvwMenu().setFocus();
        QTest::keyClick(&w.tvwMenu(), k.key, k.mods);
        EXPECT_FALSE(w.mnuOutput().isVisible() || w.mnuPage().isVisible()) << key << " on the tree";
    }
    // F10 alone is not the menu key.
    page.setFocus();
    QTest::keyClick(&page, Qt::Key_F10);
    EXPECT_FALSE(w.mnuPage().isVisible());
}

TEST_F(ResultWindow, TreeToolbarEnterAndMenuNavigation) {
    frmResult& w = Open(kBenzeneAtoms, kBenzeneBonds);
    auto node = [&](int k) {
        QTreeWidgetItem* root = w.tvwMenu().topLevelItem(0);
        const int path[13][2] = {{},      {-1, -1}, {0, -1}, {1, -1}, {1, 0}, {1, 1}, {2, -1},
                                 {3, -1}, {3, 0},   {3, 1},  {4, -1}, {4, 0}, {4, 1}};
        QTreeWidgetItem* n = path[k][0] < 0 ? root : root->child(path[k][0]);
        return path[k][1] < 0 ? n : n->child(path[k][1]);
    };
    // A group heading leaves the page as it was; Enter then shows the densities.
    const auto page = w.surface().Generation();
    w.tvwMenu_NodeClick(node(3));
    EXPECT_EQ(w.SelectedNode(), 3);
    EXPECT_EQ(w.surface().Generation(), page);
    EXPECT_TRUE(w.grdMatrix().isVisible());
    QTest::keyClick(&w.tvwMenu(), Qt::Key_Return);
    EXPECT_EQ(w.Menu()->SceneNo(), 4);
    EXPECT_EQ(w.SelectedNode(), 4);
    EXPECT_FALSE(w.grdMatrix().isVisible());
    EXPECT_GT(w.surface().Generation(), page);

    // A real mouse click on a node.
    w.tvwMenu().expandAll();
    Settle();
    const QRect r = w.tvwMenu().visualItemRect(node(11));
    QTest::mouseClick(w.tvwMenu().viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(w.Menu()->SceneNo(), 11);
    EXPECT_EQ(w.SelectedNode(), 11);
    w.ToolbarButton(QStringLiteral("次へ"))->trigger();
    w.ToolbarButton(QStringLiteral("次へ"))->trigger();
    EXPECT_EQ(w.Menu()->OrbitalIndex(), 2);
    // Clicking the same node again starts at orbital 1.
    QTest::mouseClick(w.tvwMenu().viewport(), Qt::LeftButton, {}, r.center());
    EXPECT_EQ(w.Menu()->OrbitalIndex(), 0);
    w.ToolbarButton(QStringLiteral("戻る"))->trigger();
    EXPECT_EQ(w.Menu()->SceneNo(), 9);
    EXPECT_EQ(w.SelectedNode(), 9);
    w.mnuMove()->actions()[2]->trigger();  // 次へ(&N)
    EXPECT_EQ(w.Menu()->SceneNo(), 11);
    w.mnuMove()->actions()[3]->trigger();  // 戻る(&B)
    EXPECT_EQ(w.Menu()->SceneNo(), 9);
    // Keys in the tree choose a node as a click does.
    w.tvwMenu().setFocus();
    QTest::keyClick(&w.tvwMenu(), Qt::Key_Down);
    EXPECT_EQ(w.SelectedNode(), 10);
    EXPECT_EQ(w.Menu()->SceneNo(), 10);
    // The guard closed: nothing happens.
    modResult::InputReady = false;
    QTest::keyClick(&w.tvwMenu(), Qt::Key_Down);
    w.ToolbarButton(QStringLiteral("次へ"))->trigger();
    w.tvwMenu_NodeClick(node(2));
    EXPECT_EQ(w.SelectedNode(), 10);
    EXPECT_EQ(w.Menu()->SceneNo(), 10);
    modResult::InputReady = true;
}

TEST_F(ResultWindow, InputWhileThe3DPageDrawsIsIgnored) {
    frmResult& w = Open(kBenzeneAtoms, kBenzeneBonds);
    QTreeWidgetItem* threeD = w.tvwMenu().topLevelItem(0)->child(4)->child(1);
    int during = 0;
    QTimer::singleShot(0, &w, [&] {
        ++during;
        EXPECT_FALSE(modResult::InputReady);
        QTest::keyClick(&w.tvwMenu(), Qt::Key_Return);
        QTest::keyClick(&w.tvwMenu(), Qt::Key_Up);
        w.ToolbarButton(QStringLiteral("次へ"))->trigger();
        w.ToolbarButton(QStringLiteral("デザイン"))->trigger();
        w.tvwMenu_NodeClick(w.tvwMenu().topLevelItem(0));
    });
    w.tvwMenu_NodeClick(threeD);
    EXPECT_EQ(during, 1) << "the 3-D page let no events run";
    EXPECT_EQ(w.Menu()->SceneNo(), 12);
    EXPECT_EQ(w.Menu()->OrbitalIndex(), 0);
    EXPECT_EQ(w.SelectedNode(), 12);
    EXPECT_EQ(design.shown, 0);
    EXPECT_TRUE(modResult::InputReady);
    // Once the page is complete, the same input acts.
    QTest::keyClick(&w.tvwMenu(), Qt::Key_Return);
    EXPECT_EQ(w.Menu()->OrbitalIndex(), 1);
    w.ToolbarButton(QStringLiteral("次へ"))->trigger();
    EXPECT_EQ(w.Menu()->OrbitalIndex(), 2);
}

TEST_F(ResultWindow, MenuCommandDuringThe3DPageRunsAndStopsTheDrawing) {
    frmResult& w = Open(kBenzeneAtoms, kBenzeneBonds);
    QTreeWidgetItem* threeD = w.tvwMenu().topLevelItem(0)->child(4)->child(1);
    std::uint32_t afterMenu = 0;
    QTimer::singleShot(0, &w, [&] {
        w.mnuMove()->actions()[3]->trigger();  // 戻る(&B): the last planar orbital
        afterMenu = w.surface().Generation();
    });
    w.tvwMenu_NodeClick(threeD);
    EXPECT_EQ(w.Menu()->SceneNo(), 11);
    EXPECT_EQ(w.Menu()->OrbitalIndex(), 5);
    EXPECT_EQ(w.surface().Generation(), afterMenu);
    // No lobe points of the abandoned 3-D page on the planar picture: the
    // planar page draws circles, never single points above the atoms' plane.
    EXPECT_EQ(CountColour(w.surface(), QRectF(0, 0, 640, 20), Qt::red), 0);
}

TEST_F(ResultWindow, ClosingShowsTheDesignWindow) {
    {
        frmResult& w = Open("1-1,2-1", "1-2");
        w.mnuFileClose_Click();
        EXPECT_FALSE(w.isVisible());
        EXPECT_EQ(design.shown, 1);
        Settle();
        EXPECT_TRUE(window.isNull()) << "the closed window is released";
    }
    {
        frmResult& w = Open("1-1,2-1", "1-2");
        w.mnuMove()->actions()[0]->trigger();  // デザイン(&D)
        EXPECT_EQ(design.shown, 2);
        Settle();
        EXPECT_TRUE(window.isNull());
    }
    {
        frmResult& w = Open("1-1,2-1", "1-2");
        w.ToolbarButton(QStringLiteral("デザイン"))->trigger();
        EXPECT_EQ(design.shown, 3);
        EXPECT_TRUE(modResult::InputReady);
        Settle();
        EXPECT_TRUE(window.isNull());
    }
    {
        // The close box: the platform reports a close of the window itself.
        frmResult& w = Open("1-1,2-1", "1-2");
        w.windowHandle()->close();
        Settle();
        EXPECT_EQ(design.shown, 4);
        EXPECT_TRUE(window.isNull());
    }
    {
        // A close by the program is not the student's: no design window.
        Open("1-1,2-1", "1-2");
        frmResult::CloseForExit();
        Settle();
        EXPECT_EQ(design.shown, 4);
        EXPECT_TRUE(window.isNull());
    }
}

TEST_F(ResultWindow, ClosingWhileThe3DPageDraws) {
    frmResult& w = Open(kBenzeneAtoms, kBenzeneBonds);
    QTreeWidgetItem* threeD = w.tvwMenu().topLevelItem(0)->child(4)->child(1);
    QTimer::singleShot(0, &w, [&] { w.mnuFile()->actions()[0]->trigger(); });
    w.tvwMenu_NodeClick(threeD);
    EXPECT_EQ(design.shown, 1);
    EXPECT_FALSE(window.isNull()) << "still drawing when the close came";
    Settle();
    EXPECT_TRUE(window.isNull());
}

TEST_F(ResultWindow, AnotherCalculationReplacesTheWindow) {
    Open("1-1,2-1", "1-2");
    QPointer<frmResult> first = window;
    Open(kBenzeneAtoms, kBenzeneBonds);
    EXPECT_TRUE(first.isNull());
    EXPECT_EQ(frmResult::Current(), window.data());
    EXPECT_EQ(window->grdMatrix().Rows(), 8);
}

}  // namespace
