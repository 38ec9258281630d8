// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// Cell texts of the eigenvalue and eigenvector table, and its CSV text.
//
// Rows 0 ... n+1, columns 0 ... n: row 0 the orbital numbers under
// "分子軌道", row 1 the eigenvalues under "軌道energy", row r+1 the
// coefficients of atom r. Value cells are "####.####" right-aligned in 12.

#include <string>
#include <string_view>
#include <vector>

#include "orbix/model/Array1.h"

namespace modCalculation {

using TextGrid = std::vector<std::vector<std::string>>;

// Of EigVal and Cvec.
TextGrid EigenTableCells();
// Of the given eigenvalues and coefficients (column k = orbital k).
TextGrid EigenTableCells(const orbix::Vec1<double>& eigVal, const orbix::Mat1<double>& cvec);

// One line per row, cells joined by "," exactly as they stand, every line
// ended by CR LF (UTF-8; the file writer encodes it), or by lineEnd.
std::string GridCsv(const TextGrid& grid, std::string_view lineEnd = "\r\n");

}  // namespace modCalculation
