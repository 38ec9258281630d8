#include "portico/Fonts.h"

#include <QFont>

namespace Fonts {

void RegisterSubstitutes()
{
    static const bool done = [] {
        QFont::insertSubstitutions(kGothic, {QStringLiteral("IPAPGothic"), QStringLiteral("IPAGothic")});
        return true;
    }();
    (void)done;
}

}  // namespace Fonts
