// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// A calculation from a drawing to its results, with the checks the Calc
// command makes, for callers without a window (the headless calculator,
// tests, benchmarks).

#include <cstdint>
#include <string>
#include <vector>

#include "orbix/model/Array1.h"
#include "orbix/model/AtomTable.h"
#include "orbix/model/MoleculeFile.h"

namespace CalcSession {

enum Code : int {
    kAccepted = 0,
    // 1-3: the structure codes
    kNoMolecule = 4,        // fewer than two atoms, or no bond
    kUnreadable = 5,        // the file could not be read, parsed or loaded
    kTooManyElectrons = 6,  // more pi electrons than the orbitals hold
};

struct Outcome {
    int code = kAccepted;
    std::string message;  // the Japanese message for a refusal
    double maxOff = 0;
};

// The structure matrix of a drawing: valences on the diagonal (negated for
// heteroatoms), 1 for each bond between atoms of the drawing.
orbix::Mat1<std::int16_t> StructureMatrix(const MoleculeFile::Drawing& drawing,
                                          const AtomTable& atoms);

// Fills CurrentMolecule (keeping its file name) with the drawing's atoms, in
// their order, and bonds.
void BuildMolecule(const MoleculeFile::Drawing& drawing);

// The checks of the Calc command, in order: a molecule at all (code 4), the
// structure check (1-3), and no more pi electrons than twice the atoms (6; a
// total beyond any 16-bit number included). Elements are looked up in
// modOrbix::colAtoms; nothing is built.
Outcome Check(const MoleculeFile::Drawing& drawing);

// Checks the drawing; when it passes, fills CurrentMolecule (keeping its file
// name) and runs the whole calculation.
Outcome Calculate(const MoleculeFile::Drawing& drawing);

// Reads a molecule file and calculates it; unreadable files give code 5 with
// the message the Open command would show.
Outcome CalculateFile(const std::string& path);

}  // namespace CalcSession
