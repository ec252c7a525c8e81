// The one-datagram-per-call reader, on loopback only.

#include "platform/net/DatagramReader.h"

#include <QTest>
#include <QUdpSocket>
#include <cstring>

class DatagramReaderTest : public QObject
{
    Q_OBJECT

private slots:
    // A burst larger than the socket's notices keep up with is read in full,
    // one datagram per call, each into a freshly zeroed buffer.
    void burstIsReadInFull()
    {
        char buffer[32];
        int calls = 0;
        bool remains = false;
        platform::DatagramReader reader(buffer, sizeof buffer, [&](std::size_t length) {
            ++calls;
            // Short datagrams follow long ones: nothing of the last may remain.
            for (std::size_t i = length; i < sizeof buffer; ++i)
                remains = remains || buffer[i] != 0;
        });
        QUdpSocket probe;
        QVERIFY(probe.bind(QHostAddress::LocalHost, 0));
        const quint16 port = probe.localPort();
        probe.close();
        QVERIFY(reader.bind(platform::kLoopbackAddress, port));

        // Bursts small enough for the socket's receive buffer, so that any
        // datagram not handed over was lost by the reader, not by the system.
        QUdpSocket sender;
        int sent = 0;
        for (int burst = 0; burst < 20; ++burst) {
            for (int i = 0; i < 150; ++i, ++sent) {
                const QByteArray datagram = i % 2 ? QByteArray("x") : QByteArray(40, 'L');
                QCOMPARE(sender.writeDatagram(datagram, QHostAddress::LocalHost, port),
                         qint64(datagram.size()));
            }
            QTRY_COMPARE_WITH_TIMEOUT(calls, sent, 5000);
        }
        QVERIFY(!remains);
    }

    // Closing from inside the handler ends the reading there; the port is free again.
    void closeInsideHandler()
    {
        char buffer[8];
        int calls = 0;
        platform::DatagramReader* self = nullptr;
        platform::DatagramReader reader(buffer, sizeof buffer, [&](std::size_t) {
            ++calls;
            self->close();
        });
        self = &reader;
        QUdpSocket probe;
        QVERIFY(probe.bind(QHostAddress::LocalHost, 0));
        const quint16 port = probe.localPort();
        probe.close();
        QVERIFY(reader.bind(platform::kLoopbackAddress, port));

        QUdpSocket sender;
        for (int i = 0; i < 5; ++i)
            sender.writeDatagram("abc", QHostAddress::LocalHost, port);
        QTRY_COMPARE(calls, 1);
        // A call queued now runs after any read the reader queued for itself.
        bool markerRan = false;
        QMetaObject::invokeMethod(
            this, [&markerRan] { markerRan = true; }, Qt::QueuedConnection);
        QTRY_VERIFY(markerRan);
        QCOMPARE(calls, 1);
        QVERIFY(!reader.isOpen());
        QUdpSocket again;
        QVERIFY(again.bind(QHostAddress::LocalHost, port));
    }
};

QTEST_GUILESS_MAIN(DatagramReaderTest)
#include "DatagramReaderTest.moc"
