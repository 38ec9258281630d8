// The Calc command: the drawing checked, turned into CurrentMolecule and
// handed to a new result window.

#include "orbix/calc/CalcSession.h"
#include "orbix/design/frmDesign.h"
#include "orbix/model/modConnect.h"
#include "orbix/model/modOrbix.h"
#include "orbix/platform/Dialogs.h"
#include "orbix/result/frmResult.h"

void frmDesign::mnuMoveCalc_Click() {
    const QString title = QString::fromUtf8(modConnect::kStructureTitle);
    auto refuse = [&](const std::string& text) {
        dialogs_.Message(QString::fromStdString(text), title, orbix::MsgButtons::kOk,
                         orbix::MsgIcon::kInformation);
    };
    const auto& sites = drawing_.colSites();
    const int n = static_cast<int>(sites.size());
    if (drawing_.colDesignBonds().Count() < 1 || n < 2) {
        refuse(modConnect::kNoMolecule);
        return;
    }
    MoleculeFile::Drawing d;
    for (std::int16_t s : sites) d.atoms.push_back({s, drawing_.Element(s)});
    for (const auto& b : drawing_.colDesignBonds()) d.bonds.Add(b);
    const std::int16_t code =
        modConnect::CheckStructure(CalcSession::StructureMatrix(d, modOrbix::colAtoms));
    if (code != modConnect::scOk) {
        refuse(modConnect::StructureMessage(code));
        return;
    }

    CalcSession::BuildMolecule(d);  // atoms in placement order
    if (modOrbix::CurrentMolecule->E_num() > 2 * n) {
        refuse(modConnect::kTooManyElectrons);
        return;
    }
    hide();
    frmResult* result = frmResult::Open(*this);
    std::int16_t showProgress = 0;
    result->Display(showProgress);
}
