// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// Benchmark molecules: carbons on the given sites, in the given order, with
// every lattice link between them.

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "orbix/calc/CalcSession.h"
#include "orbix/model/modOrbix.h"

inline void LoadLattice() {
    static bool loaded = false;
    if (!loaded) {
        std::string message;
        if (!modOrbix::LoadAtomDataFrom(std::string(ORBIX_SOURCE_DIR) + "data/atom.dat",
                                        modOrbix::colAtoms, message))
            std::abort();
        modOrbix::ComputeSites();
        modOrbix::BuildSiteLinks();
        loaded = true;
    }
}

inline MoleculeFile::Drawing LatticeDrawing(const std::vector<int>& sites) {
    LoadLattice();
    MoleculeFile::Drawing d;
    for (int s : sites) d.atoms.push_back({static_cast<std::int16_t>(s), 1});
    for (size_t i = 0; i < sites.size(); ++i)
        for (size_t j = i + 1; j < sites.size(); ++j) {
            const int a = std::min(sites[i], sites[j]), b = std::max(sites[i], sites[j]);
            if (!modOrbix::SitesLinked(a, b)) continue;
            auto bond = std::make_shared<CBond>();
            bond->Index1(static_cast<std::int16_t>(a));
            bond->Index2(static_cast<std::int16_t>(b));
            d.bonds.Add(bond);
        }
    return d;
}

inline void CalculateLatticePatch(const std::vector<int>& sites) {
    const MoleculeFile::Drawing d = LatticeDrawing(sites);
    modOrbix::CurrentMolecule = std::make_shared<Molecule>();
    if (CalcSession::Calculate(d).code != 0) std::abort();
}

// All 36 sites.
inline std::vector<int> FullLattice() {
    std::vector<int> sites;
    for (int s = 1; s <= 36; ++s) sites.push_back(s);
    return sites;
}
