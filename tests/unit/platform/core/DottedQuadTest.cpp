// Dotted-quad text: each of the three readers by its own rule, and writing.

#include "platform/core/DottedQuad.h"

#include "tests/testsupport/ValueStrings.h"

#include <QTest>
#include <cstdint>
#include <string>
#include <string_view>

using platform::Ipv4Address;

class DottedQuadTest : public QObject
{
    Q_OBJECT

private slots:
    void inetAddrRules_data();
    void inetAddrRules();
    void scanRules_data();
    void scanRules();
    void strictRules();
    void oneTextThreeReadings();
};

void DottedQuadTest::inetAddrRules_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QByteArray>("dotted"); // empty: INADDR_NONE

    QTest::newRow("dotted") << QByteArray("192.168.1.20") << QByteArray("192.168.1.20");
    QTest::newRow("trailing blank") << QByteArray("10.0.0.1 ") << QByteArray("10.0.0.1");
    QTest::newRow("hex and octal") << QByteArray("0xC0.0250.1.012") << QByteArray("192.168.1.10");
    QTest::newRow("three parts") << QByteArray("10.1.258") << QByteArray("10.1.1.2");
    QTest::newRow("one part") << QByteArray("3232235777") << QByteArray("192.168.1.1");
    QTest::newRow("octet over 255") << QByteArray("192.168.1.256") << QByteArray();
    QTest::newRow("five parts") << QByteArray("1.2.3.4.5") << QByteArray();
    QTest::newRow("empty") << QByteArray("") << QByteArray();
    QTest::newRow("leading blank") << QByteArray(" 1.2.3.4") << QByteArray();
    QTest::newRow("trailing junk") << QByteArray("1.2.3.4x") << QByteArray();
    QTest::newRow("empty part") << QByteArray("1..3.4") << QByteArray();
    QTest::newRow("bad octal digit") << QByteArray("1.2.3.08") << QByteArray();
    QTest::newRow("huge") << QByteArray("99999999999") << QByteArray();
}

void DottedQuadTest::inetAddrRules()
{
    QFETCH(QByteArray, text);
    QFETCH(QByteArray, dotted);
    const std::uint32_t v = platform::inetAddr(std::string_view(text.constData(), text.size()));
    // What other programs are given is the same reading, written plainly.
    QCOMPARE(QByteArray::fromStdString(platform::canonicalAddress(text.toStdString())), dotted);
    if (dotted.isEmpty())
        QCOMPARE(v, platform::kInaddrNone);
    else
        QCOMPARE(QByteArray::fromStdString(platform::dottedQuad(v)), dotted);
}

void DottedQuadTest::scanRules_data()
{
    QTest::addColumn<QByteArray>("text");
    QTest::addColumn<QList<long long>>("numbers"); // -1: not reached

    QTest::newRow("plain") << QByteArray("192.168.1.20") << QList<long long>{192, 168, 1, 20};
    QTest::newRow("leading zeros are decimal")
        << QByteArray("010.0.0.08") << QList<long long>{10, 0, 0, 8};
    QTest::newRow("blanks and signs before each number")
        << QByteArray(" 1.\t+2. -3.4") << QList<long long>{1, 2, -3, 4};
    QTest::newRow("junk after the fourth is ignored")
        << QByteArray("1.2.3.4xyz.5") << QList<long long>{1, 2, 3, 4};
    QTest::newRow("over 255 is read") << QByteArray("300.1.1.1") << QList<long long>{300, 1, 1, 1};
    QTest::newRow("stops at a missing dot")
        << QByteArray("1.2 .3.4") << QList<long long>{1, 2, -1, -1};
    QTest::newRow("stops at a blank before a dot")
        << QByteArray("1 .2.3.4") << QList<long long>{1, -1, -1, -1};
    QTest::newRow("stops at a number past 32 bits")
        << QByteArray("1.2.2147483648.4") << QList<long long>{1, 2, -1, -1};
    QTest::newRow("the smallest int is read")
        << QByteArray("-2147483648.0.0.0") << QList<long long>{-2147483648LL, 0, 0, 0};
    QTest::newRow("hex is a zero and junk")
        << QByteArray("0x10.1.1.1") << QList<long long>{0, -1, -1, -1};
    QTest::newRow("empty") << QByteArray("") << QList<long long>{-1, -1, -1, -1};
}

void DottedQuadTest::scanRules()
{
    QFETCH(QByteArray, text);
    QFETCH(QList<long long>, numbers);
    const platform::ScannedQuad scanned = platform::scanDottedQuad(text.constData());
    QCOMPARE(QList<long long>(scanned.begin(), scanned.end()), numbers);
    QCOMPARE(platform::scanDottedQuad(nullptr), (platform::ScannedQuad{-1, -1, -1, -1}));
}

void DottedQuadTest::strictRules()
{
    QCOMPARE(platform::parseDottedQuad("192.168.1.50"), (Ipv4Address{192, 168, 1, 50}));
    QCOMPARE(platform::parseDottedQuad("0.0.0.0"), platform::kAnyAddress);
    for (const char* bad : {"", "1.2.3", "1.2.3.4.5", "1.2.3.256", "1..3.4", "1.2.3.4 ", "a.b.c.d",
                            "1.2.3.", "99999999999.1.1.1"})
        QVERIFY2(!platform::parseDottedQuad(bad), bad);
}

// The readers disagree on purpose; one text shows how.
void DottedQuadTest::oneTextThreeReadings()
{
    QCOMPARE(platform::canonicalAddress("192.168.1.010"), std::string("192.168.1.8"));
    QCOMPARE(platform::scanDottedQuad("192.168.1.010")[3], 10LL);
    QCOMPARE(platform::parseDottedQuad("192.168.1.010"), (Ipv4Address{192, 168, 1, 10}));
    QCOMPARE(platform::dottedQuad(Ipv4Address{10, 0, 20, 255}), std::string("10.0.20.255"));
    QCOMPARE(platform::dottedQuad(platform::inetAddr("10.0.20.255")), std::string("10.0.20.255"));
}

QTEST_APPLESS_MAIN(DottedQuadTest)
#include "DottedQuadTest.moc"
