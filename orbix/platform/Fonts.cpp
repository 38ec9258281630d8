// SPDX-License-Identifier: BSD-3-Clause
#include "orbix/platform/Fonts.h"

#include <QStringList>

namespace orbix {

void RegisterFontSubstitutions() {
    static bool done = false;
    if (done) return;
    done = true;
    QFont::insertSubstitutions(kGothicFamily,
                               {QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")});
}

QFont GothicFont(double pointSize, bool bold) {
    RegisterFontSubstitutions();
    QFont f(kGothicFamily);
    f.setPointSizeF(pointSize);
    f.setBold(bold);
    return f;
}

}  // namespace orbix
