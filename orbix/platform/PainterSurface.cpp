// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/platform/PainterSurface.h"

#include <QFontInfo>
#include <QFontMetricsF>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <numeric>

#include "orbix/platform/Fonts.h"

namespace orbix {

namespace {

QColor ToQColor(modCalculation::Rgb c) { return QColor(c.r, c.g, c.b); }

QString FromUtf8(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

// The grid's look: grey header cells, white body cells, grey rules.
const QColor kHeaderBack(240, 240, 240);
const QColor kBodyBack(Qt::white);
const QColor kRule(128, 128, 128);
const QColor kHeaderText(Qt::black);
constexpr double kGridFontPoints = 9.75;
constexpr double kCellPadding = 3;

}  // namespace

QFont PageFont(double points, bool bold) {
    QFont f = GothicFont(points, bold);
    f.setPixelSize(static_cast<int>(std::lround(points * 96 / 72)));
    // A picture names the font that stands in, which a viewer can find.
    f.setFamily(QFontInfo(f).family());
    return f;
}

PainterSurface::PainterSurface(QPainter& painter, const QColor& back)
    : p_(painter), back_(back), font_(PageFont(12)) {}

void PainterSurface::Clear() {
    EndPoints();
    p_.fillRect(QRectF(0, 0, kPageWidth, kPageHeight), back_);
    gridHidden_ = false;
}

void PainterSurface::DrawText(float x, float y, std::string_view text, modCalculation::Rgb c) {
    EndPoints();
    const QFontMetricsF fm(font_);
    p_.setFont(font_);
    p_.setPen(ToQColor(c));
    p_.drawText(QPointF(x, y + fm.ascent()), FromUtf8(text));
}

void PainterSurface::Line(float x1, float y1, float x2, float y2, modCalculation::Rgb c) {
    EndPoints();
    p_.setPen(QPen(ToQColor(c), 1));
    p_.drawLine(QPointF(x1, y1), QPointF(x2, y2));
}

void PainterSurface::Circle(float x, float y, float radius, modCalculation::Rgb c) {
    EndPoints();
    p_.setPen(QPen(ToQColor(c), 1));
    if (FillSolid())
        p_.setBrush(ToQColor(FillColor()));
    else
        p_.setBrush(Qt::NoBrush);
    p_.drawEllipse(QPointF(x, y), radius, radius);
    p_.setBrush(Qt::NoBrush);
}

void PainterSurface::PSet(float x, float y, modCalculation::Rgb c) {
    // One screen pixel: the unit square below and right of the point. The
    // lobes set many points twice or more; a point already showing this
    // colour is left out, and runs of one colour share the painter's state,
    // which keeps a vector picture small.
    const auto px = static_cast<std::int32_t>(std::floor(x));
    const auto py = static_cast<std::int32_t>(std::floor(y));
    const std::uint64_t key = (static_cast<std::uint64_t>(static_cast<std::uint32_t>(px)) << 32) |
                              static_cast<std::uint32_t>(py);
    const auto [it, added] = points_.try_emplace(key, c);
    if (!added) {
        if (it->second == c) return;
        it->second = c;
    }
    if (!pointMode_ || pointColour_ != c) {
        p_.setPen(Qt::NoPen);
        p_.setBrush(ToQColor(c));
        pointMode_ = true;
        pointColour_ = c;
    }
    p_.drawRect(QRectF(px, py, 1, 1));
}

void PainterSurface::EndPoints() {
    if (!pointMode_ && points_.empty()) return;
    points_.clear();
    if (pointMode_) p_.setBrush(Qt::NoBrush);
    pointMode_ = false;
}

float PainterSurface::TextWidth(std::string_view text) const {
    return static_cast<float>(QFontMetricsF(font_).horizontalAdvance(FromUtf8(text)));
}

float PainterSurface::TextHeight() const {
    return static_cast<float>(QFontMetricsF(font_).height());
}

void PainterGrid::Resize(int rows, int cols) {
    cells_.assign(rows, std::vector<std::string>(cols));
    centred_.assign(rows, std::vector<bool>(cols, false));
    colTwips_.assign(cols, 0);
    rowTwips_.assign(rows, 0);
}

void PainterGrid::ColWidth(int col, int twips) { colTwips_.at(col) = twips; }
void PainterGrid::RowHeight(int row, int twips) { rowTwips_.at(row) = twips; }
void PainterGrid::Text(int row, int col, const std::string& text) { cells_.at(row).at(col) = text; }
void PainterGrid::Centre(int row, int col) { centred_.at(row).at(col) = true; }
std::string PainterGrid::Text(int row, int col) const { return cells_.at(row).at(col); }

std::vector<double> PainterGrid::ColumnWidths() const {
    // The grid's own default: 100 pixels. A column is widened to its widest
    // text, so that no text runs into its neighbour.
    const QFontMetricsF fm(PageFont(kGridFontPoints));
    std::vector<double> widths;
    for (int c = 0; c < Cols(); ++c) {
        double w = colTwips_[c] ? colTwips_[c] / kPageTwipsPerUnit : 100;
        for (const auto& row : cells_)
            w = std::max(w, fm.horizontalAdvance(QString::fromStdString(row[c]).trimmed()) +
                                2 * kCellPadding);
        widths.push_back(w);
    }
    return widths;
}

std::vector<double> PainterGrid::RowHeights() const {
    // The grid's own default: one line of its font and a little room.
    const double line = QFontMetricsF(PageFont(kGridFontPoints)).height() + 4;
    std::vector<double> heights;
    for (int r = 0; r < Rows(); ++r)
        heights.push_back(rowTwips_[r] ? rowTwips_[r] / kPageTwipsPerUnit : line);
    return heights;
}

QSizeF PainterGrid::TableSize() const {
    const auto w = ColumnWidths(), h = RowHeights();
    return {std::accumulate(w.begin(), w.end(), 0.0), std::accumulate(h.begin(), h.end(), 0.0)};
}

void PainterGrid::Draw(QPainter& p, const QPointF& topLeft) const {
    if (Rows() == 0 || Cols() == 0) return;
    const auto widths = ColumnWidths(), heights = RowHeights();
    const QSizeF size(std::accumulate(widths.begin(), widths.end(), 0.0),
                      std::accumulate(heights.begin(), heights.end(), 0.0));
    p.save();
    p.translate(topLeft);
    p.setFont(PageFont(kGridFontPoints));
    double y = 0;
    for (int r = 0; r < Rows(); ++r) {
        double x = 0;
        for (int c = 0; c < Cols(); ++c) {
            const QRectF cell(x, y, widths[c], heights[r]);
            const bool header = r == 0 || c == 0;
            p.fillRect(cell, header ? kHeaderBack : kBodyBack);
            p.setPen(header ? kHeaderText : body_);
            // The grid shows the texts without the blanks that pad them.
            const QString text = QString::fromStdString(cells_[r][c]).trimmed();
            const Qt::Alignment align =
                header || centred_[r][c] ? Qt::AlignCenter : (Qt::AlignRight | Qt::AlignVCenter);
            p.drawText(cell.adjusted(kCellPadding, 0, -kCellPadding, 0), align | Qt::TextDontClip,
                       text);
            x += widths[c];
        }
        y += heights[r];
    }
    p.setPen(QPen(kRule, 0.5));
    double x = 0;
    for (int c = 0; c <= Cols(); ++c) {
        p.drawLine(QPointF(x, 0), QPointF(x, size.height()));
        if (c < Cols()) x += widths[c];
    }
    y = 0;
    for (int r = 0; r <= Rows(); ++r) {
        p.drawLine(QPointF(0, y), QPointF(size.width(), y));
        if (r < Rows()) y += heights[r];
    }
    p.restore();
}

}  // namespace orbix
