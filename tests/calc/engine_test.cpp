// SPDX-License-Identifier: BSD-3-Clause
#include <gtest/gtest.h>

#include <cmath>

#include "orbix/calc/EigenTable.h"
#include "orbix/calc/modCalculation.h"
#include "orbix/model/modConnect.h"
#include "orbix/model/modOrbix.h"
#include "tests/support/TestMolecules.h"

namespace {

using namespace modCalculation;
using testing_support::Calculate;

using testing_support::kBenzeneAtoms;
using testing_support::kBenzeneBonds;

TEST(Engine, EthyleneOneRotation) {
    auto out = Calculate("1-1,2-1", "1-2");
    ASSERT_EQ(out.code, 0) << out.message;
    EXPECT_NEAR(EigVal(1), 1, 1e-15);
    EXPECT_NEAR(EigVal(2), -1, 1e-15);
    // The rotation's root choice gives these signs.
    EXPECT_NEAR(Cvec(1, 1), M_SQRT1_2, 1e-15);
    EXPECT_NEAR(Cvec(2, 1), M_SQRT1_2, 1e-15);
    EXPECT_NEAR(Cvec(1, 2), M_SQRT1_2, 1e-15);
    EXPECT_NEAR(Cvec(2, 2), -M_SQRT1_2, 1e-15);
    EXPECT_LT(out.maxOff, 1e-15);
    EXPECT_NEAR(modOrbix::CurrentMolecule->Energy(), 2.0, 1e-15);
    EXPECT_EQ(Occ(1), 2);
    EXPECT_EQ(Occ(2), 0);
    EXPECT_FLOAT_EQ(Hmat(1, 1), 1);
    EXPECT_FLOAT_EQ(Hmat(1, 2), 1);

    auto g = EigenTableCells();
    ASSERT_EQ(g.size(), 4u);
    ASSERT_EQ(g[0].size(), 3u);
    EXPECT_EQ(g[1][1], "          1.");
    EXPECT_EQ(g[1][2], "         -1.");
    EXPECT_EQ(g[2][1], "       .7071");
    EXPECT_EQ(g[3][2], "      -.7071");
    EXPECT_EQ(GridCsv(g),
              "分子軌道,1,2\r\n軌道energy,          1.,         -1.\r\n"
              "1,       .7071,       .7071\r\n2,       .7071,      -.7071\r\n");
}

TEST(Engine, ButadieneChain) {
    auto out = Calculate("1-1,2-1,3-1,4-1", "1-2,2-3,3-4");
    ASSERT_EQ(out.code, 0);
    const double expect[] = {1.618034, 0.618034, -0.618034, -1.618034};
    for (int k = 1; k <= 4; ++k) EXPECT_NEAR(EigVal(k), expect[k - 1], 1e-6);
    // Secular matrix: zeros on the diagonal, 1 on the three bonds.
    for (int i = 1; i <= 4; ++i)
        for (int j = 1; j <= 4; ++j)
            EXPECT_EQ(Hmat0(i, j), std::abs(i - j) == 1 ? 1.0 : 0.0) << i << "," << j;
    EXPECT_NEAR(modOrbix::CurrentMolecule->Energy(), 2 * (1.618034 + 0.618034), 1e-5);
    EXPECT_EQ(LevelCount, 4);
}

TEST(Engine, AllylRadical) {
    auto out = Calculate("1-1,2-1,3-1", "1-2,2-3");
    ASSERT_EQ(out.code, 0);
    EXPECT_EQ(modOrbix::CurrentMolecule->Homo_num(), 2);
    EXPECT_NEAR(modOrbix::CurrentMolecule->Energy(), 2 * M_SQRT2, 1e-9);
    EXPECT_EQ(Occ(1), 2);
    EXPECT_EQ(Occ(2), 1);
    EXPECT_EQ(Occ(3), 0);
    // Converged to 1e-5 off the diagonal; the densities show as 1.000.
    for (int i = 1; i <= 3; ++i) EXPECT_NEAR(Hmat(i, i), 1.0, 1e-5);
    EXPECT_NEAR(std::fabs(Cvec(2, 2)), 0, 1e-9);
}

TEST(Engine, BenzeneDegenerateLevels) {
    auto out = Calculate(kBenzeneAtoms, kBenzeneBonds);
    ASSERT_EQ(out.code, 0);
    EXPECT_EQ(LevelCount, 4);
    const double levels[] = {2, 1, -1, -2};
    const float degs[] = {1, 2, 2, 1};
    for (int i = 1; i <= 4; ++i) {
        EXPECT_NEAR(LevelE(i), levels[i - 1], 1e-9);
        EXPECT_EQ(LevelDeg(i), degs[i - 1]);
    }
    EXPECT_NEAR(modOrbix::CurrentMolecule->Energy(), 8.0, 1e-9);
    const int occ[] = {2, 2, 2, 0, 0, 0};
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(Occ(k), occ[k - 1]);
    for (int k = 1; k <= 6; ++k) {
        double len = 0;
        for (int r = 1; r <= 6; ++r) len += Cvec(r, k) * Cvec(r, k);
        EXPECT_NEAR(len, 1, 1e-6) << "column " << k;
    }
    for (int i = 1; i <= 6; ++i) EXPECT_NEAR(Hmat(i, i), 1, 1e-6);
    EXPECT_NEAR(Hmat(1, 2), 2.0 / 3, 1e-6);
    EXPECT_NEAR(Hmat(1, 6), 2.0 / 3, 1e-6);
}

TEST(Engine, CyclobutadieneHundOccupation) {
    auto out = Calculate("2-1,3-1,12-1,11-1", "2-3,3-12,11-12,2-11");
    ASSERT_EQ(out.code, 0);
    EXPECT_EQ(LevelCount, 3);
    EXPECT_EQ(LevelDeg(2), 2.0f);
    EXPECT_EQ(Occ(1), 2);
    EXPECT_EQ(Occ(2), 1);
    EXPECT_EQ(Occ(3), 1);
    EXPECT_EQ(Occ(4), 0);
    EXPECT_NEAR(modOrbix::CurrentMolecule->Energy(), 4.0, 1e-9);
}

TEST(Engine, HeteroatomCorrectionWhicheverAtomComesFirst) {
    testing_support::UseShippedAtoms();
    const clsAtom& n = *modOrbix::colAtoms.Item(2);
    for (const char* atoms : {"1-1,2-2", "2-2,1-1"}) {
        auto out = Calculate(atoms, "1-2");
        ASSERT_EQ(out.code, 0);
        int c = modOrbix::CurrentMolecule->Item(1)->Atom()->index() == 1 ? 1 : 2;
        int x = 3 - c;
        EXPECT_EQ(Hmat0(c, c), static_cast<double>(n.Hb())) << atoms;
        EXPECT_EQ(Hmat0(x, x), static_cast<double>(n.Ha())) << atoms;
        EXPECT_EQ(Hmat0(1, 2), static_cast<double>(n.Hl()));
    }
    // Pyridine: a carbon not next to the nitrogen keeps h = 0 exactly.
    auto out = Calculate("2-2,3-1,4-1,13-1,12-1,11-1", kBenzeneBonds);
    ASSERT_EQ(out.code, 0);
    EXPECT_EQ(Hmat0(3, 3), 0.0);
    EXPECT_EQ(Hmat0(2, 2), static_cast<double>(n.Hb()));
    EXPECT_EQ(Hmat0(6, 6), static_cast<double>(n.Hb()));
}

// A heteroatom radical: its singly occupied orbital does not lie at x = 0,
// so the odd-electron correction of the total energy shows (the allyl and
// benzyl radicals cannot tell). Reference values from an independent
// implementation of the same rules.
TEST(Engine, TotalEnergyOfAHeteroatomRadical) {
    auto out = Calculate("1-1,2-1,3-2", "1-2,2-3");  // C-C-N, pyridine-type nitrogen
    ASSERT_EQ(out.code, 0) << out.message;
    const Molecule& m = *modOrbix::CurrentMolecule;
    ASSERT_EQ(m.E_num(), 3);
    EXPECT_NEAR(EigVal(1), 1.592847, 1e-6);
    EXPECT_NEAR(EigVal(2), 0.243943, 1e-6);
    EXPECT_NEAR(m.Energy(), 3.429638, 1e-6)
        << "C-C-N radical: 2·x1 + x2, with x1 = " << EigVal(1) << ", x2 = " << EigVal(2);
}

// Builds CurrentMolecule from element numbers on consecutive sites and the
// given bonds (atom numbers), without the structure check.
void UncheckedMolecule(const std::vector<int>& elements,
                       const std::vector<std::pair<int, int>>& bonds) {
    testing_support::UseShippedAtoms();
    std::vector<std::shared_ptr<clsNode>> nodes;
    for (std::size_t i = 0; i < elements.size(); ++i) {
        auto node = std::make_shared<clsNode>();
        node->Initialize(modOrbix::colAtoms.Item(elements[i]), static_cast<std::int16_t>(i + 1));
        nodes.push_back(node);
    }
    modOrbix::CurrentMolecule = std::make_shared<Molecule>();
    modOrbix::CurrentMolecule->Initialize(nodes, testing_support::Bonds(bonds));
    ResetResults(static_cast<int>(elements.size()));
}

TEST(Engine, TwoHeteroatomsBondedDirectly) {
    // The structure check refuses this drawing; the matrix rule still holds:
    // the higher-numbered atom receives the lower one's Hb, never the reverse.
    const double haN = 0.5, hbN = 0.05f, haO = 1.0, hbO = 0.1f;  // N (2) and O (4)
    UncheckedMolecule({2, 4}, {{1, 2}});
    BuildSecularMatrix();
    EXPECT_EQ(Hmat0(1, 1), haN) << "N-O: the nitrogen keeps its own h";
    EXPECT_EQ(Hmat0(2, 2), haO + hbN) << "N-O: the oxygen gets the nitrogen's Hb";
    UncheckedMolecule({4, 2}, {{1, 2}});
    BuildSecularMatrix();
    EXPECT_EQ(Hmat0(1, 1), haO) << "O-N: the oxygen keeps its own h";
    EXPECT_EQ(Hmat0(2, 2), haN + hbO) << "O-N: the nitrogen gets the oxygen's Hb";
    // A carbon between two heteroatoms takes both; a heteroatom between two
    // carbons lends its Hb to both.
    UncheckedMolecule({2, 1, 4}, {{1, 2}, {2, 3}});
    BuildSecularMatrix();
    EXPECT_EQ(Hmat0(2, 2), 0.0 + hbN + hbO) << "N-C-O: the carbon";
    UncheckedMolecule({1, 2, 1}, {{1, 2}, {2, 3}});
    BuildSecularMatrix();
    EXPECT_EQ(Hmat0(1, 1), hbN) << "C-N-C: the first carbon";
    EXPECT_EQ(Hmat0(3, 3), hbN) << "C-N-C: the last carbon";
    EXPECT_EQ(Hmat0(2, 2), haN) << "C-N-C: the nitrogen";
}

// Whole eigen tables, cell by cell, against an independent implementation of
// the diagonalisation, the sort and the orientation of degenerate pairs.
struct PinnedTable {
    const char* name;
    const char* atoms;
    const char* bonds;
    double energy;
    std::vector<std::vector<std::string>> body;  // eigenvalue row, then one row per atom
};

void ExpectTable(const PinnedTable& t) {
    auto out = Calculate(t.atoms, t.bonds);
    ASSERT_EQ(out.code, 0) << t.name << ": " << out.message;
    EXPECT_NEAR(modOrbix::CurrentMolecule->Energy(), t.energy, 1e-6) << t.name;
    const TextGrid cells = EigenTableCells();
    const std::size_t n = t.body[0].size();
    ASSERT_EQ(cells.size(), n + 2) << t.name;
    for (std::size_t r = 0; r < t.body.size(); ++r)
        for (std::size_t k = 0; k < n; ++k)
            EXPECT_EQ(cells[r + 1][k + 1], t.body[r][k])
                << t.name << (r == 0 ? ": eigenvalue" : ": atom " + std::to_string(r))
                << " of orbital " << k + 1;
}

TEST(EigenTables, CyclobutadieneBenzeneAndAThreefoldLevel) {
    const PinnedTable tables[] = {
        {"cyclobutadiene",
         "2-1,3-1,12-1,11-1",
         "2-3,3-12,11-12,2-11",
         4.0,
         {{"          2.", "           .", "           .", "         -2."},
          {"         -.5", "      -.6625", "      -.2472", "          .5"},
          {"         -.5", "      -.2472", "       .6625", "         -.5"},
          {"         -.5", "       .6625", "       .2472", "          .5"},
          {"         -.5", "       .2472", "      -.6625", "         -.5"}}},
        {"benzene",
         kBenzeneAtoms,
         kBenzeneBonds,
         8.0,
         {{"          2.", "          1.", "          1.", "         -1.", "         -1.",
           "         -2."},
          {"       .4082", "       .3268", "       -.476", "       .5524", "       .1678",
           "       .4082"},
          {"       .4082", "      -.2488", "       -.521", "      -.1309", "      -.5623",
           "      -.4082"},
          {"       .4082", "      -.5756", "       -.045", "      -.4216", "       .3945",
           "       .4082"},
          {"       .4082", "      -.3268", "        .476", "       .5524", "       .1678",
           "      -.4082"},
          {"       .4082", "       .2488", "        .521", "      -.1309", "      -.5623",
           "       .4082"},
          {"       .4082", "       .5756", "        .045", "      -.4216", "       .3945",
           "      -.4082"}}},
        // Two branch points joined through one carbon: x = 0 three times.
        {"seven-carbon tree",
         "1-1,2-1,3-1,11-1,12-1,13-1,21-1",
         "1-2,2-3,2-11,11-12,12-13,12-21",
         6.828427,
         {{"          2.", "      1.4142", "           .", "           .", "           .",
           "     -1.4142", "         -2."},
          {"         .25", "       .3536", "       .1023", "      -.6503", "       .4377",
           "      -.3536", "        -.25"},
          {"          .5", "          .5", "           .", "           .", "           .",
           "          .5", "          .5"},
          {"         .25", "       .3536", "       .2243", "       .7355", "       .1836",
           "      -.3536", "        -.25"},
          {"          .5", "           .", "      -.3267", "      -.0852", "      -.6213",
           "           .", "         -.5"},
          {"          .5", "         -.5", "           .", "           .", "           .",
           "         -.5", "          .5"},
          {"         .25", "      -.3536", "      -.4608", "       .1549", "       .6234",
           "       .3536", "        -.25"},
          {"         .25", "      -.3536", "       .7875", "      -.0697", "      -.0021",
           "       .3536", "        -.25"}}},
    };
    for (const auto& t : tables) ExpectTable(t);
}

TEST(Engine, RefusalsOfTheCalcCommand) {
    EXPECT_EQ(Calculate("1-1", "").code, CalcSession::kNoMolecule);
    EXPECT_EQ(Calculate("1-1,2-1", "").code, CalcSession::kNoMolecule);
    auto out = Calculate("1-1,2-1,3-1", "1-2");
    EXPECT_EQ(out.code, 1);
    EXPECT_EQ(out.message, modConnect::StructureMessage(1));
    EXPECT_EQ(Calculate("1-2,2-2", "1-2").code, 3);
    EXPECT_EQ(Calculate("1-4,2-1,3-1", "1-2,2-3,1-3").code, 2) << "carbonyl O with two bonds";
}

TEST(Engine, AlreadyDiagonalStopsAtFirstMeasurement) {
    testing_support::UseShippedAtoms();
    auto out = Calculate("1-1,2-1", "1-2");
    ASSERT_EQ(out.code, 0);
    ResetResults(3);
    Hmat(1, 1) = -1;
    Hmat(2, 2) = 2;
    Hmat(3, 3) = 2;
    double maxOff = -1;
    JacobiDiagonalize(maxOff);
    EXPECT_EQ(maxOff, 0);
    SortEigenpairs();
    // Equal values are exchanged too: columns 2 and 3 change places after 1 and 2 did.
    EXPECT_EQ(Hmat(1, 1), 2);
    EXPECT_EQ(Hmat(3, 3), -1);
    EXPECT_EQ(Cvec(3, 1), 1);
    EXPECT_EQ(Cvec(2, 2), 1);
    EXPECT_EQ(Cvec(1, 3), 1);
}

// The diagonalisation's loops read the arrays without bounds checks; arrays
// of the wrong shape must be refused where the steps are entered.
TEST(Engine, StepsRefuseArraysOfTheWrongShape) {
    testing_support::UseShippedAtoms();
    ASSERT_EQ(Calculate("1-1,2-1", "1-2").code, 0);
    auto errorNumber = [](auto step) {
        try {
            step();
        } catch (const orbix::RunTimeError& e) {
            return e.Number();
        }
        return 0;
    };
    double maxOff = 0;
    ResetResults(1);
    EXPECT_EQ(errorNumber([&] { JacobiDiagonalize(maxOff); }), orbix::errSubscript)
        << "a 1 x 1 matrix has no element (2, 1) to measure";
    ResetResults(3);
    Cvec.assign(2, 2);
    EXPECT_EQ(errorNumber([&] { JacobiDiagonalize(maxOff); }), orbix::errSubscript)
        << "Cvec 2 x 2 beside Hmat 3 x 3";
    ResetResults(3);
    Cvec.assign(3, 2);
    EXPECT_EQ(errorNumber([] { SortEigenpairs(); }), orbix::errSubscript) << "Cvec 3 x 2";
    ResetResults(37);
    EXPECT_EQ(errorNumber([] { BuildChargeBondOrderMatrix(); }), orbix::errSubscript)
        << "37 orbitals, 36 occupation numbers";
}

TEST(Engine, LevelToleranceIsMeasuredFromTheLevelsFirstOrbital) {
    testing_support::UseShippedAtoms();
    auto out = Calculate("1-1,2-1", "1-2");
    ASSERT_EQ(out.code, 0);
    EigVal.assign(4);
    LevelDeg.assign(4, 0);
    const double x[] = {1.0, 0.9991, 0.9982, 0.0};
    for (int i = 1; i <= 4; ++i) EigVal(i) = x[i - 1];
    GroupLevels();
    ASSERT_EQ(LevelCount, 3);
    EXPECT_EQ(LevelDeg(1), 2.0f);
    EXPECT_EQ(LevelDeg(2), 1.0f);
}

TEST(Engine, FiveElectronsInAThreefoldLevel) {
    testing_support::UseShippedAtoms();
    auto out = Calculate("1-1,2-1", "1-2");  // fills CurrentMolecule with 2 electrons
    ASSERT_EQ(out.code, 0);
    // Seven electrons: level of one orbital, then a threefold level.
    std::vector<std::shared_ptr<clsNode>> nodes;
    BondCollection none;
    for (int i = 0; i < 4; ++i) {
        auto node = std::make_shared<clsNode>();
        node->Initialize(modOrbix::colAtoms.Item(i == 0 ? 3 : 1), static_cast<std::int16_t>(i + 1));
        nodes.push_back(node);
    }
    nodes.push_back(nodes[1]);  // 2 + 1 + 1 + 1 + 1 + 1 = 7 electrons over 6 nodes
    nodes.push_back(nodes[2]);
    modOrbix::CurrentMolecule->Initialize(nodes, none);
    ASSERT_EQ(modOrbix::CurrentMolecule->E_num(), 7);
    EigVal.assign(6);
    LevelDeg.assign(6, 0);
    const double x[] = {2, 1, 1, 1, -1, -2};
    for (int i = 1; i <= 6; ++i) EigVal(i) = x[i - 1];
    GroupLevels();
    FillOrbitals();
    const int occ[] = {2, 2, 2, 1, 0, 0};
    for (int k = 1; k <= 6; ++k) EXPECT_EQ(Occ(k), occ[k - 1]) << k;
}

TEST(Engine, ElectronsBeyondTwicePerAtomAreRefused) {
    auto atoms = std::make_shared<clsAtom>();
    testing_support::UseShippedAtoms();
    // An element giving five electrons, as a careless table might.
    ASSERT_TRUE(atoms->Init({"Q", "5", "1", "0.1", "1", "2", "13"}));
    modOrbix::colAtoms.Add(atoms);
    int q = modOrbix::colAtoms.Count();
    auto out = Calculate("1-" + std::to_string(q) + ",2-1", "1-2");
    EXPECT_EQ(out.code, CalcSession::kTooManyElectrons);
    testing_support::UseShippedAtoms();
}

TEST(Engine, AtomPosLayout) {
    auto out = Calculate("1-1,2-1,3-1,4-1", "1-2,2-3,3-4");
    ASSERT_EQ(out.code, 0);
    EXPECT_FLOAT_EQ(AtomPos(1).x, 170);
    EXPECT_FLOAT_EQ(AtomPos(4).x, 470);
    EXPECT_NEAR(AtomPos(1).y, 200 - 16 * 300.0 / 268, 0.01);
    EXPECT_NEAR(AtomPos(2).y, 200 + 16 * 300.0 / 268, 0.01);
    // One column of atoms: axes exchanged, the sketch horizontal.
    out = Calculate("2-1,11-1", "2-11");
    ASSERT_EQ(out.code, 0);
    EXPECT_FLOAT_EQ(AtomPos(1).x, 170);
    EXPECT_FLOAT_EQ(AtomPos(2).x, 470);
    EXPECT_FLOAT_EQ(AtomPos(1).y, 200);
    // Drawn far right: still centred on (320, 200).
    out = Calculate("8-1,9-1", "8-9");
    ASSERT_EQ(out.code, 0);
    EXPECT_FLOAT_EQ((AtomPos(1).x + AtomPos(2).x) / 2, 320);
}

// Every shipped template passes the structure check and calculates.
TEST(Templates, EveryTemplateCalculates) {
    testing_support::UseShippedAtoms();
    int count = 0;
    for (const char* name :
         {"ethylene",  "butadiene",      "hexatriene",   "allyl",        "benzyl",
          "benzene",   "naphthalene",    "anthracene",   "phenanthrene", "styrene",
          "fulvene",   "cyclobutadiene", "pyridine",     "pyrrole",      "furan",
          "thiophene", "acrolein",       "formaldehyde", "toluene",      "chlorobenzene",
          "phenol",    "benzaldehyde"}) {
        modOrbix::CurrentMolecule = std::make_shared<Molecule>();
        auto out = CalcSession::CalculateFile(testing_support::TemplatePath(name));
        EXPECT_EQ(out.code, 0) << name << ": " << out.message;
        if (out.code) continue;
        ++count;
        const int n = modOrbix::CurrentMolecule->Count();
        double trace = 0;
        for (int i = 1; i <= n; ++i) trace += Hmat(i, i);
        EXPECT_NEAR(trace, modOrbix::CurrentMolecule->E_num(), 1e-4) << name;
        EXPECT_LT(out.maxOff, 1e-5) << name;
    }
    EXPECT_EQ(count, 22);
}

TEST(Templates, ClosedFormsOfRingsAndChains) {
    testing_support::UseShippedAtoms();
    struct {
        const char* name;
        int n;
        bool ring;
    } cases[] = {{"hexatriene", 6, false}, {"benzene", 6, true}, {"cyclobutadiene", 4, true}};
    for (const auto& c : cases) {
        modOrbix::CurrentMolecule = std::make_shared<Molecule>();
        ASSERT_EQ(CalcSession::CalculateFile(testing_support::TemplatePath(c.name)).code, 0);
        std::vector<double> expect;
        for (int j = 0; j < c.n; ++j)
            expect.push_back(c.ring ? 2 * std::cos(2 * M_PI * j / c.n)
                                    : 2 * std::cos(M_PI * (j + 1) / (c.n + 1)));
        std::sort(expect.rbegin(), expect.rend());
        for (int k = 1; k <= c.n; ++k) EXPECT_NEAR(EigVal(k), expect[k - 1], 1e-6) << c.name << k;
    }
}

}  // namespace
