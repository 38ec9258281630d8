// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// Which atoms may be joined, and whether a drawing is a molecule the
// calculation can take.

#include <cstdint>
#include <string>
#include <vector>

#include "orbix/model/Array1.h"

namespace modConnect {

struct SitePair {
    std::int16_t a = 0;  // smaller site
    std::int16_t b = 0;  // larger site
    bool operator==(const SitePair&) const = default;
};

// Pairs of the given sites that are lattice neighbours: each earlier member
// against each later one, in collection order. Returns the number found.
// A site outside 1-36 raises the subscript error.
std::int16_t FindLinkedPairs(const std::vector<std::int16_t>& sites, std::vector<SitePair>& pairs);

enum StructureCode : std::int16_t {
    scOk = 0,
    scDisconnected = 1,  // the atoms are not one connected whole
    scOverBonded = 2,    // an atom has more bonds than its valence
    scHeteroBonded = 3,  // two heteroatoms are bonded to each other
};

// matrix: n x n, diagonal = valence (negated for a heteroatom), off-diagonal
// 1 for a bond. Works on a copy; returns the first fault found.
std::int16_t CheckStructure(const orbix::Mat1<std::int16_t>& matrix);

// Message of a structure code 1-3 (empty for 0).
std::string StructureMessage(std::int16_t code);

inline constexpr const char* kStructureTitle = "分子構造エラー－　Orbix分子軌道法";
inline constexpr const char* kNoMolecule = "分子が形成されていません。";
// A molecule with more pi electrons than its orbitals can hold.
inline constexpr const char* kTooManyElectrons =
    "π電子の数が原子数の２倍を超えているため、計算できません。原子データを確認してください。";

}  // namespace modConnect
