// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/result/TablePrint.h"

#include <QFontMetricsF>
#include <QPagedPaintDevice>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "orbix/model/modCommon.h"
#include "orbix/platform/Fonts.h"

namespace TablePrint {

namespace {

// Bands of indices 1 ... n-1, each at most `room` long, every band led by 0.
std::vector<std::vector<int>> Bands(int n, int room) {
    std::vector<std::vector<int>> out;
    if (n <= 1) return {{0}};
    for (int first = 1; first < n; first += room) {
        std::vector<int> band{0};
        for (int i = first; i < std::min(n, first + room); ++i) band.push_back(i);
        out.push_back(band);
    }
    return out;
}

}  // namespace

std::vector<Sheet> Paginate(int R, int C, int pageRows, int pageCols) {
    pageRows = std::max(pageRows, 2);
    pageCols = std::max(pageCols, 2);
    if (R <= pageRows && C <= pageCols) {
        Sheet all;
        for (int r = 0; r < R; ++r) all.rows.push_back(r);
        for (int c = 0; c < C; ++c) all.cols.push_back(c);
        return {all};
    }
    std::vector<Sheet> out;
    for (const auto& cols : Bands(C, pageCols - 1))
        for (const auto& rows : Bands(R, pageRows - 1)) out.push_back({rows, cols});
    return out;
}

QFont PrintFont() { return orbix::GothicFont(10); }

bool PrintTable(QPagedPaintDevice& device, const modCalculation::TextGrid& cells) {
    const int R = static_cast<int>(cells.size());
    const int C = R ? static_cast<int>(cells[0].size()) : 0;
    QPainter p;
    if (!p.begin(&device)) return false;
    p.setFont(PrintFont());
    const QFontMetricsF fm(p.font(), &device);
    const double w = fm.horizontalAdvance(QStringLiteral("あ"));
    const double h = fm.height();
    // The painter's origin is the top-left corner of the printable area.
    const QRectF area(QPointF(0, 0),
                      device.pageLayout().paintRectPixels(device.logicalDpiX()).size());
    const int pageCols = static_cast<int>(std::floor(area.width() / (6 * w)));
    const int pageRows = static_cast<int>(std::floor(area.height() / h));
    const auto sheets = Paginate(R, C, pageRows, pageCols);
    p.setPen(QPen(Qt::black, 0));
    for (std::size_t k = 0; k < sheets.size(); ++k) {
        if (k > 0 && !device.newPage()) return false;
        const Sheet& sh = sheets[k];
        const int rows = static_cast<int>(sh.rows.size()), cols = static_cast<int>(sh.cols.size());
        for (int u = 0; u <= cols; ++u)
            p.drawLine(QPointF(6 * u * w, 0), QPointF(6 * u * w, rows * h));
        for (int r = 0; r <= rows; ++r) p.drawLine(QPointF(0, r * h), QPointF(6 * cols * w, r * h));
        for (int r = 0; r < rows; ++r) {
            const auto& line = cells[sh.rows[r]];
            for (int j = 0; j < cols; ++j) {
                const int c = sh.cols[j];
                const std::string text = c == 0 ? line[c] : modCommon::Trim(line[c]);
                p.drawText(QPointF(6 * j * w, r * h + fm.ascent()), QString::fromStdString(text));
            }
        }
    }
    return p.end();
}

}  // namespace TablePrint
