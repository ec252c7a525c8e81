// Turning discovery replies into device records.

#include "discovery/core/DiscoveryReply.h"

#include "discovery/core/DeviceTable.h"
#include "discovery/core/FixedText.h"
#include "platform/core/DottedQuad.h"
#include "tests/testsupport/ValueStrings.h"

#include <QTest>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

using namespace discovery;

namespace {

constexpr std::string_view kMask = "255.255.255.0";

QByteArray reply(const QByteArray& identity, const QList<QByteArray>& values)
{
    QByteArray r = "0C01R" + identity;
    for (const QByteArray& v : values)
        r += '\'' + v + '\'';
    return r;
}

QList<QByteArray> unitValues(const QByteArray& ip = "192.168.1.20", const QByteArray& host = "nas1")
{
    return {ip,  "255.255.255.0", "192.168.1.1", host,       "aux",
            "x", "WD800",         "5",           "78150744", "39075372"};
}

ReplyOutcome feed(DeviceTable& table, const QByteArray& datagram)
{
    return ParseDiscoveryReply(reinterpret_cast<const unsigned char*>(datagram.constData()),
                               static_cast<std::size_t>(datagram.size()), table, kMask);
}

template <std::size_t N>
QByteArray text(const char (&field)[N])
{
    const auto t = textOf(field);
    return QByteArray(t.data(), static_cast<qsizetype>(t.size()));
}

} // namespace

class DiscoveryReplyTest : public QObject
{
    Q_OBJECT

    std::unique_ptr<DeviceTable> m_table;

private slots:
    void init()
    {
        m_table = std::make_unique<DeviceTable>();
        ClearDeviceTable(*m_table);
    }

    void recordsInArrivalOrderAndDuplicatesDropped()
    {
        DeviceTable& t = *m_table;
        QCOMPARE(feed(t, reply("00:11:22:33:44:01", unitValues("192.168.1.20", "first"))),
                 ReplyOutcome::Added);
        QCOMPARE(feed(t, reply("00:11:22:33:44:02", unitValues("192.168.2.30", "second"))),
                 ReplyOutcome::Added);
        // The same unit again, with other values: the first reply's values stay.
        QCOMPARE(feed(t, reply("00:11:22:33:44:01", unitValues("10.0.0.9", "changed"))),
                 ReplyOutcome::Duplicate);
        QCOMPARE(t.DeviceCount, 2);
        QCOMPARE(text(t.record(1)->HostName), QByteArray("first"));
        QCOMPARE(text(t.record(1)->IpAddress), QByteArray("192.168.1.20"));
        QCOMPARE(text(t.record(2)->HostName), QByteArray("second"));
        QCOMPARE(text(t.record(1)->MacAddress), QByteArray("00:11:22:33:44:01"));
        QCOMPARE(text(t.record(1)->HostAux), QByteArray("aux"));
        QCOMPARE(text(t.record(1)->DiskModel), QByteArray("WD800"));
        QCOMPARE(text(t.record(1)->DiskAux), QByteArray("5"));
        QCOMPARE(text(t.record(1)->DiskCapacity), QByteArray("78150744"));
        QCOMPARE(text(t.record(1)->DiskFree), QByteArray("39075372"));
        QVERIFY(t.record(0) == nullptr);
        QVERIFY(t.record(3) == nullptr);

        // Network under the PC's mask, and the flags the list sets.
        const std::uint32_t pcNetwork = platform::inetAddr("192.168.1.0");
        QCOMPARE(t.record(1)->NetworkAddress, pcNetwork);
        QCOMPARE(platform::dottedQuad(t.record(2)->NetworkAddress), std::string("192.168.2.0"));
        markRecordFlags(*t.record(1), pcNetwork);
        markRecordFlags(*t.record(2), pcNetwork);
        QCOMPARE(t.record(1)->OtherSubnet, 0);
        QCOMPARE(t.record(2)->OtherSubnet, 1);

        // A new scan starts from an empty table.
        ClearDeviceTable(t);
        QCOMPARE(t.DeviceCount, 0);
        QCOMPARE(feed(t, reply("00:11:22:33:44:01", unitValues())), ReplyOutcome::Added);
        QCOMPARE(t.DeviceCount, 1);
    }

    void otherDatagramsIgnored_data()
    {
        QTest::addColumn<QByteArray>("datagram");
        QTest::addColumn<int>("outcome");
        const QByteArray good = reply("00:11:22:33:44:55", unitValues());
        QTest::newRow("request") << QByteArray("0C01S") << int(ReplyOutcome::NotAReply);
        QTest::newRow("setup reply")
            << QByteArray("0C02R00:11:22:33:44:552") << int(ReplyOutcome::NotAReply);
        QTest::newRow("short prefix") << QByteArray("0C01") << int(ReplyOutcome::NotAReply);
        QTest::newRow("empty") << QByteArray() << int(ReplyOutcome::NotAReply);
        QTest::newRow("leading zero") << QByteArray(1, '\0') + good << int(ReplyOutcome::NotAReply);
        QList<QByteArray> seven = unitValues().mid(0, 7);
        QTest::newRow("19 apostrophes")
            << reply("00:11:22:33:44:55", seven) + "'5''1''2" << int(ReplyOutcome::Malformed);
        QTest::newRow("13 apostrophes") << QByteArray("0C01R00:11:22:33:44:55'a''b''c''d''e''f''")
                                        << int(ReplyOutcome::Malformed);
        // A zero byte ends the reply: here inside value 9, so it lacks its closing apostrophe.
        QByteArray cut = good;
        cut[cut.size() - 3] = '\0';
        QTest::newRow("zero inside value 9") << cut << int(ReplyOutcome::Malformed);
        // Values beyond byte 320 are never seen.
        QList<QByteArray> late = unitValues();
        late[6] = QByteArray(280, 'M');
        QTest::newRow("apostrophes past 320")
            << reply("00:11:22:33:44:55", late) << int(ReplyOutcome::Malformed);
    }

    void otherDatagramsIgnored()
    {
        QFETCH(QByteArray, datagram);
        QFETCH(int, outcome);
        QCOMPARE(int(feed(*m_table, datagram)), outcome);
        QCOMPARE(m_table->DeviceCount, 0);
    }

    void emptyDiskModelAndShortReplies()
    {
        DeviceTable& t = *m_table;
        // No disk model: the disk values are "0" whatever follows, and 14 apostrophes suffice.
        QList<QByteArray> v = unitValues();
        v[6] = "";
        QCOMPARE(feed(t, reply("00:00:00:00:00:01", v)), ReplyOutcome::Added);
        QCOMPARE(feed(t, reply("00:00:00:00:00:02", v.mid(0, 7))), ReplyOutcome::Added);
        for (int n = 1; n <= 2; ++n) {
            QCOMPARE(text(t.record(n)->DiskModel), QByteArray());
            QCOMPARE(text(t.record(n)->DiskAux), QByteArray("0"));
            QCOMPARE(text(t.record(n)->DiskCapacity), QByteArray("0"));
            QCOMPARE(text(t.record(n)->DiskFree), QByteArray("0"));
        }

        // An empty free-space value is kept empty and flagged by the list.
        v = unitValues();
        v[9] = "";
        QCOMPARE(feed(t, reply("00:00:00:00:00:03", v)), ReplyOutcome::Added);
        QCOMPARE(text(t.record(3)->DiskFree), QByteArray());
        markRecordFlags(*t.record(3), platform::inetAddr("192.168.1.0"));
        QCOMPARE(t.record(3)->FreeSpaceMissing, 1);

        // A zero byte after the last value ends the text without harm.
        QByteArray z = reply("00:00:00:00:00:04", unitValues()) + QByteArray(1, '\0') + "'junk'";
        QCOMPARE(feed(t, z), ReplyOutcome::Added);
        QCOMPARE(t.DeviceCount, 4);
    }

    void overlongValuesAreCutInsideTheirFields()
    {
        DeviceTable& t = *m_table;
        QList<QByteArray> v = unitValues();
        v[0] = "192.168.100.200.300"; // 19 characters for a 16-byte field
        v[3] = QByteArray(40, 'H');
        v[6] = QByteArray(70, 'D');
        v[8] = "123456789012345678901234567890";
        QByteArray datagram = reply("00:11:22:33:44:55", v);
        QVERIFY(datagram.size() < 320);
        QCOMPARE(feed(t, datagram), ReplyOutcome::Added);
        const DeviceRecord& r = *t.record(1);
        QCOMPARE(text(r.IpAddress), QByteArray("192.168.100.200"));
        QCOMPARE(text(r.HostName), QByteArray(15, 'H'));
        QCOMPARE(text(r.HostAux), QByteArray("aux")); // the neighbour is intact
        QCOMPARE(text(r.DiskModel), QByteArray(49, 'D'));
        QCOMPARE(text(r.DiskCapacity), QByteArray("12345678901234567890"));
        QCOMPARE(text(r.DiskFree), QByteArray("39075372"));
        // Terabyte disks keep every digit.
        v = unitValues();
        v[8] = "3907018584";
        QCOMPARE(feed(t, reply("00:11:22:33:44:56", v)), ReplyOutcome::Added);
        QCOMPARE(text(t.record(2)->DiskCapacity), QByteArray("3907018584"));

        // A datagram longer than the receive buffer is read to byte 320 only.
        QByteArray longOne = reply("00:11:22:33:44:57", unitValues()) + QByteArray(400, 'x');
        QCOMPARE(feed(t, longOne), ReplyOutcome::Added);
        QCOMPARE(t.DeviceCount, 3);
    }

    void tableHoldsNinetyNine()
    {
        DeviceTable& t = *m_table;
        for (int i = 1; i <= 99; ++i) {
            const QByteArray id =
                QByteArray("00:00:00:00:") + QByteArray::number(i).rightJustified(5, '0');
            QCOMPARE(feed(t, reply(id, unitValues())), ReplyOutcome::Added);
        }
        QCOMPARE(t.DeviceCount, 99);
        QCOMPARE(feed(t, reply("00:00:00:00:99999", unitValues())), ReplyOutcome::TableFull);
        QCOMPARE(feed(t, reply("00:00:00:00:00001", unitValues())), ReplyOutcome::Duplicate);
        QCOMPARE(t.DeviceCount, 99);
        QCOMPARE(text(t.record(99)->MacAddress), QByteArray("00:00:00:00:00099"));
        QVERIFY(t.record(100) == nullptr);
    }
};

QTEST_APPLESS_MAIN(DiscoveryReplyTest)
#include "DiscoveryReplyTest.moc"
