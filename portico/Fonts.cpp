// SPDX-License-Identifier: BSD-3-Clause
#include "portico/Fonts.h"

#include <QFont>
#include <QStringList>

namespace Fonts {

void RegisterSubstitutes() {
    static const bool done = [] {
        QFont::insertSubstitutions(
            kGothic, QStringList{QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")});
        return true;
    }();
    (void)done;
}

}  // namespace Fonts
