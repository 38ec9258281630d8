// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/calc/EigenTable.h"

#include "orbix/calc/modCalculation.h"
#include "orbix/model/modFormat.h"

namespace modCalculation {

TextGrid EigenTableCells() { return EigenTableCells(EigVal, Cvec); }

TextGrid EigenTableCells(const orbix::Vec1<double>& eigVal, const orbix::Mat1<double>& cvec) {
    const int n = eigVal.size();
    TextGrid g(n + 2, std::vector<std::string>(n + 1));
    g[0][0] = "分子軌道";
    g[1][0] = "軌道energy";
    for (int k = 1; k <= n; ++k) {
        g[0][k] = std::to_string(k);
        g[1][k] = modFormat::TableCell(eigVal(k));
    }
    for (int r = 1; r <= n; ++r) {
        g[r + 1][0] = std::to_string(r);
        for (int k = 1; k <= n; ++k) g[r + 1][k] = modFormat::TableCell(cvec(r, k));
    }
    return g;
}

std::string GridCsv(const TextGrid& grid, std::string_view lineEnd) {
    std::string out;
    for (const auto& row : grid) {
        const size_t lineStart = out.size();
        for (const auto& cell : row) {
            if (out.size() != lineStart) out += ',';
            out += cell;
        }
        out += lineEnd;
    }
    return out;
}

}  // namespace modCalculation
