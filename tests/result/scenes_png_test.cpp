// SPDX-License-Identifier: BSD-3-Clause
// Every scene of three molecules in the real window: each picture is saved to
// be looked at, must be the same when its scene is shown again, and must show
// its page's content where the page puts it (atom discs in their element's
// colour, the level lines, the rings of each orbital, the 3-D atom marks).

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QLabel>
#include <QTimer>
#include <cmath>
#include <map>

#include "orbix/calc/Pages.h"
#include "orbix/calc/modCalculation.h"
#include "orbix/model/MoleculeFile.h"
#include "orbix/model/modCommon.h"
#include "orbix/model/modOrbix.h"
#include "orbix/platform/ImageSurface.h"
#include "orbix/platform/WaitSeconds.h"
#include "tests/result/ResultFixture.h"
#include "tests/support/TestMolecules.h"

namespace {

using modCalculation::AtomPos;
using modCalculation::Cvec;

const QString kFolder = QStringLiteral(ORBIX_BINARY_DIR "result_scenes/");

// Colours of the pages (palette entries of the sketches and the page colours).
const QColor kNavy(0, 0, 128), kTeal(0, 128, 128), kRed(255, 0, 0), kBlue(0, 0, 255);

struct Expected {
    std::map<int, QColor> elementColour;  // by element number
    std::vector<int> levelYs;             // the energy diagram's level lines
};

// Worked out from the lattice and the method by hand, not from the code.
const std::map<std::string, Expected> kExpected = {
    {"benzene", {{{1, kNavy}}, {315, 282, 216, 183}}},
    {"pyridine", {{{1, kNavy}, {2, kTeal}}, {315, 276, 271, 196, 190, 153}}},
    {"allyl", {{{1, kNavy}}, {320, 250, 179}}},
};

// Pixels of colour c in the page square of half-size `half` around (x, y),
// and the pixels of that square.
std::pair<int, int> CountIn(frmResult& w, double x, double y, double half, const QColor& c) {
    const QImage& img = w.surface().Image();
    const QRect r = w.surface()
                        .PageToPixel(QRectF(x - half, y - half, 2 * half, 2 * half))
                        .intersected(img.rect());
    int hits = 0, all = 0;
    for (int py = r.top(); py <= r.bottom(); ++py)
        for (int px = r.left(); px <= r.right(); ++px, ++all) hits += img.pixel(px, py) == c.rgb();
    return {hits, all};
}

// Pixels of colour c within `half` pixels of the pixel point p.
int CountNear(frmResult& w, QPointF p, int half, const QColor& c) {
    const QImage& img = w.surface().Image();
    int hits = 0;
    for (int y = int(p.y()) - half; y <= int(p.y()) + half; ++y)
        for (int x = int(p.x()) - half; x <= int(p.x()) + half; ++x)
            hits += img.valid(x, y) && img.pixel(x, y) == c.rgb();
    return hits;
}

double PixelsPerUnit(frmResult& w) {
    return w.surface().PageToPixel(QPointF(1, 0)).x() - w.surface().PageToPixel(QPointF(0, 0)).x();
}

void Save(frmResult& w, const QString& name) {
    QCoreApplication::processEvents();
    EXPECT_TRUE(w.grab().save(kFolder + name + QStringLiteral(".png"))) << name.toStdString();
}

void Show(frmResult& w, int scene) {
    w.ChangeMenu(static_cast<std::int16_t>(scene));
    w.Menu()->Show(static_cast<std::int16_t>(scene));
}

class ScenePictures : public ResultWindowTest, public ::testing::WithParamInterface<const char*> {
  protected:
    // Shows `scene` again from elsewhere and compares the picture.
    void ExpectStable(int scene, const QImage& first, int orbitals) {
        Show(*window, scene == 2 ? 4 : 2);
        Show(*window, scene);
        for (int k = 1; k < orbitals; ++k) window->mnuMoveNext_Click();
        EXPECT_TRUE(window->surface().Image() == first)
            << GetParam() << ", scene " << scene << " orbital " << orbitals
            << ": a different picture when shown again";
    }
};

TEST_P(ScenePictures, EveryScene) {
    const std::string name = GetParam();
    const QString mol = QString::fromStdString(name);
    const Expected& expect = kExpected.at(name);
    QDir().mkpath(kFolder);
    std::string atoms, bonds;
    {
        std::vector<std::string> lines;
        ASSERT_EQ(modCommon::ReadTextLines(testing_support::TemplatePath(name), lines), 0);
        ASSERT_FALSE(MoleculeFile::ParseMoleculeText(lines, atoms, bonds));
    }
    auto out = testing_support::Calculate(atoms, bonds);
    ASSERT_EQ(out.code, 0);
    window = frmResult::Open(design);
    // The calculation messages, caught in the second pause.
    modCommon::testing::MillisecondsPerSecond = 100;
    bool caught = false;
    QTimer probe;
    QObject::connect(&probe, &QTimer::timeout, [&] {
        if (!caught && window->lblMessage().text() == QStringLiteral("計算が終了しました")) {
            caught = true;
            Save(*window, mol + QStringLiteral("_00_display"));
        }
    });
    probe.start(20);
    std::int16_t progress = 0;
    window->Display(progress);
    probe.stop();
    modCommon::testing::MillisecondsPerSecond = 5;
    EXPECT_TRUE(caught);
    frmResult& w = *window;
    const Molecule& m = *modOrbix::CurrentMolecule;
    const int n = m.Count();
    auto element = [&](int i) { return static_cast<int>(m.Item(i)->Atom()->index()); };

    Save(w, mol + QStringLiteral("_02"));
    for (int scene : {4, 5, 8, 9}) {
        Show(w, scene);
        // Discs of radius 20: most of the inner square is the element's colour.
        for (int i = 1; i <= n; ++i) {
            const auto [hits, all] =
                CountIn(w, AtomPos(i).x, AtomPos(i).y, 12, expect.elementColour.at(element(i)));
            EXPECT_GT(hits * 2, all)
                << name << ", scene " << scene << ", atom " << i << " at (" << AtomPos(i).x << ", "
                << AtomPos(i).y << "): " << hits << " of " << all << " pixels in its colour";
        }
        const QImage first = w.surface().Image();
        Save(w, mol + QStringLiteral("_%1").arg(scene, 2, 10, QLatin1Char('0')));
        ExpectStable(scene, first, 1);
    }

    Show(w, 6);
    for (int y : expect.levelYs) {
        const auto [hits, all] = CountIn(w, 103, y, 1, kBlue);
        EXPECT_GT(hits, 0) << name << ": no level line at y = " << y;
    }
    const QImage diagram = w.surface().Image();
    Save(w, mol + QStringLiteral("_06"));
    ExpectStable(6, diagram, 1);

    Show(w, 11);
    for (int k = 0; k < n; ++k) {
        if (k > 0) w.mnuMoveNext_Click();
        ASSERT_EQ(w.Menu()->OrbitalIndex(), k);
        // The outer ring, up and right of the atom where no bond or text lies,
        // in the colour of the coefficient's sign.
        for (int i = 1; i <= n; ++i) {
            const double c = Cvec(i, k + 1), r = std::fabs(c) * 45;
            if (r < 5) continue;
            const QColor ring = c >= 0 ? kRed : kBlue;
            // A radius is in x units: the rings are round in pixels.
            const QPointF centre = w.surface().PageToPixel(QPointF(AtomPos(i).x, AtomPos(i).y));
            const double d = r * PixelsPerUnit(w) / std::sqrt(2.0);
            EXPECT_GT(CountNear(w, centre + QPointF(d, -d), 2, ring), 0)
                << name << ", planar orbital " << k + 1 << ", atom " << i << " (coefficient " << c
                << "): no ring of radius " << r;
        }
        const QImage first = w.surface().Image();
        Save(w, mol + QStringLiteral("_11_%1").arg(k + 1));
        ExpectStable(11, first, k + 1);
    }

    Show(w, 12);
    const auto pr = modCalculation::ViewProjection();
    for (int k = 0; k < n; ++k) {
        if (k > 0) w.mnuMoveNext_Click();
        ASSERT_EQ(w.Menu()->OrbitalIndex(), k);
        for (int i = 1; i <= n; ++i) {
            const double X =
                modCalculation::ProjectX(AtomPos(i).x, AtomPos(i).y, 0, pr.c, pr.mcs, pr.s2, 1);
            const double Y = modCalculation::ProjectY(AtomPos(i).y, 0, pr.s, pr.c, 1);
            const auto [hits, all] = CountIn(w, X, Y, 6, expect.elementColour.at(element(i)));
            EXPECT_GT(hits * 4, all)
                << name << ", 3-D orbital " << k + 1 << ", atom " << i << " mark at (" << X << ", "
                << Y << "): " << hits << " of " << all << " pixels in its colour";
        }
        const QImage first = w.surface().Image();
        Save(w, mol + QStringLiteral("_12_%1").arg(k + 1));
        ExpectStable(12, first, k + 1);
    }
}

INSTANTIATE_TEST_SUITE_P(Molecules, ScenePictures,
                         ::testing::Values("benzene", "pyridine", "allyl"));

}  // namespace
