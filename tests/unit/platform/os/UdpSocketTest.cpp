// The OS layer's UDP socket on loopback.

#include "platform/os/UdpSocket.h"

#include "tests/testsupport/ValueStrings.h"

#include <QtTest>
#include <cstdint>
#include <cstring>

using platform::Ipv4Address;
using platform::UdpSocket;

class UdpSocketTest : public QObject
{
    Q_OBJECT

private slots:
    void heldPortIsRefusedAndLongDatagramsAreCut()
    {
        UdpSocket reader;
        QVERIFY(reader.bind(platform::kLoopbackAddress, 0));
        const std::uint16_t port = reader.localPort();
        QVERIFY(port != 0);
        UdpSocket squatter;
        QVERIFY(!squatter.bind(platform::kLoopbackAddress, port));
        QVERIFY(!squatter.bind(platform::kAnyAddress, port));

        UdpSocket sender;
        QVERIFY(sender.open());
        const char longer[] = "0123456789";
        QCOMPARE(sender.sendTo(longer, 10, platform::kLoopbackAddress, port), 10);
        QCOMPARE(sender.sendTo("ab", 2, platform::kLoopbackAddress, port), 2);
        QTRY_VERIFY(reader.hasPending());

        // The rest of the long one is lost; the next datagram comes whole.
        char buffer[4] = {};
        UdpSocket::Received got = reader.receive(buffer, sizeof buffer);
        QVERIFY(got.got);
        QCOMPARE(got.size, std::size_t{4});
        QVERIFY(std::memcmp(buffer, "0123", 4) == 0);
        QCOMPARE(got.source, platform::kLoopbackAddress);
        QCOMPARE(got.port, sender.localPort());
        QTRY_VERIFY(reader.hasPending());
        got = reader.receive(buffer, sizeof buffer);
        QCOMPARE(got.size, std::size_t{2});
        QVERIFY(!reader.receive(buffer, sizeof buffer).got); // never blocks

        reader.close();
        QVERIFY(squatter.bind(platform::kLoopbackAddress, port));
    }

    // The adapter a datagram came in by is reported. A send steered to an
    // unknown adapter, a gone one or loopback (only this PC's programs would
    // hear it) sends nothing; the lab's two-LAN test steers through real ones.
    void arrivalAdapterIsReportedAndNeverSteersIntoLoopback()
    {
        UdpSocket reader;
        QVERIFY(reader.bind(platform::kAnyAddress, 0));
        const std::uint16_t port = reader.localPort();
        UdpSocket sender;
        QVERIFY(sender.open());
        QCOMPARE(sender.sendTo("in", 2, platform::kLoopbackAddress, port), 2);
        QTRY_VERIFY(reader.hasPending());
        char buffer[8] = {};
        const UdpSocket::Received got = reader.receive(buffer, sizeof buffer);
        QVERIFY(got.arrival.known());
        QCOMPARE(got.arrival.localAddress, platform::kLoopbackAddress);

        // A socket that has not sent yet: Windows steers by binding it.
        UdpSocket steered;
        QVERIFY(steered.open());
        QCOMPARE(
            steered.sendThrough("no", 2, platform::Arrival{}, platform::kLoopbackAddress, port),
            -1);
        platform::Arrival gone = got.arrival;
        gone.interfaceIndex = 99999;
        QCOMPARE(steered.sendThrough("no", 2, gone, platform::kLoopbackAddress, port), -1);
        QCOMPARE(steered.sendThrough("lo", 2, got.arrival, platform::kLoopbackAddress, port), -1);
        QVERIFY(!reader.waitPending(50));
    }
};

QTEST_GUILESS_MAIN(UdpSocketTest)
#include "UdpSocketTest.moc"
