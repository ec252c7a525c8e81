#pragma once
// The datagrams a unit sends, built from the wire format.

#include <QByteArray>
#include <array>

class UnitReplies
{
public:
    // "0C01R", the identity, then the ten values each in apostrophes, comma-separated.
    static QByteArray discovery(const QByteArray& identity,
                                const std::array<QByteArray, 10>& values);
    // "0C02R", the identity and one status byte ('2': accepted).
    static QByteArray setup(const QByteArray& identity, char status);
};
