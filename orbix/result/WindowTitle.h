// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// Window titles of the document.

#include <QString>

class QWidget;

namespace modResult {

inline const QString kProgramTitle = QStringLiteral("Orbix分子軌道法");

// The document name: FileTitle of CurrentMolecule's file name, "無題" when
// it has none (or there is no molecule).
QString DocumentName();

// Caption of form: document name & "－" & "Orbix分子軌道法".
void SetWindowTitle(QWidget& form);

}  // namespace modResult
