// The part of opening a unit that every OS shares: the address is let through
// only as a strict dotted quad.

#include "platform/gui/Opener.h"

#include "platform/core/DottedQuad.h"

#include <optional>

namespace platform {

QString plainIpv4(const QString& address)
{
    // Strict dotted quads only: no port, user, path, scheme or leading dash
    // can ride along into a command.
    const std::optional<Ipv4Address> plain = parseDottedQuad(address.toStdString());
    return plain ? QString::fromStdString(dottedQuad(*plain)) : QString();
}

} // namespace platform
