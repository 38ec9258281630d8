// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// What orbix-calc prints for one molecule file: a readable report in the
// pages' number formats (the JSON line is CalcJson's).

#include <string>
#include <string_view>

#include "orbix/calc/CalcSession.h"

namespace CalcReport {

// The results of the calculation just run (modCalculation's arrays and
// CurrentMolecule) as a readable UTF-8 text.
std::string Text(std::string_view file, double maxOff);

}  // namespace CalcReport
