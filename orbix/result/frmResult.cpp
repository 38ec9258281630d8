// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/result/frmResult.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QCursor>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLayout>
#include <QMenuBar>
#include <QPainter>
#include <QPainterPath>
#include <QToolBar>
#include <QTreeWidget>
#include <cmath>
#include <exception>

#include "orbix/calc/Pages.h"
#include "orbix/calc/modCalculation.h"
#include "orbix/model/modFormat.h"
#include "orbix/platform/Dialogs.h"
#include "orbix/platform/FlexGrid.h"
#include "orbix/platform/Fonts.h"
#include "orbix/platform/ImageSurface.h"
#include "orbix/platform/Twips.h"
#include "orbix/platform/WaitSeconds.h"
#include "orbix/result/InputReady.h"
#include "orbix/result/WindowTitle.h"

namespace {

using namespace modCalculation;
using modResult::FitToWorkArea;

QPointer<frmResult> current;

const QColor kBackColour(223, 228, 211);

constexpr Qt::WindowStates kWholeScreenStates = Qt::WindowMaximized | Qt::WindowFullScreen;

// Layout of the form, in twips.
constexpr int kClientWidth = 11100, kClientHeight = 6630;
constexpr int kToolbarHeight = 720;
constexpr int kTreeWidth = 3015, kTreeHeight = 3435;

const char* const kSceneTexts[13] = {
    nullptr,
    "波動関数の解析 メニュー",
    "固有値および固有ベクトル",
    "電荷密度と結合次数",
    "π電子密度",
    "結合次数",
    "軌道エネルギー準位",
    "クローンおよび共鳴積分",
    "クローン積分",
    "共鳴積分",
    "分子軌道の表示",
    "平面",
    "立体",
};
constexpr int kSceneParents[13] = {0, 0, 1, 1, 3, 3, 1, 1, 7, 7, 1, 10, 10};

// Toolbar pictures: a bent arrow back to the design ("Back"), arrows left
// ("Return") and right ("Next").
QIcon ToolbarPicture(const QString& key) {
    QPixmap pm(24, 24);
    pm.fill(Qt::transparent);
    QPainter p(&pm);
    p.setRenderHint(QPainter::Antialiasing);
    p.setPen(QPen(QColor(0, 64, 96), 1.2));
    p.setBrush(QColor(64, 144, 176));
    QPainterPath path;
    if (key == QLatin1String("Back")) {
        path.moveTo(3, 9);
        path.lineTo(10, 2);
        path.lineTo(10, 6);
        path.lineTo(18, 6);
        path.quadTo(22, 6, 22, 11);
        path.lineTo(22, 21);
        path.lineTo(17, 21);
        path.lineTo(17, 12);
        path.lineTo(10, 12);
        path.lineTo(10, 16);
        path.closeSubpath();
    } else {
        const bool right = key == QLatin1String("Next");
        auto X = [right](double x) { return right ? 24 - x : x; };
        path.moveTo(X(2), 12);
        path.lineTo(X(12), 3);
        path.lineTo(X(12), 8);
        path.lineTo(X(22), 8);
        path.lineTo(X(22), 16);
        path.lineTo(X(12), 16);
        path.lineTo(X(12), 21);
        path.closeSubpath();
    }
    p.drawPath(path);
    return QIcon(pm);
}

}  // namespace

frmResult* frmResult::Open(DesignHost& host) {
    if (current) {
        frmResult* old = current;
        old->unloaded_ = true;
        old->surface_->Abandon();
        old->hide();
        old->ReleaseWhenIdle();
    }
    current = new frmResult(host);
    return current;
}

frmResult* frmResult::Current() { return current; }

void frmResult::CloseForExit() {
    if (!current) return;
    current->exiting_ = true;
    current->unloaded_ = true;
    current->surface_->Abandon();
    current->close();
    current->ReleaseWhenIdle();
}

frmResult::frmResult(DesignHost& host, QWidget* parent)
    : QMainWindow(parent),
      host_(host),
      surface_(new orbix::ImageSurface(this)),
      grdMatrix_(new orbix::FlexGrid(surface_)),
      tvwMenu_(new QTreeWidget(surface_)),
      lblMessage_(new QLabel(surface_)),
      tbToolBar_(new QToolBar(surface_)) {
    orbix::RegisterFontSubstitutions();
    setWindowTitle(QStringLiteral("Orbix_result"));
    setCentralWidget(surface_);
    surface_->BackColor(kBackColour);
    surface_->setFont(orbix::GothicFont(12));
    surface_->onHideGrid = [this] { grdMatrix_->hide(); };

    BuildMenus();
    BuildToolbar();

    tvwMenu_->setHeaderHidden(true);
    tvwMenu_->setFont(orbix::GothicFont(9.75));
    tvwMenu_->setGeometry(0, orbix::TwipsToPixelsY(kToolbarHeight),
                          orbix::TwipsToPixelsX(kTreeWidth), orbix::TwipsToPixelsY(kTreeHeight));
    connect(tvwMenu_, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* node) { tvwMenu_NodeClick(node); });
    // A node chosen with the keys clicks it as well; a mouse press is left to
    // itemClicked so that the node is not shown twice.
    connect(tvwMenu_, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* node) {
        if (!changingMenu_ && node && QGuiApplication::mouseButtons() == Qt::NoButton)
            tvwMenu_NodeClick(node);
    });

    // The page takes the focus from the keyboard only (Tab after the tree and
    // the grid), for its menu key; a click leaves the focus where it is.
    surface_->setFocusPolicy(Qt::TabFocus);
    setTabOrder(tvwMenu_, grdMatrix_);
    setTabOrder(grdMatrix_, surface_);

    grdMatrix_->setFont(orbix::GothicFont(9.75));
    grdMatrix_->BackColorBkg(kBackColour);
    grdMatrix_->hide();
    connect(grdMatrix_, &orbix::FlexGrid::rightButtonReleased, this,
            [this](const QPoint& at) { mnuOutput_->popup(at); });

    lblMessage_->setFont(orbix::GothicFont(13.5, true));
    {
        // The messages are read while the window is disabled: keep them black.
        QPalette pal = lblMessage_->palette();
        pal.setColor(QPalette::Disabled, QPalette::WindowText,
                     pal.color(QPalette::Active, QPalette::WindowText));
        lblMessage_->setPalette(pal);
    }
    lblMessage_->hide();

    resize(orbix::TwipsToPixelsX(kClientWidth),
           orbix::TwipsToPixelsY(kClientHeight) + menuBar()->sizeHint().height());

    // Load: the caption, and key preview for the Enter key.
    modResult::SetWindowTitle(*this);
    qApp->installEventFilter(this);
}

frmResult::~frmResult() {
    qApp->removeEventFilter(this);
    if (CurrentMenu && CurrentMenu == menu_) CurrentMenu.reset();
}

void frmResult::BuildMenus() {
    mnuFile_ = menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    mnuFile_->setObjectName(QStringLiteral("mnuFile"));
    auto add = [this](QMenu* menu, const char* name, const QString& caption, auto handler) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(QString::fromLatin1(name));
        connect(a, &QAction::triggered, this, handler);
        return a;
    };
    add(mnuFile_, "mnuFileClose", QStringLiteral("閉じる(&C)"), [this] { mnuFileClose_Click(); });
    mnuFile_->addSeparator();
    add(mnuFile_, "mnuFileSave", QStringLiteral("上書き保存(&S)"),
        [this] { RunDocumentCommand(&DesignHost::mnuFileSave_Click); });
    add(mnuFile_, "mnuFileSaveAs", QStringLiteral("名前を付けて保存(&A)..."),
        [this] { RunDocumentCommand(&DesignHost::mnuFileSaveAs_Click); });
    mnuFile_->addSeparator();
    add(mnuFile_, "mnuFileExit", QStringLiteral("終了(&X)"),
        [this] { RunDocumentCommand(&DesignHost::mnuFileExit_Click); });

    mnuMove_ = menuBar()->addMenu(QStringLiteral("移動(&M)"));
    mnuMove_->setObjectName(QStringLiteral("mnuMove"));
    add(mnuMove_, "mnuMoveDesign", QStringLiteral("デザイン(&D)"),
        [this] { mnuFileClose_Click(); });
    mnuMove_->addSeparator();
    add(mnuMove_, "mnuMoveNext", QStringLiteral("次へ(&N)"), [this] { mnuMoveNext_Click(); });
    add(mnuMove_, "mnuMoveBack", QStringLiteral("戻る(&B)"), [this] { mnuMoveBack_Click(); });

    // Only the grid's pop-up menu, never in the menu bar.
    mnuOutput_ = new QMenu(QStringLiteral("出力"), this);
    mnuOutput_->setObjectName(QStringLiteral("mnuOutput"));
    add(mnuOutput_, "mnuOutputPrint", QStringLiteral("データの印刷(&P)"),
        [this] { mnuOutputPrint_Click(); });
    mnuOutput_->addSeparator()->setObjectName(QStringLiteral("munOutputBar0"));
    add(mnuOutput_, "mnuOutputFile", QStringLiteral("ファイルへ出力(&F)"),
        [this] { mnuOutputFile_Click(); });

    // The page's own pop-up menu, never in the menu bar either.
    mnuPage_ = new QMenu(this);
    mnuPage_->setObjectName(QStringLiteral("mnuPage"));
    add(mnuPage_, "mnuPagePicture", QStringLiteral("ページを画像として保存(&I)..."),
        [this] { mnuPagePicture_Click(); });
}

void frmResult::BuildToolbar() {
    tbToolBar_->setObjectName(QStringLiteral("tbToolBar"));
    tbToolBar_->setMovable(false);
    tbToolBar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    tbToolBar_->setIconSize(QSize(18, 18));  // picture and caption within 720 twips
    tbToolBar_->setAutoFillBackground(true);
    struct Button {
        const char* key;
        const char* tip;
        const char* picture;
    };
    const Button buttons[] = {{"デザイン", "デザイン画面へ", "Back"},
                              {"戻る", "戻る", "Return"},
                              {"次へ", "次へ", "Next"}};
    for (const auto& b : buttons) {
        const QString key = QString::fromUtf8(b.key);
        QAction* a = tbToolBar_->addAction(ToolbarPicture(QString::fromLatin1(b.picture)), key);
        a->setObjectName(key);
        a->setToolTip(QString::fromUtf8(b.tip));
    }
    connect(tbToolBar_, &QToolBar::actionTriggered, this,
            [this](QAction* a) { tbToolBar_ButtonClick(a->objectName()); });
    tbToolBar_->setGeometry(0, 0, width(), orbix::TwipsToPixelsY(kToolbarHeight));
}

QAction* frmResult::ToolbarButton(const QString& key) const {
    for (QAction* a : tbToolBar_->actions())
        if (a->objectName() == key) return a;
    return nullptr;
}

modCalculation::PageSurface& frmResult::Surface() { return *surface_; }
modCalculation::EigenGrid& frmResult::Grid() { return *grdMatrix_; }

void frmResult::Display(std::int16_t& showProgress) {
    showProgress = 1;
    ++running_;
    struct Done {
        frmResult* w;
        ~Done() {
            if (--w->running_ == 0 && w->unloaded_) w->deleteLater();
        }
    } done{this};
    // A calculation that fails closes the window and shows the design window
    // again; the caller reports the error.
    try {
        ShowCalculation();
    } catch (...) {
        if (waitCursor_) QGuiApplication::restoreOverrideCursor();
        waitCursor_ = false;
        Unload();
        throw;
    }
}

void frmResult::ShowCalculation() {
    const modResult::WindowPlace design = host_.DesignWindowPlace();
    PreparePage(design);
    ScalePage();
    grdMatrix_->setGeometry(surface_->PageToPixel(QRectF(20, 70, 600, 280)));
    LayoutSketch(*surface_, true);
    ShowInPlace(design);
    ShowCalculating();
    calculating_ = true;
    struct Calculating {
        frmResult* w;
        ~Calculating() { w->calculating_ = false; }
    } calculating{this};
    RunCalculation(maxOff_);
    ShowCalculationDone();
    StartNavigation();
}

void frmResult::PreparePage(const modResult::WindowPlace& design) {
    tvwMenu_->hide();
    grdMatrix_->hide();
    // The page is laid out for the client area the window is shown with: a
    // maximised window's is the design window's own.
    if (design.state & kWholeScreenStates)
        setGeometry(design.geometry);
    else
        setGeometry(
            FitToWorkArea(design.geometry, modResult::FrameMargins(design), design.workArea));
    surface_->BackColor(palette().color(QPalette::Button));
    surface_->BackColor(kBackColour);
    surface_->setFont(orbix::GothicFont(12));
    if (layout()) layout()->activate();
    tbToolBar_->setGeometry(0, 0, surface_->width(), orbix::TwipsToPixelsY(kToolbarHeight));
}

void frmResult::ShowInPlace(const modResult::WindowPlace& design) {
    if (const Qt::WindowStates state = design.state & kWholeScreenStates) {
        // Restored, the window stands where the design window would.
        setGeometry(
            FitToWorkArea(design.normalGeometry, modResult::FrameMargins(design), design.workArea));
        setWindowState(state);
    }
    show();
}

void frmResult::ScalePage() {
    // About 640 × 400 page units right of the tree and below the toolbar.
    const double Wt = tvwMenu_->width(), W = surface_->width();
    const double Hb = tbToolBar_->height(), H = surface_->height();
    const double r = std::nearbyint(Wt / (W - Wt) * 640);
    const double u = std::nearbyint(Hb / H * 400);
    surface_->Scale(-r, -u, 640, 400);
}

void frmResult::ShowCalculating() {
    lblMessage_->move(surface_->PageToPixel(QPointF(350, 100)).toPoint());
    lblMessage_->setText(QStringLiteral("計算しています"));
    lblMessage_->adjustSize();
    lblMessage_->show();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    waitCursor_ = true;
    setEnabled(false);
    QCursor::setPos(400, 300);
}

void frmResult::ShowCalculationDone() {
    modCommon::WaitSeconds(2);
    QGuiApplication::restoreOverrideCursor();
    waitCursor_ = false;
    lblMessage_->setText(QStringLiteral("計算が終了しました"));
    lblMessage_->adjustSize();
    PageSurface& s = *surface_;
    s.MoveTo(350, 150);
    s.ForeColor(colour::kRed);
    s.Print("最大の非対角要素 = " + modFormat::Format(maxOff_, "00.000000"), true);
    s.MoveTo(70, 250);
    s.ForeColor(colour::kBlack);
    s.Print(" 永年方程式の固有値と固有ベクトルが得られました", true);
    s.Print("", true);
    s.Print("", true);
    s.CurrentX(70);
    s.ForeColor(colour::kBlue);
    s.Print("すなわち、分子軌道のエネルギー(固有値)と", true);
    s.Print("", true);
    s.CurrentX(70);
    s.Print("その軌道を構成する原子軌道の寄与の割合(固有ベクトル)が得られました", true);
    modCommon::WaitSeconds(2);
}

void frmResult::StartNavigation() {
    surface_->Cls();
    lblMessage_->hide();
    menu_ = std::make_shared<clsMenu>(*this);
    CurrentMenu = menu_;
    tvwMenu_->show();
    BuildSceneTree();
    menu_->Show(2);
    setEnabled(true);
    tvwMenu_->setFocus();
}

void frmResult::BuildSceneTree() {
    changingMenu_ = true;
    tvwMenu_->clear();
    nodes_.fill(nullptr);
    for (int k = 1; k <= 12; ++k) {
        const QStringList text{QString::fromUtf8(kSceneTexts[k])};
        nodes_[k] = kSceneParents[k] ? new QTreeWidgetItem(nodes_[kSceneParents[k]], text)
                                     : new QTreeWidgetItem(tvwMenu_, text);
    }
    nodes_[1]->setExpanded(true);
    changingMenu_ = false;
    ChangeMenu(2);
}

void frmResult::ChangeMenu(std::int16_t scene) {
    if (scene < 1 || scene > 12 || !nodes_[scene]) return;
    changingMenu_ = true;
    tvwMenu_->setCurrentItem(nodes_[scene]);
    changingMenu_ = false;
}

std::int16_t frmResult::SelectedNode() const {
    for (int k = 1; k <= 12; ++k)
        if (nodes_[k] && nodes_[k] == tvwMenu_->currentItem()) return static_cast<std::int16_t>(k);
    return 0;
}

template <class F>
void frmResult::Run(F&& command) {
    ++running_;
    try {
        command();
    } catch (const std::exception& e) {
        ShowRunTimeError(e.what());
    } catch (...) {
        ShowRunTimeError("");
    }
    --running_;
    if (unloaded_ && running_ == 0) deleteLater();
}

void frmResult::ShowRunTimeError(const std::string& what) {
    host_.CommonDialog().Message(QString::fromStdString(what), orbix::kApplicationTitle,
                                 orbix::MsgButtons::kOk, orbix::MsgIcon::kCritical);
}

void frmResult::tbToolBar_ButtonClick(const QString& key) {
    if (!modResult::InputReady) return;
    modResult::InputReady = false;
    ++running_;
    // An error of the command is ignored; the guard is released all the same.
    try {
        if (key == QStringLiteral("デザイン"))
            Unload();
        else if (key == QStringLiteral("戻る") && menu_)
            menu_->BackScene();
        else if (key == QStringLiteral("次へ") && menu_)
            menu_->ForwardScene();
    } catch (...) {
    }
    --running_;
    modResult::InputReady = true;
    if (unloaded_ && running_ == 0) deleteLater();
}

void frmResult::GuardedNext() {
    if (!modResult::InputReady) return;
    modResult::InputReady = false;
    Run([this] {
        if (menu_) menu_->ForwardScene();
    });
    modResult::InputReady = true;
}

void frmResult::tvwMenu_NodeClick(QTreeWidgetItem* node) {
    if (!modResult::InputReady || !node) return;
    std::int16_t index = 0;
    for (int k = 1; k <= 12; ++k)
        if (nodes_[k] == node) index = static_cast<std::int16_t>(k);
    if (!index) return;
    modResult::InputReady = false;
    Run([this, index] {
        ChangeMenu(index);
        if (menu_) menu_->Show(index);
    });
    modResult::InputReady = true;
}

void frmResult::mnuMoveNext_Click() {
    Run([this] {
        if (menu_) menu_->ForwardScene();
    });
}

void frmResult::mnuMoveBack_Click() {
    Run([this] {
        if (menu_) menu_->BackScene();
    });
}

void frmResult::mnuPagePicture_Click() {
    Run([this] { SavePagePicture(); });
}

void frmResult::mnuFileClose_Click() { Unload(); }

void frmResult::RunDocumentCommand(void (DesignHost::*command)()) {
    (host_.*command)();
    // A save may have given the document a new name (Save As, or Save of an
    // untitled document); the window ended by Exit keeps its title.
    if (!unloaded_) modResult::SetWindowTitle(*this);
}

void frmResult::Unload() {
    if (unloaded_) return;
    unloaded_ = true;
    // A page still drawing stops at its next event pass.
    surface_->Abandon();
    hide();
    host_.ShowDesign();
    ReleaseWhenIdle();
}

void frmResult::ReleaseWhenIdle() {
    if (running_ == 0) deleteLater();
}

void frmResult::closeEvent(QCloseEvent* e) {
    // The disabled window keeps its close box on the desktop: it does
    // nothing until the calculation has ended.
    if (calculating_ && !exiting_) {
        e->ignore();
        return;
    }
    e->accept();
    // The close box: as "閉じる(&C)". The platform here does not mark the
    // user's close as spontaneous, so every close but the program's own
    // (CloseForExit) counts as the user's.
    if (!unloaded_ && !exiting_) Unload();
}

bool frmResult::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ContextMenu) {
        const bool keyboard =
            static_cast<QContextMenuEvent*>(event)->reason() == QContextMenuEvent::Keyboard;
        if (keyboard ? KeyboardMenu(watched) : PageContextMenu(watched, event)) return true;
    }
    if (event->type() != QEvent::KeyPress) return QMainWindow::eventFilter(watched, event);
    auto* w = qobject_cast<QWidget*>(watched);
    if (!w || w->window() != this) return QMainWindow::eventFilter(watched, event);
    if (!modResult::InputReady && (w == tvwMenu_ || w == tvwMenu_->viewport()))
        return true;  // discarded
    const auto* k = static_cast<QKeyEvent*>(event);
    if (k->key() == Qt::Key_Return || k->key() == Qt::Key_Enter) {
        GuardedNext();
        return true;
    }
    const bool menuKey = k->key() == Qt::Key_Menu ||
                         (k->key() == Qt::Key_F10 && k->modifiers() == Qt::ShiftModifier);
    if (menuKey && KeyboardMenu(watched)) return true;
    return QMainWindow::eventFilter(watched, event);
}

bool frmResult::KeyboardMenu(QObject* watched) {
    auto* w = qobject_cast<QWidget*>(watched);
    // Only the control with the focus, not the parents a key it ignores
    // passes on to. The platform may follow the menu key with a menu request
    // of its own: the menu opened for the key is answer enough.
    if (!w || w != focusWidget() || unloaded_ || QApplication::activePopupWidget()) return false;
    if (grdMatrix_->isVisible() && (w == grdMatrix_ || grdMatrix_->isAncestorOf(w))) {
        // At the current cell, or at the grid's first cell when that is out of view.
        QWidget* cells = grdMatrix_->viewport();
        const QRect cell = grdMatrix_->visualRect(grdMatrix_->currentIndex());
        const QPoint at = cells->rect().intersects(cell) ? cell.center() : QPoint(0, 0);
        mnuOutput_->popup(cells->mapToGlobal(at));
        return true;
    }
    if (w == surface_ && menu_ && menu_->PageScene() != 0) {
        // At the page's top-left corner, right of the tree and below the toolbar.
        mnuPage_->popup(surface_->mapToGlobal(surface_->PageToPixel(QPointF(0, 0)).toPoint()));
        return true;
    }
    return false;
}
