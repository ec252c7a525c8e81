// Decoding what the socket received, on both the raw and the unprivileged path.

#include "probe/core/ReplyDecoder.h"

#include "probe/core/EIcmpException.h"
#include "probe/core/RawDatagram.h"

#include <QTest>
#include <array>
#include <cstdint>
#include <string>
#include <vector>

using namespace probe;

Q_DECLARE_METATYPE(std::vector<std::uint8_t>)

namespace {

// An IP datagram as a raw socket delivers it: a header of headerLength bytes
// (options zero-filled) from source with ttl, then an ICMP message of
// icmpLength bytes of the given type with the sequence and stamp fields set.
std::vector<std::uint8_t> datagram(std::size_t headerLength, std::uint8_t ttl,
                                   std::array<std::uint8_t, 4> source, std::uint8_t type,
                                   std::uint16_t sequence, std::uint32_t stamp,
                                   std::size_t icmpLength)
{
    std::vector<std::uint8_t> d(headerLength + icmpLength, 0);
    d[0] = static_cast<std::uint8_t>(0x40 | (headerLength / 4));
    d[8] = ttl;
    d[9] = 1;
    for (int i = 0; i < 4; ++i)
        d[12 + i] = source[i];
    d[16] = 192; // destination: the PC, which nothing reads
    std::uint8_t* icmp = d.data() + headerLength;
    if (icmpLength >= 1)
        icmp[0] = type;
    if (icmpLength >= 8) {
        icmp[6] = sequence & 0xFF;
        icmp[7] = sequence >> 8;
    }
    for (std::size_t i = 0; i < 4 && 8 + i < icmpLength; ++i)
        icmp[8 + i] = static_cast<std::uint8_t>(stamp >> (8 * i));
    return d;
}

TReplyStatus decoded(const std::vector<std::uint8_t>& d, std::uint32_t tickNow)
{
    const DecodedReply reply = decodeReply(d.data(), d.size(), tickNow, 99);
    if (reply.error != DecodeError::None)
        throw EIcmpException::from(reply.error);
    return reply.status;
}

} // namespace

class ReplyDecoderTest : public QObject
{
    Q_OBJECT

private slots:
    void acceptedMessages_data()
    {
        QTest::addColumn<std::vector<std::uint8_t>>("bytes");
        QTest::addColumn<quint32>("tickNow");
        QTest::addColumn<int>("byteCount");
        QTest::addColumn<QString>("from");
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("sequence");
        QTest::addColumn<int>("replyTime");
        QTest::addColumn<int>("ttl");
        QTest::addColumn<int>("status");

        QTest::newRow("echo reply") << datagram(20, 64, {192, 168, 1, 1}, 0, 7, 1000, 52) << 1003u
                                    << 72 << "192.168.1.1" << 0 << 7 << 3 << 64 << int(ReplyEcho);
        QTest::newRow("own request counts as echo")
            << datagram(20, 128, {127, 0, 0, 1}, 8, 0x1234, 50, 52) << 50u << 72 << "127.0.0.1" << 8
            << 0x1234 << 0 << 128 << int(ReplyEcho);
        QTest::newRow("unreachable from a router")
            << datagram(20, 255, {10, 0, 0, 254}, 3, 0, 0, 8 + 20 + 52) << 10u << 100
            << "10.0.0.254" << 3 << 0 << 10 << 255 << int(ReplyUnreachable);
        QTest::newRow("time exceeded")
            << datagram(20, 63, {172, 16, 0, 1}, 11, 0, 0, 36) << 0u << 56 << "172.16.0.1" << 11
            << 0 << 0 << 63 << int(ReplyTtlExceeded);
        // Options lengthen the header: the ICMP message starts after them.
        QTest::newRow("header with options")
            << datagram(24, 64, {192, 168, 1, 2}, 0, 3, 500, 52) << 510u << 76 << "192.168.1.2" << 0
            << 3 << 10 << 64 << int(ReplyEcho);
        QTest::newRow("longest header") << datagram(60, 1, {1, 2, 3, 4}, 0, 1, 0, 8) << 0u << 68
                                        << "1.2.3.4" << 0 << 1 << 0 << 1 << int(ReplyEcho);
        // The tick wrapped between request and reply.
        QTest::newRow("tick wraps")
            << datagram(20, 64, {192, 168, 1, 1}, 0, 0, 0xFFFFFFF0u, 52) << 0x10u << 72
            << "192.168.1.1" << 0 << 0 << 0x20 << 64 << int(ReplyEcho);
        // Exactly header + 8: the stamp lies past the end and reads as zero.
        QTest::newRow("no stamp bytes")
            << datagram(20, 64, {192, 168, 1, 1}, 0, 5, 0, 8) << 40u << 28 << "192.168.1.1" << 0
            << 5 << 40 << 64 << int(ReplyEcho);
    }
    void acceptedMessages()
    {
        QFETCH(std::vector<std::uint8_t>, bytes);
        QFETCH(quint32, tickNow);
        const TReplyStatus s = decoded(bytes, tickNow);
        QTEST(int(s.ByteCount), "byteCount");
        QTEST(QString::fromStdString(s.FromAddress), "from");
        QTEST(int(s.MessageType), "type");
        QTEST(int(s.SequenceNumber), "sequence");
        QTEST(int(s.ReplyTimeMs), "replyTime");
        QTEST(int(s.TimeToLive), "ttl");
        QTEST(int(s.Status), "status");
    }

    void refusedMessages_data()
    {
        QTest::addColumn<std::vector<std::uint8_t>>("bytes");
        QTest::addColumn<QString>("message");
        const QString shortText = "Not enough bytes received";
        const QString typeText = "Non-echo type response received";
        QTest::newRow("bare IP header") << datagram(20, 64, {1, 1, 1, 1}, 0, 0, 0, 0) << shortText;
        QTest::newRow("one byte short") << datagram(20, 64, {1, 1, 1, 1}, 0, 0, 0, 7) << shortText;
        QTest::newRow("options hide the message")
            << datagram(60, 64, {1, 1, 1, 1}, 0, 0, 0, 0) << shortText;
        // A header length below 20 cannot hold the address it claims.
        std::vector<std::uint8_t> tiny = {0x41, 0, 0, 0, 0, 0, 0, 0, 64, 1, 0, 0};
        QTest::newRow("header length field too small") << tiny << shortText;
        QTest::newRow("single byte") << std::vector<std::uint8_t>{0x45} << shortText;
        QTest::newRow("timestamp request")
            << datagram(20, 64, {1, 1, 1, 1}, 13, 0, 0, 20) << typeText;
        QTest::newRow("redirect") << datagram(20, 64, {1, 1, 1, 1}, 5, 0, 0, 36) << typeText;
        QTest::newRow("parameter problem")
            << datagram(20, 64, {1, 1, 1, 1}, 12, 0, 0, 36) << typeText;
    }
    void refusedMessages()
    {
        QFETCH(std::vector<std::uint8_t>, bytes);
        QFETCH(QString, message);
        try {
            decoded(bytes, 0);
            QFAIL("accepted");
        } catch (const EIcmpException& e) {
            QCOMPARE(QString::fromLatin1(e.what()), message);
        }
    }

    void nothingReceivedIsTimedOut()
    {
        const DecodedReply reply = decodeReply(nullptr, 0, 1234, 42);
        QCOMPARE(reply.error, DecodeError::None);
        TReplyStatus expected;
        expected.SequenceNumber = 42;
        expected.Status = ReplyTimedOut;
        QVERIFY(reply.status == expected);
        QCOMPARE(expected.FromAddress, std::string("0.0.0.0"));
    }

    // The unprivileged socket's bare reply, laid out again, decodes as the
    // raw socket's datagram would.
    void bareReplyDecodesLikeRaw()
    {
        const std::vector<std::uint8_t> raw = datagram(20, 64, {192, 168, 1, 1}, 0, 9, 100, 52);
        BareMessage message;
        message.icmp = raw.data() + 20;
        message.icmpSize = 52;
        message.source = {192, 168, 1, 1};
        message.timeToLive = 64;
        IcmpBuffer buffer;
        buffer.fill(0x5A);
        const std::size_t n = rawDatagramForMessage(buffer, message);
        QCOMPARE(n, std::size_t{72});
        const DecodedReply fromBare = decodeReply(buffer.data(), n, 130, 10);
        const DecodedReply fromRaw = decodeReply(raw.data(), raw.size(), 130, 10);
        QCOMPARE(fromBare.error, DecodeError::None);
        QVERIFY(fromBare.status == fromRaw.status);
        QCOMPARE(buffer[n], std::uint8_t{0}); // the rest of the buffer is zeroed
    }

    void errorReportDecodesAsRouterMessage_data()
    {
        QTest::addColumn<int>("type");
        QTest::addColumn<int>("code");
        QTest::addColumn<int>("status");
        QTest::addColumn<int>("sequence");
        QTest::newRow("net unreachable") << 3 << 0 << int(ReplyUnreachable) << 0;
        // The next-hop MTU sits where a raw reader finds the sequence number.
        QTest::newRow("fragmentation needed") << 3 << 4 << int(ReplyUnreachable) << 0xDC05;
        QTest::newRow("time exceeded") << 11 << 0 << int(ReplyTtlExceeded) << 0;
        QTest::newRow("redirect") << 5 << 1 << -1 << 0;
    }
    void errorReportDecodesAsRouterMessage()
    {
        QFETCH(int, type);
        QFETCH(int, code);
        IcmpBuffer request{};
        buildEchoRequest(request, 1, 2, 3);
        ErrorReport report;
        report.type = static_cast<std::uint8_t>(type);
        report.code = static_cast<std::uint8_t>(code);
        report.info = 1500;
        report.reporter = {192, 168, 1, 1};
        report.timeToLive = 255;
        report.target = {192, 0, 2, 5};
        report.quoted = request.data();
        report.quotedSize = kEchoRequestSize;
        IcmpBuffer buffer{};
        const std::size_t n = rawDatagramForError(buffer, report);
        QCOMPARE(n, std::size_t{20 + 8 + 20 + 52});
        const DecodedReply reply = decodeReply(buffer.data(), n, 0, 0);
        QFETCH(int, status);
        if (status < 0) {
            QCOMPARE(reply.error, DecodeError::NonEchoType);
            return;
        }
        QCOMPARE(reply.error, DecodeError::None);
        QCOMPARE(int(reply.status.Status), status);
        QCOMPARE(reply.status.FromAddress, std::string("192.168.1.1"));
        QCOMPARE(int(reply.status.MessageType), type);
        QCOMPARE(int(reply.status.TimeToLive), 255);
        QTEST(int(reply.status.SequenceNumber), "sequence");
        QCOMPARE(reply.status.ByteCount, 100);
        // The quoted request follows its reconstructed header, intact.
        QVERIFY(
            std::equal(request.begin(), request.begin() + kEchoRequestSize, buffer.begin() + 48));
    }

    // Whatever the unprivileged socket hands over, the layout stays inside
    // the fixed buffer.
    void oversizedInputIsCut()
    {
        std::vector<std::uint8_t> huge(4000, 0x11);
        huge[0] = 0;
        BareMessage message;
        message.icmp = huge.data();
        message.icmpSize = huge.size();
        IcmpBuffer buffer{};
        QCOMPARE(rawDatagramForMessage(buffer, message), kIcmpBufferSize);
        QCOMPARE(buffer[kIcmpBufferSize - 1], std::uint8_t{0x11});
        ErrorReport report;
        report.type = 3;
        report.quoted = huge.data();
        report.quotedSize = huge.size();
        QCOMPARE(rawDatagramForError(buffer, report), kIcmpBufferSize);
        QCOMPARE(decodeReply(buffer.data(), kIcmpBufferSize, 0, 0).status.ByteCount, 1024);
        report.quoted = nullptr; // a report without quoted bytes
        QCOMPARE(rawDatagramForError(buffer, report), std::size_t{48});
    }
};

QTEST_APPLESS_MAIN(ReplyDecoderTest)
#include "ReplyDecoderTest.moc"
