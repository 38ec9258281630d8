// SPDX-License-Identifier: BSD-3-Clause
#include "tests/support/TestMolecules.h"

#include <gtest/gtest.h>

#include <memory>

#include "tests/support/TestFolders.h"

namespace testing_support {

void UseShippedAtoms() {
    std::string message;
    modOrbix::colAtoms.Clear();
    bool ok =
        modOrbix::LoadAtomDataFrom(SourceDir() + "data/atom.dat", modOrbix::colAtoms, message);
    ASSERT_TRUE(ok) << message;
    modOrbix::ComputeSites();
    modOrbix::BuildSiteLinks();
}

MoleculeFile::Drawing MakeDrawing(const std::string& atoms, const std::string& bonds) {
    MoleculeFile::Drawing d;
    EXPECT_TRUE(MoleculeFile::ParseDrawing(atoms, bonds, modOrbix::colAtoms.Count(), d))
        << "atoms " << atoms << " bonds " << bonds;
    return d;
}

CalcSession::Outcome Calculate(const std::string& atoms, const std::string& bonds) {
    if (modOrbix::colAtoms.Count() == 0) UseShippedAtoms();
    modOrbix::CurrentMolecule = std::make_shared<Molecule>();
    return CalcSession::Calculate(MakeDrawing(atoms, bonds));
}

BondCollection Bonds(const std::vector<std::pair<int, int>>& pairs) {
    BondCollection c;
    for (auto [a, b] : pairs) {
        auto bond = std::make_shared<CBond>();
        bond->Index1(static_cast<std::int16_t>(a));
        bond->Index2(static_cast<std::int16_t>(b));
        c.Add(bond);
    }
    return c;
}

std::string TemplatePath(const std::string& name) {
    return SourceDir() + "template/" + name + ".tpl";
}

}  // namespace testing_support
