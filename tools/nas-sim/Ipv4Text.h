#pragma once
// Strict dotted-quad reading for the addresses a unit is asked to take.

#include <QByteArray>
#include <optional>

class Ipv4Text
{
public:
    // Four decimal numbers 0..255 joined by '.', nothing else.
    static std::optional<quint32> parse(const QByteArray& text);
    // Prefix length of a mask whose one-bits are contiguous from the top; nullopt otherwise.
    static std::optional<int> prefixLength(quint32 mask);
};
