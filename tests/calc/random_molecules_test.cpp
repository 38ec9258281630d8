// SPDX-License-Identifier: BSD-3-Clause
// Seeded random molecules on the lattice, checked against LAPACK's dsyev and
// against the invariants of the method.

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>

#include "orbix/calc/modCalculation.h"
#include "orbix/model/modCommon.h"
#include "orbix/model/modOrbix.h"
#include "tests/support/TestMolecules.h"

extern "C" void dsyev_(const char* jobz, const char* uplo, const int* n, double* a, const int* lda,
                       double* w, double* work, const int* lwork, int* info);

namespace {

using namespace modCalculation;

struct RandomMolecule {
    std::string atoms, bonds;
};

// Grows a connected patch of the lattice from a random site, bonds every
// linked pair inside it and turns some atoms into heteroatoms that the
// structure check accepts (no two heteroatoms bonded, valences kept).
RandomMolecule Grow(std::mt19937& rng) {
    int size = std::uniform_int_distribution<int>(2, 36)(rng);
    std::vector<int> sites{std::uniform_int_distribution<int>(1, 36)(rng)};
    std::vector<bool> in(37, false);
    in[sites[0]] = true;
    while (static_cast<int>(sites.size()) < size) {
        std::vector<int> frontier;
        for (int s : sites)
            for (int t = 1; t <= 36; ++t)
                if (!in[t] && modOrbix::SitesLinked(s, t)) frontier.push_back(t);
        if (frontier.empty()) break;
        int t = frontier[std::uniform_int_distribution<size_t>(0, frontier.size() - 1)(rng)];
        in[t] = true;
        sites.push_back(t);
    }
    std::vector<int> element(37, 1);
    std::vector<int> degree(37, 0);
    RandomMolecule m;
    for (size_t i = 0; i < sites.size(); ++i)
        for (size_t j = i + 1; j < sites.size(); ++j)
            if (modOrbix::SitesLinked(sites[i], sites[j])) {
                int a = std::min(sites[i], sites[j]), b = std::max(sites[i], sites[j]);
                m.bonds +=
                    (m.bonds.empty() ? "" : ",") + std::to_string(a) + "-" + std::to_string(b);
                ++degree[a];
                ++degree[b];
            }
    // Heteroatom candidates by valence: N (2), N: (3), O (1), O: (2), Cl (1), CH3 (1).
    const int hetero[] = {2, 3, 4, 5, 8, 10};
    for (int s : sites) {
        if (std::uniform_int_distribution<int>(0, 4)(rng) != 0) continue;
        bool nextToHetero = false;
        for (int t : sites)
            if (t != s && element[t] != 1 && modOrbix::SitesLinked(s, t)) nextToHetero = true;
        if (nextToHetero) continue;
        int e = hetero[std::uniform_int_distribution<int>(0, 5)(rng)];
        if (modOrbix::colAtoms.Item(e)->Hands() >= degree[s]) element[s] = e;
    }
    for (int s : sites)
        m.atoms +=
            (m.atoms.empty() ? "" : ",") + std::to_string(s) + "-" + std::to_string(element[s]);
    return m;
}

TEST(RandomMolecules, AgreeWithLapackAndKeepTheInvariants) {
    testing_support::UseShippedAtoms();
    std::mt19937 rng(20261207);
    int checked = 0;
    for (int trial = 0; trial < 300; ++trial) {
        RandomMolecule rm = Grow(rng);
        auto out = testing_support::Calculate(rm.atoms, rm.bonds);
        const std::string what = "[Atom]=" + rm.atoms + " [Bond]=" + rm.bonds;
        ASSERT_EQ(out.code, 0) << what << ": " << out.message;
        const int n = modOrbix::CurrentMolecule->Count();

        // Reference eigenvalues of the secular matrix as built.
        std::vector<double> a(n * n), w(n);
        for (int i = 1; i <= n; ++i)
            for (int j = 1; j <= n; ++j) a[(j - 1) * n + (i - 1)] = Hmat0(i, j);
        int lwork = -1, info = 0;
        double query;
        dsyev_("N", "U", &n, a.data(), &n, w.data(), &query, &lwork, &info);
        lwork = static_cast<int>(query);
        std::vector<double> work(lwork);
        dsyev_("N", "U", &n, a.data(), &n, w.data(), work.data(), &lwork, &info);
        ASSERT_EQ(info, 0);
        for (int k = 1; k <= n; ++k)
            EXPECT_NEAR(EigVal(k), w[n - k], 1e-6) << what << " orbital " << k;

        // Orthonormal columns, and H·c = x·c for each orbital.
        for (int k = 1; k <= n; ++k) {
            for (int l = k; l <= n; ++l) {
                double dot = 0;
                for (int r = 1; r <= n; ++r) dot += Cvec(r, k) * Cvec(r, l);
                EXPECT_NEAR(dot, k == l ? 1.0 : 0.0, 1e-5) << what << " columns " << k << "," << l;
            }
            for (int r = 1; r <= n; ++r) {
                double hc = 0;
                for (int s = 1; s <= n; ++s) hc += Hmat0(r, s) * Cvec(s, k);
                EXPECT_NEAR(hc, EigVal(k) * Cvec(r, k), 1e-4) << what << " orbital " << k;
            }
        }
        int occ = 0;
        double trace = 0;
        for (int k = 1; k <= n; ++k) {
            occ += Occ(k);
            trace += Hmat(k, k);
        }
        const int e = modOrbix::CurrentMolecule->E_num();
        EXPECT_EQ(occ, e) << what;
        EXPECT_NEAR(trace, e, 1e-4) << what;
        EXPECT_LT(out.maxOff, 1e-5);
        ++checked;
    }
    EXPECT_EQ(checked, 300);
}

// Alternant hydrocarbons have levels in +x/-x pairs.
TEST(RandomMolecules, HydrocarbonLevelsPairUp) {
    testing_support::UseShippedAtoms();
    std::mt19937 rng(7);
    for (int trial = 0; trial < 50; ++trial) {
        RandomMolecule rm = Grow(rng);
        std::string carbons;
        for (const auto& part : modCommon::SplitText(rm.atoms, ','))
            carbons += (carbons.empty() ? "" : ",") + part.substr(0, part.find('-')) + "-1";
        auto out = testing_support::Calculate(carbons, rm.bonds);
        ASSERT_EQ(out.code, 0);
        const int n = modOrbix::CurrentMolecule->Count();
        for (int k = 1; k <= n; ++k) EXPECT_NEAR(EigVal(k), -EigVal(n + 1 - k), 1e-6) << carbons;
    }
}

}  // namespace
