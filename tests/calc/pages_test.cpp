// SPDX-License-Identifier: BSD-3-Clause
// The result pages, read back from the recording surface.

#include "orbix/calc/Pages.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

#include "orbix/calc/RecordingSurface.h"
#include "orbix/calc/modCalculation.h"
#include "orbix/model/modOrbix.h"
#include "tests/support/TestMolecules.h"

namespace {

using namespace modCalculation;
using testing_support::Calculate;

using testing_support::kBenzeneAtoms;
using testing_support::kBenzeneBonds;

void Calc(const char* atoms, const char* bonds) {
    auto out = Calculate(atoms, bonds);
    ASSERT_EQ(out.code, 0) << out.message;
}

std::string Name(Rgb c) {
    return "(" + std::to_string(c.r) + "," + std::to_string(c.g) + "," + std::to_string(c.b) + ")";
}

std::vector<Primitive> CirclesAt(const RecordingSurface& s, float y) {
    std::vector<Primitive> out;
    for (const auto& p : s.Page(Primitive::kCircle))
        if (p.y == y) out.push_back(p);
    std::sort(out.begin(), out.end(), [](auto& a, auto& b) { return a.x < b.x; });
    return out;
}

std::vector<float> Xs(const std::vector<Primitive>& ps) {
    std::vector<float> xs;
    for (const auto& p : ps) xs.push_back(p.x);
    return xs;
}

// Level lines (blue, right of the axis) by their height.
std::map<float, std::vector<std::pair<float, float>>> Levels(const RecordingSurface& s) {
    std::map<float, std::vector<std::pair<float, float>>> out;
    for (const auto& p : s.Page(Primitive::kLine))
        if (p.colour == colour::kBlue && p.y == p.y2) out[p.y].push_back({p.x, p.x2});
    return out;
}

struct Placed {
    std::string text;
    float x, y;
    Rgb colour;
};

// Every text of the page, in drawing order, at its place and in its colour.
void ExpectTexts(const RecordingSurface& s, const std::vector<Placed>& expect, const char* page) {
    auto texts = s.Page(Primitive::kText);
    ASSERT_EQ(texts.size(), expect.size()) << page;
    for (std::size_t i = 0; i < expect.size(); ++i) {
        const auto& t = texts[i];
        const auto& e = expect[i];
        EXPECT_EQ(t.text, e.text) << page << ", text " << i;
        EXPECT_NEAR(t.x, e.x, 1e-3) << page << ", \"" << e.text << "\" x";
        EXPECT_NEAR(t.y, e.y, 1e-3) << page << ", \"" << e.text << "\" y";
        EXPECT_EQ(t.colour, e.colour) << page << ", \"" << e.text << "\" colour " << Name(t.colour);
    }
}

struct Segment {
    float x, y, x2, y2;
    Rgb colour;
};

// The given lines, in drawing order, at their places and in their colours.
void ExpectLines(const std::vector<Primitive>& lines, const std::vector<Segment>& expect,
                 const char* page) {
    ASSERT_EQ(lines.size(), expect.size()) << page;
    for (std::size_t i = 0; i < expect.size(); ++i) {
        const auto& l = lines[i];
        const auto& e = expect[i];
        EXPECT_NEAR(l.x, e.x, 1e-3) << page << ", line " << i;
        EXPECT_NEAR(l.y, e.y, 1e-3) << page << ", line " << i;
        EXPECT_NEAR(l.x2, e.x2, 1e-3) << page << ", line " << i;
        EXPECT_NEAR(l.y2, e.y2, 1e-3) << page << ", line " << i;
        EXPECT_EQ(l.colour, e.colour) << page << ", line " << i << " colour " << Name(l.colour);
    }
}

TEST(EnergyDiagram, BenzeneAxisLevelsAndElectrons) {
    Calc(kBenzeneAtoms, kBenzeneBonds);
    RecordingSurface s;
    ShowEnergyDiagram(s);
    ASSERT_EQ(s.Recorded().front().kind, Primitive::kHideGrid);
    const char* labels[] = {" 3 ", " 2 ", " 1 ", " 0 ", "-1 ", "-2 ", "-3 "};
    const float ys[] = {348, 315, 282, 249, 216, 183, 150};
    for (int i = 0; i < 7; ++i) {
        auto t = s.TextsEqual(labels[i]);
        ASSERT_EQ(t.size(), 1u) << labels[i];
        EXPECT_EQ(t[0].x, 20);
        EXPECT_EQ(t[0].y, ys[i]) << labels[i];
        EXPECT_EQ(t[0].colour, colour::kBlack);
    }
    auto energy = s.TextsEqual("全エネルギー = 08.0000");
    ASSERT_EQ(energy.size(), 1u);
    EXPECT_EQ(energy[0].x, 100);
    EXPECT_EQ(energy[0].y, 50);
    EXPECT_EQ(energy[0].colour, colour::kBlue);
    ASSERT_EQ(s.TextsEqual("** 分子軌道エネルギーダイヤグラム **").size(), 1u);

    auto levels = Levels(s);
    ASSERT_EQ(levels.size(), 4u);
    using Seg = std::vector<std::pair<float, float>>;
    EXPECT_EQ(levels[315], (Seg{{100, 250}}));
    EXPECT_EQ(levels[282], (Seg{{100, 160}, {190, 250}}));
    EXPECT_EQ(levels[216], (Seg{{100, 160}, {190, 250}}));
    EXPECT_EQ(levels[183], (Seg{{100, 250}}));
    EXPECT_EQ(Xs(CirclesAt(s, 315)), (std::vector<float>{160, 190}));
    EXPECT_EQ(Xs(CirclesAt(s, 282)), (std::vector<float>{115, 145, 205, 235}));
    EXPECT_TRUE(CirclesAt(s, 216).empty());
    EXPECT_TRUE(CirclesAt(s, 183).empty());
    for (const auto& c : s.Page(Primitive::kCircle)) {
        EXPECT_EQ(c.radius, 5);
        EXPECT_EQ(c.colour, colour::kRed);
        EXPECT_FALSE(c.filled);
    }
    // Redrawn from scratch: the same primitives again.
    auto first = s.Page();
    ShowEnergyDiagram(s);
    auto second = s.Page();
    ASSERT_EQ(first.size(), second.size());
    for (std::size_t i = 0; i < first.size(); ++i) {
        EXPECT_EQ(first[i].text, second[i].text);
        EXPECT_EQ(first[i].x, second[i].x);
        EXPECT_EQ(first[i].y, second[i].y);
    }
}

TEST(EnergyDiagram, SmallMoleculesAxisAndLevels) {
    struct Case {
        const char* name;
        const char* atoms;
        const char* bonds;
        std::vector<float> labelYs;  // top label first
        std::map<float, std::vector<float>> marks;
    };
    const Case cases[] = {
        {"ethylene", "1-1,2-1", "1-2", {150, 200, 250, 300, 350}, {{300, {160, 190}}, {200, {}}}},
        {"allyl",
         "1-1,2-1,3-1",
         "1-2,2-3",
         {150, 200, 250, 300, 350},
         {{320, {160, 190}}, {250, {175}}, {179, {}}}},
        {"cyclobutadiene",
         "2-1,3-1,12-1,11-1",
         "2-3,3-12,11-12,2-11",
         {150, 183, 216, 249, 282, 315, 348},
         {{315, {160, 190}}, {249, {115, 205}}, {183, {}}}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Calc(c.atoms, c.bonds);
        RecordingSurface s;
        ShowEnergyDiagram(s);
        std::vector<float> ys;
        for (const auto& t : s.Page(Primitive::kText))
            if (t.x == 20) ys.push_back(t.y);
        std::sort(ys.begin(), ys.end());
        EXPECT_EQ(ys, c.labelYs);
        auto levels = Levels(s);
        EXPECT_EQ(levels.size(), c.marks.size());
        for (const auto& [y, xs] : c.marks) {
            EXPECT_TRUE(levels.count(y)) << "no level at " << y;
            EXPECT_EQ(Xs(CirclesAt(s, y)), xs) << "level at " << y;
        }
    }
}

// The axis, then one tick per whole unit of x from the bottom label upwards.
// With A = floor(x_first) + 1, B = floor(-x_last) + 1 and s = floor(200 / (A + B)),
// the tick of k is at y = (B + k)·s + 150, from x = 50 to the axis at 70.
TEST(EnergyDiagram, ScaleAxisAndTickLines) {
    struct Case {
        const char* name;
        const char* atoms;
        const char* bonds;
        std::vector<float> tickYs;  // bottom tick first
    };
    const Case cases[] = {
        // x = 2 … -2: A = B = 3, s = 33.
        {"benzene", kBenzeneAtoms, kBenzeneBonds, {348, 315, 282, 249, 216, 183, 150}},
        // x = 1, -1: A = B = 2, s = 50.
        {"ethylene", "1-1,2-1", "1-2", {350, 300, 250, 200, 150}},
        // Carbon and a carbonyl oxygen: x ≈ 1.6, -0.6; A = 2, B = 1, s = 66.
        {"C=O", "1-1,2-4", "1-2", {348, 282, 216, 150}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        Calc(c.atoms, c.bonds);
        RecordingSurface s;
        ShowEnergyDiagram(s);
        std::vector<Primitive> black;
        for (const auto& l : s.Page(Primitive::kLine))
            if (l.colour == colour::kBlack) black.push_back(l);
        std::vector<Segment> expect = {{70, 150, 70, 350, colour::kBlack}};
        for (float y : c.tickYs) expect.push_back({50, y, 70, y, colour::kBlack});
        ExpectLines(black, expect, c.name);
    }
}

TEST(EnergyDiagram, LevelOfFiveOrbitalsIsDrawnAndPassed) {
    // Seven orbitals grouped by hand as 1 + 5 + 1, the last one holding an
    // electron: the five-fold level must not hide it.
    Calc("1-1,2-1,3-1,4-1,5-1,6-1,7-1", "1-2,2-3,3-4,4-5,5-6,6-7");
    LevelCount = 3;
    LevelE(1) = 1.5;
    LevelE(2) = 0;
    LevelE(3) = -1.5;
    LevelDeg(1) = 1;
    LevelDeg(2) = 5;
    LevelDeg(3) = 1;
    const std::int16_t occ[] = {2, 2, 1, 0, 0, 0, 1};
    for (int k = 1; k <= 7; ++k) Occ(k) = occ[k - 1];
    RecordingSurface s;
    ShowEnergyDiagram(s);
    auto levels = Levels(s);
    const float middle = levels.size() == 3 ? std::next(levels.begin())->first : -1;
    ASSERT_EQ(levels.size(), 3u);
    using Seg = std::vector<std::pair<float, float>>;
    EXPECT_EQ(levels[middle], (Seg{{100, 130}, {140, 170}, {180, 210}, {220, 250}, {260, 290}}));
    // Three electrons in the level: one on each of the first three segments.
    EXPECT_EQ(Xs(CirclesAt(s, middle)), (std::vector<float>{110, 150, 190}));
    // The top level is orbital 7, with its single electron in the middle.
    EXPECT_EQ(Xs(CirclesAt(s, levels.begin()->first)), (std::vector<float>{175}));
}

TEST(EnergyDiagram, ThreefoldLevelWithFourElectronsOnePerSegmentFirst) {
    // The seven-carbon tree with x = 2, 1.4142, 0 (three times), -1.4142, -2,
    // one of its end carbons giving two electrons (an element with carbon's
    // parameters): eight electrons, four of them in the threefold level.
    testing_support::UseShippedAtoms();
    auto twoElectrons = std::make_shared<clsAtom>();
    ASSERT_TRUE(twoElectrons->Init({"C2", "2", "0", "0", "1", "3", "13"}));
    modOrbix::colAtoms.Add(twoElectrons);
    const std::string e = std::to_string(modOrbix::colAtoms.Count());
    auto out =
        Calculate("1-" + e + ",2-1,3-1,11-1,12-1,13-1,21-1", "1-2,2-3,2-11,11-12,12-13,12-21");
    testing_support::UseShippedAtoms();
    ASSERT_EQ(out.code, 0) << out.message;
    ASSERT_EQ(LevelCount, 5);
    ASSERT_EQ(LevelDeg(3), 3.0f);
    RecordingSurface s;
    ShowEnergyDiagram(s);
    // A = B = 3, s = 33: levels at y = 315, 295, 249, 202, 183.
    EXPECT_EQ(s.TextsEqual("全エネルギー = 06.8284").size(), 1u);
    auto levels = Levels(s);
    using Seg = std::vector<std::pair<float, float>>;
    EXPECT_EQ(levels.size(), 5u);
    EXPECT_EQ(levels[249], (Seg{{100, 140}, {155, 195}, {210, 250}}));
    EXPECT_EQ(Xs(CirclesAt(s, 315)), (std::vector<float>{160, 190}));
    EXPECT_EQ(Xs(CirclesAt(s, 295)), (std::vector<float>{160, 190}));
    // One electron on each segment, then the second on the first segment.
    EXPECT_EQ(Xs(CirclesAt(s, 249)), (std::vector<float>{110, 130, 165, 220}))
        << "threefold level x = 0 with four electrons";
    EXPECT_TRUE(CirclesAt(s, 202).empty());
    EXPECT_TRUE(CirclesAt(s, 183).empty());
}

TEST(EnergyDiagram, FloorCountsNearWholeNumbersAsWhole) {
    EXPECT_EQ(DiagramFloor(2 - 1.5e-12), 2);
    EXPECT_EQ(DiagramFloor(-1e-17), 0);
    EXPECT_EQ(DiagramFloor(20.394), 20);
    EXPECT_EQ(DiagramFloor(-0.5), -1);
}

TEST(EigenTablePage, EthyleneGridAndHeading) {
    Calc("1-1,2-1", "1-2");
    RecordingSurface s;
    RecordingGrid g;
    ShowEigenTable(s, g);
    ASSERT_EQ(g.Rows(), 4);
    ASSERT_EQ(g.Cols(), 3);
    EXPECT_EQ(g.Text(0, 0), "分子軌道");
    EXPECT_EQ(g.Text(0, 2), "2");
    EXPECT_EQ(g.Text(1, 0), "軌道energy");
    EXPECT_EQ(g.Text(1, 1), "          1.");
    EXPECT_EQ(g.Text(1, 2), "         -1.");
    EXPECT_EQ(g.Text(2, 1), "       .7071");
    EXPECT_EQ(g.Text(2, 2), "       .7071");
    EXPECT_EQ(g.Text(3, 1), "       .7071");
    EXPECT_EQ(g.Text(3, 2), "      -.7071");
    EXPECT_EQ(g.Text(3, 0), "2");
    EXPECT_EQ(g.colours.back(), colour::kMagenta);
    EXPECT_FALSE(g.border);
    EXPECT_TRUE(g.visible);
    EXPECT_EQ(g.colWidth, (std::vector<int>{1000, 1000, 1000}));
    EXPECT_EQ(g.rowHeight, (std::vector<int>{250, 250, 250, 0}));
    EXPECT_TRUE(g.centred[0][1] && g.centred[0][2] && g.centred[3][0]);
    EXPECT_FALSE(g.centred[2][1]);

    auto energy = s.TextsEqual("全エネルギー = 02.0000");
    ASSERT_EQ(energy.size(), 1u);
    EXPECT_EQ(energy[0].colour, colour::kRed);
    EXPECT_EQ(energy[0].x, 100);
    EXPECT_EQ(energy[0].y, 10);
    auto title = s.TextsEqual("*********** 固有値および固有ベクトル ************");
    ASSERT_EQ(title.size(), 1u);
    EXPECT_EQ(title[0].x, 20);
    EXPECT_EQ(title[0].y, 10 + 2 * RecordingSurface::kLineHeight);  // after one empty line
    EXPECT_EQ(title[0].colour, colour::kBlue);
}

TEST(SketchPages, BenzeneNumbersUnderAtomsAndOnBonds) {
    Calc(kBenzeneAtoms, kBenzeneBonds);
    struct Page {
        void (*show)(PageSurface&);
        const char* title;
        Rgb titleColour;
        const char* number;
        Rgb colour;
        bool perBond;
    };
    const Page pages[] = {
        {ShowCoulombIntegrals, "*** クーロン積分 ***", colour::kBlue, "0.00", colour::kBlack,
         false},
        {ShowResonanceIntegrals, "*** 共鳴積分 ***", colour::kBlue, "1.00", colour::kBlack, true},
        {ShowDensities, "*** π電子密度 ***", colour::kMagenta, "1.000", colour::kBlue, false},
        {ShowBondOrders, "*** 結合次数 ***", colour::kMagenta, "1.667", colour::kBlue, true},
    };
    for (const auto& p : pages) {
        SCOPED_TRACE(p.title);
        RecordingSurface s;
        p.show(s);
        EXPECT_EQ(s.Recorded().front().kind, Primitive::kHideGrid);
        auto title = s.TextsEqual(p.title);
        ASSERT_EQ(title.size(), 1u);
        EXPECT_EQ(title[0].x, 250);
        EXPECT_EQ(title[0].y, 10);
        EXPECT_EQ(title[0].colour, p.titleColour);
        auto numbers = s.TextsEqual(p.number);
        ASSERT_EQ(numbers.size(), 6u);
        std::set<std::pair<float, float>> at;
        for (const auto& t : numbers) {
            EXPECT_EQ(t.colour, p.colour);
            at.insert({t.x, t.y});
        }
        EXPECT_EQ(at.size(), 6u) << "numbers on top of each other";
        if (!p.perBond) {
            for (int i = 1; i <= 6; ++i)
                EXPECT_TRUE(at.count({AtomPos(i).x, AtomPos(i).y + 20})) << "atom " << i;
        }
        auto circles = s.Page(Primitive::kCircle);
        ASSERT_EQ(circles.size(), 6u);
        for (const auto& c : circles) {
            EXPECT_EQ(c.radius, 20);
            EXPECT_TRUE(c.filled);
            EXPECT_EQ(c.fill, colour::kNavy);
            EXPECT_EQ(c.colour, colour::kNavy);
        }
        EXPECT_EQ(s.Page(Primitive::kLine).size(), 6u);
        EXPECT_FALSE(s.FillSolid()) << "filling left solid";
    }
    // The resonance integral of bond 1-2 sits at the middle of its line, 10 lower.
    RecordingSurface s;
    ShowResonanceIntegrals(s);
    auto t = s.TextsEqual("1.00");
    const float mx = (AtomPos(1).x + AtomPos(2).x) / 2, my = (AtomPos(1).y + AtomPos(2).y) / 2 + 10;
    EXPECT_TRUE(std::any_of(t.begin(), t.end(), [&](auto& p) { return p.x == mx && p.y == my; }));
}

TEST(SketchPages, TitleBeforeOrAfterSketch) {
    Calc(kBenzeneAtoms, kBenzeneBonds);
    auto firstKind = [](void (*show)(PageSurface&)) {
        RecordingSurface s;
        show(s);
        return s.Page().front().kind;
    };
    EXPECT_EQ(firstKind(ShowCoulombIntegrals), Primitive::kCircle);
    EXPECT_EQ(firstKind(ShowDensities), Primitive::kText);
}

TEST(Sketch, AtomMarkOfEveryElementNumber) {
    // 2/12 teal, 3/13 green, 4/14 maroon, every other number navy.
    const Rgb expect[] = {colour::kNavy,   colour::kNavy,  colour::kTeal,  colour::kGreen,
                          colour::kMaroon, colour::kNavy,  colour::kNavy,  colour::kNavy,
                          colour::kNavy,   colour::kNavy,  colour::kNavy,  colour::kNavy,
                          colour::kTeal,   colour::kGreen, colour::kMaroon};
    for (std::int16_t e = 1; e <= 14; ++e) {
        RecordingSurface s;
        DrawAtomMark(s, e, 100, 50, 10);
        auto circles = s.Recorded();
        ASSERT_EQ(circles.size(), 1u) << "element " << e;
        const auto& c = circles[0];
        EXPECT_EQ(c.kind, Primitive::kCircle);
        EXPECT_TRUE(c.filled) << "element " << e;
        EXPECT_EQ(c.fill, expect[e]) << "element " << e << " filled " << Name(c.fill);
        EXPECT_EQ(c.colour, expect[e]) << "element " << e << " outlined " << Name(c.colour);
        EXPECT_EQ(c.x, 100);
        EXPECT_EQ(c.y, 50);
        EXPECT_EQ(c.radius, 10);
        EXPECT_FALSE(s.FillSolid()) << "element " << e << ": filling left solid";
    }
}

TEST(Sketch, AtomColoursAndHeteroatom) {
    EXPECT_EQ(AtomColour(1), colour::kNavy);
    EXPECT_EQ(AtomColour(2), colour::kTeal);
    EXPECT_EQ(AtomColour(12), colour::kTeal);
    EXPECT_EQ(AtomColour(3), colour::kGreen);
    EXPECT_EQ(AtomColour(13), colour::kGreen);
    EXPECT_EQ(AtomColour(14), colour::kMaroon);
    EXPECT_EQ(AtomColour(5), colour::kNavy);
    // Pyridine: its nitrogen (element 2) is the teal circle.
    Calc("2-2,3-1,4-1,13-1,12-1,11-1", kBenzeneBonds);
    RecordingSurface s;
    DrawSketch(s);
    auto circles = s.Page(Primitive::kCircle);
    ASSERT_EQ(circles.size(), 6u);
    EXPECT_EQ(circles[0].fill, colour::kTeal);
    EXPECT_EQ(circles[0].x, std::nearbyint(AtomPos(1).x));
    EXPECT_EQ(circles[1].fill, colour::kNavy);
}

TEST(Sketch, HalfSizeSketchOfButadiene) {
    Calc("1-1,2-1,3-1,4-1", "1-2,2-3,3-4");
    RecordingSurface s;
    LayoutSketch(s, true);
    EXPECT_FLOAT_EQ(AtomPos(1).x, 170);
    EXPECT_FLOAT_EQ(AtomPos(4).x, 470);
    auto circles = s.Recorded();
    std::vector<Primitive> marks, lines;
    for (const auto& p : circles) (p.kind == Primitive::kCircle ? marks : lines).push_back(p);
    ASSERT_EQ(marks.size(), 4u);
    ASSERT_EQ(lines.size(), 3u);
    for (int i = 1; i <= 4; ++i) {
        EXPECT_EQ(marks[i - 1].radius, 10);
        EXPECT_EQ(marks[i - 1].x, std::nearbyint(AtomPos(i).x / 2));
        EXPECT_EQ(marks[i - 1].y, std::nearbyint(AtomPos(i).y / 2));
    }
    EXPECT_EQ(lines[0].colour, colour::kOlive);
    EXPECT_FLOAT_EQ(lines[0].x, AtomPos(2).x / 2);
    EXPECT_FLOAT_EQ(lines[0].x2, AtomPos(1).x / 2);
    RecordingSurface quiet;
    LayoutSketch(quiet, false);
    EXPECT_TRUE(quiet.Recorded().empty());
}

std::vector<float> RadiiAt(const RecordingSurface& s, float x, float y, Rgb c) {
    std::vector<float> r;
    for (const auto& p : s.Page(Primitive::kCircle))
        if (p.x == x && p.y == y && p.colour == c) r.push_back(p.radius);
    return r;
}

TEST(OrbitalPlanar, EthyleneRingsLabelsAndTable) {
    Calc("1-1,2-1", "1-2");
    RecordingSurface s;
    ShowOrbitalPlanar(s, 0);
    std::vector<float> expect;
    for (double r = std::fabs(Cvec(1, 1)) * 45; r >= 0; r -= 3)
        expect.push_back(static_cast<float>(r));
    ASSERT_EQ(expect.size(), 11u);
    EXPECT_NEAR(expect.front(), 31.82, 0.01);
    EXPECT_NEAR(expect.back(), 1.82, 0.01);
    for (int i = 1; i <= 2; ++i) {
        auto radii = RadiiAt(s, AtomPos(i).x, AtomPos(i).y, colour::kRed);
        ASSERT_EQ(radii.size(), expect.size()) << "atom " << i;
        for (std::size_t k = 0; k < radii.size(); ++k) EXPECT_NEAR(radii[k], expect[k], 1e-4);
    }
    auto homo = s.TextsEqual("ＨＯＭＯです");
    ASSERT_EQ(homo.size(), 1u);
    EXPECT_EQ(homo[0].colour, colour::kBlue);
    EXPECT_EQ(homo[0].x, 300);
    EXPECT_EQ(homo[0].y, 20);
    EXPECT_EQ(s.TextsEqual("分子軌道エネルギー = 01.0000").size(), 1u);
    EXPECT_EQ(s.TextsEqual("分子軌道 =  1 ").at(0).colour, colour::kRed);
    EXPECT_EQ(s.TextsEqual("軌道 =1").at(0).y, 10);
    EXPECT_EQ(s.TextsEqual("原子").at(0).y, 42);
    auto coeff = s.TextsEqual("0.7071");
    ASSERT_EQ(coeff.size(), 2u);
    EXPECT_EQ(coeff[0].x, 550);
    EXPECT_EQ(coeff[0].y, 40);
    EXPECT_EQ(coeff[1].y, 60);
    // Caption right of the outer ring, the bond line blue over the circles.
    auto caption = s.TextsEqual("C");
    ASSERT_EQ(caption.size(), 2u);
    EXPECT_NEAR(caption[0].x, AtomPos(1).x + 31.82 + 5, 0.01);
    EXPECT_EQ(caption[0].colour, colour::kGreen);
    EXPECT_EQ(s.Page().back().kind, Primitive::kLine);
    EXPECT_EQ(s.Page().back().colour, colour::kBlue);

    ShowOrbitalPlanar(s, 1);
    EXPECT_EQ(RadiiAt(s, AtomPos(1).x, AtomPos(1).y, colour::kRed).size(), 11u);
    EXPECT_EQ(RadiiAt(s, AtomPos(2).x, AtomPos(2).y, colour::kBlue).size(), 11u);
    EXPECT_EQ(s.TextsEqual("ＬＵＭＯです").at(0).colour, colour::kMagenta);
}

TEST(OrbitalPlanar, AllylMiddleAtomHasNoRings) {
    Calc("1-1,2-1,3-1", "1-2,2-3");
    RecordingSurface s;
    ShowOrbitalPlanar(s, 1);
    EXPECT_TRUE(RadiiAt(s, AtomPos(2).x, AtomPos(2).y, colour::kRed).empty());
    EXPECT_TRUE(RadiiAt(s, AtomPos(2).x, AtomPos(2).y, colour::kBlue).empty());
    auto captions = s.TextsEqual("C");
    ASSERT_EQ(captions.size(), 3u);
    EXPECT_EQ(captions[1].x, AtomPos(2).x + 10);
    EXPECT_EQ(s.TextsEqual("ＳＯＭＯです").at(0).colour, colour::kRed);
    EXPECT_TRUE(s.TextsEqual("ＨＯＭＯです").empty());
}

// The allyl radical on sites 1-3. Its sketch (from the lattice: sites at x =
// 90, 179, 269, y = 49, 81, 49) puts the atoms at (170, 173.1844),
// (319.1620, 226.8156), (470, 173.1844); orbital 2 has the coefficients
// 0.7071, 0, -0.7071 and x = 0. Worked out independently of the code.
constexpr float kAllylY = 173.18436f, kAllylMidX = 319.16202f, kAllylMidY = 226.81564f;

TEST(OrbitalPlanar, AllylSomoEveryTextAndBond) {
    Calc("1-1,2-1,3-1", "1-2,2-3");
    RecordingSurface s;
    ShowOrbitalPlanar(s, 1);
    const Rgb k = colour::kBlack, g = colour::kGreen;
    const float ring = 0.70710678f * 45;
    ExpectTexts(s,
                {{"分子軌道エネルギー = 00.0000", 100, 100, k},
                 {"分子軌道 =  2 ", 10, 200, colour::kRed},
                 {"ＳＯＭＯです", 300, 20, colour::kRed},
                 {"原子", 450, 42, k},
                 {"軌道 =2", 450, 10, k},
                 {"1", 500, 40, k},
                 {"0.7071", 550, 40, k},
                 {"2", 500, 60, k},
                 {"0.0000", 550, 60, k},
                 {"3", 500, 80, k},
                 {"-0.7071", 550, 80, k},
                 {" 1 ", 170, kAllylY, k},
                 {"C", 170 + ring + 5, kAllylY, g},
                 {" 2 ", kAllylMidX, kAllylMidY, k},
                 {"C", kAllylMidX + 10, kAllylMidY, g},
                 {" 3 ", 470, kAllylY, k},
                 {"C", 470 + ring + 5, kAllylY, g}},
                "allyl planar orbital 2");
    ExpectLines(s.Page(Primitive::kLine),
                {{170, kAllylY, kAllylMidX, kAllylMidY, colour::kBlue},
                 {kAllylMidX, kAllylMidY, 470, kAllylY, colour::kBlue}},
                "allyl planar orbital 2");
    EXPECT_EQ(RadiiAt(s, 170, kAllylY, colour::kRed).size(), 11u) << "positive end: red rings";
    EXPECT_EQ(RadiiAt(s, 470, kAllylY, colour::kBlue).size(), 11u) << "negative end: blue rings";
    EXPECT_EQ(s.Page(Primitive::kCircle).size(), 22u);
}

TEST(Orbital3D, AllylSomoEveryTextBondAndAtom) {
    Calc("1-1,2-1,3-1", "1-2,2-3");
    RecordingSurface s;
    ShowOrbital3D(s, 1);
    const Rgb k = colour::kBlack, m = colour::kMagenta, g = colour::kGreen;
    // The atoms seen from 15° above: (120, 206), (251, 192), (410, 206).
    ExpectTexts(s,
                {{" 3 ", 380, 50, m},
                 {"個の分子軌道中", 400, 50, k},
                 {" 2 ", 512, 50, m},
                 {"番目の軌道", 536, 50, k},
                 {"分子軌道エネルギー E =", 200, 330, colour::kBlue},
                 {"00.0000", 400, 330, m},
                 {"1", 500, 90, m},
                 {"0.7071", 550, 90, m},
                 {"2", 500, 110, m},
                 {"0.0000", 550, 110, m},
                 {"3", 500, 130, m},
                 {"-0.7071", 550, 130, m},
                 {"ＳＯＭＯです", 250, 20, colour::kRed},
                 {"C", 130, 216, g},
                 {"C", 261, 202, g},
                 {"C", 420, 216, g}},
                "allyl 3-D orbital 2");
    ExpectLines(s.Page(Primitive::kLine), {{251, 192, 120, 206, k}, {410, 206, 251, 192, k}},
                "allyl 3-D orbital 2");
    auto marks = s.Page(Primitive::kCircle);
    ASSERT_EQ(marks.size(), 3u);
    const float at[][2] = {{120, 206}, {251, 192}, {410, 206}};
    for (int i = 0; i < 3; ++i) {
        EXPECT_EQ(marks[i].x, at[i][0]) << "atom " << i + 1;
        EXPECT_EQ(marks[i].y, at[i][1]) << "atom " << i + 1;
        EXPECT_EQ(marks[i].radius, 10);
        EXPECT_TRUE(marks[i].filled);
        EXPECT_EQ(marks[i].fill, colour::kNavy) << "atom " << i + 1;
    }
}

TEST(Projection, KnownPointsAndCoefficients) {
    const Projection p = ViewProjection();
    EXPECT_FLOAT_EQ(p.mcs, -0.2500001f);
    EXPECT_FLOAT_EQ(p.s2, 0.06698736f);
    EXPECT_EQ(ProjectX(300, 200, 0, p.c, p.mcs, p.s2, 1), 239);
    EXPECT_EQ(ProjectY(200, 0, p.s, p.c, 1), 199);
    // A height is drawn upwards.
    EXPECT_LT(ProjectY(200, 100, p.s, p.c, 1), 199 - 90);
    EXPECT_EQ(ProjectX(-0.5f, 0, 0, 1, 0, 0, 1), -1);  // rounds down, not towards zero
}

std::vector<Primitive> PointsNear(const RecordingSurface& s, float x, float below, float above,
                                  Rgb c) {
    std::vector<Primitive> out;
    for (const auto& p : s.Page(Primitive::kPoint))
        if (std::fabs(p.x - x) < 60 && p.y >= below && p.y <= above && p.colour == c)
            out.push_back(p);
    return out;
}

TEST(Orbital3D, EthyleneLobesTextsAndEvents) {
    Calc("1-1,2-1", "1-2");
    RecordingSurface s;
    ShowOrbital3D(s, 1);
    const Projection pr = ViewProjection();
    // Coefficients +0.7071 and -0.7071: 14 rings of 43 points per lobe.
    EXPECT_EQ(s.Page(Primitive::kPoint).size(), 2u * 2 * 14 * 43);
    EXPECT_EQ(s.Page(Primitive::kEvents).size(), 2u * 2 * 14);
    for (int i = 1; i <= 2; ++i) {
        const float X = ProjectX(AtomPos(i).x, AtomPos(i).y, 0, pr.c, pr.mcs, pr.s2, 1);
        const float Y = ProjectY(AtomPos(i).y, 0, pr.s, pr.c, 1);
        const Rgb up = Cvec(i, 2) > 0 ? colour::kRed : colour::kBlue;
        const Rgb down = up == colour::kRed ? colour::kBlue : colour::kRed;
        EXPECT_EQ(PointsNear(s, X, Y - 120, Y, up).size(), 14u * 43) << "upper lobe of atom " << i;
        EXPECT_EQ(PointsNear(s, X, Y, Y + 120, down).size(), 14u * 43)
            << "lower lobe of atom " << i;
        auto marks = s.Page(Primitive::kCircle);
        EXPECT_EQ(marks.at(i - 1).x, X);
        EXPECT_EQ(marks.at(i - 1).radius, 10);
    }
    EXPECT_EQ(s.TextsEqual("個の分子軌道中").at(0).x, 400);
    // n and o written as integers in magenta, the texts between in black.
    auto numbers = s.TextsEqual(" 2 ");
    ASSERT_EQ(numbers.size(), 2u);
    EXPECT_EQ(numbers[0].x, 380);
    EXPECT_EQ(numbers[1].x, 400 + 7 * RecordingSurface::kWide);
    EXPECT_EQ(numbers[1].colour, colour::kMagenta);
    auto tail = s.TextsEqual("番目の軌道");
    ASSERT_EQ(tail.size(), 1u);
    EXPECT_EQ(tail[0].x, numbers[1].x + 3 * RecordingSurface::kNarrow);
    EXPECT_EQ(tail[0].colour, colour::kBlack);
    EXPECT_EQ(s.TextsEqual("-01.0000").at(0).x, 400);
    EXPECT_EQ(s.TextsEqual("-0.7071").at(0).y, 20 * 2 + 70);
    EXPECT_EQ(s.TextsEqual("ＬＵＭＯです").at(0).x, 250);
}

TEST(Orbital3D, SmallCoefficientsRingCounts) {
    Calc("1-1,2-1", "1-2");
    // a = 0.1: one ring per lobe at the tip, seven points on one spot;
    // a = 0.5: nine rings (the step is 0.05 in single precision); a below
    // 0.05 gets nothing.
    struct Case {
        double a;
        std::size_t rings, pointsPerRing;
    };
    for (const Case c : {Case{0.1, 1, 7}, Case{0.5, 9, 31}, Case{0.04, 0, 0}, Case{0.0005, 0, 0}}) {
        SCOPED_TRACE(c.a);
        Cvec(1, 1) = c.a;
        Cvec(2, 1) = 0;
        RecordingSurface s;
        ShowOrbital3D(s, 0);
        auto points = s.Page(Primitive::kPoint);
        EXPECT_EQ(points.size(), 2 * c.rings * c.pointsPerRing);
        EXPECT_EQ(s.Page(Primitive::kEvents).size(), 2 * c.rings);
        if (c.a == 0.1) {
            std::set<std::pair<float, float>> spots;
            for (const auto& p : points) spots.insert({p.x, p.y});
            EXPECT_EQ(spots.size(), 2u);
        }
    }
}

TEST(Orbital3D, OrbitalBeyondCountClearsOnly) {
    Calc("1-1,2-1", "1-2");
    RecordingSurface s;
    ShowOrbital3D(s, 2);
    EXPECT_TRUE(s.Page().empty());
    EXPECT_EQ(s.Recorded().size(), 2u);  // hide grid, clear
}

TEST(Orbital3D, StopsWhenAnotherPageIsDrawnMeanwhile) {
    Calc("1-1,2-1", "1-2");
    RecordingSurface s;
    int events = 0;
    s.OnEvents = [&] {
        if (++events == 3) ShowEnergyDiagram(s);
    };
    ShowOrbital3D(s, 0);
    EXPECT_EQ(events, 3);
    EXPECT_TRUE(s.Page(Primitive::kPoint).empty()) << "lobes drawn over the diagram";
    EXPECT_EQ(s.TextsEqual("** 分子軌道エネルギーダイヤグラム **").size(), 1u);
}

}  // namespace
