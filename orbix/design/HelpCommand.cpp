// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/design/frmDesign.h"
#include "orbix/model/modOrbix.h"
#include "orbix/platform/Dialogs.h"
#include "orbix/result/frmHelp.h"

void frmDesign::frmInfo_Click() {
    bool shown = false;
    try {
        shown = ShowHelp(modOrbix::ProgramFolder + "Orbix.hlp");
    } catch (const std::exception&) {
    }
    if (!shown)
        dialogs_.Message(QStringLiteral("ヘルプファイルの表示に失敗しました。"),
                         orbix::kApplicationTitle, orbix::MsgButtons::kOk,
                         orbix::MsgIcon::kCritical);
}
