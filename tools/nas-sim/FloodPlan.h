#pragma once
// The datagrams of one flood: junk of many kinds, with valid discovery replies
// of `units` distinct identities spread evenly through it (each identity twice).
// Deterministic, so a failing run can be repeated.

#include <QByteArray>

class FloodPlan
{
public:
    FloodPlan(int count, int units);

    int count() const { return m_count; }
    QByteArray datagram(int index) const;
    static QByteArray identity(int unit); // "02:4D:52:00:HH:LL"

private:
    static QByteArray validReply(int unit);
    static QByteArray junk(int index);

    int m_count;
    int m_units;
    int m_valid; // valid replies in the flood
};
