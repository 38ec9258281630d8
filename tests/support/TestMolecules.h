// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// Helpers shared by the tests: the shipped element table and molecules built
// from the molecule-file notation.

#include <string>
#include <utility>
#include <vector>

#include "orbix/calc/CalcSession.h"
#include "orbix/model/BondCollection.h"
#include "orbix/model/MoleculeFile.h"
#include "orbix/model/modOrbix.h"

namespace testing_support {

// Benzene on the lattice's hexagon, in the molecule-file notation.
inline constexpr const char* kBenzeneAtoms = "2-1,3-1,4-1,13-1,12-1,11-1";
inline constexpr const char* kBenzeneBonds = "2-3,3-4,4-13,12-13,11-12,2-11";

// Loads the shipped data/atom.dat into modOrbix::colAtoms and builds the lattice.
void UseShippedAtoms();

// A drawing from "[Atom]" and "[Bond]" values ("2-1,3-1", "2-3"); fails the
// test when the text cannot be loaded.
MoleculeFile::Drawing MakeDrawing(const std::string& atoms, const std::string& bonds);

// Fresh CurrentMolecule, then the whole calculation of the drawing.
CalcSession::Outcome Calculate(const std::string& atoms, const std::string& bonds);

// Bonds between the given atom numbers, in that order.
BondCollection Bonds(const std::vector<std::pair<int, int>>& pairs);

// Path of a shipped template by name ("benzene" -> .../template/benzene.tpl).
std::string TemplatePath(const std::string& name);

}  // namespace testing_support
