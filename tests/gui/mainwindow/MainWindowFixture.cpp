// The main-window test helpers: a fixed network check and units added to the
// table as their replies would add them.

#include "tests/gui/mainwindow/MainWindowFixture.h"

#include "discovery/core/DiscoveryReply.h"
#include "platform/net/Cp932.h"

#include <QByteArray>
#include <QList>
#include <QString>
#include <functional>
#include <optional>
#include <vector>

namespace testing {

mainwindow::Form_SelectNAS::NetworkCheck fixedNetwork(int state)
{
    return [state](discovery::PcNetworkValues& pc) {
        std::optional<std::vector<discovery::AdapterAddresses>> adapters;
        if (state == 0)
            adapters = std::vector<discovery::AdapterAddresses>{
                {"192.168.1.37", "255.255.255.0", "192.168.1.1"}};
        else if (state == 3) // two adapters: the PC's values are the first's
            adapters = std::vector<discovery::AdapterAddresses>{
                {"192.168.1.37", "255.255.255.0", "192.168.1.1", 2},
                {"192.168.2.37", "255.255.255.0", "192.168.2.1", 3}};
        else if (state == 1)
            adapters = std::vector<discovery::AdapterAddresses>{{"0.0.0.0", "0.0.0.0", "0.0.0.0"}};
        discovery::CheckLocalNetwork(pc, adapters);
        return adapters.value_or(std::vector<discovery::AdapterAddresses>{});
    };
}

void addUnit(discovery::DeviceTable& table, const Unit& unit)
{
    QByteArray reply("0C01R");
    reply += unit.mac.toLatin1().leftJustified(17, '_', true);
    const QList<QString> values{unit.ip,
                                QStringLiteral("255.255.255.0"),
                                QStringLiteral("192.168.1.1"),
                                unit.host,
                                QStringLiteral("WORKGROUP"),
                                QStringLiteral("x"),
                                unit.model,
                                QStringLiteral("1"),
                                unit.capacity,
                                unit.free};
    for (const QString& value : values)
        reply += '\'' + platform::cp932::encode(value) + '\'';
    discovery::ParseDiscoveryReply(reinterpret_cast<const unsigned char*>(reply.constData()),
                                   static_cast<std::size_t>(reply.size()), table, "255.255.255.0");
}

} // namespace testing
