// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/model/modOrbix.h"

#include <algorithm>
#include <cmath>

#include "orbix/model/RunTimeError.h"
#include "orbix/model/modCommon.h"

namespace modOrbix {

std::string ProgramFolder;
AtomTable colAtoms;
std::shared_ptr<Molecule> CurrentMolecule;
std::array<std::int16_t, kSiteCount + 1> SiteX{};
std::array<std::int16_t, kSiteCount + 1> SiteY{};
std::array<std::array<std::uint8_t, kSiteCount + 1>, kSiteCount + 1> SiteLinks{};

std::string FolderWithSlash(const std::string& folder) {
    if (!folder.empty() && folder.back() == '/') return folder;
    return folder + "/";
}

void ComputeSites() {
    // The factors are single precision and the products are formed in it;
    // rounding to the nearest integer goes halves to even.
    const float f14 = 1.4f;
    const float f322 = 32.2f;
    for (int site = 1; site <= kSiteCount; ++site) {
        int r = (site - 1) / 9;
        int c = (site - 1) % 9 + 1;
        SiteX[site] = static_cast<std::int16_t>(std::nearbyint(static_cast<float>(c * 64) * f14));
        float y = static_cast<float>(95 * r + 35) * f14;
        if (site % 2 == 0) y = y + f322;
        SiteY[site] = static_cast<std::int16_t>(std::nearbyint(y));
    }
}

void BuildSiteLinks() {
    for (auto& row : SiteLinks) row.fill(0);
    for (int s = 2; s <= kSiteCount; s += 2) {
        if ((s - 1) % 9 != 0) SiteLinks[s][s - 1] = 1;              // s-1 is not a row's last
        if (s < kSiteCount && s % 9 != 0) SiteLinks[s + 1][s] = 1;  // s is not a row's last
        if (s <= 26) SiteLinks[s + 9][s] = 1;
    }
}

bool SitesLinked(int a, int b) {
    if (a < 1 || a > kSiteCount || b < 1 || b > kSiteCount) orbix::RaiseSubscript();
    if (a > b) std::swap(a, b);
    return SiteLinks[b][a] == 1;
}

namespace {

// One line of the element table, the i-th (from 1), added to table. A line
// with more commas than fields is refused before it is split.
bool LoadAtomLine(const std::string& line, size_t i, AtomTable& table) {
    if (std::count(line.begin(), line.end(), ',') > 6) return false;
    std::vector<std::string> fields = modCommon::SplitText(line, ',');
    fields.push_back(std::to_string(i));
    auto atom = std::make_shared<clsAtom>();
    return atom->Init(fields) && table.Add(atom);
}

// Runs load, which reads lines into table, with the table's error messages.
template <class Load>
bool LoadAtoms(AtomTable& table, std::string& message, Load&& load) {
    try {
        table.Clear();
        return load();
    } catch (const orbix::RunTimeError& e) {
        // A numeric field out of single range is a fault of the table's data:
        // it would reach the diagonalisation as infinity otherwise.
        message =
            e.Number() == orbix::errOverflow ? std::string(kAtomDataInvalid) : e.Description();
        return false;
    } catch (const std::exception& e) {
        message = e.what();
        return false;
    }
}

}  // namespace

bool LoadAtomDataFrom(const std::string& path, AtomTable& table, std::string& message) {
    return LoadAtoms(table, message, [&] {
        size_t i = 0;
        bool valid = true;
        // The file is read line by line, so that a huge faulty file is refused
        // without holding all its lines.
        const std::int16_t rc = modCommon::ForEachTextLine(path, [&](std::string& line) {
            valid = LoadAtomLine(line, ++i, table);
            return valid;
        });
        if (rc != modCommon::rrOk) {
            message = kAtomReadFailed;
            return false;
        }
        if (!valid) message = kAtomDataInvalid;
        return valid;
    });
}

bool LoadAtomLines(const std::vector<std::string>& lines, AtomTable& table, std::string& message) {
    if (lines.empty()) {
        message = kAtomReadFailed;
        return false;
    }
    return LoadAtoms(table, message, [&] {
        for (size_t i = 0; i < lines.size(); ++i) {
            if (!LoadAtomLine(lines[i], i + 1, table)) {
                message = kAtomDataInvalid;
                return false;
            }
        }
        return true;
    });
}

bool LoadAtomData(std::string& message) {
    colAtoms.Clear();
    return LoadAtomDataFrom(ProgramFolder + "data/atom.dat", colAtoms, message);
}

}  // namespace modOrbix
