// Splits a setup request into its fields.

#include "tools/nas-sim/SetupRequest.h"

#include <optional>

namespace {
constexpr qsizetype kIdentityLength = 17;
constexpr qsizetype kHeaderLength = 5 + kIdentityLength;
} // namespace

std::optional<SetupRequest> SetupRequest::parse(const QByteArray& datagram)
{
    if (!datagram.startsWith("0C02S") || datagram.size() < kHeaderLength)
        return std::nullopt;
    SetupRequest r;
    r.identity = datagram.mid(5, kIdentityLength);
    const QByteArray rest = datagram.mid(kHeaderLength);
    QByteArray* const fields[] = {&r.address, &r.mask,     &r.gateway, &r.hostName,
                                  &r.hostAux, &r.reserved, &r.user};
    qsizetype from = 0;
    for (QByteArray* field : fields) {
        const qsizetype sep = rest.indexOf(';', from);
        if (sep < 0) {
            *field = rest.mid(from);
            return r;
        }
        *field = rest.mid(from, sep - from);
        from = sep + 1;
    }
    r.password = rest.mid(from);
    r.complete = true;
    return r;
}
