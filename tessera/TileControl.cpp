// SPDX-License-Identifier: BSD-3-Clause
#include "TileControl.h"

#include <QApplication>
#include <QMouseEvent>
#include <QPainter>
#include <QRegion>

namespace tessera {

namespace {

const QString kDefaultCaption = QStringLiteral("picTile1");
constexpr Color kDefaultForeColor = 0;
constexpr Color kDefaultSelForeColor = 0;

std::int16_t ButtonFlag(Qt::MouseButton button) {
    switch (button) {
        case Qt::LeftButton:
            return 1;
        case Qt::RightButton:
            return 2;
        case Qt::MiddleButton:
            return 4;
        default:
            return 0;
    }
}

std::int16_t ShiftFlags(Qt::KeyboardModifiers mods) {
    std::int16_t flags = 0;
    if (mods & Qt::ShiftModifier) flags |= 1;
    if (mods & Qt::ControlModifier) flags |= 2;
    if (mods & Qt::AltModifier) flags |= 4;
    return flags;
}

// A stored value of the wrong kind is a type mismatch, as the platform's
// own property bag reports it.
template <typename T>
T Stored(const QVariant& value) {
    if (!value.canConvert<T>()) throw TileError(errTypeMismatch, "Type mismatch");
    return value.value<T>();
}

Color StoredColor(const QVariant& value) {
    bool ok = false;
    const qlonglong v = value.toLongLong(&ok);
    if (!ok || v < 0 || v > 0xFFFFFFFFLL) throw TileError(errTypeMismatch, "Type mismatch");
    return static_cast<Color>(v);
}

}  // namespace

TileControl::TileControl(QWidget* parent) : QWidget(parent), lblCaption(new QLabel(this)) {
    lblCaption->setObjectName(QStringLiteral("lblCaption"));
    lblCaption->setAutoFillBackground(false);
    lblCaption->setAlignment(Qt::AlignCenter);
    lblCaption->setText(kDefaultCaption);
    lblCaption->installEventFilter(this);
    Resize(sizeHint().width(), sizeHint().height());
    InitProperties();
    // Like a loaded control, hidden until the host shows it, even on a
    // canvas that is already shown.
    setVisible(false);
}

void TileControl::Resize(int width, int height) {
    resize(width, height);
    // A hidden widget gets its resize event only when shown.
    CentreCaption();
}

QSize TileControl::sizeHint() const { return QSize(49, 49); }

Color TileControl::ForeColor() const {
    if (!designTime_) throw TileError(errGetNotSupportedAtRunTime, "Get not supported at run time");
    return foreColor_;
}

void TileControl::SetForeColor(Color color) {
    foreColor_ = color;
    changed_ = true;
}

Color TileControl::SelForeColor() const {
    if (!designTime_) throw TileError(errGetNotSupportedAtRunTime, "Get not supported at run time");
    return selForeColor_;
}

void TileControl::SetSelForeColor(Color color) {
    selForeColor_ = color;
    changed_ = true;
}

QFont TileControl::Font() const { return lblCaption->font(); }

void TileControl::SetFont(const QFont& font) {
    lblCaption->setFont(font);
    changed_ = true;
    // The label sizes itself to its text, so a new font moves its centre.
    CentreCaption();
}

QString TileControl::Caption() const { return lblCaption->text(); }

void TileControl::SetCaption(const QString& caption) {
    lblCaption->setText(caption);
    changed_ = true;
    CentreCaption();
}

Color TileControl::MaskColor() const { return maskColor_; }

void TileControl::SetMaskColor(Color color) {
    maskColor_ = color;
    changed_ = true;
    ApplyMask();
}

void TileControl::SetState(std::int16_t) {
    if (designTime_) throw TileError(errSetNotPermitted, "Set not permitted");
    throw TileError(errSetNotSupportedAtRunTime, "Set not supported at run time");
}

void TileControl::Selected() {
    state_ = 1;
    SetCaptionColor(selForeColor_);
    shown_ = selPicture_;
    SetMask(selPicture_);
    update();
}

void TileControl::Refresh() {
    state_ = 0;
    SetCaptionColor(foreColor_);
    shown_ = picture_;
    SetMask(picture_);
    update();
}

void TileControl::SetPicture(const QImage& picture) {
    picture_ = picture;
    shown_ = picture;
    SetMask(picture);
    changed_ = true;
    CentreCaption();
    update();
}

void TileControl::SetSelPicture(const QImage& picture) {
    selPicture_ = picture;
    changed_ = true;
}

void TileControl::PopupMenu(QMenu* menu, std::int16_t flags, std::optional<float> x,
                            std::optional<float> y, QAction* defaultMenu) {
    if (menu == nullptr) return;
    QPoint at = QCursor::pos();
    if (x || y) {
        const QPoint local(qRound(x.value_or(0.0f)), qRound(y.value_or(0.0f)));
        at = mapToGlobal(local);
    }
    if (defaultMenu != nullptr) menu->setDefaultAction(defaultMenu);
    const int w = menu->sizeHint().width();
    if (flags & 8)
        at.rx() -= w;
    else if (flags & 4)
        at.rx() -= w / 2;
    menu->popup(at);
}

void TileControl::InitProperties() {
    picture_ = QImage();
    selPicture_ = QImage();
    shown_ = QImage();
    state_ = 0;
    foreColor_ = kDefaultForeColor;
    SetCaptionColor(foreColor_);
    selForeColor_ = kDefaultSelForeColor;
    SetMask(QImage());
    update();
}

QFont TileControl::AmbientFont() const {
    return parentWidget() != nullptr ? parentWidget()->font() : QApplication::font();
}

void TileControl::ReadProperties(const PropertyBag& bag) {
    selForeColor_ = StoredColor(bag.ReadProperty("SelForeColor", kDefaultSelForeColor));
    lblCaption->setFont(Stored<QFont>(bag.ReadProperty("Font", AmbientFont())));
    lblCaption->setText(Stored<QString>(bag.ReadProperty("Caption", kDefaultCaption)));
    maskColor_ = StoredColor(bag.ReadProperty("MaskColor", kButtonFace));
    SetPicture(Stored<QImage>(bag.ReadProperty("Picture", QImage())));
    selPicture_ = Stored<QImage>(bag.ReadProperty("SelPicture", QImage()));
    picture_ = Stored<QImage>(bag.ReadProperty("Picture", QImage()));
    // Only the two looks exist; any other stored number counts as selected.
    state_ = Stored<int>(bag.ReadProperty("State", 0)) != 0 ? 1 : 0;
    foreColor_ = StoredColor(bag.ReadProperty("ForeColor", kDefaultForeColor));
    SetMask(state_ != 0 ? selPicture_ : picture_);
    changed_ = false;
}

void TileControl::WriteProperties(PropertyBag& bag) {
    bag.WriteProperty("SelForeColor", selForeColor_, kDefaultSelForeColor);
    bag.WriteProperty("Font", lblCaption->font(), AmbientFont());
    bag.WriteProperty("Caption", lblCaption->text(), kDefaultCaption);
    bag.WriteProperty("MaskColor", maskColor_, kButtonFace);
    bag.WriteProperty("SelPicture", selPicture_, QImage());
    bag.WriteProperty("Picture", picture_, QImage());
    bag.WriteProperty("State", static_cast<int>(state_), 0);
    bag.WriteProperty("ForeColor", foreColor_, kDefaultForeColor);
    SetMask(state_ != 0 ? selPicture_ : picture_);
    changed_ = false;
}

void TileControl::CentreCaption() {
    lblCaption->adjustSize();
    lblCaption->move((width() - lblCaption->width()) / 2, (height() - lblCaption->height()) / 2);
    ApplyMask();
}

void TileControl::SetCaptionColor(Color color) {
    QPalette pal = lblCaption->palette();
    pal.setColor(QPalette::WindowText, ToQColor(color));
    lblCaption->setPalette(pal);
}

void TileControl::SetMask(const QImage& maskPicture) {
    maskPicture_ = maskPicture;
    ApplyMask();
}

void TileControl::ApplyMask() {
    // Opaque: the mask picture's pixels that are not of the mask colour (nor
    // fully transparent), and the caption's box so the caption stays readable.
    QRegion region;
    if (!maskPicture_.isNull()) {
        const QImage img = maskPicture_.convertToFormat(QImage::Format_ARGB32);
        const QRgb key = ToQColor(maskColor_).rgb() & 0xFFFFFF;
        for (int yy = 0; yy < img.height(); ++yy) {
            const auto* row = reinterpret_cast<const QRgb*>(img.constScanLine(yy));
            int run = -1;
            for (int xx = 0; xx <= img.width(); ++xx) {
                const bool opaque =
                    xx < img.width() && qAlpha(row[xx]) != 0 && (row[xx] & 0xFFFFFF) != key;
                if (opaque && run < 0) run = xx;
                if (!opaque && run >= 0) {
                    region += QRect(run, yy, xx - run, 1);
                    run = -1;
                }
            }
        }
    }
    if (!lblCaption->text().isEmpty()) region += lblCaption->geometry();
    // An empty region would mean "no mask" (all opaque): keep one that lies
    // outside the widget instead.
    if (region.isEmpty()) region = QRegion(-1, -1, 1, 1);
    setMask(region);
}

void TileControl::paintEvent(QPaintEvent*) {
    if (shown_.isNull()) return;
    QPainter p(this);
    p.drawImage(QPoint(0, 0), shown_);
}

void TileControl::resizeEvent(QResizeEvent*) { CentreCaption(); }

void TileControl::RaiseMouseDown(const QMouseEvent& event) {
    const std::int16_t button = ButtonFlag(event.button());
    if (button == 0 || !mouseDown_) return;
    const QPointF at = event.position();
    mouseDown_(button, ShiftFlags(event.modifiers()), static_cast<float>(at.x()),
               static_cast<float>(at.y()));
}

void TileControl::mousePressEvent(QMouseEvent* event) {
    RaiseMouseDown(*event);
    event->accept();
}

bool TileControl::eventFilter(QObject* watched, QEvent* event) {
    if (watched == lblCaption && (event->type() == QEvent::MouseButtonPress ||
                                  event->type() == QEvent::MouseButtonDblClick)) {
        RaiseMouseDown(*static_cast<QMouseEvent*>(event));
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace tessera
