#include "platform/gui/Opener.h"

#include <QRegularExpression>

namespace platform {

QString plainIpv4(const QString& address)
{
    // Four decimal numbers 0..255, nothing before or after: no port, user,
    // path, scheme or leading dash can ride along into a command.
    static const QRegularExpression pattern(
        QStringLiteral("^(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})\\.(\\d{1,3})$"));
    const QRegularExpressionMatch match = pattern.match(address);
    if (!match.hasMatch())
        return {};
    QStringList parts;
    for (int i = 1; i <= 4; ++i) {
        const int part = match.captured(i).toInt();
        if (part > 255)
            return {};
        parts << QString::number(part);
    }
    return parts.join(QLatin1Char('.'));
}

} // namespace platform
