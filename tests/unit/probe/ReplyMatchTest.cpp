// Only an answer to our own request may decide a probe; everything else a
// raw socket hands over is skipped.

#include "probe/core/ReplyMatch.h"

#include "probe/core/RawDatagram.h"

#include <QTest>
#include <cstdint>
#include <vector>

using namespace probe;

namespace {

const Ipv4Octets kTarget{192, 168, 1, 2};
const Ipv4Octets kOther{192, 168, 1, 99};
constexpr std::uint16_t kId = 0x1234;
constexpr std::uint16_t kSeq = 7;

// A 20-byte IP header from source to the PC, then an ICMP header of type
// with identifier and sequence (low byte first), then extra.
std::vector<std::uint8_t> datagram(Ipv4Octets source, Ipv4Octets destination, std::uint8_t type,
                                   std::uint16_t id, std::uint16_t seq,
                                   const std::vector<std::uint8_t>& extra = {})
{
    std::vector<std::uint8_t> d(28, 0);
    d[0] = 0x45;
    d[8] = 64;
    d[9] = 1;
    for (int i = 0; i < 4; ++i) {
        d[12 + i] = source[i];
        d[16 + i] = destination[i];
    }
    d[20] = type;
    d[24] = id & 0xFF;
    d[25] = id >> 8;
    d[26] = seq & 0xFF;
    d[27] = seq >> 8;
    d.insert(d.end(), extra.begin(), extra.end());
    return d;
}

bool ours(const std::vector<std::uint8_t>& d, bool systemId = false)
{
    ProbeIdentity probe{kTarget, kId, kSeq, systemId};
    return answersOurProbe(d.data(), d.size(), probe);
}

// An error of type from a router quoting a request to destination.
std::vector<std::uint8_t> error(std::uint8_t type, Ipv4Octets destination, std::uint16_t id,
                                std::uint16_t seq)
{
    return datagram({10, 0, 0, 1}, {192, 168, 1, 37}, type, 0, 0,
                    datagram({192, 168, 1, 37}, destination, 8, id, seq));
}

} // namespace

class ReplyMatchTest : public QObject
{
    Q_OBJECT

private slots:
    void echoRepliesCountOnlyFromTheTargetWithOurNumbers()
    {
        QVERIFY(ours(datagram(kTarget, {}, 0, kId, kSeq)));
        QVERIFY(ours(datagram(kTarget, {}, 8, kId, kSeq))); // our own, probing this PC
        QVERIFY(!ours(datagram(kTarget, {}, 0, kId + 1, kSeq)));
        QVERIFY(!ours(datagram(kTarget, {}, 0, kId, kSeq + 1)));
        QVERIFY(!ours(datagram(kOther, {}, 0, kId, kSeq)));
        QVERIFY(!ours(datagram(kOther, {}, 8, 0x4321, 1))); // someone pinging the PC
        // The unprivileged socket's identifier is the system's, not ours.
        QVERIFY(ours(datagram(kTarget, {}, 0, 0x9999, kSeq), true));
        QVERIFY(!ours(datagram(kOther, {}, 0, 0x9999, kSeq), true));
    }

    void otherMessagesNeverCount()
    {
        QVERIFY(!ours(datagram(kTarget, {}, 13, kId, kSeq))); // time-stamp request
        QVERIFY(!ours(datagram(kOther, {}, 9, 0, 0)));        // router advertisement
        auto shortOne = datagram(kTarget, {}, 0, kId, kSeq);
        shortOne.resize(27);
        QVERIFY(!ours(shortOne));
        auto options = datagram(kTarget, {}, 0, kId, kSeq);
        options[0] = 0x4F; // a 60-byte header the datagram does not hold
        QVERIFY(!ours(options));
        QVERIFY(!answersOurProbe(nullptr, 0, ProbeIdentity{}));
    }

    void errorsCountOnlyWhenTheyQuoteOurRequest()
    {
        QVERIFY(ours(error(3, kTarget, kId, kSeq)));
        QVERIFY(ours(error(11, kTarget, kId, kSeq)));
        QVERIFY(!ours(error(3, kOther, kId, kSeq)));
        QVERIFY(!ours(error(3, kTarget, kId + 1, kSeq)));
        QVERIFY(!ours(error(11, kTarget, kId, kSeq + 1)));
        auto cut = error(3, kTarget, kId, kSeq);
        cut.resize(cut.size() - 1); // the quoted ICMP header incomplete
        QVERIFY(!ours(cut));
    }

    void unprivilegedErrorReportsKeepTheirDestination()
    {
        const auto request = datagram({}, kTarget, 8, 0x9999, kSeq);
        ErrorReport report;
        report.type = 3;
        report.reporter = {10, 0, 0, 1};
        report.quoted = request.data() + 20;
        report.quotedSize = 8;
        report.target = kTarget;
        IcmpBuffer buffer{};
        std::size_t n = rawDatagramForError(buffer, report);
        QVERIFY(answersOurProbe(buffer.data(), n, {kTarget, kId, kSeq, true}));
        report.target = kOther;
        n = rawDatagramForError(buffer, report);
        QVERIFY(!answersOurProbe(buffer.data(), n, {kTarget, kId, kSeq, true}));
    }
};

QTEST_APPLESS_MAIN(ReplyMatchTest)
#include "ReplyMatchTest.moc"
