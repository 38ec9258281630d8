// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// The eigen table's grid: a QTableWidget whose header row and column are the
// table's row 0 and column 0 (they stay in view when the body scrolls), one
// text colour for the whole body, white cells on a background of its own.
// Text() gives a cell's text as it was set; the cell shows it trimmed.

#include <QTableWidget>
#include <string>
#include <vector>

#include "orbix/calc/PageSurface.h"

class QLabel;

namespace orbix {

class FlexGrid : public QTableWidget, public modCalculation::EigenGrid {
    Q_OBJECT
  public:
    explicit FlexGrid(QWidget* parent = nullptr);

    // Colour of the area beyond the cells.
    void BackColorBkg(const QColor& c);

    void ForeColor(modCalculation::Rgb c) override;
    void Border(bool on) override;
    void Resize(int rows, int cols) override;
    void ColWidth(int col, int twips) override;
    void RowHeight(int row, int twips) override;
    void Text(int row, int col, const std::string& text) override;
    void Centre(int row, int col) override;
    void Show() override { show(); }

    int Rows() const override { return static_cast<int>(cells_.size()); }
    int Cols() const override { return cells_.empty() ? 0 : static_cast<int>(cells_[0].size()); }
    std::string Text(int row, int col) const override;

    // The colour the body is shown in.
    QColor BodyColour() const { return body_; }

  signals:
    void rightButtonReleased(const QPoint& globalPos);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void resizeEvent(QResizeEvent* e) override;

  private:
    QTableWidgetItem* Item(int row, int col);
    void PlaceCorner();
    void FitHeaderText(QTableWidgetItem* item);

    std::vector<std::vector<std::string>> cells_;
    QColor body_{Qt::black};
    QLabel* corner_;
};

}  // namespace orbix
