// SPDX-License-Identifier: BSD-3-Clause
#pragma once
// The fonts the windows name, and the installed fonts that stand in for them.

#include <QFont>
#include <QString>

namespace orbix {

inline const QString kGothicFamily = QStringLiteral("ＭＳ Ｐゴシック");

// Registers the substitutes (IPA P Gothic for "ＭＳ Ｐゴシック"). Call once
// after the application object exists; later calls do nothing.
void RegisterFontSubstitutions();

// "ＭＳ Ｐゴシック" in the given point size.
QFont GothicFont(double pointSize, bool bold = false);

}  // namespace orbix
