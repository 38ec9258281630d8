// SPDX-License-Identifier: BSD-3-Clause
// The page's pop-up menu: where a right click opens it, and saving the page
// being shown through scripted dialogs.

#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QImage>
#include <QMenu>
#include <QTreeWidget>

#include "orbix/model/modOrbix.h"
#include "orbix/picture/PagePicture.h"
#include "orbix/platform/FlexGrid.h"
#include "orbix/platform/ImageSurface.h"
#include "tests/result/ResultFixture.h"

namespace {

using orbix::MsgAnswer;
using orbix::MsgButtons;
using orbix::MsgIcon;

class PagePictureMenu : public ResultWindowTest {
  protected:
    // A right click on `w` at `at`, delivered as the platform delivers it.
    static void RightClick(QWidget& w, QPoint at) {
        QContextMenuEvent e(QContextMenuEvent::Mouse, at, w.mapToGlobal(at));
        QApplication::sendEvent(&w, &e);
    }

    void Save(const QString& path, int filter) {
        design.dialogs.files.push_back(path);
        design.dialogs.filters.push_back(filter);
        window->mnuPage().actions().front()->trigger();
    }

    // The picture PagePicture writes of a scene, for comparison.
    QByteArray Direct(int scene, std::int16_t k, PagePicture::Format f) {
        const QString path = dir.filePath(QStringLiteral("direct.") + PagePicture::Extension(f));
        QString error;
        EXPECT_TRUE(PagePicture::Save(path, f, scene, k, error)) << error.toStdString();
        return ReadAll(path);
    }
};

TEST_F(PagePictureMenu, OpensOnThePageButNotOnTheGridTreeOrToolbar) {
    frmResult& w = Open(kBenzeneAtoms, kBenzeneBonds);
    QMenu& menu = w.mnuPage();
    ASSERT_EQ(menu.actions().size(), 1);
    EXPECT_EQ(menu.actions().front()->text(), QStringLiteral("ページを画像として保存(&I)..."));

    // Scene 2: the grid lies over the page and keeps its own menu.
    ASSERT_TRUE(w.grdMatrix().isVisible());
    RightClick(*w.grdMatrix().viewport(), QPoint(5, 5));
    EXPECT_FALSE(menu.isVisible()) << "menu on the grid";
    RightClick(*w.tvwMenu().viewport(), QPoint(5, 5));
    EXPECT_FALSE(menu.isVisible()) << "menu on the tree";
    RightClick(w.surface(), w.surface().PageToPixel(QPointF(600, 30)).toPoint());
    EXPECT_TRUE(menu.isVisible()) << "no menu on the page beside the table";
    menu.hide();

    w.ChangeMenu(6);
    w.Menu()->Show(6);
    RightClick(w.surface(), w.surface().PageToPixel(QPointF(320, 250)).toPoint());
    EXPECT_TRUE(menu.isVisible()) << "no menu on the level diagram";
    menu.hide();
}

TEST_F(PagePictureMenu, SavesThePageShownInTheFormatOfTheChosenFilter) {
    frmResult& w = Open(kBenzeneAtoms, kBenzeneBonds);
    w.ChangeMenu(6);
    w.Menu()->Show(6);
    const QString svg = dir.filePath("levels.svg");
    Save(svg, 1);
    EXPECT_TRUE(design.dialogs.messages.empty());
    ASSERT_EQ(design.dialogs.fileRequests.size(), 1u);
    const auto& req = design.dialogs.fileRequests[0];
    EXPECT_EQ(req.title, QStringLiteral("ページを画像として保存"));
    EXPECT_EQ(req.filter, QStringLiteral("PNG画像 (*.png)|*.png|SVG画像 (*.svg)|*.svg|"
                                         "PDFファイル (*.pdf)|*.pdf"));
    EXPECT_EQ(req.initialDir.toStdString(), modOrbix::ProgramFolder);
    EXPECT_EQ(ReadAll(svg), Direct(6, 0, PagePicture::Format::kSvg)) << "benzene levels";

    // A group heading leaves the level diagram on the page.
    w.ChangeMenu(10);
    w.Menu()->Show(10);
    Save(dir.filePath("heading.svg"), 1);
    EXPECT_EQ(ReadAll(dir.filePath("heading.svg")), ReadAll(svg)) << "benzene, heading 10";

    // The 3-D page at the second orbital; a name without extension gets the
    // filter's, and the dialog shows the filter chosen last.
    w.ChangeMenu(12);
    w.Menu()->Show(12);
    w.Menu()->ForwardScene();
    ASSERT_EQ(w.Menu()->OrbitalIndex(), 1);
    Save(dir.filePath("orbital"), 0);
    EXPECT_EQ(design.dialogs.fileRequests.back().filterIndex, 1);
    const QImage png(dir.filePath("orbital.png"));
    EXPECT_EQ(png.size(), QSize(1280, 800)) << "benzene 3-D orbital 2";
    EXPECT_EQ(png, QImage::fromData(Direct(12, 1, PagePicture::Format::kPng)))
        << "benzene 3-D orbital 2";

    // A name with a known extension says its own format.
    Save(dir.filePath("orbital.pdf"), 0);
    EXPECT_TRUE(ReadAll(dir.filePath("orbital.pdf")).startsWith("%PDF"));
}

TEST_F(PagePictureMenu, OverwriteQuestionCancelAndFailure) {
    frmResult& w = Open("1-1,2-1", "1-2");
    w.ChangeMenu(6);
    w.Menu()->Show(6);
    const QString path = dir.filePath("old.svg");
    ASSERT_NO_FATAL_FAILURE(WriteAll(path, "old"));
    design.dialogs.files = {path, path};
    design.dialogs.answers = {MsgAnswer::kNo, MsgAnswer::kYes};
    w.mnuPage().actions().front()->trigger();
    ASSERT_EQ(design.dialogs.messages.size(), 2u);
    const auto& ask = design.dialogs.messages[0];
    EXPECT_EQ(ask.text, QStringLiteral("old.svgは既に存在します。上書きしますか？"));
    EXPECT_EQ(ask.title, QStringLiteral("ページを画像として保存"));
    EXPECT_EQ(ask.buttons, MsgButtons::kYesNo);
    EXPECT_EQ(ask.icon, MsgIcon::kNone);
    ASSERT_EQ(design.dialogs.fileRequests.size(), 2u);
    EXPECT_EQ(design.dialogs.fileRequests[1].fileName, QStringLiteral("old.svg"))
        << "title preset after No";
    EXPECT_TRUE(ReadAll(path).contains("<svg")) << "ethylene levels over the old file";

    // Cancelling ends the command without a message.
    design.dialogs.messages.clear();
    design.dialogs.files = {std::nullopt};
    w.mnuPage().actions().front()->trigger();
    EXPECT_TRUE(design.dialogs.messages.empty());

    // A folder that does not exist.
    design.dialogs.files = {dir.filePath("no/such/folder/p.png")};
    w.mnuPage().actions().front()->trigger();
    ASSERT_EQ(design.dialogs.messages.size(), 1u);
    EXPECT_EQ(design.dialogs.messages[0].text, QStringLiteral("画像の保存に失敗しました"));
    EXPECT_EQ(design.dialogs.messages[0].title, QStringLiteral("ページ画像の保存エラー"));
    EXPECT_EQ(design.dialogs.messages[0].icon, MsgIcon::kCritical);
    EXPECT_EQ(design.dialogs.messages[0].buttons, MsgButtons::kOk);
}

}  // namespace
