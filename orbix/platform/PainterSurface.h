// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// A page surface that draws through a QPainter on any paint device (an image,
// an SVG generator, a PDF writer), so that a page routine can be replayed on a
// vector device. The painter is expected in page units; text is set in pixel
// sizes of a 96-dpi screen, one page unit to the pixel, so a page looks the
// same on every device.
//
// PainterGrid keeps what a page routine puts into the eigen table's grid and
// draws it as a ruled table with the grid's texts and colours.

#include <QColor>
#include <QFont>
#include <QRectF>
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "orbix/calc/PageSurface.h"

class QPainter;

namespace orbix {

// The page area the routines draw in, in page units.
inline constexpr double kPageWidth = 640, kPageHeight = 400;
// Twips per page unit: the page is drawn as a 96-dpi screen shows it.
inline constexpr double kPageTwipsPerUnit = 15;

// "ＭＳ Ｐゴシック" at `points` on that screen, as a pixel size in page units.
QFont PageFont(double points, bool bold = false);

class PainterSurface : public modCalculation::PageSurface {
  public:
    // Cls fills the page area (0, 0, 640, 400) with `back`.
    PainterSurface(QPainter& painter, const QColor& back);

    void Line(float x1, float y1, float x2, float y2, modCalculation::Rgb c) override;
    void Circle(float x, float y, float radius, modCalculation::Rgb c) override;
    void PSet(float x, float y, modCalculation::Rgb c) override;
    void HideGrid() override { gridHidden_ = true; }
    // Nothing can replace the page while it is drawn here.
    bool DoEvents() override { return true; }
    float TextWidth(std::string_view text) const override;
    float TextHeight() const override;

    // Whether HideGrid came after the last ResetGrid.
    bool GridHidden() const { return gridHidden_; }
    void ResetGrid() { gridHidden_ = false; }

  protected:
    void Clear() override;
    void DrawText(float x, float y, std::string_view text, modCalculation::Rgb c) override;

  private:
    // Anything but a point may cover points already set.
    void EndPoints();

    QPainter& p_;
    QColor back_;
    QFont font_;
    bool gridHidden_ = false;
    std::unordered_map<std::uint64_t, modCalculation::Rgb> points_;  // since the last other
    bool pointMode_ = false;
    modCalculation::Rgb pointColour_;
};

class PainterGrid : public modCalculation::EigenGrid {
  public:
    void ForeColor(modCalculation::Rgb c) override { body_ = QColor(c.r, c.g, c.b); }
    void Border(bool) override {}
    void Resize(int rows, int cols) override;
    void ColWidth(int col, int twips) override;
    void RowHeight(int row, int twips) override;
    void Text(int row, int col, const std::string& text) override;
    void Centre(int row, int col) override;
    void Show() override { shown_ = true; }

    int Rows() const override { return static_cast<int>(cells_.size()); }
    int Cols() const override { return cells_.empty() ? 0 : static_cast<int>(cells_[0].size()); }
    std::string Text(int row, int col) const override;

    bool Shown() const { return shown_; }
    QColor BodyColour() const { return body_; }
    // The whole table in page units.
    QSizeF TableSize() const;
    // Draws the table from `topLeft` in the grid's own text size, all of it,
    // however large: a picture is made to hold it rather than the text shrunk.
    void Draw(QPainter& p, const QPointF& topLeft) const;

  private:
    std::vector<double> ColumnWidths() const;
    std::vector<double> RowHeights() const;

    std::vector<std::vector<std::string>> cells_;
    std::vector<std::vector<bool>> centred_;
    std::vector<int> colTwips_, rowTwips_;  // 0 = the grid's default
    QColor body_{Qt::black};
    bool shown_ = false;
};

}  // namespace orbix
