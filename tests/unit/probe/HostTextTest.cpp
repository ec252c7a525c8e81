// Which Host texts are taken as addresses as they stand, and which need a lookup.

#include "probe/core/HostText.h"

#include <QTest>

using namespace probe;

class HostTextTest : public QObject
{
    Q_OBJECT

private slots:
    void classify_data()
    {
        QTest::addColumn<QString>("host");
        QTest::addColumn<QString>("address"); // empty: needs a lookup
        QTest::newRow("upper") << "LOCALHOST"
                               << "127.0.0.1";
        QTest::newRow("lower") << "localhost"
                               << "127.0.0.1";
        QTest::newRow("mixed") << "LocalHost"
                               << "127.0.0.1";
        QTest::newRow("quad") << "192.168.1.2"
                              << "192.168.1.2";
        QTest::newRow("bounds") << "0.0.0.0"
                                << "0.0.0.0";
        QTest::newRow("top") << "255.255.255.255"
                             << "255.255.255.255";
        // Leading zeros are decimal, not octal: .010 is 10, not 8.
        QTest::newRow("leading zero") << "192.168.001.010"
                                      << "192.168.1.10";
        QTest::newRow("many zeros") << "0000000000000000000001.2.3.4"
                                    << "1.2.3.4";
        QTest::newRow("part too big") << "192.168.1.256"
                                      << "";
        QTest::newRow("huge part") << "99999999999999999999.1.1.1"
                                   << "";
        QTest::newRow("three parts") << "192.168.1"
                                     << "";
        QTest::newRow("five parts") << "1.2.3.4.5"
                                    << "";
        QTest::newRow("trailing dot") << "1.2.3.4."
                                      << "";
        QTest::newRow("empty part") << "1..3.4"
                                    << "";
        QTest::newRow("sign") << "+1.2.3.4"
                              << "";
        QTest::newRow("blank") << " 1.2.3.4"
                               << "";
        QTest::newRow("hex") << "0x7f.0.0.1"
                             << "";
        QTest::newRow("empty") << ""
                               << "";
        QTest::newRow("name") << "nas.example"
                              << "";
        QTest::newRow("localhost with more") << "localhost."
                                             << "";
    }
    void classify()
    {
        QFETCH(QString, host);
        QFETCH(QString, address);
        const HostTarget target = classifyHost(host.toStdString());
        if (address.isEmpty()) {
            QCOMPARE(target.kind, HostKind::Name);
            return;
        }
        QVERIFY(target.kind != HostKind::Name);
        const QString got = QStringLiteral("%1.%2.%3.%4")
                                .arg(target.address[0])
                                .arg(target.address[1])
                                .arg(target.address[2])
                                .arg(target.address[3]);
        QCOMPARE(got, address);
    }
};

QTEST_APPLESS_MAIN(HostTextTest)
#include "HostTextTest.moc"
