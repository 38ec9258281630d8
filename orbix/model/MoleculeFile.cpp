// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/model/MoleculeFile.h"

#include <memory>

#include "orbix/model/RunTimeError.h"
#include "orbix/model/modCommon.h"
#include "orbix/model/modFormat.h"
#include "orbix/model/modOrbix.h"

namespace MoleculeFile {
namespace {

// "a-b": the numbers before and after the first "-".
void SplitEntry(std::string_view entry, std::int16_t& a, std::int16_t& b) {
    size_t dash = entry.find('-');
    if (dash == std::string_view::npos) orbix::RaiseTypeMismatch();
    a = modFormat::ToInt16(entry.substr(0, dash));
    b = modFormat::ToInt16(entry.substr(dash + 1));
}

}  // namespace

void ParseMoleculeLine(std::string_view text, std::string& atoms, std::string& bonds) {
    const std::string line = modCommon::Trim(text);
    const size_t close = line.find(']');
    // A keyed line has its first "]" at the second character or later.
    if (close == std::string::npos || close < 1) return;
    const std::string_view key = std::string_view(line).substr(0, close + 1);
    if (key != "[Atom]" && key != "[Bond]") return;
    std::string value;
    const size_t eq = line.find('=', close + 1);
    if (eq == std::string::npos) {
        value = line;
    } else {
        if (eq + 1 == line.size()) return;  // "=" last: no value
        value = modCommon::Trim(std::string_view(line).substr(eq + 1));
    }
    (key == "[Atom]" ? atoms : bonds) = std::move(value);
}

bool ParseMoleculeText(std::vector<std::string>& lines, std::string& atoms, std::string& bonds) {
    atoms.clear();
    bonds.clear();
    for (std::string& line : lines) {
        line = modCommon::Trim(line);
        ParseMoleculeLine(line, atoms, bonds);
    }
    return atoms.empty();
}

bool ParseDrawing(const std::string& atoms, const std::string& bonds, int elementCount,
                  Drawing& out) {
    out.atoms.clear();
    out.bonds.Clear();
    bool occupied[modOrbix::kSiteCount + 1] = {};
    // Entries are taken one at a time: a value of millions of empty entries
    // fails at the first without a list of them all.
    try {
        const bool atomsLoaded = modCommon::ForEachPart(atoms, ',', [&](std::string_view entry) {
            std::int16_t site, element;
            SplitEntry(entry, site, element);
            if (site < 1 || site > modOrbix::kSiteCount || occupied[site]) return false;
            if (element < 1 || element > elementCount) return false;
            occupied[site] = true;
            out.atoms.push_back({site, element});
            return true;
        });
        if (!atomsLoaded) return false;
        if (bonds.empty()) return true;
        return modCommon::ForEachPart(bonds, ',', [&](std::string_view entry) {
            std::int16_t a, b;
            SplitEntry(entry, a, b);
            if (a == b) return true;
            if (a > b) modCommon::SwapValues(a, b);
            if (a < 1 || b > modOrbix::kSiteCount || !occupied[a] || !occupied[b]) return false;
            auto bond = std::make_shared<CBond>();
            bond->Index1(a);
            bond->Index2(b);
            return out.bonds.Add(bond);
        });
    } catch (const std::exception&) {
        return false;
    }
}

std::string SerializeDrawing(const std::vector<PlacedAtom>& atoms, const BondCollection& bonds) {
    if (atoms.empty()) return {};
    std::string text = "[Atom]=";
    for (size_t i = 0; i < atoms.size(); ++i) {
        if (i) text += ",";
        text += std::to_string(atoms[i].site) + "-" + std::to_string(atoms[i].element);
    }
    text += "\r\n";
    if (bonds.Count() > 0) {
        text += "[Bond]=";
        bool first = true;
        for (const auto& b : bonds) {
            if (!first) text += ",";
            first = false;
            text += std::to_string(b->Index1()) + "-" + std::to_string(b->Index2());
        }
    }
    return text;
}

int ReadDrawingFile(const std::string& path, int elementCount, Drawing& out) {
    out.atoms.clear();
    out.bonds.Clear();
    // Line by line: only the two values are kept, not every line of the file.
    std::string atoms, bonds;
    const std::int16_t rc = modCommon::ForEachTextLine(path, [&](std::string& line) {
        ParseMoleculeLine(line, atoms, bonds);
        return true;
    });
    if (rc != modCommon::rrOk) return 1;
    if (atoms.empty()) return 2;
    return ParseDrawing(atoms, bonds, elementCount, out) ? 0 : 3;
}

}  // namespace MoleculeFile
