// Address-set validation and the choice of the PC's adapter.

#include "discovery/core/AddressSet.h"

#include "discovery/core/FixedText.h"
#include "discovery/core/LocalNetwork.h"
#include "platform/core/DottedQuad.h"

#include <QTest>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

using namespace discovery;

class AddressSetTest : public QObject
{
    Q_OBJECT

private slots:
    void checkAddressSet_data();
    void checkAddressSet();
    void localNetworkChoice();
};

void AddressSetTest::checkAddressSet_data()
{
    QTest::addColumn<QByteArray>("address");
    QTest::addColumn<QByteArray>("mask");
    QTest::addColumn<QByteArray>("gateway");
    QTest::addColumn<int>("expected");

    const QByteArray m24 = "255.255.255.0", gw = "192.168.1.1";
    QTest::newRow("sound set") << QByteArray("192.168.1.10") << m24 << gw << 0;
    QTest::newRow("loopback") << QByteArray("127.0.0.1") << QByteArray("255.0.0.0")
                              << QByteArray("127.0.0.2") << 1;
    QTest::newRow("network address") << QByteArray("192.168.1.0") << m24 << gw << 1;
    QTest::newRow("broadcast address") << QByteArray("192.168.1.255") << m24 << gw << 1;
    QTest::newRow("224 accepted") << QByteArray("224.1.1.1") << QByteArray("255.0.0.0")
                                  << QByteArray("224.1.1.2") << 0;
    QTest::newRow("225 refused") << QByteArray("225.1.1.1") << m24 << gw << 1;
    QTest::newRow("first octet 0") << QByteArray("0.0.0.0") << m24 << gw << 1;
    QTest::newRow("three octets") << QByteArray("192.168.1") << m24 << gw << 1;
    QTest::newRow("empty address") << QByteArray("") << m24 << gw << 1;
    QTest::newRow("literal -1 octet") << QByteArray("192.168.-1.5") << m24 << gw << 1;
    QTest::newRow("signs") << QByteArray("192.+168.1.10") << m24 << gw
                           << 3; // inet_addr refuses "+"
    QTest::newRow("blanks pass the octets")
        << QByteArray(" 192. 168.  1. 10") << QByteArray("255.255.255.1") << gw << 2;
    QTest::newRow("blank before dot stops") << QByteArray("192 .168.1.10") << m24 << gw << 1;
    QTest::newRow("int overflow is missing")
        << QByteArray("192.168.1.99999999999") << m24 << gw << 1;
    QTest::newRow("int max octet is read")
        << QByteArray("10.2147483647.1.5") << QByteArray("255.0.0.0") << QByteArray("10.0.0.1")
        << 3; // a1 passes the octet rules; inet_addr gives all ones, so the subnets differ
    QTest::newRow("octet 300 in a1") << QByteArray("192.300.1.10") << m24 << gw << 3;
    QTest::newRow("mask all ones") << QByteArray("192.168.1.10") << QByteArray("255.255.255.255")
                                   << QByteArray("192.168.1.10") << 0;
    QTest::newRow("mask zero") << QByteArray("192.168.1.10") << QByteArray("0.0.0.0") << gw << 2;
    QTest::newRow("mask hole") << QByteArray("192.168.1.10") << QByteArray("255.0.255.0") << gw
                               << 2;
    QTest::newRow("mask 254.255") << QByteArray("192.168.1.10") << QByteArray("254.255.0.0") << gw
                                  << 2;
    QTest::newRow("mask last 1") << QByteArray("192.168.1.10") << QByteArray("255.255.255.1") << gw
                                 << 2;
    QTest::newRow("mask short") << QByteArray("192.168.1.10") << QByteArray("255.255.255") << gw
                                << 2;
    QTest::newRow("mask /25") << QByteArray("192.168.1.10") << QByteArray("255.255.255.128") << gw
                              << 0;
    QTest::newRow("gateway other subnet")
        << QByteArray("192.168.1.10") << m24 << QByteArray("192.168.2.1") << 3;
    QTest::newRow("gateway other subnet /16")
        << QByteArray("192.168.1.10") << QByteArray("255.255.0.0") << QByteArray("192.168.2.1")
        << 0;
    QTest::newRow("no gateway") << QByteArray("192.168.1.10") << m24 << QByteArray("") << 3;
    QTest::newRow("gateway 0.0.0.0")
        << QByteArray("192.168.1.10") << m24 << QByteArray("0.0.0.0") << 3;
    QTest::newRow("gateway is the address")
        << QByteArray("192.168.1.10") << m24 << QByteArray("192.168.1.10") << 0;
}

void AddressSetTest::checkAddressSet()
{
    QFETCH(QByteArray, address);
    QFETCH(QByteArray, mask);
    QFETCH(QByteArray, gateway);
    QFETCH(int, expected);
    QCOMPARE(CheckAddressSet(address.constData(), mask.constData(), gateway.constData()), expected);
}

void AddressSetTest::localNetworkChoice()
{
    PcNetworkValues pc{};

    CheckLocalNetwork(pc, std::nullopt);
    QCOMPARE(pc.NetworkState, 2);

    // No link, no gateway, gateway elsewhere: nothing qualifies; texts stay empty.
    CheckLocalNetwork(pc,
                      std::vector<AdapterAddresses>{{"0.0.0.0", "0.0.0.0", "0.0.0.0"},
                                                    {"192.168.1.37", "255.255.255.0", "0.0.0.0"},
                                                    {"10.0.0.5", "255.0.0.0", "192.168.1.1"}});
    QCOMPARE(pc.NetworkState, 1);
    QVERIFY(textOf(pc.PcIpAddress).empty());
    QCOMPARE(pc.PcNetwork, 0u);

    // The first sound adapter in list order wins over later ones.
    CheckLocalNetwork(
        pc, std::vector<AdapterAddresses>{{"192.168.1.37", "255.255.255.0", ""},
                                          {"10.1.2.3", "255.255.0.0", "10.1.0.1"},
                                          {"192.168.1.37", "255.255.255.0", "192.168.1.1"}});
    QCOMPARE(pc.NetworkState, 0);
    QCOMPARE(textOf(pc.PcIpAddress), std::string_view("10.1.2.3"));
    QCOMPARE(textOf(pc.PcSubnetMask), std::string_view("255.255.0.0"));
    QCOMPARE(textOf(pc.PcGateway), std::string_view("10.1.0.1"));
    QCOMPARE(platform::dottedQuad(pc.PcNetwork), std::string("10.1.0.0"));

    // A unit is judged by the adapter its reply came in by when that one is
    // sound; an unknown arrival, an unlisted or unsound adapter leave the PC's.
    const std::vector<AdapterAddresses> two{{"10.1.2.3", "255.255.0.0", "10.1.0.1", 4},
                                            {"192.168.2.37", "255.255.255.0", "192.168.2.1", 7},
                                            {"172.16.0.9", "255.255.0.0", "0.0.0.0", 9}};
    const PcNetworkValues own = unitNetworkValues(pc, two, 7);
    QCOMPARE(textOf(own.PcIpAddress), std::string_view("192.168.2.37"));
    QCOMPARE(textOf(own.PcGateway), std::string_view("192.168.2.1"));
    QCOMPARE(platform::dottedQuad(own.PcNetwork), std::string("192.168.2.0"));
    for (const std::uint32_t arrival : {0U, 4U, 8U, 9U})
        QCOMPARE(unitNetworkValues(pc, two, arrival).PcNetwork, pc.PcNetwork);
}

QTEST_APPLESS_MAIN(AddressSetTest)
#include "AddressSetTest.moc"
