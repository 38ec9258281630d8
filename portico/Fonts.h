// SPDX-License-Identifier: BSD-3-Clause
#pragma once

#include <QString>

// The fonts the windows are designed with, and the installed fonts that
// stand in for them.
namespace Fonts {

inline const QString kGothic = QStringLiteral("ＭＳ Ｐゴシック");

// Registers the substitutes once; safe to call from every window.
void RegisterSubstitutes();

}  // namespace Fonts
