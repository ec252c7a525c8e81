// The echo request on the wire and its sequence numbering.

#include "probe/core/EchoRequest.h"

#include "probe/core/EchoSequence.h"
#include "probe/core/InternetChecksum.h"

#include <QTest>
#include <cstdint>
#include <string>
#include <vector>

using namespace probe;

namespace {

// Independent check: the one's-complement sum of a message that carries its
// checksum is all ones.
bool sumsToAllOnes(const std::uint8_t* data, std::size_t size)
{
    std::uint64_t sum = 0;
    for (std::size_t i = 0; i < size; i += 2)
        sum += static_cast<std::uint64_t>(data[i]) << 8 | (i + 1 < size ? data[i + 1] : 0);
    while (sum > 0xFFFF)
        sum = (sum & 0xFFFF) + (sum >> 16);
    return sum == 0xFFFF;
}

} // namespace

class EchoRequestTest : public QObject
{
    Q_OBJECT

private slots:
    void checksumMatchesKnownSums_data()
    {
        QTest::addColumn<QByteArray>("bytes");
        QTest::addColumn<int>("expected");
        // The worked example of RFC 1071: sum ddf2, checksum its complement.
        QTest::newRow("rfc example") << QByteArray::fromHex("0001f203f4f5f6f7") << 0x220D;
        QTest::newRow("odd length pads a zero") << QByteArray::fromHex("0102ab") << 0x53FD;
        // ffff + ffff = 1fffe: the carry must come back in.
        QTest::newRow("carry folded back") << QByteArray::fromHex("ffffffff") << 0x0000;
        QTest::newRow("empty") << QByteArray() << 0xFFFF;
        QTest::newRow("all zero") << QByteArray(1024, '\0') << 0xFFFF;
        // 512 words of ffff: many carries, no overflow of the running sum.
        QTest::newRow("long all ones") << QByteArray(1024, '\xff') << 0x0000;
    }
    void checksumMatchesKnownSums()
    {
        QFETCH(QByteArray, bytes);
        QFETCH(int, expected);
        const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.constData());
        QCOMPARE(internetChecksum(data, static_cast<std::size_t>(bytes.size())), expected);
    }

    void requestBytesAreExact()
    {
        IcmpBuffer buffer;
        buffer.fill(0xAA); // what an earlier exchange left behind
        buildEchoRequest(buffer, 0x5678, 0x0102, 0xA1B2C3D4u);
        const QByteArray expected =
            QByteArray::fromHex("0800a1ee78560201d4c3b2a10000000000000000") + QByteArray(32, 'E');
        const QByteArray actual(reinterpret_cast<const char*>(buffer.data()), kEchoRequestSize);
        QCOMPARE(actual.toHex(), expected.toHex());
        QVERIFY(sumsToAllOnes(buffer.data(), kEchoRequestSize));
        for (std::size_t i = kEchoRequestSize; i < buffer.size(); ++i)
            QCOMPARE(buffer[i], std::uint8_t{0});
    }

    void everyRequestCarriesAValidChecksum_data()
    {
        QTest::addColumn<quint32>("processId");
        QTest::addColumn<int>("sequence");
        QTest::addColumn<quint32>("tick");
        QTest::newRow("zeros") << 0u << 0 << 0u;
        QTest::newRow("all ones") << 0xFFFFFFFFu << 0xFFFF << 0xFFFFFFFFu;
        QTest::newRow("typical") << 4242u << 17 << 123456789u;
        QTest::newRow("high pid bits dropped") << 0x7FFF0001u << 1 << 1000u;
    }
    void everyRequestCarriesAValidChecksum()
    {
        QFETCH(quint32, processId);
        QFETCH(int, sequence);
        QFETCH(quint32, tick);
        IcmpBuffer buffer{};
        EchoSequence counter(static_cast<std::uint16_t>(sequence));
        counter.prepare(buffer, processId, tick);
        QVERIFY(sumsToAllOnes(buffer.data(), kEchoRequestSize));
        QCOMPARE(buffer[4], std::uint8_t(processId & 0xFF));
        QCOMPARE(buffer[5], std::uint8_t((processId >> 8) & 0xFF));
        QCOMPARE(buffer[6], std::uint8_t(sequence & 0xFF));
        QCOMPARE(buffer[7], std::uint8_t(sequence >> 8));
    }

    void sequenceCountsFromZeroAndWraps()
    {
        IcmpBuffer buffer{};
        EchoSequence fresh;
        QCOMPARE(fresh.prepare(buffer, 1, 0), 0);
        QCOMPARE(fresh.prepare(buffer, 1, 0), 1);
        QCOMPARE(fresh.next(), 2);

        EchoSequence last(65535);
        QCOMPARE(last.prepare(buffer, 1, 0), 65535);
        QCOMPARE(buffer[6], std::uint8_t{0xFF});
        QCOMPARE(buffer[7], std::uint8_t{0xFF});
        QCOMPARE(last.next(), 0);
        QCOMPARE(last.prepare(buffer, 1, 0), 0);
    }

    void timedOutEchoReportsTheNextNumber()
    {
        IcmpBuffer buffer{};
        EchoSequence counter(65535);
        counter.prepare(buffer, 1, 0);
        const DecodedReply reply = counter.decode(nullptr, 0, 5000);
        QCOMPARE(reply.error, DecodeError::None);
        QCOMPARE(reply.status.Status, std::uint8_t{ReplyTimedOut});
        QCOMPARE(reply.status.SequenceNumber, 0); // wrapped past the 65535 it sent
        QCOMPARE(reply.status.ByteCount, 0);
        QCOMPARE(reply.status.FromAddress, std::string("0.0.0.0"));
    }
};

QTEST_APPLESS_MAIN(EchoRequestTest)
#include "EchoRequestTest.moc"
