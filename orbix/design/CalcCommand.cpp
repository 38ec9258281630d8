// SPDX-License-Identifier: BSD-3-Clause
// The Calc command: the drawing checked, turned into CurrentMolecule and
// handed to a new result window.

#include "orbix/calc/CalcSession.h"
#include "orbix/design/frmDesign.h"
#include "orbix/model/modConnect.h"
#include "orbix/model/modOrbix.h"
#include "orbix/platform/Dialogs.h"
#include "orbix/result/frmResult.h"

void frmDesign::mnuMoveCalc_Click() {
    MoleculeFile::Drawing d;
    for (std::int16_t s : drawing_.colSites()) d.atoms.push_back({s, drawing_.Element(s)});
    for (const auto& b : drawing_.colDesignBonds()) d.bonds.Add(b);
    // Any error of the check or the calculation reaches the student here: an
    // exception out of an event handler would end the program, drawing and all.
    try {
        const CalcSession::Outcome check = CalcSession::Check(d);
        if (check.code != CalcSession::kAccepted) {
            dialogs_.Message(QString::fromStdString(check.message),
                             QString::fromUtf8(modConnect::kStructureTitle), orbix::MsgButtons::kOk,
                             orbix::MsgIcon::kInformation);
            return;
        }
        CalcSession::BuildMolecule(d);  // atoms in placement order
        hide();
        frmResult* result = frmResult::Open(*this);
        std::int16_t showProgress = 0;
        result->Display(showProgress);
    } catch (const std::exception& e) {
        ShowDesign();
        dialogs_.Message(QString::fromUtf8(e.what()), orbix::kApplicationTitle,
                         orbix::MsgButtons::kOk, orbix::MsgIcon::kCritical);
    }
}
