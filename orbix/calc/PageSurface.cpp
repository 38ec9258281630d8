// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/calc/PageSurface.h"

namespace modCalculation {

void PageSurface::Cls() {
    ++generation_;
    x_ = 0;
    y_ = 0;
    Clear();
}

void PageSurface::Print(std::string_view text, bool lineEnd) {
    if (!text.empty()) DrawText(x_, y_, text, fore_);
    if (lineEnd) {
        x_ = 0;
        y_ += TextHeight();
    } else {
        x_ += TextWidth(text);
    }
}

}  // namespace modCalculation
