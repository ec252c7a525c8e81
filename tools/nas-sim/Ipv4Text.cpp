// Strict dotted quads and mask prefix lengths for the simulator.

#include "tools/nas-sim/Ipv4Text.h"

#include <QList>
#include <optional>

std::optional<quint32> Ipv4Text::parse(const QByteArray& text)
{
    const QList<QByteArray> parts = text.split('.');
    if (parts.size() != 4)
        return std::nullopt;
    quint32 value = 0;
    for (const QByteArray& part : parts) {
        if (part.isEmpty() || part.size() > 3)
            return std::nullopt;
        for (const char c : part) {
            if (c < '0' || c > '9')
                return std::nullopt;
        }
        const int octet = part.toInt();
        if (octet > 255)
            return std::nullopt;
        value = (value << 8) | static_cast<quint32>(octet);
    }
    return value;
}

std::optional<int> Ipv4Text::prefixLength(quint32 mask)
{
    int length = 0;
    while (length < 32 && (mask & (0x80000000U >> length)) != 0)
        ++length;
    const quint32 expected = length == 0 ? 0 : ~quint32(0) << (32 - length);
    if (mask != expected)
        return std::nullopt;
    return length;
}
