// Builds the discovery and setup replies.

#include "tools/nas-sim/UnitReplies.h"

#include <array>
#include <cstddef>

QByteArray UnitReplies::discovery(const QByteArray& identity,
                                  const std::array<QByteArray, 10>& values)
{
    QByteArray out = QByteArrayLiteral("0C01R") + identity;
    for (std::size_t k = 0; k < values.size(); ++k) {
        if (k > 0)
            out += ',';
        out += '\'';
        out += values[k];
        out += '\'';
    }
    return out;
}

QByteArray UnitReplies::setup(const QByteArray& identity, char status)
{
    return QByteArrayLiteral("0C02R") + identity + status;
}
