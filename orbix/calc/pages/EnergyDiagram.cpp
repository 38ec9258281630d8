// SPDX-License-Identifier: BSD-3-Clause
// Scene 6: the orbital energy levels against the axis of x.

#include <cmath>
#include <cstdlib>
#include <vector>

#include "orbix/calc/Pages.h"
#include "orbix/calc/modCalculation.h"
#include "orbix/model/Molecule.h"
#include "orbix/model/modFormat.h"

namespace modCalculation {

namespace {

struct LevelShape {
    std::vector<std::pair<float, float>> segments;  // x from, x to
    std::vector<float> electrons;                   // x of the marks, filling order
};

// Segments and electron places of a level of d orbitals.
LevelShape Shape(int d) {
    LevelShape l;
    switch (d) {
        case 1:
            l.segments = {{100, 250}};
            break;  // the marks of a single orbital depend on its own count
        case 2:
            l.segments = {{100, 160}, {190, 250}};
            l.electrons = {115, 205, 145, 235};
            break;
        case 3:
            l.segments = {{100, 140}, {155, 195}, {210, 250}};
            l.electrons = {110, 165, 220, 130, 185, 240};
            break;
        default: {
            // 4 and more: the pattern of 4 (segments 30 long, 40 apart) while
            // it fits the page, then d equal shares of 100 ... 620.
            const float step = d <= 13 ? 40.0f : 520.0f / d;
            const float len = d <= 13 ? 30.0f : step * 0.75f;
            const float first = d <= 13 ? 10.0f : len / 3, second = d <= 13 ? 20.0f : len * 2 / 3;
            for (int i = 0; i < d; ++i) {
                const float x = 100 + i * step;
                l.segments.push_back({x, x + len});
                l.electrons.push_back(x + first);
            }
            for (int i = 0; i < d; ++i) l.electrons.push_back(100 + i * step + second);
            break;
        }
    }
    return l;
}

}  // namespace

int DiagramFloor(double v) {
    const double whole = std::nearbyint(v);
    if (std::fabs(v - whole) < 1e-6) return static_cast<int>(whole);
    return static_cast<int>(std::floor(v));
}

void ShowEnergyDiagram(PageSurface& s) {
    const Molecule& m = Mol();
    const int n = m.Count();
    s.HideGrid();
    s.Cls();
    s.MoveTo(100, 10);
    s.ForeColor(colour::kBlack);
    s.Print("** 分子軌道エネルギーダイヤグラム **", true);
    s.MoveTo(100, 50);
    s.ForeColor(colour::kBlue);
    s.Print("全エネルギー = " + modFormat::Format(m.Energy(), "00.0000"), true);

    const int A = DiagramFloor(EigVal(1)) + 1;
    const int B = DiagramFloor(-EigVal(n)) + 1;
    const int unit = 200 / (std::abs(A) + std::abs(B));
    auto yOf = [&](double x) {
        return static_cast<float>(DiagramFloor(unit * x) + B * unit + 150);
    };

    s.ForeColor(colour::kBlack);
    s.Line(70, 150, 70, 350, colour::kBlack);
    for (int k = A; k >= -B; --k) {
        const float y = static_cast<float>((B + k) * unit + 150);
        s.MoveTo(20, y);
        s.Print(modFormat::PrintInt(k), true);
        s.Line(50, y, 70, y, colour::kBlack);
    }

    s.ForeColor(colour::kBlue);
    int j = 1;
    for (int i = 1; i <= LevelCount; ++i) {
        const float y = yOf(LevelE(i));
        const int d = static_cast<int>(LevelDeg(i));
        if (d < 1) continue;
        int electrons = 0;
        for (int q = j; q < j + d && q <= Occ.size(); ++q) electrons += Occ(q);
        const LevelShape shape = Shape(d);
        for (const auto& [from, to] : shape.segments) s.Line(from, y, to, y, colour::kBlue);
        if (d == 1) {
            if (electrons == 1) {
                s.Circle(175, y, 5, colour::kRed);
            } else if (electrons >= 2) {
                s.Circle(160, y, 5, colour::kRed);
                s.Circle(190, y, 5, colour::kRed);
            }
        } else {
            for (int e = 0; e < electrons && e < static_cast<int>(shape.electrons.size()); ++e)
                s.Circle(shape.electrons[e], y, 5, colour::kRed);
        }
        j += d;
    }
}

}  // namespace modCalculation
