#pragma once
// A "0C02S" setup request as a unit reads it.

#include <QByteArray>
#include <optional>

struct SetupRequest
{
    QByteArray identity; // the 17 bytes after "0C02S"
    QByteArray address;
    QByteArray mask;
    QByteArray gateway;
    QByteArray hostName;
    QByteArray hostAux;
    QByteArray reserved; // always empty from a well-behaved sender
    QByteArray user;
    QByteArray password;   // everything after the seventh ';', so it may hold ';'
    bool complete = false; // all eight values were present

    // nullopt when the datagram is not a setup request at all (no "0C02S" or
    // no room for the identity). A request with too few ';' comes back with
    // complete == false.
    static std::optional<SetupRequest> parse(const QByteArray& datagram);
};
