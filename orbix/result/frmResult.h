// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// The result window: runs one calculation while showing its progress, then
// lets the student walk the analysis scenes from the tree, the toolbar, the
// Move menu or the Enter key.
//
// Create it with frmResult::Open, which replaces the current result window,
// and call Display once. Closing it (menu, toolbar "デザイン" or the close
// box) shows the design window again through its DesignHost; only
// CloseForExit, for the end of the program, closes it without that.

#include <QMainWindow>
#include <QPointer>
#include <array>
#include <cstdint>
#include <string>

#include "orbix/result/DesignHost.h"
#include "orbix/result/clsMenu.h"

class QAction;
class QLabel;
class QMenu;
class QToolBar;
class QTreeWidget;
class QTreeWidgetItem;

namespace orbix {
class FlexGrid;
class ImageSurface;
}  // namespace orbix

class frmResult : public QMainWindow, public SceneView {
    Q_OBJECT
  public:
    // A new result window that becomes the current one; the previous one is
    // closed and deleted.
    static frmResult* Open(DesignHost& host);
    static frmResult* Current();
    // Closes the current result window for the end of the program: the
    // design window is not shown again.
    static void CloseForExit();

    explicit frmResult(DesignHost& host, QWidget* parent = nullptr);
    ~frmResult() override;

    // Runs the calculation of CurrentMolecule and shows scene 2. showProgress
    // reads 1 afterwards. An error of the calculation closes the window, shows
    // the design window and is passed on to the caller.
    void Display(std::int16_t& showProgress);

    void ChangeMenu(std::int16_t scene) override;
    modCalculation::PageSurface& Surface() override;
    modCalculation::EigenGrid& Grid() override;

    // Handlers, public so that tests can drive them like the user does.
    void tbToolBar_ButtonClick(const QString& key);
    void tvwMenu_NodeClick(QTreeWidgetItem* node);
    void mnuFileClose_Click();
    void mnuMoveNext_Click();
    void mnuMoveBack_Click();
    void mnuOutputFile_Click();
    void mnuOutputPrint_Click();
    void mnuPagePicture_Click();

    // Controls, for tests and for looking at the window.
    orbix::ImageSurface& surface() { return *surface_; }
    orbix::FlexGrid& grdMatrix() { return *grdMatrix_; }
    QTreeWidget& tvwMenu() { return *tvwMenu_; }
    QLabel& lblMessage() { return *lblMessage_; }
    QToolBar& tbToolBar() { return *tbToolBar_; }
    QMenu& mnuOutput() { return *mnuOutput_; }
    QMenu& mnuPage() { return *mnuPage_; }
    QAction* ToolbarButton(const QString& key) const;
    QMenu* mnuFile() const { return mnuFile_; }
    QMenu* mnuMove() const { return mnuMove_; }
    std::int16_t SelectedNode() const;
    clsMenu* Menu() const { return menu_.get(); }
    double MaxOff() const { return maxOff_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* e) override;

  private:
    // Display's work, and its steps.
    void ShowCalculation();
    void PreparePage(const modResult::WindowPlace& design);
    void ShowInPlace(const modResult::WindowPlace& design);
    void ScalePage();
    void ShowCalculating();
    void ShowCalculationDone();
    void StartNavigation();

    void BuildMenus();
    void BuildToolbar();
    void BuildSceneTree();
    void GuardedNext();
    // Runs one of the design window's document commands, then shows the
    // document's current name in the title.
    void RunDocumentCommand(void (DesignHost::*command)());
    // Closes the window and shows the design window; the window is deleted
    // once no page of it is being drawn.
    void Unload();
    void ReleaseWhenIdle();
    // Runs a command of the window, counting it as drawing; a run-time error
    // it raises is shown, not let out of the event handler.
    template <class F>
    void Run(F&& command);
    void ShowRunTimeError(const std::string& what);
    template <class Fail>
    void WriteCsv(orbix::Dialogs& dlg, Fail&& fail);
    void SavePagePicture();
    // Where the output dialogs start.
    QString OutputFolder() const;
    // Pops up the page's menu for a right click on the page itself.
    bool PageContextMenu(QObject* watched, QEvent* event);
    // The menu key (or Shift+F10) on watched, when it has the focus: the
    // menu a right click opens there, at that control, not at the mouse.
    bool KeyboardMenu(QObject* watched);

    DesignHost& host_;
    orbix::ImageSurface* surface_;
    orbix::FlexGrid* grdMatrix_;
    QTreeWidget* tvwMenu_;
    QLabel* lblMessage_;
    QToolBar* tbToolBar_;
    QMenu* mnuFile_ = nullptr;
    QMenu* mnuMove_ = nullptr;
    QMenu* mnuOutput_ = nullptr;
    QMenu* mnuPage_ = nullptr;
    int pictureFilter_ = 0;  // the format chosen last
    std::array<QTreeWidgetItem*, 13> nodes_{};
    std::shared_ptr<clsMenu> menu_;
    double maxOff_ = 0;
    int running_ = 0;           // commands under way (a 3-D page lets others start)
    bool calculating_ = false;  // calculation to first page: no input reaches the window
    bool unloaded_ = false;
    bool exiting_ = false;
    bool changingMenu_ = false;
    bool waitCursor_ = false;
};
