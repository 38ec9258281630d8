// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/platform/FlexGrid.h"

#include <QEvent>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QScrollBar>
#include <QStyle>

#include "orbix/platform/Twips.h"

namespace orbix {

FlexGrid::FlexGrid(QWidget* parent) : QTableWidget(parent), corner_(new QLabel(this)) {
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setCornerButtonEnabled(false);
    setWordWrap(false);
    setTextElideMode(Qt::ElideNone);
    horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    horizontalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setMinimumSectionSize(1);
    verticalHeader()->setDefaultAlignment(Qt::AlignCenter);
    horizontalHeader()->setDefaultAlignment(Qt::AlignCenter);
    corner_->setAlignment(Qt::AlignCenter);
    corner_->setAutoFillBackground(false);
    // Tab moves on to the next control, as in the desktop's grids.
    setTabKeyNavigation(false);
    // The right button anywhere in the grid's box is the grid's: its scroll
    // bars have no menu of their own.
    for (QWidget* bar : {static_cast<QWidget*>(horizontalScrollBar()),
                         static_cast<QWidget*>(verticalScrollBar())}) {
        bar->setContextMenuPolicy(Qt::NoContextMenu);
        bar->installEventFilter(this);
    }
    for (QWidget* w :
         {viewport(), static_cast<QWidget*>(horizontalHeader()->viewport()),
          static_cast<QWidget*>(verticalHeader()->viewport()), static_cast<QWidget*>(corner_)})
        w->installEventFilter(this);
}

void FlexGrid::BackColorBkg(const QColor& c) {
    QPalette pal = palette();
    pal.setColor(QPalette::Base, c);
    setPalette(pal);
}

void FlexGrid::ForeColor(modCalculation::Rgb c) {
    body_ = QColor(c.r, c.g, c.b);
    for (int r = 0; r < rowCount(); ++r)
        for (int k = 0; k < columnCount(); ++k)
            if (auto* it = item(r, k)) it->setForeground(body_);
}

void FlexGrid::Border(bool on) {
    setFrameShape(on ? QFrame::StyledPanel : QFrame::NoFrame);
    PlaceCorner();
}

void FlexGrid::Resize(int rows, int cols) {
    // The height a row keeps when none is set: one line of the grid's font.
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    cells_.assign(rows, std::vector<std::string>(cols));
    clear();
    setRowCount(rows > 1 ? rows - 1 : 0);
    setColumnCount(cols > 1 ? cols - 1 : 0);
    for (int r = 0; r < rowCount(); ++r) {
        setVerticalHeaderItem(r, new QTableWidgetItem(QString()));
        for (int k = 0; k < columnCount(); ++k) {
            auto* it = new QTableWidgetItem(QString());
            it->setForeground(body_);
            it->setBackground(Qt::white);
            it->setTextAlignment(Qt::AlignRight | Qt::AlignVCenter);
            setItem(r, k, it);
        }
    }
    for (int k = 0; k < columnCount(); ++k)
        setHorizontalHeaderItem(k, new QTableWidgetItem(QString()));
    corner_->clear();
    PlaceCorner();
}

void FlexGrid::ColWidth(int col, int twips) {
    const int px = TwipsToPixelsX(twips);
    if (col == 0) {
        verticalHeader()->setFixedWidth(px);
        for (int r = 0; r < rowCount(); ++r) FitHeaderText(verticalHeaderItem(r));
    } else {
        setColumnWidth(col - 1, px);
    }
    PlaceCorner();
}

void FlexGrid::FitHeaderText(QTableWidgetItem* item) {
    // A row title wider than its fixed column is set in a smaller size
    // rather than clipped.
    if (!item) return;
    QFont font = verticalHeader()->font();
    item->setFont(font);
    const int room = verticalHeader()->width() -
                     2 * verticalHeader()->style()->pixelMetric(QStyle::PM_HeaderMargin) - 2;
    if (room <= 0 || item->text().isEmpty()) return;
    for (qreal size = font.pointSizeF(); size > 5;) {
        if (QFontMetrics(font).horizontalAdvance(item->text()) <= room) break;
        size -= 0.5;
        font.setPointSizeF(size);
        item->setFont(font);
    }
}

void FlexGrid::RowHeight(int row, int twips) {
    const int px = TwipsToPixelsY(twips);
    if (row == 0)
        horizontalHeader()->setFixedHeight(px);
    else
        setRowHeight(row - 1, px);
    PlaceCorner();
}

QTableWidgetItem* FlexGrid::Item(int row, int col) {
    if (row == 0 && col == 0) return nullptr;
    if (row == 0) return horizontalHeaderItem(col - 1);
    if (col == 0) return verticalHeaderItem(row - 1);
    return item(row - 1, col - 1);
}

void FlexGrid::Text(int row, int col, const std::string& text) {
    cells_.at(row).at(col) = text;
    // The value texts are padded to 12 characters; the blanks would only push
    // the digits out of the cell, so the cell shows the text without them.
    const QString s = QString::fromStdString(text).trimmed();
    if (row == 0 && col == 0) {
        corner_->setText(s);
        return;
    }
    if (auto* it = Item(row, col)) {
        it->setText(s);
        if (col == 0) FitHeaderText(it);
    }
}

void FlexGrid::Centre(int row, int col) {
    if (auto* it = Item(row, col)) it->setTextAlignment(Qt::AlignCenter);
}

std::string FlexGrid::Text(int row, int col) const { return cells_.at(row).at(col); }

void FlexGrid::PlaceCorner() {
    const int f = frameWidth();
    corner_->setGeometry(f, f, verticalHeader()->width(), horizontalHeader()->height());
    corner_->raise();
}

void FlexGrid::resizeEvent(QResizeEvent* e) {
    QTableWidget::resizeEvent(e);
    PlaceCorner();
}

bool FlexGrid::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::MouseButtonRelease) {
        auto* me = static_cast<QMouseEvent*>(event);
        if (me->button() == Qt::RightButton)
            emit rightButtonReleased(me->globalPosition().toPoint());
    }
    return QTableWidget::eventFilter(watched, event);
}

}  // namespace orbix
