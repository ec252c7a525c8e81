#pragma once
// What QCOMPARE prints for the program's own value types when they differ:
// names and dotted quads instead of bare numbers, raw bytes or nothing.
// Include it before the first QCOMPARE of such a value.

#include "discovery/core/DeviceRecord.h"
#include "discovery/core/DiscoveryReply.h"
#include "platform/os/Ipv4Address.h"

#include <QByteArray>
#include <QTest>
#include <algorithm>
#include <optional>

namespace testsupport {

// A fixed-size text field up to its first zero (or its whole size), quoted.
template <std::size_t N>
QByteArray quotedField(const char (&field)[N])
{
    const char* end = std::find(field, field + N, '\0');
    return '"' + QByteArray(field, end - field) + '"';
}

inline QByteArray dottedQuad(const platform::Ipv4Address& address)
{
    return QByteArray::number(address[0]) + '.' + QByteArray::number(address[1]) + '.' +
           QByteArray::number(address[2]) + '.' + QByteArray::number(address[3]);
}

} // namespace testsupport

// Found by argument-dependent lookup from QCOMPARE.
namespace discovery {

inline char* toString(ReplyOutcome outcome)
{
    switch (outcome) {
    case ReplyOutcome::Added:
        return qstrdup("ReplyOutcome::Added");
    case ReplyOutcome::NotAReply:
        return qstrdup("ReplyOutcome::NotAReply");
    case ReplyOutcome::Duplicate:
        return qstrdup("ReplyOutcome::Duplicate");
    case ReplyOutcome::Malformed:
        return qstrdup("ReplyOutcome::Malformed");
    case ReplyOutcome::TableFull:
        return qstrdup("ReplyOutcome::TableFull");
    }
    return qstrdup(QByteArray("ReplyOutcome(" + QByteArray::number(int(outcome)) + ")"));
}

inline char* toString(const DeviceRecord& r)
{
    using testsupport::quotedField;
    const QByteArray text =
        "DeviceRecord{MacAddress=" + quotedField(r.MacAddress) +
        " IpAddress=" + quotedField(r.IpAddress) + " SubnetMask=" + quotedField(r.SubnetMask) +
        " GatewayAddress=" + quotedField(r.GatewayAddress) +
        " HostName=" + quotedField(r.HostName) + " HostAux=" + quotedField(r.HostAux) +
        " DiskModel=" + quotedField(r.DiskModel) + " DiskAux=" + quotedField(r.DiskAux) +
        " DiskCapacity=" + quotedField(r.DiskCapacity) + " DiskFree=" + quotedField(r.DiskFree) +
        " OtherSubnet=" + QByteArray::number(r.OtherSubnet) +
        " FreeSpaceMissing=" + QByteArray::number(r.FreeSpaceMissing) + " NetworkAddress=0x" +
        QByteArray::number(r.NetworkAddress, 16) +
        " ArrivalInterface=" + QByteArray::number(r.ArrivalInterface) + " ArrivalAddress=0x" +
        QByteArray::number(r.ArrivalAddress, 16) + "}";
    return qstrdup(text.constData());
}

} // namespace discovery

// An Ipv4Address is a std::array, which argument-dependent lookup does not
// take to our namespaces: these specialise QTest's own template instead.
namespace QTest {

template <>
inline char* toString(const platform::Ipv4Address& address)
{
    return qstrdup(testsupport::dottedQuad(address).constData());
}

template <>
inline char* toString(const std::optional<platform::Ipv4Address>& address)
{
    return qstrdup(address ? testsupport::dottedQuad(*address).constData() : "nullopt");
}

} // namespace QTest
