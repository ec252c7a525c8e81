// The default gateways read from the kernel's routing table text.

#include "platform/os/linux/RouteTable.h"

#include <QtTest>
#include <map>
#include <string>

class RouteTableTest : public QObject
{
    Q_OBJECT

private slots:
    void firstUsableDefaultPerInterface();
};

void RouteTableTest::firstUsableDefaultPerInterface()
{
    const char* table =
        "Iface\tDestination\tGateway \tFlags\tRefCnt\tUse\tMetric\tMask\t\tMTU\tWindow\tIRTT\n"
        "eth0\t0001A8C0\t00000000\t0001\t0\t0\t0\t00FFFFFF\t0\t0\t0\n" // on-link subnet
        "eth2\t00000000\t0101A8C0\t0002\t0\t0\t0\t00000000\t0\t0\t0\n" // not up
        "eth3\t00000000\t00000000\t0001\t0\t0\t0\t00000000\t0\t0\t0\n" // no gateway
        "eth4\tzz\t0101A8C0\t0003\t0\t0\t0\t00000000\n"                // malformed
        "eth5\t00000000\t0101A8C0\n"                                   // cut short
        "eth0\t00000000\t0101A8C0\t0003\t0\t0\t0\t00000000\t0\t0\t0\n" // 192.168.1.1
        "eth0\t00000000\t0201A8C0\t0003\t0\t0\t100\t00000000\t0\t0\t0\n"
        "eth1\t00000000\t01000A0A\t0003\t0\t0\t0\t00000000\t0\t0\t0"; // no final newline
    const std::map<std::string, std::string> expected{{"eth0", "192.168.1.1"},
                                                      {"eth1", "10.10.0.1"}};
    QVERIFY(platform::defaultGateways(table) == expected);
    QVERIFY(platform::defaultGateways("").empty());
    // The header line is never taken for a route, whatever it holds.
    QVERIFY(platform::defaultGateways("eth0 00000000 0101A8C0 0003 0 0 0 00000000\n").empty());
}

QTEST_APPLESS_MAIN(RouteTableTest)
#include "RouteTableTest.moc"
