// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/result/WindowTitle.h"

#include <QWidget>

#include "orbix/model/modCommon.h"
#include "orbix/model/modOrbix.h"

namespace modResult {

QString DocumentName() {
    if (!modOrbix::CurrentMolecule || modOrbix::CurrentMolecule->filename().empty())
        return QStringLiteral("無題");
    return QString::fromStdString(modCommon::FileTitle(modOrbix::CurrentMolecule->filename()));
}

void SetWindowTitle(QWidget& form) {
    form.setWindowTitle(DocumentName() + QStringLiteral("－") + kProgramTitle);
}

}  // namespace modResult
