// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// Text placement shared by the page routines.

#include <string>

#include "orbix/calc/PageSurface.h"

namespace modCalculation {

// One line of text at (x, y) in colour c; the current position moves to the
// start of the next line.
inline void Write(PageSurface& s, float x, float y, const std::string& text, Rgb c) {
    s.MoveTo(x, y);
    s.ForeColor(c);
    s.Print(text, true);
}

}  // namespace modCalculation
