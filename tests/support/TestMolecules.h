#pragma once
// Helpers shared by the tests: the shipped element table and molecules built
// from the molecule-file notation.

#include <string>

#include "orbix/calc/CalcSession.h"
#include "orbix/model/MoleculeFile.h"
#include "orbix/model/modOrbix.h"

namespace testing_support {

// Loads the shipped data/atom.dat into modOrbix::colAtoms and builds the lattice.
void UseShippedAtoms();

// A drawing from "[Atom]" and "[Bond]" values ("2-1,3-1", "2-3"); fails the
// test when the text cannot be loaded.
MoleculeFile::Drawing MakeDrawing(const std::string& atoms, const std::string& bonds);

// Fresh CurrentMolecule, then the whole calculation of the drawing.
CalcSession::Outcome Calculate(const std::string& atoms, const std::string& bonds);

// Path of a shipped template by name ("benzene" -> .../template/benzene.tpl).
std::string TemplatePath(const std::string& name);

}  // namespace testing_support
