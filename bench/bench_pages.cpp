// SPDX-License-Identifier: BSD-3-Clause
// The result pages of a 36-atom molecule (every site of the lattice, every
// link a bond) drawn on the image-backed surface of a shown window, as the
// result window draws them.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <cmath>
#include <cstdlib>
#include <memory>

#include "bench/LatticePatch.h"
#include "orbix/calc/CalcSession.h"
#include "orbix/calc/Pages.h"
#include "orbix/calc/modCalculation.h"
#include "orbix/model/modOrbix.h"
#include "orbix/platform/FlexGrid.h"
#include "orbix/platform/Fonts.h"
#include "orbix/platform/ImageSurface.h"

namespace {

using namespace modCalculation;

struct Page {
    orbix::ImageSurface surface;
    orbix::FlexGrid* grid;
    Page() : grid(new orbix::FlexGrid(&surface)) {
        surface.resize(984, 660);
        surface.Scale(-298, -43, 640, 400);
        surface.setFont(orbix::GothicFont(12));
        surface.BackColor(QColor(223, 228, 211));
        grid->setGeometry(surface.PageToPixel(QRectF(20, 70, 600, 280)));
        surface.onHideGrid = [this] { grid->hide(); };
        surface.show();
        QCoreApplication::processEvents();
    }
};

Page& Surface() {
    static Page page;
    return page;
}

void Prepare36() {
    static bool done = false;
    if (done) return;
    done = true;
    CalculateLatticePatch(FullLattice());
}

// The orbital with the most lobe points on the 3-D page (zero-based).
std::int16_t LargestOrbital() {
    const int n = modOrbix::CurrentMolecule->Count();
    double best = -1;
    int bestK = 0;
    for (int o = 1; o <= n; ++o) {
        double points = 0;
        for (int i = 1; i <= n; ++i) {
            const double a = std::fabs(Cvec(i, o));
            if (a >= 0.001) points += 2 * std::floor(a / 0.05f) * (std::nearbyint(a * 60) + 1);
        }
        if (points > best) best = points, bestK = o - 1;
    }
    return static_cast<std::int16_t>(bestK);
}

template <class F>
void Run(benchmark::State& state, F&& draw) {
    Prepare36();
    Page& p = Surface();
    for (auto _ : state) {
        draw(p);
        benchmark::DoNotOptimize(p.surface.Image().constBits());
    }
}

void BM_LayoutSketch(benchmark::State& st) {
    Run(st, [](Page& p) {
        p.surface.Cls();
        LayoutSketch(p.surface, true);
    });
}
void BM_EigenTable(benchmark::State& st) {
    Run(st, [](Page& p) { ShowEigenTable(p.surface, *p.grid); });
}
void BM_Coulomb(benchmark::State& st) {
    Run(st, [](Page& p) { ShowCoulombIntegrals(p.surface); });
}
void BM_Resonance(benchmark::State& st) {
    Run(st, [](Page& p) { ShowResonanceIntegrals(p.surface); });
}
void BM_Densities(benchmark::State& st) {
    Run(st, [](Page& p) { ShowDensities(p.surface); });
}
void BM_BondOrders(benchmark::State& st) {
    Run(st, [](Page& p) { ShowBondOrders(p.surface); });
}
void BM_EnergyDiagram(benchmark::State& st) {
    Run(st, [](Page& p) { ShowEnergyDiagram(p.surface); });
}
void BM_OrbitalPlanar(benchmark::State& st) {
    Run(st, [](Page& p) { ShowOrbitalPlanar(p.surface, 0); });
}
// The whole 3-D page of the largest orbital, events processed after each ring.
void BM_Orbital3D(benchmark::State& st) {
    Prepare36();
    const std::int16_t k = LargestOrbital();
    st.counters["orbital"] = k + 1;
    Run(st, [k](Page& p) { ShowOrbital3D(p.surface, k); });
}

BENCHMARK(BM_LayoutSketch)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EigenTable)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Coulomb)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Resonance)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Densities)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_BondOrders)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_EnergyDiagram)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_OrbitalPlanar)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_Orbital3D)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
