// SPDX-License-Identifier: BSD-3-Clause
// Scenes 11 and 12: one molecular orbital, flat and seen from above the plane.

#include <cmath>

#include "orbix/calc/Pages.h"
#include "orbix/calc/modCalculation.h"
#include "orbix/calc/pages/PageText.h"
#include "orbix/model/Molecule.h"
#include "orbix/model/RunTimeError.h"
#include "orbix/model/modFormat.h"

namespace modCalculation {

namespace {

// "ＨＯＭＯです", "ＳＯＭＯです" or "ＬＵＭＯです" by orbital number.
void Designation(PageSurface& s, int o, float x, float y) {
    const Molecule& m = Mol();
    if (o == m.Homo_num()) {
        if (m.E_num() % 2 != 0)
            Write(s, x, y, "ＳＯＭＯです", colour::kRed);
        else
            Write(s, x, y, "ＨＯＭＯです", colour::kBlue);
    } else if (o == m.Homo_num() + 1) {
        Write(s, x, y, "ＬＵＭＯです", colour::kMagenta);
    }
}

std::int16_t To16(float v) {
    if (!(v >= -32768.0f && v <= 32767.0f)) orbix::RaiseOverflow();
    return static_cast<std::int16_t>(v);
}

// Lobe constants, in the precision the picture is defined with.
constexpr double kLowerLimit = 0.001;
constexpr float kRingStep = 0.05f;
constexpr float kHeightFactor = 3.0f * 50.0f;
constexpr double kPointsFactor = 60;
constexpr double kFullTurn = 6.28318;

}  // namespace

Projection ViewProjection() {
    const float theta = 0.2617995f;
    const double c = std::cos(static_cast<double>(theta));
    const double s = std::sin(static_cast<double>(theta));
    return {static_cast<float>(c), static_cast<float>(-c * s), static_cast<float>(s * s),
            static_cast<float>(s)};
}

std::int16_t ProjectX(float x, float y, float z, float cx, float cy, float cz, float f) {
    const float inner = std::floor(x * cx + y * cy + z * cz);
    return To16(std::floor(inner * f));
}

std::int16_t ProjectY(float y, float z, float cy, float cz, float f) {
    const float inner = std::floor(y * cy + z * cz);
    return To16(std::floor(-f * inner) + 250);
}

void ShowOrbitalPlanar(PageSurface& s, std::int16_t k) {
    const Molecule& m = Mol();
    const int n = m.Count();
    const int o = k + 1;
    s.HideGrid();
    s.Cls();
    Write(s, 100, 100, "分子軌道エネルギー = " + modFormat::Format(EigVal(o), "00.0000"),
          colour::kBlack);
    Write(s, 10, 200, "分子軌道 = " + modFormat::PrintInt(o), colour::kRed);
    Designation(s, o, 300, 20);
    Write(s, 450, 42, "原子", colour::kBlack);
    Write(s, 450, 10, "軌道 =" + modFormat::Format(o, "0"), colour::kBlack);
    for (int i = 1; i <= n; ++i) {
        const float y = static_cast<float>(20 * i + 20);
        Write(s, 500, y, modFormat::Format(i, "0"), colour::kBlack);
        Write(s, 550, y, modFormat::Format(Cvec(i, o), "0.0000"), colour::kBlack);
    }
    for (int i = 1; i <= n; ++i) {
        const float x = AtomPos(i).x, y = AtomPos(i).y;
        Write(s, x, y, modFormat::PrintInt(i), colour::kBlack);
        const double c = Cvec(i, o);
        const double r = std::fabs(c) * 45;
        const std::string& caption = m.Item(i)->Atom()->Caption();
        if (r >= 5) {
            const Rgb ring = c >= 0 ? colour::kRed : colour::kBlue;
            for (double radius = r; radius >= 0; radius -= 3)
                s.Circle(x, y, static_cast<float>(radius), ring);
            Write(s, static_cast<float>(x + r + 5), y, caption, colour::kGreen);
        } else {
            Write(s, x + 10, y, caption, colour::kGreen);
        }
    }
    for (int j = 1; j <= n - 1; ++j)
        for (int q = 2; q <= n; ++q)
            if (m.Bond(j, q))
                s.Line(AtomPos(j).x, AtomPos(j).y, AtomPos(q).x, AtomPos(q).y, colour::kBlue);
}

void ShowOrbital3D(PageSurface& s, std::int16_t k) {
    const Molecule& m = Mol();
    const int n = m.Count();
    const int o = k + 1;
    s.HideGrid();
    s.Cls();
    if (o > n) return;
    const std::uint32_t page = s.Generation();

    s.MoveTo(380, 50);
    s.ForeColor(colour::kMagenta);
    s.Print(modFormat::PrintInt(n), false);
    s.CurrentX(400);
    s.ForeColor(colour::kBlack);
    s.Print("個の分子軌道中", false);
    s.ForeColor(colour::kMagenta);
    s.Print(modFormat::PrintInt(o), false);
    s.ForeColor(colour::kBlack);
    s.Print("番目の軌道", true);

    s.MoveTo(200, 330);
    s.ForeColor(colour::kBlue);
    s.Print("分子軌道エネルギー E =", false);
    s.CurrentX(400);
    s.ForeColor(colour::kMagenta);
    s.Print(modFormat::Format(EigVal(o), "00.0000"), true);
    for (int K = 1; K <= n; ++K) {
        const float y = static_cast<float>(20 * K + 70);
        s.MoveTo(500, y);
        s.Print(modFormat::Format(K, "##"), true);
        s.MoveTo(550, y);
        s.Print(modFormat::Format(Cvec(K, o), "0.0000"), true);
    }
    Designation(s, o, 250, 20);

    const Projection pr = ViewProjection();
    auto px = [&](float x, float y, float z) { return ProjectX(x, y, z, pr.c, pr.mcs, pr.s2, 1); };
    auto py = [&](float y, float z) { return ProjectY(y, z, pr.s, pr.c, 1); };

    for (int p = 2; p <= n; ++p)
        for (int q = 1; q < p; ++q)
            if (m.Bond(p, q))
                s.Line(px(AtomPos(p).x, AtomPos(p).y, 0), py(AtomPos(p).y, 0),
                       px(AtomPos(q).x, AtomPos(q).y, 0), py(AtomPos(q).y, 0), colour::kBlack);
    for (int i = 1; i <= n; ++i) {
        const std::int16_t X = px(AtomPos(i).x, AtomPos(i).y, 0), Y = py(AtomPos(i).y, 0);
        DrawAtomMark(s, m.Item(i)->Atom()->index(), X, Y, 10);
        Write(s, X + 10, Y + 10, m.Item(i)->Atom()->Caption(), colour::kGreen);
    }

    for (int i = 1; i <= n; ++i) {
        const double c = Cvec(i, o);
        const double a = std::fabs(c);
        if (a < kLowerLimit) continue;
        const double h = kHeightFactor * a;
        const int rings = static_cast<int>(std::floor(a / kRingStep));
        const double points = std::nearbyint(a * kPointsFactor);
        const double xi = AtomPos(i).x, yi = AtomPos(i).y;
        for (int lobe = 0; lobe < 2; ++lobe) {
            const int d = lobe == 0 ? 1 : -1;
            const Rgb col = (c > 0) == (lobe == 0) ? colour::kRed : colour::kBlue;
            for (int j = 1; j <= rings; ++j) {
                const double z = h * d * j / rings;
                const double rho = std::sqrt(
                    std::fabs((h * std::sqrt(h * h + 8 * z * z) - (2 * z * z + h * h)) / 2));
                for (int t = 0; t <= points; ++t) {
                    const double phi = t * kFullTurn / (a * kPointsFactor);
                    const float x = static_cast<float>(xi + std::sin(phi) * rho);
                    const float y = static_cast<float>(yi - std::cos(phi) * rho);
                    s.PSet(px(x, y, static_cast<float>(z)), py(y, static_cast<float>(z)), col);
                }
                if (!s.DoEvents() || s.Generation() != page) return;
            }
        }
    }
}

}  // namespace modCalculation
