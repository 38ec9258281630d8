// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// The printed eigen table: a ruled grid in character units, w and h being the
// width and height of "あ" in the print font. Column j spans 6·j·w ...
// 6·(j+1)·w and row r spans r·h ... (r+1)·h from the top-left corner of the
// printable area; column 0 is printed as it stands, the other cells trimmed.
//
// A table that does not fit the page is split: the columns into bands as
// wide as the page, then each band's rows into pages as tall as the page,
// and every page repeats row 0 and column 0 so that each can be read alone.

#include <QFont>
#include <vector>

#include "orbix/calc/EigenTable.h"

class QPagedPaintDevice;
class QPainter;

namespace TablePrint {

// One printed page: the table rows and columns it shows, header first.
struct Sheet {
    std::vector<int> rows, cols;
};

// How a table of R rows and C columns is laid out on pages holding at most
// pageRows rows and pageCols columns (each at least 2).
std::vector<Sheet> Paginate(int R, int C, int pageRows, int pageCols);

// The font the table is printed in.
QFont PrintFont();

// Prints the table on `device` (a printer set up by the printer dialog). False
// when the device cannot be painted on.
bool PrintTable(QPagedPaintDevice& device, const modCalculation::TextGrid& cells);

}  // namespace TablePrint
