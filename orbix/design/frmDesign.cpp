// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/design/frmDesign.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QDesktopServices>
#include <QMenuBar>
#include <QPainter>
#include <QScreen>
#include <QStyle>
#include <QToolBar>
#include <QToolButton>
#include <QUrl>
#include <cmath>

#include "orbix/design/AtomPalette.h"
#include "orbix/design/AtomPictures.h"
#include "orbix/design/DesignCanvas.h"
#include "orbix/design/StartUp.h"
#include "orbix/model/modOrbix.h"
#include "orbix/platform/Dialogs.h"
#include "orbix/platform/Fonts.h"
#include "orbix/platform/Twips.h"
#include "orbix/result/InputReady.h"
#include "orbix/result/WindowTitle.h"

namespace {

constexpr double kMarkerTwips = 405;
constexpr double kTileTwips = 735;
// The canvas must hold the whole lattice (the last site stands at 806, 480).
constexpr int kMinCanvasWidth = 840;
constexpr int kMinCanvasHeight = 525;
// The palette's least width: a picture and a short caption.
constexpr double kLeastPaletteTwips = 1500;

QString Q(const std::string& s) { return QString::fromStdString(s); }

// The standard icons come in different sizes; each is centred on a picture of
// one size, so that all of them stand on one line.
QIcon ToolbarIcon(const QIcon& icon) {
    const QSize size(24, 24);
    QPixmap picture(size);
    picture.fill(Qt::transparent);
    const QPixmap own = icon.pixmap(size);
    QPainter p(&picture);
    const QSizeF ownSize = own.deviceIndependentSize();
    p.drawPixmap(
        QPointF((size.width() - ownSize.width()) / 2, (size.height() - ownSize.height()) / 2), own);
    p.end();
    return QIcon(picture);
}

// Site markers: invisible, clickable squares centred on the sites.
class SiteMarker : public QWidget {
  public:
    SiteMarker(std::int16_t site, frmDesign* form, QWidget* parent)
        : QWidget(parent), site_(site), form_(form) {
        setAttribute(Qt::WA_NoSystemBackground);
        setCursor(Qt::PointingHandCursor);
    }

  protected:
    void mousePressEvent(QMouseEvent* e) override { form_->imgAtom_MouseDown(site_, e->button()); }

  private:
    std::int16_t site_;
    frmDesign* form_;
};

}  // namespace

frmDesign::frmDesign(tessera::TileFactory& tiles, orbix::Dialogs& dialogs, QWidget* parent)
    : QMainWindow(parent), factory_(tiles), dialogs_(dialogs) {
    setObjectName("frmDesign");
    // The toolbars are always shown: no menu offering to hide them.
    setContextMenuPolicy(Qt::NoContextMenu);
    BuildMenus();
    BuildToolbar();

    palette_ = new QToolBar(QStringLiteral("原子"), this);
    palette_->setObjectName("tbrAtomBox");
    palette_->setMovable(false);
    palette_->setIconSize(QSize(36, 22));
    palette_->setFont(orbix::GothicFont(9));
    atomPalette_ = new AtomPalette(palette_);
    atomPalette_->setObjectName("tbrAtomBoxButtons");
    atomPalette_->setIconSize(palette_->iconSize());
    atomPalette_->onClick = [this](int n) { tbrAtomBox_ButtonClick(n); };
    palette_->addWidget(atomPalette_);
    addToolBar(Qt::LeftToolBarArea, palette_);

    auto* holder = new QWidget(this);
    canvas_ = new DesignCanvas(holder);
    canvas_->setObjectName("picDesign");
    setCentralWidget(holder);
    canvas_->onPress = [this](Qt::MouseButton b, Qt::KeyboardModifiers, QPointF p) {
        if (b == Qt::LeftButton) BandDown(p);
    };
    canvas_->onMove = [this](Qt::MouseButton, Qt::KeyboardModifiers, QPointF p) { BandMove(p); };
    canvas_->onRelease = [this](Qt::MouseButton, Qt::KeyboardModifiers, QPointF p) { BandUp(p); };

    markerSize_ = kMarkerTwips / orbix::TwipsPerPixelX();
    tileTemplate_ = factory_.CreateTile(tessera::kTileKey, canvas_);
    tileTemplate_->SetVisible(false);
    tileTemplate_->Resize(orbix::TwipsToPixelsX(kTileTwips), orbix::TwipsToPixelsY(kTileTwips));
    tileTemplate_->SetSelForeColor(tessera::RGB(255, 255, 255));
    tileTemplate_->SetMaskColor(tessera::RGB(255, 252, 255));
    tileTemplate_->SetFont(orbix::GothicFont(9));
    tileTemplate_->SetForeColor(0);

    // The canvas follows the room it has; the window frame, known only once
    // the window manager has framed the window, is taken off later.
    holder->installEventFilter(this);
    resize(OuterSize());
    if (auto* screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());

    modOrbix::ComputeSites();
    if (!modOrbix::CurrentMolecule) mnuFileNew_Click();
    modResult::InputReady = true;
}

frmDesign::~frmDesign() = default;

void frmDesign::BuildMenus() {
    auto item = [this](QMenu* menu, const char* name, const QString& caption, QKeySequence key,
                       void (frmDesign::*slot)()) {
        QAction* a = menu->addAction(caption);
        a->setObjectName(name);
        if (!key.isEmpty()) a->setShortcut(key);
        connect(a, &QAction::triggered, this, slot);
        return a;
    };
    QMenu* file = menuBar()->addMenu(QStringLiteral("ﾌｧｲﾙ(&F)"));
    file->setObjectName("mnuFile");
    item(file, "mnuFileNew", QStringLiteral("新規作成(&N)"), QKeySequence("Ctrl+N"),
         &frmDesign::mnuFileNew_Click);
    item(file, "mnuFileOpen", QStringLiteral("開く(&O)..."), QKeySequence("Ctrl+O"),
         &frmDesign::mnuFileOpen_Click);
    file->addSeparator();
    item(file, "mnuFileSave", QStringLiteral("上書き保存(&S)"), QKeySequence("Ctrl+S"),
         &frmDesign::mnuFileSave_Click);
    item(file, "mnuFileSaveAs", QStringLiteral("名前を付けて保存(&A)..."), {},
         &frmDesign::mnuFileSaveAs_Click);
    file->addSeparator();
    item(file, "mnuFileTemp", QStringLiteral("ﾃﾝﾌﾟﾚｰﾄ(&T)"), QKeySequence("Ctrl+T"),
         &frmDesign::mnuFileTemp_Click);
    file->addSeparator();
    item(file, "mnuFileExit", QStringLiteral("終了(&X)"), {}, &frmDesign::mnuFileExit_Click);

    QMenu* edit = menuBar()->addMenu(QStringLiteral("編集(&E)"));
    edit->setObjectName("mnuEdit");
    item(edit, "mnuEditSelAll", QStringLiteral("全て選択"), QKeySequence("Ctrl+A"),
         &frmDesign::SelAll);
    item(edit, "mnuEditSelCancel", QStringLiteral("選択の解除"), QKeySequence("Ctrl+D"),
         &frmDesign::SelClear);
    edit->addSeparator();
    QAction* connectAction = edit->addAction(QStringLiteral("結合"));
    connectAction->setObjectName("mnuEditConnect");
    connectAction->setShortcut(QKeySequence("Ctrl+K"));
    connect(connectAction, &QAction::triggered, this,
            [this] { ConnectAtom(drawing_.colSelected()); });
    edit->addSeparator();
    QAction* delAtom = edit->addAction(QStringLiteral("原子の削除"));
    delAtom->setObjectName("mnuEditDelAtom");
    delAtom->setShortcut(QKeySequence(Qt::Key_Delete));
    connect(delAtom, &QAction::triggered, this, [this] { DeleteAtom(false); });
    QAction* delBond = edit->addAction(QStringLiteral("結合の削除"));
    delBond->setObjectName("mnuEditDelConnect");
    delBond->setShortcut(QKeySequence(Qt::SHIFT | Qt::Key_Delete));
    connect(delBond, &QAction::triggered, this, [this] { DeleteConnect(false); });

    QMenu* move = menuBar()->addMenu(QStringLiteral("移動(&M)"));
    move->setObjectName("mnuMove");
    item(move, "mnuMoveCalc", QStringLiteral("計算実行"), QKeySequence(Qt::Key_F5),
         &frmDesign::mnuMoveCalc_Click);

    QAction* info = menuBar()->addAction(QStringLiteral("使用法"));
    info->setObjectName("frmInfo");
    connect(info, &QAction::triggered, this, &frmDesign::frmInfo_Click);
    QAction* html = menuBar()->addAction(QStringLiteral("使用法（ＨＴＭＬ）"));
    html->setObjectName("html");
    connect(html, &QAction::triggered, this, &frmDesign::html_Click);
}

void frmDesign::BuildToolbar() {
    toolbar_ = addToolBar(QStringLiteral("ツールバー"));
    toolbar_->setObjectName("tbToolBar");
    toolbar_->setMovable(false);
    toolbar_->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    toolbar_->setIconSize(QSize(24, 24));
    struct Button {
        const char* caption;
        const char* key;
        const char* tip;
        QStyle::StandardPixmap icon;
    };
    const Button buttons[] = {
        {"新規", "新規作成", "新規作成", QStyle::SP_FileIcon},
        {"開く", "開く", "開く", QStyle::SP_DialogOpenButton},
        {"保存", "上書き保存", "上書き保存", QStyle::SP_DialogSaveButton},
        {nullptr, nullptr, nullptr, QStyle::SP_CustomBase},
        {"原子削除", "原子削除", "進む", QStyle::SP_TrashIcon},
        {"結合", "結合", "", QStyle::SP_CommandLink},
        {"結合削除", "結合削除", "", QStyle::SP_DialogDiscardButton},
        {nullptr, nullptr, nullptr, QStyle::SP_CustomBase},
        {"計算実行", "計算実行", "", QStyle::SP_MediaPlay},
    };
    for (const Button& b : buttons) {
        if (!b.caption) {
            toolbar_->addSeparator();
            continue;
        }
        QAction* a = toolbar_->addAction(ToolbarIcon(style()->standardIcon(b.icon)),
                                         QString::fromUtf8(b.caption));
        a->setObjectName(QString::fromUtf8(b.key));
        a->setToolTip(QString::fromUtf8(b.tip));
        // An empty tip means none; Qt would show the caption instead.
        if (!*b.tip) toolbar_->widgetForAction(a)->installEventFilter(this);
        const QString key = QString::fromUtf8(b.key);
        connect(a, &QAction::triggered, this, [this, key] { tbToolBar_ButtonClick(key); });
    }
}

void frmDesign::tbToolBar_ButtonClick(const QString& key) {
    // An error a command does not handle itself leaves the window as it was.
    try {
        if (key == QStringLiteral("新規作成"))
            mnuFileNew_Click();
        else if (key == QStringLiteral("開く"))
            mnuFileOpen_Click();
        else if (key == QStringLiteral("上書き保存"))
            mnuFileSave_Click();
        else if (key == QStringLiteral("原子削除"))
            DeleteAtom(false);
        else if (key == QStringLiteral("結合"))
            ConnectAtom(drawing_.colSelected());
        else if (key == QStringLiteral("結合削除"))
            DeleteConnect(false);
        else if (key == QStringLiteral("計算実行"))
            mnuMoveCalc_Click();
    } catch (const std::exception&) {
    }
}

void frmDesign::BuildPalette() {
    QStringList captions;
    captions.reserve(modOrbix::colAtoms.Count());
    for (const auto& atom : modOrbix::colAtoms) captions << Q(atom->Caption());
    // Nine pictures serve every element.
    QList<QIcon> pictures;
    for (int p = 1; p <= 9; ++p)
        pictures << QIcon(QPixmap::fromImage(AtomPictures::PalettePicture(p)));
    auto picture = [pictures](int n) {
        return pictures[AtomPictures::PaletteImage(static_cast<std::int16_t>(n)) - 1];
    };
    // The palette takes at most a quarter of the window, and never so much
    // that the window with the smallest canvas would not fit on the screen
    // (on a screen too small for that, it keeps room for a short caption).
    const int outer = OuterSize().width();
    const int reserve = style()->pixelMetric(QStyle::PM_ScrollBarExtent) +
                        2 * (style()->pixelMetric(QStyle::PM_ToolBarFrameWidth) +
                             style()->pixelMetric(QStyle::PM_ToolBarItemMargin));
    const int least = orbix::TwipsToPixelsX(kLeastPaletteTwips);
    atomPalette_->Build(captions, picture,
                        std::min(outer / 4, std::max(least, outer - kMinCanvasWidth - reserve)));
}

void frmDesign::PressPaletteButton(int index) {
    // The current element is the one pressed button.
    atomPalette_->Press(index);
}

void frmDesign::tbrAtomBox_ButtonClick(int index) {
    PressPaletteButton(index);
    currentElement_ = static_cast<std::int16_t>(index);
}

QPointF frmDesign::MarkerTopLeft(std::int16_t site) const {
    return QPointF(modOrbix::SiteX[site] - markerSize_ / 2,
                   modOrbix::SiteY[site] - markerSize_ / 2);
}

QSize frmDesign::CanvasSize(QSize room) {
    // The largest 640 : 400 rectangle in the room right of the palette and
    // below the toolbar, but never too small for the lattice.
    room = room.expandedTo(QSize(kMinCanvasWidth, kMinCanvasHeight));
    int w, h;
    if (room.height() <= std::nearbyint(room.width() * 400.0 / 640)) {
        h = room.height();
        w = static_cast<int>(std::nearbyint(h * 640.0 / 400));
    } else {
        w = room.width();
        h = static_cast<int>(std::nearbyint(w * 400.0 / 640));
    }
    return QSize(std::max(w, kMinCanvasWidth), std::max(h, kMinCanvasHeight));
}

QSize frmDesign::OuterSize() {
    // The screen less 600 twips each way, frame and title bar included.
    const QScreen* screen = QGuiApplication::primaryScreen();
    const QSize avail = screen ? screen->availableGeometry().size() : QSize(1024, 768);
    return avail - QSize(orbix::TwipsToPixelsX(600), orbix::TwipsToPixelsY(600));
}

void frmDesign::FitCanvas() {
    canvas_->setGeometry(QRect(QPoint(0, 0), CanvasSize(centralWidget()->size())));
}

void frmDesign::FitFrame() {
    // Once the window manager has framed the window, the outer size and the
    // centring take the frame into account.
    if (frameFitted_ || !isVisible() || isMaximized() || isFullScreen()) return;
    const QMargins frame(geometry().left() - frameGeometry().left(),
                         geometry().top() - frameGeometry().top(),
                         frameGeometry().right() - geometry().right(),
                         frameGeometry().bottom() - geometry().bottom());
    if (frame.isNull()) return;
    frameFitted_ = true;
    const QSize outer = OuterSize();
    resize(outer - QSize(frame.left() + frame.right(), frame.top() + frame.bottom()));
    if (const QScreen* screen = this->screen()) {
        QRect r(QPoint(0, 0), outer);
        r.moveCenter(screen->availableGeometry().center());
        move(r.topLeft());
    }
}

bool frmDesign::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ToolTip && watched != centralWidget()) return true;
    if (watched == centralWidget() && event->type() == QEvent::Resize && canvasLaidOut_)
        FitCanvas();
    return QMainWindow::eventFilter(watched, event);
}

void frmDesign::moveEvent(QMoveEvent* e) {
    QMainWindow::moveEvent(e);
    FitFrame();
}

void frmDesign::resizeEvent(QResizeEvent* e) {
    QMainWindow::resizeEvent(e);
    FitFrame();
}

void frmDesign::LayOutCanvas() {
    FitCanvas();
    centralWidget()->setMinimumSize(kMinCanvasWidth, kMinCanvasHeight);

    const int m = static_cast<int>(std::nearbyint(markerSize_));
    for (std::int16_t k = 1; k <= modOrbix::kSiteCount; ++k) {
        auto* marker = new SiteMarker(k, this, canvas_);
        const QPointF tl = MarkerTopLeft(k);
        marker->setGeometry(static_cast<int>(std::nearbyint(tl.x())),
                            static_cast<int>(std::nearbyint(tl.y())), m, m);
        marker->show();
        markers_[k] = marker;
    }
    modOrbix::BuildSiteLinks();
    QVector<QLine> lattice;
    auto centre = [](int s) { return QPoint(modOrbix::SiteX[s], modOrbix::SiteY[s]); };
    for (int r = 0; r < 4; ++r)
        for (int j = 1; j <= 8; ++j) lattice << QLine(centre(9 * r + j), centre(9 * r + j + 1));
    for (int s = 2; s <= 26; s += 2) lattice << QLine(centre(s), centre(s + 9));
    canvas_->SetLattice(lattice);
    canvasLaidOut_ = true;
}

void frmDesign::ClearCanvas() {
    for (auto* tile : tiles_) delete tile;
    tiles_.clear();
    canvas_->ClearLines();
    atomPalette_->Press(0);
    canvas_->ClearBand();
}

// ---- DrawingView ----

void frmDesign::CreateTile(std::int16_t site, std::int16_t element) {
    tessera::picTile* tile = factory_.CreateTile(tessera::kTileKey, canvas_);
    tessera::PropertyBag bag;
    tileTemplate_->WriteProperties(bag);
    tile->ReadProperties(bag);
    tile->Resize(tileTemplate_->Width(), tileTemplate_->Height());
    tile->SetCaption(Q(modOrbix::colAtoms.Item(element)->Caption()));
    const int picture = AtomPictures::PaletteImage(element);
    const QColor caption = AtomPictures::CaptionColour(picture);
    tile->SetForeColor(tessera::RGB(caption.red(), caption.green(), caption.blue()));
    tile->SetPicture(AtomPictures::TilePicture(picture));
    tile->SetSelPicture(AtomPictures::TilePicture(10));
    const QPointF tl = MarkerTopLeft(site) + QPointF(tileOffset_, tileOffset_);
    tile->Move(static_cast<int>(std::nearbyint(tl.x())), static_cast<int>(std::nearbyint(tl.y())));
    tile->SetVisible(true);
    tile->Widget()->raise();
    tile->SetTag(QString::number(element));
    tile->SetMouseDownHandler([this, site](std::int16_t button, std::int16_t shift, float, float) {
        tileAtom_MouseDown(site, button, shift);
    });
    tiles_[site] = tile;
}

void frmDesign::RemoveTile(std::int16_t site) { delete tiles_.take(site); }

std::int16_t frmDesign::TileState(std::int16_t site) const { return tiles_.value(site)->State(); }

void frmDesign::SelectTile(std::int16_t site) { tiles_.value(site)->Selected(); }

void frmDesign::RefreshTile(std::int16_t site) { tiles_.value(site)->Refresh(); }

void frmDesign::DrawBondLine(std::int16_t a, std::int16_t b) {
    const double h = std::nearbyint(markerSize_ / 2);
    if (b < a) std::swap(a, b);
    const QPointF pa = MarkerTopLeft(a) + QPointF(h, h), pb = MarkerTopLeft(b) + QPointF(h, h);
    canvas_->AddLine(canvas_->HighestLineIndex() + 1, QLineF(pa, pb),
                     QString("%1,%2").arg(a).arg(b));
}

void frmDesign::RemoveBondLine(const std::string& tag) {
    const QString t = Q(tag);
    for (auto it = canvas_->Lines().begin(); it != canvas_->Lines().end(); ++it)
        if (it.value().second == t) {
            canvas_->RemoveLine(it.key());
            return;
        }
}

void frmDesign::ProcessEvents() {
    canvas_->repaint();
    QCoreApplication::processEvents();
}

// ---- Editing ----

void frmDesign::SelClear() { drawing_.SelClear(); }
void frmDesign::SelAll() { drawing_.SelAll(); }
void frmDesign::DeleteAtom(bool all) { drawing_.DeleteAtom(all); }
void frmDesign::ConnectAtom(const std::vector<std::int16_t>& sites) { drawing_.ConnectAtom(sites); }
void frmDesign::DeleteConnect(bool touching) { drawing_.DeleteConnect(touching); }

void frmDesign::imgAtom_MouseDown(std::int16_t site, Qt::MouseButton button) {
    if (!drawing_.colSites().empty()) SelClear();
    if (button == Qt::LeftButton) drawing_.PlaceAtom(site, currentElement_);
}

void frmDesign::tileAtom_MouseDown(std::int16_t site, std::int16_t button, std::int16_t shift) {
    if (button != 1) return;
    if (!(shift & 2)) SelClear();
    drawing_.Select(site);
}

void frmDesign::BandDown(QPointF p) {
    SelClear();
    bandActive_ = true;
    bandStart_ = bandEnd_ = p;
    canvas_->SetBand(QRectF(bandStart_, bandEnd_));
}

void frmDesign::BandMove(QPointF p) {
    if (!bandActive_) return;
    bandEnd_ = p;
    canvas_->SetBand(QRectF(bandStart_, bandEnd_));
    for (std::int16_t s : std::vector<std::int16_t>(drawing_.colSites())) {
        if (TileInBand(s))
            drawing_.Select(s);
        else
            drawing_.Deselect(s);
    }
}

void frmDesign::BandUp(QPointF) {
    if (!bandActive_) return;
    canvas_->ClearBand();
    bandActive_ = false;
}

bool frmDesign::TileInBand(std::int16_t site) const {
    const tessera::picTile* t = tiles_.value(site);
    if (!t) return false;
    const double L = t->Left(), T = t->Top(), S = tileSize_;
    return std::min(bandStart_.x(), bandEnd_.x()) < L + S &&
           std::max(bandStart_.x(), bandEnd_.x()) > L &&
           std::min(bandStart_.y(), bandEnd_.y()) < T + S &&
           std::max(bandStart_.y(), bandEnd_.y()) > T;
}

modResult::WindowPlace frmDesign::DesignWindowPlace() const {
    const QScreen* s = screen();
    return {frameGeometry(), geometry(), normalGeometry(), windowState(),
            s ? s->availableGeometry() : QRect()};
}

void frmDesign::ShowDesign() {
    show();
    raise();
    activateWindow();
}

void frmDesign::html_Click() {
    const QString page = Q(modOrbix::ProgramFolder) + "readme.html";
    if (!QDesktopServices::openUrl(QUrl::fromLocalFile(page)))
        dialogs_.Message(
            QStringLiteral("使用法のページを開くことができませんでした。") + "\r\n" + page,
            orbix::kApplicationTitle, orbix::MsgButtons::kOk, orbix::MsgIcon::kExclamation);
}

void frmDesign::closeEvent(QCloseEvent* e) {
    if (closingForExit_) {
        e->accept();
        return;
    }
    // The close box asks about unsaved changes like Exit; Cancel keeps the
    // window and the drawing.
    if (!AskAndSave(false)) {
        e->ignore();
        return;
    }
    e->accept();
    closingForExit_ = true;
    modDesign::UnloadAll(0);
}
