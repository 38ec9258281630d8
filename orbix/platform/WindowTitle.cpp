#include "orbix/platform/WindowTitle.h"

#include <QWidget>

#include "orbix/model/modCommon.h"
#include "orbix/model/modOrbix.h"

namespace modOrbix {

QString DocumentName() {
    if (!CurrentMolecule || CurrentMolecule->filename().empty()) return QStringLiteral("無題");
    return QString::fromStdString(modCommon::FileTitle(CurrentMolecule->filename()));
}

void SetWindowTitle(QWidget& form) {
    form.setWindowTitle(DocumentName() + QStringLiteral("－") + kProgramTitle);
}

}  // namespace modOrbix
