// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// Molecule files (.mol, and .tpl templates): an "[Atom]=" line of
// site-element pairs and an optional "[Bond]=" line of site pairs.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "orbix/model/BondCollection.h"

namespace MoleculeFile {

// Applies the molecule-file reading rules to the lines (trimming each in
// place) and returns the values of the "[Atom]" and "[Bond]" lines. The
// result is true on failure, that is when the atom value is empty.
bool ParseMoleculeText(std::vector<std::string>& lines, std::string& atoms, std::string& bonds);
// The same rules for one line: when it is an "[Atom]" or "[Bond]" line with a
// value, that value replaces atoms or bonds.
void ParseMoleculeLine(std::string_view line, std::string& atoms, std::string& bonds);

struct PlacedAtom {
    std::int16_t site = 0;
    std::int16_t element = 0;
};

// A drawing as a file describes it: atoms in file order, bonds smaller site
// first in file order.
struct Drawing {
    std::vector<PlacedAtom> atoms;
    BondCollection bonds;
};

// Builds the drawing from the "[Atom]" and "[Bond]" values. False when an
// entry cannot be loaded: no "-", a number that is not one, a site outside
// 1-36 or already occupied, an element outside 1 ... elementCount, a repeated
// bond, or a bond to a site without an atom. `out` then holds what was read
// before the faulty entry. A bond a-a is skipped; a bond written larger site
// first is taken as the same bond smaller site first.
bool ParseDrawing(const std::string& atoms, const std::string& bonds, int elementCount,
                  Drawing& out);

// The file text (without its final line end) of a drawing: "[Atom]=" list,
// CR LF, then "[Bond]=" list or nothing. Empty when there is no atom.
std::string SerializeDrawing(const std::vector<PlacedAtom>& atoms, const BondCollection& bonds);

// Reads a whole molecule file: 0 ok, 1 the file cannot be read or is empty,
// 2 no "[Atom]" value, 3 an entry cannot be loaded.
int ReadDrawingFile(const std::string& path, int elementCount, Drawing& out);

}  // namespace MoleculeFile
