// mrv7k2-find's output: the scan as a JSON document or a text table whose
// columns line up for wide characters; in unit texts every character that
// would act on the terminal is printed as an escape instead.

#include "app/FindReport.h"

#include "discovery/RecordText.h"
#include "discovery/core/DeviceRecord.h"
#include "discovery/core/FixedText.h"
#include "platform/core/DottedQuad.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QStringList>
#include <algorithm>
#include <cstddef>
#include <string_view>

using namespace discovery;

namespace {

QString latin(std::string_view text)
{
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

QJsonObject recordJson(int number, const DeviceRecord& r)
{
    return QJsonObject{
        {"number", number},
        {"MacAddress", fieldText(r.MacAddress)},
        {"IpAddress", fieldText(r.IpAddress)},
        {"SubnetMask", fieldText(r.SubnetMask)},
        {"GatewayAddress", fieldText(r.GatewayAddress)},
        {"HostName", fieldText(r.HostName)},
        {"HostAux", fieldText(r.HostAux)},
        {"DiskModel", fieldText(r.DiskModel)},
        {"DiskAux", fieldText(r.DiskAux)},
        {"DiskCapacity", fieldText(r.DiskCapacity)},
        {"DiskFree", fieldText(r.DiskFree)},
        {"NetworkAddress", latin(platform::dottedQuad(r.NetworkAddress))},
        {"OtherSubnet", r.OtherSubnet},
        {"FreeSpaceMissing", r.FreeSpaceMissing},
    };
}

// Characters that act instead of showing: they move the cursor, start
// terminal commands or reorder what follows them.
bool actsOnTheTerminal(char16_t c)
{
    return c < 0x20 || (c >= 0x7F && c <= 0x9F) || c == 0x061C || c == 0x200E || c == 0x200F ||
           (c >= 0x2028 && c <= 0x202E) || (c >= 0x2066 && c <= 0x2069);
}

QString unitText(const char* field, std::size_t capacity)
{
    return visibleText(fieldTextOf(field, capacity));
}

template <std::size_t N>
QString unitText(const char (&field)[N])
{
    return unitText(field, N);
}

} // namespace

QString visibleText(QStringView text)
{
    QString shown;
    shown.reserve(text.size());
    for (const QChar ch : text) {
        const char16_t c = ch.unicode();
        if (c == u'\\')
            shown += QStringLiteral("\\\\");
        else if (!actsOnTheTerminal(c))
            shown += ch;
        else if (c <= 0xFF)
            shown += QStringLiteral("\\x%1").arg(unsigned{c}, 2, 16, QLatin1Char('0'));
        else
            shown += QStringLiteral("\\u%1").arg(unsigned{c}, 4, 16, QLatin1Char('0'));
    }
    return shown;
}

QByteArray findReportJson(const ScanSummary& scan)
{
    QJsonArray records;
    for (int n = 1; n <= scan.table.DeviceCount; ++n)
        records.append(recordJson(n, *scan.table.record(n)));
    const QJsonObject root{
        {"NetworkState", scan.pc.NetworkState},
        {"PcIpAddress", latin(textOf(scan.pc.PcIpAddress))},
        {"PcSubnetMask", latin(textOf(scan.pc.PcSubnetMask))},
        {"PcGateway", latin(textOf(scan.pc.PcGateway))},
        {"PcNetwork", latin(platform::dottedQuad(scan.pc.PcNetwork))},
        {"replyPortFailed", scan.replyPortFailed},
        {"datagrams", scan.datagrams},
        {"DeviceCount", scan.table.DeviceCount},
        {"records", records},
    };
    return QJsonDocument(root).toJson(QJsonDocument::Indented);
}

QString findReportTable(const ScanSummary& scan)
{
    QStringList lines;
    lines << QStringLiteral("PC: %1 / %2, gateway %3")
                 .arg(latin(textOf(scan.pc.PcIpAddress)), latin(textOf(scan.pc.PcSubnetMask)),
                      latin(textOf(scan.pc.PcGateway)));
    lines << QStringLiteral("%1 unit(s) found").arg(scan.table.DeviceCount);
    if (scan.table.DeviceCount == 0)
        return lines.join('\n') + '\n';

    const QStringList header{"#",       "Host", "Identity", "Address", "Mask",
                             "Gateway", "Disk", "Capacity", "Free",    "Subnet"};
    QList<QStringList> rows{header};
    for (int n = 1; n <= scan.table.DeviceCount; ++n) {
        const DeviceRecord& r = *scan.table.record(n);
        rows.append({QString::number(n), unitText(r.HostName), unitText(r.MacAddress),
                     unitText(r.IpAddress), unitText(r.SubnetMask), unitText(r.GatewayAddress),
                     unitText(r.DiskModel), unitText(r.DiskCapacity), unitText(r.DiskFree),
                     r.OtherSubnet != 0 ? QStringLiteral("other") : QStringLiteral("same")});
    }
    // Column widths in characters; East Asian wide characters count double.
    const auto width = [](const QString& s) {
        int w = 0;
        for (QChar c : s)
            w += (c.unicode() >= 0x1100 && c.unicode() < 0xFF61) || c.unicode() >= 0xFFE0 ? 2 : 1;
        return w;
    };
    QList<int> widths(header.size(), 0);
    for (const QStringList& row : rows)
        for (int i = 0; i < row.size(); ++i)
            widths[i] = std::max(widths[i], width(row[i]));
    for (const QStringList& row : rows) {
        QString line;
        for (int i = 0; i < row.size(); ++i) {
            line += row[i];
            if (i + 1 < row.size())
                line += QString(widths[i] - width(row[i]) + 2, ' ');
        }
        lines << line;
    }
    return lines.join('\n') + '\n';
}
