// Wraps outside text so that a tooltip shows it as characters, never markup.

#include "platform/gui/PlainText.h"

namespace platform {

QString plainToolTip(const QString& text)
{
    if (text.isEmpty())
        return {};
    // Escaping alone is not enough: an escaped text without a tag is itself
    // taken as plain and would show its entities. The leading tag makes Qt
    // read it as rich text, in which every character is escaped.
    return QStringLiteral("<p style=\"white-space:pre\">") + text.toHtmlEscaped() +
           QStringLiteral("</p>");
}

} // namespace platform
