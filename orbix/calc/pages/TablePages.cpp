// SPDX-License-Identifier: BSD-3-Clause
// The eigen table and the four sketch pages with one number per atom or bond.

#include <cmath>

#include "orbix/calc/EigenTable.h"
#include "orbix/calc/Pages.h"
#include "orbix/calc/modCalculation.h"
#include "orbix/calc/pages/PageText.h"
#include "orbix/model/Molecule.h"
#include "orbix/model/modFormat.h"

namespace modCalculation {

namespace {

void Title(PageSurface& s, const char* text, Rgb c) { Write(s, 250, 10, text, c); }

}  // namespace

void ShowEigenTable(PageSurface& s, EigenGrid& grid) {
    const int n = Mol().Count();
    s.Cls();
    s.MoveTo(100, 10);
    s.ForeColor(colour::kRed);
    s.Print("全エネルギー = " + modFormat::Format(Mol().Energy(), "00.0000"), true);
    s.Print("", true);
    s.CurrentX(20);
    s.ForeColor(colour::kBlue);
    s.Print("*********** 固有値および固有ベクトル ************", true);

    const TextGrid cells = EigenTableCells();
    grid.ForeColor(colour::kBlack);
    grid.Border(false);
    grid.Resize(n + 2, n + 1);
    for (int c = 0; c <= n; ++c) grid.ColWidth(c, 1000);
    for (int r = 0; r <= n; ++r) grid.RowHeight(r, 250);
    grid.Text(0, 0, cells[0][0]);
    for (int k = 1; k <= n; ++k) {
        grid.Text(0, k, cells[0][k]);
        grid.Centre(0, k);
    }
    for (int r = 0; r <= n + 1; ++r) grid.Centre(r, 0);
    grid.ForeColor(colour::kRed);
    for (int k = 0; k <= n; ++k) grid.Text(1, k, cells[1][k]);
    grid.ForeColor(colour::kBlack);
    grid.ForeColor(colour::kMagenta);
    for (int r = 2; r <= n + 1; ++r)
        for (int k = 0; k <= n; ++k) grid.Text(r, k, cells[r][k]);
    grid.Show();
}

void ShowCoulombIntegrals(PageSurface& s) {
    const int n = Mol().Count();
    s.HideGrid();
    s.Cls();
    DrawSketch(s);
    Title(s, "*** クーロン積分 ***", colour::kBlue);
    for (int i = 1; i <= n; ++i)
        Write(s, AtomPos(i).x, AtomPos(i).y + 20, modFormat::Format(Hmat0(i, i), "0.00"),
              colour::kBlack);
}

void ShowResonanceIntegrals(PageSurface& s) {
    const int n = Mol().Count();
    s.HideGrid();
    s.Cls();
    DrawSketch(s);
    Title(s, "*** 共鳴積分 ***", colour::kBlue);
    for (int i = 1; i <= n; ++i)
        for (int j = i + 1; j <= n; ++j)
            if (Mol().Bond(i, j))
                Write(s, (AtomPos(i).x + AtomPos(j).x) / 2, (AtomPos(i).y + AtomPos(j).y) / 2 + 10,
                      modFormat::Format(Hmat0(i, j), "0.00"), colour::kBlack);
}

void ShowDensities(PageSurface& s) {
    const int n = Mol().Count();
    s.HideGrid();
    s.Cls();
    Title(s, "*** π電子密度 ***", colour::kMagenta);
    DrawSketch(s);
    for (int i = 1; i <= n; ++i)
        Write(s, AtomPos(i).x, AtomPos(i).y + 20, modFormat::Format(Hmat(i, i), "0.000"),
              colour::kBlue);
}

void ShowBondOrders(PageSurface& s) {
    const int n = Mol().Count();
    s.HideGrid();
    s.Cls();
    Title(s, "*** 結合次数 ***", colour::kMagenta);
    DrawSketch(s);
    auto rounded = [](float v) { return std::nearbyint(static_cast<double>(v)); };
    for (int i = 1; i <= n; ++i)
        for (int j = i + 1; j <= n; ++j)
            if (Mol().Bond(i, j)) {
                const double x = std::floor((rounded(AtomPos(i).x) + rounded(AtomPos(j).x)) / 2);
                const double y = std::floor((rounded(AtomPos(i).y) + rounded(AtomPos(j).y)) / 2);
                Write(s, static_cast<float>(x), static_cast<float>(y),
                      modFormat::Format(1 + Hmat(i, j), "0.000"), colour::kBlue);
            }
}

void ShowScenePage(PageSurface& s, EigenGrid& grid, int scene, std::int16_t k) {
    switch (scene) {
        case 2:
            ShowEigenTable(s, grid);
            break;
        case 4:
            ShowDensities(s);
            break;
        case 5:
            ShowBondOrders(s);
            break;
        case 6:
            ShowEnergyDiagram(s);
            break;
        case 8:
            ShowCoulombIntegrals(s);
            break;
        case 9:
            ShowResonanceIntegrals(s);
            break;
        case 11:
            ShowOrbitalPlanar(s, k);
            break;
        case 12:
            ShowOrbital3D(s, k);
            break;
        default:
            break;
    }
}

}  // namespace modCalculation
