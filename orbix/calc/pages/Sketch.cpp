// SPDX-License-Identifier: BSD-3-Clause
// The molecule sketch shared by the sketch pages and the orbital pictures.

#include <cmath>

#include "orbix/calc/Pages.h"
#include "orbix/calc/modCalculation.h"
#include "orbix/model/Molecule.h"

namespace modCalculation {

namespace {

std::int16_t Round16(double v) { return static_cast<std::int16_t>(std::nearbyint(v)); }

}  // namespace

Rgb AtomColour(int element) {
    switch (element) {
        case 2:
        case 12:
            return colour::kTeal;
        case 3:
        case 13:
            return colour::kGreen;
        case 4:
        case 14:
            return colour::kMaroon;
        default:
            return colour::kNavy;
    }
}

void DrawAtomMark(PageSurface& s, std::int16_t element, std::int16_t x, std::int16_t y,
                  std::int16_t radius) {
    const Rgb c = AtomColour(element);
    s.FillSolid(true);
    s.FillColor(c);
    s.Circle(x, y, radius, c);
    s.FillSolid(false);
}

void LayoutSketch(PageSurface& s, bool draw) {
    ComputeAtomPos();
    if (!draw) return;
    const Molecule& m = Mol();
    const int n = m.Count();
    for (int i = 1; i <= n; ++i) {
        const float hx = AtomPos(i).x / 2, hy = AtomPos(i).y / 2;
        DrawAtomMark(s, m.Item(i)->Atom()->index(), Round16(hx), Round16(hy), 10);
        for (int k = 1; k < i; ++k)
            if (m.Bond(i, k)) s.Line(hx, hy, AtomPos(k).x / 2, AtomPos(k).y / 2, colour::kOlive);
    }
}

void DrawSketch(PageSurface& s) {
    const Molecule& m = Mol();
    const int n = m.Count();
    for (int i = 1; i <= n; ++i) {
        DrawAtomMark(s, m.Item(i)->Atom()->index(), Round16(AtomPos(i).x), Round16(AtomPos(i).y),
                     20);
        for (int j = 1; j < i; ++j)
            if (m.Bond(i, j))
                s.Line(AtomPos(i).x, AtomPos(i).y, AtomPos(j).x, AtomPos(j).y, colour::kOlive);
    }
}

}  // namespace modCalculation
