// The messages to and from the ICMP helper: what one side encodes the other
// decodes, and anything else is refused rather than half read.

#include "probe/core/HelperMessages.h"

#include <QTest>
#include <algorithm>

using namespace probe;

class HelperMessagesTest : public QObject
{
    Q_OBJECT

private slots:
    void requestsRoundTripAndOddOnesAreRefused()
    {
        IcmpBuffer built{};
        buildEchoRequest(built, 0x1234, 7, 99);
        HelperRequest request;
        request.target = {192, 168, 1, 2};
        std::copy_n(built.begin(), kEchoRequestSize, request.echo.begin());
        request.waitMs = 100;
        HelperRequestBytes bytes = encodeHelperRequest(request);
        const auto back = decodeHelperRequest(bytes.data(), bytes.size());
        QVERIFY(back && back->target == request.target && back->echo == request.echo &&
                back->waitMs == 100);

        QVERIFY(!decodeHelperRequest(bytes.data(), bytes.size() - 1));
        QVERIFY(!decodeHelperRequest(nullptr, 0));
        auto odd = bytes;
        odd[4] = 13; // a time-stamp request: the helper sends echo requests only
        QVERIFY(!decodeHelperRequest(odd.data(), odd.size()));
        odd = bytes;
        odd[63] = 1;
        QVERIFY(!decodeHelperRequest(odd.data(), odd.size()));
        odd = bytes;
        odd[4 + 3] ^= 1; // the checksum no longer right
        QVERIFY(!decodeHelperRequest(odd.data(), odd.size()));
        odd = bytes;
        odd[4 + kEchoPayloadOffset] = 'X'; // not our payload
        QVERIFY(!decodeHelperRequest(odd.data(), odd.size()));
        // Any local user can start the helper: it serves unicast targets only.
        for (const Ipv4Octets target :
             {Ipv4Octets{224, 0, 0, 1}, Ipv4Octets{127, 0, 0, 1}, Ipv4Octets{0, 1, 2, 3},
              Ipv4Octets{240, 0, 0, 1}, Ipv4Octets{255, 255, 255, 255}}) {
            HelperRequest aimed = request;
            aimed.target = target;
            const HelperRequestBytes aimedBytes = encodeHelperRequest(aimed);
            QVERIFY(!decodeHelperRequest(aimedBytes.data(), aimedBytes.size()));
        }
        request.waitMs = kHelperMaxWaitMs + 1;
        bytes = encodeHelperRequest(request);
        QVERIFY(!decodeHelperRequest(bytes.data(), bytes.size()));
    }

    void repliesRoundTripAndOddOnesAreRefused()
    {
        HelperReply reply;
        reply.outcome = HelperOutcome::Answered;
        reply.size = 72;
        reply.datagram[0] = 0x45;
        reply.datagram[71] = 0x45;
        HelperReplyBytes bytes = encodeHelperReply(reply);
        auto back = decodeHelperReply(bytes.data(), bytes.size());
        QVERIFY(back && back->outcome == HelperOutcome::Answered && back->size == 72 &&
                back->datagram == reply.datagram);

        reply = HelperReply{};
        reply.outcome = HelperOutcome::SocketError;
        reply.error = 10013;
        bytes = encodeHelperReply(reply);
        back = decodeHelperReply(bytes.data(), bytes.size());
        QVERIFY(back && back->outcome == HelperOutcome::SocketError && back->error == 10013);
        reply = HelperReply{};
        reply.outcome = HelperOutcome::Flooded;
        const HelperReplyBytes flooded = encodeHelperReply(reply);
        back = decodeHelperReply(flooded.data(), flooded.size());
        QVERIFY(back && back->outcome == HelperOutcome::Flooded && back->size == 0);

        QVERIFY(!decodeHelperReply(bytes.data(), bytes.size() - 1));
        auto odd = bytes;
        odd[0] = 4;
        QVERIFY(!decodeHelperReply(odd.data(), odd.size()));
        odd = bytes;
        odd[0] = 1; // answered, but with nothing in it
        QVERIFY(!decodeHelperReply(odd.data(), odd.size()));
        odd[6] = 0x01;
        odd[7] = 0x04; // 1025 bytes claimed
        QVERIFY(!decodeHelperReply(odd.data(), odd.size()));
    }
};

QTEST_APPLESS_MAIN(HelperMessagesTest)
#include "HelperMessagesTest.moc"
