// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/design/AtomPalette.h"

#include <QAbstractListModel>
#include <QPainter>
#include <QResizeEvent>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionToolButton>
#include <QStyledItemDelegate>
#include <QTextDocument>
#include <cmath>

namespace {

// A caption as a tool tip: plain text, never markup, that wraps within the
// screen; a very long word is given invisible break points.
QString ToolTipText(const QString& caption) {
    constexpr int kLongWord = 40;
    QString text;
    text.reserve(caption.size() + caption.size() / kLongWord);
    int run = 0;
    for (const QChar c : caption) {
        run = c.isSpace() ? 0 : run + 1;
        if (run > kLongWord && !c.isLowSurrogate() && !c.isMark()) {
            text += QChar(0x200B);  // zero-width space
            run = 1;
        }
        text += c;
    }
    return Qt::convertFromPlainText(text);
}

}  // namespace

// The captions and pictures, read by the view only for the buttons in view.
class AtomPaletteModel : public QAbstractListModel {
  public:
    using QAbstractListModel::QAbstractListModel;

    void Reset(const QStringList& captions, const std::function<QIcon(int)>& picture) {
        beginResetModel();
        captions_ = captions;
        picture_ = picture;
        endResetModel();
    }
    const QStringList& Captions() const { return captions_; }

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(captions_.size());
    }
    QVariant data(const QModelIndex& index, int role) const override {
        if (!index.isValid() || index.row() >= captions_.size()) return {};
        switch (role) {
            case Qt::DisplayRole:
                return captions_[index.row()];
            case Qt::DecorationRole:
                return picture_ ? picture_(index.row() + 1) : QIcon();
            case Qt::ToolTipRole:
                return ToolTipText(captions_[index.row()]);
            default:
                return {};
        }
    }

  private:
    QStringList captions_;
    std::function<QIcon(int)> picture_;
};

// Each row drawn as the palette's tool button: picture, caption beside it,
// pressed when it is the current element.
class AtomPalette::Delegate : public QStyledItemDelegate {
  public:
    explicit Delegate(AtomPalette* palette) : QStyledItemDelegate(palette), palette_(palette) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& item,
               const QModelIndex& index) const override {
        QStyleOptionToolButton opt;
        opt.initFrom(palette_);
        opt.rect = item.rect;
        opt.state = QStyle::State_Enabled | QStyle::State_AutoRaise;
        if (item.state & QStyle::State_MouseOver) opt.state |= QStyle::State_MouseOver;
        if (index.row() + 1 == palette_->pressed_)
            opt.state |= QStyle::State_On | QStyle::State_Sunken;
        else
            opt.state |= QStyle::State_Raised;
        opt.subControls = QStyle::SC_ToolButton;
        opt.toolButtonStyle = Qt::ToolButtonTextBesideIcon;
        opt.icon = index.data(Qt::DecorationRole).value<QIcon>();
        opt.iconSize = palette_->iconSize();
        opt.font = palette_->font();
        // "&" would mark a shortcut letter; the caption is shown as written.
        opt.text = palette_->ShownCaption(index.row() + 1).replace('&', QStringLiteral("&&"));
        palette_->style()->drawComplexControl(QStyle::CC_ToolButton, &opt, painter, palette_);
    }
    QSize sizeHint(const QStyleOptionViewItem&, const QModelIndex&) const override {
        return palette_->button_;
    }

  private:
    AtomPalette* palette_;
};

AtomPalette::AtomPalette(QWidget* parent) : QListView(parent), model_(new AtomPaletteModel(this)) {
    setModel(model_);
    setItemDelegate(new Delegate(this));
    setUniformItemSizes(true);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setFocusPolicy(Qt::NoFocus);
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setMouseTracking(true);
    viewport()->setAttribute(Qt::WA_Hover);
    // The toolbar's own background shows between the buttons.
    setAutoFillBackground(false);
    viewport()->setAutoFillBackground(false);
    setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Expanding);
    connect(this, &QAbstractItemView::clicked, this, [this](const QModelIndex& index) {
        if (index.isValid() && onClick) onClick(index.row() + 1);
    });
}

AtomPalette::~AtomPalette() = default;

void AtomPalette::Build(const QStringList& captions, const std::function<QIcon(int)>& picture,
                        int widthLimit) {
    // A tool button's size for its contents, as the toolbar's buttons have it.
    const QFontMetrics fm(font());
    const int padding = 4 + 2 * fm.horizontalAdvance(QLatin1Char(' '));
    auto buttonFor = [&](int textWidth) {
        QStyleOptionToolButton opt;
        opt.initFrom(this);
        opt.toolButtonStyle = Qt::ToolButtonTextBesideIcon;
        opt.iconSize = iconSize();
        const QSize contents(iconSize().width() + padding + textWidth,
                             std::max(iconSize().height(), fm.height()));
        return style()->sizeFromContents(QStyle::CT_ToolButton, &opt, contents, this);
    };
    const int chrome = buttonFor(0).width();
    const int textLimit = std::max(fm.averageCharWidth() * 2, widthLimit - chrome);
    // The widest caption sets the width, up to the limit; once a caption
    // reaches it, the others need not be measured.
    const QFontMetricsF exact(font());
    int text = 0;
    for (const QString& caption : captions) {
        const int need = static_cast<int>(std::ceil(exact.horizontalAdvance(caption)));
        text = std::max(text, std::min(need, textLimit));
        if (text == textLimit) break;
    }
    button_ = buttonFor(text);
    textRoom_ = text;
    model_->Reset(captions, picture);
    pressed_ = 0;
    FitWidth();
    updateGeometry();
}

int AtomPalette::Count() const { return model_->rowCount(); }

QString AtomPalette::Caption(int index) const {
    return index >= 1 && index <= Count() ? model_->Captions()[index - 1] : QString();
}

QString AtomPalette::ShownCaption(int index) const {
    return fontMetrics().elidedText(Caption(index), Qt::ElideRight, textRoom_);
}

void AtomPalette::Press(int index) {
    if (index == pressed_) return;
    pressed_ = index;
    viewport()->update();
}

QRect AtomPalette::ButtonRect(int index) {
    const QModelIndex i = model_->index(index - 1);
    scrollTo(i);
    return visualRect(i);
}

QSize AtomPalette::sizeHint() const {
    return QSize(width(), button_.height() * std::min(Count(), 12));
}

QSize AtomPalette::minimumSizeHint() const { return QSize(width(), button_.height()); }

void AtomPalette::resizeEvent(QResizeEvent* e) {
    QListView::resizeEvent(e);
    FitWidth();
}

void AtomPalette::FitWidth() {
    // The scroll bar takes its own room: the buttons keep their width.
    const bool scrolls = static_cast<qint64>(button_.height()) * Count() > height();
    const int w = button_.width() + (scrolls ? style()->pixelMetric(QStyle::PM_ScrollBarExtent,
                                                                    nullptr, verticalScrollBar())
                                             : 0);
    if (w != width() || minimumWidth() != w) setFixedWidth(w);
}
