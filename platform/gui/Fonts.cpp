// Installs the font substitutions for the forms' Japanese face names.

#include "platform/gui/Fonts.h"

#include <QFont>
#include <QStringList>

namespace platform {

void installFontSubstitutions()
{
    // The IPA faces are drawn to the same advance widths as the Windows ones,
    // so captions keep fitting the geometry the forms give them.
    QFont::insertSubstitutions(kProportionalGothic,
                               {QStringLiteral("MS PGothic"), QStringLiteral("IPAPGothic"),
                                QStringLiteral("IPA Pゴシック")});
    QFont::insertSubstitutions(
        kFixedGothic,
        {QStringLiteral("MS Gothic"), QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック")});
}

} // namespace platform
