// SPDX-License-Identifier: BSD-3-Clause
// The molecule-file reader on arbitrary bytes, and the calculation of
// whatever it accepts.
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <string>

#include "orbix/calc/CalcSession.h"
#include "orbix/calc/modCalculation.h"
#include "orbix/model/MoleculeFile.h"
#include "orbix/model/modCommon.h"
#include "orbix/model/modOrbix.h"

namespace {

void Setup() {
    std::string message;
    const char* lines[] = {"C,1,0,0,1,3", "N,1,0.5,0.05,1,2", "N:,2,1.5,0.15,0.8,3",
                           "O,1,1,0.1,1,1"};
    std::vector<std::string> table(std::begin(lines), std::end(lines));
    if (!modOrbix::LoadAtomLines(table, modOrbix::colAtoms, message)) std::abort();
    modOrbix::ComputeSites();
    modOrbix::BuildSiteLinks();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static bool ready = (Setup(), true);
    (void)ready;
    std::vector<std::string> lines =
        modCommon::SplitLines(std::string_view(reinterpret_cast<const char*>(data), size));
    std::string atoms, bonds;
    if (MoleculeFile::ParseMoleculeText(lines, atoms, bonds)) return 0;
    MoleculeFile::Drawing drawing;
    if (!MoleculeFile::ParseDrawing(atoms, bonds, modOrbix::colAtoms.Count(), drawing)) return 0;
    modOrbix::CurrentMolecule = std::make_shared<Molecule>();
    CalcSession::Outcome out = CalcSession::Calculate(drawing);
    if (out.code == 0 && !(out.maxOff < 1e-5)) std::abort();
    return 0;
}
