#pragma once
// Gives the simulator's own interface a new address, as a real unit does after
// an accepted setup request. Refuses to run outside a namespace of its own:
// only a lab namespace may be reconfigured.

#include <QString>

class AddressChanger
{
public:
    // Replaces every IPv4 address of `device` and its default route. Returns an
    // error text, empty on success.
    static QString apply(const QString& device, const QString& address, int prefixLength,
                         const QString& gateway);
};
