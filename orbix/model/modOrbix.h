// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// Start-up state shared by the whole program: the program folder, the element
// table, the site lattice and the current molecule.
//
// The lattice has 36 sites in 4 zigzag rows of 9: row r (0-3) holds sites
// 9r+1 ... 9r+9, column c (1-9) left to right. Odd sites stand high, even
// sites low, and the rows together form a honeycomb.

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "orbix/model/AtomTable.h"
#include "orbix/model/Molecule.h"

namespace modOrbix {

inline constexpr int kSiteCount = 36;

// The program's folder, always ending in one "/".
extern std::string ProgramFolder;
// ProgramFolder for the folder of an executable (the root stays "/").
std::string FolderWithSlash(const std::string& folder);

extern AtomTable colAtoms;
extern std::shared_ptr<Molecule> CurrentMolecule;

// Canvas pixel coordinates of sites 1-36 (index 0 unused).
extern std::array<std::int16_t, kSiteCount + 1> SiteX;
extern std::array<std::int16_t, kSiteCount + 1> SiteY;
// 1 where two sites are neighbours, stored at (larger site, smaller site).
extern std::array<std::array<std::uint8_t, kSiteCount + 1>, kSiteCount + 1> SiteLinks;

void ComputeSites();
void BuildSiteLinks();
// True when sites a and b (1-36, either order) are neighbours; a site outside
// 1-36 raises the subscript error.
bool SitesLinked(int a, int b);

inline constexpr const char* kAtomReadFailed = "原子データファイルの読み込みに失敗しました";
inline constexpr const char* kAtomDataInvalid = "原子データファイルのデータが正しくありません。";

// Reads ProgramFolder + "data/atom.dat" into a new colAtoms.
bool LoadAtomData(std::string& message);
// The same from any path, into `table`.
bool LoadAtomDataFrom(const std::string& path, AtomTable& table, std::string& message);
// The same from the lines of a table already read.
bool LoadAtomLines(const std::vector<std::string>& lines, AtomTable& table, std::string& message);

}  // namespace modOrbix
