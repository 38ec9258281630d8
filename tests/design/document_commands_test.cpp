// SPDX-License-Identifier: BSD-3-Clause
// What the student must never lose, and where the file dialogs start; the
// design window's controls as a student meets them.

#include <gtest/gtest.h>

#include <QAction>
#include <QDir>
#include <QHelpEvent>
#include <QTextDocumentFragment>
#include <QTimer>
#include <QToolBar>
#include <QToolButton>
#include <QToolTip>
#include <functional>

#include "orbix/design/AtomPalette.h"
#include "orbix/design/AtomPictures.h"
#include "orbix/design/DesignCanvas.h"
#include "orbix/platform/Folders.h"
#include "tests/design/DesignFixture.h"
#include "tests/support/OtherUser.h"

namespace {

using orbix::MsgAnswer;

std::string S(const QString& s) { return s.toStdString(); }

class DesignCommands : public DesignWindowTest {
  protected:
    void SetUp() override {
        DesignWindowTest::SetUp();
        if (HasFatalFailure()) return;
        form->show();
        QApplication::processEvents();
    }
    std::size_t Atoms() const { return form->Drawing().colSites().size(); }
};

// Yes on the save prompt, then the save dialog cancelled: each command ends
// as Cancel would, with the drawing and its name as they were.
TEST_F(DesignCommands, YesAndACancelledSaveDialogEndTheCommand) {
    Click(1);
    Click(2);
    struct Command {
        const char* name;
        void (frmDesign::*run)();
    };
    for (const Command& c : {Command{"New", &frmDesign::mnuFileNew_Click},
                             Command{"Open", &frmDesign::mnuFileOpen_Click},
                             Command{"Template", &frmDesign::mnuFileTemp_Click},
                             Command{"Exit", &frmDesign::mnuFileExit_Click}}) {
        dlg.fileRequests.clear();
        dlg.answers.push_back(MsgAnswer::kYes);
        dlg.files.push_back(std::nullopt);
        (form.get()->*c.run)();
        EXPECT_EQ(Atoms(), 2u) << c.name << ": the drawing was discarded";
        EXPECT_TRUE(form->DocumentChanged()) << c.name;
        EXPECT_TRUE(form->isVisible()) << c.name << ": the window was closed";
        EXPECT_EQ(form->windowTitle(), "無題－Orbix分子軌道法") << c.name;
        ASSERT_EQ(dlg.fileRequests.size(), 1u)
            << c.name << ": only the save dialog may be shown, then the command ends";
        EXPECT_EQ(dlg.fileRequests[0].title, "名前を付けて保存") << c.name;
    }
    // The close box alike.
    dlg.answers.push_back(MsgAnswer::kYes);
    dlg.files.push_back(std::nullopt);
    EXPECT_FALSE(form->close());
    EXPECT_EQ(Atoms(), 2u);
    EXPECT_EQ(dlg.unexpected, 0);
}

TEST_F(DesignCommands, YesAndAFailedSaveEndsTheCommand) {
    // A document whose folder is gone by the time it is saved.
    const QString folder = dir.filePath("gone");
    ASSERT_TRUE(QDir().mkpath(folder));
    Click(1);
    dlg.files.push_back(folder + "/one.mol");
    form->mnuFileSaveAs_Click();
    ASSERT_FALSE(form->DocumentChanged());
    ASSERT_TRUE(QDir(folder).removeRecursively());
    Click(2);
    dlg.messages.clear();
    dlg.answers.push_back(MsgAnswer::kYes);
    dlg.fileRequests.clear();
    form->mnuFileOpen_Click();  // Yes runs Save, into the folder that is gone
    ASSERT_EQ(dlg.messages.size(), 2u) << "the prompt and the save error";
    EXPECT_EQ(dlg.messages[1].title, "ファイルの上書き保存");
    EXPECT_TRUE(dlg.fileRequests.empty()) << "Open went on after a failed save";
    EXPECT_EQ(Atoms(), 2u);
    EXPECT_EQ(form->windowTitle(), "one.mol－Orbix分子軌道法");
    EXPECT_TRUE(form->DocumentChanged());
}

// Yes on the prompt over a drawing emptied by deleting: nothing is lost, so
// each command goes on once the student has been told there is nothing to save.
TEST_F(DesignCommands, YesWithNothingToSaveGoesOn) {
    const QString path = dir.filePath("one.mol");
    ASSERT_NO_FATAL_FAILURE(WriteFile(path, "[Atom]=1-1\r\n\r\n"));
    struct Case {
        const char* name;
        const char* saveTitle;  // New saves as, the others save
        std::function<bool(frmDesign&, orbix::ScriptedDialogs&)> wentOn;
    };
    const Case cases[] = {
        {"New", "ファイルに名前を付けて保存",
         [](frmDesign& f, orbix::ScriptedDialogs&) {
             f.mnuFileNew_Click();
             return !f.DocumentChanged() && f.windowTitle() == "無題－Orbix分子軌道法";
         }},
        {"Open", "ファイルの上書き保存",
         [](frmDesign& f, orbix::ScriptedDialogs& d) {
             d.files.push_back(std::nullopt);
             f.mnuFileOpen_Click();
             return d.fileRequests.size() == 1 && d.fileRequests[0].title == "開く";
         }},
        {"Exit", "ファイルの上書き保存",
         [](frmDesign& f, orbix::ScriptedDialogs&) {
             f.mnuFileExit_Click();
             return !f.isVisible();
         }},
        {"close box", "ファイルの上書き保存",
         [](frmDesign& f, orbix::ScriptedDialogs&) { return f.close(); }},
    };
    for (const Case& c : cases) {
        if (&c != cases) {  // a fresh window for each
            TearDown();
            SetUp();
        }
        ASSERT_TRUE(form->OpenDocumentFile(path)) << c.name;
        form->SelAll();
        form->DeleteAtom(false);
        ASSERT_TRUE(form->DocumentChanged());
        dlg.messages.clear();
        dlg.fileRequests.clear();
        dlg.answers.push_back(MsgAnswer::kYes);
        EXPECT_TRUE(c.wentOn(*form, dlg)) << c.name << " stopped";
        ASSERT_EQ(dlg.messages.size(), 2u) << c.name << ": the prompt and the notice";
        EXPECT_EQ(dlg.messages[1].text, "保存するデータがありません。") << c.name;
        EXPECT_EQ(dlg.messages[1].title, QString::fromUtf8(c.saveTitle)) << c.name;
        EXPECT_EQ(Bytes(path), "[Atom]=1-1\r\n\r\n") << c.name;
    }
    EXPECT_EQ(dlg.unexpected, 0);
}

// Save on a shipped template asks for a new name: the template stays as it was.
TEST_F(DesignCommands, SaveOnATemplateActsAsSaveAs) {
    const QString tpl = QString(ORBIX_PROGRAM_DIR) + "template/benzene.tpl";
    const QByteArray before = Bytes(tpl);
    ASSERT_FALSE(before.isEmpty()) << S(tpl);
    dlg.files.push_back(tpl);
    form->mnuFileTemp_Click();
    ASSERT_EQ(Atoms(), 6u);
    Click(20);

    const QString copy = dir.filePath("mine.tpl");
    dlg.fileRequests.clear();
    dlg.files.push_back(copy);
    form->mnuFileSave_Click();
    ASSERT_EQ(dlg.fileRequests.size(), 1u) << "Save wrote over the template without asking";
    EXPECT_EQ(dlg.fileRequests[0].title, "名前を付けて保存");
    EXPECT_EQ(Bytes(tpl), before) << S(tpl) << " was changed";
    EXPECT_TRUE(Bytes(copy).startsWith("[Atom]=")) << S(copy);
    EXPECT_EQ(form->windowTitle(), "mine.tpl－Orbix分子軌道法");

    // A saved copy outside the template folder is saved in place.
    Click(21);
    dlg.fileRequests.clear();
    form->mnuFileSave_Click();
    EXPECT_TRUE(dlg.fileRequests.empty());
    EXPECT_FALSE(form->DocumentChanged());
    EXPECT_EQ(dlg.unexpected, 0);
}

TEST_F(DesignCommands, OpenStartsInTheFolderOfTheLastFile) {
    const QString started = QDir::currentPath();
    dlg.files.push_back(std::nullopt);
    form->mnuFileOpen_Click();
    ASSERT_EQ(dlg.fileRequests.size(), 1u);
    EXPECT_EQ(dlg.fileRequests[0].initialDir, started) << "first Open: the folder started in";

    // Started in the program folder (by the launcher): the home folder.
    ASSERT_TRUE(QDir::setCurrent(QString(ORBIX_PROGRAM_DIR)));
    dlg.files.push_back(std::nullopt);
    form->mnuFileOpen_Click();
    QDir::setCurrent(started);
    ASSERT_EQ(dlg.fileRequests.size(), 2u);
    EXPECT_EQ(dlg.fileRequests[1].initialDir, QDir::homePath());

    // After a save elsewhere, Open starts there, and so after an Open.
    Click(1);
    const QString sub = dir.filePath("sub");
    ASSERT_TRUE(QDir().mkpath(sub));
    dlg.files.push_back(sub + "/one.mol");
    form->mnuFileSaveAs_Click();
    dlg.files.push_back(std::nullopt);
    form->mnuFileOpen_Click();
    EXPECT_EQ(dlg.fileRequests.back().initialDir, sub);
    dlg.files.push_back(dir.filePath("sub/one.mol"));
    form->mnuFileTemp_Click();  // the template folder first, the file from elsewhere
    EXPECT_EQ(dlg.fileRequests.back().initialDir, QString(ORBIX_PROGRAM_DIR) + "template");
    dlg.files.push_back(std::nullopt);
    form->mnuFileOpen_Click();
    EXPECT_EQ(dlg.fileRequests.back().initialDir, sub);
    EXPECT_EQ(dlg.unexpected, 0);
}

// A caption too long for the palette is elided and shown whole, as written,
// in its tool tip, which stays on the screen; in the largest legal table the last button is reached
// by scrolling the palette.
TEST(DesignPalette, LongCaptionElidedAndEveryButtonReachable) {
    QTemporaryDir dir;
    ASSERT_TRUE(QDir().mkpath(dir.filePath("data")));
    ASSERT_TRUE(QFile::link(QStringLiteral(ORBIX_PROGRAM_DIR "libTessera.so"),
                            dir.filePath("libTessera.so")));
    const QString caption = "<b>N</b> " + QString(3000, QLatin1Char('x'));
    QByteArray table = "C,1,0,0,1,3\r\n" + caption.toUtf8() + ",1,0.5,0.05,1,2\r\n";
    for (int n = 3; n <= 32767; ++n) table += "E" + QByteArray::number(n) + ",1,0,0,1,3\r\n";
    ASSERT_NO_FATAL_FAILURE(WriteFile(dir.filePath("data/atom.dat"), table));
    orbix::ScriptedDialogs dlg;
    int code = 0;
    modOrbix::CurrentMolecule.reset();
    auto form = modDesign::StartUp(dir.path(), dlg, code);
    ASSERT_TRUE(form) << code;
    QApplication::processEvents();
    AtomPalette& palette = form->Palette();
    ASSERT_EQ(palette.Count(), 32767);

    const QString shown = palette.ShownCaption(2);
    EXPECT_TRUE(shown.startsWith("<b>") && shown.endsWith(QChar(0x2026))) << S(shown);
    EXPECT_LE(palette.fontMetrics().horizontalAdvance(shown), palette.ButtonSize().width());
    const QRect second = palette.ButtonRect(2);
    QToolTip::hideText();
    QHelpEvent tip(QEvent::ToolTip, second.center(),
                   palette.viewport()->mapToGlobal(second.center()));
    QApplication::sendEvent(palette.viewport(), &tip);
    EXPECT_EQ(QTextDocumentFragment::fromHtml(QToolTip::text()).toPlainText().remove(QChar(0x200B)),
              caption);
    const QWidget* label = nullptr;
    for (const QWidget* w : QApplication::topLevelWidgets()) {
        if (w->inherits("QTipLabel") && w->isVisible()) label = w;
    }
    ASSERT_TRUE(label);
    EXPECT_LE(label->width(), label->screen()->geometry().width()) << "the tip runs off the screen";
    QToolTip::hideText();

    const QRect last = palette.ButtonRect(32767);
    ASSERT_TRUE(palette.viewport()->rect().contains(last));
    QTest::mouseClick(palette.viewport(), Qt::LeftButton, {}, last.center());
    EXPECT_EQ(form->CurrentElement(), 32767);
    EXPECT_EQ(palette.Pressed(), 32767);
    form.reset();
    modOrbix::CurrentMolecule.reset();
}

TEST(Folders, UnwritableProgramFolderFallsBackToHome) {
    ORBIX_RUN_AS_OTHER_USER();
    QTemporaryDir dir;
    EXPECT_EQ(orbix::WritableFolderOrHome(dir.path()), dir.path());
    EXPECT_EQ(orbix::WritableFolderOrHome(dir.filePath("missing")), QDir::homePath());
    const QString locked = dir.filePath("locked");
    ASSERT_TRUE(QDir().mkpath(locked));
    QFile::setPermissions(locked, QFile::ReadOwner | QFile::ExeOwner);
    ASSERT_FALSE(QFileInfo(locked).isWritable()) << "permissions do not bind this user";
    EXPECT_EQ(orbix::WritableFolderOrHome(locked), QDir::homePath());
}

TEST(Folders, TemplateFolderIsRecognisedThroughLinksAndDots) {
    QTemporaryDir dir;
    const QString tpl = dir.filePath("template");
    ASSERT_TRUE(QDir().mkpath(tpl));
    ASSERT_TRUE(QFile::link(tpl, dir.filePath("link")));
    EXPECT_TRUE(orbix::IsInFolder(tpl + "/a.tpl", tpl));
    EXPECT_TRUE(orbix::IsInFolder(dir.filePath("link/a.tpl"), tpl));
    EXPECT_TRUE(orbix::IsInFolder(dir.filePath("template/../template/a.tpl"), tpl));
    EXPECT_FALSE(orbix::IsInFolder(dir.filePath("a.tpl"), tpl));
    EXPECT_FALSE(orbix::IsInFolder(tpl + "/deeper/a.tpl", tpl));
}

TEST(CanvasSize, LargestRectangleOfAspect640To400) {
    struct Case {
        QSize room, canvas;
    };
    for (const Case& c : {Case{{1152, 870}, {1152, 720}}, Case{{2000, 700}, {1120, 700}},
                          Case{{1280, 800}, {1280, 800}}, Case{{500, 300}, {840, 525}}})
        EXPECT_EQ(frmDesign::CanvasSize(c.room), c.canvas)
            << "room " << c.room.width() << "x" << c.room.height();
}

TEST_F(DesignCommands, CanvasFollowsTheRoomItHas) {
    form->resize(1400, 1000);
    QApplication::processEvents();
    const QSize room = form->centralWidget()->size();
    EXPECT_EQ(form->picDesign().size(), frmDesign::CanvasSize(room))
        << "room " << room.width() << "x" << room.height();
    EXPECT_TRUE(room.width() == form->picDesign().width() ||
                room.height() == form->picDesign().height());
}

TEST_F(DesignCommands, CaptionsStandOutFromEveryDisc) {
    for (int n = 1; n <= 9; ++n) {
        const double ratio =
            AtomPictures::Contrast(AtomPictures::CaptionColour(n), AtomPictures::DiscColour(n));
        EXPECT_GE(ratio, 4.5) << "picture " << n << " disc "
                              << S(AtomPictures::DiscColour(n).name()) << " caption "
                              << S(AtomPictures::CaptionColour(n).name());
    }
    // The tile of element 6 (the maroon disc) carries a white caption.
    auto caption = [&](int site) {
        tessera::PropertyBag bag;
        form->tileAtom(static_cast<std::int16_t>(site))->WriteProperties(bag);
        return bag.ReadProperty("ForeColor", QVariant()).toLongLong();
    };
    form->tbrAtomBox_ButtonClick(6);
    Click(1);
    EXPECT_EQ(caption(1), tessera::RGB(255, 255, 255)) << "S: on maroon";
    form->tbrAtomBox_ButtonClick(1);
    Click(2);
    EXPECT_EQ(caption(2), tessera::RGB(0, 0, 0)) << "C on cyan";
}

TEST_F(DesignCommands, ToolbarTipsPaletteWidthsAndNoHidingMenu) {
    for (QAction* a : form->tbToolBar().actions()) {
        QWidget* button = form->tbToolBar().widgetForAction(a);
        if (a->isSeparator() || !button) continue;
        QToolTip::hideText();
        QHelpEvent tip(QEvent::ToolTip, QPoint(5, 5), button->mapToGlobal(QPoint(5, 5)));
        QApplication::sendEvent(button, &tip);
        // Only the buttons with a tip of their own show one; the others
        // show nothing, not their caption.
        const bool ownTip = a->objectName() != "結合" && a->objectName() != "結合削除" &&
                            a->objectName() != "計算実行";
        if (ownTip)
            EXPECT_EQ(QToolTip::text(), a->toolTip()) << S(a->text());
        else
            EXPECT_NE(QToolTip::text(), a->text()) << S(a->text()) << " shows its caption as a tip";
        EXPECT_EQ(a->icon().availableSizes().value(0), QSize(24, 24)) << S(a->text());
    }
    QToolTip::hideText();

    int width = -1;
    for (int n = 1; n <= modOrbix::colAtoms.Count(); ++n) {
        const int w = form->Palette().ButtonRect(n).width();
        if (width < 0) width = w;
        EXPECT_EQ(w, width) << "palette button " << n << " (" << S(form->Palette().Caption(n))
                            << ")";
    }

    // A right click on a toolbar offers no menu to hide it.
    QContextMenuEvent menu(QContextMenuEvent::Mouse, QPoint(5, 5),
                           form->tbToolBar().mapToGlobal(QPoint(5, 5)));
    QApplication::sendEvent(&form->tbToolBar(), &menu);
    EXPECT_EQ(QApplication::activePopupWidget(), nullptr);
    EXPECT_TRUE(form->tbToolBar().isVisible());
}

// The close box of the result window during the calculation's pauses does
// nothing; no result window is left behind after several calculations.
TEST_F(DesignCommands, CloseBoxDuringTheCalculationIsRefused) {
    modCommon::testing::MillisecondsPerSecond = 100;
    Click(1);
    Click(2);
    form->ConnectAtom({1, 2});
    std::size_t windows = 0;
    for (int run = 1; run <= 3; ++run) {
        bool tried = false;
        QTimer::singleShot(20, [&] {
            tried = true;
            if (frmResult* r = frmResult::Current()) r->close();
        });
        form->mnuMoveCalc_Click();
        ASSERT_TRUE(tried) << "run " << run;
        frmResult* result = frmResult::Current();
        ASSERT_TRUE(result);
        EXPECT_TRUE(result->isVisible()) << "run " << run << ": closed during the calculation";
        EXPECT_FALSE(form->isVisible()) << "run " << run;
        EXPECT_NE(result->Menu(), nullptr) << "run " << run;
        // Afterwards the close box works.
        EXPECT_TRUE(result->close());
        EXPECT_TRUE(form->isVisible());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        const std::size_t now = QApplication::topLevelWidgets().size();
        if (run == 1) windows = now;
        EXPECT_EQ(now, windows) << "top-level windows after calculation " << run;
    }
}

// Save As from the result window, and Save of an untitled document (which
// saves as): both windows show the document's new name.
TEST_F(DesignCommands, SavingFromTheResultWindowRenamesBothWindows) {
    for (const char* command : {"mnuFileSaveAs", "mnuFileSave"}) {
        Click(1);
        Click(2);
        form->ConnectAtom({1, 2});
        form->mnuMoveCalc_Click();
        frmResult* result = frmResult::Current();
        ASSERT_TRUE(result) << command;
        ASSERT_EQ(result->windowTitle(), QStringLiteral("無題－Orbix分子軌道法")) << command;
        const QString name = QString::fromLatin1(command) + QStringLiteral(".mol");
        dlg.files.push_back(dir.filePath(name));
        result->findChild<QAction*>(QString::fromLatin1(command))->trigger();
        const QString title = name + QStringLiteral("－Orbix分子軌道法");
        EXPECT_EQ(S(form->windowTitle()), S(title)) << command;
        EXPECT_EQ(S(result->windowTitle()), S(title)) << command;
        result->mnuFileClose_Click();
        form->mnuFileNew_Click();  // saved: no question
    }
}

}  // namespace
