// Lays out a flood: valid replies of every unit spread through junk in a
// repeatable order.

#include "tools/nas-sim/FloodPlan.h"

#include "tools/nas-sim/UnitReplies.h"

#include <QString>
#include <algorithm>
#include <array>

namespace {

constexpr int kCopiesPerUnit = 2;

quint32 mix(quint32 x)
{
    x ^= x >> 16;
    x *= 0x7feb352dU;
    x ^= x >> 15;
    x *= 0x846ca68bU;
    x ^= x >> 16;
    return x;
}

} // namespace

FloodPlan::FloodPlan(int count, int units)
    : m_count(std::max(count, 0)), m_units(std::max(units, 0)),
      m_valid(std::min(m_count, m_units * kCopiesPerUnit))
{
}

QByteArray FloodPlan::identity(int unit)
{
    return QStringLiteral("02:4D:52:00:%1:%2")
        .arg((unit >> 8) & 0xFF, 2, 16, QLatin1Char('0'))
        .arg(unit & 0xFF, 2, 16, QLatin1Char('0'))
        .toUpper()
        .toLatin1();
}

QByteArray FloodPlan::datagram(int index) const
{
    // Valid reply j sits at index floor(j * count / valid): every identity shows
    // up once in the first half of the flood, and again in the second.
    if (m_valid > 0) {
        const qint64 j = (static_cast<qint64>(index) * m_valid + m_count - 1) / m_count;
        if (j < m_valid && j * m_count / m_valid == index)
            return validReply(static_cast<int>(j % m_units));
    }
    return junk(index);
}

QByteArray FloodPlan::validReply(int unit)
{
    const QByteArray n = QByteArray::number(unit);
    std::array<QByteArray, 10> values{
        "10.77." + QByteArray::number(unit / 250) + "." + QByteArray::number(unit % 250 + 1),
        "255.255.0.0",
        "10.77.0.254",
        "flood" + n,
        "",
        "",
        "FLOOD-DISK",
        "0",
        "976762584",
        QByteArray::number(1000 + unit),
    };
    return UnitReplies::discovery(identity(unit), values);
}

QByteArray FloodPlan::junk(int index)
{
    const quint32 r = mix(static_cast<quint32>(index) + 0x9e3779b9U);
    const QByteArray id = identity(static_cast<int>(r % 997));
    switch (r % 8) {
    case 0: { // random bytes, up to 400 of them
        QByteArray b(static_cast<qsizetype>(r % 400) + 1, '\0');
        for (qsizetype i = 0; i < b.size(); ++i)
            b[i] = static_cast<char>(mix(r + static_cast<quint32>(i)) & 0xFF);
        return b;
    }
    case 1:
        return QByteArrayLiteral("0C01S");
    case 2:
        return QByteArrayLiteral("0C02R") + id + '2';
    case 3: // too few apostrophes
        return QByteArrayLiteral("0C01R") + id + "'10.0.0.1','255.0.0.0'";
    case 4: // longer than any receive buffer, no apostrophe
        return QByteArrayLiteral("0C01R") + id + QByteArray(600, 'A');
    case 5: // a zero byte cuts the reply before its values
        return QByteArrayLiteral("0C01R") + id + QByteArray("'10.0.0.1'\0'x'", 14);
    case 6:
        return {};
    default: // a prefix that is almost right
        return QByteArrayLiteral("0C01r") + id + "'1','2','3','4','5','6','7','8','9','10'";
    }
}
