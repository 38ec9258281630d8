// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/calc/CalcSession.h"

#include <memory>

#include "orbix/calc/modCalculation.h"
#include "orbix/model/modConnect.h"
#include "orbix/model/modOrbix.h"

namespace CalcSession {

orbix::Mat1<std::int16_t> StructureMatrix(const MoleculeFile::Drawing& drawing,
                                          const AtomTable& atoms) {
    const int n = static_cast<int>(drawing.atoms.size());
    orbix::Mat1<std::int16_t> m(n, n, 0);
    int position[modOrbix::kSiteCount + 1] = {};  // atom number of each site, 0 if empty
    for (int d = 1; d <= n; ++d) {
        const clsAtom& a = *atoms.Item(drawing.atoms[d - 1].element);
        m(d, d) = static_cast<std::int16_t>(a.index() == 1 ? a.Hands() : -a.Hands());
        position[drawing.atoms[d - 1].site] = d;
    }
    for (const auto& bond : drawing.bonds) {
        const int p = position[bond->Index1()], q = position[bond->Index2()];
        if (p && q) m(p, q) = m(q, p) = 1;
    }
    return m;
}

void BuildMolecule(const MoleculeFile::Drawing& drawing) {
    std::vector<std::shared_ptr<clsNode>> nodes;
    for (const auto& a : drawing.atoms) {
        auto node = std::make_shared<clsNode>();
        node->Initialize(modOrbix::colAtoms.Item(a.element), a.site);
        nodes.push_back(node);
    }
    if (!modOrbix::CurrentMolecule) modOrbix::CurrentMolecule = std::make_shared<Molecule>();
    modOrbix::CurrentMolecule->Initialize(nodes, drawing.bonds);
}

Outcome Check(const MoleculeFile::Drawing& drawing) {
    Outcome out;
    const int n = static_cast<int>(drawing.atoms.size());
    if (drawing.bonds.Count() < 1 || n < 2) {
        out.code = kNoMolecule;
        out.message = modConnect::kNoMolecule;
        return out;
    }
    const std::int16_t code =
        modConnect::CheckStructure(StructureMatrix(drawing, modOrbix::colAtoms));
    if (code != modConnect::scOk) {
        out.code = code;
        out.message = modConnect::StructureMessage(code);
        return out;
    }
    // Summed wide, so that a total no 16-bit number holds is this refusal
    // rather than an overflow inside Molecule::Initialize.
    long long electrons = 0;
    for (const auto& a : drawing.atoms) electrons += modOrbix::colAtoms.Item(a.element)->E_num();
    if (electrons > 2LL * n) {
        out.code = kTooManyElectrons;
        out.message = modConnect::kTooManyElectrons;
    }
    return out;
}

Outcome Calculate(const MoleculeFile::Drawing& drawing) {
    Outcome out = Check(drawing);
    if (out.code != kAccepted) return out;
    BuildMolecule(drawing);
    modCalculation::ComputeAtomPos();
    modCalculation::RunCalculation(out.maxOff);
    return out;
}

Outcome CalculateFile(const std::string& path) {
    MoleculeFile::Drawing drawing;
    Outcome out;
    switch (MoleculeFile::ReadDrawingFile(path, modOrbix::colAtoms.Count(), drawing)) {
        case 0:
            break;
        case 1:
            out.code = kUnreadable;
            out.message = "ファイル：" + path + "　のオープンに失敗しました。";
            return out;
        case 2:
            out.code = kUnreadable;
            out.message = "ファイル：" + path + "からの分子データの取得に失敗しました。";
            return out;
        default:
            out.code = kUnreadable;
            out.message = "ファイル：" + path + "からの分子の作成に失敗しました。";
            return out;
    }
    return Calculate(drawing);
}

}  // namespace CalcSession
